// The common controls' flat scroll bar interface over the window's own scroll bars: a window's
// flat state (styles, background colours, thickness) lives beside its widget and restyles the
// bars the class library marked as the window's own through a style sheet.
#include <QColor>
#include <QPointer>
#include <QVariant>
#include <cstring>
#include <unordered_map>

#include "platform/win/FlatSB_p.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser_p.h"

namespace {

constexpr const char* BarProperty = "rcvWindowScrollBar";  // SB_HORZ + 1 or SB_VERT + 1
constexpr const char* PageProperty = "rcvScrollPage";
constexpr int NoColor = -1;

struct TFlatState {
  int VStyle = FSB_REGULAR_MODE, HStyle = FSB_REGULAR_MODE;
  int VBkg = NoColor, HBkg = NoColor;
  int CxVScroll = 0, CyHScroll = 0;  // 0: the system's thickness
};

// Windows whose flat scroll bars are initialised; an entry goes with its widget.
std::unordered_map<const QWidget*, TFlatState>& States() {
  static std::unordered_map<const QWidget*, TFlatState> states;
  return states;
}

TFlatState* StateOf(HWND wnd) {
  if (!IsWindow(wnd)) return nullptr;
  auto it = States().find(WindowWidget(wnd));
  return it == States().end() ? nullptr : &it->second;
}

QString ColorName(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)).name(); }

// The style sheet of one bar: empty (the platform's own look) for a window without flat scroll
// bars or in regular mode without a colour; otherwise a raised 3-D (regular), flat framed (flat)
// or frameless, hover-lit (Encarta) thumb and arrow buttons over the background colour.
QString SheetFor(const TFlatState* s, bool vertical) {
  if (!s) return {};
  int style = vertical ? s->VStyle : s->HStyle;
  int bkg = vertical ? s->VBkg : s->HBkg;
  if (style == FSB_REGULAR_MODE && bkg == NoColor) return {};
  QString face = ColorName(GetSysColor(COLOR_BTNFACE));
  QString shadow = ColorName(GetSysColor(COLOR_BTNSHADOW));
  QString back = bkg == NoColor ? ColorName(GetSysColor(COLOR_SCROLLBAR)) : ColorName(static_cast<COLORREF>(bkg));
  QString frame = style == FSB_REGULAR_MODE ? QStringLiteral("2px outset %1").arg(face)
                  : style == FSB_FLAT_MODE  ? QStringLiteral("1px solid %1").arg(shadow)
                                            : QStringLiteral("none");
  int thick = vertical ? s->CxVScroll : s->CyHScroll;
  if (thick <= 0) thick = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
  const char* o = vertical ? "vertical" : "horizontal";
  QString sheet;
  // The arrow buttons sit in the bar's margins at both ends.
  QString margin = vertical ? QStringLiteral("%1px 0 %1px 0").arg(thick) : QStringLiteral("0 %1px 0 %1px").arg(thick);
  sheet += QStringLiteral("QScrollBar:%1 { background: %2; border: none; %3: %4px; margin: %5; }")
               .arg(o, back, vertical ? "width" : "height", QString::number(thick), margin);
  sheet += QStringLiteral("QScrollBar::handle:%1 { background: %2; border: %3; min-%4: 8px; }")
               .arg(o, face, frame, vertical ? "height" : "width");
  for (const char* part : {"add-line", "sub-line"}) {
    bool add = part[0] == 'a';
    sheet += QStringLiteral("QScrollBar::%1:%2 { background: %3; border: %4; %5: %6px; subcontrol-origin: margin; "
                            "subcontrol-position: %7; }")
                 .arg(part, o, face, frame, vertical ? "height" : "width")
                 .arg(thick)
                 .arg(vertical ? (add ? "bottom" : "top") : (add ? "right" : "left"));
  }
  if (style == FSB_ENCARTA_MODE)
    sheet += QStringLiteral("QScrollBar::handle:%1:hover, QScrollBar::add-line:%1:hover, QScrollBar::sub-line:%1:hover "
                            "{ background: %2; }")
                 .arg(o, ColorName(GetSysColor(COLOR_BTNHIGHLIGHT)));
  sheet += QStringLiteral("QScrollBar::add-page:%1, QScrollBar::sub-page:%1 { background: none; }").arg(o);
  return sheet;
}

void Restyle(QScrollBar* bar, const TFlatState* s) {
  QString sheet = SheetFor(s, bar->orientation() == Qt::Vertical);
  if (bar->styleSheet() != sheet) bar->setStyleSheet(sheet);
}

// The window's own bars of kind Bar (SB_HORZ, SB_VERT or SB_BOTH).
QList<QScrollBar*> WindowBars(HWND wnd, int Bar) {
  QList<QScrollBar*> out;
  QWidget* w = IsWindow(wnd) ? WindowWidget(wnd) : nullptr;
  if (!w) return out;
  for (QScrollBar* b : w->findChildren<QScrollBar*>()) {
    int mark = b->property(BarProperty).toInt() - 1;
    if (mark < 0 || WindowOfWidget(b->parentWidget()) != wnd) continue;
    if (Bar == SB_BOTH || mark == Bar) out.push_back(b);
  }
  return out;
}

