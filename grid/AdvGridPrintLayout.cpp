// The page engine: measures the printed columns, splits them into column bands that fit the
// page width and each band's rows into pages, and has every page's header, footer, rows and
// frame drawn. The same run counts pages without drawing.
#include <algorithm>
#include <cmath>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGridPrintRun.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

namespace {

bool IsTopPosition(TPrintPosition P) { return P == ppTopLeft || P == ppTopRight || P == ppTopCenter; }
bool IsBottomPosition(TPrintPosition P) { return P == ppBottomLeft || P == ppBottomRight || P == ppBottomCenter; }
bool IsLeftPosition(TPrintPosition P) { return P == ppTopLeft || P == ppBottomLeft; }

String JoinWithSpace(const String& A, const String& B) {
  if (!A.empty() && !B.empty()) return A + u" " + B;
  return A.empty() ? B : A;
}

// Restores a run's pointer on the grid when the run ends, also by an exception.
struct TRunScope {
  DEreDuzeroVaro::TPrintRun*& Slot;
  DEreDuzeroVaro::TPrintRun* Old;
  TRunScope(DEreDuzeroVaro::TPrintRun*& S, DEreDuzeroVaro::TPrintRun* New) : Slot(S), Old(S) { Slot = New; }
  ~TRunScope() { Slot = Old; }
};

// Keeps the canvas's font, pen and brush for the end of a run.
struct TSavedCanvas {
  TCanvas* C;
  TFont Font;
  TPen Pen;
  TBrush Brush;
  explicit TSavedCanvas(TCanvas* Canvas) : C(Canvas) {
    Font.Assign(C->Font());
    Pen.Assign(C->Pen());
    Brush.Assign(C->Brush());
  }
  ~TSavedCanvas() {
    C->Font()->Assign(&Font);
    C->Pen()->Assign(&Pen);
    C->Brush()->Assign(&Brush);
  }
};

}  // namespace

bool DEreDuzeroVaro::IsPrintedRow(int ARow) {
  if (!FPrintRun || !FPrintRun->SelectedOnly) return true;
  if (ARow < FixedRows() && FPrintSettings->FixedCellsAlways()) return true;
  if (FMouseActions->DisjunctRowSelect()) return RowSelect(ARow);
  const TGridRect s = Selection();
  return ARow >= s.Top && ARow <= s.Bottom;
}

bool DEreDuzeroVaro::IsPrintedCol(int ACol) {
  if (!FPrintRun || !FPrintRun->SelectedOnly || FMouseActions->DisjunctRowSelect()) return true;
  if (ACol < FixedCols() && FPrintSettings->FixedCellsAlways()) return true;
  if (FMouseActions->DisjunctColSelect()) return ACol >= 0 && ACol < ColCount() && ColSelect(ACol);
  const TGridRect s = Selection();
  return ACol >= s.Left && ACol <= s.Right;
}

void DEreDuzeroVaro::ComputeHeaderFooterHeights() {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  const TPrintPosition items[] = {ps->Time(), ps->Date(), ps->PageNr(), ps->Title()};
  const bool top = std::any_of(std::begin(items), std::end(items), IsTopPosition);
  const bool bottom = std::any_of(std::begin(items), std::end(items), IsBottomPosition);
  const int lines = ps->TitleLines()->Count();
  if (top) {
    r.HeaderHeight = r.Gap + r.HeaderTextHeight + ps->HeaderSize();
    if (lines > 0 && IsTopPosition(ps->Title())) r.HeaderHeight += (lines - 1) * r.HeaderTextHeight;
  } else {
    r.HeaderHeight = ps->HeaderSize();
  }
  if (bottom) {
    r.FooterHeight = 2 * (r.Gap + r.FooterTextHeight) + ps->FooterSize();
    if (lines > 0 && IsBottomPosition(ps->Title())) r.FooterHeight += (lines - 1) * r.FooterTextHeight;
  } else {
    r.FooterHeight = r.Gap + r.FooterTextHeight + ps->FooterSize();
  }
}

