#include "tests/host/script_json_cases.h"

#include <string>
#include <vector>

using script::ScriptErrorInfo;
using script::ScriptJson;

std::shared_ptr<script::ScriptEngine> CreateDuktapeEngineWithOurJson() {
  std::shared_ptr<script::ScriptEngine> engine = script::CreateDuktapeEngine();
  if (engine) engine->AddCode(u"JSON = undefined; delete Date.prototype.toJSON;");
  return engine;
}

std::string EngineName(const testing::TestParamInfo<EngineUnderTest>& info) { return info.param.name; }

namespace {

constexpr std::string_view kRoomState = R"({
  "roomStore": {"status": 2, "title": "今晚直播", "tags": ["游戏", "b"], "live": true, "none": null},
  "list": [{"name": "x"}, {"name": "y"}],
  "n": 1.5
})";

std::string Repeat(std::string_view part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

// ---- The engine's results, converted as VARIANTs are ----

struct ConversionCase {
  const char16_t* expression;
  bool truth;
  double number;
  const char16_t* text;
};

TEST_P(ScriptJsonTest, EngineResultsConvertLikeVariants) {
  const ConversionCase cases[] = {
      {u"'abc'", false, 0, u"abc"},   {u"'true'", true, 0, u"true"}, {u"' 12.5 '", true, 12.5, u" 12.5 "},
      {u"'0'", false, 0, u"0"},       {u"'1e3'", true, 1000, u"1e3"}, {u"({})", false, 0, u"[object Object]"},
      {u"[1]", true, 1, u"1"},        {u"[]", false, 0, u""},         {u"null", false, 0, u""},
      {u"undefined", false, 0, u""},  {u"true", true, -1, u"-1"},     {u"false", false, 0, u"0"},
      {u"1.5", true, 1.5, u"1.5"},    {u"0", false, 0, u"0"},         {u"x.y", false, 0, u""},
  };
  const std::shared_ptr<script::ScriptEngine> engine = GetParam().makeEngine();
  ASSERT_TRUE(engine->SetLanguage(u"JavaScript"));
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(std::string(c.expression, c.expression + std::char_traits<char16_t>::length(c.expression)));
    EXPECT_EQ(engine->EvalTruth(c.expression), c.truth);
    EXPECT_EQ(engine->EvalNumber(c.expression), c.number);
    EXPECT_EQ(engine->EvalText(c.expression), c.text);
  }
}

// ---- Paths: TypeOf, Exists, GetText on one document ----

struct PathCase {
  const char* path;
  int type;
  bool exists;
  const char* text;
};

TEST_P(ScriptJsonTest, PathsResolveAndReadAsTheirType) {
  const PathCase cases[] = {
      {"roomStore.status", 2, true, "2"},
      {"da.roomStore.status", 2, true, "2"},
      {"roomStore", 4, true, "[object Object]"},
      {"", 4, true, "[object Object]"},
      {"roomStore.title", 6, true, "今晚直播"},
      {"roomStore.tags", 5, true, "游戏,b"},
      {"roomStore.live", 1, true, "true"},
      {"roomStore.none", 0, false, ""},
      {"roomStore.missing", 0, false, ""},
      {"roomStore.missing.x", -1, false, ""},
      {"list[1].name", 6, true, "y"},
      {"[\"n\"]", 2, true, "1.5"},
      {"data.x", -1, false, ""},   // no global "data": becomes da.data.x
      {"da.missing", -1, false, ""},  // rewritten to da.da.missing
      {"['list'][0][\"name\"]", 6, true, "x"},
      {"list[-1]", 0, false, ""},
  };
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(json->TypeOf(c.path), c.type);
    EXPECT_EQ(json->Exists(c.path), c.exists);
    EXPECT_EQ(json->GetText(c.path), c.text);
  }
}

TEST_P(ScriptJsonTest, ResolvePathRewritesRelativePaths) {
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  std::string path = "roomStore.status";
  EXPECT_TRUE(json->ResolvePath(path));
  EXPECT_EQ(path, "da.roomStore.status");
  path = "[\"list\"]";
  EXPECT_TRUE(json->ResolvePath(path));
  EXPECT_EQ(path, "da[\"list\"]");
  path = "";
  EXPECT_TRUE(json->ResolvePath(path));
  EXPECT_EQ(path, "da");
  path = "da.absent";
  EXPECT_FALSE(json->ResolvePath(path));
  EXPECT_EQ(path, "da.da.absent");
}

