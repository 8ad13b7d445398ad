// The analogue clock: dial geometry, setting the time by mouse and keys, animation and running
// mode driven tick by tick, the AM/PM roll, the cached face, pixels of the hands, the presets.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/AdvGDIP.h"
#include "dropdowns/AdvWatch.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

// Exposes the timer steps so that the test drives them.
class TTestWatch : public TAdvWatch {
public:
  using TAdvWatch::TAdvWatch;
  using TAdvWatch::AnimationTick;
  using TAdvWatch::AnimationTimer;
  using TAdvWatch::FaceDraws;
  using TAdvWatch::RollTick;
  using TAdvWatch::RollTimer;
  using TAdvWatch::WatchTick;
  using TAdvWatch::WatchTimer;
};

struct WatchFixture {
  TForm form{nullptr};
  TTestWatch* w;
  int changes = 0;
  WatchFixture() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 300, 300);
    w = new TTestWatch(&form);
    w->SetParent(&form);
    w->SetBounds(0, 0, 180, 180);
    w->OnChange = [this](TObject*) { ++changes; };
    form.Show();
    ProcessPendingEvents();
  }
  int Hour() const {
    uint16_t h, m, s, ms;
    DecodeTime(w->Time(), h, m, s, ms);
    return h;
  }
  int Minute() const {
    uint16_t h, m, s, ms;
    DecodeTime(w->Time(), h, m, s, ms);
    return m;
  }
  // Runs the animation to its end; gives the number of ticks.
  int Animate() {
    int ticks = 0;
    while (w->AnimationTimer()->Enabled() && ticks < 1000) {
      w->AnimationTick();
      ++ticks;
    }
    return ticks;
  }
  // Nothing over the background: no marks, numbers, box, border, hands or centre.
  void BackgroundOnly() {
    w->SetShowNumbers(false);
    w->SetShowAMPM(false);
    w->Appearance()->SetTickMarks(tmNone);
    w->Appearance()->SetBorderWidth(0);
    w->Appearance()->SetPointerStyle(psShortLine);
    w->Appearance()->SetCenterPointSize(0);
  }
  void Click(int X, int Y) {
    SimulateClick(w, X, Y);
    ProcessPendingEvents();
  }
};

TEST(AdvWatch, FaceOfAnAutomaticSizeIsCentredTwentyPixelsSmaller) {
  WatchFixture f;
  EXPECT_EQ(f.w->FaceRect(), TRect(10, 10, 170, 170));
  f.w->Appearance()->SetSize(120);
  EXPECT_EQ(f.w->FaceRect(), TRect(30, 30, 150, 150));
  f.w->Appearance()->SetSize(500);  // no larger than the client
  EXPECT_EQ(f.w->FaceRect(), TRect(0, 0, 180, 180));
}

struct DialCase {
  int x, y, minute, hourAM, hourPM;
};

// Centre (90, 90). Hours: either side of 12 is 0 in the morning and 12 in the afternoon.
const DialCase kDial[] = {
    {170, 90, 15, 3, 15},  {90, 170, 30, 6, 18},  {10, 90, 45, 9, 21},  {90, 10, 0, 0, 12},
    {95, 10, 1, 0, 12},    {85, 10, 59, 0, 12},   {150, 30, 7, 1, 13},  {30, 30, 53, 11, 23},
    {150, 150, 23, 5, 17}, {30, 150, 37, 7, 19},  {92, 10, 0, 0, 12},   {60, 12, 56, 11, 23},
};

