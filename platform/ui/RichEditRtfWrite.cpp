// Rich text markup writer: a font table, a colour table, then each paragraph with its runs,
// each run preceded only by the control words that change the format of the run before it.
// Characters outside ASCII are written as \uN with the font's code-page bytes as stand-in.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/ui/RichEditRtf_p.h"
#include "platform/win/QtBridge_p.h"

namespace rtf {

namespace {

struct TFontKey {
  QString family;
  int charset = 0;
  bool operator==(const TFontKey& o) const { return family == o.family && charset == o.charset; }
};

// The format of a run as the markup states it.
struct TRunFormat {
  int font = 0;
  int halfPoints = 24;
  bool bold = false, italic = false, underline = false, strike = false;
  int color = 0, back = 0;
  int script = 0;
  int offset = 0;  // twips
};

class TWriter {
public:
  TWriter(const QTextDocument& doc, const QFont& font) : doc_(doc), font_(font) {}

  std::string Run() {
    // First pass: the tables.
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next())
      for (auto it = b.begin(); !it.atEnd(); ++it) Of(it.fragment().charFormat());
    if (fonts_.empty()) FontIndex(TFontKey{font_.family(), 0});
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (size_t i = 0; i < fonts_.size(); ++i) {
      out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(fonts_[i].charset) + ' ';
      Text(out, fonts_[i].family, CharsetCodePage(fonts_[i].charset), false);
      out += ";}";
    }
    out += '}';
    if (!colors_.empty()) {
      out += "{\\colortbl ;";
      for (QRgb c : colors_)
        out += "\\red" + std::to_string(qRed(c)) + "\\green" + std::to_string(qGreen(c)) + "\\blue" +
               std::to_string(qBlue(c)) + ';';
      out += '}';
    }
    out += "\n\\uc1";
    // Second pass: the paragraphs.
    TRunFormat cur;
    cur.halfPoints = -1;  // forces the first run's size to be written
    bool first = true;
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
      if (!first) out += "\\par\n";
      first = false;
      out += "\\pard";
      const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
      if (a & Qt::AlignHCenter) out += "\\qc";
      else if (a & Qt::AlignJustify) out += "\\qj";
      else if (a & (Qt::AlignRight | Qt::AlignTrailing)) out += "\\qr";
      out += ' ';
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const TRunFormat r = Of(f.charFormat());
        Changes(out, cur, r);
        cur = r;
        Text(out, f.text(), CharsetCodePage(fonts_[size_t(r.font)].charset), true);
      }
    }
    out += "\n}\n";
    return out;
  }

private:
  int FontIndex(const TFontKey& k) {
    for (size_t i = 0; i < fonts_.size(); ++i)
      if (fonts_[i] == k) return int(i);
    fonts_.push_back(k);
    return int(fonts_.size()) - 1;
  }

  int ColorIndex(const QColor& c) {
    const QRgb rgb = c.rgb() | 0xFF000000u;
    for (size_t i = 0; i < colors_.size(); ++i)
      if (colors_[i] == rgb) return int(i) + 1;
    colors_.push_back(rgb);
    return int(colors_.size());
  }

  TRunFormat Of(const QTextCharFormat& f) {
    TRunFormat r;
    const QStringList families = f.fontFamilies().toStringList();
    TFontKey key{families.isEmpty() ? font_.family() : families.first(),
                 f.hasProperty(CharsetProperty) ? f.intProperty(CharsetProperty) : 0};
    if (CharsetCodePage(key.charset) == 0) key.charset = 0;
    r.font = FontIndex(key);
    const double pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : font_.pointSizeF();
    r.halfPoints = std::max(1, int(std::lround((pt > 0 ? pt : 10) * 2)));
    r.bold = f.fontWeight() >= QFont::DemiBold;
    r.italic = f.fontItalic();
    r.underline = f.fontUnderline();
    r.strike = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
      r.color = ColorIndex(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
      r.back = ColorIndex(f.background().color());
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) r.script = 1;
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) r.script = 2;
    r.offset = f.intProperty(OffsetProperty);
    return r;
  }

  static void Changes(std::string& out, const TRunFormat& a, const TRunFormat& b) {
    const size_t before = out.size();
    if (a.font != b.font) out += "\\f" + std::to_string(b.font);
    if (a.halfPoints != b.halfPoints) out += "\\fs" + std::to_string(b.halfPoints);
    if (a.bold != b.bold) out += b.bold ? "\\b" : "\\b0";
    if (a.italic != b.italic) out += b.italic ? "\\i" : "\\i0";
    if (a.underline != b.underline) out += b.underline ? "\\ul" : "\\ulnone";
    if (a.strike != b.strike) out += b.strike ? "\\strike" : "\\strike0";
    if (a.color != b.color) out += "\\cf" + std::to_string(b.color);
    if (a.back != b.back) out += "\\highlight" + std::to_string(b.back);
    if (a.script != b.script) out += b.script == 1 ? "\\super" : b.script == 2 ? "\\sub" : "\\nosupersub";
    if (a.offset != b.offset) {
      // Half points; an offset between whole half points is rounded.
      const int half = int(std::lround(std::abs(b.offset) / 10.0));
      out += (b.offset < 0 ? "\\dn" : "\\up") + std::to_string(half);
    }
    if (out.size() != before) out += ' ';
  }

  // Text as markup: ASCII as it is (with the three special characters escaped), the rest as
  // \uN with stand-in bytes of the code page (or "?" when it has no such character).
  static void Text(std::string& out, const QString& text, int codePage, bool body) {
    const std::string cp = CodePageName(codePage ? codePage : 1252);
    int uc = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t c = text[i].unicode();
      if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += char(c);
      } else if (body && c == QChar::LineSeparator) {
        out += "\\line ";
      } else if (body && c == u'\t') {
        out += "\\tab ";
      } else if (c >= 0x20 && c < 0x80) {
        out += char(c);
      } else if (c < 0x20) {
        continue;  // control characters carry nothing in markup
      } else {
        std::string bytes;
        const bool surrogate = QChar::isSurrogate(c);
        if (surrogate || !EncodeCodePage(String(1, Char(c)), cp.c_str(), bytes) || bytes.empty()) bytes = "?";
        if (surrogate && QChar::isLowSurrogate(c)) bytes.clear();  // the pair's stand-in went with its first half
        if (int(bytes.size()) != uc) {
          uc = int(bytes.size());
          out += "\\uc" + std::to_string(uc);
        }
        out += "\\u" + std::to_string(int16_t(c));
        if (bytes.empty()) out += ' ';
        for (unsigned char b : bytes) {
          static const char hex[] = "0123456789abcdef";
          out += "\\'";
          out += hex[b >> 4];
          out += hex[b & 15];
        }
      }
    }
    if (uc != 1) out += "\\uc1 ";
  }

  const QTextDocument& doc_;
  QFont font_;
  std::vector<TFontKey> fonts_;
  std::vector<QRgb> colors_;
};

}  // namespace

std::string Write(const QTextDocument& Doc, const QFont& DefaultFont) { return TWriter(Doc, DefaultFont).Run(); }

}  // namespace rtf
