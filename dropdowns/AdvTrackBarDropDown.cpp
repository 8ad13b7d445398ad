// The track-bar drop-down.

#include "dropdowns/AdvTrackBarDropDown.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

TAdvTrackBarDropDown::TAdvTrackBarDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetEditType(etNumeric);  // the empty text becomes "0"
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  FForceShadow = true;
  // The base constructor made only the window; the track bar comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

void TAdvTrackBarDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr) return;
  if (FTrackBar == nullptr) {
    FTrackBar = new TTrackBar(this);
    FTrackBar->SetParent(DropDownForm());
    FTrackBar->SetBounds(0, 0, FTrackBar->Width(), 40);
    FFocusControl = FTrackBar;
  }
  FTrackBar->OnChange = [this](TObject* S) { TrackChanged(S); };
}

void TAdvTrackBarDropDown::SetMin(int Value) {
  FMin = Value;
  if (FTrackBar == nullptr) return;
  FTrackBar->SetMin(Value);
  FMin = FTrackBar->Min();
}

void TAdvTrackBarDropDown::SetMax(int Value) {
  FMax = Value;
  if (FTrackBar == nullptr) return;
  FTrackBar->SetMax(Value);
  FMax = FTrackBar->Max();
}

void TAdvTrackBarDropDown::SetFrequency(int Value) {
  FFrequency = Value;
  if (FTrackBar != nullptr) FTrackBar->SetFrequency(Value);
}

void TAdvTrackBarDropDown::SetPageSize(int Value) {
  FPageSize = Value;
  if (FTrackBar != nullptr) FTrackBar->SetPageSize(Value);
}

void TAdvTrackBarDropDown::SetPosition(int Value) {
  FPosition = Value;
  if (FTrackBar == nullptr) return;
  FTrackBar->SetPosition(Value);
  FPosition = FTrackBar->Position();
}

void TAdvTrackBarDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  // Clicking elsewhere keeps the value.
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeActivate(false);
  // Escape goes back to the value shown now: keys, dragging and Position write the text
  // directly, so the last SetText may be older.
  FOldText = Text();
  if (FTrackBar != nullptr) {
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
  }
  SetControl(FTrackBar);
  if (FTrackBar != nullptr) {
    // The edit's width: unaligned for the window's size to follow it (placing the track bar
    // then makes it fill the window).
    FTrackBar->SetAlign(alNone);
    FTrackBar->SetBounds(0, 0, Width(), 40);
  }
}

void TAdvTrackBarDropDown::TrackChanged(TObject*) {
  if (FTrackBar == nullptr) return;
  FPosition = FTrackBar->Position();
  // Written directly: Escape still goes back to the value from before the opening.
  SetTextDirect(IntToStr(FPosition));
  if (OnTrackChange) OnTrackChange(this);
}

void TAdvTrackBarDropDown::Change() {
  TAdvCustomDropDown::Change();
  // A text that is no integer (an editable edit cleared by the user) keeps the position.
  int32_t v = 0;
  if (TryStrToInt(Trim(Text()), v)) SetPosition(v);
}

void TAdvTrackBarDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  TAdvCustomDropDown::WMKeyDown(Message);
  // Up and Down step a pick-only edit while closed; the open track bar takes its arrows itself.
  if (FEditorEnabled || GetKeyState(VK_MENU) < 0 || FDroppedDown) return;
  if (key == VK_UP && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
  else if (key == VK_DOWN && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TAdvTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvCustomDropDown::MouseDown(Button, Shift, X, Y);
  if (!DropDownEnabled() || FEditorEnabled) return;
  FMouseX = X;
  FMouseDraging = true;
}

void TAdvTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y) {
  TAdvCustomDropDown::MouseMove(Shift, X, Y);
  if (!FMouseDraging || !DropDownEnabled() || FEditorEnabled) return;
  const int d = X - FMouseX;
  FMouseX = X;
  // Whole page sizes per move; a page size below 1 counts as 1.
  SetPosition(FPosition + d / std::max(1, FPageSize));
}

void TAdvTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvCustomDropDown::MouseUp(Button, Shift, X, Y);
  FMouseDraging = false;
}
