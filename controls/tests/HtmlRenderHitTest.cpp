// The tagged text renderer's anchors, focus and embedded controls: hit-test out-values, the
// result of painting and hit-testing calls, and how anchors and controls look.
#include <gtest/gtest.h>

#include <vector>

#include "controls/AdvXPVS.h"
#include "controls/HtmlText.h"
#include "controls/tests/HtmlRenderSupport.h"

namespace {

const String LinkText = u"ab <a href=\"Go.html\" title=\"The Title\">link</a> cd";

TEST(HtmlRenderAnchors, HitTestOnlyFindsTheAnchorUnderThePoint) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const int Start = 1 + S.Width(u"ab "), End = Start + S.Width(u"link");
  struct Case {
    int X, Y;
    bool Hit;
  } Cases[] = {
      {(Start + End) / 2, GH / 2, true},
      {Start, GH / 2, true},
      {End, GH / 2, true},
      {Start - 3, GH / 2, false},  // on "ab "
      {End + 4, GH / 2, false},    // on " cd"
      {(Start + End) / 2, GH + 3, false},  // below the line
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
    THtmlSurface T;
    THtmlCallArgs H;
    H.HitTestOnly = true;
    H.HitX = C.X;
    H.HitY = C.Y;
    EXPECT_EQ(H.Draw(T.C(), LinkText), C.Hit);
    EXPECT_EQ(T.Ink().Right, 0);  // nothing is painted
    EXPECT_EQ(H.AnchorCount, 1);
    if (C.Hit) {
      EXPECT_EQ(StringToUTF8(H.HitHref), "Go.html");  // the case is kept
      EXPECT_EQ(StringToUTF8(H.HitTitle), "The Title");
      EXPECT_EQ(H.HitAnchorIndex, 1);
      EXPECT_EQ(H.HitAnchorRect, TRect(Start, 0, End, GH));
    }
  }
}

TEST(HtmlRenderAnchors, EveryTagStartingWithAIsAnAnchor) {
  THtmlSurface S;
  THtmlCallArgs H;
  H.HitTestOnly = true;
  H.HitX = 3;
  H.HitY = 3;
  EXPECT_TRUE(H.Draw(S.C(), u"<abbr title=\"t\">x</abbr>y<a>z</a>"));
  EXPECT_EQ(H.AnchorCount, 2);
  EXPECT_EQ(StringToUTF8(H.HitTitle), "t");
  EXPECT_EQ(StringToUTF8(H.HitHref), "");
}

TEST(HtmlRenderAnchors, APaintingCallReportsNoHitOnAnchorTextButItsMeasuringPassWritesTheHref) {
  THtmlSurface S;
  const int Start = 1 + S.Width(u"ab "), End = Start + S.Width(u"link");
  THtmlCallArgs H;
  H.HitX = (Start + End) / 2;
  H.HitY = 3;
  EXPECT_FALSE(H.Draw(S.C(), LinkText));
  EXPECT_EQ(StringToUTF8(H.HitHref), "Go.html");
  EXPECT_EQ(H.HitAnchorRect, TRect(Start, 0, End, S.LineHeight()));
  EXPECT_EQ(H.HitAnchorIndex, 1);
  EXPECT_GT(S.CountNear(clBlue), 10);  // anchors take the anchor colour
  // Nothing hit: HitHref and HitAnchorRect are left as they were.
  THtmlCallArgs Miss;
  Miss.HitTestOnly = true;
  Miss.HitHref = u"before";
  Miss.HitX = 2;
  Miss.HitY = 3;
  EXPECT_FALSE(Miss.Draw(S.C(), LinkText));
  EXPECT_EQ(StringToUTF8(Miss.HitHref), "before");
  EXPECT_EQ(Miss.HitAnchorRect, TRect(-1, -1, -1, -1));
  EXPECT_EQ(Miss.HitAnchorIndex, -1);
}

TEST(HtmlRenderAnchors, AWrappedAnchorsSecondLineRectStartsAtTheLineLeft) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  THtmlCallArgs H;
  H.Rect = TRect(0, 0, S.Width(u"aaaa ") + S.Width(u"bbbb ") + 4, 100);
  H.HitTestOnly = true;
  H.HitX = 3;
  H.HitY = GH + GH / 2;
  EXPECT_TRUE(H.Draw(S.C(), u"aaaa <a href=\"h\">bbbb cccc</a>"));
  EXPECT_EQ(H.HitAnchorRect, TRect(1, GH, 1 + S.Width(u"cccc"), 2 * GH));
  EXPECT_EQ(H.HitAnchorIndex, 1);
}

