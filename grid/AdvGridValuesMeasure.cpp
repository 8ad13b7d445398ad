// Cell alignment, text measurement and the balloon tooltip's texts.
#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/ui/MeasureCanvas.h"
#include "platform/win/Gdi.h"

namespace {

// The lines of S split at CR (a following LF dropped), in one pass; just the first line
// unless Multi.
std::vector<String> SplitLines(const String& S, bool Multi) {
  std::vector<String> lines;
  size_t start = 0;
  for (;;) {
    size_t cr = S.find(u'\r', start);
    if (cr == String::npos || !Multi) {
      lines.push_back(S.substr(start, cr == String::npos ? String::npos : cr - start));
      return lines;
    }
    lines.push_back(S.substr(start, cr - start));
    start = cr + 1;
    if (start < S.size() && S[start] == u'\n') ++start;
  }
}

// The height DrawTextExW gives the text wrapped in R. A long text is measured paragraph by
// paragraph (a line break starts a new line either way), so its cost stays linear.
int WrappedHeight(TCanvas* Canvas, String& Text, const TRect& R, UINT Flags) {
  auto measure = [&](Char* p, int n) {
    RECT rc = R;
    DrawTextExW(Canvas->Handle(), p, n, &rc, Flags, nullptr);
    return rc.Bottom - rc.Top;
  };
  if (Text.size() <= 65536) return measure(Text.data(), static_cast<int>(Text.size()));
  int height = 0, lineHeight = Canvas->TextHeight(u"gh");
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find_first_of(u"\r\n", start);
    if (end == String::npos) end = Text.size();
    height += end > start ? measure(Text.data() + start, static_cast<int>(end - start)) : lineHeight;
    if (end == Text.size()) break;
    start = end + (Text[end] == u'\r' && end + 1 < Text.size() && Text[end + 1] == u'\n' ? 2 : 1);
  }
  return height;
}

}  // namespace

void DEreDuzeroVaro::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  HAlign = FDefaultAlignment;
  VAlign = FVAlignment;
  bool formula = false;
  if (FAutoNumAlign) {
    String t = Cells(ACol, ARow);
    if (!t.empty() && t[0] == u'=') {
      formula = true;
      t = GetPrintCellText(ACol, ARow);
    } else if (t.size() > 3 && t[0] == u'|' && t[1] == u'\\' && t[3] == u'=') {
      t = GetPrintCellText(ACol, ARow);
    }
    uint8_t kind = NumberTextKind(Trim(t));
    if (kind == 0 || kind == 1 || kind == 5) HAlign = taRightJustify;
  }
  if (HasCellProperties(ACol, ARow) && !formula) HAlign = CellProperties(ACol, ARow)->Alignment();
  GetAlignment(ACol, ARow, HAlign, VAlign);
}

void DEreDuzeroVaro::GetCellTextSize(int ACol, int ARow, TPoint& Size, bool ButtonSpace, bool WrapToCell) {
  MeasureCellText(ACol, RealToDisplCol(ACol), Size, ButtonSpace, WrapToCell, ARow);
}

