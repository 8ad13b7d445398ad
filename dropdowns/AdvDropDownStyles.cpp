// The sixteen looks of a drop-down, colour tones, and the selection colour styles.

#include "controls/VevAzez.h"
#include "dropdowns/AdvDropDown.h"

namespace {
// "Keep the current value" in the tables below.
constexpr TColor kKeep = 0x7FFFFFFF;

struct TBodyLook {
  TColor DropDownColor, DropDownColorTo, DropDownBorderColor;
  TColor Color, ColorTo, FontColor, BorderColor;  // the header, and the footer unless overridden
  TColor FooterColor = kKeep, FooterColorTo = kKeep, FooterBorderColor = kKeep;
};

// Indexed by TZOLStyle; tsCustom is never read.
const TBodyLook kBody[] = {
    /* tsOffice2003Blue */ {0xFFFFFF, clNone, kKeep, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, kKeep, kKeep, 0x962D00},
    /* tsOffice2003Silver */ {0xFFFFFF, clNone, kKeep, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C},
    /* tsOffice2003Olive */ {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060},
    /* tsOffice2003Classic */ {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
    /* tsOffice2007Luna */ {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF},
    /* tsOffice2007Obsidian */ {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C},
    /* tsWindowsXP */ {0xFFFFFF, clNone, kKeep, 0xFFFFFF, clBtnFace, 0x000000, 0x808080},
    /* tsWhidbey */ {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00},
    /* tsCustom */ {kKeep, kKeep, kKeep, kKeep, kKeep, kKeep, kKeep},
    /* tsOffice2007Silver */ {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F},
    /* tsWindowsVista */ {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA, 0xFFFAF0, 0xFFFDF9},
    /* tsWindows7 */ {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8},
    /* tsTerminal */ {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, 0x000000, clNone},
    /* tsOffice2010Blue */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F},
    /* tsOffice2010Silver */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8},
    /* tsOffice2010Black */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D},
};

// Colours of the bars' buttons: normal, hot, down, disabled, checked.
struct TButtonLook {
  TColor Color, ColorTo, BorderColor;
  TColor ColorHot, ColorHotTo, BorderColorHot;
  TColor ColorDown, ColorDownTo, BorderColorDown;
  TColor ColorDisabled, ColorDisabledTo;
  TColor ColorChecked, ColorCheckedTo, BorderColorChecked;
};

// The Office 2003 and 2007 family share all but Color and ColorTo.
constexpr TButtonLook Office(TColor Color, TColor ColorTo) {
  return {Color,    ColorTo,  clNone,   0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF,
          0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, 0x76AFF1, 0x4190F3, 0x45667B};
}
constexpr TButtonLook Office2010(TColor Color, TColor ColorTo, TColor BorderColor) {
  return {Color,    ColorTo, BorderColor, 0x8AE3FD, clNone,   0x58CAF1, 0x6CD0FF,
          clNone,   0x308AC2, 0xF2F2F2,   0xB6B6B6, 0x45E1FE, clNone,   0x4FA0CE};
}

const TButtonLook kButtons[] = {
    /* tsOffice2003Blue */ Office(0xFCE1CB, 0xE0A57D),
    /* tsOffice2003Silver */ Office(0xECE2E1, 0xB39698),
    /* tsOffice2003Olive */ Office(0xCFF0EA, 0x8CC0B1),
    /* tsOffice2003Classic */
    {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
     0xD8D5D4, 0xD8D5D4, 0x808080},
    /* tsOffice2007Luna */ Office(0xFFEFE3, 0xFFDDC4),
    /* tsOffice2007Obsidian */ Office(0xF2F1F0, 0xC9C2BD),
    /* tsWindowsXP */
    {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
     0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000},
    /* tsWhidbey */ Office(0xFFFFFF, 0xDFEDF0),
    /* tsCustom */ {},
    /* tsOffice2007Silver */ Office(0xF9F8F8, 0xE4E2DF),
    /* tsWindowsVista */
    {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFDF0D7, 0xFEDF9A},
    /* tsWindows7 */
    {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFCDBC1, 0xCEA27D},
    /* tsTerminal */
    {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
     clBtnFace, clBtnFace, clBtnFace, clHighlight},
    /* tsOffice2010Blue */ Office2010(0xFDF6EF, 0xF0DAC7, 0xC7B29F),
    /* tsOffice2010Silver */ Office2010(0xFFFFFF, 0xEDE5E0, 0xD2CDC8),
    /* tsOffice2010Black */ Office2010(0xBFBFBF, 0x919191, 0xD7D7D6),
};

static_assert(sizeof(kBody) / sizeof(kBody[0]) == 16 && sizeof(kButtons) / sizeof(kButtons[0]) == 16);

void Keep(TColor& Field, TColor Value) {
  if (Value != kKeep) Field = Value;
}

