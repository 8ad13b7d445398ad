#pragma once
// Test support for the tagged text renderer: one call's parameters with plain defaults and
// its outputs, and a white bitmap canvas whose pixels are probed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "controls/HtmlText.h"
#include "platform/ui/Graphics.h"

// A DrawHtmlText call: set what a case needs, then Draw.
struct THtmlCallArgs {
  TRect Rect{0, 0, 300, 100};
  TCustomImageList* Images = nullptr;
  int32_t HitX = -1000, HitY = -1000, FocusedAnchor = -1, HoveredAnchor = 0, ShadowOffset = 1;
  bool HitTestOnly = false, MeasureOnly = false, PrintMode = false, IgnoreColors = false, BlinkVisible = true,
       UnderlineOnHoverOnly = false, WordWrap = true, MouseButtonHeld = false;
  double PrintScale = 1.0;
  TColor AnchorColor = clBlue, HoverBackColor = clNone, HoverTextColor = clNone, ShadowColor = clGray;
  THTMLPictureCache* PictureCache = nullptr;
  TPictureContainer* PicContainer = nullptr;
  uint8_t BiDiMode = 0;

  // Outputs (and the in/out values as the caller passes them).
  String HitHref, PlainText, FocusedHref, HitTitle, ControlID, ControlValue, ControlType;
  int32_t TextWidth = -1, TextHeight = -1, AnchorCount = -1, HitAnchorIndex = -2;
  TRect HitAnchorRect{-1, -1, -1, -1}, HitControlRect{-1, -1, -1, -1};
  bool Result = false;

  bool Draw(TCanvas* Canvas, const String& Text) {
    Result = DrawHtmlText(Canvas, Text, Rect, Images, HitX, HitY, FocusedAnchor, HoveredAnchor, ShadowOffset,
                          HitTestOnly, MeasureOnly, PrintMode, IgnoreColors, BlinkVisible, UnderlineOnHoverOnly,
                          WordWrap, MouseButtonHeld, PrintScale, AnchorColor, HoverBackColor, HoverTextColor,
                          ShadowColor, HitHref, PlainText, FocusedHref, HitTitle, TextWidth, TextHeight, AnchorCount,
                          HitAnchorIndex, HitAnchorRect, HitControlRect, ControlID, ControlValue, ControlType,
                          PictureCache, PicContainer, nullptr, BiDiMode);
    return Result;
  }
};

// A white bitmap with a 10-point sans-serif font in black on a white solid brush.
struct THtmlSurface {
  TBitmap Bitmap;
  explicit THtmlSurface(int W = 320, int H = 120) : Bitmap(W, H) {
    TCanvas* C = Bitmap.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect(0, 0, W, H));
    C->Font()->SetName(u"Arial");
    C->Font()->SetSize(10);
    C->Font()->SetColor(clBlack);
  }
  TCanvas* C() { return Bitmap.Canvas(); }
  TColor At(int X, int Y) { return Bitmap.Canvas()->Pixels(X, Y); }
  // Pixels that are exactly Color inside R.
  int Count(TColor Color, TRect R) {
    R.Right = std::min(R.Right, Bitmap.Width());
    R.Bottom = std::min(R.Bottom, Bitmap.Height());
    int N = 0;
    for (int Y = std::max(0, R.Top); Y < R.Bottom; ++Y)
      for (int X = std::max(0, R.Left); X < R.Right; ++X) N += At(X, Y) == Color;
    return N;
  }
  int Count(TColor Color) { return Count(Color, TRect(0, 0, Bitmap.Width(), Bitmap.Height())); }
  // Pixels near a pure colour (text edges are smoothed): each channel within 96 of Color's.
  int CountNear(TColor Color, TRect R) {
    R.Right = std::min(R.Right, Bitmap.Width());
    R.Bottom = std::min(R.Bottom, Bitmap.Height());
    int N = 0;
    for (int Y = std::max(0, R.Top); Y < R.Bottom; ++Y)
      for (int X = std::max(0, R.Left); X < R.Right; ++X) {
        const TColor P = At(X, Y);
        bool Near = true;
        for (int Shift : {0, 8, 16}) Near = Near && std::abs(((P >> Shift) & 0xFF) - ((Color >> Shift) & 0xFF)) < 96;
        N += Near;
      }
    return N;
  }
  int CountNear(TColor Color) { return CountNear(Color, TRect(0, 0, Bitmap.Width(), Bitmap.Height())); }
  // Bounding box of the pixels that are not white inside R; empty when there is none.
  TRect Ink(TRect R) {
    R.Right = std::min(R.Right, Bitmap.Width());
    R.Bottom = std::min(R.Bottom, Bitmap.Height());
    TRect Box(R.Right, R.Bottom, R.Left, R.Top);
    for (int Y = std::max(0, R.Top); Y < R.Bottom; ++Y)
      for (int X = std::max(0, R.Left); X < R.Right; ++X)
        if (At(X, Y) != clWhite) {
          Box.Left = std::min(Box.Left, X);
          Box.Top = std::min(Box.Top, Y);
          Box.Right = std::max(Box.Right, X + 1);
          Box.Bottom = std::max(Box.Bottom, Y + 1);
        }
    return Box;
  }
  TRect Ink() { return Ink(TRect(0, 0, Bitmap.Width(), Bitmap.Height())); }
  // Width of a run as the renderer measures it, in the canvas's current font.
  int Width(const String& S) {
    TRect R(0, 0, 10000, 100);
    String T = S;
    DrawTextEx(C()->Handle(), T.data(), static_cast<int>(T.size()), &R, DT_SINGLELINE | DT_CALCRECT, nullptr);
    return R.Right;
  }
  int LineHeight() { return C()->TextHeight(u"gh"); }
};
