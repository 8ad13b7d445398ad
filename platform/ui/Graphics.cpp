// Colours, fonts, pens and brushes of the class library.
#include <algorithm>
#include <cstring>

#include "platform/ui/Graphics_p.h"
#include "platform/win/QtBridge_p.h"

int32_t ColorToRGB(TColor Color) {
  if (Color == clNone) return clWhite;
  if (Color == clDefault) return clBlack;
  if ((static_cast<uint32_t>(Color) & 0xFF000000u) == 0xFF000000u)
    return static_cast<int32_t>(GetSysColor(Color & 0xFF));
  return Color & 0xFFFFFF;
}

static COLORREF ToRef(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// TFont

TFont::TFont() = default;

TFont::~TFont() {
  if (FHandle) DeleteObject(FHandle);
}

void TFont::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  TGraphicsObject::Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    size_t n = std::min<size_t>(FName.size(), LF_FACESIZE - 1);
    std::copy(FName.begin(), FName.begin() + n, lf.lfFaceName);
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONTW lf;
  if (!Value || GetObject(Value, sizeof lf, &lf) == 0) return;
  int n = 0;
  while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
  FName = String(lf.lfFaceName, n);
  FHeight = lf.lfHeight;
  FOrientation = lf.lfEscapement;
  FStyle.Clear();
  if (lf.lfWeight >= FW_SEMIBOLD) FStyle += fsBold;
  if (lf.lfItalic) FStyle += fsItalic;
  if (lf.lfUnderline) FStyle += fsUnderline;
  if (lf.lfStrikeOut) FStyle += fsStrikeOut;
  FCharset = lf.lfCharSet;
  BYTE pitch = lf.lfPitchAndFamily & 3;
  FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    FName = f->FName;
    FHeight = MulDiv(f->FHeight, FPixelsPerInch, f->FPixelsPerInch);
    FColor = f->FColor;
    FStyle = f->FStyle;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FOrientation = f->FOrientation;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

#define SETTER(Class, Name, Type, Field) \
  void Class::Name(Type Value) {         \
    if (Field == Value) return;          \
    Field = Value;                       \
    Changed();                           \
  }
SETTER(TFont, SetName, const String&, FName)
SETTER(TFont, SetHeight, int, FHeight)
SETTER(TFont, SetColor, TColor, FColor)
SETTER(TFont, SetStyle, const TFontStyles&, FStyle)
SETTER(TFont, SetCharset, TFontCharset, FCharset)
SETTER(TFont, SetPitch, TFontPitch, FPitch)
SETTER(TFont, SetOrientation, int, FOrientation)

// ---------------------------------------------------------------------------------------------
// TPen

TPen::~TPen() {
  if (FHandle) DeleteObject(FHandle);
}

void TPen::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  TGraphicsObject::Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(styles[FStyle], FWidth, ToRef(FColor));
  }
  return FHandle;
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

SETTER(TPen, SetColor, TColor, FColor)
SETTER(TPen, SetStyle, TPenStyle, FStyle)
SETTER(TPen, SetMode, TPenMode, FMode)
void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed();
}

// ---------------------------------------------------------------------------------------------
// TBrush

TBrush::~TBrush() {
  if (FHandle) DeleteObject(FHandle);
}

void TBrush::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  TGraphicsObject::Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle = CreatePatternBrush(FBitmap->Handle());
    } else if (FStyle == bsClear) {
      LOGBRUSH lb;
      lb.lbStyle = BS_NULL;
      FHandle = CreateBrushIndirect(&lb);
    } else if (FStyle == bsSolid) {
      FHandle = CreateSolidBrush(ToRef(FColor));
    } else {
      FHandle = CreateHatchBrush(FStyle - bsHorizontal + HS_HORIZONTAL, ToRef(FColor));
    }
  }
  return FHandle;
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (FColor == Value && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
SETTER(TBrush, SetStyle, TBrushStyle, FStyle)
SETTER(TBrush, SetBitmap, TBitmap*, FBitmap)
#undef SETTER
