#pragma once
// Text in the byte encodings of other systems, converted with the C library's converter
// (names as it knows them: "UTF-8", "CP932" for Japanese, "CP1252" for Western text).

#include <string>
#include <string_view>

#include "platform/rtl/System.h"

// False when Bytes hold a sequence the encoding does not define: Text then holds what came
// before it, or, with SkipInvalid, everything else (each undefined byte left out).
bool DecodeCodePage(std::string_view Bytes, const char* CodePage, String& Text, bool SkipInvalid = false);
// False when Text holds a character the encoding cannot carry: Bytes then hold what came
// before it, or, with SkipInvalid, everything else (each such character left out).
bool EncodeCodePage(const String& Text, const char* CodePage, std::string& Bytes, bool SkipInvalid = false);
// Whether the converter knows the encoding.
bool CodePageKnown(const char* CodePage);

// The system's ANSI and OEM code pages (Japanese here), for texts exchanged with programs that
// write neither UTF-8 nor UTF-16.
inline constexpr const char* AnsiCodePage = "CP932";
inline constexpr const char* OemCodePage = "CP932";

// The encodings a text file can come in; the Unicode ones are told by a byte-order mark.
enum class TTextFileEncoding : uint8_t { Ansi, Utf8, Utf16LE, Utf16BE };

// The text of a file's bytes: a byte-order mark (UTF-8, UTF-16LE, UTF-16BE) decides the
// encoding and is dropped, else the ANSI code page (undefined bytes left out). A UTF-16 text
// of an odd byte count loses its last byte. Found receives the encoding taken.
String DecodeTextFile(std::string_view Bytes, TTextFileEncoding* Found = nullptr);
// The bytes of a text in an encoding, with the byte-order mark of a Unicode encoding when
// Mark; characters the ANSI code page cannot carry are left out.
std::string EncodeTextFile(const String& Text, TTextFileEncoding Encoding, bool Mark = true);
