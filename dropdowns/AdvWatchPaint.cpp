// The analogue clock's painting: the face into its cache, the hands over a copy of it, the
// AM/PM roll, and the module's GDI+ drawing routines.

#include <algorithm>
#include <cmath>

#include "controls/AdvGDIP.h"
#include "dropdowns/AdvWatch.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Ole.h"

namespace {

constexpr double kDeg = M_PI / 180.0;

// Four lines and four quarter arcs of the given corner radius, closed.
void AddRoundRect(TGPGraphicsPath& Path, float X, float Y, float W, float H, float Radius) {
  const float d = Radius * 2;
  Path.AddArc(X, Y, d, d, 180, 90);
  Path.AddLine(X + Radius, Y, X + W - Radius, Y);
  Path.AddArc(X + W - d, Y, d, d, 270, 90);
  Path.AddLine(X + W, Y + Radius, X + W, Y + H - Radius);
  Path.AddArc(X + W - d, Y + H - d, d, d, 0, 90);
  Path.AddLine(X + W - Radius, Y + H, X + Radius, Y + H);
  Path.AddArc(X, Y + H - d, d, d, 90, 90);
  Path.AddLine(X, Y + H - Radius, X, Y + Radius);
  Path.CloseFigure();
}

void AddShape(TGPGraphicsPath& Path, TWatchShape Shape, float X, float Y, float W, float H) {
  if (Shape == wsRoundRect) AddRoundRect(Path, X, Y, W, H, 8);
  else Path.AddRectangle(TGPRectF{X, Y, W, H});
}

// A GDI+ graphics on the canvas, anti-aliased.
std::unique_ptr<TGPGraphics> SmoothGraphics(TCanvas* Canvas) {
  auto g = std::make_unique<TGPGraphics>(Canvas->Handle());
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  return g;
}

// The point at Rho along Angle (degrees clockwise from 12 o'clock) from (Cx, Cy).
TGPPointF Along(double Cx, double Cy, double Angle, double Rho) {
  return TGPPointF{float(Cx + std::sin(Angle * kDeg) * Rho), float(Cy - std::cos(Angle * kDeg) * Rho)};
}

}  // namespace

// ---------------------------------------------------------------------------
// Module routines


void DrawTextGDIP(TCanvas* Canvas, TGPGraphics* Graphics, int Alignment, TRect Rect, int Hint, bool Draw,
                  bool Enabled, TFont* Font, const String& Text, TRect* Bounds) {
  if ((Graphics == nullptr && Canvas == nullptr) || Text.empty()) return;
  if (Hint == 0 && Canvas != nullptr) {
    Canvas->Font()->Assign(Font);
    Canvas->Brush()->SetStyle(bsClear);
    const TSize s = Canvas->TextExtent(Text);
    if (Bounds) *Bounds = TRect(Rect.Left, Rect.Top, Rect.Left + s.cx, Rect.Top + s.cy);
    if (!Draw) return;
    int x = Rect.Left;
    if (Alignment == 1) x = Rect.Left + (Rect.Width() - s.cx) / 2;
    else if (Alignment == 2) x = Rect.Right - s.cx;
    Canvas->TextOut(x, Rect.Top + (Rect.Height() - s.cy) / 2, Text);
    return;
  }
  std::unique_ptr<TGPGraphics> own;
  if (Graphics == nullptr) {
    own = std::make_unique<TGPGraphics>(Canvas->Handle());
    Graphics = own.get();
  }
  std::unique_ptr<TGPFont> font = Graphics->MakeFont(Font);
  TGPStringFormat format(0, 0);
  format.SetAlignment(StringAlignment(Alignment == 1 ? StringAlignmentCenter
                                                     : Alignment == 2 ? StringAlignmentFar : StringAlignmentNear));
  format.SetLineAlignment(StringAlignmentNear);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  format.SetTrimming(StringTrimmingNone);
  TGPSolidBrush brush(ColorToARGB(Enabled ? Font->Color() : TColor(0x808080)));
  Graphics->SetTextRenderingHint(TextRenderingHint(Hint));
  const TGPRectF layout{float(Rect.Left), float(Rect.Top), float(Rect.Width()), float(Rect.Height())};
  TGPRectF box{};
  Graphics->MeasureString(Text, int32_t(Text.size()), font.get(), layout, &format, &box);
  if (Bounds)
    *Bounds = TRect(int(Round(box.X)), int(Round(box.Y)), int(Round(box.X + box.Width)), int(Round(box.Y + box.Height)));
  if (Draw) Graphics->DrawString(Text, int32_t(Text.size()), font.get(), layout, &format, &brush);
}

