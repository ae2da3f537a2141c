#include "optimizer/game_suggestions.h"

#include <algorithm>

#include "monitor/companion.h"
#include "optimizer/process_names.h"
#include "platform/text.h"

namespace optimizer {

namespace {

char16_t FoldAsciiCase(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool PrecedesIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return FoldAsciiCase(x) < FoldAsciiCase(y); });
}

// Whether the path lies in the folder or below it (ASCII case ignored, as Windows compares paths).
bool LiesIn(std::u16string_view path, std::u16string_view folder) {
  if (folder.ends_with(u'\\')) folder.remove_suffix(1);
  return !folder.empty() && path.size() > folder.size() && path[folder.size()] == u'\\' &&
         NamesMatchIgnoringAsciiCase(path.substr(0, folder.size()), folder);
}

bool IsCompanionProcess(std::u16string_view name) {
  for (std::string_view companion : monitor::kCompanionProcesses)
    if (NamesMatchIgnoringAsciiCase(name, platform::ToUtf16(companion))) return true;
  return false;
}

}  // namespace

std::vector<std::u16string> GameSuggestions(platform::Processes& processes, platform::Files& files) {
  std::vector<platform::WideProcessEntry> entries;
  processes.SnapshotWide(platform::kSnapProcess, entries);
  const std::u16string windowsFolder = files.WindowsFolder();
  const std::uint32_t own = processes.OwnProcessId();
  std::vector<std::u16string> names;
  for (const auto& entry : entries) {
    if (entry.id == own || entry.exeName.empty() || IsCompanionProcess(entry.exeName)) continue;
    const std::optional<std::u16string> path = processes.ImagePathOf(entry.id);
    if (path && !LiesIn(*path, windowsFolder)) names.push_back(entry.exeName);
  }
  std::stable_sort(names.begin(), names.end(), PrecedesIgnoringAsciiCase);  // of two alike, the first seen stays
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::u16string& a, const std::u16string& b) { return NamesMatchIgnoringAsciiCase(a, b); }),
              names.end());
  return names;
}

}  // namespace optimizer
