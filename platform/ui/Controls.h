#pragma once
// The control hierarchy: TControl (position, look, mouse), TWinControl (a window with a
// handle, focus, keys and child controls), TGraphicControl (no window; painted by its
// parent) and TCustomControl (a window with its own canvas and Paint).
//
// Messages reach a control through WndProc -> Dispatch (a switch on the message number,
// calling the per-message virtual handlers) -> DefaultHandler, which hands the message
// back to the native window. Derived classes override WndProc to see every message first,
// Dispatch to add handlers for further message numbers, or a per-message handler.

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

using TColor = int32_t;
class TFont;
class TCanvas;
class TPopupMenu;
class TWinControl;
class TCustomForm;
struct TControlHost;
// Deleters defined where the graphics classes are complete.
struct TFontDeleter { void operator()(TFont* f) const; };
struct TCanvasDeleter { void operator()(TCanvas* c) const; };

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = Set<TAlign>;
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateItem>;

enum TControlStyleItem : uint8_t {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
  csNeedsBorderPaint, csParentBackground, csPannable
};
using TControlStyle = Set<TControlStyleItem>;
enum TControlStateItem : uint8_t {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = Set<TControlStateItem>;

// Reading order and alignment of a control's text and layout. The right-to-left modes take
// effect only on a right-to-left system (SysLocale.MiddleEast): bdRightToLeft mirrors the
// layout, aligns text to the right, reads right to left and puts the vertical scroll bar on
// the left; bdRightToLeftNoAlign reads right to left with the bar on the left but keeps the
// alignment; bdRightToLeftReadingOnly only reads right to left.
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Cursors: the standard ones are negative; applications register their own (1, 2, ... 99)
// in Screen->Cursors.
using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4;
constexpr TCursor crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10;
constexpr TCursor crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15;
constexpr TCursor crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20;
constexpr TCursor crHandPoint = -21, crSizeAll = -22, crSize = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl;

// What CM_HINTSHOW's lParam points at: the hint about to show, which the control may change.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;    // screen point of the hint's top-left
  String HintStr;    // the text shown (nothing shows when it is empty)
  TPoint CursorPos;  // the mouse in the control's client coordinates
  int HideTimeout = 0;
};

// Minimum and maximum size of a control; 0 means no limit.
class TSizeConstraints {
public:
  explicit TSizeConstraints(TControl* control) : FControl(control) {}
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMinWidth(int v);
  void SetMinHeight(int v);
  void SetMaxWidth(int v);
  void SetMaxHeight(int v);

private:
  void Changed();
  TControl* FControl;
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// Shows a pop-up menu at a screen point; the menu unit sets it.
extern std::function<void(TPopupMenu* Menu, TControl* Control, int X, int Y)> PopupMenuHook;

class TControl : public TComponent {
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  String ClassName() const override { return u"TControl"; }

  // ---- Hierarchy
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const { return FParent != nullptr; }

