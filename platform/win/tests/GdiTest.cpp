// GDI pixel rules over a memory DC: edges, raster operations, text, clipping, blits, frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"
#include "testing/MemorySurface.h"

namespace {

using TSurface = TMemorySurface;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

HFONT MakeFont(const char16_t* face, int height) {
  LOGFONTW lf;
  lf.lfHeight = height;
  std::u16string f(face);
  std::copy(f.begin(), f.end(), lf.lfFaceName);
  return CreateFontIndirect(&lf);
}

}  // namespace

TEST(Gdi, RectangleWithOnePixelPenStaysInsideExclusiveEdges) {
  TSurface s(12, 12);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(s.dc, red);
  Rectangle(s.dc, 0, 0, 10, 10);
  EXPECT_EQ(s.Ink(), RECT(0, 0, 10, 10));
  for (auto [x, y] : {std::pair{0, 0}, {9, 0}, {0, 9}, {9, 9}, {5, 0}, {9, 5}}) EXPECT_EQ(s.At(x, y), kBlack) << x << "," << y;
  EXPECT_EQ(s.At(1, 1), kRed);
  EXPECT_EQ(s.At(8, 8), kRed);
  DeleteObject(red);
}

TEST(Gdi, FillRectFillsExactlyTheRectangle) {
  TSurface s(12, 12);
  RECT r(2, 3, 5, 7);
  FillRect(s.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(s.Ink(), r);
  // A system colour index + 1 stands for that colour's brush.
  RECT q(0, 0, 1, 1);
  FillRect(s.dc, &q, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNSHADOW + 1)));
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
}

TEST(Gdi, LineToLeavesTheEndPixel) {
  TSurface s(12, 12);
  MoveToEx(s.dc, 1, 5, nullptr);
  LineTo(s.dc, 6, 5);
  EXPECT_EQ(s.Ink(), RECT(1, 5, 6, 6));
  LineTo(s.dc, 6, 9);  // continues from the end point
  EXPECT_EQ(s.At(6, 5), kBlack);
  EXPECT_EQ(s.At(6, 8), kBlack);
  EXPECT_EQ(s.At(6, 9), kWhite);
  POINT p;
  GetCurrentPositionEx(s.dc, &p);
  EXPECT_EQ(p, POINT(6, 9));
}

