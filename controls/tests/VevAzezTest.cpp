// Text, number, encoding, date and filter routines under fixed format settings.
#include <gtest/gtest.h>

#include "controls/VevAzez.h"

namespace {

// Day-month-year dates, '/' and ':' separators, '.' decimal and ',' thousand separator.
class VevAzez : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = FormatSettings;
    FormatSettings.ShortDateFormat = u"dd/MM/yyyy";
    FormatSettings.DateSeparator = u'/';
    FormatSettings.TimeSeparator = u':';
    FormatSettings.DecimalSeparator = u'.';
    FormatSettings.ThousandSeparator = u',';
  }
  void TearDown() override { FormatSettings = saved_; }

private:
  TFormatSettings saved_;
};

const String CRLF = u"\r\n";

TEST_F(VevAzez, ClampAndSearchRoutinesFollowTheirRules) {
  EXPECT_EQ(ClampToLimits(7, 10, 5), 5);  // Max wins
  EXPECT_EQ(ClampToLimits(-3, 0, 100), -3);
  EXPECT_EQ(ClampToLimits(500, 4, 4), 500);
  EXPECT_EQ(ClampToLimits(2, 4, 10), 4);

  struct Case { const char16_t* s; int pos; };
  for (Case c : {Case{u"ab##c#d", 6}, {u"ab##", 4}, {u"a##b", 0}, {u"#", 1}, {u"", 0}}) {
    int p = -7;
    EXPECT_EQ(FindUndoubledChar(u'#', c.s, p), c.pos) << StringToUTF8(c.s);
    EXPECT_EQ(p, c.pos);
  }
  EXPECT_EQ(CountUndoubledChars(u'#', u"#a#"), 2);
  EXPECT_EQ(UndoubleChar(u'#', u"x##y"), u"x#y");
  EXPECT_EQ(UndoubleChar(u'#', u"x###y"), u"x##y");
  EXPECT_EQ(CharCount(u'a', u"banana"), 3);

  int p = 99;
  EXPECT_EQ(FindCharPosVar(u'z', u"abc", p), 0);
  EXPECT_EQ(p, 99);  // written only when found
  EXPECT_EQ(FindCharPosVar(u'c', u"abc", p), 3);
  EXPECT_EQ(p, 3);
  EXPECT_EQ(FindPosVar(u"", u"abc", p), 0);
  EXPECT_EQ(p, 0);

  EXPECT_EQ(FindCharOutsideQuotes({u'&', u'|'}, u"\"a&b\"|c", p), u'|');
  EXPECT_EQ(p, 6);
  EXPECT_EQ(FindCharOutsideQuotes({u'&'}, u"\"a&b\"", p), 0);
  EXPECT_EQ(p, -1);

  EXPECT_EQ(CaseInsensitivePos(u"ab", u"xAB"), 0);
  EXPECT_EQ(CaseInsensitivePos(u"AB", u"xab"), 2);
  EXPECT_TRUE(CellInGridRect(TGridRect{1, 2, 3, 4}, 3, 2));
  EXPECT_FALSE(CellInGridRect(TGridRect{1, 2, 3, 4}, 4, 2));
}

TEST_F(VevAzez, TokensReferencesAndLinks) {
  String s = u"12,34";
  EXPECT_EQ(ExtractToken(s, u","), u"12");
  EXPECT_EQ(s, u"34");
  s = u"1234";
  EXPECT_EQ(ExtractToken(s, u","), u"");
  EXPECT_EQ(s, u"1234");

  TPoint pt{-1, -1};
  EXPECT_TRUE(ParseR1C1Ref(u"r3c7", pt));
  EXPECT_EQ(pt, TPoint(7, 3));
  for (const char16_t* bad : {u"R3C", u"RC", u"R3X7", u"C3R7", u"R99999999999C1"}) {
    TPoint q{-1, -1};
    EXPECT_FALSE(ParseR1C1Ref(bad, q)) << StringToUTF8(bad);
    EXPECT_EQ(q, TPoint(-1, -1));
  }

  EXPECT_FALSE(IsUrl(u"www.example"));
  EXPECT_TRUE(IsUrl(u"http://x"));
  s = u"mailto:info";
  StripUrlProtocol(s);
  EXPECT_EQ(s, u"info");
  s = u"ftp://x/mailto:y";
  StripUrlProtocol(s);
  EXPECT_EQ(s, u"x/mailto:y");

  TStringList list;
  list.AddStrings({u"ab", u"", u"c"});
  EXPECT_EQ(ConcatStrings(&list), u"abc");
}

