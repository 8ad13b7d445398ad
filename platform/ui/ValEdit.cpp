#include "platform/ui/ValEdit.h"

#include <algorithm>

#include "platform/rtl/ScopeGuard.h"

TValueListEditor::TValueListEditor(TComponent* AOwner) : TStringGrid(AOwner) {
  SetColCount(2);
  SetRowCount(2);
  SetFixedCols(0);
  SetFixedRows(1);
  SetDefaultColWidth(150);
  SetDefaultRowHeight(18);
  SetOptions(Options() + goColSizing + goThumbTracking - goRangeSelect);
  SetTitleCaptions(u"Key", u"Value");
  AdjustColWidths();
}

void TValueListEditor::SetTitleCaptions(const String& KeyTitle, const String& ValueTitle) {
  SetCells(0, 0, KeyTitle);
  SetCells(1, 0, ValueTitle);
}

int TValueListEditor::InsertRow(const String& KeyName, const String& Value, bool Append) {
  int at = Append || FItemCount == 0 ? FItemCount + 1 : std::clamp(Row(), 1, FItemCount);
  ++FItemCount;
  SetRowCount(FItemCount + 1);
  // Move the rows below down by one.
  for (int r = FItemCount; r > at; --r) {
    SetCells(0, r, Cells(0, r - 1));
    SetCells(1, r, Cells(1, r - 1));
  }
  SetCells(0, at, KeyName);
  SetCells(1, at, Value);
  return at;
}

void TValueListEditor::ClearItems() {
  for (int r = 1; r <= FItemCount; ++r) {
    SetCells(0, r, String());
    SetCells(1, r, String());
  }
  FItemCount = 0;
  SetRowCount(2);
}

void TValueListEditor::CheckRow(int ARow) const {
  if (ARow < 1 || ARow > FItemCount) throw EInvalidGridOperation(u"Grid index out of range");
}

String TValueListEditor::Keys(int ARow) const {
  CheckRow(ARow);
  return Cells(0, ARow);
}

void TValueListEditor::SetKeys(int ARow, const String& Value) {
  CheckRow(ARow);
  SetCells(0, ARow, Value);
}

int TValueListEditor::FindRow(const String& KeyName) const {
  for (int r = 1; r <= FItemCount; ++r)
    if (Cells(0, r) == KeyName) return r;
  return -1;
}

String TValueListEditor::Values(const String& KeyName) const {
  int r = FindRow(KeyName);
  return r < 0 ? String() : Cells(1, r);
}

void TValueListEditor::SetValues(const String& KeyName, const String& Value) {
  int r = FindRow(KeyName);
  if (r < 0) InsertRow(KeyName, Value, true);
  else SetCells(1, r, Value);
}

void TValueListEditor::AdjustColWidths() {
  if (FAdjusting) return;
  FAdjusting = true;
  TScopeGuard done([this] { FAdjusting = false; });
  int border = BorderStyle() == bsSingle ? 2 : 0;
  SetColWidths(1, std::max(0, ClientWidth() - 2 * border - ColWidths(0) - 2 * GridLineWidth()));
}

void TValueListEditor::Resize() {
  TStringGrid::Resize();
  AdjustColWidths();
}

void TValueListEditor::ColWidthsChanged() {
  TStringGrid::ColWidthsChanged();
  AdjustColWidths();
}

void TValueListEditor::SizeChanged(int OldColCount, int OldRowCount) {
  TStringGrid::SizeChanged(OldColCount, OldRowCount);
  AdjustColWidths();
}
