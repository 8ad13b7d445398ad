// Scrolling windows: two native scroll bars over a painted window whose children scroll.
#include <QEvent>
#include <QScrollBar>
#include <algorithm>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Gdi.h"

namespace {

QScrollBar* BarWidget(const TScrollingWinControl* c, TScrollBarKind kind) {
  QWidget* w = TControlHost::Widget(c);
  if (w == nullptr) return nullptr;
  return w->findChild<QScrollBar*>(kind == sbHorizontal ? QStringLiteral("hscroll") : QStringLiteral("vscroll"),
                                   Qt::FindDirectChildrenOnly);
}

// Follows the children of a scrolling window: a child window moved or sized, added or
// removed, updates the ranges.
struct TScrollWatch : QObject {
  explicit TScrollWatch(TScrollingWinControl* c) : control(c) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ChildAdded:
      case QEvent::ChildRemoved:
        if (watched == TControlHost::Widget(control))
          if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
              child != nullptr && qobject_cast<QScrollBar*>(child) == nullptr) {
            if (event->type() == QEvent::ChildAdded) child->installEventFilter(this);
            Later();
          }
        break;
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::ShowToParent:
      case QEvent::HideToParent:
        if (watched != TControlHost::Widget(control)) Later();
        break;
      default: break;
    }
    return false;
  }
  void Later() {
    if (pending) return;
    pending = true;
    QMetaObject::invokeMethod(this, [this] {
      pending = false;
      GuardedCall([this] { control->UpdateScrollBars(); });
    }, Qt::QueuedConnection);
  }
  TScrollingWinControl* control;
  bool pending = false;
};

}  // namespace

// ---- TControlScrollBar

void TControlScrollBar::SetIncrement(int v) {
  FIncrement = std::max(1, v);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int v) {
  FMargin = std::max(0, v);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int v) {
  const TRect client = FControl->ClientRect();
  const int extent = FKind == sbHorizontal ? client.Width() : client.Height();
  v = std::clamp(v, 0, std::max(0, FRange - extent));
  if (v == FPosition) return;
  const int delta = FPosition - v;
  FPosition = v;
  if (FKind == sbHorizontal) FControl->ScrollContent(delta, 0);
  else FControl->ScrollContent(0, delta);
  if (QScrollBar* bar = BarWidget(FControl, FKind)) {
    QSignalBlocker block(bar);
    bar->setValue(v);
  }
}

void TControlScrollBar::SetRange(int v) {
  FControl->FAutoScroll = false;
  FRange = std::max(0, v);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v) {
  FVisible = v;
  FControl->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const { return FShown; }

int TControlScrollBar::Size() const { return GetSystemMetrics(FKind == sbHorizontal ? SM_CYHSCROLL : SM_CXVSCROLL); }

void TControlScrollBar::Assign(const TControlScrollBar& Source) {
  FIncrement = Source.FIncrement;
  FMargin = Source.FMargin;
  FTracking = Source.FTracking;
  FVisible = Source.FVisible;
  if (!FControl->FAutoScroll) FRange = Source.FRange;
  FControl->UpdateScrollBars();
  SetPosition(Source.FPosition);
}

// ---- TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), FHorzScrollBar(this, sbHorizontal), FVertScrollBar(this, sbVertical) {
  FControlStyle.Include(csAcceptsControls);
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  QWidget* w = TControlHost::Widget(this);
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    auto* bar = new QScrollBar(kind == sbHorizontal ? Qt::Horizontal : Qt::Vertical, w);
    bar->setObjectName(kind == sbHorizontal ? QStringLiteral("hscroll") : QStringLiteral("vscroll"));
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setTracking(true);
    bar->hide();
    const UINT msg = kind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL;
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar, msg](int action) {
      WORD code = SB_ENDSCROLL;
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
        default: return;
      }
      const int pos = bar->sliderPosition();
      GuardedCall([&] { Perform(msg, MAKELPARAM(code, WORD(pos)), 0); });
      // The bar shows where the window went (a handler may have scrolled elsewhere or not at all).
      TControlScrollBar& b = msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar;
      if (code != SB_THUMBTRACK) bar->setSliderPosition(b.FPosition);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar, msg] {
      const int pos = bar->sliderPosition();
      GuardedCall([&] {
        Perform(msg, MAKELPARAM(SB_THUMBPOSITION, WORD(pos)), 0);
        Perform(msg, MAKELPARAM(SB_ENDSCROLL, 0), 0);
      });
      TControlScrollBar& b = msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar;
      QSignalBlocker block(bar);
      bar->setValue(b.FPosition);
    });
  }
  auto* watch = new TScrollWatch(this);
  watch->setParent(w);
  w->installEventFilter(watch);
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (v == FAutoScroll) return;
  FAutoScroll = v;
  UpdateScrollBars();
}