bool DrawGraphicGDIP(TGPGraphics* Graphics, TCanvas* Canvas, TRect Rect, TGraphic* Graphic, bool Stretch,
                     bool Transparent) {
  if (Graphic == nullptr || Graphic->Empty() || (Graphics == nullptr && Canvas == nullptr)) return false;
  TMemoryStream data;
  Graphic->SaveToStream(&data);
  const int64_t size = data.Size();
  if (size <= 0 || size > MaxPictureFileSize) return false;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
  if (mem == nullptr) throw Exception(u"Could not allocate memory for image");
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream)) || stream == nullptr) {
    GlobalFree(mem);
    return false;
  }
  stream->Write(data.Memory(), static_cast<ULONG>(size), nullptr);
  stream->Seek(0, STREAM_SEEK_SET, nullptr);
  bool drawn = false;
  {
    TGPBitmap image(stream, false);
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    if (image.GetLastStatus() == Ok && w > 0 && h > 0) {
      std::unique_ptr<TGPGraphics> own;
      if (Graphics == nullptr) {
        own = SmoothGraphics(Canvas);
        Graphics = own.get();
      }
      if (Transparent && image.GetFormat() != ifPNG) {
        ARGB key = 0;
        image.GetPixel(0, 0, key);
        TGPImageAttributes attributes;
        attributes.SetColorKey(key, key);
        const TGPRectF dest = Stretch ? TGPRectF{float(Rect.Left), float(Rect.Top), float(Rect.Width()), float(Rect.Height())}
                                      : TGPRectF{float(Rect.Left), float(Rect.Top), float(w), float(h)};
        Graphics->DrawImage(&image, dest, 0, 0, float(w), float(h), UnitPixel, &attributes);
      } else {
        Graphics->DrawImage(&image, Rect.Left, Rect.Top);
      }
      drawn = true;
    }
  }
  stream->Release();
  return drawn;
}

// ---------------------------------------------------------------------------
// The face

TRect TAdvWatch::GetAMPMRect() {
  if (!FShowAMPM) return TRect(-1, -1, -1, -1);
  TBitmap scratch(1, 1);
  TRect text;
  DrawTextGDIP(scratch.Canvas(), nullptr, 0, TRect(0, 0, 10000, 10000), TextRenderingHintAntiAlias, false, true,
               FAppearance->AMPMFont(), u"AM", &text);
  const int tw = text.Width(), th = text.Height();
  const TRect f = FaceRect();
  const int R = f.Width() / 2, cx = f.Left + R, cy = f.Top + f.Height() / 2;
  const int left = cx - (tw + 8) / 2, top = cy + int(Round((R - th) / 3.0));
  return TRect(left, top, left + tw + 8, top + th);
}

void TAdvWatch::PaintAll() {
  FFaceValid = false;
  FScreenValid = false;
  Invalidate();
}

void TAdvWatch::PaintHands() {
  // The roll's frames carry the hands while it runs.
  if (FRollTimer->Enabled()) return;
  // Over a valid face only the old and the new hands' area is painted again. A running clock
  // shows the time of its painting, so it repaints whole.
  if (FFaceValid && !FScreenValid && FHandsShown && !FSettings->Auto() && HandleAllocated()) {
    const TRect now = HandsRect();
    const TRect r(std::min(FHandsRect.Left, now.Left), std::min(FHandsRect.Top, now.Top),
                  std::max(FHandsRect.Right, now.Right), std::max(FHandsRect.Bottom, now.Bottom));
    InvalidateRect(Handle(), &r, FALSE);
    return;
  }
  FScreenValid = false;
  Invalidate();
}

