// The grid foundation: cell records, merges, merge-aware access, the cell painter and
// navigation over merged areas.

#include <gtest/gtest.h>

#include <map>

#include "controls/VevAzez.h"
#include "grid/AdvGridUndoRedo.h"
#include "grid/AdvObj.h"
#include "grid/BaseGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// A base grid that counts its hooks and paints merged base cells red.
struct TProbeGrid : TBaseGrid {
  using TBaseGrid::TBaseGrid;
  int TextChanges = 0, LastRowChanges = 0;
  std::map<std::pair<int, int>, int> Contents;  // DrawCellContents calls per cell
  std::map<std::pair<int, int>, TRect> ContentRects;
  std::map<std::pair<int, int>, TGridDrawState> States;
  bool RedirectCovered = false;  // SelectCell moves to the base cell of a covered cell itself

  void CellTextChanged(int, int) override { ++TextChanges; }
  void LastRowChanged() override { ++LastRowChanges; }
  void DrawCellContents(TCanvas* C, int ACol, int ARow, TRect R, TGridDrawState S) override {
    ++Contents[{ACol, ARow}];
    ContentRects[{ACol, ARow}] = R;
    States[{ACol, ARow}] = S;
    TBaseGrid::DrawCellContents(C, ACol, ARow, R, S);
  }
  void GetVisualProperties(int ACol, int ARow, TGridDrawState&, bool, bool, bool, TBrush* ABrush, TColor&, TColor&,
                           TColor&, TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&) override {
    if (IsMergedCell(ACol, ARow) && IsBaseCell(ACol, ARow)) ABrush->SetColor(clRed);
  }
  bool SelectCell(int ACol, int ARow) override {
    int bc, br;
    if (RedirectCovered && !FindBaseCell(ACol, ARow, bc, br)) {
      MoveColRow(bc, br, true, true);
      return false;
    }
    return TBaseGrid::SelectCell(ACol, ARow);
  }
};

// A shown form with an 8 x 8 grid of 40 x 20 cells, one fixed row and column.
struct BaseGridFixture : ::testing::Test {
  TForm form{nullptr};
  TProbeGrid* grid = nullptr;
  void SetUp() override {
    form.SetBounds(0, 0, 480, 320);
    grid = new TProbeGrid(&form);
    grid->SetParent(&form);
    grid->SetColCount(8);
    grid->SetRowCount(8);
    grid->SetDefaultColWidth(40);
    grid->SetDefaultRowHeight(20);
    grid->SetBounds(10, 10, 400, 250);
    form.Show();
    ProcessPendingEvents();
  }
  void Render() {
    grid->Contents.clear();
    grid->Invalidate();
    bitmap = RenderControl(grid);
  }
  TColor Pixel(int X, int Y) { return PixelColor(*bitmap, X, Y); }
  std::unique_ptr<TBitmap> bitmap;
};

struct TFreedFlag : TObject {
  bool* Freed;
  explicit TFreedFlag(bool* F) : Freed(F) {}
  ~TFreedFlag() override { *Freed = true; }
};

struct TFlaggedGraphic : TCellGraphic {
  bool* Freed;
  explicit TFlaggedGraphic(bool* F) : Freed(F) {}
  ~TFlaggedGraphic() override { *Freed = true; }
};

}  // namespace

TEST(BaseGridStore, FreshGridHasNoRecordsAndARecordTakesTheGridsDefaults) {
  TProbeGrid g(nullptr);
  g.SetColor(0x00123456);
  EXPECT_EQ(g.Objects(2, 2), nullptr);
  EXPECT_EQ(g.GraphicObjects(2, 2), nullptr);
  EXPECT_EQ(g.CellSpan(2, 2), TPoint(0, 0));
  EXPECT_TRUE(g.IsBaseCell(2, 2));
  EXPECT_EQ(g.BaseCell(2, 2), TPoint(2, 2));
  EXPECT_FALSE(g.HasCellProps());
  TCellProperties* p = g.CellProperties(2, 2);
  EXPECT_TRUE(g.HasCellProps());
  EXPECT_TRUE(g.HasCellProperties(2, 2));
  EXPECT_EQ(p->BrushColor(), 0x00123456);
  EXPECT_EQ(p->BrushColorTo(), clNone);
  EXPECT_EQ(p->CellSpanX(), -1);
  EXPECT_EQ(p->Alignment(), taLeftJustify);
  EXPECT_EQ(p->VAlignment(), vtaTop);
  EXPECT_TRUE(p->WordWrap());
  EXPECT_EQ(p->FontName(), g.Font()->Name());
  EXPECT_EQ(g.CellProperties(2, 2), p);  // made once
  EXPECT_EQ(g.GridLineWidth(), 1);
  EXPECT_EQ(g.TCustomGrid::GridLineWidth(), 0);
  EXPECT_FALSE(g.TCustomGrid::DefaultDrawing());
}

