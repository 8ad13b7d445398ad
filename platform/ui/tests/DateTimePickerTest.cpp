#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/win/QtBridge_p.h"
#include "StdCtrlsTestSupport.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

String Shown(TDateTimePicker* p) {
  return FormatDateTime(u"yyyy-mm-dd hh:nn:ss", p->DateTime());
}

struct PickerFixture : ::testing::Test {
  TForm form{nullptr};
  TEdit* other = PlaceControl<TEdit>(&form, &form, 10, 60, 100, 21);
  TDateTimePicker* p = PlaceControl<TDateTimePicker>(&form, &form, 10, 10, 200, 24);
  std::vector<String> log;
  PickerFixture() {
    form.SetBounds(0, 0, 400, 300);
    p->SetDateTime(At(2024, 3, 5, 14, 7, 9));
    p->OnChange = [this](TObject*) { log.push_back(u"change " + Shown(p) + (p->Checked() ? u"" : u" none")); };
    p->OnDropDown = [this](TObject*) { log.push_back(u"drop"); };
    p->OnCloseUp = [this](TObject*) { log.push_back(u"close"); };
    form.Show();
  }
  QCheckBox* Check() { return TControlHost::Widget(p)->findChild<QCheckBox*>(); }
  void Type(const String& digits) {
    for (Char c : digits) SimulateChar(p, c);
  }
};

TEST_F(PickerFixture, NativeFormatLettersShowAsTheNativeControlShowsThem) {
  struct Case {
    const char16_t* format;
    const char16_t* shown;
  } cases[] = {
      {u"yyyy/MM/dd", u"2024/03/05"},
      {u"d-M-yy", u"5-3-24"},
      {u"dddd, MMMM d", u"Tuesday, March 5"},
      {u"ddd MMM yyy", u"Tue Mar 2024"},
      {u"HH:mm:ss", u"14:07:09"},
      {u"H.m.s", u"14.7.9"},
      {u"h:mm tt", u"2:07 PM"},
      {u"hh 'o''clock' t", u"02 o'clock PM"},
      {u"'Day' d, [Z]", u"Day 5, [Z]"},
  };
  for (const Case& c : cases) {
    p->SetFormat(c.format);
    EXPECT_EQ(p->Text(), String(c.shown)) << ToQString(c.format).toStdString();
    EXPECT_EQ(p->Format(), String(c.format));
  }
  // Without a format: the locale's short date, its long date, or its long time.
  p->SetFormat(u"");
  EXPECT_EQ(p->Text(), u"2024/03/05");
  p->SetDateFormat(dfLong);
  EXPECT_EQ(p->Text(), u"2024/03/05 Tuesday");
  p->SetKind(dtkTime);
  EXPECT_EQ(p->Text(), u"14:07:09");
  EXPECT_TRUE(log.empty());  // nothing here was the user's
}

TEST_F(PickerFixture, DateAndTimeEachKeepTheOtherAndOutOfRangeValuesAreRefused) {
  p->SetDate(At(2030, 12, 31, 1, 2, 3));
  EXPECT_EQ(Shown(p), u"2030-12-31 14:07:09");
  p->SetTime(At(1999, 1, 1, 8, 30, 0));
  EXPECT_EQ(Shown(p), u"2030-12-31 08:30:00");
  EXPECT_EQ(p->Date(), EncodeDate(2030, 12, 31));
  EXPECT_NEAR(p->Time(), EncodeTime(8, 30, 0, 0), 1e-9);
  for (TDateTime bad : {EncodeDate(1600, 12, 31), EncodeDate(9999, 12, 31) + 1.0, 1e300, std::nan("")})
    EXPECT_THROW(p->SetDateTime(bad), EDateTimeError);
  EXPECT_EQ(Shown(p), u"2030-12-31 08:30:00");
  EXPECT_EQ(p->Text(), u"2030/12/31");
  p->SetDateTime(EncodeDate(1601, 1, 1));
  EXPECT_EQ(p->Text(), u"1601/01/01");
}

