// Print and preview entry points: each hands a grid range and a selected-only flag to the page
// engine (LayoutPrintPages), which counts the pages first and then draws them.
#include <cmath>

#include "grid/AdvGrid.h"
#include "platform/ui/Printers.h"
#include "platform/win/Gdi.h"

namespace {

TGridRect WholeGrid(DEreDuzeroVaro& G) { return TGridRect{0, 0, G.ColCount() - 1, G.RowCount() - 1}; }

}  // namespace

int DEreDuzeroVaro::MapFontHeight(int Size) const {
  return -static_cast<int>(std::trunc(static_cast<double>(Size * 254) / 72.0 * Fontscalefactor));
}

int DEreDuzeroVaro::MapFontSize(int Height) const { return static_cast<int>(std::trunc(Height * 72.0 / 254.0)); }

// Portrait turns into landscape by 270 degrees on every printer the platform drives, so rotated
// text keeps the preview's angle on paper.
int DEreDuzeroVaro::GetPrinterOrientationAngle() { return 270; }

void DEreDuzeroVaro::PrintPreview(TCanvas* Canvas, TRect DisplayRect) {
  PreviewGridRange(Canvas, DisplayRect, false, WholeGrid(*this));
}

void DEreDuzeroVaro::PrintPreviewRect(TCanvas* Canvas, TRect DisplayRect, TGridRect GridRect) {
  PreviewGridRange(Canvas, DisplayRect, false, GridRect);
}

void DEreDuzeroVaro::PrintPreviewSelection(TCanvas* Canvas, TRect DisplayRect) {
  PreviewGridRange(Canvas, DisplayRect, false, Selection());
}

void DEreDuzeroVaro::PrintPreviewSelectedRows(TCanvas* Canvas, TRect DisplayRect) {
  PreviewGridRange(Canvas, DisplayRect, true, WholeGrid(*this));
}

void DEreDuzeroVaro::PrintPreviewSelectedCols(TCanvas* Canvas, TRect DisplayRect) {
  PreviewGridRange(Canvas, DisplayRect, true, WholeGrid(*this));
}

void DEreDuzeroVaro::Print() { PrintGridRange(WholeGrid(*this), false); }
void DEreDuzeroVaro::PrintSelection() { PrintGridRange(Selection(), false); }
void DEreDuzeroVaro::PrintRect(TGridRect GridRect) { PrintGridRange(GridRect, false); }
void DEreDuzeroVaro::PrintSelectedRows() { PrintGridRange(WholeGrid(*this), true); }
void DEreDuzeroVaro::PrintSelectedCols() { PrintGridRange(WholeGrid(*this), true); }

void DEreDuzeroVaro::PrintDraw(TCanvas* Canvas, TRect DrawRect) { PrintDrawRect(Canvas, DrawRect, WholeGrid(*this)); }

void DEreDuzeroVaro::PrintDrawRect(TCanvas* Canvas, TRect DrawRect, TGridRect GridRect) {
  FPrintRect = GridRect;
  PrevRect = DrawRect;
  FPrintPageFrom = FPrintPageTo = FPrintPageCount = 1;
  LayoutPrintPages(Canvas, 1, false, 1);
}

void DEreDuzeroVaro::PreviewGridRange(TCanvas* Canvas, TRect DisplayRect, bool SelectedOnly, TGridRect GridRect) {
  ExportNotification(esExportStart, -1);
  FPrintRect = GridRect;
  try {
    PrevRect = DisplayRect;
    int pages = 1;
    if (!FFastPrint) {
      pages = LayoutPrintPages(Canvas, 3, SelectedOnly, -1);
      FPrintPageCount = pages;
    }
    int from = 1, to = pages;
    FIsPrintPreview = true;
    if (OnPrintStart) OnPrintStart(this, pages, from, to);
    if (from > 0 && to > 0 && to >= from) {
      PrevRect = DisplayRect;
      LayoutPrintPages(Canvas, 0, SelectedOnly, pages);
    }
  } catch (...) {
    ExportNotification(esExportDone, -1);
    FIsPrintPreview = false;
    throw;
  }
  ExportNotification(esExportDone, -1);
  FIsPrintPreview = false;
}