TEST_F(VevAzez, CharacterClassesKnowUnicodeNumbers) {
  for (Char c : {u'0', u'9', Char(0x0663), Char(0xFF15), Char(0x00B2), Char(0x2163), Char(0x2460)})
    EXPECT_TRUE(IsDigitChar(c)) << int(c);
  for (Char c : {u'a', u'/', u':', u'-', Char(0x3042)}) EXPECT_FALSE(IsDigitChar(c)) << int(c);
  EXPECT_TRUE(IsNumberTextChar(u','));
  EXPECT_FALSE(IsNumberTextChar(u'+'));
  EXPECT_TRUE(IsSignedNumberTextChar(u'+'));
  EXPECT_TRUE(IsWordBreakChar(u'\''));
}

TEST_F(VevAzez, NumberTextKindTable) {
  struct Case { const char16_t* s; uint8_t kind; };
  for (Case c : {Case{u"123", 0}, {u"-123", 0}, {u"1.5", 1}, {u"1,234,567", 1}, {u"1,23,4", 2}, {u"1e5", 5},
                 {u"1.5E-3", 5}, {u"-1e-5", 5}, {u"e5", 2}, {u"1e", 2}, {u"1.2.3", 2}, {u"--1", 2}, {u"+5", 2},
                 {u"-", 0}, {u"", 2}, {u"12a", 2}, {u"1e5e5", 2}})
    EXPECT_EQ(NumberTextKind(c.s), c.kind) << StringToUTF8(c.s);

  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  EXPECT_EQ(NumberTextKind(u"1.234,5"), 1);
}

TEST_F(VevAzez, StripNumberFormatAndNormalize) {
  struct Case { const char16_t* in; const char16_t* out; };
  for (Case c : {Case{u" (1,234.50) ", u"-1234.50"}, {u"$-12", u"-12"}, {u"12 kg", u"12"}, {u"-", u"-"},
                 {u"", u""}, {u"USD 1,000", u"1000"}})
    EXPECT_EQ(StripNumberFormat(c.in), c.out) << StringToUTF8(c.in);
  EXPECT_EQ(NormalizeDecimalText(u"1,234.5x"), u"1234.5x");
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  EXPECT_EQ(NormalizeDecimalText(u"1.234,5"), u"1234.5");
  EXPECT_EQ(StripNumberFormat(u"1.234,5"), u"1234.5");
}

TEST_F(VevAzez, MixedCaseCsvAndFill) {
  struct Case { const char16_t* in; const char16_t* out; };
  for (Case c : {Case{u"JOHN MCDONALD III", u"John McDonald III"}, {u"o'neil-smith", u"O'Neil-Smith"},
                 {u"mcdonald", u"McDonald"}, {u"henry ii", u"Henry II"}, {u"", u""}, {u"\u00e9mile zola", u"\u00c9mile Zola"}})
    EXPECT_EQ(ToMixedCase(c.in), c.out) << StringToUTF8(c.in);
  EXPECT_EQ(EscapeCsvQuotes(u"a\"b\"\""), u"a\"\"b\"\"\"\"");
  String s = u"secret";
  FillStringChars(s, u'*');
  EXPECT_EQ(s, u"******");
}

TEST_F(VevAzez, OemRoundTripKeepsWhatTheCodePageCarries) {
  String s = u"ABC \u3042\uff71";
  StringToOem(s);
  EXPECT_EQ(s, u"ABC \u3042\uff71");
  s = u"x\u20acy";  // the euro sign is not in the Japanese code page
  OemToString(s);
  EXPECT_EQ(s, u"x?y");
}

