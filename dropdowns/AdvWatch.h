#pragma once
// TAdvWatch: an analogue clock face painted through GDI+ — background (gradient, radial
// gradient or picture) in a circle, rectangle or rounded rectangle, border, tick marks, hour
// numbers, an AM/PM box, hands with shadows and a centre point. A click inside the face sets
// the hour, one in the margin outside it the minute, one on the AM/PM box switches AM and PM;
// hand moves can be animated. In running mode (Settings.Auto) it shows the local time plus an
// offset and ticks every 100 ms. The face is painted once into a cache; hand moves only copy
// the cache and draw the hands over it. Twelve look presets (Style) and the sixteen colour
// styles (SetComponentStyle) set the whole appearance at once.

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/AdvStyleIF.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Timers.h"

class TGPGraphics;

enum TAMPMFrame : uint8_t { apRect, apRoundRect };
enum TWatchShape : uint8_t { wsCircle, wsRect, wsRoundRect };
enum TPointerStyle : uint8_t { psLine, psShortLine, psPointer, psLineArrow };
enum TWatchGradient : uint8_t { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks : uint8_t { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle : uint8_t { hmsLine, hmsQuartDblLine };
enum TWatchStyle : uint8_t {
  wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia,
  wsBlack, wsBlackWhite, wsGray, wsSuperNova, wsSports, wsSmooth
};

// Running mode: Auto runs the clock on the local time plus TimeOffset minutes, with the
// second hand when Second. Each setter fires OnChange on a change.
class TWatchSettings : public TPersistent {
public:
  String ClassName() const override { return u"TWatchSettings"; }
  void Assign(TPersistent* Source) override;
  bool Auto() const { return FAuto; }
  void SetAuto(bool Value);
  int TimeOffset() const { return FTimeOffset; }
  void SetTimeOffset(int Value);
  bool Second() const { return FSecond; }
  void SetSecond(bool Value);
  TNotifyEvent OnChange;

private:
  void Changed();
  bool FAuto = false;
  int FTimeOffset = 0;
  bool FSecond = true;
};

// The look of the face and the hands. Every setter fires OnChange on a change (the fonts and
// the picture always, and on changes inside them), except AMPMColor and AMPMBorderColor.
class TWatchAppearance : public TPersistent {
public:
  TWatchAppearance();
  ~TWatchAppearance() override;
  String ClassName() const override { return u"TWatchAppearance"; }
  void Assign(TPersistent* Source) override;

#define WATCH_PROP(Type, Name) \
  Type Name() const { return F##Name; } \
  void Set##Name(Type Value) { Store(F##Name, Value); }
  WATCH_PROP(int, Size)
  WATCH_PROP(TColor, HourPointer)
  WATCH_PROP(TColor, BackgroundColor)
  WATCH_PROP(TColor, MinutePointerShadow)
  WATCH_PROP(TColor, BackgroundColorTo)
  WATCH_PROP(TColor, HourPointerShadow)
  WATCH_PROP(TColor, SecondPointer)
  WATCH_PROP(TColor, BorderColor)
  WATCH_PROP(TColor, MinutePointer)
  WATCH_PROP(TAMPMFrame, AMPMFrame)
  WATCH_PROP(TWatchShape, Shape)
  WATCH_PROP(TPointerStyle, PointerStyle)
  WATCH_PROP(uint8_t, HourPointerSize)
  WATCH_PROP(uint8_t, SecondPointerSize)
  WATCH_PROP(uint8_t, MinutePointerSize)
  WATCH_PROP(TColor, HourColor)
  WATCH_PROP(TColor, MinuteColor)
  WATCH_PROP(uint8_t, CenterPointSize)
  WATCH_PROP(TColor, CenterPointColor)
  WATCH_PROP(TColor, CenterPointBorderColor)
  WATCH_PROP(TWatchGradient, BackgroundGradient)
  WATCH_PROP(uint8_t, HourMarkLength)
  WATCH_PROP(uint8_t, HourMarkWidth)
  WATCH_PROP(uint8_t, MinuteMarkLength)
  WATCH_PROP(uint8_t, MinuteMarkWidth)
  WATCH_PROP(int, BorderWidth)
  WATCH_PROP(TColor, CenterPointOuterBorderColor)
  WATCH_PROP(TTickMarks, TickMarks)
  WATCH_PROP(THourMarkStyle, HourMarkStyle)
#undef WATCH_PROP
  // Stored without an event.
  TColor AMPMColor() const { return FAMPMColor; }
  void SetAMPMColor(TColor Value) { FAMPMColor = Value; }
  TColor AMPMBorderColor() const { return FAMPMBorderColor; }
  void SetAMPMBorderColor(TColor Value) { FAMPMBorderColor = Value; }
  TFont* HourFont() const { return FHourFont.get(); }
  void SetHourFont(TFont* Value);
  TFont* AMPMFont() const { return FAMPMFont.get(); }
  void SetAMPMFont(TFont* Value);
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);

