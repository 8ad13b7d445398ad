// The auto-repeat speed button, the spin button and the numeric spinner.
#include <algorithm>

#include "instruments/AbNumEdit.h"
#include "instruments/_AbProc.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

// ---- built-in glyphs

std::unique_ptr<TBitmap> MakeSpinGlyph(bool Up) {
  auto b = std::make_unique<TBitmap>(18, 6);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clOlive);
  c->FillRect(TRect(0, 0, 18, 6));
  // Rows 0..3 hold the arrow, 7, 5, 3, 1 pixels wide from base to tip, centred on x = 4.
  for (int row = 0; row < 4; ++row) {
    int half = Up ? row : 3 - row;  // half width of this row
    for (int dx = -half; dx <= half; ++dx) {
      c->SetPixels(4 + dx, row, clBlack);
      bool edge = dx == -half || dx == half || row == (Up ? 3 : 0);
      if (edge) c->SetPixels(9 + 4 + dx, row, clGray);
    }
  }
  return b;
}

// ---- TAbTimerSpeedBtn

TAbTimerSpeedBtn::TAbTimerSpeedBtn(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAbTimerSpeedBtn::~TAbTimerSpeedBtn() {
  Destroying();
  UnregisterFlashClient(this);
}

void TAbTimerSpeedBtn::SetInterval(int32_t Value) {
  if (Value >= 50) FInterval = Value;
}

void TAbTimerSpeedBtn::CancelPress() {
  UnregisterFlashClient(this);
  if (FDragging) {
    FDragging = false;
    FState = Enabled() ? bsUp : bsDisabled;
    Invalidate();
  }
}

void TAbTimerSpeedBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  // Only a left press repeats.
  if (Button == mbLeft && Enabled() && FTimerEnabled) {
    StartTime = GetTickCount64() + FStartDelay;
    RegisterFlashClient(this, FInterval);
  }
}

void TAbTimerSpeedBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The release click over the button stays the final step.
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) UnregisterFlashClient(this);
}

void TAbTimerSpeedBtn::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_FLASHTICK) {
    if (GetTickCount64() >= StartTime) Click();
    return;
  }
  TSpeedButton::Dispatch(Message);
}

// ---- TAbSpinButton

TAbSpinButton::TAbSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  TControlStyle st = ControlStyle();
  st.Exclude(csAcceptsControls);
  st.Exclude(csSetCaption);
  st.Include(csFramed);
  st.Include(csOpaque);
  SetControlStyle(st);
  auto make = [&]() {
    auto* b = new TAbTimerSpeedBtn(this);
    b->SetParent(this);
    b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
      BtnMouseDown(Sender, Button, Shift, X, Y);
    };
    return b;
  };
  FUpButton = make();
  FDownButton = make();
  SetUpGlyph(nullptr);
  SetDownGlyph(nullptr);
  SetBounds(0, 0, 15, 24);
  FFocusedButton = FUpButton;
}

TAbSpinButton::~TAbSpinButton() = default;

void TAbSpinButton::SetFocusControl(TWinControl* Value) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TAbSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAbSpinButton::SetUpGlyph(TBitmap* Value) {
  if (!Value || Value->Empty()) {
    FUpButton->SetGlyph(MakeSpinGlyph(true).get());
    FUpButton->SetNumGlyphs(2);
  } else {
    FUpButton->SetGlyph(Value);
  }
}

void TAbSpinButton::SetDownGlyph(TBitmap* Value) {
  if (!Value || Value->Empty()) {
    FDownButton->SetGlyph(MakeSpinGlyph(false).get());
    FDownButton->SetNumGlyphs(2);
  } else {
    FDownButton->SetGlyph(Value);
  }
}

void TAbSpinButton::SetInterval(int32_t v) {
  FUpButton->SetInterval(v);
  FDownButton->SetInterval(v);
}

void TAbSpinButton::SetStartDelay(uint32_t v) {
  FUpButton->SetStartDelay(v);
  FDownButton->SetStartDelay(v);
}

void TAbSpinButton::SetEnabled(bool v) {
  TWinControl::SetEnabled(v);
  FUpButton->SetEnabled(v);
  FDownButton->SetEnabled(v);
}

