#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Forms_p.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

std::vector<std::string> gLog;

// A form owned by another window, as a drop-down window is: borderless, top-most, and closing
// itself when a window it does not own becomes active (the GetParent walk of the class library).
class TPopupForm : public TForm {
public:
  TPopupForm(TComponent* AOwner, TCustomForm* Owner) : TForm(AOwner, 0), FOwnerForm(Owner) {
    SetBorderStyle(bsNone);
    Constraints()->SetMinWidth(80);
    Constraints()->SetMinHeight(50);
    OnHide = [](TObject*) { gLog.push_back("hide"); };
  }
  HWND LastOther = nullptr;
  int Deactivations = 0;
  bool CloseOnDeactivate = true;

protected:
  void CreateParams(TCreateParams& Params) override {
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
    if (FOwnerForm != nullptr) Params.WndParent = FOwnerForm->Handle();
  }
  void WMActivate(TWMActivate& Message) override {
    TForm::WMActivate(Message);
    if (Message.Active() != WA_INACTIVE) return;
    gLog.push_back("popup inactive");
    ++Deactivations;
    LastOther = Message.ActiveWindow();
    HWND self = Handle();
    for (HWND w = LastOther != nullptr ? GetParent(LastOther) : nullptr; w != nullptr; w = GetParent(w))
      if (w == self) return;
    if (CloseOnDeactivate && Visible()) Hide();
  }
  void WMNCHitTest(TWMNCHitTest& Message) override {
    const TPoint p = ScreenToClient(Message.Pos());
    Message.SetResult(p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : HTCLIENT);
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SIZING) {
      const RECT& r = *reinterpret_cast<RECT*>(Message.LParam);
      gLog.push_back("sizing " + std::to_string(r.Width()) + "x" + std::to_string(r.Height()));
    }
    TForm::Dispatch(Message);
  }

private:
  TCustomForm* FOwnerForm;
};

// A window a pop-up owns (a dialog opened from it).
class TOwnedDialog : public TForm {
public:
  TOwnedDialog(TComponent* AOwner, TCustomForm* Owner) : TForm(AOwner), FOwnerForm(Owner) {}

protected:
  void CreateParams(TCreateParams& Params) override {
    TForm::CreateParams(Params);
    Params.WndParent = FOwnerForm->Handle();
  }

private:
  TCustomForm* FOwnerForm;
};

// A shown form with a button, and its pop-up under the button.
struct PopupFixture {
  TForm owner{nullptr};
  TButton* button = new TButton(&owner);
  TPopupForm popup{nullptr, &owner};
  TEdit* field = new TEdit(&popup);
  PopupFixture() {
    gLog.clear();
    owner.SetBounds(100, 100, 300, 200);
    button->SetParent(&owner);
    button->SetBounds(10, 10, 80, 25);
    button->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { gLog.push_back("button press"); };
    field->SetParent(&popup);
    field->SetBounds(5, 5, 100, 21);
    popup.SetBounds(150, 160, 120, 90);
    owner.Show();
    ProcessPendingEvents();
  }
  void Open() {
    popup.SetActiveControl(field);
    popup.Show();
    EXPECT_TRUE(WaitUntil([&] { return popup.Active(); }, 2000));
    gLog.clear();
  }
};

TEST(PopupForm, IsOwnedTopMostAndBorderlessAndTakesTheKeyboardWhenShown) {
  PopupFixture f;
  f.Open();
  ASSERT_TRUE(f.popup.Active());
  EXPECT_EQ(GetParent(f.popup.Handle()), f.owner.Handle());
  const Qt::WindowFlags flags = FormWindow(&f.popup)->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(f.field->Focused());
  SimulateTyping(f.field, u"ab");
  EXPECT_EQ(f.field->Text(), u"ab");
  EXPECT_TRUE(f.popup.Active());
  // Shown again later, it is still the same owned window.
  f.popup.Hide();
  // The owner has the activation back, as on Windows.
  EXPECT_TRUE(WaitUntil([&] { return f.owner.Active(); }, 2000));
  f.Open();
  EXPECT_EQ(GetParent(f.popup.Handle()), f.owner.Handle());
}

TEST(PopupForm, APressOutsideDeactivatesItBeforeThePressArrives) {
  PopupFixture f;
  f.Open();
  SimulateClick(f.button, 5, 5);
  ProcessPendingEvents();
  EXPECT_EQ(gLog, (std::vector<std::string>{"popup inactive", "hide", "button press"}));
  EXPECT_EQ(f.popup.LastOther, f.owner.Handle());
  EXPECT_FALSE(f.popup.Visible());
  EXPECT_TRUE(WaitUntil([&] { return f.owner.Active(); }, 2000));
  // The same through a screen point (a press on whatever window shows there).
  f.Open();
  const TPoint p = f.owner.ClientToScreen(TPoint(150, 20));
  SimulatePressOutside(&f.popup, p.X, p.Y);
  EXPECT_EQ(f.popup.Deactivations, 2);
  EXPECT_FALSE(f.popup.Visible());
  // A press on the pop-up itself deactivates nothing.
  f.Open();
  SimulateClick(&f.popup, 60, 60);
  EXPECT_TRUE(f.popup.Visible());
  EXPECT_EQ(f.popup.Deactivations, 2);
}

