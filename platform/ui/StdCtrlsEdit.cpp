// Edits and memos.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QMenu>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
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

// Starts of the lines (only CR LF ends a line).
std::vector<int> LineStarts(const String& s) {
  std::vector<int> starts{0};
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (PairAt(s, i)) starts.push_back(int(i + 2)), ++i;
  return starts;
}

// The positions below work on the line starts kept beside the text, so that none of them
// walks the text: a memo that only grows costs the same per append whatever it holds.

// Screen position of a text position (a position inside a CR LF pair maps to the break).
// Each CR LF pair that begins before pos is one character on screen.
int ShownPos(const std::vector<int>& starts, int pos) {
  int pairs = int(std::upper_bound(starts.begin(), starts.end(), pos + 1) - starts.begin()) - 1;
  return pos - pairs;
}

// Text position of a screen position: line k begins at screen position starts[k] - k.
int TextPos(const std::vector<int>& starts, int size, int shown) {
  size_t lo = 0, hi = starts.size();
  while (hi - lo > 1) {
    size_t mid = (lo + hi) / 2;
    if (starts[mid] - int(mid) <= shown) lo = mid;
    else hi = mid;
  }
  return std::clamp(shown + int(lo), 0, size);
}

// End of line Index (before its CR LF, or the end of the text).
int LineEnd(const std::vector<int>& starts, int size, size_t Index) {
  return Index + 1 < starts.size() ? starts[Index + 1] - 2 : size;
}

// Brings starts up to date after [Start, End) of the text was replaced by Count characters
// (s is the new text): pairs that touched the range go, later ones move, and only the new
// characters and their two neighbours are looked at.
void ReplaceStarts(std::vector<int>& starts, const String& s, int Start, int End, int Count) {
  // A pair at i holds line start i + 2; pairs at Start - 1 .. End - 1 overlapped the range.
  auto from = std::lower_bound(starts.begin() + 1, starts.end(), Start + 1);
  auto to = std::upper_bound(from, starts.end(), End + 1);
  const int delta = Count - (End - Start);
  for (auto it = to; it != starts.end(); ++it) *it += delta;
  std::vector<int> added;
  for (int i = std::max(0, Start - 1); i <= Start + Count - 1; ++i)
    if (PairAt(s, size_t(i))) added.push_back(i + 2);
  auto at = starts.erase(from, to);
  starts.insert(at, added.begin(), added.end());
}

}  // namespace memotext

void SyncMemoView(TCustomMemo* m);

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

