#pragma once
// Menus: the form's main menu, pop-up menus and their items, and shortcuts.
//
// A caption of "-" is a separator line; '&' marks the item's access key ("&&" shows '&').
// Only the shortcuts of a form's main menu and of the pop-up menu currently assigned to the
// form (its PopupMenu) work on that form; they take precedence over the key handlers of the
// focused control. A shortcut clicks the item when the item and its parent items are enabled,
// also when the item is hidden.

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"

class TCustomForm;

// ---- shortcuts: a virtual key code in the low byte, modifiers in the high bits
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+O", "Shift+F8", "F7", "Shift+Ctrl+Del"; empty for scNone.
String ShortCutToText(TShortCut ShortCut);
// The inverse of ShortCutToText (modifiers in any order, any case); scNone for unknown text.
TShortCut TextToShortCut(const String& Text);

class TMenu;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  // Frees the sub-items and leaves the parent item.
  ~TMenuItem() override;
  String ClassName() const override { return u"TMenuItem"; }

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);
  // Checking a radio item unchecks the radio items of the same parent and GroupIndex.
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t v);
  // Clicking toggles Checked.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  // The default item of a pop-up menu is shown in bold.
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  const String& Hint() const { return FHint; }
  void SetHint(const String& v) { FHint = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);

  // ---- sub-items
  int Count() const { return int(FItems.size()); }
  // Raises EMenuError out of range.
  TMenuItem* Items(int Index) const;
  TMenuItem* operator[](int Index) const { return Items(Index); }
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void SetMenuIndex(int v);
  int IndexOf(const TMenuItem* Item) const;
  // Appends (an item that has a parent raises EMenuError).
  void Add(TMenuItem* Item);
  void Add(std::initializer_list<TMenuItem*> AItems);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  // The sub-item whose caption, without '&', is ACaption (case-insensitive); nullptr if none.
  TMenuItem* Find(const String& ACaption) const;
  bool IsLine() const { return FCaption == u"-"; }
  // The menu the item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;

  // Runs the item's action: toggles an AutoCheck item, then OnClick. Nothing when disabled.
  virtual void Click();
  TNotifyEvent OnClick;

protected:
  // Tells the menu that its look changed.
  void MenuChanged();

private:
  friend class TMenu;
  void TurnSiblingsOff();
  String FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FRadioItem = false;
  uint8_t FGroupIndex = 0;
  bool FAutoCheck = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  String FHint;
  int FImageIndex = -1;
  std::vector<TMenuItem*> FItems;  // owned: freed with this item
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // for the root item of a menu
};

RTL_EXCEPTION(EMenuError, Exception);

enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  String ClassName() const override { return u"TMenu"; }

  // The root item; the menu's items are its sub-items.
  TMenuItem* Items() const { return FItems; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  // The first item (depth first) with the shortcut, hidden or not; nullptr if none.
  TMenuItem* FindItem(TShortCut ShortCut) const;
  // Clicks the item of the shortcut when it and its parents are enabled; true when clicked.
  bool IsShortCut(Word Key, TShiftState Shift);

protected:
  friend class TMenuItem;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The items changed (caption, state, structure).
  virtual void MenuChanged() {}

private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
};

// The form's menu bar. A main menu made with a form as its owner becomes that form's menu
// when the form has none yet; SetFormMenu changes it. The bar lies above the form's client
// area: ClientRect, alignment and child positions start below it, and the form keeps its
// client size when the bar comes, goes or changes height (Height follows). A menu without
// visible items shows no bar.
class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  String ClassName() const override { return u"TMainMenu"; }

  // The form showing this menu, or nullptr.
  TCustomForm* Form() const { return FForm; }

protected:
  void MenuChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend void SetFormMenu(TCustomForm* Form, TMainMenu* Menu);
  friend struct TMenuBarView;
  TCustomForm* FForm = nullptr;
  std::unique_ptr<struct TMenuBarData> FBar;
};

// The main menu of a form (nullptr for none) and its change; a menu leaves its former form.
TMainMenu* FormMenu(const TCustomForm* Form);
void SetFormMenu(TCustomForm* Form, TMainMenu* Menu);
// Height of the menu bar a form shows (0 without a main menu).
int FormMenuHeight(const TCustomForm* Form);

enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  String ClassName() const override { return u"TPopupMenu"; }

  // Shows the menu at a screen position and waits until it closes; the chosen item is
  // clicked after that. OnPopup runs first.
  virtual void Popup(int X, int Y);
  // The control whose context menu request showed the menu last.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment v) { FAlignment = v; }

  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
};

// Removes '&' access-key marks ("&&" stays as one '&').
String StripHotkey(const String& Text);
// Whether Key is the access key of Text (the character after its first single '&'), in any case.
bool IsAccel(Char Key, const String& Text);
