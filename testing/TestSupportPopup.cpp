// Test support for pop-up windows and the rules around them: a fixed clock, a fixed screen
// layout, activating another window and pressing outside a pop-up.
#include "testing/TestSupport.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Monitors_p.h"

// ---- Clock

TTestClock::TTestClock(uint64_t StartMs) : FNow(StartMs) { FixTickCount(FNow); }

TTestClock::~TTestClock() { ReleaseTickCount(); }

void TTestClock::Advance(uint64_t Ms) { Set(FNow + Ms); }

void TTestClock::Set(uint64_t Ms) {
  FNow = Ms;
  FixTickCount(FNow);
}

// ---- Screens

TTestScreen::TTestScreen(const std::vector<TTestMonitor>& Monitors) {
  std::vector<TMonitorLayout> layout;
  for (const TTestMonitor& m : Monitors) layout.push_back({m.Bounds, m.WorkArea});
  SetMonitorLayout(std::move(layout));
}

TTestScreen::~TTestScreen() { SetMonitorLayout({}); }
