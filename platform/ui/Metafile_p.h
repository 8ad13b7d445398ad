#pragma once
// Private to platform/: the recorded drawing behind TMetafile, its enhanced (EMF) and placeable
// (WMF) file formats, the paint device that records QPainter calls, and the player.
//
// One record list serves both formats: the recorder produces it, each writer turns it into its
// file's records, each reader turns a file back into it, and the player draws it with QPainter
// following GDI's rules (exclusive right and bottom edges, objects created, selected, deleted).

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace metafile {

// GDI constants used by the records.
enum : uint32_t {
  PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
  BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2,
  HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5,
  TRANSPARENT = 1, OPAQUE = 2,
  ALTERNATE = 1, WINDING = 2,
  R2_NOT = 6, R2_XORPEN = 7, R2_NOTXORPEN = 10, R2_COPYPEN = 13,
  TA_BASELINE = 24,
  ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128,
};

struct Box {  // GDI rectangle: right and bottom exclusive
  int32_t L = 0, T = 0, R = 0, B = 0;
  int32_t Width() const { return R - L; }
  int32_t Height() const { return B - T; }
  bool operator==(const Box&) const = default;
};

struct LogPen {
  uint32_t Style = PS_SOLID;
  int32_t Width = 1;
  uint32_t Color = 0;  // 0x00BBGGRR
  bool operator==(const LogPen&) const = default;
};

struct LogBrush {
  uint32_t Style = BS_SOLID;
  uint32_t Color = 0xFFFFFF;
  uint32_t Hatch = 0;
  bool operator==(const LogBrush&) const = default;
};

struct LogFont {
  int32_t Height = -16;  // negative: character height in pixels
  int32_t Width = 0, Escapement = 0, Orientation = 0, Weight = 400;
  uint8_t Italic = 0, Underline = 0, StrikeOut = 0, CharSet = DEFAULT_CHARSET;
  uint8_t OutPrecision = 0, ClipPrecision = 0, Quality = 0, PitchAndFamily = 0;
  std::u16string FaceName;
  bool operator==(const LogFont&) const = default;
};

enum class OpKind : uint8_t {
  CreatePen, CreateBrush, CreateFont, SelectObject, DeleteObject,
  SetTextColor, SetBkColor, SetBkMode, SetTextAlign, SetRop2, SetPolyFillMode,
  SaveDC, RestoreDC, IntersectClipRect, SetClip,
  MoveTo, LineTo, Polyline, Polygon, PolyPolygon, Rectangle, Ellipse, SetPixel,
  TextOut, StretchDib,
};

// One drawing record. Which fields matter depends on Kind:
// objects: Index (handle) and Pen/Brush/Font; SelectObject may name a stock object (0x80000000 | n);
// modes and colours: Value; RestoreDC: Index (negative = relative);
// IntersectClipRect: Rect; SetClip: Rects (none = no clipping);
// MoveTo/LineTo/SetPixel: Points[0] (SetPixel colour in Value);
// Polyline/Polygon: Points; PolyPolygon: Points split by Counts;
// Rectangle/Ellipse: Rect, the GDI box; TextOut: Points[0] reference, Text, Dx advances;
// StretchDib: Rect destination, Src source rectangle in Image, Image (RGB32), Value raster op.
struct Op {
  OpKind Kind = OpKind::MoveTo;
  int32_t Index = 0;
  uint32_t Value = 0;
  Box Rect;
  Box Src;
  std::vector<QPoint> Points;
  std::vector<int32_t> Counts;
  std::vector<Box> Rects;
  std::vector<int32_t> Dx;
  std::u16string Text;
  LogPen Pen;
  LogBrush Brush;
  LogFont Font;
  QImage Image;
};

constexpr uint32_t StockObjectFlag = 0x80000000u;
constexpr uint32_t SRCCOPY = 0x00CC0020u;

// A recorded picture: its logical frame (pixels at 96 dots per inch for what we record) and records.
struct Picture {
  Box Frame;                  // logical coordinates the records use
  int32_t MMWidth = 0;        // physical size in 0.01 mm
  int32_t MMHeight = 0;
  std::vector<Op> Ops;
  bool Empty() const { return Frame.Width() <= 0 || Frame.Height() <= 0; }
};

// Raised by the readers: the bytes are not a metafile of the expected kind, or are damaged.
struct FormatError {
  std::string Reason;
};

// Coordinates and sizes a reader accepts: GDI's own 28-bit range, so that the sum or the
// difference of any two of them fits 32 bits. A file with others is damaged.
constexpr int32_t MaxCoord = (1 << 27) - 1;
inline int32_t CheckedCoord(int64_t v) {
  if (v < -MaxCoord - 1 || v > MaxCoord) throw FormatError{"coordinate out of range"};
  return int32_t(v);
}
// A 64-bit result saturated to 32 bits, for sizes computed from coordinates.
inline int32_t Saturate32(int64_t v) {
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int32_t(v);
}
// Pixels at 96 dots per inch to 0.01 mm and back.
inline int32_t PixelsToHiMetric(int64_t px) { return Saturate32(px * 2540 / 96); }
inline int32_t HiMetricToPixels(int64_t mm) { return Saturate32(mm * 96 / 2540); }

std::string WriteEmf(const Picture& pic, const std::u16string& description = {});
std::string WriteWmf(const Picture& pic);
Picture ReadEmf(const std::string& bytes);   // throws FormatError
Picture ReadWmf(const std::string& bytes);   // throws FormatError (placeable or plain)
// Identifies the format from the first bytes: 1 EMF, 2 WMF (placeable or plain), 0 neither.
int SniffFormat(const std::string& bytes);

// Draws the picture into target (in the painter's coordinates), scaling its frame to fit.
void Play(const Picture& pic, QPainter& painter, const QRectF& target);

// Text encoding of the 8-bit text records of WMF files, by the font's character set.
std::string EncodeAnsi(const std::u16string& text, uint8_t charset);
std::u16string DecodeAnsi(const std::string& bytes, uint8_t charset);
// The character set a font needs to carry this text as 8-bit text.
uint8_t CharsetFor(const std::u16string& text);

// A paint device whose QPainter calls are appended to a picture as records.
class RecordingEngine;
class RecordingDevice : public QPaintDevice {
public:
  RecordingDevice(Picture* target, int width, int height);
  ~RecordingDevice() override;
  QPaintEngine* paintEngine() const override;
  Picture* Target() const { return target_; }

protected:
  int metric(PaintDeviceMetric m) const override;

private:
  Picture* target_;
  int width_, height_;
  std::unique_ptr<RecordingEngine> engine_;
};

}  // namespace metafile
