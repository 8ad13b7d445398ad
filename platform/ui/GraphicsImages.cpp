// Picture classes: TGraphic, TBitmap (BMP files), TIcon (.ico files) and TPicture with its
// registry of file formats.
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <map>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics_p.h"
#include "platform/ui/Jpeg.h"
#include "platform/win/QtBridge_p.h"

namespace {

QByteArray ReadRest(TStream* Stream) {
  if (!Stream) throw EInvalidGraphic(u"No stream to read the picture from");
  QByteArray bytes;
  char buf[65536];
  for (;;) {
    int32_t n = Stream->Read(buf, sizeof buf);
    if (n <= 0) break;
    if (bytes.size() + n > MaxPictureFileSize) throw EInvalidGraphic(u"Picture data is too large");
    bytes.append(buf, n);
  }
  return bytes;
}

String TooLarge(int64_t Width, int64_t Height) {
  return u"Picture is too large: " + IntToStr(Width) + u" x " + IntToStr(Height) + u" pixels (at most " +
         IntToStr(MaxPicturePixels) + u")";
}

uint32_t LittleEndian(const QByteArray& b, qsizetype at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + i]);
  return v;
}

// Checks what a BMP file's header declares before the decoder allocates for it: the picture
// within the pixel bound, and uncompressed pixel rows all present in the file.
void CheckBitmapHeader(const QByteArray& b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return;  // the decoder reports it
  const uint32_t bitsAt = LittleEndian(b, 10, 4), infoSize = LittleEndian(b, 14, 4);
  int64_t width = 0, height = 0;
  uint32_t bpp = 0, compression = 0;
  if (infoSize == 12) {  // the old core header: 16-bit sizes
    width = LittleEndian(b, 18, 2);
    height = LittleEndian(b, 20, 2);
    bpp = LittleEndian(b, 24, 2);
  } else if (infoSize >= 40 && b.size() >= 34) {
    width = int32_t(LittleEndian(b, 18, 4));
    height = int32_t(LittleEndian(b, 22, 4));
    bpp = LittleEndian(b, 28, 2);
    compression = LittleEndian(b, 30, 4);
  } else {
    return;
  }
  width = width < 0 ? -width : width;
  height = height < 0 ? -height : height;
  if (width * height > MaxPicturePixels) throw EInvalidGraphic(TooLarge(width, height));
  const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
  if (uncompressed && bpp > 0 && bpp <= 32) {
    const int64_t stride = (width * bpp + 31) / 32 * 4;
    if (int64_t(bitsAt) + stride * height > b.size())
      throw EInvalidGraphic(u"Bitmap image is not valid: its pixel rows are shorter than its size says");
  }
}

void WriteAll(TStream* Stream, const QByteArray& bytes) {
  if (!Stream) throw EInvalidGraphicOperation(u"No stream to write the picture to");
  Stream->WriteBuffer(bytes.constData(), static_cast<int32_t>(bytes.size()));
}

// The canvas of a bitmap: a memory DC with the bitmap selected, made when first needed.
class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* Owner) : FBitmap(Owner) {}
  ~TBitmapCanvas() override { Free(); }
  void Free() {
    HDC dc = HandleAllocated() ? Handle() : nullptr;
    SetHandle(nullptr);
    if (dc) DeleteDC(dc);
  }

protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, TBitmapAccess::Handle(FBitmap));
    SetHandle(dc);
  }

private:
  TBitmap* FBitmap;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::SetModified(bool Value) {
  FModified = Value;
  if (Value) Changed();
}

void TGraphic::Changed() {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  const std::string bytes = ReadFileBytes(FileName, MaxPictureFileSize);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

// ---------------------------------------------------------------------------------------------
// TBitmap

HBITMAP TBitmapAccess::Handle(TBitmap* B) { return B->FImage; }

void TBitmapAccess::SetImage(TBitmap* B, const QImage& Image) {
  B->ReleaseCanvas();
  B->FImage->image = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_RGB32);
  B->FImage->image.detach();
  B->FEmptyWidth = B->FEmptyHeight = 0;
  B->Changed();
}

TBitmap::TBitmap() : FImage(CreateBitmap(0, 0, 1, 32, nullptr)) {}

