// The process: the single-instance event, its rights and its end.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/win32_parts.h"

namespace platform::win32 {

namespace {

void (*exitCleanup)() = nullptr;

void RunExitCleanupOnce() {
  auto* cleanup = exitCleanup;
  exitCleanup = nullptr;
  if (cleanup) cleanup();
}

}  // namespace

NamedEvent Win32Session::OpenNamedEvent(std::string_view name) {
  if (OpenEventA(EVENT_ALL_ACCESS, FALSE, std::string(name).c_str())) return NamedEvent::Opened;
  return GetLastError() == ERROR_ACCESS_DENIED ? NamedEvent::AccessDenied : NamedEvent::Absent;
}

void Win32Session::CreateNamedEvent(std::string_view name) { CreateEventA(nullptr, FALSE, FALSE, std::string(name).c_str()); }

bool Win32Session::IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool elevated =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
  CloseHandle(token);
  return elevated;
}

void Win32Session::RegisterExitCleanup(void (*cleanup)()) {
  exitCleanup = cleanup;
  std::atexit(RunExitCleanupOnce);  // an end through the C runtime runs it too
}

void Win32Session::EndProcess(int code) {
  RunExitCleanupOnce();
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace platform::win32
