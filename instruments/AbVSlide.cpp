// The vertical slider.
#include "instruments/AbVSlide.h"

#include <algorithm>

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

TAbVSlider::TAbVSlider(TComponent* AOwner)
    : TAbAnalogCControl(AOwner),
      FBevelOuter(std::make_unique<TAbSBevel>()),
      FBevelValue(std::make_unique<TAbSBevel>()),
      FFontValue(std::make_unique<TFont>()),
      FScaleSettings(std::make_unique<TScaleSettings>()),
      BmpSliderArea(std::make_unique<TBitmap>(1, 1)) {
  FBevelOuter->SetSpacing(5);
  FBevelOuter->SetBevelLine(blOuter);
  FBevelOuter->SetWidth(2);
  FBevelValue->SetStyle(bsLowered);
  FBevelValue->SetWidth(2);
  FBevelValue->SetColor(clBlack);
  FBevelValue->SetSpacing(0);
  FFontValue->SetName(u"System");
  FFontValue->SetSize(10);
  FFontValue->SetColor(clLime);
  FScaleSettings->SetDrawLine(false);
  FScaleSettings->SetSubSteps(5);
  FScaleSettings->Font()->SetSize(8);
  SetBounds(Left(), Top(), 105, 289);
  FEnableMouseJump = true;
  MaxPosDeviation = 5;
  SetValue(10.0f);
  // Built in code: finish the set-up a form description would end with.
  Loaded();
}

TAbVSlider::~TAbVSlider() { Destroying(); }

void TAbVSlider::Loaded() {
  TAbAnalogCControl::Loaded();
  FFontValue->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FScaleSettings->Change();
  FScaleSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FBevelOuter->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FBevelValue->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FBevelOuter->Change();
  FBevelValue->Change();
  EndUpdate();
}

void TAbVSlider::SetButtonSize(int32_t v) {
  if (v == FButtonSize) return;
  FButtonSize = std::max(std::min(v, Width()), 18);
  SettingsChanged();
}

void TAbVSlider::SetColorTrench(TColor v) {
  FColorTrench = v;
  SettingsChanged();
}

void TAbVSlider::SetOptions(const TVSliderOptions& v) {
  FOptions = v;
  SettingsChanged();
}

void TAbVSlider::ParamChange(TObject* Sender) {
  TAbAnalogCControl::ParamChange(Sender);
  Invalidate();
}

void TAbVSlider::Paint() {
  TSignalSettings& sig = *FSignalSettings;
  TRect R(0, 0, Width(), Height());
  TBitmap B(Width(), Height());
  TCanvas* c = B.Canvas();
  if (FOptions.Contains(opBevelOuter)) {
    FBevelOuter->PaintFilledBevel(c, R);
  } else {
    c->Brush()->SetColor(FBevelOuter->Color());
    c->Pen()->SetColor(FBevelOuter->Color());
    c->FillRect(R);
  }
  FScaleSettings->CalcHSize(c, sig.ValueFrom(), sig.ValueTo());
  c->Font()->Assign(FFontValue.get());
  // The box holds the widest value text: the format's own picture may be narrower than
  // what it gives at the ends of the range ("##0" for -140), which would cut off the sign.
  sValue = c->TextExtent(sig.ValueSizeStr);
  for (float end : {sig.ValueFrom(), sig.ValueTo()}) {
    TSize e = c->TextExtent(FormatFloat(sig.ValueFormat(), end));
    sValue = TSize(std::max(sValue.cx, e.cx), std::max(sValue.cy, e.cy));
  }
  sUnit = c->TextExtent(sig.ValueUnit());
  rValue = TRect();
  if (FOptions.Contains(opValue)) {
    int tw = FBevelValue->TotalWidth;
    int H = 2 * tw + sValue.cy;
    int Q = sValue.cy / 3;
    int U = FOptions.Contains(opUnit) ? sUnit.cx : 0;
    int L = (R.Width() - sValue.cx - U - Q) / 2 + R.Left - Q;
    rValue = TRect(L, R.Top, L + sValue.cx + 2 * tw + 2 * Q, R.Top + H);
    FBevelValue->PaintFilledBevel(c, rValue);
    if (FOptions.Contains(opUnit)) {
      c->Font()->Assign(FFontValue.get());
      c->Font()->SetColor(Font()->Color());
      c->Brush()->SetStyle(bsClear);
      c->TextOut(rValue.Right + Q, rValue.Top, sig.ValueUnit());
    }
    rValue.Left += Q;
    rValue.Right -= Q;
    R.Top += H + FBevelOuter->Spacing();
  }
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  bool names = false;
  if (FOptions.Contains(opName2)) {
    TextOutAnchored(c, Width() / 2, R.Bottom, 7, sig.Name2());
    R.Bottom -= c->TextHeight(u"X");
    names = true;
  }
  if (FOptions.Contains(opName1)) {
    TextOutAnchored(c, Width() / 2, R.Bottom, 7, sig.Name1());
    R.Bottom -= c->TextHeight(u"X");
    names = true;
  }
  if (names) R.Bottom -= FBevelOuter->Spacing();
  isToSmall = R.Width() < 2 || R.Height() < 2;
  if (isToSmall) {
    Canvas()->Draw(0, 0, &B);
    return;
  }
  if (FOptions.Contains(opScaleText)) {
    FScaleSettings->CalcSize(c, sig.ValueFrom(), sig.ValueTo());
  } else {
    FScaleSettings->Text.clear();
    FScaleSettings->TextW = FScaleSettings->TextH = 0;
    FScaleSettings->Spacing = 0;
    FScaleSettings->TotalWidth = FScaleSettings->sl1;
  }
  FScaleSettings->PenW1 = 2;
  int T = FScaleSettings->TextH / 3;
  FButtonSize = std::max(std::min(FButtonSize, Width()), 18);
  if (BtnDir) {
    BtnHeight = static_cast<int>(Round(FButtonSize * 0.4));
    BtnWidth = FButtonSize;
  } else {
    BtnWidth = static_cast<int>(Round(FButtonSize * 0.4));
    BtnHeight = FButtonSize;
  }
  T = std::max(T, BtnHeight / 2);
  R.Top += T;
  R.Bottom -= T;
  int moveLeft = R.Left + R.Width() / 2 - FButtonSize / 2;
  rMove = TRect(moveLeft, R.Top - BtnHeight / 2, moveLeft + FButtonSize + 1, R.Bottom + BtnHeight / 2);
  SlideRect = rMove;
  int tw = FScaleSettings->TotalWidth;
  int Q = (R.Width() - 2 * tw - 4) / 2;
  rScale = TRect(R.Left, R.Top + 1, R.Left + Q + tw - 5, R.Bottom - 1);
  FScaleSettings->SetPosLeftTop(true);
  FScaleSettings->VertiScala(c, rScale);
  rSlide = TRect(R.Left + Q + tw, R.Top, R.Left + Q + tw + 5, R.Bottom);
  rScale = TRect(R.Left + Q + tw + 9, R.Top + 1, R.Right, R.Bottom - 1);
  FScaleSettings->SetPosLeftTop(false);
  FScaleSettings->VertiScala(c, rScale);
  DrawFrame3D(c, rSlide, clBtnShadow, clBtnHighlight, 1);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColorTrench);
  c->Pen()->SetColor(FColorTrench);
  c->FillRect(rSlide);
  BmpSliderArea->SetSize(std::max(rMove.Width(), 1), std::max(rMove.Height(), 1));
  BmpSliderArea->Canvas()->CopyRect(TRect(0, 0, rMove.Width(), rMove.Height()), c, rMove);
  BmpValid = true;
  Canvas()->Draw(0, 0, &B);
  InPaint = true;
  {
    TScopeGuard restore([&] { InPaint = false; });
    RefreshValue();
  }
}

