// The grid demo's mouse as a user meets it: the real program on an X server of the test's own,
// the real pointer driven by xdotool, screenshots for what the grid shows: a drag selects a
// block, Shift+click extends a click, a header dragged onto another moves its column, a
// double click on a header's border sizes the column to its texts, and a header's drop-down
// button pops up its menu.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "grid/e2e/GridDemoScreen.h"
#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

using grid_e2e::ColWidth;
using grid_e2e::RowHeight;

class GridDemoMouseEndToEnd : public grid_e2e::GridDemoScreen {
protected:
  void Press(int X_, int Y_) const {
    X.Xdo("mousemove --sync " + std::to_string(X_) + " " + std::to_string(Y_));
    X.Xdo("mousedown 1");
    std::this_thread::sleep_for(100ms);
  }
  void MoveTo(int X_, int Y_) const {
    X.Xdo("mousemove --sync " + std::to_string(X_) + " " + std::to_string(Y_));
    std::this_thread::sleep_for(100ms);
  }
  void Release() const {
    X.Xdo("mouseup 1");
    std::this_thread::sleep_for(300ms);
  }
  // The share of equal pixels of a block of S at (AX, AY) and of T at (BX, BY), W x H.
  static double Same(const e2e::Screen& S, int AX, int AY, const e2e::Screen& T, int BX, int BY, int W, int H) {
    int same = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) same += std::memcmp(Px(S, AX + x, AY + y), Px(T, BX + x, BY + y), 3) == 0;
    return static_cast<double>(same) / (W * H);
  }
};

}  // namespace

TEST_F(GridDemoMouseEndToEnd, DragAndShiftClickSelectAHeaderMovesItsColumnAndADoubleClickSizesIt) {
  const Box grid{GridLeft, GridTop, GridLeft + 690, GridTop + 300};

  // 1. A drag from (2, 2) to (3, 4) selects the block: its cells take the selection colour.
  const Box from = Cell(2, 2), to = Cell(3, 4);
  Press(from.CentreX(), from.CentreY());
  MoveTo(from.CentreX() + 20, from.CentreY() + 10);
  MoveTo(to.CentreX(), to.CentreY());
  Release();
  e2e::Screen s = Shot();
  ASSERT_FALSE(s.Rgb.empty());
  // (2, 3) is selected and not current: its corner shows the selection colour.
  const Box mid = Cell(2, 3);
  // The colour is kept: the screenshot it is read from is replaced below.
  unsigned char sel[3];
  std::memcpy(sel, Px(s, mid.Left + 3, mid.Top + 3), 3);
  const unsigned char* plain = Px(s, Cell(2, 8).Left + 3, Cell(2, 8).Top + 3);
  ASSERT_NE(std::memcmp(sel, plain, 3), 0) << "the dragged-over cells do not look selected";
  Box b = s.Find(grid, sel[0], sel[1], sel[2]);
  EXPECT_LE(std::abs(b.Left - from.Left), 2);
  EXPECT_LE(std::abs(b.Top - from.Top), 2);
  EXPECT_GE(b.Right, Cell(3, 3).Right - 2) << "the block reaches column 3";
  EXPECT_GE(b.Bottom, Cell(2, 4).Bottom - 2) << "the block reaches row 4";
  EXPECT_LT(b.Bottom, Cell(2, 5).Top) << "and ends there";

  // 2. A click, then Shift+click, selects from the one to the other.
  X.Click(Cell(2, 7).CentreX(), Cell(2, 7).CentreY());
  X.Xdo("keydown shift");
  X.Click(Cell(3, 9).CentreX(), Cell(3, 9).CentreY());
  X.Xdo("keyup shift");
  std::this_thread::sleep_for(300ms);
  s = Shot();
  b = s.Find(grid, sel[0], sel[1], sel[2]);
  EXPECT_LE(std::abs(b.Top - Cell(2, 7).Top), 2) << "the Shift+click range starts at the clicked cell";
  EXPECT_GE(b.Bottom, Cell(2, 9).Bottom - 2);
  EXPECT_GE(b.Right, Cell(3, 8).Right - 2);

  // 3. The header of column 3 ("Mode") dragged onto column 2's moves the column there.
  X.Click(Cell(6, 1).CentreX(), Cell(6, 1).CentreY());
  e2e::Screen before = Shot();
  const Box h3 = Cell(3, 0), h2 = Cell(2, 0);
  Press(h3.CentreX(), h3.CentreY());
  MoveTo(h3.CentreX() - 10, h3.CentreY());
  MoveTo(h2.Left + 10, h2.CentreY());
  Release();
  e2e::Screen after = Shot();
  // Rows 5 to 9 of the old column 3 now stand where column 2 began.
  const int blockTop = Cell(3, 5).Top, blockH = 5 * RowHeight - 1;
  const double moved = Same(before, Cell(3, 5).Left, blockTop, after, Cell(2, 5).Left, blockTop, ColWidth[3] - 1, blockH);
  EXPECT_GT(moved, 0.95) << "the moved column's cells are not at its new place";
  ASSERT_TRUE(Demo.Running());

  // 4. A double click on the right border of column 2's header sizes it to its texts: the
  // column after it ("Level dBm", now third) shifts sideways.
  const int widths[] = {40, 100, 90, 64, 180, 40, 90, 100};
  const Box n2 = Cell(2, 0, widths);
  X.Xdo("mousemove --sync " + std::to_string(n2.Right) + " " + std::to_string(n2.CentreY()));
  std::this_thread::sleep_for(100ms);
  X.Xdo("click --repeat 2 --delay 80 1");
  std::this_thread::sleep_for(500ms);
  e2e::Screen sized = Shot();
  const Box n3 = Cell(3, 5, widths);
  int best = 0;
  double bestSame = 0;
  for (int dx = -60; dx <= 60; ++dx) {
    const double v = Same(after, n3.Left, blockTop, sized, n3.Left + dx, blockTop, widths[3] - 1, blockH);
    if (v > bestSame) {
      bestSame = v;
      best = dx;
    }
  }
  EXPECT_GT(bestSame, 0.95) << "the third column was not found again";
  EXPECT_NE(best, 0) << "the double click did not size the column";
  ASSERT_TRUE(Demo.Running()) << "the demo ended (status " << Demo.ExitStatus() << ")";
}

