// The tagged text renderer: layout out-values (sizes, plain text, line breaking), tags
// probed in pixels, and bad input.
#include <gtest/gtest.h>

#include <chrono>

#include "controls/HtmlText.h"
#include "controls/tests/HtmlRenderSupport.h"

namespace {

TEST(HtmlRenderLayout, SizesAndPlainText) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  struct Case {
    const char16_t* Text;
    const char16_t* Plain;
    const char16_t* Widest;  // the widest line's runs, split at '|' (each is measured alone)
    int Lines;
  } Cases[] = {
      {u"", u"", u"", 1},  // an empty text is one line high and 0 wide
      {u"plain text", u"plain text", u"plain |text", 1},
      {u"trailing space ", u"trailing space ", u"trailing |space", 1},  // the ending space is not counted
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
      if (To > From) Widest += S.Width(W.substr(From, To - From));
      From = To + 1;
    }
    EXPECT_EQ(H.TextWidth, Widest);
    EXPECT_EQ(H.TextHeight, C.Lines * GH);
    EXPECT_EQ(H.AnchorCount, 0);
    EXPECT_EQ(H.HitAnchorIndex, -1);
  }
}

}  // namespace
