#pragma once
// The grid's special cell editors: controls of their own kind (spin, combo, date pickers, edit
// buttons, check box, button and the drop-down editors) extended so that they live over a cell
// of a DEreDuzeroVaro. Each is made by its grid on first use, owned and parented by it, shown
// over the cell being edited, hidden and disabled when editing ends and never destroyed before
// its grid. They validate through the grid before Enter, Tab or an arrow leaves, put the cell
// text back on Escape and end editing by the grid's routines; the value is read back by the
// grid. TControlEdit and TControlCombo edit the form controls drawn inside tagged cell texts.

#include <cstdint>
#include <functional>

// The class library's progress bar orientation has two enumerator names of the grid's print
// borders (TPrintBorders, grid/AdvObj.h); beside the grid the library's pair is renamed.
#define pbHorizontal pbBarHorizontal
#define pbVertical pbBarVertical
#include "platform/ui/ComCtrls.h"
#undef pbHorizontal
#undef pbVertical

#include "dropdowns/AdvCalculatorDropdown.h"
#include "dropdowns/AdvColorPickerDropDown.h"
#include "dropdowns/AdvDetailDropDown.h"
#include "dropdowns/AdvImagePickerDropDown.h"
#include "dropdowns/AdvMemoDropDown.h"
#include "dropdowns/AdvMultiColumnDropDown.h"
#include "dropdowns/AdvTimePickerDropDown.h"
#include "dropdowns/AdvTrackBarDropDown.h"
#include "grid/ASGEdit.h"
#include "grid/AdvGrid.h"
#include "grid/AsgCombo.h"
#include "grid/AsgDateTimePicker.h"
#include "grid/asgspin.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

// The editors' way into their grid: the grid's editing state and routines they use.
class TGridEditorLink {
public:
  // The owner as a grid; any other owner raises EInvalidCast.
  static DEreDuzeroVaro* GridOf(TComponent* AOwner);
  // The grid's edit-change notification after the editor's text changed.
  static void TextChanged(DEreDuzeroVaro* Grid, const String& Text);
  // The editor asks for Key itself (CM_WANTSPECIALKEY): Enter and Escape when EnterEscape, Tab
  // when the grid's EditorWantsTab holds (with TabByGoTabs: when goTabs is set).
  static bool WantsKey(DEreDuzeroVaro* Grid, Word Key, bool EnterEscape, bool TabByGoTabs = false);
  // The grid's OnKeyPress with Sender.
  static void GridKeyPress(DEreDuzeroVaro* Grid, TObject* Sender, Char& Key);
  // Editing was started by a left click inside Edit: the caret to the clicked character.
  static void CaretToClick(DEreDuzeroVaro* Grid, TCustomEdit* Edit);
  // Stores Text in the current cell and validates it; false when refused.
  static bool StoreAndValidate(DEreDuzeroVaro* Grid, const String& Text);
  static const String& NewCellText(DEreDuzeroVaro* Grid) { return Grid->FNewCellText; }
  static const String& CellCache(DEreDuzeroVaro* Grid) { return Grid->FCellCache; }
  // The refused key must not advance the current cell.
  static void NoAutoAdvance(DEreDuzeroVaro* Grid, bool Value);
  static void GiveGridFocus(DEreDuzeroVaro* Grid);
  // The grid's own key handling (moves the current cell).
  static void GridKeyDown(DEreDuzeroVaro* Grid, Word& Key, TShiftState Shift);
  // Ends editing after Key (moves by Tab and the arrows, advances on Enter).
  static void DoneInplaceEdit(DEreDuzeroVaro* Grid, Word Key, TShiftState Shift);
  // The editor of the current cell opens again.
  static void ShowInplaceEdit(DEreDuzeroVaro* Grid);
  // Moves the current cell on after Enter, opening its editor (AutoEdit, Reopen).
  static void AdvanceCell(DEreDuzeroVaro* Grid, bool Forward, bool Force);
  static void TabAdvance(DEreDuzeroVaro* Grid, bool Backward);
  static void RestoreCellText(DEreDuzeroVaro* Grid);
  // The date and time the date-and-time editor opened with.
  static bool OriginalDateTime(DEreDuzeroVaro* Grid, TDateTime& Value);
  // Tab accepted by an editor that wants Tab (goTabs): the editor closes and Tab moves on.
  // Without goTabs a Tab key-down is posted to the grid. True when the editor closed.
  static bool TabValidated(DEreDuzeroVaro* Grid, TShiftState Shift);
  // Enter with Navigation.AdvanceOnEnter: the editor closes and the cell advances forwards.
  static bool EnterAdvanced(DEreDuzeroVaro* Grid);
  // Editing was started by a left click (cleared once the editor has used it).
  static bool ClickedEditing(DEreDuzeroVaro* Grid) { return Grid->LButFlg; }
  static void ClearLButFlg(DEreDuzeroVaro* Grid) { Grid->LButFlg = false; }
  // The grid's EditMode ends (an editor that closes itself).
  static void EndEditMode(DEreDuzeroVaro* Grid) { Grid->FEditMode = false; }
  static void ShowEditor(DEreDuzeroVaro* Grid) { Grid->ShowEditor(); }
  // Enter or Tab typed in the editor of a form control inside a cell: the editor's exit
  // handling ends the edit; Tab then advances the cell (AdvanceAuto) or opens the cell's next
  // control.
  static void ControlEditorKey(DEreDuzeroVaro* Grid, TWinControl* Editor, Char Key);
};

