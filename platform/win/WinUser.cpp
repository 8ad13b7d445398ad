// Window handles, message delivery (same thread, posted, sent across threads),
// window timers, window DCs and the window queries, over Qt widgets.
#include "platform/win/WinUser.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QThread>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <cassert>
#include <cstring>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/rtl/Classes.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/WinUser_p.h"
#include "platform/win/Hooks_p.h"

std::function<void()> HandleWindowException;
std::function<void(int)> QuitHook;

namespace {

// ---- Handle registry. Handles are created and destroyed on the GUI thread; the set is
// also read by other threads (IsWindow, PostMessage, SendMessage), hence the lock. Never
// destroyed: other threads may still ask while the process exits.
struct TWindowRegistry {
  std::mutex Mutex;
  std::unordered_set<HWND> Windows;
};
TWindowRegistry& Registry() {
  static TWindowRegistry& r = *new TWindowRegistry;
  return r;
}

bool Valid(HWND wnd) {
  if (wnd == nullptr) return false;
  std::lock_guard<std::mutex> lock(Registry().Mutex);
  return Registry().Windows.count(wnd) != 0;
}

bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

// The window handle of each widget; kept and read on the GUI thread only.
std::unordered_map<const QWidget*, HWND>& WidgetWindows() {
  assert(OnGuiThread());
  static std::unordered_map<const QWidget*, HWND> windows;
  return windows;
}

// ---- Messages sent from other threads, waiting for the GUI thread.
struct TSentMessage {
  HWND wnd = nullptr;
  TMessage msg;
  bool replied = false;
  LRESULT result = 0;
};
// The wait of the senders. Never destroyed: a thread may still wait in SendMessage when the
// process exits, and destroying the condition variable it waits on would block the exit.
struct TSentState {
  std::mutex Mutex;
  std::condition_variable Cv;
  std::deque<std::shared_ptr<TSentMessage>> Queue;
  bool Handled = true;  // false once the message loop has ended: senders get 0 at once
};
TSentState& Sent() {
  static TSentState* s = [] {
    auto* state = new TSentState;
    // Nothing serves sent messages during exit: release whoever still waits.
    std::atexit([] { HandleSentMessages(false); });
    return state;
  }();
  return *s;
}
std::vector<TSentMessage*> gCurrentSent;  // GUI thread: the sent messages being handled, innermost last

void Reply(TSentMessage* s, LRESULT result) {
  std::lock_guard<std::mutex> lock(Sent().Mutex);
  if (s->replied) return;
  s->replied = true;
  s->result = result;
  Sent().Cv.notify_all();
}

// Answers 0 to the queued messages for wnd (all of them when wnd is null). Sent().Mutex held.
void ReleaseQueued(HWND wnd) {
  auto& queue = Sent().Queue;
  for (auto it = queue.begin(); it != queue.end();) {
    if (wnd == nullptr || (*it)->wnd == wnd) {
      (*it)->replied = true;
      (*it)->result = 0;
      it = queue.erase(it);
    } else {
      ++it;
    }
  }
  Sent().Cv.notify_all();
}

const QEvent::Type kPostedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kSentEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kQuitEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct TPostedEvent : QEvent {
  TPostedEvent(HWND w, const TMessage& m) : QEvent(kPostedEvent), wnd(w), msg(m) {}
  HWND wnd;
  TMessage msg;
};
struct TQuitEvent : QEvent {
  explicit TQuitEvent(int c) : QEvent(kQuitEvent), code(c) {}
  int code;
};

// Receives posted and sent messages on the GUI thread.
class TMessageSink : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() == kPostedEvent) {
      auto* p = static_cast<TPostedEvent*>(e);
      if (Valid(p->wnd)) DeliverMessage(p->wnd, p->msg);
      return true;
    }
    if (e->type() == kSentEvent) {
      DispatchSentMessages();
      return true;
    }
    if (e->type() == kQuitEvent) {
      int code = static_cast<TQuitEvent*>(e)->code;
      if (QuitHook) QuitHook(code); else QCoreApplication::exit(code);
      return true;
    }
    return QObject::event(e);
  }
};

// ---- Window timers
struct TTimerKey {
  HWND wnd;
  UINT_PTR id;
  bool operator<(const TTimerKey& o) const { return wnd != o.wnd ? wnd < o.wnd : id < o.id; }
};
std::map<TTimerKey, QTimer*> gTimers;
UINT_PTR gNextTimerId = 0x7F00;

void StopTimer(std::map<TTimerKey, QTimer*>::iterator it) {
  it->second->stop();
  it->second->deleteLater();
  gTimers.erase(it);
}

std::mutex gSinkMutex;
QPointer<TMessageSink> gSink;

