// The styled date-time picker: look, field advance, inner time picker and label.
#include "controls/AdvDateTimePicker.h"

#include <algorithm>
#include <cmath>

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "controls/LabelPlacement.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

namespace {

constexpr TColor kThemedBorder = 0xB99D7F;
constexpr uint32_t kVersionNr = 0x01020000;

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

// The themed common controls answer IsThemeActive through the visual-styles binding.
bool HasIsThemeActive() { return HasThemedComCtl() && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive(); }
bool ThemesActive() { return HasIsThemeActive() && XPVSThemeBinding.IsThemeActive()() != 0; }

void FillRectColor(HDC DC, const TRect& R, TColor Color) {
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
  RECT r = R;
  FillRect(DC, &r, b);
  DeleteObject(b);
}

void FrameRectColor(HDC DC, const TRect& R, TColor Color) {
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
  RECT r = R;
  FrameRect(DC, &r, b);
  DeleteObject(b);
}

void LineColor(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color) {
  HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(Color)));
  HGDIOBJ old = SelectObject(DC, pen);
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
  SelectObject(DC, old);
  DeleteObject(pen);
}

// The width of Text drawn in Font (one line).
int TextWidthIn(TFont* Font, const String& Text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  SIZE s{0, 0};
  GetTextExtentPoint32(dc, Text.c_str(), static_cast<int>(Text.size()), &s);
  SelectObject(dc, old);
  DeleteDC(dc);
  return s.cx;
}

// The whole days and the time of day of a value, the time without milliseconds.
TDateTime DayOf(TDateTime V) { return static_cast<TDateTime>(static_cast<int64_t>(V)); }
TDateTime TimeOfDayWithoutMs(TDateTime V) {
  uint16_t h, m, s, ms;
  DecodeTime(V, h, m, s, ms);
  return EncodeTime(h, m, s, 0);
}
TDateTime Join(TDateTime Day, TDateTime Time) { return Day < 0 ? Day - Time : Day + Time; }

}  // namespace

UINT DTPShiftFocusMessage() {
  static const UINT message = RegisterWindowMessage(u"DTPShiftFocus");
  return message;
}

void InitializeAdvDateTimePicker() { DTPShiftFocusMessage(); }

// ---------------------------------------------------------------------------
// TCustomDateTimePicker

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner)
    : TDateTimePicker(AOwner),
      FIsThemed(HasThemedComCtl()),
      FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2),
      FIsWinXP(IsWinXPOrLater()) {
  SetParentCtl3D(false);
  SetCtl3D(false);
}

void TCustomDateTimePicker::SetAutoTab(bool Value) { FAutoTab = Value; }

void TCustomDateTimePicker::SetMetroStyle(bool Value) {
  if (Value == FMetroStyle) return;
  FMetroStyle = Value;
  Invalidate();
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle Value) {
  FBorderStyle = Value;
  Invalidate();
}

void TCustomDateTimePicker::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  Invalidate();
}

void TCustomDateTimePicker::Dispatch(TMessage& Message) {
  if (Message.Msg == DTPShiftFocusMessage()) {
    DoShiftFocus();
    return;
  }
  if (Message.Msg == WM_NCPAINT) {
    WMNCPaint(Message);
    return;
  }
  TDateTimePicker::Dispatch(Message);
}

