// The string grid's keyboard, Enter and Tab navigation, update lock and focus handling.
#include <gtest/gtest.h>

#include "grid/tests/GridTestSupport.h"
#include "platform/ui/StdCtrls.h"

TEST(AdvGridKeys, UpdateLockCountsEveryCallAndRepaintsAtTheOutermostEnd) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  ProcessPendingEvents();
  int painted = g->PaintID();
  g->BeginUpdate();
  g->BeginUpdate();
  g->SetCells(1, 1, u"x");
  g->Invalidate();
  ProcessPendingEvents();
  g->EndUpdate();
  ProcessPendingEvents();
  EXPECT_EQ(g->PaintID(), painted) << "nothing paints while a level is still open";
  EXPECT_TRUE(g->LockUpdate());
  g->EndUpdate();
  ProcessPendingEvents();
  EXPECT_GT(g->PaintID(), painted) << "the outermost end repaints";
  EXPECT_FALSE(g->LockUpdate());

  // An end without a begin stays at 0 and still repaints.
  painted = g->PaintID();
  g->EndUpdate();
  EXPECT_EQ(g->UpdateCount(), 0);
  ProcessPendingEvents();
  EXPECT_GT(g->PaintID(), painted);

  // A hidden grid counts too, so begin and end stay paired across a visibility change.
  g->SetVisible(false);
  g->BeginUpdate();
  EXPECT_TRUE(g->LockUpdate());
  g->SetVisible(true);
  g->EndUpdate();
  EXPECT_FALSE(g->LockUpdate());

  // StartUpdate and ResetUpdate only count; LockUpdate writes begin and end.
  g->StartUpdate();
  g->StartUpdate();
  EXPECT_EQ(g->UpdateCount(), 2);
  g->ResetUpdate();
  EXPECT_EQ(g->UpdateCount(), 0);
  g->SetLockUpdate(true);
  EXPECT_EQ(g->UpdateCount(), 1);
  g->SetLockUpdate(false);
  EXPECT_EQ(g->UpdateCount(), 0);
}

namespace {

// A 6 x 6 grid (one fixed row and column) on a shown form, editing on, every cell filled.
struct TNavGrid : TGridForm {
  TNavGrid() {
    grid->SetColCount(6);
    grid->SetRowCount(6);
    TGridOptions o = grid->Options();
    o.Include(goEditing);
    grid->SetOptions(o);
    grid->Navigation()->SetAdvanceOnEnter(true);
    ProcessPendingEvents();
  }
  TPoint Cell() const { return TPoint(grid->Col(), grid->Row()); }
  void Go(int ACol, int ARow) { grid->FocusCell(ACol, ARow); }
};

}  // namespace

TEST(AdvGridKeys, AdvanceCellWalksWrapsAndStaysWhenNothingQualifies) {
  struct TCase {
    const char* Name;
    std::function<void(TNavGrid&)> Setup;
    TPoint From, To;
  };
  const std::vector<TCase> cases = {
      {"next column", nullptr, {2, 2}, {3, 2}},
      {"last column wraps to the next row", nullptr, {5, 2}, {1, 3}},
      {"last cell loops to the first row", nullptr, {5, 5}, {1, 1}},
      {"last cell without loop or append stays",
       [](TNavGrid& t) { t.grid->Navigation()->SetAdvanceOnEnterLoop(false); }, {5, 5}, {5, 5}},
      {"a merged cell is left past its area", [](TNavGrid& t) { t.grid->MergeCells(1, 2, 3, 1); }, {1, 2}, {4, 2}},
      {"a refused cell is stepped over",
       [](TNavGrid& t) {
         t.grid->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& Can) { Can = !(ACol == 3 && ARow == 2); };
       },
       {2, 2}, {4, 2}},
      {"no editable cell: the walk ends and the cell stays",
       [](TNavGrid& t) { t.grid->OnCanEditCell = [](TObject*, int, int, bool& Can) { Can = false; }; }, {2, 2}, {2, 2}},
      {"append refused: first normal column of the last row",
       [](TNavGrid& t) {
         t.grid->Navigation()->SetAdvanceInsert(true);
         t.grid->OnCanAddRow = [](TObject*, bool& Can) { Can = false; };
       },
       {5, 5}, {1, 5}},
      {"the handler redirects the move",
       [](TNavGrid& t) {
         t.grid->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
           NewRow = 4;
           NewCol = 2;
         };
       },
       {2, 2}, {2, 4}},
      {"top to bottom goes down the column", [](TNavGrid& t) { t.grid->Navigation()->SetAdvanceDirection(adTopBottom); },
       {2, 2}, {2, 3}},
      {"top to bottom wraps to the next column",
       [](TNavGrid& t) { t.grid->Navigation()->SetAdvanceDirection(adTopBottom); }, {2, 5}, {3, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TNavGrid t;
    if (c.Setup) c.Setup(t);
    t.Go(c.From.X, c.From.Y);
    t.grid->AdvanceCell(c.From.X, c.From.Y, false, false, true, false, false);
    EXPECT_EQ(t.Cell(), c.To);
  }
}

