// The time picker drop-down: Up and Down on the part under the caret, typed text, the seconds
// switch, and the pop-up clock the text follows (a cancelled close going back to the opening).

#include <gtest/gtest.h>

#include "AdvDropDownHost.h"
#include "dropdowns/AdvTimePickerDropDown.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct PickerFixture : TDropDownHost<TAdvTimePickerDropDown> {
  int timeChanges = 0;
  PickerFixture() {
    dd->OnTimeChange = [this](TObject*) { ++timeChanges; };
    Show();
    dd->SetFocus();
    ProcessPendingEvents();
  }
  void Key(TWinControl* Target, Word K, TShiftState Shift = {}) {
    SimulateKeyStroke(Target, K, Shift);
    ProcessPendingEvents();
  }
  String TimeString() const {
    uint16_t h, m, s, ms;
    DecodeTime(dd->Time(), h, m, s, ms);
    return IntToStr(h) + u":" + IntToStr(m) + u":" + IntToStr(s);
  }
};

TEST(AdvTimePickerDropDown, StartsAtMidnightUnderTheMaskPickOnly) {
  PickerFixture f;
  EXPECT_EQ(f.dd->EditText(), u"00:00:00");
  EXPECT_EQ(f.dd->EditMask(), u"!90:00:00;1; ");
  EXPECT_FALSE(f.dd->EditorEnabled());
  EXPECT_TRUE(f.dd->DropDownEnabled());
  f.dd->SetTime(EncodeTime(7, 5, 9, 0));
  EXPECT_EQ(f.dd->EditText(), u"07:05:09");
  EXPECT_EQ(f.timeChanges, 0);
}

struct CaretCase {
  int caret;
  Word key;
  const char16_t* from;
  const char16_t* to;
};

TEST(AdvTimePickerDropDown, UpAndDownStepThePartUnderTheCaretWithWrap) {
  const CaretCase cases[] = {
      {0, VK_UP, u"00:10:20", u"23:10:20"},   {1, VK_DOWN, u"00:10:20", u"01:10:20"},
      {2, VK_UP, u"23:10:20", u"22:10:20"},   {2, VK_DOWN, u"23:10:20", u"00:10:20"},
      {3, VK_UP, u"00:00:20", u"00:59:20"},   {4, VK_DOWN, u"00:10:20", u"00:11:20"},
      {5, VK_DOWN, u"00:59:20", u"00:00:20"}, {6, VK_UP, u"00:10:00", u"00:10:59"},
      {7, VK_DOWN, u"00:10:59", u"00:10:00"}, {8, VK_DOWN, u"00:10:20", u"00:10:21"},
  };
  for (const CaretCase& c : cases) {
    PickerFixture f;
    f.dd->SetTextDirect(c.from);
    f.dd->SetSelStart(c.caret);
    f.dd->SetSelLength(0);
    f.Key(f.dd, c.key);
    EXPECT_EQ(f.dd->EditText(), String(c.to)) << c.caret << " " << StringToUTF8(c.from);
    EXPECT_EQ(f.dd->SelStart(), c.caret);
    EXPECT_EQ(f.timeChanges, 1);
  }
}

TEST(AdvTimePickerDropDown, CtrlUpChangesNothingAltDownOpensThePopUp) {
  PickerFixture f;
  f.dd->SetTextDirect(u"12:34:56");
  f.dd->SetSelStart(0);
  f.Key(f.dd, VK_UP, {ssCtrl});
  EXPECT_EQ(f.dd->EditText(), u"12:34:56");
  f.Key(f.dd, VK_DOWN, {ssAlt});
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->EditText(), u"12:34:56");
  EXPECT_EQ(f.timeChanges, 0);
  f.dd->HideDropDown(true);
}

