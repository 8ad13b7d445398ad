// Sorting: the comparison of cells by style, rows sorted by a column and by the sort
// indexes with everything that travels, the return to the unsorted order and the sort
// settings text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A grid whose column 1 holds the two texts of a comparison in rows 1 and 2, compared in the
// style (and with the prefix and suffix) its OnGetFormat gives.
struct TPair {
  DEreDuzeroVaro g{nullptr};
  TSortStyle Style = ssAutomatic;
  String Prefix, Suffix;
  TPair() {
    g.SetColCount(3);
    g.SetRowCount(3);
    g.OnGetFormat = [this](TObject*, int, TSortStyle& AStyle, String& APrefix, String& ASuffix) {
      AStyle = Style;
      APrefix = Prefix;
      ASuffix = Suffix;
    };
  }
  int Compare(const String& A, const String& B, TSortDirection Dir = sdAscending) {
    g.SetCells(1, 1, A);
    g.SetCells(1, 2, B);
    return g.CompareCells(1, 1, 2, Dir);
  }
};

// The texts of a column from row From on.
std::vector<String> Column(DEreDuzeroVaro& g, int ACol, int From = 1) {
  std::vector<String> v;
  for (int r = From; r < g.RowCount(); ++r) v.push_back(g.GridCells(ACol, r));
  return v;
}

// Restores the process date formats after a test changed them.
struct TFormatGuard {
  TFormatSettings Saved = FormatSettings;
  ~TFormatGuard() { FormatSettings = Saved; }
};

}  // namespace

TEST(AdvGridSortCompare, EachStyleComparesItsWay) {
  struct TCase {
    TSortStyle Style;
    const char16_t *Prefix, *Suffix, *A, *B;
    int Expected;
  };
  const TCase cases[] = {
      {ssAlphabetic, u"", u"", u"abc", u"ABD", 1},
      {ssAlphabetic, u"", u"", u"_", u"a", -1},
      {ssAlphaCase, u"", u"", u"b", u"a", 1},
      {ssAlphaNoCase, u"", u"", u"abc", u"ABD", -1},
      // Only a-z are upper-cased: "_" lies between "Z" and "a".
      {ssAlphaNoCase, u"", u"", u"_", u"a", 1},
      {ssAlphaNoCase, u"", u"", u"\u00e9", u"\u00c9", 1},
      {ssNumeric, u"", u"", u"10", u"9", 1},
      {ssNumeric, u"", u"", u"-5x", u"-4", -1},
      {ssNumeric, u"", u"", u"1.5x", u"1.4", 1},
      {ssNumeric, u"", u"", u"12abc", u"3", 1},
      {ssNumeric, u"", u"", u"", u"0", 0},
      {ssNumeric, u"", u"", u"", u"1", -1},
      {ssNumeric, u"", u"", u"abc", u"xyz", 0},
      {ssNumeric, u"", u"", u"1e3", u"999", 1},
      {ssNumeric, u"$", u" kg", u"$10 kg", u"$9 kg", 1},
      {ssNumeric, u"", u"", u"1,000", u"999", -1},
      {ssFinancial, u"", u"", u"1,000", u"999", 1},
      {ssAlphaNumeric, u"", u"", u"10", u"9", 1},
      {ssAlphaNumeric, u"", u"", u"10", u"9a", -1},
      {ssAlphaNumericNoCase, u"", u"", u"b", u"A", 1},
      {ssDate, u"", u"", u"2024/01/05", u"2023/12/31", 1},
      // An impossible date counts 0, as does a text that is no date.
      {ssDate, u"", u"", u"2024/02/30", u"abc", 0},
      {ssDate, u"", u"", u"2024/02/30", u"1900/01/01", -1},
      {ssDateTime, u"", u"", u"2024/01/05 10:00", u"2024/01/05 9:00", 1},
      {ssTime, u"", u"", u"10:00", u"9:30", 1},
      {ssShortDateEU, u"", u"", u"05/01/2024", u"04/02/2024", -1},
      {ssShortDateUS, u"", u"", u"05/01/2024", u"04/02/2024", 1},
      {ssShortDateEU, u"", u"", u"31/02/2024", u"01/01/1900", -1},
      {ssHTML, u"", u"", u"<b>b</b>", u"a", 1},
      {ssCustom, u"", u"", u"a", u"b", 0},
      {ssRaw, u"", u"", u"a", u"b", 0},
  };
  TPair p;
  for (const TCase& c : cases) {
    p.Style = c.Style;
    p.Prefix = c.Prefix;
    p.Suffix = c.Suffix;
    EXPECT_EQ(p.Compare(c.A, c.B), c.Expected) << "style " << int(c.Style) << " " << StringToUTF8(c.A) << " vs " << StringToUTF8(c.B);
    EXPECT_EQ(p.Compare(c.B, c.A), -c.Expected) << "style " << int(c.Style) << " reversed";
  }
}

