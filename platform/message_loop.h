#pragma once
// The thread's message queue, the tick counter and the one-shot waitable timer.
#include <cstdint>

namespace platform {

enum class QueueHead { Empty, Quit, Message };
enum class WaitOutcome { Timer, Input, Failed };
using TimerHandle = std::uintptr_t;  // 0: none

// QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY
inline constexpr std::uint32_t kWakeOnInput = 0xFF;

class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  // GetTickCount: milliseconds, wrapping after 2^32.
  virtual std::uint32_t TickCount() = 0;
  // PeekMessage without removing: what stands at the head of the queue.
  virtual QueueHead PeekHead() = 0;
  // Takes the head message, pre-translates, translates and dispatches it.
  virtual void DispatchHead() = 0;
  // Sleeps until a message arrives or timeoutMs pass (MsgWaitForMultipleObjects on no handle).
  virtual void WaitForInput(std::uint32_t timeoutMs) = 0;
  // CreateWaitableTimerA (auto-reset, unnamed) armed once with a relative due time in
  // 100-ns units (negative); 0 when it cannot be created or armed.
  virtual TimerHandle StartOneShotTimer(std::int64_t dueTime) = 0;
  // MsgWaitForMultipleObjects(1, timer, FALSE, INFINITE, wakeMask).
  virtual WaitOutcome WaitForTimerOrInput(TimerHandle timer, std::uint32_t wakeMask) = 0;
  virtual void CloseTimer(TimerHandle timer) = 0;
  // GetMessage, pre-translate, translate, dispatch until the quit message.
  virtual void RunUntilQuit() = 0;
  virtual void PostQuit() = 0;
};

}  // namespace platform
