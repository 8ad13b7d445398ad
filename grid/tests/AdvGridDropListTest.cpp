// The filter drop-down lists: opened by a click on a header's filter button, picked from with
// real keys and clicks.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGridDropList.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/win/WinUser.h"

namespace {

// Column 1 holds b, a, b, c, "x y" under one fixed row; the filter row offers its values.
struct TDropGrid : TGridForm {
  DEreDuzeroVaro* g = grid;
  TDropGrid() {
    g->SetColCount(3);
    g->SetRowCount(6);
    const std::vector<String> v{u"b", u"a", u"b", u"c", u"x y"};
    for (int r = 1; r < 6; ++r) g->SetCells(1, r, v[static_cast<size_t>(r - 1)]);
    g->SetFilterDropDownAuto(true);
    g->SortSettings()->SetShow(true);
    ProcessPendingEvents();
  }
  // A click at DX pixels left of the header cell's right edge.
  void ClickHeader(int Col, int DX = 10) {
    const TRect r = g->CellRect(Col, 0);
    SimulateClick(g, r.Right - DX, r.Top + 5);
    ProcessPendingEvents();
  }
  std::vector<String> Shown() const {
    std::vector<String> s;
    for (int r = g->FixedRows(); r < g->RowCount(); ++r) s.push_back(g->Cells(1, r));
    return s;
  }
  std::vector<String> Entries(TCustomListBox* List) const {
    std::vector<String> s;
    for (int i = 0; i < List->Count(); ++i) s.push_back(List->Items()->Strings(i));
    return s;
  }
};

}  // namespace

TEST(AdvGridDropList, TheFilterButtonOpensTheListAndEnterPicksTheHighlightedEntry) {
  TDropGrid t;
  t.ClickHeader(1);
  TDropList* list = t.g->DropList();
  ASSERT_TRUE(list->Visible());
  EXPECT_EQ(t.g->FilterCol(), 1);
  EXPECT_EQ(t.Entries(list), (std::vector<String>{u"(All)", u"a", u"b", u"c", u"x y"}));
  EXPECT_EQ(list->ItemIndex(), 0);
  const TRect r = t.g->CellRect(1, 0);
  EXPECT_EQ(list->Top(), r.Top + 16);
  EXPECT_EQ(list->Height(), 150);
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"b", u"a", u"b", u"c", u"x y"})) << "the button click does not sort";
  // Other keys only move the highlight; Enter applies it and closes the list.
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_DOWN);
  ProcessPendingEvents();
  EXPECT_TRUE(list->Visible());
  EXPECT_FALSE(t.g->Filter()->HasFilter(1));
  SimulateKeyDown(list, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"b", u"b"}));
  EXPECT_EQ(t.g->FilterCol(), -1);
}

TEST(AdvGridDropList, AClickPicksAnEntryAndAClickElsewhereClosesWithoutFiltering) {
  TDropGrid t;
  t.ClickHeader(1);
  TDropList* list = t.g->DropList();
  ASSERT_TRUE(list->Visible());
  const TRect item = list->ItemRect(4);
  SimulateClick(list, item.Left + 5, item.Top + item.Height() / 2);
  ProcessPendingEvents();
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"x y"})) << "a value with a blank filters on its quoted form";
  // "(All)" brings every row back.
  t.ClickHeader(1);
  const TRect all = list->ItemRect(0);
  SimulateClick(list, all.Left + 5, all.Top + all.Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(t.Shown().size(), 5u);
  // A click in a normal cell, or on the open column's button again, closes the list.
  t.ClickHeader(1);
  ASSERT_TRUE(list->Visible());
  const TRect cell = t.g->CellRect(1, 3);
  SimulateClick(t.g, cell.Left + 5, cell.Top + 5);
  ProcessPendingEvents();
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(t.g->FilterCol(), -1);
  EXPECT_EQ(t.Shown().size(), 5u);
  t.ClickHeader(1);
  ASSERT_TRUE(list->Visible());
  t.ClickHeader(1);
  EXPECT_FALSE(list->Visible());
  // Left of the button zone, or on a column without values, nothing opens.
  t.ClickHeader(1, 20);
  EXPECT_FALSE(list->Visible());
  t.g->SetFilterDropDownAuto(false);
  t.ClickHeader(1);
  EXPECT_FALSE(list->Visible());
}

TEST(AdvGridDropList, SizesFollowTheSettings) {
  TDropGrid t;
  TFilterDropDown* d = t.g->FilterDropDown();
  d->SetColumnWidth(true);
  t.ClickHeader(1);
  TDropList* list = t.g->DropList();
  const TRect r = t.g->CellRect(1, 0);
  EXPECT_EQ(list->Left(), r.Left);
  EXPECT_EQ(list->Width(), r.Right - r.Left);
  t.ClickHeader(1);
  d->SetColumnWidth(false);
  d->SetAutoSize(true);
  t.ClickHeader(1);
  ASSERT_TRUE(list->Visible());
  const int edge = 2 * GetSystemMetrics(SM_CYEDGE);
  EXPECT_EQ(list->Height(), list->ItemRect(0).Height() * 5 + edge);
  EXPECT_LT(list->Width(), 150);
  // A list that would pass the grid's right edge ends at the column's right edge.
  t.ClickHeader(1);
  d->SetAutoSize(false);
  d->SetWidth(t.g->Width() - 10);
  t.ClickHeader(1);
  EXPECT_EQ(list->Left(), std::max(0, r.Right - list->Width()));
}

TEST(AdvGridDropList, CheckingEntriesShowsRowsMatchingAnyAndKeepsTheListOpen) {
  TDropGrid t;
  t.g->SetFilterDropDownCheck(true);
  t.ClickHeader(1);
  TDropCheckList* list = t.g->DropCheckList();
  ASSERT_TRUE(list->Visible());
  EXPECT_FALSE(t.g->DropList()->Visible());
  // The focus mark starts on "(All)": down to "a", Space checks it; down to "x y", Space
  // checks it too.
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_SPACE);
  ProcessPendingEvents();
  EXPECT_TRUE(list->Checked(1));
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"a"}));
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_SPACE);
  ProcessPendingEvents();
  EXPECT_TRUE(list->Visible());
  EXPECT_EQ(t.g->FilterCol(), 1);
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"a", u"x y"}));
  // Closed and opened again, the list shows the column's conditions checked.
  t.ClickHeader(1);
  EXPECT_FALSE(list->Visible());
  t.ClickHeader(1);
  ASSERT_TRUE(list->Visible());
  std::vector<bool> checked;
  for (int i = 0; i < list->Count(); ++i) checked.push_back(list->Checked(i));
  EXPECT_EQ(checked, (std::vector<bool>{false, true, false, false, true}));
  // Unchecking "a" leaves "x y".
  SimulateKeyStroke(list, VK_DOWN);
  SimulateKeyStroke(list, VK_SPACE);
  ProcessPendingEvents();
  EXPECT_EQ(t.Shown(), (std::vector<String>{u"x y"}));
}
