#pragma once
// The picture readers: any bytes load or raise EInvalidGraphic, leaving the graphic as it was.
#include "fuzz/FuzzSupport.h"
#include "platform/ui/Graphics.h"

template <class G>
int FuzzPicture(const uint8_t* data, size_t size) {
  StartQt();
  TMemoryStream stream;
  FillStream(stream, data, size);
  G g;
  try {
    g.LoadFromStream(&stream);
  } catch (const EInvalidGraphic&) {
    if (!g.Empty()) __builtin_trap();
    return 0;
  }
  if (int64_t(g.Width()) * g.Height() > MaxPicturePixels) __builtin_trap();
  return 0;
}
