// The clock's twelve look presets and its colours for the sixteen looks of the style interface.

#include <algorithm>

#include "dropdowns/AdvWatch.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A size stored in a byte property: larger values stop at 255.
uint8_t ByteSize(int64_t Value) { return static_cast<uint8_t>(std::clamp<int64_t>(Value, 0, 255)); }

void SetPresetFont(TFont* Font, const char16_t* Name, int Size, bool Bold, TColor Color) {
  if (Name != nullptr) Font->SetName(Name);
  if (Size > 0) Font->SetSize(Size);
  Font->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
  if (Color != clNone) Font->SetColor(Color);
}

}  // namespace

void TAdvWatch::SetStyle(TWatchStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  TWatchAppearance defaults;
  FAppearance->Assign(&defaults);
  TWatchAppearance* a = FAppearance.get();
  TFont* ampm = a->AMPMFont();
  TFont* hour = a->HourFont();
  const int m = std::min(Width(), Height());
  switch (Value) {
    case wsClassic:
      SetPresetFont(ampm, u"MS Sans Serif", 0, false, clNone);
      SetPresetFont(hour, u"Comic Sans MS", 10, true, clNone);
      a->SetHourMarkLength(8);
      a->SetHourPointer(clBlack);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetMinuteMarkLength(4);
      SetAnimation(true);
      SetAnimationFactor(10);
      SetShowAMPM(true);
      SetShowNumbers(true);
      break;
    case wsTower:
      SetPresetFont(ampm, u"MS Sans Serif", 0, false, clNone);
      a->SetAMPMFrame(apRect);
      a->SetBorderWidth(1);
      a->SetBackgroundColor(0x00B1F0FE);
      a->SetBackgroundColorTo(0x005BCCE8);
      a->SetBackgroundGradient(wgDiagonalForward);
      a->SetCenterPointColor(0x00002BD5);
      a->SetCenterPointSize(6);
      SetPresetFont(hour, u"Century", 0, true, clWindowText);
      a->SetHourPointer(clBlack);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetSecondPointer(0x00002BD5);
      a->SetShape(wsRect);
      a->SetPointerStyle(psPointer);
      a->SetAMPMColor(a->BackgroundColor());
      SetShowNumbers(false);
      a->SetTickMarks(tmHours);
      break;
    case wsFluorescent:
      SetPresetFont(ampm, u"MS Sans Serif", 10, false, clWindowText);
      a->SetAMPMFrame(apRoundRect);
      a->SetBorderColor(0x00FF3E3E);
      a->SetBackgroundColor(clBlack);
      a->SetBackgroundColorTo(clBlack);
      a->SetCenterPointColor(0x00FF3E3E);
      a->SetCenterPointBorderColor(clBlack);
      a->SetCenterPointOuterBorderColor(clBlack);
      a->SetCenterPointSize(20);
      SetPresetFont(hour, u"MS Sans Serif", 8, false, clWindowText);
      a->SetHourColor(0x00FF3E3E);
      a->SetHourMarkLength(10);
      a->SetHourMarkWidth(2);
      a->SetHourMarkStyle(hmsQuartDblLine);
      a->SetHourPointer(0x00FF3E3E);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetHourPointerSize(2);
      a->SetMinuteColor(0x00FF3E3E);
      a->SetMinutePointer(0x00FF3E3E);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetMinutePointerSize(2);
      a->SetShape(wsRoundRect);
      a->SetTickMarks(tmHours);
      SetShowAMPM(false);
      SetShowNumbers(false);
      break;
    case wsEmerald:
      SetPresetFont(ampm, u"MS Sans Serif", 0, false, 0x00A00000);
      a->SetAMPMFrame(apRoundRect);
      a->SetBorderColor(0x003AE800);
      a->SetBackgroundColor(0x003AE800);
      a->SetBackgroundColorTo(clBlack);
      a->SetBackgroundGradient(wgDiagonalForward);
      a->SetCenterPointBorderColor(0x0040FF00);
      a->SetCenterPointColor(0x0038E100);
      a->SetCenterPointSize(16);
      a->SetCenterPointOuterBorderColor(clBlack);
      SetPresetFont(hour, u"MS Sans Serif", 0, false, a->BackgroundColor());
      a->SetHourColor(a->BackgroundColor());
      a->SetHourMarkStyle(hmsQuartDblLine);
      a->SetHourPointer(0x0040FF00);
      a->SetMinutePointer(0x0040FF00);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetSecondPointer(0x0000FFFF);
      a->SetShape(wsRect);
      a->SetPointerStyle(psPointer);
      a->SetAMPMColor(clNone);
      a->SetTickMarks(tmHours);
      SetShowNumbers(false);
      SetShowAMPM(false);
      break;
    case wsBlueStar:
      SetPresetFont(ampm, u"MS Sans Serif", 10, false, 0x00A00000);
      a->SetAMPMBorderColor(clNone);
      a->SetAMPMColor(clNone);
      a->SetAMPMFrame(apRoundRect);
      a->SetBorderColor(0x00FFD5D5);
      a->SetBackgroundColor(0x00FFD5D5);
      a->SetBackgroundColorTo(0x00A00000);
      a->SetBackgroundGradient(wgRadial);
      SetPresetFont(hour, u"MS Sans Serif", 8, false, a->BackgroundColor());
      a->SetHourPointer(0x00A00000);
      a->SetMinutePointer(0x00A00000);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetShape(wsRoundRect);
      a->SetPointerStyle(psPointer);
      SetShowAMPM(true);
      SetShowNumbers(true);
      break;
    case wsFuchsia:
      SetPresetFont(ampm, u"MS Sans Serif", 10, false, clWindowText);
      a->SetAMPMFrame(apRoundRect);
      a->SetBorderColor(0x00FFD0FF);
      a->SetBackgroundColor(clBlack);
      a->SetBackgroundColorTo(clBlack);
      a->SetCenterPointBorderColor(0x00DD68DD);
      a->SetCenterPointSize(20);
      a->SetCenterPointOuterBorderColor(clBlack);
      SetPresetFont(hour, u"MS Sans Serif", 8, false, clWindowText);
      a->SetHourColor(0x00FFD0FF);
      a->SetHourPointer(0x00FFD0FF);
      a->SetMinuteColor(0x00FFD0FF);
      a->SetMinutePointer(0x00FFD0FF);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetHourMarkLength(10);
      a->SetHourMarkWidth(2);
      a->SetHourMarkStyle(hmsQuartDblLine);
      a->SetHourPointerSize(2);
      a->SetMinutePointerSize(2);
      a->SetShape(wsRect);
      a->SetSecondPointer(0x00DD68DD);
      a->SetTickMarks(tmQuartHours);
      SetShowAMPM(false);
      SetShowNumbers(false);
      break;
    case wsBlack:
      SetPresetFont(ampm, u"MS Sans Serif", 0, false, clNone);
      a->SetBackgroundColor(0x00202020);
      a->SetBackgroundColorTo(clNone);
      a->SetBorderColor(clBlack);
      a->SetCenterPointBorderColor(clWhite);
      a->SetCenterPointOuterBorderColor(clWhite);
      a->SetCenterPointColor(clWhite);
      a->SetHourColor(0x00585858);
      a->SetMinuteColor(0x00585858);
      SetPresetFont(hour, u"Century Gothic", 11, false, clWhite);
      a->SetHourPointer(clWhite);
      a->SetMinutePointer(clWhite);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetMinuteMarkLength(4);
      SetShowAMPM(false);
      SetShowNumbers(true);
      break;
    case wsBlackWhite:
      a->SetBackgroundColor(clWhite);
      a->SetBackgroundColorTo(clNone);
      a->SetBorderColor(clBlack);
      a->SetBorderWidth(8);
      a->SetCenterPointBorderColor(clBlack);
      a->SetCenterPointOuterBorderColor(clBlack);
      a->SetCenterPointColor(clBlack);
      a->SetCenterPointSize(8);
      a->SetHourColor(0x00585858);
      SetPresetFont(hour, u"Century Gothic", 14, true, clBlack);
      a->SetHourPointer(clBlack);
      a->SetMinutePointer(clBlack);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinutePointerShadow(clBtnShadow);
      a->SetHourPointerSize(5);
      a->SetMinuteMarkLength(4);
      a->SetSecondPointer(0x00000080);
      a->SetPointerStyle(psPointer);
      a->SetTickMarks(tmQuartHours);
      SetShowAMPM(false);
      SetShowNumbers(true);
      break;
    case wsGray:
      ampm->SetName(u"MS Sans Serif");
      ampm->SetSize(10);
      a->SetBackgroundColor(0x00D1D1D1);
      a->SetBackgroundColorTo(0x006C6C6C);
      a->SetBackgroundGradient(wgRadial);
      a->SetBorderColor(0x00454545);
      a->SetCenterPointBorderColor(0x00454545);
      a->SetCenterPointColor(clBlack);
      a->SetCenterPointOuterBorderColor(clNone);
      a->SetHourColor(clBlack);
      SetPresetFont(hour, u"Comic Sans MS", 8, false, clNone);
      a->SetHourPointer(0x004E4E4E);
      a->SetMinutePointer(0x004E4E4E);
      a->SetHourPointerShadow(clNone);
      a->SetMinutePointerShadow(clNone);
      a->SetHourPointerSize(1);
      a->SetMinutePointerSize(1);
      a->SetMinuteColor(0x00808080);
      a->SetSecondPointer(0x000000FF);
      SetShowAMPM(true);
      SetShowNumbers(true);
      break;
    case wsSuperNova:
      a->SetBackgroundColorTo(0x00D1D3D3);
      a->SetBorderColor(clNone);
      a->SetCenterPointOuterBorderColor(clBlack);
      a->SetCenterPointSize(10);
      a->SetHourMarkLength(ByteSize(Round(m / 4.5)));
      a->SetMinuteMarkLength(ByteSize(m / 3));
      a->SetHourPointer(clBlack);
      a->SetHourPointerShadow(clBtnShadow);
      a->SetMinuteColor(0x00808080);
      a->SetMinutePointer(clBlack);
      SetShowAMPM(false);
      SetShowNumbers(false);
      break;
    case wsSports:
      a->SetBackgroundColor(clBlack);
      a->SetBackgroundColorTo(clNone);
      a->SetBorderColor(clBlack);
      a->SetBorderWidth(1);
      a->SetCenterPointBorderColor(0x00FF0000);
      a->SetCenterPointOuterBorderColor(clBlack);
      a->SetCenterPointColor(0x00191919);
      a->SetCenterPointSize(ByteSize(Round(m / 3.6)));
      a->SetHourColor(0x00ABB0B1);
      SetPresetFont(hour, u"Times New Roman", 9, false, 0x00797979);
      a->SetHourPointer(0x000000FF);
      a->SetHourPointerShadow(clNone);
      a->SetHourPointerSize(2);
      a->SetMinuteColor(0x00808080);
      a->SetMinutePointer(0x0000FFFF);
      a->SetMinutePointerSize(2);
      a->SetMinutePointerShadow(clNone);
      a->SetMinuteMarkLength(1);
      a->SetSecondPointer(0x00188BFE);
      a->SetTickMarks(tmQuartHours);
      SetShowAMPM(false);
      SetShowNumbers(true);
      break;
    case wsSmooth:
      a->SetBackgroundColor(clWhite);
      a->SetBackgroundColorTo(0x00ABB0B1);
      a->SetBorderColor(0x00585858);
      a->SetBorderWidth(1);
      a->SetCenterPointBorderColor(clBlack);
      a->SetCenterPointOuterBorderColor(0x004A4A4A);
      a->SetCenterPointColor(clWhite);
      a->SetCenterPointSize(6);
      a->SetHourColor(0x00ABB0B1);
      SetPresetFont(hour, u"Times New Roman", 9, false, 0x00797979);
      a->SetHourPointer(0x004A4A4A);
      a->SetMinutePointer(0x004A4A4A);
      a->SetHourPointerShadow(0x00B2B2B2);
      a->SetMinutePointerShadow(0x00B2B2B2);
      a->SetHourPointerSize(2);
      a->SetMinutePointerSize(2);
      a->SetMinuteColor(0x00808080);
      a->SetMinuteMarkLength(1);
      a->SetSecondPointer(0x004A4A4A);
      a->SetTickMarks(tmQuartHours);
      SetShowAMPM(false);
      SetShowNumbers(true);
      break;
  }
}

