// TJPEGImage over libjpeg's 6b interface. libjpeg reports errors through its error manager;
// ours jumps back to the calling routine, which turns the message into an EJPEG exception,
// so a bad file never ends the program.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/ui/Graphics_p.h"
#include "platform/ui/Jpeg.h"

// After the facade headers: libjpeg defines TRUE and FALSE as macros.
#include <jpeglib.h>

namespace {

struct TErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

extern "C" void JpegOutputMessage(j_common_ptr) {}  // warnings are not printed

// A warning while decoding means corrupt or missing data (a file cut short, a damaged
// segment): the picture is refused instead of shown with grey or garbled rows.
extern "C" void JpegDecodeMessage(j_common_ptr cinfo, int level) {
  if (level < 0) JpegErrorExit(cinfo);
}

// Only plain data lives in the routines below, so the jump back skips no destructor.
// They return false with the message in err->message.
bool EncodeRaw(TErrorManager* err, const unsigned char* pixels, int width, int height, int components, int quality,
               bool progressive, unsigned char** out, unsigned long* outSize) {
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&err->pub);
  err->pub.error_exit = JpegErrorExit;
  err->pub.output_message = JpegOutputMessage;
  if (setjmp(err->jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, outSize);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + static_cast<size_t>(cinfo.next_scanline) * width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

// Decodes to RGB (3 bytes per pixel) into a malloc'd buffer.
bool DecodeRaw(TErrorManager* err, const unsigned char* data, unsigned long size, unsigned char** out, int* width,
               int* height) {
  jpeg_decompress_struct cinfo;
  unsigned char* volatile buffer = nullptr;
  cinfo.err = jpeg_std_error(&err->pub);
  err->pub.error_exit = JpegErrorExit;
  err->pub.output_message = JpegOutputMessage;
  err->pub.emit_message = JpegDecodeMessage;
  if (setjmp(err->jump)) {
    std::free(buffer);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), size);
  jpeg_read_header(&cinfo, TRUE);
  // A header may declare any size: refuse more than the picture bound before allocating.
  if (uint64_t(cinfo.image_width) * cinfo.image_height > uint64_t(MaxPicturePixels)) {
    std::snprintf(err->message, sizeof err->message, "Picture is too large: %u x %u pixels (at most %lld)",
                  unsigned(cinfo.image_width), unsigned(cinfo.image_height), static_cast<long long>(MaxPicturePixels));
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  size_t stride = static_cast<size_t>(cinfo.output_width) * 3;
  buffer = static_cast<unsigned char*>(std::malloc(stride * cinfo.output_height + 1));
  if (!buffer) {
    std::strcpy(err->message, "Out of memory decoding JPEG data");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = buffer + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  *width = static_cast<int>(cinfo.output_width);
  *height = static_cast<int>(cinfo.output_height);
  jpeg_destroy_decompress(&cinfo);
  *out = buffer;
  return true;
}

String Message(const TErrorManager& err) { return u"JPEG error: " + UTF8ToString(err.message); }

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return FData.empty() && (!FBitmap || FBitmap->Empty()); }
int TJPEGImage::Width() const { return FWidth; }
int TJPEGImage::Height() const { return FHeight; }
void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(u"Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(u"Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) { FQuality = std::clamp(Value, 1, 100); }
void TJPEGImage::SetProgressiveEncoding(bool Value) { FProgressive = Value; }

void TJPEGImage::SetGrayscale(bool Value) {
  if (FGrayscale == Value) return;
  FGrayscale = Value;
  if (FBitmap && !FData.empty()) FBitmap.reset();  // decoded again in the new colour mode
  Changed();
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  TErrorManager err;
  unsigned char* pixels = nullptr;
  int w = 0, h = 0;
  if (!DecodeRaw(&err, reinterpret_cast<const unsigned char*>(FData.data()), FData.size(), &pixels, &w, &h))
    throw EJPEG(Message(err));
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const unsigned char* src = pixels + static_cast<size_t>(y) * w * 3;
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
      if (FGrayscale) r = g = b = qGray(r, g, b);
      line[x] = qRgb(r, g, b);
    }
  }
  std::free(pixels);
  auto bmp = std::make_unique<TBitmap>();
  TBitmapAccess::SetImage(bmp.get(), img);
  bmp->SetPixelFormat(pf24bit);
  FBitmap = std::move(bmp);
}

void TJPEGImage::Compress() {
  if (!FBitmap || FBitmap->Empty()) throw EInvalidGraphicOperation(u"Cannot compress an empty JPEG image");
  const QImage& img = TBitmapAccess::Image(FBitmap.get());
  int w = img.width(), h = img.height(), comps = FGrayscale ? 1 : 3;
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * comps);
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    unsigned char* dst = pixels.data() + static_cast<size_t>(y) * w * comps;
    for (int x = 0; x < w; ++x) {
      if (comps == 1) {
        dst[x] = static_cast<unsigned char>(qGray(line[x]));
      } else {
        dst[3 * x] = static_cast<unsigned char>(qRed(line[x]));
        dst[3 * x + 1] = static_cast<unsigned char>(qGreen(line[x]));
        dst[3 * x + 2] = static_cast<unsigned char>(qBlue(line[x]));
      }
    }
  }
  TErrorManager err;
  unsigned char* out = nullptr;
  unsigned long size = 0;
  bool ok = EncodeRaw(&err, pixels.data(), w, h, comps, FQuality, FProgressive, &out, &size);
  std::string data;
  if (ok && out) data.assign(reinterpret_cast<const char*>(out), size);
  std::free(out);
  if (!ok) throw EJPEG(Message(err));
  FData = std::move(data);
}

void TJPEGImage::JPEGNeeded() {
  if (FData.empty()) Compress();
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return FBitmap.get();
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DIBNeeded();
  if (FBitmap) FBitmap->Draw(ACanvas, Rect);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  if (!Stream) throw EJPEG(u"JPEG error: no stream to read from");
  std::string data;
  char buf[65536];
  for (;;) {
    int32_t n = Stream->Read(buf, sizeof buf);
    if (n <= 0) break;
    if (static_cast<int64_t>(data.size()) + n > MaxPictureFileSize) throw EJPEG(u"JPEG error: the data is too large");
    data.append(buf, static_cast<size_t>(n));
  }
  if (data.empty()) throw EJPEG(u"JPEG error: the stream holds no JPEG data");
  // Decode first, so that bad data leaves the image as it was.
  std::string oldData = std::move(FData);
  std::unique_ptr<TBitmap> oldBitmap = std::move(FBitmap);
  FData = std::move(data);
  try {
    DIBNeeded();
  } catch (...) {
    FData = std::move(oldData);
    FBitmap = std::move(oldBitmap);
    throw;
  }
  FWidth = FBitmap->Width();
  FHeight = FBitmap->Height();
  Changed();
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (!Stream) throw EJPEG(u"JPEG error: no stream to write to");
  JPEGNeeded();
  Stream->WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FBitmap.reset();
    FWidth = FHeight = 0;
    Changed();
    return;
  }
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    if (j == this) return;
    FData = j->FData;
    FBitmap.reset();
    if (j->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(j->FBitmap.get());
    }
    FWidth = j->FWidth;
    FHeight = j->FHeight;
    FQuality = j->FQuality;
    FProgressive = j->FProgressive;
    FGrayscale = j->FGrayscale;
    Changed();
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    Assign(p->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->Assign(g);
    FData.clear();  // encoded on the next save, with the quality set by then
    FWidth = bmp->Width();
    FHeight = bmp->Height();
    FBitmap = std::move(bmp);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}