TEST(BaseGridStore, MergedAreaAnswersEveryQueryFromItsBaseCell) {
  TProbeGrid g(nullptr);
  g.SetColCount(6);
  g.SetRowCount(6);
  g.SetGridCells(3, 2, u"hidden");
  g.MergeCells(1, 1, 3, 2);
  struct Case {
    int c, r;
    TPoint spanField, base, span, ext;
    bool isBase, merged;
  } cases[] = {
      {1, 1, {2, 1}, {1, 1}, {2, 1}, {2, 1}, true, true},
      {2, 1, {1, 0}, {1, 1}, {2, 1}, {1, 1}, false, true},
      {3, 2, {2, 1}, {1, 1}, {2, 1}, {0, 0}, false, true},
      {1, 2, {0, 1}, {1, 1}, {2, 1}, {2, 0}, false, true},
      {4, 1, {-1, -1}, {4, 1}, {0, 0}, {0, 0}, true, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.c << "," << k.r);
    TCellProperties* p = g.HasCellProperties(k.c, k.r) ? g.CellProperties(k.c, k.r) : nullptr;
    EXPECT_EQ(p ? TPoint(p->CellSpanX(), p->CellSpanY()) : TPoint(-1, -1), k.spanField);
    EXPECT_EQ(g.BaseCell(k.c, k.r), k.base);
    EXPECT_EQ(g.CellSpan(k.c, k.r), k.span);
    EXPECT_EQ(g.CellExt(k.c, k.r), k.ext);
    EXPECT_EQ(g.IsBaseCell(k.c, k.r), k.isBase);
    EXPECT_EQ(g.IsMergedCell(k.c, k.r), k.merged);
    EXPECT_EQ(g.IsMergedNonBaseCell(k.c, k.r), k.merged && !k.isBase);
  }
  EXPECT_EQ(g.FullCell(2, 2), TRect(1, 1, 3, 2));
  EXPECT_TRUE(g.IsXMergedCell(3, 2));
  EXPECT_TRUE(g.IsYMergedCell(3, 2));
  EXPECT_EQ(g.MinRowSpan(1), 1);
  EXPECT_EQ(g.MaxRowSpan(2), 1);
  EXPECT_EQ(g.MinRowSpan(4), g.RowCount());
  EXPECT_TRUE(g.RowSpanIdentical(1, 2));
  EXPECT_FALSE(g.RowSpanIdentical(3, 4));  // nothing merged there
  EXPECT_TRUE(g.ColSpanIdentical(1, 3));
  EXPECT_FALSE(g.ColSpanIdentical(1, 4));

  // Covered cells read and write the base cell; their own raw text stays hidden.
  g.SetCells(3, 2, u"area");
  EXPECT_EQ(g.GridCells(1, 1), u"area");
  EXPECT_EQ(g.Cells(2, 1), u"area");
  EXPECT_EQ(g.GridCells(3, 2), u"hidden");
  EXPECT_EQ(g.CellRect(2, 1), g.CellRect(1, 1));

  // Splitting from any cell restores the single cells and their raw texts.
  g.SplitCells(2, 2);
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 2; ++r) {
      EXPECT_EQ(g.CellProperties(c, r)->CellSpanX(), -1);
      EXPECT_TRUE(g.IsBaseCell(c, r));
    }
  EXPECT_EQ(g.Cells(3, 2), u"hidden");

  // A 1 x 1 merge is a base cell that is not merged.
  g.MergeCells(4, 4, 1, 1);
  EXPECT_EQ(g.CellProperties(4, 4)->CellSpanX(), 0);
  EXPECT_FALSE(g.IsMergedCell(4, 4));
}

