// DEreDuzeroVaro: the floating footer's settings with their effects on the grid, and the
// footer calculations written into the footer row.
#include <algorithm>

#include "grid/AdvGrid.h"
#include "grid/AdvGridFooterPanel.h"
#include "platform/rtl/ScopeGuard.h"

// ===========================================================================
// TFloatingFooter

void TFloatingFooter::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFloatingFooter*>(Source);
  if (!src) return;
  FCalculateHiddenRows = src->FCalculateHiddenRows;
  FColor = src->FColor;
  FColumn = src->FColumn;
  FCustomTemplate = src->FCustomTemplate;
  FFooterStyle = src->FFooterStyle;
  SetVisible(src->FVisible);
  SetShowHint(src->FShowHint);
}

void TFloatingFooter::SetVisible(bool Value) {
  FVisible = Value;
  TFooterPanel* panel = FGrid->FooterPanel();
  if (panel) {
    panel->SetHeight(Value ? Height() - 1 : 0);
    panel->SetVisible(Value);
  }
  const bool shown = Value && (!panel || panel->Visible());
  FGrid->SetFixedFooters(shown && FFooterStyle == fsFixedLastRow ? 1 : 0);
  FGrid->SetHideLastRow(FFooterStyle == fsFixedLastRow && Value);
  FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
  FFooterStyle = Value;
  FGrid->SetHideLastRow(Value == fsFixedLastRow && FVisible);
  FGrid->Invalidate();
  Invalidate();
}

int TFloatingFooter::Height() const { return FHeight < 0 ? FGrid->DefaultRowHeight() : FHeight; }

void TFloatingFooter::SetHeight(int Value) {
  FHeight = Value;
  if (Value > 0 && FGrid->FFooterPanel) FGrid->FFooterPanel->SetHeight(Value - 1);
}

void TFloatingFooter::SetColor(TColor Value) {
  FColor = Value;
  Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
  FColumn = Value;
  Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const String& Value) {
  FCustomTemplate = Value;
  Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
  FShowHint = Value;
  if (FGrid->FFooterPanel) FGrid->FFooterPanel->SetShowHint(Value);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int c) {
  const int r = FGrid->RowCount() - 1;
  if (c < 0 || r < 0 || !FGrid->HasCellProperties(c, r)) return acNONE;
  return FGrid->GetCellProperties(c, r)->CalcType();
}

void TFloatingFooter::SetColumnCalc(int c, TColumnCalcType Value) {
  const int r = FGrid->RowCount() - 1;
  if (c < 0 || c >= FGrid->AllColCount() || r < 0) return;
  FGrid->CellProperties(c, r)->SetCalcType(Value);
  FGrid->RecalcFooterCol(c);
}

void TFloatingFooter::Invalidate() {
  if (FGrid->FFooterPanel) FGrid->FFooterPanel->Invalidate();
}

// ===========================================================================
// The grid's side

TFooterPanel* DEreDuzeroVaro::FooterPanel() {
  if (!FFooterPanel && !IsDestroying()) {
    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetVisible(false);
    FFooterPanel->SetHeight(0);
    FFooterPanel->SetParent(this);
    FFooterPanel->SetAlign(alBottom);
  }
  return FFooterPanel;
}

void DEreDuzeroVaro::UpdateFooter() {
  if (FFooterPanel) FFooterPanel->Invalidate();
}

void DEreDuzeroVaro::LastRowChanged() {
  TBaseGrid::LastRowChanged();
  UpdateFooter();
}

void DEreDuzeroVaro::SetCellEx(int ACol, int ARow, const String& Value) {
  TBaseGrid::SetCellEx(ACol, ARow, Value);
  if (ARow >= FixedRows() && ARow < RowCount() - 1) FooterColumnWritten(ACol);
}

void DEreDuzeroVaro::FooterColumnWritten(int ACol) {
  const TFloatingFooter* ff = FFloatingFooter.get();
  if (!ff || !ff->Visible() || ff->FooterStyle() != fsFixedLastRow || !ff->EnableCalculation() || FFooterFlushing) return;
  const int R = RowCount() - 1;
  if (R < 0 || ACol < 0 || !HasCellProperties(ACol, R)) return;
  switch (GetCellProperties(ACol, R)->CalcType()) {
    case acNONE:
    case acSPREAD:
    case acCOUNT:  // the row count, not the values
      return;
    default:
      break;
  }
  if (std::find(FFooterStaleCols.begin(), FFooterStaleCols.end(), ACol) == FFooterStaleCols.end()) {
    FFooterStaleCols.push_back(ACol);
    UpdateFooter();
  }
}

String DEreDuzeroVaro::GetCellEx(int ACol, int ARow) {
  if (!FFooterStaleCols.empty() && ARow == RowCount() - 1) FlushFooterCalc();
  return TBaseGrid::GetCellEx(ACol, ARow);
}

void DEreDuzeroVaro::FlushFooterCalc() {
  if (FFooterStaleCols.empty() || FFooterFlushing) return;
  FFooterFlushing = true;
  TScopeGuard done([this] { FFooterFlushing = false; });
  std::vector<int> cols;
  cols.swap(FFooterStaleCols);
  for (int c : cols) CalcFooter(c);
}