TEST_F(GridDemoMouseEndToEnd, AHeadersDropDownButtonPopsUpItsMenu) {
  // Mouse > Header drop-down menus; the keys reach the menu once the window has the keyboard,
  // which a loaded machine can delay: try again until the header shows its button.
  const Box h2 = Cell(2, 0);
  const Box button{h2.Right - 14, h2.Top + 2, h2.Right - 2, h2.Bottom - 2};
  bool shown = false;
  for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
    X.Key("Escape");
    X.Xdo("search --onlyvisible --name '^String grid$' windowactivate --sync");
    std::this_thread::sleep_for(300ms);
    X.Key("alt+m");
    X.Key("h");
    std::this_thread::sleep_for(300ms);
    // Hovered, the header shows the button: a black down triangle in its right 16 pixels.
    MoveTo(h2.Left + 10, h2.CentreY());
    shown = Eventually([&] {
      e2e::Screen s = Shot();
      return !s.Rgb.empty() && s.Find(button, 0, 0, 0).Right >= button.Left;
    }, 3s);
  }
  ASSERT_TRUE(shown) << "the hovered header shows no drop-down button";
  e2e::Screen before = Shot();

  // A click on the button pops the menu up under it; its third item hides the column.
  MoveTo(h2.Right - 8, h2.CentreY());
  X.Xdo("click 1");
  // The menu covers the grid line between columns 3 and 4 along rows 1 to 3.
  const int lineX = Cell(3, 1).Right + 1, lineTop = Cell(3, 1).Top, lineH = 3 * RowHeight - 2;
  ASSERT_TRUE(Eventually([&] { return Same(before, lineX, lineTop, Shot(), lineX, lineTop, 1, lineH) < 0.5; }, 5s))
      << "no menu came up under the button";
  X.Key("Down");
  X.Key("Down");
  X.Key("Down");
  X.Key("Return");
  std::this_thread::sleep_for(500ms);
  e2e::Screen after = Shot();
  // Column 3's cells now stand where column 2 was.
  const int blockTop = Cell(3, 5).Top, blockH = 5 * RowHeight - 1;
  EXPECT_GT(Same(before, Cell(3, 5).Left, blockTop, after, Cell(2, 5).Left, blockTop, ColWidth[3] - 1, blockH), 0.95)
      << "the column was not hidden";
  ASSERT_TRUE(Demo.Running()) << "the demo ended (status " << Demo.ExitStatus() << ")";
}
