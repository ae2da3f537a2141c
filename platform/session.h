#pragma once
// The process itself: the single-instance event, rights, and its end.
#include <string_view>

namespace platform {

// What opening a named event found.
enum class NamedEvent {
  Absent,
  Opened,
  AccessDenied,  // it exists, but this process may not open it (another user's, or an elevated process's)
};

class Session {
 public:
  virtual ~Session() = default;
  // OpenEventA(EVENT_ALL_ACCESS, FALSE, name). The handle opened is left to the system.
  virtual NamedEvent OpenNamedEvent(std::string_view name) = 0;
  // CreateEventA(default security, auto-reset, not signalled, name); handle kept for life.
  virtual void CreateNamedEvent(std::string_view name) = 0;
  // Whether the process runs with administrator rights (an elevated token).
  virtual bool IsElevated() = 0;
  // Runs `cleanup` exactly once whichever way the process ends.
  virtual void RegisterExitCleanup(void (*cleanup)()) = 0;
  // Runs the registered cleanup (if it has not run) and ends the process with `code`.
  [[noreturn]] virtual void EndProcess(int code) = 0;
};

}  // namespace platform
