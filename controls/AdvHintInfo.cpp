#include "controls/AdvHintInfo.h"

TAdvHintInfo::TAdvHintInfo() : FPicture(std::make_unique<TGDIPPicture>()), FNotes(std::make_unique<TStringList>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

void TAdvHintInfo::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvHintInfo*>(Source);
  if (src == nullptr || src == this) return;
  FTitle = src->FTitle;
  FNotes->Assign(src->FNotes.get());
  FShowHelp = src->FShowHelp;
  FPicture->Assign(src->FPicture.get());
  FWideTitle = src->FWideTitle;
  FWideNotes = src->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const { return FNotes->Text().empty() && FTitle.empty(); }
