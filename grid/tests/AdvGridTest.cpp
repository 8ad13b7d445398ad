// The string grid's construction, window set-up, copying and destruction.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct TGridForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TGridForm() {
    form.SetBounds(50, 50, 600, 400);
    grid->SetParent(&form);
    form.Show();
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(AdvGrid, NewGridHasItsDefaults) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.RowCount(), 10);
  EXPECT_EQ(g.Width(), 400);
  EXPECT_EQ(g.Height(), 250);
  EXPECT_EQ(g.DefaultRowHeight(), 22);
  EXPECT_EQ(g.FixedRowHeight(), 22);
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_EQ(g.FixedCols(), 1);
  EXPECT_EQ(g.FloatFormat(), u"%.2f");
  EXPECT_EQ(g.CheckTrue(), u"Y");
  EXPECT_EQ(g.CheckFalse(), u"N");
  EXPECT_EQ(g.PasswordChar(), u'*');
  EXPECT_EQ(g.FilterDropDownClear(), u"(All)");
  EXPECT_EQ(g.XMLEncoding(), u"ISO-8859-1");
  EXPECT_EQ(g.SelectionColor(), TColor(0x00EACAB6));
  EXPECT_EQ(g.SelectionTextColor(), clBlack);
  EXPECT_EQ(g.URLColor(), TColor(0x00FF0000));
  EXPECT_EQ(g.ActiveCellColor(), TColor(0x00808080));
  EXPECT_EQ(g.ActiveCellColorTo(), clNone);
  EXPECT_EQ(g.DisabledFontColor(), TColor(0x00C0C0C0));
  EXPECT_EQ(g.InvalidEntryIcon(), ieWarning);
  EXPECT_EQ(g.Look(), glXP);
  EXPECT_EQ(g.ScrollBars(), ssBoth);
  EXPECT_EQ(g.ScrollType(), ssNormal);
  EXPECT_EQ(g.ScrollBarAlways(), saNone);
  EXPECT_EQ(g.ScrollColor(), clNone);
  EXPECT_EQ(g.ComponentStyle(), tsWindowsXP);
  EXPECT_EQ(g.BorderColor(), TColor(0x00B99D7F));
  EXPECT_EQ(g.SelectionColorMixerFactor(), 50);
  EXPECT_EQ(g.GroupColumn(), -1);
  EXPECT_EQ(g.FilterColumn(), -1);
  EXPECT_TRUE(g.ShowNullDates() && g.SaveFixedCells() && g.SaveVirtCells() && g.SaveWithHTML());
  EXPECT_FALSE(g.SaveFixedRows() || g.SaveFixedCols() || g.SaveHiddenCells() || g.ClearTextOnly());
  EXPECT_TRUE(g.EnableHTML() && g.EnableWheel() && g.IntelliZoom() && g.LoadFirstRow() && g.ShowSelection());
  EXPECT_EQ(g.FixedFont()->Name(), u"Tahoma");
  EXPECT_TRUE(g.FixedFont()->Style().Contains(fsBold));
  EXPECT_TRUE(g.ActiveCellFont()->Style().Contains(fsBold));
  EXPECT_EQ(g.ZOLGradientFrom(), clWhite);
  EXPECT_EQ(g.ZOLGradientTo(), ColorToRGB(clBtnFace));
  EXPECT_EQ(g.GetVersionNr(), 0x06000401);
  EXPECT_EQ(g.GetVersionString(), u"6.0.4.1 Jan, 2012");
  EXPECT_EQ(g.Version(), u"6.0.4.1");
  g.SetVersion(u"9.9");
  EXPECT_EQ(g.Version(), u"6.0.4.1");
  EXPECT_EQ(GridLinkCursor, crHandPoint);
  ASSERT_NE(g.FocusWindow(), nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_NE(g.Arrow(i), nullptr);
}

TEST(AdvGrid, WindowStartsTheGridTimerAndFindsTheWheelLines) {
  TGridForm f;
  EXPECT_EQ(f.grid->GridTimerID(), UINT_PTR(111));
  EXPECT_GT(f.grid->WheelScrollLines(), 0);
}

