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

String DecodeTextFile(std::string_view Bytes, TTextFileEncoding* Found) {
  auto starts = [&](std::string_view mark) { return Bytes.substr(0, mark.size()) == mark; };
  TTextFileEncoding enc = TTextFileEncoding::Ansi;
  if (starts("\xEF\xBB\xBF")) {
    enc = TTextFileEncoding::Utf8;
    Bytes.remove_prefix(3);
  } else if (starts("\xFF\xFE")) {
    enc = TTextFileEncoding::Utf16LE;
    Bytes.remove_prefix(2);
  } else if (starts("\xFE\xFF")) {
    enc = TTextFileEncoding::Utf16BE;
    Bytes.remove_prefix(2);
  }
  if (Found) *Found = enc;
  String text;
  switch (enc) {
    case TTextFileEncoding::Utf8:
      return UTF8ToString(Bytes);
    case TTextFileEncoding::Utf16LE:
    case TTextFileEncoding::Utf16BE: {
      const size_t lo = enc == TTextFileEncoding::Utf16LE ? 0 : 1;
      text.resize(Bytes.size() / 2);
      for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<Char>(static_cast<uint8_t>(Bytes[2 * i + lo]) |
                                    (static_cast<uint8_t>(Bytes[2 * i + 1 - lo]) << 8));
      return text;
    }
    case TTextFileEncoding::Ansi:
      break;
  }
  // Plain ASCII needs no converter.
  if (std::all_of(Bytes.begin(), Bytes.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; }))
    return String(Bytes.begin(), Bytes.end());
  DecodeCodePage(Bytes, AnsiCodePage, text, true);
  return text;
}

std::string EncodeTextFile(const String& Text, TTextFileEncoding Encoding, bool Mark) {
  std::string bytes;
  switch (Encoding) {
    case TTextFileEncoding::Utf8:
      bytes = StringToUTF8(Text);
      if (Mark) bytes.insert(0, "\xEF\xBB\xBF");
      return bytes;
    case TTextFileEncoding::Utf16LE:
    case TTextFileEncoding::Utf16BE: {
      const bool le = Encoding == TTextFileEncoding::Utf16LE;
      const size_t start = Mark ? 2 : 0;
      bytes.resize(start + Text.size() * 2);
      if (Mark) {
        bytes[0] = le ? '\xFF' : '\xFE';
        bytes[1] = le ? '\xFE' : '\xFF';
      }
      for (size_t i = 0; i < Text.size(); ++i) {
        bytes[start + 2 * i + (le ? 0 : 1)] = static_cast<char>(Text[i] & 0xFF);
        bytes[start + 2 * i + (le ? 1 : 0)] = static_cast<char>(Text[i] >> 8);
      }
      return bytes;
    }
    case TTextFileEncoding::Ansi:
      break;
  }
  if (std::all_of(Text.begin(), Text.end(), [](Char c) { return c < 0x80; })) return std::string(Text.begin(), Text.end());
  EncodeCodePage(Text, AnsiCodePage, bytes, true);
  return bytes;
}
