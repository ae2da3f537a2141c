#pragma once
// Virtual time and the thread's message queue for the fake platform. Time moves only while
// the program waits (in the message loop, a pumped wait, a timer wait or a message box), and
// then jumps to the next thing that happens, so a test of minutes runs in milliseconds.
// Handlers dispatched inside a wait run nested in it, as on Windows.
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "platform/message_loop.h"

namespace fake {

// Thrown when virtual time reaches the end of the run a test asked for.
struct SimulationEnd {};

inline constexpr std::uint64_t kForever = std::numeric_limits<std::uint64_t>::max();

class Scheduler final : public platform::MessageLoop {
 public:
  std::uint64_t Now() const { return now_; }
  // The tick counter's value at virtual time 0, so that a test can place its wrap.
  void SetTickBase(std::uint32_t base) { tickBase_ = base; }
  // The run ends (SimulationEnd) when nothing happens before this time.
  void SetStopTime(std::uint64_t time) { stopTime_ = time; }

  // A test's action at a virtual time: it runs when time reaches it, inside whatever the
  // program is doing then (it may post messages or change the scene).
  void At(std::uint64_t time, std::function<void()> action);

  // A message posted to the queue now; `deliver` runs when the program dispatches it.
  void Post(std::function<void()> deliver);
  // A window timer (SetTimer): its first tick is intervalMs from now; a tick is generated only
  // when the queue holds nothing else, and ticks due while the thread is busy are merged.
  void StartWindowTimer(int key, std::uint32_t intervalMs, std::function<void()> deliver);
  void StopWindowTimer(int key);
  bool WindowTimerRunning(int key) const { return windowTimers_.count(key) != 0; }

  bool failOneShotTimers = false;   // CreateWaitableTimer or SetWaitableTimer fails
  int OpenOneShotTimers() const { return static_cast<int>(oneShotTimers_.size()); }
  std::uint64_t messagesDispatched = 0;

  // platform::MessageLoop
  std::uint32_t TickCount() override;
  platform::QueueHead PeekHead() override;
  void DispatchHead() override;
  void WaitForInput(std::uint32_t timeoutMs) override;
  platform::TimerHandle StartOneShotTimer(std::int64_t dueTime) override;
  platform::WaitOutcome WaitForTimerOrInput(platform::TimerHandle timer, std::uint32_t wakeMask) override;
  void CloseTimer(platform::TimerHandle timer) override;
  void RunUntilQuit() override;
  void PostQuit() override { quit_ = true; }

 private:
  struct WindowTimer {
    std::uint32_t interval;
    std::uint64_t due;
    std::uint64_t order;  // ties between timers due at once go to the one started first
    std::function<void()> deliver;
  };
  enum class Woke { Deadline, Message };

  // Lets time pass until `deadline`, or until something can be dispatched.
  Woke WaitUntil(std::uint64_t deadline);
  void RunDueActions();
  WindowTimer* DueWindowTimer();

  std::uint64_t now_ = 0;
  std::uint32_t tickBase_ = 0;
  std::uint64_t stopTime_ = kForever;
  std::uint64_t sequence_ = 0;
  bool quit_ = false;
  std::multimap<std::uint64_t, std::function<void()>> actions_;
  std::deque<std::function<void()>> posted_;
  std::map<int, WindowTimer> windowTimers_;
  std::map<platform::TimerHandle, std::uint64_t> oneShotTimers_;
  platform::TimerHandle nextOneShot_ = 1;
};

}  // namespace fake
