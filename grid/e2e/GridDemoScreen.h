// What the grid demo's end-to-end scenarios share: the real demo started on an X server of the
// test's own, its grid found on the screen below the menu bar, screenshots, and the screen
// rectangles of the demo's cells.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "testing/XSession.h"

namespace grid_e2e {

using namespace std::chrono_literals;

// The demo's column widths and the grid's row height, each with the cell's 1-pixel grid line
// at its right or bottom end; the grid's sunken edge takes 2 pixels.
constexpr int ColWidth[] = {40, 100, 64, 90, 180, 40, 90, 100};
constexpr int RowHeight = 22;

class GridDemoScreen : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;
  e2e::Child& Demo = Session.Program;
  e2e::Box Win{};
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
    ASSERT_TRUE(e2e::Eventually([&] {
      e2e::Screen s = Shot();
      if (s.Rgb.empty()) return false;
      const int x = Win.Left + 600;
      for (int y = Win.Top + 2; y < Win.Top + 120; ++y) {
        const unsigned char* p = Px(s, x, y);
        if (p[0] + p[1] + p[2] < 3 * 150) {
          GridTop = y;
          // The grid is drawn once its header row shows below the edge.
          return Differs(s, e2e::Box{GridLeft + 45, y + 4, GridLeft + 300, y + 18});
        }
      }
      return false;
    }, 15s)) << "the grid was not found on the screen";
  }

  e2e::Screen Shot() { return X.Shot(Folder.File("shot" + std::to_string(Shots++) + ".ppm")); }
  static const unsigned char* Px(const e2e::Screen& S, int X, int Y) {
    return &S.Rgb[(static_cast<size_t>(Y) * S.Width + X) * 3];
  }
  static bool Differs(const e2e::Screen& S, const e2e::Box& B) {
    const unsigned char* a = Px(S, B.Left, B.Top);
    for (int y = B.Top; y <= B.Bottom; ++y)
      for (int x = B.Left; x <= B.Right; ++x)
        if (std::memcmp(Px(S, x, y), a, 3) != 0) return true;
    return false;
  }
  // Screen rectangle of cell (C, R) with the widths given (the demo's unless changed).
  e2e::Box Cell(int C, int R, const int* Widths = ColWidth) const {
    int x = GridLeft + 2, y = GridTop + 2;
    for (int i = 0; i < C; ++i) x += Widths[i];
    y += R * RowHeight;
    return e2e::Box{x, y, x + Widths[C] - 2, y + RowHeight - 2};
  }
};

}  // namespace grid_e2e