// The edit's window: after its own painting, a control that paints over it gets WM_NCPAINT and
// WM_PAINT with a DC on the window.
class TEditWidget : public QLineEdit {
public:
  TEditWidget(TCustomEdit* edit, bool* paintOver, bool* inputAsChars)
      : edit_(edit), paintOver_(paintOver), inputAsChars_(inputAsChars) {}

protected:
  // The window's own menu edits through the clipboard messages, as its keys do.
  void contextMenuEvent(QContextMenuEvent* e) override {
    // Shown without waiting, as the window's own menu is; it goes when it closes.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool editable = !isReadOnly(), selected = hasSelectedText();
    const bool copyable = selected && echoMode() == QLineEdit::Normal;
    struct TEntry {
      const char* name;
      const char16_t* caption;
      UINT msg;
      bool enabled;
    };
    const TEntry entries[] = {
        {"edit-cut", u"Cu&t", WM_CUT, editable && copyable},
        {"edit-copy", u"&Copy", WM_COPY, copyable},
        {"edit-paste", u"&Paste", WM_PASTE, editable && !QApplication::clipboard()->text().isEmpty()},
        {"edit-delete", u"&Delete", WM_CLEAR, editable && selected},
    };
    for (const TEntry& entry : entries) {
      QAction* a = menu->addAction(ToQString(entry.caption));
      a->setObjectName(QLatin1String(entry.name));
      a->setEnabled(entry.enabled);
      const UINT m = entry.msg;
      QObject::connect(a, &QAction::triggered, this, [this, m] { GuardedCall([&] { edit_->Perform(m, 0, 0); }); });
    }
    menu->addSeparator();
    QAction* all = menu->addAction(QStringLiteral("Select &All"));
    all->setObjectName(QStringLiteral("select-all"));
    all->setEnabled(!text().isEmpty());
    QObject::connect(all, &QAction::triggered, this, [this] { selectAll(); });
    menu->popup(e->globalPos());
  }
  // A middle-button paste of the selection would go past the control: an edit that takes its
  // input as characters does not take it.
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (*inputAsChars_ && e->button() == Qt::MiddleButton) return;
    QLineEdit::mouseReleaseEvent(e);
  }
  void inputMethodEvent(QInputMethodEvent* e) override {
    if (!*inputAsChars_ || e->commitString().isEmpty()) {
      QLineEdit::inputMethodEvent(e);
      return;
    }
    // The composition shown so far goes; the committed text arrives as typed characters.
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    QLineEdit::inputMethodEvent(&rest);
    const QString text = e->commitString();
    QPointer<QLineEdit> self(this);  // a handler may free the control
    for (QChar ch : text) {
      if (self.isNull()) return;
      TMessage m{WM_CHAR, ch.unicode(), 1, 0};
      const bool passed = edit_->FHost ? edit_->FHost->Translate(edit_, m) : false;
      if (self.isNull()) return;
      const Char out = static_cast<Char>(m.WParam);
      if (passed && out != 0) insert(QString(QChar(out)));
    }
  }

  void paintEvent(QPaintEvent* e) override {
    if (*paintOver_ && !painting) {
      // The control erases the background (WM_ERASEBKGND); the edit draws on it.
      if (HDC dc = CreateDeviceDC(this)) {
        painting = true;
        GuardedCall([&] { edit_->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
        painting = false;
        DeleteDeviceDC(dc);
      }
    }
    QLineEdit::paintEvent(e);
    if (!*paintOver_ || painting) return;
    HDC dc = CreateDeviceDC(this);
    if (dc == nullptr) return;
    painting = true;
    GuardedCall([&] {
      edit_->Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(dc), 0);
      edit_->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    painting = false;
    DeleteDeviceDC(dc);
  }

public:
  bool painting = false;  // the control paints over the window now

private:
  TCustomEdit* edit_;
  bool* paintOver_;
  bool* inputAsChars_;
};

void TCustomEdit::CreateParams(TCreateParams& Params) {
  Params.Style |= ES_AUTOHSCROLL;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  if (FAlignment == taCenter) Params.Style |= ES_CENTER;
}

void TCustomEdit::NotifyChange() {
  Perform(CN_COMMAND, WPARAM(EN_CHANGE) << 16, reinterpret_cast<LPARAM>(FHandle));
}

void TCustomEdit::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  FStyle = params.Style;
  auto* edit = new TEditWidget(this, &FPaintOver, &FInputAsChars);
  edit->setText(ToQString(TControl::GetText()));
  TControlHost::Attach(this, edit, false);
  edit->setValidator(new TCharCaseValidator(edit, FCharCase));
  // An edit takes dropped text only through a drop target registered for its window, which
  // filters it as the control requires.
  edit->setAcceptDrops(false);
  ApplySettings();
  QObject::connect(edit, &QLineEdit::textChanged, [this](const QString&) {
    if (!FInSetText) GuardedCall([this] { NotifyChange(); });
  });
  QObject::connect(edit, &QLineEdit::textEdited, [this](const QString&) { FModified = true; });
}

void TCustomEdit::ApplyBaseColor() {
  auto* edit = NativeOf<QLineEdit>(this);
  if (!edit || !FPaintOver) {
    ApplyColor(TControlHost::Widget(this), Color(), QPalette::Base);  // also a memo's window
    return;
  }
  // The background is the control's to erase: the edit itself draws none.
  QPalette p = edit->palette();
  p.setColor(QPalette::Base, Qt::transparent);
  edit->setPalette(p);
  edit->update();
}

void TCustomEdit::DestroyWnd() {
  // The window's own text (what a derived class shows of it is its business).
  if (NativeOf<QLineEdit>(this) != nullptr) TControl::SetTextBuf(TCustomEdit::GetText());
  TWinControl::DestroyWnd();
}

void TCustomEdit::UpdateWindowStyle() {
  if (NativeOf<QLineEdit>(this) == nullptr) return;
  TCreateParams params;
  CreateParams(params);
  FStyle = params.Style;
  ApplySettings();
}

void TCustomEdit::ApplySettings() {
  auto* edit = NativeOf<QLineEdit>(this);
  if (!edit) return;
  edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
  edit->setReadOnly(FReadOnly);
  edit->setEchoMode(FPasswordChar ? QLineEdit::Password : QLineEdit::Normal);
  edit->setFrame(FBorderStyle == bsSingle);
  // The window's style decides the alignment, as the native edit's does.
  edit->setAlignment(((FStyle & ES_RIGHT) ? Qt::AlignRight : (FStyle & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft) |
                     Qt::AlignVCenter);
  ApplyBaseColor();
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
  NotifyChange();
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
  if (auto* memo = NativeOf<QPlainTextEdit>(this)) {
    if (auto* m = dynamic_cast<TCustomMemo*>(this)) SyncMemoView(m);
    memo->undo();
  }
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
  UpdateWindowStyle();
}

void TCustomEdit::CMColorChanged(TMessage& Message) {
  TWinControl::CMColorChanged(Message);
  ApplyBaseColor();
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
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(GetText().size());
      return;
    case EM_POSFROMCHAR:
      Message.Result = PosFromChar(int(intptr_t(Message.WParam)));
      return;
    case EM_CHARFROMPOS:
      if (auto* e = NativeOf<QLineEdit>(this)) {
        QPoint p(int16_t(LOWORD(uintptr_t(Message.LParam))), int16_t(HIWORD(uintptr_t(Message.LParam))));
        Message.Result = MAKELPARAM(WORD(e->cursorPositionAt(p)), 0);
      } else {
        Message.Result = -1;
      }
      return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) Change();
      return;
    case WM_PASTE:
      PasteFromClipboard();
      return;
    case WM_COPY:
      CopyToClipboard();
      return;
    case WM_CUT:
      CutToClipboard();
      return;
    case WM_CLEAR:
      if (!FReadOnly) ClearSelection();
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

bool TCustomEdit::PerformClipboardKey(const TMessage& Message) {
  UINT clip = 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  if (Message.Msg == WM_CHAR) {
    clip = Message.WParam == 3 ? WM_COPY : Message.WParam == 22 ? WM_PASTE : Message.WParam == 24 ? WM_CUT : 0;
  } else if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_INSERT) {
    clip = shift ? WM_PASTE : ctrl ? WM_COPY : 0;
  } else if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_DELETE && shift) {
    clip = WM_CUT;
  }
  if (clip == 0) return false;
  Perform(clip, 0, 0);
  return true;
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
  if (NativeOf<QLineEdit>(this) != nullptr && PerformClipboardKey(Message)) return;
  TWinControl::DefaultHandler(Message);
}

