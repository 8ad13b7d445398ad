// Cursors made from monochrome bit planes.
#include "platform/win/Gdi_p.h"
#include "platform/win/WinUser.h"

HCURSOR CreateCursor(void*, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
                     const void* pvXORPlane) {
  if (nWidth <= 0 || nHeight <= 0 || pvANDPlane == nullptr || pvXORPlane == nullptr) return nullptr;
  const auto* andBits = static_cast<const uint8_t*>(pvANDPlane);
  const auto* xorBits = static_cast<const uint8_t*>(pvXORPlane);
  const int stride = (nWidth + 15) / 16 * 2;
  auto* cursor = new HICON__;
  cursor->image = QImage(nWidth, nHeight, QImage::Format_ARGB32);
  cursor->hotSpot = QPoint(xHotSpot, yHotSpot);
  for (int y = 0; y < nHeight; ++y)
    for (int x = 0; x < nWidth; ++x) {
      const int byte = y * stride + x / 8;
      const uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
      const bool a = andBits[byte] & mask, b = xorBits[byte] & mask;
      // An inverting pixel (AND 1, XOR 1) has no equivalent here; it shows black.
      QRgb px = a && !b ? qRgba(0, 0, 0, 0) : (!a && b ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
      cursor->image.setPixel(x, y, px);
    }
  return cursor;
}

BOOL DestroyCursor(HCURSOR hCursor) {
  delete hCursor;
  return hCursor != nullptr ? 1 : 0;
}
