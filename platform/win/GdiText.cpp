// GDI text: fonts (with the substitution table for the program's font names), text output,
// measuring and DrawText's layout (word wrap, alignment, '&' prefixes, ellipsis, tabs).
#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QTextLayout>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"

namespace {

const QStringList& JapaneseFaces() {
  static const QStringList faces{QString::fromUtf8("ＭＳ Ｐゴシック"), QString::fromUtf8("ＭＳ ゴシック"),
                                 QString::fromUtf8("ＭＳ Ｐ明朝"),     QString::fromUtf8("ＭＳ 明朝"),
                                 QString::fromUtf8("メイリオ"),        "MS UI Gothic",
                                 "MS PGothic",                         "MS Gothic",
                                 "Meiryo",                             "Meiryo UI"};
  return faces;
}

}  // namespace

void InstallFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    // The proportional faces map to the proportional CJK face, the fixed-pitch ones ("ゴシック"
    // and "明朝" without "Ｐ") to its fixed-pitch cut: Latin and half-width forms one cell,
    // full-width two.
    const QStringList japanese{"Noto Sans CJK JP", "Droid Sans Fallback"};
    const QStringList japaneseFixed{"Noto Sans Mono CJK JP", "Noto Sans CJK JP", "Droid Sans Fallback"};
    const QStringList sans{"Liberation Sans", "DejaVu Sans", "Noto Sans CJK JP"};
    const QStringList mono{"Liberation Mono", "DejaVu Sans Mono", "Noto Sans Mono CJK JP"};
    const QStringList& faces = JapaneseFaces();
    for (const QString& face : faces) {
      bool fixed = face == QString::fromUtf8("ＭＳ ゴシック") || face == QString::fromUtf8("ＭＳ 明朝") ||
                   face == "MS Gothic";
      QFont::insertSubstitutions(face, fixed ? japaneseFixed : japanese);
    }
    for (const char* name : {"Tahoma", "Arial", "MS Sans Serif", "Microsoft Sans Serif", "Segoe UI", "System",
                             "Verdana", "Helvetica"})
      QFont::insertSubstitutions(name, sans);
    for (const char* name : {"Courier New", "Courier", "Fixedsys", "Terminal", "Consolas", "Lucida Console"})
      QFont::insertSubstitutions(name, mono);
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif"});
    // Faces the analogue clock's looks name: an informal sans, a geometric sans and a serif.
    QFont::insertSubstitutions("Comic Sans MS", sans);
    QFont::insertSubstitutions("Century Gothic", QStringList{"URW Gothic"} + sans);
    QFont::insertSubstitutions("Century", {"C059", "Liberation Serif", "DejaVu Serif"});
  });
}

QFont ToQFont(const LOGFONTW& lf) {
  InstallFontSubstitutions();
  QFont f;
  int n = 0;
  while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
  QString face = n ? ToQString(String(lf.lfFaceName, n)) : QStringLiteral("MS Sans Serif");
  // The face, its own stand-ins, then the CJK face for the glyphs they lack. Qt takes a later
  // family of the list before the face's substitutes, so the stand-ins are listed here: a Latin
  // face draws in its Latin stand-in, a Japanese one in its CJK cut (the fixed-pitch ones keep
  // their fixed pitch).
  QStringList families{face};
  families += QFont::substitutes(face);
  families += QStringLiteral("Noto Sans CJK JP");
  families.removeDuplicates();
  f.setFamilies(families);
  int height = lf.lfHeight;
  if (height == 0) height = -16;
  if (height < 0) {
    f.setPixelSize(-height);
  } else {
    // A positive height is the cell height (ascent + descent).
    QFont probe(f);
    probe.setPixelSize(100);
    QFontMetrics fm(probe);
    int px = fm.height() > 0 ? static_cast<int>(std::lround(height * 100.0 / fm.height())) : height;
    f.setPixelSize(std::max(px, 1));
  }
  if (lf.lfWeight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 100, 900)));
  f.setItalic(lf.lfItalic != 0);
  f.setUnderline(lf.lfUnderline != 0);
  f.setStrikeOut(lf.lfStrikeOut != 0);
  if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH) {
    f.setFixedPitch(true);
    f.setStyleHint(QFont::TypeWriter);
  }
  if (lf.lfQuality == NONANTIALIASED_QUALITY) f.setStyleStrategy(QFont::NoAntialias);
  if (lf.lfWidth > 0) {
    QFontMetrics fm(f);
    int avg = fm.averageCharWidth();
    if (avg > 0) f.setStretch(std::clamp(lf.lfWidth * 100 / avg, 1, 4000));
  }
  f.setKerning(false);
  return f;
}

namespace {

bool SameFontRecord(const LOGFONTW& a, const LOGFONTW& b) {
  if (a.lfHeight != b.lfHeight || a.lfWidth != b.lfWidth || a.lfEscapement != b.lfEscapement ||
      a.lfOrientation != b.lfOrientation || a.lfWeight != b.lfWeight || a.lfItalic != b.lfItalic ||
      a.lfUnderline != b.lfUnderline || a.lfStrikeOut != b.lfStrikeOut || a.lfCharSet != b.lfCharSet ||
      a.lfQuality != b.lfQuality || a.lfPitchAndFamily != b.lfPitchAndFamily)
    return false;
  for (int i = 0; i < LF_FACESIZE; ++i) {
    if (a.lfFaceName[i] != b.lfFaceName[i]) return false;
    if (!a.lfFaceName[i]) break;
  }
  return true;
}

std::mutex& TextFontLock() {
  static std::mutex lock;
  return lock;
}

// A text drawn in one pen colour on one even colour, for one pixel format.
struct TTextPicture {
  QRgb pen = 0, ground = 0;
  QImage::Format format = QImage::Format_Invalid;
  QImage image;
};

// The glyphs of a plain text in one face and the pen's place before each along the baseline.
struct TPlainGlyphs {
  QVarLengthArray<quint32, 16> glyphs;
  QVarLengthArray<qreal, 16> x;  // exact sums of the face's advances (multiples of 1/64)
  qreal width = 0;
};

// The margin kept around a text's glyphs for the pictures it is copied from.
constexpr int kInkMargin = 3;

// A text laid out in one line in a font: its width, and its shaped glyphs to draw it from:
// a plain text as one run of the face's own glyphs, any other in a layout.
struct TShapedText {
  int advance = 0;  // what QFontMetrics::horizontalAdvance gives
  qreal ascent = 0;  // of the line: its baseline below the origin
  std::unique_ptr<QTextLayout> layout;
  QRawFont face;  // when there is no layout: the plain glyphs' face
  TPlainGlyphs plain;
  // Drawing: how often the text was drawn, and the pictures of it on even grounds (made from
  // the second drawing on, guarded by the text font lock). `ink` holds every pixel the text
  // may touch with a margin, relative to the origin.
  mutable std::atomic<int> draws{0};
  mutable QRect ink;
  mutable std::vector<TTextPicture> pictures;

