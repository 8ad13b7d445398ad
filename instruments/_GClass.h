#pragma once
// Bases and settings objects of the instrument controls: the windowless and windowed bases
// with an update count, the two-state control shared by LEDs and latching buttons, the
// persistent settings objects (margins, lamp, bevels, gradient, INI access), the signal and
// scale settings, and the analog input and indicator bases.

#include <cstdint>
#include <functional>
#include <memory>

#include "instruments/AbFlashT.h"
#include "instruments/_AbProc.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"  // TBevelStyle, shared with the class library's bevel
#include "platform/ui/Graphics.h"

// Draws on a control's window image outside its paint handler, with the origin at the
// control's top-left and the drawing clipped to it. Returns false, drawing nothing, while
// there is no window to draw on; the control's next paint shows the state then.
bool DrawOnControl(TControl* Control, const std::function<void(TCanvas*)>& Draw);

// ---------------------------------------------------------------------------
// Bases

class TAbGraphicControl : public TGraphicControl {
public:
  explicit TAbGraphicControl(TComponent* AOwner);
  String ClassName() const override { return u"TAbGraphicControl"; }
  void BeginUpdate() { ++FUpdateCount; }
  // Ends an update; unbalanced calls keep the count at 0 and still apply the settings.
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  void Invalidate() override;
  // Applies changed settings (ParamChange) unless an update is in progress.
  virtual void SettingsChanged();
  virtual void ParamChange(TObject* Sender) { (void)Sender; }

  bool CompInvalidate = false;

protected:
  int FUpdateCount = 0;
};

class TAbCustomControl : public TCustomControl {
public:
  explicit TAbCustomControl(TComponent* AOwner);
  String ClassName() const override { return u"TAbCustomControl"; }
  void BeginUpdate() { ++FUpdateCount; }
  // Ends an update; unbalanced calls keep the count at 0 and still invalidate.
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  virtual void SettingsChanged();
  virtual void ParamChange(TObject* Sender) { (void)Sender; }

protected:
  int FUpdateCount = 0;
};

enum TMode : uint8_t { mButton, mSwitch, mIndicator, mRadioButton };

// A windowless on/off control showing bit StatusBit of a status word that all two-state
// controls of one owner with the same non-zero GroupIndex share.
class TAbBinGControl : public TGraphicControl {
public:
  explicit TAbBinGControl(TComponent* AOwner);
  ~TAbBinGControl() override;
  String ClassName() const override { return u"TAbBinGControl"; }

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  int32_t StatusInt() const { return FStatusInt; }
  void SetStatusInt(int32_t Value);
  int32_t StatusBit() const { return FStatusBit; }
  void SetStatusBit(int32_t Value);
  TMode Mode() const { return FMode; }
  void SetMode(TMode Value);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t Value);
  bool Flashing() const { return FFlashing; }
  void SetFlashing(bool Value);
  TFlashFreq Frequency() const { return FFrequency; }
  void SetFrequency(TFlashFreq Value);
  int32_t FirstCheckedBit() const { return FFirstCheckedBit; }

  TNotifyEvent OnStatusChanged;
  TNotifyEvent OnStatusIntChanged;

  void Dispatch(TMessage& Message) override;

protected:
  virtual void ParamChange(TObject* Sender) { (void)Sender; }
  virtual void StatusChanged() {}
  virtual void GroupIndexChanged() {}
  virtual void StatusIntChanged() {}
  virtual void Flash(bool State) { (void)State; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMTextChanged(TMessage& Message) override;

  void StartFlash();
  void StopFlash();

  bool FChecked = false;
  TFlashFreq FFrequency = ff1Hz;
  bool FFlashing = false;
  int32_t FStatusInt = 0;
  int32_t FStatusBit = 0;
  int32_t FGroupIndex = 0;
  TMode FMode = mIndicator;
  bool MouseIsDown = false;
  int32_t FFirstCheckedBit = 32;

private:
  void SyncGroupStatus();
};

// ---------------------------------------------------------------------------
// Settings objects

class TAbPersistent : public TPersistent {
public:
  String ClassName() const override { return u"TAbPersistent"; }
  TNotifyEvent OnChange;
  virtual void Change();
  virtual void ChangeObject(TObject* Sender);
};

