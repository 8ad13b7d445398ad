#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>

#include "instruments/VrThreads.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

// Handles GUI messages and thread hand-overs for a while.
void PumpFor(int ms) { WaitUntil([] { return false; }, ms); }

struct TickLog {
  std::atomic<int> count{0};
  std::atomic<bool> offMainThread{false};
  TNotifyEvent Handler() {
    return [this](TObject*) {
      if (!IsMainThread()) offMainThread = true;
      ++count;
    };
  }
};

TEST(VrTimer, CreatedInCodeDoesNothingUntilTouched) {
  for (TVrTimerType type : {ttSystem, ttThread}) {
    TVrTimer timer(nullptr);
    TickLog log;
    timer.SetTimerType(type);  // enabled by default: this write already brings it up
    timer.OnTimer = log.Handler();
    EXPECT_FALSE(timer.Running()) << "assigning OnTimer does not restart";
    timer.SetInterval(20);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(WaitUntil([&] { return log.count >= 2; })) << "type " << int(type);
  }
}

TEST(VrTimer, WindowTimerTicksOnTheGuiThread) {
  TVrTimer timer(nullptr);
  TickLog log;
  timer.SetTimerType(ttSystem);
  timer.OnTimer = log.Handler();
  timer.SetInterval(20);
  ASSERT_NE(timer.WindowHandle(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return log.count >= 3; }));
  EXPECT_FALSE(log.offMainThread);
}

TEST(VrTimer, DisablingOnlyIgnoresTicksAndReenablingRestarts) {
  TVrTimer timer(nullptr);
  TickLog log;
  timer.SetTimerType(ttSystem);
  timer.OnTimer = log.Handler();
  timer.SetInterval(20);
  ASSERT_TRUE(WaitUntil([&] { return log.count >= 1; }));

  timer.SetEnabled(false);
  EXPECT_TRUE(timer.Running()) << "the window timer keeps running";
  int before = log.count;
  PumpFor(150);
  EXPECT_EQ(log.count, before);

  // Writing the interval while disabled changes nothing yet.
  timer.SetInterval(30);
  PumpFor(100);
  EXPECT_EQ(log.count, before);

  timer.SetEnabled(true);
  EXPECT_TRUE(WaitUntil([&] { return log.count >= before + 2; }));
}

TEST(VrTimer, ZeroIntervalOrNoHandlerStopsForReal) {
  TVrTimer timer(nullptr);
  TickLog log;
  timer.SetTimerType(ttSystem);
  timer.OnTimer = log.Handler();
  timer.SetInterval(20);
  ASSERT_TRUE(timer.Running());
  timer.SetInterval(0);
  EXPECT_TRUE(timer.Allocated());
  EXPECT_FALSE(timer.Running());
  int before = log.count;
  PumpFor(100);
  EXPECT_EQ(log.count, before);
}

TEST(VrTimer, ThreadTimerSynchronisesOrTicksOnTheWorker) {
  for (bool sync : {true, false}) {
    TVrTimer timer(nullptr);
    TickLog log;
    timer.SetSyncEvent(sync);
    timer.OnTimer = log.Handler();
    timer.SetInterval(15);
    EXPECT_TRUE(WaitUntil([&] { return log.count >= 3; }));
    EXPECT_EQ(log.offMainThread.load(), !sync);
  }
}

TEST(VrTimer, ThreadTimerDisabledKeepsRunningButIgnoresTicks) {
  TVrTimer timer(nullptr);
  TickLog log;
  timer.OnTimer = log.Handler();
  timer.SetInterval(15);
  ASSERT_TRUE(WaitUntil([&] { return log.count >= 1; }));
  timer.SetEnabled(false);
  EXPECT_TRUE(timer.Running());
  PumpFor(30);  // a tick already handed over may still land
  int before = log.count;
  PumpFor(100);
  EXPECT_EQ(log.count, before);
}

TEST(VrTimer, ThreadTimerKeepsItsPeriodAcrossPropertyWrites) {
  // Writes that leave it running, more often than it ticks, do not hold its ticks back.
  for (bool priority : {true, false}) {
    TVrTimer timer(nullptr);
    TickLog log;
    timer.OnTimer = log.Handler();
    timer.SetInterval(100);
    const auto end = Clock::now() + std::chrono::seconds(1);
    for (bool flip = true; Clock::now() < end; flip = !flip) {
      PumpFor(25);
      if (priority) timer.SetPriority(flip ? tpHigher : tpNormal);
      else timer.SetInterval(flip ? 101 : 100);
    }
    EXPECT_GE(log.count, 3) << (priority ? "Priority" : "Interval");
    EXPECT_TRUE(timer.Running());
  }
}

TEST(VrTimer, ChangingTheTypeWhileEnabledSwapsWindowAndThread) {
  TVrTimer timer(nullptr);
  TickLog log;
  timer.SetTimerType(ttSystem);
  timer.OnTimer = log.Handler();
  timer.SetInterval(20);
  ASSERT_NE(timer.WindowHandle(), nullptr);
  timer.SetTimerType(ttThread);
  EXPECT_EQ(timer.WindowHandle(), nullptr);
  EXPECT_TRUE(timer.Running());
  int before = log.count;
  EXPECT_TRUE(WaitUntil([&] { return log.count >= before + 2; }));
}

TEST(VrTimer, DestroyingARunningThreadTimerEndsTheWaitAtOnce) {
  auto timer = std::make_unique<TVrTimer>(nullptr);
  timer->OnTimer = [](TObject*) {};
  timer->SetInterval(60000);
  ASSERT_TRUE(timer->Running());
  auto start = Clock::now();
  timer.reset();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST(VrTimer, HandlerExceptionsAreReportedAndTheTimerGoesOn) {
  for (TVrTimerType type : {ttSystem, ttThread}) {
    TVrTimer timer(nullptr);
    std::atomic<int> calls{0};
    int reported = 0;
    Application->OnException = [&](TObject*, Exception& e) {
      EXPECT_EQ(e.Message(), u"tick failed");
      ++reported;
    };
    timer.SetTimerType(type);
    timer.OnTimer = [&](TObject*) {
      ++calls;
      throw Exception(u"tick failed");
    };
    timer.SetInterval(15);
    EXPECT_TRUE(WaitUntil([&] { return reported >= 2 && calls >= 2; }));
    timer.SetInterval(0);
    PumpFor(50);
    Application->OnException = nullptr;
  }
}

TEST(VrTimer, AHandlerMayReleaseItsOwnThread) {
  TVrTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) timer.SetTimerType(ttSystem);  // frees the thread whose tick this is
  };
  timer.SetInterval(15);
  ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
  EXPECT_NE(timer.WindowHandle(), nullptr);
}

}  // namespace