TEST(AdvWatch, MinuteAndHourFromPointAroundTheDial) {
  WatchFixture f;
  for (const DialCase& c : kDial) {
    EXPECT_EQ(f.w->MinuteFromPoint(TPoint(c.x, c.y)), c.minute) << c.x << "," << c.y;
    f.w->SetTime(EncodeTime(1, 0, 0, 0));
    EXPECT_TRUE(f.w->AM());
    EXPECT_EQ(f.w->HourFromPoint(TPoint(c.x, c.y)), c.hourAM) << c.x << "," << c.y;
    f.w->SetTime(EncodeTime(13, 0, 0, 0));
    EXPECT_FALSE(f.w->AM());
    EXPECT_EQ(f.w->HourFromPoint(TPoint(c.x, c.y)), c.hourPM) << c.x << "," << c.y;
  }
}

TEST(AdvWatch, ClicksOutsideTheFaceSetTheMinuteInsideTheHourEachFiringOnce) {
  WatchFixture f;
  f.w->SetAnimation(false);
  f.w->SetTime(EncodeTime(1, 45, 0, 0));
  f.Click(176, 90);  // 3 o'clock in the margin
  EXPECT_EQ(f.Minute(), 15);
  EXPECT_EQ(f.changes, 1);
  f.w->SetTime(EncodeTime(1, 45, 0, 0));
  f.Click(90, 3);  // 12 o'clock in the margin: on into the next hour
  EXPECT_EQ(f.Hour(), 2);
  EXPECT_EQ(f.Minute(), 0);
  EXPECT_EQ(f.changes, 2);
  f.Click(150, 90);  // inside at 3 o'clock, morning
  EXPECT_EQ(f.Hour(), 3);
  f.w->SetTime(EncodeTime(14, 0, 0, 0));
  f.Click(150, 90);  // afternoon
  EXPECT_EQ(f.Hour(), 15);
  EXPECT_EQ(f.changes, 4);
  // The same hour again changes nothing and fires nothing.
  f.Click(150, 90);
  EXPECT_EQ(f.changes, 4);
}

TEST(AdvWatch, SetMinuteRejectsSixtyAndPassingTwelveFromTheSecondHalfAdvancesTheHour) {
  WatchFixture f;
  f.w->SetAnimation(false);
  try {
    f.w->SetMinute(60);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Invalid time");
  }
  f.w->SetTime(EncodeTime(23, 31, 0, 0));
  f.w->SetMinute(0);
  EXPECT_EQ(f.Hour(), 0);
  f.w->SetTime(EncodeTime(5, 30, 0, 0));
  f.w->SetMinute(0);
  EXPECT_EQ(f.Hour(), 5);
  EXPECT_EQ(f.changes, 2);
}

TEST(AdvWatch, AnimatedHourMovesInShrinkingStepsAndFiresOnceOnArrival) {
  WatchFixture f;
  f.w->SetTime(EncodeTime(2, 0, 0, 0));
  f.w->SetHour(8);
  EXPECT_TRUE(f.w->AnimationTimer()->Enabled());
  EXPECT_EQ(f.Hour(), 2);
  std::vector<int> seen;
  while (f.w->AnimationTimer()->Enabled()) {
    f.w->AnimationTick();
    seen.push_back(f.Hour());
    if (f.Hour() != 8) {
      EXPECT_EQ(f.changes, 0);
    }
  }
  // One per tick (6 / 10 rounds to 1), then the arrival tick.
  EXPECT_EQ(seen, (std::vector<int>{3, 4, 5, 6, 7, 8, 8}));
  EXPECT_EQ(f.changes, 1);
  // A factor below 1 counts as 1: straight to the target.
  f.w->SetAnimationFactor(0);
  f.w->SetHour(20);
  EXPECT_EQ(f.Animate(), 2);
  EXPECT_EQ(f.Hour(), 20);
  EXPECT_EQ(f.changes, 2);
}

TEST(AdvWatch, AnimatedMinuteRoundTwelveAdvancesTheHourAndStepsByATenth) {
  WatchFixture f;
  f.w->SetTime(EncodeTime(4, 10, 0, 0));
  f.w->SetMinute(50);
  f.w->AnimationTick();
  EXPECT_EQ(f.Minute(), 14);  // 40 / 10
  f.Animate();
  EXPECT_EQ(f.Minute(), 50);
  EXPECT_EQ(f.changes, 1);
  f.w->SetMinute(0);
  f.Animate();
  EXPECT_EQ(f.Hour(), 5);
  EXPECT_EQ(f.Minute(), 0);
  EXPECT_EQ(f.changes, 2);
}

