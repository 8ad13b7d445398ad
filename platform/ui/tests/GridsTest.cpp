#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ValEdit.h"
#include "GridsTestSupport.h"

namespace {

TEST(StringGridStore, KeepsCellsBeyondTheCountsUntilClearedExplicitly) {
  TStringGrid grid(nullptr);
  TObject a, b;
  grid.SetCells(7, 9, u"far");  // beyond the 5 x 5 counts
  grid.SetObjects(300, 2, &a);
  EXPECT_EQ(grid.Cells(7, 9), u"far");
  EXPECT_EQ(grid.Objects(300, 2), &a);
  EXPECT_EQ(grid.Cells(1, 1), u"");
  EXPECT_EQ(grid.Objects(1, 1), nullptr);

  grid.SetCells(3, 3, u"kept");
  grid.SetObjects(3, 3, &b);
  grid.SetColCount(2);  // shrinking hides, never drops
  grid.SetRowCount(2);
  EXPECT_EQ(grid.Cells(3, 3), u"kept");
  grid.SetColCount(6);
  grid.SetRowCount(6);
  EXPECT_EQ(grid.Cells(3, 3), u"kept");
  EXPECT_EQ(grid.Objects(3, 3), &b);

  // A cell emptied of text and object leaves the store.
  EXPECT_EQ(grid.StoredCellCount(), 3u);
  grid.SetCells(3, 3, u"");
  EXPECT_EQ(grid.StoredCellCount(), 3u);  // the object still holds it
  grid.SetObjects(3, 3, nullptr);
  EXPECT_EQ(grid.StoredCellCount(), 2u);

  EXPECT_THROW(grid.Cells(-1, 0), EInvalidGridOperation);
  EXPECT_THROW(grid.SetCells(0, -1, u"x"), EInvalidGridOperation);
  grid.ClearCells();
  EXPECT_EQ(grid.StoredCellCount(), 0u);
  EXPECT_EQ(grid.Cells(7, 9), u"");
}

TEST(StringGridStore, RowAndColumnViewsReadWriteAndAssignTheCountedCells) {
  TStringGrid grid(nullptr);
  grid.SetColCount(3);
  TObject o;
  TStrings* row1 = grid.Rows(1);
  ASSERT_EQ(row1->Count(), 3);
  row1->Put(0, u"a");
  row1->PutObject(2, &o);
  EXPECT_EQ(grid.Cells(0, 1), u"a");
  EXPECT_EQ(grid.Objects(2, 1), &o);
  grid.SetCells(1, 4, u"col");
  EXPECT_EQ(grid.Cols(1)->Get(4), u"col");
  EXPECT_EQ(grid.Cols(1)->Count(), grid.RowCount());

  // Assigning a row copies texts and objects of the counted cells; the rest is dropped.
  TStringList src;
  src.AddObject(u"x", &o);
  src.Add(u"");
  src.Add(u"z");
  src.Add(u"beyond");
  grid.SetCells(3, 2, u"outside");  // past the count: assignment leaves it alone
  grid.SetRows(2, &src);
  EXPECT_EQ(grid.Cells(0, 2), u"x");
  EXPECT_EQ(grid.Objects(0, 2), &o);
  EXPECT_EQ(grid.Cells(1, 2), u"");
  EXPECT_EQ(grid.Cells(2, 2), u"z");
  EXPECT_EQ(grid.Cells(3, 2), u"outside");
  // Row to row.
  grid.SetRows(3, grid.Rows(2));
  EXPECT_EQ(grid.Cells(2, 3), u"z");
  EXPECT_EQ(grid.Objects(0, 3), &o);

  grid.Rows(2)->Clear();
  EXPECT_EQ(grid.Cells(0, 2), u"");
  EXPECT_EQ(grid.Objects(0, 2), nullptr);
  EXPECT_THROW(grid.Rows(2)->Insert(0, u"no"), EInvalidGridOperation);
  EXPECT_THROW(grid.Rows(2)->Delete(0), EInvalidGridOperation);
}

TEST(CustomGridCounts, FixedCountsStayBelowCountsAndSizesFollowTheDefaults) {
  TStringGrid grid(nullptr);
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_THROW(grid.SetFixedRows(5), EInvalidGridOperation);
  EXPECT_THROW(grid.SetFixedCols(-1), EInvalidGridOperation);
  grid.SetFixedRows(3);
  grid.SetRowCount(3);  // down to the fixed count: the fixed count follows
  EXPECT_EQ(grid.FixedRows(), 2);
  grid.SetRowCount(0);  // a grid keeps one row
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0);

