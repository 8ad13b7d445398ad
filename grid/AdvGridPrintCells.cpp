// Cells on paper: print measurement of cells, columns and rows, fit to page, and the printing of
// a row's cells (background, text of every kind, graphic, borders) in the run's units.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGridPrintRun.h"
#include "grid/AdvGridValuesRich.h"
#include "platform/ui/ImgList.h"
#include "platform/win/Gdi.h"

namespace {

// A text's lines as the grid shows them: only the first one unless the cells are multi-line,
// URL protocols stripped when addresses show without them.
std::vector<String> PrintLines(String Text, bool MultiLine, bool StripUrls) {
  std::vector<String> lines;
  do {
    String line;
    ExtractFirstLine(Text, MultiLine, line);
    if (StripUrls) StripUrlProtocol(line);
    lines.push_back(line);
  } while (!Text.empty());
  return lines;
}

TColor Complement(TColor C) { return static_cast<TColor>((ColorToRGB(C) ^ 0xFFFFFF) & 0xFFFFFF); }

// The largest side of a bitmap a cell object draws itself on.
constexpr int kMaxDrawnSide = 4096;

// The whole bitmap stretched into Dest with the raster operation Rop.
void PrintBitmapRop(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap, TCopyMode Rop) {
  const TCopyMode old = Canvas->CopyMode();
  Canvas->SetCopyMode(Rop);
  Canvas->CopyRect(Dest, Bitmap->Canvas(), TRect(0, 0, Bitmap->Width(), Bitmap->Height()));
  Canvas->SetCopyMode(old);
}

// An icon goes to paper in two passes: its mask (white where the icon is transparent, black
// where it is not) copied, then its colour bits (black where transparent) XOR-ed over it. The
// passes are made on a bitmap, which is then copied, so that a printer without raster
// operations (a PDF) gets the same picture. Mask and colour bits come from the icon drawn on
// black and on white: where the two differ by more than half, the icon is transparent.
void PrintIcon(TCanvas* Canvas, const TRect& Dest, TIcon* Icon) {
  const int w = Icon->Width(), h = Icon->Height();
  if (w <= 0 || h <= 0) return;
  auto filled = [w, h](TBitmap& B, TColor Color) {
    B.SetSize(w, h);
    B.Canvas()->Brush()->SetColor(Color);
    B.Canvas()->FillRect(TRect(0, 0, w, h));
  };
  TBitmap onBlack, onWhite, mask, colour, paper;
  filled(onBlack, clBlack);
  filled(onWhite, clWhite);
  onBlack.Canvas()->Draw(0, 0, Icon);
  onWhite.Canvas()->Draw(0, 0, Icon);
  filled(mask, clBlack);
  filled(colour, clBlack);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t b = ColorToRGB(onBlack.Canvas()->Pixels(x, y)), l = ColorToRGB(onWhite.Canvas()->Pixels(x, y));
      int see = 0;
      for (int shift = 0; shift < 24; shift += 8) see = std::max(see, int((l >> shift) & 0xFF) - int((b >> shift) & 0xFF));
      if (see > 127) mask.Canvas()->SetPixels(x, y, clWhite);
      else colour.Canvas()->SetPixels(x, y, static_cast<TColor>(b));
    }
  filled(paper, clWhite);
  PrintBitmapRop(paper.Canvas(), TRect(0, 0, w, h), &mask, SRCCOPY);
  PrintBitmapRop(paper.Canvas(), TRect(0, 0, w, h), &colour, SRCINVERT);
  PrintBitmapRop(Canvas, Dest, &paper, SRCCOPY);
}

}  // namespace