void ApplyBar(TBarAppearance& Bar, TColor Color, TColor ColorTo, TColor FontColor, TColor BorderColor) {
  Bar.SetColor(Color);
  Bar.SetColorTo(ColorTo);
  Bar.Font()->SetColor(FontColor);
  Bar.SetBorderColor(BorderColor);
}
}  // namespace

void TAdvCustomDropDown::SetComponentStyle(TZOLStyle AStyle) {
  FZOLStyle = AStyle;
  if (AStyle == tsCustom || AStyle >= 16) return;
  const TBodyLook& b = kBody[AStyle];
  Keep(FDropDownColor, b.DropDownColor);
  Keep(FDropDownColorTo, b.DropDownColorTo);
  Keep(FDropDownBorderColor, b.DropDownBorderColor);
  ApplyBar(*FDropDownHeader, b.Color, b.ColorTo, b.FontColor, b.BorderColor);
  ApplyBar(*FDropDownFooter, b.FooterColor != kKeep ? b.FooterColor : b.Color,
           b.FooterColorTo != kKeep ? b.FooterColorTo : b.ColorTo, b.FontColor,
           b.FooterBorderColor != kKeep ? b.FooterBorderColor : b.BorderColor);

  const TButtonLook& k = kButtons[AStyle];
  TAdvButtonAppearance& a = *FButtonAppearance;
  a.SetColor(k.Color);
  a.SetColorTo(k.ColorTo);
  a.SetBorderColor(k.BorderColor);
  a.SetColorHot(k.ColorHot);
  a.SetColorHotTo(k.ColorHotTo);
  a.SetBorderColorHot(k.BorderColorHot);
  a.SetColorDown(k.ColorDown);
  a.SetColorDownTo(k.ColorDownTo);
  a.SetBorderColorDown(k.BorderColorDown);
  a.SetColorDisabled(k.ColorDisabled);
  a.SetColorDisabledTo(k.ColorDisabledTo);
  a.SetColorChecked(k.ColorChecked);
  a.SetColorCheckedTo(k.ColorCheckedTo);
  a.SetBorderColorChecked(k.BorderColorChecked);
  Invalidate();
}

void TAdvCustomDropDown::SetColorTones(const TColorTones& ATones) {
  if (FButton != nullptr) {
    FButton->FButtonColor = ATones.Background.BrushColor;
    FButton->FButtonColorHot = ATones.Hover.BrushColor;
    FButton->FButtonColorDown = ATones.Selected.BrushColor;
    FButton->FButtonBorderColor = ATones.Background.BorderColor;
    FButton->FButton->Invalidate();
  }
  SetBorderColor(ATones.Background.BorderColor);
}

void TAdvCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  FSelectionColorStyle = Value;
  switch (Value) {
    case scOffice2007: FSelectionColor = 0xD7FFFD; FSelectionColorTo = 0x58D4FC; break;
    case scWindowsVista: FSelectionColor = 0xFDF8F1; FSelectionColorTo = 0xFCEFD5; break;
    case scWindows7: FSelectionColor = 0xFCEBDC; FSelectionColorTo = 0xFCDBC1; break;
    case scCustom: break;
  }
}

void TAdvCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, TRect Rect, TColor BackColor, int RoundStyle) {
  if (Canvas == nullptr) return;
  struct TFixed {
    TColor Edge, Border, BottomLine, TopLine, MirrorTo, MirrorFrom;
  };
  static const TFixed fixed[] = {
      {},
      {0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0xB3F1FC, 0x58D4FC},
      {0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
      {0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
  };
  if (FSelectionColorStyle == scCustom) {
    Canvas->Brush()->SetColor(FSelectionColor);
    Canvas->Pen()->SetColor(FSelectionColor);
    Canvas->FillRect(Rect);
    return;
  }
  const TFixed& f = fixed[FSelectionColorStyle];
  ::DrawSelectionGradient(Canvas, FSelectionColor, FSelectionColorTo, f.MirrorFrom, f.MirrorTo, f.TopLine,
                          f.BottomLine, f.Border, f.Edge, BackColor, Rect, static_cast<uint8_t>(RoundStyle));
}

void TAdvCustomDropDown::DrawSelectionGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps,
                                               TRect Rect, bool Vertical) {
  DrawGradient(Canvas, FromColor, ToColor, Steps, Rect, !Vertical);
}

// ---------------------------------------------------------------------------
// Item appearances

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->SetName(u"Tahoma");
  SetColorStyle(scOffice2007);
  FColorSelectedText = clBlack;
  FColorHotText = clBlack;
  FBorderColorHot = clNone;
  FBorderColorSelected = clNone;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
  if (Value == FColorStyle) return;
  FColorStyle = Value;
  struct TPreset {
    TColor Hot, HotTo, MirrorHot, MirrorHotTo, Top, Bottom, Border, Edge, Selected, SelectedTo, MirrorSelected,
        MirrorSelectedTo;
  };
  static const TPreset presets[] = {
      {},
      {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
       0x68E3F9},
      {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
      {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
  };
  if (Value == scCustom) return;
  const TPreset& p = presets[Value];
  FColorHot = p.Hot;
  FColorHotTo = p.HotTo;
  FColorMirrorHot = p.MirrorHot;
  FColorMirrorHotTo = p.MirrorHotTo;
  FBorderColorTop = p.Top;
  FBorderColorBottom = p.Bottom;
  FBorderColor = p.Border;
  FEdgeColor = p.Edge;
  FColorSelected = p.Selected;
  FColorSelectedTo = p.SelectedTo;
  FColorMirrorSelected = p.MirrorSelected;
  FColorMirrorSelectedTo = p.MirrorSelectedTo;
}

void TItemAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TItemAppearance*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FColorMirrorHotTo = src->FColorMirrorHotTo;
  FBorderColor = src->FBorderColor;
  FColorMirrorHot = src->FColorMirrorHot;
  FColorSelectedTo = src->FColorSelectedTo;
  FColorSelected = src->FColorSelected;
  FEdgeColor = src->FEdgeColor;
  FColorHotTo = src->FColorHotTo;
  FBorderColorBottom = src->FBorderColorBottom;
  FColorHot = src->FColorHot;
  FBorderColorTop = src->FBorderColorTop;
  FColorMirrorSelectedTo = src->FColorMirrorSelectedTo;
  FColorMirrorSelected = src->FColorMirrorSelected;
  FFont->Assign(src->FFont.get());
  SetColorStyle(src->FColorStyle);
  FColorSelectedText = src->FColorSelectedText;
  FBorderColorHot = src->FBorderColorHot;
  FBorderColorSelected = src->FBorderColorSelected;
}

void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TZOLStyle AStyle) {
  if (Appearance == nullptr || AStyle == tsCustom) return;
  TItemAppearance& a = *Appearance;
  a.SetBorderColorHot(clNone);
  a.SetBorderColorSelected(clNone);
  a.SetColorSelectedText(clBlack);
  a.SetColorHotText(clBlack);
  struct TItemLook {
    TColor Hot, HotTo, MirrorHot, MirrorHotTo, Selected, SelectedTo, MirrorSelected, MirrorSelectedTo, Border, Top,
        Bottom, Edge, SelectedText;
  };
  // SelectedText clNone: left at black.
  constexpr TItemLook office{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE,
                             0x7AE1FE, 0x42AEFE, clNone,   clNone,   clNone,   clNone};
  constexpr TItemLook office2007{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE,
                                 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, clNone};
  constexpr TItemLook classic{0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone,
                              clNone,   0x808080, clNone, clNone, clNone,   clNone};
  constexpr TItemLook xp{0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone,
                         clNone,   clHighlight, clNone, clNone, clNone, clHighlightText};
  constexpr TItemLook vista{0xFFFDF9, 0xFFFAF0, clNone,   clNone,   0xFEF9F0, 0xFDF0D7, clNone,
                            clNone,   0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB, clNone};
  constexpr TItemLook seven{0xFDFBFA, 0xFDF3EB, clNone,   clNone,   0xFCEBDC, 0xFCDBC1, clNone,
                            clNone,   0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE, clNone};
  constexpr TItemLook terminal{0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone,
                               clNone,   0x808080, clNone, clNone, clNone, clHighlightText};
  constexpr TItemLook office2010{0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF,
                                 0x7BEEFF, 0x308AC2, clNone,   clNone,   clNone,   clBlack};
  const TItemLook* look = &office;
  switch (AStyle) {
    case tsOffice2007Luna: case tsOffice2007Obsidian: case tsOffice2007Silver: look = &office2007; break;
    case tsOffice2003Classic: look = &classic; break;
    case tsWindowsXP: look = &xp; break;
    case tsWindowsVista: look = &vista; break;
    case tsWindows7: look = &seven; break;
    case tsTerminal: look = &terminal; break;
    case tsOffice2010Blue: case tsOffice2010Silver: case tsOffice2010Black: look = &office2010; break;
    default: break;  // Office 2003 blue, silver, olive and Whidbey
  }
  a.SetColorHot(look->Hot);
  a.SetColorHotTo(look->HotTo);
  a.SetColorMirrorHot(look->MirrorHot);
  a.SetColorMirrorHotTo(look->MirrorHotTo);
  a.SetColorSelected(look->Selected);
  a.SetColorSelectedTo(look->SelectedTo);
  a.SetColorMirrorSelected(look->MirrorSelected);
  a.SetColorMirrorSelectedTo(look->MirrorSelectedTo);
  a.SetBorderColor(look->Border);
  a.SetBorderColorTop(look->Top);
  a.SetBorderColorBottom(look->Bottom);
  a.SetEdgeColor(look->Edge);
  if (look->SelectedText != clNone) a.SetColorSelectedText(look->SelectedText);
}
