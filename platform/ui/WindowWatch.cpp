// The watch is an event filter on the control's widget and each widget above it.
#include "platform/ui/WindowWatch.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
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

// ---- Dialog keys

class TDialogKeysWatch::TFilter : public QObject {
public:
  TFilter(TWinControl* Control, std::function<bool()> Wanted) : FControl(Control), FWanted(std::move(Wanted)) {
    // After the control's own host filter, so this one sees the keys first; a widget that
    // hands its focus to an inner one (a focus proxy) gets its keys there.
    for (QWidget* w = TControlHost::Widget(Control); w != nullptr; w = w->focusProxy()) {
      w->installEventFilter(this);
      FWatched.emplace_back(w);
      if (w->focusProxy() == w) break;
    }
  }
  ~TFilter() override {
    for (const QPointer<QWidget>& w : FWatched)
      if (w) w->removeEventFilter(this);
  }
  // Inside a key the control handles (then the watch ends later, once the key is done).
  bool Busy = false;
  bool Ended = false;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() != QEvent::KeyPress || Ended) return false;
    auto* ke = static_cast<QKeyEvent*>(Event);
    if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    WORD vk = 0;
    switch (ke->key()) {
      case Qt::Key_Tab: case Qt::Key_Backtab: vk = VK_TAB; break;
      case Qt::Key_Left: vk = VK_LEFT; break;
      case Qt::Key_Right: vk = VK_RIGHT; break;
      case Qt::Key_Up: vk = VK_UP; break;
      case Qt::Key_Down: vk = VK_DOWN; break;
      default: return false;
    }
    auto* w = qobject_cast<QWidget*>(Watched);
    if (w == nullptr || !w->isEnabled() || !FWanted || !FWanted()) return false;
    const LPARAM keyData = 1;
    if (FControl->Perform(CM_WANTSPECIALKEY, vk, keyData) != 0) return false;
    if (FControl->Perform(WM_GETDLGCODE, 0, 0) & (vk == VK_TAB ? DLGC_WANTTAB : DLGC_WANTARROWS)) return false;
    NoteInputState(ke->modifiers(), QGuiApplication::mouseButtons());
    NoteKeyState(vk, true);
    const QPointer<QWidget> guard(w);
    Busy = true;
    FControl->Perform(WM_KEYDOWN, vk, keyData);
    // The character goes with the key while the keyboard is still in the control.
    if (vk == VK_TAB && !Ended && guard && guard->hasFocus()) FControl->Perform(WM_CHAR, 9, keyData);
    Busy = false;
    if (Ended) deleteLater();
    return true;
  }

private:
  TWinControl* FControl;
  std::function<bool()> FWanted;
  std::vector<QPointer<QWidget>> FWatched;
};

TDialogKeysWatch::TDialogKeysWatch(TWinControl* Control, std::function<bool()> Wanted) {
  Control->HandleNeeded();
  FFilter = std::make_unique<TFilter>(Control, std::move(Wanted));
}

TDialogKeysWatch::~TDialogKeysWatch() {
  if (FFilter == nullptr || !FFilter->Busy) return;
  // Ended from inside the key it is handling: it goes once that key is done.
  FFilter->Ended = true;
  (void)FFilter.release();
}
