// Combo box: its notifications through CN_COMMAND, the dropped list's width, and the painting
// layer over the native window that derived controls draw their look on.

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>

#include "platform/ui/StdCtrls_p.h"

void TCustomComboBox::CreateLayer() {
  if (QWidget* w = TControlHost::Widget(this)) new TPaintOverLayer(w);
  if (FDroppedWidth > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(FDroppedWidth));
}

void TCustomComboBox::Notify(WORD Code) {
  GuardedCall([this, Code] {
    Perform(CN_COMMAND, WPARAM(MAKELPARAM(0, Code)), reinterpret_cast<LPARAM>(FHandle));
  });
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: {
      TWMCommand m(Message);
      CNCommand(m);
      break;
    }
    case WM_NCPAINT:
      WMNCPaint(Message);
      break;
    case CB_SETDROPPEDWIDTH:
      FDroppedWidth = std::max(0, int(Message.WParam));
      if (auto* box = NativeOf<QComboBox>(this); box != nullptr && box->view() != nullptr)
        box->view()->setMinimumWidth(FDroppedWidth);
      Message.Result = FDroppedWidth;
      break;
    case CB_GETDROPPEDWIDTH:
      Message.Result = std::max(FDroppedWidth, Width());
      break;
    default:
      TWinControl::Dispatch(Message);
  }
}

void TCustomComboBox::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == CBN_DROPDOWN) DropDown();
  else if (Message.NotifyCode() == CBN_CLOSEUP) CloseUp();
}

void TCustomComboBox::WMNCPaint(TMessage&) {}
