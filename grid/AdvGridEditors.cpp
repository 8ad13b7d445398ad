// The editors' link to their grid, the drop-down editors and the grid drop-down's factory.
#include "grid/AdvGridEditors.h"

#include <utility>

#include "platform/win/Windows.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------
// TGridEditorLink

DEreDuzeroVaro* TGridEditorLink::GridOf(TComponent* AOwner) {
  auto* grid = dynamic_cast<DEreDuzeroVaro*>(AOwner);
  if (grid == nullptr) throw EInvalidCast(u"Invalid class typecast");
  return grid;
}

void TGridEditorLink::TextChanged(DEreDuzeroVaro* Grid, const String& Text) {
  Grid->CanEditModify();
  if (Grid->OnEditChange) Grid->OnEditChange(Grid, Grid->Col(), Grid->Row(), Text);
}

bool TGridEditorLink::WantsKey(DEreDuzeroVaro* Grid, Word Key, bool EnterEscape, bool TabByGoTabs) {
  if (Key == VK_RETURN || Key == VK_ESCAPE) return EnterEscape;
  return Key == VK_TAB && (TabByGoTabs ? Grid->Options().Contains(goTabs) : Grid->EditorWantsTab());
}

void TGridEditorLink::GridKeyPress(DEreDuzeroVaro* Grid, TObject* Sender, Char& Key) {
  if (Grid->OnKeyPress) Grid->OnKeyPress(Sender, Key);
}

void TGridEditorLink::CaretToClick(DEreDuzeroVaro* Grid, TCustomEdit* Edit) {
  if (!Grid->LButFlg) return;
  POINT p{};
  GetCursorPos(&p);
  const TPoint c = Edit->ScreenToClient(TPoint(p.X, p.Y));
  if (c.X < 0 || c.Y < 0 || c.X >= Edit->Width() || c.Y >= Edit->Height()) return;
  const LRESULT r = Edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(WORD(c.X), WORD(c.Y)));
  if (r >= 0) Edit->Select(LOWORD(static_cast<uintptr_t>(r)), 0);
  Grid->LButFlg = false;
}

bool TGridEditorLink::StoreAndValidate(DEreDuzeroVaro* Grid, const String& Text) {
  Grid->SetCurrentCell(Text);
  return Grid->ValidateCell(Text);
}

void TGridEditorLink::NoAutoAdvance(DEreDuzeroVaro* Grid, bool Value) { Grid->FNoAutoAdvance = Value; }

void TGridEditorLink::GiveGridFocus(DEreDuzeroVaro* Grid) {
  if (Grid->CanFocus()) Grid->SetFocus();
}

void TGridEditorLink::GridKeyDown(DEreDuzeroVaro* Grid, Word& Key, TShiftState Shift) { Grid->KeyDown(Key, Shift); }

void TGridEditorLink::DoneInplaceEdit(DEreDuzeroVaro* Grid, Word Key, TShiftState Shift) {
  Grid->DoneInplaceEdit(Key, Shift);
}

void TGridEditorLink::ShowInplaceEdit(DEreDuzeroVaro* Grid) { Grid->ShowInplaceEdit(); }

void TGridEditorLink::AdvanceCell(DEreDuzeroVaro* Grid, bool Forward, bool Force) {
  // (ACol, ARow, Force, AutoEdit, Forward, Recursive, WasEditing)
  Grid->AdvanceCell(Grid->Col(), Grid->Row(), Force, true, Forward, false, true);
}

void TGridEditorLink::TabAdvance(DEreDuzeroVaro* Grid, bool Backward) {
  Grid->TabAdvance(Backward);
}

void TGridEditorLink::RestoreCellText(DEreDuzeroVaro* Grid) { Grid->RestoreCellText(); }

bool TGridEditorLink::OriginalDateTime(DEreDuzeroVaro* Grid, TDateTime& Value) {
  Value = TDateTime(Grid->FOriginalDateTime);
  return true;
}

bool TGridEditorLink::TabValidated(DEreDuzeroVaro* Grid, TShiftState Shift) {
  if (Grid->Options().Contains(goTabs)) {
    Grid->HideInplaceEdit();
    GiveGridFocus(Grid);
    TabAdvance(Grid, Shift.Contains(ssShift));
    return true;
  }
  if (Grid->HandleAllocated()) PostMessage(Grid->Handle(), WM_KEYDOWN, VK_TAB, 0);
  return false;
}

bool TGridEditorLink::EnterAdvanced(DEreDuzeroVaro* Grid) {
  if (!Grid->Navigation()->AdvanceOnEnter()) return false;
  Grid->HideInplaceEdit();
  GiveGridFocus(Grid);
  AdvanceCell(Grid, true, false);
  return true;
}

// ---------------------------------------------------------------------------
// Drop-down editors

bool TGridDropDownKeys::HandlesKey(Word Key, bool) const {
  switch (Key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_UP: case VK_DOWN:
      return true;
    default:
      return false;
  }
}

TGridTrackbarDropDown::TGridTrackbarDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

void TGridTrackbarDropDown::WMSetFocus(TWMSetFocus& Message) {
  TGridDropDownEditor::WMSetFocus(Message);
  TGridEditorLink::CaretToClick(FGrid, this);
}

TGridMemoDropDown::TGridMemoDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

String TGridMemoDropDown::EditValue() const {
  TStrings* lines = MemoText();
  String value;
  for (int i = 0; i < lines->Count(); ++i) value += (i > 0 ? String(u"\r\n") : String()) + lines->Strings(i);
  return value;
}

void TGridMemoDropDown::WMSetFocus(TWMSetFocus& Message) {
  TGridDropDownEditor::WMSetFocus(Message);
  TGridEditorLink::CaretToClick(FGrid, this);
}

TGridCalculatorDropDown::TGridCalculatorDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

void TGridCalculatorDropDown::Change() {
  TCustomMaskEdit::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridCalculatorDropDown::WMSetFocus(TWMSetFocus& Message) {
  TGridDropDownEditor::WMSetFocus(Message);
  TGridEditorLink::CaretToClick(FGrid, this);
}

TGridTimepickerDropDown::TGridTimepickerDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) { SetFocusDraw(false); }

TGridDetailPickerDropDown::TGridDetailPickerDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

TGridGridDropDown::TGridGridDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

TGridColorDropDown::TGridColorDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

bool TGridColorDropDown::HandlesKey(Word Key, bool DroppedDown) const {
  if (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE) return true;
  if (DroppedDown) return false;
  return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

void TGridColorDropDown::Change() {
  TCustomMaskEdit::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

TGridImageDropDown::TGridImageDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

void TGridImageDropDown::Change() {
  TCustomMaskEdit::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

// ---------------------------------------------------------------------------
// The grid drop-down's factory

namespace {
TGridDropDownFactory& AdvGridDropDownFactory() {
  static TGridDropDownFactory factory;
  return factory;
}
}  // namespace

void RegisterAdvGridDropDownFactory(TGridDropDownFactory Factory) { AdvGridDropDownFactory() = std::move(Factory); }

TAdvCustomDropDown* MakeAdvGridDropDown(DEreDuzeroVaro* Grid) {
  const TGridDropDownFactory& factory = AdvGridDropDownFactory();
  return factory ? factory(Grid) : nullptr;
}
