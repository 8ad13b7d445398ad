// The operating-hour counter and the settings objects it builds on.
#include <gtest/gtest.h>

#include <cstdlib>

#include "InstrTestSupport.h"
#include "instruments/AbOpHour.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {
void Tick(TAbOpHourCounter* c) { c->Perform(WM_FLASHTICK, 0, 0); }
String Shown(TAbOpHourCounter* c) { return c->TimeText(c->Hours(), c->Minutes(), c->Seconds()); }
int LimeCount(TBitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += PixelColor(b, x, y) == clLime;
  return n;
}
}  // namespace

TEST(AbOpHourCounter, RendersTheTimeInsideItsBevels) {
  TTestForm f;
  auto* c = f.Add<TAbOpHourCounter>(10, 10);
  c->Limit()->SetHour(100);
  auto zero = RenderControl(c);
  EXPECT_EQ(Shown(c), u"0000h:00m:00s");
  EXPECT_GE(c->Width(), c->MinSize().cx);
  EXPECT_EQ(PixelColor(*zero, 4, c->Height() / 2), clBlack);  // inner face
  EXPECT_GT(LimeCount(*zero), 10);
  c->SetTime(12, 34, 56);
  EXPECT_EQ(Shown(c), u"0012h:34m:56s");
  auto later = RenderControl(c);
  EXPECT_NE(LimeCount(*later), LimeCount(*zero));
  // The tick draws the new time on the window at once.
  Tick(c);
  EXPECT_EQ(Shown(c), u"0012h:34m:57s");
  auto onWindow = Snapshot(c);
  int diff = 0;
  auto fresh = RenderControl(c);
  for (int y = 0; y < c->Height(); ++y)
    for (int x = 0; x < c->Width(); ++x)
      diff += (PixelColor(*onWindow, x, y) == clLime) != (PixelColor(*fresh, x, y) == clLime);
  EXPECT_EQ(diff, 0);
  EXPECT_GT(LimeCount(*onWindow), 10);
}

TEST(AbOpHourCounter, CountsUpAndDownAcrossCarries) {
  TTestForm f;
  auto* c = f.Add<TAbOpHourCounter>(10, 10);
  c->Limit()->SetHour(1000);
  c->SetTime(0, 59, 59);
  c->SetCount(true);
  EXPECT_TRUE(c->Counting());
  Tick(c);
  EXPECT_EQ(Shown(c), u"0001h:00m:00s");
  c->SetCountDown(true);
  Tick(c);
  EXPECT_EQ(Shown(c), u"0000h:59m:59s");
  c->SetTime(0, 125, 70);
  EXPECT_EQ(Shown(c), u"0002h:06m:10s");
  c->SetHourDigits(2);
  c->SetIndicate(oiHour);
  c->SetTime(5, 0, 0);
  EXPECT_EQ(Shown(c), u"05h");
  // Separators are shown as typed, even with format characters in them.
  c->SetSeparatorHour(u"%d%s");
  EXPECT_EQ(Shown(c), u"05%d%s");
}

TEST(AbOpHourCounter, ZeroStopsOrReloadsThePreset) {
  TTestForm f;
  auto* c = f.Add<TAbOpHourCounter>(10, 10);
  c->Limit()->SetHour(1000);
  int zeros = 0;
  c->OnZero = [&](TObject*) { ++zeros; };
  c->SetCountDown(true);
  c->SetTime(0, 0, 2);
  c->SetCount(true);
  Tick(c);
  Tick(c);
  EXPECT_EQ(zeros, 1);
  EXPECT_FALSE(c->Counting());
  EXPECT_TRUE(c->Count());
  EXPECT_EQ(Shown(c), u"0000h:00m:00s");

  c->SetOptions({opPresetOnZero});
  c->PresetValue()->SetValue(0, 10, 0);
  c->SetCount(false);
  c->SetTime(0, 0, 1);
  c->SetCount(true);
  Tick(c);
  EXPECT_EQ(Shown(c), u"0000h:10m:00s");
  EXPECT_TRUE(c->Counting());

  // A zero preset is itself a zero: handled once, no endless re-entry.
  c->PresetValue()->SetValue(0, 0, 0);
  zeros = 0;
  c->SetTime(0, 0, 0);
  EXPECT_EQ(zeros, 1);
  EXPECT_FALSE(c->Counting());
}

