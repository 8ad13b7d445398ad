#include "grid/asgdd.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/rtl/CodePages.h"
#include "platform/win/Messages.h"

namespace asgdd {

namespace {

bool gRichTextDragDrop = false;
UINT gGridColFormat = 0, gRtfFormat = 0, gGridCellsFormat = 0, gUrlFormat = 0;

void RegisterFormats() {
  gRtfFormat = RegisterClipboardFormat(u"Rich Text Format");
  gGridColFormat = RegisterClipboardFormat(u"Grid Column");
  gGridCellsFormat = RegisterClipboardFormat(u"DEreDuzeroVaro Cells");
  gUrlFormat = RegisterClipboardFormat(u"UniformResourceLocator");
}

TPoint PointOf(POINTL Pt) { return TPoint(Pt.x, Pt.y); }

HGLOBAL BlockOf(const void* Bytes, size_t Size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, Size);
  if (mem == nullptr) return nullptr;
  void* p = GlobalLock(mem);
  if (p != nullptr && Size > 0) std::memcpy(p, Bytes, Size);
  GlobalUnlock(mem);
  return mem;
}

// The cell block: the byte count, four zero bytes, the bytes.
bool CellBlockFits(const std::string& Block, uint32_t& Count) {
  if (Block.size() < 8) return false;
  std::memcpy(&Count, Block.data(), 4);
  return Count <= Block.size() - 8;
}

}  // namespace

UINT CF_GRIDCOL() { return gGridColFormat; }
UINT CF_RTF() { return gRtfFormat; }
UINT CF_GRIDCELLS() { return gGridCellsFormat; }
UINT CF_URL() { return gUrlFormat; }

void SetRichTextDragDrop(bool Value) { gRichTextDragDrop = Value; }
bool RichTextDragDrop() { return gRichTextDragDrop; }

// ---------------------------------------------------------------------------
// TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* DataObject) : ::TEnumFormats(DataObject) { RegisterFormats(); }

bool TEnumFormats::Block(UINT ClipFormat, std::string& Bytes) {
  Bytes.clear();
  if (ClipFormat == 0 || !HasFormat(CLIPFORMAT(ClipFormat))) return false;
  HGLOBAL mem = GlobalHandle();
  if (mem == nullptr) return false;
  const size_t size = GlobalSize(mem);
  bool ok = size <= MaxDropBlock;
  if (ok) {
    if (const auto* p = static_cast<const char*>(GlobalLock(mem))) Bytes.assign(p, size);
    else ok = false;
    GlobalUnlock(mem);
  }
  GlobalFree(mem);
  return ok;
}

bool TEnumFormats::HasGridCells() {
  std::string block;
  uint32_t count = 0;
  return Block(CF_GRIDCELLS(), block) && CellBlockFits(block, count);
}

int TEnumFormats::Col() {
  std::string bytes;
  if (!Block(CF_GRIDCOL(), bytes) || bytes.size() < 4) return -1;
  int32_t col = 0;
  std::memcpy(&col, bytes.data(), 4);
  return std::max(col, int32_t(-1));
}

std::unique_ptr<TMemoryStream> TEnumFormats::Stream() {
  std::string block;
  uint32_t count = 0;
  if (!Block(CF_GRIDCELLS(), block) || !CellBlockFits(block, count)) return nullptr;
  auto stream = std::make_unique<TMemoryStream>();
  if (count > 0) stream->Write(block.data() + 8, int32_t(count));
  stream->Seek(0, soBeginning);
  return stream;
}

// ---------------------------------------------------------------------------
// TASGDropTarget

TASGDropTarget::TASGDropTarget() { RegisterFormats(); }

DWORD TASGDropTarget::StandardEffect(DWORD KeyState, DWORD Allowed) const {
  return (KeyState & MK_CONTROL) == 0 && (Allowed & DROPEFFECT_MOVE) != 0 ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

HRESULT TASGDropTarget::DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL, DWORD* Effect) {
  TEnumFormats formats(DataObj);
  FDropFormats.Clear();
  if (formats.HasText()) FDropFormats += dfText;
  if (formats.HasFile()) FDropFormats += dfFile;
  if (formats.HasRTF()) FDropFormats += dfRTF;
  if (formats.HasCol()) FDropFormats += dfCol;
  if (formats.HasURL()) FDropFormats += dfURL;
  if (formats.HasGridCells()) FDropFormats += dfGridCells;
  FOk = (FDropFormats.Contains(dfText) && FAcceptText) || (FDropFormats.Contains(dfFile) && FAcceptFiles) ||
        (FDropFormats.Contains(dfRTF) && gRichTextDragDrop && FAcceptText) ||
        (FDropFormats.Contains(dfCol) && FAcceptCols) || (FDropFormats.Contains(dfURL) && FAcceptURLs) ||
        FDropFormats.Contains(dfGridCells);
  if (Effect != nullptr) *Effect = FOk ? StandardEffect(KeyState, *Effect) : DROPEFFECT_NONE;
  DragMouseEnter();
  return S_OK;
}

