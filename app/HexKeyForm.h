#pragma once
// The binary-code window: a row of byte codes (row 2 of the data grid, with their characters
// in row 1) entered on a key pad, from sample characters or from the character table, and
// sent as one command line.

#include <array>

#include "app/KeyForm.h"
#include "instruments/AbNumEdit.h"
#include "instruments/VrButtons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ValEdit.h"

class THexKeyForm1 : public TForm {
public:
  explicit THexKeyForm1(TComponent* AOwner);
  ~THexKeyForm1() override;
  String ClassName() const override { return u"THexKeyForm1"; }

  // Column numbers in row 0, characters in row 1, their codes in row 2 (columns 1 to 255).
  TStringGrid* StringGrid1;
  std::array<TVrDemoButton*, 16> KeyButtons{};
  TRadioGroup* RadioGroup1;  // "Mode": Hex, Decimal
  TAbNumEdit* AbNumEdit1;    // the entry in the mode's base
  TAbNumEdit* AbNumEdit2;    // the entry in decimal
  TVrDemoButton* EntryClearButton;
  TVrDemoButton* WriteButton;  // writes the entry
  TVrDemoButton* ZeroButton;   // writes "00"
  TVrDemoButton* LeftButton;
  TVrDemoButton* RightButton;
  TVrDemoButton* DeleteButton;  // removes the current column's pair
  TVrDemoButton* ClearButton;   // removes every pair
  std::array<TVrDemoButton*, 6> SampleButtons{};
  TLabel* Label1;
  TEdit* Edit1;  // data size: the filled columns of row 2
  TVrDemoButton* SendButton;
  TValueListEditor* ValueListEditor1;  // the character table

  // The entry text.
  String KeyText() const { return Entry.Text(); }

  void FormCreate(TObject* Sender);
  void KeyClick(Char Digit);
  void RadioGroup1Click(TObject* Sender);
  void EntryClearButtonClick(TObject* Sender);
  void WriteButtonClick(TObject* Sender);
  void ZeroButtonClick(TObject* Sender);
  void LeftButtonClick(TObject* Sender);
  void RightButtonClick(TObject* Sender);
  void DeleteButtonClick(TObject* Sender);
  void ClearButtonClick(TObject* Sender);
  void SampleButtonClick(Char Sample);
  void ValueListEditor1DblClick(TObject* Sender);
  void SendButtonClick(TObject* Sender);
  void StringGrid1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);

private:
  // Writes a code and its character into the current column and moves one column on.
  void WriteCode(int Code);
  // Filled columns of row 2; they always run from column 1 without a gap.
  int DataSize() const;
  void ShowDataSize();
  TKeyPadEntry Entry{255};
};

extern THexKeyForm1* HexKeyForm1;
