// The tagged text renderer: layout out-values (sizes, plain text, line breaking), tags
// probed in pixels, and bad input.
#include <gtest/gtest.h>

#include <chrono>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "controls/tests/HtmlRenderSupport.h"

namespace {

TEST(HtmlRenderLayout, SizesAndPlainText) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  struct Case {
    const char16_t* Text;
    const char16_t* Plain;
    const char16_t* Widest;  // the widest line's runs, split at '|' (each is measured alone; '~' takes one off)
    int Lines;
  } Cases[] = {
      {u"", u"", u"", 1},  // an empty text is one line high and 0 wide
      {u"plain text", u"plain text", u"plain |text", 1},
      {u"trailing space ", u"trailing space ", u"trailing |space |~ ", 1},  // the ending space is not counted
      {u"<big>a</big>b", u"ab", u"a|b", 1},                              // BIG is eaten, not bold
      {u"a<quux attr=\"x\">b", u"ab", u"a|b", 1},
      {u"x&lt;y&gt;z&nbsp;w", u"x<y>z w", u"x<y>z w", 1},  // entities do not split words
      {u"tail<", u"tail", u"tail", 1},
      {u"tail<b", u"tail", u"tail", 1},
      {u"tail<b no end", u"tail", u"tail", 1},
      {u"<Z>hid den</Z>shown", u"hid denshown", u"shown", 1},  // hidden runs go to the plain text only
      {u"a<#mark>b", u"a#markb", u"a#markb", 1},
      {u"a<br>bb", u"a\rbb", u"bb", 2},
      {u"a\r\nbb\r\n", u"a\rbb\r", u"bb", 2},
      {u"</>x</", u"x", u"x", 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlCallArgs H;
    EXPECT_FALSE(H.Draw(S.C(), C.Text));
    EXPECT_EQ(StringToUTF8(H.PlainText), StringToUTF8(C.Plain));
    int Widest = 0;
    const String W = C.Widest;
    for (size_t From = 0; From <= W.size();) {
      const size_t To = std::min(W.find(u'|', From), W.size());
      if (To > From && W[From] == u'~') Widest -= S.Width(W.substr(From + 1, To - From - 1));
      else if (To > From) Widest += S.Width(W.substr(From, To - From));
      From = To + 1;
    }
    EXPECT_EQ(H.TextWidth, Widest);
    EXPECT_EQ(H.TextHeight, C.Lines * GH);
    EXPECT_EQ(H.AnchorCount, 0);
    EXPECT_EQ(H.HitAnchorIndex, -1);
  }
}

TEST(HtmlRenderLayout, LineBreakingWithAndWithoutWordWrap) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const int Narrow = S.Width(u"wwww wwww") - 4;  // room for one word of four, not two
  struct Case {
    const char16_t* Text;
    bool WordWrap;
    int Lines;
    const char16_t* Plain;
  } Cases[] = {
      {u"wwww wwww wwww", true, 3, u"wwww wwww wwww"},
      // A word wider than the rectangle stands alone on its line.
      {u"wwwwwwwwwwww wwww", true, 2, u"wwwwwwwwwwww wwww"},
      // Tags inside a word do not break it.
      {u"ww<b>w</b>wwwwwwwww", true, 1, u"wwwwwwwwwwww"},
      {u"<ul><li>a<li>b", true, 3, u"ab"},  // UL ends its line; a second LI starts a new one
      // Without word wrap a line is one line; a run that overflows after a space ends the text.
      {u"wwww <b>wwwwww</b> more<br>next", false, 1, u"wwww wwwwww"},
      // A single run that is too wide does not stop the lines after it.
      {u"wwwwwwwwwwww<br>next", false, 2, u"wwwwwwwwwwww\rnext"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlCallArgs H;
    H.Rect = TRect(0, 0, Narrow, 100);
    H.WordWrap = C.WordWrap;
    H.Draw(S.C(), C.Text);
    EXPECT_EQ(H.TextHeight, C.Lines * GH);
    EXPECT_EQ(StringToUTF8(H.PlainText), StringToUTF8(C.Plain));
  }
}

TEST(HtmlRenderLayout, MeasureOnlyLaysOutTheWholeTextElseLinesStopAtTheBottom) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const String Text = u"one<br>two<br>three<br>four";
  for (bool MeasureOnly : {true, false}) {
    THtmlCallArgs H;
    H.Rect = TRect(0, 0, 200, 2 * GH + 2);
    H.MeasureOnly = MeasureOnly;
    H.Draw(S.C(), Text);
    EXPECT_EQ(H.TextHeight, (MeasureOnly ? 4 : 2) * GH);
    EXPECT_EQ(StringToUTF8(H.PlainText), MeasureOnly ? "one\rtwo\rthree\rfour" : "one\rtwo\r");
  }
  // Lines start at the rectangle's top, and stop at its bottom, wherever it lies.
  {
    THtmlSurface Low;
    THtmlCallArgs L;
    L.Rect = TRect(0, 50, 200, 50 + 2 * GH + 2);
    L.Draw(Low.C(), Text);
    EXPECT_EQ(L.TextHeight, 2 * GH);
    EXPECT_EQ(StringToUTF8(L.PlainText), "one\rtwo\r");
    EXPECT_GE(Low.Ink().Top, 50);
    EXPECT_LE(Low.Ink().Bottom, 50 + 2 * GH);
  }
  // A rectangle lower than one line still gets its first line, painted and not clipped to it.
  THtmlCallArgs H;
  H.Rect = TRect(0, 0, 200, 3);
  H.Draw(S.C(), u"Tall");
  EXPECT_EQ(H.TextHeight, GH);
  EXPECT_GT(S.Ink().Bottom, 3);
}

