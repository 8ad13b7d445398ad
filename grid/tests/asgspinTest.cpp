// The spin editor typed at, spun with keys and its arrow buttons, and painted.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "controls/AdvXPVS.h"
#include "grid/asgspin.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/win/Messages.h"
#include "testing/TestSupport.h"

namespace {

// Puts the process-wide format settings back when the test ends.
struct TSettingsScope {
  TFormatSettings saved = FormatSettings;
  ~TSettingsScope() { FormatSettings = saved; }
};

struct TSpinForm {
  TSettingsScope settings;
  TForm form{nullptr};
  TAsgSpinEdit* spin = new TAsgSpinEdit(&form);
  TEdit* next = new TEdit(&form);
  TSpinForm() {
    form.SetBounds(80, 80, 260, 120);
    spin->SetParent(&form);
    spin->SetBounds(10, 10, 120, 24);
    next->SetParent(&form);
    next->SetBounds(10, 50, 120, 24);
    form.Show();
    ProcessPendingEvents();
  }
  // Text and caret, as a user leaves them after clicking into the edit.
  void Put(const String& Text, int Caret, int Length = 0) {
    spin->SetText(Text);
    spin->SetFocus();
    ProcessPendingEvents();
    spin->Select(Caret, Length);
  }
  TPoint UpCentre() const {
    TAdvTimerSpeedButton* b = spin->Button()->UpButton();
    return TPoint(spin->Button()->Left() + b->Left() + b->Width() / 2, spin->Button()->Top() + b->Top() + b->Height() / 2);
  }
  TPoint DownCentre() const {
    TAdvTimerSpeedButton* b = spin->Button()->DownButton();
    return TPoint(spin->Button()->Left() + b->Left() + b->Width() / 2, spin->Button()->Top() + b->Top() + b->Height() / 2);
  }
};

}  // namespace

TEST(AsgSpinEdit, StartsAtZeroWithItsDefaults) {
  TSpinForm f;
  EXPECT_EQ(f.spin->Text(), u"0");
  EXPECT_EQ(f.spin->MinValue(), 0);
  EXPECT_EQ(f.spin->MaxValue(), 100);
  EXPECT_EQ(f.spin->MaxFloatValue(), 100.0);
  EXPECT_EQ(f.spin->IncrementFloat(), 0.1);
  EXPECT_EQ(f.spin->IncrementFloatPage(), 1.0);
  EXPECT_TRUE(f.spin->EditorEnabled());
  EXPECT_TRUE(f.spin->ShowSeconds());
  EXPECT_EQ(f.spin->SpinType(), sptNormal);
  EXPECT_FALSE(f.spin->Button()->TabStop());
  EXPECT_EQ(f.spin->Button()->Width(), 15);
  // The button pair sits at the right edge, inside the border.
  EXPECT_EQ(f.spin->Button()->Left(), f.spin->Width() - 15 - 5);
  EXPECT_EQ(f.spin->Button()->Height(), f.spin->Height() - 5);
}

TEST(AsgSpinEdit, ReadsEachKindFromTheTextAndUnparsableTextAsTheLowerLimit) {
  TSpinForm f;
  f.spin->SetMinValue(5);
  f.spin->SetMaxValue(50);
  f.spin->SetMinFloatValue(-2.5);
  f.spin->SetMinDateValue(EncodeDate(2020, 1, 1));
  f.spin->SetMaxDateValue(EncodeDate(2030, 1, 1));
  struct Case {
    const char16_t* text;
    int32_t value;
    double floatValue;
    double timeValue;
  } cases[] = {
      {u"", 0, -2.5, 0},
      {u" 42 ", 42, 42, 0},
      {u"abc", 5, -2.5, 0},
      {u"1.5", 5, 1.5, 0},
      {u"12:30", 5, -2.5, 12.5 / 24},
  };
  for (const Case& c : cases) {
    f.spin->SetText(c.text);
    EXPECT_EQ(f.spin->Value(), c.value) << StringToUTF8(c.text);
    EXPECT_DOUBLE_EQ(f.spin->FloatValue(), c.floatValue) << StringToUTF8(c.text);
    EXPECT_DOUBLE_EQ(f.spin->TimeValue(), c.timeValue) << StringToUTF8(c.text);
  }
  // Dates: "0" and empty are now, a bad text is the lower date limit.
  for (const char16_t* now : {u"0", u""}) {
    f.spin->SetText(now);
    EXPECT_NEAR(f.spin->DateValue(), Now(), 1.0 / SecsPerDay * 5);
  }
  f.spin->SetText(u"2024/13/45");
  EXPECT_EQ(f.spin->DateValue(), EncodeDate(2020, 1, 1));
  f.spin->SetText(u"2024/03/05");
  EXPECT_EQ(f.spin->DateValue(), EncodeDate(2024, 3, 5));
}

