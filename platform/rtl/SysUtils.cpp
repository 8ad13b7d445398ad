// Integer conversions, string routines, rounding, timing and random numbers.
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <mutex>
#include <random>
#include <thread>
#include <wctype.h>

TFormatSettings FormatSettings;
TSysLocale SysLocale;

String TVarRec::AsString() const {
  if (kind_ != vtString) return String();
  if (s_) return *s_;
  return cs_ ? String(cs_) : String();
}

// ---------------------------------------------------------------------------
// Integers

namespace {

String AsciiToString(const char* p, size_t n) { return String(p, p + n); }

String UnsignedToStr(uint64_t v, bool negative) {
  char buf[24];
  char* e = buf + sizeof buf;
  char* p = e;
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  if (negative) *--p = '-';
  return AsciiToString(p, static_cast<size_t>(e - p));
}

String HexDigits(uint64_t v, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  String out;
  do {
    out.push_back(static_cast<Char>(hex[v & 15]));
    v >>= 4;
  } while (v);
  while (static_cast<int>(out.size()) < digits) out.push_back(u'0');
  std::reverse(out.begin(), out.end());
  return out;
}

bool IsBlank(Char c) { return c <= u' '; }

// Parses an integer as the class library does: leading blanks, sign, decimal or hex
// after "$"/"0x"/"x". Hex texts are limited to HexLimit (wrapping into the signed range).
bool ParseInteger(const String& s, int64_t lo, int64_t hi, uint64_t hexLimit, int64_t& out) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == u' ') ++i;
  bool neg = false;
  if (i < n && (s[i] == u'-' || s[i] == u'+')) neg = s[i++] == u'-';
  bool hex = false;
  if (i < n && s[i] == u'$') {
    hex = true;
    ++i;
  } else if (i < n && (s[i] == u'x' || s[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t v = 0;
  if (hex) {
    for (; i < n; ++i) {
      Char c = s[i];
      int d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return false;
      if (v > (hexLimit >> 4)) return false;
      v = (v << 4) | static_cast<uint64_t>(d);
      if (v > hexLimit) return false;
    }
    // Hex is a bit pattern of the target width.
    int64_t r;
    if (hexLimit == 0xFFFFFFFFull) r = static_cast<int32_t>(static_cast<uint32_t>(v));
    else r = static_cast<int64_t>(v);
    out = neg ? static_cast<int64_t>(0 - static_cast<uint64_t>(r)) : r;
    if (hexLimit == 0xFFFFFFFFull) out = static_cast<int32_t>(static_cast<uint32_t>(out));
    return true;
  }
  const uint64_t limit = neg ? static_cast<uint64_t>(-(lo + 1)) + 1 : static_cast<uint64_t>(hi);
  for (; i < n; ++i) {
    Char c = s[i];
    if (c < u'0' || c > u'9') return false;
    uint64_t d = static_cast<uint64_t>(c - u'0');
    if (v > (limit - d) / 10) return false;
    v = v * 10 + d;
  }
  out = neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
  return true;
}

[[noreturn]] void InvalidInteger(const String& s) {
  throw EConvertError(u"'" + s + u"' is not a valid integer value");
}

}  // namespace

String IntToStr(int32_t v) { return IntToStr(static_cast<int64_t>(v)); }
String IntToStr(uint32_t v) { return UnsignedToStr(v, false); }
String IntToStr(int64_t v) {
  return v < 0 ? UnsignedToStr(0 - static_cast<uint64_t>(v), true) : UnsignedToStr(static_cast<uint64_t>(v), false);
}
String IntToStr(uint64_t v) { return UnsignedToStr(v, false); }

String IntToHex(int32_t v, int Digits) { return HexDigits(static_cast<uint32_t>(v), Digits); }
String IntToHex(uint32_t v, int Digits) { return HexDigits(v, Digits); }
String IntToHex(int64_t v, int Digits) { return HexDigits(static_cast<uint64_t>(v), Digits); }
String IntToHex(uint64_t v, int Digits) { return HexDigits(v, Digits); }

bool TryStrToInt(const String& s, int32_t& Value) {
  int64_t v;
  if (!ParseInteger(s, INT32_MIN, INT32_MAX, 0xFFFFFFFFull, v)) return false;
  Value = static_cast<int32_t>(v);
  return true;
}

bool TryStrToInt64(const String& s, int64_t& Value) {
  return ParseInteger(s, INT64_MIN, INT64_MAX, UINT64_MAX, Value);
}

int32_t StrToInt(const String& s) {
  int32_t v;
  if (!TryStrToInt(s, v)) InvalidInteger(s);
  return v;
}

int64_t StrToInt64(const String& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) InvalidInteger(s);
  return v;
}

