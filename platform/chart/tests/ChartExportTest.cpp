// Pictures of the chart written to files, opened by independent readers and by our own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/chart/Chart.h"
#include "testing/TempFolder.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/Printers.h"
#include "testing/MetafileTestSupport.h"

namespace {

constexpr TColor cOver = 0xFF0000;

struct Fixture {
  TChart Chart{nullptr};
  TBarSeries Levels{nullptr};
  TempFolder Dir;

  Fixture() {
    Chart.SetBounds(0, 0, 480, 300);
    Chart.SetView3D(false);
    Chart.Legend()->SetVisible(false);
    Chart.Gradient()->SetStartColor(clWhite);
    Chart.Gradient()->SetEndColor(clSkyBlue);
    Chart.LeftAxis()->SetAutomatic(false);
    Chart.LeftAxis()->SetMinMax(-140, -40);
    Chart.LeftAxis()->Title()->SetCaption(U("受信ﾚﾍﾞﾙ[dBm]"));
    Chart.BottomAxis()->SetAutomatic(false);
    Chart.BottomAxis()->SetMinMax(0, 10);
    Chart.Title()->Text()->Add(U("< Air monitor >   Model name:     File name:     Date: "));
    Levels.SetParentChart(&Chart);
    Levels.SetUseYOrigin(false);
    Levels.BarPen()->SetVisible(false);
    Levels.Marks()->SetVisible(false);
    for (int ch = 0; ch <= 10; ++ch) Levels.AddXY(ch, -140 + ch * 8, String(), ch % 2 ? cOver : clTeeColor);
  }
  String Path(const char* name) const { return UTF8ToString(Dir.File(name)); }
  std::string Bytes(const char* name) const {
    std::ifstream in(Dir.File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Identify(const char* name, const char* format, const char* options = "") const {
    int status = 0;
    std::string out = mftest::Run(std::string("identify ") + options + " -format '" + format + "' '" +
                                      Dir.File(name) + "'",
                                  &status);
    EXPECT_EQ(status, 0) << name;
    return out;
  }
};

}  // namespace

TEST(ChartExport, BitmapAndJpegOpenInAnIndependentReader) {
  Fixture f;
  f.Chart.SaveToBitmapFile(f.Path("graph.bmp"));
  f.Chart.SaveToJPEGFile(f.Path("graph.jpg"));
  EXPECT_EQ(f.Identify("graph.bmp", "%w %h"), "480 300");
  EXPECT_EQ(f.Identify("graph.bmp", "%m").substr(0, 3), "BMP");
  // Baseline JPEG at quality 90.
  EXPECT_EQ(f.Identify("graph.jpg", "%m %w %h %Q %[interlace]"), "JPEG 480 300 90 None");

  TPicture pic;
  pic.LoadFromFile(f.Path("graph.bmp"));
  TBitmap* bmp = pic.Bitmap();
  int x = f.Levels.CalcXPos(9), y = f.Levels.CalcYPos(9) + 3;
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), cOver);
}

