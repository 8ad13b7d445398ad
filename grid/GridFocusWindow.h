#pragma once
// The glow around the cell whose editor is open: a borderless top-most window that never
// takes the focus, shaped to a ring around the cell. Where the window system composites it is
// a translucent blurred glow; elsewhere an opaque ring of the glow colour. It follows the grid
// when the grid's window, or its form, moves.

#include <functional>
#include <memory>

#include "platform/ui/Controls.h"

class TWindowPosWatch;

// Window styles of the focus window.
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;

class TGridFocusWindow : public THintWindow {
public:
  // The glow's look: ring width, blur radius, corner, pen width, colour and opacity.
  static constexpr int GlowWidth = 4, GlowRadius = 3, GlowCorner = 5, GlowPen = 4;
  static constexpr TColor GlowColor = TColor(0x00FDD397);
  static constexpr uint8_t GlowOpacity = 230;

  explicit TGridFocusWindow(TComponent* AOwner);
  ~TGridFocusWindow() override;
  String ClassName() const override { return u"TGridFocusWindow"; }

  // Shows the glow around Cell (screen coordinates), without activating the window.
  void ShowAround(const TRect& Cell);
  // Hides the glow and stops following.
  void HideGlow();
  // While the glow shows, moves it to CellRect() (screen coordinates) whenever Control's
  // window or a window it sits in moves or is sized. Null stops following.
  void Follow(TWinControl* Control, std::function<TRect()> CellRect);
  // Whether the glow is translucent (the window system composites) or an opaque ring.
  bool Translucent() const { return FTranslucent; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  void Moved();
  bool FTranslucent = false;
  TRect FCell;
  std::unique_ptr<TWindowPosWatch> FWatch;
  std::function<TRect()> FCellRect;
};