// A path goes into the engine's source as it is: one that is no member expression could run
// code there, so every operation refuses it as it does an absent member.
TEST_P(ScriptJsonTest, PathsThatAreNoMemberExpressionsAreRefusedAndRunNothing) {
  const char* paths[] = {"list; marker = 1", "list = (marker = 1)", "list[marker = 1]", "list.push(marker = 1)",
                         "(marker = 1)",     "list..name",          "list.",            "list['x'] ; marker = 1",
                         "list[0",           "n ",                  "1n",
                         "n\xA1\xA1x"};  // GBK for U+3000, which JavaScript reads as a blank
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  const std::string before = json->ToJsonText();
  for (const char* path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(json->TypeOf(path), -1);
    EXPECT_FALSE(json->Exists(path));
    EXPECT_EQ(json->GetText(path), "");
    EXPECT_EQ(json->ArrayCount(path), 0);
    EXPECT_FALSE(json->SetValue(path, "v"));
    EXPECT_FALSE(json->SetNumber(path, 1));
    EXPECT_FALSE(json->Append("v", path));
    EXPECT_FALSE(json->Delete(path));
    std::string resolved = path;
    EXPECT_FALSE(json->ResolvePath(resolved));
    EXPECT_EQ(resolved, path);
  }
  EXPECT_EQ(json->ToJsonText(), before);
  EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
}

TEST_P(ScriptJsonTest, JsonTextOfMembersHasNoBlanks) {
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  EXPECT_EQ(json->GetText("roomStore.tags", true), R"(["游戏","b"])");
  EXPECT_EQ(json->PathToJsonText("list"), R"([{"name":"x"},{"name":"y"}])");
  EXPECT_EQ(json->GetElementText(0, "list", true), R"({"name":"x"})");
  EXPECT_EQ(json->GetElementText(1, "roomStore.tags"), "b");
  EXPECT_EQ(json->GetElementText(0, "list"), "");  // not a string: no text without JSON
  EXPECT_EQ(json->GetText("missing", true), "");
}

TEST_P(ScriptJsonTest, DeepPathsReachTheirLeaf) {
  const int depth = 200;
  const std::unique_ptr<ScriptJson> json = Parsed(Repeat("{\"a\":", depth) + "\"底\"" + std::string(depth, '}'));
  std::string path = "a";
  for (int i = 1; i < depth; ++i) path += ".a";
  EXPECT_EQ(json->TypeOf(path), 6);
  EXPECT_EQ(json->GetText(path), "底");
  const std::string parent = path.substr(0, path.size() - 2);
  json->SetValue(parent + ".b", "新");
  EXPECT_EQ(json->GetText(parent + ".b"), "新");
  EXPECT_EQ(json->TypeOf(parent), 4);
}

// ---- Parse ----

TEST_P(ScriptJsonTest, StatusReadsAsTextWhetherNumberOrString) {
  EXPECT_EQ(Parsed(R"({"roomStore":{"status":"2"}})")->GetText("roomStore.status"), "2");
  EXPECT_EQ(Parsed(R"({"roomStore":{"status":4}})")->GetText("roomStore.status"), "4");
}

TEST_P(ScriptJsonTest, ParseOfEmptyTextLeavesTheRootUndefined) {
  const std::unique_ptr<ScriptJson> json = Make();
  ScriptErrorInfo error;
  EXPECT_FALSE(json->Parse("", false, &error));
  EXPECT_EQ(error.Number, 0);
  EXPECT_EQ(json->GetText("roomStore.status"), "");
  EXPECT_EQ(json->ToJsonText(), "");
}

TEST_P(ScriptJsonTest, ParseOfInvalidTextFillsTheErrorRecord) {
  for (const char* text : {"{", "{\"a\":}", "  ", "{\"a\":1}}"}) {
    SCOPED_TRACE(text);
    const std::unique_ptr<ScriptJson> json = Make();
    ScriptErrorInfo error;
    EXPECT_FALSE(json->Parse(text, false, &error));
    EXPECT_NE(error.Number, 0);
    EXPECT_FALSE(error.Description.empty());
    EXPECT_EQ(json->ToJsonText(), "null");
  }
}

