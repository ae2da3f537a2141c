// The Windows side of scripts/measure-cost, run under wine64:
//   cost_driver scene SECONDS EVERY MOVES  the program in its steady state beside the stand-in
//                                          companion (tests/wine/optimizing_scene.h): its counts
//                                          every EVERY seconds for SECONDS seconds, then MOVES
//                                          moves of the companion's window and how long the
//                                          panel takes to follow each
//   cost_driver watch EXE SECONDS EVERY    the same counts of a running program (the floor)
//   cost_driver calls TIMES                in that scene, the time each platform call of the
//                                          ticks takes here, from another process, as the
//                                          mean over TIMES calls
// Lines are a word and "key=value" fields for the script; "failed WHY" when the scene cannot
// be set up.
// Before windows.h, whose CreateWindow macro would rename the backend's member.
#include "monitor/companion.h"
#include "monitor/live_status.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/wine/optimizing_scene.h"

namespace {

using namespace harness;

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void PrintCounts(DWORD processId, int second) {
  const auto counts = CountsOf(processId);
  if (!counts) return Print("gone t=" + std::to_string(second));
  char line[256];
  std::snprintf(line, sizeof line, "counts t=%d cpu_ms=%.0f ws=%llu private=%llu handles=%lu gdi=%lu user=%lu", second,
                counts->cpuMs, static_cast<unsigned long long>(counts->workingSet),
                static_cast<unsigned long long>(counts->privateBytes), counts->handles, counts->gdiObjects,
                counts->userObjects);
  Print(line);
}

// Sleeps between samples, so that the driver itself costs next to nothing meanwhile.
void Watch(DWORD processId, int seconds, int every) {
  Print("ready pid=" + std::to_string(processId));
  for (int second = 0; second <= seconds; second += every) {
    PrintCounts(processId, second);
    if (second + every <= seconds) Sleep(static_cast<DWORD>(every) * 1000);
  }
}

double Milliseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The share-th quantile of sorted values (nearest rank).
double Quantile(const std::vector<double>& sorted, double share) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(share * static_cast<double>(sorted.size()) + 0.999999);
  return sorted[std::min(std::max<std::size_t>(rank, 1), sorted.size()) - 1];
}

// Each move lands at a random phase of the docking timer; from just before the move the panel
// is polled about every millisecond until its top-left corner lies at the companion window's
// bottom-left corner.
void MeasureLatency(HWND panel, int moves) {
  timeBeginPeriod(1);
  std::mt19937 random(7);
  std::vector<double> latencies, polls;
  int missed = 0;
  for (int i = 0; i < moves; ++i) {
    const int left = 50 + (i * 137) % 900, top = 50 + (i * 71) % 300;
    const double start = Milliseconds();
    SendCompanionCommand("move " + std::to_string(left) + " " + std::to_string(top) + " " +
                         std::to_string(left + 800) + " " + std::to_string(top + 600));
    bool followed = false;
    for (double last = start; !followed && last - start < 1000;) {
      const RECT rect = WindowRectOf(panel);
      followed = rect.left == left && rect.top == top + 600;
      const double now = Milliseconds();
      if (!followed) Sleep(1);
      polls.push_back(now - last);
      last = now;
      if (followed) latencies.push_back(now - start);
    }
    if (!followed) ++missed;
    Sleep(std::uniform_int_distribution<DWORD>(5, 25)(random));
  }
  timeEndPeriod(1);
  std::sort(latencies.begin(), latencies.end());
  std::sort(polls.begin(), polls.end());
  char line[200];
  std::snprintf(line, sizeof line, "latency moves=%d missed=%d p50_ms=%.1f p99_ms=%.1f max_ms=%.1f poll_ms=%.1f", moves,
                missed, Quantile(latencies, 0.5), Quantile(latencies, 0.99), latencies.empty() ? 0.0 : latencies.back(),
                Quantile(polls, 0.5));
  Print(line);
}