  grid.SetColWidths(2, 0);  // a column may take no room
  grid.SetColWidths(3, 90);
  EXPECT_EQ(grid.ColWidths(2), 0);
  EXPECT_THROW(grid.SetColWidths(1, -1), EInvalidGridOperation);
  EXPECT_THROW(grid.ColWidths(5), EInvalidGridOperation);
  grid.SetColCount(7);  // new columns get the default width
  EXPECT_EQ(grid.ColWidths(6), 64);
  grid.SetDefaultColWidth(30);  // and setting the default gives it to every column
  for (int c = 0; c < 7; ++c) EXPECT_EQ(grid.ColWidths(c), 30);
  grid.SetRowCount(4);
  grid.SetRowHeights(3, 5);
  grid.SetDefaultRowHeight(11);
  EXPECT_EQ(grid.RowHeights(3), 11);
}

TEST_F(GridFixture, GridLineWidthSpacesTheCellsAndCellRectIsEmptyOutOfView) {
  EXPECT_EQ(grid->CellRect(0, 0).Left, 2);  // inside the sunken border
  EXPECT_EQ(grid->CellRect(2, 1).Left, grid->CellRect(1, 1).Right + 1);
  grid->SetGridLineWidth(0);
  EXPECT_EQ(grid->CellRect(2, 1).Left, grid->CellRect(1, 1).Right);
  EXPECT_EQ(grid->CellRect(2, 2).Top, grid->CellRect(2, 1).Bottom);
  grid->SetBorderStyle(bsNone);
  EXPECT_EQ(grid->CellRect(0, 0).Left, 0);
  EXPECT_EQ(grid->CellRect(9, 1), TRect(0, 0, 0, 0));
  TGridCoord at = grid->MouseCoord(Centre(3, 2).X, Centre(3, 2).Y);
  EXPECT_EQ(at, (TGridCoord{3, 2}));
  EXPECT_EQ(grid->MouseCoord(290, 5), (TGridCoord{-1, -1}));  // right of the last column
}

TEST_F(GridFixture, KeysMoveTheCurrentCellThroughSelectCell) {
  std::vector<TGridCoord> asked;
  bool allow = true;
  grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
    asked.push_back({c, r});
    can = allow;
  };
  struct Step { Word key; TShiftState shift; int col, row; };
  const Step steps[] = {
      {VK_RIGHT, {}, 2, 1}, {VK_DOWN, {}, 2, 2}, {VK_END, {}, 4, 2}, {VK_RIGHT, {}, 4, 2},  // at the edge
      {VK_HOME, {}, 1, 2},  {VK_UP, {}, 1, 1},   {VK_UP, {}, 1, 1},  // never into the fixed row
      {VK_END, {ssCtrl}, 4, 4}, {VK_HOME, {ssCtrl}, 1, 1},
  };
  for (const Step& s : steps) {
    SimulateKeyStroke(grid, s.key, s.shift);
    EXPECT_EQ(grid->Col(), s.col) << "key " << s.key;
    EXPECT_EQ(grid->Row(), s.row) << "key " << s.key;
  }
  EXPECT_EQ(asked.front(), (TGridCoord{2, 1}));
  allow = false;  // a refused cell: nothing moves
  SimulateKeyStroke(grid, VK_DOWN);
  EXPECT_EQ(grid->Row(), 1);
  allow = true;
  // Shift extends a range from the anchor.
  SimulateKeyStroke(grid, VK_RIGHT, {ssShift});
  SimulateKeyStroke(grid, VK_DOWN, {ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
  SimulateKeyStroke(grid, VK_DOWN);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(GridFixture, ClicksMoveTheCurrentCellAndFixedCellsAreNotSelectable) {
  ClickCell(3, 2);
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{3, 2}));
  ClickCell(0, 4);  // fixed column
  ClickCell(2, 0);  // fixed row
  EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{3, 2}));
  ClickCell(1, 4, {ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));
  grid->SetOptions(grid->Options() - goRangeSelect);
  ClickCell(2, 1, {ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 2, 1}));

  EXPECT_THROW(grid->SetRow(0), EInvalidGridOperation);
  EXPECT_THROW(grid->SetCol(5), EInvalidGridOperation);
  // Selection is written as given: parked outside the grid it selects nothing, and the
  // next key brings the current cell back inside.
  grid->SetSelection({5, 5, 5, 5});
  EXPECT_EQ(grid->Col(), 5);
  RenderControl(grid);
  SimulateKeyStroke(grid, VK_LEFT);
  EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{4, 4}));
}