TEST(Gdi, XorDrawingTwiceRestoresThePicture) {
  TSurface s(40, 30);
  // A picture with several colours underneath.
  for (int i = 0; i < 4; ++i) {
    HBRUSH b = CreateSolidBrush(RGB(60 * i, 255 - 50 * i, 30 * i));
    RECT r(i * 10, 0, i * 10 + 10, 30);
    FillRect(s.dc, &r, b);
    DeleteObject(b);
  }
  auto before = s.All();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x12, 0x34, 0x56));
  HBRUSH brush = CreateSolidBrush(RGB(0x80, 0x40, 0x20));
  SelectObject(s.dc, pen);
  SelectObject(s.dc, brush);
  SetROP2(s.dc, R2_XORPEN);
  auto draw = [&] {
    Rectangle(s.dc, 2, 2, 30, 20);
    MoveToEx(s.dc, 0, 25, nullptr);
    LineTo(s.dc, 39, 3);
  };
  draw();
  EXPECT_NE(s.All(), before);
  EXPECT_EQ(s.At(2, 2), before[2 * 40 + 2] ^ RGB(0x12, 0x34, 0x56));
  draw();
  EXPECT_EQ(s.All(), before);
  SelectObject(s.dc, GetStockObject(BLACK_PEN));
  SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Gdi, RasterOperationsOfTheMixModes) {
  struct Case {
    int rop;
    COLORREF pen, dst, expected;
  } cases[] = {
      {R2_NOTXORPEN, RGB(0, 0, 0), RGB(0x10, 0x20, 0x30), RGB(0xEF, 0xDF, 0xCF)},
      {R2_NOT, RGB(1, 2, 3), RGB(0x10, 0x20, 0x30), RGB(0xEF, 0xDF, 0xCF)},
      {R2_MASKPEN, RGB(0x0F, 0xF0, 0xFF), RGB(0x33, 0x33, 0x33), RGB(0x03, 0x30, 0x33)},
      {R2_MERGEPEN, RGB(0x0F, 0x00, 0x80), RGB(0x30, 0x33, 0x01), RGB(0x3F, 0x33, 0x81)},
      {R2_NOTCOPYPEN, RGB(0x0F, 0x00, 0x80), RGB(1, 1, 1), RGB(0xF0, 0xFF, 0x7F)},
      {R2_NOP, RGB(0, 0, 0), RGB(9, 9, 9), RGB(9, 9, 9)},
      {R2_WHITE, RGB(0, 0, 0), RGB(9, 9, 9), RGB(255, 255, 255)},
  };
  for (const Case& c : cases) {
    TSurface s(4, 4);
    HBRUSH b = CreateSolidBrush(c.dst);
    RECT all(0, 0, 4, 4);
    FillRect(s.dc, &all, b);
    HPEN p = CreatePen(PS_SOLID, 1, c.pen);
    SelectObject(s.dc, p);
    SetROP2(s.dc, c.rop);
    MoveToEx(s.dc, 0, 1, nullptr);
    LineTo(s.dc, 3, 1);
    EXPECT_EQ(s.At(1, 1), c.expected) << "rop " << c.rop;
    EXPECT_EQ(s.At(1, 2), c.dst) << "rop " << c.rop;
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    DeleteObject(p);
    DeleteObject(b);
  }
}

