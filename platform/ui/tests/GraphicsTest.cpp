// Canvas, fonts, colours and picture classes, drawn into bitmaps and saved in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "testing/TempFolder.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"

namespace {

// A bitmap with four coloured quarters.
std::unique_ptr<TBitmap> Quarters(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  TColor colors[] = {clRed, clLime, clBlue, clYellow};
  for (int i = 0; i < 4; ++i) {
    b->Canvas()->Brush()->SetColor(colors[i]);
    b->Canvas()->FillRect(Bounds((i % 2) * w / 2, (i / 2) * h / 2, w / 2, h / 2));
  }
  return b;
}

}  // namespace

TEST(Graphics, ColoursAndFontSizes) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clNone), clWhite);
  TFont f;
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetStyle({fsBold});
  f.SetStyle({fsBold});  // unchanged: no event
  EXPECT_EQ(changes, 1);
  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.Height(), -16);
  EXPECT_TRUE(g.Style().Contains(fsBold));
}

TEST(Graphics, CanvasShapesFollowGdiRules) {
  TBitmap b(12, 12);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  c->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(c->Pixels(9, 9), clBlack);
  EXPECT_EQ(c->Pixels(10, 10), clWhite);
  EXPECT_EQ(c->Pixels(5, 5), clRed);
  EXPECT_EQ(c->Pixels(20, 20), -1);
  c->Pen()->SetColor(clBlue);
  c->MoveTo(0, 11);
  c->LineTo(5, 11);
  EXPECT_EQ(c->Pixels(4, 11), clBlue);
  EXPECT_EQ(c->Pixels(5, 11), clWhite);
  EXPECT_EQ(c->PenPos(), TPoint(5, 11));
  // XOR pen twice restores.
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 5);
  c->LineTo(12, 5);
  EXPECT_EQ(c->Pixels(5, 5), 0xFFFF00);  // red xor white
  c->MoveTo(0, 5);
  c->LineTo(12, 5);
  EXPECT_EQ(c->Pixels(5, 5), clRed);
}

TEST(Graphics, CanvasTextUsesTheBrushAsBackground) {
  TBitmap b(80, 60);
  TCanvas* c = b.Canvas();
  c->Font()->SetName(u"Arial");
  c->Font()->SetSize(9);
  c->Brush()->SetColor(clYellow);
  c->TextOut(2, 2, u"Hi");
  EXPECT_EQ(c->Pixels(2, 2), clYellow);
  EXPECT_EQ(c->PenPos().X, 2 + c->TextWidth(u"Hi"));
  c->Brush()->SetStyle(bsClear);
  c->TextOut(2, 40, u"Hi");
  EXPECT_EQ(c->Pixels(2, 40), clWhite);
  EXPECT_EQ(c->TextHeight(u"Hi"), c->TextExtent(u"X").cy);
  // TextRect fills the rectangle and clips the text to it.
  c->Brush()->SetColor(clAqua);
  c->TextRect(Rect(40, 0, 50, 10), 40, 6, u"WWWW");
  EXPECT_EQ(c->Pixels(49, 1), clAqua);
  EXPECT_EQ(c->Pixels(50, 8), clWhite);
}

TEST(Graphics, DrawStretchDrawCopyRectAndTransparency) {
  auto src = Quarters(4, 4);
  TBitmap dst(10, 10);
  dst.Canvas()->Draw(1, 1, src.get());
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(dst.Canvas()->Pixels(4, 4), clYellow);
  dst.Canvas()->StretchDraw(Rect(0, 0, 8, 8), src.get());
  EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clRed);
  EXPECT_EQ(dst.Canvas()->Pixels(4, 3), clLime);
  TBitmap copy(4, 4);
  copy.Canvas()->CopyRect(Rect(0, 0, 2, 2), src->Canvas(), Rect(2, 2, 4, 4));
  EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clYellow);
  // Transparent: the bottom-left pixel's colour (blue) is left out.
  src->SetTransparent(true);
  EXPECT_EQ(src->TransparentColor(), clBlue);
  TBitmap under(4, 4);
  under.Canvas()->Draw(0, 0, src.get());
  EXPECT_EQ(under.Canvas()->Pixels(0, 3), clWhite);
  EXPECT_EQ(under.Canvas()->Pixels(3, 3), clYellow);
}

