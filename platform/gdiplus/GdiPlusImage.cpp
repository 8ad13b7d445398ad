// Images and bitmaps over QImage, read from and written to files and streams.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <string_view>

#include "platform/gdiplus/GdiPlus_p.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/Ole_p.h"

namespace {

TGpImage* Cast(GpImage* image) { return dynamic_cast<TGpImage*>(image); }

struct TFormatName {
  const char* name;
  GUID format;
};
const TFormatName kFormats[] = {{"bmp", ImageFormatBMP},   {"png", ImageFormatPNG},  {"jpeg", ImageFormatJPEG},
                                {"jpg", ImageFormatJPEG},  {"gif", ImageFormatGIF},  {"tiff", ImageFormatTIFF},
                                {"tif", ImageFormatTIFF},  {"ico", ImageFormatIcon}};

// The GDI+ pixel format that describes a loaded QImage.
PixelFormat FormatOf(const QImage& img) {
  switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8: return img.colorCount() <= 16 ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
    case QImage::Format_Grayscale16: return PixelFormat16bppGrayScale;
    case QImage::Format_RGB16: return PixelFormat16bppRGB565;
    case QImage::Format_RGB555: return PixelFormat16bppRGB555;
    case QImage::Format_RGB888: return PixelFormat24bppRGB;
    case QImage::Format_RGB32: return PixelFormat32bppRGB;
    case QImage::Format_ARGB32_Premultiplied: return PixelFormat32bppPARGB;
    default: return img.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat32bppRGB;
  }
}

// Bytes per pixel of the formats a bitmap can be made in (0: not supported).
int BytesPerPixel(PixelFormat f) {
  switch (f) {
    case PixelFormat24bppRGB: return 3;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return 4;
    default: return 0;
  }
}

// Largest picture file or stream read: the largest picture's pixels stored uncompressed, and
// room for its headers and colour tables.
constexpr int64_t kMaxPictureBytes = MaxOlePicturePixels * 4 + 1024 * 1024;

// A metafile played into an image of its size at 96 dots per inch; OutOfMemory when it is
// larger than the largest picture.
GpStatus Rasterise(std::shared_ptr<TOleMetafile> meta, GpImage** image) {
  const int64_t w = std::llround(meta->HimetricWidth() * 96.0 / 2540), h = std::llround(meta->HimetricHeight() * 96.0 / 2540);
  if (w <= 0 || h <= 0 || w * h > MaxOlePicturePixels) return OutOfMemory;
  auto* t = new TGpImage;
  t->image = QImage(int(w), int(h), QImage::Format_ARGB32);
  t->image.fill(0);
  {
    QPainter p(&t->image);
    meta->Play(p, QRectF(0, 0, double(w), double(h)));
  }
  t->pixelFormat = PixelFormat32bppRGB;
  t->rawFormat = meta->Enhanced() ? ImageFormatEMF : ImageFormatWMF;
  t->metafile = std::move(meta);
  *image = t;
  return Ok;
}

// Decodes the first picture of the bytes: the formats GDI+ reads, whatever else Qt's plug-ins
// know, and metafiles through the class library's reader. Data that is not such a picture, or
// declares more pixels than the largest picture decoded, is OutOfMemory, as GDI+ reports it.
GpStatus Decode(const QByteArray& bytes, GpImage** image) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QByteArray kind = reader.format().toLower();
  const TFormatName* known = nullptr;
  for (const TFormatName& f : kFormats)
    if (kind == f.name) known = &f;
  if (!known) {
    std::unique_ptr<TOleMetafile> meta;
    if (OleMetafileReader) meta = OleMetafileReader(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return meta ? Rasterise(std::move(meta), image) : OutOfMemory;
  }
  const QSize size = reader.size();
  if (size.isValid() && int64_t(size.width()) * size.height() > MaxOlePicturePixels) return OutOfMemory;
  QImage img = reader.read();
  if (img.isNull()) return OutOfMemory;
  auto* t = new TGpImage;
  t->pixelFormat = FormatOf(img);
  t->image = img.convertToFormat(QImage::Format_ARGB32);
  t->rawFormat = known->format;
  *image = t;
  return Ok;
}

