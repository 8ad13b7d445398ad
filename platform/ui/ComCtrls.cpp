// Page control, status bar, tool bar, track bar and progress bar.
#include "platform/ui/ComCtrls.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList_p.h"
#include "platform/ui/StdCtrls_p.h"

// ---------------------------------------------------------------------------
// Page control

namespace {

// The page control's window: a tab bar and the frame around the pages. The tab bar never
// switches by itself; every pick goes to the control, which decides.
class PageWidget : public QWidget {
public:
  PageWidget() {
    bar = new QTabBar(this);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setDrawBase(false);
    bar->setUsesScrollButtons(true);
    bar->installEventFilter(this);
  }
  QTabBar* bar;
  QRect frame;
  std::function<void(int)> onPick;  // a tab was clicked
  std::function<void(int)> onStep;  // an arrow key: -1 back, +1 forward

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != bar) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && onPick) {
          int i = bar->tabAt(me->position().toPoint());
          if (i >= 0) onPick(i);
        }
        return true;
      }
      case QEvent::MouseButtonRelease:
      case QEvent::Wheel:
      case QEvent::KeyPress:
        return true;
      default:
        return false;
    }
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (onStep && (e->key() == Qt::Key_Left || e->key() == Qt::Key_Up)) return onStep(-1);
    if (onStep && (e->key() == Qt::Key_Right || e->key() == Qt::Key_Down)) return onStep(1);
    QWidget::keyPressEvent(e);
  }
  void paintEvent(QPaintEvent*) override {
    QStylePainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = frame;
    opt.shape = bar->shape();
    opt.tabBarSize = bar->isVisible() ? bar->size() : QSize();
    p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
  }
};

QTabBar::Shape ShapeOf(TTabPosition pos) {
  switch (pos) {
    case tpBottom: return QTabBar::RoundedSouth;
    case tpLeft: return QTabBar::RoundedWest;
    case tpRight: return QTabBar::RoundedEast;
    case tpTop: break;
  }
  return QTabBar::RoundedNorth;
}

constexpr int kPageMargin = 2;

}  // namespace

struct TPageView {
  static PageWidget* Of(const TPageControl* c) { return dynamic_cast<PageWidget*>(TControlHost::Widget(c)); }
};

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v) { SetParent(v); }

void TTabSheet::SetParent(TWinControl* AParent) {
  if (FPageControl && FPageControl != AParent) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
  if (auto* pc = dynamic_cast<TPageControl*>(AParent); pc && FPageControl != pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  v = std::clamp(v, 0, int(pages.size()) - 1);
  pages.erase(pages.begin() + PageIndex());
  pages.insert(pages.begin() + v, this);
  FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  if (!FPageControl) return;
  // The active page losing its tab hands over to the next page that has one.
  if (!v && FPageControl->FActivePage == this) {
    TTabSheet* next = FPageControl->FindNextPage(this, true, true);
    if (next && next != this) FPageControl->SetActivePage(next);
  }
  FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetImageIndex(int v) {
  FImageIndex = v;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::CMTextChanged(TMessage& Message) {
  TWinControl::CMTextChanged(Message);
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  if (FPageControl) FPageControl->UpdateTabs();
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  if (FImages) FImages->UnRegisterChanges(this);
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TPageControl::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS); }

void TPageControl::CreateWnd() {
  auto* w = new PageWidget;
  TControlHost::Attach(this, w, false);
  w->onPick = [this](int tab) {
    int n = 0;
    for (TTabSheet* p : FPages)
      if (p->FTabVisible && n++ == tab) {
        GuardedCall([this, p] { UserSelect(p); });
        return;
      }
  };
  w->onStep = [this](int step) { GuardedCall([this, step] { SelectNextPage(step > 0, true); }); };
  UpdateTabs();
  LayoutPages();
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(u"List index out of bounds");
  return FPages[size_t(Index)];
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Index) {
  SetActivePage(Index >= 0 && Index < PageCount() ? FPages[size_t(Index)] : nullptr);
}

int TPageControl::TabCount() const {
  return int(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->FTabVisible; }));
}

