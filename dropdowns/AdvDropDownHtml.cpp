// One line of mini-HTML for the drop-downs' captions.

#include "controls/HtmlText.h"
#include "dropdowns/AdvDropDown.h"

void DrawHTMLCaption(TCanvas* Canvas, const String& Text, TRect Rect, TCustomImageList* Images, bool Paint,
                     HWND WindowHandle, TSize& Size) {
  if (Canvas == nullptr || Text.empty()) return;
  String anchor, stripped, focusAnchor, title, controlId, controlValue, controlType;
  int xsize = 0, ysize = 0, hyperlinks = 0, mouseLink = 0;
  TRect hoverRect, controlRect;
  DrawHtmlText(Canvas, Text, Rect, Images, 0, 0, -1, 0, 1, false, !Paint, false, true, true, false, false, false, 1.0,
               clBlue, clNone, clNone, clGray, anchor, stripped, focusAnchor, title, xsize, ysize, hyperlinks,
               mouseLink, hoverRect, controlRect, controlId, controlValue, controlType, nullptr, nullptr,
               WindowHandle, 0);
  Size = TSize{xsize, ysize};
}
