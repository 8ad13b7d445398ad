// The string grid's side of its special editor controls: making each on first use, the edit
// buttons' click text, and the editors of form controls inside tagged cells.
#include "controls/HtmlText.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvGridValuesRichEdit.h"

void DEreDuzeroVaro::AdoptEditor(TWinControl* Editor) {
  Editor->SetVisible(false);
  Editor->SetEnabled(false);
  Editor->SetParent(this);
}

void DEreDuzeroVaro::AdoptDropDown(TAdvCustomDropDown* Editor) {
  AdoptEditor(Editor);
  Editor->SetComponentStyle(FComponentStyle);
  Editor->SetColorTones(FColorTones);
}

TGridSpin* DEreDuzeroVaro::SpinEdit() {
  if (FEditSpin == nullptr) {
    FEditSpin = new TGridSpin(this);
    AdoptEditor(FEditSpin);
    FEditSpin->SetBorderStyle(bsNone);
    FEditSpin->SetIsWinXP(IsWinXP());
  }
  return FEditSpin;
}

TGridCombo* DEreDuzeroVaro::EditCombo() {
  if (FEditCombo == nullptr) AdoptEditor(FEditCombo = new TGridCombo(this));
  return FEditCombo;
}

TGridCheckBox* DEreDuzeroVaro::EditCheck() {
  if (FEditCheck == nullptr) AdoptEditor(FEditCheck = new TGridCheckBox(this));
  return FEditCheck;
}

TGridEditBtn* DEreDuzeroVaro::EditBtn() {
  if (FEditBtn == nullptr) {
    FEditBtn = new TGridEditBtn(this);
    AdoptEditor(FEditBtn);
    FEditBtn->SetBorderStyle(bsNone);
  }
  return FEditBtn;
}

TGridUnitEditBtn* DEreDuzeroVaro::UnitEditBtn() {
  if (FUnitEditBtn == nullptr) {
    FUnitEditBtn = new TGridUnitEditBtn(this);
    AdoptEditor(FUnitEditBtn);
    FUnitEditBtn->SetBorderStyle(bsNone);
  }
  return FUnitEditBtn;
}

TGridButton* DEreDuzeroVaro::GridButton() {
  if (FGridButton == nullptr) AdoptEditor(FGridButton = new TGridButton(this));
  return FGridButton;
}

TGridDatePicker* DEreDuzeroVaro::DateTimePicker() {
  if (FEditDate == nullptr) AdoptEditor(FEditDate = new TGridDatePicker(this));
  return FEditDate;
}

TGridDateTimePicker* DEreDuzeroVaro::DateAndTimePicker() {
  if (FEditDateTime == nullptr) {
    FEditDateTime = new TGridDateTimePicker(this);
    AdoptEditor(FEditDateTime);
    FEditDateTime->SetAutoTab(true);
  }
  return FEditDateTime;
}

TGridTrackbarDropDown* DEreDuzeroVaro::TrackbarDropDown() {
  if (FEditTrackBar == nullptr) {
    FEditTrackBar = new TGridTrackbarDropDown(this);
    AdoptDropDown(FEditTrackBar);
    FEditTrackBar->SetEditorEnabled(true);
  }
  return FEditTrackBar;
}

TGridMemoDropDown* DEreDuzeroVaro::MemoDropDown() {
  if (FEditMemo == nullptr) AdoptDropDown(FEditMemo = new TGridMemoDropDown(this));
  return FEditMemo;
}

TGridCalculatorDropDown* DEreDuzeroVaro::CalculatorDropDown() {
  if (FEditCalculator == nullptr) {
    FEditCalculator = new TGridCalculatorDropDown(this);
    AdoptDropDown(FEditCalculator);
    FEditCalculator->SetEditorEnabled(true);
  }
  return FEditCalculator;
}

TGridTimepickerDropDown* DEreDuzeroVaro::TimePickerDropDown() {
  if (FEditTimePicker == nullptr) AdoptDropDown(FEditTimePicker = new TGridTimepickerDropDown(this));
  return FEditTimePicker;
}

TGridDetailPickerDropDown* DEreDuzeroVaro::DetailPickerDropDown() {
  if (FEditDetailPicker == nullptr) AdoptDropDown(FEditDetailPicker = new TGridDetailPickerDropDown(this));
  return FEditDetailPicker;
}

TGridGridDropDown* DEreDuzeroVaro::GridDropDown() {
  if (FEditGridPicker == nullptr) AdoptDropDown(FEditGridPicker = new TGridGridDropDown(this));
  return FEditGridPicker;
}

TGridColorDropDown* DEreDuzeroVaro::ColorPickerDropDown() {
  if (FEditColorPicker == nullptr) {
    FEditColorPicker = new TGridColorDropDown(this);
    AdoptDropDown(FEditColorPicker);
    FEditColorPicker->AddDefaultColors();
    FEditColorPicker->OnSelect = [this](TObject* Sender) { ColorSelect(Sender); };
  }
  return FEditColorPicker;
}

TGridImageDropDown* DEreDuzeroVaro::ImagePickerDropDown() {
  if (FEditImagePicker == nullptr) {
    AdoptDropDown(FEditImagePicker = new TGridImageDropDown(this));
    FEditImagePicker->OnSelect = [this](TObject* Sender) { ImageSelect(Sender); };
  }
  return FEditImagePicker;
}

TAdvCustomDropDown* DEreDuzeroVaro::AdvGridDropDown() {
  if (!FAdvGridPickerAsked) {
    FAdvGridPickerAsked = true;
    FEditAdvGridPicker = MakeAdvGridDropDown(this);
    if (FEditAdvGridPicker != nullptr) AdoptDropDown(FEditAdvGridPicker);
  }
  return FEditAdvGridPicker;
}

