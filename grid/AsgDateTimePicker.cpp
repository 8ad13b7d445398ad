#include "grid/AsgDateTimePicker.h"

#include "platform/rtl/SysUtils.h"

TAsgDateTimePicker::TAsgDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
  SetBorderColor(clNone);
  SetCtl3D(true);
  SetParentCtl3D(false);
}

String TAsgDateTimePicker::Version() const {
  const auto nr = static_cast<uint32_t>(GetVersionNr());
  return IntToStr(int(nr >> 24)) + u"." + IntToStr(int((nr >> 16) & 0xFF)) + u"." + IntToStr(int((nr >> 8) & 0xFF)) +
         u"." + IntToStr(int(nr & 0xFF));
}
