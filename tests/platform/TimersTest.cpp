// Periodic timers under the virtual clock: ticks become due as time is advanced, without sleeping.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Timers.h"

namespace platform {
namespace {

class TimersTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock();
    Drain();
  }
  void TearDown() override {
    for (const TimerId id : timers_) KillTimer(id);
    Drain();
  }

  TimerId Start(WindowId window, int interval) {
    timers_.push_back(SetTimer(window, interval));
    return timers_.back();
  }

  static void Drain() {
    Message m;
    while (PeekMessage(m)) {
    }
  }

  // The ticks that are due now, in the order they come.
  static std::vector<std::int32_t> DueTicks() {
    std::vector<std::int32_t> ids;
    Message m;
    while (PeekMessage(m)) {
      EXPECT_EQ(m.kind, MessageKind::Timer);
      ids.push_back(m.a);
    }
    return ids;
  }

  std::vector<TimerId> timers_;
};

using Ticks = std::vector<std::int32_t>;

TEST_F(TimersTest, ATickIsDueOnceItsIntervalHasPassed) {
  const TimerId id = Start(4, 100);
  EXPECT_EQ(DueTicks(), Ticks{});
  AdvanceClock(99);
  EXPECT_EQ(DueTicks(), Ticks{});
  AdvanceClock(1);
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.window, 4u);
  EXPECT_EQ(m.kind, MessageKind::Timer);
  EXPECT_EQ(m.a, static_cast<std::int32_t>(id));
  EXPECT_EQ(DueTicks(), Ticks{}) << "one tick per period";
  AdvanceClock(100);
  EXPECT_EQ(DueTicks(), Ticks{static_cast<std::int32_t>(id)});
}

TEST_F(TimersTest, GetMessageJumpsToTheNextDeadlineWithoutSleeping) {
  const TimerId id = Start(1, 60'000);
  const auto wallStart = std::chrono::steady_clock::now();
  const std::int64_t start = Now();
  Message m;
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Timer);
  EXPECT_EQ(m.a, static_cast<std::int32_t>(id));
  EXPECT_EQ(Now() - start, 60'000);
  EXPECT_LT(std::chrono::steady_clock::now() - wallStart, std::chrono::seconds(5));
}

// Two timers run side by side; each keeps its own period, and at a shared deadline the older
// timer comes first.
TEST_F(TimersTest, EachTimerKeepsItsInterval) {
  const std::int64_t start = Now();
  const auto a = static_cast<std::int32_t>(Start(1, 30));
  const auto b = static_cast<std::int32_t>(Start(2, 50));
  const std::vector<std::pair<std::int64_t, std::int32_t>> expected = {
      {30, a}, {50, b}, {60, a}, {90, a}, {100, b}, {120, a}, {150, a}, {150, b}, {180, a}};
  std::vector<std::pair<std::int64_t, std::int32_t>> got;
  Message m;
  while (got.size() < expected.size() && GetMessage(m)) got.emplace_back(Now() - start, m.a);
  EXPECT_EQ(got, expected);
}

TEST_F(TimersTest, AKilledTimerStops) {
  const TimerId kept = Start(1, 10);
  const TimerId killed = Start(1, 10);
  AdvanceClock(10);
  EXPECT_TRUE(KillTimer(killed));
  EXPECT_EQ(DueTicks(), Ticks{static_cast<std::int32_t>(kept)});
  AdvanceClock(1000);
  EXPECT_EQ(DueTicks(), Ticks{static_cast<std::int32_t>(kept)});
  EXPECT_FALSE(KillTimer(killed)) << "already gone";
  EXPECT_FALSE(KillTimer(0));
}

TEST_F(TimersTest, TicksMissedByAStallComeOnceAndThePeriodResumesFromThen) {
  const auto id = static_cast<std::int32_t>(Start(1, 100));
  AdvanceClock(1050);
  EXPECT_EQ(DueTicks(), Ticks{id});
  AdvanceClock(99);
  EXPECT_EQ(DueTicks(), Ticks{});
  AdvanceClock(1);
  EXPECT_EQ(DueTicks(), Ticks{id});
}

TEST_F(TimersTest, PostedMessagesComeBeforeDueTicks) {
  Start(1, 10);
  AdvanceClock(10);
  PostMessage({1, MessageKind::User, 0, 0});
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::User);
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Timer);
}

TEST_F(TimersTest, AnIntervalBelowOneMillisecondCountsAsOne) {
  const auto id = static_cast<std::int32_t>(Start(1, 0));
  EXPECT_EQ(DueTicks(), Ticks{});
  AdvanceClock(1);
  EXPECT_EQ(DueTicks(), Ticks{id});
}

// A timer with a procedure of its own is how a windowless timer object hears its ticks.
TEST_F(TimersTest, ATimersOwnProcedureTakesItsTicks) {
  static int timerCalls;
  static int windowCalls;
  timerCalls = 0;
  windowCalls = 0;
  int context = 0;
  SetWindowProcedure(
      3, [](void*, const Message&) -> std::int32_t { return ++windowCalls; }, nullptr);
  const TimerId id = SetTimer(
      3, 5,
      [](void* c, const Message& m) -> std::int32_t {
        EXPECT_EQ(m.kind, MessageKind::Timer);
        ++*static_cast<int*>(c);
        return ++timerCalls;
      },
      &context);
  timers_.push_back(id);
  Message m;
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(DispatchMessage(m), 1);
  EXPECT_EQ(context, 1);
  EXPECT_EQ(windowCalls, 0);
  KillTimer(id);
  EXPECT_EQ(DispatchMessage(m), 1) << "a tick of a killed timer falls to the window";
  EXPECT_EQ(windowCalls, 1);
  SetWindowProcedure(3, nullptr, nullptr);
}

// The real clock really waits, for the interval and not much longer.
TEST_F(TimersTest, UnderTheRealClockGetMessageWaitsForTheTick) {
  UseRealClock();
  const auto start = std::chrono::steady_clock::now();
  const auto id = static_cast<std::int32_t>(Start(0, 40));
  Message m;
  ASSERT_TRUE(GetMessage(m));
  const auto waited = std::chrono::steady_clock::now() - start;
  UseVirtualClock();
  EXPECT_EQ(m.kind, MessageKind::Timer);
  EXPECT_EQ(m.a, id);
  EXPECT_GE(waited, std::chrono::milliseconds(39));
  EXPECT_LT(waited, std::chrono::seconds(3));
}

}  // namespace
}  // namespace platform
