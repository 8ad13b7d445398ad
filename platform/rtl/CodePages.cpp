#include "platform/rtl/CodePages.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// Converts with iconv, stopping at the first sequence that has no conversion, or skipping it
// (one input unit of Unit bytes at a time) with Skip.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out, bool Skip, size_t Unit) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char buf[16384];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  bool ok = true;
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      if (!Skip) break;
      size_t step = std::min(Unit, left);
      src += step;
      left -= step;
    }
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

bool CodePageKnown(const char* CodePage) {
  iconv_t cd = iconv_open("UTF-16LE", CodePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

bool DecodeCodePage(std::string_view Bytes, const char* CodePage, String& Text, bool SkipInvalid) {
  std::string utf16;
  bool ok = Convert("UTF-16LE", CodePage, Bytes, utf16, SkipInvalid, 1);
  Text.resize(utf16.size() / 2);
  for (size_t i = 0; i < Text.size(); ++i)
    Text[i] = static_cast<Char>(static_cast<uint8_t>(utf16[2 * i]) | (static_cast<uint8_t>(utf16[2 * i + 1]) << 8));
  return ok;
}

bool EncodeCodePage(const String& Text, const char* CodePage, std::string& Bytes, bool SkipInvalid) {
  std::string utf16(Text.size() * 2, '\0');
  for (size_t i = 0; i < Text.size(); ++i) {
    utf16[2 * i] = static_cast<char>(Text[i] & 0xFF);
    utf16[2 * i + 1] = static_cast<char>(Text[i] >> 8);
  }
  return Convert(CodePage, "UTF-16LE", utf16, Bytes, SkipInvalid, 2);
}
