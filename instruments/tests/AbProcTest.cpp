// Number, label-list, colour and drawing routines of the instrument controls.
#include <gtest/gtest.h>

#include "instruments/_AbProc.h"
#include "platform/rtl/SysUtils.h"

TEST(AbProc, BinaryTexts) {
  struct Case { int32_t v; int digits; const char16_t* text; } cases[] = {
      {5, 0, u"101"}, {0, 0, u"0"}, {5, 3, u"0101"}, {5, 8, u"000000101"}, {1, -3, u"1"},
      {-1, 0, u"11111111111111111111111111111111"}, {INT32_MIN, 0, u"10000000000000000000000000000000"},
  };
  for (auto& c : cases) EXPECT_EQ(IntToBinStr(c.v, c.digits), String(c.text)) << c.v << " " << c.digits;
  EXPECT_EQ(BinStrToInt(u"1x1"), 5);
  EXPECT_EQ(BinStrToInt(u""), 0);
  EXPECT_EQ(BinStrToInt(u"11111111111111111111111111111111"), -1);
  EXPECT_EQ(BinStrToCardinal(u"111111111111111111111111111111111"), 0xFFFFFFFFu);  // 33rd digit ignored
  EXPECT_EQ(BinStrToCardinal(u"100000000000000000000000000000000"), 0u);
}

TEST(AbProc, StringHelpers) {
  EXPECT_EQ(RemoveChar(u"1,234,5", u','), u"12345");
  EXPECT_EQ(CountChar(u"a|b|c", u'|'), 2);
  EXPECT_EQ(CountChar(u"", u'|'), 0);
  String s = u"ab;cd;", item;
  SplitFirst(s, u';', item);
  EXPECT_EQ(item, u"ab");
  EXPECT_EQ(s, u"cd;");
  s = u"xyz";
  SplitFirst(s, u';', item);
  EXPECT_EQ(item, u"xyz");
  EXPECT_EQ(s, u"");
}

TEST(AbProc, RangesAndDecades) {
  EXPECT_EQ(RangeSpan(-10, -20), -10);
  EXPECT_EQ(RangeSpan(5, -5), 0);
  EXPECT_EQ(RangeSpan(-5, 5), 10);
  EXPECT_EQ(RangeSpan(-140, -40), 100);
  int e = 0;
  EXPECT_DOUBLE_EQ(SnapToDecade(e, 350), 1000);
  EXPECT_EQ(e, 3);
  EXPECT_DOUBLE_EQ(SnapToDecade(e, -4), 1);
  EXPECT_EQ(e, 0);
  EXPECT_NEAR(PowerOf(3, 2), 8, 1e-9);
}

TEST(AbProc, LabelLists) {
  EXPECT_EQ(LinearLabelList(5, u"##0", 0, 100), u"100;80;60;40;20;0;");
  EXPECT_EQ(LinearLabelList(5, u"##0", 100, 0), u"0;20;40;60;80;100;");
  EXPECT_EQ(LinearLabelList(2, u"0", -140, -40), u"-40;-90;-140;");
  EXPECT_EQ(LogLabelList(0, 3, 3, u"0e-0", true), u"1e3;1e2;1e1;1e0;");
  EXPECT_EQ(LogLabelList(0, 3, 3, u"0e-0", false), u"1e0;1e1;1e2;1e3;");
  // More steps than decades still ends.
  EXPECT_EQ(LogLabelList(0, 2, 5, u"0", true), u"100;10;1;");
}

TEST(AbProc, Geometry) {
  TRect r(0, 0, 10, 10);
  EXPECT_TRUE(PtInRectB(0, 10, r));
  EXPECT_FALSE(PtInRectB(10, 0, r));
  EXPECT_TRUE(PtInCircle(5, 0, r));
  EXPECT_FALSE(PtInCircle(0, 0, r));
  EXPECT_EQ(RectCenter(TRect(0, 0, 5, 9)), TPoint(2, 4));
  TRect s(10, 10, 100, 50);
  ShrinkRect4(s, 2, 3, 4, 5);
  EXPECT_EQ(s, TRect(12, 13, 96, 45));
  // Clockwise on the screen: the point above the centre goes to the right.
  EXPECT_EQ(RotatePoint(TPoint(50, 0), TPoint(50, 50), true, 90), TPoint(100, 50));
  EXPECT_EQ(RotatePoint(TPoint(50, 0), TPoint(50, 50), false, 90), TPoint(0, 50));
  EXPECT_EQ(RotatePoint(TPoint(50, 0), TPoint(50, 50), true, 225), TPoint(15, 85));
}

