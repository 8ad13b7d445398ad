#pragma once
// Common controls: page control with tab sheets, status bar with panels, tool bar with tool
// buttons, track bar, progress bar and date-time picker. Image lists come with ImgList.h.

#include <memory>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

class TPopupMenu;

// ---------------------------------------------------------------------------
// Page control
//
// Only the active page is shown. Making a page active in code (ActivePage, ActivePageIndex)
// fires no event. When the user picks a tab (mouse, arrow keys) or SelectNextPage is called,
// OnChanging runs first and may refuse the switch; OnChange follows the switch.

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  String ClassName() const override { return u"TTabSheet"; }

  // The page control holding the sheet; setting it also makes it the sheet's parent.
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* v);
  // Position among the pages (0-based).
  int PageIndex() const;
  void SetPageIndex(int v);
  // Whether the sheet has a tab; a sheet without a tab can still be made active in code.
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  // Position of the sheet's tab among the shown tabs; -1 when it has none.
  int TabIndex() const;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  bool Highlighted() const { return FHighlighted; }
  void SetHighlighted(bool v) { FHighlighted = v; }

  void SetParent(TWinControl* AParent) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
  bool FHighlighted = false;
};

enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle : uint8_t { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  String ClassName() const override { return u"TPageControl"; }

  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Index);
  // The shown tabs and the index of the active page's tab (-1 when it has none).
  int TabCount() const;
  int TabIndex() const;
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition v);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle v) { FStyle = v; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v) { FMultiLine = v; }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) { FHotTrack = v; }
  // The area the pages fill, in the page control's client coordinates.
  TRect DisplayRect() const;

  // The page after (or before) CurPage in page order, wrapping round; with CheckTabVisible only
  // pages with a tab count. nullptr when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // Switches to the next page as the user would: OnChanging, the switch, OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void CreateWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The arrow keys switch pages: the tab row keeps them from the form's focus moves.
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  // Asks OnChanging whether the active page may change.
  virtual bool CanChange();
  virtual void Change();

private:
  friend class TTabSheet;
  friend struct TPageView;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  // A switch asked for by the user.
  void UserSelect(TTabSheet* Page);
  void UpdateTabs();
  void LayoutPages();

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  TCustomImageList* FImages = nullptr;
  bool FMultiLine = false;
  bool FHotTrack = false;
};

// ---------------------------------------------------------------------------
// Status bar: panels side by side, each with its width (the last reaches the right edge), or
// one simple text across the bar while SimplePanel is set.

enum TStatusPanelStyle : uint8_t { psText, psOwnerDraw };
enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };

class TStatusBar;
class TStatusPanels;

class TStatusPanel : public TPersistent {
public:
  explicit TStatusPanel(TStatusPanels* AOwner) : FOwner(AOwner) {}
  String ClassName() const override { return u"TStatusPanel"; }
  void Assign(TPersistent* Source) override;

  const String& Text() const { return FText; }
  void SetText(const String& v);
  int Width() const { return FWidth; }
  void SetWidth(int v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel v);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle v);
  int Index() const;

private:
  void Changed();
  TStatusPanels* FOwner;
  String FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TPersistent {
public:
  explicit TStatusPanels(TStatusBar* AStatusBar);
  ~TStatusPanels() override;
  String ClassName() const override { return u"TStatusPanels"; }
  void Assign(TPersistent* Source) override;

  TStatusPanel* Add();
  TStatusPanel* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return int(FItems.size()); }
  // Raises EListError out of range.
  TStatusPanel* Items(int Index) const;
  TStatusPanel* operator[](int Index) const { return Items(Index); }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

private:
  friend class TStatusPanel;
  friend class TStatusBar;
  void Changed();
  TStatusBar* FStatusBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
  int FUpdateCount = 0;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TCustomControl {
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  String ClassName() const override { return u"TStatusBar"; }

  TStatusPanels* Panels() const { return FPanels.get(); }
  void SetPanels(TStatusPanels* v) { FPanels->Assign(v); }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const String& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& v);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);
  bool AutoHint() const { return FAutoHint; }
  void SetAutoHint(bool v) { FAutoHint = v; }
  // Where panel Index is drawn.
  TRect PanelRect(int Index) const;

  TDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnHint;

protected:
  void Paint() override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

private:
  friend class TStatusPanels;
  std::unique_ptr<TStatusPanels> FPanels;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
  bool FAutoHint = false;
};

