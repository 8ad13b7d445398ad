#include "controls/AdvCombo.h"

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "controls/LabelPlacement.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"
#include "platform/win/WinUser.h"

namespace {

constexpr TColor DisabledThemedBorder = 0xB99D7F;

// Frames r on dc in one colour.
void FrameIn(HDC DC, const RECT& r, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FrameRect(DC, &r, brush);
  DeleteObject(brush);
}

void FillIn(HDC DC, const RECT& r, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, &r, brush);
  DeleteObject(brush);
}

}  // namespace

TAdvCustomCombo::TAdvCustomCombo(TComponent* AOwner) : TComboBox(AOwner) {
  FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
  DWORD version = GetVersion();
  int major = int(version & 0xFF), minor = int((version >> 8) & 0xFF);
  FIsWinXP = major > 5 || (major == 5 && minor > 0);
  FIsThemed = HasThemedComCtl();
  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject* Sender) { LabelFontChanged(Sender); };
}

TAdvCustomCombo::~TAdvCustomCombo() {
  if (FLabelFont) FLabelFont->OnChange = nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TAdvCustomCombo::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  SetCtl3D(!Value);
  if (!FFlatParentColor || !FFlat)
    TControl::SetColor(FLoadedColor);
  else if (Parent() != nullptr)
    TControl::SetColor(Parent()->Color());
  Invalidate();
}

void TAdvCustomCombo::SetEtched(bool Value) {
  if (Value == FEtched) return;
  FEtched = Value;
  Invalidate();
}

void TAdvCustomCombo::SetFlatLineColor(TColor Value) {
  FFlatLineColor = Value;
  Invalidate();
}

void TAdvCustomCombo::SetFlatParentColor(bool Value) {
  FFlatParentColor = Value;
  Invalidate();
}

void TAdvCustomCombo::SetButtonWidth(int Value) {
  if (Value < 14 || Value > 32) return;
  FButtonWidth = Value;
  Invalidate();
}

void TAdvCustomCombo::SetDropWidth(int Value) {
  FDropWidth = Value;
  if (FDropWidth > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(FDropWidth));
}

void TAdvCustomCombo::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  if (HandleAllocated()) Invalidate();
}

void TAdvCustomCombo::SetColor(TColor Value) {
  if (IsLoading()) FLoadedColor = Value;
  TControl::SetColor(Value);
}

void TAdvCustomCombo::SetEnabled(bool Value) {
  bool changed = Value != Enabled();
  TComboBox::SetEnabled(Value);
  if (!IsLoading() && changed && FLabel != nullptr && !FLabelAlwaysEnabled) {
    FLabel->SetEnabled(Value);
    UpdateLabel();
  }
}

void TAdvCustomCombo::SetVisible(bool Value) {
  TComboBox::SetVisible(Value);
  if (FLabel != nullptr) FLabel->SetVisible(Value);
}

void TAdvCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel != nullptr && !IsDestroying()) UpdateLabel();
}

String TAdvCustomCombo::Version() const {
  uint32_t nr = static_cast<uint32_t>(GetVersionNr());
  return IntToStr(int(nr >> 24)) + u"." + IntToStr(int((nr >> 16) & 0xFF)) + u"." +
         IntToStr(int((nr >> 8) & 0xFF)) + u"." + IntToStr(int(nr & 0xFF));
}

void TAdvCustomCombo::SelectItem(const String& AString) {
  int i = Items()->IndexOf(AString);
  if (i >= 0) SetItemIndex(i);
}

void TAdvCustomCombo::Init() { FNormalColor = Color(); }

void TAdvCustomCombo::Loaded() {
  TComboBox::Loaded();
  if (FDropWidth > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(FDropWidth));
  FOldColor = FLoadedColor;
  if (!FFlatParentColor || FFlat) TControl::SetColor(FLoadedColor);
  if (FLabel != nullptr) {
    if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (ParentFont()) FLabel->Font()->Assign(Font());
    UpdateLabel();
  }
  Init();
}

// ---------------------------------------------------------------------------
// Label

String TAdvCustomCombo::LabelCaption() const { return FLabel != nullptr ? FLabel->Caption() : String(); }

void TAdvCustomCombo::SetLabelCaption(const String& Value) {
  if (FLabel == nullptr) CreateLabel();
  FLabel->SetCaption(Value);
  UpdateLabel();
}