TEST(BaseGridStore, MergeCellsClipsToTheGridAndIgnoresEmptySpans) {
  TProbeGrid g(nullptr);
  g.SetColCount(5);
  g.SetRowCount(5);
  g.MergeCells(3, 3, 10, 10);
  EXPECT_EQ(g.CellSpan(4, 4), TPoint(1, 1));
  EXPECT_EQ(g.GridObjects(5, 5), nullptr);
  EXPECT_EQ(g.GridObjects(12, 12), nullptr);
  g.MergeCells(0, 0, 0, 3);
  g.MergeCells(-2, -2, 4, 4);
  g.MergeCells(5, 0, 2, 2);  // wholly outside
  EXPECT_FALSE(g.HasCellProperties(0, 0));
  EXPECT_EQ(g.GridObjects(5, 0), nullptr);
  // Near the largest index the span does not overflow.
  g.MergeCells(4, 0, 0x7FFFFFFF, 1);
  EXPECT_EQ(g.CellSpan(4, 0), TPoint(0, 0));
  EXPECT_TRUE(g.HasCellProperties(4, 0));
}

TEST(BaseGridStore, OutOfRangeIndexesRaiseOrDoNothing) {
  TProbeGrid g(nullptr);
  EXPECT_THROW(g.Cells(-1, 0), EInvalidGridOperation);
  EXPECT_THROW(g.SetCells(0, -1, u"x"), EInvalidGridOperation);
  EXPECT_THROW(g.CellProperties(-1, 2), EInvalidGridOperation);
  EXPECT_FALSE(g.HasCellProps());
  EXPECT_NO_THROW(g.FreeCellProperties(-1, -1));
  EXPECT_FALSE(g.HasCellProperties(-1, 0));
  EXPECT_FALSE(g.IsMergedCell(100, 100));
  EXPECT_EQ(g.BaseCell(-3, -4), TPoint(-3, -4));
  // A record beyond the counts is stored but merge queries treat the cell as unmerged.
  g.CellProperties(20, 2)->SetCellSpanX(3);
  EXPECT_FALSE(g.HasCellProperties(20, 2));
  EXPECT_FALSE(g.IsMergedCell(20, 2));
}

TEST(BaseGridStore, ObjectsOnAnEmptyCellKeepItsTextEmptyAndPassTheHooks) {
  TProbeGrid g(nullptr);
  TObject user;
  g.SetObjects(2, 2, &user);
  EXPECT_EQ(g.Objects(2, 2), &user);
  EXPECT_EQ(g.Cells(2, 2), u"");
  EXPECT_EQ(g.TextChanges, 1);  // only the "" write meets a record
  EXPECT_NE(g.GridObjects(2, 2), &user);  // the raw slot holds the record
  g.SetCells(2, 2, u"t");
  g.SetObjects(2, 2, nullptr);
  EXPECT_EQ(g.Cells(2, 2), u"t");
}

TEST(BaseGridStore, LastRowAndDisplayHooks) {
  TProbeGrid g(nullptr);
  g.SetRowCount(4);
  g.SetHideLastRow(true);
  g.SetCells(1, 3, u"sum");
  g.SetCells(1, 2, u"x");
  EXPECT_EQ(g.LastRowChanges, 1);

  g.SetNormalRowCount(3);
  g.OnGetDisplText = [](TObject*, int, int, String& v) { v = u"<" + v + u">"; };
  EXPECT_EQ(g.Cells(1, 2), u"<x>");
  EXPECT_EQ(g.Cells(1, 3), u"sum");  // at or below NormalRowCount: no display text
  g.OnGetDisplWideText = [](TObject*, int, int, String& v) { v += u"\u3042"; };
  String packed = g.Cells(1, 3);
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed.substr(0, 2), u"|\\");
  EXPECT_EQ(UnpackWideText(packed), u"sum\u3042");
}

