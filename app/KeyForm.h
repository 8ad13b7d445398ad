#pragma once
// The hexadecimal key pad window, and the key pad parts the binary-code window shares with it:
// the entry typed on sixteen keys in hexadecimal or decimal, and the keys themselves.

#include <array>
#include <functional>

#include "instruments/AbNumEdit.h"
#include "instruments/VrButtons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

// Digits typed on a key pad, read as hexadecimal or decimal, never above a largest value.
class TKeyPadEntry {
public:
  explicit TKeyPadEntry(uint32_t AMax) : FMax(AMax) {}
  bool Hex() const { return FHex; }
  // Switching the mode empties the entry.
  void SetHex(bool Value);
  // Appends a digit ('0'..'9', 'A'..'F'); false, and nothing changes, for a digit the mode
  // has no use for or one that would take the value above the largest.
  bool Append(Char Digit);
  void Clear() { FText.clear(); }
  const String& Text() const { return FText; }
  uint32_t Value() const;

private:
  uint32_t FMax;
  bool FHex = true;
  String FText;
};

// The sixteen keys "0" .. "F" in four rows of four at (Left, Top); each hands its digit on.
std::array<TVrDemoButton*, 16> MakeKeyPad(TComponent* Owner, TWinControl* Parent, int Left, int Top,
                                          std::function<void(Char Digit)> OnDigit);
// The value of an entry in its two edits (hexadecimal and decimal, or decimal in both), the
// highlighted edit showing the mode; an empty entry empties both. The keys A to F serve
// only in hexadecimal.
void ShowKeyPadEntry(const TKeyPadEntry& Entry, TAbNumEdit* HexEdit, TAbNumEdit* DecEdit,
                     const std::array<TVrDemoButton*, 16>& Keys);
// Sets the result and closes the window, whether it is shown modally or not.
void CloseWithResult(TCustomForm* Form, TModalResult Result);

class TKeyForm1 : public TForm {
public:
  explicit TKeyForm1(TComponent* AOwner);
  ~TKeyForm1() override;
  String ClassName() const override { return u"TKeyForm1"; }

  TRadioGroup* RadioGroup1;  // "Mode": Hex, Decimal
  TAbNumEdit* AbNumEdit1;    // the entry in the mode's base
  TAbNumEdit* AbNumEdit2;    // the entry in decimal
  std::array<TVrDemoButton*, 16> KeyButtons{};
  TVrDemoButton* ClearButton;
  TVrDemoButton* OKButton;
  TVrDemoButton* CancelButton;

  // The entry text.
  String KeyText() const { return Entry.Text(); }

  void KeyClick(Char Digit);
  void RadioGroup1Click(TObject* Sender);
  void ClearButtonClick(TObject* Sender);
  void OKButtonClick(TObject* Sender);
  void CancelButtonClick(TObject* Sender);

private:
  TKeyPadEntry Entry{0x7FFFFFFF};
};

extern TKeyForm1* KeyForm1;
