#pragma once
// Private to platform/: the application's hint window, which shows the hints of every control.

#include <QRect>
#include <QWidget>

#include "platform/ui/Controls.h"

// Shows the hint of Info in the application's hint window (made from the hint window class
// when there is none) with its top-left at Info.HintPos; it goes when the mouse leaves Area
// (Widget's coordinates), a button or key is pressed there, or after Info.HideTimeout ms.
void ShowApplicationHint(const THintInfo& Info, QWidget* Widget, const QRect& Area);
// Hides the hint showing, if any.
void HideApplicationHint();
