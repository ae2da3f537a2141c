// The embedded engine: a duktape heap per engine. Code and results cross as CESU-8.
#include <duktape.h>

#include <cstring>

#include "script/cesu8.h"
#include "script/json_support_script.h"
#include "script/script_engine.h"
#include "script/variant_rules.h"

namespace script {

namespace {

// Compiling JsonSupportScript is most of the cost of a fresh engine, and every engine gets
// the same text: it is compiled once, and its bytecode is loaded into each engine.
const std::string& SupportScriptBytecode() {
  static const std::string bytecode = [] {
    std::string dump;
    duk_context* context = duk_create_heap_default();
    if (context == nullptr) return dump;
    const std::string source = Utf16ToCesu8(JsonSupportScript);
    if (duk_compile_raw(context, source.data(), source.size(),
                        DUK_COMPILE_SAFE | DUK_COMPILE_NOSOURCE | DUK_COMPILE_NOFILENAME) == 0) {
      duk_dump_function(context);
      duk_size_t size = 0;
      const void* bytes = duk_get_buffer(context, -1, &size);
      dump.assign(static_cast<const char*>(bytes), size);
    }
    duk_destroy_heap(context);
    return dump;
  }();
  return bytecode;
}

class DuktapeEngine final : public ScriptEngine {
 public:
  explicit DuktapeEngine(duk_context* context) : context_(context) {}
  ~DuktapeEngine() override { duk_destroy_heap(context_); }
  DuktapeEngine(const DuktapeEngine&) = delete;
  DuktapeEngine& operator=(const DuktapeEngine&) = delete;

  bool SetLanguage(std::u16string_view language) override { return language == u"JavaScript"; }

  bool AddCode(std::u16string_view code) override {
    const bool ran = code == JsonSupportScript && !SupportScriptBytecode().empty() ? RunSupportScript() : Run(code, 0);
    duk_pop(context_);
    return ran;
  }

  bool EvalTruth(std::u16string_view expression) override {
    bool truth = false;
    if (Run(expression, DUK_COMPILE_EVAL)) {
      switch (duk_get_type(context_, -1)) {
        case DUK_TYPE_BOOLEAN: truth = duk_get_boolean(context_, -1); break;
        case DUK_TYPE_NUMBER: truth = duk_get_number(context_, -1) != 0; break;
        case DUK_TYPE_UNDEFINED:
        case DUK_TYPE_NULL: break;
        default: truth = TruthFromText(TopText()).value_or(false);
      }
    }
    duk_pop(context_);
    return truth;
  }

  std::u16string EvalText(std::u16string_view expression) override {
    std::u16string text;
    if (Run(expression, DUK_COMPILE_EVAL)) {
      if (duk_is_boolean(context_, -1)) {
        text = duk_get_boolean(context_, -1) ? u"-1" : u"0";  // VARIANT_TRUE and VARIANT_FALSE
      } else if (!duk_is_null_or_undefined(context_, -1)) {
        text = TopText();
      }
    }
    duk_pop(context_);
    return text;
  }

  double EvalNumber(std::u16string_view expression) override {
    double number = 0;
    if (Run(expression, DUK_COMPILE_EVAL)) {
      switch (duk_get_type(context_, -1)) {
        case DUK_TYPE_BOOLEAN: number = duk_get_boolean(context_, -1) ? -1 : 0; break;  // VARIANT_TRUE
        case DUK_TYPE_NUMBER: number = duk_get_number(context_, -1); break;
        case DUK_TYPE_UNDEFINED:
        case DUK_TYPE_NULL: break;
        default: number = NumberFromText(TopText()).value_or(0);
      }
    }
    duk_pop(context_);
    return number;
  }

  EngineError Error() override { return error_; }

 private:
  // Compiles and runs `code` as global code (flags 0) or as eval code, leaving its value
  // or the error on the stack. Records the error.
  bool Run(std::u16string_view code, duk_uint_t flags) {
    const std::string source = Utf16ToCesu8(code);
    const bool ran = duk_eval_raw(context_, source.data(), source.size(),
                                  flags | DUK_COMPILE_SAFE | DUK_COMPILE_NOSOURCE | DUK_COMPILE_NOFILENAME) == 0;
    if (!ran) RecordError(code);
    return ran;
  }

  bool RunSupportScript() {
    const std::string& bytecode = SupportScriptBytecode();
    std::memcpy(duk_push_fixed_buffer(context_, bytecode.size()), bytecode.data(), bytecode.size());
    duk_load_function(context_);
    duk_push_global_object(context_);  // the global code's "this"
    const bool ran = duk_pcall_method(context_, 0) == 0;
    if (!ran) RecordError(JsonSupportScript);
    return ran;
  }

  std::u16string TopText() {
    duk_size_t length = 0;
    const char* bytes = duk_safe_to_lstring(context_, -1, &length);
    return Cesu8ToUtf16(std::string_view(bytes, length));
  }

  // The text of the member `name` of the object on the stack.
  std::u16string Property(const char* name) {
    duk_get_prop_string(context_, -1, name);
    std::u16string text = duk_is_null_or_undefined(context_, -1) ? std::u16string() : TopText();
    duk_pop(context_);
    return text;
  }

  // Fills the record from the error on the stack, in the Script Control's terms: the
  // description is the message, the source names the kind of error.
  void RecordError(std::u16string_view code) {
    error_ = EngineError{};
    error_.Number = kErrorNumber;
    if (!duk_is_error(context_, -1)) {
      error_.Description = TopText();
      return;
    }
    error_.Source = Property("name");
    error_.Description = Property("message");
    duk_get_prop_string(context_, -1, "lineNumber");
    error_.Line = duk_get_number_default(context_, -1, 0);
    duk_pop(context_);
    error_.Text = SourceLine(code, static_cast<std::size_t>(error_.Line));
  }

  static std::u16string SourceLine(std::u16string_view code, std::size_t line) {
    if (line == 0) return {};
    std::size_t start = 0;
    for (std::size_t n = 1; n < line && start != std::u16string_view::npos; ++n) {
      start = code.find(u'\n', start);
      if (start != std::u16string_view::npos) ++start;
    }
    if (start == std::u16string_view::npos) return {};
    return std::u16string(code.substr(start, code.find(u'\n', start) - start));
  }

  // Every error gets JScript's "exception thrown and not caught" (0x800A139E), as the
  // Script Control gives it: a negative HRESULT.
  static constexpr double kErrorNumber = -2146823266;

  duk_context* context_;
  EngineError error_;
};

}  // namespace

std::shared_ptr<ScriptEngine> CreateDuktapeEngine() {
  duk_context* context = duk_create_heap_default();
  if (context == nullptr) return nullptr;
  return std::make_shared<DuktapeEngine>(context);
}

}  // namespace script
