// Image attributes: per-pixel colour adjustments, which Qt has no counterpart for.
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"

namespace {

bool ValidType(ColorAdjustType t) { return t >= ColorAdjustTypeDefault && t < ColorAdjustTypeCount; }

// Runs a setter on one adjust type's settings and marks the type as set.
template <typename F>
GpStatus Adjust(GpImageAttributes* attr, ColorAdjustType type, F&& change) {
  if (!attr || !ValidType(type)) return InvalidParameter;
  TColorAdjust& a = attr->adjust[type];
  const GpStatus s = change(a);
  if (s == Ok) a.set = true;
  return s;
}

int Channel(ARGB c, int shift) { return int((c >> shift) & 0xFF); }

bool InKeyRange(ARGB c, ARGB low, ARGB high) {
  for (int shift : {16, 8, 0})
    if (Channel(c, shift) < Channel(low, shift) || Channel(c, shift) > Channel(high, shift)) return false;
  return true;
}

}  // namespace

ARGB TColorAdjust::Apply(ARGB c) const {
  if (keys && InKeyRange(c, keyLow, keyHigh)) return 0;
  for (const ColorMap& m : remap)
    if (m.oldColor == c) {
      c = m.newColor;
      break;
    }
  double v[4] = {Channel(c, 16) / 255.0, Channel(c, 8) / 255.0, Channel(c, 0) / 255.0, Channel(c, 24) / 255.0};
  const bool gray = v[0] == v[1] && v[1] == v[2];
  if (matrix && !(gray && matrixFlags == ColorMatrixFlagsSkipGrays)) {
    double out[4];
    for (int j = 0; j < 4; ++j) {
      out[j] = colorMatrix.m[4][j];
      for (int i = 0; i < 4; ++i) out[j] += v[i] * colorMatrix.m[i][j];
    }
    std::copy(out, out + 4, v);
  }
  for (int i = 0; i < 4; ++i) v[i] = std::clamp(v[i], 0.0, 1.0);
  if (gamma)
    for (int i = 0; i < 3; ++i) v[i] = std::pow(v[i], double(gammaValue));
  if (threshold)
    for (int i = 0; i < 3; ++i) v[i] = v[i] > thresholdValue ? 1 : 0;
  auto byte = [](double x) { return ARGB(std::lround(x * 255)); };
  return byte(v[3]) << 24 | byte(v[0]) << 16 | byte(v[1]) << 8 | byte(v[2]);
}

GpStatus GdipCreateImageAttributes(GpImageAttributes** imageattr) {
  if (!imageattr) return InvalidParameter;
  *imageattr = new GpImageAttributes;
  return Ok;
}

GpStatus GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr) {
  if (!imageattr || !cloneImageattr) return InvalidParameter;
  *cloneImageattr = new GpImageAttributes(*imageattr);
  return Ok;
}

GpStatus GdipDisposeImageAttributes(GpImageAttributes* imageattr) {
  if (!imageattr) return InvalidParameter;
  delete imageattr;
  return Ok;
}

GpStatus GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type) {
  return Adjust(imageattr, type, [](TColorAdjust& a) {
    a.matrix = false;
    return Ok;
  });
}

GpStatus GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type) {
  if (!imageattr || !ValidType(type)) return InvalidParameter;
  imageattr->adjust[type] = TColorAdjust();
  return Ok;
}

GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                           const ColorMatrix* colorMatrix, const ColorMatrix*,
                                           ColorMatrixFlags flags) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    if (enableFlag && (!colorMatrix || flags < ColorMatrixFlagsDefault || flags > ColorMatrixFlagsAltGray))
      return InvalidParameter;
    a.matrix = enableFlag != 0;
    if (a.matrix) {
      a.colorMatrix = *colorMatrix;
      a.matrixFlags = flags;
    }
    return Ok;
  });
}

GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         REAL threshold) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    a.threshold = enableFlag != 0;
    a.thresholdValue = threshold;
    return Ok;
  });
}

GpStatus GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                     REAL gamma) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    if (enableFlag && !(gamma > 0)) return InvalidParameter;
    a.gamma = enableFlag != 0;
    a.gammaValue = gamma;
    return Ok;
  });
}

GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    a.noOp = enableFlag != 0;
    return Ok;
  });
}

GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         ARGB colorLow, ARGB colorHigh) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    a.keys = enableFlag != 0;
    a.keyLow = colorLow;
    a.keyHigh = colorHigh;
    return Ok;
  });
}

GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL,
                                             ColorChannelFlags) {
  if (!imageattr || !ValidType(type)) return InvalidParameter;
  return NotImplemented;
}

GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type, BOOL,
                                                         const WCHAR*) {
  if (!imageattr || !ValidType(type)) return InvalidParameter;
  return NotImplemented;
}

GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                          UINT mapSize, const ColorMap* map) {
  return Adjust(imageattr, type, [&](TColorAdjust& a) {
    if (enableFlag && (!map || mapSize == 0)) return InvalidParameter;
    a.remap.clear();
    if (enableFlag) a.remap.assign(map, map + mapSize);
    return Ok;
  });
}

GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, GpWrapMode wrap, ARGB argb, BOOL) {
  if (!imageAttr || wrap < WrapModeTile || wrap > WrapModeClamp) return InvalidParameter;
  imageAttr->wrap = wrap;
  imageAttr->wrapColor = argb;
  return Ok;
}

GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                               ColorAdjustType colorAdjustType) {
  if (!imageAttr || !colorPalette || !ValidType(colorAdjustType) || colorPalette->Count == 0)
    return InvalidParameter;
  const TColorAdjust& a = imageAttr->adjust[colorAdjustType].set ? imageAttr->adjust[colorAdjustType]
                                                                 : imageAttr->adjust[ColorAdjustTypeDefault];
  if (a.noOp) return Ok;
  for (UINT i = 0; i < colorPalette->Count; ++i) colorPalette->Entries[i] = a.Apply(colorPalette->Entries[i]);
  return Ok;
}
