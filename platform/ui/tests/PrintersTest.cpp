// The printer writing real PDF files into a temporary folder; pages are rendered back with
// Ghostscript when it is installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/ui/Printers.h"

namespace {

String InDir(const QTemporaryDir& dir, const char* name) { return UTF8ToString(dir.filePath(name).toStdString()); }

QByteArray FileBytes(const String& name) {
  QFile f(QString::fromStdString(StringToUTF8(name)));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The pages of a PDF file as images at 20 dots per inch; empty when Ghostscript is missing.
std::vector<QImage> Render(const QTemporaryDir& dir, const String& pdf) {
  std::vector<QImage> pages;
  if (QStandardPaths::findExecutable(QStringLiteral("gs")).isEmpty()) return pages;
  std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r20 -o '" +
                    dir.filePath("page%d.ppm").toStdString() + "' '" + StringToUTF8(pdf) + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return pages;
  for (int i = 1;; ++i) {
    QImage img(dir.filePath(QStringLiteral("page%1.ppm").arg(i)));
    if (img.isNull()) break;
    pages.push_back(img.convertToFormat(QImage::Format_RGB32));
  }
  return pages;
}

// Dark pixels in a part of the image given as fractions of its size.
int DarkPixels(const QImage& img, double x0, double y0, double x1, double y1) {
  int n = 0;
  for (int y = int(y0 * img.height()); y < int(y1 * img.height()); ++y)
    for (int x = int(x0 * img.width()); x < int(x1 * img.width()); ++x) n += qGray(img.pixel(x, y)) < 100;
  return n;
}

// One coloured rectangle over the middle half of the page, and a line of text above it.
void DrawPage(TPrinter& p, TColor color, const String& text) {
  TCanvas* c = p.Canvas();
  int w = p.PageWidth(), h = p.PageHeight();
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(clBlack);
  c->Rectangle(w / 4, h / 4, w * 3 / 4, h * 3 / 4);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetName(u"DejaVu Sans");
  c->Font()->SetSize(36);
  c->Font()->SetColor(clBlack);
  c->TextOut(w / 4, h / 10, text);
}

}  // namespace

TEST(Printer, PrintsPagesIntoAPdfFile) {
  QTemporaryDir dir;
  TPrinter p;
  ASSERT_EQ(p.Printers()->Get(p.Printers()->Count() - 1), TPrinter::PdfPrinterName);
  p.SetPrinterIndex(p.Printers()->Count() - 1);
  p.SetFileName(InDir(dir, "graph.pdf"));
  p.SetTitle(u"Air monitor");
  EXPECT_GT(p.PageHeight(), p.PageWidth());
  EXPECT_GT(p.PageWidth(), 2000);  // device pixels, far finer than the screen

  p.BeginDoc();
  EXPECT_TRUE(p.Printing());
  EXPECT_EQ(p.PageNumber(), 1);
  EXPECT_EQ(p.Canvas()->Font()->Size(), 8);  // points, whatever the resolution
  DrawPage(p, clRed, u"Page 1");
  // A 36-point line is half an inch high on paper.
  EXPECT_NEAR(p.Canvas()->TextHeight(u"Xg"), 1200 / 2, 1200 / 6);
  p.NewPage();
  EXPECT_EQ(p.PageNumber(), 2);
  DrawPage(p, clBlue, u"Page 2");
  p.EndDoc();
  EXPECT_FALSE(p.Printing());
  EXPECT_FALSE(p.Aborted());

  QByteArray pdf = FileBytes(p.FileName());
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_GT(pdf.size(), 1000);
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);

  std::vector<QImage> pages = Render(dir, p.FileName());
  if (pages.empty()) GTEST_SKIP() << "Ghostscript is not installed; the pages were not rendered";
  ASSERT_EQ(pages.size(), 2u);
  const QRgb expected[] = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i + 1);
    const QImage& img = pages[size_t(i)];
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), expected[i]);
    EXPECT_EQ(img.pixel(img.width() / 10, img.height() * 9 / 10), qRgb(255, 255, 255));
    EXPECT_GT(DarkPixels(img, 0.2, 0.05, 0.8, 0.2), 10);  // the text
  }
}

TEST(Printer, LandscapeTurnsThePage) {
  QTemporaryDir dir;
  TPrinter p;
  p.SetPrinterIndex(p.Printers()->Count() - 1);
  p.SetFileName(InDir(dir, "wide.pdf"));
  int portraitWidth = p.PageWidth();
  p.SetOrientation(poLandscape);
  EXPECT_GT(p.PageWidth(), p.PageHeight());
  EXPECT_GT(p.PageWidth(), portraitWidth);
  p.BeginDoc();
  DrawPage(p, clLime, u"wide");
  p.EndDoc();
  std::vector<QImage> pages = Render(dir, p.FileName());
  if (pages.empty()) GTEST_SKIP() << "Ghostscript is not installed; the page was not rendered";
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_GT(pages[0].width(), pages[0].height());
  EXPECT_EQ(pages[0].pixel(pages[0].width() / 2, pages[0].height() / 2), qRgb(0, 255, 0));
}

TEST(Printer, MisuseRaisesAndChangesNothing) {
  QTemporaryDir dir;
  TPrinter p;
  const int pdf = p.Printers()->Count() - 1;
  p.SetPrinterIndex(pdf);
  EXPECT_THROW(p.BeginDoc(), EPrinter);  // no file name yet
  EXPECT_FALSE(p.Printing());
  EXPECT_THROW(p.Canvas()->Rectangle(0, 0, 10, 10), EPrinter);
  EXPECT_THROW(p.NewPage(), EPrinter);
  EXPECT_THROW(p.EndDoc(), EPrinter);
  EXPECT_THROW(p.Abort(), EPrinter);
  EXPECT_THROW(p.SetPrinterIndex(pdf + 1), EPrinter);

  p.SetFileName(InDir(dir, "missing-folder/x.pdf"));
  EXPECT_THROW(p.BeginDoc(), EPrinter);
  EXPECT_FALSE(p.Printing());

  p.SetFileName(InDir(dir, "job.pdf"));
  p.BeginDoc();
  EXPECT_THROW(p.BeginDoc(), EPrinter);
  EXPECT_THROW(p.SetOrientation(poLandscape), EPrinter);
  EXPECT_THROW(p.SetFileName(u"other.pdf"), EPrinter);
  EXPECT_EQ(p.Orientation(), poPortrait);
  p.EndDoc();
  EXPECT_TRUE(QFile::exists(dir.filePath("job.pdf")));
}

TEST(Printer, AbortDropsTheJobAndItsFile) {
  QTemporaryDir dir;
  TPrinter p;
  p.SetPrinterIndex(p.Printers()->Count() - 1);
  p.SetFileName(InDir(dir, "aborted.pdf"));
  p.BeginDoc();
  DrawPage(p, clRed, u"never");
  p.Abort();
  EXPECT_FALSE(p.Printing());
  EXPECT_TRUE(p.Aborted());
  EXPECT_FALSE(QFile::exists(dir.filePath("aborted.pdf")));
  // The next job starts clean.
  p.SetFileName(InDir(dir, "next.pdf"));
  p.BeginDoc();
  EXPECT_FALSE(p.Aborted());
  p.EndDoc();
  EXPECT_TRUE(FileBytes(p.FileName()).startsWith("%PDF-"));
}