TRect TAdvWatch::HandsRect() const {
  TWatchAppearance* a = FAppearance.get();
  const TRect f = FaceRect();
  const int R = f.Width() / 2;
  const double cx = f.Left + R, cy = f.Top + f.Height() / 2;
  uint16_t hh, mm, ss, ms;
  DecodeTime(CurrentTime(), hh, mm, ss, ms);
  double l = cx, t = cy, r = cx, b = cy;
  // A hand from Back behind the centre to Tip along Angle, Half wide on either side.
  auto add = [&](double Angle, double Back, double Tip, double Half) {
    for (const TGPPointF& p : {Along(cx, cy, Angle, -Back), Along(cx, cy, Angle, Tip)}) {
      l = std::min(l, p.X - Half);
      r = std::max(r, p.X + Half);
      t = std::min(t, p.Y - Half);
      b = std::max(b, p.Y + Half);
    }
  };
  const double th = (hh % 12) * 30.0 + mm / 12.0 * 6.0, tm = mm * 6.0;
  const double side = a->PointerStyle() == psPointer ? 0.05 * R : 0;
  add(th, 0.1 * R, 0.5 * R, std::max(a->HourPointerSize() / 2.0, side));
  add(tm, 0.1 * R, 0.7 * R, std::max(a->MinutePointerSize() / 2.0, side));
  if (FSettings->Auto() && FSettings->Second()) add(ss * 6.0, 0.2 * R, 0.9 * R, a->SecondPointerSize() / 2.0);
  const double S = a->CenterPointSize();
  add(0, 0, 0, S / 2 + S * 0.1 + 1);
  // The shadows lie up to one pixel aside and three below; anti-aliasing reaches a pixel further.
  return TRect(int(std::floor(l)) - 3, int(std::floor(t)) - 2, int(std::ceil(r)) + 3, int(std::ceil(b)) + 5);
}

void TAdvWatch::Paint() {
  if (!FFaceValid) UpdateFace();
  // A roll frame is shown as it was composed.
  if (FScreenValid) {
    const TRect all(0, 0, ClientWidth(), ClientHeight());
    Canvas()->CopyRect(all, FScreen->Canvas(), all);
    return;
  }
  // Only the part to paint: the face copied into the frame, the hands drawn over it, and the
  // frame's part copied to the window.
  const TRect clip = Canvas()->ClipRect();
  const TRect part(std::max(clip.Left, 0), std::max(clip.Top, 0), std::min(clip.Right, ClientWidth()),
                   std::min(clip.Bottom, ClientHeight()));
  if (part.Right <= part.Left || part.Bottom <= part.Top) return;
  FScreen->SetSize(ClientWidth(), ClientHeight());
  FScreen->Canvas()->CopyRect(part, FBKGCache->Canvas(), part);
  DrawPointers(FScreen.get(), part);
  Canvas()->CopyRect(part, FScreen->Canvas(), part);
  FHandsRect = HandsRect();
  FHandsShown = true;
}

void TAdvWatch::UpdateFace() {
  FBKGCache->SetSize(ClientWidth(), ClientHeight());
  TCanvas* c = FBKGCache->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(TRect(0, 0, ClientWidth(), ClientHeight()));
  {
    auto g = SmoothGraphics(c);
    DrawFace(g.get(), c);
    DrawTickMarks(g.get());
  }
  DrawNumbers(c);
  {
    auto g = SmoothGraphics(c);
    DrawAMPM(g.get(), c);
  }
  FFaceValid = true;
  FScreenValid = false;
  ++FFaceDraws;
}

