// The cell graphic record and the grid's helper persistents: node look, size while typing,
// column sizes, HTML and print settings.

#include "grid/AdvObj.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Controls.h"

// ---------------------------------------------------------------------------
// TCellGraphic: ownership

TCellGraphic::~TCellGraphic() { ReleaseOwned(); }

bool TCellGraphic::OwnsObject() const {
  if (!FCellBitmap) return false;
  switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
      return FCellCreated;
    case ctImages:
    case ctBalloon:
      return true;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
      return FCellAngle == 1;  // a balloon's list
    default:
      return false;
  }
}

bool TCellGraphic::OwnsIcon() const { return FCellIcon && FCellType == ctIcon && FCellCreated; }

void TCellGraphic::ReleaseOwned(const TObject* Keep) {
  std::unique_ptr<TObject> object(OwnsObject() && FCellBitmap != Keep ? FCellBitmap : nullptr);
  std::unique_ptr<TIcon> icon(OwnsIcon() && FCellIcon != Keep ? FCellIcon : nullptr);
  FCellBitmap = nullptr;
  FCellIcon = nullptr;
}

void TCellGraphic::Become(TCellType Kind, TCellHAlign hal, TCellVAlign val, const TObject* Keep) {
  ReleaseOwned(Keep);
  FCellType = Kind;
  FCellHAlign = hal;
  FCellVAlign = val;
}

void TCellGraphic::PutObject(TObject* Value) {
  if (Value == FCellBitmap) return;
  std::unique_ptr<TObject> old(OwnsObject() ? FCellBitmap : nullptr);
  FCellBitmap = Value;
}

void TCellGraphic::SetCellIcon(TIcon* Value) {
  if (Value == FCellIcon) return;
  std::unique_ptr<TIcon> old(OwnsIcon() ? FCellIcon : nullptr);
  FCellIcon = Value;
}

void TCellGraphic::SetCellType(TCellType Value) {
  if (Value == FCellType) return;
  // What the old kind owned goes; references it did not own stay for the new kind.
  if (OwnsObject()) PutObject(nullptr);
  if (OwnsIcon()) SetCellIcon(nullptr);
  FCellType = Value;
}

void TCellGraphic::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCellGraphic*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  ReleaseOwned();
  FCellType = Src->FCellType;
  FCellHAlign = Src->FCellHAlign;
  FCellVAlign = Src->FCellVAlign;
  FCellIndex = Src->FCellIndex;
  FCellTransparent = Src->FCellTransparent;
  FCellValue = Src->FCellValue;
  FCellAngle = Src->FCellAngle;
  FCellBoolean = Src->FCellBoolean;
  FCellErrFrom = Src->FCellErrFrom;
  FCellErrLen = Src->FCellErrLen;
  FCellText = Src->FCellText;
  FCellCreated = Src->FCellCreated;
}

// ---------------------------------------------------------------------------
// TCellGraphic: kinds

void TCellGraphic::SetInterfacedCell(TPersistent* AObject) {
  Become(ctInterface, FCellHAlign, FCellVAlign, AObject);
  FCellBitmap = AObject;
  FCellCreated = false;
}

void TCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
  bool kept = ABmp && ABmp == FCellBitmap && OwnsObject();
  Become(ctBitmap, hal, val, ABmp);
  FCellBitmap = ABmp;
  FCellTransparent = Transparent;
  FCellCreated = kept;
}

void TCellGraphic::SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val) {
  Become(ctButton, hal, val);
  FCellIndex = static_cast<int32_t>((static_cast<uint32_t>(bh) << 16) | (static_cast<uint32_t>(bw) & 0xFFFF));
  FCellBoolean = false;
  FCellText = Caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
  bool kept = Glyph && Glyph == FCellBitmap && OwnsObject();
  ReleaseOwned(Glyph);
  SetButton(bw, bh, Caption, hal, val);
  FCellType = ctBitButton;
  FCellBitmap = Glyph;
  FCellCreated = kept;
}

