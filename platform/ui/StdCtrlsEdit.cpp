// Edits and memos.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

constexpr TColor kWindowColor = static_cast<TColor>(0xFF000005);

String CaseOf(const String& s, TEditCharCase c) {
  if (c == ecNormal) return s;
  QString q = ToQString(s);
  return FromQString(c == ecUpperCase ? q.toUpper() : q.toLower());
}

}  // namespace

// ---------------------------------------------------------------------------
// The memo's text model: the exact text (CR LF kept) and what the screen shows of it.

namespace memotext {

constexpr char16_t kCR = 0x0D, kLF = 0x0A;
constexpr char16_t kShownCR = 0x240D, kShownLF = 0x240A, kShownNUL = 0x2400;

bool PairAt(const String& s, size_t i) { return i + 1 < s.size() && s[i] == kCR && s[i + 1] == kLF; }

// Screen text: a CR LF pair becomes one line break; lone CR, lone LF and NUL become symbols.
QString Render(const String& s, size_t from = 0, size_t to = String::npos) {
  to = std::min(to, s.size());
  QString out;
  out.reserve(qsizetype(to - from));
  for (size_t i = from; i < to; ++i) {
    Char c = s[i];
    if (c == kCR && i + 1 < to && s[i + 1] == kLF) {
      out += QChar(u'\n');
      ++i;
    } else if (c == kCR) {
      out += QChar(kShownCR);
    } else if (c == kLF) {
      out += QChar(kShownLF);
    } else if (c == 0) {
      out += QChar(kShownNUL);
    } else {
      out += QChar(c);
    }
  }
  return out;
}

// The exact text of what the screen shows (the inverse of Render).
String Unrender(const QString& shown) {
  String out;
  out.reserve(size_t(shown.size()) + 16);
  for (QChar q : shown) {
    char16_t c = q.unicode();
    if (c == u'\n' || c == 0x2029 || c == 0x2028) {
      out += kCR;
      out += kLF;
    } else if (c == kShownCR) {
      out += kCR;
    } else if (c == kShownLF) {
      out += kLF;
    } else if (c == kShownNUL) {
      out += Char(0);
    } else {
      out += Char(c);
    }
  }
  return out;
}

// Screen position of a text position (a position inside a CR LF pair maps to the break).
int ShownPos(const String& s, int pos) {
  int d = pos;
  for (int i = 0; i + 1 < int(s.size()) && i < pos; ++i)
    if (PairAt(s, size_t(i))) {
      --d;
      ++i;
    }
  return d;
}

// Text position of a screen position.
int TextPos(const String& s, int shown) {
  int i = 0;
  for (int d = 0; d < shown && i < int(s.size()); ++d) i += PairAt(s, size_t(i)) ? 2 : 1;
  return i;
}

// Starts of the lines (only CR LF ends a line).
std::vector<int> LineStarts(const String& s) {
  std::vector<int> starts{0};
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (PairAt(s, i)) starts.push_back(int(i + 2)), ++i;
  return starts;
}

int LineEnd(const String& s, int start) {
  size_t p = start;
  while (p < s.size() && !PairAt(s, p)) ++p;
  return int(p);
}

}  // namespace memotext

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(kWindowColor);
  FControlStyle.Exclude(csSetCaption);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateWnd() {
  auto* edit = new QLineEdit;
  edit->setText(ToQString(TControl::GetText()));
  TControlHost::Attach(this, edit, false);
  edit->setValidator(new TCharCaseValidator(edit, FCharCase));
  ApplySettings();
  QObject::connect(edit, &QLineEdit::textChanged, [this](const QString&) {
    if (!FInSetText) GuardedCall([this] { Change(); });
  });
  QObject::connect(edit, &QLineEdit::textEdited, [this](const QString&) { FModified = true; });
}

