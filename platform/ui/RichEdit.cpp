// TCustomRichEdit over a Qt text document that the control owns; its window (a QTextEdit) only
// shows and edits that document, so the text outlives the window.
#include "platform/ui/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <cmath>

#include "platform/ui/RichEditRtf_p.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

// The device documents are laid out for: 96 dots per inch, the class library's resolution.
QPaintDevice* LayoutDevice() {
  static QImage device = [] {
    QImage i(1, 1, QImage::Format_RGB32);
    i.setDotsPerMeterX(3780);
    i.setDotsPerMeterY(3780);
    return i;
  }();
  return &device;
}

// A copy of the document laid out on the 96-dpi device without margins.
std::unique_ptr<QTextDocument> LayoutCopy(const QTextDocument& doc) {
  std::unique_ptr<QTextDocument> d(doc.clone());
  d->documentLayout()->setPaintDevice(LayoutDevice());
  d->setDocumentMargin(0);
  return d;
}

// The document's default font: the control's font in points.
QFont DocFont(TFont* f) {
  QFont q = ToQFont(f->Handle()->logFont);
  q.setPointSizeF(std::max(1, f->Size()));
  return q;
}

QColor FromColorRef(COLORREF c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The document's text with paragraphs ended by CR LF and line breaks as VT, as the rich edit
// window reports its text.
String DocText(const QTextDocument& doc, int From = 0, int To = -1) {
  const QString raw = doc.toRawText();
  String out;
  const qsizetype end = To < 0 ? raw.size() : std::min<qsizetype>(To, raw.size());
  for (qsizetype i = std::max(0, From); i < end; ++i) {
    const char16_t c = raw[i].unicode();
    if (c == QChar::ParagraphSeparator) out += u"\r\n";
    else if (c == QChar::LineSeparator) out += u'\v';
    else out += Char(c);
  }
  return out;
}

// Text as the document takes it: CR LF, CR or LF break paragraphs, VT breaks lines.
QString DocInput(const String& v) {
  QString s;
  s.reserve(qsizetype(v.size()));
  for (size_t i = 0; i < v.size(); ++i) {
    const Char c = v[i];
    if (c == u'\r') {
      if (i + 1 < v.size() && v[i + 1] == u'\n') ++i;
      s += QChar(QChar::ParagraphSeparator);
    } else if (c == u'\n') {
      s += QChar(QChar::ParagraphSeparator);
    } else if (c == u'\v') {
      s += QChar(QChar::LineSeparator);
    } else {
      s += QChar(c);
    }
  }
  return s;
}

// A character format as CHARFORMATW (every field valid).
CHARFORMATW ToCharFormat(const QTextCharFormat& f, const QFont& font, TColor autoColor) {
  CHARFORMATW cf;
  cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_OFFSET |
              CFM_CHARSET;
  if (f.fontWeight() >= QFont::DemiBold) cf.dwEffects |= CFE_BOLD;
  if (f.fontItalic()) cf.dwEffects |= CFE_ITALIC;
  if (f.fontUnderline()) cf.dwEffects |= CFE_UNDERLINE;
  if (f.fontStrikeOut()) cf.dwEffects |= CFE_STRIKEOUT;
  const double pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : font.pointSizeF();
  cf.yHeight = LONG(std::lround(pt * 20));
  cf.yOffset = f.intProperty(rtf::OffsetProperty);
  if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush) {
    cf.crTextColor = FromQColor(f.foreground().color());
  } else {
    cf.dwEffects |= CFE_AUTOCOLOR;
    cf.crTextColor = FromQColor(ToQColor(autoColor));
  }
  cf.bCharSet = BYTE(f.hasProperty(rtf::CharsetProperty) ? f.intProperty(rtf::CharsetProperty) : 0);
  const QStringList families = f.fontFamilies().toStringList();
  const QString face = families.isEmpty() ? font.family() : families.first();
  for (qsizetype i = 0; i < face.size() && i < 31; ++i) cf.szFaceName[i] = face[i].unicode();
  return cf;
}

