#pragma once
// The colour selector panels of the colour picker drop-down: a discrete palette of colour
// boxes (TCustomColorSelector), a hexagonal colour cube of 127 cells (TAdvColorCubePanel) and a
// spectrum picture from which the colour under the pointer is taken (TAdvColorSpectrumPanel).
// Each keeps a selected colour, paints itself on its own canvas, sizes itself and reports a
// choice through its own event; none knows of the drop-down around it.

#include <array>
#include <cstdint>
#include <memory>

#include "dropdowns/AdvDropDown.h"

// The number under which the spectrum's eyedropper cursor is registered in Screen->Cursors.
constexpr TCursor crEyeDropper = 54;

// The eyedropper cursor (32 x 32, two colours, hot spot 1, 30), made by our own code and kept
// in the program's resources as "ZOL_POINTER"; registered on first use.
HCURSOR LoadEyeDropperCursor();
// The 128 x 128 spectrum picture: hue across (red at both edges), white at the top through the
// full colours (rows 63 and 64) to black at the bottom.
void PaintSpectrum(TBitmap* Bitmap);

// The spectrum picture of the spectrum panel: a 128 x 128 bitmap drawn at its natural size.
class TSpectrumImage : public TGraphicControl {
public:
  explicit TSpectrumImage(TComponent* AOwner);
  ~TSpectrumImage() override;
  String ClassName() const override { return u"TSpectrumImage"; }
  TBitmap* Bitmap() const { return FBitmap.get(); }

protected:
  void Paint() override;

private:
  std::unique_ptr<TBitmap> FBitmap;
};

// The common base: the cube and the spectrum fire OnShouldHide when the button is released
// over them.
class TAdvCustomColorSelectorPanel : public TCustomControl {
public:
  explicit TAdvCustomColorSelectorPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
  String ClassName() const override { return u"TAdvCustomColorSelectorPanel"; }
  TNotifyEvent OnShouldHide;

protected:
  // Unhandled turns go to the window holding the panel (a drop-down's window).
  void WMMouseWheel(TWMMouseWheel& Message) override;
};

// Where a box of the palette stands in a vertical strip of joined boxes.
enum TItemPos : uint8_t { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxAppearance : public TPersistent {
public:
  TColorBoxAppearance() = default;
  String ClassName() const override { return u"TColorBoxAppearance"; }
  // Copies the five colours from another box appearance.
  void Assign(TPersistent* Source) override;

#define BOX_COLOR(Name, Initial) \
  TColor Name() const { return F##Name; } \
  void Set##Name(TColor v) { F##Name = v; } \
  TColor F##Name = Initial;
  BOX_COLOR(BorderColor, 0xC5C5C5)
  BOX_COLOR(OuterBorderColorHot, 0x3694F2)
  BOX_COLOR(InnerBorderColorHot, 0x94E2FF)
  BOX_COLOR(OuterBorderColorSelected, 0x0000FF)
  BOX_COLOR(InnerBorderColorSelected, 0x94E2FF)
#undef BOX_COLOR

  TNotifyEvent OnChange;
};

class TColorBoxItem : public TCollectionItem {
public:
  explicit TColorBoxItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String ClassName() const override { return u"TColorBoxItem"; }
  // Copies Color (through the setter) and Enabled, not the position.
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  TItemPos ColorBoxPos() const { return FColorBoxPos; }
  void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }
  // The box in control coordinates, written by the layout.
  const TRect& Rect() const { return FRect; }

private:
  friend class TCustomColorSelector;
  TColor FColor = clNone;
  bool FEnabled = true;
  TRect FRect;
  TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public TCollection {
public:
  explicit TColorBoxItems(TPersistent* AOwner) : TCollection(ItemClassOf<TColorBoxItem>()), FMyOwner(AOwner) {}
  String ClassName() const override { return u"TColorBoxItems"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TColorBoxItem* Add() { return static_cast<TColorBoxItem*>(TCollection::Add()); }
  TColorBoxItem* Insert(int Index) { return static_cast<TColorBoxItem*>(TCollection::Insert(Index)); }
  TColorBoxItem* Items(int Index) const { return static_cast<TColorBoxItem*>(TCollection::Items(Index)); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange(this);
  }

private:
  TPersistent* FMyOwner;
};

// The discrete palette: boxes in rows of Columns, hot under the mouse, one selected.
class TCustomColorSelector : public TAdvCustomColorSelectorPanel {
public:
  explicit TCustomColorSelector(TComponent* AOwner);
  ~TCustomColorSelector() override;
  String ClassName() const override { return u"TCustomColorSelector"; }

  TColorBoxAppearance* ColorBoxAppearance() const { return FColorBoxAppearance.get(); }
  void SetColorBoxAppearance(TColorBoxAppearance* Value) { FColorBoxAppearance->Assign(Value); }
  TColorBoxItems* Items() const { return FItems.get(); }
  void SetItems(TColorBoxItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // Selects a box and fires OnItemSelect (also for the current box); a disabled box and an
  // index past the last box are ignored; a negative index selects nothing and fires nothing.
  void SetItemIndex(int Index);
  int ItemHot() const { return FItemHot; }
  // Nothing for the current hot box or a disabled one; no event.
  void SetItemHot(int Index);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  int ColumnGap() const { return FColumnGap; }
  void SetColumnGap(int Value);
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value);
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value);
  TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
  void SetItemColorStyle(TSelectionColorStyle Value);
  TColor SelectedColor() const { return FSelectedColor; }
  // Selects the first box of exactly this colour (firing OnItemSelect), else nothing.
  void SetSelectedColor(TColor Value);

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  // The navigation keys (Page Up/Down, Home, End, arrows) of the picker's edit.
  void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);
  // (-1, -1, -1, -1) outside the boxes.
  TRect GetItemRect(int Index) const;
  // The first box holding the point (right and bottom edges excluded), -1 if none.
  int ItemAtPos(int X, int Y) const;
  void DrawItems(TCanvas* ACanvas);
  // Clears the boxes and adds the 60 colours of the default palette (6 rows of 10).
  void LoadDefaultPalette();

