// Two-state controls: groups, modes, flashing; the LED and the latching button.
#include <gtest/gtest.h>

#include "InstrTestSupport.h"
#include "instruments/AbCBitBt.h"
#include "instruments/AbLED.h"
#include "testing/TestSupport.h"

TEST(AbBinGControl, GroupSharesOneStatusWord) {
  TTestForm f;
  TAbLED* l[3];
  int changed[3] = {0, 0, 0}, intChanged[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    l[i] = f.Add<TAbLED>(10, 10 + 40 * i);
    l[i]->SetStatusBit(i);
    l[i]->SetGroupIndex(1);
    l[i]->OnStatusChanged = [&, i](TObject*) { ++changed[i]; };
    l[i]->OnStatusIntChanged = [&, i](TObject*) { ++intChanged[i]; };
  }
  l[1]->SetStatusInt(5);
  EXPECT_TRUE(l[0]->Checked());
  EXPECT_FALSE(l[1]->Checked());
  EXPECT_TRUE(l[2]->Checked());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(l[i]->StatusInt(), 5);
    EXPECT_EQ(intChanged[i], 1);
  }
  EXPECT_EQ(changed[0], 1);
  EXPECT_EQ(changed[1], 0);
  EXPECT_EQ(changed[2], 1);
  EXPECT_EQ(l[0]->FirstCheckedBit(), 0);
  l[0]->SetStatusInt(INT32_MIN);
  EXPECT_EQ(l[2]->FirstCheckedBit(), 31);
  l[0]->SetStatusInt(0);
  EXPECT_EQ(l[1]->FirstCheckedBit(), 32);
}

TEST(AbBinGControl, SwitchAndRadioGroupsFollowTheMouse) {
  TTestForm f;
  TAbColBitBtn* b[4];
  for (int i = 0; i < 4; ++i) {
    b[i] = f.Add<TAbColBitBtn>(10 + 70 * i, 10);
    b[i]->SetStatusBit(i);
    b[i]->SetGroupIndex(2);
    b[i]->SetMode(mRadioButton);
  }
  EXPECT_TRUE(b[0]->Checked());
  SimulateMouseDown(b[2], mbLeft, 5, 5);
  SimulateMouseUp(b[2], mbLeft, 5, 5);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b[i]->StatusInt(), 4);
    EXPECT_EQ(b[i]->Checked(), i == 2);
  }
  // A switch-mode member with bit 3 of a group whose word is 1.
  TAbLED* s[2];
  for (int i = 0; i < 2; ++i) {
    s[i] = f.Add<TAbLED>(10, 100 + 40 * i);
    s[i]->SetMode(mSwitch);
    s[i]->SetGroupIndex(3);
  }
  s[0]->SetStatusInt(1);
  s[1]->SetStatusBit(3);
  s[1]->SetChecked(true);
  EXPECT_EQ(s[0]->StatusInt(), 9);
  EXPECT_EQ(s[1]->StatusInt(), 9);
}

TEST(AbBinGControl, ButtonModeIsCheckedWhileHeldWithTheLeftButtonOnly) {
  TTestForm f;
  auto* b = f.Add<TAbColBitBtn>(10, 10);
  int changes = 0;
  b->OnStatusChanged = [&](TObject*) { ++changes; };
  SimulateMouseDown(b, mbRight, 5, 5);
  EXPECT_FALSE(b->Checked());
  SimulateMouseUp(b, mbRight, 5, 5);
  SimulateMouseDown(b, mbLeft, 5, 5);
  EXPECT_TRUE(b->Checked());
  SimulateMouseUp(b, mbLeft, 5, 5);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(changes, 2);
}

TEST(AbBinGControl, FlashCallsComeOnlyWhileCheckedAndFlashing) {
  TTestForm f;
  auto* led = f.Add<TAbLED>(10, 10);
  led->SetFlashing(true);
  EXPECT_EQ(FlashClient(led), nullptr);
  led->SetChecked(true);
  ASSERT_NE(FlashClient(led), nullptr);
  EXPECT_EQ(FlashClient(led)->Interval, 5);  // ff1Hz
  led->SetFrequency(ff8Hz);
  EXPECT_EQ(FlashClient(led)->Interval, 2);
  led->SetFlashing(false);
  EXPECT_EQ(FlashClient(led), nullptr);
  led->SetFlashing(true);
  led->SetChecked(false);
  EXPECT_EQ(FlashClient(led), nullptr);
}

TEST(AbLED, LampLandsAtItsRectangleAndFlashesThere) {
  TTestForm f;
  auto* led = f.Add<TAbLED>(20, 30, 25, 25);
  led->SetCaption(u"");
  led->LED()->SetShape(sRectangle);
  led->LED()->SetWidth(18);
  led->LED()->SetHeight(18);
  auto off = RenderControl(led);
  EXPECT_EQ(PixelColor(*off, 9, 12), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelColor(*off, 0, 3), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelColor(*off, 17, 20), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelColor(*off, 9, 2), clWhite);
  EXPECT_EQ(PixelColor(*off, 9, 21), clWhite);
  EXPECT_EQ(PixelColor(*off, 18, 12), clWhite);

  // Checking redraws the lamp on the window at once.
  led->SetChecked(true);
  EXPECT_EQ(PixelColor(*Snapshot(led), 9, 12), clLime);
  led->SetFlashing(true);
  led->Perform(WM_FLASHTICK, 32, 0);
  EXPECT_EQ(PixelColor(*Snapshot(led), 9, 12), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelColor(*RenderControl(led), 9, 12), ColorToRGB(clBtnFace));  // a repaint keeps the phase
  led->Perform(WM_FLASHTICK, 64, 1);
  EXPECT_EQ(PixelColor(*Snapshot(led), 9, 12), clLime);
  led->Perform(WM_FLASHTICK, 96, 0);
  led->SetFlashing(false);
  EXPECT_EQ(PixelColor(*Snapshot(led), 9, 12), clLime);
}