TEST(AdvGrid, FollowsItsFormWithoutTakingTheFormsResizeHandler) {
  TGridForm f;
  int formResizes = 0;
  TNotifyEvent own = [&](TObject*) { ++formResizes; };
  f.form.OnResize = own;
  f.grid->SetSizeWithForm(true);
  f.grid->SetBounds(10, 10, 300, 200);
  f.form.SetWidth(f.form.Width() + 100);
  ProcessPendingEvents();
  EXPECT_EQ(f.grid->Width(), 400);
  EXPECT_EQ(f.grid->Height(), 200);
  EXPECT_GE(formResizes, 1);
  // The form's own handler stays where it was.
  ASSERT_TRUE(static_cast<bool>(f.form.OnResize));
  // Narrowing the form by more than the grid's width changes nothing.
  f.form.SetWidth(f.form.Width() - 450);
  ProcessPendingEvents();
  EXPECT_EQ(f.grid->Width(), 400);
  // A grid freed before its form leaves the form resizable with its own handler.
  delete f.grid;
  int before = formResizes;
  f.form.SetWidth(f.form.Width() + 30);
  ProcessPendingEvents();
  EXPECT_GT(formResizes, before);
}

TEST(AdvGrid, GridThatGoesClearsTheFocusFrameOwner) {
  auto* g = new DEreDuzeroVaro(nullptr);
  FocusFrameGrid = g;
  delete g;
  EXPECT_EQ(FocusFrameGrid, nullptr);
  DEreDuzeroVaro other(nullptr);
  auto* g2 = new DEreDuzeroVaro(nullptr);
  FocusFrameGrid = &other;
  delete g2;
  EXPECT_EQ(FocusFrameGrid, &other);
  FocusFrameGrid = nullptr;
}

TEST(AdvGrid, AssignCopiesSettingsSizesAndCells) {
  DEreDuzeroVaro src(nullptr), dst(nullptr);
  src.SetColCount(20);
  src.SetRowCount(100);
  src.SetColWidths(3, 91);
  src.SetRowHeights(50, 33);
  src.SetCells(2, 7, u"a,b");
  src.SetCells(19, 99, u"last");
  src.SetCells(4, 4, u"two\r\nlines");
  src.SetCheckTrue(u"X");
  src.Bands()->SetActive(true);
  src.Navigation()->SetAdvanceOnEnter(true);
  src.FilterDropDown()->SetHeight(90);
  src.DragScrollOptions()->Margins()->SetTopMargin(12);
  dst.SetMultilinecells(true);
  dst.Assign(&src);
  EXPECT_EQ(dst.ColCount(), 20);
  EXPECT_EQ(dst.RowCount(), 100);
  EXPECT_EQ(dst.ColWidths(3), 91);
  EXPECT_EQ(dst.RowHeights(50), 33);
  EXPECT_EQ(dst.Cells(2, 7), u"a,b");
  EXPECT_EQ(dst.Cells(19, 99), u"last");
  EXPECT_EQ(dst.Cells(4, 4), u"two\r\nlines");
  EXPECT_TRUE(dst.Bands()->Active());
  EXPECT_TRUE(dst.Navigation()->AdvanceOnEnter());
  EXPECT_EQ(dst.FilterDropDown()->Height(), 90);
  EXPECT_EQ(dst.DragScrollOptions()->Margins()->TopMargin(), 12);
  // Another source is ignored.
  TStringList other;
  dst.Assign(&other);
  EXPECT_EQ(dst.ColCount(), 20);
}

TEST(AdvGrid, TextStreamBlocksReadBackOneAfterTheOther) {
  DEreDuzeroVaro a(nullptr), b(nullptr), c(nullptr);
  a.SetCells(3, 2, u"a,b");
  a.SetCells(1, 1, u"line\nfeed");
  b.SetColCount(6);
  b.SetRowCount(4);
  b.SetCells(5, 3, u"z");
  TMemoryStream s;
  a.SaveToStream(&s);
  b.SaveToStream(&s);
  s.SetPosition(0);
  c.LoadFromStream(&s);
  EXPECT_EQ(c.ColCount(), 5);
  EXPECT_EQ(c.Cells(3, 2), u"a,b");
  EXPECT_EQ(c.Cells(1, 1), u"line\nfeed");
  EXPECT_EQ(c.Cells(5, 3), u"");
  c.LoadFromStream(&s);
  EXPECT_EQ(c.ColCount(), 6);
  EXPECT_EQ(c.RowCount(), 4);
  EXPECT_EQ(c.Cells(5, 3), u"z");
}

