// The spin editor, its button pair and the auto-repeating arrow button.
#include "grid/asgspin.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/AdvXPVS.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

namespace {

constexpr Char kBackspace = 8, kEnter = 13, kEscape = 27;

// Only what the number parsers read counts as a digit.
bool IsNumberChar(Char c) { return c >= u'0' && c <= u'9'; }

// The edge of the filled triangle of an arrow, three points.
void Triangle(TCanvas* C, TColor Colour, const TPoint (&Pts)[3]) {
  C->Pen()->SetColor(Colour);
  C->Brush()->SetColor(Colour);
  C->Brush()->SetStyle(bsSolid);
  C->Polygon(Pts, 3);
}

}  // namespace

std::unique_ptr<TBitmap> AsgSpinGlyph(bool Up) {
  auto b = std::make_unique<TBitmap>(9, 6);
  TCanvas* c = b->Canvas();
  // The bottom-left pixel is the transparent colour.
  c->Brush()->SetColor(clOlive);
  c->FillRect(TRect(0, 0, 9, 6));
  // Rows 1..4 hold the arrow, 1, 3, 5, 7 pixels wide, centred on x = 4.
  for (int row = 1; row <= 4; ++row) {
    const int half = Up ? row - 1 : 4 - row;
    for (int dx = -half; dx <= half; ++dx) c->SetPixels(4 + dx, row, clBlack);
  }
  return b;
}

// ---------------------------------------------------------------------------
// TAdvTimerSpeedButton

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() {
  Destroying();
  // The timer goes with the button's owned components; it must not fire into a half-gone button.
  if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
}

TAsgSpinButton* TAdvTimerSpeedButton::Pair() const { return dynamic_cast<TAsgSpinButton*>(Owner()); }

void TAdvTimerSpeedButton::SetTimeBtnState(const TTimeBtnState& Value) {
  FTimeBtnState = Value;
  Invalidate();
}

void TAdvTimerSpeedButton::SetButtonDirection(TButtonDirection Value) {
  FButtonDirection = Value;
  Invalidate();
}

void TAdvTimerSpeedButton::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  Invalidate();
}

