// Balloon tooltips of the cells and the colour of the moving arrows.
#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "controls/VevAzez.h"
#include "platform/ui/BalloonTip.h"
#include "platform/win/Modules.h"

TColor DEreDuzeroVaro::ArrowColor() const { return FArrows[arrUp] != nullptr ? FArrows[arrUp]->Color() : clNone; }

void DEreDuzeroVaro::SetArrowColor(TColor Value) {
  for (TArrowWindow* a : FArrows)
    if (a != nullptr) {
      a->SetColor(Value);
      a->Invalidate();
    }
}

void DEreDuzeroVaro::BalloonInit() {
  TBalloonSettings* b = Balloon();
  if (!b->Initialized()) {
    b->SetInitialized(true);
    FHToolTip = new TBalloonTip(this);
    FLastBalloonPos = TPoint(-1, -1);
    // Delays left at -1 keep the balloon's own timing.
    if (b->InitialDelay() != -1) FHToolTip->SetInitialDelay(b->InitialDelay());
    if (b->ReshowDelay() != -1) FHToolTip->SetReshowDelay(b->ReshowDelay());
    if (b->AutoHideDelay() != -1) FHToolTip->SetAutoHideDelay(b->AutoHideDelay());
    if (b->Transparency() != 0)
      CallSetLayeredWindowAttributes(FHToolTip->Handle(), TColor(0), static_cast<uint8_t>(255 - b->Transparency()),
                                     LWA_ALPHA);
  }
  // The grid is the tool once it has a window (a grid set up before that registers when its
  // window is made): the balloon asks for the texts of the cell the mouse comes to.
  if (FHToolTip != nullptr && FHToolTip->Tool() == nullptr && HandleAllocated()) {
    FHToolTip->SetTool(this);
    FHToolTip->OnNeedTip = [this](TPoint P, TRect& Area) {
      if (!Balloon()->Enable()) return false;
      const TGridCoord c = MouseCoord(P.X, P.Y);
      FLastBalloonPos = TPoint(c.X, c.Y);
      String title, text;
      TBalloonIcon icon = biInfo;
      if (c.X < 0 || c.Y < 0 || !GetCellBalloon(c.X, c.Y, title, text, icon)) {
        Area = TRect(P.X, P.Y, P.X + 1, P.Y + 1);
        return false;
      }
      Area = CellRect(c.X, c.Y);
      FHToolTip->SetTitle(title);
      FHToolTip->SetTipText(text);
      static constexpr TBalloonTipIcon icons[] = {btiNone, btiInfo, btiWarning, btiError};
      FHToolTip->SetTipIcon(icon <= biError ? icons[icon] : btiNone);
      FHToolTip->SetMaxTipWidth(300);
      if (Balloon()->TextColor() != clNone) FHToolTip->SetTipTextColor(ColorToRGB(Balloon()->TextColor()));
      if (Balloon()->BackgroundColor() != clNone) FHToolTip->SetTipBkColor(ColorToRGB(Balloon()->BackgroundColor()));
      return !text.empty();  // a tooltip without text does not show
    };
  }
}

void DEreDuzeroVaro::BalloonDone() {
  // The window goes whenever there is one, also after Enable was switched off.
  delete FHToolTip;
  FHToolTip = nullptr;
  FLastBalloonPos = TPoint(-1, -1);
  Balloon()->SetInitialized(false);
}

void DEreDuzeroVaro::BalloonEnableChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (Balloon()->Enable()) BalloonInit();
  else BalloonDone();
}
