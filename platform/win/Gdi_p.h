#pragma once
// Private to platform/: what device contexts and GDI objects are, and the bridge the window
// layer, the canvas and the picture classes use to draw on Qt paint devices.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <vector>

#include "platform/win/Gdi.h"

using TColor = int32_t;

// A pen, brush, font, bitmap or region. Stock objects are never freed.
struct HGDIOBJ__ {
  enum Kind { Pen, Brush, Font, Bitmap, Region };
  explicit HGDIOBJ__(Kind k) : kind(k) {}
  Kind kind;
  bool stock = false;
  HDC selectedInto = nullptr;  // bitmaps: the memory DC drawing on them

  // pen
  int penStyle = PS_SOLID;
  int penWidth = 1;
  COLORREF penColor = 0;
  // brush
  UINT brushStyle = BS_SOLID;
  COLORREF brushColor = 0;
  int hatch = 0;
  QImage pattern;  // BS_PATTERN
  bool dcBrush = false;  // DC_BRUSH / DC_PEN: colour comes from the DC
  // font
  LOGFONTW logFont;
  // bitmap: 32-bit RGB, or 1 bit per pixel for monochrome bitmaps kept as RGB32 black/white
  QImage image;
  bool monochrome = false;
  // region (device coordinates)
  QRegion region;
};

// Drawing state of a device context; SaveDC pushes a copy.
struct TDCState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  COLORREF dcBrushColor = 0xFFFFFF;
  COLORREF dcPenColor = 0x000000;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  int charExtra = 0;
  POINT brushOrg;
  POINT viewportOrg;
  POINT windowOrg;
  POINT pos;
  bool hasClip = false;
  QRegion clip;  // device coordinates
};

// A device context: a QPainter on a paint device with GDI's drawing state.
struct HDC__ {
  QPaintDevice* device = nullptr;
  QImage* image = nullptr;    // the device when it is an image (pixel access, flood fill)
  bool memoryDC = false;      // made by CreateCompatibleDC: the device is the selected bitmap
  bool screenDC = false;      // made by GetDC(nullptr): draws on ownImage, reports the screen
  std::unique_ptr<QImage> ownImage;
  std::unique_ptr<QPainter> painter;
  TDCState state;
  std::vector<TDCState> saved;
  std::unique_ptr<HGDIOBJ__> defaultBitmap;  // memory DCs start with a 1x1 monochrome bitmap

  // Offset from logical to device coordinates.
  QPoint Offset() const {
    return QPoint(state.viewportOrg.X - state.windowOrg.X, state.viewportOrg.Y - state.windowOrg.Y);
  }
  // Nonzero: drawing is mirrored, device x = mirrorAxis - (logical x + offset); see SetMirrorAxis.
  int mirrorAxis = 0;
  // A logical rectangle (or pixel) on the device, with the offset and the mirror.
  QRect ToDevice(const QRect& r) const {
    QRect d = r.translated(Offset());
    return mirrorAxis == 0 ? d : QRect(mirrorAxis - d.left() - d.width(), d.top(), d.width(), d.height());
  }
  QRect FromDevice(const QRect& r) const {
    QRect d = mirrorAxis == 0 ? r : QRect(mirrorAxis - r.left() - r.width(), r.top(), r.width(), r.height());
    return d.translated(-Offset());
  }
  // Reapplies transform and clip to the painter after origin or clip changes.
  void ApplyGeometry();
  // Starts painting on a (new) device; ends the previous painter.
  void Attach(QPaintDevice* dev);
  void Detach();
};

// A DC drawing on any paint device: a window's backing QImage, a bitmap, a QPrinter, a recording.
// The device must outlive the DC. The DC does not own the device.
HDC CreateDeviceDC(QPaintDevice* device);
void DeleteDeviceDC(HDC dc);
// A DC compatible with the screen (what GetDC(nullptr) gives): it draws on a small image of its
// own, measures text like any window DC and answers GetDeviceCaps with the screen's values.
HDC CreateScreenDC();
// The painter of the DC with its transform and clip applied (nullptr for an invalid DC).
QPainter* DCPainter(HDC dc);
// Ends and restarts painting on the DC's device (needed before the device is resized or copied).
void SuspendDC(HDC dc);
void ResumeDC(HDC dc);

// Colours: COLORREF/TColor (system colours resolved) to Qt and back.
QColor ToQColor(TColor color);
COLORREF FromQColor(const QColor& c);
// The Qt font for a LOGFONT at the given resolution (pixel sizes are in logical units).
QFont ToQFont(const LOGFONTW& lf);
// Object bridge for the picture classes: a bitmap handle over an image (copied).
HBITMAP CreateBitmapFromImage(const QImage& image);
QImage* BitmapImage(HBITMAP bitmap);

// An icon or cursor: an image with its alpha channel and a hot spot.
struct HICON__ {
  QImage image;  // ARGB32
  QPoint hotSpot;
};

// Drawing helpers shared by the GDI units.
namespace gdi {
// Sets the painter's composition mode for a ROP2 code and returns the colour to draw with;
// false when nothing is to be drawn (R2_NOP).
bool ApplyRop2(HDC dc, int rop2, QColor& color);
// The brush of a brush object (or of a (HBRUSH)(COLOR_xxx + 1) value) in the DC's state.
bool MakeBrush(HDC dc, HBRUSH brush, QBrush& out);
// The pen of the DC's selected pen (false for PS_NULL).
bool MakePen(HDC dc, QPen& out, QColor& color, int& width);
// Normalised rectangle from GDI edges.
QRect EdgeRect(int l, int t, int r, int b);
}  // namespace gdi
