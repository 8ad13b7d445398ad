// The grid demo's scroll hints as a user meets them: the real program on an X server of the
// test's own; the real pointer drags the vertical scroll bar's thumb, the hint window beside it
// names the row it points at, and the grid scrolls there when the thumb is let go.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

// The demo's grid: 8 pixels into the window's client area, 700 x 370 with a 2-pixel edge.
constexpr int GridWidth = 700, GridHeight = 370;

class GridDemoScrollEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;
  int Shots = 0;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(GRID_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
  }
  e2e::Screen Shot() { return X.Shot(Folder.File("shot" + std::to_string(Shots++) + ".ppm")); }
  // Runs a Sizing menu item by its mnemonic; True once Done holds.
  bool MenuItem(const std::string& Key, const std::function<bool()>& Done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (attempt > 0) {  // close a menu a lost key left open
        X.Key("Escape");
        X.Key("Escape");
      }
      X.Key("alt+s");
      X.Key(Key);
      if (Eventually(Done, 5s)) return true;
    }
    return false;
  }
  // The title of the visible window whose title matches Pattern, empty when none shows.
  std::string TitleOf(const std::string& Pattern) const {
    std::string ids = X.Xdo("search --onlyvisible --name '" + Pattern + "'");
    if (ids.empty()) return {};
    std::string name = X.Xdo("getwindowname " + ids.substr(0, ids.find('\n')));
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return name;
  }
};

}  // namespace

TEST_F(GridDemoScrollEndToEnd, DraggingTheThumbShowsTheRowHintAndTheGridScrollsThereOnRelease) {
  auto win = X.Window("^String grid$");
  ASSERT_TRUE(win) << "the demo's window did not show";
  std::this_thread::sleep_for(500ms);
  // The grid's vertical bar runs down its right edge, inside the 2-pixel edge.
  const int gridLeft = win->Left + 8;
  int gridTop = 0;
  ASSERT_TRUE(Eventually([&] {
    e2e::Screen s = Shot();
    if (s.Rgb.empty()) return false;
    // The grid's top edge lies below the menu bar: the first dark pixel (its sunken edge).
    for (int y = win->Top + 2; y < win->Top + 120; ++y) {
      const unsigned char* p = &s.Rgb[(static_cast<size_t>(y) * s.Width + win->Left + 600) * 3];
      if (p[0] + p[1] + p[2] < 3 * 150) {
        gridTop = y;
        return true;
      }
    }
    return false;
  }, 15s)) << "the grid was not found on the screen";

  // 1000 rows and the hints on, through the Sizing menu.
  const int barX = gridLeft + GridWidth - 2 - 8;
  const Box rows{gridLeft + 2, gridTop + 30, gridLeft + 38, gridTop + 200};
  e2e::Screen before;
  ASSERT_TRUE(MenuItem("r", [&] {
    before = Shot();
    // The vertical bar came: its column differs from the cells' white.
    return !before.Rgb.empty() && !before.Is(barX, gridTop + GridHeight / 2, 255, 255, 255);
  })) << "the rows were not added";
  X.Key("alt+s");
  X.Key("h");
  std::this_thread::sleep_for(500ms);

  // The thumb sits at the top, just below the bar's arrow; drag it down a third.
  const int thumbY = gridTop + 2 + 16 + 6;
  X.Xdo("mousemove --sync " + std::to_string(barX) + " " + std::to_string(thumbY));
  std::this_thread::sleep_for(200ms);
  X.Xdo("mousedown 1");
  std::this_thread::sleep_for(200ms);
  for (int dy = 20; dy <= 120; dy += 20) {
    X.Xdo("mousemove --sync " + std::to_string(barX) + " " + std::to_string(thumbY + dy));
    std::this_thread::sleep_for(100ms);
  }
  std::string hint;
  EXPECT_TRUE(Eventually([&] { return !(hint = TitleOf("^Row : [0-9]+")).empty(); }, 5s))
      << "no scroll hint beside the dragged thumb";
  std::smatch m;
  ASSERT_TRUE(std::regex_search(hint, m, std::regex("^Row : ([0-9]+)"))) << hint;
  const int row = std::atoi(m[1].str().c_str());
  EXPECT_GT(row, 100) << "the hint names a row a third down the 1000";
  EXPECT_LT(row, 900);
  // Without scrolling while dragging, the rows stay until the thumb is let go.
  e2e::Screen during = Shot();
  ASSERT_FALSE(during.Rgb.empty());
  int same = 0, all = 0;
  for (int y = rows.Top; y <= rows.Bottom; ++y)
    for (int x = rows.Left; x <= rows.Right; ++x, ++all) {
      const size_t i = (static_cast<size_t>(y) * during.Width + x) * 3;
      same += std::memcmp(&during.Rgb[i], &before.Rgb[i], 3) == 0;
    }
  EXPECT_EQ(same, all) << "the grid scrolled while the thumb was dragged";

  X.Xdo("mouseup 1");
  EXPECT_TRUE(Eventually([&] { return TitleOf("^Row : [0-9]+").empty(); }, 5s)) << "the hint stayed after the release";
  // Now the rows below have come up: the row numbers column changed.
  EXPECT_TRUE(Eventually([&] {
    e2e::Screen after = Shot();
    if (after.Rgb.empty()) return false;
    for (int y = rows.Top; y <= rows.Bottom; ++y)
      for (int x = rows.Left; x <= rows.Right; ++x) {
        const size_t i = (static_cast<size_t>(y) * after.Width + x) * 3;
        if (std::memcmp(&after.Rgb[i], &before.Rgb[i], 3) != 0) return true;
      }
    return false;
  }, 5s)) << "the grid did not scroll on the release";
  ASSERT_TRUE(Session.Program.Running());
}