TEST(HtmlRenderAnchors, AnAnchorsRectIsWhereItsAlignedLineIs) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const int W = S.Width(u"link");
  const int Left = 1 + (199 - W) / 2;
  THtmlCallArgs H;
  H.Rect = TRect(0, 0, 200, 100);
  H.HitTestOnly = true;
  H.HitX = Left + W / 2;
  H.HitY = GH + 3;
  EXPECT_TRUE(H.Draw(S.C(), u"<p align=\"center\">top<br><a href=\"c\">link</a>"));
  EXPECT_EQ(H.HitAnchorRect, TRect(Left, GH, Left + W, 2 * GH));
}

TEST(HtmlRenderAnchors, AnUnclosedAnchorIsUnderlinedToTheEndAndGetsNoRect) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  THtmlCallArgs H;
  H.HitTestOnly = true;
  H.HitX = 5;
  H.HitY = 3;
  EXPECT_TRUE(H.Draw(S.C(), u"<a href=\"open\">never closed"));
  EXPECT_EQ(StringToUTF8(H.HitHref), "open");
  EXPECT_EQ(H.HitAnchorRect, TRect(-1, -1, -1, -1));
  EXPECT_EQ(H.HitAnchorIndex, -1);
  THtmlCallArgs P;
  P.Draw(S.C(), u"<a href=\"open\">never closed");
  const int Right = 1 + S.Width(u"never closed");
  EXPECT_GT(S.CountNear(clBlue, TRect(Right - 8, GH - 3, Right, GH)), 4);  // the underline reaches the end
}

TEST(HtmlRenderAnchors, UnderlineOnHoverOnlyHoverColoursAndIgnoredColours) {
  const String Two = u"<a href=\"1\">wwww</a> <a href=\"2\">wwww</a>";
  THtmlSurface M;
  const int GH = M.LineHeight();
  const int Second = 1 + M.Width(u"wwww") + M.Width(u" ");
  // Underline rows: the lowest rows of each anchor's area.
  auto Underlined = [&](THtmlSurface& S, int From, int To) { return S.CountNear(clBlue, TRect(From, GH - 3, To, GH)) > 6; };
  {
    THtmlSurface S;
    THtmlCallArgs H;
    H.UnderlineOnHoverOnly = true;
    H.HoveredAnchor = 2;
    H.Draw(S.C(), Two);
    EXPECT_FALSE(Underlined(S, 1, Second - 2));
    EXPECT_TRUE(Underlined(S, Second, 300));
  }
  {  // The hovered anchor takes the hover colours.
    THtmlSurface S;
    THtmlCallArgs H;
    H.UnderlineOnHoverOnly = true;
    H.HoveredAnchor = 1;
    H.HoverBackColor = clYellow;
    H.HoverTextColor = clRed;
    H.Draw(S.C(), Two);
    EXPECT_GT(S.Count(clYellow, TRect(1, 0, Second - 2, GH)), 20);
    EXPECT_EQ(S.Count(clYellow, TRect(Second, 0, 300, GH)), 0);
    EXPECT_GT(S.CountNear(clRed, TRect(1, 0, Second - 2, GH)), 5);
    EXPECT_GT(S.CountNear(clBlue, TRect(Second, 0, 300, GH)), 5);
  }
  {  // IgnoreColors: anchors keep the text's colour.
    THtmlSurface S;
    THtmlCallArgs H;
    H.IgnoreColors = true;
    H.Draw(S.C(), u"<font color=\"clred\">x</font>" + Two);
    EXPECT_EQ(S.CountNear(clBlue), 0);
    EXPECT_EQ(S.CountNear(clRed), 0);
  }
}

TEST(HtmlRenderAnchors, TheFocusedAnchorGetsAFocusFrameAndGivesItsHref) {
  THtmlSurface Plain;
  THtmlCallArgs P;
  P.Draw(Plain.C(), LinkText);
  THtmlSurface S;
  THtmlCallArgs H;
  H.FocusedAnchor = 0;
  H.Draw(S.C(), LinkText);
  EXPECT_EQ(StringToUTF8(H.FocusedHref), "Go.html");
  EXPECT_EQ(StringToUTF8(P.FocusedHref), "");
  const int GH = S.LineHeight();
  const int Start = 1 + S.Width(u"ab ");
  // The frame's left side, one pixel left of the anchor, is drawn where the plain drawing is white.
  int Frame = 0;
  for (int Y = 0; Y < GH; ++Y) Frame += S.At(Start - 1, Y) != Plain.At(Start - 1, Y);
  EXPECT_GT(Frame, 2);
}

