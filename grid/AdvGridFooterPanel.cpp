// TFooterPanel: the floating footer's strip at the bottom of a string grid.
#include "grid/AdvGridFooterPanel.h"

#include <algorithm>

#include "controls/HtmlText.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner), FGrid(dynamic_cast<DEreDuzeroVaro*>(AOwner)) {
  SetBevelOuter(bvNone);
  SetShowCaption(false);
}

void TFooterPanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  if (!FGrid) return;
  TFloatingFooter* ff = FGrid->FloatingFooter();
  SetHeight(ff->Visible() ? ff->Height() : 0);
  if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(FGrid);
}

std::vector<int> TFooterPanel::ShownColumns() {
  std::vector<int> cols;
  for (int c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount(); ++c) cols.push_back(c);
  for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c) cols.push_back(c);
  return cols;
}

int TFooterPanel::ColumnsLeft() {
  // Where the grid's first column starts (inside its own border), counted from the side the
  // columns start at.
  return FGrid->ColCount() > 0 ? std::max(0, FGrid->MirrorRect(FGrid->CalcCellRect(0, 0)).Left) : 0;
}

int TFooterPanel::ColumnsWidth() {
  int w = ColumnsLeft();
  for (int c : ShownColumns()) w += FGrid->ColWidths(c);
  return w;
}

int TFooterPanel::ColumnAt(int X) {
  // A mirrored grid's columns run from the right edge.
  if (FGrid->UseRightToLeftAlignment()) X = Width() - 1 - X;
  int x = ColumnsLeft();
  for (int c : ShownColumns()) {
    x += FGrid->ColWidths(c);
    if (x > X) return c;
  }
  return -1;
}

String TFooterPanel::ExpandTemplate(const String& Template) {
  String result;
  size_t pos = 0;
  for (;;) {
    const size_t tag = Template.find(u"<#", pos);
    if (tag == String::npos) break;
    const size_t close = Template.find(u'>', tag + 2);
    // A tag without its end is kept as text, and the scan ends.
    if (close == String::npos) break;
    result += Template.substr(pos, tag - pos);
    int32_t col = 0;
    if (TryStrToInt(Template.substr(tag + 2, close - tag - 2), col) && col >= 0 && col < FGrid->AllColCount())
      result += FGrid->Cells(col, FGrid->Row());
    pos = close + 1;
  }
  result += Template.substr(pos);
  return result;
}

// ===========================================================================
// Painting

void TFooterPanel::Paint() {
  if (!FGrid) return;
  TFloatingFooter* ff = FGrid->FloatingFooter();
  int w = Width();
  // Under a mirrored grid the strip is painted left to right on a mirrored canvas, so its
  // cells line up with the grid's; texts are drawn the right way round into them.
  HDC dc = Canvas()->Handle();
  const int oldAxis = SetMirrorAxis(dc, FGrid->UseRightToLeftAlignment() ? Width() : 0);
  TScopeGuard restore([dc, oldAxis] { SetMirrorAxis(dc, oldAxis); });
  switch (ff->FooterStyle()) {
    case fsFixedLastRow: w = PaintLastRow(); break;
    case fsColumnPreview: w = PaintColumnPreview(); break;
    case fsCustomPreview: w = PaintTemplatePreview(); break;
    case fsCustomPaint: w = PaintCustom(); break;
  }
  if (ff->BorderColor() != clNone) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(ff->BorderColor());
    c->MoveTo(0, 0);
    c->LineTo(w, 0);
  }
}

