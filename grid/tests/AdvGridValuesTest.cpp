// Cell addressing, per-cell attributes, typed values, measurement, tooltips, cell controls
// and rich text cells of the string grid.
#include <gtest/gtest.h>

#include <cmath>

#include "GridTestSupport.h"
#include "grid/AdvGridValuesRich.h"
#include "platform/ui/StdCtrls.h"

namespace {

struct ValuesTest : ::testing::Test {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  void SetUp() override {
    g.SetColCount(6);
    g.SetRowCount(8);
    for (int c = 0; c < 6; ++c)
      for (int r = 0; r < 8; ++r) g.SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));
  }
};

// ---- Index spaces

TEST_F(ValuesTest, HiddenColumnsAndRowsKeepTheirRealIndexes) {
  g.HideColumn(2);
  g.HideRow(4);
  EXPECT_EQ(g.Cells(3, 3), u"3,3");           // real column, display row
  EXPECT_EQ(g.AllCells(3, 4), u"3,4");        // hidden real row
  EXPECT_EQ(g.AllCells(3, 5), u"3,5");        // shown below it: display row 4
  EXPECT_EQ(g.Cells(3, 4), u"3,5");
  EXPECT_EQ(g.AllGridCells(1, 4), u"1,4");
  EXPECT_EQ(g.AllCells(-1, 0), u"");

  // A write to a hidden row extends its stored list.
  TStrings* items = g.HiddenRowItems(4);
  ASSERT_NE(items, nullptr);
  g.SetAllCells(9, 4, u"far");
  EXPECT_EQ(items->Count(), 10);
  EXPECT_EQ(g.AllCells(9, 4), u"far");
  EXPECT_THROW(g.SetAllGridCells(12, 4, u"x"), EListError);
  g.SetAllCells(0, 5, u"shown");
  EXPECT_EQ(g.Cells(0, 4), u"shown");
  EXPECT_EQ(g.HiddenRowItems(5), nullptr);

  // Widths of hidden columns are remembered apart.
  int shown = g.ColWidths(2);
  g.SetAllColWidths(2, 77);
  EXPECT_EQ(g.AllColWidths(2), 77);
  EXPECT_EQ(g.ColWidths(2), shown);
  g.UnHideColumn(2);
  EXPECT_EQ(g.ColWidths(2), 77);
}

TEST_F(ValuesTest, UserObjectsOfHiddenRowsAreReachedByRealRow) {
  TObject a, b;
  g.SetObjects(1, 2, &a);
  g.HideRow(2);
  EXPECT_EQ(g.AllObjects(1, 2), &a);
  g.SetAllObjects(1, 3, &b);
  EXPECT_EQ(g.Objects(1, 2), &b);
  g.UnHideRow(2);
  EXPECT_EQ(g.Objects(1, 2), &a);
  g.SetObjects(1, 2, nullptr);
}

TEST_F(ValuesTest, CurrentCellOfAMergedAreaIsItsBaseCell) {
  g.MergeCells(1, 1, 2, 2);
  g.FocusCell(2, 2);
  g.SetCurrentCell(u"merged");
  EXPECT_EQ(g.GridCells(1, 1), u"merged");
  EXPECT_EQ(g.GetCurrentCellText(), u"merged");
  EXPECT_EQ(g.GetCurrentCell(), u"merged");
}

TEST_F(ValuesTest, ColumnsByHeaderAndByTheirInitialPosition) {
  g.SetCells(4, 0, u"Name");
  g.SetCells(5, 0, u"Name");
  EXPECT_EQ(g.ColumnByHeader(u"Name"), 4);
  EXPECT_EQ(g.ColumnByHeader(u"name"), -1);

  g.SetColumnOrder();
  g.MoveColumn(1, 4);  // initial column 1 now stands at 4
  TIntList* order = g.ColumnOrder();
  for (int p = 1; p < 4; ++p) order->SetItems(p, p + 1);
  order->SetItems(4, 1);
  EXPECT_EQ(g.ColumnPosition(1), 4);
  EXPECT_EQ(g.ColumnAtPosition(4), 1);
  EXPECT_EQ(g.OriginalCells(1, 3), u"1,3");
  g.HideColumn(0);
  g.ResetColumnOrder();
  EXPECT_EQ(g.NumHiddenColumns(), 0);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(g.Cells(c, 3), IntToStr(c) + u",3") << c;

  g.SetGroupColumn(2);
  EXPECT_EQ(g.ColumnPosition(3), 2);
  EXPECT_EQ(g.ColumnAtPosition(3), 4);
  g.SetGroupColumn(-1);
}

TEST_F(ValuesTest, UnsortedIndexesFollowTheCrossReference) {
  EXPECT_EQ(g.UnSortedRowIndex(3), 3);
  EXPECT_EQ(g.UnSortedCells(0, 3), u"0,3");
  EXPECT_EQ(g.StrippedCells(0, 0), u"0,0");
}

