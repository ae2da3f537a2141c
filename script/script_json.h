#pragma once
// JSON access by JavaScript member paths: the whole value lives in a JavaScript engine as the
// global "da", and every operation evaluates a short statement built from the path. A path
// that is no member expression (script/member_path.h) is refused: the operation fails as for
// an absent member, and runs nothing. Values given as JSON are parsed as JSON, never run;
// only Parse as script and SetExpression run code. Texts are GBK; they cross into the engine
// through the system's ANSI code page.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_engine.h"

// wingdi.h makes GetObject a macro for GetObjectA or GetObjectW; the operation keeps its name
// (Windows code that wants the GDI function calls GetObjectW).
#ifdef GetObject
#undef GetObject
#endif

namespace script {

// The engine's error, as Parse copies it for a caller that asks.
struct ScriptErrorInfo {
  std::int32_t Number = 0;
  std::string Source;
  std::string Description;
  std::string HelpFile;
  std::int32_t HelpContext = 0;
  std::string Text;
  std::int32_t Line = 0;
  std::int32_t Column = 0;
};

class ScriptJson {
 public:
  // Use CreateScriptJson.
  explicit ScriptJson(EngineFactory makeEngine);
  ~ScriptJson();
  ScriptJson(const ScriptJson&) = delete;
  ScriptJson& operator=(const ScriptJson&) = delete;

  // Releases this object's reference to the engine; the last reference ends the engine
  // (and, for the Script Control, the COM initialisation it made). The object is left
  // without an engine.
  void Destroy();
  // A new object on the same engine: what one changes, the other sees.
  std::unique_ptr<ScriptJson> Clone();
  // A fresh engine holding JsonSupportScript and an empty root object.
  void Initialise();
  // Replaces the root with the value of `text` in a fresh engine: JSON text (anything else
  // fails and leaves the root null), or a JavaScript expression that is run when `asScript`
  // is set. True when the root is not null.
  bool Parse(std::string_view text, bool asScript = false, ScriptErrorInfo* error = nullptr);
  // Parse of a JSON document in the engine the object has instead of a fresh one, for a
  // document read again and again: building an engine and compiling JsonSupportScript cost
  // most of such a read. Only the root is replaced. The document is UTF-16 and reaches the
  // engine as it is, whatever the system's code page. Without an engine (none made yet, or
  // the last making failed) one is made now.
  bool Reparse(std::u16string_view document);
  bool Clear();
  std::string ToJsonText();
  // A text (its backslashes held as U+2400 inside), or with `asJson` the value of JSON text,
  // merged into the member when both are objects.
  bool SetValue(std::string_view path = {}, std::string_view value = {}, bool asJson = false);
  bool SetExpression(std::string_view path = {}, std::string_view expression = {});
  // Rewrites `path` to start at the root; true when it names a value that is not null. A path
  // that is refused is left as it is.
  bool ResolvePath(std::string& path);
  bool Exists(std::string_view path = {});
  // 0 absent or null, 1 boolean, 2 number, 4 object, 5 array, 6 string, -1 anything else.
  std::int32_t TypeOf(std::string_view path = {});
  std::string GetText(std::string_view path = {}, bool asJson = false);
  // Replaces `names` with the object's member names; gives their number.
  int MemberNames(std::vector<std::string>& names, std::string_view path = {});
  std::int32_t ArrayCount(std::string_view path = {});
  // A copy of the member in an object (and engine) of its own.
  std::unique_ptr<ScriptJson> GetObject(std::string_view path = {});
  // Adds a text or, with `asJson`, the value of JSON text at the end (or the front) of the array member;
  // a member that is no array becomes an empty one first.
  bool Append(std::string_view value = {}, std::string_view path = {}, bool asJson = false, bool atFront = false);
  std::unique_ptr<ScriptJson> GetElementObject(std::int32_t index, std::string_view path = {});
  std::string GetElementText(std::int32_t index, std::string_view path = {}, bool asJson = false);
  bool SetElement(std::int32_t index, std::string_view path = {}, std::string_view value = {}, bool asJson = false);
  bool RemoveElement(std::int32_t index, std::string_view path = {});
  bool Delete(std::string_view path = {});
  // Writes the number as "%.13g" gives it.
  bool SetNumber(std::string_view path, double number);
  double GetNumber(std::string_view path = {});
  std::string PathToJsonText(std::string_view path = {});
  // A further reference to the engine, or none when the object has no engine.
  std::shared_ptr<ScriptEngine> Engine();
  // Replaces `values` with the texts of the member's strings, numbers and booleans, in
  // order, depth first when `recursive`; gives their number.
  int LeafValues(std::vector<std::string>& values, std::string_view path = {}, bool recursive = false);

 private:
  std::u16string Resolved(std::string_view path, bool* hasValue = nullptr);
  bool ResolveInPlace(std::u16string& path);
  bool ReplaceRoot(std::u16string_view value, bool asScript, ScriptErrorInfo* error);
  ScriptEngine* Live();
  bool Truth(std::u16string_view statement);
  std::u16string EngineText(std::u16string_view statement);
  std::string Text(std::u16string_view statement);
  double Number(std::u16string_view statement);
  std::unique_ptr<ScriptJson> CopyOf(std::u16string_view jsonStatement);

  EngineFactory makeEngine_;
  std::u16string rootName_;
  std::shared_ptr<ScriptEngine> engine_;
  // A new object runs Initialise when an operation first needs the engine, so that a
  // Parse first thing (what the live-status check does) makes one engine, not two.
  bool initialisePending_ = true;
};

// A new object on the program's engine (the Script Control where it can be created).
std::unique_ptr<ScriptJson> CreateScriptJson();
// The same on the engines that `makeEngine` makes.
std::unique_ptr<ScriptJson> CreateScriptJson(EngineFactory makeEngine);

}  // namespace script
