#pragma once
// String routines over the mini-HTML markup of the styled controls: entity escaping and
// unescaping, and reading and rewriting the CONTROL tags embedded in cell text. Every
// routine is stateless. Positions count from 1.

#include <cstdint>

#include "platform/rtl/SysUtils.h"

// "&lt;", "&gt;", "&amp;", "&quot;" and the accented-letter and symbol entities become
// their characters. One left-to-right pass with exact case: text produced by decoding is
// never decoded again ("&amp;eacute;" gives "&eacute;"), and "&Eacute;" stays capital.
String DecodeHtmlEntities(const String& Text);
// '&', '"', '<', '>' and the characters of the entity table become entities; all other
// text, '~' included, is kept as written.
String EncodeHtmlEntities(const String& Text);

// Position of Sub in S with ASCII letters compared without case; 0 when absent.
int32_t PosNoCase(const String& Sub, const String& S);
// Replaces the first occurrence of Find (ASCII case ignored) in S; False when none.
bool ReplaceFirstNoCase(const String& Find, const String& Replacement, String& S);

// Attributes of a CONTROL tag's text. Type is upper-cased, Value and Prop are decoded;
// an attribute that does not occur gives an empty string.
void ParseControlTag(const String& Tag, String& Type, String& ID, String& Value, String& Width,
                     String& Height, String& Prop, String& MaxLen);
// The VALUE of the first CONTROL whose ID is ID (exact case); Value is untouched on False.
bool GetHtmlControlValue(const String& Text, const String& ID, String& Value);
// Rewrites the first CONTROL whose ID is ID with the new VALUE; the attributes are written
// in a fixed order. False, with Text unchanged, when no CONTROL has the ID.
bool SetHtmlControlValue(String& Text, const String& ID, const String& Value);
// The PROP of the first CONTROL whose ID is ID; empty when none.
String GetHtmlControlProp(const String& Text, const String& ID);
// True when the text holds "<CONTROL", case ignored.
bool HasHtmlControls(const String& Text);
// The ID of the next edit-like CONTROL (any TYPE but BUTTON, CHECK and RADIO) after the
// one with ID, or of the first one when ID is empty; empty after the last one.
String NextHtmlEditControlID(const String& Text, const String& ID);
// Every RADIO control gets VALUE "FALSE".
String ResetHtmlRadioControls(const String& Text);

// Every space becomes "&nbsp;".
String SpacesToNbsp(const String& Text);
// Tags removed from the left while a '<' is followed by a '>'; from the first '<' without
// a later '>' (or a '>' before the next '<') on, the text is kept as written.
String StripHtmlTags(const String& Text);
// "<BR>" and "<HR>" (any case) become CR LF, then tags are removed; entities stay.
String HtmlToPlainText(const String& Text);
// Position in Text of the N-th visible character; a visible position a tag precedes maps
// to the tag's '<'. Length + 1 just past the end, 0 beyond.
int32_t VisibleToTextIndex(const String& Text, int32_t N);

// The first Sub in S after its first Offset characters, exact or compared upper-cased;
// result and Pos are Offset + its 1-based position there, or both 0.
int32_t PosFrom(const String& Sub, const String& S, int32_t Offset, bool CaseSensitive, int32_t& Pos);
// Each match of Search in the tag-free text is wrapped in <Tag>..</Tag>. When the tag-free
// text holds '<' or '>' and Search occurs in Text, the result is built on the escaped
// plain text instead. An empty Search leaves Text as it is.
String HighlightHtmlText(const String& Text, const String& Search, const String& Tag, bool CaseSensitive);
// Removes the <Tag> and </Tag> tags (any case) and turns "&lt;" and "&gt;" back into
// '<' and '>'.
String UnhighlightHtmlText(const String& Text, const String& Tag);

// Every "<#" loses its '<' and the first '>' after it: "<#name>" becomes "#name".
String StripHashMarkers(const String& Text);
// LF dropped; CR becomes "<BR>" when KeepBreaks, else dropped.
String LineBreaksToBrTags(const String& Text, bool KeepBreaks);
// As many '*' as Text has characters.
String PasswordMask(const String& Text);

// The integer Text starts with: leading spaces skipped, an optional sign, then decimal
// digits, or hexadecimal ones after "$", "x" or "0x" (any case); reading stops at the
// first other character. 0 without digits; wraps to 32 bits.
int32_t LeadingInt(const String& Text);
// The leading integer of the MAXLEN of the first CONTROL whose ID is ID; 0 when none.
int32_t GetHtmlControlMaxLen(const String& Text, const String& ID);
