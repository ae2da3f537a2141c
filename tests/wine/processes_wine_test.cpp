// The process list and the one-process name query give what a tool-help snapshot gives.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_parts.h"

namespace {

using Entries = std::vector<std::pair<std::uint32_t, std::u16string>>;

Entries ToolHelpSnapshot() {
  Entries entries;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    entries.emplace_back(entry.th32ProcessID, reinterpret_cast<const char16_t*>(entry.szExeFile));
  CloseHandle(snapshot);
  return entries;
}

// A process of ours under a Chinese name, held suspended until the test ends.
class SuspendedCopy {
 public:
  SuspendedCopy() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    CopyFileW(self, kPath, FALSE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    CreateProcessW(kPath, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info_);
  }
  ~SuspendedCopy() {
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    DeleteFileW(kPath);
  }
  std::uint32_t Id() const { return info_.dwProcessId; }

 private:
  static constexpr wchar_t kPath[] = L"C:\\\u76F4\u64AD\u4F34\u4FA3\u6D4B\u8BD5.exe";
  PROCESS_INFORMATION info_{};
};

TEST(ProcessList, IsWhatAToolHelpSnapshotLists) {
  const SuspendedCopy copy;
  platform::win32::Win32Processes processes;
  // Wine's own processes may come or go between two lists: a few tries.
  Entries wide, narrow, expected;
  for (int attempt = 0; attempt < 5 && (wide.empty() || wide != expected); ++attempt) {
    std::vector<platform::WideProcessEntry> wideList;
    std::vector<platform::ProcessEntry> narrowList;
    ASSERT_TRUE(processes.SnapshotWide(platform::kSnapAll, wideList));
    ASSERT_TRUE(processes.Snapshot(platform::kSnapProcess, narrowList));
    expected = ToolHelpSnapshot();
    wide.clear();
    narrow.clear();
    for (const auto& e : wideList) wide.emplace_back(e.id, e.exeName);
    for (const auto& e : narrowList) narrow.emplace_back(e.id, platform::ToUtf16(e.exeName));
  }
  EXPECT_EQ(wide, expected);
  EXPECT_EQ(narrow, expected) << "narrow names in the ANSI code page";
  EXPECT_NE(std::find(wide.begin(), wide.end(), std::make_pair(copy.Id(), std::u16string(u"直播伴侣测试.exe"))),
            wide.end());
}

TEST(ProcessList, OneProcessIsNamedAsTheListNamesIt) {
  const SuspendedCopy copy;
  platform::win32::Win32Processes processes;
  EXPECT_EQ(processes.ExeNameOf(copy.Id()), platform::FromUtf16(u"直播伴侣测试.exe"));
  EXPECT_EQ(processes.ExeNameOf(GetCurrentProcessId()), "wine_process_list_tests.exe");
  EXPECT_EQ(processes.ExeNameOf(0x7FFFFFF0), std::nullopt) << "no such process";
}

}  // namespace
