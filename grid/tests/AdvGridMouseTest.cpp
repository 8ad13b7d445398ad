// The string grid's mouse: presses, releases, double clicks and moves at pixel positions,
// delivered at the top-level window as a user's would be.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "grid/AdvGridEditing.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Controls.h"

namespace {

// A grid of 6 columns and 8 rows (one fixed row and column), texts "c,r" in the normal cells.
struct TMouseGrid : TGridForm {
  DEreDuzeroVaro* g = grid;
  TMouseGrid() {
    g->SetColCount(6);
    g->SetRowCount(8);
    for (int c = 1; c < 6; ++c)
      for (int r = 1; r < 8; ++r) g->SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));
    ProcessPendingEvents();
  }
  TRect Cell(int c, int r) const { return g->CellRect(c, r); }
  void Click(int c, int r, int dx = 5, int dy = 5, TShiftState s = {}) {
    const TRect R = Cell(c, r);
    SimulateClick(g, R.Left + dx, R.Top + dy, mbLeft, s);
    ProcessPendingEvents();
  }
};

std::vector<String> ColumnTexts(DEreDuzeroVaro* g, int c) {
  std::vector<String> v;
  for (int r = g->FixedRows(); r < g->RowCount(); ++r) v.push_back(g->Cells(c, r));
  return v;
}

}  // namespace

TEST(AdvGridMouse, ClickSelectsDragStretchesAndShiftExtends) {
  TMouseGrid t;
  t.Click(2, 3);
  EXPECT_EQ(t.g->Col(), 2);
  EXPECT_EQ(t.g->Row(), 3);
  // A drag from (1, 1) to (3, 4) selects the block.
  const TRect a = t.Cell(1, 1), b = t.Cell(3, 4);
  SimulateMouseDown(t.g, mbLeft, a.Left + 5, a.Top + 5);
  SimulateMouseMove(t.g, b.Left + 5, b.Top + 5, TShiftState{ssLeft});
  SimulateMouseUp(t.g, mbLeft, b.Left + 5, b.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Selection(), (TGridRect{1, 1, 3, 4}));
  // Shift extends from the anchor.
  t.Click(5, 6, 5, 5, TShiftState{ssShift});
  EXPECT_EQ(t.g->Selection(), (TGridRect{1, 1, 5, 6}));
}

TEST(AdvGridMouse, HeaderClicksSortReverseAndUnsort) {
  TMouseGrid t;
  const std::vector<String> start{u"b", u"d", u"a", u"c", u"f", u"e", u"g"};
  for (int r = 1; r < 8; ++r) t.g->SetCells(2, r, start[r - 1]);
  t.g->SortSettings()->SetShow(true);
  t.g->SortSettings()->SetRow(0);
  t.g->SortSettings()->SetUndoSort(true);
  int clickSorts = 0;
  t.g->OnClickSort = [&](TObject*, int) { ++clickSorts; };
  t.Click(2, 0, 20, 5);
  EXPECT_EQ(ColumnTexts(t.g, 2), (std::vector<String>{u"a", u"b", u"c", u"d", u"e", u"f", u"g"}));
  t.Click(2, 0, 20, 5);
  EXPECT_EQ(ColumnTexts(t.g, 2), (std::vector<String>{u"g", u"f", u"e", u"d", u"c", u"b", u"a"}));
  t.Click(2, 0, 20, 5);
  EXPECT_EQ(ColumnTexts(t.g, 2), start) << "the third click puts the rows back";
  EXPECT_EQ(t.g->SortSettings()->Column(), -1);
  EXPECT_EQ(clickSorts, 3);
  // OnCanSort refuses; an ignored column never sorts.
  t.g->OnCanSort = [](TObject*, int, bool& DoSort) { DoSort = false; };
  t.Click(2, 0, 20, 5);
  EXPECT_EQ(ColumnTexts(t.g, 2), start);
}