TEST(Graphics, BitmapFilesRoundTripAndBadFilesRaise) {
  TempFolder dir;
  auto b = Quarters(6, 4);
  b->SaveToFile(dir.FileS("q.bmp"));
  TBitmap loaded;
  loaded.LoadFromFile(dir.FileS("q.bmp"));
  EXPECT_EQ(loaded.Width(), 6);
  EXPECT_EQ(loaded.Height(), 4);
  EXPECT_EQ(loaded.Canvas()->Pixels(5, 3), clYellow);
  dir.Write("bad.bmp", "not a bitmap");
  EXPECT_THROW(loaded.LoadFromFile(dir.FileS("bad.bmp")), EInvalidGraphic);
  EXPECT_EQ(loaded.Width(), 6);  // unchanged
  EXPECT_THROW(loaded.LoadFromFile(dir.FileS("missing.bmp")), EFOpenError);
}

TEST(Graphics, PictureChoosesTheGraphicByExtension) {
  TempFolder dir;
  auto b = Quarters(8, 8);
  b->SaveToFile(dir.FileS("a.bmp"));
  TIcon icon;
  icon.Assign(b.get());
  icon.SaveToFile(dir.FileS("a.ico"));
  TJPEGImage jpeg;
  jpeg.Assign(b.get());
  jpeg.SaveToFile(dir.FileS("a.JPG"));

  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.LoadFromFile(dir.FileS("a.bmp"));
  EXPECT_NE(dynamic_cast<TBitmap*>(p.Graphic()), nullptr);
  p.LoadFromFile(dir.FileS("a.ico"));
  EXPECT_NE(dynamic_cast<TIcon*>(p.Graphic()), nullptr);
  EXPECT_EQ(p.Width(), 8);
  p.LoadFromFile(dir.FileS("a.JPG"));
  EXPECT_NE(dynamic_cast<TJPEGImage*>(p.Graphic()), nullptr);
  EXPECT_EQ(changes, 3);
  EXPECT_THROW(p.LoadFromFile(dir.FileS("a.xyz")), EInvalidGraphic);
  EXPECT_NE(p.Graphic(), nullptr);

  // Registered formats take part in loading and in the dialog filter.
  TPicture::RegisterFileFormat(u"raw", u"Raw bitmaps", [] { return std::unique_ptr<TGraphic>(new TBitmap); });
  std::filesystem::copy_file(dir.File("a.bmp"), dir.File("b.raw"));
  p.LoadFromFile(dir.FileS("b.raw"));
  EXPECT_NE(dynamic_cast<TBitmap*>(p.Graphic()), nullptr);
  EXPECT_NE(TPicture::GraphicFilter().find(u"Raw bitmaps (*.raw)|*.raw"), String::npos);
  TPicture::UnregisterFileFormat(u"raw");

  TPicture q;
  q.Assign(&p);
  EXPECT_NE(q.Graphic(), p.Graphic());
  EXPECT_EQ(q.Width(), 8);
  EXPECT_EQ(q.Bitmap()->Canvas()->Pixels(0, 0), clRed);
}

TEST(Graphics, BitmapSizeSetOneSideAtATime) {
  TBitmap b;
  b.SetWidth(30);
  EXPECT_EQ(b.Width(), 30);
  EXPECT_EQ(b.Height(), 0);
  b.SetHeight(20);
  EXPECT_EQ(b.Width(), 30);
  EXPECT_EQ(b.Height(), 20);
  b.Canvas()->SetPixels(29, 19, clRed);
  EXPECT_EQ(b.Canvas()->Pixels(29, 19), clRed);
  b.SetHeight(0);
  b.SetHeight(5);
  EXPECT_EQ(b.Width(), 30);
  EXPECT_EQ(b.Height(), 5);
}

