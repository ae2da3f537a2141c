#include "platform/fake/journal.h"

namespace fake {

void Journal::Add(std::uint64_t time, std::string what) {
  std::vector<std::function<void()>> due;
  for (auto trigger = triggers_.begin(); trigger != triggers_.end();) {
    if (what.starts_with(trigger->prefix) && --trigger->remaining == 0) {
      due.push_back(std::move(trigger->action));
      trigger = triggers_.erase(trigger);
    } else {
      ++trigger;
    }
  }
  entries_.push_back({time, std::move(what)});
  for (auto& action : due) action();
}

void Journal::When(std::string prefix, std::function<void()> action, int occurrence) {
  triggers_.push_back({std::move(prefix), occurrence, std::move(action)});
}

std::vector<std::string> Journal::Matching(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const auto& entry : entries_)
    if (std::string_view(entry.what).substr(0, prefix.size()) == prefix) found.push_back(entry.what);
  return found;
}

}  // namespace fake
