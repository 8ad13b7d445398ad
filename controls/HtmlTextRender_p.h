#pragma once
// One call of DrawHtmlText: its parameters, the text state that runs through all lines, and
// the state of the line being laid out. Shared by the renderer's source files only.

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/HtmlText.h"

// Coordinates kept well inside 32 bits, so that sums of them cannot overflow.
inline int Coord(int64_t V) { return static_cast<int>(V < -(1 << 30) ? -(1 << 30) : V > (1 << 30) ? (1 << 30) : V); }

// Items (images, CONTROLs) wider or taller than this are kept to it: a cell never shows more,
// and painters need not make pictures of absurd sizes.
constexpr int MaxItemExtent = 4096;

// The value of attribute Name (upper case) of a tag: the text between the first double quote
// after the name and the next one; upper-cased unless KeepCase. Empty when absent.
String HtmlTagValue(std::u16string_view Tag, const String& Name, bool KeepCase);

// The parameters of one DrawHtmlText call; outputs by reference.
struct THtmlCall {
  TCanvas* Canvas;
  const String& Text;
  TRect Rect;
  TCustomImageList* Images;
  int32_t HitX, HitY, FocusedAnchor, HoveredAnchor, ShadowOffset;
  bool HitTestOnly, MeasureOnly, PrintMode, IgnoreColors, BlinkVisible, UnderlineOnHoverOnly, WordWrap,
      MouseButtonHeld;
  double PrintScale;
  TColor AnchorColor, HoverBackColor, HoverTextColor, ShadowColor;
  String& HitHref;
  String& PlainText;
  String& FocusedHref;
  String& HitTitle;
  int32_t& TextWidthOut;
  int32_t& TextHeightOut;
  int32_t& AnchorCount;
  int32_t& HitAnchorIndex;
  TRect& HitAnchorRect;
  TRect& HitControlRect;
  String& ControlID;
  String& ControlValue;
  String& ControlType;
  THTMLPictureCache* PictureCache;
  TPictureContainer* PicContainer;
  HWND ThemeWindow;
  uint8_t BiDiMode;
};

// A read position in a text, with the next '<' and the next space remembered so that
// finding them again costs nothing until the position passes them.
class THtmlCursor {
 public:
  explicit THtmlCursor(const String& S) : FS(S), FEnd(S.size()) {}
  bool Empty() const { return FPos >= FEnd; }
  size_t Pos() const { return FPos; }
  size_t End() const { return FEnd; }
  size_t Remaining() const { return FEnd - FPos; }
  Char At(size_t I) const { return FS[I]; }
  std::u16string_view Slice(size_t From, size_t To) const { return std::u16string_view(FS).substr(From, To - From); }
  void Advance(size_t To) { FPos = To; }
  // Drops the rest of the text.
  void Truncate() { FEnd = FPos; }
  // The next '<' or space at or after the position; End() when none.
  size_t NextLt() { return Next(u'<', FLtAt); }
  size_t NextSpace() { return Next(u' ', FSpaceAt); }
  size_t Find(Char C) const {
    const size_t P = FS.find(C, FPos);
    return P == String::npos || P >= FEnd ? FEnd : P;
  }

 private:
  size_t Next(Char C, size_t& Cached) {
    if (Cached == String::npos || Cached < FPos) {
      const size_t P = FS.find(C, FPos);
      Cached = P == String::npos ? FS.size() : P;
    }
    return Cached < FEnd ? Cached : FEnd;
  }
  const String& FS;
  size_t FPos = 0;
  size_t FEnd;
  size_t FLtAt = String::npos;
  size_t FSpaceAt = String::npos;
};

class THtmlRender {
 public:
  explicit THtmlRender(const THtmlCall& Call);
  ~THtmlRender();
  bool Run();

 private:
  enum TAlign : uint8_t { alLeftAlign, alRightAlign, alCenterAlign };

  // The open anchor; both passes of a line start from the same one.
  struct TAnchor {
    bool Open = false;
    String Href, Title;
    int32_t Number = 0;
    int64_t StartOffset = 0;
    int64_t StartLine = 0;
  };
  // What both passes of a line must start from alike.
  struct TLineStart {
    TAnchor Anchor;
    int32_t AnchorCount, ListDepth, ImageCounter;
    bool Hidden, Shadow, Subscript, Superscript;
  };

  // ---- the line loop and the line procedure
  void StartCall();
  void FinishCall();
  TLineStart SaveLineStart() const;
  void RestoreLineStart(const TLineStart& S);
  String LinePass(THtmlCursor& Cur, const TRect& LineRect, bool Measure, bool First);
  void TakeRun(THtmlCursor& Cur, String& LineText);
  void TakeTag(THtmlCursor& Cur, String& LineText);
  void EndLine();

