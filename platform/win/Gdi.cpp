// GDI objects and device contexts: creation, selection, saved states, origins, clipping,
// regions, rectangles, system colours and metrics.
#include <QGuiApplication>
#include <QPainterPath>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/Monitors_p.h"

namespace {

// Every live DC, so that deleting an object that is still selected cannot leave a dangling pointer.
std::set<HDC>& LiveDCs() {
  static std::set<HDC> dcs;
  return dcs;
}

HGDIOBJ MakeStock(HGDIOBJ__::Kind kind) {
  auto* o = new HGDIOBJ__(kind);  // lives for the whole program
  o->stock = true;
  return o;
}

HGDIOBJ StockPen(int style, COLORREF c) {
  HGDIOBJ o = MakeStock(HGDIOBJ__::Pen);
  o->penStyle = style;
  o->penColor = c;
  return o;
}

HGDIOBJ StockBrush(UINT style, COLORREF c) {
  HGDIOBJ o = MakeStock(HGDIOBJ__::Brush);
  o->brushStyle = style;
  o->brushColor = c;
  return o;
}

HGDIOBJ StockFont(const char16_t* face, int height, bool fixed) {
  HGDIOBJ o = MakeStock(HGDIOBJ__::Font);
  o->logFont.lfHeight = height;
  o->logFont.lfPitchAndFamily = fixed ? FIXED_PITCH : VARIABLE_PITCH;
  std::u16string_view f(face);
  std::copy(f.begin(), f.end(), o->logFont.lfFaceName);
  return o;
}

struct TStock {
  HGDIOBJ objects[20] = {};
  TStock() {
    objects[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
    objects[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
    objects[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
    objects[NULL_BRUSH] = StockBrush(BS_NULL, 0);
    objects[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
    objects[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
    objects[NULL_PEN] = StockPen(PS_NULL, 0);
    objects[OEM_FIXED_FONT] = StockFont(u"Courier New", -13, true);
    objects[ANSI_FIXED_FONT] = StockFont(u"Courier New", -13, true);
    objects[ANSI_VAR_FONT] = StockFont(u"MS Sans Serif", -11, false);
    objects[SYSTEM_FONT] = StockFont(u"System", -13, false);
    objects[DEVICE_DEFAULT_FONT] = StockFont(u"System", -13, false);
    objects[DEFAULT_PALETTE] = StockBrush(BS_NULL, 0);
    objects[SYSTEM_FIXED_FONT] = StockFont(u"Courier New", -13, true);
    objects[DEFAULT_GUI_FONT] = StockFont(u"MS Sans Serif", -11, false);
    objects[DC_BRUSH] = StockBrush(BS_SOLID, 0xFFFFFF);
    objects[DC_BRUSH]->dcBrush = true;
    objects[DC_PEN] = StockPen(PS_SOLID, 0);
    objects[DC_PEN]->dcBrush = true;
  }
};

TStock& Stock() {
  static TStock s;
  return s;
}

bool IsSysColorBrush(HGDIOBJ o) { return reinterpret_cast<uintptr_t>(o) <= 64; }

HGDIOBJ NewObject(HGDIOBJ__::Kind kind) { return new HGDIOBJ__(kind); }

int RegionType(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect ToQRect(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return QRect(l, t, r - l, b - t);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// DC lifetime and the painter

void HDC__::Attach(QPaintDevice* dev) {
  Detach();
  device = dev;
  image = nullptr;
  if (dev && dev->devType() == QInternal::Image) image = static_cast<QImage*>(dev);
  if (!dev || dev->width() <= 0 || dev->height() <= 0) return;
  painter = std::make_unique<QPainter>();
  if (!painter->begin(dev)) {
    painter.reset();
    return;
  }
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  ApplyGeometry();
}

void HDC__::Detach() {
  if (painter) {
    if (painter->isActive()) painter->end();
    painter.reset();
  }
}

void HDC__::ApplyGeometry() {
  if (!painter) return;
  painter->resetTransform();
  if (state.hasClip)
    painter->setClipRegion(state.clip);
  else
    painter->setClipping(false);
  if (mirrorAxis != 0)
    painter->setTransform(QTransform(-1, 0, 0, 1, mirrorAxis - Offset().x(), Offset().y()));
  else
    painter->setTransform(QTransform::fromTranslate(Offset().x(), Offset().y()));
}

static void InitState(HDC dc) {
  TStock& s = Stock();
  dc->state.pen = s.objects[BLACK_PEN];
  dc->state.brush = s.objects[WHITE_BRUSH];
  dc->state.font = s.objects[SYSTEM_FONT];
}

HDC CreateDeviceDC(QPaintDevice* device) {
  auto* dc = new HDC__;
  InitState(dc);
  LiveDCs().insert(dc);
  dc->Attach(device);
  return dc;
}

void DeleteDeviceDC(HDC dc) {
  if (!dc || !LiveDCs().count(dc)) return;
  dc->Detach();
  if (dc->state.bitmap && dc->state.bitmap->selectedInto == dc) dc->state.bitmap->selectedInto = nullptr;
  LiveDCs().erase(dc);
  delete dc;
}

QPainter* DCPainter(HDC dc) {
  if (!dc || !dc->painter) return nullptr;
  return dc->painter.get();
}

void SuspendDC(HDC dc) {
  if (dc) dc->Detach();
}

void ResumeDC(HDC dc) {
  if (dc) dc->Attach(dc->device);
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new HDC__;
  InitState(dc);
  dc->memoryDC = true;
  dc->defaultBitmap = std::make_unique<HGDIOBJ__>(HGDIOBJ__::Bitmap);
  dc->defaultBitmap->image = QImage(1, 1, QImage::Format_RGB32);
  dc->defaultBitmap->image.fill(0xFFFFFFFF);
  dc->defaultBitmap->monochrome = true;
  dc->defaultBitmap->selectedInto = dc;
  dc->state.bitmap = dc->defaultBitmap.get();
  LiveDCs().insert(dc);
  dc->Attach(&dc->defaultBitmap->image);
  return dc;
}

HDC CreateScreenDC() {
  auto* dc = new HDC__;
  InitState(dc);
  dc->screenDC = true;
  dc->ownImage = std::make_unique<QImage>(16, 16, QImage::Format_RGB32);
  dc->ownImage->fill(Qt::white);
  LiveDCs().insert(dc);
  dc->Attach(dc->ownImage.get());
  return dc;
}

BOOL DeleteDC(HDC dc) {
  if (!dc || !LiveDCs().count(dc)) return 0;
  DeleteDeviceDC(dc);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Objects

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20) return nullptr;
  return Stock().objects[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Pen);
  o->penStyle = style;
  o->penWidth = std::max(width, 0);
  o->penColor = color & 0xFFFFFF;
  return o;
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return nullptr;
  return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.X, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD, const DWORD*) {
  if (!lb) return nullptr;
  return CreatePen(static_cast<int>(style), static_cast<int>(width), lb->lbStyle == BS_NULL ? 0 : lb->lbColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Brush);
  o->brushStyle = BS_SOLID;
  o->brushColor = color & 0xFFFFFF;
  return o;
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Brush);
  o->brushStyle = BS_HATCHED;
  o->brushColor = color & 0xFFFFFF;
  o->hatch = hatch;
  return o;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  if (lb->lbStyle == BS_HATCHED) return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
  if (lb->lbStyle == BS_PATTERN) return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
  HGDIOBJ o = CreateSolidBrush(lb->lbColor);
  o->brushStyle = lb->lbStyle == BS_NULL ? BS_NULL : BS_SOLID;
  return o;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  if (!bitmap || bitmap->kind != HGDIOBJ__::Bitmap) return nullptr;
  HGDIOBJ o = NewObject(HGDIOBJ__::Brush);
  o->brushStyle = BS_PATTERN;
  o->pattern = bitmap->image.copy();
  o->monochrome = bitmap->monochrome;
  return o;
}

HFONT CreateFontIndirect(const LOGFONTW* lf) {
  if (!lf) return nullptr;
  HGDIOBJ o = NewObject(HGDIOBJ__::Font);
  o->logFont = *lf;
  o->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
  return o;
}

HFONT CreateFontIndirectW(const LOGFONTW* lf) { return CreateFontIndirect(lf); }

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = faceName[i];
  return CreateFontIndirect(&lf);
}

HBITMAP CreateBitmapFromImage(const QImage& image) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Bitmap);
  o->image = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  o->image.detach();
  return o;
}

QImage* BitmapImage(HBITMAP bitmap) {
  if (!bitmap || bitmap->kind != HGDIOBJ__::Bitmap) return nullptr;
  return &bitmap->image;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void* bits) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  HGDIOBJ o = NewObject(HGDIOBJ__::Bitmap);
  o->image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  if (width == 0 || height == 0) o->image = QImage();
  o->monochrome = bitsPerPixel == 1;
  if (o->image.isNull()) return o;
  o->image.fill(o->monochrome ? 0xFF000000 : 0xFF000000);
  if (bits) {
    auto* src = static_cast<const uint8_t*>(bits);
    if (bitsPerPixel == 1) {
      int stride = ((width + 15) / 16) * 2;  // monochrome rows are word aligned
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          bool set = src[y * stride + x / 8] & (0x80 >> (x % 8));
          o->image.setPixel(x, y, set ? 0xFFFFFFFF : 0xFF000000);
        }
    } else if (bitsPerPixel == 32) {
      for (int y = 0; y < height; ++y) std::memcpy(o->image.scanLine(y), src + y * width * 4, width * 4);
    } else if (bitsPerPixel == 24) {
      int stride = ((width * 3 + 3) / 4) * 4;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          const uint8_t* p = src + y * stride + x * 3;
          o->image.setPixel(x, y, 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0]);
        }
    }
  }
  return o;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  bool mono = dc && dc->memoryDC && dc->state.bitmap && dc->state.bitmap->monochrome;
  return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj) {
  if (!dc || !obj) return nullptr;
  if (IsSysColorBrush(obj)) return nullptr;
  TDCState& s = dc->state;
  HGDIOBJ old = nullptr;
  switch (obj->kind) {
    case HGDIOBJ__::Pen: old = s.pen; s.pen = obj; break;
    case HGDIOBJ__::Brush: old = s.brush; s.brush = obj; break;
    case HGDIOBJ__::Font: old = s.font; s.font = obj; break;
    case HGDIOBJ__::Region: {
      int t = SelectClipRgn(dc, obj);
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(t));
    }
    case HGDIOBJ__::Bitmap: {
      if (!dc->memoryDC) return nullptr;
      if (obj->selectedInto && obj->selectedInto != dc) return nullptr;
      old = s.bitmap;
      if (old) old->selectedInto = nullptr;
      obj->selectedInto = dc;
      s.bitmap = obj;
      dc->Attach(&obj->image);
      break;
    }
  }
  return old;
}

