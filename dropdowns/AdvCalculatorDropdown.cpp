// The calculator drop-down: the keypad in the pop-up, the calculator's steps on the edit's
// display, and the keys typed into the edit or on the open pop-up.

#include "dropdowns/AdvCalculatorDropdown.h"

#include <cmath>
#include <limits>

#include "controls/AdvEdit.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace {
bool IsDigit(Char c) { return c >= u'0' && c <= u'9'; }
int Len(const String& s) { return static_cast<int>(s.size()); }
bool HasChar(const String& s, Char c) { return s.find(c) != String::npos; }
constexpr Char kBackspace = 8, kEnter = 13, kEscape = 27;
// Pending operators.
constexpr int32_t opNone = -1, opAdd = 0, opMultiply = 1, opSubtract = 2, opDivide = 3;
// FDecim stops growing here: a further decimal digit would take it past 32 bits.
constexpr int32_t kMaxDecim = std::numeric_limits<int32_t>::max() / 10;
}  // namespace

TAdvCalculatorDropdown::TAdvCalculatorDropdown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<TButtonAppearance>()) {
  SetDropDownColor(clWhite);
  SetDropDownWidth(230);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetEditType(etFloat);
  SetPrecision(2);
  FPrevop = opNone;
  FDecim = 0;
  FCalcClosed = true;
  FMVal = 0;
  // The base constructor styled the drop-down before the keypad's appearance existed.
  TakeButtonColors(GetComponentStyle());
  // The base constructor made only the window; the keypad comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvCalculatorDropdown::~TAdvCalculatorDropdown() = default;

// ---------------------------------------------------------------------------
// Properties

void TAdvCalculatorDropdown::SetShowThousandSeparator(bool Value) {
  if (Value == FShowThousandSeparator) return;
  FShowThousandSeparator = Value;
  SetEditType(Value ? etMoney : etFloat);
  SetValue(this->Value());
}

double TAdvCalculatorDropdown::Value() {
  if (Text().empty()) SetText(u"0");
  return DisplayValue();
}

void TAdvCalculatorDropdown::SetValue(double AValue) { SetText(Format(u"%g", {AValue})); }

void TAdvCalculatorDropdown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  TakeButtonColors(AStyle);
}

void TAdvCalculatorDropdown::TakeButtonColors(TZOLStyle AStyle) {
  if (!FCalcButtonAppearance) return;
  TAdvButtonAppearance* b = ButtonAppearance();
  TButtonAppearance* a = FCalcButtonAppearance.get();
  a->SetBorderColor(b->BorderColor());
  a->SetBorderColorHot(b->BorderColorHot());
  a->SetBorderColorDown(b->BorderColorDown());
  a->SetColor(b->Color());
  a->SetColorTo(b->ColorTo());
  a->SetColorDown(b->ColorDown());
  a->SetColorDownTo(b->ColorDownTo());
  a->SetColorHot(b->ColorHot());
  a->SetColorHotTo(b->ColorHotTo());
  if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
    a->SetGlowColorHot(b->ColorHot());
    a->SetGlowColorDown(b->ColorHot());
  } else {
    a->SetGlowColorDown(0x00D5C244);
    a->SetGlowColorHot(b->ColorDownTo());
  }
}

// ---------------------------------------------------------------------------
// The pop-up

void TAdvCalculatorDropdown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr) return;
  if (FAdvButtonPanel == nullptr) {
    FAdvButtonPanel = new TCustomButtonPanel(this);
    FAdvButtonPanel->SetParent(DropDownForm());
    FAdvButtonPanel->SetAdvDropDown(this);
    FAdvButtonPanel->SetHeight(150);
    FAdvButtonPanel->CreateButtons();
  }
  SetControl(FAdvButtonPanel);
  FAdvButtonPanel->OnButtonClick = [this](TObject* Sender, int Index) { CalcButtonClick(Sender, Index); };
}

void TAdvCalculatorDropdown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  // Clicking elsewhere keeps the result.
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeActivate(false);
  if (FAdvButtonPanel != nullptr) {
    FAdvButtonPanel->ButtonAppearance()->Assign(FCalcButtonAppearance.get());
    FAdvButtonPanel->SetColor(DropDownColor());
    // The keypad's own height sizes the window (placing it then makes it fill the window).
    FAdvButtonPanel->SetAlign(alNone);
    FAdvButtonPanel->SetBounds(0, 0, FAdvButtonPanel->Width(), 150);
    FAdvButtonPanel->ArrangeButtons();
    FAdvButtonPanel->Invalidate();
  }
  FNewval = true;
  FDecim = 0;
  FCalcClosed = false;
}

// ---------------------------------------------------------------------------
// The calculator's steps

double TAdvCalculatorDropdown::DisplayValue() const { return TextToFloat(Text()); }

bool TAdvCalculatorDropdown::ShowValue(double V) {
  if (!std::isfinite(V)) return false;
  SetFloatValue(V);
  return true;
}

