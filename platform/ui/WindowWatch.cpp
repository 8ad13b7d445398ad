// The watch is an event filter on the control's widget and each widget above it.
#include "platform/ui/WindowWatch.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Controls_p.h"

class TWindowPosWatch::TFilter : public QObject {
public:
  TFilter(QWidget* Widget, std::function<void()> OnMoved) : FOnMoved(std::move(OnMoved)) {
    for (QWidget* w = Widget; w != nullptr; w = w->parentWidget()) {
      w->installEventFilter(this);
      FWatched.emplace_back(w);
    }
  }
  ~TFilter() override {
    for (const QPointer<QWidget>& w : FWatched)
      if (w) w->removeEventFilter(this);
  }

protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if ((Event->type() == QEvent::Move || Event->type() == QEvent::Resize) && FOnMoved) FOnMoved();
    return false;
  }

private:
  std::function<void()> FOnMoved;
  std::vector<QPointer<QWidget>> FWatched;
};

TWindowPosWatch::TWindowPosWatch(TWinControl* Control, std::function<void()> OnMoved) {
  Control->HandleNeeded();
  FFilter = std::make_unique<TFilter>(TControlHost::Widget(Control), std::move(OnMoved));
}

TWindowPosWatch::~TWindowPosWatch() = default;
