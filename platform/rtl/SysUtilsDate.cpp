// Date-time values (days since 1899-12-30), their texts and parsing.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/rtl/SysUtils.h"

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// 1899-12-30 as days from 1970-01-01.
constexpr int64_t kEpochOffset = -25569;

// Whole days and milliseconds of the day; the time of a negative value counts forward
// from its day's start too (-1.25 is 1899-12-29 06:00).
void Split(TDateTime dt, int64_t& days, int64_t& ms) {
  const double whole = std::trunc(dt);
  days = static_cast<int64_t>(whole);
  ms = std::llround(std::fabs(dt - whole) * MSecsPerDay);
  if (ms >= MSecsPerDay) {
    ms = 0;
    days += dt >= 0 ? 1 : -1;
  }
}

// A date plus a time of day, following the sign rule of Split.
TDateTime Compose(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

}  // namespace

bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

int DaysInAMonth(int Year, int Month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return (Month == 2 && IsLeapYear(Year)) ? 29 : days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
  Value = static_cast<double>(DaysFromCivil(Year, Month, Day) - kEpochOffset);
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
  Value = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime v;
  if (!TryEncodeDate(Year, Month, Day, v)) throw EConvertError(u"Invalid argument to date encode");
  return v;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime v;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, v)) throw EConvertError(u"Invalid argument to time encode");
  return v;
}

void DecodeDate(TDateTime dt, uint16_t& Year, uint16_t& Month, uint16_t& Day) {
  int64_t days, ms;
  Split(dt, days, ms);
  int y, m, d;
  CivilFromDays(days + kEpochOffset, y, m, d);
  Year = static_cast<uint16_t>(y);
  Month = static_cast<uint16_t>(m);
  Day = static_cast<uint16_t>(d);
}

void DecodeTime(TDateTime dt, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec) {
  int64_t days, ms;
  Split(dt, days, ms);
  Hour = static_cast<uint16_t>(ms / 3600000);
  Min = static_cast<uint16_t>(ms / 60000 % 60);
  Sec = static_cast<uint16_t>(ms / 1000 % 60);
  MSec = static_cast<uint16_t>(ms % 1000);
}

void DecodeDateTime(TDateTime dt, uint16_t& Year, uint16_t& Month, uint16_t& Day, uint16_t& Hour, uint16_t& Min,
                    uint16_t& Sec, uint16_t& MSec) {
  DecodeDate(dt, Year, Month, Day);
  DecodeTime(dt, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime dt) {
  int64_t days, ms;
  Split(dt, days, ms);
  // Day 0 was a Saturday.
  return static_cast<int>(((days % 7) + 13) % 7) + 1;
}

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm tm{};
  localtime_r(&t, &tm);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         EncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59), ms < 0 ? 0 : ms);
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

TDateTime IncMilliSecond(TDateTime dt, int64_t n) {
  // On a linear millisecond count, so that the sign rule of negative values holds.
  int64_t days, ms;
  Split(dt, days, ms);
  const int64_t total = days * MSecsPerDay + ms + n;
  int64_t d = total / MSecsPerDay;
  if (total % MSecsPerDay < 0) --d;
  return Compose(static_cast<double>(d), static_cast<double>(total - d * MSecsPerDay) / MSecsPerDay);
}
TDateTime IncSecond(TDateTime dt, int64_t n) { return IncMilliSecond(dt, n * 1000); }
TDateTime IncMinute(TDateTime dt, int64_t n) { return IncMilliSecond(dt, n * 60000); }
TDateTime IncHour(TDateTime dt, int64_t n) { return IncMilliSecond(dt, n * 3600000); }
TDateTime IncDay(TDateTime dt, int n) { return IncMilliSecond(dt, static_cast<int64_t>(n) * MSecsPerDay); }

