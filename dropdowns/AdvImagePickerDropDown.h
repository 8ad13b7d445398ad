#pragma once
// A drop-down for choosing one image out of a list. The edit takes no typing: it shows the
// chosen item's picture (or image-list image) centred in its text area. The pop-up shows the
// items in an item selector of Columns columns. Items come from code, from the image files in a
// folder (AddImagesFromFolder) or from the drop-down's image list.

#include <functional>
#include <memory>

#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvDropDownSelector.h"

class TImageItem : public TPickerItem {
public:
  explicit TImageItem(TCollection* Collection) : TPickerItem(Collection) {}
  String ClassName() const override { return u"TImageItem"; }
  // Copies Caption, ImageIndex, the picture, Enabled and Hint.
  void Assign(TPersistent* Source) override;
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }

private:
  friend class TAdvImagePickerDropDown;
  String FHint;
};

class TImageItems : public TPickerItems<TImageItem> {
public:
  using TPickerItems::TPickerItems;
  String ClassName() const override { return u"TImageItems"; }
};

// True when Name matches the file mask ('*' any run, '?' one character), letters in any case;
// "*.*" matches every name, also one without an extension.
bool MatchesFileMask(const String& Name, const String& Mask);

class TAdvImagePickerDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvImagePickerDropDown(TComponent* AOwner);
  ~TAdvImagePickerDropDown() override;
  String ClassName() const override { return u"TAdvImagePickerDropDown"; }

  // Stored only; the next opening uses them.
  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  TImageItems* Items() const { return FItems.get(); }
  void SetItems(TImageItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // Selects Value (every negative value means none), repaints, fires OnChange then OnSelect;
  // nothing for the current index or one past the items.
  void SetItemIndex(int Value);
  // The chosen item's image index (-1 without one); writing chooses the first item with it.
  int ImageIndex() const;
  void SetImageIndex(int Value);
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  // AFolder is a folder and a file mask ("pictures/*.png"; '\' separates folders too). Each
  // matching entry, in name order, becomes an item loaded from its file; an entry that does
  // not load (a sub-folder, a damaged or unknown picture) gives an item with no picture.
  // SetImageCaption captions the items with the file names.
  void AddImagesFromFolder(const String& AFolder, bool SetImageCaption);
  // One item per image of Images.
  void AddImagesFromImageList();

  void SetSelectionColorStyle(TSelectionColorStyle Value) override;
  void SetComponentStyle(TZOLStyle AStyle) override;

  TNotifyEvent OnSelect;
  // Draws the selection in the edit in place of the item's picture.
  TOnDrawSelectedItem OnDrawSelectedImage;
  TSelectorDrawItemEvent OnDrawItem;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancel) override;
  void MouseWheelDownAction() override;
  void MouseWheelUpAction() override;
  void PaintNonEditable() override;
  void WMKeyDown(TWMKey& Message) override;

private:
  void InitItemSelector();
  void CopyItemsToSelector();
  void SelectorItemSelected(TObject* Sender);
  // Selects Index in the selector without closing the window; false outside its items.
  bool SelectInternally(int Index);
  void RunInternally(void (TAdvCustomItemSelector::*Step)());
  // The chosen picture centred in the edit's text area, on the painting DC.
  void PaintSelectedImage();

  TAdvCustomItemSelector* FItemSelector = nullptr;
  int FColumns = 1;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TImageItems> FItems;
  int FItemIndex = -1;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FInternalCall = false;
  std::unique_ptr<TSelectorKeySearch> FKeySearch;
  int FOldItemIndex = -1;
};
