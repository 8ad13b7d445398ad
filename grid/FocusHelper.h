#pragma once
// Whether a grid shows the focus glow around the cell whose editor opens.

#include "platform/rtl/Component.h"

class TFocusHelper : public TPersistent {
public:
  explicit TFocusHelper(TComponent* AOwner) : FOwner(AOwner) {}
  String ClassName() const override { return u"TFocusHelper"; }
  void Assign(TPersistent* Source) override {
    if (auto* s = dynamic_cast<TFocusHelper*>(Source)) FEnabled = s->FEnabled;
    else TPersistent::Assign(Source);
  }
  TComponent* Owner() const { return FOwner; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }

private:
  TComponent* FOwner;
  bool FEnabled = false;
};
