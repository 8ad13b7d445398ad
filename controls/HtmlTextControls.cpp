// Embedded CONTROL tags of tagged text: check boxes, radio buttons, edits, combo boxes and
// buttons drawn in the line, their layout and their hit test.
#include <algorithm>

#include "controls/HtmlTextRender_p.h"
#include "controls/VevAzez.h"
#include "platform/win/UxTheme.h"

namespace {

void DrawValue(TCanvas* C, TRect R, const String& Value, UINT Format) {
  String S = Value;
  DrawTextEx(C->Handle(), S.data(), static_cast<int>(S.size()), &R, Format | DT_SINGLELINE | DT_NOPREFIX, nullptr);
}

}  // namespace

void THtmlRender::ControlTag(std::u16string_view Tag) {
  String Type, ID, Value, Width, Height, Prop, MaxLen;
  ParseControlTag(String(Tag.substr(1)), Type, ID, Value, Width, Height, Prop, MaxLen);
  if (Width.empty()) return;  // a CONTROL without WIDTH is not there

  int32_t H = 25;
  if (!TryStrToInt(Height, H)) H = 25;
  H = std::clamp(H, 0, MaxItemExtent);
  const int W = std::clamp(LeadingInt(Width), 0, MaxItemExtent);
  int HitW = W, HitH = FontHeight() + 10;
  const bool Box = Type == u"CHECK" || Type == u"RADIO";
  const int LH = H > 25 ? H - 2 : Box ? 16 : 23;
  FLineHeight = std::max(FLineHeight, LH);
  if (Box) HitW = HitH = 16;

  if (Painting()) PaintControl(Type, Value, Coord(FX), W, H, LH, HitW, Type == u"BUTTON" ? 24 : HitH);
  if (Type == u"BUTTON" || Type == u"COMBO") HitH = 25;

  const int64_t Offset = FLineWidth;
  if (!FitItem(HitW, HitH)) return;
  const int64_t X1 = OffsetX();
  const bool Over = Offset < X1 && X1 < Offset + HitW && FLineRect.Top < A.HitY && A.HitY < FLineRect.Top + HitH;
  if (Over || (A.HitTestOnly && A.ControlID == ID)) {
    FItemHit = true;
    A.HitHref = u"ctrl";
    const int Left = Coord(FLineRect.Left + Offset);
    A.HitControlRect = TRect(Left, FLineRect.Top, Left + HitW, FLineRect.Top + HitH);
    A.ControlValue = Value;
    A.ControlID = ID;
    A.ControlType = Type;
  }
}

void THtmlRender::PaintControl(const String& Type, const String& Value, int X, int W, int H, int LH, int HitW,
                               int HitH) {
  const int B = FLineRect.Bottom;
  const bool Checked = UpperCase(Value) == u"TRUE";
  const bool PointIn = X - 2 < A.HitX && A.HitX < X + HitW - 2 && B - HitH - 2 < A.HitY && A.HitY < B - 2;
  C->Pen()->SetColor(FThemed ? 0xB99D7F : 0x808080);

  auto EditBox = [&] {
    C->Brush()->SetColor(clWhite);
    C->Brush()->SetStyle(bsSolid);
    C->Rectangle(X, B - LH + 4, X + W, B + 2);
  };

  if (Type == u"EDIT" || Type == u"MASK" || Type == u"PASSWORD") {
    EditBox();
    DrawValue(C, TRect(X + 2, B - LH + 4, X + W, B), Type == u"PASSWORD" ? PasswordMask(Value) : Value, DT_VCENTER);
  } else if (Type == u"COMBO") {
    EditBox();
    DrawValue(C, TRect(X + 4, B - LH + 4, X + W - 18, B), Value, DT_VCENTER);
    TRect Button(X + W - 18, B - LH + 5, X + W - 1, B + 1);
    if (!FThemed || !DrawThemed(u"combobox", CP_DROPDOWNBUTTON, PointIn ? TS_HOT : TS_NORMAL, Button))
      DrawFrameControl(C->Handle(), &Button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
  } else if (Type == u"CHECK" || Type == u"RADIO") {
    const bool Check = Type == u"CHECK";
    TRect R = Check ? TRect(X + 2, B - 15, X + 15, B) : TRect(X + 2, B - 14, X + 14, B);
    const int State = Checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    if (!FThemed || !DrawThemed(u"button", Check ? BP_CHECKBOX : BP_RADIOBUTTON, State, R))
      DrawFrameControl(C->Handle(), &R, DFC_BUTTON,
                       (Check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT | (Checked ? DFCS_CHECKED : 0));
  } else if (Type == u"BUTTON") {
    TRect R(X + 2, B - H, X + W - 2, B);
    const int State = A.MouseButtonHeld ? TS_PRESSED : PointIn ? TS_HOT : TS_NORMAL;
    if (!FThemed || !DrawThemed(u"button", BP_PUSHBUTTON, State, R))
      DrawFrameControl(C->Handle(), &R, DFC_BUTTON, DFCS_BUTTONPUSH | (PointIn && A.MouseButtonHeld ? DFCS_PUSHED : 0));
    C->Brush()->SetStyle(bsClear);
    InflateRect(&R, -2, -2);
    DrawValue(C, R, Value, DT_CENTER | DT_VCENTER);
  }
  C->Brush()->SetStyle(bsClear);
}
