#pragma once
// Drawing and number routines shared by the instrument controls: gradient fills, LED
// shapes, colour blends, anchored and multi-line text, scale label lists, binary texts and
// small rectangle and point helpers. Rounding is half to even throughout.

#include <cstdint>

#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"

enum TGradientStyle : uint8_t {
  gsHorizontal1, gsHorizontal2, gsHorizontal3, gsVertical1, gsVertical2, gsVertical3,
  gsElliptic1, gsElliptic2, gsElliptic3, gsRectangle, gsDiamond1, gsDiamond2, gsTopLeft, gsTopRight
};
enum TLEDShape : uint8_t {
  sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle, sDiamondLeft, sDiamondRight
};
// Scoped (TLEDPos::lpLeft ...): the class library's label positions use the same names.
enum class TLEDPos : uint8_t { lpLeft, lpRight, lpTop, lpBottom };

// The executable's folder with a trailing delimiter.
const String& AppDir();

// ---- numbers and strings
// Binary digits, most significant first. Digits 0: as many as the set bits need (32 for a
// negative value); Digits n > 0: bits 0 to n, that is n + 1 characters.
String IntToBinStr(int32_t Value, int32_t Digits);
// Every '1' at position k from the right adds 2^k; other characters count as 0.
int32_t BinStrToInt(const String& S);
uint32_t BinStrToCardinal(const String& S);
String RemoveChar(const String& S, Char Ch);
int CountChar(const String& S, Char Ch);
// Item := S up to the first Sep, S := the rest after it (without Sep: all of S, S empty).
void SplitFirst(String& S, Char Sep, String& Item);
double Log10Real(double X);
double PowerOf(double Exponent, double Base);
double SnapToDecade(int& Exponent, double X);
int32_t RangeSpan(int32_t From, int32_t To);
int32_t MaxOf(int32_t A, int32_t B);
// Steps + 1 labels from ValueB down to ValueA, each followed by ';'.
String LinearLabelList(int Steps, const String& Format, float ValueA, float ValueB);
// Labels of 10^e for e between the exponents, each followed by ';'.
String LogLabelList(int ExpFrom, int ExpTo, int Steps, const String& Format, bool Descending);

// ---- geometry
bool PtInRectB(int X, int Y, const TRect& R);
bool PtInCircle(int X, int Y, const TRect& R);
void ShrinkRect(TRect& R, int N);
void ShrinkRect4(TRect& R, int L, int T, int Rt, int B);
TPoint RectCenter(const TRect& R);
TPoint RotatePoint(TPoint P, TPoint Center, bool Clockwise, double Angle);

// ---- text
void TextSizeHalf(TCanvas* Canvas, int& W, int& H, const String& Text, TPoint& Half);
void MaxItemWidth(TCanvas* Canvas, int& W, int& H, const String& List);
void MaxItemWidthSep(TCanvas* Canvas, int& W, int& H, Char Sep, const String& Text);
// One text output with (X, Y) at the anchor point (0 top-left .. 8 bottom-right).
void TextOutAnchored(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text);
// Lines separated by '|', the block placed by the anchor's vertical part.
void TextOutLines(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text, int LineGap);
void TextOutLines3D(TCanvas* Canvas, int X, int Y, int Anchor, const String& Text, bool Text3D,
                    TColor ColorBelow, TColor ColorAbove, TColor ColorText, int LineGap);

// ---- painting
// Step Step of Steps from ColorFrom towards ColorTo.
TColor BlendColor(TColor ColorFrom, TColor ColorTo, int Steps, int Step);
void GradientFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TGradientStyle Style, TColor ColorTo);
void DrawLEDShape(TCanvas* Canvas, const TRect& Rect, TLEDShape Shape, TColor Color, TColor BorderColor);
void DrawKnob(TCanvas* Canvas, TPoint Center, int Size, TColor Color, bool Horizontal);
// A 3D frame Width pixels wide: TopColor on the top and left, BottomColor on the bottom and
// right; Rect comes back shrunk by Width on each side.
void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
