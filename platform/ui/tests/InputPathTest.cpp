// Mouse input as a user gives it: which window a message reaches, the capture, pop-up lists
// and context menus.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/ui/Controls_p.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TestSupport.h"

namespace {

// A painted window that logs its mouse messages and the capture changes it is told of.
class TLogBox : public TCustomControl {
public:
  TLogBox(TComponent* AOwner, std::vector<std::string>& Log, std::string Name)
      : TCustomControl(AOwner), log(Log), name(std::move(Name)) {}
  std::vector<std::string>& log;
  std::string name;

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN: log.push_back(name + " down"); break;
      case WM_LBUTTONUP: log.push_back(name + " up"); break;
      case WM_RBUTTONUP: log.push_back(name + " rup"); break;
      case WM_CAPTURECHANGED: log.push_back(name + " lost capture"); break;
      default: break;
    }
    TCustomControl::WndProc(Message);
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
};

// A form with a panel holding a command button (a painted window that captures the mouse
// on its press and clicks on a release inside it), the form and panel logging too.
struct TPanelForm {
  std::vector<std::string> log;
  TForm form{nullptr};
  TPanel* panel = new TPanel(&form);
  TLogBox* button = new TLogBox(&form, log, "button");
  TLogBox* other = new TLogBox(&form, log, "other");
  TPanelForm() {
    form.SetBounds(0, 0, 300, 200);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 200, 100);
    for (TLogBox* b : {button, other}) b->SetParent(panel);
    button->SetBounds(10, 10, 80, 30);
    other->SetBounds(100, 10, 80, 30);
    TControlStyle style = button->ControlStyle();
    style.Include(csClickEvents);
    button->SetControlStyle(style);
    button->OnClick = [this](TObject*) { log.push_back("button click"); };
    for (TControl* c : {static_cast<TControl*>(panel), static_cast<TControl*>(&form)}) {
      std::string name = c == panel ? "panel" : "form";
      c->OnMouseDown = [this, name](TObject*, TMouseButton, TShiftState, int, int) { log.push_back(name + " down"); };
      c->OnMouseUp = [this, name](TObject*, TMouseButton, TShiftState, int, int) { log.push_back(name + " up"); };
    }
    form.Show();
  }
};

}  // namespace

TEST(InputPath, AClickReachesTheWindowUnderTheMouseAloneAndEndsItsCapture) {
  TPanelForm f;
  HWND during = nullptr;
  f.button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { during = GetCapture(); };
  SimulateClick(f.button, 40, 15);
  // Neither the panel nor the form hears of the click, nor takes the capture from the button.
  EXPECT_EQ(f.log, (std::vector<std::string>{"button down", "button up", "button lost capture", "button click"}));
  EXPECT_EQ(during, f.button->Handle());
  EXPECT_EQ(GetCapture(), nullptr);
  // The next click works the same; a click on the panel's own area is the panel's.
  f.log.clear();
  SimulateClick(f.button, 40, 15);
  SimulateClick(f.panel, 5, 80);
  EXPECT_EQ(f.log, (std::vector<std::string>{"button down", "button up", "button lost capture", "button click",
                                             "panel down", "panel up"}));
}

TEST(InputPath, OneWindowHoldsTheCaptureUntilReleasedHiddenOrTakenAndTheLoserIsTold) {
  TPanelForm f;
  HWND a = f.button->Handle(), b = f.other->Handle();
  SetCapture(a);
  EXPECT_EQ(GetCapture(), a);
  // While it holds the capture, a click elsewhere comes to it.
  SimulateMouseDown(f.other, mbLeft, 5, 5);
  EXPECT_EQ(f.log, (std::vector<std::string>{"button down"}));
  SimulateMouseUp(f.other, mbLeft, 5, 5);
  EXPECT_EQ(GetCapture(), nullptr);  // the button's release ends its capture
  f.log.clear();

  SetCapture(a);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(GetCapture(), b);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(a);
  f.button->Hide();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(f.log, (std::vector<std::string>{"button lost capture", "other lost capture", "button lost capture"}));
  // A window that is not showing cannot take it.
  SetCapture(a);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(InputPath, ADropDownListThatTookTheReleaseLeavesNoCaptureBehind) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->SetBounds(10, 10, 120, 24);
  combo->SetStyle(csDropDownList);
  for (const char16_t* s : {u"9600", u"19200", u"38400"}) combo->Items()->Add(s);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(10, 100, 75, 25);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form.Show();

  SimulateClick(combo, 60, 12);
  ASSERT_TRUE(combo->DroppedDown());
  QAbstractItemView* list = qobject_cast<QComboBox*>(TControlHost::Widget(combo))->view();
  QPoint item = list->viewport()->mapToGlobal(list->visualRect(list->model()->index(1, 0)).center());
  SimulateScreenClick(item.x(), item.y());
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  // The next click goes where the user clicks.
  SimulateClick(button, 30, 12);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST(InputPath, ARightClickAsksOnceForTheMenuOfTheNearestControlThatHasOne) {
  TPanelForm f;
  auto* formMenu = new TPopupMenu(&f.form);
  auto* panelMenu = new TPopupMenu(&f.form);
  for (TPopupMenu* m : {formMenu, panelMenu}) {
    auto* item = new TMenuItem(&f.form);
    item->SetCaption(u"item");
    m->Items()->Add(item);
  }
  f.form.SetPopupMenu(formMenu);
  int formPopups = 0, panelPopups = 0;
  formMenu->OnPopup = [&](TObject*) { ++formPopups; };
  panelMenu->OnPopup = [&](TObject*) { ++panelPopups; };
  auto rightClick = [](TControl* c) {
    QTimer::singleShot(0, [] {
      if (QWidget* w = QApplication::activePopupWidget()) w->close();
    });
    SimulateClick(c, 5, 5, mbRight);
  };
  rightClick(f.button);
  EXPECT_EQ(formPopups, 1);
  EXPECT_EQ(formMenu->PopupComponent(), &f.form);
  f.panel->SetPopupMenu(panelMenu);
  rightClick(f.button);
  EXPECT_EQ(panelPopups, 1);
  EXPECT_EQ(panelMenu->PopupComponent(), f.panel);
  EXPECT_EQ(formPopups, 1);
  // A control that handles the request itself shows no menu.
  f.button->OnContextPopup = [](TObject*, TPoint, bool& Handled) { Handled = true; };
  rightClick(f.button);
  EXPECT_EQ(panelPopups, 1);
  EXPECT_EQ(formPopups, 1);
}
