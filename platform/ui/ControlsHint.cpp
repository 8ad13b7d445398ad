// THintWindow: a top-level pop-up window that shows without taking the focus.
#include <QEvent>
#include <QMouseEvent>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"

namespace {

// The hint window's widget: a painted window that reports its activation as WM_ACTIVATE.
class THintWidget : public TWinWidget {
public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) {
      if (TWinControl* c = TControlHost::ControlOf(this)) {
        WPARAM state = e->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE;
        GuardedCall([&] { c->Perform(WM_ACTIVATE, state, 0); });
      }
    }
    return TWinWidget::event(e);
  }
};

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  SetVisible(false);
  FControlStyle.Include(csAcceptsControls);
}

THintWindow::~THintWindow() { Destroying(); }

void THintWindow::CreateParams(TCreateParams& Params) {
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST;
}

void THintWindow::CreateWnd() {
  FParams = TCreateParams();
  CreateParams(FParams);
  auto* w = new THintWidget;
  Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint;
  if (FParams.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  w->setWindowFlags(flags);
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  TControlHost::Attach(this, w, true);
}

TRect THintWindow::ClientRect() const {
  int b = (FParams.Style & WS_BORDER) ? 1 : 0;
  return Rect(b, b, std::max(b, Width() - b), std::max(b, Height() - b));
}

void THintWindow::SetBorderWidth(int v) {
  FBorderWidth = std::max(0, v);
  Invalidate();
}

void THintWindow::SetVisible(bool v) {
  TCustomControl::SetVisible(v);
  if (v) HandleNeeded();
  QWidget* w = TControlHost::Widget(this);
  if (w == nullptr) return;
  if (v) {
    w->setGeometry(Left(), Top(), Width(), Height());
    w->show();
    w->raise();
  } else {
    w->hide();
  }
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetCaption(AHint);
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  SetVisible(true);
  Invalidate();
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
  TRect r = Rect(0, 0, std::max(1, MaxWidth), 0);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawText(dc, AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // Room for the frame and the text's left indent that Paint leaves.
  r.Right += 6 + 2 * FBorderWidth;
  r.Bottom += 2 + 2 * FBorderWidth;
  return r;
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, Width(), Height());
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  if (FParams.Style & WS_BORDER) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
  }
  String text = Caption();
  if (!text.empty()) {
    TRect t = ClientRect();
    t.Left += 2 + FBorderWidth;
    t.Top += FBorderWidth;
    c->Brush()->SetStyle(bsClear);
    DrawText(c->Handle(), text.c_str(), -1, &t, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  }
}

void THintWindow::WndProc(TMessage& Message) {
  // A resize corner answered by WM_NCHITTEST: a left-button drag from it sizes the window.
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
      TWMMouse m(Message);
      TPoint screen = ClientToScreen(m.Pos());
      if (Perform(WM_NCHITTEST, 0, MAKELPARAM(WORD(screen.X), WORD(screen.Y))) == HTBOTTOMRIGHT) {
        FSizing = true;
        FSizeFrom = screen;
        FSizeStart = TPoint(Width(), Height());
        SetMouseCapture(true);
        return;
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (FSizing) {
        TPoint screen = ClientToScreen(TWMMouse(Message).Pos());
        SetBounds(Left(), Top(), std::max(1, FSizeStart.X + screen.X - FSizeFrom.X),
                  std::max(1, FSizeStart.Y + screen.Y - FSizeFrom.Y));
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (FSizing) {
        FSizing = false;
        SetMouseCapture(false);
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}
