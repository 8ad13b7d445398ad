// The colour picker drop-down.

#include "dropdowns/AdvColorPickerDropDown.h"

#include <algorithm>

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// Colour texts

namespace {

struct TWebColor {
  const char16_t* Name;
  TColor Value;
};

// The web colour table, in the order it is searched.
constexpr TWebColor WebColors[] = {
    {u"clWebSnow", 0xFAFAFF}, {u"clWebFloralWhite", 0xF0FAFF}, {u"clWebLavenderBlush", 0xF5F0FF},
    {u"clWebOldLace", 0xE6F5FD}, {u"clWebIvory", 0xF0FFFF}, {u"clWebCornSilk", 0xDCF8FF}, {u"clWebBeige", 0xDCF5F5},
    {u"clWebAntiqueWhite", 0xD7EBFA}, {u"clWebWheat", 0xB3DEF5}, {u"clWebAliceBlue", 0xFFF8F0},
    {u"clWebGhostWhite", 0xFFF8F8}, {u"clWebLavender", 0xFAE6E6}, {u"clWebSeashell", 0xEEF5FF},
    {u"clWebLightYellow", 0xE0FFFF}, {u"clWebPapayaWhip", 0xD5EFFF}, {u"clWebNavajoWhite", 0xADDEFF},
    {u"clWebMoccasin", 0xB5E4FF}, {u"clWebBurlywood", 0x87B8DE}, {u"clWebAzure", 0xFFFFF0},
    {u"clWebMintcream", 0xFAFFF5}, {u"clWebHoneydew", 0xF0FFF0}, {u"clWebLinen", 0xE6F0FA},
    {u"clWebLemonChiffon", 0xCDFAFF}, {u"clWebBlanchedAlmond", 0xCDEBFF}, {u"clWebBisque", 0xC4E4FF},
    {u"clWebPeachPuff", 0xB9DAFF}, {u"clWebTan", 0x8CB4D2}, {u"clWebYellow", 0x00FFFF},
    {u"clWebDarkOrange", 0x008CFF}, {u"clWebRed", 0x0000FF}, {u"clWebDarkRed", 0x00008B}, {u"clWebMaroon", 0x000080},
    {u"clWebIndianRed", 0x5C5CCD}, {u"clWebSalmon", 0x7280FA}, {u"clWebCoral", 0x507FFF}, {u"clWebGold", 0x00D7FF},
    {u"clWebTomato", 0x4763FF}, {u"clWebCrimson", 0x3C14DC}, {u"clWebBrown", 0x2A2AA5},
    {u"clWebChocolate", 0x1E69D2}, {u"clWebSandyBrown", 0x60A4F4}, {u"clWebLightSalmon", 0x7AA0FF},
    {u"clWebLightCoral", 0x8080F0}, {u"clWebOrange", 0x00A5FF}, {u"clWebOrangeRed", 0x0045FF},
    {u"clWebFirebrick", 0x2222B2}, {u"clWebSaddleBrown", 0x13458B}, {u"clWebSienna", 0x2D52A0},
    {u"clWebPeru", 0x3F85CD}, {u"clWebDarkSalmon", 0x7A96E9}, {u"clWebRosyBrown", 0x8F8FBC},
    {u"clWebPaleGoldenrod", 0xAAE8EE}, {u"clWebLightGoldenrodYellow", 0xD2FAFA}, {u"clWebOlive", 0x008080},
    {u"clWebForestGreen", 0x228B22}, {u"clWebGreenYellow", 0x2FFFAD}, {u"clWebChartreuse", 0x00FF7F},
    {u"clWebLightGreen", 0x90EE90}, {u"clWebAquamarine", 0xD4FF7F}, {u"clWebSeaGreen", 0x578B2E},
    {u"clWebGoldenRod", 0x20A5DA}, {u"clWebKhaki", 0x8CE6F0}, {u"clWebOliveDrab", 0x238E6B},
    {u"clWebGreen", 0x008000}, {u"clWebYellowGreen", 0x32CD9A}, {u"clWebLawnGreen", 0x00FC7C},
    {u"clWebPaleGreen", 0x98FB98}, {u"clWebMediumAquamarine", 0xAACD66}, {u"clWebMediumSeaGreen", 0x71B33C},
    {u"clWebDarkGoldenRod", 0x0B86B8}, {u"clWebDarkKhaki", 0x6BB7BD}, {u"clWebDarkOliveGreen", 0x2F6B55},
    {u"clWebDarkgreen", 0x006400}, {u"clWebLimeGreen", 0x32CD32}, {u"clWebLime", 0x00FF00},
    {u"clWebSpringGreen", 0x7FFF00}, {u"clWebMediumSpringGreen", 0x9AFA00}, {u"clWebDarkSeaGreen", 0x8FBC8F},
    {u"clWebLightSeaGreen", 0xAAB220}, {u"clWebPaleTurquoise", 0xEEEEAF}, {u"clWebLightCyan", 0xFFFFE0},
    {u"clWebLightBlue", 0xE6D8AD}, {u"clWebLightSkyBlue", 0xFACE87}, {u"clWebCornFlowerBlue", 0xED9564},
    {u"clWebDarkBlue", 0x8B0000}, {u"clWebIndigo", 0x82004B}, {u"clWebMediumTurquoise", 0xCCD148},
    {u"clWebTurquoise", 0xD0E040}, {u"clWebCyan", 0xFFFF00}, {u"clWebPowderBlue", 0xE6E0B0},
    {u"clWebSkyBlue", 0xEBCE87}, {u"clWebRoyalBlue", 0xE16941}, {u"clWebMediumBlue", 0xCD0000},
    {u"clWebMidnightBlue", 0x701919}, {u"clWebDarkTurquoise", 0xD1CE00}, {u"clWebCadetBlue", 0xA09E5F},
    {u"clWebDarkCyan", 0x8B8B00}, {u"clWebTeal", 0x808000}, {u"clWebDeepskyBlue", 0xFFBF00},
    {u"clWebDodgerBlue", 0xFF901E}, {u"clWebBlue", 0xFF0000}, {u"clWebNavy", 0x800000},
    {u"clWebDarkViolet", 0xD30094}, {u"clWebDarkOrchid", 0xCC3299}, {u"clWebMagenta", 0xFF00FF},
    {u"clWebDarkMagenta", 0x8B008B}, {u"clWebMediumVioletRed", 0x8515C7}, {u"clWebPaleVioletRed", 0x9370DB},
    {u"clWebBlueViolet", 0xE22B8A}, {u"clWebMediumOrchid", 0xD355BA}, {u"clWebMediumPurple", 0xDB7093},
    {u"clWebPurple", 0x800080}, {u"clWebDeepPink", 0x9314FF}, {u"clWebLightPink", 0xC1B6FF},
    {u"clWebViolet", 0xEE82EE}, {u"clWebOrchid", 0xD670DA}, {u"clWebPlum", 0xDDA0DD}, {u"clWebThistle", 0xD8BFD8},
    {u"clWebHotPink", 0xB469FF}, {u"clWebPink", 0xCBC0FF}, {u"clWebLightSteelBlue", 0xDEC4B0},
    {u"clWebMediumSlateBlue", 0xEE687B}, {u"clWebLightSlateGray", 0x998877}, {u"clWebWhite", 0xFFFFFF},
    {u"clWebLightgrey", 0xD3D3D3}, {u"clWebGray", 0x808080}, {u"clWebSteelBlue", 0xB48246},
    {u"clWebSlateBlue", 0xCD5A6A}, {u"clWebSlateGray", 0x908070}, {u"clWebWhiteSmoke", 0xF5F5F5},
    {u"clWebSilver", 0xC0C0C0}, {u"clWebDimGray", 0x696969}, {u"clWebMistyRose", 0xE1E4FF},
    {u"clWebDarkSlateBlue", 0x8B3D48}, {u"clWebDarkSlategray", 0x4F4F2F}, {u"clWebGainsboro", 0xDCDCDC},
    {u"clWebDarkGray", 0xA9A9A9}, {u"clWebBlack", 0x000000},
};

String Hex2(int V) { return IntToHex(static_cast<int32_t>(V & 0xFF), 2); }

}  // namespace

