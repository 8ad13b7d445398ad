// Cell button faces (combo, push and spin buttons) in the four looks, the spelling-error
// underline, the balance bar and transparent bitmaps.
#include <cmath>
#include <cstdint>
#include <memory>

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "controls/VevAzez.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Resources.h"

namespace {

constexpr uint8_t LookThemed = 0, LookClassic = 1, LookFlat = 2, LookTones = 3;
constexpr uint8_t StateDisabled = 3;

// The tone of a state in the custom look; nullptr for a state beyond disabled.
const TColorTone* ToneOf(const TColorTones& Tones, uint8_t State) {
  switch (State) {
    case 0: return &Tones.Background;
    case 1: return &Tones.Hover;
    case 2: return &Tones.Selected;
    case 3: return &Tones.Disabled;
    default: return nullptr;
  }
}

// Draws theme parts of ClassList through the utility routines' binding; nothing without it.
void DrawThemed(TCanvas* Canvas, HWND Wnd, LPCWSTR ClassList, std::initializer_list<std::pair<int, RECT>> Parts,
                int StateId) {
  const TThemeBinding& B = XPVSThemeBinding;
  if (!B.Loaded() || !B.OpenThemeData() || !B.DrawThemeBackground() || !B.CloseThemeData()) return;
  HTHEME Theme = B.OpenThemeData()(Wnd, ClassList);
  if (!Theme) return;
  for (const auto& [Part, Rect] : Parts) B.DrawThemeBackground()(Theme, Canvas->Handle(), Part, StateId, &Rect, nullptr);
  B.CloseThemeData()(Theme);
}

void FrameControl(TCanvas* Canvas, TRect R, UINT Type, UINT State) { DrawFrameControl(Canvas->Handle(), &R, Type, State); }

void FillTriangle(TCanvas* Canvas, TColor Color, TPoint A, TPoint B, TPoint C) {
  Canvas->Brush()->SetColor(Color);
  Canvas->Pen()->SetColor(Color);
  Canvas->Polygon({A, B, C});
}

// An edit's EM_POSFROMCHAR answer as a point.
TPoint PosFromChar(TCustomEdit* Edit, int Index) {
  auto Pos = static_cast<uint32_t>(Edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(Index), 0));
  return TPoint(static_cast<int16_t>(Pos & 0xFFFF), static_cast<int16_t>(Pos >> 16));
}

}  // namespace

void DrawComboButton(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones) {
  TRect B(R.Right - 17 - 2, R.Top + 1, R.Right - 2, R.Bottom - 1);
  const bool Disabled = State == StateDisabled;
  switch (Look) {
    case LookThemed:
      DrawThemed(Canvas, Wnd, u"combobox", {{CP_DROPDOWNBUTTON, B}}, Disabled ? TS_DISABLED : TS_NORMAL);
      break;
    case LookClassic:
    case LookFlat:
      FrameControl(Canvas, B, DFC_SCROLL,
                   DFCS_SCROLLCOMBOBOX | (Disabled ? DFCS_INACTIVE : 0) | (Look == LookFlat ? DFCS_FLAT : 0));
      break;
    case LookTones: {
      B.Left += 3;
      if (const TColorTone* Tone = ToneOf(Tones, State)) {
        Canvas->Brush()->SetColor(Tone->BrushColor);
        Canvas->Pen()->SetColor(Tone->BrushColor);
      }
      Canvas->Rectangle(B);
      Canvas->Pen()->SetColor(Tones.Background.BorderColor);
      Canvas->MoveTo(B.Left + 1, B.Top);
      Canvas->LineTo(B.Left + 1, B.Bottom);
      FillTriangle(Canvas, Tones.Background.TextColor, TPoint(B.Left + 5, B.Top + 8), TPoint(B.Left + 11, B.Top + 8),
                   TPoint(B.Left + 8, B.Top + 11));
      break;
    }
    default:
      break;
  }
}

void DrawButtonFace(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones) {
  switch (Look) {
    case LookThemed:
      DrawThemed(Canvas, Wnd, u"button", {{BP_PUSHBUTTON, R}}, State <= StateDisabled ? State + 1 : TS_NORMAL);
      break;
    case LookClassic:
    case LookFlat: {
      UINT Flags = DFCS_BUTTONPUSH | (Look == LookFlat ? DFCS_FLAT : 0);
      if (State == 1) Flags |= DFCS_HOT;
      if (State == 2) Flags |= DFCS_PUSHED;
      if (State == 3) Flags |= DFCS_INACTIVE;
      FrameControl(Canvas, R, DFC_BUTTON, Flags);
      break;
    }
    case LookTones:
      // A state beyond disabled keeps the canvas's colours.
      if (const TColorTone* Tone = ToneOf(Tones, State)) {
        Canvas->Brush()->SetColor(Tone->BrushColor);
        Canvas->Pen()->SetColor(Tone->BorderColor);
      }
      Canvas->Rectangle(R);
      break;
    default:
      break;
  }
}

