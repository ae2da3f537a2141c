#pragma once
// Waits that keep the windows alive: every wait dispatches the thread's messages, so timer
// ticks and clicks run inside a waiting handler, and waits nest.
#include <cstdint>

#include "platform/message_loop.h"

namespace optimizer {

// Dispatches whatever messages are waiting, then returns; a quit message stays queued.
void PumpMessages(platform::MessageLoop& loop);
// Returns once more than `durationMs` have passed on the tick counter (wrap-safe),
// dispatching messages throughout. It sleeps between messages instead of spinning, so that
// the wait costs no processor time. 0 or less returns at once without dispatching.
void PumpedDelay(platform::MessageLoop& loop, std::int32_t durationMs);
// Sleeps on a one-shot waitable timer, waking for input to dispatch it. When the platform
// cannot give a timer, waits out the duration on the tick counter instead.
bool TimerWait(platform::MessageLoop& loop, std::int64_t durationMs);

}  // namespace optimizer