int TPageControl::TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::InsertPage(TTabSheet* Page) {
  Page->FPageControl = this;
  FPages.push_back(Page);
  Page->FreeNotification(this);
  if (!FActivePage) SetActivePage(Page);
  else Page->SetVisible(false);
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  TTabSheet* next = nullptr;
  if (FActivePage == Page) {
    next = FindNextPage(Page, true, true);
    if (!next || next == Page) next = FindNextPage(Page, true, false);
  }
  FPages.erase(it);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    SetActivePage(next != Page ? next : nullptr);
  }
  UpdateTabs();
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    UpdateTabs();
  }
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  if (Page == FActivePage) return;
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (Page) {
    Page->SetBoundsRect(DisplayRect());
    Page->SetVisible(true);
    Page->BringToFront();
    if (Page->OnShow) Page->OnShow(Page);
  }
  if (old) {
    old->SetVisible(false);
    if (old->OnHide) old->OnHide(old);
  }
  UpdateTabs();
}

void TPageControl::UserSelect(TTabSheet* Page) {
  if (!Page || Page == FActivePage) return;
  if (!CanChange()) {
    UpdateTabs();
    return;
  }
  SetActivePage(Page);
  Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), CurPage);
  int start = it == FPages.end() ? (GoForward ? count - 1 : 0) : int(it - FPages.begin());
  int i = start;
  do {
    if (GoForward) i = (i + 1) % count;
    else i = (i + count - 1) % count;
    TTabSheet* p = FPages[size_t(i)];
    if (!CheckTabVisible || p->FTabVisible) return p;
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* p = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (p && p != FActivePage) UserSelect(p);
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::SetTabPosition(TTabPosition v) {
  FTabPosition = v;
  UpdateTabs();
}

void TPageControl::SetImages(TCustomImageList* v) {
  if (FImages) FImages->UnRegisterChanges(this);
  FImages = v;
  if (v) {
    v->FreeNotification(this);
    v->RegisterChanges(this, [this] { UpdateTabs(); });
  }
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  PageWidget* w = TPageView::Of(this);
  if (!w) return;
  QTabBar* bar = w->bar;
  QSignalBlocker block(bar);
  bar->setShape(ShapeOf(FTabPosition));
  while (bar->count() > 0) bar->removeTab(0);
  for (TTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    QIcon icon;
    QImage img = TImageListAccess::Image(FImages, p->FImageIndex);
    if (!img.isNull()) icon = QIcon(QPixmap::fromImage(img));
    int i = bar->addTab(icon, ToQString(p->Caption()));
    bar->setTabEnabled(i, p->Enabled());
  }
  if (FImages) bar->setIconSize(QSize(FImages->Width(), FImages->Height()));
  int current = TabIndex();
  if (current >= 0) bar->setCurrentIndex(current);
  bar->setVisible(bar->count() > 0);
  LayoutPages();
}

void TPageControl::LayoutPages() {
  PageWidget* w = TPageView::Of(this);
  if (w) {
    const int W = Width(), H = Height();
    QTabBar* bar = w->bar;
    QSize hint = bar->isVisibleTo(w) ? bar->sizeHint() : QSize(0, 0);
    switch (FTabPosition) {
      case tpTop:
        bar->setGeometry(kPageMargin, 0, std::min(W - 2 * kPageMargin, hint.width()), hint.height());
        w->frame = QRect(0, hint.height(), W, H - hint.height());
        break;
      case tpBottom:
        bar->setGeometry(kPageMargin, H - hint.height(), std::min(W - 2 * kPageMargin, hint.width()), hint.height());
        w->frame = QRect(0, 0, W, H - hint.height());
        break;
      case tpLeft:
        bar->setGeometry(0, kPageMargin, hint.width(), std::min(H - 2 * kPageMargin, hint.height()));
        w->frame = QRect(hint.width(), 0, W - hint.width(), H);
        break;
      case tpRight:
        bar->setGeometry(W - hint.width(), kPageMargin, hint.width(), std::min(H - 2 * kPageMargin, hint.height()));
        w->frame = QRect(0, 0, W - hint.width(), H);
        break;
    }
    w->update();
  }
  if (FActivePage) FActivePage->SetBoundsRect(DisplayRect());
}

TRect TPageControl::DisplayRect() const {
  QRect f;
  if (PageWidget* w = TPageView::Of(this)) f = w->frame;
  if (f.isNull()) {
    // No window yet: a tab row of a typical height.
    const int tab = TabCount() > 0 ? 20 : 0;
    f = FTabPosition == tpTop ? QRect(0, tab, Width(), Height() - tab)
        : FTabPosition == tpBottom ? QRect(0, 0, Width(), Height() - tab)
        : FTabPosition == tpLeft ? QRect(tab, 0, Width() - tab, Height())
        : QRect(0, 0, Width() - tab, Height());
  }
  f = f.adjusted(kPageMargin, kPageMargin, -kPageMargin, -kPageMargin);
  return TRect(f.left(), f.top(), std::max(f.left(), f.right() + 1), std::max(f.top(), f.bottom() + 1));
}

void TPageControl::AdjustClientRect(TRect& Rect) { Rect = DisplayRect(); }

void TPageControl::Resize() {
  LayoutPages();
  TWinControl::Resize();
}

// ---------------------------------------------------------------------------
// Status bar

void TStatusPanel::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TStatusPanel*>(Source)) {
    FText = p->FText;
    FWidth = p->FWidth;
    FAlignment = p->FAlignment;
    FBevel = p->FBevel;
    FStyle = p->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TStatusPanel::Changed() {
  if (FOwner) FOwner->Changed();
}

void TStatusPanel::SetText(const String& v) {
  if (v == FText) return;
  FText = v;
  Changed();
}
void TStatusPanel::SetWidth(int v) { FWidth = std::max(0, v); Changed(); }
void TStatusPanel::SetAlignment(TAlignment v) { FAlignment = v; Changed(); }
void TStatusPanel::SetBevel(TStatusPanelBevel v) { FBevel = v; Changed(); }
void TStatusPanel::SetStyle(TStatusPanelStyle v) { FStyle = v; Changed(); }

int TStatusPanel::Index() const {
  if (!FOwner) return -1;
  for (int i = 0; i < FOwner->Count(); ++i)
    if (FOwner->Items(i) == this) return i;
  return -1;
}

TStatusPanels::TStatusPanels(TStatusBar* AStatusBar) : FStatusBar(AStatusBar) {}
TStatusPanels::~TStatusPanels() = default;

void TStatusPanels::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TStatusPanels*>(Source)) {
    BeginUpdate();
    FItems.clear();
    for (auto& p : s->FItems) Add()->Assign(p.get());
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

TStatusPanel* TStatusPanels::Add() { return Insert(Count()); }

TStatusPanel* TStatusPanels::Insert(int Index) {
  Index = std::clamp(Index, 0, Count());
  auto it = FItems.insert(FItems.begin() + Index, std::make_unique<TStatusPanel>(this));
  Changed();
  return it->get();
}

void TStatusPanels::Delete(int Index) {
  Items(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStatusPanels::Clear() {
  FItems.clear();
  Changed();
}

TStatusPanel* TStatusPanels::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds");
  return FItems[size_t(Index)].get();
}

void TStatusPanels::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TStatusPanels::Changed() {
  if (FUpdateCount == 0 && FStatusBar) FStatusBar->Invalidate();
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() { FPanels->FStatusBar = nullptr; }

void TStatusBar::SetSimplePanel(bool v) { FSimplePanel = v; Invalidate(); }
void TStatusBar::SetSimpleText(const String& v) { FSimpleText = v; Invalidate(); }
void TStatusBar::SetSizeGrip(bool v) { FSizeGrip = v; Invalidate(); }

TRect TStatusBar::PanelRect(int Index) const {
  const int count = FPanels->Count();
  if (Index < 0 || Index >= count) return TRect();
  int x = 0;
  for (int i = 0; i < Index; ++i) x += FPanels->Items(i)->Width();
  const int W = ClientWidth();
  int right = Index == count - 1 ? W : x + FPanels->Items(Index)->Width();
  right = std::min(right, W);
  if (Index < count - 1) right -= 2;  // a gap between panels
  return TRect(std::min(x, W), 2, std::max(std::min(x, W), right), ClientHeight());
}

void TStatusBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  c->Font()->Assign(Font());
  if (FSimplePanel || FPanels->Count() == 0) {
    c->Brush()->SetStyle(bsClear);
    RECT r = TRect(2, 2, ClientWidth() - 2, ClientHeight());
    DrawText(c->Handle(), FSimpleText.c_str(), int(FSimpleText.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return;
  }
  for (int i = 0; i < FPanels->Count(); ++i) {
    TStatusPanel* p = FPanels->Items(i);
    TRect r = PanelRect(i);
    if (r.Width() <= 0) continue;
    if (p->Bevel() != pbNone) {
      RECT er = r;
      DrawEdge(c->Handle(), &er, p->Bevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    TRect inner(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    if (p->Style() == psOwnerDraw) {
      DrawPanel(p, inner);
      continue;
    }
    c->Brush()->SetStyle(bsClear);
    RECT tr = TRect(inner.Left + 2, inner.Top, inner.Right - 2, inner.Bottom);
    UINT align = p->Alignment() == taRightJustify ? DT_RIGHT : p->Alignment() == taCenter ? DT_CENTER : DT_LEFT;
    DrawText(c->Handle(), p->Text().c_str(), int(p->Text().size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
  }
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel) OnDrawPanel(this, Panel, Rect);
}

void TStatusBar::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TStatusBar::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

// ---------------------------------------------------------------------------
// Tool bar

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csSetCaption};
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
  if (FToolBar) FToolBar->RemoveButton(this);
}

void TToolButton::SetParent(TWinControl* AParent) {
  if (FToolBar && FToolBar != AParent) FToolBar->RemoveButton(this);
  TGraphicControl::SetParent(AParent);
  if (auto* tb = dynamic_cast<TToolBar*>(AParent); tb && FToolBar != tb) tb->InsertButton(this);
}

int TToolButton::Index() const {
  if (!FToolBar) return -1;
  auto& b = FToolBar->FButtons;
  return int(std::find(b.begin(), b.end(), this) - b.begin());
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  if ((v == tbsSeparator || v == tbsDivider) && Width() == (FToolBar ? FToolBar->FButtonWidth : 23)) SetWidth(8);
  if (FToolBar) FToolBar->ArrangeButtons();
  Invalidate();
}

void TToolButton::SetImageIndex(int v) { FImageIndex = v; Invalidate(); }

void TToolButton::SetWrap(bool v) {
  FWrap = v;
  if (FToolBar) FToolBar->ArrangeButtons();
}

void TToolButton::SetDown(bool v) {
  if (v == FDown) return;
  FDown = v;
  // A grouped check button going down raises its neighbours of the same group.
  if (v && FGrouped && FStyle == tbsCheck && FToolBar) {
    auto& b = FToolBar->FButtons;
    int i = Index();
    auto same = [](TToolButton* t) { return t->FGrouped && t->FStyle == tbsCheck; };
    for (int j = i - 1; j >= 0 && same(b[size_t(j)]); --j) b[size_t(j)]->FDown = false, b[size_t(j)]->Invalidate();
    for (size_t j = size_t(i) + 1; j < b.size() && same(b[j]); ++j) b[j]->FDown = false, b[j]->Invalidate();
  }
  Invalidate();
}

void TToolButton::Click() {
  if (FStyle == tbsCheck) {
    if (!FDown) SetDown(true);
    else if (!FGrouped || FAllowAllUp) SetDown(false);
  }
  TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || FStyle == tbsSeparator || FStyle == tbsDivider) return;
  FPressed = true;
  Invalidate();
}

void TToolButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!MouseCapture()) return;
  bool inside = ClientRect().Contains(TPoint(X, Y));
  if (inside != FPressed) {
    FPressed = inside;
    Invalidate();
  }
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  bool click = FPressed && ClientRect().Contains(TPoint(X, Y));
  FPressed = false;
  Invalidate();
  if (click) Click();
}

void TToolButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  FHot = true;
  Invalidate();
}

void TToolButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  FHot = false;
  Invalidate();
}

void TToolButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
}

void TToolButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  FPressed = false;
  Invalidate();
}

void TToolButton::CMVisibleChanged(TMessage& Message) {
  TGraphicControl::CMVisibleChanged(Message);
  if (FToolBar) FToolBar->ArrangeButtons();
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (FStyle == tbsSeparator || FStyle == tbsDivider) {
    if (FStyle == tbsDivider) {
      RECT er = TRect(r.Width() / 2 - 1, 0, r.Width() / 2 + 1, r.Height());
      DrawEdge(c->Handle(), &er, EDGE_ETCHED, BF_LEFT);
    }
    return;
  }
  const bool flat = FToolBar && FToolBar->FFlat;
  const bool sunken = FPressed || FDown;
  if (!flat) {
    RECT fr = r;
    DrawFrameControl(c->Handle(), &fr, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
  } else if (sunken || (FHot && Enabled())) {
    RECT er = r;
    DrawEdge(c->Handle(), &er, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (FDown && !FPressed) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(cl3DLight);
    c->FillRect(TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
  }
  const int shift = sunken ? 1 : 0;
  TCustomImageList* images = FToolBar ? FToolBar->FImages : nullptr;
  bool enabledImage = Enabled();
  if (!Enabled() && FToolBar && FToolBar->FDisabledImages) {
    images = FToolBar->FDisabledImages;
    enabledImage = true;
  }
  const bool showImage = images && FImageIndex >= 0 && FImageIndex < images->Count();
  const int iw = showImage ? images->Width() : 0, ih = showImage ? images->Height() : 0;
  const bool showCaption = FToolBar && FToolBar->FShowCaptions && !Caption().empty();
  const bool list = FToolBar && FToolBar->FList;
  const String caption = Caption();
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  int th = showCaption ? c->TextHeight(caption) : 0;
  int tw = showCaption ? c->TextWidth(caption) : 0;
  int ix, iy;
  TRect textRect;
  if (showCaption && list) {
    int total = iw + (iw > 0 ? 4 : 0) + tw;
    ix = (r.Width() - total) / 2;
    iy = (r.Height() - ih) / 2;
    int tx = ix + iw + (iw > 0 ? 4 : 0);
    textRect = Bounds(tx, (r.Height() - th) / 2, tw, th);
  } else if (showCaption) {
    int total = ih + (ih > 0 ? 1 : 0) + th;
    ix = (r.Width() - iw) / 2;
    iy = (r.Height() - total) / 2;
    textRect = Bounds(0, iy + ih + (ih > 0 ? 1 : 0), r.Width(), th);
  } else {
    ix = (r.Width() - iw) / 2;
    iy = (r.Height() - ih) / 2;
  }
  if (showImage) images->Draw(c, ix + shift, iy + shift, FImageIndex, enabledImage);
  if (showCaption) {
    c->Brush()->SetStyle(bsClear);
    RECT tr = TRect(textRect.Left + shift, textRect.Top + shift, textRect.Right + shift, textRect.Bottom + shift);
    DrawText(c->Handle(), caption.c_str(), int(caption.size()), &tr, DT_SINGLELINE | DT_CENTER | DT_NOCLIP);
  }
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  if (FImages) FImages->UnRegisterChanges(this);
  if (FDisabledImages) FDisabledImages->UnRegisterChanges(this);
  for (TToolButton* b : FButtons) b->FToolBar = nullptr;
  FButtons.clear();
}

TToolButton* TToolBar::Buttons(int Index) const {
  if (Index < 0 || Index >= ButtonCount()) throw EListError(u"List index out of bounds");
  return FButtons[size_t(Index)];
}

void TToolBar::InsertButton(TToolButton* Button) {
  Button->FToolBar = this;
  FButtons.push_back(Button);
  ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* Button) {
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), Button), FButtons.end());
  Button->FToolBar = nullptr;
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  if (FArranging) return;
  FArranging = true;
  int x = FIndent, y = 0;
  const int W = ClientWidth();
  for (TToolButton* b : FButtons) {
    if (!b->Visible()) continue;
    const bool sep = b->FStyle == tbsSeparator || b->FStyle == tbsDivider;
    const int w = sep ? b->Width() : FButtonWidth;
    if (FWrapable && x > FIndent && x + w > W) {
      x = FIndent;
      y += FButtonHeight;
    }
    b->SetBounds(x, y, w, FButtonHeight);
    x += w;
    if (b->FWrap) {
      x = FIndent;
      y += FButtonHeight;
    }
  }
  FArranging = false;
  Invalidate();
}

