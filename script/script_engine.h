#pragma once
// The JavaScript engine behind a ScriptJson: the four members of the Windows Script Control
// ("Language", "AddCode", "Eval", "Error") and the conversions of an Eval result that the
// object needs. Texts are UTF-16. Two engines implement it: embedded duktape (every build)
// and the Script Control itself through COM (Windows builds).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace script {

// The members of the engine's "Error" object, as the engine last recorded them; a fresh
// engine gives zeros and empty texts. The record is not cleared by later successful calls.
struct EngineError {
  double Number = 0;
  std::u16string Source;
  std::u16string Description;
  std::u16string HelpFile;
  double HelpContext = 0;
  std::u16string Text;  // the source text at fault
  double Line = 0;
  double Column = 0;
};

class ScriptEngine {
 public:
  virtual ~ScriptEngine() = default;

  // "Language": selects the scripting language; false when the engine does not have it.
  virtual bool SetLanguage(std::u16string_view language) = 0;
  // "AddCode": runs source text in the engine's global scope; false on any error.
  virtual bool AddCode(std::u16string_view code) = 0;
  // "Eval", with the result converted as VariantChangeType converts it to VT_BOOL, VT_BSTR
  // or VT_R8: an object by its text, a text by its form ("true", "12.5"), true as -1. A
  // failed evaluation or conversion gives false, the empty text or 0. A number's text is
  // the engine's own.
  virtual bool EvalTruth(std::u16string_view expression) = 0;
  virtual std::u16string EvalText(std::u16string_view expression) = 0;
  virtual double EvalNumber(std::u16string_view expression) = 0;
  // "Error".
  virtual EngineError Error() = 0;
};

// Makes a fresh engine, or nothing when it cannot be created.
using EngineFactory = std::shared_ptr<ScriptEngine> (*)();

// The embedded engine: duktape.
std::shared_ptr<ScriptEngine> CreateDuktapeEngine();
#ifdef _WIN32
// The Windows Script Control through COM. Each engine holds one COM initialisation of the
// calling thread, from its creation to its end, so that the thread's count stays balanced.
std::shared_ptr<ScriptEngine> CreateComEngine();
#endif
// The engine the program uses: on Windows the Script Control, with the embedded engine in
// its place when the component cannot be created; elsewhere the embedded engine.
std::shared_ptr<ScriptEngine> CreateDefaultEngine();

}  // namespace script