TEST(AbOpHourCounter, LimitComparesWholeTimes) {
  TTestForm f;
  auto* c = f.Add<TAbOpHourCounter>(10, 10);
  c->Limit()->SetValue(1, 30, 0);
  int limits = 0;
  c->OnLimit = [&](TObject*) { ++limits; };
  c->SetTime(1, 29, 59);
  c->SetCount(true);
  EXPECT_EQ(limits, 0);
  Tick(c);
  EXPECT_EQ(limits, 1);
  c->SetTime(2, 0, 0);  // past the limit, not below it again
  EXPECT_EQ(limits, 1);
  c->SetTime(1, 0, 0);
  c->SetTime(2, 30, 0);
  EXPECT_EQ(limits, 2);
  c->SetOptions({opStopOnLimit});
  c->SetTime(1, 0, 0);
  c->SetTime(1, 30, 0);
  EXPECT_FALSE(c->Counting());
}

TEST(AbOpHourCounter, CountIsLoadedAtFirstPaintAndSavedOnDestruction) {
  TempFolder dir;
  String file = dir.FileS("count.ini");
  {
    TIniFile ini(file);
    ini.WriteInteger(u"Counter1", u"h", 7);
    ini.WriteInteger(u"Counter1", u"m", 8);
    ini.WriteInteger(u"Counter1", u"s", 9);
  }
  {
    TTestForm f;
    auto* c = f.Add<TAbOpHourCounter>(10, 10);
    c->SetName(u"Counter1");
    c->Limit()->SetHour(1000);
    c->IniSettings()->SetUseAppDir(false);
    c->IniSettings()->SetFileName(file);
    c->IniSettings()->SetAutoLoadSave(true);
    RenderControl(c);
    EXPECT_EQ(Shown(c), u"0007h:08m:09s");
    c->SetTime(1, 2, 3);
  }
  TIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger(u"Counter1", u"h", -1), 1);
  EXPECT_EQ(ini.ReadInteger(u"Counter1", u"s", -1), 3);
}

TEST(AbSettings, ObjectsStoreChangesAndRejectOutOfRangeValues) {
  TAbOffset o;
  int changes = 0;
  o.OnChange = [&](TObject*) { ++changes; };
  o.SetLeft(2);
  o.SetTop(3);
  o.SetRight(4);
  o.SetBottom(5);
  o.SetBottom(5);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(o.SetOffset(TRect(10, 10, 100, 50)), TRect(12, 13, 96, 45));

  TLED led;
  led.OnChange = [&](TObject*) { ++changes; };
  changes = 0;
  led.SetWidth(3);
  led.SetWidth(81);
  EXPECT_EQ(led.Width(), 13);
  EXPECT_EQ(changes, 0);
  TLED other;
  EXPECT_THROW(other.Assign(&led), EConvertError);

  TAbSBevel b;
  b.SetWidth(2);
  b.SetSpacing(5);
  b.SetBevelLine(blBoth);
  EXPECT_EQ(b.TotalWidth, 9);
  TAbSBevel copy;
  copy.Assign(&b);
  EXPECT_EQ(copy.TotalWidth, 9);
  b.SurfaceGrad()->SetVisible(true);
  b.SurfaceGrad()->SetColorFrom(clRed);
  b.SurfaceGrad()->SetColorTo(clRed);
  TBitmap bmp(100, 40);
  TRect r(0, 0, 100, 40);
  b.PaintFilledBevel(bmp.Canvas(), r);
  EXPECT_EQ(r, TRect(9, 9, 91, 31));
  EXPECT_EQ(PixelColor(bmp, 4, 4), clRed);
  EXPECT_EQ(PixelColor(bmp, 95, 35), clRed);
  EXPECT_NE(PixelColor(bmp, 3, 20), clRed);
  EXPECT_EQ(PixelColor(bmp, 0, 0), clBlack);  // outer line

  TIniSettings ini;
  ini.Handle(true);
  EXPECT_TRUE(ini.Error);
  EXPECT_EQ(ini.ErrString, u"Invalid SectionName");
  ini.SetFileName(u"C:\\data\\x.ini");
  EXPECT_EQ(ini.Path(), AppDir() + u"x.ini");
}
