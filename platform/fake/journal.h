#pragma once
// What the program did to the fake platform, in order, with the virtual time of each call.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fake {

struct JournalEntry {
  std::uint64_t time;
  std::string what;
};

class Journal {
 public:
  void Add(std::uint64_t time, std::string what);
  const std::vector<JournalEntry>& Entries() const { return entries_; }
  // The entries that start with `prefix`, without their times.
  std::vector<std::string> Matching(std::string_view prefix) const;
  // Entries starting with `prefix`, counted.
  std::size_t Count(std::string_view prefix) const { return Matching(prefix).size(); }
  void Clear() { entries_.clear(); }

  // Runs `action` once, when the `occurrence`-th entry starting with `prefix` is added from
  // now on: a test's step at an exact call of the program, inside it (each fake journals a
  // call before the call has its effect). The action may say When again.
  void When(std::string prefix, std::function<void()> action, int occurrence = 1);

 private:
  struct Trigger {
    std::string prefix;
    int remaining;
    std::function<void()> action;
  };
  std::vector<JournalEntry> entries_;
  std::vector<Trigger> triggers_;
};

}  // namespace fake