// ---------------------------------------------------------------------------
// Tool bar: tool buttons in a row, in the order they were put on it, each ButtonWidth x
// ButtonHeight (separators and dividers keep their own width).

enum TToolButtonStyle : uint8_t { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;
  String ClassName() const override { return u"TToolButton"; }

  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  // A check button stays down after a click; Grouped check buttons side by side act as radio buttons.
  bool Down() const { return FDown; }
  void SetDown(bool v);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool v) { FGrouped = v; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool v);
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* v) { FDropdownMenu = v; }
  // Position on the tool bar; -1 when on none.
  int Index() const;

  void SetParent(TWinControl* AParent) override;
  void Click() override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;

private:
  friend class TToolBar;
  TToolBar* FToolBar = nullptr;
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FDown = false;
  bool FGrouped = false;
  bool FAllowAllUp = false;
  bool FWrap = false;
  bool FPressed = false;  // the mouse is held on it
  bool FHot = false;      // the mouse is over it
  TPopupMenu* FDropdownMenu = nullptr;
};

class TToolBar : public TCustomControl {
public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;
  String ClassName() const override { return u"TToolBar"; }

  int ButtonCount() const { return int(FButtons.size()); }
  TToolButton* Buttons(int Index) const;
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int v);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* v);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool v);
  // Flat buttons show their edge only under the mouse or when down.
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  // Captions beside the images instead of below them.
  bool List() const { return FList; }
  void SetList(bool v);
  int Indent() const { return FIndent; }
  void SetIndent(int v);
  bool Wrapable() const { return FWrapable; }
  void SetWrapable(bool v);

protected:
  void Paint() override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMFontChanged(TMessage& Message) override;

private:
  friend class TToolButton;
  void InsertButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  void ArrangeButtons();

  std::vector<TToolButton*> FButtons;
  int FButtonWidth = 23;
  int FButtonHeight = 22;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  bool FShowCaptions = false;
  bool FFlat = false;
  bool FList = false;
  int FIndent = 0;
  bool FWrapable = true;
  bool FArranging = false;
};

// ---------------------------------------------------------------------------
// Track bar

enum TTrackBarOrientation : uint8_t { trHorizontal, trVertical };
enum TTickStyle : uint8_t { tsNone, tsAuto, tsManual };
enum TTickMark : uint8_t { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
public:
  explicit TTrackBar(TComponent* AOwner);
  String ClassName() const override { return u"TTrackBar"; }

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  // Kept within Min..Max; OnChange fires when it changes, in code or by the user.
  int Position() const { return FPosition; }
  void SetPosition(int v);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int v);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int v);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark v);

  TNotifyEvent OnChange;

protected:
  void CreateWnd() override;
  virtual void Changed();

private:
  friend struct TTrackView;
  void ApplySettings();
  int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FLineSize = 1, FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickStyle FTickStyle = tsAuto;
  TTickMark FTickMarks = tmBottomRight;
  bool FInCode = false;
};

// ---------------------------------------------------------------------------
// Progress bar

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* AOwner);
  String ClassName() const override { return u"TProgressBar"; }

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  // Kept within Min..Max.
  int Position() const { return FPosition; }
  void SetPosition(int v);
  int Step() const { return FStep; }
  void SetStep(int v) { FStep = v; }
  void StepIt() { SetPosition(FPosition + FStep); }
  void StepBy(int Delta) { SetPosition(FPosition + Delta); }
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool v) { FSmooth = v; }

protected:
  void CreateWnd() override;

private:
  void ApplySettings();
  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
  bool FSmooth = false;
};

// ---------------------------------------------------------------------------
// Date-time picker
//
// One line of date or time fields in a display format, with an optional check box in front
// ("no date" while unchecked) and, for dates, a drop-down calendar. The fields are stepped as
// the native control steps them: Right and Left move to the next or previous field (wrapping
// round), Up and Down change the field (wrapping within it), digits type into it (a field
// takes its value as soon as the digits typed make a valid one; a four-digit year once all
// four are typed). The window answers the messages DTM_GETSYSTEMTIME, DTM_SETSYSTEMTIME and
// DTM_SETFORMATW, and reports the user's changes to the control as CN_NOTIFY notifications
// (DTN_DATETIMECHANGE, with GDT_NONE when the check box was cleared; DTN_DROPDOWN and
// DTN_CLOSEUP around the calendar). OnChange fires for the user's changes only.
//
// Format uses the native letters: d dd (day), ddd dddd (weekday name), M MM (month), MMM MMMM
// (month name), y yy (two-digit year), yyy yyyy (year), h hh (hour 1..12), H HH (hour 0..23),
// m mm (minute), s ss (second), t tt (AM/PM), text in single quotes ('' is a quote); other
// characters show as they are. An hour 1..12 is shown as 0..23 when the format has no AM/PM
// field. An empty Format shows the locale's short (or long) date, or its long time.