TEST(AdvGridKeys, AdvanceCellAppendsRowsAndColumnsAtTheEnd) {
  {
    TNavGrid t;
    t.grid->Navigation()->SetAdvanceInsert(true);
    int added = -1;
    t.grid->OnAutoAddRow = [&](TObject*, int ARow) { added = ARow; };
    t.Go(5, 5);
    t.grid->AdvanceCell(5, 5, false, false, true, false, false);
    EXPECT_EQ(t.grid->RowCount(), 7);
    EXPECT_EQ(t.Cell(), TPoint(1, 6));
    EXPECT_EQ(added, 6);
  }
  {
    TNavGrid t;
    t.grid->Navigation()->SetAdvanceInsert(true);
    t.grid->Navigation()->SetAdvanceDirection(adTopBottom);
    int inserted = -1;
    t.grid->OnAutoInsertCol = [&](TObject*, int ACol) { inserted = ACol; };
    t.Go(5, 5);
    t.grid->AdvanceCell(5, 5, false, false, true, false, false);
    EXPECT_EQ(t.grid->ColCount(), 7);
    EXPECT_EQ(t.Cell(), TPoint(6, 1));
    EXPECT_EQ(inserted, 6);
  }
  {
    // Without AdvanceOnEnter nothing moves unless forced.
    TNavGrid t;
    t.grid->Navigation()->SetAdvanceOnEnter(false);
    t.Go(2, 2);
    t.grid->AdvanceCell(2, 2, false, false, true, false, false);
    EXPECT_EQ(t.Cell(), TPoint(2, 2));
    t.grid->AdvanceCell(2, 2, true, false, true, false, false);
    EXPECT_EQ(t.Cell(), TPoint(3, 2));
  }
}

TEST(AdvGridKeys, TabWalksTheRowsWithTheTabKey) {
  struct TCase {
    const char* Name;
    std::function<void(TNavGrid&)> Setup;
    TPoint From;
    TShiftState Shift;
    TPoint To;
  };
  const std::vector<TCase> cases = {
      {"next column", nullptr, {2, 2}, {}, {3, 2}},
      {"end of the row: next row", nullptr, {5, 2}, {}, {1, 3}},
      {"last cell: first row", nullptr, {5, 5}, {}, {1, 1}},
      {"back to the previous column", nullptr, {3, 2}, {ssShift}, {2, 2}},
      {"first normal cell back to the last editable cell of the last row",
       [](TNavGrid& t) {
         t.grid->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& Can) { Can = !(ARow == 5 && ACol == 5); };
       },
       {1, 1}, {ssShift}, {4, 5}},
      {"cells that may not be edited are skipped",
       [](TNavGrid& t) {
         t.grid->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& Can) { Can = !(ARow == 2 && ACol > 2); };
       },
       {2, 2}, {}, {1, 3}},
      {"no editable cell: the cell stays",
       [](TNavGrid& t) { t.grid->OnCanEditCell = [](TObject*, int, int, bool& Can) { Can = false; }; }, {2, 2}, {},
       {2, 2}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TNavGrid t;
    TGridOptions o = t.grid->Options();
    o.Include(goTabs);
    t.grid->SetOptions(o);
    t.grid->Navigation()->SetAdvanceAutoEdit(false);
    if (c.Setup) c.Setup(t);
    t.Go(c.From.X, c.From.Y);
    SimulateKeyStroke(t.grid, VK_TAB, c.Shift);
    EXPECT_EQ(t.Cell(), c.To);
  }
}

