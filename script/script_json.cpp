#include "script/script_json.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/text.h"
#include "script/json_support_script.h"
#include "script/member_path.h"

namespace script {

namespace {

std::u16string ToEngine(std::string_view text) { return platform::MultiByteToUtf16(platform::kAnsiCodePage, text); }
std::string FromEngine(std::u16string_view text) { return platform::Utf16ToMultiByte(platform::kAnsiCodePage, text); }

// A double cut toward zero to a 32-bit integer; what has no such form gives 0 or a bound.
std::int32_t CutToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (value >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::u16string Decimal(std::int32_t index) {
  const std::string digits = std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}

// "%.13g": at most 13 significant digits, the exponent form below 1e-4 and from 1e13 on.
std::u16string NumberLiteral(double number) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.13g", number);
  return std::u16string(digits, digits + std::char_traits<char>::length(digits));
}

// The text as an apostrophe-quoted JavaScript string literal: backslash, apostrophe,
// quotation mark and the line terminators (CR, LF, and the line and paragraph separators,
// which JSON allows in a string and JavaScript does not) escaped.
std::u16string Quoted(std::u16string_view text) {
  std::u16string out(1, u'\'');
  out.reserve(text.size() + text.size() / 8 + 2);
  for (const char16_t c : text) {
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\'': out += u"\\'"; break;
      case u'"': out += u"\\\""; break;
      case u'\r': out += u"\\r"; break;
      case u'\n': out += u"\\n"; break;
      case u'\u2028': out += u"\\u2028"; break;
      case u'\u2029': out += u"\\u2029"; break;
      default: out += c;
    }
  }
  out += u'\'';
  return out;
}

// The value of JSON text, which reaches JSON.parse as a string and so is never run as code.
std::u16string JsonValue(std::u16string_view text) { return u"JSON.parse(" + Quoted(text) + u")"; }

// What a path that is no member expression resolves to: no statement made with it compiles,
// so the operation fails as it does when an evaluation fails.
constexpr std::u16string_view kUncompilablePath = u"(";

// The JSON text of an expression, with every backslash placeholder turned back into a backslash.
std::u16string JsonOf(std::u16string_view expression) {
  return u"JSON.stringify(" + std::u16string(expression) + u").replace(str_reg, '\\\\')";
}

std::u16string Element(std::u16string_view path, std::int32_t index) {
  return std::u16string(path) + u"[" + Decimal(index) + u"]";
}

std::vector<std::string> Split(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(FromEngine(text.substr(start, end - start)));
    if (end == std::u16string_view::npos) return parts;
    start = end + separator.size();
  }
}

ScriptErrorInfo ToErrorInfo(const EngineError& error) {
  return ScriptErrorInfo{CutToInt32(error.Number),      FromEngine(error.Source), FromEngine(error.Description),
                         FromEngine(error.HelpFile),    CutToInt32(error.HelpContext), FromEngine(error.Text),
                         CutToInt32(error.Line),        CutToInt32(error.Column)};
}

constexpr std::u16string_view kLeafSeparator = u"[2020年7月20日20时0分0秒]";

}  // namespace

ScriptJson::ScriptJson(EngineFactory makeEngine) : makeEngine_(makeEngine), rootName_(u"da") {}

ScriptJson::~ScriptJson() { Destroy(); }

void ScriptJson::Destroy() {
  initialisePending_ = false;
  engine_.reset();
}

std::unique_ptr<ScriptJson> ScriptJson::Clone() {
  auto clone = std::make_unique<ScriptJson>(makeEngine_);
  clone->rootName_ = rootName_;
  clone->initialisePending_ = false;
  clone->engine_ = Engine();
  return clone;
}

void ScriptJson::Initialise() {
  initialisePending_ = false;
  // The new engine exists before the old one is released, so that the thread's COM
  // initialisation does not drop to zero in between.
  engine_ = makeEngine_();
  if (!engine_) return;
  engine_->SetLanguage(u"JavaScript");
  engine_->AddCode(JsonSupportScript);
  engine_->EvalTruth(u"var " + rootName_ +
                     u" = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')");
}

