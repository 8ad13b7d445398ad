// The grid demo's "Exchange" menu as an operator uses it: the channel table saved as a
// workbook through the save dialog, read back by openpyxl.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "testing/XSession.h"

using namespace std::chrono_literals;
using e2e::Eventually;

namespace {

class GridDemoExchangeEndToEnd : public ::testing::Test {
protected:
  e2e::ProgramSession Session;
  const e2e::XServer& X = Session.X;
  const TempFolder& Folder = Session.Folder;

  void SetUp() override {
    ASSERT_TRUE(Session.Start(GRID_DEMO)) << "no X server could be started (is Xvfb installed? see scripts/packages.txt)";
  }
  bool DialogShown(const std::string& Title) {
    return Eventually([&] { return !X.Xdo("search --onlyvisible --name '" + Title + "'").empty(); }, 10s);
  }
  // Picks an item of the Exchange menu by its key and types a file name into its dialog.
  void UseDialog(const char* ItemKey, const std::string& Title, const std::string& File) {
    // The main window takes the keys again once the last dialog has gone.
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
      X.Xdo("search --onlyvisible --name '^String grid$' windowactivate --sync");
      std::this_thread::sleep_for(300ms);
      X.Key("alt+x");
      X.Key(ItemKey);
      shown = DialogShown(Title);
    }
    ASSERT_TRUE(shown) << "no dialog " << Title;
    std::this_thread::sleep_for(500ms);
    X.Xdo("type --delay 20 '" + File + "'");
    X.Key("Return");
  }
  std::string Python(const std::string& Script) {
    std::ofstream(Folder.File("check.py")) << Script;
    return e2e::Shell("/usr/bin/python3 " + Folder.File("check.py") + " 2>&1");
  }
};

}  // namespace

TEST_F(GridDemoExchangeEndToEnd, SavesTheTableAsAWorkbook) {
  ASSERT_TRUE(X.Window("^String grid$")) << "the demo's window did not show";
  std::this_thread::sleep_for(500ms);

  const std::string book = Folder.File("channels.xlsx");
  UseDialog("s", "Save the grid as", book);
  ASSERT_TRUE(Eventually([&] { return std::ifstream(book).good(); }, 15s)) << "no workbook was written";
  std::this_thread::sleep_for(1s);
  std::string out = Python("import openpyxl\nws = openpyxl.load_workbook('" + book +
                           "')['Channels']\nprint(ws['A1'].value, ws['B1'].value, ws['A2'].value, ws['D2'].value)\n");
  EXPECT_EQ(out, "Ch Frequency MHz 1 One-shot\n");
  EXPECT_TRUE(Session.Program.Running());
}