TEST(AdvGridKeys, TabAtTheEndAppendsARowOrLeavesTheGrid) {
  {
    TNavGrid t;
    TGridOptions o = t.grid->Options();
    o.Include(goTabs);
    t.grid->SetOptions(o);
    t.grid->Navigation()->SetAdvanceAutoEdit(false);
    t.grid->Navigation()->SetAdvanceInsert(true);
    t.Go(5, 5);
    SimulateKeyStroke(t.grid, VK_TAB);
    EXPECT_EQ(t.grid->RowCount(), 7);
    EXPECT_EQ(t.Cell(), TPoint(1, 6));
  }
  {
    TNavGrid t;
    TEdit* next = new TEdit(&t.form);
    next->SetParent(&t.form);
    next->SetBounds(10, 320, 100, 24);
    TGridOptions o = t.grid->Options();
    o.Include(goTabs);
    t.grid->SetOptions(o);
    t.grid->Navigation()->SetAdvanceAutoEdit(false);
    t.grid->Navigation()->SetTabToNextAtEnd(true);
    t.grid->SetFocus();
    t.Go(5, 5);
    SimulateKeyStroke(t.grid, VK_TAB);
    EXPECT_EQ(t.Cell(), TPoint(1, 1));
    EXPECT_TRUE(WaitUntil([&] { return next->Focused(); }, 3000));
  }
}