// Common state of the editors that complete lookups.
struct TGridLookupState {
  bool Forced = false;    // cleared at each key down
  bool WorkMode = true;   // false after Backspace or Delete: no lookup completion
};

// ---------------------------------------------------------------------------
// The drop-down editors share their key handling: Base is the drop-down they extend.
class TGridDropDownKeys : public TGridLookupState {
protected:
  // The key set the editor validates and ends editing with, by the pop-up's state.
  virtual bool HandlesKey(Word Key, bool DroppedDown) const;
  // The editor asks for Enter and Escape itself (not only for Tab).
  virtual bool WantsEnterEscape() const { return false; }
  virtual ~TGridDropDownKeys() = default;
};

template <class Base>
class TGridDropDownEditor : public Base, public TGridDropDownKeys {
public:
  explicit TGridDropDownEditor(TComponent* AOwner) : Base(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {}
  DEreDuzeroVaro* Grid() const { return FGrid; }

protected:
  // Puts the cell text back on Escape.
  virtual void RestoreText(const String& Value) { this->SetTextDirect(Value); }
  // Before the value is stored by Enter (the calculator computes its pending operation).
  virtual void BeforeEnter() {}
  // The value validated and stored, and showing a value the grid gives back (the memo keeps
  // all lines, its edit shows only a summary of them).
  virtual String EditValue() const { return this->Text(); }
  virtual void ShowValue(const String& Value) { this->SetTextDirect(Value); }

  void WMKeyDown(TWMKey& Message) override {
    Word key = Message.CharCode();
    const TShiftState shift = KeyDataToShiftState(Message.KeyData());
    if (!GridKey(key, shift)) return;
    Message.SetCharCode(key);
    Base::WMKeyDown(Message);
  }
  void KeyPress(Char& Key) override {
    TGridEditorLink::GridKeyPress(FGrid, this, Key);
    if (Key == 27 || Key == 13 || Key == 9) Key = 0;
    Base::KeyPress(Key);
  }
  void DoExit() override {
    FGrid->HideInplaceEdit();
    Base::DoExit();
  }
  void Change() override {
    Base::Change();
    TGridEditorLink::TextChanged(FGrid, this->Text());
  }
  void CMWantSpecialKey(TWMKey& Message) override {
    if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), WantsEnterEscape())) {
      Message.SetResult(1);
      return;
    }
    Base::CMWantSpecialKey(Message);
  }

  // The validated key handling; false when the key is done with.
  bool GridKey(Word& Key, TShiftState Shift) {
    Forced = false;
    const bool open = this->DroppedDown();
    const bool handled = HandlesKey(Key, open) && !(Key == VK_DOWN && Shift.Contains(ssAlt));
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
    if (!handled) return true;
    if (Key == VK_ESCAPE) {
      RestoreText(FGrid->GetCurrentCell());
      FGrid->HideInplaceEdit();
      TGridEditorLink::GiveGridFocus(FGrid);
      return false;
    }
    if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
      if (Key == VK_RETURN) BeforeEnter();
      if (!TGridEditorLink::StoreAndValidate(FGrid, EditValue())) {
        ShowValue(TGridEditorLink::NewCellText(FGrid));
        this->SelectAll();
        this->Invalidate();
        TGridEditorLink::NoAutoAdvance(FGrid, true);
        return false;
      }
      ShowValue(FGrid->GetCurrentCell());
    }
    if (Key == VK_TAB && FGrid->EditorWantsTab()) {
      if (!TGridEditorLink::StoreAndValidate(FGrid, EditValue())) {
        ShowValue(TGridEditorLink::NewCellText(FGrid));
        this->SetSelStart(static_cast<int>(this->EditText().size()));
        this->Invalidate();
        return false;
      }
      if (TGridEditorLink::TabValidated(FGrid, Shift)) return false;
    }
    if (open) {
      FGrid->HideInplaceEdit();
      if (Key == VK_LEFT || Key == VK_RIGHT) TGridEditorLink::GridKeyDown(FGrid, Key, Shift);
      if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN)
        Key = 0;
    } else if (Key == VK_END) {
      return true;
    }
    TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
    if (FGrid->Navigation()->AdvanceOnEnter() && FGrid->Navigation()->AdvanceAutoEdit())
      TGridEditorLink::ShowInplaceEdit(FGrid);
    return false;
  }

  DEreDuzeroVaro* FGrid;
};

