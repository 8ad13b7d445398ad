// Filter patterns whose stars are followed by a negation or a comparison.
#include <gtest/gtest.h>

#include "controls/VevAzez.h"

namespace {

TEST(VevAzezPatterns, StarsBeforeNegationOrComparisonKeepTheirMeaning) {
  struct Case { const char16_t* pattern; const char16_t* value; bool match; };
  for (Case c : {Case{u"a*!b", u"ab", true},  // some tail ("", "b") is not "b"
                 {u"!*b", u"ab", false}, {u"!*b", u"ac", true},
                 {u"x*>5", u"x7", true}, {u"x*>5", u"x3", true},  // the whole value compares as text
                 {u"*!", u"", false}, {u"a*b*!c", u"abc", true}, {u"a*b*!c", u"ac", false},
                 {u"z*!a", u"abc", false}})
    EXPECT_EQ(MatchFilterPattern(c.pattern, c.value), c.match)
        << StringToUTF8(c.pattern) << " / " << StringToUTF8(c.value);
}

TEST(VevAzezPatterns, ManyStarsBeforeANegationOnALongTextEndQuickly) {
  // Trying every tail for every star would not end in a lifetime here.
  String stars;
  for (int i = 0; i < 40; ++i) stars += u"*a";
  const String text(3000, u'a');
  EXPECT_FALSE(MatchFilterCondition(stars + u"*b*!x", text, true));
  EXPECT_TRUE(MatchFilterCondition(stars + u"*b*!x", text + u"b", true));
  EXPECT_FALSE(MatchFilterCondition(stars + u"*b*>x", text + u"b", true));
  EXPECT_TRUE(MatchFilterCondition(u"c" + stars + u"*!b", u"c" + text, true));
  EXPECT_FALSE(MatchFilterCondition(u"c" + stars + u"*!b", u"d" + text, true));
}

}  // namespace