void TAdvTimerSpeedButton::RepaintParent() {
  if (Parent() != nullptr) Parent()->Invalidate();
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (FTimeBtnState.Contains(tbAllowTimer)) {
    if (FRepeatTimer == nullptr) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->SetOnTimer([this](TObject* Sender) { TimerExpired(Sender); });
    }
    FRepeatTimer->SetInterval(400);
    FRepeatTimer->SetEnabled(true);
  }
  RepaintParent();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
  RepaintParent();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*) {
  FRepeatTimer->SetInterval(100);
  if (FState == bsDown && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

void TAdvTimerSpeedButton::CMMouseEnter(TMessage& Message) {
  TSpeedButton::CMMouseEnter(Message);
  FHasMouse = true;
  Invalidate();
}

void TAdvTimerSpeedButton::CMMouseLeave(TMessage& Message) {
  TSpeedButton::CMMouseLeave(Message);
  FHasMouse = false;
  Invalidate();
}

bool TAdvTimerSpeedButton::PaintThemed(const TRect& R) {
  if (!XPVSThemeBinding.Loaded() || XPVSThemeBinding.OpenThemeData() == nullptr) return false;
  HWND wnd = Pair() != nullptr && Pair()->HandleAllocated() ? Pair()->Handle() : nullptr;
  HTHEME theme = XPVSThemeBinding.OpenThemeData()(wnd, u"spin");
  if (theme == nullptr) return false;
  static constexpr int parts[] = {SPNP_DOWNHORZ, SPNP_UPHORZ, SPNP_UP, SPNP_DOWN};  // by TButtonDirection
  const int state = FState == bsDown ? TS_PRESSED : FHasMouse ? TS_HOT : TS_NORMAL;
  RECT rc = R;
  XPVSThemeBinding.DrawThemeBackground()(theme, Canvas()->Handle(), parts[FButtonDirection], state, &rc, nullptr);
  XPVSThemeBinding.CloseThemeData()(theme);
  return true;
}

void TAdvTimerSpeedButton::PaintColoured(const TRect& R, TColor Face) {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Face);
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetColor(Face);
  c->Rectangle(R);
  const int L = R.Left, T = R.Top;
  switch (FButtonDirection) {
    case bdLeft: Triangle(c, clBlack, {TPoint(L + 5, T + 5), TPoint(L + 3, T + 7), TPoint(L + 5, T + 9)}); break;
    case bdRight: Triangle(c, clBlack, {TPoint(L + 3, T + 5), TPoint(L + 5, T + 7), TPoint(L + 3, T + 9)}); break;
    case bdUp: Triangle(c, clBlack, {TPoint(L + 4, T + 4), TPoint(L + 8, T + 4), TPoint(L + 6, T + 2)}); break;
    case bdDown: Triangle(c, clBlack, {TPoint(L + 4, T + 2), TPoint(L + 8, T + 2), TPoint(L + 6, T + 4)}); break;
  }
}

void TAdvTimerSpeedButton::Paint() {
  const TRect R = ClientRect();
  TAsgSpinButton* pair = Pair();
  const TColor face = pair != nullptr ? pair->ButtonColor() : clNone;
  if (face != clNone) {
    // The pressed colour over the hot one over the plain one.
    TColor c = face;
    if (FState == bsDown) c = pair->ButtonColorDown();
    else if (FHasMouse) c = pair->ButtonColorHot();
    PaintColoured(R, c != clNone ? c : face);
  } else if (!(FIsWinXP && PaintThemed(R))) {
    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
      RECT rc = R;
      UINT state = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
      if (FState == bsDown) state |= DFCS_PUSHED;
      if (Flat()) state |= DFCS_FLAT;
      DrawFrameControl(Canvas()->Handle(), &rc, DFC_SCROLL, state);
    } else {
      TSpeedButton::Paint();
    }
  }
  if (FTimeBtnState.Contains(tbFocusRect)) {
    TRect f(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
    if (FState == bsDown) f = TRect(f.Left + 1, f.Top + 1, f.Right + 1, f.Bottom + 1);
    RECT rc = f;
    DrawFocusRect(Canvas()->Handle(), &rc);
  }
}

// ---------------------------------------------------------------------------
// TAsgSpinButton

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FControlStyle.Include(csOpaque);
  SetTabStop(false);
  FUpButton = CreateButton();
  FDownButton = CreateButton();
  FUpButton->SetButtonDirection(bdUp);
  FDownButton->SetButtonDirection(bdDown);
  SetUpGlyph(nullptr);
  SetDownGlyph(nullptr);
  SetBounds(0, 0, 15, 25);
  FFocusedButton = FUpButton;
}

TAsgSpinButton::~TAsgSpinButton() { Destroying(); }

TAdvTimerSpeedButton* TAsgSpinButton::CreateButton() {
  auto* b = new TAdvTimerSpeedButton(this);
  b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
  b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState, int, int) { BtnMouseDown(Sender, Button); };
  b->SetVisible(true);
  b->SetEnabled(true);
  b->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
  b->SetParent(this);
  return b;
}

void TAsgSpinButton::SetFocusControl(TWinControl* Value) {
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAsgSpinButton::SetDirection(TSpinDirection Value) {
  if (Value == FDirection) return;
  FDirection = Value;
  if (Value == spHorizontal) {
    FUpButton->SetButtonDirection(bdRight);
    FDownButton->SetButtonDirection(bdLeft);
    SetWidth(20);
  } else {
    FUpButton->SetButtonDirection(bdUp);
    FDownButton->SetButtonDirection(bdDown);
    SetWidth(15);
  }
  Invalidate();
}

void TAsgSpinButton::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  FUpButton->SetIsWinXP(Value);
  FDownButton->SetIsWinXP(Value);
}

void TAsgSpinButton::SetUpGlyph(TBitmap* Value) {
  if (Value == nullptr || Value->Empty()) {
    FUpButton->SetGlyph(AsgSpinGlyph(true).get());
    FUpButton->SetNumGlyphs(1);
  } else {
    FUpButton->SetGlyph(Value);
  }
}

void TAsgSpinButton::SetDownGlyph(TBitmap* Value) {
  if (Value == nullptr || Value->Empty()) {
    FDownButton->SetGlyph(AsgSpinGlyph(false).get());
    FDownButton->SetNumGlyphs(1);
  } else {
    FDownButton->SetGlyph(Value);
  }
}

void TAsgSpinButton::ButtonColorsChanged() {
  FUpButton->Invalidate();
  FDownButton->Invalidate();
}

