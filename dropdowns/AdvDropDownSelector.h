#pragma once
// The item selector of the picker drop-downs. It belongs to the drop-down unit and is kept in a
// header of its own beside AdvDropDown.h: TAdvCustomItemSelector is a scrolling window that owns
// the items, their colours and the layout settings; its one inner panel, TCustomItemSelector,
// lays the items out in rows and columns, paints them with hot and selected states, follows the
// mouse and moves the selection. A picker creates the selector with its drop-down window as
// parent, fills the items, makes it its control (SetControl) and reacts to OnItemSelect; it may
// take over the cell size (OnItemSize) and the drawing of the cell content (OnDrawItem).

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dropdowns/AdvDropDown.h"
#include "platform/ui/Timers.h"

enum TSelectorType : uint8_t { stImage, stColor };
// Where the caption stands relative to the image or colour box.
enum TItemLayout : uint8_t { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// (The class library's list boxes already name their own owner-draw event TDrawItemEvent.)
using TSelectorDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, int Index)>;
// The pickers' own drawing: an item's content (detail drop-down) or the choice in the edit
// (image picker).
using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;
// The handler sets both cx and cy.
using TItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;

// What the pickers' items share: a caption, an image-list index, a picture and the enabled
// flag. Caption and ImageIndex report a change to the collection; the picture does not.
class TPickerItem : public TCollectionItem {
public:
  explicit TPickerItem(TCollection* Collection);
  ~TPickerItem() override;
  String ClassName() const override { return u"TPickerItem"; }

  // Mini-HTML allowed in the item selector.
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  TPicture* Image() const { return FImage.get(); }
  // Copies into the owned picture.
  void SetImage(TPicture* Value) { FImage->Assign(Value); }

protected:
  // Copies Caption and ImageIndex (through the setters), the picture and Enabled from another
  // picker item; false for any other source.
  bool AssignItem(TPersistent* Source);
  String FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  std::unique_ptr<TPicture> FImage;
};

// The item list of a picker: items of class T, OnChange fired by every change.
template <typename T>
class TPickerItems : public TCollection {
public:
  explicit TPickerItems(TPersistent* AOwner) : TCollection(ItemClassOf<T>()), FMyOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FMyOwner; }
  T* Add() { return static_cast<T*>(TCollection::Add()); }
  T* Insert(int Index) { return static_cast<T*>(TCollection::Insert(Index)); }
  T* Items(int Index) const { return static_cast<T*>(TCollection::Items(Index)); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange(this);
  }

private:
  TPersistent* FMyOwner;
};

class TSelectorItem : public TPickerItem {
public:
  explicit TSelectorItem(TCollection* Collection) : TPickerItem(Collection) {}
  String ClassName() const override { return u"TSelectorItem"; }
  // Copies Caption, Color, ImageIndex, the picture, Enabled and Hint.
  void Assign(TPersistent* Source) override;

  // The box colour of a colour selector; clNone draws the box outline only.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // The item's cell in panel coordinates, written by the layout.
  const TRect& Rect() const { return FRect; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }

private:
  friend class TCustomItemSelector;
  TColor FColor = clNone;
  TRect FRect;
  String FHint;
};

class TSelectorItems : public TPickerItems<TSelectorItem> {
public:
  using TPickerItems::TPickerItems;
  String ClassName() const override { return u"TSelectorItems"; }
};

class TCustomItemSelector;

class TAdvCustomItemSelector : public TScrollingWinControl {
public:
  explicit TAdvCustomItemSelector(TComponent* AOwner);
  ~TAdvCustomItemSelector() override;
  String ClassName() const override { return u"TAdvCustomItemSelector"; }

  TSelectorItems* Items() const { return FItems.get(); }
  void SetItems(TSelectorItems* Value) { FItems->Assign(Value); }
  TSelectorType SelectorType() const { return FSelectorType; }
  void SetSelectorType(TSelectorType Value);
  // Stored only; the owner lays the selector out again after changing it.
  TItemLayout ItemLayout() const { return FItemLayout; }
  void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
  int Columns() const { return FColumns; }
  // Values below 1 are ignored.
  void SetColumns(int Value);
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value);
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TCustomItemSelector* ItemSelectorPanel() const { return FItemSelectorPanel; }

  // The panel's selection (-1 without one); writing selects and scrolls the item into view.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  int ItemHot() const;

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  // Selects the first item whose plain, trimmed, upper-cased caption starts with S.
  bool LookupItem(const String& S);
  void ScrollItemInView(int Index);
  // Items in one page of the window (0 without items or for cells less than a pixel high).
  int GetVisibleItemCount() const;
  // The panel's size, 100 x 50 without a panel.
  TSize GetPanelSize() const;
  // Lays the panel out again.
  void UpdateSelectorPanel();

  // Fired with the selector as sender whenever the panel's selection is set.
  TNotifyEvent OnItemSelect;
  TSelectorDrawItemEvent OnDrawItem;
  TItemSizeEvent OnItemSize;