void DEreDuzeroVaro::UpdateFooterCalc(int ACol) {
  // What is calculated now is no longer stale.
  if (ACol == -1) FFooterStaleCols.clear();
  else FFooterStaleCols.erase(std::remove(FFooterStaleCols.begin(), FFooterStaleCols.end(), ACol), FFooterStaleCols.end());
  TFloatingFooter* ff = FFloatingFooter.get();
  if (!ff->Visible() || ff->FooterStyle() != fsFixedLastRow || !ff->EnableCalculation()) return;
  const int R = RowCount() - 1;
  if (R < 0) return;
  const int first = ACol == -1 ? 0 : ACol, last = ACol == -1 ? AllColCount() - 1 : ACol;
  const int h = ff->CalculateHiddenRows() ? NumHiddenRows() : 0;
  const int F = FixedRows(), L = RowCount() - 2 + h;
  // With hidden rows taken in, the range counts real rows, so that it ends on the last data
  // row and never on the footer row.
  const bool oldReal = FCalcRealRows;
  FCalcRealRows = h > 0;
  TScopeGuard restore([this, oldReal] { FCalcRealRows = oldReal; });
  for (int c = first; c <= last; ++c) {
    if (c < 0 || !HasCellProperties(c, R)) continue;
    switch (GetCellProperties(c, R)->CalcType()) {
      case acSUM: SetFloats(c, R, ColumnSum(c, F, L)); break;
      case acAVG: SetFloats(c, R, ColumnAvg(c, F, L)); break;
      case acCOUNT: SetInts(c, R, RowCount() - 1 - FixedRows() + h); break;
      case acMIN: SetFloats(c, R, ColumnMin(c, F, L)); break;
      case acMAX: SetFloats(c, R, ColumnMax(c, F, L)); break;
      case acCUSTOM: {
        String value;
        if (OnFooterCalc) OnFooterCalc(this, c, R + h, value);
        else if (ff->OnCalcFooter) ff->OnCalcFooter(this, c, R + h, value);
        SetCells(c, R, value);
        break;
      }
      case acDISTINCT: SetFloats(c, R, ColumnDistinct(c, F, L)); break;
      case acSTDDEV: SetFloats(c, R, ColumnStdDev(c, F, L)); break;
      case acSPREAD:
      case acNONE: break;
    }
  }
}

// ===========================================================================
// Keeping the footer row last and the panel in step with the grid

void DEreDuzeroVaro::RowsShifted(int ARow, int Count, int OldCount) {
  FFooterRowsShifted = true;
  TBaseGrid::RowsShifted(ARow, Count, OldCount);
}

void DEreDuzeroVaro::DeleteRow(int ARow) {
  FFooterRowsShifted = true;
  TScopeGuard reset([this] { FFooterRowsShifted = false; });
  TBaseGrid::DeleteRow(ARow);
}

void DEreDuzeroVaro::SizeChanged(int OldColCount, int OldRowCount) {
  TBaseGrid::SizeChanged(OldColCount, OldRowCount);
  const bool shifted = FFooterRowsShifted;
  FFooterRowsShifted = false;
  const int n = RowCount();
  if (shifted || OldRowCount == n || OldRowCount < 1 || IsDestroying()) return;
  TFloatingFooter* ff = FFloatingFooter.get();
  // Only a footer that is the grid's last row moves; a preview footer leaves the rows alone.
  if (!ff || !ff->Visible() || ff->FooterStyle() != fsFixedLastRow) return;
  MoveFooterRow(OldRowCount - 1, n - 1);
  SetNormalRowCount(n);
  CalcFooter(-1);
  UpdateFooter();
}

void DEreDuzeroVaro::MoveFooterRow(int From, int To) {
  if (From == To) return;
  // A shrink puts the footer over a data row: that row's texts and records go first.
  if (To < From) {
    const bool oldBlock = FBlockCellChange;
    FBlockCellChange = true;
    TScopeGuard restore([this, oldBlock] { FBlockCellChange = oldBlock; });
    ClearRows(To, 1);
  }
  for (int c = 0, n = TotalColCount(); c < n; ++c) {
    SetGridCells(c, To, GridCells(c, From));
    TObject* o = GridObjects(c, From);
    SetGridObjects(c, To, o);
    if (auto* p = dynamic_cast<TCellProperties*>(o)) {
      p->SetOwnerRow(To);
      SetHasCellProps(true);
    }
    SetGridObjects(c, From, nullptr);
    SetGridCells(c, From, String());
  }
}

void DEreDuzeroVaro::ColWidthsChanged() {
  TBaseGrid::ColWidthsChanged();
  UpdateFooter();
}

void DEreDuzeroVaro::FooterFollowRow() {
  if (!FFooterPanel || !FFloatingFooter->Visible() || FFooterShownRow == Row()) return;
  FFooterShownRow = Row();
  UpdateFooter();
}