  // Draws the text with the line's top-left corner at `at`, in the painter's pen.
  void Draw(QPainter* p, const QPointF& at) const {
    if (layout) {
      layout->draw(p, at);
      return;
    }
    QVarLengthArray<QPointF, 32> places;
    p->drawGlyphRun(at, Run(places));
  }
  QRect InkBox() const {
    if (layout) {
      const QTextLine line = layout->lineAt(0);
      QRectF box(0, 0, line.naturalTextWidth(), line.height() + 1);
      for (const QGlyphRun& laid : layout->glyphRuns()) box |= laid.boundingRect();
      return box.toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
    }
    QVarLengthArray<QPointF, 32> places;
    return Run(places).boundingRect().toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
  }

 private:
  // The plain glyphs as a run on the baseline; `places` holds its positions.
  QGlyphRun Run(QVarLengthArray<QPointF, 32>& places) const {
    const qsizetype n = plain.glyphs.size();
    places.resize(n);
    for (qsizetype i = 0; i < n; ++i) places[i] = QPointF(plain.x[i], ascent);
    QGlyphRun run;
    run.setRawFont(face);
    run.setRawData(plain.glyphs.constData(), places.constData(), static_cast<int>(n));
    return run;
  }
};
using TShapedTextRef = std::shared_ptr<const TShapedText>;

// A font record made ready for text calls at one resolution: the Qt font and its metrics.
// Building a Qt font, resolving its families and asking its metrics each cost more than most
// text calls themselves.
class TTextFont {
 public:
  TTextFont(const LOGFONTW& lf, int dpi, const QFont& f, const QFontMetrics& m)
      : logFont(lf), dpi(dpi), font(f), fm(m), ascent(m.ascent()), height(m.height()),
        leading(m.leading()), averageCharWidth(m.averageCharWidth()), serial(NextSerial()) {
    if (lf.lfUnderline || lf.lfStrikeOut) primary = QRawFont::fromFont(f);
  }
  const LOGFONTW logFont;
  const int dpi;  // of the device measured on; 0 for the screen
  const QFont font;
  const QFontMetrics fm;
  const int ascent, height, leading, averageCharWidth;
  const quint64 serial;  // names the font in the shaped texts, never reused
  // The face Qt draws in before any fallback (kept for fonts that underline or strike out).
  QRawFont primary;

  // The text laid out, or null when it is not laid out: the line of a QTextLayout measures
  // and draws a text as QFontMetrics and QPainter::drawText do unless the text has controls
  // (tabs, breaks, soft hyphens), which a layout treats otherwise. Short texts are kept, as a
  // grid's cells or a label are measured and drawn again and again, and a text measured for
  // its layout is measured again to be drawn.
  TShapedTextRef Shaped(const QString& s) const;

  // The face a plain text is drawn in straight from its glyphs, or null when Qt's layout
  // could draw some plain text otherwise in this font (see PlainFace).
  const QRawFont* PlainFace() const;

  int Advance(const QString& s) const {
    if (s.isEmpty()) return 0;
    if (const TShapedTextRef shaped = Shaped(s)) return shaped->advance;
    return fm.horizontalAdvance(s);
  }

 private:
  static quint64 NextSerial() {
    static std::atomic<quint64> next{1};
    return next++;
  }
  mutable std::once_flag plainChecked;
  mutable QRawFont plain;  // valid when plain texts take their glyphs from it
  // The text shaped last (guarded by the text font lock): a text is measured to place it and
  // then drawn.
  mutable QString lastText;
  mutable TShapedTextRef last;
};

// The shaped texts of all fonts, in two generations: those made or used since the last turn
// and those before it.
class TShapedTexts {
 public:
  using TKey = std::pair<quint64, QString>;
  TShapedTextRef Find(const TKey& key) {
    if (const auto it = recent.constFind(key); it != recent.cend()) return it.value();
    const auto it = older.constFind(key);
    if (it == older.cend()) return nullptr;
    TShapedTextRef found = it.value();
    Keep(key, found);
    return found;
  }
  void Keep(const TKey& key, const TShapedTextRef& shaped) {
    if (recent.size() >= kGeneration) {
      retired = std::move(older);
      retiredAt = retired.begin();
      older = std::move(recent);
      recent = QHash<TKey, TShapedTextRef>();
    }
    recent.insert(key, shaped);
    // The generation dropped is freed a few texts at a time, not all in one paint.
    for (int i = 0; i < 8 && retiredAt != retired.end(); ++i) retiredAt = retired.erase(retiredAt);
  }

