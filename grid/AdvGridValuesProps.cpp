// Core grid properties with their side effects, zoom and the sizing veto.
#include "grid/AdvGrid.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/AdvGridValuesHint.h"

namespace {
// Stores a changed value and answers whether it changed.
template <class T>
bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void DEreDuzeroVaro::SetSelectionColor(TColor Value) {
  if (Store(FSelectionColor, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionColorTo(TColor Value) {
  if (Store(FSelectionColorTo, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionMirrorColor(TColor Value) {
  if (Store(FSelectionMirrorColor, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionMirrorColorTo(TColor Value) {
  if (Store(FSelectionMirrorColorTo, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionTextColor(TColor Value) {
  if (Store(FSelectionTextColor, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionColorMixer(bool Value) {
  if (Store(FSelectionColorMixer, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionRectangle(bool Value) {
  if (Store(FSelectionRectangle, Value)) Invalidate();
}
void DEreDuzeroVaro::SetSelectionResizer(bool Value) {
  if (Store(FSelectionResizer, Value)) Invalidate();
}
void DEreDuzeroVaro::SetDefaultAlignment(TAlignment Value) {
  if (Store(FDefaultAlignment, Value)) Invalidate();
}

void DEreDuzeroVaro::SetSelectionColorMixerFactor(int Value) {
  if (Value == FSelectionColorMixerFactor) return;
  FSelectionColorMixerFactor = std::clamp(Value, 0, 100);
  Invalidate();
}

void DEreDuzeroVaro::SetVAlignment(TVAlignment Value) {
  FVAlignment = Value;
  FVAlign = Value == vtaCenter ? 4 : Value == vtaBottom ? 8 : 0;
  if (FUpdateCount == 0) Invalidate();
}

void DEreDuzeroVaro::SetWordWrap(bool Value) {
  TBaseGrid::SetWordWrap(Value);
  if (NormalEdit() != nullptr) NormalEdit()->SetWordWrap(Value);
  if (FUpdateCount == 0) Invalidate();
}

void DEreDuzeroVaro::SetMaxEditLength(int Value) {
  FMaxEditLength = Value;
  if (NormalEdit() != nullptr) NormalEdit()->SetMaxLength(Value);
}

void DEreDuzeroVaro::SetShowSelection(bool Value) {
  if (!Store(FShowSelection, Value)) return;
  SetShowSel(Value);
  Invalidate();
}

void DEreDuzeroVaro::SetSpreadSheet(bool Value) {
  FSpreadSheet = Value;
  SetSelectionRectangle(true);
  SetSelectionResizer(true);
  FNavigation->SetAllowSmartClipboard(true);
  TGridOptions o = Options();
  o.Include(goRangeSelect);
  o.Include(goEditing);
  SetOptions(o);
  FMouseActions->SetRangeSelectAndEdit(true);
}

void DEreDuzeroVaro::SetAutoSize(bool Value) { FAutoSize = Value; }

void DEreDuzeroVaro::SetFlat(bool Value) {
  FFlat = Value;
  if (!IsLoading()) Invalidate();
}

void DEreDuzeroVaro::SetIntegralHeight(bool Value) {
  FIntegralHeight = Value;
  SetBounds(Left(), Top(), Width(), Height());
}

void DEreDuzeroVaro::SetFixedFooters(int Value) {
  FFixedFooters = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetFixedRightCols(int Value) {
  FFixedRightCols = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetUseHTMLHints(bool Value) {
  FUseHTMLHints = Value;
  SetHintWindowClass(Value ? HintWindowClassOf<THTMLHintWindow>() : THintWindowClass());
}

void DEreDuzeroVaro::Zoom(int Step) {
  if (FZoomFactor + Step > 10 || FZoomFactor + Step < -10) return;
  FScrollLock = true;
  FZoomFactor += Step;
  for (int c = 0; c < ColCount(); ++c)
    if (ColWidths(c) > 0 && ColWidths(c) + Step > 0) SetColWidths(c, ColWidths(c) + Step);
  for (int r = 0; r < RowCount(); ++r)
    if (RowHeights(r) > 0 && RowHeights(r) + Step > 0) SetRowHeights(r, RowHeights(r) + Step);
  FScrollLock = false;
}

void DEreDuzeroVaro::RepaintActiveHeaders(int OldCol, int OldRow, int NewCol, int NewRow) {
  int fr = TCustomGrid::FixedRows(), fc = FixedCols();
  for (TPoint p : {TPoint(OldCol, OldRow), TPoint(NewCol, NewRow)}) {
    if (fr > 0) RepaintCell(p.X, fr - 1);
    if (fc > 0) RepaintCell(fc - 1, p.Y);
  }
}

void DEreDuzeroVaro::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingOfs) const {
  TBaseGrid::CalcSizingState(X, Y, State, Index, SizingOfs);
  auto* self = const_cast<DEreDuzeroVaro*>(this);
  int c = -1, r = -1;
  MouseToCell(X - 6, Y, c, r);
  if (r >= 0 && r < TCustomGrid::FixedRows() && c >= 0 && OnColumnSize) {
    bool allow = true;
    OnColumnSize(self, c, allow);
    if (!allow) State = gsNormal;
  }
  MouseToCell(X, Y - 6, c, r);
  if (c >= 0 && c < FixedCols() && OnRowSize) {
    bool allow = true;
    OnRowSize(self, r, allow);
    if (!allow) State = gsNormal;
  }
}