int32_t StrToIntDef(const String& s, int32_t Default) {
  int32_t v;
  return TryStrToInt(s, v) ? v : Default;
}

int64_t StrToInt64Def(const String& s, int64_t Default) {
  int64_t v;
  return TryStrToInt64(s, v) ? v : Default;
}

// ---------------------------------------------------------------------------
// Rounding

int64_t Round(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

int64_t Trunc(double v) { return static_cast<int64_t>(std::trunc(v)); }

// ---------------------------------------------------------------------------
// Strings

String Trim(const String& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

String TrimLeft(const String& s) {
  size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  return s.substr(b);
}

String TrimRight(const String& s) {
  size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

namespace {

Char AsciiUpper(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }
Char AsciiLower(Char c) { return (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + 32) : c; }

// A UTF-8 C library locale gives the Unicode case tables; made once, never freed.
locale_t CaseLocale() {
  static locale_t loc = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      locale_t l = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
      if (l) return l;
    }
    return static_cast<locale_t>(nullptr);
  }();
  return loc;
}

// Case-maps each UTF-16 unit (surrogates are left alone; the letters the program meets
// are in the basic plane). Mappings leaving the basic plane are skipped.
String MapCase(const String& s, bool upper) {
  locale_t loc = CaseLocale();
  String out(s);
  for (Char& c : out) {
    if (c < 0x80) {
      c = upper ? AsciiUpper(c) : AsciiLower(c);
    } else if (loc && (c < 0xD800 || c > 0xDFFF)) {
      wint_t m = upper ? towupper_l(static_cast<wint_t>(c), loc) : towlower_l(static_cast<wint_t>(c), loc);
      if (m < 0x10000) c = static_cast<Char>(m);
    }
  }
  return out;
}

int Sign(int64_t d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

template <typename F>
int CompareMapped(const String& a, const String& b, F map) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    Char x = map(a[i]), y = map(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(static_cast<int64_t>(a.size()) - static_cast<int64_t>(b.size()));
}

}  // namespace

String UpperCase(const String& s) {
  String r(s);
  for (Char& c : r) c = AsciiUpper(c);
  return r;
}

String LowerCase(const String& s) {
  String r(s);
  for (Char& c : r) c = AsciiLower(c);
  return r;
}

String AnsiUpperCase(const String& s) { return MapCase(s, true); }
String AnsiLowerCase(const String& s) { return MapCase(s, false); }

int CompareStr(const String& a, const String& b) { return CompareMapped(a, b, [](Char c) { return c; }); }
int CompareText(const String& a, const String& b) { return CompareMapped(a, b, AsciiUpper); }
bool SameStr(const String& a, const String& b) { return a == b; }
bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }
int AnsiCompareStr(const String& a, const String& b) { return CompareStr(a, b); }
int AnsiCompareText(const String& a, const String& b) {
  return CompareStr(AnsiLowerCase(a), AnsiLowerCase(b));
}
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(const String& a, const String& b) { return a == b; }

bool StartsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && SameText(SubText, Text.substr(0, SubText.size()));
}
bool EndsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && SameText(SubText, Text.substr(Text.size() - SubText.size()));
}
bool StartsStr(const String& SubText, const String& Text) { return Text.starts_with(SubText); }
bool EndsStr(const String& SubText, const String& Text) { return Text.ends_with(SubText); }
bool ContainsText(const String& Text, const String& SubText) {
  return AnsiUpperCase(Text).find(AnsiUpperCase(SubText)) != String::npos;
}
bool ContainsStr(const String& Text, const String& SubText) { return Text.find(SubText) != String::npos; }

