// The detail drop-down.

#include "dropdowns/AdvDetailDropDown.h"

#include <algorithm>

#include "controls/HtmlText.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace {
int Len(const String& s) { return static_cast<int>(s.size()); }
}  // namespace

// ---------------------------------------------------------------------------
// Items

void TDetailItem::Assign(TPersistent* Source) {
  if (!AssignItem(Source)) TCollectionItem::Assign(Source);
}

int TDetailItems::IndexOf(const String& AValue) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Caption() == AValue) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// The drop-down

TAdvDetailDropDown::TAdvDetailDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)),
      FKeySearch(std::make_unique<TSelectorKeySearch>(this)),
      FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>()) {
  FCaptionFont->Assign(Font());
  FNotesFont->Assign(Font());
  SetEditorEnabled(true);
  // The base constructor made only the window; the selector comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvDetailDropDown::~TAdvDetailDropDown() {
  FKeySearch->KeyTimer()->SetEnabled(false);
  if (FItemSelector != nullptr) {
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
    FItemSelector->OnItemSize = nullptr;
    FItemSelector->OnResize = nullptr;
  }
}

void TAdvDetailDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr || FItemSelector != nullptr || FItems == nullptr) return;
  FItemSelector = new TAdvCustomItemSelector(this);
  FItemSelector->SetParent(DropDownForm());
  FItemSelector->SetSelectorType(stImage);
  FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
  FItemSelector->SetTabStop(true);
  FItemSelector->OnDrawItem = [this](TObject* S, TCanvas* C, TRect R, int I) { SelectorDrawItem(S, C, R, I); };
  FItemSelector->OnItemSize = [this](TObject* S, TSize& Size) { SelectorItemSize(S, Size); };
  FItemSelector->OnResize = [this](TObject*) { FItemSelector->UpdateSelectorPanel(); };
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->UpdateSelectorPanel();
  SetControl(FItemSelector);
}

void TAdvDetailDropDown::CopyItemsToSelector() {
  TSelectorItems* items = FItemSelector->Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    TDetailItem* src = FItems->Items(i);
    TSelectorItem* dst = items->Add();
    dst->SetCaption(src->Caption());
    dst->SetImage(src->Image());
    dst->SetImageIndex(src->ImageIndex());
  }
  items->EndUpdate();
}

void TAdvDetailDropDown::InitItemSelector() {
  if (FItemSelector == nullptr) return;
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetColumns(1);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->SetItemAppearance(FItemAppearance.get());
  CopyItemsToSelector();
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject* S) { SelectorItemSelected(S); };
}

void TAdvDetailDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  InitItemSelector();
  FOldItemIndex = FItemIndex;
}

void TAdvDetailDropDown::DoShowDropDown() {
  TAdvCustomDropDown::DoShowDropDown();
  if (FDroppedDown && FItemSelector != nullptr && FItemSelector->CanFocus()) FItemSelector->SetFocus();
}

void TAdvDetailDropDown::UpdateDropDownSize() {
  if (FItemSelector != nullptr) {
    FItemSelector->SetAlign(alNone);
    const int w = DropDownWidth() > 0 ? FItemSelector->Width() : Width();
    const int h = DropDownHeight() > 0 ? FItemSelector->Height() : 100;
    FItemSelector->SetBounds(FItemSelector->Left(), FItemSelector->Top(), w, h);
  }
  TAdvCustomDropDown::UpdateDropDownSize();
}

void TAdvDetailDropDown::DoHideDropDown(bool Cancel) {
  TAdvCustomDropDown::DoHideDropDown(Cancel);
  if (!Cancel || FItemSelector == nullptr) return;
  if (FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
  // Nothing was selected at opening: the restored text belongs to no item.
  else FItemIndex = -1;
}

void TAdvDetailDropDown::DropDownFormSizing() {
  TAdvCustomDropDown::DropDownFormSizing();
  if (FItemSelector != nullptr) FItemSelector->UpdateSelectorPanel();
}

void TAdvDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TAdvCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector != nullptr) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TAdvDetailDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance != nullptr) ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---------------------------------------------------------------------------
// Selection

void TAdvDetailDropDown::ShowItemCaption(int Index) {
  if (Index < 0 || Index >= FItems->Count()) return;
  TScopeGuard done([this] { FCompleting = false; });
  FCompleting = true;
  SetText(FItems->Items(Index)->Caption());
  Select(0, Len(EditText()));
}

void TAdvDetailDropDown::SetItemIndex(int Value) {
  if (Value >= 0 && Value < FItems->Count() && Value != FItemIndex) {
    FItemIndex = Value;
    ShowItemCaption(Value);
    Invalidate();
    if (FItemSelector != nullptr) FItemSelector->Invalidate();
    if (OnSelect) OnSelect(this);
  } else if (Value == -1 && FItemIndex != -1) {
    TScopeGuard done([this] { FCompleting = false; });
    FCompleting = true;
    SetText(String());
    FItemIndex = -1;
  }
}

void TAdvDetailDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvDetailDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvDetailDropDown::SelectNext() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvDetailDropDown::SelectPrevious() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TAdvDetailDropDown::SelectorItemSelected(TObject*) {
  const int i = FItemSelector->ItemIndex();
  SetItemIndex(i);
  ShowItemCaption(i);
  if (!FInternalCall) DoHideDropDown(false);
}

bool TAdvDetailDropDown::SelectInternally(int Index) {
  if (FItemSelector == nullptr || Index < 0 || Index >= FItemSelector->Items()->Count()) return false;
  TScopeGuard done([this] { FInternalCall = false; });
  FInternalCall = true;
  FItemSelector->SetItemIndex(Index);
  return true;
}

// ---------------------------------------------------------------------------
// Item size and drawing

void TAdvDetailDropDown::SelectorItemSize(TObject*, TSize& ASize) {
  int w = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() != nullptr ? DropDownForm()->Width() : Width());
  if (FItemSelector != nullptr && FItemSelector->VertScrollBar()->IsScrollBarVisible()) w -= GetSystemMetrics(SM_CXVSCROLL);
  ASize.cx = std::max(0, w - 2 * GetSystemMetrics(SM_CXBORDER) - 4);
  ASize.cy = FItemHeight;
}

void TAdvDetailDropDown::SelectorDrawItem(TObject*, TCanvas* Canvas, TRect R, int Index) {
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, Canvas, R);
    return;
  }
  if (Index < 0 || Index >= FItems->Count()) return;
  TDetailItem* item = FItems->Items(Index);
  TGraphic* g = item->Image()->Graphic();
  if (g != nullptr && !g->Empty()) {
    const int x = !item->Caption().empty() ? R.Left + 2 : R.Left + (R.Width() - g->Width()) / 2;
    if (TBitmap* b = AsBitmap(g)) {
      b->SetTransparentMode(tmAuto);
      b->SetTransparent(true);
    }
    Canvas->Draw(x, R.Top + (R.Height() - g->Height()) / 2, g);
    R.Left += g->Width() + 4;
  } else if (Images() != nullptr && item->ImageIndex() >= 0) {
    const int x = !item->Caption().empty() ? R.Left + 2 : R.Left + (R.Width() - Images()->Width()) / 2;
    Images()->Draw(Canvas, x, R.Top + (R.Height() - Images()->Height()) / 2, item->ImageIndex(), true);
    R.Left += Images()->Width() + 4;
  }

  // The caption: one line ended by an ellipsis, in the hot or selected text colour.
  auto textColour = [&](TFont* Font) {
    Canvas->Font()->Assign(Font);
    if (FItemSelector != nullptr && Index == FItemSelector->ItemHot()) Canvas->Font()->SetColor(FItemAppearance->ColorHotText());
    if (Index == FItemIndex) Canvas->Font()->SetColor(FItemAppearance->ColorSelectedText());
  };
  textColour(FCaptionFont.get());
  Canvas->Brush()->SetStyle(bsClear);
  R.Left += 4;
  R.Top += 2;
  R.Right -= 4;
  RECT tr = R;
  DrawText(Canvas->Handle(), item->Caption().c_str(), Len(item->Caption()), &tr, DT_END_ELLIPSIS);

  if (item->Notes().empty()) return;
  R.Top += Canvas->TextHeight(u"gh");
  textColour(FNotesFont.get());
  String anchor, stripped, focusAnchor, title, controlId, controlValue, controlType;
  int32_t xsize = 0, ysize = 0, hyperlinks = 0, mouseLink = 0;
  TRect hoverRect, controlRect;
  DrawHtmlText(Canvas, item->Notes(), R, Images(), -1, -1, -1, -1, 2, false, false, false, false, true, false, true,
               false, 1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focusAnchor, title, xsize, ysize,
               hyperlinks, mouseLink, hoverRect, controlRect, controlId, controlValue, controlType, nullptr, nullptr,
               nullptr, 0);
}

// ---------------------------------------------------------------------------
// Wheel, completion and keys

void TAdvDetailDropDown::MouseWheelDownAction() {
  TAdvCustomDropDown::MouseWheelDownAction();
  if (!FDroppedDown || FItemSelector == nullptr) {
    SelectNext();
    return;
  }
  const int i = FItemSelector->ItemIndex();
  SelectInternally(i < 0 ? 0 : i + 1);
  Invalidate();
}

void TAdvDetailDropDown::MouseWheelUpAction() {
  TAdvCustomDropDown::MouseWheelUpAction();
  if (!FDroppedDown || FItemSelector == nullptr) {
    SelectPrevious();
    return;
  }
  const int i = FItemSelector->ItemIndex();
  SelectInternally(i < 0 ? 0 : i - 1);
  Invalidate();
}

void TAdvDetailDropDown::Change() {
  TAdvCustomDropDown::Change();
  // Typing completes, once the edit has taken the character (see WMChar).
  if (FInChar && FWorkMode && !FCompleting && !ComponentState().Contains(csDesigning)) FCompletePending = true;
}

