#pragma once
// Image lists: numbered images of one size, drawn with their transparency, for tool bars,
// page tabs and menus.

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(int AWidth, int AHeight);  // without owner
  ~TCustomImageList() override;
  String ClassName() const override { return u"TCustomImageList"; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A new size clears the list.
  void SetWidth(int v);
  void SetHeight(int v);
  int Count() const;

  // Adds Image cut into pieces of Width (one image when it is not wider); Mask marks the
  // transparent pixels in white (nullptr: the image is opaque). Returns the first new index.
  int Add(TBitmap* Image, TBitmap* Mask);
  // As Add, with the pixels of MaskColor transparent (clDefault: the bottom-left pixel's colour).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int Index);
  void Clear();
  // Draws image Index at (X, Y); a disabled image is drawn grey. Out-of-range indexes draw nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // Copies image Index into Image (transparent pixels in the background colour clBtnFace).
  void GetBitmap(int Index, TBitmap* Image);

  TNotifyEvent OnChange;
  // Further listeners, told after every change (controls showing the images).
  void RegisterChanges(const void* Client, std::function<void()> Changed);
  void UnRegisterChanges(const void* Client);

protected:
  virtual void Change();

private:
  friend struct TImageListAccess;
  struct Data;
  std::unique_ptr<Data> d;
  int FWidth = 16;
  int FHeight = 16;
};

class TImageList : public TCustomImageList {
public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
  String ClassName() const override { return u"TImageList"; }
};
