#pragma once
// What a rich hint shows: a title, lines of notes and a picture.

#include <memory>

#include "controls/GDIPicture.h"
#include "platform/rtl/Classes.h"

class TAdvHintInfo : public TPersistent {
public:
  TAdvHintInfo();
  ~TAdvHintInfo() override;
  String ClassName() const override { return u"TAdvHintInfo"; }

  // Only from another TAdvHintInfo; other sources change nothing and raise nothing.
  void Assign(TPersistent* Source) override;
  // No title and no notes text; the picture, the wide texts and ShowHelp do not count.
  bool IsEmpty() const;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  TStringList* Notes() const { return FNotes.get(); }
  // Copies the lines of Value.
  void SetNotes(TStrings* Value) { FNotes->Assign(Value); }
  TGDIPPicture* Picture() const { return FPicture.get(); }
  // Copies Value into the hint's own picture.
  void SetPicture(TGDIPPicture* Value) { FPicture->Assign(Value); }
  bool ShowHelp() const { return FShowHelp; }
  void SetShowHelp(bool Value) { FShowHelp = Value; }
  const String& WideTitle() const { return FWideTitle; }
  void SetWideTitle(const String& Value) { FWideTitle = Value; }
  const String& WideNotes() const { return FWideNotes; }
  void SetWideNotes(const String& Value) { FWideNotes = Value; }

private:
  std::unique_ptr<TGDIPPicture> FPicture;
  bool FShowHelp = false;
  std::unique_ptr<TStringList> FNotes;
  String FTitle;
  String FWideTitle;
  String FWideNotes;
};