class TGridTrackbarDropDown : public TGridDropDownEditor<TAdvTrackBarDropDown> {
public:
  explicit TGridTrackbarDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridTrackbarDropDown"; }
  // Nothing to complete in a track bar's value.
  void DoChange() {}

protected:
  bool WantsEnterEscape() const override { return true; }
  void RestoreText(const String& Value) override { SetText(Value); }
  void KeyUp(Word& Key, TShiftState Shift) override { TCustomMaskEdit::KeyUp(Key, Shift); }
  void WMSetFocus(TWMSetFocus& Message) override;
};

class TGridMemoDropDown : public TGridDropDownEditor<TAdvMemoDropDown> {
public:
  explicit TGridMemoDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridMemoDropDown"; }
  // All lines, separated by line breaks.
  String EditValue() const override;

protected:
  void ShowValue(const String& Value) override { MemoText()->SetText(Value); }
  void WMSetFocus(TWMSetFocus& Message) override;
};

class TGridCalculatorDropDown : public TGridDropDownEditor<TAdvCalculatorDropdown> {
public:
  explicit TGridCalculatorDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridCalculatorDropDown"; }

protected:
  void BeforeEnter() override { CalcResult(); }
  // The plain edit's change handling: the calculator's own does not run.
  void Change() override;
  void WMSetFocus(TWMSetFocus& Message) override;
};

class TGridTimepickerDropDown : public TGridDropDownEditor<TAdvTimePickerDropDown> {
public:
  explicit TGridTimepickerDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridTimepickerDropDown"; }
};

class TGridDetailPickerDropDown : public TGridDropDownEditor<TAdvDetailDropDown> {
public:
  explicit TGridDetailPickerDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridDetailPickerDropDown"; }
};

class TGridGridDropDown : public TGridDropDownEditor<TAdvMultiColumnDropDown> {
public:
  explicit TGridGridDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridGridDropDown"; }
};

