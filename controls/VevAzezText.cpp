// Text, number and character routines.
#include "controls/VevAzez.h"

#include <algorithm>
#include <iterator>

#include "platform/rtl/CodePages.h"

namespace {

// The system's ANSI and OEM code pages (both the Japanese one).
constexpr const char* kAnsiCodePage = "CP932";
constexpr const char* kOemCodePage = "CP932";

// Characters of the Unicode number categories (Nd, Nl, No) in the 16-bit range.
struct TCharRange {
  Char First, Last;
};
constexpr TCharRange kNumberRanges[] = {
    {0x0030, 0x0039}, {0x00B2, 0x00B3}, {0x00B9, 0x00B9}, {0x00BC, 0x00BE}, {0x0660, 0x0669},
    {0x06F0, 0x06F9}, {0x07C0, 0x07C9}, {0x0966, 0x096F}, {0x09E6, 0x09EF}, {0x09F4, 0x09F9},
    {0x0A66, 0x0A6F}, {0x0AE6, 0x0AEF}, {0x0B66, 0x0B6F}, {0x0B72, 0x0B77}, {0x0BE6, 0x0BF2},
    {0x0C66, 0x0C6F}, {0x0C78, 0x0C7E}, {0x0CE6, 0x0CEF}, {0x0D58, 0x0D5E}, {0x0D66, 0x0D78},
    {0x0DE6, 0x0DEF}, {0x0E50, 0x0E59}, {0x0ED0, 0x0ED9}, {0x0F20, 0x0F33}, {0x1040, 0x1049},
    {0x1090, 0x1099}, {0x1369, 0x137C}, {0x16EE, 0x16F0}, {0x17E0, 0x17E9}, {0x17F0, 0x17F9},
    {0x1810, 0x1819}, {0x1946, 0x194F}, {0x19D0, 0x19DA}, {0x1A80, 0x1A89}, {0x1A90, 0x1A99},
    {0x1B50, 0x1B59}, {0x1BB0, 0x1BB9}, {0x1C40, 0x1C49}, {0x1C50, 0x1C59}, {0x2070, 0x2070},
    {0x2074, 0x2079}, {0x2080, 0x2089}, {0x2150, 0x2182}, {0x2185, 0x2189}, {0x2460, 0x249B},
    {0x24EA, 0x24FF}, {0x2776, 0x2793}, {0x2CFD, 0x2CFD}, {0x3007, 0x3007}, {0x3021, 0x3029},
    {0x3038, 0x303A}, {0x3192, 0x3195}, {0x3220, 0x3229}, {0x3248, 0x324F}, {0x3251, 0x325F},
    {0x3280, 0x3289}, {0x32B1, 0x32BF}, {0xA620, 0xA629}, {0xA6E6, 0xA6EF}, {0xA830, 0xA835},
    {0xA8D0, 0xA8D9}, {0xA900, 0xA909}, {0xA9D0, 0xA9D9}, {0xA9F0, 0xA9F9}, {0xAA50, 0xAA59},
    {0xABF0, 0xABF9}, {0xFF10, 0xFF19},
};

// Each character (a surrogate pair as one) through From and back through To; characters
// From cannot carry become '?', as the system conversions substitute them.
String RoundTrip(const String& S, const char* From, const char* To) {
  std::string bytes;
  for (size_t i = 0; i < S.size();) {
    size_t n = (S[i] >= 0xD800 && S[i] < 0xDC00 && i + 1 < S.size()) ? 2 : 1;
    std::string one;
    bytes += EncodeCodePage(S.substr(i, n), From, one) ? one : std::string("?");
    i += n;
  }
  String out;
  DecodeCodePage(bytes, To, out, true);
  return out;
}

Char UpperChar(Char c) {
  String u = AnsiUpperCase(String(1, c));
  return u.size() == 1 ? u[0] : c;
}

Char LowerChar(Char c) {
  String l = AnsiLowerCase(String(1, c));
  return l.size() == 1 ? l[0] : c;
}

}  // namespace

Char GetTimeSeparator() { return FormatSettings.TimeSeparator; }
Char GetDateSeparator() { return FormatSettings.DateSeparator; }
Char GetThousandSeparator() { return FormatSettings.ThousandSeparator; }
Char GetDecimalSeparator() { return FormatSettings.DecimalSeparator; }
String GetShortDateFormat() { return FormatSettings.ShortDateFormat; }

int32_t IntMax(int32_t A, int32_t B) { return A > B ? A : B; }
int32_t IntMin(int32_t A, int32_t B) { return A < B ? A : B; }