 private:
  // A generation holds the texts of a full-screen grid (about a thousand cells), so that a
  // repaint of the same view finds every text of its last paint.
  static constexpr qsizetype kGeneration = 2048;
  QHash<TKey, TShapedTextRef> recent, older, retired;
  QHash<TKey, TShapedTextRef>::iterator retiredAt = retired.begin();
};

// Whether a layout draws the text as drawText does: no controls (tabs, breaks, soft
// hyphens, objects), nothing written right to left (whose runs drawText orders otherwise), and,
// when the font underlines or strikes out, only text that Qt decorates in one stroke (Latin,
// and kana and ideographs the font's own face has, without combining marks; a fallback face
// is decorated at its own offsets).
bool Layable(const QString& s, const QRawFont* decorated) {
  if (s.isEmpty() || s.size() > 128) return false;
  for (const QChar c : s) {
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xAD || u == 0xFFFC) return false;
    if ((u >= 0x0590 && u <= 0x08FF) || (u >= 0xFB1D && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF) ||
        (u >= 0x200E && u <= 0x200F) || (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
      return false;  // right-to-left letters, direction marks, line and paragraph separators
    if (decorated && u >= 0x0300 &&
        ((!(u >= 0x3000 && u <= 0x9FFF) && !(u >= 0xFF00 && u <= 0xFFEF)) || !decorated->supportsCharacter(c)))
      return false;
  }
  return true;
}

// Characters whose glyph a plain text takes from the face's character map: printable Latin
// (ASCII, Latin-1 and Latin Extended-A, no soft hyphen) and common punctuation. Nothing
// here combines, joins, changes direction or is ignorable, so a face that has the character
// and whose default features leave such text alone shapes it to its mapped glyph.
bool PlainChar(char16_t u) {
  return (u >= 0x20 && u <= 0x7E) || (u >= 0xA0 && u <= 0x17F && u != 0xAD) || (u >= 0x2013 && u <= 0x2014) ||
         (u >= 0x2018 && u <= 0x201E) || u == 0x2022 || u == 0x2026 || u == 0x20AC;
}

// Whether the face's substitution and positioning tables hold only features that shaping
// leaves off for horizontal text, or that cannot touch plain characters (composition and
// mark placement: plain texts hold no marks; kerning: the fonts here turn it off).
bool PlainFeatures(const QRawFont& face) {
  static const std::array<const char*, 4> kAllowed{"ccmp", "kern", "mark", "mkmk"};
  // On by default in horizontal text (besides the allowed ones) for some script.
  static const std::array<const char*, 24> kDefault{"abvf", "abvm", "abvs", "akhn", "blwf", "blwm", "blws",
                                                    "calt", "cfar", "cjct", "clig", "curs", "dist", "fina",
                                                    "half", "haln", "init", "isol", "liga", "locl", "medi",
                                                    "rclt", "rlig", "rvrn"};
  for (const char* table : {"GSUB", "GPOS"}) {
    const QByteArray bytes = face.fontTable(table);
    if (bytes.isEmpty()) continue;
    if (bytes.size() < 10) return false;
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const auto word = [&](qsizetype at) { return static_cast<int>(d[at] << 8 | d[at + 1]); };
    const int list = word(6);
    if (list + 2 > bytes.size()) return false;
    const int count = word(list);
    if (list + 2 + count * 6 > bytes.size()) return false;
    for (int i = 0; i < count; ++i) {
      const QByteArray tag(reinterpret_cast<const char*>(d + list + 2 + i * 6), 4);
      if (std::any_of(kAllowed.begin(), kAllowed.end(), [&](const char* t) { return tag == t; })) continue;
      if (std::any_of(kDefault.begin(), kDefault.end(), [&](const char* t) { return tag == t; })) return false;
    }
  }
  return true;
}

// The glyphs of a plain text in the face and the pen's place before each; false when the
// face lacks one of them (Qt takes it from a fallback face).
bool PlainGlyphs(const QRawFont& face, const QString& s, TPlainGlyphs& out) {
  const int n = static_cast<int>(s.size());
  out.glyphs.resize(n);
  int count = n;
  if (!face.glyphIndexesForChars(s.constData(), n, out.glyphs.data(), &count) || count != n) return false;
  for (const quint32 glyph : out.glyphs)
    if (glyph == 0) return false;
  QVarLengthArray<QPointF, 16> advances(n);
  if (!face.advancesForGlyphIndexes(out.glyphs.constData(), advances.data(), n, QRawFont::SeparateAdvances))
    return false;
  out.x.resize(n);
  qreal x = 0;
  for (int i = 0; i < n; ++i) {
    out.x[i] = x;
    x += advances[i].x();
  }
  out.width = x;
  return true;
}

QTextLayout* LayOut(const QString& s, const QFont& font) {
  auto* layout = new QTextLayout(s, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setFlags(QTextOption::IncludeTrailingSpaces);
  option.setTextDirection(Qt::LeftToRight);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  layout->createLine();
  layout->endLayout();
  return layout;
}

// A face draws plain texts from its own glyphs when its tables allow it and Qt's layout of a
// sample of plain text gives the very glyphs and positions: same face, no substitution, the
// advances as the face gives them (kerning left out as the layout leaves it out).
bool LaysOutAsGlyphs(const QFont& font, const QRawFont& face) {
  if (!face.isValid() || !PlainFeatures(face)) return false;
  // ASCII both ways, the pairs that kern or join in many faces, then the other plain
  // characters the face has, each between letters.
  QString sample;
  for (char16_t u = 0x20; u <= 0x7E; ++u) sample += QChar(u);
  for (char16_t u = 0x7E; u >= 0x20; --u) sample += QChar(u);
  sample += QStringLiteral("AV AW AY Av Aw Ay LT LV LW LY Ta Te To Tr Tu Ty Va Ve Vo Wa We Wo Ya Ye Yo "
                           "ff fi fl ffi ffl ft fj tt Th r. y, 11 P. F, T. L' \"A -- <= >= != www");
  for (char16_t u = 0xA0; u <= 0x20AC; ++u)
    if (PlainChar(u) && face.supportsCharacter(QChar(u))) sample += u'a', sample += QChar(u), sample += u'i';
  TPlainGlyphs plain;
  if (!PlainGlyphs(face, sample, plain)) return false;
  const std::unique_ptr<QTextLayout> layout(LayOut(sample, font));
  qsizetype at = 0;
  const qreal baseline = layout->lineAt(0).ascent();
  for (const QGlyphRun& run : layout->glyphRuns()) {
    if (run.rawFont() != face || run.overline() || run.underline() || run.strikeOut()) return false;
    const QList<quint32> laid = run.glyphIndexes();
    const QList<QPointF> places = run.positions();
    if (at + laid.size() > plain.glyphs.size()) return false;
    for (qsizetype i = 0; i < laid.size(); ++i, ++at)
      if (laid[i] != plain.glyphs[at] || places[i] != QPointF(plain.x[at], baseline)) return false;
  }
  return at == plain.glyphs.size() && qRound(layout->lineAt(0).horizontalAdvance()) == qRound(plain.width);
}

const QRawFont* TTextFont::PlainFace() const {
  std::call_once(plainChecked, [this] {
    if (dpi != 0 || logFont.lfUnderline || logFont.lfStrikeOut) return;
    // The verdict of each face, kept beyond the font records that asked for it.
    static QHash<QString, bool> verdicts;
    const QString key = font.families().join(u'|') + u'/' + font.toString();
    bool known = false, plainFace = false;
    {
      std::lock_guard<std::mutex> guard(TextFontLock());
      if (const auto it = verdicts.constFind(key); it != verdicts.cend()) known = true, plainFace = it.value();
    }
    const QRawFont face = QRawFont::fromFont(font);
    if (!known) {
      plainFace = LaysOutAsGlyphs(font, face);
      std::lock_guard<std::mutex> guard(TextFontLock());
      verdicts.insert(key, plainFace);
    }
    if (plainFace) plain = face;
  });
  return plain.isValid() ? &plain : nullptr;
}

TShapedTextRef TTextFont::Shaped(const QString& s) const {
  if (dpi != 0 || !Layable(s, logFont.lfUnderline || logFont.lfStrikeOut ? &primary : nullptr)) return nullptr;
  static TShapedTexts texts;
  const TShapedTexts::TKey key{serial, s};
  {
    std::lock_guard<std::mutex> guard(TextFontLock());
    if (last && lastText == s) return last;
    if (TShapedTextRef found = texts.Find(key)) {
      lastText = s;
      last = found;
      return found;
    }
  }
  auto made = std::make_shared<TShapedText>();
  const QRawFont* face = PlainFace();
  if (face && std::all_of(s.begin(), s.end(), [](QChar c) { return PlainChar(c.unicode()); }) &&
      PlainGlyphs(*face, s, made->plain)) {
    // Drawn as drawText draws it: the baseline at the font's rounded ascent.
    made->advance = qRound(made->plain.width);
    made->ascent = ascent;
    made->face = *face;
  } else {
    made->plain = TPlainGlyphs();
    made->layout.reset(LayOut(s, font));
    const QTextLine line = made->layout->lineAt(0);
    made->advance = qRound(line.horizontalAdvance());
    made->ascent = line.ascent();
  }
  std::lock_guard<std::mutex> guard(TextFontLock());
  texts.Keep(key, made);
  lastText = s;
  last = made;
  return made;
}

using TTextFontRef = std::shared_ptr<const TTextFont>;

// Text is measured for the device it goes to when that is a printer or a recording; images
// and windows measure at the screen's resolution.
int MetricsDpi(HDC dc) {
  if (dc->device && !dc->image && dc->device->devType() != QInternal::Widget) return dc->device->logicalDpiY();
  return 0;
}

// The text font of the DC's font record: the fonts of the last few records are kept.
TTextFontRef DCFont(HDC dc) {
  const LOGFONTW& lf = dc->state.font->logFont;
  const int dpi = MetricsDpi(dc);
  static std::vector<TTextFontRef> recent;  // the most recently used first
  {
    std::lock_guard<std::mutex> guard(TextFontLock());
    for (size_t i = 0; i < recent.size(); ++i) {
      if (recent[i]->dpi != dpi || !SameFontRecord(recent[i]->logFont, lf)) continue;
      const auto at = recent.begin() + static_cast<std::ptrdiff_t>(i);
      std::rotate(recent.begin(), at, at + 1);
      return recent.front();
    }
  }
  const QFont f = ToQFont(lf);
  auto made = std::make_shared<const TTextFont>(lf, dpi, f, dpi ? QFontMetrics(f, dc->device) : QFontMetrics(f));
  std::lock_guard<std::mutex> guard(TextFontLock());
  if (recent.size() >= 32) recent.pop_back();
  recent.insert(recent.begin(), made);
  return made;
}

int TextWidth(HDC dc, const TTextFont& tf, const QString& s) {
  return tf.Advance(s) + dc->state.charExtra * static_cast<int>(s.size());
}

// The painter draws in the font: set only when it differs, as each setting resolves the font
// for the device again and looks its engine up afresh.
void UseFont(QPainter* p, const QFont& f) {
  if (!(p->font() == f)) p->setFont(f);
}

QString MakeText(LPCWSTR text, int count) {
  if (!text) return QString();
  if (count < 0) {
    count = 0;
    while (text[count]) ++count;
  }
  return QString(reinterpret_cast<const QChar*>(text), count);
}

// The part of the device's pixels a drawing may touch: the painter's clip in device
// coordinates (the painter moves by whole pixels only).
QRegion DeviceClip(QPainter* p, const QImage& device) {
  const QTransform& t = p->worldTransform();
  const QRegion all(device.rect());
  if (!p->hasClipping()) return all;
  return p->clipRegion().translated(static_cast<int>(t.dx()), static_cast<int>(t.dy())) & all;
}

// Whether every pixel of the area has one colour; that colour in `ground`.
bool EvenGround(const QImage& device, const QRegion& area, QRgb& ground) {
  bool first = true;
  const uchar* bits = device.constBits();
  const qsizetype stride = device.bytesPerLine();
  for (const QRect& r : area) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(bits + y * stride) + r.left();
      if (first) {
        ground = line[0];
        first = false;
      }
      for (int i = 0; i < r.width(); ++i)
        if (line[i] != ground) return false;
    }
  }
  return !first;
}

// The pixels a text drawn with its origin at `at` may touch: its glyphs' box and a pixel of
// smoothing around it (the kept box less its margin, made on first use).
QRect InkAt(const TShapedText& shaped, const QPointF& at) {
  QRect ink;
  {
    std::lock_guard<std::mutex> guard(TextFontLock());
    if (shaped.ink.isNull()) shaped.ink = shaped.InkBox();
    ink = shaped.ink.adjusted(kInkMargin - 1, kInkMargin - 1, 1 - kInkMargin, 1 - kInkMargin);
  }
  const qreal left = std::floor(at.x()), top = std::floor(at.y());
  return ink.translated(static_cast<int>(left), static_cast<int>(top))
      .adjusted(0, 0, left != at.x() ? 1 : 0, top != at.y() ? 1 : 0);
}

// Draws a text that is drawn again from a picture of it on the ground it lands on, when that
// ground is one even colour: Qt's glyph blending (gamma-corrected for the CJK fallback face,
// pixel by pixel) then runs once per text, ground and pen instead of at every repaint, and the
// pixels are the ones it gives. False when the text is to be drawn by the painter: the first
// drawing of a text, a device other than a 32-bit image, an uneven ground, a turned or
// fractionally moved painter, or translucency.
bool DrawFromPicture(HDC dc, QPainter* p, const TShapedText& shaped, const QPointF& at, const QRect* clip) {
  QImage* device = dc->image;
  if (device == nullptr || device->devicePixelRatio() != 1.0 || p->opacity() != 1.0) return false;
  const QImage::Format format = device->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return false;
  const QTransform& t = p->worldTransform();
  if (t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) return false;
  const QColor penColor = p->pen().color();
  if (penColor.alpha() != 255 || p->pen().style() == Qt::NoPen || p->pen().brush().style() != Qt::SolidPattern)
    return false;
  if (shaped.draws.fetch_add(1, std::memory_order_relaxed) == 0) return false;

  // The text's origin on the device in whole pixels, and the fraction left over.
  const qreal top = std::floor(at.y());
  const qreal fraction = at.y() - top;
  const QPoint origin(static_cast<int>(at.x() + t.dx()), static_cast<int>(top + t.dy()));
  {
    std::lock_guard<std::mutex> guard(TextFontLock());
    if (shaped.ink.isNull()) shaped.ink = shaped.InkBox();
  }
  const QRect box = shaped.ink.translated(origin);
  const QRegion area = DeviceClip(p, *device) & (clip ? box & clip->translated(static_cast<int>(t.dx()), static_cast<int>(t.dy())) : box);
  if (area.isEmpty()) return true;
  QRgb ground = 0;
  if (!EvenGround(*device, area, ground)) return false;
  const QRgb pen = penColor.rgba();

  std::lock_guard<std::mutex> guard(TextFontLock());
  auto found = std::find_if(shaped.pictures.begin(), shaped.pictures.end(), [&](const TTextPicture& picture) {
    return picture.pen == pen && picture.ground == ground && picture.format == format;
  });
  if (found == shaped.pictures.end()) {
    if (shaped.pictures.size() >= 4) shaped.pictures.erase(shaped.pictures.begin());
    TTextPicture made{pen, ground, format, QImage(shaped.ink.size(), format)};
    made.image.fill(ground);
    QPainter q(&made.image);
    q.setRenderHints(p->renderHints());
    q.setPen(p->pen());
    q.setCompositionMode(QPainter::CompositionMode_SourceOver);
    shaped.Draw(&q, QPointF(-shaped.ink.left(), -shaped.ink.top() + fraction));
    q.end();
    shaped.pictures.push_back(std::move(made));
    found = shaped.pictures.end() - 1;
  }
  const QImage& picture = found->image;
  uchar* to = device->bits();
  const uchar* from = picture.constBits();
  const qsizetype toStride = device->bytesPerLine(), fromStride = picture.bytesPerLine();
  for (const QRect& r : area) {
    const size_t bytes = static_cast<size_t>(r.width()) * 4;
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::memcpy(to + y * toStride + r.left() * 4, from + (y - box.top()) * fromStride + (r.left() - box.left()) * 4,
                  bytes);
  }
  return true;
}

// A clip rectangle (in logical coordinates) given to the painter only when the painter draws:
// text copied from a picture is cut to it directly, which spares saving, clipping and
// restoring the painter for every cell of a grid.
class TLazyClip {
 public:
  TLazyClip(QPainter* p, const QRect& r, bool wanted)
      : painter(p), rect(r), wanted(wanted), pen(p->pen()), mode(p->compositionMode()), background(p->backgroundMode()) {}
  ~TLazyClip() {
    if (set) {
      painter->restore();
    } else {
      painter->setPen(pen);
      painter->setCompositionMode(mode);
      painter->setBackgroundMode(background);
    }
  }
  // Before the painter draws: the painter's state as it was is saved, what was set since
  // is kept.
  void Apply() {
    if (set) return;
    const QPen nowPen = painter->pen();
    const QPainter::CompositionMode nowMode = painter->compositionMode();
    const Qt::BGMode nowBackground = painter->backgroundMode();
    painter->setPen(pen);
    painter->setCompositionMode(mode);
    painter->setBackgroundMode(background);
    painter->save();
    painter->setPen(nowPen);
    painter->setCompositionMode(nowMode);
    painter->setBackgroundMode(nowBackground);
    if (wanted) painter->setClipRect(rect, Qt::IntersectClip);
    set = true;
  }
  const QRect* Rect() const { return wanted ? &rect : nullptr; }

