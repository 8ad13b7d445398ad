// The string grid's cell graphics, sizes and display texts, and the cell-text hooks.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {

TBitmap* MakeBitmap(int W, int H) {
  auto* b = new TBitmap();
  b->SetWidth(W);
  b->SetHeight(H);
  return b;
}

}  // namespace

TEST(AdvGridVisualText, CellTypesAndTheRowCheckBoxes) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(5);
  EXPECT_EQ(g.GetCellType(-1, 0), ctEmpty);
  EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
  TObject appObject;
  g.SetGraphicObjects(2, 2, &appObject);  // an application's object is no graphic
  EXPECT_EQ(g.GetCellType(2, 2), ctEmpty);
  EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);
  g.SetGraphicObjects(2, 2, nullptr);
  g.AddCheckBox(2, 3, true, false);
  EXPECT_EQ(g.CellTypes(2, 3), ctCheckBox);

  // With HotmailRowSelect column 0 shows the row check boxes; the header's is checked only
  // when every normal row is selected, partial while some are.
  g.MouseActions()->SetDisjunctRowSelect(true);
  g.MouseActions()->SetHotmailRowSelect(true);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(g.GetCellType(0, r), ctRowCheckBox);
  g.SetRowSelect(2, true);
  TCellGraphic* header = g.GetCellGraphic(0, 0);
  ASSERT_NE(header, nullptr);
  EXPECT_FALSE(header->CellBoolean());
  EXPECT_EQ(header->CellAngle(), 1);
  EXPECT_TRUE(g.GetCellGraphic(0, 2)->CellBoolean());
  EXPECT_FALSE(g.GetCellGraphic(0, 3)->CellBoolean());
  for (int r = 1; r < 5; ++r) g.SetRowSelect(r, true);
  header = g.GetCellGraphic(0, 0);
  EXPECT_TRUE(header->CellBoolean());
  EXPECT_EQ(header->CellAngle(), 0);
}

TEST(AdvGridVisualText, GraphicSizesForAutosizing) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  std::unique_ptr<TBitmap> bmp(MakeBitmap(20, 12));
  // A bitmap before the text needs its width only; without text both.
  g->AddBitmap(1, 1, bmp.get(), false, haBeforeText, vaTop);
  g->SetCells(1, 1, u"text");
  EXPECT_EQ(g->GetCellGraphicSize(1, 1), TPoint(20, 0));
  g->SetCells(1, 1, u"");
  EXPECT_EQ(g->GetCellGraphicSize(1, 1), TPoint(20, 12));
  // Stacked under the text: the height only.
  g->AddBitmap(1, 2, bmp.get(), false, haLeft, vaUnderText);
  g->SetCells(1, 2, u"text");
  EXPECT_EQ(g->GetCellGraphicSize(1, 2), TPoint(0, 12));

  // A radio group side by side: 12 + caption width per caption, the height of one line.
  TStringList captions;
  captions.Add(u"A");
  captions.Add(u"BB");
  g->AddRadio(2, 1, 1, 0, &captions);
  TCanvas screen;
  HDC dc = GetDC(nullptr);
  screen.SetHandle(dc);
  TCanvas* c = &screen;
  c->Font()->Assign(g->Font());
  EXPECT_EQ(g->GetCellGraphicSize(2, 1),
            TPoint(24 + c->TextWidth(u"A") + c->TextWidth(u"BB"), c->TextHeight(u"gh")));
  // Stacked: the widest caption, one line (at least 16) per caption.
  g->AddRadio(2, 2, 0, 0, &captions);
  EXPECT_EQ(g->GetCellGraphicSize(2, 2), TPoint(12 + c->TextWidth(u"BB"), 2 * std::max(16, c->TextHeight(u"gh"))));
  screen.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);

  // Check boxes and radio buttons by the look's sizes; a button without text by its size.
  g->AddCheckBox(3, 1, false, false);
  EXPECT_EQ(g->GetCellGraphicSize(3, 1), TPoint(g->ControlLook()->CheckSize(), g->ControlLook()->CheckSize()));
  g->AddRadioButton(3, 2, false);
  EXPECT_EQ(g->GetCellGraphicSize(3, 2), TPoint(g->ControlLook()->RadioSize(), g->ControlLook()->RadioSize()));
  g->AddButton(3, 3, 40, 18, u"Go", haLeft, vaTop);
  EXPECT_EQ(g->GetCellGraphicSize(3, 3), TPoint(40, 18));
  g->SetCells(3, 3, u"x");
  EXPECT_EQ(g->GetCellGraphicSize(3, 3), TPoint(40, 0));
  // A rating: 18 per star by 16; a cell without graphic needs nothing.
  g->AddRating(4, 1, 5, clYellow, clGray);
  EXPECT_EQ(g->GetCellGraphicSize(4, 1), TPoint(90, 16));
  EXPECT_EQ(g->GetCellGraphicSize(4, 2), TPoint(0, 0));
  // Full height takes the cell's height.
  g->AddBitmap(4, 3, bmp.get(), false, haLeft, vaFull);
  EXPECT_EQ(g->GetCellGraphicSize(4, 3).Y, g->CellRect(4, 3).Bottom - g->CellRect(4, 3).Top);
}

