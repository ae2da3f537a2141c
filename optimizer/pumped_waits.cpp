#include "optimizer/pumped_waits.h"

#include <algorithm>
#include <limits>

namespace optimizer {

void PumpMessages(platform::MessageLoop& loop) {
  while (loop.PeekHead() == platform::QueueHead::Message) loop.DispatchHead();
}

void PumpedDelay(platform::MessageLoop& loop, std::int32_t durationMs) {
  if (durationMs <= 0) return;
  const auto duration = static_cast<std::uint32_t>(durationMs);
  const std::uint32_t start = loop.TickCount();
  for (;;) {
    PumpMessages(loop);
    const std::uint32_t elapsed = loop.TickCount() - start;  // modulo 2^32
    if (elapsed > duration) return;
    loop.WaitForInput(duration - elapsed + 1);
  }
}

bool TimerWait(platform::MessageLoop& loop, std::int64_t durationMs) {
  const std::uint32_t start = loop.TickCount();
  const auto dueTime = static_cast<std::int64_t>(static_cast<double>(durationMs) * -10000.0);
  const platform::TimerHandle timer = loop.StartOneShotTimer(dueTime);
  platform::WaitOutcome outcome = timer ? platform::WaitOutcome::Input : platform::WaitOutcome::Failed;
  while (timer) {
    outcome = loop.WaitForTimerOrInput(timer, platform::kWakeOnInput);
    if (outcome != platform::WaitOutcome::Input) break;
    PumpMessages(loop);
  }
  if (timer) loop.CloseTimer(timer);
  if (outcome == platform::WaitOutcome::Failed) {
    const std::int64_t remaining = durationMs - static_cast<std::int64_t>(loop.TickCount() - start);
    PumpedDelay(loop, static_cast<std::int32_t>(std::clamp<std::int64_t>(remaining, 0, std::numeric_limits<std::int32_t>::max())));
  }
  return true;
}

}  // namespace optimizer
