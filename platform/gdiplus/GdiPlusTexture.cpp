// Texture brushes: an image tiled, flipped or clamped, under its own transform.
#include <QPainter>

#include "platform/gdiplus/GdiPlus_p.h"

namespace {

TTexture* Cast(GpTexture* brush) { return dynamic_cast<TTexture*>(brush); }

GpStatus NewTexture(GpImage* image, GpWrapMode wrap, QRectF part, GpTexture** texture) {
  auto* img = dynamic_cast<TGpImage*>(image);
  if (!img || !texture || wrap < WrapModeTile || wrap > WrapModeClamp) return InvalidParameter;
  const QRect whole = img->image.rect();
  if (part.isNull()) part = whole;
  const QRect r = part.toAlignedRect();
  if (r.width() <= 0 || r.height() <= 0 || !whole.contains(r)) return OutOfMemory;
  auto* t = new TTexture;
  t->image = img->image.copy(r);
  t->wrap = wrap;
  *texture = t;
  return Ok;
}

}  // namespace

QBrush TTexture::ToQBrush() const {
  // Flipping modes tile a block of the image and its mirror images.
  QImage tile = image;
  if (wrap >= WrapModeTileFlipX && wrap <= WrapModeTileFlipXY) {
    const bool fx = wrap != WrapModeTileFlipY, fy = wrap != WrapModeTileFlipX;
    tile = QImage(image.width() * (fx ? 2 : 1), image.height() * (fy ? 2 : 1), QImage::Format_ARGB32);
    tile.fill(0);
    QPainter p(&tile);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image);
    if (fx) p.drawImage(image.width(), 0, image.mirrored(true, false));
    if (fy) p.drawImage(0, image.height(), image.mirrored(false, true));
    if (fx && fy) p.drawImage(image.width(), image.height(), image.mirrored(true, true));
  }
  QBrush b(tile);
  // Texel edges on whole coordinates; the graphics puts pixel centres there.
  b.setTransform(QTransform::fromTranslate(-0.5, -0.5) * transform);
  return b;
}

bool TTexture::Limit(QPainterPath& area) const {
  if (wrap != WrapModeClamp) return false;
  QPainterPath r;
  r.addRect(QRectF(-0.5, -0.5, image.width(), image.height()));
  area = transform.map(r);
  return true;
}

GpStatus GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture) {
  return NewTexture(image, wrapMode, QRectF(), texture);
}

GpStatus GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width, REAL height,
                            GpTexture** texture) {
  return NewTexture(image, wrapMode, QRectF(x, y, width, height), texture);
}

GpStatus GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                             GpTexture** texture) {
  return NewTexture(image, wrapMode, QRectF(x, y, width, height), texture);
}

GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes*, REAL x, REAL y, REAL width, REAL height,
                             GpTexture** texture) {
  return NewTexture(image, WrapModeTile, QRectF(x, y, width, height), texture);
}

GpStatus GdipCreateTextureIAI(GpImage* image, const GpImageAttributes*, INT x, INT y, INT width, INT height,
                              GpTexture** texture) {
  return NewTexture(image, WrapModeTile, QRectF(x, y, width, height), texture);
}

GpStatus GdipResetTextureTransform(GpTexture* brush) {
  if (!Cast(brush)) return InvalidParameter;
  Cast(brush)->transform.reset();
  return Ok;
}

namespace {

// Applies a matrix step to the texture's transform through the matrix functions.
template <typename F>
GpStatus Step(GpTexture* brush, F&& step) {
  TTexture* t = Cast(brush);
  if (!t) return InvalidParameter;
  GpMatrix m{t->transform};
  const GpStatus s = step(&m);
  if (s == Ok) t->transform = m.m;
  return s;
}

}  // namespace

GpStatus GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order) {
  return Step(brush, [&](GpMatrix* m) { return GdipTranslateMatrix(m, dx, dy, order); });
}

GpStatus GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order) {
  return Step(brush, [&](GpMatrix* m) { return GdipScaleMatrix(m, sx, sy, order); });
}

GpStatus GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order) {
  return Step(brush, [&](GpMatrix* m) { return GdipRotateMatrix(m, angle, order); });
}

GpStatus GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode) {
  if (!Cast(brush) || wrapMode < WrapModeTile || wrapMode > WrapModeClamp) return InvalidParameter;
  Cast(brush)->wrap = wrapMode;
  return Ok;
}

GpStatus GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode) {
  if (!Cast(brush) || !wrapMode) return InvalidParameter;
  *wrapMode = Cast(brush)->wrap;
  return Ok;
}

GpStatus GdipGetTextureImage(GpTexture* brush, GpImage** image) {
  if (!Cast(brush) || !image) return InvalidParameter;
  auto* img = new TGpImage;
  img->image = Cast(brush)->image;
  *image = img;
  return Ok;
}