void TCustomEdit::ApplySettings() {
  auto* edit = NativeOf<QLineEdit>(this);
  if (!edit) return;
  edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
  edit->setReadOnly(FReadOnly);
  edit->setEchoMode(FPasswordChar ? QLineEdit::Password : QLineEdit::Normal);
  edit->setFrame(FBorderStyle == bsSingle);
  edit->setAlignment((FAlignment == taRightJustify ? Qt::AlignRight
                      : FAlignment == taCenter     ? Qt::AlignHCenter
                                                   : Qt::AlignLeft) |
                     Qt::AlignVCenter);
  ApplyColor(edit, Color(), QPalette::Base);
  ApplyColor(edit, Font()->Color(), QPalette::Text);
  ApplyEditRect();
}

void TCustomEdit::ApplyEditRect() {
  auto* edit = NativeOf<QLineEdit>(this);
  if (!edit) return;
  if (!FHasEditRect) {
    edit->setTextMargins(0, 0, 0, 0);
    return;
  }
  const TRect c = ClientRect();
  edit->setTextMargins(std::max(0, FEditRect.Left - c.Left), std::max(0, FEditRect.Top - c.Top),
                       std::max(0, c.Right - FEditRect.Right), std::max(0, c.Bottom - FEditRect.Bottom));
}

String TCustomEdit::GetText() const {
  if (auto* edit = NativeOf<QLineEdit>(this)) return FromQString(edit->text());
  return TControl::GetText();
}

void TCustomEdit::SetTextBuf(const String& v) {
  const String text = CaseOf(v, FCharCase);
  TControl::SetTextBuf(text);
  if (auto* edit = NativeOf<QLineEdit>(this)) {
    {
      TInCode guard(FInSetText);
      edit->setText(ToQString(text));
    }
    FModified = false;
  }
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

int TCustomEdit::SelStart() const {
  auto* edit = NativeOf<QLineEdit>(this);
  if (!edit) return 0;
  return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TCustomEdit::SetSelStart(int v) {
  if (auto* edit = NativeOf<QLineEdit>(this)) edit->setCursorPosition(v);
}

int TCustomEdit::SelLength() const {
  auto* edit = NativeOf<QLineEdit>(this);
  return edit ? int(edit->selectedText().size()) : 0;
}

void TCustomEdit::SetSelLength(int v) {
  if (auto* edit = NativeOf<QLineEdit>(this)) edit->setSelection(SelStart(), v);
}

String TCustomEdit::SelText() const {
  auto* edit = NativeOf<QLineEdit>(this);
  return edit ? FromQString(edit->selectedText()) : String();
}

void TCustomEdit::SetSelText(const String& v) {
  if (auto* edit = NativeOf<QLineEdit>(this)) {
    // Like the native edit, a replacement in code ignores the read-only state.
    QString t = edit->text();
    int start = SelStart();
    int len = SelLength();
    t.replace(start, len, ToQString(v));
    edit->setText(t);
    edit->setCursorPosition(start + int(v.size()));
  } else {
    SetText(TControl::GetText() + v);
  }
}

void TCustomEdit::Select(int AStart, int ALength) {
  SetSelStart(AStart);
  SetSelLength(ALength);
}

void TCustomEdit::SelectAll() { Select(0, int(GetText().size())); }

void TCustomEdit::CopyToClipboard() {
  String s = SelText();
  if (!s.empty()) QApplication::clipboard()->setText(ToQString(s));
}

void TCustomEdit::CutToClipboard() {
  if (FReadOnly) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (FReadOnly) return;
  SetSelText(FromQString(QApplication::clipboard()->text()));
}

void TCustomEdit::Undo() {
  if (auto* edit = NativeOf<QLineEdit>(this)) edit->undo();
  if (auto* memo = NativeOf<QPlainTextEdit>(this)) memo->undo();
}

bool TCustomEdit::CanUndo() const {
  if (auto* edit = NativeOf<QLineEdit>(this)) return edit->isUndoAvailable();
  if (auto* memo = NativeOf<QPlainTextEdit>(this)) return memo->document()->isUndoAvailable();
  return false;
}

void TCustomEdit::SetMaxLength(int v) {
  FMaxLength = std::max(0, v);
  ApplySettings();
}

void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  ApplySettings();
}

void TCustomEdit::SetPasswordChar(Char v) {
  FPasswordChar = v;
  ApplySettings();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  FCharCase = v;
  if (v != ecNormal) SetText(CaseOf(GetText(), v));
}

void TCustomEdit::SetHideSelection(bool v) { FHideSelection = v; }

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  ApplySettings();
}