// ---- Attributes

TEST_F(ValuesTest, AttributeReadsOfPlainCellsMakeNoRecord) {
  EXPECT_EQ(g.Colors(1, 1), clNone);
  EXPECT_EQ(g.FontColors(1, 1), clNone);
  EXPECT_EQ(g.FontNames(1, 1), u"");
  EXPECT_EQ(g.FontSizes(1, 1), 0);
  EXPECT_EQ(g.Alignments(1, 1), taLeftJustify);
  EXPECT_EQ(g.Colors(100, 100), clNone);
  EXPECT_FALSE(g.HasCellProperties(1, 1));
  EXPECT_FALSE(g.ReadOnly(1, 1));
  EXPECT_TRUE(g.HasCellProperties(1, 1));

  g.SetColors(2, 2, clRed);
  g.SetFontStyles(2, 2, TFontStyles{fsBold});
  TFont font;
  font.SetName(u"Serif");
  font.SetSize(14);
  font.SetColor(clBlue);
  g.SetCellFont(3, 3, &font);
  EXPECT_EQ(g.Colors(2, 2), clRed);
  EXPECT_TRUE(g.FontStyles(2, 2).Contains(fsBold));
  EXPECT_EQ(g.FontNames(3, 3), u"Serif");
  EXPECT_EQ(g.FontSizes(3, 3), 14);
  EXPECT_EQ(g.FontColors(3, 3), clBlue);
  EXPECT_EQ(g.LinesInCell(4, 4), 1);
  g.SetCells(4, 4, u"a\r\nb");
  EXPECT_EQ(g.LinesInCell(4, 4), 2);
}

TEST_F(ValuesTest, RowClearersClearOnlyTheirAttribute) {
  const int r = 3;
  g.SetRowColor(r, clYellow);
  g.SetRowColorTo(r, clRed);
  g.SetRowFontColor(r, clBlue);
  EXPECT_EQ(g.Colors(0, r), clNone);  // fixed column untouched
  for (int c = 1; c < 6; ++c) EXPECT_EQ(g.Colors(c, r), clYellow);
  g.SetReadOnly(1, r, true);
  g.SetAlignments(2, r, taCenter);
  g.AddCheckBox(3, r, true, false);

  g.SetRowColor(r, clNone);
  EXPECT_EQ(g.Colors(1, r), clNone);
  EXPECT_EQ(g.ColorsTo(1, r), clRed);  // the gradient end is another attribute
  EXPECT_TRUE(g.ReadOnly(1, r));
  EXPECT_TRUE(g.HasCheckBox(3, r));

  g.SetRowColorTo(r, clNone);
  g.SetColors(4, r, clGreen);
  g.SetRowFontColor(r, clNone);
  EXPECT_EQ(g.FontColors(4, r), clBlue);  // a cell with a background keeps its font colour
  EXPECT_EQ(g.FontColors(5, r), clNone);
  EXPECT_FALSE(g.HasCellProperties(5, r));  // nothing else set: the record went
  EXPECT_TRUE(g.ReadOnly(1, r));
  EXPECT_EQ(g.Alignments(2, r), taCenter);
  EXPECT_TRUE(g.HasCheckBox(3, r));
}

// ---- Typed values

TEST_F(ValuesTest, IntsAndFloatsReadTrimmedAndFormattedNumbers) {
  struct Case {
    const char16_t* Text;
    int Int;        // INT32_MIN: raises
    double Float;   // NAN: raises
  };
  const Case cases[] = {
      {u"  42 ", 42, 42},   {u"", 0, 0},       {u"-", 0, 0},          {u"-17", -17, -17},
      {u"4a", INT32_MIN, 4},   {u"(12.5)", INT32_MIN, -12.5}, {u"$1,234.50", INT32_MIN, 1234.5},
      {u"x", INT32_MIN, NAN},  {u" (abc) ", INT32_MIN, NAN},  {u"99999999999", INT32_MIN, 99999999999.0},
  };
  for (const Case& c : cases) {
    g.SetCells(1, 1, c.Text);
    if (c.Int == INT32_MIN) {
      try {
        g.Ints(1, 1);
        ADD_FAILURE() << "no error for " << String(c.Text).size();
      } catch (const VUreReriVorov& e) {
        EXPECT_EQ(e.Message(), u"Cell does not contain integer value");
      }
    } else {
      EXPECT_EQ(g.Ints(1, 1), c.Int);
    }
    if (std::isnan(c.Float)) {
      try {
        g.Floats(1, 1);
        ADD_FAILURE() << "no error";
      } catch (const VUreReriVorov& e) {
        EXPECT_EQ(e.Message(), u"Cell does not contain a float value");
      }
    } else {
      EXPECT_DOUBLE_EQ(g.Floats(1, 1), c.Float);
    }
  }
}

