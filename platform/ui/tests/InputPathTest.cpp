// Input as a user gives it: which window a mouse message reaches, the capture, pop-up lists,
// context menus; the keyboard's route through a form (Tab, arrows, Space and Enter).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"
#include "platform/ui/tests/StdCtrlsTestSupport.h"

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

namespace {

// A form with the class library's keyboard stops: edits, a panel holding a button, a list
// box and a check box, a disabled button, a speed button and a painted control (no stops).
struct TKeysForm {
  TForm form{nullptr};
  TEdit* edit1 = Add<TEdit>(&form, 10, 10, 100, 24);
  TPanel* panel = Add<TPanel>(&form, 10, 40, 300, 120);
  TButton* button = Add<TButton>(panel, 10, 10, 75, 25);
  TListBox* list = Add<TListBox>(panel, 100, 10, 80, 60);
  TCheckBox* check = Add<TCheckBox>(panel, 190, 10, 90, 20);
  TButton* disabled = Add<TButton>(panel, 10, 80, 75, 25);
  TSpeedButton* speed = Add<TSpeedButton>(&form, 120, 10, 25, 25);
  TCustomControl* painted = Add<TCustomControl>(&form, 150, 10, 25, 25);
  TEdit* edit2 = Add<TEdit>(&form, 10, 170, 100, 24);
  TButton* ok = Add<TButton>(&form, 200, 170, 75, 25);
  std::vector<std::string> clicks;
  template <typename T>
  T* Add(TWinControl* parent, int l, int t, int w, int h) {
    return PlaceControl<T>(&form, parent, l, t, w, h);
  }
  TKeysForm() {
    form.SetBounds(0, 0, 320, 220);
    for (const char16_t* s : {u"a", u"b"}) list->Items()->Add(s);
    disabled->SetEnabled(false);
    edit2->SetTabOrder(0);  // first of the form's own stops
    ok->SetDefault(true);
    button->OnClick = [this](TObject*) { clicks.push_back("button"); };
    ok->OnClick = [this](TObject*) { clicks.push_back("ok"); };
    form.Show();
  }
  // A key as the user presses it: it goes to whatever has the focus.
  void Press(Word Key, TShiftState Shift = {}) { SimulateKeyStroke(form.ActiveControl(), Key, Shift); }
};

}  // namespace

TEST(KeyboardRoute, TabVisitsTheTabStopsInTabOrderAndLeavesEveryKindOfControl) {
  TKeysForm f;
  f.edit2->SetFocus();
  ProcessPendingEvents();
  ASSERT_EQ(f.form.ActiveControl(), f.edit2);
  const std::vector<TWinControl*> forward = {f.edit1, f.button, f.list, f.check, f.ok, f.edit2, f.edit1};
  for (TWinControl* expected : forward) {
    f.Press(VK_TAB);
    EXPECT_EQ(f.form.ActiveControl(), expected) << StringToUTF8(expected->ClassName());
  }
  for (TWinControl* expected : std::vector<TWinControl*>{f.edit2, f.ok, f.check, f.list}) {
    f.Press(VK_TAB, {ssShift});
    EXPECT_EQ(f.form.ActiveControl(), expected) << StringToUTF8(expected->ClassName());
  }
  EXPECT_EQ(f.list->ItemIndex(), -1);  // Tab passed through the list without moving in it
  EXPECT_TRUE(f.clicks.empty());
}

TEST(KeyboardRoute, SpaceAndEnterClickTheFocusedButtonEnterTheDefaultOneElsewhere) {
  TKeysForm f;
  f.edit1->SetFocus();
  f.Press(VK_RETURN);  // an edit: the default button answers
  EXPECT_EQ(f.clicks, (std::vector<std::string>{"ok"}));
  f.clicks.clear();
  f.Press(VK_TAB);
  ASSERT_EQ(f.form.ActiveControl(), f.button);
  f.Press(VK_SPACE);
  f.Press(VK_RETURN);
  EXPECT_EQ(f.clicks, (std::vector<std::string>{"button", "button"}));
}

