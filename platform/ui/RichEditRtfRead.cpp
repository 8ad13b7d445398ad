// Rich text markup reader: one pass over the bytes with an explicit stack of group states, so
// neither deep nesting nor size makes it recurse or slow down; whatever damage it meets, the
// text read so far stays in the document.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/ui/RichEditRtf_p.h"
#include "platform/win/QtBridge_p.h"

namespace rtf {

bool IsRtf(std::string_view Bytes) { return Bytes.substr(0, 5) == "{\\rtf"; }

int CharsetCodePage(int Charset) {
  switch (Charset) {
    case 0: case 1: case 2: return 1252;  // ANSI, default, symbol
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0;
  }
}

std::string CodePageName(int CodePage) { return CodePage == 10000 ? "MACINTOSH" : "CP" + std::to_string(CodePage); }

namespace {

enum TDest : uint8_t { dText, dFontTable, dColorTable, dSkip };

struct TFontEntry {
  std::string name;  // bytes, decoded once the entry is complete
  QString family;
  int charset = -1;
  int codePage = 0;
};

// Formatting and destination of one group.
struct TGroupState {
  TDest dest = dText;
  int font = -1;        // font number (\fN), -1 for the default font
  double size = 0;      // points; 0 for the default size
  bool bold = false, italic = false, underline = false, strike = false;
  int color = 0;        // colour table index, 0 = automatic
  int back = 0;
  int offset = 0;       // twips, positive raises
  int script = 0;       // 1 superscript, 2 subscript
  int uc = 1;           // characters that stand in for each \uN
  Qt::Alignment align = Qt::AlignLeft;
  bool fontEntry = false;  // a group of the font table holding one font
};

class TReader {
public:
  TReader(std::string_view in, QTextDocument& doc, const QFont& font) : in_(in), doc_(doc), cursor_(&doc), font_(font) {}

  void Run() {
    doc_.clear();
    cursor_ = QTextCursor(&doc_);
    // One edit block: the document is laid out once at its end, not after every run (which
    // would take time growing with the square of a paragraph's length).
    cursor_.beginEditBlock();
    stack_.push_back(TGroupState());
    size_t i = 1;  // past the first '{'
    while (i < in_.size() && !done_) i = Step(i);
    Flush();
    // A final \par ends the last paragraph; it starts no empty one.
    if (endsWithPar_ && doc_.blockCount() > 1 && doc_.lastBlock().length() == 1) cursor_.deletePreviousChar();
    cursor_.endEditBlock();
  }

private:
  TGroupState& S() { return stack_.back(); }

  size_t Step(size_t i) {
    const char ch = in_[i];
    switch (ch) {
      case '{':
        Flush();
        if (int(stack_.size()) < MaxDepth) {
          stack_.push_back(S());
          S().fontEntry = false;
        } else {
          ++overflow_;
        }
        return i + 1;
      case '}':
        Flush();
        skip_ = 0;
        if (overflow_ > 0) {
          --overflow_;
        } else if (stack_.size() > 1) {
          if (S().fontEntry) EndFont();
          stack_.pop_back();
        } else {
          done_ = true;  // the closing brace of the document
        }
        return i + 1;
      case '\\': return ControlAt(i + 1);
      case '\r': case '\n': return i + 1;
      default:
        Byte(static_cast<uint8_t>(ch));
        return i + 1;
    }
  }

  // A control word or symbol after the backslash at From - 1.
  size_t ControlAt(size_t From) {
    if (From >= in_.size()) return From;
    const char c = in_[From];
    if (!IsLetter(c)) {
      switch (c) {
        case '\'': {
          if (From + 2 >= in_.size()) return in_.size();  // cut short
          const int hi = Hex(in_[From + 1]), lo = Hex(in_[From + 2]);
          if (hi < 0 || lo < 0) return From + 1;
          if (skip_ > 0) --skip_;
          else Byte(static_cast<uint8_t>(hi * 16 + lo), true);
          return From + 3;
        }
        case '\\': case '{': case '}':
          if (skip_ > 0) --skip_;
          else Byte(static_cast<uint8_t>(c), true);
          return From + 1;
        case '~': Char16(0x00A0); return From + 1;
        case '_': Char16(0x2011); return From + 1;
        case '*': S().dest = dSkip; return From + 1;
        case '\r': case '\n': Word("par", false, 0); return From + 1;
        default: return From + 1;  // \- and unknown symbols
      }
    }
    size_t j = From;
    while (j < in_.size() && IsLetter(in_[j]) && j - From < 32) ++j;
    const std::string word(in_.substr(From, j - From));
    while (j < in_.size() && IsLetter(in_[j])) ++j;  // an over-long word is cut
    bool hasParam = false;
    bool negative = false;
    int64_t param = 0;
    if (j < in_.size() && in_[j] == '-') {
      negative = true;
      ++j;
    }
    int digits = 0;
    while (j < in_.size() && in_[j] >= '0' && in_[j] <= '9') {
      if (digits++ < 10) param = param * 10 + (in_[j] - '0');
      hasParam = true;
      ++j;
    }
    param = std::min<int64_t>(param, 1 << 30);
    if (negative) param = -param;
    if (j < in_.size() && in_[j] == ' ') ++j;
    if (word == "bin") {  // binary data: skipped whole
      Flush();
      return j + static_cast<size_t>(std::clamp<int64_t>(param, 0, int64_t(in_.size() - j)));
    }
    if (skip_ > 0) {
      --skip_;
      return j;
    }
    Word(word, hasParam, int(param));
    return j;
  }

