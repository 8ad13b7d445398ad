#pragma once
// The hex-decimal conversion window: a number in decimal and in hexadecimal, each spinner
// following the other, and its 32 bits in binary, in groups of four.

#include <cstdint>

#include "controls/AdvEdit.h"
#include "instruments/AbNumEdit.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// The four bits of the low nibble, most significant first ("0101").
String NibbleToBits(uint8_t Value);
// High nibble, a blank, low nibble.
String ByteToBits(uint8_t B);
// High byte, a blank, low byte.
String WordToBits(uint16_t W);
// High word, a blank, low word: eight groups of four separated by single blanks.
String LongToBits(uint32_t N);

class TConversionForm1 : public TForm {
public:
  explicit TConversionForm1(TComponent* AOwner);
  ~TConversionForm1() override;
  String ClassName() const override { return u"TConversionForm1"; }

  TGroupBox* GroupBox1;
  TLabel* Label24;
  TAbNumSpin* AbNumSpin4;  // decimal
  TLabel* Label18;
  TAbNumSpin* AbNumSpin5;  // hexadecimal
  TAdvEdit* AdvEdit1;      // the binary line: a read-only styled edit, centred, labelled "Bin. "
  TSpeedButton* SpeedButton1;

  void AbNumSpin4ValueChanged(TObject* Sender);
  void AbNumSpin5ValueChanged(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);

private:
  void ShowBits(int32_t Value);
};

extern TConversionForm1* ConversionForm1;
