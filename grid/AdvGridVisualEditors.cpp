// DEreDuzeroVaro: a style or a set of colour tones handed on to the grid's cell editors that
// exist (editors not made yet take the grid's look when they are made).

#include <map>
#include <mutex>
#include <vector>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridEditors.h"
#include "platform/rtl/Registry.h"
#include "platform/win/Resources.h"

namespace {

// The metro look's check box and radio button glyphs (15 x 15): a flat white box or circle in
// grey, ticked or dotted in dark grey when on; magenta (the transparent key) around the circle.
std::vector<uint8_t> MetroGlyph(bool Radio, bool On) {
  TBitmap b;
  b.SetWidth(15);
  b.SetHeight(15);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(0x00FF00FF);
  c->FillRect(TRect(0, 0, 15, 15));
  c->Pen()->SetColor(0x00808080);
  c->Brush()->SetColor(clWhite);
  if (Radio) c->Ellipse(1, 1, 14, 14);
  else c->Rectangle(1, 1, 14, 14);
  if (On) {
    c->Pen()->SetColor(0x00404040);
    c->Brush()->SetColor(0x00404040);
    if (Radio) {
      c->Ellipse(4, 4, 11, 11);
    } else {
      c->Pen()->SetWidth(2);
      c->Polyline(std::vector<TPoint>{{4, 7}, {6, 10}, {11, 4}});
    }
  }
  TMemoryStream stream;
  b.SaveToStream(&stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(bytes, bytes + stream.Size());
}

// Puts the four metro glyphs into the program's resource table once, to load by name.
void RegisterMetroGlyphs() {
  static std::once_flag once;
  static std::map<String, std::vector<uint8_t>> store;
  std::call_once(once, [] {
    const struct {
      const char16_t* Name;
      bool Radio, On;
    } glyphs[] = {{u"metrocheckon", false, true},
                  {u"metrocheckoff", false, false},
                  {u"metroradiooff", true, false},
                  {u"metroradioon", true, true}};
    for (const auto& g : glyphs) {
      auto& bytes = store[g.Name];
      bytes = MetroGlyph(g.Radio, g.On);
      RegisterResource(RT_BITMAP, reinterpret_cast<LPCWSTR>(g.Name), bytes.data(), static_cast<DWORD>(bytes.size()));
    }
  });
}

}  // namespace

void DEreDuzeroVaro::LoadMetroGlyphs() {
  RegisterMetroGlyphs();
  if (TBitmap* b = GlyphBitmap(u"metrocheckon")) FControlLook->SetCheckedGlyph(b);
  if (TBitmap* b = GlyphBitmap(u"metrocheckoff")) FControlLook->SetUnCheckedGlyph(b);
  if (TBitmap* b = GlyphBitmap(u"metroradiooff")) FControlLook->SetRadioOffGlyph(b);
  if (TBitmap* b = GlyphBitmap(u"metroradioon")) FControlLook->SetRadioOnGlyph(b);
}

void DEreDuzeroVaro::SetEditorsComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown* editors[] = {FEditColorPicker, FEditImagePicker, FEditGridPicker, FEditDetailPicker,
                                   FEditTimePicker,  FEditCalculator,  FEditMemo};
  for (TAdvCustomDropDown* editor : editors)
    if (editor) editor->SetComponentStyle(AStyle);
}

