#pragma once
// Common controls: page control with tab sheets, status bar with panels, tool bar with tool
// buttons, track bar and progress bar. Image lists come with ImgList.h.

#include <memory>
#include <vector>

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