struct KeyCase {
  int h, m;
  Word key;
  int toH, toM;
};

TEST(AdvWatch, KeysSetHourAndMinuteWithWrapFiringOnce) {
  const KeyCase cases[] = {
      {14, 0, 'A', 2, 0},      {2, 0, 'P', 14, 0},      {2, 0, 'A', 2, 0},         {23, 5, VK_PRIOR, 0, 5},
      {0, 5, VK_NEXT, 23, 5},  {7, 5, VK_PRIOR, 8, 5},  {7, 5, VK_HOME, 12, 5},    {7, 40, VK_END, 8, 0},
      {7, 0, VK_LEFT, 6, 59},  {0, 0, VK_LEFT, 23, 59}, {7, 59, VK_RIGHT, 8, 0},   {7, 10, VK_RIGHT, 7, 11},
  };
  for (const KeyCase& c : cases) {
    WatchFixture f;
    f.w->SetAnimation(false);
    f.w->SetTime(EncodeTime(c.h, c.m, 0, 0));
    f.w->ProcessKey(c.key);
    EXPECT_EQ(f.Hour(), c.toH) << c.h << ":" << c.m << " key " << c.key;
    EXPECT_EQ(f.Minute(), c.toM) << c.h << ":" << c.m << " key " << c.key;
    EXPECT_EQ(f.changes, c.h == c.toH && c.m == c.toM ? 0 : 1) << c.h << ":" << c.m << " key " << c.key;
  }
}

TEST(AdvWatch, RunningModeShowsTheSourceTimePlusOffsetAndIgnoresMouseAndKeys) {
  WatchFixture f;
  TDateTime now = 46000 + EncodeTime(10, 20, 30, 0);
  f.w->SetTimeSource([&] { return now; });
  f.w->Settings()->SetTimeOffset(90);
  f.w->Settings()->SetAuto(true);
  EXPECT_TRUE(f.w->WatchTimer()->Enabled());
  EXPECT_EQ(f.w->WatchTimer()->Interval(), 100u);
  f.w->ProcessKey(VK_PRIOR);
  f.Click(150, 90);
  EXPECT_EQ(f.changes, 0);
  // The second hand along 3 o'clock at 11:50:15 (red, to 0.9 R).
  now = 46000 + EncodeTime(10, 20, 15, 0);
  f.w->WatchTick();
  auto bmp = RenderControl(f.w);
  EXPECT_EQ(PixelColor(*bmp, 90 + 68, 90), TColor(0x0000FF));
  EXPECT_TRUE(f.w->AM());
  now = 46000 + EncodeTime(11, 0, 0, 0);
  f.w->WatchTick();
  EXPECT_FALSE(f.w->AM());
  // The offset runs past midnight: 23:00 + 90 minutes is morning again.
  now = 46000 + EncodeTime(23, 0, 0, 0);
  f.w->WatchTick();
  EXPECT_TRUE(f.w->AM());
  f.w->Settings()->SetAuto(false);
  EXPECT_FALSE(f.w->WatchTimer()->Enabled());
}

