// The tool's start-up runs the grid module's start-up, though no window of the tool places a grid.
#include "MainWindowFixture.h"
#include "grid/AdvGridValuesModule.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/ui/Clipbrd.h"

TEST_F(MainWindowTest, StartUpStartsTheGridModule) {
  Start();
  EXPECT_TRUE(GridModuleStarted());
  EXPECT_TRUE(GetClass(u"DEreDuzeroVaro"));
  EXPECT_NE(GridCellsFormat, 0);
  EXPECT_EQ(GridCellsFormat, RegisterClipboardFormat(u"DEreDuzeroVaro Cells"));
  EXPECT_NE(GridEditDoneMsg, 0);
}