TEST(AdvGridMouse, ReleasesNearAHeaderBorderOrInASmallGridDoNotSort) {
  // (distance of the release from the header cell's left border, rows, sorts?)
  struct TCase {
    int FromLeft, Rows;
    bool Sorts;
  } cases[] = {{3, 8, false}, {4, 8, true}, {20, 8, true}, {20, 2, false}};
  for (const TCase& k : cases) {
    TMouseGrid t;
    t.g->SetOptions(t.g->Options() + TGridOptions{goColSizing});
    t.g->SetRowCount(k.Rows);
    for (int r = 1; r < k.Rows; ++r) t.g->SetCells(2, r, IntToStr(k.Rows - r));
    t.g->SortSettings()->SetShow(true);
    t.g->SortSettings()->SetRow(0);
    const TRect h = t.Cell(2, 0);
    // The press lands in the cell's middle, the release at the tested distance.
    SimulateMouseDown(t.g, mbLeft, h.Left + 20, h.Top + 5);
    SimulateMouseUp(t.g, mbLeft, h.Left + k.FromLeft, h.Top + 5);
    ProcessPendingEvents();
    const bool sorted = t.g->SortSettings()->Column() == 2;
    EXPECT_EQ(sorted, k.Sorts) << "release " << k.FromLeft << " px from the border, " << k.Rows << " rows";
  }
}

TEST(AdvGridMouse, CheckBoxPressFiresItsEventsInOrder) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goEditing});
  t.g->AddCheckBox(2, 3, false, false);
  std::vector<std::string> log;
  t.g->OnCanClickCell = [&](TObject*, int, int, bool&) { log.push_back("CanClickCell"); };
  t.g->OnCanEditCell = [&](TObject*, int, int, bool&) { log.push_back("CanEditCell"); };
  t.g->OnCheckBoxChange = [&](TObject*, int, int, bool) { log.push_back("CheckBoxChange"); };
  t.g->OnCheckBoxClick = [&](TObject*, int, int, bool) { log.push_back("CheckBoxClick"); };
  t.g->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("MouseDown"); };
  t.g->OnClick = [&](TObject*) { log.push_back("Click"); };
  t.g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("MouseUp"); };
  t.g->OnCheckBoxMouseUp = [&](TObject*, int, int, TCheckBoxState) { log.push_back("CheckBoxMouseUp"); };
  // Find a point inside the box.
  const TRect r = t.Cell(2, 3);
  int bx = -1, by = -1;
  for (int y = r.Top; y < r.Bottom && bx < 0; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (t.g->IsInCheckBox(2, 3, x, y)) {
        bx = x;
        by = y;
        break;
      }
  ASSERT_GE(bx, 0);
  SimulateClick(t.g, bx, by);
  ProcessPendingEvents();
  EXPECT_TRUE(t.g->IsChecked(2, 3));
  const std::vector<std::string> want{"CanClickCell", "CanEditCell",      "CheckBoxChange", "CheckBoxClick",
                                      "MouseDown",    "Click",            "MouseUp",        "CheckBoxMouseUp"};
  // The edit permission is asked again by the toggle and the editing protocol; the order in
  // which each event first fires is what counts.
  std::vector<std::string> kinds;
  for (const std::string& e : log)
    if (std::find(kinds.begin(), kinds.end(), e) == kinds.end()) kinds.push_back(e);
  EXPECT_EQ(kinds, want);
  // A press refused by OnCanClickCell does nothing at all.
  t.g->OnCanClickCell = [](TObject*, int, int, bool& Allow) { Allow = false; };
  SimulateClick(t.g, bx, by);
  ProcessPendingEvents();
  EXPECT_TRUE(t.g->IsChecked(2, 3));
}

