// GDI+ images read from and written to streams over global memory, and hostile picture data.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/win/Ole.h"

namespace {

constexpr ARGB kRed = 0xFFFF0000;

// A stream over a new global block holding the bytes, positioned at its start.
IStream* StreamOf(const std::vector<uint8_t>& bytes) {
  IStream* s = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
  ULONG n = 0;
  if (!bytes.empty()) s->Write(bytes.data(), ULONG(bytes.size()), &n);
  s->Seek(0, STREAM_SEEK_SET, nullptr);
  return s;
}

std::vector<uint8_t> BytesOf(IStream* s) {
  STATSTG st;
  s->Stat(&st, STATFLAG_NONAME);
  std::vector<uint8_t> bytes(st.cbSize);
  s->Seek(0, STREAM_SEEK_SET, nullptr);
  ULONG n = 0;
  s->Read(bytes.data(), ULONG(bytes.size()), &n);
  return bytes;
}

// A 3 by 2 bitmap with a red top-left pixel.
GpBitmap* Sample() {
  GpBitmap* bmp = nullptr;
  EXPECT_EQ(GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  GdipBitmapSetPixel(bmp, 0, 0, kRed);
  return bmp;
}

// A BMP header declaring a picture of the given size, with no pixels after it.
std::vector<uint8_t> BmpHeader(int32_t width, int32_t height) {
  std::vector<uint8_t> b(54, 0);
  auto put32 = [&](int at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  b[26] = 1;
  b[28] = 24;
  return b;
}

// A stream that takes nothing: every write fails.
class TFullStream final : public IStream {
public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT Read(void*, ULONG, ULONG* Read) override {
    if (Read) *Read = 0;
    return S_OK;
  }
  HRESULT Write(const void*, ULONG, ULONG* Written) override {
    if (Written) *Written = 0;
    return STG_E_MEDIUMFULL;
  }
  HRESULT Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return S_OK; }
  HRESULT SetSize(ULARGE_INTEGER) override { return STG_E_MEDIUMFULL; }
  HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_FAIL; }
  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_FAIL; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_FAIL; }
  HRESULT Stat(STATSTG*, DWORD) override { return E_FAIL; }
  HRESULT Clone(IStream**) override { return E_FAIL; }
};

}  // namespace

TEST(GdiPlusStream, ImagesRoundTripThroughStreamsByEncoder) {
  GpBitmap* bmp = Sample();
  struct {
    CLSID encoder;
    GUID raw;
    bool exact;  // lossless
  } cases[] = {{EncoderPNG, ImageFormatPNG, true}, {EncoderBMP, ImageFormatBMP, true}, {EncoderJPEG, ImageFormatJPEG, false}};
  for (const auto& c : cases) {
    IStream* s = StreamOf({});
    ASSERT_EQ(GdipSaveImageToStream(bmp, s, &c.encoder, nullptr), Ok);
    const std::vector<uint8_t> bytes = BytesOf(s);
    s->Release();
    // Read back both as an image and as a bitmap, the stream positioned past a prefix.
    std::vector<uint8_t> prefixed = {'x', 'y', 'z'};
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    IStream* in = StreamOf(prefixed);
    in->Seek(3, STREAM_SEEK_SET, nullptr);
    GpImage* img = nullptr;
    ASSERT_EQ(GdipLoadImageFromStream(in, &img), Ok);
    in->Release();
    GUID raw;
    UINT w = 0, h = 0;
    ASSERT_EQ(GdipGetImageRawFormat(img, &raw), Ok);
    GdipGetImageWidth(img, &w);
    GdipGetImageHeight(img, &h);
    EXPECT_TRUE(raw == c.raw);
    EXPECT_EQ(w, 3u);
    EXPECT_EQ(h, 2u);
    GdipDisposeImage(img);

    in = StreamOf(bytes);
    GpBitmap* back = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromStreamICM(in, &back), Ok);
    in->Release();
    ARGB px = 0;
    ASSERT_EQ(GdipBitmapGetPixel(back, 0, 0, &px), Ok);
    if (c.exact) EXPECT_EQ(px, kRed);
    else EXPECT_GT((px >> 16) & 0xFF, ((px >> 8) & 0xFF) + 40);  // lossy: still clearly red
    GdipDisposeImage(back);
  }
  GdipDisposeImage(bmp);
}

