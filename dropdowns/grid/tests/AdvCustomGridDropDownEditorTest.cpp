// The string grid's cell editor of the grid drop-down kind, opened over a cell with the real
// keyboard: what the grid sets on the drop-down when it opens.

#include <gtest/gtest.h>

#include "dropdowns/grid/AdvCustomGridDropDownEditor.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

// A grid whose cell (1, 1) edits with the grid drop-down; the application fills the drop-down's
// items for the cell in OnGetEditorProp, without an update bracket of its own.
struct TDropDownCellGrid {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TGridAdvGridDropDown* dd = nullptr;
  TDropDownCellGrid() {
    RegisterAdvGridDropDownEditor();
    form.SetBounds(50, 50, 600, 400);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 500, 300);
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetOptions(grid->Options() + goEditing);
    grid->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
      if (ACol == 1) E = edAdvGridDropDown;
    };
    dd = dynamic_cast<TGridAdvGridDropDown*>(grid->AdvGridDropDown());
    grid->OnGetEditorProp = [this](TObject*, int, int, TEditLink*) {
      if (dd->Columns()->Count() == 0) dd->Columns()->Add()->SetHeader(u"Fruit");
      dd->Items()->Clear();
      for (const char16_t* fruit : {u"Apple", u"Banana", u"Cherry"}) dd->Items()->Add()->Text()->Add(fruit);
    };
    form.Show();
    grid->SetCol(1);
    grid->SetRow(1);
    grid->SetFocus();
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(GridDropDownCellEditor, OpensWithItsHeaderRowKeptAndTheCellsItemsCompletingTyping) {
  TDropDownCellGrid f;
  ASSERT_NE(f.dd, nullptr);
  f.dd->GetGrid()->SetFixedRowAlways(false);
  SimulateKeyStroke(f.grid, VK_F2);
  ProcessPendingEvents();
  ASSERT_TRUE(f.dd->Showing());
  EXPECT_TRUE(f.dd->GetGrid()->FixedRowAlways());
  SimulateChar(f.dd, u'b');
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"Banana");
  SimulateKeyDown(f.dd, VK_RETURN);
  SimulateKeyUp(f.grid, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->Showing());
  EXPECT_EQ(f.grid->Cells(1, 1), u"Banana");
}
