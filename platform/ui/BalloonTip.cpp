#include "platform/ui/BalloonTip.h"

#include <QMouseEvent>

#include <algorithm>

#include "platform/ui/Controls_p.h"

#include "platform/ui/MeasureCanvas.h"
#include "platform/ui/Timers.h"
#include "platform/win/Gdi.h"

namespace {
constexpr int Margin = 8;      // inside the box
constexpr int StemHeight = 12;  // the stem below the box's top edge
constexpr int IconSize = 16;
}  // namespace

TBalloonTip::TBalloonTip(TComponent* AOwner)
    : THintWindow(AOwner), FShowTimer(std::make_unique<TTimer>(nullptr)), FHideTimer(std::make_unique<TTimer>(nullptr)) {
  FShowTimer->SetEnabled(false);
  FHideTimer->SetEnabled(false);
  FShowTimer->OnTimer = [this](TObject*) {
    FShowTimer->SetEnabled(false);
    ShowNow();
  };
  FHideTimer->OnTimer = [this](TObject*) { Hide(); };
}

// Watches the tool control's widget for the balloon.
class TBalloonTip::TToolWatch : public QObject {
public:
  TToolWatch(TBalloonTip* Tip, TWinControl* Control) : FTip(Tip), FControl(Control), FWidget(TControlHost::Widget(Control)) {
    if (FWidget) FWidget->installEventFilter(this);
  }
  ~TToolWatch() override {
    if (FWidget) FWidget->removeEventFilter(this);
  }
  TWinControl* Control() const { return FControl; }

protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseMove: {
        const QPoint q = static_cast<QMouseEvent*>(e)->position().toPoint();
        const TPoint p(q.x(), q.y());
        if (FAsked && PtInRect(&FArea, p)) break;
        FTip->Hide();
        FAsked = true;
        FArea = TRect(p.X, p.Y, p.X + 1, p.Y + 1);
        bool show = false;
        GuardedCall([&] { show = FTip->OnNeedTip && FTip->OnNeedTip(p, FArea); });
        if (show) {
          const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
          FTip->Popup(TPoint(g.x(), g.y()));
        }
        break;
      }
      case QEvent::Leave: case QEvent::MouseButtonPress: case QEvent::KeyPress: case QEvent::Wheel:
      case QEvent::Hide:
        FAsked = false;
        FTip->Hide();
        break;
      default:
        break;
    }
    return false;
  }

private:
  TBalloonTip* FTip;
  TWinControl* FControl;
  QPointer<QWidget> FWidget;
  bool FAsked = false;
  TRect FArea;
};

TBalloonTip::~TBalloonTip() = default;

void TBalloonTip::SetTool(TWinControl* Control) {
  FToolWatch.reset();
  Hide();
  if (Control != nullptr) FToolWatch = std::make_unique<TToolWatch>(this, Control);
}

TWinControl* TBalloonTip::Tool() const { return FToolWatch ? FToolWatch->Control() : nullptr; }

void TBalloonTip::SetTitle(const String& Value) {
  FTitle = Value;
  Invalidate();
}
void TBalloonTip::SetTipText(const String& Value) {
  FText = Value;
  Invalidate();
}
void TBalloonTip::SetTipIcon(TBalloonTipIcon Value) {
  FIcon = Value;
  Invalidate();
}
void TBalloonTip::SetTipTextColor(TColor Value) {
  FTextColor = Value;
  Invalidate();
}
void TBalloonTip::SetTipBkColor(TColor Value) {
  FBkColor = Value;
  Invalidate();
}
void TBalloonTip::SetMaxTipWidth(int Value) { FMaxTipWidth = std::max(1, Value); }