LRESULT TCustomEdit::PosFromChar(int Index) {
  QLineEdit* e = NativeOf<QLineEdit>(this);
  if (!e || Index < 0 || Index > e->text().size()) return -1;
  // A paint brings the line's scroll offsets to what the window shows; the caret then visits
  // the character to read its rectangle, and the selection is put back unchanged.
  QImage scratch(1, 1, QImage::Format_ARGB32);
  auto* own = dynamic_cast<TEditWidget*>(e);
  if (own == nullptr || !own->painting) e->render(&scratch, QPoint(), QRegion(0, 0, 1, 1));
  QSignalBlocker block(e);
  int cursor = e->cursorPosition(), selStart = e->selectionStart(), selLength = int(e->selectedText().size());
  e->setCursorPosition(Index);
  QRect r = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  if (selStart < 0) e->setCursorPosition(cursor);
  else if (cursor == selStart) e->setSelection(selStart + selLength, -selLength);
  else e->setSelection(selStart, selLength);
  // The caret rectangle reaches 5 pixels left of the caret.
  return MAKELPARAM(WORD(int16_t(r.x() + 5)), WORD(int16_t(r.y())));
}

// ---------------------------------------------------------------------------
// TCustomMemo

class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
  int Count() const override {
    const String& t = memo_->FText;
    if (t.empty()) return 0;
    const std::vector<int>& starts = memo_->FLineStarts;
    int n = int(starts.size());
    if (starts.back() == int(t.size())) --n;  // the empty line after a final CR LF
    return n;
  }
  String Get(int Index) const override {
    int s = Start(Index);
    return memo_->FText.substr(size_t(s), size_t(End(Index) - s));
  }
  void Put(int Index, const String& S) override {
    int s = Start(Index);
    memo_->ReplaceRange(s, End(Index), S, true);
  }
  void Insert(int Index, const String& S) override {
    const int lines = int(memo_->FLineStarts.size());
    if (Index < 0) return;
    if (Index < lines) {
      int s = Start(Index);
      memo_->ReplaceRange(s, s, S + u"\r\n", true);
      return;
    }
    if (Index - 1 >= lines) return;
    int end = End(Index - 1);
    memo_->ReplaceRange(end, end, u"\r\n" + S, true);
  }
  void Delete(int Index) override {
    int s = Start(Index);
    const std::vector<int>& starts = memo_->FLineStarts;
    int e = Index + 1 < int(starts.size()) ? starts[size_t(Index + 1)] : int(memo_->FText.size());
    memo_->ReplaceRange(s, e, String(), true);
  }
  void Clear() override { memo_->SetText(String()); }
  void SetText(const String& Value) override { memo_->SetText(Value); }