class TAbOffset : public TAbPersistent {
public:
  String ClassName() const override { return u"TAbOffset"; }
  int32_t Top() const { return FTop; }
  int32_t Left() const { return FLeft; }
  int32_t Right() const { return FRight; }
  int32_t Bottom() const { return FBottom; }
  void SetTop(int32_t v);
  void SetLeft(int32_t v);
  void SetRight(int32_t v);
  void SetBottom(int32_t v);
  // Sets all four margins without notification.
  void Write(int32_t oTop, int32_t oLeft, int32_t oRight, int32_t oBottom);
  TRect SetOffset(TRect r) const;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  int32_t FTop = 0, FLeft = 0, FRight = 0, FBottom = 0;
};

class TLED : public TAbPersistent {
public:
  String ClassName() const override { return u"TLED"; }
  TLEDShape Shape() const { return FShape; }
  void SetShape(TLEDShape v);
  TColor ColorOn() const { return FColorOn; }
  void SetColorOn(TColor v);
  TColor ColorOff() const { return FColorOff; }
  void SetColorOff(TColor v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);  // 4 to 80
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t v);  // 4 to 80
  // The lamp shape in Rect, ColorOn when Checked, outlined in clBtnShadow.
  void Draw(TCanvas* can, bool Checked) const;

  TRect Rect;

private:
  TLEDShape FShape = sRound;
  TColor FColorOn = clLime;
  TColor FColorOff = clBtnFace;
  int32_t FWidth = 13, FHeight = 13;
};

class TAbBtnBevel : public TAbPersistent {
public:
  String ClassName() const override { return u"TAbBtnBevel"; }
  TColor ShadowColFrom() const { return FShadowColFrom; }
  void SetShadowColFrom(TColor v);
  TColor ShadowColTo() const { return FShadowColTo; }
  void SetShadowColTo(TColor v);
  TColor HighlightColFrom() const { return FHighlightColFrom; }
  void SetHighlightColFrom(TColor v);
  TColor HighlightColTo() const { return FHighlightColTo; }
  void SetHighlightColTo(TColor v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);  // negative values ignored
  // The frame, optionally filled with Col; r comes back shrunk by Width on each side.
  void PaintBevel(TCanvas* can, TRect& r, bool up, bool filled, TColor Col) const;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  TColor FShadowColFrom = clBlack;
  TColor FShadowColTo = clBtnShadow;
  TColor FHighlightColFrom = 0xD2D2D2;
  TColor FHighlightColTo = clBtnHighlight;
  int32_t FWidth = 2;
};

class TAbGradSettings : public TAbPersistent {
public:
  String ClassName() const override { return u"TAbGradSettings"; }
  TColor ColorFrom() const { return FColorFrom; }
  void SetColorFrom(TColor v);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TGradientStyle Style() const { return FStyle; }
  void SetStyle(TGradientStyle v);

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  TColor FColorFrom = 0xE2E2E2;
  TColor FColorTo = 0x8F8F8F;
  bool FVisible = false;
  TGradientStyle FStyle = gsHorizontal1;
};

enum TBevelLine : uint8_t { blNone, blOuter, blInner, blBoth };