TEST_F(GridFixture, ColSizingDragsAColumnEdgeInTheFixedRowsOnly) {
  const int row = grid->Row();
  auto drag = [this](int X, int Y, int By) {
    SimulateMouseDown(grid, mbLeft, X, Y);
    SimulateMouseMove(grid, X + By / 2, Y, {ssLeft});
    SimulateMouseUp(grid, mbLeft, X + By, Y);
    ProcessPendingEvents();
  };
  const TRect head = grid->CellRect(1, 0);
  drag(head.Right - 1, head.Top + 5, 25);  // off: nothing is sized
  EXPECT_EQ(grid->ColWidths(1), 40);
  TGridOptions o = grid->Options();
  o += goColSizing;
  grid->SetOptions(o);
  drag(head.Right - 1, head.Top + 5, 25);
  EXPECT_EQ(grid->ColWidths(1), 65);
  drag(grid->CellRect(1, 0).Right - 1, head.Top + 5, -80);  // never below 0
  EXPECT_EQ(grid->ColWidths(1), 0);
  // The same edge in a scrollable row is no sizing edge.
  const TRect cell = grid->CellRect(2, 2);
  drag(cell.Right - 1, cell.Top + 5, 20);
  EXPECT_EQ(grid->ColWidths(2), 40);
  EXPECT_NE(grid->Row(), row);
  EXPECT_EQ(grid->GridState(), gsNormal);
}

