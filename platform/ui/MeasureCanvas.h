#pragma once
// A canvas to measure text on at any time: a control's canvas while it paints, else one on
// the screen's device for as long as the TMeasureCanvas lives.

#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"

class TMeasureCanvas {
public:
  explicit TMeasureCanvas(TCanvas* ControlCanvas) : FCanvas(ControlCanvas) {
    if (FCanvas->HandleAllocated()) return;
    FScreenDC = GetDC(nullptr);
    FScreen.SetHandle(FScreenDC);
    FCanvas = &FScreen;
  }
  ~TMeasureCanvas() {
    if (FScreenDC == nullptr) return;
    FScreen.SetHandle(nullptr);
    ReleaseDC(nullptr, FScreenDC);
  }
  TMeasureCanvas(const TMeasureCanvas&) = delete;
  TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;
  TCanvas* operator->() const { return FCanvas; }
  TCanvas* Canvas() const { return FCanvas; }

private:
  TCanvas* FCanvas;
  TCanvas FScreen;
  HDC FScreenDC = nullptr;
};
