// The string grid's painting order: Paint, then for each cell DrawCellContents with its steps
// (fixed-cell looks, row indicator, modified marker, always-visible editor buttons, text,
// borders, fixed-cell edges, node tree lines, graphic, drawing events, focus rectangle), and
// the sizing feedback lines.

#include <algorithm>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridPaintKept.h"
#include "platform/win/Gdi.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

namespace {

// The mouse pointer in a control's client coordinates.
TPoint MouseClient(const TControl* Control) {
  POINT pt{};
  GetCursorPos(&pt);
  return Control->ScreenToClient(pt);
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

// ===========================================================================
// Paint

void DEreDuzeroVaro::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetStyle(psSolid);
  c->Brush()->SetStyle(bsSolid);
  TBaseGrid::Paint();

  // The cell being edited keeps a frame in the grid line colour around its editor.
  if (EditorMode()) {
    TColor frame = GridLineWidth() >= 1 ? GridLineColor() : Color();
    if (!Options().Contains(goVertLine) && !Options().Contains(goHorzLine)) frame = Color();
    c->Pen()->SetColor(frame);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(CellRect(Col(), Row()));
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetColor(clBlack);
  }

  // The whole-grid background picture or gradient where no cell covers the client area.
  if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != clNone) PaintBackgroundOutsideCells();

  if (OnPainted) OnPainted(this);
}

// ===========================================================================
// Sizing lines

namespace {

// A black dotted XOR line with the canvas pen restored afterwards: drawn twice it is gone.
void XorDottedLine(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  TPen saved;
  saved.Assign(C->Pen());
  C->Pen()->SetStyle(psDot);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetMode(pmXor);
  Line(C, X1, Y1, X2, Y2);
  C->Pen()->Assign(&saved);
}

}  // namespace

void DEreDuzeroVaro::DrawColSizingLine(int X) {
  TRect last = CellRect(0, std::min(RowCount() - 1, TopRow() + VisibleRowCount()));
  XorDottedLine(Canvas(), X, 0, X, std::min(last.Bottom > 0 ? last.Bottom : Height(), Height()));
}

void DEreDuzeroVaro::DrawRowSizingLine(int Y) {
  TRect last = CellRect(std::min(ColCount() - 1, LeftCol() + VisibleColCount()), 0);
  XorDottedLine(Canvas(), 0, Y, std::min(last.Right > 0 ? last.Right : Width(), Width()), Y);
}

// ===========================================================================
// The cell painter

