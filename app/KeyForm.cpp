#include "app/KeyForm.h"

#include "app/FormBuilder.h"

TKeyForm1* KeyForm1 = nullptr;

namespace {
constexpr TColor HighlightColor = 0xC0FFFF;  // the edit that shows the mode's base
}

// ---- The key pad parts

void TKeyPadEntry::SetHex(bool Value) {
  FHex = Value;
  FText.clear();
}

bool TKeyPadEntry::Append(Char Digit) {
  int d = Digit >= u'0' && Digit <= u'9' ? Digit - u'0' : Digit >= u'A' && Digit <= u'F' ? Digit - u'A' + 10 : -1;
  int base = FHex ? 16 : 10;
  if (d < 0 || d >= base) return false;
  if (static_cast<uint64_t>(Value()) * base + d > FMax) return false;
  FText.push_back(Digit);
  return true;
}

uint32_t TKeyPadEntry::Value() const {
  uint64_t v = 0;
  for (Char c : FText) v = v * (FHex ? 16 : 10) + (c <= u'9' ? c - u'0' : c - u'A' + 10);
  return static_cast<uint32_t>(v);
}

std::array<TVrDemoButton*, 16> MakeKeyPad(TComponent* Owner, TWinControl* Parent, int Left, int Top,
                                          std::function<void(Char Digit)> OnDigit) {
  static const char16_t Digits[] = u"0123456789ABCDEF";
  std::array<TVrDemoButton*, 16> keys{};
  for (int i = 0; i < 16; ++i) {
    Char digit = Digits[i];
    // Laid out like a calculator: 0 to 3 on the bottom row, C to F on the top.
    int row = 3 - i / 4, col = i % 4;
    keys[i] = Make<TVrDemoButton>(Owner, Parent, u"KeyButton" + String(1, digit), Left + col * 38, Top + row * 32, 34, 28);
    keys[i]->SetCaption(String(1, digit));
    keys[i]->OnClick = [OnDigit, digit](TObject*) { OnDigit(digit); };
  }
  return keys;
}

void ShowKeyPadEntry(const TKeyPadEntry& Entry, TAbNumEdit* HexEdit, TAbNumEdit* DecEdit,
                     const std::array<TVrDemoButton*, 16>& Keys) {
  HexEdit->SetEditBase(Entry.Hex() ? ebHex : ebInt);
  for (TAbNumEdit* edit : {HexEdit, DecEdit}) {
    // An empty entry leaves the edit in its editing state: both states show the mode's colour.
    TColor colour = (edit == HexEdit) == Entry.Hex() ? HighlightColor : clWindow;
    edit->SetColorEditing(colour);
    edit->SetColorDefault(colour);
    if (Entry.Text().empty()) {
      edit->SetValue(0);
      edit->SetText(String());
    } else {
      edit->SetValue(Entry.Value());
    }
  }
  for (int i = 10; i < 16; ++i) Keys[i]->SetEnabled(Entry.Hex());
}

void CloseWithResult(TCustomForm* Form, TModalResult Result) {
  Form->SetModalResult(Result);
  if (!Form->Modal()) Form->Close();
}

// ---- The key pad window

namespace {
TAbNumEdit* EntryEdit(TForm* Form, const String& Name, int Top) {
  auto* edit = Make<TAbNumEdit>(Form, Form, Name, 168, Top, 144, 24);
  edit->SetEditBase(ebInt);
  edit->SetReadOnly(true);
  edit->SetAlignment(taRightJustify);
  return edit;
}
}  // namespace

TKeyForm1::TKeyForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"KeyForm1");
  SetCaption(u"HEX number input panel");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(320);
  SetClientHeight(200);

  KeyButtons = MakeKeyPad(this, this, 8, 8, [this](Char d) { KeyClick(d); });
  AbNumEdit1 = EntryEdit(this, u"AbNumEdit1", 8);
  AbNumEdit2 = EntryEdit(this, u"AbNumEdit2", 38);
  RadioGroup1 = Make<TRadioGroup>(this, this, u"RadioGroup1", 168, 68, 144, 44);
  RadioGroup1->SetCaption(u"Mode");
  RadioGroup1->SetColumns(2);
  RadioGroup1->Items()->AddStrings({u"Hex", u"Decimal"});
  RadioGroup1->SetItemIndex(0);
  RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };

  ClearButton = Make<TVrDemoButton>(this, this, u"ClearButton", 168, 120, 144, 28);
  ClearButton->SetCaption(u"Clear");
  ClearButton->OnClick = [this](TObject* s) { ClearButtonClick(s); };
  OKButton = Make<TVrDemoButton>(this, this, u"OKButton", 8, 158, 148, 30);
  OKButton->SetCaption(u"OK");
  OKButton->OnClick = [this](TObject* s) { OKButtonClick(s); };
  CancelButton = Make<TVrDemoButton>(this, this, u"CancelButton", 164, 158, 148, 30);
  CancelButton->SetCaption(u"Cancel");
  CancelButton->OnClick = [this](TObject* s) { CancelButtonClick(s); };
  ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
  EndLoading();
}

TKeyForm1::~TKeyForm1() { Destroying(); }

void TKeyForm1::KeyClick(Char Digit) {
  if (Entry.Append(Digit)) ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

void TKeyForm1::RadioGroup1Click(TObject*) {
  Entry.SetHex(RadioGroup1->ItemIndex() != 1);
  ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

void TKeyForm1::ClearButtonClick(TObject*) {
  Entry.Clear();
  ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

void TKeyForm1::OKButtonClick(TObject*) { CloseWithResult(this, mrOk); }
void TKeyForm1::CancelButtonClick(TObject*) { CloseWithResult(this, mrCancel); }