TRect TBalloonTip::TextRect(int Width) {
  TMeasureCanvas measure(Canvas());
  TCanvas* c = measure.Canvas();
  c->Font()->Assign(Font());
  c->Font()->SetStyle(TFontStyles());
  RECT r = Rect(0, 0, Width, 0);
  DrawText(c->Handle(), FText.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return r;
}

TSize TBalloonTip::TipSize() {
  TMeasureCanvas measure(Canvas());
  TCanvas* c = measure.Canvas();
  int width = FMaxTipWidth, titleH = 0, titleW = 0;
  if (!FTitle.empty() || FIcon != btiNone) {
    c->Font()->Assign(Font());
    c->Font()->SetStyle(TFontStyles{fsBold});
    TSize t = c->TextExtent(FTitle);
    titleW = std::min(width, t.cx + (FIcon != btiNone ? IconSize + 6 : 0));
    titleH = std::max(t.cy, FIcon != btiNone ? IconSize : 0) + 4;
  }
  TRect tr = TextRect(width);
  int w = std::max(titleW, static_cast<int>(tr.Width())) + 2 * Margin;
  int h = titleH + tr.Height() + 2 * Margin + StemHeight;
  return TSize{w, h};
}

void TBalloonTip::Place() {
  TSize s = TipSize();
  // The stem's tip sits at the spot; the box hangs below it, its left edge 16 pixels left.
  SetBounds(FSpot.X - 16, FSpot.Y, s.cx, s.cy);
}

void TBalloonTip::Popup(TPoint Spot) {
  FSpot = Spot;
  FHideTimer->SetEnabled(false);
  int delay = FInitialDelay < 0 ? 500 : FInitialDelay;
  if (delay == 0) {
    ShowNow();
    return;
  }
  FShowTimer->SetInterval(delay);
  FShowTimer->SetEnabled(true);
}

void TBalloonTip::ShowNow() {
  Place();
  SetVisible(true);
  Invalidate();
  int hide = FAutoHideDelay < 0 ? 5000 : FAutoHideDelay;
  if (hide > 0) {
    FHideTimer->SetInterval(hide);
    FHideTimer->SetEnabled(true);
  }
}

void TBalloonTip::Hide() {
  FShowTimer->SetEnabled(false);
  FHideTimer->SetEnabled(false);
  SetVisible(false);
}

void TBalloonTip::Paint() {
  TCanvas* c = Canvas();
  TRect cr = ClientRect();
  TColor bk = FBkColor == clNone ? clInfoBk : FBkColor;
  TColor fg = FTextColor == clNone ? clInfoText : FTextColor;
  // Box and stem.
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(bk);
  c->Pen()->SetColor(fg);
  c->RoundRect(cr.Left, cr.Top + StemHeight, cr.Right, cr.Bottom, 10, 10);
  c->Polygon({TPoint(16, 0), TPoint(16, StemHeight + 1), TPoint(32, StemHeight + 1)});
  c->Pen()->SetColor(bk);
  c->MoveTo(17, StemHeight);
  c->LineTo(31, StemHeight);
  int y = cr.Top + StemHeight + Margin, x = cr.Left + Margin;
  c->Brush()->SetStyle(bsClear);
  if (!FTitle.empty() || FIcon != btiNone) {
    int tx = x;
    if (FIcon != btiNone) {
      static const TColor colors[] = {clNone, TColor(0xC07020), TColor(0x00B0F0), TColor(0x2020D0)};
      static const char16_t* marks[] = {u"", u"i", u"!", u"x"};
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(colors[FIcon]);
      c->Pen()->SetColor(colors[FIcon]);
      c->Ellipse(x, y, x + IconSize, y + IconSize);
      c->Font()->Assign(Font());
      c->Font()->SetStyle(TFontStyles{fsBold});
      c->Font()->SetColor(clWhite);
      c->Brush()->SetStyle(bsClear);
      TSize m = c->TextExtent(marks[FIcon]);
      c->TextOut(x + (IconSize - m.cx) / 2, y + (IconSize - m.cy) / 2, marks[FIcon]);
      tx += IconSize + 6;
    }
    c->Font()->Assign(Font());
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->Font()->SetColor(fg);
    TSize t = c->TextExtent(FTitle);
    c->TextOut(tx, y, FTitle);
    y += std::max(t.cy, FIcon != btiNone ? IconSize : 0) + 4;
  }
  c->Font()->Assign(Font());
  c->Font()->SetColor(fg);
  RECT r = Rect(x, y, cr.Right - Margin, cr.Bottom - Margin);
  DrawText(c->Handle(), FText.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
}