void TAdvWatch::DrawFace(TGPGraphics* G, TCanvas* Canvas) {
  TWatchAppearance* a = FAppearance.get();
  const float L = 0, T = 0, W = float(ClientWidth()), H = float(ClientHeight());
  const TRect f = FaceRect();
  const int R = f.Width() / 2;
  const float cx = float(f.Left + R), cy = float(f.Top + f.Height() / 2);
  bool pictured = false;
  TGraphic* picture = a->Picture()->Graphic();
  if (picture != nullptr && !picture->Empty()) {
    // A picture that cannot be read (corrupt, too large) leaves the painted background.
    try {
      pictured = DrawGraphicGDIP(G, Canvas, TRect(0, 0, ClientWidth(), ClientHeight()), picture, true, true);
    } catch (const std::exception&) {
      pictured = false;
    }
  }
  const TColor to = a->BackgroundColorTo() == clNone ? a->BackgroundColor() : a->BackgroundColorTo();
  if (!pictured && a->BackgroundGradient() == wgRadial) {
    TGPGraphicsPath path;
    if (a->Shape() == wsCircle) path.AddEllipse(cx - R, cy - R, 2.0f * R, 2.0f * R);
    else AddShape(path, a->Shape(), L, T, W, H);
    TGPPathGradientBrush brush(&path);
    brush.SetCenterColor(ColorToARGB(a->BackgroundColor()));
    brush.SetCenterPoint(NewGPPoint(int(cx), int(cy)));
    const ARGB surround = ColorToARGB(to);
    int32_t count = 1;
    brush.SetSurroundColors(&surround, count);
    if (a->Shape() == wsCircle) G->FillEllipse(&brush, cx - R, cy - R, 2.0f * R, 2.0f * R);
    else G->FillPath(&brush, &path);
  } else if (!pictured) {
    const LinearGradientMode mode = a->BackgroundGradient() == wgDiagonalForward    ? LinearGradientModeForwardDiagonal
                                    : a->BackgroundGradient() == wgDiagonalBackward ? LinearGradientModeBackwardDiagonal
                                                                                    : LinearGradientModeVertical;
    TGPLinearGradientBrush brush(TGPRectF{L, T, W, H}, ColorToARGB(a->BackgroundColor()), ColorToARGB(to), mode);
    if (a->Shape() == wsCircle) G->FillEllipse(&brush, cx - R, cy - R, 2.0f * R, 2.0f * R);
    else if (a->Shape() == wsRect) G->FillRectangle(&brush, L, T, W, H);
    else {
      TGPGraphicsPath path;
      AddShape(path, wsRoundRect, L, T, W, H);
      G->FillPath(&brush, &path);
    }
  }
  if (a->BorderWidth() >= 1 && a->BorderColor() != clNone) {
    TGPPen pen(ColorToARGB(a->BorderColor()), float(a->BorderWidth()));
    if (a->Shape() == wsCircle) G->DrawEllipse(&pen, cx - R, cy - R, 2.0f * R, 2.0f * R);
    else if (a->Shape() == wsRect) G->DrawRectangle(&pen, L, T, W - 1, H - 1);
    else {
      TGPGraphicsPath path;
      AddShape(path, wsRoundRect, L, T, W - 1, H - 1);
      G->DrawPath(&pen, &path);
    }
  }
}

void TAdvWatch::DrawTickMarks(TGPGraphics* G) {
  TWatchAppearance* a = FAppearance.get();
  if (a->TickMarks() == tmNone) return;
  const TRect f = FaceRect();
  const int R = f.Width() / 2;
  const double cx = f.Left + R, cy = f.Top + f.Height() / 2;
  const double q = R - a->BorderWidth() / 2;
  // Marks go clockwise from 3 o'clock.
  auto mark = [&](TGPPen& pen, double angle, double from, double to, double sx, double sy) {
    const double c = std::cos(angle * kDeg), s = std::sin(angle * kDeg);
    G->DrawLine(&pen, float(cx + c * from + sx), float(cy + s * from + sy), float(cx + c * to + sx),
                float(cy + s * to + sy));
  };
  const double r = a->HourMarkLength() != 0 ? q - a->HourMarkLength() : q * 0.9;
  TGPPen hourPen(ColorToARGB(a->HourColor()), float(a->HourMarkWidth()));
  for (int i = 0; i < 4; ++i) {
    const double angle = i * 90.0;
    if (a->HourMarkStyle() == hmsQuartDblLine) {
      const bool horizontal = i % 2 == 0;
      mark(hourPen, angle, r, q, horizontal ? 0 : -2, horizontal ? -2 : 0);
      mark(hourPen, angle, r, q, horizontal ? 0 : 2, horizontal ? 2 : 0);
    } else {
      mark(hourPen, angle, r, q, 0, 0);
    }
  }
  if (a->TickMarks() == tmAll || a->TickMarks() == tmHours)
    for (int i = 1; i <= 11; ++i)
      if (i % 3 != 0) mark(hourPen, i * 30.0, r, q, 0, 0);
  if (a->TickMarks() != tmAll) return;
  const double mr = a->MinuteMarkLength() != 0 ? q - a->MinuteMarkLength() : q * 0.95;
  TGPPen minutePen(ColorToARGB(a->MinuteColor()), float(a->MinuteMarkWidth()));
  for (int i = 0; i < 60; ++i)
    if (i % 5 != 0) mark(minutePen, i * 6.0, mr, q, 0, 0);
}

