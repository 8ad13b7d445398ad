#pragma once
// Bases of the Vr controls: the non-visual component, the windowed control with an
// update counter and overridable notifications, and the control that paints into an
// off-screen image copied to the screen in one transfer. Creating any of them
// registers the hand cursor as crVrHandPoint.

#include <memory>

#include "instruments/VrClasses.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

// The hand pointer registered in Screen->Cursors.
constexpr TCursor crVrHandPoint = 99;
// Registers crVrHandPoint once the screen object exists; later calls do nothing.
void RegisterVrCursors();

class TVrComponent : public TComponent {
public:
  explicit TVrComponent(TComponent* AOwner);
  String ClassName() const override { return u"TVrComponent"; }
  const String& Version() const { return FVersion; }
  void SetVersion(const String& Value) { FVersion = Value; }

private:
  String FVersion = u"1.4.5";
};

class TVrCustomControl : public TCustomControl {
public:
  explicit TVrCustomControl(TComponent* AOwner);
  String ClassName() const override { return u"TVrCustomControl"; }
  const String& Version() const { return FVersion; }
  void SetVersion(const String& Value) { FVersion = Value; }

  // Repaints at once unless loading or inside BeginUpdate/EndUpdate.
  virtual void UpdateView();
  void BeginUpdate() { ++FUpdateCount; }
  // Closes one bracket (an unbalanced call does not go below 0) and repaints.
  void EndUpdate();
  int32_t UpdateCount() const { return FUpdateCount; }

  // Mouse enter and leave are reported through the class library's OnMouseEnter and
  // OnMouseLeave, which the inherited handling fires before DoMouseEnter/DoMouseLeave.
  TNotifyEvent OnFontChanged;
  TNotifyEvent OnTextChanged;

protected:
  virtual void DoMouseEnter() {}
  virtual void DoMouseLeave() {}
  virtual void DoFontChanged();
  virtual void DoTextChanged();
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

private:
  String FVersion = u"1.4.5";
  int32_t FUpdateCount = 0;
};

class TVrCustomImageControl : public TVrCustomControl {
public:
  explicit TVrCustomImageControl(TComponent* AOwner);
  ~TVrCustomImageControl() override;
  String ClassName() const override { return u"TVrCustomImageControl"; }
  // Descendants draw here; Paint copies the whole image to the screen.
  TCanvas* ImageCanvas() const { return FBitmapImage->Canvas(); }
  TBitmap* BitmapImage() const { return FBitmapImage.get(); }

protected:
  // Sizes the image to the control and fills it with Color.
  virtual void ClearBitmapImage();
  void Paint() override;

private:
  std::unique_ptr<TBitmap> FBitmapImage;
};
