// Column stretching and the reference widths of width synchronisation.
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"

void DEreDuzeroVaro::InitOrigColSizes() {
  FOrigColSizes->Clear();
  for (int c = 0; c < ColCount(); ++c) FOrigColSizes->Add(ColWidths(c));
  FOldSize = Width();
}

void DEreDuzeroVaro::StretchColumn(int ACol) {
  if (IsLoading() || IsDestroying() || (Application && Application->Terminated())) return;
  if (ACol == -1) ACol = ColCount() - 1;
  if (ACol < 0 || ACol >= ColCount()) throw Exception(u"Stretch column index out of range");
  if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging) return;
  FIsColChanging = true;
  ColchgFlg = false;
  TScopeGuard done([this] {
    ColchgFlg = true;
    FIsColChanging = false;
  });
  int client = ClientRect().Width();
  if (ColCount() == 1) {
    SetColWidths(0, client);
    return;
  }
  int sum = 0;
  for (int c = 0; c < ColCount(); ++c)
    if (c != ACol) sum += ColWidths(c);
  if (sum < ClientRect().Right) SetColWidths(ACol, client - sum - 1);
  else if (LeftCol() == FixedCols()) SetColWidths(ACol, DefaultColWidth());
}
