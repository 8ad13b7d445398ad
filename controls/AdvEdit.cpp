// The styled edit: construction, loading, the value model, colours and focus.
#include "controls/AdvEdit.h"

#include <cmath>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Shell.h"

bool AdvEditDefaultHandling = true;

std::function<void(const String& URL)> TAdvEdit::OpenURLHook = [](const String& URL) {
  ShellExecute(nullptr, u"open", URL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
};

// ---------------------------------------------------------------------------
// Module routines

namespace {

Char DecimalSep() { return FormatSettings.DecimalSeparator; }
Char ThousandSep() { return FormatSettings.ThousandSeparator; }

bool IsDigit(Char c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(Char c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// Formats a number with "%." + Precision + Kind ('f' or 'n'), or "%g" for Kind 'g'.
String FormatNumber(long double v, int Precision, char Kind) {
  if (Kind == 'g') return Format(u"%g", {static_cast<double>(v)});
  String fmt = u"%." + IntToStr(Precision) + String(1, Char(Kind));
  return Format(fmt, {static_cast<double>(v)});
}

// The run-time library's integer reading of a text: leading blanks, a sign, '$' or "0x", and
// the digits up to the first character that does not belong to the number.
int32_t ValPrefix(const String& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) neg = s[i++] == u'-';
  int base = 10;
  if (i < s.size() && s[i] == u'$') base = 16, ++i;
  else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) base = 16, i += 2;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    Char c = s[i];
    int d = IsDigit(c) ? c - u'0' : (base == 16 && IsHexDigit(c)) ? (c | 0x20) - u'a' + 10 : -1;
    if (d < 0) break;
    v = v * base + d;
    if (v > 0xFFFFFFFFLL) break;
  }
  return static_cast<int32_t>(neg ? -v : v);
}

}  // namespace

bool IsWordDelimiter(Char c) {
  switch (c) {
    case u' ': case u'"': case u'$': case u'\'': case u')': case u'*': case u',': case u'-':
    case u'.': case u'/': case u':': case u'\\':
      return true;
    default:
      return false;
  }
}

bool IsRangeSeparator(Char c) { return c == u',' || c == u'-' || c == u';'; }

String EditInputText(const String& s) {
  String t;
  t.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const Char c = s[i];
    if (c < 32 || c == 127 || IsLowSurrogate(c)) continue;
    if (IsHighSurrogate(c)) {
      if (i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
        t += c;
        t += s[++i];
      }
      continue;
    }
    t += c;
  }
  return t;
}

int EditTextKind(const String& s) {
  bool isInt = !s.empty(), isFloat = !s.empty(), isHex = !s.empty();
  const Char dec = DecimalSep(), th = ThousandSep();
  int lastTh = -1;
  int minus = 0, decs = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    Char c = s[i];
    if (c == u'-') ++minus;
    if (c == dec) ++decs;
    if (!(c == u'-' || IsDigit(c))) isInt = false;
    if (!(c == u',' || c == u'-' || c == u'.' || IsDigit(c))) isFloat = false;
    if (c == th) {
      // Each thousand separator stands at least 3 places after the previous (the first after -1).
      if (static_cast<int>(i) - lastTh < 3 || (lastTh == -1 && i == 0)) isFloat = false;
      lastTh = static_cast<int>(i);
    }
    if (!(c == u'-' || IsHexDigit(c))) isHex = false;
  }
  int kind = 2;
  if (isHex && !isInt) kind = 5;
  if (isInt) kind = 0;
  else if (isFloat) kind = 1;
  if (minus > 1 || decs > 1) kind = 2;
  return kind;
}

String StripThousandSeparators(const String& s) {
  String r;
  r.reserve(s.size());
  const Char th = ThousandSep();
  for (Char c : s)
    if (c != th) r += c;
  return r;
}

long double EditTextToFloat(const String& s) {
  double v = 0;
  try {
    if (!TryStrToFloat(StripThousandSeparators(s), v)) return 0;
  } catch (...) {
    return 0;
  }
  return v;
}

