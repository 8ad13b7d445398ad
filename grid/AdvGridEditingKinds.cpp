// The special editors by kind: how each editor control is laid over the cell, filled from it and
// shown, and how its value goes back into the cell when editing ends.
#include "grid/AdvGrid.h"
#include "controls/VevAzez.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvGridValuesRich.h"
#include "grid/AdvGridValuesRichEdit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {
// Posts the character that started editing to the editor, which has the focus by then.
void PostStartChar(TWinControl* Editor, Char Ch) {
  if (Ch != 0 && Editor != nullptr && Editor->HandleAllocated()) PostMessage(Editor->Handle(), WM_CHAR, WPARAM(Ch), 0);
}

void Focus(TWinControl* Editor) {
  if (Editor->CanFocus()) Editor->SetFocus();
}

// Hidden and disabled: an editor is never destroyed when editing ends.
void Close(TWinControl* Editor) {
  Editor->SetVisible(false);
  Editor->SetEnabled(false);
}

// Places the date-time picker over the cell and shows it in the cell's colour.
void PlacePicker(TGridDatePicker* Picker, const TRect& R, int W, int H, TColor Colour) {
  Picker->SetBounds(R.Left, R.Top, W, H);
  Picker->SetEnabled(true);
  Picker->SetVisible(true);
  Picker->SetColor(Colour);
}

// The integer the class library's Val reads: digits after an optional sign; 0 when none.
int ValInt(const String& Text) {
  int v = 0;
  return TryStrToInt(Trim(Text), v) ? v : 0;
}
}  // namespace

TDateTime DEreDuzeroVaro::CellPickerDate(TDateTimePicker* Picker, const String& Text) {
  TDateTime d = Now();
  if (!Text.empty()) {
    if (OnCustomStrToDate) OnCustomStrToDate(this, Text, d);
    else if (!TryStrToDateTime(Text, d)) d = Now();
  }
  // Inside the picker's limits, which it would refuse (today may lie outside them too).
  if (Picker->MaxDate() != 0 && d > Picker->MaxDate()) d = Picker->MaxDate() - 1;
  if (Picker->MinDate() != 0 && d <= Picker->MinDate()) d = Picker->MinDate() + 1;
  return d;
}