void DEreDuzeroVaro::SetEditorsColorTones(const TColorTones& ATones) {
  // The buttons of the edit-button, combo, spin and date editors.
  const TColor face = ATones.Background.BrushColor, hot = ATones.Hover.BrushColor, down = ATones.Selected.BrushColor,
               border = ATones.Background.BorderColor;
  auto buttons = [&](TEditButtonColors* b) {
    b->SetButtonColor(face);
    b->SetButtonColorHot(hot);
    b->SetButtonColorDown(down);
    b->SetButtonBorderColor(border);
  };
  if (FEditBtn) buttons(FEditBtn->Button());
  if (FEditSpin) buttons(FEditSpin->Button());
  if (FEditCombo) {
    FEditCombo->SetButtonColor(face);
    FEditCombo->SetButtonColorHot(hot);
    FEditCombo->SetButtonColorDown(down);
    FEditCombo->SetButtonBorderColor(border);
    FEditCombo->SetBorderColor(Color());
    FEditCombo->SetFlat(true);
  }
  if (FEditDate) {
    FEditDate->SetButtonColor(face);
    FEditDate->SetButtonColorHot(hot);
    FEditDate->SetButtonColorDown(down);
    FEditDate->SetButtonBorderColor(border);
    FEditDate->SetBorderColor(face);
    FEditDate->SetMetroStyle(true);
  }
  // The drop-down editors.
  TAdvCustomDropDown* editors[] = {FEditMemo,          FEditTrackBar,     FEditTimePicker,
                                   FEditCalculator,    FEditAdvGridPicker, FEditDetailPicker,
                                   FEditGridPicker,    FEditColorPicker,  FEditImagePicker};
  for (TAdvCustomDropDown* editor : editors)
    if (editor) editor->SetColorTones(ATones);
}

// ===========================================================================
// The style and tones interfaces, and the Office theme

void DEreDuzeroVaro::ApplyComponentStyle(TZOLStyle AStyle) {
  SetStyle(static_cast<TAdvGridStyle>(AStyle));
  // After the style: a look it sets remembers that look's own style.
  FComponentStyle = AStyle;
  if (!ComponentState().Contains(csDesigning)) SetEditorsComponentStyle(AStyle);
}

void DEreDuzeroVaro::ApplyColorTones(const TColorTones& ATones) {
  // 1. The metro look: classic, flat, thin scroll bars.
  FColorTones = ATones;
  SetLook(glClassic);
  SetFlat(true);
  SetScrollType(ssMetro);
  // 2. Fixed and normal cells.
  SetFixedColor(ATones.Foreground.BrushColor);
  FFixedFont->SetColor(ATones.Foreground.TextColor);
  FFixedFont->SetName(GetDefaultFontName());
  Font()->SetName(GetDefaultFontName());
  SetColor(ATones.Background.BrushColor);
  Font()->SetColor(ATones.Background.TextColor);
  // 3. Selection and lines.
  FSelectionColor = ATones.Selected.BrushColor;
  FSelectionTextColor = ATones.Selected.TextColor;
  FSelectionColorTo = clNone;
  SetGridLineColor(0x00E6E6E6);
  SetGridFixedLineColor(AdjustColorBrightness(ATones.Foreground.BrushColor, -20));
  SetBorderStyle(bsNone);
  // 4. Check boxes and radio buttons from the metro glyphs.
  FControlLook->SetControlStyle(csGlyph);
  LoadMetroGlyphs();
  // 5., 6. The editors.
  if (!ComponentState().Contains(csDesigning)) SetEditorsColorTones(ATones);
  // 7.
  FControlLook->SetFlatButton(true);
  FSearchFooter->SetColor(ATones.Foreground.BrushColor);
  FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
  FCellNode->SetNodeType(cnFlat);
  Invalidate();
}

TOfficeTheme DEreDuzeroVaro::InstalledOfficeTheme() {
  // Only an Office colour theme or a desktop colour scheme is followed; without either there is
  // nothing outside to follow and the grid keeps its look.
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  const bool office = ReadOfficeThemeValue(reg, OfficeKey2010) != -1 || ReadOfficeThemeValue(reg, OfficeKey2007) != -1;
  if (!office && GetXPColorScheme() == 0) return otUnknown;
  return DetectOfficeTheme();
}

void DEreDuzeroVaro::AdaptToOfficeTheme() {
  if (ComponentState().Contains(csDesigning)) return;
  const TOfficeTheme theme = InstalledOfficeTheme();
  if (theme == FLastOfficeTheme) return;
  static const TZOLStyle ByTheme[] = {tsOffice2003Blue,   tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
                                      tsOffice2007Luna,   tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,
                                      tsOffice2010Silver, tsOffice2010Black};
  if (theme != otUnknown) ApplyComponentStyle(ByTheme[theme]);
  FLastOfficeTheme = theme;
}
