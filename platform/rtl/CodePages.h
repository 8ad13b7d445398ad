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