namespace {

struct TWatchTones {
  TColor AMPMBorder, AMPM, Background, BackgroundTo, Border, CenterBorder, Center, Hands, Shadows, Second;
};

// By TZOLStyle; BackgroundTo clNone means the background colour; tsCustom is not used.
const TWatchTones kTones[] = {
    {0x00962D00, 0x00D68759, 0x00FFD2AF, clNone, 0x00D68759, 0x00D68759, 0x00D68759, 0x00D68759, clWhite, clWhite},
    {0x00962D00, 0x00BDA4A5, 0x00E6D8D8, clNone, 0x00BDA4A5, 0x00BDA4A5, 0x00BDA4A5, 0x00BDA4A5, clWhite, clWhite},
    {0x00962D00, 0x0082C0AF, 0x00B9EAE1, clNone, 0x0082C0AF, 0x0082C0AF, 0x0082C0AF, 0x0082C0AF, clWhite, clWhite},
    {0x00962D00, 0x00808080, 0x00F2F2F2, clNone, 0x00808080, 0x00808080, 0x00808080, 0x00808080, clWhite, 0x00808080},
    {0x00F0DED0, 0x00F0DED0, 0x00FFEFE3, clNone, 0x00F0DED0, 0x00FFEFE3, 0x00FFEFE3, 0x00723708, clWhite, 0x00723708},
    {0x00F2F1F0, 0x005C534C, 0x005C534C, clNone, 0x00F2F1F0, 0x00FFEFE3, 0x00FFEFE3, 0x00F2F1F0, clWhite, 0x00F2F1F0},
    {clBlack, clBtnFace, clBtnFace, clNone, clBlack, clBlack, clBlack, clBlack, clWhite, clBlack},
    {0x007E9898, 0x00F5F9FA, 0x00F5F9FA, clNone, 0x007E9898, 0x007E9898, 0x007E9898, 0x007E9898, clWhite, 0x007E9898},
    {},  // tsCustom
    {0x00E8E0DB, 0x00F8F4F1, 0x00F8F4F1, clNone, 0x00E8E0DB, 0x00E8E0DB, 0x0074706F, 0x0074706F, clWhite, 0x0074706F},
    {0x00FEDF9A, 0x00FFFDF9, 0x00FFFDF9, 0x00FFFAF0, 0x00FEDF9A, 0x00FEDF9A, 0x00FEDF9A, 0x00FEDF9A, clWhite, 0x00FEDF9A},
    {0x00FBD6B8, 0x00FDFBFA, 0x00FDFBFA, 0x00FDF3EB, 0x00FBD6B8, 0x00FBD6B8, 0x00FBD6B8, 0x00FBD6B8, clWhite, 0x00FBD6B8},
    {0x00808080, clBtnFace, clBtnFace, clNone, 0x00808080, 0x00808080, 0x00808080, 0x00808080, clWhite, 0x00808080},
    {0x00C7B29F, 0x00F0DAC7, 0x00FDF6EF, clNone, 0x00C7B29F, 0x00C7B29F, 0x00C7B29F, 0x00C7B29F, clWhite, 0x00C7B29F},
    {0x00D2CDC8, 0x00EDE5E0, clWhite, clNone, 0x00D2CDC8, 0x00D2CDC8, 0x00D2CDC8, 0x00D2CDC8, 0x00C0C0C0, 0x00D2CDC8},
    {0x006D6D6D, 0x00919191, 0x00BFBFBF, clNone, 0x006D6D6D, 0x006D6D6D, 0x006D6D6D, 0x006D6D6D, clWhite, 0x006D6D6D},
};

}  // namespace

