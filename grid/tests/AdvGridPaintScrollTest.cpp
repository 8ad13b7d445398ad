// A vertical scroll moves the pixels of the scrolling rows and paints only the rows it
// uncovers, and the scroll bars repaint only their thumbs: whatever the grid shows, the view
// after each scroll, and what the window shows, is the one a full repaint gives.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// The first few pixels where the two pictures differ, with their count; empty when equal.
std::string Differences(TBitmap& A, TBitmap& B) {
  std::string out;
  int count = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (PixelColor(A, x, y) != PixelColor(B, x, y) && ++count <= 4)
        out += std::to_string(x) + "," + std::to_string(y) + " ";
  return count ? std::to_string(count) + " pixels: " + out : std::string();
}

struct TLookCase {
  const char* name;
  std::function<void(DEreDuzeroVaro*)> setUp;
};

TEST(AdvGridPaintScroll, ScrolledViewIsTheViewPaintedAnew) {
  const TLookCase cases[] = {
      {"plain", [](DEreDuzeroVaro*) {}},
      {"fixed rows and columns, merged cells across the fixed and the scrolling rows, other heights",
       [](DEreDuzeroVaro* g) {
         g->SetFixedCols(2);
         g->SetFixedRows(2);
         g->MergeCells(0, 3, 1, 4);  // a fixed column's merged cell
         g->MergeCells(3, 1, 2, 4);  // from the fixed rows into the scrolling ones
         g->MergeCells(2, 6, 3, 3);
         g->SetRowHeights(5, 37);
         g->SetRowHeights(9, 11);
       }},
      {"XP look, bands, check boxes, progress bars, active cell headers and row",
       [](DEreDuzeroVaro* g) {
         g->SetLook(glXP);
         g->Bands()->SetActive(true);
         g->SetActiveCellShow(true);
         g->SetActiveRowShow(true);
         for (int r = 1; r < 40; r += 2) {
           g->AddCheckBox(2, r, r % 3 == 0, false);
           g->AddProgress(3, r, clRed, clWhite);
           g->SetCells(3, r, IntToStr(r * 7 % 101));
         }
       }},
      {"row select, word wrap", [](DEreDuzeroVaro* g) {
         g->SetOptions(g->Options() + goRowSelect);
         g->SetWordWrap(true);
         g->SetCells(1, 4, u"a text long enough to wrap over two lines of the cell");
       }},
  };
  for (const TLookCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGridForm f;
    DEreDuzeroVaro* g = f.grid;
    g->SetColCount(8);
    g->SetRowCount(200);
    for (int r = 0; r < g->RowCount(); ++r)
      for (int col = 0; col < g->ColCount(); ++col) g->SetCells(col, r, IntToStr(r) + u":" + IntToStr(col));
    c.setUp(g);
    g->Invalidate();
    ProcessPendingEvents();
    // Wheel notches both ways (the current row moves, then the view follows it), single rows,
    // a move by more than the view, and back to the top.
    auto wheel = [&](int Notches) {
      for (int i = 0; i < std::abs(Notches); ++i) SimulateMouseWheel(g, Notches < 0 ? -120 : 120, 200, 150);
    };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"wheel down", [&] { wheel(-1); }},
        {"wheel down past the view's last row", [&] { wheel(-6); }},
        {"wheel down, scrolling", [&] { wheel(-1); }},
        {"wheel up", [&] { wheel(1); }},
        {"wheel up past the view's first row", [&] { wheel(8); }},
        {"one row down", [&] { g->SetTopRow(g->TopRow() + 1); }},
        {"a page and more", [&] { g->SetTopRow(g->TopRow() + 30); }},
        {"three rows up", [&] { g->SetTopRow(g->TopRow() - 3); }},
        {"to the top", [&] { g->SetTopRow(g->FixedRows()); }},
    };
    for (const auto& [what, step] : steps) {
      SCOPED_TRACE(what);
      const int top = g->TopRow();
      step();
      g->Update();
      ProcessPendingEvents();
      std::unique_ptr<TBitmap> shown = ShownPixels(g);  // the scroll bars as they repainted themselves
      std::unique_ptr<TBitmap> scrolled = RenderControl(g);
      g->Invalidate();
      std::unique_ptr<TBitmap> fresh = RenderControl(g);
      EXPECT_EQ(Differences(*scrolled, *fresh), "") << "top row " << top << " -> " << g->TopRow();
      ASSERT_NE(shown, nullptr);
      EXPECT_EQ(Differences(*shown, *fresh), "") << "shown, top row " << top << " -> " << g->TopRow();
    }
  }
}

}  // namespace
