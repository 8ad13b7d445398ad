#pragma once
// The drop-down editors' framework: TAdvCustomDropDown, a single-line masked edit with a
// drop-down button inside its right edge and a borderless pop-up window (TDropDownForm) that
// holds one control between an optional header and footer bar. Each concrete drop-down
// derives from it and fills in the protocol of virtual operations: the control is created
// once with the window (CreateDropDownForm), the current value is loaded into it before every
// opening (BeforeDropDown) and copied back when the window closes (DoHideDropDown,
// DropDownFormHidden). A cancelled close puts back the text last written by SetText;
// SetTextDirect shows a tentative value without moving that point.
//
// Also here: the edit types and value text (what the edit accepts, prefix and suffix,
// number conversion, clipboard), the sixteen looks and four selection colour styles, the
// edit's borders and its caption label, the settings objects of the header and footer bars,
// and the module's plain drawing and text routines.

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/AdvEdit.h"
#include "controls/AdvStyleIF.h"
#include "platform/rtl/Collections.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

class TAdvCustomDropDown;
class TDropDownForm;

// ---------------------------------------------------------------------------
// Types

enum TDropPosition : uint8_t { dpAuto, dpDown, dpUp };
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
// The edit types and the label positions are the styled edit's: the same values in the same order.
// The label position type is reached through the drop-down's class (the class library's
// labelled edit has a global type of that name).
using TDropDownEditType = TAdvEditType;
enum TSelectionColorStyle : uint8_t { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TButtonAlignment : uint8_t { baLeft, baRight };

using TDropDown = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUp = std::function<void(TObject* Sender, bool Cancelled)>;
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;

// ---------------------------------------------------------------------------
// Module routines

Char ThousandSeparatorChar();
Char DecimalSeparatorChar();
// Steps bands from FromColor to ToColor over Rect (its right or bottom edge reduced by 1).
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect, bool Horizontal);
// Percent of Color1 and the rest of Color2.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
TColor ShadeColor(TColor Color, int PercentRed, int PercentGreen, int PercentBlue);
void DrawGradientRect(TCanvas* Canvas, TRect Rect, TColor Color, TColor ColorTo, TColor BorderColor, int PenWidth,
                      TGradientDirection Direction);
void DrawButtonContent(TCanvas* Canvas, TRect Rect, const String& Caption, TCustomImageList* Images, int ImageIndex);
// The bitmap over BackColor, its pixel (0, 0) transparent, copied to Rect.
void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, TRect Rect);
TSize GetTextSize(TCanvas* Canvas, const String& Text);
String TruncateText(TCanvas* Canvas, const String& Text, int MaxWidth, bool AddEllipsis);
// One line of mini-HTML drawn (or measured only) in Rect; Size gets its width and height.
void DrawHTMLCaption(TCanvas* Canvas, const String& Text, TRect Rect, TCustomImageList* Images, bool Paint,
                     HWND WindowHandle, TSize& Size);
// 0 integer, 1 float, 5 hexadecimal, 2 anything else (also empty, two '-' or two decimal
// separators). (IsRangeSeparator and StripThousandSeparators are the styled edit's.)
int ClassifyNumericText(const String& Text);
int HexDigitValue(Char Ch);
// The hexadecimal digits as a 32-bit value; more than eight digits wrap (no validation).
inline int32_t HexToInt(const String& Text) { return HexTextToInt(Text); }
String ApplyCaseSensitivity(const String& Text, bool CaseSensitive);
// Text starts with the N characters of which Key is the ApplyCaseSensitivity form. ASCII
// compares in place; only a text with other characters in its first N is upper-cased.
bool StartsWithCased(const String& Text, size_t N, const String& Key, bool CaseSensitive);

// ---------------------------------------------------------------------------
// Settings of the header and footer bars and their buttons