void TAdvCalculatorDropdown::ApplyPending() {
  // 1.-2. "Error" and an empty display count as 0, and so does any text that is no number.
  const String t = Text();
  if (t.empty() || t == u"Error") SetText(u"0");
  const double x = DisplayValue();
  // 3.-4.
  double acc = x;
  switch (FPrevop) {
    case opAdd: acc = x + FPrevval; break;
    case opMultiply: acc = x * FPrevval; break;
    case opSubtract: acc = FPrevval - x; break;
    case opDivide:
      if (x == 0) {
        FPrevval = 0;
        SetText(u"Error");
        return;
      }
      acc = FPrevval / x;
      break;
    default: break;
  }
  if (!std::isfinite(acc)) acc = 0;
  FPrevval = acc;
  // 5. The next digit starts a new number, with its integer part.
  SetFloatValue(FPrevval);
  FNewval = true;
  FDecim = 0;
}

void TAdvCalculatorDropdown::DoOperator(int Op) {
  ApplyPending();
  FPrevop = Op;
}

void TAdvCalculatorDropdown::DoEquals() {
  ApplyPending();
  if (Text().empty()) SetText(u"0");
  FPrevop = opNone;
  if (Text() != u"Error") FPrevval = DisplayValue();
}

void TAdvCalculatorDropdown::DoPercent() {
  const String t = Text();
  if (t.empty() || t == u"Error") SetText(u"0");
  const double r = FPrevval * DisplayValue() / 100;
  if (std::isfinite(r)) SetText(Format(u"%g", {r}));
}

void TAdvCalculatorDropdown::ClearKey() {
  SetText(u"0");
  FPrevval = 0;
  FPrevop = opNone;
}

void TAdvCalculatorDropdown::CalcButtonClick(TObject*, int Index) {
  if (FAdvButtonPanel == nullptr || Index < 0 || Index >= FAdvButtonPanel->Buttons()->Count()) return;
  // 1.
  BeforeCalcAction();
  const int tag = FAdvButtonPanel->Buttons()->Items(Index)->Tag();
  // 2. Operators and clear keys end decimal entry.
  if ((tag >= 10 && tag <= 14) || (tag >= 16 && tag <= 18) || tag == 30 || tag == 32) FDecim = 0;
  // 3. A full display takes no further digit, sign or point.
  if (((tag >= 0 && tag <= 9) || tag == 14 || tag == 15) && MaxLength() > 0 && Len(Text()) >= MaxLength()) return;
  // 4.
  switch (tag) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: {
      const double lenient = GetFloatValue();
      if ((lenient == 0 && FDecim == 0) || FNewval) {
        SetText(IntToStr(tag));
        FNewval = false;
      } else if (FDecim <= 0) {
        ShowValue(lenient * 10 + tag);
      } else if (FDecim <= kMaxDecim) {
        // Each digit is added to the value read back from the display.
        const double v = lenient + double(tag) / FDecim;
        FDecim *= 10;
        ShowValue(v);
      }
      break;
    }
    case 10: DoOperator(opAdd); break;
    case 11: DoOperator(opSubtract); break;
    case 12: DoOperator(opMultiply); break;
    case 13: DoOperator(opDivide); break;
    case 14: {
      String t = Text();
      if (!t.empty() && t[0] == u'-') t.erase(0, 1);
      else t.insert(t.begin(), u'-');
      SetText(t);
      break;
    }
    case 15: {
      const Char dec = DecimalSeparatorChar();
      if (!HasChar(Text(), dec)) SetText(Text() + dec);
      FDecim = 10;
      if (FNewval) SetText(u"0");
      FNewval = false;
      break;
    }
    case 16: case 30: case 32: ClearKey(); break;
    case 17: DoEquals(); break;
    case 18: DoPercent(); break;
    case 31:
      if (FPrevop < 0) {
        String s = FloatToStr(GetFloatValue());
        if (!s.empty()) s.pop_back();
        SetText(s);
      }
      break;
    case 33: FMVal = 0; break;
    case 34: ShowValue(FMVal); break;
    case 35: FMVal = DisplayValue(); break;
    case 36:
      if (std::isfinite(FMVal + DisplayValue())) FMVal += DisplayValue();
      break;
    case 37: {
      const double v = GetFloatValue();
      if (v >= 0) ShowValue(std::sqrt(v));
      else SetText(u"Error");
      break;
    }
    case 38: {
      const double v = GetFloatValue();
      if (v != 0) ShowValue(1 / v);
      else SetText(u"Error");
      break;
    }
    default: break;
  }
  // 5. SetText cleared the modified flag; a calculation is a change of the user's.
  SetModified(true);
}

// ---------------------------------------------------------------------------
// Typed characters