int32_t HexTextToInt(const String& s) {
  uint32_t v = 0, pw = 1;
  for (size_t i = s.size(); i-- > 0;) {
    Char c = s[i];
    uint32_t d = IsDigit(c) ? c - u'0' : (c >= u'A' && c <= u'F') ? c - u'A' + 10 : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : 0;
    v += d * pw;
    pw *= 16;
  }
  return static_cast<int32_t>(v);
}

String EditMixedCase(const String& s) {
  String r = s;
  bool capital = true;
  const int n = Length(r);
  for (int i = 1; i <= n; ++i) {
    Char& c = r[static_cast<size_t>(i - 1)];
    if (IsWordDelimiter(c)) {
      capital = true;
    } else if (capital) {
      c = AnsiUpperCase(String(1, c))[0];
      capital = false;
    } else {
      c = AnsiLowerCase(String(1, c))[0];
    }
    if (Copy(r, 1, i) == u"Mc" || Copy(r, 1, i) == u"Mac") {
      capital = true;
    } else if (i > 2 && Pos(u" Mc", r) == i - 2) {
      capital = true;
    } else if (i > n - 3) {
      if (Copy(r, i - 1, 2) == u" I" || Copy(r, i - 2, 3) == u" II") capital = true;
    }
  }
  return r;
}

// ---------------------------------------------------------------------------
// TAdvEdit: construction and loading

TAdvEdit::TAdvEdit(TComponent* AOwner) : TCustomEdit(AOwner), FDefaultHandling(AdvEditDefaultHandling) {
  // A component made while its owner loads is part of what is loaded.
  if (AOwner != nullptr && AOwner->IsLoading()) SetComponentState(csLoading, true);
  FFontColor = Font()->Color();
  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
  FPersistence = std::make_unique<TPersistence>();
  FLookup = std::make_unique<TLookupSettings>();
  FPaintOver = true;
  FInputAsChars = true;  // composed text passes the type's filter too
  FLookupList = new TListHintWindow(this);
  FLookupList->SetBounds(0, 0, 0, 0);
  FLookupList->SetBorderWidth(1);
  FLookupList->SetControlStyle(FLookupList->ControlStyle() + csReplicatable);
  FLookupListBox = new TListBox(FLookupList);
  FLookupListBox->SetParent(FLookupList);
  FLookupListBox->SetAlign(alClient);
  FLookupListBox->SetStyle(lbOwnerDrawFixed);
  FLookupListBox->SetItemHeight(12);
  FLookupListBox->SetTabStop(true);
  FLookupListBox->SetTabOrder(0);
  FLookupListBox->SetControlStyle(FLookupListBox->ControlStyle() + csReplicatable);
  FLookupListBox->OnKeyPress = [this](TObject* s, Char& k) { LookupListKeyPress(s, k); };
  FLookupListBox->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    LookupListMouseUp(s, b, sh, x, y);
  };
  FLookupList->SetListControl(FLookupListBox);
}

TAdvEdit::~TAdvEdit() {
  Destroying();
  if (FLabel != nullptr) {
    FLabel->SetParent(nullptr);
    delete FLabel;
    FLabel = nullptr;
  }
  // The window goes now, while this part of the object still answers (it saves the value).
  DestroyHandle();
}

void TAdvEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FLabel) FLabel = nullptr;
    if (AComponent == FLookupList) FLookupList = nullptr, FLookupListBox = nullptr;
    if (AComponent == FLookupListBox) FLookupListBox = nullptr;
  }
}

void TAdvEdit::Loaded() {
  TCustomEdit::Loaded();
  Init();
  if (FLoadedHeight > 0) SetBounds(Left(), Top(), Width(), FLoadedHeight);
  LoadPersist();
  if (FLabel != nullptr && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
  UpdateLabel();
  if (FLabel != nullptr && ParentFont()) FLabel->Font()->Assign(Font());
  FParentFnt = ParentFont();
  UpdateLabel();
}

void TAdvEdit::Init() {
  FNormalColor = Color();
  FFontColor = Font()->Color();
  FOldBorder = BorderStyle();
  // The flat look is built from scratch.
  FFlat = !FFlat;
  SetFlat(!FFlat);
  UpdateLabel();
  if (!Enabled()) TControl::SetColor(FDisabledColor);
}

void TAdvEdit::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  if (FEditType != etPassword) Params.Style |= ES_MULTILINE;
  if (FEditAlign == eaRight) Params.Style = (Params.Style & ~ES_CENTER) | ES_RIGHT;
  if (FEditAlign == eaCenter) Params.Style = (Params.Style & ~ES_RIGHT) | ES_CENTER;
}

void TAdvEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  ApplyTextMargins(FFlat);
  // A window made again takes drops as the one before did.
  if (FOleDropTargetAssigned) {
    FOleDropTargetAssigned = false;
    SetOleDropTarget(true);
  }
}

void TAdvEdit::DestroyWnd() {
  // Every destruction of the window saves the value (also each re-creation).
  if (!IsLoading()) {
    try {
      SavePersist();
    } catch (Exception&) {
      if (Application != nullptr) Application->HandleException(this);
    }
  }
  TCustomEdit::DestroyWnd();
}

// ---------------------------------------------------------------------------
// Value model

String TAdvEdit::GetText() const {
  String s = TCustomEdit::GetText();
  if (!FPrefix.empty() && s.compare(0, FPrefix.size(), FPrefix) == 0) s.erase(0, FPrefix.size());
  // The suffix goes only when the text ends with it: other characters are never cut.
  if (!FSuffix.empty() && s.size() >= FSuffix.size() && s.compare(s.size() - FSuffix.size(), FSuffix.size(), FSuffix) == 0)
    s.erase(s.size() - FSuffix.size());
  return s;
}

void TAdvEdit::SetTextBuf(const String& v) { SetText(v); }

void TAdvEdit::SetWindowText(const String& s) {
  // Writing the text it holds changes nothing and is no change.
  if (s == WindowText()) return;
  TCustomEdit::SetTextBuf(s);
}

void TAdvEdit::SetText(const String& Value) {
  String v = Value;
  const bool numeric = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex;
  if (v.empty() && !FAllowNumericNullValue && numeric) v = u"0";
  if (FPrecisionDisplay == pdShortest && (FEditType == etFloat || FEditType == etMoney)) {
    v = FormatNumber(EditTextToFloat(v), 0, 'g');
  } else if (!v.empty() && (FPrecision > 0 || FEditType == etMoney)) {
    if (FEditType == etMoney) v = FormatNumber(EditTextToFloat(v), std::max<int>(0, FPrecision), 'n');
    else if (FEditType == etFloat) v = FormatNumber(EditTextToFloat(v), FPrecision, 'f');
  }
  if (FEditType == etHex) v = AnsiUpperCase(v);
  SetWindowText(FPrefix + v + FSuffix);
  SetModified(false);
  if (FShowURL) ApplyURLLook(IsURLText(v));
}

void TAdvEdit::SetPrefix(const String& Value) {
  String v = Text();
  FPrefix = Value;
  SetText(v);
}

void TAdvEdit::SetSuffix(const String& Value) {
  String v = Text();
  FSuffix = Value;
  SetText(v);
}

long double TAdvEdit::FloatValue() const {
  const String t = Text();
  switch (FEditType) {
    case etString: {
      TFormatSettings fs;
      fs.DecimalSeparator = u'.';
      double v = 0;
      return TryStrToFloat(t, v, fs) ? v : 0;
    }
    case etNumeric:
    case etFloat:
      return t.empty() || t == u"-" ? 0 : EditTextToFloat(t);
    case etMoney: {
      if (t.empty()) return 0;
      String s = StripThousandSeparators(t);
      if (!s.empty() && s.back() == DecimalSep()) s.pop_back();
      return s.empty() || s == u"-" ? 0 : EditTextToFloat(s);
    }
    case etHex:
      return t.empty() ? 0 : HexTextToInt(t);
    default:
      return 0;
  }
}

