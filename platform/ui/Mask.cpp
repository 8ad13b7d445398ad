// The masked edit: mask parsing, the value and edit texts, and masked editing. Every change
// the window makes on its own (typing, Qt's paste and drop paths, input-method commits, undo)
// passes the mask's validator, which turns it into the masked edit of the same change.
#include "platform/ui/Mask.h"

#include <QApplication>
#include <QChar>
#include <QClipboard>
#include <QLineEdit>
#include <QProxyStyle>
#include <QValidator>
#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

enum TSlotKind : uint8_t { skLiteral, skAlpha, skAlphaNum, skAny, skDigit, skDigitSign };
enum TSlotCase : uint8_t { scNone, scUpper, scLower };

struct TSlot {
  TSlotKind Kind = skLiteral;
  bool Required = false;
  Char Literal = 0;
  TSlotCase Case = scNone;
};

}  // namespace

// A parsed edit mask: one slot per position of the edit text.
struct TEditMaskInfo {
  std::vector<TSlot> Slots;
  bool SaveLiterals = true;
  Char Blank = u'_';
  bool Reverse = false;

  size_t Size() const { return Slots.size(); }
  bool Editable(size_t i) const { return i < Slots.size() && Slots[i].Kind != skLiteral; }

  static TEditMaskInfo Parse(const String& Mask) {
    TEditMaskInfo m;
    // The fields: the mask up to the first ';' that no '\' escapes, then save flag and blank.
    size_t end = 0;
    while (end < Mask.size() && Mask[end] != u';') end += Mask[end] == u'\\' ? 2 : 1;
    end = std::min(end, Mask.size());
    if (end < Mask.size()) {
      size_t second = Mask.find(u';', end + 1);
      String save = Mask.substr(end + 1, second == String::npos ? String::npos : second - end - 1);
      if (!save.empty() && save[0] == u'0') m.SaveLiterals = false;
      if (second != String::npos && second + 1 < Mask.size()) m.Blank = Mask[second + 1];
    }
    TSlotCase current = scNone;
    for (size_t i = 0; i < end; ++i) {
      const Char c = Mask[i];
      TSlot s;
      s.Case = current;
      switch (c) {
        case u'!': m.Reverse = true; continue;
        case u'>':
          if (i + 1 < end && Mask[i + 1] == u'<') {
            current = scNone;
            ++i;
          } else {
            current = scUpper;
          }
          continue;
        case u'<': current = scLower; continue;
        case u'\\':
          if (++i >= end) continue;
          s.Literal = Mask[i];
          break;
        case u'L': case u'l': s.Kind = skAlpha; s.Required = c == u'L'; break;
        case u'A': case u'a': s.Kind = skAlphaNum; s.Required = c == u'A'; break;
        case u'C': case u'c': s.Kind = skAny; s.Required = c == u'C'; break;
        case u'0': case u'9': s.Kind = skDigit; s.Required = c == u'0'; break;
        case u'#': s.Kind = skDigitSign; break;
        case u':': s.Literal = FormatSettings.TimeSeparator; break;
        case u'/': s.Literal = FormatSettings.DateSeparator; break;
        case u'_': s.Literal = u' '; break;
        default: s.Literal = c; break;
      }
      m.Slots.push_back(s);
    }
    return m;
  }

  // The character as the slot takes it (case applied), or 0 when it does not accept it.
  static Char Accept(const TSlot& s, Char c) {
    const QChar q(c);
    bool ok = false;
    switch (s.Kind) {
      case skAlpha: ok = q.isLetter(); break;
      case skAlphaNum: ok = q.isLetter() || (c >= u'0' && c <= u'9'); break;
      case skAny: ok = c >= 0x20; break;
      case skDigit: ok = c >= u'0' && c <= u'9'; break;
      case skDigitSign: ok = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-'; break;
      case skLiteral: break;
    }
    if (!ok) return 0;
    if (s.Case == scUpper) return q.toUpper().unicode();
    if (s.Case == scLower) return q.toLower().unicode();
    return c;
  }