TEST(AbProc, BlendColorRoundsHalvesToEven) {
  EXPECT_EQ(BlendColor(clBlack, clWhite, 4, 2), 0x808080);
  EXPECT_EQ(BlendColor(clBlack, clWhite, 4, 4), 0xFFFFFF);
  EXPECT_EQ(BlendColor(clRed, clRed, 4, 1), clRed);
  EXPECT_EQ(BlendColor(clBtnFace, clBtnFace, 0, 3), clBtnFace);  // equal: returned as given
  EXPECT_EQ(BlendColor(clBlack, clWhite, 0, 1), 0xFFFFFF);          // 0 steps count as 1
}

namespace {
TColor Px(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }
}  // namespace

TEST(AbProc, GradientFills) {
  TBitmap b(40, 30);
  GradientFill(b.Canvas(), TRect(0, 0, 40, 30), clRed, gsHorizontal1, clRed);
  EXPECT_EQ(Px(b, 0, 0), clRed);
  EXPECT_EQ(Px(b, 39, 29), clRed);

  GradientFill(b.Canvas(), TRect(0, 0, 41, 41), clWhite, gsRectangle, clBlack);
  EXPECT_EQ(Px(b, 20, 20), clWhite);

  // Top band in the first colour, bottom towards the second.
  TBitmap v(10, 100);
  GradientFill(v.Canvas(), TRect(0, 0, 10, 100), clBlack, gsHorizontal1, clWhite);
  EXPECT_EQ(Px(v, 5, 0), clBlack);
  EXPECT_GT(Px(v, 5, 99) & 0xFF, 0xF0);

  // Centre-line style: the first colour on the centre line.
  GradientFill(v.Canvas(), TRect(0, 0, 10, 100), clBlack, gsHorizontal2, clWhite);
  EXPECT_EQ(Px(v, 5, 50), clBlack);
  EXPECT_GT(Px(v, 5, 1) & 0xFF, 0xF0);

  // An empty rectangle draws nothing and does not fail.
  GradientFill(v.Canvas(), TRect(0, 0, 0, 10), clBlack, gsHorizontal1, clWhite);
}

TEST(AbProc, LedShapesLandInTheirRectangle) {
  TBitmap b(30, 30);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect(0, 0, 30, 30));
  DrawLEDShape(b.Canvas(), TRect(4, 6, 18, 14), sRectangle, clLime, clBlack);
  EXPECT_EQ(Px(b, 10, 10), clLime);
  EXPECT_EQ(Px(b, 4, 10), clBlack);   // left edge is the border
  EXPECT_EQ(Px(b, 17, 10), clBlack);  // right edge inside: GDI excludes 18
  EXPECT_EQ(Px(b, 18, 10), clWhite);
  EXPECT_EQ(Px(b, 10, 5), clWhite);
  EXPECT_EQ(Px(b, 10, 14), clWhite);
}

TEST(AbProc, TextOutLinesCentresTheBlock) {
  TBitmap b(100, 100);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 100, 100));
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clBlack);
  int lineH = c->TextHeight(u"X");
  TextOutLines(c, 50, 50, 4, u"A|B|C", 0);
  // Rows with ink: the middle line straddles y = 50, the block spans three lines.
  int top = 100, bottom = -1;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (Px(b, x, y) != clWhite) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(bottom, 0);
  EXPECT_GE(top, 50 - lineH - lineH / 2 - 1);
  EXPECT_LE(bottom, 50 + lineH + lineH / 2 + 1);
  EXPECT_LT(top, 50 - lineH / 2);
  EXPECT_GT(bottom, 50 + lineH / 2);
  int w = 0, h = 0;
  MaxItemWidth(c, w, h, u"10;200;");
  EXPECT_EQ(w, c->TextWidth(u"200"));
  MaxItemWidth(c, w, h, u"1234");
  EXPECT_EQ(w, c->TextWidth(u"1234"));
  MaxItemWidth(c, w, h, u"");
  EXPECT_EQ(w, 0);
}