private:
  int Start(int Index) const {
    const std::vector<int>& starts = memo_->FLineStarts;
    if (Index < 0 || Index >= int(starts.size())) throw EStringListError(u"List index out of bounds");
    return starts[size_t(Index)];
  }
  int End(int Index) const { return memotext::LineEnd(memo_->FLineStarts, int(memo_->FText.size()), size_t(Index)); }

  TCustomMemo* memo_;
};

// Qt-side helpers of the memo.
struct TMemoView {
  static QPlainTextEdit* Edit(const TCustomMemo* m) { return NativeOf<QPlainTextEdit>(m); }

  // The window shows the text and caret as they are.
  static bool Current(const TCustomMemo* m) { return m->FViewFrom < 0; }

  // A change of Count characters reaches the window at once when it is the first of this
  // turn of the message loop and small; others wait for the turn's end, so that a burst of
  // appends (a flood echoed into a monitor) costs one window update per turn instead of
  // one per append, and a large one is not laid out before the turn's end either.
  static bool MayUpdateNow(const TCustomMemo* m, size_t Count) {
    return Current(m) && !m->FViewBusy && Count <= 4096;
  }

  // The window took a change or fell behind: further changes in this turn wait for the
  // turn's end, which brings it up to date.
  static void Took(TCustomMemo* m) {
    QPlainTextEdit* e = Edit(m);
    if (!e || m->FViewBusy) return;
    m->FViewBusy = true;
    QMetaObject::invokeMethod(
        e,
        [m] {
          m->FViewBusy = false;
          if (Current(m)) return;
          Sync(m);
          Took(m);
        },
        Qt::QueuedConnection);
  }

  // The window falls behind the text from text position From (its screen position
  // ShownFrom, taken before the text changed).
  static void Defer(TCustomMemo* m, int From, int ShownFrom) {
    if (Current(m) || From < m->FViewFrom) {
      m->FViewFrom = From;
      m->FViewShownFrom = ShownFrom;
    }
    Took(m);
  }

