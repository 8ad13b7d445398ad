#include <gtest/gtest.h>

#include "controls/AdvDateTimePicker.h"
#include "controls/AdvXPVS.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

String Stamp(TDateTime v) { return FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", v); }

// The width of a text in a font, as a one-line label measures it.
int TextWidth(TFont* Font, const String& Text) {
  TBitmap b;
  b.SetWidth(1);
  b.SetHeight(1);
  b.Canvas()->Font()->Assign(Font);
  return b.Canvas()->TextWidth(Text);
}

class AdvPicker : public ::testing::Test {
 protected:
  // Themes active, as the tool runs; freed again for the suites that count the library's loads.
  static void SetUpTestSuite() { XPVSThemeBinding.Load(); }
  static void TearDownTestSuite() { XPVSThemeBinding.Free(); }
  AdvPicker() {
    form.SetBounds(0, 0, 500, 300);
    p->SetParent(&form);
    p->SetBounds(100, 100, 200, 24);
    p->SetDateTime(At(2024, 3, 5, 10, 30, 15));
    form.Show();
  }
  TForm form{nullptr};
  TEdit* other = new TEdit(&form);
  TAdvDateTimePicker* p = new TAdvDateTimePicker(&form);
};

TEST_F(AdvPicker, SetDateKeepsTheTimeWithoutMilliseconds) {
  p->SetDateTime(At(2024, 3, 5, 10, 30, 15, 500));
  EXPECT_EQ(Stamp(p->DateTime()), u"2024-03-05 10:30:15.000");  // the value itself drops them
  p->TDateTimePicker::SetDateTime(At(2024, 3, 5, 10, 30, 15, 500));
  p->TimePicker()->TDateTimePicker::SetDateTime(At(2024, 3, 5, 10, 30, 15, 500));
  p->SetDate(At(2031, 12, 24, 23, 59, 59, 999));
  EXPECT_EQ(Stamp(p->DateTime()), u"2031-12-24 10:30:15.000");
  EXPECT_EQ(p->Date(), EncodeDate(2031, 12, 24));
  EXPECT_EQ(p->TimePicker()->Text(), u"10:30:15");
  // Version is fixed; a picker without a label has an empty caption.
  p->SetVersion(u"9.9.9.9");
  EXPECT_EQ(p->Version(), u"1.2.0.0");
  EXPECT_EQ(p->LabelCaption(), u"");
  EXPECT_EQ(p->PickerLabel(), nullptr);
}

TEST_F(AdvPicker, OnlyTheDateAndTimeKindHasTheInnerTimePickerAtItsPlace) {
  ASSERT_EQ(p->Kind(), dkDateTime);
  TCustomDateTimePicker* tp = p->TimePicker();
  ASSERT_NE(tp, nullptr);
  EXPECT_TRUE(tp->Visible());
  EXPECT_EQ(tp->Parent(), p);
  EXPECT_EQ(tp->TDateTimePicker::Kind(), dtkTime);
  EXPECT_EQ(p->TDateTimePicker::Kind(), dtkDate);
  // Themes active: right of the fields, left of the drop-down button.
  const int w = TextWidth(p->Font(), tp->Text()) + 31;
  EXPECT_EQ(tp->BoundsRect(), TRect(200 - w - 34, 1, 200 - 34, 23));
  p->SetMetroStyle(true);
  p->SetWidth(220);
  EXPECT_EQ(tp->BoundsRect(), TRect(220 - w - 21, 1, 220 - 21, 23));
  // The time of day is the inner picker's.
  tp->TDateTimePicker::SetTime(EncodeTime(8, 5, 0, 0));
  EXPECT_EQ(Stamp(p->DateTime()), u"2024-03-05 08:05:00.000");
  EXPECT_NEAR(p->Time(), EncodeTime(8, 5, 0, 0), 1e-9);
  p->SetTime(EncodeTime(17, 45, 0, 0));
  EXPECT_EQ(Stamp(p->DateTime()), u"2024-03-05 17:45:00.000");

  p->SetKind(dkDate);
  EXPECT_EQ(p->TimePicker(), nullptr);
  EXPECT_EQ(p->TDateTimePicker::Kind(), dtkDate);
  EXPECT_EQ(Stamp(p->DateTime()), u"2024-03-05 17:45:00.000");

  p->SetTimeFormat(u"HH:mm");
  p->SetKind(dkTime);
  EXPECT_EQ(p->TimePicker(), nullptr);
  EXPECT_EQ(p->TDateTimePicker::Kind(), dtkTime);
  EXPECT_EQ(p->Text(), u"17:45");

  p->SetKind(dkDateTime);
  ASSERT_NE(p->TimePicker(), nullptr);
  EXPECT_EQ(p->TimePicker()->Text(), u"17:45");
  EXPECT_EQ(Stamp(p->DateTime()), u"2024-03-05 17:45:00.000");
}

TEST_F(AdvPicker, AutoTabStepsFieldsAndHandsTheLastDateFieldOnToTheTime) {
  p->SetFormat(u"dd/MM/yyyy");
  p->SetAutoTab(true);
  std::vector<String> changes;
  p->OnChange = [&](TObject*) { changes.push_back(Stamp(p->DateTime())); };
  int timeChanges = 0;
  p->OnTimeChange = [&](TObject*) { ++timeChanges; };
  auto type = [&](TWinControl* c, const String& s) {
    for (Char ch : s) {
      SimulateChar(c, ch);
      // The picker's own message, then the key it posts.
      ProcessPendingEvents();
      ProcessPendingEvents();
    }
  };
  // The day takes one digit and the month is next; then the year.
  type(p, u"7");
  type(p, u"4");
  type(p, u"2025");
  EXPECT_EQ(Stamp(p->DateTime()), u"2025-04-07 10:30:15.000");
  // The year ends the format: the time picker has the focus now.
  ASSERT_TRUE(p->TimePicker()->Focused());
  type(p->TimePicker(), u"9");
  type(p->TimePicker(), u"5");
  EXPECT_EQ(Stamp(p->DateTime()), u"2025-04-07 09:05:15.000");
  EXPECT_EQ(timeChanges, 2);
  EXPECT_EQ(changes.size(), 5u);

  // Without AutoTab the digits stay in their field: 4, then 42 (too big) starts again at 2.
  p->SetAutoTab(false);
  SimulateKeyStroke(p, VK_HOME);
  type(p, u"42");
  EXPECT_EQ(Stamp(p->DateTime()), u"2025-04-02 09:05:15.000");
}

TEST_F(AdvPicker, TheCheckBoxEnablesTheInnerPicker) {
  p->SetShowCheckbox(true);
  TCustomDateTimePicker* tp = p->TimePicker();
  ASSERT_NE(tp, nullptr);
  EXPECT_TRUE(tp->Enabled());
  const int boxX = 9, boxY = p->Height() / 2;
  SimulateClick(p, boxX, boxY);
  EXPECT_FALSE(p->Checked());
  EXPECT_FALSE(tp->Enabled());
  SimulateClick(p, boxX, boxY);
  EXPECT_TRUE(p->Checked());
  EXPECT_TRUE(tp->Enabled());
  // Unchecked in code: the set-time message without a date disables it too.
  p->SetChecked(false);
  EXPECT_FALSE(tp->Enabled());
  // A value given while unchecked leaves it disabled; checking enables it.
  p->SetDateTime(At(2026, 1, 2, 3, 4, 5));
  EXPECT_FALSE(tp->Enabled());
  EXPECT_EQ(tp->Text(), u"03:04:05");
  p->SetChecked(true);
  p->SetDateTime(At(2026, 1, 2, 3, 4, 6));
  EXPECT_TRUE(tp->Enabled());
  // A disabled picker disables it whatever the check box says.
  p->SetEnabled(false);
  EXPECT_FALSE(tp->Enabled());
  p->SetEnabled(true);
  EXPECT_TRUE(tp->Enabled());
}

TEST_F(AdvPicker, LabelGoesWhereItsPositionSays) {
  p->SetLabelCaption(u"Date of test");
  TLabel* l = p->PickerLabel();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), &form);
  EXPECT_EQ(l->FocusControl(), p);
  const int lw = l->Width(), lh = l->Height();
  ASSERT_GT(lw, 20);
  ASSERT_GT(lh, 5);
  const int tw = TextWidth(l->Font(), u"Date of test");
  const int L = 100, T = 100, W = 200, H = 24;
  for (int m : {4, 0, 9}) {
    p->SetLabelMargin(m);
    struct Case {
      TAdvDateTimePicker::TLabelPosition pos;
      int left, top;
    } cases[] = {
        {TAdvDateTimePicker::lpLeftTop, L - tw - m, T},
        {TAdvDateTimePicker::lpLeftCenter, L - tw - m, T + (H - lh) / 2},
        {TAdvDateTimePicker::lpLeftBottom, L - tw - m, T + H - lh},
        {TAdvDateTimePicker::lpTopLeft, L, T - lh - m},
        {TAdvDateTimePicker::lpBottomLeft, L, T + H + m},
        {TAdvDateTimePicker::lpLeftTopLeft, L - m, T},
        {TAdvDateTimePicker::lpLeftCenterLeft, L - m, T + (H - lh) / 2},
        {TAdvDateTimePicker::lpLeftBottomLeft, L - m, T + H - lh},
        {TAdvDateTimePicker::lpTopCenter, L + (W - lw) / 2, T - lh - m},
        {TAdvDateTimePicker::lpBottomCenter, L + (W - lw) / 2, T + H + m},
        {TAdvDateTimePicker::lpRightTop, L + W + m, T},
        {TAdvDateTimePicker::lpRightCenter, L + W + m, T + (H - lh) / 2},
        {TAdvDateTimePicker::lpRighBottom, L + W + m, T + H - lh},
    };
    for (const Case& c : cases) {
      p->SetLabelPosition(c.pos);
      EXPECT_EQ(l->Left(), c.left) << int(c.pos) << " margin " << m;
      EXPECT_EQ(l->Top(), c.top) << int(c.pos) << " margin " << m;
    }
  }
  // The label follows the picker's moves, visibility and enabled state.
  p->SetLabelMargin(4);
  p->SetLabelPosition(TAdvDateTimePicker::lpLeftTop);
  p->SetBounds(150, 40, 200, 24);
  EXPECT_EQ(l->Left(), 150 - tw - 4);
  EXPECT_EQ(l->Top(), 40);
  p->SetVisible(false);
  EXPECT_FALSE(l->Visible());
  p->SetVisible(true);
  EXPECT_TRUE(l->Visible());
  p->SetEnabled(false);
  EXPECT_FALSE(l->Enabled());
  p->SetLabelAlwaysEnabled(true);
  EXPECT_TRUE(l->Enabled());
  p->SetEnabled(true);
  // A click on the label reports the picker; with FocusLabel it is bold while focused.
  TObject* clicked = nullptr;
  p->OnLabelClick = [&](TObject* Sender) { clicked = Sender; };
  SimulateClick(l, 3, lh / 2);
  EXPECT_EQ(clicked, p);
  p->SetFocusLabel(true);
  p->SetFocus();
  ProcessPendingEvents();
  EXPECT_TRUE(l->Font()->Style().Contains(fsBold));
  other->SetParent(&form);
  other->SetFocus();
  ProcessPendingEvents();
  EXPECT_FALSE(l->Font()->Style().Contains(fsBold));
}

