#pragma once
// A shown form holding one plain framework drop-down, with a control in its pop-up, and a
// keystroke script runner for the drop-down tests.

#include "dropdowns/AdvDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

// Keys of a keystroke script beside the typed characters.
constexpr Char kLeft = 0xE001, kRight = 0xE002, kHome = 0xE003, kEnd = 0xE004, kDelete = 0xE005, kBack = u'\b';
constexpr Char kShiftHome = 0xE006, kCtrlV = 0xE007, kShiftIns = 0xE008, kF4 = 0xE009, kEsc = 0xE00A;
constexpr Char kEnter = 0xE00B, kAltDown = 0xE00C;

// The framework with an edit in its pop-up; the edit takes the focus when it opens.
class TTestDropDown : public TAdvCustomDropDown {
public:
  // A constructor reaches only the base's virtuals: the control is made here.
  explicit TTestDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) { CreateDropDownForm(); }
  TEdit* Inner = nullptr;
  int Loads = 0;
  int Sizings = 0;
  using TAdvCustomDropDown::DoHideDropDown;
  using TAdvCustomDropDown::FOldText;

protected:
  void CreateDropDownForm() override {
    TAdvCustomDropDown::CreateDropDownForm();
    if (Inner != nullptr || DropDownForm() == nullptr) return;
    Inner = new TEdit(this);
    Inner->SetParent(DropDownForm());
    Inner->SetBounds(0, 0, 150, 60);
    Inner->SetTabStop(true);
    SetControl(Inner);
    FFocusControl = Inner;
  }
  void DropDownFormSizing() override { ++Sizings; }
  void BeforeDropDown() override {
    TAdvCustomDropDown::BeforeDropDown();
    ++Loads;
  }
};

struct DropDownFixture {
  TForm form{nullptr};
  TEdit* other;  // holds the focus while the drop-down does not
  TTestDropDown* dd;
  int changes = 0;
  explicit DropDownFixture(int Left = 100, int Top = 100) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(Left, Top, 400, 300);
    other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 10, 60, 24);
    other->SetTabStop(true);
    dd = new TTestDropDown(&form);
    dd->SetParent(&form);
    dd->SetBounds(100, 100, 160, 24);
    dd->SetTabStop(true);
    dd->SetDropDownWidth(150);
    dd->SetDropDownHeight(62);
    dd->OnChange = [this](TObject*) { ++changes; };
    form.Show();
    ProcessPendingEvents();
  }
  void Focus() {
    dd->SetFocus();
    ProcessPendingEvents();
  }
  // Keys go where the keyboard is: into the pop-up while it is open.
  TWinControl* KeyTarget() { return dd->DroppedDown() && dd->Inner != nullptr ? static_cast<TWinControl*>(dd->Inner) : dd; }
  // A key that closes the pop-up is released where the keyboard then is: the edit.
  void Stroke(TWinControl* t, Word key, TShiftState shift = {}) {
    SimulateKeyDown(t, key, shift);
    SimulateKeyUp(t->Showing() ? t : static_cast<TWinControl*>(dd), key, shift);
  }
  void Run(const String& keys) {
    for (Char c : keys) {
      TWinControl* t = KeyTarget();
      switch (c) {
        case kLeft: Stroke(t, VK_LEFT); break;
        case kRight: Stroke(t, VK_RIGHT); break;
        case kHome: Stroke(t, VK_HOME); break;
        case kShiftHome: Stroke(t, VK_HOME, {ssShift}); break;
        case kEnd: Stroke(t, VK_END); break;
        case kDelete: Stroke(t, VK_DELETE); break;
        case kBack: Stroke(t, VK_BACK); break;
        case kCtrlV: Stroke(t, 'V', {ssCtrl}); break;
        case kShiftIns: Stroke(t, VK_INSERT, {ssShift}); break;
        case kF4: Stroke(t, VK_F4); break;
        case kEsc: Stroke(t, VK_ESCAPE); break;
        case kEnter: Stroke(t, VK_RETURN); break;
        case kAltDown: Stroke(t, VK_DOWN, {ssAlt}); break;
        default: SimulateChar(t, c); break;
      }
      ProcessPendingEvents();
    }
  }
};

// Holds the process-wide number separators for one test.
struct SeparatorsScope {
  Char decimal, thousand;
  SeparatorsScope(Char Decimal, Char Thousand)
      : decimal(FormatSettings.DecimalSeparator), thousand(FormatSettings.ThousandSeparator) {
    FormatSettings.DecimalSeparator = Decimal;
    FormatSettings.ThousandSeparator = Thousand;
  }
  ~SeparatorsScope() {
    FormatSettings.DecimalSeparator = decimal;
    FormatSettings.ThousandSeparator = thousand;
  }
};