void DEreDuzeroVaro::PrintGridRange(TGridRect GridRect, bool SelectedOnly) {
  ExportNotification(esExportStart, -1);
  FPrintRect = GridRect;
  TPrinter* printer = Printer();
  if (!FPrintSettings->UseDefaultOrientation()) printer->SetOrientation(FPrintSettings->Orientation());
  printer->SetTitle(FPrintSettings->JobName());
  printer->BeginDoc();
  try {
    HDC dc = printer->Canvas()->Handle();
    const int dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX)), dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    PrevRect = TRect(0, 0, static_cast<int>(std::lround(254.0 / dpiX * printer->PageWidth())),
                     static_cast<int>(std::lround(254.0 / dpiY * printer->PageHeight())));
    const int pages = FFastPrint ? 2147483647 : LayoutPrintPages(printer->Canvas(), 2, SelectedOnly, -1);
    FPrintPageFrom = 1;
    FPrintPageTo = FPrintPageCount = pages;
    if (OnPrintStart) {
      printer->Abort();
      OnPrintStart(this, pages, FPrintPageFrom, FPrintPageTo);
      if (FPrintPageFrom == 0 || FPrintPageTo == 0 || FPrintPageTo < FPrintPageFrom) {
        ExportNotification(esExportDone, -1);
        return;
      }
      printer->BeginDoc();
    }
    FPrintPageCount = FPrintPageTo;
    LayoutPrintPages(printer->Canvas(), 1, SelectedOnly, pages);
  } catch (...) {
    // The job ends with what was printed; the engine's error is what the caller sees.
    if (printer->Printing()) {
      try {
        printer->EndDoc();
      } catch (const EPrinter&) {
      }
    }
    throw;
  }
  printer->EndDoc();
  ExportNotification(esExportDone, -1);
}

void DEreDuzeroVaro::PlaceRotatedText(TRect& R, int HA, int VA, int c, int e, int f, int g, int Angle) {
  int left = R.Left, top = R.Top;
  const int q = Angle <= 90 ? 0 : Angle <= 180 ? 1 : Angle <= 270 ? 2 : 3;
  const int w = R.Right - R.Left;
  switch (q) {
    case 0: left = HA == 0 ? R.Left : HA == 1 ? R.Right - g - f : R.Left + (w - f - g) / 2; break;
    case 1: left = HA == 0 ? R.Left + g : HA == 1 ? R.Right - f : R.Right - (w + f - g) / 2; break;
    case 2: left = HA == 0 ? R.Left + f + g : HA == 1 ? R.Right : R.Right - (w - f - g) / 2; break;
    default: left = HA == 0 ? R.Left + f : HA == 1 ? R.Right - g : R.Left + (w + f - g) / 2; break;
  }
  const int m = ((R.Top - R.Bottom) + c + e) / 2;
  switch (q) {
    case 0: top = VA == 0 ? R.Top + e : VA == 1 ? R.Top - m + e : R.Bottom - c; break;
    case 1: top = VA == 0 ? R.Top + e + c : VA == 1 ? R.Top - m + e + c : R.Bottom; break;
    case 2: top = VA == 0 ? R.Top + c : VA == 1 ? R.Top - m + c : R.Bottom - e; break;
    default: top = VA == 0 ? R.Top : VA == 1 ? R.Top - m : R.Bottom - c - e; break;
  }
  R.Left = left;
  R.Top = top;
}

void DEreDuzeroVaro::DrawRotatedText(TRect& R, int Angle, int VA, int HA, const String& Text) {
  TSize ext = Canvas()->TextExtent(Text + u"w");
  InflateRect(&R, -2, -2);
  const double a = Angle * M_PI / 180.0;
  const int g = std::abs(static_cast<int>(std::trunc(std::cos(a) * ext.cx)));
  const int f = std::abs(static_cast<int>(std::trunc(std::sin(a) * ext.cy)));
  const int e = std::abs(static_cast<int>(std::trunc(std::sin(a) * ext.cx)));
  const int c = std::abs(static_cast<int>(std::trunc(std::cos(a) * ext.cy)));
  PlaceRotatedText(R, HA, VA, c, e, f, g, Angle);
}
