// Text and painting routines of the instrument controls.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "instruments/_AbProc.h"
#include "platform/rtl/SysUtils.h"

void TextSizeHalf(TCanvas* Canvas, int& W, int& H, const String& Text, TPoint& Half) {
  TSize s = Canvas->TextExtent(Text);
  W = s.cx;
  H = s.cy;
  Half = TPoint(W / 2, H / 2);
}

void MaxItemWidthSep(TCanvas* Canvas, int& W, int& H, Char Sep, const String& Text) {
  H = Canvas->TextHeight(Text);
  W = 0;
  if (Text.empty()) return;
  String rest = Text, item;
  while (!rest.empty()) {
    SplitFirst(rest, Sep, item);
    W = std::max(W, Canvas->TextWidth(item));
  }
}

void MaxItemWidth(TCanvas* Canvas, int& W, int& H, const String& List) {
  MaxItemWidthSep(Canvas, W, H, u';', List);
}

void TextOutAnchored(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text) {
  TSize s = Canvas->TextExtent(Text);
  int w = s.cx, h = s.cy;
  int x = 0, y = 0;
  if (Anchor >= 0 && Anchor <= 8) {
    int col = Anchor % 3, row = Anchor / 3;
    x = col == 0 ? X : col == 1 ? X - w / 2 : X - w;
    y = row == 0 ? Y : row == 1 ? Y - h / 2 : Y - h;
  }
  Canvas->TextOut(x, y, Text);
}

namespace {

// First line's y for a block of lines anchored at Y.
int FirstLineY(TCanvas* Canvas, int Y, int Anchor, const String& Text, int LineGap, int& LineH) {
  int n = CountChar(Text, u'|');
  LineH = Canvas->TextHeight(u"X") + LineGap;
  int total = LineH * n;
  if (Anchor >= 3 && Anchor <= 5) return Y - total / 2;
  if (Anchor >= 6 && Anchor <= 8) return Y - total;
  return Y;
}

}  // namespace

void TextOutLines(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text, int LineGap) {
  int lineH = 0;
  int y = FirstLineY(Canvas, Y, Anchor, Text, LineGap, lineH);
  String rest = Text, line;
  while (!rest.empty()) {
    SplitFirst(rest, u'|', line);
    TextOutAnchored(Canvas, X, y, Anchor, line);
    y += lineH;
  }
}

void TextOutLines3D(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text, bool Text3D,
                    TColor ColorBelow, TColor ColorAbove, TColor ColorText, int LineGap) {
  int lineH = 0;
  int y = FirstLineY(Canvas, Y, Anchor, Text, LineGap, lineH);
  String rest = Text, line;
  while (!rest.empty()) {
    SplitFirst(rest, u'|', line);
    if (Text3D) {
      Canvas->Font()->SetColor(ColorBelow);
      TextOutAnchored(Canvas, X + 1, y + 1, Anchor, line);
      Canvas->Font()->SetColor(ColorAbove);
      TextOutAnchored(Canvas, X - 1, y - 1, Anchor, line);
    }
    Canvas->Font()->SetColor(ColorText);
    TextOutAnchored(Canvas, X, y, Anchor, line);
    y += lineH;
  }
}

namespace {

int RValue(int32_t c) { return c & 0xFF; }
int GValue(int32_t c) { return (c >> 8) & 0xFF; }
int BValue(int32_t c) { return (c >> 16) & 0xFF; }
TColor MakeRGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

}  // namespace

TColor BlendColor(TColor ColorFrom, TColor ColorTo, int Steps, int Step) {
  int32_t c1 = ColorToRGB(ColorFrom), c2 = ColorToRGB(ColorTo);
  if (c1 == c2) return ColorFrom;
  if (Steps == 0) Steps = 1;
  auto mix = [&](int a, int b) { return a + static_cast<int>(Round(double(b - a) / Steps * Step)); };
  return MakeRGB(mix(RValue(c1), RValue(c2)), mix(GValue(c1), GValue(c2)), mix(BValue(c1), BValue(c2)));
}

