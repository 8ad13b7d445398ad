#pragma once
// A pick-only drop-down whose value is a colour. The edit paints a swatch of the colour and,
// optionally, its text: the caption of the chosen entry of Colors, or the colour written in
// one of four notations. The pop-up shows one of four selectors: the list of Colors (an item
// selector in colour mode), a 60-colour palette, a colour cube or a spectrum. The palette,
// cube and spectrum are made the first time their style is needed and then kept.

#include <memory>

#include "dropdowns/AdvColorSelectors.h"
#include "dropdowns/AdvDetailDropDown.h"
#include "dropdowns/AdvDropDownSelector.h"

enum TColorSelectionStyle : uint8_t { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText : uint8_t { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

class TColorItem : public TCollectionItem {
public:
  explicit TColorItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String ClassName() const override { return u"TColorItem"; }
  // Copies Caption and Color (through the setters), Enabled and Hint.
  void Assign(TPersistent* Source) override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }

private:
  String FCaption;
  TColor FColor = clNone;
  bool FEnabled = true;
  String FHint;
};

class TColorItems : public TCollection {
public:
  explicit TColorItems(TPersistent* AOwner) : TCollection(ItemClassOf<TColorItem>()), FMyOwner(AOwner) {}
  String ClassName() const override { return u"TColorItems"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TColorItem* Add() { return static_cast<TColorItem*>(TCollection::Add()); }
  TColorItem* Insert(int Index) { return static_cast<TColorItem*>(TCollection::Insert(Index)); }
  TColorItem* Items(int Index) const { return static_cast<TColorItem*>(TCollection::Items(Index)); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange(this);
  }

private:
  TPersistent* FMyOwner;
};

// The name of a colour in the web colour table (138 entries), empty when none has its value.
String WebColorName(TColor Color);

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvColorPickerDropDown(TComponent* AOwner);
  ~TAdvColorPickerDropDown() override;
  String ClassName() const override { return u"TAdvColorPickerDropDown"; }

  // Appends the 16 default colours (Black .. White) whatever the list holds.
  void AddDefaultColors();

  TColorItems* Colors() const { return FColors.get(); }
  void SetColors(TColorItems* Value) { FColors->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // An entry of Colors (its colour becomes the value) or -1 (the colour stays); fires OnSelect
  // also for the current entry. An index at or past the end of Colors is ignored.
  void SetItemIndex(int Value);
  TColor SelectedColor() const { return FSelectedColor; }
  // Stores a new colour; the first entry of Colors with it is selected (OnSelect), and a
  // colour no entry has clears ItemIndex.
  void SetSelectedColor(TColor Value);
  // The caption of the list entry (list style), else the colour in ColorValueText's notation.
  virtual String ColorValueToText();
  String SelectedColorText() { return ColorValueToText(); }

  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TColorValueText ColorValueText() const { return FColorValueText; }
  void SetColorValueText(TColorValueText Value);
  TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
  // Switches the pop-up's selector at once, sized to it.
  void SetColorSelectionStyle(TColorSelectionStyle Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);

  // The selectors (null until their style is first needed).
  TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
  TCustomColorSelector* ColorSelector() const { return FColorSelector; }
  TAdvColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
  TAdvColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }

  void SetSelectionColorStyle(TSelectionColorStyle Value) override;
  void SetComponentStyle(TZOLStyle AStyle) override;

  // Fired whenever ItemIndex is set.
  TNotifyEvent OnSelect;
  // Replaces the painting of the edit's content.
  TOnDrawSelectedItem OnDrawSelectedColor;
  // Replaces the content drawing of the list items.
  TSelectorDrawItemEvent OnDrawColor;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void PlaceDropDownControl() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownFormDestroyed() override;
  void MouseWheelDownAction() override;
  void MouseWheelUpAction() override;
  void PaintNonEditable() override;
  void WMKeyDown(TWMKey& Message) override;

private:
  // Makes Control once (Made readies a new one) in the window; every call places it at the
  // window's origin in the drop-down colour and makes it the drop-down's control.
  template <typename T, typename F>
  void ReadyControl(T*& Control, F Made);
  void CreateItemSelector();
  void CreateColorSelector();
  void CreateCubePanel();
  void CreateSpectrumPanel();
  // Makes (once) and loads the control of the current style, the others hidden.
  void PrepareStyleControl(bool Switching);
  void UpdateItemSelector();
  void FillSelectorItems();
  void PaintSelectedColor();
  void SelectorItemSelect(TObject* Sender);
  void ColorSelectorSelect(TObject* Sender);
  void PanelSelect(TColor Color);
  // The window sized to the palette, cube or spectrum plus its border.
  void SizeToPanel();
  TControl* StyleControl() const;
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  // Runs Step with FInternalCall set: the selector's event does not close the window.
  template <typename F>
  void Internally(F Step);

  TAdvCustomItemSelector* FItemSelector = nullptr;
  TAdvColorCubePanel* FColorCubePanel = nullptr;
  TAdvColorSpectrumPanel* FSpectrumPanel = nullptr;
  TCustomColorSelector* FColorSelector = nullptr;
  int FColumns = 1;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TColorItems> FColors;
  int FItemIndex = -1;
  int FColorBoxWidth = 14, FColorBoxHeight = 14;
  TColorSelectionStyle FColorSelectionStyle = csList;
  TColor FSelectedColor = clNone;
  bool FShowText = true;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FInternalCall = false;
  std::unique_ptr<TSelectorKeySearch> FKeySearch;
  int FOldItemIndex = -1;
  TColor FOldSelectedColor = clNone;
  TColorValueText FColorValueText = cvtNone;
  bool FDestroying = false;
};