void TAdvCustomCombo::SetLabelPosition(TLabelPosition Value) {
  FLabelPosition = Value;
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::SetLabelMargin(int Value) {
  FLabelMargin = Value;
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::SetLabelTransparent(bool Value) {
  FLabelTransparent = Value;
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::SetLabelAlwaysEnabled(bool Value) {
  FLabelAlwaysEnabled = Value;
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::SetLabelFont(TFont* Value) {
  if (!ParentFont() && Value != nullptr) FLabelFont->Assign(Value);
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::CreateLabel() {
  FLabel = new TLabel(this);
  FLabel->SetParent(Parent());
  FLabel->SetFocusControl(this);
  FLabel->Font()->Assign(FLabelFont.get());
  FLabel->SetParentFont(ParentFont());
}

void TAdvCustomCombo::LabelFontChanged(TObject*) {
  if (FLabel != nullptr) UpdateLabel();
}

void TAdvCustomCombo::UpdateLabel() {
  if (FLabel == nullptr) return;
  if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
  FLabel->SetTransparent(FLabelTransparent);
  if (!ParentFont()) FLabel->Font()->Assign(FLabelFont.get());

  // The caption's width as drawn, prefix characters hidden.
  RECT r{0, 0, 1000, 255};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FLabel->Font()->Handle());
  const String caption = FLabel->Caption();
  DrawTextW(dc, caption.c_str(), int(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
  SelectObject(dc, old);
  DeleteDC(dc);
  const int w = r.Right - r.Left;

  const TPoint at = AttachedLabelPos(static_cast<uint8_t>(FLabelPosition), BoundsRect(), FLabel->Width(),
                                     FLabel->Height(), w, FLabelMargin, TPoint(FLabel->Left(), FLabel->Top()));
  FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
  FLabel->SetVisible(Visible());
}

void TAdvCustomCombo::SetLabelBold(bool Bold) {
  if (FLabel == nullptr) return;
  TFontStyles style = FLabel->Font()->Style();
  if (Bold) style.Include(fsBold);
  else style.Exclude(fsBold);
  FLabel->Font()->SetStyle(style);
}

void TAdvCustomCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}

// ---------------------------------------------------------------------------
// Focus and mouse

void TAdvCustomCombo::CMEnter(TMessage& Message) {
  // A control made in code is never loaded: the colour it enters with is the one to restore.
  if (FNormalColor == clNone) Init();
  FHasFocus = true;
  RedrawBorders();
  if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
  if (FFocusLabel) SetLabelBold(true);
  TComboBox::CMEnter(Message);
}

void TAdvCustomCombo::CMExit(TMessage& Message) {
  FHasFocus = false;
  RedrawBorders();
  if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
  SetLabelBold(false);
  TComboBox::CMExit(Message);
}

void TAdvCustomCombo::WMSetFocus(TWMSetFocus& Message) {
  TComboBox::WMSetFocus(Message);
  if (FFocusBorderColor != clNone) Invalidate();
  if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
  if (FFocusLabel) SetLabelBold(true);
}

void TAdvCustomCombo::WMKillFocus(TWMKillFocus& Message) {
  TComboBox::WMKillFocus(Message);
  if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
  SetLabelBold(false);
  Invalidate();
}

void TAdvCustomCombo::CMMouseEnter(TMessage& Message) {
  TComboBox::CMMouseEnter(Message);
  if (Enabled() && !FMouseInControl) {
    FMouseInControl = true;
    RedrawBorders();
  }
  if (FAutoFocus) {
    TCustomForm* form = GetParentForm(this);
    if ((form == nullptr || (form->HandleAllocated() && form->Handle() == GetActiveWindow())) && CanFocus())
      SetFocus();
  }
  if (FIsWinXP) Invalidate();
}

void TAdvCustomCombo::CMMouseLeave(TMessage& Message) {
  TComboBox::CMMouseLeave(Message);
  if (FMouseInControl && Enabled()) {
    FMouseInControl = false;
    RedrawBorders();
  }
  FButtonHover = false;
  if (FIsWinXP) Invalidate();
}

void TAdvCustomCombo::MouseMove(TShiftState Shift, int X, int Y) {
  TComboBox::MouseMove(Shift, X, Y);
  bool hover = Width() - FButtonWidth < X && X < Width();
  if (hover != FButtonHover) {
    FButtonHover = hover;
    Invalidate();
  }
}

void TAdvCustomCombo::CMEnabledChanged(TMessage& Message) {
  TComboBox::CMEnabledChanged(Message);
  if (!FFlat || IsLoading()) return;
  if (!Enabled()) {
    FOldParentColor = ParentColor();
    FOldColor = Color();
    SetParentColor(true);
  } else if (FOldParentColor) {
    SetParentColor(true);
  } else {
    TControl::SetColor(FOldColor);
  }
}

void TAdvCustomCombo::CMFontChanged(TMessage& Message) {
  TComboBox::CMFontChanged(Message);
  if (IsLoading() && FLabel != nullptr && ParentFont()) FLabel->Font()->Assign(Font());
}

void TAdvCustomCombo::CMParentFontChanged(TMessage& Message) {
  TComboBox::CMParentFontChanged(Message);
  if (FLabel != nullptr && ParentFont()) {
    FLabel->Font()->Assign(Font());
    UpdateLabel();
  }
}

void TAdvCustomCombo::CNCommand(TWMCommand& Message) {
  TComboBox::CNCommand(Message);
  WORD code = Message.NotifyCode();
  if (code != CBN_DROPDOWN && code != CBN_CLOSEUP) return;
  if (HandleAllocated()) {
    RECT button{ClientWidth() - FButtonWidth, 0, ClientWidth(), ClientHeight()};
    InvalidateRect(Handle(), &button, FALSE);
  }
  if (code == CBN_CLOSEUP && OnDropUp) OnDropUp(this);
}

// ---------------------------------------------------------------------------
// Painting

bool TAdvCustomCombo::UseVisualStyles() const {
  return FIsThemed && ComboThemeBinding.Loaded() && ComboThemeBinding.IsThemeActive() != nullptr &&
         ComboThemeBinding.IsThemeActive()();
}

bool TAdvCustomCombo::IsMouseButtonDown() const {
  return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
}

bool TAdvCustomCombo::IsActive() const {
  TCustomForm* form = GetParentForm(const_cast<TAdvCustomCombo*>(this));
  return FMouseInControl || (form != nullptr && form->ActiveControl() == this);
}

bool TAdvCustomCombo::IsFocusBorderShown() const { return FFocusBorder && IsActive(); }

bool TAdvCustomCombo::PaintsItself() const {
  return FFlat || FButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
         (!Enabled() && FIsThemed && !FDisabledBorder);
}

void TAdvCustomCombo::WMPaint(TWMPaint& Message) {
  HDC dc = Message.DC();
  if (!PaintsItself() || dc == nullptr) {
    TComboBox::WMPaint(Message);
    return;
  }
  // The borders go on the window as a whole, without the clipping the button leaves.
  const int saved = SaveDC(dc);
  if (Style() != csSimple) {
    // The strip kept from the native painting shows the control's colour, then the button.
    RECT strip{ClientWidth() - FButtonWidth - 4, 0, ClientWidth() + 2, ClientHeight()};
    FillIn(dc, strip, Color());
    PaintButton(dc);
  }
  TComboBox::WMPaint(Message);
  RestoreDC(dc, saved);
  RedrawBorders(dc);
}

void TAdvCustomCombo::WMNCPaint(TMessage& Message) {
  TComboBox::WMNCPaint(Message);
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (FFlat || (!Enabled() && FIsThemed && !FDisabledBorder)) RedrawBorders(dc);
  if (FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus)) RedrawBorders(dc);
}

void TAdvCustomCombo::PaintButton(HDC DC) {
  RECT b{ClientWidth() - FButtonWidth + 2, 0, Width(), Height()};
  InflateRect(&b, -1, -1);
  if (FButtonColor == clNone) {
    if (UseVisualStyles()) {
      int state = 2;
      if (!Enabled()) state = 4;
      else if (IsMouseButtonDown() && DroppedDown()) state = 3;
      else if (IsMouseButtonDown() || !FButtonHover || DroppedDown()) state = 1;
      HTHEME theme = ComboThemeBinding.OpenThemeData()(Handle(), u"combobox");
      ComboThemeBinding.DrawThemeBackground()(theme, DC, 1, state, &b, nullptr);
      ComboThemeBinding.CloseThemeData()(theme);
    } else {
      DrawFrameControl(DC, &b, DFC_SCROLL,
                       Enabled() ? DFCS_SCROLLCOMBOBOX | DFCS_FLAT : DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE);
    }
  } else {
    TColor fill = FButtonColor;
    if (FButtonHover && FButtonColorHot != clNone) fill = FButtonColorHot;
    if (FButtonHover && IsMouseButtonDown() && FButtonColorDown != clNone) fill = FButtonColorDown;
    b.Left -= 1;
    b.Top += 1;
    b.Bottom -= 1;
    b.Right -= 1;
    FillIn(DC, b, fill);
    if (FButtonBorderColor != clNone) {
      HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FButtonBorderColor));
      HGDIOBJ old = SelectObject(DC, pen);
      MoveToEx(DC, b.Left, b.Top, nullptr);
      LineTo(DC, b.Left, b.Bottom);
      SelectObject(DC, old);
      DeleteObject(pen);
    }
    TColor arrow = IsMouseButtonDown() && FButtonTextColorDown != clNone ? FButtonTextColorDown : FButtonTextColor;
    if (arrow != clNone) {
      const POINT pts[3] = {{b.Left + 4, b.Top + 7}, {b.Left + 10, b.Top + 7}, {b.Left + 7, b.Top + 10}};
      HBRUSH brush = CreateSolidBrush(ColorToRGB(arrow));
      HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(arrow));
      HGDIOBJ oldBrush = SelectObject(DC, brush), oldPen = SelectObject(DC, pen);
      Polygon(DC, pts, 3);
      SelectObject(DC, oldBrush);
      SelectObject(DC, oldPen);
      DeleteObject(brush);
      DeleteObject(pen);
    }
  }
  ExcludeClipRect(DC, ClientWidth() - FButtonWidth - 4, 0, ClientWidth() + 2, ClientHeight());
}

void TAdvCustomCombo::RedrawBorders(HDC DC) {
  if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
  // Outside painting the window is drawn again, which draws the borders on its layer.
  if (DC == nullptr) {
    Invalidate();
    return;
  }
  const int saved = SaveDC(DC);
  DrawBorder(DC);
  if (Style() != csSimple && (!FIsWinXP || !UseVisualStyles())) DrawButtonEdge(DC);
  RestoreDC(DC, saved);
}

void TAdvCustomCombo::DrawBorder(HDC DC) {
  RECT r{0, 0, Width(), Height()};
  if (!Enabled() && FIsThemed && !FDisabledBorder) {
    FrameIn(DC, r, DisabledThemedBorder);
    return;
  }
  const bool focusFrame = FFocusBorderColor != clNone && FHasFocus;
  if (FBorderColor != clNone && !focusFrame) {
    FrameIn(DC, r, FBorderColor);
    return;
  }
  if (FFocusBorderColor != clNone) {
    if (FHasFocus) FrameIn(DC, r, FFocusBorderColor);
    return;
  }
  const bool shown = IsFocusBorderShown();
  const TColor outer = shown ? clBtnFace : (Parent() != nullptr ? Parent()->Color() : clBtnFace);
  const TColor inner = Color();
  if (shown) {
    DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FrameIn(DC, r, outer);
    InflateRect(&r, -1, -1);
    FrameIn(DC, r, inner);
  } else {
    FrameIn(DC, r, outer);
    InflateRect(&r, -1, -1);
    RECT edit = r;
    edit.Right -= FButtonWidth;
    FrameIn(DC, edit, outer);
    InflateRect(&edit, -1, -1);
    FrameIn(DC, edit, inner);
  }
  if (FFlat && FFlatLineColor != clNone) {
    // Under the edit part, on the bottom row.
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FFlatLineColor));
    HGDIOBJ old = SelectObject(DC, pen);
    MoveToEx(DC, 0, Height() - 1, nullptr);
    LineTo(DC, Width() - 2 - FButtonWidth - 1, Height() - 1);
    SelectObject(DC, old);
    DeleteObject(pen);
  }
}

void TAdvCustomCombo::DrawButtonEdge(HDC DC) {
  ExcludeClipRect(DC, ClientWidth() - FButtonWidth + 4, 4, ClientWidth() - 4, ClientHeight() - 4);
  RECT e{ClientWidth() - FButtonWidth - 2, 0, Width(), Height()};
  InflateRect(&e, -2, -2);
  if (IsActive()) {
    DrawEdge(DC, &e, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
  } else {
    RECT face = e;
    InflateRect(&face, 0, -1);
    face.Right -= 1;
    FillIn(DC, face, clBtnFace);
  }
  ExcludeClipRect(DC, e.Left, e.Top, e.Right, e.Bottom);
}