void DEreDuzeroVaro::DrawCellContents(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCellPaint P;
  P.Canvas = ACanvas;
  P.ACol = ACol;
  P.ARow = ARow;
  P.State = AState;
  TRect R = ARect;

  P.RCol = RealColIndex(ACol);
  P.SelRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
  P.Fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
  if (ARow == FilterDropDownRow()) P.FilterGlyph = BuildFilterList(P.RCol);

  // Scroll-bar cells scroll their text by the cell's position.
  if (HasScrollBar(P.RCol, ARow)) {
    TScrollProp prop = GetScrollProp(P.RCol, ARow);
    if (prop.PageSize < prop.Range) {
      P.ScrollPos = GetScrollPosition(P.RCol, ARow);
      int w = GetSystemMetrics(SM_CXVSCROLL);
      TRect bar(R.Right - w, R.Top, R.Right, R.Bottom);
      ACanvas->Brush()->SetColor(clBtnFace);
      ACanvas->FillRect(bar);
      // The thumb: its share of the range, at its position.
      int track = bar.Height(), thumb = std::max(8, prop.Range > 0 ? track * std::max(prop.PageSize, 1) / prop.Range : track);
      int top = prop.Range > prop.PageSize ? (track - thumb) * P.ScrollPos / std::max(1, prop.Range - prop.PageSize) : 0;
      TRect thumbR(bar.Left + 1, bar.Top + top, bar.Right - 1, bar.Top + std::min(track, top + thumb));
      ACanvas->Brush()->SetColor(clBtnShadow);
      ACanvas->FillRect(thumbR);
      R.Right -= w;
    }
  }

  P.WordWrap = WordWrap();
  GetVisualProperties(ACol, ARow, P.State, false, false, true, ACanvas->Brush(), P.ColorTo, P.MirrorColor,
                      P.MirrorColorTo, ACanvas->Font(), P.HA, P.VA, P.WordWrap, P.Direction);
  P.HAText = P.HA;

  P.Graphic = GetCellGraphicExtent(P.RCol, ARow, P.GraphicWidth, P.GraphicHeight, P.ShowText, P.GraphicHAlign,
                          P.GraphicVAlign);
  if (P.RCol == 0 && IsNode(ARow)) {
    TCellProperties* props = HasCellProperties(0, ARow) ? GetCellProperties(0, ARow) : nullptr;
    P.GraphicWidth = (props ? props->NodeLevel() : 0) * 12 + 4;
  }

  if (P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && SelectionColor() == clNone)
    ACanvas->Brush()->SetColor(clHighlight);
  if (ZoomFactor() != 0) ACanvas->Font()->SetSize(ACanvas->Font()->Size() + ZoomFactor());
  P.SavedBrush = ACanvas->Brush()->Color();
  P.SavedFont = ACanvas->Font()->Color();

  if (P.Fixed && (FLook == glZOL || FLook == glXP || FLook == glVista || FLook == glWin7 || FLook == glOffice2007))
    PaintFixedLook(P, R);

  // Row indicator in front of the current row.
  TBitmap* indicator = FRowIndicator.get();
  const bool hasIndicator = ARow == Row() && FixedCols() > 0 && !indicator->Empty();
  if (P.RCol == 0 && hasIndicator) {
    int y = R.Top;
    if (VAlignment() == vtaCenter) y = R.Top + (R.Height() - indicator->Height()) / 2;
    else if (VAlignment() == vtaBottom) y = R.Bottom - indicator->Height();
    DrawTransparent(ACanvas, R.Left + 2, y, indicator);
    R.Left += indicator->Width() + 2;
  }

  if (P.Fixed && FLook == glListView && !Flat()) {
    HTHEME theme = VisualStylesActive() ? OpenThemeData(Handle(), u"header") : nullptr;
    if (theme) {
      TPoint pt = MouseClient(this);
      TRect hr = R;
      hr.Bottom += 1;
      bool inside = hr.Contains(pt);
      bool held = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
      RECT rr = hr;
      DrawThemeBackground(theme, ACanvas->Handle(), inside ? 1 : 2, inside ? (held ? 3 : 2) : 1, &rr, nullptr);
      CloseThemeData(theme);
      ACanvas->Pen()->SetColor(clWhite);
      Line(ACanvas, R.Left, R.Top, R.Right, R.Top);
    } else {
      ACanvas->Brush()->SetColor(clBtnFace);
      ACanvas->Pen()->SetColor(clWhite);
      ACanvas->Rectangle(R);
    }
  }

  // Modified rows: a bar at the right of the first column.
  if (ACol == 0 && FShowModified->Enabled() && FModifiedRows->HasValue(RealRowIndex(ARow))) {
    ACanvas->Brush()->SetColor(FShowModified->Color());
    ACanvas->FillRect(TRect(R.Right - 4, R.Top, R.Right, R.Bottom));
    ACanvas->Brush()->SetColor(P.SavedBrush);
  }

  if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, ACanvas, P.RCol, ARow, P.State, R, false);

  const int savedRight = R.Right;

  // Editor buttons shown without editing.
  if (!IsFixed(ACol, ARow) && (FControlLook->DropDownAlwaysVisible() || FControlLook->SpinButtonsAlwaysVisible())) {
    uint8_t look = CellButtonLook();
    bool allow = true;
    CellEditAllowed(P.RCol, ARow, allow);
    uint8_t state = allow ? 0 : 3;
    if (FControlLook->DropDownAlwaysVisible() && HasComboBox(P.RCol, ARow)) {
      DrawComboButton(ACanvas, Handle(), TRect(R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom), look, state, FColorTones);
      R.Right -= 16;
    }
    if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(P.RCol, ARow)) {
      DrawSpinButtons(ACanvas, Handle(), R, look, state, FColorTones);
      R.Right -= 16;
    }
  }

  PaintInterfaceGraphic(P, R, true);  // a self-drawing cell object that draws as the background
  const bool drawEvents = static_cast<bool>(OnDrawCell) || static_cast<bool>(OnCustomCellDraw);
  if (!(NoDefaultDraw() && drawEvents) && (!P.Graphic || !NoImageAndText())) PaintCellText(P, R);

  R.Right = savedRight;
  ACanvas->Brush()->SetColor(P.SavedBrush);
  ACanvas->Font()->SetColor(P.SavedFont);
  R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  PaintCellBorders(P, R);

  if (ACol == 0 && hasIndicator) R.Left -= indicator->Width();

  PaintFixedEdges(P, R);
  PaintNodeTree(P, R);

  if (P.Graphic) {
    TRect g = R;
    if (P.Fixed) g.Top += 1;
    PaintCellGraphic(P, g);
    R = g;
    if (P.Fixed) R.Top -= 1;
  }

  if (OnDrawCell) {
    TRect d(R.Left + 1, R.Top + 1, R.Right + GridLineWidth(), R.Bottom + GridLineWidth());
    OnDrawCell(this, P.RCol, ARow, d, P.State);
  }
  if (OnCustomCellDraw) OnCustomCellDraw(this, ACanvas, P.RCol, ARow, P.State, R, false);

  // The focus rectangle on the current cell.
  if (!HideFocusRect()) {
    TPoint base = BaseCell(ACol, ARow);
    if (base.X == Col() && base.Y == Row() && Focused() && !Options().Contains(goRowSelect) && Row() >= FixedRows() &&
        Col() >= FixedCols()) {
      int grow = GridLineWidth() - 1;
      TRect f(R.Left - grow, R.Top - grow, R.Right + grow - 1, R.Bottom + grow - 1);
      ACanvas->DrawFocusRect(f);
    }
  }
}