 private:
  QPainter* painter;
  const QRect rect;
  const bool wanted;
  const QPen pen;
  const QPainter::CompositionMode mode;
  const Qt::BGMode background;
  bool set = false;
};

// Draws one line of text with its top-left corner at (x, top) in the DC's text colour;
// opaque mode fills the text cell with the background colour first. On an image with no
// turn, a text that can be laid out is drawn from its kept layout: no shaping again, and no
// setting of the painter's font, which resolves the font and looks its engine up afresh.
// With a lazy clip, the painter is clipped before anything but a copy from a picture.
void DrawLine(HDC dc, const TTextFont& tf, int x, int top, const QString& s, bool opaque, TLazyClip* clip = nullptr) {
  QPainter* p = dc->painter.get();
  if (clip && opaque) clip->Apply();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (opaque) {
    int w = TextWidth(dc, tf, s);
    if (w > 0) p->fillRect(QRect(x, top, w, tf.height), ToQColor(static_cast<TColor>(dc->state.bkColor)));
  }
  p->setPen(ToQColor(static_cast<TColor>(dc->state.textColor)));
  p->setBackgroundMode(Qt::TransparentMode);
  if (dc->state.charExtra == 0 && p->paintEngine()->type() == QPaintEngine::Raster &&
      p->worldTransform().type() <= QTransform::TxTranslate) {
    if (const TShapedTextRef shaped = tf.Shaped(s)) {
      // The layout's baseline is its ascent below the point given; drawText's is the font's
      // rounded ascent below the top.
      const QPointF at(x, top + tf.ascent - shaped->ascent);
      if (DrawFromPicture(dc, p, *shaped, at, clip ? clip->Rect() : nullptr)) return;
      // A text whose ink lies inside the rectangle needs no clip to it.
      if (clip && (!clip->Rect() || !clip->Rect()->contains(InkAt(*shaped, at)))) clip->Apply();
      shaped->Draw(p, at);
      return;
    }
  }
  if (clip) clip->Apply();
  UseFont(p, tf.font);
  if (dc->state.charExtra == 0) {
    p->drawText(QPoint(x, top + tf.ascent), s);
  } else {
    int cx = x;
    for (QChar c : s) {
      p->drawText(QPoint(cx, top + tf.ascent), QString(c));
      cx += tf.fm.horizontalAdvance(c) + dc->state.charExtra;
    }
  }
}

}  // namespace

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx) {
  if (!DCPainter(dc)) return 0;
  QPainter* p = dc->painter.get();
  QString s = MakeText(text, text ? static_cast<int>(count) : 0);
  const TTextFontRef font = DCFont(dc);
  const TTextFont& tf = *font;
  p->save();
  if (rect && (options & ETO_OPAQUE)) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(gdi::EdgeRect(rect->Left, rect->Top, rect->Right, rect->Bottom),
                ToQColor(static_cast<TColor>(dc->state.bkColor)));
  }
  if (rect && (options & ETO_CLIPPED))
    p->setClipRect(gdi::EdgeRect(rect->Left, rect->Top, rect->Right, rect->Bottom), Qt::IntersectClip);
  UINT align = dc->state.textAlign;
  if (align & TA_UPDATECP) {
    x = dc->state.pos.X;
    y = dc->state.pos.Y;
  }
  int width = 0;
  if (dx) {
    for (int i = 0; i < s.size(); ++i) width += dx[i];
  } else {
    width = TextWidth(dc, tf, s);
  }
  int left = x;
  UINT h = align & TA_CENTER;
  if (h == TA_CENTER) left = x - width / 2;
  else if (h == TA_RIGHT) left = x - width;
  int top = y;
  if ((align & TA_BASELINE) == TA_BASELINE) top = y - tf.ascent;
  else if (align & TA_BOTTOM) top = y - tf.height;
  int esc = dc->state.font->logFont.lfEscapement;
  if (esc != 0) {
    // Rotated text turns about the reference point.
    p->translate(x, y);
    p->rotate(-esc / 10.0);
    p->translate(-x, -y);
  }
  bool opaque = dc->state.bkMode == OPAQUE && !(rect && (options & ETO_OPAQUE));
  if (dx) {
    int cx = left;
    for (int i = 0; i < s.size(); ++i) {
      DrawLine(dc, tf, cx, top, QString(s[i]), opaque);
      cx += dx[i];
    }
  } else {
    DrawLine(dc, tf, left, top, s, opaque);
  }
  p->restore();
  if (align & TA_UPDATECP) {
    if (h == TA_RIGHT) dc->state.pos.X = x - width;
    else if (h != TA_CENTER) dc->state.pos.X = x + width;
  }
  return 1;
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx) {
  return ExtTextOut(dc, x, y, options, rect, text, count, dx);
}

BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int count) {
  return ExtTextOut(dc, x, y, 0, nullptr, text, static_cast<UINT>(std::max(count, 0)), nullptr);
}
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) { return TextOut(dc, x, y, text, count); }

BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int count, SIZE* size) {
  if (!dc || !size) return 0;
  const TTextFontRef tf = DCFont(dc);
  QString s = MakeText(text, std::max(count, 0));
  *size = SIZE(TextWidth(dc, *tf, s), tf->height);
  return 1;
}
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
  return GetTextExtentPoint32(dc, text, count, size);
}

BOOL GetTextExtentExPoint(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  if (!dc) return 0;
  const TTextFontRef tf = DCFont(dc);
  const QFontMetrics& fm = tf->fm;
  QString s = MakeText(text, std::max(count, 0));
  int fitted = 0;
  for (int i = 1; i <= s.size(); ++i) {
    int w = fm.horizontalAdvance(s.left(i)) + dc->state.charExtra * i;
    if (dx) dx[i - 1] = w;
    if (w <= maxExtent) fitted = i;
  }
  if (fit) *fit = fitted;
  if (size) *size = SIZE(TextWidth(dc, *tf, s), tf->height);
  return 1;
}
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  return GetTextExtentExPoint(dc, text, count, maxExtent, fit, dx, size);
}

