#pragma once
// The grid's rich edit: the hidden renderer that measures and converts rich text cells, and
// the in-place rich text editor. It belongs to a DEreDuzeroVaro (any other owner raises
// EInvalidCast) and remembers the size its content last asked for.

#include "platform/ui/RichEdit.h"

class DEreDuzeroVaro;

class TAdvRichEdit : public TCustomRichEdit {
public:
  explicit TAdvRichEdit(TComponent* AOwner);
  String ClassName() const override { return u"TAdvRichEdit"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }
  // Makes the window again (the text stays).
  void ReCreate();
  // The selection's character offset: -40 twips (subscript), +40 (superscript) or 0.
  void SelNormal() { SetSelOffset(0); }
  void SelSubscript() { SetSelOffset(-40); }
  void SelSuperscript() { SetSelOffset(40); }
  bool IsSelNormal() { return SelOffset() == 0; }
  bool IsSelSubscript() { return SelOffset() == -40; }
  bool IsSelSuperscript() { return SelOffset() == 40; }
  // While locked, size requests do not grow the row being edited.
  void LockResize() { FLocked = true; }
  void UnlockResize() { FLocked = false; }
  bool Locked() const { return FLocked; }
  // The size (pixels) the content last asked for.
  int ReqWidth() const { return FReqWidth; }
  int ReqHeight() const { return FReqHeight; }

protected:
  void RequestSize(const TRect& Rect) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  // The in-place editor losing the focus to its grid ends the edit.
  void WMKillFocus(TWMKillFocus& Message) override;

private:
  void SetSelOffset(LONG Twips);
  LONG SelOffset();
  DEreDuzeroVaro* FGrid;
  int FReqWidth = 0, FReqHeight = 0;
  bool FLocked = false;
};