// A framed face with optional lines, gradient and round shape.
class TAbSBevel : public TAbPersistent {
public:
  TAbSBevel();
  ~TAbSBevel() override;
  String ClassName() const override { return u"TAbSBevel"; }

  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle v);
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t v);
  TBevelLine BevelLine() const { return FBevelLine; }
  void SetBevelLine(TBevelLine v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);  // negative values ignored
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TAbOffset* Offset() const { return FOffset.get(); }
  TColor ColorShadowFrom() const { return FColorShadowFrom; }
  void SetColorShadowFrom(TColor v);
  TColor ColorShadowTo() const { return FColorShadowTo; }
  void SetColorShadowTo(TColor v);
  TColor ColorHighLightFrom() const { return FColorHighLightFrom; }
  void SetColorHighLightFrom(TColor v);
  TColor ColorHighLightTo() const { return FColorHighLightTo; }
  void SetColorHighLightTo(TColor v);
  TColor PenColor() const { return FPenColor; }
  void SetPenColor(TColor v);
  TAbGradSettings* SurfaceGrad() const { return FSurfaceGrad.get(); }

  void Change() override;
  void ParamChange(TObject* Sender);
  void DrawFrame(TCanvas* can, TRect& r, TColor Col, bool filled, bool up) const;
  void PaintBevel(TCanvas* can, TRect& r);
  void PaintFilledBevel(TCanvas* can, TRect& r);
  // Left, Top: offset from r's coordinates to the canvas's device coordinates.
  void PaintRoundBevel(TCanvas* can, TRect& r, int Left, int Top);

  std::unique_ptr<TBitmap> RoundBmp;
  bool RoundBmpCreated = false;
  bool isRound = false;
  int32_t TotalWidth = 0;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  int LineCount() const;
  TBevelStyle FStyle = bsRaised;
  int32_t FSpacing = 5;
  TBevelLine FBevelLine = blNone;
  int32_t FWidth = 2;
  TColor FColor = clBtnFace;
  std::unique_ptr<TAbOffset> FOffset;
  TColor FColorShadowFrom = clBtnShadow;
  TColor FColorShadowTo = clBtnShadow;
  TColor FColorHighLightFrom = clBtnHighlight;
  TColor FColorHighLightTo = clBtnHighlight;
  TColor FPenColor = clBlack;
  std::unique_ptr<TAbGradSettings> FSurfaceGrad;
};

using THandleIniEvent = std::function<void(TIniFile* Ini, bool Read)>;

// Opens an INI file for the duration of one read or write through OnHandleIniEvent.
class TIniSettings : public TPersistent {
public:
  String ClassName() const override { return u"TIniSettings"; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& v) { FFileName = v; }
  const String& Section() const { return FSection; }
  void SetSection(const String& v) { FSection = v; }
  bool UseAppDir() const { return FUseAppDir; }
  void SetUseAppDir(bool v) { FUseAppDir = v; }
  bool AutoLoadSave() const { return FAutoLoadSave; }
  void SetAutoLoadSave(bool v) { FAutoLoadSave = v; }
  // The file that Handle opens.
  String Path() const;
  void Handle(bool Read);
  void AutoHandle(bool Read);

  THandleIniEvent OnHandleIniEvent;
  TIniFile* IniFile = nullptr;
  String ErrString;
  bool Error = false;

private:
  String FFileName;
  String FSection;
  bool FUseAppDir = true;
  bool FAutoLoadSave = false;
};

// ---------------------------------------------------------------------------
// Signal settings and the analog input base

class TSignalSettings : public TAbPersistent {
public:
  String ClassName() const override { return u"TSignalSettings"; }
  int32_t DigitalFrom() const { return FDigitalFrom; }
  void SetDigitalFrom(int32_t v);
  int32_t DigitalTo() const { return FDigitalTo; }
  void SetDigitalTo(int32_t v);
  const String& Name1() const { return FName1; }
  void SetName1(const String& v);
  const String& Name2() const { return FName2; }
  void SetName2(const String& v);
  const String& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const String& v);
  float ValueFrom() const { return FValueFrom; }
  void SetValueFrom(float v);
  float ValueTo() const { return FValueTo; }
  void SetValueTo(float v);
  const String& ValueUnit() const { return FValueUnit; }
  void SetValueUnit(const String& v);

  // Recomputes the derived values, then notifies.
  void Change() override;
  // The derived values alone.
  void ComputeDerived();
  int32_t GetPPT(float Value) const;
  float GetValue(int32_t PPT) const;
  virtual void DigitScaleChanged(int32_t dFrom, int32_t dTo) { (void)dFrom; (void)dTo; }

  bool LogScale = false;
  float TotalValue = 100;
  int32_t TotalDigit = 1000;
  float ValuePerDigit = 0;
  String ValueSizeStr = u"##0.0";
  float DigitPerValue = 0;
  float PPTPerValue = 0;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  int32_t FDigitalFrom = 0, FDigitalTo = 1000;
  String FName1 = u"SignalName1", FName2 = u"SignalName2";
  String FValueFormat = u"##0.0";
  float FValueFrom = 0, FValueTo = 100;
  String FValueUnit = u"%";
};

// The longer section of a float format (the one after ';' when they are equal).
String AbGetValueFormat(const String& FormatStr);

enum TEnabledKey : uint8_t { _VK_PRIOR, _VK_NEXT, _VK_END, _VK_HOME, _VK_LEFT, _VK_DOWN, _VK_UP, _VK_RIGHT };
using TEnabledKeys = Set<TEnabledKey>;