TEST_F(GridFixture, ScrollsTheCurrentCellIntoViewWithItsScrollBars) {
  grid->SetRowCount(30);
  grid->SetColCount(20);
  ASSERT_NE(grid->VertScrollBar(), nullptr);
  ASSERT_NE(grid->HorzScrollBar(), nullptr);
  int rows = grid->VisibleRowCount();
  EXPECT_EQ(rows, (grid->ClientHeight() - 4 - 21) / 21);
  std::vector<int> tops;
  grid->OnTopLeftChanged = [&](TObject*) { tops.push_back(grid->TopRow()); };

  for (int i = 0; i < rows; ++i) SimulateKeyStroke(grid, VK_DOWN);
  EXPECT_EQ(grid->Row(), rows + 1);
  EXPECT_EQ(grid->TopRow(), 2);  // one row on, so the current row shows whole
  EXPECT_EQ(tops, (std::vector<int>{2}));
  EXPECT_EQ(grid->VertScrollBar()->Position(), 2);
  EXPECT_EQ(grid->CellRect(1, 1), TRect(0, 0, 0, 0));  // scrolled out
  TRect fixed = grid->CellRect(1, 0);
  EXPECT_EQ(fixed.Top, 2);  // the fixed row stays

  SimulateKeyStroke(grid, VK_END, {ssCtrl});
  EXPECT_EQ(grid->TopRow(), 30 - rows);
  EXPECT_EQ(grid->LeftCol(), 20 - grid->VisibleColCount());

  // The bar's arrow scrolls the view; the current cell stays.
  TScrollBar* bar = grid->VertScrollBar();
  SimulateClick(bar, bar->Width() / 2, 5);
  EXPECT_EQ(grid->TopRow(), 30 - rows - 1);
  EXPECT_EQ(grid->Row(), 29);
  grid->SetTopRow(-4);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(bar->Position(), 1);

  // When everything fits again the bars go.
  grid->SetRowCount(3);
  grid->SetColCount(3);
  EXPECT_EQ(grid->VertScrollBar(), nullptr);
  EXPECT_EQ(grid->HorzScrollBar(), nullptr);
  EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridFixture, DefaultDrawingShowsFixedSelectedAndFocusedCells) {
  grid->SetCells(1, 0, u"HEAD");
  grid->SetCells(2, 2, u"text");
  grid->SetSelection({1, 1, 2, 2});  // current cell (2, 2)
  grid->SetFocus();
  QImage img = Render(grid);
  auto inner = [&](int c, int r) {
    TRect rc = grid->CellRect(c, r);
    return Rect(rc.Left + 2, rc.Top + 2, rc.Right - 2, rc.Bottom - 2);
  };
  auto area = [](const TRect& r) { return r.Width() * r.Height(); };
  // Selected, not focused: highlighted whole; the focused cell keeps the window colour.
  EXPECT_EQ(CountColor(img, inner(1, 1), clHighlight), area(inner(1, 1)));
  EXPECT_EQ(CountColor(img, inner(2, 1), clHighlight), area(inner(2, 1)));
  EXPECT_EQ(CountColor(img, inner(2, 2), clHighlight), 0);
  EXPECT_GT(InkPixels(img, inner(2, 2)), 10);  // its text
  EXPECT_GT(CountColor(img, inner(3, 0), clBtnFace), area(inner(3, 0)) * 9 / 10);  // fixed
  EXPECT_GT(InkPixels(img, inner(1, 0)), 10);
  EXPECT_GT(CountColor(img, inner(4, 4), clWindow), area(inner(4, 4)) * 9 / 10);
  // The grid lines: silver between scrollable cells.
  TRect c33 = grid->CellRect(3, 3);
  EXPECT_EQ(CountColor(img, Rect(c33.Right, c33.Top, c33.Right + 1, c33.Bottom), clSilver, 8), c33.Height());

  grid->SetOptions(grid->Options() + goDrawFocusSelected);
  img = Render(grid);
  EXPECT_GT(CountColor(img, inner(2, 2), clHighlight), area(inner(2, 2)) / 2);
}

TEST_F(GridFixture, WithoutDefaultDrawingTheGridLeavesCellsToOnDrawCell) {
  std::vector<std::pair<TGridCoord, TGridDrawState>> drawn;
  grid->OnDrawCell = [&](TObject*, int c, int r, TRect rc, TGridDrawState st) {
    drawn.push_back({{c, r}, st});
    if (c == 3 && r == 3) {
      grid->Canvas()->Brush()->SetColor(clRed);
      grid->Canvas()->FillRect(rc);
    }
  };
  grid->SetDefaultDrawing(false);
  grid->SetCells(2, 2, u"text");
  grid->SetSelection({1, 1, 2, 2});
  grid->SetFocus();
  QImage img = Render(grid);
  TRect c22 = grid->CellRect(2, 2), c11 = grid->CellRect(1, 1), c33 = grid->CellRect(3, 3);
  EXPECT_EQ(InkPixels(img, c22), 0);  // no text
  EXPECT_EQ(CountColor(img, c11, clHighlight), 0);  // no highlight
  EXPECT_EQ(CountColor(img, c33, clRed), c33.Width() * c33.Height());
  EXPECT_EQ(drawn.size(), 25u);  // every cell, fixed ones too
  auto stateOf = [&](int c, int r) {
    for (auto& [at, st] : drawn)
      if (at == TGridCoord{c, r}) return st;
    return TGridDrawState{};
  };
  EXPECT_EQ(stateOf(0, 2), TGridDrawState{gdFixed});
  EXPECT_EQ(stateOf(1, 1), TGridDrawState{gdSelected});
  EXPECT_EQ(stateOf(2, 2), (TGridDrawState{gdSelected, gdFocused}));
  EXPECT_EQ(stateOf(3, 3), TGridDrawState{});
}

