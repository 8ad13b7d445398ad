#pragma once
// The base of the components that check and correct the text of grid cells. A grid holding a
// checker asks it to correct and to mark errors in a cell's text when editing ends (AutoCorrect,
// AutoMarkError) and for each cell of a range it checks (UseCorrect, UseMarkError, with
// StartCheck before and StopCheck after the range). A concrete checker overrides the four
// virtual operations; this base changes no text.

#include "platform/rtl/Component.h"

class DEreDuzeroVaroCheck : public TComponent {
public:
  explicit DEreDuzeroVaroCheck(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return u"DEreDuzeroVaroCheck"; }

  // The text of the cell at ACol, ARow with its errors marked; the base gives s unchanged.
  virtual String MarkError(int ACol, int ARow, const String& s);
  // The corrected text of the cell at ACol, ARow; the base gives s unchanged.
  virtual String Correct(int ACol, int ARow, const String& s);
  // Called once before and once after a range of cells is checked; the base does nothing.
  virtual void StartCheck();
  virtual void StopCheck();

  // While checking a range, each checked cell becomes the current cell, and the cell current
  // before is current again afterwards.
  bool GotoCell() const { return FGotoCell; }
  void SetGotoCell(bool Value) { FGotoCell = Value; }
  // An edited cell's text is corrected when editing ends.
  bool AutoCorrect() const { return FAutoCorrect; }
  void SetAutoCorrect(bool Value) { FAutoCorrect = Value; }
  // Errors in an edited cell's text are marked when editing ends.
  bool AutoMarkError() const { return FAutoMarkError; }
  void SetAutoMarkError(bool Value) { FAutoMarkError = Value; }
  // A range check applies Correct, and MarkError.
  bool UseCorrect() const { return FUseCorrect; }
  void SetUseCorrect(bool Value) { FUseCorrect = Value; }
  bool UseMarkError() const { return FUseMarkError; }
  void SetUseMarkError(bool Value) { FUseMarkError = Value; }

private:
  bool FGotoCell = false;
  bool FAutoCorrect = false;
  bool FAutoMarkError = false;
  bool FUseCorrect = false;
  bool FUseMarkError = false;
};
