// JPEG encoding and decoding through libjpeg.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ui/Jpeg.h"

namespace {

std::unique_ptr<TBitmap> Gradient(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->Canvas()->SetPixels(x, y, RGB(x * 255 / w, y * 255 / h, 128));
  return b;
}

int Diff(TColor a, TColor b) {
  int d = 0;
  for (int s = 0; s < 24; s += 8) d = std::max(d, std::abs(((a >> s) & 0xFF) - ((b >> s) & 0xFF)));
  return d;
}

std::string Bytes(TJPEGImage& j) {
  TMemoryStream m;
  j.SaveToStream(&m);
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

}  // namespace

TEST(Jpeg, RoundTripsABitmapAsBaseline) {
  auto src = Gradient(40, 30);
  TJPEGImage j;
  j.SetCompressionQuality(95);
  j.Assign(src.get());
  std::string data = Bytes(j);
  ASSERT_GT(data.size(), 4u);
  EXPECT_EQ(static_cast<uint8_t>(data[0]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(data[1]), 0xD8);
  EXPECT_NE(data.find("\xFF\xC0"), std::string::npos);  // baseline frame
  EXPECT_EQ(data.find("\xFF\xC2"), std::string::npos);  // not progressive

  auto path = std::filesystem::temp_directory_path() / ("jpeg-test-" + std::to_string(::getpid()) + ".jpg");
  j.SaveToFile(UTF8ToString(path.string()));
  TJPEGImage back;
  back.LoadFromFile(UTF8ToString(path.string()));
  std::filesystem::remove(path);
  ASSERT_EQ(back.Width(), 40);
  ASSERT_EQ(back.Height(), 30);
  TBitmap out;
  out.Assign(&back);
  int worst = 0;
  for (int y = 0; y < 30; y += 3)
    for (int x = 0; x < 40; x += 3) worst = std::max(worst, Diff(out.Canvas()->Pixels(x, y), src->Canvas()->Pixels(x, y)));
  EXPECT_LT(worst, 24);
}

TEST(Jpeg, QualityAndProgressiveChangeTheEncoding) {
  auto src = Gradient(64, 64);
  TJPEGImage low, high, prog;
  low.SetCompressionQuality(10);
  high.SetCompressionQuality(100);
  prog.SetProgressiveEncoding(true);
  for (TJPEGImage* j : {&low, &high, &prog}) j->Assign(src.get());
  EXPECT_LT(Bytes(low).size(), Bytes(high).size());
  EXPECT_NE(Bytes(prog).find("\xFF\xC2"), std::string::npos);
}

TEST(Jpeg, BadDataRaisesAndKeepsTheImage) {
  TJPEGImage j;
  j.Assign(Gradient(8, 8).get());
  for (std::string bad : {std::string("not a jpeg"), std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10), std::string()}) {
    TMemoryStream m;
    if (!bad.empty()) m.WriteBuffer(bad.data(), static_cast<int32_t>(bad.size()));
    m.SetPosition(0);
    EXPECT_THROW(j.LoadFromStream(&m), EJPEG);
    EXPECT_EQ(j.Width(), 8);
  }
  // A file cut short decodes with libjpeg's warning only; it is refused all the same.
  TJPEGImage whole;
  whole.Assign(Gradient(64, 64).get());
  std::string half = Bytes(whole).substr(0, Bytes(whole).size() / 2);
  TMemoryStream cut;
  cut.WriteBuffer(half.data(), static_cast<int32_t>(half.size()));
  cut.SetPosition(0);
  EXPECT_THROW(j.LoadFromStream(&cut), EJPEG);
  EXPECT_EQ(j.Width(), 8);
  TJPEGImage empty;
  TMemoryStream m;
  EXPECT_THROW(empty.SaveToStream(&m), EInvalidGraphicOperation);
}
