// Colour arithmetic, hexadecimal colour text and banded gradients.
#include <cstdint>

#include "controls/VevAzez.h"
#include "platform/rtl/System.h"

namespace {

int GetR(int32_t C) { return C & 0xFF; }
int GetG(int32_t C) { return (C >> 8) & 0xFF; }
int GetB(int32_t C) { return (C >> 16) & 0xFF; }
TColor MakeRGB(int R, int G, int B) { return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16)); }

int Add(int A, int B) { return AddChecked(A, B); }
int Sub(int A, int B) { return SubChecked(A, B); }

}  // namespace

int AddChecked(int A, int B) {
  int R;
  if (__builtin_add_overflow(A, B, &R)) throw EIntOverflow(u"Integer overflow");
  return R;
}

int SubChecked(int A, int B) {
  int R;
  if (__builtin_sub_overflow(A, B, &R)) throw EIntOverflow(u"Integer overflow");
  return R;
}

// clNone gives a clear brush or pen rather than the white ColorToRGB would make of it.
void SetBrushColor(TCanvas* Canvas, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  if (Color == clNone) Canvas->Brush()->SetStyle(bsClear);
}

void SetPenColor(TCanvas* Canvas, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetStyle(Color == clNone ? psClear : psSolid);
}

namespace {

void PenAndBrush(TCanvas* Canvas, TColor Color) {
  SetPenColor(Canvas, Color);
  SetBrushColor(Canvas, Color);
}

}  // namespace

TColor HalfColor(TColor Color) {
  int32_t C = ColorToRGB(Color);
  return MakeRGB(GetR(C) >> 1, GetG(C) >> 1, GetB(C) >> 1);
}

TColor AdjustColorBrightness(TColor Color, int Percent) {
  int32_t C = ColorToRGB(Color);
  auto Adj = [Percent](int B) { return static_cast<int>(B + Round(B * static_cast<double>(Percent) / 100.0)); };
  return MakeRGB(Adj(GetR(C)), Adj(GetG(C)), Adj(GetB(C)));
}

String ColorToHex(TColor Color) {
  static const char16_t Digits[] = u"0123456789ABCDEF";
  String S;
  for (int B : {GetR(Color), GetG(Color), GetB(Color)}) {
    S += Digits[B >> 4];
    S += Digits[B & 0xF];
  }
  return S;
}

TColor InterpolateColor(TColor Color, TColor ColorTo, int Min, int Max, int Position) {
  if (ColorTo == clNone) return Color;
  int Span = Sub(Max, Min);
  if (Span == 0) throw EZeroDivide(u"Division by zero");
  int32_t F = ColorToRGB(Color), T = ColorToRGB(ColorTo);
  auto Mix = [&](int From, int To) {
    return static_cast<int>(From + Round(static_cast<double>(To - From) / Span * Position));
  };
  return MakeRGB(Mix(GetR(F), GetR(T)), Mix(GetG(F), GetG(T)), Mix(GetB(F), GetB(T)));
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color) {
  SetBrushColor(Canvas, Color);
  Canvas->FillRect(R);
}

void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color) {
  PenAndBrush(Canvas, Color);
  Canvas->Polygon({TPoint{Sub(X, 3), Y}, TPoint{Add(X, 3), Y}, TPoint{X, Add(Y, 3)}});
}

void FillGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect R, bool Horizontal) {
  if (R.Top == R.Bottom) return;
  if (R.Bottom < R.Top) std::swap(R.Top, R.Bottom);
  if (FromColor == clNone || ToColor == clNone) {
    PenAndBrush(Canvas, FromColor == clNone && ToColor != clNone ? ToColor : FromColor);
    Canvas->Rectangle(R);
    return;
  }
  int32_t F = ColorToRGB(FromColor), T = ColorToRGB(ToColor);
  int Size = Sub(Horizontal ? Sub(R.Right, R.Left) : Sub(R.Bottom, R.Top), 1);
  if (Steps > Size) Steps = Size;
  if (Steps < 1) Steps = 1;
  double Band = static_cast<double>(Size) / Steps;
  double DR = static_cast<double>(GetR(T) - GetR(F)) / Steps;
  double DG = static_cast<double>(GetG(T) - GetG(F)) / Steps;
  double DB = static_cast<double>(GetB(T) - GetB(F)) / Steps;
  for (int i = 0; i <= Steps; ++i) {
    PenAndBrush(Canvas, MakeRGB(static_cast<int>(GetR(F) + Round(i * DR)), static_cast<int>(GetG(F) + Round(i * DG)),
                                static_cast<int>(GetB(F) + Round(i * DB))));
    int Offset = static_cast<int>(Trunc(i * Band));
    int End = Add(Offset, static_cast<int>(Trunc(Band + 1)));
    if (Horizontal)
      Canvas->Rectangle(Add(R.Left, Offset), R.Top, std::min(R.Right, Add(R.Left, End)), R.Bottom);
    else
      Canvas->Rectangle(R.Left, Add(R.Top, Offset), R.Right, std::min(R.Bottom, Add(R.Top, End)));
  }
}

void FillMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                        TColor ColorMirrorTo, bool Vertical, TColor BorderColor, bool BorderSidesOnly, bool Fill) {
  if (Fill && Color != clNone) {
    if (ColorMirror == clNone && ColorTo == clNone) {
      PenAndBrush(Canvas, Color);
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Pen()->SetWidth(1);
      Canvas->Pen()->SetStyle(psSolid);
      Canvas->FillRect(TRect(R.Left, R.Top, R.Right, Add(R.Bottom, 1)));
    } else if (ColorMirror == clNone) {
      FillGradient(Canvas, Color, ColorTo, 128, R, !Vertical);
    } else {
      TRect First = R, Second = R;
      if (Vertical)
        First.Bottom = Second.Top = R.Top + Sub(R.Bottom, R.Top) / 2;
      else
        First.Right = Second.Left = R.Left + Sub(R.Right, R.Left) / 2;
      FillGradient(Canvas, Color, ColorTo, 128, First, !Vertical);
      FillGradient(Canvas, ColorMirror, ColorMirrorTo, 128, Second, !Vertical);
    }
  }
  if (BorderColor == clNone) return;
  if (!BorderSidesOnly) {
    SetBrushColor(Canvas, BorderColor);
    Canvas->FrameRect(R);
  } else {
    SetPenColor(Canvas, BorderColor);
    Canvas->MoveTo(R.Left, R.Top);
    Canvas->LineTo(R.Left, R.Bottom);
    Canvas->MoveTo(Sub(R.Right, 1), R.Top);
    Canvas->LineTo(Sub(R.Right, 1), R.Bottom);
  }
}

void DrawSelectionGradient(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo,
                           TColor TopLineColor, TColor BottomLineColor, TColor BorderColor, TColor EdgeColor,
                           TColor BackgroundColor, const TRect& R, uint8_t Style) {
  const bool CurveL = Style == 0 || Style == 1;
  const bool CurveR = Style == 0 || Style == 2;
  const int L = R.Left, T = R.Top, Rt = Sub(R.Right, 1), B = Sub(R.Bottom, 2);
  const int M = T + (B - T) / 2;
  auto Pixel = [Canvas](int X, int Y, TColor C) {
    if (C != clNone) Canvas->SetPixels(X, Y, C);
  };
  auto Line = [Canvas](int X1, int Y1, int X2, int Y2) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
  };

  SetPenColor(Canvas, TopLineColor);
  Line(L, T + 1, Rt, T + 1);
  if (CurveL) Line(L + 1, T + 1, L + 1, M);
  if (CurveR) Line(Rt - 2, T + 1, Rt - 2, M);

  SetPenColor(Canvas, BottomLineColor);
  Line(L, B - 1, Rt, B - 1);
  if (CurveL) Line(L + 1, M, L + 1, B - 1);
  if (CurveR) Line(Rt - 2, M, Rt - 2, B - 1);

  const int DL = CurveL ? 2 : 0, DR = CurveR ? 2 : 0;
  SetPenColor(Canvas, BorderColor);
  Line(L + DL, T, Rt - DR, T);
  Line(L + DL, B, Rt - DR, B);
  if (CurveR) Line(Rt - 1, T + 2, Rt - 1, B - 1);
  if (CurveL) Line(L, T + 2, L, B - 1);

  if (CurveL) {
    for (TPoint P : {TPoint{L + 1, T}, {L + 1, T + 1}, {L, T + 1}, {L + 1, B}, {L + 1, B - 1}, {L, B - 1}})
      Pixel(P.X, P.Y, EdgeColor);
    Pixel(L, T, BackgroundColor);
    Pixel(L, B, BackgroundColor);
  }
  if (CurveR) {
    for (TPoint P : {TPoint{Rt - 2, T}, {Rt - 2, T + 1}, {Rt - 1, T + 1}, {Rt - 2, B}, {Rt - 2, B - 1}, {Rt - 1, B - 1}})
      Pixel(P.X, P.Y, EdgeColor);
    Pixel(Rt - 1, T, BackgroundColor);
    Pixel(Rt - 1, B, BackgroundColor);
  }

  const TRect I(L + DL, T + 2, Rt - DR, B - 1);
  if (ColorTo == clNone) {
    PenAndBrush(Canvas, Color);
    Canvas->FillRect(I);
  } else if (ColorMirror == clNone) {
    FillGradient(Canvas, Color, ColorTo, 16, I, false);
  } else {
    const int Mid = I.Top + (I.Bottom - I.Top) / 2;
    FillGradient(Canvas, Color, ColorTo, 16, TRect(I.Left, I.Top, I.Right, Mid), false);
    FillGradient(Canvas, ColorMirror, ColorMirrorTo, 16, TRect(I.Left, Mid, I.Right, I.Bottom), false);
  }
}