BOOL GetTextMetrics(HDC dc, TEXTMETRICW* tm) {
  if (!dc || !tm) return 0;
  const LOGFONTW& lf = dc->state.font->logFont;
  const TTextFontRef tf = DCFont(dc);
  const QFont& f = tf->font;
  const QFontMetrics& fm = tf->fm;
  *tm = TEXTMETRICW();
  tm->tmAscent = fm.ascent();
  tm->tmDescent = fm.descent();
  tm->tmHeight = fm.height();
  tm->tmInternalLeading = std::max(0, fm.height() - QFontInfo(f).pixelSize());
  tm->tmExternalLeading = std::max(0, fm.leading());
  tm->tmAveCharWidth = fm.averageCharWidth();
  tm->tmMaxCharWidth = fm.maxWidth();
  tm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmCharSet = lf.lfCharSet;
  // GDI's pitch bit is set for variable-pitch fonts.
  tm->tmPitchAndFamily = static_cast<BYTE>((QFontInfo(f).fixedPitch() ? 0 : 1) | 0x06);
  return 1;
}
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm) { return GetTextMetrics(dc, tm); }

int GetTextFace(HDC dc, int count, LPWSTR name) {
  if (!dc) return 0;
  const WCHAR* face = dc->state.font->logFont.lfFaceName;
  int n = 0;
  while (n < LF_FACESIZE && face[n]) ++n;
  if (!name) return n + 1;
  int copy = std::min(n, count - 1);
  if (copy < 0) return 0;
  std::copy(face, face + copy, name);
  name[copy] = 0;
  return copy;
}