TEST(AdvGridVisualText, GraphicExtentForPainting) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(4);
  int w = -1, h = -1;
  bool showText = false;
  TCellHAlign ha = haRight;
  TCellVAlign va = vaBottom;
  EXPECT_EQ(g.GetCellGraphicExtent(1, 1, w, h, showText, ha, va), nullptr);
  EXPECT_EQ(TPoint(w, h), TPoint(0, 0));
  EXPECT_TRUE(showText);
  EXPECT_EQ(ha, haLeft);
  EXPECT_EQ(va, vaTop);

  g.AddCheckBox(1, 1, false, true);  // a data check box shows no text
  EXPECT_NE(g.GetCellGraphicExtent(1, 1, w, h, showText, ha, va), nullptr);
  EXPECT_EQ(w, g.ControlLook()->CheckSize());
  EXPECT_FALSE(showText);
  g.AddProgress(2, 1, clBlue, clWhite);
  g.GetCellGraphicExtent(2, 1, w, h, showText, ha, va);
  EXPECT_EQ(TPoint(w, h), TPoint(0, 0));
  EXPECT_FALSE(showText);
  g.AddRadioButton(2, 2, true);
  g.GetCellGraphicExtent(2, 2, w, h, showText, ha, va);
  EXPECT_EQ(w, g.ControlLook()->RadioSize() + 4);
  EXPECT_TRUE(showText);
  g.AddRating(3, 3, 4, clYellow, clGray);
  g.GetCellGraphicExtent(3, 3, w, h, showText, ha, va);
  EXPECT_EQ(TPoint(w, h), TPoint(72, 16));
  EXPECT_FALSE(showText);
}

TEST(AdvGridVisualText, LinksInTextFollowThePrefixOrder) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCells(1, 1, u"write to mailto:me@example.org today");
  EXPECT_EQ(g.Cells(1, 1), u"write to mailto:me@example.org today");
  g.SetURLShowInText(true);
  String linked;
  ASSERT_TRUE(LinkifyUrl(u"write to mailto:me@example.org today", u"MAILTO:", linked));
  EXPECT_EQ(g.Cells(1, 1), linked);
  // "WWW." is tried before "HTTPS://".
  const String both = u"see https://a.example and www.b.example";
  g.SetCells(1, 2, both);
  ASSERT_TRUE(LinkifyUrl(both, u"WWW.", linked));
  EXPECT_EQ(g.Cells(1, 2), linked);
  // Raw cells stay as stored.
  EXPECT_EQ(g.GridCells(1, 2), both);
}

TEST(AdvGridVisualText, GroupCountsAfterNodeTexts) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(8);
  TCellGraphic* node = g.CreateCellGraphic(0, 1);
  node->SetCellType(ctNode);
  node->SetCellIndex(4);  // the node row and three data rows
  g.SetCells(1, 1, u"Group");
  EXPECT_EQ(g.Cells(1, 1), u"Group");
  g.Grouping()->SetShowGroupCount(true);
  EXPECT_EQ(g.Cells(1, 1), u"Group (3)");
  EXPECT_EQ(g.Cells(2, 1), u"");  // only column 1
  g.Grouping()->SetGroupCountFormat(u" [%d rows]");
  EXPECT_EQ(g.Cells(1, 1), u"Group [3 rows]");
  // A span of 0 reaches to the next node row.
  TCellGraphic* next = g.CreateCellGraphic(0, 6);
  next->SetCellType(ctNode);
  node->SetCellIndex(0);
  EXPECT_EQ(g.Cells(1, 1), u"Group [4 rows]");
  // A format that does not fit the count raises the conversion error.
  g.Grouping()->SetGroupCountFormat(u"%s");
  EXPECT_THROW(g.Cells(1, 1), EConvertError);
}

