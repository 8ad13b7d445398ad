// Layered windows over Qt's translucent top-level windows.

#include <QPainter>

#include "platform/win/Gdi_p.h"
#include "platform/win/Modules.h"
#include "platform/win/WinUser_p.h"

namespace {

// The top-level widget a layered call acts on; nullptr for a child window or a bad handle.
QWidget* LayeredTop(HWND wnd) {
  if (!IsWindow(wnd)) return nullptr;
  QWidget* top = WindowTopWidget(wnd);
  return top != nullptr && top->isWindow() ? top : nullptr;
}

void MakeTranslucent(QWidget* top) {
  if (!top->testAttribute(Qt::WA_TranslucentBackground)) top->setAttribute(Qt::WA_TranslucentBackground);
}

QRgb KeyRgb(COLORREF key) { return qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF); }

}  // namespace

QImage KeyedImage(const QImage& image, QRgb key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb rgb = key & 0xFFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0xFFFFFF) == rgb) line[x] = 0;
  }
  return out;
}

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags) {
  QWidget* top = LayeredTop(Wnd);
  if (top == nullptr) return FALSE;
  top->setWindowOpacity((Flags & LWA_ALPHA) ? Alpha / 255.0 : 1.0);
  Wnd->colorKeyed = (Flags & LWA_COLORKEY) != 0;
  Wnd->colorKey = KeyRgb(Key);
  if (Wnd->colorKeyed) MakeTranslucent(top);
  if (QWidget* w = WindowWidget(Wnd)) w->update();
  return TRUE;
}

BOOL UpdateLayeredWindow(HWND Wnd, HDC, const POINT* DstPt, const SIZE* Size, HDC SrcDC, const POINT* SrcPt,
                         COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags) {
  QWidget* top = LayeredTop(Wnd);
  if (top == nullptr) return FALSE;
  if (Size != nullptr && (Size->cx <= 0 || Size->cy <= 0)) return FALSE;
  QImage shown;
  if (SrcDC != nullptr) {
    if (SrcDC->image == nullptr || SrcDC->image->isNull()) return FALSE;
    const QSize size = Size != nullptr ? QSize(Size->cx, Size->cy) : top->size();
    const QPoint from = SrcPt != nullptr ? QPoint(SrcPt->X, SrcPt->Y) : QPoint(0, 0);
    const QRect source(from, size);
    if (!SrcDC->image->rect().contains(source)) return FALSE;
    SuspendDC(SrcDC);
    shown = SrcDC->image->copy(source);
    ResumeDC(SrcDC);
    if (Flags & ULW_OPAQUE) {
      shown = shown.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else if ((Flags & ULW_ALPHA) && Blend != nullptr) {
      // With AC_SRC_ALPHA the source's bytes are premultiplied ARGB (a bitmap without an alpha
      // channel is opaque); without it the alpha bytes are ignored.
      if (!(Blend->AlphaFormat & AC_SRC_ALPHA))
        shown = shown.convertToFormat(QImage::Format_RGB32);
      else if (shown.format() == QImage::Format_ARGB32)
        shown.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
      shown = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
      if (Blend->SourceConstantAlpha != 255) {
        QImage faded(shown.size(), QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter p(&faded);
        p.setOpacity(Blend->SourceConstantAlpha / 255.0);
        p.drawImage(0, 0, shown);
        p.end();
        shown = faded;
      }
    } else if (Flags & ULW_COLORKEY) {
      shown = KeyedImage(shown, KeyRgb(Key)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
      shown = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
  } else if ((Flags & ULW_ALPHA) && Blend != nullptr) {
    // No new picture: only the window's constant alpha changes.
    top->setWindowOpacity(Blend->SourceConstantAlpha / 255.0);
  }
  if (DstPt != nullptr) top->move(DstPt->X, DstPt->Y);
  if (Size != nullptr) top->resize(Size->cx, Size->cy);
  if (!shown.isNull()) {
    MakeTranslucent(top);
    Wnd->layered = shown;
    if (QWidget* w = WindowWidget(Wnd)) w->update();
  }
  return TRUE;
}
