#pragma once
// Buttons with pictures: TBitBtn (a push button with a glyph and a standard kind) and
// TSpeedButton (a windowless button that can stay down, alone or in a group).
//
// Glyphs are strips of NumGlyphs images of equal width: up, disabled, clicked, down. Missing
// images are made from the first one (a disabled image is drawn embossed in grey). The colour of
// the bottom-left pixel is transparent.

#include <memory>

#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonStyle : uint8_t { bsAutoDetect, bsWin31, bsNew };
using TNumGlyphs = int;

// ---------------------------------------------------------------------------
// Bitmap button

enum TBitBtnKind : uint8_t { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  String ClassName() const override { return u"TBitBtn"; }

  // Setting a kind gives the button its caption, modal result and Default/Cancel role
  // (bkOK and bkYes are default buttons, bkCancel and bkNo cancel buttons). A bkClose button
  // closes its form when clicked.
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind v);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return FMargin; }
  void SetMargin(int v) { FMargin = v; }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int v);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle v) { FStyle = v; }

  void Click() override;

protected:
  void CreateWnd() override;

private:
  void ApplyGlyph();
  std::unique_ptr<TBitmap> FGlyph;
  TBitBtnKind FKind = bkCustom;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TButtonStyle FStyle = bsAutoDetect;
};

// ---------------------------------------------------------------------------
// Speed button: painted by its parent. A press shows it down; releasing over it clicks it.
// With a GroupIndex other than 0 a click leaves it down and raises the other buttons of the
// same parent and group; AllowAllUp lets a click raise the one that is down.

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  String ClassName() const override { return u"TSpeedButton"; }

  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool Down() const { return FDown; }
  void SetDown(bool v);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  // A flat button shows its edge only under the mouse or when down.
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  // Pixels between the edge and the glyph; -1 centres glyph and caption together.
  int Margin() const { return FMargin; }
  void SetMargin(int v);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // A face in the pressed look (the mouse is held on it, or it is down).
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // Raises the other down buttons of the group after this one went down.
  void UpdateExclusive();

  TButtonState FState = bsUp;
  bool FDragging = false;

private:
  std::unique_ptr<TBitmap> FGlyph;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  bool FMouseInControl = false;
};

// Draws the image Index (0 up, 1 disabled, 2 clicked, 3 down) of a glyph strip of NumGlyphs
// images at (X, Y); a missing disabled image is made from the first. Bottom-left is transparent.
void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, int NumGlyphs, int Index, int X, int Y);
// Width of one image of a glyph strip.
int ButtonGlyphWidth(TBitmap* Glyph, int NumGlyphs);
