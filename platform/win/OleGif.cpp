// GIF pictures for the OLE picture loader: the first image, read record by record with giflib
// so that only that image is ever decoded or allocated.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/Ole_p.h"

namespace {

struct TGifInput {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

int ReadGif(GifFileType* gif, GifByteType* buffer, int count) {
  auto* in = static_cast<TGifInput*>(gif->UserData);
  size_t n = std::min<size_t>(static_cast<size_t>(std::max(count, 0)), in->size - in->pos);
  std::memcpy(buffer, in->data + in->pos, n);
  in->pos += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int err = 0;
    DGifCloseFile(gif, &err);
  }
};

// Skips the sub-blocks of an extension; keeps the transparent index of a graphic control one.
bool ReadExtension(GifFileType* gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    GraphicsControlBlock gcb;
    if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
  }
  while (block != nullptr)
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  return true;
}

}  // namespace

HRESULT DecodeGifImage(const uint8_t* Data, size_t Size, QImage& Out) {
  TGifInput input{Data, Size};
  int err = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, ReadGif, &err));
  if (!gif) return CTL_E_INVALIDPICTURE;
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return CTL_E_INVALIDPICTURE;
    if (type == EXTENSION_RECORD_TYPE) {
      if (!ReadExtension(gif.get(), transparent)) return CTL_E_INVALIDPICTURE;
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) return CTL_E_INVALIDPICTURE;  // no image before the end
    break;
  }
  if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return CTL_E_INVALIDPICTURE;
  const GifImageDesc& desc = gif->Image;
  const int w = desc.Width, h = desc.Height;
  if (w <= 0 || h <= 0) return CTL_E_INVALIDPICTURE;
  if (int64_t(w) * h > MaxOlePicturePixels) return E_OUTOFMEMORY;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (map == nullptr || map->Colors == nullptr) return CTL_E_INVALIDPICTURE;

  QImage image(w, h, QImage::Format_ARGB32);
  if (image.isNull()) return E_OUTOFMEMORY;
  std::vector<GifPixelType> line(static_cast<size_t>(w));
  // Interlaced images arrive in four passes of rows.
  static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(h));
  if (desc.Interlace) {
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < h; y += kStep[pass]) rows.push_back(y);
  } else {
    for (int y = 0; y < h; ++y) rows.push_back(y);
  }
  for (int y : rows) {
    if (DGifGetLine(gif.get(), line.data(), w) == GIF_ERROR) return CTL_E_INVALIDPICTURE;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      int index = line[static_cast<size_t>(x)];
      if (index == transparent) {
        out[x] = qRgba(0, 0, 0, 0);
      } else if (index < map->ColorCount) {
        const GifColorType& c = map->Colors[index];
        out[x] = qRgb(c.Red, c.Green, c.Blue);
      } else {
        out[x] = qRgb(0, 0, 0);  // an index beyond the colour table
      }
    }
  }
  Out = std::move(image);
  return S_OK;
}
