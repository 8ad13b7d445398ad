#pragma once
// The class library's masked edit: a single-line edit whose text follows an edit mask.
//
// An edit mask has up to three fields separated by ';': the mask itself, whether literal
// characters are saved in Text ('0': no; '1' or left out: yes) and the blank character that
// shows an empty position (default '_'). The mask's characters:
//   L letter required        l letter allowed          0 digit required     9 digit allowed
//   A letter or digit req.   a letter or digit allowed # digit, '+' or '-' allowed
//   C any character req.     c any character allowed
//   > upper-cases the characters after it, < lower-cases them, <> ends either
//   \ the next character is a literal     : and / the time and date separators
//   _ a literal space        ! a value shorter than the mask fills it from the right (its
//                              empty optional positions lead instead of trailing)
//   any other character is a literal.
// EditText is what the edit shows: every position, literals included, empty ones as the blank
// character. Text is the value: the literals only when saved, empty positions as spaces.
//
// While masked, the edit keeps one character per position: typing, pasting, dropping and
// input-method commits overwrite positions from the caret, skipping literals (a literal typed
// where it stands is taken as it); a character a position does not accept is refused with a
// beep and changes nothing. Backspace and Delete empty positions instead of closing them up.
// Escape puts back the text the edit had when it got the focus (when modified). Leaving the
// edit after a change validates it (ValidateEdit). With an empty mask the edit is the class
// library's plain edit in everything (keys, selection, Modified, MaxLength, ReadOnly,
// PasswordChar, CreateParams, RecreateWnd).

#include <memory>

#include "platform/ui/StdCtrls.h"

// The error a masked edit raises for a value its mask does not accept.
RTL_EXCEPTION(EDBEditError, Exception);

// The mask's rendering of Value: the edit text it makes of it with empty positions as spaces.
String FormatMaskText(const String& EditMask, const String& Value);

// A parsed edit mask (Mask.cpp).
struct TEditMaskInfo;

class TCustomMaskEdit : public TCustomEdit {
public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  ~TCustomMaskEdit() override;
  String ClassName() const override { return u"TCustomMaskEdit"; }

  const String& EditMask() const { return FEditMask; }
  // Re-applies the current value (Text) under the new mask.
  void SetEditMask(const String& v);
  bool IsMasked() const;
  // The text as shown, literals and blank characters included (Text when not masked).
  String EditText() const;
  // Takes the text position by position; a character a position does not accept leaves it empty.
  void SetEditText(const String& v);

  // Raises EDBEditError, with the caret on the first position in error, when a masked edit
  // that was modified does not hold every required character.
  virtual void ValidateEdit();
  // Puts back the text the edit had when it last got the focus or was set, when modified.
  void Reset();

  void SetSelText(const String& v) override;

protected:
  // True when Value (an edit text) holds every required character; Pos is the first that
  // does not.
  virtual bool Validate(const String& Value, int& Pos);
  // Beeps and raises the class library's error for an invalid input value.
  void ValidateError();
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  void CreateWnd() override;
  // The window's text survives a new window (RecreateWnd).
  void DestroyWnd() override;
  void ApplySettings() override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void DoEnter() override;
  void CMExit(TMessage& Message) override;

private:
  friend class TMaskValidator;
  // Sets a masked edit text in code: unmodified, and what Reset goes back to.
  void SetCodeText(const String& EditText);
  // Shows Text with the caret at Cursor, as a change made in code.
  void SetMaskedText(const String& Text, int Cursor);
  // Applies a replacement of [Start, End) of the edit text by Inserted as the mask edits it;
  // false when the mask refused it (nothing changed).
  bool ReplaceMasked(int Start, int End, const String& Inserted);
  // Installs the mask's validator, or the plain edit's, on the window.
  void ApplyMaskMode();

  String FEditMask;
  std::unique_ptr<TEditMaskInfo> FMask;
  String FOldValue;        // the edit text Reset puts back
  bool FInMaskSet = false;  // the window's text is being set in code: taken as it is
  bool FReEnter = false;    // the focus comes back after a failed validation
};

class TMaskEdit : public TCustomMaskEdit {
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
  String ClassName() const override { return u"TMaskEdit"; }
};