TEST_F(AdvPicker, FlatLookDrawsBorderAndButtonColours) {
  p->SetKind(dkDate);
  p->SetCtl3D(false);
  p->SetMetroStyle(true);
  p->SetBorderColor(0x0000FF);
  p->SetButtonColor(0x00FF00);
  p->SetButtonBorderColor(0x000000);
  p->SetButtonTextColor(0xFF0000);
  p->SetButtonColorHot(0x00FFFF);
  p->SetButtonColorDown(0x808080);
  p->Invalidate();
  auto img = RenderControl(p);
  EXPECT_EQ(PixelColor(*img, 0, 0), 0x0000FF);
  EXPECT_EQ(PixelColor(*img, 100, p->Height() - 1), 0x0000FF);
  // The button: its fill, and the arrow's tip.
  const int bw = GetSystemMetrics(SM_CXVSCROLL) + 2;
  const int left = p->ClientWidth() - bw + 3;
  EXPECT_EQ(PixelColor(*img, left + 12, 4), 0x00FF00);
  EXPECT_EQ(PixelColor(*img, left + 8, 1 + 8), 0xFF0000);
  // Over the button the hot colour shows.
  SimulateMouseMove(p, p->Width() - 4, 10);
  EXPECT_TRUE(p->ButtonHover());
  img = RenderControl(p);
  EXPECT_EQ(PixelColor(*img, left + 12, 4), 0x00FFFF);
  // The inner picker of a date-and-time picker keeps the native look.
  p->SetKind(dkDateTime);
  ASSERT_NE(p->TimePicker(), nullptr);
  EXPECT_FALSE(p->TimePicker()->MetroStyle());
}