// The stream's bytes from its position to its end; false when it cannot be read or holds more
// than the largest picture file.
bool ReadRest(IStream* stream, QByteArray& bytes) {
  char chunk[65536];
  for (;;) {
    ULONG got = 0;
    if (FAILED(stream->Read(chunk, sizeof chunk, &got))) return false;
    if (got == 0) return true;
    if (bytes.size() + int64_t(got) > kMaxPictureBytes) return false;
    bytes.append(chunk, got);
  }
}

GpStatus LoadFromStream(IStream* stream, GpImage** image) {
  if (!stream || !image) return InvalidParameter;
  QByteArray bytes;
  if (!ReadRest(stream, bytes)) return OutOfMemory;
  return Decode(bytes, image);
}

}  // namespace

GpStatus GdipLoadImageFromFile(const WCHAR* filename, GpImage** image) {
  if (!filename || !image) return InvalidParameter;
  const QString name = QString::fromUtf16(filename);
  const QFileInfo info(name);
  if (!info.exists()) return FileNotFound;
  // Only regular files of a picture's size are read: a device or pipe could block for ever.
  if (!info.isFile() || info.size() > kMaxPictureBytes) return OutOfMemory;
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return Win32Error;
  return Decode(file.read(kMaxPictureBytes), image);
}

GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image) { return LoadFromStream(stream, image); }

GpStatus GdipLoadImageFromStreamICM(IStream* stream, GpImage** image) { return LoadFromStream(stream, image); }

GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) {
  if (!bitmap) return InvalidParameter;
  GpImage* image = nullptr;
  const GpStatus s = LoadFromStream(stream, &image);
  if (s == Ok) *bitmap = static_cast<TGpImage*>(image);
  return s;
}

GpStatus GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap) {
  return GdipCreateBitmapFromStream(stream, bitmap);
}

GpStatus GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image) {
  return GdipLoadImageFromFile(filename, image);
}

GpStatus GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                               GetThumbnailImageAbort, void*) {
  TGpImage* t = Cast(image);
  if (!t || !thumbImage) return InvalidParameter;
  if (thumbWidth == 0 && thumbHeight == 0) thumbWidth = thumbHeight = 120;
  if (thumbWidth == 0 || thumbHeight == 0) return OutOfMemory;
  auto* thumb = new TGpImage;
  thumb->image = t->image.scaled(int(thumbWidth), int(thumbHeight), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  thumb->pixelFormat = PixelFormat32bppPARGB;
  *thumbImage = thumb;
  return Ok;
}

GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background) {
  TGpImage* t = Cast(bitmap);
  if (!t || !hbmReturn) return InvalidParameter;
  QImage out(t->image.size(), QImage::Format_RGB32);
  out.fill(QColor::fromRgba(background | 0xFF000000));
  QPainter(&out).drawImage(0, 0, t->image);
  *hbmReturn = CreateBitmapFromImage(out);
  return *hbmReturn ? Ok : OutOfMemory;
}

GpStatus GdipDisposeImage(GpImage* image) {
  if (!Cast(image)) return InvalidParameter;
  delete image;
  return Ok;
}

GpStatus GdipGetImageRawFormat(GpImage* image, GUID* format) {
  if (!Cast(image) || !format) return InvalidParameter;
  *format = Cast(image)->rawFormat;
  return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, UINT* width) {
  if (!Cast(image) || !width) return InvalidParameter;
  *width = UINT(Cast(image)->image.width());
  return Ok;
}

GpStatus GdipGetImageHeight(GpImage* image, UINT* height) {
  if (!Cast(image) || !height) return InvalidParameter;
  *height = UINT(Cast(image)->image.height());
  return Ok;
}

GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  if (!Cast(image) || !format) return InvalidParameter;
  *format = Cast(image)->pixelFormat;
  return Ok;
}

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                   GpBitmap** bitmap) {
  const int bpp = BytesPerPixel(format);
  if (!bitmap || width <= 0 || height <= 0 || !bpp) return InvalidParameter;
  if (scan0 && (stride % 4 != 0 || std::abs(stride) < width * bpp)) return InvalidParameter;
  auto* t = new TGpImage;
  t->pixelFormat = format;
  t->image = QImage(width, height, QImage::Format_ARGB32);
  t->image.fill(format == PixelFormat32bppRGB || format == PixelFormat24bppRGB ? 0xFF000000 : 0);
  if (scan0) {
    for (int y = 0; y < height; ++y) {
      const BYTE* row = scan0 + y * stride;
      auto* out = reinterpret_cast<QRgb*>(t->image.scanLine(y));
      for (int x = 0; x < width; ++x) {
        const BYTE* px = row + x * bpp;  // blue, green, red, alpha
        const int a = bpp == 4 && format != PixelFormat32bppRGB ? px[3] : 255;
        QRgb c = qRgba(px[2], px[1], px[0], a);
        out[x] = format == PixelFormat32bppPARGB ? qUnpremultiply(c) : c;
      }
    }
  }
  *bitmap = t;
  return Ok;
}

GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color) {
  TGpImage* t = Cast(bitmap);
  if (!t || !color || !t->image.valid(x, y)) return InvalidParameter;
  *color = t->image.pixel(x, y);  // QRgb is ARGB
  return Ok;
}

GpStatus GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color) {
  TGpImage* t = Cast(bitmap);
  if (!t || !t->image.valid(x, y)) return InvalidParameter;
  t->image.setPixel(x, y, color);
  t->metafile.reset();  // the pixels are the picture now
  return Ok;
}

GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  TGpImage* t = Cast(image);
  if (!t || !graphics) return InvalidParameter;
  // Indexed images cannot be drawn on.
  if (t->pixelFormat & 0x00010000) return OutOfMemory;
  t->metafile.reset();  // drawn on, the pixels are the picture now
  auto* g = new GpGraphics;
  g->dc = CreateDeviceDC(&t->image);
  g->ownsDC = true;
  g->pageUnit = UnitDisplay;
  *graphics = g;
  return Ok;
}

GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                               REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* imageAttributes, DrawImageAbort, void*) {
  TGpImage* t = Cast(image);
  if (!graphics || !t || srcUnit != UnitPixel) return InvalidParameter;
  QImage adjusted;
  if (imageAttributes && imageAttributes->ForBitmaps().set && !imageAttributes->ForBitmaps().noOp) {
    const TColorAdjust& a = imageAttributes->ForBitmaps();
    adjusted = t->image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < adjusted.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(adjusted.scanLine(y));
      for (int x = 0; x < adjusted.width(); ++x) line[x] = a.Apply(line[x]);
    }
  }
  const QImage& source = adjusted.isNull() ? t->image : adjusted;
  // A whole metafile drawn as it is plays its recording, sharp at any size.
  const bool play = t->metafile && adjusted.isNull() && srcx == 0 && srcy == 0 &&
                    srcwidth == t->image.width() && srcheight == t->image.height();
  return Paint(graphics, [&](QPainter& p) {
    // The image's pixel edges go on the rectangle's edges, not its pixel centres.
    p.translate(-0.5, -0.5);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (play) t->metafile->Play(p, QRectF(dstx, dsty, dstwidth, dstheight));
    else p.drawImage(QRectF(dstx, dsty, dstwidth, dstheight), source, QRectF(srcx, srcy, srcwidth, srcheight));
  });
}

GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
  TGpImage* t = Cast(image);
  if (!t) return InvalidParameter;
  return GdipDrawImageRectRect(graphics, image, x, y, width, height, 0, 0, REAL(t->image.width()),
                               REAL(t->image.height()), UnitPixel, nullptr, nullptr, nullptr);
}

GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y) {
  TGpImage* t = Cast(image);
  if (!graphics || !t) return InvalidParameter;
  return GdipDrawImageRect(graphics, image, REAL(x), REAL(y), REAL(t->image.width()), REAL(t->image.height()));
}

namespace {

// Encodes the image by the encoder onto the device.
GpStatus Encode(const TGpImage* t, QIODevice* device, const CLSID* clsidEncoder, const EncoderParameters* encoderParams) {
  const char* kind = nullptr;
  if (*clsidEncoder == EncoderBMP) kind = "bmp";
  else if (*clsidEncoder == EncoderJPEG) kind = "jpeg";
  else if (*clsidEncoder == EncoderPNG) kind = "png";
  else if (*clsidEncoder == EncoderGIF || *clsidEncoder == EncoderTIFF) return NotImplemented;
  else return FileNotFound;  // no such encoder
  int quality = -1;
  if (encoderParams)
    for (UINT i = 0; i < encoderParams->Count; ++i) {
      const EncoderParameter& p = encoderParams->Parameter[i];
      if (!(p.Guid == EncoderQuality)) continue;
      if (p.Type != EncoderParameterValueTypeLong || p.NumberOfValues != 1 || !p.Value) return InvalidParameter;
      quality = int(*static_cast<const uint32_t*>(p.Value));
      if (quality > 100) return InvalidParameter;
    }
  QImageWriter writer(device, kind);
  if (quality >= 0) writer.setQuality(quality);
  // BMP and JPEG keep no alpha: transparent pixels go on black as GDI+ writes them.
  QImage out = std::string_view(kind) == "png" ? t->image : t->image.convertToFormat(QImage::Format_RGB32);
  if (!writer.write(out))
    return writer.error() == QImageWriter::DeviceError ? Win32Error : GenericError;
  return Ok;
}

}  // namespace

GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams) {
  TGpImage* t = Cast(image);
  if (!t || !filename || !clsidEncoder) return InvalidParameter;
  QFile file(QString::fromUtf16(filename));
  // Encoded first, so an encoder that fails makes no file.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (const GpStatus s = Encode(t, &buffer, clsidEncoder, encoderParams); s != Ok) return s;
  if (!file.open(QIODevice::WriteOnly)) return Win32Error;
  const QByteArray& bytes = buffer.data();
  if (file.write(bytes) != bytes.size() || !file.flush()) return Win32Error;
  return Ok;
}

GpStatus GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder,
                               const EncoderParameters* encoderParams) {
  TGpImage* t = Cast(image);
  if (!t || !stream || !clsidEncoder) return InvalidParameter;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (const GpStatus s = Encode(t, &buffer, clsidEncoder, encoderParams); s != Ok) return s;
  const QByteArray& bytes = buffer.data();
  ULONG written = 0;
  if (FAILED(stream->Write(bytes.constData(), ULONG(bytes.size()), &written)) || written != ULONG(bytes.size()))
    return Win32Error;
  return Ok;
}

GpStatus GdipImageRotateFlip(GpImage* image, RotateFlipType rfType) {
  TGpImage* t = Cast(image);
  if (!t || rfType < RotateNoneFlipNone || rfType > Rotate270FlipX) return InvalidParameter;
  QImage& img = t->image;
  t->metafile.reset();  // turned, the pixels are the picture now
  if (const int quarter = rfType & 3) img = img.transformed(QTransform().rotate(90 * quarter));
  if (rfType & 4) img = img.mirrored(true, false);
  return Ok;
}

GpStatus GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters*) {
  if (!Cast(image) || !Cast(newImage)) return InvalidParameter;
  return NotImplemented;
}