  TNotifyEvent OnItemSelect;

  int FOffSetX = 4, FOffSetY = 4;

  virtual void DrawItem(int Index, TCanvas* ACanvas);
  virtual void GetInnerRect(TRect& R);
  virtual void GetItemSize(TSize& Size);
  virtual void UpdateLayout();
  virtual void InvalidateItem(int Index);

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  bool IsEnabledBox(int Index) const { return Index >= 0 && Index < FItems->Count() && FItems->Items(Index)->Enabled(); }
  int FItemIndex = -1;
  int FItemHot = -1;
  int FColumns = 10;
  int FColumnGap = 4;
  int FColorBoxHeight = 12, FColorBoxWidth = 12;
  std::unique_ptr<TColorBoxAppearance> FColorBoxAppearance;
  std::unique_ptr<TColorBoxItems> FItems;
  TSelectionColorStyle FItemColorStyle = scOffice2007;
  TColor FSelectedColor = clNone;
};

// The colour cube: 127 hexagonal cells in 13 rows (7 to 13 to 7 cells), numbered 1 to 127.
class TAdvColorCubePanel : public TAdvCustomColorSelectorPanel {
public:
  struct TCubeCell {
    int X = 0, Y = 0;
    TColor Color = clNone;
  };
  static constexpr int CellCount = 127;

  explicit TAdvColorCubePanel(TComponent* AOwner);
  String ClassName() const override { return u"TAdvColorCubePanel"; }

  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor Value) { SelectColor(Value, -1); }
  // The colour and its cell: Index when it is a cell number, else the first cell of exactly
  // this colour, else none. No repaint.
  void SelectColor(TColor Color, int Index);
  int SelectedIndex() const { return FSelectedIndex; }
  int HotIndex() const { return FHotIndex; }
  bool ShowRGBHint() const { return FShowRGBHint; }
  void SetShowRGBHint(bool Value);
  // Cell N (1 to 127); a default cell outside.
  TCubeCell Cell(int N) const;

  void InitCube();
  // Clears the hot cell and sizes the panel (182 x 160).
  void ResetPanel();
  // The first cell whose centre lies within 6 pixels of the point, -1 if none.
  int CellAtPos(int X, int Y) const;

  TNotifyEvent OnSelect;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void DrawHexagon(TCanvas* ACanvas, TPoint Centre, int W, int H);
  void DrawCubeCell(TCanvas* ACanvas, int N);
  void InvalidateCell(int N);
  std::array<TCubeCell, CellCount + 1> FCubeCells{};
  TPoint FCubeSize{6, 3};
  TColor FSelectedColor = clNone;
  int FSelectedIndex = -1;
  int FHotIndex = -1;
  bool FShowRGBHint = true;
};

// The spectrum: the picture with the chosen colour (left) and the colour under the pointer
// (right) below it.
class TAdvColorSpectrumPanel : public TAdvCustomColorSelectorPanel {
public:
  explicit TAdvColorSpectrumPanel(TComponent* AOwner);
  String ClassName() const override { return u"TAdvColorSpectrumPanel"; }

  TColor SelectedColor() const { return FSelectedColor; }
  // Stores; no repaint.
  void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
  TColor HotColor() const { return FHotColor; }
  TSpectrumImage* SpectrumImage() const { return FSpectrumImage; }
  TRect SelectedRect() const { return FSelectedRect; }
  TRect HotRect() const { return FHotRect; }
  // Sizes the panel (150 x 174), places the picture and the swatches and clears the hot colour.
  void ArrangePanel();

  TNotifyEvent OnSelect;

protected:
  void Paint() override;

private:
  void ImageMouseMove(TShiftState Shift, int X, int Y);
  void ImageMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void DrawSwatch(TCanvas* ACanvas, const TRect& R, TColor Color);
  TSpectrumImage* FSpectrumImage;
  TColor FHotColor = clNone;
  TColor FSelectedColor = 0xFFFFFF;
  TRect FHotRect, FSelectedRect;
};
