#pragma once
// A balloon tooltip window: a rounded box with a stem pointing at a spot, an optional icon
// and bold title over the text. The text wraps at MaxTipWidth (300 pixels unless set). With
// the delays it shows InitialDelay milliseconds after Popup and hides after AutoHideDelay
// (-1 takes the defaults: 500 and 5000; 0 shows at once and stays). It never takes the focus.

#include <functional>
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TTimer;

enum TBalloonTipIcon : uint8_t { btiNone, btiInfo, btiWarning, btiError };

class TBalloonTip : public THintWindow {
public:
  explicit TBalloonTip(TComponent* AOwner);
  ~TBalloonTip() override;
  String ClassName() const override { return u"TBalloonTip"; }

  String Title() const { return FTitle; }
  void SetTitle(const String& Value);
  String TipText() const { return FText; }
  void SetTipText(const String& Value);
  TBalloonTipIcon TipIcon() const { return FIcon; }
  void SetTipIcon(TBalloonTipIcon Value);
  // clNone: the hint colours of the system.
  TColor TipTextColor() const { return FTextColor; }
  void SetTipTextColor(TColor Value);
  TColor TipBkColor() const { return FBkColor; }
  void SetTipBkColor(TColor Value);
  int MaxTipWidth() const { return FMaxTipWidth; }
  void SetMaxTipWidth(int Value);
  int InitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(int Value) { FInitialDelay = Value; }
  int AutoHideDelay() const { return FAutoHideDelay; }
  void SetAutoHideDelay(int Value) { FAutoHideDelay = Value; }
  int ReshowDelay() const { return FReshowDelay; }
  void SetReshowDelay(int Value) { FReshowDelay = Value; }

  // The window's size for the current title, icon and text.
  TSize TipSize();
  // Shows the balloon with its stem tip at Spot (screen coordinates) after the initial
  // delay; Hide cancels a pending show.
  void Popup(TPoint Spot);
  void Hide();
  // The stem's tip of the balloon as shown last (screen coordinates).
  TPoint Spot() const { return FSpot; }

  // Makes the balloon the tooltip of Control (nullptr: of none). It watches the control's
  // mouse (the control's own handlers see nothing of it): when the mouse comes to a point
  // outside the area of the last answer, OnNeedTip(client point, Area) sets the texts and the
  // area they belong to (client coordinates) and answers whether to show; the balloon then
  // pops at the mouse after the initial delay. Moving out of that area, leaving the control,
  // a press, a key or the wheel hide it.
  void SetTool(TWinControl* Control);
  TWinControl* Tool() const;
  std::function<bool(TPoint ClientPos, TRect& Area)> OnNeedTip;

protected:
  void Paint() override;

private:
  void ShowNow();
  void Place();
  TRect TextRect(int Width);
  String FTitle, FText;
  TBalloonTipIcon FIcon = btiNone;
  TColor FTextColor = clNone, FBkColor = clNone;
  int FMaxTipWidth = 300;
  int FInitialDelay = -1, FAutoHideDelay = -1, FReshowDelay = -1;
  TPoint FSpot;
  std::unique_ptr<TTimer> FShowTimer, FHideTimer;
  class TToolWatch;
  std::unique_ptr<TToolWatch> FToolWatch;
};