bool DEreDuzeroVaro::ShowKindEditor(int ACol, int ARow, int RC, const TRect& R, TColor Colour) {
  const int W = R.Width() - 1, H = R.Height() - 1;
  const Char start = FStartEditChar;
  switch (EditControl) {
    case edSpinEdit: case edFloatSpinEdit: case edTimeSpinEdit: case edDateSpinEdit: {
      TGridSpin* spin = SpinEdit();
      FEditMode = true;
      spin->ReCreate();
      spin->SetBounds(R.Left, R.Top, W, H);
      spin->SetVisible(true);
      spin->SetEnabled(true);
      spin->SetColor(Colour);
      spin->SetExcelStyleDecimalSeparator(ExcelStyleDecimalSeparator());
      GetEditorProp(RC, ARow, FEditLink);
      String text = GetEditText(ACol, ARow);
      switch (EditControl) {
        case edSpinEdit:
          spin->SetSpinType(sptNormal);
          spin->SetValue(ValInt(text));
          break;
        case edFloatSpinEdit: {
          spin->SetSpinType(sptFloat);
          double f = 0;
          spin->SetFloatValue(TryStrToFloat(StripNumberFormat(text), f) ? f : 0);
          break;
        }
        case edTimeSpinEdit:
          spin->SetSpinType(sptTime);
          spin->SetText(text);
          break;
        default: {
          spin->SetSpinType(sptDate);
          TDateTime d = 0;
          spin->SetDateValue(!text.empty() && TryStrToDate(text, d) ? d : Now());
          break;
        }
      }
      Focus(spin);
      PostStartChar(spin, start);
      if (FSpinUpClick) spin->SpinUp(false);
      if (FSpinDnClick) spin->SpinDown(false);
      EditCtrl = spin;
      return true;
    }
    case edComboEdit: case edComboList: {
      TGridCombo* combo = EditCombo();
      FEditMode = true;
      combo->SetDropDownCount(ControlLook()->DropDownCount());
      GetEditorProp(RC, ARow, FEditLink);
      combo->SetBounds(R.Left, R.Top, 0, 0);
      combo->SetEnabled(true);
      combo->SetDroppedDown(false);
      const String text = GetEditText(ACol, ARow);
      bool changed = false;
      if (EditControl == edComboEdit) {
        combo->SetStyle(csDropDown);
        combo->SetText(text);
        if (FComboIndex != -1 && combo->ItemIndex() == -1) combo->SetItemIndex(FComboIndex);
      } else {
        combo->SetStyle(csDropDownList);
        const int found = combo->Items()->IndexOf(text);
        if (found >= 0) {
          combo->SetItemIndex(found);
        } else if (FComboIndex == -1) {
          // A text that is no item: the first item is taken, as a change.
          combo->SetItemIndex(combo->Items()->Count() > 0 ? 0 : -1);
          changed = true;
        } else {
          combo->SetItemIndex(FComboIndex);
        }
      }
      // The selection field fills the cell; the height given below is the dropped list's room
      // (a drop-down box keeps its closed height at the field's).
      combo->Perform(CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(H - 6));
      combo->SetBounds(R.Left, R.Top, W, combo->ItemHeight() * (combo->DropDownCount() + 1) + H);
      combo->SetColor(Colour);
      combo->SetMaxLength(MaxComboLength());
      combo->SetVisible(true);
      const bool flat = FLook == glSoft || FLook == glZOL || FLook == glXP || FLook == glListView ||
                        FLook == glVista || FLook == glWin7 || FLook == glOffice2007;
      combo->SetFlat(flat);
      combo->SetEtched(flat);
      if (Navigation()->AutoComboDropSize()) combo->SizeDropDownWidth();
      Focus(combo);
      combo->SetDroppedDown(MouseActions()->DirectComboDrop() || ControlLook()->DropDownAlwaysVisible());
      if (changed && combo->Items()->Count() > 0) {
        const String first = combo->Items()->Strings(0);
        if (OnComboChange) OnComboChange(this, RC, ARow, 0, first);
        if (OnComboObjectChange) OnComboObjectChange(this, RC, ARow, 0, first, combo->Items()->Objects(0));
      }
      PostStartChar(combo, start);
      EditCtrl = combo;
      return true;
    }
    case edEditBtn: case edNumericEditBtn: case edFloatEditBtn: {
      TGridEditBtn* edit = EditBtn();
      FEditMode = true;
      edit->ReCreate();
      edit->SetBounds(R.Left, R.Top, W, H);
      edit->SetText(GetEditText(ACol, ARow));
      edit->SetMaxLength(MaxEditLength());
      edit->SetVisible(true);
      edit->SetEnabled(true);
      edit->SetColor(Colour);
      Focus(edit);
      PostStartChar(edit, start);
      EditCtrl = edit;
      return true;
    }
    case edUnitEditBtn: case edNumericUnitEditBtn: case edFloatUnitEditBtn: {
      TGridUnitEditBtn* edit = UnitEditBtn();
      FEditMode = true;
      edit->ReCreate();
      edit->SetBounds(R.Left, R.Top, W, H);
      edit->SetMaxLength(MaxEditLength());
      edit->SetUnitID(String());
      edit->SetText(String());
      edit->SetTextAndUnit(GetEditText(ACol, ARow));
      GetEditorProp(RC, ARow, FEditLink);
      edit->SetVisible(true);
      edit->SetEnabled(true);
      edit->SetColor(Colour);
      Focus(edit);
      PostStartChar(edit, start);
      EditCtrl = edit;
      return true;
    }
    case edCheckBox: {
      TGridCheckBox* check = EditCheck();
      FEditMode = true;
      check->ReCreate();
      check->SetBounds(R.Left, R.Top, W, H);
      check->SetCaption(GetEditText(ACol, ARow));
      check->SetEnabled(true);
      check->SetState(cbUnchecked);
      check->SetVisible(true);
      Focus(check);
      return true;
    }
    case edButton: {
      TGridButton* button = GridButton();
      FEditMode = true;
      button->ReCreate();
      // The button covers the grid lines around the cell.
      button->SetBounds(R.Left - 1, R.Top - 1, W + 2, H + 2);
      button->SetCaption(GetEditText(ACol, ARow));
      button->SetVisible(true);
      button->SetEnabled(true);
      Focus(button);
      EditCtrl = button;
      return true;
    }
    case edDateEdit: case edDateEditUpDown: {
      TGridDatePicker* picker = DateTimePicker();
      FEditMode = true;
      picker->SetParent(this);
      picker->ReCreate();
      picker->SetKind(dtkDate);
      picker->SetDate(CellPickerDate(picker, GetEditText(ACol, ARow)));
      picker->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
      GetEditorProp(RC, ARow, FEditLink);
      PlacePicker(picker, R, W, H, Colour);
      Focus(picker);
      if (FMouseActions->DirectDateDrop() && picker->HandleAllocated())
        PostMessage(picker->Handle(), WM_KEYDOWN, WPARAM(VK_F4), 0);
      PostStartChar(picker, start);
      EditCtrl = picker;
      return true;
    }
    case edTimeEdit: {
      TGridDatePicker* picker = DateTimePicker();
      FEditMode = true;
      picker->SetParent(this);
      picker->ReCreate();
      const String text = GetEditText(ACol, ARow);
      TDateTime t = Now();
      if (text.empty() || !TryStrToTime(text, t)) t = Now();
      picker->SetTime(t);
      picker->SetKind(dtkTime);
      PlacePicker(picker, R, W, H, Colour);
      GetEditorProp(RC, ARow, FEditLink);
      Focus(picker);
      EditCtrl = picker;
      return true;
    }
    case edDateTimeEdit: {
      TGridDateTimePicker* picker = DateAndTimePicker();
      FEditMode = true;
      picker->SetParent(this);
      const String text = GetEditText(ACol, ARow);
      TDateTime value = 0;
      if (text.empty() || !TryStrToDateTime(text, value)) value = Now();
      FOriginalDateTime = value;
      picker->SetKind(dkDateTime);
      picker->SetDateTime(value);
      picker->SetBorderStyle(bsNone);
      picker->SetBounds(R.Left, R.Top, W, std::min(H, picker->Height()));
      GetEditorProp(RC, ARow, FEditLink);
      picker->SetEnabled(true);
      picker->SetVisible(true);
      picker->SetColor(Colour);
      Focus(picker);
      return true;
    }
    case edRichEdit: {
      TAdvRichEdit* rich = InplaceRichEdit();
      FEditMode = true;
      rich->ReCreate();
      rich->SetParent(this);
      rich->SetBorderStyle(bsNone);
      rich->SetHideSelection(false);
      rich->SetBounds(R.Left, R.Top, W, H);
      GetEditorProp(RC, ARow, FEditLink);
      // Loading the cell must not grow the row.
      rich->LockResize();
      CellToRich(RC, ARow, rich);
      if (Navigation()->EditSelectAll()) rich->SelectAll();
      rich->SetVisible(true);
      rich->SetEnabled(true);
      TRect fr(2, 2, rich->Width() - 2, rich->Height() - 2);
      rich->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&fr));
      rich->SetColor(Colour);
      Focus(rich);
      PostStartChar(rich, start);
      rich->UnlockResize();
      EditCtrl = rich;
      return true;
    }
    case edTrackbarDropDown: case edMemoDropDown: case edCalculatorDropDown: case edTimePickerDropDown:
    case edDetailDropDown: case edGridDropDown: case edColorPickerDropDown: case edImagePickerDropDown:
    case edAdvGridDropDown:
      return ShowDropDownEditor(ACol, ARow, RC, R, Colour);
    default: return false;
  }
}

