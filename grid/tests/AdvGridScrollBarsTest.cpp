// The grid's window scroll bars: hints beside a dragged thumb, scrolling while dragging,
// proportional bars and bars shown always, all worked with the real mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesHint.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/StdCtrls.h"

namespace {

// A grid of 40 columns 64 wide and 200 rows on the 500 x 300 test form.
struct TScrollForm : TGridForm {
  TScrollForm() {
    grid->SetColCount(40);
    grid->SetRowCount(200);
    grid->SetDefaultColWidth(64);
    ProcessPendingEvents();
  }
};

// A point on the thumb of a bar whose position is at its minimum: just past the arrow.
TPoint ThumbAtStart(TScrollBar* Bar) {
  return Bar->Kind() == sbHorizontal ? TPoint(Bar->Height() + 3, Bar->Height() / 2)
                                     : TPoint(Bar->Width() / 2, Bar->Width() + 3);
}

TShiftState LeftHeld() {
  TShiftState s;
  s.Include(ssLeft);
  return s;
}

bool HintShowing(DEreDuzeroVaro* G) { return G->ScrollHintWindow() != nullptr && G->ScrollHintWindow()->Visible(); }

TEST(AdvGridScrollBars, DraggingTheThumbShowsTheHintForItsDirectionAndScrollsOnRelease) {
  struct Case {
    TScrollHintType hints;
    bool horzShown, vertShown;
  };
  for (const Case& c : {Case{shNone, false, false}, Case{shHorizontal, true, false}, Case{shVertical, false, true},
                        Case{shBoth, true, true}}) {
    SCOPED_TRACE(int(c.hints));
    TScrollForm f;
    DEreDuzeroVaro* g = f.grid;
    g->SetScrollHints(c.hints);
    for (TScrollBar* bar : {g->HorzScrollBar(), g->VertScrollBar()}) {
      ASSERT_NE(bar, nullptr);
      const bool horz = bar->Kind() == sbHorizontal;
      const TPoint p = ThumbAtStart(bar);
      const int before = horz ? g->LeftCol() : g->TopRow();
      SimulateMouseDown(bar, mbLeft, p.X, p.Y);
      SimulateMouseMove(bar, p.X + (horz ? 80 : 0), p.Y + (horz ? 0 : 60), LeftHeld());
      const int dragged = bar->Position();
      EXPECT_GT(dragged, before);
      // Without ScrollSynch the grid stays put while the thumb moves.
      EXPECT_EQ(horz ? g->LeftCol() : g->TopRow(), before);
      EXPECT_EQ(HintShowing(g), horz ? c.horzShown : c.vertShown);
      if (HintShowing(g)) {
        EXPECT_EQ(g->ScrollHintWindow()->Caption(), (horz ? u"Col : " : u"Row : ") + IntToStr(dragged));
      }
      SimulateMouseUp(bar, mbLeft, p.X + (horz ? 80 : 0), p.Y + (horz ? 0 : 60));
      EXPECT_FALSE(HintShowing(g));
      EXPECT_EQ(horz ? g->LeftCol() : g->TopRow(), dragged);
    }
  }
}

TEST(AdvGridScrollBars, ScrollSynchScrollsWhileTheThumbIsDraggedAndOnScrollHintChangesTheText) {
  TScrollForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetScrollSynch(true);
  g->SetScrollHints(shVertical);
  int asked = -1;
  g->OnScrollHint = [&](TObject*, int ARow, String& S) {
    asked = ARow;
    S = u"Row " + IntToStr(ARow) + u" of 200";
  };
  TScrollBar* bar = g->VertScrollBar();
  const TPoint p = ThumbAtStart(bar);
  SimulateMouseDown(bar, mbLeft, p.X, p.Y);
  SimulateMouseMove(bar, p.X, p.Y + 50, LeftHeld());
  EXPECT_GT(g->TopRow(), 1);
  EXPECT_EQ(g->TopRow(), asked);
  EXPECT_EQ(g->ScrollHintWindow()->Caption(), u"Row " + IntToStr(asked) + u" of 200");
  SimulateMouseUp(bar, mbLeft, p.X, p.Y + 50);
  EXPECT_EQ(g->TopRow(), asked);
}

TEST(AdvGridScrollBars, ProportionalBarsRunOverThumbPositions0To127WithThePageOfTheShareInView) {
  TScrollForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetScrollProportional(true);
  g->SetScrollHints(shHorizontal);
  TScrollBar* bar = g->HorzScrollBar();
  ASSERT_NE(bar, nullptr);
  // r = (client width - fixed part) / scrolling part, both with their grid lines.
  const int w = g->GridLineWidth();
  const float r = float(g->ClientWidth() - (w + g->ColWidths(0) + w)) / float(w + 39 * (64 + w));
  const int max = int(std::trunc((127 + r) / (1 - r)));
  EXPECT_EQ(bar->Max(), max);
  EXPECT_EQ(bar->PageSize(), max - 126);
  EXPECT_EQ(bar->Position(), 0);

  // The thumb dragged to the far end points at the last column that still fills the view.
  const TPoint p = ThumbAtStart(bar);
  SimulateMouseDown(bar, mbLeft, p.X, p.Y);
  SimulateMouseMove(bar, bar->Width() + 50, p.Y, LeftHeld());
  EXPECT_EQ(bar->Position(), 127);
  const int last = g->FixedCols() + MulDiv(127, g->ColCount() - g->VisibleColCount() - g->FixedCols(), 127);
  EXPECT_EQ(g->ScrollHintWindow()->Caption(), u"Col : " + IntToStr(last));
  SimulateMouseUp(bar, mbLeft, bar->Width() + 50, p.Y);
  EXPECT_EQ(g->LeftCol(), last);
  EXPECT_EQ(g->LeftCol() + g->VisibleColCount(), g->ColCount());  // scrolled to the end

  // A line step moves one column, and the thumb follows the widths scrolled past.
  g->SetLeftCol(20);
  const int s = w + 19 * (64 + w), t = w + 39 * (64 + w);
  EXPECT_EQ(bar->Position(), int(std::trunc(double(s) / double(t - g->ClientWidth()) * 128)));

  // Switched off, the bar holds the column again.
  g->SetScrollProportional(false);
  EXPECT_EQ(bar->Position(), g->LeftCol());
  EXPECT_EQ(bar->PageSize(), 0);
}

TEST(AdvGridScrollBars, ProportionalBarsLeaveAGridWhoseColumnsFitWithoutHorizontalBar) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(3);
  g->SetRowCount(100);
  g->SetScrollProportional(true);
  ProcessPendingEvents();
  EXPECT_EQ(g->HorzScrollBar(), nullptr);
  ASSERT_NE(g->VertScrollBar(), nullptr);
  EXPECT_GT(g->VertScrollBar()->PageSize(), 0);
}