void DEreDuzeroVaro::MeasurePrintCell(int ACol, int ARow, TPoint& Size) {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  TCanvas* c = r.Canvas;
  String text = IsDataCell(ACol, ARow) ? String() : GetFormattedCell(ACol, ARow);
  const uint8_t kind = ClassifyCellText(text, EnableHTML());

  if (kind == 1) {
    TFont savedFont;
    savedFont.Assign(c->Font());
    c->Font()->SetSize(static_cast<int>(std::trunc(ps->Font()->Size() * r.FitScale)));
    const int w = ps->NoAutoSize() ? r.DX(static_cast<int>(std::lround((ColWidths(ACol) + 12) * r.PixelFactor))) : 65535;
    String hitHref, plain, focused, title, id, value, type;
    int32_t tw = 0, th = 0, ac = 0, hai = 0;
    TRect har, hcr;
    DrawHtmlText(c, text, TRect(0, 0, w, 65535), FGridImages, -1, -1, -1, -1, 1, false, true, true, false, true, false,
                 !FEnhTextSize, false, r.DeviceRatio, FURLColor, clNone, clNone, clGray, hitHref, plain, focused,
                 title, tw, th, ac, hai, har, hcr, id, value, type, nullptr, nullptr, nullptr, 0);
    Size = TPoint(r.LX(tw), r.LY(th));
    c->Font()->Assign(&savedFont);
    r.MeasureFont = nullptr;
    return;
  }
  if (kind == 2) {
    TCustomRichEdit* rich = AsRichEdit(RichEdit());
    CellToRich(ACol, ARow, rich);
    text = RichPlainText(rich);
  } else if (kind == 3) {
    text = GetPrintCellText(ACol, ARow);
  }

  // The cell's font, put on the canvas only when it differs from the last cell's.
  TFont& font = r.ScratchFont;
  font.Assign(ps->Font());
  TBrush& brush = r.ScratchBrush;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  TCellGradientDirection gd = GradientVertical;
  TGridDrawState state;
  GetVisualProperties(ACol, ARow, state, true, false, false, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
  TPrintRun::TFontMetrics& fm = r.UseFont(font, MapFontHeight(font.Size()));
  int angle = 0;
  const bool rotated = IsRotated(ACol, ARow, angle);

  TPoint g(0, 0);
  if (ps->PrintGraphics()) {
    TPoint s = GetCellGraphicSize(ACol, ARow);
    g = TPoint(static_cast<int>(std::lround(s.X * r.PixelFactor)), static_cast<int>(std::lround(s.Y * r.PixelFactor)));
  }
  if (text.empty()) text = u"gh";

  if (ww && ps->NoAutoSize() && !rotated) {
    const int width = IsXMergedCell(ACol, ARow) ? 65535 : MaxWidths[DisplColIndex(ACol)];
    TRect d(0, 0, std::max(1, r.DX(width) - r.DX(0)), 50);
    const int h = DrawTextW(c->Handle(), text.c_str(), -1, &d, DrawTextBiDiModeFlags(DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX));
    Size = TPoint(width, r.LY(h));
  } else {
    int width = 0;
    const std::vector<String> lines = PrintLines(text, FMultilinecells, FURLShow && !FURLFull);
    for (const String& l : lines) width = std::max(width, r.LineWidth(fm, l) + g.X);
    int height = fm.LineHeight * static_cast<int>(lines.size());
    if (rotated) {
      const double a = angle * M_PI / 180.0;
      const int w2 = std::abs(static_cast<int>(std::lround(std::cos(a) * width))) +
                     std::abs(static_cast<int>(std::lround(std::sin(a) * height)));
      const int h2 = std::abs(static_cast<int>(std::lround(std::sin(a) * width))) +
                     std::abs(static_cast<int>(std::lround(std::cos(a) * height)));
      width = w2;
      height = h2;
    }
    Size = TPoint(width, height);
  }
  Size.Y = std::max(Size.Y, g.Y);
  Size.X = std::max(Size.X, g.X);
  if (OnCustomCellSize) OnCustomCellSize(this, c, ACol, ARow, Size, true);
}

void DEreDuzeroVaro::CalcPrintColWidths() {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  r.MeasuredRows.clear();
  for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) MaxWidths[c] = 0;
  if (ps->NoAutoSize()) {
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
      if (IsPrintedCol(c)) MaxWidths[c] = static_cast<int>(std::lround(ColWidths(c) * r.PixelFactor));
    return;
  }
  // The measured heights are kept for the row heights when every column of the range is
  // measured (fit to page may change the fonts later; then the rows are measured again).
  // (A size event sees every cell at both measurings.)
  bool keep = !ps->UseFixedWidth() && !OnCustomCellSize;
  for (int c = FPrintRect.Left; keep && c <= FPrintRect.Right; ++c) keep = IsPrintedCol(c);
  r.MeasuredRows.clear();
  int row = 0;
  while (row <= FPrintRect.Bottom || (ps->RepeatFixedRows() && row <= FixedRows())) {
    if (row >= RowCount()) break;
    if (row < FPrintRect.Top && !(ps->RepeatFixedRows() && row < FixedRows())) {
      row = FPrintRect.Top;
      continue;
    }
    int high = 0, last = 0;
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
      if (!IsPrintedCol(c)) continue;
      const int rc = DisplToRealCol(c);
      int w;
      if (ps->UseFixedWidth()) {
        w = ps->FixedWidth();
      } else {
        TPoint s;
        MeasurePrintCell(rc, row, s);
        w = s.X;
        last = s.Y;
        if (!IsYMergedCell(rc, row)) high = std::max(high, s.Y);
      }
      if (w > MaxWidths[c] && !IsXMergedCell(rc, row)) MaxWidths[c] = w;
    }
    if (keep) {
      if (r.MeasuredRows.empty()) r.MeasuredFrom = row;
      if (row == r.MeasuredFrom + static_cast<int>(r.MeasuredRows.size())) r.MeasuredRows.push_back(high ? high : last);
    }
    ++row;
  }
}

