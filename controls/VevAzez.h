#pragma once
// Free text, number, encoding, date and filter routines shared by the styled controls,
// the drop-down editors and the string grid. Every routine is stateless; locale values
// are read from the global FormatSettings at each call. Positions count from 1.

#include <cstdint>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Grids.h"

// A set of characters; membership by a linear scan.
using TCharSet = std::vector<Char>;

// ---------------------------------------------------------------------------
// Format settings

Char GetTimeSeparator();
Char GetDateSeparator();
Char GetThousandSeparator();
Char GetDecimalSeparator();
String GetShortDateFormat();

// ---------------------------------------------------------------------------
// Integers

int32_t IntMax(int32_t A, int32_t B);
int32_t IntMin(int32_t A, int32_t B);
// Value kept within the bounds that are set: a bound of 0 or less is no bound, equal
// bounds switch both off, and Max wins when both apply.
int32_t ClampToLimits(int32_t Value, int32_t Min, int32_t Max);

// ---------------------------------------------------------------------------
// Searching and counting

int FindCharPos(Char Ch, const String& S);
// As FindCharPos; P is written only when Ch is found.
int FindCharPosVar(Char Ch, const String& S, int& P);
int FindPosVar(const String& Sub, const String& S, int& P);
// Sub is searched in the ASCII upper-cased S; the caller passes Sub in upper case.
int CaseInsensitivePos(const String& Sub, const String& S);
int WideStrPos(const String& Sub, const String& S);
int CharCount(Char Ch, const String& S);
// Position of the first Ch that is not part of a doubled pair (a Ch in the last position
// always counts); 0 when none.
int FindUndoubledChar(Char Ch, const String& S, int& P);
int CountUndoubledChars(Char Ch, const String& S);
String UndoubleChar(Char Ch, const String& S);
// The first character of S in Chars that stands outside double quotes, with P its
// position; #0 and P = -1 when there is none.
Char FindCharOutsideQuotes(const TCharSet& Chars, const String& S, int& P);
bool CellInGridRect(const TGridRect& R, int ACol, int ARow);

// ---------------------------------------------------------------------------
// Tokens, lists and references

// The text before the first Sep; it and the first character of Sep are deleted from S.
// Empty, with S unchanged, when Sep does not occur.
String ExtractToken(String& S, const String& Sep);
String ConcatStrings(const TStrings* List);
// "R<row>C<col>" in either case: P.X = column, P.Y = row. P is unchanged on False.
bool ParseR1C1Ref(const String& S, TPoint& P);
bool IsUrl(const String& S);
void StripUrlProtocol(String& S);

// ---------------------------------------------------------------------------
// Character classes

bool IsDigitChar(Char Ch);  // Unicode decimal digits, letter numbers and other numbers
bool IsSignedDigitChar(Char Ch);
bool IsNumberTextChar(Char Ch);
bool IsSignedNumberTextChar(Char Ch);
bool IsPlainFloatChar(Char Ch);
bool IsWordBreakChar(Char Ch);

// ---------------------------------------------------------------------------
// Number text

// 0 integer, 1 float, 2 not a number, 5 float with exponent.
uint8_t NumberTextKind(const String& S);
// Plain float text ("-1234.5") from formatted number text ("(1,234.5)", "$-12").
String StripNumberFormat(const String& S);
// The zero-terminated text with decimal separators written as '.' and thousand separators
// left out.
String NormalizeDecimalText(const Char* P);

// ---------------------------------------------------------------------------
// Other transformations

String EscapeCsvQuotes(const String& S);
void FillStringChars(String& S, Char Ch);
// Round trips through the OEM and ANSI code pages; characters they cannot carry become '?'.
void StringToOem(String& S);
void OemToString(String& S);
// Name case: "JOHN MCDONALD III" -> "John McDonald III", "o'neil-smith" -> "O'Neil-Smith".
String ToMixedCase(const String& S);

// ---------------------------------------------------------------------------
// Line-break and cell text encodings. CR is character 13, LF character 10.

String LineBreaksToHtml(const String& S);
String BackslashNToCR(const String& S);
String CRToBackslashN(const String& S);
// Each CR LF becomes character 11, then S is enclosed in double quotes.
void EncodeCellLineBreaks(String& S);
void RemoveCRFromCRLF(String& S);
void DecodeCellLineBreaks(String& S);
void LineBreaksToTilde(String& S);
// Each "~" becomes CR LF; a text that is then exactly "^" becomes empty.
void TildeToLineBreaks(String& S);
// With a CR in S: CR -> 9, LF -> 8, #0 -> 1.
String EncodeLineBreakChars(const String& S);
// With character 8 in S: 9 -> CR, 8 -> LF, 1 -> #0; the first line only unless AllLines.
String DecodeLineBreakChars(const String& S, bool AllLines);
// Line := the text before the first CR; the CR and one following LF are removed from S,
// which then keeps the rest only when KeepRest. Without a CR Line is all of S.
void ExtractFirstLine(String& S, bool KeepRest, String& Line);
int LineCount(const String& S, bool MultiLine);
String StripCR(const String& S);
String ReplaceCRWithLF(const String& S);
// "|\" followed by each UTF-16 value as two characters, high byte first.
String PackWideText(const String& W);
String UnpackWideText(const String& S);
// 0 plain, 1 HTML, 2 rich text, 3 formula, 5 packed wide text.
uint8_t ClassifyCellText(const String& S, bool AllowHtml);

// ---------------------------------------------------------------------------
// Date parsing and filter conditions

// A date in short-date order with an optional time "h:n" or "h:n:s".
bool ParseShortDateTime(const String& S, TDateTime& DT);
// 0 when a part is missing or not a number; an impossible date raises EConvertError.
TDateTime ParseDateMDY(const String& S);
TDateTime ParseDateDMY(const String& S);
bool LooksLikeDate(const String& S);
// The next date of a series; an impossible date raises EConvertError.
TDateTime AdvanceDate(uint16_t Years, uint16_t Months, uint16_t Days, TDateTime Date, double Delta);
String RemoveSpacesOutsideQuotes(const String& S);
int FindClosingParen(const String& S);
// Parts joined by "&" (and) and "|", ";", "^" (or), evaluated strictly left to right, with
// "(" ... ")" groups. A group without its closing bracket, or nested more than 256 deep,
// makes the condition match nothing.
bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive);
bool MatchFilterPart(const String& Pattern, const String& Value, bool CaseSensitive);
// One pattern: comparisons ">", ">=", "<", "<=" by number, date or text, "!" negation,
// "*" and "?" wildcards; double quotes match nothing. Both texts end at their first #0.
bool MatchFilterPattern(const Char* Pattern, const Char* Value);