int DEreDuzeroVaro::LayoutPrintPages(TCanvas* Canvas, int Mode, bool SelectedOnly, int Total) {
  TPrintRun run;
  run.Canvas = Canvas;
  run.Mode = Mode;
  run.SelectedOnly = SelectedOnly;
  run.Total = Total;
  TRunScope scope(FPrintRun, &run);
  TPrintSettings* ps = FPrintSettings.get();
  TSavedCanvas saved(Canvas);

  // Set-up: resolutions of the canvas and the screen.
  HDC dc = Canvas->Handle();
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  int screenDpi = 96;
  if (HDC screen = GetDC(nullptr)) {
    screenDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
  }
  if (screenDpi <= 0) screenDpi = 96;
  run.DevX = (dpiX > 0 ? dpiX : 96) / 254.0;
  run.DevY = (dpiY > 0 ? dpiY : 96) / 254.0;
  run.DeviceRatio = dpiX > 0 ? static_cast<double>(dpiX) / screenDpi : 1.0;
  run.PixelFactor = 254.0 / screenDpi;
  Fontscalefactor = 1.0;

  TPen* pen = Canvas->Pen();
  pen->SetColor(clBlack);
  pen->SetStyle(ps->BorderStyle());
  pen->SetWidth(run.PenPixels(ps->Borders() == pbDouble ? 10 : 2));

  TFont* font = Canvas->Font();
  font->Assign(ps->HeaderFont());
  run.SetFontHeight(font, MapFontHeight(ps->HeaderFont()->Size()));
  run.HeaderTextHeight = run.TextHeight(u"gh");
  font->Assign(ps->FooterFont());
  run.SetFontHeight(font, MapFontHeight(ps->FooterFont()->Size()));
  run.FooterTextHeight = run.TextHeight(u"gh");
  font->Assign(ps->Font());
  run.SetFontHeight(font, MapFontHeight(ps->Font()->Size()));
  run.BodyTextHeight = run.TextHeight(u"gh");
  run.Gap = static_cast<uint16_t>(run.BodyTextHeight >> 3);
  run.HalfG = run.TextWidth(u"g") / 2;

  // The page.
  if (Mode == 0 || Mode == 3) {
    run.OrgX = PrevRect.Left;
    run.OrgY = PrevRect.Top;
    run.W = run.LX(PrevRect.Right - PrevRect.Left);
    run.H = -run.LY(PrevRect.Bottom - PrevRect.Top);
  } else if (Mode == 1) {
    const TRect clip = Canvas->ClipRect();
    run.OrgX = clip.Left;
    run.OrgY = clip.Top;
    run.W = run.LX(clip.Right - clip.Left);
    run.H = -run.LY(clip.Bottom - clip.Top);
  } else {
    run.W = PrevRect.Right - PrevRect.Left;
    run.H = -PrevRect.Bottom - PrevRect.Top;
  }
  FPrintPageRect = TRect(0, 0, run.W, run.H);
  run.LeftIndent = ps->LeftSize();
  run.Spacing = ps->UseFixedWidth() ? 0 : ps->ColumnSpacing() + 20;

  // The tables hold every column of the grid and one more right edge (at least the 512
  // columns callers have always been able to read).
  const size_t cols = static_cast<size_t>(std::max({ColCount(), FPrintRect.Right + 1, 511})) + 1;
  MaxWidths.assign(cols, 0);
  Indents.assign(cols + 1, 0);
  FPrintRect.Left = std::max(0, FPrintRect.Left);
  FPrintRect.Top = std::max(0, FPrintRect.Top);
  FPrintRect.Right = std::min(FPrintRect.Right, ColCount() - 1);
  FPrintRect.Bottom = std::min(FPrintRect.Bottom, RowCount() - 1);

  CalcPrintColWidths();
  FitPrintColumns();
  if (OnPrintSetColumnWidth)
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) OnPrintSetColumnWidth(this, c, MaxWidths[c]);

  const TGridExportState rowState =
      FixedRows() < FPrintRect.Top || RowCount() - 1 - FixedFooters() > FPrintRect.Bottom ? esExportSelRow : esExportNewRow;
  std::vector<int>& widths = MaxWidths;
  std::vector<int>& indents = Indents;
  const int fixedCols = std::min(FixedCols(), static_cast<int>(cols) - 1);

  int start = FPrintRect.Left;
  while (start <= FPrintRect.Right && !run.Cancel) {
    ++run.Band;
    run.PageInBand = 0;
    run.RepeatCols = ps->RepeatFixedCols() && fixedCols >= 1 && (start > FPrintRect.Left || FPrintRect.Left > fixedCols);
    run.FixedWidth = 0;
    if (run.RepeatCols)
      for (int c = 0; c < fixedCols; ++c) run.FixedWidth += widths[c] + run.Spacing;

    // The band: as many columns as fit the width left of the right margin.
    int x = run.FixedWidth, end = start;
    const int limit = run.W - ps->RightSize();
    bool passed = false;
    while (x <= limit && end <= FPrintRect.Right) {
      x += widths[end] + run.Spacing;
      if (x <= limit)
        ++end;
      else
        passed = true;
    }
    if (passed) x -= widths[end] + run.Spacing;
    --end;  // end is now the band's last column
    if (end <= start) end = start + 1;
    end = std::min(end, FPrintRect.Right);
    run.SeveralBands = run.SeveralBands || end < FPrintRect.Right;
    FPrintPageWidth = x;
    run.StartCol = start;
    run.EndCol = end;

    indents[start] = indents[0] = ps->Centered() ? 0 : run.LeftIndent;
    for (int c = start; c <= end; ++c)
      indents[c + 1] = IsPrintedCol(c) ? indents[c] + widths[c] + run.Spacing : indents[c];
    FPrintColStart = start;
    FPrintColEnd = end;
    if (run.RepeatCols)
      for (int c = 1; c < fixedCols; ++c) indents[c] = indents[c - 1] + widths[c - 1] + run.Spacing;
    if (ps->Centered() && x < run.W) {
      const int offset = (run.W - x) >> 1;
      for (int c = start; c <= end + 1; ++c) indents[c] += offset;
      if (run.RepeatCols)
        for (int c = 0; c <= fixedCols; ++c)
          if (c < start || c > end + 1) indents[c] += offset;
    }
    for (int c = start; c <= end + 1; ++c) indents[c] += run.FixedWidth;

    ComputeHeaderFooterHeights();
    if (run.Drawing() && OnPrintPage) OnPrintPage(this, Canvas, run.PagesDone + 1, run.W, run.H);

    int y = 0;
    int row = FPrintRect.Top;
    run.RowsOnPage = 0;
    while (row <= FPrintRect.Bottom && !run.Cancel) {
      ExportNotification(rowState, row);
      if (run.RowsOnPage == 0) {
        y = -run.HeaderHeight;
        y = y - ps->TitleSpacing() - PrintHeaderFooter();
        if (row > 0 && (run.PagesDone > 0 || FixedRows() <= FPrintRect.Top) && ps->RepeatFixedRows() && FixedRows() > 0) {
          for (int r = 0; r < FixedRows(); ++r) {
            if (run.RepeatCols) PrintRowCells(y, 0, fixedCols - 1, r);
            y -= PrintRowCells(y, start, end, r);
          }
          ++run.RowsOnPage;
        }
      }
      if (IsPrintedRow(row)) {
        if (run.RepeatCols) PrintRowCells(y, 0, fixedCols - 1, row);
        y -= PrintRowCells(y, start, end, row);
      }
      ++row;
      ++run.RowsOnPage;
      bool newPage = false;
      if (OnPrintNewPage) OnPrintNewPage(this, row, newPage);
      const bool full = row <= FPrintRect.Bottom ? y - GetPrintRowHeight(row) < run.H + run.FooterHeight
                                                 : y < run.H + run.FooterHeight;
      if (run.Drawing() && !(!full && row <= FPrintRect.Bottom && !newPage)) {
        if (OnPrintPageDone) OnPrintPageDone(this, Canvas, row, y, run.PagesDone + 1, run.W, run.H);
        if (OnPrintCancel) OnPrintCancel(this, run.PagesDone + 1, run.Cancel);
      }
      // A forced break after the last row makes no empty page.
      if ((full || newPage) && row <= FPrintRect.Bottom) {
        FinishPrintPage(start, end, y);
        run.RowsOnPage = 0;
        run.LastBreakRow = row;
        BeginPrintPage();
        if (FFastPrint && FPrintPageFrom < run.PagesDone) row = FPrintRect.Bottom + 1;
        ++run.PagesDone;
        ++run.PageInBand;
        ComputeHeaderFooterHeights();
      }
    }
    if (run.LastBreakRow != row) FinishPrintPage(start, end, y);
    start = end + 1;
    if (start <= FPrintRect.Right && !run.Cancel) BeginPrintPage();
    ++run.PagesDone;
  }
  Fontscalefactor = 1.0;
  return run.PagesDone;
}