void DEreDuzeroVaro::MeasureCellText(int RealCol, int DisplCol, TPoint& Size, bool ButtonSpace, bool WrapToCell,
                                     int ARow) {
  String text = GetFormattedCell(RealCol, ARow);
  uint8_t kind = ClassifyCellText(text, FEnableHTML);
  // One canvas for a whole sizing run, else one for this measurement.
  std::optional<TMeasureCanvas> own;
  TCanvas* canvas = FSizingCanvas ? FSizingCanvas : own.emplace(Canvas()).Canvas();
  // The font the cell is drawn with: the fixed font in fixed cells, the cell's own font
  // properties, then OnGetCellColor.
  TGridDrawState state;
  GetFontProperties(DisplCol, RealCol, ARow, state, canvas->Font(), canvas->Brush(), false);
  if (FZoomFactor != 0) canvas->Font()->SetSize(canvas->Font()->Size() + FZoomFactor);
  if (kind == 3) text = GetPrintCellText(RealCol, ARow);
  if (kind == 5) text = UnpackWideText(text);

  // The area the text is measured in, for HTML and wrapped text only (a single-line
  // measurement needs none). A cell out of view has an empty CellRect: its area is measured by
  // its sizes instead.
  auto area = [&] {
    TRect r = CellRect(DisplCol, ARow);
    if (r.Right <= r.Left && DisplCol >= 0 && DisplCol < ColCount() && ARow >= 0 && ARow < RowCount()) {
      const TPoint span = CellSpan(RealCol, ARow);
      int w = 0, h = 0;
      for (int c = DisplCol; c <= std::min(ColCount() - 1, DisplCol + span.X); ++c) w += ColWidths(c);
      for (int row = ARow; row <= std::min(RowCount() - 1, ARow + span.Y); ++row) h += RowHeights(row);
      r = TRect(0, 0, w, h);
    }
    if (FXYOffsetTopLeftOnly) {
      r.Left += FXYOffset.X;
      r.Top += FXYOffset.Y;
    } else {
      r.Left += FXYOffset.X;
      r.Right -= FXYOffset.X;
      r.Top += FXYOffset.Y;
      r.Bottom -= FXYOffset.Y;
    }
    if (ButtonSpace) r.Right -= 17;
    return r;
  };

  if (kind == 1) {
    TRect r = area();
    if (!WrapToCell) r.Right = 65535;
    r.Bottom = 65535;
    String href, plain, focused, title, ctrlID, ctrlVal, ctrlType;
    int32_t w = 0, h = 0, anchors = 0, hitIdx = 0;
    TRect hitRect, ctrlRect;
    DrawHtmlText(canvas, text, r, GetImageList(), 0, 0, -1, -1, 1, false, true, false, false, true, false,
                 !FEnhTextSize, false, 1.0, FURLColor, clNone, clNone, clGray, href, plain, focused, title, w, h,
                 anchors, hitIdx, hitRect, ctrlRect, ctrlID, ctrlVal, ctrlType, FImageCache.get(), FContainer,
                 nullptr, 0);
    Size = TPoint(w + 2, h + 2);
    return;
  }
  if (kind == 2) text = CellPlainText(RealCol, ARow);

  int angle = 0;
  bool rotated = IsRotated(RealCol, ARow, angle);
  if (WrapToCell) {
    TRect r = area();
    r.Left += 2;
    r.Top += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    // The cell being edited: a last empty line counts too.
    if (FEditMode && RealCol == RealColIndex(Col()) && ARow == Row() && !text.empty() && text.back() == u'\n')
      text += u"w";
    UINT flags = rotated ? 0x2C60 : 0x2C50;
    Size = TPoint(r.Right - r.Left, WrappedHeight(canvas, text, r, flags));
  } else {
    const bool stripUrl = kind == 0 && FURLShow && !FURLFull;
    int width = 0, count = 1;
    if (text.find(u'\r') == String::npos) {  // one line, measured as it is
      if (stripUrl) StripUrlProtocol(text);
      width = canvas->TextWidth(text);
    } else {
      std::vector<String> lines = SplitLines(text, FMultilinecells);
      for (String& line : lines) {
        if (stripUrl) StripUrlProtocol(line);
        width = std::max(width, canvas->TextWidth(line));
      }
      count = static_cast<int>(lines.size());
    }
    Size = TPoint(width, count * canvas->TextHeight(u"gh"));
  }
  if (rotated) {
    double a = angle * M_PI / 180.0;
    int k1 = std::abs(static_cast<int>(std::trunc(Size.X * std::cos(a))));
    int k2 = std::abs(static_cast<int>(std::trunc(Size.Y * std::sin(a))));
    int k3 = std::abs(static_cast<int>(std::trunc(Size.X * std::sin(a))));
    int k4 = std::abs(static_cast<int>(std::trunc(Size.Y * std::cos(a))));
    Size = TPoint(std::abs(k2 - k1) + 12, std::abs(k4 - k3) + 12);
  }
}

String DEreDuzeroVaro::TooltipText(const String& Text) {
  String t = Text;
  for (Char& ch : t)
    if (ch == u'\t') ch = u' ';
  size_t skip = 0;
  while (skip < Text.size() && (Text[skip] == u'\r' || Text[skip] == u'\n' || Text[skip] == u'\t')) ++skip;
  if (t.size() > 2048) return t.substr(skip, 2045) + u"...";
  return t.substr(skip);
}

String DEreDuzeroVaro::TooltipTitle(const String& Title) {
  return Title.size() > 100 ? Title.substr(0, 97) + u"..." : Title;
}

String DEreDuzeroVaro::CellPlainText(int ACol, int ARow) {
  String t = Cells(ACol, ARow);
  switch (ClassifyCellText(t, FEnableHTML)) {
    case 1:
      return HtmlToPlainText(t);
    case 2:
      return RichTextToPlain(t);
    case 5:
      return UnpackWideText(t);
    default:
      return t;
  }
}

bool DEreDuzeroVaro::GetCellBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon) {
  Icon = biInfo;
  Title.assign(1, u' ');
  Text.clear();
  bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
  if (!valid) return false;
  int rc = RealColIndex(ACol);
  Text = TooltipText(CellPlainText(rc, ARow));
  String t, x;
  TBalloonIcon i = biInfo;
  if (IsBalloon(rc, ARow, t, x, i)) {
    Title = t;
    Text = x;
    Icon = i;
  }
  if (OnCellBalloon) OnCellBalloon(this, rc, ARow, Title, Text, Icon);
  Title = TooltipTitle(Title);
  return true;
}
