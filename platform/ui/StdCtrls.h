#pragma once
// Standard controls over native widgets: label, edit, memo, combo box, list box, buttons,
// check box, radio button, group box and scroll bar. Each presents the class library's API and
// events and keeps the Windows behaviour callers rely on:
// - an edit's OnChange fires for every change of its text, in code or by the user;
// - a memo keeps its text exactly, CR LF as two characters; SelStart/SelLength count them so;
// - a combo box fires OnChange only for the user's typing or picking, never for Text or
//   ItemIndex set in code;
// - a check box or radio button fires OnClick also when Checked is set in code.

#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

class TCanvas;

// Edit-control messages handled by edits and memos.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
// The formatting rectangle of a single-line edit, in client coordinates (lParam: RECT*). Text
// shows only inside it; EM_SETRECT repaints, EM_SETRECTNP does not; a null rectangle gives
// back the whole client area. The rectangle stays as set when the edit is resized.
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_REPLACESEL = 0x00C2;  // lParam: const Char* (zero-terminated)
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
// Client position of a character of a single-line edit as displayed (low word x, high word y,
// each signed): the top-left of character wParam, the end of the text for wParam = its
// length, -1 beyond it.
constexpr UINT EM_POSFROMCHAR = 0x00D6;
// The character nearest a client point (lParam: x low word, y high word), also past the last
// character (then the text's length): the index in the low word, the line (0) in the high word.
constexpr UINT EM_CHARFROMPOS = 0x00D7;
// Edit styles read from CreateParams: ES_CENTER and ES_RIGHT align the text; ES_MULTILINE
// marks an edit whose formatting rectangle the owner sets (EM_SETRECT, EM_SETRECTNP).
constexpr DWORD ES_LEFT = 0x0000, ES_CENTER = 0x0001, ES_RIGHT = 0x0002, ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020, ES_AUTOHSCROLL = 0x0080, ES_READONLY = 0x0800;
// Notification codes of an edit, in the high word of WM_COMMAND/CN_COMMAND's wParam.
constexpr WORD EN_CHANGE = 0x0300;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment : uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle
enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TScrollCode : uint8_t {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle : uint8_t {
  csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable
};
enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TOwnerDrawStateItem : uint8_t {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = Set<TOwnerDrawStateItem>;

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// ---------------------------------------------------------------------------
// Label: a windowless caption drawn by its parent.

class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* AOwner);
  String ClassName() const override { return u"TCustomLabel"; }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // '&' marks the accelerator character (drawn underlined) unless ShowAccelChar is False.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);

  // Sizes the label to its text (also done on every text or font change while AutoSize).
  void AdjustBounds();

protected:
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  UINT DrawTextFlags() const;

private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
  String ClassName() const override { return u"TLabel"; }
};

// ---------------------------------------------------------------------------
// Edits

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;
  String ClassName() const override { return u"TCustomEdit"; }

  // Selection, in characters from 0 (a memo counts CR LF as two).
  virtual int SelStart() const;
  virtual void SetSelStart(int v);
  virtual int SelLength() const;
  virtual void SetSelLength(int v);
  virtual String SelText() const;
  // Replaces the selection (or inserts at the caret) and leaves the caret after the new text.
  virtual void SetSelText(const String& v);
  void Select(int AStart, int ALength);
  void SelectAll();
  void ClearSelection() { SetSelText(String()); }
  void Clear() { SetText(String()); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool CanUndo() const;

  // Most characters the user may type; 0 = no limit.
  int MaxLength() const { return FMaxLength; }
  virtual void SetMaxLength(int v);
  bool ReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool v);
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char v);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }

  TNotifyEvent OnChange;

