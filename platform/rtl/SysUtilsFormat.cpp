// Floating-point texts, picture formatting, Format and text-to-float conversion.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

// Significant digits a double keeps reliably; every text is made from this many.
constexpr int kMaxDigits = 15;

// A decimal number 0.d1d2d3... x 10^Point. Digits hold no trailing zeros; zero has none.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Point = 0;
  bool IsZero() const { return Digits.empty(); }
};

void RoundDigits(TDecimal& d, int count);

TDecimal ToDecimal(double v, int precision) {
  TDecimal d;
  d.Negative = std::signbit(v);
  if (v == 0) {
    d.Negative = false;
    return d;
  }
  precision = std::clamp(precision, 1, kMaxDigits);
  // 17 digits identify the double; rounding them to the precision then goes half away
  // from zero on the decimal text, as a reader expects (1234.5 -> 1235 at 4 digits).
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(v));
  // buf: "d.ddddde+XX"
  std::string s(buf);
  size_t e = s.find('e');
  d.Digits.push_back(s[0]);
  for (size_t i = 2; i < e; ++i) d.Digits.push_back(s[i]);
  d.Point = std::stoi(s.substr(e + 1)) + 1;
  RoundDigits(d, precision);
  return d;
}

// Keeps Count leading digits, rounding half away from zero.
void RoundDigits(TDecimal& d, int count) {
  if (count >= static_cast<int>(d.Digits.size())) return;
  if (count < 0) {
    d.Digits.clear();
  } else {
    bool up = d.Digits[static_cast<size_t>(count)] >= '5';
    d.Digits.resize(static_cast<size_t>(count));
    if (up) {
      int i = count - 1;
      while (i >= 0 && d.Digits[static_cast<size_t>(i)] == '9') d.Digits[static_cast<size_t>(i--)] = '0';
      if (i >= 0) {
        ++d.Digits[static_cast<size_t>(i)];
      } else {
        d.Digits.insert(d.Digits.begin(), '1');
        ++d.Point;
      }
    }
  }
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) {
    d.Negative = false;
    d.Point = 0;
  }
}

// Rounds to a number of decimals.
void RoundDecimals(TDecimal& d, int decimals) { RoundDigits(d, d.Point + decimals); }

String Ascii(const std::string& s) { return String(s.begin(), s.end()); }

char DigitAt(const TDecimal& d, int i) {
  return (i >= 0 && i < static_cast<int>(d.Digits.size())) ? d.Digits[static_cast<size_t>(i)] : '0';
}

// Integer digits of d ("" when the integer part is zero).
std::string IntegerDigits(const TDecimal& d) {
  std::string r;
  for (int i = 0; i < d.Point; ++i) r.push_back(DigitAt(d, i));
  return r;
}

String Grouped(const std::string& digits, Char sep) {
  String r;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    r.push_back(static_cast<Char>(digits[static_cast<size_t>(i)]));
    int left = n - 1 - i;
    if (sep && left > 0 && left % 3 == 0) r.push_back(sep);
  }
  return r;
}

String ExponentText(int exp, bool forcePlus, int minDigits) {
  std::string digits = std::to_string(exp < 0 ? -exp : exp);
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
  String r;
  if (exp < 0) r.push_back(u'-');
  else if (forcePlus) r.push_back(u'+');
  return r + Ascii(digits);
}

String SpecialText(double v) {
  if (std::isnan(v)) return u"NAN";
  return v < 0 ? u"-INF" : u"INF";
}

String FormatGeneral(double v, int precision, int expDigits, const TFormatSettings& fs) {
  precision = std::clamp(precision, 1, kMaxDigits);
  TDecimal d = ToDecimal(v, precision);
  if (d.IsZero()) return u"0";
  String r = d.Negative ? u"-" : u"";
  const int n = static_cast<int>(d.Digits.size());
  if (d.Point > precision || d.Point < -3) {
    r.push_back(static_cast<Char>(d.Digits[0]));
    if (n > 1) {
      r.push_back(fs.DecimalSeparator);
      r += Ascii(d.Digits.substr(1));
    }
    return r + u"E" + ExponentText(d.Point - 1, false, expDigits);
  }
  if (d.Point <= 0) {
    r += u"0";
    r.push_back(fs.DecimalSeparator);
    r += String(static_cast<size_t>(-d.Point), u'0') + Ascii(d.Digits);
    return r;
  }
  r += Ascii(IntegerDigits(d));
  if (n > d.Point) {
    r.push_back(fs.DecimalSeparator);
    r += Ascii(d.Digits.substr(static_cast<size_t>(d.Point)));
  }
  return r;
}

