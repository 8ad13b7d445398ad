#pragma once
// A drop-down whose pop-up lists detail items, one per row: a caption, optional notes in
// mini-HTML and a picture or image-list image. Choosing an item writes its caption into the
// edit; typing in the edit completes the text with the first caption that starts with it.
// While open, the arrows, Page Up/Down, Home and End move the selection (the edit follows) and
// letters and digits look the items up; Escape returns to the item of the moment it opened.

#include <functional>
#include <memory>

#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvDropDownSelector.h"

class TDetailItem : public TPickerItem {
public:
  explicit TDetailItem(TCollection* Collection) : TPickerItem(Collection) {}
  String ClassName() const override { return u"TDetailItem"; }
  // Copies Caption, ImageIndex, the picture and Enabled (not the notes).
  void Assign(TPersistent* Source) override;
  // Mini-HTML.
  const String& Notes() const { return FNotes; }
  void SetNotes(const String& Value) { FNotes = Value; }

private:
  String FNotes;
};

class TDetailItems : public TPickerItems<TDetailItem> {
public:
  using TPickerItems::TPickerItems;
  String ClassName() const override { return u"TDetailItems"; }
  // The first item whose caption equals AValue exactly, -1 if none.
  int IndexOf(const String& AValue) const;
};

class TAdvDetailDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvDetailDropDown(TComponent* AOwner);
  ~TAdvDetailDropDown() override;
  String ClassName() const override { return u"TAdvDetailDropDown"; }

  TDetailItems* Items() const { return FItems.get(); }
  void SetItems(TDetailItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // An item: its caption in the edit, all selected, then OnSelect. -1 clears the text without
  // OnSelect. The current index and other values do nothing.
  void SetItemIndex(int Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value) { FItemHeight = Value; }
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value) { FCaptionFont->Assign(Value); }
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); }
  // Completion compares captions case-sensitively.
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool Value) { FMatchCase = Value; }
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool Value) { FMatchStart = Value; }
  TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();

  void SetSelectionColorStyle(TSelectionColorStyle Value) override;
  void SetComponentStyle(TZOLStyle AStyle) override;

  TNotifyEvent OnSelect;
  // Draws an item's content in place of the caption, notes and picture.
  TOnDrawSelectedItem OnDrawSelectedImage;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoShowDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownFormSizing() override;
  void MouseWheelDownAction() override;
  void MouseWheelUpAction() override;
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;

private:
  // Completes the typed text with the first matching caption.
  void Complete();
  void InitItemSelector();
  void CopyItemsToSelector();
  void SelectorItemSelected(TObject* Sender);
  void SelectorItemSize(TObject* Sender, TSize& ASize);
  void SelectorDrawItem(TObject* Sender, TCanvas* Canvas, TRect R, int Index);
  // Selects Index in the open selector without closing it; false outside the items.
  bool SelectInternally(int Index);
  // Writes the caption of Index and selects the whole text.
  void ShowItemCaption(int Index);

  TAdvCustomItemSelector* FItemSelector = nullptr;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TDetailItems> FItems;
  int FItemIndex = -1;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FInternalCall = false;
  std::unique_ptr<TSelectorKeySearch> FKeySearch;
  int FOldItemIndex = -1;
  int FItemHeight = 22;
  std::unique_ptr<TFont> FCaptionFont;
  std::unique_ptr<TFont> FNotesFont;
  bool FWorkMode = true;
  bool FCompleting = false;  // the completion's own text change does not complete again
  bool FInChar = false;      // a typed character is going into the edit
  bool FCompletePending = false;
  int FItemIdx = -1;         // the last completion's index (-1: none)
  bool FMatchCase = false;
  bool FMatchStart = false;
};
