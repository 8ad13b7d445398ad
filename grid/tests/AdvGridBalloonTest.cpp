// Balloon tooltips of the cells, shown by the real mouse, and the moving arrows' colour.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/BalloonTip.h"

namespace {

TPoint CellMiddle(DEreDuzeroVaro* G, int ACol, int ARow) {
  const TRect r = G->CellRect(ACol, ARow);
  return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

TEST(AdvGridBalloon, EnableMakesOneBalloonWindowAndSwitchingItOffDestroysIt) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  EXPECT_EQ(g->BalloonWindow(), nullptr);
  g->Balloon()->SetEnable(true);
  TBalloonTip* tip = g->BalloonWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(g->Balloon()->Initialized());
  EXPECT_EQ(tip->Tool(), g);
  g->BalloonInit();
  EXPECT_EQ(g->BalloonWindow(), tip);  // no second window
  // Delays left at -1 keep the balloon's own timing.
  EXPECT_EQ(tip->InitialDelay(), -1);
  EXPECT_EQ(tip->AutoHideDelay(), -1);
  // Switched off after Enable is cleared, the window still goes.
  g->Balloon()->SetEnable(false);
  EXPECT_EQ(g->BalloonWindow(), nullptr);
  EXPECT_FALSE(g->Balloon()->Initialized());
  // On again with delays set: a new window that takes them.
  g->Balloon()->SetInitialDelay(0);
  g->Balloon()->SetAutoHideDelay(2000);
  g->Balloon()->SetEnable(true);
  ASSERT_NE(g->BalloonWindow(), nullptr);
  EXPECT_EQ(g->BalloonWindow()->InitialDelay(), 0);
  EXPECT_EQ(g->BalloonWindow()->AutoHideDelay(), 2000);
}

TEST(AdvGridBalloon, TheMouseRestingOnACellPopsItsBalloonAndLeavingTheCellHidesIt) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"plain\ttext");
  g->SetCells(2, 2, u"under the balloon");
  g->AddBalloon(2, 2, u"Level", u"Too high", biWarning);
  g->Balloon()->SetInitialDelay(0);
  g->Balloon()->SetTextColor(clRed);
  g->Balloon()->SetEnable(true);
  TBalloonTip* tip = g->BalloonWindow();
  ASSERT_NE(tip, nullptr);

  TPoint p = CellMiddle(g, 2, 2);
  SimulateMouseMove(g, p.X, p.Y);
  EXPECT_TRUE(tip->Visible());
  EXPECT_EQ(tip->Title(), u"Level");
  EXPECT_EQ(tip->TipText(), u"Too high");
  EXPECT_EQ(tip->TipIcon(), btiWarning);
  EXPECT_EQ(tip->TipTextColor(), ColorToRGB(clRed));
  EXPECT_EQ(tip->MaxTipWidth(), 300);
  // It points at the mouse.
  EXPECT_EQ(tip->Spot(), g->ClientToScreen(p));
  // A move inside the same cell keeps it.
  SimulateMouseMove(g, p.X + 2, p.Y + 1);
  EXPECT_TRUE(tip->Visible());

  // Another cell: its own text, tabs as blanks, with the information icon.
  p = CellMiddle(g, 1, 1);
  SimulateMouseMove(g, p.X, p.Y);
  EXPECT_TRUE(tip->Visible());
  EXPECT_EQ(tip->TipText(), u"plain text");
  EXPECT_EQ(tip->TipIcon(), btiInfo);
  // An empty cell shows none; a press hides it.
  p = CellMiddle(g, 3, 3);
  SimulateMouseMove(g, p.X, p.Y);
  EXPECT_FALSE(tip->Visible());
  p = CellMiddle(g, 2, 2);
  SimulateMouseMove(g, p.X, p.Y);
  EXPECT_TRUE(tip->Visible());
  SimulateMouseDown(g, mbLeft, p.X, p.Y);
  EXPECT_FALSE(tip->Visible());
  SimulateMouseUp(g, mbLeft, p.X, p.Y);
}

TEST(AdvGridBalloon, BalloonsSetUpBeforeTheGridHasAWindowPopOnceItHasOne) {
  TForm form(nullptr);
  auto* g = new DEreDuzeroVaro(&form);
  g->Balloon()->SetInitialDelay(0);
  g->Balloon()->SetEnable(true);
  ASSERT_NE(g->BalloonWindow(), nullptr);
  EXPECT_EQ(g->BalloonWindow()->Tool(), nullptr);
  form.SetBounds(50, 50, 600, 400);
  g->SetParent(&form);
  g->SetBounds(0, 0, 500, 300);
  form.Show();
  ProcessPendingEvents();
  EXPECT_EQ(g->BalloonWindow()->Tool(), g);
  g->SetCells(1, 1, u"x");
  const TPoint p = CellMiddle(g, 1, 1);
  SimulateMouseMove(g, p.X, p.Y);
  EXPECT_TRUE(g->BalloonWindow()->Visible());
}

TEST(AdvGridBalloon, ArrowColorPaintsAllFourArrows) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetArrowColor(clRed);
  EXPECT_EQ(g->ArrowColor(), clRed);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g->Arrow(i)->Color(), clRed);
}

}  // namespace