void TCellGraphic::SetPictureKind(TCellType Kind, TObject* APicture, bool Transparent, TStretchMode StretchMode,
                                  int Padding, TCellHAlign hal, TCellVAlign val) {
  bool kept = APicture && APicture == FCellBitmap && OwnsObject();
  Become(Kind, hal, val, APicture);
  FCellBitmap = APicture;
  FCellTransparent = Transparent;
  FCellAngle = StretchMode;
  FCellIndex = Padding;
  FCellCreated = kept;
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                              TCellHAlign hal, TCellVAlign val) {
  SetPictureKind(ctPicture, APicture, Transparent, StretchMode, Padding, hal, val);
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign hal, TCellVAlign val) {
  SetPictureKind(ctFilePicture, APicture, Transparent, StretchMode, Padding, hal, val);
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Become(Data ? ctDataCheckBox : ctCheckBox, hal, val);
  FCellAngle = 0;
  FCellBoolean = Value;
  FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Become(ctTriStateCheckBox, hal, val);
  FCellCheckBoxState = State;
  FCellBoolean = false;
  FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Become(ctRadioButton, hal, val);
  FCellAngle = 0;
  FCellBoolean = Value;
  FCellTransparent = Flat;
}

void TCellGraphic::SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val) {
  bool kept = aicon && aicon == FCellIcon && OwnsIcon();
  Become(ctIcon, hal, val, aicon);
  FCellIcon = aicon;
  FCellCreated = kept;
}

void TCellGraphic::SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val) {
  Become(ctDataImage, hal, val);
  FCellIndex = Idx;
}

void TCellGraphic::SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val) {
  Become(ctImageList, hal, val);
  FCellIndex = Idx;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier) {
  Become(ctImages, hal, val);
  auto list = std::make_unique<TIntList>(Col, Row);
  list->OnChange = std::move(Notifier);
  FCellBitmap = list.release();  // owned by the graphic from here on (ctImages)
  FCellBoolean = dir == 0;
  FCellCreated = true;
}

void TCellGraphic::SetAngle(int16_t AAngle) {
  Become(ctRotated, FCellHAlign, FCellVAlign);
  int angle = AAngle;
  while (angle < 0) angle += 360;
  while (angle > 360) angle -= 360;
  FCellAngle = angle;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool /*hastext*/) const {
  int W = 0, H = 0;
  if (FCellType == ctPicture) {
    auto* p = CellPicture();
    if (!p) return {};
    W = p->Width();
    H = p->Height();
  } else if (FCellType == ctFilePicture) {
    auto* p = CellFilePicture();
    if (!p) return {};
    W = p->Width();
    H = p->Height();
  } else {
    return {};
  }
  const int roomW = cw - FCellIndex;
  const int roomH = rh - FCellIndex;
  const bool fits = W <= roomW && H <= roomH;
  // Scales by the smaller ratio so that the picture keeps its aspect.
  auto aspect = [&](bool capAtOne) {
    double rx = W < 1 ? 1.0 : double(roomW) / W;
    double ry = H < 1 ? 1.0 : double(roomH) / H;
    if (capAtOne) {
      rx = std::min(rx, 1.0);
      ry = std::min(ry, 1.0);
    }
    if (rx >= ry) return TPoint(static_cast<int32_t>(std::lrint(W * ry)), roomH);
    return TPoint(roomW, static_cast<int32_t>(std::lrint(H * rx)));
  };
  switch (static_cast<TStretchMode>(FCellAngle)) {
    case Stretch:
      return {roomW, roomH};
    case StretchWithAspectRatio:
      return aspect(false);
    case Shrink:
      return fits ? TPoint(W, H) : TPoint(roomW, roomH);
    case ShrinkWithAspectRatio:
      return fits ? TPoint(W, H) : aspect(true);
    default:
      return {W, H};
  }
}

// ---------------------------------------------------------------------------
// TCellNode

TCellNode::TCellNode(TControl* AOwner)
    : FOwner(AOwner), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()) {}

TCellNode::~TCellNode() = default;

template <class T>
void TCellNode::StoreAndRepaint(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  if (FOwner) FOwner->Invalidate();
}