class TGridColorDropDown : public TGridDropDownEditor<TAdvColorPickerDropDown> {
public:
  explicit TGridColorDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridColorDropDown"; }

protected:
  bool HandlesKey(Word Key, bool DroppedDown) const override;
  bool WantsEnterEscape() const override { return true; }
  void Change() override;
};

class TGridImageDropDown : public TGridDropDownEditor<TAdvImagePickerDropDown> {
public:
  explicit TGridImageDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridImageDropDown"; }

protected:
  void Change() override;
};

// The grid drop-down editor lives in a unit above the grid: it registers how to make it, and
// the grid's AdvGridDropDown accessor asks once. Without a registration there is none.
// The editor the factory makes also provides this: what the grid sets on it when it opens.
class TGridDropDownGridSetup {
public:
  virtual ~TGridDropDownGridSetup() = default;
  // The drop-down's own grid.
  virtual DEreDuzeroVaro* DropDownGrid() const = 0;
  // Items filled in between join the typing completion at EndItemsUpdate.
  virtual void BeginItemsUpdate() = 0;
  virtual void EndItemsUpdate() = 0;
};
using TGridDropDownFactory = std::function<TAdvCustomDropDown*(DEreDuzeroVaro* Grid)>;
void RegisterAdvGridDropDownFactory(TGridDropDownFactory Factory);
TAdvCustomDropDown* MakeAdvGridDropDown(DEreDuzeroVaro* Grid);

// ---------------------------------------------------------------------------
class TGridCheckBox : public TCheckBox {
public:
  explicit TGridCheckBox(TComponent* AOwner);
  String ClassName() const override { return u"TGridCheckBox"; }
  void ReCreate() { RecreateWnd(); }

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMLButtonDown(TWMMouse& Message) override;
  void DoExit() override;
  void CMWantSpecialKey(TWMKey& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;

private:
  DEreDuzeroVaro* FGrid;
};

class TGridSpin : public TAsgSpinEdit {
public:
  explicit TGridSpin(TComponent* AOwner);
  String ClassName() const override { return u"TGridSpin"; }
  void ReCreate() { RecreateWnd(); }
  void UpClick(TObject* Sender) override;
  void DownClick(TObject* Sender) override;

protected:
  // The spin steps its value by Up, Down and the page keys in its key-down message: the grid's
  // keys are taken there first.
  void WMKeyDown(TWMKey& Message) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override { TCustomMaskEdit::KeyUp(Key, Shift); }
  void Change() override;
  void DoExit() override;
  void CMWantSpecialKey(TWMKey& Message) override;

private:
  // The value keys, then validation and the end of editing; false when the key is done with.
  bool GridKey(Word& Key, TShiftState Shift);
  // The grid's spin event of the spin type with the new value.
  void SpinClicked(bool Up);
  DEreDuzeroVaro* FGrid;
};

class TGridCombo : public DOruDozezOde, public TGridLookupState {
public:
  explicit TGridCombo(TComponent* AOwner);
  String ClassName() const override { return u"TGridCombo"; }
  // Lookup completion from the items, then the grid's LookupItems.
  void DoChange();
  // Widens the dropped list to its widest item on the grid's canvas.
  void SizeDropDownWidth();

