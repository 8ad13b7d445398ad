// Clearing and trimming rectangles of cells.
#include <algorithm>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

void DEreDuzeroVaro::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  bool destroying = IsDestroying();
  if (!FClearTextOnly && HasCellProps()) {
    if (FNilObjects) {
      // Another row or column holds these records: detach them without freeing.
      std::vector<TPoint> held;
      ForEachObject(TGridRect{std::max(0, ACol1), std::max(0, ARow1), ACol2, ARow2},
                    [&](int c, int r, TObject* Obj) {
                      if (dynamic_cast<TCellProperties*>(Obj)) held.push_back(TPoint(c, r));
                    });
      for (const TPoint& p : held) ResetCell(p.X, p.Y);
    } else {
      // The records and the graphics the grid made go; an application's object stays its own.
      FreeCellPropertiesRect(ACol1, ARow1, ACol2, ARow2);
    }
  }
  if (!destroying) {
    for (int r = std::max(0, ARow1); r <= ARow2; ++r)
      for (int c = std::max(0, ACol1); c <= ACol2; ++c)
        if (!GridCells(c, r).empty()) SetGridCells(c, r, String());
  }
  // A clear of the whole grid leaves no record behind (unless only texts were cleared).
  if (!FClearTextOnly && ACol1 <= 0 && ARow1 <= 0 && ACol2 >= TotalColCount() - 1 && ARow2 >= RowCount() - 1)
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
