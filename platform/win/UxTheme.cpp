#include "platform/win/UxTheme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOption>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi_p.h"

// A theme is the class it draws.
struct HTHEME__ {
  enum Class { ComboBox, Button, Spin } cls;
};

namespace {

HTHEME__ ComboTheme{HTHEME__::ComboBox}, ButtonTheme{HTHEME__::Button}, SpinTheme{HTHEME__::Spin};

QStyle::State StateFlags(int state) {
  QStyle::State s = QStyle::State_Enabled | QStyle::State_Raised;
  switch ((state - 1) % 4) {
    case 1: s |= QStyle::State_MouseOver; break;
    case 2: s |= QStyle::State_Sunken; s &= ~QStyle::State_Raised; break;
    case 3: s &= ~QStyle::State_Enabled; break;
  }
  s |= state > 4 ? QStyle::State_On : QStyle::State_Off;
  return s;
}

// Hot and pressed faces are marked on top of what the style draws, so every state differs even
// under styles that draw no hover or pressed look for a primitive.
void MarkState(QPainter& p, const QRect& r, int state) {
  int k = (state - 1) % 4;
  if (k == 1) p.fillRect(r.adjusted(1, 1, -1, -1), QColor(0, 120, 215, 40));
  if (k == 2) p.fillRect(r.adjusted(1, 1, -1, -1), QColor(0, 0, 0, 50));
}

// Check boxes and radio buttons are drawn the same way again in every cell of a grid. Drawn on a
// solid opaque background, their pixels depend only on the face, the size, that colour and the
// painter's set-up, so a picture of them (with a margin of that colour) is kept and copied in.
// The picture is the style's own drawing on the same background, so the pixels are the same.
// A check box face stays inside its rectangle; a radio face's smoothed rim reaches beyond it.
int KeptMargin(int PartId) { return PartId == BP_RADIOBUTTON ? 2 : 0; }

struct TKeptFaceKey {
  int Part, State, Width, Height, Hints, Format;
  QRgb Background;
  qint64 Palette;
  const QStyle* Style;
  bool operator<(const TKeptFaceKey& o) const {
    return std::tie(Part, State, Width, Height, Hints, Format, Background, Palette, Style) <
           std::tie(o.Part, o.State, o.Width, o.Height, o.Hints, o.Format, o.Background, o.Palette, o.Style);
  }
};

// The one colour of the image's pixels in R (fully inside the image), if there is one and it
// is opaque.
bool SolidBackground(const QImage& Image, const QRect& R, QRgb& Colour) {
  if (!Image.rect().contains(R)) return false;
  const QRgb first = reinterpret_cast<const QRgb*>(Image.constScanLine(R.top()))[R.left()];
  if (qAlpha(first) != 255 && Image.format() != QImage::Format_RGB32) return false;
  for (int y = R.top(); y <= R.bottom(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(Image.constScanLine(y));
    for (int x = R.left(); x <= R.right(); ++x)
      if (line[x] != first) return false;
  }
  Colour = first;
  return true;
}

// Draws a check box or radio face from a kept picture when the painter allows an exact copy;
// false when it does not (the caller draws it directly).
bool DrawKeptFace(QPainter& p, int PartId, int StateId, const QStyleOptionButton& Opt, QStyle* Style) {
  QPaintDevice* dev = p.device();
  if (!dev || dev->devType() != QInternal::Image) return false;
  const QImage& image = *static_cast<QImage*>(dev);
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return false;
  if (image.devicePixelRatio() != 1 || p.opacity() != 1 || p.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  const QTransform& t = p.deviceTransform();
  if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) return false;
  const int m = KeptMargin(PartId);
  const QRect area = Opt.rect.adjusted(-m, -m, m, m);
  QRgb background = 0;
  if (area.isEmpty() || !SolidBackground(image, area.translated(int(t.dx()), int(t.dy())), background)) return false;
  static std::map<TKeptFaceKey, QImage> kept;
  const TKeptFaceKey key{PartId, StateId, Opt.rect.width(), Opt.rect.height(), int(p.renderHints()), int(format),
                         background, Opt.palette.cacheKey(), Style};
  auto it = kept.find(key);
  if (it == kept.end()) {
    if (kept.size() >= 256) kept.clear();
    QImage picture(area.size(), format);
    picture.fill(background);
    {
      QPainter q(&picture);
      q.setRenderHints(p.renderHints());
      q.setPen(p.pen());
      q.setBrush(p.brush());
      q.setFont(p.font());
      q.translate(-area.left(), -area.top());
      Style->drawPrimitive(PartId == BP_RADIOBUTTON ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &Opt, &q);
      MarkState(q, Opt.rect, StateId);
    }
    it = kept.emplace(key, std::move(picture)).first;
  }
  p.drawImage(area.topLeft(), it->second);
  return true;
}

}  // namespace

HTHEME OpenThemeData(HWND, LPCWSTR ClassList) {
  if (!ClassList) return nullptr;
  String list(ClassList);
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(u';', start);
    if (end == String::npos) end = list.size();
    String name = LowerCase(Trim(list.substr(start, end - start)));
    if (name == u"combobox") return &ComboTheme;
    if (name == u"button") return &ButtonTheme;
    if (name == u"spin") return &SpinTheme;
    start = end + 1;
  }
  return nullptr;
}

