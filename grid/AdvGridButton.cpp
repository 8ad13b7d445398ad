#include "grid/AdvGridButton.h"

#include <algorithm>

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "dropdowns/AdvDropDown.h"
#include "platform/ui/Menus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

struct TLookRow {
  TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo, BorderDown,
      BorderHot;
  bool Rounded;
};

constexpr TLookRow Looks[] = {
    {TColor(0x00EDF1F1), TColor(0x00DFEBEB), TColor(0x00FAFCFC), TColor(0x00E5ECED), TColor(0x00E0E6E7),
     TColor(0x00D8E0E1), TColor(0x00FFFFFF), clNone, TColor(0x00AF987A), TColor(0x00C3CECE), true},
    {clBtnFace, clNone, TColor(0x00EED2C1), clNone, TColor(0x00E2B598), clNone, TColor(0x00E8E6E1), clNone,
     TColor(0x00C56A31), TColor(0x00C56A31), false},
    {TColor(0x00FDEADA), TColor(0x00E4AE88), TColor(0x00CCF4FF), TColor(0x0091D0FF), TColor(0x004E91FE),
     TColor(0x008ED3FF), TColor(0x008ED3FF), TColor(0x0055ADFF), TColor(0x00000000), TColor(0x00000000), false},
    {TColor(0x00CFF0EA), TColor(0x008CC0B1), TColor(0x00CCF4FF), TColor(0x0091D0FF), TColor(0x004E91FE),
     TColor(0x008ED3FF), TColor(0x008ED3FF), TColor(0x0055ADFF), TColor(0x00000000), TColor(0x00000000), false},
    {TColor(0x00ECE2E1), TColor(0x00B39698), TColor(0x00CCF4FF), TColor(0x0091D0FF), TColor(0x004E91FE),
     TColor(0x008ED3FF), TColor(0x008ED3FF), TColor(0x0055ADFF), TColor(0x00000000), TColor(0x00000000), false},
    {clBtnFace, clNone, clBtnFace, clNone, TColor(0x00D8D3D2), clNone, TColor(0x00CAC7C7), clNone, clNone, clNone,
     false},
    {TColor(0x00CAFFFF), TColor(0x00A6FFFF), TColor(0x00A8F0FD), TColor(0x007CE9FC), TColor(0x004DE0FB),
     TColor(0x007AE9FC), TColor(0x00B5E6F2), TColor(0x009CDDED), TColor(0x00808080), TColor(0x00808080), false},
};

bool Empty(const TBitmap* B) { return B == nullptr || B->Empty(); }

}  // namespace

void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps,
                        TColor BorderColor) {
  // The drop-down routine bands a rectangle one pixel short in the gradient's direction.
  TRect bands = Rect;
  if (Horizontal) ++bands.Right;
  else ++bands.Bottom;
  DrawGradient(Canvas, FromColor, ToColor, Steps, bands, Horizontal);
  if (BorderColor != clNone) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

TAdvGridButton::TAdvGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  SetColor(clBtnFace);
  TControlStyle style = ControlStyle();
  style.Include(csCaptureMouse);
  style.Include(csDoubleClicks);
  style.Exclude(csClickEvents);  // the button clicks itself, after its own rules
  SetControlStyle(style);
  FIsComCtl6 = HasThemedComCtl();
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TAdvGridButton::~TAdvGridButton() { Destroying(); }

void TAdvGridButton::Loaded() {
  TGraphicControl::Loaded();
  if (FShaded) MakeShade();
  if (FAutoThemeAdapt) ThemeAdapt();
}

void TAdvGridButton::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && FDropDownMenu != nullptr && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  TGraphicControl::Notification(AComponent, Operation);
}

void TAdvGridButton::Click() { TGraphicControl::Click(); }

// ---------------------------------------------------------------------------
// Properties

void TAdvGridButton::SetDown(bool Value) {
  if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    Invalidate();
    return;
  }
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Invalidate();
  }
  if (Value) UpdateExclusive();
}

void TAdvGridButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TAdvGridButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TAdvGridButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage msg{CM_BUTTONPRESSED, WPARAM(FGroupIndex), reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0};
  Parent()->Broadcast(msg);
}

void TAdvGridButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
      auto* sender = dynamic_cast<TAdvGridButton*>(reinterpret_cast<TControl*>(Message.LParam));
      if (sender != nullptr && sender != this && int(Message.WParam) == FGroupIndex) {
        if (sender->FDown && FDown) {
          FDown = false;
          FState = bsUp;
          Invalidate();
        }
        FAllowAllUp = sender->FAllowAllUp;
      }
      return;
    }
    case CM_DIALOGCHAR:
      if (Enabled() && Visible() && Parent() != nullptr && Parent()->Showing() &&
          IsAccel(Char(Message.WParam), Caption())) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    case WM_THEMECHANGED:
    case CM_SYSFONTCHANGED:
      if (FAutoThemeAdapt) ThemeAdapt();
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(Message);
}

void TAdvGridButton::SetStyle(TAdvGridButtonStyle Value) {
  FStyle = Value;
  Invalidate();
}

void TAdvGridButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TAdvGridButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TAdvGridButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TAdvGridButton::SetMargin(int Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TAdvGridButton::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  Invalidate();
}

void TAdvGridButton::SetRounded(bool Value) {
  FRounded = Value;
  Invalidate();
}

void TAdvGridButton::SetDropDownButton(bool Value) {
  FDropDownButton = Value;
  Invalidate();
}

void TAdvGridButton::SetDropDownMenu(TPopupMenu* Value) {
  FDropDownMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAdvGridButton::SetShaded(bool Value) {
  FShaded = Value;
  if (Value && !IsLoading()) MakeShade();
}

void TAdvGridButton::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  if (Value) ThemeAdapt();
}

void TAdvGridButton::SetColorTo(TColor Value) {
  FColorTo = Value;
  Invalidate();
}

void TAdvGridButton::SetColorChecked(TColor Value) {
  FColorChecked = Value;
  Invalidate();
}

void TAdvGridButton::SetColorCheckedTo(TColor Value) {
  FColorCheckedTo = Value;
  Invalidate();
}

void TAdvGridButton::SetBorderColor(TColor Value) {
  FBorderColor = Value;
  Invalidate();
}

void TAdvGridButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (FGlyphDisabled->Empty()) MakeDisabledGlyph();
  if (FShaded && !IsLoading()) MakeShade();
  Invalidate();
}

void TAdvGridButton::SetLook(int Value) {
  FLook = Value;
  if (Value < 0 || Value >= int(std::size(Looks))) return;
  const TLookRow& l = Looks[Value];
  SetColor(l.Color);
  FColorTo = l.ColorTo;
  FColorHot = l.ColorHot;
  FColorHotTo = l.ColorHotTo;
  FColorDown = l.ColorDown;
  FColorDownTo = l.ColorDownTo;
  FColorChecked = l.ColorChecked;
  FColorCheckedTo = l.ColorCheckedTo;
  FBorderDownColor = l.BorderDown;
  FBorderHotColor = l.BorderHot;
  FBorderColor = clNone;
  FRounded = l.Rounded;
  FFlat = true;
  Invalidate();
}

void TAdvGridButton::ThemeAdapt() {
  // The desktop's colour scheme picks looks 2 to 4; without one, look 1.
  static const int byScheme[] = {1, 2, 3, 4};
  const bool styled = IsWinXPOrLater() && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive()();
  const int scheme = styled ? GetXPColorScheme() : 0;
  SetLook(byScheme[std::clamp(scheme, 0, 3)]);
}

// ---------------------------------------------------------------------------
// Derived glyphs

