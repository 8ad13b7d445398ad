#pragma once
// The LED indicator: a lamp with a caption beside, above or below it.

#include "instruments/_GClass.h"

class TAbLED : public TAbBinGControl {
public:
  explicit TAbLED(TComponent* AOwner);
  ~TAbLED() override;
  String ClassName() const override { return u"TAbLED"; }

  TLED* LED() const { return FLED.get(); }
  TLEDPos LED_Position() const { return FLED_Position; }
  void SetLED_Position(TLEDPos Value);
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value);
  void SetName(const String& NewName) override;

protected:
  void Paint() override;
  void ParamChange(TObject* Sender) override;
  void StatusChanged() override;
  void Flash(bool State) override;

private:
  // The lamp's current look: the flash phase while checked and flashing, else Checked.
  bool LampOn() const { return FChecked && FFlashing ? FFlashState : FChecked; }
  std::unique_ptr<TLED> FLED;
  TLEDPos FLED_Position = TLEDPos::lpLeft;
  int32_t FSpacing = 5;
  bool Painting = false;
  bool FFlashState = true;
};
