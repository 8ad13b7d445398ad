// The item selector of the picker drop-downs (part of the drop-down unit).

#include "dropdowns/AdvDropDownSelector.h"

#include <algorithm>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "dropdowns/AdvDropDownBars.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// Items

TPickerItem::TPickerItem(TCollection* Collection) : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TPickerItem::~TPickerItem() = default;

void TPickerItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(false);
}

void TPickerItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed(false);
}

bool TPickerItem::AssignItem(TPersistent* Source) {
  auto* src = dynamic_cast<TPickerItem*>(Source);
  if (src == nullptr) return false;
  SetCaption(src->FCaption);
  SetImageIndex(src->FImageIndex);
  FImage->Assign(src->FImage.get());
  FEnabled = src->FEnabled;
  return true;
}

void TSelectorItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed(false);
}

void TSelectorItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TSelectorItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  AssignItem(src);
  SetColor(src->FColor);
  FHint = src->FHint;
}

// ---------------------------------------------------------------------------
// The host

TAdvCustomItemSelector::TAdvCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  SetColor(clWindow);
  SetParentColor(false);
  SetAutoScroll(true);
  // The content follows the thumb while it is dragged.
  VertScrollBar()->SetTracking(true);
  FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
  CreateSelectorPanel();
  UpdateSelectorPanel();
}

TAdvCustomItemSelector::~TAdvCustomItemSelector() {
  // The panel reads the items: it goes before them.
  FItems->OnChange = nullptr;
  delete FItemSelectorPanel;
  FItemSelectorPanel = nullptr;
}

void TAdvCustomItemSelector::CreateSelectorPanel() {
  if (FItemSelectorPanel != nullptr) return;
  FItemSelectorPanel = new TCustomItemSelector(this);
  FItemSelectorPanel->SetParent(this);
  FItemSelectorPanel->OnItemSelect = [this](TObject*) {
    if (OnItemSelect) OnItemSelect(this);
  };
}

void TAdvCustomItemSelector::UpdateSelectorPanel() {
  if (FItemSelectorPanel != nullptr) FItemSelectorPanel->UpdateLayout();
}