void TToolBar::SetButtonWidth(int v) { FButtonWidth = std::max(1, v); ArrangeButtons(); }
void TToolBar::SetButtonHeight(int v) { FButtonHeight = std::max(1, v); ArrangeButtons(); }
void TToolBar::SetShowCaptions(bool v) { FShowCaptions = v; ArrangeButtons(); }
void TToolBar::SetFlat(bool v) { FFlat = v; Invalidate(); }
void TToolBar::SetList(bool v) { FList = v; Invalidate(); }
void TToolBar::SetIndent(int v) { FIndent = std::max(0, v); ArrangeButtons(); }
void TToolBar::SetWrapable(bool v) { FWrapable = v; ArrangeButtons(); }

void TToolBar::SetImages(TCustomImageList* v) {
  if (FImages) FImages->UnRegisterChanges(this);
  FImages = v;
  if (v) {
    v->FreeNotification(this);
    v->RegisterChanges(this, [this] { Invalidate(); });
  }
  Invalidate();
}

void TToolBar::SetDisabledImages(TCustomImageList* v) {
  if (FDisabledImages) FDisabledImages->UnRegisterChanges(this);
  FDisabledImages = v;
  if (v) {
    v->FreeNotification(this);
    v->RegisterChanges(this, [this] { Invalidate(); });
  }
  Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TToolBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
}