TEST_F(GridFixture, InplaceEditorWritesTheCellAndEscTakesTheTypingBack) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetCells(1, 1, u"old");
  ClickCell(1, 1);
  SimulateKeyStroke(grid, VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  ASSERT_NE(grid->InplaceEditor(), nullptr);
  EXPECT_TRUE(grid->InplaceEditor()->Showing());
  EXPECT_TRUE(grid->InplaceEditor()->Focused());
  EXPECT_EQ(grid->InplaceEditor()->Text(), u"old");
  SimulateTyping(grid->InplaceEditor(), u"new");  // replaces the selected text
  EXPECT_EQ(grid->Cells(1, 1), u"new");
  // The editor hides on the key's press; its release goes to the grid, which has the focus.
  SimulateKeyDown(grid->InplaceEditor(), VK_RETURN);
  SimulateKeyUp(grid, VK_RETURN);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_FALSE(grid->InplaceEditor()->Visible());
  EXPECT_TRUE(grid->Focused());

  // A typed character opens the editor with it; Esc restores the cell.
  SimulateKeyStroke(grid, VK_RIGHT);
  SimulateChar(grid, u'z');
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(2, 1), u"z");
  SimulateKeyDown(grid->InplaceEditor(), VK_ESCAPE);
  SimulateKeyUp(grid, VK_ESCAPE);
  EXPECT_EQ(grid->Cells(2, 1), u"");
  EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridFixture, InplaceEditorEditsACellTextAcrossLines) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetCells(1, 1, u"top\r\nbottom");
  ClickCell(1, 1);
  SimulateKeyStroke(grid, VK_F2);
  TInplaceEdit* edit = grid->InplaceEditor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->Text(), u"top\r\nbottom");  // the line break is kept, not flattened
  EXPECT_EQ(edit->Perform(EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(edit->SelLength(), 11);  // CR LF counts two
  SimulateTyping(edit, u"ab");
  SimulateKeyStroke(edit, VK_RETURN, {ssCtrl});  // Ctrl+Enter breaks the line
  SimulateTyping(edit, u"cd");
  EXPECT_EQ(grid->Cells(1, 1), u"ab\r\ncd");
  EXPECT_EQ(edit->SelStart(), 6);
  // Back to the second line's start: Backspace joins the lines, Ctrl+Enter splits them again.
  SimulateKeyStroke(edit, VK_HOME);
  EXPECT_EQ(edit->SelStart(), 4);
  SimulateKeyStroke(edit, VK_BACK);
  EXPECT_EQ(grid->Cells(1, 1), u"abcd");
  SimulateKeyStroke(edit, VK_RETURN, {ssCtrl});
  SimulateKeyStroke(edit, VK_END);
  SimulateTyping(edit, u"e");
  EXPECT_EQ(grid->Cells(1, 1), u"ab\r\ncde");
  // Code replaces the selection across the break: the caret stands after the new text.
  edit->Select(1, 4);
  EXPECT_EQ(edit->SelText(), u"b\r\nc");
  edit->SetSelText(u"1\r\n2\r\n3");
  EXPECT_EQ(edit->Text(), u"a1\r\n2\r\n3de");
  EXPECT_EQ(edit->SelStart(), 8);
  // Enter still closes the editor, and the cell keeps its lines.
  SimulateKeyDown(edit, VK_RETURN);
  SimulateKeyUp(grid, VK_RETURN);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), u"a1\r\n2\r\n3de");
}

