// The styled edit's label and looks: margins, flat look, frames, empty text, error marker,
// URL look, the large-text hint and the mouse.
#include <algorithm>

#include "controls/AdvEdit.h"
#include "controls/LabelPlacement.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"

namespace {

TPoint PointOfResult(LRESULT r) {
  return TPoint(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(r))), static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(r))));
}

void FrameWith(HDC DC, const TRect& r, TColor c) {
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(c)));
  RECT rr = r;
  FrameRect(DC, &rr, b);
  DeleteObject(b);
}

}  // namespace

// ---------------------------------------------------------------------------
// Margins and the flat look

void TAdvEdit::ApplyTextMargins(bool AFlat) {
  // The formatting rectangle needs a multi-line edit: a password edit keeps its margins.
  if (!HandleAllocated() || !(FStyle & ES_MULTILINE)) return;
  const int m = 0;  // edits here are always three-dimensional (no extra margin)
  const TRect c = ClientRect();
  RECT r = AFlat ? Rect(m + 4, 3, c.Width() - 4 - m, c.Height() - 4) : Rect(m, 0, c.Width() - m, c.Height());
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAdvEdit::SetFlat(bool Value) {
  if (IsLoading()) {
    FFlat = Value;
    return;
  }
  if (Value == FFlat) return;
  FFlat = Value;
  if (Value) {
    const TColor c = Color();
    if (FFlatParentColor && Parent() != nullptr) {
      SetColor(Parent()->Color());
      FFocusColor = Parent()->Color();
    } else {
      SetColor(FNormalColor);
    }
    FNormalColor = c;
    SetBorderStyle(bsNone);
    ApplyTextMargins(true);
  } else {
    SetColor(FNormalColor);
    SetBorderStyle(FOldBorder);
    ApplyTextMargins(false);
  }
  Invalidate();
}

void TAdvEdit::SetFlatLineColor(TColor Value) { FFlatLineColor = Value; Invalidate(); }
void TAdvEdit::SetFlatParentColor(bool Value) { FFlatParentColor = Value; Invalidate(); }
void TAdvEdit::SetTransparent(bool Value) { if (Value != FTransparent) { FTransparent = Value; Invalidate(); } }
void TAdvEdit::SetSoftBorder(bool Value) { if (Value != FSoftBorder) { FSoftBorder = Value; Invalidate(); } }
void TAdvEdit::SetBorder3D(bool Value) { if (Value != FBorder3D) { FBorder3D = Value; Invalidate(); } }
void TAdvEdit::SetFocusBorder(bool Value) { if (Value != FFocusBorder) { FFocusBorder = Value; Invalidate(); } }
void TAdvEdit::SetDisabledColor(TColor Value) {
  if (Value == FDisabledColor) return;
  FDisabledColor = Value;
  if (!Enabled()) TControl::SetColor(Value);
  Invalidate();
}
void TAdvEdit::SetDisabledBorder(bool Value) { if (Value != FDisabledBorder) { FDisabledBorder = Value; Invalidate(); } }
void TAdvEdit::SetErrorMarkerPos(int Value) { FErrorMarkerPos = Value; Invalidate(); }
void TAdvEdit::SetErrorMarkerLen(int Value) { FErrorMarkerLen = Value; Invalidate(); }
void TAdvEdit::SetEmptyText(const String& Value) { FEmptyText = Value; Invalidate(); }
void TAdvEdit::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  Invalidate();
}

void TAdvEdit::CMFontChanged(TMessage& Message) {
  if (IsLoading() && FLabel != nullptr && ParentFont()) FLabel->Font()->Assign(Font());
  TCustomEdit::CMFontChanged(Message);
  ApplyTextMargins(FFlat);
}

void TAdvEdit::CMParentFontChanged(TMessage& Message) {
  TCustomEdit::CMParentFontChanged(Message);
  if (FLabel != nullptr && ParentFont()) {
    FLabel->Font()->Assign(Font());
    UpdateLabel();
  }
}

// ---------------------------------------------------------------------------
// Label