class THeaderButton : public TCollectionItem {
public:
  explicit THeaderButton(TCollection* Collection);
  String ClassName() const override { return u"THeaderButton"; }
  void Assign(TPersistent* Source) override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  // 0 means automatic.
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  int Width() const { return FWidth; }
  void SetWidth(int v);

protected:
  String FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  int FHeight = 0;
  int FWidth = 0;
};

class TFooterButton : public THeaderButton {
public:
  explicit TFooterButton(TCollection* Collection) : THeaderButton(Collection) {}
  String ClassName() const override { return u"TFooterButton"; }
  void Assign(TPersistent* Source) override;
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }

private:
  TModalResult FModalResult = mrNone;
};

// The buttons of a header bar; OnChange fires on every change of an item.
class THeaderButtons : public TOwnedCollection {
public:
  explicit THeaderButtons(TPersistent* AOwner);
  String ClassName() const override { return u"THeaderButtons"; }
  THeaderButton* Add() { return static_cast<THeaderButton*>(TCollection::Add()); }
  THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(TCollection::Insert(Index)); }
  THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
  void SetItem(int Index, THeaderButton* Value) { TCollection::SetItem(Index, Value); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TPersistent* FMyOwner;
};

class TFooterButtons : public TCollection {
public:
  explicit TFooterButtons(TPersistent* AOwner);
  String ClassName() const override { return u"TFooterButtons"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TFooterButton* Add() { return static_cast<TFooterButton*>(TCollection::Add()); }
  TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(TCollection::Insert(Index)); }
  TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }
  void SetItem(int Index, TFooterButton* Value) { TCollection::SetItem(Index, Value); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TPersistent* FMyOwner;
};

// What the header and footer share: colours, caption, image, border, buttons. Only Visible
// fires OnChange; the buttons' changes fire OnButtonsChanged.
class TBarAppearance : public TPersistent {
public:
  String ClassName() const override { return u"TBarAppearance"; }
  TPersistent* GetOwner() const { return FOwner; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { FBorderWidth = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v) { FColorTo = v; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { FBorderColor = v; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection v) { FGradientDirection = v; }
  TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
  void SetButtonAlignment(TButtonAlignment v) { FButtonAlignment = v; }
  // Copies only the look: ColorTo, Color, BorderColor, Font, GradientDirection.
  void AssignColors(TPersistent* Source);

  TNotifyEvent OnChange;
  TNotifyEvent OnButtonsChanged;

protected:
  explicit TBarAppearance(TPersistent* AOwner);
  void AssignBar(const TBarAppearance& Source);
  void ButtonsChanged();

  TPersistent* FOwner;
  bool FVisible = true;
  int FHeight = 22;
  int FBorderWidth = 1;
  int FImageIndex = -1;
  String FCaption;
  TColor FColorTo = 0xFFFFFF;
  TColor FColor = 0xC0C0C0;
  TColor FBorderColor = 0;
  std::unique_ptr<TFont> FFont;
  TGradientDirection FGradientDirection = gdVertical;
  TButtonAlignment FButtonAlignment = baRight;
};

class THeaderAppearance : public TBarAppearance {
public:
  explicit THeaderAppearance(TPersistent* AOwner);
  String ClassName() const override { return u"THeaderAppearance"; }
  void Assign(TPersistent* Source) override;
  THeaderButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(THeaderButtons* v) { FButtons->Assign(v); }

private:
  std::unique_ptr<THeaderButtons> FButtons;
};

class TFooterAppearance : public TBarAppearance {
public:
  explicit TFooterAppearance(TPersistent* AOwner);
  String ClassName() const override { return u"TFooterAppearance"; }
  void Assign(TPersistent* Source) override;
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v) { FSizeGrip = v; }
  TFooterButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(TFooterButtons* v) { FButtons->Assign(v); }

private:
  bool FSizeGrip = true;
  std::unique_ptr<TFooterButtons> FButtons;
};

// The colours shared by every header and footer button of one drop-down. Each setter stores a
// changed value and fires OnChange.
class TAdvButtonAppearance : public TPersistent {
public:
  TAdvButtonAppearance();
  String ClassName() const override { return u"TAdvButtonAppearance"; }
  void Assign(TPersistent* Source) override;

#define ADV_BUTTON_COLOR(Name) \
  TColor Name() const { return F##Name; } \
  void Set##Name(TColor v) { Store(F##Name, v); }
  ADV_BUTTON_COLOR(BorderColor)
  ADV_BUTTON_COLOR(BorderColorHot)
  ADV_BUTTON_COLOR(BorderColorDown)
  ADV_BUTTON_COLOR(BorderColorDisabled)
  ADV_BUTTON_COLOR(BorderColorChecked)
  ADV_BUTTON_COLOR(Color)
  ADV_BUTTON_COLOR(ColorTo)
  ADV_BUTTON_COLOR(ColorDown)
  ADV_BUTTON_COLOR(ColorDownTo)
  ADV_BUTTON_COLOR(ColorHot)
  ADV_BUTTON_COLOR(ColorHotTo)
  ADV_BUTTON_COLOR(ColorCheckedTo)
  ADV_BUTTON_COLOR(ColorDisabled)
  ADV_BUTTON_COLOR(ColorDisabledTo)
  ADV_BUTTON_COLOR(ColorChecked)
#undef ADV_BUTTON_COLOR
  TGradientDirection Gradient() const { return FGradient; }
  void SetGradient(TGradientDirection v);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }

  TNotifyEvent OnChange;

private:
  void Store(TColor& Field, TColor Value);
  TColor FBorderColor, FBorderColorHot, FBorderColorDown, FBorderColorDisabled, FBorderColorChecked;
  TColor FColor, FColorTo, FColorDown, FColorDownTo, FColorHot, FColorHotTo, FColorCheckedTo;
  TColor FColorDisabled, FColorDisabledTo, FColorChecked;
  TGradientDirection FGradient = gdVertical;
  std::unique_ptr<TFont> FFont;
};

// The colours of the hot and the selected item of an item selector (detail, colour and image
// pickers). The appearance never fires OnChange itself; its owner repaints.
class TItemAppearance : public TPersistent {
public:
  explicit TItemAppearance(TPersistent* AOwner);
  String ClassName() const override { return u"TItemAppearance"; }
  TPersistent* GetOwner() const { return FOwner; }
  // Copies the colours, the font, then the source's colour style (whose preset replaces the
  // copied colours when the styles differ), then ColorSelectedText and the two border colours.
  void Assign(TPersistent* Source) override;
  TSelectionColorStyle ColorStyle() const { return FColorStyle; }
  // Writes the style's preset; nothing for the current style or scCustom's colours.
  void SetColorStyle(TSelectionColorStyle Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }

#define ITEM_COLOR(Name) \
  TColor Name() const { return F##Name; } \
  void Set##Name(TColor v) { F##Name = v; }
  ITEM_COLOR(ColorMirrorHotTo)
  ITEM_COLOR(BorderColor)
  ITEM_COLOR(ColorMirrorHot)
  ITEM_COLOR(ColorSelectedTo)
  ITEM_COLOR(ColorSelected)
  ITEM_COLOR(EdgeColor)
  ITEM_COLOR(ColorHotTo)
  ITEM_COLOR(BorderColorBottom)
  ITEM_COLOR(ColorHot)
  ITEM_COLOR(BorderColorTop)
  ITEM_COLOR(ColorMirrorSelectedTo)
  ITEM_COLOR(ColorMirrorSelected)
  ITEM_COLOR(ColorSelectedText)
  ITEM_COLOR(ColorHotText)
  ITEM_COLOR(BorderColorHot)
  ITEM_COLOR(BorderColorSelected)
#undef ITEM_COLOR

  TNotifyEvent OnChange;

private:
  TPersistent* FOwner;
  TColor FColorMirrorHotTo = clNone, FBorderColor = clNone, FColorMirrorHot = clNone, FColorSelectedTo = clNone;
  TColor FColorSelected = clNone, FEdgeColor = clNone, FColorHotTo = clNone, FBorderColorBottom = clNone;
  TColor FColorHot = clNone, FBorderColorTop = clNone, FColorMirrorSelectedTo = clNone;
  TColor FColorMirrorSelected = clNone, FColorSelectedText = clBlack, FColorHotText = clBlack;
  TSelectionColorStyle FColorStyle = scCustom;
  std::unique_ptr<TFont> FFont;
  TColor FBorderColorHot = clNone, FBorderColorSelected = clNone;
};

// Colours an item appearance for one of the sixteen looks (tsCustom changes nothing).
void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TZOLStyle AStyle);

// ---------------------------------------------------------------------------
// The pop-up window

// A borderless top-level window owned by the edit's form. It takes the keyboard while shown
// and closes the drop-down when another window (not one it owns) becomes active.
class TDropDownForm : public TForm {
public:
  explicit TDropDownForm(TComponent* AOwner);
  ~TDropDownForm() override;
  String ClassName() const override { return u"TDropDownForm"; }

