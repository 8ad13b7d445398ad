// The clipboard object against Qt's clipboard (which stands for the other programs).
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Metafile.h"

namespace {

const QMimeData* System() { return QApplication::clipboard()->mimeData(); }

// A 30 x 20 bitmap: white with a red square at (5, 5)-(15, 15).
void Paint(TCanvas* c) {
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 30, 20));
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(5, 5, 15, 15));
}

void MakeMetafile(TMetafile& m, bool enhanced) {
  m.SetWidth(30);
  m.SetHeight(20);
  {
    TMetafileCanvas c(&m, nullptr);
    Paint(&c);
  }
  m.SetEnhanced(enhanced);
}

QRgb RedPixel() { return qRgb(255, 0, 0); }

}  // namespace

TEST(Clipboard, TextTravelsBothWays) {
  Clipboard()->SetAsText(U("ﾁｬﾝﾈﾙ 1\r\nOK"));
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "ﾁｬﾝﾈﾙ 1\r\nOK");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));

  QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
  EXPECT_EQ(Clipboard()->AsText(), u"from elsewhere");

  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), u"");
}

TEST(Clipboard, TheSelectionIsApartFromTheClipboard) {
  Clipboard()->SetAsText(u"copied");
  Clipboard()->SetSelectionText(u"selected");
  EXPECT_EQ(Clipboard()->SelectionText(), u"selected");
  EXPECT_EQ(Clipboard()->AsText(), u"copied");
  Clipboard()->SetSelectionText(u"");
  EXPECT_EQ(Clipboard()->SelectionText(), u"");
  Clipboard()->Clear();
}

TEST(Clipboard, RegisteredFormatsCarryBytesUnderTheirOwnMimeType) {
  UINT f = RegisterClipboardFormat(u"Rcv Test Bytes");
  EXPECT_GE(f, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat(u"rcv test BYTES"), f);
  EXPECT_NE(RegisterClipboardFormat(u"Rcv Other"), f);
  EXPECT_EQ(RegisterClipboardFormat(u""), 0u);

  const RawBytes bytes("a\0b\xff", 4);
  Clipboard()->SetAsBytes(f, bytes);
  EXPECT_TRUE(Clipboard()->HasFormat(f));
  EXPECT_EQ(System()->data(QStringLiteral("application/x-Rcv Test Bytes")).toStdString(), bytes);
  EXPECT_EQ(Clipboard()->GetAsBytes(f), bytes);
  EXPECT_EQ(Clipboard()->GetAsBytes(RegisterClipboardFormat(u"Rcv Other")), RawBytes());

  // Outside Open/Close every change replaces the whole content.
  Clipboard()->SetAsText(u"x");
  EXPECT_FALSE(Clipboard()->HasFormat(f));

  EXPECT_THROW(Clipboard()->SetAsBytes(0xBEEF, bytes), EClipboardException);
  EXPECT_THROW(Clipboard()->GetAsBytes(CF_TEXT), EClipboardException);
}

TEST(Clipboard, OpenSessionsNestAndPublishTogetherAtTheLastClose) {
  UINT f = RegisterClipboardFormat(u"Rcv Session");
  QApplication::clipboard()->setText(QStringLiteral("old"));

  Clipboard()->Open();
  Clipboard()->Open();
  EXPECT_EQ(Clipboard()->AsText(), u"old");  // nothing changed yet
  Clipboard()->SetAsText(u"new");
  Clipboard()->SetAsBytes(f, "\x01\x02");
  EXPECT_EQ(Clipboard()->AsText(), u"new");  // the session sees its own changes
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("old"));
  Clipboard()->Close();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("old"));
  Clipboard()->Close();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("new"));
  EXPECT_EQ(Clipboard()->GetAsBytes(f), "\x01\x02");

  Clipboard()->Close();  // unbalanced: no effect
  EXPECT_EQ(Clipboard()->AsText(), u"new");

  // A Clear inside a session empties the clipboard at Close, and later changes add to it.
  Clipboard()->Open();
  Clipboard()->Clear();
  Clipboard()->SetAsBytes(f, "z");
  Clipboard()->Close();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetAsBytes(f), "z");
}

