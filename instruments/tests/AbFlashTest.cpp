// The flash timer: codes, second ticks, periods, the real thread and its shutdown.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "instruments/AbFlashT.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Controls.h"
#include "testing/TestSupport.h"

namespace {

struct Tick {
  WPARAM counter;
  LPARAM lparam;
};

// A control that records its flash ticks.
class TTickClient : public TGraphicControl {
public:
  TTickClient() : TGraphicControl(nullptr) {}
  ~TTickClient() override { UnregisterFlashClient(this); }
  std::vector<Tick> Ticks;
  std::function<void()> OnTick;
  bool OnMainThread = true;
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_FLASHTICK) {
      Ticks.push_back({M.WParam, M.LParam});
      OnMainThread = OnMainThread && IsMainThread();
      if (OnTick) OnTick();
      return;
    }
    TGraphicControl::WndProc(M);
  }
};

// Waits without running anything on the GUI thread's behalf.
template <typename Pred>
bool WaitWithoutPumping(Pred pred, int ms = 10000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class TProbeFlash : public TAbFlash {
public:
  using TAbFlash::TAbFlash;
  TTimerThread* Thread() const { return FTimerThread; }
};

}  // namespace

TEST(FlashTimer, FlashCodeClientsGetStateChangesOnlyAndStayInPhase) {
  TTickClient a, b;
  SetFlashTickCounter(0);
  RegisterFlashClient(&a, 5);  // ff1Hz
  uint64_t now = GetTickCount64();
  for (int i = 0; i < 40; ++i) FlashTickAt(now);
  RegisterFlashClient(&b, 5);
  for (int i = 0; i < 100; ++i) FlashTickAt(now);
  // a: on at 32, off at 64, on at 96, off at 128; b joins at 40 and sees bit 5 on first.
  ASSERT_EQ(a.Ticks.size(), 4u);
  EXPECT_EQ(a.Ticks[0].counter, 32u);
  EXPECT_EQ(a.Ticks[0].lparam, 1);
  EXPECT_EQ(a.Ticks[1].counter, 64u);
  EXPECT_EQ(a.Ticks[1].lparam, 0);
  ASSERT_EQ(b.Ticks.size(), 4u);
  EXPECT_EQ(b.Ticks[0].counter, 41u);  // its first tick: state on (bit 5 of 41)
  EXPECT_EQ(b.Ticks[1].counter, 64u);  // then switching together with a
  EXPECT_EQ(b.Ticks[2].counter, 96u);
}

TEST(FlashTimer, RegisteringTwiceUpdatesTheRecord) {
  TTickClient a;
  RegisterFlashClient(&a, 100);
  RegisterFlashClient(&a, 250);
  EXPECT_EQ(FlashClientCount(), 1);
  EXPECT_EQ(FlashClient(&a)->Interval, 250);
  EXPECT_NEAR(static_cast<double>(FlashClient(&a)->Due), static_cast<double>(GetTickCount64() + 250), 50);
  RegisterFlashClient(nullptr, 100);
  EXPECT_EQ(FlashClientCount(), 1);
}

TEST(FlashTimer, PeriodClientsKeepTheirPhaseAndDropLargeLateness) {
  TTickClient a;
  RegisterFlashClient(&a, 100);
  int64_t due = FlashClient(&a)->Due;
  FlashTickAt(due - 1);
  EXPECT_TRUE(a.Ticks.empty());
  FlashTickAt(due + 20);
  ASSERT_EQ(a.Ticks.size(), 1u);
  EXPECT_EQ(a.Ticks[0].lparam, 20);
  EXPECT_EQ(FlashClient(&a)->Due, due + 100);  // 80 ms after this tick
  int64_t late = FlashClient(&a)->Due + 1500;
  FlashTickAt(late);
  ASSERT_EQ(a.Ticks.size(), 2u);
  EXPECT_EQ(a.Ticks[1].lparam, 0);
  EXPECT_EQ(FlashClient(&a)->Due, late + 100);
}

TEST(FlashTimer, SecondTicksCatchUpOnePerTickAfterAStall) {
  TTickClient a;
  uint64_t before = GetTickCount64();
  RegisterFlashClient(&a, FlashSecondCode);
  uint64_t now = GetTickCount64() + 6000;  // the mark is at most 1 s ahead of registration
  for (int i = 0; i < 10; ++i) FlashTickAt(now);
  EXPECT_GE(a.Ticks.size(), 5u);
  EXPECT_LE(a.Ticks.size(), 7u + (now - 6000 - before) / 1000);  // a stall while registering
  size_t caught = a.Ticks.size();
  for (int i = 0; i < 10; ++i) FlashTickAt(now + 10);
  EXPECT_EQ(a.Ticks.size(), caught);
  FlashTickAt(now + 1000);
  EXPECT_EQ(a.Ticks.size(), caught + 1);
  for (const Tick& t : a.Ticks) EXPECT_EQ(t.lparam, 0);
}

TEST(FlashTimer, HandlersMayUnregisterClientsAndFailAlone) {
  TTickClient a, b, c;
  a.OnTick = [&] { UnregisterFlashClient(&b); };
  c.OnTick = [] { throw Exception(u"client failure"); };
  TTickClient d;
  RegisterFlashClient(&a, 100);
  RegisterFlashClient(&b, 100);
  RegisterFlashClient(&c, 100);
  RegisterFlashClient(&d, 100);
  FlashTickAt(GetTickCount64() + 200);
  EXPECT_EQ(a.Ticks.size(), 1u);
  EXPECT_TRUE(b.Ticks.empty());  // removed before its turn, never visited
  EXPECT_EQ(FlashClientCount(), 3);
  // c threw; the walk went on (d sits at c's old index after the removal, so it may
  // come on the next tick, but the engine survived the exception).
  FlashTickAt(GetTickCount64() + 600);
  EXPECT_FALSE(d.Ticks.empty());
}