String WebColorName(TColor Color) {
  for (const TWebColor& c : WebColors)
    if (c.Value == Color) return c.Name;
  return String();
}

// ---------------------------------------------------------------------------
// Colour entries

void TColorItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(false);
}

void TColorItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed(false);
}

void TColorItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TColorItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetCaption(src->FCaption);
  SetColor(src->FColor);
  FEnabled = src->FEnabled;
  FHint = src->FHint;
}

// ---------------------------------------------------------------------------
// The picker

TAdvColorPickerDropDown::TAdvColorPickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)),
      FKeySearch(std::make_unique<TSelectorKeySearch>(this)) {
  FColors->OnChange = [](TObject*) {};
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetDropDownHeight(200);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetCursor(crArrow);
  // The base constructor made only the window; the list selector comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvColorPickerDropDown::~TAdvColorPickerDropDown() {
  FDestroying = true;
  FKeySearch->KeyTimer()->SetEnabled(false);
  if (FItemSelector != nullptr) {
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
  }
  if (FColorSelector != nullptr) FColorSelector->OnItemSelect = nullptr;
  if (FColorCubePanel != nullptr) FColorCubePanel->OnSelect = nullptr;
  if (FSpectrumPanel != nullptr) FSpectrumPanel->OnSelect = nullptr;
}