void DrawSpinButtons(TCanvas* Canvas, HWND Wnd, const TRect& R, uint8_t Look, uint8_t State, const TColorTones& Tones) {
  const TRect S(R.Right - 15 - 1, R.Top - 1, R.Right - 1, R.Bottom - 1);
  const int Mid = S.Top + (S.Bottom - S.Top) / 2;
  const bool Disabled = State == StateDisabled;
  const TRect Up(S.Left, S.Top, S.Right, Mid);
  switch (Look) {
    case LookThemed:
      DrawThemed(Canvas, Wnd, u"spin", {{SPNP_UP, Up}, {SPNP_DOWN, TRect(S.Left, Mid, S.Right, S.Bottom)}},
                 Disabled ? TS_DISABLED : TS_NORMAL);
      break;
    case LookClassic:
    case LookFlat: {
      const UINT Extra = (Disabled ? DFCS_INACTIVE : 0) | (Look == LookFlat ? DFCS_FLAT : 0);
      FrameControl(Canvas, Up, DFC_SCROLL, DFCS_SCROLLUP | Extra);
      FrameControl(Canvas, TRect(S.Left, Mid + 1, S.Right, S.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN | Extra);
      break;
    }
    case LookTones:
      if (const TColorTone* Tone = ToneOf(Tones, State)) {
        Canvas->Brush()->SetColor(Tone->BrushColor);
        Canvas->Pen()->SetColor(Tone->BrushColor);
      }
      Canvas->Rectangle(Up);
      Canvas->Rectangle(S.Left, Mid + 1, S.Right, S.Bottom);
      FillTriangle(Canvas, clBlack, TPoint(S.Left + 5, S.Top + 5), TPoint(S.Left + 9, S.Top + 5),
                   TPoint(S.Left + 7, S.Top + 3));
      FillTriangle(Canvas, clBlack, TPoint(S.Left + 5, Mid + 2), TPoint(S.Left + 9, Mid + 2),
                   TPoint(S.Left + 7, Mid + 4));
      break;
    default:
      break;
  }
}

void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R, int YOffset,
                        int ErrorStart, int ErrorLength) {
  const int Len = static_cast<int>(Text.size());
  // An empty text or an empty error marks no character, and an edit gives no position for one.
  if (Len == 0 || ErrorStart < 0 || ErrorLength <= 0) return;
  int X1, Y1, X2, Y2;
  {
    // Character positions come from an invisible edit laid out like the cell.
    std::unique_ptr<TEdit> Edit(new TEdit(Owner));
    Edit->SetVisible(false);
    Edit->SetParent(Owner);
    Edit->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    Edit->SetText(Text);
    const TPoint Start = PosFromChar(Edit.get(), ErrorStart < Len ? ErrorStart : Len);
    X1 = Start.X + (ErrorStart < Len ? 0 : 4);
    Y1 = Start.Y;
    const int64_t E = int64_t(ErrorStart) + ErrorLength;
    if (E < Len) {
      const TPoint End = PosFromChar(Edit.get(), static_cast<int>(E - 1));
      X2 = End.X;
      Y2 = End.Y;
    } else {
      X2 = PosFromChar(Edit.get(), Len - 1).X + 4;
      Y2 = Y1;
    }
  }
  Canvas->Pen()->SetColor(clRed);
  Canvas->Pen()->SetWidth(2);
  const int Base = R.Top + Y2 + YOffset;
  Canvas->MoveTo(R.Left + X1, R.Top + Y1 + YOffset + 3);
  int Lift = 3, X = X1;
  for (; X <= X2; X += 3) {
    Lift = Lift == 3 ? 0 : 3;
    Canvas->LineTo(R.Left + X + 3, Base + Lift);
  }
  Canvas->LineTo(R.Left + X + 3, Lift == 3 ? Base : Base + 3);
}

void DrawBalanceBar(TCanvas* Canvas, const TRect& R, int Value, int Range, bool ShowValue, TColor NegativeColor,
                    TColor PositiveColor) {
  if (Range == 0) throw EZeroDivide(u"Floating point division by zero");
  if (Range == INT32_MIN) throw EIntOverflow(u"Integer overflow");
  TRect Inner(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  const int Half = (Inner.Right - Inner.Left) / 2;
  const int Centre = Inner.Left + Half;
  if (Value > Range) Value = Range;
  if (Value < -Range) Value = -Range;
  const int Offset = static_cast<int>(std::nearbyint(static_cast<double>(Half) * Value / Range));
  const TColor Color = Value < 0 ? NegativeColor : PositiveColor;
  Canvas->Brush()->SetColor(Color);
  Canvas->Pen()->SetColor(Color);
  if (Value < 0)
    Canvas->Rectangle(Centre + Offset, Inner.Top, Centre, Inner.Bottom);
  else
    Canvas->Rectangle(Centre, Inner.Top, Centre + Offset, Inner.Bottom);
  if (ShowValue) {
    SetBkMode(Canvas->Handle(), TRANSPARENT);
    const String Text = IntToStr(Value);
    DrawText(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Inner, DT_SINGLELINE | DT_CENTER);
  }
}

void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R) {
  const int W = Bitmap->Width(), H = Bitmap->Height();
  TBitmap Temp(W, H);
  Temp.Canvas()->Brush()->SetColor(BkColor);
  const TRect Whole(0, 0, W, H);
  Temp.Canvas()->BrushCopy(Whole, Bitmap, Whole, Bitmap->Canvas()->Pixels(0, 0));
  Canvas->CopyRect(TRect(R.Left, R.Top, R.Left + W, R.Top + H), Temp.Canvas(), Whole);
}

void DrawResBitmapTransparent(TCanvas* Canvas, TColor BkColor, const TRect& R, const String& ResName) {
  TBitmap Bitmap;
  HRSRC Res = FindResourceW(HInstance, ResName.c_str(), RT_BITMAP);
  if (!Res) throw EReadError(u"Resource " + ResName + u" not found");
  TMemoryStream Stream;
  Stream.Write(LockResource(LoadResource(HInstance, Res)), static_cast<int32_t>(SizeofResource(HInstance, Res)));
  Stream.Seek(0, soBeginning);
  Bitmap.LoadFromStream(&Stream);
  DrawBitmapTransparent(Canvas, &Bitmap, BkColor, R);
}
