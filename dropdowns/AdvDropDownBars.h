#pragma once
// The header and footer bars of the drop-down window and their buttons. They belong to the
// drop-down unit; this header keeps them out of the framework's contract (AdvDropDown.h), so
// code that uses the bars includes it beside AdvDropDown.h.
//
// The drop-down window makes a bar on the first opening that shows it (UpdateDropDownBars),
// hands it the drop-down and rebuilds its buttons from the drop-down's button descriptions at
// every opening; the bar keeps a private copy of the drop-down's appearance, refreshed then.
// The buttons share the drop-down's TAdvButtonAppearance by reference.

#include <cstdint>
#include <vector>

#include "dropdowns/AdvDropDown.h"
#include "platform/ui/Timers.h"

// A canvas on a window's device context (the screen's for nullptr) while it lives, for
// measuring text outside painting.
class TWindowDCCanvas : public TCanvas {
public:
  explicit TWindowDCCanvas(HWND Wnd);
  ~TWindowDCCanvas() override;
  TWindowDCCanvas(const TWindowDCCanvas&) = delete;
  TWindowDCCanvas& operator=(const TWindowDCCanvas&) = delete;

private:
  HWND FWnd;
  HDC FDC;
};

enum TAdvButtonStyle : uint8_t { tasButton, tasCheck };
enum TAdvButtonState : uint8_t { absUp, absDisabled, absDown, absDropDown, absExclusive };

// A list of pointers whose Ex accessors check the index against the end with their own
// messages; a negative index gets the list's ordinary check.
class TDbgList {
public:
  int Count() const { return static_cast<int>(FList.size()); }
  void Add(void* Item) { FList.push_back(Item); }
  void Clear() { FList.clear(); }
  // EListError "List index out of bounds (n)" outside 0..Count-1.
  void* Items(int Index) const;
  void SetItems(int Index, void* Value);
  // Clears the list and adds every item of ListA in order.
  void AssignList(const TDbgList& ListA);
  // "Index out of bounds in list read access" for Index >= Count.
  void* GetItemsEx(int Index) const;
  // "Index out of bounds in list write access" for Index >= Count.
  void SetItemsEx(int Index, void* Value);

private:
  std::vector<void*> FList;
};