  void Word(const std::string& w, bool hasParam, int p) {
    TGroupState& s = S();
    const bool on = !hasParam || p != 0;
    // Destinations.
    if (w == "fonttbl") { Flush(); s.dest = dFontTable; return; }
    if (w == "colortbl") { Flush(); s.dest = dColorTable; return; }
    static const char* const skipped[] = {"info", "stylesheet", "pict", "object", "header", "footer", "headerl",
                                          "headerr", "headerf", "footerl", "footerr", "footerf", "footnote",
                                          "listtable", "listoverridetable", "revtbl", "filetbl", "themedata",
                                          "colorschememapping", "latentstyles", "datastore", "fldinst", "xe", "tc",
                                          "rsidtbl", "generator", "mmathPr", "nonshppict", "private"};
    for (const char* d : skipped)
      if (w == d) { Flush(); s.dest = dSkip; return; }
    if (s.dest == dSkip) return;
    if (s.dest == dFontTable) {
      if (w == "f") {
        EndFont();
        fontNo_ = p;
        fontOpen_ = true;
        s.fontEntry = true;
        fonts_[p] = TFontEntry();
      } else if (w == "fcharset" && fontOpen_) {
        fonts_[fontNo_].charset = p;
      } else if (w == "cpg" && fontOpen_) {
        fonts_[fontNo_].codePage = p;
      }
      return;
    }
    if (s.dest == dColorTable) {
      if (w == "red") red_ = std::clamp(p, 0, 255), colorSet_ = true;
      else if (w == "green") green_ = std::clamp(p, 0, 255), colorSet_ = true;
      else if (w == "blue") blue_ = std::clamp(p, 0, 255), colorSet_ = true;
      return;
    }
    if (w == "ansicpg") { codePage_ = p; return; }
    if (w == "deff") { deff_ = p; return; }
    if (w == "uc") { s.uc = std::clamp(p, 0, 16); return; }
    if (w == "u") {
      Char16(static_cast<char16_t>(p < 0 ? p + 65536 : p));
      skip_ = s.uc;
      return;
    }
    if (w == "par" || w == "sect") {
      Flush();
      ApplyBlock();
      cursor_.insertBlock();
      ApplyBlock();
      endsWithPar_ = true;
      return;
    }
    if (w == "line") { Char16(QChar::LineSeparator); return; }
    if (w == "tab") { Char16(u'\t'); return; }
    static const std::map<std::string, char16_t> symbols = {
        {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005}};
    if (auto it = symbols.find(w); it != symbols.end()) { Char16(it->second); return; }
    // Formatting: a change ends the run of text before it.
    TGroupState next = s;
    if (w == "plain") {
      next.font = -1, next.size = 0, next.bold = next.italic = next.underline = next.strike = false;
      next.color = next.back = next.offset = next.script = 0;
    } else if (w == "pard") next.align = Qt::AlignLeft;
    else if (w == "ql") next.align = Qt::AlignLeft;
    else if (w == "qr") next.align = Qt::AlignRight;
    else if (w == "qc") next.align = Qt::AlignHCenter;
    else if (w == "qj") next.align = Qt::AlignJustify;
    else if (w == "f") next.font = p;
    else if (w == "fs") next.size = hasParam && p > 0 ? std::min(p, 3276) / 2.0 : 0;
    else if (w == "b") next.bold = on;
    else if (w == "i") next.italic = on;
    else if (w == "ul") next.underline = on;
    else if (w == "ulnone") next.underline = false;
    else if (w == "strike") next.strike = on;
    else if (w == "cf") next.color = std::max(p, 0);
    else if (w == "cb" || w == "highlight" || w == "chcbpat") next.back = std::max(p, 0);
    else if (w == "super") next.script = 1;
    else if (w == "sub") next.script = 2;
    else if (w == "nosupersub") next.script = 0;
    else if (w == "up") next.offset = (hasParam ? std::clamp(p, 0, 3276) : 6) * 10;  // half points to twips
    else if (w == "dn") next.offset = -(hasParam ? std::clamp(p, 0, 3276) : 6) * 10;
    else return;  // a word this reader does not use
    if (next.align != s.align) {
      s.align = next.align;
      if (w != "pard") ApplyBlock();
    }
    if (std::tie(next.font, next.size, next.bold, next.italic, next.underline, next.strike, next.color, next.back,
                 next.offset, next.script) !=
        std::tie(s.font, s.size, s.bold, s.italic, s.underline, s.strike, s.color, s.back, s.offset, s.script)) {
      Flush();
      s = next;
    }
  }

