#include "platform/rtl/System.h"

String UTF8ToString(std::string_view s) {
  String out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    size_t len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else { out.push_back(0xFFFD); ++i; continue; }
    if (i + len > n) { out.push_back(0xFFFD); ++i; continue; }
    bool ok = true;
    for (size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Reject overlong forms, surrogates and out-of-range values.
    static const char32_t minFor[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minFor[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<Char>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<Char>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<Char>(cp));
    }
    i += len;
  }
  return out;
}

std::string StringToUTF8(const String& s) {
  // Counted first, so that the bytes are written through a pointer into a string sized once.
  const Char* p = s.data();
  const Char* const end = p + s.size();
  size_t bytes = 0;
  for (const Char* q = p; q < end; ++q) {
    if (*q < 0x80) bytes += 1;
    else if (*q < 0x800) bytes += 2;
    else if (*q >= 0xD800 && *q <= 0xDBFF && q + 1 < end && q[1] >= 0xDC00 && q[1] <= 0xDFFF) bytes += 4, ++q;
    else bytes += 3;
  }
  std::string out(bytes, '\0');
  char* o = out.data();
  while (p < end) {
    char32_t cp = *p++;
    if (cp < 0x80) {
      *o++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (*p++ - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      *o++ = static_cast<char>(0xC0 | (cp >> 6));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *o++ = static_cast<char>(0xE0 | (cp >> 12));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *o++ = static_cast<char>(0xF0 | (cp >> 18));
      *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

Exception::Exception(String msg) : message_(std::move(msg)), utf8_(StringToUTF8(message_)) {}

void Exception::SetMessage(const String& msg) {
  message_ = msg;
  utf8_ = StringToUTF8(msg);
}
