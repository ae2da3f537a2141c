#pragma once
// The real implementations of the platform interfaces, one class per interface.
#include "platform/platform.h"

namespace platform::win32 {

class Win32Processes final : public Processes {
 public:
  bool Snapshot(std::uint32_t flags, std::vector<ProcessEntry>& entries) override;
  bool SnapshotWide(std::uint32_t flags, std::vector<WideProcessEntry>& entries) override;
  std::optional<std::string> ExeNameOf(std::uint32_t id) override;
  std::optional<std::u16string> ImagePathOf(std::uint32_t id) override;
  std::uint32_t OwnProcessId() override;
  ProcessHandle Open(std::uint32_t access, std::uint32_t id) override;
  bool EmptyWorkingSet(ProcessHandle process) override;
  bool SetAffinityMask(ProcessHandle process, std::uint64_t mask) override;
  bool SetPriorityClass(ProcessHandle process, std::uint32_t priorityClass) override;
  std::uint64_t WorkingSetBytes(ProcessHandle process) override;
  void Close(ProcessHandle process) override;
};

class Win32Desktop final : public Desktop {
 public:
  WindowHandle ForegroundWindow() override;
  std::uint32_t WindowProcessId(WindowHandle window) override;
  std::string WindowClassName(WindowHandle window) override;
  std::u16string WindowTitle(WindowHandle window) override;
  WindowHandle FindTopLevelWindow(std::string_view className, std::string_view title) override;
  Rect WindowRect(WindowHandle window) override;
  WindowStates TopLevelStates(WindowHandle window) override;
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;
};

class Win32Files final : public Files {
 public:
  std::optional<std::uint32_t> FindFirst(const std::u16string& path) override;
  bool CreateEmptyFile(std::string_view path) override;
  std::optional<std::string> ReadWholeFile(const std::u16string& path, std::uint64_t maxBytes) override;
  std::string ReadIniString(std::string_view file, std::string_view section, std::string_view key,
                            std::uint32_t bufferSize) override;
  bool WriteIniString(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value) override;
  std::u16string AppDataFolder() override;
  std::u16string WindowsFolder() override;
};

class Win32Dialogs final : public Dialogs {
 public:
  void ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;
};

class Win32MessageLoop final : public MessageLoop {
 public:
  std::uint32_t TickCount() override;
  QueueHead PeekHead() override;
  void DispatchHead() override;
  void WaitForInput(std::uint32_t timeoutMs) override;
  TimerHandle StartOneShotTimer(std::int64_t dueTime) override;
  WaitOutcome WaitForTimerOrInput(TimerHandle timer, std::uint32_t wakeMask) override;
  void CloseTimer(TimerHandle timer) override;
  void RunUntilQuit() override;
  void PostQuit() override;
};

class Win32Session final : public Session {
 public:
  NamedEvent OpenNamedEvent(std::string_view name) override;
  void CreateNamedEvent(std::string_view name) override;
  bool IsElevated() override;
  void RegisterExitCleanup(void (*cleanup)()) override;
  [[noreturn]] void EndProcess(int code) override;
};

}  // namespace platform::win32
