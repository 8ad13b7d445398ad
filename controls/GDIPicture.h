#pragma once
// A picture that keeps a picture file's bytes and draws them through GDI+, so that PNG and other
// formats with an alpha channel show over what lies beneath; bitmaps are drawn through the class
// library with their automatic transparent colour.

#include <memory>

#include "controls/AdvGDIP.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Resources.h"

class TGDIPPicture : public TGraphic {
public:
  TGDIPPicture();
  ~TGDIPPicture() override;
  String ClassName() const override { return u"TGDIPPicture"; }

  // From another TGDIPPicture (its bytes), a bitmap (as a BMP file) or a picture holder (its
  // graphic's file); nullptr clears (change event, then OnClear). Other sources leave it empty.
  void Assign(TPersistent* Source) override;
  // A bitmap stretched into Rect with its automatic transparent colour; anything else drawn
  // into Rect by GDI+. Data GDI+ cannot read draws nothing.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool Empty() const override { return FIsEmpty; }
  // The size last measured (0 until then).
  int Height() const override { return FHeight; }
  int Width() const override { return FWidth; }
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  // Stored data: the raw file bytes; reading neither measures nor notifies.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  // A file that cannot be read leaves the picture empty; nothing is raised.
  void LoadFromFile(const String& FileName) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {}
  void SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {}
  // The RCDATA resource of that name, nothing when there is none.
  void LoadFromResourceName(HMODULE Instance, const String& ResName);
  // The RCDATA resource of that number; EResNotFound when there is none.
  void LoadFromResourceID(HMODULE Instance, int ResID);
  // "RES://name" and "FILE://path" load; any other address does nothing.
  void LoadFromURL(const String& URL);
  const String& GetFileName() const { return FFileName; }

  // Measures the picture through GDI+: False when there is no data.
  bool GetImageSizes();
  // Draws the picture with Graphics at X, Y in its own size / into X, Y, W, H.
  void DrawImage(TGPGraphics* Graphics, int X, int Y);
  void DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H);

  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }

  // Fired when the picture is cleared and when a file is loaded.
  TNotifyEvent OnClear;

private:
  class TStreamImage;
  // A GDI+ image over a copy of the data (null without data); raises "Could not allocate memory
  // for image" when the memory cannot be had.
  std::unique_ptr<TStreamImage> MakeImage();

  String FFileName;
  std::unique_ptr<TMemoryStream> FDatastream;
  bool FIsEmpty = true;
  int FWidth = 0;
  int FHeight = 0;
  bool FDoubleBuffered = false;
  TColor FBackgroundColor = clWindow;
};