TEST(AdvGridMouse, RatingTakesHalfStarsPerNinePixels) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goEditing});
  t.g->SetColWidths(2, 120);
  t.g->AddRating(2, 3, 5, clYellow, clGray);
  const TRect r = t.Cell(2, 3);
  for (auto [dx, want] : std::vector<std::pair<int, double>>{{0, 0.0}, {8, 0.0}, {17, 0.5}, {18, 1.0}, {50, 2.5}}) {
    SimulateClick(t.g, r.Left + dx, r.Top + 5);
    ProcessPendingEvents();
    EXPECT_DOUBLE_EQ(t.g->Floats(2, 3), want) << dx << " pixels in";
  }
  // OnRatingChange may refuse.
  t.g->OnRatingChange = [](TObject*, int, int, double&, bool& Allow) { Allow = false; };
  SimulateClick(t.g, r.Left + 40, r.Top + 5);
  EXPECT_DOUBLE_EQ(t.g->Floats(2, 3), 2.5);
}

TEST(AdvGridMouse, CellButtonClicksOnlyWhenReleasedOnIt) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goEditing});
  t.g->SetColWidths(3, 90);
  t.g->AddButton(3, 2, 40, 18, u"Go", haBeforeText, vaCenter);
  std::vector<TPoint> clicks;
  t.g->OnButtonClick = [&](TObject*, int ACol, int ARow) { clicks.emplace_back(ACol, ARow); };
  const TRect b = t.g->GetCellButtonRect(3, 2);
  ASSERT_GT(b.Width(), 0);
  SimulateClick(t.g, b.Left + 3, b.Top + 3);
  ProcessPendingEvents();
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], TPoint(3, 2));
  // Pushed, then released outside the cells: no click.
  SimulateMouseDown(t.g, mbLeft, b.Left + 3, b.Top + 3);
  SimulateMouseUp(t.g, mbLeft, t.g->Width() - 2, t.g->Height() - 2);
  ProcessPendingEvents();
  EXPECT_EQ(clicks.size(), 1u);
}

TEST(AdvGridMouse, LinksJumpInsideTheGridOrOpenOnlyWebAndMailAddresses) {
  TMouseGrid t;
  std::vector<String> opened;
  auto keep = DEreDuzeroVaro::OpenLinkHook;
  DEreDuzeroVaro::OpenLinkHook = [&](const String& U) { opened.push_back(U); };
  struct TRestore {
    std::function<void(const String&)> F;
    ~TRestore() { DEreDuzeroVaro::OpenLinkHook = F; }
  } restore{keep};
  t.g->SetColWidths(1, 150);
  struct TCase {
    String Anchor;
    bool Opens;
  } cases[] = {{u"http://example.org/", true}, {u"MAILTO:a@b.c", true}, {u"ftp://x.y/z", true},
               {u"file:///etc/passwd", false}, {u"/usr/bin/xterm", false}, {u"javascript:alert(1)", false}};
  for (const TCase& k : cases) {
    opened.clear();
    t.g->SetCells(1, 2, u"<a href=\"" + k.Anchor + u"\">link</a>");
    t.Click(1, 2, 6, 6);
    EXPECT_EQ(opened.size(), k.Opens ? 1u : 0u) << StringToUTF8(k.Anchor);
  }
  // A "cell://" anchor, in any case, jumps to its row and column.
  t.g->SetCells(1, 2, u"<a href=\"CeLl://r6C4\">go</a>");
  t.Click(1, 2, 6, 6);
  EXPECT_EQ(t.g->Row(), 6);
  EXPECT_EQ(t.g->Col(), 4);
  // The handler can take the click itself.
  opened.clear();
  String seen;
  t.g->OnAnchorClick = [&](TObject*, int, int, const String& A, bool& AutoHandle) {
    seen = A;
    AutoHandle = false;
  };
  t.g->SetCells(1, 2, u"<a href=\"http://example.org/\">link</a>");
  t.Click(1, 2, 6, 6);
  EXPECT_EQ(seen, u"http://example.org/");
  EXPECT_TRUE(opened.empty());
}