  // ---- Position and size (parent's client coordinates)
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  TPoint ClientOrigin() const;  // screen position of the client area's top-left
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;
  TPoint ClientToParent(const TPoint& p, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(const TPoint& p, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  const TAnchors& Anchors() const { return FAnchors; }
  void SetAnchors(const TAnchors& v);
  TSizeConstraints* Constraints() { return &FConstraints; }

  // ---- State and look
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a form visible.
  bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  // The mode is the parent's while ParentBiDiMode is set (the default); setting BiDiMode
  // clears ParentBiDiMode. A change sends CM_BIDIMODECHANGED to the control, which passes it
  // on to the children that follow their parent.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v);
  // The answers of the mode on this system: all false unless SysLocale.MiddleEast.
  virtual bool UseRightToLeftAlignment() const;
  virtual bool UseRightToLeftReading() const;
  virtual bool UseRightToLeftScrollBar() const;
  // DrawText flags for the mode: under right-to-left alignment DT_RIGHT and left alignment
  // swap (centred text stays), and DT_RTLREADING is added under right-to-left reading.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  // Caption and Text are the same text, as in the class library.
  String Caption() const { return GetText(); }
  void SetCaption(const String& v) { SetText(v); }
  String Text() const { return GetText(); }
  void SetText(const String& v);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  const String& Hint() const { return FHint; }
  void SetHint(const String& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* v);
  const TControlStyle& ControlStyle() const { return FControlStyle; }
  void SetControlStyle(const TControlStyle& v) { FControlStyle = v; }
  const TControlState& ControlState() const { return FControlState; }
  void SetControlState(const TControlState& v) { FControlState = v; }
  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  // ---- Painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- Messages
  // Delivers a message to this control's WndProc at once and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // ---- Events
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

  // Simulated user actions, also used by the message handlers.
  virtual void Click();
  virtual void DblClick();

protected:
  virtual String GetText() const { return FText; }
  // Stores the text; windowed controls with native text override this.
  virtual void SetTextBuf(const String& v);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();
  virtual void Loaded() override;
  virtual void Notification(TComponent* AComponent, TOperation Operation) override;
  // Moves the control on screen after FLeft..FHeight changed.
  virtual void UpdateBoundsRect();
  virtual void VisibleChanging() {}
  // The parent's window, and the rectangle of this control in it, for painting.
  virtual void InvalidateControl(bool IsVisible, bool IsOpaque);
  // The colour the control uses when ParentColor is set (the parent's).
  void ParentColorChanged();
  void ParentFontChanged();
  void FontChanged();
  TRect ApplyConstraints(const TRect& r) const;
  void RequestAlign();

  // ---- Message handlers
  virtual void WMMouseMove(TWMMouse& Message);
  virtual void WMLButtonDown(TWMMouse& Message);
  virtual void WMLButtonUp(TWMMouse& Message);
  virtual void WMLButtonDblClk(TWMMouse& Message);
  virtual void WMRButtonDown(TWMMouse& Message);
  virtual void WMRButtonUp(TWMMouse& Message);
  virtual void WMMButtonDown(TWMMouse& Message);
  virtual void WMMButtonUp(TWMMouse& Message);
  virtual void WMMouseWheel(TWMMouseWheel& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMBiDiModeChanged(TMessage& Message);
  virtual void CMParentBiDiModeChanged(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual void CMCursorChanged(TMessage& Message);

  TControlStyle FControlStyle;
  TControlState FControlState;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TSizeConstraints;
  void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TWMMouse& Message, TMouseButton Button);

  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TSizeConstraints FConstraints{this};
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor;
  bool FParentColor = true;
  std::unique_ptr<TFont, TFontDeleter> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  String FText;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  // Anchoring: distances kept from the parent's right and bottom edges.
  int FAnchorRight = 0, FAnchorBottom = 0;
  bool FAnchorsValid = false;
  int FWheelAccumulator = 0;
  friend struct TControlHost;
};

using TTabOrder = int;

// Window styles a control asks for in CreateParams; the controls whose windows honour them
// read them when they make their window.
constexpr DWORD WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_BORDER = 0x00800000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008, WS_EX_CLIENTEDGE = 0x00000200;
constexpr UINT CS_DROPSHADOW = 0x00020000;

struct TCreateParams {
  DWORD Style = WS_CHILD;
  DWORD ExStyle = 0;
  HWND WndParent = nullptr;  // the window that owns a form's window (see Forms.h)
  struct {
    UINT style = 0;  // class styles (CS_*)
  } WindowClass;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  String ClassName() const override { return u"TWinControl"; }

  // ---- Window
  // The window handle; creates the window (and its parents') on first use.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void RecreateWnd();

  // ---- Children
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;
  bool ContainsControl(TControl* Control) const;
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled = false, bool AllowWinControls = false) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Lays the aligned children out again (alTop/alBottom/alLeft/alRight/alClient, anchors).
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  // Sends the message to every child control.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  // ---- Focus
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  TTabOrder TabOrder() const;
  void SetTabOrder(TTabOrder v);
  void SelectFirst();
  // The windowed controls inside this one, each followed by its own, in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  // The control after (or before) CurControl in that order that can take the focus, a tab
  // stop when CheckTabStop, a child of this control when CheckParent; wraps around.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  // Moves the focus there, as Tab (CheckTabStop) and the arrow keys do.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  // Paints the graphic child controls on a DC of this window (client coordinates).
  void PaintControls(HDC DC, TControl* First = nullptr);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

protected:
  // ---- Window creation
  // Makes the widget the control hosts. The default is a painted container window;
  // standard controls return their native widget (see Controls_p.h).
  virtual void CreateWnd();
  // The styles of the window CreateWnd makes.
  virtual void CreateParams(TCreateParams& Params) { (void)Params; }
  virtual void DestroyWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // Applies the window's settings (style, text, font, colour) once it exists.
  virtual void CreateWindowHandle();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  TRect ClientRect() const override;
  void UpdateBoundsRect() override;
  void InvalidateControl(bool IsVisible, bool IsOpaque) override;
  void SetTextBuf(const String& v) override;
  // Painting through WM_PAINT: erase, PaintWindow, then the graphic children.
  virtual void PaintHandler(TMessage& Message);
  virtual void PaintWindow(HDC DC);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  bool DoKeyDown(TWMKey& Message);
  bool DoKeyUp(TWMKey& Message);
  bool DoKeyPress(TWMKey& Message);

  // ---- Message handlers
  virtual void WMPaint(TWMPaint& Message);
  virtual void WMEraseBkgnd(TWMEraseBkgnd& Message);
  virtual void WMSize(TWMSize& Message);
  virtual void WMMove(TWMMove& Message);
  virtual void WMSetFocus(TWMSetFocus& Message);
  virtual void WMKillFocus(TWMKillFocus& Message);
  virtual void WMKeyDown(TWMKey& Message);
  virtual void WMKeyUp(TWMKey& Message);
  virtual void WMChar(TWMKey& Message);
  virtual void WMSysKeyDown(TWMKey& Message);
  virtual void WMGetDlgCode(TWMGetDlgCode& Message);
  void WMContextMenu(TMessage& Message) override;
  virtual void WMSetCursor(TWMSetCursor& Message);
  virtual void WMNCHitTest(TWMNCHitTest& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMDialogKey(TWMKey& Message);
  virtual void CMDialogChar(TWMKey& Message);
  virtual void CMWantSpecialKey(TWMKey& Message);
  virtual void CMFocusChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMCursorChanged(TMessage& Message) override;
  void CMHintShow(TMessage& Message) override;

  HWND FHandle = nullptr;
  std::unique_ptr<TControlHost> FHost;

private:
  friend class TControl;
  friend struct TControlHost;
  friend class TCustomForm;
  void ApplyWidgetState();
  std::vector<TControl*> FControls;    // graphic and windowed children, z-order bottom first
  std::vector<TWinControl*> FTabList;  // windowed children in tab order
  bool FTabStop = false;
  int FAlignLevel = 0;
  bool FAligning = false;
};

// A control without a window: its parent paints it and routes its mouse messages.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  String ClassName() const override { return u"TGraphicControl"; }
  // The canvas is valid while Paint runs (on the parent's DC, origin at this control).
  TCanvas* Canvas() const { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

protected:
  virtual void Paint() {}
  virtual void WMPaint(TWMPaint& Message);

private:
  std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;
};

// A window with its own canvas: Paint draws it into the window's backing image.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  String ClassName() const override { return u"TCustomControl"; }
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

private:
  std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;
};

// The form a control sits on (nullptr when it is on none).
TCustomForm* GetParentForm(TControl* Control);
// The Qt-free shift state of a message's key flags.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);

// The class library's hint window: a pop-up window without a caption, above the program's
// other windows, that does not take the focus when it shows. Its parameters decide the rest:
// WS_BORDER gives it a one-pixel frame with the client area inside, WS_EX_TOPMOST keeps it
// above every other window, CS_DROPSHADOW gives it a shadow below and to the right. A point
// where WM_NCHITTEST answers HTBOTTOMRIGHT is a resize corner: dragging it with the left
// button sizes the window. Left, Top, Width and Height are screen coordinates.
class THintWindow : public TCustomControl {
public:
  explicit THintWindow(TComponent* AOwner);
  ~THintWindow() override;
  String ClassName() const override { return u"THintWindow"; }
  // Shows the window over Rect (screen coordinates) with the hint text.
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  // The window's rectangle for a hint at (0, 0): the text wrapped at MaxWidth, with margins.
  virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
  // Shows and hides the window (it never takes the focus by showing).
  void SetVisible(bool v) override;
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  TRect ClientRect() const override;
  // The window's styles as made (valid once the window exists).
  const TCreateParams& WindowParams() const { return FParams; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;

private:
  int FBorderWidth = 0;
  TCreateParams FParams;
  bool FSizing = false;
  TPoint FSizeFrom;   // screen point where the resize drag started
  TPoint FSizeStart;  // the window's size then
};

// The class of the window the application's hints show in: makes such a window.
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
template <class T>
THintWindowClass HintWindowClassOf() {
  return [](TComponent* AOwner) -> THintWindow* { return new T(AOwner); };
}
// Every hint of the application shows in a window of this class from now on (a hint showing
// goes); an empty class is the class library's THintWindow.
void SetHintWindowClass(const THintWindowClass& Class);
// The window the application's hints show in (nullptr before the first hint of a class).
THintWindow* ApplicationHintWindow();