TRect TScrollingWinControl::ClientRect() const {
  TRect r = TWinControl::ClientRect();
  if (FVertScrollBar.FShown) r.Right = std::max(r.Left, r.Right - FVertScrollBar.Size());
  if (FHorzScrollBar.FShown) r.Bottom = std::max(r.Top, r.Bottom - FHorzScrollBar.Size());
  return r;
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdating || IsDestroying()) return;
  FUpdating = true;
  if (FAutoScroll) {
    // The content's extent: the farthest edge of a child, as scrolled back to position 0.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible()) continue;
      const TAlign a = c->Align();
      if (a == alNone || a == alLeft || a == alRight) right = std::max(right, c->Left() + c->Width() + FHorzScrollBar.FPosition);
      if (a == alNone || a == alTop || a == alBottom) bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar.FPosition);
    }
    FHorzScrollBar.FRange = right > 0 ? right + FHorzScrollBar.FMargin : 0;
    FVertScrollBar.FRange = bottom > 0 ? bottom + FVertScrollBar.FMargin : 0;
  }
  // A bar shows when the content exceeds the room the other bar leaves.
  const int w = Width(), h = Height();
  bool vert = FVertScrollBar.FVisible && FVertScrollBar.FRange > h;
  const bool horz = FHorzScrollBar.FVisible && FHorzScrollBar.FRange > w - (vert ? FVertScrollBar.Size() : 0);
  vert = FVertScrollBar.FVisible && FVertScrollBar.FRange > h - (horz ? FHorzScrollBar.Size() : 0);
  const bool changed = vert != FVertScrollBar.FShown || horz != FHorzScrollBar.FShown;
  FVertScrollBar.FShown = vert;
  FHorzScrollBar.FShown = horz;
  PlaceBars();
  // Positions stay within the new ranges (a bar that goes scrolls its content back).
  for (TControlScrollBar* b : {&FHorzScrollBar, &FVertScrollBar}) b->SetPosition(b->FShown ? b->FPosition : 0);
  FUpdating = false;
  if (changed) Realign();
}

void TScrollingWinControl::PlaceBars() {
  const TRect client = ClientRect();
  for (TControlScrollBar* b : {&FHorzScrollBar, &FVertScrollBar}) {
    QScrollBar* bar = BarWidget(this, b->FKind);
    if (bar == nullptr) continue;
    const bool horz = b->FKind == sbHorizontal;
    const int extent = horz ? client.Width() : client.Height();
    QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, b->FRange - extent));
    bar->setPageStep(std::max(1, extent));
    bar->setSingleStep(b->FIncrement);
    bar->setValue(b->FPosition);
    if (horz) bar->setGeometry(0, client.Bottom, client.Width(), b->Size());
    else bar->setGeometry(client.Right, 0, b->Size(), client.Height());
    bar->setVisible(b->FShown);
    bar->raise();
  }
}

void TScrollingWinControl::ScrollContent(int Dx, int Dy) {
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + Dx, c->Top() + Dy, c->Width(), c->Height());
  }
  EnableAlign();
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (AControl == nullptr || !ContainsControl(AControl) || AControl == this) return;
  TRect r = AControl->BoundsRect();
  for (TControl* p = AControl->Parent(); p != nullptr && p != this; p = p->Parent())
    r = Bounds(r.Left + p->Left(), r.Top + p->Top(), r.Width(), r.Height());
  const TRect client = ClientRect();
  auto bring = [](TControlScrollBar& bar, int lo, int hi, int extent) {
    lo -= bar.Margin();
    hi += bar.Margin();
    if (lo < 0) bar.SetPosition(bar.Position() + lo);
    else if (hi > extent) bar.SetPosition(bar.Position() + std::min(lo, hi - extent));
  };
  bring(FHorzScrollBar, r.Left, r.Right, client.Width());
  bring(FVertScrollBar, r.Top, r.Bottom, client.Height());
}

int TScrollingWinControl::TrackPos(TScrollBarKind Kind) const {
  QScrollBar* bar = BarWidget(this, Kind);
  const TControlScrollBar& b = Kind == sbHorizontal ? FHorzScrollBar : FVertScrollBar;
  return bar != nullptr ? bar->sliderPosition() : b.FPosition;
}

void TScrollingWinControl::ScrollMessage(TControlScrollBar& Bar, TWMScroll& Message) {
  const TRect client = ClientRect();
  const int page = Bar.FKind == sbHorizontal ? client.Width() : client.Height();
  switch (Message.ScrollCode()) {
    case SB_LINEUP: Bar.SetPosition(Bar.FPosition - Bar.FIncrement); break;
    case SB_LINEDOWN: Bar.SetPosition(Bar.FPosition + Bar.FIncrement); break;
    case SB_PAGEUP: Bar.SetPosition(Bar.FPosition - page); break;
    case SB_PAGEDOWN: Bar.SetPosition(Bar.FPosition + page); break;
    case SB_THUMBPOSITION: Bar.SetPosition(TrackPos(Bar.FKind)); break;
    case SB_THUMBTRACK:
      if (Bar.FTracking) Bar.SetPosition(TrackPos(Bar.FKind));
      break;
    case SB_TOP: Bar.SetPosition(0); break;
    case SB_BOTTOM: Bar.SetPosition(Bar.FRange); break;
    default: break;
  }
}

void TScrollingWinControl::WMPaint(TWMPaint& Message) {
  TWinControl::WMPaint(Message);
  if (QWidget* w = TControlHost::Widget(this))
    if (auto* watch = w->findChild<TScrollWatch*>(QString(), Qt::FindDirectChildrenOnly)) watch->Later();
}

void TScrollingWinControl::WMHScroll(TWMScroll& Message) { ScrollMessage(FHorzScrollBar, Message); }

void TScrollingWinControl::WMVScroll(TWMScroll& Message) { ScrollMessage(FVertScrollBar, Message); }

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL: { TWMScroll m(Message); WMHScroll(m); break; }
    case WM_VSCROLL: { TWMScroll m(Message); WMVScroll(m); break; }
    default: TWinControl::Dispatch(Message); break;
  }
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) { SetBounds(Left(), Top(), 185, 41); }
