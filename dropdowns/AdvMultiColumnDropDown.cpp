// The multi-column drop-down: columns and items, opening and closing the list, the open-list
// search, completion in the edit and the edit's cursor keys.

#include "dropdowns/AdvMultiColumnDropDown.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace AdvMultiColumnDropDown {

namespace {
int Len(const String& s) { return static_cast<int>(s.size()); }
}  // namespace

std::vector<int> FitColumnWidths(const std::vector<int>& Designed, int Avail) {
  int total = 1;
  for (int w : Designed) total += w;
  const double ratio = double(Avail) / double(total);
  double carry = 0;
  std::vector<int> out;
  out.reserve(Designed.size());
  for (int w : Designed) {
    const double exact = w * ratio;
    const double r = std::nearbyint(exact);  // ties to even
    carry += exact - r;
    if (carry > 1.0) {
      out.push_back(int(r) + 1);
      carry -= 1.0;
    } else {
      out.push_back(int(r));
    }
  }
  return out;
}

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

TDropDownItems::TDropDownItems(TPersistent* AOwner) : TCollection(ItemClassOf<TDropDownItem>()), FMyOwner(AOwner) {}

int TDropDownItems::IndexInColumn(int Column, const String& Value) const {
  for (int i = 0; i < Count(); ++i) {
    const TStringList* t = Items(i)->Text();
    if (Column >= 0 && Column < t->Count() && t->Strings(Column) == Value) return i;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Construction and settings

TAdvMultiColumnDropDown::TAdvMultiColumnDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FItems(std::make_unique<TDropDownItems>(this)),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()),
      FLookupItems(std::make_unique<TStringList>()) {
  // The look the base applied at construction colours the header font; the header and line
  // colours then take the values of a new drop-down.
  FHeaderFont->SetColor(0x723708);
  FHeaderColor = 0xFFFFFF;
  FHeaderColorTo = 0x808080;
  SetDropDownColor(clWhite);
  SetDropDownHeight(200);
  SetAutoSelect(true);
  SetSelectionColorStyle(scOffice2007);
  // The base constructor made only the window; the grid comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvMultiColumnDropDown::~TAdvMultiColumnDropDown() {
  if (FAdvColGrid != nullptr) {
    FAdvColGrid->OnSelectCell = nullptr;
    FAdvColGrid->OnSelect = nullptr;
    FAdvColGrid->SetAdvDropDown(nullptr);
  }
}

void TAdvMultiColumnDropDown::Assign(TPersistent* Source) {
  TAdvCustomDropDown::Assign(Source);
  auto* src = dynamic_cast<TAdvMultiColumnDropDown*>(Source);
  if (src == nullptr) return;
  FCaseSensitive = src->FCaseSensitive;
  FDropDownAutoWidth = src->FDropDownAutoWidth;
  FDropDownRowHeight = src->FDropDownRowHeight;
  FLineColor = src->FLineColor;
  FFixedLineColor = src->FFixedLineColor;
  FColumnSizing = src->FColumnSizing;
  FColumnSizeWithDropDown = src->FColumnSizeWithDropDown;
  FColumns->Assign(src->FColumns.get());
  FHeaderColor = src->FHeaderColor;
  FHeaderColorTo = src->FHeaderColorTo;
  FHeaderHeight = src->FHeaderHeight;
  FHeaderFont->Assign(src->FHeaderFont.get());
  FLookupColumn = src->FLookupColumn;
  FSelectionTextColor = src->FSelectionTextColor;
  FItems->Assign(src->FItems.get());
  FItemIndex = src->FItemIndex;
}

void TAdvMultiColumnDropDown::Loaded() {
  TAdvCustomDropDown::Loaded();
  UpdateLookupItems();
}

void TAdvMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  switch (Value) {
    case scOffice2007:
      FLineColor = 0xF1EDEB;
      FFixedLineColor = 0xD1BBA4;
      break;
    case scWindowsVista:
    case scWindows7:
      FLineColor = 0xECECF0;
      FFixedLineColor = 0xD4D2D1;
      break;
    default: break;
  }
  TAdvCustomDropDown::SetSelectionColorStyle(Value);
}

void TAdvMultiColumnDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  if (FHeaderFont == nullptr) return;  // the base constructor's call: the constructor colours the header itself
  struct TListLook {
    TColor Header, HeaderTo, Font;  // Font clNone: unchanged
    int Style;                      // -1: no selection style call
    TColor Sel, SelTo, SelText;     // Sel clNone: the style's preset
    TColor Line, FixedLine;
  };
  constexpr TColor keep = clNone;
  static const TListLook looks[] = {
      {0xD68759, 0x933803, clWhite, scOffice2007, keep, keep, clBlack, 0x962D00, 0x962D00},
      {0xBDA4A5, 0x957475, keep, scOffice2007, keep, keep, clBlack, 0x947C7C, 0x947C7C},
      {0x82C0AF, 0x447A63, keep, scOffice2007, keep, keep, clBlack, 0x588060, 0x588060},
      {0x808080, 0x808080, keep, scOffice2007, keep, keep, clBlack, 0x808080, 0x808080},
      {0xFFEFE3, 0xFFD2AF, 0x723708, scOffice2007, keep, keep, clBlack, 0xFFD2AF, 0xFFD2AF},
      {0xF2F1F0, 0xC9C2BD, 0x433C37, scOffice2007, keep, keep, clBlack, 0x5C534C, 0x5C534C},
      {clBtnFace, clBtnFace, clBlack, scCustom, clHighlight, clHighlight, clHighlightText, 0xC0C0C0, clBlack},
      {0xEBEEEF, 0x7E9898, clWhite, scOffice2007, keep, keep, clBlack, 0x962D00, 0x962D00},
      {},  // tsCustom changes nothing
      {0xF8F7F6, 0xE8E0DB, 0x8B4215, scOffice2007, keep, keep, clBlack, 0x74706F, 0x74706F},
      {0xFFFDF9, 0xFFFAF0, clBlack, scWindowsVista, keep, keep, clBlack, 0xFCF2DA, 0xFCF2DA},
      {0xFDFBFA, 0xFDF3EB, clBlack, scWindows7, keep, keep, clBlack, 0xFBD6B8, 0xFBD6B8},
      {clBtnFace, clBtnFace, clBlack, scCustom, clHighlight, clHighlight, clHighlightText, 0x808080, 0x808080},
      {0xEDDBCD, clNone, 0x5B391E, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack, 0xEEDDCF, 0xEEDDCF},
      {0xEDE9E5, clNone, 0x5B391E, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack, 0xEEDDCF, 0xEEDDCF},
      {0x828282, clNone, 0xD7D7D6, scCustom, 0x6CD0FF, 0x6CD0FF, clBlack, 0xEEDDCF, 0xEEDDCF},
  };
  if (AStyle == tsCustom || static_cast<size_t>(AStyle) >= std::size(looks)) return;
  const TListLook& l = looks[AStyle];
  FHeaderColor = l.Header;
  FHeaderColorTo = l.HeaderTo;
  if (l.Font != keep) FHeaderFont->SetColor(l.Font);
  SetSelectionColorStyle(static_cast<TSelectionColorStyle>(l.Style));
  if (l.Sel != keep) {
    SetSelectionColor(l.Sel);
    SetSelectionColorTo(l.SelTo);
  }
  FSelectionTextColor = l.SelText;
  FLineColor = l.Line;
  FFixedLineColor = l.FixedLine;
}

// ---------------------------------------------------------------------------
// Items and the edit text

String TAdvMultiColumnDropDown::LookupText(int Index) const {
  if (Index < 0 || Index >= FItems->Count()) return String();
  return FItems->Items(Index)->ColumnText(FLookupColumn);
}

void TAdvMultiColumnDropDown::WriteText(const String& Value) {
  TScopeGuard done([this] { FWriting = false; });
  FWriting = true;
  if (Value == Text()) {
    // The same text: no change to report, but it is the point a cancel returns to.
    FOldText = Value;
    SetModified(false);
    return;
  }
  SetText(Value);
}

void TAdvMultiColumnDropDown::SetItemIndex(int Value) {
  if (Value >= FItems->Count()) return;
  FItemIndex = Value;
  WriteText(Value < 0 || FLookupColumn < 0 ? String() : LookupText(Value));
}

int TAdvMultiColumnDropDown::GetItemIndex(const String& Value) const {
  for (int i = 0; i < FItems->Count(); ++i)
    if (LookupText(i) == Value) return i;
  return -1;
}

void TAdvMultiColumnDropDown::UpdateLookupItems() {
  if (FLookupColumn < 0 || FItems->Count() == 0) return;
  FLookupItems->BeginUpdate();
  FLookupItems->Clear();
  for (int i = 0; i < FItems->Count(); ++i) FLookupItems->Add(LookupText(i));
  FLookupItems->EndUpdate();
}

void TAdvMultiColumnDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvMultiColumnDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvMultiColumnDropDown::SelectNext() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvMultiColumnDropDown::SelectPrevious() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TAdvMultiColumnDropDown::SelectNextPage() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else SetItemIndex(FItemIndex + 10 < FItems->Count() ? FItemIndex + 10 : FItems->Count() - 1);
}

void TAdvMultiColumnDropDown::SelectPreviousPage() {
  if (FItems->Count() == 0) return;
  if (FItemIndex < 0) SetItemIndex(0);
  else SetItemIndex(std::max(FItemIndex - 10, 0));
}

// ---------------------------------------------------------------------------
// Opening and closing

void TAdvMultiColumnDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr || FItems == nullptr) return;
  if (FAdvColGrid == nullptr) {
    FAdvColGrid = new TAdvColGrid(this);
    FAdvColGrid->SetParent(DropDownForm());
    FFocusControl = FAdvColGrid;
  }
  FAdvColGrid->SetAdvDropDown(this);
  FAdvColGrid->SetBounds(0, 0, FAdvColGrid->Width(), 180);
  FAdvColGrid->SetColor(DropDownColor());
}

void TAdvMultiColumnDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  if (DropDownForm() == nullptr || FAdvColGrid == nullptr) return;
  // A click elsewhere closes without cancelling.
  DropDownForm()->SetCancelOnDeActivate(false);
  FShowing = true;
  FAdvColGrid->SetupFromDropDown(this);
  TGridOptions o = FAdvColGrid->Options();
  o += goThumbTracking;
  FAdvColGrid->SetOptions(o);
  FAdvColGrid->SetColor(DropDownColor());
  FAdvColGrid->OnSelectCell = [this](TObject* S, int C, int R, bool& Can) { GridSelectCell(S, C, R, Can); };
  FAdvColGrid->OnSelect = [this](TObject* S) { GridSelect(S); };
  // A row confirmed at an earlier opening is not taken again.
  FAdvColGrid->FConfirmSelection = false;
  // Without items the grid has only the header row: there is no row to go to.
  if (FAdvColGrid->RowCount() > 1) FAdvColGrid->SetRow(ItemRow());
  FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::DoShowDropDown() {
  TScopeGuard done([this] { FShowing = false; });
  TAdvCustomDropDown::DoShowDropDown();
  if (FAdvColGrid == nullptr || !FDroppedDown) return;
  SizeColumnsToDropDown();
  if (FAdvColGrid->RowCount() > 1) {
    const int row = ItemRow();
    FAdvColGrid->SetRow(row);
    const TRect r = FAdvColGrid->GetCellArea(0, row);
    if (r.Left <= 0 && r.Top <= 0) FAdvColGrid->SetTopRow(row - FAdvColGrid->VisibleRowCount() + 1);
  }
}

int TAdvMultiColumnDropDown::ItemRow() const {
  return FItemIndex >= 0 && FItemIndex + 1 < FAdvColGrid->RowCount() ? FItemIndex + 1 : 1;
}

void TAdvMultiColumnDropDown::PlaceDropDownControl() {
  SetControl(FAdvColGrid);
  TAdvCustomDropDown::PlaceDropDownControl();
}

void TAdvMultiColumnDropDown::UpdateDropDownSize() {
  TAdvCustomDropDown::UpdateDropDownSize();
  if (!FDropDownAutoWidth || DropDownForm() == nullptr || FAdvColGrid == nullptr) return;
  const int w = FAdvColGrid->GetNeededWidth();
  FAdvColGrid->SetAlign(alNone);
  FAdvColGrid->SetWidth(w);
  DropDownForm()->SetWidth(FAdvColGrid->Width() + 2 * DropDownBorderWidth());
  FAdvColGrid->SetAlign(alClient);
}

