// Entity escaping and the CONTROL tag rewrite of the mini-HTML text routines.
#include <gtest/gtest.h>

#include "controls/HtmlText.h"

namespace {

struct TCase {
  const char16_t* In;
  const char16_t* Out;
};

TEST(HtmlText, EncodeEscapesMarkupAndTableCharactersOnly) {
  const TCase Cases[] = {
      {u"a & b", u"a &amp; b"},
      {u"&amp;", u"&amp;amp;"},  // already escaped text is escaped again
      {u"*amp; stays", u"*amp; stays"},  // user text that looks like a placeholder is kept
      {u"<b>\"x\"</b>", u"&lt;b&gt;&quot;x&quot;&lt;/b&gt;"},
      {u"caf\u00E9 \u00C9t\u00E9 \u20AC \u00AB\u00BB \u00A9\u00AE", u"caf&eacute; &Eacute;t&eacute; &euro; &laquo;&raquo; &copy;&reg;"},
      {u"a~b", u"a~b"},
      {u"", u""},
  };
  for (const TCase& C : Cases) EXPECT_EQ(EncodeHtmlEntities(C.In), String(C.Out)) << String(C.In).size();
}

TEST(HtmlText, DecodeIsOnePassWithExactCase) {
  const TCase Cases[] = {
      {u"&lt;b&gt; &quot;q&quot; &amp;", u"<b> \"q\" &"},
      {u"&Eacute;t&eacute;", u"\u00C9t\u00E9"},  // capital before small keeps both cases
      {u"&amp;eacute;", u"&eacute;"},             // decoded text is not decoded again
      {u"&amp;lt;", u"&lt;"},
      {u"&EACUTE; &Lt; &unknown; & alone", u"&EACUTE; &Lt; &unknown; & alone"},
      {u"&aring;&Aring;&oslash;&Oslash;&ccedil;&Ccedil;&euro;", u"\u00E5\u00C5\u00F8\u00D8\u00E7\u00C7\u20AC"},
      {u"&eacute", u"&eacute"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(DecodeHtmlEntities(C.In), String(C.Out));
}

TEST(HtmlText, EncodeThenDecodeGivesBackTheText) {
  const String Texts[] = {u"&amp;eacute; <x> \"y\" \u00E9\u00C9 *amp; ~", u"&&&;", u"\u00FC\u00DC\u00F6\u00D6"};
  for (const String& T : Texts) EXPECT_EQ(DecodeHtmlEntities(EncodeHtmlEntities(T)), T);
}

TEST(HtmlText, ReplaceFirstNoCaseReplacesOneOccurrence) {
  String S = u"x<br>y<BR>z";
  EXPECT_TRUE(ReplaceFirstNoCase(u"<Br>", u"\n", S));
  EXPECT_EQ(S, u"x\ny<BR>z");
  EXPECT_FALSE(ReplaceFirstNoCase(u"<hr>", u"-", S));
  EXPECT_EQ(S, u"x\ny<BR>z");
  EXPECT_EQ(PosNoCase(u"control", u"a<CONTROL "), 3);
}

TEST(HtmlText, ParseControlTagReadsAttributesAsWritten) {
  String Type, ID, Value, Width, Height, Prop, MaxLen;
  Type = u"old";
  ParseControlTag(u"control type=\"edit\" id=\"Name\" value=\"a&amp;b\" width=\"40\" prop=\"&lt;p&gt;\" maxlen=\"8\">",
                  Type, ID, Value, Width, Height, Prop, MaxLen);
  EXPECT_EQ(Type, u"EDIT");
  EXPECT_EQ(ID, u"Name");
  EXPECT_EQ(Value, u"a&b");
  EXPECT_EQ(Width, u"40");
  EXPECT_EQ(Height, u"");
  EXPECT_EQ(Prop, u"<p>");
  EXPECT_EQ(MaxLen, u"8");
}

TEST(HtmlText, SetControlValueRewritesTheTagExactly) {
  String Text = u"A <b>x</b><control type=\"check\" width=\"15\" id=\"C1\" value=\"FALSE\"> "
                u"<CONTROL TYPE=\"edit\" ID=\"E1\" VALUE=\"\" WIDTH=\"60\" HEIGHT=\"20\" PROP=\"a&amp;b\" MAXLEN=\"5\"> ~tail";
  EXPECT_TRUE(SetHtmlControlValue(Text, u"C1", u"TRUE"));
  EXPECT_TRUE(SetHtmlControlValue(Text, u"E1", u"say \"hi\" & \u00E9~"));
  EXPECT_EQ(Text, u"A <b>x</b><CONTROL ID=\"C1\" VALUE=\"TRUE\" WIDTH=\"15\" TYPE=\"CHECK\"> "
                  u"<CONTROL ID=\"E1\" VALUE=\"say &quot;hi&quot; &amp; &eacute;~\" WIDTH=\"60\" HEIGHT=\"20\" "
                  u"TYPE=\"EDIT\" PROP=\"a&amp;b\" MAXLEN=\"5\"> ~tail");
  String Value = u"unchanged";
  EXPECT_TRUE(GetHtmlControlValue(Text, u"E1", Value));
  EXPECT_EQ(Value, u"say \"hi\" & \u00E9~");
  EXPECT_TRUE(GetHtmlControlValue(Text, u"C1", Value));
  EXPECT_EQ(Value, u"TRUE");
}

TEST(HtmlText, UnknownControlIdChangesNothing) {
  const String Original = u"<CONTROL ID=\"a\" VALUE=\"1\" TYPE=\"EDIT\"> <CONTROL ID=\"b\" VALUE=\"2\"";
  String Text = Original;
  EXPECT_FALSE(SetHtmlControlValue(Text, u"A", u"x"));  // IDs compare with exact case
  EXPECT_FALSE(SetHtmlControlValue(Text, u"b", u"x"));  // a tag without '>' is no tag
  EXPECT_EQ(Text, Original);
  String Value = u"kept";
  EXPECT_FALSE(GetHtmlControlValue(Text, u"zz", Value));
  EXPECT_EQ(Value, u"kept");
}

}  // namespace

namespace {

const String Form = u"<CONTROL ID=\"b1\" TYPE=\"BUTTON\"> <control id=\"e1\" type=\"edit\" prop=\"x&amp;y\"> "
                    u"<CONTROL ID=\"r1\" VALUE=\"TRUE\" TYPE=\"radio\"> <CONTROL ID=\"c1\" TYPE=\"CHECK\" VALUE=\"TRUE\"> "
                    u"<CONTROL ID=\"p1\" TYPE=\"PASSWORD\"> <CONTROL ID=\"r2\" VALUE=\"TRUE\" TYPE=\"RADIO\">";

TEST(HtmlText, NextEditControlSkipsButtonsChecksAndRadios) {
  const struct {
    const char16_t* From;
    const char16_t* Next;
  } Cases[] = {{u"", u"e1"}, {u"b1", u"e1"}, {u"e1", u"p1"}, {u"r1", u"p1"}, {u"p1", u""}, {u"none", u""}};
  for (const auto& C : Cases) EXPECT_EQ(NextHtmlEditControlID(Form, C.From), String(C.Next)) << String(C.From).size();
  EXPECT_TRUE(HasHtmlControls(u"x<Control"));
  EXPECT_FALSE(HasHtmlControls(u"CONTROL"));
  EXPECT_EQ(GetHtmlControlProp(Form, u"e1"), u"x&y");
  EXPECT_EQ(GetHtmlControlProp(Form, u"zz"), u"");
}

TEST(HtmlText, ResetRadioControlsClearsOnlyRadios) {
  const String R = ResetHtmlRadioControls(Form);
  String V;
  EXPECT_TRUE(GetHtmlControlValue(R, u"r1", V));
  EXPECT_EQ(V, u"FALSE");
  EXPECT_TRUE(GetHtmlControlValue(R, u"r2", V));
  EXPECT_EQ(V, u"FALSE");
  EXPECT_TRUE(GetHtmlControlValue(R, u"c1", V));
  EXPECT_EQ(V, u"TRUE");
  EXPECT_NE(R.find(u"<CONTROL ID=\"r1\" VALUE=\"FALSE\" WIDTH=\"\" TYPE=\"RADIO\">"), String::npos);
}

}  // namespace

namespace {

TEST(HtmlText, PlainTextDropsTagsUpToAnUnclosedBracket) {
  const TCase Cases[] = {
      {u"a <b>bold</b> c", u"a bold c"},
      {u"x<BR>y<br>z<hr>w", u"x\r\ny\r\nz\r\nw"},
      {u"<b>x</b> 1 < 2", u"x 1 < 2"},  // '<' without a later '>' kept with the rest, once
      {u"<i>a</i> < b", u"a < b"},
      {u"&amp;<b>t</b>", u"&amp;t"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(HtmlToPlainText(C.In), String(C.Out));
  EXPECT_EQ(SpacesToNbsp(u"a b  c"), u"a&nbsp;b&nbsp;&nbsp;c");
}

TEST(HtmlText, VisibleIndexMapsToTheTagBeforeTheCharacter) {
  const String T = u"<b>ab</b>c";
  const struct {
    int32_t N, Index;
  } Cases[] = {{1, 1}, {2, 5}, {3, 6}, {4, 11}, {5, 0}};
  for (const auto& C : Cases) EXPECT_EQ(VisibleToTextIndex(T, C.N), C.Index) << C.N;
  EXPECT_EQ(VisibleToTextIndex(u"", 1), 1);
}

}  // namespace

namespace {

TEST(HtmlText, HighlightWrapsMatchesOfTheVisibleText) {
  const struct {
    const char16_t *Text, *Search;
    bool CaseSensitive;
    const char16_t* Out;
  } Cases[] = {
      {u"abcabc", u"b", true, u"a<hi>b</hi>ca<hi>b</hi>c"},
      {u"aBc", u"b", true, u"aBc"},
      {u"aBc", u"b", false, u"a<hi>B</hi>c"},
      {u"x<b>ab</b>", u"xa", true, u"<hi>x<b>a</hi>b</b>"},  // a match may span tags,
      {u"a < b", u"b", true, u"a &lt; <hi>b</hi>"},  // plain '<' in the text: escaped form
      {u"abc", u"", true, u"abc"},
  };
  for (const auto& C : Cases) EXPECT_EQ(HighlightHtmlText(C.Text, C.Search, u"hi", C.CaseSensitive), String(C.Out)) << String(C.Text).size();
  EXPECT_EQ(UnhighlightHtmlText(HighlightHtmlText(u"a < b", u"b", u"hi", true), u"hi"), u"a < b");
  int32_t P = -1;
  EXPECT_EQ(PosFrom(u"b", u"abab", 2, true, P), 4);
  EXPECT_EQ(P, 4);
  EXPECT_EQ(PosFrom(u"c", u"abab", 0, false, P), 0);
  EXPECT_EQ(P, 0);
}

}  // namespace

namespace {

TEST(HtmlText, SmallTextRewrites) {
  EXPECT_EQ(StripHashMarkers(u"a <#f1> b <#f2>c> <#open"), u"a #f1 b #f2c> #open");
  EXPECT_EQ(StripHashMarkers(u"<#a<#b>c>d"), u"#a#bcd");  // each marker takes the next free '>'
  EXPECT_EQ(StripHashMarkers(u"<#x<>#y>"), u"#x#y");      // a removed '>' joins "<" and "#" into a marker
  EXPECT_EQ(StripHashMarkers(u"<<#>#"), u"<##");
  EXPECT_EQ(LineBreaksToBrTags(u"a\r\nb\nc\r", true), u"a<BR>bc<BR>");
  EXPECT_EQ(LineBreaksToBrTags(u"a\r\nb\nc\r", false), u"abc");
  EXPECT_EQ(PasswordMask(u"p\u00E9ss"), u"****");
}

}  // namespace

namespace {

TEST(HtmlText, LeadingIntAndMaxLen) {
  const struct {
    const char16_t* Text;
    int32_t Value;
  } Cases[] = {{u"  42px", 42}, {u"-7", -7}, {u"+3", 3}, {u"$1F", 31}, {u"x10", 16}, {u"0XfFz", 255},
               {u"px", 0},      {u"", 0},    {u"08", 8}};
  for (const auto& C : Cases) EXPECT_EQ(LeadingInt(C.Text), C.Value) << String(C.Text).size();
  const String T = u"<CONTROL ID=\"a\" MAXLEN=\"12 chars\"> <CONTROL ID=\"b\">";
  EXPECT_EQ(GetHtmlControlMaxLen(T, u"a"), 12);
  EXPECT_EQ(GetHtmlControlMaxLen(T, u"b"), 0);
  EXPECT_EQ(GetHtmlControlMaxLen(T, u"c"), 0);
}

}  // namespace

namespace {

TEST(HtmlText, ColourNamesAndHexadecimalColours) {
  const struct {
    const char16_t* Name;
    TColor Color;
  } Names[] = {{u"clred", 0x0000FF},          {u"clblack", 0},           {u"clnavy", 0x800000},
               {u"clmaroon", 0x000080},       {u"clbtnface", clBtnFace}, {u"clinfobk", TColor(0xFF000018)},
               {u"clbackground", TColor(0xFF000001)}, {u"cl3ddkshadow", cl3DDkShadow},
               {u"clRed", 0},  // names are looked up in lower case
               {u"red", 0},    {u"", 0}};
  for (const auto& N : Names) EXPECT_EQ(HtmlColorByName(N.Name), N.Color) << StringToUTF8(N.Name);

  const struct {
    const char16_t* Text;
    TColor Color;
  } Hex[] = {{u"#FF0000", 0x0000FF}, {u"#00FF00", 0x00FF00}, {u"#0000FF", 0xFF0000}, {u"#123456", 0x563412},
             {u"#FF", 0x0000FF},     {u"#", 0},              {u"#F", 0},             {u"#ff0000", 0x00001F}};  // 47 * 16 + 47, kept to a byte
  for (const auto& H : Hex) EXPECT_EQ(HtmlHexColor(H.Text), H.Color) << StringToUTF8(H.Text);
  // Digits: code - 48 below 'A', else code - 55, so lower-case letters read too large.
  EXPECT_EQ(HexPairToInt(u"A0"), 160);
  EXPECT_EQ(HexPairToInt(u"ff"), 47 * 16 + 47);
  EXPECT_EQ(HexPairToInt(u"9"), 0);
  EXPECT_EQ(HexPairToInt(u""), 0);
}

TEST(HtmlText, TheRenderersSymbolEntitiesAreDecodedOnceOutsideTags) {
  const TCase Cases[] = {
      {u"a&amp;b", u"a&&b"},
      {u"&AMP; &Copy; &euro;&trade;", u"&& \u00A9 \u20AC\u2122"},  // case is ignored
      {u"&amp;copy;", u"&&copy;"},                                    // decoded text is not decoded again
      {u"&sect;&permil;&reg;&para;&quot;", u"\u00A7\u2030\u00AE\u00B6\""},
      {u"&eacute;&lt;&nbsp;", u"&eacute;&lt;&nbsp;"},  // left for the text routines and the runs
      {u"<a title=\"&quot;x&quot;\">&quot;</a>", u"<a title=\"&quot;x&quot;\">\"</a>"},
      {u"<b &amp;", u"<b &amp;"},  // a tag without '>' runs to the end
      {u"<#x&amp;y>", u"<#x&&y>"},  // a marker is shown text
  };
  for (const TCase& C : Cases) EXPECT_EQ(StringToUTF8(DecodeHtmlSymbolEntities(C.In)), StringToUTF8(C.Out));
}

}  // namespace
