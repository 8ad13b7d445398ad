// The drop-down editors by kind (track bar, memo, calculator, time, detail, multi-column grid,
// colour, image and the grid drop-down): laid over the cell, filled from it and shown, and their
// value written back when editing ends.
#include "grid/AdvGrid.h"
#include "grid/AdvGridEditors.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

TAdvCustomDropDown* DEreDuzeroVaro::KindDropDown() {
  switch (EditControl) {
    case edTrackbarDropDown: return TrackbarDropDown();
    case edMemoDropDown: return MemoDropDown();
    case edCalculatorDropDown: return CalculatorDropDown();
    case edTimePickerDropDown: return TimePickerDropDown();
    case edDetailDropDown: return DetailPickerDropDown();
    case edGridDropDown: return GridDropDown();
    case edColorPickerDropDown: return ColorPickerDropDown();
    case edImagePickerDropDown: return ImagePickerDropDown();
    case edAdvGridDropDown: return AdvGridDropDown();
    default: return nullptr;
  }
}

bool DEreDuzeroVaro::ShowDropDownEditor(int ACol, int ARow, int RC, const TRect& R, TColor Colour) {
  TAdvCustomDropDown* dd = KindDropDown();
  // The grid drop-down comes from a unit above the grid: without its factory nothing opens.
  if (dd == nullptr) {
    FEditMode = false;
    return false;
  }
  const String text = GetEditText(ACol, ARow);
  // The image picker reads a data image cell's index first: a cell that holds no integer raises
  // before anything is shown.
  int imageIndex = -1;
  const TCellType cellType = GetCellType(RC, ARow);
  if (EditControl == edImagePickerDropDown) {
    if (cellType == ctImageList) GetImageIdx(RC, ARow, imageIndex);
    else if (cellType == ctDataImage) imageIndex = Ints(RC, ARow);
  }
  FEditMode = true;
  dd->DropDownFooter()->Assign(ControlLook()->DropDownFooter());
  dd->DropDownHeader()->Assign(ControlLook()->DropDownHeader());
  dd->SetComponentStyle(FComponentStyle);
  dd->OnDropDownHeaderButtonClick = [this](TObject* Sender, int Index) { DropDownHeaderButtonClick(Sender, Index); };
  dd->OnDropDownFooterButtonClick = [this](TObject* Sender, int Index) { DropDownFooterButtonClick(Sender, Index); };
  if (EditControl == edGridDropDown || EditControl == edAdvGridDropDown) {
    dd->SetEditorEnabled(true);
    dd->SetColor(Colour);
  }
  // The grid drop-down keeps its header row whatever the application's items leave.
  auto* gridSetup = EditControl == edAdvGridDropDown ? dynamic_cast<TGridDropDownGridSetup*>(dd) : nullptr;
  if (gridSetup != nullptr && gridSetup->DropDownGrid() != nullptr) gridSetup->DropDownGrid()->SetFixedRowAlways(true);
  GetEditorProp(RC, ARow, FEditLink);
  // Items the application filled for this cell join the typing completion.
  if (gridSetup != nullptr) {
    gridSetup->BeginItemsUpdate();
    gridSetup->EndItemsUpdate();
  }
  dd->SetBounds(R.Left, R.Top, 0, 0);
  dd->SetEnabled(true);
  dd->SetBorderStyle(bsNone);
  dd->SetBounds(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
  bool selectDetail = false;
  switch (EditControl) {
    case edTrackbarDropDown: {
      int position = 0;
      TrackbarDropDown()->SetPosition(TryStrToInt(Trim(text), position) ? position : 0);
      break;
    }
    case edMemoDropDown:
      // Every line of the cell goes to the memo (the edit shows the first one).
      MemoDropDown()->MemoText()->SetText(text);
      break;
    case edCalculatorDropDown: dd->SetText(text); break;
    case edTimePickerDropDown:
      dd->SetText(text);
      dd->SetEditorEnabled(true);
      break;
    case edDetailDropDown:
      dd->SetText(text);
      dd->SetEditorEnabled(true);
      selectDetail = true;
      break;
    case edGridDropDown: {
      TGridGridDropDown* grid = GridDropDown();
      grid->BeginUpdate();
      grid->EndUpdate();
      const int found = text.empty() ? 0 : grid->GetItemIndex(text);
      if (found >= 0 && found < grid->Items()->Count()) grid->SetItemIndex(found);
      dd->SetText(text);
      break;
    }
    case edColorPickerDropDown:
      ColorPickerDropDown()->SetSelectedColor(cellType == ctShape ? GetShapeColor(RC, ARow) : Colors(RC, ARow));
      break;
    case edImagePickerDropDown: {
      TGridImageDropDown* images = ImagePickerDropDown();
      if (cellType == ctImageList || cellType == ctDataImage) {
        images->SetImages(GridImages());
        if (images->Items()->Count() == 0 && GridImages() != nullptr) images->AddImagesFromImageList();
        images->SetImageIndex(imageIndex);
      }
      const int item = images->ItemIndex();
      images->SetText(images->ImageIndex() == -1 || item < 0 ? String() : images->Items()->Items(item)->Caption());
      break;
    }
    default: dd->SetText(text); break;
  }
  dd->SetColor(Colour);
  dd->SetVisible(true);
  if (dd->CanFocus()) dd->SetFocus();
  if (selectDetail) {
    TGridDetailPickerDropDown* detail = DetailPickerDropDown();
    const String shown = detail->Text();
    for (int i = 0; i < detail->Items()->Count(); ++i) {
      if (detail->Items()->Items(i)->Caption() == shown) {
        detail->SetItemIndex(i);
        break;
      }
    }
  }
  if (FStartEditChar != 0 && dd->HandleAllocated()) PostMessage(dd->Handle(), WM_CHAR, WPARAM(FStartEditChar), 0);
  if (MouseActions()->DirectComboDrop()) dd->ShowDropDown();
  EditCtrl = dd;
  return true;
}

void DEreDuzeroVaro::HideDropDownEditor(int RC, int ARow) {
  TAdvCustomDropDown* dd = KindDropDown();
  if (dd == nullptr) return;
  switch (EditControl) {
    case edMemoDropDown: SetEditCellText(RC, ARow, MemoDropDown()->EditValue()); break;
    case edColorPickerDropDown: {
      TGridColorDropDown* picker = ColorPickerDropDown();
      TColor colour = picker->SelectedColor();
      String value = picker->SelectedColorText();
      if (OnColorSelected) OnColorSelected(this, RC, ARow, colour, value);
      SetEditCellText(RC, ARow, value);
      if (GetCellType(RC, ARow) == ctShape) SetShapeColor(RC, ARow, colour);
      else SetColors(RC, ARow, colour);
      break;
    }
    case edImagePickerDropDown: {
      int index = ImagePickerDropDown()->ImageIndex();
      if (OnImageSelected) OnImageSelected(this, RC, ARow, index);
      const TCellType type = GetCellType(RC, ARow);
      if (type == ctImageList) SetImageIdx(RC, ARow, index);
      else if (type == ctDataImage) SetEditCellText(RC, ARow, IntToStr(index));
      break;
    }
    default: SetEditCellText(RC, ARow, dd->Text()); break;
  }
  if (dd->DroppedDown()) dd->HideDropDown(false);
  dd->SetVisible(false);
  dd->SetEnabled(false);
}

// ---- The editors' own events

void DEreDuzeroVaro::DropDownHeaderButtonClick(TObject* Sender, int ButtonIndex) {
  (void)Sender;
  if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void DEreDuzeroVaro::DropDownFooterButtonClick(TObject* Sender, int ButtonIndex) {
  (void)Sender;
  if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void DEreDuzeroVaro::ColorSelect(TObject* Sender) {
  (void)Sender;
  if (!OnColorSelect) return;
  TGridColorDropDown* picker = ColorPickerDropDown();
  OnColorSelect(this, Col(), Row(), picker->SelectedColor(), picker->SelectedColorText());
}

void DEreDuzeroVaro::ImageSelect(TObject* Sender) {
  (void)Sender;
  if (OnImageSelect) OnImageSelect(this, Col(), Row(), ImagePickerDropDown()->ItemIndex());
}
