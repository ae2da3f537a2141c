// Processes through the tool-help snapshots and the process calls of kernel32.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "platform/text.h"
#include "platform/win32/win32_parts.h"

namespace platform::win32 {

bool Win32Processes::Snapshot(std::uint32_t flags, std::vector<ProcessEntry>& entries) {
  entries.clear();
  HANDLE snapshot = CreateToolhelp32Snapshot(flags, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    entries.push_back({entry.th32ProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  return true;
}

bool Win32Processes::SnapshotWide(std::uint32_t flags, std::vector<WideProcessEntry>& entries) {
  entries.clear();
  HANDLE snapshot = CreateToolhelp32Snapshot(flags, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    entries.push_back({entry.th32ProcessID, reinterpret_cast<const char16_t*>(entry.szExeFile)});
  CloseHandle(snapshot);
  return true;
}

std::optional<std::string> Win32Processes::ExeNameOf(std::uint32_t id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return std::nullopt;
  wchar_t path[MAX_PATH * 2];
  DWORD length = MAX_PATH * 2;
  const bool named = QueryFullProcessImageNameW(process, 0, path, &length) != 0;
  CloseHandle(process);
  if (!named) return std::nullopt;
  const std::u16string_view full(reinterpret_cast<const char16_t*>(path), length);
  return Utf16ToMultiByte(kAnsiCodePage, full.substr(full.find_last_of(u'\\') + 1));
}

ProcessHandle Win32Processes::Open(std::uint32_t access, std::uint32_t id) {
  return reinterpret_cast<ProcessHandle>(OpenProcess(access, FALSE, id));
}

bool Win32Processes::EmptyWorkingSet(ProcessHandle process) {
  return SetProcessWorkingSetSize(reinterpret_cast<HANDLE>(process), static_cast<SIZE_T>(-1),
                                  static_cast<SIZE_T>(-1)) == 1;
}

bool Win32Processes::SetAffinityMask(ProcessHandle process, std::uint64_t mask) {
  return SetProcessAffinityMask(reinterpret_cast<HANDLE>(process), static_cast<DWORD_PTR>(mask)) != 0;
}

bool Win32Processes::SetPriorityClass(ProcessHandle process, std::uint32_t priorityClass) {
  return ::SetPriorityClass(reinterpret_cast<HANDLE>(process), priorityClass) != 0;
}

std::uint64_t Win32Processes::WorkingSetBytes(ProcessHandle process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(reinterpret_cast<HANDLE>(process), &counters, sizeof counters)) return 0;
  return counters.WorkingSetSize;
}

void Win32Processes::Close(ProcessHandle process) { CloseHandle(reinterpret_cast<HANDLE>(process)); }

}  // namespace platform::win32