TEST(HtmlRenderLayout, ParagraphAlignmentAndIndentLastUntilChanged) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const int WX = S.Width(u"x");
  struct Case {
    const char16_t* Text;
    int SecondLineLeft;  // where the second line's ink starts, -1: at the rectangle's left
  } Cases[] = {
      {u"<p align=\"center\">x</p>x", (201 - WX) / 2 + 1},
      {u"<p align=\"right\">x</p>x", 200 - WX},
      {u"<p align=\"right center left\">x</p>x", (201 - WX) / 2 + 1},  // tested right, left, centre
      {u"<p indent=\"30\">x</p>x", 31},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlSurface T;
    THtmlCallArgs H;
    H.Rect = TRect(0, 0, 200, 100);
    H.Draw(T.C(), C.Text);
    const TRect Ink = T.Ink(TRect(0, GH, 320, 2 * GH));
    const int Expected = C.SecondLineLeft < 0 ? 1 : C.SecondLineLeft;
    EXPECT_NEAR(Ink.Left, Expected, 2);
    EXPECT_EQ(H.TextHeight, 2 * GH);
  }
}

// ---- tags in pixels

int RedInk(THtmlSurface& S, TRect R) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      const TColor P = S.At(X, Y);
      N += (P & 0xFF) > 160 && ((P >> 8) & 0xFF) < 100 && ((P >> 16) & 0xFF) < 100;
    }
  return N;
}