TMessageSink* Sink() {
  std::lock_guard<std::mutex> lock(gSinkMutex);
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return nullptr;
  if (gSink.isNull()) {
    auto* sink = new TMessageSink;
    if (sink->thread() != app->thread()) sink->moveToThread(app->thread());
    // Freed with the application object; nothing serves sent messages after that.
    sink->setParent(nullptr);
    QObject::connect(app, &QObject::destroyed, sink, [sink] {
      HandleSentMessages(false);
      gTimers.clear();  // the timers are the sink's children
      delete sink;
    }, Qt::DirectConnection);
    gSink = sink;
  }
  return gSink.data();
}

// ---- Input state for GetKeyState
Qt::KeyboardModifiers gModifiers;
Qt::MouseButtons gButtons;
std::unordered_set<int> gKeysDown;
QElapsedTimer gClock;

}  // namespace

// ---- Handles

HWND CreateWindowHandle(QWidget* widget, TWndMethod proc) {
  Sink();  // made on the GUI thread before any other thread needs it
  // A main thread waiting for a thread (TThread::WaitFor) handles messages sent to its windows.
  if (!DispatchSentMessagesHook) DispatchSentMessagesHook = [] { DispatchSentMessages(); };
  HWND wnd = new HWND__;
  wnd->widget = widget;
  wnd->proc = std::move(proc);
  {
    std::lock_guard<std::mutex> lock(Registry().Mutex);
    Registry().Windows.insert(wnd);
  }
  if (widget != nullptr) WidgetWindows()[widget] = wnd;
  return wnd;
}

void DestroyWindowHandle(HWND wnd) {
  if (!Valid(wnd)) return;
  for (auto it = gTimers.begin(); it != gTimers.end();) {
    auto next = std::next(it);
    if (it->first.wnd == wnd) StopTimer(it);
    it = next;
  }
  // The handle goes and the threads waiting on it are released in one step: a sender that
  // checks the handle and queues under the same lock either is released here or finds the
  // handle gone.
  {
    std::lock_guard<std::mutex> sent(Sent().Mutex);
    {
      std::lock_guard<std::mutex> lock(Registry().Mutex);
      Registry().Windows.erase(wnd);
    }
    ReleaseQueued(wnd);
  }
  auto& windows = WidgetWindows();
  for (auto it = windows.begin(); it != windows.end();) {
    if (it->second == wnd) it = windows.erase(it); else ++it;
  }
  delete wnd;
}

HWND WindowOfWidget(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    auto it = WidgetWindows().find(w);
    if (it != WidgetWindows().end()) return it->second;
  }
  return nullptr;
}

QWidget* WindowWidget(HWND wnd) { return Valid(wnd) ? wnd->widget.data() : nullptr; }

void SetWindowFrame(HWND wnd, QWidget* frame) {
  if (!Valid(wnd)) return;
  if (wnd->frame) WidgetWindows().erase(wnd->frame.data());
  wnd->frame = frame;
  if (frame != nullptr) WidgetWindows()[frame] = wnd;
}

QWidget* WindowTopWidget(HWND wnd) {
  QWidget* w = WindowWidget(wnd);
  if (w != nullptr && wnd->frame && w->parentWidget() == wnd->frame.data()) return wnd->frame.data();
  return w;
}

void GuardedCall(const std::function<void()>& fn) {
  try {
    fn();
  } catch (...) {
    if (HandleWindowException) {
      try {
        HandleWindowException();
      } catch (...) {
        std::fputs("exception in the exception handler\n", stderr);
      }
    } else {
      try {
        throw;
      } catch (const std::exception& e) {
        std::fprintf(stderr, "unhandled exception: %s\n", e.what());
      } catch (...) {
        std::fputs("unhandled exception\n", stderr);
      }
    }
  }
}

void DeliverMessage(HWND wnd, TMessage& msg) {
  if (!Valid(wnd) || !wnd->proc) return;
  GuardedCall([&] { CallWndProcHooks(wnd, msg); });
  if (!Valid(wnd)) return;
  GuardedCall([&] { wnd->proc(msg); });
}

LRESULT DeliverMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  DeliverMessage(wnd, m);
  return m.Result;
}

// ---- Messages

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Valid(hWnd)) return 0;
  if (OnGuiThread()) return DeliverMessage(hWnd, Msg, wParam, lParam);
  TMessageSink* sink = Sink();
  if (sink == nullptr) return 0;
  auto s = std::make_shared<TSentMessage>();
  s->wnd = hWnd;
  s->msg = TMessage{Msg, wParam, lParam, 0};
  {
    std::lock_guard<std::mutex> lock(Sent().Mutex);
    // A window already gone, or a loop that has ended, will never answer.
    if (!Sent().Handled || !Valid(hWnd)) return 0;
    Sent().Queue.push_back(s);
  }
  QCoreApplication::postEvent(sink, new QEvent(kSentEvent));
  NotifySentMessage();
  std::unique_lock<std::mutex> lock(Sent().Mutex);
  Sent().Cv.wait(lock, [&] { return s->replied; });
  return s->result;
}

