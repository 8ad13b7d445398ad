#pragma once
// Forms, the application object and the screen: the message loop with its idle
// handler, application-wide exception handling, modal windows and message boxes.

#include <atomic>
#include <exception>
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/win/MultiMon.h"

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition : uint8_t { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                           poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5;
constexpr TModalResult mrYes = 6, mrNo = 7, mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11;
constexpr TModalResult mrAll = 12, mrNoToAll = 13, mrYesToAll = 14;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// WM_SIZING's wParam while the window is sized from its bottom-right corner.
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// A form is a top-level window. Its window parameters (CreateParams) are read when the window
// is made and again each time the form is shown, so a derived form's parameters and an owner
// that exists only later still apply:
// - WndParent: the window is owned by that window (a form's handle): it stays above its owner,
//   shows no taskbar entry of its own and GetParent answers the owner. With bsNone this is the
//   borderless pop-up form (a drop-down window).
// - ExStyle WS_EX_TOPMOST (or FormStyle fsStayOnTop): it stays above the other windows.
// What the form gets, and when:
// - Show: the window shows, comes to the front and is activated: WM_ACTIVATE (WA_ACTIVE) and
//   OnActivate; the keyboard goes to its active (focused) control, else to the form itself.
// - Another window becomes active: WM_ACTIVATE (WA_INACTIVE, lParam the window activated, null
//   when it is no window of this program's) and OnDeactivate, once per change. A window the
//   form owns counts as another window; its GetParent chain leads back to the form.
// - While an owned form is the active window, a mouse press on another window of this program
//   first activates that window, as a window manager does (so the owned form gets WA_INACTIVE
//   before the press reaches the window pressed); presses outside the program deactivate it
//   through the window system's own activation change.
// - The window system closes the window (close box, Alt+F4): WM_CLOSE, then Close. It hides
//   the window by itself: Visible turns false and OnHide runs, as for Hide.
// - WM_NCLBUTTONDOWN with HTBOTTOMRIGHT, or a left press where WM_NCHITTEST answers
//   HTBOTTOMRIGHT: the window is sized from its bottom-right corner until the button goes up,
//   by the window system when it can do it (WM_SIZE as the size changes), else by following the
//   mouse (WM_SIZING with the proposed rectangle, then the new size and WM_SIZE, at each move;
//   never below the size constraints or 1 x 1).
class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  // CreateNew: a form made without a stored description; here the same as the constructor above.
  TCustomForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner) { (void)Dummy; }
  ~TCustomForm() override;
  String ClassName() const override { return u"TCustomForm"; }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  const TBorderIcons& BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(const TBorderIcons& v);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  TIcon* Icon() { return FIcon.get(); }
  void SetIcon(TIcon* v);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool v) { FScaled = v; }
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* v);
  bool Active() const;
  // Control (on this form) got the focus: CM_EXIT goes to the controls that lose it,
  // innermost first, CM_ENTER to those that gain it, outermost first, then CM_FOCUSCHANGED
  // (LParam = Control) to the form and through it to every control. False when a handler
  // moved the focus elsewhere meanwhile; the rest is then left to that move.
  bool SetFocusedControl(TWinControl* Control);
  // Control is leaving the form: it and its children stop being the active or focused control.
  void DefocusControl(TWinControl* Control, bool Removing);

  virtual void Show();
  void Hide() { SetVisible(false); }
  // Runs a modal loop until ModalResult is set or the form is closed; returns ModalResult.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool Modal() const { return FModal; }
  // Asks OnCloseQuery, then OnClose decides: hide (default), free, minimise or nothing.
  void Close();
  bool CloseQuery();
  // Frees the form once the current message is handled.
  void Release();
  void BringToFront();

  void SetVisible(bool v) override;
  void SetFocus() override;
  void Dispatch(TMessage& Message) override;
  // The area below the main menu's bar (see Menus.h).
  TRect ClientRect() const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnPaint;

  // Runs OnCreate (through the application's exception handler); CreateForm calls it
  // after the global reference is set. Forms made directly call it from their constructor.
  void DoCreate();
  void DoDestroy();