TEST(AdvGridSortCompare, AutomaticStyleFollowsTheFirstCell) {
  TFormatGuard guard;
  FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
  struct TCase {
    const char16_t *A, *B;
    int Expected;
  };
  const TCase cases[] = {
      {u"10", u"9", 1},                   // numbers
      {u"abc", u"ABD", 1},                // ordinal without IgnoreCase
      {u"12/05/2024", u"1/06/2024", -1},  // dates: 12 May before 1 June
      {u"10:30", u"9:15", 1},             // times
      {u"x10:30", u"9:15", 1},            // no time at position 2 or 3: text
  };
  TPair p;
  for (const TCase& c : cases) EXPECT_EQ(p.Compare(c.A, c.B), c.Expected) << StringToUTF8(c.A) << " vs " << StringToUTF8(c.B);
  // A check box in the first cell: checked after unchecked.
  p.g.AddCheckBox(1, 1, true, false);
  p.g.AddCheckBox(1, 2, false, false);
  EXPECT_EQ(p.g.CompareCells(1, 1, 2, sdAscending), 1);
  EXPECT_EQ(p.g.CompareCells(1, 2, 1, sdAscending), -1);
}

TEST(AdvGridSortCompare, EventsDecideCustomAndRawComparisons) {
  TPair p;
  p.Style = ssCustom;
  p.g.OnCustomCompare = [](TObject*, const String& A, const String& B, int& Res) {
    Res = static_cast<int>(A.size()) - static_cast<int>(B.size());
  };
  EXPECT_EQ(p.Compare(u"aaa", u"b"), 1);
  p.Style = ssRaw;
  int rows[2] = {-1, -1};
  p.g.OnRawCompare = [&rows](TObject*, int, int Row1, int Row2, int& Res) {
    rows[0] = Row1;
    rows[1] = Row2;
    Res = -7;
  };
  EXPECT_EQ(p.Compare(u"a", u"b"), -1);
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(rows[1], 2);
}

TEST(AdvGridSortCompare, LocaleStylesUseTheProcessCollation) {
  TPair p;
  const String fullA = u"\uFF21", emoji = u"\U0001F600";
  p.Style = ssAnsiAlphaCase;
  const int locale = p.Compare(fullA, emoji);
  EXPECT_EQ(locale, LocaleCompareStr(fullA, emoji));
  p.Style = ssAnsiAlphaNoCase;
  EXPECT_EQ(p.Compare(u"abc", u"ABC"), 0);
  const std::string name = LocaleCollationName();
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) {
    // By code points the supplementary character comes last; by UTF-16 units first.
    EXPECT_EQ(locale, -1);
    p.Style = ssAlphabetic;
    EXPECT_EQ(p.Compare(fullA, emoji), 1);
  }
}

TEST(AdvGridSort, LoneSurrogatesSortTheSameFromAnyStart) {
  const std::vector<String> texts = {u"b", String(1, char16_t(0xD800)), u"a", String(1, char16_t(0xDC00)) + u"x",
                                     u"\U0001F600", String(1, char16_t(0xDBFF)) + u"a", u"\uFFFD"};
  for (TSortStyle style : {ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssAlphabetic}) {
    std::vector<String> first;
    for (int start = 0; start < 3; ++start) {
      DEreDuzeroVaro g(nullptr);
      g.SetColCount(2);
      g.SetRowCount(static_cast<int>(texts.size()) + 1);
      g.OnGetFormat = [style](TObject*, int, TSortStyle& S, String&, String&) { S = style; };
      for (size_t i = 0; i < texts.size(); ++i)
        g.SetCells(1, 1 + static_cast<int>(i), texts[(i * (start + 2) + start) % texts.size()]);
      g.Sort(1, sdAscending);
      std::vector<String> got = Column(g, 1);
      if (start == 0) first = got;
      else EXPECT_EQ(got, first) << "style " << int(style);
    }
  }
}

