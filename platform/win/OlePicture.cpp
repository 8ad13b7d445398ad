// The OLE picture loader: pictures decoded from a stream, sized in HIMETRIC and rendered
// from bottom-up source coordinates.
#include <QBuffer>
#include <QImageReader>
#include <QTransform>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/win/Gdi_p.h"
#include "platform/win/Ole_p.h"

std::function<std::unique_ptr<TOleMetafile>(const uint8_t* Data, size_t Size)> OleMetafileReader;

namespace {

// Largest picture data read: the largest picture as 32-bit pixels and a little more.
constexpr uint64_t kMaxPictureBytes = uint64_t(MaxOlePicturePixels) * 4 + 1024 * 1024;

LONG PixelsToHimetric(int pixels) { return static_cast<LONG>(std::lround(pixels * 2540.0 / 96.0)); }

class TOlePicture : public TInterfacedObject<IPicture> {
public:
  TOlePicture(short Type, QImage Image) : FType(Type), FImage(std::move(Image)) {
    FWidth = PixelsToHimetric(FImage.width());
    FHeight = PixelsToHimetric(FImage.height());
  }
  explicit TOlePicture(std::unique_ptr<TOleMetafile> Meta)
      : FType(Meta->Enhanced() ? PICTYPE_ENHMETAFILE : PICTYPE_METAFILE), FMeta(std::move(Meta)) {
    FWidth = FMeta->HimetricWidth();
    FHeight = FMeta->HimetricHeight();
  }

  HRESULT get_Type(short* Type) override {
    if (Type == nullptr) return E_POINTER;
    *Type = FType;
    return S_OK;
  }
  HRESULT get_Width(OLE_XSIZE_HIMETRIC* Width) override {
    if (Width == nullptr) return E_POINTER;
    *Width = FWidth;
    return S_OK;
  }
  HRESULT get_Height(OLE_YSIZE_HIMETRIC* Height) override {
    if (Height == nullptr) return E_POINTER;
    *Height = FHeight;
    return S_OK;
  }