void TAbVSlider::RefreshValue() {
  TAbAnalogCControl::RefreshValue();
  if (isToSmall || !Visible() || !BmpValid) return;
  if (InPaint) DrawKnobAndValue(Canvas());
  else DrawOnControl(this, [&](TCanvas* c) { DrawKnobAndValue(c); });
}

void TAbVSlider::DrawKnobAndValue(TCanvas* target) {
  const TSignalSettings& sig = *FSignalSettings;
  TBitmap K;
  K.Assign(BmpSliderArea.get());
  // No span or no trench height: the knob stays at the bottom.
  int span = sig.TotalDigit, h = rSlide.Height();
  double perDigit = span != 0 && h > 0 ? static_cast<double>(h) / span : 0;
  pCenter = TPoint(K.Width() / 2, static_cast<int>(Round((K.Height() - (BtnHeight / 2 + 1)) -
                                                         perDigit * (FDigit - sig.DigitalFrom()))));
  if (!FEnableMouseJump) {
    int band = static_cast<int>(Round(FButtonSize * 0.2));
    SlideRect = TRect(rMove.Left, rMove.Top + pCenter.Y - band, rMove.Right, rMove.Top + pCenter.Y + band);
  } else {
    SlideRect = rMove;
  }
  TColor knob = !Enabled() ? clBtnShadow : (Focused() ? FColorFocus : FColorNonFocus);
  DrawKnob(K.Canvas(), pCenter, FButtonSize, knob, BtnDir);
  target->Draw(rMove.Left, rMove.Top, &K);
  if (FOptions.Contains(opValue) && rValue.Width() > 0 && rValue.Height() > 0) {
    TBitmap V(rValue.Width(), rValue.Height());
    TCanvas* vc = V.Canvas();
    vc->Font()->Assign(FFontValue.get());
    vc->Brush()->SetColor(FBevelValue->Color());
    vc->Pen()->SetColor(FBevelValue->Color());
    vc->FillRect(TRect(0, 0, V.Width(), V.Height()));
    vc->Brush()->SetStyle(bsClear);
    vc->TextOut(V.Width() - vc->TextWidth(FValueStr), 0, FValueStr);
    target->Draw(rValue.Left, rValue.Top, &V);
  }
}

void TAbVSlider::DoSlide(TShiftState Shift, int X, int Y, TPoint OldPos) {
  TAbAnalogCControl::DoSlide(Shift, X, Y, OldPos);
  const TSignalSettings& sig = *FSignalSettings;
  int y = std::max(std::min(Y, rSlide.Bottom), rSlide.Top);
  int D = rSlide.Bottom - y;
  Update();
  // A trench without height has no position to map: the value stays.
  int h = rSlide.Height();
  if (h <= 0) return;
  int digit = static_cast<int>(Round(static_cast<double>(sig.TotalDigit) / h * D));
  SetDigit(digit + sig.DigitalFrom());
}