protected:
  void CreateWnd() override;
  // Moves and sizes the top-level window; a window of fixed size takes its new size as its
  // fixed size.
  void UpdateBoundsRect() override;
  void SetTextBuf(const String& v) override;
  void CMEnabledChanged(TMessage& Message) override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  void Paint();
  void PaintWindow(HDC DC) override;
  void Loaded() override;
  void CMDialogKey(TWMKey& Message) override;
  virtual void CMChildKey(TMessage& Message);
  virtual void WMClose(TMessage& Message);
  virtual void WMActivate(TWMActivate& Message);
  // wParam: the hit-test code; lParam: the screen point (x low word, y high word).
  virtual void WMNCLButtonDown(TMessage& Message);
  std::unique_ptr<TCanvas> FCanvas;

private:
  friend class TApplication;
  friend class TWinControl;
  friend struct TFormWidget;
  void ApplyWindowFlags();
  // Reads CreateParams again; a change of owner or stacking remakes the window's flags.
  void RefreshWindowParams();
  // The window system hid the window by itself: the form follows.
  void WindowSystemHid();
  // Sizes the window from its bottom-right corner (see the class comment).
  void SizeFromCorner(TPoint ScreenPos);
  void PlaceOnShow();
  // The menu bar's height changed: the outer height follows, the client height stays.
  void SetMenuHeight(int Height);
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  std::unique_ptr<TIcon> FIcon;
  bool FKeyPreview = false;
  bool FScaled = true;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FCreated = false;
  bool FDestroyed = false;
  bool FShownOnce = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;  // the innermost control that has had CM_ENTER
  int FMenuHeight = 0;                      // the menu bar above the client area
  TCreateParams FParams;                    // the window's parameters as last applied
  bool FHidingWindow = false;               // the form hides its window itself
};

class TForm : public TCustomForm {
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  // CreateNew.
  TForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner, Dummy) {}
  String ClassName() const override { return u"TForm"; }
  TCanvas* Canvas() const { return FCanvas.get(); }
};

// The form a control sits on.
TCustomForm* GetParentForm(TControl* Control);

// ---- Scrolling windows
enum TScrollBarKind : uint8_t;
class TScrollingWinControl;

