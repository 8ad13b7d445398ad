// TMetafile and TMetafileCanvas over the recorded picture of Metafile_p.h.
#include "platform/ui/Metafile.h"

#include <QPainter>

#include "platform/ui/Metafile_p.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/Ole_p.h"

struct TMetafileData {
  metafile::Picture Picture;
};

TMetafile::TMetafile() : FData(std::make_unique<TMetafileData>()) {}
TMetafile::~TMetafile() = default;

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  if (auto* m = dynamic_cast<TMetafile*>(Source)) {
    if (m != this) {
      FData->Picture = m->FData->Picture;
      FEnhanced = m->FEnhanced;
      Changed();
    }
    return;
  }
  TGraphic::Assign(Source);
}

bool TMetafile::Empty() const { return FData->Picture.Empty(); }
int TMetafile::Width() const { return FData->Picture.Frame.Width(); }
int TMetafile::Height() const { return FData->Picture.Frame.Height(); }

void TMetafile::SetWidth(int Value) {
  metafile::Picture& p = FData->Picture;
  p.Frame.R = metafile::Saturate32(int64_t(p.Frame.L) + std::max(0, Value));
  p.MMWidth = metafile::PixelsToHiMetric(int64_t(p.Frame.R) - p.Frame.L);
  Changed();
}

void TMetafile::SetHeight(int Value) {
  metafile::Picture& p = FData->Picture;
  p.Frame.B = metafile::Saturate32(int64_t(p.Frame.T) + std::max(0, Value));
  p.MMHeight = metafile::PixelsToHiMetric(int64_t(p.Frame.B) - p.Frame.T);
  Changed();
}

int TMetafile::MMWidth() const { return FData->Picture.MMWidth; }
int TMetafile::MMHeight() const { return FData->Picture.MMHeight; }

void TMetafile::SetMMWidth(int Value) {
  metafile::Picture& p = FData->Picture;
  p.MMWidth = std::max(0, Value);
  p.Frame.R = metafile::Saturate32(p.Frame.L + int64_t(metafile::HiMetricToPixels(p.MMWidth)));
  Changed();
}

void TMetafile::SetMMHeight(int Value) {
  metafile::Picture& p = FData->Picture;
  p.MMHeight = std::max(0, Value);
  p.Frame.B = metafile::Saturate32(p.Frame.T + int64_t(metafile::HiMetricToPixels(p.MMHeight)));
  Changed();
}

void TMetafile::SetEnhanced(bool Value) {
  if (FEnhanced == Value) return;
  FEnhanced = Value;
  Changed();
}

void TMetafile::Clear() {
  FData->Picture = metafile::Picture{};
  Changed();
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || Empty()) return;
  QPainter* p = DCPainter(ACanvas->Handle());
  if (!p) return;
  metafile::Play(FData->Picture, *p, QRectF(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()));
}

void TMetafile::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->Size() - Stream->Position();
  if (size <= 0 || size > (int64_t(1) << 30)) throw EInvalidGraphic(u"Invalid metafile: empty or too large");
  std::string bytes(size_t(size), '\0');
  Stream->ReadBuffer(bytes.data(), int32_t(size));
  metafile::Picture pic;
  bool enhanced = false;
  try {
    switch (metafile::SniffFormat(bytes)) {
      case 1: pic = metafile::ReadEmf(bytes); enhanced = true; break;
      case 2: pic = metafile::ReadWmf(bytes); break;
      default: throw metafile::FormatError{"not a metafile"};
    }
  } catch (const metafile::FormatError& e) {
    throw EInvalidGraphic(u"Invalid metafile: " + UTF8ToString(e.Reason));
  }
  FData->Picture = std::move(pic);
  FEnhanced = enhanced;
  Changed();
}

std::string TMetafile::Bytes() const {
  if (Empty()) throw EInvalidGraphicOperation(u"Cannot save an empty metafile");
  return FEnhanced ? metafile::WriteEmf(FData->Picture) : metafile::WriteWmf(FData->Picture);
}

void TMetafile::SaveToStream(TStream* Stream) {
  std::string bytes = Bytes();
  Stream->WriteBuffer(bytes.data(), int32_t(bytes.size()));
}

struct TMetafileCanvas::Recording {
  metafile::Picture Picture;
  std::unique_ptr<metafile::RecordingDevice> Device;
  HDC DC = nullptr;
};

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC /*ReferenceDevice*/)
    : FMetafile(AMetafile), FRecording(std::make_unique<Recording>()) {
  int w = AMetafile && AMetafile->Width() > 0 ? AMetafile->Width() : 640;
  int h = AMetafile && AMetafile->Height() > 0 ? AMetafile->Height() : 480;
  FRecording->Picture.Frame = metafile::Box{0, 0, w, h};
  FRecording->Picture.MMWidth = metafile::PixelsToHiMetric(w);
  FRecording->Picture.MMHeight = metafile::PixelsToHiMetric(h);
  FRecording->Device = std::make_unique<metafile::RecordingDevice>(&FRecording->Picture, w, h);
  FRecording->DC = CreateDeviceDC(FRecording->Device.get());
  SetHandle(FRecording->DC);
}

TMetafileCanvas::~TMetafileCanvas() {
  SetHandle(nullptr);
  DeleteDeviceDC(FRecording->DC);  // ends the painter: the recording is complete
  if (FMetafile) {
    FMetafile->FData->Picture = std::move(FRecording->Picture);
    FMetafile->Changed();
  }
}

namespace {

// A metafile as the OLE picture loader shows it.
class TOleMetafilePicture : public TOleMetafile {
public:
  TOleMetafilePicture(metafile::Picture Picture, bool Enhanced) : FPicture(std::move(Picture)), FEnhanced(Enhanced) {}
  int HimetricWidth() const override {
    return FPicture.MMWidth > 0 ? FPicture.MMWidth : metafile::PixelsToHiMetric(FPicture.Frame.Width());
  }
  int HimetricHeight() const override {
    return FPicture.MMHeight > 0 ? FPicture.MMHeight : metafile::PixelsToHiMetric(FPicture.Frame.Height());
  }
  bool Enhanced() const override { return FEnhanced; }
  void Play(QPainter& Painter, const QRectF& Target) const override { metafile::Play(FPicture, Painter, Target); }

private:
  metafile::Picture FPicture;
  bool FEnhanced;
};

std::unique_ptr<TOleMetafile> ReadOleMetafile(const uint8_t* Data, size_t Size) {
  const std::string bytes(reinterpret_cast<const char*>(Data), Size);
  try {
    switch (metafile::SniffFormat(bytes)) {
      case 1: return std::make_unique<TOleMetafilePicture>(metafile::ReadEmf(bytes), true);
      case 2: return std::make_unique<TOleMetafilePicture>(metafile::ReadWmf(bytes), false);
      default: return nullptr;
    }
  } catch (const metafile::FormatError&) {
    return nullptr;
  }
}

}  // namespace

void RegisterMetafileFormats() {
  OleMetafileReader = ReadOleMetafile;
  TPicture::RegisterFileFormat(u"emf", u"Enhanced Metafiles", [] { return std::make_unique<TMetafile>(); });
  TPicture::RegisterFileFormat(u"wmf", u"Metafiles", [] {
    auto m = std::make_unique<TMetafile>();
    m->SetEnhanced(false);
    return m;
  });
}

namespace {
// The picture holder knows metafiles as soon as this unit is linked in.
const bool registered = (RegisterMetafileFormats(), true);
}  // namespace
