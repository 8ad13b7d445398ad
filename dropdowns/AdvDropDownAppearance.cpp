// Settings of the header and footer bars, their button descriptions and the buttons' colours.

#include "dropdowns/AdvDropDown.h"

// ---------------------------------------------------------------------------
// Button descriptions

THeaderButton::THeaderButton(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderButton::SetCaption(const String& v) {
  if (v == FCaption) return;
  FCaption = v;
  Changed(false);
}

void THeaderButton::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed(false);
}

void THeaderButton::SetWidth(int v) {
  if (v == FWidth) return;
  FWidth = v;
  Changed(false);
}

void THeaderButton::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<THeaderButton*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetCaption(src->FCaption);
  SetImageIndex(src->FImageIndex);
  SetEnabled(src->FEnabled);
  SetWidth(src->FWidth);
  SetHeight(src->FHeight);
}

void TFooterButton::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFooterButton*>(Source);
  if (src == nullptr) {
    THeaderButton::Assign(Source);
    return;
  }
  SetCaption(src->FCaption);
  SetImageIndex(src->FImageIndex);
  SetModalResult(src->FModalResult);
  SetEnabled(src->FEnabled);
  SetWidth(src->FWidth);
  SetHeight(src->FHeight);
}

THeaderButtons::THeaderButtons(TPersistent* AOwner)
    : TOwnedCollection(AOwner, ItemClassOf<THeaderButton>()), FMyOwner(AOwner) {}

void THeaderButtons::Update(TCollectionItem* Item) {
  TOwnedCollection::Update(Item);
  if (OnChange) OnChange(this);
}

TFooterButtons::TFooterButtons(TPersistent* AOwner) : TCollection(ItemClassOf<TFooterButton>()), FMyOwner(AOwner) {}

void TFooterButtons::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// Bar appearances

TBarAppearance::TBarAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {}

void TBarAppearance::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (OnChange) OnChange(this);
}

void TBarAppearance::ButtonsChanged() {
  if (OnButtonsChanged) OnButtonsChanged(this);
}

void TBarAppearance::AssignBar(const TBarAppearance& Source) {
  FColorTo = Source.FColorTo;
  FColor = Source.FColor;
  FBorderColor = Source.FBorderColor;
  FCaption = Source.FCaption;
  FFont->Assign(Source.FFont.get());
  FImageIndex = Source.FImageIndex;
  FBorderWidth = Source.FBorderWidth;
  FGradientDirection = Source.FGradientDirection;
  FHeight = Source.FHeight;
  SetVisible(Source.FVisible);
  FButtonAlignment = Source.FButtonAlignment;
}

void TBarAppearance::AssignColors(TPersistent* Source) {
  auto* src = dynamic_cast<TBarAppearance*>(Source);
  if (src == nullptr || typeid(*src) != typeid(*this)) return;
  FColorTo = src->FColorTo;
  FColor = src->FColor;
  FBorderColor = src->FBorderColor;
  FFont->Assign(src->FFont.get());
  FGradientDirection = src->FGradientDirection;
}

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : TBarAppearance(AOwner), FButtons(std::make_unique<THeaderButtons>(AOwner)) {
  FFont->SetName(u"Tahoma");
  FButtons->OnChange = [this](TObject*) { ButtonsChanged(); };
}

void THeaderAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<THeaderAppearance*>(Source);
  if (src == nullptr) return;
  AssignBar(*src);
  FButtons->Assign(src->FButtons.get());
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : TBarAppearance(AOwner), FButtons(std::make_unique<TFooterButtons>(AOwner)) {
  FButtons->OnChange = [this](TObject*) { ButtonsChanged(); };
}

void TFooterAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFooterAppearance*>(Source);
  if (src == nullptr) return;
  AssignBar(*src);
  FButtons->Assign(src->FButtons.get());
  FSizeGrip = src->FSizeGrip;
}

// ---------------------------------------------------------------------------
// Button colours

TAdvButtonAppearance::TAdvButtonAppearance()
    : FBorderColor(clNone),
      FBorderColorHot(0x808080),
      FBorderColorDown(0x800000),
      FBorderColorDisabled(0x808080),
      FBorderColorChecked(0xFF0000),
      FColor(clNone),
      FColorTo(clNone),
      FColorDown(0xF5D8CA),
      FColorDownTo(0xF9BDA0),
      FColorHot(0xF5F0E1),
      FColorHotTo(0xF9D2B2),
      FColorDisabled(0xF2F2F2),
      FColorDisabledTo(clNone),
      FFont(std::make_unique<TFont>()) {
  // The checked colours are the hot ones a tenth darker in red and green.
  FColorChecked = ShadeColor(FColorHot, -10, -10, 0);
  FColorCheckedTo = ShadeColor(FColorHotTo, -10, -10, 0);
  FFont->SetName(u"Tahoma");
}

void TAdvButtonAppearance::Store(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TAdvButtonAppearance::SetGradient(TGradientDirection v) {
  if (v == FGradient) return;
  FGradient = v;
  if (OnChange) OnChange(this);
}

void TAdvButtonAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvButtonAppearance*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  SetColor(src->FColor);
  SetColorTo(src->FColorTo);
  SetColorHot(src->FColorHot);
  SetColorHotTo(src->FColorHotTo);
  SetColorDown(src->FColorDown);
  SetColorDownTo(src->FColorDownTo);
  SetColorChecked(src->FColorChecked);
  SetColorCheckedTo(src->FColorCheckedTo);
  SetColorDisabled(src->FColorDisabled);
  SetColorDisabledTo(src->FColorDisabledTo);
  SetBorderColor(src->FBorderColor);
  SetBorderColorHot(src->FBorderColorHot);
  SetBorderColorDown(src->FBorderColorDown);
  SetBorderColorChecked(src->FBorderColorChecked);
  SetBorderColorDisabled(src->FBorderColorDisabled);
  SetGradient(src->FGradient);
}
