// GDI text against Qt's own: what TextOut and DrawText put on a bitmap, and what
// GetTextExtentPoint32 measures, is what QPainter::drawText and QFontMetrics give for the same
// font, whatever the text and however often it is drawn or measured.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "platform/win/Gdi.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/QtBridge_p.h"
#include "testing/MemorySurface.h"

namespace {

constexpr int kW = 180, kH = 40;

LOGFONTW Font(const char16_t* face, int height, int weight = FW_NORMAL, bool italic = false, bool underline = false,
              bool strikeOut = false, BYTE quality = DEFAULT_QUALITY) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfQuality = quality;
  std::u16string f(face);
  std::copy(f.begin(), f.end(), lf.lfFaceName);
  return lf;
}

// The text drawn by Qt with its top left corner at (x, top), clipped to clip when it is valid.
QImage Reference(const LOGFONTW& lf, const String& text, int x, int top, QRect clip = QRect()) {
  QImage image(kW, kH, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  if (clip.isValid()) p.setClipRect(clip);
  const QFont f = ToQFont(lf);
  p.setFont(f);
  p.setPen(QColor(20, 40, 160));
  p.drawText(QPoint(x, top + QFontMetrics(f).ascent()), ToQString(text));
  return image;
}

// The pixels that differ between the surface and the image, as "x,y" for the first few.
std::string Differences(const TMemorySurface& s, const QImage& image) {
  std::string out;
  int count = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const QRgb q = image.pixel(x, y);
      if (s.At(x, y) != RGB(qRed(q), qGreen(q), qBlue(q)) && ++count <= 5)
        out += std::to_string(x) + "," + std::to_string(y) + " ";
    }
  return count ? std::to_string(count) + " pixels: " + out : std::string();
}