void TAdvMultiColumnDropDown::DoHideDropDown(bool Cancel) {
  if (DropDownForm() == nullptr || !DropDownForm()->Visible()) {
    TAdvCustomDropDown::DoHideDropDown(Cancel);
    return;
  }
  TAdvCustomDropDown::DoHideDropDown(Cancel);
  if (Cancel) SetItemIndex(FOldItemIndex);
  else if (FAdvColGrid != nullptr && FAdvColGrid->FConfirmSelection) SetItemIndex(FAdvColGrid->Row() - 1);
  FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::DropDownFormSizing() {
  TAdvCustomDropDown::DropDownFormSizing();
  SizeColumnsToDropDown();
}

void TAdvMultiColumnDropDown::SizeColumnsToDropDown() {
  if (!FColumnSizeWithDropDown || FColumns->Count() == 0 || FAdvColGrid == nullptr || DropDownForm() == nullptr)
    return;
  FAdvColGrid->SetScrollBars(ssVertical);
  std::vector<int> designed;
  for (int i = 0; i < FColumns->Count(); ++i) designed.push_back(FColumns->Items(i)->Width());
  int avail = DropDownForm()->Width();
  if (FAdvColGrid->VisibleRowCount() < FAdvColGrid->RowCount() - FAdvColGrid->FixedRows())
    avail -= GetSystemMetrics(SM_CXVSCROLL);
  const std::vector<int> widths = FitColumnWidths(designed, avail);
  for (int i = 0; i < FAdvColGrid->ColCount() && i < static_cast<int>(widths.size()); ++i)
    FAdvColGrid->SetColWidths(i, std::max(0, widths[i]));
}

// ---------------------------------------------------------------------------
// Choosing in the open list

void TAdvMultiColumnDropDown::GridSelectCell(TObject*, int, int ARow, bool&) {
  if (FShowing || FAdvColGrid == nullptr || FAdvColGrid->FMouseWheelSelection) return;
  SetItemIndex(ARow - 1);
}

void TAdvMultiColumnDropDown::GridSelect(TObject*) {
  if (FAdvColGrid != nullptr && FAdvColGrid->FConfirmSelection) SetItemIndex(FAdvColGrid->Row() - 1);
  DoHideDropDown(false);
  if (OnSelect) OnSelect(this);
}

void TAdvMultiColumnDropDown::DropDownControlKeyDown(Word& Key, TShiftState Shift) {
  const bool moving = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
  if (!moving || Shift.Contains(ssAlt)) TAdvCustomDropDown::DropDownControlKeyDown(Key, Shift);
}

void TAdvMultiColumnDropDown::DropDownControlKeyUp(Word& Key, TShiftState Shift) {
  const bool moving = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
  if (!moving || Shift.Contains(ssAlt)) TAdvCustomDropDown::DropDownControlKeyUp(Key, Shift);
}

int TAdvMultiColumnDropDown::FindLookupMatch(const String& Entry) const {
  if (Entry.empty()) return -1;
  const String key = ApplyCaseSensitivity(Entry, FCaseSensitive);
  const int n = FItems->Count();
  for (int i = 0; i < n; ++i) {
    const TStringList* t = FItems->Items(i)->Text();
    if (FLookupColumn < 0 || FLookupColumn >= t->Count()) continue;  // no text: no match
    if (StartsWithCased(t->Strings(FLookupColumn), Entry.size(), key, FCaseSensitive)) return i;
  }
  return -1;
}

int TAdvMultiColumnDropDown::LookupKey(Char Key) {
  FLookupSelStart = -1;
  const int pre = Len(Prefix());
  if (Key == u'\b') {
    const int s = SelStart() - pre, l = SelLength();
    String t = Text();
    if (l > 0) {
      // Exactly the selection goes.
      const int from = std::clamp(s, 0, Len(t));
      t.erase(static_cast<size_t>(from), static_cast<size_t>(std::min(l, Len(t) - from)));
      WriteText(t);
    } else {
      if (!FLookupEntry.empty()) FLookupEntry.pop_back();
      WriteText(FLookupEntry);
    }
    Select(pre + Len(Text()), 0);
    return -1;
  }
  if (Key != u'\t') FLookupEntry += Key;
  auto show = [this, pre](int Index, int Typed) {
    FItemIndex = Index;
    const String full = LookupText(Index);
    WriteText(full);
    FLookupSelStart = Typed;
    Select(pre + Typed, Len(full) - Typed);
  };
  int i = FindLookupMatch(FLookupEntry);
  if (i >= 0) {
    show(i, Len(FLookupEntry));
    return i;
  }
  i = FindLookupMatch(String(1, Key));
  if (i >= 0) {
    show(i, 0);
    FLookupSelStart = -1;
    FLookupEntry = String(1, Key);
    return i;
  }
  FLookupEntry.clear();
  return -1;
}

void TAdvMultiColumnDropDown::DropDownControlKeyPress(Char& Key) {
  if (FAdvColGrid == nullptr) return;
  if (Key == u'\r' || Key == 27 || FAdvColGrid->Options().Contains(goEditing)) {
    FLookupEntry.clear();
    return;
  }
  const int i = LookupKey(Key);
  Key = 0;
  if (i < 0) {
    FLookupEntry.clear();
    return;
  }
  const int selStart = FLookupSelStart;
  const int row = i + FAdvColGrid->FixedRows();
  if (row >= FAdvColGrid->RowCount()) return;  // items added while open show at the next opening
  if (row >= FAdvColGrid->TopRow() + FAdvColGrid->VisibleRowCount() || row < FAdvColGrid->TopRow())
    FAdvColGrid->SetTopRow(row);
  FAdvColGrid->SetRow(row);
  if (FAdvColGrid->Col() != 0) FAdvColGrid->SetCol(0);
  // The row's own write of the text leaves the typed part and the selected rest as the search left them.
  const int pre = Len(Prefix());
  const int len = Len(Text());
  if (selStart >= 0) Select(pre + selStart, len - selStart);
  else Select(pre + len, 0);
}

void TAdvMultiColumnDropDown::MouseWheelDownAction() {
  TAdvCustomDropDown::MouseWheelDownAction();
  // Over the open list the wheel moves the list's row only; the value waits for a confirmation.
  if (!FDroppedDown) SelectNext();
}

void TAdvMultiColumnDropDown::MouseWheelUpAction() {
  TAdvCustomDropDown::MouseWheelUpAction();
  if (!FDroppedDown) SelectPrevious();
}

// ---------------------------------------------------------------------------
// Completion and keys in the edit

void TAdvMultiColumnDropDown::DoEnter() {
  TAdvCustomDropDown::DoEnter();
  FOldValue = Text();
}

void TAdvMultiColumnDropDown::Change() {
  FItemChange = false;
  TAdvCustomDropDown::Change();
  if (ComponentState().Contains(csDesigning) || !workmode || FWriting) return;
  // A typed character completes once the edit has placed the caret after it (see WMChar).
  if (FInChar) FCompletePending = true;
  else Complete();
}

void TAdvMultiColumnDropDown::WMChar(TWMKey& Message) {
  const String before = EditText();
  const bool printable = Message.CharCode() >= 32;
  {
    TScopeGuard done([this] { FInChar = false; });
    FInChar = true;
    FCompletePending = false;
    TAdvCustomDropDown::WMChar(Message);
  }
  // A character typed over the same selected character changes nothing, yet it was typed:
  // a whole entry typed in another case still gets its stored case.
  if (printable && workmode && !FCompletePending && EditText() == before && FEditorEnabled && !ReadOnly() &&
      !ComponentState().Contains(csDesigning))
    FCompletePending = true;
  if (!FCompletePending) return;
  FCompletePending = false;
  Complete();
}

void TAdvMultiColumnDropDown::Complete() {
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
      // The write of a different text reports its own change: OnChange fires again and the
      // pending case fix is dropped.
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

void TAdvMultiColumnDropDown::KeyDown(Word& Key, TShiftState Shift) {
  if (FLookupColumn < 0 || FItems->Count() == 0) {
    TAdvCustomDropDown::KeyDown(Key, Shift);
    return;
  }
  switch (Key) {
    case VK_BACK:
    case VK_ESCAPE:
    case VK_DELETE: workmode = false; break;
    default: workmode = true; break;
  }
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
  TAdvCustomDropDown::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) SetItemIndex(FLookupItems->IndexOf(Text()));
}

void TAdvMultiColumnDropDown::KeyUp(Word& Key, TShiftState Shift) {
  if (!(Key == VK_RETURN && ReturnIsTab())) TAdvCustomDropDown::KeyUp(Key, Shift);
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  const int pre = Len(Prefix());
  Select(pre + FItemSel, std::max(0, Len(Text()) - FItemSel));
  FItemChange = false;
}

void TAdvMultiColumnDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  // With ReturnIsTab the framework turns Enter into Tab before the key handling sees it.
  if (key == VK_RETURN && ReturnIsTab() && FEditorEnabled && GetKeyState(VK_CONTROL) >= 0 && FLookupColumn >= 0 &&
      FItems->Count() > 0) {
    const int i = FLookupItems->IndexOf(Text());
    if (i >= 0) SetItemIndex(i);
  }
  TAdvCustomDropDown::WMKeyDown(Message);
  if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
  switch (key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
      if (!FEditorEnabled) SelectLast();
      break;
    case VK_HOME:
      if (!FEditorEnabled) SelectFirst();
      break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
  }
}

}  // namespace AdvMultiColumnDropDown