TEST_F(VevAzez, LineBreakEncodingsTable) {
  EXPECT_EQ(LineBreaksToHtml(u"a" + CRLF + u"b"), u"a<br>\nb");
  EXPECT_EQ(LineBreaksToHtml(u"a\nb"), u"a\nb");
  EXPECT_EQ(BackslashNToCR(u"a\\nb\\n"), u"a\rb\r");
  EXPECT_EQ(CRToBackslashN(u"a" + CRLF + u"b"), u"a\\nb");

  String s = u"a" + CRLF + u"b";
  EncodeCellLineBreaks(s);
  EXPECT_EQ(s, u"\"a\vb\"");
  s = u"a\vb";
  DecodeCellLineBreaks(s);
  EXPECT_EQ(s, u"a" + CRLF + u"b");
  s = u"a" + CRLF + u"b\rc";
  RemoveCRFromCRLF(s);
  EXPECT_EQ(s, u"a\nb\rc");

  // The tilde form written and read back; a literal '~' is not escaped by it.
  s = u"a" + CRLF + u"b";
  LineBreaksToTilde(s);
  EXPECT_EQ(s, u"a~b");
  TildeToLineBreaks(s);
  EXPECT_EQ(s, u"a" + CRLF + u"b");
  s = u"a~b" + CRLF;
  LineBreaksToTilde(s);
  EXPECT_EQ(s, u"a~b~");
  struct Case { const char16_t* in; String out; };
  for (const Case& c : {Case{u"^", u""}, Case{u"~^", CRLF + u"^"}, Case{u"a~b", u"a" + CRLF + u"b"}}) {
    String t = c.in;
    TildeToLineBreaks(t);
    EXPECT_EQ(t, c.out) << StringToUTF8(c.in);
  }

  const String withNul(u"a\0b", 3);
  EXPECT_EQ(EncodeLineBreakChars(withNul), withNul);
  EXPECT_EQ(EncodeLineBreakChars(String(u"a\r\n\0b", 5)), String(u"a\t\b\1b", 5));
  EXPECT_EQ(DecodeLineBreakChars(String(u"a\t\b\1b", 5), true), String(u"a\r\n\0b", 5));
  EXPECT_EQ(DecodeLineBreakChars(u"a\tb", true), u"a\tb");
  EXPECT_EQ(DecodeLineBreakChars(u"x\t\by", false), u"x");
}

TEST_F(VevAzez, FirstLineCountsAndCRHandling) {
  String s = u"a" + CRLF + u"b\rc", line;
  ExtractFirstLine(s, true, line);
  EXPECT_EQ(line, u"a");
  EXPECT_EQ(s, u"b\rc");
  for (bool keep : {false, true}) {
    s = u"abc";
    ExtractFirstLine(s, keep, line);
    EXPECT_EQ(line, u"abc");
    EXPECT_EQ(s, u"");
  }
  EXPECT_EQ(LineCount(u"a" + CRLF + u"b" + CRLF, true), 3);
  EXPECT_EQ(LineCount(u"a" + CRLF + u"b" + CRLF, false), 1);
  EXPECT_EQ(LineCount(u"", true), 1);
  EXPECT_EQ(StripCR(u"a" + CRLF), u"a\n");
  EXPECT_EQ(ReplaceCRWithLF(u"a" + CRLF), u"a\n\n");
}

TEST_F(VevAzez, PackedWideTextRoundTripsEveryValue) {
  EXPECT_EQ(PackWideText(u"\u3042"), String(u"|\\") + Char(0x30) + Char(0x42));
  String all;
  for (int v = 0; v <= 0xFFFF; v += 7) all += Char(v);
  all += Char(0xFFFF);
  EXPECT_EQ(UnpackWideText(PackWideText(all)), all);
  EXPECT_EQ(UnpackWideText(u"x|\\ab"), u"x|\\ab");
  EXPECT_EQ(UnpackWideText(String(u"|\\") + Char(0x30) + Char(0x42) + Char(0x31)), u"\u3042");
}