TEST_F(PickerFixture, MinAndMaxDateBoundWhatIsSetAndWhatTheUserSteps) {
  p->SetFormat(u"yyyy/MM/dd");
  p->SetMinDate(EncodeDate(2024, 3, 1));
  p->SetMaxDate(EncodeDate(2024, 3, 6));
  EXPECT_THROW(p->SetDateTime(EncodeDate(2024, 2, 29)), EDateTimeError);
  EXPECT_THROW(p->SetDateTime(EncodeDate(2024, 3, 7)), EDateTimeError);
  EXPECT_EQ(Shown(p), u"2024-03-05 14:07:09");
  p->SetDateTime(EncodeDate(2024, 3, 6));
  // The year field has the focus first: stepping it up would leave the range, so it stays.
  SimulateKeyStroke(p, VK_UP);
  EXPECT_EQ(p->Text(), u"2024/03/06");
  p->SetMinDate(0);
  p->SetMaxDate(0);
  p->SetDateTime(EncodeDate(2030, 1, 1));
  EXPECT_EQ(p->Text(), u"2030/01/01");
}

TEST_F(PickerFixture, RightAndLeftStepTheFieldsDigitsTypeIntoThem) {
  p->SetFormat(u"yyyy/MM/dd");
  // Focus lands on the first field, the year: it takes all four digits at once.
  Type(u"203");
  EXPECT_TRUE(log.empty());
  Type(u"1");
  EXPECT_EQ(log, (std::vector<String>{u"change 2031-03-05 14:07:09"}));
  log.clear();
  SimulateKeyStroke(p, VK_RIGHT);
  // The month takes each digit that makes a month: 1, then 12; 13 starts again at 3.
  Type(u"12");
  SimulateKeyStroke(p, VK_RIGHT);
  Type(u"4");  // no day starts with 4 and a second digit: the next digit starts afresh
  Type(u"2");
  EXPECT_EQ(log, (std::vector<String>{u"change 2031-01-05 14:07:09", u"change 2031-12-05 14:07:09",
                                      u"change 2031-12-04 14:07:09", u"change 2031-12-02 14:07:09"}));
  log.clear();
  // Right wraps from the last field to the first; Left goes back.
  SimulateKeyStroke(p, VK_RIGHT);
  SimulateKeyStroke(p, VK_LEFT);
  SimulateKeyStroke(p, VK_LEFT);
  Type(u"5");
  EXPECT_EQ(log, (std::vector<String>{u"change 2031-05-02 14:07:09"}));
  log.clear();
  // Up and Down step the field and wrap within it; letters and Backspace change nothing.
  SimulateKeyStroke(p, VK_RIGHT);
  Type(u"31");
  SimulateKeyStroke(p, VK_UP);
  SimulateKeyStroke(p, VK_BACK);
  SimulateChar(p, u'x');
  EXPECT_EQ(log, (std::vector<String>{u"change 2031-05-03 14:07:09", u"change 2031-05-31 14:07:09",
                                      u"change 2031-05-01 14:07:09"}));
  EXPECT_EQ(p->Text(), u"2031/05/01");
}

TEST_F(PickerFixture, EnterAndEscapeAreNoChange) {
  p->SetFormat(u"yyyy/MM/dd");
  std::vector<Word> keys;
  p->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };
  for (Word key : {VK_RETURN, VK_ESCAPE, VK_RETURN}) SimulateKeyStroke(p, key);
  EXPECT_EQ(keys, (std::vector<Word>{VK_RETURN, VK_ESCAPE, VK_RETURN}));
  EXPECT_TRUE(log.empty());
  Type(u"2030");
  SimulateKeyStroke(p, VK_RETURN);
  EXPECT_EQ(log, (std::vector<String>{u"change 2030-03-05 14:07:09"}));
}

TEST_F(PickerFixture, TimeFieldsAndTheAmPmMark) {
  p->SetKind(dtkTime);
  p->SetFormat(u"hh:mm tt");
  Type(u"9");
  SimulateKeyStroke(p, VK_RIGHT);
  Type(u"45");
  SimulateKeyStroke(p, VK_RIGHT);
  SimulateChar(p, u'a');
  EXPECT_EQ(Shown(p), u"2024-03-05 09:45:09");
  EXPECT_EQ(p->Text(), u"09:45 AM");
  EXPECT_EQ(log.back(), u"change 2024-03-05 09:45:09");
}