void TCustomEdit::SetAlignment(TAlignment v) {
  FAlignment = v;
  ApplySettings();
}

void TCustomEdit::CMColorChanged(TMessage& Message) {
  TWinControl::CMColorChanged(Message);
  ApplyColor(TControlHost::Widget(this), Color(), QPalette::Base);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  ApplyColor(TControlHost::Widget(this), Font()->Color(), QPalette::Text);
}

void TCustomEdit::DoEnter() {
  TWinControl::DoEnter();
  if (FAutoSelect && NativeOf<QLineEdit>(this)) SelectAll();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case EM_LIMITTEXT:
      SetMaxLength(int(Message.WParam));
      Message.Result = 0;
      return;
    case EM_GETLIMITTEXT:
      Message.Result = FMaxLength > 0 ? FMaxLength : 0x7FFFFFFE;
      return;
    case EM_GETSEL: {
      int s = SelStart(), e = s + SelLength();
      Message.Result = MAKELPARAM(WORD(s), WORD(e));
      if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = DWORD(s);
      if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = DWORD(e);
      return;
    }
    case EM_SETSEL: {
      int s = int(intptr_t(Message.WParam)), e = int(Message.LParam);
      int len = int(GetText().size());
      if (s < 0) {
        s = SelStart();
        e = s;
      }
      if (e < 0 || e > len) e = len;
      Select(std::min(s, e), std::abs(e - s));
      return;
    }
    case EM_REPLACESEL:
      SetSelText(Message.LParam ? String(reinterpret_cast<const Char*>(Message.LParam)) : String());
      return;
    case EM_GETLINECOUNT:
      Message.Result = LRESULT(memotext::LineStarts(GetText()).size());
      return;
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<RECT*>(Message.LParam) = FHasEditRect ? FEditRect : ClientRect();
      return;
    case EM_SETRECT:
    case EM_SETRECTNP:
      FHasEditRect = Message.LParam != 0;
      if (FHasEditRect) FEditRect = *reinterpret_cast<const RECT*>(Message.LParam);
      ApplyEditRect();
      if (Message.Msg == EM_SETRECT) Invalidate();
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------
// TCustomMemo

class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
  int Count() const override {
    const String& t = memo_->FText;
    if (t.empty()) return 0;
    auto starts = memotext::LineStarts(t);
    int n = int(starts.size());
    if (starts.back() == int(t.size())) --n;  // the empty line after a final CR LF
    return n;
  }
  String Get(int Index) const override {
    auto starts = memotext::LineStarts(memo_->FText);
    if (Index < 0 || Index >= int(starts.size())) throw EStringListError(u"List index out of bounds");
    int s = starts[size_t(Index)];
    return memo_->FText.substr(size_t(s), size_t(memotext::LineEnd(memo_->FText, s) - s));
  }
  void Put(int Index, const String& S) override {
    auto starts = memotext::LineStarts(memo_->FText);
    if (Index < 0 || Index >= int(starts.size())) throw EStringListError(u"List index out of bounds");
    int s = starts[size_t(Index)];
    memo_->ReplaceRange(s, memotext::LineEnd(memo_->FText, s), S, true);
  }
  void Insert(int Index, const String& S) override {
    const String& t = memo_->FText;
    auto starts = memotext::LineStarts(t);
    if (Index < 0) return;
    if (Index < int(starts.size())) {
      int s = starts[size_t(Index)];
      memo_->ReplaceRange(s, s, S + u"\r\n", true);
      return;
    }
    if (Index - 1 >= int(starts.size())) return;
    int prev = starts[size_t(Index - 1)];
    int end = memotext::LineEnd(t, prev);
    memo_->ReplaceRange(end, end, u"\r\n" + S, true);
  }
  void Delete(int Index) override {
    auto starts = memotext::LineStarts(memo_->FText);
    if (Index < 0 || Index >= int(starts.size())) throw EStringListError(u"List index out of bounds");
    int s = starts[size_t(Index)];
    int e = Index + 1 < int(starts.size()) ? starts[size_t(Index + 1)] : int(memo_->FText.size());
    memo_->ReplaceRange(s, e, String(), true);
  }
  void Clear() override { memo_->SetText(String()); }
  void SetText(const String& Value) override { memo_->SetText(Value); }

private:
  TCustomMemo* memo_;
};