// The mean time of one call of `call` over `times` calls, in microseconds.
template <typename Call>
void TimeCall(const char* name, int times, Call call) {
  const double start = Milliseconds();
  for (int i = 0; i < times; ++i) call();
  char line[200];
  std::snprintf(line, sizeof line, "call name=%s us=%.1f", name, (Milliseconds() - start) * 1000.0 / times);
  Print(line);
}

// What each tick asks of the platform, call by call: the docking tick (every 10 ms) finds the
// companion window and reads its rectangle and style; the foreground tick (every 100 ms)
// names the foreground window's process, class and title; the live-status tick (every
// second) lists the processes and reads and parses the room-state file.
void TimeTickCalls(int times) {
  platform::Platform& os = platform::win32::RealPlatform();
  const auto companion = os.desktop.FindTopLevelWindow(monitor::kCompanionWindowClass, monitor::kCompanionWindowTitle);
  const auto front = os.desktop.ForegroundWindow();
  const std::uint32_t frontId = os.desktop.WindowProcessId(front);
  const std::u16string roomState = monitor::RoomStatePath(os.files.AppDataFolder());
  std::vector<platform::ProcessEntry> entries;
  TimeCall("FindTopLevelWindow", times, [&] {
    os.desktop.FindTopLevelWindow(monitor::kCompanionWindowClass, monitor::kCompanionWindowTitle);
  });
  TimeCall("WindowRect", times, [&] { os.desktop.WindowRect(companion); });
  TimeCall("TopLevelStates", times, [&] { os.desktop.TopLevelStates(companion); });
  TimeCall("ForegroundWindow", times, [&] { os.desktop.ForegroundWindow(); });
  TimeCall("WindowProcessId", times, [&] { os.desktop.WindowProcessId(front); });
  TimeCall("ExeNameOf", times, [&] { os.processes.ExeNameOf(frontId); });
  TimeCall("WindowClassName", times, [&] { os.desktop.WindowClassName(front); });
  TimeCall("WindowTitle", times, [&] { os.desktop.WindowTitle(front); });
  TimeCall("Snapshot", times, [&] { os.processes.Snapshot(platform::kSnapProcess, entries); });
  TimeCall("ReadWholeFile", times, [&] { os.files.ReadWholeFile(roomState, monitor::kMaxRoomStateBytes); });
  TimeCall("ReadRoomState", times, [&] {
    monitor::ReadRoomState(os.files.ReadWholeFile(roomState, monitor::kMaxRoomStateBytes));
  });
}

int Usage() {
  Print("usage: cost_driver scene SECONDS EVERY MOVES | watch EXE SECONDS EVERY | calls TIMES");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  const auto number = [&](std::size_t i) { return std::max(0, _wtoi(args[i].c_str())); };
  const std::wstring mode = args.empty() ? L"" : args[0];
  if (mode == L"watch" && args.size() == 4) {
    DWORD id = 0;
    WaitFor([&] { return (id = ProcessIdByName(args[1])) != 0; }, 60000);
    if (!id) return Print("failed no process " + std::string(args[1].begin(), args[1].end())), 1;
    Watch(id, number(2), std::max(1, number(3)));
    return 0;
  }
  if (mode == L"scene" && args.size() == 4) {
    std::string failure;
    OptimizingScene scene = StartOptimizingScene(failure);
    if (!scene.run.panel) return Print("failed " + failure), 1;
    Watch(scene.run.program.Id(), number(1), std::max(1, number(2)));
    if (number(3) > 0) MeasureLatency(scene.run.panel, number(3));
    Print("done");
    ResetScene();
    return 0;
  }
  if (mode == L"calls" && args.size() == 2) {
    std::string failure;
    OptimizingScene scene = StartOptimizingScene(failure);
    if (!scene.run.panel) return Print("failed " + failure), 1;
    TimeTickCalls(std::max(1, number(1)));
    ResetScene();
    return 0;
  }
  return Usage();
}
