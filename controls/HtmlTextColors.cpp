// Colour values of the mini-HTML tags: the 40 colour names and "#RRGGBB".
#include "controls/HtmlText.h"

namespace {

struct TNamedColor {
  const char16_t* Name;
  TColor Color;
};

const TNamedColor PlainColors[] = {
    {u"clred", clRed},       {u"clblack", clBlack}, {u"clblue", clBlue},     {u"clgreen", clGreen},
    {u"claqua", clAqua},     {u"clyellow", clYellow}, {u"clfuchsia", clFuchsia}, {u"clwhite", clWhite},
    {u"cllime", clLime},     {u"clsilver", clSilver}, {u"clgray", clGray},     {u"clolive", clOlive},
    {u"clnavy", clNavy},     {u"clpurple", clPurple}, {u"clteal", clTeal},     {u"clmaroon", clMaroon},
};

const TNamedColor SystemColors[] = {
    {u"clbackground", clBackground},
    {u"clactivecaption", clActiveCaption},
    {u"clinactivecaption", clInactiveCaption},
    {u"clmenu", clMenu},
    {u"clwindow", clWindow},
    {u"clwindowframe", clWindowFrame},
    {u"clmenutext", clMenuText},
    {u"clwindowtext", clWindowText},
    {u"clcaptiontext", clCaptionText},
    {u"clactiveborder", clActiveBorder},
    {u"clinactiveborder", clInactiveBorder},
    {u"clappworkspace", clAppWorkSpace},
    {u"clhighlight", clHighlight},
    {u"clhighlighttext", clHighlightText},
    {u"clbtnface", clBtnFace},
    {u"clbtnshadow", clBtnShadow},
    {u"clgraytext", clGrayText},
    {u"clbtntext", clBtnText},
    {u"clinactivecaptiontext", clInactiveCaptionText},
    {u"clbtnhighlight", clBtnHighlight},
    {u"cl3ddkshadow", cl3DDkShadow},
    {u"cl3dlight", cl3DLight},
    {u"clinfotext", clInfoText},
    {u"clinfobk", clInfoBk},
};

template <size_t N>
TColor Lookup(const TNamedColor (&Table)[N], const String& Name) {
  for (const TNamedColor& C : Table)
    if (Name == C.Name) return C.Color;
  return 0;
}

int32_t HexDigit(Char C) { return C < u'A' ? C - 48 : C - 55; }

}  // namespace

TColor HtmlColorByName(const String& Name) {
  // "clblack" is 0 like a name not found, so it also falls through to the system colours.
  const TColor C = Lookup(PlainColors, Name);
  return C != 0 ? C : Lookup(SystemColors, Name);
}

int32_t HexPairToInt(const String& Text) {
  if (Text.size() < 2) return 0;
  return HexDigit(Text[0]) * 16 + HexDigit(Text[1]);
}

TColor HtmlHexColor(const String& Text) {
  // A digit outside 0-9 and A-F reads beyond a byte; masking keeps it out of its neighbour.
  auto Pair = [&](size_t At) { return At < Text.size() ? HexPairToInt(Text.substr(At, 2)) & 0xFF : 0; };
  return static_cast<TColor>(Pair(1) | Pair(3) << 8 | Pair(5) << 16);
}