void TToolBar::Resize() {
  TCustomControl::Resize();
  ArrangeButtons();
}

void TToolBar::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

// ---------------------------------------------------------------------------
// Track bar

struct TTrackView {
  static QSlider* Of(const TTrackBar* t) { return NativeOf<QSlider>(t); }
};

namespace {

// The track bar's keys, which reach the slider after the control's key handling passed them:
// in both orientations Left and Up step towards the minimum, Right and Down towards the
// maximum, Page Up and Page Down likewise by a page, Home and End go to the ends. Qt's
// slider ties Up and Page Up to "increase" on a horizontal slider, and with inverted
// controls Left and Right swap on a vertical one, so the keys are done here instead.
class TTrackSlider : public QSlider {
protected:
  void keyPressEvent(QKeyEvent* event) override {
    int to = value();
    switch (event->key()) {
      case Qt::Key_Left: case Qt::Key_Up: to -= singleStep(); break;
      case Qt::Key_Right: case Qt::Key_Down: to += singleStep(); break;
      case Qt::Key_PageUp: to -= pageStep(); break;
      case Qt::Key_PageDown: to += pageStep(); break;
      case Qt::Key_Home: to = minimum(); break;
      case Qt::Key_End: to = maximum(); break;
      default: QSlider::keyPressEvent(event); return;
    }
    setValue(std::clamp(to, minimum(), maximum()));
    event->accept();
  }
};

}  // namespace

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::CreateWnd() {
  auto* s = new TTrackSlider;
  TControlHost::Attach(this, s, false);
  ApplySettings();
  QObject::connect(s, &QSlider::valueChanged, [this](int v) {
    if (FInCode || v == FPosition) return;
    FPosition = v;
    GuardedCall([this] { Changed(); });
  });
}