void TAdvColorPickerDropDown::AddDefaultColors() {
  static constexpr struct {
    const char16_t* Caption;
    TColor Color;
  } Defaults[] = {{u"Black", 0x000000}, {u"Maroon", 0x000080}, {u"Green", 0x008000},  {u"Olive", 0x008080},
                  {u"Navy", 0x800000},  {u"Purple", 0x800080}, {u"Teal", 0x808000},   {u"Gray", 0x808080},
                  {u"Silver", 0xC0C0C0}, {u"Red", 0x0000FF},   {u"Lime", 0x00FF00},   {u"Yellow", 0x00FFFF},
                  {u"Blue", 0xFF0000},  {u"Fuchsia", 0xFF00FF}, {u"Aqua", 0xFFFF00},  {u"White", 0xFFFFFF}};
  for (const auto& d : Defaults) {
    TColorItem* item = FColors->Add();
    item->SetCaption(d.Caption);
    item->SetColor(d.Color);
  }
}

String TAdvColorPickerDropDown::ColorValueToText() {
  if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
    return FColors->Items(FItemIndex)->Caption();
  const TColor v = FSelectedColor;
  const int32_t rgb = ColorToRGB(v);
  const int r = GetRValue(static_cast<COLORREF>(rgb)), g = GetGValue(static_cast<COLORREF>(rgb)),
            b = GetBValue(static_cast<COLORREF>(rgb));
  const String html = u"#" + Hex2(r) + Hex2(g) + Hex2(b);
  switch (FColorValueText) {
    case cvtNone: return String();
    // The value itself: blue, green, red digits; a system colour or clNone shows all eight.
    case cvtHex: return IntToHex(static_cast<uint32_t>(v), 6);
    case cvtWebName: {
      // clNone is no colour: it has no web name (the platform resolves it to white).
      const String name = v == clNone ? String() : WebColorName(rgb);
      return name.empty() ? html : name;
    }
    case cvtRGB: return u"Red:" + IntToStr(r) + u",Green:" + IntToStr(g) + u",Blue:" + IntToStr(b);
    case cvtHTML: return html;
  }
  return String();
}

void TAdvColorPickerDropDown::SetColorValueText(TColorValueText Value) {
  if (Value == FColorValueText) return;
  FColorValueText = Value;
  Invalidate();
}

void TAdvColorPickerDropDown::SetShowText(bool Value) {
  if (Value == FShowText) return;
  FShowText = Value;
  Invalidate();
}

void TAdvColorPickerDropDown::SetItemIndex(int Value) {
  // An index past the list is ignored; -1 keeps the colour.
  if (Value >= FColors->Count()) return;
  FItemIndex = Value;
  if (Value >= 0) FSelectedColor = FColors->Items(Value)->Color();
  Invalidate();
  if (OnSelect) OnSelect(this);
}

void TAdvColorPickerDropDown::SetSelectedColor(TColor Value) {
  if (Value == FSelectedColor) return;
  FSelectedColor = Value;
  int found = -1;
  for (int i = 0; i < FColors->Count() && found < 0; ++i)
    if (FColors->Items(i)->Color() == Value) found = i;
  if (found >= 0) SetItemIndex(found);
  // A colour of no entry: the edit shows it in its notation, not the last entry's caption.
  else FItemIndex = -1;
  Invalidate();
}

void TAdvColorPickerDropDown::SelectFirst() {
  if (FColors->Count() > 0) SetItemIndex(0);
}