void TCellNode::SetNodeType(TNodeType Value) { StoreAndRepaint(FNodeType, Value); }
void TCellNode::SetNodeIndent(int Value) { StoreAndRepaint(FNodeIndent, Value); }
void TCellNode::SetShowTree(bool Value) { StoreAndRepaint(FShowTree, Value); }
void TCellNode::SetShowTreeFull(bool Value) { StoreAndRepaint(FShowTreeFull, Value); }
void TCellNode::SetTreeColor(TColor Value) { StoreAndRepaint(FTreeColor, Value); }

namespace {

// Copies Value into the owned bitmap; nothing given empties it.
void CopyBitmap(std::unique_ptr<TBitmap>& Owned, TBitmap* Value) {
  if (Value == Owned.get()) return;
  if (Value)
    Owned->Assign(Value);
  else
    Owned = std::make_unique<TBitmap>();
}

void CopyFont(TFont& Owned, TFont* Value) {
  if (Value) Owned.Assign(Value);
}

}  // namespace

void TCellNode::SetExpandGlyph(TBitmap* Value) { CopyBitmap(FExpandGlyph, Value); }
void TCellNode::SetContractGlyph(TBitmap* Value) { CopyBitmap(FContractGlyph, Value); }

void TCellNode::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCellNode*>(Source);
  if (!Src || Src == this) return;
  FColor = Src->FColor;
  FExpandOne = Src->FExpandOne;
  FNodeType = Src->FNodeType;
  FNodeColor = Src->FNodeColor;
  FNodeIndent = Src->FNodeIndent;
  FExpandGlyph->Assign(Src->FExpandGlyph.get());
  FContractGlyph->Assign(Src->FContractGlyph.get());
  FShowTree = Src->FShowTree;
  FShowTreeFull = Src->FShowTreeFull;
  FTreeColor = Src->FTreeColor;
}

// ---------------------------------------------------------------------------
// TSizeWhileTyping, TColumnSize, THTMLSettings

void TSizeWhileTyping::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TSizeWhileTyping*>(Source);
  if (!Src) return;
  FHeight = Src->FHeight;
  FWidth = Src->FWidth;
}

void TColumnSize::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TColumnSize*>(Source);
  if (!Src) return;
  TCOLUMNSIZE_STORED(ADVOBJ_COPY)
  FStretch = Src->FStretch;
}

void TColumnSize::SetStretch(bool Value) {
  FStretch = Value;
  auto* grid = dynamic_cast<TControl*>(FOwner);
  if (grid && grid->Parent() && OnStretch) OnStretch(this);
}

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(0, 0)) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<THTMLSettings*>(Source);
  if (!Src) return;
  THTMLSETTINGS_STORED(ADVOBJ_COPY)
}

// ---------------------------------------------------------------------------
// TPrintSettings

TPrintSettings::TPrintSettings(TComponent* AGrid)
    : FGrid(AGrid),
      FTitleLines(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()),
      FFixedFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()) {}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TPrintSettings*>(Source);
  if (!Src) throw EInvalidCast(u"Invalid class typecast");
  if (Src == this) return;
  TPRINTSETTINGS_STORED(ADVOBJ_COPY)
  FTitleLines->Assign(*Src->FTitleLines);
  FFont->Assign(Src->FFont.get());
  FFixedFont->Assign(Src->FFixedFont.get());
  FHeaderFont->Assign(Src->FHeaderFont.get());
  FFooterFont->Assign(Src->FFooterFont.get());
}

void TPrintSettings::SetTitleLines(TStrings* Value) {
  if (Value)
    FTitleLines->Assign(*Value);
  else
    FTitleLines->Clear();
}

void TPrintSettings::SetFont(TFont* Value) { CopyFont(*FFont, Value); }
void TPrintSettings::SetFixedFont(TFont* Value) { CopyFont(*FFixedFont, Value); }
void TPrintSettings::SetHeaderFont(TFont* Value) { CopyFont(*FHeaderFont, Value); }
void TPrintSettings::SetFooterFont(TFont* Value) { CopyFont(*FFooterFont, Value); }
