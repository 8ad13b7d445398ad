// The update lock and the paint messages of the string grid.
#include "grid/AdvGrid.h"
#include "platform/win/WinUser.h"

void DEreDuzeroVaro::BeginUpdate() {
  ++FUpdateCount;
  if (Visible() && HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void DEreDuzeroVaro::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount > 0 || IsDestroying() || !Visible() || !HandleAllocated()) return;
  SendMessage(Handle(), WM_SETREDRAW, 1, 0);
  InvalidateRect(Handle(), nullptr, false);
}

void DEreDuzeroVaro::WMPaint(TWMPaint& Message) {
  if (FUpdateCount >= 1) {
    Message.SetResult(0);
    return;
  }
  // The window paints into its own backing image, which is shown as a whole: painting is
  // always buffered, so the class library's painting runs for every paint message.
  TBaseGrid::WMPaint(Message);
  if (!TabStop() && FPaintCount == 0) FPaintCount = 1;
  // A move of the current row repaints the grid: the footer's preview follows it.
  FooterFollowRow();
}

void DEreDuzeroVaro::WMEraseBkgnd(TWMEraseBkgnd& Message) { Message.SetResult(0); }