  // The edit text with every editable position empty.
  String Empty() const {
    String t(Slots.size(), Blank);
    for (size_t i = 0; i < Slots.size(); ++i)
      if (!Editable(i)) t[i] = Slots[i].Literal;
    return t;
  }

  // Puts c at editable position i: the slot's form of it, or empty for a blank or an
  // unaccepted character.
  void Put(String& t, size_t i, Char c) const {
    Char a = c == Blank || c == u' ' ? Char(0) : Accept(Slots[i], c);
    if (c == u' ' && Slots[i].Kind == skAny) a = u' ';
    t[i] = a != 0 ? a : Blank;
  }

  // The edit text of an edit text given position by position.
  String FromEditText(const String& v) const {
    String t = Empty();
    for (size_t i = 0; i < Slots.size() && i < v.size(); ++i)
      if (Editable(i)) Put(t, i, v[i]);
    return t;
  }

  // The edit text of a value: with saved literals position by position, else the editable
  // positions in order; a shorter value fills from the left, or from the right with '!'.
  String FromValue(const String& v) const {
    String t = Empty();
    if (SaveLiterals) {
      const size_t offset = Reverse && v.size() < Slots.size() ? Slots.size() - v.size() : 0;
      for (size_t j = 0; j < v.size() && j + offset < Slots.size(); ++j)
        if (Editable(j + offset)) Put(t, j + offset, v[j]);
      return t;
    }
    std::vector<size_t> editable;
    for (size_t i = 0; i < Slots.size(); ++i)
      if (Editable(i)) editable.push_back(i);
    const size_t offset = Reverse && v.size() < editable.size() ? editable.size() - v.size() : 0;
    for (size_t j = 0; j < v.size() && j + offset < editable.size(); ++j) Put(t, editable[j + offset], v[j]);
    return t;
  }

  // The value of an edit text: literals only when saved, empty positions as spaces.
  String ToValue(const String& edit) const {
    String v;
    v.reserve(Slots.size());
    for (size_t i = 0; i < Slots.size(); ++i) {
      if (!Editable(i)) {
        if (SaveLiterals) v += Slots[i].Literal;
        continue;
      }
      const Char c = i < edit.size() ? edit[i] : Blank;
      v += c == Blank ? u' ' : c;
    }
    return v;
  }

  // The first editable position at or after i (Size() when none).
  size_t NextEditable(size_t i) const {
    while (i < Slots.size() && !Editable(i)) ++i;
    return i;
  }

  struct TEdit {
    String Text;
    int Cursor = 0;
    bool Refused = false;
  };

  // [Start, End) of Old replaced by Inserted: the range is emptied (literals stay), then the
  // characters overwrite positions from Start, skipping literals; a literal character typed
  // where that literal stands is taken as it. The first character refused ends the insertion;
  // when it is the first of all, the whole edit is refused.
  TEdit Replace(const String& Old, int Start, int End, const String& Inserted) const {
    TEdit r;
    r.Text = FromEditText(Old);
    const size_t n = Slots.size();
    const size_t a = std::min<size_t>(size_t(std::max(0, Start)), n);
    const size_t b = std::clamp<size_t>(size_t(std::max(0, End)), a, n);
    for (size_t i = a; i < b; ++i)
      if (Editable(i)) r.Text[i] = Blank;
    size_t pos = a;
    bool placed = false;
    for (Char c : Inserted) {
      if (pos < n && !Editable(pos) && c == Slots[pos].Literal) {
        ++pos;
        placed = true;
        continue;
      }
      pos = NextEditable(pos);
      if (pos >= n) break;
      const bool blank = c == Blank || (c == u' ' && Slots[pos].Kind != skAny && !Slots[pos].Required);
      const Char taken = blank ? Blank : Accept(Slots[pos], c);
      if (taken == 0) break;
      r.Text[pos++] = taken;
      placed = true;
    }
    if (!Inserted.empty() && !placed) {
      r.Refused = true;
      r.Text = Old;
      return r;
    }
    r.Cursor = int(Inserted.empty() ? a : NextEditable(pos) < n ? NextEditable(pos) : pos);
    return r;
  }
};