bool ScriptJson::Parse(std::string_view text, bool asScript, ScriptErrorInfo* error) {
  if (engine_ || initialisePending_) Initialise();
  return ReplaceRoot(ToEngine(text), asScript, error);
}

bool ScriptJson::Reparse(std::u16string_view document) {
  // An engine that could not be made is tried again: the object is of no use without one.
  if (!engine_) Initialise();
  return ReplaceRoot(document, false, nullptr);
}

bool ScriptJson::ReplaceRoot(std::u16string_view value, bool asScript, ScriptErrorInfo* error) {
  if (!engine_) return false;
  engine_->EvalTruth(u"var " + rootName_ + u" = null");
  // JSON text goes through JSON.parse, so that a file cannot run code here; the empty text
  // leaves the root undefined, as evaluating nothing does.
  const std::u16string source = asScript ? std::u16string(value) : value.empty() ? u"undefined" : JsonValue(value);
  engine_->AddCode(u"var " + rootName_ + u" = " + source);
  if (error != nullptr) *error = ToErrorInfo(engine_->Error());
  return Truth(rootName_ + u" != null");
}

bool ScriptJson::Clear() { return Truth(rootName_ + u" = {}"); }

std::string ScriptJson::ToJsonText() { return Text(JsonOf(rootName_)); }

bool ScriptJson::SetValue(std::string_view path, std::string_view value, bool asJson) {
  bool hadValue = false;
  const std::u16string p = Resolved(path, &hadValue);
  if (!asJson) return Truth(p + u" = " + Quoted(ToEngine(value)) + u".replace(/\\\\/g, str_Code)");
  const std::u16string v = value.empty() ? u"{}" : JsonValue(ToEngine(value));
  if (hadValue && EngineText(u"Object.prototype.toString.call(" + p + u")") == u"[object Object]")
    return Truth(p + u" = get__extend(" + p + u", " + v + u")");
  return Truth(p + u" = " + v);
}

bool ScriptJson::SetExpression(std::string_view path, std::string_view expression) {
  return Truth(Resolved(path) + u" = eval(" + ToEngine(expression) + u")");
}

bool ScriptJson::ResolvePath(std::string& path) {
  std::u16string resolved = ToEngine(path);
  if (!IsMemberPath(resolved)) return false;  // left as it is
  const bool hasValue = ResolveInPlace(resolved);
  path = FromEngine(resolved);
  return hasValue;
}

bool ScriptJson::Exists(std::string_view path) {
  bool hasValue = false;
  Resolved(path, &hasValue);
  return hasValue;
}

std::int32_t ScriptJson::TypeOf(std::string_view path) {
  const std::u16string p = Resolved(path);
  if (Truth(p + u" == null")) return 0;
  const std::u16string type = EngineText(u"Object.prototype.toString.call(" + p + u")");
  if (type == u"[object String]") return 6;
  if (type == u"[object Array]") return 5;
  if (type == u"[object Object]") return 4;
  if (type == u"[object Number]") return 2;
  if (type == u"[object Boolean]") return 1;
  return -1;
}

std::string ScriptJson::GetText(std::string_view path, bool asJson) {
  const std::u16string p = Resolved(path);
  return Text(asJson ? JsonOf(p) : p + u".toString().replace(str_reg, '\\\\')");
}

int ScriptJson::MemberNames(std::vector<std::string>& names, std::string_view path) {
  const std::u16string p = Resolved(path);
  names = Split(EngineText(u"get__name_All(" + p + u")"), u"\r\n");
  return static_cast<int>(names.size());
}

std::int32_t ScriptJson::ArrayCount(std::string_view path) {
  const std::u16string p = Resolved(path);
  return CutToInt32(Number(u"get__count(" + p + u")"));
}

std::unique_ptr<ScriptJson> ScriptJson::GetObject(std::string_view path) { return CopyOf(JsonOf(Resolved(path))); }

bool ScriptJson::Append(std::string_view value, std::string_view path, bool asJson, bool atFront) {
  const std::u16string p = Resolved(path);
  const std::u16string v = asJson ? JsonValue(ToEngine(value)) : Quoted(ToEngine(value));
  return Truth(u"if (Object.prototype.toString.call(" + p + u") != '[object Array]') { " + p + u" = new Array() } " +
               p + (atFront ? u".unshift(" : u".push(") + v + u")");
}

