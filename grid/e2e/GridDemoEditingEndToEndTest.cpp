// Editing in the grid demo as a user does it: the Editing menu opens the window of editor kinds,
// a click selects a date cell, F2 opens its date picker, Up steps the year and Enter stores it;
// the cell is drawn anew with the new date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

// The sum of the colour values inside B: changes when the text drawn there changes.
long Ink(const e2e::Screen& S, const Box& B) {
  long sum = 0;
  for (int y = B.Top; y <= B.Bottom; ++y)
    for (int x = B.Left; x <= B.Right; ++x) {
      const unsigned char* p = &S.Rgb[(static_cast<size_t>(y) * S.Width + x) * 3];
      sum += p[0] + p[1] + p[2];
    }
  return sum;
}

class GridDemoEditingEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;
  e2e::Child& Demo = Session.Program;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(GRID_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
  }
};

}  // namespace

TEST_F(GridDemoEditingEndToEnd, ADateCellIsEditedWithThePickerByMouseAndKeyboard) {
  auto main = X.Window("^String grid$");
  ASSERT_TRUE(main) << "the demo's window did not show";
  // "Editing" is the menu bar's first menu; "Editor kinds..." its first item.
  std::optional<Box> kinds;
  for (int attempt = 0; attempt < 3 && !kinds; ++attempt) {
    X.Click(main->Left + 25, main->Top + 10);
    std::this_thread::sleep_for(400ms);
    X.Click(main->Left + 50, main->Top + 35);
    kinds = X.Window("^Editor kinds$", 3s);
  }
  ASSERT_TRUE(kinds) << "the Editing menu did not open the window of editor kinds";

  // Cell (1, 1), the first date, lies right of the 64-pixel row-number column under the
  // 21-pixel header row; the text starts at its left.
  const Box cell{kinds->Left + 64 + 4, kinds->Top + 22 + 3, kinds->Left + 64 + 85, kinds->Top + 22 + 17};
  long before = 0;
  ASSERT_TRUE(Eventually([&] {
    e2e::Screen s = X.Shot(Folder.File("before.ppm"));
    if (s.Rgb.empty()) return false;
    before = Ink(s, cell);
    return before < static_cast<long>(3 * 255) * (cell.Right - cell.Left + 1) * (cell.Bottom - cell.Top + 1);
  }, 15s)) << "the date cell shows no text";

  // Selected, the cell changes its colours: what the edit changes is measured from here.
  X.Click(cell.Left + 20, cell.Top + 7);
  std::this_thread::sleep_for(500ms);
  e2e::Screen selected = X.Shot(Folder.File("selected.ppm"));
  ASSERT_FALSE(selected.Rgb.empty());
  before = Ink(selected, cell);
  X.Key("F2");
  std::this_thread::sleep_for(500ms);
  X.Key("Up");
  X.Key("Return");
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(Demo.Running()) << "the demo ended while editing (status " << Demo.ExitStatus() << ")";

  long after = before;
  EXPECT_TRUE(Eventually([&] {
    e2e::Screen s = X.Shot(Folder.File("after.ppm"));
    if (s.Rgb.empty()) return false;
    after = Ink(s, cell);
    return after != before;
  }, 10s)) << "the edited date cell looks as before";
}
