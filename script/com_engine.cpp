// The Windows Script Control ("MSScriptControl.ScriptControl") through IDispatch, by member name.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <utility>

#include "script/script_engine.h"

namespace script {

namespace {

class Variant {
 public:
  Variant() { VariantInit(&value); }
  ~Variant() { VariantClear(&value); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT value;
};

class Bstr {
 public:
  explicit Bstr(std::u16string_view text)
      : value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR value;
};

// Calls the member `name` of `object` with at most one argument.
bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument, VARIANT* result) {
  DISPID member = 0;
  auto* names = const_cast<LPOLESTR>(name);
  if (FAILED(object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &member))) return false;
  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{argument, nullptr, argument != nullptr ? 1u : 0u, 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &namedPut;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  const HRESULT hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return SUCCEEDED(hr);
}

bool InvokeWithText(IDispatch* object, const wchar_t* name, WORD flags, std::u16string_view text, VARIANT* result) {
  Bstr bstr(text);
  if (bstr.value == nullptr) return false;
  VARIANT argument;
  argument.vt = VT_BSTR;
  argument.bstrVal = bstr.value;
  return Invoke(object, name, flags, &argument, result);
}

bool ToTruth(VARIANT& value) {
  Variant truth;
  return SUCCEEDED(VariantChangeType(&truth.value, &value, 0, VT_BOOL)) && truth.value.boolVal != VARIANT_FALSE;
}

std::u16string ToText(VARIANT& value) {
  Variant text;
  if (FAILED(VariantChangeType(&text.value, &value, 0, VT_BSTR)) || text.value.bstrVal == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text.value.bstrVal), SysStringLen(text.value.bstrVal));
}

double ToNumber(VARIANT& value) {
  Variant number;
  return SUCCEEDED(VariantChangeType(&number.value, &value, 0, VT_R8)) ? number.value.dblVal : 0;
}

class ComEngine final : public ScriptEngine {
 public:
  ComEngine(IDispatch* control, bool uninitialise) : control_(control), uninitialise_(uninitialise) {}
  ~ComEngine() override {
    control_->Release();
    if (uninitialise_) CoUninitialize();
  }
  ComEngine(const ComEngine&) = delete;
  ComEngine& operator=(const ComEngine&) = delete;

  bool SetLanguage(std::u16string_view language) override {
    return InvokeWithText(control_, L"Language", DISPATCH_PROPERTYPUT, language, nullptr);
  }

  bool AddCode(std::u16string_view code) override {
    Variant result;
    return InvokeWithText(control_, L"AddCode", DISPATCH_METHOD, code, &result.value);
  }

  bool EvalTruth(std::u16string_view expression) override {
    Variant result;
    return Eval(expression, result) && ToTruth(result.value);
  }

  std::u16string EvalText(std::u16string_view expression) override {
    Variant result;
    return Eval(expression, result) ? ToText(result.value) : std::u16string();
  }

  double EvalNumber(std::u16string_view expression) override {
    Variant result;
    return Eval(expression, result) ? ToNumber(result.value) : 0;
  }

  EngineError Error() override {
    EngineError error;
    Variant object;
    if (!Invoke(control_, L"Error", DISPATCH_PROPERTYGET, nullptr, &object.value) || object.value.vt != VT_DISPATCH ||
        object.value.pdispVal == nullptr)
      return error;
    IDispatch* record = object.value.pdispVal;
    error.Number = Member(record, L"Number", ToNumber);
    error.Source = Member(record, L"Source", ToText);
    error.Description = Member(record, L"Description", ToText);
    error.HelpFile = Member(record, L"HelpFile", ToText);
    error.HelpContext = Member(record, L"HelpContext", ToNumber);
    error.Text = Member(record, L"Text", ToText);
    error.Line = Member(record, L"Line", ToNumber);
    error.Column = Member(record, L"Column", ToNumber);
    return error;
  }

 private:
  bool Eval(std::u16string_view expression, Variant& result) {
    return InvokeWithText(control_, L"Eval", DISPATCH_METHOD, expression, &result.value);
  }

  template <typename Convert>
  static auto Member(IDispatch* object, const wchar_t* name, Convert convert) -> decltype(convert(std::declval<VARIANT&>())) {
    Variant value;
    if (!Invoke(object, name, DISPATCH_PROPERTYGET, nullptr, &value.value)) return {};
    return convert(value.value);
  }

  IDispatch* control_;
  bool uninitialise_;
};

}  // namespace

std::shared_ptr<ScriptEngine> CreateComEngine() {
  // S_FALSE (already initialised) counts as well and is balanced the same way.
  const bool initialised = SUCCEEDED(CoInitialize(nullptr));
  CLSID type{};
  IDispatch* control = nullptr;
  if (SUCCEEDED(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &type)) &&
      SUCCEEDED(CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control))))
    return std::make_shared<ComEngine>(control, initialised);
  if (initialised) CoUninitialize();
  return nullptr;
}

}  // namespace script
