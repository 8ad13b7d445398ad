#include "controls/LabelPlacement.h"

TPoint AttachedLabelPos(uint8_t Position, const TRect& Bounds, int LabelWidth, int LabelHeight, int TextWidth,
                        int Margin, TPoint Current) {
  const int T = Bounds.Top, L = Bounds.Left, W = Bounds.Width(), H = Bounds.Height();
  const int centred = T + (H - LabelHeight) / 2;
  const int middle = L + (W - LabelWidth) / 2;
  switch (Position) {
    case 0: return TPoint(L - TextWidth - Margin, T);                 // left, top
    case 1: return TPoint(L - TextWidth - Margin, centred);           // left, centre
    case 2: return TPoint(L - TextWidth - Margin, T + H - LabelHeight);  // left, bottom
    case 3: return TPoint(L, T - LabelHeight - Margin);               // top, left
    case 4: return TPoint(L, T + H + Margin);                         // bottom, left
    case 5: return TPoint(L - Margin, T);                             // left edge, top
    case 6: return TPoint(L - Margin, centred);                       // left edge, centre
    case 7: return TPoint(L - Margin, T + H - LabelHeight);           // left edge, bottom
    case 8: return TPoint(middle, T - LabelHeight - Margin);          // top, centre
    case 9: return TPoint(middle, T + H + Margin);                    // bottom, centre
    case 10: return TPoint(L + W + Margin, T);                        // right, top
    case 11: return TPoint(L + W + Margin, centred);                  // right, centre
    case 12: return TPoint(L + W + Margin, T + H - LabelHeight);      // right, bottom
    case 13: return TPoint(L + W - LabelWidth, T - LabelHeight - Margin);  // top, right
    case 14: return TPoint(L + W - LabelWidth, T + H + Margin);       // bottom, right
    default: return Current;
  }
}
