#pragma once
// The styled edit: a single-line edit with typed input (twelve edit types, each with its own
// character filter), a fixed prefix and suffix around the value, number formatting, value
// validation with error colours, focus and modified colours, an attached label, flat, framed
// and transparent looks, an auto-complete lookup list, persistence of its value and lookup
// history, and integer range lists.
//
// Terms: the window text is Prefix + value + Suffix; Text() is the value. Positions (SelStart,
// SelLength) count characters of the window text from 0; the value starts at Length(Prefix).
// Decimal and thousand separators are those of FormatSettings, read at each use.

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

enum TAdvEditType : uint8_t {
  etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange,
  etHex, etAlphaNumeric, etValidChars
};
enum TEditAlign : uint8_t { eaLeft, eaRight, eaDefault, eaCenter };
enum TPrecisionDisplay : uint8_t { pdNormal, pdShortest };
enum TPersistenceLocation : uint8_t { plInifile, plRegistry };

// The attached label's place. The class library's labelled edit has a label position type of
// the same name, so this one lives in its own namespace; its values are used unqualified.
namespace advedit {
enum TLabelPosition : uint8_t {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
  lpBottomRight
};
}  // namespace advedit
using advedit::lpLeftTop, advedit::lpLeftCenter, advedit::lpLeftBottom, advedit::lpTopLeft, advedit::lpBottomLeft,
    advedit::lpLeftTopLeft, advedit::lpLeftCenterLeft, advedit::lpLeftBottomLeft, advedit::lpTopCenter,
    advedit::lpBottomCenter, advedit::lpRightTop, advedit::lpRightCenter, advedit::lpRighBottom,
    advedit::lpTopRight, advedit::lpBottomRight;

using TValueValidateEvent = std::function<void(TObject* Sender, const String& Value, bool& IsValid)>;
using TClipboardEvent = std::function<void(TObject* Sender, const String& Value, bool& Allow)>;
using TLookupSelectEvent = std::function<void(TObject* Sender, String& Value)>;
using TLookupIndexSelectEvent = std::function<void(TObject* Sender, int Index, String& Value)>;
using TURLClickEvent = std::function<void(TObject* Sender, const String& URL, bool& Show)>;

// ---- Module routines