void TAdvWatch::DrawNumbers(TCanvas* Canvas) {
  TWatchAppearance* a = FAppearance.get();
  if (!FShowNumbers || a->TickMarks() == tmNone || a->TickMarks() == tmHours) return;
  const TRect f = FaceRect();
  const int R = f.Width() / 2;
  const int cx = f.Left + R, cy = f.Top + f.Height() / 2;
  const int q = R - a->BorderWidth() / 2;
  const int L = a->HourMarkLength() != 0 ? a->HourMarkLength() : int(Round(q - q * 0.9)) + 2;
  Canvas->Font()->Assign(a->HourFont());
  Canvas->Brush()->SetStyle(bsClear);
  for (int i = 1; i <= 12; ++i) {
    if (a->TickMarks() == tmQuartHours && i % 3 != 0) continue;
    const String text = IntToStr(i);
    const TSize s = Canvas->TextExtent(text);
    const int adj = i == 10 ? int(Round(s.cy * 0.2)) : i == 11 ? int(Round(s.cy * 0.15)) : 0;
    const double rho = q - 2 * L - 2 - adj + L / 2;
    const int x = cx + int(Round(std::sin(i * 30 * kDeg) * rho));
    const int y = cy - int(Round(std::cos(i * 30 * kDeg) * rho));
    Canvas->TextOut(x - s.cx / 2, y - s.cy / 2, text);
  }
  Canvas->Brush()->SetStyle(bsSolid);
}

void TAdvWatch::DrawAMPM(TGPGraphics* G, TCanvas* Canvas) {
  if (!FShowAMPM) return;
  TWatchAppearance* a = FAppearance.get();
  const TRect box = GetAMPMRect();
  if (a->AMPMColor() != clNone || a->AMPMBorderColor() != clNone) {
    Canvas->Brush()->SetStyle(a->AMPMColor() == clNone ? bsClear : bsSolid);
    if (a->AMPMColor() != clNone) Canvas->Brush()->SetColor(a->AMPMColor());
    Canvas->Pen()->SetStyle(a->AMPMBorderColor() == clNone ? psClear : psSolid);
    if (a->AMPMBorderColor() != clNone) Canvas->Pen()->SetColor(a->AMPMBorderColor());
    Canvas->Pen()->SetWidth(1);
    if (a->AMPMFrame() == apRect) Canvas->Rectangle(box);
    else Canvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetStyle(psSolid);
  }
  DrawTextGDIP(Canvas, G, 1, box, TextRenderingHintAntiAlias, true, true, a->AMPMFont(), FAM ? u"AM" : u"PM");
}

// ---------------------------------------------------------------------------
// The hands

namespace {

// A hand's shadow: Color at alpha 80 over Frame where the polygon covers it (anti-aliased),
// within Part. The coverage is drawn as an opaque fill into Mask and mixed in here: a
// translucent fill through the painter costs several times as much.
void BlendShadow(TBitmap* Frame, TBitmap* Mask, const TRect& Part, const TGPPointF* Points, int Count, TColor Color) {
  float l = Points[0].X, t = Points[0].Y, r = l, b = t;
  for (int i = 1; i < Count; ++i) {
    l = std::min(l, Points[i].X);
    r = std::max(r, Points[i].X);
    t = std::min(t, Points[i].Y);
    b = std::max(b, Points[i].Y);
  }
  const int left = std::max(Part.Left, int(std::floor(l)) - 2), right = std::min(Part.Right, int(std::ceil(r)) + 3);
  const int top = std::max(Part.Top, int(std::floor(t)) - 2), bottom = std::min(Part.Bottom, int(std::ceil(b)) + 3);
  if (left >= right || top >= bottom) return;
  Mask->SetSize(Frame->Width(), Frame->Height());
  for (int y = top; y < bottom; ++y) std::fill_n(static_cast<uint32_t*>(Mask->ScanLine(y)) + left, right - left, 0u);
  {
    auto g = SmoothGraphics(Mask->Canvas());
    TGPSolidBrush white(ColorToARGB(clWhite));
    g->FillPolygon(&white, Points, Count);
  }
  const int32_t rgb = ColorToRGB(Color);
  const int sc[3] = {GetBValue(static_cast<COLORREF>(rgb)), GetGValue(static_cast<COLORREF>(rgb)),
                     GetRValue(static_cast<COLORREF>(rgb))};
  constexpr int kAlpha = 80, kFull = 255 * 255;
  for (int y = top; y < bottom; ++y) {
    const uint32_t* m = static_cast<const uint32_t*>(Mask->ScanLine(y));
    uint32_t* d = static_cast<uint32_t*>(Frame->ScanLine(y));
    for (int x = left; x < right; ++x) {
      const int cover = int(m[x] & 0xFF) * kAlpha;
      if (cover == 0) continue;
      uint32_t out = d[x] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        const int dc = int((d[x] >> (8 * c)) & 0xFF);
        out |= uint32_t(dc + (sc[c] - dc) * cover / kFull) << (8 * c);
      }
      d[x] = out;
    }
  }
}

}  // namespace