class TAbAnalogGControl;

// A windowed control holding a value and its digit within the ranges of its signal
// settings, changed by keys, the wheel and sliding inside an area the descendant defines.
class TAbAnalogCControl : public TAbCustomControl {
public:
  explicit TAbAnalogCControl(TComponent* AOwner);
  ~TAbAnalogCControl() override;
  String ClassName() const override { return u"TAbAnalogCControl"; }

  float Value() const { return FValue; }
  void SetValue(float Value);
  int32_t Digit() const { return FDigit; }
  void SetDigit(int32_t Digit);
  int32_t ChangeLarge() const { return FChangeLarge; }
  void SetChangeLarge(int32_t v) { FChangeLarge = v; }
  int32_t ChangeSmall() const { return FChangeSmall; }
  void SetChangeSmall(int32_t v) { FChangeSmall = v; }
  TSignalSettings* SignalSettings() const { return FSignalSettings.get(); }
  TCursor CursorSlide() const { return FCursorSlide; }
  void SetCursorSlide(TCursor v) { FCursorSlide = v; }
  bool EnableKeyboard() const { return FEnableKeyboard; }
  void SetEnableKeyboard(bool v) { FEnableKeyboard = v; }
  bool EnableMouseJump() const { return FEnableMouseJump; }
  void SetEnableMouseJump(bool v) { FEnableMouseJump = v; }
  const TEnabledKeys& EnabledKeys() const { return FEnabledKeys; }
  void SetEnabledKeys(const TEnabledKeys& v) { FEnabledKeys = v; }
  TColor ColorFocus() const { return FColorFocus; }
  void SetColorFocus(TColor v);
  TColor ColorNonFocus() const { return FColorNonFocus; }
  void SetColorNonFocus(TColor v);
  TAbAnalogGControl* ValueIndicator() const { return FValueIndicator; }
  void SetValueIndicator(TAbAnalogGControl* v);
  void SetEnabled(bool v) override;
  void DoChange(int32_t up, int32_t down);
  const String& ValueStr() const { return FValueStr; }

  TNotifyEvent OnValueChange;
  TNotifyEvent OnValueChanged;

