#include "controls/GDIPicture.h"

#include <string>

#include "controls/PictureContainer.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Ole.h"

// A GDI+ image over a global-memory stream; the image goes before the stream is released.
class TGDIPPicture::TStreamImage {
public:
  TStreamImage(IStream* Stream) : FStream(Stream), Image(std::make_unique<TGPImage>(Stream, false)) {}
  ~TStreamImage() {
    Image.reset();
    FStream->Release();
  }
  TStreamImage(const TStreamImage&) = delete;
  TStreamImage& operator=(const TStreamImage&) = delete;

private:
  IStream* FStream;

public:
  std::unique_ptr<TGPImage> Image;
};

TGDIPPicture::TGDIPPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

TGDIPPicture::~TGDIPPicture() = default;

std::unique_ptr<TGDIPPicture::TStreamImage> TGDIPPicture::MakeImage() {
  const int64_t size = FDatastream->Size();
  if (FIsEmpty || size == 0) return nullptr;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
  if (mem == nullptr) throw Exception(u"Could not allocate memory for image");
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream)) || stream == nullptr) {
    GlobalFree(mem);
    return nullptr;
  }
  stream->Write(FDatastream->Memory(), static_cast<ULONG>(size), nullptr);
  // GDI+ reads from the stream's position: back to the first byte written.
  stream->Seek(0, STREAM_SEEK_SET, nullptr);
  return std::make_unique<TStreamImage>(stream);
}

bool TGDIPPicture::GetImageSizes() {
  if (FIsEmpty || FDatastream->Size() == 0) return false;
  std::unique_ptr<TStreamImage> img = MakeImage();
  if (!img) return false;
  FWidth = static_cast<int>(img->Image->GetWidth());
  FHeight = static_cast<int>(img->Image->GetHeight());
  return true;
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (ACanvas == nullptr) return;
  std::unique_ptr<TStreamImage> img = MakeImage();
  if (!img) return;
  if (img->Image->GetFormat() == ifBMP) {
    TBitmap bmp;
    FDatastream->SetPosition(0);
    bmp.LoadFromStream(FDatastream.get());
    bmp.SetTransparentMode(tmAuto);
    bmp.SetTransparent(true);
    ACanvas->StretchDraw(Rect, &bmp);
    return;
  }
  TGPGraphics graphics(ACanvas->Handle());
  FWidth = static_cast<int>(img->Image->GetWidth());
  FHeight = static_cast<int>(img->Image->GetHeight());
  graphics.DrawImageRect(img->Image.get(), Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, int X, int Y) {
  std::unique_ptr<TStreamImage> img = MakeImage();
  if (img && Graphics) Graphics->DrawImage(img->Image.get(), X, Y);
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H) {
  std::unique_ptr<TStreamImage> img = MakeImage();
  if (img && Graphics) Graphics->DrawImageRect(img->Image.get(), X, Y, W, H);
}

void TGDIPPicture::ReadData(TStream* Stream) {
  if (Stream == nullptr) return;
  FDatastream->LoadFromStream(Stream);
  FIsEmpty = false;
}

void TGDIPPicture::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  FDatastream->LoadFromStream(Stream);
  FIsEmpty = false;
  GetImageSizes();
  Changed();
}

void TGDIPPicture::LoadFromFile(const String& FileName) {
  try {
    const std::string bytes = ReadFileBytes(FileName, MaxPictureFileSize);
    FDatastream->Clear();
    FDatastream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    FIsEmpty = false;
    FFileName = FileName;
    if (OnClear) OnClear(this);
    GetImageSizes();
    Changed();
  } catch (const std::exception&) {
    FIsEmpty = true;
  }
}

void TGDIPPicture::SaveToStream(TStream* Stream) {
  if (Stream == nullptr) return;
  Stream->WriteBuffer(FDatastream->Memory(), static_cast<int32_t>(FDatastream->Size()));
}

void TGDIPPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGDIPPicture::LoadFromResourceName(HMODULE Instance, const String& ResName) {
  TMemoryStream ms;
  if (ReadRCDataResource(Instance, ResName.c_str(), ms)) LoadFromStream(&ms);
}

void TGDIPPicture::LoadFromResourceID(HMODULE Instance, int ResID) {
  TMemoryStream ms;
  ReadRCDataResourceID(Instance, ResID, ms);
  LoadFromStream(&ms);
}

void TGDIPPicture::LoadFromURL(const String& URL) {
  if (StartsText(u"RES://", URL)) {
    String name = URL.substr(6);
    if (!name.empty()) LoadFromResourceName(HInstance, name);
  } else if (StartsText(u"FILE://", URL)) {
    String path = URL.substr(7);
    if (!path.empty()) LoadFromFile(path);
  }
}

void TGDIPPicture::Assign(TPersistent* Source) {
  if (Source == this) return;
  FIsEmpty = true;
  if (Source == nullptr) {
    FDatastream->Clear();
    Changed();
    if (OnClear) OnClear(this);
    return;
  }
  TMemoryStream ms;
  if (auto* pic = dynamic_cast<TGDIPPicture*>(Source)) {
    FDatastream->LoadFromStream(pic->FDatastream.get());
    FIsEmpty = FDatastream->Size() == 0;
    Changed();
  } else if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    bmp->SaveToStream(&ms);
    FDatastream->LoadFromStream(&ms);
    FIsEmpty = false;
    Changed();
  } else if (auto* holder = dynamic_cast<TPicture*>(Source); holder != nullptr && holder->Graphic() != nullptr) {
    holder->Graphic()->SaveToStream(&ms);
    FDatastream->LoadFromStream(&ms);
    FIsEmpty = false;
    Changed();
  }
  GetImageSizes();
}