void TCustomDateTimePicker::KeyPress(Char& Key) {
  const bool digit = Key >= u'0' && Key <= u'9';
  if (digit && FAutoTab && TDateTimePicker::Kind() == dtkTime) DecodeTime(TDateTimePicker::DateTime(), Fh, Fm, Fs, Fms);
  TDateTimePicker::KeyPress(Key);
  // The field takes the digit after this message: look at it once that is done.
  if (digit && FAutoTab && HandleAllocated()) PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::DoShiftFocus() {
  uint16_t h, m, s, ms;
  DecodeTime(TDateTimePicker::DateTime(), h, m, s, ms);
  if (h != Fh || m != Fm || s != Fs) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
  TDateTimePicker::MouseMove(Shift, X, Y);
  bool hover = Width() - FButtonWidth < X && X < Width();
  if (hover != FButtonHover) {
    FButtonHover = hover;
    Invalidate();
  }
}

void TCustomDateTimePicker::CMMouseEnter(TMessage& Message) {
  TDateTimePicker::CMMouseEnter(Message);
  if (Enabled()) FMouseInControl = true;
  RedrawBorders();
}

void TCustomDateTimePicker::CMMouseLeave(TMessage& Message) {
  TDateTimePicker::CMMouseLeave(Message);
  FMouseInControl = false;
  FButtonHover = false;
  RedrawBorders();
}

void TCustomDateTimePicker::WMSetFocus(TWMSetFocus& Message) {
  TDateTimePicker::WMSetFocus(Message);
  if (Designing(this)) return;
  FHasFocus = true;
  RedrawBorders();
}

void TCustomDateTimePicker::WMKillFocus(TWMKillFocus& Message) {
  TDateTimePicker::WMKillFocus(Message);
  if (Designing(this)) return;
  FHasFocus = false;
  RedrawBorders();
}

void TCustomDateTimePicker::RedrawBorders() {
  // The frame is drawn with the window's painting; ask for both.
  if (!NoCustomBorders()) Invalidate();
}

TColor TCustomDateTimePicker::OutlineColor() const {
  if (FBorderStyle == bsNone && Parent() != nullptr) return Parent()->Color();
  return FIsThemed ? kThemedBorder : FBorderColor;
}

void TCustomDateTimePicker::DrawOutline(HDC DC, int Inset, TColor Color) {
  FrameRectColor(DC, TRect(Inset, Inset, Width() - Inset, Height() - Inset), Color);
}

bool TCustomDateTimePicker::MouseButtonDown() const {
  return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
}

void TCustomDateTimePicker::WMNCPaint(TMessage& Message) {
  DefaultHandler(Message);
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC == nullptr || NoCustomBorders()) return;
  if (!Ctl3D()) {
    DrawOutline(DC, 0, OutlineColor());
    if (Parent() != nullptr && (FBorderStyle == bsNone || FBorderStyle == bsSingle)) {
      LineColor(DC, 1, 1, 1, Height() - 1, Parent()->Color());
      LineColor(DC, 1, 1, Width() - 1, 1, Parent()->Color());
    }
  }
  if ((!Enabled() && ThemesActive()) || FBorderColor != clNone) DrawBorders(DC);
}

void TCustomDateTimePicker::DrawBorders(HDC DC) {
  if (!FMetroStyle || NoCustomBorders()) return;
  if (Enabled() && FBorderColor == clNone) return;
  const TRect window(0, 0, Width(), Height());
  if (Enabled() || !ThemesActive()) {
    if (FBorderColor == clNone) {
      const TColor parent = Parent() != nullptr ? Parent()->Color() : Color();
      FrameRectColor(DC, window, parent);
      TRect edit(1, 1, ClientWidth() - FButtonWidth - 1, Height() - 1);
      FrameRectColor(DC, edit, parent);
      FrameRectColor(DC, TRect(edit.Left + 1, edit.Top + 1, edit.Right - 1, edit.Bottom - 1), Color());
    } else {
      FrameRectColor(DC, window, FBorderColor);
    }
  } else {
    FrameRectColor(DC, window, kThemedBorder);
  }
  if (!FIsWinXP || !ThemesActive()) {
    RECT r = TRect(ClientWidth() - FButtonWidth - 2, 2, ClientWidth() - 2, Height() - 2);
    if (FMouseInControl || FHasFocus) DrawEdge(DC, &r, EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
    else FillRectColor(DC, r, clBtnFace);
  }
}

void TCustomDateTimePicker::DrawButton(HDC DC) {
  const bool down = MouseButtonDown();
  const bool themes = ThemesActive();
  // The native button area first takes the picker's colour.
  if (HasThemedComCtl()) {
    if (themes) FillRectColor(DC, TRect(ClientWidth() - FButtonWidth - 4, 1, ClientWidth(), Height()), Color());
    else FillRectColor(DC, TRect(ClientWidth() - FButtonWidth - 2, 4, ClientWidth() - 2, Height() - 4), Color());
  }
  TRect r(ClientWidth() - FButtonWidth + 2, 0, Width(), Height());
  r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  if (FButtonColor == clNone) {
    if (themes) {
      const TThemeBinding& B = XPVSThemeBinding;
      HTHEME theme = B.OpenThemeData() ? B.OpenThemeData()(Handle(), u"combobox") : nullptr;
      if (theme != nullptr) {
        int state = 2;
        if (!Enabled()) state = 4;
        else if (down && DroppedDown()) state = 3;
        else if (down || !FButtonHover || DroppedDown()) state = 1;
        RECT rr = r;
        if (B.DrawThemeBackground()) B.DrawThemeBackground()(theme, DC, 1, state, &rr, nullptr);
        if (B.CloseThemeData()) B.CloseThemeData()(theme);
        return;
      }
    }
    RECT rr = r;
    DrawFrameControl(DC, &rr, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT | (Enabled() ? 0 : DFCS_INACTIVE));
    return;
  }
  TColor fill = FButtonColor;
  if (FButtonHover) fill = down ? FButtonColorDown : FButtonColorHot;
  FillRectColor(DC, TRect(r.Left + 2, r.Top, r.Right, r.Bottom), fill);
  LineColor(DC, r.Left, r.Top, r.Left, r.Bottom, FButtonBorderColor);
  const TColor glyph = down ? FButtonTextColorDown : FButtonTextColor;
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(glyph)));
  HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(glyph)));
  HGDIOBJ oldBrush = SelectObject(DC, brush);
  HGDIOBJ oldPen = SelectObject(DC, pen);
  POINT tri[3] = {{r.Left + 5, r.Top + 7}, {r.Left + 11, r.Top + 7}, {r.Left + 8, r.Top + 10}};
  Polygon(DC, tri, 3);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void TCustomDateTimePicker::WMPaint(TWMPaint& Message) {
  TDateTimePicker::WMPaint(Message);
  HDC DC = Message.DC();
  if (DC == nullptr || NoCustomBorders() || !IsWinVistaOrLater() || (Ctl3D() && !FMetroStyle)) return;
  if (FMetroStyle && TDateTimePicker::Kind() != dtkTime) DrawButton(DC);
  if (!Ctl3D()) {
    DrawOutline(DC, 0, OutlineColor());
    if (!ThemesActive()) DrawOutline(DC, 1, OutlineColor());
  }
  DrawBorders(DC);
}

