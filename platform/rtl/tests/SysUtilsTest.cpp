#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"

namespace {

std::string S(const String& s) { return StringToUTF8(s); }

}  // namespace

TEST(IntegerText, ToTextAndHex) {
  EXPECT_EQ(S(IntToStr(0)), "0");
  EXPECT_EQ(S(IntToStr(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(S(IntToStr(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(S(IntToStr(UINT64_MAX)), "18446744073709551615");
  EXPECT_EQ(S(IntToHex(255, 2)), "FF");
  EXPECT_EQ(S(IntToHex(10, 4)), "000A");
  EXPECT_EQ(S(IntToHex(0x1234, 2)), "1234");  // never truncates
  EXPECT_EQ(S(IntToHex(-1, 2)), "FFFFFFFF");  // 32-bit two's complement
  EXPECT_EQ(S(IntToHex(int64_t(-1), 0)), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(S(IntToHex(0, 0)), "0");
}

TEST(IntegerText, StrToIntAcceptsDecimalAndHexForms) {
  struct Case {
    const char16_t* text;
    int32_t value;
  } cases[] = {
      {u"0", 0},           {u"  42", 42},          {u"+7", 7},           {u"-15", -15},
      {u"$FF", 255},       {u"$ff", 255},          {u"0x1F", 31},        {u"0X1f", 31},
      {u"x10", 16},        {u"-$10", -16},         {u"$FFFFFFFF", -1},   {u"2147483647", 2147483647},
      {u"-2147483648", -2147483647 - 1},           {u"007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << S(c.text);
}

TEST(IntegerText, StrToIntRejectsBadText) {
  for (const char16_t* bad : {u"", u" ", u"-", u"$", u"0x", u"12 ", u"1.5", u"abc", u"2147483648", u"-2147483649",
                              u"$100000000", u"1e3", u"$G"}) {
    int32_t v = 99;
    EXPECT_FALSE(TryStrToInt(bad, v)) << S(bad);
    EXPECT_EQ(v, 99);
    EXPECT_EQ(StrToIntDef(bad, -5), -5);
  }
  try {
    StrToInt(u"xyz");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(S(e.Message()), "'xyz' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64(u"9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64(u"$FFFFFFFF"), 4294967295);
  EXPECT_THROW(StrToInt64(u"9223372036854775808"), EConvertError);
}

TEST(Rounding, RoundIsHalfToEvenTruncTowardsZero) {
  struct Case {
    double v;
    int64_t round, trunc;
  } cases[] = {{0.5, 0, 0},  {1.5, 2, 1},   {2.5, 2, 2},   {3.5, 4, 3},   {-0.5, 0, 0},
               {-1.5, -2, -1}, {-2.5, -2, -2}, {2.4999, 2, 2}, {2.5001, 3, 2}, {-7.9, -8, -7}};
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.v), c.round) << c.v;
    EXPECT_EQ(Trunc(c.v), c.trunc) << c.v;
  }
}

TEST(Rounding, MulDivRoundsAndReportsOverflow) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);     // 7.5 -> 8
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);   // away from zero
  EXPECT_EQ(MulDiv(10, 1, 3), 3);
  EXPECT_EQ(MulDiv(65536, 65536, 65536), 65536);  // no intermediate overflow
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(2147483647, 2, 1), -1);
  EXPECT_EQ(MulDiv(-2147483647 - 1, 1, 1), -2147483647 - 1);
}

TEST(Strings, OneBasedRoutinesAtTheEdges) {
  const String s = u"abcdef";
  EXPECT_EQ(Pos(u"cd", s), 3);
  EXPECT_EQ(Pos(u"", s), 0);
  EXPECT_EQ(Pos(u"x", s), 0);
  EXPECT_EQ(Pos(u"a", u"abca", 2), 4);
  EXPECT_EQ(Pos(u'f', s), 6);
  EXPECT_EQ(S(Copy(s, 5, 100)), "ef");
  EXPECT_EQ(S(Copy(s, 7, 1)), "");
  EXPECT_EQ(S(Copy(s, 0, 2)), "ab");
  EXPECT_EQ(S(Copy(s, 2, -1)), "");
  EXPECT_EQ(S(Copy(s, 3)), "cdef");

  String d = s;
  Delete(d, 5, 100);
  EXPECT_EQ(S(d), "abcd");
  d = s;
  Delete(d, 0, 2);  // outside: nothing
  EXPECT_EQ(S(d), "abcdef");
  Delete(d, 7, 1);
  EXPECT_EQ(S(d), "abcdef");
  Delete(d, 1, 1);
  EXPECT_EQ(S(d), "bcdef");

  String i = u"ace";
  Insert(u"b", i, 2);
  Insert(u"f", i, 99);
  Insert(u"_", i, 0);
  EXPECT_EQ(S(i), "_abcef");
}

TEST(Strings, TrimAndCase) {
  EXPECT_EQ(S(Trim(u" \t a b \r\n")), "a b");
  EXPECT_EQ(S(TrimLeft(u"  x ")), "x ");
  EXPECT_EQ(S(TrimRight(u"  x ")), "  x");
  EXPECT_EQ(S(Trim(u"   ")), "");
  EXPECT_EQ(UpperCase(U("abcäｱ")), U("ABCäｱ"));  // ASCII only
  EXPECT_EQ(AnsiUpperCase(U("abcäöéｱ")), U("ABCÄÖÉｱ"));
  EXPECT_EQ(AnsiLowerCase(U("ÄBC")), U("äbc"));
  EXPECT_EQ(LowerCase(U("ÄBC")), U("Äbc"));
}

TEST(Strings, Comparisons) {
  EXPECT_EQ(CompareText(u"abc", u"ABC"), 0);
  EXPECT_LT(CompareText(u"abc", u"abd"), 0);
  EXPECT_GT(CompareText(u"abcd", u"ABC"), 0);
  EXPECT_LT(CompareStr(u"ABC", u"abc"), 0);
  EXPECT_TRUE(SameText(u"Com1", u"COM1"));
  EXPECT_FALSE(SameText(U("ä"), U("Ä")));
  EXPECT_TRUE(AnsiSameText(U("ä"), U("Ä")));
  EXPECT_EQ(AnsiCompareText(U("Äb"), U("äa")), 1);
  EXPECT_TRUE(StartsText(u"lan", u"LAN adapter"));
  EXPECT_FALSE(StartsText(u"LAN adapter!", u"LAN"));
}

TEST(Strings, ReplaceQuoteAndRepeat) {
  EXPECT_EQ(S(StringReplace(u"a-b-c", u"-", u"+", {})), "a+b-c");
  EXPECT_EQ(S(StringReplace(u"a-b-c", u"-", u"+", {rfReplaceAll})), "a+b+c");
  EXPECT_EQ(S(StringReplace(u"Ab ab AB", u"ab", u"x", {rfReplaceAll, rfIgnoreCase})), "x x x");
  EXPECT_EQ(S(StringReplace(u"aaa", u"a", u"aa", {rfReplaceAll})), "aaaaaa");  // no rescanning
  EXPECT_EQ(S(StringReplace(u"abc", u"", u"x", {rfReplaceAll})), "abc");
  EXPECT_EQ(S(QuotedStr(u"it's")), "'it''s'");
  EXPECT_EQ(S(AnsiQuotedStr(u"a\"b", u'"')), "\"a\"\"b\"");
  EXPECT_EQ(S(AnsiDequotedStr(u"'it''s'", u'\'')), "it's");
  EXPECT_EQ(S(AnsiDequotedStr(u"'open", u'\'')), "'open");
  EXPECT_EQ(S(AnsiDequotedStr(u"plain", u'\'')), "plain");
  EXPECT_EQ(S(StringOfChar(u'-', 3)), "---");
  EXPECT_EQ(S(StringOfChar(u'-', -1)), "");
}