TEST(AdvWatch, CentreAndHandTipsAtKnownTimes) {
  WatchFixture f;
  f.w->SetAnimation(false);
  f.w->SetShowNumbers(false);
  f.w->SetShowAMPM(false);
  f.w->Appearance()->SetHourPointer(0x0000C0);
  f.w->Appearance()->SetMinutePointer(0xC00000);
  f.w->Appearance()->SetCenterPointSize(8);
  f.w->Appearance()->SetCenterPointColor(0x00C000);
  f.w->SetTime(EncodeTime(3, 0, 0, 0));
  auto bmp = RenderControl(f.w);
  // R = 80: the hour hand reaches 40 to the right, the minute hand 56 up.
  EXPECT_EQ(PixelColor(*bmp, 90, 90), TColor(0x00C000));
  EXPECT_EQ(PixelColor(*bmp, 90 + 37, 90), TColor(0x0000C0));
  EXPECT_EQ(PixelColor(*bmp, 90, 90 - 53), TColor(0xC00000));
  EXPECT_EQ(PixelColor(*bmp, 90 + 46, 90), TColor(clWhite));
  // Below the hour hand its shadow: the shadow colour at alpha 80 over the white face.
  auto expectShadow = [](TBitmap& Shot, int X, int Y) {
    const TColor shade = ColorToRGB(clBtnShadow), seen = PixelColor(Shot, X, Y);
    for (int shift : {0, 8, 16}) {
      const int face = 255, shadow = (shade >> shift) & 0xFF;
      EXPECT_NEAR(int((seen >> shift) & 0xFF), face + (shadow - face) * 80 / 255, 2) << X << "," << Y;
    }
  };
  expectShadow(*bmp, 110, 94);
  f.w->SetTime(EncodeTime(9, 30, 0, 0));
  bmp = RenderControl(f.w);
  EXPECT_EQ(PixelColor(*bmp, 90, 90 + 53), TColor(0xC00000));  // minute at 6
  // The hour hand halfway between 9 and 10: 285 degrees.
  EXPECT_EQ(PixelColor(*bmp, 90 - 36, 90 - 10), TColor(0x0000C0));
  expectShadow(*bmp, 60, 86);
  // Only the hands' area was painted again, and the old hands are gone from it.
  EXPECT_EQ(PixelColor(*bmp, 90 + 37, 90), TColor(clWhite));
  EXPECT_EQ(PixelColor(*bmp, 90, 90 - 53), TColor(clWhite));
  EXPECT_EQ(PixelColor(*bmp, 90, 90), TColor(0x00C000));
}

TEST(AdvWatch, HandMovesRepaintOnlyTheHandsTheFaceOnlyAfterItChanged) {
  WatchFixture f;
  f.w->SetAnimation(false);
  RenderControl(f.w);
  const int faces = f.w->FaceDraws();
  f.w->SetTime(EncodeTime(3, 10, 0, 0));
  RenderControl(f.w);
  f.w->SetMinute(20);
  RenderControl(f.w);
  EXPECT_EQ(f.w->FaceDraws(), faces);
  f.w->Appearance()->SetBackgroundColor(0xE0E0E0);
  RenderControl(f.w);
  EXPECT_EQ(f.w->FaceDraws(), faces + 1);
}

TEST(AdvWatch, RectangularRadialBackgroundHasRectangularContours) {
  WatchFixture f;
  f.BackgroundOnly();
  f.w->Appearance()->SetShape(wsRect);
  f.w->Appearance()->SetBackgroundGradient(wgRadial);
  f.w->Appearance()->SetBackgroundColor(clWhite);
  f.w->Appearance()->SetBackgroundColorTo(clBlack);
  auto bmp = RenderControl(f.w);
  // Points at the same fraction of the way out along a side and towards a corner match; a
  // circular gradient would make the corner-ward one darker.
  const TColor side = PixelColor(*bmp, 90 + 45, 90), diag = PixelColor(*bmp, 90 + 45, 90 + 45);
  EXPECT_NEAR(side & 0xFF, diag & 0xFF, 4);
  EXPECT_NEAR(side & 0xFF, 128, 8);
}

