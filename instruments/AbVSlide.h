#pragma once
// The vertical slider: a trench with a knob, scales on both sides, a value box above and
// name lines below.

#include "instruments/_GClass.h"

enum TVSliderOption : uint8_t { opBevelOuter, opUnit, opValue, opName1, opName2, opScaleText };
using TVSliderOptions = Set<TVSliderOption>;

class TAbVSlider : public TAbAnalogCControl {
public:
  explicit TAbVSlider(TComponent* AOwner);
  ~TAbVSlider() override;
  String ClassName() const override { return u"TAbVSlider"; }

  TAbSBevel* BevelOuter() const { return FBevelOuter.get(); }
  TAbSBevel* BevelValue() const { return FBevelValue.get(); }
  int32_t ButtonSize() const { return FButtonSize; }
  void SetButtonSize(int32_t v);
  TColor ColorTrench() const { return FColorTrench; }
  void SetColorTrench(TColor v);
  TFont* FontValue() const { return FFontValue.get(); }
  void SetFontValue(TFont* v) { FFontValue->Assign(v); }
  const TVSliderOptions& Options() const { return FOptions; }
  void SetOptions(const TVSliderOptions& v);
  TScaleSettings* ScaleSettings() const { return FScaleSettings.get(); }

  // Layout figures of the last paint, for tests and descendants.
  const TRect& TrenchRect() const { return rSlide; }
  const TRect& MoveRect() const { return rMove; }
  const TRect& ValueRect() const { return rValue; }
  TPoint KnobCenter() const { return TPoint(rMove.Left + pCenter.X, rMove.Top + pCenter.Y); }
  bool IsTooSmall() const { return isToSmall; }

  void ParamChange(TObject* Sender) override;

protected:
  void Loaded() override;
  void Paint() override;
  void DoSlide(TShiftState Shift, int X, int Y, TPoint OldPos) override;
  void RefreshValue() override;

private:
  void DrawKnobAndValue(TCanvas* c);
  std::unique_ptr<TAbSBevel> FBevelOuter, FBevelValue;
  int32_t FButtonSize = 30;
  TColor FColorTrench = clGreen;
  int BtnHeight = 0, BtnWidth = 0;
  bool BtnDir = true;
  std::unique_ptr<TFont> FFontValue;
  TVSliderOptions FOptions{opBevelOuter, opUnit, opValue, opName1, opName2, opScaleText};
  std::unique_ptr<TScaleSettings> FScaleSettings;
  bool isToSmall = false;
  TPoint pCenter;
  std::unique_ptr<TBitmap> BmpSliderArea;
  TSize sValue, sUnit;
  TRect rValue, rSlide, rScale, rMove;
  bool BmpValid = false;
  bool InPaint = false;
};
