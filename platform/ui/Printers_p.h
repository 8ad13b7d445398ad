#pragma once
// Private to platform/: the print dialog works on the printer's Qt device.

#include <QPrinter>

#include "platform/ui/Printers.h"

struct TPrinterAccess {
  // The device with the printer's current settings applied.
  static QPrinter& Device(TPrinter* P);
  // Takes the printer, file, copies and orientation the user chose on the device.
  static void TakeSettings(TPrinter* P);
};