String FormatExponent(double v, int precision, int expDigits, const TFormatSettings& fs) {
  precision = std::clamp(precision, 1, kMaxDigits);
  TDecimal d = ToDecimal(v, precision);
  String r = d.Negative ? u"-" : u"";
  r.push_back(static_cast<Char>(DigitAt(d, 0)));
  if (precision > 1) {
    r.push_back(fs.DecimalSeparator);
    for (int i = 1; i < precision; ++i) r.push_back(static_cast<Char>(DigitAt(d, i)));
  }
  return r + u"E" + ExponentText(d.IsZero() ? 0 : d.Point - 1, true, expDigits);
}

// Fixed decimals, optionally grouped; Negative tells whether a sign belongs in front.
String FixedBody(const TDecimal& d, int decimals, Char thousand, const TFormatSettings& fs) {
  std::string intDigits = IntegerDigits(d);
  if (intDigits.empty()) intDigits.push_back('0');
  String r = Grouped(intDigits, thousand);
  if (decimals > 0) {
    r.push_back(fs.DecimalSeparator);
    for (int i = 0; i < decimals; ++i) r.push_back(static_cast<Char>(DigitAt(d, d.Point + i)));
  }
  return r;
}

String CurrencyText(const String& body, bool negative, const TFormatSettings& fs) {
  static const char16_t* const pos[] = {u"$1", u"1$", u"$ 1", u"1 $"};
  static const char16_t* const neg[] = {u"($1)", u"-$1",   u"$-1",  u"$1-",  u"(1$)",  u"-1$",  u"1-$",   u"1$-",
                                        u"-1 $", u"-$ 1",  u"1 $-", u"$ 1-", u"$ -1",  u"1- $", u"($ 1)", u"(1 $)"};
  const char16_t* pattern = negative ? neg[fs.NegCurrFormat % 16] : pos[fs.CurrencyFormat % 4];
  String r;
  for (const char16_t* p = pattern; *p; ++p) {
    if (*p == u'$') r += fs.CurrencyString;
    else if (*p == u'1') r += body;
    else r.push_back(*p);
  }
  return r;
}

}  // namespace

String FloatToStrF(double v, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& fs) {
  if (!std::isfinite(v)) return SpecialText(v);
  switch (Format) {
    case ffGeneral:
      return FormatGeneral(v, Precision, Digits, fs);
    case ffExponent:
      return FormatExponent(v, Precision, Digits, fs);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      Digits = std::clamp(Digits, 0, 18);
      TDecimal d = ToDecimal(v, std::min(Precision, kMaxDigits));
      // Too many integer digits for the precision: scientific form.
      if (d.Point > std::max(Precision, 1)) return FormatGeneral(v, Precision, 0, fs);
      RoundDecimals(d, Digits);
      Char thousand = Format == ffFixed ? Char(0) : fs.ThousandSeparator;
      String body = FixedBody(d, Digits, thousand, fs);
      if (Format == ffCurrency) return CurrencyText(body, d.Negative, fs);
      return d.Negative ? u"-" + body : body;
    }
  }
  return String();
}

String FloatToStrF(double v, TFloatFormat Format, int Precision, int Digits) {
  return FloatToStrF(v, Format, Precision, Digits, FormatSettings);
}

String FloatToStr(double v, const TFormatSettings& fs) { return FloatToStrF(v, ffGeneral, kMaxDigits, 0, fs); }
String FloatToStr(double v) { return FloatToStr(v, FormatSettings); }

String CurrToStr(double v, const TFormatSettings& fs) {
  if (!std::isfinite(v)) return SpecialText(v);
  TDecimal d = ToDecimal(v, kMaxDigits);
  RoundDecimals(d, 4);
  String r = d.Negative ? u"-" : u"";
  std::string intDigits = IntegerDigits(d);
  r += Ascii(intDigits.empty() ? "0" : intDigits);
  if (static_cast<int>(d.Digits.size()) > d.Point) {
    r.push_back(fs.DecimalSeparator);
    for (int i = d.Point; i < static_cast<int>(d.Digits.size()); ++i) r.push_back(static_cast<Char>(DigitAt(d, i)));
  }
  return r;
}
String CurrToStr(double v) { return CurrToStr(v, FormatSettings); }

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

// Splits a picture into its ';' sections, leaving quoted text intact.
std::vector<String> SplitSections(const String& f) {
  std::vector<String> out(1);
  Char quote = 0;
  for (Char c : f) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      out.emplace_back();
      continue;
    }
    out.back().push_back(c);
  }
  return out;
}