  // A byte of text (a character of the current font's code page), or a literal one.
  void Byte(uint8_t b, bool escaped = false) {
    TGroupState& s = S();
    if (s.dest == dSkip) return;
    if (s.dest == dColorTable) {
      if (b == ';') {
        colors_.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
      }
      return;
    }
    if (s.dest == dFontTable) {
      if (!fontOpen_) return;
      if (b == ';' && !escaped) EndFont();
      else if (fonts_[fontNo_].name.size() < 256) fonts_[fontNo_].name.push_back(char(b));
      return;
    }
    if (skip_ > 0) {
      --skip_;
      return;
    }
    if (b < 0x80 && bytes_.empty()) {
      Append(b);
      return;
    }
    bytes_.push_back(char(b));
  }

  void Char16(char16_t c) {
    if (S().dest != dText) return;
    DecodeBytes();
    Append(c);
  }

  // Control characters other than TAB are no text (breaks come as \par and \line).
  void Append(char16_t c) {
    if (c < 0x20 && c != u'\t') return;
    text_.append(QChar(c));
    endsWithPar_ = false;
  }

  void EndFont() {
    if (!fontOpen_) return;
    fontOpen_ = false;
    TFontEntry& f = fonts_[fontNo_];
    String name;
    std::string bytes = f.name;
    while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == ';')) bytes.pop_back();
    DecodeCodePage(bytes, CodePageName(FontCodePage(fontNo_)).c_str(), name, true);
    f.family = ToQString(name).trimmed();
  }

  int FontCodePage(int font) const {
    auto it = fonts_.find(font < 0 ? deff_ : font);
    int cp = 0;
    if (it != fonts_.end()) cp = it->second.codePage ? it->second.codePage : CharsetCodePage(it->second.charset);
    if (cp == 0) cp = codePage_ ? codePage_ : 1252;
    return cp;
  }

  // The pending bytes as text of the current font's code page.
  void DecodeBytes() {
    if (bytes_.empty()) return;
    String t;
    std::string name = CodePageName(FontCodePage(S().font));
    if (!CodePageKnown(name.c_str())) name = "CP1252";
    DecodeCodePage(bytes_, name.c_str(), t, true);
    for (Char c : t) Append(c);
    bytes_.clear();
  }

  // Puts the text gathered so far into the document in the current format.
  void Flush() {
    DecodeBytes();
    if (text_.isEmpty() || S().dest != dText) {
      text_.clear();
      return;
    }
    cursor_.insertText(text_, Format());
    text_.clear();
  }

  void ApplyBlock() {
    QTextBlockFormat b = cursor_.blockFormat();
    if (b.alignment() == S().align) return;
    b.setAlignment(S().align);
    cursor_.setBlockFormat(b);
  }

  QTextCharFormat Format() const {
    const TGroupState& s = stack_.back();
    QTextCharFormat f;
    QString family = font_.family();
    auto it = fonts_.find(s.font < 0 ? deff_ : s.font);
    if (it != fonts_.end() && !it->second.family.isEmpty()) family = it->second.family;
    f.setFontFamilies(QStringList{family});
    if (it != fonts_.end() && it->second.charset >= 0) f.setProperty(CharsetProperty, it->second.charset);
    f.setFontPointSize(s.size > 0 ? s.size : font_.pointSizeF() > 0 ? font_.pointSizeF() : 10);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.color > 0 && s.color < int(colors_.size()) && colors_[size_t(s.color)].isValid())
      f.setForeground(colors_[size_t(s.color)]);
    if (s.back > 0 && s.back < int(colors_.size()) && colors_[size_t(s.back)].isValid())
      f.setBackground(colors_[size_t(s.back)]);
    if (s.script == 1) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (s.script == 2) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.offset != 0) {
      f.setProperty(OffsetProperty, s.offset);
      const double pt = f.fontPointSize();
      f.setBaselineOffset(s.offset / 20.0 / pt * 100.0);
    }
    return f;
  }

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::string_view in_;
  QTextDocument& doc_;
  QTextCursor cursor_;
  QFont font_;
  std::vector<TGroupState> stack_;
  int overflow_ = 0;   // groups opened past the depth limit
  bool done_ = false;
  int skip_ = 0;       // stand-in characters of a \uN still to skip
  bool endsWithPar_ = false;
  int codePage_ = 0;
  int deff_ = 0;
  std::map<int, TFontEntry> fonts_;
  int fontNo_ = 0;
  bool fontOpen_ = false;
  std::vector<QColor> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorSet_ = false;
  std::string bytes_;  // text bytes waiting to be decoded
  QString text_;       // decoded text waiting to go into the document
};

}  // namespace

bool Read(std::string_view Bytes, QTextDocument& Doc, const QFont& DefaultFont) {
  if (!IsRtf(Bytes)) return false;
  TReader(Bytes, Doc, DefaultFont).Run();
  return true;
}

}  // namespace rtf
