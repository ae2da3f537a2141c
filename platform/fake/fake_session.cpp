#include "platform/fake/fake_session.h"

namespace fake {

platform::NamedEvent FakeSession::OpenNamedEvent(std::string_view name) {
  journal_.Add(scheduler_.Now(), "OpenEvent " + std::string(name));
  if (deniedEvents.count(std::string(name))) return platform::NamedEvent::AccessDenied;
  return namedEvents.count(std::string(name)) ? platform::NamedEvent::Opened : platform::NamedEvent::Absent;
}

void FakeSession::CreateNamedEvent(std::string_view name) {
  journal_.Add(scheduler_.Now(), "CreateEvent " + std::string(name));
  namedEvents.insert(std::string(name));
}

void FakeSession::RegisterExitCleanup(void (*cleanup)()) {
  journal_.Add(scheduler_.Now(), "RegisterExitCleanup");
  cleanup_ = cleanup;
}

void FakeSession::RunCleanupOnce() {
  if (!cleanup_) return;
  auto* cleanup = cleanup_;
  cleanup_ = nullptr;
  ++cleanupRuns;
  cleanup();
}

void FakeSession::EndProcess(int code) {
  journal_.Add(scheduler_.Now(), "EndProcess " + std::to_string(code));
  // The test's runner catches this and runs the cleanup once the handlers have unwound.
  throw ProcessEnded{code};
}

}  // namespace fake