TEST(BaseGridStore, RecordsGoWithTheGridButOnlyGraphicsItMadeFreeAnObject) {
  bool graphicFreed = false, userFreed = false, otherFreed = false;
  TFreedFlag user(&userFreed), other(&otherFreed);
  {
    TProbeGrid g(nullptr);
    auto* graphic = new TFlaggedGraphic(&graphicFreed);
    g.SetGraphicObjects(1, 1, graphic);
    g.SetGraphicObjects(3, 40, graphic);  // shared, and beyond the row count
    g.SetObjects(1, 1, &user);
    g.SetGraphicObjects(2, 2, &other);
    g.ResetCell(2, 2);  // detached, still the grid's
    EXPECT_EQ(g.GridObjects(2, 2), nullptr);
  }
  EXPECT_TRUE(graphicFreed);
  EXPECT_FALSE(userFreed);
  EXPECT_FALSE(otherFreed);

  graphicFreed = false;
  TProbeGrid g(nullptr);
  auto* kept = new TFlaggedGraphic(&graphicFreed);
  g.SetGraphicObjects(2, 3, kept);
  g.FreeCellProperties(2, 3);  // the record only
  EXPECT_FALSE(graphicFreed);
  delete kept;
  graphicFreed = false;
  g.SetGraphicObjects(2, 3, new TFlaggedGraphic(&graphicFreed));
  g.FreeCellPropertiesRect(0, 0, 4, 4);
  EXPECT_TRUE(graphicFreed);
  EXPECT_FALSE(g.HasCellProperties(2, 3));
}

TEST(BaseGridStore, SetCellPropertiesReplacesTheRecordAndTheGridOwnsTheNewOne) {
  TProbeGrid g(nullptr);
  TCellProperties* old = g.CellProperties(1, 1);
  old->SetCellSpanX(0);
  auto* fresh = new TCellProperties(&g, 1, 1);
  fresh->Assign(old);
  EXPECT_EQ(fresh->CellSpanX(), 0);
  g.SetCellProperties(1, 1, fresh);
  EXPECT_EQ(g.CellProperties(1, 1), fresh);
  g.SetCellProperties(1, 1, fresh);  // the same record again stays
  EXPECT_EQ(g.CellProperties(1, 1), fresh);
}

TEST(BaseGridStore, ARecordHandedToAnotherGridBelongsToThatGridAlone) {
  // Freed once, by the grid that holds it last; its attributes (also the rarely set ones) stay.
  auto first = std::make_unique<TProbeGrid>(nullptr);
  TProbeGrid second(nullptr);
  TCellProperties* p = first->CellProperties(1, 1);
  p->SetBrushColor(clRed);
  p->SetBorderWidth(2);
  p->SetFontName(u"Courier New");
  first->ResetCell(1, 1);
  second.SetCellProperties(2, 2, p);
  first.reset();
  EXPECT_EQ(second.CellProperties(2, 2), p);
  EXPECT_EQ(p->OwnerGrid(), &second);
  EXPECT_EQ(p->BrushColor(), clRed);
  EXPECT_EQ(p->BorderWidth(), 2);
  EXPECT_EQ(p->FontName(), u"Courier New");
  EXPECT_EQ(p->CalcObject(), nullptr);
  second.FreeCellProperties(2, 2);
  EXPECT_FALSE(second.HasCellProperties(2, 2));
}

TEST(BaseGridStore, LinkingAnUndoComponentSetsItsGridAndAFreedOneIsForgotten) {
  TProbeGrid g(nullptr);
  auto undo = std::make_unique<TAdvGridUndoRedo>(nullptr);
  g.SetUndoRedo(undo.get());
  EXPECT_EQ(undo->Grid(), &g);
  EXPECT_EQ(g.UndoRedo(), undo.get());
  undo.reset();
  EXPECT_EQ(g.UndoRedo(), nullptr);
}