TEST(PopupForm, AnotherWindowOrProgramBecomingActiveDeactivatesIt) {
  PopupFixture f;
  TForm other(nullptr);
  other.SetBounds(500, 100, 100, 100);
  other.Show();
  f.Open();
  SimulateActivate(&other);
  EXPECT_EQ(f.popup.Deactivations, 1);
  EXPECT_EQ(f.popup.LastOther, other.Handle());
  EXPECT_FALSE(f.popup.Visible());
  f.Open();
  SimulateActivateOtherApplication();
  EXPECT_EQ(f.popup.Deactivations, 2);
  EXPECT_EQ(f.popup.LastOther, nullptr);
  EXPECT_FALSE(f.popup.Visible());
  // A press on no window of the program is a press in another program.
  f.Open();
  SimulatePressOutside(&f.popup, -20000, -20000);
  EXPECT_EQ(f.popup.Deactivations, 3);
  EXPECT_FALSE(f.popup.Visible());
  // While it ignores deactivation it stays, and hears of each change once.
  f.popup.CloseOnDeactivate = false;
  f.Open();
  SimulateActivate(&other);
  SimulateActivate(&other);
  EXPECT_EQ(f.popup.Deactivations, 4);
  EXPECT_TRUE(f.popup.Visible());
}

TEST(PopupForm, AWindowItOwnsLeadsBackToItAndDoesNotCloseIt) {
  PopupFixture f;
  f.Open();
  TOwnedDialog dialog(nullptr, &f.popup);
  dialog.SetBounds(200, 300, 150, 100);
  dialog.Show();
  ASSERT_TRUE(WaitUntil([&] { return dialog.Active(); }, 2000));
  EXPECT_EQ(f.popup.LastOther, dialog.Handle());
  EXPECT_EQ(GetParent(dialog.Handle()), f.popup.Handle());
  EXPECT_TRUE(f.popup.Visible());
  // Pressing into the dialog keeps it too; back to the pop-up, then a press outside closes it.
  SimulateClick(&dialog, 20, 20);
  EXPECT_TRUE(f.popup.Visible());
  dialog.Hide();
  SimulateActivate(&f.popup);
  SimulateClick(f.button, 5, 5);
  EXPECT_FALSE(f.popup.Visible());
}

TEST(PopupForm, AHideByTheWindowSystemRunsTheFormsHidePath) {
  // However it goes, the form's hide path runs once (losing the activation on the way).
  auto hides = [] { return std::count(gLog.begin(), gLog.end(), std::string("hide")); };
  PopupFixture f;
  f.Open();
  SimulateWindowSystemHide(&f.popup);
  EXPECT_FALSE(f.popup.Visible());
  EXPECT_EQ(hides(), 1);
  f.Open();
  f.popup.Hide();
  EXPECT_EQ(hides(), 1);
  // The close box or Alt+F4: WM_CLOSE, then Close, which hides it.
  f.Open();
  f.popup.Perform(WM_CLOSE, 0, 0);
  EXPECT_FALSE(f.popup.Visible());
  EXPECT_EQ(hides(), 1);
}

TEST(PopupForm, SizesFromItsBottomRightCornerWithinItsConstraints) {
  PopupFixture f;
  f.Open();
  // A press in its own area where it answers HTBOTTOMRIGHT.
  SimulateMouseDown(&f.popup, mbLeft, 117, 87);
  SimulateMouseMove(&f.popup, 147, 107, {ssLeft});
  EXPECT_EQ(f.popup.Width(), 150);
  EXPECT_EQ(f.popup.Height(), 110);
  SimulateMouseMove(&f.popup, 0, 0, {ssLeft});  // not below the constraints
  EXPECT_EQ(f.popup.Width(), 80);
  EXPECT_EQ(f.popup.Height(), 50);
  SimulateMouseUp(&f.popup, mbLeft, 0, 0);
  EXPECT_EQ(gLog, (std::vector<std::string>{"sizing 150x110", "sizing 80x50"}));
  // After the release the mouse moves freely again.
  SimulateMouseMove(&f.popup, 40, 30);
  EXPECT_EQ(f.popup.Width(), 80);
  // A control inside it asks for the same with WM_NCLBUTTONDOWN (a footer's size grip).
  TPanel* grip = new TPanel(&f.popup);
  grip->SetParent(&f.popup);
  grip->SetBounds(60, 30, 20, 20);
  grip->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
    const TPoint s = grip->ClientToScreen(TPoint(X, Y));
    f.popup.Perform(WM_NCLBUTTONDOWN, WPARAM(HTBOTTOMRIGHT), MAKELPARAM(WORD(s.X), WORD(s.Y)));
  };
  ProcessPendingEvents();
  gLog.clear();
  SimulateMouseDown(grip, mbLeft, 10, 10);
  SimulateMouseMove(grip, 50, 40, {ssLeft});
  SimulateMouseUp(grip, mbLeft, 50, 40);
  EXPECT_EQ(f.popup.Width(), 120);
  EXPECT_EQ(f.popup.Height(), 80);
  EXPECT_EQ(gLog, (std::vector<std::string>{"sizing 120x80"}));
}

TEST(PopupForm, ATestClockHoldsTheTickCountForTimeRules) {
  TTestClock clock(0xFFFF'FF00ull);
  const uint32_t deactivated = GetTickCount();
  clock.Advance(200);
  EXPECT_EQ(GetTickCount() - deactivated, 200u);  // across the 32-bit wrap
  clock.Advance(51);
  EXPECT_GT(GetTickCount() - deactivated, 250u);
}

}  // namespace
