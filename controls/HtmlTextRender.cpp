// DrawHtmlText: lays tagged text out line by line, a measuring and a painting pass per line,
// and paints, measures or hit-tests it.
#include <algorithm>
#include <climits>

#include "controls/AdvXPVS.h"
#include "controls/HtmlTextRender_p.h"
#include "controls/VevAzez.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"

namespace {

// Every run is one bottom-aligned line with tabs expanded; '&' prefixes stay on.
constexpr UINT RunFlags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
// A run longer than this is cut to what its rectangle can show before it is drawn.
constexpr size_t LongRun = 64;

Char Upper(Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C; }

Char UpperAt(std::u16string_view S, size_t I) { return I < S.size() ? Upper(S[I]) : Char(0); }

// The canvas font takes the font's properties; assigning an equal font would only make the
// canvas build its font handle again.
void SetCanvasFont(TCanvas* C, TFont& F) {
  TFont* To = C->Font();
  if (To->Name() != F.Name() || To->Height() != F.Height() || To->Color() != F.Color() || To->Style() != F.Style() ||
      To->Charset() != F.Charset() || To->Pitch() != F.Pitch() || To->Orientation() != F.Orientation())
    To->Assign(&F);
}

int32_t Clamp32(int64_t V) { return static_cast<int32_t>(std::clamp<int64_t>(V, INT32_MIN, INT32_MAX)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Attribute values

String HtmlTagValue(std::u16string_view Tag, const String& Name, bool KeepCase) {
  const String Up = UpperCase(String(Tag));
  const size_t At = Up.find(Name);
  if (At == String::npos) return String();
  const size_t Open = Up.find(u'"', At + Name.size());
  if (Open == String::npos) return String();
  const size_t Close = Up.find(u'"', Open + 1);
  if (Close == String::npos) return String();
  return KeepCase ? String(Tag.substr(Open + 1, Close - Open - 1)) : Up.substr(Open + 1, Close - Open - 1);
}

namespace {

bool HasAttribute(std::u16string_view Tag, const String& Name) { return UpperCase(String(Tag)).find(Name) != String::npos; }

// A colour value: "#RRGGBB" or a colour name; an empty value gives Empty.
TColor ColorValue(const String& V, TColor Empty) {
  if (V.empty()) return Empty;
  if (V[0] == u'#') return HtmlHexColor(V);
  return HtmlColorByName(LowerCase(V));
}

// The text between the first double quote after the first letter Letter (either case) and the
// character after it, and the next double quote; False when there is none.
bool QuotedAfterLetter(std::u16string_view Tag, Char Letter, String& Value) {
  size_t At = 0;
  while (At < Tag.size() && Upper(Tag[At]) != Letter) ++At;
  if (At >= Tag.size()) return false;
  const size_t Open = Tag.find(u'"', At + 2);
  if (Open == std::u16string_view::npos) return false;
  const size_t Close = Tag.find(u'"', Open + 1);
  if (Close == std::u16string_view::npos) return false;
  Value = String(Tag.substr(Open + 1, Close - Open - 1));
  return true;
}

bool SameTagNoCase(std::u16string_view Tag, std::u16string_view Want) {
  if (Tag.size() != Want.size()) return false;
  for (size_t I = 0; I < Tag.size(); ++I)
    if (Upper(Tag[I]) != Want[I]) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The call

THtmlRender::THtmlRender(const THtmlCall& Call) : A(Call), C(Call.Canvas) {}

THtmlRender::~THtmlRender() = default;

void THtmlRender::StartCall() {
  // Copies at the canvas font's resolution, so that heights go back and forth unscaled.
  for (TFont* F : {&FBaseFont, &FMeasureFont, &FPaintFont}) {
    F->SetPixelsPerInch(C->Font()->PixelsPerInch());
    F->Assign(C->Font());
  }
  FPenColor = C->Pen()->Color();
  FPenWidth = C->Pen()->Width();
  FPenStyle = C->Pen()->Style();
  FBrushColor = C->Brush()->Color();
  FBrushStyle = C->Brush()->Style();
  SetBrushColor(C, clNone);
  FHiFontSaved = FHoverFontSaved = C->Font()->Color();

  FThemed = IsWinVersion51OrLater() && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive() &&
            XPVSThemeBinding.IsThemeActive()();

  A.HitControlRect = TRect();
  A.ControlType.clear();
  A.ControlValue.clear();
  if (!A.HitTestOnly) A.ControlID.clear();

  A.TextWidthOut = A.TextHeightOut = A.AnchorCount = 0;
  A.HitTitle.clear();
  A.FocusedHref.clear();
  A.PlainText.clear();
  A.HitAnchorIndex = -1;

  SetBkMode(C->Handle(), TRANSPARENT);
  FFlags = RunFlags;
  if (!A.WordWrap) FFlags |= DT_END_ELLIPSIS;
  // The right-to-left modes change the flags only on a right-to-left system.
  if (SysLocale.MiddleEast) {
    if (A.BiDiMode == 1) {
      if (FFlags & DT_RIGHT)
        FFlags &= ~DT_RIGHT;
      else if (!(FFlags & DT_CENTER))
        FFlags |= DT_RIGHT;
    }
    if (A.BiDiMode != 0) FFlags |= DT_RTLREADING;
  }
  FRtlReading = FFlags & DT_RTLREADING;
  FClip = C->ClipRect();
}

void THtmlRender::FinishCall() {
  if (A.TextHeightOut == 0) A.TextHeightOut = FontHeight();
  C->Pen()->SetColor(FPenColor);
  C->Pen()->SetWidth(FPenWidth);
  C->Pen()->SetStyle(FPenStyle);
  C->Brush()->SetColor(FBrushColor);
  C->Brush()->SetStyle(FBrushStyle);
  SetCanvasFont(C, FBaseFont);
}

THtmlRender::TLineStart THtmlRender::SaveLineStart() const {
  return {FAnchor, A.AnchorCount, FListDepth, FImageCounter, FHidden, FShadow, FSubscript, FSuperscript};
}

void THtmlRender::RestoreLineStart(const TLineStart& S) {
  FAnchor = S.Anchor;
  A.AnchorCount = S.AnchorCount;
  FListDepth = S.ListDepth;
  FImageCounter = S.ImageCounter;
  // Both passes see the switches the line started with, so that a tag left open at the end
  // of a line does not change how the line's earlier runs are painted.
  FHidden = S.Hidden;
  FShadow = S.Shadow;
  FSubscript = S.Subscript;
  FSuperscript = S.Superscript;
}

bool THtmlRender::Run() {
  StartCall();
  // Named entities, "<#" markers, then line breaks; each only when the text has them.
  String Text = A.Text.find(u'&') != String::npos ? DecodeHtmlSymbolEntities(A.Text) : A.Text;
  if (Text.find(u"<#") != String::npos) Text = StripHashMarkers(Text);
  if (Text.find_first_of(u"\r\n") != String::npos) Text = LineBreaksToBrTags(Text, true);
  THtmlCursor Cur(Text);
  const int64_t RectWidthLeft = static_cast<int64_t>(A.Rect.Left) + 1;
  FTop = A.Rect.Top;  // the first line starts at the rectangle's top

  while (!Cur.Empty()) {
    SetCanvasFont(C, FMeasureFont);
    FSubscript = FSuperscript = false;
    FSubExtent = FSuperExtent = FBaseline = 0;
    FLineHeight = FontHeight();
    const int32_t StopHeight = FLineHeight;
    const TLineStart Start = SaveLineStart();

    const size_t Before = Cur.Pos();
    const String LineText =
        LinePass(Cur, TRect(Coord(RectWidthLeft), Coord(FTop), A.Rect.Right, A.Rect.Bottom), true, true);
    FMeasureFont.Assign(C->Font());

    // Alignment of the line by the width the measuring pass found.
    const int64_t LineWidth = FLineWidth;
    int64_t Left = RectWidthLeft;
    if (FAlign == alRightAlign && A.Rect.Right - LineWidth > Left) Left = A.Rect.Right - LineWidth;
    if (FAlign == alCenterAlign && A.Rect.Right - Left - LineWidth > 0) Left += (A.Rect.Right - Left - LineWidth) / 2;
    Left += FIndent;
    const int64_t LineBottom = FTop + FLineHeight + FSubExtent + FSuperExtent;

    if (!A.MeasureOnly) {
      SetCanvasFont(C, FPaintFont);
      RestoreLineStart(Start);
      THtmlCursor LineCur(LineText);
      LinePass(LineCur, TRect(Coord(Left), Coord(FTop), A.Rect.Right, Coord(LineBottom)), A.HitTestOnly, false);
      FPaintFont.Assign(C->Font());
      const int64_t TextBottom = LineBottom - FBaseline;
      if (FAnchorHit && A.HitY > TextBottom - FontHeight() && A.HitY < TextBottom) FResult = true;
      if (FItemHit) FResult = true;
    }

    const int64_t Height = static_cast<int64_t>(FLineHeight) + FSubExtent + FSuperExtent;
    FTop += Height;
    A.TextHeightOut = Clamp32(static_cast<int64_t>(A.TextHeightOut) + Height);
    ++FLine;
    if (!A.MeasureOnly && FTop + StopHeight > A.Rect.Bottom) break;
    if (Cur.Pos() == Before) break;  // a line that takes nothing would never end the loop
  }
  FinishCall();
  return FResult;
}

// ---------------------------------------------------------------------------------------------
// The line procedure

String THtmlRender::LinePass(THtmlCursor& Cur, const TRect& LineRect, bool Measure, bool First) {
  FMeasure = Measure;
  FFirst = First;
  FLineRect = LineRect;
  FLineRect.Bottom -= FSubExtent;
  FLineWidth = FTrailingSpace = 0;
  FX = FRtlReading ? FLineRect.Right : FLineRect.Left;
  FLineEnded = FItemWraps = FListItemSeen = false;
  FPlacedEndsWithSpace = false;
  FAnchorHit = FItemHit = false;
  if (First) FRunSizes.clear();
  FRunIndex = 0;

  if (Painting() && FParaBackground)
    FillBand(TRect(A.Rect.Left, FLineRect.Top, A.Rect.Right, Coord(static_cast<int64_t>(FLineRect.Top) + FLineHeight)),
             BrushColorOrNone());

  String LineText;
  while (!Cur.Empty() && !FLineEnded && !FItemWraps) {
    TakeRun(Cur, LineText);
    if (!FLineEnded) TakeTag(Cur, LineText);
  }
  EndLine();
  return LineText;
}

void THtmlRender::EndLine() {
  FLineWidth -= FTrailingSpace;
  if (FFirst) A.TextWidthOut = std::max(A.TextWidthOut, Clamp32(FLineWidth));
  // A focused anchor that goes on to the next line gets this line's part of its frame.
  if (Painting() && FFocusOpen && FAnchor.Open && FAnchor.Number == A.FocusedAnchor + 1) {
    FFocusRect.Right = Coord(FX);
    FFocusRect.Bottom = FLineRect.Bottom;
    TRect R = FFocusRect;
    InflateRect(&R, 1, 1);
    C->DrawFocusRect(R);
    FFocusRect.Left = FLineRect.Left + 1;
    FFocusRect.Top = FFocusRect.Bottom;
  }
}

void THtmlRender::TakeRun(THtmlCursor& Cur, String& LineText) {
  const size_t Lt = Cur.NextLt();
  size_t End;
  if (A.WordWrap && Cur.NextSpace() < Lt)
    End = Cur.NextSpace() + 1;
  else
    End = Lt;
  if (End == Cur.Pos()) return;
  const std::u16string_view Raw = Cur.Slice(Cur.Pos(), End);
  const String Shown = ConvertRun(Raw);

  int W = 0, H = 0;
  MeasureRun(Shown, W, H);
  FLineHeight = std::max(FLineHeight, H);
  if (FSubscript) FSubExtent = std::max(FSubExtent, H / 4);
  if (FSuperscript) FSuperExtent = std::max(FSuperExtent, H / 4);

  if (FHidden) {
    Cur.Advance(End);
    if (FFirst) A.PlainText += Shown;
    return;
  }

  const int64_t W0 = FLineWidth;
  FLineWidth += W;
  if (FMeasure) HitTestRun(W0, FLineWidth);

  // The layout pass decides where the line breaks; the painting pass takes the whole line.
  const int64_t RectWidth = static_cast<int64_t>(FLineRect.Right) - FLineRect.Left;
  const bool Fits = !FFirst || FLineWidth < RectWidth || W >= RectWidth || !FPlacedEndsWithSpace;
  if (!Fits && A.WordWrap) {
    FLineWidth -= W;
    FLineEnded = true;
    return;
  }

  Cur.Advance(End);
  LineText += Raw;
  if (FFirst) A.PlainText += Shown;
  const bool EndsWithSpace = Raw.back() == u' ';
  FTrailingSpace = EndsWithSpace ? SpaceWidth() : 0;
  FPlacedEndsWithSpace = EndsWithSpace;
  if (Painting()) PaintRun(Shown, W);
  if (!Fits) {
    // Without word wrap a run that overflows after a space ends the text.
    Cur.Truncate();
    FLineEnded = true;
  }
}

void THtmlRender::TakeTag(THtmlCursor& Cur, String& LineText) {
  if (Cur.Empty() || Cur.At(Cur.Pos()) != u'<') return;
  const size_t Remaining = Cur.Remaining();
  if (Remaining <= 2) {
    Cur.Advance(Cur.End());
    return;
  }
  const size_t Gt = Cur.Find(u'>');
  if (Gt == Cur.End()) {  // a tag without '>' takes the rest of the text with it
    Cur.Advance(Cur.End());
    return;
  }
  const std::u16string_view Tag = Cur.Slice(Cur.Pos(), Gt + 1);
  if (Tag[1] == u'/' && Remaining > 3)
    ClosingTag(Tag);
  else
    OpeningTag(Tag);
  if (FItemWraps) return;
  LineText += Tag;
  Cur.Advance(Gt + 1);
}

// ---------------------------------------------------------------------------------------------
// Runs

String THtmlRender::ConvertRun(std::u16string_view Raw) const {
  String S;
  S.reserve(Raw.size());
  for (size_t I = 0; I < Raw.size();) {
    if (Raw[I] == u'&') {
      const std::u16string_view Rest = Raw.substr(I);
      if (Rest.starts_with(u"&&")) {  // an escaped '&' is not the start of an entity
        S += u"&&";
        I += 2;
        continue;
      }
      if (Rest.starts_with(u"&nbsp;")) {
        S += u' ';
        I += 6;
        continue;
      }
      if (Rest.starts_with(u"&lt;") || Rest.starts_with(u"&gt;")) {
        S += Rest[1] == u'l' ? u'<' : u'>';
        I += 4;
        continue;
      }
    }
    S += Raw[I++];
  }
  return S;
}

int THtmlRender::RunWidth(const String& Shown) {
  TRect R = FLineRect;
  DrawTextEx(C->Handle(), const_cast<Char*>(Shown.c_str()), static_cast<int>(Shown.size()), &R, FFlags | DT_CALCRECT,
             nullptr);
  return std::max(0, R.Right - R.Left);
}

THtmlRender::TFontKey THtmlRender::FontKey() {
  TFont* F = C->Font();
  return {F->Name(), F->Height(), F->Style().Contains(fsBold), F->Style().Contains(fsItalic)};
}

// A line's height and a space's width depend on the font only: measured once per font and call.
THtmlRender::TFontSizes& THtmlRender::Sizes() {
  const TFontKey Key = FontKey();
  for (TFontSizes& S : FSizes)
    if (S.Key == Key) return S;
  FSizes.push_back({Key});
  return FSizes.back();
}

int THtmlRender::FontHeight() {
  TFontSizes& S = Sizes();
  if (S.Height < 0) S.Height = C->TextHeight(u"gh");
  return S.Height;
}

int THtmlRender::SpaceWidth() {
  TFontSizes& S = Sizes();
  if (S.Space < 0) S.Space = RunWidth(u" ");
  return S.Space;
}

void THtmlRender::MeasureRun(const String& Shown, int& W, int& H) {
  const TFontKey Key = FontKey();
  if (!FFirst && FRunIndex < FRunSizes.size()) {
    const TRunSize& R = FRunSizes[FRunIndex++];
    if (R.Key == Key && R.Text == Shown) {
      W = R.W;
      H = R.H;
      return;
    }
  }
  if (Shown.find_first_of(u"&\t") == String::npos) {
    // Without prefixes and tabs the text's extent is what DrawText lays out: one call for both.
    const TSize E = C->TextExtent(Shown);
    W = E.cx;
    H = E.cy;
    TFontSizes& S = Sizes();
    if (S.Height < 0) S.Height = H;
  } else {
    W = RunWidth(Shown);
    H = FontHeight();
  }
  if (FFirst && !FHidden) FRunSizes.push_back({Shown, Key, W, H});
}

void THtmlRender::PaintRun(const String& Shown, int W) {
  TRect R(Coord(FX), FLineRect.Top, FLineRect.Right, FLineRect.Bottom);
  if (FSuperscript) R.Bottom -= FSuperExtent;
  if (FSubscript) R.Bottom += FSubExtent;
  R.Bottom -= FBaseline;
  if (FRtlReading) {
    R.Left = FLineRect.Left;
    R.Right = Coord(FX);
  }
  if (FShadow) {
    const TColor Color = C->Font()->Color();
    C->Font()->SetColor(A.ShadowColor);
    TRect S = R;
    OffsetRect(&S, A.ShadowOffset, A.ShadowOffset);
    DrawRunText(S, Shown, W);
    C->Font()->SetColor(Color);
  }
  DrawRunText(R, Shown, W);
  if (FAnchor.Open && FAnchor.Number == A.FocusedAnchor + 1) A.FocusedHref = FAnchor.Href;
  if (FErrorMark) DrawErrorMark(R.Left, Coord(FX + W));
  if (FRtlReading)
    FX -= W;
  else
    FX += W;
}

void THtmlRender::DrawRunText(TRect R, const String& Shown, int W) {
  if (C->Font()->Orientation() % 3600 != 0) {
    // DrawText lays text out upright: turned text is put out from the run's top left, about
    // which it turns, with its '&' prefixes taken out.
    String S;
    for (size_t I = 0; I < Shown.size(); ++I) {
      if (Shown[I] == u'&' && ++I == Shown.size()) break;  // "&&" shows '&', "&x" shows x
      S += Shown[I];
    }
    C->TextOut(R.Left, R.Bottom - FontHeight(), S);
    return;
  }
  // The text is clipped to R: a long run is cut to the shortest beginning wider than R, which
  // shows (and ellipsizes) alike, so that drawing costs no more than measuring.
  String S = Shown;
  const int Limit = R.Right - R.Left;
  if (S.size() > LongRun && Limit >= 0 && W > Limit) {
    size_t Lo = 0, Hi = LongRun;
    while (Hi < S.size() && RunWidth(S.substr(0, Hi)) <= Limit) {
      Lo = Hi;
      Hi *= 2;
    }
    Hi = std::min(Hi, S.size());
    while (Hi - Lo > 1) {  // RunWidth(prefix Lo) <= Limit < RunWidth(prefix Hi)
      const size_t Mid = Lo + (Hi - Lo) / 2;
      if (RunWidth(S.substr(0, Mid)) <= Limit)
        Lo = Mid;
      else
        Hi = Mid;
    }
    S.resize(Hi);
  }
  // A run that fits needs no ellipsis, nor the measuring that looks for one.
  const UINT Flags = W <= Limit ? FFlags & ~DT_END_ELLIPSIS : FFlags;
  DrawTextEx(C->Handle(), S.data(), static_cast<int>(S.size()), &R, Flags, nullptr);
}

void THtmlRender::DrawErrorMark(int Left, int Right) {
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(1);
  const int B = FLineRect.Bottom;
  int X = Left & ~1;
  int D = X % 4 == 0 ? 2 : 0;
  C->MoveTo(X, B + D - 1);
  // Nothing beyond the visible part of the canvas is drawn.
  Right = std::min(Right, FClip.Right + 2);
  while (X < Right) {
    D = D == 2 ? 0 : 2;
    C->LineTo(X + 2, B + D - 1);
    X += 2;
  }
}

void THtmlRender::HitTestRun(int64_t W0, int64_t W1) {
  const int64_t X1 = OffsetX();
  const int64_t X2 = FRtlReading ? (static_cast<int64_t>(FLineRect.Right) - A.HitX) - FLineRect.Left : X1;
  if (X1 >= W0 && W1 >= X2 && FAnchor.Open) {
    FAnchorHit = true;
    if (FLineRect.Top < A.HitY) {
      A.HitHref = FAnchor.Href;
      A.HitTitle = FAnchor.Title;
      FHitPending = true;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Tags

void THtmlRender::OpeningTag(std::u16string_view Tag) {
  TFont* F = C->Font();
  const Char Next = UpperAt(Tag, 2);
  switch (UpperAt(Tag, 1)) {
    case u'A': AnchorStart(Tag); break;
    case u'B':
      if (Next == u'>') {
        F->SetStyle(F->Style() + fsBold);
      } else if (Next == u'R') {
        FLineEnded = true;
        if (FFirst) A.PlainText += u'\r';
      } else if (Next == u'L') {
        if (!A.BlinkVisible) F->SetColor(FBrushColor);
      } else if (Next == u'O') {
        BodyTag(Tag);
      }
      break;
    case u'C': ControlTag(Tag); break;
    case u'E':
      if (Painting()) FErrorMark = true;
      break;
    case u'F': FontTag(Tag); break;
    case u'H':
      if (Next == u'I') {
        if (Painting()) {
          FHiFontSaved = F->Color();
          FHiBrushSaved = BrushColorOrNone();
          SetBrushColor(C, HtmlHighlightBkColor());
          F->SetColor(HtmlHighlightTextColor());
        }
      } else if (Next == u'R') {
        HorizontalRule();
      }
      break;
    case u'I':
      if (Next == u'>')
        F->SetStyle(F->Style() + fsItalic);
      else if (Next == u'N')
        IndentTag(Tag);
      else if (Next == u'M')
        ImageTag(Tag);
      break;
    case u'L': ListItem(); break;
    case u'P': ParagraphTag(Tag); break;
    case u'R': RotateTag(Tag); break;
    case u'S':
      if (Next == u'>')
        F->SetStyle(F->Style() + fsStrikeOut);
      else if (Next == u'H')
        FShadow = true;
      else if (SameTagNoCase(Tag, u"<SUB>"))
        FSubscript = true;
      else if (SameTagNoCase(Tag, u"<SUP>"))
        FSuperscript = true;
      break;
    case u'U':
      if (Next == u'>') {
        F->SetStyle(F->Style() + fsUnderline);
      } else {
        ++FListDepth;
        FLineEnded = true;
      }
      break;
    case u'Z': FHidden = true; break;
    default: break;  // any other tag is consumed without effect
  }
}

void THtmlRender::ClosingTag(std::u16string_view Tag) {
  TFont* F = C->Font();
  const Char Next = UpperAt(Tag, 3);
  switch (UpperAt(Tag, 2)) {
    case u'A': AnchorEnd(); break;
    case u'B':
      if (Next == u'>')
        F->SetStyle(F->Style() - fsBold);
      else
        F->SetColor(FBaseFont.Color());
      break;
    case u'E':
      if (Painting()) FErrorMark = false;
      break;
    case u'F': FontEnd(); break;
    case u'H':
      if (Painting()) {
        F->SetColor(FHiFontSaved);
        SetBrushColor(C, FHiBrushSaved);
      }
      break;
    case u'I': F->SetStyle(F->Style() - fsItalic); break;
    case u'L': FLineEnded = true; break;
    case u'P':
      FLineEnded = true;
      if (Painting()) {
        SetBrushColor(C, FParaBgSaved);
        FParaBackground = false;
      }
      break;
    case u'R': F->SetOrientation(FRotateSaved); break;
    case u'S':
      if (Next == u'H') {
        FShadow = false;
      } else if (Next == u'U') {
        FSubscript = FSuperscript = false;
      } else {
        F->SetStyle(F->Style() - fsStrikeOut);
      }
      break;
    case u'U':
      if (Next == u'>' || FListDepth < 1)
        F->SetStyle(F->Style() - fsUnderline);
      else
        --FListDepth;
      break;
    case u'Z': FHidden = false; break;
    default: break;
  }
}

void THtmlRender::AnchorStart(std::u16string_view Tag) {
  TFont* F = C->Font();
  FAnchor.Number = ++A.AnchorCount;
  const bool Hovered = FAnchor.Number == A.HoveredAnchor;
  if (Painting() && (!A.UnderlineOnHoverOnly || Hovered)) {
    F->SetStyle(F->Style() + fsUnderline);
    if (A.HoverBackColor != clNone) {
      FHoverBrushSaved = BrushColorOrNone();
      SetBrushColor(C, A.HoverBackColor);
    }
    if (A.HoverTextColor != clNone) {
      FHoverFontSaved = F->Color();
      F->SetColor(A.HoverTextColor);
    }
  }
  if (!A.IgnoreColors && (A.HoverTextColor == clNone || !Hovered || !A.UnderlineOnHoverOnly))
    F->SetColor(A.AnchorColor);
  FAnchor.Href = HtmlTagValue(Tag, u"HREF", true);
  FAnchor.Title = HtmlTagValue(Tag, u"TITLE", true);
  FAnchor.Open = true;
  FAnchor.StartOffset = FLineWidth;
  FAnchor.StartLine = FLine;
  if (FAnchor.Number == A.FocusedAnchor + 1 && Painting()) {
    FFocusOpen = true;
    FFocusRect = TRect(Coord(FX), FLineRect.Top, Coord(FX), FLineRect.Top);
  }
}

void THtmlRender::AnchorEnd() {
  TFont* F = C->Font();
  if (Painting() && (!A.UnderlineOnHoverOnly || FAnchor.Number == A.HoveredAnchor)) {
    F->SetStyle(F->Style() - fsUnderline);
    if (A.HoverBackColor != clNone) SetBrushColor(C, FHoverBrushSaved);
    if (A.HoverTextColor != clNone) F->SetColor(FHoverFontSaved);
  }
  if (!A.IgnoreColors) F->SetColor(FBaseFont.Color());
  const bool WasOpen = FAnchor.Open;
  FAnchor.Open = false;
  // The rectangle is taken in the line's second pass, where the line has its place and height.
  if (FHitPending && (!FFirst || A.MeasureOnly)) {
    const bool SameLine = WasOpen && FAnchor.StartLine == FLine;
    A.HitAnchorRect = TRect(SameLine ? Coord(FLineRect.Left + FAnchor.StartOffset) : FLineRect.Left,
                            FLineRect.Top, Coord(FLineRect.Left + FLineWidth), FLineRect.Bottom);
    A.HitAnchorIndex = FAnchor.Number;
    FHitPending = false;
  }
  if (FAnchor.Number == A.FocusedAnchor + 1 && Painting() && FFocusOpen) {
    FFocusRect.Right = Coord(FX);
    FFocusRect.Bottom = FLineRect.Bottom - FBaseline;
    FFocusRect.Top = FFocusRect.Bottom - FontHeight();
    TRect R = FFocusRect;
    InflateRect(&R, 1, 1);
    C->DrawFocusRect(R);
    FFocusOpen = false;
  }
}

void THtmlRender::BodyTag(std::u16string_view Tag) {
  if (!Painting()) return;
  if (HasAttribute(Tag, u"BACKGROUND")) BodyBackground(HtmlTagValue(Tag, u"BACKGROUND", true));
  if (!HasAttribute(Tag, u"BGCOLOR")) return;
  const String V = HtmlTagValue(Tag, u"BGCOLOR", false);
  TColor Color;
  if (V.find(u"CL") != String::npos)
    Color = HtmlColorByName(LowerCase(V));
  else if (const size_t Hash = V.find(u'#'); Hash != String::npos)
    Color = HtmlHexColor(V.substr(Hash));
  else
    return;
  const TColor Pen = C->Pen()->Color();
  SetPenColor(C, Color);
  SetBrushColor(C, Color);
  C->Rectangle(A.Rect);
  C->Pen()->SetColor(Pen);
  FFontBgSaved = Color;
}

void THtmlRender::FontTag(std::u16string_view Tag) {
  TFont* F = C->Font();
  if (HasAttribute(Tag, u"FACE")) F->SetName(HtmlTagValue(Tag, u"FACE", false));
  if (HasAttribute(Tag, u" COLOR") && !A.IgnoreColors) {
    const String V = HtmlTagValue(Tag, u" COLOR", false);
    if (!V.empty()) F->SetColor(ColorValue(V, clNone));
  }
  if (HasAttribute(Tag, u"BGCOLOR") && Painting() && !A.IgnoreColors) {
    FFontBgSaved = BrushColorOrNone();
    SetBrushColor(C, ColorValue(HtmlTagValue(Tag, u"BGCOLOR", false), clNone));
  }
  const String Up = UpperCase(String(Tag));
  if (const size_t At = Up.find(u"SIZE"); At != String::npos) {
    const size_t Eq = Up.find(u'=', At);
    const size_t Quote = Eq == String::npos ? String::npos : Up.find(u'"', Eq);
    const int32_t N = Quote == String::npos ? 0 : LeadingInt(Up.substr(Quote + 1));
    static const int Sizes[] = {8, 10, 12, 14, 16};
    const int Points = N >= 1 && N <= 5 ? Sizes[N - 1] : N;
    // A size of no points or less keeps the font; a huge one is kept to what a cell can show.
    if (Points > 0) F->SetSize(std::min(Points, 1000));
  }
}

void THtmlRender::FontEnd() {
  TFont* F = C->Font();
  F->SetName(FBaseFont.Name());
  F->SetHeight(FBaseFont.Height());
  if (Painting() && !A.IgnoreColors) {
    F->SetColor(FBaseFont.Color());
    SetBrushColor(C, FFontBgSaved);
  }
}

void THtmlRender::ParagraphTag(std::u16string_view Tag) {
  if (HasAttribute(Tag, u"ALIGN")) {
    const String V = HtmlTagValue(Tag, u"ALIGN", false);
    if (V.find(u"RIGHT") != String::npos) FAlign = alRightAlign;
    if (V.find(u"LEFT") != String::npos) FAlign = alLeftAlign;
    if (V.find(u"CENTER") != String::npos) FAlign = alCenterAlign;
  }
  if (HasAttribute(Tag, u"INDENT")) FIndent = LeadingInt(HtmlTagValue(Tag, u"INDENT", false));
  if (HasAttribute(Tag, u"BGCOLOR") && Painting()) {
    const TColor Color = ColorValue(HtmlTagValue(Tag, u"BGCOLOR", false), clNone);
    FParaBackground = true;
    FParaBgSaved = BrushColorOrNone();
    SetBrushColor(C, Color);
    SetPenColor(C, Color);
    FillBand(TRect(A.Rect.Left, FLineRect.Top, A.Rect.Right, Coord(static_cast<int64_t>(FLineRect.Top) + FLineHeight)),
             Color);
  }
}

void THtmlRender::IndentTag(std::u16string_view Tag) {
  String V;
  int32_t N = 0;
  if (!QuotedAfterLetter(Tag, u'X', V) || !TryStrToInt(V, N)) return;
  if (N <= FLineWidth) return;
  FLineWidth = N;
  FX = static_cast<int64_t>(FLineRect.Left) + N;
}

void THtmlRender::ListItem() {
  if (FListItemSeen) {
    FItemWraps = true;
    return;
  }
  FListItemSeen = true;
  FLineWidth += 12 * static_cast<int64_t>(FListDepth);
  FX += 12 * static_cast<int64_t>(FListDepth) - 12;
  if (Painting()) {
    TFont* F = C->Font();
    const String Name = F->Name();
    F->SetName(u"Symbol");
    // The symbol font's bullet (its character 0xB7) is U+2022.
    String Bullet(1, FListDepth % 2 != 0 ? Char(0x2022) : u'o');
    TRect R(Coord(FX), FLineRect.Top, FLineRect.Right, FLineRect.Bottom - FBaseline);
    DrawTextEx(C->Handle(), Bullet.data(), 1, &R, FFlags, nullptr);
    F->SetName(Name);
  }
  FX += 12;
  FTrailingSpace = 0;
}

void THtmlRender::HorizontalRule() {
  FLineEnded = true;
  if (!Painting()) return;
  const TColor Pen = C->Pen()->Color();
  C->Pen()->SetColor(clBlack);
  C->MoveTo(FLineRect.Left, FLineRect.Bottom + 1);
  C->LineTo(FLineRect.Right, FLineRect.Bottom + 1);
  C->Pen()->SetColor(Pen);
}

void THtmlRender::RotateTag(std::u16string_view Tag) {
  String V;
  const int32_t Angle = QuotedAfterLetter(Tag, u'A', V) ? LeadingInt(V) : 0;
  FRotateSaved = C->Font()->Orientation();
  C->Font()->SetOrientation(static_cast<int>((static_cast<int64_t>(Angle) * 10) % 3600));
}

// ---------------------------------------------------------------------------------------------
// Helpers

TColor THtmlRender::BrushColorOrNone() {
  return C->Brush()->Style() == bsClear ? clNone : C->Brush()->Color();
}

void THtmlRender::FillBand(const TRect& R, TColor Color) {
  SetBrushColor(C, Color);
  SetPenColor(C, Color);
  C->Rectangle(R);
}

bool THtmlRender::DrawThemed(LPCWSTR ClassList, int Part, int State, const TRect& R) {
  const TThemeBinding& B = XPVSThemeBinding;
  if (!B.OpenThemeData() || !B.DrawThemeBackground() || !B.CloseThemeData()) return false;
  HTHEME Theme = B.OpenThemeData()(A.ThemeWindow, ClassList);
  if (!Theme) return false;
  B.DrawThemeBackground()(Theme, C->Handle(), Part, State, &R, nullptr);
  B.CloseThemeData()(Theme);
  return true;
}

bool THtmlRender::FitItem(int W, int H) {
  const int64_t RectWidth = static_cast<int64_t>(FLineRect.Right) - FLineRect.Left;
  if (FFirst && FLineWidth > 0 && W < RectWidth && FLineWidth + W > RectWidth) {
    FItemWraps = true;
    return false;
  }
  FLineWidth += W;
  FX += W;
  FLineHeight = std::max(FLineHeight, H);
  FTrailingSpace = 0;
  return true;
}

// ---------------------------------------------------------------------------------------------

bool DrawHtmlText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, int32_t HitX,
                  int32_t HitY, int32_t FocusedAnchor, int32_t HoveredAnchor, int32_t ShadowOffset, bool HitTestOnly,
                  bool MeasureOnly, bool PrintMode, bool IgnoreColors, bool BlinkVisible, bool UnderlineOnHoverOnly,
                  bool WordWrap, bool MouseButtonHeld, double PrintScale, TColor AnchorColor, TColor HoverBackColor,
                  TColor HoverTextColor, TColor ShadowColor, String& HitHref, String& PlainText, String& FocusedHref,
                  String& HitTitle, int32_t& TextWidthOut, int32_t& TextHeightOut, int32_t& AnchorCount,
                  int32_t& HitAnchorIndex, TRect& HitAnchorRect, TRect& HitControlRect, String& ControlID,
                  String& ControlValue, String& ControlType, THTMLPictureCache* PictureCache,
                  TPictureContainer* PicContainer, HWND ThemeWindow, uint8_t BiDiMode) {
  if (!Canvas) return false;
  const THtmlCall Call{Canvas,        Text,           Rect,           Images,         HitX,
                       HitY,          FocusedAnchor,  HoveredAnchor,  ShadowOffset,   HitTestOnly,
                       MeasureOnly,   PrintMode,      IgnoreColors,   BlinkVisible,   UnderlineOnHoverOnly,
                       WordWrap,      MouseButtonHeld, PrintScale,    AnchorColor,    HoverBackColor,
                       HoverTextColor, ShadowColor,   HitHref,        PlainText,      FocusedHref,
                       HitTitle,      TextWidthOut,   TextHeightOut,  AnchorCount,    HitAnchorIndex,
                       HitAnchorRect, HitControlRect, ControlID,      ControlValue,   ControlType,
                       PictureCache,  PicContainer,   ThemeWindow,    BiDiMode};
  THtmlRender R(Call);
  return R.Run();
}
