#pragma once
// Private to the metafile units: little-endian record writing and bounds-checked reading,
// and the device-independent bitmap (DIB) carried by the bitmap records of both formats.

#include <QImage>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/ui/Metafile_p.h"

namespace metafile {

class ByteWriter {
public:
  void U8(uint8_t v) { out_.push_back(char(v)); }
  void U16(uint16_t v) { U8(uint8_t(v)); U8(uint8_t(v >> 8)); }
  void I16(int32_t v) { U16(uint16_t(int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v))); }
  void U32(uint32_t v) { U16(uint16_t(v)); U16(uint16_t(v >> 16)); }
  void I32(int32_t v) { U32(uint32_t(v)); }
  void F32(float f) { uint32_t u; std::memcpy(&u, &f, 4); U32(u); }
  void Raw(const std::string& s) { out_ += s; }
  void Zeros(size_t n) { out_.append(n, '\0'); }
  void PadTo(size_t multiple) { while (out_.size() % multiple) U8(0); }
  void PatchU32(size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) out_[at + size_t(i)] = char(uint8_t(v >> (8 * i))); }
  void PatchU16(size_t at, uint16_t v) { out_[at] = char(uint8_t(v)); out_[at + 1] = char(uint8_t(v >> 8)); }
  size_t Size() const { return out_.size(); }
  std::string& Data() { return out_; }

private:
  std::string out_;
};

// Reads from a byte range; any read past its end raises FormatError.
class ByteReader {
public:
  ByteReader(const std::string& data, size_t begin, size_t end) : d_(data), pos_(begin), end_(end) {}
  void Need(size_t n) const {
    if (n > end_ - pos_) throw FormatError{"record data is shorter than its fields"};
  }
  uint8_t U8() { Need(1); return uint8_t(d_[pos_++]); }
  uint16_t U16() { uint16_t lo = U8(); return uint16_t(lo | (uint16_t(U8()) << 8)); }
  int16_t I16() { return int16_t(U16()); }
  uint32_t U32() { uint32_t lo = U16(); return lo | (uint32_t(U16()) << 16); }
  int32_t I32() { return int32_t(U32()); }
  void Skip(size_t n) { Need(n); pos_ += n; }
  size_t Pos() const { return pos_; }
  size_t End() const { return end_; }
  void Seek(size_t p) {
    if (p > end_) throw FormatError{"offset outside its record"};
    pos_ = p;
  }

private:
  const std::string& d_;
  size_t pos_, end_;
};

// A 24-bit bottom-up DIB: the 40-byte header and the pixel rows.
struct DibParts {
  std::string Header;
  std::string Bits;
};
DibParts EncodeDib(const QImage& image);
// Decodes 1, 4, 8, 16, 24 and 32-bit uncompressed DIBs (with colour table where needed).
QImage DecodeDib(const std::string& data, size_t headerAt, size_t headerEnd, size_t bitsAt, size_t bitsEnd);

}  // namespace metafile