void ApplyWatchStyle(TWatchAppearance* a, TZOLStyle AStyle) {
  a->SetCenterPointOuterBorderColor(clBlack);
  a->HourFont()->SetColor(clBlack);
  a->AMPMFont()->SetColor(clBlack);
  if (AStyle == tsCustom || size_t(AStyle) >= std::size(kTones)) return;
  const TWatchTones& t = kTones[AStyle];
  a->SetAMPMBorderColor(t.AMPMBorder);
  a->SetAMPMColor(t.AMPM);
  a->SetBackgroundColor(t.Background);
  a->SetBackgroundColorTo(t.BackgroundTo == clNone ? t.Background : t.BackgroundTo);
  a->SetBorderColor(t.Border);
  a->SetCenterPointBorderColor(t.CenterBorder);
  a->SetCenterPointColor(t.Center);
  a->SetHourColor(t.Hands);
  a->SetMinuteColor(t.Hands);
  a->SetHourPointer(t.Hands);
  a->SetMinutePointer(t.Hands);
  a->SetHourPointerShadow(t.Shadows);
  a->SetMinutePointerShadow(t.Shadows);
  a->SetSecondPointer(t.Second);
  if (AStyle == tsOffice2007Obsidian) {
    a->HourFont()->SetColor(0x00F2F1F0);
    a->AMPMFont()->SetColor(0x00F2F1F0);
  }
}

void TAdvWatch::SetComponentStyle(TZOLStyle AStyle) { ApplyWatchStyle(FAppearance.get(), AStyle); }
