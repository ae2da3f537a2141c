// The thread's message queue, the tick counter and one-shot waitable timers.
#include <windows.h>

#include "platform/win32/win32_parts.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

PreTranslate preTranslate = nullptr;

void TranslateAndDispatch(MSG& message) {
  if (preTranslate && preTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

void SetPreTranslate(PreTranslate hook) { preTranslate = hook; }

std::uint32_t Win32MessageLoop::TickCount() { return GetTickCount(); }

QueueHead Win32MessageLoop::PeekHead() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return QueueHead::Empty;
  return message.message == WM_QUIT ? QueueHead::Quit : QueueHead::Message;
}

void Win32MessageLoop::DispatchHead() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));  // stays for the main loop
    return;
  }
  TranslateAndDispatch(message);
}

void Win32MessageLoop::WaitForInput(std::uint32_t timeoutMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

TimerHandle Win32MessageLoop::StartOneShotTimer(std::int64_t dueTime) {
  HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
  if (!timer) return 0;
  LARGE_INTEGER due{};
  due.QuadPart = dueTime;
  if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
    CloseHandle(timer);
    return 0;
  }
  return reinterpret_cast<TimerHandle>(timer);
}

WaitOutcome Win32MessageLoop::WaitForTimerOrInput(TimerHandle timer, std::uint32_t wakeMask) {
  HANDLE handle = reinterpret_cast<HANDLE>(timer);
  switch (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, wakeMask)) {
    case WAIT_OBJECT_0: return WaitOutcome::Timer;
    case WAIT_OBJECT_0 + 1: return WaitOutcome::Input;
    default: return WaitOutcome::Failed;
  }
}

void Win32MessageLoop::CloseTimer(TimerHandle timer) { CloseHandle(reinterpret_cast<HANDLE>(timer)); }

void Win32MessageLoop::RunUntilQuit() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) TranslateAndDispatch(message);
}

void Win32MessageLoop::PostQuit() { PostQuitMessage(0); }

}  // namespace platform::win32
