// Cursors made from monochrome bit planes, and cursors loaded from the program's resources.
// The process owns every cursor it creates: one not destroyed by DestroyCursor is freed when
// the process ends, as the system does. Loaded cursors are shared and never destroyed.
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win/Comm.h"  // SetLastError
#include "platform/win/Gdi_p.h"
#include "platform/win/Resources.h"
#include "platform/win/WinUser.h"

namespace {

struct CursorStore {
  std::mutex Lock;
  std::map<HCURSOR, std::unique_ptr<HICON__>> Cursors;
  // Loaded from resources, by the resource's data: one shared cursor each.
  std::map<const void*, std::unique_ptr<HICON__>> Loaded;
};

CursorStore& Store() {
  static CursorStore store;
  return store;
}

uint16_t LE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t LE32(const uint8_t* p) { return LE16(p) | (static_cast<uint32_t>(LE16(p + 2)) << 16); }

// A .cur file: a 6-byte header (0, type 2, count) and 16-byte entries (width, height, colours,
// 0, hot spot x and y, data size, data offset) whose data is an icon image. The entry that
// best fits 32 x 32 is taken; every size and offset is checked against the data.
std::unique_ptr<HICON__> ReadCursorFile(const uint8_t* data, size_t size) {
  if (size < 6 || LE16(data) != 0 || LE16(data + 2) != 2) return nullptr;
  const size_t count = LE16(data + 4);
  if (count == 0 || 6 + 16 * count > size) return nullptr;
  size_t best = 0;
  int bestScore = -1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + 16 * i;
    const int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    const int score = 1000 - std::abs(w - 32) - std::abs(h - 32);
    if (score > bestScore) bestScore = score, best = i;
  }
  const uint8_t* e = data + 6 + 16 * best;
  const uint32_t bytes = LE32(e + 8), offset = LE32(e + 12);
  if (offset < 6 + 16 * count || offset > size || bytes > size - offset || bytes == 0) return nullptr;
  // The chosen image alone, as a one-image icon file, for the icon reader.
  QByteArray icon(22, '\0');
  auto* h = reinterpret_cast<uint8_t*>(icon.data());
  h[2] = 1;
  h[4] = 1;
  for (int i = 0; i < 4; ++i) h[6 + i] = e[i];
  h[6 + 8] = static_cast<uint8_t>(bytes), h[6 + 9] = static_cast<uint8_t>(bytes >> 8);
  h[6 + 10] = static_cast<uint8_t>(bytes >> 16), h[6 + 11] = static_cast<uint8_t>(bytes >> 24);
  h[6 + 12] = 22;
  icon.append(reinterpret_cast<const char*>(data + offset), static_cast<qsizetype>(bytes));
  QBuffer buffer(&icon);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ICO");
  const QSize s = reader.size();
  if (s.width() <= 0 || s.height() <= 0 || s.width() > 256 || s.height() > 256) return nullptr;
  QImage image = reader.read();
  if (image.isNull()) return nullptr;
  auto cursor = std::make_unique<HICON__>();
  cursor->image = image.convertToFormat(QImage::Format_ARGB32);
  cursor->hotSpot = QPoint(std::min<int>(LE16(e + 4), image.width() - 1), std::min<int>(LE16(e + 6), image.height() - 1));
  return cursor;
}

}  // namespace

HCURSOR LoadCursorW(HMODULE Module, LPCWSTR Name) {
  HRSRC res = FindResourceW(Module, Name, RT_CURSOR);
  if (!res) return nullptr;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(Module, res)));
  const DWORD size = SizeofResource(Module, res);
  std::lock_guard<std::mutex> lock(Store().Lock);
  auto it = Store().Loaded.find(data);
  if (it != Store().Loaded.end()) return it->second.get();
  std::unique_ptr<HICON__> cursor = ReadCursorFile(data, size);
  if (!cursor) {
    SetLastError(ERROR_RESOURCE_DATA_INVALID);
    return nullptr;
  }
  HCURSOR handle = cursor.get();
  Store().Loaded.emplace(data, std::move(cursor));
  return handle;
}

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

BOOL GetIconInfo(HICON hIcon, ICONINFO* piconinfo) {
  if (!hIcon || !piconinfo) return FALSE;
  piconinfo->fIcon = FALSE;
  piconinfo->xHotspot = static_cast<DWORD>(hIcon->hotSpot.x());
  piconinfo->yHotspot = static_cast<DWORD>(hIcon->hotSpot.y());
  piconinfo->hbmMask = nullptr;
  piconinfo->hbmColor = CreateBitmapFromImage(hIcon->image);
  return TRUE;
}

BOOL DestroyCursor(HCURSOR hCursor) {
  std::lock_guard<std::mutex> lock(Store().Lock);
  // Only a cursor made here, once: anything else is no cursor handle.
  return Store().Cursors.erase(hCursor) ? 1 : 0;
}