void TTrackBar::ApplySettings() {
  QSlider* s = TTrackView::Of(this);
  if (!s) return;
  TInCode guard(FInCode);
  s->setOrientation(FOrientation == trHorizontal ? Qt::Horizontal : Qt::Vertical);
  // The minimum is at the top of a vertical track bar.
  s->setInvertedAppearance(FOrientation == trVertical);
  // The wheel moves the thumb the way it turns: up, towards the minimum at the top.
  s->setInvertedControls(FOrientation == trVertical);
  s->setRange(FMin, FMax);
  s->setSingleStep(FLineSize);
  s->setPageStep(FPageSize);
  s->setTickInterval(std::max(1, FFrequency));
  QSlider::TickPosition ticks = QSlider::NoTicks;
  if (FTickStyle != tsNone)
    ticks = FTickMarks == tmBoth ? QSlider::TicksBothSides : FTickMarks == tmTopLeft ? QSlider::TicksAbove : QSlider::TicksBelow;
  s->setTickPosition(ticks);
  s->setValue(FPosition);
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  SetPosition(FPosition);
  ApplySettings();
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  SetPosition(FPosition);
  ApplySettings();
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  ApplySettings();
  Changed();
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  SetBounds(Left(), Top(), Height(), Width());
  ApplySettings();
}

void TTrackBar::SetFrequency(int v) { FFrequency = v; ApplySettings(); }
void TTrackBar::SetLineSize(int v) { FLineSize = std::max(1, v); ApplySettings(); }
void TTrackBar::SetPageSize(int v) { FPageSize = std::max(1, v); ApplySettings(); }
void TTrackBar::SetTickStyle(TTickStyle v) { FTickStyle = v; ApplySettings(); }
void TTrackBar::SetTickMarks(TTickMark v) { FTickMarks = v; ApplySettings(); }

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// Progress bar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateWnd() {
  auto* p = new QProgressBar;
  p->setTextVisible(false);
  TControlHost::Attach(this, p, false);
  ApplySettings();
}

void TProgressBar::ApplySettings() {
  auto* p = NativeOf<QProgressBar>(this);
  if (!p) return;
  p->setOrientation(FOrientation == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
  p->setRange(FMin, FMax);
  p->setValue(FPosition);
}

void TProgressBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  FPosition = std::clamp(FPosition, FMin, FMax);
  ApplySettings();
}

void TProgressBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
  ApplySettings();
}

void TProgressBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, FMax);
  ApplySettings();
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  SetBounds(Left(), Top(), Height(), Width());
  ApplySettings();
}
