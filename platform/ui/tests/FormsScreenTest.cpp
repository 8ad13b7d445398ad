#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "testing/TestSupport.h"

namespace {

// A primary monitor with a panel at its bottom, and a second one to its left and lower down.
const std::vector<TTestMonitor> kTwoMonitors = {
    {Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040)},
    {Rect(-1280, 200, 0, 1224), Rect(-1280, 200, 0, 1200)},
};

int IndexOf(TMonitor* m) { return m != nullptr ? m->MonitorNum() : -1; }

TEST(Screen, ListsTheMonitorsPrimaryFirstWithBoundsAndWorkAreas) {
  TTestScreen screen(kTwoMonitors);
  ASSERT_EQ(Screen->MonitorCount(), 2);
  EXPECT_TRUE(Screen->Monitors(0)->Primary());
  EXPECT_FALSE(Screen->Monitors(1)->Primary());
  EXPECT_EQ(Screen->PrimaryMonitor(), Screen->Monitors(0));
  EXPECT_EQ(Screen->Monitors(1)->BoundsRect(), Rect(-1280, 200, 0, 1224));
  EXPECT_EQ(Screen->Monitors(1)->WorkareaRect(), Rect(-1280, 200, 0, 1200));
  EXPECT_EQ(Screen->Monitors(1)->Left(), -1280);
  EXPECT_EQ(Screen->Monitors(1)->Height(), 1024);
  EXPECT_EQ(Screen->Width(), 1920);
  EXPECT_EQ(Screen->Height(), 1080);
  EXPECT_EQ(Screen->WorkAreaRect(), Rect(0, 0, 1920, 1040));
  EXPECT_EQ(Screen->DesktopRect(), Rect(-1280, 0, 1920, 1224));
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, Rect(0, 0, 1920, 1040));
  EXPECT_THROW(Screen->Monitors(2), EListError);
  EXPECT_THROW(Screen->Monitors(-1), EListError);
}

TEST(Screen, FindsTheMonitorOfAPointOrRectangleOrFallsBackAsAsked) {
  TTestScreen screen(kTwoMonitors);
  struct Case {
    TPoint p;
    TMonitorDefaultTo d;
    int expected;
  } cases[] = {
      {Point(10, 10), mdNull, 0},        {Point(-5, 500), mdNull, 1},      {Point(-1280, 200), mdNull, 1},
      {Point(0, 199), mdNull, 0},        {Point(-5, 100), mdNull, -1},     {Point(-5, 100), mdPrimary, 0},
      {Point(-5, 100), mdNearest, 0},    {Point(-3000, 700), mdNearest, 1}, {Point(5000, -40), mdNearest, 0},
      {Point(-100, 1500), mdNearest, 1}, {Point(1000, 1500), mdNearest, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IndexOf(Screen->MonitorFromPoint(c.p, c.d)), c.expected) << c.p.X << "," << c.p.Y << " default " << int(c.d);
  // The rectangle goes to the monitor it shares most area with.
  EXPECT_EQ(IndexOf(Screen->MonitorFromRect(Rect(-300, 300, 100, 400))), 1);
  EXPECT_EQ(IndexOf(Screen->MonitorFromRect(Rect(-100, 300, 300, 400))), 0);
  EXPECT_EQ(IndexOf(Screen->MonitorFromRect(Rect(-900, -500, -800, -400), mdNull)), -1);
  EXPECT_EQ(IndexOf(Screen->MonitorFromRect(Rect(-900, -500, -800, -400))), 1);
  // The same monitor object answers every time.
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-5, 500)), Screen->Monitors(1));
}

TEST(Screen, FindsTheMonitorOfAWindow) {
  TTestScreen screen(kTwoMonitors);
  TForm form(nullptr);
  form.SetBounds(-900, 400, 300, 200);
  form.Show();
  ProcessPendingEvents();
  EXPECT_EQ(IndexOf(Screen->MonitorFromWindow(form.Handle())), 1);
  form.SetBounds(500, 400, 300, 200);
  EXPECT_EQ(IndexOf(Screen->MonitorFromWindow(form.Handle())), 0);
  EXPECT_EQ(Screen->MonitorFromWindow(nullptr, mdNull), nullptr);
  EXPECT_EQ(IndexOf(Screen->MonitorFromWindow(nullptr)), 0);
}

TEST(Screen, GoesBackToTheWindowSystemsScreensAfterATestLayout) {
  const TRect real = Screen->Monitors(0)->BoundsRect();
  {
    TTestScreen screen(kTwoMonitors);
    EXPECT_EQ(Screen->MonitorCount(), 2);
  }
  EXPECT_GE(Screen->MonitorCount(), 1);
  EXPECT_EQ(Screen->Monitors(0)->BoundsRect(), real);
  EXPECT_EQ(Screen->Height(), real.Height());
}

}  // namespace
