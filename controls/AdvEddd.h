#pragma once
// Drag and drop of text for the styled edit: a reader of a dropped data object's formats, a drop
// target base, a drop source, a data object offering text and its format enumerator, the routine
// that starts a text drag, and the styled edit's own drop target.

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/ui/OleDragDrop.h"

class TAdvEdit;

// The clipboard format number of "Rich Text Format" (0 until a format reader registers it), and
// whether rich text is accepted on drops and served by drag sources (False; nothing sets it).
extern UINT RichTextFormat;
extern bool RichTextDragDrop;

// Reads the formats of a data object, one format at a time.
class TEnumFormats {
public:
  explicit TEnumFormats(IDataObject* DataObject);
  ~TEnumFormats();
  TEnumFormats(const TEnumFormats&) = delete;
  TEnumFormats& operator=(const TEnumFormats&) = delete;

  IDataObject* DataObject() const { return FDataObject; }
  // Releases the old object, takes the new one's format enumerator and resets. An object that
  // refuses to enumerate reads as having no formats (Failure() then names why).
  void SetDataObject(IDataObject* Value);
  const String& Failure() const { return FFailure; }

  bool Reset();
  bool Next();
  bool HasFormat(CLIPFORMAT Format);
  // The data of the current format in a medium narrowed to Tymed, or 0.
  HGLOBAL Handle(DWORD Tymed);
  HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }

  bool HasText() { return HasFormat(CF_TEXT); }
  bool HasUnicodeText() { return HasFormat(CF_UNICODETEXT); }
  bool HasRTF() { return RichTextFormat != 0 && HasFormat(CLIPFORMAT(RichTextFormat)); }
  bool HasFile() { return HasFormat(CF_HDROP); }
  // The text: the Unicode text when offered, else the 8-bit text in the system code page.
  String Text();
  String RTF();
  // Reads the CF_HDROP file list into Files(); False when it names no file.
  bool FileList();
  TStringList* Files() const { return FFiles.get(); }

  // The current format and its parts.
  const FORMATETC& FormatEtc() const { return FFormatEtc; }
  bool Valid() const { return FValid; }
  int Count() const { return FCount; }
  DWORD Aspect() const { return FFormatEtc.dwAspect; }
  void SetAspect(DWORD v) { FFormatEtc.dwAspect = v; }
  CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
  void SetFormat(CLIPFORMAT v) { FFormatEtc.cfFormat = v; }
  LONG Index() const { return FFormatEtc.lindex; }
  void SetIndex(LONG v) { FFormatEtc.lindex = v; }
  DWORD Medium() const { return FFormatEtc.tymed; }
  void SetMedium(DWORD v) { FFormatEtc.tymed = v; }

private:
  // The bytes of the current format's global memory, up to MaxBytes.
  std::string GlobalBytes();

  IDataObject* FDataObject = nullptr;
  IEnumFORMATETC* FEnumerator = nullptr;
  FORMATETC FFormatEtc;
  bool FValid = false;
  int FCount = 0;
  std::unique_ptr<TStringList> FFiles;
  String FFailure;
};

// A drop target taking text, rich text (with RichTextDragDrop) and files; derived targets say
// what a drop does. Ctrl copies, otherwise the data moves.
class TAEDropTarget : public TInterfacedObject<IDropTarget> {
public:
  HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

  virtual void DropText(TPoint Pt, const String& Text);
  virtual void DropRTF(TPoint Pt, const String& Text);
  virtual void DropFiles(TPoint Pt, TStrings* Files);
  virtual void DragMouseMove(TPoint Pt, bool& Allow);

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropTarget; }
  static DWORD DropEffectForKeys(DWORD KeyState);
  bool FOk = false;
};

class TAEDropSource : public TInterfacedObject<IDropSource> {
public:
  HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
  HRESULT GiveFeedback(DWORD Effect) override;
  bool NoAccept() const { return fNoAccept; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropSource; }

private:
  bool fNoAccept = false;
};

// Offers text as CF_TEXT, CF_UNICODETEXT and, with RichTextDragDrop, the rich text.
class TSourceDataObject : public TInterfacedObject<IDataObject> {
public:
  TSourceDataObject(const String& Text, const String& Rtf) : textdata(Text), rtfdata(Rtf) {}
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
};

// Lists CF_TEXT, CF_UNICODETEXT and RichTextFormat, in that order.
class TSourceEnumFormatEtc : public TInterfacedObject<IEnumFORMATETC> {
public:
  HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override;
  HRESULT Skip(ULONG Count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFORMATETC** Enum) override;

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

private:
  int FIndex = 0;
};

// Drags Text (and Rtf) with the allowed effects OkEffects; the effect taken in Effect.
// DRAGDROP_S_CANCEL when the last feedback showed no target taking it, else DoDragDrop's result.
HRESULT BeginEditTextDrag(const String& Text, const String& Rtf, DWORD OkEffects, DWORD& Effect);

// The styled edit's drop target: the drop caret follows the mouse; a drop inserts the first line
// of the text at the character under the mouse.
class TEditDropTarget : public TAEDropTarget {
public:
  explicit TEditDropTarget(TAdvEdit* Edit) : FAdvEdit(Edit) {}
  void DragMouseMove(TPoint Pt, bool& Allow) override;
  void DropText(TPoint Pt, const String& Text) override;
  HRESULT DragLeave() override;
  // A drop onto the dragged selection itself takes nothing, so the source keeps its text.
  HRESULT Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

private:
  // Whether a screen point lies on the edit's own selection while it is being dragged.
  bool OnOwnSelection(TPoint Pt) const;
  // The part of a dropped line the edit takes: no control characters, within MaxLength, and
  // only when the value then is one of the edit's type (empty otherwise).
  String Acceptable(const String& Text) const;
  TAdvEdit* FAdvEdit;
};