  void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
  TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
  // Brings the header and footer bars in line with the edit's appearances.
  void InitializeAndUpdate();
  virtual void UpdateSize() {}

  // The header and footer bars, made on the first opening that shows them.
  TCustomControl* Header() const { return FHeader; }
  TCustomControl* Footer() const { return FFooter; }

  bool Sizeable() const { return FSizeable; }
  void SetSizeable(bool v) { FSizeable = v; }
  bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
  void SetCancelOnDeActivate(bool v) { FCancelOnDeActivate = v; }
  bool BlockActivate() const { return FBlockActivate; }
  void SetBlockActivate(bool v) { FBlockActivate = v; }
  uint32_t DeActivateTick() const { return FDeActivate; }

  TNotifyEvent OnSizing;

  uint32_t FDeActivate = 0;  // tick count of the last deactivation while visible
  bool FShadow = true;
  TCustomControl* FFooter = nullptr;
  TCustomControl* FHeader = nullptr;
  TAdvCustomDropDown* FAdvDropDown = nullptr;
  bool FSizeable = false;
  bool FCancelOnDeActivate = true;
  bool FBlockActivate = false;
  bool FLostToOtherProgram = false;  // closing because another program's window became active

protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void PaintWindow(HDC DC) override;
  void CMDialogKey(TWMKey& Message) override;
  void WMActivate(TWMActivate& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void WMNCHitTest(TWMNCHitTest& Message) override;
  void WMSize(TWMSize& Message) override;
  void DoHide() override;

private:
  // The border and background inside the client rectangle.
  void PaintBackground(TCanvas* Canvas);
  bool FClosing = false;  // the edit is closing it: the hide is not a close by the window system
};

// ---------------------------------------------------------------------------
// The drop-down button

class TAdvDropDownSpeedButton : public TSpeedButton {
public:
  enum TButtonStyle : uint8_t { bsButton, bsDropDown };

  explicit TAdvDropDownSpeedButton(TComponent* AOwner);
  String ClassName() const override { return u"TAdvDropDownSpeedButton"; }
  TButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TButtonStyle v);
  bool Etched() const { return FEtched; }
  void SetEtched(bool v);
  bool Focused() const { return FFocused; }
  void SetFocused(bool v);
  bool Hot() const { return FHot; }
  void SetUp(bool v) { FUp = v; }
  // Down or exclusive and not held up.
  bool Pressed() const;
  // The state a themed face draws: 1 normal, 2 hot, 3 pressed, 4 disabled.
  int ThemeState() const;

protected:
  void Paint() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  class TDropDownEditButton* Host() const;
  TAdvCustomDropDown* Edit() const;
  void PaintDropDown();
  void PaintButton();
  void DrawArrow();
  bool FEtched = false;
  bool FFocused = false;
  bool FHot = false;
  bool FUp = false;
  bool FIsWinXP = true;
  TButtonStyle FButtonStyle = bsDropDown;
};

// The windowed host of the drop-down button inside the edit's right edge. A left release after
// a press on the button is reported as OnClick.
class TDropDownEditButton : public TWinControl {
public:
  explicit TDropDownEditButton(TComponent* AOwner);
  String ClassName() const override { return u"TDropDownEditButton"; }
  TAdvDropDownSpeedButton* Button() const { return FButton; }
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(TBitmap* v) { FButton->SetGlyph(v); }
  String ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const String& v) { FButton->SetCaption(v); }
  int NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(int v) { FButton->SetNumGlyphs(v); }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnClick;