TEST(AsgSpinEdit, WritesClampedValuesUnlessTheLimitsAreEqual) {
  TSpinForm f;
  f.spin->SetValue(150);
  EXPECT_EQ(f.spin->Text(), u"100");
  f.spin->SetValue(-3);
  EXPECT_EQ(f.spin->Text(), u"0");
  f.spin->SetMaxValue(0);
  f.spin->SetValue(-3);
  EXPECT_EQ(f.spin->Text(), u"-3");

  f.spin->SetSpinType(sptFloat);
  f.spin->SetFloatValue(250.5);
  EXPECT_EQ(f.spin->Text(), u"100");
  f.spin->SetFloatValue(2.5);
  EXPECT_EQ(f.spin->Text(), u"2.5");
  f.spin->SetPrecision(3);
  EXPECT_EQ(f.spin->Text(), u"2.500");
  FormatSettings.DecimalSeparator = u',';
  f.spin->SetFloatValue(1.25);
  EXPECT_EQ(f.spin->Text(), u"1,250");

  f.spin->SetSpinType(sptTime);
  f.spin->SetTimeValue(EncodeTime(7, 5, 9, 0));
  EXPECT_EQ(f.spin->Text(), u"07:05:09");
  f.spin->SetShowSeconds(false);
  f.spin->SetTimeValue(EncodeTime(7, 5, 9, 0));
  EXPECT_EQ(f.spin->Text(), u"7:05");

  f.spin->SetSpinType(sptDate);
  f.spin->SetMinDateValue(EncodeDate(2024, 1, 1));
  f.spin->SetMaxDateValue(EncodeDate(2024, 12, 31));
  f.spin->SetDateValue(EncodeDate(2025, 6, 1));
  EXPECT_EQ(f.spin->Text(), u"2024/12/31");
}

// ---------------------------------------------------------------------------
// Typing

struct TypingCase {
  const char* name;
  TAsgSpinType type;
  int precision;
  const char16_t* text;
  int caret, length;
  Char typed;
  const char16_t* expected;
};

class AsgSpinTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(AsgSpinTyping, TakesOnlyWhatTheKindReads) {
  const TypingCase& c = GetParam();
  TSpinForm f;
  f.spin->SetMinValue(0);
  f.spin->SetMaxValue(0);
  f.spin->SetMinFloatValue(0);
  f.spin->SetMaxFloatValue(0);
  f.spin->SetSpinType(c.type);
  f.spin->SetPrecision(c.precision);
  f.Put(c.text, c.caret, c.length);
  SimulateChar(f.spin, c.typed);
  ProcessPendingEvents();
  EXPECT_EQ(f.spin->Text(), c.expected);
}

const TypingCase kTyping[] = {
    {"IntegerDigit", sptNormal, 0, u"12", 2, 0, u'3', u"123"},
    {"IntegerNoDecimal", sptNormal, 0, u"12", 2, 0, u'.', u"12"},
    {"IntegerNoLetter", sptNormal, 0, u"12", 2, 0, u'x', u"12"},
    {"IntegerNoSuperscript", sptNormal, 0, u"12", 2, 0, u'\u00B2', u"12"},
    {"IntegerNoFullWidthDigit", sptNormal, 0, u"12", 2, 0, u'\uFF13', u"12"},
    {"MinusAtStart", sptNormal, 0, u"12", 0, 0, u'-', u"-12"},
    {"MinusNotInside", sptNormal, 0, u"12", 1, 0, u'-', u"12"},
    {"SecondMinusRefused", sptNormal, 0, u"-12", 0, 0, u'-', u"-12"},
    {"MinusOverSelectedMinus", sptNormal, 0, u"-12", 0, 1, u'-', u"-12"},
    {"MinusOverSelectedMinusReplacesIt", sptNormal, 0, u"-12", 0, 2, u'-', u"-2"},
    {"FloatDecimals", sptFloat, 2, u"1.25", 4, 0, u'7', u"1.25"},
    {"FloatDigitBeforeSeparator", sptFloat, 2, u"1.25", 0, 0, u'3', u"31.25"},
    {"FloatDigitInRoom", sptFloat, 2, u"1.2", 3, 0, u'7', u"1.27"},
    {"FloatSecondSeparator", sptFloat, 0, u"1.5", 3, 0, u'.', u"1.5"},
    {"FloatSeparatorOverSelected", sptFloat, 0, u"1.5", 1, 1, u'.', u"1.5"},
    {"FloatNoThousands", sptFloat, 0, u"1000", 1, 0, u',', u"1000"},
    {"FloatNoTimeSeparator", sptFloat, 0, u"10", 2, 0, u':', u"10"},
    {"TimeSeparators", sptTime, 0, u"10:20", 5, 0, u':', u"10:20:"},
    {"TimeThirdSeparator", sptTime, 0, u"10:20:30", 8, 0, u':', u"10:20:30"},
    {"DateNoTimeSeparator", sptDate, 0, u"2024/01/02", 10, 0, u':', u"2024/01/02"},
    {"DateSeparator", sptDate, 0, u"2024", 4, 0, u'/', u"2024/"},
};