// What a section asks for: placeholders around the point, grouping, exponent.
struct TPicture {
  int IntPlaces = 0;    // 0 and # before the point
  int IntZeros = 0;     // placeholders from the first 0 before the point
  int DecPlaces = 0;    // 0 and # after the point
  int DecZeros = 0;     // placeholders up to the last 0 after the point
  bool Thousands = false;
  bool Scientific = false;
};

bool IsExponentAt(const String& f, size_t i) {
  return (f[i] == u'E' || f[i] == u'e') && i + 1 < f.size() && (f[i + 1] == u'+' || f[i + 1] == u'-');
}

TPicture Analyse(const String& f) {
  TPicture p;
  bool afterPoint = false;
  int firstZero = -1;
  for (size_t i = 0; i < f.size(); ++i) {
    Char c = f[i];
    if (c == u'\'' || c == u'"') {
      size_t e = f.find(c, i + 1);
      i = e == String::npos ? f.size() : e;
    } else if (c == u'0' || c == u'#') {
      if (afterPoint) {
        ++p.DecPlaces;
        if (c == u'0') p.DecZeros = p.DecPlaces;
      } else {
        if (c == u'0' && firstZero < 0) firstZero = p.IntPlaces;
        ++p.IntPlaces;
      }
    } else if (c == u'.') {
      afterPoint = true;
    } else if (c == u',') {
      p.Thousands = true;
    } else if (IsExponentAt(f, i)) {
      p.Scientific = true;
      break;
    }
  }
  p.IntZeros = firstZero < 0 ? 0 : p.IntPlaces - firstZero;
  return p;
}

