// Bases of the instrument controls and the two-state control.
#include "instruments/_GClass.h"

#include "platform/rtl/ScopeGuard.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

bool DrawOnControl(TControl* Control, const std::function<void(TCanvas*)>& Draw) {
  auto* win = dynamic_cast<TWinControl*>(Control);
  TWinControl* host = win ? win : Control->Parent();
  if (!host || !host->HandleAllocated() || !Control->Visible()) return false;
  HWND wnd = host->Handle();
  HDC dc = GetDC(wnd);
  if (!dc) return false;
  int saved = SaveDC(dc);
  TScopeGuard release([&] {
    RestoreDC(dc, saved);
    ReleaseDC(wnd, dc);
  });
  int dx = win ? 0 : Control->Left(), dy = win ? 0 : Control->Top();
  SetViewportOrgEx(dc, dx, dy, nullptr);
  IntersectClipRect(dc, 0, 0, Control->Width(), Control->Height());
  TCanvas canvas;
  canvas.SetHandle(dc);
  TScopeGuard detach([&] { canvas.SetHandle(nullptr); });
  if (Control->Font()) canvas.Font()->Assign(Control->Font());
  Draw(&canvas);
  return true;
}

// ---- TAbGraphicControl

TAbGraphicControl::TAbGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TAbGraphicControl::EndUpdate() {
  if (--FUpdateCount < 0) FUpdateCount = 0;
  if (FUpdateCount == 0) SettingsChanged();
}

void TAbGraphicControl::Invalidate() {
  CompInvalidate = true;
  TGraphicControl::Invalidate();
}

void TAbGraphicControl::SettingsChanged() {
  if (FUpdateCount == 0) ParamChange(this);
}

// ---- TAbCustomControl

TAbCustomControl::TAbCustomControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TAbCustomControl::EndUpdate() {
  if (--FUpdateCount < 0) FUpdateCount = 0;
  if (FUpdateCount == 0) Invalidate();
}

void TAbCustomControl::SettingsChanged() {
  if (FUpdateCount == 0) ParamChange(this);
}

// ---- TAbBinGControl

namespace {
bool GroupUpdating = false;

int32_t LowestSetBit(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  if (u == 0) return 32;
  int32_t n = 0;
  while (!(u & 1u)) {
    u >>= 1;
    ++n;
  }
  return n;
}

int32_t BitMask(int32_t bit) { return static_cast<int32_t>(uint32_t(1) << bit); }
}  // namespace

TAbBinGControl::TAbBinGControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

TAbBinGControl::~TAbBinGControl() { UnregisterFlashClient(this); }

void TAbBinGControl::StartFlash() { RegisterFlashClient(this, static_cast<int64_t>(FFrequency) + 2); }

void TAbBinGControl::StopFlash() { UnregisterFlashClient(this); }

void TAbBinGControl::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  if (Value && FFlashing) StartFlash();
  else StopFlash();
  int32_t mask = BitMask(FStatusBit);
  if (Value) SetStatusInt(FMode == mRadioButton ? mask : (FStatusInt | mask));
  else if (FMode != mRadioButton) SetStatusInt(FStatusInt & ~mask);
  StatusChanged();
  if (OnStatusChanged) OnStatusChanged(this);
}

void TAbBinGControl::SetStatusInt(int32_t Value) {
  if (Value == FStatusInt) return;
  FStatusInt = Value;
  SetChecked((FStatusInt & BitMask(FStatusBit)) != 0);
  FFirstCheckedBit = LowestSetBit(FStatusInt);
  StatusIntChanged();
  if (OnStatusIntChanged) OnStatusIntChanged(this);
  if (FGroupIndex == 0 || GroupUpdating) return;
  TComponent* owner = Owner();
  if (!owner) return;
  GroupUpdating = true;
  {
    TScopeGuard restore([&] { GroupUpdating = false; });
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      auto* c = dynamic_cast<TAbBinGControl*>(owner->Components(i));
      if (c && c->FGroupIndex == FGroupIndex) c->SetStatusInt(FStatusInt);
    }
  }
}

void TAbBinGControl::SetStatusBit(int32_t Value) {
  if (Value == FStatusBit || Value < 0 || Value > 31) return;
  FStatusBit = Value;
  SetChecked((FStatusInt & BitMask(Value)) != 0);
}

void TAbBinGControl::SetMode(TMode Value) {
  FMode = Value;
  if (FMode == mButton) SetStatusInt(0);
  if (FMode == mRadioButton) SetStatusInt(1);
}

void TAbBinGControl::SyncGroupStatus() {
  TComponent* owner = Owner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TAbBinGControl*>(owner->Components(i));
    if (c && c->FGroupIndex == FGroupIndex) {
      SetStatusInt(c->FStatusInt);
      return;
    }
  }
}

void TAbBinGControl::SetGroupIndex(int32_t Value) {
  if (Value == FGroupIndex || Value < 0) return;
  FGroupIndex = Value;
  if (Value != 0) SyncGroupStatus();
  GroupIndexChanged();
}

void TAbBinGControl::SetFlashing(bool Value) {
  if (Value == FFlashing) return;
  FFlashing = Value;
  if (FChecked && Value) StartFlash();
  else StopFlash();
  StatusChanged();
  if (OnStatusChanged) OnStatusChanged(this);
}

void TAbBinGControl::SetFrequency(TFlashFreq Value) {
  FFrequency = Value;
  if (FChecked && FFlashing) StartFlash();
}

void TAbBinGControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_FLASHTICK) {
    Flash(Message.LParam != 0);
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TAbBinGControl::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  ParamChange(this);
}

void TAbBinGControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    MouseIsDown = true;
    switch (FMode) {
      case mButton: SetChecked(true); break;
      case mSwitch: SetChecked(!FChecked); break;
      case mRadioButton: SetStatusInt(BitMask(FStatusBit)); break;
      case mIndicator: break;
    }
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TAbBinGControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FMode == mIndicator) return;
  MouseIsDown = false;
  if (FMode == mButton) SetChecked(false);
  StatusChanged();
}
