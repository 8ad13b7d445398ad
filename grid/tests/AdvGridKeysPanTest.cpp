// Wheel panning's look: the marker where panning started and the hints held back meanwhile.
#include <gtest/gtest.h>

#include "grid/tests/GridTestSupport.h"

namespace {

// Pixels of the 32 x 32 square at (X, Y) that differ between two pictures of the grid.
int Differing(TBitmap& A, TBitmap& B, int X, int Y) {
  int n = 0;
  for (int y = Y; y < Y + 32; ++y)
    for (int x = X; x < X + 32; ++x) n += PixelColor(A, x, y) != PixelColor(B, x, y) ? 1 : 0;
  return n;
}

}  // namespace

TEST(AdvGridPan, TheMarkerShowsWherePanningStartedAndHintsAreOffMeanwhile) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.SetColCount(20);
  g.SetRowCount(200);
  const TPoint at(200, 150);
  for (bool hints : {true, false}) {
    g.SetShowHint(hints);
    ProcessPendingEvents();
    const auto plain = RenderControl(&g);
    SimulateClick(&g, at.X, at.Y, mbMiddle);
    ASSERT_TRUE(g.WheelPanning());
    EXPECT_FALSE(g.ShowHint());
    // The pointer stays in the still zone: nothing scrolls, the marker stays drawn.
    WaitUntil([] { return false; }, 60);
    const auto panning = RenderControl(&g);
    EXPECT_GT(Differing(*plain, *panning, at.X, at.Y), 50) << "no marker";
    EXPECT_EQ(Differing(*plain, *panning, at.X + 40, at.Y), 0) << "drawn beyond its square";
    // A key ends panning: the hint setting comes back as it was and the marker goes.
    SimulateKeyStroke(&g, VK_SHIFT);
    EXPECT_FALSE(g.WheelPanning());
    EXPECT_EQ(g.ShowHint(), hints);
    const auto after = RenderControl(&g);
    EXPECT_EQ(Differing(*plain, *after, at.X, at.Y), 0);
  }
}

TEST(AdvGridPan, TheMarkerStaysOverCellsScrollingUnderIt) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.SetColCount(20);
  g.SetRowCount(200);
  for (int r = 0; r < 200; ++r) g.SetCells(1, r, IntToStr(r));
  g.MouseActions()->SetWheelAction(waScroll);
  const TPoint at(100, 100);
  SimulateClick(&g, at.X, at.Y, mbMiddle);
  SimulateMouseMove(&g, at.X, at.Y + 40);
  ASSERT_TRUE(WaitUntil([&] { return g.TopRow() > 5; }, 2000));
  SimulateMouseMove(&g, at.X, at.Y);  // still again
  WaitUntil([] { return false; }, 60);
  const auto panning = RenderControl(&g);
  SimulateKeyStroke(&g, VK_SHIFT);
  const auto after = RenderControl(&g);
  EXPECT_GT(Differing(*after, *panning, at.X, at.Y), 50);
}
