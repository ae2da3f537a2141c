// Waits that dispatch messages, on the fake queue in virtual time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "optimizer/pumped_waits.h"
#include "platform/fake/scheduler.h"

namespace {

using optimizer::PumpedDelay;
using optimizer::TimerWait;
using testing::ElementsAre;

class PumpedWaitTest : public testing::Test {
 protected:
  // A window timer whose ticks are recorded by virtual time.
  void StartTicking(std::uint32_t interval) {
    clock.StartWindowTimer(1, interval, [this] { ticks.push_back(clock.Now()); });
  }
  fake::Scheduler clock;
  std::vector<std::uint64_t> ticks;
};

TEST_F(PumpedWaitTest, ADelayOfZeroOrLessReturnsAtOnceWithoutDispatching) {
  int delivered = 0;
  clock.Post([&] { ++delivered; });
  PumpedDelay(clock, 0);
  PumpedDelay(clock, -20);
  EXPECT_EQ(delivered, 0);
  EXPECT_EQ(clock.Now(), 0u);
}

TEST_F(PumpedWaitTest, ADelayReturnsOnceMoreThanItsDurationHasPassedAlsoAcrossTheCounterWrap) {
  for (std::uint32_t tickBase : {0u, 0xFFFFFF00u}) {
    fake::Scheduler wrapping;
    wrapping.SetTickBase(tickBase);
    PumpedDelay(wrapping, 500);
    EXPECT_EQ(wrapping.Now(), 501u) << "tick counter starting at " << tickBase;
  }
}

TEST_F(PumpedWaitTest, TimerTicksRunInsideADelay) {
  StartTicking(100);
  PumpedDelay(clock, 450);
  EXPECT_THAT(ticks, ElementsAre(100, 200, 300, 400));
}

TEST_F(PumpedWaitTest, WaitsNest) {
  // A tick at 100 runs a handler that waits 500 ms itself; the outer wait goes on after it.
  std::vector<std::uint64_t> innerDone;
  clock.StartWindowTimer(2, 100, [&] {
    clock.StopWindowTimer(2);
    PumpedDelay(clock, 500);
    innerDone.push_back(clock.Now());
  });
  StartTicking(250);
  PumpedDelay(clock, 300);
  EXPECT_THAT(innerDone, ElementsAre(601));
  EXPECT_EQ(clock.Now(), 601u);
  EXPECT_THAT(ticks, ElementsAre(250, 500)) << "ticks of other timers ran inside the nested wait";
}

TEST_F(PumpedWaitTest, AQuitMessageStaysQueuedThroughEitherWait) {
  for (bool timerWait : {false, true}) {
    fake::Scheduler queue;
    queue.At(100, [&] { queue.PostQuit(); });
    if (timerWait)
      TimerWait(queue, 300);
    else
      PumpedDelay(queue, 300);
    EXPECT_EQ(queue.PeekHead(), platform::QueueHead::Quit) << (timerWait ? "TimerWait" : "PumpedDelay");
    EXPECT_GE(queue.Now(), 300u);
  }
}

TEST_F(PumpedWaitTest, ATimerWaitEndsWhenItsTimerFiresUnderAStreamOfInput) {
  int moves = 0;
  for (std::uint64_t t = 1; t < 40; ++t) clock.At(t, [&] { clock.Post([&] { ++moves; }); });
  EXPECT_TRUE(TimerWait(clock, 10));
  EXPECT_EQ(clock.Now(), 10u);
  EXPECT_EQ(moves, 9) << "the input before the timer fired was dispatched";
  EXPECT_EQ(clock.OpenOneShotTimers(), 0) << "the wait's timer is closed";
}

TEST_F(PumpedWaitTest, ATimerWaitWithoutATimerStillWaitsItsDurationDispatching) {
  clock.failOneShotTimers = true;
  StartTicking(100);
  EXPECT_TRUE(TimerWait(clock, 2000));
  EXPECT_GE(clock.Now(), 2000u);
  EXPECT_LE(clock.Now(), 2001u);
  EXPECT_EQ(ticks.size(), 20u);
}

}  // namespace
