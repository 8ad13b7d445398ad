#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "platform/rtl/SysUtils.h"

namespace {

std::string S(const String& s) { return StringToUTF8(s); }

struct Ymdhnsz {
  int y, mo, d, h, mi, s, ms;
};

Ymdhnsz Decode(TDateTime dt) {
  uint16_t y, mo, d, h, mi, s, ms;
  DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
  return {y, mo, d, h, mi, s, ms};
}

}  // namespace

TEST(DateTime, EncodeMatchesTheDayCount) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  for (auto [y, m, d] : {std::tuple{2023, 2, 29}, {2023, 13, 1}, {2023, 0, 1}, {0, 1, 1}, {10000, 1, 1}, {2023, 4, 31}})
    EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
  for (auto [h, m, s, z] : {std::tuple{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}})
    EXPECT_THROW(EncodeTime(h, m, s, z), EConvertError);
}

TEST(DateTime, EncodeDecodeRoundTrips) {
  for (auto [y, m, d] : {std::tuple{1, 1, 1}, {1600, 2, 29}, {1899, 12, 29}, {1899, 12, 30}, {1970, 1, 1},
                         {2000, 2, 29}, {2038, 1, 19}, {9999, 12, 31}}) {
    for (auto [h, n, s, z] : {std::tuple{0, 0, 0, 0}, {10, 0, 0, 0}, {23, 59, 59, 999}, {6, 30, 15, 500}}) {
      TDateTime dt = EncodeDate(y, m, d);
      TDateTime t = EncodeTime(h, n, s, z);
      dt = dt >= 0 ? dt + t : dt - t;
      Ymdhnsz r = Decode(dt);
      EXPECT_EQ(r.y, y);
      EXPECT_EQ(r.mo, m);
      EXPECT_EQ(r.d, d);
      EXPECT_EQ(r.h, h);
      EXPECT_EQ(r.mi, n);
      EXPECT_EQ(r.s, s);
      EXPECT_EQ(r.ms, z) << y << "-" << m << "-" << d << " " << h << ":" << n;
    }
  }
  // Negative values: the day counts back, the time of day forward.
  Ymdhnsz r = Decode(-1.25);
  EXPECT_EQ(r.d, 29);
  EXPECT_EQ(r.h, 6);
  // A time a hair below the next day rounds to it instead of showing 23:59:59.999...
  r = Decode(EncodeDate(2024, 3, 1) - 1e-10);
  EXPECT_EQ(r.d, 1);
  EXPECT_EQ(r.h, 0);
}

TEST(DateTime, DayOfWeekAndIncrements) {
  EXPECT_EQ(DayOfWeek(0), 7);                           // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1);      // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 5) + 0.9), 4);  // Wednesday evening
  EXPECT_EQ(DayOfWeek(-1), 6);
  TDateTime dt = EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 0);
  Ymdhnsz r = Decode(IncSecond(dt));
  EXPECT_EQ(r.y, 2025);
  EXPECT_EQ(r.h, 0);
  EXPECT_DOUBLE_EQ(IncSecond(IncSecond(dt, 90), -90), dt);
  EXPECT_DOUBLE_EQ(IncHour(0.25, -12), -1.75);  // 1899-12-29 18:00
  EXPECT_DOUBLE_EQ(IncDay(-1.25, 1), 0.25);
  // A month on clips the day to the month's last and keeps the time.
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 31) + 0.5), EncodeDate(2024, 2, 29) + 0.5);
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 15), -1), EncodeDate(2023, 12, 15));
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2023, 3, 31), -13), EncodeDate(2022, 2, 28));
}

TEST(DateTime, FormatDateTimeLetters) {
  const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);  // a Tuesday
  struct Case {
    const char16_t* format;
    const char* text;
  } cases[] = {
      {u"d dd ddd dddd", "5 05 Tue Tuesday"},
      {u"m mm mmm mmmm", "3 03 Mar March"},
      {u"yy yyyy", "24 2024"},
      {u"h hh n nn s ss z zzz", "14 14 7 07 9 09 45 045"},
      {u"hh:mm", "14:07"},  // m after h is the minute
      {u"hh:nn mm", "14:07 03"},
      {u"ddddd", "2024/03/05"},
      {u"dddddd", "2024/03/05 Tuesday"},
      {u"t", "14:07"},
      {u"tt", "14:07:09"},
      {u"c", "2024/03/05 14:07:09"},
      {u"h:nn am/pm", "2:07 pm"},
      {u"h:nn AM/PM", "2:07 PM"},
      {u"h a/p", "2 p"},
      {u"hh ampm", "02 PM"},
      {u"yyyy'y'mm\"m\"dd", "2024y03m05"},
      {u"'hh' hh", "hh 14"},
      {u"yyyy/mm/dd", "2024/03/05"},
      {u"YYYY-MM-DD", "2024-03-05"},
  };
  for (const Case& c : cases) EXPECT_EQ(S(FormatDateTime(c.format, dt)), c.text) << S(c.format);
  EXPECT_EQ(S(FormatDateTime(u"h am/pm", EncodeTime(0, 30, 0, 0))), "12 am");
  EXPECT_EQ(S(FormatDateTime(u"h am/pm", EncodeTime(12, 0, 0, 0))), "12 pm");
  EXPECT_EQ(S(DateTimeToStr(EncodeDate(2024, 3, 5))), "2024/03/05");  // no time at midnight
  EXPECT_EQ(S(DateToStr(dt)), "2024/03/05");
  EXPECT_EQ(S(TimeToStr(dt)), "14:07:09");

  TFormatSettings de;
  de.DateSeparator = u'.';
  de.TimeSeparator = u'-';
  de.ShortDateFormat = u"dd/mm/yyyy";
  EXPECT_EQ(S(FormatDateTime(u"c", dt, de)), "05.03.2024 14-07-09");
  de.ShortDateFormat = u"ddddd";  // names itself: must not recurse for ever
  EXPECT_NO_THROW(FormatDateTime(u"c", dt, de));
}

