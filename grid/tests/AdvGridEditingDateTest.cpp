// The date and time editors over a cell: opened with F2 from the cell's text, and what they
// hold written back when Enter ends the edit.
#include <gtest/gtest.h>

#include "grid/AdvGridEditors.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

TEST(GridDateEditors, OpenFromTheCellAndWriteBack) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(4);
  g->SetOptions(g->Options() + goEditing);
  g->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& AEditor) {
    if (ACol == 1) AEditor = edDateEdit;
    else if (ACol == 2) AEditor = edTimeEdit;
  };
  const TDateTime day = EncodeDate(2026, 3, 4);
  const TDateTime time = EncodeTime(10, 20, 30, 0);
  g->SetCells(1, 1, DateToStr(day));
  g->SetCells(2, 1, TimeToStr(time));
  g->SetFocus();
  ProcessPendingEvents();

  struct Case {
    int Col;
    String Expected;
  } cases[] = {{1, DateToStr(day)}, {2, TimeToStr(time)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Col);
    const TRect cell = g->CellRect(c.Col, 1);
    SimulateClick(g, cell.Left + 4, cell.Top + 4);
    ProcessPendingEvents();
    SimulateKeyStroke(g, VK_F2);
    ProcessPendingEvents();
    ASSERT_TRUE(g->EditMode());
    TGridDatePicker* picker = g->DateTimePicker();
    ASSERT_TRUE(picker->Showing());
    if (c.Col == 1) EXPECT_EQ(picker->Date(), day);
    else EXPECT_NEAR(picker->Time(), time, 1.0 / 86400);
    // Enter ends the edit on its way down; its release reaches the grid.
    SimulateKeyDown(picker, VK_RETURN);
    SimulateKeyUp(g, VK_RETURN);
    ProcessPendingEvents();
    EXPECT_FALSE(picker->Showing());
    EXPECT_EQ(g->Cells(c.Col, 1), c.Expected);
  }
}