TAdvRichEdit* DEreDuzeroVaro::InplaceRichEdit() {
  if (FInplaceRichEdit == nullptr) {
    FInplaceRichEdit = new TAdvRichEdit(this);
    AdoptEditor(FInplaceRichEdit);
    FInplaceRichEdit->OnSelectionChange = [this](TObject* Sender) {
      if (OnRichEditSelectionChange) OnRichEditSelectionChange(Sender);
    };
  }
  return FInplaceRichEdit;
}

String DEreDuzeroVaro::EllipsClick(const String& Text) {
  String s = Text;
  if (OnEllipsClick) OnEllipsClick(this, RealCol(), Row(), s);
  return s;
}

// ---------------------------------------------------------------------------
// Form controls inside tagged cells

TControlEdit* DEreDuzeroVaro::ControlEdit() {
  if (FEditControl == nullptr) {
    FEditControl = new TControlEdit(this);
    FEditControl->SetVisible(false);
    FEditControl->SetParent(this);
  }
  return FEditControl;
}

TControlCombo* DEreDuzeroVaro::ControlCombo() {
  if (FComboControl == nullptr) {
    FComboControl = new TControlCombo(this);
    FComboControl->SetVisible(false);
    FComboControl->SetParent(this);
  }
  return FComboControl;
}

void DEreDuzeroVaro::StartCellControlEdit(const String& AText, const String& CtrlType, int ACol, int ARow,
                                          const TRect& CtrlRect, const String& CtrlValue, const String& CtrlID) {
  const bool edit = CtrlType == u"EDIT" || CtrlType == u"PASSWORD" || CtrlType == u"MASK";
  if (!edit && CtrlType != u"COMBO") return;
  FCtrlXY = TPoint(ACol, ARow);
  FCtrlID = CtrlID;
  FCtrlType = CtrlType;
  FCtrlEditing = true;
  const int maxLen = GetHtmlControlMaxLen(AText, CtrlID);
  if (edit) {
    TControlEdit* e = ControlEdit();
    e->SetWidth(0);
    e->SetPasswordChar(CtrlType == u"PASSWORD" ? Char(u'*') : Char(0));
    e->SetEditMask(CtrlType == u"MASK" ? GetHtmlControlProp(AText, CtrlID) : String());
    e->OnExit = [this](TObject* Sender) { EndCellControlEdit(Sender); };
    e->SetText(CtrlValue);
    e->SetBorderStyle(bsNone);
    e->SetBounds(CtrlRect.Left + 1, CtrlRect.Top + 8, CtrlRect.Width() - 4, 14);
    e->SetMaxLength(maxLen);
    e->SetParent(this);
    e->SetVisible(true);
    e->BringToFront();
    e->SetFocus();
    return;
  }
  TControlCombo* c = ControlCombo();
  c->SetIsWinXP(IsWinXP());
  c->SetWidth(0);
  c->SetFlat(false);
  c->SetBounds(CtrlRect.Left - 1, CtrlRect.Top + 4, CtrlRect.Width(), c->Height());
  c->OnSelect = [this](TObject* Sender) { ControlComboSelect(Sender); };
  c->SetParent(this);
  c->Items()->Clear();
  bool canEdit = true;
  int dropCount = 8;
  if (OnControlComboList) OnControlComboList(this, ARow, ACol, CtrlID, CtrlType, CtrlValue, c->Items(), canEdit, dropCount);
  c->SetStyle(canEdit ? csDropDown : csDropDownList);
  const int i = c->Items()->IndexOf(CtrlValue);
  c->SetItemIndex(i);
  if (canEdit) c->SetText(CtrlValue);
  c->SetDropDownCount(dropCount);
  c->OnExit = [this](TObject* Sender) { EndCellControlEdit(Sender); };
  c->SetHeight(c->ItemHeight() * (dropCount + 2));
  c->SetMaxLength(maxLen);
  c->SetVisible(true);
  c->SetDroppedDown(true);
  c->SetFocus();
}

void DEreDuzeroVaro::EndCellControlEdit(TObject* Sender) {
  if (!FCtrlEditing) return;
  FCtrlEditing = false;
  TWinControl* editor = FCtrlType == u"COMBO" ? static_cast<TWinControl*>(ControlCombo()) : ControlEdit();
  const String t = editor->Text();
  String cell = Cells(FCtrlXY.X, FCtrlXY.Y);
  if (SetHtmlControlValue(cell, FCtrlID, t)) SetCells(FCtrlXY.X, FCtrlXY.Y, cell);
  editor->SetVisible(false);
  if (OnControlEditDone) OnControlEditDone(Sender, FCtrlXY.Y, FCtrlXY.X, FCtrlID, FCtrlType, t);
  FCtrlType.clear();
}

void DEreDuzeroVaro::ControlComboSelect(TObject* Sender) {
  if (!OnControlComboSelect) return;
  TControlCombo* c = ControlCombo();
  const int i = c->ItemIndex();
  OnControlComboSelect(Sender, FCtrlXY.Y, FCtrlXY.X, i, FCtrlID, i >= 0 ? c->Items()->Strings(i) : String());
}

void TGridEditorLink::ControlEditorKey(DEreDuzeroVaro* Grid, TWinControl* Editor, Char Key) {
  const String id = Grid->FCtrlID;
  if (Editor->OnExit) Editor->OnExit(Editor);
  if (Key == 13) {
    GiveGridFocus(Grid);
    return;
  }
  if (Grid->Navigation()->AdvanceAuto()) {
    GiveGridFocus(Grid);
    AdvanceCell(Grid, true, false);
    return;
  }
  Grid->EditHTMLControl(Grid->Col(), Grid->Row(), id);
}