TEST_F(VevAzez, ClassifyCellTextTable) {
  struct Case { String s; bool html; uint8_t kind; };
  for (const Case& c : {Case{u"=A1+1", false, 3}, Case{u"{\\rtf1", false, 2}, Case{u"<b>x</b>", true, 1},
                        Case{u"<b>x</b>", false, 0}, Case{u"<B>x", true, 1}, Case{u"", true, 0},
                        Case{u"x", true, 0}, Case{PackWideText(u"ab"), false, 5},
                        Case{String(u"|\\\0=\0", 5), false, 3}, Case{u"|", true, 0}, Case{u"|\\", false, 5},
                        Case{u"|\\a=", false, 5}, Case{u"{", true, 0}, Case{u"a<", true, 0}, Case{u"a <b<C", true, 1},
                        Case{u"<I", true, 1}, Case{u"<b", true, 0}})
    EXPECT_EQ(ClassifyCellText(c.s, c.html), c.kind) << StringToUTF8(c.s);
}

TEST_F(VevAzez, ParseShortDateTimeTable) {
  struct Case { const char16_t* s; bool ok; TDateTime dt; };
  const TDateTime d = EncodeDate(2014, 12, 31);
  for (Case c : {Case{u"31/12/2014", true, d}, {u"31/12/2014 13:45", true, d + EncodeTime(13, 45, 0, 0)},
                 {u"31/12/2014 13:45:30", true, d + EncodeTime(13, 45, 30, 0)}, {u"31/12/2014 24:00", false, -1},
                 {u"32/01/2014", false, -1}, {u"31/12/2014 1345", false, d}, {u"31/02/2014", false, -1},
                 {u"31/12/2014 13:45:60", false, -1}, {u"31/12", false, -1}, {u"1/1/99999999999", false, -1},
                 {u"1/1/09", true, EncodeDate(9, 1, 1)}}) {
    TDateTime dt = -1;
    EXPECT_EQ(ParseShortDateTime(c.s, dt), c.ok) << StringToUTF8(c.s);
    EXPECT_DOUBLE_EQ(dt, c.dt) << StringToUTF8(c.s);
  }
  FormatSettings.ShortDateFormat = u"yyyy/mm/dd";
  TDateTime dt = 0;
  EXPECT_TRUE(ParseShortDateTime(u"2014/12/31", dt));
  EXPECT_DOUBLE_EQ(dt, d);

  // A long text is read whole, without a fixed buffer.
  EXPECT_FALSE(ParseShortDateTime(u"31/12/2014 " + String(5000, u'1'), dt));
}

TEST_F(VevAzez, DayMonthYearParsing) {
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"31.12.14"), EncodeDate(2014, 12, 31));
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"1-2-85"), EncodeDate(1985, 2, 1));
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"31/12/2014"), EncodeDate(2014, 12, 31));
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"12/31"), 0);
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"a/1/2"), 0);
  EXPECT_DOUBLE_EQ(ParseDateMDY(u"12/31/99"), EncodeDate(1999, 12, 31));
  EXPECT_THROW(ParseDateMDY(u"2/30/20"), EConvertError);
  // Fields beyond the integer range are no number; a year beyond the calendar is no date.
  EXPECT_DOUBLE_EQ(ParseDateDMY(u"1/1/99999999999"), 0);
  EXPECT_THROW(ParseDateDMY(u"1/1/2147483647"), EConvertError);
  TDateTime dt = 0;
  EXPECT_FALSE(ParseShortDateTime(u"1/1/2147483647 23:59:59", dt));
  EXPECT_FALSE(ParseShortDateTime(u"1/1/2000 -2147483648:0", dt));

  EXPECT_TRUE(LooksLikeDate(u"1/2/3"));
  EXPECT_FALSE(LooksLikeDate(u"/1/2"));
  EXPECT_FALSE(LooksLikeDate(u"1//2"));
  EXPECT_FALSE(LooksLikeDate(u"12/3"));
}

TEST_F(VevAzez, AdvanceDateSteps) {
  const TDateTime dec15 = EncodeDate(2014, 12, 15), jan15 = EncodeDate(2015, 1, 15);
  EXPECT_DOUBLE_EQ(AdvanceDate(0, 1, 0, dec15, 0), jan15);
  EXPECT_DOUBLE_EQ(AdvanceDate(0, 65535, 0, jan15, 0), dec15);
  EXPECT_DOUBLE_EQ(AdvanceDate(0, 0, 7, dec15, 0), dec15 + 7);
  EXPECT_DOUBLE_EQ(AdvanceDate(1, 0, 1, dec15, 2.5), dec15 + 2.5);
  EXPECT_DOUBLE_EQ(AdvanceDate(65535, 0, 0, dec15, 0), EncodeDate(2013, 12, 15));
  EXPECT_THROW(AdvanceDate(0, 1, 0, EncodeDate(2014, 3, 31), 0), EConvertError);
}

