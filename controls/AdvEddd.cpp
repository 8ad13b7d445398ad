#include "controls/AdvEddd.h"

#include <algorithm>
#include <cstring>

#include "controls/AdvEdit.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

UINT RichTextFormat = 0;
bool RichTextDragDrop = false;

namespace {

// Dropped data is read up to this size: enough for any text an edit takes.
constexpr size_t MaxDropBytes = size_t(64) << 20;

// The text up to the first zero character.
String UpToZero(const String& s) { return s.substr(0, s.find(Char(0))); }

String DecodeAnsi(const std::string& Bytes) {
  String text;
  DecodeCodePage(std::string_view(Bytes.c_str()), SystemCodePage, text, true);
  return text;
}

HGLOBAL BlockOf(const void* Bytes, size_t Size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, Size);
  if (mem == nullptr) return nullptr;
  void* p = GlobalLock(mem);
  if (p != nullptr && Size > 0) std::memcpy(p, Bytes, Size);
  GlobalUnlock(mem);
  return mem;
}

TPoint PointOf(POINTL Pt) { return TPoint(Pt.x, Pt.y); }

FORMATETC SourceFormat(int Index) {
  static const CLIPFORMAT formats[] = {CF_TEXT, CF_UNICODETEXT, 0};
  FORMATETC f;
  f.cfFormat = Index == 2 ? CLIPFORMAT(RichTextFormat) : formats[Index];
  f.ptd = nullptr;
  f.dwAspect = DVASPECT_CONTENT;
  f.lindex = -1;
  f.tymed = TYMED_HGLOBAL;
  return f;
}

}  // namespace

// ---------------------------------------------------------------------------
// TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* DataObject) : FFiles(std::make_unique<TStringList>()) {
  if (RichTextFormat == 0) RichTextFormat = RegisterClipboardFormat(u"Rich Text Format");
  SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats() { SetDataObject(nullptr); }

void TEnumFormats::SetDataObject(IDataObject* Value) {
  if (FEnumerator != nullptr) FEnumerator->Release();
  FEnumerator = nullptr;
  if (FDataObject != nullptr) FDataObject->Release();
  FDataObject = Value;
  FFailure.clear();
  if (FDataObject == nullptr) return;
  FDataObject->AddRef();
  // Inside a drop no exception may reach the caller: the failure is kept and nothing reads.
  if (FDataObject->EnumFormatEtc(DATADIR_GET, &FEnumerator) != S_OK || FEnumerator == nullptr) {
    FEnumerator = nullptr;
    FFailure = u"Cannot get the format enumerator";
  }
  Reset();
}