void TAdvGridButton::MakeDisabledGlyph() {
  if (FGlyph->Empty()) return;
  FGlyphDisabled->Assign(FGlyph.get());
  for (int y = 0; y < FGlyphDisabled->Height(); ++y) {
    auto* row = static_cast<uint32_t*>(FGlyphDisabled->ScanLine(y));
    for (int x = 0; x < FGlyphDisabled->Width(); ++x) {
      const uint32_t p = row[x];
      const uint32_t g = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3 / 2 + 96;
      row[x] = (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
    }
  }
}

void TAdvGridButton::MakeShade() {
  if (FGlyph->Empty()) {
    FGlyphShade->Assign(nullptr);
    return;
  }
  FGlyphShade->Assign(FGlyph.get());
  const int h = FGlyphShade->Height();
  const uint32_t clear = static_cast<uint32_t*>(FGlyphShade->ScanLine(h - 1))[0] & 0xFFFFFF;
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint32_t*>(FGlyphShade->ScanLine(y));
    for (int x = 0; x < FGlyphShade->Width(); ++x)
      if ((row[x] & 0xFFFFFF) != clear) row[x] = (row[x] & 0xFF000000u) | 0x808080;
  }
}

// ---------------------------------------------------------------------------
// Mouse

bool TAdvGridButton::Inside(int X, int Y) const { return X >= 0 && X < Width() && Y >= 0 && Y <= Height(); }

TButtonState TAdvGridButton::DragState(int X, int Y) const {
  TButtonState s = FDown ? bsExclusive : bsUp;
  if (Inside(X, Y)) s = FDown ? bsExclusive : bsDown;
  if (FStyle == tasCheck && FDown) s = bsDown;
  return s;
}

void TAdvGridButton::UpdateHot() {
  POINT p{};
  GetCursorPos(&p);
  const TPoint at = Parent() != nullptr ? ScreenToClient(TPoint(p.X, p.Y)) : TPoint(-1, -1);
  const bool hot = Enabled() && Inside(at.X, at.Y) && at.Y < Height();
  if (hot != FMouseInControl) {
    FMouseInControl = hot;
    Invalidate();
  }
}

void TAdvGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (FDropDownButton && X > Width() - 12) {
    FState = bsUp;
    if (OnDropDown) OnDropDown(this);
    if (FDropDownMenu != nullptr) {
      const TPoint at = ClientToScreen(TPoint(0, Height()));
      FDropDownMenu->Popup(at.X, at.Y);
    }
    return;
  }
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  if (FStyle == tasCheck) {
    FState = bsDown;
    Repaint();
  }
  FDragging = true;
}

void TAdvGridButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FDragging) {
    const TButtonState s = DragState(X, Y);
    if (s != FState) {
      FState = s;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    UpdateHot();
  }
}

void TAdvGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = Inside(X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
    if (FStyle == tasCheck) {
      FDown = !FDown;
      FState = bsUp;
    }
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (inside) Click();
  UpdateHot();
}

void TAdvGridButton::DblClick() {
  if (FDown) TGraphicControl::DblClick();
}

void TAdvGridButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (!FMouseInControl && Enabled() && GetCapture() == nullptr) {
    FMouseInControl = true;
    Invalidate();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TAdvGridButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (FMouseInControl && Enabled() && !FDragging) {
    FMouseInControl = false;
    Invalidate();
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

void TAdvGridButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  UpdateHot();
  Invalidate();
}

void TAdvGridButton::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  Invalidate();
}

void TAdvGridButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TAdvGridButton::PaintFace(TCanvas* C, TRect& R, bool Hot) {
  const bool checked = FStyle == tasCheck && FDown;
  C->Brush()->SetStyle(bsSolid);
  if (FBorderDownColor == clNone || FRounded) InflateRect(&R, -1, -1);
  auto fill = [&](TColor Color, TColor ColorTo, TColor Pen) {
    if (ColorTo == clNone) {
      C->Brush()->SetColor(Color);
      C->Pen()->SetColor(Pen == clNone ? Color : Pen);
      C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    } else {
      DrawButtonGradient(C, Color, ColorTo, false, R, 16, Pen);
    }
  };
  if (!Hot) {
    if (checked) {
      fill(FColorChecked, FColorCheckedTo, FBorderDownColor);
    } else {
      fill(Color(), FColorTo, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
    }
    if (FBorderColor != clNone) {
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(FBorderColor);
      if (FRounded) {
        InflateRect(&R, 1, 1);
        C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 8, 8);
      } else {
        C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
      }
    }
  } else {
    TColor color = FColorHot, colorTo = FColorHotTo, pen = FBorderHotColor;
    if (FState == bsDown) {
      color = FColorDown;
      colorTo = FColorDownTo;
      pen = FBorderDownColor;
    } else if (checked) {
      color = FColorChecked;
      colorTo = FColorCheckedTo;
      pen = FBorderDownColor;
    }
    if (FRounded) pen = clNone;
    fill(color, colorTo, pen);
    const TColor frame = FState == bsDown ? FBorderDownColor : FBorderHotColor;
    if (FRounded) {
      InflateRect(&R, 1, 1);
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(frame);
      C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 8, 8);
    }
    if (FDropDownButton && frame != clNone) {
      C->Pen()->SetColor(frame);
      C->MoveTo(R.Right - 12, R.Top);
      C->LineTo(R.Right - 12, R.Bottom);
    }
  }
  C->Brush()->SetStyle(bsSolid);
  InflateRect(&R, -1, -1);
}

void TAdvGridButton::PaintContent(TCanvas* C, const TRect& R, TButtonState DrawState, TPoint Offset) {
  const bool pressed = DrawState == bsDown || DrawState == bsExclusive;
  // The glyph for the state, falling back to Glyph.
  TBitmap* glyph = FGlyph.get();
  if (!Enabled()) glyph = FGlyphDisabled.get();
  else if (pressed) glyph = FGlyphDown.get();
  else if (FMouseInControl && !ComponentState().Contains(csDesigning)) glyph = FGlyphHot.get();
  if (Empty(glyph)) glyph = FGlyph.get();
  const bool hasGlyph = !Empty(glyph);
  const String caption = FShowCaption ? Caption() : String();
  C->Font()->Assign(Font());
  TRect tr(0, 0, R.Width(), 0);
  if (!caption.empty()) DrawText(C->Handle(), caption.c_str(), -1, &tr, DT_SINGLELINE | DT_CALCRECT);
  const int tw = caption.empty() ? 0 : tr.Width(), th = caption.empty() ? 0 : tr.Height();
  const int gw = hasGlyph ? glyph->Width() : 0, gh = hasGlyph ? glyph->Height() : 0;
  TPoint gp(0, 0), tp(0, 0);
  if (caption.empty()) {
    gp = TPoint(0, 0);  // no caption: the glyph at the corner
  } else {
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int room = horizontal ? R.Width() : R.Height();
    const int gs = horizontal ? gw : gh, ts = horizontal ? tw : th;
    int spacing = (gs == 0 || ts == 0) ? 0 : FSpacing, margin = FMargin;
    if (margin == -1 && spacing == -1) {
      margin = spacing = (room - gs - ts) / 3;
    } else if (margin == -1) {
      margin = (room - gs - spacing - ts) / 2;
    } else if (spacing == -1) {
      spacing = (room - margin - gs - ts) / 2;
    }
    spacing = std::max(spacing, 0);
    // Along the layout: the glyph at the margin, the caption after the spacing.
    int g = margin, t = margin + gs + spacing;
    if (FLayout == blGlyphRight || FLayout == blGlyphBottom) {
      g = room - margin - gs;
      t = g - spacing - ts;
    }
    if (horizontal) {
      gp = TPoint(R.Left + g, R.Top + (R.Height() - gh) / 2);
      tp = TPoint(R.Left + t, R.Top + (R.Height() - th) / 2);
    } else {
      gp = TPoint(R.Left + (R.Width() - gw) / 2, R.Top + g);
      tp = TPoint(R.Left + (R.Width() - tw) / 2, R.Top + t);
    }
  }
  gp = TPoint(gp.X + Offset.X, gp.Y + Offset.Y);
  tp = TPoint(tp.X + Offset.X, tp.Y + Offset.Y);
  const bool hotShade = FMouseInControl && FShaded && Enabled() && DrawState != bsDown;
  if (hasGlyph) {
    if (hotShade && !FGlyphShade->Empty()) DrawButtonGlyph(C, FGlyphShade.get(), 1, 0, gp.X + 2, gp.Y + 2);
    DrawButtonGlyph(C, glyph, 1, 0, gp.X, gp.Y);
  }
  if (caption.empty()) return;
  if (hotShade && FFlat && !pressed && !ComponentState().Contains(csDesigning)) tp = TPoint(tp.X + 1, tp.Y + 1);
  C->Brush()->SetStyle(bsClear);
  RECT cr = Bounds(tp.X, tp.Y, tw, th);
  const UINT flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  if (!Enabled()) {
    RECT hr = Bounds(tp.X + 1, tp.Y + 1, tw, th);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C->Handle(), caption.c_str(), -1, &hr, flags);
    C->Font()->SetColor(clBtnShadow);
  }
  DrawText(C->Handle(), caption.c_str(), -1, &cr, flags);
}

