#pragma once
// The class library's rich edit: formatted text (fonts, sizes, styles, colours, sub- and
// superscript offsets, paragraph alignment) that loads and saves rich text markup (RTF), with
// the rich edit messages for character formats, rendering on any device context and size
// requests. The text lives in the control, not in its window: a window made again, or none at
// all (a hidden renderer), keeps it.

#include <memory>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"

// ---- Rich edit messages and structures
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_FORMATRANGE = WM_USER + 57;     // wParam render, lParam FORMATRANGE* (0 frees)
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;   // wParam SCF_SELECTION or SCF_DEFAULT, lParam CHARFORMATW*
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;   // wParam nonzero: system colour; lParam COLORREF
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;   // wParam SCF_*, lParam CHARFORMATW*; 0 when refused
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;    // lParam ENM_*; returns the old mask

constexpr WPARAM SCF_DEFAULT = 0x0000, SCF_SELECTION = 0x0001, SCF_WORD = 0x0002, SCF_ALL = 0x0004;

constexpr DWORD CFM_BOLD = 0x00000001, CFM_ITALIC = 0x00000002, CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008, CFM_PROTECTED = 0x00000010, CFM_SIZE = 0x80000000;
constexpr DWORD CFM_COLOR = 0x40000000, CFM_FACE = 0x20000000, CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFE_BOLD = 0x0001, CFE_ITALIC = 0x0002, CFE_UNDERLINE = 0x0004, CFE_STRIKEOUT = 0x0008;
constexpr DWORD CFE_PROTECTED = 0x0010, CFE_AUTOCOLOR = 0x40000000;

constexpr DWORD ENM_NONE = 0, ENM_CHANGE = 0x00000001, ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr UINT EN_REQUESTRESIZE = 0x0701, EN_SELCHANGE = 0x0702;

// A character format: sizes and offsets in twips (1/1440 inch), the offset positive upwards.
struct CHARFORMATW {
  UINT cbSize = sizeof(CHARFORMATW);
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  LONG yHeight = 0;
  LONG yOffset = 0;
  COLORREF crTextColor = 0;
  BYTE bCharSet = 0;
  BYTE bPitchAndFamily = 0;
  Char szFaceName[32] = {};
};
static_assert(sizeof(CHARFORMATW) == 92);

struct CHARRANGE {
  LONG cpMin = 0;
  LONG cpMax = 0;  // -1: to the end
};

// What EM_FORMATRANGE renders: the text from chrg.cpMin on, laid out in rc (twips from the
// device's origin) at the resolution of hdc.
struct FORMATRANGE {
  HDC hdc = nullptr;
  HDC hdcTarget = nullptr;
  RECT rc;
  RECT rcPage;
  CHARRANGE chrg;
};

// EN_REQUESTRESIZE: the size (pixels) the content asks for.
struct REQRESIZE {
  NMHDR nmhdr;
  RECT rc;
};

// EN_SELCHANGE: the new selection.
struct SELCHANGE {
  NMHDR nmhdr;
  CHARRANGE chrg;
  WORD seltyp = 0;
};

class TCustomRichEdit;

enum TAttributeType : uint8_t { atSelected, atDefaultText };

// Character attributes of the selection (atSelected) or of new text (atDefaultText). Reading
// a mixed selection answers the attributes at its start.
class TTextAttributes : public TPersistent {
public:
  TTextAttributes(TCustomRichEdit* AOwner, TAttributeType AType) : FRichEdit(AOwner), FType(AType) {}
  String ClassName() const override { return u"TTextAttributes"; }
  TColor Color() const;
  void SetColor(TColor v);
  String Name() const;
  void SetName(const String& v);
  int Size() const;  // points
  void SetSize(int v);
  int Height() const;  // pixels at 96 dots per inch
  void SetHeight(int v);
  TFontStyles Style() const;
  void SetStyle(TFontStyles v);
  void Assign(TPersistent* Source) override;

private:
  CHARFORMATW Get() const;
  void Set(const CHARFORMATW& f);
  TCustomRichEdit* FRichEdit;
  TAttributeType FType;
};

// Paragraph attributes of the paragraphs the selection touches.
class TParaAttributes : public TPersistent {
public:
  explicit TParaAttributes(TCustomRichEdit* AOwner) : FRichEdit(AOwner) {}
  String ClassName() const override { return u"TParaAttributes"; }
  TAlignment Alignment() const;
  void SetAlignment(TAlignment v);

private:
  TCustomRichEdit* FRichEdit;
};

struct TRichEditPrivate;
class TRichEditStrings;

using TRichEditResizeEvent = std::function<void(TObject* Sender, const TRect& Rect)>;

class TCustomRichEdit : public TCustomEdit {
public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;
  String ClassName() const override { return u"TCustomRichEdit"; }

  // One line per paragraph. LoadFromStream reads rich text markup (plain text when the stream
  // holds none, or with PlainText); SaveToStream writes markup (plain text with PlainText).
  TStrings* Lines() const;
  void SetLines(TStrings* v);
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool v) { FPlainText = v; }
  bool WordWrap() const { return FWordWrap; }
  // Wrapping at the window's width, or none; either way the content asks for its size again.
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
  TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
  TParaAttributes* Paragraph() const { return FParagraph.get(); }

  // Positions count each paragraph break as one character.
  int SelStart() const override;
  void SetSelStart(int v) override;
  int SelLength() const override;
  void SetSelLength(int v) override;
  String SelText() const override;
  void SetSelText(const String& v) override;
  void SetReadOnly(bool v) override;

  TRichEditResizeEvent OnResizeRequest;
  TNotifyEvent OnSelectionChange;

protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  void ApplySettings() override;
  void Dispatch(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Resize() override;
  // CN_NOTIFY: EN_REQUESTRESIZE calls RequestSize, EN_SELCHANGE SelectionChange.
  virtual void CNNotify(TMessage& Message);
  virtual void RequestSize(const TRect& Rect);
  virtual void SelectionChange();

private:
  friend class TRichEditStrings;
  friend class TTextAttributes;
  friend class TParaAttributes;
  friend struct TRichEditPrivate;
  // Sends EN_REQUESTRESIZE with the size the content needs (Always: even when unchanged).
  void RequestResize(bool Always);
  LRESULT SetCharFormat(WPARAM Scope, const CHARFORMATW* Format);
  LRESULT GetCharFormat(WPARAM Scope, CHARFORMATW* Format) const;
  LRESULT FormatRange(bool Render, const FORMATRANGE* Range);
  void LoadRtf(const std::string& Bytes);
  std::string SaveRtf() const;

  std::unique_ptr<TRichEditPrivate> FPrivate;
  std::unique_ptr<TRichEditStrings> FLines;
  std::unique_ptr<TTextAttributes> FSelAttributes;
  std::unique_ptr<TTextAttributes> FDefAttributes;
  std::unique_ptr<TParaAttributes> FParagraph;
  bool FPlainText = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  DWORD FEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE;
  TRect FLastRequest;
  bool FLoading = false;  // the text is being replaced in code: one notification at the end
};

class TRichEdit : public TCustomRichEdit {
public:
  explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
  String ClassName() const override { return u"TRichEdit"; }
};
