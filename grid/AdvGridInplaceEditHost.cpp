// The string grid's side of its in-place text editor: creating it, the cell texts it reads and
// writes, validating its value and ending the edit.
#include "grid/AdvGrid.h"
#include "grid/AdvGridInplaceEdit.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/WinUser.h"

TAdvInplaceEdit* DEreDuzeroVaro::NormalEdit() const { return dynamic_cast<TAdvInplaceEdit*>(InplaceEditor()); }

TInplaceEdit* DEreDuzeroVaro::CreateEditor() { return new TAdvInplaceEdit(this); }

void DEreDuzeroVaro::InplaceEditStarted(int ACol, int ARow) {
  TEditorType kind = DefaultEditor();
  GetEditorType(ACol, ARow, kind);
  EditControl = kind;
  FOldCol = RealColIndex(ACol);
  FOldRow = ARow;
  FOldCellText = Cells(FOldCol, FOldRow);
  FCellCache = FOldCellText;
  FEditing = true;
  FEditMode = true;
}

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

bool DEreDuzeroVaro::ValidateCell(const String& NewValue) {
  if (!FEditing || FValidating) return true;
  FEditing = false;
  FValidating = true;
  TScopeGuard done([this] {
    FOldCol = RealCol();
    FOldRow = Row();
    FValidating = false;
  });
  FNewCellText = NewValue;
  const int c = FOldCol, r = FOldRow;
  String value = NewValue;
  bool valid = true;
  if (NewValue != FOldCellText && OnCellValidate) OnCellValidate(this, c, r, value, valid);
  FNewCellText = value;
  if (valid) {
    if (Cells(c, r) != value) SetCells(c, r, value);
  } else {
    // Refused: the handler's correction, else the old text, and the edit goes on in that cell.
    SetCells(c, r, value != NewValue ? value : FOldCellText);
    FNewCellText = Cells(c, r);
    FEditing = true;
    if (!EditorMode()) {
      int dc = DisplColIndex(c);
      if (dc != Col() || r != Row()) MoveColRow(dc, r, true, true);
      SetEditorMode(true);
    }
  }
  FOldCellText = Cells(c, r);
  return valid;
}

void DEreDuzeroVaro::HideInplaceEdit() {
  if (!FEditMode) return;
  HideEditor();
  FEditMode = false;
  SelectCell(Col(), Row());
}

void DEreDuzeroVaro::EditingDone(int ACol, int ARow) {
  if (OnEditingDone) OnEditingDone(this);
  FEditMode = false;
  if (HandleAllocated())
    PostMessage(Handle(), RegisterWindowMessage(u"GridEditDone"), WPARAM(ACol), LPARAM(ARow));
}