int TFooterPanel::PaintLastRow() {
  TCanvas* canvas = Canvas();
  TFloatingFooter* ff = FGrid->FloatingFooter();
  const TRect client = ClientRect();
  const int cw = ColumnsWidth();
  FGrid->FlushFooterCalc();
  const int R = FGrid->RowCount() - 1;
  canvas->Brush()->SetColor(ff->Color());
  canvas->Pen()->SetColor(ff->Color());
  canvas->FillRect(TRect(0, client.Top, std::min(cw, client.Right), client.Bottom));
  if (cw < client.Right) {
    canvas->Brush()->SetColor(FGrid->Color());
    canvas->FillRect(TRect(cw, client.Top, client.Right, client.Bottom));
  }
  if (R < 0) return 0;
  const TGridOptions opts = FGrid->Options();
  const bool vert = opts.Contains(goFixedVertLine), horz = opts.Contains(goFixedHorzLine);
  const TGridLook look = FGrid->Look();
  const bool whiteLeft =
      vert && (look == glSoft || look == glZOL || look == glXP || look == glVista) && !FGrid->Flat();
  const std::vector<int> cols = ShownColumns();
  const int left = ColumnsLeft();

  // Cell frames: each cell takes its column's width, its grid line drawn at its right edge.
  int x = left;
  for (int c : cols) {
    const bool fixed = c < FGrid->FixedCols();
    const int x0 = x;
    if (whiteLeft) {
      canvas->Pen()->SetColor(clWhite);
      canvas->MoveTo(x0, client.Bottom);
      canvas->LineTo(x0, client.Top);
    }
    x += FGrid->ColWidths(c);
    if (horz) {
      canvas->Pen()->SetColor(FGrid->GridLineColor());
      canvas->MoveTo(x0, client.Top);
      canvas->LineTo(x - 1, client.Top);
    }
    if (vert) {
      canvas->Pen()->SetColor(!fixed && look != glVista ? TColor(0x808080) : FGrid->GridLineColor());
      canvas->MoveTo(x - 1, client.Top);
      canvas->LineTo(x - 1, client.Bottom);
    }
  }

  // Cell contents.
  TRect r(0, client.Top + (horz ? 1 : 0), 0, client.Bottom);
  int right = left;
  x = left;
  for (size_t i = 0; i < cols.size(); ++i) {
    const int c = cols[i];
    const bool fixed = c < FGrid->FixedCols();
    r.Left = x;
    r.Right = x + FGrid->ColWidths(c);
    x = r.Right;
    const int rc = FGrid->RealColIndex(c);
    if (!FGrid->IsBaseCell(rc, R)) continue;  // covered by a merged cell painted at its base
    if (FGrid->IsMergedCell(rc, R)) {
      // The merged cell reaches over the columns it covers.
      const TPoint span = FGrid->CellSpan(rc, R);
      for (size_t k = i + 1; k < cols.size() && cols[k] <= c + span.X; ++k) r.Right += FGrid->ColWidths(cols[k]);
    }
    if (!fixed) {
      if (FGrid->OnGetCellColor) {
        TBrush brush;
        brush.SetColor(clNone);
        TFont font;
        FGrid->OnGetCellColor(FGrid, R, rc, TGridDrawState{gdFixed}, &brush, &font);
        if (brush.Color() != clNone) {
          canvas->Brush()->SetColor(brush.Color());
          canvas->FillRect(r);
        }
      }
      const TColor own = FGrid->Colors(rc, R);
      if (own != clNone) {
        canvas->Brush()->SetColor(own);
        canvas->FillRect(r);
      }
    }
    if (!fixed && FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, c, canvas, r);
    else FGrid->DrawCellContents(canvas, c, R, r, TGridDrawState{gdFixed});
    right = r.Right;
  }
  return right;
}

void TFooterPanel::PaintPreviewFrame(int W) {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  canvas->Brush()->SetColor(FGrid->FloatingFooter()->Color());
  canvas->FillRect(TRect(0, client.Top, W, client.Bottom));
  canvas->Pen()->SetColor(TColor(0x808080));
  canvas->MoveTo(0, client.Bottom - 1);
  canvas->LineTo(W - 1, client.Bottom - 1);
  canvas->LineTo(W - 1, client.Top);
  canvas->Pen()->SetColor(clWhite);
  canvas->LineTo(0, client.Top);
  canvas->LineTo(0, client.Bottom - 1);
}