// Replaces obj in every DC that still selects it, so that no DC keeps a dangling pointer.
static void Unselect(HGDIOBJ obj) {
  TStock& st = Stock();
  for (HDC dc : LiveDCs()) {
    auto fix = [&](TDCState& s, bool current) {
      if (s.pen == obj) s.pen = st.objects[BLACK_PEN];
      if (s.brush == obj) s.brush = st.objects[WHITE_BRUSH];
      if (s.font == obj) s.font = st.objects[SYSTEM_FONT];
      if (s.bitmap == obj) {
        s.bitmap = dc->defaultBitmap.get();
        if (current && dc->defaultBitmap) {
          dc->defaultBitmap->selectedInto = dc;
          dc->Attach(&dc->defaultBitmap->image);
        }
      }
    };
    fix(dc->state, true);
    for (auto& saved : dc->saved) fix(saved, false);
  }
}

BOOL DeleteObject(HGDIOBJ obj) {
  if (!obj || IsSysColorBrush(obj)) return 0;
  if (obj->stock) return 1;
  Unselect(obj);
  delete obj;
  return 1;
}

int GetObject(HGDIOBJ obj, int size, void* out) {
  if (!obj || IsSysColorBrush(obj)) return 0;
  switch (obj->kind) {
    case HGDIOBJ__::Pen: {
      if (!out) return sizeof(LOGPEN);
      if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
      LOGPEN lp;
      lp.lopnStyle = obj->penStyle;
      lp.lopnWidth = POINT(obj->penWidth, 0);
      lp.lopnColor = obj->penColor;
      std::memcpy(out, &lp, sizeof lp);
      return sizeof lp;
    }
    case HGDIOBJ__::Brush: {
      if (!out) return sizeof(LOGBRUSH);
      if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
      LOGBRUSH lb;
      lb.lbStyle = obj->brushStyle;
      lb.lbColor = obj->brushColor;
      lb.lbHatch = static_cast<uintptr_t>(obj->hatch);
      std::memcpy(out, &lb, sizeof lb);
      return sizeof lb;
    }
    case HGDIOBJ__::Font: {
      if (!out) return sizeof(LOGFONTW);
      int n = std::min<int>(size, sizeof(LOGFONTW));
      std::memcpy(out, &obj->logFont, n);
      return n;
    }
    case HGDIOBJ__::Bitmap: {
      if (!out) return sizeof(BITMAP);
      if (size < static_cast<int>(sizeof(BITMAP))) return 0;
      BITMAP bm;
      bm.bmWidth = obj->image.width();
      bm.bmHeight = obj->image.height();
      bm.bmBitsPixel = obj->monochrome ? 1 : 32;
      bm.bmWidthBytes = obj->monochrome ? ((bm.bmWidth + 15) / 16) * 2 : bm.bmWidth * 4;
      std::memcpy(out, &bm, sizeof bm);
      return sizeof bm;
    }
    case HGDIOBJ__::Region: return 0;
  }
  return 0;
}