TEST(AdvGridMouse, HeaderPressesSelectRowsColumnsAndAll) {
  TMouseGrid t;
  t.g->MouseActions()->SetRowSelect(true);
  t.g->MouseActions()->SetColSelect(true);
  t.g->MouseActions()->SetAllSelect(true);
  // The mode comes from the mouse moving over the header first, as with a real mouse.
  auto pressAt = [&](int c, int r) {
    const TRect R = t.Cell(c, r);
    SimulateMouseMove(t.g, R.Left + 10, R.Top + 6);
    SimulateClick(t.g, R.Left + 10, R.Top + 6);
    ProcessPendingEvents();
  };
  pressAt(0, 3);
  EXPECT_EQ(t.g->Selection(), (TGridRect{1, 3, 5, 3}));
  pressAt(2, 0);
  EXPECT_EQ(t.g->Selection(), (TGridRect{2, 1, 2, 7}));
  pressAt(0, 0);
  EXPECT_EQ(t.g->Selection(), (TGridRect{1, 1, 5, 7}));
  // Dragging down the row headers selects the rows passed.
  const TRect a = t.Cell(0, 2), b = t.Cell(0, 5);
  SimulateMouseMove(t.g, a.Left + 10, a.Top + 6);
  SimulateMouseDown(t.g, mbLeft, a.Left + 10, a.Top + 6);
  SimulateMouseMove(t.g, b.Left + 10, b.Top + 6, TShiftState{ssLeft});
  SimulateMouseUp(t.g, mbLeft, b.Left + 10, b.Top + 6);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Selection(), (TGridRect{1, 2, 5, 5}));
  EXPECT_EQ(t.g->MouseSelectMode(), msNormal);
}

TEST(AdvGridMouse, MovingAColumnKeepsTheSortColumnOnItsColumn) {
  // (from, to, sort column before, after): a column moved right shifts those in (from, to]
  // down by one, including the one at to.
  struct TCase {
    int From, To, Before, After;
  } cases[] = {{2, 5, 2, 5}, {2, 5, 3, 2}, {2, 5, 5, 4}, {2, 5, 1, 1}, {5, 2, 2, 3},
               {5, 2, 3, 4}, {5, 2, 4, 5}, {5, 2, 5, 2}, {5, 2, 1, 1}};
  for (const TCase& k : cases) {
    TMouseGrid t;
    t.g->SetColCount(7);
    t.g->SortSettings()->SetColumn(k.Before);
    t.g->MoveColumn(k.From, k.To);
    EXPECT_EQ(t.g->SortSettings()->Column(), k.After) << k.From << "->" << k.To << " sort " << k.Before;
  }
}

TEST(AdvGridMouse, DraggingAHeaderMovesItsColumn) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goColMoving});
  for (bool enhanced : {true, false}) {
    t.g->SetEnhRowColMove(enhanced);
    for (int c = 1; c < 6; ++c) t.g->SetCells(c, 0, IntToStr(c));
    int moved = 0;
    t.g->OnColumnMoved = [&](TObject*, int, int) { ++moved; };
    const TRect from = t.Cell(2, 0), to = t.Cell(4, 0);
    SimulateMouseDown(t.g, mbLeft, from.Left + 20, from.Top + 5);
    SimulateMouseMove(t.g, from.Left + 30, from.Top + 5, TShiftState{ssLeft});
    SimulateMouseMove(t.g, to.Left + 20, to.Top + 5, TShiftState{ssLeft});
    SimulateMouseUp(t.g, mbLeft, to.Left + 20, to.Top + 5);
    ProcessPendingEvents();
    EXPECT_EQ(moved, 1) << (enhanced ? "enhanced" : "plain");
    EXPECT_EQ(t.g->Cells(4, 0), u"2");
    EXPECT_EQ(t.g->Cells(2, 0), u"3");
    EXPECT_EQ(t.g->GridState(), gsNormal);
  }
  // A refusing OnColumnMoving shows no-drop and moves nothing.
  t.g->SetEnhRowColMove(true);
  for (int c = 1; c < 6; ++c) t.g->SetCells(c, 0, IntToStr(c));
  t.g->OnColumnMoving = [](TObject*, int, bool& Allow) { Allow = false; };
  const TRect from = t.Cell(2, 0), to = t.Cell(4, 0);
  SimulateMouseDown(t.g, mbLeft, from.Left + 20, from.Top + 5);
  SimulateMouseMove(t.g, to.Left + 20, to.Top + 5, TShiftState{ssLeft});
  EXPECT_EQ(t.g->Cursor(), crNoDrop);
  SimulateMouseUp(t.g, mbLeft, to.Left + 20, to.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Cells(2, 0), u"2");
}