TEST_F(GridFixture, InplaceEditorForAPasswordStaysOnOneLine) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetCells(1, 1, u"pw");
  ClickCell(1, 1);
  SimulateKeyStroke(grid, VK_F2);
  TInplaceEdit* edit = grid->InplaceEditor();
  ASSERT_NE(edit, nullptr);
  SimulateKeyDown(edit, VK_RETURN);
  SimulateKeyUp(grid, VK_RETURN);
  edit->SetPasswordChar(u'*');
  SimulateKeyStroke(grid, VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_TRUE(edit->Focused());
  SimulateKeyStroke(edit, VK_END);
  SimulateKeyStroke(edit, VK_RETURN, {ssCtrl});
  SimulateTyping(edit, u"x");
  EXPECT_EQ(grid->Cells(1, 1), u"pwx");
  // A pasted text brings its first line only.
  Clipboard()->SetAsText(u"1\r\n2");
  SimulateKeyStroke(edit, 'V', {ssCtrl});
  EXPECT_EQ(grid->Cells(1, 1), u"pwx1");
  SimulateKeyDown(edit, VK_RETURN);
  SimulateKeyUp(grid, VK_RETURN);
  EXPECT_FALSE(grid->EditorMode());

  // Without the password the same editor takes lines again.
  edit->SetPasswordChar(0);
  SimulateKeyStroke(grid, VK_F2);
  SimulateKeyStroke(edit, VK_END);
  SimulateKeyStroke(edit, VK_RETURN, {ssCtrl});
  SimulateTyping(edit, u"y");
  EXPECT_EQ(grid->Cells(1, 1), u"pwx1\r\ny");
}

TEST(ValueListEditor, KeepsKeysAndValuesApartUnderItsTitleRow) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* list = new TValueListEditor(&form);
  list->SetParent(&form);
  list->SetBounds(0, 0, 200, 120);
  list->SetScrollBars(ssVertical);
  EXPECT_EQ(list->RowCount(), 2);  // the title and one empty row
  EXPECT_EQ(list->Cells(0, 0), u"Key");
  for (int n = 60; n < 63; ++n) list->InsertRow(IntToStr(n) + u": " + String(1, Char(n)), IntToHex(n, 2), true);
  EXPECT_EQ(list->ItemCount(), 3);
  EXPECT_EQ(list->RowCount(), 4);
  EXPECT_EQ(list->Keys(2), u"61: =");  // '=' stays in the key
  EXPECT_EQ(list->Cells(1, 2), u"3D");
  EXPECT_EQ(list->Values(u"61: ="), u"3D");
  EXPECT_THROW(list->Keys(4), EInvalidGridOperation);
  // The value column fills the rest of the width, also once the vertical bar shows.
  for (int n = 0; n < 20; ++n) list->InsertRow(IntToStr(n), u"", true);
  ASSERT_NE(list->VertScrollBar(), nullptr);
  EXPECT_EQ(list->HorzScrollBar(), nullptr);
  EXPECT_EQ(list->ColWidths(0) + list->ColWidths(1) + 2 + 4, list->ClientWidth());
  list->ClearItems();
  EXPECT_EQ(list->ItemCount(), 0);
  EXPECT_EQ(list->RowCount(), 2);
  EXPECT_EQ(list->Cells(0, 3), u"");
}