TEST(AdvGridKeys, KeysFollowTheNavigationOptions) {
  struct TCase {
    const char* Name;
    std::function<void(TNavGrid&)> Setup;
    TPoint From;
    Word Key;
    TShiftState Shift;
    std::function<void(TNavGrid&)> Check;
  };
  auto tall = [](TNavGrid& t) { t.grid->SetRowCount(60); };
  const std::vector<TCase> cases = {
      {"scroll only: Down scrolls and the cell stays",
       [&](TNavGrid& t) {
         tall(t);
         t.grid->Navigation()->SetMoveScrollOnly(true);
       },
       {2, 2}, VK_DOWN, {},
       [](TNavGrid& t) {
         EXPECT_EQ(t.grid->TopRow(), 2);
         EXPECT_EQ(t.Cell(), TPoint(2, 2));
       }},
      {"scroll only: Down at the bottom does nothing",
       [&](TNavGrid& t) {
         tall(t);
         t.grid->Navigation()->SetMoveScrollOnly(true);
         t.grid->SetTopRow(60 - t.grid->VisibleRowCount());
       },
       {2, 50}, VK_DOWN, {},
       [](TNavGrid& t) {
         EXPECT_EQ(t.grid->TopRow(), 60 - t.grid->VisibleRowCount());
         EXPECT_EQ(t.Cell(), TPoint(2, 50));
       }},
      {"scroll only: Right still moves",
       [](TNavGrid& t) { t.grid->Navigation()->SetMoveScrollOnly(true); }, {2, 2}, VK_RIGHT, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(3, 2)); }},
      {"Shift+Home selects back to the first column", nullptr, {4, 3}, VK_HOME, {ssShift},
       [](TNavGrid& t) {
         TGridRect s = t.grid->Selection();
         EXPECT_EQ(TPoint(s.Left, s.Right), TPoint(1, 4));
         EXPECT_EQ(TPoint(s.Top, s.Bottom), TPoint(3, 3));
       }},
      {"Shift+End selects to the last normal column",
       [](TNavGrid& t) { t.grid->SetFixedRightCols(1); }, {2, 3}, VK_END, {ssShift},
       [](TNavGrid& t) {
         TGridRect s = t.grid->Selection();
         EXPECT_EQ(TPoint(s.Left, s.Right), TPoint(2, 4));
       }},
      {"End moves to the last column", nullptr, {2, 3}, VK_END, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(5, 3)); }},
      {"first and last row: End",
       [](TNavGrid& t) { t.grid->Navigation()->SetHomeEndKey(heFirstLastRow); }, {2, 3}, VK_END, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(2, 5)); }},
      {"first and last row: End stops above the footer rows",
       [](TNavGrid& t) {
         t.grid->Navigation()->SetHomeEndKey(heFirstLastRow);
         t.grid->SetFixedFooters(1);
       },
       {2, 2}, VK_END, {}, [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(2, 4)); }},
      {"first and last cell: Home",
       [](TNavGrid& t) { t.grid->Navigation()->SetHomeEndKey(heFirstLastCell); }, {4, 4}, VK_HOME, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(1, 1)); }},
      {"snake: Right in the last column goes to the next row",
       [](TNavGrid& t) { t.grid->Navigation()->SetCursorAdvance(caSnake); }, {5, 2}, VK_RIGHT, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(1, 3)); }},
      {"snake: on the last normal row the row stays",
       [](TNavGrid& t) { t.grid->Navigation()->SetCursorAdvance(caSnake); }, {5, 5}, VK_RIGHT, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(1, 5)); }},
      {"loop: Down on the last row goes to the first",
       [](TNavGrid& t) { t.grid->Navigation()->SetCursorAdvance(caLoop); }, {3, 5}, VK_DOWN, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(3, 1)); }},
      {"default: Down on the last row stays", nullptr, {3, 5}, VK_DOWN, {},
       [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(3, 5)); }},
      {"Down on the last normal row appends a row",
       [](TNavGrid& t) { t.grid->Navigation()->SetAppendOnArrowDown(true); }, {3, 5}, VK_DOWN, {},
       [](TNavGrid& t) {
         EXPECT_EQ(t.grid->RowCount(), 7);
         EXPECT_EQ(t.Cell(), TPoint(3, 6));
       }},
      {"fixed cells inside the grid are jumped over",
       [](TNavGrid& t) {
         t.grid->OnIsFixedCell = [](TObject*, int, int ACol, bool& Fixed) { Fixed = ACol == 3; };
       },
       {2, 2}, VK_RIGHT, {}, [](TNavGrid& t) { EXPECT_EQ(t.Cell(), TPoint(4, 2)); }},
      {"Ctrl+A selects the normal cells and marks the normal rows",
       [](TNavGrid& t) {
         t.grid->SetFixedFooters(1);
         t.grid->SetFixedRightCols(1);
         t.grid->MouseActions()->SetDisjunctRowSelect(true);
       },
       {2, 2}, 'A', {ssCtrl},
       [](TNavGrid& t) {
         TGridRect s = t.grid->Selection();
         EXPECT_EQ(TPoint(s.Left, s.Top), TPoint(1, 1));
         EXPECT_EQ(TPoint(s.Right, s.Bottom), TPoint(4, 4));
         for (int r = 1; r <= 4; ++r) EXPECT_TRUE(t.grid->RowSelect(r)) << r;
         EXPECT_FALSE(t.grid->RowSelect(5));
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TNavGrid t;
    TGridOptions o = t.grid->Options();
    o.Exclude(goEditing);
    t.grid->SetOptions(o);
    if (c.Setup) c.Setup(t);
    t.Go(c.From.X, c.From.Y);
    SimulateKeyStroke(t.grid, c.Key, c.Shift);
    c.Check(t);
  }
}

