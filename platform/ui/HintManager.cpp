// The application's hint window: one window, made from the hint window class that is set,
// shows the hint of whichever control the mouse rests on.
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/HintManager_p.h"
#include "platform/win/Gdi.h"

namespace {

class THintManager : public QObject {
public:
  THintManager() {
    hide_.setSingleShot(true);
    QObject::connect(&hide_, &QTimer::timeout, this, [this] { Hide(); });
  }

  void SetClass(const THintWindowClass& c) {
    Hide();
    class_ = c;
    window_.reset();  // the next hint makes a window of the new class
  }

  THintWindow* Window() const { return window_.get(); }

  void Show(const THintInfo& info, QWidget* widget, const QRect& area) {
    if (!window_) window_.reset(class_ ? class_(nullptr) : new THintWindow(nullptr));
    if (widget_ != widget) {
      if (widget_) widget_->removeEventFilter(this);
      widget_ = widget;
      if (widget_) widget_->installEventFilter(this);
    }
    area_ = area;
    const int maxWidth = Screen != nullptr ? Screen->Width() : 1024;
    TRect r = window_->CalcHintRect(maxWidth, info.HintStr, nullptr);
    OffsetRect(&r, info.HintPos.X, info.HintPos.Y);
    // Kept on the monitor of its top-left corner.
    if (Screen != nullptr) {
      const TRect m = Screen->MonitorFromPoint(info.HintPos, mdNearest)->BoundsRect();
      if (r.Right > m.Right) OffsetRect(&r, std::max(m.Left, m.Right - r.Width()) - r.Left, 0);
      if (r.Bottom > m.Bottom) OffsetRect(&r, 0, std::max(m.Top, info.HintPos.Y - 20 - r.Height()) - r.Top);
    }
    window_->ActivateHint(r, info.HintStr);
    if (info.HideTimeout > 0) hide_.start(info.HideTimeout);
    else hide_.stop();
  }

  void Hide() {
    hide_.stop();
    if (widget_) widget_->removeEventFilter(this);
    widget_ = nullptr;
    if (window_ && window_->Visible()) window_->SetVisible(false);
  }

protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseMove:
        if (!area_.contains(static_cast<QMouseEvent*>(e)->position().toPoint())) Hide();
        break;
      case QEvent::Leave: case QEvent::MouseButtonPress: case QEvent::KeyPress: case QEvent::Wheel:
      case QEvent::Hide: case QEvent::FocusOut:
        Hide();
        break;
      default:
        break;
    }
    return false;
  }

private:
  THintWindowClass class_;
  std::unique_ptr<THintWindow> window_;
  QPointer<QWidget> widget_;
  QRect area_;
  QTimer hide_;
};

THintManager& Manager() {
  static THintManager* m = new THintManager;  // lives as long as the program's windows
  return *m;
}

}  // namespace

void SetHintWindowClass(const THintWindowClass& Class) { Manager().SetClass(Class); }

THintWindow* ApplicationHintWindow() { return Manager().Window(); }

void ShowApplicationHint(const THintInfo& Info, QWidget* Widget, const QRect& Area) { Manager().Show(Info, Widget, Area); }

void HideApplicationHint() { Manager().Hide(); }