void TAdvCalculatorDropdown::CalcKeyPress(Char& Key) {
  // 1. With the pop-up closed the operator keys act as calculator keys.
  if (FCalcClosed || (DropDownForm() != nullptr && !DropDownForm()->Visible())) {
    switch (Key) {
      case kEnter:
      case u'=': DoEquals(); break;
      case u'%': DoPercent(); break;
      case u'*': DoOperator(opMultiply); break;
      case u'+': DoOperator(opAdd); break;
      case u'-': DoOperator(opSubtract); break;
      case u'/': DoOperator(opDivide); break;
      case u'C':
      case u'c':
        SetText(u"0");
        FNewval = true;
        FDecim = 0;
        FPrevop = opNone;
        break;
      default: break;
    }
  }
  // 2. Only ASCII digits, the decimal separator and Backspace reach the text ("-" is always the
  // subtract operator, never also the sign).
  const Char dec = DecimalSeparatorChar();
  if (!(IsDigit(Key) || Key == dec || Key == kBackspace)) {
    Key = 0;
    return;
  }
  const int pre = Len(Prefix());
  // 3. A digit on "0" or after an operator starts a new number.
  if ((Text() == u"0" || FNewval) && IsDigit(Key)) {
    SetText(String(1, Key));
    Key = 0;
    Select(pre + 1, 0);
    FNewval = false;
    return;
  }
  // 4. Backspace on the last character leaves "0".
  if (Len(Text()) == 1 && Key == kBackspace) {
    SetText(u"0");
    Key = 0;
    Select(pre + 1, 0);
  }
  // 5. A decimal separator where the display has one goes on to the edit, which moves the
  // caret behind the display's separator.
}

void TAdvCalculatorDropdown::KeyPress(Char& Key) {
  if (!FInEditFilter) CalcKeyPress(Key);
  if (Key != 0) TAdvCustomDropDown::KeyPress(Key);
}

void TAdvCalculatorDropdown::WMChar(TWMKey& Message) {
  // The calculator has the character first; what is left goes through the edit's filter,
  // which calls KeyPress again for the edit's own part.
  Char key = static_cast<Char>(Message.CharCode());
  CalcKeyPress(key);
  Message.SetCharCode(key);
  if (key == 0) return;
  TScopeGuard done([this] { FInEditFilter = false; });
  FInEditFilter = true;
  TAdvCustomDropDown::WMChar(Message);
}

void TAdvCalculatorDropdown::DoCalcKey(Char Key) {
  BeforeCalcAction();
  const Char dec = DecimalSeparatorChar();
  if (Key == dec && !HasChar(Text(), dec)) SetText(Text() + dec);
  if (IsDigit(Key) && MaxLength() > 0 && Len(Text()) >= MaxLength()) return;
  switch (Key) {
    case kEnter:
      DoEquals();
      DoHideDropDown(false);
      break;
    case kEscape: DoHideDropDown(true); break;
    case u'%': DoPercent(); break;
    case u'*': DoOperator(opMultiply); break;
    case u'+': DoOperator(opAdd); break;
    case u'-': DoOperator(opSubtract); break;
    case u'/': DoOperator(opDivide); break;
    case u'=': DoEquals(); break;
    case u'C':
    case u'c':
      ClearKey();
      FNewval = true;
      FDecim = 0;
      break;
    default:
      if (IsDigit(Key) && (Text() == u"0" || FNewval)) FNewval = false;
      break;
  }
}

void TAdvCalculatorDropdown::DropDownFormKeyPress(Char& Key) {
  // Backspace acted on its key-down.
  if (Key != kBackspace) TAdvCustomDropDown::DropDownFormKeyPress(Key);
  DoCalcKey(Key);
}

void TAdvCalculatorDropdown::DropDownFormKeyDown(Word& Key, TShiftState Shift) {
  TAdvCustomDropDown::DropDownFormKeyDown(Key, Shift);
  if (Key == VK_TAB || Key == VK_F4) {
    DoHideDropDown(false);
  } else if (Key == VK_BACK) {
    // "Error" goes as a whole.
    String t = Text();
    if (t == u"Error") t.clear();
    if (!t.empty()) t.pop_back();
    SetText(t.empty() ? String(u"0") : t);
  }
}

// A click on the keypad may give it the keyboard: its keys are the pop-up's.
void TAdvCalculatorDropdown::DropDownControlKeyPress(Char& Key) { DropDownFormKeyPress(Key); }
void TAdvCalculatorDropdown::DropDownControlKeyDown(Word& Key, TShiftState Shift) { DropDownFormKeyDown(Key, Shift); }

// ---------------------------------------------------------------------------
// The edit's messages

void TAdvCalculatorDropdown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  TAdvCustomDropDown::WMKeyDown(Message);
  if (key == VK_DELETE && (Text().empty() || Text() == u"Error")) SetText(u"0");
}

void TAdvCalculatorDropdown::CMEnter(TMessage& Message) {
  if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TAdvCustomDropDown::CMEnter(Message);
}