void TAdvColorPickerDropDown::SelectLast() {
  if (FColors->Count() > 0) SetItemIndex(FColors->Count() - 1);
}

void TAdvColorPickerDropDown::SelectNext() {
  if (FColors->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex + 1 < FColors->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvColorPickerDropDown::SelectPrevious() {
  if (FColors->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

template <typename F>
void TAdvColorPickerDropDown::Internally(F Step) {
  TScopeGuard done([this] { FInternalCall = false; });
  FInternalCall = true;
  Step();
}

// ---------------------------------------------------------------------------
// The selectors

void TAdvColorPickerDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr || FColors == nullptr) return;
  switch (FColorSelectionStyle) {
    case csList: CreateItemSelector(); break;
    case csDiscrete: CreateColorSelector(); break;
    case csColorCube: CreateCubePanel(); break;
    case csSpectrum: CreateSpectrumPanel(); break;
  }
}

template <typename T, typename F>
void TAdvColorPickerDropDown::ReadyControl(T*& Control, F Made) {
  if (DropDownForm() == nullptr) return;
  if (Control == nullptr) {
    Control = new T(this);
    Control->SetParent(DropDownForm());
    Made(Control);
  }
  Control->SetBounds(0, 0, Control->Width(), Control->Height());
  Control->SetColor(DropDownColor());
  SetControl(Control);
}

void TAdvColorPickerDropDown::CreateItemSelector() {
  ReadyControl(FItemSelector, [](TAdvCustomItemSelector* S) {
    S->SetSelectorType(stColor);
    S->SetBounds(0, 0, S->Width(), 150);
    S->UpdateSelectorPanel();
  });
}

void TAdvColorPickerDropDown::CreateColorSelector() {
  ReadyControl(FColorSelector, [](TCustomColorSelector* S) {
    S->LoadDefaultPalette();
    S->UpdateLayout();
  });
}

void TAdvColorPickerDropDown::CreateCubePanel() {
  ReadyControl(FColorCubePanel, [](TAdvColorCubePanel*) {});
}

void TAdvColorPickerDropDown::CreateSpectrumPanel() {
  ReadyControl(FSpectrumPanel, [](TAdvColorSpectrumPanel*) {});
}

TControl* TAdvColorPickerDropDown::StyleControl() const {
  switch (FColorSelectionStyle) {
    case csList: return FItemSelector;
    case csDiscrete: return FColorSelector;
    case csColorCube: return FColorCubePanel;
    case csSpectrum: return FSpectrumPanel;
  }
  return nullptr;
}

void TAdvColorPickerDropDown::FillSelectorItems() {
  TSelectorItems* items = FItemSelector->Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < FColors->Count(); ++i) {
    TColorItem* src = FColors->Items(i);
    TSelectorItem* dst = items->Add();
    dst->SetCaption(src->Caption());
    dst->SetColor(src->Color());
    dst->SetHint(src->Hint());
  }
  items->EndUpdate();
}

void TAdvColorPickerDropDown::UpdateItemSelector() {
  if (FItemSelector == nullptr) return;
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetColumns(FColumns);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FillSelectorItems();
  FItemSelector->SetColorBoxHeight(FColorBoxHeight);
  FItemSelector->SetColorBoxWidth(FColorBoxWidth);
  FItemSelector->SetItemAppearance(FItemAppearance.get());
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject* S) { SelectorItemSelect(S); };
  FItemSelector->SetShowHint(ShowHint());
}