  // ---- runs
  String ConvertRun(std::u16string_view Raw) const;
  int RunWidth(const String& Shown);
  void PaintRun(const String& Shown, int W);
  void DrawRunText(TRect R, const String& Shown, int W);
  void DrawErrorMark(int Left, int Right);
  void HitTestRun(int64_t W0, int64_t W1);

  // ---- tags
  void OpeningTag(std::u16string_view Tag);
  void ClosingTag(std::u16string_view Tag);
  void AnchorStart(std::u16string_view Tag);
  void AnchorEnd();
  void BodyTag(std::u16string_view Tag);
  void FontTag(std::u16string_view Tag);
  void FontEnd();
  void ParagraphTag(std::u16string_view Tag);
  void IndentTag(std::u16string_view Tag);
  void ListItem();
  void HorizontalRule();
  void RotateTag(std::u16string_view Tag);
  void ControlTag(std::u16string_view Tag);
  void PaintControl(const String& Type, const String& Value, int X, int W, int H, int LH, int HitW, int HitH);
  void ImageTag(std::u16string_view Tag);
  void BodyBackground(const String& Source);
  // Fitting and advance of an item of width W and height H; False when it wraps to the next line.
  bool FitItem(int W, int H);

  // ---- helpers
  bool Painting() const { return !FMeasure; }
  // The height of a line of text and the width of a space in the canvas font.
  int FontHeight();
  int SpaceWidth();
  // Width and height of a run in the canvas font: measured in the layout pass, and taken from
  // there by the line's second pass.
  void MeasureRun(const String& Shown, int& W, int& H);
  TColor BrushColorOrNone();
  void FillBand(const TRect& R, TColor Color);
  bool DrawThemed(LPCWSTR ClassList, int Part, int State, const TRect& R);
  int64_t OffsetX() const { return static_cast<int64_t>(A.HitX) - FLineRect.Left; }

  const THtmlCall& A;
  TCanvas* C;
  bool FResult = false;
  bool FThemed = false;
  bool FRtlReading = false;
  UINT FFlags = 0;
  TRect FClip;

  // Saved canvas state and the fonts each pass carries from line to line.
  TFont FBaseFont, FMeasureFont, FPaintFont;
  TColor FPenColor;
  int FPenWidth;
  TPenStyle FPenStyle;
  TColor FBrushColor;  // also the background colour of BLINK and animated pictures
  TBrushStyle FBrushStyle;

  // Text state through all lines.
  TAnchor FAnchor;
  bool FHidden = false, FShadow = false, FSubscript = false, FSuperscript = false, FErrorMark = false;
  bool FParaBackground = false;
  TAlign FAlign = alLeftAlign;
  int32_t FIndent = 0;
  int32_t FListDepth = 0;
  int32_t FImageCounter = 0;
  int32_t FHoveredImage = -1;
  TColor FFontBgSaved = clNone, FParaBgSaved = clNone;
  TColor FHiFontSaved, FHiBrushSaved = clNone;
  TColor FHoverFontSaved, FHoverBrushSaved = clNone;
  int FRotateSaved = 0;
  bool FHitPending = false;
  bool FFocusOpen = false;
  TRect FFocusRect;

  // What decides text sizes: underline and strike-out do not.
  struct TFontKey {
    String Name;
    int Height;
    bool Bold, Italic;
    bool operator==(const TFontKey&) const = default;
  };
  TFontKey FontKey();
  struct TFontSizes {
    TFontKey Key;
    int Height = -1, Space = -1;
  };
  TFontSizes& Sizes();
  std::vector<TFontSizes> FSizes;
  struct TRunSize {
    String Text;
    TFontKey Key;
    int W, H;
  };
  std::vector<TRunSize> FRunSizes;  // the runs of the line's layout pass
  size_t FRunIndex = 0;

  // The line being laid out.
  int64_t FLine = 0;  // number of the line, from 0
  int64_t FTop = 0;
  TRect FLineRect;
  bool FMeasure = true, FFirst = true;
  int32_t FLineHeight = 0, FSubExtent = 0, FSuperExtent = 0, FBaseline = 0;
  int64_t FLineWidth = 0, FTrailingSpace = 0;
  int64_t FX = 0;  // drawing position
  bool FLineEnded = false, FItemWraps = false, FListItemSeen = false;
  bool FPlacedEndsWithSpace = false;
  bool FAnchorHit = false, FItemHit = false;
};