TEST(Gdi, NullPenAndNullBrush) {
  TSurface s(12, 12);
  SelectObject(s.dc, GetStockObject(NULL_PEN));
  SelectObject(s.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(s.dc, 0, 0, 10, 10);  // without a pen the fill is one pixel smaller
  EXPECT_EQ(s.Ink(), RECT(0, 0, 9, 9));
  TSurface t(12, 12);
  SelectObject(t.dc, GetStockObject(NULL_BRUSH));
  Rectangle(t.dc, 0, 0, 10, 10);
  EXPECT_EQ(t.At(5, 5), kWhite);
  EXPECT_EQ(t.At(9, 5), kBlack);
}

TEST(Gdi, EllipseAndRoundRectStayInsideTheirRectangle) {
  TSurface s(20, 20);
  SelectObject(s.dc, GetStockObject(BLACK_BRUSH));
  Ellipse(s.dc, 2, 3, 12, 17);
  RECT e = s.Ink();
  EXPECT_EQ(e.TopLeft(), POINT(2, 3));
  EXPECT_GE(e.Right, 11);
  EXPECT_LE(e.Right, 12);
  EXPECT_GE(e.Bottom, 16);
  EXPECT_LE(e.Bottom, 17);
  TSurface t(20, 20);
  RoundRect(t.dc, 1, 1, 15, 11, 4, 4);
  EXPECT_EQ(t.Ink(), RECT(1, 1, 15, 11));
  EXPECT_EQ(t.At(1, 1), kWhite);  // rounded corner
}

TEST(Gdi, ArcRunsCounterClockwiseFromStartToEnd) {
  TSurface s(21, 21);
  // Upper-left quarter: from the top point to the left point.
  Arc(s.dc, 0, 0, 21, 21, 10, 0, 0, 10);
  RECT ink = s.Ink();
  EXPECT_LE(ink.Right, 12);
  EXPECT_LE(ink.Bottom, 12);
  EXPECT_EQ(ink.Left, 0);
  EXPECT_EQ(ink.Top, 0);
}

TEST(Gdi, TextBackgroundIsFilledOnlyInOpaqueMode) {
  HFONT font = MakeFont(u"Arial", -12);
  for (int mode : {OPAQUE, TRANSPARENT}) {
    TSurface s(60, 20);
    SelectObject(s.dc, font);
    SetBkColor(s.dc, RGB(255, 255, 0));
    SetBkMode(s.dc, mode);
    SIZE size;
    GetTextExtentPoint32(s.dc, u"ii", 2, &size);
    TextOut(s.dc, 2, 2, u"ii", 2);
    EXPECT_EQ(s.At(2, 2) == RGB(255, 255, 0), mode == OPAQUE);
    EXPECT_EQ(s.At(2 + size.cx, 2), kWhite);  // nothing right of the text cell
    SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  }
  DeleteObject(font);
}

TEST(Gdi, DrawTextWrapsCentresAndHonoursPrefixes) {
  TSurface s(200, 100);
  HFONT font = MakeFont(u"Arial", -12);
  SelectObject(s.dc, font);
  TEXTMETRICW tm;
  GetTextMetrics(s.dc, &tm);
  SIZE word;
  GetTextExtentPoint32(s.dc, u"wide", 4, &word);

  // Word wrap: each word on its own line when the rectangle fits one word.
  RECT calc(0, 0, word.cx + 2, 0);
  int h = DrawText(s.dc, u"wide wide wide", -1, &calc, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(h, 3 * tm.tmHeight);
  EXPECT_EQ(calc.Bottom, 3 * tm.tmHeight);
  RECT single(0, 0, 10, 0);
  EXPECT_EQ(DrawText(s.dc, u"wide wide", -1, &single, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);

  // '&' is dropped from the measured text, "&&" is a literal '&'; DT_NOPREFIX keeps both.
  SIZE file, amp;
  GetTextExtentPoint32(s.dc, u"File", 4, &file);
  GetTextExtentPoint32(s.dc, u"&File", 5, &amp);
  RECT r1(0, 0, 0, 0), r2(0, 0, 0, 0), r3(0, 0, 0, 0);
  DrawText(s.dc, u"&File", -1, &r1, DT_CALCRECT | DT_SINGLELINE);
  DrawText(s.dc, u"&File", -1, &r2, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  DrawText(s.dc, u"&&File", -1, &r3, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r1.Right, file.cx);
  EXPECT_EQ(r2.Right, amp.cx);
  EXPECT_EQ(r3.Right, amp.cx);

  // Centred text: the ink is centred in the rectangle; the prefixed letter is underlined.
  SetBkMode(s.dc, TRANSPARENT);
  RECT box(0, 0, 200, 100);
  DrawText(s.dc, u"&H", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT ink = s.Ink();
  EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 100, 2);
  EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 50, tm.tmHeight / 2);
  int top = (100 - tm.tmHeight) / 2;
  int underlineRow = top + tm.tmAscent + 1;
  EXPECT_EQ(ink.Bottom, underlineRow + 1);
  TSurface plain(200, 100);
  SelectObject(plain.dc, font);
  SetBkMode(plain.dc, TRANSPARENT);
  DrawText(plain.dc, u"&H", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_LT(plain.Ink().Bottom, underlineRow + 1);
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  SelectObject(plain.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Gdi, DrawTextExpandsTabsToTheNextStop) {
  TSurface s(200, 100);
  HFONT font = MakeFont(u"Arial", -12);
  SelectObject(s.dc, font);
  TEXTMETRICW tm;
  GetTextMetrics(s.dc, &tm);
  const int stop = 8 * tm.tmAveCharWidth;
  SIZE x, space;
  GetTextExtentPoint32(s.dc, u"x", 1, &x);
  GetTextExtentPoint32(s.dc, u" ", 1, &space);
  auto width = [&](const String& Text) {
    RECT r(0, 0, 10, 0);
    DrawText(s.dc, Text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    return r.Right - r.Left;
  };
  // A tab fills with spaces up to the first stop past the text before it; a run of tabs
  // (hundreds of them, as damaged text brings) ends on a stop each.
  const int tabs = 300;
  const struct {
    String text;
    int atLeast, below;
  } cases[] = {
      {u"\tx", stop + x.cx, stop + space.cx + x.cx},
      {u"x\tx", stop + x.cx, stop + space.cx + x.cx},
      {String(tabs, u'\t') + u"x", tabs * stop + x.cx, tabs * (stop + space.cx) + x.cx},
  };
  for (const auto& c : cases) {
    const int w = width(c.text);
    EXPECT_GE(w, c.atLeast) << c.text.size();
    EXPECT_LT(w, c.below) << c.text.size();
  }
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Gdi, DrawTextEndEllipsisFitsTheRectangle) {
  TSurface s(200, 30);
  HFONT font = MakeFont(u"Arial", -12);
  SelectObject(s.dc, font);
  SetBkMode(s.dc, TRANSPARENT);
  RECT r(0, 0, 60, 20);
  DrawText(s.dc, u"A rather long caption text", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  const RECT ink = s.Ink();
  EXPECT_LE(ink.Right, 60);
  EXPECT_GT(ink.Right, 30) << "the shortened text still fills most of the width";
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Gdi, ClipRegionsLimitDrawingAndReportTheirBox) {
  TSurface s(20, 20);
  HRGN rgn = CreateEllipticRgn(0, 0, 20, 20);
  EXPECT_TRUE(PtInRegion(rgn, 10, 10));
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  SelectClipRgn(s.dc, rgn);
  DeleteObject(rgn);  // the DC keeps its own copy
  RECT all(0, 0, 20, 20);
  FillRect(s.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(s.dc, 10, 10), kBlack);
  SelectClipRgn(s.dc, nullptr);
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(19, 19), kWhite);

  IntersectClipRect(s.dc, 5, 5, 10, 10);
  ExcludeClipRect(s.dc, 5, 5, 7, 10);
  RECT box;
  EXPECT_EQ(GetClipBox(s.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, RECT(7, 5, 10, 10));
  // The clip box is in logical coordinates.
  SetViewportOrgEx(s.dc, 2, 0, nullptr);
  GetClipBox(s.dc, &box);
  EXPECT_EQ(box, RECT(5, 5, 8, 10));

  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 0, 15, 10), c = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(CombineRgn(c, a, b, RGN_AND), SIMPLEREGION);
  RECT rb;
  GetRgnBox(c, &rb);
  EXPECT_EQ(rb, RECT(5, 0, 10, 10));
  EXPECT_EQ(CombineRgn(c, a, b, RGN_XOR), COMPLEXREGION);
  for (HRGN r : {a, b, c}) DeleteObject(r);
}

TEST(Gdi, SaveAndRestoreStateIncludingOriginAndClip) {
  TSurface s(20, 20);
  int id = SaveDC(s.dc);
  SetTextColor(s.dc, kRed);
  SetViewportOrgEx(s.dc, 5, 5, nullptr);
  IntersectClipRect(s.dc, 0, 0, 2, 2);
  SetPixel(s.dc, 0, 0, kBlack);
  SetPixel(s.dc, 3, 3, kBlack);  // clipped
  EXPECT_EQ(GetPixel(s.dc, 3, 3), CLR_INVALID);  // outside the clip region
  EXPECT_TRUE(RestoreDC(s.dc, id));
  EXPECT_EQ(s.Ink(), RECT(5, 5, 6, 6));
  EXPECT_EQ(GetTextColor(s.dc), kBlack);
  SetPixel(s.dc, 15, 15, kBlack);
  EXPECT_EQ(s.At(15, 15), kBlack);
  EXPECT_FALSE(RestoreDC(s.dc, -1));  // nothing saved any more
}

TEST(Gdi, BlitsCopyStretchAndConvertMonochrome) {
  TSurface src(4, 4), dst(12, 12);
  SetPixel(src.dc, 0, 0, kRed);
  SetPixel(src.dc, 3, 3, kBlack);
  BitBlt(dst.dc, 2, 2, 4, 4, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(2, 2), kRed);
  EXPECT_EQ(dst.At(5, 5), kBlack);
  EXPECT_EQ(dst.Ink(), RECT(2, 2, 6, 6));
  TSurface big(12, 12);
  StretchBlt(big.dc, 0, 0, 8, 8, src.dc, 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(big.At(1, 1), kRed);
  EXPECT_EQ(big.At(7, 7), kBlack);
  EXPECT_EQ(big.At(2, 2), kWhite);
  // XOR blit twice restores.
  auto before = dst.All();
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCINVERT);
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(dst.All(), before);

  // Monochrome source: white bits take the background colour, black bits the text colour.
  HDC mono = CreateCompatibleDC(nullptr);
  uint8_t bits[4] = {0x80, 0, 0, 0};  // 2 rows of one word; top-left bit set
  HBITMAP mb = CreateBitmap(2, 2, 1, 1, bits);
  HGDIOBJ old = SelectObject(mono, mb);
  TSurface c(4, 4);
  SetTextColor(c.dc, kRed);
  SetBkColor(c.dc, RGB(0, 0, 255));
  BitBlt(c.dc, 0, 0, 2, 2, mono, 0, 0, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(1, 0), kRed);
  SelectObject(mono, old);
  DeleteObject(mb);
  DeleteDC(mono);
}

TEST(Gdi, DrawEdgeRaisedAndAdjust) {
  TSurface s(10, 10);
  RECT r(0, 0, 10, 10);
  DrawEdge(s.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
  EXPECT_EQ(r, RECT(2, 2, 8, 8));
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.At(9, 0), GetSysColor(COLOR_3DDKSHADOW));  // the far corners belong to the shadow
  EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.At(8, 8), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(s.At(5, 5), GetSysColor(COLOR_BTNFACE));
  TSurface t(10, 10);
  RECT e(0, 0, 10, 10);
  DrawEdge(t.dc, &e, BDR_SUNKENOUTER, BF_RECT);
  EXPECT_EQ(t.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(t.At(9, 9), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(Gdi, FrameControlsAndFocusRect) {
  TSurface s(16, 16);
  RECT r(0, 0, 16, 16);
  DrawFrameControl(s.dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.At(7, 7), GetSysColor(COLOR_BTNTEXT));  // the arrow in the middle
  TSurface c(13, 13);
  RECT cr(0, 0, 13, 13);
  DrawFrameControl(c.dc, &cr, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(3, 10) , GetSysColor(COLOR_WINDOW));
  int ticks = 0;
  for (int y = 2; y < 11; ++y)
    for (int x = 2; x < 11; ++x) ticks += c.At(x, y) == GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(ticks, 10);

  TSurface f(10, 10);
  auto before = f.All();
  RECT fr(1, 1, 9, 9);
  DrawFocusRect(f.dc, &fr);
  EXPECT_EQ(f.At(1, 1), kBlack);
  EXPECT_EQ(f.At(2, 1), kWhite);
  EXPECT_EQ(f.At(9, 9), kWhite);
  DrawFocusRect(f.dc, &fr);
  EXPECT_EQ(f.All(), before);
}

TEST(Gdi, DeletingASelectedObjectLeavesTheDCUsable) {
  TSurface s(6, 6);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  SelectObject(s.dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  MoveToEx(s.dc, 0, 0, nullptr);
  LineTo(s.dc, 5, 0);
  EXPECT_EQ(s.At(0, 0), kBlack);  // the stock pen took its place
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));  // stock objects are never freed
  LOGPEN lp;
  EXPECT_EQ(GetObject(GetStockObject(BLACK_PEN), sizeof lp, &lp), static_cast<int>(sizeof lp));
}

TEST(Gdi, HalfWidthKatakanaRendersWithAJapaneseFont) {
  HFONT font = MakeFont(u"ＭＳ Ｐゴシック", -12);
  auto render = [&](const char16_t* text) {
    TSurface s(30, 20);
    SelectObject(s.dc, font);
    TextOut(s.dc, 2, 2, text, 1);
    auto px = s.All();
    SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
    return px;
  };
  std::vector<COLORREF> blank(30 * 20, kWhite);
  auto a = render(u"ｱ"), i = render(u"ｲ"), u = render(u"ｳ");
  EXPECT_NE(a, blank);
  EXPECT_NE(a, i);  // distinct glyphs, not one missing-glyph box
  EXPECT_NE(i, u);
  TSurface s(10, 10);
  SelectObject(s.dc, font);
  SIZE half, full;
  GetTextExtentPoint32(s.dc, u"ｱｲｳｴｵ", 5, &half);
  GetTextExtentPoint32(s.dc, u"アイウエオ", 5, &full);
  EXPECT_GT(half.cx, 0);
  EXPECT_LT(half.cx, full.cx * 3 / 4);  // half-width forms are narrower
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Gdi, FontNamesMapToInstalledFacesOfTheirPitch) {
  TSurface s(10, 10);
  auto width = [&](const char16_t* face, const std::u16string& text) {
    HFONT font = MakeFont(face, -13);
    HGDIOBJ old = SelectObject(s.dc, font);
    SIZE size{};
    GetTextExtentPoint32(s.dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(s.dc, old);
    DeleteObject(font);
    return size.cx;
  };
  // The fixed-pitch Japanese faces: every Latin letter and half-width form one cell, full-width two.
  for (const char16_t* face : {u"ＭＳ ゴシック", u"MS Gothic", u"ＭＳ 明朝"}) {
    SCOPED_TRACE(std::string(face, face + 2));
    int ten = width(face, u"iiiiiiiiii");
    EXPECT_GT(ten, 0);
    EXPECT_EQ(width(face, u"WWWWWWWWWW"), ten);
    EXPECT_EQ(width(face, u"ｱｲｳｴｵｱｲｳｴｵ"), ten);
    EXPECT_EQ(width(face, u"アイウエオ"), ten);
  }
  // The proportional ones are proportional.
  for (const char16_t* face : {u"ＭＳ Ｐゴシック", u"MS PGothic"})
    EXPECT_LT(width(face, u"iiiiiiiiii") * 2, width(face, u"WWWWWWWWWW"));
}

TEST(Gdi, SystemColoursAndMetrics) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(99), 0u);
  EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0);
  TSurface s(2, 2);
  EXPECT_EQ(GetDeviceCaps(s.dc, LOGPIXELSX), 96);
}

TEST(Gdi, ScreenDCMeasuresTextAndAnswersTheScreensValues) {
  HDC screen = GetDC(nullptr);
  HDC second = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_NE(screen, second);  // one per call
  HFONT font = MakeFont(u"Arial", -16);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE wide{}, narrow{}, onMemory{};
  EXPECT_TRUE(GetTextExtentPoint32(screen, u"WWWW", 4, &wide));
  EXPECT_TRUE(GetTextExtentPoint32(screen, u"iiii", 4, &narrow));
  EXPECT_GT(narrow.cx, 0);
  EXPECT_GT(wide.cx, narrow.cx);
  EXPECT_GE(wide.cy, 16);
  TSurface s(4, 4);
  SelectObject(s.dc, font);
  GetTextExtentPoint32(s.dc, u"WWWW", 4, &onMemory);
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(wide.cx, onMemory.cx);  // the same measure as on any 96 dpi surface
  EXPECT_EQ(wide.cy, onMemory.cy);

  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(GetDeviceCaps(screen, HORZRES), 16);  // the screen, not the DC's small image
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, TECHNOLOGY), DT_RASDISPLAY);
  SelectObject(screen, old);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, second), 1);
  DeleteObject(font);
}
