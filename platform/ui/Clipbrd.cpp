#include "platform/ui/Clipbrd.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <map>
#include <mutex>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Graphics_p.h"
#include "platform/ui/Metafile.h"
#include "platform/win/QtBridge_p.h"

namespace {

const QString kEmfMime = QStringLiteral("image/x-emf");
const QString kWmfMime = QStringLiteral("image/x-wmf");
const QString kPngMime = QStringLiteral("image/png");
const QString kBmpMime = QStringLiteral("image/bmp");

struct FormatTable {
  std::mutex lock;
  std::map<UINT, String> names;      // number -> name as first registered
  std::map<QString, UINT> byKey;     // lower-case name -> number
  UINT next = 0xC000;
};

FormatTable& Formats() {
  static FormatTable t;
  return t;
}

// The MIME type of a byte format; empty for numbers that are neither metafiles nor registered.
QString MimeOf(UINT format) {
  if (format == CF_ENHMETAFILE) return kEmfMime;
  if (format == CF_METAFILEPICT) return kWmfMime;
  FormatTable& t = Formats();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.names.find(format);
  if (it == t.names.end()) return QString();
  // HTML goes where other programs look for it.
  if (ToQString(it->second).compare(QStringLiteral("HTML Format"), Qt::CaseInsensitive) == 0) return QStringLiteral("text/html");
  return QStringLiteral("application/x-") + ToQString(it->second);
}

QByteArray Encode(const QImage& image, const char* format) {
  QByteArray out;
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  image.save(&buf, format);
  return out;
}

bool HasImage(const QMimeData* m) {
  return m && (m->hasImage() || m->hasFormat(kPngMime) || m->hasFormat(kBmpMime));
}

QImage ImageOf(const QMimeData* m) {
  if (!m) return QImage();
  if (m->hasImage()) {
    QImage img = qvariant_cast<QImage>(m->imageData());
    if (!img.isNull()) return img;
  }
  for (const QString& mime : {kPngMime, kBmpMime}) {
    if (!m->hasFormat(mime)) continue;
    QImage img;
    if (img.loadFromData(m->data(mime))) return img;
  }
  return QImage();
}

// A metafile read from clipboard bytes (nullptr when the bytes are not one).
std::unique_ptr<TMetafile> MetafileOf(const QMimeData* m) {
  for (const QString& mime : {kEmfMime, kWmfMime}) {
    if (!m || !m->hasFormat(mime)) continue;
    QByteArray bytes = m->data(mime);
    TMemoryStream stream;
    stream.Write(bytes.constData(), int32_t(bytes.size()));
    stream.SetPosition(0);
    auto mf = std::make_unique<TMetafile>();
    try {
      mf->LoadFromStream(&stream);
      return mf;
    } catch (const EInvalidGraphic&) {
      // damaged bytes: fall back to the other format or the image
    }
  }
  return nullptr;
}

// The graphic a picture-like object stands for (nullptr for other objects).
TGraphic* GraphicOf(TPersistent* source, bool& known) {
  known = true;
  if (auto* p = dynamic_cast<TPicture*>(source)) return p->Graphic();
  if (auto* g = dynamic_cast<TGraphic*>(source)) return g;
  known = false;
  return nullptr;
}

// An image of the graphic on white, as other programs expect to paste it.
QImage OpaqueImage(TGraphic* g) {
  QImage src = GraphicToImage(g);
  QImage out(src.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  p.drawImage(0, 0, src);
  return out;
}

}  // namespace

UINT RegisterClipboardFormat(const String& Name) {
  if (Name.empty()) return 0;
  FormatTable& t = Formats();
  std::lock_guard<std::mutex> g(t.lock);
  QString key = ToQString(Name).toLower();
  auto it = t.byKey.find(key);
  if (it != t.byKey.end()) return it->second;
  UINT id = t.next++;
  t.byKey[key] = id;
  t.names[id] = Name;
  return id;
}

UINT RegisteredClipboardFormat(const String& Name) {
  FormatTable& t = Formats();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.byKey.find(ToQString(Name).toLower());
  return it == t.byKey.end() ? 0 : it->second;
}

int GetClipboardFormatName(UINT Format, Char* FormatName, int MaxCount) {
  if (FormatName == nullptr || MaxCount <= 0) return 0;
  FormatTable& t = Formats();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.names.find(Format);
  if (it == t.names.end()) return 0;
  const int n = std::min(int(it->second.size()), MaxCount - 1);
  std::copy_n(it->second.data(), n, FormatName);
  FormatName[n] = 0;
  return n;
}

// ---------------------------------------------------------------------------

struct TClipboard::Data {
  int openCount = 0;
  std::unique_ptr<QMimeData> pending;  // the session's new content, once something was changed
  String selection;                    // the selection where the window system keeps none