void TAdvEdit::SetFloatValue(long double Value) {
  switch (FEditType) {
    case etString:
    case etFloat:
      SetText(FPrecision < 0 ? FormatNumber(Value, 0, 'g') : FormatNumber(Value, FPrecision, 'f'));
      break;
    case etNumeric:
      SetText(FPrecision < 0 ? FormatNumber(Value, 0, 'g') : FormatNumber(Value, FPrecision, 'n'));
      break;
    case etMoney:
      SetText(FPrecision < 0 ? FormatNumber(Value, 0, 'g') : FormatNumber(Value, FPrecision, 'f'));
      ReformatMoney();
      break;
    case etHex: {
      // Truncated to a 64-bit integer; values beyond its range are held at its limits.
      long double t = std::trunc(Value);
      int64_t i = t >= 9.2e18L ? INT64_MAX : t <= -9.2e18L ? INT64_MIN : static_cast<int64_t>(t);
      SetText(IntToHex(i, 1));
      break;
    }
    default:
      break;
  }
  SetModified(true);
}

int32_t TAdvEdit::IntValue() const {
  switch (FEditType) {
    case etNumeric:
    case etFloat: return ValPrefix(Text());
    case etMoney: return ValPrefix(StripThousandSeparators(Text()));
    case etHex: return Text().empty() ? 0 : HexTextToInt(Text());
    default: return 0;
  }
}

void TAdvEdit::SetIntValue(int32_t Value) {
  switch (FEditType) {
    case etNumeric:
    case etFloat: SetText(IntToStr(Value)); break;
    case etMoney:
      SetText(IntToStr(Value));
      ReformatMoney();
      break;
    case etHex: SetText(IntToHex(Value, 1)); break;
    default: break;
  }
  SetModified(true);
}

void TAdvEdit::SetPrecision(int16_t Value) {
  if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
  if (Value == FPrecision) return;
  FPrecision = Value;
  if (Text().empty() && FAllowNumericNullValue) return;
  if (EditTextKind(Text()) > 1) SetFloatValue(0);
  else SetFloatValue(FloatValue());
}

void TAdvEdit::SetPrecisionDisplay(TPrecisionDisplay Value) {
  if (Value == FPrecisionDisplay) return;
  FPrecisionDisplay = Value;
  SetFloatValue(FloatValue());
}

void TAdvEdit::SetEditType(TAdvEditType Value) {
  if (Value == FEditType) return;
  const bool wasPassword = FEditType == etPassword;
  FEditType = Value;
  if (Value == etPassword) {
    SetPasswordChar(u'*');
    FCanUndo = false;
    UpdateWindowStyle();
    Perform(EM_SETRECTNP, 0, 0);  // a password edit keeps the native margins
  } else {
    SetPasswordChar(0);
    if (wasPassword) UpdateWindowStyle();
  }
  if (Text().empty() && FAllowNumericNullValue) return;
  const int k = EditTextKind(Text());
  if (Value == etNumeric && k != 0) SetIntValue(0);
  if ((Value == etFloat || Value == etMoney) && k > 1) SetFloatValue(0);
  if (Value == etHex && k != 0 && k != 5) SetIntValue(0);
}

void TAdvEdit::SetAutoThousandSeparator(bool Value) {
  FAutoThousandSeparator = Value;
  if (FEditType == etFloat || FEditType == etMoney) ReformatMoney();
}

void TAdvEdit::SetModified(bool Value) {
  if (IsLoading() || ReadOnly()) return;
  if (FShowModified) Font()->SetColor(Value ? FModifiedColor : FFontColor);
  FModified = Value;
  FIsModified = Value;
}

void TAdvEdit::SetIsError(bool Value) {
  if (IsLoading() || Value == FError) return;
  FError = Value;
  if (!FShowError) return;
  if (Value) {
    TControl::SetColor(FErrorColor);
    Font()->SetColor(FErrorFontColor);
  } else if (Focused()) {
    TControl::SetColor(FFocusColor != clNone ? FFocusColor : FNormalColor);
    if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
  } else {
    TControl::SetColor(FNormalColor);
    Font()->SetColor(FFontColor);
  }
}

void TAdvEdit::SetColor(TColor Value) {
  TControl::SetColor(Value);
  FNormalColor = Value;
}

void TAdvEdit::SetCanUndo(bool Value) {
  if (FEditType == etPassword) Value = false;
  if (Value == FCanUndo) return;
  FCanUndo = Value;
  UpdateWindowStyle();
  WiggleWidth();
}

void TAdvEdit::SetEditAlign(TEditAlign Value) {
  if (Value == FEditAlign) return;
  FEditAlign = Value;
  UpdateWindowStyle();
  ApplyTextMargins(FFlat);
  WiggleWidth();
}