TBitmap::TBitmap(int AWidth, int AHeight) : TBitmap() { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  FCanvas.reset();
  DeleteObject(FImage);
}

void TBitmap::ReleaseCanvas() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->Free();
}

bool TBitmap::Empty() const { return FImage->image.isNull() || Width() == 0 || Height() == 0; }
int TBitmap::Width() const { return FImage->image.isNull() ? FEmptyWidth : FImage->image.width(); }
int TBitmap::Height() const { return FImage->image.isNull() ? FEmptyHeight : FImage->image.height(); }

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == Width() && AHeight == Height()) return;
  ReleaseCanvas();
  QImage next;
  if (AWidth > 0 && AHeight > 0) {
    next = QImage(AWidth, AHeight, QImage::Format_RGB32);
    next.fill(0xFFFFFFFF);
    if (!FImage->image.isNull()) {
      QPainter p(&next);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(0, 0, FImage->image);
    }
  }
  FImage->image = next;
  FEmptyWidth = next.isNull() ? AWidth : 0;
  FEmptyHeight = next.isNull() ? AHeight : 0;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = [this](TObject*) { TGraphic::Changed(); };
  }
  return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
  ReleaseCanvas();
  return FImage;
}

void TBitmap::SetMonochrome(bool Value) {
  if (FMonochrome == Value) return;
  FMonochrome = Value;
  if (Value && !FImage->image.isNull()) {
    ReleaseCanvas();
    QImage& img = FImage->image;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qGray(img.pixel(x, y)) >= 128 ? 0xFFFFFFFF : 0xFF000000);
  }
  FImage->monochrome = Value;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (FPixelFormat == Value) return;
  FPixelFormat = Value;
  if (Value == pf1bit) SetMonochrome(true);
  else if (FMonochrome) SetMonochrome(false);
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  QRgb c = FImage->image.pixel(0, Height() - 1);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  if (Value == tmAuto) FTransparentColor = clDefault;
  else if (FTransparentColor == clDefault) FTransparentColor = TransparentColor();
  Changed();
}

void* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= Height()) throw EInvalidGraphicOperation(u"Scan line index out of range");
  return FImage->image.scanLine(Row);
}

void TBitmap::Changed() { TGraphic::Changed(); }

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || !ACanvas) return;
  HDC dst = ACanvas->Handle();
  Canvas();  // a DC over the bitmap is the blit's source
  HDC src = FCanvas->Handle();
  int old = SetStretchBltMode(dst, COLORONCOLOR);
  if (Transparent())
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, Width(), Height(),
                   static_cast<UINT>(ColorToRGB(TransparentColor())));
  else
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, Width(), Height(),
               ACanvas->CopyMode());
  SetStretchBltMode(dst, old);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  QByteArray bytes = ReadRest(Stream);
  CheckBitmapHeader(bytes);
  QImage img;
  if (!img.loadFromData(bytes, "BMP")) throw EInvalidGraphic(u"Bitmap image is not valid");
  FMonochrome = img.depth() == 1;
  FImage->monochrome = FMonochrome;
  FPixelFormat = img.depth() == 1 ? pf1bit : img.depth() <= 4 ? pf4bit : img.depth() == 8 ? pf8bit
               : img.hasAlphaChannel() ? pf32bit : pf24bit;
  TBitmapAccess::SetImage(this, img);
}

void TBitmap::SaveToStream(TStream* Stream) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImage img = FImage->image.isNull() ? QImage() : FImage->image.convertToFormat(QImage::Format_RGB888);
  if (img.isNull() || !img.save(&buffer, "BMP")) throw EInvalidGraphicOperation(u"Cannot save an empty bitmap");
  WriteAll(Stream, bytes);
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    FMonochrome = b->FMonochrome;
    FImage->monochrome = FMonochrome;
    FPixelFormat = b->FPixelFormat;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    SetTransparent(b->Transparent());
    TBitmapAccess::SetImage(this, b->FImage->image.copy());
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    Assign(p->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Any other graphic is drawn onto a white bitmap of its size.
    QImage img(std::max(g->Width(), 0), std::max(g->Height(), 0), QImage::Format_RGB32);
    if (!img.isNull()) {
      img.fill(0xFFFFFFFF);
      QImage src = GraphicToImage(g);
      QPainter p(&img);
      p.drawImage(0, 0, src);
    }
    TBitmapAccess::SetImage(this, img);
    return;
  }
  TGraphic::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TIcon

