// An open filter list closes when the user presses anywhere outside it and its grid, or turns
// to another program; presses inside the list keep it open.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGridDropList.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/StdCtrls.h"

namespace {

// A grid whose column 1 offers filter values, with an edit box beside it on the form.
struct TListGrid : TGridForm {
  DEreDuzeroVaro* g = grid;
  TEdit* edit = new TEdit(&form);
  TListGrid() {
    edit->SetParent(&form);
    edit->SetBounds(510, 10, 80, 24);
    g->SetColCount(3);
    g->SetRowCount(5);
    for (int r = 1; r < 5; ++r) g->SetCells(1, r, r % 2 ? u"odd" : u"even");
    g->SetFilterDropDownAuto(true);
    ProcessPendingEvents();
  }
  TCustomListBox* Open(bool Check) {
    g->SetFilterDropDownCheck(Check);
    const TRect r = g->CellRect(1, 0);
    SimulateClick(g, r.Right - 10, r.Top + 5);
    ProcessPendingEvents();
    return Check ? static_cast<TCustomListBox*>(g->DropCheckList()) : g->DropList();
  }
};

}  // namespace

TEST(AdvGridDragFilterLists, PressOutsideTheListAndGridClosesIt) {
  TListGrid t;
  struct TCase {
    const char* Name;
    bool Check;
    std::function<void()> Press;
  } cases[] = {
      {"a press on another control", false, [&] { SimulateClick(t.edit, 5, 5); }},
      {"a right press on the form", true, [&] { SimulateClick(&t.form, 550, 300, mbRight); }},
      {"another program's window", true, [] { SimulateActivateOtherApplication(); }},
  };
  for (const TCase& c : cases) {
    SimulateActivate(&t.form);
    TCustomListBox* list = t.Open(c.Check);
    ASSERT_TRUE(list->Visible()) << c.Name;
    c.Press();
    ProcessPendingEvents();
    EXPECT_FALSE(list->Visible()) << c.Name;
    EXPECT_EQ(t.g->FilterCol(), -1) << c.Name;
  }
  // A press inside the check list keeps it open; the grid's own header button closes it.
  SimulateActivate(&t.form);
  auto* checks = static_cast<TCheckListBox*>(t.Open(true));
  const TRect item = checks->ItemRect(1);
  SimulateClick(checks, item.Left + 6, item.Top + item.Height() / 2);
  ProcessPendingEvents();
  EXPECT_TRUE(checks->Visible());
  const TRect r = t.g->CellRect(1, 0);
  SimulateClick(t.g, r.Right - 10, r.Top + 5);
  ProcessPendingEvents();
  EXPECT_FALSE(checks->Visible());
}