void DEreDuzeroVaro::FitPrintColumns() {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  if (ps->FitToPage() == fpNever) return;
  int64_t total = 0;
  for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
    if (IsPrintedCol(c)) total += MaxWidths[c] + r.Spacing;
  const int64_t spacing = static_cast<int64_t>(FPrintRect.Right - FPrintRect.Left + 1) * r.Spacing;
  double scale = 1.0;
  if (total - spacing != 0)
    scale = static_cast<double>(r.W - ps->RightSize() - ps->LeftSize() - spacing) / static_cast<double>(total - spacing);
  // A page too narrow for even the spacing would turn widths negative: nothing is printed
  // narrower than nothing.
  if (scale < 0) scale = 0;
  switch (ps->FitToPage()) {
    case fpShrink:
      if (scale > 1) scale = 1;
      break;
    case fpGrow:
      if (scale < 1) scale = 1;
      break;
    case fpCustom:
      if (scale != 1) {
        bool allow = true;
        if (OnFitToPage) OnFitToPage(this, scale, allow);
        if (!allow) scale = 1;
      }
      break;
    default:
      break;
  }
  if (scale != 1)
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
      MaxWidths[c] = static_cast<int>(std::trunc(MaxWidths[c] * scale));
  r.FitScale = scale;
}

int DEreDuzeroVaro::GetPrintRowHeight(int ARow) {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  if (ARow == r.CachedRow) return r.CachedHeight;
  if (ps->NoAutoSizeRow()) return static_cast<int>(std::lround(RowHeights(ARow) * r.PixelFactor)) - 4;
  int h = 0;
  if (ps->UseFixedHeight()) {
    h = ps->FixedHeight();
  } else if (r.FitScale == 1.0 && ARow >= r.MeasuredFrom &&
             ARow < r.MeasuredFrom + static_cast<int>(r.MeasuredRows.size())) {
    h = r.MeasuredRows[static_cast<size_t>(ARow - r.MeasuredFrom)];
    h += h >> 3;
    if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, ARow, h);
  } else {
    int last = 0;
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
      Fontscalefactor = r.FitScale;
      TPoint s;
      const int rc = DisplToRealCol(c);
      MeasurePrintCell(rc, ARow, s);
      last = s.Y;
      if (!IsYMergedCell(rc, ARow)) h = std::max(h, s.Y);
    }
    Fontscalefactor = 1.0;
    if (h == 0) h = last;
    h += h >> 3;
    if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, ARow, h);
  }
  r.CachedRow = ARow;
  r.CachedHeight = h;
  return h;
}

