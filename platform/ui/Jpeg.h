#pragma once
// JPEG pictures through libjpeg: baseline or progressive encoding with a chosen quality, and decoding.

#include <memory>
#include <string>

#include "platform/ui/Graphics.h"

enum TJPEGPixelFormat : uint8_t { jf24Bit, jf8Bit };
enum TJPEGPerformance : uint8_t { jpBestQuality, jpBestSpeed };
using TJPEGQualityRange = int;  // 1..100

RTL_EXCEPTION(EJPEG, EInvalidGraphic);

class TJPEGImage : public TGraphic {
public:
  TJPEGImage();
  ~TJPEGImage() override;
  String ClassName() const override { return u"TJPEGImage"; }
  // From a bitmap, a JPEG image, a picture or any other graphic.
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int) override;
  void SetHeight(int) override;

  // Quality of the next encoding, 1..100 (default 90).
  TJPEGQualityRange CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(TJPEGQualityRange Value);
  bool ProgressiveEncoding() const { return FProgressive; }
  void SetProgressiveEncoding(bool Value);
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat Value) { FPixelFormat = Value; }
  TJPEGPerformance Performance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance Value) { FPerformance = Value; }

  // Decodes the JPEG data into the bitmap when not done yet.
  void DIBNeeded();
  // Encodes the bitmap when there is no JPEG data (with the current quality and options).
  void JPEGNeeded();
  // Encodes again with the current settings.
  void Compress();
  // The decoded picture (nullptr while empty).
  TBitmap* Bitmap();

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // Errors in the data raise EJPEG with libjpeg's message; the image keeps its former content.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

private:
  std::string FData;               // JPEG bytes
  std::unique_ptr<TBitmap> FBitmap;  // decoded
  int FWidth = 0;
  int FHeight = 0;
  int FQuality = 90;
  bool FProgressive = false;
  bool FGrayscale = false;
  TJPEGPixelFormat FPixelFormat = jf24Bit;
  TJPEGPerformance FPerformance = jpBestQuality;
};
