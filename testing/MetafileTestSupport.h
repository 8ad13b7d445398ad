#pragma once
// Test helpers for metafile files: a strict structural check of enhanced metafiles written from
// the documented record layout (independent of our reader), and running external tools.

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace mftest {

inline uint32_t U32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
inline int32_t I32(const std::string& b, size_t at) { return int32_t(U32(b, at)); }
inline uint16_t U16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

struct EmfSummary {
  std::vector<std::string> Errors;
  int32_t BoundsW = 0, BoundsH = 0;  // from the inclusive header bounds
  std::map<uint32_t, int> Counts;    // records by type
};

// Checks every record of an enhanced metafile against its documented layout; returns what it found.
inline EmfSummary CheckEmf(const std::string& b) {
  EmfSummary s;
  auto fail = [&](const std::string& e) { s.Errors.push_back(e); };
  if (b.size() < 108 || b.size() % 4) { fail("file size"); return s; }
  if (U32(b, 0) != 1) fail("first record is not the header");
  uint32_t hsize = U32(b, 4);
  if (hsize < 88 || hsize % 4 || hsize > b.size()) { fail("header size"); return s; }
  if (U32(b, 40) != 0x464D4520) fail("signature");
  if (U32(b, 44) != 0x10000) fail("version");
  if (U32(b, 48) != b.size()) fail("byte count differs from the file size");
  uint32_t nRecords = U32(b, 52);
  uint32_t nHandles = U16(b, 56);
  if (U16(b, 58) != 0) fail("reserved field");
  uint32_t nDesc = U32(b, 60), offDesc = U32(b, 64);
  if (nDesc && (offDesc < 88 || offDesc + 2 * nDesc > hsize)) fail("description outside the header");
  if (I32(b, 72) <= 0 || I32(b, 76) <= 0 || I32(b, 80) <= 0 || I32(b, 84) <= 0) fail("reference device");
  int32_t l = I32(b, 8), t = I32(b, 12), r = I32(b, 16), bt = I32(b, 20);
  if (r < l || bt < t) fail("bounds");
  s.BoundsW = r - l + 1;
  s.BoundsH = bt - t + 1;
  if (I32(b, 32) < I32(b, 24) || I32(b, 36) < I32(b, 28)) fail("frame");

  std::set<uint32_t> live;
  size_t pos = 0;
  uint32_t count = 0;
  bool eof = false;
  while (pos < b.size()) {
    if (eof) { fail("records after the end record"); break; }
    if (b.size() - pos < 8) { fail("truncated record"); break; }
    uint32_t type = U32(b, pos), size = U32(b, pos + 4);
    if (size < 8 || size % 4 || size > b.size() - pos) { fail("record size at " + std::to_string(pos)); break; }
    ++count;
    ++s.Counts[type];
    auto need = [&](bool ok, const char* what) {
      if (!ok) fail(std::string(what) + " (record type " + std::to_string(type) + " at " + std::to_string(pos) + ")");
    };
    auto handle = [&](size_t at) { return U32(b, pos + at); };
    switch (type) {
      case 1: need(pos == 0, "second header"); break;
      case 14:  // EOF
        need(size == 20 && U32(b, pos + 16) == size, "end record layout");
        eof = true;
        break;
      case 18: case 19: case 20: case 21: case 22: case 24: case 25: case 34:
        need(size == 12, "mode record size");
        break;
      case 33: need(size == 8, "SaveDC size"); break;
      case 27: case 54: need(size == 16, "point record size"); break;
      case 15: need(size == 20, "SetPixelV size"); break;
      case 30: case 42: case 43: need(size == 24, "rectangle record size"); break;
      case 37: {  // SelectObject
        need(size == 12, "SelectObject size");
        uint32_t h = handle(8);
        need((h & 0x80000000u) || live.count(h), "selects an object that does not exist");
        break;
      }
      case 40: {  // DeleteObject
        need(size == 12, "DeleteObject size");
        need(live.erase(handle(8)) == 1, "deletes an object that does not exist");
        break;
      }
      case 38: case 39: case 82: {  // CreatePen, CreateBrushIndirect, ExtCreateFontIndirectW
        need(size == (type == 38 ? 28u : type == 39 ? 24u : 104u) || (type == 82 && size >= 104), "create size");
        uint32_t h = handle(8);
        need(h >= 1 && h < nHandles, "object index outside the handle table");
        need(live.insert(h).second, "object index already in use");
        break;
      }
      case 86: case 87: {  // Polygon16, Polyline16
        uint32_t n = U32(b, pos + 24);
        need(n >= 2 && size == ((28 + 4 * n + 3) & ~3u), "poly16 point count and size");
        break;
      }
      case 91: {  // PolyPolygon16
        uint32_t polys = U32(b, pos + 24), n = U32(b, pos + 28);
        uint64_t sum = 0;
        for (uint32_t i = 0; i < polys && pos + 32 + 4 * i + 4 <= pos + size; ++i) sum += U32(b, pos + 32 + 4 * i);
        need(sum == n && size == ((32 + 4 * polys + 4 * n + 3) & ~3u), "polypolygon16 counts and size");
        break;
      }
      case 75: {  // ExtSelectClipRgn
        uint32_t cb = U32(b, pos + 8);
        need(size == 16 + ((cb + 3) & ~3u), "clip region size");
        if (cb) {
          uint32_t n = U32(b, pos + 24);
          need(U32(b, pos + 16) == 32 && U32(b, pos + 20) == 1 && cb == 32 + 16 * n && U32(b, pos + 28) == 16 * n,
               "region data header");
        }
        break;
      }
      case 84: {  // ExtTextOutW
        uint32_t chars = U32(b, pos + 44), offString = U32(b, pos + 48), offDx = U32(b, pos + 72);
        need(offString >= 76 && offString + 2 * chars <= size, "text string outside the record");
        need(offDx == 0 || (offDx >= offString + 2 * chars && offDx + 4 * chars <= size), "text advances");
        need(U32(b, pos + 24) == 1 || U32(b, pos + 24) == 2, "graphics mode");
        break;
      }
      case 81: {  // StretchDIBits
        uint32_t offBmi = U32(b, pos + 48), cbBmi = U32(b, pos + 52), offBits = U32(b, pos + 56),
                 cbBits = U32(b, pos + 60);
        need(offBmi >= 80 && cbBmi >= 40 && offBmi + cbBmi <= offBits && offBits + cbBits <= size, "bitmap offsets");
        if (offBmi + 40 <= size) {
          int32_t w = I32(b, pos + offBmi + 4), h = I32(b, pos + offBmi + 8);
          uint16_t bpp = U16(b, pos + offBmi + 14);
          uint64_t stride = ((uint64_t(w) * bpp + 31) / 32) * 4;
          need(U32(b, pos + offBmi) == 40 && w > 0 && h != 0 && U16(b, pos + offBmi + 12) == 1, "bitmap header");
          need(cbBits >= stride * uint64_t(h < 0 ? -h : h), "bitmap bits too short");
          int32_t xs = I32(b, pos + 32), ys = I32(b, pos + 36), cxs = I32(b, pos + 40), cys = I32(b, pos + 44);
          need(xs >= 0 && ys >= 0 && xs + cxs <= w && ys + cys <= (h < 0 ? -h : h), "source outside the bitmap");
        }
        break;
      }
      default: fail("record type we never write: " + std::to_string(type)); break;
    }
    pos += size;
  }
  if (!eof) fail("no end record");
  if (count != nRecords) fail("record count differs from the header");
  return s;
}

// Runs a shell command; returns its standard output and sets the exit status.
inline std::string Run(const std::string& cmd, int* status) {
  std::string out;
  FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
  if (!p) { *status = -1; return out; }
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  *status = pclose(p);
  return out;
}

}  // namespace mftest