void TAdvWatch::DrawPointers(TBitmap* Frame, const TRect& Part) {
  TWatchAppearance* a = FAppearance.get();
  const TRect f = FaceRect();
  const int R = f.Width() / 2;
  const double cx = f.Left + R, cy = f.Top + f.Height() / 2;
  uint16_t hh, mm, ss, ms;
  DecodeTime(CurrentTime(), hh, mm, ss, ms);
  const double th = (hh % 12) * 30.0 + mm / 12.0 * 6.0, tm = mm * 6.0, ts = ss * 6.0;
  std::unique_ptr<TGPGraphics> g;
  auto fill = [&](TColor Color, bool Shadow, const TGPPointF* Pts, int Count) {
    if (Shadow) {
      g.reset();  // the painter's work is on the frame before the shadow is mixed in
      BlendShadow(Frame, FShadowMask.get(), Part, Pts, Count, Color);
      return;
    }
    if (!g) g = SmoothGraphics(Frame->Canvas());
    TGPSolidBrush brush(ColorToARGB(Color));
    g->FillPolygon(&brush, Pts, Count);
  };
  // A flat-capped line of that width, filled as its rectangle (cheaper than a stroke).
  auto line = [&](TColor Color, bool Shadow, int Width, double Angle, double Back, double Tip, double Sx, double Sy) {
    const double x = cx + Sx, y = cy + Sy, half = Width / 2.0;
    const TGPPointF tail = Along(x, y, Angle, -Back), tip = Along(x, y, Angle, Tip);
    const TGPPointF pts[4] = {Along(tail.X, tail.Y, Angle + 90, half), Along(tip.X, tip.Y, Angle + 90, half),
                              Along(tip.X, tip.Y, Angle - 90, half), Along(tail.X, tail.Y, Angle - 90, half)};
    fill(Color, Shadow, pts, 4);
  };
  auto pointer = [&](TColor Color, bool Shadow, double Angle, double Tip, double Sx, double Sy) {
    const double x = cx + Sx, y = cy + Sy;
    const TGPPointF pts[4] = {Along(x, y, Angle, -0.1 * R), Along(x, y, Angle + 90, 0.05 * R), Along(x, y, Angle, Tip),
                              Along(x, y, Angle - 90, 0.05 * R)};
    fill(Color, Shadow, pts, 4);
  };
  if (a->PointerStyle() == psLine) {
    if (a->HourPointerShadow() != clNone)
      line(a->HourPointerShadow(), true, a->HourPointerSize(), th, 0.1 * R, 0.46 * R, -1, 3);
    line(a->HourPointer(), false, a->HourPointerSize(), th, 0.1 * R, 0.5 * R, 0, 0);
    if (a->MinutePointerShadow() != clNone)
      line(a->MinutePointerShadow(), true, a->MinutePointerSize(), tm, 0.1 * R, 0.65 * R, 0, 3);
    line(a->MinutePointer(), false, a->MinutePointerSize(), tm, 0.1 * R, 0.7 * R, 0, 0);
  } else if (a->PointerStyle() == psPointer) {
    if (a->HourPointerShadow() != clNone) pointer(a->HourPointerShadow(), true, th, 0.5 * R, 1, 3);
    pointer(a->HourPointer(), false, th, 0.5 * R, 0, 0);
    if (a->MinutePointerShadow() != clNone) pointer(a->MinutePointerShadow(), true, tm, 0.7 * R, 1, 3);
    pointer(a->MinutePointer(), false, tm, 0.7 * R, 0, 0);
  }
  if (FSettings->Auto() && FSettings->Second())
    line(a->SecondPointer(), false, a->SecondPointerSize(), ts, 0.2 * R, 0.9 * R, 0, 0);
  const int S = a->CenterPointSize();
  if (S <= 0) return;
  // (Whatever lands outside Part stays in the frame: only Part is shown.)
  if (!g) g = SmoothGraphics(Frame->Canvas());
  const float l = float(cx - S / 2.0), t = float(cy - S / 2.0);
  if (a->CenterPointColor() != clNone) {
    TGPSolidBrush brush(ColorToARGB(a->CenterPointColor()));
    g->FillEllipse(&brush, l, t, float(S), float(S));
  }
  int o = 0;
  if (a->CenterPointOuterBorderColor() != clNone) {
    o = int(Round(S * 0.2));
    TGPPen pen(ColorToARGB(a->CenterPointOuterBorderColor()), float(o));
    g->DrawEllipse(&pen, l, t, float(S), float(S));
  }
  if (a->CenterPointBorderColor() != clNone) {
    const float d = float(S - o);
    TGPPen pen(ColorToARGB(a->CenterPointBorderColor()), float(Round(S * 0.1)));
    g->DrawEllipse(&pen, float(cx - d / 2), float(cy - d / 2), d, d);
  }
}