TEST_P(ScriptJsonTest, ErrorRecordOfASuccessfulParseIsEmpty) {
  const std::unique_ptr<ScriptJson> json = Make();
  ScriptErrorInfo error;
  error.Number = 7;
  EXPECT_TRUE(json->Parse("[1]", false, &error));
  EXPECT_EQ(error.Number, 0);
  EXPECT_EQ(error.Description, "");
  EXPECT_EQ(error.Line, 0);
}

TEST_P(ScriptJsonTest, ParseStartsInAFreshEngine) {
  const std::unique_ptr<ScriptJson> json = Make();
  ASSERT_TRUE(json->Parse("(marker = 1, {})", true));
  const std::shared_ptr<script::ScriptEngine> first = json->Engine();
  EXPECT_EQ(first->EvalText(u"typeof marker"), u"number");
  ASSERT_TRUE(json->Parse("{}"));
  EXPECT_NE(json->Engine(), first);
  EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
}

TEST_P(ScriptJsonTest, ReparseKeepsTheEngineAndReplacesOnlyTheRoot) {
  const std::unique_ptr<ScriptJson> json = Make();
  ASSERT_TRUE(json->Reparse(uR"({"roomStore":{"status":2,"title":"今晚"}})"));
  const std::shared_ptr<script::ScriptEngine> engine = json->Engine();
  EXPECT_EQ(json->GetText("roomStore.status"), "2");
  EXPECT_FALSE(json->Reparse(uR"({"roomStore":{"status":4,"ti)"));  // half written
  EXPECT_EQ(json->GetText("roomStore.status"), "") << "nothing of the earlier document is left";
  EXPECT_TRUE(json->Reparse(uR"({"roomStore":{"title":"x"}})"));
  EXPECT_EQ(json->GetText("roomStore.status"), "");
  EXPECT_FALSE(json->Reparse(u"1); marker = 1; (1"));
  EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
  EXPECT_EQ(json->Engine(), engine);
}

// Texts that a room-state file could hold to run code, were it evaluated as script.
TEST_P(ScriptJsonTest, JsonTextNeverRunsAsScript) {
  for (const char* text : {"1); marker = 1; (1", "1); while (true) {} (1", "{\"a\": (marker = 1)}", "1, marker = 1",
                           "(function () { marker = 1; return {}; })()", "[marker = 1]"}) {
    SCOPED_TRACE(text);
    const std::unique_ptr<ScriptJson> json = Make();
    ScriptErrorInfo error;
    EXPECT_FALSE(json->Parse(text, false, &error));
    EXPECT_NE(error.Number, 0);
    EXPECT_EQ(json->ToJsonText(), "null");
    EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
  }
}

TEST_P(ScriptJsonTest, ParseAsScriptEvaluatesTheExpression) {
  const std::unique_ptr<ScriptJson> json = Make();
  EXPECT_TRUE(json->Parse("{a: 1 + 1, b: 'x'.toUpperCase()}", true));
  EXPECT_EQ(json->ToJsonText(), R"({"a":2,"b":"X"})");
  EXPECT_FALSE(json->Parse("{a: 1 + 1}"));  // not JSON
}

TEST_P(ScriptJsonTest, DeeplyNestedInputFailsCleanly) {
  const int depth = 100000;
  const std::string arrays = std::string(depth, '[') + std::string(depth, ']');
  const std::string objects = Repeat("{\"a\":", depth) + "1" + std::string(depth, '}');
  for (const std::string* text : {&arrays, &objects}) {
    const std::unique_ptr<ScriptJson> json = Make();
    EXPECT_FALSE(json->Parse(*text));
    EXPECT_EQ(json->GetText("a"), "");
    EXPECT_FALSE(json->Parse(*text, true));
    EXPECT_TRUE(json->Parse("{\"after\":1}"));
  }
}

TEST_P(ScriptJsonTest, ParsesAFiveMegabyteDocument) {
  std::string document = "{\"roomStore\":{\"status\":2},\"items\":[";
  int items = 0;
  while (document.size() < 5 * 1024 * 1024) {
    if (items > 0) document += ',';
    document += "{\"id\":" + std::to_string(items++) + ",\"title\":\"直播间标题，带一点中文\",\"on\":true}";
  }
  document += "]}";
  const std::unique_ptr<ScriptJson> json = Parsed(document);
  EXPECT_EQ(json->GetText("roomStore.status"), "2");
  EXPECT_EQ(json->ArrayCount("items"), items);
  EXPECT_EQ(json->GetText("items[" + std::to_string(items - 1) + "].title"), "直播间标题，带一点中文");
}

// ---- Texts in and out ----

TEST_P(ScriptJsonTest, TextsRoundTripUnchanged) {
  const char* texts[] = {"it's", "say \"hi\"", "line1\r\nline2\n", "a\\b", "C:\\Users\\主播\\x", "\\", "直播伴侣",
                         "'); marker = 1; ('", "tab\there", "\\u0041"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const std::unique_ptr<ScriptJson> json = Make();
    json->SetValue("x", text);
    EXPECT_EQ(json->GetText("x"), text);
    EXPECT_TRUE(json->Append(text, "list"));
    json->Append(text, "list", false, true);
    EXPECT_EQ(json->GetElementText(0, "list"), text);
    EXPECT_EQ(json->GetElementText(1, "list"), text);
    json->SetElement(1, "list", std::string(text) + "!");
    EXPECT_EQ(json->GetElementText(1, "list"), std::string(text) + "!");
    EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
  }
}

TEST_P(ScriptJsonTest, BackslashesSetAsTextAreKeptAsPlaceholders) {
  const std::unique_ptr<ScriptJson> json = Make();
  json->SetValue("x", "a\\b");
  EXPECT_EQ(json->Engine()->EvalText(u"da.x"), u"a\u2400b");
  EXPECT_EQ(json->ToJsonText(), "{\"x\":\"a\\b\"}");  // one backslash, unescaped
  EXPECT_EQ(json->GetText("x", true), "\"a\\b\"");
  // The copy reads that backslash as an escape: \b is a backspace.
  const std::unique_ptr<ScriptJson> copy = json->GetObject();
  EXPECT_EQ(copy->GetText("x"), "a\b");
  // Appended texts hold real backslashes, so their JSON is standard.
  json->Append("a\\b", "list");
  EXPECT_EQ(json->PathToJsonText("list"), "[\"a\\\\b\"]");
}

TEST_P(ScriptJsonTest, GbkTextsCrossBothWays) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"房间":{"标题":"今晚八点","主播":"小明"}})");
  std::vector<std::string> names;
  EXPECT_EQ(json->MemberNames(names, "房间"), 2);
  EXPECT_EQ(names, (std::vector<std::string>{"标题", "主播"}));
  EXPECT_EQ(json->GetText("房间.标题"), "今晚八点");
  json->SetValue("房间.备注", "中文，标点！");
  EXPECT_EQ(json->GetText("房间.备注"), "中文，标点！");
  EXPECT_EQ(json->ToJsonText(), R"({"房间":{"标题":"今晚八点","主播":"小明","备注":"中文，标点！"}})");
}