TEST(FlashTimer, TicksArriveOnTheGuiThreadAndTheThreadStopsWithTheLastClient) {
  {
    TTickClient a;
    RegisterFlashClient(&a, 2);  // ff8Hz: a change every 4 ticks
    ASSERT_NE(FlashTimer(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return a.Ticks.size() >= 3; }));
    EXPECT_TRUE(a.OnMainThread);
    // a's destructor unregisters it, the last client.
  }
  EXPECT_EQ(FlashTimer(), nullptr);
  EXPECT_TRUE(WaitUntil([] { return TTimerThread::LiveCount() == 0; }));
}

TEST(FlashTimer, ASecondClientAloneWakesTheGuiThreadAboutOncePerSecond) {
  TTickClient a;
  uint32_t counter0 = FlashTickCounter();
  auto t0 = std::chrono::steady_clock::now();
  RegisterFlashClient(&a, FlashSecondCode);
  uint64_t handed0 = FlashHandOvers();
  ASSERT_TRUE(WaitUntil([&] { return a.Ticks.size() >= 3; }, 20000));
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  // Every hand-over brought a second tick (a 16 ms thread would have made ~190).
  EXPECT_LE(FlashHandOvers() - handed0, a.Ticks.size() + 2);
  // The counter still counts the intervals slept (about 62 a second), never more than
  // the time allows.
  uint32_t counted = FlashTickCounter() - counter0;
  EXPECT_GE(counted, 60u);
  EXPECT_LE(counted, static_cast<uint32_t>(ms / 16 + 1));
}

TEST(FlashTimer, ASleepingThreadKeepsFlashPhasesPeriodsAndClientOrder) {
  TTickClient second, fast, slow, period;
  TTickClient* clients[] = {&second, &fast, &slow, &period};
  std::vector<std::pair<WPARAM, int>> served;  // (tick counter, registration rank)
  for (int i = 0; i < 4; ++i)
    clients[i]->OnTick = [&served, c = clients[i], i] { served.emplace_back(c->Ticks.back().counter, i); };
  RegisterFlashClient(&second, FlashSecondCode);
  RegisterFlashClient(&fast, 2);  // ff8Hz
  RegisterFlashClient(&slow, 4);  // ff2Hz
  RegisterFlashClient(&period, 300);
  ASSERT_TRUE(WaitUntil([&] { return slow.Ticks.size() >= 5 && !second.Ticks.empty() && period.Ticks.size() >= 3; }));
  // After its first tick (which sets a new record in step), a flash client hears of
  // each change of its counter bit on the very tick it flips, and of nothing else.
  auto checkPhases = [](const TTickClient& c, uint32_t code) {
    for (size_t i = 1; i < c.Ticks.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(c.Ticks[i].counter % (1u << code), 0u);
      EXPECT_EQ(c.Ticks[i].lparam, static_cast<LPARAM>((c.Ticks[i].counter >> code) & 1u));
      if (i >= 2) {
        EXPECT_EQ(c.Ticks[i].counter - c.Ticks[i - 1].counter, 1u << code);
      }
    }
  };
  checkPhases(fast, 2);
  checkPhases(slow, 4);
  // A period client is served once due, its lateness reported.
  for (const Tick& t : period.Ticks) EXPECT_LE(t.lparam, 1000);
  // Clients sharing a tick are served in the order they registered.
  for (size_t i = 1; i < served.size(); ++i) {
    if (served[i].first == served[i - 1].first) {
      EXPECT_LT(served[i - 1].second, served[i].second);
    }
  }
}

TEST(FlashTimer, TheLastClientLeavingInsideItsTickIsSafe) {
  TTickClient a;
  a.OnTick = [&] { UnregisterFlashClient(&a); };
  RegisterFlashClient(&a, 16);
  EXPECT_TRUE(WaitUntil([&] { return !a.Ticks.empty(); }));
  EXPECT_EQ(FlashTimer(), nullptr);
  EXPECT_TRUE(WaitUntil([] { return TTimerThread::LiveCount() == 0; }));
  // The engine starts again for a new client.
  TTickClient b;
  RegisterFlashClient(&b, 16);
  EXPECT_TRUE(WaitUntil([&] { return !b.Ticks.empty(); }));
}

TEST(FlashTimer, AStoppedThreadEndsAlthoughItsTickNeverRan) {
  int ticks = 0;
  {
    TProbeFlash t(nullptr);
    t.SetOnTimer([&](TObject*) { ++ticks; });
    // Nobody runs the GUI thread's calls, so the thread now waits for its first tick.
    ASSERT_TRUE(WaitWithoutPumping([&] { return t.Thread()->TicksHanded() > 0; }));
  }
  EXPECT_TRUE(WaitWithoutPumping([] { return TTimerThread::LiveCount() == 0; }));
  // The tick left behind runs late and finds no timer.
  CheckSynchronize(0);
  EXPECT_EQ(ticks, 0);
}

TEST(FlashTimer, AFailingTickReachesTheGuiThreadAndTheTimerTicksOn) {
  TAbFlash t(nullptr);
  int calls = 0;
  t.SetOnTimer([&](TObject*) {
    if (++calls == 1) throw Exception(u"tick failed");
  });
  bool thrown = false;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (calls < 3 && std::chrono::steady_clock::now() < end) {
    try {
      CheckSynchronize(20);
    } catch (const Exception& e) {
      thrown = e.Message() == u"tick failed";
    }
  }
  EXPECT_TRUE(thrown);
  EXPECT_GE(calls, 3);
}