TEST(AdvGridSort, BlanksStayWhereBlankPosPutsThemInBothDirections) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(2);
  g.SetRowCount(6);
  const char16_t* texts[] = {u"3", u"", u"1", u"", u"2"};
  for (int i = 0; i < 5; ++i) g.SetCells(1, i + 1, texts[i]);
  g.SortSettings()->SetIgnoreBlanks(true);
  g.SortSettings()->SetBlankPos(blLast);
  g.Sort(1, sdAscending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"1", u"2", u"3", u"", u""}));
  g.Sort(1, sdDescending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"3", u"2", u"1", u"", u""}));
  g.SortSettings()->SetBlankPos(blFirst);
  g.Sort(1, sdDescending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"", u"", u"3", u"2", u"1"}));
}

TEST(AdvGridSort, TiesAreBrokenRightwardsExceptByIgnoredColumns) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(5);
  const char16_t* rows[4][3] = {{u"b", u"2", u"x"}, {u"a", u"2", u"y"}, {u"b", u"1", u"z"}, {u"a", u"1", u"w"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) g.SetCells(c + 1, r + 1, rows[r][c]);
  g.Sort(2, sdAscending);
  EXPECT_EQ(Column(g, 3), (std::vector<String>{u"w", u"z", u"x", u"y"}));
  // Column 3 no longer decides: rows equal in columns 2 and 4 keep no order, but column 1
  // is never consulted (it lies left of the sort column) and column 3's texts are only moved.
  g.IgnoreColumns()->Add(3);
  g.Sort(1, sdDescending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"b", u"b", u"a", u"a"}));
  EXPECT_EQ(Column(g, 2), (std::vector<String>{u"2", u"1", u"2", u"1"}));
}

TEST(AdvGridSort, RowsTravelWithHiddenColumnsHeightsAndObjectsAndComeBackUnsorted) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(5);
  g.SetRowCount(8);  // rows 1..6 sorted, row 7 a footer
  g.SetFixedFooters(1);
  g.SortSettings()->SetNormalCellsOnly(true);
  const char16_t* keys[] = {u"30", u"10", u"60", u"20", u"50", u"40"};
  for (int r = 1; r <= 6; ++r) {
    g.SetCells(0, r, IntToStr(r));
    g.SetCells(1, r, keys[r - 1]);
    g.SetCells(2, r, u"n" + IntToStr(r));
    g.SetCells(3, r, u"hidden" + IntToStr(r));
    g.AddComment(4, r, u"c" + IntToStr(r));
    g.SetRowHeights(r, 20 + r);
  }
  g.SetCells(1, 7, u"total");
  g.HideColumn(3);
  const auto snapshot = [&g] {
    std::vector<String> v;
    for (int r = 0; r < g.RowCount(); ++r)
      for (int c = 0; c < g.AllColCount(); ++c) v.push_back(g.GridCells(c, r) + u"|" + g.CellComment(c, r));
    for (int r = 0; r < g.RowCount(); ++r) v.push_back(IntToStr(g.RowHeights(r)));
    return v;
  };
  const auto before = snapshot();

  g.Sort(1, sdDescending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"60", u"50", u"40", u"30", u"20", u"10", u"total"}));
  // Row 1 now holds the row of 60, which was row 3, with its hidden cell, comment and height.
  EXPECT_EQ(g.GridCells(3, 1), u"hidden3");
  EXPECT_EQ(g.CellComment(4, 1), u"c3");
  EXPECT_EQ(g.RowHeights(1), 23);
  // The fixed first column keeps its numbers; the footer stays.
  EXPECT_EQ(Column(g, 0), (std::vector<String>{u"1", u"2", u"3", u"4", u"5", u"6", u""}));
  EXPECT_EQ(g.GridCells(1, 7), u"total");
  EXPECT_EQ(g.AllColCount(), 5);
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(g.RowCount(), 8);

  g.Sort(2, sdAscending);
  g.QUnSort();
  EXPECT_EQ(snapshot(), before);
  for (int r = 0; r < g.RowCount(); ++r) EXPECT_EQ(g.SortRowXRef()->Items(r), r);
}