// ---- Writing ----

TEST_P(ScriptJsonTest, SetValueAsJsonMergesIntoObjects) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"o":{"s":"old","b":false,"sub":{"k":"v"},"arr":[1]}})");
  json->SetValue("o", R"({"s":"new","b":true,"add":"x","sub":{"k2":"v2"},"arr":[2,3]})", true);
  EXPECT_EQ(json->GetText("o", true), R"({"s":"new","b":true,"sub":{"k":"v","k2":"v2"},"arr":[1,2,3],"add":"x"})");
}

TEST_P(ScriptJsonTest, MergingAnObjectIntoAnArrayAddsNothing) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"o":{"arr":[1]}})");
  json->SetValue("o", R"({"arr":{"length":1e9}})", true);  // not a billion undefined elements
  EXPECT_EQ(json->GetText("o", true), R"({"arr":[1]})");
}

TEST_P(ScriptJsonTest, MergeStopsAtANumberMemberKeepingWhatCameBefore) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"o":{"s":"old","n":1}})");
  EXPECT_FALSE(json->SetValue("o", R"({"s":"new","n":2,"add":"x"})", true));
  EXPECT_EQ(json->GetText("o", true), R"({"s":"new","n":1})");
}

TEST_P(ScriptJsonTest, SetValueAsJsonReplacesWhatIsNoObject) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"s":"text","arr":[1]})");
  json->SetValue("s", "[1,2]", true);
  json->SetValue("arr", "[2]", true);
  json->SetValue("fresh", "", true);
  EXPECT_EQ(json->ToJsonText(), R"({"s":[1,2],"arr":[2],"fresh":{}})");
  EXPECT_FALSE(json->SetValue("s", "{", true));
  EXPECT_EQ(json->GetText("s", true), "[1,2]");
}

