#include "app/Conversion.h"

#include "app/FormBuilder.h"

TConversionForm1* ConversionForm1 = nullptr;

String NibbleToBits(uint8_t Value) {
  String s;
  for (int bit = 3; bit >= 0; --bit) s += (Value >> bit) & 1 ? u'1' : u'0';
  return s;
}

String ByteToBits(uint8_t B) { return NibbleToBits(static_cast<uint8_t>(B >> 4)) + u" " + NibbleToBits(B); }

String WordToBits(uint16_t W) {
  return ByteToBits(static_cast<uint8_t>(W >> 8)) + u" " + ByteToBits(static_cast<uint8_t>(W));
}

String LongToBits(uint32_t N) {
  return WordToBits(static_cast<uint16_t>(N >> 16)) + u" " + WordToBits(static_cast<uint16_t>(N));
}

namespace {

const int32_t MaxConvertible = 268435455;  // 0xFFFFFFF: seven hexadecimal digits

TAbNumSpin* MakeSpinner(TComponent* Owner, TWinControl* Parent, const String& Name, int Top, TEditBase Base,
                        int MaxLength, const String& Hint) {
  auto* s = Make<TAbNumSpin>(Owner, Parent, Name, 96, Top, 170, 24);
  s->SetEditBase(Base);
  s->SetMaxLength(MaxLength);
  s->SetFormatStr(u"#0.#");
  s->SetIncrement(1);
  s->SetMinValue(0);
  s->SetMaxValue(MaxConvertible);
  s->SetOptions({eoLimitMax, eoLimitMin});
  s->SetInterval(100);
  s->SetStartDelay(500);
  s->SetTabStop(false);
  s->SetColorDefault(clBtnFace);
  WithHint(s, Hint);
  return s;
}

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const String& Name, const String& Caption, int Top) {
  auto* l = Make<TLabel>(Owner, Parent, Name, 40, Top + 4, 50, 16);
  l->SetCaption(Caption);
  return l;
}

}  // namespace

TConversionForm1::TConversionForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"ConversionForm1");
  SetCaption(u"Hex - Decimal conversion");
  SetBorderStyle(bsToolWindow);
  SetClientWidth(424);
  SetClientHeight(183);

  GroupBox1 = Make<TGroupBox>(this, this, u"GroupBox1", 0, 0, 424, 183);
  GroupBox1->SetAlign(alClient);
  GroupBox1->SetCaption(String());

  Label24 = MakeLabel(this, GroupBox1, u"Label24", u"Dec.", 16);
  AbNumSpin4 = MakeSpinner(this, GroupBox1, u"AbNumSpin4", 16, ebInt, 9, u"Limit: 0..268435455(Dec.)");
  Label18 = MakeLabel(this, GroupBox1, u"Label18", u"Hex", 52);
  AbNumSpin5 = MakeSpinner(this, GroupBox1, u"AbNumSpin5", 52, ebHex, 7, u"Limit: 0..FFFFFFF(Hex)");

  AdvEdit1 = Make<TAdvEdit>(this, GroupBox1, u"AdvEdit1", 56, 92, 340, 21);
  AdvEdit1->SetReadOnly(true);
  AdvEdit1->SetBorderStyle(bsNone);
  AdvEdit1->SetTabStop(false);
  AdvEdit1->SetEditAlign(eaCenter);
  AdvEdit1->SetColor(clBtnFace);
  AdvEdit1->SetLabelCaption(u"Bin. ");
  AdvEdit1->SetLabelPosition(lpLeftCenter);
  AdvEdit1->SetLabelMargin(6);
  AdvEdit1->SetText(u" " + LongToBits(0) + u" ");
  WithHint(AdvEdit1, u"ﾊﾞｲﾅﾘ-表示します。");

  SpeedButton1 = Make<TSpeedButton>(this, GroupBox1, u"SpeedButton1", 162, 134, 100, 32);
  SpeedButton1->SetCaption(u"OK");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };

  AbNumSpin4->OnValueChanged = [this](TObject* s) { AbNumSpin4ValueChanged(s); };
  AbNumSpin5->OnValueChanged = [this](TObject* s) { AbNumSpin5ValueChanged(s); };
  EndLoading();
}

TConversionForm1::~TConversionForm1() { Destroying(); }

// Each spinner sets the other; a spinner ignores its own value, so the exchange stops there.
void TConversionForm1::AbNumSpin4ValueChanged(TObject*) {
  AbNumSpin5->SetValueAsHex(AbNumSpin4->ValueAsHex());
  ShowBits(AbNumSpin4->ValueAsInt());
}

void TConversionForm1::AbNumSpin5ValueChanged(TObject*) {
  AbNumSpin4->SetValue(AbNumSpin5->ValueAsInt());
  ShowBits(AbNumSpin5->ValueAsInt());
}

void TConversionForm1::ShowBits(int32_t Value) {
  // The spinners' limits keep the value from 0 to 0xFFFFFFF.
  AdvEdit1->Clear();
  AdvEdit1->SetText(u" " + LongToBits(static_cast<uint32_t>(Value)) + u" ");
}

void TConversionForm1::SpeedButton1Click(TObject*) { SetModalResult(mrOk); }