  TNotifyEvent OnChange;

private:
  template <typename T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed();
  int FSize = 0;
  TColor FHourPointer = clBlack, FBackgroundColor = clWhite, FMinutePointerShadow = clBtnShadow;
  TColor FBackgroundColorTo = clNone, FHourPointerShadow = clBtnShadow, FSecondPointer = 0x0000FF;
  TColor FBorderColor = clBlack, FMinutePointer = clBlack;
  std::unique_ptr<TFont> FHourFont, FAMPMFont;
  std::unique_ptr<TPicture> FPicture;
  TAMPMFrame FAMPMFrame = apRect;
  TWatchShape FShape = wsCircle;
  TPointerStyle FPointerStyle = psLine;
  uint8_t FHourPointerSize = 4, FSecondPointerSize = 1, FMinutePointerSize = 3;
  TColor FHourColor = clBlack, FMinuteColor = 0x808080;
  uint8_t FCenterPointSize = 4;
  TColor FCenterPointColor = clBlack, FCenterPointBorderColor = clNone;
  TWatchGradient FBackgroundGradient = wgVertical;
  uint8_t FHourMarkLength = 0, FHourMarkWidth = 1, FMinuteMarkLength = 0, FMinuteMarkWidth = 1;
  int FBorderWidth = 4;
  TColor FAMPMColor = clWhite, FAMPMBorderColor = clBlack, FCenterPointOuterBorderColor = clNone;
  TTickMarks FTickMarks = tmAll;
  THourMarkStyle FHourMarkStyle = hmsLine;
};

class TAdvWatch : public TCustomControl, public IZOLStyle {
public:
  explicit TAdvWatch(TComponent* AOwner);
  ~TAdvWatch() override;
  String ClassName() const override { return u"TAdvWatch"; }

  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  // Divisor of the remaining distance per animation step; below 1 counts as 1.
  int AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
  TWatchAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TWatchAppearance* Value) { FAppearance->Assign(Value); }
  TWatchSettings* Settings() const { return FSettings.get(); }
  void SetSettings(TWatchSettings* Value) { FSettings->Assign(Value); }
  // The time shown when not running; setting it fires no OnChange.
  TDateTime Time() const { return FTime; }
  void SetTime(TDateTime Value);
  bool ShowAMPM() const { return FShowAMPM; }
  void SetShowAMPM(bool Value);
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value);
  TWatchStyle Style() const { return FStyle; }
  void SetStyle(TWatchStyle Value);
  bool AM() const { return FAM; }

  // Moves the hour (0..23) or the minute (0..59; 60 and more raise "Invalid time"); animated
  // unless Animation is off or the control moves the hands itself. OnChange fires once when
  // the hand is in place.
  void SetHour(int Value);
  void SetMinute(int Value);
  // The keyboard: A/P switch AM and PM, Page Up/Down step the hour, Home sets 12, End minute 0,
  // Left/Right step the minute.
  void ProcessKey(Word Key);
  void SetComponentStyle(TZOLStyle AStyle) override;

  // Geometry of the face in client pixels.
  TRect FaceRect() const;
  int MinuteFromPoint(TPoint P) const;
  int HourFromPoint(TPoint P) const;
  TRect GetAMPMRect();

  // Repaints face and hands, or only the hands over the cached face.
  void PaintAll();
  void PaintHands();