TEST(KeyboardRoute, ArrowsMoveTheCheckInARadioGroupAndTabLeavesIt) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = PlaceControl<TEdit>(&form, &form, 10, 10, 100, 24);
  auto* group = PlaceControl<TRadioGroup>(&form, &form, 10, 40, 200, 100);
  for (const char16_t* s : {u"ASCII", u"HEX", u"BIN"}) group->Items()->Add(s);
  group->SetItemIndex(1);
  auto* after = PlaceControl<TEdit>(&form, &form, 10, 150, 100, 24);
  std::vector<int> picks;
  group->OnClick = [&](TObject*) { picks.push_back(group->ItemIndex()); };
  form.Show();
  edit->SetFocus();
  auto press = [&](Word key, TShiftState shift = {}) { SimulateKeyStroke(form.ActiveControl(), key, shift); };

  press(VK_TAB);  // into the group: its checked button, the group's only stop
  EXPECT_EQ(form.ActiveControl(), group->Buttons(1));
  press(VK_DOWN);
  EXPECT_EQ(form.ActiveControl(), group->Buttons(2));
  EXPECT_EQ(group->ItemIndex(), 2);
  press(VK_DOWN);  // round to the first
  press(VK_RIGHT);
  EXPECT_EQ(group->ItemIndex(), 1);
  press(VK_UP);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_FALSE(group->Buttons(1)->Checked());
  EXPECT_EQ(picks, (std::vector<int>{2, 0, 1, 0}));
  press(VK_TAB);
  EXPECT_EQ(form.ActiveControl(), after);
  press(VK_TAB, {ssShift});
  EXPECT_EQ(form.ActiveControl(), group->Buttons(0));
}

TEST(KeyboardRoute, AFormWithNothingToFocusGetsTheKeysItself) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetCaption(u"Version 1.0");
  std::vector<Word> keys;
  form.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };
  form.Show();
  SimulateKeyStroke(&form, VK_ESCAPE);
  EXPECT_EQ(keys, (std::vector<Word>{VK_ESCAPE}));
}

namespace {

// A painted button that answers its caption's Alt+letter, as the grid's painted buttons do.
class TAccelBox : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  std::vector<std::string>* log = nullptr;

protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(Char(Message.WParam), Caption())) {
      log->push_back(StringToUTF8(StripHotkey(Caption())));
      Message.Result = 1;
      return;
    }
    TCustomControl::Dispatch(Message);
  }
};

}  // namespace

TEST(KeyboardRoute, AltWithACaptionsLetterClicksThatButtonWhereverTheFocusIs) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 200);
  auto* edit = PlaceControl<TEdit>(&form, &form, 10, 10, 100, 24);
  auto* next = PlaceControl<TButton>(&form, &form, 10, 40, 75, 25);
  next->SetCaption(u"&Next");
  auto* panel = PlaceControl<TPanel>(&form, &form, 10, 80, 300, 60);
  auto* back = PlaceControl<TButton>(&form, panel, 10, 10, 75, 25);
  back->SetCaption(u"&Back");
  auto* painted = PlaceControl<TAccelBox>(&form, panel, 100, 10, 75, 25);
  painted->SetCaption(u"&Highlight");
  auto* check = PlaceControl<TCheckBox>(&form, panel, 190, 10, 90, 20);
  check->SetCaption(u"&Match case");
  auto* hidden = PlaceControl<TButton>(&form, &form, 200, 40, 75, 25);
  hidden->SetCaption(u"&Quit");
  hidden->SetVisible(false);
  std::vector<std::string> log;
  painted->log = &log;
  next->OnClick = [&](TObject*) { log.push_back("Next"); };
  back->OnClick = [&](TObject*) { log.push_back("Back"); };
  hidden->OnClick = [&](TObject*) { log.push_back("Quit"); };
  form.Show();
  edit->SetFocus();
  ProcessPendingEvents();

  SimulateKeyStroke(edit, 'N', {ssAlt});
  SimulateKeyStroke(edit, 'B', {ssAlt, ssShift});  // the letter's case does not matter
  SimulateKeyStroke(edit, 'H', {ssAlt});
  ProcessPendingEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"Next", "Back", "Highlight"}));
  EXPECT_EQ(StringToUTF8(edit->Text()), "");  // the accelerators typed nothing
  EXPECT_EQ(form.ActiveControl(), edit);

  // A hidden or disabled button answers nothing; a check box takes the focus and toggles.
  next->SetEnabled(false);
  log.clear();
  SimulateKeyStroke(edit, 'Q', {ssAlt});
  SimulateKeyStroke(edit, 'N', {ssAlt});
  ProcessPendingEvents();
  EXPECT_TRUE(log.empty());
  SimulateKeyStroke(edit, 'M', {ssAlt});
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(form.ActiveControl(), check);
  // Alt+N from the check box: still no click of the disabled button; Ctrl+Alt is no accelerator.
  next->SetEnabled(true);
  SimulateKeyStroke(check, 'N', {ssAlt, ssCtrl});
  EXPECT_TRUE(log.empty());
  SimulateKeyStroke(check, 'N', {ssAlt});
  EXPECT_EQ(log, (std::vector<std::string>{"Next"}));
}