INSTANTIATE_TEST_SUITE_P(Table, AsgSpinTyping, ::testing::ValuesIn(kTyping), [](const auto& info) {
  return std::string(info.param.name);
});

TEST(AsgSpinEdit, APickOnlyEditTakesNoTypingDeleteOrPaste) {
  TSpinForm f;
  f.spin->SetEditorEnabled(false);
  f.Put(u"42", 1);
  SimulateTyping(f.spin, u"7\b");
  SimulateKeyStroke(f.spin, VK_DELETE);
  Clipboard()->SetAsText(u"99");
  SimulateKeyStroke(f.spin, 'V', {ssCtrl});
  f.spin->Perform(WM_CUT, 0, 0);
  ProcessPendingEvents();
  EXPECT_EQ(f.spin->Text(), u"42");
  // It still spins, and selects the whole text it writes.
  SimulateKeyStroke(f.spin, VK_UP);
  EXPECT_EQ(f.spin->Text(), u"43");
  EXPECT_EQ(f.spin->SelLength(), 2);

  f.spin->SetEditorEnabled(true);
  f.spin->SetReadOnly(true);
  f.spin->SelectAll();
  f.spin->Perform(WM_CUT, 0, 0);
  EXPECT_EQ(f.spin->Text(), u"43");
  f.spin->SetReadOnly(false);
  f.spin->SelectAll();
  f.spin->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(f.spin->Text(), u"99");
}

TEST(AsgSpinEdit, KeypadDecimalTypesTheLocaleSeparator) {
  TSpinForm f;
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  f.spin->SetSpinType(sptFloat);
  f.spin->SetExcelStyleDecimalSeparator(true);
  f.Put(u"1", 1);
  SimulateKeyStroke(f.spin, VK_DECIMAL);
  SimulateChar(f.spin, u'5');
  ProcessPendingEvents();
  EXPECT_EQ(f.spin->Text(), u"1,5");
  EXPECT_DOUBLE_EQ(f.spin->FloatValue(), 1.5);
}

// ---------------------------------------------------------------------------
// Spinning with keys

struct SpinCase {
  const char* name;
  TAsgSpinType type;
  const char16_t* dateFormat;
  const char16_t* text;
  int caret;
  Word key;
  const char16_t* expected;
  int incSeconds = 60;
};

class AsgSpinKeys : public ::testing::TestWithParam<SpinCase> {};

TEST_P(AsgSpinKeys, StepThePartUnderTheCaret) {
  const SpinCase& c = GetParam();
  TSpinForm f;
  FormatSettings.ShortDateFormat = c.dateFormat;
  f.spin->SetMinFloatValue(0);
  f.spin->SetMaxFloatValue(0);
  f.spin->SetSpinType(c.type);
  f.spin->SetIncrementSeconds(c.incSeconds);
  f.Put(c.text, c.caret);
  SimulateKeyStroke(f.spin, c.key);
  ProcessPendingEvents();
  EXPECT_EQ(f.spin->Text(), c.expected);
  // The caret stays where it was for dates and times.
  if (c.type == sptDate || c.type == sptTime) {
    EXPECT_EQ(f.spin->SelStart(), c.caret);
  }
}