int GetObjectW(HGDIOBJ obj, int size, void* out) { return GetObject(obj, size, out); }

DWORD GetObjectType(HGDIOBJ obj) {
  if (!obj || IsSysColorBrush(obj)) return 0;
  switch (obj->kind) {
    case HGDIOBJ__::Pen: return OBJ_PEN;
    case HGDIOBJ__::Brush: return OBJ_BRUSH;
    case HGDIOBJ__::Font: return OBJ_FONT;
    case HGDIOBJ__::Bitmap: return OBJ_BITMAP;
    case HGDIOBJ__::Region: return OBJ_REGION;
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// DC state

int SaveDC(HDC dc) {
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
  if (!dc) return 0;
  int n = static_cast<int>(dc->saved.size());
  int index = saved < 0 ? n + saved : saved - 1;  // 0-based entry to restore
  if (index < 0 || index >= n) return 0;
  HGDIOBJ oldBitmap = dc->state.bitmap;
  dc->state = dc->saved[index];
  dc->saved.resize(index);
  if (dc->memoryDC && dc->state.bitmap != oldBitmap) {
    if (oldBitmap) oldBitmap->selectedInto = nullptr;
    if (dc->state.bitmap) {
      dc->state.bitmap->selectedInto = dc;
      dc->Attach(&dc->state.bitmap->image);
    }
  }
  dc->ApplyGeometry();
  return 1;
}

static int DeviceDpi(HDC dc, bool x) {
  if (!dc || !dc->device || dc->image || dc->device->devType() == QInternal::Widget) return 96;
  return x ? dc->device->logicalDpiX() : dc->device->logicalDpiY();
}

// The screen's answers: its size in pixels and millimetres at 96 dots per inch.
static int ScreenCaps(int index) {
  QScreen* screen = QGuiApplication::primaryScreen();
  QSize px = screen ? screen->geometry().size() : QSize(1024, 768);
  switch (index) {
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case HORZRES: return px.width();
    case VERTRES: return px.height();
    case HORZSIZE: return px.width() * 254 / 960;
    case VERTSIZE: return px.height() * 254 / 960;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case RASTERCAPS: return 0x7E99;
    default: return 0;  // the physical page values are for printers
  }
}

int GetDeviceCaps(HDC dc, int index) {
  if (!dc) return 0;
  if (dc->screenDC) return ScreenCaps(index);
  QPaintDevice* d = dc->device;
  bool printer = d && d->devType() == QInternal::Printer;
  switch (index) {
    case LOGPIXELSX: return DeviceDpi(dc, true);
    case LOGPIXELSY: return DeviceDpi(dc, false);
    case HORZRES: return d ? d->width() : 0;
    case VERTRES: return d ? d->height() : 0;
    case HORZSIZE: return d ? d->widthMM() : 0;
    case VERTSIZE: return d ? d->heightMM() : 0;
    case BITSPIXEL: return dc->memoryDC && dc->state.bitmap && dc->state.bitmap->monochrome ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case RASTERCAPS: return 0x7E99;
    case PHYSICALWIDTH:
      if (printer) return static_cast<int>(static_cast<QPrinter*>(d)->paperRect(QPrinter::DevicePixel).width());
      return d ? d->width() : 0;
    case PHYSICALHEIGHT:
      if (printer) return static_cast<int>(static_cast<QPrinter*>(d)->paperRect(QPrinter::DevicePixel).height());
      return d ? d->height() : 0;
    case PHYSICALOFFSETX:
      if (printer) return static_cast<int>(static_cast<QPrinter*>(d)->pageRect(QPrinter::DevicePixel).left());
      return 0;
    case PHYSICALOFFSETY:
      if (printer) return static_cast<int>(static_cast<QPrinter*>(d)->pageRect(QPrinter::DevicePixel).top());
      return 0;
    default: return 0;
  }
}

#define DC_SETTER(Name, Getter, Type, field)            \
  Type Name(HDC dc, Type value) {                       \
    if (!dc) return 0;                                  \
    Type old = dc->state.field;                         \
    dc->state.field = value;                            \
    return old;                                         \
  }                                                     \
  Type Getter(HDC dc) { return dc ? dc->state.field : 0; }

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.textColor;
  dc->state.textColor = color & 0xFFFFFF;
  return old;
}
COLORREF GetTextColor(HDC dc) { return dc ? dc->state.textColor : CLR_INVALID; }
COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.bkColor;
  dc->state.bkColor = color & 0xFFFFFF;
  return old;
}
COLORREF GetBkColor(HDC dc) { return dc ? dc->state.bkColor : CLR_INVALID; }
DC_SETTER(SetBkMode, GetBkMode, int, bkMode)
DC_SETTER(SetROP2, GetROP2, int, rop2)
DC_SETTER(SetTextAlign, GetTextAlign, UINT, textAlign)
DC_SETTER(SetStretchBltMode, GetStretchBltMode, int, stretchMode)
#undef DC_SETTER

