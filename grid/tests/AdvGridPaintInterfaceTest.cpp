// Cells whose object draws itself (ctInterface), painted on screen: over the cell's text, or
// under it when the object draws as the background.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// Fills the rectangle it is given, and leaves the canvas' tools changed.
struct TFiller : TPersistent, IGridCellDraw {
  TColor Colour = clBlue;
  bool Background = false;
  std::vector<TRect> Rects;
  std::vector<TPoint> Cells;
  TObject* Grid = nullptr;
  void Draw(TCanvas* Canvas, const TRect& R, int ACol, int ARow, bool, TObject* AGrid) override {
    Rects.push_back(R);
    Cells.push_back(TPoint(ACol, ARow));
    Grid = AGrid;
    Canvas->Brush()->SetColor(Colour);
    Canvas->FillRect(R);
    Canvas->Font()->SetColor(clLime);
    Canvas->Brush()->SetColor(clRed);
  }
  int GetWidth() override { return 0; }
  int GetHeight() override { return 0; }
  bool IsBackground() override { return Background; }
};

int CountIf(TBitmap& Shot, const TRect& R, const std::function<bool(TColor)>& Test) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) n += Test(PixelColor(Shot, x, y));
  return n;
}

bool Dark(TColor C) { return (C & 0xFF) < 90 && ((C >> 8) & 0xFF) < 90 && ((C >> 16) & 0xFF) < 90; }

TEST(AdvGridPaintInterface, TheObjectDrawsOverTheTextOrUnderItAsTheBackground) {
  for (bool background : {false, true}) {
    SCOPED_TRACE(background);
    TGridForm f;
    DEreDuzeroVaro* g = f.grid;
    g->SetColCount(4);
    g->SetRowCount(4);
    g->SetDefaultColWidth(90);
    g->SetDefaultRowHeight(30);
    g->SetCells(2, 2, u"MMMM");
    g->SetCells(3, 2, u"MMMM");
    TFiller obj;
    obj.Background = background;
    g->AddInterfacedCell(2, 2, &obj);
    g->Invalidate();
    std::unique_ptr<TBitmap> shot = RenderControl(g);
    const TRect cell = g->CellRect(2, 2);
    ASSERT_FALSE(obj.Rects.empty());
    EXPECT_EQ(obj.Cells.back(), TPoint(2, 2));
    EXPECT_EQ(obj.Grid, g);
    // The cell's rectangle, inside the grid lines.
    const TRect r = obj.Rects.back();
    EXPECT_LE(std::abs(r.Left - cell.Left), 2);
    EXPECT_LE(std::abs(r.Top - cell.Top), 2);
    EXPECT_LE(std::abs(r.Right - cell.Right), 2);
    EXPECT_LE(std::abs(r.Bottom - cell.Bottom), 2);
    const int blue = CountIf(*shot, cell, [](TColor c) { return c == clBlue; });
    EXPECT_GT(blue, cell.Width() * cell.Height() * 8 / 10);
    // Over the text it hides it; as the background the text stays on it, in the cell's own
    // font colour (the object's changed tools do not reach it).
    const int text = CountIf(*shot, cell, Dark);
    if (background) EXPECT_GT(text, 20);
    else EXPECT_EQ(text, 0);
    EXPECT_EQ(CountIf(*shot, cell, [](TColor c) { return c == clLime || c == clRed; }), 0);
    // Its neighbour is untouched and keeps its text.
    const TRect next = g->CellRect(3, 2);
    EXPECT_EQ(CountIf(*shot, next, [](TColor c) { return c == clBlue; }), 0);
    EXPECT_GT(CountIf(*shot, next, Dark), 20);
    // Drawn once per paint, in one of the two places.
    obj.Rects.clear();
    g->Invalidate();
    shot = RenderControl(g);
    EXPECT_EQ(obj.Rects.size(), 1u);
    g->RemoveInterfacedCell(2, 2);
  }
}

}  // namespace
