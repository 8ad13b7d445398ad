// The shell's system image lists over the desktop's icon theme: one index per kind of icon
// (a folder, a file type), shared by the small and the large list.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <map>
#include <mutex>
#include <vector>

#include "platform/win/Gdi_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Shell.h"

struct HIMAGELIST__ {
  int size;
};

namespace {

struct TIconKinds {
  std::mutex lock;
  std::vector<QStringList> names;    // theme icon names by index, best first
  std::map<QString, int> byKey;      // the joined names -> index
  std::map<std::pair<int, int>, QImage> images;  // (index, size) -> icon, null when the theme has none
  HIMAGELIST__ small{16};
  HIMAGELIST__ large{32};
};

TIconKinds& Kinds() {
  static TIconKinds kinds;
  return kinds;
}

QStringList IconNames(const QString& path, DWORD attributes, bool byName) {
  static const QMimeDatabase db;
  const QFileInfo info(path);
  if ((!byName && info.isDir()) || (byName && (attributes & FILE_ATTRIBUTE_DIRECTORY)))
    return {QStringLiteral("folder")};
  const QMimeType mime = !byName && info.exists() ? db.mimeTypeForFile(info)
                                                  : db.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  QStringList names{mime.iconName(), mime.genericIconName(), QStringLiteral("text-x-generic")};
  names.removeDuplicates();
  return names;
}

int IndexOf(const QStringList& names) {
  TIconKinds& k = Kinds();
  std::lock_guard<std::mutex> guard(k.lock);
  const QString key = names.join(u';');
  auto it = k.byKey.find(key);
  if (it != k.byKey.end()) return it->second;
  const int index = static_cast<int>(k.names.size());
  k.names.push_back(names);
  k.byKey.emplace(key, index);
  return index;
}

// The icon of that index and size; a null image when the index is unknown or the theme lacks it.
QImage IconImage(int index, int size) {
  TIconKinds& k = Kinds();
  std::lock_guard<std::mutex> guard(k.lock);
  if (index < 0 || index >= static_cast<int>(k.names.size())) return QImage();
  auto it = k.images.find({index, size});
  if (it != k.images.end()) return it->second;
  const QStringList& names = k.names[static_cast<size_t>(index)];
  QIcon icon;
  for (const QString& name : names) {
    icon = QIcon::fromTheme(name);
    if (!icon.isNull()) break;
  }
  // Without an icon theme (or without the name in it) the style's own file and folder icons.
  if (icon.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance()))
    icon = QApplication::style()->standardIcon(names.first() == QLatin1String("folder") ? QStyle::SP_DirIcon
                                                                                       : QStyle::SP_FileIcon);
  QImage image;
  if (!icon.isNull()) {
    image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.size() != QSize(size, size)) image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  k.images.emplace(std::make_pair(index, size), image);
  return image;
}

}  // namespace

uintptr_t SHGetFileInfo(const Char* Path, DWORD Attributes, SHFILEINFOW* Info, UINT, UINT Flags) {
  if (!Info || !(Flags & SHGFI_SYSICONINDEX)) return 0;
  const QString path = Path ? ToQString(String(Path)) : QString();
  Info->iIcon = IndexOf(IconNames(path, Attributes, Flags & SHGFI_USEFILEATTRIBUTES));
  TIconKinds& k = Kinds();
  return reinterpret_cast<uintptr_t>((Flags & SHGFI_SMALLICON) ? &k.small : &k.large);
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* cx, int* cy) {
  if (!List || !cx || !cy) return FALSE;
  *cx = *cy = List->size;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST List) {
  if (!List) return 0;
  TIconKinds& k = Kinds();
  std::lock_guard<std::mutex> guard(k.lock);
  return static_cast<int>(k.names.size());
}

BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC dc, int x, int y, UINT) {
  if (!List || !DCPainter(dc)) return FALSE;
  const QImage image = IconImage(Index, List->size);
  if (image.isNull()) return Index >= 0 && Index < ImageList_GetImageCount(List);
  QPainter* p = dc->painter.get();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(QPoint(x, y), image);
  return TRUE;
}
