#pragma once
// OLE drag and drop of the string grid: a reader of the formats a dropped data object offers, a
// drop target that hands each format to a virtual handler, a drop source, the data object and
// format enumerator a grid drag offers, and the routines that start a text or a column drag.
//
// The styled edit's drag and drop unit has classes of the same names, so this unit's live in
// the namespace asgdd.
//
// Formats: plain text (CF_TEXT, CF_UNICODETEXT), "Rich Text Format", "Grid Column" (the column
// number as a 32-bit integer), "DEreDuzeroVaro Cells" (a 32-bit byte count N, 4 zero bytes,
// then the N bytes of the grid's cell stream), files (CF_HDROP) and links
// ("UniformResourceLocator", whose text comes as wide text).

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/System.h"
#include "controls/AdvEddd.h"
#include "platform/ui/OleDragDrop.h"

namespace asgdd {

enum TDropFormat : uint8_t { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = Set<TDropFormat>;

// The registered formats, 0 until registered; TEnumFormats and TSourceDataObject register them.
UINT CF_GRIDCOL();
UINT CF_RTF();
UINT CF_GRIDCELLS();
UINT CF_URL();

// Dropped blocks larger than this are taken as absent, so another program's drop is read in
// bounded time and memory.
constexpr size_t MaxDropBlock = size_t(64) << 20;

// Reads the formats of a data object, one entry at a time: the styled edit's reader with the
// grid's formats. Blocks whose size does not fit their format (a column block under 4 bytes or
// with a negative column, a cell block whose count exceeds its bytes, any block over
// MaxDropBlock) count as absent.
class TEnumFormats : public ::TEnumFormats {
public:
  explicit TEnumFormats(IDataObject* DataObject);

  // Text means wide text here.
  bool HasText() { return HasUnicodeText(); }
  bool HasCol() { return Col() >= 0; }
  bool HasURL() { return CF_URL() != 0 && HasFormat(CLIPFORMAT(CF_URL())); }
  bool HasGridCells();

  // The dropped column; -1 when absent.
  int Col();
  // A new stream of the dropped cells (the caller owns it), or null when absent.
  std::unique_ptr<TMemoryStream> Stream();

private:
  // The bytes of the first entry of the format; false when absent or over MaxDropBlock.
  bool Block(UINT ClipFormat, std::string& Bytes);
};

// A drop target taking text, files, links, rich text (with the rich-text switch), dragged
// columns and grid cells; derived targets say what each drop does. Ctrl copies, else the data
// moves when the source allows it.
class TASGDropTarget : public TInterfacedObject<IDropTarget> {
public:
  // Registers the formats, so that other programs' drops of them are known from the first.
  TASGDropTarget();
  HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

  // Points are screen coordinates.
  virtual void DropText(TPoint Pt, const String& Text);
  virtual void DropStream(TPoint Pt, TMemoryStream* Stream);
  virtual void DropCol(TPoint Pt, int Col);
  virtual void DropRTF(TPoint Pt, const String& RTF);
  virtual void DropFiles(TPoint Pt, TStrings* Files);
  virtual void DropURL(TPoint Pt, const String& URL);
  virtual void DragMouseMove(TPoint Pt, bool& Allow, TDropFormats DropFormats);
  virtual void DragMouseEnter();
  virtual void DragMouseLeave();

  bool AcceptText() const { return FAcceptText; }
  void SetAcceptText(bool Value) { FAcceptText = Value; }
  bool AcceptFiles() const { return FAcceptFiles; }
  void SetAcceptFiles(bool Value) { FAcceptFiles = Value; }
  bool AcceptCols() const { return FAcceptCols; }
  void SetAcceptCols(bool Value) { FAcceptCols = Value; }
  bool AcceptURLs() const { return FAcceptURLs; }
  void SetAcceptURLs(bool Value) { FAcceptURLs = Value; }
  TDropFormats DropFormats() const { return FDropFormats; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropTarget; }
  // A drop handler that takes nothing calls this: the drop then reports no effect, so that
  // the source keeps what it offered.
  void RefuseDrop() { FRefused = true; }
  bool FOk = false;

private:
  DWORD StandardEffect(DWORD KeyState, DWORD Allowed) const;
  bool FRefused = false;

  bool FAcceptText = true, FAcceptFiles = true, FAcceptCols = false, FAcceptURLs = true;
  TDropFormats FDropFormats;
};

class TASGDropSource : public TInterfacedObject<IDropSource> {
public:
  HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
  HRESULT GiveFeedback(DWORD Effect) override;

  virtual void DragEnded();
  virtual void CurrentEffect(DWORD Effect);
  virtual void QueryDrag();
  // The last feedback reported no allowed effect.
  bool NoAccept() const { return FNoAccept; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropSource; }

private:
  bool FNoAccept = false;
};

// The data a grid drag offers: text (CF_TEXT, CF_UNICODETEXT and, with the rich-text switch,
// rich text), a column (ColumnIndex <> -1) and the cell stream (Stream, not owned: it must
// outlive the drag).
class TSourceDataObject : public TInterfacedObject<IDataObject> {
public:
  TSourceDataObject(const String& Text, const String& RTF, int ColumnIndex, TMemoryStream* Stream);
  HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT QueryGetData(const FORMATETC* Format) override;
  HRESULT GetCanonicalFormatEtc(const FORMATETC* FormatIn, FORMATETC* FormatOut) override;
  HRESULT SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) override;
  HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override;
  HRESULT DAdvise(const FORMATETC* Format, DWORD Flags, IAdviseSink* Sink, DWORD* Connection) override;
  HRESULT DUnadvise(DWORD Connection) override;
  HRESULT EnumDAdvise(IEnumSTATDATA** Enum) override;

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  String textdata, rtfdata;
  int scolidx;
  TMemoryStream* memstr;
};

// Lists CF_TEXT, CF_UNICODETEXT, "Rich Text Format", then "Grid Column" with HasCol and
// "DEreDuzeroVaro Cells" with HasGridCells.
class TSourceEnumFormatEtc : public TInterfacedObject<IEnumFORMATETC> {
public:
  TSourceEnumFormatEtc(bool HasCol, bool HasGridCells) : FHasCol(HasCol), FHasGridCells(HasGridCells) {}
  HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override;
  HRESULT Skip(ULONG Count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFORMATETC** Enum) override;

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

private:
  ULONG FormatCount() const;
  ULONG FIndex = 0;
  bool FHasCol, FHasGridCells;
};

// Drags text (and rich text and cells) from DropSource with the allowed effects OkEffects.
// DRAGDROP_S_CANCEL when the last feedback showed no target taking it, else DoDragDrop's
// answer; Effect holds the effect taken.
HRESULT BeginTextDrag(TASGDropSource* DropSource, const String& Text, const String& RTF, TMemoryStream* Stream,
                      DWORD OkEffects, DWORD& Effect);
// The same for a column.
HRESULT BeginColumnDrag(TASGDropSource* DropSource, int Column, DWORD OkEffects, DWORD& Effect);

// Whether rich text is accepted by drop targets and offered by drags (off at start).
void SetRichTextDragDrop(bool Value);
bool RichTextDragDrop();

}  // namespace asgdd