// Turns the window's own edits into masked edits (see the file's head).
class TMaskValidator : public QValidator {
public:
  TMaskValidator(QLineEdit* parent, TCustomMaskEdit* edit) : QValidator(parent), edit_(edit) {
    base_ = parent->text();
    connect(parent, &QLineEdit::textChanged, this, [this](const QString& t) { base_ = t; });
  }

  State validate(QString& input, int& pos) const override {
    if (input == base_) return Acceptable;
    if (edit_->FInMaskSet || !edit_->FMask) {
      base_ = input;
      return Acceptable;
    }
    const String o = FromQString(base_), n = FromQString(input);
    int a = 0, b = 0;
    String inserted;
    Locate(o, n, std::clamp(pos, 0, int(n.size())), a, b, inserted);
    TEditMaskInfo::TEdit r = edit_->FMask->Replace(o, a, b, inserted);
    if (r.Refused) MessageBeep(0);
    if (r.Refused || r.Text == o) return Invalid;
    input = ToQString(r.Text);
    pos = r.Cursor;
    base_ = input;
    return Acceptable;
  }

private:
  // Where New differs from Old: Old's [A, B) became Inserted. The caret stands after what
  // was inserted, which tells repeated characters apart; without that fit, the longest
  // common head and tail decide.
  static void Locate(const String& o, const String& n, int c, int& a, int& b, String& inserted) {
    const int lo = int(o.size()), ln = int(n.size());
    const int tail = std::min(ln - c, lo);
    b = lo - tail;
    if (n.compare(size_t(c), String::npos, o, size_t(b), String::npos) == 0) {
      const int limit = std::min(c, b);
      a = 0;
      while (a < limit && o[size_t(a)] == n[size_t(a)]) ++a;
      inserted = n.substr(size_t(a), size_t(c - a));
      return;
    }
    a = 0;
    while (a < lo && a < ln && o[size_t(a)] == n[size_t(a)]) ++a;
    int s = 0;
    while (s < lo - a && s < ln - a && o[size_t(lo - 1 - s)] == n[size_t(ln - 1 - s)]) ++s;
    b = lo - s;
    inserted = n.substr(size_t(a), size_t(ln - s - a));
  }

  TCustomMaskEdit* edit_;
  mutable QString base_;  // the window's text before the change being validated
};

// Shows the edit's own password character instead of the style's.
class TPasswordStyle : public QProxyStyle {
public:
  explicit TPasswordStyle(Char c) : QProxyStyle(QApplication::style()->name()), char_(c) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* ret) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return char_;
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }
  Char char_;
};

String FormatMaskText(const String& EditMask, const String& Value) {
  auto m = TEditMaskInfo::Parse(EditMask);
  String t = m.FromValue(Value);
  for (size_t i = 0; i < t.size(); ++i)
    if (m.Editable(i) && t[i] == m.Blank) t[i] = u' ';
  return t;
}

// ---- TCustomMaskEdit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

bool TCustomMaskEdit::IsMasked() const { return FMask != nullptr; }

void TCustomMaskEdit::SetEditMask(const String& v) {
  if (v == FEditMask) return;
  const String value = Text();
  FEditMask = v;
  FMask.reset();
  TEditMaskInfo parsed = TEditMaskInfo::Parse(v);
  if (parsed.Size() > 0) FMask = std::make_unique<TEditMaskInfo>(std::move(parsed));
  ApplyMaskMode();
  SetTextBuf(value);
}

String TCustomMaskEdit::EditText() const { return TCustomEdit::GetText(); }