int SetPolyFillMode(HDC dc, int mode) {
  if (!dc) return 0;
  int old = dc->state.polyFillMode;
  dc->state.polyFillMode = mode;
  return old;
}

int SetTextCharacterExtra(HDC dc, int extra) {
  if (!dc) return 0;
  int old = dc->state.charExtra;
  dc->state.charExtra = extra;
  return old;
}

COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.dcBrushColor;
  dc->state.dcBrushColor = color & 0xFFFFFF;
  return old;
}

COLORREF SetDCPenColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.dcPenColor;
  dc->state.dcPenColor = color & 0xFFFFFF;
  return old;
}

static BOOL SetPoint(HDC dc, POINT TDCState::*field, int x, int y, POINT* old, bool geometry) {
  if (!dc) return 0;
  if (old) *old = dc->state.*field;
  dc->state.*field = POINT(x, y);
  if (geometry) dc->ApplyGeometry();
  return 1;
}

static BOOL GetPoint(HDC dc, POINT TDCState::*field, POINT* out) {
  if (!dc || !out) return 0;
  *out = dc->state.*field;
  return 1;
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::brushOrg, x, y, old, false); }
BOOL GetBrushOrgEx(HDC dc, POINT* org) { return GetPoint(dc, &TDCState::brushOrg, org); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) {
  return SetPoint(dc, &TDCState::viewportOrg, x, y, old, true);
}
BOOL GetViewportOrgEx(HDC dc, POINT* org) { return GetPoint(dc, &TDCState::viewportOrg, org); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old) {
  if (!dc) return 0;
  POINT p = dc->state.viewportOrg;
  return SetViewportOrgEx(dc, p.X + dx, p.Y + dy, old);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::windowOrg, x, y, old, true); }
