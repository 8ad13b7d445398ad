// The string grid's properties whose setters do more than store, and its use of the common
// controls' flat scroll bars for the flat and Encarta scroll types.
#include <algorithm>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Modules.h"

// ===========================================================================
// Look and display

void DEreDuzeroVaro::SetShowDesignHelper(bool Value) {
  if (FShowDesignHelper == Value) return;
  FShowDesignHelper = Value;
  Invalidate();
}

// The active cell's headers change with any of these, so they repaint even when unchanged.
void DEreDuzeroVaro::SetActiveCellShow(bool Value) {
  FActiveCellShow = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetActiveCellColor(TColor Value) {
  FActiveCellColor = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetActiveCellColorTo(TColor Value) {
  FActiveCellColorTo = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetHighlightColor(TColor Value) {
  if (FHighlightColor == Value) return;
  FHighlightColor = Value;
  SetHtmlHighlightColors(FHighlightColor, FHighlightTextColor);
  Invalidate();
}

void DEreDuzeroVaro::SetHighlightTextColor(TColor Value) {
  if (FHighlightTextColor == Value) return;
  FHighlightTextColor = Value;
  SetHtmlHighlightColors(FHighlightColor, FHighlightTextColor);
  Invalidate();
}

void DEreDuzeroVaro::SetRowIndicator(TBitmap* Value) {
  FRowIndicator->Assign(Value);
  RepaintCell(0, Row());
}

void DEreDuzeroVaro::SetSelection(const TGridRect& Value) {
  TCustomGrid::SetSelection(Value);
  if (!FActiveCellShow) return;
  // The header row and column mark the active cell: repaint their part in view.
  RepaintRow(0);
  int fixed = TCustomGrid::FixedRows();
  for (int r = 0; r < RowCount(); ++r) {
    if (r >= fixed && r < TopRow()) r = TopRow();
    if (r >= fixed && r > TopRow() + VisibleRowCount()) break;
    RepaintCell(0, r);
  }
}

void DEreDuzeroVaro::SetXYOffset(TPoint Value) {
  FXYOffset = Value;
  Invalidate();
}

void DEreDuzeroVaro::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  // The look border is part of the grid's painting.
  if (HandleAllocated()) Invalidate();
}

// ===========================================================================
// Scroll bar styles

void DEreDuzeroVaro::SetScrollType(TScrollType Value) {
  if (FScrollType != Value) {
    FScrollType = Value;
    if (Value == ssFlat || Value == ssEncarta) {
      InitFlatScrollBars();
      ApplyFlatScrollBars();
    } else {
      DoneFlatScrollBars();
    }
    // The metro look scrolls with the thin bars.
    SetThinScrollBars(Value == ssMetro);
  }
  ApplyFlatScrollStyle();
}

void DEreDuzeroVaro::SetScrollColor(TColor Value) {
  FScrollColor = Value;
  ApplyFlatScrollColor();
}

void DEreDuzeroVaro::SetScrollWidth(int Value) {
  FScrollWidth = Value;
  ApplyFlatScrollWidth();
}

void DEreDuzeroVaro::SetScrollProportional(bool Value) {
  FScrollProportional = Value;
  ScrollBarsRestyled();
  if (Value || !FIsFlat || FScrollType != ssNormal) return;
  DoneFlatScrollBars();
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_PAGE;
  si.nPage = 0;
  SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

template <typename F, typename... A>
bool DEreDuzeroVaro::CallFlatSB(const char* Name, A... Args) {
  // The functions are taken from the common controls each time, as that module is loaded.
  HMODULE comctl = LoadLibrary(u"comctl32.dll");
  if (!comctl) return false;
  auto fn = reinterpret_cast<F>(GetProcAddress(comctl, Name));
  if (fn) fn(Args...);
  FreeLibrary(comctl);
  return fn != nullptr;
}

void DEreDuzeroVaro::InitFlatScrollBars() {
  // The bars belong to the grid's window; before it exists there is nothing to restyle.
  if (!HandleAllocated()) {
    FIsFlat = false;
    return;
  }
  FIsFlat = CallFlatSB<INITIALIZEFLATSBPROC>("InitializeFlatSB", Handle());
}

void DEreDuzeroVaro::DoneFlatScrollBars() {
  FIsFlat = false;
  if (HandleAllocated()) CallFlatSB<UNINITIALIZEFLATSBPROC>("UninitializeFlatSB", Handle());
  // The bars take the system's thickness again.
  if (HandleAllocated()) ScrollBarsRestyled();
}

void DEreDuzeroVaro::FlatSetScrollProp(int Index, int Value, bool Redraw) {
  if (!FIsFlat) return;
  CallFlatSB<FLATSBSETSCROLLPROPPROC>("FlatSB_SetScrollProp", Handle(), static_cast<UINT>(Index),
                                      static_cast<intptr_t>(Value), static_cast<BOOL>(Redraw));
}

namespace {
// Whether a ScrollBars setting has the horizontal (Bar 0) or the vertical (Bar 1) bar.
bool HasBar(TScrollStyle Bars, int Bar) {
  return Bars == ssBoth || (Bar == SB_HORZ ? Bars == ssHorizontal : Bars == ssVertical);
}
}  // namespace

void DEreDuzeroVaro::FlatShowScrollBar(int Bar, bool Show) {
  if (!FIsFlat || !HasBar(FScrollBars, Bar)) return;
  CallFlatSB<FLATSBSHOWSCROLLBARPROC>("FlatSB_ShowScrollBar", Handle(), Bar, static_cast<BOOL>(Show));
}

void DEreDuzeroVaro::FlatSetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw) {
  if (!HandleAllocated()) return;
  CallFlatSB<FLATSBSETSCROLLINFOPROC>("FlatSB_SetScrollInfo", Handle(), Bar, &Info, static_cast<BOOL>(Redraw));
}

void DEreDuzeroVaro::UpdateFlatVertScroll() {
  if (!FIsFlat || !HasBar(FScrollBars, SB_VERT)) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  if (GetScrollInfo(Handle(), SB_VERT, &si)) FlatSetScrollInfo(SB_VERT, si, true);
}

void DEreDuzeroVaro::UpdateFlatHorzScroll() {
  if (!FIsFlat || !HasBar(FScrollBars, SB_HORZ)) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  if (GetScrollInfo(Handle(), SB_HORZ, &si)) FlatSetScrollInfo(SB_HORZ, si, true);
}

void DEreDuzeroVaro::ApplyFlatScrollStyle() {
  int mode;
  switch (FScrollType) {
    case ssNormal: mode = FSB_REGULAR_MODE; break;
    case ssFlat: mode = FSB_FLAT_MODE; break;
    case ssEncarta: mode = FSB_ENCARTA_MODE; break;
    default: return;  // the metro type draws its own controls
  }
  FlatSetScrollProp(WSB_PROP_VSTYLE, mode, true);
  FlatSetScrollProp(WSB_PROP_HSTYLE, mode, true);
}

void DEreDuzeroVaro::ApplyFlatScrollColor() {
  if (FScrollColor == clNone) return;
  FlatSetScrollProp(WSB_PROP_VBKGCOLOR, ColorToRGB(FScrollColor), true);
  FlatSetScrollProp(WSB_PROP_HBKGCOLOR, ColorToRGB(FScrollColor), true);
}

void DEreDuzeroVaro::ApplyFlatScrollWidth() {
  FlatSetScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth, true);
  FlatSetScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth, true);
  // The cells give the bars their new thickness.
  if (FIsFlat) ScrollBarsRestyled();
}

void DEreDuzeroVaro::ApplyFlatScrollBars() {
  ApplyFlatScrollStyle();
  ApplyFlatScrollColor();
  ApplyFlatScrollWidth();
  if (VisibleRowCount() + TCustomGrid::FixedRows() < RowCount()) {
    FlatShowScrollBar(SB_VERT, true);
    UpdateFlatVertScroll();
  } else {
    FlatShowScrollBar(SB_VERT, false);
  }
  if (VisibleColCount() + FixedCols() < ColCount()) {
    FlatShowScrollBar(SB_HORZ, true);
    UpdateFlatHorzScroll();
  } else {
    FlatShowScrollBar(SB_HORZ, false);
  }
}
