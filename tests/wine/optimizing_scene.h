#pragma once
// The program in its steady state beside the stand-in companion: the panel docked, the
// companion's window in front, the broadcast live, the optimization started and a game
// captured. Shared by the long-run test and the cost driver (bench/wine), with what they
// read of a running process.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/wine/harness/harness.h"

namespace harness {

struct OptimizingScene {
  std::vector<Process> companion;
  ProgramOnPanel run;
  Process game;
};

// Empty `run.panel` when a step failed; `failure` then says which.
OptimizingScene StartOptimizingScene(std::string& failure);

// What the platform reports of a process now. Wine 8 gives 0 for GetProcessHandleCount and
// GetGuiResources: the handles are then counted in the system's handle list, and the windows
// (the USER objects the program makes) by enumeration.
struct ProcessCounts {
  double cpuMs = 0;                // user and kernel time
  std::uint64_t workingSet = 0;    // bytes
  std::uint64_t privateBytes = 0;  // the pagefile usage
  DWORD handles = 0;
  DWORD gdiObjects = 0;   // GetGuiResources
  DWORD userObjects = 0;  // GetGuiResources
  DWORD windows = 0;      // top-level windows and their children
};
std::optional<ProcessCounts> CountsOf(DWORD processId);
// The first running process with this executable name (ASCII case ignored), or 0.
DWORD ProcessIdByName(const std::wstring& exeName);

}  // namespace harness
