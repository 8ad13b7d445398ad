// Bitmap button and speed button.
#include "platform/ui/Buttons.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "platform/ui/Graphics_p.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

// Image Index of a glyph strip as an image with the transparent colour cleared; a disabled
// image that the strip lacks is made from the first, embossed in the 3-D colours.
QImage GlyphImage(TBitmap* glyph, int numGlyphs, int index) {
  if (glyph == nullptr || glyph->Empty()) return QImage();
  const QImage& strip = TBitmapAccess::Image(glyph);
  numGlyphs = std::clamp(numGlyphs, 1, 4);
  const int w = strip.width() / numGlyphs;
  if (w <= 0) return QImage();
  const bool makeDisabled = index == 1 && numGlyphs < 2;
  if (index >= numGlyphs) index = 0;
  QImage cell = strip.copy(index * w, 0, w, strip.height()).convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = strip.pixel(0, strip.height() - 1) | 0xFF000000u;
  for (int y = 0; y < cell.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
    for (int x = 0; x < cell.width(); ++x)
      if ((line[x] | 0xFF000000u) == transparent) line[x] = 0;
  }
  if (!makeDisabled) return cell;
  // Dark pixels become an embossed outline: highlight one pixel down-right, shadow on top.
  QImage out(cell.size() + QSize(1, 1), QImage::Format_ARGB32);
  out.fill(0);
  const QRgb hi = ToQColor(clBtnHighlight).rgb(), sh = ToQColor(clBtnShadow).rgb();
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < cell.height(); ++y)
      for (int x = 0; x < cell.width(); ++x) {
        QRgb p = cell.pixel(x, y);
        if (qAlpha(p) == 0 || qGray(p) >= 192) continue;
        if (pass == 0) out.setPixel(x + 1, y + 1, hi);
        else out.setPixel(x, y, sh);
      }
  return out.copy(0, 0, cell.width(), cell.height());
}

QIcon GlyphIcon(TBitmap* glyph, int numGlyphs) {
  QImage up = GlyphImage(glyph, numGlyphs, 0);
  if (up.isNull()) return QIcon();
  QIcon icon(QPixmap::fromImage(up));
  icon.addPixmap(QPixmap::fromImage(GlyphImage(glyph, numGlyphs, 1)), QIcon::Disabled);
  return icon;
}

struct KindInfo {
  const char16_t* caption;
  TModalResult result;
  bool isDefault;
  bool isCancel;
};

KindInfo InfoOf(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return {u"OK", mrOk, true, false};
    case bkCancel: return {u"Cancel", mrCancel, false, true};
    case bkHelp: return {u"&Help", mrNone, false, false};
    case bkYes: return {u"&Yes", mrYes, true, false};
    case bkNo: return {u"&No", mrNo, false, true};
    case bkClose: return {u"&Close", mrNone, false, false};
    case bkAbort: return {u"Abort", mrAbort, false, true};
    case bkRetry: return {u"&Retry", mrRetry, false, false};
    case bkIgnore: return {u"&Ignore", mrIgnore, false, false};
    case bkAll: return {u"&All", mrAll, false, false};
    case bkCustom: break;
  }
  return {u"", mrNone, false, false};
}

}  // namespace

int ButtonGlyphWidth(TBitmap* Glyph, int NumGlyphs) {
  if (Glyph == nullptr || Glyph->Empty()) return 0;
  return Glyph->Width() / std::clamp(NumGlyphs, 1, 4);
}

void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, int NumGlyphs, int Index, int X, int Y) {
  QImage img = GlyphImage(Glyph, NumGlyphs, Index);
  if (img.isNull() || Canvas == nullptr) return;
  if (QPainter* p = DCPainter(Canvas->Handle())) p->drawImage(X, Y, img);
}

// ---------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this](TObject*) { ApplyGlyph(); };
}

TBitBtn::~TBitBtn() { FGlyph->OnChange = nullptr; }

void TBitBtn::CreateWnd() {
  TButton::CreateWnd();
  ApplyGlyph();
}

