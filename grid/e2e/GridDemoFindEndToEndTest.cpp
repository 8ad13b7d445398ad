// The grid demo's search panel as an operator uses it: the real program on an X server of the
// test's own, the menu opened with its keys, the search text typed on the real keyboard, the
// next and previous buttons clicked with the real pointer; screenshots show which cell is the
// current one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "grid/e2e/GridDemoScreen.h"
#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

// "Toggle" is the mode (column 3) of rows 2, 6 and 10.
using grid_e2e::ColWidth;
using grid_e2e::RowHeight;

class GridDemoFindEndToEnd : public grid_e2e::GridDemoScreen {
protected:
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
  // Opens the search panel with the menu keys; the screen row of its top edge (0: it did not show).
  int ShowSearchPanel() {
    const int probeX = GridLeft + 2 + 137;  // between the edit and the next button
    const int belowRows = Cell(0, 10).Bottom + 4;
    e2e::Screen before = Shot();
    if (before.Rgb.empty()) return 0;
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
    return panelTop;
  }
};

}  // namespace

TEST_F(GridDemoFindEndToEnd, TypingAndTheButtonsOfTheSearchPanelMoveTheCurrentCell) {
  const int panelTop = ShowSearchPanel();
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

TEST_F(GridDemoFindEndToEnd, CtrlFAndTheCaptionsAltLettersDriveTheSearchPanelFromTheKeyboard) {
  ASSERT_GT(ShowSearchPanel(), 0) << "the search panel did not show";
  // Back into the grid with the pointer, then Ctrl+F: the typed text goes into the panel's
  // edit (in the grid it would have opened the cell's editor) and finds the first "Toggle".
  const Box first = Cell(1, 4);
  X.Click(first.Left + 10, first.Top + 8);
  X.Key("ctrl+f");
  X.Xdo("type --delay 80 toggle");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 2; }, 5s)) << "Ctrl+F and typing did not find row 2";
  // Alt+N runs "Find next", Alt+V "Find previous", from the edit and from the grid.
  X.Key("alt+n");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 6; }, 5s)) << "Alt+N did not move to row 6";
  X.Key("alt+n");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 10; }, 5s)) << "Alt+N did not move to row 10";
  X.Key("alt+v");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 6; }, 5s)) << "Alt+V did not move to row 6";
  const Box sixth = Cell(1, 6);
  X.Click(sixth.Left + 10, sixth.Top + 8);
  X.Key("alt+n");
  EXPECT_TRUE(Eventually([&] { return CurrentToggleRow() == 10; }, 5s)) << "Alt+N in the grid did not move to row 10";

  ASSERT_TRUE(Session.Program.Running()) << "the demo ended (status " << Session.Program.ExitStatus() << ")";
}