int TAsgSpinButton::AdjustSize(int W, int H) {
  if (FUpButton == nullptr || IsLoading()) return W;
  if (FDirection == spVertical) {
    W = std::max(W, 15);
    FUpButton->SetBounds(0, 0, W, H / 2);
    FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
  } else {
    W = std::max(W, 20);
    FDownButton->SetBounds(0, 0, W / 2, H);
    FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
  }
  return W;
}

void TAsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = AdjustSize(AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAsgSpinButton::Loaded() {
  TWinControl::Loaded();
  const int w = AdjustSize(Width(), Height());
  if (w != Width()) TWinControl::SetBounds(Left(), Top(), w, Height());
}

void TAsgSpinButton::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS); }

void TAsgSpinButton::SetFocusBtn(TAdvTimerSpeedButton* Btn) {
  if (!TabStop() || !CanFocus() || Btn == FFocusedButton) return;
  TTimeBtnState s = FFocusedButton->TimeBtnState();
  const bool marked = s.Contains(tbFocusRect);
  s.Exclude(tbFocusRect);
  FFocusedButton->SetTimeBtnState(s);
  FFocusedButton = Btn;
  if (marked) {
    TTimeBtnState n = Btn->TimeBtnState();
    n.Include(tbFocusRect);
    Btn->SetTimeBtnState(n);
  }
}

void TAsgSpinButton::KeyDown(Word& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_SPACE: FFocusedButton->Click(); break;
    case VK_UP:
      SetFocusBtn(FUpButton);
      FUpButton->Click();
      break;
    case VK_DOWN:
      SetFocusBtn(FDownButton);
      FDownButton->Click();
      break;
    default: break;
  }
}

void TAsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button) {
  if (Button != mbLeft) return;
  SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(Sender));
  if (FFocusControl != nullptr && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && CanFocus() && !Focused())
    SetFocus();
}

void TAsgSpinButton::BtnClick(TObject* Sender) {
  if (Sender == FUpButton) {
    if (OnUpClick) OnUpClick(this);
  } else if (Sender == FDownButton) {
    if (OnDownClick) OnDownClick(this);
  }
}

// ---------------------------------------------------------------------------
// TAsgSpinEdit

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  FButton = new TAsgSpinButton(this);
  FButton->SetBounds(0, 0, 15, 17);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
  FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
  SetText(u"0");
}

TAsgSpinEdit::~TAsgSpinEdit() {
  Destroying();
  FButton = nullptr;  // freed as an owned component
}

// ---- limits

