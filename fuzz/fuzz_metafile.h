#pragma once
// The metafile readers: any bytes are read or refused with FormatError; what is read plays
// back onto a picture and is written in both formats, which read back.
#include <QImage>
#include <QPainter>

#include "fuzz/FuzzSupport.h"
#include "platform/ui/Metafile_p.h"

inline int FuzzMetafile(const uint8_t* data, size_t size, metafile::Picture (*read)(const std::string&)) {
  StartQt();
  metafile::Picture pic;
  try {
    pic = read(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const metafile::FormatError&) {
    return 0;
  }
  QImage target(64, 48, QImage::Format_RGB32);
  target.fill(Qt::white);
  {
    QPainter p(&target);
    metafile::Play(pic, p, QRectF(0, 0, 64, 48));
  }
  if (pic.Empty()) return 0;
  for (auto* reread : {+[](const metafile::Picture& p) { return metafile::ReadEmf(metafile::WriteEmf(p)); },
                       +[](const metafile::Picture& p) { return metafile::ReadWmf(metafile::WriteWmf(p)); }}) {
    try {
      reread(pic);
    } catch (const metafile::FormatError&) {
      // A picture the format cannot hold (such as a frame outside 16-bit coordinates for WMF).
    }
  }
  return 0;
}