// One scroll bar of a scrolling window. Range is the extent of the content in pixels; the bar
// shows (IsScrollBarVisible) while Visible and Range exceeds the window's client extent, and
// Position (0 .. Range - client extent) is how far the content is scrolled.
class TControlScrollBar {
public:
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : FControl(Control), FKind(Kind) {}
  TScrollBarKind Kind() const { return FKind; }
  // Pixels a click on an arrow scrolls.
  int Increment() const { return FIncrement; }
  void SetIncrement(int v);
  // Space kept beyond the content's far edge (and round a control scrolled into view).
  int Margin() const { return FMargin; }
  void SetMargin(int v);
  int Position() const { return FPosition; }
  // Clamped to the range; the content moves by the difference.
  void SetPosition(int v);
  int Range() const { return FRange; }
  // A range set in code turns the window's AutoScroll off.
  void SetRange(int v);
  // The content follows the thumb while it is dragged (else when it is let go).
  bool Tracking() const { return FTracking; }
  void SetTracking(bool v) { FTracking = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool IsScrollBarVisible() const;
  // Position while the bar shows, else 0.
  int ScrollPos() const { return IsScrollBarVisible() ? FPosition : 0; }
  // The bar's thickness.
  int Size() const;
  void Assign(const TControlScrollBar& Source);

private:
  friend class TScrollingWinControl;
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FIncrement = 8;
  int FMargin = 0;
  int FPosition = 0;
  int FRange = 0;
  bool FTracking = false;
  bool FVisible = true;
  bool FShown = false;  // the bar is on the window now
};

// A window whose content (its child controls) scrolls under two scroll bars. With AutoScroll
// the ranges follow the children: the far edge of the farthest one (unaligned, or aligned
// along the bar) plus Margin, updated soon after a child is added, removed, moved or sized. Scrolling moves the children (their Left and Top change).
// The bars send the window WM_HSCROLL and WM_VSCROLL as the user works them: SB_LINEUP and
// SB_LINEDOWN for the arrows, SB_PAGEUP and SB_PAGEDOWN for the track, SB_THUMBTRACK while the
// thumb is dragged, SB_THUMBPOSITION where it is let go, then SB_ENDSCROLL; the default
// handling moves Position (by Increment, by the client extent, to the thumb; with SB_THUMBTRACK
// only when Tracking).
class TScrollingWinControl : public TWinControl {
public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  String ClassName() const override { return u"TScrollingWinControl"; }

  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool v);
  TControlScrollBar* HorzScrollBar() { return &FHorzScrollBar; }
  TControlScrollBar* VertScrollBar() { return &FVertScrollBar; }
  const TControlScrollBar* HorzScrollBar() const { return &FHorzScrollBar; }
  const TControlScrollBar* VertScrollBar() const { return &FVertScrollBar; }
  // Scrolls just enough for AControl (a child) to show whole, Margin round it.
  void ScrollInView(TControl* AControl);
  // The client area less the scroll bars that show.
  TRect ClientRect() const override;
  // Ranges and bars follow the children now (also done after every layout and child move).
  void UpdateScrollBars();
  void Dispatch(TMessage& Message) override;

protected:
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  // A graphic child moved or sized repaints its area: the ranges follow after the paint.
  void WMPaint(TWMPaint& Message) override;
  virtual void WMHScroll(TWMScroll& Message);
  virtual void WMVScroll(TWMScroll& Message);
  // The thumb's place while the user drags it (SB_THUMBTRACK/SB_THUMBPOSITION in full).
  int TrackPos(TScrollBarKind Kind) const;

private:
  friend class TControlScrollBar;
  void ScrollMessage(TControlScrollBar& Bar, TWMScroll& Message);
  // Moves the children by the change of a bar's position.
  void ScrollContent(int Dx, int Dy);
  void PlaceBars();
  TControlScrollBar FHorzScrollBar;
  TControlScrollBar FVertScrollBar;
  bool FAutoScroll = true;
  bool FUpdating = false;
};

