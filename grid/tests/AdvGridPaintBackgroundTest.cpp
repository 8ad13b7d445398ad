// The grid's background outside its cells: gradient, tiled and fixed pictures, rendered.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// A 3 x 3 grid of 60 x 20 cells on a 500 x 300 control: free area right of x = 180 and below
// y = 60.
struct TBackgroundGrid : TGridForm {
  TBackgroundGrid() {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetDefaultColWidth(60);
    grid->SetDefaultRowHeight(20);
    grid->SetColor(clWhite);
  }
  TColor At(int X, int Y) {
    grid->Invalidate();
    auto shot = RenderControl(grid);
    return PixelColor(*shot, X, Y);
  }
};

}  // namespace

TEST(AdvGridPaintBackground, GradientFillsTheFreeAreaOnlyWithAColorTo) {
  TBackgroundGrid f;
  f.grid->BackGround()->SetDisplay(bdGradientVert);
  f.grid->BackGround()->SetColor(clRed);
  f.grid->BackGround()->SetColorTo(clRed);
  EXPECT_EQ(f.At(400, 150), clRed);  // right of the columns
  EXPECT_EQ(f.At(60, 250), clRed);   // below the rows
  EXPECT_NE(f.At(30, 30), clRed);    // a fixed cell keeps its look

  f.grid->BackGround()->SetColorTo(clNone);
  EXPECT_EQ(f.At(400, 150), clWhite);
}

TEST(AdvGridPaintBackground, NothingWhenNoFreeAreaIsInView) {
  TBackgroundGrid f;
  f.grid->SetColCount(30);
  f.grid->SetRowCount(40);
  f.grid->SetColWidths(29, 30);  // the last column ends short of the client's right edge once scrolled
  f.grid->BackGround()->SetDisplay(bdGradientHorz);
  f.grid->BackGround()->SetColor(clRed);
  f.grid->BackGround()->SetColorTo(clRed);
  EXPECT_NE(f.At(495, 150), clRed);
}

TEST(AdvGridPaintBackground, TiledPictureLinesUpWithTheFirstNormalCell) {
  TBackgroundGrid f;
  TBitmap tile(10, 10);
  tile.Canvas()->Brush()->SetColor(clBlue);
  tile.Canvas()->FillRect(TRect(0, 0, 10, 10));
  tile.Canvas()->Brush()->SetColor(clLime);
  tile.Canvas()->FillRect(TRect(0, 0, 1, 10));  // a green first column marks each tile's left edge
  f.grid->BackGround()->SetBitmap(&tile);
  f.grid->BackGround()->SetDisplay(bdTile);
  f.grid->BackGround()->SetCells(bcNormal);
  f.grid->SetXYOffset(TPoint(2, 2));
  const TRect first = f.grid->CellRect(1, 1);
  const int x = first.Left + 2 + 30 * 10;  // a tile's left edge, far right of the columns
  EXPECT_EQ(f.At(x, 200), clLime);
  EXPECT_EQ(f.At(x + 1, 200), clBlue);

  f.grid->BackGround()->SetCells(bcFixed);  // tiles only in fixed cells: nothing outside
  EXPECT_EQ(f.At(x + 1, 200), clWhite);
}