TEST(HtmlRenderTags, FontColoursSizesAndClosingToTheBase) {
  struct Case {
    const char16_t* Text;
    bool Red;
  } Cases[] = {
      {u"<FONT COLOR=\"clred\">xxxx</FONT>", true},
      {u"<font color=\"#ff0000\">xxxx</font>", true},  // arrives upper-cased, so the digits read
      {u"<font color=\"#0000FF\">xxxx</font>", false},
      {u"<font color=\"red\">xxxx</font>", false},      // names need the cl prefix
      {u"<font color=clred>xxxx</font>", false},        // a value without quotes sets nothing
      {u"<font bgcolor=\"clred\">    </font>", true},   // the brush behind the text
      // A closing FONT after two nested ones goes back to the base colour.
      {u"<font color=\"clblue\"><font color=\"clred\">x</font>xxx</font>", false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlSurface S;
    S.C()->Font()->SetSize(16);
    S.C()->Font()->SetStyle({fsBold});
    THtmlCallArgs H;
    String T = C.Text;
    H.Draw(S.C(), T);
    const bool Nested = T.find(u"<font color=\"clblue\"><font") != String::npos;
    const int FirstX = 1 + S.Width(u"x");
    const TRect Area = Nested ? TRect(FirstX + 1, 0, 320, 40) : TRect(0, 0, 320, 40);
    EXPECT_EQ(RedInk(S, Area) > 10, C.Red);
    // The canvas gets its font, brush and pen back.
    EXPECT_EQ(S.C()->Font()->Color(), clBlack);
    EXPECT_EQ(S.C()->Font()->Size(), 16);
    EXPECT_EQ(S.C()->Brush()->Color(), clWhite);
    EXPECT_EQ(S.C()->Brush()->Style(), bsSolid);
  }
  THtmlSurface S;
  S.C()->Font()->SetSize(12);
  const int H12 = S.LineHeight();
  S.C()->Font()->SetSize(20);
  const int H20 = S.LineHeight();
  S.C()->Font()->SetSize(10);
  for (auto [Text, Height] : {std::pair{u"<font size=\"3\">x</font>", H12}, std::pair{u"<font size=\"20\">x</font>", H20}}) {
    THtmlCallArgs H;
    H.Draw(S.C(), Text);
    EXPECT_EQ(H.TextHeight, Height);
  }
}

TEST(HtmlRenderTags, StylesInPixels) {
  const String Word = u"xxxx";
  THtmlSurface Plain;
  THtmlCallArgs H0;
  H0.Draw(Plain.C(), Word);
  const TRect PlainInk = Plain.Ink();
  ASSERT_LT(PlainInk.Left, PlainInk.Right);
  const int GH = Plain.LineHeight();

  auto Ink = [](const String& Text, int* Width = nullptr) {
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), Text);
    if (Width) *Width = H.TextWidth;
    return S.Ink();
  };
  int W = 0;
  Ink(u"<b>xxxx</b>", &W);
  EXPECT_GT(W, H0.TextWidth);  // lower-case tags work: bold is wider
  Ink(u"<B>xxxx</B>", &W);
  EXPECT_GT(W, H0.TextWidth);
  EXPECT_GT(Ink(u"<u>xxxx</u>").Bottom, PlainInk.Bottom);  // the underline is below the letters
  const TRect Struck = Ink(u"<s>xxxx</s>");
  EXPECT_EQ(Struck.Top, PlainInk.Top);
  EXPECT_NE(Ink(u"<s>xxxx</s>").Right - Ink(u"<s>xxxx</s>").Left, 0);

  // Subscript and superscript make the line a quarter taller and move the run down or up.
  THtmlCallArgs Sub, Sup;
  THtmlSurface SubS, SupS;
  Sub.Draw(SubS.C(), u"x<sub>xxxx</sub>");
  Sup.Draw(SupS.C(), u"x<sup>xxxx</sup>");
  EXPECT_EQ(Sub.TextHeight, GH + GH / 4);
  EXPECT_EQ(Sup.TextHeight, GH + GH / 4);
  const int FirstW = Plain.Width(u"x") + 1;
  EXPECT_GT(SubS.Ink(TRect(FirstW + 1, 0, 320, 60)).Bottom, SupS.Ink(TRect(FirstW + 1, 0, 320, 60)).Bottom);

  // Hidden text takes no room and shows nothing.
  EXPECT_EQ(Ink(u"<z>xxxx</z>").Right, 0);
  // Blinking text in its off phase is drawn in the background colour.
  THtmlSurface B;
  THtmlCallArgs Blink;
  Blink.BlinkVisible = false;
  Blink.Draw(B.C(), u"<blink>xxxx</blink>");
  EXPECT_EQ(B.Ink().Right, 0);
  // Shadow: the run first in the shadow colour, offset right and down.
  THtmlSurface Sh;
  THtmlCallArgs Shadow;
  Shadow.ShadowColor = clRed;
  Shadow.ShadowOffset = 2;
  Shadow.Draw(Sh.C(), u"<shad>xxxx</shad>");
  EXPECT_GT(RedInk(Sh, TRect(0, 0, 320, 40)), 0);
  EXPECT_EQ(Sh.Ink().Bottom, PlainInk.Bottom + 2);
}

