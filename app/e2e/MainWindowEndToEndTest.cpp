// The tool as an operator meets it: the real executable on an X server of the test's own,
// the real pointer and keyboard driven by xdotool, the software receiver on a pty as the port.
// Controls are found where the window's layout puts them, anchored on what a screenshot
// shows (the port lamp, the monitor's background); what the monitor holds is read the way an
// operator would take it: through the clipboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "testing/ReceiverSim.h"
#include "testing/XSession.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using e2e::Box;
using e2e::Child;
using e2e::Eventually;
using e2e::Screen;
using e2e::XServer;

class MainWindowEndToEnd : public ::testing::Test {
protected:
  XServer X;
  std::unique_ptr<ReceiverSim> Sim;
  fs::path Folder;
  Child Tool;

  void SetUp() override {
    ASSERT_FALSE(X.Display().empty()) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
    Sim = std::make_unique<ReceiverSim>();
    char tmpl[] = "/tmp/rcv910x-e2e-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    Folder = tmpl;
    // A copy of the tool with settings of the test's own beside it.
    fs::copy_file(RCV910X_TOOL, Folder / "rcv910x-tool");
    fs::copy_file(RCV910X_ICON, Folder / "rcv910x.ico");
    std::ofstream(Folder / "rcv910x-tool.ini") << "[Application]\nFormCaption=RCV910X e2e\nAppTitle=RCV910X e2e\n"
                                                  "AppIcon=rcv910x.ico\n[Information]\ndestination=Japan\n"
                                                  "[ComPort1]\nPort="
                                               << Sim->Path() << "\nBaudRate=19200\n";
  }
  void TearDown() override {
    Tool.Stop();
    Sim.reset();
    std::error_code ec;
    if (!Folder.empty()) fs::remove_all(Folder, ec);
  }

  void StartTool() { X.Launch(Tool, (Folder / "rcv910x-tool").string(), Folder.string()); }

  std::string Xdo(const std::string& Args, int* Status = nullptr) { return X.Xdo(Args, Status); }
  std::optional<Box> Window(const std::string& Name, std::chrono::milliseconds Timeout = 15s) {
    return X.Window(Name, Timeout);
  }
  void Click(int X_, int Y_, int Button = 1) { X.Click(X_, Y_, Button); }
  void Key(const std::string& Keys) { X.Key(Keys); }
  Screen Shot() { return X.Shot((Folder / "shot.ppm").string()); }
  // The box of a colour in the window, waiting for it to show.
  Box Landmark(const Box& Window, int R, int G, int B) {
    Box b;
    Eventually([&] {
      b = Shot().Find(Window, R, G, B);
      return !b.Empty();
    });
    return b;
  }
  // The start-up notice, shown above the main window: "O K" gives the main window free.
  void AcknowledgeNotice(std::optional<Box>& main) {
    auto notice = Window("Place of destination");
    ASSERT_TRUE(notice) << "the start-up notice did not show";
    main = Window("セッティング");
    ASSERT_TRUE(main) << "the main window did not show";
    Click(notice->Left + 225, notice->Top + 200);  // "O K", centred near the notice's foot
    ASSERT_TRUE(Eventually([&] { return !Xdo("search --onlyvisible --name 'Place of destination'").size(); }, 5s))
        << "the notice stayed after its O K";
  }

  // Acknowledges the start-up notice, picks the first model and presses the port button, as
  // the operator does; main is the main window, (barX, barY) the top-left of its client area.
  void Connect(std::optional<Box>& main, int& barX, int& barY) {
    ASSERT_NO_FATAL_FAILURE(AcknowledgeNotice(main));

    // The top bar, found by its port lamp (off: money green) at (172, 10, 22, 20).
    Box lamp = Landmark(*main, 192, 220, 192);
    ASSERT_FALSE(lamp.Empty()) << "no port lamp on the main window";
    barX = lamp.CentreX() - 183, barY = lamp.CentreY() - 20;

    // The model: the list opens on a click; the keys pick the first model.
    Click(barX + 278, barY + 20);
    Key("Down Return");
    // The port button, then the receiver is asked for its IDs.
    Click(barX + 658, barY + 20);
    ASSERT_TRUE(Sim->WaitForLines(1, 10000)) << "the port button did not open the port";
    EXPECT_EQ(Sim->Lines()[0], "ID ALL /R");
  }
  std::string Clipboard() { return X.Clipboard(); }
};

std::string WithoutCR(std::string S) {
  std::erase(S, '\r');
  return S;
}

}  // namespace

