// Font families, fonts, string formats and text, with GDI+'s measuring rules.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"
#include "platform/win/Gdi_p.h"

struct GpFontFamily {
  QString name;
};

struct GpFont {
  QString family;
  REAL emSize = 0;
  INT style = FontStyleRegular;
  GpUnit unit = UnitPoint;
  // The em in world units at 96 dots per inch.
  double EmPixels() const { return emSize * UnitScale(unit); }
  QFont ToQFont() const {
    LOGFONTW lf;
    const std::u16string face = family.toStdU16String();
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    lf.lfHeight = -std::max(1, int(std::lround(EmPixels())));
    lf.lfWeight = (style & FontStyleBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & FontStyleItalic) ? 1 : 0;
    lf.lfUnderline = (style & FontStyleUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style & FontStyleStrikeout) ? 1 : 0;
    return ::ToQFont(lf);
  }
};

struct GpStringFormat {
  INT flags = 0;
  StringAlignment align = StringAlignmentNear;
  StringAlignment lineAlign = StringAlignmentNear;
  StringTrimming trimming = StringTrimmingCharacter;
  INT hotkey = HotkeyPrefixNone;
};

// ---- font families and fonts ----

namespace {

// A family is known when it is installed or the platform maps its name to an installed one.
bool KnownFamily(const QString& name) {
  ::ToQFont(LOGFONTW());  // installs the platform's name mappings
  if (QFontDatabase::hasFamily(name)) return true;
  for (const QString& sub : QFont::substitutes(name))
    if (QFontDatabase::hasFamily(sub)) return true;
  return false;
}

GpStatus Generic(const char* name, GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = new GpFontFamily{QString::fromLatin1(name)};
  return Ok;
}

}  // namespace

GpStatus GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection*, GpFontFamily** fontFamily) {
  if (!name || !fontFamily) return InvalidParameter;
  QString n = QString::fromUtf16(name);
  if (!KnownFamily(n)) return FontFamilyNotFound;
  *fontFamily = new GpFontFamily{n};
  return Ok;
}

GpStatus GdipDeleteFontFamily(GpFontFamily* fontFamily) {
  if (!fontFamily) return InvalidParameter;
  delete fontFamily;
  return Ok;
}

GpStatus GdipGetGenericFontFamilySansSerif(GpFontFamily** fontFamily) { return Generic("Microsoft Sans Serif", fontFamily); }
GpStatus GdipGetGenericFontFamilySerif(GpFontFamily** fontFamily) { return Generic("Times New Roman", fontFamily); }
GpStatus GdipGetGenericFontFamilyMonospace(GpFontFamily** fontFamily) { return Generic("Courier New", fontFamily); }

GpStatus GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, GpUnit unit, GpFont** font) {
  if (!fontFamily || !font || !(emSize > 0) || unit < UnitWorld || unit > UnitMillimeter || unit == UnitDisplay)
    return InvalidParameter;
  *font = new GpFont{fontFamily->name, emSize, style, unit};
  return Ok;
}

GpStatus GdipDeleteFont(GpFont* font) {
  if (!font) return InvalidParameter;
  delete font;
  return Ok;
}

// ---- string formats ----

namespace {
bool ValidAlign(StringAlignment a) { return a >= StringAlignmentNear && a <= StringAlignmentFar; }
}  // namespace

GpStatus GdipCreateStringFormat(INT formatAttributes, LANGID, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = new GpStringFormat;
  (*format)->flags = formatAttributes;
  return Ok;
}

GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat) {
  if (!format || !newFormat) return InvalidParameter;
  *newFormat = new GpStringFormat(*format);
  return Ok;
}

GpStatus GdipDeleteStringFormat(GpStringFormat* format) {
  if (!format) return InvalidParameter;
  delete format;
  return Ok;
}

GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlign(align)) return InvalidParameter;
  format->align = align;
  return Ok;
}

GpStatus GdipGetStringFormatAlign(GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->align;
  return Ok;
}

GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlign(align)) return InvalidParameter;
  format->lineAlign = align;
  return Ok;
}

GpStatus GdipGetStringFormatLineAlign(GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->lineAlign;
  return Ok;
}

GpStatus GdipSetStringFormatFlags(GpStringFormat* format, INT flags) {
  if (!format) return InvalidParameter;
  format->flags = flags;
  return Ok;
}

GpStatus GdipGetStringFormatFlags(GpStringFormat* format, INT* flags) {
  if (!format || !flags) return InvalidParameter;
  *flags = format->flags;
  return Ok;
}

GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
  if (!format || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
  format->trimming = trimming;
  return Ok;
}

GpStatus GdipGetStringFormatTrimming(GpStringFormat* format, StringTrimming* trimming) {
  if (!format || !trimming) return InvalidParameter;
  *trimming = format->trimming;
  return Ok;
}

GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix) {
  if (!format || hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide) return InvalidParameter;
  format->hotkey = hotkeyPrefix;
  return Ok;
}

GpStatus GdipGetStringFormatHotkeyPrefix(GpStringFormat* format, INT* hotkeyPrefix) {
  if (!format || !hotkeyPrefix) return InvalidParameter;
  *hotkeyPrefix = format->hotkey;
  return Ok;
}

// ---- text ----

