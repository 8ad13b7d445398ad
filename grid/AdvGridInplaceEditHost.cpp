// The string grid's side of its in-place text editor: creating it, the cell texts it reads and
// writes, and validating the value of the cell being left.
#include "grid/AdvGrid.h"
#include "grid/AdvGridInplaceEdit.h"
#include "platform/rtl/ScopeGuard.h"
#include "grid/AdvGridUndoRedo.h"
#include "grid/asgcheck.h"
#include "platform/ui/BalloonTip.h"
#include "platform/win/WinUser.h"

TAdvInplaceEdit* DEreDuzeroVaro::NormalEdit() const { return dynamic_cast<TAdvInplaceEdit*>(InplaceEditor()); }

TInplaceEdit* DEreDuzeroVaro::CreateEditor() { return new TAdvInplaceEdit(this); }

String DEreDuzeroVaro::GetCurrentCell() {
  TPoint b = BaseCell(RealCol(), Row());
  return Cells(b.X, b.Y);
}

void DEreDuzeroVaro::SetCurrentCell(const String& Value) {
  TPoint b = BaseCell(RealCol(), Row());
  SetCells(b.X, b.Y, Value);
}

void DEreDuzeroVaro::SetCurrentCellText(const String& Value) {
  TPoint b = BaseCell(Col(), Row());
  SetEditText(b.X, b.Y, Value);
}

void DEreDuzeroVaro::InplaceEditStarted(int ACol, int ARow) {
  // What CanEditShow does when an edit of the cell begins, for an editor opened directly.
  RememberOldCell(ACol, ARow);
  FCellCache = GetCurrentCell();
  EditControl = DefaultEditor();
  const TPoint b = BaseCell(RealColIndex(ACol), ARow);
  GetEditorType(b.X, b.Y, EditControl);
  FCurrentEditor = EditControl;
  FEditing = true;
  FEditMode = true;
}

void DEreDuzeroVaro::RememberOldCell(int ACol, int ARow) {
  FOldCol = ACol;
  FOldRow = ARow;
  FOldCellText = ACol >= 0 && ARow >= 0 ? GridCells(RealColIndex(ACol), ARow) : String();
  FOldCellTextWide = ACol >= 0 && ARow >= 0 ? WideCells(RealColIndex(ACol), ARow) : String();
  FOldModifiedValue = FGridModified;
}

bool DEreDuzeroVaro::ValidateCell(const String& NewValue) { return ValidateValue(NewValue, false); }

bool DEreDuzeroVaro::ValidateCellWide(const String& NewValue) { return ValidateValue(NewValue, true); }

bool DEreDuzeroVaro::ValidateValue(const String& NewValue, bool Wide) {
  if (!FEditing || FValidating) return true;
  FEditing = false;
  FValidating = true;
  bool valid = true;
  // The cell being left is the one remembered when it was entered.
  const int c = DisplToRealCol(FOldCol), r = FOldRow;
  FNewCellText = NewValue;
  TScopeGuard done([this] {
    RememberOldCell(Col(), Row());
    FValidating = false;
  });
  const String old = Wide ? FOldCellTextWide : FOldCellText;
  if (NewValue == old && !AlwaysValidate()) {
    if (!Wide) HideFocusFrame();
    return true;
  }
  const bool changed = NewValue != old;
  String value = NewValue;
  {
    // No advance on Enter while the handler runs, and it comes back also when the handler raises.
    TNavigation* nav = Navigation();
    const bool advance = nav->AdvanceOnEnter();
    nav->SetAdvanceOnEnter(false);
    TScopeGuard restore([nav, advance] { nav->SetAdvanceOnEnter(advance); });
    // Wide text has no cell checker, undo record or balloon; its footer follows before the
    // handler sees the value, whatever it decides.
    DEreDuzeroVaroCheck* checker = Wide ? nullptr : CellChecker();
    if (Wide) RecalcFooterCol(c);
    if (checker != nullptr && checker->AutoCorrect()) value = checker->Correct(c, r, value);
    const auto& handler = Wide ? OnCellValidateWide : OnCellValidate;
    if (handler) handler(this, c, r, value, valid);
    // Only an accepted value marks the grid and the row modified (wide text: when the typed
    // value differs, and the row only with ShowModified).
    if (valid && (Wide ? changed : value != old)) {
      FGridModified = true;
      if (Wide && ShowModified()->Enabled() && FixedCols() > 0) {
        SetRowModified(FOldRow, true);
        RepaintCell(0, FOldRow);
      } else if (!Wide && FixedCols() > 0) {
        SetRowModified(RealRowIndex(Row()), true);
        if (ShowModified()->Enabled()) RepaintCell(0, Row());
      }
    }
    if (valid && !Wide) RecalcFooterCol(c);
    if (checker != nullptr && checker->AutoMarkError()) value = checker->MarkError(c, r, value);
    if (valid && !Wide && UndoRedo() != nullptr) UndoRedo()->RegisterChange(c, r, old, value);
    if (valid && changed) CellsChanged(TRect(c, r, c, r));
  }
  FNewCellText = value;
  if (valid) {
    // Cells is merge-aware: a covered cell's value goes to its base cell.
    if (Wide) SetWideCells(c, r, value);
    else SetCells(c, r, value);
  } else {
    // The handler's correction, else the old text, goes back, and the edit goes on there.
    RefuseValue(c, r, value != NewValue ? value : old);
    if (!Wide) ShowInvalidEntryBalloon();
  }
  if (Wide) {
    FOldCellTextWide = WideCells(c, r);
  } else {
    FOldCellText = GridCells(c, r);
    if (valid) HideFocusFrame();
  }
  return valid;
}