// Qt-side helpers of the memo.
struct TMemoView {
  static QPlainTextEdit* Edit(const TCustomMemo* m) { return NativeOf<QPlainTextEdit>(m); }

  // Shows the whole text again, keeping the caret at the same text position.
  static void Rebuild(TCustomMemo* m, int caret) {
    QPlainTextEdit* e = Edit(m);
    if (!e) return;
    TInCode guard(m->FInSetText);
    e->setPlainText(memotext::Render(m->FText));
    SetCaret(m, caret, caret);
  }

  static void SetCaret(TCustomMemo* m, int anchor, int pos) {
    QPlainTextEdit* e = Edit(m);
    if (!e) return;
    QTextCursor c = e->textCursor();
    c.setPosition(memotext::ShownPos(m->FText, anchor));
    c.setPosition(memotext::ShownPos(m->FText, pos), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
  }

  // The user edited the screen text: take the exact text from it.
  static void UserChanged(TCustomMemo* m) {
    QPlainTextEdit* e = Edit(m);
    if (!e || m->FInSetText) return;
    QString shown = e->document()->toRawText();
    String text = memotext::Unrender(shown);
    int caret = memotext::TextPos(text, e->textCursor().position());
    if (m->FMaxLength > 0 && int(text.size()) > m->FMaxLength) {
      // Over the limit: drop the typed characters that do not fit.
      int excess = int(text.size()) - m->FMaxLength;
      int from = std::max(0, caret - excess);
      text.erase(size_t(from), size_t(caret - from));
      caret = from;
      m->FText = text;
      Rebuild(m, caret);
    } else {
      m->FText = text;
      // A deletion can join a lone CR and a lone LF into a line break.
      if (memotext::Render(text) != shown) Rebuild(m, caret);
    }
    m->FModified = true;
    GuardedCall([m] { m->Change(); });
  }
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
  FAutoSelect = false;
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::Lines() const { return FLines.get(); }

void TCustomMemo::SetLines(TStrings* v) {
  if (v) SetText(v->Text());
}

void TCustomMemo::CreateWnd() {
  auto* edit = new QPlainTextEdit;
  edit->setPlainText(memotext::Render(FText));
  TControlHost::Attach(this, edit, false);
  ApplySettings();
  TMemoView::SetCaret(this, FSelStart, FSelStart + FSelLength);
  QObject::connect(edit->document(), &QTextDocument::contentsChanged, [this] { TMemoView::UserChanged(this); });
}

void TCustomMemo::ApplySettings() {
  QPlainTextEdit* e = TMemoView::Edit(this);
  if (!e) return;
  e->setReadOnly(FReadOnly);
  e->setLineWrapMode(FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth ? QPlainTextEdit::WidgetWidth
                                                                                        : QPlainTextEdit::NoWrap);
  bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
  bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  e->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  e->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  e->setTabChangesFocus(!FWantTabs);
  e->setFrameShape(FBorderStyle == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  ApplyColor(e, Color(), QPalette::Base);
  ApplyColor(e, Font()->Color(), QPalette::Text);
  // Without HideSelection the selection stays highlighted while another control has the focus.
  QPalette p = e->palette();
  if (!FHideSelection) {
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
  }
  e->setPalette(p);
}

String TCustomMemo::GetText() const { return FText; }

void TCustomMemo::SetTextBuf(const String& v) {
  FText = v;
  FSelStart = FSelLength = 0;
  TMemoView::Rebuild(this, 0);
  FModified = false;
  Change();
}

void TCustomMemo::ReplaceRange(int Start, int End, const String& Value, bool Notify) {
  const int len = int(FText.size());
  Start = std::clamp(Start, 0, len);
  End = std::clamp(End, Start, len);
  // Widen to whole CR LF pairs and to a CR or LF that the new text could pair with.
  int s0 = Start, e0 = End;
  if (s0 > 0 && FText[size_t(s0 - 1)] == memotext::kCR) --s0;
  if (e0 < len && FText[size_t(e0)] == memotext::kLF) ++e0;
  const int shownFrom = memotext::ShownPos(FText, s0);
  const int shownTo = memotext::ShownPos(FText, e0);
  FText.replace(size_t(Start), size_t(End - Start), Value);
  const int newEnd = e0 + int(Value.size()) - (End - Start);
  const int caret = Start + int(Value.size());
  if (QPlainTextEdit* e = TMemoView::Edit(this)) {
    TInCode guard(FInSetText);
    QTextCursor c(e->document());
    c.setPosition(shownFrom);
    c.setPosition(shownTo, QTextCursor::KeepAnchor);
    c.insertText(memotext::Render(FText, size_t(s0), size_t(newEnd)));
    TMemoView::SetCaret(this, caret, caret);
    e->ensureCursorVisible();
  } else {
    FSelStart = caret;
    FSelLength = 0;
  }
  if (Notify) Change();
}

int TCustomMemo::SelStart() const {
  if (QPlainTextEdit* e = TMemoView::Edit(this))
    return memotext::TextPos(FText, e->textCursor().selectionStart());
  return FSelStart;
}

void TCustomMemo::SetSelStart(int v) {
  v = std::clamp(v, 0, int(FText.size()));
  FSelStart = v;
  FSelLength = 0;
  TMemoView::SetCaret(this, v, v);
}

int TCustomMemo::SelLength() const {
  if (QPlainTextEdit* e = TMemoView::Edit(this)) {
    QTextCursor c = e->textCursor();
    return memotext::TextPos(FText, c.selectionEnd()) - memotext::TextPos(FText, c.selectionStart());
  }
  return FSelLength;
}

void TCustomMemo::SetSelLength(int v) {
  int s = SelStart();
  int end = std::clamp(s + std::max(0, v), s, int(FText.size()));
  FSelStart = s;
  FSelLength = end - s;
  TMemoView::SetCaret(this, s, end);
}

String TCustomMemo::SelText() const {
  int s = SelStart();
  return FText.substr(size_t(s), size_t(SelLength()));
}

void TCustomMemo::SetSelText(const String& v) {
  int s = SelStart();
  ReplaceRange(s, s + SelLength(), v, true);
}

void TCustomMemo::SetMaxLength(int v) { FMaxLength = std::max(0, v); }

void TCustomMemo::SetReadOnly(bool v) {
  FReadOnly = v;
  ApplySettings();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  ApplySettings();
}

void TCustomMemo::SetWordWrap(bool v) {
  FWordWrap = v;
  ApplySettings();
}

void TCustomMemo::SetWantTabs(bool v) {
  FWantTabs = v;
  ApplySettings();
}

TPoint TCustomMemo::CaretPos() const {
  int pos = SelStart() + SelLength();
  auto starts = memotext::LineStarts(FText);
  int line = int(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
  return TPoint(pos - starts[size_t(line)], line);
}

void TCustomMemo::SetCaretPos(const TPoint& p) {
  auto starts = memotext::LineStarts(FText);
  int line = std::clamp(p.Y, 0, int(starts.size()) - 1);
  int s = starts[size_t(line)];
  SetSelStart(std::min(s + std::max(0, p.X), memotext::LineEnd(FText, s)));
}

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == EM_GETLINECOUNT) {
    Message.Result = LRESULT(memotext::LineStarts(FText).size());
    return;
  }
  TCustomEdit::Dispatch(Message);
}