TEST_P(ScriptJsonTest, ValuesGivenAsJsonAreParsedNeverRun) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"o":{"k":"v"},"list":[]})");
  json->SetValue("s", R"("marker = 1")", true);
  EXPECT_EQ(json->GetText("s"), "marker = 1");
  EXPECT_FALSE(json->SetValue("o", "(marker = 1, {})", true));
  EXPECT_FALSE(json->SetValue("x", "marker = 1", true));
  EXPECT_FALSE(json->Append("(marker = 1)", "list", true));
  EXPECT_FALSE(json->SetElement(0, "list", "[marker = 1]", true));
  EXPECT_EQ(json->ToJsonText(), R"({"o":{"k":"v"},"list":[],"s":"marker = 1"})");
  EXPECT_EQ(json->Engine()->EvalText(u"typeof marker"), u"undefined");
}

TEST_P(ScriptJsonTest, WritesThroughAnAbsentMemberFail) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"a":1})");
  EXPECT_FALSE(json->SetValue("x.y", "v"));
  EXPECT_FALSE(json->SetNumber("x.y", 1));
  EXPECT_FALSE(json->SetExpression("x.y", "1"));
  EXPECT_EQ(json->ToJsonText(), R"({"a":1})");
}

TEST_P(ScriptJsonTest, AppendBuildsArraysAtEitherEnd) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"s":"no array"})");
  EXPECT_TRUE(json->Append("b", "list"));
  json->Append("a", "list", false, true);  // unshift gives no length in JScript, so no truth value
  EXPECT_TRUE(json->Append(R"({"k":1})", "list", true));
  EXPECT_TRUE(json->Append("x", "s"));
  EXPECT_EQ(json->ToJsonText(), R"({"s":["x"],"list":["a","b",{"k":1}]})");
  EXPECT_EQ(json->ArrayCount("list"), 3);
  EXPECT_FALSE(json->RemoveElement(0, "list"));  // the removed elements, ["a"], read as no truth value
  EXPECT_EQ(json->ArrayCount("list"), 2);
  EXPECT_EQ(json->GetElementText(0, "list"), "b");
  EXPECT_TRUE(json->SetElement(1, "list", "[true]", true));
  EXPECT_EQ(json->PathToJsonText("list"), R"(["b",[true]])");
  EXPECT_FALSE(json->Append("{", "list", true));
  EXPECT_EQ(json->ArrayCount("s"), 1);
  EXPECT_EQ(json->ArrayCount("list[0]"), 0);
}

TEST_P(ScriptJsonTest, DeleteAndClear) {
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  EXPECT_TRUE(json->Delete("roomStore.status"));
  EXPECT_FALSE(json->Exists("roomStore.status"));
  json->Clear();
  EXPECT_EQ(json->ToJsonText(), "{}");
}

TEST_P(ScriptJsonTest, NumbersAreWrittenWithThirteenDigits) {
  const std::unique_ptr<ScriptJson> json = Make();
  EXPECT_TRUE(json->SetNumber("a", 0.1));
  EXPECT_TRUE(json->SetNumber("b", 1e20));
  EXPECT_TRUE(json->SetNumber("c", 1.0 / 3));
  EXPECT_TRUE(json->SetNumber("d", -2.5e-7));
  EXPECT_EQ(json->GetText("a"), "0.1");
  EXPECT_EQ(json->GetText("c"), "0.3333333333333");
  EXPECT_EQ(json->GetNumber("a"), 0.1);
  EXPECT_EQ(json->GetNumber("b"), 1e20);
  EXPECT_EQ(json->GetNumber("d"), -2.5e-7);
}

