#include "controls/PictureContainer.h"

#include <cstring>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Metafile.h"
#include "platform/win/Gdi.h"

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Past the data sub-blocks starting at p (the position after their terminator); Size when cut off.
size_t SkipSubBlocks(const uint8_t* d, size_t size, size_t p) {
  while (p < size && d[p] != 0) p += size_t(d[p]) + 1;
  return p < size ? p + 1 : size;
}

}  // namespace

bool ReadRCDataResource(HMODULE Instance, LPCWSTR Name, TMemoryStream& Stream) {
  HRSRC res = FindResourceW(Instance, Name, RT_RCDATA);
  if (res == nullptr) return false;
  const void* data = LockResource(LoadResource(Instance, res));
  DWORD size = SizeofResource(Instance, res);
  Stream.Clear();
  if (data != nullptr && size > 0) Stream.WriteBuffer(data, static_cast<int32_t>(size));
  Stream.SetPosition(0);
  return true;
}

void ReadRCDataResourceID(HMODULE Instance, int ResID, TMemoryStream& Stream) {
  if (!ReadRCDataResource(Instance, MAKEINTRESOURCEW(static_cast<WORD>(ResID)), Stream))
    throw EResNotFound(u"Resource " + IntToStr(ResID) + u" not found");
}

// ---------------------------------------------------------------------------
// THTMLPicture

THTMLPicture::THTMLPicture() : FDatastream(std::make_unique<TMemoryStream>()) {
  // The OLE picture loader reads metafiles through the class library's reader.
  static const bool metafiles = (RegisterMetafileFormats(), true);
  (void)metafiles;
}

THTMLPicture::~THTMLPicture() { ReleasePicture(); }

void THTMLPicture::ReleasePicture() {
  if (gpPicture != nullptr) gpPicture->Release();
  gpPicture = nullptr;
}

bool THTMLPicture::IsGIF() const {
  FDatastream->SetPosition(0);
  return FDatastream->Size() > 4 && std::memcmp(FDatastream->Memory(), "GIF8", 4) == 0;
}

// Frames are found by walking the GIF's blocks, so bytes inside image data that happen to look
// like a graphic control extension are never taken for one.
std::vector<THTMLPicture::TGifFrame> THTMLPicture::GifFrames() const {
  std::vector<TGifFrame> frames;
  const auto* d = static_cast<const uint8_t*>(FDatastream->Memory());
  const size_t size = static_cast<size_t>(FDatastream->Size());
  if (size < 13) return frames;
  size_t pos = 13;
  if (d[10] & 0x80) pos += 3 * (size_t(2) << (d[10] & 7));  // global colour table
  while (pos < size) {
    if (d[pos] == 0x21) {  // extension: label, then sub-blocks
      if (pos + 2 >= size) break;
      const size_t start = pos;
      const bool control = d[pos + 1] == 0xF9 && d[pos + 2] == 4;
      pos = SkipSubBlocks(d, size, pos + 2);
      // A frame: a graphic control extension of one 4-byte block directly followed by an image.
      if (control && pos == start + 8 && pos < size && d[pos] == 0x2C && start + 17 <= size)
        frames.push_back(TGifFrame{start, d[start + 3], Le16(d + start + 4), Le16(d + start + 9), Le16(d + start + 11),
                                   Le16(d + start + 13), Le16(d + start + 15)});
    } else if (d[pos] == 0x2C) {  // image: descriptor, local colour table, code size, sub-blocks
      if (pos + 10 > size) break;
      const uint8_t packed = d[pos + 9];
      pos += 10;
      if (packed & 0x80) pos += 3 * (size_t(2) << (packed & 7));
      pos = SkipSubBlocks(d, size, pos + 1);
    } else {
      break;  // the trailer, or damage: nothing after it counts
    }
  }
  return frames;
}

int THTMLPicture::FrameCount() {
  if (FFrameCount != -1) return FFrameCount;
  if (!IsGIF()) return -1;
  FFrameCount = static_cast<int>(GifFrames().size());
  FDatastream->SetPosition(0);
  return FFrameCount;
}

int THTMLPicture::GetFrameTime(int i) {
  if (!IsGIF()) return -1;
  const std::vector<TGifFrame> frames = GifFrames();
  FDatastream->SetPosition(0);
  if (i < 1 || i > static_cast<int>(frames.size())) return -1;
  const TGifFrame& f = frames[size_t(i - 1)];
  FFrameTransp = (f.control & 1) != 0;
  FFrameDisposal = static_cast<uint16_t>((f.control >> 2) & 7);
  return f.delay;
}