  TAdvDropDownSpeedButton* FButton;
  TWinControl* FFocusControl = nullptr;
  int FBWidth = 16;
  TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone;
  TColor FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone;
  TColor FButtonTextColorDown = clNone;

protected:
  void Dispatch(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

private:
  void ButtonMouseUp(TMouseButton Button);
  void ApplyWidth();
};

// ---------------------------------------------------------------------------
// The framework

class TAdvCustomDropDown : public TCustomMaskEdit, public IZOLStyle, public IZOLTones {
public:
  using TLabelPosition = advedit::TLabelPosition;
  explicit TAdvCustomDropDown(TComponent* AOwner);
  ~TAdvCustomDropDown() override;
  String ClassName() const override { return u"TAdvCustomDropDown"; }

  // ---- Opening and closing
  TDropDownEditButton* Button() const { return FButton; }
  TDropDownForm* DropDownForm() const { return FDropDownForm; }
  bool DroppedDown() const { return FDroppedDown; }
  void ShowDropDown() { DoShowDropDown(); }
  void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);

  // ---- Value text
  // The value text: the edit text without its prefix and suffix. (The virtual GetText stays
  // the whole edit text, which the edit's own handling reads; EditText gives it too.)
  String Text() const;
  // Formats the value for the edit type and shows it framed by prefix and suffix; it is what
  // a cancelled close puts back.
  virtual void SetText(const String& Value);
  // Shows Value exactly as given; the cancel point stays.
  void SetTextDirect(const String& Value);
  void SelectAll();
  void SelectBeforeDecimal();
  void SelectAfterDecimal();
  double GetFloatValue();
  void SetFloatValue(double X);
  void SetIntValue(int N);
  bool GetModified() const { return FIsModified; }
  void SetModified(bool Value);
  TDropDownEditType EditType() const { return FEditType; }
  void SetEditType(TDropDownEditType Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  int LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int v) { FLengthLimit = static_cast<int16_t>(v); }
  const String& Prefix() const { return FPrefix; }
  void SetPrefix(const String& v) { FPrefix = v; }
  const String& Suffix() const { return FSuffix; }
  void SetSuffix(const String& v) { FSuffix = v; }
  bool Signed() const { return FSigned; }
  void SetSigned(bool v) { FSigned = v; }
  const String& ValidChars() const { return FValidChars; }
  void SetValidChars(const String& v) { FValidChars = v; }
  bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
  void SetAutoThousandSeparator(bool v) { FAutoThousandSeparator = v; }
  bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
  void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool v) { FReturnIsTab = v; }
  bool DefaultHandling() const { return FDefaultHandling; }
  void SetDefaultHandling(bool v) { FDefaultHandling = v; }
  bool CanUndo() const { return FCanUndo; }
  void SetCanUndo(bool v) { FCanUndo = v; }
  // Re-formats money text with thousand separators, the caret keeping its distance from the end.
  void ApplyThousandSeparators();

  // ---- Pop-up settings
  TColor DropDownColor() const { return FDropDownColor; }
  void SetDropDownColor(TColor v) { FDropDownColor = v; }
  TColor DropDownColorTo() const { return FDropDownColorTo; }
  void SetDropDownColorTo(TColor v) { FDropDownColorTo = v; }
  TGradientDirection DropDownGradient() const { return FDropDownGradient; }
  void SetDropDownGradient(TGradientDirection v) { FDropDownGradient = v; }
  TColor DropDownBorderColor() const { return FDropDownBorderColor; }
  void SetDropDownBorderColor(TColor v) { FDropDownBorderColor = v; }
  int DropDownBorderWidth() const { return FDropDownBorderWidth; }
  void SetDropDownBorderWidth(int v) { FDropDownBorderWidth = v; }
  bool DropDownShadow() const { return FDropDownShadow; }
  void SetDropDownShadow(bool v) { FDropDownShadow = v; }
  bool DropDownSizeable() const { return FDropDownSizeable; }
  void SetDropDownSizeable(bool v) { FDropDownSizeable = v; }
  TDropPosition DropPosition() const { return FDropPosition; }
  void SetDropPosition(TDropPosition v) { FDropPosition = v; }
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value);
  int DropDownHeight() const { return FDropDownHeight; }
  void SetDropDownHeight(int Value);
  int DropDownButtonWidth() const { return FButtonWidth; }
  void SetDropDownButtonWidth(int Value);
  const String& DropDownButtonHint() const { return FButtonHint; }
  void SetDropDownButtonHint(const String& Value);
  TBitmap* DropDownButtonGlyph() const;
  void SetDropDownButtonGlyph(TBitmap* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TAdvButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TAdvButtonAppearance* v) { FButtonAppearance->Assign(v); }
  THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
  void SetDropDownHeader(THeaderAppearance* v) { FDropDownHeader->Assign(v); }
  TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
  void SetDropDownFooter(TFooterAppearance* v) { FDropDownFooter->Assign(v); }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);
  bool DropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool v) { FDropDownEnabled = v; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v) { FFlat = v; Invalidate(); }
  bool Etched() const { return FEtched; }
  void SetEtched(bool v) { FEtched = v; }
  bool FocusDraw() const { return FFocusDraw; }
  void SetFocusDraw(bool v) { FFocusDraw = v; }
  bool ForceShadow() const { return FForceShadow; }
  void SetForceShadow(bool v) { FForceShadow = v; }
  // "1.2.1.1"; writing is ignored.
  String Version() const;
  void SetVersion(const String&) {}

  // ---- Looks
  void SetComponentStyle(TZOLStyle AStyle) override;
  TZOLStyle GetComponentStyle() const { return FZOLStyle; }
  void SetColorTones(const TColorTones& ATones) override;
  TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
  virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor v) { FSelectionColor = v; }
  TColor SelectionColorTo() const { return FSelectionColorTo; }
  void SetSelectionColorTo(TColor v) { FSelectionColorTo = v; }
  virtual void DrawSelectionBackground(TCanvas* Canvas, TRect Rect, TColor BackColor, int RoundStyle);
  virtual void DrawSelectionGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect,
                                     bool Vertical);

  // ---- Borders and label
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool Value);
  TLabel* EditLabel() const { return FLabel; }
  String LabelCaption() const;
  void SetLabelCaption(const String& Value);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition Value);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int Value);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool Value);
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }
  TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(TFont* Value);
  // The edit is hot or focused (never while designing).
  bool Lit() const;

  void Assign(TPersistent* Source) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetReadOnly(bool v) override;

  // ---- Events
  TNotifyEvent OnBeforeDropDown;
  TDropDown OnDropDown;
  TDropUp OnDropUp;
  TNotifyEvent OnBeforeDropUp;
  TDropDownButtonItemClick OnDropDownHeaderButtonClick;
  TDropDownButtonItemClick OnDropDownFooterButtonClick;
  TDrawBackGroundEvent OnDrawHeader;
  TDrawBackGroundEvent OnDrawFooter;
  TGetTextEvent OnGetHeaderText;
  TGetTextEvent OnGetFooterText;
  TClipboardEvent OnClipboardCopy;
  TClipboardEvent OnClipboardPaste;
  TClipboardEvent OnClipboardCut;
  TNotifyEvent OnLabelClick;
  TNotifyEvent OnLabelDblClick;

