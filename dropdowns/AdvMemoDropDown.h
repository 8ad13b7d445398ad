#pragma once
// A drop-down that keeps a list of lines (MemoText) and edits them in a memo in its pop-up.
// The edit shows the first line, with "..." when more lines follow or when it is too wide;
// typing into the edit replaces all lines with the edit's text. Enter and other keys stay in
// the open memo; Escape closes it discarding the changes, F4 and Alt+Up/Down keep them.

#include <memory>

#include "dropdowns/AdvDropDown.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

class TAdvMemoDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvMemoDropDown(TComponent* AOwner);
  ~TAdvMemoDropDown() override;
  String ClassName() const override { return u"TAdvMemoDropDown"; }

  // Focusing the edit opens the memo.
  bool AutoDrop() const { return FAutoDrop; }
  void SetAutoDrop(bool v) { FAutoDrop = v; }
  // The value: every line; the edit's summary follows each change.
  TStrings* MemoText() const { return FMemoText.get(); }
  void SetMemoText(TStrings* Value) { FMemoText->Assign(Value); }
  // Applied at the next opening.
  TPopupMenu* MemoPopup() const { return FMemoPopup; }
  void SetMemoPopup(TPopupMenu* v) { FMemoPopup = v; }
  TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
  void SetMemoScrollBars(TScrollStyle v) { FMemoScrollBars = v; }
  bool MemoReadOnly() const { return FMemoReadOnly; }
  // The open memo follows at once.
  void SetMemoReadOnly(bool Value);
  TMemo* Memo() const { return FMemo; }

  // Every change of the memo while it is open.
  TNotifyEvent OnMemoChange;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownFormHidden() override;
  void DoEnter() override;
  void DropDownControlKeyDown(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyUp(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyPress(Char& Key) override;
  // A change the user made replaces all lines with the edit's text.
  void Change() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // The edit shows the first line of MemoText, shortened to fit, "..." marking more lines.
  void MemoTextChanged(TObject* Sender);
  // Alt held, or Escape or F4: the key is the edit's.
  static bool IsEditKey(Word Key, TShiftState Shift);
  TPopupMenu* FMemoPopup = nullptr;
  std::unique_ptr<TStringList> FMemoText;
  TMemo* FMemo = nullptr;
  TScrollStyle FMemoScrollBars = ssNone;
  bool FMemoReadOnly = false;
  bool FInternalUpdate = false;
  bool FAutoDrop = false;
};