void TAdvGridButton::Paint() {
  TCanvas* c = Canvas();
  // 1. The state.
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  if (FStyle == tasCheck && FDown) FState = bsDown;
  c->Font()->Assign(Font());
  TRect r = ClientRect();
  const bool designing = ComponentState().Contains(csDesigning);
  const bool hot = FMouseInControl && Enabled() && !designing;
  const bool pressed = FState == bsDown || FState == bsExclusive;
  // 2, 3. The face.
  if (FFlat) {
    PaintFace(c, r, hot);
  } else if (FAutoXPStyle && IsWinXPOrLater() && FIsComCtl6 && XPVSThemeBinding.Loaded() &&
             XPVSThemeBinding.IsThemeActive()()) {
    if (HTHEME theme = XPVSThemeBinding.OpenThemeData()(nullptr, u"button")) {
      const int state = pressed ? TS_PRESSED : (FMouseInControl ? TS_HOT : TS_NORMAL);
      RECT rr = r;
      XPVSThemeBinding.DrawThemeBackground()(theme, c->Handle(), BP_PUSHBUTTON, state, &rr, nullptr);
      XPVSThemeBinding.CloseThemeData()(theme);
    }
  } else {
    RECT rr = r;
    DrawFrameControl(c->Handle(), &rr, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    r = rr;
  }
  // 4. The pressed look and the content's offset.
  TPoint offset(0, 0);
  if (pressed) {
    if (FState == bsExclusive && (!FFlat || !hot)) {
      TRect e = r;
      InflateRect(&e, 1, 1);
      DrawButtonGradient(c, FColorChecked, FColorCheckedTo == clNone ? FColorChecked : FColorCheckedTo, false, e, 16,
                         FDown ? FBorderDownColor : FBorderColor);
    }
    if (!FFlat && !designing) offset = TPoint(1, 1);
  } else if (FFlat && hot && FShaded) {
    offset = TPoint(-1, -1);
  }
  // 5. The drop-down part.
  if (FDropDownButton) {
    const int m = r.Top + r.Height() / 2;
    c->Brush()->SetColor(Font()->Color());
    c->Pen()->SetColor(Font()->Color());
    const TPoint tri[] = {TPoint(r.Right - 8, m - 1), TPoint(r.Right - 4, m - 1), TPoint(r.Right - 6, m + 1)};
    c->Polygon(tri, 3);
    r.Right -= 12;
  }
  // 6. The content.
  PaintContent(c, r, FGroupIndex != 0 && FDown ? bsDown : FState, offset);
}