// Writes one section for the magnitude in d (already rounded as the picture asks).
String ApplyPicture(const String& f, const TPicture& p, const TDecimal& d, int exponent, const TFormatSettings& fs) {
  // Integer digits, padded to the required minimum.
  std::string intDigits;
  std::string frac;
  if (p.Scientific) {
    for (int i = 0; i < p.IntPlaces; ++i) intDigits.push_back(DigitAt(d, i));
    for (int i = 0; i < p.DecPlaces; ++i) frac.push_back(DigitAt(d, p.IntPlaces + i));
    while (static_cast<int>(intDigits.size()) > p.IntZeros && intDigits[0] == '0') intDigits.erase(0, 1);
  } else {
    intDigits = IntegerDigits(d);
    for (int i = 0; i < p.DecPlaces; ++i) frac.push_back(DigitAt(d, d.Point + i));
    while (static_cast<int>(intDigits.size()) < p.IntZeros) intDigits.insert(intDigits.begin(), '0');
  }
  while (static_cast<int>(frac.size()) > p.DecZeros && frac.back() == '0') frac.pop_back();

  const Char sep = p.Thousands ? fs.ThousandSeparator : Char(0);
  const int nInt = static_cast<int>(intDigits.size());
  auto emitInt = [&](String& out, int from, int to) {  // digits [from, to) with grouping
    for (int k = std::max(from, 0); k < to; ++k) {
      out.push_back(static_cast<Char>(intDigits[static_cast<size_t>(k)]));
      int left = nInt - 1 - k;
      if (sep && left > 0 && left % 3 == 0) out.push_back(sep);
    }
  };

  String out;
  bool afterPoint = false;
  int intSeen = 0, decSeen = 0;
  const int extra = nInt - p.IntPlaces;  // digits beyond the placeholders go with the first one
  for (size_t i = 0; i < f.size(); ++i) {
    Char c = f[i];
    if (c == u'\'' || c == u'"') {
      size_t e = f.find(c, i + 1);
      size_t end = e == String::npos ? f.size() : e;
      out.append(f, i + 1, end - i - 1);
      i = end;
    } else if (c == u'0' || c == u'#') {
      if (afterPoint) {
        if (decSeen < static_cast<int>(frac.size())) out.push_back(static_cast<Char>(frac[static_cast<size_t>(decSeen)]));
        ++decSeen;
      } else {
        if (intSeen == 0 && extra > 0) emitInt(out, 0, extra);
        int idx = extra + intSeen;
        if (idx >= 0) emitInt(out, idx, idx + 1);
        ++intSeen;
      }
    } else if (c == u'.') {
      if (!afterPoint) {
        if (p.IntPlaces == 0) emitInt(out, 0, nInt);
        if (!frac.empty()) out.push_back(fs.DecimalSeparator);
        afterPoint = true;
      }
    } else if (c == u',') {
      // grouping is done with the digits
    } else if (p.Scientific && IsExponentAt(f, i)) {
      out.push_back(c);
      bool forcePlus = f[i + 1] == u'+';
      size_t j = i + 2;
      int minDigits = 0;
      while (j < f.size() && (f[j] == u'0' || f[j] == u'#')) {
        if (f[j] == u'0') ++minDigits;
        ++j;
      }
      out += ExponentText(exponent, forcePlus, minDigits);
      i = j - 1;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Rounds |v| as picture p needs; returns the decimal and, for scientific pictures, the exponent.
TDecimal RoundForPicture(double v, const TPicture& p, int& exponent) {
  TDecimal d = ToDecimal(std::fabs(v), kMaxDigits);
  exponent = 0;
  if (p.Scientific) {
    if (!d.IsZero()) {
      RoundDigits(d, std::max(p.IntPlaces + p.DecPlaces, 1));
      if (!d.IsZero()) exponent = d.Point - p.IntPlaces;
    }
  } else {
    RoundDecimals(d, p.DecPlaces);
  }
  return d;
}

}  // namespace

String FormatFloat(const String& Format, double v, const TFormatSettings& fs) {
  if (!std::isfinite(v)) return SpecialText(v);
  std::vector<String> sections = SplitSections(Format);
  if (Format.empty()) return FloatToStrF(v, ffGeneral, kMaxDigits, 0, fs);
  const bool negative = v < 0;
  size_t index = (negative && sections.size() > 1 && !sections[1].empty()) ? 1 : 0;
  TPicture p = Analyse(sections[index]);
  int exponent;
  TDecimal d = RoundForPicture(v, p, exponent);
  if (d.IsZero()) {
    // A value that shows as zero takes the zero section, else the first one, unsigned.
    index = (sections.size() > 2 && !sections[2].empty()) ? 2 : 0;
    p = Analyse(sections[index]);
    d = RoundForPicture(0.0, p, exponent);
  }
  String body = ApplyPicture(sections[index], p, d, exponent, fs);
  return (negative && index == 0 && !d.IsZero()) ? u"-" + body : body;
}

String FormatFloat(const String& Format, double v) { return FormatFloat(Format, v, FormatSettings); }

// ---------------------------------------------------------------------------
// Text to float

bool TryStrToFloat(const String& s, double& Value, const TFormatSettings& fs) {
  String t = Trim(s);
  if (t.empty()) return false;
  std::string a;
  a.reserve(t.size());
  size_t i = 0;
  bool negative = false;
  if (t[0] == u'+' || t[0] == u'-') {
    negative = t[0] == u'-';
    i = 1;
  }
  for (; i < t.size(); ++i) {
    Char c = t[i];
    if (c == fs.DecimalSeparator) a.push_back('.');
    else if ((c >= u'0' && c <= u'9') || c == u'e' || c == u'E' || c == u'+' || c == u'-') a.push_back(static_cast<char>(c));
    else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) a.push_back(static_cast<char>(c));  // INF, NAN
    else return false;
  }
  if (a.empty() || a[0] == '+' || a[0] == '-') return false;
  double v = 0;
  auto [end, ec] = std::from_chars(a.data(), a.data() + a.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != a.data() + a.size()) return false;
  Value = negative ? -v : v;
  return true;
}

bool TryStrToFloat(const String& s, double& Value) { return TryStrToFloat(s, Value, FormatSettings); }

double StrToFloat(const String& s, const TFormatSettings& fs) {
  double v;
  if (!TryStrToFloat(s, v, fs)) throw EConvertError(u"'" + s + u"' is not a valid floating point value");
  return v;
}

double StrToFloat(const String& s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(const String& s, double Default, const TFormatSettings& fs) {
  double v;
  return TryStrToFloat(s, v, fs) ? v : Default;
}

double StrToFloatDef(const String& s, double Default) { return StrToFloatDef(s, Default, FormatSettings); }

// ---------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void BadFormat(const String& fmt) {
  throw EConvertError(u"Format '" + fmt + u"' invalid or incompatible with argument");
}

bool IsIntegerArg(const TVarRec& a) {
  return a.VType() == TVarRec::vtInteger || a.VType() == TVarRec::vtInt64 || a.VType() == TVarRec::vtUInt64;
}

String Pad(const String& s, int width, bool left) {
  if (width <= static_cast<int>(s.size())) return s;
  String fill(static_cast<size_t>(width) - s.size(), u' ');
  return left ? s + fill : fill + s;
}

}  // namespace