BOOL GetWindowOrgEx(HDC dc, POINT* org) { return GetPoint(dc, &TDCState::windowOrg, org); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old) {
  if (!dc) return 0;
  POINT p = dc->state.windowOrg;
  return SetWindowOrgEx(dc, p.X + dx, p.Y + dy, old);
}

BOOL LPtoDP(HDC dc, POINT* points, int count) {
  if (!dc || !points) return 0;
  QPoint o = dc->Offset();
  const int a = dc->mirrorAxis;
  for (int i = 0; i < count; ++i) {
    const int x = points[i].X + o.x();
    points[i] = POINT(a != 0 ? a - x : x, points[i].Y + o.y());
  }
  return 1;
}

BOOL DPtoLP(HDC dc, POINT* points, int count) {
  if (!dc || !points) return 0;
  QPoint o = dc->Offset();
  const int a = dc->mirrorAxis;
  for (int i = 0; i < count; ++i) points[i] = POINT((a != 0 ? a - points[i].X : points[i].X) - o.x(), points[i].Y - o.y());
  return 1;
}

int SetMirrorAxis(HDC dc, int Axis) {
  if (!dc) return 0;
  const int old = dc->mirrorAxis;
  if (old == Axis) return old;
  dc->mirrorAxis = Axis;
  dc->ApplyGeometry();
  return old;
}

