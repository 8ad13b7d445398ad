// Drag and drop of the string grid: drops from other programs, drags between two grids and
// within one, the drag start's dead zone and the floating cell snapshot.
#include <gtest/gtest.h>

#include <fstream>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/OleDragDrop.h"
#include "testing/TempFolder.h"

namespace {

// Two grids side by side on one shown form; both take drops, the left one drags.
struct TTwoGrids {
  TForm form{nullptr};
  DEreDuzeroVaro* a = new DEreDuzeroVaro(&form);
  DEreDuzeroVaro* b = new DEreDuzeroVaro(&form);
  TTwoGrids() {
    form.SetBounds(40, 40, 720, 320);
    for (DEreDuzeroVaro* g : {a, b}) {
      g->SetParent(&form);
      g->SetColCount(5);
      g->SetRowCount(8);
      g->SetDefaultColWidth(60);
      g->SetDefaultRowHeight(22);
      g->SetOptions(g->Options() + goEditing + goRangeSelect);
      g->DragDropSettings()->SetOleDropTarget(true);
    }
    a->SetBounds(0, 0, 340, 300);
    b->SetBounds(360, 0, 340, 300);
    a->DragDropSettings()->SetOleDropSource(true);
    for (int c = 1; c < 5; ++c)
      for (int r = 1; r < 8; ++r) a->SetCells(c, r, String(1, char16_t(u'a' + c)) + IntToStr(r));
    form.Show();
    ProcessPendingEvents();
  }
  // The centre of a cell in the grid's client coordinates.
  static TPoint Centre(DEreDuzeroVaro* G, int ACol, int ARow) {
    const TRect r = G->CellRect(ACol, ARow);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Drags the block Sel of a, pressed at its top-left cell, to cell (ToCol, ToRow) of To with
  // the real mouse: pressed on a, moved across, let go over To (or Escape).
  void Drag(TGridRect Sel, DEreDuzeroVaro* To, int ToCol, int ToRow, bool Escape = false) {
    const TPoint from = Centre(a, Sel.Left, Sel.Top), to = Centre(To, ToCol, ToRow);
    SimulateMouseDown(a, mbLeft, from.X, from.Y);
    // The press on a selected cell keeps the selection (the mouse press's own rule).
    a->SetSelection(Sel);
    WhileDragging([this, to, Escape, To] {
      TShiftState held;
      held.Include(ssLeft);
      SimulateMouseMove(To, to.X - 2, to.Y, held);
      SimulateMouseMove(To, to.X, to.Y, held);
      if (Escape) SimulateKeyDown(&form, VK_ESCAPE, held);
      else SimulateMouseUp(To, mbLeft, to.X, to.Y);
    });
    a->OleDragFromMouse(from, from.X, from.Y + 6);
    if (Escape) SimulateMouseUp(To, mbLeft, to.X, to.Y);
    ProcessPendingEvents();
  }
};

TEST(AdvGridDrag, TextFromAnotherProgramFillsAndSelectsTheBlock) {
  // Two lines of two fields dropped on (2, 3) of a grid with one fixed column.
  for (bool insert : {false, true}) {
    TGridForm f;
    DEreDuzeroVaro* g = f.grid;
    g->SetColCount(6);
    g->SetRowCount(8);
    g->SetOptions(g->Options() + goEditing);
    g->SetCells(2, 3, u"old");
    g->DragDropSettings()->SetOleDropTarget(true);
    g->DragDropSettings()->SetOleInsertRows(insert);
    TGridRect dropped{-1, -1, -1, -1};
    g->OnOleDropped = [&](TObject*, TGridRect R) { dropped = R; };
    const TPoint at = TTwoGrids::Centre(g, 2, 3);
    EXPECT_EQ(SimulateOutsideDrop(g, at.X, at.Y, u"p\tq\r\nr\ts"), DROPEFFECT_MOVE);
    EXPECT_EQ(g->Cells(2, 3), u"p");
    EXPECT_EQ(g->Cells(3, 4), u"s");
    const TGridRect s = g->Selection();
    EXPECT_EQ((TGridRect{s.Left, s.Top, s.Right, s.Bottom}), (TGridRect{2, 3, 3, 4})) << insert;
    EXPECT_EQ(dropped.Bottom, 4);
    // Inserting pushes the row that was there down by the two dropped rows.
    EXPECT_EQ(g->RowCount(), insert ? 10 : 8);
    EXPECT_EQ(g->Cells(2, 5), insert ? u"old" : u"");
  }
}

TEST(AdvGridDrag, RefusedAndUnusableDropsChangeNothing) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetOptions(g->Options() + goEditing);
  g->DragDropSettings()->SetOleDropTarget(true);
  int droppedEvents = 0;
  g->OnOleDropped = [&](TObject*, TGridRect) { ++droppedEvents; };
  g->OnOleDrop = [](TObject*, int, int, const String&, bool& Allow) { Allow = false; };
  const TPoint at = TTwoGrids::Centre(g, 1, 1);
  EXPECT_EQ(SimulateOutsideDrop(g, at.X, at.Y, u"refused"), DROPEFFECT_NONE);
  EXPECT_EQ(g->Cells(1, 1), u"");
  EXPECT_EQ(droppedEvents, 0);

