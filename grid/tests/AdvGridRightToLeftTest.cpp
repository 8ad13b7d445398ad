// The string grid mirrored under right-to-left alignment: where cells, texts, editors and
// clicks land, and Left and Right swapped.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGridFooterPanel.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/AdvGridSearchPanel.h"
#include "grid/demo/GridDemo.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/StdCtrls.h"

namespace {

// A 6 x 5 grid of 60 x 24 cells; MiddleEast makes the process a right-to-left system.
struct TMirrorGrid : TGridForm {
  bool Saved = SysLocale.MiddleEast;
  explicit TMirrorGrid(bool MiddleEast = true) {
    SysLocale.MiddleEast = MiddleEast;
    grid->SetColCount(6);
    grid->SetRowCount(5);
    grid->SetDefaultColWidth(60);
    grid->SetDefaultRowHeight(24);
    ProcessPendingEvents();
  }
  ~TMirrorGrid() { SysLocale.MiddleEast = Saved; }
  void Mirror(bool On) {
    grid->SetBiDiMode(On ? bdRightToLeft : bdLeftToRight);
    ProcessPendingEvents();
  }
  void ClickCell(int C, int R) {
    const TRect r = grid->CellRect(C, R);
    SimulateClick(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

bool Dark(TBitmap& Image, int X, int Y) {
  const TColor c = PixelColor(Image, X, Y);
  return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 3 * 100;
}

// The box of the pixels of Image inside R that differ from R's top-left pixel (OnlyDark: the
// dark ones).
TRect Ink(TBitmap& Image, const TRect& R, bool OnlyDark = false) {
  const TColor ground = PixelColor(Image, R.Left + 3, R.Top + 3);
  TRect box(R.Right, R.Bottom, R.Left, R.Top);
  for (int y = R.Top + 2; y < R.Bottom - 2; ++y)
    for (int x = R.Left + 2; x < R.Right - 2; ++x)
      if (OnlyDark ? Dark(Image, x, y) : PixelColor(Image, x, y) != ground) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST(AdvGridRightToLeft, CellTextsReadTheRightWayRoundAtTheMirroredPlace) {
  TMirrorGrid g;
  g.grid->SetCells(2, 2, u"Abc12");   // left-aligned
  g.grid->SetCells(3, 1, u"<b>Hx</b>");  // tagged
  auto ltr = RenderControl(g.grid);
  const TRect plain = g.grid->CellRect(2, 2), tagged = g.grid->CellRect(3, 1);
  g.Mirror(true);
  auto rtl = RenderControl(g.grid);
  const int w = g.grid->Width();

  for (auto [cell, mirrored] : {std::pair{plain, g.grid->CellRect(2, 2)}, std::pair{tagged, g.grid->CellRect(3, 1)}}) {
    // The cell moved to the mirrored place.
    EXPECT_EQ(mirrored, TRect(w - cell.Right, cell.Top, w - cell.Left, cell.Bottom));
    const TRect a = Ink(*ltr, cell), b = Ink(*rtl, mirrored);
    ASSERT_GT(a.Width(), 5);
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Top, b.Top);
    // Left-aligned text sits at the cell's far side from its lines, as mirrored.
    EXPECT_NEAR(b.Right, w - a.Left, 2);
    int differ = 0;
    for (int y = a.Top; y < a.Bottom; ++y)
      for (int x = 0; x < a.Width(); ++x)
        differ += PixelColor(*ltr, a.Left + x, y) != PixelColor(*rtl, b.Left + x, y);
    EXPECT_EQ(differ, 0) << "the text is not the same picture the right way round";
  }
}

// The box of the pixels of Color in Image inside R (empty when there are none).
TRect ColorBox(TBitmap& Image, const TRect& R, TColor Color) {
  TRect box(R.Right, R.Bottom, R.Left, R.Top);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (PixelColor(Image, x, y) == Color) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

// An 8 x 8 picture red on its left, blue on its right, between a fuchsia top and bottom line
// (the colour that goes transparent); Solid: all of it in one colour.
std::unique_ptr<TBitmap> TwoTone(TColor Solid = clNone) {
  auto b = std::make_unique<TBitmap>();
  b->SetWidth(8);
  b->SetHeight(8);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect(0, 0, 8, 8));
  c->Brush()->SetColor(Solid != clNone ? Solid : clRed);
  c->FillRect(TRect(0, 1, 4, 7));
  c->Brush()->SetColor(Solid != clNone ? Solid : clBlue);
  c->FillRect(TRect(4, 1, 8, 7));
  return b;
}

TEST(AdvGridRightToLeft, GlyphsAndImagesReadTheRightWayRoundAtTheirMirroredPlaces) {
  TMirrorGrid g;
  DEreDuzeroVaro* grid = g.grid;
  auto glyph = TwoTone();
  // The sort glyph in column 2's header, the filter button in column 3's.
  grid->SortSettings()->SetUpGlyph(glyph.get());
  grid->SortSettings()->SetDownGlyph(glyph.get());
  grid->SortSettings()->SetColumn(2);
  grid->SortSettings()->SetShow(true);
  grid->FilterDropDown()->SetGlyph(glyph.get());
  grid->SetFilterDropDownAuto(true);
  for (int r = 1; r < grid->RowCount(); ++r) grid->SetCells(3, r, u"v");
  // A node in row 1 with picture glyphs.
  grid->CellNode()->SetNodeType(cnGlyph);
  grid->CellNode()->SetExpandGlyph(glyph.get());
  grid->CellNode()->SetContractGlyph(glyph.get());
  grid->AddNode(1, 2);
  // Two images side by side in cell (4, 3): the two-tone one, then a green one.
  TImageList images(&g.form);
  images.SetWidth(8);
  images.SetHeight(8);
  auto green = TwoTone(clLime);
  images.AddMasked(glyph.get(), clFuchsia);
  images.AddMasked(green.get(), clFuchsia);
  grid->SetGridImages(&images);
  grid->AddMultiImage(4, 3, 0, haLeft, vaTop);
  grid->CellImages(4, 3)->Add(0);
  grid->CellImages(4, 3)->Add(1);
  ProcessPendingEvents();

  // Each picture is looked for in a part of its cell: From..To from the cell's logical left.
  struct {
    const char* Name;
    int Col, Row, From, To;
    bool Images;
  } const cases[] = {{"sort glyph", 2, 0, 0, 30, false}, {"filter glyph", 3, 0, 30, 60, false},
                     {"node glyph", 0, 1, 0, 60, false}, {"images", 4, 3, 0, 60, true}};
  std::vector<TRect> cells;
  for (const auto& c : cases) cells.push_back(grid->CellRect(c.Col, c.Row));
  auto ltr = RenderControl(grid);
  g.Mirror(true);
  auto rtl = RenderControl(grid);
  const int w = grid->Width();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const TRect cell = grid->CellRect(c.Col, c.Row);
    const TRect a(cells[i].Left + c.From, cells[i].Top, cells[i].Left + c.To, cells[i].Bottom);
    const TRect b(cell.Right - c.To, cell.Top, cell.Right - c.From, cell.Bottom);
    const TRect redL = ColorBox(*ltr, a, clRed), blueL = ColorBox(*ltr, a, clBlue);
    const TRect redR = ColorBox(*rtl, b, clRed), blueR = ColorBox(*rtl, b, clBlue);
    ASSERT_GT(redL.Width(), 0) << c.Name;
    ASSERT_GT(blueL.Width(), 0) << c.Name;
    // Red stays left of blue: the picture is not mirrored.
    EXPECT_EQ(redR.Right, blueR.Left) << c.Name;
    EXPECT_EQ(redR.Width(), redL.Width()) << c.Name;
    if (!c.Images) {
      // The picture as a whole at its mirrored place.
      EXPECT_EQ(redR.Left, w - blueL.Right) << c.Name;
      EXPECT_EQ(redR.Top, redL.Top) << c.Name;
    } else {
      // The images follow one another from the right: the first at the cell's right end.
      const TRect greenL = ColorBox(*ltr, a, clLime), greenR = ColorBox(*rtl, b, clLime);
      EXPECT_EQ(greenL.Left, blueL.Right) << c.Name;
      EXPECT_EQ(greenR.Right, redR.Left) << c.Name;
      EXPECT_EQ(blueR.Right, w - redL.Left) << c.Name;
    }
  }
}

TEST(AdvGridRightToLeft, ClicksKeysAndTheEditorWorkOnTheMirroredCells) {
  TMirrorGrid g;
  g.grid->SetOptions(g.grid->Options() + goEditing);
  g.Mirror(true);
  g.ClickCell(2, 3);
  EXPECT_EQ(g.grid->Col(), 2);
  EXPECT_EQ(g.grid->Row(), 3);
  // Left goes to the higher column, which lies to the left.
  SimulateKeyStroke(g.grid, VK_LEFT);
  EXPECT_EQ(g.grid->Col(), 3);
  SimulateKeyStroke(g.grid, VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 2);

  // The editor covers the cell but its left pixel, the grid line there.
  SimulateKeyStroke(g.grid, VK_F2);
  TAdvInplaceEdit* edit = g.grid->NormalEdit();
  ASSERT_TRUE(edit != nullptr && edit->Visible());
  const TRect r = g.grid->CellRect(2, 3);
  EXPECT_EQ(edit->BoundsRect(), TRect(r.Left + 1, r.Top, r.Right, r.Bottom - 1));
}

TEST(AdvGridRightToLeft, TheMovedColumnsPictureReadsFromTheMouseLeftwards) {
  TMirrorGrid g;
  g.grid->SetOptions(g.grid->Options() + goColMoving);
  g.grid->SetEnhRowColMove(true);
  g.grid->SetColWidths(0, 40);
  g.Mirror(true);
  const TRect from = g.grid->CellRect(2, 0), to = g.grid->CellRect(4, 0);
  SimulateMouseDown(g.grid, mbLeft, from.Left + 20, from.Top + 5);
  SimulateMouseMove(g.grid, from.Left + 10, from.Top + 5, TShiftState{ssLeft});
  SimulateMouseMove(g.grid, to.Left + 25, to.Top + 7, TShiftState{ssLeft});
  TForm* picture = g.grid->MoveForm();
  ASSERT_NE(picture, nullptr);
  // The pressed spot stays under the mouse; the picture's right end lies there, less the
  // first column's width.
  const TPoint p = g.grid->ClientToScreen(TPoint(to.Left + 5, to.Top + 2));
  EXPECT_EQ(TPoint(picture->Left() + picture->Width() - 40, picture->Top()), p);
  SimulateMouseUp(g.grid, mbLeft, to.Left + 25, to.Top + 7);
  ProcessPendingEvents();
  EXPECT_EQ(g.grid->MoveForm(), nullptr);
}

TEST(AdvGridRightToLeft, APressInAMergedAreaSelectsItsBaseCell) {
  TMirrorGrid g;
  g.grid->MergeCells(1, 1, 3, 2);
  g.Mirror(true);
  const TRect area = g.grid->CellRect(1, 1);
  EXPECT_EQ(area.Width(), 180);
  // The base cell is the area's right end; a press at its left end selects the base too.
  SimulateClick(g.grid, area.Left + 5, area.Bottom - 5);
  EXPECT_EQ(g.grid->Col(), 1);
  EXPECT_EQ(g.grid->Row(), 1);
}

TEST(AdvGridRightToLeft, FillsAndLinesAreTheLeftToRightOnesFlipped) {
  TMirrorGrid g;
  g.grid->MergeCells(3, 2, 2, 2);
  g.grid->SetSelection({1, 1, 2, 3});
  // The focus stays off the grid: a focus frame's dots fall on the pixels of its parity.
  auto* edit = new TEdit(&g.form);
  edit->SetParent(&g.form);
  edit->SetBounds(10, 320, 80, 24);
  edit->SetFocus();
  ProcessPendingEvents();
  auto ltr = RenderControl(g.grid);
  g.Mirror(true);
  auto rtl = RenderControl(g.grid);
  const int w = g.grid->Width(), h = g.grid->Height();
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differ += PixelColor(*ltr, x, y) != PixelColor(*rtl, w - 1 - x, y);
  // Qt may end a mirrored pen line on the other pixel of its last step: one pixel at most.
  EXPECT_LE(differ, 1);
}

TEST(AdvGridRightToLeft, FooterAndSearchPanelRunFromTheRightEdge) {
  TMirrorGrid g;
  g.grid->SetCells(1, g.grid->RowCount() - 1, u"Total");
  g.grid->FloatingFooter()->SetVisible(true);
  g.grid->SearchFooter()->SetVisible(true);
  ProcessPendingEvents();
  TFooterPanel* footer = g.grid->FooterPanel();
  TSearchPanel* search = g.grid->SearchPanel();
  ASSERT_TRUE(footer != nullptr && search != nullptr);
  auto ltr = RenderControl(footer);
  // Column 1 of the six 60-pixel columns ending at ColumnsWidth.
  const TRect cell(footer->ColumnsWidth() - 5 * 60, 1, footer->ColumnsWidth() - 4 * 60, footer->Height());
  const int exitLeft = search->ExitButton()->Left(), editLeft = search->Edit()->Left();
  g.Mirror(true);
  auto rtl = RenderControl(footer);
  const int w = footer->Width();

  // The footer's cell of column 1 with its text, at the mirrored place and read the same way.
  // (The cell's ground is a gradient between edge lines: its text is told by its dark pixels.)
  const TRect a = Ink(*ltr, cell, true), b = Ink(*rtl, TRect(w - cell.Right, cell.Top, w - cell.Left, cell.Bottom), true);
  ASSERT_GT(a.Width(), 5);
  ASSERT_EQ(a.Width(), b.Width());
  EXPECT_NEAR(b.Right, w - a.Left, 2);
  int differ = 0;
  for (int y = a.Top; y < a.Bottom; ++y)
    for (int x = 0; x < a.Width(); ++x) differ += Dark(*ltr, a.Left + x, y) != Dark(*rtl, b.Left + x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(footer->ColumnAt(w - 1 - (cell.Left + 3)), 1);

  // The search panel's controls stand mirrored.
  EXPECT_EQ(search->ExitButton()->Left(), search->Width() - search->ExitButton()->Width() - exitLeft);
  EXPECT_EQ(search->Edit()->Left(), search->Width() - search->Edit()->Width() - editLeft);
}

// The demo's horizontal bar, scrolled to its first columns, in each look: mirrored, its line
// between the arrow buttons is the left-to-right one flipped (the thumb starts at the right).
TEST(AdvGridRightToLeft, TheDemoGridsHorizontalBarRunsFromTheRight) {
  const bool saved = SysLocale.MiddleEast;
  TGridDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = form.Grid();
  g->SetColCount(30);
  struct {
    const char* Name;
    bool Proportional;
    TScrollType Type;
  } const looks[] = {{"plain", false, ssNormal}, {"proportional", true, ssNormal}, {"flat", false, ssFlat}};
  for (const auto& look : looks) {
    g->SetScrollProportional(look.Proportional);
    g->SetScrollType(look.Type);
    // The flat look's groove in a colour of its own, to tell it from the thumb.
    g->SetScrollColor(look.Type == ssFlat ? clYellow : clNone);
    g->SetLeftCol(g->FixedCols());
    ProcessPendingEvents();
    auto line = [&] {
      TScrollBar* bar = g->HorzScrollBar();
      EXPECT_TRUE(bar != nullptr && bar->Visible()) << look.Name;
      auto image = RenderControl(bar);
      std::vector<TColor> out;
      for (int x = 0; x < bar->Width(); ++x) out.push_back(PixelColor(*image, x, bar->Height() / 2));
      return out;
    };
    const std::vector<TColor> ltr = line();
    SysLocale.MiddleEast = true;
    g->SetBiDiMode(bdRightToLeft);
    ProcessPendingEvents();
    const std::vector<TColor> rtl = line();
    ASSERT_EQ(ltr.size(), rtl.size());
    const int w = static_cast<int>(ltr.size()), arrows = g->HorzScrollBar()->Height() + 2;
    int differ = 0, thumbSide = 0;
    for (int x = arrows; x < w - arrows; ++x) {
      differ += rtl[x] != ltr[w - 1 - x];
      thumbSide += ltr[x] != ltr[w - 1 - x];
    }
    EXPECT_GT(thumbSide, 10) << look.Name << ": the thumb does not tell the bar's ends apart";
    EXPECT_LE(differ, 2) << look.Name;
    g->SetBiDiMode(bdLeftToRight);
    SysLocale.MiddleEast = saved;
  }
}

TEST(AdvGridRightToLeft, NothingMirrorsOnALeftToRightSystem) {
  TMirrorGrid g(false);
  const TRect cell = g.grid->CellRect(2, 2);
  g.Mirror(true);
  EXPECT_EQ(g.grid->CellRect(2, 2), cell);
  g.ClickCell(2, 2);
  SimulateKeyStroke(g.grid, VK_LEFT);
  EXPECT_EQ(g.grid->Col(), 1);
}

}  // namespace