  int32_t ItemIdx = -1;    // the item of the last lookup completion
  bool ItemChange = false;
  TNotifyEvent OnReturnKey;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Change() override;
  void DoExit() override;
  void CMWantSpecialKey(TWMKey& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  // The pop-up counts as open: a pick-only combo or a dropped list.
  bool ListMode() const { return Style() == csDropDownList || DroppedDown(); }
  void FireComboChange();
  void WheelStep(int Delta);
  DEreDuzeroVaro* FGrid;
};

class TGridEditBtn : public TAsgEditBtn, public TGridLookupState {
public:
  explicit TGridEditBtn(TComponent* AOwner);
  String ClassName() const override { return u"TGridEditBtn"; }
  void ReCreate() { RecreateWnd(); }
  bool StopEditAfterClick() const { return FStopEditAfterClick; }
  void SetStopEditAfterClick(bool Value) { FStopEditAfterClick = Value; }
  // Lookup completion from the grid's LookupItems (with an empty selection only).
  void DoChange();

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Change() override;
  void DoExit() override;
  void DblClick() override;
  void Dispatch(TMessage& Message) override;
  void CMWantSpecialKey(TWMKey& Message) override;

private:
  void ClickBtn(TObject* Sender);
  void Paste();
  int32_t FSelKeyDown = 0;
  int32_t FSelLenKeyDown = 0;
  bool FStopEditAfterClick = false;
  DEreDuzeroVaro* FGrid;
};

class TGridUnitEditBtn : public TAsgUnitEditBtn {
public:
  explicit TGridUnitEditBtn(TComponent* AOwner);
  String ClassName() const override { return u"TGridUnitEditBtn"; }
  void ReCreate() { RecreateWnd(); }

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Change() override;
  void DoExit() override;
  void CMWantSpecialKey(TWMKey& Message) override;

private:
  void ClickBtn(TObject* Sender);
  DEreDuzeroVaro* FGrid;
};

class TGridDatePicker : public TAsgDateTimePicker {
public:
  explicit TGridDatePicker(TComponent* AOwner);
  String ClassName() const override { return u"TGridDatePicker"; }
  void ReCreate() { RecreateWnd(); }
  bool Weeknumbers() const { return FWeekNumbers; }
  void SetWeeknumbers(bool Value) { FWeekNumbers = Value; }
  bool ShowToday() const { return FShowToday; }
  void SetShowToday(bool Value) { FShowToday = Value; }
  bool ShowTodayCircle() const { return FShowTodayCircle; }
  void SetShowTodayCircle(bool Value) { FShowTodayCircle = Value; }
  String Text() const { return GetText(); }

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Change() override;
  void DoExit() override;
  void CNNotify(TWMNotify& Message) override;
  void Dispatch(TMessage& Message) override;
  void CMWantSpecialKey(TWMKey& Message) override;
  // After a typed digit: the input moves on to the next part when the digit completed one.
  void DoShiftFocus() override;

private:
  void FrameBorder();
  uint16_t Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Fms = 0;
  bool FOldDropped = false;
  bool FWeekNumbers = false, FShowToday = true, FShowTodayCircle = true;
  DEreDuzeroVaro* FGrid;
};

class TGridDateTimePicker : public TAdvDateTimePicker {
public:
  explicit TGridDateTimePicker(TComponent* AOwner);
  String ClassName() const override { return u"TGridDateTimePicker"; }

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CMWantSpecialKey(TWMKey& Message) override;

private:
  DEreDuzeroVaro* FGrid;
};

class TGridButton : public TButton {
public:
  explicit TGridButton(TComponent* AOwner);
  String ClassName() const override { return u"TGridButton"; }
  void ReCreate() { RecreateWnd(); }
  String Text() const { return Caption(); }
  void SetText(const String& Value) { SetCaption(Value); }

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMWantSpecialKey(TWMKey& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;

private:
  // Hidden, disabled, editing ended, the grid focused.
  void CloseButton();
  void ClickText();
  DEreDuzeroVaro* FGrid;
};

// ---------------------------------------------------------------------------
// Editors of the form controls inside tagged cells.
class TControlEdit : public TMaskEdit {
public:
  explicit TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}
  String ClassName() const override { return u"TControlEdit"; }

protected:
  void KeyPress(Char& Key) override;
  void CMWantSpecialKey(TWMKey& Message) override;
};

class TControlCombo : public DOruDozezOde {
public:
  explicit TControlCombo(TComponent* AOwner) : DOruDozezOde(AOwner) {}
  String ClassName() const override { return u"TControlCombo"; }

protected:
  void KeyPress(Char& Key) override;
  void CMWantSpecialKey(TWMKey& Message) override;
};
