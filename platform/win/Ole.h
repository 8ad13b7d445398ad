#pragma once
// COM objects as the facade offers them: reference-counted interfaces, global memory blocks,
// streams over global memory, and the OLE picture loader (BMP, JPEG, GIF, ICO and, once
// the class library has registered its reader, WMF and EMF).

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/win/Modules.h"
#include "platform/win/Resources.h"
#include "platform/win/Windows.h"

using ULONG = uint32_t;
using SIZE_T = size_t;
using LARGE_INTEGER = int64_t;
using ULARGE_INTEGER = uint64_t;

constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);
constexpr HRESULT STG_E_INVALIDFLAG = static_cast<HRESULT>(0x800300FFu);
constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = static_cast<HRESULT>(0x800A017Cu);
constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1u);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// A globally unique identifier: interface identifiers, class identifiers, format identifiers.
struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0, Data3 = 0;
  uint8_t Data4[8] = {};
  friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ISequentialStream{0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
inline constexpr IID IID_IStream{0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPicture{0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// The root interface: an object lives while references are held; Release of the last frees it.
class IUnknown {
public:
  // S_OK with a new reference in *Object, or E_NOINTERFACE with *Object null.
  virtual HRESULT QueryInterface(REFIID Riid, void** Object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

protected:
  virtual ~IUnknown() = default;
};

// Reference counting and QueryInterface for an object implementing Interface: it starts with
// one reference, and answers IID_IUnknown and the identifiers Supports accepts.
template <typename Interface>
class TInterfacedObject : public Interface {
public:
  HRESULT QueryInterface(REFIID Riid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    if (Riid == IID_IUnknown || Supports(Riid)) {
      *Object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++FRefs; }
  ULONG Release() override {
    ULONG r = --FRefs;
    if (r == 0) delete this;
    return r;
  }

protected:
  virtual bool Supports(REFIID Riid) const = 0;

private:
  std::atomic<ULONG> FRefs{1};
};

// ---------------------------------------------------------------------------
// Global memory. Every block is movable: its handle is not its address; GlobalLock gives the
// address, valid until the matching GlobalUnlock. Blocks are filled with zeros.

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Null when the memory cannot be had or Bytes exceeds 4 GiB.
HGLOBAL GlobalAlloc(UINT Flags, SIZE_T Bytes);
// A block of another size, keeping the first bytes; null (block unchanged) when the memory cannot
// be had or the block is locked.
HGLOBAL GlobalReAlloc(HGLOBAL Mem, SIZE_T Bytes, UINT Flags);
// The block's address (a valid address also for an empty block); null for no block.
void* GlobalLock(HGLOBAL Mem);
// TRUE while the block stays locked.
BOOL GlobalUnlock(HGLOBAL Mem);
// 0 for no block.
SIZE_T GlobalSize(HGLOBAL Mem);
// Null when freed; the handle back when it is no block.
HGLOBAL GlobalFree(HGLOBAL Mem);

// ---------------------------------------------------------------------------
// Streams

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;
constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;

struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

struct STATSTG {
  Char* pwcsName = nullptr;  // never given: streams here have no names
  DWORD type = 0;
  ULARGE_INTEGER cbSize = 0;
  FILETIME mtime, ctime, atime;
  DWORD grfMode = 0;
  DWORD grfLocksSupported = 0;
  IID clsid;
  DWORD grfStateBits = 0;
  DWORD reserved = 0;
};

class ISequentialStream : public IUnknown {
public:
  // S_OK with *Read bytes (fewer at the end, 0 past it).
  virtual HRESULT Read(void* Buffer, ULONG Count, ULONG* Read) = 0;
  virtual HRESULT Write(const void* Buffer, ULONG Count, ULONG* Written) = 0;
};

class IStream : public ISequentialStream {
public:
  // A position before the start gives STG_E_INVALIDFUNCTION and leaves the position.
  virtual HRESULT Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER NewSize) = 0;
  virtual HRESULT CopyTo(IStream* Dest, ULARGE_INTEGER Count, ULARGE_INTEGER* Read, ULARGE_INTEGER* Written) = 0;
  virtual HRESULT Commit(DWORD Flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Count, DWORD LockType) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Count, DWORD LockType) = 0;
  virtual HRESULT Stat(STATSTG* Stat, DWORD Flag) = 0;
  // A second stream on the same bytes with its own position.
  virtual HRESULT Clone(IStream** Stream) = 0;
};

// A stream whose bytes are the global block Mem (null: a new empty block); its size starts as the
// block's size and writing past the end grows the block. With DeleteOnRelease the block is freed
// when the last stream on it is released.
HRESULT CreateStreamOnHGlobal(HGLOBAL Mem, BOOL DeleteOnRelease, IStream** Stream);
// The block under a stream made by CreateStreamOnHGlobal; E_INVALIDARG for any other stream.
HRESULT GetHGlobalFromStream(IStream* Stream, HGLOBAL* Mem);

// ---------------------------------------------------------------------------
// Pictures

using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;
using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;
using OLE_HANDLE = uint32_t;

constexpr short PICTYPE_UNINITIALIZED = -1;
constexpr short PICTYPE_NONE = 0;
constexpr short PICTYPE_BITMAP = 1;
constexpr short PICTYPE_METAFILE = 2;
constexpr short PICTYPE_ICON = 3;
constexpr short PICTYPE_ENHMETAFILE = 4;

// A decoded picture. Sizes are in HIMETRIC (0.01 mm; 2540 per inch, a pixel at 96 dots per inch).
class IPicture : public IUnknown {
public:
  virtual HRESULT get_Type(short* Type) = 0;
  virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* Width) = 0;
  virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* Height) = 0;
  // Draws the part Src (HIMETRIC, its y counted up from the picture's bottom edge) into the
  // device rectangle X, Y, Cx, Cy; negative sizes mirror. So (X, Y, Cx, Cy) with the source
  // (0, Height, Width, -Height) draws the picture upright, as does (X, Y + Cy, Cx, -Cy) with
  // (0, 0, Width, Height). Bounds is only for metafiles and may be null. A zero source size is
  // CTL_E_INVALIDPROPERTYVALUE; a null DC E_INVALIDARG.
  virtual HRESULT Render(HDC DC, LONG X, LONG Y, LONG Cx, LONG Cy, OLE_XPOS_HIMETRIC XSrc, OLE_YPOS_HIMETRIC YSrc,
                         OLE_XSIZE_HIMETRIC CxSrc, OLE_YSIZE_HIMETRIC CySrc, const RECT* Bounds) = 0;
};

// Reads a picture from Size bytes of Stream (its current position on): BMP, JPEG, GIF (its first
// image, or the frame whose image descriptor comes first), ICO, PNG, and WMF/EMF once a metafile
// reader is registered. Asking for IID_IPicture or IID_IUnknown gives S_OK and the picture in
// *Object; other interfaces E_NOINTERFACE. Data that is empty, truncated, damaged or of another
// kind gives CTL_E_INVALIDPICTURE; a picture of more than MaxOlePicturePixels pixels is refused
// with E_OUTOFMEMORY before its pixels are allocated.
HRESULT OleLoadPicture(IStream* Stream, LONG Size, BOOL RunMode, REFIID Riid, void** Object);

// Largest picture decoded: 64 megapixels, as the class library's pictures.
constexpr int64_t MaxOlePicturePixels = int64_t(8192) * 8192;
