// Node and summary rows and expand cells, as far as the grid's hooks ask about them.
#include "grid/AdvGrid.h"

bool DEreDuzeroVaro::IsNode(int ARow) { return GetCellType(0, ARow) == ctNode; }

bool DEreDuzeroVaro::IsSummary(int ARow) { return GetCellType(0, ARow) == ctSummary; }

int DEreDuzeroVaro::GetExpandHeight(int ACol, int ARow, bool Expanded) {
  TPoint base = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(base.X, base.Y);
  if (!g) return DefaultRowHeight();
  // An expand cell keeps the contracted height in its index and the expanded one in its angle.
  return Expanded ? g->CellAngle() : g->CellIndex();
}