TDateTime IncMonth(TDateTime dt, int NumberOfMonths) {
  uint16_t y, m, d;
  DecodeDate(dt, y, m, d);
  const int64_t months = static_cast<int64_t>(y) * 12 + (m - 1) + NumberOfMonths;
  const int year = static_cast<int>(months / 12), month = static_cast<int>(months % 12) + 1;
  const TDateTime date = EncodeDate(year, month, std::min<int>(d, DaysInAMonth(year, month)));
  int64_t days, ms;
  Split(dt, days, ms);
  return Compose(date, static_cast<double>(ms) / MSecsPerDay);
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

Char Upper(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }

String Num(int v, int width) {
  String s = IntToStr(v);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
  return s;
}

bool MatchesAt(const String& f, size_t i, const char16_t* word) {
  for (size_t k = 0; word[k]; ++k)
    if (i + k >= f.size() || Upper(f[i + k]) != Upper(word[k])) return false;
  return true;
}

// True when an AM/PM marker follows position i (outside quotes): the hour is then 12-hour.
bool TwelveHourAfter(const String& f, size_t i) {
  for (; i < f.size(); ++i) {
    Char c = f[i];
    if (c == u'\'' || c == u'"') {
      size_t e = f.find(c, i + 1);
      if (e == String::npos) return false;
      i = e;
    } else if (MatchesAt(f, i, u"am/pm") || MatchesAt(f, i, u"a/p") || MatchesAt(f, i, u"ampm")) {
      return true;
    }
  }
  return false;
}

struct TParts {
  int Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
  bool HasTime;
};

void AppendFormat(String& out, const String& f, const TParts& p, const TFormatSettings& fs, int depth) {
  if (depth > 2) return;  // formats that name themselves
  bool afterHour = false;
  size_t i = 0;
  const size_t n = f.size();
  auto run = [&](Char letter) {
    size_t k = i;
    while (k < n && Upper(f[k]) == letter) ++k;
    return static_cast<int>(k - i);
  };
  while (i < n) {
    const Char c = f[i];
    const Char u = Upper(c);
    if (c == u'\'' || c == u'"') {
      size_t e = f.find(c, i + 1);
      size_t end = e == String::npos ? n : e;
      out.append(f, i + 1, end - i - 1);
      i = end + 1;
    } else if (c == u'/') {
      out.push_back(fs.DateSeparator);
      ++i;
    } else if (c == u':') {
      out.push_back(fs.TimeSeparator);
      ++i;
    } else if (u == u'C') {
      AppendFormat(out, fs.ShortDateFormat, p, fs, depth + 1);
      if (p.HasTime) {
        out.push_back(u' ');
        AppendFormat(out, fs.LongTimeFormat, p, fs, depth + 1);
      }
      ++i;
      afterHour = false;
    } else if (u == u'D') {
      int k = std::min(run(u'D'), 6);
      if (k == 1) out += IntToStr(p.Day);
      else if (k == 2) out += Num(p.Day, 2);
      else if (k == 3) out += fs.ShortDayNames[p.DayOfWeek - 1];
      else if (k == 4) out += fs.LongDayNames[p.DayOfWeek - 1];
      else if (k == 5) AppendFormat(out, fs.ShortDateFormat, p, fs, depth + 1);
      else AppendFormat(out, fs.LongDateFormat, p, fs, depth + 1);
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (u == u'M') {
      int k = std::min(run(u'M'), 4);
      if (afterHour && k <= 2) out += k == 1 ? IntToStr(p.Min) : Num(p.Min, 2);
      else if (k == 1) out += IntToStr(p.Month);
      else if (k == 2) out += Num(p.Month, 2);
      else if (k == 3) out += fs.ShortMonthNames[p.Month - 1];
      else out += fs.LongMonthNames[p.Month - 1];
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (u == u'Y') {
      int k = run(u'Y');
      out += k <= 2 ? Num(p.Year % 100, 2) : Num(p.Year, 4);
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (u == u'H') {
      int k = std::min(run(u'H'), 2);
      int h = p.Hour;
      if (TwelveHourAfter(f, i + static_cast<size_t>(k))) {
        h %= 12;
        if (h == 0) h = 12;
      }
      out += k == 1 ? IntToStr(h) : Num(h, 2);
      i += static_cast<size_t>(k);
      afterHour = true;
    } else if (u == u'N' || u == u'S') {
      int k = std::min(run(u), 2);
      int v = u == u'N' ? p.Min : p.Sec;
      out += k == 1 ? IntToStr(v) : Num(v, 2);
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (u == u'Z') {
      int k = run(u'Z') >= 3 ? 3 : 1;
      out += k == 3 ? Num(p.MSec, 3) : IntToStr(p.MSec);
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (u == u'T') {
      int k = std::min(run(u'T'), 2);
      AppendFormat(out, k == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
      i += static_cast<size_t>(k);
      afterHour = false;
    } else if (MatchesAt(f, i, u"am/pm")) {
      out.append(f, p.Hour < 12 ? i : i + 3, 2);  // keeps the letters' case
      i += 5;
      afterHour = false;
    } else if (MatchesAt(f, i, u"a/p")) {
      out.push_back(f[p.Hour < 12 ? i : i + 2]);
      i += 3;
      afterHour = false;
    } else if (MatchesAt(f, i, u"ampm")) {
      out += p.Hour < 12 ? fs.TimeAMString : fs.TimePMString;
      i += 4;
      afterHour = false;
    } else {
      out.push_back(c);
      ++i;
    }
  }
}

}  // namespace

String FormatDateTime(const String& Format, TDateTime dt, const TFormatSettings& fs) {
  TParts p{};
  uint16_t y, mo, d, h, mi, s, ms;
  DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
  p = {y, mo, d, h, mi, s, ms, DayOfWeek(dt), h != 0 || mi != 0 || s != 0 || ms != 0};
  String out;
  AppendFormat(out, Format.empty() ? String(u"c") : Format, p, fs, 0);
  return out;
}

String FormatDateTime(const String& Format, TDateTime dt) { return FormatDateTime(Format, dt, FormatSettings); }
String DateToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(u"ddddd", dt, fs); }
String DateToStr(TDateTime dt) { return DateToStr(dt, FormatSettings); }
String TimeToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(u"tt", dt, fs); }
String TimeToStr(TDateTime dt) { return TimeToStr(dt, FormatSettings); }
String DateTimeToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(u"c", dt, fs); }
String DateTimeToStr(TDateTime dt) { return DateTimeToStr(dt, FormatSettings); }

// ---------------------------------------------------------------------------
// Parsing

namespace {

struct TScanner {
  const String& s;
  size_t i = 0;

  void SkipBlanks() {
    while (i < s.size() && s[i] == u' ') ++i;
  }
  bool AtEnd() {
    SkipBlanks();
    return i >= s.size();
  }
  bool Take(Char c) {
    if (i < s.size() && s[i] == c) {
      ++i;
      return true;
    }
    return false;
  }
  // Unsigned decimal of at most maxDigits; digits tells how many were read.
  bool Number(int& v, int& digits, int maxDigits = 4) {
    digits = 0;
    v = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
      if (++digits > maxDigits) return false;
      v = v * 10 + (s[i++] - u'0');
    }
    return digits > 0;
  }
  bool TakeWord(const String& w) {
    if (w.empty() || i + w.size() > s.size()) return false;
    if (!AnsiSameText(s.substr(i, w.size()), w)) return false;
    i += w.size();
    return true;
  }
};

int CurrentYear() {
  uint16_t y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

// Order of day, month and year in the short date format, e.g. "YMD".
std::u16string DateOrder(const String& f) {
  std::u16string order;
  for (size_t i = 0; i < f.size(); ++i) {
    Char c = f[i];
    if (c == u'\'' || c == u'"') {
      size_t e = f.find(c, i + 1);
      if (e == String::npos) break;
      i = e;
      continue;
    }
    Char u = Upper(c);
    if ((u == u'D' || u == u'M' || u == u'Y') && order.find(u) == std::u16string::npos) order.push_back(u);
  }
  return order.size() == 3 ? order : std::u16string(u"YMD");
}

bool ScanDate(TScanner& sc, const TFormatSettings& fs, TDateTime& date) {
  sc.SkipBlanks();
  int v[3], digits[3], count = 0;
  while (count < 3) {
    if (!sc.Number(v[count], digits[count])) return false;
    ++count;
    if (count == 3 || !sc.Take(fs.DateSeparator)) break;
  }
  if (count < 2) return false;
  std::u16string order = DateOrder(fs.ShortDateFormat);
  if (count == 2) order.erase(order.find(u'Y'), 1);
  int year = CurrentYear(), month = 0, day = 0, yearDigits = 4;
  for (int k = 0; k < count; ++k) {
    if (order[k] == u'Y') {
      year = v[k];
      yearDigits = digits[k];
    } else if (order[k] == u'M') {
      month = v[k];
    } else {
      day = v[k];
    }
  }
  if (yearDigits <= 2) {
    // A two-digit year lies in the window that ends TwoDigitYearCenturyWindow years ahead.
    const int base = CurrentYear() - fs.TwoDigitYearCenturyWindow;
    year += base / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && year < base) year += 100;
  }
  return TryEncodeDate(year, month, day, date);
}

// AM/PM marker: +1 for PM, -1 for AM, 0 when none.
int ScanAmPm(TScanner& sc, const TFormatSettings& fs) {
  sc.SkipBlanks();
  for (const String& w : {fs.TimeAMString, String(u"AM"), String(u"A")})
    if (sc.TakeWord(w)) return -1;
  for (const String& w : {fs.TimePMString, String(u"PM"), String(u"P")})
    if (sc.TakeWord(w)) return 1;
  return 0;
}

bool ScanTime(TScanner& sc, const TFormatSettings& fs, TDateTime& time) {
  int ampm = ScanAmPm(sc, fs);
  sc.SkipBlanks();
  int h = 0, m = 0, s = 0, ms = 0, digits = 0;
  if (!sc.Number(h, digits, 2)) return false;
  if (sc.Take(fs.TimeSeparator)) {
    if (!sc.Number(m, digits, 2)) return false;
    if (sc.Take(fs.TimeSeparator)) {
      if (!sc.Number(s, digits, 2)) return false;
      if (sc.Take(fs.DecimalSeparator) || sc.Take(u'.')) {
        if (!sc.Number(ms, digits, 3)) return false;
        while (digits++ < 3) ms *= 10;
      }
    }
  }
  if (ampm == 0) ampm = ScanAmPm(sc, fs);
  if (ampm != 0) {
    if (h < 1 || h > 12) return false;
    h = h % 12 + (ampm > 0 ? 12 : 0);
  }
  return TryEncodeTime(h, m, s, ms, time);
}

[[noreturn]] void Invalid(const String& s, const char16_t* what) {
  throw EConvertError(u"'" + s + u"' is not a valid " + what);
}

}  // namespace

bool TryStrToDate(const String& s, TDateTime& Value, const TFormatSettings& fs) {
  TScanner sc{s};
  TDateTime d;
  if (!ScanDate(sc, fs, d) || !sc.AtEnd()) return false;
  Value = d;
  return true;
}

bool TryStrToTime(const String& s, TDateTime& Value, const TFormatSettings& fs) {
  TScanner sc{s};
  TDateTime t;
  if (!ScanTime(sc, fs, t) || !sc.AtEnd()) return false;
  Value = t;
  return true;
}

bool TryStrToDateTime(const String& s, TDateTime& Value, const TFormatSettings& fs) {
  TScanner sc{s};
  TDateTime d, t = 0;
  if (ScanDate(sc, fs, d) && (sc.AtEnd() || (ScanTime(sc, fs, t) && sc.AtEnd()))) {
    Value = Compose(d, t);
    return true;
  }
  return TryStrToTime(s, Value, fs);  // a time alone is a time on day 0
}

bool TryStrToDate(const String& s, TDateTime& Value) { return TryStrToDate(s, Value, FormatSettings); }
bool TryStrToTime(const String& s, TDateTime& Value) { return TryStrToTime(s, Value, FormatSettings); }
bool TryStrToDateTime(const String& s, TDateTime& Value) { return TryStrToDateTime(s, Value, FormatSettings); }

TDateTime StrToDate(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) Invalid(s, u"date");
  return v;
}

TDateTime StrToTime(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) Invalid(s, u"time");
  return v;
}

TDateTime StrToDateTime(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, fs)) Invalid(s, u"date and time");
  return v;
}

TDateTime StrToDate(const String& s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(const String& s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(const String& s) { return StrToDateTime(s, FormatSettings); }

TDateTime StrToDateDef(const String& s, TDateTime Default) {
  TDateTime v;
  return TryStrToDate(s, v) ? v : Default;
}

TDateTime StrToTimeDef(const String& s, TDateTime Default) {
  TDateTime v;
  return TryStrToTime(s, v) ? v : Default;
}

TDateTime StrToDateTimeDef(const String& s, TDateTime Default) {
  TDateTime v;
  return TryStrToDateTime(s, v) ? v : Default;
}