TEST(HtmlRenderAnchors, AFocusedAnchorOverTwoLinesIsFramedOnEachAndValuesKeepTheirQuotes) {
  THtmlSurface Plain, S;
  const int GH = S.LineHeight();
  const String Text = u"aaaa <a href=\"x\">bbbb cccc</a> dd";
  const TRect Narrow(0, 0, S.Width(u"aaaa ") + S.Width(u"bbbb ") + 4, 100);
  THtmlCallArgs P, H;
  P.Rect = H.Rect = Narrow;
  H.FocusedAnchor = 0;
  P.Draw(Plain.C(), Text);
  H.Draw(S.C(), Text);
  EXPECT_EQ(StringToUTF8(H.FocusedHref), "x");
  // The second line's part of the frame starts at the line's left.
  int Frame = 0;
  for (int Y = GH; Y < 2 * GH; ++Y) Frame += S.At(0, Y) != Plain.At(0, Y) || S.At(1, Y) != Plain.At(1, Y);
  EXPECT_GT(Frame, 2);

  // Quotes written as entities inside attribute values stay inside them.
  THtmlCallArgs Q;
  Q.HitTestOnly = true;
  Q.HitX = 3;
  Q.HitY = 3;
  EXPECT_TRUE(Q.Draw(S.C(), u"<a href=\"a?x=1&amp;y=2\" title=\"say &quot;hi&quot;\">link</a>"));
  EXPECT_EQ(StringToUTF8(Q.HitHref), "a?x=1&amp;y=2");
  EXPECT_EQ(StringToUTF8(Q.HitTitle), "say &quot;hi&quot;");
}

// ---- CONTROL tags

TEST(HtmlRenderControls, ControlsTakeTheirWidthAndAreHitByPointOrId) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  struct Case {
    const char16_t* Text;
    int Width;
    int Height;
  } Cases[] = {
      {u"<control type=\"check\" id=\"c\" width=\"100\" value=\"true\">", 16, std::max(16, GH)},
      {u"<control type=\"RADIO\" width=\"40\">", 16, std::max(16, GH)},
      {u"<control type=\"EDIT\" id=\"e\" width=\"60\" value=\"text\">", 60, std::max(23, GH + 10)},
      {u"<control type=\"COMBO\" width=\"70\">", 70, 25},
      {u"<control type=\"BUTTON\" width=\"50\" height=\"30\" value=\"Go\">", 50, 28},
      {u"<control type=\"EDIT\" value=\"no width\">", 0, GH},  // without WIDTH it is not there
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlCallArgs H;
    H.Draw(S.C(), C.Text);
    EXPECT_EQ(H.TextWidth, C.Width);
    EXPECT_EQ(H.TextHeight, C.Height);
  }

  // A point on the edit: the call's result, the control's rectangle and values.
  const String Form = u"Name: <control type=\"edit\" id=\"Name\" value=\"J&amp;B\" width=\"80\"> "
                      u"<control type=\"CHECK\" id=\"Ok\" value=\"TRUE\" width=\"20\">";
  const int EditLeft = 1 + S.Width(u"Name: ");
  THtmlCallArgs H;
  H.HitX = EditLeft + 10;
  H.HitY = 5;
  EXPECT_TRUE(H.Draw(S.C(), Form));  // a painting call reports controls
  EXPECT_EQ(StringToUTF8(H.HitHref), "ctrl");
  EXPECT_EQ(StringToUTF8(H.ControlID), "Name");
  EXPECT_EQ(StringToUTF8(H.ControlValue), "J&B");
  EXPECT_EQ(StringToUTF8(H.ControlType), "EDIT");
  EXPECT_EQ(H.HitControlRect.Left, EditLeft);
  EXPECT_EQ(H.HitControlRect.Right, EditLeft + 80);
  EXPECT_EQ(H.HitControlRect.Top, 0);

  // HitTestOnly finds a control by its ID wherever the point is.
  THtmlCallArgs ById;
  ById.HitTestOnly = true;
  ById.ControlID = u"Ok";
  EXPECT_TRUE(ById.Draw(S.C(), Form));
  EXPECT_EQ(StringToUTF8(ById.ControlType), "CHECK");
  EXPECT_EQ(StringToUTF8(ById.ControlValue), "TRUE");
  EXPECT_EQ(ById.HitControlRect.Right - ById.HitControlRect.Left, 16);

  // An empty ControlID matches every control without ID: the last one decides.
  THtmlCallArgs NoId;
  NoId.HitTestOnly = true;
  EXPECT_TRUE(NoId.Draw(S.C(), u"<control type=\"EDIT\" width=\"30\" value=\"first\">"
                               u"<control type=\"EDIT\" width=\"30\" value=\"last\">"));
  EXPECT_EQ(StringToUTF8(NoId.ControlValue), "last");

  // Nothing hit: the outputs are cleared, ControlID too when not hit-testing only.
  THtmlCallArgs None;
  None.ControlID = u"was";
  EXPECT_FALSE(None.Draw(S.C(), Form));
  EXPECT_EQ(None.HitControlRect, TRect(0, 0, 0, 0));
  EXPECT_EQ(StringToUTF8(None.ControlID), "");
  EXPECT_EQ(StringToUTF8(None.ControlType), "");
}

