// The styled edit's keyboard, mouse and clipboard input: the character filter of each edit
// type, navigation around prefix, suffix and lookup list, Return and Escape, and the
// clipboard messages with their events.
#include <algorithm>

#include "controls/AdvEdit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

namespace {

// Posted to the edit itself after a key the native edit handles: keeps the caret out of the prefix.
constexpr UINT AEM_KEEPCARET = WM_USER + 0x0AE1;

Char DecimalSep() { return FormatSettings.DecimalSeparator; }
Char ThousandSep() { return FormatSettings.ThousandSeparator; }
bool IsDigit(Char c) { return c >= u'0' && c <= u'9'; }
bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }
bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

// ---------------------------------------------------------------------------
// Helpers

bool TAdvEdit::IsSignKey(Char c) const {
  return FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && c == u'-';
}

int TAdvEdit::IntegerPartLength(const String& s) const {
  const String t = StripThousandSeparators(s);
  int p = Pos(DecimalSep(), t);
  if (p == 0) p = Length(t) + 1;
  if (FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && Pos(u'-', t) > 0) --p;
  return p;
}

int TAdvEdit::DecimalPosition() const {
  const String t = Text();
  int p = Pos(DecimalSep(), t);
  if (p > 0) return p + Length(FPrefix);
  return Length(FPrefix) + Length(t) + Length(FSuffix) + 1;
}

void TAdvEdit::PassChar(Char c) {
  if (ReadOnly()) return;
  const String t = WindowText();
  int s = SelStart(), l = SelLength();
  if (c == 8) {
    if (l == 0) {
      if (s == 0) return;
      // A character outside the basic plane goes whole.
      l = s >= 2 && IsLowSurrogate(t[size_t(s - 1)]) && IsHighSurrogate(t[size_t(s - 2)]) ? 2 : 1;
      s -= l;
    }
    Select(s, l);
    SetSelText(String());
  } else {
    if (c < 32 || c == 127) return;  // the edit takes no control characters
    if (MaxLength() > 0 && Length(t) - l + 1 > MaxLength()) return;
    SetSelText(String(1, c));
  }
  FModified = true;  // the window's own modified flag
}

void TAdvEdit::NextControl() {
  if (TCustomForm* form = GetParentForm(this)) form->SelectNext(this, true, true);
}

void TAdvEdit::PostKeyToParent(Word Key, bool Down, bool Up) {
  if (Parent() == nullptr) return;
  HWND h = Parent()->Handle();
  if (Down) PostMessage(h, WM_KEYDOWN, Key, 0);
  if (Up) PostMessage(h, WM_KEYUP, Key, LPARAM(0xC0000001));
}

void TAdvEdit::Tail() {
  if (FTabOnFullLength && FLengthLimit > 0 && IntegerPartLength(Text()) > FLengthLimit && SelLength() == 0 &&
      SelStart() == FLengthLimit)
    NextControl();
  if (FModified) SetModified(true);
  UpdateLookupList();
}

// ---------------------------------------------------------------------------
// WM_CHAR

bool TAdvEdit::SignChar(Char c) {
  // Returns True when the sign rule handled the character.
  const String v = Text();
  const int pre = Length(FPrefix);
  if (FEditType == etNumeric && SelLength() == Length(v)) {
    SetWindowText(FPrefix + u"-" + FSuffix);
    SetSelStart(pre + 1);
    return true;
  }
  if (FEditType != etNumeric && SelLength() > 0) return false;  // over a selection: like a digit
  const int caret = SelStart();
  const int16_t saved = FPrecision;
  if (FEditType != etNumeric) FPrecision = 0;
  if (Pos(u'-', v) == 0) {
    SetWindowText(FPrefix + u"-" + v + FSuffix);
    SetSelStart(caret + 1);
    SetModified(true);
  } else {
    String rest = v.substr(1);
    SetWindowText(FPrefix + rest + FSuffix);
    SetSelStart(caret > pre ? caret - 1 : pre);
    if (FEditType != etNumeric) SetModified(true);
  }
  FPrecision = saved;
  (void)c;
  return true;
}

