#include "instruments/VrClasses.h"

#include <utility>

const UINT VrTextAlignmentFlags[9] = {
    DT_LEFT | DT_VCENTER,   DT_CENTER | DT_VCENTER, DT_RIGHT | DT_VCENTER,
    DT_LEFT | DT_TOP,       DT_CENTER | DT_TOP,     DT_RIGHT | DT_TOP,
    DT_LEFT | DT_BOTTOM,    DT_CENTER | DT_BOTTOM,  DT_RIGHT | DT_BOTTOM};

// ---- TVrPersistent

void TVrPersistent::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TVrPersistent::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

// ---- TVrPalette

void TVrPalette::SetLow(TColor Value) {
  if (Value == FLow) return;
  FLow = Value;
  Changed();
}

void TVrPalette::SetHigh(TColor Value) {
  if (Value == FHigh) return;
  FHigh = Value;
  Changed();
}

TColor TVrPalette::GetColors(int Index) const { return Index <= 0 ? FLow : FHigh; }

void TVrPalette::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TVrPalette*>(Source)) {
    BeginUpdate();
    SetLow(src->Low());
    SetHigh(src->High());
    EndUpdate();
    return;
  }
  TVrPersistent::Assign(Source);
}

void TVrPalette::ToBMP(TBitmap* Bitmap, TColor DarkColor, TColor LightColor) const {
  if (Bitmap == nullptr || Bitmap->Empty()) return;
  // The masks come from the original pixels, so the second pass never sees the first's output.
  TBitmap original;
  original.Assign(Bitmap);
  const int32_t dark = ColorToRGB(DarkColor), light = ColorToRGB(LightColor);
  TCanvas* src = original.Canvas();
  TCanvas* dst = Bitmap->Canvas();
  for (auto [match, colour] : {std::pair{dark, FLow}, std::pair{light, FHigh}})
    for (int y = 0; y < Bitmap->Height(); ++y)
      for (int x = 0; x < Bitmap->Width(); ++x)
        if (ColorToRGB(src->Pixels(x, y)) == match) dst->SetPixels(x, y, colour);
}

// ---- TVrFont3D

void TVrFont3D::SetStyle(TVrFont3DStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TVrFont3D::SetHighlightColor(TColor Value) {
  if (Value == FHighlightColor) return;
  FHighlightColor = Value;
  Changed();
}

void TVrFont3D::SetShadowColor(TColor Value) {
  if (Value == FShadowColor) return;
  FShadowColor = Value;
  Changed();
}

void TVrFont3D::SetHighlightDepth(int32_t Value) {
  if (Value == FHighlightDepth) return;
  FHighlightDepth = Value;
  Changed();
}

void TVrFont3D::SetShadowDepth(int32_t Value) {
  if (Value == FShadowDepth) return;
  FShadowDepth = Value;
  Changed();
}

void TVrFont3D::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TVrFont3D*>(Source)) {
    BeginUpdate();
    SetStyle(src->Style());
    SetHighlightColor(src->HighlightColor());
    SetShadowColor(src->ShadowColor());
    SetHighlightDepth(src->HighlightDepth());
    SetShadowDepth(src->ShadowDepth());
    EndUpdate();
    return;
  }
  TVrPersistent::Assign(Source);
}

void TVrFont3D::Paint(TCanvas* Canvas, const TRect& R, UINT Flags, const String& Text) const {
  const TColor textColor = Canvas->Font()->Color();
  Canvas->Brush()->SetStyle(bsClear);
  auto drawAt = [&](TColor colour, int offset) {
    Canvas->Font()->SetColor(colour);
    TRect r(R.Left + offset, R.Top + offset, R.Right + offset, R.Bottom + offset);
    VrDrawText(Canvas, Text, r, Flags);
  };
  switch (FStyle) {
    case f3dRaised:
      drawAt(FShadowColor, FShadowDepth);
      drawAt(FHighlightColor, -FHighlightDepth);
      break;
    case f3dSunken:
      drawAt(FHighlightColor, FHighlightDepth);
      drawAt(FShadowColor, -FShadowDepth);
      break;
    case f3dShadow:
      drawAt(FShadowColor, FShadowDepth);
      break;
    case f3dNone:
      break;
  }
  if (FStyle != f3dNone) Canvas->Font()->SetColor(textColor);
  TRect r = R;
  VrDrawText(Canvas, Text, r, Flags);
}