TEST(AdvGridVisualText, FloatFormatOfNumberCells) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCells(1, 1, u"12.345");
  g.SetCells(2, 1, u"abc");
  int fired = 0;
  String format = u"%.1f";
  bool isFloat = true;
  g.OnGetFloatFormat = [&](TObject*, int, int, bool& IsFloat, String& FloatFormat) {
    ++fired;
    EXPECT_TRUE(IsFloat);
    EXPECT_EQ(FloatFormat, u"%.2f");  // starts as FloatFormat
    IsFloat = isFloat;
    FloatFormat = format;
  };
  EXPECT_EQ(g.DisplCells(1, 1), u"12.3");
  EXPECT_EQ(g.DisplCells(2, 1), u"abc");  // no number: the event is not asked
  EXPECT_EQ(fired, 1);
  g.SetCells(1, 2, u"42");
  format = u"%5d";
  EXPECT_EQ(g.DisplCells(1, 2), u"   42");
  format = u"%s";  // does not fit a number: the text stays
  EXPECT_EQ(g.DisplCells(1, 1), u"12.345");
  format = u"%.1f";
  isFloat = false;
  EXPECT_EQ(g.DisplCells(1, 1), u"12.345");
}

TEST(AdvGridVisualText, SavedTextsOfCheckBoxesAndRichCells) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(4);
  g.AddCheckBox(1, 1, true, false);
  g.AddCheckBox(1, 2, false, false);
  g.AddCheckBox(1, 3, TCheckBoxState::cbGrayed);
  EXPECT_EQ(g.GetSaveCellText(1, 1), u"Y");
  EXPECT_EQ(g.GetSaveCellText(1, 2), u"N");
  EXPECT_EQ(g.GetSaveCellText(1, 3), u"N");  // tri-state: only checked is true
  g.SetCells(1, 1, u"own");
  EXPECT_EQ(g.GetSaveCellText(1, 1), u"own");

  // Tagged text loses its tags without SaveWithHTML; line-break tags become line breaks.
  g.SetCells(2, 1, u"<b>a</b><br>b");
  EXPECT_EQ(g.GetSaveCellText(2, 1), u"<b>a</b><br>b");
  g.SetSaveWithHTML(false);
  EXPECT_EQ(g.GetSaveCellText(2, 1), u"a\r\nb");

  // Rich text: its plain text, or with SaveWithRTF the markup on one line.
  const String rtf = u"{\\rtf1\\ansi\r\n{\\b Bold} plain\r\n}";
  g.SetCells(3, 1, rtf);
  EXPECT_EQ(g.GetSaveCellText(3, 1), g.RichTextToPlain(rtf));
  g.SetSaveWithRTF(true);
  EXPECT_EQ(g.GetSaveCellText(3, 1), u"{\\rtf1\\ansi{\\b Bold} plain}");

  // OnSaveCell has the last word; OnLoadCell may empty a loaded value.
  g.OnSaveCell = [](TObject*, int, int, String& Value) { Value += u"!"; };
  EXPECT_EQ(g.GetSaveCellText(1, 1), u"own!");
  g.OnLoadCell = [](TObject*, int, int, String& Value) { Value.clear(); };
  g.LoadCell(2, 2, u"loaded");
  EXPECT_EQ(g.GridCells(2, 2), u"");
}

TEST(AdvGridVisualText, SelectionChangedFiresWithTheBounds) {
  DEreDuzeroVaro g(nullptr);
  TRect got{-1, -1, -1, -1};
  int count = 0;
  g.OnSelectionChanged = [&](TObject*, int L, int T, int R, int B) {
    got = TRect(L, T, R, B);
    ++count;
  };
  g.SetLook(glXP);
  g.SelectionChanged(1, 2, 3, 4);
  g.SetLook(glVista);
  g.SelectionChanged(2, 2, 2, 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(got, TRect(2, 2, 2, 2));
}

TEST(AdvGridVisualText, AutomaticRowInsertionAndDeletion) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCells(1, 1, u"a");
  g.SetCells(1, 2, u"b");
  std::vector<int> deleted;
  g.OnAutoDeleteRow = [&](TObject*, int ARow) { deleted.push_back(ARow); };
  g.AutoInsertRow(2);
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.Cells(1, 2), u"");
  EXPECT_EQ(g.Cells(1, 3), u"b");
  g.AutoDeleteRow(2);
  g.AutoDeleteRow(2);
  EXPECT_EQ(g.RowCount(), 2);
  // The only normal row left is cleared, not removed.
  g.AutoDeleteRow(1);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cells(1, 1), u"");
  EXPECT_EQ(deleted, (std::vector<int>{2, 2, 1}));
  // With FixedRowAlways it goes.
  g.SetCells(1, 1, u"c");
  g.SetFixedRowAlways(true);
  g.AutoDeleteRow(1);
  EXPECT_EQ(g.RowCount(), 1);
}
