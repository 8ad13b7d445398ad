// Bitmaps and 8-bit text as the metafile records carry them.
#include "platform/rtl/CodePages.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/MetafileBytes_p.h"

namespace metafile {

DibParts EncodeDib(const QImage& image) {
  QImage img = image.convertToFormat(QImage::Format_RGB32);
  const int w = img.width(), h = img.height();
  const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
  DibParts dib;
  ByteWriter hdr;
  hdr.U32(40);
  hdr.I32(w);
  hdr.I32(h);  // positive: rows stored bottom-up
  hdr.U16(1);
  hdr.U16(24);
  hdr.U32(0);  // BI_RGB
  hdr.U32(uint32_t(stride * size_t(h)));
  hdr.I32(3780);  // 96 dots per inch in dots per metre
  hdr.I32(3780);
  hdr.U32(0);
  hdr.U32(0);
  dib.Header = std::move(hdr.Data());
  dib.Bits.assign(stride * size_t(h), '\0');
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    char* row = dib.Bits.data() + stride * size_t(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = char(qBlue(line[x]));
      row[3 * x + 1] = char(qGreen(line[x]));
      row[3 * x + 2] = char(qRed(line[x]));
    }
  }
  return dib;
}

QImage DecodeDib(const std::string& data, size_t headerAt, size_t headerEnd, size_t bitsAt, size_t bitsEnd) {
  ByteReader r(data, headerAt, headerEnd);
  uint32_t size = r.U32();
  if (size < 40) throw FormatError{"unsupported bitmap header"};
  int32_t w = r.I32();
  int32_t h = r.I32();
  r.U16();
  uint16_t bpp = r.U16();
  uint32_t compression = r.U32();
  r.U32();
  r.U32();
  r.U32();
  uint32_t clrUsed = r.U32();
  if (w <= 0 || h == 0 || w > 32767 || h > 32767 || h < -32767) throw FormatError{"bitmap size out of range"};
  if (int64_t(w) * (h < 0 ? -int64_t(h) : h) > MaxPicturePixels) throw FormatError{"bitmap too large"};
  if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32)))
    throw FormatError{"compressed bitmaps are not supported"};
  const bool bottomUp = h > 0;
  const int height = bottomUp ? h : -h;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bpp == 32) { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
  r.Seek(headerAt + size);
  if (compression == 3) for (uint32_t& m : masks) m = r.U32();
  std::vector<QRgb> palette;
  if (bpp <= 8) {
    uint32_t n = clrUsed ? clrUsed : (1u << bpp);
    if (n > 256) throw FormatError{"colour table too large"};
    for (uint32_t i = 0; i < n; ++i) {
      uint8_t b = r.U8(), g = r.U8(), rr = r.U8();
      r.U8();
      palette.push_back(qRgb(rr, g, b));
    }
  } else if (bpp != 16 && bpp != 24 && bpp != 32) {
    throw FormatError{"unsupported bit depth"};
  }
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  if (bitsEnd < bitsAt || bitsEnd - bitsAt < stride * size_t(height)) throw FormatError{"bitmap bits are truncated"};
  auto channel = [](uint32_t v, uint32_t mask) -> int {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t max = mask >> shift;
    return int(((v & mask) >> shift) * 255 / max);
  };
  QImage img(w, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = reinterpret_cast<const uint8_t*>(data.data() + bitsAt + stride * size_t(bottomUp ? height - 1 - y : y));
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      QRgb c = 0;
      switch (bpp) {
        case 1: case 4: case 8: {
          size_t bit = size_t(x) * bpp;
          uint32_t idx = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
          c = idx < palette.size() ? palette[idx] : qRgb(0, 0, 0);
          break;
        }
        case 16: {
          uint32_t v = uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8);
          c = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
          break;
        }
        case 24: c = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        case 32: {
          uint32_t v = uint32_t(row[4 * x]) | (uint32_t(row[4 * x + 1]) << 8) | (uint32_t(row[4 * x + 2]) << 16) |
                       (uint32_t(row[4 * x + 3]) << 24);
          c = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
          break;
        }
      }
      out[x] = c;
    }
  }
  return img;
}

namespace {

const char* CodePage(uint8_t charset) { return charset == SHIFTJIS_CHARSET ? "CP932" : "CP1252"; }

}  // namespace

std::string EncodeAnsi(const std::u16string& text, uint8_t charset) {
  std::string out;
  if (EncodeCodePage(text, CodePage(charset), out)) return out;
  // Character by character, with '?' for what the code page lacks.
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    size_t n = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
    std::string one;
    if (EncodeCodePage(text.substr(i, n), CodePage(charset), one))
      out += one;
    else
      out += '?';
    i += n - 1;
  }
  return out;
}

std::u16string DecodeAnsi(const std::string& bytes, uint8_t charset) {
  std::u16string s;
  if (DecodeCodePage(bytes, CodePage(charset), s)) return s;
  s.clear();
  for (unsigned char c : bytes) s.push_back(c < 0x80 ? char16_t(c) : u'?');  // undecodable: keep ASCII, mark the rest
  return s;
}

uint8_t CharsetFor(const std::u16string& text) {
  bool ascii = true, latin1 = true;
  for (char16_t c : text) {
    if (c >= 0x80) ascii = false;
    if (c >= 0x100) latin1 = false;
  }
  if (ascii) return DEFAULT_CHARSET;
  if (latin1) return ANSI_CHARSET;
  std::string out;
  if (EncodeCodePage(text, "CP932", out)) return SHIFTJIS_CHARSET;
  return DEFAULT_CHARSET;
}

}  // namespace metafile