int32_t TAsgSpinEdit::CheckValue(int64_t Value) const {
  int64_t v = Value;
  if (FMinValue != FMaxValue) {
    if (v <= FMinValue) v = FMinValue;
    else if (v >= FMaxValue) v = FMaxValue;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

double TAsgSpinEdit::CheckFloatValue(double Value) const {
  if (FMinFloatValue == FMaxFloatValue) return Value;
  if (Value <= FMinFloatValue) return FMinFloatValue;
  if (Value >= FMaxFloatValue) return FMaxFloatValue;
  return Value;
}

TDateTime TAsgSpinEdit::CheckDateValue(TDateTime Value) const {
  if (FMinDateValue == FMaxDateValue) return Value;
  if (Value <= FMinDateValue) return FMinDateValue;
  if (Value >= FMaxDateValue) return FMaxDateValue;
  return Value;
}

// ---- values

int32_t TAsgSpinEdit::Value() const {
  const String t = Trim(Text());
  if (t.empty()) return 0;
  int32_t v = 0;
  return TryStrToInt(t, v) ? v : FMinValue;
}

void TAsgSpinEdit::SetValue(int32_t Value) {
  SetText(IntToStr(CheckValue(Value)));
  if (!FEditorEnabled) SelectAll();
}

double TAsgSpinEdit::FloatValue() const {
  double v = 0;
  return TryStrToFloat(Trim(Text()), v) ? v : FMinFloatValue;
}

void TAsgSpinEdit::SetFloatValue(double Value) {
  const double v = CheckFloatValue(Value);
  SetText(FPrecision == 0 ? FloatToStr(v) : FloatToStrF(v, ffFixed, 15, FPrecision));
}

TDateTime TAsgSpinEdit::DateValue() const {
  const String t = Trim(Text());
  if (t.empty() || t == u"0") return Now();
  TDateTime v = 0;
  return TryStrToDate(t, v) ? v : FMinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime Value) {
  FDateValue = Value;
  if (IsLoading()) return;
  const int caret = SelStart();
  SetText(DateToStr(CheckDateValue(Value)));
  SetSelStart(caret);
}

TDateTime TAsgSpinEdit::TimeValue() const {
  TDateTime v = 0;
  return TryStrToTime(Trim(Text()), v) ? v : 0;
}

String TAsgSpinEdit::TimeText(TDateTime Value) const {
  return FShowSeconds ? TimeToStr(Value) : FormatDateTime(u"h:nn", Value);
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value) {
  FTimeValue = Value;
  if (IsLoading()) return;
  const int caret = SelStart();
  SetText(TimeText(CheckDateValue(Value)));
  SetSelStart(caret);
}

// ---- properties

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value) {
  FSpinType = Value;
  switch (Value) {
    case sptNormal: SetValue(this->Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
  }
}

void TAsgSpinEdit::SetPrecision(int32_t Value) {
  FPrecision = Value;
  if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TAsgSpinEdit::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  FButton->SetIsWinXP(Value);
}

void TAsgSpinEdit::Relayout() {
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetDirection(TSpinDirection Value) {
  FDirection = Value;
  FButton->SetDirection(Value);
  Relayout();
}

void TAsgSpinEdit::SetEditAlign(TEditAlign Value) {
  if (Value == FEditAlign) return;
  FEditAlign = Value;
  if (HandleAllocated()) UpdateWindowStyle();
}

void TAsgSpinEdit::SetSpinFlat(bool Value) {
  FSpinFlat = Value;
  FButton->UpButton()->SetFlat(Value);
  FButton->DownButton()->SetFlat(Value);
}

void TAsgSpinEdit::SetSpinTransparent(bool Value) {
  FSpinTransparent = Value;
  FButton->UpButton()->SetTransparent(Value);
  FButton->DownButton()->SetTransparent(Value);
  Relayout();
}

// ---- spinning

void TAsgSpinEdit::UpClick(TObject*) { SpinUp(false); }
void TAsgSpinEdit::DownClick(TObject*) { SpinDown(false); }
void TAsgSpinEdit::SpinUp(bool Page) { Spin(true, Page); }
void TAsgSpinEdit::SpinDown(bool Page) { Spin(false, Page); }

void TAsgSpinEdit::Spin(bool Up, bool Page) {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  const int sign = Up ? 1 : -1;
  switch (FSpinType) {
    case sptNormal: SetValue(CheckValue(static_cast<int64_t>(Value()) + sign * static_cast<int64_t>(FIncrement))); break;
    case sptFloat: SetFloatValue(FloatValue() + sign * (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: SpinDate(Up); break;
    case sptTime: SpinTime(Up); break;
  }
}

void TAsgSpinEdit::SpinDate(bool Up) {
  const int sign = Up ? 1 : -1;
  const String fmt = UpperCase(FormatSettings.ShortDateFormat);
  FUsDates = Pos(u'M', fmt) < Pos(u'D', fmt);
  // The parts in the order the short date format writes them (a part it lacks goes last).
  enum TPart { Day, Month, Year };
  auto at = [&](Char Letter) {
    const int p = Pos(Letter, fmt);
    return p > 0 ? p : static_cast<int>(fmt.size()) + 1;
  };
  TPart order[3] = {Day, Month, Year};
  const int positions[3] = {at(u'D'), at(u'M'), at(u'Y')};
  std::stable_sort(order, order + 3, [&](TPart a, TPart b) { return positions[a] < positions[b]; });
  const String t = Text();
  const Char sep = FormatSettings.DateSeparator;
  const int s1 = Pos(sep, t);
  const int s2 = s1 > 0 ? Pos(sep, t, s1 + 1) : 0;
  const int p = SelStart();
  const TDateTime d = DateValue();
  const TPart part = p < s1 ? order[0] : p < s2 ? order[1] : order[2];
  switch (part) {
    case Month: SetDateValue(IncMonth(d, sign)); break;
    case Day: SetDateValue(d + sign); break;
    case Year: {
      uint16_t y, m, dd;
      DecodeDate(d, y, m, dd);
      const int year = y + sign;
      // 29 February in a year without it becomes the 28th.
      TDateTime nd;
      if (TryEncodeDate(year, m, std::min<int>(dd, DaysInAMonth(year, m)), nd)) SetDateValue(nd + (d - std::trunc(d)));
      break;
    }
  }
}

void TAsgSpinEdit::SpinTime(bool Up) {
  const String t = Text();
  const Char sep = FormatSettings.TimeSeparator;
  const int t1 = Pos(sep, t);
  const int t2 = t1 > 0 ? Pos(sep, t, t1 + 1) : 0;
  const int p = SelStart();
  const TDateTime old = TimeValue();
  auto step = [&](TDateTime from, int sign) {
    if (p < t1) return IncHour(from, sign * static_cast<int64_t>(FIncrementHours));
    if (FShowSeconds && p >= t2) return IncSecond(from, sign * static_cast<int64_t>(FIncrementSeconds));
    return IncMinute(from, sign * static_cast<int64_t>(FIncrementMinutes));
  };
  if (Up) {
    SetTimeValue(step(old, 1));
  } else {
    // Down from the same time a day later, so that midnight wraps to the evening before.
    TDateTime v = step(old + 1, -1);
    if (v > 1) v -= 1;
    SetTimeValue(v);
  }
}

// ---- typing

bool TAsgSpinEdit::IsValidChar(Char& Key) {
  const struct {
    Char Dec, Thou, Time, Date;
  } fs{FormatSettings.DecimalSeparator, FormatSettings.ThousandSeparator, FormatSettings.TimeSeparator,
       FormatSettings.DateSeparator};
  // 1.
  if (Key == kBackspace) return FEditorEnabled;
  // 2.
  bool result = Key == fs.Dec || Key == fs.Thou || Key == fs.Time || Key == fs.Date || IsNumberChar(Key) || Key == u'-' ||
                (Key < 32 && Key != kEnter);
  // 3. A time or date separator of another kind counts only as the sign or separator it equals.
  auto sharedSeparator = [&](Char Sep) {
    return Sep == fs.Dec || Sep == fs.Thou || Sep == u'-' || Sep == u'+';
  };
  if (Key == fs.Time && FSpinType != sptTime) {
    if (!(sharedSeparator(fs.Time) && (FSpinType == sptNormal || FSpinType == sptFloat))) return false;
  }
  if (Key == fs.Date && FSpinType != sptDate) {
    if (!(sharedSeparator(fs.Date) && (FSpinType == sptNormal || FSpinType == sptFloat))) return false;
  }
  const String text = Text();
  const String sel = SelText();
  const int caret = SelStart();
  // 4. One sign, at the start.
  if (Key == u'-') {
    if (text.find(u'-') == String::npos) result = result && caret == 0;
    else result = result && sel.find(u'-') != String::npos && caret == 0;
  }
  // 5.
  if (FSpinType == sptNormal) result = result && (IsNumberChar(Key) || Key == u'-');
  // 6.
  if (FSpinType == sptFloat && Key != kEscape && Key != kEnter && Key != kBackspace) {
    if (Key == fs.Thou && fs.Thou != fs.Dec) result = false;
    if (Key == fs.Dec && text.find(fs.Dec) != String::npos && sel.find(fs.Dec) == String::npos) result = false;
    const int s = Pos(fs.Dec, text);
    if (FPrecision > 0 && s > 0 && caret >= s && sel.empty() && static_cast<int>(text.size()) >= s + FPrecision)
      result = false;
  }
  // 7. At most two time separators.
  if (FSpinType == sptTime && Key == fs.Time && std::count(text.begin(), text.end(), fs.Time) >= 2) result = false;
  // 8.
  if (!FEditorEnabled && Key >= 32) result = false;
  return result;
}

void TAsgSpinEdit::KeyPress(Char& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FReturnIsTab) {
    Key = VK_TAB;
    if (HandleAllocated()) {
      FTabPosted = true;
      PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
  }
  if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::WMKeyDown(TWMKey& Message) {
  switch (Message.CharCode()) {
    case VK_UP: SpinUp(false); return;
    case VK_DOWN: SpinDown(false); return;
    case VK_PRIOR: SpinUp(true); return;
    case VK_NEXT: SpinDown(true); return;
    case VK_TAB:
      if (FTabPosted) {
        // The Tab that Enter became: the key handling sees it first, then, when nothing took
        // it, the form moves the focus on as it does for a typed Tab.
        FTabPosted = false;
        TCustomMaskEdit::WMKeyDown(Message);
        if (Message.CharCode() != 0)
          if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, VK_TAB, 0);
        return;
      }
      TCustomMaskEdit::WMKeyDown(Message);
      return;
    default: TCustomMaskEdit::WMKeyDown(Message);
  }
}

void TAsgSpinEdit::WMChar(TWMKey& Message) {
  // The keypad's decimal key (bit 22 of the key data) types the locale's separator.
  if (FExcelStyleDecimalSeparator && Message.CharCode() == u'.' && (Message.KeyData() & 0x00400000) != 0)
    Message.SetCharCode(FormatSettings.DecimalSeparator);
  TCustomMaskEdit::WMChar(Message);
}

void TAsgSpinEdit::Dispatch(TMessage& Message) {
  if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!FEditorEnabled || ReadOnly())) return;
  TCustomMaskEdit::Dispatch(Message);
}

void TAsgSpinEdit::DoEnter() {
  // A click into the text places the caret instead of selecting everything.
  const bool keep = FAutoSelect;
  if (GetKeyState(VK_LBUTTON) < 0 && FEditorEnabled) FAutoSelect = false;
  TCustomMaskEdit::DoEnter();
  FAutoSelect = keep;
}

void TAsgSpinEdit::CMExit(TMessage& Message) {
  TCustomMaskEdit::CMExit(Message);
  // A value outside the limits shows as its limit.
  switch (FSpinType) {
    case sptNormal: {
      const int32_t v = Value();
      if (CheckValue(v) != v) SetValue(v);
      break;
    }
    case sptFloat: {
      const double v = FloatValue();
      if (CheckFloatValue(v) != v) SetFloatValue(v);
      break;
    }
    case sptDate: {
      const TDateTime v = DateValue();
      if (CheckDateValue(v) != v) SetDateValue(v);
      break;
    }
    case sptTime: {
      const TDateTime v = TimeValue();
      if (CheckDateValue(v) != v) SetTimeValue(v);
      break;
    }
  }
}

// ---- window and layout

void TAsgSpinEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  if (FSpinType == sptDate) SetText(DateToStr(FDateValue));
  if (FSpinType == sptTime) SetText(TimeText(FTimeValue));
  SetSpinType(FSpinType);
}

void TAsgSpinEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style &= ~(ES_CENTER | ES_RIGHT);
  Params.Style |= ES_MULTILINE | 0x02000000;  // WS_CLIPCHILDREN
  if (FEditAlign == asgspin::eaRight) Params.Style |= ES_RIGHT;
  else if (FEditAlign == asgspin::eaCenter) Params.Style |= ES_CENTER;
}

void TAsgSpinEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  LayoutButton();
}