TEST_F(AdvPicker, LoadingLeavesAnUncheckedPickersTimeDisabledAndPlacesTheLabel) {
  form.Font()->SetHeight(-20);
  auto* q = new TAdvDateTimePicker(&form);
  q->BeginLoading();
  q->SetLabelCaption(u"When");
  q->SetLabelPosition(TAdvDateTimePicker::lpTopLeft);
  q->SetShowCheckbox(true);
  q->SetChecked(false);
  q->SetDateTime(At(2024, 6, 1, 12, 0, 0));
  q->SetParent(&form);
  q->SetBounds(20, 200, 180, 24);
  q->EndLoading();
  ASSERT_NE(q->TimePicker(), nullptr);
  EXPECT_TRUE(q->TimePicker()->Visible());
  EXPECT_FALSE(q->TimePicker()->Enabled());
  EXPECT_FALSE(q->Checked());
  TLabel* l = q->PickerLabel();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), &form);
  EXPECT_EQ(l->Left(), 20);
  EXPECT_EQ(l->Top(), 200 - l->Height() - 4);
  // With the parent's font the label takes the picker's.
  EXPECT_TRUE(q->ParentFont());
  EXPECT_EQ(l->Font()->Name(), q->Font()->Name());
  EXPECT_EQ(q->Font()->Height(), -20);
  EXPECT_EQ(l->Font()->Height(), -20);
}

}  // namespace