void DispatchSentMessages() {
  if (!OnGuiThread()) return;
  for (;;) {
    std::shared_ptr<TSentMessage> s;
    {
      std::lock_guard<std::mutex> lock(Sent().Mutex);
      if (Sent().Queue.empty()) return;
      s = Sent().Queue.front();
      Sent().Queue.pop_front();
    }
    if (!Valid(s->wnd)) {
      Reply(s.get(), 0);
      continue;
    }
    gCurrentSent.push_back(s.get());
    DeliverMessage(s->wnd, s->msg);
    gCurrentSent.pop_back();
    Reply(s.get(), s->msg.Result);
  }
}

BOOL ReplyMessage(LRESULT lResult) {
  if (!OnGuiThread() || gCurrentSent.empty()) return 0;
  TSentMessage* s = gCurrentSent.back();
  {
    std::lock_guard<std::mutex> lock(Sent().Mutex);
    if (s->replied) return 0;
  }
  Reply(s, lResult);
  return 1;
}

void HandleSentMessages(bool Handled) {
  std::lock_guard<std::mutex> lock(Sent().Mutex);
  Sent().Handled = Handled;
  if (!Handled) ReleaseQueued(nullptr);
}

BOOL InSendMessage() { return OnGuiThread() && !gCurrentSent.empty() ? 1 : 0; }

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Valid(hWnd)) return 0;
  TMessageSink* sink = Sink();
  if (sink == nullptr) return 0;
  QCoreApplication::postEvent(sink, new TPostedEvent(hWnd, TMessage{Msg, wParam, lParam, 0}));
  return 1;
}

void PostQuitMessage(int nExitCode) {
  if (TMessageSink* sink = Sink()) QCoreApplication::postEvent(sink, new TQuitEvent(nExitCode));
}

UINT RegisterWindowMessage(const String& Name) {
  static std::mutex m;
  static std::map<String, UINT> names;
  std::lock_guard<std::mutex> lock(m);
  if (Name.empty()) return 0;
  auto it = names.find(Name);
  if (it != names.end()) return it->second;
  UINT id = 0xC000 + static_cast<UINT>(names.size());
  if (id > 0xFFFF) return 0;
  names[Name] = id;
  return id;
}

LRESULT DefWindowProc(HWND, UINT Msg, WPARAM, LPARAM) {
  return Msg == WM_NCHITTEST ? HTCLIENT : 0;
}

// ---- Hidden windows

HWND AllocateHWnd(TWndMethod Method) {
  if (!OnGuiThread()) throw EInvalidOperation(u"AllocateHWnd must be called on the GUI thread");
  return CreateWindowHandle(nullptr, std::move(Method));
}

void DeallocateHWnd(HWND Wnd) {
  if (Valid(Wnd) && Wnd->widget.isNull()) DestroyWindowHandle(Wnd);
}

// ---- Timers

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  if (hWnd != nullptr && !Valid(hWnd)) return 0;
  if (hWnd == nullptr && nIDEvent == 0) nIDEvent = ++gNextTimerId;
  if (hWnd == nullptr && lpTimerFunc == nullptr) return 0;
  TTimerKey key{hWnd, nIDEvent};
  auto it = gTimers.find(key);
  QTimer* timer;
  if (it != gTimers.end()) {
    timer = it->second;
    QObject::disconnect(timer, nullptr, nullptr, nullptr);
  } else {
    timer = new QTimer(Sink());
    gTimers[key] = timer;
  }
  QObject::connect(timer, &QTimer::timeout, timer, [hWnd, nIDEvent, lpTimerFunc] {
    if (lpTimerFunc != nullptr) {
      if (!gClock.isValid()) gClock.start();
      GuardedCall([&] { lpTimerFunc(hWnd, WM_TIMER, nIDEvent, static_cast<DWORD>(gClock.elapsed())); });
    } else {
      DeliverMessage(hWnd, WM_TIMER, nIDEvent, 0);
    }
  });
  timer->start(static_cast<int>(std::max<UINT>(uElapse, 1)));
  return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  auto it = gTimers.find(TTimerKey{hWnd, uIDEvent});
  if (it == gTimers.end()) return 0;
  StopTimer(it);
  return 1;
}

// ---- Backing images and device contexts