const SpinCase kSpins[] = {
    {"IntegerUp", sptNormal, u"yyyy/mm/dd", u"41", 0, VK_UP, u"42"},
    {"IntegerPageIsOneStep", sptNormal, u"yyyy/mm/dd", u"41", 0, VK_NEXT, u"40"},
    {"IntegerAtLimit", sptNormal, u"yyyy/mm/dd", u"100", 0, VK_UP, u"100"},
    {"FloatUp", sptFloat, u"yyyy/mm/dd", u"0.2", 0, VK_UP, u"0.3"},
    {"FloatPageDown", sptFloat, u"yyyy/mm/dd", u"0.2", 0, VK_NEXT, u"-0.8"},
    {"FloatPageUp", sptFloat, u"yyyy/mm/dd", u"0.2", 0, VK_PRIOR, u"1.2"},
    {"DayFirstMiddleIsMonth", sptDate, u"dd/mm/yyyy", u"31/01/2024", 4, VK_UP, u"29/02/2024"},
    {"DayFirstFirstIsDay", sptDate, u"dd/mm/yyyy", u"31/01/2024", 1, VK_UP, u"01/02/2024"},
    {"MonthFirstMiddleIsDay", sptDate, u"mm/dd/yyyy", u"01/31/2024", 4, VK_UP, u"02/01/2024"},
    {"MonthFirstFirstIsMonth", sptDate, u"mm/dd/yyyy", u"01/31/2024", 0, VK_DOWN, u"12/31/2023"},
    {"YearLastLeapDay", sptDate, u"mm/dd/yyyy", u"02/29/2024", 8, VK_UP, u"02/28/2025"},
    {"YearFirstIsYear", sptDate, u"yyyy/mm/dd", u"2024/03/01", 1, VK_DOWN, u"2023/03/01"},
    {"YearFirstMiddleIsMonth", sptDate, u"yyyy/mm/dd", u"2024/03/31", 6, VK_UP, u"2024/04/30"},
    {"YearFirstLastIsDay", sptDate, u"yyyy/mm/dd", u"2024/03/31", 9, VK_UP, u"2024/04/01"},
    {"HoursWrap", sptTime, u"yyyy/mm/dd", u"23:10:00", 1, VK_UP, u"00:10:00"},
    {"MinutesDown", sptTime, u"yyyy/mm/dd", u"00:00:30", 4, VK_DOWN, u"23:59:30"},
    {"SecondsDownWrap", sptTime, u"yyyy/mm/dd", u"00:00:30", 7, VK_DOWN, u"23:59:30"},
    {"OneSeparatorStepsSeconds", sptTime, u"yyyy/mm/dd", u"10:15", 4, VK_UP, u"10:15:01", 1},
};

INSTANTIATE_TEST_SUITE_P(Table, AsgSpinKeys, ::testing::ValuesIn(kSpins), [](const auto& info) {
  return std::string(info.param.name);
});

TEST(AsgSpinEdit, MonthOrderComesFromTheShortDateFormat) {
  TSpinForm f;
  FormatSettings.ShortDateFormat = u"m/d/yyyy";
  f.spin->SetSpinType(sptDate);
  f.Put(u"1/31/2024", 0);
  SimulateKeyStroke(f.spin, VK_UP);
  EXPECT_TRUE(f.spin->UsDates());
  FormatSettings.ShortDateFormat = u"d/m/yyyy";
  f.spin->SetText(u"31/1/2024");
  f.spin->Select(0, 0);
  SimulateKeyStroke(f.spin, VK_UP);
  EXPECT_FALSE(f.spin->UsDates());
  EXPECT_EQ(f.spin->Text(), u"1/2/2024");
}

TEST(AsgSpinEdit, AReadOnlyEditDoesNotSpin) {
  TSpinForm f;
  f.spin->SetReadOnly(true);
  f.Put(u"5", 0);
  SimulateKeyStroke(f.spin, VK_UP);
  SimulateClick(f.spin, f.UpCentre().X, f.UpCentre().Y);
  EXPECT_EQ(f.spin->Text(), u"5");
}

TEST(AsgSpinEdit, LeavingShowsAValueOutsideTheLimitsAsTheLimit) {
  TSpinForm f;
  f.Put(u"0", 0, 1);
  SimulateTyping(f.spin, u"500");
  EXPECT_EQ(f.spin->Text(), u"500");
  SimulateKeyStroke(f.spin, VK_TAB);
  ProcessPendingEvents();
  EXPECT_TRUE(f.next->Focused());
  EXPECT_EQ(f.spin->Text(), u"100");
}