  HRESULT Render(HDC DC, LONG X, LONG Y, LONG Cx, LONG Cy, OLE_XPOS_HIMETRIC XSrc, OLE_YPOS_HIMETRIC YSrc,
                 OLE_XSIZE_HIMETRIC CxSrc, OLE_YSIZE_HIMETRIC CySrc, const RECT*) override {
    if (DC == nullptr) return E_INVALIDARG;
    if (CxSrc == 0 || CySrc == 0) return CTL_E_INVALIDPROPERTYVALUE;
    QPainter* p = DCPainter(DC);
    if (p == nullptr) return E_INVALIDARG;
    if (Cx == 0 || Cy == 0 || FWidth == 0 || FHeight == 0) return S_OK;
    // The picture in its own pixels (a metafile: its frame at 96 dots per inch).
    const double w = FMeta ? FWidth * 96.0 / 2540.0 : FImage.width();
    const double h = FMeta ? FHeight * 96.0 / 2540.0 : FImage.height();
    // Device x = X + (hx - XSrc) * Cx / CxSrc, device y = Y + (hy - YSrc) * Cy / CySrc, with the
    // HIMETRIC hx = px * FWidth / w and hy = FHeight - py * FHeight / h counted up from the bottom.
    const double sx = double(Cx) / CxSrc, sy = double(Cy) / CySrc;
    const double a = FWidth / w * sx, b = X - double(XSrc) * sx;
    const double c = -FHeight / h * sy, d = Y + (double(FHeight) - YSrc) * sy;
    p->save();
    // Only the part of the source asked for is drawn.
    p->setClipRect(QRectF(QPointF(X, Y), QPointF(double(X) + Cx, double(Y) + Cy)).normalized(), Qt::IntersectClip);
    p->setTransform(QTransform(a, 0, 0, c, b, d), true);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (FMeta)
      FMeta->Play(*p, QRectF(0, 0, w, h));
    else
      p->drawImage(QPointF(0, 0), FImage);
    p->restore();
    return S_OK;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IPicture; }

private:
  short FType;
  QImage FImage;
  std::unique_ptr<TOleMetafile> FMeta;
  LONG FWidth = 0, FHeight = 0;
};

bool StartsWith(const std::vector<uint8_t>& d, std::initializer_list<uint8_t> magic, size_t at = 0) {
  if (d.size() < at + magic.size()) return false;
  return std::equal(magic.begin(), magic.end(), d.begin() + static_cast<std::ptrdiff_t>(at));
}

bool IsMetafile(const std::vector<uint8_t>& d) {
  return StartsWith(d, {0xD7, 0xCD, 0xC6, 0x9A}) ||                        // placeable WMF
         StartsWith(d, {0x01, 0x00, 0x09, 0x00}) || StartsWith(d, {0x02, 0x00, 0x09, 0x00}) ||  // WMF
         (StartsWith(d, {0x01, 0x00, 0x00, 0x00}) && StartsWith(d, {0x20, 0x45, 0x4D, 0x46}, 40));  // EMF
}

// A raster picture through Qt's reader of that format, its size checked before any pixels.
HRESULT ReadRaster(const std::vector<uint8_t>& d, const char* format, QImage& out) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(d.data()), static_cast<qsizetype>(d.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  QSize size = reader.size();
  if (size.isValid() && int64_t(size.width()) * size.height() > MaxOlePicturePixels) return E_OUTOFMEMORY;
  if (!reader.read(&out) || out.isNull()) return CTL_E_INVALIDPICTURE;
  if (int64_t(out.width()) * out.height() > MaxOlePicturePixels) return E_OUTOFMEMORY;
  out = out.convertToFormat(QImage::Format_ARGB32);
  return S_OK;
}

// The pixel count a bitmap's header declares (0 when the header is cut short).
int64_t BitmapPixels(const std::vector<uint8_t>& d) {
  auto le = [&](size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | d[at + size_t(i)];
    return v;
  };
  if (d.size() < 26) return 0;
  if (le(14, 4) == 12) return int64_t(le(18, 2)) * le(20, 2);  // core header: 16-bit sizes
  int64_t w = static_cast<int32_t>(le(18, 4)), h = static_cast<int32_t>(le(22, 4));
  return std::abs(w) * std::abs(h);
}

HRESULT Decode(const std::vector<uint8_t>& d, IPicture*& picture) {
  QImage image;
  short type = PICTYPE_BITMAP;
  HRESULT hr;
  if (StartsWith(d, {'B', 'M'})) {
    if (BitmapPixels(d) > MaxOlePicturePixels) return E_OUTOFMEMORY;
    hr = ReadRaster(d, "bmp", image);
  } else if (StartsWith(d, {0xFF, 0xD8, 0xFF})) {
    hr = ReadRaster(d, "jpeg", image);
  } else if (StartsWith(d, {'G', 'I', 'F', '8'})) {
    hr = DecodeGifImage(d.data(), d.size(), image);
  } else if (StartsWith(d, {0x00, 0x00, 0x01, 0x00})) {
    type = PICTYPE_ICON;
    hr = ReadRaster(d, "ico", image);
  } else if (IsMetafile(d) && OleMetafileReader) {
    std::unique_ptr<TOleMetafile> meta = OleMetafileReader(d.data(), d.size());
    if (!meta || meta->HimetricWidth() <= 0 || meta->HimetricHeight() <= 0) return CTL_E_INVALIDPICTURE;
    picture = new TOlePicture(std::move(meta));
    return S_OK;
  } else {
    return CTL_E_INVALIDPICTURE;
  }
  if (FAILED(hr)) return hr;
  picture = new TOlePicture(type, std::move(image));
  return S_OK;
}

}  // namespace

HRESULT OleLoadPicture(IStream* Stream, LONG Size, BOOL, REFIID Riid, void** Object) {
  if (Object == nullptr) return E_POINTER;
  *Object = nullptr;
  if (Stream == nullptr) return E_POINTER;
  // Size bytes from the position on (0 or less: the rest of the stream), never beyond the limit.
  uint64_t want = Size > 0 ? uint64_t(Size) : kMaxPictureBytes + 1;
  std::vector<uint8_t> data;
  uint8_t chunk[65536];
  while (data.size() < want) {
    ULONG got = 0;
    HRESULT hr = Stream->Read(chunk, static_cast<ULONG>(std::min<uint64_t>(sizeof chunk, want - data.size())), &got);
    if (FAILED(hr)) return hr;
    if (got == 0) break;
    if (data.size() + got > kMaxPictureBytes) return E_OUTOFMEMORY;
    data.insert(data.end(), chunk, chunk + got);
  }
  IPicture* picture = nullptr;
  HRESULT hr = Decode(data, picture);
  if (FAILED(hr)) return hr;
  hr = picture->QueryInterface(Riid, Object);
  picture->Release();
  return hr;
}