protected:
  virtual void CreateSelectorPanel();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void WMMouseWheel(TWMMouseWheel& Message) override;

private:
  // A move of the panel's selection (or hot item), then that item scrolled into view.
  void PanelStep(void (TCustomItemSelector::*Step)(), bool Hot);
  std::unique_ptr<TSelectorItems> FItems;
  TSelectorType FSelectorType = stImage;
  TItemLayout FItemLayout = ilCaptionRight;
  int FColumns = 1;
  int FColorBoxWidth = 14;
  int FColorBoxHeight = 14;
  TCustomImageList* FImages = nullptr;
  TCustomItemSelector* FItemSelectorPanel = nullptr;
  std::unique_ptr<TItemAppearance> FItemAppearance;
};

// The inner panel; its owner must be a TAdvCustomItemSelector ("Invalid parent" otherwise).
class TCustomItemSelector : public TCustomControl {
public:
  explicit TCustomItemSelector(TComponent* AOwner);
  String ClassName() const override { return u"TCustomItemSelector"; }

  int ItemIndex() const { return FItemIndex; }
  // Selects Value and fires OnItemSelect (also for the current item); a disabled item is
  // ignored; -1 and any index outside the items clear the selection and fire nothing.
  void SetItemIndex(int Value);
  int ItemHot() const { return FItemHot; }
  // Nothing for the current hot item or a disabled one.
  void SetItemHot(int Index);
  TAdvCustomItemSelector* AdvItemSelector() const { return FAdvItemSelector; }

  // Views of the host's settings.
  int Columns() const { return FAdvItemSelector->Columns(); }
  TSelectorItems* Items() const { return FAdvItemSelector->Items(); }
  TSelectorType SelectorType() const { return FAdvItemSelector->SelectorType(); }
  TItemLayout ItemLayout() const { return FAdvItemSelector->ItemLayout(); }
  TCustomImageList* Images() const { return FAdvItemSelector->Images(); }
  TItemAppearance* Appearance() const { return FAdvItemSelector->ItemAppearance(); }
  int ColorBoxWidth() const { return FAdvItemSelector->ColorBoxWidth(); }
  int ColorBoxHeight() const { return FAdvItemSelector->ColorBoxHeight(); }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  bool LookupItem(const String& S);
  // (-1, -1, -1, -1) outside the items.
  TRect GetItemRect(int Index) const;
  int ItemAtPos(int X, int Y) const;
  // Draws the items in view that the canvas's clip touches.
  void DrawItems(TCanvas* ACanvas);
  // The part of the panel the host shows, in the panel's coordinates.
  TRect VisibleRect() const;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnItemSelect;

  // The panel's margin and the padding inside each cell.
  int FOffSetX = 2, FOffSetY = 2;
  int FItemOffSetX = 4, FItemOffSetY = 4;
  int FCaptionGap = 4;

  virtual void DrawItem(int Index, TCanvas* ACanvas);
  virtual void GetInnerRect(TRect& R);
  virtual void GetItemSize(TSize& Size);
  virtual void InvalidateItem(int Index);
  virtual void UpdateLayout();

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMMouseWheel(TWMMouseWheel& Message) override;

private:
  bool IsEnabledItem(int Index) const;
  // The content size of one item: its picture, else its image-list image, else nothing.
  TSize ImageSize(TSelectorItem* Item) const;
  void DrawContent(TCanvas* ACanvas, TSelectorItem* Item, int X, int Y, int W, int H);

  int FItemIndex = -1;
  int FItemHot = -1;
  TAdvCustomItemSelector* FAdvItemSelector;
  // The plain upper-case captions LookupItem compares with, made on first need after a layout.
  std::vector<String> FLookupKeys;
  // Each caption's size as the layout measured it (empty when a handler sized the cells).
  std::vector<TSize> FCaptionSizes;
};

// The type-ahead of the picker drop-downs: each key's printable character (letters and digits
// as their upper-case characters, numpad digits, space) is added to the search text and the
// selector looks the text up; other keys (Shift, function keys, punctuation codes) add
// nothing. The search text is forgotten 500 ms after the key that began it.
class TSelectorKeySearch {
public:
  explicit TSelectorKeySearch(TComponent* AOwner);
  // True when Key added a character (the lookup then ran).
  bool Key(TAdvCustomItemSelector* Selector, Word Key);
  const String& Search() const { return FCurSearch; }
  TTimer* KeyTimer() const { return FKeyTimer; }
  // The character a virtual key types into a search, 0 for none.
  static Char SearchChar(Word Key);

private:
  void KeyTimerTick();
  TTimer* FKeyTimer;  // owned by AOwner
  String FCurSearch;
};