// Applies the fields of cf that its mask names to f.
void ApplyCharFormat(QTextCharFormat& f, const CHARFORMATW& cf) {
  const DWORD m = cf.dwMask, e = cf.dwEffects;
  if (m & CFM_BOLD) f.setFontWeight((e & CFE_BOLD) ? QFont::Bold : QFont::Normal);
  if (m & CFM_ITALIC) f.setFontItalic(e & CFE_ITALIC);
  if (m & CFM_UNDERLINE) f.setFontUnderline(e & CFE_UNDERLINE);
  if (m & CFM_STRIKEOUT) f.setFontStrikeOut(e & CFE_STRIKEOUT);
  if ((m & CFM_SIZE) && cf.yHeight > 0) f.setFontPointSize(std::min(cf.yHeight, LONG(32767)) / 20.0);
  if (m & CFM_FACE) {
    String face;
    for (Char c : cf.szFaceName) {
      if (c == 0) break;
      face += c;
    }
    if (!face.empty()) f.setFontFamilies(QStringList{ToQString(face)});
  }
  if (m & CFM_CHARSET) f.setProperty(rtf::CharsetProperty, int(cf.bCharSet));
  if (m & CFM_COLOR) {
    if (e & CFE_AUTOCOLOR) f.clearForeground();
    else f.setForeground(FromColorRef(cf.crTextColor));
  }
  if (m & CFM_OFFSET) {
    if (cf.yOffset == 0) {
      f.clearProperty(rtf::OffsetProperty);
      f.clearProperty(QTextFormat::TextBaselineOffset);
    } else {
      const LONG off = std::clamp(cf.yOffset, LONG(-32767), LONG(32767));
      f.setProperty(rtf::OffsetProperty, int(off));
      const double pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 10;
      f.setBaselineOffset(off / 20.0 / pt * 100.0);
    }
  }
}

}  // namespace

struct TRichEditPrivate {
  QTextDocument doc;
  QTextCursor cursor{&doc};  // the selection while there is no window
  QObject context;           // receiver of the document's signals

  // The selection: the window's while there is one.
  static QTextCursor Cursor(const TCustomRichEdit* e) {
    if (auto* w = NativeOf<QTextEdit>(e)) return w->textCursor();
    return e->FPrivate->cursor;
  }
  static void SetCursor(TCustomRichEdit* e, const QTextCursor& c) {
    e->FPrivate->cursor = c;
    if (auto* w = NativeOf<QTextEdit>(e)) w->setTextCursor(c);
  }
};

// ---- Lines: one string per paragraph.
class TRichEditStrings : public TStrings {
public:
  explicit TRichEditStrings(TCustomRichEdit* e) : edit_(e) {}
  int Count() const override {
    const QTextDocument& d = edit_->FPrivate->doc;
    return d.isEmpty() ? 0 : d.blockCount();
  }
  String Get(int Index) const override {
    QTextBlock b = Block(Index);
    if (!b.isValid()) Error(Index);
    return DocText(edit_->FPrivate->doc, b.position(), b.position() + b.length() - 1);
  }
  void Put(int Index, const String& S) override {
    QTextBlock b = Block(Index);
    if (!b.isValid()) Error(Index);
    QTextCursor c(b);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(DocInput(S));
  }
  void Insert(int Index, const String& S) override {
    const int n = Count();
    if (Index < 0 || Index > n) Error(Index);
    QTextDocument& d = edit_->FPrivate->doc;
    QTextCursor c(&d);
    if (n == 0) {
      c.insertText(DocInput(S));
    } else if (Index == n) {
      c.movePosition(QTextCursor::End);
      c.insertBlock();
      c.insertText(DocInput(S));
    } else {
      c.setPosition(Block(Index).position());
      c.insertText(DocInput(S));
      c.insertBlock();
    }
  }
  void Delete(int Index) override {
    QTextBlock b = Block(Index);
    if (!b.isValid()) Error(Index);
    QTextCursor c(b);
    if (b.next().isValid()) {
      c.setPosition(b.next().position(), QTextCursor::KeepAnchor);
    } else {
      c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      if (b.previous().isValid()) {  // the last paragraph goes with the break before it
        c.setPosition(b.previous().position() + b.previous().length() - 1);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
      }
    }
    c.removeSelectedText();
  }
  void Clear() override { edit_->SetTextBuf(String()); }
  void SetText(const String& Value) override {
    String v = Value;
    if (v.size() >= 2 && v.compare(v.size() - 2, 2, u"\r\n") == 0) v.resize(v.size() - 2);
    else if (!v.empty() && (v.back() == u'\n' || v.back() == u'\r')) v.pop_back();
    edit_->SetTextBuf(v);
  }
  void LoadFromStream(TStream* Stream) override {
    const int64_t start = Stream->Position();
    const int64_t size = Stream->Size() - start;
    std::string bytes(size_t(std::max<int64_t>(size, 0)), '\0');
    if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), int32_t(bytes.size()));
    if (!edit_->FPlainText && rtf::IsRtf(bytes)) {
      edit_->LoadRtf(bytes);
      return;
    }
    Stream->SetPosition(start);
    TStrings::LoadFromStream(Stream);
  }
  void SaveToStream(TStream* Stream) const override {
    if (edit_->FPlainText) {
      TStrings::SaveToStream(Stream);
      return;
    }
    const std::string bytes = edit_->SaveRtf();
    Stream->WriteBuffer(bytes.data(), int32_t(bytes.size()));
  }

