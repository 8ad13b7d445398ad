#pragma once
// Private to platform/: the images of an image list, for controls that show them through Qt.

#include <QImage>

#include "platform/ui/ImgList.h"

struct TImageListAccess {
  // Image Index with its transparency (a null image when out of range).
  static QImage Image(const TCustomImageList* List, int Index);
};
