#pragma once
// A shown borderless form holding a drop-down of type T at (100, 100), 160 x 24, and an edit
// that can take the focus away from it; for the concrete drop-downs' tests.

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

template <typename T>
struct TDropDownHost {
  TForm form{nullptr};
  TEdit* other;
  T* dd;
  TDropDownHost() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 400, 300);
    other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 10, 60, 24);
    other->SetTabStop(true);
    dd = new T(&form);
    dd->SetParent(&form);
    dd->SetBounds(100, 100, 160, 24);
    dd->SetTabStop(true);
  }
  void Show() {
    form.Show();
    ProcessPendingEvents();
  }
  // A key that closes the pop-up (pressed in From) is released where the keyboard then is: the edit.
  void ClosingKey(TWinControl* From, Word K, TShiftState Shift = {}) {
    SimulateKeyDown(From, K, Shift);
    SimulateKeyUp(dd, K, Shift);
    ProcessPendingEvents();
  }
};