// ---------------------------------------------------------------------------
// TAdvDateTimePicker

TAdvDateTimePicker::TAdvDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
  TCustomDateTimePicker::SetBorderStyle(bsSingle);
  SetCtl3D(true);
  FFocusTimer = new TTimer(this);
  FFocusTimer->SetEnabled(false);
  FFocusTimer->SetInterval(20);
  FFocusTimer->SetOnTimer([this](TObject*) { FFocusTimer->SetEnabled(false); });
  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject*) { LabelFontChanged(); };
}

TAdvDateTimePicker::~TAdvDateTimePicker() {
  if (FLabel != nullptr) {
    FLabel->SetParent(nullptr);
    delete FLabel;
    FLabel = nullptr;
  }
  delete FTimePicker;
  FTimePicker = nullptr;
}

void TAdvDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == FLabel) FLabel = nullptr;
    if (AComponent == FTimePicker) FTimePicker = nullptr;
    if (AComponent == FFocusTimer) FFocusTimer = nullptr;
  }
  TCustomDateTimePicker::Notification(AComponent, Operation);
}

String TAdvDateTimePicker::Version() const {
  return IntToStr((kVersionNr >> 24) & 0xFF) + u"." + IntToStr((kVersionNr >> 16) & 0xFF) + u"." +
         IntToStr((kVersionNr >> 8) & 0xFF) + u"." + IntToStr(kVersionNr & 0xFF);
}

// ---- Kinds, value

void TAdvDateTimePicker::SetKind(TAdvDateTimeKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  ApplyKind();
}

void TAdvDateTimePicker::ApplyKind() {
  TDateTimePicker::SetKind(FKind == dkTime ? dtkTime : dtkDate);
  if (FKind == dkTime && !FTimeFormat.empty()) SetFormat(FTimeFormat);
  if (FKind == dkDateTime && FTimePicker == nullptr) CreateTimePicker();
  UpdateTimePicker();
}

void TAdvDateTimePicker::CreateWindowHandle() {
  TCustomDateTimePicker::CreateWindowHandle();
  // The kind is applied again once the window exists.
  ApplyKind();
}