String TAdvEdit::Version() const {
  const uint32_t v = static_cast<uint32_t>(GetVersionNr());
  return IntToStr(int32_t(v >> 24)) + u"." + IntToStr(int32_t((v >> 16) & 0xFF)) + u"." +
         IntToStr(int32_t((v >> 8) & 0xFF)) + u"." + IntToStr(int32_t(v & 0xFF));
}

bool TAdvEdit::ValidateValue(const String& Value) {
  if (FIsValidating) return true;
  FIsValidating = true;
  bool valid = true;
  try {
    FireValueValidate(Value, valid);
  } catch (...) {
    FIsValidating = false;
    throw;
  }
  FIsValidating = false;
  return valid;
}

void TAdvEdit::FireValueValidate(const String& Value, bool& IsValid) {
  if (OnValueValidate) OnValueValidate(this, Value, IsValid);
}

void TAdvEdit::Change() {
  TCustomEdit::Change();
  if (!IsLoading() && FShowError) SetIsError(!ValidateValue(Text()));
}

void TAdvEdit::SelectAll() {
  const int len = Length(Text());
  int start = 0;
  if (!FPrefix.empty() || !FSuffix.empty()) start = Length(FPrefix);
  if (FShowURL) {
    const String t = Text();
    if (int p = Pos(u"://", t); p > 0) start = p + 2;
    else if (int m = Pos(u"mailto:", t); m > 0) start = m + 6;
  }
  Select(start, len);
}

void TAdvEdit::SelectBeforeDecimal() {
  int p = Pos(DecimalSep(), Text());
  SetSelStart(p > 0 ? Length(FPrefix) + p - 1 : Length(FPrefix));
}

void TAdvEdit::SelectAfterDecimal() {
  int p = Pos(DecimalSep(), Text());
  SetSelStart(p > 0 ? Length(FPrefix) + p : Length(FPrefix));
}

void TAdvEdit::ReformatMoney() {
  String v = Text();
  const int n = Length(v);
  const int caret = HandleAllocated() ? SelStart() : 0;
  String sign;
  if (!v.empty() && v[0] == u'-') {
    sign = u"-";
    v.erase(0, 1);
  }
  String d;
  if (int p = Pos(DecimalSep(), v); p > 0) d = Copy(v, p, 255);
  long double a = std::fabs(FloatValue());
  long double t = std::trunc(a);
  double whole = t > 9.2e18L ? 9.2e18 : static_cast<double>(t);
  String i = Format(FAutoThousandSeparator ? u"%n" : u"%f", {whole});
  if (int p = Pos(DecimalSep(), i); p > 0) i = Copy(i, 1, p - 1);
  const String value = sign + i + d;
  int16_t saved = FPrecision;
  FPrecision = 0;
  FBlockChange = value != Text();
  SetWindowText(FPrefix + value + FSuffix);
  FBlockChange = false;
  FPrecision = saved;
  if (HandleAllocated()) {
    int pos = std::max(0, caret + Length(value) - n);
    SetSelStart(pos);
  }
}

// ---------------------------------------------------------------------------
// Focus

void TAdvEdit::WiggleWidth() {
  if (!HandleAllocated()) return;
  SetBounds(Left(), Top(), Width() + 1, Height());
  SetBounds(Left(), Top(), Width() - 1, Height());
}

