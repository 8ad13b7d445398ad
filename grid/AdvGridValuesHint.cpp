#include "grid/AdvGridValuesHint.h"

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGridValuesModule.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MeasureCanvas.h"

namespace {

bool IsPackedWide(const String& S) { return ClassifyCellText(S, true) == 5; }

// Lays tagged text out on Canvas in R (measuring only, or drawing).
void HtmlText(TCanvas* Canvas, const String& Text, const TRect& R, bool Measure, bool WordWrap, int& W, int& H) {
  String href, plain, focused, title, ctrlID, ctrlVal, ctrlType;
  int32_t w = 0, h = 0, anchors = 0, hit = 0;
  TRect hitRect, ctrlRect;
  DrawHtmlText(Canvas, Text, R, nullptr, 0, 0, -1, -1, 1, false, Measure, false, false, true, false, WordWrap, false,
               1.0, TColor(0xFF0000), clNone, clNone, TColor(0x808080), href, plain, focused, title, w, h, anchors, hit,
               hitRect, ctrlRect, ctrlID, ctrlVal, ctrlType, nullptr, nullptr, nullptr, 0);
  W = w;
  H = h;
}

}  // namespace

void THTMLHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  Params.WindowClass.style |= CS_DROPSHADOW;
}

int THTMLHintWindow::Measure(const String& AHint, int MaxWidth) {
  TRect r(0, 0, MaxWidth, 4096);
  TMeasureCanvas canvas(Canvas());
  canvas->Font()->Assign(Font());
  if (IsPackedWide(AHint)) {
    FWideCaption = UnpackWideText(AHint);
    if (!HintFontName.empty()) canvas->Font()->SetName(HintFontName);
    TSize s = canvas->TextExtent(FWideCaption);
    FTextWidth = s.cx;
    FTextHeight = s.cy;
    return 8;
  }
  FWideCaption.clear();
  HtmlText(canvas.Canvas(), AHint, r, true, true, FTextWidth, FTextHeight);
  return 16;
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
  Measure(AHint, MaxWidth);
  return TRect(0, 0, FTextWidth, FTextHeight);
}

void THTMLHintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetCaption(AHint);
  TRect r = Rect;
  int margin = Measure(AHint, 1024 - 16);
  r.Right = r.Left + FTextWidth + margin;
  r.Bottom = r.Top + FTextHeight + 4;
  if (TMonitor* m = Screen->MonitorFromPoint(TPoint(r.Left, r.Top))) {
    TRect mr = m->BoundsRect();
    if (r.Right > mr.Right) {
      int shift = mr.Right - r.Right - 2;
      r.Left += shift;
      r.Right += shift;
    }
    if (r.Bottom > mr.Bottom) {
      r.Bottom = mr.Bottom - 2;
      r.Top = r.Bottom - FTextHeight - 4;
    }
  }
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetVisible(true);
  Invalidate();
}

void THTMLHintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect cr = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(cr);
  c->Pen()->SetColor(cl3DLight);
  c->Polyline({TPoint(cr.Left, cr.Bottom - 2), TPoint(cr.Left, cr.Top), TPoint(cr.Right - 1, cr.Top)});
  c->Pen()->SetColor(cl3DDkShadow);
  c->Polyline({TPoint(cr.Left, cr.Bottom - 1), TPoint(cr.Right - 1, cr.Bottom - 1), TPoint(cr.Right - 1, cr.Top - 1)});
  int top = cr.Top + (cr.Height() - FTextHeight) / 2;
  TRect tr(cr.Left + 4, top, cr.Right - 4, top + FTextHeight + 8);
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  if (!FWideCaption.empty()) {
    if (!HintFontName.empty()) c->Font()->SetName(HintFontName);
    c->TextRect(tr, tr.Left, tr.Top, FWideCaption);
    return;
  }
  int w = 0, h = 0;
  HtmlText(c, Caption(), tr, false, false, w, h);
}

void THTMLHintWindow::CMTextChanged(TMessage&) { Invalidate(); }