TEST_F(PickerFixture, PostedRightArrowMovesToTheNextField) {
  p->SetFocus();
  ProcessPendingEvents();
  PostMessage(p->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  ProcessPendingEvents();
  Type(u"7");
  EXPECT_EQ(Shown(p), u"2024-07-05 14:07:09");
}

TEST_F(PickerFixture, CheckBoxClearsTheDateAndSetTimeMessagesAnswerIt) {
  p->SetShowCheckbox(true);
  ASSERT_TRUE(Check()->isVisible());
  QRect box = Check()->geometry();
  SimulateClick(p, box.center().x(), box.center().y());
  EXPECT_FALSE(p->Checked());
  EXPECT_EQ(log, (std::vector<String>{u"change 2024-03-05 14:07:09 none"}));
  SYSTEMTIME st;
  EXPECT_EQ(SendMessage(p->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), LRESULT(GDT_NONE));
  // Digits do not reach a picker without a date.
  Type(u"1999");
  EXPECT_EQ(Shown(p), u"2024-03-05 14:07:09");
  // A value given while unchecked is kept, still without a date.
  p->SetDateTime(At(2025, 6, 7));
  EXPECT_FALSE(p->Checked());
  EXPECT_EQ(p->Text(), u"2025/06/07");
  EXPECT_EQ(SendMessage(p->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), LRESULT(GDT_NONE));
  // Checking in code reports nothing; the set-time message checks too.
  p->SetChecked(true);
  EXPECT_EQ(SendMessage(p->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), LRESULT(GDT_VALID));
  EXPECT_EQ(st.wYear, 2025);
  EXPECT_EQ(st.wMonth, 6);
  EXPECT_EQ(SendMessage(p->Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0), 1);
  EXPECT_FALSE(Check()->isChecked());
  st.wDay = 31;  // June has 30 days
  EXPECT_EQ(SendMessage(p->Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)), 0);
  st.wDay = 30;
  EXPECT_EQ(SendMessage(p->Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)), 1);
  EXPECT_TRUE(Check()->isChecked());
  EXPECT_EQ(p->Text(), u"2025/06/30");
  SimulateClick(p, box.center().x(), box.center().y());
  SimulateClick(p, box.center().x(), box.center().y());
  EXPECT_EQ(log.back(), u"change 2025-06-30 00:00:00");
  EXPECT_TRUE(p->Checked());
  // Without a check box there is always a date.
  p->SetShowCheckbox(false);
  EXPECT_EQ(SendMessage(p->Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0), 0);
}

TEST_F(PickerFixture, CalendarDropsDownFromItsButtonAndPicksADay) {
  EXPECT_FALSE(p->DroppedDown());
  SimulateClick(p, p->Width() - 6, p->Height() / 2);
  ASSERT_TRUE(WaitUntil([&] { return p->DroppedDown(); }));
  EXPECT_EQ(log, (std::vector<String>{u"drop"}));
  // The keys go to the open calendar: the next day, then Enter picks it.
  QWidget* calendar = TControlHost::Widget(p)->findChild<QDateTimeEdit*>()->calendarWidget();
  ASSERT_NE(calendar, nullptr);
  SimulateKeyStroke(p, VK_RIGHT);
  SimulateKeyStroke(p, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !p->DroppedDown(); }));
  EXPECT_EQ(Shown(p), u"2024-03-06 14:07:09");
  EXPECT_NE(std::find(log.begin(), log.end(), u"change 2024-03-06 14:07:09"), log.end());
  EXPECT_EQ(log.back(), u"close");
  // A time picker has arrows instead.
  p->SetKind(dtkTime);
  SimulateClick(p, p->Width() - 6, p->Height() / 2);
  EXPECT_FALSE(p->DroppedDown());
}

}  // namespace
