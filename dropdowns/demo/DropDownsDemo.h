#pragma once
// The drop-down editors' demo window: one drop-down of each kind the library has, with a
// line under them that reports what the last one did.

#include "dropdowns/AdvCalculatorDropdown.h"
#include "dropdowns/AdvColorPickerDropDown.h"
#include "dropdowns/AdvDetailDropDown.h"
#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvImagePickerDropDown.h"
#include "dropdowns/AdvMemoDropDown.h"
#include "dropdowns/AdvMultiColumnDropDown.h"
#include "dropdowns/AdvTimePickerDropDown.h"
#include "dropdowns/AdvTrackBarDropDown.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// A plain framework drop-down: its pop-up holds a list of choices; a click or Enter takes one.
class TDemoListDropDown : public TAdvCustomDropDown {
public:
  explicit TDemoListDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TDemoListDropDown"; }
  TListBox* List() const { return FList; }

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownControlKeyDown(Word& Key, TShiftState Shift) override;

private:
  TListBox* FList = nullptr;
};

// The grid drop-down (dropdowns/grid/AdvCustomGridDropDown.h), which sits above the grid.
namespace AdvCustomGridDropDown {
class TCustomAdvGridDropDown;
}

class TDropDownsDemoForm : public TForm {
public:
  explicit TDropDownsDemoForm(TComponent* AOwner);
  String ClassName() const override { return u"TDropDownsDemoForm"; }
  TDemoListDropDown* ListDropDown() const { return FListDropDown; }
  TLabel* Status() const { return FStatus; }
  TAdvTrackBarDropDown* TrackBarDropDown() const { return FTrackBarDropDown; }
  TAdvMemoDropDown* MemoDropDown() const { return FMemoDropDown; }
  TAdvMultiColumnDropDown* MultiColumnDropDown() const { return FMultiColumnDropDown; }
  TAdvCalculatorDropdown* Calculator() const { return FCalculator; }
  // The colour picker shown in one of its four styles.
  TAdvColorPickerDropDown* ColorPicker(TColorSelectionStyle Style) const { return FColorPickers[Style]; }
  TAdvTimePickerDropDown* TimePicker() const { return FTimePicker; }
  // The analogue clock alone in each of its twelve looks.
  TAdvWatch* Clock(TWatchStyle Style) const { return FClocks[Style]; }
  TAdvDetailDropDown* DetailDropDown() const { return FDetailDropDown; }
  TAdvImagePickerDropDown* ImagePicker() const { return FImagePicker; }
  // The grid drop-downs: receivers looked up by name and sorted by a header click; channels
  // narrowed down while typing.
  AdvCustomGridDropDown::TCustomAdvGridDropDown* GridLookup() const { return FGridLookup; }
  AdvCustomGridDropDown::TCustomAdvGridDropDown* GridNarrow() const { return FGridNarrow; }

private:
  TDemoListDropDown* FListDropDown;
  TAdvTrackBarDropDown* FTrackBarDropDown;
  TAdvMemoDropDown* FMemoDropDown;
  TAdvMultiColumnDropDown* FMultiColumnDropDown;
  TAdvCalculatorDropdown* FCalculator;
  TAdvColorPickerDropDown* FColorPickers[4];
  TAdvTimePickerDropDown* FTimePicker;
  TAdvWatch* FClocks[12];
  TAdvDetailDropDown* FDetailDropDown;
  TAdvImagePickerDropDown* FImagePicker;
  AdvCustomGridDropDown::TCustomAdvGridDropDown* FGridLookup;
  AdvCustomGridDropDown::TCustomAdvGridDropDown* FGridNarrow;
  TLabel* FStatus;
};