void TAdvDateTimePicker::CreateTimePicker() {
  FTimePicker = new TCustomDateTimePicker(this);
  // It starts at the picker's value, not at its own default (the update takes its time back).
  FTimePicker->TDateTimePicker::SetDateTime(TDateTimePicker::DateTime());
  if (!Designing(this) || !IsLoading()) FTimePicker->SetParent(this);
  FTimePicker->SetBounds(0, 0, 90, 17);
  FTimePicker->SetVisible(false);
  FTimePicker->SetEnabled(Enabled());
  FTimePicker->TDateTimePicker::SetKind(dtkTime);
  FTimePicker->SetAutoTab(AutoTab());
  FTimePicker->OnChange = [this](TObject*) {
    DoChange();
    if (OnTimeChange) OnTimeChange(this);
  };
  FTimePicker->OnClick = [this](TObject*) { DoClick(); };
  FTimePicker->OnKeyPress = [](TObject*, Char&) {};
  FTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); };
}

void TAdvDateTimePicker::UpdateTimePicker() {
  if (FTimePicker == nullptr) return;
  TCustomDateTimePicker* tp = FTimePicker;
  tp->SetParent(this);
  tp->SetColor(Color());
  tp->SetEnabled(Enabled() && (!ShowCheckbox() || Checked()));
  tp->SetVisible(FKind == dkDateTime);
  tp->TDateTimePicker::SetTime(Time());
  tp->TDateTimePicker::SetDateTime(DateTime());
  tp->SetFormat(FTimeFormat);
  tp->SetFont(Font());
  if (!tp->Visible() && !(IsLoading() && !Designing(this))) {
    // Only dkDateTime has the inner picker.
    FTimePicker = nullptr;
    delete tp;
    return;
  }
  String text = tp->Text().substr(0, 255);
  const int w = TextWidthIn(Font(), text) + 31;
  const int b = 0;  // the windows here have no bevels
  const int W = Width(), H = Height();
  if (!HasIsThemeActive()) tp->SetBounds(W - w - 23 - b, -2, w, H - b);
  else if (!ThemesActive()) tp->SetBounds(W - w - 21 - b, 2, w, H - b - 4);
  else if (MetroStyle()) tp->SetBounds(W - w - 21 - b, 1, w, H - b - 2);
  else tp->SetBounds(W - w - 34 - b, 1, w, H - b - 2);
}

TDateTime TAdvDateTimePicker::DateTime() {
  if (FTimePicker != nullptr) TDateTimePicker::SetTime(FTimePicker->TDateTimePicker::Time());
  return TDateTimePicker::DateTime();
}

void TAdvDateTimePicker::SetDate(TDateTime Value) {
  const TDateTime time = TimeOfDayWithoutMs(DateTime());
  SetDateTime(Join(DayOf(Value), time));
}

void TAdvDateTimePicker::SetDateTime(TDateTime Value) {
  const TDateTime v = Join(DayOf(Value), TimeOfDayWithoutMs(Value));
  TDateTimePicker::SetDateTime(v);
  if (FKind == dkDateTime && FTimePicker == nullptr) CreateTimePicker();
  if (FTimePicker != nullptr) FTimePicker->TDateTimePicker::SetDateTime(v);
  if (ShowCheckbox() && FTimePicker != nullptr) {
    FollowCheckBox();
    FIgnoreTimePickerCheck = FTimePicker->Enabled();
  }
}

TDateTime TAdvDateTimePicker::Time() const {
  if (FKind == dkDateTime && FTimePicker != nullptr) return FTimePicker->TDateTimePicker::Time();
  return TDateTimePicker::Time();
}

void TAdvDateTimePicker::SetTime(TDateTime Value) {
  // The inner picker holds the time of dkDateTime: it takes the new time first, or the
  // update would bring its old one back.
  if (FTimePicker != nullptr) FTimePicker->TDateTimePicker::SetTime(Value);
  TDateTimePicker::SetTime(Value);
  UpdateTimePicker();
}

void TAdvDateTimePicker::SetTimeFormat(const String& Value) {
  FTimeFormat = Value;
  if (FKind == dkTime) SetFormat(Value);
  UpdateTimePicker();
}

void TAdvDateTimePicker::SetBorderStyle(TBorderStyle Value) {
  TCustomDateTimePicker::SetBorderStyle(Value);
  UpdateTimePicker();
}

void TAdvDateTimePicker::SetAutoTab(bool Value) {
  TCustomDateTimePicker::SetAutoTab(Value);
  if (FTimePicker != nullptr) FTimePicker->SetAutoTab(Value);
}