// ---- Drawing routines

void VrDrawText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags) {
  static const std::pair<UINT, TTextFormats> kFormats[] = {
      {DT_CENTER, tfCenter},         {DT_RIGHT, tfRight},       {DT_VCENTER, tfVerticalCenter},
      {DT_BOTTOM, tfBottom},         {DT_WORDBREAK, tfWordBreak}, {DT_SINGLELINE, tfSingleLine},
      {DT_EXPANDTABS, tfExpandTabs}, {DT_NOCLIP, tfNoClip},     {DT_CALCRECT, tfCalcRect},
      {DT_NOPREFIX, tfNoPrefix}};
  TTextFormat format;
  for (auto [dt, tf] : kFormats)
    if (Flags & dt) format.Include(tf);
  String text = Text;
  Canvas->TextRect(R, text, format);
}

void DrawCaptionText(TCanvas* Canvas, const String& Text, const TRect& R, bool Enabled) {
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  if (Enabled) {
    VrDrawText(Canvas, Text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return;
  }
  r = TRect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
  Canvas->Font()->SetColor(clBtnHighlight);
  VrDrawText(Canvas, Text, r, 0);
  r = R;
  Canvas->Font()->SetColor(clBtnShadow);
  VrDrawText(Canvas, Text, r, 0);
}

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  --R.Bottom;
  --R.Right;
  for (int i = 0; i < Width; ++i) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({TPoint(R.Left, R.Bottom), TPoint(R.Left, R.Top), TPoint(R.Right, R.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom), TPoint(R.Left - 1, R.Bottom)});
    R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  ++R.Bottom;
  ++R.Right;
}

void TileBitmap(TCanvas* Canvas, const TRect& R, TGraphic* Bitmap) {
  if (Bitmap == nullptr || Bitmap->Empty()) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  if (w <= 0 || h <= 0) return;
  for (int x = R.Left; x < R.Right; x += w)
    for (int y = R.Top; y < R.Bottom; y += h) Canvas->Draw(x, y, Bitmap);
}

void CalcImageTextLayout(TCanvas* Canvas, const TRect& Client, TRect& TextBounds, TPoint& ImagePos,
                         const TPoint& ImageSize, int Spacing, int Margin, TVrImageTextLayout Layout,
                         const String& Caption) {
  const TPoint clientSize(Client.Width(), Client.Height());
  TextBounds = TRect();
  if (!Caption.empty()) {
    TextBounds = TRect(0, 0, clientSize.X, 0);
    VrDrawText(Canvas, Caption, TextBounds, DT_CALCRECT);
  }
  const TPoint textSize(TextBounds.Width(), TextBounds.Height());
  const bool horizontal = Layout == ImageLeft || Layout == ImageRight;
  TPoint textPos;

  // Cross axis: both centred.
  if (horizontal) {
    ImagePos.Y = (clientSize.Y - ImageSize.Y + 1) / 2;
    textPos.Y = (clientSize.Y - textSize.Y + 1) / 2;
  } else {
    ImagePos.X = (clientSize.X - ImageSize.X + 1) / 2;
    textPos.X = (clientSize.X - textSize.X + 1) / 2;
  }

  if (textSize.X == 0 || ImageSize.X == 0) Spacing = 0;

  // Main axis: automatic margin and spacing share out the free length.
  const int client = horizontal ? clientSize.X : clientSize.Y;
  const int image = horizontal ? ImageSize.X : ImageSize.Y;
  const int text = horizontal ? textSize.X : textSize.Y;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (client - (image + text)) / 3;
      Spacing = Margin;
    } else {
      Margin = (client - (image + Spacing + text) + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = ((client - (Margin + image)) - text) / 2;
  }

  int imageAt = 0, textAt = 0;
  if (Layout == ImageLeft || Layout == ImageTop) {
    imageAt = Margin;
    textAt = imageAt + image + Spacing;
  } else {
    imageAt = client - Margin - image;
    textAt = imageAt - Spacing - text;
  }
  if (horizontal) {
    ImagePos.X = imageAt;
    textPos.X = textAt;
  } else {
    ImagePos.Y = imageAt;
    textPos.Y = textAt;
  }

  ImagePos = TPoint(ImagePos.X + Client.Left, ImagePos.Y + Client.Top);
  TextBounds = Bounds(textPos.X + Client.Left, textPos.Y + Client.Top, textSize.X, textSize.Y);
}
