// TMetafile and TMetafileCanvas: canvas drawing recorded, saved, loaded through TPicture, and
// played back with the canvas's GDI pixel rules intact.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/ui/Metafile.h"

namespace {

// Canvas calls whose pixel rules matter: exclusive edges, the pen inside Rectangle, LineTo
// leaving its end pixel, clear brushes, text.
void Scene(TCanvas* c) {
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 120, 80));
  c->Pen()->SetColor(clBlue);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(10, 10, 20, 20);
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(30, 10, 40, 20));
  c->MoveTo(0, 30);
  c->LineTo(50, 30);
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clGreen);
  c->Rectangle(60, 10, 70, 20);
  c->Font()->SetName(u"DejaVu Sans");
  c->Font()->SetSize(10);
  c->TextOut(10, 50, U("ﾁｬﾝﾈﾙ 1"));
}

}  // namespace

TEST(Metafile, RecordedCanvasDrawingPlaysBackWithTheSamePixels) {
  TBitmap direct(120, 80);
  Scene(direct.Canvas());

  TMetafile m;
  m.SetWidth(120);
  m.SetHeight(80);
  {
    TMetafileCanvas c(&m, nullptr);
    Scene(&c);
  }
  EXPECT_FALSE(m.Empty());
  EXPECT_EQ(m.MMWidth(), 120 * 2540 / 96);
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "EMF" : "WMF");
    QTemporaryDir dir;
    String path = UTF8ToString(dir.filePath(enhanced ? "p.emf" : "p.wmf").toStdString());
    m.SetEnhanced(enhanced);
    m.SaveToFile(path);
    TPicture pic;
    pic.LoadFromFile(path);
    TBitmap played(120, 80);
    played.Canvas()->StretchDraw(TRect(0, 0, 120, 80), pic.Graphic());
    struct Probe {
      int x, y;
      const char* what;
    };
    const Probe probes[] = {{10, 10, "outline corner"}, {19, 19, "outline far corner"}, {20, 20, "outside"},
                            {15, 15, "fill"},           {30, 10, "fillrect"},           {39, 19, "fillrect end"},
                            {40, 19, "after fillrect"}, {0, 30, "line start"},          {49, 30, "line last"},
                            {50, 30, "line end left out"}, {65, 15, "clear brush keeps background"},
                            {69, 19, "clear-brush outline"}};
    for (const Probe& p : probes)
      EXPECT_EQ(played.Canvas()->Pixels(p.x, p.y), direct.Canvas()->Pixels(p.x, p.y)) << p.what;
    // The text is there: some dark pixels where the direct drawing has text.
    int dark = 0;
    for (int y = 40; y < 65; ++y)
      for (int x = 10; x < 80; ++x) dark += (played.Canvas()->Pixels(x, y) & 0xFFFFFF) < 0x404040;
    EXPECT_GT(dark, 10);
  }
}

TEST(Metafile, CopiesScaleAndRefuseWhatTheyCannotHold) {
  TMetafile m;
  m.SetWidth(40);
  m.SetHeight(20);
  {
    TMetafileCanvas c(&m, nullptr);
    c.Brush()->SetColor(clRed);
    c.FillRect(TRect(0, 0, 20, 20));
    c.Brush()->SetColor(clBlue);
    c.FillRect(TRect(20, 0, 40, 20));
  }
  TMetafile copy;
  copy.Assign(&m);
  EXPECT_EQ(copy.Width(), 40);
  EXPECT_EQ(copy.Bytes(), m.Bytes());
  // Drawn at twice the size, each half keeps its colour.
  TBitmap big(80, 40);
  big.Canvas()->StretchDraw(TRect(0, 0, 80, 40), &copy);
  EXPECT_EQ(big.Canvas()->Pixels(5, 35), clRed);
  EXPECT_EQ(big.Canvas()->Pixels(75, 5), clBlue);
  TBitmap bmp(2, 2);
  EXPECT_THROW(copy.Assign(&bmp), EConvertError);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(Metafile, SizesAtTheEndOfTheIntegersSaturate) {
  TMetafile m;
  m.SetWidth(INT32_MAX);
  EXPECT_EQ(m.Width(), INT32_MAX);
  EXPECT_EQ(m.MMWidth(), INT32_MAX);  // more than 2^31 hundredths of a millimetre
  m.SetMMHeight(INT32_MAX);
  EXPECT_EQ(m.Height(), int(int64_t(INT32_MAX) * 96 / 2540));
  EXPECT_EQ(m.MMHeight(), INT32_MAX);
}

TEST(Metafile, RotatedTextKeepsItsSizeAndDirection) {
  // A vertical caption, read bottom to top, as axis titles are drawn.
  auto draw = [](TCanvas* c) {
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 60, 160));
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName(u"DejaVu Sans");
    c->Font()->SetSize(12);
    c->Font()->SetOrientation(900);
    c->TextOut(20, 140, u"Level [dBm]");
  };
  // The box around the dark pixels: left, top, right, bottom.
  auto ink = [](TBitmap& b) {
    TRect r(b.Width(), b.Height(), 0, 0);
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if ((b.Canvas()->Pixels(x, y) & 0xFFFFFF) < 0x808080) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  };
  TBitmap direct(60, 160);
  draw(direct.Canvas());
  TRect want = ink(direct);
  ASSERT_GT(want.Height(), 3 * want.Width());

  TMetafile m;
  m.SetWidth(60);
  m.SetHeight(160);
  {
    TMetafileCanvas c(&m, nullptr);
    draw(&c);
  }
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "EMF" : "WMF");
    m.SetEnhanced(enhanced);
    TMetafile back;
    {
      TMemoryStream s;
      m.SaveToStream(&s);
      s.SetPosition(0);
      back.LoadFromStream(&s);
    }
    for (int k : {1, 2}) {
      SCOPED_TRACE(k);
      TBitmap played(60 * k, 160 * k);
      played.Canvas()->StretchDraw(TRect(0, 0, 60 * k, 160 * k), &back);
      TRect got = ink(played);
      EXPECT_NEAR(got.Left, want.Left * k, 2 * k);
      EXPECT_NEAR(got.Right, want.Right * k, 2 * k);
      EXPECT_NEAR(got.Top, want.Top * k, 3 * k);
      EXPECT_NEAR(got.Bottom, want.Bottom * k, 2 * k);
    }
  }
}
