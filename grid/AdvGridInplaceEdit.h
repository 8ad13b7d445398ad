#pragma once
// The string grid's own in-place text editor, laid over the current cell for the text editor
// kinds (edNormal, edNumeric, edPositiveNumeric, edFloat, edPositiveFloat, edCapital,
// edMixedCase, edPassword, edLowerCase, edUpperCase, edValidChars). The grid creates it once
// (CreateEditor) and the base grid loads, places, shows and hides it.
//
// On top of the base grid's editor it filters typed and pasted characters by the cell's editor
// kind, completes the text from the grid's LookupItems while typing, validates the text through
// the grid before Enter, Tab, an arrow key or a focus loss leaves the cell, puts the cached cell
// text back on Escape, walks to the neighbouring cell from the text's edges (CursorWalkEditor),
// right-aligns and hides password text by window style, and puts the caret at the clicked
// character when editing starts with a click.

#include "grid/BaseGrid.h"
#include "platform/ui/Grids.h"

class DEreDuzeroVaro;

class TAdvInplaceEdit : public TInplaceEdit {
public:
  explicit TAdvInplaceEdit(TComponent* AOwner);
  String ClassName() const override { return u"TAdvInplaceEdit"; }

  // Right-aligned text; a change makes the window again so that its style applies.
  bool VAlign() const { return FValign; }
  void SetVAlign(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Most characters the editor holds; below 1 no limit. Taken from the grid's MaxEditLength when
  // the window is made and on every focus gain.
  int LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int Value) { FLengthLimit = Value; }
  // Lookup completion: with the grid's Lookup set, the first LookupItems entry that starts with
  // the text before the caret completes it, the completed part selected.
  void DoChange();
  // The cell the editor took its text from.
  int EditCol() const { return FColE; }
  int EditRow() const { return FRowE; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void UpdateContents() override;
  void BoundsChanged() override;
  void TypeFirstChar(Char Key) override;
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void WMChar(TWMKey& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMKeyUp(TWMKey& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void CMWantSpecialKey(TWMKey& Message) override;

private:
  // What the character filter makes of a typed character: the character to insert (possibly
  // re-cased) or 0 to drop it; Beep is set when the drop is a refusal.
  Char FilterChar(Char Key, uint32_t KeyData, bool& Beep, bool& Default);
  // Inserts an accepted character: re-cases the whole text for edMixedCase.
  void InsertAccepted(Char Key);
  void DoPaste();
  // The line of the caret and the number of lines of the text.
  int CaretLine() const;
  int LineCount() const;
  // After a refused validation: the grid's corrected text, the caret or selection back.
  void RestoreAfterRefusal(const String& Saved, int TextLength);
  TEditorType Kind() const;
  // With SizeWhileTyping: the column (Width) and the word-wrapped row (Height) grow to the text.
  void GrowWithText();
  // Ctrl+Enter or Shift+Enter with SizeWhileTyping.Height in multi-line cells: the row gets room
  // for the text's lines and the one the key starts.
  void GrowByLineBreak();

  int FSelKeyDown = 0;
  int FOldSelStart = 0;
  // 32-bit, so that a MaxEditLength beyond 32767 still limits.
  int FLengthLimit = 0;
  bool FValign = false;
  bool FWordWrap = false;
  bool GotKey = false;
  bool FGotFocus = false;
  bool Workmode = true;
  DEreDuzeroVaro* FGrid = nullptr;
  int FColE = -1, FRowE = -1;
  bool FAltBack = false;
  bool FEnterRefused = false;  // Enter was refused by validation at its key-down
};