TEST(StringGridStore, RowBlocksInsertAndDeleteWithTheirCellsSizesAndCurrentRow) {
  TStringGrid grid(nullptr);
  grid.SetRowCount(8);
  for (int r = 0; r < 8; ++r) grid.SetCells(1, r, String(1, char16_t(u'a' + r)));
  grid.SetCells(1, 20, u"far");  // beyond the count
  grid.SetRowHeights(5, 40);
  grid.SetRow(6);

  grid.DeleteRowsAt(2, 3);  // c, d, e go
  EXPECT_EQ(grid.RowCount(), 5);
  const char16_t* after[] = {u"a", u"b", u"f", u"g", u"h"};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(grid.Cells(1, r), after[r]) << r;
  EXPECT_EQ(grid.Cells(1, 5), u"");  // nothing left behind the count
  EXPECT_EQ(grid.Cells(1, 20), u"far");
  EXPECT_EQ(grid.RowHeights(2), 40);
  EXPECT_EQ(grid.Row(), 3);  // still on g

  grid.InsertRowsAt(1, 2);
  EXPECT_EQ(grid.RowCount(), 7);
  const char16_t* inserted[] = {u"a", u"", u"", u"b", u"f", u"g", u"h"};
  for (int r = 0; r < 7; ++r) EXPECT_EQ(grid.Cells(1, r), inserted[r]) << r;
  EXPECT_EQ(grid.RowHeights(1), grid.DefaultRowHeight());
  EXPECT_EQ(grid.RowHeights(4), 40);
  EXPECT_EQ(grid.Row(), 5);
  EXPECT_EQ(grid.Cells(1, 22), u"far");  // every stored row from the insertion on moved

  grid.DeleteRowsAt(0, 1);  // the fixed row: the fixed count follows
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_THROW(grid.DeleteRowsAt(0, grid.RowCount()), EInvalidGridOperation);
  EXPECT_THROW(grid.DeleteRowsAt(5, 2), EInvalidGridOperation);
  EXPECT_THROW(grid.InsertRowsAt(grid.RowCount() + 1, 1), EInvalidGridOperation);
}

TEST(StringGridStore, PermuteRowsMovesStoredRowsAndHeightsAcrossPages) {
  // Rows 250..261 straddle the store's page border; empty rows swap with stored ones.
  TStringGrid grid(nullptr);
  grid.SetColCount(3);
  grid.SetRowCount(300);
  TObject marker;
  const int start = 250;
  for (int r = start; r < start + 12; r += 2) grid.SetCells(2, r, String(1, char16_t(u'a' + r - start)));
  grid.SetObjects(0, start + 4, &marker);
  grid.SetRowHeights(start + 2, 33);
  grid.SetCells(1, start + 12, u"outside");
  grid.SetRow(start + 1);

  std::vector<int> order;  // reversed range
  for (int k = 11; k >= 0; --k) order.push_back(start + k);
  grid.PermuteRows(start, order);
  for (int k = 0; k < 12; ++k) {
    const int was = 11 - k;
    EXPECT_EQ(grid.Cells(2, start + k), was % 2 == 0 ? String(1, char16_t(u'a' + was)) : String()) << k;
  }
  EXPECT_EQ(grid.Objects(0, start + 7), &marker);
  EXPECT_EQ(grid.Objects(0, start + 4), nullptr);
  EXPECT_EQ(grid.RowHeights(start + 9), 33);
  EXPECT_EQ(grid.RowHeights(start + 2), grid.DefaultRowHeight());
  EXPECT_EQ(grid.Cells(1, start + 12), u"outside");
  EXPECT_EQ(grid.Row(), start + 1);  // the current position stays

  // Orders that are no permutation of the range, or leave the count, move nothing.
  const std::vector<std::vector<int>> bad = {{start, start}, {start, start + 2}, {start - 1, start}};
  for (const auto& b : bad) EXPECT_THROW(grid.PermuteRows(start, b), EInvalidGridOperation);
  EXPECT_THROW(grid.PermuteRows(299, {300, 299}), EInvalidGridOperation);
  EXPECT_EQ(grid.Cells(2, start + 1), u"k");
  EXPECT_EQ(grid.RowHeights(start + 9), 33);
}

