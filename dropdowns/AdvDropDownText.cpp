// The drop-down edit's value text: edit types, prefix and suffix, number conversion, the
// character filter, the protected keys, clipboard, and formatting on entering and leaving.

#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/VevAzez.h"
#include "dropdowns/AdvDropDown.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {
bool IsDigit(Char c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiLetter(Char c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
int Len(const String& s) { return static_cast<int>(s.size()); }
// 1-based position of Ch in S, 0 when absent.
int PosOf(Char Ch, const String& S) {
  const size_t p = S.find(Ch);
  return p == String::npos ? 0 : static_cast<int>(p) + 1;
}
constexpr Char kBackspace = 8, kTab = 9, kEnter = 13, kEscape = 27;
}  // namespace

// ---------------------------------------------------------------------------
// Value text

String TAdvCustomDropDown::Text() const {
  String t = EditText();
  if (!FPrefix.empty() && t.compare(0, FPrefix.size(), FPrefix) == 0) t.erase(0, FPrefix.size());
  // The suffix goes only when the text ends with it (text written directly may not have it).
  if (!FSuffix.empty() && t.size() >= FSuffix.size() && t.compare(t.size() - FSuffix.size(), FSuffix.size(), FSuffix) == 0)
    t.erase(t.size() - FSuffix.size());
  return t;
}

void TAdvCustomDropDown::SetEditTextRaw(const String& Value) { TControl::SetText(Value); }

void TAdvCustomDropDown::SetText(const String& Value) {
  String v = Value;
  if (v.empty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
    v = u"0";
  if (FPrecision > 0 && !v.empty() && v != u"Error") {
    if (FEditType == etMoney) v = Format(u"%.*n", {int(FPrecision), TextToFloat(v)});
    else if (FEditType == etFloat) v = Format(u"%.*f", {int(FPrecision), TextToFloat(v)});
  }
  if (FEditType == etHex) v = AnsiUpperCase(v);
  SetEditTextRaw(FPrefix + v + FSuffix);
  FOldText = v;
  SetModified(false);
}

void TAdvCustomDropDown::SetTextDirect(const String& Value) { SetEditTextRaw(Value); }

double TAdvCustomDropDown::TextToFloat(const String& Text) const {
  double v = 0;
  if (!TryStrToFloat(StripThousandSeparators(Text), v, FormatSettings)) return 0;
  return v;
}

double TAdvCustomDropDown::GetFloatValue() {
  const String t = Text();
  switch (FEditType) {
    case etString: {
      // The runtime's locale-free reading: '.' is the decimal point; unreadable text is 0.
      TFormatSettings fs = FormatSettings;
      fs.DecimalSeparator = u'.';
      fs.ThousandSeparator = 0;
      double v = 0;
      return TryStrToFloat(t, v, fs) ? v : 0;
    }
    case etNumeric:
    case etFloat:
      if (t.empty() || t == u"Error" || t == u"-") return 0;
      return TextToFloat(t);
    case etMoney: {
      if (t.empty()) return 0;
      String s = StripThousandSeparators(t);
      if (!s.empty() && s.back() == DecimalSeparatorChar()) s.pop_back();
      if (s.empty() || s == u"-") return 0;
      return TextToFloat(s);
    }
    case etHex:
      return t.empty() ? 0 : HexToInt(t);
    default:
      return 0;
  }
}

void TAdvCustomDropDown::SetFloatValue(double X) {
  const int p = FPrecision;
  switch (FEditType) {
    case etString:
    case etFloat:
      SetText(p < 0 ? Format(u"%g", {X}) : Format(u"%.*f", {p, X}));
      break;
    case etNumeric:
      SetText(p < 0 ? Format(u"%g", {X}) : Format(u"%.*n", {p, X}));
      break;
    case etMoney:
      SetText(p < 0 ? Format(u"%g", {X}) : Format(u"%.*f", {p, X}));
      ApplyThousandSeparators();
      break;
    case etHex: {
      // Clamped into 32 bits before the fraction is cut (no undefined conversion).
      double c = std::isnan(X) ? 0 : std::clamp(X, double(std::numeric_limits<int32_t>::min()),
                                                   double(std::numeric_limits<int32_t>::max()));
      SetText(IntToHex(static_cast<int32_t>(std::trunc(c)), 0));
      break;
    }
    default:
      break;
  }
  SetModified(true);
}

void TAdvCustomDropDown::SetIntValue(int N) {
  switch (FEditType) {
    case etNumeric:
    case etFloat: SetText(IntToStr(N)); break;
    case etMoney:
      SetText(IntToStr(N));
      ApplyThousandSeparators();
      break;
    case etHex: SetText(IntToHex(int32_t(N), 0)); break;
    default: break;
  }
  SetModified(true);
}

void TAdvCustomDropDown::SetEditType(TDropDownEditType Value) {
  if (Value == FEditType) return;
  FEditType = Value;
  if (Value == etPassword) {
    SetPasswordChar(u'*');
    FCanUndo = false;
    if (HandleAllocated()) RecreateWnd();
  } else {
    SetPasswordChar(0);
  }
  const int c = ClassifyNumericText(Text());
  if (Value == etNumeric && c != 0) SetIntValue(0);
  else if ((Value == etFloat || Value == etMoney) && c > 1) SetFloatValue(0);
  else if (Value == etHex && c != 0 && c != 5) SetIntValue(0);
}

void TAdvCustomDropDown::SetPrecision(int Value) {
  if (Value == FPrecision) return;
  if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
  FPrecision = static_cast<int16_t>(Value);
  if (ClassifyNumericText(Text()) > 1) SetFloatValue(0);
  else SetFloatValue(GetFloatValue());
}

void TAdvCustomDropDown::SetModified(bool Value) {
  if (IsLoading() || !FEditorEnabled || ReadOnly()) return;
  TCustomMaskEdit::SetModified(Value);
  FIsModified = Value;
}

void TAdvCustomDropDown::SelectAll() {
  // Exactly the value text.
  Select(Len(FPrefix), Len(Text()));
}

void TAdvCustomDropDown::SelectBeforeDecimal() {
  const int p = PosOf(DecimalSeparatorChar(), Text());
  Select(p > 0 ? Len(FPrefix) + p - 1 : Len(FPrefix), 0);
}

void TAdvCustomDropDown::SelectAfterDecimal() {
  const int p = PosOf(DecimalSeparatorChar(), Text());
  Select(p > 0 ? Len(FPrefix) + p : Len(FPrefix), 0);
}

void TAdvCustomDropDown::ApplyThousandSeparators() {
  // 1.
  String v = Text();
  const int m0 = Len(v), c = SelStart();
  if (v.empty()) return;
  // 2.
  String sign;
  if (v[0] == u'-') {
    sign = u"-";
    v.erase(0, 1);
  }
  // 3. The whole fraction, separator included.
  String f;
  if (const size_t d = v.find(DecimalSeparatorChar()); d != String::npos) f = v.substr(d);
  // 4. The integer part, with separators when asked for.
  const double whole = std::trunc(std::fabs(GetFloatValue()));
  String i = Format(FAutoThousandSeparator ? u"%n" : u"%f", {whole});
  if (const size_t d = i.find(DecimalSeparatorChar()); d != String::npos) i.erase(d);
  // 5. The change this makes is not reported as the user's.
  const String edit = FPrefix + sign + i + f + FSuffix;
  FBlockChange = edit != EditText();
  SetEditTextRaw(edit);
  // 6. The caret keeps its distance from the end.
  Select(std::max(0, c + (Len(Text()) - m0)), 0);
}

// ---------------------------------------------------------------------------
// Helpers of the filter

// The 1-based position of the decimal separator in T without thousand separators (its length
// + 1 when it has none), one less for a sign: the count of integer digits plus one.
int TAdvCustomDropDown::IntegerPartLength(const String& T) const {
  const String s = StripThousandSeparators(T);
  int p = PosOf(DecimalSeparatorChar(), s);
  if (p == 0) p = Len(s) + 1;
  if (FSigned && IsNumericType() && T.find(u'-') != String::npos) --p;
  return p;
}

int TAdvCustomDropDown::DecimalSeparatorPos() const {
  const String v = Text();
  const int p = PosOf(DecimalSeparatorChar(), v);
  return p > 0 ? Len(FPrefix) + p : Len(FPrefix) + Len(v) + Len(FSuffix) + 1;
}

bool TAdvCustomDropDown::IsSignKey(Char K) const { return K == u'-' && FSigned && IsNumericType(); }

bool TAdvCustomDropDown::PrecisionReached(const String& Value, int Caret) const {
  const int d = Caret - Len(FPrefix);
  if (FPrecision <= 0 || Len(Value) - d > FPrecision) return false;
  const int s = PosOf(DecimalSeparatorChar(), Value);
  if (s == 0) return false;
  return d >= s && Len(Value) - s >= FPrecision;
}

bool TAdvCustomDropDown::ThousandSeparatorTooClose(const String& Value, int Caret) const {
  int b = Caret - Len(FPrefix);
  const Char sep = ThousandSeparatorChar();
  String v = Value;
  if (v.find(sep) == String::npos) return false;
  int m = Len(v);
  for (int q = PosOf(sep, v); q > 0; q = PosOf(sep, v)) {
    m = std::min(m, std::abs(q - b));
    if (std::abs(q - b) < 3) return true;
    if (q < b) b -= q;
    v.erase(0, static_cast<size_t>(q));
  }
  return m > 3;
}

String TAdvCustomDropDown::TextWithoutSelection(bool CharBeforeCaret) const {
  String v = Text();
  const int pre = Len(FPrefix);
  int s = SelStart() - pre, l = SelLength();
  if (l == 0) {
    if (CharBeforeCaret) --s;
    l = 1;
  }
  s = std::clamp(s, 0, Len(v));
  l = std::clamp(l, 0, Len(v) - s);
  v.erase(static_cast<size_t>(s), static_cast<size_t>(l));
  return v;
}

void TAdvCustomDropDown::SignKey() {
  const int c = SelStart(), pre = Len(FPrefix);
  const String v = Text();
  if (FEditType == etNumeric && SelLength() == Len(v) && SelStart() == pre && !v.empty()) {
    SetEditTextRaw(FPrefix + u"-" + FSuffix);
    Select(pre + 1, 0);
    return;
  }
  // The sign goes before or comes off the value; prefix and suffix stay where they are.
  if (v.find(u'-') == String::npos) {
    SetEditTextRaw(FPrefix + u"-" + v + FSuffix);
    Select(c + 1, 0);
    SetModified(true);
  } else {
    SetEditTextRaw(FPrefix + v.substr(1) + FSuffix);
    Select(c >= 1 && c > pre ? c - 1 : pre, 0);
    if (FEditType == etFloat || FEditType == etMoney) SetModified(true);
  }
}

// ---------------------------------------------------------------------------
// Typed characters

namespace {
// What became of a character: inserted by the filter, given to the edit as it is, or dropped.
enum class TCharFate { Insert, Native, Drop };
}  // namespace

void TAdvCustomDropDown::TypedChar(TWMKey& Message) {
  Char K = static_cast<Char>(Message.CharCode());
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const String v = Text();
  const int pre = Len(FPrefix);
  const int caret = SelStart(), sel = SelLength();
  auto drop = [&] { Message.SetCharCode(0); };
  // Inserts the (filtered) character in place of the selection, within MaxLength, after the
  // key-press handlers had their say; returns false when nothing went in.
  auto insert = [&](Char Ch) -> bool {
    Message.SetCharCode(Ch);
    if (DoKeyPress(Message)) return false;
    Ch = static_cast<Char>(Message.CharCode());
    Message.SetCharCode(0);
    if (Ch < 32) return false;
    if (MaxLength() > 0 && Len(EditText()) - SelLength() + 1 > MaxLength()) return false;
    TCustomMaskEdit::SetSelText(String(1, Ch));
    TCustomMaskEdit::SetModified(true);
    return true;
  };
  auto backspace = [&] {
    if (DoKeyPress(Message)) return;
    Message.SetCharCode(0);
    if (SelLength() > 0) {
      TCustomMaskEdit::SetSelText(String());
    } else if (SelStart() > 0) {
      Select(SelStart() - 1, 1);
      TCustomMaskEdit::SetSelText(String());
    }
    TCustomMaskEdit::SetModified(true);
  };
  // Hands a character to the edit's own handling (Tab, Enter, control characters) or the filter.
  auto pass = [&](Char Ch) {
    if (Ch == kBackspace) backspace();
    else if (Ch < 32) {
      Message.SetCharCode(Ch);
      TCustomMaskEdit::WMChar(Message);
    } else {
      insert(Ch);
    }
  };

  // 1. Typing over the whole value: the replacement is not a change of its own.
  if (sel > 0 && sel >= Len(v) && !v.empty()) FBlockChange = true;
  // 2. Enter.
  if (K == kEnter) {
    if (ctrl) {
      drop();
      Message.SetResult(1);
      return;
    }
    Char local = kEnter;
    if (OnKeyPress) OnKeyPress(this, local);
    drop();
    if (!FDefaultHandling && Parent() != nullptr) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      TCustomForm* form = GetParentForm(this);
      if (form == nullptr || !form->KeyPreview()) PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    return;
  }
  // 3-4. Escape.
  if (K == kEscape) {
    if (!FDefaultHandling && Parent() != nullptr) {
      TCustomForm* form = GetParentForm(this);
      if (form != nullptr && form->KeyPreview()) {
        TCustomMaskEdit::WMChar(Message);
        return;
      }
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    // Escape types nothing: it neither goes through the edit type nor marks the text modified.
    TCustomMaskEdit::WMChar(Message);
    return;
  }
  // 5. Clipboard keys.
  if (ctrl && (K == 3 || K == 22 || K == 24)) {
    TCustomMaskEdit::WMChar(Message);
    return;
  }
  // 6. The keypad's '.' and ',' type the decimal separator.
  if (FExcelStyleDecimalSeparator && (K == u'.' || K == u',') && (Message.KeyData() & 0x00400000) != 0)
    K = DecimalSeparatorChar();
  // 7. Backspace does not eat into the prefix.
  if (K == kBackspace && !FPrefix.empty() && caret <= pre && sel == 0) {
    drop();
    return;
  }
  // 8. The digit limit before the decimal separator.
  if (FLengthLimit > 0 && IntegerPartLength(v) > FLengthLimit && sel == 0 && caret < DecimalSeparatorPos() &&
      K != kBackspace && K != DecimalSeparatorChar() && !IsSignKey(K)) {
    drop();
    return;
  }
  // 9. Backspace.
  if (K == kBackspace) {
    const bool wouldStay = !TextWithoutSelection(true).empty();
    backspace();
    if (Text().empty() && wouldStay) Change();
    return;
  }
  // 10.
  if (ctrl && K == 10) {
    drop();
    return;
  }
  if (K == u'-' && IsNumericType() && !FSigned) {
    drop();
    return;
  }

  const Char dec = DecimalSeparatorChar(), thou = ThousandSeparatorChar();
  const String selText = SelText();
  const bool selHasDec = selText.find(dec) != String::npos;
  const bool valHasDec = v.find(dec) != String::npos;
  auto modifiedAfter = [&] {
    if (Modified()) SetModified(true);
  };
  // Float and money: a separator too close to another, all decimals typed (a digit then
  // replaces the next one), a leading separator (becomes "0" and the separator). True when
  // the character was dealt with.
  auto separatorAndDecimals = [&]() -> bool {
    if ((K == thou || K == dec) && ThousandSeparatorTooClose(v, caret)) {
      drop();
      return true;
    }
    if (PrecisionReached(v, caret) && (IsDigit(K) || K == dec) && sel == 0) {
      const int s = PosOf(dec, v);
      if (!(FPrecision >= 1 && caret - pre >= s && IsDigit(K) && caret - pre < Len(v))) {
        drop();
        return true;
      }
      Select(caret, 1);
    }
    if (caret == 0 && v.empty() && K == dec) {
      drop();
      SetEditTextRaw(String(u"0") + dec);
      Select(2, 0);
      SetModified(true);
      return true;
    }
    return false;
  };
  switch (FEditType) {
    case etString:
    case etPassword:
      SetModified(true);
      pass(K);
      break;
    case etNumeric:
      if (K == u'-') {
        drop();
        SignKey();
        return;
      }
      if (K == kBackspace || K == kTab || K == kEnter || IsDigit(K) || ctrl) pass(K);
      else drop();
      break;
    case etFloat: {
      if (K == u',' && dec != u',' && thou != u',') { drop(); return; }
      if (K == u'.' && dec != u'.' && thou != u'.') { drop(); return; }
      if (!(K == kBackspace || K == kTab || K == kEnter || K == u',' || K == u'-' || K == u'.' || IsDigit(K))) {
        drop();
        return;
      }
      // (a) A second decimal separator, or one where no decimals are allowed.
      if (K == dec && !selHasDec && (valHasDec || FPrecision == 0)) {
        if (FPrecision > 0) SelectAfterDecimal();
        drop();
        return;
      }
      // (b)
      if (K == u',' && v.find(u',') != String::npos && selText.find(u',') == String::npos && thou != u',') {
        drop();
        return;
      }
      // (c)-(e)
      if (separatorAndDecimals()) return;
      // (f)
      if (K == u'-' && SelLength() == 0) {
        drop();
        SignKey();
        return;
      }
      pass(K);
      modifiedAfter();
      break;
    }
    case etUppercase:
      pass(AnsiUpperCase(String(1, K))[0]);
      modifiedAfter();
      break;
    case etLowerCase:
      pass(AnsiLowerCase(String(1, K))[0]);
      modifiedAfter();
      break;
    case etMixedCase: {
      if (K >= 32) {
        if (insert(K)) {
          // The value is re-cased; prefix and suffix stay as they are.
          const int c = SelStart();
          const String e = EditText();
          const bool prefixed = !FPrefix.empty() && e.starts_with(FPrefix);
          const bool suffixed = !FSuffix.empty() && e.ends_with(FSuffix);
          SetEditTextRaw((prefixed ? FPrefix : String()) + ToMixedCase(Text()) + (suffixed ? FSuffix : String()));
          Select(c, 0);
        }
      } else {
        pass(K);
      }
      modifiedAfter();
      break;
    }
    case etMoney: {
      // (a)
      if (K == dec && (valHasDec || FPrecision == 0)) {
        if (FPrecision > 0) {
          if (sel > 0 && sel >= Len(v)) SetText(String(u"0") + dec + u"0");
          SelectAfterDecimal();
        }
        drop();
        return;
      }
      if (!(K == kBackspace || K == kTab || K == kEnter || K == u'-' || IsDigit(K) || K == dec)) {
        drop();
        return;
      }
      // (b)-(d)
      if (separatorAndDecimals()) return;
      // (e)
      if (K == u'-' && SelLength() == 0) {
        drop();
        SignKey();
        SetModified(true);
        return;
      }
      // (f)
      pass(K);
      const String now = Text();
      if (!now.empty() && now != u"-") {
        if (K == dec) return;
        modifiedAfter();
        ApplyThousandSeparators();
      }
      break;
    }
    case etRange:
      if (K == kBackspace || K == kTab || K == kEnter || K == u',' || K == u'-' || IsDigit(K) || K == u';') {
        SetModified(true);
        if (IsRangeSeparator(K)) {
          const String e = EditText();
          const bool before = caret > 0 && caret - 1 < Len(e) && IsRangeSeparator(e[static_cast<size_t>(caret - 1)]);
          const bool at = caret < Len(e) && IsRangeSeparator(e[static_cast<size_t>(caret)]);
          if (caret <= pre || before || at) {
            drop();
            return;
          }
        }
        pass(K);
      } else {
        drop();
      }
      break;
    case etHex:
      if (K == kBackspace || K == kTab || K == kEnter || K == u'-' || IsDigit(K) || (K >= u'A' && K <= u'F') ||
          (K >= u'a' && K <= u'f')) {
        SetModified(true);
        pass(K);
      } else {
        drop();
      }
      break;
    case etAlphaNumeric:
      if (K == kBackspace || K == kTab || K == kEnter || IsDigit(K) || IsAsciiLetter(K)) {
        SetModified(true);
        pass(K);
      } else {
        drop();
      }
      break;
    case etValidChars:
      if (K == kBackspace || FValidChars.find(K) != String::npos) {
        SetModified(true);
        pass(K);
      } else {
        drop();
      }
      break;
  }
}

void TAdvCustomDropDown::WMChar(TWMKey& Message) {
  if (!FEditorEnabled) {
    Message.SetCharCode(0);
    return;
  }
  TypedChar(Message);
}

// ---------------------------------------------------------------------------
// Keys that protect the prefix and the suffix

bool TAdvCustomDropDown::ProtectKey(Word& Key, TShiftState Shift) {
  const int pre = Len(FPrefix), n = Len(Text());
  // The end of the value, counted from the start of the edit text.
  const int end = pre + n;
  const int caret = SelStart(), e = caret + SelLength();
  const bool shift = Shift.Contains(ssShift);
  switch (Key) {
    case VK_RIGHT:
      if (!FSuffix.empty() && e >= end && !shift) return false;
      break;
    case VK_DELETE:
      if (!FSuffix.empty() && e >= end && SelLength() == 0) return false;
      if (caret >= pre && FLengthLimit > 0 && IntegerPartLength(TextWithoutSelection(false)) - 1 > FLengthLimit)
        return false;
      SetModified(true);
      break;
    case VK_LEFT:
      if (!FPrefix.empty() && pre >= e && !shift) return false;
      if (!FPrefix.empty() && pre >= caret && shift) return false;
      break;
    case VK_END:
      if (FSuffix.empty()) break;
      if (shift) Select(caret, end - caret);
      else Select(end, 0);
      return false;
    case VK_HOME:
      if (FPrefix.empty()) break;
      if (shift) Perform(EM_SETSEL, WPARAM(end), LPARAM(pre));
      else Select(pre, 0);
      return false;
    case VK_BACK:
      if (!FPrefix.empty()) {
        if (caret <= pre && SelLength() == 0) return false;
        SetModified(true);
      }
      break;
    default:
      break;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Clipboard

void TAdvCustomDropDown::WMPaste(TMessage& Message) {
  Message.Result = 0;
  // 1.
  if (ReadOnly() || !FEditorEnabled) return;
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  PasteText(Clipboard()->AsText());
}

void TAdvCustomDropDown::PasteText(const String& clip) {
  // 2. The text in place of the selection of the value.
  const String v = Text();
  const int pre = Len(FPrefix);
  const int s = std::clamp(SelStart() - pre, 0, Len(v));
  const int l = std::clamp(SelLength(), 0, Len(v) - s);
  const String merged = v.substr(0, size_t(s)) + clip + v.substr(size_t(s + l));
  const int newCaret = pre + s;
  const int newSel = l > 0 ? Len(clip) : 0;
  const int caretAfter = l > 0 ? newCaret : newCaret + Len(clip);
  // 3.
  bool allow = true;
  if (OnClipboardPaste) OnClipboardPaste(this, merged, allow);
  if (!allow) return;
  // 4. The whole edit text stays within MaxLength.
  if (MaxLength() > 0 && Len(clip) + Len(EditText()) - l > MaxLength()) return;
  // 5.
  switch (FEditType) {
    case etString:
    case etPassword: SetText(merged); break;
    case etNumeric:
      if (ClassifyNumericText(merged) == 0 && (FSigned || merged.find(u'-') == String::npos)) {
        SetText(merged);
        SetModified(true);
      }
      break;
    case etFloat:
    case etMoney:
      if (ClassifyNumericText(merged) > 1) break;
      if (FPrecision == 0 && clip.find(DecimalSeparatorChar()) != String::npos) break;
      if (FSigned || merged.find(u'-') == String::npos) {
        SetText(merged);
        SetFloatValue(GetFloatValue());
        SetModified(true);
      }
      break;
    case etUppercase: SetText(AnsiUpperCase(merged)); break;
    case etMixedCase: SetText(ToMixedCase(merged)); break;
    case etLowerCase: SetText(AnsiLowerCase(merged)); break;
    case etAlphaNumeric:
      if (std::all_of(merged.begin(), merged.end(), [](Char c) { return IsDigit(c) || IsAsciiLetter(c); })) {
        SetText(merged);
        SetModified(true);
      }
      break;
    case etValidChars:
      if (std::all_of(merged.begin(), merged.end(), [this](Char c) { return FValidChars.find(c) != String::npos; })) {
        SetText(merged);
        SetModified(true);
      }
      break;
    case etRange:
    case etHex: break;
  }
  // 6. Caret, also after a refusal.
  if (FEditType == etMoney && Len(Text()) > 3) {
    SelectAll();
  } else {
    const int len = Len(EditText());
    if (newSel > 0) Select(std::min(newCaret, len), std::min(newSel, std::max(0, len - newCaret)));
    else Select(std::min(caretAfter, len), 0);
  }
  // 7.
  if (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase || FEditType == etLowerCase ||
      FEditType == etPassword)
    SetModified(true);
}

void TAdvCustomDropDown::WMCut(TMessage& Message) {
  if (!FEditorEnabled || ReadOnly()) {
    Message.Result = 0;
    return;
  }
  bool allow = true;
  // A cut raises only the cut event, not also the copy event.
  TScopeGuard unblock([this] { FBlockCopy = false; });
  FBlockCopy = true;
  if (OnClipboardCut) {
    const String v = Text();
    const int s = std::clamp(SelStart() - Len(FPrefix), 0, Len(v));
    OnClipboardCut(this, v.substr(size_t(s), size_t(std::clamp(SelLength(), 0, Len(v) - s))), allow);
  }
  if (allow) CutToClipboard();
}

void TAdvCustomDropDown::WMCopy(TMessage& Message) {
  (void)Message;
  bool allow = true;
  if (OnClipboardCopy && !FBlockCopy) {
    const String v = Text();
    const int s = std::clamp(SelStart() - Len(FPrefix), 0, Len(v));
    OnClipboardCopy(this, v.substr(size_t(s), size_t(std::clamp(SelLength(), 0, Len(v) - s))), allow);
  }
  FBlockCopy = false;
  if (allow) CopyToClipboard();
}

// ---------------------------------------------------------------------------
// Entering and leaving; change notifications

void TAdvCustomDropDown::WMSetFocus(TWMSetFocus& Message) {
  if (IsLoading()) return;
  TCustomMaskEdit::WMSetFocus(Message);
  if (FEditorEnabled) {
    if (AutoSelect()) SelectAll();
    else if (FEditType == etFloat || FEditType == etMoney) SelectBeforeDecimal();
  } else {
    // A pick-only edit shows no caret.
    HideCaret(Handle());
    Invalidate();
  }
}

void TAdvCustomDropDown::WMKillFocus(TWMKillFocus& Message) {
  if (IsLoading()) return;
  const String v = Text();
  if (FPrecision > 0 && (FEditType == etFloat || FEditType == etMoney) && (!v.empty() || !FAllowNumericNullValue)) {
    const bool modified = FIsModified;
    SetFloatValue(GetFloatValue());
    SetModified(modified);
  }
  if (FEditType == etNumeric && v.empty() && !FAllowNumericNullValue) SetText(u"0");
  if ((FEditType == etFloat || FEditType == etMoney) && v.empty() && !FAllowNumericNullValue) SetFloatValue(0);
  TCustomMaskEdit::WMKillFocus(Message);
  if (!FEditorEnabled) Invalidate();
}

void TAdvCustomDropDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE: WMPaste(Message); return;
    case WM_CUT: WMCut(Message); return;
    case WM_COPY: WMCopy(Message); return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && FBlockChange) {
        FBlockChange = false;
        return;
      }
      break;
    default: break;
  }
  TCustomMaskEdit::Dispatch(Message);
}
