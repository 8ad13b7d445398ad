#pragma once
// Where a styled control's attached caption label goes. The styled combo box, date-time picker
// and edit each have a label position type with these values in this order (the edit adds the
// last two); they pass its ordinal.

#include <cstdint>

#include "platform/rtl/Types.h"

// Ordinals of the positions: lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft,
// lpLeftTopLeft, lpLeftCenterLeft, lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop,
// lpRightCenter, lpRighBottom, lpTopRight, lpBottomRight.
//
// The label's top-left for a control at Bounds (in the parent), a label of LabelWidth by
// LabelHeight whose text is TextWidth wide, and Margin pixels between them. Labels on the left
// end Margin pixels before the control; centring halves round toward zero. An unknown position
// leaves the label at Current.
TPoint AttachedLabelPos(uint8_t Position, const TRect& Bounds, int LabelWidth, int LabelHeight, int TextWidth,
                        int Margin, TPoint Current);
