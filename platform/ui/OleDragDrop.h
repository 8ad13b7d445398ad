#pragma once
// OLE drag and drop over the desktop's drag and drop: data objects, drop sources and drop
// targets with their calls (RegisterDragDrop, RevokeDragDrop, DoDragDrop), the format and
// medium records, file lists (DROPFILES) and the effects and results.
//
// What travels between programs: CF_UNICODETEXT and CF_TEXT (8-bit text in the system code
// page, CP932) as plain text, CF_HDROP as a list of local files, and the registered
// "Rich Text Format" as RTF. Within the program a dragged data object reaches the drop target
// as it is. Data offered only in a medium other than global memory does not travel.

#include "platform/ui/Clipbrd.h"
#include "platform/win/Ole.h"

constexpr UINT CF_HDROP = 15;
// The system code page of 8-bit text (CF_TEXT).
inline constexpr const char* SystemCodePage = "CP932";

using CLIPFORMAT = uint16_t;
struct POINTL {
  LONG x = 0;
  LONG y = 0;
};

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_FILE = 2, TYMED_ISTREAM = 4;
constexpr DWORD DATADIR_GET = 1, DATADIR_SET = 2;

using DROPEFFECT = DWORD;
constexpr DWORD DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000u;
// Key state of drag calls: MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL, MK_MBUTTON, and Alt.
constexpr DWORD MK_ALT = 0x0020;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

inline constexpr IID IID_IDataObject{0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IEnumFORMATETC{0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDropSource{0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDropTarget{0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct DVTARGETDEVICE;

struct FORMATETC {
  CLIPFORMAT cfFormat = 0;
  DVTARGETDEVICE* ptd = nullptr;
  DWORD dwAspect = DVASPECT_CONTENT;
  LONG lindex = -1;
  DWORD tymed = TYMED_HGLOBAL;
};
using tagFORMATETC = FORMATETC;

// Data in a medium; only global memory and streams are carried here.
struct STGMEDIUM {
  DWORD tymed = TYMED_NULL;
  HGLOBAL hGlobal = nullptr;
  IStream* pstm = nullptr;
  IUnknown* pUnkForRelease = nullptr;
};
// Frees the medium's data (or releases pUnkForRelease, which owns it) and clears it.
void ReleaseStgMedium(STGMEDIUM* Medium);

// The head of a CF_HDROP block: the file names follow from pFiles on, each ending in a zero,
// the list ending in an empty name; wide (UTF-16) names with fWide, else 8-bit.
struct DROPFILES {
  DWORD pFiles = 0;
  POINT pt{};
  BOOL fNC = 0;
  BOOL fWide = 0;
};

class IEnumFORMATETC : public IUnknown {
public:
  virtual HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) = 0;
  virtual HRESULT Skip(ULONG Count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumFORMATETC** Enum) = 0;
};

class IAdviseSink;
class IEnumSTATDATA;

class IDataObject : public IUnknown {
public:
  virtual HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
  virtual HRESULT GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
  virtual HRESULT QueryGetData(const FORMATETC* Format) = 0;
  virtual HRESULT GetCanonicalFormatEtc(const FORMATETC* FormatIn, FORMATETC* FormatOut) = 0;
  virtual HRESULT SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) = 0;
  virtual HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) = 0;
  virtual HRESULT DAdvise(const FORMATETC* Format, DWORD Flags, IAdviseSink* Sink, DWORD* Connection) = 0;
  virtual HRESULT DUnadvise(DWORD Connection) = 0;
  virtual HRESULT EnumDAdvise(IEnumSTATDATA** Enum) = 0;
};

class IDropSource : public IUnknown {
public:
  // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to end without a drop.
  virtual HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) = 0;
  virtual HRESULT GiveFeedback(DWORD Effect) = 0;
};

// Points are screen coordinates; Effect holds the effects the source allows on the way in and
// the one the target takes on the way out.
class IDropTarget : public IUnknown {
public:
  virtual HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) = 0;
  virtual HRESULT DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) = 0;
  virtual HRESULT DragLeave() = 0;
  virtual HRESULT Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) = 0;
};

// S_OK for the first call of the program, S_FALSE for further ones; each is matched by
// OleUninitialize.
HRESULT OleInitialize(void* Reserved);
void OleUninitialize();

// Makes the window a drop target: drags over it reach Target (which the registration holds
// a reference to). DRAGDROP_E_INVALIDHWND for no window, DRAGDROP_E_ALREADYREGISTERED when
// it has one. The registration ends with RevokeDragDrop or the window.
HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target);
// DRAGDROP_E_NOTREGISTERED when the window has no target.
HRESULT RevokeDragDrop(HWND Wnd);

// Drags the data object from the mouse's place until the source ends it: DRAGDROP_S_DROP with
// the target's effect in *Effect, DRAGDROP_S_CANCEL (Escape, a release over no target, or a
// target that took nothing) with DROPEFFECT_NONE; E_INVALIDARG for a missing argument.
// The drag starts from the window under the mouse, or the active window.
HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* DropSource, DWORD OkEffects, DWORD* Effect);