QImage& BackingImage(HWND wnd) {
  QWidget* w = wnd->widget.data();
  QSize size = w != nullptr ? w->size() : QSize(1, 1);
  if (size.isEmpty()) size = QSize(1, 1);
  if (wnd->backing.size() != size) {
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    if (!wnd->backing.isNull()) {
      QPainter p(&fresh);
      p.drawImage(0, 0, wnd->backing);
    }
    wnd->backing = fresh;
    wnd->backingValid = false;
  }
  return wnd->backing;
}

HDC GetDC(HWND hWnd) {
  if (hWnd == nullptr) return CreateScreenDC();
  if (!Valid(hWnd)) return nullptr;
  return CreateDeviceDC(&BackingImage(hWnd));
}

HDC GetWindowDC(HWND hWnd) { return GetDC(hWnd); }

int ReleaseDC(HWND hWnd, HDC hDC) {
  if (hDC == nullptr) return 0;
  DeleteDeviceDC(hDC);
  // Show what was drawn; no WM_PAINT is needed for that.
  if (Valid(hWnd) && hWnd->widget) hWnd->widget->update();
  return 1;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) {
  if (!Valid(hWnd)) return nullptr;
  QImage& image = BackingImage(hWnd);
  QRegion region = hWnd->invalid.isEmpty() ? QRegion(image.rect()) : hWnd->invalid;
  hWnd->paintRegion = region;
  HDC dc = CreateDeviceDC(&image);
  if (dc != nullptr) {
    dc->state.hasClip = true;
    dc->state.clip = region;
    dc->ApplyGeometry();
  }
  if (lpPaint != nullptr) {
    QRect r = region.boundingRect();
    lpPaint->hdc = dc;
    lpPaint->fErase = hWnd->erase ? 1 : 0;
    lpPaint->rcPaint = TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
  }
  hWnd->invalid = QRegion();
  hWnd->erase = false;
  return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (lpPaint != nullptr && lpPaint->hdc != nullptr) DeleteDeviceDC(lpPaint->hdc);
  if (Valid(hWnd)) hWnd->paintRegion = QRegion();
  return 1;
}

void PaintWindow(HWND wnd, const QRegion& exposed) {
  if (!Valid(wnd) || wnd->widget.isNull()) return;
  QWidget* w = wnd->widget.data();
  if (!wnd->layered.isNull()) {
    QPainter p(w);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : exposed) p.drawImage(r, wnd->layered, r);
    return;
  }
  QImage& image = BackingImage(wnd);
  if (!wnd->backingValid) {
    wnd->invalid = QRegion(image.rect());
    wnd->erase = true;
    wnd->backingValid = true;
  }
  if (!wnd->invalid.isEmpty()) {
    DeliverMessage(wnd, WM_PAINT, 0, 0);
    if (!Valid(wnd)) return;
    wnd->invalid = QRegion();  // a handler that did not paint validates nothing, but leaves nothing pending
  }
  QPainter p(w);
  if (wnd->colorKeyed) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : exposed) p.drawImage(r, KeyedImage(wnd->backing.copy(r), wnd->colorKey));
    return;
  }
  for (const QRect& r : exposed) p.drawImage(r, wnd->backing, r);
}

// ---- Invalidation

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  if (!Valid(hWnd)) return 0;
  QWidget* w = hWnd->widget.data();
  if (w == nullptr) return 1;
  QRect r = lpRect != nullptr ? QRect(lpRect->Left, lpRect->Top, lpRect->Width(), lpRect->Height()) : w->rect();
  r = r.intersected(w->rect());
  if (r.isEmpty()) return 1;
  hWnd->invalid += r;
  if (bErase) hWnd->erase = true;
  w->update(r);
  return 1;
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
  if (!Valid(hWnd)) return 0;
  if (lpRect == nullptr) hWnd->invalid = QRegion();
  else hWnd->invalid -= QRect(lpRect->Left, lpRect->Top, lpRect->Width(), lpRect->Height());
  return 1;
}

