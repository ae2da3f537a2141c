// ScriptJson's operations as a short program decoded from the input: every operation, on one
// object and the clones and copies made from it, with arbitrary paths, indexes, numbers and
// GBK texts (bytes that are no valid GBK included). Parse as script and SetExpression
// evaluate code by their contract: they get fixed expressions only.
//
// The input, read from the front (missing bytes read as 0): per step, one byte for the
// operation and one for the object, then the operation's arguments in the order of its
// parameters. A text is a length byte and that many bytes; a path is one byte, below 0x80
// one of kPaths, else a text of (byte - 0x80) bytes; a flag and an expression are one byte;
// an index is 4 bytes and a number 8, little-endian.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/text.h"
#include "script/script_json.h"

namespace {

using script::ScriptJson;

constexpr std::size_t kMaxObjects = 4;
constexpr std::size_t kMaxEngines = 4;
constexpr int kMaxSteps = 40;
// An element written this far out makes an array of that length, and reading it whole then
// takes as long: the fuzzer writes no further.
constexpr std::int32_t kFarthestWrittenIndex = 4096;

// Paths of the program, of the tests and of JavaScript's own members (GBK "房间.标题" among them).
const char* const kPaths[] = {"",         "a",        "a.b",      "a[0]",          "[0]",
                              "[1].b",    "list",     "list[1]",  "list[0].name",  "roomStore.status",
                              "da",       "da.a",     "da.list",  "data.x",        "\xB7\xBF\xBC\xE4.\xB1\xEA\xCC\xE2",
                              "a['x y']", "a[\"k\"]", "a[-1]",    "toString",      "__proto__",
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
  kSetValue, kSetExpression, kResolvePath, kExists, kTypeOf, kGetText, kMemberNames, kArrayCount,
  kGetObject, kAppend, kGetElementObject, kGetElementText, kSetElement, kRemoveElement, kDelete,
  kSetNumber, kGetNumber, kPathToJsonText, kEngine, kLeafValues, kTextRoundTrip, kOperationCount
};

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

class Input {
 public:
  explicit Input(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Empty() const { return at_ >= bytes_.size(); }
  std::uint8_t Byte() { return Empty() ? 0 : bytes_[at_++]; }
  bool Flag() { return Byte() & 1; }

  std::string Bytes(std::size_t count) {
    const std::size_t taken = std::min(count, bytes_.size() - std::min(at_, bytes_.size()));
    std::string bytes(reinterpret_cast<const char*>(bytes_.data()) + at_, taken);
    at_ += taken;
    return bytes;
  }
  std::string Text() { return Bytes(Byte()); }

  std::string Path() {
    const std::uint8_t choice = Byte();
    return choice < 0x80 ? kPaths[choice % std::size(kPaths)] : Bytes(choice - 0x80u);
  }

  std::string Expression() { return kExpressions[Byte() % std::size(kExpressions)]; }

  template <typename T>
  T Value() {
    const std::string bytes = Bytes(sizeof(T));
    T value{};
    std::memcpy(&value, bytes.data(), bytes.size());
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

class Program {
 public:
  explicit Program(Input& input) : input_(input) {
    objects_.push_back(script::CreateScriptJson(script::CreateDuktapeEngine));
  }

  void Run() {
    for (int step = 0; step < kMaxSteps && !input_.Empty(); ++step) Step();
  }

 private:
  void Step() {
    const auto operation = static_cast<Operation>(input_.Byte() % kOperationCount);
    ScriptJson& json = *objects_[input_.Byte() % objects_.size()];
    std::vector<std::string> texts;
    switch (operation) {
      case kDestroy: json.Destroy(); break;
      case kClone: Keep(json.Clone()); break;
      case kInitialise: json.Initialise(); break;
      case kParse: json.Parse(input_.Text()); break;
      case kParseWithError: {
        script::ScriptErrorInfo error;
        json.Parse(input_.Text(), false, &error);
        break;
      }
      case kParseAsScript: json.Parse(input_.Expression(), true); break;
      case kClear: json.Clear(); break;
      case kToJsonText: json.ToJsonText(); break;
      case kSetValue: {
        const std::string path = WrittenPath();
        const std::string value = input_.Text();
        json.SetValue(path, value, input_.Flag());
        break;
      }
      case kSetExpression: {
        const std::string path = WrittenPath();
        json.SetExpression(path, input_.Expression());
        break;
      }
      case kResolvePath: {
        std::string path = input_.Path();
        json.ResolvePath(path);
        break;
      }
      case kExists: json.Exists(input_.Path()); break;
      case kTypeOf: CheckTypeCode(json.TypeOf(input_.Path())); break;
      case kGetText: {
        const std::string path = input_.Path();
        json.GetText(path, input_.Flag());
        break;
      }
      case kMemberNames: CheckCount(json.MemberNames(texts, input_.Path()), texts); break;
      case kArrayCount: json.ArrayCount(input_.Path()); break;
      case kGetObject: Keep(json.GetObject(input_.Path())); break;
      case kAppend: {
        const std::string value = input_.Text();
        const std::string path = WrittenPath();
        const bool asJson = input_.Flag();
        json.Append(value, path, asJson, input_.Flag());
        break;
      }
      case kGetElementObject: {
        const auto index = input_.Value<std::int32_t>();
        Keep(json.GetElementObject(index, input_.Path()));
        break;
      }
      case kGetElementText: {
        const auto index = input_.Value<std::int32_t>();
        const std::string path = input_.Path();
        json.GetElementText(index, path, input_.Flag());
        break;
      }
      case kSetElement: {
        const std::int32_t index = WrittenIndex();
        const std::string path = WrittenPath();
        const std::string value = input_.Text();
        json.SetElement(index, path, value, input_.Flag());
        break;
      }
      case kRemoveElement: {
        const auto index = input_.Value<std::int32_t>();
        json.RemoveElement(index, WrittenPath());
        break;
      }
      case kDelete: json.Delete(WrittenPath()); break;
      case kSetNumber: {
        const std::string path = WrittenPath();
        json.SetNumber(path, input_.Value<double>());
        break;
      }
      case kGetNumber: json.GetNumber(input_.Path()); break;
      case kPathToJsonText: json.PathToJsonText(input_.Path()); break;
      case kEngine:
        if (engines_.size() < kMaxEngines) engines_.push_back(json.Engine());
        break;
      case kLeafValues: {
        const std::string path = input_.Path();
        CheckCount(json.LeafValues(texts, path, input_.Flag()), texts);
        break;
      }
      case kTextRoundTrip: SetAndReadBackText(); break;
      case kOperationCount: break;
    }
  }

  // A text set on a member of a fresh object reads back as the engine holds it: the GBK
  // text as it converts to UTF-16 and back.
  void SetAndReadBackText() {
    const std::string text = input_.Text();
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

  // A path to write through. Writing an array's length makes an array that long, and reading
  // it whole then takes as long (see kFarthestWrittenIndex): such paths are written not at all.
  std::string WrittenPath() {
    const std::string path = input_.Path();
    return path.find("length") == std::string::npos ? path : std::string("a");
  }

  std::int32_t WrittenIndex() {
    const auto index = input_.Value<std::int32_t>();
    return index % (kFarthestWrittenIndex + 1);
  }

  Input& input_;
  std::vector<std::unique_ptr<ScriptJson>> objects_;
  std::vector<std::shared_ptr<script::ScriptEngine>> engines_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::TextCodePage = platform::kGbkCodePage;  // as start-up sets it
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(std::span(data, size));
  Program(input).Run();
  return 0;
}