bool TAdvEdit::GroupingRefuses() const {
  const String v = Text();
  const Char th = ThousandSep();
  if (Pos(th, v) == 0) return false;
  int b = SelStart() - Length(FPrefix);
  String rest = v;
  int smallest = Length(v);
  int p;
  while ((p = Pos(th, rest)) > 0) {
    int d = std::abs(p - b);
    if (d < 3) return true;
    smallest = std::min(smallest, d);
    if (p < b) b -= p;
    rest.erase(0, size_t(p));
  }
  return smallest > 3;
}

bool TAdvEdit::DecimalsFull(Char c, bool& Handled) {
  // Decimals full: a digit overwrites the next decimal, anything else is dropped.
  Handled = false;
  const String v = Text();
  const int dp = Pos(DecimalSep(), v);
  const int caret = SelStart() - Length(FPrefix);
  if (!(FPrecision > 0 && dp > 0 && caret >= dp && Length(v) - dp >= FPrecision && Length(v) - caret <= FPrecision))
    return false;
  if (!(IsDigit(c) || c == DecimalSep()) || SelLength() != 0) return false;
  if (caret >= dp && IsDigit(c) && caret < Length(v)) {
    Select(SelStart(), 1);
    return false;  // the digit passes over the selected one
  }
  Handled = true;
  return true;
}

// The steps float and money input share: the grouping distance, full decimals, and "0" with
// the separator on an empty value. True when they took the character (dropped or done).
bool TAdvEdit::NumberStepsTake(Char c) {
  const Char dec = DecimalSep(), th = ThousandSep();
  if ((c == th || c == dec) && GroupingRefuses()) return true;
  bool handled = false;
  if (DecimalsFull(c, handled) && handled) return true;
  if (SelStart() - Length(FPrefix) <= 0 && Text().empty() && c == dec) {
    SetWindowText(FPrefix + u"0" + String(1, dec) + FSuffix);
    SetSelStart(Length(FPrefix) + 2);
    SetModified(true);
    return true;
  }
  return false;
}

void TAdvEdit::FloatChar(Char c, bool& TailNeeded) {
  TailNeeded = false;
  const Char dec = DecimalSep(), th = ThousandSep();
  const String v = Text();
  if (c == u',' && dec != u',' && th != u',') return;
  if (c == u'.' && dec != u'.' && th != u'.') return;
  if (c == dec && Pos(dec, SelText()) == 0 && (Pos(dec, v) > 0 || FPrecision == 0)) {
    if (FPrecision > 0) SelectAfterDecimal();
    return;
  }
  if (c == u',' && Pos(u',', v) > 0 && Pos(u',', SelText()) == 0 && th != u',') return;
  if (NumberStepsTake(c)) return;
  if (!DoKeyPressChar(c)) PassChar(c);
  TailNeeded = true;
}

void TAdvEdit::MoneyChar(Char c, bool& TailNeeded) {
  TailNeeded = false;
  const Char dec = DecimalSep();
  const String v = Text();
  if (c == dec && (Pos(dec, v) > 0 || FPrecision == 0)) {
    if (FPrecision > 0) {
      if (SelLength() == Length(v)) SetText(String(u"0") + dec + u"0");
      SelectAfterDecimal();
    }
    return;
  }
  if (NumberStepsTake(c)) return;
  if (!DoKeyPressChar(c)) PassChar(c);
  const String now = Text();
  if (!now.empty() && now != u"-" && c != dec) {
    SetModified(FModified);
    ReformatMoney();
  }
  TailNeeded = true;
}

// The class library's key press (OnKeyPress, a form's preview): False when the character
// goes on to the edit, True when a handler took it.
bool TAdvEdit::DoKeyPressChar(Char& c) {
  TMessage m{WM_CHAR, c, 0, 0};
  TWMKey k(m);
  if (DoKeyPress(k)) return true;
  c = static_cast<Char>(k.CharCode());
  return c == 0;
}