// 0 integer, 1 float, 2 other, 5 hexadecimal (see the edit types' acceptance rules).
int EditTextKind(const String& s);
String StripThousandSeparators(const String& s);
// Thousand separators stripped, converted with the locale's decimal separator; 0 on failure.
long double EditTextToFloat(const String& s);
// Sum of digit values times powers of 16 from the last character, wrapping in 32 bits; a
// character that is no hexadecimal digit counts as 0.
int32_t HexTextToInt(const String& s);
// Words start with a capital, the rest lower case; "Mc"/"Mac" and Roman numerals kept.
String EditMixedCase(const String& s);
bool IsWordDelimiter(Char c);
bool IsRangeSeparator(Char c);
inline bool IsHighSurrogate(Char c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(Char c) { return c >= 0xDC00 && c <= 0xDFFF; }
// A text as an edit takes it from the clipboard or a drop: without control characters (NUL,
// tabs ...) and without halves of surrogate pairs, in one pass.
String EditInputText(const String& s);

// Most display entries taken from a persistence store, whatever its count says.
constexpr int MaxLookupEntries = 10000;
// A range item spanning more numbers than this is a bad item.
constexpr int64_t MaxRangeSpan = 1000000;

// ---- Lookup settings

class TLookupSettings : public TPersistent {
public:
  TLookupSettings();
  ~TLookupSettings() override;
  String ClassName() const override { return u"TLookupSettings"; }
  // Copies all settings from another TLookupSettings; any other source is ignored.
  void Assign(TPersistent* Source) override;

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v) { FCaseSensitive = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  int DisplayCount() const { return FDisplayCount; }
  void SetDisplayCount(int v) { FDisplayCount = v; }
  // Sorted, duplicates ignored. The value of an entry is the ValueList item at its position.
  TStringList* DisplayList() const { return FDisplayList.get(); }
  void SetDisplayList(TStrings* v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  bool History() const { return FHistory; }
  void SetHistory(bool v) { FHistory = v; }
  // Writes of 0 or less are ignored.
  int NumChars() const { return FNumChars; }
  void SetNumChars(int v);
  TStringList* ValueList() const { return FValueList.get(); }
  void SetValueList(TStrings* v);
  bool Multi() const { return FMulti; }
  void SetMulti(bool v) { FMulti = v; }
  Char Separator() const { return FSeparator; }
  void SetSeparator(Char v) { FSeparator = v; }

  // Adds a display entry with its value, keeping every other entry with its own value; an entry
  // already listed is left as it is. Returns whether it was added.
  bool AddPair(const String& Display, const String& Value);

private:
  bool FCaseSensitive = false;
  TColor FColor = clWindow;
  int FDisplayCount = 4;
  std::unique_ptr<TStringList> FDisplayList;
  bool FEnabled = false;
  bool FHistory = false;
  int FNumChars = 2;
  std::unique_ptr<TStringList> FValueList;
  bool FMulti = false;
  Char FSeparator = u';';
};

// ---- Persistence settings

class TPersistence : public TPersistent {
public:
  String ClassName() const override { return u"TPersistence"; }
  void Assign(TPersistent* Source) override;

  bool Enable() const { return FEnable; }
  void SetEnable(bool v) { FEnable = v; }
  // The INI file (plInifile) or the registry key under the current user (plRegistry).
  const String& Key() const { return FKey; }
  void SetKey(const String& v) { FKey = v; }
  const String& Section() const { return FSection; }
  void SetSection(const String& v) { FSection = v; }
  TPersistenceLocation Location() const { return FLocation; }
  void SetLocation(TPersistenceLocation v) { FLocation = v; }

private:
  bool FEnable = false;
  String FKey;
  String FSection;
  TPersistenceLocation FLocation = plInifile;
};

// ---- Range lists: "1-3,5;7-8"

class TRangeList : public TObject {
public:
  String ClassName() const override { return u"TRangeList"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError for an index outside the list.
  int32_t Items(int Index) const;
  void SetItems(int Index, int32_t Value);
  int32_t operator[](int Index) const { return Items(Index); }
  // Appends v unless it is in the list already.
  void Add(int32_t v);
  // Adds v, v + 1, ..., v + Count - 1 (stopping at the 32-bit limit).
  void AddMultiple(int32_t v, int32_t Count);
  void Delete(int Index);
  void Clear() { FItems.clear(); FIndex.clear(); }
  bool InList(int32_t v) const;
  // Writes each entry as decimal text to the debug output (standard error).
  void Show() const;
  // Reads a range text; False when an item is bad (the good items stay in the list).
  bool StrToList(const String& s);
  // The range text of the list, sorted ascending: runs as "first-last", joined by ",".
  String ToRangeStr();

private:
  bool AddRangeText(const String& Item);
  std::vector<int32_t> FItems;
  std::unordered_set<int32_t> FIndex;  // the items, for InList
};

// ---- The lookup list's pop-up

class TListHintWindow : public THintWindow {
public:
  explicit TListHintWindow(TComponent* AOwner);
  String ClassName() const override { return u"TListHintWindow"; }
  TListBox* ListControl() const { return FListControl; }
  void SetListControl(TListBox* v) { FListControl = v; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

private:
  TListBox* FListControl = nullptr;
};

// ---- The styled edit

class TAdvEdit : public TCustomEdit {
public:
  using TLabelPosition = advedit::TLabelPosition;

  explicit TAdvEdit(TComponent* AOwner);
  ~TAdvEdit() override;
  String ClassName() const override { return u"TAdvEdit"; }

  // ---- Value
  // The value: the window text without the prefix (when it begins with it) and without the
  // suffix (when it ends with it).
  String Text() const { return GetText(); }
  // Formats per type and shows Prefix + value + Suffix; Modified becomes False.
  void SetText(const String& Value);
  void Clear() { SetText(String()); }
  // The whole window text: Prefix + value + Suffix.
  String WindowText() const { return TCustomEdit::GetText(); }
  long double FloatValue() const;
  void SetFloatValue(long double Value);
  int32_t IntValue() const;
  void SetIntValue(int32_t Value);
  bool Modified() const { return FIsModified; }
  void SetModified(bool Value);
  bool IsError() const { return FError; }
  void SetIsError(bool Value);
  // Selects the value (not the prefix or suffix; after "://" or "mailto:" with ShowURL).
  void SelectAll();
  void SelectBeforeDecimal();
  void SelectAfterDecimal();
  bool DefaultHandling() const { return FDefaultHandling; }
  void SetDefaultHandling(bool v) { FDefaultHandling = v; }

  // ---- Typed input
  TAdvEditType EditType() const { return FEditType; }
  void SetEditType(TAdvEditType Value);
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAlign(TEditAlign Value);
  TEditAlign FocusAlign() const { return FFocusAlign; }
  void SetFocusAlign(TEditAlign Value) { FFocusAlign = Value; }
  int16_t Precision() const { return FPrecision; }
  void SetPrecision(int16_t Value);
  TPrecisionDisplay PrecisionDisplay() const { return FPrecisionDisplay; }
  void SetPrecisionDisplay(TPrecisionDisplay Value);
  const String& Prefix() const { return FPrefix; }
  void SetPrefix(const String& Value);
  const String& Suffix() const { return FSuffix; }
  void SetSuffix(const String& Value);
  bool Signed() const { return FSigned; }
  void SetSigned(bool v) { FSigned = v; }
  bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
  void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
  bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
  void SetAutoThousandSeparator(bool Value);
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
  int16_t LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int16_t v) { FLengthLimit = v; }
  bool TabOnFullLength() const { return FTabOnFullLength; }
  void SetTabOnFullLength(bool v) { FTabOnFullLength = v; }
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool v) { FReturnIsTab = v; }
  const String& ValidChars() const { return FValidChars; }
  void SetValidChars(const String& v) { FValidChars = v; }
  // Escape restores the text held when the edit got the focus; always False for etPassword.
  bool CanUndo() const { return FCanUndo; }
  void SetCanUndo(bool Value);
  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool v) { FAutoFocus = v; }
  const String& EmptyText() const { return FEmptyText; }
  void SetEmptyText(const String& Value);
  bool EmptyTextFocused() const { return FEmptyTextFocused; }
  void SetEmptyTextFocused(bool v) { FEmptyTextFocused = v; }
  bool HintShowLargeText() const { return FHintShowLargeText; }
  void SetHintShowLargeText(bool v) { FHintShowLargeText = v; }
  bool FullTextSearch() const { return FFullTextSearch; }
  void SetFullTextSearch(bool v) { FFullTextSearch = v; }

  // ---- Colours and looks
  TColor Color() const { return TControl::Color(); }
  void SetColor(TColor Value);
  bool ShowError() const { return FShowError; }
  void SetShowError(bool v) { FShowError = v; }
  TColor ErrorColor() const { return FErrorColor; }
  void SetErrorColor(TColor v) { FErrorColor = v; }
  TColor ErrorFontColor() const { return FErrorFontColor; }
  void SetErrorFontColor(TColor v) { FErrorFontColor = v; }
  int ErrorMarkerPos() const { return FErrorMarkerPos; }
  void SetErrorMarkerPos(int Value);
  int ErrorMarkerLen() const { return FErrorMarkerLen; }
  void SetErrorMarkerLen(int Value);
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { FFocusColor = v; }
  TColor FocusFontColor() const { return FFocusFontColor; }
  void SetFocusFontColor(TColor v) { FFocusFontColor = v; }
  bool FocusLabel() const { return FFocusLabel; }
  void SetFocusLabel(bool v) { FFocusLabel = v; }
  int FocusWidthInc() const { return FFocusWidthInc; }
  void SetFocusWidthInc(int v) { FFocusWidthInc = v; }
  bool ShowModified() const { return FShowModified; }
  void SetShowModified(bool v) { FShowModified = v; }
  TColor ModifiedColor() const { return FModifiedColor; }
  void SetModifiedColor(TColor v) { FModifiedColor = v; }
  bool ShowURL() const { return FShowURL; }
  void SetShowURL(bool v) { FShowURL = v; }
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor v) { FURLColor = v; }
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor Value);
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  bool FocusBorder() const { return FFocusBorder; }
  void SetFocusBorder(bool Value);
  TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
  bool Border3D() const { return FBorder3D; }
  void SetBorder3D(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TColor FlatLineColor() const { return FFlatLineColor; }
  void SetFlatLineColor(TColor Value);
  bool FlatParentColor() const { return FFlatParentColor; }
  void SetFlatParentColor(bool Value);
  bool SoftBorder() const { return FSoftBorder; }
  void SetSoftBorder(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // ---- Label
  String LabelCaption() const;
  void SetLabelCaption(const String& Value);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition Value);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int Value);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool Value);
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool Value);
  TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(TFont* Value);
  // The attached label; nullptr until a caption is set.
  TLabel* EditLabel() const { return FLabel; }

  // ---- Lookup, persistence, drag and drop
  TLookupSettings* Lookup() const { return FLookup.get(); }
  void SetLookup(TLookupSettings* v) { FLookup->Assign(v); }
  TPersistence* Persistence() const { return FPersistence.get(); }
  void SetPersistence(TPersistence* v) { FPersistence->Assign(v); }
  // The lookup pop-up and its list (nullptr in design mode).
  TListHintWindow* LookupWindow() const { return FLookupList; }
  TListBox* LookupListBox() const { return FLookupListBox; }
  bool OleDropSource() const { return FOleDropSource; }
  virtual void SetOleDropSource(bool Value) { FOleDropSource = Value; }
  bool OleDropTarget() const { return FOleDropTarget; }
  // Registers the edit's window as a drop target, or revokes it (AdvEddd.cpp).
  virtual void SetOleDropTarget(bool Value);

  // ---- Version: "2.9.2.1"; writing it has no effect.
  String Version() const;
  void SetVersion(const String&) {}

  // ---- Re-implemented accessors
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;

  // ---- Operations
  // The value's range list (the list is refilled); False when an item is bad.
  bool RangeStrToList(TRangeList* RangeList);
  // Writes the list's range text as the window text.
  void ListToRangeStr(TRangeList* RangeList);
  virtual void LoadPersist();
  virtual void SavePersist();
  // Offers the matching lookup entries under the caret (after typing, Backspace, a paste).
  void UpdateLookupList();
  // Puts the selected lookup entry's value into the edit.
  void SelectLookupItem();
  // The character index at a client point (also past the last character).
  int CharFromPos(TPoint pt);
  // The client point of a character (the end of the text for its length).
  TPoint PosFromChar(int Index);
  // The value's width in pixels in the edit's font.
  int GetTextSize();
  virtual int32_t GetVersionNr() const { return 0x02090201; }
  // True at once while a validation runs; otherwise OnValueValidate decides (default True).
  virtual bool ValidateValue(const String& Value);
  virtual void FireValueValidate(const String& Value, bool& IsValid);
  // True for a value holding "://", an '@' after its first character, or starting "www.".
  virtual bool IsURLText(const String& Value) const;

  TValueValidateEvent OnValueValidate;
  TClipboardEvent OnClipboardCopy;
  TClipboardEvent OnClipboardCut;
  TClipboardEvent OnClipboardPaste;
  TLookupSelectEvent OnLookupSelect;
  TLookupIndexSelectEvent OnLookupIndexSelect;
  TNotifyEvent OnLabelClick;
  TNotifyEvent OnLabelDblClick;
  TURLClickEvent OnURLClick;
  // The desktop's URL handler; tests replace it. Only http, https, ftp and mailto URLs reach it.
  static std::function<void(const String& URL)> OpenURLHook;