TEST(AdvGridSort, EqualRowsAreNeverExchangedAndTheCurrentRowCanFollow) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(2);
  g.SetRowCount(6);
  for (int r = 1; r < 6; ++r) g.SetCells(1, r, u"same");
  g.Sort(1, sdAscending);
  EXPECT_EQ(g.Swaps(), 0);
  for (int r = 1; r < 6; ++r) g.SetCells(1, r, IntToStr(10 - r));
  g.SetRow(2);  // holds 8
  g.Navigation()->SetMoveRowOnSort(true);
  g.Sort(1, sdAscending);
  EXPECT_EQ(g.Row(), 4);
  EXPECT_EQ(g.Cells(1, g.Row()), u"8");
}

TEST(AdvGridSort, SingleColumnReordersOnlyTheSortColumn) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(4);
  const char16_t* keys[] = {u"c", u"a", u"b"};
  for (int r = 1; r <= 3; ++r) {
    g.SetCells(1, r, keys[r - 1]);
    g.SetCells(2, r, IntToStr(r));
  }
  g.SortSettings()->SetSingleColumn(true);
  g.Sort(1, sdAscending);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"a", u"b", u"c"}));
  EXPECT_EQ(Column(g, 2), (std::vector<String>{u"1", u"2", u"3"}));
}

TEST(AdvGridSort, IndexedSortNeedsIndexesAndItsTextSortsAnotherGridAlike) {
  auto fill = [](DEreDuzeroVaro& g) {
    g.SetColCount(4);
    g.SetRowCount(7);
    const char16_t* rows[6][3] = {{u"b", u"x", u"1"}, {u"a", u"y", u"3"}, {u"b", u"z", u"2"},
                                  {u"a", u"w", u"1"}, {u"c", u"v", u"2"}, {u"a", u"u", u"2"}};
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 3; ++c) g.SetCells(c + 1, r + 1, rows[r][c]);
  };
  DEreDuzeroVaro a(nullptr), b(nullptr);
  fill(a);
  fill(b);
  const auto unchanged = Column(a, 2);
  try {
    a.QSortIndexed();
    FAIL() << "no error";
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"No indexes specified for indexed sort");
  }
  EXPECT_EQ(Column(a, 2), unchanged);

  a.SortIndexes()->AddIndex(1, true);
  a.SortIndexes()->AddIndex(3, false);
  a.SortSettings()->SetIndexShow(true);
  a.QSortIndexed();
  EXPECT_EQ(Column(a, 2), (std::vector<String>{u"y", u"u", u"w", u"z", u"x", u"v"}));
  const String text = a.SortSettings()->SaveToString();
  EXPECT_EQ(text, u"i;u1;d3");
  b.LoadSortSettingsFromString(text);
  EXPECT_TRUE(b.SortSettings()->Show());
  EXPECT_TRUE(b.SortSettings()->IndexShow());
  EXPECT_EQ(Column(b, 2), Column(a, 2));
}

