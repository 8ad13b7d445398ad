#pragma once
// Sub-objects and drawing routines of the Vr controls: the change-notifying persistent
// base, the low/high colour palette, the 3-D font, the text alignment table, and the
// caption, frame, tiling and image-and-text layout routines.

#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

enum TVrTextAlignment : uint8_t {
  vtaLeft, vtaCenter, vtaRight, vtaTopLeft, vtaTop, vtaTopRight, vtaBottomLeft, vtaBottom, vtaBottomRight
};
enum TVrImageTextLayout : uint8_t { ImageLeft, ImageRight, ImageTop, ImageBottom };
enum TVrFont3DStyle : uint8_t { f3dNone, f3dRaised, f3dSunken, f3dShadow };
using TVrByteInt = uint8_t;  // 0..255
using TVrMaxInt = int32_t;   // 1..2147483647

// Text drawing flags (DT_*) for each alignment; callers add DT_SINGLELINE.
extern const UINT VrTextAlignmentFlags[9];

// A sub-object that tells its owner of changes, except inside BeginUpdate/EndUpdate.
class TVrPersistent : public TPersistent {
public:
  String ClassName() const override { return u"TVrPersistent"; }
  void BeginUpdate() { ++FUpdateCount; }
  // Closes one bracket (never below 0), then notifies.
  void EndUpdate();
  TNotifyEvent OnChange;

protected:
  void Changed();

private:
  int32_t FUpdateCount = 0;
};

// A low/high colour pair; the lamp buttons show High when active.
class TVrPalette : public TVrPersistent {
public:
  String ClassName() const override { return u"TVrPalette"; }
  TColor Low() const { return FLow; }
  void SetLow(TColor Value);
  TColor High() const { return FHigh; }
  void SetHigh(TColor Value);
  // Low for Index <= 0, High otherwise.
  virtual TColor GetColors(int Index) const;
  // From another palette: both colours, one notification.
  void Assign(TPersistent* Source) override;
  // Recolours Bitmap in place: pixels of DarkColor become Low, then those of LightColor High.
  void ToBMP(TBitmap* Bitmap, TColor DarkColor, TColor LightColor) const;

private:
  TColor FLow = clGreen;
  TColor FHigh = clLime;
};

// Raised, sunken or shadowed text.
class TVrFont3D : public TVrPersistent {
public:
  String ClassName() const override { return u"TVrFont3D"; }
  TVrFont3DStyle Style() const { return FStyle; }
  void SetStyle(TVrFont3DStyle Value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  int32_t HighlightDepth() const { return FHighlightDepth; }
  void SetHighlightDepth(int32_t Value);
  int32_t ShadowDepth() const { return FShadowDepth; }
  void SetShadowDepth(int32_t Value);
  void Assign(TPersistent* Source) override;
  // Draws Text in R with the DT_* Flags: the effect copies first, then the text in the
  // canvas's font colour, which is left as it was.
  void Paint(TCanvas* Canvas, const TRect& R, UINT Flags, const String& Text) const;

private:
  TVrFont3DStyle FStyle = f3dNone;
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  int32_t FHighlightDepth = 1;
  int32_t FShadowDepth = 1;
};

// Draws Text in R with DrawText's DT_* Flags and the canvas's font and brush style.
void VrDrawText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags);
// Enabled: centred on one line. Disabled: embossed at R's top-left.
void DrawCaptionText(TCanvas* Canvas, const String& Text, const TRect& R, bool Enabled);
// Draws Width nested frames (top/left in TopColor, bottom/right in BottomColor) and
// shrinks R by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width);
// Draws Bitmap repeatedly from R's top-left until R is covered.
void TileBitmap(TCanvas* Canvas, const TRect& R, TGraphic* Bitmap);
// Places an image of ImageSize and Caption inside Client; Spacing and Margin -1 mean automatic.
void CalcImageTextLayout(TCanvas* Canvas, const TRect& Client, TRect& TextBounds, TPoint& ImagePos,
                         const TPoint& ImageSize, int Spacing, int Margin, TVrImageTextLayout Layout,
                         const String& Caption);