void TAdvEdit::CreateLabel() {
  FLabel = new TLabel(this);
  FLabel->SetParent(Parent());
  FLabel->SetFocusControl(this);
  FLabel->Font()->Assign(FLabelFont.get());
  FLabel->SetParentFont(ParentFont());
  FLabel->OnClick = [this](TObject* s) { LabelClick(s); };
  FLabel->OnDblClick = [this](TObject* s) { LabelDblClick(s); };
}

void TAdvEdit::LabelClick(TObject*) {
  if (OnLabelClick) OnLabelClick(this);
}

void TAdvEdit::LabelDblClick(TObject*) {
  if (OnLabelDblClick) OnLabelDblClick(this);
}

String TAdvEdit::LabelCaption() const { return FLabel != nullptr ? FLabel->Caption() : String(); }

void TAdvEdit::SetLabelCaption(const String& Value) {
  if (FLabel == nullptr) CreateLabel();
  FLabel->SetCaption(Value);
  UpdateLabel();
}

void TAdvEdit::SetLabelPosition(TLabelPosition Value) { FLabelPosition = Value; UpdateLabel(); }
void TAdvEdit::SetLabelMargin(int Value) { FLabelMargin = Value; UpdateLabel(); }
void TAdvEdit::SetLabelTransparent(bool Value) { FLabelTransparent = Value; UpdateLabel(); }

void TAdvEdit::SetLabelAlwaysEnabled(bool Value) {
  FLabelAlwaysEnabled = Value;
  if (Value && FLabel != nullptr) FLabel->SetEnabled(true);
  Invalidate();
}

void TAdvEdit::SetLabelFont(TFont* Value) {
  if (!ParentFont()) FLabelFont->Assign(Value);
  UpdateLabel();
}

void TAdvEdit::LabelFontChanged(TObject*) { UpdateLabel(); }

void TAdvEdit::UpdateLabel() {
  if (FLabel == nullptr) return;
  FLabel->SetTransparent(FLabelTransparent);
  FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
  // The caption's width as drawn (accelerator marks hidden).
  int w = 0;
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = SelectObject(dc, FLabel->Font()->Handle());
    RECT r = Rect(0, 0, 1000, 255);
    const String caption = FLabel->Caption();
    DrawText(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_HIDEPREFIX);
    w = r.Right - r.Left;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  if (FLabel->AutoSize()) FLabel->AdjustBounds();
  const TPoint at = AttachedLabelPos(static_cast<uint8_t>(FLabelPosition), BoundsRect(), FLabel->Width(),
                                     FLabel->Height(), w, FLabelMargin, TPoint(FLabel->Left(), FLabel->Top()));
  FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
  FLabel->SetVisible(Visible());
}

// ---------------------------------------------------------------------------
// Painting

void TAdvEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The native edit has painted: the looks go over it, then the frame.
      if (Message.WParam != 0) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        PaintExtras(dc);
        if (FBorder3D || FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder) ||
            (FFocusBorder && (FMouseInControl || Focused())))
          RedrawBorders(dc);
        return;
      }
      break;
    case WM_NCPAINT:
      if (Message.WParam != 0) {
        if (FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder))
          RedrawBorders(reinterpret_cast<HDC>(Message.WParam));
        return;
      }
      break;
    default:
      break;
  }
  TCustomEdit::WndProc(Message);
}

void TAdvEdit::PaintExtras(HDC DC) {
  const int W = Width(), H = Height();
  if (FFlat) {
    if (FFocusBorder && Focused()) {
      DrawBorder(DC);
    } else if (FFlatLineColor != clNone) {
      HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(Enabled() ? FFlatLineColor : TColor(0x808080))));
      HGDIOBJ old = SelectObject(DC, pen);
      RECT r;
      Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
      if (FSoftBorder) {
        MoveToEx(DC, r.Left - 4, H - 1, nullptr);
        LineTo(DC, W - 1, H - 1);
        LineTo(DC, W - 1, r.Top - 3);
        LineTo(DC, r.Left - 4, r.Top - 3);
        LineTo(DC, r.Left - 4, H - 1);
      } else {
        MoveToEx(DC, r.Left - 2, H - 1, nullptr);
        LineTo(DC, W, H - 1);
      }
      SelectObject(DC, old);
      DeleteObject(pen);
    }
  }
  if (FCaretPos.X != -1 || FCaretPos.Y != -1) {
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    RECT r = Rect(FCaretPos.X, FCaretPos.Y, FCaretPos.X + 1, FCaretPos.Y + std::abs(Font()->Height()));
    FillRect(DC, &r, b);
    DeleteObject(b);
  }
  if (Text().empty() && !FEmptyText.empty() && (FEmptyTextFocused || !Focused())) {
    HGDIOBJ old = SelectObject(DC, Font()->Handle());
    SetTextColor(DC, 0x808080);
    SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(Color())));
    SetBkMode(DC, OPAQUE);
    TextOut(DC, 3, 2, FEmptyText.c_str(), Length(FEmptyText));
    SelectObject(DC, old);
  }
  if (!Focused() && FErrorMarkerLen > 0) DrawErrorMarker(DC);
}

