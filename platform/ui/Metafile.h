#pragma once
// Metafile pictures: a recorded drawing that replays at any size, saved as an enhanced
// metafile (.emf) or a placeable Windows metafile (.wmf), and the canvas that records one.

#include <memory>
#include <string>

#include "platform/ui/Graphics.h"

struct TMetafileData;

class TMetafile : public TGraphic {
public:
  TMetafile();
  ~TMetafile() override;
  String ClassName() const override { return u"TMetafile"; }
  // Copies another metafile (nullptr clears); other graphics raise EConvertError.
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  // Size in pixels at 96 dots per inch.
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // Physical size in 0.01 mm.
  int MMWidth() const;
  int MMHeight() const;
  void SetMMWidth(int Value);
  void SetMMHeight(int Value);
  // True: saved as an enhanced metafile; false: as a placeable Windows metafile.
  bool Enhanced() const { return FEnhanced; }
  void SetEnhanced(bool Value);
  void Clear();

  // Plays the recording scaled into Rect.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // Reads either format (Enhanced follows the file); anything else raises EInvalidGraphic.
  void LoadFromStream(TStream* Stream) override;
  // Raises EInvalidGraphicOperation for an empty metafile.
  void SaveToStream(TStream* Stream) override;
  // The file bytes in the current format (for the clipboard).
  std::string Bytes() const;

private:
  friend class TMetafileCanvas;
  std::unique_ptr<TMetafileData> FData;
  bool FEnhanced = true;
};

// A canvas whose drawing is recorded into a metafile. The recording replaces the metafile's
// content when the canvas is destroyed; its frame is the metafile's Width x Height (set them
// first), or 640 x 480 when they are zero. ReferenceDevice is accepted and not used: drawing
// is always recorded at 96 dots per inch.
class TMetafileCanvas : public TCanvas {
public:
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  ~TMetafileCanvas() override;
  String ClassName() const override { return u"TMetafileCanvas"; }

private:
  struct Recording;
  TMetafile* FMetafile;
  std::unique_ptr<Recording> FRecording;
};

// Registers "emf" and "wmf" with TPicture and the OLE picture loader (done once at start-up;
// harmless to repeat).
void RegisterMetafileFormats();