  // Over a fixed row nothing is taken.
  g->OnOleDrop = nullptr;
  const TPoint header = TTwoGrids::Centre(g, 1, 0);
  EXPECT_EQ(SimulateOutsideDrop(g, header.X, header.Y, u"x"), DROPEFFECT_NONE);
  EXPECT_EQ(g->Cells(1, 0), u"");

  // Switched off, the grid is no drop target at all.
  g->DragDropSettings()->SetOleDropTarget(false);
  EXPECT_FALSE(g->OleDropTargetAssigned());
  EXPECT_EQ(SimulateOutsideDrop(g, at.X, at.Y, u"x"), DROPEFFECT_NONE);
  EXPECT_EQ(g->Cells(1, 1), u"");
}

TEST(AdvGridDrag, OneDroppedCsvFileIsLoaded) {
  TempFolder dir;
  const std::string csv = dir.Path() + "/list.CSV.backup", other = dir.Path() + "/b.csv";
  std::ofstream(csv) << "x,y\n1,2\n";
  std::ofstream(other) << "q\n";
  struct Case {
    const char* Name;
    std::vector<String> Files;
    const char16_t* Cell;
  } cases[] = {{"the name holds .CSV in its middle", {UTF8ToString(csv)}, u"y"},
               {"two files", {UTF8ToString(csv), UTF8ToString(other)}, u""},
               {"not a CSV name", {UTF8ToString(dir.Path() + "/a.txt")}, u""}};
  for (const Case& c : cases) {
    TGridForm f;
    f.grid->DragDropSettings()->SetOleDropTarget(true);
    SimulateOutsideDrop(f.grid, 30, 30, String(), c.Files);
    EXPECT_EQ(f.grid->Cells(1, 0), c.Cell) << c.Name;
  }
}

TEST(AdvGridDrag, OneDroppedWorkbookIsLoadedAndABrokenOneReported) {
  TempFolder dir;
  {
    TGridForm f;
    PlainGrid(f.grid, 2, 2);
    f.grid->SetCells(0, 0, u"A1");
    f.grid->SetCells(1, 1, u"book");
    f.grid->SaveToXLS(dir.FileS("list.xlsx"));
  }
  std::ofstream(dir.Path() + "/old.XLS") << "not a workbook";
  struct Case {
    const char* Name;
    const char* File;
    bool Refuse;
    const char16_t* Cell;
    bool Reported;
  } cases[] = {{"a workbook", "list.xlsx", false, u"book", false},
               {"refused by OnOleDrop", "list.xlsx", true, u"kept", false},
               {"a damaged workbook", "old.XLS", false, u"kept", true}};
  for (const Case& c : cases) {
    TGridForm f;
    PlainGrid(f.grid, 3, 3);
    f.grid->SetCells(1, 1, u"kept");
    f.grid->DragDropSettings()->SetOleDropTarget(true);
    String dropped;
    f.grid->OnOleDrop = [&](TObject*, int, int, const String& Data, bool& Allow) {
      dropped = Data;
      Allow = !c.Refuse;
    };
    std::vector<String> reports;
    TExceptionReport old = SetExceptionReport([&](const String& Message) { reports.push_back(Message); });
    SimulateOutsideDrop(f.grid, 30, 30, String(), {dir.FileS(c.File)});
    SetExceptionReport(old);
    EXPECT_EQ(dropped, dir.FileS(c.File)) << c.Name;
    EXPECT_EQ(f.grid->Cells(1, 1), c.Cell) << c.Name;
    EXPECT_EQ(reports.size(), c.Reported ? 1u : 0u) << c.Name;
  }
}

TEST(AdvGridDrag, DragMovesCellsToAnotherGridUnlessCopyingOrRefused) {
  struct Case {
    const char* Name;
    bool CopyAlways, Refuse, Escape;
    const char16_t* SourceAfter;
    const char16_t* TargetAfter;
  } cases[] = {{"move", false, false, false, u"", u"b2"},
               {"copy always", true, false, false, u"b2", u"b2"},
               {"target refuses", false, true, false, u"b2", u""},
               {"escape", false, false, true, u"b2", u""}};
  for (const Case& c : cases) {
    TTwoGrids t;
    t.a->DragDropSettings()->SetOleCopyAlways(c.CopyAlways);
    if (c.Refuse) t.b->OnOleDrop = [](TObject*, int, int, const String&, bool& Allow) { Allow = false; };
    int stops = 0;
    t.a->OnOleDragStop = [&](TObject*, int) { ++stops; };
    t.Drag(TGridRect{1, 2, 2, 3}, t.b, 2, 4, c.Escape);
    EXPECT_EQ(t.a->Cells(1, 2), c.SourceAfter) << c.Name;
    EXPECT_EQ(t.a->Cells(2, 3), c.SourceAfter == String() ? u"" : u"c3") << c.Name;
    EXPECT_EQ(t.b->Cells(2, 4), c.TargetAfter) << c.Name;
    EXPECT_EQ(t.b->Cells(3, 5), c.TargetAfter == String() ? u"" : u"c3") << c.Name;
    EXPECT_EQ(stops, c.Refuse || c.Escape ? 0 : 1) << c.Name;
    EXPECT_EQ(t.a->MoveForm(), nullptr) << c.Name;
  }
}

TEST(AdvGridDrag, MoveOntoItsOwnCellsKeepsWhatWasDropped) {
  TTwoGrids t;
  t.Drag(TGridRect{1, 1, 2, 2}, t.a, 2, 2);
  // The block moved one cell right and down; the cells it still covers hold the moved text.
  EXPECT_EQ(t.a->Cells(2, 2), u"b1");
  EXPECT_EQ(t.a->Cells(3, 3), u"c2");
  EXPECT_EQ(t.a->Cells(1, 1), u"");
  EXPECT_EQ(t.a->Cells(2, 1), u"");
}

TEST(AdvGridDrag, DeadZoneAndRefusalsOfTheDragStart) {
  TTwoGrids t;
  t.a->SetSelection(TGridRect{1, 1, 1, 1});
  const TPoint p = TTwoGrids::Centre(t.a, 1, 1);
  // Within 3 pixels across and 3 down nothing starts.
  EXPECT_FALSE(t.a->OleDragFromMouse(p, p.X + 3, p.Y + 3));
  EXPECT_FALSE(t.a->OleDragFromMouse(p, p.X - 3, p.Y - 3));
  // Without the drag source switch the press goes on as a press.
  t.a->DragDropSettings()->SetOleDropSource(false);
  EXPECT_FALSE(t.a->OleDragFromMouse(p, p.X, p.Y + 4));
  // Only header presses drag with OleColumnsOnly: a cell press is taken as a range selection.
  t.a->DragDropSettings()->SetOleDropSource(true);
  t.a->DragDropSettings()->SetOleColumnsOnly(true);
  int starts = 0;
  t.a->OnOleDragStart = [&](TObject*, int, int) { ++starts; };
  EXPECT_TRUE(t.a->OleDragFromMouse(p, p.X, p.Y + 4));
  EXPECT_EQ(starts, 0);
  t.a->DragDropSettings()->SetOleColumnsOnly(false);
  t.a->OnOleDrag = [](TObject*, int, int, const String& Data, bool& Allow) { Allow = Data != u"b1"; };
  EXPECT_TRUE(t.a->OleDragFromMouse(p, p.X, p.Y + 4));
  EXPECT_EQ(starts, 0);
}

TEST(AdvGridDrag, HeaderDroppedOnAHeaderReordersTheColumns) {
  TTwoGrids t;
  t.a->DragDropSettings()->SetOleColumnDragDrop(true);
  t.a->DragDropSettings()->SetOleColumnReorder(true);
  int dropCol = -1;
  t.a->OnOleDropCol = [&](TObject*, int, int, int Col) { dropCol = Col; };
  t.a->SetCells(1, 0, u"one");
  t.Drag(TGridRect{1, 0, 1, 0}, t.a, 3, 0);
  EXPECT_EQ(dropCol, 1);
  EXPECT_EQ(t.a->Cells(3, 0), u"one");
  EXPECT_EQ(t.a->Cells(3, 2), u"b2");
  EXPECT_EQ(t.a->Cells(1, 2), u"c2");
}

TEST(AdvGridDrag, SelectionSnapshotIsTheSameForEitherCornerOrder) {
  TTwoGrids t;
  std::unique_ptr<TForm> one(t.a->SelectionToForm(TGridRect{1, 1, 2, 3}));
  std::unique_ptr<TForm> two(t.a->SelectionToForm(TGridRect{2, 3, 1, 1}));
  EXPECT_FALSE(one->Visible());
  const TRect r1 = t.a->CellRect(1, 1), r2 = t.a->CellRect(2, 3);
  EXPECT_EQ(one->Width(), r2.Right - r1.Left + 1);
  EXPECT_EQ(one->Height(), r2.Bottom - r1.Top + 1);
  auto picture = [](TForm* F) { return dynamic_cast<TImage*>(F->Controls(0))->Picture()->Bitmap(); };
  TBitmap* p1 = picture(one.get());
  TBitmap* p2 = picture(two.get());
  ASSERT_EQ(p1->Width(), p2->Width());
  for (int y = 0; y < p1->Height(); y += 3)
    for (int x = 0; x < p1->Width(); x += 3)
      ASSERT_EQ(p1->Canvas()->Pixels(x, y), p2->Canvas()->Pixels(x, y)) << x << "," << y;
}

}  // namespace