int32_t ClampToLimits(int32_t Value, int32_t Min, int32_t Max) {
  if (Min == Max) return Value;
  int32_t r = Value;
  if (Value < Min && Min > 0) r = Min;
  if (Value > Max && Max > 0) r = Max;
  return r;
}

int FindCharPos(Char Ch, const String& S) { return Pos(Ch, S); }

int FindCharPosVar(Char Ch, const String& S, int& P) {
  int r = Pos(Ch, S);
  if (r > 0) P = r;
  return r;
}

int FindPosVar(const String& Sub, const String& S, int& P) {
  P = Pos(Sub, S);
  return P;
}

int CaseInsensitivePos(const String& Sub, const String& S) { return Pos(Sub, UpperCase(S)); }

int WideStrPos(const String& Sub, const String& S) { return Pos(Sub, S); }

int CharCount(Char Ch, const String& S) { return static_cast<int>(std::count(S.begin(), S.end(), Ch)); }

int FindUndoubledChar(Char Ch, const String& S, int& P) {
  int n = 0;
  const int len = Length(S);
  for (int j = 1; j <= len; ++j) {
    if (S[j - 1] == Ch) {
      if (j == len) return P = j;
      ++n;
    } else {
      if (n % 2 == 1) return P = j - 1;
      n = 0;
    }
  }
  return P = 0;
}

int CountUndoubledChars(Char Ch, const String& S) {
  // One pass over the runs of Ch: a run of odd length counts once, and so does a run that
  // reaches the end of S (as repeated FindUndoubledChar calls count them).
  int count = 0;
  size_t i = 0;
  const size_t n = S.size();
  while (i < n) {
    if (S[i] != Ch) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && S[j] == Ch) ++j;
    if (j == n || (j - i) % 2 == 1) ++count;
    i = j;
  }
  return count;
}

String UndoubleChar(Char Ch, const String& S) {
  if (S.find(Ch) == String::npos) return S;
  String r;
  for (size_t i = 0; i < S.size(); ++i) {
    r += S[i];
    if (S[i] == Ch && i + 1 < S.size() && S[i + 1] == Ch) ++i;
  }
  return r;
}

Char FindCharOutsideQuotes(const TCharSet& Chars, const String& S, int& P) {
  P = -1;
  int quotes = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'"') ++quotes;
    if (quotes % 2 == 0 && std::find(Chars.begin(), Chars.end(), S[i]) != Chars.end()) {
      P = static_cast<int>(i) + 1;
      return S[i];
    }
  }
  return 0;
}

bool CellInGridRect(const TGridRect& R, int ACol, int ARow) {
  return R.Left <= ACol && ACol <= R.Right && R.Top <= ARow && ARow <= R.Bottom;
}

String ExtractToken(String& S, const String& Sep) {
  int p = Pos(Sep, S);
  if (p == 0) return String();
  String token = Copy(S, 1, p - 1);
  Delete(S, 1, p);
  return token;
}

String ConcatStrings(const TStrings* List) {
  String r;
  if (!List) return r;
  for (int i = 0; i < List->Count(); ++i) r += List->Strings(i);
  return r;
}

bool ParseR1C1Ref(const String& S, TPoint& P) {
  String u = UpperCase(S);
  if (Length(u) <= 3 || u[0] != u'R') return false;
  Delete(u, 1, 1);
  int c = Pos(u'C', u);
  int32_t row, col;
  if (c == 0 || !TryStrToInt(Copy(u, 1, c - 1), row) || !TryStrToInt(Copy(u, c + 1), col)) return false;
  P.X = col;
  P.Y = row;
  return true;
}

bool IsUrl(const String& S) { return Pos(u"://", S) > 0 || Pos(u"mailto:", S) > 0; }

void StripUrlProtocol(String& S) {
  if (int p = Pos(u"://", S); p > 0) {
    Delete(S, 1, p + 2);
  } else if (int m = Pos(u"mailto:", S); m > 0) {
    Delete(S, 1, m + 6);
  }
}

bool IsDigitChar(Char Ch) {
  return std::any_of(std::begin(kNumberRanges), std::end(kNumberRanges),
                     [Ch](const TCharRange& r) { return Ch >= r.First && Ch <= r.Last; });
}

bool IsSignedDigitChar(Char Ch) { return IsDigitChar(Ch) || Ch == u'-'; }

bool IsNumberTextChar(Char Ch) {
  return IsDigitChar(Ch) || Ch == GetThousandSeparator() || Ch == GetDecimalSeparator() || Ch == u'e' ||
         Ch == u'E';
}