int DEreDuzeroVaro::PrintRowCells(int Y, int FromCol, int ToCol, int ARow) {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  Fontscalefactor = r.FitScale;
  const int P = GetPrintRowHeight(ARow) + 2 * r.Gap + ps->RowSpacing();
  Fontscalefactor = r.FitScale;
  if (!r.Drawing() || !PageInPrintRange(r.PagesDone + 1)) {
    Fontscalefactor = 1.0;
    return P;
  }
  for (int c = std::max(FromCol, 0); c <= ToCol && c + 1 < static_cast<int>(Indents.size()); ++c) {
    if (!IsPrintedCol(c)) continue;
    const int rc = DisplToRealCol(c);
    const TPoint ext = CellExt(rc, ARow);
    int width = 0;
    for (int k = 0; k <= ext.X && c + k < static_cast<int>(MaxWidths.size()); ++k)
      width += MaxWidths[c + k] + r.Spacing;
    auto rowTerm = [&](int Row) {
      const int t = static_cast<int>(std::trunc((RowHeights(Row) - 4) * r.PixelFactor));
      return t + (t >> 3) + 2 * r.Gap + ps->RowSpacing();
    };
    int height = P;
    if (ps->NoAutoSizeRow() && ext.Y != 0) {
      height = 0;
      for (int row = ARow; row <= ARow + ext.Y && row < RowCount(); ++row) height += rowTerm(row);
    } else if (!ps->NoAutoSizeRow()) {
      for (int row = ARow + 1; row <= ARow + ext.Y && row < RowCount(); ++row) height += rowTerm(row);
    }
    const TRect cell(Indents[c], Y, Indents[c] + width, Y - height);

    TCellBorders borders;
    switch (ps->Borders()) {
      case pbSingle:
      case pbDouble: borders = {cbTop, cbLeft, cbRight, cbBottom}; break;
      case pbHorizontal:
      case pbAroundHorizontal: borders = {cbTop, cbBottom}; break;
      case pbVertical:
      case pbAroundVertical: borders = {cbLeft, cbRight}; break;
      default: break;
    }
    TPen pen;
    pen.SetWidth(1);
    pen.SetColor(ps->BorderColor());
    GetCellPrintBorder(rc, ARow, &pen, borders);
    if (IsBaseCell(rc, ARow)) PrintCellContent(c, rc, ARow, Y, P, cell, borders, pen.Width());
    PrintCellBorders(c, rc, ARow, Y, P, FromCol, cell, borders, pen.Width(), pen.Color());
  }
  Fontscalefactor = 1.0;
  return P;
}