TEST(AdvGridSort, SortSettingsTextIsCheckedBeforeItSorts) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(4);
  for (int r = 1; r <= 3; ++r) g.SetCells(1, r, IntToStr(4 - r));
  g.LoadSortSettingsFromString(u"");
  EXPECT_FALSE(g.SortSettings()->Show());
  try {
    g.LoadSortSettingsFromString(u"x");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Invalid sort settings specifier");
  }
  EXPECT_TRUE(g.SortSettings()->Show());
  g.LoadSortSettingsFromString(u"u-1");
  EXPECT_EQ(g.SortSettings()->Column(), -1);
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"3", u"2", u"1"}));
  g.LoadSortSettingsFromString(u"dabc");
  EXPECT_EQ(g.SortSettings()->Direction(), sdDescending);
  EXPECT_EQ(g.SortSettings()->Column(), -1);
  g.LoadSortSettingsFromString(u"i;");
  EXPECT_TRUE(g.SortSettings()->IndexShow());
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"3", u"2", u"1"}));
  g.LoadSortSettingsFromString(u"u1");
  EXPECT_FALSE(g.SortSettings()->IndexShow());
  EXPECT_EQ(Column(g, 1), (std::vector<String>{u"1", u"2", u"3"}));
  EXPECT_EQ(g.SortSettings()->SaveToString(), u"u1");
}

TEST(AdvGridSort, IndexedHeaderSortKeepsTheColumnWithoutTheDirectionFlag) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(4);
  for (int r = 1; r <= 3; ++r) g.SetCells(2, r, IntToStr(r));
  g.HeaderSortIndexed(2, false);
  EXPECT_EQ(g.SortSettings()->Column(), 2);
  EXPECT_EQ(g.SortSettings()->Direction(), sdAscending);
  g.HeaderSortIndexed(2, false);  // the same column again: reversed
  EXPECT_EQ(g.SortSettings()->Column(), 2);
  EXPECT_EQ(g.SortSettings()->Direction(), sdDescending);
  EXPECT_EQ(Column(g, 2), (std::vector<String>{u"3", u"2", u"1"}));
  g.HeaderSortIndexed(1, true);  // added with the index key
  EXPECT_EQ(g.SortIndexes()->Count(), 2);
  EXPECT_EQ(g.SortSettings()->Column(), 2);
}

TEST(AdvGridSort, GroupSortOrdersTheChildrenOfEachNode) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(2);
  g.SetRowCount(8);
  // Two nodes of level 1 with three children each.
  const char16_t* texts[] = {u"node A", u"3", u"1", u"2", u"node B", u"6", u"4", u"5"};
  for (int r = 0; r < 8; ++r) g.SetCells(1, r, texts[r]);
  g.SetFixedRows(0);
  for (int node : {0, 4}) {
    TCellGraphic* n = g.CreateCellGraphic(0, node);
    n->SetCellType(ctNode);
    n->SetCellIndex(4);
    for (int r = node; r < node + 4; ++r) g.CellProperties(0, r)->SetNodeLevel(1);
  }
  g.SortSettings()->SetColumn(1);
  g.QSortGroup();
  EXPECT_EQ(Column(g, 1, 0),
            (std::vector<String>{u"node A", u"1", u"2", u"3", u"node B", u"4", u"5", u"6"}));
}