bool IsSignedNumberTextChar(Char Ch) { return IsNumberTextChar(Ch) || Ch == u'+' || Ch == u'-'; }

bool IsPlainFloatChar(Char Ch) {
  return IsDigitChar(Ch) || Ch == u'-' || Ch == u'.' || Ch == u'e' || Ch == u'E' || Ch == u'+';
}

bool IsWordBreakChar(Char Ch) { return Ch == u' ' || Ch == u'\'' || Ch == u',' || Ch == u'-' || Ch == u'.'; }

uint8_t NumberTextKind(const String& S) {
  if (S.empty()) return 2;
  const Char thousand = GetThousandSeparator(), decimal = GetDecimalSeparator();
  bool allDigits = true, floatOK = true, expOK = true, hasE = false;
  int lastThousand = -1, decimalCount = 0, minusCount = 0;
  const int len = Length(S);
  for (int i = 1; i <= len; ++i) {
    const Char c = S[i - 1];
    const bool isE = c == u'e' || c == u'E';
    if (!IsSignedDigitChar(c)) allDigits = false;
    if (isE) {
      if (hasE) expOK = false;
      hasE = true;
    }
    if (i > 1 && c == u'-') allDigits = floatOK = false;
    if (i == 1 && isE) expOK = false;
    if (i == len && (isE || c == u'+' || c == u'-')) expOK = false;
    if (!IsDigitChar(c) && c != u'-' && c != thousand && c != decimal) floatOK = false;
    if (!IsSignedNumberTextChar(c) || c == thousand) expOK = false;
    if (c == thousand) {
      if (lastThousand != -1 && i - lastThousand < 4) floatOK = false;
      lastThousand = i;
    }
    if (c == decimal) ++decimalCount;
    if (c == u'-') ++minusCount;
  }
  uint8_t r;
  if (allDigits) {
    r = 0;
  } else {
    r = (floatOK && !hasE) ? 1 : 2;
    if (expOK && hasE) {
      r = 5;
      // A signed number with a signed exponent carries two minus signs.
      if (minusCount == 2) minusCount = 1;
    }
  }
  if (minusCount > 1 || decimalCount > 1) r = 2;
  return r;
}

String StripNumberFormat(const String& Source) {
  if (Source.empty()) return String();
  String S = Trim(Source);
  bool negative = !S.empty() && S.front() == u'(' && S.back() == u')';
  // Drop currency signs, brackets and blanks in front of the number.
  while (S.size() >= 2 && !IsNumberTextChar(S[0])) {
    if (S[0] == u'-') negative = true;
    S.erase(0, 1);
  }
  const Char thousand = GetThousandSeparator(), decimal = GetDecimalSeparator();
  String r;
  for (Char c : S) {
    if (c == thousand) continue;
    if (c == decimal) {
      r += u'.';
    } else if (IsPlainFloatChar(c)) {
      r += c;
    } else {
      break;
    }
  }
  return negative ? u'-' + r : r;
}

String NormalizeDecimalText(const Char* P) {
  String r;
  if (!P) return r;
  const Char thousand = GetThousandSeparator(), decimal = GetDecimalSeparator();
  for (; *P; ++P) {
    if (*P == decimal) {
      r += u'.';
    } else if (*P != thousand) {
      r += *P;
    }
  }
  return r;
}

String EscapeCsvQuotes(const String& S) { return StringReplace(S, u"\"", u"\"\"", {rfReplaceAll}); }

void FillStringChars(String& S, Char Ch) { std::fill(S.begin(), S.end(), Ch); }

void StringToOem(String& S) { S = RoundTrip(S, kOemCodePage, kAnsiCodePage); }

void OemToString(String& S) { S = RoundTrip(S, kAnsiCodePage, kOemCodePage); }

String ToMixedCase(const String& S) {
  String T = S;
  bool up = true;
  const int len = Length(S);
  for (int i = 1; i <= len; ++i) {
    if (IsWordBreakChar(T[i - 1])) {
      up = true;
    } else if (up) {
      T[i - 1] = UpperChar(S[i - 1]);
      up = false;
    } else {
      T[i - 1] = LowerChar(S[i - 1]);
    }
    // "Mc" starts a new word inside the name; so do the Roman numerals I and II at its end.
    if (i == 2 && T.compare(0, 2, u"Mc") == 0) {
      up = true;
    } else if (i > 2 && Pos(u" Mc", T) == i - 2) {
      up = true;
    } else if (i > len - 3) {
      if ((i >= 2 && Copy(T, i - 1, 2) == u" I") || (i >= 3 && Copy(T, i - 2, 3) == u" II")) up = true;
    }
  }
  return T;
}