namespace {

std::string Bytes(TGraphic& g) {
  TMemoryStream m;
  g.SaveToStream(&m);
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

void PutLE(std::string& b, size_t at, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b[at + size_t(i)] = char(uint8_t(v >> (8 * i)));
}

// Loads bytes as the given graphic kind; true when it raised EInvalidGraphic.
template <class G>
bool Refused(const std::string& bytes) {
  TMemoryStream m;
  m.WriteBuffer(bytes.data(), int32_t(bytes.size()));
  m.SetPosition(0);
  G g;
  try {
    g.LoadFromStream(&m);
  } catch (const EInvalidGraphic&) {
    return g.Empty();
  }
  return false;
}

}  // namespace

TEST(Graphics, PictureFilesThatAreNoRegularFilesOrTooLargeAreRefusedWithoutWaiting) {
  TempFolder dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo.ico").c_str(), 0600), 0);
  { std::ofstream(dir.File("huge.bmp")) << "BM"; }
  std::filesystem::resize_file(dir.File("huge.bmp"), MaxPictureFileSize + 1);  // sparse
  for (const std::string& name : {dir.File("fifo.ico"), std::string("/dev/zero"), dir.File("huge.bmp")}) {
    int refused = 0;
    auto read = [&] {
      for (auto make : {+[] { return std::unique_ptr<TGraphic>(new TIcon); },
                        +[] { return std::unique_ptr<TGraphic>(new TBitmap); },
                        +[] { return std::unique_ptr<TGraphic>(new TJPEGImage); }}) {
        try {
          make()->LoadFromFile(UTF8ToString(name));
        } catch (const EFOpenError& e) {
          refused += e.Message().find(UTF8ToString(name)) != String::npos;
        }
      }
    };
    EXPECT_TRUE(dir.Finishes(read, "fifo.ico")) << name << " blocked the reader";
    EXPECT_EQ(refused, 3) << name;
  }
}

TEST(Graphics, HeadersDeclaringHugeOrMissingPixelsAreRefusedBeforeDecoding) {
  auto small = Quarters(16, 16);
  const std::string bmp = Bytes(*small);
  // A bitmap header's size with the pixel rows missing: 13 x 1,048,581 pixels from 822 bytes.
  std::string tall = bmp;
  PutLE(tall, 18, 13, 4);
  PutLE(tall, 22, 1048581, 4);
  EXPECT_TRUE(Refused<TBitmap>(tall));
  // Past the pixel bound, whatever follows.
  std::string wide = bmp;
  PutLE(wide, 18, 9000, 4);
  PutLE(wide, 22, uint32_t(-9000), 4);  // top-down
  EXPECT_TRUE(Refused<TBitmap>(wide));

  TJPEGImage jpeg;
  jpeg.Assign(small.get());
  const std::string jpg = Bytes(jpeg);
  const size_t sof = jpg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  std::string huge = jpg;  // 20000 x 20000 declared
  huge[sof + 5] = huge[sof + 7] = char(20000 >> 8);
  huge[sof + 6] = huge[sof + 8] = char(20000 & 0xFF);
  try {
    TJPEGImage j;
    TMemoryStream m;
    m.WriteBuffer(huge.data(), int32_t(huge.size()));
    m.SetPosition(0);
    j.LoadFromStream(&m);
    ADD_FAILURE() << "decoded a 20000 x 20000 header";
  } catch (const EJPEG& e) {
    EXPECT_NE(e.Message().find(u"too large"), String::npos) << StringToUTF8(e.Message());
  }
  // The untouched pictures still load.
  EXPECT_FALSE(Refused<TBitmap>(bmp));
  EXPECT_FALSE(Refused<TJPEGImage>(jpg));
}
