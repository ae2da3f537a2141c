#pragma once
// The whole fake platform in one object: a scene a test sets up (processes, windows, files,
// a clock), the program's windows, and a journal of what the program did and when.
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_loader_host.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_session.h"
#include "platform/fake/fake_windows.h"
#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"
#include "platform/platform.h"

namespace fake {

class World {
 public:
  World() = default;
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  Journal journal;
  Scheduler clock;
  FakeProcesses processes{clock, journal};
  FakeDesktop desktop{clock, journal};
  FakeFiles files{clock, journal};
  FakeDialogs dialogs{clock, journal};
  FakeSession session{clock, journal};
  FakeWindows windows{clock, journal};
  platform::FakeLoaderHost loader;

  platform::Platform Os() { return {processes, desktop, files, dialogs, clock, session, loader}; }
  std::uint64_t Now() const { return clock.Now(); }
  void At(std::uint64_t time, std::function<void()> action) { clock.At(time, std::move(action)); }
};

}  // namespace fake