private:
  QTextBlock Block(int Index) const {
    if (Index < 0 || Index >= Count()) return QTextBlock();
    return edit_->FPrivate->doc.findBlockByNumber(Index);
  }
  [[noreturn]] static void Error(int Index) {
    throw EStringListError(Format(u"List index out of bounds (%d)", {Index}));
  }
  TCustomRichEdit* edit_;
};

// ---- Attributes

CHARFORMATW TTextAttributes::Get() const {
  CHARFORMATW cf;
  FRichEdit->GetCharFormat(FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, &cf);
  return cf;
}

void TTextAttributes::Set(const CHARFORMATW& f) { FRichEdit->SetCharFormat(FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, &f); }

TColor TTextAttributes::Color() const {
  CHARFORMATW cf = Get();
  return (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(cf.crTextColor);
}

void TTextAttributes::SetColor(TColor v) {
  CHARFORMATW cf;
  cf.dwMask = CFM_COLOR;
  if (v == clWindowText) cf.dwEffects = CFE_AUTOCOLOR;
  else cf.crTextColor = FromQColor(ToQColor(v));
  Set(cf);
}

String TTextAttributes::Name() const {
  CHARFORMATW cf = Get();
  String s;
  for (Char c : cf.szFaceName) {
    if (c == 0) break;
    s += c;
  }
  return s;
}

void TTextAttributes::SetName(const String& v) {
  CHARFORMATW cf;
  cf.dwMask = CFM_FACE;
  for (size_t i = 0; i < v.size() && i < 31; ++i) cf.szFaceName[i] = v[i];
  Set(cf);
}

int TTextAttributes::Size() const { return int(std::lround(Get().yHeight / 20.0)); }

void TTextAttributes::SetSize(int v) {
  CHARFORMATW cf;
  cf.dwMask = CFM_SIZE;
  cf.yHeight = v * 20;
  Set(cf);
}

int TTextAttributes::Height() const { return int(std::lround(Get().yHeight * 96 / 1440.0)); }

void TTextAttributes::SetHeight(int v) { SetSize(int(std::lround(v * 72 / 96.0))); }

TFontStyles TTextAttributes::Style() const {
  CHARFORMATW cf = Get();
  TFontStyles s;
  if (cf.dwEffects & CFE_BOLD) s.Include(fsBold);
  if (cf.dwEffects & CFE_ITALIC) s.Include(fsItalic);
  if (cf.dwEffects & CFE_UNDERLINE) s.Include(fsUnderline);
  if (cf.dwEffects & CFE_STRIKEOUT) s.Include(fsStrikeOut);
  return s;
}

void TTextAttributes::SetStyle(TFontStyles v) {
  CHARFORMATW cf;
  cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  if (v.Contains(fsBold)) cf.dwEffects |= CFE_BOLD;
  if (v.Contains(fsItalic)) cf.dwEffects |= CFE_ITALIC;
  if (v.Contains(fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
  if (v.Contains(fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
  Set(cf);
}

void TTextAttributes::Assign(TPersistent* Source) {
  if (auto* a = dynamic_cast<TTextAttributes*>(Source)) {
    Set(a->Get());
  } else if (auto* f = dynamic_cast<TFont*>(Source)) {
    SetName(f->Name());
    SetSize(f->Size());
    SetStyle(f->Style());
    SetColor(f->Color());
  } else {
    TPersistent::Assign(Source);
  }
}

TAlignment TParaAttributes::Alignment() const {
  const QTextCursor c = TRichEditPrivate::Cursor(FRichEdit);
  const Qt::Alignment a = c.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
  if (a & Qt::AlignHCenter) return taCenter;
  if (a & (Qt::AlignRight | Qt::AlignTrailing)) return taRightJustify;
  return taLeftJustify;
}

void TParaAttributes::SetAlignment(TAlignment v) {
  QTextCursor c = TRichEditPrivate::Cursor(FRichEdit);
  QTextBlockFormat b;
  b.setAlignment(v == taCenter ? Qt::AlignHCenter : v == taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
  c.mergeBlockFormat(b);
}

// ---- The control

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TCustomEdit(AOwner),
      FPrivate(std::make_unique<TRichEditPrivate>()),
      FLines(std::make_unique<TRichEditStrings>(this)),
      FSelAttributes(std::make_unique<TTextAttributes>(this, atSelected)),
      FDefAttributes(std::make_unique<TTextAttributes>(this, atDefaultText)),
      FParagraph(std::make_unique<TParaAttributes>(this)) {
  FPrivate->doc.setUndoRedoEnabled(false);
  FPrivate->doc.setDefaultFont(DocFont(Font()));
  FPrivate->doc.documentLayout()->setPaintDevice(LayoutDevice());
  QObject::connect(&FPrivate->doc, &QTextDocument::contentsChanged, &FPrivate->context, [this] {
    if (FLoading || IsDestroying()) return;
    GuardedCall([this] {
      FModified = true;
      NotifyChange();
      RequestResize(false);
    });
  });
}

TCustomRichEdit::~TCustomRichEdit() {
  Destroying();
  // The window must not keep the document the control is about to free; the swap moves its
  // cursor, which must not reach the control's events while it is being destroyed.
  if (auto* e = NativeOf<QTextEdit>(this)) {
    e->blockSignals(true);
    e->setDocument(new QTextDocument(e));
  }
}

TStrings* TCustomRichEdit::Lines() const { return FLines.get(); }

void TCustomRichEdit::SetLines(TStrings* v) { FLines->Assign(v); }

void TCustomRichEdit::CreateWnd() {
  auto* edit = new QTextEdit;
  edit->setDocument(&FPrivate->doc);
  edit->setAcceptRichText(false);
  TControlHost::Attach(this, edit, false);
  ApplySettings();
  edit->setTextCursor(FPrivate->cursor);
  auto selChange = [this] {
    if (!FLoading && (FEventMask & ENM_SELCHANGE)) {
      GuardedCall([this] {
        SELCHANGE sc;
        sc.nmhdr.hwndFrom = Handle();
        sc.nmhdr.code = EN_SELCHANGE;
        sc.chrg.cpMin = SelStart();
        sc.chrg.cpMax = SelStart() + SelLength();
        Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&sc));
      });
    }
  };
  QObject::connect(edit, &QTextEdit::cursorPositionChanged, edit, selChange);
  QObject::connect(edit, &QTextEdit::selectionChanged, edit, selChange);
}

void TCustomRichEdit::DestroyWnd() {
  if (auto* e = NativeOf<QTextEdit>(this)) {
    FPrivate->cursor = e->textCursor();
    e->setDocument(new QTextDocument(e));
    FPrivate->doc.documentLayout()->setPaintDevice(LayoutDevice());
  }
  TWinControl::DestroyWnd();
}

void TCustomRichEdit::ApplySettings() {
  auto* e = NativeOf<QTextEdit>(this);
  if (!e) return;
  e->setReadOnly(FReadOnly);
  e->setLineWrapMode(FWordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  e->setFrameShape(FBorderStyle == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  const bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  e->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  e->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  ApplyColor(e, Color(), QPalette::Base);
  ApplyColor(e, Font()->Color(), QPalette::Text);
}

void TCustomRichEdit::SetWordWrap(bool v) {
  FWordWrap = v;
  ApplySettings();
  RequestResize(true);
}

void TCustomRichEdit::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  ApplySettings();
}

void TCustomRichEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  ApplySettings();
}

void TCustomRichEdit::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  FPrivate->doc.setDefaultFont(DocFont(Font()));
  ApplySettings();
}

void TCustomRichEdit::Resize() {
  TCustomEdit::Resize();
  RequestResize(false);
}

String TCustomRichEdit::GetText() const { return DocText(FPrivate->doc); }

void TCustomRichEdit::SetTextBuf(const String& v) {
  {
    TInCode loading(FLoading);
    TControl::SetTextBuf(String());
    FPrivate->doc.clear();
    QTextCursor c(&FPrivate->doc);
    QTextCharFormat f;
    f.setFont(FPrivate->doc.defaultFont());
    c.insertText(DocInput(v), f);
    TRichEditPrivate::SetCursor(this, QTextCursor(&FPrivate->doc));
  }
  FModified = false;
  NotifyChange();
  RequestResize(false);
}

void TCustomRichEdit::LoadRtf(const std::string& Bytes) {
  {
    TInCode loading(FLoading);
    rtf::Read(Bytes, FPrivate->doc, FPrivate->doc.defaultFont());
    TRichEditPrivate::SetCursor(this, QTextCursor(&FPrivate->doc));
  }
  FModified = false;
  NotifyChange();
  RequestResize(false);
}

std::string TCustomRichEdit::SaveRtf() const { return rtf::Write(FPrivate->doc, FPrivate->doc.defaultFont()); }

int TCustomRichEdit::SelStart() const { return TRichEditPrivate::Cursor(this).selectionStart(); }

void TCustomRichEdit::SetSelStart(int v) {
  QTextCursor c = TRichEditPrivate::Cursor(this);
  c.setPosition(std::clamp(v, 0, FPrivate->doc.characterCount() - 1));
  TRichEditPrivate::SetCursor(this, c);
}

int TCustomRichEdit::SelLength() const {
  const QTextCursor c = TRichEditPrivate::Cursor(this);
  return c.selectionEnd() - c.selectionStart();
}

void TCustomRichEdit::SetSelLength(int v) {
  QTextCursor c = TRichEditPrivate::Cursor(this);
  const int start = c.selectionStart();
  c.setPosition(start);
  c.setPosition(std::clamp(start + std::max(v, 0), 0, FPrivate->doc.characterCount() - 1), QTextCursor::KeepAnchor);
  TRichEditPrivate::SetCursor(this, c);
}

String TCustomRichEdit::SelText() const {
  const QTextCursor c = TRichEditPrivate::Cursor(this);
  return DocText(FPrivate->doc, c.selectionStart(), c.selectionEnd());
}

void TCustomRichEdit::SetSelText(const String& v) {
  QTextCursor c = TRichEditPrivate::Cursor(this);
  c.insertText(DocInput(v));
  TRichEditPrivate::SetCursor(this, c);
}

void TCustomRichEdit::RequestResize(bool Always) {
  if (!(FEventMask & ENM_REQUESTRESIZE) || IsDestroying()) return;
  std::unique_ptr<QTextDocument> d = LayoutCopy(FPrivate->doc);
  const int width = std::max(0, ClientWidth());
  d->setTextWidth(FWordWrap ? std::max(width, 1) : -1);
  const int w = FWordWrap ? width : int(std::ceil(d->idealWidth()));
  const int h = int(std::ceil(d->size().height()));
  const TRect r(0, 0, w, h);
  if (!Always && r == FLastRequest) return;
  FLastRequest = r;
  REQRESIZE rr;
  rr.nmhdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
  rr.nmhdr.code = EN_REQUESTRESIZE;
  rr.rc = r;
  Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&rr));
}

void TCustomRichEdit::RequestSize(const TRect& Rect) {
  if (OnResizeRequest) OnResizeRequest(this, Rect);
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::CNNotify(TMessage& Message) {
  auto* h = reinterpret_cast<NMHDR*>(Message.LParam);
  if (h == nullptr) return;
  if (h->code == EN_REQUESTRESIZE) RequestSize(reinterpret_cast<REQRESIZE*>(h)->rc);
  else if (h->code == EN_SELCHANGE) SelectionChange();
}

LRESULT TCustomRichEdit::SetCharFormat(WPARAM Scope, const CHARFORMATW* Format) {
  if (Format == nullptr || Format->cbSize != sizeof(CHARFORMATW)) return 0;
  QTextDocument& doc = FPrivate->doc;
  int from = 0, to = doc.characterCount() - 1;
  if (Scope & SCF_SELECTION) {
    QTextCursor c = TRichEditPrivate::Cursor(this);
    if (!c.hasSelection()) {  // the format of what is typed next
      QTextCharFormat f = c.charFormat();
      ApplyCharFormat(f, *Format);
      c.setCharFormat(f);
      TRichEditPrivate::SetCursor(this, c);
      return 1;
    }
    from = c.selectionStart();
    to = c.selectionEnd();
  } else if (!(Scope & SCF_ALL)) {
    // The default format: new text, and the text that has it.
    QTextCharFormat f;
    f.setFont(doc.defaultFont());
    ApplyCharFormat(f, *Format);
    doc.setDefaultFont(f.font());
  }
  // Each run in the range keeps what the format does not name.
  for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      const int s = std::max(from, frag.position()), e = std::min(to, frag.position() + frag.length());
      if (s >= e) continue;
      QTextCursor c(&doc);
      c.setPosition(s);
      c.setPosition(e, QTextCursor::KeepAnchor);
      QTextCharFormat f = frag.charFormat();
      ApplyCharFormat(f, *Format);
      c.setCharFormat(f);
    }
  }
  return 1;
}