TEST(HtmlRenderControls, ControlsAreDrawnInTheirBoxes) {
  // Themed drawing needs the utility routines' binding; it is freed again when loaded here.
  const bool LoadedHere = !XPVSThemeBinding.Loaded();
  XPVSThemeBinding.Load();
  struct TFree {
    bool Free;
    ~TFree() {
      if (Free) XPVSThemeBinding.Free();
    }
  } Guard{LoadedHere};
  THtmlSurface S(320, 60);
  THtmlCallArgs H;
  H.Draw(S.C(), u"<control type=\"EDIT\" width=\"60\" value=\"abc\"><control type=\"PASSWORD\" width=\"60\" value=\"abc\">"
                u"<control type=\"CHECK\" width=\"20\" value=\"TRUE\"><control type=\"BUTTON\" width=\"60\" value=\"Go\">");
  const int B = H.TextHeight;  // the line's bottom
  EXPECT_EQ(B, std::max(25, S.LineHeight() + 10));
  // The edit box: a themed border around white, from the line's bottom - 23 + 4 to bottom + 2.
  EXPECT_EQ(S.At(1, B - 19), TColor(0xB99D7F));
  EXPECT_EQ(S.At(1, B + 1), TColor(0xB99D7F));
  EXPECT_EQ(S.At(60, B - 10), TColor(0xB99D7F));
  EXPECT_LT(S.Ink(TRect(3, B - 18, 59, B)).Left, 59);  // the value is drawn inside
  // Password: the same box with stars instead of the value, so the two differ inside.
  int Differ = 0;
  for (int Y = B - 18; Y < B; ++Y)
    for (int X = 3; X < 59; ++X) Differ += S.At(X, Y) != S.At(X + 60, Y);
  EXPECT_GT(Differ, 5);
  // The check box and the button draw something in their places; after them the brush is clear.
  EXPECT_LT(S.Ink(TRect(121, B - 15, 137, B)).Left, 137);
  EXPECT_LT(S.Ink(TRect(137, B - 25, 197, B)).Left, 197);
  EXPECT_EQ(S.C()->Brush()->Style(), bsSolid);  // the canvas gets its brush back

  // A button looks different hot and pressed; a combo box shows its button.
  auto Button = [](int HitX, bool Held) {
    THtmlSurface T(120, 40);
    THtmlCallArgs A;
    A.HitX = HitX;
    A.HitY = 15;
    A.MouseButtonHeld = Held;
    A.Draw(T.C(), u"<control type=\"BUTTON\" width=\"60\" value=\"Go\">");
    std::vector<TColor> Pixels;
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 70; ++X) Pixels.push_back(T.At(X, Y));
    return Pixels;
  };
  EXPECT_NE(Button(-100, false), Button(30, false));
  EXPECT_NE(Button(30, false), Button(30, true));
  THtmlSurface Combo;
  THtmlCallArgs C;
  C.Draw(Combo.C(), u"<control type=\"COMBO\" width=\"80\" value=\"one\">");
  EXPECT_LT(Combo.Ink(TRect(62, 5, 80, 26)).Left, 80);
}

}  // namespace
