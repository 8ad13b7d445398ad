// The application's hint window: the hint of the control under a resting mouse shows in one
// window of the hint window class that is set, below the cursor and on the monitor.
#include <gtest/gtest.h>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// A hint window of the application's own: a fixed size, and a record of what it showed.
class TProbeHint : public THintWindow {
public:
  using THintWindow::THintWindow;
  String ClassName() const override { return u"TProbeHint"; }
  TRect CalcHintRect(int, const String&, void*) override { return Rect(0, 0, 77, 33); }
  void ActivateHint(const TRect& R, const String& AHint) override {
    Shown = AHint;
    THintWindow::ActivateHint(R, AHint);
  }
  String Shown;
};

// A control that places its hint itself.
class TPlacedHintPanel : public TPanel {
public:
  using TPanel::TPanel;
  TPoint Place;
  void CMHintShow(TMessage& Message) override {
    reinterpret_cast<THintInfo*>(Message.LParam)->HintPos = Place;
  }
};

class HintManager : public ::testing::Test {
protected:
  void SetUp() override {
    SetHintWindowClass(THintWindowClass());
    Form = new TForm(Application);
    Form->SetBounds(50, 50, 300, 200);
    for (int i = 0; i < 2; ++i) {
      Buttons[i] = new TButton(Form);
      Buttons[i]->SetParent(Form);
      Buttons[i]->SetBounds(10 + 120 * i, 10, 100, 30);
      Buttons[i]->SetHint(i == 0 ? u"First tip|long text" : u"Second tip");
      Buttons[i]->SetShowHint(true);
    }
    Form->Show();
    SimulateActivate(Form);
  }
  void TearDown() override {
    Application->CancelHint();
    SetHintWindowClass(THintWindowClass());
    delete Form;
  }
  // Rests the mouse on the control until a hint window shows; the window, or nullptr.
  THintWindow* Hover(TControl* c, int x = 20, int y = 10) {
    SimulateMouseMove(c, x, y);
    WaitUntil([] { return ApplicationHintWindow() != nullptr && ApplicationHintWindow()->Visible(); }, 5000);
    THintWindow* w = ApplicationHintWindow();
    return w != nullptr && w->Visible() ? w : nullptr;
  }
  TForm* Form = nullptr;
  TButton* Buttons[2] = {};
};

}  // namespace

TEST_F(HintManager, ShowsTheShortHintBelowTheCursorAndHidesWhenTheMouseLeaves) {
  THintWindow* w = Hover(Buttons[0], 20, 10);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->ClassName(), u"THintWindow");
  EXPECT_EQ(w->Caption(), u"First tip");
  const TPoint cursor = Buttons[0]->ClientToScreen(TPoint(20, 10));
  EXPECT_EQ(w->Left(), cursor.X);
  EXPECT_EQ(w->Top(), cursor.Y + 20);
  // Its size is what CalcHintRect measures for the text.
  const TRect r = w->CalcHintRect(1000, u"First tip", nullptr);
  EXPECT_EQ(w->Width(), r.Width());
  EXPECT_EQ(w->Height(), r.Height());
  SimulateMouseMove(Form, 280, 150);
  EXPECT_FALSE(w->Visible());
  ASSERT_EQ(Hover(Buttons[1]), w);  // the same window shows the next hint
  EXPECT_EQ(w->Caption(), u"Second tip");
  Application->CancelHint();
  EXPECT_FALSE(w->Visible());
}

TEST_F(HintManager, TheHintWindowClassSwitchesEveryHintOfTheApplication) {
  ASSERT_NE(Hover(Buttons[0]), nullptr);
  // Switching the class takes the showing hint away; the next hint has a window of the class.
  SetHintWindowClass(HintWindowClassOf<TProbeHint>());
  EXPECT_EQ(ApplicationHintWindow(), nullptr);
  auto* probe = dynamic_cast<TProbeHint*>(Hover(Buttons[1]));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->Shown, u"Second tip");
  EXPECT_EQ(probe->Width(), 77);
  EXPECT_EQ(probe->Height(), 33);
  SimulateMouseMove(Form, 280, 150);
  SetHintWindowClass(HintWindowClassOf<THintWindow>());
  THintWindow* w = Hover(Buttons[0]);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(dynamic_cast<TProbeHint*>(w), nullptr);
}

TEST_F(HintManager, HintsStayOnTheMonitorAndLongTextWraps) {
  auto* panel = new TPlacedHintPanel(static_cast<TComponent*>(Form));
  panel->SetParent(Form);
  panel->SetBounds(10, 100, 100, 50);
  panel->SetHint(u"A hint placed by its control, near the screen's corner");
  panel->SetShowHint(true);
  const TRect m = Screen->MonitorFromPoint(TPoint(0, 0))->BoundsRect();
  panel->Place = TPoint(m.Right - 10, m.Bottom - 5);
  THintWindow* w = Hover(panel);
  ASSERT_NE(w, nullptr);
  EXPECT_LE(w->Left() + w->Width(), m.Right);
  EXPECT_LE(w->Top() + w->Height(), m.Bottom);
  EXPECT_GT(w->Width(), 100);
  // Wrapped at the width it is given: narrower, taller.
  const TRect one = w->CalcHintRect(2000, panel->Hint(), nullptr);
  const TRect wrapped = w->CalcHintRect(120, panel->Hint(), nullptr);
  EXPECT_LE(wrapped.Width(), 120 + 6);
  EXPECT_GT(wrapped.Height(), 2 * (one.Height() - 2));
}