TEST(AdvGridScrollBars, ScrollBarAlwaysShowsTheForcedBarsDisabledWhileEverythingIsInView) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(3);
  g->SetRowCount(3);
  EXPECT_EQ(g->HorzScrollBar(), nullptr);
  EXPECT_EQ(g->VertScrollBar(), nullptr);
  g->SetScrollBarAlways(saVert);
  ASSERT_NE(g->VertScrollBar(), nullptr);
  EXPECT_EQ(g->HorzScrollBar(), nullptr);
  EXPECT_FALSE(g->VertScrollBar()->Enabled());
  // Rows beyond the view: the forced bar scrolls.
  g->SetRowCount(100);
  EXPECT_TRUE(g->VertScrollBar()->Enabled());
  g->SetRowCount(3);
  ASSERT_NE(g->VertScrollBar(), nullptr);
  EXPECT_FALSE(g->VertScrollBar()->Enabled());
  // Auto-sizing the rows keeps it.
  g->AutoSizeRows(false, 0);
  EXPECT_NE(g->VertScrollBar(), nullptr);
  g->SetScrollBarAlways(saBoth);
  ASSERT_NE(g->HorzScrollBar(), nullptr);
  EXPECT_FALSE(g->HorzScrollBar()->Enabled());
  // The bar takes room from the cells like a needed one.
  EXPECT_EQ(g->ClientHeight(), g->Height() - g->HorzScrollBar()->Height());
  g->SetScrollBarAlways(saNone);
  EXPECT_EQ(g->HorzScrollBar(), nullptr);
  EXPECT_EQ(g->VertScrollBar(), nullptr);
}

}  // namespace
