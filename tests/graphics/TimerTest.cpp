// Timers in virtual time: ticks come only while enabled, at the interval, through the loop.
#include "graphics/Timer.h"
#include "platform/Clock.h"
#include "storage/Stream.h"
#include "tests/graphics/GraphicsFixture.h"

namespace qxtest {
namespace {

struct Counter : CObject {
  int ticks = 0;
  void Tick() { ++ticks; }
};

class TimerTest : public GraphicsTest {
 protected:
  // Moves time on in steps, running the loop after each, as time passes for a person.
  static void Wait(int milliseconds, int step = 10) {
    for (int t = 0; t < milliseconds; t += step) {
      platform::AdvanceClock(step);
      Pump();
    }
  }
};

TEST_F(TimerTest, TicksOnlyWhileEnabled) {
  Counter counter;
  CTimer timer;
  timer.OnTimer.Set(&counter, &Counter::Tick);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval().Value, 1000);
  Wait(5000);
  EXPECT_EQ(counter.ticks, 0);

  timer.SetInterval(250);
  timer.SetEnabled(true);
  Wait(1000);
  EXPECT_EQ(counter.ticks, 4);

  timer.SetInterval(100);  // a running timer takes the new period
  Wait(1000);
  EXPECT_EQ(counter.ticks, 14);

  timer.SetEnabled(false);
  Wait(1000);
  EXPECT_EQ(counter.ticks, 14);
  timer.SetEnabled(true);
  timer.SetEnabled(true);  // still one timer, not two
  Wait(200);
  EXPECT_EQ(counter.ticks, 16);
}

TEST_F(TimerTest, WithoutAHookOrAfterDestructionTicksHaveNoEffect) {
  auto timer = std::make_unique<CTimer>();
  timer->SetInterval(50);
  timer->SetEnabled(true);
  Wait(200);  // ticks without a hook: nothing to call
  EXPECT_TRUE(timer->Enabled());
  timer.reset();
  Wait(200);  // a destroyed timer leaves no tick behind
}

TEST_F(TimerTest, RecordKeepsIntervalHandlerNameAndState) {
  CTimer saved;
  saved.SetInterval(250);
  saved.OnTimerName = "Blink";
  CMemory stream;
  saved.SaveToStream(stream);
  stream.SetPosition(0);
  CTimer loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Interval().Value, 250);
  EXPECT_FALSE(loaded.Enabled());
  EXPECT_EQ(loaded.OnTimerName, "Blink");

  saved.SetEnabled(true);
  CMemory again;
  saved.SaveToStream(again);
  again.SetPosition(0);
  Counter counter;
  CTimer running;
  running.OnTimer.Set(&counter, &Counter::Tick);
  running.LoadFromStream(again);
  EXPECT_TRUE(running.Enabled());
  Wait(500);
  EXPECT_EQ(counter.ticks, 2);
  EXPECT_EQ(running.ClassName(), "CTimer");
}

}  // namespace
}  // namespace qxtest
