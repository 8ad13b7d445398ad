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
#include "platform/ui/Controls.h"
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

enum TBevelStyle : uint8_t { bsLowered, bsRaised };
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