namespace {

// Text laid out in lines within a layout rectangle, placed by the format's alignments.
struct TLayout {
  QFont font;
  QStringList lines;
  std::vector<double> widths;  // each line's measured width, padding included
  double lineHeight = 0, ascent = 0, pad = 0;
  QRectF box;
};

QString StripPrefixes(const QString& s) {
  QString out;
  for (int i = 0; i < s.size(); ++i) {
    if (s[i] == u'&' && i + 1 < s.size()) ++i;
    else if (s[i] == u'&') continue;
    out += s[i];
  }
  return out;
}

QString TrimTrailingSpaces(QString s) {
  while (!s.isEmpty() && s.back() == u' ') s.chop(1);
  return s;
}

TLayout Layout(const WCHAR* string, INT length, const GpFont& font, const GpRectF& rect, const GpStringFormat& f) {
  TLayout l;
  l.font = font.ToQFont();
  QFontMetricsF fm(l.font);
  l.lineHeight = fm.lineSpacing();
  l.ascent = fm.ascent();
  l.pad = font.EmPixels() / 6.0;
  QString text = length < 0 ? QString::fromUtf16(string) : QString::fromUtf16(string, length);
  if (f.hotkey != HotkeyPrefixNone) text = StripPrefixes(text);
  const bool trailing = f.flags & StringFormatFlagsMeasureTrailingSpaces;
  const bool wrap = rect.Width > 0 && !(f.flags & StringFormatFlagsNoWrap);
  const double room = rect.Width - 2 * l.pad;
  auto width = [&](const QString& s) { return fm.horizontalAdvance(trailing ? s : TrimTrailingSpaces(s)); };
  for (QString para : text.split(u'\n')) {
    if (para.endsWith(u'\r')) para.chop(1);
    // Greedy word wrap: break after the last space that keeps the line inside the rectangle.
    while (wrap && para.size() > 1 && width(para) > room) {
      int cut = para.size() - 1;
      while (cut > 1 && width(para.left(cut)) > room) --cut;
      int space = para.lastIndexOf(u' ', cut - 1);
      if (space > 0) cut = space + 1;
      l.lines << para.left(cut);
      para = para.mid(cut);
    }
    l.lines << para;
  }
  double w = 0;
  if (text.isEmpty()) l.lines.clear();  // nothing to measure: an empty box
  for (const QString& line : l.lines) {
    l.widths.push_back(width(line) + 2 * l.pad);
    w = std::max(w, l.widths.back());
  }
  double h = l.lines.size() * l.lineHeight;
  if (rect.Width > 0) w = std::min<double>(w, rect.Width);
  if (rect.Height > 0) h = std::min<double>(h, rect.Height);
  auto place = [](double origin, double span, double size, StringAlignment a) {
    if (a == StringAlignmentCenter) return origin + (span - size) / 2;
    if (a == StringAlignmentFar) return origin + span - size;
    return origin;
  };
  l.box = QRectF(place(rect.X, rect.Width, w, f.align), place(rect.Y, rect.Height, h, f.lineAlign), w, h);
  return l;
}

// The baseline origin of a line: after the padding, aligned within the box.
QPointF LineOrigin(const TLayout& l, const GpStringFormat& f, int i) {
  double x = l.box.x() + l.pad;
  if (f.align == StringAlignmentCenter) x += (l.box.width() - l.widths[i]) / 2;
  if (f.align == StringAlignmentFar) x += l.box.width() - l.widths[i];
  return QPointF(x, l.box.y() + i * l.lineHeight + l.ascent);
}

}  // namespace

GpStatus GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                           const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                           INT* codepointsFitted, INT* linesFilled) {
  if (!graphics || !string || !font || !layoutRect || !boundingBox || length < -1) return InvalidParameter;
  const TLayout l = Layout(string, length, *font, *layoutRect, stringFormat ? *stringFormat : GpStringFormat());
  *boundingBox = GpRectF{REAL(l.box.x()), REAL(l.box.y()), REAL(l.box.width()), REAL(l.box.height())};
  if (codepointsFitted)
    *codepointsFitted = length < 0 ? INT(std::char_traits<char16_t>::length(string)) : length;
  if (linesFilled) *linesFilled = INT(l.lines.size());
  return Ok;
}

GpStatus GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                        const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush) {
  if (!graphics || !string || !font || !layoutRect || !BrushData(brush) || length < -1) return InvalidParameter;
  const GpStringFormat f = stringFormat ? *stringFormat : GpStringFormat();
  const TLayout l = Layout(string, length, *font, *layoutRect, f);
  const bool clip = layoutRect->Width > 0 && layoutRect->Height > 0 && !(f.flags & StringFormatFlagsNoClip);
  return Paint(graphics, [&](QPainter& p) {
    if (clip) p.setClipRect(QRectF(layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height), Qt::IntersectClip);
    p.setFont(l.font);
    p.setPen(QPen(BrushData(brush)->ForPainter(p), 1));
    for (int i = 0; i < l.lines.size(); ++i) p.drawText(LineOrigin(l, f, i), l.lines[i]);
  });
}

GpStatus GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                           REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format) {
  if (!path || !string || !family || !layoutRect || !(emSize > 0) || length < -1) return InvalidParameter;
  const GpFont font{family->name, emSize, style, UnitWorld};
  const GpStringFormat f = format ? *format : GpStringFormat();
  const TLayout l = Layout(string, length, font, *layoutRect, f);
  QPainterPath q;
  for (int i = 0; i < l.lines.size(); ++i) q.addText(LineOrigin(l, f, i), l.font, l.lines[i]);
  path->AppendClosed(q);
  return Ok;
}