// ---------------------------------------------------------------------------
// The AM/PM roll: the box's text slides from one word to the other, a pixel per 10 ms.

void TAdvWatch::SetAM(bool Value) {
  if (FAM == Value) return;
  FAM = Value;
  const TColor fill = FAppearance->AMPMColor();
  if (FAnimation && FShowAMPM && fill != clNone && !FInternalSet && Showing()) {
    const TRect box = GetAMPMRect();
    const int w = box.Width() - 2, h = box.Height() - 2;
    if (w > 0 && h > 0) {
      if (!FFaceValid) UpdateFace();
      FRollStrip = std::make_unique<TBitmap>(w, 2 * h);
      TCanvas* c = FRollStrip->Canvas();
      c->Brush()->SetColor(fill);
      c->FillRect(TRect(0, 0, w, 2 * h));
      auto g = SmoothGraphics(c);
      DrawTextGDIP(c, g.get(), 1, TRect(0, 0, w, h), TextRenderingHintAntiAlias, true, true, FAppearance->AMPMFont(), u"AM");
      DrawTextGDIP(c, g.get(), 1, TRect(0, h, w, 2 * h), TextRenderingHintAntiAlias, true, true, FAppearance->AMPMFont(),
                   u"PM");
      FRollStep = 0;
      FRollSteps = box.Height();
      FRollToAM = Value;
      FRollTimer->SetEnabled(true);
      return;
    }
  }
  PaintAll();
}

void TAdvWatch::RollTick() {
  if (!FRollStrip || FRollStep >= FRollSteps) {
    FRollTimer->SetEnabled(false);
    FRollStrip.reset();
    PaintAll();
    return;
  }
  ++FRollStep;
  const TRect box = GetAMPMRect();
  const int w = FRollStrip->Width(), h = FRollStrip->Height() / 2;
  const int moved = std::min(h, FRollStep);
  const int offset = FRollToAM ? h - moved : moved;
  if (!FFaceValid) UpdateFace();
  FScreen->SetSize(ClientWidth(), ClientHeight());
  TCanvas* c = FScreen->Canvas();
  c->Draw(0, 0, FBKGCache.get());
  c->CopyRect(TRect(box.Left + 1, box.Top + 1, box.Left + 1 + w, box.Top + 1 + h), FRollStrip->Canvas(),
              TRect(0, offset, w, offset + h));
  if (FAppearance->AMPMBorderColor() != clNone) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(FAppearance->AMPMBorderColor());
    if (FAppearance->AMPMFrame() == apRect) c->Rectangle(box);
    else c->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
    c->Brush()->SetStyle(bsSolid);
  }
  DrawPointers(FScreen.get(), TRect(0, 0, ClientWidth(), ClientHeight()));
  FScreenValid = true;
  Invalidate();
}