void TCustomMaskEdit::SetEditText(const String& v) {
  if (!FMask) {
    SetText(v);
    return;
  }
  SetCodeText(FMask->FromEditText(v));
}

String TCustomMaskEdit::GetText() const {
  if (!FMask) return TCustomEdit::GetText();
  return FMask->ToValue(EditText());
}

void TCustomMaskEdit::SetTextBuf(const String& v) {
  if (!FMask) {
    TCustomEdit::SetTextBuf(v);
    return;
  }
  SetCodeText(FMask->FromValue(v));
}

void TCustomMaskEdit::SetCodeText(const String& EditText) {
  TControl::SetTextBuf(EditText);
  SetMaskedText(EditText, 0);
  FModified = false;
  FOldValue = EditText;
}

void TCustomMaskEdit::SetMaskedText(const String& Text, int Cursor) {
  auto* edit = NativeOf<QLineEdit>(this);
  if (edit == nullptr) {
    const bool changed = TControl::GetText() != Text;
    TControl::SetTextBuf(Text);
    if (changed) NotifyChange();
    return;
  }
  const bool changed = FromQString(edit->text()) != Text;
  {
    TInCode inMask(FInMaskSet);
    TInCode inCode(FInSetText);
    edit->setText(ToQString(Text));
  }
  edit->setCursorPosition(std::clamp(Cursor, 0, int(Text.size())));
  if (changed) NotifyChange();
}

bool TCustomMaskEdit::ReplaceMasked(int Start, int End, const String& Inserted) {
  TEditMaskInfo::TEdit r = FMask->Replace(EditText(), Start, End, Inserted);
  if (r.Refused) {
    MessageBeep(0);
    return false;
  }
  SetMaskedText(r.Text, r.Cursor);
  return true;
}

void TCustomMaskEdit::SetSelText(const String& v) {
  if (!FMask) {
    TCustomEdit::SetSelText(v);
    return;
  }
  const int start = SelStart();
  ReplaceMasked(start, start + SelLength(), v);
}

void TCustomMaskEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  ApplyMaskMode();
}

void TCustomMaskEdit::DestroyWnd() {
  // The window goes; its text (what the user typed included) stays for the next one.
  if (NativeOf<QLineEdit>(this) != nullptr) TControl::SetTextBuf(EditText());
  TCustomEdit::DestroyWnd();
}

void TCustomMaskEdit::ApplySettings() {
  TCustomEdit::ApplySettings();
  if (auto* edit = NativeOf<QLineEdit>(this)) {
    auto* style = dynamic_cast<TPasswordStyle*>(edit->style());
    if (FPasswordChar != 0 && (style == nullptr || style->char_ != FPasswordChar)) {
      auto* mine = new TPasswordStyle(FPasswordChar);
      mine->setParent(edit);
      edit->setStyle(mine);
      delete style;
    } else if (FPasswordChar == 0 && style != nullptr) {
      edit->setStyle(nullptr);
      delete style;
    }
  }
  // A masked edit holds one character per position; the mask, not MaxLength, limits it.
  if (auto* edit = NativeOf<QLineEdit>(this); edit != nullptr && FMask) edit->setMaxLength(32767);
}