void TBitBtn::ApplyGlyph() {
  auto* b = NativeOf<QPushButton>(this);
  if (b == nullptr) return;
  QIcon icon = GlyphIcon(FGlyph.get(), FNumGlyphs);
  b->setIcon(icon);
  if (!icon.isNull()) b->setIconSize(QSize(ButtonGlyphWidth(FGlyph.get(), FNumGlyphs), FGlyph->Height()));
  b->setLayoutDirection(FLayout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::SetKind(TBitBtnKind v) {
  if (v == FKind) return;
  FKind = v;
  if (v == bkCustom) return;
  KindInfo info = InfoOf(v);
  SetCaption(info.caption);
  SetModalResult(info.result);
  SetDefault(info.isDefault);
  SetCancel(info.isCancel);
}

void TBitBtn::SetGlyph(TBitmap* v) {
  if (v) FGlyph->Assign(v);
  else FGlyph->SetSize(0, 0);
  ApplyGlyph();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  ApplyGlyph();
}

void TBitBtn::SetLayout(TButtonLayout v) {
  FLayout = v;
  ApplyGlyph();
}

void TBitBtn::SetSpacing(int v) { FSpacing = v; }

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

// ---------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { FGlyph->OnChange = nullptr; }

void TSpeedButton::Dispatch(TMessage& Message) {
  // Another button of the group went down.
  if (Message.Msg == CM_BUTTONPRESSED) {
    auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
    if (sender != this && static_cast<int>(Message.WParam) == FGroupIndex) {
      if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
      }
      FAllowAllUp = sender->FAllowAllUp;
    }
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage msg{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(msg);
}

void TSpeedButton::SetGroupIndex(int v) {
  FGroupIndex = v;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  FState = v ? bsExclusive : bsUp;
  Invalidate();
  if (v) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v) {
  FAllowAllUp = v;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool v) { FFlat = v; Invalidate(); }
void TSpeedButton::SetGlyph(TBitmap* v) {
  if (v) FGlyph->Assign(v);
  else FGlyph->SetSize(0, 0);
  Invalidate();
}
void TSpeedButton::SetNumGlyphs(TNumGlyphs v) { FNumGlyphs = std::clamp(v, 1, 4); Invalidate(); }
void TSpeedButton::SetLayout(TButtonLayout v) { FLayout = v; Invalidate(); }
void TSpeedButton::SetMargin(int v) { FMargin = v; Invalidate(); }
void TSpeedButton::SetSpacing(int v) { FSpacing = v; Invalidate(); }
void TSpeedButton::SetTransparent(bool v) {
  FTransparent = v;
  if (v) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  // The face follows the pointer: pressed while over the button, as before when off it.
  TButtonState state = FDown ? bsExclusive : bsUp;
  if (ClientRect().Contains(TPoint(X, Y))) state = FDown ? bsExclusive : bsDown;
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool doClick = ClientRect().Contains(TPoint(X, Y));
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (doClick) {
    SetDown(!FDown);
    if (FDown) FState = bsExclusive;
    Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (doClick) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  FMouseInControl = true;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  FMouseInControl = false;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  if (!Enabled()) {
    FMouseInControl = false;
    FDragging = false;
    FState = bsDisabled;
  } else {
    FState = FDown ? bsExclusive : bsUp;
  }
  Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
}

void TSpeedButton::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  Invalidate();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const bool enabled = Enabled();
  const bool pressed = enabled && (FState == bsDown || FState == bsExclusive || FDown);
  // Face and edge.
  TRect r = client;
  if (!FFlat) {
    RECT fr = r;
    DrawFrameControl(c->Handle(), &fr, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    r = fr;
  } else {
    if (!FTransparent || pressed) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(pressed && FState == bsExclusive ? cl3DLight : Color());
      c->FillRect(r);
    }
    if (pressed || (FMouseInControl && enabled)) {
      RECT er = r;
      DrawEdge(c->Handle(), &er, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  }
  if (FState == bsExclusive && !FFlat) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(cl3DLight);
    c->FillRect(r);
  }

  // Glyph and caption, moved one pixel down-right while pressed.
  const int index = !enabled ? 1 : FState == bsDown ? 2 : FState == bsExclusive ? 3 : 0;
  const int gw = ButtonGlyphWidth(FGlyph.get(), FNumGlyphs);
  const int gh = gw > 0 ? FGlyph->Height() : 0;
  const String caption = Caption();
  c->Font()->Assign(Font());
  TRect tr(0, 0, client.Width(), 0);
  if (!caption.empty()) DrawText(c->Handle(), caption.c_str(), int(caption.size()), &tr, DT_SINGLELINE | DT_CALCRECT);
  const int tw = caption.empty() ? 0 : tr.Width(), th = caption.empty() ? 0 : tr.Height();
  const int spacing = (gw > 0 && tw > 0) ? FSpacing : 0;
  const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  const int W = client.Width(), H = client.Height();
  int gx, gy, tx, ty;
  if (horizontal) {
    int total = gw + spacing + tw;
    int start = FMargin < 0 ? (W - total) / 2 : FMargin;
    gy = (H - gh) / 2;
    ty = (H - th) / 2;
    if (FLayout == blGlyphLeft) {
      gx = start;
      tx = start + gw + spacing;
    } else {
      int right = FMargin < 0 ? start + total : W - FMargin;
      gx = right - gw;
      tx = gx - spacing - tw;
    }
  } else {
    int total = gh + spacing + th;
    int start = FMargin < 0 ? (H - total) / 2 : FMargin;
    gx = (W - gw) / 2;
    tx = (W - tw) / 2;
    if (FLayout == blGlyphTop) {
      gy = start;
      ty = start + gh + spacing;
    } else {
      int bottom = FMargin < 0 ? start + total : H - FMargin;
      gy = bottom - gh;
      ty = gy - spacing - th;
    }
  }
  const int shift = pressed ? 1 : 0;
  if (gw > 0) DrawButtonGlyph(c, FGlyph.get(), FNumGlyphs, index, gx + shift, gy + shift);
  if (!caption.empty()) {
    c->Brush()->SetStyle(bsClear);
    RECT cr = Bounds(tx + shift, ty + shift, tw, th);
    if (!enabled) {
      // Disabled text: embossed, highlight below the shadow.
      RECT hr = Bounds(tx + 1, ty + 1, tw, th);
      c->Font()->SetColor(clBtnHighlight);
      DrawText(c->Handle(), caption.c_str(), int(caption.size()), &hr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
      c->Font()->SetColor(clBtnShadow);
    }
    DrawText(c->Handle(), caption.c_str(), int(caption.size()), &cr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}