// A sort reads each row's key once; whatever the style, its order must be the one the cell
// comparison gives, rows comparing equal must keep their order (stable), and an indexed sort
// by the same column must agree. 40 rows, so that the sort merges runs and not only inserts.
TEST(AdvGridSort, KeyedSortsFollowTheCellComparisonAndKeepEqualRowsInOrder) {
  struct TCase {
    TSortStyle Style;
    const char16_t *Prefix, *Suffix;
    std::vector<String> Texts;
  };
  const String hi = u"\U0001F600";
  const TCase cases[] = {
      {ssNumeric, u"", u"", {u"10", u"9", u"-5x", u"1.5", u"abc", u"", u"1e3", u"+7", u"1e999", u"-1e999", u"0.0"}},
      {ssNumeric, u"$", u" kg", {u"$10 kg", u"$9 kg", u"$", u"", u"x", u"$-1 kg"}},
      {ssFinancial, u"", u"", {u"1,000", u"999", u"", u"-2,500.5", u"12"}},
      {ssAlphabetic, u"", u"", {u"b", u"a", u"", u"B", u"prefix_long_b", u"prefix_long_a", u"prefix_l", u"\uFFFFb",
                               u"\uFFFFa", hi + u"a", u"\uFFFF"}},
      {ssAlphaNoCase, u"", u"", {u"b", u"A", u"a", u"", u"_", u"\u00e9"}},
      {ssAnsiAlphaCase, u"", u"", {u"b", u"a", u"", hi + u"b", hi + u"a", u"abcdefghij", u"abcdefghi", u"\uFF21"}},
      {ssAnsiAlphaNoCase, u"", u"", {u"B", u"a", u"A", u"", u"b"}},
      {ssHTML, u"", u"", {u"<b>b</b>", u"a", u"<i></i>", u"", u"<b>a</b>"}},
      {ssDate, u"", u"", {u"2024/01/05", u"2023/12/31", u"2024/02/30", u"", u"abc"}},
      {ssTime, u"", u"", {u"10:00", u"9:30", u"", u"25:99"}},
      {ssShortDateEU, u"", u"", {u"05/01/2024", u"04/02/2024", u"31/02/2024", u""}},
      {ssAutomatic, u"", u"", {u"10", u"9", u"-3", u"2.5"}},
      {ssAutomatic, u"", u"", {u"b", u"a", u"B", u""}},
      {ssAlphaNumeric, u"", u"", {u"10", u"9", u"100"}},
  };
  for (const TCase& c : cases)
    for (TSortDirection dir : {sdAscending, sdDescending})
      for (int blanks = 0; blanks < 3; ++blanks) {
        DEreDuzeroVaro g(nullptr);
        g.SetColCount(3);
        g.SetRowCount(41);
        g.OnGetFormat = [&c](TObject*, int, TSortStyle& S, String& P, String& X) {
          S = c.Style;
          P = c.Prefix;
          X = c.Suffix;
        };
        g.SortSettings()->SetFull(false);
        g.SortSettings()->SetIgnoreBlanks(blanks > 0);
        g.SortSettings()->SetBlankPos(blanks == 2 ? blLast : blFirst);
        for (int r = 1; r <= 40; ++r) {
          g.SetCells(1, r, c.Texts[static_cast<size_t>(r * 7) % c.Texts.size()]);
          g.SetCells(2, r, IntToStr(r));
        }
        const std::string what = "style " + std::to_string(int(c.Style)) + (dir == sdDescending ? " down" : " up") +
                                 " blanks " + std::to_string(blanks);
        g.Sort(1, dir);
        const int wrong = dir == sdAscending ? 1 : -1;
        for (int r = 1; r < 40; ++r) {
          const int cmp = g.CompareCells(1, r, r + 1, dir);
          EXPECT_NE(cmp, wrong) << what << " rows " << r << "/" << r + 1 << ": " << StringToUTF8(g.Cells(1, r))
                                << " | " << StringToUTF8(g.Cells(1, r + 1));
          if (cmp == 0) {
            EXPECT_LT(StrToInt(g.Cells(2, r)), StrToInt(g.Cells(2, r + 1))) << what << " row " << r;
          }
        }
        const std::vector<String> sorted = Column(g, 2);
        // The same order by one sort index entry, from the unsorted order.
        g.QUnSort();
        g.SortIndexes()->Clear();
        g.SortIndexes()->AddIndex(1, dir == sdAscending);
        g.QSortIndexed();
        EXPECT_EQ(Column(g, 2), sorted) << what << " indexed";
      }
}

TEST(AdvGridSort, AnInconsistentCustomComparisonStillKeepsEveryRow) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(2);
  g.SetRowCount(201);
  for (int r = 1; r <= 200; ++r) g.SetCells(1, r, IntToStr(r));
  g.OnGetFormat = [](TObject*, int, TSortStyle& S, String&, String&) { S = ssCustom; };
  uint32_t seed = 1;
  g.OnCustomCompare = [&seed](TObject*, const String&, const String&, int& Res) {
    seed = seed * 1664525u + 1013904223u;
    Res = static_cast<int>(seed >> 30) - 1;  // -1, 0, 1 or 2, whatever the texts
  };
  g.Sort(1, sdAscending);
  std::vector<int> seen;
  for (int r = 1; r <= 200; ++r) seen.push_back(StrToInt(g.Cells(1, r)));
  std::sort(seen.begin(), seen.end());
  for (int i = 0; i < 200; ++i) EXPECT_EQ(seen[static_cast<size_t>(i)], i + 1);
}
