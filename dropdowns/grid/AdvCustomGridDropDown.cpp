// The grid drop-down: columns and items, settings and looks, the item <-> row mapping, the
// lookup of typed characters, completion in the edit and the edit's keys.

#include "dropdowns/grid/AdvCustomGridDropDown.h"

#include <algorithm>

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace AdvCustomGridDropDown {

namespace {
int Len(const String& s) { return static_cast<int>(s.size()); }

String TrimBlanks(const String& s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}
}  // namespace

// ---------------------------------------------------------------------------
// Columns and items

TDropDownColumn::TDropDownColumn(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()) {}

TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TDropDownColumn*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FWordwrap = src->FWordwrap;
  FWidth = src->FWidth;
  FAutoSize = src->FAutoSize;
  FHeader = src->FHeader;
  FAlignment = src->FAlignment;
  FColor = src->FColor;
  FColumnType = src->FColumnType;
  FFont->Assign(src->FFont.get());
  FEllipsis = src->FEllipsis;
}

TDropDownColumns::TDropDownColumns(TPersistent* AOwner)
    : TCollection(ItemClassOf<TDropDownColumn>()), FMyOwner(AOwner) {}

TDropDownItem::TDropDownItem(TCollection* Collection)
    : TCollectionItem(Collection), FText(std::make_unique<TStringList>()) {}

TDropDownItem::~TDropDownItem() = default;

void TDropDownItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TDropDownItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FImageIndex = src->FImageIndex;
  FText->Assign(src->FText.get());
}

String TDropDownItem::ColumnText(int Column) const {
  return Column >= 0 && Column < FText->Count() ? FText->Strings(Column) : String();
}

TCollectionItemClass TDropDownItems::GetItemClass() { return ItemClassOf<TDropDownItem>(); }

TDropDownItems::TDropDownItems(TPersistent* AOwner) : TCollection(GetItemClass()), FMyOwner(AOwner) {}

// ---------------------------------------------------------------------------
// Construction and settings

TCustomAdvGridDropDown::TCustomAdvGridDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FHeaderFont(std::make_unique<TFont>()),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FLookupItems(std::make_unique<TStringList>()),
      FSearchFooter(std::make_unique<TSearchFooter>(this, false)),
      FBands(std::make_unique<TBands>()),
      FNavigation(std::make_unique<TNavigation>()),
      FMouseActions(std::make_unique<TMouseActions>(this)) {
  FItems = CreateItems(this);
  SetDropDownColor(0xFFFFFF);
  SetDropDownHeight(200);
  FItemIndex = -1;
  FOldItemIndex = -1;
  SetAutoSelect(true);
  SetSelectionColorStyle(scOffice2007);
  FNavigation->SetHomeEndKey(heFirstLastRow);
  // The base constructor made only the window; the grid comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TCustomAdvGridDropDown::~TCustomAdvGridDropDown() {
  if (FAdvColGrid != nullptr) {
    FAdvColGrid->OnSelectCell = nullptr;
    FAdvColGrid->OnSelect = nullptr;
    FAdvColGrid->SetAdvDropDown(nullptr);
  }
}

std::unique_ptr<TDropDownItems> TCustomAdvGridDropDown::CreateItems(TPersistent* AOwner) {
  return std::make_unique<TDropDownItems>(AOwner);
}

void TCustomAdvGridDropDown::Assign(TPersistent* Source) {
  TAdvCustomDropDown::Assign(Source);
  auto* src = dynamic_cast<TCustomAdvGridDropDown*>(Source);
  if (src == nullptr) return;
#define ADVGRIDDROPDOWN_COPY(Type, Name, Default) F##Name = src->F##Name;
  ADVGRIDDROPDOWN_PROPS(ADVGRIDDROPDOWN_COPY)
#undef ADVGRIDDROPDOWN_COPY
  FColumns->Assign(src->FColumns.get());
  FItems->Assign(src->FItems.get());
  FHeaderFont->Assign(src->FHeaderFont.get());
  FSearchFooter->Assign(src->FSearchFooter.get());
  FBands->Assign(src->FBands.get());
  FNavigation->Assign(src->FNavigation.get());
  FMouseActions->Assign(src->FMouseActions.get());
  FStyle = src->FStyle;
  FItemIndex = src->FItemIndex;
}