void TAdvEdit::WMChar(TWMKey& Message) {
  Char c = static_cast<Char>(Message.CharCode());
  FCtrlDown = CtrlDown();
  const String value = Text();
  const int pre = Length(FPrefix);

  if (c == 13 && FCtrlDown) {
    Message.SetCharCode(0);
    return;
  }
  if (c == 13) {
    KeyPress(c);
    Message.SetCharCode(0);
    if (!FDefaultHandling && Parent() != nullptr) {
      PostKeyToParent(VK_RETURN, true, false);
      TCustomForm* form = GetParentForm(this);
      if (!(form != nullptr && form->KeyPreview())) PostKeyToParent(VK_RETURN, false, true);
    }
    return;
  }
  if (c == 27 && !FDefaultHandling && Parent() != nullptr) {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form->KeyPreview()) {
      TCustomEdit::WMChar(Message);
      return;
    }
    PostKeyToParent(VK_ESCAPE, true, true);
  }
  if (c == 27) {
    // The undo itself is the dialog key's; the character changes nothing.
    Message.SetCharCode(0);
    return;
  }
  if (FCtrlDown && (c == 3 || c == 22 || c == 24)) {
    TCustomEdit::WMChar(Message);
    return;
  }
  if (FExcelStyleDecimalSeparator && (c == u'.' || c == u',') && (Message.KeyData() & 0x00400000)) c = DecimalSep();
  if (c == 8 && !FPrefix.empty() && SelLength() == 0 && SelStart() <= pre) return;
  if (FLengthLimit > 0 && IntegerPartLength(value) > FLengthLimit && SelLength() == 0 && SelStart() < DecimalPosition() &&
      c != 8 && c != DecimalSep() && !IsSignKey(c))
    return;
  if (c == 8) {
    const bool removes = SelLength() > 0 || SelStart() > pre;
    const bool wasModified = FIsModified;
    if (removes) SetModified(true);
    if (!DoKeyPressChar(c)) PassChar(c);
    if (FEditType == etMoney) ReformatMoney();
    SetModified(wasModified || removes);
    UpdateLookupList();
    return;
  }
  if (c == 10 && FCtrlDown) return;

  const bool number = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney;
  if (c == u'-' && number && !FSigned) {
    Tail();
    return;
  }
  // Typing over a selection replaces it in one change: one OnChange.
  auto pass = [&](Char ch) {
    if (!DoKeyPressChar(ch)) PassChar(ch);
  };
  bool tail = true;
  switch (FEditType) {
    case etString:
    case etPassword:
      SetModified(true);
      pass(c);
      break;
    case etUppercase:
      pass(AnsiUpperCase(String(1, c))[0]);
      break;
    case etLowerCase:
      pass(AnsiLowerCase(String(1, c))[0]);
      break;
    case etMixedCase: {
      // The character and the case rewrite it brings are one change: one OnChange.
      const int caret = SelStart();
      const String before = WindowText();
      FBlockChange = true;
      pass(c);
      FBlockChange = false;
      const String mixed = FPrefix + EditMixedCase(Text()) + FSuffix;
      if (mixed != WindowText()) SetWindowText(mixed);
      else if (WindowText() != before) Perform(CN_COMMAND, WPARAM(EN_CHANGE) << 16, reinterpret_cast<LPARAM>(Handle()));
      SetSelStart(caret + 1);
      break;
    }
    case etNumeric:
      if (c == u'-' && FSigned) {
        SignChar(c);
      } else if (c == 8 || c == 9 || c == 13 || IsDigit(c) || FCtrlDown) {
        pass(c);
      }
      break;
    case etFloat:
    case etMoney: {
      if (c == u'-' && FSigned && SignChar(c)) {
        tail = false;
        break;
      }
      const bool accepted = c == 8 || c == 9 || c == 13 || c == u'-' || IsDigit(c) ||
                            (FEditType == etFloat ? (c == u',' || c == u'.') : c == DecimalSep());
      if (!accepted) break;
      if (FEditType == etFloat) FloatChar(c, tail);
      else MoneyChar(c, tail);
      if (!tail) return;
      break;
    }
    case etRange: {
      SetModified(true);
      if (!(c == 8 || c == 9 || c == 13 || c == u',' || c == u'-' || IsDigit(c) || c == u';')) break;
      if (IsRangeSeparator(c)) {
        const String w = WindowText();
        const int at = SelStart();
        const Char before = at > 0 ? w[size_t(at - 1)] : u' ';
        const Char here = at < Length(w) ? w[size_t(at)] : u' ';
        if (at <= pre || IsRangeSeparator(before) || IsRangeSeparator(here)) return;
      }
      pass(c);
      break;
    }
    case etHex:
      SetModified(true);
      if (c == 8 || c == 9 || c == 13 || c == u'-' || IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'))
        pass(c);
      break;
    case etAlphaNumeric:
      SetModified(true);
      if (c == 8 || c == 9 || c == 13 || IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) pass(c);
      break;
    case etValidChars:
      SetModified(true);
      if (c == 8 || FValidChars.find(c) != String::npos) pass(c);
      break;
  }
  if (tail) Tail();
}