void TAdvDateTimePicker::FollowCheckBox() {
  if (FTimePicker != nullptr) FTimePicker->SetEnabled(Enabled() && Checked());
}

// ---- Events

void TAdvDateTimePicker::DoChange() {
  if (OnChange) OnChange(this);
}

void TAdvDateTimePicker::DoClick() {
  if (OnClick) OnClick(this);
}

void TAdvDateTimePicker::Change() { DoChange(); }

void TAdvDateTimePicker::Click() { DoClick(); }

void TAdvDateTimePicker::KeyPress(Char& Key) {
  if (Key >= u'0' && Key <= u'9' && AutoTab()) DecodeDate(DateTime(), Fy, Fm, Fd);
  TCustomDateTimePicker::KeyPress(Key);
}

void TAdvDateTimePicker::DoShiftFocus() {
  if (FKind == dkTime) {
    TCustomDateTimePicker::DoShiftFocus();
    return;
  }
  uint16_t y, m, d;
  DecodeDate(DateTime(), y, m, d);
  const bool dayChanged = d != Fd, monthChanged = m != Fm, yearChanged = y != Fy;
  auto next = [this] { PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0); };
  auto toTime = [this] {
    if (FTimePicker != nullptr && FTimePicker->CanFocus()) FTimePicker->SetFocus();
  };
  const String& f = Format();
  if (!f.empty()) {
    const Char L = f.back();
    if ((dayChanged && (L == u'D' || L == u'd')) || (monthChanged && (L == u'M' || L == u'm')) ||
        (yearChanged && (L == u'Y' || L == u'y')))
      toTime();
    else if (dayChanged || monthChanged || yearChanged)
      next();
  } else if (dayChanged || monthChanged) {
    next();
  } else if (yearChanged) {
    toTime();
  }
}

void TAdvDateTimePicker::CNNotify(TWMNotify& Message) {
  NMHDR* hdr = Message.NMHdr();
  if (ShowCheckbox() && hdr != nullptr && hdr->code == DTN_DATETIMECHANGE) {
    uint16_t y0, m0, d0, y1, m1, d1;
    DecodeDate(TDateTimePicker::DateTime(), y0, m0, d0);
    TCustomDateTimePicker::CNNotify(Message);
    DecodeDate(TDateTimePicker::DateTime(), y1, m1, d1);
    if (!FIgnoreTimePickerCheck && FTimePicker != nullptr) {
      FollowCheckBox();
      if (reinterpret_cast<NMDATETIMECHANGE*>(hdr)->dwFlags == GDT_NONE) FTimePicker->SetEnabled(false);
    }
    bool moved = true;
    if (y1 != y0) Fpt = TPoint(80, 5);
    else if (m1 != m0) Fpt = TPoint(46, 5);
    else if (d1 != d0) Fpt = TPoint(28, 5);
    else moved = false;
    if (moved && FFocusTimer != nullptr) FFocusTimer->SetEnabled(true);
  } else {
    TCustomDateTimePicker::CNNotify(Message);
  }
  FIgnoreTimePickerCheck = false;
}

void TAdvDateTimePicker::WndProc(TMessage& Message) {
  TCustomDateTimePicker::WndProc(Message);
  if (Message.Msg == DTM_SETSYSTEMTIME && Message.WParam == GDT_NONE) FollowCheckBox();
}

// ---- Window events

void TAdvDateTimePicker::Resize() {
  TCustomDateTimePicker::Resize();
  UpdateTimePicker();
}

void TAdvDateTimePicker::CMColorChanged(TMessage& Message) {
  TCustomDateTimePicker::CMColorChanged(Message);
  UpdateTimePicker();
}