TEST(AsgSpinEdit, EnterMovesOnLikeTabWhenAsked) {
  TSpinForm f;
  f.spin->SetReturnIsTab(true);
  f.Put(u"7", 1);
  SimulateKeyStroke(f.spin, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_TRUE(f.next->Focused());
  EXPECT_EQ(f.spin->Text(), u"7");
}

// ---------------------------------------------------------------------------
// Arrow buttons

TEST(AsgSpinEdit, ArrowButtonsStepAndGiveTheEditTheFocus) {
  TSpinForm f;
  f.next->SetFocus();
  f.spin->SetText(u"10");
  SimulateClick(f.spin, f.UpCentre().X, f.UpCentre().Y);
  EXPECT_EQ(f.spin->Text(), u"11");
  EXPECT_TRUE(f.spin->Focused());
  SimulateClick(f.spin, f.DownCentre().X, f.DownCentre().Y);
  SimulateClick(f.spin, f.DownCentre().X, f.DownCentre().Y);
  EXPECT_EQ(f.spin->Text(), u"9");
}

TEST(AsgSpinEdit, AHeldArrowRepeatsAfter400MsThenEvery100Ms) {
  TSpinForm f;
  f.spin->SetMaxValue(0);
  f.spin->SetText(u"0");
  const TPoint p = f.UpCentre();
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  SimulateMouseDown(f.spin, mbLeft, p.X, p.Y);
  ASSERT_TRUE(WaitUntil([&] { return f.spin->Value() >= 1; }, 3000));
  const auto first = Clock::now();
  ASSERT_TRUE(WaitUntil([&] { return f.spin->Value() >= 4; }, 3000));
  const auto fourth = Clock::now();
  SimulateMouseUp(f.spin, mbLeft, p.X, p.Y);
  const int32_t released = f.spin->Value();
  using std::chrono::milliseconds;
  EXPECT_GE(std::chrono::duration_cast<milliseconds>(first - start).count(), 360);  // coarse timers fire up to 5 % early
  // Three further steps at 100 ms: well under three of the first delay.
  const auto repeat = std::chrono::duration_cast<milliseconds>(fourth - first).count();
  EXPECT_GE(repeat, 270);
  EXPECT_LT(repeat, 1000);
  ASSERT_NE(f.spin->Button()->UpButton()->RepeatTimer(), nullptr);
  EXPECT_FALSE(f.spin->Button()->UpButton()->RepeatTimer()->Enabled());
  // Nothing more once released.
  WaitUntil([] { return false; }, 300);
  EXPECT_EQ(f.spin->Value(), released);
}

TEST(AsgSpinEdit, HorizontalButtonsPointRightAndLeft) {
  TSpinForm f;
  f.spin->SetDirection(spHorizontal);
  TAsgSpinButton* pair = f.spin->Button();
  EXPECT_EQ(pair->Width(), 20);
  EXPECT_EQ(pair->UpButton()->ButtonDirection(), bdRight);
  EXPECT_EQ(pair->DownButton()->ButtonDirection(), bdLeft);
  EXPECT_EQ(pair->DownButton()->Left(), 0);
  EXPECT_EQ(pair->UpButton()->Left(), 11);
  EXPECT_EQ(pair->Left(), f.spin->Width() - 20 - 5);
  f.spin->SetText(u"3");
  SimulateClick(f.spin, pair->Left() + 15, pair->Top() + 5);
  EXPECT_EQ(f.spin->Text(), u"4");
  SimulateClick(f.spin, pair->Left() + 4, pair->Top() + 5);
  EXPECT_EQ(f.spin->Text(), u"3");
  f.spin->SetDirection(spVertical);
  EXPECT_EQ(pair->Width(), 15);
  EXPECT_EQ(pair->UpButton()->ButtonDirection(), bdUp);
  // The down button starts one pixel above the up button's bottom.
  EXPECT_EQ(pair->DownButton()->Top(), pair->UpButton()->Height() - 1);
}

TEST(AsgSpinButton, TakesArrowKeysAndSpaceWhenFocused) {
  TForm form(nullptr);
  form.SetBounds(80, 80, 200, 100);
  auto* pair = new TAsgSpinButton(&form);
  pair->SetParent(&form);
  pair->SetTabStop(true);
  pair->SetBounds(10, 10, 15, 30);
  int ups = 0, downs = 0;
  pair->OnUpClick = [&](TObject*) { ++ups; };
  pair->OnDownClick = [&](TObject*) { ++downs; };
  form.Show();
  ProcessPendingEvents();
  SimulateKeyStroke(pair, VK_DOWN);
  EXPECT_EQ(pair->FocusedButton(), pair->DownButton());
  SimulateKeyStroke(pair, VK_SPACE);
  SimulateKeyStroke(pair, VK_UP);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(pair->FocusedButton(), pair->UpButton());
}

// ---------------------------------------------------------------------------
// Painting

TEST(AsgSpinEdit, ColouredButtonsShowPlainHotAndDownFaces) {
  TSpinForm f;
  TAsgSpinButton* pair = f.spin->Button();
  pair->SetButtonColor(clLime);
  pair->SetButtonColorHot(clYellow);
  pair->SetButtonColorDown(clRed);
  auto face = [&](TAdvTimerSpeedButton* b) {
    std::unique_ptr<TBitmap> img = RenderControl(b);
    return PixelColor(*img, b->Width() - 2, b->Height() - 2);
  };
  EXPECT_EQ(face(pair->UpButton()), clLime);
  // A black arrow on it.
  std::unique_ptr<TBitmap> img = RenderControl(pair->UpButton());
  EXPECT_EQ(PixelColor(*img, 6, 3), clBlack);
  const TPoint p = f.UpCentre();
  SimulateMouseMove(f.spin, 2, 2);
  SimulateMouseMove(f.spin, p.X, p.Y);
  EXPECT_EQ(face(pair->UpButton()), clYellow);
  SimulateMouseDown(f.spin, mbLeft, p.X, p.Y);
  EXPECT_EQ(face(pair->UpButton()), clRed);
  SimulateMouseUp(f.spin, mbLeft, p.X, p.Y);
  EXPECT_EQ(face(pair->DownButton()), clLime);
}

TEST(AsgSpinEdit, ThemedAndClassicFacesDiffer) {
  TSpinForm f;
  TAdvTimerSpeedButton* up = f.spin->Button()->UpButton();
  std::unique_ptr<TBitmap> classic = RenderControl(up);
  // The built-in glyph's arrow shows in the middle of the classic face.
  bool black = false;
  for (int x = 0; x < up->Width(); ++x)
    for (int y = 0; y < up->Height(); ++y) black = black || PixelColor(*classic, x, y) == clBlack;
  EXPECT_TRUE(black);
  XPVSThemeBinding.Load();
  f.spin->SetIsWinXP(true);
  EXPECT_TRUE(up->IsWinXP());
  std::unique_ptr<TBitmap> themed = RenderControl(up);
  bool differs = false;
  for (int x = 0; x < up->Width(); ++x)
    for (int y = 0; y < up->Height(); ++y) differs = differs || PixelColor(*classic, x, y) != PixelColor(*themed, x, y);
  EXPECT_TRUE(differs);
  XPVSThemeBinding.Free();
}

TEST(AsgSpinEdit, AlignsTheTextClearOfTheButtons) {
  TSpinForm f;
  f.spin->SetColor(clWhite);
  f.spin->Font()->SetColor(clBlack);
  f.spin->SetText(u"8");
  // The leftmost and rightmost columns with ink left of the buttons.
  auto inkColumns = [&] {
    std::unique_ptr<TBitmap> img = RenderControl(f.spin);
    int first = -1, last = -1;
    for (int x = 0; x < f.spin->Button()->Left(); ++x)
      for (int y = 3; y < f.spin->Height() - 3; ++y) {
        const TColor px = PixelColor(*img, x, y);
        if ((px & 0xFF) < 0x60 && ((px >> 8) & 0xFF) < 0x60 && ((px >> 16) & 0xFF) < 0x60) {
          if (first < 0) first = x;
          last = x;
        }
      }
    return std::pair{first, last};
  };
  const auto left = inkColumns();
  ASSERT_GE(left.first, 0);
  EXPECT_LT(left.first, 10);
  f.spin->SetEditAlign(asgspin::eaRight);
  const auto right = inkColumns();
  EXPECT_GT(right.first, f.spin->Button()->Left() - 20);
  f.spin->SetEditAlign(asgspin::eaCenter);
  const auto centre = inkColumns();
  EXPECT_GT(centre.first, left.first + 20);
  EXPECT_LT(centre.second, right.first);
}
