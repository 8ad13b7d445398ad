// The grid demo's search panel as an operator uses it: the real program on an X server of the
// test's own, the menu opened with its keys, the search text typed on the real keyboard, the
// next and previous buttons clicked with the real pointer; screenshots show which cell is the
// current one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

// The demo's column widths and row height (each with its 1-pixel grid line); the grid's sunken
// edge takes 2 pixels. "Toggle" is the mode (column 3) of rows 2, 6 and 10.
constexpr int ColWidth[] = {40, 100, 64, 90, 180, 40, 90, 100};
constexpr int RowHeight = 22;

class GridDemoFindEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;
  Box Win{};
  int GridLeft = 0, GridTop = 0;
  int Shots = 0;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(GRID_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
    auto w = X.Window("^String grid$");
    ASSERT_TRUE(w) << "the demo's window did not show";
    Win = *w;
    // The grid's top edge lies below the menu bar: the first dark pixel (its sunken edge) down
    // a line right of the menus' captions.
    GridLeft = Win.Left + 8;
    ASSERT_TRUE(Eventually([&] {
      e2e::Screen s = Shot();
      if (s.Rgb.empty()) return false;
      const int x = Win.Left + 600;
      for (int y = Win.Top + 2; y < Win.Top + 120; ++y) {
        const unsigned char* p = Px(s, x, y);
        if (p[0] + p[1] + p[2] < 3 * 150) {
          GridTop = y;
          return Differs(s, Box{GridLeft + 45, y + 4, GridLeft + 300, y + 18});
        }
      }
      return false;
    }, 15s)) << "the grid was not found on the screen";
  }

  e2e::Screen Shot() { return X.Shot(Folder.File("shot" + std::to_string(Shots++) + ".ppm")); }
  static const unsigned char* Px(const e2e::Screen& S, int X, int Y) {
    return &S.Rgb[(static_cast<size_t>(Y) * S.Width + X) * 3];
  }
  static bool Differs(const e2e::Screen& S, const Box& B) {
    const unsigned char* a = Px(S, B.Left, B.Top);
    for (int y = B.Top; y <= B.Bottom; ++y)
      for (int x = B.Left; x <= B.Right; ++x)
        if (std::memcmp(Px(S, x, y), a, 3) != 0) return true;
    return false;
  }
  Box Cell(int C, int R) const {
    int x = GridLeft + 2, y = GridTop + 2;
    for (int i = 0; i < C; ++i) x += ColWidth[i];
    y += R * RowHeight;
    return Box{x, y, x + ColWidth[C] - 2, y + RowHeight - 2};
  }
  // The background of a cell, at its right end past its text.
  static std::string Background(const e2e::Screen& S, const Box& B) {
    return std::string(reinterpret_cast<const char*>(Px(S, B.Right - 4, B.Top + 4)), 3);
  }
  // The one mode cell among rows 2, 6 and 10 whose background differs from the others: the
  // current cell; 0 when none or more than one stands out.
  int CurrentToggleRow() {
    e2e::Screen s = Shot();
    if (s.Rgb.empty()) return 0;
    const std::string b2 = Background(s, Cell(3, 2)), b6 = Background(s, Cell(3, 6)), b10 = Background(s, Cell(3, 10));
    if (b2 != b6 && b6 == b10) return 2;
    if (b6 != b2 && b2 == b10) return 6;
    if (b10 != b2 && b2 == b6) return 10;
    return 0;
  }
};

}  // namespace

TEST_F(GridDemoFindEndToEnd, TypingAndTheButtonsOfTheSearchPanelMoveTheCurrentCell) {
  // The empty grid area just below the last row, and the panel's top edge under it once shown.
  const int probeX = GridLeft + 2 + 137;  // between the edit and the next button
  const int belowRows = Cell(0, 10).Bottom + 4;
  e2e::Screen before = Shot();
  ASSERT_FALSE(before.Rgb.empty());
  const std::string empty(reinterpret_cast<const char*>(Px(before, probeX, belowRows)), 3);

  int panelTop = 0;
  for (int attempt = 0; attempt < 3 && panelTop == 0; ++attempt) {
    if (attempt > 0) X.Key("Escape");
    X.Key("alt+i");
    X.Key("s");
    Eventually([&] {
      e2e::Screen s = Shot();
      if (s.Rgb.empty()) return false;
      for (int y = belowRows; y < GridTop + 368; ++y)
        if (std::memcmp(Px(s, probeX, y), empty.data(), 3) != 0) {
          panelTop = y;
          return true;
        }
      return false;
    }, 5s);
  }
  ASSERT_GT(panelTop, 0) << "the search panel did not show";

  // Into the edit with the pointer, then the search text on the keyboard: each keystroke
  // searches from the top, so the first "Toggle" becomes the current cell.
  X.Click(GridLeft + 2 + 25 + 40, panelTop + 16);
  X.Xdo("type --delay 80 toggle");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 2; }, 5s)) << "typing did not find row 2";

  const int buttonY = panelTop + 5 + 11;
  X.Click(GridLeft + 2 + 140 + 45, buttonY);  // find next
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 6; }, 5s)) << "find next did not move to row 6";
  X.Click(GridLeft + 2 + 140 + 45, buttonY);
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 10; }, 5s)) << "find next did not move to row 10";
  X.Click(GridLeft + 2 + 235 + 45, buttonY);  // find previous
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 6; }, 5s)) << "find previous did not move to row 6";
  // Enter in the edit steps on as the next button does.
  X.Key("Return");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 10; }, 5s)) << "Enter did not move to row 10";

  ASSERT_TRUE(Session.Program.Running()) << "the demo ended (status " << Session.Program.ExitStatus() << ")";
}