TEST(AdvGridMouse, EnhancedMoveFloatsTheCellsOrTheHeaderUnderTheMouse) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goColMoving, goRowMoving});
  t.g->SetEnhRowColMove(true);
  for (int c = 1; c < 6; ++c) t.g->SetCells(c, 0, u"h" + IntToStr(c));
  for (int r = 1; r < 8; ++r) t.g->SetCells(0, r, u"r" + IntToStr(r));
  // With ShowCells the moved column's cells float, the pressed spot staying under the mouse.
  const TRect from = t.Cell(2, 0), to = t.Cell(4, 0);
  SimulateMouseDown(t.g, mbLeft, from.Left + 20, from.Top + 5);
  SimulateMouseMove(t.g, from.Left + 30, from.Top + 5, TShiftState{ssLeft});
  TForm* picture = t.g->MoveForm();
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->Visible());
  EXPECT_EQ(picture->Width(), t.g->ColWidths(2) + 1);
  SimulateMouseMove(t.g, to.Left + 25, to.Top + 7, TShiftState{ssLeft});
  EXPECT_EQ(t.g->MoveForm(), picture);
  EXPECT_EQ(TPoint(picture->Left(), picture->Top()), t.g->ClientToScreen(TPoint(to.Left + 5, to.Top + 2)));
  EXPECT_FALSE(t.g->MoveButton()->Visible());
  SimulateMouseUp(t.g, mbLeft, to.Left + 25, to.Top + 7);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->MoveForm(), nullptr) << "the release frees the picture";
  EXPECT_EQ(t.g->Cells(4, 0), u"h2");
  // Without ShowCells a row move floats the header button with the row's fixed text.
  t.g->DragDropSettings()->SetShowCells(false);
  const TRect a = t.Cell(0, 3), b = t.Cell(0, 6);
  SimulateMouseDown(t.g, mbLeft, a.Left + 4, a.Top + 3);
  SimulateMouseMove(t.g, a.Left + 4, a.Top + 12, TShiftState{ssLeft});
  SimulateMouseMove(t.g, b.Left + 6, b.Top + 8, TShiftState{ssLeft});
  auto* button = t.g->MoveButton();
  EXPECT_EQ(t.g->MoveForm(), nullptr);
  EXPECT_TRUE(button->Visible());
  EXPECT_EQ(button->Caption(), u"r3");
  EXPECT_EQ(button->BoundsRect(), TRect(t.g->ClientToScreen(TPoint(b.Left + 2, b.Top + 5)),
                                        t.g->ClientToScreen(TPoint(b.Left + 2 + t.g->ColWidths(0),
                                                                   b.Top + 5 + t.g->RowHeights(3)))));
  SimulateMouseUp(t.g, mbLeft, b.Left + 6, b.Top + 8);
  ProcessPendingEvents();
  EXPECT_FALSE(button->Visible());
  EXPECT_EQ(t.g->Cells(0, 6), u"r3");
}