void TAdvDateTimePicker::CMEnabledChanged(TMessage& Message) {
  TCustomDateTimePicker::CMEnabledChanged(Message);
  if (FTimePicker != nullptr) FTimePicker->SetEnabled(Enabled() && (!ShowCheckbox() || Checked()));
  if (FLabel != nullptr && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
}

void TAdvDateTimePicker::CMFontChanged(TMessage& Message) {
  TCustomDateTimePicker::CMFontChanged(Message);
  if (FLabel != nullptr && FLabel->ParentFont() && (IsLoading() || Designing(this))) {
    FLabel->Font()->Assign(Font());
    UpdateLabel();
  }
}

void TAdvDateTimePicker::CMParentFontChanged(TMessage& Message) {
  TCustomDateTimePicker::CMParentFontChanged(Message);
  if (FLabel != nullptr && FLabel->ParentFont()) {
    FLabel->Font()->Assign(Font());
    UpdateLabel();
  }
}

void TAdvDateTimePicker::WMSetFocus(TWMSetFocus& Message) {
  TCustomDateTimePicker::WMSetFocus(Message);
  if (FFocusLabel && FLabel != nullptr && !IsLoading()) {
    TFontStyles s = FLabel->Font()->Style();
    s.Include(fsBold);
    FLabel->Font()->SetStyle(s);
  }
}

void TAdvDateTimePicker::WMKillFocus(TWMKillFocus& Message) {
  TCustomDateTimePicker::WMKillFocus(Message);
  if (FFocusLabel && FLabel != nullptr && !IsLoading()) {
    TFontStyles s = FLabel->Font()->Style();
    s.Exclude(fsBold);
    FLabel->Font()->SetStyle(s);
  }
}

void TAdvDateTimePicker::WMPaint(TWMPaint& Message) {
  if (FFirstRun) {
    FFirstRun = false;
    UpdateTimePicker();
  }
  TCustomDateTimePicker::WMPaint(Message);
}

void TAdvDateTimePicker::Loaded() {
  TCustomDateTimePicker::Loaded();
  if (Designing(this)) return;
  if (FKind == dkDateTime && FTimePicker == nullptr) CreateTimePicker();
  UpdateTimePicker();
  if (ShowCheckbox() && !Checked()) {
    SetChecked(false);
    if (FTimePicker != nullptr) FTimePicker->SetEnabled(false);
  }
  if (FLabel != nullptr) {
    if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    UpdateLabel();
    if (ParentFont()) FLabel->Font()->Assign(Font());
  }
  FParentFnt = ParentFont();
  if (FLabel != nullptr) UpdateLabel();
}

// ---- Label

String TAdvDateTimePicker::LabelCaption() const { return FLabel != nullptr ? FLabel->Caption() : String(); }

void TAdvDateTimePicker::SetLabelCaption(const String& Value) {
  if (FLabel == nullptr) {
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->OnClick = [this](TObject*) {
      if (OnLabelClick) OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](TObject*) {
      if (OnLabelDblClick) OnLabelDblClick(this);
    };
    FLabel->SetParentFont(ParentFont());
  }
  FLabel->SetCaption(Value);
  UpdateLabel();
}

void TAdvDateTimePicker::SetLabelPosition(TLabelPosition Value) {
  FLabelPosition = Value;
  UpdateLabel();
}

void TAdvDateTimePicker::SetLabelMargin(int Value) {
  FLabelMargin = Value;
  UpdateLabel();
}

void TAdvDateTimePicker::SetLabelTransparent(bool Value) {
  FLabelTransparent = Value;
  UpdateLabel();
}

void TAdvDateTimePicker::SetLabelAlwaysEnabled(bool Value) {
  FLabelAlwaysEnabled = Value;
  if (FLabel != nullptr) FLabel->SetEnabled(Value || Enabled());
}

void TAdvDateTimePicker::SetLabelFont(TFont* Value) {
  if (Value != nullptr) FLabelFont->Assign(Value);
}

void TAdvDateTimePicker::LabelFontChanged() { UpdateLabel(); }

void TAdvDateTimePicker::UpdateLabel() {
  if (FLabel == nullptr) return;
  FLabel->SetTransparent(FLabelTransparent);
  FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
  const int tw = TextWidthIn(FLabel->Font(), FLabel->Caption());
  const TPoint at = AttachedLabelPos(FLabelPosition, BoundsRect(), FLabel->Width(), FLabel->Height(), tw,
                                     FLabelMargin, TPoint(FLabel->Left(), FLabel->Top()));
  FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
  FLabel->SetVisible(Visible());
}

void TAdvDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel != nullptr && FLabel->Parent() != nullptr) UpdateLabel();
}

void TAdvDateTimePicker::SetParent(TWinControl* AParent) {
  TCustomDateTimePicker::SetParent(AParent);
  if (FLabel != nullptr) {
    FLabel->SetParent(AParent);
    FLabel->SetVisible(Visible());
  }
}

void TAdvDateTimePicker::SetVisible(bool v) {
  TCustomDateTimePicker::SetVisible(v);
  if (FLabel != nullptr) FLabel->SetVisible(v);
}