TEST(Clipboard, BitmapGoesOutAsPngAndBmpAndComesBackAsABitmap) {
  TBitmap bmp(30, 20);
  Paint(bmp.Canvas());
  Clipboard()->Assign(&bmp);

  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));
  for (const char* mime : {"image/png", "image/bmp"}) {
    SCOPED_TRACE(mime);
    QImage img;
    ASSERT_TRUE(img.loadFromData(System()->data(QString::fromLatin1(mime))));
    EXPECT_EQ(img.size(), QSize(30, 20));
    EXPECT_EQ(img.pixel(5, 5), RedPixel());
    EXPECT_EQ(img.pixel(15, 15), qRgb(255, 255, 255));
  }

  TPicture pic;
  pic.Assign(Clipboard());
  TBitmap* back = AsBitmap(pic.Graphic());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Width(), 30);
  EXPECT_EQ(back->Canvas()->Pixels(14, 14), clRed);
  EXPECT_EQ(back->Canvas()->Pixels(15, 15), clWhite);
}

TEST(Clipboard, MetafilesKeepTheirBytesAndAnImage) {
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "EMF" : "WMF");
    TMetafile m;
    MakeMetafile(m, enhanced);
    TPicture source;
    source.SetGraphic(&m);
    Clipboard()->Assign(&source);

    EXPECT_EQ(Clipboard()->HasFormat(CF_ENHMETAFILE), enhanced);
    EXPECT_EQ(Clipboard()->HasFormat(CF_METAFILEPICT), !enhanced);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_EQ(Clipboard()->GetAsBytes(enhanced ? CF_ENHMETAFILE : CF_METAFILEPICT), m.Bytes());
    QString mime = enhanced ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf");
    EXPECT_EQ(System()->data(mime).toStdString(), m.Bytes());
    QImage img;
    ASSERT_TRUE(img.loadFromData(System()->data(QStringLiteral("image/png"))));
    EXPECT_EQ(img.pixel(10, 10), RedPixel());

    // A picture takes the drawing itself; a bitmap takes its pixels.
    TPicture pic;
    pic.Assign(Clipboard());
    auto* back = dynamic_cast<TMetafile*>(pic.Graphic());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Enhanced(), enhanced);
    EXPECT_EQ(back->Width(), 30);
    TBitmap bmp;
    bmp.Assign(Clipboard());
    EXPECT_EQ(bmp.Width(), 30);
    EXPECT_EQ(bmp.Canvas()->Pixels(10, 10), clRed);
  }
}

TEST(Clipboard, ImagesFromOtherProgramsPasteAsBitmaps) {
  QImage img(8, 6, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 255));
  QApplication::clipboard()->setImage(img);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  TPicture pic;
  pic.Assign(Clipboard());
  ASSERT_NE(AsBitmap(pic.Graphic()), nullptr);
  EXPECT_EQ(pic.Width(), 8);
  EXPECT_EQ(AsBitmap(pic.Graphic())->Canvas()->Pixels(3, 3), clBlue);

  // Only PNG bytes, as a browser might offer.
  auto* png = new QMimeData;
  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(RedPixel());
  QByteArray bytes;
  {
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    red.save(&buf, "PNG");
  }
  png->setData(QStringLiteral("image/png"), bytes);
  QApplication::clipboard()->setMimeData(png);
  TBitmap bmp;
  bmp.Assign(Clipboard());
  EXPECT_EQ(bmp.Width(), 4);
  EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clRed);
}

TEST(Clipboard, FailuresLoseNothing) {
  Clipboard()->SetAsText(u"keep me");
  TPicture empty;
  EXPECT_THROW(Clipboard()->Assign(&empty), EInvalidGraphicOperation);
  TBitmap none;
  EXPECT_THROW(Clipboard()->Assign(&none), EInvalidGraphicOperation);
  TStringList notAPicture;
  EXPECT_THROW(Clipboard()->Assign(&notAPicture), EConvertError);
  EXPECT_EQ(Clipboard()->AsText(), u"keep me");

  // Text only: pasting a picture raises and the picture keeps what it had.
  TPicture pic;
  TBitmap bmp(3, 3);
  pic.SetGraphic(&bmp);
  EXPECT_THROW(pic.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_EQ(pic.Width(), 3);
  // A metafile cannot be made from pixels.
  QImage img(2, 2, QImage::Format_RGB32);
  QApplication::clipboard()->setImage(img);
  TMetafile m;
  EXPECT_THROW(m.Assign(Clipboard()), EInvalidGraphic);
}
