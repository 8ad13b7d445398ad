// DEreDuzeroVaro: sizing columns and rows to their contents (text measured in the font each
// cell is drawn with, graphics, glyph and button room, margins and bounds).

#include <algorithm>
#include <optional>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/ui/MeasureCanvas.h"

namespace {

bool IsCheckKind(TCellType Kind) {
  return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRadioButton;
}

}  // namespace

class DEreDuzeroVaro::TSizingScope {
public:
  explicit TSizingScope(DEreDuzeroVaro* AGrid) : FGrid(AGrid) {
    if (FGrid->FSizingCanvas) return;
    FCanvas.emplace(FGrid->Canvas());
    FGrid->FSizingCanvas = FCanvas->Canvas();
  }
  ~TSizingScope() {
    if (FCanvas) FGrid->FSizingCanvas = nullptr;
  }
  TSizingScope(const TSizingScope&) = delete;
  TSizingScope& operator=(const TSizingScope&) = delete;

private:
  DEreDuzeroVaro* FGrid;
  std::optional<TMeasureCanvas> FCanvas;
};

// ===========================================================================
// Columns

int DEreDuzeroVaro::ContentWidth(int ACol, int RCol, int ARow) {
  TPoint text;
  GetCellTextSize(RCol, ARow, text, false, false);
  TCellGraphic* g = GetCellGraphic(RCol, ARow);
  const int gw = g ? GetCellGraphicSize(RCol, ARow).X : 0;
  int w = gw + text.X;
  if (FControlLook->DropDownAlwaysVisible() && HasComboBox(RCol, ARow)) w += 16;
  if (FFilterDropDownAuto && ARow == FilterDropDownRow() && BuildFilterList(RCol)) w += 12;
  if (ARow == FSortSettings->Row() && FSortSettings->Show() && RCol == FSortSettings->Column()) w += 10;
  if (g && g->CellHAlign() == haFull) w = gw - (2 * GridLineWidth() + FXYOffset.X + 2);
  (void)ACol;
  return w;
}

void DEreDuzeroVaro::SizeColumnToContent(int ACol, bool GrowOnly) {
  if (ACol < 0 || ACol >= ColCount()) return;
  const int rc = RealColIndex(ACol);
  int first = 0, last = RowCount() - 1;
  switch (FColumnSize->Rows()) {
    case arNormal:
      first = TCustomGrid::FixedRows();
      last = RowCount() - FFixedFooters - 1;
      break;
    case arFixed:
      last = TCustomGrid::FixedRows() - 1;
      break;
    case arAll:
      break;
  }
  TSizingScope measuring(this);
  int widest = 0;
  for (int r = first; r <= last; ++r)
    if (CellSpan(rc, r).X == 0) widest = std::max(widest, ContentWidth(ACol, rc, r));
  const int margin = FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X;
  int width = margin + widest + 2 * GridLineWidth() + 2;
  if (!GrowOnly || ColWidths(ACol) < width) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, width);
    SetColWidths(ACol, std::max(0, ClampToLimits(width, FMinColWidth, FMaxColWidth)));
  }
}

void DEreDuzeroVaro::AutoSizeCol(int ACol, int Padding) {
  if (ACol < 0 || ACol >= ColCount()) return;
  SizeColumnToContent(ACol, FSizeGrowOnly);
  if (Padding != 0)
    SetColWidths(ACol, std::max(0, ClampToLimits(ColWidths(ACol) + Padding, FMinColWidth, FMaxColWidth)));
}

void DEreDuzeroVaro::AutoSizeColumns(bool DoFixedCols, int Padding) {
  const int first = DoFixedCols ? 0 : FixedCols();
  const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
  TUpdateScope lock(this);
  for (int c = first; c <= last; ++c) AutoSizeCol(c, Padding);
}

// ===========================================================================
// Rows

