#include "platform/ui/ImgList.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "platform/ui/Graphics_p.h"
#include "platform/ui/ImgList_p.h"

struct TCustomImageList::Data {
  std::vector<QImage> images;  // ARGB32, Width x Height
  std::vector<std::pair<const void*, std::function<void()>>> listeners;
};

namespace {

// Pieces of Width of an image, each made Width x Height.
std::vector<QImage> Cut(const QImage& src, int w, int h) {
  std::vector<QImage> out;
  if (src.isNull() || w <= 0 || h <= 0) return out;
  int n = std::max(1, src.width() / w);
  for (int i = 0; i < n; ++i) {
    QImage piece(w, h, QImage::Format_ARGB32);
    piece.fill(0);
    QPainter p(&piece);
    p.drawImage(0, 0, src, i * w, 0, std::min(w, src.width() - i * w), std::min(h, src.height()));
    out.push_back(piece);
  }
  return out;
}

QImage Masked(const QImage& image, const QImage* mask, QRgb transparent, bool byColour) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      bool clear = byColour ? (line[x] | 0xFF000000u) == (transparent | 0xFF000000u)
                            : (mask && x < mask->width() && y < mask->height() && qGray(mask->pixel(x, y)) > 127);
      if (clear) line[x] = 0;
      else line[x] |= 0xFF000000u;
    }
  }
  return out;
}

}  // namespace

QImage TImageListAccess::Image(const TCustomImageList* List, int Index) {
  if (List == nullptr || Index < 0 || Index >= List->Count()) return QImage();
  return List->d->images[size_t(Index)];
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner), d(std::make_unique<Data>()) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight)
    : TComponent(nullptr), d(std::make_unique<Data>()), FWidth(std::max(1, AWidth)), FHeight(std::max(1, AHeight)) {}

TCustomImageList::~TCustomImageList() = default;

int TCustomImageList::Count() const { return int(d->images.size()); }

void TCustomImageList::SetWidth(int v) {
  v = std::max(1, v);
  if (v == FWidth) return;
  FWidth = v;
  Clear();
}

void TCustomImageList::SetHeight(int v) {
  v = std::max(1, v);
  if (v == FHeight) return;
  FHeight = v;
  Clear();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (Image == nullptr || Image->Empty()) return -1;
  QImage mask = Mask && !Mask->Empty() ? TBitmapAccess::Image(Mask) : QImage();
  QImage img = Masked(TBitmapAccess::Image(Image), mask.isNull() ? nullptr : &mask, 0, false);
  int first = Count();
  for (QImage& piece : Cut(img, FWidth, FHeight)) d->images.push_back(std::move(piece));
  Change();
  return first;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (Image == nullptr || Image->Empty()) return -1;
  const QImage& src = TBitmapAccess::Image(Image);
  QRgb transparent = MaskColor == clDefault ? src.pixel(0, src.height() - 1) : ToQColor(MaskColor).rgb();
  int first = Count();
  for (QImage& piece : Cut(Masked(src, nullptr, transparent, true), FWidth, FHeight)) d->images.push_back(std::move(piece));
  Change();
  return first;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (Image == nullptr || Image->Empty()) return -1;
  QImage img = TBitmapAccess::IconImage(Image).scaled(FWidth, FHeight).convertToFormat(QImage::Format_ARGB32);
  d->images.push_back(img);
  Change();
  return Count() - 1;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= Count()) throw EListError(u"Image list index out of bounds");
  if (Image == nullptr || Image->Empty()) return;
  QImage mask = Mask && !Mask->Empty() ? TBitmapAccess::Image(Mask) : QImage();
  std::vector<QImage> pieces = Cut(Masked(TBitmapAccess::Image(Image), mask.isNull() ? nullptr : &mask, 0, false), FWidth, FHeight);
  d->images[size_t(Index)] = pieces.front();
  Change();
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError(u"Image list index out of bounds");
  d->images.erase(d->images.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  d->images.clear();
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Canvas == nullptr || Index < 0 || Index >= Count()) return;
  QImage img = d->images[size_t(Index)];
  if (!Enabled) {
    // Grey, lighter version of the image.
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        int g = 128 + qGray(line[x]) / 2;
        line[x] = qRgba(g, g, g, qAlpha(line[x]));
      }
    }
  }
  if (QPainter* p = DCPainter(Canvas->Handle())) p->drawImage(X, Y, img);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (Image == nullptr || Index < 0 || Index >= Count()) return;
  QImage out(FWidth, FHeight, QImage::Format_RGB32);
  out.fill(ToQColor(clBtnFace));
  QPainter p(&out);
  p.drawImage(0, 0, d->images[size_t(Index)]);
  p.end();
  TBitmapAccess::SetImage(Image, out);
}

void TCustomImageList::RegisterChanges(const void* Client, std::function<void()> Changed) {
  UnRegisterChanges(Client);
  d->listeners.emplace_back(Client, std::move(Changed));
}

void TCustomImageList::UnRegisterChanges(const void* Client) {
  auto& l = d->listeners;
  l.erase(std::remove_if(l.begin(), l.end(), [Client](const auto& e) { return e.first == Client; }), l.end());
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
  auto listeners = d->listeners;
  for (auto& e : listeners) e.second();
}
