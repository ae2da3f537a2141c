// The ScriptJson table on the engines of the Linux build.
#include "tests/host/script_json_cases.h"

INSTANTIATE_TEST_SUITE_P(Engines, ScriptJsonTest,
                         testing::Values(EngineUnderTest{"Duktape", script::CreateDuktapeEngine, false},
                                         EngineUnderTest{"DuktapeWithOurJson", CreateDuktapeEngineWithOurJson, true}),
                         EngineName);