TEST(HtmlRenderTags, PrefixHighlightErrorMarkRuleBulletsAndBackgrounds) {
  const int GH = THtmlSurface().LineHeight();
  {  // "&amp;" shows one '&'; a lone '&' is not shown and underlines the next character.
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), u"a&amp;b");
    EXPECT_EQ(StringToUTF8(H.PlainText), "a&&b");
    EXPECT_EQ(H.TextWidth, S.Width(u"a&&b"));
    EXPECT_EQ(S.Width(u"a&&b"), S.C()->TextWidth(u"a&b"));
    THtmlSurface U;
    THtmlCallArgs H2;
    H2.Draw(U.C(), u"a&b");
    EXPECT_EQ(H2.TextWidth, U.C()->TextWidth(u"ab"));
    THtmlSurface P;
    THtmlCallArgs H3;
    H3.Draw(P.C(), u"ab");
    EXPECT_GT(U.Ink().Bottom, P.Ink().Bottom);  // the underline under b
  }
  {  // Highlight colours come from the process-wide pair.
    SetHtmlHighlightColors(clRed, clWhite);
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), u"<hi>xxxx</hi>");
    SetHtmlHighlightColors(clHighlight, clHighlightText);
    EXPECT_GT(S.Count(clRed), 20);
    EXPECT_EQ(S.C()->Brush()->Color(), clWhite);
  }
  {  // The error mark: a red zig-zag along the line's bottom.
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), u"<e>xxxx</e>");
    EXPECT_GT(S.Count(clRed, TRect(0, GH - 2, 320, GH + 2)), 10);
    EXPECT_EQ(S.Count(clRed, TRect(0, 0, 320, GH - 2)), 0);
  }
  {  // A rule one pixel below the line, across it.
    THtmlSurface S;
    THtmlCallArgs H;
    H.Rect = TRect(10, 0, 200, 100);
    H.Draw(S.C(), u"x<hr>y");
    EXPECT_EQ(S.At(100, GH + 1), clBlack);
    EXPECT_EQ(S.At(11, GH + 1), clBlack);
    EXPECT_EQ(S.At(9, GH + 1), clWhite);
    EXPECT_EQ(S.At(200, GH + 1), clWhite);
    EXPECT_EQ(H.TextHeight, 2 * GH);
  }
  {  // List items: 12 pixels a level; a bullet at odd depths, an "o" at even ones.
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), u"<ul><li>a</li><ul><li>b</li></ul></ul>");
    EXPECT_EQ(H.TextWidth, 24 + S.Width(u"b"));
    EXPECT_EQ(H.TextHeight, 5 * GH);  // UL, item, UL, item, the closing tags
    const TRect Bullet1 = S.Ink(TRect(0, GH, 13, 2 * GH));
    const TRect Text1 = S.Ink(TRect(13, GH, 40, 2 * GH));
    EXPECT_LT(Bullet1.Left, Bullet1.Right);
    EXPECT_GE(Text1.Left, 13);
    const TRect Bullet2 = S.Ink(TRect(13, 3 * GH, 25, 4 * GH));
    EXPECT_LT(Bullet2.Left, Bullet2.Right);
    EXPECT_EQ(S.Ink(TRect(0, 3 * GH, 13, 4 * GH)).Right, 0);  // the second level starts 12 further in
  }
  {  // BODY BGCOLOR fills the rectangle; P BGCOLOR the line's band across it.
    THtmlSurface S;
    THtmlCallArgs H;
    H.Rect = TRect(5, 5, 100, 60);
    H.Draw(S.C(), u"<body bgcolor=\"clyellow\">x");
    EXPECT_EQ(S.At(5, 5), clYellow);
    EXPECT_EQ(S.At(99, 59), clYellow);
    EXPECT_EQ(S.At(100, 59), clWhite);
    THtmlSurface P;
    THtmlCallArgs H2;
    H2.Rect = TRect(0, 0, 100, 60);
    H2.Draw(P.C(), u"a<br><p bgcolor=\"#00FF00\">b<br>c</p><br>d");
    EXPECT_EQ(P.At(90, GH + 1), clLime);
    EXPECT_EQ(P.At(90, 2 * GH + 1), clLime);  // the band goes on while the paragraph is open
    EXPECT_EQ(P.At(90, 1), clWhite);
    EXPECT_EQ(P.At(90, 3 * GH + 1), clWhite);
    EXPECT_EQ(P.C()->Brush()->Color(), clWhite);
  }
}

