#pragma once
// The running processes: their list, and what may be done to one process.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct ProcessEntry {
  std::uint32_t id = 0;
  std::string exeName;  // file name only, in the system's ANSI code page
};

struct WideProcessEntry {
  std::uint32_t id = 0;
  std::u16string exeName;
};

using ProcessHandle = std::uintptr_t;  // 0: none

// Snapshot flags (CreateToolhelp32Snapshot).
inline constexpr std::uint32_t kSnapProcess = 0x02;
inline constexpr std::uint32_t kSnapAll = 0x0F;

class Processes {
 public:
  virtual ~Processes() = default;
  // The running processes as a tool-help snapshot with these flags lists them, in its order,
  // into `entries` (emptied first): processes only, whatever else the flags ask for, since
  // nothing else is read. False when no list could be had.
  virtual bool Snapshot(std::uint32_t flags, std::vector<ProcessEntry>& entries) = 0;
  virtual bool SnapshotWide(std::uint32_t flags, std::vector<WideProcessEntry>& entries) = 0;

  // The executable file name of one process (the name only, in the system's ANSI code page,
  // as its snapshot entry has it), asked of that process alone: OpenProcess with
  // PROCESS_QUERY_LIMITED_INFORMATION and QueryFullProcessImageNameW. None when the process
  // cannot be opened or asked.
  virtual std::optional<std::string> ExeNameOf(std::uint32_t id) = 0;
  // The full path of one process's executable, asked as ExeNameOf asks; none when the
  // process cannot be opened or asked.
  virtual std::optional<std::u16string> ImagePathOf(std::uint32_t id) = 0;
  // This program's own process (GetCurrentProcessId).
  virtual std::uint32_t OwnProcessId() = 0;
  // OpenProcess(access, FALSE, id); 0 when the process cannot be opened.
  virtual ProcessHandle Open(std::uint32_t access, std::uint32_t id) = 0;
  // SetProcessWorkingSetSize(handle, -1, -1): true when the platform accepted it.
  virtual bool EmptyWorkingSet(ProcessHandle process) = 0;
  virtual bool SetAffinityMask(ProcessHandle process, std::uint64_t mask) = 0;
  virtual bool SetPriorityClass(ProcessHandle process, std::uint32_t priorityClass) = 0;
  // The process's working set in bytes (GetProcessMemoryInfo); 0 when it cannot be read.
  virtual std::uint64_t WorkingSetBytes(ProcessHandle process) = 0;
  virtual void Close(ProcessHandle process) = 0;
};

}  // namespace platform