TEST(BaseGridStore, TenMillionRowsCostNothingPerEmptyCell) {
  TProbeGrid g(nullptr);
  g.SetRowCount(10000000);
  g.MergeCells(1, 9999998, 2, 2);
  g.SetCells(2, 9999999, u"last");
  EXPECT_EQ(g.GridCells(1, 9999998), u"last");
  EXPECT_EQ(g.StoredCellCount(), 4u);  // the four records, the text with one of them
  g.FreeCellPropertiesRect(0, 0, g.ColCount() - 1, g.RowCount() - 1);
  EXPECT_EQ(g.StoredCellCount(), 1u);
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(BaseGridFixture, MergedAreaIsPaintedOnceThroughItsBaseCellsWholeRectangle) {
  grid->MergeCells(1, 1, 3, 2);
  Render();
  EXPECT_EQ(grid->Contents[std::make_pair(1, 1)], 1);
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 2; ++r) {
      if (c == 1 && r == 1) continue;
      EXPECT_EQ(grid->Contents[std::make_pair(c, r)], 0) << c << "," << r;
    }
  TRect area = grid->CellRect(1, 1);
  EXPECT_EQ(area.Width(), 120);
  EXPECT_EQ(area.Height(), 40);
  // The whole area in the base cell's colour, its inner lines gone.
  TRect inner = grid->CellRect(2, 1);
  EXPECT_EQ(Pixel(inner.Left + 40, inner.Top + 19), clRed);
  EXPECT_EQ(Pixel(inner.Left + 39, inner.Top + 5), clRed);
  // A later pass paints it again.
  Render();
  EXPECT_EQ(grid->Contents[std::make_pair(1, 1)], 1);
}

TEST_F(BaseGridFixture, MergedAreaScrolledUnderTheFixedColumnsIsClippedToTheScrollableCells) {
  grid->SetColCount(20);
  grid->MergeCells(1, 2, 4, 1);
  grid->SetLeftCol(3);
  Render();
  TRect fixed = grid->TCustomGrid::CellRect(0, 2);
  TRect shown = grid->TCustomGrid::CellRect(3, 2);
  EXPECT_EQ(Pixel(shown.Left + 5, shown.Top + 5), clRed);
  EXPECT_NE(Pixel(fixed.Left + 5, fixed.Top + 5), clRed);
  EXPECT_EQ(grid->Contents[std::make_pair(1, 2)], 1);
}

TEST_F(BaseGridFixture, LinesAtWidthThreeRunInsideTheCellsAndShrinkTheContent) {
  grid->SetColor(clWhite);
  grid->SetGridLineColor(clBlue);
  grid->SetGridLineWidth(3);
  Render();
  TRect r = grid->CellRect(2, 2);
  int midY = (r.Top + r.Bottom) / 2, midX = (r.Left + r.Right) / 2;
  struct Case {
    int x, y;
    TColor colour;
  } cases[] = {
      {r.Right - 1, midY, clBlue}, {r.Right - 2, midY, clBlue}, {r.Right - 3, midY, clBlue},
      {r.Right - 4, midY, clWhite}, {midX, r.Bottom - 1, clBlue}, {midX, r.Bottom - 3, clBlue},
      {midX, r.Bottom - 4, clWhite},
  };
  for (const Case& k : cases) EXPECT_EQ(Pixel(k.x, k.y), k.colour) << k.x << "," << k.y;
  EXPECT_EQ(grid->ContentRects[std::make_pair(2, 2)], TRect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3));
  // Fixed cells keep one-pixel lines in their own colour.
  TRect f = grid->CellRect(0, 2);
  EXPECT_EQ(Pixel(f.Right - 1, (f.Top + f.Bottom) / 2), clGray);
  EXPECT_EQ(grid->ContentRects[std::make_pair(0, 2)], TRect(f.Left, f.Top, f.Right - 1, f.Bottom - 2));
}

// One-pixel lines: the last column and row of each cell, from edge to edge, nothing beside.
TEST_F(BaseGridFixture, LinesAtWidthOneTakeTheCellsLastColumnAndRow) {
  grid->SetColor(clWhite);
  grid->SetFixedColor(clSilver);
  grid->SetGridLineColor(clBlue);
  Render();
  TRect r = grid->CellRect(2, 2), f = grid->CellRect(0, 2), h = grid->CellRect(2, 0);
  int midY = (r.Top + r.Bottom) / 2, midX = (r.Left + r.Right) / 2;
  struct Case {
    int x, y;
    TColor colour;
  } cases[] = {
      {r.Right - 1, midY, clBlue},      {r.Right - 2, midY, clWhite},        {r.Right - 1, r.Top, clBlue},
      {r.Right - 1, r.Bottom - 1, clBlue}, {midX, r.Bottom - 1, clBlue},   {midX, r.Bottom - 2, clWhite},
      {r.Left, r.Bottom - 1, clBlue},   {r.Left, r.Bottom - 2, clWhite},     {r.Left, midY, clWhite},
      {f.Right - 1, (f.Top + f.Bottom) / 2, clGray}, {f.Right - 2, (f.Top + f.Bottom) / 2, clSilver},
      {(h.Left + h.Right) / 2, h.Bottom - 1, clGray}, {(h.Left + h.Right) / 2, h.Bottom - 3, clSilver},
  };
  for (const Case& k : cases) EXPECT_EQ(Pixel(k.x, k.y), k.colour) << k.x << "," << k.y;
}