TEST(HtmlRenderTags, WithoutWordWrapALongLineEndsInAnEllipsis) {
  THtmlSurface S;
  THtmlCallArgs H;
  H.WordWrap = false;
  H.Rect = TRect(0, 0, 60, 40);
  const String Long = u"abcdefghijklmnopqrstuvwxyz";
  H.Draw(S.C(), Long);
  EXPECT_EQ(H.PlainText, Long);
  EXPECT_EQ(H.TextWidth, S.Width(Long));
  const TRect Ink = S.Ink();
  EXPECT_LE(Ink.Right, 60);
  EXPECT_GE(Ink.Right, 50);
  // The ink ends in dots: the last columns hold small marks only, near the baseline.
  const TRect Tail = S.Ink(TRect(Ink.Right - 3, 0, Ink.Right, 40));
  EXPECT_LE(Tail.Bottom - Tail.Top, 3);
}

TEST(HtmlRenderTags, IndentOffsetsAndSwitchesLeftOpenAtTheEndOfALine) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  {  // IND moves on to its offset from the line's left, never back.
    THtmlCallArgs H;
    H.Draw(S.C(), u"a<ind x=\"100\">b<ind x=\"50\">c");
    EXPECT_EQ(H.TextWidth, 100 + S.Width(u"b") + S.Width(u"c"));
    EXPECT_NEAR(S.Ink(TRect(60, 0, 320, GH)).Left, 101, 2);
  }
  {  // A line's runs before a tag left open at its end are painted as they were measured.
    THtmlSurface T;
    THtmlCallArgs H;
    H.Draw(T.C(), u"abc <z>hidden<br>still hidden</z>shown");
    EXPECT_LT(T.Ink(TRect(0, 0, 320, GH)).Left, 5);
    THtmlSurface Plain, Sup;
    THtmlCallArgs P, U;
    P.Draw(Plain.C(), u"x");
    U.Draw(Sup.C(), u"x<sup>2<br>y");
    const int XW = Plain.Width(u"x") + 2;  // past the x's ink
    // "x" is drawn at the bottom of its line (raised by nothing); only "2" is raised.
    EXPECT_EQ(Sup.Ink(TRect(0, 0, XW - 2, GH + GH / 4)).Bottom, Plain.Ink().Bottom + GH / 4);
    EXPECT_LT(Sup.Ink(TRect(XW, 0, 320, GH + GH / 4)).Bottom, Plain.Ink().Bottom + GH / 4);
  }
  {  // R turns the text about its top left until the closing tag.
    THtmlSurface T(320, 200);
    THtmlCallArgs H;
    H.Rect = TRect(0, 100, 300, 200);
    H.Draw(T.C(), u"<r a=\"90\">turned&&</r>");
    const TRect Ink = T.Ink();
    EXPECT_GT(Ink.Bottom - Ink.Top, 2 * (Ink.Right - Ink.Left));
    EXPECT_LE(Ink.Bottom, 100 + GH);
    EXPECT_EQ(T.C()->Font()->Orientation(), 0);
  }
  {  // IgnoreColors: colour attributes do nothing.
    THtmlSurface T;
    THtmlCallArgs H;
    H.IgnoreColors = true;
    H.Draw(T.C(), u"<font color=\"clred\" bgcolor=\"clyellow\">xxxx</font>");
    EXPECT_EQ(RedInk(T, TRect(0, 0, 320, 40)), 0);
    EXPECT_EQ(T.Count(clYellow), 0);
  }
}

// ---- bad input

TEST(HtmlRenderBadInput, BrokenTagsAreSkippedOrDropTheRest) {
  THtmlSurface S;
  struct Case {
    const char16_t* Text;
    const char16_t* Plain;
  } Cases[] = {
      {u"<b>bold <i>to the end", u"bold to the end"},
      {u"<font color=\"clred>text</font>after", u"textafter"},  // open quote: the tag still ends at '>'
      {u"<a href=\"x>link</a> ok", u"link ok"},
      {u"x < y and y > z", u"x  z"},  // a '<' starts a tag up to the next '>'
      {u"<<<<<>>>>>", u">>>>"},
      {u"<", u""},
      {u"ab<", u"ab"},
      {u"ab</", u"ab"},
      {u"&", u"&"},
      {u"&amp;amp;lt;", u"&&amp;lt;"},  // decoded once: shows "&amp;lt;"
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlCallArgs H;
    H.Draw(S.C(), C.Text);
    EXPECT_EQ(StringToUTF8(H.PlainText), StringToUTF8(C.Plain));
  }
}