// ---------------------------------------------------------------------------------------------
// DrawText

namespace {

struct TLine {
  QString text;
  std::vector<int> underline;  // indexes of prefixed characters
};

// Removes '&' prefixes ("&&" is a literal '&') and records the characters to underline.
TLine StripPrefix(const QString& s, bool process) {
  TLine line;
  if (!process) {
    line.text = s;
    return line;
  }
  for (int i = 0; i < s.size(); ++i) {
    if (s[i] == u'&') {
      if (i + 1 < s.size() && s[i + 1] == u'&') {
        line.text += u'&';
        ++i;
      } else if (i + 1 < s.size()) {
        line.underline.push_back(static_cast<int>(line.text.size()));
      }
      continue;
    }
    line.text += s[i];
  }
  return line;
}

QString ExpandTabs(const QString& s, int tabWidth, const QFontMetrics& fm) {
  if (!s.contains(u'\t')) return s;
  // The width so far is kept as an exact sum (each stretch of text measured once, each space
  // added by its advance), so many tabs cost no more than the text they make.
  const QFontMetricsF exact(fm);
  const qreal space = exact.horizontalAdvance(u' ');
  QString out;
  qreal w = 0;
  qsizetype from = 0;
  for (;;) {
    const qsizetype tab = s.indexOf(u'\t', from);
    const QString run = s.mid(from, tab < 0 ? -1 : tab - from);
    out += run;
    if (tab < 0) break;
    w += exact.horizontalAdvance(run);
    const int next = tabWidth > 0 ? (qRound(w) / tabWidth + 1) * tabWidth : qRound(w);
    do {
      out += u' ';
      w += space;
    } while (space > 0 && qRound(w) < next);
    from = tab + 1;
  }
  return out;
}

bool IsWide(QChar c) {
  ushort u = c.unicode();
  return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF) ||
         (u >= 0x3000 && u <= 0x30FF);
}

// Where a line of text starting at `from` is cut: after the last space or between CJK
// characters within the `fit` characters that fit; a word wider than the line stays whole
// unless breakWords is set. Returns the number of characters the line takes.
qsizetype LineCut(const QString& text, qsizetype from, qsizetype fit, bool breakWords) {
  const qsizetype n = text.size();
  for (qsizetype i = fit; i > 0; --i) {
    if (from + i < n && text[from + i] == u' ') return i;
    if (text[from + i - 1] == u' ' || (from + i < n && (IsWide(text[from + i - 1]) || IsWide(text[from + i]))))
      return i;
  }
  if (breakWords) return std::max<qsizetype>(fit, 1);
  const qsizetype space = text.indexOf(u' ', from + fit);  // keep the whole word on its own line
  return space < 0 ? n - from : space - from;
}

// Splits a paragraph into lines no wider than width, breaking after spaces or between
// CJK characters; a word wider than the line stays whole unless breakWords is set. A long
// paragraph is measured only in windows about a line long (a line's width grows with its
// characters), so that wrapping takes time linear in the paragraph's length.
std::vector<QString> Wrap(const QString& para, int width, const TTextFont& tf, bool breakWords) {
  constexpr qsizetype kLong = 512;  // longer rests are measured in windows
  const QFontMetrics& fm = tf.fm;
  std::vector<QString> lines;
  const qsizetype n = para.size();
  qsizetype from = 0;
  while (from < n) {
    const qsizetype left = n - from;
    qsizetype fit = 0;  // characters that fit
    if (left <= kLong) {
      const QString rest = para.mid(from);
      if (tf.Advance(rest) <= width) {
        lines.push_back(rest);
        break;
      }
      while (fit < left && fm.horizontalAdvance(rest.left(fit + 1)) <= width) ++fit;
    } else {
      // A window wider than the line, then the longest prefix of it that fits.
      qsizetype window = 256;
      while (window < left && fm.horizontalAdvance(para.mid(from, window)) <= width) window *= 2;
      if (window >= left && fm.horizontalAdvance(para.mid(from)) <= width) {
        lines.push_back(para.mid(from));
        break;
      }
      qsizetype fits = 0, fails = std::min(window, left);
      while (fails - fits > 1) {
        const qsizetype mid = fits + (fails - fits) / 2;
        if (fm.horizontalAdvance(para.mid(from, mid)) <= width) fits = mid;
        else fails = mid;
      }
      fit = fits;
    }
    const qsizetype cut = LineCut(para, from, fit, breakWords);
    QString line = para.mid(from, cut);
    while (line.endsWith(u' ')) line.chop(1);
    lines.push_back(line);
    from += cut;
    while (from < n && para[from] == u' ') ++from;
  }
  if (lines.empty()) lines.push_back(QString());
  return lines;
}

