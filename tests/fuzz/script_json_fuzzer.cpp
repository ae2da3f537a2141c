// ScriptJson's operations as a short program decoded from the input: every operation, on one
// object and the clones and copies made from it, with arbitrary paths, indexes, numbers and
// GBK texts (bytes that are no valid GBK included). Parse as script and SetExpression
// evaluate code by their contract: they get fixed expressions only.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"
#include "script/script_json.h"

namespace {

using script::ScriptJson;

constexpr std::size_t kMaxObjects = 4;
constexpr std::size_t kMaxEngines = 4;
constexpr int kMaxOperations = 40;
constexpr std::size_t kMaxPathLength = 48;
constexpr std::size_t kMaxTextLength = 200;
// An element written this far out makes an array of that length, and reading it whole then
// takes as long: the fuzzer writes no further.
constexpr std::int32_t kFarthestWrittenIndex = 4096;

// Paths of the program, of the tests and of JavaScript's own members (GBK "房间.标题" among them).
const char* const kPaths[] = {"",         "a",           "a.b",       "a[0]",          "[0]",
                              "[1].b",    "list",        "list[1]",   "list[0].name",  "roomStore.status",
                              "da",       "da.a",        "da.list",   "data.x",        "\xB7\xBF\xBC\xE4.\xB1\xEA\xCC\xE2",
                              "a['x y']", "a[\"k\"]",    "a[-1]",     "toString",      "__proto__",
                              "constructor.prototype.x", "str_Code", "x"};

// What the operations that run code get, instead of arbitrary text.
const char* const kExpressions[] = {"1 + 1",
                                    "'text'",
                                    "[1, [2, 3], {k: 'v'}]",
                                    "({a: {b: [1, 'x']}, list: [{name: 'n'}, 2], s: 'y'})",
                                    "null",
                                    "undefined",
                                    "true",
                                    "-0.5",
                                    "1e21",
                                    "NaN",
                                    "new Date(0)",
                                    "/x+/g",
                                    "(function () { return 1; })",
                                    "str_Code",
                                    "da",
                                    "[]",
                                    "''",
                                    "'a\\\\b' + str_Code",
                                    "String.fromCharCode(0xD800)",
                                    "({'\\r\\n': 1, '': 2})"};

enum Operation {
  kDestroy, kClone, kInitialise, kParse, kParseWithError, kParseAsScript, kClear, kToJsonText,
  kSetValue, kSetValueAsJson, kSetExpression, kResolvePath, kExists, kTypeOf, kGetText, kMemberNames,
  kArrayCount, kGetObject, kAppend, kGetElementObject, kGetElementText, kSetElement, kRemoveElement,
  kDelete, kSetNumber, kGetNumber, kPathToJsonText, kEngine, kLeafValues, kTextRoundTrip, kOperationCount
};

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

class Program {
 public:
  explicit Program(FuzzedDataProvider& input) : input_(input) {
    objects_.push_back(script::CreateScriptJson(script::CreateDuktapeEngine));
  }

  void Run() {
    for (int step = 0; step < kMaxOperations && input_.remaining_bytes() > 0; ++step) Step();
  }

