// Text that reaches the drop-down's edit other than by typed keys and the clipboard keys: its
// context menu, drops and the middle button's selection all go through the paste filter.

#include <algorithm>

#include "dropdowns/AdvDropDown.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/OleDragDrop.h"

namespace {

// Dropped text goes in at the drop point as a paste of it would.
class TDropDownDropTarget : public TInterfacedObject<IDropTarget> {
public:
  explicit TDropDownDropTarget(TAdvCustomDropDown* Edit, std::function<void(const String&, TPoint)> Put,
                               std::function<bool()> Takes)
      : FEdit(Edit), FPut(std::move(Put)), FTakes(std::move(Takes)) {}

  HRESULT DragEnter(IDataObject* DataObj, DWORD, POINTL, DWORD* Effect) override {
    FText = DataObj != nullptr && DataObj->QueryGetData(&kText) == S_OK;
    return Answer(Effect);
  }
  HRESULT DragOver(DWORD, POINTL, DWORD* Effect) override { return Answer(Effect); }
  HRESULT DragLeave() override { return S_OK; }
  HRESULT Drop(IDataObject* DataObj, DWORD, POINTL Pt, DWORD* Effect) override {
    const HRESULT r = Answer(Effect);
    if (*Effect == DROPEFFECT_NONE || DataObj == nullptr) return r;
    STGMEDIUM medium;
    if (DataObj->GetData(&kText, &medium) != S_OK) {
      *Effect = DROPEFFECT_NONE;
      return S_OK;
    }
    String text;
    if (medium.hGlobal != nullptr) {
      const size_t size = GlobalSize(medium.hGlobal) / sizeof(Char);
      if (const auto* p = static_cast<const Char*>(GlobalLock(medium.hGlobal))) {
        text.assign(p, std::find(p, p + size, Char(0)));
        GlobalUnlock(medium.hGlobal);
      }
    }
    ReleaseStgMedium(&medium);
    FPut(text, TPoint(Pt.x, Pt.y));
    return S_OK;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropTarget; }

private:
  static inline const FORMATETC kText{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  // Text is copied in (never moved out of its source) while the edit takes input.
  HRESULT Answer(DWORD* Effect) {
    if (Effect == nullptr) return E_INVALIDARG;
    *Effect = FText && FTakes() && (*Effect & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  TAdvCustomDropDown* FEdit;
  std::function<void(const String&, TPoint)> FPut;
  std::function<bool()> FTakes;
  bool FText = false;
};

}  // namespace

bool TAdvCustomDropDown::TakesPastedText() const { return FEditorEnabled && !ReadOnly() && Enabled(); }

void TAdvCustomDropDown::PasteAt(const String& Pasted, TPoint ClientPt) {
  // The caret goes to the character under the point first, kept within the value.
  const LRESULT pos =
      Perform(EM_CHARFROMPOS, 0, LPARAM(MAKELPARAM(WORD(int16_t(ClientPt.X)), WORD(int16_t(ClientPt.Y)))));
  const int pre = static_cast<int>(FPrefix.size());
  const int end = pre + static_cast<int>(Text().size());
  Select(std::clamp(int(LOWORD(static_cast<uintptr_t>(pos))), pre, end), 0);
  PasteText(Pasted);
}

void TAdvCustomDropDown::RegisterDropTarget() {
  auto* target = new TDropDownDropTarget(
      this,
      [this](const String& Dropped, TPoint ScreenPt) { PasteAt(Dropped, ScreenToClient(ScreenPt)); },
      [this] { return TakesPastedText(); });
  RegisterDragDrop(Handle(), target);
  target->Release();  // the registration holds it
}

void TAdvCustomDropDown::CreateEditMenu() {
  FEditMenu = new TPopupMenu(this);
  struct TEntry {
    const char16_t* Caption;
    UINT Msg;
  };
  static const TEntry entries[] = {{u"Cu&t", WM_CUT}, {u"&Copy", WM_COPY}, {u"&Paste", WM_PASTE},
                                   {u"&Delete", WM_CLEAR}, {u"-", 0}, {u"Select &All", 0}};
  std::vector<TMenuItem*> items;
  for (const TEntry& e : entries) {
    auto* item = new TMenuItem(FEditMenu);
    item->SetCaption(e.Caption);
    const UINT msg = e.Msg;
    const bool selectAll = e.Caption[0] == u'S';
    if (msg != 0 || selectAll) {
      item->OnClick = [this, msg, selectAll](TObject*) {
        if (selectAll) SelectAll();
        else if (msg == WM_CLEAR) {
          // Only the selected part of the value goes.
          if (!ReadOnly() && FEditorEnabled && SelLength() > 0) {
            const int pre = static_cast<int>(FPrefix.size()), end = pre + static_cast<int>(Text().size());
            const int s = std::clamp(SelStart(), pre, end), e = std::clamp(SelStart() + SelLength(), pre, end);
            Select(s, e - s);
            TCustomMaskEdit::SetSelText(String());
            SetModified(true);
          }
        } else {
          Perform(msg, 0, 0);
        }
      };
    }
    FEditMenu->Items()->Add(item);
    items.push_back(item);
  }
  FEditMenu->OnPopup = [this, items](TObject*) {
    const bool editable = FEditorEnabled && !ReadOnly();
    const bool selected = SelLength() > 0;
    items[0]->SetEnabled(editable && selected);
    items[1]->SetEnabled(selected && PasswordChar() == 0);
    items[2]->SetEnabled(editable && Clipboard()->HasFormat(CF_TEXT));
    items[3]->SetEnabled(editable && selected);
  };
  SetPopupMenu(FEditMenu);
}

void TAdvCustomDropDown::WMMButtonDown(TWMMouse& Message) {
  MouseDown(mbMiddle, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TAdvCustomDropDown::WMMButtonUp(TWMMouse& Message) {
  MouseUp(mbMiddle, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
  // The window system's selection goes in at the click as a paste of it would.
  if (TakesPastedText()) {
    const String selection = Clipboard()->SelectionText();
    if (!selection.empty()) PasteAt(selection, TPoint(Message.XPos(), Message.YPos()));
  }
}