  // Brings the window up to date: what it shows from FViewFrom on is replaced at once.
  static void Sync(TCustomMemo* m) {
    if (Current(m)) return;
    const int from = m->FViewFrom;
    m->FViewFrom = -1;
    QPlainTextEdit* e = Edit(m);
    if (!e) return;
    {
      TInCode guard(m->FInSetText);
      if (from == 0) {
        e->setPlainText(memotext::Render(m->FText));
      } else {
        QTextCursor c(e->document());
        c.setPosition(m->FViewShownFrom);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.insertText(memotext::Render(m->FText, size_t(from)));
      }
    }
    SetCaret(m, m->FSelStart, m->FSelStart + m->FSelLength);
    e->ensureCursorVisible();
  }

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
    c.setPosition(memotext::ShownPos(m->FLineStarts, anchor));
    c.setPosition(memotext::ShownPos(m->FLineStarts, pos), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
  }

  // The user edited the screen text: take the exact text from it.
  static void UserChanged(TCustomMemo* m) {
    QPlainTextEdit* e = Edit(m);
    if (!e || m->FInSetText) return;
    QString shown = e->document()->toRawText();
    m->FText = memotext::Unrender(shown);
    m->FLineStarts = memotext::LineStarts(m->FText);
    int caret = memotext::TextPos(m->FLineStarts, int(m->FText.size()), e->textCursor().position());
    if (m->FMaxLength > 0 && int(m->FText.size()) > m->FMaxLength) {
      // Over the limit: drop the typed characters that do not fit.
      int excess = int(m->FText.size()) - m->FMaxLength;
      int from = std::max(0, caret - excess);
      m->FText.erase(size_t(from), size_t(caret - from));
      m->FLineStarts = memotext::LineStarts(m->FText);
      Rebuild(m, from);
    } else if (memotext::Render(m->FText) != shown) {
      // A deletion can join a lone CR and a lone LF into a line break.
      Rebuild(m, caret);
    }
    m->FModified = true;
    GuardedCall([m] { m->Change(); });
  }
};

const QString MemoViewFilterName = QStringLiteral("memoViewFilter");

// Brings a memo's window up to date before anything reads it or acts on it: input from
// the user, painting, the window's own undo.
class TMemoViewFilter : public QObject {
public:
  TMemoViewFilter(TCustomMemo* m, QObject* parent) : QObject(parent), memo_(m) {}
  bool eventFilter(QObject*, QEvent*) override {
    TMemoView::Sync(memo_);
    return false;
  }

private:
  TCustomMemo* memo_;
};

void SyncMemoView(TCustomMemo* m) { TMemoView::Sync(m); }

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
  FAutoSelect = false;
}

TCustomMemo::~TCustomMemo() {
  // The base class frees the window after this part of the object is gone: unhook it first.
  if (QPlainTextEdit* e = TMemoView::Edit(this))
    delete e->findChild<QObject*>(MemoViewFilterName, Qt::FindDirectChildrenOnly);
}

TStrings* TCustomMemo::Lines() const { return FLines.get(); }

void TCustomMemo::SetLines(TStrings* v) {
  if (v) SetText(v->Text());
}

void TCustomMemo::CreateWnd() {
  FViewFrom = -1;
  FViewBusy = false;
  auto* edit = new QPlainTextEdit;
  edit->setPlainText(memotext::Render(FText));
  TControlHost::Attach(this, edit, false);
  ApplySettings();
  TMemoView::SetCaret(this, FSelStart, FSelStart + FSelLength);
  // The filter is the context of the memo's hooks into the window: freeing it unhooks them all.
  auto* filter = new TMemoViewFilter(this, edit);
  filter->setObjectName(MemoViewFilterName);
  QObject::connect(edit->document(), &QTextDocument::contentsChanged, filter, [this] { TMemoView::UserChanged(this); });
  edit->installEventFilter(filter);
  edit->viewport()->installEventFilter(filter);
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
  FLineStarts = memotext::LineStarts(FText);
  FSelStart = FSelLength = 0;
  if (TMemoView::MayUpdateNow(this, FText.size())) {
    TMemoView::Rebuild(this, 0);
    TMemoView::Took(this);
  } else {
    TMemoView::Defer(this, 0, 0);
  }
  FModified = false;
  Change();
}