TEST(AdvWatch, AMPMClickRollsOnTimerTicksThenSwitchesTheHourOnce) {
  WatchFixture f;
  f.w->SetTime(EncodeTime(9, 15, 0, 0));
  RenderControl(f.w);
  const TRect box = f.w->GetAMPMRect();
  ASSERT_GT(box.Height(), 4);
  f.Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
  EXPECT_FALSE(f.w->AM());
  EXPECT_EQ(f.Hour(), 21);
  EXPECT_EQ(f.changes, 1);
  ASSERT_TRUE(f.w->RollTimer()->Enabled());
  EXPECT_EQ(f.w->RollTimer()->Interval(), 10u);
  int ticks = 0;
  while (f.w->RollTimer()->Enabled() && ticks < 500) {
    f.w->RollTick();
    ++ticks;
  }
  EXPECT_EQ(ticks, box.Height() + 1);
  EXPECT_EQ(f.changes, 1);
}

TEST(AdvWatch, LookPresetsAndTheirByteSizes) {
  WatchFixture f;
  f.w->SetStyle(wsClassic);  // already recorded: nothing applied
  EXPECT_EQ(f.w->Appearance()->HourMarkLength(), 0);
  f.w->SetAnimationFactor(3);
  f.w->SetStyle(wsSuperNova);
  EXPECT_EQ(f.w->Appearance()->HourMarkLength(), 40);
  EXPECT_EQ(f.w->Appearance()->MinuteMarkLength(), 60);
  EXPECT_EQ(f.w->AnimationFactor(), 3);
  f.w->SetStyle(wsSports);
  EXPECT_EQ(f.w->Appearance()->CenterPointSize(), 50);
  EXPECT_EQ(f.w->Appearance()->BackgroundColorTo(), clNone);  // reset first
  f.w->SetStyle(wsClassic);
  EXPECT_EQ(f.w->Appearance()->HourMarkLength(), 8);
  EXPECT_EQ(f.w->Appearance()->HourFont()->Name(), u"Comic Sans MS");
  EXPECT_EQ(f.w->AnimationFactor(), 10);
  // On a large clock the byte-sized values stop at 255.
  f.w->SetBounds(0, 0, 1200, 1200);
  f.w->SetStyle(wsSuperNova);
  EXPECT_EQ(f.w->Appearance()->HourMarkLength(), 255);
  EXPECT_EQ(f.w->Appearance()->MinuteMarkLength(), 255);
  f.w->SetStyle(wsSports);
  EXPECT_EQ(f.w->Appearance()->CenterPointSize(), 255);
  // Every face the looks name is found through the platform's font substitutions, so the AM/PM
  // text does not fall back to the default family.
  for (TWatchStyle style : {wsClassic, wsTower, wsFluorescent, wsBlack, wsBlackWhite, wsGray, wsSports, wsSmooth}) {
    f.w->SetStyle(style);
    for (TFont* font : {f.w->Appearance()->HourFont(), f.w->Appearance()->AMPMFont()}) {
      TGPFontFamily family(font->Name());
      EXPECT_EQ(family.GetLastStatus(), Ok) << StringToUTF8(font->Name());
    }
  }
}

TEST(AdvWatch, ColourStylesSetTheTableAndCustomOnlyTheCommonPart) {
  WatchFixture f;
  f.w->Appearance()->SetBackgroundColor(0x123456);
  f.w->SetComponentStyle(tsCustom);
  EXPECT_EQ(f.w->Appearance()->BackgroundColor(), TColor(0x123456));
  EXPECT_EQ(f.w->Appearance()->CenterPointOuterBorderColor(), clBlack);
  f.w->SetComponentStyle(tsWindows7);
  EXPECT_EQ(f.w->Appearance()->BackgroundColor(), TColor(0x00FDFBFA));
  EXPECT_EQ(f.w->Appearance()->BackgroundColorTo(), TColor(0x00FDF3EB));
  EXPECT_EQ(f.w->Appearance()->AMPMBorderColor(), TColor(0x00FBD6B8));
  f.w->SetComponentStyle(tsOffice2007Obsidian);
  EXPECT_EQ(f.w->Appearance()->HourFont()->Color(), TColor(0x00F2F1F0));
  EXPECT_EQ(f.w->Appearance()->BackgroundColorTo(), TColor(0x005C534C));
}