TEST_F(BaseGridFixture, ActiveRowAndHoverRowColours) {
  grid->SetColor(clWhite);
  grid->SetActiveRowColor(clYellow);
  grid->SetActiveRowShow(true);
  grid->SetHoverRow(true);
  grid->SetHoverRowColor(clLime);
  grid->SetHoverRowIdx(4);
  grid->SetCol(2);
  grid->SetRow(3);
  Render();
  auto inside = [this](int c, int r) {
    TRect rc = grid->CellRect(c, r);
    return Pixel(rc.Left + 5, rc.Top + 5);
  };
  EXPECT_EQ(inside(3, 3), clYellow);
  EXPECT_NE(inside(2, 3), clYellow);  // the current cell keeps its own colours
  EXPECT_NE(inside(0, 3), clYellow);  // fixed cells too
  EXPECT_EQ(inside(3, 4), clLime);
  grid->SetShowSel(false);
  Render();
  EXPECT_EQ(inside(2, 3), clYellow);

  // Painting a selected cell image outside the grid: active-row colours, no content.
  TBitmap image;
  image.SetSize(40, 20);
  grid->Contents.clear();
  grid->PaintCellExt(image.Canvas(), 5, 5, Rect(0, 0, 40, 20), TGridDrawState{gdSelected});
  EXPECT_EQ(PixelColor(image, 5, 5), clYellow);
  EXPECT_TRUE(grid->Contents.empty());
}

TEST_F(BaseGridFixture, SelectionLooksAndDrawStates) {
  grid->SetColor(clWhite);
  grid->SetOptions(grid->Options() + goRangeSelect);
  grid->SetSelection(TGridRect{2, 2, 4, 3});
  grid->SetSelectionStyle(ssOffice2007);
  grid->SetFocus();
  ProcessPendingEvents();
  Render();
  EXPECT_TRUE(grid->States[std::make_pair(3, 2)].Contains(gdSelected));
  EXPECT_TRUE(grid->States[std::make_pair(4, 3)].Contains(gdFocused));
  EXPECT_FALSE(grid->States[std::make_pair(0, 2)].Contains(gdSelected));
  TRect r = grid->CellRect(3, 2);
  EXPECT_NE(Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clWhite);
  // A selection parked outside the grid selects nothing.
  grid->SetSelection(TGridRect{grid->ColCount(), grid->RowCount(), grid->ColCount(), grid->RowCount()});
  Render();
  for (auto& [cell, state] : grid->States) EXPECT_FALSE(state.Contains(gdSelected)) << cell.first << "," << cell.second;
}

// The frame of a one-cell selection in each look, with and without the focus.
TEST_F(BaseGridFixture, SelectionLooksTakeTheirColourTable) {
  auto* other = new TEdit(&form);
  other->SetParent(&form);
  other->SetBounds(10, 280, 80, 24);
  struct Case {
    TGridSelectionStyle style;
    bool focused;
    TColor border;
  } cases[] = {
      {ssVista, true, 0xFDDE99},  {ssWin7, true, 0xCEA27D},   {ssOffice2007, true, 0x8DD7D3},
      {ssVista, false, 0xD9D9D9}, {ssWin7, false, 0xD9D9D9}, {ssOffice2007, false, 0xD9D9D9},
  };
  grid->SetCol(3);
  grid->SetRow(3);
  for (const Case& k : cases) {
    grid->SetSelectionStyle(k.style);
    if (k.focused) grid->SetFocus();
    else other->SetFocus();
    ProcessPendingEvents();
    ASSERT_EQ(grid->Focused(), k.focused);
    Render();
    TRect r = grid->CellRect(3, 3);
    EXPECT_EQ(Pixel(r.Left, (r.Top + r.Bottom) / 2), k.border) << int(k.style) << " " << k.focused;
  }
  // Unfocused with goDrawFocusSelected keeps the focused look.
  grid->SetOptions(grid->Options() + goDrawFocusSelected);
  Render();
  TRect r = grid->CellRect(3, 3);
  EXPECT_EQ(Pixel(r.Left, (r.Top + r.Bottom) / 2), 0x8DD7D3);
}

