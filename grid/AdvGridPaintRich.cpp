// Rich text cells painted on any canvas through the grid's rich edit.

#include <algorithm>
#include <cmath>

// The class library's progress bar orientation has two enumerator names of the grid's print
// borders; beside the grid the library's pair is renamed.
#define pbHorizontal pbBarHorizontal
#define pbVertical pbBarVertical
#include "platform/ui/RichEdit.h"
#undef pbHorizontal
#undef pbVertical

#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesRich.h"
#include "platform/win/Gdi.h"

// ===========================================================================
// Rich text cells

void DEreDuzeroVaro::DrawRichCell(int ACol, int ARow, TRect R, TCanvas* ACanvas) {
  if (ComponentState().Contains(csDesigning)) return;
  TCustomRichEdit* re = AsRichEdit(RichEdit());
  CellToRich(ACol, ARow, re);
  HDC dc = ACanvas->Handle();
  const bool screen = ACanvas == Canvas();  // paper keeps the rich text's own colours
  if (screen && !SelectionRTFKeep() && SelectionTextColor() != clNone) {
    const TGridRect sel = Selection();
    const int dc_ = DisplColIndex(ACol);
    const bool inSel = dc_ >= std::min(sel.Left, sel.Right) && dc_ <= std::max(sel.Left, sel.Right) &&
                       ARow >= std::min(sel.Top, sel.Bottom) && ARow <= std::max(sel.Top, sel.Bottom);
    const bool focusedCurrent = dc_ == Col() && ARow == Row() && Focused() && !Options().Contains(goDrawFocusSelected);
    const bool rowMarked = ARow >= 0 && ARow < static_cast<int>(FRowSelect.size()) && FRowSelect[ARow];
    const bool colMarked = ACol >= 0 && ACol < static_cast<int>(FColSelect.size()) && FColSelect[ACol];
    if ((inSel && !focusedCurrent && !FMouseActions->DisjunctRowSelect()) ||
        (FMouseActions->DisjunctRowSelect() && rowMarked) || (FMouseActions->DisjunctColSelect() && colMarked)) {
      re->SetSelStart(0);
      re->SetSelLength(65535);
      re->SelAttributes()->SetColor(SelectionTextColor());
    }
  }
  const int resX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX)), resY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
  const int offX = FXYOffset.X * resX / 96, offY = FXYOffset.Y * resY / 96;
  auto twips = [](int Pixels, int Res) { return static_cast<LONG>(std::lround(Pixels * 1440.0 / Res)); };
  FORMATRANGE fr;
  fr.hdc = dc;
  fr.hdcTarget = dc;
  fr.rc.Left = twips(R.Left + offX, resX);
  fr.rc.Top = twips(R.Top + offY, resY);
  fr.rc.Right = fr.rc.Left + twips(R.Width() - 2 * offX, resX);
  fr.rc.Bottom = fr.rc.Top + twips(R.Height() - 2 * offY, resY);
  fr.rcPage = fr.rc;
  fr.chrg.cpMin = 0;
  fr.chrg.cpMax = -1;
  re->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr));
  re->Perform(EM_FORMATRANGE, 0, 0);
}
