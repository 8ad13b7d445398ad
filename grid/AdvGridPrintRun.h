#pragma once
// One layout run of the print engine: the page, the text metrics, the counters and the mapping
// of the run's units (0.1 mm, y upwards) onto the canvas's pixels. Private to AdvGridPrint*.cpp.

#include <cmath>
#include <map>
#include <vector>
#include <memory>

#include "grid/AdvGrid.h"

struct DEreDuzeroVaro::TPrintRun {
  TCanvas* Canvas = nullptr;
  int Mode = 0;
  bool SelectedOnly = false;
  int Total = -1;

  // Canvas pixels per 0.1 mm and the pixel where (0, 0) lies.
  double DevX = 96.0 / 254.0, DevY = 96.0 / 254.0;
  int OrgX = 0, OrgY = 0;

  int W = 0, H = 0;  // H negative
  int HeaderTextHeight = 0, FooterTextHeight = 0, BodyTextHeight = 0;
  int Gap = 0, HalfG = 0;
  double DeviceRatio = 1.0, PixelFactor = 254.0 / 96.0, FitScale = 1.0;
  int LeftIndent = 0, Spacing = 0;

  int PagesDone = 0, Band = 0, PageInBand = 0, RowsOnPage = 0, LastBreakRow = -1;
  bool SeveralBands = false, Cancel = false;
  int StartCol = 0, EndCol = 0;
  bool RepeatCols = false;
  int FixedWidth = 0, HeaderHeight = 0, FooterHeight = 0;
  int CachedRow = -1, CachedHeight = 0;

  bool Drawing() const { return Mode == 0 || Mode == 1; }

  // Measuring: the metrics of each font the run met, kept for the run, so that a cell costs a
  // look-up of its font and a sum of character advances instead of a text layout.
  struct TFontMetrics {
    String Key;
    int LineHeight = 0;      // text height of "gh", in the run's units
    double Advance[128] = {};  // canvas pixels; 0 until measured
  };
  // Heights of the rows from MeasuredFrom on, found while the column widths were measured.
  std::vector<int> MeasuredRows;
  int MeasuredFrom = 0;
  TFont ScratchFont;
  TBrush ScratchBrush;
  TFontMetrics* MeasureFont = nullptr;  // the font now on the canvas for measuring
  TFont LastFont;                       // and what it was made of
  int LastHeight = 0;
  std::map<String, std::unique_ptr<TFontMetrics>> Fonts;

  // Puts Font with a height of the run's units on the canvas (unless it is there already)
  // and returns its metrics.
  TFontMetrics& UseFont(const TFont& Font, int Height) {
    if (MeasureFont && Height == LastHeight && Font.Name() == LastFont.Name() && Font.Style() == LastFont.Style() &&
        Font.Orientation() == LastFont.Orientation() && Font.Charset() == LastFont.Charset() &&
        Font.Pitch() == LastFont.Pitch())
      return *MeasureFont;
    LastFont.Assign(const_cast<TFont*>(&Font));
    LastHeight = Height;
    const String key = Font.Name() + u"|" + IntToStr(Height) + u"|" + IntToStr(static_cast<int>(Font.Style().Bits())) +
                       u"|" + IntToStr(Font.Orientation()) + u"|" + IntToStr(Font.Charset()) + u"|" +
                       IntToStr(Font.Pitch());
    if (MeasureFont && MeasureFont->Key == key) return *MeasureFont;
    Canvas->Font()->Assign(const_cast<TFont*>(&Font));
    SetFontHeight(Canvas->Font(), Height);
    auto& slot = Fonts[key];
    if (!slot) {
      slot = std::make_unique<TFontMetrics>();
      slot->Key = key;
      slot->LineHeight = TextHeight(u"gh");
    }
    MeasureFont = slot.get();
    return *slot;
  }
  // The width of a line in the font UseFont put on the canvas. Printable ASCII is summed from
  // the characters' advances (each measured once, over ten copies for sub-pixel precision);
  // any other text is measured as a whole.
  int LineWidth(TFontMetrics& M, const String& S) const {
    double sum = 0;
    for (char16_t ch : S) {
      if (ch < 32 || ch >= 127 || ch == u'&') return TextWidth(S);
      double& a = M.Advance[ch];
      if (a == 0) a = std::max(0.01, Canvas->TextWidth(String(10, ch)) / 10.0);
      sum += a;
    }
    return LX(static_cast<int>(std::ceil(sum)));
  }

  int DX(int X) const { return OrgX + static_cast<int>(std::lround(X * DevX)); }
  int DY(int Y) const { return OrgY - static_cast<int>(std::lround(Y * DevY)); }
  // A rectangle of the run's units (Top above Bottom) as canvas pixels (Top < Bottom).
  TRect DevRect(const TRect& R) const { return TRect(DX(R.Left), DY(R.Top), DX(R.Right), DY(R.Bottom)); }
  // Canvas pixels as the run's units.
  int LX(int Pixels) const { return static_cast<int>(std::lround(Pixels / DevX)); }
  int LY(int Pixels) const { return static_cast<int>(std::lround(Pixels / DevY)); }
  int PenPixels(int Width) const { return std::max(1, static_cast<int>(std::lround(Width * DevX))); }

  // The canvas font takes a height of the run's units (negative: character height).
  void SetFontHeight(TFont* F, int Height) const {
    int px = static_cast<int>(std::lround(Height * DevY));
    if (px == 0) px = Height < 0 ? -1 : 1;
    F->SetHeight(px);
  }
  int TextWidth(const String& S) const { return LX(Canvas->TextWidth(S)); }
  int TextHeight(const String& S) const { return LY(Canvas->TextHeight(S)); }
  void TextOut(int X, int Y, const String& S) const { Canvas->TextOut(DX(X), DY(Y), S); }
  void Line(int X0, int Y0, int X1, int Y1) const {
    Canvas->MoveTo(DX(X0), DY(Y0));
    Canvas->LineTo(DX(X1), DY(Y1));
  }
};
