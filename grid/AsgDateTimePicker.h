#pragma once
// The date and time picker a grid lays over a cell for its date and time editors: the class
// library's picker with the styled picker's Metro look (a custom drop-down button and flat
// borders drawn over the native control, never for the time kind's arrows). Without MetroStyle
// it looks and behaves as the class library's picker; the value handling is all the library's.
// It knows nothing of the grid.

#include <cstdint>

#include "controls/AdvDateTimePicker.h"

class TAsgDateTimePicker : public TCustomDateTimePicker {
public:
  explicit TAsgDateTimePicker(TComponent* AOwner);
  String ClassName() const override { return u"TAsgDateTimePicker"; }

  // "1.0.0.0", whatever is written.
  String Version() const;
  void SetVersion(const String&) {}
  virtual int32_t GetVersionNr() const { return 0x01000000; }

protected:
  bool NoCustomBorders() const override { return false; }
};
