#pragma once
// The actions a sequence may hold: each verb with the objects it takes.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace interleaving {

struct Verb {
  std::string_view name;
  std::vector<std::string> objects;  // one empty object: the verb takes none
};

// Every verb, in a fixed order: the controls of both windows by design name (GBK), then the
// variants of the other verbs.
std::span<const Verb> Verbs();
const Verb* FindVerb(std::string_view name);
bool IsKnown(std::string_view verb, std::string_view object);

}  // namespace interleaving