TEST_P(ScriptJsonTest, GetNumberConvertsLikeAVariant) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"n":7,"s":"12.5","word":"abc","t":true,"f":false})");
  EXPECT_EQ(json->GetNumber("n"), 7);
  EXPECT_EQ(json->GetNumber("s"), 12.5);
  EXPECT_EQ(json->GetNumber("word"), 0);
  EXPECT_EQ(json->GetNumber("t"), -1);
  EXPECT_EQ(json->GetNumber("f"), 0);
  EXPECT_EQ(json->GetNumber("missing.x"), 0);
}

// ---- Members and leaves ----

TEST_P(ScriptJsonTest, MemberNamesListsOwnDataMembers) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"o":{"a":1,"b":{"c":2}},"arr":[1]})");
  std::vector<std::string> names{"stale"};
  EXPECT_EQ(json->MemberNames(names, "o"), 2);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(json->MemberNames(names, "arr"), 0);
  EXPECT_TRUE(names.empty());
}

TEST_P(ScriptJsonTest, LeafValuesCollectsScalarsInOrder) {
  const std::unique_ptr<ScriptJson> json = Parsed(R"({"a":1,"b":{"c":"x","d":[true,2.5]},"e":"last"})");
  std::vector<std::string> values{"stale"};
  EXPECT_EQ(json->LeafValues(values), 2);
  EXPECT_EQ(values, (std::vector<std::string>{"1", "last"}));
  EXPECT_EQ(json->LeafValues(values, "", true), 5);
  EXPECT_EQ(values, (std::vector<std::string>{"1", "x", "true", "2.5", "last"}));
  EXPECT_EQ(json->LeafValues(values, "b.d"), 2);
  EXPECT_EQ(json->LeafValues(values, "missing"), 0);
  EXPECT_TRUE(values.empty());
}

TEST_P(ScriptJsonTest, LeafValuesSplitAtTheSeparator) {
  std::vector<std::string> values;
  EXPECT_EQ(Parsed(R"({"e":""})")->LeafValues(values), 0);
  EXPECT_EQ(Parsed(R"({"v":"a[2020年7月20日20时0分0秒]b"})")->LeafValues(values), 2);
  EXPECT_EQ(values, (std::vector<std::string>{"a", "b"}));
}

// ---- Copies and clones ----

TEST_P(ScriptJsonTest, GetObjectCopiesIndependently) {
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  const std::unique_ptr<ScriptJson> copy = json->GetObject("roomStore");
  EXPECT_EQ(copy->ToJsonText(), json->GetText("roomStore", true));
  EXPECT_NE(copy->Engine(), json->Engine());
  copy->SetValue("title", "改了");
  EXPECT_EQ(json->GetText("roomStore.title"), "今晚直播");
  EXPECT_EQ(json->GetElementObject(1, "list")->ToJsonText(), R"({"name":"y"})");
  EXPECT_EQ(json->GetObject("absent")->ToJsonText(), "");
}

TEST_P(ScriptJsonTest, ClonesShareTheEngine) {
  const std::unique_ptr<ScriptJson> json = Parsed(kRoomState);
  std::unique_ptr<ScriptJson> clone = json->Clone();
  EXPECT_EQ(clone->Engine(), json->Engine());
  clone->SetValue("roomStore.status", "4");
  EXPECT_EQ(json->GetText("roomStore.status"), "4");
  clone->Destroy();
  EXPECT_EQ(clone->GetText("roomStore.status"), "");
  EXPECT_EQ(json->GetText("roomStore.status"), "4");
}

// ---- The JSON object ----

struct ScriptCase {
  const char* expression;
  const char* text;
};

std::string Evaluated(const EngineUnderTest& engine, const char* expression) {
  const std::unique_ptr<ScriptJson> json = script::CreateScriptJson(engine.makeEngine);
  json->Parse(expression, true);
  return json->GetText();
}