void DEreDuzeroVaro::SizeRowToContent(int ARow, bool GrowOnly) {
  if (ARow < 0 || ARow >= RowCount()) return;
  TSizingScope measuring(this);
  int tallest = 0;
  for (int c = 0; c < ColCount(); ++c) {
    const int rc = RealColIndex(c);
    if (CellSpan(rc, ARow).Y != 0 || IsIgnoredColumn(c)) continue;
    TPoint text;
    GetCellTextSize(rc, ARow, text, false, WordWrap());
    int th = text.Y, gh = 0;
    TCellGraphic* g = GetCellGraphic(rc, ARow);
    if (g) {
      gh = GetCellGraphicSize(rc, ARow).Y;
      if (g->CellVAlign() == vaFull) gh = th != 0 ? 0 : DefaultRowHeight();
      if ((g->CellType() == ctDataCheckBox || g->CellType() == ctVirtCheckBox) && gh > 0) th = 0;
    }
    int h = th + gh;
    if (IsMergedNonBaseCell(rc, ARow)) h = 0;
    if (g && IsCheckKind(g->CellType())) h = DefaultRowHeight();
    tallest = std::max(tallest, h);
  }
  int height = GetVertMargin() + tallest + 2 * GridLineWidth();
  if (FXYOffsetTopLeftOnly) height += 2;

  // Typing in a grid that showed every row: when the row grows the last rows out of view, the
  // editor is opened again at its place with the caret at the end of its text.
  const bool allInView = TopRow() <= TCustomGrid::FixedRows() &&
                         TopRow() + VisibleRowCount() >= RowCount();
  const bool typing = allInView && FEditMode && FSizeWhileTyping->Height();

  if (!GrowOnly || RowHeights(ARow) < height)
    SetRowHeights(ARow, std::max(0, ClampToLimits(height, FMinRowHeight, FMaxRowHeight)));

  if (typing && TopRow() + VisibleRowCount() < RowCount()) {
    ShowInplaceEdit();
    if (TInplaceEdit* ed = InplaceEditor()) ed->SetSelStart(static_cast<int>(ed->Text().size()));
  }
}

void DEreDuzeroVaro::AutoSizeRow(int ARow, int Padding) {
  if (ARow < 0 || ARow >= RowCount()) return;
  SizeRowToContent(ARow, FSizeGrowOnly);
  if (Padding != 0)
    SetRowHeights(ARow, std::max(0, ClampToLimits(RowHeights(ARow) + Padding, FMinRowHeight, FMaxRowHeight)));
}

void DEreDuzeroVaro::AutoSizeRows(bool DoFixedRows, int Padding) {
  if (RowCount() == 0) return;
  const int first = DoFixedRows ? 0 : TCustomGrid::FixedRows();
  TUpdateScope lock(this);
  ExportNotification(esExportStart, first);
  for (int r = first; r < RowCount(); ++r) {
    ExportNotification(esExportNextRow, r);
    if (WordWrap())
      AutoSizeRow(r, Padding);
    else
      SizeRowToLines(r, MaxLinesInRow(r), Padding);
  }
  ApplyScrollBarAlways();
  ExportNotification(esExportDone, -1);
}

// ===========================================================================
// Cells

void DEreDuzeroVaro::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
  const int firstCol = DoFixedCells ? 0 : FixedCols();
  const int firstRow = DoFixedCells ? 0 : TCustomGrid::FixedRows();
  TUpdateScope lock(this);
  TSizingScope measuring(this);
  for (int c = firstCol; c < ColCount(); ++c) {
    const int rc = RealColIndex(c);
    int running = FSizeGrowOnly ? ColWidths(c) : 0;
    for (int r = firstRow; r < RowCount(); ++r) {
      TPoint text;
      GetCellTextSize(rc, r, text, false, false);
      const TPoint graphic = GetCellGraphic(rc, r) ? GetCellGraphicSize(rc, r) : TPoint(0, 0);
      const TPoint span = CellSpan(rc, r);
      int w = text.X + graphic.X + PaddingX + FXYOffset.X;
      int h = text.Y + graphic.Y + PaddingY + FXYOffset.Y;
      if (span.X == 0 && w > running) {
        w = ClampToLimits(w, FMinColWidth, FMaxColWidth);
        if (w > running) {
          SetColWidths(c, w);
          running = w;
        }
      }
      if (span.Y == 0 && h > RowHeights(r)) {
        h = ClampToLimits(h, FMinRowHeight, FMaxRowHeight);
        if (h > RowHeights(r)) SetRowHeights(r, h);
      }
    }
  }
}