int GetMirrorAxis(HDC dc) { return dc ? dc->mirrorAxis : 0; }

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::pos, x, y, old, false); }
BOOL GetCurrentPositionEx(HDC dc, POINT* pos) { return GetPoint(dc, &TDCState::pos, pos); }

// ---------------------------------------------------------------------------------------------
// Regions

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Region);
  o->region = QRegion(ToQRect(left, top, right, bottom));
  return o;
}

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr; }

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Region);
  QRect r = ToQRect(left, top, right, bottom);
  if (!r.isEmpty()) o->region = QRegion(r, QRegion::Ellipse);
  return o;
}

HRGN CreateEllipticRgnIndirect(const RECT* r) {
  return r ? CreateEllipticRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Region);
  QRect r = ToQRect(left, top, right, bottom);
  if (r.isEmpty()) return o;
  QPainterPath path;
  path.addRoundedRect(QRectF(r), width / 2.0, height / 2.0);
  o->region = QRegion(path.toFillPolygon().toPolygon());
  return o;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  HGDIOBJ o = NewObject(HGDIOBJ__::Region);
  if (!points || count < 3) return o;
  QPolygon poly;
  for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
  o->region = QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  return o;
}

static bool IsRegion(HGDIOBJ o) { return o && !IsSysColorBrush(o) && o->kind == HGDIOBJ__::Region; }

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  if (!IsRegion(dst) || !IsRegion(src1)) return ERROR;
  if (mode != RGN_COPY && !IsRegion(src2)) return ERROR;
  QRegion a = src1->region;
  switch (mode) {
    case RGN_AND: dst->region = a.intersected(src2->region); break;
    case RGN_OR: dst->region = a.united(src2->region); break;
    case RGN_XOR: dst->region = a.xored(src2->region); break;
    case RGN_DIFF: dst->region = a.subtracted(src2->region); break;
    case RGN_COPY: dst->region = a; break;
    default: return ERROR;
  }
  return RegionType(dst->region);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  if (!IsRegion(rgn)) return 0;
  rgn->region = QRegion(ToQRect(left, top, right, bottom));
  return 1;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  if (!IsRegion(rgn)) return ERROR;
  rgn->region.translate(dx, dy);
  return RegionType(rgn->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) { return IsRegion(rgn) && rgn->region.contains(QPoint(x, y)); }