LRESULT TCustomRichEdit::GetCharFormat(WPARAM Scope, CHARFORMATW* Format) const {
  if (Format == nullptr || Format->cbSize != sizeof(CHARFORMATW)) return 0;
  const QTextDocument& doc = FPrivate->doc;
  const QFont font = doc.defaultFont();
  const TColor autoColor = Font()->Color();
  if (!(Scope & SCF_SELECTION)) {
    QTextCharFormat f;
    f.setFont(font);
    *Format = ToCharFormat(f, font, autoColor);
    return Format->dwMask;
  }
  const QTextCursor c = TRichEditPrivate::Cursor(this);
  if (!c.hasSelection()) {
    *Format = ToCharFormat(c.charFormat(), font, autoColor);
    return Format->dwMask;
  }
  // A field that differs between the selected runs leaves the mask.
  bool first = true;
  const int from = c.selectionStart(), to = c.selectionEnd();
  for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (frag.position() >= to || frag.position() + frag.length() <= from) continue;
      const CHARFORMATW cf = ToCharFormat(frag.charFormat(), font, autoColor);
      if (first) {
        *Format = cf;
        first = false;
        continue;
      }
      const DWORD effects = Format->dwEffects ^ cf.dwEffects;
      for (DWORD bit : {CFM_BOLD, CFM_ITALIC, CFM_UNDERLINE, CFM_STRIKEOUT})
        if (effects & bit) Format->dwMask &= ~bit;
      if (cf.yHeight != Format->yHeight) Format->dwMask &= ~CFM_SIZE;
      if (cf.yOffset != Format->yOffset) Format->dwMask &= ~CFM_OFFSET;
      if (cf.crTextColor != Format->crTextColor || (effects & CFE_AUTOCOLOR)) Format->dwMask &= ~CFM_COLOR;
      if (cf.bCharSet != Format->bCharSet) Format->dwMask &= ~CFM_CHARSET;
      if (std::char_traits<Char>::compare(cf.szFaceName, Format->szFaceName, 32) != 0) Format->dwMask &= ~CFM_FACE;
    }
  }
  if (first) *Format = ToCharFormat(c.charFormat(), font, autoColor);
  return Format->dwMask;
}

