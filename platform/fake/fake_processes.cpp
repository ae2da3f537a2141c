#include "platform/fake/fake_processes.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace fake {

namespace {
// The name as a wide snapshot gives it.
std::u16string WideNameOf(const FakeProcess& process) {
  return process.wideExeName.empty() ? platform::MultiByteToUtf16(platform::kAnsiCodePage, process.exeName)
                                     : process.wideExeName;
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}
}  // namespace

std::uint32_t FakeProcesses::Start(std::string exeName) {
  return Add({.id = nextId_, .exeName = std::move(exeName)}).id;
}

FakeProcess& FakeProcesses::Add(FakeProcess process) {
  if (process.id == 0) process.id = nextId_;
  nextId_ = std::max(nextId_, process.id + 4);
  processes_.push_back(std::move(process));
  return processes_.back();
}

void FakeProcesses::End(std::uint32_t id) {
  std::erase_if(processes_, [id](const FakeProcess& p) { return p.id == id; });
}

void FakeProcesses::EndAll(std::string_view exeName) {
  std::erase_if(processes_, [exeName](const FakeProcess& p) { return p.exeName == exeName; });
}

FakeProcess* FakeProcesses::Find(std::uint32_t id) {
  const auto found = std::find_if(processes_.begin(), processes_.end(), [id](const FakeProcess& p) { return p.id == id; });
  return found == processes_.end() ? nullptr : &*found;
}

bool FakeProcesses::Snapshot(std::uint32_t flags, std::vector<platform::ProcessEntry>& entries) {
  Record("Snapshot " + Hex(flags));
  entries.clear();
  if (failSnapshots) return false;
  for (const auto& p : processes_) entries.push_back({p.id, p.exeName});
  return true;
}

bool FakeProcesses::SnapshotWide(std::uint32_t flags, std::vector<platform::WideProcessEntry>& entries) {
  Record("SnapshotWide " + Hex(flags));
  entries.clear();
  if (failSnapshots) return false;
  for (const auto& p : processes_) entries.push_back({p.id, WideNameOf(p)});
  return true;
}

std::optional<std::string> FakeProcesses::ExeNameOf(std::uint32_t id) {
  Record("ExeNameOf " + std::to_string(id));
  const FakeProcess* process = Find(id);
  if (!process || !process->openable) return std::nullopt;
  return process->exeName;
}

std::optional<std::u16string> FakeProcesses::ImagePathOf(std::uint32_t id) {
  Record("ImagePathOf " + std::to_string(id));
  const FakeProcess* process = Find(id);
  if (!process || !process->openable) return std::nullopt;
  if (!process->imagePath.empty()) return process->imagePath;
  return u"C:\\Apps\\" + WideNameOf(*process);
}

platform::ProcessHandle FakeProcesses::Open(std::uint32_t access, std::uint32_t id) {
  Record("Open " + Hex(access) + " " + std::to_string(id));
  const FakeProcess* process = Find(id);
  if (!process || !process->openable) return 0;
  const platform::ProcessHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = {id, access};
  return handle;
}

std::string FakeProcesses::IdOf(platform::ProcessHandle process) const {
  const auto found = handles_.find(process);
  return found == handles_.end() ? "?" : std::to_string(found->second.id);
}

FakeProcess* FakeProcesses::Target(platform::ProcessHandle process, std::uint32_t access) {
  const auto found = handles_.find(process);
  if (found == handles_.end() || (found->second.access & access) != access) return nullptr;
  FakeProcess* target = Find(found->second.id);
  return target && !target->refusesChanges ? target : nullptr;
}

bool FakeProcesses::EmptyWorkingSet(platform::ProcessHandle process) {
  Record("EmptyWorkingSet " + IdOf(process));
  FakeProcess* target = Target(process, 0x0100);  // PROCESS_SET_QUOTA
  if (!target) return false;
  ++target->trims;
  target->workingSetBytes = 1u << 20;
  return true;
}

bool FakeProcesses::SetAffinityMask(platform::ProcessHandle process, std::uint64_t mask) {
  Record("SetAffinityMask " + IdOf(process) + " " + Hex(mask));
  FakeProcess* target = Target(process, 0x0200);  // PROCESS_SET_INFORMATION
  if (!target || mask == 0 || (mask >> processorCount) != 0) return false;
  target->affinityMask = mask;
  return true;
}

bool FakeProcesses::SetPriorityClass(platform::ProcessHandle process, std::uint32_t priorityClass) {
  Record("SetPriorityClass " + IdOf(process) + " " + Hex(priorityClass));
  FakeProcess* target = Target(process, 0x0200);
  if (!target) return false;
  target->priorityClass = priorityClass;
  return true;
}

std::uint64_t FakeProcesses::WorkingSetBytes(platform::ProcessHandle process) {
  // GetProcessMemoryInfo needs a query right (full or limited) and PROCESS_VM_READ.
  const auto found = handles_.find(process);
  if (found == handles_.end() || (found->second.access & 0x1400) == 0 || (found->second.access & 0x10) == 0) return 0;
  const FakeProcess* target = Find(found->second.id);
  return target ? target->workingSetBytes : 0;
}

void FakeProcesses::Close(platform::ProcessHandle process) {
  Record("Close " + IdOf(process));
  handles_.erase(process);
}

}  // namespace fake