void TCustomAdvGridDropDown::Loaded() {
  TAdvCustomDropDown::Loaded();
  UpdateLookupItems();
  if (FUseItems && FAdvColGrid != nullptr) FAdvColGrid->LoadItems();
}

void TCustomAdvGridDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TAdvCustomDropDown::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FGridImages) {
    FGridImages = nullptr;
    if (FAdvColGrid != nullptr && !FAdvColGrid->IsDestroying()) FAdvColGrid->SetGridImages(nullptr);
  }
  if (AComponent == FAdvColGrid) FAdvColGrid = nullptr;
}

void TCustomAdvGridDropDown::SetGridImages(TCustomImageList* Value) {
  FGridImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (FAdvColGrid != nullptr) FAdvColGrid->SetGridImages(Value);
}

void TCustomAdvGridDropDown::SetStyle(TDropDownStyle Value) {
  FStyle = Value;
  SetEditorEnabled(Value == dsDropDown);
}

void TCustomAdvGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  switch (Value) {
    case scOffice2007:
      FLineColor = 0xF1EDEB;
      FFixedLineColor = 0xD1BBA4;
      SetSelectionColor(0x5EC1F1);
      break;
    case scWindowsVista:
    case scWindows7:
      SetSelectionColor(0xEACAB6);
      FLineColor = 0xECECF0;
      FFixedLineColor = 0xD4D2D1;
      break;
    default: break;
  }
  TAdvCustomDropDown::SetSelectionColorStyle(Value);
}

void TCustomAdvGridDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  struct TGridLook {
    TColor Header, HeaderTo, Font;  // Font clNone: unchanged
    int Style;                      // the selection style
    bool Custom;                    // the system's selection colours
    TColor Line, FixedLine;
  };
  constexpr TColor keep = clNone;
  static const TGridLook looks[] = {
      {0xD68759, 0x933803, 0xFFFFFF, scOffice2007, false, 0x962D00, 0x962D00},
      {0xBDA4A5, 0x957475, keep, scOffice2007, false, 0x947C7C, 0x947C7C},
      {0x82C0AF, 0x447A63, keep, scOffice2007, false, 0x588060, 0x588060},
      {0x808080, 0x808080, keep, scOffice2007, false, 0x808080, 0x808080},
      {0xFFEFE3, 0xFFD2AF, 0x723708, scOffice2007, false, 0xFFD2AF, 0xFFD2AF},
      {0xF2F1F0, 0xC9C2BD, 0x433C37, scOffice2007, false, 0x5C534C, 0x5C534C},
      {clBtnFace, clBtnFace, clBlack, scCustom, true, 0xC0C0C0, clBlack},
      {0xEBEEEF, 0x7E9898, 0xFFFFFF, scOffice2007, false, 0x962D00, 0x962D00},
      {},  // tsCustom changes nothing
      {0xF8F7F6, 0xE8E0DB, 0x8B4215, scOffice2007, false, 0x74706F, 0x74706F},
      {0xFFFDF9, 0xFFFAF0, clBlack, scWindowsVista, false, 0xFCF2DA, 0xFCF2DA},
      {0xFDFBFA, 0xFDF3EB, clBlack, scWindows7, false, 0xFBD6B8, 0xFBD6B8},
      {clBtnFace, clBtnFace, clBlack, scCustom, true, 0x808080, 0x808080},
  };
  // tsCustom and the Office 2010 looks change nothing beyond the framework's preset.
  if (AStyle == tsCustom || static_cast<size_t>(AStyle) >= std::size(looks)) return;
  const TGridLook& l = looks[AStyle];
  FHeaderColor = l.Header;
  FHeaderColorTo = l.HeaderTo;
  if (l.Font != keep) FHeaderFont->SetColor(l.Font);
  SetSelectionColorStyle(static_cast<TSelectionColorStyle>(l.Style));
  FSelectionTextColor = clBlack;
  if (l.Custom) {
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clHighlight);
    FSelectionTextColor = clHighlightText;
  }
  FLineColor = l.Line;
  FFixedLineColor = l.FixedLine;
}