LRESULT TCustomRichEdit::FormatRange(bool Render, const FORMATRANGE* Range) {
  if (Range == nullptr || Range->hdc == nullptr) return 0;  // nothing is cached between calls
  const QTextDocument& doc = FPrivate->doc;
  const int total = doc.characterCount() - 1;
  const int from = std::clamp(int(Range->chrg.cpMin), 0, total);
  const int to = Range->chrg.cpMax < 0 ? total : std::clamp(int(Range->chrg.cpMax), from, total);
  std::unique_ptr<QTextDocument> d = LayoutCopy(doc);
  {  // only the range is laid out
    QTextCursor c(d.get());
    c.setPosition(to);
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    c.setPosition(0);
    c.setPosition(from, QTextCursor::KeepAnchor);
    c.removeSelectedText();
  }
  const int dpiX = std::max(1, GetDeviceCaps(Range->hdc, LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(Range->hdc, LOGPIXELSY));
  // The rectangle in the device's units and in the 96-dpi units of the layout.
  const double left = Range->rc.Left * dpiX / 1440.0, top = Range->rc.Top * dpiY / 1440.0;
  const double width = (Range->rc.Right - Range->rc.Left) * dpiX / 1440.0;
  const double height = (Range->rc.Bottom - Range->rc.Top) * dpiY / 1440.0;
  const double layoutW = width * 96.0 / dpiX, layoutH = height * 96.0 / dpiY;
  if (layoutW <= 0 || layoutH <= 0) return from;
  d->setTextWidth(layoutW);
  // The first character that does not fit.
  int fits = to;
  if (d->size().height() > layoutH) {
    fits = from;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
      QTextLayout* l = b.layout();
      const QPointF at = d->documentLayout()->blockBoundingRect(b).topLeft();
      for (int i = 0; i < l->lineCount(); ++i) {
        const QTextLine line = l->lineAt(i);
        if (at.y() + line.y() + line.height() > layoutH) break;
        fits = from + b.position() + line.textStart() + line.textLength();
      }
    }
  }
  if (Render) {
    QPainter* p = DCPainter(Range->hdc);
    if (p == nullptr) return fits;
    p->save();
    // The text has no background unless its format gives one.
    p->setBrush(Qt::NoBrush);
    p->setBackgroundMode(Qt::TransparentMode);
    p->translate(left, top);
    p->scale(dpiX / 96.0, dpiY / 96.0);
    const QRectF clip(0, 0, layoutW, layoutH);
    p->setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, ToQColor(Font()->Color()));
    d->documentLayout()->draw(p, ctx);
    p->restore();
  }
  return fits;
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case EM_SETCHARFORMAT:
      Message.Result = SetCharFormat(Message.WParam, reinterpret_cast<const CHARFORMATW*>(Message.LParam));
      return;
    case EM_GETCHARFORMAT:
      Message.Result = GetCharFormat(Message.WParam, reinterpret_cast<CHARFORMATW*>(Message.LParam));
      return;
    case EM_FORMATRANGE:
      Message.Result = FormatRange(Message.WParam != 0, reinterpret_cast<const FORMATRANGE*>(Message.LParam));
      return;
    case EM_REQUESTRESIZE:
      RequestResize(true);
      return;
    case EM_SETEVENTMASK:
      Message.Result = LRESULT(FEventMask);
      FEventMask = DWORD(Message.LParam);
      return;
    case EM_GETEVENTMASK:
      Message.Result = LRESULT(FEventMask);
      return;
    case EM_EXGETSEL:
      if (auto* r = reinterpret_cast<CHARRANGE*>(Message.LParam)) {
        r->cpMin = SelStart();
        r->cpMax = SelStart() + SelLength();
      }
      return;
    case EM_EXSETSEL:
      if (auto* r = reinterpret_cast<const CHARRANGE*>(Message.LParam)) {
        const int end = r->cpMax < 0 ? FPrivate->doc.characterCount() - 1 : int(r->cpMax);
        Select(std::min(int(r->cpMin), end), std::abs(end - int(r->cpMin)));
        Message.Result = SelStart() + SelLength();
      }
      return;
    case EM_SETBKGNDCOLOR:
      Message.Result = LRESULT(FromQColor(ToQColor(Color())));
      SetColor(Message.WParam ? clWindow : TColor(Message.LParam));
      return;
    case CN_NOTIFY:
      CNNotify(Message);
      return;
    default:
      TCustomEdit::Dispatch(Message);
  }
}