void DEreDuzeroVaro::PrintCellContent(int c, int rc, int ARow, int Y, int P, TRect Cell, TCellBorders Borders,
                                      int PenWidth) {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  TCanvas* cv = r.Canvas;
  r.MeasureFont = nullptr;  // the canvas font changes here
  TFont savedFont;
  savedFont.Assign(cv->Font());
  TBrush savedBrush;
  savedBrush.Assign(cv->Brush());
  TPen savedPen;
  savedPen.Assign(cv->Pen());

  TFont font;
  font.Assign(cv->Font());
  font.SetSize(ps->Font()->Size());
  TBrush brush;
  brush.Assign(cv->Brush());
  brush.SetStyle(bsSolid);
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  TCellGradientDirection gd = GradientVertical;
  TGridDrawState state;
  GetVisualProperties(rc, ARow, state, true, false, false, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
  cv->Brush()->Assign(&brush);
  cv->Font()->Assign(&font);
  r.SetFontHeight(cv->Font(), MapFontHeight(font.Size()));

  String text = IsDataCell(rc, ARow) ? String() : GetFormattedCell(rc, ARow);
  uint8_t kind = ClassifyCellText(text, EnableHTML());
  if (kind == 3) text = GetPrintCellText(rc, ARow);

  // Background, kept clear of the lines the cell does not draw itself.
  {
    TRect bg = Cell;
    if (!Borders.Contains(cbLeft)) bg.Left += 2 * PenWidth;
    if (!Borders.Contains(cbTop)) bg.Top -= 2 * PenWidth;
    TRect d = r.DevRect(bg);
    if (colorTo == clNone || colorTo == brush.Color() || brush.Color() == clNone) {
      if (brush.Color() != clNone) cv->FillRect(d);
    } else {
      FillGradient(cv, colorTo, brush.Color(), 64, d, false);
    }
  }

  TAlignment align = taLeftJustify;
  TVAlignment valign = vtaTop;
  GetCellAlignment(rc, ARow, align, valign);
  (void)valign;
  int lineHeight = r.TextHeight(u"gh") + ps->RowSpacing();
  lineHeight += lineHeight >> 3;
  int angle = 0;
  const bool rotated = IsRotated(rc, ARow, angle);

  TRect area = Cell;
  TCellGraphic* graphic = ps->PrintGraphics() ? GetCellGraphic(rc, ARow) : nullptr;
  TRect graphicRect;
  if (graphic) {
    graphicRect = PlaceCellGraphicForPrint(graphic, Cell, area, rc, ARow, align, !text.empty());
    if (graphic->CellType() == ctRadio) text.clear();
  }

  cv->Brush()->SetStyle(bsClear);
  SetTextColor(cv->Handle(), ColorToRGB(font.Color()));
  const int bandRight = Indents[std::min(r.EndCol + 1, static_cast<int>(Indents.size()) - 1)];
  if (kind == 1) {
    TRect d = r.DevRect(area);
    cv->Font()->SetSize(static_cast<int>(std::trunc(ps->Font()->Size() * r.FitScale)));
    String hitHref, plain, focused, title, id, value, type;
    int32_t tw = 0, th = 0, ac = 0, hai = 0;
    TRect har, hcr;
    DrawHtmlText(cv, text, d, FGridImages, -1, -1, -1, -1, 1, false, false, true, false, true, false, !FEnhTextSize, false,
                 r.DeviceRatio, FURLColor, clNone, clNone, static_cast<TColor>(0x808080), hitHref, plain, focused, title,
                 tw, th, ac, hai, har, hcr, id, value, type, nullptr, nullptr, nullptr, 0);
  } else if (kind == 2) {
    DrawRichCell(rc, ARow, r.DevRect(area), cv);
  } else if (!text.empty() && ww && ps->NoAutoSize() && !rotated) {
    TRect t = area;
    if (t.Right > r.W) t.Right = bandRight;
    t.Left += static_cast<int>(std::lround(2 * r.PixelFactor));
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
    if (align == taRightJustify) {
      t.Right -= r.HalfG;
      flags |= DT_RIGHT;
    } else if (align == taCenter) {
      t.Left += r.HalfG;
      t.Right -= r.HalfG;
      flags |= DT_CENTER;
    } else {
      t.Left += r.HalfG;
    }
    TRect d = r.DevRect(t);
    DrawTextW(cv->Handle(), text.c_str(), -1, &d, DrawTextBiDiModeFlags(flags));
  } else if (!text.empty() && !rotated && LineCount(text, FMultilinecells) != 1) {
    const std::vector<String> lines = PrintLines(text, FMultilinecells, FURLShow && !FURLFull);
    const int n = static_cast<int>(lines.size());
    const int content = (lineHeight - ps->RowSpacing()) * n;
    int offset = 0;
    if (CellExt(rc, ARow).Y == 0 && CellExt(rc, ARow).X == 0) {
      if (va == vtaCenter) offset = (P - content) / 2;
      else if (va == vtaBottom) offset = P - content;
    }
    int top = area.Top - offset;
    for (const String& l : lines) {
      const int lw = r.TextWidth(l);
      int x = area.Left + r.HalfG;
      if (align == taRightJustify) x = area.Right - r.HalfG - lw;
      else if (align == taCenter) x = area.Left + ((area.Right - area.Left) - lw) / 2;
      TRect d = r.DevRect(area);
      cv->TextRect(d, r.DX(x), r.DY(top), l);
      top = top - lineHeight + ps->RowSpacing();
    }
  } else if (!text.empty()) {
    const std::vector<String> lines = PrintLines(text, false, FURLShow && !FURLFull);
    String line = lines.empty() ? String() : lines[0];
    TRect t = area;
    t.Bottom = t.Top - P - ps->RowSpacing();
    if (t.Right > r.W) t.Right = bandRight;
    const TPoint span = CellSpan(rc, ARow);
    if (span.Y > 0) t.Bottom -= (ps->RowSpacing() + P) * span.Y;
    if (rotated) {
      // Escapement as on the screen; on a printer with the driver fix whose landscape turn is
      // not 270 the angle's sign flips.
      const bool flip = r.Mode == 1 && FPrinterDriverFix && GetPrinterOrientationAngle() != 270;
      TFont rot;
      rot.Assign(cv->Font());
      rot.SetOrientation((flip ? -10 : 10) * angle);
      const double a = angle * M_PI / 180.0;
      const int cw = r.TextWidth(line);
      const int lh = r.TextHeight(u"gh");
      const int cwx = std::abs(static_cast<int>(std::trunc(std::cos(a) * cw)));
      const int sh = std::abs(static_cast<int>(std::trunc(std::sin(a) * lh)));
      const int sw = std::abs(static_cast<int>(std::trunc(std::sin(a) * cw)));
      const int ch = std::abs(static_cast<int>(std::trunc(std::cos(a) * lh)));
      const int haOrd = align == taRightJustify ? 1 : align == taCenter ? 2 : 0;
      const int vaOrd = va == vtaBottom ? 2 : va == vtaCenter ? 1 : 0;
      PlaceRotatedText(t, haOrd, vaOrd, -ch, -sw, sh, cwx, angle);
      cv->Font()->Assign(&rot);
      SetTextColor(cv->Handle(), ColorToRGB(font.Color()));
      r.TextOut(t.Left, t.Top, line);
    } else {
      UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
      if (FEnhTextSize && ps->NoAutoSize()) flags |= DT_END_ELLIPSIS;
      if (align == taRightJustify) {
        t.Right -= r.HalfG;
        flags |= DT_RIGHT;
      } else if (align == taCenter) {
        t.Left += r.HalfG;
        t.Right -= r.HalfG;
        flags |= DT_CENTER;
      } else {
        t.Left += r.HalfG;
      }
      if (va == vtaCenter) flags |= DT_VCENTER;
      else if (va == vtaBottom) flags |= DT_BOTTOM;
      TRect d = r.DevRect(t);
      DrawTextW(cv->Handle(), line.c_str(), -1, &d, flags);
    }
  }
  cv->Brush()->SetStyle(bsSolid);
  if (graphic) PrintCellGraphic(graphic, graphicRect, area, c, rc, ARow);

  cv->Font()->Assign(&savedFont);
  cv->Brush()->Assign(&savedBrush);
  cv->Pen()->Assign(&savedPen);
  if (OnCustomCellDraw) {
    TRect d = r.DevRect(TRect(Cell.Left, Y, Cell.Right, Y - P));
    cv->Font()->SetSize(ps->Font()->Size());
    OnCustomCellDraw(this, cv, rc, ARow, TGridDrawState(), d, true);
    cv->Font()->Assign(&savedFont);
  }
}

void DEreDuzeroVaro::PrintCellBorders(int c, int rc, int ARow, int Y, int P, int FromCol, TRect Cell,
                                      TCellBorders Borders, int PenWidth, TColor PenColor) {
  TPrintRun& r = *FPrintRun;
  TCanvas* cv = r.Canvas;
  (void)c;
  if (!IsBaseCell(rc, ARow)) {
    const TPoint ext = CellExt(rc, ARow);
    if (ext.X >= 1) Borders = Borders - cbLeft - cbRight;
    if (ext.Y >= 1) Borders = Borders - cbTop - cbBottom;
    if (IsYMergedCell(rc, ARow) && ext.Y == 0) Borders -= cbTop;
    if (IsXMergedCell(rc, ARow) && ext.X == 0) Borders -= cbLeft;
  }
  if (Borders.Empty()) return;
  // Widths are screen pixels: on paper they become 0.1 mm.
  const int width = r.Mode == 1 ? static_cast<int>(std::lround(PenWidth * r.PixelFactor)) : PenWidth;
  TPen saved;
  saved.Assign(cv->Pen());
  cv->Pen()->SetColor(PenColor);
  cv->Pen()->SetStyle(FPrintSettings->BorderStyle());
  cv->Pen()->SetWidth(r.PenPixels(width));
  TRect R = Cell;
  if (R.Bottom < r.H + FPrintSettings->FooterSize()) {
    R.Bottom = Y - P;
    Borders -= cbBottom;
  }
  if (R.Right > r.W) R.Right = Indents[std::min(r.EndCol + 1, static_cast<int>(Indents.size()) - 1)];
  if (Borders.Contains(cbLeft)) {
    const int x = FromCol >= rc ? R.Left : R.Left - width;
    r.Line(x, R.Top, x, R.Bottom);
  }
  if (Borders.Contains(cbRight)) {
    const int x = rc == ColCount() - 1 ? R.Right : R.Right - width;
    r.Line(x, R.Top, x, R.Bottom);
  }
  if (Borders.Contains(cbTop)) r.Line(R.Left, R.Top, R.Right, R.Top);
  if (Borders.Contains(cbBottom)) r.Line(R.Left, R.Bottom, R.Right, R.Bottom);
  cv->Pen()->Assign(&saved);
}

TRect DEreDuzeroVaro::PlaceCellGraphicForPrint(TCellGraphic* G, TRect Cell, TRect& TextArea, int rc, int ARow,
                                               TAlignment HA, bool HasText) {
  TPrintRun& r = *FPrintRun;
  const int cw = Cell.Right - Cell.Left, chh = Cell.Top - Cell.Bottom;
  TPoint s = GetCellGraphicPrintSize(rc, ARow, cw, chh, r.FitScale);
  const int w = static_cast<int>(std::lround(s.X * r.PixelFactor)), h = static_cast<int>(std::lround(s.Y * r.PixelFactor));
  TRect R;
  switch (G->CellHAlign()) {
    case haLeft:
    case haBeforeText:
      R.Left = Cell.Left + static_cast<int>(std::lround(r.PixelFactor));
      R.Right = R.Left + w;
      TextArea.Left = R.Right;
      break;
    case haRight:
    case haAfterText:
      R.Right = Cell.Right;
      R.Left = R.Right - w;
      TextArea.Right = R.Left;
      break;
    case haCenter:
      R.Left = Cell.Left + (cw - w) / 2;
      R.Right = R.Left + w;
      break;
    case haFull:
      R.Left = Cell.Left;
      R.Right = Cell.Right;
      break;
  }
  switch (G->CellVAlign()) {
    case vaTop:
      R.Top = Cell.Top;
      R.Bottom = R.Top - h;
      break;
    case vaBottom:
      R.Top = Cell.Bottom + h;
      R.Bottom = Cell.Bottom;
      break;
    case vaCenter:
      R.Top = Cell.Top - (chh - h) / 2;
      R.Bottom = R.Top - h;
      break;
    case vaUnderText:
      R.Top = Cell.Bottom + h;
      R.Bottom = Cell.Bottom;
      TextArea.Bottom = R.Top;
      break;
    case vaAboveText:
      R.Top = Cell.Top;
      R.Bottom = R.Top - h;
      TextArea.Top = R.Bottom;
      break;
    case vaFull:
      R.Top = Cell.Top;
      R.Bottom = Cell.Bottom;
      break;
  }
  const TCellType t = G->CellType();
  const bool check = t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox || t == ctRadioButton;
  if (check && !HasText) {
    if (HA == taRightJustify) {
      R.Right = TextArea.Right;
      R.Left = R.Right - w;
      TextArea.Right = R.Left;
    } else if (HA == taCenter) {
      R.Left = Cell.Left + (cw - w) / 2;
      R.Right = R.Left + w;
    }
  }
  return R;
}

void DEreDuzeroVaro::PrintCellGraphic(TCellGraphic* G, TRect R, TRect TextArea, int c, int rc, int ARow) {
  TPrintRun& r = *FPrintRun;
  TCanvas* cv = r.Canvas;
  auto stretch = [&](TGraphic* Graphic, TRect Into) {
    if (Graphic) cv->StretchDraw(r.DevRect(Into), Graphic);
  };
  auto imageBitmap = [&](int Index, TBitmap& B) {
    TCustomImageList* images = GetImageList(rc, ARow);
    if (!images) return false;
    B.SetWidth(images->Width());
    B.SetHeight(images->Height());
    B.Canvas()->Brush()->SetColor(cv->Brush()->Color());
    B.Canvas()->Pen()->SetColor(cv->Brush()->Color());
    B.Canvas()->Rectangle(0, 0, B.Width(), B.Height());
    images->Draw(B.Canvas(), 0, 0, Index, true);
    return true;
  };
  switch (G->CellType()) {
    case ctBitmap:
      stretch(G->CellBitmap(), R);
      break;
    case ctIcon:
      if (TIcon* icon = G->CellIcon(); icon && !icon->Empty()) PrintIcon(cv, r.DevRect(R), icon);
      break;
    case ctImageList:
    case ctDataImage: {
      TBitmap b;
      if (imageBitmap(G->CellType() == ctImageList ? G->CellIndex() : Ints(rc, ARow), b)) stretch(&b, R);
      break;
    }
    case ctImages: {
      TIntList* list = GetCellImages(c, ARow);
      TCustomImageList* images = GetImageList(rc, ARow);
      if (!list || !images) break;
      const int w = static_cast<int>(std::lround(images->Width() * r.PixelFactor));
      const int h = static_cast<int>(std::lround(images->Height() * r.PixelFactor));
      for (int i = 0; i < list->Count(); ++i) {
        TBitmap b;
        if (!imageBitmap(list->Items(i), b)) break;
        TRect into = R;
        if (G->CellBoolean()) {
          into.Left = R.Left + i * w;
          into.Right = R.Left + (i + 1) * w;
        } else {
          into.Top = R.Top - i * h;
          into.Bottom = R.Top - (i + 1) * h;
        }
        stretch(&b, into);
      }
      break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: {
      const TPoint s = GetCellGraphicSize(rc, ARow);
      R.Bottom = R.Top - static_cast<int>(std::lround(s.Y * r.PixelFactor));
      bool checked = false;
      GetCheckBoxState(rc, ARow, checked);
      UINT state = DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0u) |
                   (FControlLook->ControlStyle() == csFlat ? DFCS_FLAT : 0u);
      TRect d = r.DevRect(R);
      DrawFrameControl(cv->Handle(), &d, DFC_BUTTON, state);
      break;
    }
    case ctRadio: {
      TStrings* captions = GetRadioStrings(rc, ARow);
      DrawRadioGroup(cv, r.DevRect(R), captions ? captions->Count() : 0, G->CellIndex(), G->CellBoolean(), false,
                     captions, false, rc, ARow, FControlLook->ControlStyle(), r.PixelFactor * r.DevX, true);
      break;
    }
    case ctNode: {
      TPen saved;
      saved.Assign(cv->Pen());
      cv->Pen()->SetColor(FCellNode->NodeColor());
      cv->Pen()->SetWidth(r.PenPixels(2));
      const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
      const TRect sq(cx - 10, cy + 10, cx + 10, cy - 10);
      r.Line(sq.Left, sq.Top, sq.Right, sq.Top);
      cv->LineTo(r.DX(sq.Right), r.DY(sq.Bottom));
      cv->LineTo(r.DX(sq.Left), r.DY(sq.Bottom));
      cv->LineTo(r.DX(sq.Left), r.DY(sq.Top));
      r.Line(sq.Left, cy, sq.Right - 2, cy);
      if (G->CellBoolean()) r.Line(cx, sq.Top, cx, sq.Bottom + 2);
      cv->Pen()->Assign(&saved);
      break;
    }
    case ctPicture:
    case ctFilePicture: {
      if (TPicture* p = G->CellPicture()) stretch(p->Graphic(), R);
      break;
    }
    case ctProgress: {
      R.Top -= static_cast<int>(std::lround(2 * r.PixelFactor));
      R.Bottom += static_cast<int>(std::lround(4 * r.PixelFactor));
      R.Right = TextArea.Right;
      const TColor done = G->CellBitmapColor(), rest = G->CellIconColor();
      const TColor doneText = G->CellBoolean() ? static_cast<TColor>(G->CellIndex()) : Complement(done);
      const TColor restText = G->CellBoolean() ? static_cast<TColor>(G->CellAngle()) : Complement(rest);
      int lo = G->CellErrFrom(), hi = G->CellErrLen();
      if (hi == lo) hi = lo + 100;
      try {
        DrawCellProgressBar(cv, r.DevRect(R), done, doneText, rest, restText, Ints(c, ARow), FControlLook->ProgressMarginX(),
                            FControlLook->ProgressMarginY(), lo, hi, G->CellText(), FControlLook->ProgressBorderColor(),
                            false);
      } catch (const Exception&) {
        DrawCellProgressBar(cv, r.DevRect(R), done, doneText, rest, restText, Ints(c, ARow), FControlLook->ProgressMarginX(),
                            FControlLook->ProgressMarginY(), lo, hi, String(), FControlLook->ProgressBorderColor(),
                            false);
      }
      cv->Pen()->SetColor(clBlack);
      break;
    }
    case ctProgressPie:
      DrawProgressPie(cv, r.DevRect(R), G->CellBitmapColor(), static_cast<int>(LimitPercent(G->CellAngle())), false);
      break;
    case ctInterface:
      // The object draws itself on a bitmap of the size it asks for (R's where it names none),
      // which is then stretched into R.
      if (auto* d = dynamic_cast<IGridCellDraw*>(G->CellInterface())) {
        int w = d->GetWidth(), h = std::abs(d->GetHeight());
        if (w == 0) w = R.Right - R.Left;
        if (h == 0) h = std::abs(R.Top - R.Bottom);
        w = std::clamp(w, 1, kMaxDrawnSide);
        h = std::clamp(h, 1, kMaxDrawnSide);
        TBitmap b(w, h);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(TRect(0, 0, w, h));
        d->Draw(b.Canvas(), TRect(0, 0, w - 1, h - 1), rc, ARow, false, this);
        stretch(&b, R);
      }
      break;
    default:
      break;
  }
}