std::unique_ptr<ScriptJson> ScriptJson::GetElementObject(std::int32_t index, std::string_view path) {
  return CopyOf(JsonOf(Element(Resolved(path), index)));
}

std::string ScriptJson::GetElementText(std::int32_t index, std::string_view path, bool asJson) {
  const std::u16string element = Element(Resolved(path), index);
  return Text(asJson ? JsonOf(element) : element + u".replace(str_reg, '\\\\')");
}

bool ScriptJson::SetElement(std::int32_t index, std::string_view path, std::string_view value, bool asJson) {
  const std::u16string element = Element(Resolved(path), index);
  return Truth(element + u" = " + (asJson ? JsonValue(ToEngine(value)) : Quoted(ToEngine(value))));
}

bool ScriptJson::RemoveElement(std::int32_t index, std::string_view path) {
  return Truth(Resolved(path) + u".splice(" + Decimal(index) + u", 1)");
}

bool ScriptJson::Delete(std::string_view path) { return Truth(u"delete " + Resolved(path)); }

bool ScriptJson::SetNumber(std::string_view path, double number) {
  return Truth(Resolved(path) + u" = " + NumberLiteral(number));
}

double ScriptJson::GetNumber(std::string_view path) {
  return Number(Resolved(path));
}

std::string ScriptJson::PathToJsonText(std::string_view path) { return Text(JsonOf(Resolved(path))); }

std::shared_ptr<ScriptEngine> ScriptJson::Engine() {
  Live();
  return engine_;
}

int ScriptJson::LeafValues(std::vector<std::string>& values, std::string_view path, bool recursive) {
  const std::u16string p = Resolved(path);
  Truth(u"var str_all = new Array()");
  Truth(u"get__nodeValue(" + p + (recursive ? u", true)" : u", false)"));
  values = Split(EngineText(u"str_all.join('" + std::u16string(kLeafSeparator) + u"')"), kLeafSeparator);
  return static_cast<int>(values.size());
}

std::u16string ScriptJson::Resolved(std::string_view path, bool* hasValue) {
  std::u16string resolved = ToEngine(path);
  const bool refused = !IsMemberPath(resolved);
  const bool found = !refused && ResolveInPlace(resolved);
  if (hasValue != nullptr) *hasValue = found;
  return refused ? std::u16string(kUncompilablePath) : resolved;
}

bool ScriptJson::ResolveInPlace(std::u16string& path) {
  if (path.starts_with(rootName_) && Truth(path + u" != null")) return true;
  if (path.empty()) {
    path = rootName_;
  } else if (path.front() == u'[') {
    path = rootName_ + path;
  } else {
    path = rootName_ + u"." + path;
  }
  return Truth(path + u" != null");
}

ScriptEngine* ScriptJson::Live() {
  if (initialisePending_) Initialise();
  return engine_.get();
}

bool ScriptJson::Truth(std::u16string_view statement) {
  ScriptEngine* engine = Live();
  return engine != nullptr && engine->EvalTruth(statement);
}

std::u16string ScriptJson::EngineText(std::u16string_view statement) {
  ScriptEngine* engine = Live();
  return engine != nullptr ? engine->EvalText(statement) : std::u16string();
}

std::string ScriptJson::Text(std::u16string_view statement) { return FromEngine(EngineText(statement)); }

double ScriptJson::Number(std::u16string_view statement) {
  ScriptEngine* engine = Live();
  return engine != nullptr ? engine->EvalNumber(statement) : 0;
}

// A new object whose root is the value of the JSON text that `jsonStatement` gives here.
std::unique_ptr<ScriptJson> ScriptJson::CopyOf(std::u16string_view jsonStatement) {
  std::unique_ptr<ScriptJson> copy = CreateScriptJson(makeEngine_);
  copy->Parse(Text(jsonStatement));
  return copy;
}

std::unique_ptr<ScriptJson> CreateScriptJson(EngineFactory makeEngine) {
  return std::make_unique<ScriptJson>(makeEngine);
}

std::unique_ptr<ScriptJson> CreateScriptJson() { return CreateScriptJson(CreateDefaultEngine); }

}  // namespace script