void DEreDuzeroVaro::HideKindEditor(int RC, int ARow) {
  switch (EditControl) {
    case edSpinEdit: case edFloatSpinEdit: case edTimeSpinEdit: case edDateSpinEdit: {
      TGridSpin* spin = SpinEdit();
      FEditMode = false;
      if (spin->AllowEmptyValue() && Trim(spin->Text()).empty()) {
        SetCells(RC, ARow, String());
      } else {
        switch (EditControl) {
          case edSpinEdit: SetInts(RC, ARow, spin->Value()); break;
          case edFloatSpinEdit: SetFloats(RC, ARow, spin->FloatValue()); break;
          case edTimeSpinEdit: SetEditCellText(RC, ARow, spin->Text()); break;
          default: SetEditCellText(RC, ARow, DateToStr(spin->DateValue())); break;
        }
      }
      Close(spin);
      break;
    }
    case edComboEdit: case edComboList:
      if (FEditMode) {
        FEditMode = false;
        SetEditCellText(RC, ARow, EditCombo()->Text());
        Close(EditCombo());
      }
      break;
    case edEditBtn: case edNumericEditBtn: case edFloatEditBtn:
      if (FEditMode) {
        FEditMode = false;
        SetEditCellText(RC, ARow, EditBtn()->Text());
        Close(EditBtn());
      }
      break;
    case edUnitEditBtn: case edNumericUnitEditBtn: case edFloatUnitEditBtn:
      SetEditCellText(RC, ARow, UnitEditBtn()->Text() + UnitEditBtn()->UnitID());
      Close(UnitEditBtn());
      FEditMode = false;
      break;
    case edCheckBox:
      Close(EditCheck());
      FEditMode = false;
      break;
    case edButton:
      Close(GridButton());
      FEditMode = false;
      break;
    case edDateEdit: case edDateEditUpDown:
      if (FEditMode) {
        TGridDatePicker* picker = DateTimePicker();
        SetEditCellText(RC, ARow, picker->Checked() ? picker->Text() : String());
        FEditMode = false;
        Close(picker);
      }
      break;
    case edTimeEdit:
      if (FEditMode) {
        // The picker's own format shows the time as the cell keeps it; the process's format
        // settings are not touched.
        TGridDatePicker* picker = DateTimePicker();
        TFormatSettings fs = FormatSettings;
        if (!picker->Format().empty()) fs.LongTimeFormat = picker->Format();
        SetEditCellText(RC, ARow, TimeToStr(picker->Time(), fs));
        Close(picker);
        FEditMode = false;
      }
      break;
    case edDateTimeEdit:
      if (FEditMode) {
        TGridDateTimePicker* picker = DateAndTimePicker();
        SetEditCellText(RC, ARow,
                        picker->Checked() ? FormatDateTime(FormatSettings.ShortDateFormat + u" " +
                                                               FormatSettings.ShortTimeFormat,
                                                           picker->DateTime())
                                          : String());
        FEditMode = false;
        Close(picker);
      }
      break;
    case edRichEdit:
      FEditMode = false;
      SetEditCellText(RC, ARow, RichToString(InplaceRichEdit()));
      Close(InplaceRichEdit());
      break;
    case edTrackbarDropDown: case edMemoDropDown: case edCalculatorDropDown: case edTimePickerDropDown:
    case edDetailDropDown: case edGridDropDown: case edColorPickerDropDown: case edImagePickerDropDown:
    case edAdvGridDropDown:
      if (FEditMode) {
        FEditMode = false;
        HideDropDownEditor(RC, ARow);
      }
      break;
    default: break;
  }
}

void GridRichEditorRequestsHeight(DEreDuzeroVaro* Grid, TAdvRichEdit* Edit, int Height) {
  // Only the in-place editor while it edits, not while the grid loads a cell into it.
  if (Grid == nullptr || Edit->Locked() || !Edit->Visible() || !Grid->SizeWhileTyping()->Height()) return;
  const int row = Grid->Row();
  const TRect cell = Grid->CellRect(Grid->Col(), row);
  if (Grid->RowHeights(row) < Height + 5 && cell.Top + Height + 5 < Grid->Height()) {
    Edit->SetHeight(Height + 9);
    Grid->SetRowHeights(row, Height + 10);
    if (Grid->OnEndRowSize) Grid->OnEndRowSize(Grid, row);
  }
}

void GridRichEditorLosesFocus(DEreDuzeroVaro* Grid, HWND Focused) {
  if (Grid == nullptr || !Grid->HandleAllocated() || Focused != Grid->Handle()) return;
  // Not while the write-back itself hides the editor (EditMode is off by then).
  if (Grid->EditMode() && Grid->EditActive() && Grid->EditControl == edRichEdit) Grid->HideInplaceEdit();
}
