// Navigation over merged cells: keys and the mouse wheel step over merged areas and the
// current cell rests on base cells only.

#include "grid/BaseGrid.h"

void TBaseGrid::MoveToBaseCell() {
  TCellProperties* p = Record(Col(), Row());
  if (p == nullptr) return;
  TPoint b = p->GetBaseCell(Col(), Row());
  if (b.X != Col() && b.X >= FixedCols()) SetCol(b.X);
  if (b.Y != Row() && b.Y >= FixedRows()) SetRow(b.Y);
}

bool TBaseGrid::SelectCell(int ACol, int ARow) {
  RepaintCell(Col(), Row());
  bool result = TObjStringGrid::SelectCell(ACol, ARow);
  RepaintCell(ACol, ARow);
  return result;
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift) {
  TCellProperties* p = Record(Col(), Row());
  int bx = Col(), by = Row(), spanX = -1, spanY = -1;
  if (p != nullptr) {
    TPoint b = p->GetBaseCell(Col(), Row());
    bx = b.X;
    by = b.Y;
    if (TCellProperties* bp = Record(bx, by)) {
      spanX = bp->CellSpanX();
      spanY = bp->CellSpanY();
    }
  }
  switch (Key) {
    case VK_NEXT:
      if (VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && FHideLastRow && RowCount() > 1 &&
          RowCount() - 2 >= FixedRows())
        SetRow(RowCount() - 2);
      break;
    // From a covered cell the class library's step then lands beside the area.
    case VK_LEFT:
      if (p != nullptr && Col() > bx && Col() > FixedCols() && bx >= FixedCols()) SetCol(bx);
      break;
    case VK_UP:
      if (p != nullptr && Row() > by && Row() > FixedRows() && by >= FixedRows()) SetRow(by);
      break;
    case VK_RIGHT:
      if (p != nullptr && bx + spanX >= Col() && Col() < ColCount() - 1 && bx < ColCount() - 1 &&
          bx + spanX < ColCount())
        SetCol(bx + spanX);
      break;
    case VK_DOWN:
      if (p != nullptr && by + spanY >= Row() && Row() < RowCount() - 1 && by < RowCount() - 1 &&
          by + spanY < RowCount())
        SetRow(by + spanY);
      break;
    default: break;
  }
  bool pageDown = Key == VK_NEXT;
  TObjStringGrid::KeyDown(Key, Shift);
  // The page move stops short of the hidden last row, which only holds footer values.
  if (pageDown && FHideLastRow && Row() == RowCount() - 1 && RowCount() - 2 >= FixedRows()) SetRow(RowCount() - 2);
  MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  // As Down: the step leaves a merged area past its last row instead of landing back on it.
  if (TCellProperties* p = Record(Col(), Row())) {
    TPoint b = p->GetBaseCell(Col(), Row());
    TCellProperties* bp = Record(b.X, b.Y);
    int last = bp != nullptr ? b.Y + bp->CellSpanY() : -1;
    if (last > Row() && last < RowCount() - 1) SetRow(last);
  }
  bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (Row() - TopRow() > VisibleRowCount() && Row() != RowCount() - 1 && FHideLastRow) SetTopRow(TopRow() + 1);
  MoveToBaseCell();
  return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
  MoveToBaseCell();
  return result;
}

void TBaseGrid::TopLeftChanged() {
  TObjStringGrid::TopLeftChanged();
  if (FixedCols() > 0)
    for (int c = 0; c < FixedCols(); ++c)
      for (int r = TopRow(); r <= TopRow() + VisibleRowCount(); ++r)
        if (IsMergedCell(c, r)) RepaintCell(c, r);
  if (FixedRows() > 0)
    for (int r = 0; r < FixedRows(); ++r)
      for (int c = LeftCol(); c <= LeftCol() + VisibleColCount(); ++c)
        if (IsMergedCell(c, r)) RepaintCell(c, r);
}
