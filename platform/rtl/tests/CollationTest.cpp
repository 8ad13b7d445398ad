// Collation by the process locale: keys order as the comparison does, case can be ignored,
// and texts with lone surrogates have one place in the order.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/rtl/Collation.h"

TEST(Collation, KeysOrderAsTheComparisonDoes) {
  const std::vector<String> texts = {u"b",  u"a",  u"B", u"ab", u"", u"\u00e9", u"\U0001F600", u"\uFF21",
                                     String(1, char16_t(0xD800)), String(1, char16_t(0xDC00)) + u"z", u"A"};
  for (const String& a : texts)
    for (const String& b : texts) {
      const int byKey = LocaleSortKey(a).compare(LocaleSortKey(b));
      EXPECT_EQ(LocaleCompareStr(a, b), byKey < 0 ? -1 : (byKey > 0 ? 1 : 0));
      EXPECT_EQ(LocaleCompareStr(a, b), -LocaleCompareStr(b, a));
      const int noCase = LocaleSortKey(a, true).compare(LocaleSortKey(b, true));
      EXPECT_EQ(LocaleCompareText(a, b), noCase < 0 ? -1 : (noCase > 0 ? 1 : 0));
    }
  EXPECT_EQ(LocaleCompareText(u"ABC", u"abc"), 0);
  EXPECT_EQ(LocaleCompareStr(u"abc", u"abc"), 0);
  EXPECT_NE(LocaleCompareStr(String(1, char16_t(0xD800)), String(1, char16_t(0xD801))), 0);
}

TEST(Collation, TheCLocaleOrdersByCodePoints) {
  const std::string name = LocaleCollationName();
  if (!(name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0)) GTEST_SKIP() << "collation " << name;
  // A supplementary character sorts after U+FF21 by code point, before it by UTF-16 unit.
  EXPECT_EQ(LocaleCompareStr(u"\uFF21", u"\U0001F600"), -1);
  EXPECT_EQ(LocaleCompareStr(u"B", u"a"), -1);
  // A lone high surrogate stands for its own value, below U+E000.
  EXPECT_EQ(LocaleCompareStr(String(1, char16_t(0xD800)), u"\uE000"), -1);
}
