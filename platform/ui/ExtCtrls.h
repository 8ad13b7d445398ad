#pragma once
// Further controls: panel, bevel, radio group, image, labelled edit and shape. TTimer is
// reachable through this header as well.

#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Timers.h"

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;
using TBevelWidth = int;
using TBorderWidth = int;
enum TBevelStyle : uint8_t { bsLowered, bsRaised };
enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

// ---------------------------------------------------------------------------
// Panel: a container with an outer and an inner bevel, a border between them and a caption.

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);
  String ClassName() const override { return u"TCustomPanel"; }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth v);
  TBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth v);
  // bsSingle draws a one-pixel window frame outside the outer bevel.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool v);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool v) { FFullRepaint = v; }
  bool ParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool v) { FParentBackground = v; }

protected:
  void Paint() override;
  // The client area for aligned children: inside the frame, the bevels and the border.
  void AdjustClientRect(TRect& Rect) override;
  void CMTextChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // Width of everything drawn around the client area.
  int FrameWidth() const;
  void Changed();

private:
  TAlignment FAlignment = taCenter;
  TVerticalAlignment FVerticalAlignment = taVerticalCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  bool FShowCaption = true;
  bool FFullRepaint = true;
  bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
  String ClassName() const override { return u"TPanel"; }
};

// ---------------------------------------------------------------------------
// Bevel: a windowless box, frame or line in the 3-D colours.

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);
  String ClassName() const override { return u"TBevel"; }

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle v);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------
// Radio group: a group box holding one radio button per item, laid out in columns.
// Setting ItemIndex checks that button; like a click by the user it fires OnClick when the
// selection changes.

class TCustomRadioGroup : public TCustomGroupBox {
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  String ClassName() const override { return u"TCustomRadioGroup"; }

  TStrings* Items() const;
  void SetItems(TStrings* v);
  // Selected item, -1 for none; values out of range become -1 or the last item.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  int Columns() const { return FColumns; }
  void SetColumns(int v);
  // The radio button of an item (for focus or enabling single items).
  TRadioButton* Buttons(int Index) const;
  void SetEnabled(bool v) override;

protected:
  void CMFontChanged(TMessage& Message) override;
  void Resize() override;

private:
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClick(TObject* Sender);

  std::unique_ptr<TStringList> FItems;
  std::vector<std::unique_ptr<TRadioButton>> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
  String ClassName() const override { return u"TRadioGroup"; }
};

// ---------------------------------------------------------------------------
// Image: shows a picture, at its size from the top-left, centred, stretched, or scaled down
// with its aspect kept (Proportional).

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  String ClassName() const override { return u"TImage"; }

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* v) { FPicture->Assign(v); }
  // The canvas of the picture's bitmap (a bitmap of the control's size is made when the
  // picture is empty); raises EInvalidOperation when the picture holds another kind of graphic.
  TCanvas* Canvas();
  bool Center() const { return FCenter; }
  void SetCenter(bool v);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool v);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // Sizes the control to the picture whenever the picture changes.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool IncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool v) { FIncrementalDisplay = v; }
  // Where the picture is drawn in the control.
  TRect DestRect() const;

protected:
  void Paint() override;

private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> FPicture;
  bool FCenter = false;
  bool FProportional = false;
  bool FStretch = false;
  bool FTransparent = false;
  bool FAutoSize = false;
  bool FIncrementalDisplay = false;
  bool FDrawing = false;
};

// ---------------------------------------------------------------------------
// Labelled edit: an edit with a label kept beside it (above by default).

enum TLabelPosition : uint8_t { lpAbove, lpBelow, lpLeft, lpRight };

class TCustomLabeledEdit;

// The label of a labelled edit; it moves with its edit and follows its parent and visibility.
class TBoundLabel : public TCustomLabel {
public:
  explicit TBoundLabel(TCustomLabeledEdit* AEdit);
  String ClassName() const override { return u"TBoundLabel"; }

protected:
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

private:
  friend class TCustomLabeledEdit;
  TCustomLabeledEdit* FEdit;
};

class TCustomLabeledEdit : public TCustomEdit {
public:
  explicit TCustomLabeledEdit(TComponent* AOwner);
  ~TCustomLabeledEdit() override;
  String ClassName() const override { return u"TCustomLabeledEdit"; }

  TBoundLabel* EditLabel() const { return FEditLabel; }
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition v);
  int LabelSpacing() const { return FLabelSpacing; }
  void SetLabelSpacing(int v);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;

protected:
  friend class TBoundLabel;
  // Places the label for the current position and spacing.
  void PlaceLabel();
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TBoundLabel* FEditLabel;  // owned as a component
  TLabelPosition FLabelPosition = lpAbove;
  int FLabelSpacing = 3;
};

class TLabeledEdit : public TCustomLabeledEdit {
public:
  explicit TLabeledEdit(TComponent* AOwner) : TCustomLabeledEdit(AOwner) {}
  String ClassName() const override { return u"TLabeledEdit"; }
};

// ---------------------------------------------------------------------------
// Shape: a rectangle, square, rounded rectangle or square, ellipse or circle drawn with a pen
// and a brush.

enum TShapeType : uint8_t { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  String ClassName() const override { return u"TShape"; }

  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType v);
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* v) { FPen->Assign(v); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* v) { FBrush->Assign(v); }

protected:
  void Paint() override;

private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};