TEST(AdvWatch, PictureReplacesTheBackgroundStretchedWithItsCornerColourKeyedOut) {
  WatchFixture f;
  f.BackgroundOnly();
  TBitmap bmp(10, 10);
  bmp.Canvas()->Brush()->SetColor(0xFF0000);
  bmp.Canvas()->FillRect(TRect(0, 0, 10, 10));
  bmp.Canvas()->Brush()->SetColor(0x00FF00);
  bmp.Canvas()->FillRect(TRect(0, 0, 5, 1));  // the key colour, along the top-left
  f.w->Appearance()->Picture()->SetGraphic(&bmp);
  auto shot = RenderControl(f.w);
  EXPECT_EQ(PixelColor(*shot, 90, 120), TColor(0xFF0000));  // stretched over the client
  // Where the picture is keyed out the white face does not show either: the picture replaces it.
  EXPECT_NE(PixelColor(*shot, 30, 3), TColor(0x00FF00));
  EXPECT_NE(PixelColor(*shot, 30, 3), TColor(clWhite));
}

// A graphic of an application's own kind whose stored form is whatever bytes it was given:
// what the clock reads back from it may be damaged or claim a giant size.
class TRawGraphic : public TGraphic {
public:
  static std::vector<uint8_t> Bytes;
  String ClassName() const override { return u"TRawGraphic"; }
  void Assign(TPersistent*) override {}
  bool Empty() const override { return false; }
  int Width() const override { return 10; }
  int Height() const override { return 10; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void Draw(TCanvas*, const TRect&) override {}
  void LoadFromStream(TStream*) override {}
  void SaveToStream(TStream* Stream) override { Stream->Write(Bytes.data(), int32_t(Bytes.size())); }
};
std::vector<uint8_t> TRawGraphic::Bytes;

// A BMP file header and info header declaring Width x Height pixels of 24 bits, without pixels.
std::vector<uint8_t> BmpHeader(int32_t Width, int32_t Height) {
  std::vector<uint8_t> b(54, 0);
  auto put32 = [&](size_t At, uint32_t V) { std::memcpy(&b[At], &V, 4); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(Width));
  put32(22, uint32_t(Height));
  b[26] = 1;
  b[28] = 24;
  return b;
}

TEST(AdvWatch, DamagedOrGiantBackgroundPictureDrawsNoPicture) {
  TPicture::RegisterFileFormat(u"rawclockpicture", u"raw test bytes", [] { return std::make_unique<TRawGraphic>(); });
  WatchFixture f;
  f.BackgroundOnly();
  f.w->Appearance()->SetBackgroundColor(0x40C040);
  f.w->Appearance()->SetBackgroundColorTo(clNone);
  f.w->Appearance()->SetShape(wsRect);
  const std::vector<std::vector<uint8_t>> cases = {
      {'B', 'M', 0x13, 0x37, 0, 0, 0xFF, 0xFE},            // a damaged file
      {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2},  // a cut-off PNG
      BmpHeader(200000, 200000),                            // a header claiming 40 gigapixels
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    TRawGraphic::Bytes = cases[i];
    TRawGraphic g;
    f.w->Appearance()->Picture()->SetGraphic(&g);
    std::unique_ptr<TBitmap> shot;
    EXPECT_NO_THROW(shot = RenderControl(f.w)) << i;
    ASSERT_TRUE(shot) << i;
    // The painted background shows where the picture would have been.
    EXPECT_EQ(PixelColor(*shot, 90, 90), TColor(0x40C040)) << i;
    EXPECT_EQ(PixelColor(*shot, 5, 5), TColor(0x40C040)) << i;
  }
  f.w->Appearance()->Picture()->SetGraphic(nullptr);
  TPicture::UnregisterFileFormat(u"rawclockpicture");
}

}  // namespace
