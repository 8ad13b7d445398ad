// Layered windows over Qt's translucent top-level windows.

#include <QGuiApplication>
#include <QPainter>
#include <QtGui/qguiapplication_platform.h>
#include <dlfcn.h>
#include <cstring>

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

int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw) {
  QWidget* top = LayeredTop(Wnd);
  if (top == nullptr) return 0;
  if (Rgn == nullptr || Rgn->kind != HGDIOBJ__::Region) top->clearMask();
  else top->setMask(Rgn->region);
  if (Rgn != nullptr) DeleteObject(Rgn);
  if (Redraw) top->update();
  return 1;
}

namespace {

// Whether an X11 compositing manager owns the screen's compositing selection. libxcb is
// already loaded by Qt's X11 platform; its calls are looked up there.
bool X11Composites() {
#if QT_CONFIG(xcb)
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return false;
  struct AtomCookie { unsigned int sequence; };
  struct AtomReply { uint8_t response_type, pad0; uint16_t sequence; uint32_t length; uint32_t atom; };
  struct OwnerCookie { unsigned int sequence; };
  struct OwnerReply { uint8_t response_type, pad0; uint16_t sequence; uint32_t length; uint32_t owner; };
  using InternAtom = AtomCookie (*)(void*, uint8_t, uint16_t, const char*);
  using InternAtomReply = AtomReply* (*)(void*, AtomCookie, void**);
  using GetOwner = OwnerCookie (*)(void*, uint32_t);
  using GetOwnerReply = OwnerReply* (*)(void*, OwnerCookie, void**);
  auto intern = reinterpret_cast<InternAtom>(dlsym(RTLD_DEFAULT, "xcb_intern_atom"));
  auto internReply = reinterpret_cast<InternAtomReply>(dlsym(RTLD_DEFAULT, "xcb_intern_atom_reply"));
  auto owner = reinterpret_cast<GetOwner>(dlsym(RTLD_DEFAULT, "xcb_get_selection_owner"));
  auto ownerReply = reinterpret_cast<GetOwnerReply>(dlsym(RTLD_DEFAULT, "xcb_get_selection_owner_reply"));
  if (!intern || !internReply || !owner || !ownerReply) return false;
  void* c = x11->connection();
  const char* name = "_NET_WM_CM_S0";
  AtomReply* atom = internReply(c, intern(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  if (atom == nullptr) return false;
  OwnerReply* reply = ownerReply(c, owner(c, atom->atom), nullptr);
  const bool composites = reply != nullptr && reply->owner != 0;
  std::free(reply);
  std::free(atom);
  return composites;
#else
  return false;
#endif
}

}  // namespace

HRESULT DwmIsCompositionEnabled(BOOL* Enabled) {
  if (Enabled == nullptr) return E_INVALIDARG;
  const QString name = QGuiApplication::platformName();
  bool composites = false;
  if (name == QLatin1String("xcb")) composites = X11Composites();
  else composites = name != QLatin1String("minimal") && name != QLatin1String("linuxfb") && !name.isEmpty();
  *Enabled = composites ? TRUE : FALSE;
  return S_OK;
}
