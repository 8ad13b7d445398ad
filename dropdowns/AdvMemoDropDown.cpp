// The memo drop-down.

#include "dropdowns/AdvMemoDropDown.h"

#include "dropdowns/AdvDropDownBars.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

TAdvMemoDropDown::TAdvMemoDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>()) {
  FMemoText->OnChange = [this](TObject* S) { MemoTextChanged(S); };
  // The base constructor made only the window; the memo comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvMemoDropDown::~TAdvMemoDropDown() { FMemoText->OnChange = nullptr; }

void TAdvMemoDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TAdvCustomDropDown::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMemoPopup) FMemoPopup = nullptr;
  if (AComponent == FMemo) FMemo = nullptr;
}

void TAdvMemoDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr) return;
  if (FMemo == nullptr) {
    FMemo = new TMemo(this);
    FMemo->SetParent(DropDownForm());
    FMemo->SetBounds(0, 0, FMemo->Width(), 100);
    FMemo->SetBorderStyle(bsNone);
    FMemo->OnChange = [this](TObject*) {
      if (OnMemoChange) OnMemoChange(this);
    };
    FFocusControl = FMemo;
  }
  SetControl(FMemo);
}

void TAdvMemoDropDown::SetMemoReadOnly(bool Value) {
  FMemoReadOnly = Value;
  if (FDroppedDown && FMemo != nullptr) FMemo->SetReadOnly(Value);
}

void TAdvMemoDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  // Clicking elsewhere keeps the edits.
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeActivate(false);
  if (FMemo == nullptr) return;
  FMemo->Lines()->SetText(FMemoText->Text());
  FMemo->SetPopupMenu(FMemoPopup);
  FMemo->SetMaxLength(MaxLength());
  FMemo->SetScrollBars(FMemoScrollBars);
  FMemo->SetReadOnly(FMemoReadOnly);
  // Unaligned for the window's size to follow the memo's on the first opening (it fills the
  // window once placed).
  if (FMemo->Align() == alClient) {
    FMemo->SetAlign(alNone);
    FMemo->SetBounds(0, 0, Width(), 100);
  }
}

void TAdvMemoDropDown::DoHideDropDown(bool Cancel) {
  // The focus coming back to the edit does not open the memo again.
  const bool autoDrop = FAutoDrop;
  TScopeGuard restore([this, autoDrop] { FAutoDrop = autoDrop; });
  FAutoDrop = false;
  if (Cancel && FMemo != nullptr) FMemo->Lines()->SetText(FMemoText->Text());
  {
    // The edit text the closing puts back is a summary of the lines, not a new value.
    const bool internal = FInternalUpdate;
    TScopeGuard reset([this, internal] { FInternalUpdate = internal; });
    FInternalUpdate = true;
    TAdvCustomDropDown::DoHideDropDown(Cancel);
  }
  if (Cancel) MemoTextChanged(nullptr);
}

void TAdvMemoDropDown::DropDownFormHidden() {
  TAdvCustomDropDown::DropDownFormHidden();
  if (FMemo != nullptr) FMemoText->SetText(FMemo->Text());
}

void TAdvMemoDropDown::DoEnter() {
  TAdvCustomDropDown::DoEnter();
  if (FAutoDrop) DoShowDropDown();
}

bool TAdvMemoDropDown::IsEditKey(Word Key, TShiftState Shift) {
  return Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4;
}

void TAdvMemoDropDown::DropDownControlKeyDown(Word& Key, TShiftState Shift) {
  if (IsEditKey(Key, Shift)) TAdvCustomDropDown::DropDownControlKeyDown(Key, Shift);
  if ((Key == 'A' || Key == 'a') && Shift.Contains(ssCtrl) && FMemo != nullptr) FMemo->SelectAll();
}

void TAdvMemoDropDown::DropDownControlKeyUp(Word& Key, TShiftState Shift) {
  if (IsEditKey(Key, Shift)) TAdvCustomDropDown::DropDownControlKeyUp(Key, Shift);
}

void TAdvMemoDropDown::DropDownControlKeyPress(Char& Key) {
  if (Key == 27 || GetKeyState(VK_MENU) < 0) TAdvCustomDropDown::DropDownControlKeyPress(Key);
}

void TAdvMemoDropDown::Change() {
  if (!FInternalUpdate) {
    // The edit's text replaces all lines without coming back to the edit.
    FMemoText->OnChange = nullptr;
    TScopeGuard reattach([this] { FMemoText->OnChange = [this](TObject* S) { MemoTextChanged(S); }; });
    FMemoText->SetText(Text());
  }
  TAdvCustomDropDown::Change();
}

void TAdvMemoDropDown::MemoTextChanged(TObject*) {
  String s = FMemoText->Count() > 0 ? FMemoText->Strings(0) : String();
  if (FMemoText->Count() > 0) {
    TWindowDCCanvas c(HandleAllocated() ? Handle() : nullptr);
    c.Font()->Assign(Font());
    const int w = GetTextSize(&c, s).cx;
    const int room = FEditRect.Width();
    if (w < room) {
      if (FMemoText->Count() > 1) s += u"...";
    } else {
      s = TruncateText(&c, s, room, true);
    }
  }
  const bool internal = FInternalUpdate;
  TScopeGuard reset([this, internal] { FInternalUpdate = internal; });
  FInternalUpdate = true;
  SetTextDirect(s);
}