// What both the engines' own JSON objects and ours give.
TEST_P(ScriptJsonTest, JsonObjectFollowsEcmaScript5) {
  const ScriptCase cases[] = {
      {"JSON.stringify({a: 1, b: [true, null, 'x'], c: {}, d: []})", R"({"a":1,"b":[true,null,"x"],"c":{},"d":[]})"},
      {"JSON.stringify({a: [1, {b: 2}], c: 'x'}, null, 2)", "{\n  \"a\": [\n    1,\n    {\n      \"b\": 2\n    }\n  ],\n  \"c\": \"x\"\n}"},
      {"JSON.stringify([1, [2]], null, '\\t')", "[\n\t1,\n\t[\n\t\t2\n\t]\n]"},
      {"JSON.stringify({a: 1, b: 2, c: {b: 3}}, ['b', 'c'])", R"({"b":2,"c":{"b":3}})"},
      {"JSON.stringify({a: 1, b: 'x'}, function (k, v) { return typeof v === 'number' ? v + 1 : v; })", R"({"a":2,"b":"x"})"},
      {"JSON.stringify({a: 1, b: 2}, function (k, v) { return k === 'b' ? undefined : v; })", R"({"a":1})"},
      {"JSON.stringify({a: {toJSON: function (key) { return key + '!'; }}})", R"({"a":"a!"})"},
      {"JSON.stringify([undefined, function () {}, NaN, 1 / 0, -0.5])", "[null,null,null,null,-0.5]"},
      {"JSON.stringify({u: undefined, f: function () {}, v: 1})", R"({"v":1})"},
      {"JSON.stringify('q\"b\\\\\\b\\f\\n\\r\\t\\u0001')", R"("q\"b\\\b\f\n\r\t\u0001")"},
      {"String(JSON.stringify(undefined))", "undefined"},
      {"JSON.parse('{\"a\":[1,2,{\"b\":\"c\\\\u0041\"}]}').a[2].b", "cA"},
      {"JSON.stringify(JSON.parse('{\"a\":1,\"b\":{\"c\":2}}', function (k, v) { return k === 'a' ? undefined : v; }))",
       R"({"b":{"c":2}})"},
      {"(function () { var keys = []; JSON.parse('{\"a\":{\"b\":1},\"c\":[2]}', function (k, v) { keys.push(k); return v; }); "
       "return keys.join(','); })()",
       "b,a,0,c,"},
      {"(function () { try { JSON.parse('{\"a\": f()}'); return 'parsed'; } catch (e) { return e.name; } })()", "SyntaxError"},
      {"({a: [1]}).toJSONString()", R"({"a":[1]})"},
      {"'[1,2]'.parseJSON()[1]", "2"},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(Evaluated(GetParam(), c.expression), c.text);
  }
}

// Where our implementation differs from ECMAScript 5's JSON object on purpose: more escapes,
// dates without milliseconds, an error for a replacer of another kind.
TEST_P(ScriptJsonTest, OurJsonEscapesMoreAndDatesHaveNoMilliseconds) {
  if (!GetParam().hasOurJson) GTEST_SKIP() << "the engine's own JSON object";
  const ScriptCase cases[] = {
      {"JSON.stringify('\\u007f\\u00ad\\u2028\\ufeff\\u4e2d')", "\"\\u007f\\u00ad\\u2028\\ufeff中\""},
      {"JSON.stringify(new Date(Date.UTC(2020, 6, 20, 20, 0, 5)))", "\"2020-07-20T20:00:05Z\""},
      {"(function () { try { JSON.stringify(1, 5); return 'no error'; } catch (e) { return e.message; } })()", "JSON.stringify"},
      {"JSON.parse('\"a\\u2028b\"').length", "3"},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(Evaluated(GetParam(), c.expression), c.text);
  }
}

// ---- Without an engine ----

std::shared_ptr<script::ScriptEngine> NoEngine() { return nullptr; }

TEST(ScriptJsonWithoutEngine, EveryOperationFails) {
  const std::unique_ptr<ScriptJson> json = script::CreateScriptJson(NoEngine);
  std::vector<std::string> list{"stale"};
  EXPECT_FALSE(json->Parse("{\"a\":1}"));
  EXPECT_EQ(json->GetText("a"), "");
  EXPECT_EQ(json->TypeOf("a"), -1);
  EXPECT_FALSE(json->Exists());
  EXPECT_FALSE(json->SetValue("a", "1"));
  EXPECT_EQ(json->ArrayCount("a"), 0);
  EXPECT_EQ(json->MemberNames(list), 0);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(json->GetNumber("a"), 0);
  EXPECT_EQ(json->Engine(), nullptr);
  EXPECT_EQ(json->GetObject("a")->Engine(), nullptr);
}

}  // namespace
