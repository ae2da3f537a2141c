#include "platform/fake/journal.h"

namespace fake {

std::vector<std::string> Journal::Matching(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const auto& entry : entries_)
    if (std::string_view(entry.what).substr(0, prefix.size()) == prefix) found.push_back(entry.what);
  return found;
}

}  // namespace fake