int TFooterPanel::PaintColumnPreview() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  const int cw = ColumnsWidth();
  PaintPreviewFrame(cw);
  const TColor oldSel = FGrid->SelectionTextColor();
  FGrid->FSelectionTextColor = clBlack;
  {
    const TRect area(0, client.Top, cw, client.Bottom);
    TFloatingFooter* ff = FGrid->FloatingFooter();
    struct TRestore {
      DEreDuzeroVaro* G;
      TColor C;
      ~TRestore() { G->FSelectionTextColor = C; }
    } restore{FGrid, oldSel};
    if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, ff->Column(), canvas, area);
    else if (ff->Column() >= 0 && ff->Column() < FGrid->ColCount())
      FGrid->DrawCellContents(canvas, ff->Column(), FGrid->Row(), area, TGridDrawState{});
  }
  if (cw < client.Right) {
    canvas->Brush()->SetColor(FGrid->Color());
    canvas->FillRect(TRect(cw, client.Top, client.Right, client.Bottom));
  }
  return cw;
}

int TFooterPanel::PaintTemplatePreview() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  const int cw = ColumnsWidth();
  PaintPreviewFrame(cw);
  const TColor oldSel = FGrid->SelectionTextColor();
  FGrid->FSelectionTextColor = clBlack;
  {
    struct TRestore {
      DEreDuzeroVaro* G;
      TColor C;
      ~TRestore() { G->FSelectionTextColor = C; }
    } restore{FGrid, oldSel};
    const String text = ExpandTemplate(FGrid->FloatingFooter()->CustomTemplate());
    TRect area(0, client.Top + 2, cw, client.Bottom);
    String hitHref, plain, focusedHref, hitTitle, controlID, controlValue, controlType;
    int32_t tw = 0, th = 0, anchors = 0, hitAnchor = 0;
    TRect hitAnchorRect, hitControlRect;
    canvas->Brush()->SetStyle(bsClear);
    const TUnmirroredDC unmirrored(canvas->Handle());
    area = unmirrored.Flip(area);
    DrawHtmlText(canvas, text, area, FGrid->GridImages(), 0, 0, -1, -1, 1, false, false, false, false, true, false,
                 !FGrid->EnhTextSize(), false, 1.0, FGrid->URLColor(), clNone, clNone, TColor(0x808080), hitHref,
                 plain, focusedHref, hitTitle, tw, th, anchors, hitAnchor, hitAnchorRect, hitControlRect, controlID,
                 controlValue, controlType, FGrid->ImageCache(), FGrid->PictureContainer(), nullptr, 0);
    canvas->Brush()->SetStyle(bsSolid);
  }
  if (cw < client.Right) {
    canvas->Brush()->SetColor(FGrid->Color());
    canvas->FillRect(TRect(cw, client.Top, client.Right, client.Bottom));
  }
  return cw;
}

int TFooterPanel::PaintCustom() {
  const TRect client = ClientRect();
  if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, FGrid->FloatingFooter()->Column(), Canvas(), client);
  return client.Right;
}

// ===========================================================================
// Mouse and hints

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  if (!FGrid) return;
  if (FGrid->OnClick) FGrid->OnClick(FGrid);
  if (FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, ColumnAt(X));
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseMove(Shift, X, Y);
  if (!FGrid || !ShowHint()) return;
  const int col = ColumnAt(X);
  if (FLastHintX >= 0 && col != FLastHintX) {
    Application->CancelHint();
    FLastHintX = col;
  }
}

void TFooterPanel::CMHintShow(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  const int col = info && FGrid ? ColumnAt(info->CursorPos.X) : -1;
  if (info && col >= 0 && FGrid->OnGridHint) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, info->HintStr);
  FLastHintX = ShowHint() && col >= 0 ? col : -1;
  Message.Result = ShowHint() ? 0 : 1;
}

void TFooterPanel::CMMouseLeave(TMessage& Message) {
  TCustomPanel::CMMouseLeave(Message);
  FLastHintX = -1;
}