  void ParamChange(TObject* Sender) override;

protected:
  void Loaded() override;
  virtual void DoSlide(TShiftState Shift, int X, int Y, TPoint OldPos);
  virtual void RefreshValue();
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMMouseWheel(TWMMouseWheel& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  int32_t DigitOfValue() const;

  int32_t FChangeLarge = 10, FChangeSmall = 1;
  int32_t FDigit = 0;
  float FValue = 0;
  std::unique_ptr<TSignalSettings> FSignalSettings;
  TCursor FCursorSlide = 5;
  bool FEnableKeyboard = true;
  bool FEnableMouseJump = false;
  TEnabledKeys FEnabledKeys{_VK_PRIOR, _VK_NEXT, _VK_END, _VK_HOME, _VK_LEFT, _VK_DOWN, _VK_UP, _VK_RIGHT};
  TColor FColorFocus = clLime, FColorNonFocus = clGreen;
  TAbAnalogGControl* FValueIndicator = nullptr;
  bool VChange = false;
  bool Painting = false;
  String FValueStr, DigitStr;
  bool MDown = false;
  TPoint pMouseOld;
  TRect SlideRect;
  bool inSlideArea = false;
  bool isCircle = false;
  TCursor OldCursor = crDefault;
  int32_t MaxPosDeviation = 10;
  int32_t WheelRest = 0;  // wheel delta gathered towards the next notch
};

// ---------------------------------------------------------------------------
// Scale settings and scale drawing

class TScaleSettings : public TAbPersistent {
public:
  TScaleSettings();
  ~TScaleSettings() override;
  String ClassName() const override { return u"TScaleSettings"; }

  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TColor PointerColor() const { return FPointerColor; }
  void SetPointerColor(TColor v);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v);
  int32_t Steps() const { return FSteps; }
  void SetSteps(int32_t v);  // 1 to 20
  int32_t SubSteps() const { return FSubSteps; }
  void SetSubSteps(int32_t v);  // 1 to 10
  bool DrawLine() const { return FDrawLine; }
  void SetDrawLine(bool v);
  const String& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const String& v);
  const String& ValueFormatLog() const { return FValueFormatLog; }
  void SetValueFormatLog(const String& v);
  bool PosLeftTop() const { return FPosLeftTop; }
  void SetPosLeftTop(bool v);

  void CalcSize(TCanvas* can, float ValueFrom, float ValueTo);
  void CalcHSize(TCanvas* can, float ValueFrom, float ValueTo);
  void CalcRSize(TCanvas* can, float ValueFrom, float ValueTo);
  void VertiScala(TCanvas* can, const TRect& r);
  void HorizScala(TCanvas* can, const TRect& r);
  void RoundScala(TCanvas* can, TRect& r, float AlphaFrom, float Alpha);
  void DialScala(TCanvas* can, TRect& r, float AlphaFrom, float Alpha);
  void FontChange(TObject* Sender) { (void)Sender; Change(); }

  bool LogScale = false;
  int32_t LogSteps = 1;
  int32_t sl1 = 14, sl2 = 7;
  TPoint cp;
  int32_t PenW1 = 2, PenW2 = 1;
  int32_t Spacing = 4;
  String Text;
  int32_t TextW = 0, TextH = 0;
  int32_t TotalWidth = 0, minHeight = 0;
  int32_t BarSpace = 0;
  int32_t pos0 = 0, pos100 = 0;
  TPoint LinePos[4];
  int32_t exp1 = 0, exp2 = 0;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  void Measure(TCanvas* can, float ValueFrom, float ValueTo, bool Descending);
  int MainSteps() const { return LogScale ? LogSteps : FSteps; }
  void Circle(TCanvas* can, TRect& r, float AlphaFrom, float Alpha, bool Dial);
  TColor FColor = clBlack;
  TColor FPointerColor = clLime;
  std::unique_ptr<TFont> FFont;
  int32_t FSteps = 5, FSubSteps = 2;
  bool FDrawLine = true;
  String FValueFormat = u"##0", FValueFormatLog = u"0e-0";
  bool FPosLeftTop = false;
};

// The largest c from max(Steps, 1) down to 2 dividing Span; 1 when none (or Span is 0).
int32_t LogStepCount(int32_t Steps, int32_t Span);

// ---------------------------------------------------------------------------
// Analog indicator base

class TSectorSettings : public TAbPersistent {
public:
  String ClassName() const override { return u"TSectorSettings"; }
  TColor SectorColor(int k) const { return FColor[k - 1]; }
  void SetSectorColor(int k, TColor v);
  int32_t SectorFrom(int k) const { return FFrom[k - 1]; }
  void SetSectorFrom(int k, int32_t v);
  int32_t SectorTo(int k) const { return FTo[k - 1]; }
  void SetSectorTo(int k, int32_t v);
  int32_t Offset() const { return FOffset; }
  void SetOffset(int32_t v);
  int32_t WidthOffset() const { return FWidthOffset; }
  void SetWidthOffset(int32_t v);
  // The colour of the first sector holding PPT.
  bool CheckSectorColor(int32_t PPT, TColor& Col) const;
  bool LogScale = false;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  TColor FColor[3] = {clYellow, clGreen, clRed};
  int32_t FFrom[3] = {0, 334, 667};
  int32_t FTo[3] = {333, 666, 1000};
  int32_t FOffset = 0, FWidthOffset = 0;
};

class TMinMax : public TAbPersistent {
public:
  TMinMax();
  String ClassName() const override { return u"TMinMax"; }
  float Max() const { return FMax; }
  void SetMax(float v);  // stamps MaxDateTime
  TDateTime MaxDateTime() const { return FMaxDateTime; }
  void SetMaxDateTime(TDateTime v) { FMaxDateTime = v; }
  float Min() const { return FMin; }
  void SetMin(float v);
  TDateTime MinDateTime() const { return FMinDateTime; }
  void SetMinDateTime(TDateTime v) { FMinDateTime = v; }
  TColor MaxColor() const { return FMaxColor; }
  void SetMaxColor(TColor v);
  TColor MinColor() const { return FMinColor; }
  void SetMinColor(TColor v);
  bool UseSectorCol() const { return FUseSectorCol; }
  void SetUseSectorCol(bool v);
  bool MinVisible() const { return FMinVisible; }
  void SetMinVisible(bool v);
  bool MaxVisible() const { return FMaxVisible; }
  void SetMaxVisible(bool v);
  // Sets both markers without time stamps.
  void ResetMarkers() { FMin = 9999999; FMax = -9999999; }

private:
  float FMax = -9999999;
  TDateTime FMaxDateTime = 0;
  float FMin = 9999999;
  TDateTime FMinDateTime = 0;
  TColor FMaxColor = clAqua, FMinColor = clAqua;
  bool FUseSectorCol = true, FMinVisible = true, FMaxVisible = true;
};

