#pragma once
// The coloured latching button: a windowless two-state button with a face, bevel, glyph
// and a caption per state.

#include "instruments/_GClass.h"

enum TFlashOption : uint8_t { foGlyph, foText, foTextCol, foBtnCol };
using TFlashOptions = Set<TFlashOption>;
enum TCheckedOption : uint8_t { coGlyph, coText, coTextCol, coBtnCol, coBevel };
using TCheckedOptions = Set<TCheckedOption>;
enum TPosH : uint8_t { phLeft, phRight, phCenter };
enum TPosV : uint8_t { pvTop, pvBottom, pvCenter };
enum TPos : uint8_t { pLeft, pRight, pTop, pBottom };

class TAbColBitBtn : public TAbBinGControl {
public:
  explicit TAbColBitBtn(TComponent* AOwner);
  ~TAbColBitBtn() override;
  String ClassName() const override { return u"TAbColBitBtn"; }

  TAbBtnBevel* ButtonBevel() const { return FButtonBevel.get(); }
  TAbGradSettings* GradBtnFace() const { return FGradBtnFace.get(); }
  const TFlashOptions& FlashOptions() const { return FFlashOptions; }
  void SetFlashOptions(const TFlashOptions& v) { FFlashOptions = v; }
  const TCheckedOptions& CheckedOptions() const { return FCheckedOptions; }
  void SetCheckedOptions(const TCheckedOptions& v);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  int32_t NumGlyph() const { return FNumGlyph; }
  void SetNumGlyph(int32_t v);
  TColor ColorOff() const { return FColorOff; }
  void SetColorOff(TColor v);
  TColor ColorOn() const { return FColorOn; }
  void SetColorOn(TColor v);
  TColor ColorDisabled() const { return FColorDisabled; }
  void SetColorDisabled(TColor v);
  int32_t OffsetDown() const { return FOffsetDown; }
  void SetOffsetDown(int32_t v);
  int32_t OffsetX() const { return FOffsetX; }
  void SetOffsetX(int32_t v);
  int32_t OffsetY() const { return FOffsetY; }
  void SetOffsetY(int32_t v);
  bool Beveled() const { return FBeveled; }
  void SetBeveled(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t v);
  const String& TextOn() const { return FTextOn; }
  void SetTextOn(const String& v);
  const String& TextOff() const { return FTextOff; }
  void SetTextOff(const String& v);
  TColor TextColOn() const { return FTextColOn; }
  void SetTextColOn(TColor v);
  TColor TextColOff() const { return FTextColOff; }
  void SetTextColOff(TColor v);
  TColor TextColDisabled() const { return FTextColDisabled; }
  void SetTextColDisabled(TColor v);
  bool Text3D() const { return FText3D; }
  void SetText3D(bool v);
  TPosH PosHorizontal() const { return fPosHorizontal; }
  void SetPosHorizontal(TPosH v);
  TPosV PosVertical() const { return fPosVertical; }
  void SetPosVertical(TPosV v);
  TPos PosGlyph() const { return fPosGlyph; }
  void SetPosGlyph(TPos v);
  // The button's own enabled flag; mouse handling and drawing follow it alone.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) override;

protected:
  void Loaded() override;
  void Paint() override;
  void ParamChange(TObject* Sender) override;
  void StatusChanged() override;
  void Flash(bool State) override;
  void VisibleChanging() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Click() override;
  void DblClick() override;
  // Composes the button on the background snapshot and shows it.
  void Draw(bool stGlyph, bool stText, bool stTextCol, bool stBtn);

private:
  template <typename T>
  void StoreAndShow(T& field, const T& v) {
    if (field == v) return;
    field = v;
    StatusChanged();
  }
  void Compose(TCanvas* B, bool stGlyph, bool stText, bool stTextCol, bool stBtn);

  std::unique_ptr<TAbBtnBevel> FButtonBevel;
  TFlashOptions FFlashOptions{foGlyph, foText, foTextCol, foBtnCol};
  TCheckedOptions FCheckedOptions{coGlyph, coText, coTextCol, coBtnCol, coBevel};
  std::unique_ptr<TBitmap> FGlyph;
  int32_t FNumGlyph = 1;
  TColor FColorOff = clBtnFace;
  TColor FColorDisabled = 0xA0A0A0;
  TColor FColorOn = clBtnFace;
  int32_t FOffsetDown = 1;
  int32_t FOffsetX = 0, FOffsetY = 0;
  bool FBeveled = true;
  bool FTransparent = false;
  bool FFlat = false;
  int32_t FSpacing = 4;
  String FTextOn, FTextOff;
  TColor FTextColOn = clLime, FTextColOff = clBlack, FTextColDisabled = clBtnShadow;
  bool FText3D = true;
  bool FEnabled = true;
  std::unique_ptr<TAbGradSettings> FGradBtnFace;
  TPosH fPosHorizontal = phCenter;
  TPosV fPosVertical = pvCenter;
  TPos fPosGlyph = pLeft;
  bool FlashStatus = false;
  std::unique_ptr<TBitmap> BmpBackground;
  bool MouseInControl = false;
  bool Painting = false;
  bool InPaint = false;
};