void TAdvDetailDropDown::WMChar(TWMKey& Message) {
  {
    TScopeGuard done([this] { FInChar = false; });
    FInChar = true;
    FCompletePending = false;
    TAdvCustomDropDown::WMChar(Message);
  }
  if (FCompletePending) {
    FCompletePending = false;
    Complete();
  }
}

void TAdvDetailDropDown::Complete() {
  const String text = Text();
  SetModified(!text.empty());
  const int caret = std::clamp(SelStart() - Len(Prefix()), 0, Len(text));
  const String typed = text.substr(0, static_cast<size_t>(caret));
  const String key = ApplyCaseSensitivity(text, FMatchCase).substr(0, static_cast<size_t>(caret));
  TScopeGuard done([this] { FCompleting = false; });
  FCompleting = true;
  // Completion writes the edit's text only: the point a cancel returns to stays.
  auto show = [this](const String& Value, int TypedLength) {
    if (Value != Text()) SetEditTextRaw(Prefix() + Value + Suffix());
    Select(Len(Prefix()) + TypedLength, Len(Value) - TypedLength);
  };
  if (!key.empty()) {
    for (int i = 0; i < FItems->Count(); ++i) {
      const String& caption = FItems->Items(i)->Caption();
      const String c = ApplyCaseSensitivity(caption, FMatchCase);
      if (c.size() < key.size() || c.compare(0, key.size(), key) != 0) continue;
      // The whole rest of the caption, however long.
      show(text.substr(0, key.size()) + caption.substr(key.size()), Len(key));
      FItemIndex = i;
      FItemIdx = i;
      return;
    }
  }
  if (!typed.empty()) show(typed, Len(typed));
}

void TAdvDetailDropDown::KeyDown(Word& Key, TShiftState Shift) {
  const bool items = FItems->Count() > 0;
  if (items) {
    switch (Key) {
      case VK_BACK:
      case VK_ESCAPE:
      case VK_DELETE: FWorkMode = false; break;
      case VK_RETURN: {
        // Only an exact caption selects; other text is left as typed.
        const int i = FItems->IndexOf(Text());
        if (i >= 0) {
          ShowItemCaption(i);
          SetItemIndex(i);
        }
        break;
      }
      default: FWorkMode = true; break;
    }
  }
  TAdvCustomDropDown::KeyDown(Key, Shift);
  if (items && Key == VK_ESCAPE) {
    const int i = FItems->IndexOf(Text());
    if (i >= 0) SetItemIndex(i);
  }
}

void TAdvDetailDropDown::KeyUp(Word& Key, TShiftState Shift) {
  TAdvCustomDropDown::KeyUp(Key, Shift);
  if (FItemIdx >= 0) SetItemIndex(FItemIdx);
  FItemIdx = -1;
}

void TAdvDetailDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  const bool alt = GetKeyState(VK_MENU) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool open = FDroppedDown && FItemSelector != nullptr;
  // A step of the open list taken as the list's own (no selection event back to the edit).
  TAdvCustomItemSelector* selector = FItemSelector;
  auto internally = [this, selector](Word Step) {
    TScopeGuard done([this] { FInternalCall = false; });
    FInternalCall = true;
    switch (Step) {
      case VK_LEFT: selector->SelectPrevious(); break;
      case VK_RIGHT: selector->SelectNext(); break;
      case VK_HOME: selector->SelectFirst(); break;
      default: selector->SelectLast(); break;
    }
  };
  if (Enabled() && !alt) {
    switch (key) {
      case VK_UP:
      case VK_DOWN:
        if (open) {
          const int i = FItemSelector->ItemIndex();
          SelectInternally(i < 0 ? 0 : i + (key == VK_DOWN ? 1 : -1));
          Invalidate();
        } else if (key == VK_UP) {
          SelectPrevious();
        } else {
          SelectNext();
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (open && !FEditorEnabled)
          internally(key);
        break;
      case VK_HOME:
      case VK_END:
        if (open) internally(key);
        else if (!FEditorEnabled) key == VK_HOME ? SelectFirst() : SelectLast();
        break;
      case VK_PRIOR:
      case VK_NEXT:
        if (FItemSelector != nullptr) {
          if (FItemSelector->Items()->Count() != FItems->Count()) {
            CopyItemsToSelector();
            FItemSelector->UpdateSelectorPanel();
          }
          const int n = FItemSelector->GetVisibleItemCount();
          if (n > 0) {
            const int i = FItemSelector->ItemIndex();
            SelectInternally(key == VK_PRIOR ? std::max(0, i - n) : std::min(i + n, FItems->Count() - 1));
          }
        }
        break;
      default:
        if (open && !ctrl) {
          TScopeGuard done([this] { FInternalCall = false; });
          FInternalCall = true;
          FKeySearch->Key(FItemSelector, key);
        }
        break;
    }
    // The open list keeps its arrows and page keys.
    if (open && (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_PRIOR || key == VK_NEXT)) {
      Message.SetCharCode(0);
      Message.SetResult(0);
      return;
    }
  }
  TAdvCustomDropDown::WMKeyDown(Message);
}