TEST(DateTime, ParsesWhatItWrites) {
  const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  EXPECT_DOUBLE_EQ(StrToDate(DateToStr(dt)), EncodeDate(2024, 3, 5));
  EXPECT_NEAR(StrToTime(TimeToStr(dt)), EncodeTime(14, 7, 9, 0), 1e-9);
  EXPECT_NEAR(StrToDateTime(DateTimeToStr(dt)), dt, 1e-9);
  EXPECT_NEAR(StrToDateTime(u"1899/12/29 06:00"), -1.25, 1e-9);

  EXPECT_DOUBLE_EQ(StrToDate(u" 2024/3/5 "), EncodeDate(2024, 3, 5));
  uint16_t y, m, d;
  DecodeDate(StrToDate(u"3/5"), y, m, d);  // this year
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 5);
  DecodeDate(Date(), y, m, d);
  const int thisYear = y;
  DecodeDate(StrToDate(u"24/3/5"), y, m, d);  // two-digit year near now
  EXPECT_EQ(y % 100, 24);
  EXPECT_LE(std::abs(int(y) - thisYear), 50);

  TFormatSettings dmy;
  dmy.ShortDateFormat = u"dd.mm.yyyy";
  dmy.DateSeparator = u'.';
  EXPECT_DOUBLE_EQ(StrToDate(u"05.03.2024", dmy), EncodeDate(2024, 3, 5));

  EXPECT_NEAR(StrToTime(u"2:30 PM"), EncodeTime(14, 30, 0, 0), 1e-9);
  EXPECT_NEAR(StrToTime(u"12:00 am"), 0, 1e-9);
  EXPECT_NEAR(StrToTime(u"10:20:30.5"), EncodeTime(10, 20, 30, 500), 1e-9);
  EXPECT_NEAR(StrToDateTime(u"10:20"), EncodeTime(10, 20, 0, 0), 1e-9);

  for (const char16_t* bad : {u"", u"2024/13/01", u"2024/02/30", u"2024-03-05", u"2024/03/05x", u"5"}) {
    TDateTime v = 42;
    EXPECT_FALSE(TryStrToDate(bad, v)) << S(bad);
    EXPECT_EQ(v, 42);
  }
  for (const char16_t* bad : {u"", u"24:00", u"10:60", u"13:00 PM", u"10:20:30:40", u"x"}) {
    TDateTime v = 42;
    EXPECT_FALSE(TryStrToTime(bad, v)) << S(bad);
  }
  try {
    StrToDate(u"nope");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(S(e.Message()), "'nope' is not a valid date");
  }
  EXPECT_THROW(StrToTime(u"nope"), EConvertError);
  EXPECT_THROW(StrToDateTime(u"2024/03/05 nope"), EConvertError);
  EXPECT_EQ(StrToDateDef(u"bad", 7), 7);
}

TEST(DateTime, NowIsTodayAndTicksAdvance) {
  const TDateTime before = Now();
  EXPECT_GT(before, EncodeDate(2020, 1, 1));
  EXPECT_EQ(Date(), std::trunc(Date()));
  EXPECT_LE(Date(), Now());
  EXPECT_GE(Time(), 0);
  EXPECT_LT(Time(), 1);
  const uint64_t t0 = GetTickCount64();
  Sleep(20);
  EXPECT_GE(GetTickCount64() - t0, 20u);
  EXPECT_GE(uint32_t(GetTickCount() - uint32_t(t0)), 20u);
}

TEST(DateTime, AFixedTickCountHoldsUntilReleasedAndWrapsAt32Bits) {
  FixTickCount(0x1'0000'0005ull);
  Sleep(5);
  EXPECT_EQ(GetTickCount64(), 0x1'0000'0005ull);
  EXPECT_EQ(GetTickCount(), 5u);
  ReleaseTickCount();
  const uint64_t t0 = GetTickCount64();
  Sleep(5);
  EXPECT_GE(GetTickCount64() - t0, 5u);
}

TEST(RandomNumbers, StayInRange) {
  Randomize();
  bool seen[5] = {};
  for (int i = 0; i < 1000; ++i) {
    int32_t r = Random(5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    seen[r] = true;
    double d = Random();
    ASSERT_GE(d, 0.0);
    ASSERT_LT(d, 1.0);
  }
  for (bool s : seen) EXPECT_TRUE(s);
  EXPECT_EQ(Random(0), 0);
}
