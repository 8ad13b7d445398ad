#pragma once
// The small arrows that mark where a dragged column or row will go: borderless top-level
// windows shaped as an arrow and filled in lime.

#include <array>

#include "platform/ui/Controls.h"

enum TArrowDirection : uint8_t { arrUp, arrDown, arrLeft, arrRight };

class TArrowWindow : public THintWindow {
public:
  // A hidden arrow of Direction with AOwner (a windowed control) as owner and parent.
  TArrowWindow(TComponent* AOwner, TArrowDirection Direction);
  ~TArrowWindow() override;
  String ClassName() const override { return u"TArrowWindow"; }

  TArrowDirection Dir() const { return FDir; }
  // The window's outline (window coordinates).
  const std::array<TPoint, 7>& Arrow() const { return FArrow; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;

private:
  TArrowDirection FDir;
  std::array<TPoint, 7> FArrow;
};