// ---------------------------------------------------------------------------
// WM_KEYDOWN, WM_SYSKEYDOWN

void TAdvEdit::WMKeyDown(TWMKey& Message) {
  Word k = Message.CharCode();
  const bool listShown = FLookupList != nullptr && FLookupList->Visible();
  const int pre = Length(FPrefix);
  const int valueEnd = pre + Length(Text());
  const int selEnd = SelStart() + SelLength();
  if (!listShown && (k == VK_UP || k == VK_DOWN)) {
    KeyDown(k, KeyDataToShiftState(Message.KeyData()));
    Message.SetResult(1);
    return;
  }
  if (listShown && FLookupListBox != nullptr) {
    const int count = FLookupListBox->Items()->Count();
    const int index = FLookupListBox->ItemIndex();
    const int page = FLookup->DisplayCount();
    switch (k) {
      case VK_RETURN: SelectLookupItem(); return;
      case VK_HOME: FLookupListBox->SetItemIndex(0); return;
      case VK_END: FLookupListBox->SetItemIndex(count - 1); return;
      case VK_NEXT: FLookupListBox->SetItemIndex(std::min(count - 1, index + page)); return;
      case VK_PRIOR: FLookupListBox->SetItemIndex(index > page ? index - page : 0); return;
      case VK_UP: if (index > 0) FLookupListBox->SetItemIndex(index - 1); return;
      case VK_DOWN: if (index + 1 < count) FLookupListBox->SetItemIndex(index + 1); return;
      default: break;
    }
  }
  const bool ctrl = CtrlDown(), shift = ShiftDown();
  if (ctrl && (k == VK_TAB || k == VK_RETURN)) {
    TCustomEdit::WMKeyDown(Message);
    return;
  }
  if (k == VK_RETURN && FReturnIsTab) {
    Message.SetCharCode(VK_TAB);
    if (Visible()) NextControl();
    return;
  }
  if (k == VK_RIGHT && !FSuffix.empty() && selEnd >= valueEnd && !shift) return;
  if (k == VK_RIGHT && !FSuffix.empty() && selEnd >= valueEnd) return;
  if (k == VK_DELETE && !FSuffix.empty()) {
    if (selEnd >= valueEnd && SelLength() == 0) return;
    SetModified(true);
  }
  if (k == VK_LEFT && !FPrefix.empty() && selEnd <= pre) return;
  if (k == VK_END && !FSuffix.empty()) {
    if (shift) Select(SelStart(), valueEnd - SelStart());
    else SetSelStart(valueEnd);
    return;
  }
  if (k == VK_HOME && !FPrefix.empty()) {
    if (shift) Select(pre, selEnd - pre);
    else SetSelStart(pre);
    return;
  }
  if (k == VK_BACK && !FPrefix.empty()) {
    if (SelStart() <= pre + 1) {
      // OnKeyDown only: the deletion itself follows the character's rules.
      KeyDown(k, KeyDataToShiftState(Message.KeyData()));
      Message.SetCharCode(0);
      return;
    }
    SetModified(true);
  }
  if (k == VK_DELETE && SelStart() >= pre) {
    String v = Text();
    const int at = SelStart() - pre;
    if (SelLength() > 0) v.erase(size_t(at), size_t(std::min(SelLength(), Length(v) - at)));
    else if (at < Length(v)) v.erase(size_t(at), 1);
    if (FLengthLimit > 0 && IntegerPartLength(v) - 1 > FLengthLimit) return;
    SetModified(true);
  }
  if (k == VK_DELETE && !ReadOnly() && !shift) {
    // The deletion is made here, so that what follows it sees its result.
    if (DoKeyDown(Message)) return;
    const int s = SelStart();
    if (SelLength() == 0) {
      if (s >= Length(WindowText())) return;
      Select(s, 1);
    }
    SetSelText(String());
    FModified = true;
    if (FEditType == etMoney) ReformatMoney();
    return;
  }
  TCustomEdit::WMKeyDown(Message);
  if (!FPrefix.empty() && HandleAllocated()) PostMessage(Handle(), AEM_KEEPCARET, 0, 0);
}