int TAbSpinButton::LayoutButtons(int W, int H) {
  W = std::max(W, 15);
  if (!FUpButton || !FDownButton || IsLoading()) return W;
  FUpButton->SetBounds(0, 0, W, H / 2);
  FDownButton->SetBounds(0, FUpButton->Height(), W, H - FUpButton->Height());
  return W;
}

void TAbSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = LayoutButtons(AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAbSpinButton::Loaded() {
  TWinControl::Loaded();
  int w = LayoutButtons(Width(), Height());
  if (w != Width()) TWinControl::SetBounds(Left(), Top(), w, Height());
}

void TAbSpinButton::KeyDown(Word& Key, TShiftState) {
  if (Key == VK_UP) FUpButton->Click();
  else if (Key == VK_DOWN) FDownButton->Click();
}

void TAbSpinButton::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS); }

void TAbSpinButton::BtnMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused()) {
    FFocusControl->SetFocus();
    return;
  }
  if (TabStop() && !Focused() && CanFocus()) SetFocus();
}

void TAbSpinButton::BtnClick(TObject* Sender) {
  if (Sender == FUpButton) {
    if (OnUpClick) OnUpClick(this);
  } else if (OnDownClick) {
    OnDownClick(this);
  }
}

// ---- TAbNumSpin

TAbNumSpin::TAbNumSpin(TComponent* AOwner) : TAbNumEdit(AOwner) {
  FButton = new TAbSpinButton(this);
  FButton->SetBounds(Width() - 11, 0, 16, Height() - 4);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  TControlStyle st = ControlStyle();
  st.Exclude(csSetCaption);
  SetControlStyle(st);
  FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
  FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
  LayoutButton();
  FollowLimits();
}

TAbNumSpin::~TAbNumSpin() {
  Destroying();
  delete FButton;
  FButton = nullptr;
}

void TAbNumSpin::FollowLimits() {
  if (!FButton) return;
  bool on = FButton->Enabled() && FState == esNormal;
  FButton->UpButton()->SetEnabled(on && !FLimitUp);
  FButton->DownButton()->SetEnabled(on && !FLimitLo);
}

void TAbNumSpin::SetEnabled(bool v) {
  TAbNumEdit::SetEnabled(v);
  if (!FButton) return;
  FButton->SetEnabled(v);
  FButton->UpButton()->SetEnabled(FButton->Enabled() && !FLimitUp);
  FButton->DownButton()->SetEnabled(FButton->Enabled() && !FLimitLo);
}

void TAbNumSpin::DoLimit() {
  if (FButton) {
    FButton->UpButton()->SetEnabled(!FLimitUp);
    FButton->DownButton()->SetEnabled(!FLimitLo);
  }
  TAbNumEdit::DoLimit();
}

void TAbNumSpin::SetEditState(TNumEditState State) {
  if (!FButton || State == FState) return;
  TAbNumEdit::SetEditState(State);
  if (State == esNormal) {
    FollowLimits();
  } else {
    FButton->UpButton()->SetEnabled(false);
    FButton->DownButton()->SetEnabled(false);
  }
}

void TAbNumSpin::DoExit() {
  TAbNumEdit::DoExit();
  // A held arrow stops repeating when the focus leaves.
  if (FButton) {
    FButton->UpButton()->CancelPress();
    FButton->DownButton()->CancelPress();
    FButton->Invalidate();
  }
}

void TAbNumSpin::CreateWnd() {
  TAbNumEdit::CreateWnd();
  LayoutButton();
}

int TAbNumSpin::GetMinHeight() {
  TBitmap b(1, 1);
  TCanvas* c = b.Canvas();
  TFont sys;
  c->Font()->Assign(&sys);
  int sysHeight = c->TextHeight(u"X");
  c->Font()->Assign(Font());
  int fontHeight = c->TextHeight(u"X");
  const int border = 1;
  return fontHeight + std::min(sysHeight, fontHeight) / 4 + 4 * border + 2;
}

void TAbNumSpin::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FButton) AHeight = std::max(AHeight, GetMinHeight());
  TAbNumEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutButton();
}

void TAbNumSpin::LayoutButton() {
  if (!FButton) return;
  int bw = FButton->Width();
  FButton->SetBounds(Width() - bw - 4, 0, bw - 1, Height() - 4);
  SetEditRect();
}

void TAbNumSpin::SetEditRect() {
  if (!FButton || !HandleAllocated()) return;
  RECT r = Rect(0, 0, ClientWidth() - FButton->Width() - 2, ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}
