// Combo box: its notifications through CN_COMMAND, the dropped list's width, and the painting
// layer over the native window that derived controls draw their look on.

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QPaintEvent>

#include <algorithm>

#include "platform/ui/StdCtrls_p.h"

// A transparent window over the combo box's native window, the same size, passing the mouse
// through. Its painting is what the control draws in WM_PAINT and WM_NCPAINT on the layer's DC.
class TComboLayer : public QWidget {
public:
  explicit TComboLayer(QWidget* host) : QWidget(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(host->rect());
    host->installEventFilter(this);
    raise();
    show();
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parentWidget()) {
      if (event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
      // A part the native window makes later must not cover the layer.
      else if (event->type() == QEvent::ChildAdded) raise();
    }
    return false;
  }

  void paintEvent(QPaintEvent*) override {
    auto* combo = dynamic_cast<TCustomComboBox*>(TControlHost::ControlOf(parentWidget()));
    if (combo == nullptr || combo->IsDestroying() || size().isEmpty()) return;
    HDC dc = CreateDeviceDC(this);
    if (dc == nullptr) return;
    GuardedCall([combo, dc] {
      combo->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
      combo->Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    DeleteDeviceDC(dc);
  }
};

void TCustomComboBox::CreateLayer() {
  if (QWidget* w = TControlHost::Widget(this)) new TComboLayer(w);
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