void TAdvCustomItemSelector::SetSelectorType(TSelectorType Value) {
  if (Value == FSelectorType) return;
  FSelectorType = Value;
  UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColumns(int Value) {
  if (Value <= 0 || Value == FColumns) return;
  FColumns = Value;
  UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxWidth(int Value) {
  if (Value == FColorBoxWidth) return;
  FColorBoxWidth = Value;
  UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxHeight(int Value) {
  if (Value == FColorBoxHeight) return;
  FColorBoxHeight = Value;
  UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  UpdateSelectorPanel();
}

void TAdvCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) FImages = nullptr;
}

void TAdvCustomItemSelector::WMMouseWheel(TWMMouseWheel& Message) {
  if (DoMouseWheel(KeysToShiftState(Message.Keys()), Message.WheelDelta(), Message.Pos())) {
    Message.SetResult(1);
    return;
  }
  // Unhandled turns go to the window holding the selector (a drop-down's window).
  if (Parent() != nullptr) Message.SetResult(Parent()->Perform(WM_MOUSEWHEEL, Message.M.WParam, Message.M.LParam));
}

void TAdvCustomItemSelector::WMGetDlgCode(TWMGetDlgCode& Message) {
  Message.SetResult(DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

int TAdvCustomItemSelector::ItemIndex() const {
  return FItemSelectorPanel != nullptr ? FItemSelectorPanel->ItemIndex() : -1;
}

void TAdvCustomItemSelector::SetItemIndex(int Value) {
  if (FItemSelectorPanel == nullptr) return;
  FItemSelectorPanel->SetItemIndex(Value);
  ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

int TAdvCustomItemSelector::ItemHot() const {
  return FItemSelectorPanel != nullptr ? FItemSelectorPanel->ItemHot() : -1;
}

void TAdvCustomItemSelector::PanelStep(void (TCustomItemSelector::*Step)(), bool Hot) {
  if (FItemSelectorPanel == nullptr) return;
  (FItemSelectorPanel->*Step)();
  ScrollItemInView(Hot ? ItemHot() : ItemIndex());
}

void TAdvCustomItemSelector::SelectFirst() { PanelStep(&TCustomItemSelector::SelectFirst, false); }
void TAdvCustomItemSelector::SelectLast() { PanelStep(&TCustomItemSelector::SelectLast, false); }
void TAdvCustomItemSelector::SelectNext() { PanelStep(&TCustomItemSelector::SelectNext, false); }
void TAdvCustomItemSelector::SelectPrevious() { PanelStep(&TCustomItemSelector::SelectPrevious, false); }
void TAdvCustomItemSelector::HotNext() { PanelStep(&TCustomItemSelector::HotNext, true); }
void TAdvCustomItemSelector::HotPrevious() { PanelStep(&TCustomItemSelector::HotPrevious, true); }

bool TAdvCustomItemSelector::LookupItem(const String& S) {
  return FItemSelectorPanel != nullptr && FItemSelectorPanel->LookupItem(S);
}

void TAdvCustomItemSelector::ScrollItemInView(int Index) {
  if (FItemSelectorPanel == nullptr || Index < 0 || Index >= FItems->Count()) return;
  TControlScrollBar* bar = VertScrollBar();
  if (!bar->IsScrollBarVisible()) return;
  TRect r = FItemSelectorPanel->GetItemRect(Index);
  r.Top -= bar->Margin();
  r.Bottom += bar->Margin();
  // Into the host's client coordinates (the panel moves as the content scrolls).
  OffsetRect(&r, FItemSelectorPanel->Left(), FItemSelectorPanel->Top());
  const int clientHeight = ClientHeight();
  if (r.Top < 0) {
    bar->SetPosition(bar->Position() + r.Top);
  } else if (r.Bottom > clientHeight) {
    if (r.Height() > clientHeight) r.Bottom = clientHeight + r.Top;
    bar->SetPosition(bar->Position() + r.Bottom - clientHeight);
  }
}

int TAdvCustomItemSelector::GetVisibleItemCount() const {
  if (FItemSelectorPanel == nullptr || FItems->Count() == 0) return 0;
  const int itemHeight = FItemSelectorPanel->GetItemRect(0).Height();
  if (itemHeight < 1) return 0;
  const int h = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
  return h / itemHeight * FColumns;
}

TSize TAdvCustomItemSelector::GetPanelSize() const {
  if (FItemSelectorPanel == nullptr) return TSize{100, 50};
  return TSize{FItemSelectorPanel->Width(), FItemSelectorPanel->Height()};
}

// ---------------------------------------------------------------------------
// The panel

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(AOwner) {
  FAdvItemSelector = dynamic_cast<TAdvCustomItemSelector*>(AOwner);
  if (FAdvItemSelector == nullptr) throw Exception(u"Invalid parent");
  SetParentColor(true);
  // Paint fills what it shows itself: a long list is never erased as a whole.
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
}

TRect TCustomItemSelector::VisibleRect() const {
  // The host's client area in the panel's coordinates (all of the panel without a host area).
  const TRect client = FAdvItemSelector->ClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return ClientRect();
  return TRect(-Left(), -Top(), -Left() + client.Width(), -Top() + client.Height());
}

void TCustomItemSelector::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool moved = ALeft != Left() || ATop != Top();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Scrolled: the part now in view is painted afresh.
  if (moved && HandleAllocated()) {
    const RECT r = VisibleRect();
    InvalidateRect(Handle(), &r, false);
  }
}

bool TCustomItemSelector::IsEnabledItem(int Index) const {
  return Index >= 0 && Index < Items()->Count() && Items()->Items(Index)->Enabled();
}

void TCustomItemSelector::SetItemIndex(int Value) {
  const int count = Items()->Count();
  if (Value >= 0 && Value < count && !Items()->Items(Value)->Enabled()) return;
  // Past either end there is no item to select: no selection, and nothing fires.
  if (Value < 0 || Value >= count) Value = -1;
  if (FItemIndex >= 0 && Value != FItemIndex) {
    const int old = FItemIndex;
    FItemIndex = -1;
    InvalidateItem(old);
  }
  FItemIndex = Value;
  if (Value < 0) return;
  InvalidateItem(Value);
  if (OnItemSelect) OnItemSelect(this);
}

void TCustomItemSelector::SetItemHot(int Index) {
  if (Index < 0 || Index >= Items()->Count()) Index = -1;
  if (Index == FItemHot || (Index >= 0 && !IsEnabledItem(Index))) return;
  if (FItemHot >= 0) {
    const int old = FItemHot;
    FItemHot = -1;
    InvalidateItem(old);
  }
  FItemHot = Index;
  if (Index >= 0) InvalidateItem(Index);
}

void TCustomItemSelector::SelectFirst() {
  if (Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
  if (Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex + 1 < Items()->Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext() {
  if (FItemHot < 0) SetItemHot(0);
  else if (FItemHot + 1 < Items()->Count()) SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious() {
  if (FItemHot < 0) SetItemHot(0);
  else if (FItemHot > 0) SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const String& S) {
  if (S.empty()) return false;
  const int count = Items()->Count();
  // The keys are made once per layout: a type-ahead costs a prefix scan.
  if (static_cast<int>(FLookupKeys.size()) != count) {
    FLookupKeys.clear();
    FLookupKeys.reserve(count);
    for (int i = 0; i < count; ++i) FLookupKeys.push_back(AnsiUpperCase(Trim(HtmlToPlainText(Items()->Items(i)->Caption()))));
  }
  for (int i = 0; i < count; ++i) {
    const String& key = FLookupKeys[i];
    if (key.size() >= S.size() && key.compare(0, S.size(), S) == 0) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

TRect TCustomItemSelector::GetItemRect(int Index) const {
  if (Index < 0 || Index >= Items()->Count()) return TRect(-1, -1, -1, -1);
  return Items()->Items(Index)->FRect;
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
  const TPoint p(X, Y);
  for (int i = 0; i < Items()->Count(); ++i)
    if (PtInRect(Items()->Items(i)->FRect, p)) return i;
  return -1;
}

void TCustomItemSelector::InvalidateItem(int Index) {
  if (Index < 0 || Index >= Items()->Count() || !HandleAllocated()) return;
  const RECT r = Items()->Items(Index)->FRect;
  InvalidateRect(Handle(), &r, true);
}

void TCustomItemSelector::GetInnerRect(TRect& R) {
  R = ClientRect();
  R.Left += FOffSetX;
  R.Top += FOffSetY;
  R.Right -= FOffSetX;
  R.Bottom -= FOffSetY;
}

static TSize MeasureCaption(TCanvas* Canvas, const String& Caption, TCustomImageList* Images, HWND Wnd) {
  TSize size{0, 0};
  if (Caption.empty()) return size;
  // Text without tags or entities measures as one plain line; the tag engine is for the rest.
  if (Caption.find_first_of(u"<&") == String::npos) return Canvas->TextExtent(Caption);
  DrawHTMLCaption(Canvas, Caption, TRect(0, 0, 1000, 500), Images, false, Wnd, size);
  return size;
}

// Draws a caption in R: plain text as one line at its top-left, tagged text by the tag engine.
static TSize PaintCaption(TCanvas* Canvas, const String& Caption, const TRect& R, TCustomImageList* Images, HWND Wnd) {
  TSize size{0, 0};
  if (Caption.empty()) return size;
  if (Caption.find_first_of(u"<&") == String::npos) {
    const TBrushStyle style = Canvas->Brush()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->TextRect(R, R.Left, R.Top, Caption);
    Canvas->Brush()->SetStyle(style);
    return Canvas->TextExtent(Caption);
  }
  DrawHTMLCaption(Canvas, Caption, R, Images, true, Wnd, size);
  return size;
}

TSize TCustomItemSelector::ImageSize(TSelectorItem* Item) const {
  TGraphic* g = Item->Image()->Graphic();
  if (g != nullptr && !g->Empty()) return TSize{g->Width(), g->Height()};
  if (Images() != nullptr && Item->ImageIndex() >= 0) return TSize{Images()->Width(), Images()->Height()};
  return TSize{0, 0};
}

void TCustomItemSelector::GetItemSize(TSize& Size) {
  if (FAdvItemSelector->OnItemSize) {
    FAdvItemSelector->OnItemSize(this, Size);
    return;
  }
  const int count = Items()->Count();
  int maxW = 0, maxH = 0;
  if (SelectorType() == stColor) {
    maxW = ColorBoxWidth();
    maxH = ColorBoxHeight();
  } else {
    for (int i = 0; i < count; ++i) {
      const TSize s = ImageSize(Items()->Items(i));
      maxW = std::max(maxW, s.cx);
      maxH = std::max(maxH, s.cy);
    }
  }
  int textW = 0, textH = 0;
  {
    TWindowDCCanvas canvas(HandleAllocated() ? Handle() : nullptr);
    canvas.Font()->Assign(Appearance()->Font());
    HWND wnd = HandleAllocated() ? Handle() : nullptr;
    FCaptionSizes.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      const TSize s = MeasureCaption(&canvas, Items()->Items(i)->Caption(), Images(), wnd);
      FCaptionSizes[static_cast<size_t>(i)] = s;
      textW = std::max(textW, s.cx);
      textH = std::max(textH, s.cy);
    }
  }
  if (textW > 0) textW += 4;
  if (ItemLayout() == ilCaptionLeft || ItemLayout() == ilCaptionRight) {
    Size.cx = 2 * FItemOffSetX;
    if (maxW > 0) Size.cx += maxW;
    if (maxW > 0 && textW > 0) Size.cx += FCaptionGap;
    if (textW > 0) Size.cx += textW;
    Size.cy = std::max(textH, maxH) + 2 * FItemOffSetY;
  } else {
    Size.cx = std::max(textW, maxW) + 2 * FItemOffSetX;
    Size.cy = 2 * FItemOffSetY;
    if (maxH >= 1) Size.cy += maxH;
    if (maxH > 0 && textH > 0) Size.cy += FCaptionGap;
    if (textH >= 1) Size.cy += textH;
  }
}

void TCustomItemSelector::UpdateLayout() {
  FLookupKeys.clear();
  FCaptionSizes.clear();
  const int count = Items()->Count();
  if (count == 0) {
    SetBounds(Left(), Top(), 100, 50);
    return;
  }
  FItemHot = -1;
  TSize size{0, 0};
  GetItemSize(size);
  TRect inner;
  GetInnerRect(inner);
  int x = inner.Left, y = inner.Top, column = 0, maxX = 0;
  for (int j = 0; j < count; ++j) {
    Items()->Items(j)->FRect = TRect(x, y, x + size.cx, y + size.cy);
    ++column;
    if (j == count - 1) break;
    if (column < Columns()) {
      x += size.cx;
    } else {
      maxX = std::max(maxX, x);
      x = inner.Left;
      y += size.cy;
      column = 0;
    }
  }
  maxX = std::max(maxX, x);
  SetBounds(Left(), Top(), maxX + size.cx + inner.Left, y + size.cy + inner.Top);
  Invalidate();
}

void TCustomItemSelector::Paint() {
  TCustomControl::Paint();
  RECT area;
  const RECT clip = Canvas()->ClipRect(), visible = VisibleRect();
  if (!IntersectRect(&area, &clip, &visible)) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(area);
  DrawItems(Canvas());
}

void TCustomItemSelector::DrawItems(TCanvas* ACanvas) {
  if (ACanvas == nullptr) return;
  // Only the cells in view that the paint touches are drawn: a page of a long list costs a page.
  RECT clip;
  const RECT canvasClip = ACanvas->ClipRect(), visible = VisibleRect();
  if (!IntersectRect(&clip, &canvasClip, &visible)) return;
  for (int i = 0; i < Items()->Count(); ++i) {
    const TRect& r = Items()->Items(i)->FRect;
    if (r.Bottom <= clip.Top || r.Top >= clip.Bottom || r.Right <= clip.Left || r.Left >= clip.Right) continue;
    DrawItem(i, ACanvas);
  }
}

void TCustomItemSelector::DrawContent(TCanvas* ACanvas, TSelectorItem* Item, int X, int Y, int W, int H) {
  if (SelectorType() == stColor) {
    ACanvas->Pen()->SetColor(clBlack);
    ACanvas->Pen()->SetWidth(1);
    SetBrushColor(ACanvas, Item->Color());  // clNone: the outline only
    ACanvas->Rectangle(X, Y, X + W, Y + H);
    return;
  }
  TGraphic* g = Item->Image()->Graphic();
  if (g != nullptr && !g->Empty()) ACanvas->Draw(X, Y, g);
  else if (Images() != nullptr && Item->ImageIndex() >= 0) Images()->Draw(ACanvas, X, Y, Item->ImageIndex(), Item->Enabled());
}

void TCustomItemSelector::DrawItem(int Index, TCanvas* ACanvas) {
  if (Index < 0 || Index >= Items()->Count() || ACanvas == nullptr || FAdvItemSelector == nullptr) return;
  TSelectorItem* item = Items()->Items(Index);
  TRect r = item->FRect;
  if (r.Left < 0 && r.Right < 0) return;
  TItemAppearance* a = Appearance();

  // The background: plain, hot or selected (the selected colours win).
  TColor border = a->BorderColor(), top = a->BorderColorTop(), bottom = a->BorderColorBottom(), edge = a->EdgeColor();
  TColor from = clNone, to = clNone, mirror = clNone, mirrorTo = clNone;
  bool marked = false;
  auto mark = [&](TColor f, TColor t, TColor m, TColor mt, TColor b) {
    from = f;
    to = t;
    mirror = m;
    mirrorTo = mt;
    marked = true;
    if (b != clNone) {
      border = b;
      top = bottom = edge = clNone;
    }
  };
  if (Index == FItemHot) mark(a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->BorderColorHot());
  if (Index == FItemIndex)
    mark(a->ColorSelected(), a->ColorSelectedTo(), a->ColorMirrorSelected(), a->ColorMirrorSelectedTo(),
         a->BorderColorSelected());
  if (!marked) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color());
    ACanvas->FillRect(r);
  } else if (top == clNone) {
    DrawGradientRect(ACanvas, r, from, to, border, 1, gdVertical);
  } else {
    ::DrawSelectionGradient(ACanvas, from, to, mirror, mirrorTo, top, bottom, border, edge, Color(), r, 0);
  }

  if (FAdvItemSelector->OnDrawItem) {
    FAdvItemSelector->OnDrawItem(this, ACanvas, r, Index);
    return;
  }

  const TSize content = SelectorType() == stColor ? TSize{ColorBoxWidth(), ColorBoxHeight()} : ImageSize(item);
  const int w = content.cx, h = content.cy;
  const bool hasContent = w > 0 && h > 0;
  TRect k(r.Left + FItemOffSetX, r.Top + FItemOffSetY, r.Right - FItemOffSetX, r.Bottom - FItemOffSetY);
  TRect t = k;
  ACanvas->Font()->Assign(a->Font());
  if (Index == FItemHot) ACanvas->Font()->SetColor(a->ColorHotText());
  if (Index == FItemIndex) ACanvas->Font()->SetColor(a->ColorSelectedText());

  const String& caption = item->Caption();
  HWND wnd = HandleAllocated() ? Handle() : nullptr;
  TSize cs{0, 0};
  auto centreCaption = [&] {
    // The size the layout measured, else measured now (a handler sized the cells).
    cs = static_cast<size_t>(Index) < FCaptionSizes.size() ? FCaptionSizes[static_cast<size_t>(Index)]
                                                           : MeasureCaption(ACanvas, caption, Images(), wnd);
    if (t.Height() > cs.cy) t.Top += (t.Height() - cs.cy) / 2;
  };
  const int imageY = k.Top + (k.Height() - h) / 2;
  switch (ItemLayout()) {
    case ilCaptionLeft:
      if (!caption.empty()) {
        t.Right -= w;
        centreCaption();
        cs = PaintCaption(ACanvas, caption, t, Images(), wnd);
        k.Left = t.Left + cs.cx + FCaptionGap;
      }
      DrawContent(ACanvas, item, k.Left, SelectorType() == stColor ? k.Top : imageY, w, h);
      break;
    case ilCaptionRight:
      DrawContent(ACanvas, item, k.Left, SelectorType() == stColor ? k.Top : imageY, w, h);
      if (hasContent) t.Left = k.Left + w + FCaptionGap;
      if (!caption.empty()) {
        centreCaption();
        cs = PaintCaption(ACanvas, caption, t, Images(), wnd);
      }
      break;
    case ilCaptionTop:
      if (!caption.empty()) {
        t.Bottom -= h;
        cs = PaintCaption(ACanvas, caption, t, Images(), wnd);
        k.Top = t.Top + cs.cy + FCaptionGap;
      } else {
        k.Top += (k.Height() - h) / 2;
      }
      k.Left += (k.Width() - w) / 2;
      DrawContent(ACanvas, item, k.Left, k.Top, w, h);
      break;
    case ilCaptionBottom:
      if (caption.empty()) k.Top += (k.Height() - h) / 2;
      k.Left += (k.Width() - w) / 2;
      DrawContent(ACanvas, item, k.Left, k.Top, w, h);
      if (hasContent) t.Top = k.Top + h + FCaptionGap;
      if (!caption.empty()) cs = PaintCaption(ACanvas, caption, t, Images(), wnd);
      break;
  }
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (IsEnabledItem(i)) SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (i < 0) {
    SetItemHot(-1);
    return;
  }
  if (i == FItemHot) return;
  if (!IsEnabledItem(i)) {
    SetItemHot(-1);
    return;
  }
  SetItemHot(i);
  // The new item's hint shows in place of the old one's.
  SetHint(Items()->Items(i)->Hint());
  if (Application != nullptr) Application->CancelHint();
}

void TCustomItemSelector::WMMouseWheel(TWMMouseWheel& Message) {
  // The wheel belongs to the host.
  Message.SetResult(FAdvItemSelector->Perform(WM_MOUSEWHEEL, Message.M.WParam, Message.M.LParam));
}

void TCustomItemSelector::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  SetItemHot(-1);
}

// ---------------------------------------------------------------------------
// Type-ahead

TSelectorKeySearch::TSelectorKeySearch(TComponent* AOwner) : FKeyTimer(new TTimer(AOwner)) {
  FKeyTimer->SetEnabled(false);
  FKeyTimer->SetInterval(500);
  FKeyTimer->OnTimer = [this](TObject*) { KeyTimerTick(); };
}

Char TSelectorKeySearch::SearchChar(Word Key) {
  if ((Key >= u'A' && Key <= u'Z') || (Key >= u'0' && Key <= u'9') || Key == VK_SPACE) return static_cast<Char>(Key);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return static_cast<Char>(u'0' + (Key - VK_NUMPAD0));
  return 0;
}

bool TSelectorKeySearch::Key(TAdvCustomItemSelector* Selector, Word Key) {
  const Char c = SearchChar(Key);
  if (c == 0) return false;
  FCurSearch += c;
  if (Selector != nullptr) Selector->LookupItem(FCurSearch);
  // Starting a running timer does not restart it: the search ends 500 ms after its first key.
  FKeyTimer->SetEnabled(true);
  return true;
}

void TSelectorKeySearch::KeyTimerTick() {
  FKeyTimer->SetEnabled(false);
  FCurSearch.clear();
}