void TAdvEdit::WMSetFocus(TWMSetFocus& Message) {
  if (IsLoading()) {
    TCustomEdit::WMSetFocus(Message);
    return;
  }
  TCustomEdit::WMSetFocus(Message);
  FOldString = Text();
  if (FFocusColor != clNone && ValidateValue(Text())) {
    TControl::SetColor(FFocusColor);
    if (FIsWinXP) WiggleWidth();
  }
  if (!((FError && FShowError) || FShowModified)) {
    if (FFontColor != Font()->Color()) FFontColor = Font()->Color();
    if (!(IsURLText(Text()) && FShowURL) && FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
  }
  if (AutoSelect()) SelectAll();
  if (FFocusLabel && FLabel != nullptr) FLabel->Font()->SetStyle(FLabel->Font()->Style() + fsBold);
  if (!FAlignChanging) {
    if (FFocusWidthInc > 0) SetBounds(Left(), Top(), Width() + FFocusWidthInc, Height());
    FOldEditAlign = FEditAlign;
    if (FFocusAlign != eaDefault && FFocusAlign != FEditAlign) {
      FAlignChanging = true;
      SetEditAlign(FFocusAlign);
      FAlignChanging = false;
    }
  }
  if ((!FEmptyText.empty() && Text().empty()) || FFocusBorder || FFocusBorderColor != clNone) {
    if (BorderStyle() == bsNone) ApplyTextMargins(true);
    Invalidate();
  }
}

void TAdvEdit::WMKillFocus(TWMKillFocus& Message) {
  if (IsLoading()) {
    TCustomEdit::WMKillFocus(Message);
    return;
  }
  HideLookup();
  if (!FError && Color() != FNormalColor) {
    TControl::SetColor(FNormalColor);
    if (FIsWinXP) WiggleWidth();
  }
  if (!((FError && FShowError) || FShowModified || (IsURLText(Text()) && FShowURL))) Font()->SetColor(FFontColor);
  if (FFocusLabel && FLabel != nullptr) FLabel->Font()->SetStyle(FLabel->Font()->Style() - fsBold);
  const bool isNumber = FEditType == etFloat || FEditType == etMoney;
  if (FPrecision > 0 && isNumber && !(Text().empty() && FAllowNumericNullValue)) {
    bool m = FIsModified;
    SetFloatValue(FloatValue());
    SetModified(m);
  }
  if (Text().empty() && !FAllowNumericNullValue) {
    if (FEditType == etNumeric) SetText(u"0");
    else if (isNumber) SetFloatValue(0);
  }
  ValidateValue(Text());
  TCustomEdit::WMKillFocus(Message);
  if (FFocusBorder) WiggleWidth();
  if (!FAlignChanging) {
    if (FFocusWidthInc > 0) SetBounds(Left(), Top(), Width() - FFocusWidthInc, Height());
    if (FEditAlign != FOldEditAlign && FFocusAlign != eaDefault) {
      FAlignChanging = true;
      SetEditAlign(FOldEditAlign);
      FAlignChanging = false;
    }
    if (!FEmptyText.empty() && Text().empty()) Invalidate();
    if (FLookup->Enabled() && FLookup->History()) {
      String v = Trim(Text());
      if (!v.empty()) FLookup->AddPair(v, String());
    }
    if (FFocusBorderColor != clNone || FBorderColor != clNone) Invalidate();
    if (FErrorMarkerLen > 0) Invalidate();
  }
}

// ---------------------------------------------------------------------------
// Enabled, parent, bounds, visibility

void TAdvEdit::SetEnabled(bool v) {
  if (v == Enabled()) return;
  const TColor before = Color();
  TCustomEdit::SetEnabled(v);
  if (IsLoading()) return;
  if (v) {
    TControl::SetColor(FNormalColor);
  } else {
    if (!FError) FNormalColor = before;
    TControl::SetColor(FDisabledColor);
  }
  if (FLabel != nullptr && !FLabelAlwaysEnabled) FLabel->SetEnabled(v);
  WiggleWidth();
}

void TAdvEdit::CMEnabledChanged(TMessage& Message) {
  TCustomEdit::CMEnabledChanged(Message);
  Invalidate();
}

void TAdvEdit::SetParent(TWinControl* AParent) {
  TCustomEdit::SetParent(AParent);
  if (FLabel != nullptr) {
    FLabel->SetParent(AParent);
    UpdateLabel();
  }
}

void TAdvEdit::SetVisible(bool v) {
  TCustomEdit::SetVisible(v);
  if (FLabel != nullptr) FLabel->SetVisible(v);
}

void TAdvEdit::CMTextChanged(TMessage& Message) { TCustomEdit::CMTextChanged(Message); }

void TAdvEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (IsLoading() && AHeight != Height()) FLoadedHeight = AHeight;
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel != nullptr && FLabel->Parent() != nullptr) UpdateLabel();
  ApplyTextMargins(FFlat);
}