// A header or footer button: colours from the drop-down's button appearance by state, an
// optional image and a one-line caption. A footer button with a modal result closes the
// drop-down when clicked (accepting or cancelling by that result).
class TAdvButton : public TCustomControl {
public:
  explicit TAdvButton(TComponent* AOwner);
  ~TAdvButton() override;
  String ClassName() const override { return u"TAdvButton"; }

  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  TAdvButtonStyle Style() const { return FStyle; }
  void SetStyle(TAdvButtonStyle v) { FStyle = v; Invalidate(); }
  TAdvButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  bool MouseDownInControl() const { return FMouseDownInControl; }
  TAdvButtonAppearance* Appearance() const { return FAppearance; }
  void SetAppearance(TAdvButtonAppearance* v) { FAppearance = v; Invalidate(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* List);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; Invalidate(); }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
  void SetAdvDropDown(TAdvCustomDropDown* DropDown) { FAdvDropDown = DropDown; }
  // Caption (one line, appearance font) and image plus 8 x 4 pixels.
  void SizeToContent();
  // Sets the parent form's modal result; a footer button with a closing result closes the
  // drop-down; then OnClick, unless the click came from Enter or Space.
  void Click() override;
  // The face for the current state (nothing without an appearance).
  virtual void DrawButton(TCanvas* ACanvas);

protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMDialogChar(TWMKey& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMEraseBkgnd(TWMEraseBkgnd& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;

private:
  void UnHotTimerTick(TObject* Sender);
  // Sends the button CM_MOUSEENTER when the mouse is over it, else CM_MOUSELEAVE.
  void UpdateTracking();
  void UpdateExclusive();
  // The parent's background and face behind the button (it has none of its own).
  void PaintParentBackground();
  bool Inside(int X, int Y) const;

  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FMouseInControl = false;
  bool FHot = false;
  TAdvButtonStyle FStyle = tasButton;
  TAdvButtonState FState = absUp;
  bool FMouseDownInControl = false;
  bool FDragging = false;
  TTimer* FUnHotTimer = nullptr;
  bool FInitialDown = false;
  bool FInternalClick = false;
  TAdvButtonAppearance* FAppearance = nullptr;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  TModalResult FModalResult = mrNone;
  TAdvCustomDropDown* FAdvDropDown = nullptr;
};

// What the header and the footer share: the private appearance copy, images, the buttons
// built from the drop-down's descriptions, background, border, image, caption.
class TAdvDropDownBar : public TCustomControl {
public:
  ~TAdvDropDownBar() override;
  String ClassName() const override { return u"TAdvDropDownBar"; }

  TBarAppearance* BarAppearance() const { return FBarAppearance.get(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
  // Stores the drop-down, takes its images and copies its appearance for this bar.
  void SetAdvDropDown(TAdvCustomDropDown* DropDown);
  // Builds the buttons when a drop-down is attached.
  void InitButtons();
  // The bar follows its appearance's Visible and Height.
  void AppearanceChanged(TObject* Sender);
  virtual TRect GetButtonArea() const = 0;
  int GetButtonAreaHeight() const { return GetButtonArea().Height(); }
  // (-1, -1, -1, -1) without buttons, else the button area up to 2 pixels before the last button.
  TRect GetCaptionArea() const;
  // The bar's button controls, in the order of their descriptions.
  int ButtonCount() const { return FButtonList.Count(); }
  TAdvButton* ButtonControl(int Index) const { return static_cast<TAdvButton*>(FButtonList.GetItemsEx(Index)); }

  TDrawBackGroundEvent OnDrawBackGround;
  TGetTextEvent OnGetText;

protected:
  // The bar owns Appearance (a header or footer appearance made with the bar's owner).
  TAdvDropDownBar(TComponent* AOwner, std::unique_ptr<TBarAppearance> Appearance);
  // The drop-down's descriptions for this bar (nullptr without a drop-down).
  virtual TCollection* DescriptionList() const = 0;
  virtual void AssignFromDropDown() = 0;
  // Footer buttons also know the drop-down and their modal result.
  virtual void SetUpButton(TAdvButton* Button, THeaderButton* Description) { (void)Button; (void)Description; }
  virtual void ButtonClick(TObject* Sender) = 0;
  // The border lines (the outer ones only without the drop-down's own border) and the light
  // inner frame; the pen is set to the border's width and colour.
  virtual void PaintBorder(TCanvas* ACanvas, const TRect& R, bool OwnBorder) = 0;
  virtual void PaintGrip(TCanvas* ACanvas, const TRect& R) { (void)ACanvas; (void)R; }

  virtual void CreateButtons();
  virtual void ClearButtons();
  virtual void ArrangeButtons();
  virtual void UpdateButtons();

  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TWMSize& Message) override;
  // The drop-down draws a border of its own (width at least 1, colour set).
  bool DropDownHasBorder() const;

  std::unique_ptr<TBarAppearance> FBarAppearance;
  TCustomImageList* FImages = nullptr;
  TAdvCustomDropDown* FAdvDropDown = nullptr;
  TDbgList FButtonList;

private:
  // Buttons of a rebuild are hidden at once and freed once the current message is handled:
  // the rebuild may come from inside one of their own clicks.
  std::vector<TAdvButton*> FRetired;
};

class TAdvHeader : public TAdvDropDownBar {
public:
  explicit TAdvHeader(TComponent* AOwner);
  String ClassName() const override { return u"TAdvHeader"; }
  THeaderAppearance* Appearance() const { return FAppearance; }
  void SetAppearance(THeaderAppearance* v) { FAppearance->Assign(v); }
  // The attached drop-down's header buttons (nullptr without one).
  THeaderButtons* Buttons() const;
  // Client rectangle less 2 at left, top and right and 3 at the bottom.
  TRect GetButtonArea() const override;

protected:
  TCollection* DescriptionList() const override { return Buttons(); }
  void AssignFromDropDown() override;
  void ButtonClick(TObject* Sender) override;
  void PaintBorder(TCanvas* ACanvas, const TRect& R, bool OwnBorder) override;
  void ArrangeButtons() override;

private:
  THeaderAppearance* FAppearance;  // owned by the base
};

class TAdvFooter : public TAdvDropDownBar {
public:
  explicit TAdvFooter(TComponent* AOwner);
  String ClassName() const override { return u"TAdvFooter"; }
  TFooterAppearance* Appearance() const { return FAppearance; }
  void SetAppearance(TFooterAppearance* v) { FAppearance->Assign(v); }
  TFooterButtons* Buttons() const;
  // Client rectangle less 2 on every side, and 14 at the right while the grip shows.
  TRect GetButtonArea() const override;
  // The appearance asks for the grip and the drop-down is sizeable.
  bool SizeGripVisible() const;

protected:
  TCollection* DescriptionList() const override { return Buttons(); }
  void AssignFromDropDown() override;
  void SetUpButton(TAdvButton* Button, THeaderButton* Description) override;
  void ButtonClick(TObject* Sender) override;
  void PaintBorder(TCanvas* ACanvas, const TRect& R, bool OwnBorder) override;
  void PaintGrip(TCanvas* ACanvas, const TRect& R) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  // The bottom-right corner that sizes the window (12 x 15 pixels).
  bool InGrip(int X, int Y) const;
  void RestoreCursor();
  TFooterAppearance* FAppearance;  // owned by the base
  TCursor FOldCursor = crDefault;
};

// Two passes of six 2 x 2 dots in the bottom-left of G: white, then BorderColor one pixel
// up and left.
void DrawSizeGrip(TCanvas* ACanvas, const TRect& G, TColor BorderColor);

// Brings the window's bars in line with the drop-down's appearances: a bar is made the first
// time its appearance is visible, then re-attached (buttons rebuilt) at every call, and gets
// the drop-down's drawing and text events. The window's InitializeAndUpdate calls it.
void UpdateDropDownBars(TDropDownForm* Form);
