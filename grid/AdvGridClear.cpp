// Clearing and trimming rectangles of cells.
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

void DEreDuzeroVaro::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  bool destroying = IsDestroying();
  for (int r = ARow1; r <= ARow2; ++r) {
    for (int c = ACol1; c <= ACol2; ++c) {
      if (!FClearTextOnly && HasCellProperties(c, r)) {
        // The record and a graphic the grid made go; an application's object stays its own.
        if (FNilObjects) ResetCell(c, r);
        else FreeCellPropertiesRect(c, r, c, r);
      }
      if (!destroying && !GridCells(c, r).empty()) SetGridCells(c, r, String());
    }
  }
  // A clear of the whole grid leaves no record behind (unless only texts were cleared).
  if (!FClearTextOnly && ACol1 == 0 && ARow1 == 0 && ACol2 >= TotalColCount() - 1 && ARow2 >= RowCount() - 1)
    SetHasCellProps(false);
  if (!destroying && !FBlockCellChange) CellsChanged(TRect(ACol1, ARow1, ACol2, ARow2));
}

void DEreDuzeroVaro::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      String s = Cells(c, r);
      String t = Trim(s);
      if (t != s) SetCells(c, r, t);
    }
}