HRESULT CloseThemeData(HTHEME Theme) { return Theme ? S_OK : E_INVALIDARG; }

HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, const RECT* ClipRect) {
  if (!Theme || !DC || !Rect) return E_INVALIDARG;
  bool checkable = Theme->cls == HTHEME__::Button && (PartId == BP_RADIOBUTTON || PartId == BP_CHECKBOX);
  bool known = (Theme->cls == HTHEME__::ComboBox && PartId == CP_DROPDOWNBUTTON) ||
               (Theme->cls == HTHEME__::Button && PartId >= BP_PUSHBUTTON && PartId <= BP_CHECKBOX) ||
               (Theme->cls == HTHEME__::Spin && PartId >= SPNP_UP && PartId <= SPNP_DOWNHORZ);
  if (!known || StateId < 1 || StateId > (checkable ? 8 : 4)) return E_NOTIMPL;
  QPainter* p = DCPainter(DC);
  if (!p) return E_INVALIDARG;
  QStyle* style = QApplication::style();
  p->save();
  if (ClipRect) p->setClipRect(gdi::EdgeRect(ClipRect->Left, ClipRect->Top, ClipRect->Right, ClipRect->Bottom), Qt::IntersectClip);
  QStyleOptionButton opt;
  opt.rect = gdi::EdgeRect(Rect->Left, Rect->Top, Rect->Right, Rect->Bottom);
  opt.state = StateFlags(StateId);
  opt.palette = QApplication::palette();
  if (!(opt.state & QStyle::State_Enabled)) opt.palette.setCurrentColorGroup(QPalette::Disabled);
  if (checkable && !ClipRect && DrawKeptFace(*p, PartId, StateId, opt, style)) {
    p->restore();
    return S_OK;
  }
  switch (Theme->cls) {
    case HTHEME__::ComboBox:
      style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, p);
      style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, p);
      break;
    case HTHEME__::Button:
      if (PartId == BP_PUSHBUTTON) style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, p);
      else style->drawPrimitive(PartId == BP_RADIOBUTTON ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, p);
      break;
    case HTHEME__::Spin:
      style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, p);
      if (PartId == SPNP_UP || PartId == SPNP_DOWN)
        style->drawPrimitive(PartId == SPNP_UP ? QStyle::PE_IndicatorSpinUp : QStyle::PE_IndicatorSpinDown, &opt, p);
      else
        style->drawPrimitive(PartId == SPNP_UPHORZ ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft, &opt, p);
      break;
  }
  MarkState(*p, opt.rect, StateId);
  p->restore();
  return S_OK;
}

BOOL IsThemeActive() { return TRUE; }
BOOL IsAppThemed() { return TRUE; }

HRESULT GetCurrentThemeName(Char*, int, Char*, int, Char*, int) { return E_NOTIMPL; }

