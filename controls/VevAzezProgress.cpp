// Progress bars, pies and the geometric cell shapes of the grid.
#include <cmath>
#include <numbers>
#include <vector>

#include "controls/VevAzez.h"
#include "platform/rtl/System.h"

namespace {

int Add(int A, int B) { return AddChecked(A, B); }
int Sub(int A, int B) { return SubChecked(A, B); }

int ToInt(double V) {
  if (!(V >= INT32_MIN && V <= INT32_MAX)) throw EIntOverflow(u"Integer overflow");
  return static_cast<int>(V);
}

// The conversion letter of the first argument in a Format pattern ("%-8.2f" -> 'f'); 0 when
// there is none. Only this letter decides between an integer and a floating-point argument.
Char ConversionOf(const String& Fmt) {
  for (size_t i = 0; i < Fmt.size(); ++i) {
    if (Fmt[i] != u'%') continue;
    size_t j = i + 1;
    if (j < Fmt.size() && Fmt[j] == u'%') {
      i = j;
      continue;
    }
    while (j < Fmt.size() && (Fmt[j] == u'-' || Fmt[j] == u'.' || Fmt[j] == u':' || Fmt[j] == u'*' ||
                              (Fmt[j] >= u'0' && Fmt[j] <= u'9')))
      ++j;
    return j < Fmt.size() ? Fmt[j] : Char(0);
  }
  return 0;
}

// The point at Angle (radians, clockwise from 12 o'clock) on an ellipse around (Cx, Cy).
TPoint PointAtAngle(int Cx, int Cy, double Rx, double Ry, double Angle) {
  return TPoint{Add(Cx, ToInt(Round(Rx * std::sin(Angle)))), Sub(Cy, ToInt(Round(Ry * std::cos(Angle))))};
}

}  // namespace

void DrawCellProgressBar(TCanvas* Canvas, TRect R, TColor DoneColor, TColor DoneFontColor, TColor RestColor,
                         TColor RestFontColor, double Value, int MarginX, int MarginY, int Min, int Max,
                         const String& Fmt, TColor BorderColor, bool FlipText) {
  const TColor Background = Canvas->Brush()->Style() == bsClear ? clNone : Canvas->Brush()->Color();
  SetBrushColor(Canvas, DoneColor);
  SetPenColor(Canvas, DoneColor);
  Canvas->Font()->SetColor(DoneFontColor);

  String Text;
  int Percent;
  if (Fmt.empty()) {
    Percent = ToInt(Round(Value));
    Text = IntToStr(Percent) + u"%";
  } else {
    const Char Conv = ConversionOf(Fmt);
    if (Conv == u'd' || Conv == u'u' || Conv == u'D' || Conv == u'U')
      Text = Format(Fmt, {ToInt(Round(Value))});
    else
      Text = Format(Fmt, {Value});
    if (Max == Min) throw EZeroDivide(u"Floating point division by zero");
    Percent = ToInt(Round((Value - Min) * 100.0 / (static_cast<double>(Max) - Min)));
  }
  if (Percent < 0) Percent = 0;
  if (Percent > 100) Percent = 100;
  R = TRect(Add(R.Left, MarginX), Add(R.Top, MarginY), Sub(R.Right, MarginX), Sub(R.Bottom, MarginY));

  const int W = Sub(R.Right, R.Left), H = Sub(R.Bottom, R.Top);
  TRect D = R;
  D.Right = Add(R.Left, ToInt(Round(static_cast<double>(W) * Percent / 100)));
  const TSize Ext = Canvas->TextExtent(Text);
  const int TH = FlipText ? -Ext.cy : Ext.cy;
  const int TX = Add(R.Left, Sub(W, Ext.cx) / 2);
  const int TY = Add(R.Top, Sub(H, TH) / 2);
  Canvas->TextRect(D, TX, TY, Text);

  SetBrushColor(Canvas, RestColor);
  SetPenColor(Canvas, RestColor);
  Canvas->Font()->SetColor(RestFontColor);
  Canvas->TextRect(TRect(D.Right, R.Top, R.Right, R.Bottom), TX, TY, Text);

  R = TRect(Sub(R.Left, 1), Sub(R.Top, 1), Add(R.Right, 1), Add(R.Bottom, 1));
  if (BorderColor != clNone) {
    SetBrushColor(Canvas, BorderColor);
    Canvas->FrameRect(R);
  }
  R = TRect(Sub(R.Left, 1), Sub(R.Top, 1), Add(R.Right, 1), Add(R.Bottom, 1));
  if (Background != clNone) {
    SetBrushColor(Canvas, Background);
    Canvas->FrameRect(R);
  }
}