TEST_F(MainWindowEndToEnd, AnOperatorConnectsQueriesTypesACommandCopiesTheMonitorAndOpensThePortSetup) {
  StartTool();

  std::optional<Box> main;
  int barX = 0, barY = 0;
  ASSERT_NO_FATAL_FAILURE(Connect(main, barX, barY));

  // The control page: the monitor's navy background gives its place.
  Box memo = Landmark(*main, 0, 0, 128);
  ASSERT_FALSE(memo.Empty()) << "the control page did not show";
  // "RSSI　確認" on the functions page, right of the monitor.
  Click(memo.Left + 512, memo.Top + 251);
  ASSERT_TRUE(Sim->WaitForLines(2, 10000)) << "the RSSI button sent nothing";
  EXPECT_EQ(Sim->Lines()[1], "RS");

  // The command line below the monitor: click, replace its text, Enter.
  Click(memo.Left + 183, memo.Top + 463);
  Key("ctrl+a");
  Xdo("type --delay 80 VE");
  Key("Return");
  ASSERT_TRUE(Sim->WaitForLines(3, 10000)) << "Enter in the command line sent nothing";
  EXPECT_EQ(Sim->Lines()[2], "VE");
  std::this_thread::sleep_for(1s);  // the reply comes in and is decoded

  // One right click on the status bar, which has no menu of its own: the window's menu shows
  // once (it opens upwards, at the screen's foot); its first item, picked with the keys,
  // selects the monitor's whole text, F4 copies it. (The monitor itself offers the edit's own menu.)
  Click(main->Left + 300, main->Bottom - 8, 3);
  Key("Down Return");
  Key("F4");
  EXPECT_EQ(WithoutCR(Clipboard()),
            "ID ALL /R\n*No ID\nRS\n*5A\n< - 90 dBmです >\nVE\n*12\n18\n");

  // F2: the port setup window; its Cancel closes it.
  Key("F2");
  auto setup = Window("COM port setup dialog");
  ASSERT_TRUE(setup) << "F2 did not open the port setup window";
  Click(setup->Left + 296 + 47, setup->Bottom - 344 + 304 + 13);  // "Cancel" at (296, 304, 95, 27)
  EXPECT_TRUE(Eventually([&] { return Xdo("search --onlyvisible --name 'COM port setup dialog'").empty(); }, 5s))
      << "Cancel did not close the port setup window";

  EXPECT_EQ(Sim->Lines(), (std::vector<std::string>{"ID ALL /R", "RS", "VE"}));
  EXPECT_TRUE(Tool.Running());
}

// The options window, the image viewer and the conversion window, each opened the way the
// operator opens it and used once, then closed.
TEST_F(MainWindowEndToEnd, ToolWindowsOpenFromTheMenusAndTheTopBarAndClose) {
  StartTool();
  std::optional<Box> main;
  ASSERT_NO_FATAL_FAILURE(AcknowledgeNotice(main));
  Click(main->CentreX(), main->CentreY());

  // The Help menu's third item: the version box; Esc closes it.
  Click(main->Left + 114, main->Top + 10);  // "ﾍﾙﾌﾟ" on the menu bar
  Key("Down Down Down Return");
  ASSERT_TRUE(Window("Version Box")) << "the Help menu did not open the version box";
  Key("Escape");
  EXPECT_TRUE(Eventually([&] { return Xdo("search --onlyvisible --name 'Version Box'").empty(); }, 5s))
      << "Esc did not close the version box";

  // Ctrl+O: the options window; its "設定の保存" saves the colours and the clipboard type and closes it.
  Key("ctrl+o");
  auto options = Window("Option");
  ASSERT_TRUE(options) << "Ctrl+O did not open the options window";
  Click(options->Left + 8 + 60, options->Top + 520 + 15);
  EXPECT_TRUE(Eventually([&] { return Xdo("search --onlyvisible --name '^Option$'").empty(); }, 5s))
      << "the save button did not close the options window";
  std::ifstream ini(Folder / "rcv910x-tool.ini");
  std::string text((std::istreambuf_iterator<char>(ini)), {});
  EXPECT_NE(text.find("ClipBoardImageType=0"), std::string::npos) << text;

  // Ctrl+I: the image viewer at 892 x 525; its "Exit" button closes it.
  Key("ctrl+i");
  auto viewer = Window("Air monitor image viewer");
  ASSERT_TRUE(viewer) << "Ctrl+I did not open the image viewer";
  EXPECT_EQ(viewer->Right - viewer->Left + 1, 892);
  Click(viewer->Left + 2 + 40, viewer->Top + 2 + 15);
  EXPECT_TRUE(Eventually([&] { return Xdo("search --onlyvisible --name 'Air monitor image viewer'").empty(); }, 5s))
      << "Exit did not close the image viewer";

  // "Hex変換" in the top bar (found by the port lamp): the conversion window; a decimal
  // entry, then its OK closes it.
  Box lamp = Landmark(*main, 192, 220, 192);
  ASSERT_FALSE(lamp.Empty()) << "no port lamp on the main window";
  int barX = lamp.CentreX() - 183, barY = lamp.CentreY() - 20;
  Click(barX + 362 + 34, barY + 6 + 14);
  auto conversion = Window("Hex - Decimal conversion");
  ASSERT_TRUE(conversion) << "the Hex変換 button did not open the conversion window";
  Click(conversion->Left + 96 + 60, conversion->Top + 16 + 12);
  Key("ctrl+a");
  Xdo("type --delay 80 255");
  Key("Return");
  Click(conversion->Left + 162 + 50, conversion->Top + 134 + 16);
  EXPECT_TRUE(Eventually([&] { return Xdo("search --onlyvisible --name 'Hex - Decimal conversion'").empty(); }, 5s))
      << "OK did not close the conversion window";
  EXPECT_TRUE(Tool.Running());
}

