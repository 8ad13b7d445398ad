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
// "*" any run, "?" one unit, quotes matching nothing, by the usual backtrack to the last "*";
// with FoldAscii the value's a-z match the pattern's A-Z (the pattern is upper case then).
bool MatchWildcards(const Char* Pattern, size_t PatternLength, const Char* Value, size_t ValueLength, bool FoldAscii);

// ---------------------------------------------------------------------------
// Colours, gradients, progress indicators and cell shapes. The painters leave the
// canvas's pen, brush and font changed; the caller restores them. clNone means a clear
// brush, a solid fill instead of a gradient, or no border.

#include "platform/ui/Graphics.h"

TColor HalfColor(TColor Color);
// Each byte b becomes b + Round(b * Percent / 100), kept to 8 bits (wraps, no clamping).
TColor AdjustColorBrightness(TColor Color, int Percent);
// "RRGGBB" from the bytes as they are (no system-colour resolution).
String ColorToHex(TColor Color);
// The colour at Position (counted from 0) on a span of Max - Min; Color when ColorTo is
// clNone. An empty span raises EZeroDivide.
TColor InterpolateColor(TColor Color, TColor ColorTo, int Min, int Max, int Position);
void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color);
void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color);
// Steps + 1 bands from FromColor to ToColor, left to right when Horizontal, else top to
// bottom; one solid fill when either colour is clNone.
void FillGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect R, bool Horizontal);
void FillMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                        TColor ColorMirrorTo, bool Vertical, TColor BorderColor, bool BorderSidesOnly, bool Fill);
// Style 0 curves both ends, 1 the left only, 2 the right only, 3 neither.
void DrawSelectionGradient(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo,
                           TColor TopLineColor, TColor BottomLineColor, TColor BorderColor, TColor EdgeColor,
                           TColor BackgroundColor, const TRect& R, uint8_t Style);
// Brush or pen colour; clNone makes the brush or pen clear.
void SetBrushColor(TCanvas* Canvas, TColor Color);
void SetPenColor(TCanvas* Canvas, TColor Color);
// A + B and A - B; a result out of range raises EIntOverflow instead of wrapping.
int AddChecked(int A, int B);
int SubChecked(int A, int B);

enum TCellShape : uint8_t {
  csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
  csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
  csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};

// The look of a styled progress bar. Below Level1Perc the bar takes the Level0 colours,
// below Level2Perc Level1, at 100 Level3, else Level2.
struct TProgressAppearanceInfo {
  TColor Level0Color = clLime, Level0ColorTo = clLime;
  TColor Level1Color = clYellow, Level1ColorTo = clYellow;
  TColor Level2Color = clOlive, Level2ColorTo = clOlive;
  TColor Level3Color = clGreen, Level3ColorTo = clGreen;
  int Level1Perc = 70, Level2Perc = 90;
  TColor BorderColor = clBlack;
  bool ShowBorder = true, Stacked = false, ShowPercentage = true;
  TFont* Font = nullptr;  // owned by the caller; name, size and style of the percentage text
  TColor FontColor = clBlack;
  bool CompletionSmooth = true, ShowGradient = false;
  int Steps = 8;
  TColor CompletionColor = clNone;  // not read by the drawing
  TColor BackgroundColor = clWhite;
  bool Vertical = false;
};

// A two-colour bar with its text: Round(Value) and "%" without Fmt, else Fmt applied to
// Value (to Round(Value) when Fmt's conversion is d or u) and the bar shows Value's place
// between Min and Max. FlipText is for printing, where the y axis runs upwards.
void DrawCellProgressBar(TCanvas* Canvas, TRect R, TColor DoneColor, TColor DoneFontColor, TColor RestColor,
                         TColor RestFontColor, double Value, int MarginX, int MarginY, int Min, int Max,
                         const String& Fmt, TColor BorderColor, bool FlipText);
// A grey-edged pie with the sector from 12 o'clock clockwise to Percent filled with Color.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, int Percent, bool Flipped);
void DrawStyledProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressAppearanceInfo& Look);
void DrawCellShape(TCanvas* Canvas, int X, int Y, int Width, int Height, TCellShape Shape, TColor BrushColor,
                   TColor PenColor);

// ---------------------------------------------------------------------------
// Clipboard HTML, links, layered windows and highlight colours

#include "platform/win/Modules.h"
#include "platform/win/Windows.h"

// S becomes the clipboard's "HTML Format" text around the fragment S. Characters above 255 are
// first written as numeric character references, so that every character of the result is
// one byte and the header's character offsets are byte offsets.
void BuildClipboardHtml(String& S);
// With Prefix (upper case, such as "HTTP://") in S: Linked := S with "<" and ">" escaped and
// the first address from Prefix on wrapped in an anchor; True. False, Linked unchanged, else.
bool LinkifyUrl(const String& S, const String& Prefix, String& Linked);
// The layered-window calls, looked up at each call; True when the system lacks them.
bool CallUpdateLayeredWindow(HWND Wnd, HDC DstDC, const POINT* DstPt, const SIZE* Size, HDC SrcDC,
                             const POINT* SrcPt, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags);
bool CallSetLayeredWindowAttributes(HWND Wnd, TColor Key, uint8_t Alpha, DWORD Flags);
// The colours of highlighted tagged text (initially clHighlight on clHighlightText's text).
void SetHtmlHighlightColors(TColor BkColor, TColor TextColor);
TColor HtmlHighlightBkColor();
TColor HtmlHighlightTextColor();
// True when the system is Windows 5.1 or later; asked once.
bool IsWinVersion51OrLater();

// ---------------------------------------------------------------------------
// Cell button faces and markers. Look: 0 themed, 1 classic, 2 flat, 3 the tones' colours
// (any other draws nothing); State: 0 normal, 1 hot, 2 down, 3 disabled. The painters leave
// the canvas's pen, brush and font changed.

class TCanvas;
class TBitmap;
class TWinControl;
struct TColorTones;

// The drop-down button at the right of the cell R.
void DrawComboButton(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones);
// A push button filling R.
void DrawButtonFace(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones);
// Up and down buttons at the right of the cell R.
void DrawSpinButtons(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones);
// A red zigzag under ErrorLength characters from ErrorStart (0-based) of Text as an edit laid
// out in R on Owner shows them.
void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R, int YOffset,
                        int ErrorStart, int ErrorLength);
// A bar from the centre of R to the left (negative) or right, Value clamped to -Range..Range;
// Range 0 raises EZeroDivide.
void DrawBalanceBar(TCanvas* Canvas, const TRect& R, int Value, int Range, bool ShowValue, TColor NegativeColor,
                    TColor PositiveColor);
// Bitmap at R's top-left, its top-left pixel's colour replaced by BkColor.
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R);
// As DrawBitmapTransparent with the program's bitmap resource ResName; a missing or unreadable
// resource raises EReadError.
void DrawResBitmapTransparent(TCanvas* Canvas, TColor BkColor, const TRect& R, const String& ResName);
