// Editing fixed (header) cells with the grid's fixed-cell edit and combo, and the form that
// never takes activation.
#include "grid/AdvGrid.h"
#include "grid/AdvGridEditing.h"
#include "grid/GridFocusWindow.h"
#include "platform/win/Messages.h"

namespace {
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr UINT CS_SAVEBITS = 0x00000800;
}  // namespace

// ---- TGridTransEdit, TGridTransCombo

template <class Base>
TGridTransEditor<Base>::TGridTransEditor(TComponent* AOwner)
    : Base(AOwner), FGrid(dynamic_cast<DEreDuzeroVaro*>(AOwner)) {}

template <class Base>
bool TGridTransEditor<Base>::StopEdit() {
  if (FGrid == nullptr) {
    this->SetVisible(false);
    return true;
  }
  String text = this->Text();
  bool valid = true;
  if (FGrid->OnCellValidate) FGrid->OnCellValidate(FGrid, FCol, FRow, text, valid);
  if (valid) {
    if (FGrid->OnEditingDone) FGrid->OnEditingDone(FGrid);
    FGrid->SetCells(FCol, FRow, text);
    this->SetVisible(false);
    return true;
  }
  // The refused cell becomes current as far as a fixed cell can be; the editor keeps the focus.
  const int displayCol = FGrid->RealToDisplCol(FCol);
  if (displayCol >= FGrid->FixedCols() && displayCol < FGrid->ColCount()) FGrid->SetCol(displayCol);
  if (FRow >= FGrid->FixedRows() && FRow < FGrid->RowCount()) FGrid->SetRow(FRow);
  if (this->CanFocus()) this->SetFocus();
  return false;
}

template class TGridTransEditor<TCustomEdit>;
template class TGridTransEditor<TCustomComboBox>;

// ---- TNoActiveForm

TNoActiveForm::TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {}

void TNoActiveForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED | WS_BORDER;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TNoActiveForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TForm::Dispatch(Message);
  if (Message.Msg == WM_ACTIVATE) Message.Result = 1;
}

// ---- The grid's side

TGridTransEdit* DEreDuzeroVaro::EditTrans() {
  if (FEditTrans == nullptr) {
    FEditTrans = new TGridTransEdit(this);
    FEditTrans->SetVisible(false);
    FEditTrans->SetBorderStyle(bsNone);
    FEditTrans->SetParent(this);
  }
  return FEditTrans;
}

TGridTransCombo* DEreDuzeroVaro::ComboTrans() {
  if (FComboTrans == nullptr) {
    FComboTrans = new TGridTransCombo(this);
    FComboTrans->SetVisible(false);
    FComboTrans->SetParent(this);
  }
  return FComboTrans;
}

void DEreDuzeroVaro::FixedEditChange(TObject* Sender) {
  if (!OnEditChange) return;
  String text;
  if (auto* edit = dynamic_cast<TGridTransEdit*>(Sender)) text = edit->Text();
  else if (auto* combo = dynamic_cast<TGridTransCombo*>(Sender)) text = combo->Text();
  OnEditChange(this, FFixedColEdit, FFixedRowEdit, text);
}

void DEreDuzeroVaro::StartFixedCellEdit(int ACol, int ARow) {
  // An open fixed-cell editor must accept its value first.
  if (FEditTrans != nullptr && FEditTrans->Visible() && !FEditTrans->StopEdit()) return;
  if (FComboTrans != nullptr && FComboTrans->Visible() && !FComboTrans->StopEdit()) return;
  bool allow = true;
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, allow);
  if (!allow) return;
  FFixedColEdit = ACol;
  FFixedRowEdit = ARow;
  TGridFixedCellEditor kind = ACol == 0 ? MouseActions()->FixedColsEditor() : MouseActions()->FixedRowsEditor();
  TGridTransCombo* combo = ComboTrans();
  combo->Items()->Assign(MouseActions()->FixedComboValues());
  if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, kind, combo->Items());
  TRect r = CellRect(ACol, ARow);
  r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  const int realCol = RealColIndex(ACol);
  TWinControl* editor = nullptr;
  if (kind == fceEdit) {
    TGridTransEdit* edit = EditTrans();
    edit->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    edit->OnChange = nullptr;
    edit->SetText(Cells(realCol, ARow));
    edit->OnChange = [this](TObject* Sender) { FixedEditChange(Sender); };
    edit->SetCol(realCol);
    edit->SetRow(ARow);
    editor = edit;
  } else {
    combo->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height());
    combo->SetStyle(kind == fceComboEdit ? csDropDown : csDropDownList);
    combo->OnChange = [this](TObject* Sender) { FixedEditChange(Sender); };
    const String text = Cells(realCol, ARow);
    if (kind == fceComboEdit) combo->SetText(text);
    else combo->SetItemIndex(combo->Items()->IndexOf(text));
    combo->SetCol(realCol);
    combo->SetRow(ARow);
    editor = combo;
  }
  editor->SetVisible(true);
  if (editor->CanFocus()) editor->SetFocus();
}