HRESULT TASGDropTarget::DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) {
  const DWORD allowed = Effect != nullptr ? *Effect : DROPEFFECT_COPY | DROPEFFECT_MOVE;
  DWORD effect = FOk ? StandardEffect(KeyState, allowed) : DROPEFFECT_NONE;
  bool allow = effect != DROPEFFECT_NONE;
  DragMouseMove(PointOf(Pt), allow, FDropFormats);
  if (!allow) effect = DROPEFFECT_NONE;
  if (Effect != nullptr) *Effect = effect;
  return S_OK;
}

HRESULT TASGDropTarget::DragLeave() {
  DragMouseLeave();
  return S_OK;
}

HRESULT TASGDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  const DWORD allowed = Effect != nullptr ? *Effect : DROPEFFECT_COPY | DROPEFFECT_MOVE;
  if (!FOk) {
    if (Effect != nullptr) *Effect = DROPEFFECT_NONE;
    return S_OK;
  }
  const TPoint pt = PointOf(Pt);
  FRefused = false;
  TEnumFormats formats(DataObj);
  // Each format goes only to a target that accepts it; cells are always taken.
  const int col = FAcceptCols ? formats.Col() : -1;
  if (col >= 0) {
    DropCol(pt, col);
  } else {
    if (std::unique_ptr<TMemoryStream> cells = formats.Stream())
      DropStream(pt, cells.get());
    else if (FAcceptText && gRichTextDragDrop && formats.HasRTF())
      DropRTF(pt, formats.RTF());
    else if (FAcceptText && formats.HasText())
      DropText(pt, formats.Text());
    if (FAcceptFiles && formats.FileList()) DropFiles(pt, formats.Files());
    if (FAcceptURLs && formats.HasURL()) DropURL(pt, formats.Text());
  }
  if (Effect != nullptr) *Effect = FRefused ? DROPEFFECT_NONE : StandardEffect(KeyState, allowed);
  return S_OK;
}

void TASGDropTarget::DropText(TPoint, const String&) {}
void TASGDropTarget::DropStream(TPoint, TMemoryStream*) {}
void TASGDropTarget::DropCol(TPoint, int) {}
void TASGDropTarget::DropRTF(TPoint, const String&) {}
void TASGDropTarget::DropFiles(TPoint, TStrings*) {}
void TASGDropTarget::DropURL(TPoint, const String&) {}
void TASGDropTarget::DragMouseMove(TPoint, bool&, TDropFormats) {}
void TASGDropTarget::DragMouseEnter() {}
void TASGDropTarget::DragMouseLeave() {}

// ---------------------------------------------------------------------------
// TASGDropSource

HRESULT TASGDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) {
  HRESULT answer = S_OK;
  if (EscapePressed) {
    DragEnded();
    answer = DRAGDROP_S_CANCEL;
  } else if ((KeyState & MK_LBUTTON) == 0) {
    DragEnded();
    answer = DRAGDROP_S_DROP;
  }
  QueryDrag();
  return answer;
}

