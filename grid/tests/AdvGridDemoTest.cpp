// The demo window: its grid shows the channel table.
#include <gtest/gtest.h>

#include "grid/AdvGridEditors.h"
#include "grid/demo/GridDemo.h"
#include "testing/TestSupport.h"

TEST(GridDemo, ShowsTheChannelTable) {
  TGridDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = form.Grid();
  EXPECT_EQ(g->Cells(1, 0), u"Frequency MHz");
  EXPECT_EQ(g->Cells(1, 1), u"426.0250");
  EXPECT_EQ(g->Cells(2, 10), u"-50");
  // The note covers three rows through its base cell.
  EXPECT_EQ(g->Cells(4, 3), u"Channels 1 to 3: receiver test set");
  std::unique_ptr<TBitmap> image = RenderControl(g);
  // A cell with a number shows its text, the header row the fixed colour.
  auto inkIn = [&](const TRect& r, TColor Background) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (PixelColor(*image, x, y) != Background) return true;
    return false;
  };
  TRect cell = g->CellRect(2, 5);
  TRect number(cell.Left + 3, cell.Top + 3, cell.Right - 3, cell.Bottom - 3);
  EXPECT_TRUE(inkIn(number, ColorToRGB(clWindow)));
  TRect header = g->CellRect(3, 0);
  EXPECT_NE(PixelColor(*image, header.Left + 2, header.Top + 2), ColorToRGB(clWindow));
}

TEST(GridDemo, CellKindsAndTheLookSwitch) {
  TGridDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = form.Grid();
  EXPECT_EQ(g->GetCellType(5, 1), ctCheckBox);
  EXPECT_EQ(g->GetCellType(6, 1), ctProgress);
  EXPECT_EQ(g->GetCellType(7, 1), ctRating);
  // The look follows the switch, picked with the keys.
  EXPECT_EQ(form.LookBox()->Items()->Count(), 9);
  form.LookBox()->SetFocus();
  ProcessPendingEvents();
  const TGridLook before = g->Look();
  ASSERT_TRUE(form.LookBox()->Showing());
  SimulateKeyStroke(form.LookBox(), VK_DOWN);
  ProcessPendingEvents();
  EXPECT_NE(g->Look(), before);
}

// The mode's pick list opens over its cell at the cell's height (its dropped list below).
TEST(GridDemo, ThePickListFitsItsCell) {
  TGridDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = form.Grid();
  const TRect cell = g->CellRect(3, 2);
  SimulateClick(g, cell.Left + 5, cell.Top + 5);
  ProcessPendingEvents();
  SimulateKeyStroke(g, VK_F2);
  ProcessPendingEvents();
  ASSERT_TRUE(g->EditMode());
  EXPECT_TRUE(g->EditCombo()->Showing());
  EXPECT_LE(g->EditCombo()->Height(), cell.Bottom - cell.Top + 1);
}