TEST(HtmlRenderBadInput, HugeNegativeAndNestedValuesStayBounded) {
  const String Cases[] = {
      u"<font size=\"-5\">a</font>",
      u"<font size=\"99999999999\">a</font>",
      u"<font size=\"0x7fffffff\">a</font>",
      u"<p indent=\"2147483647\">a<br>b",
      u"<p indent=\"-2147483648\">a<br>b",
      u"<ind x=\"2147483647\">a",
      u"<ind x=\"-5\">a",
      u"<r a=\"2147483647\">a</r>",
      u"<control type=\"EDIT\" width=\"2147483647\" height=\"2147483647\" value=\"v\">",
      u"<control type=\"BUTTON\" width=\"-50\" height=\"-9\" value=\"v\">x",
      u"<img src=\"idx:-1\" width=\"-3\" height=\"99999999999\">",
      u"<font face=\"\">a</font>",
  };
  for (const String& T : Cases) {
    SCOPED_TRACE(StringToUTF8(T));
    for (bool Measure : {false, true}) {
      THtmlSurface S;
      THtmlCallArgs H;
      H.MeasureOnly = Measure;
      H.Draw(S.C(), T);
      EXPECT_GE(H.TextWidth, 0);
      EXPECT_GT(H.TextHeight, 0);
      EXPECT_LE(H.TextHeight, 100000);
      EXPECT_EQ(S.C()->Font()->Size(), 10);
    }
  }
  // A canvas font at a printer's resolution comes back unchanged.
  {
    THtmlSurface S;
    S.C()->Font()->SetPixelsPerInch(300);
    S.C()->Font()->SetHeight(-42);
    THtmlCallArgs H;
    H.Draw(S.C(), u"<b>x</b><font size=\"3\">y</font>");
    EXPECT_EQ(S.C()->Font()->Height(), -42);
  }
  // Deep nesting: every tag opens again without a stack.
  String Deep;
  for (int I = 0; I < 20000; ++I) Deep += u"<ul><font color=\"clred\"><b><a href=\"x\">";
  Deep += u"<li>deep";
  THtmlSurface S;
  THtmlCallArgs H;
  H.Draw(S.C(), Deep);
  EXPECT_EQ(StringToUTF8(H.PlainText), "");  // the lines of the nested lists run past the rectangle
  THtmlCallArgs M;
  M.MeasureOnly = true;
  M.Draw(S.C(), Deep);
  EXPECT_EQ(StringToUTF8(M.PlainText), "deep");
  EXPECT_EQ(M.AnchorCount, 20000);
}

TEST(HtmlRenderBadInput, AMegabyteOfTextIsLaidOutInLinearTime) {
  THtmlSurface S;
  // Words with tags, word-wrapped and measured to the end.
  String Tagged;
  while (Tagged.size() < (1u << 20)) Tagged += u"word <b>bold</b> <a href=\"u\">link</a> &amp; ";
  THtmlCallArgs H;
  H.MeasureOnly = true;
  H.Rect = TRect(0, 0, 2000, 100);
  H.Draw(S.C(), Tagged);
  EXPECT_GT(H.AnchorCount, 20000);
  EXPECT_GT(H.TextHeight, 100);

  // One run without spaces or tags, painted on one line with an ellipsis.
  const String Run(1u << 20, u'x');
  THtmlCallArgs One;
  One.WordWrap = false;
  One.Draw(S.C(), Run);
  EXPECT_EQ(One.PlainText.size(), Run.size());
  EXPECT_LE(S.Ink().Right, 300);

  // Tags only, markers and entities only, and a tag that never ends.
  for (const String& Unit : {String(u"<b>"), String(u"<#>"), String(u"&amp;"), String(u"<x")}) {
    String T;
    while (T.size() < (1u << 20)) T += Unit;
    THtmlCallArgs A;
    A.MeasureOnly = true;
    A.Draw(S.C(), T);
    EXPECT_GT(A.TextHeight, 0);
  }
}

}  // namespace
