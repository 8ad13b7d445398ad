// Three-dimensional edges, frame controls (buttons, check boxes, scroll arrows), focus
// rectangles and icons, drawn in the classic look with the system colours.
#include <algorithm>

#include "platform/win/Gdi_p.h"

namespace {

QColor Sys(int index) { return ToQColor(static_cast<TColor>(GetSysColor(index))); }

void Fill(HDC dc, const QRect& r, const QColor& c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  dc->painter->fillRect(r, c);
}

// One ring of an edge: top-left colour on the top row and left column (short of the far corners),
// bottom-right colour on the right column and bottom row (full length).
void Ring(HDC dc, RECT& r, const QColor& tl, const QColor& br, UINT flags) {
  int w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (w <= 0 || h <= 0) return;
  if (flags & BF_BOTTOM) Fill(dc, QRect(r.Left, r.Bottom - 1, w, 1), br);
  if (flags & BF_RIGHT) Fill(dc, QRect(r.Right - 1, r.Top, 1, h), br);
  if (flags & BF_TOP) Fill(dc, QRect(r.Left, r.Top, w - ((flags & BF_RIGHT) ? 1 : 0), 1), tl);
  if (flags & BF_LEFT) Fill(dc, QRect(r.Left, r.Top, 1, h - ((flags & BF_BOTTOM) ? 1 : 0)), tl);
  if (flags & BF_LEFT) ++r.Left;
  if (flags & BF_TOP) ++r.Top;
  if (flags & BF_RIGHT) --r.Right;
  if (flags & BF_BOTTOM) --r.Bottom;
}

void Arrow(HDC dc, const QRect& r, UINT kind, const QColor& c) {
  int size = std::max(2, std::min(r.width(), r.height()) / 3);
  QPoint ctr = r.center();
  QPainter* p = dc->painter.get();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // Row by row, so the triangle is symmetric and pixel exact.
  for (int i = 0; i < size; ++i) {
    int len = 2 * (size - i) - 1;
    switch (kind) {
      case DFCS_SCROLLUP: p->fillRect(QRect(ctr.x() - (len / 2), ctr.y() - size / 2 + size - 1 - i, len, 1), c); break;
      case DFCS_SCROLLLEFT: p->fillRect(QRect(ctr.x() - size / 2 + size - 1 - i, ctr.y() - (len / 2), 1, len), c); break;
      case DFCS_SCROLLRIGHT: p->fillRect(QRect(ctr.x() - size / 2 + i, ctr.y() - (len / 2), 1, len), c); break;
      default: p->fillRect(QRect(ctr.x() - (len / 2), ctr.y() - size / 2 + i, len, 1), c); break;
    }
  }
}

void ButtonFace(HDC dc, RECT& r, UINT state) {
  if (state & DFCS_FLAT) {
    Ring(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), BF_RECT);
  } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    Ring(dc, r, Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), BF_RECT);
    Ring(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_3DLIGHT), BF_RECT);
  } else {
    Ring(dc, r, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), BF_RECT);
    Ring(dc, r, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), BF_RECT);
  }
  Fill(dc, QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Sys(COLOR_BTNFACE));
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  if (!DCPainter(dc) || !rect) return 0;
  RECT r = *rect;
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  if (flags & BF_MONO) {
    if (outer || inner) Ring(dc, r, Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME), flags);
  } else if (flags & BF_FLAT) {
    if (outer) Ring(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), flags);
    if (inner) Ring(dc, r, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), flags);
  } else {
    bool soft = flags & BF_SOFT;
    if (outer & BDR_RAISEDOUTER)
      Ring(dc, r, Sys(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), flags);
    else if (outer & BDR_SUNKENOUTER)
      Ring(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), flags);
    if (inner & BDR_RAISEDINNER)
      Ring(dc, r, Sys(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), flags);
    else if (inner & BDR_SUNKENINNER)
      Ring(dc, r, Sys(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT), flags);
  }
  if (flags & BF_MIDDLE) Fill(dc, QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Sys(COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = r;
  return 1;
}

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
  if (!DCPainter(dc) || !rect) return 0;
  RECT r = *rect;
  bool inactive = state & DFCS_INACTIVE;
  QColor glyph = inactive ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_BTNTEXT);
  switch (type) {
    case DFC_BUTTON: {
      UINT kind = state & 0x1F;
      if (kind == DFCS_BUTTONPUSH) {
        ButtonFace(dc, r, state);
        break;
      }
      // Check boxes and radio buttons: a square box of the smaller side, centred.
      int side = std::min(r.Right - r.Left, r.Bottom - r.Top);
      RECT box(r.Left + (r.Right - r.Left - side) / 2, r.Top + (r.Bottom - r.Top - side) / 2, 0, 0);
      box.Right = box.Left + side;
      box.Bottom = box.Top + side;
      QColor face = (inactive || (state & DFCS_PUSHED)) ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW);
      if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE)) {
        QPainter* p = dc->painter.get();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setPen(QPen(Sys(COLOR_BTNSHADOW), 0));
        p->setBrush(face);
        p->drawEllipse(QRect(box.Left, box.Top, side - 1, side - 1));
        if (state & DFCS_CHECKED) {
          int d = std::max(2, side / 3);
          p->setPen(Qt::NoPen);
          p->setBrush(glyph);
          p->drawEllipse(QRect(box.Left + (side - d) / 2, box.Top + (side - d) / 2, d, d));
        }
        break;
      }
      if (state & DFCS_FLAT) {
        Ring(dc, box, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), BF_RECT);
      } else {
        Ring(dc, box, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), BF_RECT);
        Ring(dc, box, Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT), BF_RECT);
      }
      Fill(dc, QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top), face);
      if (state & DFCS_CHECKED) {
        // A tick of three-pixel-high strokes: down-right for a third, then up-right.
        int w = box.Right - box.Left;
        int x0 = box.Left + std::max(1, w / 6), y0 = box.Top + w / 2 - 1;
        int down = std::max(2, w / 3), up = std::max(3, w - 2 * std::max(1, w / 6) - down);
        for (int i = 0; i < down; ++i) Fill(dc, QRect(x0 + i, y0 + i, 1, 3), glyph);
        for (int i = 0; i < up; ++i) Fill(dc, QRect(x0 + down + i, y0 + down - 2 - i, 1, 3), glyph);
      }
      break;
    }
    case DFC_SCROLL: {
      UINT kind = state & 0x1F;
      if (kind == DFCS_SCROLLSIZEGRIP) {
        Fill(dc, QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Sys(COLOR_BTNFACE));
        break;
      }
      ButtonFace(dc, r, state);
      QRect inner(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
      if (state & DFCS_PUSHED) inner.translate(1, 1);
      UINT dir = kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : kind;
      if (inactive) Arrow(dc, inner.translated(1, 1), dir, Sys(COLOR_BTNHIGHLIGHT));
      Arrow(dc, inner, dir, inactive ? Sys(COLOR_BTNSHADOW) : glyph);
      break;
    }
    case DFC_CAPTION: {
      ButtonFace(dc, r, state);
      QRect in(r.Left + 2, r.Top + 2, r.Right - r.Left - 4, r.Bottom - r.Top - 4);
      if (state & DFCS_PUSHED) in.translate(1, 1);
      QPainter* p = dc->painter.get();
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      p->setPen(QPen(glyph, 2));
      UINT kind = state & 0x0F;
      if (kind == DFCS_CAPTIONCLOSE) {
        p->drawLine(in.topLeft(), in.bottomRight());
        p->drawLine(in.topRight(), in.bottomLeft());
      } else if (kind == DFCS_CAPTIONMIN) {
        p->drawLine(in.bottomLeft(), in.bottomRight());
      } else {
        p->setBrush(Qt::NoBrush);
        p->drawRect(in.adjusted(0, 0, -1, -1));
      }
      break;
    }
    default:
      ButtonFace(dc, r, state);
      break;
  }
  if (state & DFCS_ADJUSTRECT) InflateRect(rect, -2, -2);
  return 1;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  if (!DCPainter(dc) || !rect) return 0;
  QRect r = gdi::EdgeRect(rect->Left, rect->Top, rect->Right, rect->Bottom);
  if (r.isEmpty()) return 1;
  // Every other pixel of the frame is inverted, so a second call restores the picture.
  QPolygon dots;
  auto add = [&](int x, int y) {
    if (((x + y) & 1) == 0) dots << QPoint(x, y);
  };
  for (int x = r.left(); x <= r.right(); ++x) add(x, r.top());
  if (r.height() > 1)
    for (int x = r.left(); x <= r.right(); ++x) add(x, r.bottom());
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    add(r.left(), y);
    if (r.width() > 1) add(r.right(), y);
  }
  QPainter* p = dc->painter.get();
  QColor white = Qt::white;
  if (!gdi::ApplyRop2(dc, R2_XORPEN, white)) return 0;
  p->setPen(QPen(white, 0));
  // A point's pixel falls right of it: a mirrored DC takes the point a logical pixel on.
  const int shift = dc->mirrorAxis != 0 ? 1 : 0;
  p->translate(shift, 0);
  p->drawPoints(dots);
  p->translate(-shift, 0);
  return 1;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flicker, UINT flags) {
  if (!DCPainter(dc) || !icon) return 0;
  QImage img = icon->image;
  if (width <= 0) width = img.width();
  if (height <= 0) height = img.height();
  if (img.size() != QSize(width, height))
    img = img.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QPainter* p = dc->painter.get();
  if (flicker) {
    RECT r(x, y, x + width, y + height);
    FillRect(dc, &r, flicker);
  }
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if ((flags & DI_NORMAL) == DI_MASK) {
    QImage mask(img.size(), QImage::Format_RGB32);
    for (int yy = 0; yy < img.height(); ++yy)
      for (int xx = 0; xx < img.width(); ++xx)
        mask.setPixel(xx, yy, qAlpha(img.pixel(xx, yy)) ? 0xFF000000 : 0xFFFFFFFF);
    p->drawImage(QPoint(x, y), mask);
  } else {
    p->drawImage(QPoint(x, y), img);
  }
  return 1;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
