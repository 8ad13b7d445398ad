// DEreDuzeroVaro: the ready-made looks and the URL display settings. A look only writes
// colours and styles into the grid's own properties and settings objects; it keeps none.

#include "grid/AdvGrid.h"

namespace {

struct TLookNames {
  const char16_t* Text;
  const char16_t* Display;
};

// By TGridLook; glCustom has no names.
constexpr TLookNames LookNames[] = {
    {u"glStandard", u"Standard"},     {u"glSoft", u"Soft"},           {u"glClassic", u"Classic"},
    {u"glZOL", u"ZOL"},               {u"glXP", u"Windows XP"},       {u"glListView", u"ListView"},
    {u"glVista", u"Windows Vista"},   {u"glWin7", u"Windows 7"},      {u"glOffice2007", u"Office2007"},
};

constexpr TColor LookBorderColor = 0x00B99D7F;
constexpr TColor LookSelection = 0x00EACAB6;

}  // namespace

void DEreDuzeroVaro::LookToText(TGridLook Look, String& Text) {
  if (Look < glCustom) Text = LookNames[Look].Text;
}

void DEreDuzeroVaro::LookDisplayName(TGridLook Look, String& Text) {
  if (Look < glCustom) Text = LookNames[Look].Display;
}

void DEreDuzeroVaro::SetLook(TGridLook Value) {
  if (Value == FLook) return;
  FLook = Value;
  TControlLook* cl = FControlLook.get();
  // 1. The previous look's colours go.
  if (Value != glCustom) {
    cl->SetFixedGradientMirrorFrom(clNone);
    cl->SetFixedGradientMirrorTo(clNone);
    cl->SetFixedGradientFrom(clNone);
    cl->SetFixedGradientTo(clNone);
    FZOLGradientFrom = FZOLGradientTo = FZOLGradientMirrorFrom = FZOLGradientMirrorTo = clNone;
    FSortSettings->SetHeaderColor(clNone);
  }
  // The search footer of glZOL and glXP takes the ZOL gradient as the previous step left it.
  const TColor footerFrom = FZOLGradientFrom, footerTo = FZOLGradientTo;
  // 2. The look's own styles or colours.
  switch (Value) {
    case glVista:
      FComponentStyle = tsWindowsVista;
      SetSelectionStyle(ssVista);
      break;
    case glWin7:
      FComponentStyle = tsWindows7;
      SetSelectionStyle(ssWin7);
      break;
    case glOffice2007:
      FComponentStyle = tsOffice2007Luna;
      SetSelectionStyle(ssOffice2007);
      break;
    case glCustom:
      break;
    default: {
      SetSelectionStyle(ssDefault);
      if (IsLoading()) break;
      const bool plain = Value == glStandard || Value == glSoft || Value == glClassic;
      if (plain) {
        cl->SetFixedGradientFrom(clBtnFace);
        cl->SetFixedGradientTo(clNone);
        SetFixedColor(clBtnFace);
      } else {
        cl->SetFixedGradientFrom(clWhite);
        cl->SetFixedGradientTo(clBtnFace);
      }
      SetGridFixedLineColor(clGray);
      cl->SetFixedGradientMirrorFrom(clNone);
      cl->SetFixedGradientMirrorTo(clNone);
      FZOLGradientMirrorFrom = FZOLGradientMirrorTo = clNone;
      SetGridLineColor(clSilver);
      FActiveCellColorTo = clNone;
      if (plain || Value == glListView) {
        FActiveCellColor = clGray;
        FSelectionColor = clHighlight;
        FSelectionTextColor = clHighlightText;
        FSearchFooter->SetColor(clBtnFace);
        FSearchFooter->SetColorTo(clBtnFace);
        break;
      }
      // glZOL and glXP
      FActiveCellColor = LookSelection;
      FSelectionColor = LookSelection;
      FSelectionColorTo = clNone;
      FSelectionTextColor = clBlack;
      FSearchFooter->SetColor(footerFrom);
      FSearchFooter->SetColorTo(footerTo);
      cl->SetFixedGradientFrom(clWhite);
      cl->SetFixedGradientTo(Value == glZOL ? clSilver : clBtnFace);
      cl->SetFixedGradientHoverFrom(0x00CFD0D1);
      cl->SetFixedGradientHoverTo(0x00BEC6C8);
      cl->SetFixedGradientHoverMirrorFrom(0x00BEC6C8);
      cl->SetFixedGradientHoverMirrorTo(0x00ABBCBF);
      cl->SetFixedGradientDownFrom(0x00868788);
      cl->SetFixedGradientDownTo(0x00737C7E);
      cl->SetFixedGradientDownMirrorFrom(0x00737C7E);
      cl->SetFixedGradientDownMirrorTo(0x00627376);
      break;
    }
  }
  // 3. Every look.
  SetScrollType(ssNormal);
  SetBorderStyle(bsSingle);
  SetBorderColor(LookBorderColor);
  Invalidate();
}

void DEreDuzeroVaro::SetURLShow(bool Value) {
  if (Value == FURLShow) return;
  FURLShow = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetURLShowInText(bool Value) {
  if (Value == FURLShowInText) return;
  FURLShowInText = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetURLFull(bool Value) {
  FURLFull = Value;
  if (FURLShow) Invalidate();
}
