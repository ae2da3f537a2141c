// The ScriptJson table on the engines of the Windows build: the Script Control and duktape.
#include "tests/host/script_json_cases.h"

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