BOOL UpdateWindow(HWND hWnd) {
  if (!Valid(hWnd)) return 0;
  QWidget* w = hWnd->widget.data();
  if (w != nullptr && !hWnd->invalid.isEmpty() && w->isVisible()) w->repaint(hWnd->invalid);
  return 1;
}

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN, UINT flags) {
  if (!Valid(hWnd)) return 0;
  if (flags & RDW_INVALIDATE) InvalidateRect(hWnd, lprcUpdate, (flags & RDW_ERASE) ? 1 : 0);
  if (flags & RDW_VALIDATE) ValidateRect(hWnd, lprcUpdate);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hWnd);
  return 1;
}

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   RECT* prcUpdate, UINT flags) {
  if (!Valid(hWnd)) return ERROR;
  QWidget* w = hWnd->widget.data();
  if (w == nullptr) return ERROR;
  auto toQRect = [](const RECT* r) { return QRect(r->Left, r->Top, r->Right - r->Left, r->Bottom - r->Top); };
  QRect area = (prcScroll != nullptr ? toQRect(prcScroll) : w->rect()) & w->rect();
  if (prcClip != nullptr) area &= toQRect(prcClip);
  // What stays in view moves; the rest of the area is uncovered.
  const QRect kept = area.translated(dx, dy) & area;
  QRegion uncovered = QRegion(area) - kept;
  if (!area.isEmpty() && (dx != 0 || dy != 0)) {
    if (hWnd->backingValid && hWnd->layered.isNull() && !kept.isEmpty()) {
      QImage& image = BackingImage(hWnd);
      const qsizetype stride = image.bytesPerLine();
      const int bytes = kept.width() * 4;
      uchar* bits = image.bits();
      // Rows are copied in the order that never overwrites a row still to be read.
      for (int i = 0; i < kept.height(); ++i) {
        const int y = dy > 0 ? kept.bottom() - i : kept.top() + i;
        std::memmove(bits + y * stride + kept.left() * 4, bits + (y - dy) * stride + (kept.left() - dx) * 4,
                     static_cast<size_t>(bytes));
      }
      // What was still to be painted moves with the pixels.
      const QRegion pending = hWnd->invalid & area;
      hWnd->invalid = (hWnd->invalid - area) + (pending.translated(dx, dy) & area);
    } else {
      uncovered = area;  // nothing trustworthy to move: the whole area is drawn again
    }
    if (flags & SW_INVALIDATE) {
      hWnd->invalid += uncovered;
      if (flags & SW_ERASE) hWnd->erase = true;
    }
    w->update(area);
  } else {
    uncovered = QRegion();
  }
  const QRect bounds = uncovered.boundingRect();
  if (prcUpdate != nullptr)
    *prcUpdate = bounds.isEmpty() ? TRect(0, 0, 0, 0) : TRect(bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1);
  if (hrgnUpdate != nullptr) {
    if (bounds.isEmpty()) SetRectRgn(hrgnUpdate, 0, 0, 0, 0);
    else SetRectRgn(hrgnUpdate, bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1);
  }
  return uncovered.isEmpty() ? NULLREGION : SIMPLEREGION;
}

// ---- Geometry

BOOL GetClientRect(HWND hWnd, RECT* lpRect) {
  QWidget* w = WindowWidget(hWnd);
  if (w == nullptr || lpRect == nullptr) return 0;
  *lpRect = TRect(0, 0, w->width(), w->height());
  return 1;
}

BOOL GetWindowRect(HWND hWnd, RECT* lpRect) {
  QWidget* w = WindowTopWidget(hWnd);
  if (w == nullptr || lpRect == nullptr) return 0;
  QPoint tl = w->mapToGlobal(QPoint(0, 0));
  *lpRect = Bounds(tl.x(), tl.y(), w->width(), w->height());
  return 1;
}

BOOL ClientToScreen(HWND hWnd, POINT* lpPoint) {
  QWidget* w = WindowWidget(hWnd);
  if (w == nullptr || lpPoint == nullptr) return 0;
  QPoint p = w->mapToGlobal(QPoint(lpPoint->X, lpPoint->Y));
  *lpPoint = TPoint(p.x(), p.y());
  return 1;
}

