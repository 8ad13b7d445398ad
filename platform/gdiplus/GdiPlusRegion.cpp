// Regions: areas combined with GDI+'s six combine modes.
#include "platform/gdiplus/GdiPlus_p.h"

QPainterPath InfiniteArea() {
  // GDI+'s infinite region spans -2^22 .. 2^22 on both axes.
  QPainterPath all;
  all.addRect(QRectF(-4194304, -4194304, 8388608, 8388608));
  return all;
}

bool CombineArea(QPainterPath& area, const QPainterPath& shape, CombineMode mode) {
  switch (mode) {
    case CombineModeReplace: area = shape; break;
    case CombineModeIntersect: area = area.intersected(shape); break;
    case CombineModeUnion: area = area.united(shape); break;
    case CombineModeXor: area = area.united(shape).subtracted(area.intersected(shape)); break;
    case CombineModeExclude: area = area.subtracted(shape); break;
    case CombineModeComplement: area = shape.subtracted(area); break;
    default: return false;
  }
  return true;
}

GpStatus GdipCreateRegion(GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = new GpRegion{InfiniteArea()};
  return Ok;
}

GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
  if (!rect || !region) return InvalidParameter;
  QPainterPath q;
  q.addRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height));
  *region = new GpRegion{q};
  return Ok;
}

GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region) {
  if (!path || !region) return InvalidParameter;
  *region = new GpRegion{path->ToQPath()};
  return Ok;
}

GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode) {
  if (!region || !path) return InvalidParameter;
  return CombineArea(region->area, path->ToQPath(), mode) ? Ok : InvalidParameter;
}

GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode mode) {
  if (!region || !region2) return InvalidParameter;
  return CombineArea(region->area, region2->area, mode) ? Ok : InvalidParameter;
}

GpStatus GdipDeleteRegion(GpRegion* region) {
  if (!region) return InvalidParameter;
  delete region;
  return Ok;
}

GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics*, BOOL* result) {
  if (!region || !result) return InvalidParameter;
  *result = region->area.contains(QPointF(x, y));
  return Ok;
}