TEST(GdiPlusStream, SavingReportsEncodersAndStreamsThatFail) {
  GpBitmap* bmp = Sample();
  IStream* s = StreamOf({});
  EXPECT_EQ(GdipSaveImageToStream(bmp, s, &EncoderGIF, nullptr), NotImplemented);
  EXPECT_EQ(GdipSaveImageToStream(bmp, s, &EncoderTIFF, nullptr), NotImplemented);
  const CLSID unknown{1, 2, 3, {}};
  EXPECT_EQ(GdipSaveImageToStream(bmp, s, &unknown, nullptr), FileNotFound);
  EXPECT_EQ(GdipSaveImageToStream(bmp, nullptr, &EncoderPNG, nullptr), InvalidParameter);
  EXPECT_EQ(GdipSaveImageToStream(nullptr, s, &EncoderPNG, nullptr), InvalidParameter);
  EXPECT_TRUE(BytesOf(s).empty());  // nothing written by a failing call
  s->Release();
  TFullStream full;
  EXPECT_EQ(GdipSaveImageToStream(bmp, &full, &EncoderPNG, nullptr), Win32Error);
  GdipDisposeImage(bmp);
}

TEST(GdiPlusStream, BadPictureDataIsOutOfMemory) {
  // A valid PNG to cut short.
  GpBitmap* bmp = Sample();
  IStream* s = StreamOf({});
  ASSERT_EQ(GdipSaveImageToStream(bmp, s, &EncoderPNG, nullptr), Ok);
  const std::vector<uint8_t> png = BytesOf(s);
  s->Release();
  GdipDisposeImage(bmp);

  const std::vector<uint8_t> cases[] = {
      {},                                                      // empty
      {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'},      // not a picture
      std::vector<uint8_t>(png.begin(), png.begin() + 30),     // truncated
      BmpHeader(20000, 20000),                                 // 400 megapixels declared
      BmpHeader(-5, 0),                                        // nonsense size
  };
  for (const auto& bytes : cases) {
    IStream* in = StreamOf(bytes);
    GpImage* img = nullptr;
    EXPECT_EQ(GdipLoadImageFromStream(in, &img), OutOfMemory) << bytes.size();
    EXPECT_EQ(img, nullptr);
    GpBitmap* b = nullptr;
    in->Seek(0, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(GdipCreateBitmapFromStream(in, &b), OutOfMemory);
    EXPECT_EQ(b, nullptr);
    in->Release();
  }
  GpImage* img = nullptr;
  EXPECT_EQ(GdipLoadImageFromStream(nullptr, &img), InvalidParameter);
}

TEST(GdiPlusStream, FilesThatAreNoRegularPictureFilesAreRefusedWithoutReading) {
  // A named pipe with no writer would block a reader for ever.
  const std::string fifo = ::testing::TempDir() + "gdiplus-fifo.png";
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::u16string wide(fifo.begin(), fifo.end());
  GpImage* img = nullptr;
  EXPECT_EQ(GdipLoadImageFromFile(wide.c_str(), &img), OutOfMemory);
  std::remove(fifo.c_str());
  const std::string dir = ::testing::TempDir();
  const std::u16string wdir(dir.begin(), dir.end());
  EXPECT_EQ(GdipLoadImageFromFile(wdir.c_str(), &img), OutOfMemory);
  EXPECT_EQ(img, nullptr);
}

TEST(GdiPlusStream, TiffReadsAndFormatsGdiPlusDoesNotReadAreRefused) {
  const std::string dir = ::testing::TempDir() + "gdiplus-formats/";
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "' && cd '" + dir +
                         "' && convert -size 5x3 xc:red a.tif && convert -size 5x3 xc:red a.tga && "
                         "convert -size 5x3 xc:red a.webp")
                            .c_str()),
            0);
  const std::string tif = dir + "a.tif";
  GpImage* img = nullptr;
  ASSERT_EQ(GdipLoadImageFromFile(std::u16string(tif.begin(), tif.end()).c_str(), &img), Ok);
  GUID raw;
  GdipGetImageRawFormat(img, &raw);
  EXPECT_TRUE(raw == ImageFormatTIFF);
  ARGB px = 0;
  GdipBitmapGetPixel(static_cast<GpBitmap*>(img), 4, 2, &px);
  EXPECT_EQ(px, kRed);
  GdipDisposeImage(img);
  for (const char* other : {"a.tga", "a.webp"}) {
    const std::string path = dir + other;
    img = nullptr;
    EXPECT_EQ(GdipLoadImageFromFile(std::u16string(path.begin(), path.end()).c_str(), &img), OutOfMemory) << other;
    EXPECT_EQ(img, nullptr);
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}