void TAdvEdit::WMSysKeyDown(TWMKey& Message) {
  // Alt picks the lookup entry only while the list shows (Alt also opens menus).
  if (Message.CharCode() == VK_MENU && FLookupList != nullptr && FLookupList->Visible()) SelectLookupItem();
  TCustomEdit::WMSysKeyDown(Message);
}

// ---------------------------------------------------------------------------
// Dialog keys

void TAdvEdit::CMDialogKey(TWMKey& Message) {
  TCustomForm* form = GetParentForm(this);
  // The form offers dialog keys to all its controls: only the focused edit answers.
  if (form == nullptr || !Focused()) {
    TCustomEdit::CMDialogKey(Message);
    return;
  }
  const Word k = Message.CharCode();
  if (k == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
    SetText(FOldString);
    if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
    SelectAll();
    SetModified(false);
    Message.SetResult(1);
    if (FDefaultHandling && Parent() != nullptr) PostKeyToParent(VK_ESCAPE, true, true);
    return;
  }
  if (k == VK_RETURN && FDefaultHandling && !form->KeyPreview() && Parent() != nullptr && Parent()->Focused())
    PostKeyToParent(VK_RETURN, true, true);
  TCustomEdit::CMDialogKey(Message);
}

// ---------------------------------------------------------------------------
// Mouse

void TAdvEdit::WMLButtonDown(TWMMouse& Message) {
  if (!OleButtonDown(Message)) TCustomEdit::WMLButtonDown(Message);
}

void TAdvEdit::WMMouseMove(TWMMouse& Message) {
  TCustomEdit::WMMouseMove(Message);
  OleMouseMove(Message);
}

void TAdvEdit::WMLButtonUp(TWMMouse& Message) {
  OleButtonUp(Message);
  TCustomEdit::WMLButtonUp(Message);
  if (FIsUrl && FShowURL && Focused()) {
    bool show = true;
    if (OnURLClick) OnURLClick(this, Text(), show);
    if (show) OpenURL();
    return;
  }
  // The native edit moves the caret after this message: keep it in the value afterwards.
  if ((!FPrefix.empty() || !FSuffix.empty()) && HandleAllocated()) PostMessage(Handle(), AEM_KEEPCARET, 1, 0);
}

// ---------------------------------------------------------------------------
// Clipboard

bool TAdvEdit::PasteAccepted(const String& w, const String& clip) const {
  // The integer part the text makes: at most LengthLimit characters.
  if (FLengthLimit > 0 && IntegerPartLength(w) - 1 > FLengthLimit) return false;
  const bool signOk = FSigned || w.find(u'-') == String::npos;
  auto all = [&](auto pred) { return std::all_of(w.begin(), w.end(), pred); };
  switch (FEditType) {
    case etNumeric: return EditTextKind(w) == 0 && signOk;
    case etFloat:
    case etMoney: return EditTextKind(w) <= 1 && (FPrecision > 0 || clip.find(DecimalSep()) == String::npos) && signOk;
    case etHex: return EditTextKind(w) == 0 || EditTextKind(w) == 5;
    case etAlphaNumeric:
      return all([](Char c) { return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); });
    case etValidChars: return all([this](Char c) { return FValidChars.find(c) != String::npos; });
    case etRange: return false;
    default: return true;
  }
}

