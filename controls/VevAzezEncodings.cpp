// Line-break and cell text encodings used by the grid's files, clipboard copies and
// settings values. Each must read back exactly what the other side writes.
#include "controls/VevAzez.h"

namespace {

constexpr Char CR = 13, LF = 10;

// S with each character From replaced by To (an empty To drops it).
String ReplaceChar(const String& S, Char From, const String& To) {
  String r;
  for (Char c : S) {
    if (c == From) {
      r += To;
    } else {
      r += c;
    }
  }
  return r;
}

bool HasChar(const String& S, Char c) { return S.find(c) != String::npos; }

}  // namespace

String LineBreaksToHtml(const String& S) { return HasChar(S, CR) ? ReplaceChar(S, CR, u"<br>") : S; }

String BackslashNToCR(const String& S) { return StringReplace(S, u"\\n", String(1, CR), {rfReplaceAll}); }

String CRToBackslashN(const String& S) { return ReplaceChar(ReplaceChar(S, CR, u"\\n"), LF, u""); }

void EncodeCellLineBreaks(String& S) {
  S = u'"' + StringReplace(S, u"\r\n", String(1, Char(11)), {rfReplaceAll}) + u'"';
}

void RemoveCRFromCRLF(String& S) { S = StringReplace(S, u"\r\n", u"\n", {rfReplaceAll}); }

void DecodeCellLineBreaks(String& S) {
  if (HasChar(S, 11)) S = ReplaceChar(S, 11, u"\r\n");
}

void LineBreaksToTilde(String& S) { S = ReplaceChar(ReplaceChar(S, CR, u"~"), LF, u""); }

void TildeToLineBreaks(String& S) {
  S = ReplaceChar(S, u'~', u"\r\n");
  if (S == u"^") S.clear();
}

String EncodeLineBreakChars(const String& S) {
  if (!HasChar(S, CR)) return S;
  String r = S;
  for (Char& c : r) {
    if (c == CR) {
      c = 9;
    } else if (c == LF) {
      c = 8;
    } else if (c == 0) {
      c = 1;
    }
  }
  return r;
}

String DecodeLineBreakChars(const String& S, bool AllLines) {
  String r = S;
  if (HasChar(r, 8)) {
    for (Char& c : r) {
      if (c == 9) {
        c = CR;
      } else if (c == 8) {
        c = LF;
      } else if (c == 1) {
        c = 0;
      }
    }
  }
  if (AllLines) return r;
  String line;
  ExtractFirstLine(r, false, line);
  return line;
}

void ExtractFirstLine(String& S, bool KeepRest, String& Line) {
  size_t p = S.find(CR);
  if (p == String::npos) {
    Line = S;
    S.clear();
    return;
  }
  Line = S.substr(0, p);
  S.erase(0, p + 1);
  if (!S.empty() && S[0] == LF) S.erase(0, 1);
  if (!KeepRest) S.clear();
}

int LineCount(const String& S, bool MultiLine) { return MultiLine ? 1 + CharCount(CR, S) : 1; }

String StripCR(const String& S) { return ReplaceChar(S, CR, u""); }

String ReplaceCRWithLF(const String& S) { return ReplaceChar(S, CR, String(1, LF)); }

String PackWideText(const String& W) {
  String r = u"|\\";
  r.reserve(2 + 2 * W.size());
  for (Char c : W) {
    r += Char(c >> 8);
    r += Char(c & 0xFF);
  }
  return r;
}

String UnpackWideText(const String& S) {
  if (S.compare(0, 2, u"|\\") != 0) return S;
  String r;
  for (size_t i = 2; i + 1 < S.size(); i += 2) r += Char((S[i] * 256 + S[i + 1]) & 0xFFFF);
  return r;
}

uint8_t ClassifyCellText(const String& Text, bool AllowHtml) {
  const size_t n = Text.size();
  if (n == 0) return 0;
  if (Text[0] == u'=') return 3;
  const bool twoChars = n >= 2;
  if (twoChars && Text[0] == u'|' && Text[1] == u'\\') return (n >= 5 && Text[3] == u'=' && Text[4] == 0) ? 3 : 5;
  if (twoChars && Text[0] == u'{' && Text[1] == u'\\') return 2;
  if (AllowHtml) {
    // "</", "<B", "<I" or "<C" anywhere, in one pass over the text.
    for (size_t i = Text.find(u'<'); i != String::npos && i + 1 < n; i = Text.find(u'<', i + 1)) {
      const Char c = Text[i + 1];
      if (c == u'/' || c == u'B' || c == u'I' || c == u'C') return 1;
    }
  }
  return 0;
}
