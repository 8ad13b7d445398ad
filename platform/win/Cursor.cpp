// Cursors made from monochrome bit planes. The process owns every cursor it creates: one not
// destroyed by DestroyCursor is freed when the process ends, as the system does.
#include <map>
#include <memory>
#include <mutex>

#include "platform/win/Gdi_p.h"
#include "platform/win/WinUser.h"

namespace {

struct CursorStore {
  std::mutex Lock;
  std::map<HCURSOR, std::unique_ptr<HICON__>> Cursors;
};

CursorStore& Store() {
  static CursorStore store;
  return store;
}

}  // namespace

HCURSOR CreateCursor(void*, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
                     const void* pvXORPlane) {
  if (nWidth <= 0 || nHeight <= 0 || pvANDPlane == nullptr || pvXORPlane == nullptr) return nullptr;
  const auto* andBits = static_cast<const uint8_t*>(pvANDPlane);
  const auto* xorBits = static_cast<const uint8_t*>(pvXORPlane);
  const int stride = (nWidth + 15) / 16 * 2;
  auto cursor = std::make_unique<HICON__>();
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
  HCURSOR handle = cursor.get();
  std::lock_guard<std::mutex> lock(Store().Lock);
  Store().Cursors.emplace(handle, std::move(cursor));
  return handle;
}

BOOL DestroyCursor(HCURSOR hCursor) {
  std::lock_guard<std::mutex> lock(Store().Lock);
  // Only a cursor made here, once: anything else is no cursor handle.
  return Store().Cursors.erase(hCursor) ? 1 : 0;
}