bool TEnumFormats::Reset() {
  FValid = false;
  FCount = 0;
  return FEnumerator != nullptr && FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next() {
  ++FCount;
  ULONG fetched = 0;
  FValid = FEnumerator != nullptr && FEnumerator->Next(1, &FFormatEtc, &fetched) == S_OK && fetched == 1;
  return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT Format) {
  if (!Reset()) return false;
  while (Next())
    if (FFormatEtc.cfFormat == Format) return true;
  return false;
}

HGLOBAL TEnumFormats::Handle(DWORD Tymed) {
  if (!FValid || (FFormatEtc.tymed & Tymed) != Tymed || FDataObject == nullptr) return nullptr;
  FORMATETC fmt = FFormatEtc;
  fmt.tymed = Tymed;
  STGMEDIUM medium;
  if (FDataObject->GetData(&fmt, &medium) != S_OK) return nullptr;
  if (medium.tymed != TYMED_HGLOBAL || medium.pUnkForRelease != nullptr) {
    ReleaseStgMedium(&medium);
    return nullptr;
  }
  return medium.hGlobal;
}

std::string TEnumFormats::GlobalBytes() {
  HGLOBAL mem = GlobalHandle();
  if (mem == nullptr) return std::string();
  std::string bytes;
  if (const auto* p = static_cast<const char*>(GlobalLock(mem)))
    bytes.assign(p, std::min(GlobalSize(mem), MaxDropBytes));
  GlobalUnlock(mem);
  GlobalFree(mem);
  return bytes;
}

String TEnumFormats::Text() {
  // Unicode when the source offers it, so no character is lost to the code page.
  if (HasUnicodeText()) {
    std::string bytes = GlobalBytes();
    String text(bytes.size() / 2, Char(0));
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return UpToZero(text);
  }
  if (HasFormat(CF_TEXT)) return DecodeAnsi(GlobalBytes());
  return String();
}

String TEnumFormats::RTF() {
  if (!HasRTF()) return String();
  std::string bytes = GlobalBytes();
  String text;
  for (char c : std::string_view(bytes.c_str())) text.push_back(Char(static_cast<unsigned char>(c)));
  return text;
}

bool TEnumFormats::FileList() {
  FFiles->Clear();
  if (!HasFile()) return false;
  const std::string block = GlobalBytes();
  if (block.size() < sizeof(DROPFILES)) return false;
  DROPFILES head;
  std::memcpy(&head, block.data(), sizeof head);
  size_t at = head.pFiles;
  while (at < block.size()) {
    String name;
    if (head.fWide) {
      for (; at + 1 < block.size(); at += 2) {
        Char c = Char(static_cast<unsigned char>(block[at]) | (static_cast<unsigned char>(block[at + 1]) << 8));
        if (c == 0) break;
        name.push_back(c);
      }
      at += 2;
    } else {
      size_t end = block.find('\0', at);
      if (end == std::string::npos) end = block.size();
      name = DecodeAnsi(block.substr(at, end - at));
      at = end + 1;
    }
    if (name.empty()) break;
    FFiles->Add(name);
  }
  return FFiles->Count() > 0;
}

// ---------------------------------------------------------------------------
// TAEDropTarget

DWORD TAEDropTarget::DropEffectForKeys(DWORD KeyState) {
  return (KeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

HRESULT TAEDropTarget::DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL, DWORD* Effect) {
  TEnumFormats formats(DataObj);
  FOk = formats.HasText() || formats.HasUnicodeText() || formats.HasFile() || (formats.HasRTF() && RichTextDragDrop);
  if (Effect != nullptr) *Effect = FOk ? DropEffectForKeys(KeyState) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT TAEDropTarget::DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) {
  DWORD effect = FOk ? DropEffectForKeys(KeyState) : DROPEFFECT_NONE;
  bool allow = true;
  DragMouseMove(PointOf(Pt), allow);
  if (!allow) effect = DROPEFFECT_NONE;
  if (Effect != nullptr) *Effect = effect;
  return S_OK;
}

HRESULT TAEDropTarget::DragLeave() { return S_OK; }

HRESULT TAEDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  DWORD effect = DROPEFFECT_NONE;
  if (FOk) {
    TEnumFormats formats(DataObj);
    if (RichTextDragDrop && formats.HasRTF())
      DropRTF(PointOf(Pt), formats.RTF());
    else if (formats.HasText() || formats.HasUnicodeText())
      DropText(PointOf(Pt), formats.Text());
    if (formats.FileList()) DropFiles(PointOf(Pt), formats.Files());
    effect = DropEffectForKeys(KeyState);
  }
  if (Effect != nullptr) *Effect = effect;
  return S_OK;
}

void TAEDropTarget::DropText(TPoint, const String&) {}
void TAEDropTarget::DropRTF(TPoint, const String&) {}
void TAEDropTarget::DropFiles(TPoint, TStrings*) {}
void TAEDropTarget::DragMouseMove(TPoint, bool& Allow) { Allow = true; }

// ---------------------------------------------------------------------------
// TAEDropSource

HRESULT TAEDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) {
  if (EscapePressed) return DRAGDROP_S_CANCEL;
  if ((KeyState & MK_LBUTTON) == 0) return DRAGDROP_S_DROP;
  return S_OK;
}

