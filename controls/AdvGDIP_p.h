#pragma once
// Private to the AdvGDIP unit: the native objects behind wrapper arguments.

#include "controls/AdvGDIP.h"

struct TGPNative {
  // The native object of a wrapper argument; null for no wrapper.
  static GpGraphics* Of(const TGPGraphics* W) { return W ? W->nativeGraphics : nullptr; }
  static GpPen* Of(const TGPPen* W) { return W ? W->nativePen : nullptr; }
  static GpBrush* Of(const TGPBrush* W) { return W ? W->nativeBrush : nullptr; }
  static GpPath* Of(const TGPGraphicsPath* W) { return W ? W->nativePath : nullptr; }
  static GpRegion* Of(const TGPRegion* W) { return W ? W->nativeRegion : nullptr; }
  static GpFont* Of(const TGPFont* W) { return W ? W->nativeFont : nullptr; }
  static GpFontFamily* Of(const TGPFontFamily* W) { return W ? W->nativeFamily : nullptr; }
  static GpFontCollection* Of(const TGPFontCollection* W) { return W ? W->nativeFontCollection : nullptr; }
  static GpStringFormat* Of(const TGPStringFormat* W) { return W ? W->nativeFormat : nullptr; }
  static GpImage* Of(const TGPImage* W) { return W ? W->nativeImage : nullptr; }
  static GpImageAttributes* Of(const TGPImageAttributes* W) { return W ? W->nativeImageAttr : nullptr; }
  static GpMatrix* Of(const TGPMatrix* W) { return W ? W->nativeMatrix : nullptr; }
  // The brush field of an empty wrapper, for a call that hands out a new native brush.
  static GpBrush** BrushSlot(TGPBrush* W) { return &W->nativeBrush; }
  // A family's status as it stands, without reading it.
  static Status LastOf(const TGPFontFamily* W) { return W->lastResult.Value(); }
};

// The native object as the kind a flat call takes; null when it is of another kind.
template <typename Kind, typename Native>
Kind* As(Native* N) {
  return dynamic_cast<Kind*>(N);
}

// A length of characters of Text, cut to the text's own length: GDI+ reads as many as it is told.
int32_t WithinText(const String& Text, int32_t Length);