namespace {

// The rest of the library's exports, with its published parameter lists: nothing to answer.
HRESULT DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const RECT*, HRGN*) { return E_NOTIMPL; }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, WORD*) { return E_NOTIMPL; }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) { return E_NOTIMPL; }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const RECT*, void*, int) { return E_NOTIMPL; }
BOOL IsThemePartDefined(HTHEME, int, int) { return FALSE; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return FALSE; }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_NOTIMPL; }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeString(HTHEME, int, int, int, Char*, int) { return E_NOTIMPL; }
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return E_NOTIMPL; }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemePosition(HTHEME, int, int, int, POINT*) { return E_NOTIMPL; }
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeRect(HTHEME, int, int, int, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, const RECT*, void*) { return E_NOTIMPL; }
HRESULT GetThemeIntList(HTHEME, int, int, int, void*) { return E_NOTIMPL; }
HRESULT SetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return E_NOTIMPL; }
HRESULT GetThemeFilename(HTHEME, int, int, int, Char*, int) { return E_NOTIMPL; }
COLORREF GetThemeSysColor(HTHEME, int) { return 0; }
HBRUSH GetThemeSysColorBrush(HTHEME, int) { return nullptr; }
BOOL GetThemeSysBool(HTHEME, int) { return FALSE; }
int GetThemeSysSize(HTHEME, int) { return 0; }
HRESULT GetThemeSysFont(HTHEME, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeSysString(HTHEME, int, Char*, int) { return E_NOTIMPL; }
HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_NOTIMPL; }
HTHEME GetWindowTheme(HWND) { return nullptr; }
HRESULT EnableThemeDialogTexture(HWND, DWORD) { return E_NOTIMPL; }
BOOL IsThemeDialogTextureEnabled(HWND) { return FALSE; }
DWORD GetThemeAppProperties() { return 0; }
void SetThemeAppProperties(DWORD) {}
HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, Char*, int) { return E_NOTIMPL; }
HRESULT GetThemePartSize(HTHEME, HDC, int, int, const RECT*, int, void*) { return E_NOTIMPL; }
HRESULT DrawThemeParentBackground(HWND, HDC, const RECT*) { return E_NOTIMPL; }
HRESULT EnableTheming(BOOL) { return E_NOTIMPL; }

#define UX_EXPORT(name) {#name, ToFarProc(&name)}

const std::map<std::string, FARPROC>& Exports() {
  static const std::map<std::string, FARPROC> table = {
      UX_EXPORT(OpenThemeData), UX_EXPORT(CloseThemeData), UX_EXPORT(DrawThemeBackground),
      UX_EXPORT(DrawThemeText), UX_EXPORT(GetThemeBackgroundContentRect), UX_EXPORT(GetThemeBackgroundExtent),
      UX_EXPORT(GetThemeTextExtent), UX_EXPORT(GetThemeTextMetrics), UX_EXPORT(GetThemeBackgroundRegion),
      UX_EXPORT(HitTestThemeBackground), UX_EXPORT(DrawThemeEdge), UX_EXPORT(DrawThemeIcon),
      UX_EXPORT(IsThemePartDefined), UX_EXPORT(IsThemeBackgroundPartiallyTransparent), UX_EXPORT(GetThemeColor),
      UX_EXPORT(GetThemeMetric), UX_EXPORT(GetThemeString), UX_EXPORT(GetThemeBool), UX_EXPORT(GetThemeInt),
      UX_EXPORT(GetThemeEnumValue), UX_EXPORT(GetThemePosition), UX_EXPORT(GetThemeFont), UX_EXPORT(GetThemeRect),
      UX_EXPORT(GetThemeMargins), UX_EXPORT(GetThemeIntList), UX_EXPORT(SetWindowTheme), UX_EXPORT(GetThemeFilename),
      UX_EXPORT(GetThemeSysColor), UX_EXPORT(GetThemeSysColorBrush), UX_EXPORT(GetThemeSysBool),
      UX_EXPORT(GetThemeSysSize), UX_EXPORT(GetThemeSysFont), UX_EXPORT(GetThemeSysString), UX_EXPORT(GetThemeSysInt),
      UX_EXPORT(IsThemeActive), UX_EXPORT(IsAppThemed), UX_EXPORT(GetWindowTheme), UX_EXPORT(EnableThemeDialogTexture),
      UX_EXPORT(IsThemeDialogTextureEnabled), UX_EXPORT(GetThemeAppProperties), UX_EXPORT(SetThemeAppProperties),
      UX_EXPORT(GetCurrentThemeName), UX_EXPORT(GetThemeDocumentationProperty), UX_EXPORT(GetThemePartSize),
      UX_EXPORT(DrawThemeParentBackground), UX_EXPORT(EnableTheming)};
  return table;
}

}  // namespace

FARPROC UxThemeExport(const char* Name) {
  if (!Name) return nullptr;
  auto it = Exports().find(Name);
  return it == Exports().end() ? nullptr : it->second;
}
