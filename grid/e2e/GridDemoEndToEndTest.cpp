// The string grid's demo as a user meets it: the real program on an X server of the test's
// own, the real pointer and keyboard driven by xdotool, a screenshot for what it draws, and its
// window closed the way a window manager closes it (WM_DELETE_WINDOW).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "testing/XSession.h"

// Xlib last: its macros (Status, None, Bool) would clash with the names above.
#include <X11/Xlib.h>

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

// Asks the top-level window Id on Display to close, as a window manager's close button does.
bool RequestClose(const std::string& Display, unsigned long Id) {
  ::Display* d = XOpenDisplay(Display.c_str());
  if (d == nullptr) return false;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = Id;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d, Id, False, NoEventMask, &e) != 0;
  XCloseDisplay(d);
  return sent;
}

class GridDemoEndToEnd : public ::testing::Test {
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

// The grid draws its table (text and lines), takes a click on a cell and a key, and the
// program ends with exit code 0 when its window is closed.
TEST_F(GridDemoEndToEnd, TheGridIsDrawnTakesAClickAndAKeyAndTheProgramEndsWhenClosed) {
  auto main = X.Window("^String grid$");
  ASSERT_TRUE(main) << "the demo's window did not show";

  // The grid at (8, 8, 530, 270): its header row, its text and its lines are dark on light.
  const Box grid{main->Left + 8, main->Top + 8, main->Left + 537, main->Top + 277};
  int dark = 0;
  EXPECT_TRUE(Eventually([&] {
    e2e::Screen s = X.Shot(Folder.File("shot.ppm"));
    if (s.Rgb.empty()) return false;
    dark = 0;
    for (int y = grid.Top; y <= grid.Bottom; ++y)
      for (int x = grid.Left; x <= grid.Right; ++x) {
        const unsigned char* p = &s.Rgb[(static_cast<size_t>(y) * s.Width + x) * 3];
        dark += p[0] + p[1] + p[2] < 3 * 128;
      }
    return dark > 1000;
  }, 15s)) << "the grid drew only " << dark << " dark pixels";

  // A cell of the third column in the second row, then Down.
  X.Click(grid.Left + 40 + 64 + 64 + 30, grid.Top + 21 + 21 + 10);
  X.Key("Down");
  X.Key("Right");
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(Demo.Running()) << "the demo ended after a click and a key (status " << Demo.ExitStatus() << ")";

  std::string ids = X.Xdo("search --onlyvisible --name '^String grid$'");
  ASSERT_FALSE(ids.empty());
  ASSERT_TRUE(RequestClose(X.Display(), std::strtoul(ids.c_str(), nullptr, 10)));
  ASSERT_TRUE(Eventually([&] { return !Demo.Running(); }, 15s)) << "the demo did not end when its window was closed";
  EXPECT_EQ(Demo.ExitStatus(), 0);
}
