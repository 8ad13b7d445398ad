// The grid's in-place date and time picker: the class library's picker unless MetroStyle, the
// Metro button and borders (the time kind keeps its arrows), its version, and the input a cell
// editor sees (real keys and mouse).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "grid/AsgDateTimePicker.h"

#include "controls/AdvXPVS.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "grid/tests/CellEditorTestSupport.h"
#include "testing/TestSupport.h"

namespace {

struct TPickerForm {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TEdit* edit = nullptr;
  TPickerForm() {
    form->SetBounds(0, 0, 420, 300);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(300, 250, 80, 21);
  }
  template <typename T>
  T* Add(TDateTimeKind Kind, int Top) {
    auto* p = new T(form.get());
    p->SetParent(form.get());
    p->SetBounds(10, Top, 150, 22);
    p->SetKind(Kind);
    p->SetFormat(Kind == dtkTime ? u"HH:mm:ss" : u"yyyy/MM/dd");
    p->SetDateTime(EncodeDate(2024, 5, 17) + EncodeTime(10, 30, 15, 0));
    return p;
  }
  void Show() {
    form->Show();
    ProcessPendingEvents();
  }
};

TEST(AsgDateTimePicker, StartsWithItsDefaultsAndKeepsItsVersion) {
  TAsgDateTimePicker p(nullptr);
  EXPECT_FALSE(p.MetroStyle());
  EXPECT_EQ(p.BorderColor(), clNone);
  EXPECT_EQ(p.BorderStyle(), bsNone);
  EXPECT_TRUE(p.Ctl3D());
  EXPECT_FALSE(p.ParentCtl3D());
  for (TColor c : {p.ButtonColor(), p.ButtonColorHot(), p.ButtonColorDown(), p.ButtonTextColor(),
                   p.ButtonTextColorHot(), p.ButtonTextColorDown(), p.ButtonBorderColor()})
    EXPECT_EQ(c, clNone);
  EXPECT_EQ(p.Version(), u"1.0.0.0");
  p.SetVersion(u"9.9.9.9");
  EXPECT_EQ(p.Version(), u"1.0.0.0");
  EXPECT_EQ(p.GetVersionNr(), 0x01000000);
}

TEST(AsgDateTimePicker, WithoutMetroStyleItPaintsAsTheClassLibrarysPicker) {
  for (TDateTimeKind kind : {dtkDate, dtkTime}) {
    TPickerForm f;
    auto* asg = f.Add<TAsgDateTimePicker>(kind, 10);
    auto* plain = f.Add<TDateTimePicker>(kind, 50);
    f.Show();
    const TRect whole(0, 0, 150, 22);
    EXPECT_EQ(Differing(*RenderControl(asg), *RenderControl(plain), whole), 0) << int(kind);
    // Colours for the Metro look change nothing until it is on.
    asg->SetBorderColor(clRed);
    asg->SetButtonColor(clLime);
    EXPECT_EQ(Differing(*RenderControl(asg), *RenderControl(plain), whole), 0) << int(kind);
    EXPECT_EQ(asg->Text(), plain->Text());
  }
}

TEST(AsgDateTimePicker, MetroStyleDrawsTheButtonAndBordersButKeepsTheTimeArrows) {
  XPVSThemeBinding.Load();
  TPickerForm f;
  auto* date = f.Add<TAsgDateTimePicker>(dtkDate, 10);
  auto* time = f.Add<TAsgDateTimePicker>(dtkTime, 50);
  auto* plainTime = f.Add<TDateTimePicker>(dtkTime, 90);
  f.Show();
  const int W = 150, H = 22;
  for (TAsgDateTimePicker* p : {date, time}) {
    p->SetBorderColor(clFuchsia);
    p->SetButtonColor(clLime);
    p->SetButtonBorderColor(clBlue);
    p->SetButtonTextColor(clRed);
    p->SetButtonTextColorDown(clRed);
    p->SetMetroStyle(true);
  }
  const int BW = GetSystemMetrics(SM_CXVSCROLL) + 2;

  auto d = RenderControl(date);
  EXPECT_EQ(CountColor(*d, TRect(0, 0, W, 1), clFuchsia), W);
  EXPECT_EQ(CountColor(*d, TRect(0, H - 1, W, H), clFuchsia), W);
  EXPECT_EQ(CountColor(*d, TRect(0, 0, 1, H), clFuchsia), H);
  const int left = W - BW + 3;  // the button rectangle's left, inset by one
  EXPECT_GT(CountColor(*d, TRect(left + 2, 3, W - 3, H - 3), clLime), (BW - 8) * (H - 8) / 2);
  EXPECT_GE(CountColor(*d, TRect(left, 2, left + 1, H - 2), clBlue), H - 6);
  EXPECT_GE(CountColor(*d, TRect(left + 5, 8, left + 12, 11), clRed), 6);

  // The time kind: framed, no custom button, the arrows as the plain picker's.
  auto t = RenderControl(time);
  EXPECT_EQ(CountColor(*t, TRect(0, 0, W, 1), clFuchsia), W);
  EXPECT_EQ(CountColor(*t, TRect(0, 0, W, H), clLime), 0);
  EXPECT_EQ(Differing(*t, *RenderControl(plainTime), TRect(W - BW + 4, 4, W - 4, H - 4)), 0);
  XPVSThemeBinding.Free();
}

// What a cell editor gets from the picker, in order.
struct TEventLog {
  std::vector<String> Entries;
  void Watch(TAsgDateTimePicker* p) {
    p->OnChange = [this, p](TObject*) { Entries.push_back(u"change " + p->Text()); };
    p->OnDropDown = [this](TObject*) { Entries.push_back(u"dropdown"); };
    p->OnCloseUp = [this](TObject*) { Entries.push_back(u"closeup"); };
    p->OnKeyDown = [this](TObject*, Word& Key, TShiftState) { Entries.push_back(u"key " + IntToStr(int(Key))); };
  }
  std::vector<String> Take() { return std::exchange(Entries, {}); }
};

TEST(AsgDateTimePicker, TypedFieldsTheCalendarAndLeavingKeysReachTheEditorInOrder) {
  TPickerForm f;
  auto* p = f.Add<TAsgDateTimePicker>(dtkDate, 10);
  p->SetMetroStyle(true);
  f.Show();
  TEventLog log;
  log.Watch(p);

  SimulateClick(p, 8, 11);  // the year field
  ProcessPendingEvents();
  ASSERT_TRUE(p->Focused());
  log.Take();
  SimulateKeyStroke(p, VK_RIGHT);
  SimulateTyping(p, u"12");
  EXPECT_EQ(p->Text(), u"2024/12/17");
  EXPECT_EQ(p->Date(), EncodeDate(2024, 12, 17));
  EXPECT_EQ(log.Take(), (std::vector<String>{u"key 39", u"key 49", u"change 2024/01/17", u"key 50",
                                             u"change 2024/12/17"}));

  // F4 opens the calendar and Escape closes it without a change.
  SimulateKeyStroke(p, VK_F4);
  ASSERT_TRUE(p->DroppedDown());
  SimulateKeyStroke(p, VK_ESCAPE);
  ProcessPendingEvents();
  EXPECT_FALSE(p->DroppedDown());
  EXPECT_EQ(p->Date(), EncodeDate(2024, 12, 17));
  const std::vector<String> calendar = log.Take();
  ASSERT_GE(calendar.size(), 2u);
  EXPECT_EQ(calendar[1], u"dropdown");
  EXPECT_EQ(calendar.back(), u"closeup");

  // Enter and Escape are keys for the editor's owner; Tab leaves.
  SimulateKeyStroke(p, VK_RETURN);
  SimulateKeyStroke(p, VK_ESCAPE);
  EXPECT_EQ(log.Take(), (std::vector<String>{u"key 13", u"key 27"}));
  SimulateKeyStroke(p, VK_TAB);
  ProcessPendingEvents();
  EXPECT_FALSE(p->Focused());
  EXPECT_EQ(p->Date(), EncodeDate(2024, 12, 17));
}

}  // namespace