void TCustomMaskEdit::ApplyMaskMode() {
  auto* edit = NativeOf<QLineEdit>(this);
  if (edit == nullptr) return;
  QValidator* old = const_cast<QValidator*>(edit->validator());
  if (FMask) edit->setValidator(new TMaskValidator(edit, this));
  else edit->setValidator(new TCharCaseValidator(edit, FCharCase));
  delete old;
  ApplySettings();
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  if (!FMask && !FReadOnly && Message.Msg == WM_PASTE && NativeOf<QLineEdit>(this) != nullptr) {
    // The user's paste into the plain edit: as much as MaxLength leaves room for replaces the
    // selection (the text after the caret stays), and the text is modified. A one-line edit
    // takes the first line only.
    String clip = FromQString(QApplication::clipboard()->text());
    if ((FStyle & ES_MULTILINE) == 0) clip = clip.substr(0, std::min(clip.find(u'\r'), clip.find(u'\n')));
    if (FMaxLength > 0) {
      const int room = FMaxLength - (int(EditText().size()) - SelLength());
      clip.resize(size_t(std::clamp(room, 0, int(clip.size()))));
    }
    if (clip.empty() && SelLength() == 0) return;
    SetSelText(clip);
    FModified = true;
    return;
  }
  if (FMask && !FReadOnly && (Message.Msg == WM_PASTE || Message.Msg == WM_CUT || Message.Msg == WM_CLEAR)) {
    // The user's clipboard keys: the masked edit of the selection, which marks the text modified.
    const String before = EditText();
    if (Message.Msg == WM_PASTE) PasteFromClipboard();
    else if (Message.Msg == WM_CUT) CutToClipboard();
    else ClearSelection();
    if (EditText() != before) FModified = true;
    return;
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!FMask || Key == 0 || Shift.Contains(ssAlt)) return;
  if (Key == VK_ESCAPE && FModified) {
    Reset();
    Key = 0;
    return;
  }
  if (FReadOnly || Shift.Contains(ssShift) || Shift.Contains(ssCtrl)) return;
  if (Key != VK_BACK && Key != VK_DELETE) return;
  // Backspace and Delete empty positions; the text keeps its length.
  int start = SelStart(), end = start + SelLength();
  if (start == end) {
    if (Key == VK_BACK) {
      int p = start - 1;
      while (p >= 0 && !FMask->Editable(size_t(p))) --p;
      if (p < 0) {
        Key = 0;
        return;
      }
      start = p;
    } else {
      start = int(FMask->NextEditable(size_t(start)));
    }
    end = start + 1;
  }
  const String before = EditText();
  TEditMaskInfo::TEdit r = FMask->Replace(before, start, end, String());
  SetMaskedText(r.Text, start);
  if (r.Text != before) FModified = true;
  Key = 0;
}

void TCustomMaskEdit::DoEnter() {
  if (FReEnter) {
    // Back after a failed validation: the caret stays on the position in error.
    FReEnter = false;
    const int caret = SelStart();
    TCustomEdit::DoEnter();
    Select(caret, 0);
    return;
  }
  FOldValue = EditText();
  TCustomEdit::DoEnter();
  // Without AutoSelect the caret starts on the first position that takes a character.
  if (FMask && !FAutoSelect && NativeOf<QLineEdit>(this) != nullptr) SetSelStart(int(FMask->NextEditable(0)));
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  try {
    ValidateEdit();
  } catch (...) {
    // The edit keeps the focus until its text is valid or the change abandoned (Escape).
    if (CanFocus()) {
      FReEnter = true;
      SetFocus();
      FReEnter = false;
    }
    throw;
  }
  TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::Reset() {
  if (!FMask || !FModified) return;
  SetMaskedText(FOldValue, 0);
  FModified = false;
}

bool TCustomMaskEdit::Validate(const String& Value, int& Pos) {
  Pos = 0;
  if (!FMask) return true;
  for (size_t i = 0; i < FMask->Size(); ++i) {
    const TSlot& s = FMask->Slots[i];
    if (s.Kind == skLiteral || !s.Required) continue;
    const Char c = i < Value.size() ? Value[i] : FMask->Blank;
    if (c == FMask->Blank || TEditMaskInfo::Accept(s, c) == 0) {
      Pos = int(i);
      return false;
    }
  }
  return true;
}

void TCustomMaskEdit::ValidateEdit() {
  if (!FMask || !FModified) return;
  int pos = 0;
  if (Validate(EditText(), pos)) return;
  SetSelStart(pos);
  SetSelLength(0);
  ValidateError();
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError(u"Invalid input value.  Use escape key to abandon changes");
}
