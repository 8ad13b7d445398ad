#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"

namespace {

std::string S(const String& s) { return StringToUTF8(s); }

TFormatSettings Comma() {
  TFormatSettings fs;
  fs.DecimalSeparator = u',';
  fs.ThousandSeparator = u'.';
  return fs;
}

}  // namespace

TEST(FloatText, FloatToStrUsesFifteenDigitsAndGeneralForm) {
  struct Case {
    double v;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 digits hide the binary error
      {1.0 / 3, "0.333333333333333"},
      {123456.789, "123456.789"},
      {1.5e20, "1.5E20"},
      {1e15, "1E15"},
      {999999999999999, "999999999999999"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.25e-7, "-1.25E-7"},
      {9.9999999999999999, "10"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::nan(""), "NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(S(FloatToStr(c.v)), c.text) << c.v;
  EXPECT_EQ(S(FloatToStr(-2.5, Comma())), "-2,5");
}

TEST(FloatText, FloatToStrFAndCurrToStr) {
  EXPECT_EQ(S(FloatToStrF(1234.5678, ffFixed, 15, 2)), "1234.57");
  EXPECT_EQ(S(FloatToStrF(1234.5678, ffNumber, 15, 1)), "1,234.6");
  EXPECT_EQ(S(FloatToStrF(-1234567.0, ffNumber, 15, 0)), "-1,234,567");
  EXPECT_EQ(S(FloatToStrF(1234.5, ffExponent, 4, 2)), "1.235E+03");
  EXPECT_EQ(S(FloatToStrF(-1234.5, ffCurrency, 15, 2)), "-$1,234.50");
  EXPECT_EQ(S(FloatToStrF(123456.0, ffGeneral, 4, 0)), "1.235E5");
  EXPECT_EQ(S(CurrToStr(12.5)), "12.5");
  EXPECT_EQ(S(CurrToStr(1.23456)), "1.2346");
  EXPECT_EQ(S(CurrToStr(-3)), "-3");
}

TEST(FloatText, StrToFloatUsesTheDecimalSeparator) {
  struct Case {
    const char16_t* text;
    double v;
  } cases[] = {{u"1.5", 1.5},   {u" -2.25 ", -2.25}, {u"+3", 3},     {u"1E3", 1000},
               {u"2.5e-2", 0.025}, {u".5", 0.5},     {u"5.", 5},     {u"-0", 0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.v) << S(c.text);
  EXPECT_DOUBLE_EQ(StrToFloat(u"1,5", Comma()), 1.5);
  for (const char16_t* bad : {u"", u"abc", u"1.5x", u"1,5", u"--1", u"1e", u"0x10", u"1 000", u"1e999"}) {
    double v = 7;
    EXPECT_FALSE(TryStrToFloat(bad, v)) << S(bad);
    EXPECT_EQ(v, 7);
  }
  double v;
  EXPECT_FALSE(TryStrToFloat(u"1.5", v, Comma()));
  try {
    StrToFloat(u"z");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(S(e.Message()), "'z' is not a valid floating point value");
  }
  // What FloatToStr writes, StrToFloat reads back.
  for (double x : {0.1, -1.5e20, 1e-5, 123.456}) EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(x)), x);
}

TEST(FormatFloatPicture, Table) {
  struct Case {
    const char16_t* picture;
    double v;
    const char* text;
  } cases[] = {
      {u"##0.0", 5, "5.0"},
      {u"##0.0", 1234.56, "1234.6"},
      {u"##0.0", -0.25, "-0.3"},  // half away from zero
      {u"#0.#", 5, "5"},
      {u"#0.#", 5.25, "5.3"},
      {u"#0.#", 0.04, "0"},
      {u"##0", 0.4, "0"},
      {u"##0", 2.5, "3"},
      {u"###0", 12345, "12345"},
      {u"#", 0, ""},
      {u"0.00", 0.125, "0.13"},
      {u"0.00", 0.15 * 3, "0.45"},
      {u"000", 7, "007"},
      {u"#,##0.00", 1234567.891, "1,234,567.89"},
      {u"#,##0", -1234, "-1,234"},
      {u"#,##0", 12, "12"},
      {u"0.0#", 1.5, "1.5"},
      {u"0.0#", 1.567, "1.57"},
      {u"0.00E+00", 12345, "1.23E+04"},
      {u"0.00E+00", 0.00012345, "1.23E-04"},
      {u"0e-0", 12345, "1e4"},
      {u"0e-0", 0.05, "5e-2"},
      {u"0.0E+0", 9.96, "1.0E+1"},  // rounding carries into the exponent
      {u"0.0E+0", 0, "0.0E+0"},
      {u"0.0 'dB'", -3.25, "-3.3 dB"},
      {u"\"x=\"0", 4, "x=4"},
      {u"0.0;(0.0)", -2, "(2.0)"},
      {u"0.0;(0.0);'zero'", 0, "zero"},
      {u"0.0;(0.0);'zero'", -0.01, "zero"},  // shows as zero
      {u"0.0;;'zero'", -1, "-1.0"},          // empty negative section: first one, signed
      {u"0", -0.2, "0"},                     // no "-0"
      {u"", 1.5, "1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(S(FormatFloat(c.picture, c.v)), c.text) << S(c.picture) << " " << c.v;
  EXPECT_EQ(S(FormatFloat(u"#,##0.00", 1234.5, Comma())), "1.234,50");
}

TEST(FormatText, Table) {
  const String name = u"COM3";
  struct Case {
    String text;
    const char* expected;
  } cases[] = {
      {Format(u"%d", {5}), "5"},
      {Format(u"%d %s", {-12, name}), "-12 COM3"},
      {Format(u"%.4d", {-7}), "-0007"},
      {Format(u"%5d|%-5d|", {42, 42}), "   42|42   |"},
      {Format(u"%u", {-1}), "4294967295"},
      {Format(u"%x", {255}), "FF"},
      {Format(u"%.4x%.4x", {0x12, 0xABC}), "00120ABC"},
      {Format(u"%x", {-1}), "FFFFFFFF"},
      {Format(u"%x", {int64_t(-1)}), "FFFFFFFFFFFFFFFF"},
      {Format(u"%d", {UINT64_MAX}), "18446744073709551615"},
      {Format(u"%f", {1.005}), "1.01"},  // 15-digit view of the value, half away from zero
      {Format(u"%.1f", {-0.05}), "-0.1"},
      {Format(u"%.0f", {2.5}), "3"},
      {Format(u"%f", {3}), "3.00"},
      {Format(u"%e", {1234.5}), "1.23450000000000E+003"},
      {Format(u"%.3e", {-0.00012}), "-1.20E-004"},
      {Format(u"%g", {0.5}), "0.5"},
      {Format(u"%g", {1e20}), "1E20"},
      {Format(u"%n", {1234567.125}), "1,234,567.13"},
      {Format(u"%m", {-5.5}), "-$5.50"},
      {Format(u"%s", {u"lit"}), "lit"},
      {Format(u"%s", {"utf8 ｱ"}), "utf8 ｱ"},
      {Format(u"%s%s", {u'a', 'b'}), "ab"},
      {Format(u"%.2s", {name}), "CO"},
      {Format(u"%6s|%-6s|", {name, name}), "  COM3|COM3  |"},
      {Format(u"%*d|%-*d|", {4, 1, 3, 2}), "   1|2  |"},
      {Format(u"%.*f", {3, 1.0}), "1.000"},
      {Format(u"%1:s %0:s %s", {u"a", u"b"}), "b a b"},
      {Format(u"100%%", {}), "100%"},
      {Format(u"%p", {static_cast<const void*>(nullptr)}), "0000000000000000"},
      {Format(u"%D %S", {1, u"x"}), "1 x"},
      {Format(u"no args", {}), "no args"},
  };
  for (const Case& c : cases) EXPECT_EQ(S(c.text), c.expected);
  EXPECT_EQ(S(Format(u"%.2f", {1.5}, Comma())), "1,50");
}

TEST(FormatText, BadSpecifiersAndArgumentsRaise) {
  EXPECT_THROW(Format(u"%d", {1.5}), EConvertError);
  EXPECT_THROW(Format(u"%d", {u"1"}), EConvertError);
  EXPECT_THROW(Format(u"%s", {1}), EConvertError);
  EXPECT_THROW(Format(u"%d %d", {1}), EConvertError);
  EXPECT_THROW(Format(u"%q", {1}), EConvertError);
  EXPECT_THROW(Format(u"50%", {}), EConvertError);
  EXPECT_THROW(Format(u"%*d", {u"x", 1}), EConvertError);
  try {
    Format(u"%d", {u"x"});
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(S(e.Message()), "Format '%d' invalid or incompatible with argument");
  }
}