TEST(AdvGrid, IntegralHeightRoundsDownToWholeRows) {
  DEreDuzeroVaro g(nullptr);
  g.SetBorderStyle(bsNone);
  g.SetIntegralHeight(true);
  g.SetColCount(2);
  g.SetBounds(0, 0, 400, 100);
  EXPECT_EQ(g.Height(), 88);
  g.SetIntegralHeight(false);
  g.SetBounds(0, 0, 400, 100);
  EXPECT_EQ(g.Height(), 100);
}

TEST(AdvGrid, CellFontComesFromTheCellsRecord) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_EQ(g.GetCellFont(1, 1), g.Font());
  TCellProperties* p = g.CellProperties(1, 1);
  p->SetFontName(u"Courier New");
  p->SetFontSize(14);
  TFont* f = g.GetCellFont(1, 1);
  EXPECT_NE(f, g.Font());
  EXPECT_EQ(f->Name(), u"Courier New");
  EXPECT_EQ(f->Size(), 14);
}

TEST(AdvGrid, FindParentFormWalksUpTheParents) {
  TGridForm f;
  EXPECT_EQ(DEreDuzeroVaro::FindParentForm(f.grid), &f.form);
  EXPECT_EQ(DEreDuzeroVaro::FindParentForm(nullptr), nullptr);
  DEreDuzeroVaro loose(nullptr);
  EXPECT_EQ(DEreDuzeroVaro::FindParentForm(&loose), nullptr);
}

TEST(AdvGrid, StretchColumnFillsTheClientWidth) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetBounds(0, 0, 400, 200);
  g->StretchColumn(-1);  // without ColumnSize.Stretch nothing happens
  EXPECT_EQ(g->ColWidths(4), g->DefaultColWidth());
  g->ColumnSize()->SetStretch(true);
  int others = 0;
  for (int c = 0; c < 4; ++c) others += g->ColWidths(c);
  EXPECT_EQ(g->ColWidths(4), g->ClientRect().Width() - others - 1);
  g->ColumnSize()->SetStretchColumn(2);
  g->StretchColumn(2);
  others = 0;
  for (int c = 0; c < 5; ++c)
    if (c != 2) others += g->ColWidths(c);
  EXPECT_EQ(g->ColWidths(2), g->ClientRect().Width() - others - 1);
  EXPECT_THROW(g->StretchColumn(5), Exception);
  EXPECT_THROW(g->StretchColumn(-2), Exception);
}

TEST(AdvGrid, InvalidateAfterAnEditChangeRepaintsNothingOnce) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->Repaint();
  ProcessPendingEvents();
  int painted = g->PaintID();
  g->SetEditChange(true);
  g->Invalidate();
  ProcessPendingEvents();
  EXPECT_EQ(g->PaintID(), painted);
  g->Invalidate();
  ProcessPendingEvents();
  EXPECT_GT(g->PaintID(), painted);
}

TEST(AdvGrid, HeaderListsFillTheFixedRowAndColumn) {
  DEreDuzeroVaro g(nullptr);
  g.ColumnHeaders()->SetCommaText(u"\"\",One,Two\\nLines");
  EXPECT_EQ(g.Cells(1, 0), u"One");
  EXPECT_EQ(g.Cells(2, 0), u"Two\rLines");
  g.RowHeaders()->SetCommaText(u"\"\",r1,r2");
  EXPECT_EQ(g.Cells(0, 2), u"r2");
  // Without fixed rows the column headers are not shown.
  DEreDuzeroVaro h(nullptr);
  h.SetFixedRows(0);
  h.ColumnHeaders()->SetCommaText(u"x,y");
  EXPECT_EQ(h.Cells(1, 0), u"");
}

TEST(AdvGrid, TimerTicksBlinkTaggedTextAndFollowTheHover) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetEnableBlink(true);
  g->SetCells(2, 2, u"<BLINK>on air</BLINK>");
  bool phase = g->GridBlink();
  ASSERT_TRUE(WaitUntil([&] { return g->TimerTicks() > 0; }, 3000));
  EXPECT_NE(g->GridBlink(), phase);
  // Hovering: the cell under the mouse becomes current at the next tick.
  g->SetHovering(true);
  TRect cell = g->CellRect(3, 4);
  // The pointer rests over the cell (the window system keeps the pointer's place).
  TPoint at = g->ClientToScreen(TPoint(cell.Left + 5, cell.Top + 5));
  SetCursorPos(at.X, at.Y);
  SimulateMouseMove(g, cell.Left + 5, cell.Top + 5);
  int ticks = g->TimerTicks();
  ASSERT_TRUE(WaitUntil([&] { return g->TimerTicks() > ticks; }, 3000));
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 4);
}