TEST_F(ValuesTest, WritesUseTheFloatFormatThroughTheCheckedFormat) {
  g.SetFloats(1, 1, 3.14159);
  EXPECT_EQ(g.Cells(1, 1), u"3.14");
  g.SetInts(2, 1, -5);
  EXPECT_EQ(g.Cells(2, 1), u"-5");
  g.HideRow(3);
  g.SetAllInts(1, 3, 7);
  EXPECT_EQ(g.AllInts(1, 3), 7);
  g.SetAllFloats(2, 3, 1.5);
  EXPECT_DOUBLE_EQ(g.AllFloats(2, 3), 1.5);
  g.SetFloatFormat(u"%d items");
  EXPECT_THROW(g.SetFloats(1, 1, 2.0), Exception);
  EXPECT_EQ(g.Cells(1, 1), u"3.14");
}

TEST_F(ValuesTest, ControlValuesPrintColumnsAndHeaders) {
  g.SetCells(1, 1, u"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\">");
  EXPECT_EQ(g.ControlValues(1, 1, u"e1"), u"abc");
  EXPECT_EQ(g.ControlValues(1, 1, u"zz"), u"");
  g.SetControlValues(1, 1, u"e1", u"xyz");
  EXPECT_EQ(g.ControlValues(1, 1, u"e1"), u"xyz");

  EXPECT_EQ(g.PrintColWidth(511), 0);
  for (int bad : {512, -1}) {
    try {
      g.PrintColOffset(bad);
      ADD_FAILURE();
    } catch (const VUreReriVorov& e) {
      EXPECT_EQ(e.Message(), u"Columns is not in valid range");
    }
  }

  TStringList headers;
  for (const char16_t* h : {u"A\\nB", u"C", u"D", u"E", u"F", u"G", u"H", u"I"}) headers.Add(h);
  g.SetColumnHeaders(&headers);
  EXPECT_EQ(g.Cells(0, 0), u"A\rB");
  EXPECT_EQ(g.Cells(5, 0), u"G");
  g.SetFixedRows(0);
  g.SetCells(1, 0, u"keep");
  g.SetColumnHeaders(&headers);
  EXPECT_EQ(g.Cells(1, 0), u"keep");
}

TEST_F(ValuesTest, HighlightWrapsMatchesOfBaseCells) {
  g.SetCells(1, 1, u"Hello hello");
  g.HilightInRange(u"hello", u"hi", 1, 1, 1, 1, true);
  EXPECT_EQ(g.Cells(1, 1), u"Hello <hi>hello</hi>");
  g.UnHilightInRange(u"hi", 1, 1, 1, 1);
  EXPECT_EQ(g.Cells(1, 1), u"Hello hello");
}

// ---- Alignment, measurement, tooltips

TEST_F(ValuesTest, NumbersAlignRightUnlessTheCellSaysOtherwise) {
  g.SetAutoNumAlign(true);
  g.SetCells(1, 1, u"12.5");
  TAlignment ha;
  TVAlignment va;
  g.GetCellAlignment(1, 1, ha, va);
  EXPECT_EQ(ha, taRightJustify);
  g.SetAlignments(1, 1, taCenter);
  g.GetCellAlignment(1, 1, ha, va);
  EXPECT_EQ(ha, taCenter);
  g.SetCells(2, 2, u"abc");
  g.GetCellAlignment(2, 2, ha, va);
  EXPECT_EQ(ha, taLeftJustify);
}

TEST_F(ValuesTest, MeasuredSizeGrowsWithLinesAndWidth) {
  g.SetMultilinecells(true);
  g.SetCells(1, 1, u"ab");
  TPoint one, wide, two;
  g.GetCellTextSize(1, 1, one, false, false);
  g.SetCells(1, 1, u"abababababab");
  g.GetCellTextSize(1, 1, wide, false, false);
  g.SetCells(1, 1, u"ab\r\nab");
  g.GetCellTextSize(1, 1, two, false, false);
  EXPECT_GT(one.X, 0);
  EXPECT_GT(wide.X, 3 * one.X);
  EXPECT_EQ(two.X, one.X);
  EXPECT_EQ(two.Y, 2 * one.Y);
  // Tagged text without wrapping ignores the cell's width.
  g.SetCells(1, 1, u"<b>" + String(200, u'w') + u"</b>");
  TPoint tagged;
  g.GetCellTextSize(1, 1, tagged, false, false);
  EXPECT_GT(tagged.X, g.ColWidths(1));
}