String Format(const String& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& fs) {
  const TVarRec* args = Args.begin();
  const int argCount = static_cast<int>(Args.size());
  String out;
  int next = 0;
  size_t i = 0;
  const size_t n = Fmt.size();
  auto arg = [&](int k) -> const TVarRec& {
    if (k < 0 || k >= argCount) throw EConvertError(u"No argument for format '" + Fmt + u"'");
    return args[k];
  };
  // A number or '*' (taken from the next argument); -1 when neither is there.
  auto number = [&]() -> int {
    if (i < n && Fmt[i] == u'*') {
      ++i;
      const TVarRec& a = arg(next++);
      if (!IsIntegerArg(a)) BadFormat(Fmt);
      return static_cast<int>(a.AsInt64());
    }
    if (i >= n || Fmt[i] < u'0' || Fmt[i] > u'9') return -1;
    int v = 0;
    while (i < n && Fmt[i] >= u'0' && Fmt[i] <= u'9') {
      v = std::min(v * 10 + (Fmt[i] - u'0'), 100000);
      ++i;
    }
    return v;
  };

  while (i < n) {
    Char c = Fmt[i++];
    if (c != u'%') {
      out.push_back(c);
      continue;
    }
    if (i < n && Fmt[i] == u'%') {
      out.push_back(u'%');
      ++i;
      continue;
    }
    // [index:][-][width][.precision]type
    int first = number();
    if (i < n && Fmt[i] == u':') {
      ++i;
      if (first < 0) BadFormat(Fmt);
      next = first;
      first = -1;
    }
    bool left = false;
    if (first < 0 && i < n && Fmt[i] == u'-') {
      left = true;
      ++i;
    }
    int width = first >= 0 ? first : number();
    int prec = -1;
    if (i < n && Fmt[i] == u'.') {
      ++i;
      prec = number();
      if (prec < 0) prec = 0;
    }
    if (i >= n) BadFormat(Fmt);
    Char type = Fmt[i++];
    if (type >= u'A' && type <= u'Z') type = static_cast<Char>(type + 32);
    const TVarRec& a = arg(next++);
    String text;
    switch (type) {
      case u'd':
      case u'u':
      case u'x': {
        if (!IsIntegerArg(a)) BadFormat(Fmt);
        int64_t v = a.AsInt64();
        bool neg = false;
        String digits;
        if (type == u'x') {
          digits = a.VType() == TVarRec::vtInteger ? IntToHex(static_cast<int32_t>(v), 0) : IntToHex(v, 0);
        } else if (type == u'u') {
          digits = a.VType() == TVarRec::vtInteger ? IntToStr(static_cast<uint32_t>(v))
                                                    : IntToStr(static_cast<uint64_t>(v));
        } else if (a.VType() == TVarRec::vtUInt64) {
          digits = IntToStr(static_cast<uint64_t>(v));
        } else {
          neg = v < 0;
          digits = neg ? IntToStr(0 - static_cast<uint64_t>(v)) : IntToStr(v);
        }
        if (prec > static_cast<int>(digits.size())) digits.insert(0, static_cast<size_t>(prec) - digits.size(), u'0');
        text = neg ? u"-" + digits : digits;
        break;
      }
      case u'e':
      case u'f':
      case u'g':
      case u'n':
      case u'm': {
        double v;
        if (a.VType() == TVarRec::vtExtended) v = a.AsDouble();
        else if (a.VType() == TVarRec::vtUInt64) v = static_cast<double>(static_cast<uint64_t>(a.AsInt64()));
        else if (IsIntegerArg(a)) v = static_cast<double>(a.AsInt64());
        else BadFormat(Fmt);
        if (type == u'e') text = FloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3, fs);
        else if (type == u'f') text = FloatToStrF(v, ffFixed, 18, prec < 0 ? 2 : prec, fs);
        else if (type == u'g') text = FloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 0, fs);
        else if (type == u'n') text = FloatToStrF(v, ffNumber, 18, prec < 0 ? 2 : prec, fs);
        else text = FloatToStrF(v, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : prec, fs);
        break;
      }
      case u'p': {
        if (a.VType() != TVarRec::vtPointer) BadFormat(Fmt);
        text = IntToHex(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(a.AsPointer())), 16);
        break;
      }
      case u's': {
        if (a.VType() == TVarRec::vtString) text = a.AsString();
        else if (a.VType() == TVarRec::vtChar) text = String(1, static_cast<Char>(a.AsInt64()));
        else BadFormat(Fmt);
        if (prec >= 0 && prec < static_cast<int>(text.size())) text.resize(static_cast<size_t>(prec));
        break;
      }
      default:
        BadFormat(Fmt);
    }
    out += Pad(text, width, left);
  }
  return out;
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) { return Format(Fmt, Args, FormatSettings); }