HRESULT TASGDropSource::GiveFeedback(DWORD Effect) {
  FNoAccept = Effect == DROPEFFECT_NONE;
  CurrentEffect(Effect);
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

void TASGDropSource::DragEnded() {}
void TASGDropSource::CurrentEffect(DWORD) {}
void TASGDropSource::QueryDrag() {}

// ---------------------------------------------------------------------------
// TSourceDataObject

TSourceDataObject::TSourceDataObject(const String& Text, const String& RTF, int ColumnIndex, TMemoryStream* Stream)
    : textdata(Text), rtfdata(RTF), scolidx(ColumnIndex), memstr(Stream) {
  // A drag started before any drop has been read still offers its formats under their numbers.
  RegisterFormats();
}

HRESULT TSourceDataObject::QueryGetData(const FORMATETC* Format) {
  if (Format == nullptr || Format->dwAspect != DVASPECT_CONTENT || (Format->tymed & TYMED_HGLOBAL) == 0)
    return DV_E_FORMATETC;
  const UINT cf = Format->cfFormat;
  bool offered = false;
  if (cf == CF_TEXT || cf == CF_UNICODETEXT) offered = !textdata.empty();
  else if (cf == CF_RTF()) offered = !textdata.empty() && gRichTextDragDrop;
  else if (cf == CF_GRIDCELLS()) offered = memstr != nullptr;
  else if (cf == CF_GRIDCOL()) offered = scolidx != -1;
  return offered ? S_OK : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC* Format, STGMEDIUM* Medium) {
  if (Medium == nullptr) return E_POINTER;
  *Medium = STGMEDIUM();
  if (QueryGetData(Format) != S_OK) return DV_E_FORMATETC;
  const UINT cf = Format->cfFormat;
  HGLOBAL mem = nullptr;
  if (cf == CF_UNICODETEXT) {
    mem = BlockOf(textdata.c_str(), (textdata.size() + 1) * 2);
  } else if (cf == CF_TEXT || cf == CF_RTF()) {
    std::string bytes;
    EncodeCodePage(cf == CF_TEXT ? textdata : rtfdata, SystemCodePage, bytes, true);
    mem = BlockOf(bytes.c_str(), bytes.size() + 1);  // never empty: at least the terminating zero
  } else if (cf == CF_GRIDCOL()) {
    const int32_t col = scolidx;
    mem = BlockOf(&col, 4);
  } else {
    const int64_t size = memstr->Size();
    if (size > int64_t(std::numeric_limits<uint32_t>::max()) - 8) return DV_E_FORMATETC;
    std::string block(size_t(size) + 8, '\0');
    const uint32_t count = uint32_t(size);
    std::memcpy(block.data(), &count, 4);
    if (size > 0) std::memcpy(block.data() + 8, memstr->Memory(), size_t(size));
    mem = BlockOf(block.data(), block.size());
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
  *Enum = new TSourceEnumFormatEtc(scolidx != -1, memstr != nullptr);
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

ULONG TSourceEnumFormatEtc::FormatCount() const { return 3 + (FHasCol ? 1 : 0) + (FHasGridCells ? 1 : 0); }

HRESULT TSourceEnumFormatEtc::Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) {
  std::vector<UINT> list = {CF_TEXT, CF_UNICODETEXT, CF_RTF()};
  if (FHasCol) list.push_back(CF_GRIDCOL());
  if (FHasGridCells) list.push_back(CF_GRIDCELLS());
  ULONG n = 0;
  for (; Formats != nullptr && n < Count && FIndex < list.size(); ++n, ++FIndex) {
    FORMATETC& f = Formats[n];
    f = FORMATETC();
    f.cfFormat = CLIPFORMAT(list[FIndex]);
    f.ptd = nullptr;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = TYMED_HGLOBAL;
  }
  if (Fetched != nullptr) *Fetched = n;
  return n == Count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Count) {
  if (uint64_t(FIndex) + Count > FormatCount()) {
    FIndex = FormatCount();
    return S_FALSE;
  }
  FIndex += Count;
  return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset() {
  FIndex = 0;
  return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** Enum) {
  if (Enum == nullptr) return E_POINTER;
  auto* copy = new TSourceEnumFormatEtc(FHasCol, FHasGridCells);
  copy->FIndex = FIndex;
  *Enum = copy;
  return S_OK;
}

// ---------------------------------------------------------------------------

namespace {

HRESULT RunDrag(TASGDropSource* DropSource, TSourceDataObject* Data, DWORD OkEffects, DWORD& Effect) {
  HRESULT r = DoDragDrop(Data, DropSource, OkEffects, &Effect);
  Data->Release();
  return DropSource != nullptr && DropSource->NoAccept() ? DRAGDROP_S_CANCEL : r;
}

}  // namespace

HRESULT BeginTextDrag(TASGDropSource* DropSource, const String& Text, const String& RTF, TMemoryStream* Stream,
                      DWORD OkEffects, DWORD& Effect) {
  return RunDrag(DropSource, new TSourceDataObject(Text, RTF, -1, Stream), OkEffects, Effect);
}

HRESULT BeginColumnDrag(TASGDropSource* DropSource, int Column, DWORD OkEffects, DWORD& Effect) {
  return RunDrag(DropSource, new TSourceDataObject(String(), String(), Column, nullptr), OkEffects, Effect);
}

}  // namespace asgdd
