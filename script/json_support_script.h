#pragma once
#include <string_view>

namespace script {

// The JavaScript library every ScriptJson engine is given: member counting, listing,
// merging and leaf collection, a JSON object for engines without one, and the
// toJSONString / parseJSON members of every object.
extern const std::u16string_view JsonSupportScript;

}  // namespace script