void TBitmapAccess::SetIconImage(TIcon* I, const QImage& Image) {
  delete I->FHandle;
  I->FHandle = nullptr;
  if (!Image.isNull()) {
    I->FHandle = new HICON__;
    I->FHandle->image = Image.convertToFormat(QImage::Format_ARGB32);
  }
  I->FWidth = Image.isNull() ? 0 : Image.width();
  I->FHeight = Image.isNull() ? 0 : Image.height();
}

TIcon::TIcon() = default;
TIcon::~TIcon() { delete FHandle; }

bool TIcon::Empty() const { return !FHandle; }
int TIcon::Width() const { return FWidth; }
int TIcon::Height() const { return FHeight; }
void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(u"Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(u"Cannot change the size of an icon"); }

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle || !ACanvas) return;
  DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------------
// TPngImage

void TPngImage::LoadFromStream(TStream* Stream) {
  QByteArray bytes = ReadRest(Stream);
  if (!bytes.startsWith("\x89PNG\r\n\x1a\n")) throw EInvalidGraphic(u"PNG image is not valid");
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "PNG");
  const QSize size = reader.size();
  if (int64_t(size.width()) * size.height() > MaxPicturePixels) throw EInvalidGraphic(TooLarge(size.width(), size.height()));
  QImage img = reader.read();
  if (img.isNull()) throw EInvalidGraphic(u"PNG image is not valid");
  if (img.hasAlphaChannel()) {
    QImage flat(img.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, img);
    p.end();
    img = flat;
  }
  TBitmapAccess::SetImage(this, img);
}

void TPngImage::SaveToStream(TStream* Stream) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImage img = TBitmapAccess::Handle(this)->image;
  if (img.isNull() || !img.save(&buffer, "PNG")) throw EInvalidGraphicOperation(u"Cannot save an empty PNG image");
  WriteAll(Stream, bytes);
}

