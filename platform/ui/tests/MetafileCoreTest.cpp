// The recorded picture behind TMetafile: QPainter calls recorded, written as EMF and WMF,
// checked by independent readers, read back and played with the same pixels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/ui/Metafile_p.h"
#include "testing/MetafileTestSupport.h"

using namespace metafile;

namespace {

constexpr int W = 200, H = 100;

// A scene with every kind of record the writers produce.
void Scene(QPainter& p) {
  p.fillRect(QRect(0, 0, W, H), QColor(255, 255, 255));
  p.fillRect(QRect(10, 10, 20, 20), QColor(255, 0, 0));
  p.setPen(QPen(QColor(0, 0, 255), 0, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(40, 10, 19, 19));
  p.drawLine(0, 50, 100, 50);
  p.setBrush(QColor(0, 128, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRect(70, 10, 20, 20));
  QImage img(4, 2, QImage::Format_RGB32);
  img.fill(QColor(0, 255, 255));
  img.setPixel(0, 0, qRgb(255, 0, 255));
  p.drawImage(QRect(100, 10, 8, 4), img);
  QLinearGradient g(0, 60, 0, 70);
  g.setColorAt(0, QColor(0, 0, 0));
  g.setColorAt(1, QColor(255, 255, 255));
  p.fillRect(QRect(100, 60, 10, 10), g);
  p.setPen(Qt::black);
  QFont f("DejaVu Sans");
  f.setPixelSize(14);
  p.setFont(f);
  p.drawText(QPointF(10, 80), QString::fromUtf8("Abc ﾁｬﾝﾈﾙ 受信"));
  p.setClipRect(QRect(150, 0, 20, H));
  p.fillRect(QRect(120, 0, 80, H), QColor(0, 0, 0));
}

// A picture with one record of Kind spanning the whole 32-bit range.
Picture Hostile(OpKind Kind) {
  Picture pic;
  pic.Frame = Box{0, 0, 10, 10};
  Op op;
  op.Kind = Kind;
  op.Rect = Box{INT32_MIN, 0, INT32_MAX, 5};
  pic.Ops.push_back(op);
  return pic;
}

Picture Record() {
  Picture pic;
  pic.Frame = Box{0, 0, W, H};
  RecordingDevice dev(&pic, W, H);
  QPainter p(&dev);
  Scene(p);
  return pic;
}

QImage Render(const Picture& pic) {
  QImage out(W, H, QImage::Format_RGB32);
  out.fill(Qt::gray);
  QPainter p(&out);
  Play(pic, p, QRectF(0, 0, W, H));
  return out;
}

std::string TextOf(const Picture& pic) {
  std::string all;
  for (const Op& op : pic.Ops)
    if (op.Kind == OpKind::TextOut) all += QString::fromUtf16(op.Text.data(), qsizetype(op.Text.size())).toStdString();
  return all;
}

}  // namespace

TEST(MetafileCore, ReplayMatchesDirectPaintingThroughBothFormats) {
  QImage direct(W, H, QImage::Format_RGB32);
  {
    QPainter p(&direct);
    Scene(p);
  }
  Picture pic = Record();
  struct Probe {
    int x, y;
    const char* what;
  };
  // Pixels that show the GDI edge rules, clipping, bitmaps and gradients; text is compared as text.
  const Probe probes[] = {
      {10, 10, "fill top-left"},       {29, 29, "fill bottom-right"}, {30, 30, "outside fill"},
      {40, 10, "outline corner"},      {59, 29, "outline far corner"}, {60, 30, "outside outline"},
      {50, 20, "outline interior"},    {0, 50, "line start"},          {99, 50, "line before end"},
      {80, 20, "ellipse centre"},      {70, 10, "ellipse box corner"}, {100, 10, "bitmap first pixel"},
      {102, 10, "bitmap second col"},  {107, 13, "bitmap last"},       {108, 13, "right of bitmap"},
      {105, 61, "gradient top"},       {105, 68, "gradient bottom"},  {149, 5, "left of clip"},
      {150, 5, "clip start"},          {169, 95, "clip end"},         {170, 95, "right of clip"},
  };
  for (int format = 0; format < 2; ++format) {
    SCOPED_TRACE(format ? "WMF" : "EMF");
    Picture back = format ? ReadWmf(WriteWmf(pic)) : ReadEmf(WriteEmf(pic));
    EXPECT_EQ(back.Frame, (Box{0, 0, W, H}));
    QImage played = Render(back);
    for (const Probe& pr : probes)
      EXPECT_EQ(QColor(played.pixel(pr.x, pr.y)), QColor(direct.pixel(pr.x, pr.y))) << pr.what;
    EXPECT_EQ(TextOf(back), "Abc ﾁｬﾝﾈﾙ 受信");
  }
}

TEST(MetafileCore, EnhancedFileKeepsTheDocumentedLayout) {
  std::string emf = WriteEmf(Record(), std::u16string(u"RCV910X\0graph", 13));
  mftest::EmfSummary s = mftest::CheckEmf(emf);
  EXPECT_TRUE(s.Errors.empty()) << s.Errors.front();
  EXPECT_EQ(s.BoundsW, W);
  EXPECT_EQ(s.BoundsH, H);
  EXPECT_GE(s.Counts[81], 2);  // the bitmap and the gradient
  EXPECT_GE(s.Counts[84], 1);
  EXPECT_EQ(SniffFormat(emf), 1);
}

TEST(MetafileCore, PlaceableFileOpensInIndependentReaders) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::string wmf = WriteWmf(Record());
  EXPECT_EQ(SniffFormat(wmf), 2);
  QString path = dir.filePath("scene.wmf");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(wmf.data(), qint64(wmf.size()));
  f.close();
  int status = 0;
  std::string size = mftest::Run("identify -density 96 -format '%w %h' '" + path.toStdString() + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(size, "200 100");
  std::string svg = mftest::Run("wmf2svg -o /dev/stdout '" + path.toStdString() + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("fill:red"), std::string::npos);
}

TEST(MetafileCore, ReadersRejectDamagedFiles) {
  const std::string emf = WriteEmf(Record());
  const std::string wmf = WriteWmf(Record());
  auto patched = [](std::string s, size_t at, uint32_t v) {
    const char le[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return s.replace(at, 4, le, 4);
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool enhanced;
  };
  const Case cases[] = {
      {"empty", "", true},
      {"text file", "hello, this is not a picture at all; hello, this is not a picture at all; hello!!!", true},
      {"truncated emf", emf.substr(0, emf.size() / 2), true},
      {"emf without end record", emf.substr(0, emf.size() - 20), true},
      {"emf bad signature", patched(emf, 40, 0x12345678), true},
      {"emf record larger than file", patched(emf, 108 + 4, 0x7FFFFFF0), true},
      {"emf odd record size", patched(emf, 108 + 4, 13), true},
      {"truncated wmf", wmf.substr(0, wmf.size() / 2), false},
      {"wmf bad header", patched(wmf, 22, 0x00050007), false},
      {"wmf record larger than file", patched(wmf, 40, 0x00FFFFFF), false},
      // Values whose arithmetic overflows 32 bits.
      {"emf frame at the end of the integers", patched(emf, 32, 0x7FFFFFFF), true},
      {"emf bounds at the end of the integers", patched(patched(emf, 72, 0), 16, 0x7FFFFFFF), true},
      {"emf device of 2^31 pixels per 0.01 mm", patched(patched(emf, 72, 0x7FFFFFFF), 80, 1), true},
      {"emf rectangle wider than the integers", WriteEmf(Hostile(OpKind::Rectangle)), true},
      {"emf clip wider than the integers", WriteEmf(Hostile(OpKind::IntersectClipRect)), true},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(c.enhanced ? ReadEmf(c.bytes) : ReadWmf(c.bytes), FormatError) << c.what;
  }
  // A device of 2^31 - 1 mm: the frame shrinks to nothing, without overflow on the way.
  Picture tiny = ReadEmf(patched(patched(emf, 80, 0x7FFFFFFF), 84, 0x7FFFFFFF));
  EXPECT_TRUE(tiny.Empty());
}

TEST(MetafileCore, EightBitTextFollowsTheFontCharacterSet) {
  struct Case {
    std::u16string text;
    uint8_t charset;
  };
  const Case cases[] = {
      {u"Level: -95dBm", DEFAULT_CHARSET},
      {u"caf\u00e9", ANSI_CHARSET},
      {u"\uff81\uff6c\uff9d\uff88\uff99 \u53d7\u4fe1", SHIFTJIS_CHARSET},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharsetFor(c.text), c.charset);
    EXPECT_EQ(DecodeAnsi(EncodeAnsi(c.text, c.charset), c.charset), c.text);
  }
  // What the code page cannot carry becomes '?', and nothing else is lost.
  EXPECT_EQ(EncodeAnsi(u"a\u0416b", ANSI_CHARSET), "a?b");
}

TEST(MetafileCore, ValuesAtTheEndOfTheIntegersPlayWithoutOverflow) {
  // Records as a damaged file may give them; the sanitizer run checks the arithmetic.
  Picture pic;
  pic.Frame = Box{0, 0, 20, 20};
  auto add = [&](OpKind kind, auto&& fill) {
    Op op;
    op.Kind = kind;
    fill(op);
    pic.Ops.push_back(op);
  };
  add(OpKind::CreateFont, [](Op& op) {
    op.Index = 1;
    op.Font.Height = INT32_MIN;
    op.Font.Escapement = INT32_MIN;
  });
  add(OpKind::CreatePen, [](Op& op) {
    op.Index = 2;
    op.Pen.Width = INT32_MAX;
  });
  add(OpKind::SelectObject, [](Op& op) { op.Index = 1; });
  add(OpKind::SelectObject, [](Op& op) { op.Index = 2; });
  add(OpKind::SetTextAlign, [](Op& op) { op.Value = 1; });  // update the current position
  add(OpKind::TextOut, [](Op& op) {
    op.Points = {QPoint(MaxCoord, 0)};
    op.Text = u"ab";
    op.Dx = {MaxCoord, MaxCoord};
  });
  add(OpKind::RestoreDC, [](Op& op) { op.Index = INT32_MIN; });
  add(OpKind::LineTo, [](Op& op) { op.Points = {QPoint(10, 10)}; });
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  Play(pic, p, QRectF(0, 0, 20, 20));
  p.end();
  EXPECT_EQ(img.size(), QSize(20, 20));
}