void DEreDuzeroVaro::RefuseValue(int ACol, int ARow, const String& Back) {
  FLastValidation = false;
  FNewCellText = Back;
  const int oldCol = FOldCol, oldRow = FOldRow;
  const bool here = Col() == oldCol && Row() == oldRow;
  TInplaceEdit* editor = InplaceEditor();
  if (!IsInplaceKind(EditControl)) {
    // A special editor stays open and shows FNewCellText itself.
    SetCells(ACol, ARow, Back);
    if (!here && oldCol >= FixedCols() && oldRow >= FixedRows()) MoveColRow(oldCol, oldRow, true, true);
    FEditing = true;
  } else if (editor != nullptr && editor->Visible() && here) {
    SetCells(ACol, ARow, Back);
    const bool old = FNoEditChange;
    FNoEditChange = true;
    editor->SetText(Back);
    FNoEditChange = old;
    FEditing = true;
  } else {
    HideEditor();
    SetCells(ACol, ARow, Back);
    if (!here && oldCol >= FixedCols() && oldRow >= FixedRows()) MoveColRow(oldCol, oldRow, true, true);
    FEditing = true;
    FValidating = false;
    ShowInplaceEdit();
    if (Col() != oldCol) InvalidateEditor();
  }
  FGridModified = FOldModifiedValue;
}

void DEreDuzeroVaro::ShowInvalidEntryBalloon() {
  if (InvalidEntryTitle().empty() && InvalidEntryText().empty()) return;
  if (!HandleAllocated()) return;
  // At the text editor when it is the open one, else at the special editor, else at the cell.
  TWinControl* at = nullptr;
  TInplaceEdit* editor = InplaceEditor();
  if (IsInplaceKind(EditControl) && editor != nullptr && editor->Visible()) at = editor;
  else if (EditCtrl != nullptr && EditCtrl->Visible()) at = EditCtrl;
  TPoint spot;
  if (at != nullptr) {
    spot = at->ClientToScreen(TPoint(std::min(10, at->Width() / 2), at->Height()));
  } else {
    const TRect r = CellRect(Col(), Row());
    spot = ClientToScreen(TPoint(r.Left + std::min(10, r.Width() / 2), r.Bottom));
  }
  if (FInvalidEntryBalloon == nullptr) FInvalidEntryBalloon = new TBalloonTip(this);
  static constexpr TBalloonTipIcon icons[] = {btiNone, btiInfo, btiWarning, btiError};
  FInvalidEntryBalloon->SetTitle(InvalidEntryTitle());
  FInvalidEntryBalloon->SetTipText(InvalidEntryText());
  FInvalidEntryBalloon->SetTipIcon(icons[InvalidEntryIcon()]);
  FInvalidEntryBalloon->SetInitialDelay(0);
  FInvalidEntryBalloon->Popup(spot);
}