// The air monitor: the page tabs take the keys after a click, Right brings the air monitor's
// page, and the frequency page's start button scans: the receiver is asked channel by channel
// ("CH Fn", then "RS") and the graph fills with bars.
TEST_F(MainWindowEndToEnd, AnOperatorScansTheChannelsAndTheGraphFillsWithBars) {
  for (int ch = 1; ch <= 10; ++ch) Sim->ChannelLevels[ch] = -50 - 4 * ch;
  StartTool();
  std::optional<Box> main;
  int barX = 0, barY = 0;
  ASSERT_NO_FATAL_FAILURE(Connect(main, barX, barY));
  ASSERT_FALSE(Landmark(*main, 0, 0, 128).Empty()) << "the control page did not show";

  Click(barX + 40, barY + 52);  // the control page's tab
  Key("Right");
  // The frequency page's graph, before and after the scan.
  const Box graph{barX + 70, barY + 110, barX + 590, barY + 420};
  Screen before = Shot();
  Click(barX + 659, barY + 100);  // "スタート" at (606, 6, 90, 32) on the frequency page
  auto asked = [&] {
    auto lines = Sim->Lines();
    return std::count(lines.begin(), lines.end(), std::string("RS")) >= 12;
  };
  ASSERT_TRUE(Eventually(asked, 15s)) << "the start button did not scan";
  auto lines = Sim->Lines();
  auto first = std::find(lines.begin(), lines.end(), std::string("CH F1"));
  ASSERT_NE(first, lines.end());
  ASSERT_GE(lines.end() - first, 4);
  EXPECT_EQ(*(first + 1), "RS");
  EXPECT_EQ(*(first + 2), "CH F2");
  EXPECT_EQ(*(first + 3), "RS");

  Screen after = Shot();
  int changed = 0;
  for (int y = graph.Top; y <= graph.Bottom; ++y)
    for (int x = graph.Left; x <= graph.Right; ++x) {
      size_t i = (static_cast<size_t>(y) * after.Width + x) * 3;
      if (after.Rgb[i] != before.Rgb[i] || after.Rgb[i + 1] != before.Rgb[i + 1] || after.Rgb[i + 2] != before.Rgb[i + 2])
        ++changed;
    }
  EXPECT_GT(changed, 2000) << "no bars rose in the graph";
  Click(barX + 659, barY + 100);  // "ストップ"

  // Ctrl+G: the image type window, its "Ok", then the save dialog's Enter writes the graph as
  // EMF (the first type) beside the tool, under the file-name field's text.
  Key("ctrl+g");
  auto type = Window("Image type");
  ASSERT_TRUE(type) << "Ctrl+G did not open the image type window";
  Click(type->Left + 146 + 55, type->Top + 132 + 16);  // "Ok" at (146, 132, 110, 32)
  ASSERT_TRUE(Window("Graph save as EMF")) << "no save dialog after the image type";
  Key("Return");
  std::string emf;
  EXPECT_TRUE(Eventually([&] {
    for (const auto& e : fs::directory_iterator(Folder))
      if (e.path().extension() == ".emf") {
        std::ifstream in(e.path(), std::ios::binary);
        emf.assign(std::istreambuf_iterator<char>(in), {});
        return emf.size() > 88;
      }
    return false;
  })) << "no EMF file was written";
  if (emf.size() > 88) {
    EXPECT_EQ(emf.substr(40, 4), " EMF") << "the file is not an enhanced metafile";
  }
  EXPECT_TRUE(Tool.Running());
}
