#pragma once
// Pictures of the mini-HTML engine: a graphic that keeps a picture file's bytes and shows them
// through the OLE picture loader (stepping through the frames of an animated GIF), a cache of
// such pictures filled by URL, and a component holding named pictures.

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Ole.h"
#include "platform/win/Resources.h"

using TDownLoadProgressEvent = std::function<void(TObject* Sender, Cardinal dwSize, Cardinal dwTotSize)>;
using TDownLoadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownLoadErrorEvent = std::function<void(TObject* Sender, const String& err)>;

// A resource of the program that is not there.
RTL_EXCEPTION(EResNotFound, Exception);

// Reads the RCDATA resource Name (or number) of the module into Stream; False when there is none.
bool ReadRCDataResource(HMODULE Instance, LPCWSTR Name, TMemoryStream& Stream);
// The RCDATA resource with that number; EResNotFound when there is none.
void ReadRCDataResourceID(HMODULE Instance, int ResID, TMemoryStream& Stream);

class THTMLPicture : public TGraphic {
public:
  THTMLPicture();
  ~THTMLPicture() override;
  String ClassName() const override { return u"THTMLPicture"; }

  // From another THTMLPicture: its bytes, Stretch, frame and ID; nullptr empties the picture;
  // other sources leave it empty without an error.
  void Assign(TPersistent* Source) override;
  // The current frame into Rect: stretched to it, or in its own size at Rect's top left.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool Empty() const override { return FIsEmpty; }
  // The decoded frame's size in pixels (0 without one).
  int Height() const override;
  int Width() const override;
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  // Stored data: the raw file bytes. Reading decodes without a change event.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  // A file that cannot be read or decoded leaves the picture empty; nothing is raised.
  void LoadFromFile(const String& FileName) override;
  // Decoding errors are raised (Exception) after the bytes were taken.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {}
  void SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {}
  // The RCDATA resource of that name, nothing when there is none.
  void LoadFromResourceName(HMODULE Instance, const String& ResName);
  // The RCDATA resource of that number; EResNotFound when there is none.
  void LoadFromResourceID(HMODULE Instance, int ResID);
  // "RES://name" and "FILE://path" load; no other address is ever fetched.
  void LoadFromURL(const String& url);

  bool Stretch() const { return FStretched; }
  void SetStretch(bool Value) { FStretched = Value; }
  int Frame() const { return FFrame; }
  // Decodes that frame (without a range check) and fires OnFrameChange.
  void SetFrame(int Value);
  bool Busy() const { return FThreadBusy; }
  bool Asynch() const { return FAsynch; }
  void SetAsynch(bool Value) { FAsynch = Value; }
  const String& ID() const { return FID; }
  void SetID(const String& Value) { FID = Value; }
  bool IsDB() const { return FIsDB; }
  void SetIsDB(bool Value) { FIsDB = Value; }

  // The data starts with "GIF8" (and holds more than 4 bytes).
  bool IsGIF() const;
  // Frames of a GIF (a graphic control extension directly followed by an image); -1 for other data.
  int FrameCount();
  // The logical screen of an animated GIF, else the picture's size.
  int MaxWidth() const;
  int MaxHeight() const;
  int FrameXPos() const { return FFrameXPos; }
  int FrameYPos() const { return FFrameYPos; }
  // Delay of frame i in hundredths of a second; -1 for no such frame or no GIF.
  int GetFrameTime(int i);
  void FrameNext();
  void FramePrev();
  // One animation step of 100 ms: True when it moved to another frame.
  bool Step();

  TNotifyEvent OnFrameChange;
  // Declared for users of the class; never fired, as nothing is downloaded.
  TDownLoadErrorEvent OnDownLoadError;
  TNotifyEvent OnDownLoadComplete;
  TDownLoadCancelEvent OnDownLoadCancel;
  TDownLoadProgressEvent OnDownLoadProgress;

private:
  // Where a frame starts and what its graphic control extension and image descriptor say.
  struct TGifFrame {
    size_t start;
    uint8_t control;
    uint16_t delay;
    uint16_t left, top, width, height;
  };
  std::vector<TGifFrame> GifFrames() const;
  void DecodePicture();
  void ReleasePicture();