// ---------------------------------------------------------------------------
// Items, rows and the edit text

String TCustomAdvGridDropDown::ItemText(int Item) const {
  if (Item < 0 || Item >= FItems->Count()) return String();
  return FItems->Items(Item)->ColumnText(FLookupColumn);
}

String TCustomAdvGridDropDown::RowText(int ARow) const {
  if (FAdvColGrid == nullptr || ARow < 0 || ARow >= FAdvColGrid->RowCount() || FLookupColumn < 0 ||
      FLookupColumn >= FAdvColGrid->ColCount())
    return String();
  return FAdvColGrid->Cells(FLookupColumn, ARow);
}

int TCustomAdvGridDropDown::RowToItem(int ARow) const {
  if (FAdvColGrid == nullptr || ARow < FAdvColGrid->FixedRows() || ARow >= FAdvColGrid->RowCount()) return ARow;
  if (!FUseItems) return ARow - FAdvColGrid->FixedRows();
  return static_cast<int>(reinterpret_cast<intptr_t>(FAdvColGrid->Objects(0, ARow)));
}

int TCustomAdvGridDropDown::ItemToRow(int AItem) const {
  if (FAdvColGrid == nullptr || AItem < 0) return -1;
  const int fixed = FAdvColGrid->FixedRows();
  if (!FUseItems) return AItem + fixed < FAdvColGrid->RowCount() ? AItem + fixed : -1;
  // The row an unsorted grid gives the item comes first, then every data row.
  const int guess = AItem + fixed;
  if (guess < FAdvColGrid->RowCount() && RowToItem(guess) == AItem) return guess;
  for (int r = fixed; r < FAdvColGrid->RowCount(); ++r)
    if (RowToItem(r) == AItem) return r;
  return -1;
}

int TCustomAdvGridDropDown::ItemCount() const {
  if (FUseItems) return FItems->Count();
  return FAdvColGrid != nullptr ? std::max(0, FAdvColGrid->RowCount() - FAdvColGrid->FixedRows()) : 0;
}

void TCustomAdvGridDropDown::WriteText(const String& Value) {
  TScopeGuard done([this] { FWriting = false; });
  FWriting = true;
  if (Value == Text()) {
    // The same text: nothing to report, but it is the point a cancel returns to.
    FOldText = Value;
    return;
  }
  SetText(Value);
}

void TCustomAdvGridDropDown::SetItemIndex(int Value) {
  if (FUseItems) {
    if (Value >= FItems->Count()) return;
    FItemIndex = Value;
    WriteText(Value >= 0 && FLookupColumn >= 0 ? ItemText(Value) : String());
    return;
  }
  if (FAdvColGrid == nullptr) {
    FItemIndex = Value;
    return;
  }
  const int fixed = FAdvColGrid->FixedRows();
  if (Value == FItemIndex || Value + fixed >= FAdvColGrid->RowCount()) return;
  FItemIndex = Value;
  WriteText(Value >= 0 ? RowText(Value + fixed) : String());
}

void TCustomAdvGridDropDown::UpdateLookupItems() {
  if (FLookupColumn < 0 || FItems->Count() == 0) return;
  FLookupItems->BeginUpdate();
  FLookupItems->Clear();
  for (int i = 0; i < FItems->Count(); ++i) FLookupItems->Add(ItemText(i));
  FLookupItems->EndUpdate();
}