TEST(ChartExport, MetafilesKeepTheirLayoutOpenElsewhereAndReplayTheChart) {
  Fixture f;
  f.Chart.SaveToMetafileEnh(f.Path("graph.emf"));
  f.Chart.SaveToMetafile(f.Path("graph.wmf"));

  // No independent EMF reader exists on this system: the file is checked record by record.
  mftest::EmfSummary s = mftest::CheckEmf(f.Bytes("graph.emf"));
  EXPECT_TRUE(s.Errors.empty()) << s.Errors.front();
  EXPECT_EQ(s.BoundsW, 480);
  EXPECT_EQ(s.BoundsH, 300);
  EXPECT_GE(s.Counts[84], 3);  // title, labels and axis title are text records

  EXPECT_EQ(f.Identify("graph.wmf", "%m %w %h", "-density 96"), "WMF 480 300");
  int status = 0;
  std::string svg = mftest::Run("wmf2svg -o /dev/stdout '" + f.Dir.File("graph.wmf") + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(svg.find("<svg"), std::string::npos);

  TBitmap direct(480, 300);
  f.Chart.Draw(direct.Canvas(), TRect(0, 0, 480, 300));
  for (const char* name : {"graph.emf", "graph.wmf"}) {
    SCOPED_TRACE(name);
    TPicture pic;
    pic.LoadFromFile(f.Path(name));
    auto* m = dynamic_cast<TMetafile*>(pic.Graphic());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Enhanced(), std::string(name).find("emf") != std::string::npos);
    EXPECT_EQ(m->Width(), 480);
    EXPECT_EQ(m->Height(), 300);
    TBitmap played(480, 300);
    played.Canvas()->StretchDraw(TRect(0, 0, 480, 300), m);
    TRect r = f.Chart.ChartRect();
    // Bars, background and frame where the direct drawing has them.
    for (int ch : {3, 7, 9}) {
      int x = f.Levels.CalcXPos(ch), y = f.Levels.CalcYPos(ch);
      EXPECT_EQ(played.Canvas()->Pixels(x, y + 2), direct.Canvas()->Pixels(x, y + 2)) << ch;
      EXPECT_EQ(played.Canvas()->Pixels(x, y - 3), direct.Canvas()->Pixels(x, y - 3)) << ch;
    }
    EXPECT_EQ(played.Canvas()->Pixels(r.Left, r.Top + 5), direct.Canvas()->Pixels(r.Left, r.Top + 5));
    EXPECT_EQ(played.Canvas()->Pixels(5, 5), direct.Canvas()->Pixels(5, 5));
    EXPECT_EQ(played.Canvas()->Pixels(5, 295), direct.Canvas()->Pixels(5, 295));
  }
}

TEST(ChartExport, AnAxisOfWholePointsIsLabelledInWholeUnits) {
  Fixture f;
  f.Chart.SetBounds(0, 0, 800, 300);  // room for a label every half unit
  f.Chart.BottomAxis()->SetMinMax(1, 10);
  auto labelled = [&f](const char16_t* text) {
    f.Chart.SaveToMetafileEnh(f.Path("labels.emf"));
    std::u16string t(text);
    std::string needle(reinterpret_cast<const char*>(t.data()), t.size() * 2);  // as the text records hold it
    return f.Bytes("labels.emf").find(needle) != std::string::npos;
  };
  EXPECT_TRUE(labelled(u"10"));
  EXPECT_FALSE(labelled(u"1.5"));
  EXPECT_FALSE(labelled(u".0"));
  // Points between whole values keep the finer labels.
  f.Levels.SetXValue(1, 1.5);
  EXPECT_TRUE(labelled(u"1.5"));
}

TEST(ChartExport, ALoadedFileThatIsNoMetafileRaisesAndKeepsThePicture) {
  Fixture f;
  f.Chart.SaveToMetafileEnh(f.Path("good.emf"));
  {
    std::ofstream(f.Dir.File("bad.emf"), std::ios::binary) << "not a picture at all";
    std::ofstream(f.Dir.File("cut.wmf"), std::ios::binary) << f.Bytes("good.emf").substr(0, 60);
  }
  TMetafile m;
  m.LoadFromFile(f.Path("good.emf"));
  for (const char* name : {"bad.emf", "cut.wmf"}) {
    EXPECT_THROW(m.LoadFromFile(f.Path(name)), EInvalidGraphic) << name;
    EXPECT_EQ(m.Width(), 480) << name;
  }
  TMetafile empty;
  EXPECT_THROW(empty.SaveToFile(f.Path("empty.emf")), EInvalidGraphicOperation);
}

