// Filtering with conditions read once per pass: a plain pattern keeps exactly the rows the
// whole condition language keeps, whatever its stars, quotes, case and the cells' blanks.
#include <gtest/gtest.h>

#include <vector>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

const std::vector<String> kValues = {
    u"kamo", u"KAMO", u"xkamoy", u"ka", u"", u"  ka  ", u"mo ka", u"a*b", u"a?b", u"axb", u"abc", u"aXbYc",
    u"\u00C4pfel", u"\u00E4pfel", String(u"k\0a", 3), u"kak", u"moka"};

// The rows (values) that a one-condition filter on column 1 keeps.
std::vector<String> Kept(const String& Condition, bool CaseSensitive) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(2);
  g.SetRowCount(static_cast<int>(kValues.size()) + 1);
  for (size_t i = 0; i < kValues.size(); ++i) g.SetCells(1, static_cast<int>(i) + 1, kValues[i]);
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  f->SetCondition(Condition);
  f->SetCaseSensitive(CaseSensitive);
  g.SetFilterActive(true);
  std::vector<String> kept;
  for (int r = 1; r < g.RowCount(); ++r) kept.push_back(g.Cells(1, r));
  return kept;
}

}  // namespace

TEST(AdvGridFilterMatch, PlainPatternsKeepWhatTheConditionLanguageKeeps) {
  const char16_t* conditions[] = {u"*ka*", u"ka*",   u"*ka",     u"ka",        u"k?mo", u"*k*o",    u"\"*mo ka*\"",
                                  u"*",    u"**",    u"\"\"",    u"*\u00C4P*", u"a*b*c", u"?",      u"*a?b*",
                                  u"=ka",  u" ka ",  u"a\"*\"b", u"*K*A*",     u"k",    u"*kak*k*", u"*a"};
  for (const char16_t* c : conditions)
    for (bool cs : {false, true}) {
      SCOPED_TRACE(StringToUTF8(String(c)) + (cs ? " (case)" : ""));
      std::vector<String> expected;
      for (const String& v : kValues)
        if (MatchFilterCondition(c, Trim(v), cs)) expected.push_back(v);
      EXPECT_EQ(Kept(c, cs), expected);
    }
}

TEST(AdvGridFilterMatch, PrefixSuffixAndWholeRowNarrowing) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(5);
  const char16_t* texts[] = {u"$12 EUR", u"$12", u"12 EUR EUR", u"\u00C4pfel"};
  for (int r = 1; r <= 4; ++r) {
    g.SetCells(1, r, texts[r - 1]);
    g.SetCells(2, r, u"row" + IntToStr(r));
  }
  // Prefix and suffix come off before the pattern (a suffix only where it first occurs at the end).
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  f->SetPrefix(u"$");
  f->SetSuffix(u" EUR");
  f->SetCondition(u"12");
  g.SetFilterActive(true);
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.Cells(1, 1), u"$12 EUR");
  EXPECT_EQ(g.Cells(1, 2), u"$12");
  g.RemoveAllFilters();
  // A whole row ignores case, also beyond Latin letters.
  g.NarrowDown(u"\u00E4PF", -1);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cells(2, 1), u"row4");
  g.NarrowDown(u"", -1);
  g.NarrowDown(u"W2", -1);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cells(2, 1), u"row2");
}