void TCustomAdvGridDropDown::Step(int NewIndex) {
  const int n = ItemCount();
  if (n < 1) return;
  if (FItemIndex < 0) NewIndex = 0;
  SetItemIndex(std::clamp(NewIndex, 0, n - 1));
}

// ---------------------------------------------------------------------------
// Lookup of typed characters

int TCustomAdvGridDropDown::FindPrefix(const String& Entry) const {
  if (Entry.empty()) return -1;
  const String key = ApplyCaseSensitivity(Entry, FCaseSensitive);
  if (FUseItems) {
    const int n = FItems->Count();
    for (int i = 0; i < n; ++i) {
      const TStringList* t = FItems->Items(i)->Text();
      if (FLookupColumn < 0 || FLookupColumn >= t->Count()) continue;  // no text: no match
      if (StartsWithCased(t->Strings(FLookupColumn), Entry.size(), key, FCaseSensitive)) return i;
    }
    return -1;
  }
  if (FAdvColGrid == nullptr || FLookupColumn < 0 || FLookupColumn >= FAdvColGrid->ColCount()) return -1;
  for (int r = FAdvColGrid->FixedRows(); r < FAdvColGrid->RowCount(); ++r)
    if (StartsWithCased(FAdvColGrid->Cells(FLookupColumn, r), Entry.size(), key, FCaseSensitive)) return r;
  return -1;
}

