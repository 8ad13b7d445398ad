// The image picker drop-down.

#include "dropdowns/AdvImagePickerDropDown.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// Items

void TImageItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TImageItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  AssignItem(src);
  FHint = src->FHint;
}

// ---------------------------------------------------------------------------
// File masks

bool MatchesFileMask(const String& Name, const String& Mask) {
  if (Mask == u"*.*" || Mask == u"*") return true;
  const String n = AnsiUpperCase(Name), m = AnsiUpperCase(Mask);
  // Greedy match with one back-track point: linear in practice, never exponential.
  size_t i = 0, j = 0, star = String::npos, mark = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == u'?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == u'*') {
      star = j++;
      mark = i;
    } else if (star != String::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == u'*') ++j;
  return j == m.size();
}

// ---------------------------------------------------------------------------
// The drop-down

TAdvImagePickerDropDown::TAdvImagePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)),
      FKeySearch(std::make_unique<TSelectorKeySearch>(this)) {
  SetEditorEnabled(false);
  SetCursor(crArrow);
  // The base constructor made only the window; the selector comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvImagePickerDropDown::~TAdvImagePickerDropDown() {
  FKeySearch->KeyTimer()->SetEnabled(false);
  if (FItemSelector != nullptr) {
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
  }
}

void TAdvImagePickerDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr || FItemSelector != nullptr || FItems == nullptr) return;
  FItemSelector = new TAdvCustomItemSelector(this);
  FItemSelector->SetParent(DropDownForm());
  FItemSelector->SetSelectorType(stImage);
  FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->UpdateSelectorPanel();
  SetControl(FItemSelector);
}

void TAdvImagePickerDropDown::CopyItemsToSelector() {
  TSelectorItems* items = FItemSelector->Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    TImageItem* src = FItems->Items(i);
    TSelectorItem* dst = items->Add();
    dst->SetCaption(src->Caption());
    dst->SetImage(src->Image());
    dst->SetImageIndex(src->ImageIndex());
    dst->SetHint(src->Hint());
  }
  items->EndUpdate();
}

void TAdvImagePickerDropDown::InitItemSelector() {
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetColumns(FColumns);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->SetItemAppearance(FItemAppearance.get());
  CopyItemsToSelector();
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject* S) { SelectorItemSelected(S); };
  FItemSelector->SetShowHint(ShowHint());
}

void TAdvImagePickerDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  if (FItemSelector != nullptr) {
    InitItemSelector();
    if (OnDrawItem) {
      FItemSelector->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int I) {
        if (OnDrawItem) OnDrawItem(this, C, R, I);
      };
    } else {
      FItemSelector->OnDrawItem = nullptr;
    }
  }
  FOldItemIndex = FItemIndex;
}

void TAdvImagePickerDropDown::UpdateDropDownSize() {
  if (FItemSelector == nullptr) {
    TAdvCustomDropDown::UpdateDropDownSize();
    return;
  }
  FItemSelector->SetAlign(alNone);
  const TSize panel = FItemSelector->GetPanelSize();
  // The window's border is inside its width as it is inside its height, so the items fit.
  const int w = DropDownWidth() > 0 ? FItemSelector->Width() : panel.cx + 2 * DropDownBorderWidth();
  const int h = DropDownHeight() > 0 ? FItemSelector->Height() : panel.cy;
  FItemSelector->SetBounds(FItemSelector->Left(), FItemSelector->Top(), w, h);
  TAdvCustomDropDown::UpdateDropDownSize();
  if (FItemSelector->VertScrollBar()->IsScrollBarVisible() && DropDownForm() != nullptr) {
    TDropDownForm* form = DropDownForm();
    form->SetBounds(form->Left(), form->Top(), form->Width() + GetSystemMetrics(SM_CXVSCROLL), form->Height());
  }
}

void TAdvImagePickerDropDown::DoHideDropDown(bool Cancel) {
  TAdvCustomDropDown::DoHideDropDown(Cancel);
  if (Cancel && FItemSelector != nullptr) SetItemIndex(FOldItemIndex);
}

void TAdvImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TAdvCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector != nullptr) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TAdvImagePickerDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance != nullptr) ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---------------------------------------------------------------------------
// Selection

void TAdvImagePickerDropDown::SetItemIndex(int Value) {
  // Every negative value is no selection.
  if (Value < 0) Value = -1;
  if (Value == FItemIndex || Value >= FItems->Count()) return;
  FItemIndex = Value;
  Invalidate();
  Change();
  if (OnSelect) OnSelect(this);
}

int TAdvImagePickerDropDown::ImageIndex() const {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Items(FItemIndex)->ImageIndex() : -1;
}

void TAdvImagePickerDropDown::SetImageIndex(int Value) {
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->Items(i)->ImageIndex() == Value) {
      SetItemIndex(i);
      return;
    }
  }
  SetItemIndex(-1);
}

void TAdvImagePickerDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TAdvImagePickerDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TAdvImagePickerDropDown::SelectNext() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TAdvImagePickerDropDown::SelectPrevious() {
  if (FItemIndex < 0) SetItemIndex(0);
  else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TAdvImagePickerDropDown::SelectorItemSelected(TObject*) {
  SetItemIndex(FItemSelector->ItemIndex());
  if (!FInternalCall) DoHideDropDown(false);
}

void TAdvImagePickerDropDown::RunInternally(void (TAdvCustomItemSelector::*Step)()) {
  if (FItemSelector == nullptr) return;
  TScopeGuard done([this] { FInternalCall = false; });
  FInternalCall = true;
  (FItemSelector->*Step)();
}

bool TAdvImagePickerDropDown::SelectInternally(int Index) {
  if (FItemSelector == nullptr || Index < 0 || Index >= FItemSelector->Items()->Count()) return false;
  TScopeGuard done([this] { FInternalCall = false; });
  FInternalCall = true;
  FItemSelector->SetItemIndex(Index);
  return true;
}

// ---------------------------------------------------------------------------
// Filling

void TAdvImagePickerDropDown::AddImagesFromFolder(const String& AFolder, bool SetImageCaption) {
  String spec = AFolder;
  std::replace(spec.begin(), spec.end(), u'\\', u'/');
  const String folder = ExtractFilePath(spec), mask = ExtractFileName(spec);
  std::vector<String> names;
  std::error_code ec;
  const std::filesystem::path dir(StringToUTF8(folder.empty() ? String(u".") : folder));
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const String name = UTF8ToString(it->path().filename().string());
    if (name != u"." && name != u".." && MatchesFileMask(name, mask)) names.push_back(name);
  }
  // A folder that cannot be read adds nothing; the rest in name order.
  std::sort(names.begin(), names.end());
  FItems->BeginUpdate();
  TScopeGuard done([this] { FItems->EndUpdate(); });
  for (const String& name : names) {
    TImageItem* item = FItems->Add();
    try {
      item->Image()->LoadFromFile(folder + name);
    } catch (const std::exception&) {
      // A sub-folder, an unknown, damaged or oversized picture: the item keeps no picture.
    }
    if (SetImageCaption) item->FCaption = name;
  }
}

void TAdvImagePickerDropDown::AddImagesFromImageList() {
  if (Images() == nullptr) return;
  FItems->BeginUpdate();
  TScopeGuard done([this] { FItems->EndUpdate(); });
  for (int i = 0; i < Images()->Count(); ++i) FItems->Add()->SetImageIndex(i);
}

// ---------------------------------------------------------------------------
// Painting, wheel and keys

void TAdvImagePickerDropDown::PaintNonEditable() {
  TAdvCustomDropDown::PaintNonEditable();
  PaintSelectedImage();
}

void TAdvImagePickerDropDown::PaintSelectedImage() {
  if (FPaintDC == nullptr) return;
  TCanvas canvas;
  canvas.SetHandle(FPaintDC);
  TScopeGuard release([&canvas] { canvas.SetHandle(nullptr); });
  const TRect r = FEditRect;
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, &canvas, r);
    return;
  }
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
  TImageItem* item = FItems->Items(FItemIndex);
  TGraphic* g = item->Image()->Graphic();
  if (g != nullptr && !g->Empty()) {
    canvas.Draw(r.Left + (r.Width() - g->Width()) / 2, r.Top + (r.Height() - g->Height()) / 2, g);
  } else if (Images() != nullptr && item->ImageIndex() >= 0) {
    Images()->Draw(&canvas, r.Left + (r.Width() - Images()->Width()) / 2, r.Top + (r.Height() - Images()->Height()) / 2,
                   item->ImageIndex(), true);
  }
}

void TAdvImagePickerDropDown::MouseWheelDownAction() {
  TAdvCustomDropDown::MouseWheelDownAction();
  if (!Enabled() || ReadOnly() || FItemSelector == nullptr) return;
  if (FDroppedDown) FItemSelector->HotNext();
  else RunInternally(&TAdvCustomItemSelector::SelectNext);
}

void TAdvImagePickerDropDown::MouseWheelUpAction() {
  TAdvCustomDropDown::MouseWheelUpAction();
  if (!Enabled() || ReadOnly() || FItemSelector == nullptr) return;
  if (FDroppedDown) FItemSelector->HotPrevious();
  else RunInternally(&TAdvCustomItemSelector::SelectPrevious);
}

void TAdvImagePickerDropDown::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  const bool open = FDroppedDown && FItemSelector != nullptr;
  // 1. Enter takes the hot item of the open list (which closes it).
  bool enterTookHot = false;
  if (Enabled() && open && key == VK_RETURN && FItemSelector->ItemHot() >= 0) {
    FItemSelector->SetItemIndex(FItemSelector->ItemHot());
    enterTookHot = true;
  }
  // 2.
  TAdvCustomDropDown::WMKeyDown(Message);
  // 3.
  if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool openNow = FDroppedDown && FItemSelector != nullptr;
  switch (key) {
    case VK_RETURN:
      if (!enterTookHot && OnSelect) OnSelect(this);
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
    case VK_HOME:
    case VK_END:
      if (openNow) RunInternally(key == VK_HOME ? &TAdvCustomItemSelector::SelectFirst : &TAdvCustomItemSelector::SelectLast);
      else key == VK_HOME ? SelectFirst() : SelectLast();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!FEditorEnabled && openNow)
        RunInternally(key == VK_LEFT ? &TAdvCustomItemSelector::SelectPrevious : &TAdvCustomItemSelector::SelectNext);
      break;
    case VK_UP:
    case VK_DOWN:
      if (openNow) {
        const int i = FItemSelector->ItemIndex();
        SelectInternally(i < 0 ? 0 : i + (key == VK_DOWN ? FColumns : -FColumns));
      } else if (key == VK_UP) {
        SelectPrevious();
      } else {
        SelectNext();
      }
      break;
    default:
      if (!ctrl && FItemSelector != nullptr) {
        TScopeGuard done([this] { FInternalCall = false; });
        FInternalCall = true;
        FKeySearch->Key(FItemSelector, key);
      }
      break;
  }
}