protected:
  // ---- The protocol of the concrete drop-downs. The base constructor reaches only this class's
  // versions: a descendant's constructor calls CreateDropDownForm again to make its control
  // (the window itself is made once); opening calls it too, so the control exists by then.

  virtual void LabelClick(TObject* Sender);
  virtual void LabelDblClick(TObject* Sender);
  virtual int GetVersionNr();
  virtual void CreateDropDownForm();
  virtual void CreateButton();
  virtual void ResizeButton();
  virtual void BeforeDropDown();
  virtual void FocusDropDownControl();
  virtual void DoShowDropDown();
  virtual void PlaceDropDownControl();
  virtual void UpdateDropDownSize();
  virtual void DoHideDropDown(bool Cancel);
  virtual void DropDownFormHidden();
  virtual void DropDownFormDestroyed() {}
  virtual void DropDownFormMouseWheelDown(TShiftState Shift, TPoint MousePos, bool& Handled);
  virtual void DropDownFormMouseWheelUp(TShiftState Shift, TPoint MousePos, bool& Handled);
  virtual void DropDownFormKeyPress(Char& Key);
  virtual void DropDownFormKeyDown(Word& Key, TShiftState Shift);
  virtual void DropDownFormKeyUp(Word& Key, TShiftState Shift);
  virtual void DropDownControlKeyDown(Word& Key, TShiftState Shift);
  virtual void DropDownControlKeyUp(Word& Key, TShiftState Shift);
  virtual void DropDownControlKeyPress(Char& Key);
  virtual void DropDownFormSizing() {}
  virtual void MouseWheelDownAction() {}
  virtual void MouseWheelUpAction() {}
  virtual void PaintNonEditable();
  virtual void SetEditRect();
  virtual void ResizeControl();

  // ---- Class library overrides
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DoEnter() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void WMSize(TWMSize& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMSysKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void WMLButtonDown(TWMMouse& Message) override;
  void WMLButtonUp(TWMMouse& Message) override;
  // The middle button pastes the window system's selection through the filter.
  void WMMButtonDown(TWMMouse& Message) override;
  void WMMButtonUp(TWMMouse& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMWantSpecialKey(TWMKey& Message) override;

  // ---- Value text steps
  // The character filter of a typed character; false when it was swallowed.
  void TypedChar(TWMKey& Message);
  // The prefix and suffix protection of a key-down; false stops the key.
  bool ProtectKey(Word& Key, TShiftState Shift);
  void WMPaste(TMessage& Message);
  // Puts text in as a paste does, through the edit type's filter (the clipboard, the context
  // menu and drops all come here).
  void PasteText(const String& Text);
  // The caret to the character at the point, then PasteText (drops and the middle button).
  void PasteAt(const String& Pasted, TPoint ClientPt);
  // The edit takes pasted text: editable, enabled and not read-only.
  bool TakesPastedText() const;
  void WMCut(TMessage& Message);
  void WMCopy(TMessage& Message);
  // The value text with the selection (or the character at the caret) removed.
  String TextWithoutSelection(bool CharBeforeCaret) const;
  bool PrecisionReached(const String& Value, int Caret) const;
  bool ThousandSeparatorTooClose(const String& Value, int Caret) const;
  int IntegerPartLength(const String& T) const;
  int DecimalSeparatorPos() const;
  bool IsSignKey(Char K) const;
  void SignKey();
  // Edit text from the inherited setter, without formatting.
  void SetEditTextRaw(const String& Value);
  double TextToFloat(const String& Text) const;
  bool IsNumericType() const { return FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney; }

  // ---- Look steps
  void DrawBorders();
  void UpdateLookup();
  void LayoutLabel();
  void LabelFontChanged(TObject* Sender);
  int MinimumHeight();
  // The drop-down button's rule: opens when the window has been inactive for over 250 ms.
  void ButtonClick(TObject* Sender);
  // Toggles the pop-up (F4, Alt+Up, Alt+Down).
  void ToggleDropDown();
  // Alt with a letter or digit typed in the open pop-up clicks the bar button whose caption
  // marks that key; true when one took it (its characters are then not typed).
  bool BarAccessKey(Word Key, TShiftState Shift);
  void HeaderFooterChanged(TObject* Sender);
  // The edit's own context menu and drop target (AdvDropDownInput.cpp).
  void CreateEditMenu();
  void RegisterDropTarget();

  // ---- State (see the class comment)
  TLabel* FLabel = nullptr;
  bool FParentFnt = false;
  int FDropDownWidth = 0;
  int FDropDownHeight = 0;
  int FUserDropDownWidth = -1;
  int FUserDropDownHeight = -1;
  bool FEditorEnabled = true;
  TDropPosition FDropPosition = dpAuto;
  bool FFlat = false;
  TCustomImageList* FImages = nullptr;
  bool FDropDownShadow = true;
  int FDropDownBorderWidth = 1;
  String FButtonHint;
  TColor FDropDownColorTo = clNone;
  TColor FDropDownColor = clWhite;
  TColor FDropDownBorderColor = clBlack;
  int FButtonWidth = 17;
  bool FMouseInControl = false;
  bool FEtched = false;
  TWinControl* FFocusControl = nullptr;
  std::unique_ptr<THeaderAppearance> FDropDownHeader;
  std::unique_ptr<TAdvButtonAppearance> FButtonAppearance;
  std::unique_ptr<TFooterAppearance> FDropDownFooter;
  TControl* FControl = nullptr;
  TGradientDirection FDropDownGradient = gdHorizontal;
  bool FDropDownSizeable = true;
  TColor FSelectionColor = clNone, FSelectionColorTo = clNone;
  TSelectionColorStyle FSelectionColorStyle = scOffice2007;
  TDropDownEditType FEditType = etString;
  int16_t FLengthLimit = 0;
  int16_t FPrecision = 0;
  String FPrefix, FSuffix;
  bool FSigned = false;
  bool FReturnIsTab = false;
  bool FIsWinXP = true;
  bool FIsThemed = true;
  bool FBlockChange = false;
  bool FAllowNumericNullValue = false;
  bool FDefaultHandling = true;
  bool FCanUndo = true;
  bool FExcelStyleDecimalSeparator = false;
  String FValidChars;
  bool FBlockCopy = false;
  bool FButtonDown = false;
  bool FAutoThousandSeparator = true;
  bool FIsModified = false;
  TRect FEditRect;
  bool FDropDownEnabled = false;
  bool FDroppedDown = false;
  bool FFocusDraw = true;
  bool FForceShadow = false;
  TZOLStyle FZOLStyle = tsOffice2007Luna;
  int FLabelMargin = 4;
  TLabelPosition FLabelPosition = lpLeftTop;
  bool FLabelAlwaysEnabled = false;
  bool FLabelTransparent = false;
  std::unique_ptr<TFont> FLabelFont;
  TColor FBorderColor = clNone;
  TColor FFocusBorderColor = clNone;
  bool FDisabledBorder = true;
  TDropDownForm* FDropDownForm = nullptr;
  TDropDownEditButton* FButton = nullptr;
  String FOldText;
  HDC FPaintDC = nullptr;  // the window's DC while painting over the native edit
  TPopupMenu* FEditMenu = nullptr;  // the context menu (cut, copy, paste through the filter)

private:
  friend class TDropDownForm;
  friend class TAdvDropDownSpeedButton;
  // The window system hid the window by itself: the closing steps run all the same.
  void CloseBySystem(bool Cancel);
  bool FHiding = false;        // DoHideDropDown is hiding the window
  bool FSystemClose = false;   // CloseBySystem is running
  bool FEscapeClaimed = false; // this Escape closed the pop-up: the form's Cancel button does not get it
  bool FAccessKeyTaken = false; // the pop-up's last key-down clicked a bar button
};