void RestyleWindow(HWND wnd) {
  const TFlatState* s = StateOf(wnd);
  for (QScrollBar* b : WindowBars(wnd, SB_BOTH)) Restyle(b, s);
}

BOOL InitializeFlatSB(HWND hWnd) {
  if (!IsWindow(hWnd)) return FALSE;
  QWidget* w = WindowWidget(hWnd);
  if (!w) return FALSE;
  if (States().emplace(w, TFlatState{}).second)
    QObject::connect(w, &QObject::destroyed, [w] { States().erase(w); });
  RestyleWindow(hWnd);
  return TRUE;
}

int32_t UninitializeFlatSB(HWND hWnd) {
  if (!StateOf(hWnd)) return 0;
  States().erase(WindowWidget(hWnd));
  RestyleWindow(hWnd);
  return 0;
}

BOOL FlatSBSetScrollProp(HWND hWnd, UINT Index, intptr_t NewValue, BOOL) {
  TFlatState* s = StateOf(hWnd);
  if (!s) return FALSE;
  int v = static_cast<int>(NewValue);
  switch (Index) {
    case WSB_PROP_VSTYLE: s->VStyle = v; break;
    case WSB_PROP_HSTYLE: s->HStyle = v; break;
    case WSB_PROP_VBKGCOLOR: s->VBkg = v; break;
    case WSB_PROP_HBKGCOLOR: s->HBkg = v; break;
    case WSB_PROP_CXVSCROLL: s->CxVScroll = v; break;
    case WSB_PROP_CYHSCROLL: s->CyHScroll = v; break;
    case WSB_PROP_CYVSCROLL: case WSB_PROP_CXHSCROLL: case WSB_PROP_CXHTHUMB: case WSB_PROP_CYVTHUMB: return TRUE;
    default: return FALSE;
  }
  RestyleWindow(hWnd);
  return TRUE;
}

BOOL FlatSBShowScrollBar(HWND hWnd, int Bar, BOOL Show) {
  if (!StateOf(hWnd)) return FALSE;
  for (QScrollBar* b : WindowBars(hWnd, Bar)) b->setVisible(Show != FALSE);
  return TRUE;
}

int FlatSBSetScrollInfo(HWND hWnd, int Bar, const SCROLLINFO* Info, BOOL Redraw) {
  return SetScrollInfo(hWnd, Bar, Info, Redraw);
}

}  // namespace

void SetWindowScrollBar(HWND wnd, QScrollBar* bar, int Bar) {
  if (!bar) return;
  if (bar->property(BarProperty).toInt() != Bar + 1) bar->setProperty(BarProperty, Bar + 1);
  Restyle(bar, StateOf(wnd));
}

BOOL GetScrollInfo(HWND hWnd, int Bar, SCROLLINFO* Info) {
  if (!Info) return FALSE;
  QList<QScrollBar*> bars = WindowBars(hWnd, Bar);
  if (bars.isEmpty() || Bar == SB_BOTH) return FALSE;
  QScrollBar* b = bars.front();
  int page = b->property(PageProperty).toInt();
  if (Info->fMask & SIF_RANGE) {
    Info->nMin = b->minimum();
    Info->nMax = b->maximum() + (page > 0 ? page - 1 : 0);
  }
  if (Info->fMask & SIF_PAGE) Info->nPage = static_cast<UINT>(page);
  if (Info->fMask & SIF_POS) Info->nPos = b->value();
  if (Info->fMask & SIF_TRACKPOS) Info->nTrackPos = b->sliderPosition();
  return TRUE;
}

int SetScrollInfo(HWND hWnd, int Bar, const SCROLLINFO* Info, BOOL) {
  QList<QScrollBar*> bars = WindowBars(hWnd, Bar);
  if (!Info || bars.isEmpty() || Bar == SB_BOTH) return 0;
  QScrollBar* b = bars.front();
  QSignalBlocker quiet(b);
  int page = b->property(PageProperty).toInt();
  if (Info->fMask & SIF_PAGE) {
    page = static_cast<int>(Info->nPage);
    b->setProperty(PageProperty, page);
    if (page > 0) b->setPageStep(page);
  }
  if (Info->fMask & SIF_RANGE) b->setRange(Info->nMin, std::max(Info->nMin, Info->nMax - (page > 0 ? page - 1 : 0)));
  if (Info->fMask & SIF_POS) b->setValue(Info->nPos);
  return b->value();
}

int WindowScrollBarSize(HWND hWnd) {
  const TFlatState* s = StateOf(hWnd);
  return s && s->CxVScroll > 0 ? s->CxVScroll : GetSystemMetrics(SM_CXVSCROLL);
}

FARPROC FlatSBExport(const char* proc) {
  struct {
    const char* name;
    FARPROC fn;
  } const exports[] = {
      {"InitializeFlatSB", ToFarProc(&InitializeFlatSB)},
      {"UninitializeFlatSB", ToFarProc(&UninitializeFlatSB)},
      {"FlatSB_SetScrollProp", ToFarProc(&FlatSBSetScrollProp)},
      {"FlatSB_ShowScrollBar", ToFarProc(&FlatSBShowScrollBar)},
      {"FlatSB_SetScrollInfo", ToFarProc(&FlatSBSetScrollInfo)},
  };
  for (const auto& e : exports)
    if (std::strcmp(proc, e.name) == 0) return e.fn;
  return nullptr;
}
