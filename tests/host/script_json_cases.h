#pragma once
// The table of ScriptJson cases, run by every test binary against each engine it has.
#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "script/script_json.h"

struct EngineUnderTest {
  const char* name;
  script::EngineFactory makeEngine;
  bool hasOurJson;  // the JSON object is JsonSupportScript's, not the engine's own
};

inline void PrintTo(const EngineUnderTest& engine, std::ostream* out) { *out << engine.name; }

// duktape with its own JSON object (and Date.prototype.toJSON) removed, so that
// JsonSupportScript installs its implementation.
std::shared_ptr<script::ScriptEngine> CreateDuktapeEngineWithOurJson();

std::string EngineName(const testing::TestParamInfo<EngineUnderTest>& info);

class ScriptJsonTest : public testing::TestWithParam<EngineUnderTest> {
 protected:
  std::unique_ptr<script::ScriptJson> Make() const { return script::CreateScriptJson(GetParam().makeEngine); }
  std::unique_ptr<script::ScriptJson> Parsed(std::string_view text) const {
    std::unique_ptr<script::ScriptJson> json = Make();
    EXPECT_TRUE(json->Parse(text)) << text.substr(0, 200);
    return json;
  }
};