BOOL ScreenToClient(HWND hWnd, POINT* lpPoint) {
  QWidget* w = WindowWidget(hWnd);
  if (w == nullptr || lpPoint == nullptr) return 0;
  QPoint p = w->mapFromGlobal(QPoint(lpPoint->X, lpPoint->Y));
  *lpPoint = TPoint(p.x(), p.y());
  return 1;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, POINT* lpPoints, UINT cPoints) {
  QPoint from(0, 0), to(0, 0);
  if (QWidget* w = WindowWidget(hWndFrom)) from = w->mapToGlobal(QPoint(0, 0));
  if (QWidget* w = WindowWidget(hWndTo)) to = w->mapToGlobal(QPoint(0, 0));
  int dx = from.x() - to.x(), dy = from.y() - to.y();
  for (UINT i = 0; i < cPoints; ++i) {
    lpPoints[i].X += dx;
    lpPoints[i].Y += dy;
  }
  return static_cast<int>(MAKELPARAM(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND WindowFromPoint(POINT Point) {
  return WindowOfWidget(QApplication::widgetAt(QPoint(Point.X, Point.Y)));
}

HWND GetParent(HWND hWnd) {
  QWidget* w = WindowTopWidget(hWnd);
  if (w == nullptr) return nullptr;
  if (w->isWindow()) return WindowOfWidget(w->parentWidget());  // the owner window
  return WindowOfWidget(w->parentWidget());
}

BOOL IsWindow(HWND hWnd) { return Valid(hWnd) ? 1 : 0; }

BOOL IsWindowVisible(HWND hWnd) {
  QWidget* w = WindowWidget(hWnd);
  return w != nullptr && w->isVisible() ? 1 : 0;
}

BOOL IsWindowEnabled(HWND hWnd) {
  if (!Valid(hWnd)) return 0;
  QWidget* w = hWnd->widget.data();
  return w == nullptr || w->isEnabled() ? 1 : 0;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  QWidget* w = WindowTopWidget(hWnd);
  if (w == nullptr) return 0;
  BOOL wasDisabled = w->isEnabled() ? 0 : 1;
  w->setEnabled(bEnable != 0);
  return wasDisabled;
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
  QWidget* p = WindowWidget(hWndParent);
  QWidget* w = WindowWidget(hWnd);
  return p != nullptr && w != nullptr && p != w && p->isAncestorOf(w) ? 1 : 0;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  QWidget* w = WindowTopWidget(hWnd);
  if (w == nullptr) return 0;
  BOOL was = w->isVisible() ? 1 : 0;
  switch (nCmdShow) {
    case SW_HIDE: w->hide(); break;
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: w->showMinimized(); break;
    case SW_SHOWMAXIMIZED: w->showMaximized(); break;
    case SW_RESTORE: w->showNormal(); break;
    case SW_SHOWNOACTIVATE: case SW_SHOWNA:
      w->setAttribute(Qt::WA_ShowWithoutActivating, true);
      w->show();
      w->setAttribute(Qt::WA_ShowWithoutActivating, false);
      break;
    default: w->show(); break;
  }
  return was;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  QWidget* w = WindowTopWidget(hWnd);
  if (w == nullptr) return 0;
  if (!(uFlags & SWP_NOZORDER) && w->isWindow()) {
    if (hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
      bool top = hWndInsertAfter == HWND_TOPMOST;
      if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != top) {
        bool visible = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, top);
        if (visible) w->show();
      }
    }
  }
  if (!(uFlags & SWP_NOMOVE)) w->move(X, Y);
  if (!(uFlags & SWP_NOSIZE)) w->resize(cx, cy);
  if (!(uFlags & SWP_NOZORDER)) {
    if (hWndInsertAfter == HWND_BOTTOM) w->lower(); else if (hWndInsertAfter != HWND_NOTOPMOST) w->raise();
  }
  if (uFlags & SWP_SHOWWINDOW) {
    if (uFlags & SWP_NOACTIVATE) w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->show();
    if (uFlags & SWP_NOACTIVATE) w->setAttribute(Qt::WA_ShowWithoutActivating, false);
  }
  if (uFlags & SWP_HIDEWINDOW) w->hide();
  return 1;
}

// ---- Focus, activation, capture

HWND GetFocus() { return WindowOfWidget(QApplication::focusWidget()); }

HWND SetFocus(HWND hWnd) {
  HWND old = GetFocus();
  QWidget* w = WindowWidget(hWnd);
  if (w != nullptr) {
    if (QWidget* top = w->window(); top != nullptr && top->isVisible()) top->activateWindow();
    w->setFocus(Qt::OtherFocusReason);
  }
  return old;
}

HWND GetActiveWindow() { return WindowOfWidget(QApplication::activeWindow()); }

HWND SetActiveWindow(HWND hWnd) {
  HWND old = GetActiveWindow();
  if (QWidget* w = WindowWidget(hWnd)) w->window()->activateWindow();
  return old;
}

BOOL SetForegroundWindow(HWND hWnd) {
  QWidget* w = WindowWidget(hWnd);
  if (w == nullptr) return 0;
  w->window()->raise();
  w->window()->activateWindow();
  return 1;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

namespace {

HWND gCapture = nullptr;

void LoseCapture();

// The capture follows the window system's rules: a pop-up that opens (a drop-down list, a
// menu) takes the mouse, and a capture window that is hidden can hold it no longer. Either
// way the window that had the capture loses it and is told.
struct TCaptureWatch : QObject {
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (gCapture == nullptr || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    QWidget* holder = WindowWidget(gCapture);
    if (event->type() == QEvent::Show && w->windowType() == Qt::Popup && (holder == nullptr || !w->isAncestorOf(holder)))
      LoseCapture();
    else if (event->type() == QEvent::Hide && holder != nullptr && (w == holder || w->isAncestorOf(holder)))
      LoseCapture();
    return false;
  }
};

void WatchCapture() {
  static TCaptureWatch* watch = nullptr;
  if (watch != nullptr || qApp == nullptr) return;
  watch = new TCaptureWatch;
  watch->setParent(qApp);
  qApp->installEventFilter(watch);
}

// Ends the capture of the window holding it and sends it WM_CAPTURECHANGED (lParam: the new one).
void EndCapture(HWND next) {
  HWND old = gCapture;
  gCapture = nullptr;
  if (QWidget* w = WindowWidget(old); w != nullptr && QWidget::mouseGrabber() == w) w->releaseMouse();
  if (old != nullptr && Valid(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(next));
}

void LoseCapture() { EndCapture(nullptr); }

}  // namespace

HWND GetCapture() {
  if (gCapture != nullptr && !Valid(gCapture)) gCapture = nullptr;
  if (gCapture != nullptr) return gCapture;
  // Qt's implicit grab while a button is held counts as capture too.
  return WindowOfWidget(QWidget::mouseGrabber());
}

HWND SetCapture(HWND hWnd) {
  HWND old = GetCapture();
  WatchCapture();
  if (gCapture != nullptr && gCapture != hWnd) EndCapture(hWnd);
  else if (gCapture == nullptr && old != nullptr && old != hWnd)
    SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  // One capture at a time, kept until released: a window that is not showing cannot take it.
  QWidget* w = WindowWidget(hWnd);
  if (w == nullptr || !w->isVisible()) return old;
  gCapture = hWnd;
  if (QWidget::mouseGrabber() != w) w->grabMouse();
  return old;
}

BOOL ReleaseCapture() {
  EndCapture(nullptr);
  return 1;
}

// ---- Caret

namespace {

// A line edit draws its text cursor as wide as its style says; this style says 0.
class TNoCaretStyle : public QProxyStyle {
public:
  TNoCaretStyle() : QProxyStyle(QApplication::style()->name()) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TextCursorWidth) return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

const char* const kCaretHidden = "caretHidden";

QWidget* TextFieldOf(HWND wnd) {
  QWidget* w = WindowWidget(wnd);
  if (w == nullptr) return nullptr;
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w)) return w;
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
  if (qobject_cast<QAbstractSpinBox*>(w)) return w->findChild<QLineEdit*>();
  return nullptr;
}

BOOL SetCaretShown(HWND hWnd, bool shown) {
  QWidget* field = TextFieldOf(hWnd);
  if (field == nullptr) return 0;
  if (field->property(kCaretHidden).toBool() == !shown) return 1;
  auto* plain = qobject_cast<QPlainTextEdit*>(field);
  auto* rich = qobject_cast<QTextEdit*>(field);
  // A line edit with a style of its own is left alone: its style cannot be swapped safely.
  if (plain == nullptr && rich == nullptr && !shown && field->testAttribute(Qt::WA_SetStyle)) return 0;
  field->setProperty(kCaretHidden, !shown);
  if (plain != nullptr) {
    plain->setCursorWidth(shown ? 1 : 0);
  } else if (rich != nullptr) {
    rich->setCursorWidth(shown ? 1 : 0);
  } else if (!shown) {
    auto* style = new TNoCaretStyle;
    style->setParent(field);
    field->setStyle(style);
  } else {
    QStyle* own = field->style();
    field->setStyle(nullptr);
    if (dynamic_cast<TNoCaretStyle*>(own) != nullptr) delete own;
  }
  field->update();
  return 1;
}

}  // namespace

BOOL HideCaret(HWND hWnd) { return SetCaretShown(hWnd, false); }
BOOL ShowCaret(HWND hWnd) { return SetCaretShown(hWnd, true); }

// ---- Cursor, keys, sound

namespace {
// Where simulated input last put the pointer (none until it did).
std::optional<QPoint> gInputPointer;
}  // namespace

void NoteInputPointer(int X, int Y) { gInputPointer = QPoint(X, Y); }

BOOL GetCursorPos(POINT* lpPoint) {
  if (lpPoint == nullptr) return 0;
  QPoint p = gInputPointer ? *gInputPointer : QCursor::pos();
  *lpPoint = TPoint(p.x(), p.y());
  return 1;
}

BOOL SetCursorPos(int X, int Y) {
  QCursor::setPos(X, Y);
  if (gInputPointer) gInputPointer = QPoint(X, Y);
  return 1;
}

HCURSOR SetCursor(HCURSOR hCursor) {
  // Cursors are set per control (TControl::Cursor, Screen->Cursor); a raw handle only answers.
  static HCURSOR current = nullptr;
  HCURSOR old = current;
  current = hCursor;
  return old;
}

void NoteInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  gModifiers = modifiers;
  gButtons = buttons;
}