protected:
  // Fires OnChange. Every change of the text is notified as CN_COMMAND with EN_CHANGE, whose
  // default handling calls this.
  virtual void Change();
  // Sends the change notification (CN_COMMAND, EN_CHANGE).
  void NotifyChange();
  // The edit's window styles: ES_CENTER or ES_RIGHT from Alignment.
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Keeps the text (and the selection) for a window made again.
  void DestroyWnd() override;
  // Gives the window the styles CreateParams asks for now, as making it again would, keeping
  // its text and selection; safe also from inside the window's own messages.
  void UpdateWindowStyle();
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  void Dispatch(TMessage& Message) override;
  // The edit's clipboard keys (Ctrl+C, Ctrl+V, Ctrl+X as characters 3, 22, 24; Ctrl+Insert,
  // Shift+Insert, Shift+Delete) become WM_COPY, WM_PASTE and WM_CUT to the control.
  void DefaultHandler(TMessage& Message) override;
  // Sends the clipboard message a clipboard key (as DefaultHandler lists them) stands for to
  // the control; false when Message is no such key.
  bool PerformClipboardKey(const TMessage& Message);
  void CMColorChanged(TMessage& Message) override;
  // The text shows in the font's colour.
  void CMFontChanged(TMessage& Message) override;
  void DoEnter() override;
  // Applies the edit's settings to a freshly made widget.
  virtual void ApplySettings();

  int FMaxLength = 0;
  bool FReadOnly = false;
  Char FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingle;
  TAlignment FAlignment = taLeftJustify;
  bool FModified = false;
  bool FInSetText = false;
  // The window's styles as made (ES_MULTILINE, ES_CENTER ...).
  DWORD FStyle = 0;
  // When set, the native edit's painting is preceded by WM_ERASEBKGND (the edit draws no
  // background of its own) and followed by WM_NCPAINT and then WM_PAINT, each with wParam a
  // DC on the whole window (window coordinates), so the control paints under and over it;
  // WM_NCPAINT paints the frame, which lies outside the client area of an edit with a border.
  bool FPaintOver = false;
  // When set, text an input method commits reaches the control as one WM_CHAR per character
  // (as typed characters do) instead of going into the window directly; a character that
  // reaches the default handling goes into the window as it then stands.
  bool FInputAsChars = false;

private:
  friend class TEditWidget;
  // The window's background colour: Color, or none when the control erases it (FPaintOver).
  void ApplyBaseColor();
  // Turns the formatting rectangle into the widget's text margins.
  void ApplyEditRect();
  // The EM_POSFROMCHAR answer.
  LRESULT PosFromChar(int Index);
  TRect FEditRect;
  bool FHasEditRect = false;
};

class TEdit : public TCustomEdit {
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  String ClassName() const override { return u"TEdit"; }
};

class TMemoStrings;

// Multi-line edit with the Windows edit control's text model: the text is kept exactly as set
// (CR LF are two characters, a lone CR or LF and NUL are kept too and shown as symbols); only
// CR LF breaks a line on screen.
class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  String ClassName() const override { return u"TCustomMemo"; }

  // The text as lines; Add appends a line (CR LF terminated), Count ignores an empty last line.
  TStrings* Lines() const;
  void SetLines(TStrings* v);

  int SelStart() const override;
  void SetSelStart(int v) override;
  int SelLength() const override;
  void SetSelLength(int v) override;
  String SelText() const override;
  void SetSelText(const String& v) override;
  void SetMaxLength(int v) override;
  void SetReadOnly(bool v) override;

  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v);
  // Caret position as column and line (0-based); setting it moves the caret.
  TPoint CaretPos() const;
  void SetCaretPos(const TPoint& p);

protected:
  void CreateWnd() override;
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  void ApplySettings() override;
  void Dispatch(TMessage& Message) override;

private:
  friend class TMemoStrings;
  friend struct TMemoView;
  // Replaces [Start, End) of the text and shows the result; the caret ends after the new text.
  void ReplaceRange(int Start, int End, const String& Value, bool Notify);

  String FText;          // the exact text
  // Where each line of FText starts (only CR LF ends a line), kept in step with every change.
  std::vector<int> FLineStarts{0};
  // The window shows the first small change of a turn of the message loop at once; the
  // others wait for the turn's end (or for input or painting) and are shown together.
  int FViewFrom = -1;      // the window is behind the text from here on (-1: up to date)
  int FViewShownFrom = 0;  // where FViewFrom is on the screen
  bool FViewBusy = false;  // the window took a change in this turn: its end is awaited
  int FSelStart = 0;     // selection while there is no window, or while it is behind
  int FSelLength = 0;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  std::unique_ptr<TMemoStrings> FLines;
};