TEST_F(VevAzez, FilterHelpers) {
  EXPECT_EQ(RemoveSpacesOutsideQuotes(u"a b \"c d\" e"), u"ab\"c d\"e");
  EXPECT_EQ(FindClosingParen(u"((a)|b)&c"), 7);
  EXPECT_EQ(FindClosingParen(u"(a"), 0);
}

TEST_F(VevAzez, MatchFilterConditionTable) {
  struct Case { const char16_t* cond; const char16_t* value; bool match; };
  for (Case c : {Case{u"abc*", u"ABCD", true}, {u">5", u"10", true}, {u">5", u"3", false},
                 {u">=5&<=10", u"5", true}, {u">=5&<=10", u"10", true}, {u">=5&<=10", u"11", false},
                 {u"A*|B*", u"bob", true}, {u"!a*", u"xyz", true}, {u"!a*", u"abc", false},
                 {u"(A*|B*)&>B", u"BOB", true}, {u"(A*|B*)&>B", u"ANN", false}, {u"=abc", u"ABC", true},
                 {u"\"a b\"", u"a b", true}, {u"?", u"x", true}, {u"?", u"xy", false}, {u"", u"", true},
                 {u"", u"x", false}, {u">10", u"9", false}, {u">a", u"b", true},
                 {u">01/01/2014", u"31/12/2014", true}, {u"<1,000.5", u"999", true},
                 {u"a*|b*&c*", u"ax", false}, {u"*x*y", u"axby", true}, {u"*x*y", u"axb", false},
                 {u"\"a|b\"", u"a|b", true}, {u"((a*))", u"ab", true}})
    EXPECT_EQ(MatchFilterCondition(c.cond, c.value, false), c.match)
        << StringToUTF8(c.cond) << " / " << StringToUTF8(c.value);
  EXPECT_FALSE(MatchFilterCondition(u"abc*", u"ABCD", true));
  EXPECT_TRUE(MatchFilterCondition(u"ABC*", u"ABCD", true));
}

TEST_F(VevAzez, MalformedAndLongConditionsEndWithoutMatch) {
  // An unclosed group is no match, whatever follows it.
  for (const char16_t* cond : {u"(a", u"(a|b", u"((a)|b", u"(", u"(\"x)\""})
    EXPECT_FALSE(MatchFilterCondition(cond, u"a", false)) << StringToUTF8(cond);

  // Deep nesting within reason is evaluated; beyond it the condition is refused, not a crash.
  EXPECT_TRUE(MatchFilterCondition(String(200, u'(') + u"a*" + String(200, u')'), u"ab", false));
  EXPECT_FALSE(MatchFilterCondition(String(100000, u'(') + u"a*" + String(100000, u')'), u"ab", false));

  // Operands and patterns longer than any buffer compare in full.
  const String longValue = String(300, u'a') + u"b";
  EXPECT_TRUE(MatchFilterCondition(u">" + String(300, u'a'), longValue, true));
  EXPECT_FALSE(MatchFilterCondition(u">" + longValue, String(300, u'a') + u"a", true));
  EXPECT_TRUE(MatchFilterCondition(String(2000, u'?'), String(2000, u'z'), true));

  // Many stars against a long value that almost matches end quickly.
  String stars;
  for (int i = 0; i < 30; ++i) stars += u"*a";
  EXPECT_FALSE(MatchFilterCondition(stars + u"*b", String(200, u'a'), true));
  EXPECT_TRUE(MatchFilterCondition(stars + u"*b", String(200, u'a') + u"b", true));
  EXPECT_TRUE(MatchFilterCondition(u"*\"x\"*?", u"axb", true));
  EXPECT_FALSE(MatchFilterCondition(u"!*x*", u"axb", true));
}

}  // namespace
