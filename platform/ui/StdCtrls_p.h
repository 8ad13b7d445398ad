#pragma once
// Private to platform/: helpers shared by the standard controls over native widgets.

#include <QEvent>
#include <QPalette>
#include <QValidator>
#include <QWidget>

#include "platform/ui/Controls_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Gdi_p.h"

// The native widget of a control, as its class; null while the control has no window.
template <typename W>
W* NativeOf(const TWinControl* c) {
  return qobject_cast<W*>(TControlHost::Widget(c));
}

// Shows a control's colour in a widget's palette role (Base for edits, Window for panels).
inline void ApplyColor(QWidget* w, TColor color, QPalette::ColorRole role) {
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(role, ToQColor(color));
  w->setPalette(p);
  if (role == QPalette::Window) w->setAutoFillBackground(true);
}

class QPainter;
class QStyleOptionViewItem;

// Paints one owner-drawn item of a list view: Draw gets Canvas on an image of the item's size,
// with Font and the brush and font colours of the item's state (Color when not selected), and
// the rectangle and state to draw; the image then goes to the view.
void PaintOwnerDrawnItem(QPainter* Painter, const QStyleOptionViewItem& Option, TCanvas* Canvas, TFont* Font,
                         TColor Color, const std::function<void(TRect, TOwnerDrawState)>& Draw);

// Turns what the user types to upper or lower case, as the control's CharCase asks at that
// moment. Text set in code does not pass here: the control converts it itself.
class TCharCaseValidator : public QValidator {
public:
  TCharCaseValidator(QObject* parent, const TEditCharCase& charCase) : QValidator(parent), case_(charCase) {}
  State validate(QString& input, int&) const override {
    if (case_ == ecUpperCase) input = input.toUpper();
    else if (case_ == ecLowerCase) input = input.toLower();
    return Acceptable;
  }

private:
  const TEditCharCase& case_;
};

// Runs f with a flag set, restoring it afterwards (changes made in code, not by the user).
class TInCode {
public:
  explicit TInCode(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~TInCode() { flag_ = old_; }

private:
  bool& flag_;
  bool old_;
};

// Over a native window made of child widgets: a transparent window of the same size on top of
// them, passing the mouse through. Each time it is drawn, the control of that window gets
// WM_NCPAINT and then WM_PAINT, each with a DC on the layer in wParam, so what the control
// paints there shows over the native look. Stop ends the messages (the control is going).
class TPaintOverLayer : public QWidget {
public:
  explicit TPaintOverLayer(QWidget* Host) : QWidget(Host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(Host->rect());
    Host->installEventFilter(this);
    raise();
    show();
  }
  void Stop() { stopped_ = true; }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched == parentWidget()) {
      if (Event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
      // A part the native window makes later must not cover the layer.
      else if (Event->type() == QEvent::ChildAdded) raise();
    }
    return false;
  }
  void paintEvent(QPaintEvent*) override {
    TWinControl* control = TControlHost::ControlOf(parentWidget());
    if (stopped_ || control == nullptr || control->IsDestroying() || size().isEmpty()) return;
    HDC dc = CreateDeviceDC(this);
    if (dc == nullptr) return;
    GuardedCall([control, dc] {
      control->Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(dc), 0);
      control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    DeleteDeviceDC(dc);
  }

private:
  bool stopped_ = false;
};
