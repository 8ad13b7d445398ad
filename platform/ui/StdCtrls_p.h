#pragma once
// Private to platform/: helpers shared by the standard controls over native widgets.

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