void TAdvEdit::DrawErrorMarker(HDC DC) {
  const TRect r = ClientRect();
  const int n = Length(WindowText());
  const int p = FErrorMarkerPos, q = p + FErrorMarkerLen;
  TPoint a = p < n ? PointOfResult(Perform(EM_POSFROMCHAR, p, 0)) : PointOfResult(Perform(EM_POSFROMCHAR, n, 0));
  if (p >= n) a.X += 4;
  TPoint b = q < n ? PointOfResult(Perform(EM_POSFROMCHAR, std::max(0, q - 1), 0))
                   : PointOfResult(Perform(EM_POSFROMCHAR, std::max(0, n - 1), 0));
  if (q >= n) {
    b.X += 4;
    b.Y = a.Y;
  }
  HPEN pen = CreatePen(PS_SOLID, 2, static_cast<COLORREF>(ColorToRGB(clRed)));
  HGDIOBJ oldPen = SelectObject(DC, pen);
  HGDIOBJ oldFont = SelectObject(DC, Font()->Handle());
  SIZE sz{};
  GetTextExtentPoint32(DC, u"gh", 2, &sz);
  const int h = sz.cy - 1;
  MoveToEx(DC, r.Left + a.X, r.Top + a.Y + h + 3, nullptr);
  int x = a.X, d = 3;
  while (b.X >= x) {
    d = d == 3 ? 0 : 3;
    LineTo(DC, r.Left + x + 3, b.Y + h + d);
    x += 3;
  }
  d = d == 3 ? 0 : 3;
  LineTo(DC, r.Left + x + 3, r.Top + b.Y + h + d);
  SelectObject(DC, oldFont);
  SelectObject(DC, oldPen);
  DeleteObject(pen);
}

bool TAdvEdit::IsFocusBorderShown() const {
  TWinControl* active = Screen != nullptr ? Screen->ActiveControl() : nullptr;
  return (FFocusBorder && (FMouseInControl || active == this)) || FBorder3D;
}

void TAdvEdit::RedrawBorders(HDC DC) {
  if (!Enabled() || FFlat || FBorderColor != clNone || (FFocusBorder && FMouseInControl) || FBorder3D ||
      FFocusBorderColor != clNone)
    DrawBorder(DC);
}

void TAdvEdit::DrawBorder(HDC DC) {
  const TRect r = Rect(0, 0, Width(), Height());
  TColor c = clNone;
  if (!Enabled() && FIsThemed && FDisabledBorder) {
    c = clSilver;
  } else {
    c = FBorderColor;
    if (Focused() && FFocusBorderColor != clNone) c = FFocusBorderColor;
  }
  if (c != clNone) {
    FrameWith(DC, r, c);
    return;
  }
  if (!Enabled() || (FFocusBorder && FIsThemed)) return;
  if (IsFocusBorderShown()) {
    RECT rr = r;
    DrawEdge(DC, &rr, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FrameWith(DC, rr, clBtnFace);
  } else {
    const TColor pc = Parent() != nullptr ? Parent()->Color() : clBtnFace;
    FrameWith(DC, r, pc);
    FrameWith(DC, Rect(1, 1, r.Right - 1, r.Bottom - 1), pc);
  }
}

void TAdvEdit::WMEraseBkgnd(TWMEraseBkgnd& Message) {
  // Transparent: the parent paints its part under the edit into the edit's DC.
  if (FTransparent && Parent() != nullptr && Message.DC() != nullptr) {
    HDC dc = Message.DC();
    const int saved = SaveDC(dc);
    POINT old;
    SetWindowOrgEx(dc, Left(), Top(), &old);
    Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    Message.SetResult(1);
    return;
  }
  TCustomEdit::WMEraseBkgnd(Message);
}

// ---------------------------------------------------------------------------
// Mouse, URL and hint

void TAdvEdit::CMMouseEnter(TMessage& Message) {
  TCustomEdit::CMMouseEnter(Message);
  if (FAutoFocus && CanFocus()) {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr || form->Active()) SetFocus();
  }
  if (!FMouseInControl && Enabled()) {
    FMouseInControl = true;
    if (FFocusBorder) Invalidate();
  }
}