void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  while (Width > 0) {
    --Width;
    TPoint tl(Rect.Left, Rect.Top), tr(Rect.Right, Rect.Top), br(Rect.Right, Rect.Bottom), bl(Rect.Left, Rect.Bottom);
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline(std::vector<TPoint>{bl, tl, tr});
    Canvas->Pen()->SetColor(BottomColor);
    --bl.X;
    Canvas->Polyline(std::vector<TPoint>{tr, br, bl});
    ShrinkRect(Rect, 1);
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

namespace {

// The colours of a gradient: step t of N from c1 to c2.
struct GradColors {
  int r1, g1, b1;
  float ir, ig, ib;  // per-step increments, single precision
  TColor At(double t) const {
    return MakeRGB(r1 + static_cast<int>(Round(t * ir)), g1 + static_cast<int>(Round(t * ig)),
                   b1 + static_cast<int>(Round(t * ib)));
  }
  TColor Truncated(double t) const {
    return MakeRGB(static_cast<int>(Trunc(r1 + t * ir)), static_cast<int>(Trunc(g1 + t * ig)),
                   static_cast<int>(Trunc(b1 + t * ib)));
  }
};

void Line(TCanvas* c, int x1, int y1, int x2, int y2, TColor col) {
  c->Pen()->SetColor(col);
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void FillAll(TCanvas* c, int W, int H, TColor col) {
  c->Pen()->SetColor(col);
  c->Brush()->SetColor(col);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(TRect(0, 0, W, H));
}

}  // namespace

void GradientFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TGradientStyle Style, TColor ColorTo) {
  int W = Rect.Width(), H = Rect.Height();
  if (W <= 0 || H <= 0) return;  // nothing to fill; the band styles would divide by zero
  TBitmap bmp(W, H);
  TCanvas* c = bmp.Canvas();
  int32_t c1 = ColorToRGB(ColorFrom), c2 = ColorToRGB(ColorTo);
  if (c1 == c2) {
    FillAll(c, W, H, ColorFrom);
  } else {
    int dR = RValue(c2) - RValue(c1), dG = GValue(c2) - GValue(c1), dB = BValue(c2) - BValue(c1);
    int steps = std::max({std::abs(dR), std::abs(dG), std::abs(dB), 1});
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
    int N = steps;
    auto colors = [&](int n) {
      return GradColors{RValue(c1), GValue(c1), BValue(c1), float(double(dR) / n), float(double(dG) / n),
                        float(double(dB) / n)};
    };
    auto fillBand = [&](const TRect& r, TColor col) {
      c->Brush()->SetColor(col);
      c->FillRect(r);
    };
    int cx = W / 2, cy = H / 2;
    switch (Style) {
      case gsHorizontal1:
      case gsVertical1: {
        bool horiz = Style == gsHorizontal1;
        int len = horiz ? H : W;
        if (len < N) N = len;
        int band = len / N;
        N = len / band;
        GradColors g = colors(N);
        for (int t = 0; t <= N; ++t) {
          TRect r = horiz ? TRect(0, t * band, W, t * band + band) : TRect(t * band, 0, t * band + band, H);
          fillBand(r, g.Truncated(t));
        }
        break;
      }
      case gsHorizontal2:
      case gsVertical2:
      case gsHorizontal3:
      case gsVertical3: {
        bool horiz = Style == gsHorizontal2 || Style == gsHorizontal3;
        bool centre = Style == gsHorizontal2 || Style == gsVertical2;
        int len = horiz ? H : W;
        int M;
        if (centre) {
          N = std::max(len / 2, 1);
          M = N;
        } else {
          N = std::max(static_cast<int>(Round(len * 0.67)), 1);
          M = len / 3;
        }
        GradColors g = colors(N);
        auto across = [&](int p, TColor col) {
          if (horiz) Line(c, 0, p, W, p, col);
          else Line(c, p, 0, p, H, col);
        };
        across(M, ColorFrom);
        for (int t = 1; t <= N; ++t) {
          across(M + t, g.At(t));
          if (centre || M - t >= 0) across(M - t, g.At(t));
        }
        break;
      }
      case gsElliptic1:
      case gsElliptic2:
      case gsElliptic3: {
        double px, py;
        if (Style == gsElliptic1) {
          px = double(W) / N / 2;
          py = double(H) / N / 2;
        } else if (Style == gsElliptic2) {
          px = double(W) / N * 0.695;
          py = double(H) / N * 0.695;
        } else {
          cx = W / 2 + 1 - W / 4;
          cy = H / 2 + 1 - H / 4;
          px = double(W) / N * 0.82;
          py = double(H) / N * 0.82;
        }
        GradColors g = colors(N);
        FillAll(c, W, H, ColorTo);
        for (int t = N; t >= 1; --t) {
          TColor col = g.At(t);
          c->Pen()->SetColor(col);
          c->Brush()->SetColor(col);
          int rx = static_cast<int>(Round(t * px)), ry = static_cast<int>(Round(t * py));
          c->Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
        }
        break;
      }
      case gsRectangle: {
        double px = double(W) / N / 2, py = double(H) / N / 2;
        GradColors g = colors(N);
        for (int t = N; t >= 0; --t) {
          TColor col = g.At(t);
          c->Pen()->SetColor(col);
          c->Brush()->SetColor(col);
          int rx = static_cast<int>(Round(t * px)), ry = static_cast<int>(Round(t * py));
          c->Rectangle(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1);
        }
        break;
      }
      case gsDiamond1:
      case gsDiamond2: {
        double px, py;
        if (Style == gsDiamond1) {
          N = std::max(std::max(W, H) / 2, steps);
          px = double(W) / N / 2;
          py = double(H) / N / 2;
        } else {
          N = std::max(std::max(W, H), steps);
          px = double(W) / N;
          py = double(H) / N;
        }
        GradColors g = colors(N);
        FillAll(c, W, H, ColorTo);
        for (int t = N; t >= 1; --t) {
          c->Pen()->SetColor(g.At(t));
          int rx = static_cast<int>(Round(t * px)), ry = static_cast<int>(Round(t * py));
          c->Polyline(std::vector<TPoint>{{cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}, {cx, cy - ry}});
        }
        c->SetPixels(cx, cy, ColorFrom);
        break;
      }
      case gsTopLeft:
      case gsTopRight: {
        N = std::max(W, H);
        double px = double(W) / N, py = double(H) / N;
        GradColors g = colors(N);
        for (int t = 0; t <= N; ++t) {
          int ax = static_cast<int>(Round(t * px)), ay = static_cast<int>(Round(t * py));
          if (Style == gsTopLeft) {
            Line(c, 0, ay, ax, -1, g.At(t / 2.0));
            Line(c, W, H - ay, W - ax, H, g.At(N - t / 2.0));
          } else {
            Line(c, W, ay, W - ax, -1, g.At(t / 2.0));
            Line(c, 0, H - ay, ax, H, g.At(N - t / 2.0));
          }
        }
        break;
      }
    }
  }
  Canvas->StretchDraw(Rect, &bmp);
}

void DrawLEDShape(TCanvas* Canvas, const TRect& Rect, TLEDShape Shape, TColor Color, TColor BorderColor) {
  int w = Rect.Width(), h = Rect.Height();
  int hw = w / 2, hh = h / 2;
  int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  Canvas->Pen()->SetColor(BorderColor);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  switch (Shape) {
    case sRound: {
      Canvas->Ellipse(Rect);
      Canvas->Pen()->SetColor(clBtnHighlight);
      Canvas->Pen()->SetWidth(w / 8);
      TRect r2 = Rect;
      ShrinkRect(r2, w / 5);
      Canvas->Arc(r2.Left, r2.Top, r2.Right, r2.Bottom, L + hw, T, L, T + hh);
      Canvas->Pen()->SetWidth(1);
      break;
    }
    case sArrowLeft: Canvas->Polygon(std::vector<TPoint>{{L, T + hh}, {R - 1, T}, {R - 1, B - 1}}); break;
    case sArrowRight: Canvas->Polygon(std::vector<TPoint>{{L, T}, {R - 1, T + hh}, {L, B - 1}}); break;
    case sArrowUp: Canvas->Polygon(std::vector<TPoint>{{L + hw, T}, {R - 1, B - 1}, {L, B - 1}}); break;
    case sArrowDown: Canvas->Polygon(std::vector<TPoint>{{L, T}, {R - 1, T}, {L + hw, B - 1}}); break;
    case sRectangle: Canvas->RoundRect(L, T, R, B, 1, 1); break;
    case sDiamondLeft: Canvas->Polygon(std::vector<TPoint>{{L, T}, {L + hw, T}, {R, B}, {L + hw, B}}); break;
    case sDiamondRight: Canvas->Polygon(std::vector<TPoint>{{L + hw, T}, {R, T}, {L + hw, B}, {L, B}}); break;
  }
}

void DrawKnob(TCanvas* Canvas, TPoint Center, int Size, TColor Color, bool Horizontal) {
  int longHalf = Size / 2, shortHalf = static_cast<int>(Round(Size * 0.2));
  int hx = Horizontal ? longHalf : shortHalf, hy = Horizontal ? shortHalf : longHalf;
  TRect k(Center.X - hx, Center.Y - hy, Center.X + hx + 1, Center.Y + hy + 1);
  TColor edge = Color == clBtnShadow ? clBtnShadow : clBlack;
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetColor(clBtnFace);
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Rectangle(k);
  DrawFrame3D(Canvas, k, clBtnShadow, edge, 1);
  DrawFrame3D(Canvas, k, clBtnHighlight, clBtnShadow, 1);
  ShrinkRect(k, Size / 25);
  Canvas->Pen()->SetColor(edge);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(k);
}
