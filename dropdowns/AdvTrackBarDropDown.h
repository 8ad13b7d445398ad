#pragma once
// A drop-down whose edit shows an integer and whose pop-up holds a track bar. The edit is
// pick-only: Up and Down step the value by Frequency, dragging the mouse across it changes the
// value by whole page sizes, and the track bar shows each move at once. Escape restores the
// value from before the opening; any other way of closing keeps it.

#include "dropdowns/AdvDropDown.h"
#include "platform/ui/ComCtrls.h"

class TAdvTrackBarDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvTrackBarDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TAdvTrackBarDropDown"; }

  // The setters store the value (the track bar's clamped one once it exists); the text
  // follows the track bar's moves.
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  TTrackBar* TrackBar() const { return FTrackBar; }

  // After the track bar moved and the text followed.
  TNotifyEvent OnTrackChange;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  // After every edit change the position follows the text; a text that is no integer keeps it.
  void Change() override;
  void WMKeyDown(TWMKey& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void TrackChanged(TObject* Sender);
  TTrackBar* FTrackBar = nullptr;
  int FMin = 0;
  int FFrequency = 1;
  int FPageSize = 2;
  int FMax = 10;
  int FPosition = 0;
  bool FMouseDraging = false;
  int FMouseX = 0;
};