int Pos(const String& Sub, const String& s, int Offset) {
  if (Sub.empty() || Offset < 1 || Offset > static_cast<int>(s.size())) return 0;
  size_t p = s.find(Sub, static_cast<size_t>(Offset - 1));
  return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

int Pos(Char c, const String& s, int Offset) { return Pos(String(1, c), s, Offset); }

String Copy(const String& s, int Index, int Count) {
  if (Index < 1) Index = 1;
  const int len = static_cast<int>(s.size());
  if (Count <= 0 || Index > len) return String();
  Count = std::min(Count, len - Index + 1);
  return s.substr(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

String Copy(const String& s, int Index) { return Copy(s, Index, INT_MAX); }

void Delete(String& s, int Index, int Count) {
  const int len = static_cast<int>(s.size());
  if (Index < 1 || Index > len || Count <= 0) return;
  Count = std::min(Count, len - Index + 1);
  s.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Insert(const String& Sub, String& s, int Index) {
  Index = std::clamp(Index, 1, static_cast<int>(s.size()) + 1);
  s.insert(static_cast<size_t>(Index - 1), Sub);
}

int Length(const String& s) { return static_cast<int>(s.size()); }

void SetLength(String& s, int NewLength) { s.resize(static_cast<size_t>(std::max(0, NewLength))); }

String StringReplace(const String& s, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return s;
  const bool ignoreCase = Flags.Contains(rfIgnoreCase);
  const String hay = ignoreCase ? AnsiUpperCase(s) : s;
  const String needle = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  String out;
  size_t from = 0;
  while (true) {
    size_t p = hay.find(needle, from);
    if (p == String::npos) break;
    out.append(s, from, p - from);
    out += NewPattern;
    from = p + needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  out.append(s, from, String::npos);
  return out;
}

String StringOfChar(Char c, int Count) { return Count > 0 ? String(static_cast<size_t>(Count), c) : String(); }

String QuotedStr(const String& s) { return AnsiQuotedStr(s, u'\''); }

String AnsiQuotedStr(const String& s, Char Quote) {
  String out(1, Quote);
  for (Char c : s) {
    out.push_back(c);
    if (c == Quote) out.push_back(c);
  }
  out.push_back(Quote);
  return out;
}

String AnsiDequotedStr(const String& s, Char Quote) {
  if (s.size() < 2 || s[0] != Quote) return s;
  String out;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == Quote) {
      if (i + 1 < s.size() && s[i + 1] == Quote) {
        out.push_back(Quote);
        i += 2;
        continue;
      }
      return i + 1 == s.size() ? out : s;  // text after the closing quote: not a quoted text
    }
    out.push_back(s[i++]);
  }
  return s;  // never closed
}

String BoolToStr(bool b, bool UseBoolStrs) {
  if (UseBoolStrs) return b ? u"True" : u"False";
  return b ? u"-1" : u"0";
}

// ---------------------------------------------------------------------------
// Timing and random numbers

namespace {
std::atomic<bool> gTickFixed{false};
std::atomic<uint64_t> gFixedTick{0};
}  // namespace

uint64_t GetTickCount64() {
  if (gTickFixed.load(std::memory_order_acquire)) return gFixedTick.load(std::memory_order_relaxed);
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void FixTickCount(uint64_t Milliseconds) {
  gFixedTick.store(Milliseconds, std::memory_order_relaxed);
  gTickFixed.store(true, std::memory_order_release);
}

void ReleaseTickCount() { gTickFixed.store(false, std::memory_order_release); }

uint32_t GetTickCount() { return static_cast<uint32_t>(GetTickCount64()); }

void Sleep(uint32_t Milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds)); }

namespace {

std::mutex& RandomMutex() {
  static std::mutex m;
  return m;
}

std::mt19937_64& RandomEngine() {
  static std::mt19937_64 engine{std::random_device{}()};
  return engine;
}

}  // namespace

void Randomize() {
  std::lock_guard<std::mutex> lock(RandomMutex());
  RandomEngine().seed(std::random_device{}());
}

int32_t Random(int32_t Range) {
  if (Range <= 0) return 0;
  std::lock_guard<std::mutex> lock(RandomMutex());
  return std::uniform_int_distribution<int32_t>(0, Range - 1)(RandomEngine());
}

double Random() {
  std::lock_guard<std::mutex> lock(RandomMutex());
  return std::uniform_real_distribution<double>(0.0, 1.0)(RandomEngine());
}