RTL_EXCEPTION(EDateTimeError, Exception);

enum TDateTimeKind : uint8_t { dtkDate, dtkTime };
enum TDTDateMode : uint8_t { dmComboBox, dmUpDown };
enum TDTDateFormat : uint8_t { dfShort, dfLong };

struct SYSTEMTIME {
  WORD wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0;
  WORD wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
// The header of every control notification (CN_NOTIFY: lParam points to it).
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};
struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags = 0;  // GDT_VALID or GDT_NONE
  SYSTEMTIME st;
};
constexpr DWORD GDT_ERROR = static_cast<DWORD>(-1), GDT_VALID = 0, GDT_NONE = 1;
constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;  // lParam SYSTEMTIME*; returns GDT_VALID or GDT_NONE
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;  // wParam GDT_VALID or GDT_NONE, lParam SYSTEMTIME*; 0 when refused
constexpr UINT DTM_SETFORMATW = DTM_FIRST + 50;    // lParam a zero-terminated format, null for the default
constexpr UINT DTN_FIRST = 0U - 760U;
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;
constexpr UINT DTN_DROPDOWN = DTN_FIRST + 6;
constexpr UINT DTN_CLOSEUP = DTN_FIRST + 7;

// Between TDateTime and SYSTEMTIME (milliseconds kept). SystemTimeToDateTime raises
// EConvertError for a date or time that does not exist.
void DateTimeToSystemTime(TDateTime DateTime, SYSTEMTIME& SystemTime);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& SystemTime);

// CN_NOTIFY: lParam the notification's header.
struct TWMNotify : TMessageView {
  using TMessageView::TMessageView;
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(M.LParam); }
};

class TDateTimePicker : public TWinControl {
public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;
  String ClassName() const override { return u"TDateTimePicker"; }

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind v);
  // Date and time together; Date is the whole days, Time the time of day. Setting one keeps
  // the other. A value before 1601-01-01 or after 9999-12-31 raises EDateTimeError.
  TDateTime DateTime() const { return FDateTime; }
  void SetDateTime(TDateTime v);
  TDateTime Date() const;
  void SetDate(TDateTime v);
  TDateTime Time() const;
  void SetTime(TDateTime v);
  // The earliest and latest value the user can pick (0: no limit of its own). Setting a value
  // beyond a limit raises EDateTimeError.
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime v);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime v);
  // The stored display format (empty: the locale's).
  const String& Format() const { return FFormat; }
  void SetFormat(const String& v);
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat v);
  // dmComboBox: a drop-down calendar; dmUpDown: up-down arrows. A time picker always has arrows.
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode v);
  bool ShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool v);
  // Unchecked (with the check box shown) means "no date": the fields are greyed.
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  // The calendar is open.
  bool DroppedDown() const;
  // The sunken 3-D edge; without it the fields have no frame.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool v);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool v) { FParentCtl3D = v; }  // stored only

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

protected:
  void CreateWnd() override;
  // The window's text: the fields as shown.
  String GetText() const override;
  // The native window's own handling of its messages (DTM_*, and key-downs that were posted
  // or sent rather than typed).
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  virtual void CNNotify(TWMNotify& Message);
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();
  void CMColorChanged(TMessage& Message) override;

private:
  friend struct TPickerView;
  void ApplySettings();
  bool NativeMessage(TMessage& Message);
  TDateTimeKind FKind = dtkDate;
  TDateTime FDateTime = 0;
  TDateTime FMinDate = 0, FMaxDate = 0;
  String FFormat;
  TDTDateFormat FDateFormat = dfShort;
  TDTDateMode FDateMode = dmComboBox;
  bool FShowCheckbox = false;
  bool FChecked = true;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FInCode = false;  // the window is being set from the fields: no notification
};
