#include "grid/GridAlphaMask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

struct TKernel {
  int Size = 10;                    // half-width: weights -Size..Size
  std::array<double, 21> Weights;   // index i + 10
  double W(int i) const { return Weights[size_t(i + 10)]; }
};

TKernel MakeKernel(int Radius) {
  TKernel k;
  double sum = 0;
  for (int i = -10; i <= 10; ++i) {
    const double x = double(i) / Radius;
    k.Weights[size_t(i + 10)] = std::exp(-x * x / 2);
    sum += k.Weights[size_t(i + 10)];
  }
  for (double& w : k.Weights) w /= sum;
  // Tails too light to change a byte go.
  double dropped = 0;
  while (k.Size > 1 && dropped + 2 * k.W(k.Size) < 1.0 / 510) {
    dropped += 2 * k.W(k.Size);
    --k.Size;
  }
  sum = 0;
  for (int i = -k.Size; i <= k.Size; ++i) sum += k.W(i);
  for (int i = -k.Size; i <= k.Size; ++i) k.Weights[size_t(i + 10)] /= sum;
  return k;
}

// One line of pixels (B, G, R, A in memory), blurred in place; ends repeat the end pixel.
void BlurLine(const TKernel& K, std::vector<uint32_t>& Line) {
  const int n = int(Line.size());
  std::vector<uint32_t> out(Line.size());
  for (int p = 0; p < n; ++p) {
    double c[3] = {0, 0, 0};
    for (int j = -K.Size; j <= K.Size; ++j) {
      const uint32_t px = Line[size_t(std::clamp(p + j, 0, n - 1))];
      for (int ch = 0; ch < 3; ++ch) c[ch] += K.W(j) * double((px >> (8 * ch)) & 0xFF);
    }
    uint32_t v = Line[size_t(p)] & 0xFF000000u;
    for (int ch = 0; ch < 3; ++ch) v |= uint32_t(std::clamp(std::lround(c[ch]), 0L, 255L)) << (8 * ch);
    out[size_t(p)] = v;
  }
  Line.swap(out);
}

uint32_t* Row(TBitmap* Bitmap, int Y) { return static_cast<uint32_t*>(Bitmap->ScanLine(Y)); }

}  // namespace

void BlurBitmap(TBitmap* Bitmap, int Radius) {
  if (Bitmap->PixelFormat() != pf24bit) throw Exception(u"Blur only works for 24-bit bitmaps");
  if (Radius <= 0) return;
  const TKernel k = MakeKernel(Radius);
  Bitmap->Handle();  // the canvas lets go: what it drew is in the pixels
  const int w = Bitmap->Width(), h = Bitmap->Height();
  std::vector<uint32_t> line(size_t(std::max(w, h)));
  for (int y = 0; y < h; ++y) {
    uint32_t* row = Row(Bitmap, y);
    if (y > 20 && y < h - 20) {
      std::memcpy(row, Row(Bitmap, 15), size_t(w) * 4);
      continue;
    }
    line.assign(row, row + w);
    BlurLine(k, line);
    std::memcpy(row, line.data(), size_t(w) * 4);
  }
  for (int x = 0; x < w; ++x) {
    const int from = x > 20 && x < w - 20 ? 15 : -1;
    if (from < 0) {
      line.resize(size_t(h));
      for (int y = 0; y < h; ++y) line[size_t(y)] = Row(Bitmap, y)[x];
      BlurLine(k, line);
    }
    for (int y = 0; y < h; ++y) Row(Bitmap, y)[x] = from < 0 ? line[size_t(y)] : Row(Bitmap, y)[from];
  }
}

void MakeRoundRectMask(TBitmap* Bitmap, int Width, int Height, int Radius, int Corner, int PenWidth) {
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(Width, Height);
  TCanvas* c = Bitmap->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  c->FillRect(Rect(0, 0, Width, Height));
  const int p = PenWidth / 2;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clWhite);
  c->Pen()->SetWidth(std::max(1, PenWidth));
  c->Brush()->SetColor(PenWidth < 1 ? clWhite : clBlack);
  c->RoundRect(p + 2, p + 2, Width - p - 2, Height - p - 2, Corner, Corner);
  if (Radius > 0) BlurBitmap(Bitmap, Radius);
}

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent* Source) {
  if (auto* mask = dynamic_cast<TGridAlphaMask*>(Source)) {
    FOpacity = mask->FOpacity;
    // The rows are copied at the source's size, so none is read past its end.
    SetSize(mask->Width(), mask->Height());
    for (int y = 0; y < Height(); ++y) std::memcpy(ScanLine(y), mask->ScanLine(y), size_t(Width()) * 4);
    Changed();
  } else {
    TBitmap::Assign(Source);
  }
  SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor) {
  if (Bitmap->PixelFormat() != pf24bit) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  Bitmap->Handle();
  Mask->Handle();
  SetSize(w, h);
  Handle();
  for (int y = 0; y < h; ++y) {
    const uint32_t* from = Row(Bitmap, y);
    const uint32_t* mask = y < Mask->Height() ? Row(Mask, y) : nullptr;
    uint32_t* to = Row(this, y);
    for (int x = 0; x < w; ++x) {
      const uint32_t a = mask != nullptr && x < Mask->Width() ? (mask[x] >> 16) & 0xFF : 0;
      uint32_t v = a << 24;
      for (int ch = 0; ch < 3; ++ch) v |= uint32_t(std::lround(((from[x] >> (8 * ch)) & 0xFF) * a / 255.0)) << (8 * ch);
      to[x] = v;
    }
  }
  Changed();
}