TEST(AdvGridMouse, PanCursorPointsTheWayTheGridPans) {
  TMouseGrid t;
  t.g->SetColCount(40);
  t.g->SetRowCount(200);
  const TCursor before = t.g->Cursor();
  const TPoint at(200, 150);
  // Pointer offset from where panning started -> the cursor, panning both ways and vertically only.
  struct TCase {
    TIntelliPan Pan;
    int DX, DY, Cursor;
  } cases[] = {{ipBoth, 0, 0, 8000},   {ipBoth, 3, -4, 8000},  {ipBoth, 0, 20, 8001},    {ipBoth, -20, 0, 8002},
               {ipBoth, 20, 0, 8003},  {ipBoth, 0, -20, 8004}, {ipBoth, 20, -20, 8005},  {ipBoth, -20, -20, 8006},
               {ipBoth, 20, 20, 8007}, {ipBoth, -20, 20, 8008}, {ipVertical, 20, 0, 8000}, {ipVertical, 20, 20, 8001}};
  for (const TCase& k : cases) {
    t.g->SetIntelliPan(k.Pan);
    t.g->SetTopRow(100);
    t.g->SetLeftCol(20);
    SimulateClick(t.g, at.X, at.Y, mbMiddle);
    ASSERT_TRUE(t.g->WheelPanning());
    EXPECT_EQ(t.g->Cursor(), TCursor(8000));
    SimulateMouseMove(t.g, at.X + k.DX, at.Y + k.DY);
    EXPECT_TRUE(WaitUntil([&] { return t.g->Cursor() == TCursor(k.Cursor); }, 2000))
        << k.DX << "," << k.DY << ": cursor " << int(t.g->Cursor()) << ", wanted " << k.Cursor;
    // Any press ends panning and brings the cursor back.
    SimulateClick(t.g, at.X + k.DX, at.Y + k.DY);
    EXPECT_FALSE(t.g->WheelPanning());
    EXPECT_EQ(t.g->Cursor(), before);
  }
}

TEST(AdvGridMouse, RightPressReportsTheCellAndMaySelectIt) {
  TMouseGrid t;
  std::vector<TPoint> cells;
  t.g->OnRightClickCell = [&](TObject*, int ARow, int ACol) { cells.emplace_back(ACol, ARow); };
  const TRect r = t.Cell(3, 4);
  SimulateClick(t.g, r.Left + 5, r.Top + 5, mbRight);
  SimulateClick(t.g, t.g->Width() - 3, t.g->Height() - 3, mbRight);
  ProcessPendingEvents();
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0], TPoint(3, 4));
  EXPECT_EQ(cells[1], TPoint(-1, -1));
  EXPECT_NE(t.g->Row(), 4) << "without SelectOnRightClick the cell is not selected";
  t.g->MouseActions()->SetSelectOnRightClick(true);
  SimulateClick(t.g, r.Left + 5, r.Top + 5, mbRight);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Col(), 3);
  EXPECT_EQ(t.g->Row(), 4);
}