QString Elide(const QString& s, int width, const TTextFont& tf) {
  if (tf.Advance(s) <= width) return s;
  const QFontMetrics& fm = tf.fm;
  const QString dots = QStringLiteral("...");
  QString t = s;
  while (!t.isEmpty() && fm.horizontalAdvance(t + dots) > width) t.chop(1);
  return t + dots;
}

int DrawTextImpl(HDC dc, const QString& source, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  const TTextFontRef font = DCFont(dc);
  const TTextFont& tf = *font;
  const QFontMetrics& fm = tf.fm;
  int lineHeight = tf.height + ((format & DT_EXTERNALLEADING) ? std::max(0, tf.leading) : 0);
  RECT r = *rect;
  if (params) {
    r.Left += params->iLeftMargin;
    r.Right -= params->iRightMargin;
  }
  int width = r.Right - r.Left;
  bool prefix = !(format & DT_NOPREFIX);
  int tabChars = (format & DT_TABSTOP) ? ((format >> 8) & 0xFF) : 8;
  if (params && params->iTabLength > 0) tabChars = params->iTabLength;
  int tabWidth = tabChars * std::max(1, tf.averageCharWidth);
  format &= (format & DT_TABSTOP) ? ~0xFF00u : ~0u;

  // Lines of the text.
  std::vector<TLine> lines;
  QStringList paragraphs;
  if (format & DT_SINGLELINE) {
    QString s = source;
    s.remove(u'\r');
    s.replace(u'\n', u' ');
    paragraphs << s;
  } else {
    QString s = source;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    paragraphs = s.split(u'\n');
  }
  for (const QString& para : paragraphs) {
    TLine stripped = StripPrefix(para, prefix);
    QString text = (format & DT_EXPANDTABS) ? ExpandTabs(stripped.text, tabWidth, fm) : stripped.text;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && width > 0) {
      int consumed = 0;
      for (const QString& l : Wrap(text, width, tf, format & DT_EDITCONTROL)) {
        TLine line;
        line.text = l;
        int start = static_cast<int>(text.indexOf(l, consumed));
        if (start < 0) start = consumed;
        for (int u : stripped.underline)
          if (u >= start && u < start + l.size()) line.underline.push_back(u - start);
        consumed = start + static_cast<int>(l.size());
        lines.push_back(line);
      }
    } else {
      stripped.text = text;
      lines.push_back(stripped);
    }
  }
  if (lines.empty()) lines.push_back(TLine());

  int total = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int maxWidth = 0;
    for (const TLine& l : lines) maxWidth = std::max(maxWidth, TextWidth(dc, tf, l.text));
    rect->Right = rect->Left + maxWidth + (params ? params->iLeftMargin + params->iRightMargin : 0);
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && maxWidth < width) rect->Right = rect->Left + maxWidth;
    rect->Bottom = rect->Top + total;
    if (params) params->uiLengthDrawn = static_cast<UINT>(source.size());
    return total;
  }
  if (!DCPainter(dc)) return 0;

  int y = r.Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = r.Top + (r.Bottom - r.Top - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = r.Bottom - lineHeight;
  }
  int result = (format & (DT_VCENTER | DT_BOTTOM)) && (format & DT_SINGLELINE) ? y - rect->Top + total : total;

  QPainter* p = dc->painter.get();
  TLazyClip clip(p, gdi::EdgeRect(r.Left, r.Top, r.Right, r.Bottom), !(format & DT_NOCLIP));
  bool opaque = dc->state.bkMode == OPAQUE;
  bool ellipsis = format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
  for (TLine& line : lines) {
    if (!(format & DT_NOCLIP) && y >= r.Bottom) break;  // the lines below the rectangle show nothing
    if (ellipsis) line.text = Elide(line.text, width, tf);
    int x = r.Left;
    if (format & DT_CENTER) x = r.Left + (width - TextWidth(dc, tf, line.text)) / 2;
    else if (format & DT_RIGHT) x = r.Right - TextWidth(dc, tf, line.text);
    if (!(format & DT_PREFIXONLY)) DrawLine(dc, tf, x, y, line.text, opaque, &clip);
    if (!(format & DT_HIDEPREFIX)) {
      for (int u : line.underline) {
        if (u >= line.text.size()) continue;
        clip.Apply();
        int ux = x + TextWidth(dc, tf, line.text.left(u));
        int uw = fm.horizontalAdvance(line.text[u]);
        p->fillRect(QRect(ux, y + tf.ascent + 1, uw, 1), ToQColor(static_cast<TColor>(dc->state.textColor)));
      }
    }
    y += lineHeight;
  }
  if (params) params->uiLengthDrawn = static_cast<UINT>(source.size());
  return result;
}

}  // namespace

int DrawText(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) {
  if (!dc || !rect) return 0;
  return DrawTextImpl(dc, MakeText(text, count), rect, format, nullptr);
}
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) { return DrawText(dc, text, count, rect, format); }
int DrawTextEx(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  if (!dc || !rect) return 0;
  return DrawTextImpl(dc, MakeText(text, count), rect, format, params);
}
int DrawTextExW(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextEx(dc, text, count, rect, format, params);
}
