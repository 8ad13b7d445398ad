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
      SetStyle(gsWindowsVista);
      FComponentStyle = tsWindowsVista;
      SetSelectionStyle(ssVista);
      break;
    case glWin7:
      SetStyle(gsWindows7);
      FComponentStyle = tsWindows7;
      SetSelectionStyle(ssWin7);
      break;
    case glOffice2007:
      SetStyle(gsOffice2007Luna);
      FComponentStyle = tsOffice2007Luna;
      SetSelectionStyle(ssOffice2007);
      break;
    case glCustom:
      break;
    default: {
      if (!ComponentState().Contains(csDesigning)) SetEditorsComponentStyle(tsWindowsXP);
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

// ===========================================================================
// Styles

namespace {

constexpr TColor N = clNone;
constexpr int Keep = -1;  // the look stays as it is

struct TStyleColors {
  int Look;  // TGridLook or Keep
  bool Colors;  // false: the style sets no colours of the table
  TColor From, To, MirrorFrom, MirrorTo;
  bool Mirror;  // false: the mirror gradient is left as it is
  TColor Active, ActiveTo;
  bool Selection;  // false: the selection colours stay reset
  TColor Sel, SelTo;  // SelTo clNone is left reset
  TColor Line, FixedLine;
  // The fixed gradient of ControlLook takes the ZOL gradient (else clNone).
  bool FixedFromZOL;
};

// By TAdvGridStyle. Colours are 0x00BBGGRR.
const TStyleColors StyleTable[] = {
    // gsOffice2003Blue
    {glXP, true, 0xFCE1CB, 0xE0A57D, N, N, true, 0x94E6FB, 0x1595EE, true, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, true},
    // gsOffice2003Silver
    {glXP, true, 0xECE2E1, 0xB39698, N, N, true, 0x94E6FB, 0x1595EE, true, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, true},
    // gsOffice2003Olive
    {glXP, true, 0xCFF0EA, 0x8CC0B1, N, N, true, 0x94E6FB, 0x1595EE, true, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, true},
    // gsOffice2003Classic
    {glXP, true, 0xFFFFFF, 0xCCD4D8, N, N, true, 0xD8D5D4, 0xD8D5D4, false, N, N, 0xC0C0C0, 0x808080, false},
    // gsOffice2007Luna
    {glOffice2007, true, 0xFBF9F6, 0xE8DBD2, N, N, true, 0x9DD8F9, 0x5EC1F1, true, 0x5EC1F1, N, 0xF1EDEB, 0xD1BBA4, true},
    // gsOffice2007Obsidian
    {glOffice2007, true, 0xF7F7F7, 0xDEDEDE, N, N, true, 0x9DD8F9, 0x5EC1F1, true, 0x5EC1F1, N, 0xE5D7D0, 0x808080, true},
    // gsWindowsXP
    {glXP, true, clBtnFace, clBtnFace, N, N, true, clBtnFace, clBtnFace, false, N, N, 0xC0C0C0, 0x808080, false},
    // gsWhidbey
    {Keep, true, 0xFFFFFF, clBtnFace, N, N, true, 0x94E6FB, 0x1595EE, false, N, N, 0xC0C0C0, 0x808080, false},
    // gsCustom
    {Keep, false, N, N, N, N, false, N, N, false, N, N, N, N, false},
    // gsOffice2007Silver
    {glOffice2007, true, 0xF3F3F1, 0xCAC9C8, N, N, false, 0x99CCFF, 0x699CFF, true, 0x95C7F5, N, 0xE5D7D0, 0x808080, true},
    // gsWindowsVista
    {glVista, true, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, true, 0xFDF8F1, 0xFCEFD5, true, 0xEACAB6, N, 0xECECF0, 0xD4D2D1, false},
    // gsWindows7
    {glWin7, true, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, true, 0xFCEBDC, 0xFCDBC1, true, 0xEACAB6, N, 0xECECF0, 0xD4D2D1, false},
    // gsTerminal
    {glStandard, false, N, N, N, N, false, N, N, false, N, N, N, N, false},
    // gsOffice2010Blue
    {glOffice2007, true, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, true, 0x5BD5FF, 0x71EFFF, true, 0xFFDBB7, N, 0xC0C0C0, 0xC7B0A0, false},
    // gsOffice2010Silver
    {glOffice2007, true, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, true, 0x5BD5FF, 0x71EFFF, true, 0xFFDBB7, N, 0xC0C0C0, 0xBAB5B1, false},
    // gsOffice2010Black
    {glOffice2007, true, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, true, 0x5BD5FF, 0x71EFFF, true, 0xFFDBB7, N, 0xC0C0C0, 0x444444, false},
};
static_assert(sizeof(StyleTable) / sizeof(StyleTable[0]) == DEreDuzeroVaro::gsOffice2010Black + 1, "one row per style");

}  // namespace

void DEreDuzeroVaro::SetStyle(TAdvGridStyle AStyle) {
  TControlLook* cl = FControlLook.get();
  TSortSettings* sort = FSortSettings.get();
  auto setSortHeader = [sort](TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo) {
    sort->SetHeaderColor(From);
    sort->SetHeaderColorTo(To);
    sort->SetHeaderMirrorColor(MirrorFrom);
    sort->SetHeaderMirrorColorTo(MirrorTo);
  };
  auto setHover = [this](TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border) {
    FZOLGradHoverFrom = From;
    FZOLGradHoverTo = To;
    FZOLGradHoverMirrorFrom = MirrorFrom;
    FZOLGradHoverMirrorTo = MirrorTo;
    FZOLGradHoverBorder = Border;
  };
  // ControlLook passes its fixed-cell gradients on to the grid's ZOL colours.
  auto setFixedHover = [cl](TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo) {
    cl->SetFixedGradientHoverFrom(From);
    cl->SetFixedGradientHoverTo(To);
    cl->SetFixedGradientHoverMirrorFrom(MirrorFrom);
    cl->SetFixedGradientHoverMirrorTo(MirrorTo);
  };
  auto setFixedDown = [cl](TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border) {
    cl->SetFixedGradientDownFrom(From);
    cl->SetFixedGradientDownTo(To);
    cl->SetFixedGradientDownMirrorFrom(MirrorFrom);
    cl->SetFixedGradientDownMirrorTo(MirrorTo);
    cl->SetFixedGradientDownBorder(Border);
  };

  // 1. The selection, the sorted header and ControlLook back to their defaults.
  FSelectionColor = clHighlight;
  FSelectionColorTo = clNone;
  FSelectionTextColor = clHighlightText;
  SetSelectionStyle(ssDefault);
  setSortHeader(clNone, clNone, clNone, clNone);
  cl->Init();

  // 2. The style's look; a change to one of the three newest looks applies that look's own
  // style first, which the colours below then override.
  const TStyleColors& t = StyleTable[AStyle];
  const bool lookChanged = t.Look != Keep && FLook != static_cast<TGridLook>(t.Look);
  if (t.Look != Keep) SetLook(static_cast<TGridLook>(t.Look));

  // 3. The style's colours.
  if (t.Colors) {
    FZOLGradientFrom = t.From;
    FZOLGradientTo = t.To;
    if (t.Mirror) {
      FZOLGradientMirrorFrom = t.MirrorFrom;
      FZOLGradientMirrorTo = t.MirrorTo;
    }
    FActiveCellColor = t.Active;
    FActiveCellColorTo = t.ActiveTo;
    if (t.Selection) {
      FSelectionColor = t.Sel;
      if (t.SelTo != clNone) FSelectionColorTo = t.SelTo;
      FSelectionTextColor = clBlack;
    }
    SetGridLineColor(t.Line);
    SetGridFixedLineColor(t.FixedLine);
    cl->SetFixedGradientFrom(t.FixedFromZOL ? t.From : clNone);
    cl->SetFixedGradientTo(t.FixedFromZOL ? t.To : clNone);
  }
  switch (AStyle) {
    case gsOffice2007Luna:
      setFixedHover(0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC);
      cl->SetFixedGradientHoverBorder(0xB79F87);
      setFixedDown(0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D);
      SetSelectionStyle(ssOffice2007);
      break;
    case gsOffice2007Obsidian:
    case gsOffice2007Silver:
      SetSelectionStyle(lookChanged ? ssOffice2007 : ssDefault);
      break;
    case gsWindowsVista:
      setHover(0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993);
      cl->SetFixedGradientMirrorFrom(FZOLGradientMirrorFrom);
      cl->SetFixedGradientMirrorTo(FZOLGradientMirrorTo);
      setFixedHover(FZOLGradHoverFrom, FZOLGradHoverTo, FZOLGradHoverMirrorFrom, FZOLGradHoverMirrorTo);
      cl->SetFixedGradientHoverBorder(FZOLGradHoverBorder);
      setFixedDown(0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F);
      setSortHeader(0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
      SetSelectionStyle(ssVista);
      break;
    case gsWindows7:
      setHover(0xFDF8F3, 0xF9F3EF, clNone, clNone, 0xEEE8E3);
      cl->SetFixedGradientMirrorFrom(FZOLGradientMirrorFrom);
      cl->SetFixedGradientMirrorTo(FZOLGradientMirrorTo);
      setFixedHover(0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1);
      setFixedDown(0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA);
      setSortHeader(0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
      SetSelectionStyle(ssWin7);
      break;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black: {
      setHover(clNone, clNone, clNone, clNone, clNone);
      cl->SetFixedGradientMirrorFrom(t.MirrorFrom);
      cl->SetFixedGradientMirrorTo(t.MirrorTo);
      setFixedHover(0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF);
      cl->SetFixedGradientHoverBorder(0x3ABFE8);
      setFixedDown(0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2);
      const TColor header = AStyle == gsOffice2010Blue ? 0xD6CEC7 : AStyle == gsOffice2010Silver ? 0xAAAAAA : 0xBABABA;
      setSortHeader(header, header, header, header);
      SetSelectionStyle(ssDefault);
      break;
    }
    default:
      SetSelectionStyle(ssDefault);
      break;
  }
  // The search footer ends in the style's gradient.
  if (AStyle != gsCustom && AStyle != gsTerminal) {
    FSearchFooter->SetColor(FZOLGradientFrom);
    FSearchFooter->SetColorTo(FZOLGradientMirrorTo);
  }
  // 4.
  Invalidate();
}

void DEreDuzeroVaro::SetTheme(TXPColorScheme Scheme) {
  struct TThemeColors {
    TColor From, To, MirrorFrom, MirrorTo, Active, ActiveTo, Footer, FooterTo;
  };
  // By TXPColorScheme.
  static const TThemeColors Themes[] = {
      {0xFFFFFF, clBtnFace, N, N, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},                 // xpNone
      {0xFCE1CB, 0xE0A57D, N, N, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D},                  // xpBlue
      {0xCFF0EA, 0x8CC0B1, N, N, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1},                  // xpGreen
      {0xECE2E1, 0xB39698, N, N, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698},                  // xpGray
      {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698},    // vistaAero
  };
  const TThemeColors& t = Themes[Scheme];
  FZOLGradientFrom = t.From;
  FZOLGradientTo = t.To;
  FZOLGradientMirrorFrom = t.MirrorFrom;
  FZOLGradientMirrorTo = t.MirrorTo;
  FActiveCellColor = t.Active;
  FActiveCellColorTo = t.ActiveTo;
  FSearchFooter->SetColor(t.Footer);
  FSearchFooter->SetColorTo(t.FooterTo);
  FControlLook->SetFixedGradientFrom(Scheme == xpNone ? clNone : t.From);
  FControlLook->SetFixedGradientTo(Scheme == xpNone ? clNone : t.To);
  Invalidate();
}