void TIcon::LoadFromStream(TStream* Stream) {
  QByteArray bytes = ReadRest(Stream);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ICO");
  // The largest image of the file is the icon's picture.
  QImage best;
  // Only the directory entries (16 bytes each, after a 6-byte header) the data holds.
  const int listed = int(std::min<qsizetype>(reader.imageCount(), std::max<qsizetype>(bytes.size() - 6, 0) / 16));
  int count = std::max(listed, 1);
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    const QSize size = reader.size();
    if (int64_t(size.width()) * size.height() > MaxPicturePixels)
      throw EInvalidGraphic(TooLarge(size.width(), size.height()));
    QImage img = reader.read();
    if (!img.isNull() && img.width() * img.height() > best.width() * best.height()) best = img;
  }
  if (best.isNull()) throw EInvalidGraphic(u"Icon image is not valid");
  TBitmapAccess::SetIconImage(this, best);
  Changed();
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!FHandle) throw EInvalidGraphicOperation(u"Cannot save an empty icon");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "ICO");
  if (!writer.write(FHandle->image)) throw EInvalidGraphicOperation(u"Cannot write the icon");
  WriteAll(Stream, bytes);
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    TBitmapAccess::SetIconImage(this, QImage());
    Changed();
    return;
  }
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    if (i == this) return;
    TBitmapAccess::SetIconImage(this, i->FHandle ? i->FHandle->image : QImage());
    Changed();
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    Assign(p->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    TBitmapAccess::SetIconImage(this, GraphicToImage(g));
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// Rendering any graphic to an image

QImage GraphicToImage(TGraphic* G) {
  if (!G || G->Empty()) return QImage();
  if (auto* b = dynamic_cast<TBitmap*>(G)) {
    QImage img = TBitmapAccess::Image(b).convertToFormat(QImage::Format_ARGB32);
    if (b->Transparent()) {
      QRgb key = ToQColor(ColorToRGB(b->TransparentColor())).rgb() & 0xFFFFFF;
      for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
          if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
      }
    }
    return img;
  }
  if (auto* i = dynamic_cast<TIcon*>(G)) return TBitmapAccess::IconImage(i);
  // Other graphics draw themselves onto a white bitmap.
  TBitmap tmp(G->Width(), G->Height());
  tmp.Canvas()->StretchDraw(Rect(0, 0, G->Width(), G->Height()), G);
  return TBitmapAccess::Image(&tmp).convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------------
// TPicture

namespace {

struct TFileFormat {
  String Description;
  TGraphicClass Factory;
};

String Lower(const String& s) {
  String r = s;
  for (auto& c : r)
    if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + 32);
  return r;
}

std::vector<std::pair<String, TFileFormat>>& Formats() {
  static std::vector<std::pair<String, TFileFormat>> formats{
      {u"bmp", {u"Bitmaps", [] { return std::unique_ptr<TGraphic>(new TBitmap); }}},
      {u"ico", {u"Icons", [] { return std::unique_ptr<TGraphic>(new TIcon); }}},
      {u"png", {u"Portable Network Graphics", [] { return std::unique_ptr<TGraphic>(new TPngImage); }}},
      {u"jpg", {u"JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage); }}},
      {u"jpeg", {u"JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage); }}},
  };
  return formats;
}

const TFileFormat* FindFormat(const String& ext) {
  for (auto& [e, f] : Formats())
    if (e == ext) return &f;
  return nullptr;
}

// A new, empty graphic of the same kind as G.
std::unique_ptr<TGraphic> SameKind(TGraphic* G) {
  if (dynamic_cast<TPngImage*>(G)) return std::make_unique<TPngImage>();
  if (dynamic_cast<TBitmap*>(G)) return std::make_unique<TBitmap>();
  if (dynamic_cast<TIcon*>(G)) return std::make_unique<TIcon>();
  if (dynamic_cast<TJPEGImage*>(G)) return std::make_unique<TJPEGImage>();
  for (auto& [e, f] : Formats()) {
    auto g = f.Factory();
    if (g && g->ClassName() == G->ClassName()) return g;
  }
  return nullptr;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass Factory) {
  String ext = Lower(Extension);
  if (!ext.empty() && ext[0] == u'.') ext.erase(0, 1);
  for (auto& [e, f] : Formats())
    if (e == ext) {
      f = TFileFormat{Description, std::move(Factory)};
      return;
    }
  Formats().push_back({ext, TFileFormat{Description, std::move(Factory)}});
}

void TPicture::UnregisterFileFormat(const String& Extension) {
  String ext = Lower(Extension);
  auto& v = Formats();
  v.erase(std::remove_if(v.begin(), v.end(), [&](auto& p) { return p.first == ext; }), v.end());
}

String TPicture::GraphicFilter() {
  String all, each;
  for (auto& [e, f] : Formats()) {
    String pat = u"*." + e;
    all += (all.empty() ? u"" : u";") + pat;
    each += u"|" + f.Description + u" (" + pat + u")|" + pat;
  }
  return u"All (" + all + u")|" + all + each;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Attach(std::unique_ptr<TGraphic> G) {
  FGraphic = std::move(G);
  if (FGraphic) FGraphic->OnChange = [this](TObject* s) { Changed(s); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    Attach(nullptr);
    return;
  }
  if (Value == FGraphic.get()) return;
  auto copy = SameKind(Value);
  if (!copy) throw EInvalidGraphic(u"Unknown picture kind " + Value->ClassName());
  copy->Assign(Value);
  Attach(std::move(copy));
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    if (p != this) SetGraphic(p->Graphic());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Attach(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) Attach(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const String& FileName) {
  String ext = Lower(ExtractFileExt(FileName));
  if (!ext.empty() && ext[0] == u'.') ext.erase(0, 1);
  const TFileFormat* f = FindFormat(ext);
  if (!f) throw EInvalidGraphic(u"Unknown picture file extension (." + ext + u")");
  auto g = f->Factory();
  g->LoadFromFile(FileName);  // on failure the current graphic stays
  Attach(std::move(g));
}

void TPicture::SaveToFile(const String& FileName) {
  if (!FGraphic) throw EInvalidGraphicOperation(u"Cannot save an empty picture");
  FGraphic->SaveToFile(FileName);
}