void DEreDuzeroVaro::BeginPrintPage() {
  TPrintRun& r = *FPrintRun;
  if (!PageInPrintRange(r.PagesDone + 2)) return;
  if (r.Mode == 1 && r.PagesDone + 1 >= FPrintPageFrom && r.Canvas == Printer()->Canvas() && Printer()->Printing())
    Printer()->NewPage();
  if (r.Drawing() && OnPrintPage) OnPrintPage(this, r.Canvas, r.PagesDone + 2, r.W, r.H);
}

void DEreDuzeroVaro::FinishPrintPage(int StartCol, int EndCol, int Y) {
  TPrintRun& r = *FPrintRun;
  if (!r.Drawing() || !PageInPrintRange(r.PagesDone + 1)) return;
  const TPrintBorders b = FPrintSettings->Borders();
  const int x0 = r.RepeatCols ? Indents[0] : Indents[StartCol];
  const int x1 = Indents[EndCol + 1];
  const int top = -r.HeaderHeight - FPrintSettings->TitleSpacing();
  const int bottom = Y + (r.Gap >> 1);
  if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
    r.Line(x0, top, x1, top);
    r.Canvas->LineTo(r.DX(x1), r.DY(bottom));
    r.Canvas->LineTo(r.DX(x0), r.DY(bottom));
    r.Canvas->LineTo(r.DX(x0), r.DY(top));
  }
  if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) r.Line(x0, bottom, x1, bottom);
  if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && r.RepeatCols)
    for (int c = 0; c < FixedCols(); ++c) r.Line(Indents[c], top, Indents[c], bottom);
}

