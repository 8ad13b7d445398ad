#include <gtest/gtest.h>

#include <iterator>

#include "platform/rtl/System.h"

TEST(Utf, RoundTripsKatakanaAndSupplementary) {
  const std::string text = "ｱﾌﾟﾘ ｴﾗｰ 😀 abc";
  String s = UTF8ToString(text);
  EXPECT_EQ(s.size(), 15u);  // the emoji is a surrogate pair
  EXPECT_EQ(StringToUTF8(s), text);
}

TEST(Utf, InvalidSequencesBecomeReplacementCharacter) {
  EXPECT_EQ(UTF8ToString("a\xC0\xAF" "b"), String(u"a\uFFFD\uFFFDb"));
  EXPECT_EQ(UTF8ToString("\xE3\x81"), String(u"\uFFFD\uFFFD"));
  EXPECT_EQ(StringToUTF8(String(1, Char(0xD800))), "\xEF\xBF\xBD");
  // Byte-length limits, lone low and high surrogates (also before a letter and at the end), the
  // highest pair.
  const Char units[] = {0xE9, 0x7FF, 0x800, 0xFFFF, 0xDC00, 0xD800, u'x', 0xDBFF, 0xDFFF, 0xD800};
  EXPECT_EQ(StringToUTF8(String(units, std::size(units))),
            "\xC3\xA9\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xEF\xBF\xBD\xEF\xBF\xBDx\xF4\x8F\xBF\xBF\xEF\xBF\xBD");
}

enum TColorKind : uint8_t { ckRed, ckGreen, ckBlue, ckLast = 200 };

TEST(SetOf, SetOperations) {
  Set<TColorKind> a{ckRed, ckBlue};
  Set<TColorKind> b{ckBlue, ckLast};
  EXPECT_TRUE(a.Contains(ckRed));
  EXPECT_FALSE(a.Contains(ckGreen));
  EXPECT_EQ((a + b).Count(), 3u);
  EXPECT_EQ(a * b, Set<TColorKind>{ckBlue});
  EXPECT_EQ(a - b, Set<TColorKind>{ckRed});
  EXPECT_TRUE(Set<TColorKind>{ckBlue}.SubsetOf(a));
  EXPECT_TRUE(Set<TColorKind>().Empty());
  EXPECT_EQ(Set<TColorKind>::FromBits(a.Bits()), a);
}

TEST(Exceptions, MessageAndWhatAgree) {
  try {
    throw EConvertError(U("'x' は数値ではありません"));
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), U("'x' は数値ではありません"));
    EXPECT_STREQ(e.what(), "'x' は数値ではありません");
  }
}