BOOL RectInRegion(HRGN rgn, const RECT* r) {
  return IsRegion(rgn) && r && rgn->region.intersects(ToQRect(r->Left, r->Top, r->Right, r->Bottom));
}

BOOL EqualRgn(HRGN a, HRGN b) { return IsRegion(a) && IsRegion(b) && a->region == b->region; }

int GetRgnBox(HRGN rgn, RECT* r) {
  if (!IsRegion(rgn) || !r) return ERROR;
  QRect b = rgn->region.boundingRect();
  *r = b.isEmpty() ? RECT() : RECT(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
  return RegionType(rgn->region);
}

static QRect DeviceBounds(HDC dc) {
  if (!dc->device) return QRect();
  return QRect(0, 0, dc->device->width(), dc->device->height());
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
  if (!dc) return ERROR;
  TDCState& s = dc->state;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    s.hasClip = false;
    s.clip = QRegion();
    dc->ApplyGeometry();
    return SIMPLEREGION;
  }
  if (!IsRegion(rgn)) return ERROR;
  QRegion current = s.hasClip ? s.clip : QRegion(DeviceBounds(dc));
  QRegion r = rgn->region;
  switch (mode) {
    case RGN_COPY: s.clip = r; break;
    case RGN_AND: s.clip = current.intersected(r); break;
    case RGN_OR: s.clip = current.united(r); break;
    case RGN_XOR: s.clip = current.xored(r); break;
    case RGN_DIFF: s.clip = current.subtracted(r); break;
    default: return ERROR;
  }
  s.hasClip = true;
  dc->ApplyGeometry();
  return RegionType(s.clip);
}

static int ClipRectOp(HDC dc, int left, int top, int right, int bottom, bool intersect) {
  if (!dc) return ERROR;
  TDCState& s = dc->state;
  QRect r = dc->ToDevice(ToQRect(left, top, right, bottom));
  QRegion current = s.hasClip ? s.clip : QRegion(DeviceBounds(dc));
  s.clip = intersect ? current.intersected(r) : current.subtracted(r);
  s.hasClip = true;
  dc->ApplyGeometry();
  return RegionType(s.clip);
}

int IntersectClipRect(HDC dc, int l, int t, int r, int b) { return ClipRectOp(dc, l, t, r, b, true); }
int ExcludeClipRect(HDC dc, int l, int t, int r, int b) { return ClipRectOp(dc, l, t, r, b, false); }

int OffsetClipRgn(HDC dc, int dx, int dy) {
  if (!dc) return ERROR;
  if (!dc->state.hasClip) return SIMPLEREGION;
  dc->state.clip.translate(dx, dy);
  dc->ApplyGeometry();
  return RegionType(dc->state.clip);
}