class TMemo : public TCustomMemo {
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
  String ClassName() const override { return u"TMemo"; }
};

// ---------------------------------------------------------------------------
// Item lists of combo and list boxes.

class TItemControlStrings;

// ---------------------------------------------------------------------------
// Combo box

// Combo-box messages and the notifications it sends itself through CN_COMMAND (high word of
// WParam) when its list opens and closes.
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;  // wParam: the least width of the dropped list
// Heights (lParam) of the list's items (wParam 0 or an item index) or, with wParam -1, of the
// selection field: a drop-down combo box is then that field plus 3 pixels above and below high,
// whatever height its bounds ask for (the rest of a height given is the list's room).
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr int CB_ERR = -1;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;

// Styles: csDropDown (edit + drop-down list), csDropDownList (pick only), csSimple (edit with its
// list always shown below it; a double click on an item fires OnDblClick). Changing the style of
// a control with a window makes the window anew, keeping text and selection.
class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  String ClassName() const override { return u"TCustomComboBox"; }

  TStrings* Items() const;
  void SetItems(TStrings* v);
  // Selected item (-1 none); setting it in code fires no event.
  int ItemIndex() const;
  void SetItemIndex(int v);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  // A character typed at the end of the edit part completes the text to the first item that
  // begins with it (in any case), selecting the added part, and selects that item.
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool v);
  // Height of the list's items (CB_SETITEMHEIGHT with wParam 0); at least 1.
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  // The canvas owner-drawn items are drawn on, while DrawItem runs.
  TCanvas* Canvas() const { return FCanvas.get(); }
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  void SetSelLength(int v);
  String SelText() const;
  void SetSelText(const String& v);
  void SelectAll();
  void Clear();
  void AddItem(const String& Item, TObject* AObject) { Items()->AddObject(Item, AObject); }
  // A drop-down combo box with a selection field height keeps its height at that field's.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Three-dimensional (sunken) border; stored for the look of derived controls.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool v) { FCtl3D = v; }

  TNotifyEvent OnChange;   // the user typed or picked
  TNotifyEvent OnSelect;   // the user picked an item (OnChange instead when unassigned)
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

protected:
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  void CreateWnd() override;
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  void CMColorChanged(TMessage& Message) override;
  // The native window paints itself; above it lies a transparent layer of the window's size.
  // Each time the window is drawn, the control gets WM_NCPAINT and then WM_PAINT, each with
  // WParam a DC on that layer; what they draw there shows over the native look. Invalidate
  // redraws it.
  void Dispatch(TMessage& Message) override;
  // CBN_DROPDOWN and CBN_CLOSEUP call DropDown and CloseUp.
  virtual void CNCommand(TWMCommand& Message);
  // Note whether the key typed is a character, which AutoComplete completes.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  virtual void WMNCPaint(TMessage& Message);
  // The owner-drawn styles (csOwnerDrawFixed, csOwnerDrawVariable) pick only, as csDropDownList
  // does, and draw each item of their list through DrawItem (OnDrawItem on Canvas, else the
  // item's text): csOwnerDrawFixed at ItemHeight, csOwnerDrawVariable at the height MeasureItem
  // gives (OnMeasureItem, starting from ItemHeight).
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);

private:
  friend class TItemControlStrings;
  friend struct TComboView;
  // Only an item can be chosen: no edit part.
  bool PickOnly() const { return FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
  void ItemsChanged();
  void ApplySettings();
  void CreateSimpleWnd();
  // Puts the painting layer over the window just made and applies the list's item height and
  // dropped width to it (StdCtrlsCombo.cpp).
  void CreateLayer();
  void ApplyItemHeight();
  // Sends CN_COMMAND with the notification to the control itself.
  void Notify(WORD Code);

  std::unique_ptr<TItemControlStrings> FItems;
  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoComplete = true;
  int FItemHeight = 16;
  int FItemIndex = -1;  // without a window
  bool FInCode = false;  // a change made in code is under way: no OnChange
  bool FTyped = false;   // a character is being typed
  bool FCtl3D = true;
  int FDroppedWidth = 0;
  int FFieldHeight = 0;  // the selection field's height; 0 until set through CB_SETITEMHEIGHT
  std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;
};