TEST(AdvTimePickerDropDown, SwitchingSecondsOffShortensTextAndMaskButKeepsTheSeconds) {
  PickerFixture f;
  f.dd->SetTime(EncodeTime(12, 34, 56, 0));
  f.dd->SetShowSeconds(false);
  EXPECT_EQ(f.dd->EditText(), u"12:34");
  EXPECT_EQ(f.dd->EditMask(), u"!90:00;1; ");
  EXPECT_EQ(f.TimeString(), u"12:34:56");
  f.dd->SetShowSeconds(true);
  EXPECT_EQ(f.dd->EditText(), u"12:34:56");
}

TEST(AdvTimePickerDropDown, DigitsTypedUnderTheMaskFillThePartsAndSetTheTime) {
  PickerFixture f;
  f.dd->SetEditorEnabled(true);  // as the grid's time editor makes it
  f.dd->SetSelStart(0);
  f.dd->SetSelLength(0);
  // The separators are the mask's literals: the caret steps over them.
  SimulateTyping(f.dd, u"073015");
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->EditText(), u"07:30:15");
  EXPECT_EQ(f.TimeString(), u"7:30:15");
  // A letter does not fit a digit position.
  f.dd->SetSelStart(0);
  f.dd->SetSelLength(0);
  SimulateTyping(f.dd, u"x");
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->EditText(), u"07:30:15");
  EXPECT_EQ(f.timeChanges, 0);
}

TEST(AdvTimePickerDropDown, CompleteTypedTextSetsTheTimeQuietlyAndImpossibleTimesAreLeftAlone) {
  PickerFixture f;
  f.dd->SetShowSeconds(false);
  f.dd->SetTextDirect(u"07:05");
  EXPECT_EQ(f.TimeString(), u"7:5:0");
  f.dd->SetTextDirect(u"09: 5");  // an inner blank counts as 0, the text stays as typed
  EXPECT_EQ(f.TimeString(), u"9:5:0");
  EXPECT_EQ(f.dd->EditText(), u"09: 5");
  f.dd->SetTextDirect(u"07: 0");  // rewritten on the full hour
  EXPECT_EQ(f.TimeString(), u"7:0:0");
  EXPECT_EQ(f.dd->EditText(), u"07:00");
  f.dd->SetTextDirect(u" 8:15");  // not the full length: nothing
  EXPECT_EQ(f.TimeString(), u"7:0:0");
  for (const char16_t* bad : {u"25:00", u"07:61", u"99:99"}) {
    EXPECT_NO_THROW(f.dd->SetTextDirect(bad)) << StringToUTF8(bad);
    EXPECT_EQ(f.TimeString(), u"7:0:0") << StringToUTF8(bad);
  }
  f.dd->SetShowSeconds(true);
  f.dd->SetTextDirect(u"10:20:75");
  EXPECT_EQ(f.TimeString(), u"7:0:0");
  f.dd->SetTextDirect(u"10:20:30");
  EXPECT_EQ(f.TimeString(), u"10:20:30");
  EXPECT_EQ(f.timeChanges, 0);
}

TEST(AdvTimePickerDropDown, TextFollowsTheClockAndCancelGoesBackToTheOpening) {
  PickerFixture f;
  f.dd->SetAnimation(false);
  f.dd->SetTime(EncodeTime(8, 15, 0, 0));
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  TAdvWatch* clock = f.dd->AdvWatch();
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->Time(), f.dd->Time());
  // Keys on the open window reach the clock; the text follows each move at once, and each
  // move reports the changed time (no time picker below the clock).
  f.Key(f.dd->DropDownForm(), VK_PRIOR);
  EXPECT_EQ(f.dd->EditText(), u"09:15:00");
  EXPECT_EQ(f.timeChanges, 1);
  f.Key(f.dd->DropDownForm(), VK_RIGHT);
  EXPECT_EQ(f.dd->EditText(), u"09:16:00");
  EXPECT_EQ(f.timeChanges, 2);
  // The cancel puts the time of the opening back, and says so.
  f.ClosingKey(f.dd->DropDownForm(), VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->EditText(), u"08:15:00");
  EXPECT_EQ(f.TimeString(), u"8:15:0");
  EXPECT_EQ(clock->Time(), f.dd->Time());
  EXPECT_EQ(f.timeChanges, 3);
  // A click on the face while open, then Enter: kept.
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  const TRect face = clock->FaceRect();
  SimulateClick(clock, face.Left + face.Width() / 2 + 50, face.Top + face.Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->EditText(), u"03:15:00");
  // The click gave the clock the keyboard; its keys act as the window's.
  ASSERT_TRUE(clock->Focused());
  f.Key(clock, VK_NEXT);
  EXPECT_EQ(f.dd->EditText(), u"02:15:00");
  f.ClosingKey(clock, VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->EditText(), u"02:15:00");
  EXPECT_EQ(f.TimeString(), u"2:15:0");
  EXPECT_EQ(f.timeChanges, 5);
  // Escape in the closed edit cancels nothing: a time stepped after the close stays.
  f.dd->SetSelStart(0);
  f.Key(f.dd, VK_UP);
  f.Key(f.dd, VK_ESCAPE);
  EXPECT_EQ(f.dd->EditText(), u"01:15:00");
  EXPECT_EQ(f.TimeString(), u"1:15:0");
}