TEST(StringGridStore, PermuteRowsPlacesEveryRowWhateverTheOrdersShape) {
  // Sparse rows (every third one empty) over several pages, permuted by orders of each shape:
  // rows closing up over empty ones, a random shuffle, and free places filled first with an
  // occupied one after them (rows moved straight in, then the rest moved out and in).
  const int start = 3, n = 700;
  uint32_t seed = 7;
  auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
  std::vector<int> closing, shuffled, mixed;
  for (int k = 0; k < n; ++k)
    if (k % 3 != 0) closing.push_back(start + k);
  for (int k = 0; k < n; ++k)
    if (k % 3 == 0) closing.push_back(start + k);
  for (int k = 0; k < n; ++k) shuffled.push_back(start + k);
  for (int k = n - 1; k > 0; --k) std::swap(shuffled[k], shuffled[next() % (k + 1)]);
  // Places 0, 4 and 5 are free when filled; place 7 is held, and wants the (empty) row of
  // place 0, filled meanwhile.
  for (int k = 0; k < n; ++k) mixed.push_back(start + k);
  for (auto [at, from] : {std::pair{0, 4}, {4, 5}, {5, n - 1}, {7, 0}, {n - 1, 7}}) mixed[at] = start + from;
  for (const auto* order : {&closing, &shuffled, &mixed}) {
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(start + n + 1);
    TObject obj;
    for (int k = 0; k < n; ++k)
      if (k % 3 != 0) grid.SetCells(1, start + k, IntToStr(k));
    grid.SetObjects(0, start + 5, &obj);
    grid.SetCells(0, start + n, u"after");
    grid.PermuteRows(start, *order);
    for (int k = 0; k < n; ++k) {
      const int was = (*order)[k] - start;
      EXPECT_EQ(grid.Cells(1, start + k), was % 3 != 0 ? IntToStr(was) : String()) << k;
      EXPECT_EQ(grid.Objects(0, start + k), was == 5 ? &obj : nullptr) << k;
    }
    EXPECT_EQ(grid.Cells(0, start + n), u"after");
  }
}

// The store's row walk, reached as the grids built on the string grid reach it.
class TStoreGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;
  using TStringGrid::CloseUpRows;
  using TStringGrid::RowCellObject;
  using TStringGrid::RowCellText;
  using TStringGrid::TCellRow;
};

TEST(StringGridStore, CloseUpRowsTakesTheListedRowsAndMovesTheOthersUpInOrder) {
  // Rows 0..1199 over five pages: stored every other row, none from 600 to 899 (a page
  // never made), a row past the walk's end that stays. Taken: a run, scattered rows, empty
  // rows and rows of the missing page.
  const int n = 1200;
  TStoreGrid grid(nullptr);
  grid.SetColCount(2);
  grid.SetRowCount(n + 1);
  TObject kept, gone;
  auto stored = [](int r) { return r % 2 == 0 && (r < 600 || r >= 900); };
  for (int r = 0; r < n; ++r)
    if (stored(r)) grid.SetCells(1, r, IntToStr(r));
  grid.SetObjects(0, 256, &kept);
  grid.SetObjects(0, 262, &gone);
  grid.SetCells(0, n, u"after");
  std::vector<int> listed;
  for (int r = 10; r < 20; ++r) listed.push_back(r);
  for (int r = 255; r < n; r += 7) listed.push_back(r);
  std::vector<int> taken;
  std::vector<String> texts;
  grid.CloseUpRows(listed, n - 1, [&](int r, TStoreGrid::TCellRow&& Cells) {
    taken.push_back(r);
    texts.push_back(TStoreGrid::RowCellText(Cells, 1));
    EXPECT_EQ(TStoreGrid::RowCellObject(Cells, 0), r == 262 ? &gone : nullptr) << r;
  });
  EXPECT_EQ(taken, listed);
  for (size_t i = 0; i < listed.size(); ++i)
    EXPECT_EQ(texts[i], stored(listed[i]) ? IntToStr(listed[i]) : String()) << listed[i];
  int place = 0;
  size_t next = 0;
  for (int r = 0; r < n; ++r) {
    if (next < listed.size() && listed[next] == r) {
      ++next;
      continue;
    }
    EXPECT_EQ(grid.Cells(1, place), stored(r) ? IntToStr(r) : String()) << r;
    EXPECT_EQ(grid.Objects(0, place), r == 256 ? &kept : nullptr) << r;
    ++place;
  }
  for (; place < n; ++place) EXPECT_EQ(grid.Cells(1, place), String()) << place;
  EXPECT_EQ(grid.Cells(0, n), u"after");
}

}  // namespace