class TComboBox : public TCustomComboBox {
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  String ClassName() const override { return u"TComboBox"; }
};

// ---------------------------------------------------------------------------
// List box

class TCustomListBox : public TWinControl {
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  String ClassName() const override { return u"TCustomListBox"; }

  TStrings* Items() const;
  void SetItems(TStrings* v);
  int ItemIndex() const;
  void SetItemIndex(int v);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool v);
  int SelCount() const;
  int TopIndex() const;
  void SetTopIndex(int v);
  // The height of every item of an owner-drawn list (lbOwnerDrawFixed, lbOwnerDrawVariable);
  // a standard list sizes its items to its font.
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  // Owner-drawn styles draw each item through DrawItem (OnDrawItem on Canvas, or the item's
  // text on the selection or window colour when it is unassigned).
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle v);
  int ItemAtPos(const TPoint& Pos, bool Existing) const;
  TRect ItemRect(int Index) const;
  void Clear();
  void ClearSelection();
  void SelectAll();
  int Count() const;
  // Valid while an item is drawn: Rect of DrawItem is in its coordinates.
  TCanvas* Canvas() const { return FCanvas.get(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

protected:
  void CreateWnd() override;
  void CMColorChanged(TMessage& Message) override;
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);

private:
  friend class TItemControlStrings;
  friend class TOwnerDrawDelegate;
  void ItemsChanged();
  void ApplyStyle();

  std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;
  std::unique_ptr<TItemControlStrings> FItems;
  bool FSorted = false;
  bool FMultiSelect = false;
  int FItemHeight = 13;
  TListBoxStyle FStyle = lbStandard;
  int FItemIndex = -1;
};

class TListBox : public TCustomListBox {
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  String ClassName() const override { return u"TListBox"; }
};

// ---------------------------------------------------------------------------
// Buttons

class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* AOwner);
  String ClassName() const override { return u"TButtonControl"; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) { FWordWrap = v; }

protected:
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  bool FWordWrap = false;
};

class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* AOwner);
  String ClassName() const override { return u"TButton"; }

  // Clicking sets the form's ModalResult to this value (when not mrNone).
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  // Enter in the form clicks the default button; Esc clicks the cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }

  void Click() override;

protected:
  void CreateWnd() override;
  void CMDialogKey(TWMKey& Message) override;
  // Alt with the caption's marked letter clicks the button.
  void CMDialogChar(TWMKey& Message) override;

  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  String ClassName() const override { return u"TCustomCheckBox"; }

  // Setting it fires OnClick when the state changes.
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState v);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { FAlignment = v; }

protected:
  void CreateWnd() override;
  void CMColorChanged(TMessage& Message) override;
  // Alt with the caption's marked letter focuses the box and toggles it.
  void CMDialogChar(TWMKey& Message) override;

private:
  friend struct TCheckView;
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
  String ClassName() const override { return u"TCheckBox"; }
};

// Radio buttons with the same parent form one group: checking one unchecks the others.
class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent* AOwner);
  String ClassName() const override { return u"TRadioButton"; }

  bool Checked() const { return FChecked; }
  // Checking fires OnClick and unchecks the siblings.
  void SetChecked(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { FAlignment = v; }

protected:
  void CreateWnd() override;
  void CMColorChanged(TMessage& Message) override;
  // Alt with the caption's marked letter focuses and checks the button.
  void CMDialogChar(TWMKey& Message) override;

private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// ---------------------------------------------------------------------------
// Group box: a framed container with a caption.

class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  String ClassName() const override { return u"TCustomGroupBox"; }

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
  String ClassName() const override { return u"TGroupBox"; }
};

// ---------------------------------------------------------------------------
// Scroll bar

class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* AOwner);
  String ClassName() const override { return u"TScrollBar"; }

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  // Setting the position in code fires OnChange when it changes.
  void SetPosition(int v);
  void SetMin(int v) { SetParams(FPosition, v, FMax); }
  void SetMax(int v) { SetParams(FPosition, FMin, v); }
  void SetParams(int APosition, int AMin, int AMax);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

protected:
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
  friend struct TScrollView;
  void ApplySettings();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
  bool FInCode = false;
};