TEST(ChartExport, ClipboardBitmapIsTheChartsPicture) {
  Fixture f;
  Clipboard()->SetAsText(u"replaced");
  f.Chart.CopyToClipboardBitmap();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));

  TBitmap direct(480, 300);
  f.Chart.Draw(direct.Canvas(), TRect(0, 0, 480, 300));
  TPicture pic;
  pic.Assign(Clipboard());
  TBitmap* bmp = AsBitmap(pic.Graphic());
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->Width(), 480);
  EXPECT_EQ(bmp->Height(), 300);
  for (int ch : {3, 9}) {
    int x = f.Levels.CalcXPos(ch), y = f.Levels.CalcYPos(ch) + 3;
    EXPECT_EQ(bmp->Canvas()->Pixels(x, y), direct.Canvas()->Pixels(x, y)) << ch;
  }
  EXPECT_EQ(bmp->Canvas()->Pixels(f.Levels.CalcXPos(9), f.Levels.CalcYPos(9) + 3), cOver);
}

TEST(ChartExport, ClipboardMetafileInEitherFormat) {
  Fixture f;
  f.Chart.CopyToClipboardMetafile(true);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_METAFILEPICT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));  // for programs without metafiles
  mftest::EmfSummary s = mftest::CheckEmf(Clipboard()->GetAsBytes(CF_ENHMETAFILE));
  EXPECT_TRUE(s.Errors.empty()) << s.Errors.front();
  EXPECT_EQ(s.BoundsW, 480);
  TPicture pic;
  pic.Assign(Clipboard());
  auto* m = dynamic_cast<TMetafile*>(pic.Graphic());
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->Enhanced());
  EXPECT_EQ(m->Height(), 300);

  f.Chart.CopyToClipboardMetafile(false);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));
  RawBytes wmf = Clipboard()->GetAsBytes(CF_METAFILEPICT);
  ASSERT_GE(wmf.size(), 22u);
  EXPECT_EQ(mftest::U32(wmf, 0), 0x9AC6CDD7u);  // placeable metafile key
  pic.Assign(Clipboard());
  m = dynamic_cast<TMetafile*>(pic.Graphic());
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->Enhanced());
  EXPECT_EQ(m->Width(), 480);
}

TEST(ChartExport, PrintFillsThePageWidthWithTheChart) {
  Fixture f;
  int drawn = 0;
  f.Chart.OnAfterDraw = [&](TObject*) { ++drawn; };
  TPrinter* p = Printer();
  p->SetPrinterIndex(p->Printers()->Count() - 1);
  p->SetFileName(f.Path("graph.pdf"));
  p->SetOrientation(poPortrait);
  f.Chart.Print();
  EXPECT_FALSE(p->Printing());
  EXPECT_EQ(drawn, 1);
  std::string pdf = f.Bytes("graph.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_GT(pdf.size(), 2000u);

  int status = 0;
  mftest::Run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bmp16m -r30 -o '" + f.Dir.File("page.bmp") + "' '" +
                  f.Dir.File("graph.pdf") + "'",
              &status);
  if (status != 0) GTEST_SKIP() << "Ghostscript could not render the page";
  TBitmap page;
  page.LoadFromFile(f.Path("page.bmp"));
  // Over-level bars (blue) appear across the top of the page and nowhere in its lower half.
  int left = page.Width(), right = 0, bottom = 0;
  for (int y = 0; y < page.Height(); ++y)
    for (int x = 0; x < page.Width(); ++x)
      if ((page.Canvas()->Pixels(x, y) & 0xFFFFFF) == cOver) {
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  ASSERT_GT(right, left);
  EXPECT_GT(right - left, page.Width() / 2);
  EXPECT_LT(bottom, page.Height() / 2);
}

TEST(ChartExport, PrintWithoutAUsablePrinterRaisesAndLeavesNoJob) {
  Fixture f;
  TPrinter* p = Printer();
  p->SetPrinterIndex(p->Printers()->Count() - 1);
  p->SetFileName(f.Path("no-such-folder/graph.pdf"));
  EXPECT_THROW(f.Chart.Print(), EPrinter);
  EXPECT_FALSE(p->Printing());
}