TEST(AdvGridKeys, EnterOnAReadOnlyCellReachesOnlyAPreviewingForm) {
  for (bool preview : {false, true}) {
    SCOPED_TRACE(preview ? "KeyPreview" : "no KeyPreview");
    TNavGrid t;
    TGridOptions o = t.grid->Options();
    o.Exclude(goEditing);
    t.grid->SetOptions(o);
    t.form.SetKeyPreview(preview);
    int formSaw = 0, gridSaw = 0;
    t.form.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { formSaw += Key == VK_RETURN; };
    t.grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { gridSaw += Key == VK_RETURN; };
    t.Go(2, 2);
    SimulateKeyStroke(t.grid, VK_RETURN);
    EXPECT_EQ(formSaw, preview ? 1 : 0);
    EXPECT_EQ(gridSaw, 1);
    EXPECT_EQ(t.Cell(), TPoint(2, 2));
  }
}

TEST(AdvGridKeys, SpaceTogglesACheckBoxOnlyWhereItMay) {
  for (bool always : {false, true}) {
    SCOPED_TRACE(always ? "CheckAlwaysActive" : "editing off");
    TNavGrid t;
    TGridOptions o = t.grid->Options();
    o.Exclude(goEditing);
    t.grid->SetOptions(o);
    t.grid->ControlLook()->SetCheckAlwaysActive(always);
    t.grid->AddCheckBox(2, 2, false, false);
    int clicks = 0;
    bool reported = false;
    t.grid->OnCheckBoxClick = [&](TObject*, int, int, bool State) {
      ++clicks;
      reported = State;
    };
    t.Go(2, 2);
    SimulateKeyStroke(t.grid, VK_SPACE);
    EXPECT_EQ(t.grid->IsChecked(2, 2), always);
    EXPECT_EQ(clicks, always ? 1 : 0);
    if (always) {
      EXPECT_TRUE(reported) << "the state after the toggle";
    }
  }
}

TEST(AdvGridKeys, JumpTextIsKeptByHomeAndForgottenByOtherMoves) {
  TNavGrid t;
  TGridOptions o = t.grid->Options();
  o.Exclude(goEditing);
  t.grid->SetOptions(o);
  t.grid->Navigation()->SetAutoGotoWhenSorted(true);
  t.grid->Navigation()->SetAutoGotoIncremental(true);
  t.Go(2, 2);
  SimulateTyping(t.grid, u"ab");
  EXPECT_EQ(t.grid->IncrSearchText(), u"ab");
  SimulateKeyStroke(t.grid, VK_BACK);
  EXPECT_EQ(t.grid->IncrSearchText(), u"a");
  SimulateKeyStroke(t.grid, VK_HOME);
  EXPECT_EQ(t.grid->IncrSearchText(), u"a");
  SimulateKeyStroke(t.grid, VK_END);
  EXPECT_EQ(t.grid->IncrSearchText(), u"");
}

TEST(AdvGridKeys, WheelMovesTheRowByTheSystemLinesWithinTheNormalRows) {
  TNavGrid t;
  t.grid->SetRowCount(40);
  t.grid->SetFixedFooters(1);
  const int lines = t.grid->WheelScrollLines();
  ASSERT_GT(lines, 0);
  t.Go(2, 2);
  TRect cell = t.grid->CellRect(2, 2);
  SimulateMouseWheel(t.grid, -120, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(t.grid->Row(), 2 + lines);
  // A flood of turns never passes the last normal row nor the first.
  for (int i = 0; i < 200; ++i) SimulateMouseWheel(t.grid, -120, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(t.grid->Row(), 38);
  for (int i = 0; i < 200; ++i) SimulateMouseWheel(t.grid, 120, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(t.grid->Row(), 1);

  // Scrolling moves the top row and leaves the cell; the wheel event still fires.
  t.grid->MouseActions()->SetWheelAction(waScroll);
  int downs = 0;
  t.grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++downs; };
  const int top = t.grid->TopRow();
  SimulateMouseWheel(t.grid, -120, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(t.grid->TopRow(), top + lines);
  EXPECT_EQ(t.grid->Row(), 1);
  EXPECT_EQ(downs, 1);
}