  const QMimeData* Current() const {
    if (pending) return pending.get();
    return QApplication::clipboard()->mimeData();
  }
  // The data a change goes into: the session's, or a fresh one published at once.
  QMimeData* Adding() {
    if (!pending) pending = std::make_unique<QMimeData>();
    return pending.get();
  }
  void Publish() {
    if (openCount == 0 && pending) QApplication::clipboard()->setMimeData(pending.release());
  }
};

TClipboard::TClipboard() : d(std::make_unique<Data>()) {}
TClipboard::~TClipboard() = default;

void TClipboard::Open() { ++d->openCount; }

void TClipboard::Close() {
  if (d->openCount == 0) return;
  --d->openCount;
  d->Publish();
}

void TClipboard::Clear() {
  d->pending = std::make_unique<QMimeData>();
  d->Publish();
}

String TClipboard::AsText() const {
  const QMimeData* m = d->Current();
  return m && m->hasText() ? FromQString(m->text()) : String();
}

void TClipboard::SetAsText(const String& Value) {
  d->Adding()->setText(ToQString(Value));
  d->Publish();
}

String TClipboard::SelectionText() const {
  QClipboard* c = QApplication::clipboard();
  return c->supportsSelection() ? FromQString(c->text(QClipboard::Selection)) : d->selection;
}

void TClipboard::SetSelectionText(const String& Value) {
  QClipboard* c = QApplication::clipboard();
  if (c->supportsSelection()) c->setText(ToQString(Value), QClipboard::Selection);
  else d->selection = Value;
}

bool TClipboard::HasFormat(UINT Format) const {
  const QMimeData* m = d->Current();
  if (!m) return false;
  if (Format == CF_TEXT || Format == CF_UNICODETEXT) return m->hasText();
  if (Format == CF_BITMAP || Format == CF_DIB) return HasImage(m);
  QString mime = MimeOf(Format);
  return !mime.isEmpty() && m->hasFormat(mime);
}

void TClipboard::SetAsBytes(UINT Format, const RawBytes& Bytes) {
  QString mime = MimeOf(Format);
  if (mime.isEmpty()) throw EClipboardException(u"Clipboard format " + IntToStr(int(Format)) + u" is not a byte format");
  d->Adding()->setData(mime, QByteArray(Bytes.data(), qsizetype(Bytes.size())));
  d->Publish();
}

RawBytes TClipboard::GetAsBytes(UINT Format) const {
  QString mime = MimeOf(Format);
  if (mime.isEmpty()) throw EClipboardException(u"Clipboard format " + IntToStr(int(Format)) + u" is not a byte format");
  const QMimeData* m = d->Current();
  if (!m || !m->hasFormat(mime)) return RawBytes();
  return m->data(mime).toStdString();
}

void TClipboard::Assign(TPersistent* Source) {
  bool known = false;
  TGraphic* g = GraphicOf(Source, known);
  if (!known) {
    TPersistent::Assign(Source);
    return;
  }
  if (!g || g->Empty()) throw EInvalidGraphicOperation(u"Cannot copy an empty picture to the clipboard");
  // Everything is prepared before the clipboard is touched, so a failure changes nothing.
  std::string metafile;
  bool enhanced = false;
  if (auto* mf = dynamic_cast<TMetafile*>(g)) {
    metafile = mf->Bytes();
    enhanced = mf->Enhanced();
  }
  QImage image = OpaqueImage(g);
  QMimeData* m = d->Adding();
  if (!metafile.empty())
    m->setData(enhanced ? kEmfMime : kWmfMime, QByteArray(metafile.data(), qsizetype(metafile.size())));
  m->setImageData(image);
  m->setData(kPngMime, Encode(image, "PNG"));
  m->setData(kBmpMime, Encode(image, "BMP"));
  d->Publish();
}

void TClipboard::AssignTo(TPersistent* Dest) {
  const QMimeData* m = d->Current();
  auto* picture = dynamic_cast<TPicture*>(Dest);
  auto* graphic = dynamic_cast<TGraphic*>(Dest);
  if (!picture && !graphic) {
    TPersistent::AssignTo(Dest);
    return;
  }
  std::unique_ptr<TMetafile> mf = MetafileOf(m);
  auto* destMetafile = dynamic_cast<TMetafile*>(Dest);
  // A picture or a metafile keeps the drawing; everything else takes pixels.
  if (mf && (picture || destMetafile)) {
    Dest->Assign(mf.get());
    return;
  }
  TBitmap bmp;
  if (mf) {
    bmp.Assign(mf.get());
  } else {
    QImage image = ImageOf(m);
    if (image.isNull() || destMetafile) throw EInvalidGraphic(u"The clipboard holds no picture of a usable kind");
    TBitmapAccess::SetImage(&bmp, image.convertToFormat(QImage::Format_RGB32));
  }
  Dest->Assign(&bmp);
}

TClipboard* Clipboard() {
  static TClipboard c;
  return &c;
}