void TAdvEdit::CMMouseLeave(TMessage& Message) {
  TCustomEdit::CMMouseLeave(Message);
  if (Enabled()) {
    FMouseInControl = false;
    if (FFocusBorder) Invalidate();
  }
}

bool TAdvEdit::IsURLText(const String& Value) const {
  const String v = AnsiLowerCase(Value);
  return Pos(u"://", v) > 0 || Pos(u'@', v) > 1 || Pos(u"www.", v) == 1;
}

void TAdvEdit::ApplyURLLook(bool On) {
  if (On) {
    FParentFnt = false;
    Font()->SetStyle(Font()->Style() + fsUnderline);
    Font()->SetColor(FURLColor);
    FIsUrl = true;
    SetCursor(crHandPoint);
  } else {
    Font()->SetStyle(Font()->Style() - fsUnderline);
    Font()->SetColor(FFontColor);
    FIsUrl = false;
    SetCursor(crDefault);
  }
  Invalidate();
}

// Opens the value as a link: only web, file-transfer and mail addresses, never a local path
// or a program ("www." is a web address, a text with '@' a mail address).
void TAdvEdit::OpenURL() {
  String v = Trim(Text());
  const String lower = AnsiLowerCase(v);
  String url;
  if (StartsStr(u"http://", lower) || StartsStr(u"https://", lower) || StartsStr(u"ftp://", lower) ||
      StartsStr(u"mailto:", lower))
    url = v;
  else if (StartsStr(u"www.", lower))
    url = u"http://" + v;
  else if (Pos(u"://", lower) == 0 && Pos(u'@', lower) > 1)
    url = u"mailto:" + v;
  if (url.empty() || url.find_first_of(u" \t\r\n\"<>") != String::npos) return;
  if (OpenURLHook) OpenURLHook(url);
}

void TAdvEdit::CMHintShow(TMessage& Message) {
  if (FHintShowLargeText && Message.LParam != 0 && GetTextSize() > Width()) {
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    info->HintStr = Text();
    info->HintPos = ClientToScreen(TPoint(0, 0));
  }
  TCustomEdit::CMHintShow(Message);
}

int TAdvEdit::GetTextSize() {
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return 0;
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  const String t = Text();
  SIZE sz{};
  GetTextExtentPoint32(dc, t.c_str(), Length(t), &sz);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return sz.cx;
}

int TAdvEdit::CharFromPos(TPoint pt) {
  return LOWORD(static_cast<uintptr_t>(Perform(EM_CHARFROMPOS, 0, MAKELPARAM(WORD(pt.X), WORD(pt.Y)))));
}

TPoint TAdvEdit::PosFromChar(int Index) { return PointOfResult(Perform(EM_POSFROMCHAR, Index, 0)); }

void TAdvEdit::TrackDropCaret(TPoint ClientPt) {
  TPoint p = PosFromChar(CharFromPos(ClientPt));
  if (p.X == FCaretPos.X && p.Y == FCaretPos.Y) return;
  FCaretPos = p;
  Invalidate();
}

void TAdvEdit::HideDropCaret() {
  FCaretPos = TPoint(-1, -1);
  Invalidate();
}

void TAdvEdit::MoveCaretToCursor(TPoint ClientPt) { SetSelStart(CharFromPos(ClientPt)); }