void TAdvColorPickerDropDown::PrepareStyleControl(bool Switching) {
  auto hideOthers = [this](TControl* Keep) {
    for (TControl* c : std::initializer_list<TControl*>{FItemSelector, FColorSelector, FColorCubePanel, FSpectrumPanel})
      if (c != nullptr && c != Keep) c->SetVisible(false);
  };
  switch (FColorSelectionStyle) {
    case csList:
      CreateItemSelector();
      if (FItemSelector == nullptr) return;
      if (Switching) FItemSelector->SetAlign(alNone);
      hideOthers(FItemSelector);
      UpdateItemSelector();
      if (OnDrawColor)
        FItemSelector->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int I) {
          if (OnDrawColor) OnDrawColor(this, C, R, I);
        };
      else FItemSelector->OnDrawItem = nullptr;
      FOldItemIndex = FItemIndex;
      if (Switching) FItemSelector->SetVisible(true);
      break;
    case csDiscrete:
      CreateColorSelector();
      if (FColorSelector == nullptr) return;
      // Unaligned: the palette lays itself out at its own size.
      FColorSelector->SetAlign(alNone);
      hideOthers(FColorSelector);
      FColorSelector->OnItemSelect = nullptr;
      FColorSelector->SetSelectedColor(FSelectedColor);
      FColorSelector->UpdateLayout();
      FColorSelector->OnItemSelect = [this](TObject* S) { ColorSelectorSelect(S); };
      FColorSelector->SetItemColorStyle(SelectionColorStyle());
      FColorSelector->SetVisible(true);
      break;
    case csColorCube:
      CreateCubePanel();
      if (FColorCubePanel == nullptr) return;
      FColorCubePanel->SetAlign(alNone);
      hideOthers(FColorCubePanel);
      FColorCubePanel->SetSelectedColor(FSelectedColor);
      FColorCubePanel->InitCube();
      FColorCubePanel->ResetPanel();
      FColorCubePanel->OnSelect = [this](TObject*) { PanelSelect(FColorCubePanel->SelectedColor()); };
      FColorCubePanel->SetVisible(true);
      break;
    case csSpectrum:
      CreateSpectrumPanel();
      if (FSpectrumPanel == nullptr) return;
      FSpectrumPanel->SetAlign(alNone);
      hideOthers(FSpectrumPanel);
      FSpectrumPanel->SetSelectedColor(FSelectedColor);
      FSpectrumPanel->ArrangePanel();
      FSpectrumPanel->OnSelect = [this](TObject*) { PanelSelect(FSpectrumPanel->SelectedColor()); };
      FSpectrumPanel->SetVisible(true);
      break;
  }
}

void TAdvColorPickerDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  PrepareStyleControl(false);
  FOldSelectedColor = FSelectedColor;
}

void TAdvColorPickerDropDown::PlaceDropDownControl() {
  TAdvCustomDropDown::PlaceDropDownControl();
  // The palette, cube and spectrum windows fit their control exactly: no size grip.
  if (FColorSelectionStyle != csList && DropDownForm() != nullptr) DropDownForm()->SetSizeable(false);
}

void TAdvColorPickerDropDown::SizeToPanel() {
  TDropDownForm* form = DropDownForm();
  if (form == nullptr) return;
  TControl* control = StyleControl();
  const bool shown = control != nullptr && control->Visible();
  if (control != nullptr) control->SetAlign(alNone);
  const int w = shown ? control->Width() + 2 * DropDownBorderWidth() : Width();
  int h = 2 * DropDownBorderWidth();
  if (form->Header() != nullptr && form->Header()->Visible()) h += form->Header()->Height();
  if (form->Footer() != nullptr && form->Footer()->Visible()) h += form->Footer()->Height();
  if (shown) h += control->Height();
  // Not resizable: a size the user left an earlier window at does not apply.
  FUserDropDownWidth = -1;
  FUserDropDownHeight = -1;
  form->SetBounds(form->Left(), form->Top(), w, h);
  if (control != nullptr) control->SetAlign(alClient);
}

void TAdvColorPickerDropDown::UpdateDropDownSize() {
  if (FColorSelectionStyle != csList) {
    SizeToPanel();
    return;
  }
  if (FItemSelector == nullptr) {
    TAdvCustomDropDown::UpdateDropDownSize();
    return;
  }
  FItemSelector->SetAlign(alNone);
  const TSize panel = FItemSelector->GetPanelSize();
  int w = FItemSelector->Width(), h = FItemSelector->Height();
  // The window's border is inside its width: the panel fits beside it without scrolling across.
  if (DropDownWidth() < 1) w = panel.cx + 2 * DropDownBorderWidth();
  if (DropDownHeight() < 1) h = panel.cy;
  FItemSelector->SetBounds(FItemSelector->Left(), FItemSelector->Top(), w, h);
  TAdvCustomDropDown::UpdateDropDownSize();
  TDropDownForm* form = DropDownForm();
  if (form == nullptr) return;
  // The list scrolls when the panel is taller than the window's inside (the scroll bar itself
  // follows only once the selector has been placed).
  if (FItemSelector->VertScrollBar()->IsScrollBarVisible() || panel.cy > form->ClientHeight()) {
    form->SetBounds(form->Left(), form->Top(), form->Width() + GetSystemMetrics(SM_CXVSCROLL), form->Height());
  }
}

void TAdvColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value) {
  if (Value == FColorSelectionStyle) return;
  FColorSelectionStyle = Value;
  if (ComponentState().Contains(csDesigning) || DropDownForm() == nullptr) return;
  PrepareStyleControl(true);
  // The new control fills the window, sized to it at once.
  FUserDropDownWidth = -1;
  FUserDropDownHeight = -1;
  if (Value == csList) {
    if (FItemSelector != nullptr) {
      UpdateDropDownSize();
      FItemSelector->SetAlign(alClient);
    }
  } else {
    SizeToPanel();
  }
  FOldSelectedColor = FSelectedColor;
  DropDownForm()->Invalidate();
}

void TAdvColorPickerDropDown::DoHideDropDown(bool Cancel) {
  TAdvCustomDropDown::DoHideDropDown(Cancel);
  if (!Cancel) return;
  if (FColorSelectionStyle == csList && FItemSelector != nullptr) {
    SetItemIndex(FOldItemIndex);
    // A free colour of the opening (no entry) comes back too, not the entry moved to.
    if (FSelectedColor != FOldSelectedColor) {
      FSelectedColor = FOldSelectedColor;
      Invalidate();
    }
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector != nullptr) {
    Internally([this] { FColorSelector->SetSelectedColor(FOldSelectedColor); });
    // A colour of the opening that is not in the palette comes back all the same.
    if (FSelectedColor != FOldSelectedColor) SetSelectedColor(FOldSelectedColor);
  }
}

void TAdvColorPickerDropDown::DropDownFormDestroyed() {
  TAdvCustomDropDown::DropDownFormDestroyed();
  if (FDestroying) return;
  // They were freed with the window.
  FItemSelector = nullptr;
  FColorSelector = nullptr;
  FColorCubePanel = nullptr;
  FSpectrumPanel = nullptr;
}

void TAdvColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TAdvCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector != nullptr) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TAdvColorPickerDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance != nullptr) ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---------------------------------------------------------------------------
// Choosing

void TAdvColorPickerDropDown::SelectorItemSelect(TObject*) {
  SetItemIndex(FItemSelector->ItemIndex());
  if (!FInternalCall) DoHideDropDown(false);
}

void TAdvColorPickerDropDown::ColorSelectorSelect(TObject*) {
  SetSelectedColor(FColorSelector->SelectedColor());
  SetItemIndex(-1);
  if (!FInternalCall) DoHideDropDown(false);
}

void TAdvColorPickerDropDown::PanelSelect(TColor Color) {
  SetSelectedColor(Color);
  SetItemIndex(-1);
  DoHideDropDown(false);
}

// ---------------------------------------------------------------------------
// Wheel and keys

void TAdvColorPickerDropDown::MouseWheelDownAction() {
  TAdvCustomDropDown::MouseWheelDownAction();
  if (!Enabled() || ReadOnly()) return;
  if (FColorSelectionStyle == csList && FItemSelector != nullptr) {
    if (FDroppedDown) FItemSelector->HotNext();
    else Internally([this] { FItemSelector->SelectNext(); });
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector != nullptr) {
    if (FDroppedDown) FColorSelector->HotNext();
    else Internally([this] { FColorSelector->SelectNext(); });
  }
}

void TAdvColorPickerDropDown::MouseWheelUpAction() {
  TAdvCustomDropDown::MouseWheelUpAction();
  if (!Enabled() || ReadOnly()) return;
  if (FColorSelectionStyle == csList && FItemSelector != nullptr) {
    if (FDroppedDown) FItemSelector->HotPrevious();
    else Internally([this] { FItemSelector->SelectPrevious(); });
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector != nullptr) {
    if (FDroppedDown) FColorSelector->HotPrevious();
    else Internally([this] { FColorSelector->SelectPrevious(); });
  }
}

void TAdvColorPickerDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  const bool open = FDroppedDown;
  bool handled = false;
  // 1. Enter on the hot item or box chooses it (and closes).
  if (Enabled() && open && key == VK_RETURN) {
    if (FColorSelectionStyle == csList && FItemSelector != nullptr && FItemSelector->ItemHot() >= 0) {
      FItemSelector->SetItemIndex(FItemSelector->ItemHot());
      handled = true;
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector != nullptr && FColorSelector->ItemHot() >= 0) {
      FColorSelector->SetItemIndex(FColorSelector->ItemHot());
      handled = true;
    }
  }
  // 2. Enter closes, Escape cancels, F4 and Alt+Up/Down toggle.
  if (!handled) TAdvCustomDropDown::WMKeyDown(Message);
  if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
  // 3. The list's moves choose without closing.
  if (FColorSelectionStyle == csList && FItemSelector != nullptr) {
    TAdvCustomItemSelector* sel = FItemSelector;
    auto refresh = [this, sel] {
      if (sel->Items()->Count() != FColors->Count()) UpdateItemSelector();
    };
    auto move = [&](int Target) {
      if (Target < 0 || Target >= sel->Items()->Count()) return;
      Internally([&] { sel->SetItemIndex(Target); });
      sel->ScrollItemInView(Target);
    };
    switch (key) {
      case VK_RETURN:
        if (!handled && OnSelect) OnSelect(this);
        break;
      case VK_PRIOR:
      case VK_NEXT: {
        refresh();
        const int n = sel->GetVisibleItemCount();
        if (n <= 0) break;
        const int i = sel->ItemIndex();
        move(key == VK_PRIOR ? std::max(i - n, 0) : std::min(i + n, FColors->Count() - 1));
        break;
      }
      case VK_END:
        if (open) Internally([sel] { sel->SelectLast(); });
        else SelectLast();
        break;
      case VK_HOME:
        if (open) Internally([sel] { sel->SelectFirst(); });
        else SelectFirst();
        break;
      case VK_LEFT:
        if (open && !FEditorEnabled) Internally([sel] { sel->SelectPrevious(); });
        break;
      case VK_RIGHT:
        if (open && !FEditorEnabled) Internally([sel] { sel->SelectNext(); });
        break;
      case VK_UP:
      case VK_DOWN:
        if (open) {
          const int i = sel->ItemIndex();
          move(i < 0 ? 0 : i + (key == VK_UP ? -FColumns : FColumns));
        } else {
          key == VK_UP ? SelectPrevious() : SelectNext();
        }
        break;
      default:
        // Type-ahead: only keys that type a character join the search.
        if (GetKeyState(VK_CONTROL) < 0 || TSelectorKeySearch::SearchChar(key) == 0) break;
        refresh();
        Internally([&] { FKeySearch->Key(sel, key); });
        break;
    }
    return;
  }
  // 4. The palette's moves, also without closing.
  if (FColorSelectionStyle == csDiscrete && FColorSelector != nullptr) {
    Internally([&] { FColorSelector->HandleKey(key, FEditorEnabled, open); });
    if (key == VK_RETURN && !handled && OnSelect) OnSelect(this);
  }
}

// ---------------------------------------------------------------------------
// The edit's content

void TAdvColorPickerDropDown::PaintNonEditable() {
  TAdvCustomDropDown::PaintNonEditable();
  PaintSelectedColor();
}

void TAdvColorPickerDropDown::PaintSelectedColor() {
  if (FPaintDC == nullptr) return;
  TCanvas canvas;
  canvas.SetHandle(FPaintDC);
  TScopeGuard detach([&canvas] { canvas.SetHandle(nullptr); });
  const TRect R(1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2);
  if (OnDrawSelectedColor) {
    OnDrawSelectedColor(this, &canvas, R);
    return;
  }
  if (FSelectedColor == clNone) return;
  const int top = (Height() - FColorBoxHeight) / 2 + R.Top;
  const TRect S(R.Left + 4, top, R.Left + 4 + FColorBoxWidth, top + FColorBoxHeight);
  canvas.Pen()->SetColor(clBlack);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(FSelectedColor);
  canvas.Rectangle(S);
  if (!FShowText) return;
  canvas.Font()->Assign(Font());
  const bool focused = Focused();
  if (!FEditorEnabled && focused) canvas.Font()->SetColor(clHighlightText);
  const String text = ColorValueToText();
  RECT tr = TRect(S.Right + 4, R.Top, R.Right, R.Bottom);
  canvas.Brush()->SetColor(focused ? clHighlight : Color());
  DrawText(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &tr, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
}