void TAsgSpinEdit::SetEditRect() {
  if (FButton == nullptr || !HandleAllocated()) return;
  const int m = BorderStyle() == bsNone ? 3 : 0;
  RECT r = TRect(m, m, ClientWidth() - FButton->Width() - 2 - m, ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int EditMinHeight(TFont* Font) {
  TBitmap b(1, 1);
  TCanvas* c = b.Canvas();
  TFont sys;
  c->Font()->Assign(&sys);
  const int sysHeight = c->TextHeight(u"0");
  c->Font()->Assign(Font);
  const int fontHeight = c->TextHeight(u"0");
  return fontHeight + std::min(sysHeight, fontHeight) / 4;
}

int TAsgSpinEdit::GetMinHeight() {
  int h = EditMinHeight(Font()) + 2;
  if (BorderStyle() == bsSingle) h += 4 * GetSystemMetrics(SM_CYBORDER);
  return h;
}

void TAsgSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Never lower than the text needs.
  if (FButton != nullptr) AHeight = std::max(AHeight, GetMinHeight());
  TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutButton();
}

void TAsgSpinEdit::WMSize(TWMSize& Message) {
  TCustomMaskEdit::WMSize(Message);
  LayoutButton();
}

void TAsgSpinEdit::LayoutButton() {
  if (FButton == nullptr) return;
  // The class library's edits always draw in 3-D here.
  const int k = BorderStyle() == bsSingle ? 5 : 1;
  FButton->SetBounds(Width() - FButton->Width() - k, 0, FButton->Width(), Height() - k);
  SetEditRect();
}
