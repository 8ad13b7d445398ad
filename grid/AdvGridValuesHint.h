#pragma once
// The hint window that shows tagged (mini-HTML) hint text: the grid's UseHTMLHints makes it
// the application's hint window class. Packed wide text ("|\" form) shows as one line in the
// font named by HintFontName.

#include "platform/ui/Controls.h"

class THTMLHintWindow : public THintWindow {
public:
  explicit THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  String ClassName() const override { return u"THTMLHintWindow"; }
  // Sizes the window to the text (measured up to 1008 pixels wide) and keeps it 2 pixels
  // inside the right and bottom edges of the monitor nearest to its top-left corner.
  void ActivateHint(const TRect& Rect, const String& AHint) override;
  // (0, 0, width, height) of the text measured MaxWidth wide, without margins.
  TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
  int TextWidth() const { return FTextWidth; }
  int TextHeight() const { return FTextHeight; }

protected:
  // No frame; the window class gets the drop shadow.
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;

private:
  // Measures AHint in a rectangle MaxWidth wide into FTextWidth and FTextHeight; answers the
  // horizontal margin its kind takes (8 for packed wide text, else 16).
  int Measure(const String& AHint, int MaxWidth);
  int FTextWidth = 0, FTextHeight = 0;
  String FWideCaption;
};
