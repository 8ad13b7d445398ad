// Core properties of the string grid with their side effects.
#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "grid/AdvGridValuesHint.h"

namespace {

struct PropsTest : ::testing::Test {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
};

TEST_F(PropsTest, SettersClampStoreAndApply) {
  g.SetSelectionColorMixerFactor(150);
  EXPECT_EQ(g.SelectionColorMixerFactor(), 100);
  g.SetSelectionColorMixerFactor(-5);
  EXPECT_EQ(g.SelectionColorMixerFactor(), 0);
  const std::pair<TVAlignment, UINT> flags[] = {{vtaTop, 0}, {vtaCenter, 4}, {vtaBottom, 8}};
  for (auto [va, f] : flags) {
    g.SetVAlignment(va);
    EXPECT_EQ(g.VAlignFlags(), f);
  }
  g.SetSpreadSheet(false);
  EXPECT_TRUE(g.SelectionRectangle());
  EXPECT_TRUE(g.SelectionResizer());
  EXPECT_TRUE(g.Options().Contains(goRangeSelect));
  EXPECT_TRUE(g.Options().Contains(goEditing));
  EXPECT_TRUE(g.MouseActions()->RangeSelectAndEdit());
  EXPECT_TRUE(g.Navigation()->AllowSmartClipboard());
  g.SetShowSelection(false);
  EXPECT_FALSE(g.ShowSel());
  g.SetWordWrap(false);
  EXPECT_FALSE(g.WordWrap());
  EXPECT_FALSE(g.TBaseGrid::WordWrap());
}

TEST_F(PropsTest, ZoomStepsWithinTenAndKeepsTinySizes) {
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetColWidths(1, 2);
  int w0 = g.ColWidths(0), h0 = g.RowHeights(0);
  g.Zoom(-2);
  EXPECT_EQ(g.ColWidths(1), 2);
  EXPECT_EQ(g.ColWidths(0), w0 - 2);
  EXPECT_EQ(g.RowHeights(0), h0 - 2);
  g.Zoom(10);  // -2 + 10 = 8
  EXPECT_EQ(g.ColWidths(0), w0 + 8);
  g.Zoom(3);  // beyond 10: nothing
  EXPECT_EQ(g.ColWidths(0), w0 + 8);
}

TEST_F(PropsTest, HTMLHintsSwitchTheApplicationsHintWindow) {
  g.SetUseHTMLHints(true);
  EXPECT_TRUE(g.UseHTMLHints());
  g.SetHint(u"<b>bold</b> hint");
  g.SetShowHint(true);
  SimulateActivate(&f.form);
  SimulateMouseMove(&g, 20, 20);
  ASSERT_TRUE(
      WaitUntil([] { return ApplicationHintWindow() != nullptr && ApplicationHintWindow()->Visible(); }, 5000));
  EXPECT_EQ(ApplicationHintWindow()->ClassName(), u"THTMLHintWindow");
  Application->CancelHint();
  g.SetUseHTMLHints(false);
}

}  // namespace