  std::unique_ptr<TMemoryStream> FDatastream;
  bool FIsEmpty = true;
  bool FStretched = false;
  IPicture* gpPicture = nullptr;
  int FLogPixX = 96;
  int FLogPixY = 96;
  String FURL;
  String FID;
  bool FIsDB = false;
  bool FAsynch = true;
  bool FThreadBusy = false;
  int FFrame = 1;
  int FFrameCount = -1;
  uint16_t FFrameXPos = 0, FFrameYPos = 0;
  uint16_t FFrameXSize = 0, FFrameYSize = 0;
  bool FFrameTransp = false;
  uint16_t FFrameDisposal = 0;
  uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
  int FNextCount = -1;
  int FTimerCount = -1;
};

// The thread a network download would run on; it does nothing and frees itself.
class TDownLoadThread : public TThread {
public:
  // Starts at once.
  explicit TDownLoadThread(THTMLPicture* aHTMLPicture);
  String ClassName() const override { return u"TDownLoadThread"; }
  THTMLPicture* HTMLPicture;

protected:
  void Execute() override {}
};

// Pictures found by URL; owns them.
class THTMLPictureCache {
public:
  THTMLPictureCache() = default;
  ~THTMLPictureCache() { ClearPictures(); }
  THTMLPictureCache(const THTMLPictureCache&) = delete;
  THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

  THTMLPicture* AddPicture();
  // The first picture with exactly that ID (case counts), or nullptr.
  THTMLPicture* FindPicture(const String& ID) const;
  int Count() const { return static_cast<int>(FList.size()); }
  // Out-of-range indexes raise EListError.
  THTMLPicture* GetPicture(int Index) const;
  // Puts Value (taken over) in the slot; the picture there before is freed.
  void SetPicture(int Index, THTMLPicture* Value);
  void ClearPictures();
  // Steps every picture; True when any changed frame.
  bool Animate();

private:
  std::vector<std::unique_ptr<THTMLPicture>> FList;
};

class TPictureItem : public TCollectionItem {
public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;
  String ClassName() const override { return u"TPictureItem"; }
  // Only from another TPictureItem (else EConvertError): Name, Tag and the picture.
  void Assign(TPersistent* Source) override;

  THTMLPicture* Picture() const { return FPicture.get(); }
  // Copies Value into the item's own picture.
  void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }

private:
  std::unique_ptr<THTMLPicture> FPicture;
  int FTag = 0;
  String FName;
};

class TPictureCollection : public TCollection {
public:
  explicit TPictureCollection(TComponent* AOwner);
  String ClassName() const override { return u"TPictureCollection"; }
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Insert(int index) { return static_cast<TPictureItem*>(TCollection::Insert(index)); }
  TPictureItem* GetItem(int Index) const { return static_cast<TPictureItem*>(Items(Index)); }
  void SetItem(int Index, TPictureItem* Value) { TCollection::SetItem(Index, Value); }
  TPersistent* GetOwner() const override { return FOwner; }
  // Steps every item's picture; True when any changed frame.
  bool Animate();

private:
  TComponent* FOwner;
};

class TPictureContainer : public TComponent {
public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;
  String ClassName() const override { return u"TPictureContainer"; }

  // The picture of the first item whose name equals s ignoring the case of a-z; nullptr for none.
  virtual THTMLPicture* FindPicture(const String& s);
  TPictureCollection* Items() const { return FItems.get(); }
  // Copies the items of Value into the container's own collection.
  void SetItems(TPictureCollection* Value) { FItems->Assign(Value); }
  String Version() const;
  void SetVersion(const String&) {}

private:
  std::unique_ptr<TPictureCollection> FItems;
};
