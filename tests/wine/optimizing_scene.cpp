// The optimizer's texts come first: its headers name a window member that windows.h would
// turn into a macro.
#include "monitor/live_status.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "tests/wine/optimizing_scene.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>

namespace harness {

namespace {

constexpr char kGame[] = "standin-game.exe";

// Takes the scene step by step; the step that failed, or null.
const char* Prepare(OptimizingScene& scene) {
  scene.companion = StartCompanion();
  // A prefix's first programs start slowly on a loaded machine.
  if (!WaitFor([] { return FindCompanionWindow() != nullptr; }, 30000)) return "the stand-in companion has no window";
  scene.run = StartToPanel(kGame);
  const HWND panel = scene.run.panel;
  if (!panel) return "the panel did not appear";
  SendCompanionCommand("live");
  if (!WaitFor([&] { return StatusLine(panel) == Wide(monitor::kLiveText); }, 5000))
    return "the status line did not turn live";
  ClickWithMouse(FindControl(panel, ui::panel::图形按钮1));
  const auto logSays = [&](bool first, std::string_view line) {
    const auto log = Log(panel);
    return !log.empty() && (first ? log.front() : log.back()) == Wide(line);
  };
  if (!WaitFor([&] { return logSays(true, optimizer::kStartedLogLine); }, 5000)) return "the optimization did not start";
  scene.game = StartStandIn(Wide(kGame));
  if (!WaitFor([&] { return logSays(false, optimizer::kCapturedLogLine); }, 15000)) return "the game was not captured";
  SendCompanionCommand("front");
  if (!WaitFor([&] { return (GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 3000))
    return "the panel did not float above the companion";
  return nullptr;
}

// The process's entries in the system's handle list (SystemExtendedHandleInformation).
DWORD HandlesInSystemList(DWORD processId) {
  struct Entry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace, type;
    ULONG attributes, reserved;
  };
  struct List {
    ULONG_PTR count, reserved;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<char> buffer(1u << 20);
  ULONG needed = 0;
  LONG status;
  while ((status = query(0x40, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) == LONG(0xC0000004))
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
  if (status != 0) return 0;
  const auto* list = reinterpret_cast<const List*>(buffer.data());
  DWORD count = 0;
  for (ULONG_PTR i = 0; i < list->count; ++i) count += list->entries[i].processId == processId;
  return count;
}

DWORD WindowsOf(DWORD processId) {
  DWORD count = 0;
  for (HWND window : TopLevelWindowsOf(processId)) {
    ++count;
    EnumChildWindows(
        window, [](HWND, LPARAM counter) { return ++*reinterpret_cast<DWORD*>(counter), TRUE; },
        reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

}  // namespace

OptimizingScene StartOptimizingScene(std::string& failure) {
  ResetScene();
  OptimizingScene scene;
  if (const char* failed = Prepare(scene)) {
    failure = failed;
    scene.run.panel = nullptr;
  }
  return scene;
}

std::optional<ProcessCounts> CountsOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  ProcessCounts counts;
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    const auto ticks = [](const FILETIME& time) {
      return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    counts.cpuMs = (ticks(kernel) + ticks(user)) / 10000.0;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
    counts.workingSet = memory.WorkingSetSize;
    counts.privateBytes = memory.PagefileUsage;
  }
  if (!GetProcessHandleCount(process, &counts.handles) || counts.handles == 0)
    counts.handles = HandlesInSystemList(processId);
  counts.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  counts.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  counts.windows = WindowsOf(processId);
  CloseHandle(process);
  return counts;
}

DWORD ProcessIdByName(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    if (lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0) found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

}  // namespace harness
