#pragma once
// The mini-HTML engine of the styled controls: DrawHtmlText lays tagged text out line by
// line and paints, measures or hit-tests it; the string routines escape and unescape
// entities, strip and highlight tags, and read and rewrite the CONTROL tags embedded in
// cell text. Every routine is stateless. Positions count from 1.

#include <cstdint>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// Lays Text out in Rect line by line and, by the mode flags, paints it (the default),
// measures it only (MeasureOnly: the whole text, whatever Rect's height) or hit-tests the
// point (HitX, HitY) only (HitTestOnly: nothing painted). The canvas's pen, brush and font
// are restored on return. True when the point hits an anchor's text (hit-testing calls
// only), an image inside an anchor or a CONTROL; a painting call's layout pass may still
// write HitHref and HitTitle for anchor text under the point. HitHref and HitAnchorRect are
// written only on a hit. With HitTestOnly, ControlID names a CONTROL reported as hit.
// BiDiMode: 0 left-to-right, 1 right-to-left, 2 right-to-left without alignment, 3
// right-to-left reading only.
bool DrawHtmlText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, int32_t HitX,
                  int32_t HitY, int32_t FocusedAnchor, int32_t HoveredAnchor, int32_t ShadowOffset, bool HitTestOnly,
                  bool MeasureOnly, bool PrintMode, bool IgnoreColors, bool BlinkVisible, bool UnderlineOnHoverOnly,
                  bool WordWrap, bool MouseButtonHeld, double PrintScale, TColor AnchorColor, TColor HoverBackColor,
                  TColor HoverTextColor, TColor ShadowColor, String& HitHref, String& PlainText, String& FocusedHref,
                  String& HitTitle, int32_t& TextWidthOut, int32_t& TextHeightOut, int32_t& AnchorCount,
                  int32_t& HitAnchorIndex, TRect& HitAnchorRect, TRect& HitControlRect, String& ControlID,
                  String& ControlValue, String& ControlType, THTMLPictureCache* PictureCache,
                  TPictureContainer* PicContainer, HWND ThemeWindow, uint8_t BiDiMode);

// Size := the size of the shell's icon for Path (small or Large) and, when Draw, draws it at
// (X, Y): transparently, or when Print stretched by Scale. Path is a file or folder (an
// existing one's own icon, else the icon of its name's type); an icon number of another
// system's lists gives no icon and the size 0 x 0.
void DrawShellIcon(TCanvas* Canvas, int32_t X, int32_t Y, TSize& Size, double Scale, bool Print, bool Draw, bool Large,
                   const String& Path);

// The colour of a name of the 40-name table ("clred", "clbtnface", ...; Name in lower case):
// the sixteen plain colours first, then the system colours; 0 (black) when not found.
TColor HtmlColorByName(const String& Name);
// "#RRGGBB" as the colour 0x00BBGGRR; a missing pair reads 0. Digits A-F count in upper case
// only; each pair is kept to 8 bits.
TColor HtmlHexColor(const String& Text);
// Two hexadecimal digits: a digit is its code minus 48 below 'A', else its code minus 55.
// 0 for a text shorter than two characters.
int32_t HexPairToInt(const String& Text);

// "&lt;", "&gt;", "&amp;", "&quot;" and the accented-letter and symbol entities become
// their characters. One left-to-right pass with exact case: text produced by decoding is
// never decoded again ("&amp;eacute;" gives "&eacute;"), and "&Eacute;" stays capital.
String DecodeHtmlEntities(const String& Text);
// The named entities DrawHtmlText replaces before layout, outside tags ("<#" markers are
// text), case ignored, in one left-to-right pass: "&amp;" becomes "&&" (one '&' in
// prefix-processed output), "&quot;", "&sect;", "&permil;", "&reg;", "&copy;", "&para;",
// "&trade;" and "&euro;" their characters.
String DecodeHtmlSymbolEntities(const String& Text);
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
