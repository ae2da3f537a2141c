#include "optimizer/freed_memory.h"

#include <vector>

#include "monitor/companion.h"
#include "optimizer/process_names.h"

namespace optimizer {

namespace {

// PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ: enough to read a working set.
constexpr std::uint32_t kQueryAccess = 0x1010;

bool IsCompanionProcess(std::string_view exeName) {
  for (std::string_view name : monitor::kCompanionProcesses)
    if (NamesMatchIgnoringAsciiCase(exeName, name)) return true;
  return false;
}

}  // namespace

std::uint64_t CompanionWorkingSetBytes(platform::Processes& processes) {
  std::vector<platform::ProcessEntry> entries;
  processes.Snapshot(platform::kSnapProcess, entries);
  std::uint64_t total = 0;
  for (const auto& entry : entries) {
    if (!IsCompanionProcess(entry.exeName)) continue;
    const platform::ProcessHandle process = processes.Open(kQueryAccess, entry.id);
    if (!process) continue;
    total += processes.WorkingSetBytes(process);
    processes.Close(process);
  }
  return total;
}

std::string FreedMemoryText(std::uint64_t before, std::uint64_t after) {
  const std::uint64_t freed = before > after ? before - after : 0;
  return "本次为伴侣释放内存 " + std::to_string((freed + (1u << 19)) >> 20) + " MB";
}

void ShowFreedMemory(ui::Context& context, std::uint64_t before, std::uint64_t after) {
  context.windows.SetText(ui::panel::透明标签2, FreedMemoryText(before, after));
}

}  // namespace optimizer
