#pragma once
// Private to platform/: the images behind the picture classes, for the clipboard, the chart,
// the printer and the JPEG codec.

#include <QImage>

#include "platform/ui/Graphics.h"
#include "platform/win/Gdi_p.h"

struct TBitmapAccess {
  // The bitmap's pixels (RGB32). Call Changed-worthy edits through SetImage.
  static const QImage& Image(const TBitmap* B) { return B->FImage->image; }
  static HBITMAP Handle(TBitmap* B);
  static void SetImage(TBitmap* B, const QImage& Image);
  static QImage IconImage(const TIcon* I) { return I->FHandle ? I->FHandle->image : QImage(); }
  static void SetIconImage(TIcon* I, const QImage& Image);
};

// Any graphic rendered to an ARGB32 image of its size (transparent where it is transparent).
QImage GraphicToImage(TGraphic* G);
