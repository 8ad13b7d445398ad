// Picture files read from streams by the OLE picture loader and by GDI+: any bytes give a
// picture or a failure code, never a picture beyond the size limit; what loads also draws.
#include "fuzz/FuzzSupport.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Ole.h"

namespace {

// A stream over a copy of the bytes, freed with the stream.
IStream* StreamOf(const uint8_t* Data, size_t Size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, Size);
  if (mem == nullptr) std::abort();
  if (Size) std::memcpy(GlobalLock(mem), Data, Size);
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(mem, TRUE, &stream) != S_OK) std::abort();
  return stream;
}

TCanvas* Target() {
  static TBitmap* bitmap = [] {
    auto* b = new TBitmap;
    b->SetSize(32, 32);
    return b;
  }();
  return bitmap->Canvas();
}

void LoadOle(const uint8_t* Data, size_t Size) {
  IStream* stream = StreamOf(Data, Size);
  void* object = nullptr;
  const HRESULT hr = OleLoadPicture(stream, LONG(Size), FALSE, IID_IPicture, &object);
  stream->Release();
  if (FAILED(hr)) {
    if (object != nullptr) __builtin_trap();
    return;
  }
  auto* picture = static_cast<IPicture*>(object);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  if (w < 0 || h < 0) __builtin_trap();
  // HIMETRIC to pixels at 96 dots per inch.
  if (int64_t(w / 26) * (h / 26) > MaxOlePicturePixels) __builtin_trap();
  if (w > 0 && h > 0) picture->Render(Target()->Handle(), 0, 0, 32, 32, 0, h, w, -h, nullptr);
  picture->Release();
}

void LoadGdiPlus(const uint8_t* Data, size_t Size, bool AsBitmap) {
  IStream* stream = StreamOf(Data, Size);
  GpImage* image = nullptr;
  GpStatus status;
  if (AsBitmap) {
    GpBitmap* bitmap = nullptr;
    status = GdipCreateBitmapFromStream(stream, &bitmap);
    image = bitmap;
  } else {
    status = GdipLoadImageFromStream(stream, &image);
  }
  stream->Release();
  if (status != Ok) {
    if (image != nullptr) __builtin_trap();
    return;
  }
  UINT w = 0, h = 0;
  GdipGetImageWidth(image, &w);
  GdipGetImageHeight(image, &h);
  if (int64_t(w) * h > MaxOlePicturePixels) __builtin_trap();
  GpGraphics* graphics = nullptr;
  if (GdipCreateFromHDC(Target()->Handle(), &graphics) == Ok) {
    GdipDrawImageI(graphics, image, 0, 0);
    GdipDeleteGraphics(graphics);
  }
  GdipDisposeImage(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartQt();
  LoadOle(data, size);
  LoadGdiPlus(data, size, false);
  LoadGdiPlus(data, size, true);
  return 0;
}
