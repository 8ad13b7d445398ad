#pragma once
// Private to platform/: the pieces behind the OLE picture loader.

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/win/Ole.h"

// A metafile picture as the class library's metafile reader gives it to the loader.
class TOleMetafile {
public:
  virtual ~TOleMetafile() = default;
  // Size in HIMETRIC.
  virtual int HimetricWidth() const = 0;
  virtual int HimetricHeight() const = 0;
  virtual bool Enhanced() const = 0;
  // Plays the recording scaled into Target (logical coordinates of the painter).
  virtual void Play(QPainter& Painter, const QRectF& Target) const = 0;
};

// Reads WMF or EMF data (null when it cannot); set by the class library, which owns the
// metafile reader. Without it metafile data is refused as an invalid picture.
extern std::function<std::unique_ptr<TOleMetafile>(const uint8_t* Data, size_t Size)> OleMetafileReader;

// The first image of GIF data, cropped to its own rectangle, with the transparent colour of a
// graphic control extension before it as alpha 0. S_OK, CTL_E_INVALIDPICTURE for data that is
// not a complete first image, E_OUTOFMEMORY for an image of more than MaxOlePicturePixels.
HRESULT DecodeGifImage(const uint8_t* Data, size_t Size, QImage& Out);
