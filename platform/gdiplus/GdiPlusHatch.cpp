// Hatch brushes: the 53 styles as 8 by 8 patterns of the foreground colour over the background.
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"

namespace {

// Patterns no rule describes well, drawn row by row ('#' is foreground).
using TPicture = const char* const[8];
constexpr TPicture kSmallConfetti = {"#.......", "....#...", ".#......", "......#.",
                                     "...#....", ".......#", "..#.....", ".....#.."};
constexpr TPicture kLargeConfetti = {"##...#..", "##......", "....##..", "....##.#",
                                     ".#......", "......##", "..##..##", "..##...."};
constexpr TPicture kZigZag = {"#......#", ".#....#.", "..#..#..", "...##...",
                              "........", "........", "........", "........"};
constexpr TPicture kWave = {".##.....", "#..#...#", "....###.", "........",
                            "........", "........", "........", "........"};
constexpr TPicture kDiagonalBrick = {".......#", "......#.", ".....#..", "....#...",
                                     "...##...", "..#..#..", ".#....#.", "#......#"};
constexpr TPicture kHorizontalBrick = {"########", "#.......", "#.......", "#.......",
                                       "########", "....#...", "....#...", "....#..."};
// Strands over and under: pairs of horizontal and vertical ones in turn.
constexpr TPicture kWeave = {"####.#.#", ".....#.#", "####.#.#", ".....#.#",
                             ".#.#####", ".#.#....", ".#.#####", ".#.#...."};
constexpr TPicture kPlaid = {"#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#",
                             "####....", "####....", "####....", "####...."};
constexpr TPicture kDivot = {"........", "...#....", "....#...", "...#....",
                             "........", "#.......", ".......#", "#......."};
constexpr TPicture kShingle = {"##......", "..#.....", "...#....", "....#..#",
                               ".....##.", "......#.", ".......#", ".......#"};
constexpr TPicture kSphere = {"..####..", ".#..###.", "#..#####", "#.######",
                              "########", "########", ".######.", "..####.."};

bool Picture(const TPicture& p, int x, int y) { return p[y][x] == '#'; }

// Ordered-dither thresholds: the first n cells spread a fill of n sixteenths evenly.
constexpr int kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// A fill of the given percentage, rounded to whole sixteenths.
bool Percent(int percent, int x, int y) { return kDither[y % 4][x % 4] < (percent * 16 + 50) / 100; }

int Mod(int v, int m) { return ((v % m) + m) % m; }

// Coverage (0..1) of the pattern at a cell.
double Coverage(HatchStyle s, int x, int y) {
  // The three plain diagonal styles are drawn antialiased: the line's pixel full, its neighbours
  // along the row sharing the rest of a one-pixel line's ink on a 45 degree slope.
  const double side = (std::sqrt(2.0) - 1) / 2;
  auto line = [&](int d) { return d == 0 ? 1.0 : (d == 1 || d == 7) ? side : 0.0; };
  switch (s) {
    case HatchStyleForwardDiagonal: return line(Mod(x - y, 8));
    case HatchStyleBackwardDiagonal: return line(Mod(x + y - 7, 8));
    case HatchStyleDiagonalCross: return std::max(line(Mod(x - y, 8)), line(Mod(x + y - 7, 8)));
    default: break;
  }
  auto on = [&]() -> bool {
    switch (s) {
      case HatchStyleHorizontal: return y == 0;
      case HatchStyleVertical: return x == 0;
      case HatchStyleCross: return x == 0 || y == 0;
      case HatchStyle05Percent: return Percent(5, x, y);
      case HatchStyle10Percent: return Percent(10, x, y);
      case HatchStyle20Percent: return Percent(20, x, y);
      case HatchStyle25Percent: return Percent(25, x, y);
      case HatchStyle30Percent: return Percent(30, x, y);
      case HatchStyle40Percent: return Percent(40, x, y);
      case HatchStyle50Percent: return Percent(50, x, y);
      case HatchStyle60Percent: return Percent(60, x, y);
      case HatchStyle70Percent: return Percent(70, x, y);
      case HatchStyle75Percent: return Percent(75, x, y);
      case HatchStyle80Percent: return Percent(80, x, y);
      case HatchStyle90Percent: return Percent(90, x, y);
      // Light: twice as many lines as the plain styles; dark: those lines two pixels wide;
      // wide: the plain spacing with lines three pixels wide; narrow: every other pixel.
      case HatchStyleLightDownwardDiagonal: return Mod(x - y, 4) == 0;
      case HatchStyleLightUpwardDiagonal: return Mod(x + y - 7, 4) == 0;
      case HatchStyleDarkDownwardDiagonal: return Mod(x - y, 4) <= 1;
      case HatchStyleDarkUpwardDiagonal: return Mod(x + y - 7, 4) <= 1;
      case HatchStyleWideDownwardDiagonal: return Mod(x - y, 8) <= 2;
      case HatchStyleWideUpwardDiagonal: return Mod(x + y - 7, 8) <= 2;
      case HatchStyleLightVertical: return x % 4 == 0;
      case HatchStyleLightHorizontal: return y % 4 == 0;
      case HatchStyleNarrowVertical: return x % 2 == 0;
      case HatchStyleNarrowHorizontal: return y % 2 == 0;
      case HatchStyleDarkVertical: return x % 4 <= 1;
      case HatchStyleDarkHorizontal: return y % 4 <= 1;
      // Dashes: half of each line, staggered from one line to the next.
      case HatchStyleDashedDownwardDiagonal: return y < 4 && Mod(x - y, 4) == 0;
      case HatchStyleDashedUpwardDiagonal: return y < 4 && Mod(x + y - 3, 4) == 0;
      case HatchStyleDashedHorizontal: return (y == 0 && x < 4) || (y == 4 && x >= 4);
      case HatchStyleDashedVertical: return (x == 0 && y < 4) || (x == 4 && y >= 4);
      case HatchStyleSmallConfetti: return Picture(kSmallConfetti, x, y);
      case HatchStyleLargeConfetti: return Picture(kLargeConfetti, x, y);
      case HatchStyleZigZag: return Picture(kZigZag, x, y);
      case HatchStyleWave: return Picture(kWave, x, y);
      case HatchStyleDiagonalBrick: return Picture(kDiagonalBrick, x, y);
      case HatchStyleHorizontalBrick: return Picture(kHorizontalBrick, x, y);
      case HatchStyleWeave: return Picture(kWeave, x, y);
      case HatchStylePlaid: return Picture(kPlaid, x, y);
      case HatchStyleDivot: return Picture(kDivot, x, y);
      case HatchStyleDottedGrid: return (y == 0 && x % 2 == 0) || (x == 0 && y % 2 == 0);
      case HatchStyleDottedDiamond: return x % 2 == 0 && (x == y || Mod(x + y, 8) == 0);
      case HatchStyleShingle: return Picture(kShingle, x, y);
      // Laths two pixels wide crossing on both diagonals.
      case HatchStyleTrellis: return Mod(x - y, 8) < 2 || Mod(x + y, 8) < 2;
      case HatchStyleSphere: return Picture(kSphere, x, y);
      case HatchStyleSmallGrid: return x % 4 == 0 || y % 4 == 0;
      case HatchStyleSmallCheckerBoard: return (x / 2 + y / 2) % 2 == 0;
      case HatchStyleLargeCheckerBoard: return (x / 4 + y / 4) % 2 == 0;
      case HatchStyleOutlinedDiamond: return x == y || Mod(x + y, 8) == 0;
      // Squares standing on a corner, touching at their corners: a checkerboard turned 45 degrees.
      case HatchStyleSolidDiamond: return ((x + y + 4) / 8 + Mod(x - y + 4, 16) / 8) % 2 == 1;
      default: return false;
    }
  };
  return on() ? 1.0 : 0.0;
}

// The pattern in its colours, blended by coverage in premultiplied form.
QImage Tile(HatchStyle s, ARGB fore, ARGB back) {
  const QRgb f = qPremultiply(fore), b = qPremultiply(back);
  auto mix = [](int a, int c, double t) { return int(std::lround(a + (c - a) * t)); };
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const double t = Coverage(s, x, y);
      tile.setPixel(x, y, qRgba(mix(qRed(b), qRed(f), t), mix(qGreen(b), qGreen(f), t), mix(qBlue(b), qBlue(f), t),
                                mix(qAlpha(b), qAlpha(f), t)));
    }
  return tile;
}

THatch* Cast(GpHatch* brush) { return dynamic_cast<THatch*>(brush); }

}  // namespace

GpStatus GdipCreateHatchBrush(GpHatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush) {
  if (!brush || hatchstyle < HatchStyleMin || hatchstyle > HatchStyleMax) return InvalidParameter;
  auto* h = new THatch;
  h->style = hatchstyle;
  h->fore = forecol;
  h->back = backcol;
  h->tile = Tile(hatchstyle, forecol, backcol);
  *brush = h;
  return Ok;
}

GpStatus GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* hatchstyle) {
  if (!Cast(brush) || !hatchstyle) return InvalidParameter;
  *hatchstyle = Cast(brush)->style;
  return Ok;
}

GpStatus GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol) {
  if (!Cast(brush) || !forecol) return InvalidParameter;
  *forecol = Cast(brush)->fore;
  return Ok;
}

GpStatus GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol) {
  if (!Cast(brush) || !backcol) return InvalidParameter;
  *backcol = Cast(brush)->back;
  return Ok;
}