HRESULT TAEDropSource::GiveFeedback(DWORD Effect) {
  fNoAccept = Effect == DROPEFFECT_NONE;
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------------------
// TSourceDataObject

HRESULT TSourceDataObject::QueryGetData(const FORMATETC* Format) {
  if (Format == nullptr || Format->dwAspect != DVASPECT_CONTENT || Format->tymed != TYMED_HGLOBAL)
    return DV_E_FORMATETC;
  const bool known = Format->cfFormat == CF_TEXT || Format->cfFormat == CF_UNICODETEXT ||
                     (RichTextDragDrop && RichTextFormat != 0 && Format->cfFormat == RichTextFormat);
  return known ? S_OK : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC* Format, STGMEDIUM* Medium) {
  if (Medium == nullptr) return E_POINTER;
  *Medium = STGMEDIUM();
  if (QueryGetData(Format) != S_OK) return DV_E_FORMATETC;
  HGLOBAL mem = nullptr;
  if (Format->cfFormat == CF_UNICODETEXT) {
    mem = BlockOf(textdata.c_str(), (textdata.size() + 1) * 2);
  } else {
    std::string bytes;
    if (Format->cfFormat == CF_TEXT) {
      EncodeCodePage(textdata, SystemCodePage, bytes, true);
    } else {
      for (Char c : rtfdata) bytes.push_back(char(c));
    }
    mem = BlockOf(bytes.c_str(), bytes.size() + 1);
  }
  if (mem == nullptr) return DV_E_FORMATETC;
  Medium->tymed = TYMED_HGLOBAL;
  Medium->hGlobal = mem;
  return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* FormatOut) {
  if (FormatOut != nullptr) FormatOut->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(const FORMATETC*, STGMEDIUM*, BOOL) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) {
  if (Enum == nullptr) return E_POINTER;
  *Enum = nullptr;
  if (Direction != DATADIR_GET) return E_NOTIMPL;
  if (RichTextFormat == 0) RichTextFormat = RegisterClipboardFormat(u"Rich Text Format");
  *Enum = new TSourceEnumFormatEtc;
  return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** Enum) {
  if (Enum != nullptr) *Enum = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

// ---------------------------------------------------------------------------
// TSourceEnumFormatEtc

HRESULT TSourceEnumFormatEtc::Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) {
  ULONG n = 0;
  while (n < Count && FIndex < 3 && Formats != nullptr) Formats[n++] = SourceFormat(FIndex++);
  if (Fetched != nullptr) *Fetched = n;
  return n == Count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Count) {
  if (FIndex + int64_t(Count) >= 4) {
    FIndex = 3;
    return S_FALSE;
  }
  FIndex += int(Count);
  return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset() {
  FIndex = 0;
  return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** Enum) {
  if (Enum == nullptr) return E_POINTER;
  *Enum = new TSourceEnumFormatEtc;
  return S_OK;
}

// ---------------------------------------------------------------------------

HRESULT BeginEditTextDrag(const String& Text, const String& Rtf, DWORD OkEffects, DWORD& Effect) {
  auto* source = new TAEDropSource;
  auto* data = new TSourceDataObject(Text, Rtf);
  HRESULT r = DoDragDrop(data, source, OkEffects, &Effect);
  if (source->NoAccept()) r = DRAGDROP_S_CANCEL;
  data->Release();
  source->Release();
  return r;
}

// ---------------------------------------------------------------------------
// The styled edit's drop target

bool TEditDropTarget::OnOwnSelection(TPoint Pt) const {
  TAdvEdit* e = FAdvEdit;
  if (!e->FIsDragSource || e->SelLength() <= 0) return false;
  const int at = e->CharFromPos(e->ScreenToClient(Pt));
  return at >= e->SelStart() && at <= e->SelStart() + e->SelLength();
}

void TEditDropTarget::DragMouseMove(TPoint Pt, bool& Allow) {
  TAEDropTarget::DragMouseMove(Pt, Allow);
  // The selection cannot go onto itself: the source keeps it.
  if (OnOwnSelection(Pt)) Allow = false;
  FAdvEdit->TrackDropCaret(FAdvEdit->ScreenToClient(Pt));
}

HRESULT TEditDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  if (OnOwnSelection(PointOf(Pt))) {
    FAdvEdit->HideDropCaret();
    if (Effect != nullptr) *Effect = DROPEFFECT_NONE;
    return S_OK;
  }
  return TAEDropTarget::Drop(DataObj, KeyState, Pt, Effect);
}

HRESULT TEditDropTarget::DragLeave() {
  // The drop caret goes with the mouse.
  FAdvEdit->HideDropCaret();
  return TAEDropTarget::DragLeave();
}

void TEditDropTarget::DropText(TPoint Pt, const String& Text) {
  // The first line only.
  String s = Text.substr(0, Text.find(u'\r'));
  s = s.substr(0, s.find(u'\n'));
  TAdvEdit* e = FAdvEdit;
  const TPoint client = e->ScreenToClient(Pt);
  const bool move = e->FIsDragSource && GetKeyState(VK_CONTROL) >= 0;
  if (e->FIsDragSource) {
    const int at = e->CharFromPos(client), selStart = e->SelStart(), selEnd = selStart + e->SelLength();
    if (e->SelLength() > 0 && at >= selStart && at <= selEnd) return;
    // A move within the edit: the text leaves its old place first.
    if (move) e->SetSelText(String());
  }
  e->HideDropCaret();
  e->MoveCaretToCursor(client);
  // Text moved within the edit came from it; other text must be what the edit takes.
  const String t = move ? s : Acceptable(s);
  if (!t.empty()) e->SetSelText(t);
  e->Invalidate();
}

String TEditDropTarget::Acceptable(const String& Text) const {
  TAdvEdit* e = FAdvEdit;
  if (e->ReadOnly()) return String();
  String t = EditInputText(Text);
  // Within the room MaxLength leaves, not splitting a surrogate pair.
  if (e->MaxLength() > 0) {
    const int room = std::max(0, e->MaxLength() - Length(e->WindowText()) + e->SelLength());
    if (Length(t) > room) {
      size_t cut = size_t(room);
      if (cut > 0 && IsHighSurrogate(t[cut - 1])) --cut;
      t.resize(cut);
    }
  }
  // The value with the text at the caret must be one the edit's type takes.
  const String v = e->Text();
  const int at = std::clamp(e->SelStart() - Length(e->Prefix()), 0, Length(v));
  String w = v;
  w.insert(size_t(at), t);
  return e->PasteAccepted(w, t) ? t : String();
}

// ---------------------------------------------------------------------------
// Dragging from the styled edit

void TAdvEdit::SetOleDropTarget(bool Value) {
  FOleDropTarget = Value;
  if (ComponentState().Contains(csDesigning)) return;
  if (Value) {
    if (FOleDropTargetAssigned) return;
    auto* target = new TEditDropTarget(this);
    FOleDropTargetAssigned = RegisterDragDrop(Handle(), target) == S_OK;
    target->Release();  // the registration holds it
  } else if (FOleDropTargetAssigned) {
    if (HandleAllocated()) RevokeDragDrop(Handle());
    FOleDropTargetAssigned = false;
  }
}

bool TAdvEdit::OleButtonDown(TWMMouse& Message) {
  if (SelLength() <= 0 || !Focused()) return false;
  const int at = CharFromPos(TPoint(Message.XPos(), Message.YPos()));
  if (at < SelStart() || at > SelStart() + SelLength()) return false;
  // The selection stays: the press may start a drag.
  FButtonDown = true;
  return true;
}

void TAdvEdit::OleMouseMove(TWMMouse&) {
  if (SelLength() > 0 && FButtonDown && FOleDropSource) {
    const String s = SelText();
    DWORD effect = DROPEFFECT_NONE;
    FIsDragSource = true;
    HRESULT r = DRAGDROP_S_CANCEL;
    {
      struct TEndDrag {
        bool& flag;
        ~TEndDrag() { flag = false; }
      } end{FIsDragSource};
      r = BeginEditTextDrag(s, String(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    }
    if (GetKeyState(VK_CONTROL) >= 0 && r == DRAGDROP_S_DROP) {
      SetSelText(String());
      HideDropCaret();
      Invalidate();
    }
  }
  FButtonDown = false;
}

void TAdvEdit::OleButtonUp(TWMMouse& Message) {
  if (FButtonDown) {
    // A click inside the selection without a drag: the caret goes there.
    const int at = CharFromPos(TPoint(Message.XPos(), Message.YPos()));
    Select(at, 0);
    Click();
  }
  FButtonDown = false;
}
