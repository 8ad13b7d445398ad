// Cell addressing: real and display indexes, hidden rows, sort and column order.
#include "controls/HtmlText.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

TObject* DEreDuzeroVaro::GetGridObjectByRealRow(int ACol, int RealRow) {
  if (const TGridItem* h = HiddenRowOf(RealRow)) return h->Object(ACol);
  return GridObjects(ACol, RealToDisplRow(RealRow));
}

void DEreDuzeroVaro::SetCellsEx(int ACol, int ARow, const String& Value) {
  if (TGridItem* h = HiddenRowOf(ARow)) {
    SetHiddenCell(*h, ACol, Value, h->Object(ACol));
    FooterColumnWritten(ACol);
    return;
  }
  int row = RealToDisplRow(ARow);
  SetCells(ACol, row, Value);
  int d = RealToDisplCol(ACol);
  if (d != ACol) RepaintCell(d, row);
}

String DEreDuzeroVaro::GetGridCellsEx(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return String();
  if (const TGridItem* h = HiddenRowOf(ARow)) return h->Text(ACol);
  return GridCells(ACol, RealToDisplRow(ARow));
}

void DEreDuzeroVaro::SetGridCellsEx(int ACol, int ARow, const String& Value) {
  if (TGridItem* h = HiddenRowOf(ARow)) {
    if (ACol < 0 || ACol >= h->Width()) throw EListError(u"List index out of bounds (" + IntToStr(ACol) + u")");
    SetHiddenCell(*h, ACol, Value, h->Object(ACol));
    return;
  }
  int row = RealToDisplRow(ARow);
  SetGridCells(ACol, row, Value);
  int d = RealToDisplCol(ACol);
  if (d != ACol) RepaintCell(d, row);
}

TObject* DEreDuzeroVaro::AllObjects(int ACol, int ARow) {
  if (const TGridItem* h = HiddenRowOf(ARow)) {
    TObject* o = h->Object(ACol);
    if (auto* props = dynamic_cast<TCellProperties*>(o)) return props->CellObject();
    return o;
  }
  return Objects(ACol, RealToDisplRow(ARow));
}

void DEreDuzeroVaro::SetAllObjects(int ACol, int ARow, TObject* Value) {
  if (TGridItem* h = HiddenRowOf(ARow)) {
    // The user object goes into the cell's record, as in a shown row, so the record stays.
    if (auto* props = dynamic_cast<TCellProperties*>(h->Object(ACol))) props->SetCellObject(Value);
    else SetHiddenCell(*h, ACol, h->Text(ACol), Value);
    return;
  }
  SetObjects(ACol, RealToDisplRow(ARow), Value);
}

int DEreDuzeroVaro::AllColWidths(int ACol) {
  if (IsHiddenColumn(ACol)) return FAllColWidths[ACol];
  return ColWidths(RealToDisplCol(ACol));
}

void DEreDuzeroVaro::SetAllColWidths(int ACol, int Value) {
  if (ACol >= 0 && ACol < static_cast<int>(FAllColWidths.size())) FAllColWidths[ACol] = Value;
  if (!IsHiddenColumn(ACol)) SetColWidths(RealToDisplCol(ACol), Value);
}

int DEreDuzeroVaro::ColumnPosition(int ACol) {
  int n = FColumnOrder->Count();
  if (n == 0) return ACol;
  int p = ACol;
  for (int i = 0; i < n && i < AllColCount(); ++i)
    if (FColumnOrder->Items(i) == ACol) {
      p = i;
      break;
    }
  return FGroupColumn != -1 && ACol >= FGroupColumn ? p - 1 : p;
}

int DEreDuzeroVaro::ColumnAtPosition(int APos) {
  if (FColumnOrder->Count() == 0) SetColumnOrder();
  if (FColumnOrder->Count() == 0) return APos;
  int c = FColumnOrder->Items(APos);
  return FGroupColumn != -1 && c >= FGroupColumn ? c + 1 : c;
}

void DEreDuzeroVaro::ResetColumnOrder() {
  UnHideColumnsAll();
  if (FColumnOrder->Count() == 0) {
    SetColumnOrder();
    return;
  }
  // Each pass moves columns that stand right of their place back to it; MoveColumn moves the
  // order entry along, so the passes end when every entry stands at its own position.
  bool moved = true;
  while (moved) {
    moved = false;
    for (int p = 0; p < ColCount() && p < FColumnOrder->Count(); ++p) {
      int initial = FColumnOrder->Items(p);
      if (initial < p) {
        MoveColumn(p, initial);
        // The column-moved handling moves the entry along; where it did not, move it here.
        if (FColumnOrder->Items(initial) != initial) {
          FColumnOrder->Delete(p);
          FColumnOrder->Insert(initial, initial);
        }
        moved = true;
      }
    }
  }
}

String DEreDuzeroVaro::OriginalCells(int ACol, int ARow) {
  int c = ColumnPosition(ACol);
  return Cells(c == -1 ? ACol : c, ARow);
}

void DEreDuzeroVaro::SetOriginalCells(int ACol, int ARow, const String& Value) {
  int c = ColumnPosition(ACol);
  SetCells(c == -1 ? ACol : c, ARow, Value);
}

int DEreDuzeroVaro::SortedRowIndex(int ARow) {
  if (ARow >= 0 && ARow < FSortRowXRef->Count()) ARow = FSortRowXRef->Items(ARow);
  return DisplToRealRow(ARow);
}

int DEreDuzeroVaro::UnSortedRowIndex(int ARow) {
  int n = FSortRowXRef->Count();
  if (n < 1) return ARow;
  int i = FSortRowXRef->IndexOf(ARow);
  return i < 0 ? n : i;
}

// A row that has no cross-reference entry (added after the sort) is read as itself.
String DEreDuzeroVaro::UnSortedCells(int ACol, int ARow) {
  int i = FSortRowXRef->IndexOf(ARow);
  return Cells(ACol, i < 0 ? ARow : i);
}

void DEreDuzeroVaro::SetUnSortedCells(int ACol, int ARow, const String& Value) {
  int i = FSortRowXRef->IndexOf(ARow);
  SetCells(ACol, i < 0 ? ARow : i, Value);
}

String DEreDuzeroVaro::StrippedCells(int ACol, int ARow) { return HtmlToPlainText(Cells(ACol, ARow)); }

String DEreDuzeroVaro::GetCurrentCellText() {
  TPoint b = BaseCell(RealCol(), Row());
  return Cells(b.X, b.Y);
}

int DEreDuzeroVaro::ColumnByHeader(const String& AValue) {
  for (int c = 0; c < TotalColCount(); ++c)
    if (GetCellsEx(c, 0) == AValue) return c;
  return -1;
}

void DEreDuzeroVaro::CellTextChanged(int ACol, int ARow) {
  if (!HasAutoRangeScrollBar(ACol, ARow)) return;
  TPoint size;
  GetCellTextSize(ACol, ARow, size, false, true);
  TScrollProp prop;
  prop.PageSize = RowHeights(ARow);
  prop.Range = size.Y;
  SetScrollProp(ACol, ARow, prop);
}