int GetClipBox(HDC dc, RECT* rect) {
  if (!dc || !rect) return ERROR;
  QRegion visible(DeviceBounds(dc));
  if (dc->state.hasClip) visible = visible.intersected(dc->state.clip);
  QRect b = dc->FromDevice(visible.boundingRect());
  *rect = visible.isEmpty() ? RECT() : RECT(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
  return RegionType(visible);
}

int GetClipRgn(HDC dc, HRGN rgn) {
  if (!dc || !IsRegion(rgn)) return -1;
  if (!dc->state.hasClip) return 0;
  rgn->region = dc->state.clip;
  return 1;
}

BOOL PtVisible(HDC dc, int x, int y) {
  if (!dc) return 0;
  QPoint p = dc->ToDevice(QRect(x, y, 1, 1)).topLeft();
  if (!DeviceBounds(dc).contains(p)) return 0;
  return !dc->state.hasClip || dc->state.clip.contains(p);
}

BOOL RectVisible(HDC dc, const RECT* rect) {
  if (!dc || !rect) return 0;
  QRect r = dc->ToDevice(ToQRect(rect->Left, rect->Top, rect->Right, rect->Bottom));
  QRegion visible(DeviceBounds(dc));
  if (dc->state.hasClip) visible = visible.intersected(dc->state.clip);
  return visible.intersects(r);
}

// ---------------------------------------------------------------------------------------------
// Rectangles

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return 0;
  *r = RECT(left, top, right, bottom);
  return 1;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return 0;
  *dst = *src;
  return 1;
}
BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return 0;
  *r = RECT(r->Left - dx, r->Top - dy, r->Right + dx, r->Bottom + dy);
  return 1;
}
BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return 0;
  *r = RECT(r->Left + dx, r->Top + dy, r->Right + dx, r->Bottom + dy);
  return 1;
}
BOOL IsRectEmpty(const RECT* r) { return !r || r->IsEmpty(); }
BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return 0;
  RECT r(std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
         std::min(a->Bottom, b->Bottom));
  if (r.IsEmpty()) {
    *dst = RECT();
    return 0;
  }
  *dst = r;
  return 1;
}
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return 0;
  if (a->IsEmpty()) {
    *dst = *b;
  } else if (b->IsEmpty()) {
    *dst = *a;
  } else {
    *dst = RECT(std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
                std::max(a->Bottom, b->Bottom));
  }
  return !dst->IsEmpty();
}
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return 0;
  RECT r = *a;
  RECT i;
  if (IntersectRect(&i, a, b)) {
    if (i.Top == r.Top && i.Bottom == r.Bottom) {
      if (i.Left == r.Left) r.Left = std::min(i.Right, r.Right);
      else if (i.Right == r.Right) r.Right = i.Left;
    } else if (i.Left == r.Left && i.Right == r.Right) {
      if (i.Top == r.Top) r.Top = i.Bottom;
      else if (i.Bottom == r.Bottom) r.Bottom = i.Top;
    }
  }
  *dst = r;
  return !r.IsEmpty();
}
BOOL PtInRect(const RECT* r, POINT p) { return r && r->Contains(p); }

// ---------------------------------------------------------------------------------------------
// System colours, metrics, arithmetic

COLORREF GetSysColor(int index) {
  // A fixed classic palette, so that drawing looks the same on every machine.
  static const COLORREF colors[31] = {
      RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
      RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
      RGB(212, 208, 200)};
  if (index < 0 || index > 30) return 0;
  return colors[index];
}

HBRUSH GetSysColorBrush(int index) {
  static HGDIOBJ brushes[31] = {};
  if (index < 0 || index > 30) return nullptr;
  if (!brushes[index]) brushes[index] = StockBrush(BS_SOLID, GetSysColor(index));
  return brushes[index];
}

int GetSystemMetrics(int index) {
  // The primary monitor (a test's fixed layout, if any).
  std::vector<TMonitorLayout> monitors = CurrentMonitors();
  QRect geo(0, 0, 1024, 768);
  if (!monitors.empty()) geo = QRect(monitors[0].Bounds.Left, monitors[0].Bounds.Top, monitors[0].Bounds.Width(), monitors[0].Bounds.Height());
  switch (index) {
    case SM_CXSCREEN: case SM_CXFULLSCREEN: case SM_CXVIRTUALSCREEN: return geo.width();
    case SM_CYSCREEN: case SM_CYFULLSCREEN: case SM_CYVIRTUALSCREEN: return geo.height();
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CYMENU: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Colours

QColor ToQColor(TColor color) {
  uint32_t c = static_cast<uint32_t>(color);
  if ((c & 0xFF000000u) == 0xFF000000u) c = GetSysColor(static_cast<int>(c & 0xFF));
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(const QColor& c) {
  return RGB(static_cast<BYTE>(c.red()), static_cast<BYTE>(c.green()), static_cast<BYTE>(c.blue()));
}
