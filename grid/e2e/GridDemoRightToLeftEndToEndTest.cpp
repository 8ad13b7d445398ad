// The grid demo switched to right to left by its menu, as a user does it: the real program on
// an X server of the test's own, the keys and pointer driven by xdotool, screenshots for what
// the grid draws.
#include <gtest/gtest.h>

#include "grid/e2e/GridDemoScreen.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;
using grid_e2e::ColWidth;

namespace {

class GridDemoRightToLeftEndToEnd : public grid_e2e::GridDemoScreen {
protected:
  static constexpr int GridWidth = 700;  // the demo's grid, its sunken edge included

  // Screen rectangle of cell (C, R) in the mirrored grid: column 0 at the right edge.
  Box Mirrored(int C, int R) const {
    const Box b = Cell(C, R);
    const int left = GridLeft + GridWidth - 1 - (b.Right - GridLeft);
    return Box{left, b.Top, left + (b.Right - b.Left), b.Bottom};
  }
  static double Same(const e2e::Screen& S, const e2e::Screen& T, const Box& B) {
    int same = 0, all = 0;
    for (int y = B.Top; y <= B.Bottom; ++y)
      for (int x = B.Left; x <= B.Right; ++x, ++all) same += std::memcmp(Px(S, x, y), Px(T, x, y), 3) == 0;
    return static_cast<double>(same) / all;
  }
};

}  // namespace

TEST_F(GridDemoRightToLeftEndToEnd, TheMenuMirrorsTheGridAndAClickOnTheMirroredSideSelectsThatCell) {
  // Sizing > Right to left (the menu's last item: Up from the first wraps to it).
  bool switched = false;
  for (int attempt = 0; attempt < 3 && !switched; ++attempt) {
    X.Key("Escape");
    X.Xdo("search --onlyvisible --name '^String grid$' windowactivate --sync");
    std::this_thread::sleep_for(300ms);
    X.Key("alt+s");
    X.Key("Up");
    X.Key("Return");
    switched = X.Window("^String grid - right to left", 3s).has_value();
  }
  ASSERT_TRUE(switched) << "the window's caption does not tell the right-to-left mode";

  // The header row mirrored: column 0's header (the row numbers' column) now ends at the
  // grid's right edge, and the data columns' header texts stand to its left.
  e2e::Screen before;
  ASSERT_TRUE(Eventually([&] {
    before = Shot();
    return !before.Rgb.empty() && Differs(before, Mirrored(1, 0));
  }, 10s)) << "the mirrored header shows no text";

  // A click in cell (3, 4) at its mirrored place makes it the current cell: it alone of its
  // row's scrollable cells changes, and the key Left then moves on to column 4, to its left.
  const Box target = Mirrored(3, 4);
  X.Click(target.CentreX(), target.CentreY());
  e2e::Screen clicked;
  ASSERT_TRUE(Eventually([&] {
    clicked = Shot();
    return !clicked.Rgb.empty() && Same(before, clicked, target) < 0.9;
  }, 5s)) << "the mirrored cell did not take the click";
  EXPECT_GT(Same(before, clicked, Mirrored(2, 4)), 0.98) << "the cell right of it changed as well";
  EXPECT_GT(Same(before, clicked, Mirrored(4, 4)), 0.98) << "the cell left of it changed as well";

  X.Key("Left");
  ASSERT_TRUE(Eventually([&] {
    e2e::Screen moved = Shot();
    return !moved.Rgb.empty() && Same(clicked, moved, Mirrored(4, 4)) < 0.9 && Same(clicked, moved, target) < 0.9;
  }, 5s)) << "Left did not move the current cell to the column on its left";
  ASSERT_TRUE(Demo.Running()) << "the demo ended (status " << Demo.ExitStatus() << ")";
}
