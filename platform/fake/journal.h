#pragma once
// What the program did to the fake platform, in order, with the virtual time of each call.
#include <cstdint>
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
  void Add(std::uint64_t time, std::string what) { entries_.push_back({time, std::move(what)}); }
  const std::vector<JournalEntry>& Entries() const { return entries_; }
  // The entries that start with `prefix`, without their times.
  std::vector<std::string> Matching(std::string_view prefix) const;
  // Entries starting with `prefix`, counted.
  std::size_t Count(std::string_view prefix) const { return Matching(prefix).size(); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<JournalEntry> entries_;
};

}  // namespace fake