String DEreDuzeroVaro::GetPrintPageNumText() {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  String text;
  if (r.SeveralBands) {
    text = IntToStr(r.PageInBand + 1) + u"-" + IntToStr(r.Band);
    PrintGetPageNum(r.PageInBand + 1, r.Band, text);
  } else {
    if (!ps->PageNumSep().empty() && r.Total > 1)
      text = IntToStr(r.PagesDone + 1 + ps->PageNumberOffset()) + ps->PageNumSep() + IntToStr(r.Total + ps->MaxPagesOffset());
    else
      text = IntToStr(r.PagesDone + 1 + ps->PageNumberOffset());
    PrintGetPageNum(r.PagesDone + 1, r.Band, text);
  }
  return text;
}

int DEreDuzeroVaro::PrintHeaderFooter() {
  TPrintRun& r = *FPrintRun;
  TPrintSettings* ps = FPrintSettings.get();
  Fontscalefactor = r.FitScale;
  if (!r.Drawing() || !PageInPrintRange(r.PagesDone + 1)) {
    Fontscalefactor = 1.0;
    return 0;
  }
  enum { TopLeft, TopRight, TopCenter, BottomLeft, BottomRight, BottomCenter, None };
  String slots[6];
  auto slotOf = [](TPrintPosition P) {
    return P == ppNone ? static_cast<int>(None) : static_cast<int>(P) - 1;
  };
  auto put = [&](TPrintPosition P, const String& Item) {
    int s = slotOf(P);
    if (s == None) return;
    slots[s] = IsLeftPosition(P) ? Item + u" " + slots[s] : slots[s] + u" " + Item;
  };
  const TDateTime now = Now();
  put(ps->Time(), FormatDateTime(u"hh:nn", now));
  put(ps->Date(), FormatDateTime(ps->DateFormat(), now));
  put(ps->PageNr(), ps->PagePrefix() + u" " + GetPrintPageNumText() + u" " + ps->PageSuffix());
  String htmlTitle;
  TStringList* lines = ps->TitleLines();
  if (!ps->TitleText().empty()) {
    put(ps->Title(), ps->TitleText());
  } else if (lines->Count() > 0 && ClassifyCellText(lines->Text(), EnableHTML()) == 1) {
    for (int i = 0; i < lines->Count(); ++i) htmlTitle += lines->Get(i);
  } else if (lines->Count() > 0 && slotOf(ps->Title()) != None) {
    String& s = slots[slotOf(ps->Title())];
    s = IsLeftPosition(ps->Title()) ? JoinWithSpace(lines->Get(0), s) : JoinWithSpace(s, lines->Get(0));
  }

  TCanvas* c = r.Canvas;
  r.MeasureFont = nullptr;  // the canvas font changes here
  TFont savedFont;
  savedFont.Assign(c->Font());
  TBrush savedBrush;
  savedBrush.Assign(c->Brush());
  c->Brush()->SetStyle(bsClear);
  auto slotX = [&](int Slot, const String& Text) {
    const int w = r.TextWidth(Text);
    if (Slot == TopLeft || Slot == BottomLeft) return ps->LeftSize();
    if (Slot == TopRight || Slot == BottomRight) return r.W - w - ps->RightSize() - 20;
    return (r.W - w) >> 1;
  };
  auto extraLines = [&](int Slot, int Y) {
    if (!htmlTitle.empty() || lines->Count() < 2) return;
    int offset = 0;
    const int lh = r.TextHeight(u"gh");
    for (int i = 1; i < lines->Count(); ++i) {
      offset += lh;
      r.TextOut(slotX(Slot, lines->Get(i)), Y - offset, lines->Get(i));
    }
  };
  auto drawHtml = [&](TRect R) {
    TRect d = r.DevRect(R);
    c->Font()->Assign(ps->HeaderFont());
    String hitHref, plain, focused, title, id, value, type;
    int32_t tw = 0, th = 0, ac = 0, hai = 0;
    TRect har, hcr;
    DrawHtmlText(c, htmlTitle, d, FGridImages, -1, -1, -1, -1, 1, false, false, true, false, true, false, true, false,
                 r.DeviceRatio, FURLColor, clNone, clNone, static_cast<TColor>(0x808080), hitHref, plain, focused, title,
                 tw, th, ac, hai, har, hcr, id, value, type, nullptr, nullptr, nullptr, 0);
    return th;
  };

  int result = 0;
  c->Font()->Assign(ps->HeaderFont());
  r.SetFontHeight(c->Font(), MapFontHeight(ps->HeaderFont()->Size()));
  const int headerY = -ps->HeaderSize();
  for (int s : {TopLeft, TopRight, TopCenter})
    if (!slots[s].empty()) r.TextOut(slotX(s, slots[s]), headerY, slots[s]);
  if (IsTopPosition(ps->Title())) extraLines(slotOf(ps->Title()), headerY);
  if (!htmlTitle.empty() && IsTopPosition(ps->Title())) {
    const int h = r.LY(drawHtml(TRect(ps->LeftSize(), headerY, r.W, headerY - 65535)));
    result = r.Gap + h;
  }

  c->Font()->Assign(ps->FooterFont());
  r.SetFontHeight(c->Font(), MapFontHeight(ps->FooterFont()->Size()));
  const int footerY = r.H + r.FooterTextHeight + r.Gap + ps->FooterSize();
  for (int s : {BottomLeft, BottomRight, BottomCenter})
    if (!slots[s].empty()) r.TextOut(slotX(s, slots[s]), footerY, slots[s]);
  if (IsBottomPosition(ps->Title())) extraLines(slotOf(ps->Title()), footerY);
  if (!htmlTitle.empty() && !IsTopPosition(ps->Title())) drawHtml(TRect(ps->LeftSize(), r.H + ps->FooterSize(), r.W, r.H));

  c->Font()->Assign(&savedFont);
  c->Brush()->Assign(&savedBrush);
  Fontscalefactor = 1.0;
  return result;
}