void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, int Percent, bool Flipped) {
  // The sector is drawn as such, so the result does not depend on what a flood fill from a
  // fixed point would reach; Flipped (printing) therefore needs no other seed point.
  (void)Flipped;
  const TColor Edge = 0x808080;
  SetPenColor(Canvas, Edge);
  Canvas->Pen()->SetWidth(1);
  Canvas->Ellipse(R);
  const int Cx = Add(R.Left, Sub(R.Right, R.Left) / 2);
  const int Cy = Add(R.Top, Sub(R.Bottom, R.Top) / 2);
  const double Rx = (static_cast<double>(R.Right) - R.Left + 1) / 2;
  const double Ry = (static_cast<double>(R.Bottom) - R.Top + 1) / 2;
  const TPoint P = PointAtAngle(Cx, Cy, Rx, Ry, Percent / 100.0 * 2 * std::numbers::pi);
  SetBrushColor(Canvas, Color);
  if (Percent >= 100)
    Canvas->Ellipse(R);
  else if (Percent > 0)
    Canvas->Pie(R.Left, R.Top, R.Right, R.Bottom, P.X, P.Y, Cx, R.Top);  // counter-clockwise from P to 12
  Canvas->MoveTo(Cx, R.Top);
  Canvas->LineTo(Cx, Cy);
  Canvas->LineTo(P.X, P.Y);
}

namespace {

// Fills a bar segment with Col, or with two gradients meeting in the middle of its thickness.
void PaintSegment(TCanvas* Canvas, const TRect& S, TColor Col, TColor ColTo, const TProgressAppearanceInfo& Look) {
  if (!Look.ShowGradient) {
    FillRectColor(Canvas, S, Col);
    return;
  }
  if (Look.Vertical) {
    const int Mid = S.Left + (S.Right - S.Left) / 2;
    FillGradient(Canvas, ColTo, Col, Look.Steps, TRect(S.Left, S.Top, Mid, S.Bottom), true);
    FillGradient(Canvas, Col, ColTo, Look.Steps, TRect(Mid, S.Top, S.Right, S.Bottom), true);
  } else {
    const int Mid = S.Top + (S.Bottom - S.Top) / 2;
    FillGradient(Canvas, ColTo, Col, Look.Steps, TRect(S.Left, S.Top, S.Right, Mid), false);
    FillGradient(Canvas, Col, ColTo, Look.Steps, TRect(S.Left, Mid, S.Right, S.Bottom), false);
  }
}

// The part of the bar from Start to Start + Len along its length (from the left, or from the
// bottom when vertical), Inset pixels inside R across it.
TRect BarPart(const TRect& R, bool Vertical, int Inset, int Start, int Len) {
  if (Vertical)
    return TRect(Add(R.Left, Inset), Sub(Sub(R.Bottom, Start), Len), Sub(R.Right, Inset), Sub(R.Bottom, Start));
  return TRect(Add(R.Left, Start), Add(R.Top, Inset), Add(Add(R.Left, Start), Len), Sub(R.Bottom, Inset));
}

int RoundInt(double V) { return ToInt(Round(V)); }

}  // namespace

void DrawStyledProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressAppearanceInfo& Look) {
  const int Length = Look.Vertical ? Sub(R.Bottom, R.Top) : Sub(R.Right, R.Left);
  const int Inner = Sub(Length, 2);
  const TColor Frame = Look.ShowBorder ? Look.BorderColor : Look.BackgroundColor;
  SetPenColor(Canvas, Frame);
  SetBrushColor(Canvas, Look.BackgroundColor);
  Canvas->Rectangle(R);
  // The bar never runs past its frame; the text still shows the value as given.
  const int P = Percent > 100 ? 100 : Percent;

  if (P > 0 && !Look.Stacked) {
    TColor Col = Look.Level2Color, ColTo = Look.Level2ColorTo;
    if (P < Look.Level1Perc) Col = Look.Level0Color, ColTo = Look.Level0ColorTo;
    else if (P < Look.Level2Perc) Col = Look.Level1Color, ColTo = Look.Level1ColorTo;
    else if (P > 99) Col = Look.Level3Color, ColTo = Look.Level3ColorTo;

    if (Look.CompletionSmooth) {
      PaintSegment(Canvas, BarPart(R, Look.Vertical, 1, 1, RoundInt(P / 100.0 * Inner)), Col, ColTo, Look);
    } else {
      const int A = RoundInt(static_cast<double>(P) * Inner / 100);
      if (A < 10) {
        if (A > 1) PaintSegment(Canvas, BarPart(R, Look.Vertical, 2, 2, A - 1), Col, ColTo, Look);
      } else {
        int Start = 2;
        for (int i = 0; i < A / 9; ++i, Start += 9)
          PaintSegment(Canvas, BarPart(R, Look.Vertical, 2, Start, 7), Col, ColTo, Look);
        if (A % 9 > 2) PaintSegment(Canvas, BarPart(R, Look.Vertical, 2, Start, A % 9 - 1), Col, ColTo, Look);
      }
      Canvas->Brush()->SetStyle(bsClear);
    }
  } else if (P > 0) {
    const int L1 = Look.Level1Perc, L2 = Look.Level2Perc;
    const int S1 = RoundInt((P < L1 ? P : L1) / 100.0 * Inner);
    PaintSegment(Canvas, BarPart(R, Look.Vertical, 1, 1, S1), Look.Level0Color, Look.Level0ColorTo, Look);
    if (P >= L1) {
      const int S2 = RoundInt(Inner * static_cast<double>((P < L2 ? P : L2) - L1) / 100);
      PaintSegment(Canvas, BarPart(R, Look.Vertical, 1, 1 + S1, S2), Look.Level1Color, Look.Level1ColorTo, Look);
      if (P >= L2) {
        const int S3 = P == 100 ? Inner - S1 - S2 : RoundInt(Inner * static_cast<double>(P - L2) / 100);
        PaintSegment(Canvas, BarPart(R, Look.Vertical, 1, 1 + S1 + S2 + (Look.Vertical ? 1 : 0), S3),
                     Look.Level3Color, Look.Level3ColorTo, Look);
      }
    }
  }

  if (Look.ShowPercentage) {
    Canvas->Brush()->SetStyle(bsClear);
    TFont* F = Canvas->Font();
    if (Look.Font) {
      F->SetName(Look.Font->Name());
      F->SetSize(Look.Font->Size());
      F->SetStyle(Look.Font->Style());
    }
    F->SetColor(Look.FontColor);
    const String Text = IntToStr(Percent) + u"%";
    const TSize Ext = Canvas->TextExtent(Text);
    const int Cx = R.Left + Sub(R.Right, R.Left) / 2, Cy = R.Top + Sub(R.Bottom, R.Top) / 2;
    if (!Look.Vertical) {
      F->SetOrientation(0);  // a canvas last used for a vertical bar still has turned text
      Canvas->TextOut(Cx - Ext.cx / 2, Cy - Ext.cy / 2, Text);
    } else {
      F->SetOrientation(900);
      Canvas->TextOut(Cx - Ext.cy / 2, Cy + Ext.cx / 2, Text);
    }
  }

  SetPenColor(Canvas, Frame);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(R);
}

