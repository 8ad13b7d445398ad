#include "grid/SyncGrid.h"

#include "platform/ui/Grids.h"

void TSyncGrid::SetGrid(TStringGrid* Value) {
  if (Value != nullptr && static_cast<TComponent*>(Value) == FOwner) return;
  FGrid = Value;
}

void TSyncGrid::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSyncGrid*>(Source);
  if (s == nullptr) return TPersistent::Assign(Source);
  SetGrid(s->FGrid);
  FScrollHorizontal = s->FScrollHorizontal;
  FScrollVertical = s->FScrollVertical;
  FSelectionRow = s->FSelectionRow;
  FSelectionColumn = s->FSelectionColumn;
  FMoveRow = s->FMoveRow;
  FMoveColumn = s->FMoveColumn;
}
