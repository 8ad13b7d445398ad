#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <string>
#include <vector>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

std::vector<std::string> gLog;

// A focusable window that logs its focus messages.
class TFocusBox : public TCustomControl {
public:
  TFocusBox(TComponent* owner, const char* name) : TCustomControl(owner), FTag(name) {
    SetTabStop(true);
    OnEnter = [this](TObject*) { gLog.push_back("enter " + FTag); };
    OnExit = [this](TObject*) { gLog.push_back("exit " + FTag); };
  }

protected:
  void WMSetFocus(TWMSetFocus& M) override {
    gLog.push_back("setfocus " + FTag);
    TCustomControl::WMSetFocus(M);
  }
  void WMKillFocus(TWMKillFocus& M) override {
    gLog.push_back("killfocus " + FTag);
    TCustomControl::WMKillFocus(M);
  }
  void CMFocusChanged(TMessage& M) override {
    // Every control hears of it; the receiver logs which control got the focus.
    if (reinterpret_cast<TWinControl*>(M.LParam) == this) gLog.push_back("focuschanged " + FTag);
    TCustomControl::CMFocusChanged(M);
  }

private:
  std::string FTag;
};

struct TFocusForm {
  TForm Form{nullptr};
  TFocusBox* A;
  TFocusBox* Panel;  // holds B and C
  TFocusBox* B;
  TFocusBox* C;
  TFocusForm() {
    Form.SetBounds(0, 0, 300, 200);
    A = Add(&Form, "A", 10, 10);
    Panel = Add(&Form, "panel", 10, 60, 200, 100);
    Panel->SetTabStop(false);
    B = Add(Panel, "B", 5, 5);
    C = Add(Panel, "C", 5, 50);
    gLog.clear();
    Form.Show();
    WaitUntil([&] { return Form.Active(); }, 5000);
  }
  TFocusBox* Add(TWinControl* parent, const char* name, int l, int t, int w = 60, int h = 30) {
    auto* c = new TFocusBox(&Form, name);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
  }
};

}  // namespace

TEST(FormsFocus, FocusMovesSendExitAndEnterAlongTheParentsThenFocusChanged) {
  TFocusForm f;
  struct Step {
    TFocusBox* target;
    std::vector<std::string> expected;
  };
  // Showing the form focused the first control in tab order.
  EXPECT_EQ(gLog, (std::vector<std::string>{"enter A", "focuschanged A", "setfocus A"}));
  const std::vector<Step> steps = {
      // Into the panel: the panel is entered before the control inside it.
      {f.B, {"killfocus A", "exit A", "enter panel", "enter B", "focuschanged B", "setfocus B"}},
      // Within the panel: the panel neither exits nor enters.
      {f.C, {"killfocus B", "exit B", "enter C", "focuschanged C", "setfocus C"}},
      // Out of the panel: innermost exits first.
      {f.A, {"killfocus C", "exit C", "exit panel", "enter A", "focuschanged A", "setfocus A"}},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    gLog.clear();
    steps[i].target->SetFocus();
    EXPECT_EQ(gLog, steps[i].expected) << "step " << i;
    EXPECT_TRUE(steps[i].target->Focused()) << "step " << i;
    EXPECT_EQ(f.Form.ActiveControl(), steps[i].target) << "step " << i;
  }
}

TEST(FormsFocus, AnExitHandlerThatKeepsTheFocusWins) {
  TFocusForm f;
  f.A->SetFocus();
  bool refuse = true;
  f.A->OnExit = [&](TObject*) {
    gLog.push_back("exit A");
    if (refuse) f.A->SetFocus();  // as an edit with a faulty text does
  };
  gLog.clear();
  f.B->SetFocus();
  EXPECT_TRUE(f.A->Focused());
  EXPECT_FALSE(f.B->Focused());
  EXPECT_EQ(f.Form.ActiveControl(), f.A);
  // B never got WM_SETFOCUS, nor did the panel or B enter.
  for (const std::string& e : gLog) {
    EXPECT_NE(e, "setfocus B");
    EXPECT_NE(e, "enter B");
    EXPECT_NE(e, "enter panel");
  }
  // Once the handler lets go, the move goes through.
  refuse = false;
  gLog.clear();
  f.B->SetFocus();
  EXPECT_TRUE(f.B->Focused());
  EXPECT_EQ(gLog, (std::vector<std::string>{"killfocus A", "exit A", "enter panel", "enter B", "focuschanged B",
                                            "setfocus B"}));
}

TEST(FormsFocus, ARemovedFocusedControlIsForgotten) {
  TFocusForm f;
  f.C->SetFocus();
  ASSERT_EQ(f.Form.ActiveControl(), f.C);
  gLog.clear();
  delete f.C;
  EXPECT_NE(f.Form.ActiveControl(), f.C);
  // Later moves never reach the freed control (no exit for it).
  f.B->SetFocus();
  f.A->SetFocus();
  EXPECT_TRUE(f.A->Focused());
  for (const std::string& e : gLog) EXPECT_EQ(e.find(" C"), std::string::npos) << e;
  // Freeing a container with the focused control in it.
  f.B->SetFocus();
  delete f.Panel;
  TWinControl* active = f.Form.ActiveControl();
  EXPECT_TRUE(active == nullptr || active == f.A);
  gLog.clear();
  f.A->SetFocus();
  EXPECT_TRUE(f.A->Focused());
  for (const std::string& e : gLog) {
    EXPECT_EQ(e.find(" B"), std::string::npos) << e;
    EXPECT_EQ(e.find(" panel"), std::string::npos) << e;
  }
}

TEST(FormsFocus, HideCaretHidesTheTextCursorOfATextFieldUntilShowCaret) {
  struct TLineEdit : TWinControl {
    using TWinControl::TWinControl;
    void CreateWnd() override { TControlHost::Attach(this, new QLineEdit, false); }
  };
  TFocusForm f;
  auto* edit = new TLineEdit(&f.Form);
  edit->SetParent(&f.Form);
  edit->SetBounds(100, 10, 120, 24);
  QWidget* field = TControlHost::Widget(edit);
  auto caretWidth = [&] { return field->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, field); };
  ASSERT_GT(caretWidth(), 0);
  EXPECT_TRUE(HideCaret(edit->Handle()));
  EXPECT_TRUE(HideCaret(edit->Handle()));  // hiding twice is harmless
  EXPECT_EQ(caretWidth(), 0);
  EXPECT_TRUE(ShowCaret(edit->Handle()));
  EXPECT_GT(caretWidth(), 0);
  EXPECT_FALSE(field->testAttribute(Qt::WA_SetStyle));  // back on the application's style
  // A window without a text field has no caret to hide.
  EXPECT_FALSE(HideCaret(f.A->Handle()));
}