TEST(ValuesTooltipTest, TooltipTextsAreCutAndCleaned) {
  EXPECT_EQ(DEreDuzeroVaro::TooltipText(u"\r\n\tab\tc\t"), u"ab c ");
  String longText(3000, u'x');
  String t = DEreDuzeroVaro::TooltipText(longText);
  EXPECT_EQ(t.size(), 2048u);
  EXPECT_EQ(t.substr(2045), u"...");
  EXPECT_EQ(DEreDuzeroVaro::TooltipText(String(2048, u'y')).size(), 2048u);
  EXPECT_EQ(DEreDuzeroVaro::TooltipTitle(String(101, u'z')), String(97, u'z') + u"...");
  EXPECT_EQ(DEreDuzeroVaro::TooltipTitle(String(100, u'z')), String(100, u'z'));
}

TEST_F(ValuesTest, CellBalloonsTakeTheCellTextTheBalloonAndTheHandler) {
  g.SetCells(1, 1, u"<b>bold</b>\ttext");
  String title, text;
  TBalloonIcon icon;
  ASSERT_TRUE(g.GetCellBalloon(1, 1, title, text, icon));
  EXPECT_EQ(text, u"bold text");
  EXPECT_EQ(icon, biInfo);
  g.AddBalloon(2, 2, u"Title", u"Body", biWarning);
  g.GetCellBalloon(2, 2, title, text, icon);
  EXPECT_EQ(title, u"Title");
  EXPECT_EQ(text, u"Body");
  EXPECT_EQ(icon, biWarning);
  g.OnCellBalloon = [](TObject*, int, int, String& T, String&, TBalloonIcon& I) {
    T = String(150, u't');
    I = biError;
  };
  g.GetCellBalloon(2, 2, title, text, icon);
  EXPECT_EQ(title.size(), 100u);
  EXPECT_EQ(icon, biError);
  EXPECT_FALSE(g.GetCellBalloon(-1, 2, title, text, icon));
}

// ---- Cell controls, graphics and rich text

TEST_F(ValuesTest, CellControlsAreCountedOnceAndFollowHiddenRows) {
  auto* edit = new TEdit(&f.form);
  g.SetCellControls(2, 3, edit);
  g.SetCellControls(2, 3, edit);
  EXPECT_EQ(g.NumCellControls(), 1);
  EXPECT_EQ(g.CellControls(2, 3), edit);
  TRect cell = g.CellRect(2, 3);
  EXPECT_EQ(edit->Left(), cell.Left - 1);
  EXPECT_EQ(edit->Top(), cell.Top - 1);

  g.HideRow(1);
  g.CellControlsUpdate(false);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->Top(), g.CellRect(2, 2).Top - 1);
  g.HideRow(3);
  g.CellControlsUpdate(false);
  EXPECT_FALSE(edit->Visible());
  g.UnHideRowsAll();
  g.CellControlsUpdate(false);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->Top(), g.CellRect(2, 3).Top - 1);

  g.SetCellControls(2, 3, nullptr);
  EXPECT_EQ(g.NumCellControls(), 0);
  EXPECT_EQ(g.CellControls(2, 3), nullptr);
}

TEST_F(ValuesTest, CellGraphicsAreRemovedByKind) {
  g.SetCells(4, 4, u"");
  TCellGraphic* made = g.CreateCellGraphic(4, 4);
  EXPECT_NE(made, nullptr);
  EXPECT_EQ(g.Cells(4, 4), u"");
  EXPECT_TRUE(g.RemoveCellGraphic(4, 4));
  EXPECT_FALSE(g.RemoveCellGraphic(4, 4));
  g.AddCheckBox(1, 1, true, false);
  g.RemoveProgress(1, 1);
  EXPECT_TRUE(g.HasCheckBox(1, 1));
}

TEST_F(ValuesTest, RichCellsConvertThroughTheRichEdit) {
  const String rtf = u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello \\b bold\\b0  world\\par}";
  g.SetCells(1, 1, rtf);
  EXPECT_EQ(g.RichTextToPlain(rtf), u"Hello bold world");
  EXPECT_EQ(g.CellPlainText(1, 1), u"Hello bold world");
  TCustomRichEdit* re = AsRichEdit(g.RichEdit());
  g.CellToRich(1, 1, re);
  g.RichToCell(2, 1, re);
  EXPECT_EQ(g.Cells(2, 1).substr(0, 2), u"{\\");
  EXPECT_EQ(g.CellPlainText(2, 1), u"Hello bold world");
  // Damaged and deeply nested markup gives what was read.
  EXPECT_EQ(g.RichTextToPlain(u"{\\rtf1 abc {\\b def"), u"abc def");
  String deep = u"{\\rtf1 x" + String(100000, u'{') + u"y";
  EXPECT_NO_THROW(g.RichTextToPlain(deep));
}

}  // namespace