// ===========================================================================
// Fixed cells

void DEreDuzeroVaro::PaintFixedLook(TCellPaint& P, TRect& R) {
  TCanvas* c = P.Canvas;
  const bool moving = GridState() == gsColMoving;
  const bool hovered = IsHoverFixedCell(P.ACol, P.ARow) &&
                       ((!moving && FHoverFixedCell.X == P.ACol && FHoverFixedCell.Y == P.ARow) ||
                        (moving && FDragColumn == P.ACol)) &&
                       !ComponentState().Contains(csDesigning);
  if (hovered) {
    R.Bottom += 1;
    const bool held = (GetKeyState(VK_LBUTTON) & 0x8000) != 0 || (moving && FDragColumn >= 0);
    auto down = [&](const TRect& A) {
      FillMirrorGradient(c, A, FZOLGradDownFrom, FZOLGradDownTo, FZOLGradDownMirrorFrom, FZOLGradDownMirrorTo, true,
                         FZOLGradDownBorder, false, true);
    };
    auto hover = [&](const TRect& A) {
      FillMirrorGradient(c, A, FZOLGradHoverFrom, FZOLGradHoverTo, FZOLGradHoverMirrorFrom, FZOLGradHoverMirrorTo,
                         true, FZOLGradHoverBorder, false, true);
    };
    const bool dropDown = FControlLook->FixedDropDownButton() && CanShowFixedDropDown(P.RCol);
    if (held) {
      if (dropDown) {
        TRect left(R.Left, R.Top, R.Right - 16, R.Bottom), right(R.Right - 16, R.Top, R.Right, R.Bottom);
        TPoint pt = MouseClient(this);
        if (right.Contains(pt)) {
          hover(left);
          down(right);
        } else {
          down(left);
          hover(right);
        }
      } else {
        down(R);
      }
    } else {
      hover(R);
    }
    if (dropDown) {
      c->Pen()->SetColor(held ? FZOLGradDownBorder : FZOLGradHoverBorder);
      Line(c, R.Right - 16, R.Top, R.Right - 16, R.Bottom);
      DrawDownTriangle(c, R.Right - 8, R.Top + 8, clBlack);
      R.Right -= 16;
    }
    return;
  }
  if (FActiveCellShow && ((FixedCols() > 0 && P.ACol == FixedCols() - 1 && P.ARow == Row()) ||
                          (FixedRows() > 0 && P.ARow == FixedRows() - 1 && P.ACol == Col()))) {
    FillGradient(c, FActiveCellColor, FActiveCellColorTo, 64, R, false);
    return;
  }
  TSortSettings* ss = FSortSettings.get();
  if (ss->Column() != -1 && ss->HeaderColor() != clNone && P.RCol == ss->Column() && P.ARow == FixedRows() - 1 &&
      (P.ACol + 1 > FixedCols() || ss->FixedCols())) {
    FillMirrorGradient(c, R, ss->HeaderColor(), ss->HeaderColorTo(), ss->HeaderMirrorColor(),
                       ss->HeaderMirrorColorTo(), true, clNone, false, true);
    return;
  }
  if (!Flat()) {
    const TColor from = c->Brush()->Color();
    if (from != clNone && (P.MirrorColor != clNone || P.ColorTo != clNone)) {
      PaintKeptBackground(c, R, {1, from, P.ColorTo, P.MirrorColor, P.MirrorColorTo, 0},
                          [&](TCanvas* C, const TRect& Area) {
                            FillMirrorGradient(C, Area, from, P.ColorTo, P.MirrorColor, P.MirrorColorTo, true, clNone,
                                               false, true);
                          });
    } else {
      FillMirrorGradient(c, R, from, P.ColorTo, P.MirrorColor, P.MirrorColorTo, true, clNone, false, true);
    }
    if (FLook == glVista) {
      c->Pen()->SetColor(clWhite);
      Line(c, R.Left, R.Top, R.Left, R.Bottom);
      Line(c, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
    }
    c->Brush()->SetColor(P.SavedBrush);
  }
}

void DEreDuzeroVaro::PaintFixedEdges(TCellPaint& P, TRect& R) {
  TCanvas* c = P.Canvas;
  const TGridOptions& o = Options();
  auto softFrame = [&](TColor Colour) {
    c->Pen()->SetColor(Colour);
    c->Pen()->SetWidth(1);
    if (o.Contains(goFixedHorzLine)) {
      Line(c, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
      Line(c, R.Left - 1, R.Bottom + 1, R.Right + 1, R.Bottom + 1);
    }
    if (o.Contains(goFixedVertLine)) {
      Line(c, R.Left - 1, R.Top - 1, R.Left - 1, R.Bottom + 1);
      Line(c, R.Right + 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    }
  };
  if (P.Fixed && !Flat()) {
    const TColor half = HalfColor(FixedColor());
    switch (FLook) {
      case glClassic: {
        R.Top += 1;
        R.Bottom += 1;
        R.Left += 1;
        RECT r = R;
        DrawEdge(c->Handle(), &r, BDR_RAISEDINNER, BF_LEFT);
        DrawEdge(c->Handle(), &r, BDR_RAISEDINNER, BF_TOP);
        DrawEdge(c->Handle(), &r, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        c->Pen()->SetColor(clBlack);
        Line(c, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
        c->LineTo(R.Left - 1, R.Bottom - 1);
        break;
      }
      case glZOL:
      case glXP:
        R.Bottom += 1;
        if (o.Contains(goFixedHorzLine)) {
          c->Pen()->SetColor(half);
          Line(c, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
          c->Pen()->SetColor(clWhite);
          Line(c, R.Right - 2, R.Top + 1, R.Left + 1, R.Top + 1);
          c->LineTo(R.Left + 1, R.Bottom - 1);
        }
        break;
      case glSoft:
        if (!Flat()) {
          R.Right += 1;
          R.Bottom += 1;
          if (o.Contains(goFixedHorzLine)) {
            c->Pen()->SetColor(half);
            Line(c, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
            c->Pen()->SetColor(clWhite);
            Line(c, R.Right, R.Top + 1, R.Left + 1, R.Top + 1);
            c->LineTo(R.Left + 1, R.Bottom - 1);
          }
          if (o.Contains(goFixedVertLine)) {
            c->Pen()->SetColor(half);
            Line(c, R.Right - 2, R.Top, R.Right - 2, R.Bottom - 1);
            c->Pen()->SetColor(clWhite);
            Line(c, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
          }
        } else {
          softFrame(clBlack);
        }
        break;
      default:
        break;
    }
  }
  // Fixed right columns get a frame of their own.
  if (FFixedRightCols > 0 && FFixedRightCols >= ColCount() - P.RCol + FNumHidden && FLook != glClassic && Flat())
    softFrame(Flat() ? static_cast<TColor>(0x808080) : clBlack);
}

// ===========================================================================
// Borders and tree lines

void DEreDuzeroVaro::PaintCellBorders(TCellPaint& P, const TRect& R) {
  TCanvas* c = P.Canvas;
  TPen saved;
  saved.Assign(c->Pen());
  TCellBorders borders;
  GetCellBorder(P.RCol, P.ARow, c->Pen(), borders);
  TPen left, top, right, bottom;
  left.Assign(c->Pen());
  top.Assign(c->Pen());
  right.Assign(c->Pen());
  bottom.Assign(c->Pen());
  if (OnGetCellBorderProp) OnGetCellBorderProp(this, P.ARow, P.RCol, &left, &top, &right, &bottom);
  if (!borders.Empty()) {
    const int w = (c->Pen()->Width() + 1) / 2;
    const int li = Options().Contains(goVertLine) ? w : 0;
    const int ti = Options().Contains(goHorzLine) ? w : 0;
    const int glw = GridLineWidth();
    if (borders.Contains(cbLeft)) {
      c->Pen()->Assign(&left);
      int x = std::max(0, R.Left + li);
      Line(c, x, R.Top, x, R.Bottom - ti);
    }
    if (borders.Contains(cbRight)) {
      c->Pen()->Assign(&right);
      Line(c, R.Right - li - 1, R.Top, R.Right - li - 1, R.Bottom - ti);
    }
    if (borders.Contains(cbTop)) {
      c->Pen()->Assign(&top);
      int y = glw == 0 ? R.Top + ti + 1 : std::max(0, R.Top + ti - glw);
      Line(c, R.Left + li, y, R.Right - li, y);
    }
    if (borders.Contains(cbBottom)) {
      c->Pen()->Assign(&bottom);
      Line(c, R.Left + li - glw - 1, R.Bottom - ti - 1, R.Right - li, R.Bottom - ti - 1);
    }
  }
  c->Pen()->Assign(&saved);
}

void DEreDuzeroVaro::PaintNodeTree(TCellPaint& P, TRect R) {
  if (P.RCol != 0 || P.ARow < FixedRows() || !FCellNode->ShowTree() || !HasNodes()) return;
  TCanvas* c = P.Canvas;
  c->Pen()->SetColor(FCellNode->TreeColor());
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  const int indent = FCellNode->NodeIndent();
  auto levelOf = [&](int ARow) { return HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0; };
  const int level = levelOf(P.ARow);
  R.Left = GetNodeIndent(P.ARow);
  const int x = R.Left - indent + indent / 2 + 2;
  const int m = R.Top + (R.Bottom - R.Top) / 2;
  if (level > 0) Line(c, x, m, FCellNode->ShowTreeFull() ? R.Right : R.Left + 4, m);
  switch (GetNodeSpanType(P.ARow)) {
    case 1:
      Line(c, x, R.Top, x, m);
      break;
    case 2:
      Line(c, x, R.Top, x, R.Bottom + 4);
      break;
    default:
      break;
  }
  if (HasCellProperties(0, P.ARow) && level > 0) {
    const bool last = P.ARow >= RowCount() - 1;
    for (int i = 1; i <= level; ++i) {
      const int xi = x - i * indent;
      Line(c, xi, R.Top, xi, m);
      if (!last && levelOf(P.ARow + 1) != 0)
        Line(c, xi, m, xi, R.Bottom + 4);
      else if (i < level)
        Line(c, xi, m, xi + indent, m);
    }
  }
  c->Pen()->SetStyle(psSolid);
}