// The text measured as QFontMetrics measures it, drawn by TextOut at (3, 4), and by DrawText
// into the rectangle and into one that cuts its last pixels and descenders, as drawText draws
// it there, clipped to the rectangle.
void ExpectDrawnAsQtDoes(HFONT font, const LOGFONTW& lf, const QFontMetrics& fm, const String& text, RECT r) {
  const int n = static_cast<int>(text.size());
  TMemorySurface a(kW, kH), b(kW, kH), c(kW, kH);
  for (TMemorySurface* s : {&a, &b, &c}) {
    SelectObject(s->dc, font);
    SetBkMode(s->dc, TRANSPARENT);
    SetTextColor(s->dc, RGB(20, 40, 160));
  }
  SIZE size{};
  GetTextExtentPoint32(a.dc, text.c_str(), n, &size);
  EXPECT_EQ(size.cx, fm.horizontalAdvance(ToQString(text)));
  EXPECT_EQ(size.cy, fm.height());

  TextOut(a.dc, 3, 4, text.c_str(), n);
  EXPECT_EQ(Differences(a, Reference(lf, text, 3, 4)), "") << "TextOut";

  const QRect clip(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  DrawText(b.dc, text.c_str(), n, &r, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(Differences(b, Reference(lf, text, clip.left(), clip.top(), clip)), "") << "DrawText";

  // Two pixels short of the extent, and a pixel below the baseline.
  const QRect tight(7, 3, std::max(1, size.cx - 2), fm.ascent() + 1);
  RECT cut(tight.left(), tight.top(), tight.right() + 1, tight.bottom() + 1);
  DrawText(c.dc, text.c_str(), n, &cut, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(Differences(c, Reference(lf, text, 7, 3, tight)), "") << "DrawText cut close to its ink";
  for (TMemorySurface* s : {&a, &b, &c}) SelectObject(s->dc, GetStockObject(SYSTEM_FONT));
}

const String kTexts[] = {
    u"Channel 12",
    u"  spaces before and after  ",
    u"ID 0x3F21 -95 dBm",
    u"Ünïcödé façade ÆØÅ",
    u"ｱｲｳｴｵ half-width",
    u"日本語とLatin混在",
    u"e\u0301 a\u0308 combining",
    u"\U0001F600 outside the BMP",
    u"\u05E9\u05DC\u05D5\u05DD abc",  // right-to-left first
    u"fi fl ffi office",
    u"soft\u00ADhyphen",
    u"x",
};

const LOGFONTW kFonts[] = {
    Font(u"Arial", -13),
    Font(u"Arial", -13, FW_BOLD),
    Font(u"Arial", -13, FW_NORMAL, true),
    Font(u"Arial", -12, FW_NORMAL, false, true),
    Font(u"Arial", -20, FW_BOLD, true, true, true),
    Font(u"Tahoma", -11, FW_NORMAL, false, false, true),
    Font(u"ＭＳ Ｐゴシック", -12, FW_NORMAL, false, true),
    Font(u"Courier New", -13),
    Font(u"Arial", -13, FW_NORMAL, false, true, false, NONANTIALIASED_QUALITY),
};

TEST(GdiText, DrawsAndMeasuresAsQtDoes) {
  for (const LOGFONTW& lf : kFonts) {
    HFONT font = CreateFontIndirect(&lf);
    const QFontMetrics fm(ToQFont(lf));
    // Twice: the second round measures and draws what the first kept.
    for (int round = 0; round < 2; ++round) {
      for (const String& text : kTexts) {
        SCOPED_TRACE(::testing::Message() << "face height " << lf.lfHeight << " weight " << lf.lfWeight << " italic "
                                          << int(lf.lfItalic) << " underline " << int(lf.lfUnderline) << " text "
                                          << ToQString(text).toStdString() << " round " << round);
        ExpectDrawnAsQtDoes(font, lf, fm, text, RECT(5, 2, kW, kH));
      }
    }
    DeleteObject(font);
  }
}

// Plain texts (one face, no controls, nothing right to left) in the faces, sizes and styles the
// program uses, Latin and Japanese, full- and half-width: measured, drawn whole, drawn cut by
// the rectangle, and drawn again, each as Qt's own drawText draws it. Most of these take
// their glyphs straight from the face; the rest are laid out, and both must look the same.
TEST(GdiText, PlainTextsInManyFacesDrawAsQtDoes) {
  const char16_t* faces[] = {u"Tahoma", u"Arial", u"MS Sans Serif", u"Courier New", u"Times New Roman",
                             u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック", u"MS UI Gothic"};
  const int heights[] = {-9, -11, -13, -16, 19};
  const struct {
    int weight;
    bool italic;
  } styles[] = {{FW_NORMAL, false}, {FW_BOLD, false}, {FW_NORMAL, true}, {FW_BOLD, true}};
  const String texts[] = {
      u"c0",
      u"c1999999",
      u"Row 12, col 7",
      u"-95.25 dBm @ 426.025 MHz",
      u"AVAWAY LTLY Ta Te To Yo r. y, P. F,",
      u"fi fl ffi ffl ft tt Th office",
      u"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
      u"  leading and trailing  ",
      u"ÀÉÎÕÜ àéîõü ç ñ ß ÆØÅ æøå ¿¡ «» ±×÷ ©®°µ¶·",
      u"Łódź Čeština Ő ő Ű ű œ Œ ş ğ ı",
      u"jj ďť ľ",  // overhangs past the extent in some faces
      u"ť",
      u"\u00A0non-breaking\u00A0space",
      u"– — ‘x’ “y” • … € 10",
      u"ｱｲｳｴｵ ｶﾞｷﾞ ﾊﾟﾋﾟ ｰ･｡｢｣",
      u"受信機 ID 0x3F21",
      u"ひらがな カタカナ 漢字",
      u"１２３ ＡＢＣ　全角",
      u"ｾﾝｻｰ 1",
  };
  for (const char16_t* face : faces)
    for (int height : heights)
      for (const auto& style : styles) {
        const LOGFONTW lf = Font(face, height, style.weight, style.italic);
        HFONT font = CreateFontIndirect(&lf);
        const QFontMetrics fm(ToQFont(lf));
        for (int round = 0; round < 2; ++round)
          for (const String& text : texts) {
            SCOPED_TRACE(::testing::Message() << ToQString(String(face)).toStdString() << " height " << height
                                              << " weight " << style.weight << " italic " << style.italic
                                              << " text " << ToQString(text).toStdString() << " round " << round);
            // The rectangle cuts the longer texts and the lower part of large letters.
            ExpectDrawnAsQtDoes(font, lf, fm, text, RECT(5, 2, 60, kH - 9));
          }
        DeleteObject(font);
      }
}

// A text drawn again lands on each ground as Qt draws it there: on an even ground of another
// colour, on a ground of two colours, under another pen, and cut by the rectangle and the
// DC's clip region (where nothing outside may change).
TEST(GdiText, TextDrawnAgainMatchesQtOnEveryGround) {
  const LOGFONTW lf = Font(u"Tahoma", -11);
  HFONT font = CreateFontIndirect(&lf);
  const String text = u"c1234 Redrawn";
  struct TCase {
    const char* name;
    QColor ground, stripe, pen;
    QRect clip;  // in device coordinates, invalid for none
    int right = kW - 2;  // of the text's rectangle, in logical coordinates
  } cases[] = {
      {"white", Qt::white, Qt::white, QColor(20, 40, 160), QRect()},
      {"white again", Qt::white, Qt::white, QColor(20, 40, 160), QRect()},
      {"yellow", QColor(255, 255, 200), QColor(255, 255, 200), QColor(20, 40, 160), QRect()},
      {"two colours", Qt::white, QColor(200, 0, 0), QColor(20, 40, 160), QRect()},
      {"other pen", Qt::white, Qt::white, QColor(0, 120, 0), QRect()},
      {"clipped", Qt::white, Qt::white, QColor(20, 40, 160), QRect(30, 0, 30, 14)},
      {"clipped stripe", Qt::white, QColor(200, 0, 0), QColor(20, 40, 160), QRect(0, 0, 40, kH)},
      {"cut by the rectangle", Qt::white, Qt::white, QColor(20, 40, 160), QRect(), 45},
  };
  for (int round = 0; round < 2; ++round)
    for (const TCase& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.name << " round " << round);
      QImage expected(kW, kH, QImage::Format_RGB32);
      expected.fill(c.ground);
      QPainter q(&expected);
      q.fillRect(QRect(0, 12, kW, 3), c.stripe);  // through the lower half of the letters
      q.setClipRect(QRect(8, 5, c.right - 6, kH - 6));
      if (c.clip.isValid()) q.setClipRect(c.clip, Qt::IntersectClip);
      const QFont f = ToQFont(lf);
      q.setFont(f);
      q.setPen(c.pen);
      q.drawText(QPoint(8, 5 + QFontMetrics(f).ascent()), ToQString(text));
      q.end();

      TMemorySurface s(kW, kH);
      QPainter* p = DCPainter(s.dc);
      p->fillRect(QRect(0, 0, kW, kH), c.ground);
      p->fillRect(QRect(0, 12, kW, 3), c.stripe);
      SelectObject(s.dc, font);
      SetBkMode(s.dc, TRANSPARENT);
      SetTextColor(s.dc, RGB(c.pen.red(), c.pen.green(), c.pen.blue()));
      SetViewportOrgEx(s.dc, 2, 1, nullptr);
      if (c.clip.isValid()) {
        HRGN rgn = CreateRectRgn(c.clip.left(), c.clip.top(), c.clip.right() + 1, c.clip.bottom() + 1);
        SelectClipRgn(s.dc, rgn);
        DeleteObject(rgn);
      }
      RECT r(6, 4, c.right, kH - 1);
      DrawText(s.dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
      SetViewportOrgEx(s.dc, 0, 0, nullptr);
      SelectClipRgn(s.dc, nullptr);
      EXPECT_EQ(Differences(s, expected), "");
      SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
    }
  DeleteObject(font);
}

// A long paragraph (measured in windows about a line long) wraps into the same lines as a short
// one with the same start.
TEST(GdiText, LongParagraphWrapsLikeAShortOne) {
  const LOGFONTW lf = Font(u"Arial", -13);
  HFONT font = CreateFontIndirect(&lf);
  String words;
  for (int i = 0; words.size() < 400; ++i)
    words += (i % 9 == 4 ? u"unbreakablewordwiderthanthewholeline" : u"word") +
             String(static_cast<size_t>(i % 7 + 1), u'x') + u" ";
  String longText;
  while (longText.size() < 16000) longText += words;
  constexpr int kTall = 160;  // the first lines, all from the short text's words
  for (UINT breakWords : {0u, static_cast<UINT>(DT_EDITCONTROL)}) {
    auto draw = [&](const String& text) {
      auto s = std::make_unique<TMemorySurface>(kW, kTall);
      SelectObject(s->dc, font);
      SetBkMode(s->dc, TRANSPARENT);
      RECT r(2, 1, kW - 20, kTall);
      DrawText(s->dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | breakWords);
      SelectObject(s->dc, GetStockObject(SYSTEM_FONT));
      return s;
    };
    auto shortOne = draw(words), longOne = draw(longText);
    for (int y = 0; y < kTall; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(shortOne->At(x, y), longOne->At(x, y)) << x << "," << y << " breaking words " << breakWords;
  }
  DeleteObject(font);
}

// Drawing from a kept layout follows the DC's origin and clips to the rectangle and the DC's
// clip region like any drawing.
TEST(GdiText, KeptTextFollowsTheOriginAndTheClip) {
  const LOGFONTW lf = Font(u"Arial", -16, FW_BOLD, false, true);
  HFONT font = CreateFontIndirect(&lf);
  const String text = u"Clipped and moved";
  TMemorySurface s(kW, kH);
  SelectObject(s.dc, font);
  SetBkMode(s.dc, TRANSPARENT);
  SetTextColor(s.dc, RGB(20, 40, 160));
  SIZE size{};
  GetTextExtentPoint32(s.dc, text.c_str(), -1, &size);  // kept before it is drawn
  SetViewportOrgEx(s.dc, 7, 3, nullptr);
  HRGN rgn = CreateRectRgn(0, 0, 90, kH);
  SelectClipRgn(s.dc, rgn);
  DeleteObject(rgn);
  RECT r(10, 5, 120, 17);  // cuts through the text's lower half
  DrawText(s.dc, text.c_str(), -1, &r, DT_SINGLELINE);
  SetViewportOrgEx(s.dc, 0, 0, nullptr);  // pixels are read in device coordinates
  SelectClipRgn(s.dc, nullptr);
  EXPECT_EQ(Differences(s, Reference(lf, text, 17, 8, QRect(17, 8, 73, 12))), "");
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

}  // namespace