protected:
  void Loaded() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Change() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void WMChar(TWMKey& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMSysKeyDown(TWMKey& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void WMLButtonDown(TWMMouse& Message) override;
  void WMLButtonUp(TWMMouse& Message) override;
  void WMMouseMove(TWMMouse& Message) override;
  void WMEraseBkgnd(TWMEraseBkgnd& Message) override;
  void CMDialogKey(TWMKey& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMHintShow(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void WMPaste(TMessage& Message);
  virtual void WMCopy(TMessage& Message);
  virtual void WMCut(TMessage& Message);
  virtual void CNCommand(TMessage& Message);
  // The looks painted over the native edit: flat line, drop caret, empty text, error marker.
  virtual void PaintExtras(HDC DC);
  // The frame around the edit (outside its text area).
  void DrawBorder(HDC DC);
  bool IsFocusBorderShown() const;

  // ---- Label
  void CreateLabel();
  void UpdateLabel();
  void LabelFontChanged(TObject* Sender);
  void LabelClick(TObject* Sender);
  void LabelDblClick(TObject* Sender);

  // ---- Drag and drop hooks: the drop caret is painted by PaintExtras.
  void TrackDropCaret(TPoint ClientPt);
  // Dragging the selection (AdvEddd.cpp): a press inside the selection waits for a move, which
  // drags the selected text; a release without one puts the caret there. OleButtonDown is true
  // when it took the press.
  bool OleButtonDown(TWMMouse& Message);
  void OleMouseMove(TWMMouse& Message);
  void OleButtonUp(TWMMouse& Message);
  friend class TEditDropTarget;
  void HideDropCaret();
  // Puts the caret at the character under a client point.
  void MoveCaretToCursor(TPoint ClientPt);

  // ---- Helpers shared by the input handlers
  void Init();
  void ApplyTextMargins(bool AFlat);
  void ReformatMoney();
  void ApplyURLLook(bool On);
  int IntegerPartLength(const String& s) const;
  int DecimalPosition() const;
  bool IsSignKey(Char c) const;
  // Writes the whole window text (no formatting); the change it makes is notified unless
  // FBlockChange swallows it.
  void SetWindowText(const String& s);
  // The native edit's handling of a character: inserts it over the selection, or deletes for
  // Backspace, within MaxLength.
  void PassChar(Char c);
  void NextControl();
  void PostKeyToParent(Word Key, bool Down, bool Up);

  String GetText() const override;
  void SetTextBuf(const String& v) override;

  // ---- State (the drag and drop edit reads these)
  bool FAlignChanging = false;
  TLabel* FLabel = nullptr;
  TEditAlign FOldEditAlign = eaLeft;
  TBorderStyle FOldBorder = bsSingle;
  TColor FNormalColor = clWindow;
  bool FError = false;
  TColor FFontColor = clWindowText;
  bool FIsModified = false;
  String FOldString;
  bool FIsUrl = false;
  bool FMouseInControl = false;
  TPoint FCaretPos{-1, -1};
  bool FOleDropTargetAssigned = false;
  bool FIsDragSource = false;
  bool FButtonDown = false;
  bool FBlockCopy = false;
  int FIndentR = 0;
  int FIndentL = 0;
  int FLoadedHeight = 0;
  TListHintWindow* FLookupList = nullptr;
  TListBox* FLookupListBox = nullptr;
  bool FIsValidating = false;
  bool FIsWinXP = true;
  bool FIsThemed = true;
  bool FBlockChange = false;
  bool FParentFnt = false;
  bool FBlockDefaultHandling = false;

private:
  void LookupListKeyPress(TObject* Sender, Char& Key);
  void LookupListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void HideLookup();
  void WiggleWidth();
  void RedrawBorders(HDC DC);
  void DrawErrorMarker(HDC DC);
  // Whether the type takes the value w that inserting the text clip makes, within LengthLimit.
  bool PasteAccepted(const String& w, const String& clip) const;
  void FloatChar(Char c, bool& Tail);
  void MoneyChar(Char c, bool& Tail);
  bool SignChar(Char c);
  bool GroupingRefuses() const;
  bool NumberStepsTake(Char c);
  bool DecimalsFull(Char c, bool& Handled);
  void Tail();
  bool DoKeyPressChar(Char& c);
  void OpenURL();
  // The persistence store: the registry stand-in's key, or the INI file (the executable's
  // settings file unless another is named).
  std::unique_ptr<TCustomIniFile> OpenStore();

  TAdvEditType FEditType = etString;
  TEditAlign FEditAlign = eaLeft;
  TEditAlign FFocusAlign = eaDefault;
  int16_t FPrecision = 0;
  TPrecisionDisplay FPrecisionDisplay = pdNormal;
  String FPrefix;
  String FSuffix;
  bool FSigned = false;
  bool FAllowNumericNullValue = false;
  bool FAutoThousandSeparator = true;
  bool FExcelStyleDecimalSeparator = false;
  int16_t FLengthLimit = 0;
  bool FTabOnFullLength = false;
  bool FReturnIsTab = false;
  String FValidChars;
  bool FCanUndo = true;
  bool FAutoFocus = false;
  String FEmptyText;
  bool FEmptyTextFocused = false;
  bool FHintShowLargeText = false;
  bool FFullTextSearch = false;
  bool FShowError = false;
  TColor FErrorColor = clRed;
  TColor FErrorFontColor = clWhite;
  int FErrorMarkerPos = 0;
  int FErrorMarkerLen = 0;
  TColor FFocusColor = clNone;
  TColor FFocusFontColor = clWindowText;
  bool FFocusLabel = false;
  int FFocusWidthInc = 0;
  bool FShowModified = false;
  TColor FModifiedColor = clHighlight;
  bool FShowURL = false;
  TColor FURLColor = clBlue;
  TColor FDisabledColor = clSilver;
  bool FDisabledBorder = true;
  TColor FBorderColor = clNone;
  bool FFocusBorder = false;
  TColor FFocusBorderColor = clNone;
  bool FBorder3D = false;
  bool FFlat = false;
  TColor FFlatLineColor = clBlack;
  bool FFlatParentColor = true;
  bool FSoftBorder = false;
  bool FTransparent = false;
  TLabelPosition FLabelPosition = lpLeftTop;
  int FLabelMargin = 4;
  bool FLabelTransparent = false;
  bool FLabelAlwaysEnabled = false;
  std::unique_ptr<TFont> FLabelFont;
  std::unique_ptr<TLookupSettings> FLookup;
  std::unique_ptr<TPersistence> FPersistence;
  bool FOleDropSource = false;
  bool FOleDropTarget = false;
  bool FDefaultHandling;
  bool FCtrlDown = false;  // a Ctrl key was down for the character being handled
};

// The module-wide initial value of DefaultHandling (True).
extern bool AdvEditDefaultHandling;