TEST(AdvGridMouse, CtrlWheelZoomsInsteadOfScrolling) {
  TMouseGrid t;
  const int top = t.g->TopRow(), row = t.g->Row();
  const TRect r = t.Cell(2, 2);
  SimulateMouseWheel(t.g, -120, r.Left + 5, r.Top + 5, TShiftState{ssCtrl});
  ProcessPendingEvents();
  const int lines = t.g->WheelScrollLines();
  EXPECT_EQ(t.g->ZoomFactor(), lines) << "a downward turn enlarges";
  EXPECT_EQ(t.g->TopRow(), top);
  EXPECT_EQ(t.g->Row(), row);
  SimulateMouseWheel(t.g, 120, r.Left + 5, r.Top + 5, TShiftState{ssCtrl});
  SimulateMouseWheel(t.g, 120, r.Left + 5, r.Top + 5, TShiftState{ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(t.g->ZoomFactor(), -lines) << "upward turns shrink";
  // Without IntelliZoom the turn scrolls as usual.
  t.g->SetIntelliZoom(false);
  SimulateMouseWheel(t.g, -120, r.Left + 5, r.Top + 5, TShiftState{ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(t.g->ZoomFactor(), -lines);
  EXPECT_NE(t.g->Row(), row);
}

TEST(AdvGridMouse, AMoveThatChangesNoHoverStateRepaintsNothing) {
  TMouseGrid t;
  t.g->SetHoverFixedCells(hfAll);
  const TRect h = t.Cell(2, 0);
  SimulateMouseMove(t.g, h.Left + 5, h.Top + 5);
  ProcessPendingEvents();
  const int painted = t.g->PaintID();
  SimulateMouseMove(t.g, h.Left + 8, h.Top + 6);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->PaintID(), painted);
  // Into the next header cell: both repaint.
  const TRect n = t.Cell(3, 0);
  SimulateMouseMove(t.g, n.Left + 5, n.Top + 5);
  ProcessPendingEvents();
  EXPECT_GT(t.g->PaintID(), painted);
}

TEST(AdvGridMouse, TheFillGestureContinuesTheSelectionWithoutTheClipboard) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goEditing});
  t.g->SetSelectionRectangle(true);
  t.g->SetSelectionResizer(true);
  t.g->SetCells(2, 1, u"10");
  t.g->SetCells(2, 2, u"20");
  t.g->SetCells(3, 1, u"x");
  t.g->SetCells(3, 2, u"y");
  t.g->SetSelection(TGridRect{2, 1, 3, 2});
  Clipboard()->SetAsText(u"the user's text");
  ProcessPendingEvents();
  const TRect last = t.Cell(3, 2), target = t.Cell(3, 5);
  SimulateMouseMove(t.g, last.Right - 2, last.Bottom - 2);
  SimulateMouseDown(t.g, mbLeft, last.Right - 2, last.Bottom - 2);
  SimulateMouseMove(t.g, target.Left + 5, target.Top + 5, TShiftState{ssLeft});
  SimulateMouseUp(t.g, mbLeft, target.Left + 5, target.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(ColumnTexts(t.g, 2)[2], u"30");
  EXPECT_EQ(ColumnTexts(t.g, 2)[4], u"50");
  EXPECT_EQ(t.g->Cells(3, 3), u"x");
  EXPECT_EQ(t.g->Cells(3, 4), u"y");
  EXPECT_EQ(t.g->Cells(3, 6), u"3,6") << "beyond the selection nothing changes";
  EXPECT_EQ(Clipboard()->AsText(), u"the user's text");
}

TEST(AdvGridMouse, FixedColumnSizingFollowsTheMouse) {
  TMouseGrid t;
  t.g->MouseActions()->SetSizeFixedCol(true);
  int ended = -1;
  t.g->OnEndColumnSize = [&](TObject*, int ACol) { ended = ACol; };
  const int border = t.g->ColWidths(0);
  const int y = t.Cell(0, 3).Top + 5;
  SimulateMouseMove(t.g, border + 1, y);
  EXPECT_EQ(t.g->Cursor(), crHSplit);
  SimulateMouseDown(t.g, mbLeft, border + 1, y);
  SimulateMouseMove(t.g, border + 31, y, TShiftState{ssLeft});
  SimulateMouseUp(t.g, mbLeft, border + 31, y);
  ProcessPendingEvents();
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(t.g->ColWidths(0), border + 31);
}

TEST(AdvGridMouse, DoubleClickOnAHeaderBorderSizesTheColumnAndDoesNotSort) {
  TMouseGrid t;
  t.g->SetOptions(t.g->Options() + TGridOptions{goColSizing});
  t.g->SortSettings()->SetShow(true);
  t.g->SortSettings()->SetRow(0);
  t.g->SetCells(2, 4, u"a much longer text than the column shows");
  t.g->SetCells(1, 4, u"another long text for the first column");
  const int w1 = t.g->ColWidths(1), w2 = t.g->ColWidths(2);
  int sized = -1;
  t.g->OnEndColumnSize = [&](TObject*, int ACol) { sized = ACol; };
  // Near the right border of column 2's header: column 2 fits its text.
  const TRect h = t.Cell(2, 0);
  SimulateDblClick(t.g, h.Right - 1, h.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(sized, 2);
  EXPECT_GT(t.g->ColWidths(2), w2 + 50);
  EXPECT_EQ(t.g->ColWidths(1), w1);
  EXPECT_EQ(t.g->SortSettings()->Column(), -1) << "the release after the double click does not sort";
  // Near the left border of column 2's header: the column to the left fits its text.
  const TRect h2 = t.Cell(2, 0);
  SimulateDblClick(t.g, h2.Left + 1, h2.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(sized, 1);
  EXPECT_GT(t.g->ColWidths(1), w1 + 50);
  // In a normal cell the double click is reported with the cell.
  TPoint cell{-1, -1};
  t.g->OnDblClickCell = [&](TObject*, int ARow, int ACol) { cell = TPoint(ACol, ARow); };
  const TRect c = t.Cell(2, 5);
  SimulateDblClick(t.g, c.Left + 10, c.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(cell, TPoint(2, 5));
}

TEST(AdvGridMouse, ANodeGlyphPressContractsAndExpandsItsNode) {
  TMouseGrid t;
  t.g->AddNode(2, 3);
  const int rows = t.g->RowCount();
  std::vector<std::string> log;
  t.g->OnContractNode = [&](TObject*, int, int) { log.push_back("contract"); };
  t.g->OnExpandNode = [&](TObject*, int, int) { log.push_back("expand"); };
  const TRect r = t.Cell(0, 2);
  SimulateClick(t.g, r.Left + 8, r.Top + r.Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->RowCount(), rows - 2) << "the node's two child rows are hidden";
  SimulateClick(t.g, r.Left + 8, r.Top + r.Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->RowCount(), rows);
  EXPECT_EQ(log, (std::vector<std::string>{"contract", "expand"}));
  // OnBeforeContractNode may refuse.
  t.g->OnBeforeContractNode = [](TObject*, int, int, bool& Allow) { Allow = false; };
  SimulateClick(t.g, r.Left + 8, r.Top + r.Height() / 2);
  EXPECT_EQ(t.g->RowCount(), rows);
}

TEST(AdvGridMouse, ALeftClickOpensTheFixedCellEditorAwayFromTheBorders) {
  // (pixels from the header cell's right border, column sizing on, editor opens?)
  struct TCase {
    int FromRight;
    bool Sizing, Opens;
  } cases[] = {{20, true, true}, {2, true, false}, {2, false, true}};
  for (const TCase& k : cases) {
    TMouseGrid t;
    if (k.Sizing) t.g->SetOptions(t.g->Options() + TGridOptions{goColSizing});
    t.g->MouseActions()->SetFixedRowsEdit(fceLeftClick);
    const TRect h = t.Cell(2, 0);
    SimulateClick(t.g, h.Right - k.FromRight, h.Top + 8);
    ProcessPendingEvents();
    const bool open = t.g->EditTrans()->Visible();
    EXPECT_EQ(open, k.Opens) << k.FromRight << " px from the border, sizing " << k.Sizing;
  }
}

TEST(AdvGridMouse, APressOnTheSelectionKeepsItForADragAndAReleaseSelectsTheCell) {
  TMouseGrid t;
  t.g->DragDropSettings()->SetOleDropSource(true);
  t.g->SetSelection(TGridRect{2, 2, 3, 4});
  const TRect r = t.Cell(2, 3);
  SimulateMouseDown(t.g, mbLeft, r.Left + 10, r.Top + 5);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Selection(), (TGridRect{2, 2, 3, 4})) << "the press keeps the selection";
  EXPECT_TRUE(t.g->SelectionClick());
  // A move within the dead zone starts nothing; the release then selects the pressed cell.
  SimulateMouseMove(t.g, r.Left + 13, r.Top + 8, TShiftState{ssLeft});
  SimulateMouseUp(t.g, mbLeft, r.Left + 13, r.Top + 8);
  ProcessPendingEvents();
  EXPECT_EQ(t.g->Selection(), (TGridRect{2, 3, 2, 3}));
  EXPECT_FALSE(t.g->SelectionClick());
}
