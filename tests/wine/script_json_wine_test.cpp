// The ScriptJson table on the engines of the Windows build: the Script Control and duktape.
#include <objbase.h>
#include <windows.h>

#include <cstdio>

#include "tests/host/script_json_cases.h"
#include "tests/host/script_room_state.h"

INSTANTIATE_TEST_SUITE_P(Engines, ScriptJsonTest,
                         testing::Values(EngineUnderTest{"ScriptControl", script::CreateComEngine, true},
                                         EngineUnderTest{"Duktape", script::CreateDuktapeEngine, false},
                                         EngineUnderTest{"DuktapeWithOurJson", CreateDuktapeEngineWithOurJson, true}),
                         EngineName);

TEST(ScriptControl, IsTheProgramsEngine) {
  const std::shared_ptr<script::ScriptEngine> control = script::CreateComEngine();
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->SetLanguage(u"JavaScript"));
  EXPECT_EQ(control->EvalText(u"typeof JSON"), u"undefined");  // JScript without a JSON object
  EXPECT_EQ(script::CreateScriptJson()->Engine()->EvalText(u"typeof ActiveXObject"), u"function");
}

namespace {

// Milliseconds per live-status check: create, parse, read, destroy.
double MillisecondsPerCheck(script::EngineFactory makeEngine, int checks) {
  const std::string document = RoomStateDocument();
  const std::uint64_t start = GetTickCount64();
  for (int i = 0; i < checks; ++i) {
    std::unique_ptr<script::ScriptJson> json = script::CreateScriptJson(makeEngine);
    json->Parse(document);
    EXPECT_EQ(json->GetText("roomStore.status"), "2");
    json->Destroy();
  }
  return static_cast<double>(GetTickCount64() - start) / checks;
}

}  // namespace

// A measurement, printed, not a limit: what one check costs on the Script Control (with the
// thread's COM initialised by the checks alone, and with one held outside them) and on the
// embedded engine that stands in for it on 64-bit Windows.
TEST(ScriptControl, CostOfALiveStatusCheck) {
  std::printf("live-status check, Script Control: %.2f ms\n", MillisecondsPerCheck(script::CreateComEngine, 100));
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  std::printf("the same with COM held initialised: %.2f ms\n", MillisecondsPerCheck(script::CreateComEngine, 100));
  CoUninitialize();
  std::printf("live-status check, duktape: %.2f ms\n", MillisecondsPerCheck(script::CreateDuktapeEngine, 500));
}

// Every Script Control holds one COM initialisation of the thread and gives it back when its
// last object is destroyed: afterwards the thread is uninitialised again.
TEST(ScriptControl, ComInitialisationStaysBalanced) {
  {
    const std::unique_ptr<script::ScriptJson> json = script::CreateScriptJson(script::CreateComEngine);
    ASSERT_TRUE(json->Parse("{\"a\":{\"b\":1}}"));
    const std::unique_ptr<script::ScriptJson> clone = json->Clone();
    const std::unique_ptr<script::ScriptJson> copy = json->GetObject("a");
    EXPECT_EQ(copy->GetText("b"), "1");
    json->Destroy();
    EXPECT_EQ(clone->GetText("a.b"), "1");  // the clone still holds the engine
    clone->Destroy();
    copy->Destroy();
  }
  const HRESULT first = CoInitialize(nullptr);
  EXPECT_EQ(first, S_OK);  // S_FALSE: an initialisation was left over
  if (SUCCEEDED(first)) CoUninitialize();
}
