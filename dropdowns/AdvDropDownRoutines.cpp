// The drop-down module's plain drawing and text routines.

#include <algorithm>
#include <cmath>

#include "dropdowns/AdvDropDown.h"
#include "platform/rtl/SysUtils.h"

Char ThousandSeparatorChar() { return FormatSettings.ThousandSeparator; }
Char DecimalSeparatorChar() { return FormatSettings.DecimalSeparator; }

namespace {
int RValue(int32_t c) { return c & 0xFF; }
int GValue(int32_t c) { return (c >> 8) & 0xFF; }
int BValue(int32_t c) { return (c >> 16) & 0xFF; }
TColor MakeRGB(int64_t r, int64_t g, int64_t b) {
  auto clamp = [](int64_t v) { return static_cast<TColor>(std::clamp<int64_t>(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}
}  // namespace

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect, bool Horizontal) {
  if (Canvas == nullptr) return;
  if (Horizontal) Rect.Right -= 1;
  else Rect.Bottom -= 1;
  if (Steps == 0) Steps = 1;
  const int32_t from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
  const int dr = RValue(to) - RValue(from), dg = GValue(to) - GValue(from), db = BValue(to) - BValue(from);
  const int size = Horizontal ? Rect.Width() : Rect.Height();
  for (int i = 0; i < Steps; ++i) {
    const TColor c = MakeRGB(RValue(from) + Round(double(i) * dr / Steps), GValue(from) + Round(double(i) * dg / Steps),
                             BValue(from) + Round(double(i) * db / Steps));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    const int start = static_cast<int>(Round(double(i) * size / Steps));
    const int end = start + static_cast<int>(Round(double(size) / Steps)) + 1;
    if (Horizontal) Canvas->Rectangle(Rect.Left + start, Rect.Top, Rect.Left + end, Rect.Bottom);
    else Canvas->Rectangle(Rect.Left, Rect.Top + start, Rect.Right, Rect.Top + end);
  }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  const int32_t c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  const double p = Percent / 100.0;
  return MakeRGB(Round(p * RValue(c1) + (1 - p) * RValue(c2)), Round(p * GValue(c1) + (1 - p) * GValue(c2)),
                 Round(p * BValue(c1) + (1 - p) * BValue(c2)));
}

TColor ShadeColor(TColor Color, int PercentRed, int PercentGreen, int PercentBlue) {
  const int32_t c = ColorToRGB(Color);
  auto shade = [](int channel, int percent) -> int64_t {
    if (channel == 0) return std::max(0, percent);
    return Round(std::min(100, 100 + percent) / 100.0 * channel);
  };
  return MakeRGB(shade(RValue(c), PercentRed), shade(GValue(c), PercentGreen), shade(BValue(c), PercentBlue));
}

void DrawGradientRect(TCanvas* Canvas, TRect Rect, TColor Color, TColor ColorTo, TColor BorderColor, int PenWidth,
                      TGradientDirection Direction) {
  if (Canvas == nullptr) return;
  if (ColorTo != clNone) {
    DrawGradient(Canvas, Color, ColorTo, 80, Rect, Direction == gdHorizontal);
  } else if (Color != clNone) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect);
  }
  if (BorderColor != clNone && PenWidth > 0) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetWidth(PenWidth);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Rectangle(Rect);
    Canvas->Pen()->SetWidth(1);
  }
}

void DrawButtonContent(TCanvas* Canvas, TRect Rect, const String& Caption, TCustomImageList* Images, int ImageIndex) {
  if (Canvas == nullptr) return;
  TRect text = Rect;
  bool image = false;
  if (ImageIndex >= 0 && Images != nullptr) {
    Images->Draw(Canvas, Rect.Left + 4, Rect.Top + (Rect.Height() - Images->Height()) / 2, ImageIndex);
    text.Left = Rect.Left + 4 + Images->Width() + 4;
    image = true;
  }
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  if (!image) flags |= DT_CENTER;
  RECT r = text;
  DrawText(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &r, flags);
}

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, TRect Dest) {
  if (Canvas == nullptr || Bitmap == nullptr || Bitmap->Empty()) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  TBitmap work(w, h);
  work.Canvas()->Brush()->SetColor(BackColor);
  work.Canvas()->FillRect(Rect(0, 0, w, h));
  work.Canvas()->BrushCopy(Rect(0, 0, w, h), Bitmap, Rect(0, 0, w, h), Bitmap->Canvas()->Pixels(0, 0));
  Canvas->CopyRect(Dest, work.Canvas(), Rect(0, 0, w, h));
}

TSize GetTextSize(TCanvas* Canvas, const String& Text) {
  if (Canvas == nullptr || Text.empty()) return TSize{0, 0};
  RECT r = Rect(0, 0, 1000, 500);
  DrawText(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return TSize{r.Width(), r.Height()};
}

String TruncateText(TCanvas* Canvas, const String& Text, int MaxWidth, bool AddEllipsis) {
  if (Canvas == nullptr || Canvas->TextWidth(Text) <= MaxWidth) return Text;
  for (size_t n = Text.size(); n-- > 0;) {
    String candidate = Text.substr(0, n);
    if (AddEllipsis) candidate += u"...";
    if (Canvas->TextWidth(candidate) < MaxWidth) return candidate;
  }
  return Text;
}

int ClassifyNumericText(const String& Text) {
  if (Text.empty()) return 2;
  const Char thousand = ThousandSeparatorChar(), decimal = DecimalSeparatorChar();
  bool isInt = true, isFloat = true, isHex = true;
  int minus = 0, decimals = 0;
  int lastThousand = -1;  // 1-based position of the previous thousand separator
  for (size_t i = 0; i < Text.size(); ++i) {
    const Char c = Text[i];
    const bool digit = c >= u'0' && c <= u'9';
    if (!digit && c != u'-') isInt = false;
    if (!digit && c != u',' && c != u'-' && c != u'.') isFloat = false;
    if (!digit && !(c >= u'A' && c <= u'F') && !(c >= u'a' && c <= u'f') && c != u'-') isHex = false;
    if (c == thousand) {
      const int pos = int(i) + 1;
      if (pos - lastThousand < 3) isFloat = false;
      lastThousand = pos;
    }
    if (c == u'-') ++minus;
    if (c == decimal) ++decimals;
  }
  if (minus > 1 || decimals > 1) return 2;
  if (isInt) return 0;
  if (isFloat) return 1;
  if (isHex) return 5;
  return 2;
}

int HexDigitValue(Char Ch) {
  if (Ch >= u'0' && Ch <= u'9') return Ch - u'0';
  if (Ch >= u'A' && Ch <= u'F') return Ch - u'A' + 10;
  if (Ch >= u'a' && Ch <= u'f') return Ch - u'a' + 10;
  return 0;
}

String ApplyCaseSensitivity(const String& Text, bool CaseSensitive) {
  return CaseSensitive ? Text : AnsiUpperCase(Text);
}

bool StartsWithCased(const String& Text, size_t N, const String& Key, bool CaseSensitive) {
  if (Text.size() < N) return false;
  if (CaseSensitive) return Text.compare(0, N, Key) == 0;
  for (size_t i = 0; i < N; ++i) {
    const Char c = Text[i];
    if (c >= 0x80) return ApplyCaseSensitivity(Text.substr(0, N), false) == Key;
    if ((c >= u'a' && c <= u'z' ? Char(c - 32) : c) != Key[i]) return false;
  }
  return true;
}
