#pragma once
// The system clipboard: text, pictures and registered byte formats.
// Between Open and the matching Close, changes are gathered and published together at the
// last Close; the first change of such a session replaces what the clipboard held. A change
// made outside Open/Close replaces the clipboard's content at once.

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"
#include "platform/win/Windows.h"

// Standard formats.
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;  // placeable Windows metafile bytes
constexpr UINT CF_DIB = 8;           // same image as CF_BITMAP
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;  // enhanced metafile bytes

RTL_EXCEPTION(EClipboardException, Exception);

// Registers a named byte format and returns its number (0xC000 and up); the same name, in any
// case, gives the same number. Returns 0 for an empty name. Its data travels between programs
// under the MIME type "application/x-<name>".
UINT RegisterClipboardFormat(const String& Name);
// The number of a registered format name (any case), or 0 when it was never registered.
UINT RegisteredClipboardFormat(const String& Name);
// Copies the name of a registered format (at most MaxCount - 1 characters and a zero) into
// FormatName; the number of characters copied, 0 for a number that names no registered format.
int GetClipboardFormatName(UINT Format, Char* FormatName, int MaxCount);

class TClipboard : public TPersistent {
public:
  TClipboard();
  ~TClipboard() override;
  String ClassName() const override { return u"TClipboard"; }

  // Open and Close nest; changes are published at the last Close.
  void Open();
  void Close();
  void Clear();

  String AsText() const;
  void SetAsText(const String& Value);
  // The window system's selection (X11's primary selection, which a middle-button click
  // pastes); where the window system keeps none, the program's own.
  String SelectionText() const;
  void SetSelectionText(const String& Value);
  // Whether the clipboard holds data of the format: CF_TEXT and CF_UNICODETEXT answer for any
  // text, CF_BITMAP and CF_DIB for any image.
  bool HasFormat(UINT Format) const;

  // Bytes of a registered format, CF_ENHMETAFILE or CF_METAFILEPICT (empty when absent).
  // Any other number raises EClipboardException.
  void SetAsBytes(UINT Format, const RawBytes& Bytes);
  RawBytes GetAsBytes(UINT Format) const;

  // Puts a picture, graphic, bitmap or metafile on the clipboard as an image other programs
  // can paste (PNG and BMP); a metafile also goes as its file bytes (CF_ENHMETAFILE or
  // CF_METAFILEPICT). An empty picture raises EInvalidGraphicOperation and changes nothing.
  void Assign(TPersistent* Source) override;

protected:
  // Fills a picture, graphic, bitmap or metafile from the clipboard (Picture->Assign(Clipboard())):
  // a picture takes the metafile when there is one, else a bitmap. With no usable picture on the
  // clipboard it raises EInvalidGraphic and the destination stays as it was.
  void AssignTo(TPersistent* Dest) override;

private:
  struct Data;
  std::unique_ptr<Data> d;
};

// The application's clipboard object.
TClipboard* Clipboard();
