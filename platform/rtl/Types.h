#pragma once
// Geometry records shared by the API facade, the class library and the controls.

#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  constexpr TSize() = default;
  constexpr TSize(int32_t w, int32_t h) : cx(w), cy(h) {}
  constexpr bool operator==(const TSize&) const = default;
};

// Rectangle with exclusive right and bottom edges, as GDI draws it.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return TRect(l, t, l + w, t + h); }
constexpr TPoint Point(int32_t x, int32_t y) { return TPoint(x, y); }
inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }

// Windows API spellings of the same records.
using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;