void DrawCellShape(TCanvas* Canvas, int X, int Y, int W, int H, TCellShape Shape, TColor BrushColor,
                   TColor PenColor) {
  SetBrushColor(Canvas, BrushColor);
  SetPenColor(Canvas, PenColor);
  if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) W = H = std::min(W, H);
  const int X2 = Add(X, W), Y2 = Add(Y, H);
  using P = TPoint;
  switch (Shape) {
    case csRectangle:
    case csSquare: Canvas->Rectangle(X + 1, Y + 1, X2 - 1, Y2 - 1); break;
    case csCircle:
    case csEllips: Canvas->Ellipse(X, Y, X2, Y2); break;
    case csTriangleLeft: Canvas->Polygon({P{X2, Y}, P{X2, Y2}, P{X, Y + H / 2}}); break;
    case csTriangleRight: Canvas->Polygon({P{X, Y}, P{X, Y2}, P{X2, Y + H / 2}}); break;
    case csTriangleUp: Canvas->Polygon({P{X, Y2}, P{X2, Y2}, P{X + W / 2, Y}}); break;
    case csTriangleDown: Canvas->Polygon({P{X, Y}, P{X2, Y}, P{X + W / 2, Y2}}); break;
    case csDiamond: {
      const int w = W / 2, h = H / 2;
      Canvas->Polygon({P{X, Y + h}, P{X + w, Y}, P{X + 2 * w, Y + h}, P{X + w, Y + 2 * h}});
      break;
    }
    case csLineVert: Canvas->Rectangle(X + W / 2, Y, X + W / 2 + 1, Y2); break;
    case csLineHorz: Canvas->Rectangle(X, Y + H / 2, X2, Y + H / 2 + 1); break;
    case csRoundRect:
    case csRoundSquare: Canvas->RoundRect(X, Y, X2, Y2, 10, 10); break;
    case csStar:
    case csHalfStar: {
      const int Cx = X + W / 2, Cy = Y + H / 2;
      const double Rx = W / 2, Ry = H / 2;
      auto At = [&](int k) {
        const double F = k % 2 == 0 ? 1.0 : 1.0 / 3;
        return PointAtAngle(Cx, Cy, Rx * F, Ry * F, k * std::numbers::pi / 5);
      };
      // Even k lie on the outer radius, odd k on the inner; the half star is the left half.
      std::vector<TPoint> Pts;
      for (int k : Shape == csStar ? std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} : std::vector<int>{0, 5, 6, 7, 8, 9})
        Pts.push_back(At(k));
      Canvas->Polygon(Pts);
      break;
    }
    case csArrowUp:
    case csArrowDown: {
      W -= W % 2;
      const int Q = W / 4, Tip = Shape == csArrowUp ? Y : Add(Y, H), Tail = Shape == csArrowUp ? Add(Y, H) : Y;
      const int M = Y + H / 2;
      Canvas->Polygon({P{X, M}, P{X + W / 2, Tip}, P{X + W, M}, P{X + 3 * Q, M}, P{X + 3 * Q, Tail}, P{X + Q, Tail},
                       P{X + Q, M}});
      break;
    }
    case csArrowLeft:
    case csArrowRight: {
      H -= H % 2;
      const int Q = H / 4, M = X + W / 2;
      const int Tip = Shape == csArrowLeft ? X : Add(X, W), Tail = Shape == csArrowLeft ? Add(X, W) : X;
      Canvas->Polygon({P{Tip, Y + H / 2}, P{M, Y}, P{M, Y + Q}, P{Tail, Y + Q}, P{Tail, Y + 3 * Q}, P{M, Y + 3 * Q},
                       P{M, Y + H}});
      break;
    }
  }
}