void THTMLPicture::DecodePicture() {
  const size_t size = static_cast<size_t>(FDatastream->Size());
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (mem == nullptr) throw Exception(u"Could not allocate memory for image");
  FDatastream->SetPosition(0);
  FFrameXPos = FFrameYPos = FAnimMaxX = FAnimMaxY = 0;
  const auto* d = static_cast<const uint8_t*>(FDatastream->Memory());
  auto* block = static_cast<uint8_t*>(GlobalLock(mem));
  if (IsGIF() && FrameCount() > 0) {
    // The header and colour table, then everything from the wanted frame on.
    FAnimMaxX = Le16(d + 6);
    FAnimMaxY = Le16(d + 8);
    const std::vector<TGifFrame> frames = GifFrames();
    size_t head = frames.front().start, from = size;
    if (FFrame < 1) {
      head = size;  // no frame is ever the wanted one: all of the data
    } else if (FFrame <= static_cast<int>(frames.size())) {
      const TGifFrame& f = frames[size_t(FFrame - 1)];
      FFrameXPos = f.left;
      FFrameYPos = f.top;
      FFrameXSize = f.width;
      FFrameYSize = f.height;
      from = f.start;
    }
    std::memcpy(block, d, head);
    if (from < size) std::memcpy(block + head, d + from, size - from);
  } else if (size > 0) {
    std::memcpy(block, d, size);
  }
  GlobalUnlock(mem);

  IStream* stream = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(mem, TRUE, &stream);
  if (stream == nullptr) {
    GlobalFree(mem);  // no stream took the block over
    if (hr == -1) throw Exception(u"Could not create image stream");
    throw Exception(u"Empty image stream created");
  }
  ReleasePicture();
  hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&gpPicture));
  stream->Release();
  if (FAILED(hr)) {
    gpPicture = nullptr;
    throw Exception(u"Could not load image. Invalid format");
  }
  if (gpPicture == nullptr) throw Exception(u"Could not load image");
}

void THTMLPicture::ReadData(TStream* Stream) {
  if (Stream == nullptr) return;
  FDatastream->LoadFromStream(Stream);
  FIsEmpty = false;
  FFrameCount = -1;  // the count belongs to the data it was made from
  DecodePicture();
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  ReadData(Stream);
  Changed();
}

void THTMLPicture::LoadFromFile(const String& FileName) {
  try {
    const std::string bytes = ReadFileBytes(FileName, MaxPictureFileSize);
    FDatastream->Clear();
    FDatastream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    FIsEmpty = false;
    FFrameCount = -1;
    DecodePicture();
    Changed();
  } catch (const std::exception&) {
    FIsEmpty = true;
  }
}

void THTMLPicture::SaveToStream(TStream* Stream) {
  if (Stream == nullptr) return;
  Stream->WriteBuffer(FDatastream->Memory(), static_cast<int32_t>(FDatastream->Size()));
}

void THTMLPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void THTMLPicture::LoadFromResourceName(HMODULE Instance, const String& ResName) {
  TMemoryStream ms;
  if (ReadRCDataResource(Instance, ResName.c_str(), ms)) LoadFromStream(&ms);
}

void THTMLPicture::LoadFromResourceID(HMODULE Instance, int ResID) {
  TMemoryStream ms;
  ReadRCDataResourceID(Instance, ResID, ms);
  LoadFromStream(&ms);
}

void THTMLPicture::LoadFromURL(const String& url) {
  if (StartsText(u"RES://", url)) {
    FID = url;
    String name = url.substr(6);
    if (!name.empty()) LoadFromResourceName(HInstance, name);
  } else if (StartsText(u"FILE://", url)) {
    FID = url;
    String path = url.substr(7);
    if (!path.empty()) LoadFromFile(path);
  } else if (!FAsynch) {
    FURL = url;
    FID = url;
  } else if (!FThreadBusy) {
    // Nothing is fetched from a network: the download thread ends at once and the picture
    // stays busy, so later network addresses are ignored.
    FURL = url;
    FThreadBusy = true;
    new TDownLoadThread(this);
  }
}

void THTMLPicture::Assign(TPersistent* Source) {
  if (Source == this) return;
  FIsEmpty = true;
  ReleasePicture();
  FFrameCount = FNextCount = FTimerCount = -1;
  // Back to frame 1; the old data is dropped below, so it is not decoded again.
  FFrame = 1;
  if (FDatastream->Size() > 0 && OnFrameChange) OnFrameChange(this);
  auto* src = dynamic_cast<THTMLPicture*>(Source);
  if (src == nullptr) {
    if (Source == nullptr) FDatastream->Clear();
    return;
  }
  FStretched = src->FStretched;
  FFrame = src->FFrame;
  FID = src->FID;
  FDatastream->LoadFromStream(src->FDatastream.get());
  // An empty source gives an empty picture, not a decoding error.
  if (!src->FIsEmpty && FDatastream->Size() > 0) {
    FIsEmpty = false;
    DecodePicture();
  }
  Changed();
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FIsEmpty || gpPicture == nullptr || ACanvas == nullptr) return;
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  gpPicture->get_Width(&hmWidth);
  gpPicture->get_Height(&hmHeight);
  HDC dc = ACanvas->Handle();
  if (FStretched) {
    gpPicture->Render(dc, Rect.Left, Rect.Bottom, Rect.Right - Rect.Left, -(Rect.Bottom - Rect.Top), 0, 0, hmWidth,
                      hmHeight, &Rect);
  } else {
    const int w = MulDiv(hmWidth, GetDeviceCaps(dc, LOGPIXELSX), 2540);
    const int h = MulDiv(hmHeight, GetDeviceCaps(dc, LOGPIXELSY), 2540);
    gpPicture->Render(dc, Rect.Left, Rect.Top, w, h, 0, hmHeight, hmWidth, -hmHeight, &Rect);
  }
}

