// TCanvas: the class library's drawing surface over a device context.
#include <algorithm>

#include "platform/ui/Graphics_p.h"

static const int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,        R2_NOT,       R2_COPYPEN,  R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                            R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,     R2_NOTXORPEN};

TCanvas::TCanvas() {
  // A change of pen, brush or font is selected again on the next drawing call.
  FFont.OnChange = [this](TObject*) { FState -= csFontValid; };
  FPen.OnChange = [this](TObject*) { FState -= csPenValid; };
  FBrush.OnChange = [this](TObject*) { FState -= csBrushValid; };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  if (!FHandle) CreateHandle();
  // Whoever draws on the handle directly (DrawText, API calls) gets the canvas's font,
  // pen and brush selected, as the class library does.
  if (FHandle) RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  DeselectHandles();
  FHandle = Value;
  FState.Clear();
  if (FHandle) FState += csHandleValid;
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    // The DC may outlive the canvas; leave stock objects selected rather than ours.
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
  FState -= csFontValid;
  FState -= csPenValid;
  FState -= csBrushValid;
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::RequiredState(const TCanvasStates& ReqState) {
  if (!FHandle) CreateHandle();
  HDC dc = FHandle;
  if (!dc) throw EInvalidOperation(u"Canvas does not allow drawing");
  if (ReqState.Contains(csFontValid) && !FState.Contains(csFontValid)) {
    SelectObject(dc, FFont.Handle());
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FFont.Color())));
    FState += csFontValid;
  }
  if (ReqState.Contains(csPenValid) && !FState.Contains(csPenValid)) {
    SelectObject(dc, FPen.Handle());
    SetROP2(dc, kRop2[FPen.Mode()]);
    FState += csPenValid;
  }
  if (ReqState.Contains(csBrushValid) && !FState.Contains(csBrushValid)) {
    SelectObject(dc, FBrush.Handle());
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(FBrush.Color())));
    SetBkMode(dc, FBrush.Style() == bsSolid ? OPAQUE : TRANSPARENT);
    FState += csBrushValid;
  }
  // Font colour and pen mode are kept even when the objects did not change.
  if (ReqState.Contains(csFontValid)) SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FFont.Color())));
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

static const TCanvasStates kPenBrush{csHandleValid, csPenValid, csBrushValid};
static const TCanvasStates kPen{csHandleValid, csPenValid};
static const TCanvasStates kBrush{csHandleValid, csBrushValid};
static const TCanvasStates kText{csHandleValid, csFontValid, csBrushValid};

TPoint TCanvas::PenPos() {
  POINT p;
  if (HDC dc = Handle()) GetCurrentPositionEx(dc, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RECT r;
  if (HDC dc = Handle()) GetClipBox(dc, &r);
  return r;
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(kPenBrush);
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(kPenBrush);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState(kBrush);
  ::FillRect(FHandle, &Rect, FBrush.Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState(kBrush);
  ::FrameRect(FHandle, &Rect, FBrush.Handle());
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(kPenBrush);
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState(kPenBrush);
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  Changing();
  RequiredState(kPenBrush);
  ::Polygon(FHandle, Points, Count);
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  Changing();
  RequiredState(kPenBrush);
  ::Polyline(FHandle, Points, Count);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(kPenBrush);
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(kPenBrush);
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(kPenBrush);
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState(kBrush);
  ExtFloodFill(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Color)),
               FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState(kBrush);
  ::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  Changing();
  RequiredState(kText);
  ExtTextOut(FHandle, X, Y, static_cast<UINT>(FTextFlags), nullptr, Text.c_str(), static_cast<UINT>(Text.size()),
             nullptr);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text) {
  Changing();
  RequiredState(kText);
  UINT options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
  if (FBrush.Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(FHandle, X, Y, options, &Rect, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& Rect, String& Text, const TTextFormat& TextFormat) {
  static const std::pair<TTextFormats, UINT> flags[] = {
      {tfBottom, DT_BOTTOM},         {tfCalcRect, DT_CALCRECT},       {tfCenter, DT_CENTER},
      {tfEditControl, DT_EDITCONTROL}, {tfEndEllipsis, DT_END_ELLIPSIS}, {tfPathEllipsis, DT_PATH_ELLIPSIS},
      {tfExpandTabs, DT_EXPANDTABS}, {tfExternalLeading, DT_EXTERNALLEADING}, {tfLeft, DT_LEFT},
      {tfModifyString, DT_MODIFYSTRING}, {tfNoClip, DT_NOCLIP},     {tfNoPrefix, DT_NOPREFIX},
      {tfRight, DT_RIGHT},           {tfRtlReading, DT_RTLREADING},   {tfSingleLine, DT_SINGLELINE},
      {tfTop, DT_TOP},               {tfVerticalCenter, DT_VCENTER},  {tfWordBreak, DT_WORDBREAK}};
  UINT format = 0;
  for (auto [tf, dt] : flags)
    if (TextFormat.Contains(tf)) format |= dt;
  Changing();
  RequiredState(kText);
  DrawText(FHandle, Text.c_str(), static_cast<int>(Text.size()), &Rect, format);
  Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE s;
  GetTextExtentPoint32(FHandle, Text.c_str(), static_cast<int>(Text.size()), &s);
  return s;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState(kBrush);
  HDC src = Canvas->Handle();
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), src, Source.Left, Source.Top, Source.Width(),
             Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  Changing();
  RequiredState(kBrush);
  QImage img = TBitmapAccess::Image(Bitmap).copy(QRect(Source.Left, Source.Top, Source.Width(), Source.Height()));
  QRgb key = ToQColor(ColorToRGB(Color)).rgb();
  QRgb fill = ToQColor(ColorToRGB(FBrush.Color())).rgb();
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = fill;
  }
  HBITMAP tmp = CreateBitmapFromImage(img);
  HDC mem = CreateCompatibleDC(FHandle);
  SelectObject(mem, tmp);
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), mem, 0, 0, img.width(), img.height(), SRCCOPY);
  DeleteDC(mem);
  DeleteObject(tmp);
  Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  COLORREF c = GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? -1 : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState(kPenBrush);
  SetPixel(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Value)));
  Changed();
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}