TEST(AbLED, RoundLampIsSquareAndCaptionSitsBesideIt) {
  TTestForm f;
  auto* led = f.Add<TAbLED>(0, 0, 73, 33);
  led->LED()->SetWidth(13);
  led->LED()->SetHeight(9);
  led->SetCaption(u"LED");
  led->Font()->SetColor(clBlack);
  auto b = RenderControl(led);
  // Lamp 13 x 13 centred vertically at the left: (0, 10)..(13, 23).
  EXPECT_NE(PixelColor(*b, 6, 16), clWhite);
  EXPECT_NE(PixelColor(*b, 6, 11), clWhite);
  EXPECT_EQ(PixelColor(*b, 6, 8), clWhite);
  bool ink = false;
  for (int x = 18; x < 73; ++x)
    for (int y = 0; y < 33; ++y) ink = ink || PixelNear(*b, x, y, clBlack);
  EXPECT_TRUE(ink);
}

namespace {
bool HasColour(TBitmap& b, TColor c) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (PixelColor(b, x, y) == c) return true;
  return false;
}
}  // namespace

TEST(AbColBitBtn, LatchingButtonShowsItsStatesAndReportsEachClickOnce) {
  TTestForm f;
  auto* b = f.Add<TAbColBitBtn>(10, 10, 80, 33);
  b->SetMode(mSwitch);
  b->SetTextOn(u"ON");
  b->SetTextOff(u"OFF");
  b->SetTextColOff(clBlue);
  b->GradBtnFace()->SetVisible(false);
  b->SetColorOn(clYellow);
  b->SetColorOff(clAqua);
  int changes = 0, clicks = 0;
  b->OnStatusChanged = [&](TObject*) { ++changes; };
  b->OnClick = [&](TObject*) { ++clicks; };

  auto up = RenderControl(b);
  EXPECT_EQ(PixelColor(*up, 40, 6), clAqua);
  EXPECT_TRUE(HasColour(*up, clBlue));
  EXPECT_FALSE(HasColour(*up, clLime));
  // Raised bevel: the outer ring's top-left is one step from the highlight start colour.
  EXPECT_EQ(PixelColor(*up, 0, 0), ColorToRGB(BlendColor(0xD2D2D2, clBtnHighlight, 4, 1)));

  SimulateMouseDown(b, mbLeft, 20, 10);
  SimulateMouseUp(b, mbLeft, 20, 10);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  auto down = Snapshot(b);
  EXPECT_EQ(PixelColor(*down, 40, 6), clYellow);
  EXPECT_TRUE(HasColour(*down, clLime));
  EXPECT_FALSE(HasColour(*down, clBlue));
  EXPECT_EQ(PixelColor(*down, 0, 0), ColorToRGB(BlendColor(clBtnShadow, clBlack, 4, 1)));

  SimulateMouseDown(b, mbLeft, 20, 10);
  SimulateMouseUp(b, mbLeft, 20, 10);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clicks, 2);

  // Disabled: its own colours, and the mouse no longer reaches it.
  b->SetEnabled(false);
  SimulateClick(b, 20, 10);
  SimulateDblClick(b, 20, 10);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clicks, 2);
  auto dis = RenderControl(b);
  EXPECT_EQ(PixelColor(*dis, 40, 6), 0xA0A0A0);
}

TEST(AbColBitBtn, FlashOptionsPickWhatFollowsThePhase) {
  TTestForm f;
  auto* b = f.Add<TAbColBitBtn>(10, 10, 80, 33);
  b->SetMode(mSwitch);
  b->SetTextOn(u"ON");
  b->SetTextOff(u"OFF");
  b->SetTextColOff(clBlue);
  b->GradBtnFace()->SetVisible(false);
  b->SetColorOn(clYellow);
  b->SetColorOff(clAqua);
  b->SetFlashOptions({foTextCol});
  b->SetChecked(true);
  b->SetFlashing(true);
  RenderControl(b);  // takes the background snapshot
  b->Perform(WM_FLASHTICK, 32, 0);
  auto off = Snapshot(b);
  EXPECT_TRUE(HasColour(*off, clBlue));      // text colour follows the phase
  EXPECT_EQ(PixelColor(*off, 40, 6), clYellow);  // face still from Checked
  b->Perform(WM_FLASHTICK, 64, 1);
  auto on = Snapshot(b);
  EXPECT_TRUE(HasColour(*on, clLime));
  EXPECT_FALSE(HasColour(*on, clBlue));
}