void NoteKeyState(int vk, bool down) {
  if (down) gKeysDown.insert(vk); else gKeysDown.erase(vk);
}

SHORT GetKeyState(int nVirtKey) {
  Qt::KeyboardModifiers mods = gModifiers | QGuiApplication::keyboardModifiers();
  Qt::MouseButtons buttons = gButtons | QGuiApplication::mouseButtons();
  bool down = gKeysDown.count(nVirtKey) != 0;
  switch (nVirtKey) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: down = down || mods.testFlag(Qt::ShiftModifier); break;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: down = down || mods.testFlag(Qt::ControlModifier); break;
    case VK_MENU: case VK_LMENU: case VK_RMENU: down = down || mods.testFlag(Qt::AltModifier); break;
    case VK_LBUTTON: down = down || buttons.testFlag(Qt::LeftButton); break;
    case VK_RBUTTON: down = down || buttons.testFlag(Qt::RightButton); break;
    case VK_MBUTTON: down = down || buttons.testFlag(Qt::MiddleButton); break;
    default: break;
  }
  return static_cast<SHORT>(down ? 0x8000 : 0);
}

SHORT GetAsyncKeyState(int vKey) { return GetKeyState(vKey); }

BOOL MessageBeep(UINT) {
  QApplication::beep();
  return 1;
}