int THTMLPicture::Width() const {
  if (gpPicture == nullptr) return 0;
  OLE_XSIZE_HIMETRIC w = 0;
  gpPicture->get_Width(&w);
  return MulDiv(w, FLogPixX, 2540);
}

int THTMLPicture::Height() const {
  if (gpPicture == nullptr) return 0;
  OLE_YSIZE_HIMETRIC h = 0;
  gpPicture->get_Height(&h);
  return MulDiv(h, FLogPixY, 2540);
}

int THTMLPicture::MaxWidth() const {
  if (gpPicture == nullptr) return 0;
  return FAnimMaxX != 0 ? FAnimMaxX : Width();
}

int THTMLPicture::MaxHeight() const {
  if (gpPicture == nullptr) return 0;
  return FAnimMaxY != 0 ? FAnimMaxY : Height();
}

void THTMLPicture::SetFrame(int Value) {
  FFrame = Value;
  if (FDatastream->Size() > 0) {
    DecodePicture();
    if (OnFrameChange) OnFrameChange(this);
  }
}

void THTMLPicture::FrameNext() {
  if (FFrame < FFrameCount)
    ++FFrame;
  else
    FFrame = 1;
}

void THTMLPicture::FramePrev() {
  if (FFrame < 2)
    FFrame = FFrameCount;
  else
    --FFrame;
}

bool THTMLPicture::Step() {
  if (FFrameCount < 2 || FIsEmpty) return false;
  if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
  bool changed = false;
  if (FTimerCount * 10 >= FNextCount) {
    FrameNext();
    // A damaged frame (a file cut short) shows nothing for its time; the animation goes on.
    try {
      DecodePicture();
    } catch (const Exception&) {
    }
    FNextCount += GetFrameTime(FFrame);
    changed = true;
  }
  ++FTimerCount;
  return changed;
}

// ---------------------------------------------------------------------------
// TDownLoadThread

TDownLoadThread::TDownLoadThread(THTMLPicture* aHTMLPicture) : TThread(true), HTMLPicture(aHTMLPicture) {
  SetFreeOnTerminate(true);
  Start();
}

// ---------------------------------------------------------------------------
// THTMLPictureCache

THTMLPicture* THTMLPictureCache::AddPicture() {
  FList.push_back(std::make_unique<THTMLPicture>());
  return FList.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const {
  for (const auto& p : FList)
    if (p->ID() == ID) return p.get();
  return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FList[size_t(Index)].get();
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value) {
  GetPicture(Index);
  if (FList[size_t(Index)].get() != Value) FList[size_t(Index)].reset(Value);
}

void THTMLPictureCache::ClearPictures() { FList.clear(); }

bool THTMLPictureCache::Animate() {
  bool changed = false;
  for (const auto& p : FList)
    if (p->Step()) changed = true;
  return changed;
}

// ---------------------------------------------------------------------------
// TPictureItem, TPictureCollection, TPictureContainer

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TPictureItem*>(Source);
  if (src == nullptr) throw EInvalidCast(u"Invalid class typecast");
  FName = src->FName;
  FTag = src->FTag;
  FPicture->Assign(src->FPicture.get());
}

TPictureCollection::TPictureCollection(TComponent* AOwner)
    : TCollection(ItemClassOf<TPictureItem>()), FOwner(AOwner) {}

bool TPictureCollection::Animate() {
  bool changed = false;
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->Picture()->Step()) changed = true;
  return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(const String& s) {
  const String want = UpperCase(s);
  for (int i = 0; i < FItems->Count(); ++i) {
    TPictureItem* item = FItems->GetItem(i);
    if (UpperCase(item->Name()) == want) return item->Picture();
  }
  return nullptr;
}

String TPictureContainer::Version() const {
  const uint32_t vn = 0x01000000;  // major 1, minor 0, release 0, build 0
  return IntToStr(int(vn >> 24)) + u"." + IntToStr(int((vn >> 16) & 0xFF)) + u"." + IntToStr(int((vn >> 8) & 0xFF)) +
         u"." + IntToStr(int(vn & 0xFF));
}