 private:
  void Step() {
    const auto operation = static_cast<Operation>(input_.ConsumeIntegralInRange<int>(0, kOperationCount - 1));
    ScriptJson& json = *objects_[input_.ConsumeIntegralInRange<std::size_t>(0, objects_.size() - 1)];
    std::vector<std::string> texts;
    switch (operation) {
      case kDestroy: json.Destroy(); break;
      case kClone: Keep(json.Clone()); break;
      case kInitialise: json.Initialise(); break;
      case kParse: json.Parse(Text()); break;
      case kParseWithError: {
        script::ScriptErrorInfo error;
        json.Parse(Text(), false, &error);
        break;
      }
      case kParseAsScript: json.Parse(Expression(), true); break;
      case kClear: json.Clear(); break;
      case kToJsonText: json.ToJsonText(); break;
      case kSetValue: json.SetValue(WrittenPath(), Text()); break;
      case kTextRoundTrip: SetAndReadBackText(); break;
      case kSetValueAsJson: json.SetValue(WrittenPath(), Text(), true); break;
      case kSetExpression: json.SetExpression(WrittenPath(), Expression()); break;
      case kResolvePath: {
        std::string path = Path();
        json.ResolvePath(path);
        break;
      }
      case kExists: json.Exists(Path()); break;
      case kTypeOf: CheckTypeCode(json.TypeOf(Path())); break;
      case kGetText: json.GetText(Path(), input_.ConsumeBool()); break;
      case kMemberNames: CheckCount(json.MemberNames(texts, Path()), texts); break;
      case kArrayCount: json.ArrayCount(Path()); break;
      case kGetObject: Keep(json.GetObject(Path())); break;
      case kAppend: {
        const bool asJson = input_.ConsumeBool();
        const bool atFront = input_.ConsumeBool();
        json.Append(Text(), WrittenPath(), asJson, atFront);
        break;
      }
      case kGetElementObject: Keep(json.GetElementObject(Index(), Path())); break;
      case kGetElementText: json.GetElementText(Index(), Path(), input_.ConsumeBool()); break;
      case kSetElement: {
        const std::int32_t index = WrittenIndex();
        const std::string path = WrittenPath();
        json.SetElement(index, path, Text(), input_.ConsumeBool());
        break;
      }
      case kRemoveElement: json.RemoveElement(Index(), WrittenPath()); break;
      case kDelete: json.Delete(WrittenPath()); break;
      case kSetNumber: {
        const std::string path = WrittenPath();
        json.SetNumber(path, input_.ConsumeFloatingPoint<double>());
        break;
      }
      case kGetNumber: json.GetNumber(Path()); break;
      case kPathToJsonText: json.PathToJsonText(Path()); break;
      case kEngine:
        if (engines_.size() < kMaxEngines) engines_.push_back(json.Engine());
        break;
      case kLeafValues: CheckCount(json.LeafValues(texts, Path(), input_.ConsumeBool()), texts); break;
      case kOperationCount: break;
    }
  }

  // A text set on a member of a fresh object reads back as the engine holds it: the GBK
  // text as it converts to UTF-16 and back.
  void SetAndReadBackText() {
    const std::string text = Text();
    const std::unique_ptr<ScriptJson> fresh = script::CreateScriptJson(script::CreateDuktapeEngine);
    fresh->SetValue("x", text);  // its truth value is the text's own, as VARIANT_BOOL reads it
    const std::string expected = platform::Utf16ToMultiByte(platform::kAnsiCodePage,
                                                            platform::MultiByteToUtf16(platform::kAnsiCodePage, text));
    const std::string read = fresh->GetText("x");
    if (read != expected) Fail("a text set did not read back", "set \"" + text + "\", read \"" + read + "\"");
  }

  void Keep(std::unique_ptr<ScriptJson> json) {
    if (!json) Fail("an operation gave no object", "");
    if (objects_.size() < kMaxObjects) objects_.push_back(std::move(json));
  }

  static void CheckTypeCode(std::int32_t code) {
    if (code < -1 || code > 6 || code == 3) Fail("TypeOf gave an unknown code", std::to_string(code));
  }

  static void CheckCount(int count, const std::vector<std::string>& texts) {
    if (count < 0 || static_cast<std::size_t>(count) != texts.size()) Fail("a count differs from the texts", "");
  }

  std::string Text() { return input_.ConsumeRandomLengthString(kMaxTextLength); }

  std::string Path() {
    if (input_.ConsumeBool()) return kPaths[input_.ConsumeIntegralInRange<std::size_t>(0, std::size(kPaths) - 1)];
    return input_.ConsumeRandomLengthString(kMaxPathLength);
  }

  // A path to write through. Writing an array's length makes an array that long, and reading
  // it whole then takes as long (see kFarthestWrittenIndex): such paths are written not at all.
  std::string WrittenPath() {
    const std::string path = Path();
    return path.find("length") == std::string::npos ? path : std::string("a");
  }

  std::string Expression() {
    return kExpressions[input_.ConsumeIntegralInRange<std::size_t>(0, std::size(kExpressions) - 1)];
  }

  std::int32_t Index() { return input_.ConsumeIntegral<std::int32_t>(); }
  std::int32_t WrittenIndex() { return input_.ConsumeIntegralInRange<std::int32_t>(-8, kFarthestWrittenIndex); }

  FuzzedDataProvider& input_;
  std::vector<std::unique_ptr<ScriptJson>> objects_;
  std::vector<std::shared_ptr<script::ScriptEngine>> engines_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::TextCodePage = platform::kGbkCodePage;  // as start-up sets it
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Program(input).Run();
  return 0;
}
