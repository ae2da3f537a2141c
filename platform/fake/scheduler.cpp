#include "platform/fake/scheduler.h"

#include <algorithm>

namespace fake {

void Scheduler::At(std::uint64_t time, std::function<void()> action) {
  actions_.emplace(std::max(time, now_), std::move(action));
}

void Scheduler::Post(std::function<void()> deliver) { posted_.push_back(std::move(deliver)); }

void Scheduler::StartWindowTimer(int key, std::uint32_t intervalMs, std::function<void()> deliver) {
  windowTimers_[key] = WindowTimer{intervalMs, now_ + intervalMs, sequence_++, std::move(deliver)};
}

void Scheduler::StopWindowTimer(int key) { windowTimers_.erase(key); }

std::uint32_t Scheduler::TickCount() { return static_cast<std::uint32_t>(tickBase_ + now_); }

Scheduler::WindowTimer* Scheduler::DueWindowTimer() {
  WindowTimer* due = nullptr;
  for (auto& [key, timer] : windowTimers_)
    if (timer.due <= now_ && (!due || timer.due < due->due || (timer.due == due->due && timer.order < due->order)))
      due = &timer;
  return due;
}

platform::QueueHead Scheduler::PeekHead() {
  if (!posted_.empty()) return platform::QueueHead::Message;
  if (quit_) return platform::QueueHead::Quit;
  return DueWindowTimer() ? platform::QueueHead::Message : platform::QueueHead::Empty;
}

void Scheduler::DispatchHead() {
  std::function<void()> deliver;
  if (!posted_.empty()) {
    deliver = std::move(posted_.front());
    posted_.pop_front();
  } else if (quit_) {
    return;
  } else if (WindowTimer* timer = DueWindowTimer()) {
    timer->due = now_ + timer->interval;
    deliver = timer->deliver;  // a copy: the tick's handler may stop or restart the timer
  } else {
    return;
  }
  ++messagesDispatched;
  deliver();
}

void Scheduler::RunDueActions() {
  while (!actions_.empty() && actions_.begin()->first <= now_) {
    auto action = std::move(actions_.begin()->second);
    actions_.erase(actions_.begin());
    action();
  }
}

Scheduler::Woke Scheduler::WaitUntil(std::uint64_t deadline) {
  const bool quitBefore = quit_;  // a quit request already seen wakes no wait
  for (;;) {
    RunDueActions();
    if (now_ >= deadline) return Woke::Deadline;
    if (PeekHead() == platform::QueueHead::Message || (quit_ && !quitBefore)) return Woke::Message;
    std::uint64_t next = deadline;
    if (!actions_.empty()) next = std::min(next, actions_.begin()->first);
    for (const auto& [key, timer] : windowTimers_)
      if (timer.due > now_) next = std::min(next, timer.due);
    if (next > stopTime_ || next == kForever) {  // the end of the run, or nothing will ever happen
      if (stopTime_ != kForever) now_ = std::max(now_, stopTime_);
      throw SimulationEnd{};
    }
    now_ = next;
  }
}

void Scheduler::WaitForInput(std::uint32_t timeoutMs) { WaitUntil(now_ + timeoutMs); }

platform::TimerHandle Scheduler::StartOneShotTimer(std::int64_t dueTime) {
  if (failOneShotTimers || dueTime > 0) return 0;
  const std::uint64_t ms = static_cast<std::uint64_t>((-dueTime + 9999) / 10000);
  const platform::TimerHandle handle = nextOneShot_++;
  oneShotTimers_[handle] = now_ + ms;
  return handle;
}

platform::WaitOutcome Scheduler::WaitForTimerOrInput(platform::TimerHandle timer, std::uint32_t) {
  const auto found = oneShotTimers_.find(timer);
  if (found == oneShotTimers_.end()) return platform::WaitOutcome::Failed;
  // A signalled handle wins over waiting input, as with MsgWaitForMultipleObjects.
  return WaitUntil(found->second) == Woke::Deadline ? platform::WaitOutcome::Timer : platform::WaitOutcome::Input;
}

void Scheduler::CloseTimer(platform::TimerHandle timer) { oneShotTimers_.erase(timer); }

void Scheduler::RunUntilQuit() {
  for (;;) {
    switch (PeekHead()) {
      case platform::QueueHead::Quit: quit_ = false; return;
      case platform::QueueHead::Message: DispatchHead(); break;
      case platform::QueueHead::Empty: WaitUntil(kForever); break;
    }
  }
}

}  // namespace fake