TEST(AdvTimePickerDropDown, TheClockGetsTheDropDownsLookAndSettingsAtEachOpening) {
  PickerFixture f;
  f.dd->SetComponentStyle(tsWindows7);
  EXPECT_EQ(f.dd->WatchAppearance()->BackgroundColor(), TColor(0x00FDFBFA));
  f.dd->SetShowWatchAMPM(false);
  f.dd->SetAnimationFactor(4);
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->AdvWatch()->Appearance()->BackgroundColor(), TColor(0x00FDFBFA));
  EXPECT_FALSE(f.dd->AdvWatch()->ShowAMPM());
  EXPECT_EQ(f.dd->AdvWatch()->AnimationFactor(), 4);
  // The panel's 170 x 170 inside the window's one-pixel border.
  EXPECT_EQ(f.dd->DropDownForm()->Width(), 170);
  EXPECT_EQ(f.dd->AdvWatch()->Width(), 168);
  f.dd->HideDropDown(true);
}

TEST(AdvTimePickerDropDown, TimePickerBelowTheClockKeepsClockAndTextInStep) {
  PickerFixture f;
  f.dd->SetAnimation(false);
  f.dd->SetShowTimePicker(true);
  f.dd->SetTime(EncodeTime(6, 45, 10, 0));
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  TDateTimePicker* picker = f.dd->DateTimePicker();
  ASSERT_NE(picker, nullptr);
  EXPECT_TRUE(picker->Visible());
  EXPECT_EQ(picker->Format(), u"HH:mm:ss");
  EXPECT_EQ(f.dd->DropDownForm()->Height(), 170 + picker->Height() + 2);
  EXPECT_NEAR(picker->Time(), EncodeTime(6, 45, 10, 0), 1e-8);
  // A step in the picker moves the clock and the text.
  f.Key(picker, VK_UP);
  EXPECT_NE(f.dd->EditText(), u"06:45:10");
  EXPECT_NEAR(f.dd->AdvWatch()->Time(), picker->Time(), 1e-8);
  EXPECT_NEAR(f.dd->Time(), picker->Time(), 1e-8);
  EXPECT_EQ(f.timeChanges, 1);
  // A click on the clock's face at 3 o'clock moves the picker.
  TAdvWatch* clock = f.dd->AdvWatch();
  const TRect face = clock->FaceRect();
  SimulateClick(clock, face.Left + face.Width() / 2 + 50, face.Top + face.Height() / 2);
  ProcessPendingEvents();
  uint16_t h, m, sec, ms;
  DecodeTime(picker->Time(), h, m, sec, ms);
  EXPECT_EQ(h, 3);
  EXPECT_NEAR(f.dd->Time(), picker->Time(), 1e-8);
  EXPECT_EQ(f.timeChanges, 2);
  f.ClosingKey(clock, VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  // Without it the next opening hides it.
  f.dd->SetShowTimePicker(false);
  f.Key(f.dd, VK_F4);
  EXPECT_FALSE(picker->Visible());
  f.dd->HideDropDown(true);
}
}  // namespace