enum THintOption : uint8_t { hoAutoHint, hoValue, hoName1, hoName2, hoMin, hoMax, hoMinMaxDate, hoMinMaxTime };
using THintOptions = Set<THintOption>;
using TLimitEvent = std::function<void(TObject* Sender, bool Lower, bool Upper)>;
using TOverflowEvent = std::function<void(TObject* Sender, int32_t PPT)>;
using TSectorChangeEvent = std::function<void(TObject* Sender, bool Sector1, bool Sector2, bool Sector3, bool Enter)>;

// The windowless base of analog indicators: value, digit, per-mille position, sectors,
// limits, overflow and min/max; descendants paint.
class TAbAnalogGControl : public TAbGraphicControl {
public:
  explicit TAbAnalogGControl(TComponent* AOwner);
  ~TAbAnalogGControl() override;
  String ClassName() const override { return u"TAbAnalogGControl"; }

  float Value() const { return FValue; }
  void SetValue(float v);
  int32_t Digit() const { return FDigit; }
  void SetDigit(int32_t v);
  float LimitUpper() const { return FLimitUpper; }
  void SetLimitUpper(float v);
  float LimitLower() const { return FLimitLower; }
  void SetLimitLower(float v);
  const THintOptions& HintOptions() const { return FHintOptions; }
  void SetHintOptions(const THintOptions& v);
  TSectorSettings* SectorSettings() const { return FSectorSettings.get(); }
  TSignalSettings* SignalSettings() const { return FSignalSettings.get(); }
  TMinMax* MinMax() const { return FMinMax.get(); }
  bool LogScale() const { return FLogScale; }
  void SetLogScale(bool v) { FLogScale = v; ParamChange(this); }
  void ResetMinMax();
  void SetMin(float v, TDateTime DT);
  void SetMax(float v, TDateTime DT);

  TNotifyEvent OnMinMaxChange, OnPosChanged, OnSettingsChange, OnValueChange;
  TLimitEvent OnLimit;
  TOverflowEvent OnOverflow;
  TSectorChangeEvent OnSectorChange;

  void ParamChange(TObject* Sender) override;

  int32_t PPT = 500;
  bool UOverflow = false, LOverflow = false;
  bool ULimit = false, LLimit = false;
  int32_t ULimitPPT = 900, LLimitPPT = 100;
  TColor cAlarm0 = clYellow, cAlarm1 = clRed;
  int32_t MaxPPT = 0, MinPPT = 0;
  bool InSector1 = false, InSector2 = false, InSector3 = false;
  TColor ActSectorCol = 0;
  String ValueStr, DigitStr;
  double LogFactor1 = 0, LogFactor2 = 0;

protected:
  void Loaded() override;
  virtual void ValueChanged();
  virtual void Overflow(int32_t APPT) { (void)APPT; }
  virtual void LimitChange() {}
  virtual void MinMaxChange(TObject* Sender);
  virtual void SettingsUpdate() { SettingsChanged(); }
  void BuildHint();
  int32_t DigitOf(float v) const;
  float ValueOf(int32_t d) const;

  int32_t FDigit = 500;
  THintOptions FHintOptions{hoAutoHint, hoValue, hoName1, hoName2, hoMin, hoMax, hoMinMaxDate, hoMinMaxTime};
  std::unique_ptr<TSectorSettings> FSectorSettings;
  std::unique_ptr<TSignalSettings> FSignalSettings;
  std::unique_ptr<TMinMax> FMinMax;
  float FValue = 50;
  float FLimitUpper = 90, FLimitLower = 10;
  bool FLogScale = false;
  TPoint pPosLeftTop;

private:
  void CheckLimit();
};