void TAdvEdit::WMPaste(TMessage& Message) {
  (void)Message;
  if (ReadOnly()) return;
  if (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT)) {
    const String clip = Clipboard()->AsText();
    // The first line only (up to the first carriage return or line feed), cleaned.
    const String t = EditInputText(clip.substr(0, clip.find_first_of(u"\r\n")));
    const int pre = Length(FPrefix);
    String v = Text();
    const int at = std::clamp(SelStart() - pre, 0, Length(v));
    const int len = std::min(SelLength(), Length(v) - at);
    String w = v;
    w.replace(size_t(at), size_t(len), t);
    const int newStart = len > 0 ? at + pre : at + pre + Length(t);
    const int newLength = len > 0 ? Length(t) : 0;
    bool allow = true;
    if (OnClipboardPaste) OnClipboardPaste(this, w, allow);
    if (!allow) return;
    if (MaxLength() > 0 && Length(t) + Length(Text()) - SelLength() > MaxLength()) return;
    if (!PasteAccepted(w, t)) return;
    switch (FEditType) {
      case etString:
      case etPassword: SetText(w); break;
      case etNumeric: SetText(w); SetModified(true); break;
      case etFloat:
      case etMoney:
        SetText(w);
        SetFloatValue(FloatValue());
        SetModified(true);
        break;
      case etUppercase: SetText(AnsiUpperCase(w)); break;
      case etMixedCase: SetText(EditMixedCase(w)); break;
      case etLowerCase: SetText(AnsiLowerCase(w)); break;
      case etHex: SetText(w); break;
      case etAlphaNumeric:
      case etValidChars: SetText(w); SetModified(true); break;
      case etRange: return;
    }
    if (FEditType == etMoney && Length(Text()) > 3) SelectAll();
    else Select(newStart, newLength);
    if (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase || FEditType == etLowerCase ||
        FEditType == etPassword)
      SetModified(true);
  }
  UpdateLookupList();
  if (FTabOnFullLength && FLengthLimit > 0 && Length(Text()) == FLengthLimit) NextControl();
}

void TAdvEdit::WMCopy(TMessage& Message) {
  bool allow = true;
  if (OnClipboardCopy && !FBlockCopy) OnClipboardCopy(this, Copy(Text(), SelStart() - Length(FPrefix) + 1, SelLength()), allow);
  FBlockCopy = false;
  if (allow) TCustomEdit::Dispatch(Message);
}

void TAdvEdit::WMCut(TMessage& Message) {
  FBlockCopy = true;
  bool allow = true;
  if (OnClipboardCut) OnClipboardCut(this, Copy(Text(), SelStart() - Length(FPrefix) + 1, SelLength()), allow);
  if (allow) TCustomEdit::Dispatch(Message);
  FBlockCopy = false;
}

void TAdvEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE) {
    if (FBlockChange) {
      FBlockChange = false;
      return;
    }
    if (FTransparent) Invalidate();
    if (FShowURL) {
      const bool url = IsURLText(Text());
      if (url != FIsUrl) ApplyURLLook(url);
    }
  }
  TCustomEdit::Dispatch(Message);
}

void TAdvEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE: WMPaste(Message); return;
    case WM_COPY: WMCopy(Message); return;
    case WM_CUT: WMCut(Message); return;
    case CN_COMMAND: CNCommand(Message); return;
    case CM_CANCELMODE: HideLookup(); TCustomEdit::Dispatch(Message); return;
    case AEM_KEEPCARET: {
      const int pre = Length(FPrefix), end = pre + Length(Text());
      const int s = SelStart(), e = s + SelLength();
      if (Message.WParam == 0) {
        if (!FPrefix.empty() && s < pre && SelLength() == 0) SetSelStart(pre);
        return;
      }
      if (!FPrefix.empty() && SelLength() > 0 && s < pre) Select(pre, Length(Text()));
      else if (!FSuffix.empty() && SelLength() == 0 && s > end) SetSelStart(end);
      else if (!FSuffix.empty() && e > end) Select(s, std::max(0, end - s));
      else if (!FPrefix.empty() && SelLength() == 0 && s < pre) SetSelStart(pre);
      return;
    }
    default: TCustomEdit::Dispatch(Message);
  }
}