UINT GetDoubleClickTime() { return static_cast<UINT>(QGuiApplication::styleHints() ? QApplication::doubleClickInterval() : 500); }

DWORD GetMessageTime() {
  if (!gClock.isValid()) gClock.start();
  return static_cast<DWORD>(gClock.elapsed());
}

WORD VirtualKeyOf(int k, Qt::KeyboardModifiers modifiers) {
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<WORD>('A' + (k - Qt::Key_A));
  if (k >= Qt::Key_0 && k <= Qt::Key_9) {
    WORD base = modifiers.testFlag(Qt::KeypadModifier) ? VK_NUMPAD0 : WORD('0');
    return static_cast<WORD>(base + (k - Qt::Key_0));
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Asterisk: return modifiers.testFlag(Qt::KeypadModifier) ? VK_MULTIPLY : 0;
    case Qt::Key_Plus: return modifiers.testFlag(Qt::KeypadModifier) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return modifiers.testFlag(Qt::KeypadModifier) ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Period: return modifiers.testFlag(Qt::KeypadModifier) ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Slash: return modifiers.testFlag(Qt::KeypadModifier) ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Semicolon: return VK_OEM_1;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    default: return 0;
  }
}

int QtKeyOf(WORD vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return Qt::Key_0 + (vk - VK_NUMPAD0);
  if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + (vk - VK_F1);
  switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_CLEAR: return Qt::Key_Clear;
    case VK_RETURN: return Qt::Key_Return;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_PAUSE: return Qt::Key_Pause;
    case VK_CAPITAL: return Qt::Key_CapsLock;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SNAPSHOT: return Qt::Key_Print;
    case VK_HELP: return Qt::Key_Help;
    case VK_APPS: return Qt::Key_Menu;
    case VK_NUMLOCK: return Qt::Key_NumLock;
    case VK_SCROLL: return Qt::Key_ScrollLock;
    case VK_OEM_PLUS: return Qt::Key_Plus;
    case VK_OEM_MINUS: return Qt::Key_Minus;
    case VK_OEM_PERIOD: return Qt::Key_Period;
    case VK_OEM_COMMA: return Qt::Key_Comma;
    case VK_OEM_1: return Qt::Key_Semicolon;
    case VK_OEM_2: return Qt::Key_Slash;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_DECIMAL: return Qt::Key_Period;
    default: return 0;
  }
}

// ---- Message boxes

int MessageBox(HWND hWnd, const String& Text, const String& Caption, UINT uType) {
  QMessageBox box(WindowWidget(hWnd));
  box.setText(ToQString(Text));
  box.setWindowTitle(ToQString(Caption));
  switch (uType & 0xF0) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  struct B { QMessageBox::StandardButton qt; int id; };
  std::vector<B> buttons;
  switch (uType & 0x0F) {
    case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE: buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}}; break;
    case MB_YESNOCANCEL: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: buttons = {{QMessageBox::Ok, IDOK}}; break;
  }
  QMessageBox::StandardButtons set;
  for (const B& b : buttons) set |= b.qt;
  box.setStandardButtons(set);
  size_t def = (uType >> 8) & 0x0F;
  if (def < buttons.size()) box.setDefaultButton(buttons[def].qt);
  if (uType & (MB_TOPMOST | MB_SYSTEMMODAL)) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  int r = box.exec();
  for (const B& b : buttons)
    if (b.qt == r) return b.id;
  // Closed without a button: the cancel answer where there is one, else the only button.
  for (const B& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 ? buttons[0].id : IDCANCEL;
}