  // Where running mode reads the local time (the wall clock by default).
  void SetTimeSource(std::function<TDateTime()> Source);

  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void Resize() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;

  // Timer steps, also driven directly by tests.
  void AnimationTick();
  void WatchTick();
  void RollTick();
  TTimer* AnimationTimer() const { return FAnimationTimer; }
  TTimer* WatchTimer() const { return FWatchTimer; }
  TTimer* RollTimer() const { return FRollTimer; }
  // How often the face was painted into the cache.
  int FaceDraws() const { return FFaceDraws; }

private:
  TDateTime CurrentTime() const;
  int Factor() const { return FAnimationFactor < 1 ? 1 : FAnimationFactor; }
  void StoreTime(TDateTime Value);
  void SetAM(bool Value);
  void SetHourInternal(int Value);
  void SetMinuteInternal(int Value);
  void AppearanceChanged(TObject* Sender);
  void SettingsChanged(TObject* Sender);
  void UpdateFace();
  void DrawFace(TGPGraphics* G, TCanvas* Canvas);
  void DrawTickMarks(TGPGraphics* G);
  void DrawNumbers(TCanvas* Canvas);
  void DrawAMPM(TGPGraphics* G, TCanvas* Canvas);
  // The hands with their shadows and the centre point onto Frame, within Part.
  void DrawPointers(TBitmap* Frame, const TRect& Part);
  // The area the hands (with shadows, second hand and centre point) cover at the current time.
  TRect HandsRect() const;

  std::unique_ptr<TWatchAppearance> FAppearance;
  std::unique_ptr<TWatchSettings> FSettings;
  TDateTime FTime = 0;
  std::unique_ptr<TBitmap> FBKGCache;   // the face without hands
  std::unique_ptr<TBitmap> FScreen;     // the frame composed for painting (an AM/PM roll frame while FScreenValid)
  std::unique_ptr<TBitmap> FShadowMask; // a shadow's coverage, drawn opaque
  bool FFaceValid = false;
  bool FScreenValid = false;            // FScreen holds the frame to show
  TRect FHandsRect;                     // where the hands were last painted
  bool FHandsShown = false;             // FHandsRect holds them
  TTimer* FWatchTimer = nullptr;
  bool FAnimation = true;
  int FAnimationFactor = 10;
  TTimer* FAnimationTimer = nullptr;
  uint8_t FCurrentHourTo = 0, FCurrentMinuteTo = 0, FMinuteFrom = 0;
  bool FHourAnimating = false;
  bool FInternalCall = false;
  bool FAM = true;
  bool FShowAMPM = true, FShowNumbers = true;
  bool FInternalSet = false;
  TWatchStyle FStyle = wsClassic;
  std::function<TDateTime()> FTimeSource;
  // The AM/PM roll: one pixel per 10 ms tick.
  TTimer* FRollTimer = nullptr;
  std::unique_ptr<TBitmap> FRollStrip;
  int FRollStep = 0, FRollSteps = 0;
  bool FRollToAM = false;
  int FFaceDraws = 0;
};

// The clock's drawing routines.
// Text through GDI+ (Hint 0 with a canvas: the canvas's own text output) aligned 0 near,
// 1 centre, 2 far in Rect; Bounds gets the text's extent.
void DrawTextGDIP(TCanvas* Canvas, TGPGraphics* Graphics, int Alignment, TRect Rect, int Hint, bool Draw,
                  bool Enabled, TFont* Font, const String& Text, TRect* Bounds = nullptr);
// Draws the graphic; a non-PNG picture with Transparent has its top-left pixel's colour keyed
// out and is stretched to Rect when Stretch. A graphic that cannot be read draws nothing.
bool DrawGraphicGDIP(TGPGraphics* Graphics, TCanvas* Canvas, TRect Rect, TGraphic* Graphic, bool Stretch,
                     bool Transparent);
bool PointInEllipse(TPoint P, TRect R);
// The clock colours of one of the sixteen looks on an appearance (tsCustom: only the centre
// point's outer ring and the two font colours, black).
void ApplyWatchStyle(TWatchAppearance* Appearance, TZOLStyle AStyle);
