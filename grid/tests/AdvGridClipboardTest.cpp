// Clipboard copy, cut and paste: the text format, the cell stream between two grids, and the
// smart fill of a selection.
#include <gtest/gtest.h>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {

// A grid without fixed cells whose cells take pasted text.
void Plain(DEreDuzeroVaro* g, int Cols, int Rows) {
  PlainGrid(g, Cols, Rows);
  g->SetOptions(g->Options() + goEditing);
}

}  // namespace

TEST(GridClipboard, TextFormatOfCopiedBlocks) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Plain(g, 2, 2);
  g->SetCells(0, 0, u"a");
  g->SetCells(1, 0, u"b");
  g->SetCells(0, 1, u"c");
  g->SetCells(1, 1, u"two\r\nlines");
  g->SetSelection(TGridRect{0, 0, 0, 0});
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), u"a");
  g->CopyToClipBoard();
  EXPECT_EQ(Clipboard()->AsText(), u"a\tb\r\nc\t\"two\nlines\"\r\n");

  // Pasting the text back: the quotes go, the LF stays.
  TGridForm f2;
  Plain(f2.grid, 2, 2);
  f2.grid->PasteFromClipboard();
  EXPECT_EQ(f2.grid->Cells(1, 0), u"b");
  EXPECT_EQ(f2.grid->Cells(1, 1), u"two\nlines");
  int cols = 0, rows = 0;
  f2.grid->ClipboardTextSize(u"a\tb\r\nc", cols, rows);
  EXPECT_EQ(cols, 2);
  EXPECT_EQ(rows, 1);
}

TEST(GridClipboard, CellStreamCarriesPropertiesBetweenGrids) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Plain(g, 3, 3);
  g->Navigation()->SetAllowFmtClipboard(true);
  g->SetCells(1, 1, u"red");
  g->CellProperties(1, 1)->SetBrushColor(clRed);
  g->SetSelection(TGridRect{1, 1, 1, 1});
  g->CopySelectionToClipboard();
  ASSERT_TRUE(Clipboard()->HasFormat(RegisterClipboardFormat(u"DEreDuzeroVaro Cells")));

  TGridForm f2;
  DEreDuzeroVaro* t = f2.grid;
  Plain(t, 2, 2);
  t->Navigation()->SetAllowFmtClipboard(true);
  TPoint pastedFrom{0, 0};
  t->SetSelection(TGridRect{1, 1, 1, 1});
  t->PasteSelectionFromClipboard();
  EXPECT_EQ(t->Cells(1, 1), u"red");
  EXPECT_EQ(t->CellProperties(1, 1)->BrushColor(), clRed);
  (void)pastedFrom;
}

TEST(GridClipboard, SmartFillContinuesSeries) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Plain(g, 2, 8);
  g->Navigation()->SetAllowSmartClipboard(true);
  g->SetCells(0, 0, u"1");
  g->SetCells(0, 1, u"2");
  g->SetSelection(TGridRect{0, 0, 0, 1});
  g->CopySelectionToClipboard();
  g->SetSelection(TGridRect{0, 0, 0, 5});
  g->PasteSelectionFromClipboard();
  for (int r = 0; r < 6; ++r) EXPECT_EQ(g->Cells(0, r), IntToStr(r + 1)) << r;

  g->SetCells(1, 0, u"x");
  g->SetSelection(TGridRect{1, 0, 1, 0});
  g->CopySelectionToClipboard();
  g->SetSelection(TGridRect{1, 0, 1, 4});
  g->PasteSelectionFromClipboard();
  for (int r = 0; r < 5; ++r) EXPECT_EQ(g->Cells(1, r), u"x") << r;
}

TEST(GridClipboard, CutClearsEditableCellsAndPasteSkipsReadOnlyOnes) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Plain(g, 2, 1);
  g->SetCells(0, 0, u"p");
  g->SetCells(1, 0, u"q");
  g->SetSelection(TGridRect{0, 0, 1, 0});
  g->CutSelectionToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), u"p\tq");
  EXPECT_EQ(g->Cells(0, 0), u"");
  g->CellProperties(1, 0)->SetReadOnly(true);
  g->SetSelection(TGridRect{0, 0, 0, 0});
  g->PasteSelectionFromClipboard();
  EXPECT_EQ(g->Cells(0, 0), u"p");
  EXPECT_EQ(g->Cells(1, 0), u"");
}

TEST(GridClipboard, ShortcutKeysCopyAndPaste) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Plain(g, 3, 3);
  g->Navigation()->SetAllowClipboardShortCuts(true);
  g->SetCells(0, 0, u"key");
  g->SetFocus();
  ProcessPendingEvents();
  g->SetSelection(TGridRect{0, 0, 0, 0});
  SimulateKeyStroke(g, 'C', TShiftState{ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), u"key");
  g->SetSelection(TGridRect{2, 2, 2, 2});
  SimulateKeyStroke(g, VK_INSERT, TShiftState{ssShift});
  EXPECT_EQ(g->Cells(2, 2), u"key");
  // A refused paste changes nothing.
  g->OnClipboardPaste = [](TObject*, const String&, bool& Allow) { Allow = false; };
  g->SetSelection(TGridRect{1, 1, 1, 1});
  SimulateKeyStroke(g, 'V', TShiftState{ssCtrl});
  EXPECT_EQ(g->Cells(1, 1), u"");
}