int TCustomAdvGridDropDown::LookupKey(Char Key) {
  FLookupSelStart = -1;
  if (FLookupMethod == lmNone) return -1;
  const int pre = Len(Prefix());
  if (Key == u'\b') {
    const int s = SelStart() - pre, l = SelLength();
    String t = Text();
    if (FLookupMethod == lmNarrowDown || l <= 0) {
      // The last typed character goes; narrowing widens again by it.
      if (!FLookupEntry.empty()) FLookupEntry.pop_back();
      WriteText(FLookupEntry);
    } else {
      // Exactly the selection goes (the completed part); the typed entry stays.
      const int from = std::clamp(s, 0, Len(t));
      t.erase(static_cast<size_t>(from), static_cast<size_t>(std::min(l, Len(t) - from)));
      WriteText(t);
    }
    Select(pre + Len(Text()), 0);
    if (FLookupMethod == lmNarrowDown && FAdvColGrid != nullptr) {
      const String e = TrimBlanks(FLookupEntry);
      if (e.empty()) FAdvColGrid->RemoveAllFilters();
      else FAdvColGrid->NarrowDown(e, FLookupColumn);
    }
    return -1;
  }
  if (Key != u'\t') FLookupEntry += Key;
  const String e = TrimBlanks(FLookupEntry);

  if (FLookupMethod == lmNarrowDown) {
    if (FAdvColGrid == nullptr) return -1;
    if (e.empty()) {
      FAdvColGrid->RemoveAllFilters();
      return -1;
    }
    // The header stays even when no row matches.
    FAdvColGrid->SetFixedRowAlways(true);
    FAdvColGrid->NarrowDown(e, FLookupColumn);
    const int first = FAdvColGrid->FixedRows();
    const bool rows = FAdvColGrid->RowCount() > first;
    if (FStyle == dsDropDown && rows) {
      const String full = RowText(first);
      WriteText(full);
      const int typed = std::min(Len(e), Len(full));
      FLookupSelStart = typed;
      Select(pre + typed, Len(full) - typed);
    }
    return rows ? RowToItem(first) : -1;
  }

  auto show = [this, pre](int Found, int Typed) {
    FItemIndex = FUseItems ? Found : RowToItem(Found);
    const String full = FUseItems ? ItemText(Found) : RowText(Found);
    WriteText(full);
    const int typed = std::min(Typed, Len(full));
    if (FStyle == dsDropDown) {
      FLookupSelStart = typed;
      Select(pre + typed, Len(full) - typed);
    }
  };
  int found = FindPrefix(e);
  if (found >= 0) {
    show(found, Len(e));
    return found;
  }
  if (FStyle == dsDropDownList) {
    found = FindPrefix(String(1, Key));
    if (found >= 0) {
      show(found, 1);
      FLookupEntry = String(1, Key);
      return found;
    }
    FLookupEntry.clear();
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Completion and keys in the edit

void TCustomAdvGridDropDown::DoEnter() {
  TAdvCustomDropDown::DoEnter();
  FOldValue = Text();
  if (FAdvColGrid != nullptr) FAdvColGrid->RemoveAllFilters();
  FLookupEntry.clear();
}

void TCustomAdvGridDropDown::Change() {
  FItemChange = false;
  TAdvCustomDropDown::Change();
  if (ComponentState().Contains(csDesigning) || !workmode || FWriting) return;
  // A typed character completes once the edit has placed the caret after it (see WMChar).
  if (FInChar) FCompletePending = true;
  else Complete();
}

void TCustomAdvGridDropDown::Complete() {
  const String text = Text();
  SetModified(text != FOldValue);
  const int pre = Len(Prefix());
  const int caret = std::clamp(SelStart() - pre, 0, Len(text));
  const String typed = text.substr(0, static_cast<size_t>(caret));
  const String key = ApplyCaseSensitivity(typed, FMatchCase);
  if (FLookupItems->Count() > 0 && !typed.empty()) {
    for (int i = 0; i < FLookupItems->Count(); ++i) {
      const String entry = FLookupItems->Strings(i);
      if (!StartsWithCased(entry, typed.size(), key, FMatchCase)) continue;
      // A list older than the items (filled without EndUpdate) names no item past their end.
      if (i < FItems->Count()) FItemIndex = i;
      FItemIdx = i;
      FItemSel = caret;
      FItemChange = true;
      // The typed part as typed, then the whole rest of the entry.
      const String completed = typed + entry.substr(typed.size());
      WriteText(completed);
      if (completed != text) FItemChange = false;
      Select(pre + caret, Len(completed) - caret);
      return;
    }
  }
  if (!typed.empty()) {
    WriteText(typed);
    Select(pre + Len(typed), 0);
  }
}

void TCustomAdvGridDropDown::WMChar(TWMKey& Message) {
  const Char key = static_cast<Char>(Message.CharCode());
  const String before = EditText();
  {
    TScopeGuard done([this] { FInChar = false; });
    FInChar = true;
    FCompletePending = false;
    TAdvCustomDropDown::WMChar(Message);
  }
  if (key >= 32 && workmode && !FCompletePending && EditText() == before && FEditorEnabled && !ReadOnly() &&
      !ComponentState().Contains(csDesigning))
    FCompletePending = true;
  if (FCompletePending) {
    FCompletePending = false;
    Complete();
  }
  if (key == u'\b') {
    // The edit took the Backspace itself: the lookup entry follows what is left before the caret.
    const int caret = std::clamp(SelStart() - Len(Prefix()), 0, Len(Text()));
    FLookupEntry = Text().substr(0, static_cast<size_t>(caret));
    if (FLookupMethod == lmNarrowDown && FAdvColGrid != nullptr) {
      const String e = TrimBlanks(FLookupEntry);
      if (e.empty()) FAdvColGrid->RemoveAllFilters();
      else FAdvColGrid->NarrowDown(e, FLookupColumn);
    }
  } else if (key >= 32 || key == u'\t') {
    LookupKey(key);
  }
  if (FAutoShowDropDown && key >= 32 && !FDroppedDown) DoShowDropDown();
}

void TCustomAdvGridDropDown::KeyDown(Word& Key, TShiftState Shift) {
  if (FGridEditable && FAdvColGrid != nullptr && FAdvColGrid->EditMode() && Key == VK_RETURN &&
      !Shift.Contains(ssShift)) {
    FAdvColGrid->HideInplaceEdit();
    SetText(RowText(FAdvColGrid->Row()));
    SetItemIndex(FAdvColGrid->Row() - FAdvColGrid->FixedRows());
    Key = 0;
    return;
  }
  if (FLookupColumn < 0 || ItemCount() == 0) {
    TAdvCustomDropDown::KeyDown(Key, Shift);
    return;
  }
  workmode = !(Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE);
  if (Key == VK_RETURN) {
    const int i = FLookupItems->IndexOf(Text());
    if (i >= 0) {
      WriteText(FLookupItems->Strings(i));
      SetItemIndex(i);
      TScopeGuard done([this] { FWriting = false; });
      FWriting = true;
      Change();
    }
  }
  if (Key == VK_ESCAPE || (Key >= VK_PRIOR && Key <= VK_DOWN)) FLookupEntry.clear();
  TAdvCustomDropDown::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    const int i = FLookupItems->IndexOf(Text());
    if (i >= 0) SetItemIndex(i);
    else FItemIndex = -1;
  }
}

void TCustomAdvGridDropDown::KeyPress(Char& Key) {
  if (Key == u'\r' && ReturnIsTab()) {
    Key = 0;
    return;
  }
  TAdvCustomDropDown::KeyPress(Key);
}

void TCustomAdvGridDropDown::KeyUp(Word& Key, TShiftState Shift) {
  if (!(Key == VK_RETURN && ReturnIsTab())) TAdvCustomDropDown::KeyUp(Key, Shift);
  if (FGridEditable && FAdvColGrid != nullptr && FAdvColGrid->EditMode() && Key == VK_RETURN &&
      !Shift.Contains(ssShift)) {
    if (FAdvColGrid->Col() == FLookupColumn) DoHideDropDown(false);
    else FAdvColGrid->HideInplaceEdit();
  }
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  const int pre = Len(Prefix());
  Select(pre + FItemSel, std::max(0, Len(Text()) - FItemSel));
  FItemChange = false;
}

void TCustomAdvGridDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  // With ReturnIsTab the framework turns Enter into Tab before the key handling sees it.
  if (key == VK_RETURN && ReturnIsTab() && FEditorEnabled && FLookupColumn >= 0 && FItems->Count() > 0) {
    const int i = FLookupItems->IndexOf(Text());
    if (i >= 0) SetItemIndex(i);
  }
  if (key == VK_RETURN && FAdvColGrid != nullptr) FAdvColGrid->SetConfirmSelection(true);
  TAdvCustomDropDown::WMKeyDown(Message);
  if (!Enabled() || GetKeyState(VK_MENU) < 0 || FDroppedDown) return;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (key) {
    case VK_PRIOR: FLookupEntry.clear(); Step(FItemIndex - 10 >= 0 ? FItemIndex - 10 : 0); break;
    case VK_NEXT: FLookupEntry.clear(); Step(FItemIndex + 10 < ItemCount() ? FItemIndex + 10 : ItemCount() - 1); break;
    case VK_UP: FLookupEntry.clear(); Step(FItemIndex - 1); break;
    case VK_DOWN: FLookupEntry.clear(); Step(FItemIndex + 1); break;
    case VK_HOME:
      if (!shift && FStyle == dsDropDownList) {
        FLookupEntry.clear();
        Step(0);
      }
      break;
    case VK_END:
      if (!shift && FStyle == dsDropDownList) {
        FLookupEntry.clear();
        Step(ItemCount() - 1);
      }
      break;
    default: break;
  }
}

void TCustomAdvGridDropDown::MouseWheelDownAction() {
  TAdvCustomDropDown::MouseWheelDownAction();
  // Over the open grid the wheel moves the grid's row only; the value waits for a confirmation.
  if (!FDroppedDown) Step(FItemIndex + 1);
}

void TCustomAdvGridDropDown::MouseWheelUpAction() {
  TAdvCustomDropDown::MouseWheelUpAction();
  if (!FDroppedDown) Step(FItemIndex - 1);
}

}  // namespace AdvCustomGridDropDown