TEST_F(BaseGridFixture, HiddenLastRowIsBlank) {
  grid->SetColor(clWhite);
  grid->SetRowCount(6);
  grid->SetCells(2, 5, u"footer");
  grid->SetHideLastRow(true);
  Render();
  EXPECT_EQ(grid->Contents.count(std::make_pair(2, 5)), 0u);
  TRect r = grid->CellRect(2, 5);
  EXPECT_EQ(Pixel(r.Right - 1, r.Bottom - 1), clWhite);
}

// ---------------------------------------------------------------------------
// Navigation

TEST_F(BaseGridFixture, KeysStepOverMergedAreasAndRestOnBaseCells) {
  grid->MergeCells(2, 2, 3, 2);  // columns 2..4, rows 2..3
  grid->SetFocus();
  ProcessPendingEvents();
  struct Case {
    TGridCoord from;
    Word key;
    TGridCoord to;
  } cases[] = {
      {{2, 2}, VK_RIGHT, {5, 2}}, {{2, 2}, VK_DOWN, {2, 4}}, {{2, 2}, VK_LEFT, {1, 2}},
      {{2, 2}, VK_UP, {2, 1}},    {{4, 3}, VK_LEFT, {1, 3}}, {{4, 3}, VK_UP, {4, 1}},
      {{4, 3}, VK_RIGHT, {5, 3}}, {{4, 3}, VK_DOWN, {4, 4}}, {{1, 3}, VK_RIGHT, {2, 2}},
      {{3, 4}, VK_UP, {2, 2}},    {{3, 2}, VK_LEFT, {1, 2}}, {{2, 3}, VK_LEFT, {1, 3}},
  };
  for (const Case& k : cases) {
    grid->SetCol(k.from.X);
    grid->SetRow(k.from.Y);
    SimulateKeyStroke(grid, k.key);
    EXPECT_EQ(TGridCoord({grid->Col(), grid->Row()}), k.to)
        << "from " << k.from.X << "," << k.from.Y << " key " << k.key;
  }
}

TEST_F(BaseGridFixture, PageDownStopsAboveTheHiddenLastRow) {
  grid->SetFocus();
  ProcessPendingEvents();
  grid->SetRow(2);
  SimulateKeyStroke(grid, VK_NEXT);
  EXPECT_EQ(grid->Row(), 7);
  grid->SetHideLastRow(true);
  grid->SetRow(2);
  SimulateKeyStroke(grid, VK_NEXT);
  EXPECT_EQ(grid->Row(), 6);
}

TEST_F(BaseGridFixture, TheWheelStepsOverAMergedAreaBothWays) {
  grid->MergeCells(2, 2, 2, 3);  // rows 2..4
  grid->SetCol(2);
  grid->SetRow(2);
  TPoint at = TPoint(100, 100);
  SimulateMouseWheel(grid, -120, at.X, at.Y);
  EXPECT_EQ(grid->Row(), 5);
  SimulateMouseWheel(grid, 120, at.X, at.Y);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 2);
}

TEST_F(BaseGridFixture, SelectCellMayRedirectAClickOnACoveredCellToItsBase) {
  grid->MergeCells(2, 2, 3, 2);
  grid->RedirectCovered = true;
  TRect r = grid->TCustomGrid::CellRect(4, 3);
  SimulateClick(grid, r.Left + 5, r.Top + 5);
  EXPECT_EQ(TGridCoord({grid->Col(), grid->Row()}), TGridCoord({2, 2}));
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 2}));
}
