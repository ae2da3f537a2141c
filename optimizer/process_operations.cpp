#include "optimizer/process_operations.h"

#include "optimizer/process_names.h"
#include "optimizer/pumped_waits.h"
#include "platform/text.h"

namespace optimizer {

namespace {
constexpr std::int64_t kPauseBetweenProcessesMs = 10;
}

bool ProcessExists(platform::Processes& processes, std::string_view name) {
  std::vector<platform::ProcessEntry> entries;
  if (!processes.Snapshot(platform::kSnapAll, entries)) return false;
  for (const auto& entry : entries)
    if (NamesMatchIgnoringAsciiCase(entry.exeName, name)) return true;
  return false;
}

int FindProcessIds(platform::Processes& processes, std::string_view name, std::vector<std::uint32_t>& ids) {
  const std::u16string wanted = platform::ToUtf16(name);
  ids.clear();
  std::vector<platform::WideProcessEntry> entries;
  if (!processes.SnapshotWide(platform::kSnapAll, entries)) return -1;
  for (const auto& entry : entries)
    if (NamesMatchIgnoringAsciiCase(entry.exeName, wanted)) ids.push_back(entry.id);
  return static_cast<int>(ids.size());
}

bool TrimWorkingSet(platform::Processes& processes, std::uint32_t id) {
  const platform::ProcessHandle process = processes.Open(kTuningAccess, id);
  if (!process) return false;
  const bool trimmed = processes.EmptyWorkingSet(process);
  processes.Close(process);
  return trimmed;
}

void TrimAllWorkingSets(platform::Processes& processes) {
  std::vector<platform::ProcessEntry> entries;
  processes.Snapshot(platform::kSnapAll, entries);
  for (const auto& entry : entries) TrimWorkingSet(processes, entry.id);
}

void TrimNamedProcesses(platform::Processes& processes, std::string_view name) {
  std::vector<platform::ProcessEntry> entries;
  processes.Snapshot(platform::kSnapProcess, entries);
  std::vector<std::uint32_t> ids;
  for (const auto& entry : entries)
    if (NamesMatchExactly(entry.exeName, name)) ids.push_back(entry.id);
  for (std::uint32_t id : ids) TrimWorkingSet(processes, id);
}

void RestrictAffinity(platform::Processes& processes, std::uint32_t id) {
  const platform::ProcessHandle process = processes.Open(kTuningAccess, id);
  if (!process) return;
  processes.SetAffinityMask(process, CompanionAffinityMask);
  processes.Close(process);
}

void PinNamedProcesses(ui::Context& context, std::string_view name, int passes, std::int64_t pauseMs) {
  context.windows.SetVisible(ui::WindowId::Panel, true);
  std::vector<std::uint32_t> ids;
  for (int pass = 0; pass < passes; ++pass) {
    FindProcessIds(context.os.processes, name, ids);
    for (std::uint32_t id : ids) {
      RestrictAffinity(context.os.processes, id);
      TimerWait(context.os.loop, kPauseBetweenProcessesMs);
    }
    if (pauseMs > 0) TimerWait(context.os.loop, pauseMs);
  }
}

bool RaisePriority(platform::Processes& processes, std::uint32_t id) {
  const platform::ProcessHandle process = processes.Open(kSetInformationAccess, id);
  if (!process) return false;
  const bool raised = processes.SetPriorityClass(process, kHighPriorityClass);
  processes.Close(process);
  return raised;
}

}  // namespace optimizer
