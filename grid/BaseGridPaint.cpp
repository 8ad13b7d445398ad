// The base cell painter: backgrounds, hover and active rows, selection looks, the grid's own
// lines, and each merged area painted once per paint pass.

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "controls/VevAzez.h"
#include "grid/AdvGridPaintKept.h"
#include "grid/BaseGrid.h"

namespace {

struct TSelectionColors {
  TColor From, To, MirrorFrom, MirrorTo, TopLine, BottomLine, Border, Edge;
};

// The colours of the selection looks, focused by style, and the one unfocused look.
const TSelectionColors& SelectionColors(TGridSelectionStyle Style, bool Focused) {
  static const TSelectionColors vista{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
  static const TSelectionColors win7{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
  static const TSelectionColors office{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
  static const TSelectionColors unfocused{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
  if (!Focused) return unfocused;
  switch (Style) {
    case ssWin7: return win7;
    case ssOffice2007: return office;
    default: return vista;
  }
}

// A one-pixel solid horizontal line on the grid's own canvas from (X1, Y) rightwards to X2:
// the run of pixels a pen line leaves (its end pixel left out), filled in the pen's colour
// without setting up the painter's pen and brush for each line; the pen ends at (X2, Y) as
// after LineTo.
void FillGridLine(TCanvas* Canvas, TColor Color, int X1, int X2, int Y) {
  HDC dc = Canvas->Handle();
  if (X2 > X1) {
    const TRect pixels(X1, Y, X2, Y + 1);
    const COLORREF old = SetDCBrushColor(dc, static_cast<COLORREF>(ColorToRGB(Color)));
    FillRect(dc, &pixels, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
  }
  Canvas->MoveTo(X2, Y);
}

// A background drawn once: its picture and the pen and brush colours its drawing left.
struct TKeptBackground {
  std::unique_ptr<TBitmap> Picture;
  TColor Pen, Brush;
};

}  // namespace

void PaintKeptBackground(TCanvas* Canvas, const TRect& R, const TKeptBackgroundKey& Key,
                         const std::function<void(TCanvas*, const TRect&)>& Paint) {
  const int w = R.Right - R.Left, h = R.Bottom - R.Top;
  TPen* pen = Canvas->Pen();
  TBrush* brush = Canvas->Brush();
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096 || pen->Mode() != pmCopy || pen->Width() != 1 ||
      brush->Style() != bsSolid || Canvas->CopyMode() != SRCCOPY) {
    Paint(Canvas, R);
    return;
  }
  // Painting runs on the main thread only; the pictures live as long as the program.
  static std::map<std::tuple<TKeptBackgroundKey, int, int>, TKeptBackground> kept;
  const auto key = std::make_tuple(Key, w, h);
  auto found = kept.find(key);
  if (found == kept.end()) {
    if (kept.size() >= 256) kept.clear();
    auto picture = std::make_unique<TBitmap>(w, h);
    TCanvas* c = picture->Canvas();
    c->Pen()->SetColor(pen->Color());
    c->Pen()->SetStyle(pen->Style());
    c->Brush()->SetColor(brush->Color());
    Paint(c, TRect(0, 0, w, h));
    TKeptBackground made{std::move(picture), c->Pen()->Color(), c->Brush()->Color()};
    found = kept.emplace(key, std::move(made)).first;
  }
  Canvas->CopyRect(R, found->second.Picture->Canvas(), TRect(0, 0, w, h));
  pen->SetColor(found->second.Pen);
  pen->SetStyle(psSolid);
  brush->SetColor(found->second.Brush);
}

void TBaseGrid::Paint() {
  FPainting = true;
  try {
    TObjStringGrid::Paint();
  } catch (...) {
    FPainting = false;
    ++FPaintID;
    throw;
  }
  FPainting = false;
  ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) {
  DoPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  DoPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  DoPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&, TColor&,
                                    TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&) {}

void TBaseGrid::DrawCellContents(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
  String s = Cells(ACol, ARow);
  if (s.empty()) return;
  RECT r = ARect;
  int oldMode = SetBkMode(ACanvas->Handle(), TRANSPARENT);
  DrawTextW(ACanvas->Handle(), reinterpret_cast<LPCWSTR>(s.c_str()), static_cast<int>(s.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SetBkMode(ACanvas->Handle(), oldMode);
}

void TBaseGrid::DoPaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Full) {
  TBrush* brush = ACanvas->Brush();
  TPen* pen = ACanvas->Pen();

  // The hidden last row shows the grid's colour only.
  if (ARow == RowCount() - 1 && FHideLastRow) {
    brush->SetStyle(bsSolid);
    brush->SetColor(Color());
    pen->SetColor(Color());
    ACanvas->Rectangle(ARect);
    return;
  }

  // A merged area is painted once per pass, through its base cell, whichever cell is asked.
  int bCol, bRow;
  if (!FindBaseCell(ACol, ARow, bCol, bRow)) {
    TCellProperties* base = GetCellProperties(bCol, bRow);
    if (FPainting && base->FPaintID == FPaintID) return;
    if (FPainting) base->FPaintID = FPaintID;
    PaintCell(ACanvas, bCol, bRow, ARect, AState);
    return;
  }
  // A base cell painted in a pass counts for its covered cells of the same pass.
  if (Full && FPainting && IsMergedCell(ACol, ARow)) GetCellProperties(ACol, ARow)->FPaintID = FPaintID;

  if (Full && IsFixed(ACol, ARow)) {
    AState += gdFixed;
    AState -= gdSelected;
  }
  if (Full) ARect = MirrorRect(CellRect(ACol, ARow));  // logical: the canvas is mirrored with the grid
  bool fixed = AState.Contains(gdFixed);

  // An area reaching under the fixed cells is clipped to the scrollable part (on the grid's
  // own canvas: a cell image painted elsewhere has no fixed cells beside it).
  int fw = ACol >= FixedCols() ? Origin() + FixedColsWidth() : 0;
  int fh = ARow >= FixedRows() ? Origin() + FixedRowsHeight() : 0;
  int saved = 0;
  if (ACanvas == Canvas() && ((ACol >= FixedCols() && FixedCols() > 0 && ARect.Left < fw) ||
                               (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < fh))) {
    saved = SaveDC(ACanvas->Handle());
    IntersectClipRect(ACanvas->Handle(), fw, fh, Width(), Height());
  }

  pen->SetWidth(1);
  ACanvas->Font()->Assign(Font());
  brush->SetStyle(bsSolid);
  brush->SetColor(fixed ? FixedColor() : Color());
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment hAlign = taLeftJustify;
  TVAlignment vAlign = vtaTop;
  bool wordWrap = FWordWrap;
  TCellGradientDirection direction = GradientVertical;
  GetVisualProperties(ACol, ARow, AState, false, true, true, brush, colorTo, mirror, mirrorTo, ACanvas->Font(), hAlign,
                      vAlign, wordWrap, direction);
  fixed = AState.Contains(gdFixed);
  pen->SetColor(brush->Color());

  if (ARow == FHoverRowIdx && FHoverRow && !AState.Contains(gdSelected)) {
    brush->SetColor(FHoverRowColor);
    colorTo = FHoverRowColorTo;
    mirror = clNone;
    mirrorTo = clNone;
    direction = GradientVertical;
  }
  bool current = ACol == Col() && ARow == Row();
  if ((FActiveRowShow && ARow == Row() && (!current || !FShowSel) && ACol >= FixedCols()) ||
      (!Full && AState.Contains(gdSelected))) {
    brush->SetColor(FActiveRowColor);
    colorTo = FActiveRowColorTo;
    mirror = FActiveRowMirrorColor;
    mirrorTo = FActiveRowMirrorColorTo;
  }
  pen->SetColor(brush->Color());

  // Background
  const TGridOptions& options = Options();
  if (AState.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
    TGridRect sel = Selection();
    int l = std::min(sel.Left, sel.Right), r = std::max(sel.Left, sel.Right);
    uint8_t endStyle = 0;
    if (ACol == l && l < r) endStyle = 1;
    else if (ACol == r && r > l) endStyle = 2;
    else if (l < ACol && ACol < r) endStyle = 3;
    TRect sr = ARect;
    if (!options.Contains(goHorzLine)) sr.Bottom += 1;
    if (!options.Contains(goVertLine)) sr.Right += 1;
    bool focused = Focused() || options.Contains(goDrawFocusSelected);
    const TSelectionColors& sc = SelectionColors(FSelectionStyle, focused);
    DrawSelectionGradient(ACanvas, sc.From, sc.To, sc.MirrorFrom, sc.MirrorTo, sc.TopLine, sc.BottomLine, sc.Border,
                          sc.Edge, Color(), sr, endStyle);
  } else if (mirrorTo != clNone && brush->Color() != clNone && (mirror != clNone || colorTo != clNone)) {
    // Two gradients, one above the other (or one): the same for every cell of this size.
    PaintKeptBackground(ACanvas, ARect, {1, brush->Color(), colorTo, mirror, mirrorTo, 0},
                        [&](TCanvas* C, const TRect& Area) {
                          FillMirrorGradient(C, Area, brush->Color(), colorTo, mirror, mirrorTo, true, clNone, false,
                                             true);
                        });
  } else if (mirrorTo != clNone) {
    FillMirrorGradient(ACanvas, ARect, brush->Color(), colorTo, mirror, mirrorTo, true, clNone, false, true);
  } else if (colorTo == clNone && brush->Color() != clNone && brush->Style() == bsSolid && pen->Mode() == pmCopy &&
             ARect.Right > ARect.Left && ARect.Bottom > ARect.Top) {
    // One colour: the pixels a gradient without an end colour gives (its outline in the
    // brush's colour round its fill), in one fill, with the pen and brush left as it leaves them.
    pen->SetColor(brush->Color());
    pen->SetStyle(psSolid);
    ACanvas->FillRect(ARect);
  } else if (colorTo != clNone && brush->Color() != clNone) {
    const bool horizontal = direction == GradientHorizontal;
    PaintKeptBackground(ACanvas, ARect, {2, brush->Color(), colorTo, 64, horizontal, 0},
                        [&](TCanvas* C, const TRect& Area) {
                          FillGradient(C, brush->Color(), colorTo, 64, Area, horizontal);
                        });
  } else {
    FillGradient(ACanvas, brush->Color(), colorTo, 64, ARect, direction == GradientHorizontal);
  }

  // Grid lines inside the cell's right and bottom edges.
  int h = 0;
  if (fixed) {
    pen->SetColor(FGridFixedLineColor);
    pen->SetWidth(1);
    h = 1;
  } else if (FGridLineWidth > 0) {
    pen->SetColor(FGridLineColor);
    pen->SetWidth(FGridLineWidth);
    h = (FGridLineWidth + 1) / 2;
  }
  if (h > 0) {
    pen->SetStyle(psSolid);
    bool horz = fixed ? options.Contains(goFixedHorzLine) : options.Contains(goHorzLine);
    bool vert = fixed ? options.Contains(goFixedVertLine) : options.Contains(goVertLine);
    if (horz && !(ACol == 0 && HasNodes())) {
      // A thin line in a plain colour on the grid's canvas is a filled run of pixels (the
      // vertical line's LineTo then takes the pen into the device context, as before).
      if (vert && h == 1 && pen->Width() == 1 && pen->Mode() == pmCopy && pen->Color() != clNone && ACanvas == Canvas()) {
        FillGridLine(ACanvas, pen->Color(), ARect.Left, ARect.Right, ARect.Bottom - 1);
      } else {
        ACanvas->MoveTo(ARect.Left - h + 1, ARect.Bottom - h);
        ACanvas->LineTo(ARect.Right - h + 1, ARect.Bottom - h);
      }
    }
    if (vert) {
      ACanvas->MoveTo(ARect.Right - h, ARect.Bottom - h);
      ACanvas->LineTo(ARect.Right - h, ARect.Top - h);
    }
  }

  TRect content = ARect;
  if (fixed) {
    content.Right -= 1;
    content.Bottom -= 2;
  } else {
    content = TRect(ARect.Left + FGridLineWidth, ARect.Top + FGridLineWidth, ARect.Right - FGridLineWidth,
                    ARect.Bottom - FGridLineWidth);
  }
  if (Full) DrawCellContents(ACanvas, ACol, ARow, content, AState);

  if (saved != 0) RestoreDC(ACanvas->Handle(), saved);
  pen->SetWidth(1);
  brush->SetStyle(bsSolid);
  pen->SetStyle(psSolid);
}
