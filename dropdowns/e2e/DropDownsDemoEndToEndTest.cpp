// The drop-down editors' demo as a user meets it: the real program on an X server of the
// test's own, the real pointer and keyboard driven by xdotool. The framework drop-down is found
// where the window's layout puts it; its text is read back through the clipboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Box;
using e2e::Eventually;

namespace {

class DropDownsDemoEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  e2e::Child& Demo = Session.Program;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(DROPDOWNS_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
  }
  // The visible top-level windows on the screen other than the root and the demo's main
  // window: its pop-ups.
  std::vector<Box> Popups(const Box& Main) const {
    std::vector<Box> found;
    std::string ids = X.Xdo("search --onlyvisible --maxdepth 1 --name ''");
    for (size_t at = 0; at < ids.size(); at = ids.find('\n', at) + 1) {
      auto box = X.Geometry(ids.substr(at, ids.find('\n', at) - at));
      if (box && box->Left != Main.Left && box->Right - box->Left < 1000) found.push_back(*box);
    }
    return found;
  }
};

}  // namespace

// A click on the framework drop-down's button opens its list of channels in a window of its
// own under the edit; Down and Enter take the next channel and close it; the edit shows it.
TEST_F(DropDownsDemoEndToEnd, TheFrameworkDropDownOpensOnAClickAndTakesAChannelWithTheKeys) {
  auto main = X.Window("^Drop-down editors$");
  ASSERT_TRUE(main) << "the demo's window did not show";
  ASSERT_TRUE(Popups(*main).empty());

  // The drop-down at (120, 20, 200, 24); its button at its right end.
  const int editY = main->Top + 20 + 12;
  X.Click(main->Left + 120 + 200 - 9, editY);
  std::vector<Box> popups;
  ASSERT_TRUE(Eventually([&] { return (popups = Popups(*main)).size() == 1; }, 10s))
      << "the button did not open the pop-up";
  EXPECT_GT(popups[0].Top, editY) << "the pop-up does not hang under the edit";
  EXPECT_GE(popups[0].Bottom - popups[0].Top + 1, 100) << "the pop-up lost its height of 120";

  X.Key("Down Return");
  EXPECT_TRUE(Eventually([&] { return Popups(*main).empty(); }, 10s)) << "Enter did not close the pop-up";

  // The edit's text, selected and copied as a user would.
  X.Click(main->Left + 120 + 80, editY);
  X.Key("ctrl+a ctrl+c");
  std::string text;
  EXPECT_TRUE(Eventually([&] { return (text = X.Clipboard()) == "Channel 2"; }, 10s)) << "the edit holds '" << text << "'";
  EXPECT_TRUE(Demo.Running());
}

// The grid drop-down of receivers: a click on its button opens the grid under the edit; typed
// letters look the receiver up in the open grid and Enter takes it.
TEST_F(DropDownsDemoEndToEnd, TheGridDropDownLooksUpATypedReceiver) {
  auto main = X.Window("^Drop-down editors$");
  ASSERT_TRUE(main) << "the demo's window did not show";

  // The grid drop-down at (770, 20, 150, 24); its button at its right end.
  const int editY = main->Top + 20 + 12;
  X.Click(main->Left + 770 + 150 - 9, editY);
  std::vector<Box> popups;
  ASSERT_TRUE(Eventually([&] { return (popups = Popups(*main)).size() == 1; }, 10s))
      << "the button did not open the grid";
  EXPECT_GT(popups[0].Top, editY) << "the grid does not hang under the edit";

  X.Key("t r x 4 2 Return");
  EXPECT_TRUE(Eventually([&] { return Popups(*main).empty(); }, 10s)) << "Enter did not close the grid";

  X.Click(main->Left + 770 + 60, editY);
  X.Key("ctrl+a ctrl+c");
  std::string text;
  EXPECT_TRUE(Eventually([&] { return (text = X.Clipboard()) == "TRX420"; }, 10s)) << "the edit holds '" << text << "'";
  EXPECT_TRUE(Demo.Running());
}
