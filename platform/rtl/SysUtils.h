#pragma once
// Text, number, date-time, timing and file-path routines of the runtime library.
// Strings count from 1 where a routine takes a position. Formatting reads the
// process-wide FormatSettings record unless an explicit record is passed.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "platform/rtl/System.h"

// ---------------------------------------------------------------------------
// Format settings

// Locale-dependent texts. The defaults are fixed (not taken from the system) so that
// every text the program makes is the same on every machine:
//   DecimalSeparator '.', ThousandSeparator ',', DateSeparator '/', TimeSeparator ':',
//   ShortDateFormat "yyyy/mm/dd", LongDateFormat "yyyy/mm/dd dddd",
//   ShortTimeFormat "hh:nn", LongTimeFormat "hh:nn:ss", TimeAMString "AM", TimePMString "PM",
//   CurrencyString "$", CurrencyFormat 0 ("$1"), NegCurrFormat 1 ("-$1"), CurrencyDecimals 2,
//   English month and day names, TwoDigitYearCenturyWindow 50.
struct TFormatSettings {
  Char DecimalSeparator = u'.';
  Char ThousandSeparator = u',';
  Char DateSeparator = u'/';
  Char TimeSeparator = u':';
  Char ListSeparator = u',';
  String ShortDateFormat = u"yyyy/mm/dd";
  String LongDateFormat = u"yyyy/mm/dd dddd";
  String ShortTimeFormat = u"hh:nn";
  String LongTimeFormat = u"hh:nn:ss";
  String TimeAMString = u"AM";
  String TimePMString = u"PM";
  String CurrencyString = u"$";
  uint8_t CurrencyFormat = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  uint8_t NegCurrFormat = 1;   // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $"
  uint8_t CurrencyDecimals = 2;
  String ShortMonthNames[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  String LongMonthNames[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                               u"July",    u"August",   u"September", u"October", u"November", u"December"};
  String ShortDayNames[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  String LongDayNames[7] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings every routine without an explicit record uses.
extern TFormatSettings FormatSettings;

// What the system's locale says about the whole process. MiddleEast: the locale reads right to
// left (the class library reads it from the process locale at start-up, as Arabic or Hebrew
// give it); the controls' right-to-left modes take effect only while it is set.
struct TSysLocale {
  bool MiddleEast = false;
};
extern TSysLocale SysLocale;

// ---------------------------------------------------------------------------
// Format arguments

// One argument of Format: an integer, float, text, character, pointer or Boolean.
// Implicit from those types so calls read Format(u"%d %s", {5, name}).
class TVarRec {
public:
  enum Kind : uint8_t { vtInteger, vtInt64, vtUInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };

  TVarRec(bool b) : kind_(vtBoolean), i_(b ? 1 : 0) {}
  TVarRec(Char c) : kind_(vtChar), i_(c) {}
  TVarRec(char c) : kind_(vtChar), i_(static_cast<unsigned char>(c)) {}
  // Integers: 32-bit signed values keep their width, so %x of -1 gives "FFFFFFFF".
  template <typename T,
            std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, Char> &&
                                 !std::is_same_v<T, char>,
                             int> = 0>
  TVarRec(T v) {
    if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
      kind_ = vtInteger;
      i_ = v;
    } else if constexpr (std::is_signed_v<T> || sizeof(T) < 8) {
      kind_ = vtInt64;
      i_ = static_cast<int64_t>(v);
    } else {
      kind_ = vtUInt64;
      i_ = static_cast<int64_t>(v);
    }
  }
  template <typename T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
  TVarRec(T v) : TVarRec(static_cast<std::underlying_type_t<T>>(v)) {}
  TVarRec(double d) : kind_(vtExtended), d_(d) {}
  TVarRec(float d) : kind_(vtExtended), d_(d) {}
  TVarRec(long double d) : kind_(vtExtended), d_(static_cast<double>(d)) {}
  TVarRec(const String& s) : kind_(vtString), s_(&s) {}
  TVarRec(const Char* s) : kind_(vtString), cs_(s) {}
  // Narrow text is taken as UTF-8.
  TVarRec(const char* s) : kind_(vtString), owned_(UTF8ToString(s ? s : "")) { s_ = &owned_; }
  TVarRec(const std::string& s) : kind_(vtString), owned_(UTF8ToString(s)) { s_ = &owned_; }
  TVarRec(const void* p) : kind_(vtPointer), p_(p) {}
  TVarRec(std::nullptr_t) : kind_(vtPointer), p_(nullptr) {}
  TVarRec(const TVarRec& o) : kind_(o.kind_), i_(o.i_), d_(o.d_), s_(o.s_), cs_(o.cs_), p_(o.p_), owned_(o.owned_) {
    if (o.s_ == &o.owned_) s_ = &owned_;
  }
  TVarRec& operator=(const TVarRec&) = delete;

  Kind VType() const { return kind_; }
  int64_t AsInt64() const { return i_; }
  double AsDouble() const { return d_; }
  const void* AsPointer() const { return p_; }
  String AsString() const;

private:
  Kind kind_ = vtInteger;
  int64_t i_ = 0;
  double d_ = 0;
  const String* s_ = nullptr;
  const Char* cs_ = nullptr;
  const void* p_ = nullptr;
  String owned_;
};

// ---------------------------------------------------------------------------
// Integers

String IntToStr(int32_t v);
String IntToStr(uint32_t v);
String IntToStr(int64_t v);
String IntToStr(uint64_t v);
// Upper-case hexadecimal, at least Digits digits. Negative 32-bit values give their
// 32-bit two's complement, negative 64-bit values their 64-bit one.
String IntToHex(int32_t v, int Digits);
String IntToHex(uint32_t v, int Digits);
String IntToHex(int64_t v, int Digits);
String IntToHex(uint64_t v, int Digits);

// Decimal text with optional sign and leading blanks, or hexadecimal after "$", "0x",
// "0X", "x" or "X" (hexadecimal texts up to FFFFFFFF wrap into the 32-bit range).
// Raises EConvertError "'xyz' is not a valid integer value".
int32_t StrToInt(const String& s);
int64_t StrToInt64(const String& s);
int32_t StrToIntDef(const String& s, int32_t Default);
int64_t StrToInt64Def(const String& s, int64_t Default);
bool TryStrToInt(const String& s, int32_t& Value);
bool TryStrToInt64(const String& s, int64_t& Value);

// ---------------------------------------------------------------------------
// Floating point

enum TFloatFormat : uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest of fixed and scientific with 15 significant digits: "0.1", "1.5E20", "1E-5".
String FloatToStr(double v);
String FloatToStr(double v, const TFormatSettings& fs);
// Precision: significant digits; Digits: decimals (fixed, number, currency) or minimum
// exponent digits (general, exponent).
String FloatToStrF(double v, TFloatFormat Format, int Precision, int Digits);
String FloatToStrF(double v, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& fs);
// Currency text: the value rounded to 4 decimals, general format.
String CurrToStr(double v);
String CurrToStr(double v, const TFormatSettings& fs);

// Picture formatting: sections "pos;neg;zero", 0 # . , E+ E- e+ e-, 'quoted' "quoted".
String FormatFloat(const String& Format, double v);
String FormatFloat(const String& Format, double v, const TFormatSettings& fs);

// Decimal text with the settings' decimal separator, optional exponent, surrounding blanks.
// Raises EConvertError "'xyz' is not a valid floating point value".
double StrToFloat(const String& s);
double StrToFloat(const String& s, const TFormatSettings& fs);
double StrToFloatDef(const String& s, double Default);
double StrToFloatDef(const String& s, double Default, const TFormatSettings& fs);
bool TryStrToFloat(const String& s, double& Value);
bool TryStrToFloat(const String& s, double& Value, const TFormatSettings& fs);

// Nearest integer; halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(double v);
// Integer part towards zero.
int64_t Trunc(double v);
// a * b / c without intermediate overflow, rounded half away from zero; -1 when c is 0 or
// the result does not fit 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// ---------------------------------------------------------------------------
// Format

// Specifiers: %[index:][-][width][.precision]type with type d u x e f g n m p s,
// '*' for width or precision taken from the arguments, "%%" for '%'.
// Raises EConvertError for a bad specifier, a missing argument or a wrong argument type.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);
String Format(const String& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Strings

String Trim(const String& s);       // removes blanks and control characters at both ends
String TrimLeft(const String& s);
String TrimRight(const String& s);
String UpperCase(const String& s);  // ASCII letters only
String LowerCase(const String& s);
String AnsiUpperCase(const String& s);  // every letter with a case
String AnsiLowerCase(const String& s);

// Compare results: < 0, 0 or > 0.
int CompareStr(const String& a, const String& b);   // ordinal
int CompareText(const String& a, const String& b);  // ordinal, ASCII case ignored
bool SameStr(const String& a, const String& b);
bool SameText(const String& a, const String& b);
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);  // ordinal, every case ignored
bool AnsiSameText(const String& a, const String& b);
bool AnsiSameStr(const String& a, const String& b);
bool StartsText(const String& SubText, const String& Text);  // ASCII case ignored
bool EndsText(const String& SubText, const String& Text);
bool StartsStr(const String& SubText, const String& Text);
bool EndsStr(const String& SubText, const String& Text);
bool ContainsText(const String& Text, const String& SubText);
bool ContainsStr(const String& Text, const String& SubText);

// 1-based position of Sub in s at or after Offset; 0 when absent or Sub is empty.
int Pos(const String& Sub, const String& s, int Offset = 1);
int Pos(Char c, const String& s, int Offset = 1);
// Count characters from Index (Index < 1 counts from 1; past the end gives what is left).
String Copy(const String& s, int Index, int Count);
String Copy(const String& s, int Index);  // to the end
// Removes Count characters at Index; nothing when Index is outside the text.
void Delete(String& s, int Index, int Count);
// Inserts Sub before Index (Index < 1 inserts at the start, past the end appends).
void Insert(const String& Sub, String& s, int Index);
int Length(const String& s);
void SetLength(String& s, int NewLength);

enum TReplaceFlag : uint8_t { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag>;
String StringReplace(const String& s, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags);

String StringOfChar(Char c, int Count);
String QuotedStr(const String& s);  // 'it''s'
String AnsiQuotedStr(const String& s, Char Quote);
// Text between the quotes with doubled quotes made single; s itself when it is not
// a complete quoted text.
String AnsiDequotedStr(const String& s, Char Quote);

String BoolToStr(bool b, bool UseBoolStrs = false);  // "-1"/"0", or "True"/"False"

// ---------------------------------------------------------------------------
// Date and time: days since 1899-12-30, time of day as the fraction.

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

TDateTime Now();
TDateTime Date();
TDateTime Time();

// Raise EConvertError for values outside the calendar or the day.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);
void DecodeDate(TDateTime dt, uint16_t& Year, uint16_t& Month, uint16_t& Day);
void DecodeTime(TDateTime dt, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
void DecodeDateTime(TDateTime dt, uint16_t& Year, uint16_t& Month, uint16_t& Day, uint16_t& Hour,
                    uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
int DayOfWeek(TDateTime dt);  // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);

TDateTime IncMilliSecond(TDateTime dt, int64_t n = 1);
TDateTime IncSecond(TDateTime dt, int64_t n = 1);
TDateTime IncMinute(TDateTime dt, int64_t n = 1);
TDateTime IncHour(TDateTime dt, int64_t n = 1);
TDateTime IncDay(TDateTime dt, int n = 1);
// Months later (earlier when negative), the day clipped to the month's last, the time kept.
TDateTime IncMonth(TDateTime dt, int NumberOfMonths = 1);

// Letters: c d dd ddd dddd ddddd dddddd m mm mmm mmmm (minutes right after an hour)
// yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : 'quoted' "quoted".
String FormatDateTime(const String& Format, TDateTime dt);
String FormatDateTime(const String& Format, TDateTime dt, const TFormatSettings& fs);
String DateToStr(TDateTime dt);  // short date format
String DateToStr(TDateTime dt, const TFormatSettings& fs);
String TimeToStr(TDateTime dt);  // long time format
String TimeToStr(TDateTime dt, const TFormatSettings& fs);
String DateTimeToStr(TDateTime dt);  // short date and long time; the time left out at midnight
String DateTimeToStr(TDateTime dt, const TFormatSettings& fs);

// Parse numbers in the order of the short date format, separated by the date separator;
// a missing year is this year, a two-digit year lies within the century window of now.
// Times are h[:n[:s[.z]]] with an optional AM/PM. Raise EConvertError when invalid.
TDateTime StrToDate(const String& s);
TDateTime StrToDate(const String& s, const TFormatSettings& fs);
TDateTime StrToTime(const String& s);
TDateTime StrToTime(const String& s, const TFormatSettings& fs);
TDateTime StrToDateTime(const String& s);
TDateTime StrToDateTime(const String& s, const TFormatSettings& fs);
bool TryStrToDate(const String& s, TDateTime& Value);
bool TryStrToDate(const String& s, TDateTime& Value, const TFormatSettings& fs);
bool TryStrToTime(const String& s, TDateTime& Value);
bool TryStrToTime(const String& s, TDateTime& Value, const TFormatSettings& fs);
bool TryStrToDateTime(const String& s, TDateTime& Value);
bool TryStrToDateTime(const String& s, TDateTime& Value, const TFormatSettings& fs);
TDateTime StrToDateDef(const String& s, TDateTime Default);
TDateTime StrToTimeDef(const String& s, TDateTime Default);
TDateTime StrToDateTimeDef(const String& s, TDateTime Default);

// ---------------------------------------------------------------------------
// Timing and random numbers

uint32_t GetTickCount();    // monotonic milliseconds, wraps after 49.7 days
uint64_t GetTickCount64();  // monotonic milliseconds
// Holds both tick counts at a fixed time (tests of time rules); ReleaseTickCount gives the
// system's monotonic clock back. Safe from any thread.
void FixTickCount(uint64_t Milliseconds);
void ReleaseTickCount();
void Sleep(uint32_t Milliseconds);
void Randomize();
int32_t Random(int32_t Range);  // 0 <= result < Range (0 when Range <= 0)
double Random();                // 0 <= result < 1

// ---------------------------------------------------------------------------
// Files and paths. Paths are String; POSIX sees them as UTF-8.

constexpr Char PathDelim = u'/';
constexpr Char DriveDelim = u'\0';
constexpr Char PathSep = u':';

String ExtractFilePath(const String& FileName);  // folder with its trailing '/'
String ExtractFileDir(const String& FileName);   // folder without the trailing '/' (except "/")
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);   // ".ext" or ""
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& s);
String ExcludeTrailingPathDelimiter(const String& s);
String ExpandFileName(const String& FileName);  // absolute, "." and ".." resolved lexically

bool FileExists(const String& FileName);  // a file (or a link to one), not a folder
// The whole content of a regular file (or a link to one) of at most MaxBytes bytes. Raises
// EFOpenError naming the file when it is missing or unreadable, is no regular file (a folder,
// FIFO or device, which could block or never end) or holds more than MaxBytes.
std::string ReadFileBytes(const String& FileName, int64_t MaxBytes);
bool DirectoryExists(const String& Directory);
// Creates the folder and every missing parent; False when one cannot be made.
// Raises EInOutError for an empty name.
bool ForceDirectories(const String& Dir);
bool CreateDir(const String& Dir);
bool RemoveDir(const String& Dir);
bool DeleteFile(const String& FileName);
// Fails (False) when NewName exists already, as a rename never overwrites here.
bool RenameFile(const String& OldName, const String& NewName);
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);

// Full path of the running executable.
String GetModuleFileName();
String ExeName();
// Command-line arguments; 0 is the executable.
int ParamCount();
String ParamStr(int Index);

// Text of an errno value.
String SysErrorMessage(int ErrorCode);
// Raises EOSError for errno (or the given code): "System Error.  Code: 2.\n<text>".
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(int ErrorCode);