void TCustomMemo::ReplaceRange(int Start, int End, const String& Value, bool Notify) {
  const int len = int(FText.size());
  Start = std::clamp(Start, 0, len);
  End = std::clamp(End, Start, len);
  // Like the native edit, text put in by code stops at the text limit.
  size_t count = Value.size();
  if (FMaxLength > 0) count = std::min(count, size_t(std::max(0, FMaxLength - (len - (End - Start)))));
  const std::u16string_view value(Value.data(), count);
  // Widen to whole CR LF pairs and to a CR or LF that the new text could pair with.
  int s0 = Start, e0 = End;
  if (s0 > 0 && FText[size_t(s0 - 1)] == memotext::kCR) --s0;
  if (e0 < len && FText[size_t(e0)] == memotext::kLF) ++e0;
  const int shownFrom = memotext::ShownPos(FLineStarts, s0);
  const int shownTo = memotext::ShownPos(FLineStarts, e0);
  FText.replace(size_t(Start), size_t(End - Start), value);
  memotext::ReplaceStarts(FLineStarts, FText, Start, End, int(count));
  const int newEnd = e0 + int(count) - (End - Start);
  const int caret = Start + int(count);
  QPlainTextEdit* e = TMemoView::Edit(this);
  if (e && TMemoView::MayUpdateNow(this, count)) {
    {
      TInCode guard(FInSetText);
      QTextCursor c(e->document());
      c.setPosition(shownFrom);
      c.setPosition(shownTo, QTextCursor::KeepAnchor);
      c.insertText(memotext::Render(FText, size_t(s0), size_t(newEnd)));
    }
    TMemoView::SetCaret(this, caret, caret);
    e->ensureCursorVisible();
    TMemoView::Took(this);
  } else if (e) {
    TMemoView::Defer(this, s0, shownFrom);
    // As the window would: a caret between CR and LF stands before the pair.
    FSelStart = memotext::TextPos(FLineStarts, int(FText.size()), memotext::ShownPos(FLineStarts, caret));
    FSelLength = 0;
  } else {
    FSelStart = caret;
    FSelLength = 0;
  }
  if (Notify) Change();
}

int TCustomMemo::SelStart() const {
  if (QPlainTextEdit* e = TMemoView::Edit(this); e && TMemoView::Current(this))
    return memotext::TextPos(FLineStarts, int(FText.size()), e->textCursor().selectionStart());
  return FSelStart;
}

void TCustomMemo::SetSelStart(int v) {
  TMemoView::Sync(this);
  v = std::clamp(v, 0, int(FText.size()));
  FSelStart = v;
  FSelLength = 0;
  TMemoView::SetCaret(this, v, v);
}

int TCustomMemo::SelLength() const {
  if (QPlainTextEdit* e = TMemoView::Edit(this); e && TMemoView::Current(this)) {
    QTextCursor c = e->textCursor();
    const int len = int(FText.size());
    return memotext::TextPos(FLineStarts, len, c.selectionEnd()) - memotext::TextPos(FLineStarts, len, c.selectionStart());
  }
  return FSelLength;
}

void TCustomMemo::SetSelLength(int v) {
  TMemoView::Sync(this);
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
  const std::vector<int>& starts = FLineStarts;
  int line = int(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
  return TPoint(pos - starts[size_t(line)], line);
}

void TCustomMemo::SetCaretPos(const TPoint& p) {
  int line = std::clamp(p.Y, 0, int(FLineStarts.size()) - 1);
  int s = FLineStarts[size_t(line)];
  SetSelStart(std::min(s + std::max(0, p.X), memotext::LineEnd(FLineStarts, int(FText.size()), size_t(line))));
}

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case EM_GETLINECOUNT: Message.Result = LRESULT(FLineStarts.size()); return;
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(FText.size()); return;
    default: TCustomEdit::Dispatch(Message);
  }
}