// The class library's scroll box: a scrolling window to place controls on.
class TScrollBox : public TScrollingWinControl {
public:
  explicit TScrollBox(TComponent* AOwner);
  String ClassName() const override { return u"TScrollBox"; }
};

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* AOwner);
  // Frees its forms (DestroyForms).
  ~TApplication() override;
  String ClassName() const override { return u"TApplication"; }

  // Starts the windowing system (once); the message loop, idle handling, thread
  // hand-over and exception routing are installed here.
  void Initialize();
  // Creates a form: the global reference is set before the form's OnCreate runs.
  // The first form created becomes the main form.
  template <typename T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    AddForm(form);
    form->DoCreate();
  }
  // Frees the forms (and any other component) it owns, last created first, so the main form
  // goes last: all are marked as destroying first, then each form runs its OnDestroy as it
  // goes. The program's end does this through the destructor.
  void DestroyForms();
  // Runs the message loop until Terminate or the main form closes. When it returns, messages
  // sent from other threads are no longer handled (see HandleSentMessages).
  void Run();
  // Ends the loop once the current message is handled.
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles all pending messages without idling.
  void ProcessMessages();
  // Waits for a message and handles it (idling first when none is pending).
  void HandleMessage();
  // Routes the current exception to OnException, or shows its message. Call inside a catch.
  void HandleException(TObject* Sender);
  void ShowException(Exception& E);
  // Calls the idle handlers once; Done comes back in the result.
  bool DoIdle();

  TCustomForm* MainForm() const { return FMainForm; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool v) { FShowMainForm = v; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& v);
  TIcon* Icon() { return FIcon.get(); }
  void SetIcon(TIcon* v);
  String ExeName() const;
  const String& Hint() const { return FHint; }
  void SetHint(const String& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int v) { FHintPause = v; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int v);
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int v) { FHintShortPause = v; }
  void CancelHint();
  // Modal message box over the active form; returns IDOK, IDCANCEL ...
  int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnHint;

  // Listeners added by TApplicationEvents objects.
  void AddIdleHandler(const TIdleEvent* h) { FIdleHandlers.push_back(h); }
  void RemoveIdleHandler(const TIdleEvent* h);
  void AddExceptionHandler(const TExceptionEvent* h) { FExceptionHandlers.push_back(h); }
  void RemoveExceptionHandler(const TExceptionEvent* h);

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void Idle();
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  std::atomic<bool> FTerminated{false};
  bool FRunning = false;
  bool FInIdle = false;
  bool FIdleDone = true;
  String FTitle;
  std::unique_ptr<TIcon> FIcon;
  String FHint;
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  int FHintShortPause = 50;
  std::vector<const TIdleEvent*> FIdleHandlers;
  std::vector<const TExceptionEvent*> FExceptionHandlers;
};

// What Screen's MonitorFrom calls answer when no monitor holds the point, rectangle or window.
enum TMonitorDefaultTo : uint8_t { mdNearest, mdNull, mdPrimary };

// One monitor of the desktop. Its rectangles are read when asked, so they follow the screens.
class TMonitor {
public:
  explicit TMonitor(HMONITOR Handle, int MonitorNum) : FHandle(Handle), FMonitorNum(MonitorNum) {}
  HMONITOR Handle() const { return FHandle; }
  int MonitorNum() const { return FMonitorNum; }
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }
  TRect BoundsRect() const;
  // The bounds less the desktop's panels and docks.
  TRect WorkareaRect() const;
  bool Primary() const;

private:
  friend class TScreen;
  HMONITOR FHandle;
  int FMonitorNum;
};

class TScreen : public TComponent {
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  String ClassName() const override { return u"TScreen"; }
  // The cursor table: custom numbers registered by the application (LoadCursor results);
  // an unregistered number shows the default cursor.
  HCURSOR Cursors(int Index) const;
  void SetCursors(int Index, HCURSOR Value);
  // A cursor shown over every window while not crDefault (crHourGlass during work).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TWinControl* ActiveControl() const;
  TCustomForm* ActiveForm() const;
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }
  // The primary monitor's size and work area.
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int PixelsPerInch() const { return 96; }

  // ---- Monitors, the primary first (index 0). The objects stay valid as long as the screen.
  int MonitorCount() const;
  TMonitor* Monitors(int Index) const;
  TMonitor* PrimaryMonitor() const;
  // The monitor holding the point; otherwise none, the primary or the nearest, by Default.
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest) const;
  // The monitor sharing the most area with the rectangle; otherwise as for a point.
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest) const;
  // The monitor showing most of the window.
  TMonitor* MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default = mdNearest) const;
  // The rectangle round all monitors.
  TRect DesktopRect() const;

private:
  friend class TCustomForm;
  // The monitor object of a handle, made on first need.
  TMonitor* MonitorOf(HMONITOR Handle) const;
  std::vector<TCustomForm*> FForms;
  TCursor FCursor = crDefault;
  mutable std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

extern TApplication* Application;
extern TScreen* Screen;

// The program's end, after Run: frees the application object (and with it its forms, the
// main form last), then the screen, and last the Qt application that Initialize started.
// Application and Screen are null afterwards.
void FreeApplication();

// ---- Message dialogs
enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = Set<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
void ShowMessage(const String& Msg);
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
