#pragma once
// The process itself on the fake platform. Named events outlive a run, so a second run of the
// program in the same world meets the first one's event.
#include <set>
#include <string>

#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"
#include "platform/session.h"

namespace fake {

// Thrown when the program ends its process; carries the exit code.
struct ProcessEnded {
  int code;
};

class FakeSession final : public platform::Session {
 public:
  FakeSession(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  std::set<std::string> namedEvents;
  // Events that exist but that this process may not open, as one made by an instance running
  // as administrator is to an instance that is not.
  std::set<std::string> deniedEvents;
  bool elevated = true;
  int cleanupRuns = 0;

  platform::NamedEvent OpenNamedEvent(std::string_view name) override;
  void CreateNamedEvent(std::string_view name) override;
  bool IsElevated() override { return elevated; }
  void RegisterExitCleanup(void (*cleanup)()) override;
  [[noreturn]] void EndProcess(int code) override;
  // Runs the registered cleanup if it has not run yet: once the process has ended, or when
  // the test stops the run.
  void RunCleanupOnce();

 private:
  Scheduler& scheduler_;
  Journal& journal_;
  void (*cleanup_)() = nullptr;
};

}  // namespace fake
