// The grid demo's "Print" menu as an operator uses it: the menu's keys open the preview
// window, which draws the printout's page and stays with it when paged on.
#include <gtest/gtest.h>

#include <string>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

class GridDemoPrintEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(GRID_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
  }
  // Dark pixels of a box on the screen.
  int Dark(const Box& B) {
    e2e::Screen s = X.Shot(Folder.File("shot.ppm"));
    if (s.Rgb.empty()) return 0;
    int dark = 0;
    for (int y = std::max(B.Top, 0); y <= B.Bottom && y < s.Height; ++y)
      for (int x = std::max(B.Left, 0); x <= B.Right && x < s.Width; ++x) {
        const unsigned char* p = &s.Rgb[(static_cast<size_t>(y) * s.Width + x) * 3];
        dark += p[0] + p[1] + p[2] < 3 * 128;
      }
    return dark;
  }
};

}  // namespace

TEST_F(GridDemoPrintEndToEnd, PreviewWindowDrawsThePrintout) {
  auto main = X.Window("^String grid$");
  ASSERT_TRUE(main) << "the demo's window did not show";
  std::this_thread::sleep_for(500ms);

  // The menu answers its mnemonic once the window has the keyboard, which a loaded machine
  // can delay: ask again when no preview came.
  std::optional<Box> preview;
  for (int attempt = 0; attempt < 3 && !preview; ++attempt) {
    if (attempt > 0) {  // close a menu or an editor a lost key left open
      X.Key("Escape");
      X.Key("Escape");
    }
    X.Key("alt+p");
    X.Key("v");
    preview = X.Window("^Print preview$", 8s);
  }
  ASSERT_TRUE(preview) << "the preview window did not show";
  const Box page{preview->Left + 8, preview->Top + 42, preview->Left + 537, preview->Top + 791};
  int first = 0;
  EXPECT_TRUE(Eventually([&] { return (first = Dark(page)) > 500; }, 10s)) << "the preview drew " << first;
  // Next page: the preview of a one-page table stays on its page, so the picture stays drawn.
  X.Click(preview->Left + 166, preview->Top + 21);
  EXPECT_GT(Dark(page), 500);

  EXPECT_TRUE(Session.Program.Running());
}
