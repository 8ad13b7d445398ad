#pragma once
// The operating-hour counter: counts hours, minutes and seconds on the flash timer's
// once-per-second tick, up or down, with limit, zero and preset handling and INI storage.

#include "instruments/_GClass.h"

class TTimeSetting : public TPersistent {
public:
  String ClassName() const override { return u"TTimeSetting"; }
  int32_t Hour() const { return FHour; }
  int32_t Min() const { return FMin; }
  int32_t Sec() const { return fSec; }
  void SetHour(int32_t v);
  void SetMin(int32_t v);
  void SetSec(int32_t v);
  // Carries seconds and minutes above 59; negatives are kept as they are.
  void SetValue(int32_t Hour, int32_t Min, int32_t Sec);

private:
  int32_t FHour = 0, FMin = 0, fSec = 0;
};

enum TOpHrOption : uint8_t { opResetOnLimit, opStopOnLimit, opPresetOnZero };
using TOpHrOptions = Set<TOpHrOption>;
enum TOpHrIndicate : uint8_t { oiHour, oiHourMin, oiHourMinSec };

class TAbOpHourCounter : public TAbGraphicControl {
public:
  explicit TAbOpHourCounter(TComponent* AOwner);
  ~TAbOpHourCounter() override;
  String ClassName() const override { return u"TAbOpHourCounter"; }

  TAbSBevel* BevelOuter() const { return FBevelOuter.get(); }
  TAbSBevel* BevelInner() const { return FBevelInner.get(); }
  TTimeSetting* Limit() const { return FLimit.get(); }
  TTimeSetting* PresetValue() const { return FPresetValue.get(); }
  TIniSettings* IniSettings() const { return FIniSettings.get(); }
  const String& SeparatorHour() const { return FSeparatorHour; }
  void SetSeparatorHour(const String& v);
  const String& SeparatorMin() const { return FSeparatorMin; }
  void SetSeparatorMin(const String& v);
  const String& SeparatorSec() const { return FSeparatorSec; }
  void SetSeparatorSec(const String& v);
  const String& SeparatorChar() const { return FSeparatorChar; }
  void SetSeparatorChar(const String& v);
  int32_t HourDigits() const { return FHourDigits; }
  void SetHourDigits(int32_t v);
  bool CountDown() const { return FCountDown; }
  void SetCountDown(bool v);
  bool Count() const { return FCount; }
  void SetCount(bool v);
  const TOpHrOptions& Options() const { return FOptions; }
  void SetOptions(const TOpHrOptions& v) { FOptions = v; }
  TOpHrIndicate Indicate() const { return FIndicate; }
  void SetIndicate(TOpHrIndicate v);

  void SetTime(int32_t Hour, int32_t Min, int32_t Sec);
  int32_t Hours() const { return hr; }
  int32_t Minutes() const { return mi; }
  int32_t Seconds() const { return se; }
  // The shown text for a count.
  String TimeText(int32_t h, int32_t m, int32_t s) const;
  bool Counting() const;

  TNotifyEvent OnZero;
  TNotifyEvent OnLimit;

  void ParamChange(TObject* Sender) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // The smallest size that shows the whole time text inside the bevels.
  TSize MinSize();
  void Dispatch(TMessage& Message) override;

protected:
  void Loaded() override;
  void Paint() override;
  void HandleIni(TIniFile* IniFile, bool Read);
  void StepUp();
  void StepDown();
  void CheckLimits();
  void DrawTime();

private:
  void DrawTimeOn(TCanvas* c);
  std::unique_ptr<TAbSBevel> FBevelOuter, FBevelInner;
  std::unique_ptr<TTimeSetting> FLimit, FPresetValue;
  String FSeparatorHour = u"h", FSeparatorMin = u"m", FSeparatorSec = u"s", FSeparatorChar = u":";
  std::unique_ptr<TIniSettings> FIniSettings;
  int32_t FHourDigits = 4;
  bool FCountDown = false;
  bool FCount = false;
  TOpHrOptions FOptions;
  TOpHrIndicate FIndicate = oiHourMinSec;
  TRect rClock;
  int16_t min_h = 0, min_w = 0;
  TSize sTime;
  bool ComponentInit = true;
  bool isZero = false;
  bool isLimit = false;
  bool InZero = false;
  int32_t hr = 0, mi = 0, se = 0;
};
