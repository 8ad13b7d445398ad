#include "grid/AsgCombo.h"

#include "platform/win/Gdi.h"

TAsgCustomCombo::TAsgCustomCombo(TComponent* AOwner) : TAdvCustomCombo(AOwner) {
  FFlatLineColor = clNone;
  FIsWinXP = false;
}

void TAsgCustomCombo::SetIsWinXP(bool Value) {
  if (Value == FIsWinXP) return;
  FIsWinXP = Value;
  Invalidate();
}

void TAsgCustomCombo::SetIsVista(bool Value) {
  if (Value == FIsVista) return;
  FIsVista = Value;
  Invalidate();
}

void TAsgCustomCombo::WMPaint(TWMPaint& Message) {
  HDC dc = Message.DC();
  if (dc == nullptr) {
    TComboBox::WMPaint(Message);
    return;
  }
  if ((FIsVista && FButtonColor == clNone) || !PaintsItself()) {
    TComboBox::WMPaint(Message);
    DrawBorders(dc);
    return;
  }
  const int saved = SaveDC(dc);
  if (Style() != csSimple) {
    // The strip kept from the native painting takes the box's colour, then the button.
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    RECT strip{ClientWidth() - FButtonWidth - 4, 0, ClientWidth() + 2, ClientHeight()};
    FillRect(dc, &strip, brush);
    DeleteObject(brush);
    PaintButton(dc);
  }
  TComboBox::WMPaint(Message);
  RestoreDC(dc, saved);
  DrawBorders(dc);
}

// The borders go with the painting of the window, which follows at once.
void TAsgCustomCombo::WMNCPaint(TMessage& Message) { TComboBox::WMNCPaint(Message); }

void TAsgCustomCombo::DrawBorders(HDC DC) {
  if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
  if (FIsVista && FBorderColor == clNone) return;
  const int saved = SaveDC(DC);
  DrawBorder(DC);
  if (Style() != csSimple && !(FIsWinXP && UseVisualStyles())) PrepareButtonArea(DC);
  RestoreDC(DC, saved);
}

void TAsgCustomCombo::PrepareButtonArea(HDC DC) {
  ExcludeClipRect(DC, ClientWidth() - FButtonWidth + 4, 4, ClientWidth() - 4, ClientHeight() - 4);
  RECT e{ClientWidth() - FButtonWidth - 2, 0, Width(), Height()};
  InflateRect(&e, -2, -2);
  if (!IsActive() && !FHasFocus) {
    RECT face{e.Left, e.Top + 1, e.Right - 1, e.Bottom - 1};
    HBRUSH brush = CreateSolidBrush(ColorToRGB(clBtnFace));
    FillRect(DC, &face, brush);
    DeleteObject(brush);
  }
  ExcludeClipRect(DC, e.Left, e.Top, e.Right, e.Bottom);
}
