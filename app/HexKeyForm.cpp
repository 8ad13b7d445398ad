#include "app/HexKeyForm.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

THexKeyForm1* HexKeyForm1 = nullptr;

namespace {

constexpr int LastColumn = 255;
const Char Samples[] = {u'@', u'D', u'T', u'0', u'1', u'!'};

TVrDemoButton* Button(THexKeyForm1* Form, const String& Name, const String& Caption, int Left, int Top, int Width,
                      std::function<void()> OnClick) {
  auto* b = Make<TVrDemoButton>(Form, Form, Name, Left, Top, Width, 28);
  b->SetCaption(Caption);
  b->OnClick = [OnClick](TObject*) { OnClick(); };
  return b;
}

}  // namespace

THexKeyForm1::THexKeyForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"HexKeyForm1");
  SetCaption(u"バイナリーコード送信フォーム");
  SetBorderStyle(bsSingle);
  SetPosition(poScreenCenter);
  SetClientWidth(640);
  SetClientHeight(400);
  OnCreate = [this](TObject* s) { FormCreate(s); };

  StringGrid1 = Make<TStringGrid>(this, this, u"StringGrid1", 8, 8, 624, 86);
  StringGrid1->SetDefaultColWidth(28);
  StringGrid1->SetDefaultRowHeight(20);
  StringGrid1->SetColCount(LastColumn + 1);
  StringGrid1->SetRowCount(3);
  StringGrid1->SetFixedRows(2);
  StringGrid1->SetColWidths(0, 40);
  StringGrid1->SetScrollBars(ssHorizontal);
  StringGrid1->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { StringGrid1SelectCell(s, c, r, can); };

  KeyButtons = MakeKeyPad(this, this, 8, 104, [this](Char d) { KeyClick(d); });
  AbNumEdit1 = Make<TAbNumEdit>(this, this, u"AbNumEdit1", 168, 104, 80, 24);
  AbNumEdit2 = Make<TAbNumEdit>(this, this, u"AbNumEdit2", 168, 134, 80, 24);
  for (TAbNumEdit* edit : {AbNumEdit1, AbNumEdit2}) {
    edit->SetEditBase(ebInt);
    edit->SetReadOnly(true);
    edit->SetAlignment(taRightJustify);
  }
  RadioGroup1 = Make<TRadioGroup>(this, this, u"RadioGroup1", 256, 100, 160, 44);
  RadioGroup1->SetCaption(u"Mode");
  RadioGroup1->SetColumns(2);
  RadioGroup1->Items()->AddStrings({u"Hex", u"Decimal"});
  RadioGroup1->SetItemIndex(0);
  RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
  EntryClearButton = Button(this, u"EntryClearButton", u"C", 256, 150, 40, [this] { EntryClearButtonClick(this); });
  WriteButton = Button(this, u"WriteButton", u"入力", 300, 150, 56, [this] { WriteButtonClick(this); });
  ZeroButton = Button(this, u"ZeroButton", u"00", 360, 150, 56, [this] { ZeroButtonClick(this); });

  LeftButton = Button(this, u"LeftButton", u"←", 168, 188, 56, [this] { LeftButtonClick(this); });
  RightButton = Button(this, u"RightButton", u"→", 228, 188, 56, [this] { RightButtonClick(this); });
  DeleteButton = Button(this, u"DeleteButton", u"削除", 288, 188, 60, [this] { DeleteButtonClick(this); });
  ClearButton = Button(this, u"ClearButton", u"全ｸﾘｱ", 352, 188, 64, [this] { ClearButtonClick(this); });

  auto* sampleCaption = Make<TLabel>(this, this, u"Label2", 168, 228, 120, 16);
  sampleCaption->SetCaption(u"ｻﾝﾌﾟﾙ文字");
  for (int i = 0; i < 6; ++i) {
    Char c = Samples[i];
    SampleButtons[i] = Button(this, u"SampleButton" + IntToStr(i + 1), String(1, c), 168 + i * 42, 246, 38,
                              [this, c] { SampleButtonClick(c); });
  }

  Label1 = Make<TLabel>(this, this, u"Label1", 168, 296, 80, 16);
  Label1->SetCaption(u"ﾃﾞｰﾀｻｲｽﾞ");
  Edit1 = Make<TEdit>(this, this, u"Edit1", 168, 314, 80, 24);
  Edit1->SetReadOnly(true);
  SendButton = Button(this, u"SendButton", u"送信", 256, 310, 160, [this] { SendButtonClick(this); });
  WithHint(SendButton, u"設定したﾃﾞｰﾀを送信します。");

  ValueListEditor1 = Make<TValueListEditor>(this, this, u"ValueListEditor1", 432, 104, 200, 288);
  WithHint(ValueListEditor1, u"ASCIIコード表");
  ValueListEditor1->SetColWidths(0, 90);
  ValueListEditor1->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect,
                                            goThumbTracking});
  ValueListEditor1->OnDblClick = [this](TObject* s) { ValueListEditor1DblClick(s); };
  EndLoading();
}

THexKeyForm1::~THexKeyForm1() { Destroying(); }

void THexKeyForm1::FormCreate(TObject*) {
  AbNumEdit1->SetValue(0);
  AbNumEdit2->SetValue(0);
  for (int c = 1; c <= LastColumn; ++c) StringGrid1->SetCells(c, 0, IntToStr(c));
  StringGrid1->SetCells(0, 1, u"文字");
  StringGrid1->SetCells(0, 2, u"HEX");
  for (int i = 0; i < 6; ++i) {
    StringGrid1->SetCells(i + 1, 1, String(1, Samples[i]));
    StringGrid1->SetCells(i + 1, 2, IntToHex(static_cast<int32_t>(Samples[i]), 2));
  }
  Edit1->SetText(u"6");
  for (int n = 0; n <= 255; ++n)
    ValueListEditor1->InsertRow(IntToStr(n) + u": " + String(1, static_cast<Char>(n)), IntToHex(n, 2), true);
  ValueListEditor1->SetScrollBars(ssVertical);
  // The table's first row (the grid's row under the titles).
  ValueListEditor1->SetRow(ValueListEditor1->FixedRows());
}

// ---- Key pad

void THexKeyForm1::KeyClick(Char Digit) {
  if (Entry.Append(Digit)) ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

void THexKeyForm1::RadioGroup1Click(TObject*) {
  Entry.SetHex(RadioGroup1->ItemIndex() != 1);
  ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

void THexKeyForm1::EntryClearButtonClick(TObject*) {
  Entry.Clear();
  ShowKeyPadEntry(Entry, AbNumEdit1, AbNumEdit2, KeyButtons);
}

// ---- The code row

int THexKeyForm1::DataSize() const {
  int n = 0;
  while (n < LastColumn && !StringGrid1->Cells(n + 1, 2).empty()) ++n;
  return n;
}

void THexKeyForm1::ShowDataSize() { Edit1->SetText(IntToStr(DataSize())); }

void THexKeyForm1::StringGrid1SelectCell(TObject*, int ACol, int, bool& CanSelect) {
  // The current column never passes the first empty one, so the codes stay without gaps.
  CanSelect = ACol <= DataSize() + 1;
}

void THexKeyForm1::WriteCode(int Code) {
  int col = StringGrid1->Col();
  StringGrid1->SetCells(col, 1, String(1, static_cast<Char>(Code)));
  StringGrid1->SetCells(col, 2, IntToHex(Code, 2));
  if (col < LastColumn) StringGrid1->SetCol(col + 1);
  ShowDataSize();
}

void THexKeyForm1::WriteButtonClick(TObject*) {
  if (Entry.Text().empty()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  WriteCode(static_cast<int>(Entry.Value()));
}

void THexKeyForm1::ZeroButtonClick(TObject*) { WriteCode(0); }
void THexKeyForm1::SampleButtonClick(Char Sample) { WriteCode(Sample); }

void THexKeyForm1::ValueListEditor1DblClick(TObject*) {
  int row = ValueListEditor1->Row();
  if (row >= 1 && row <= ValueListEditor1->ItemCount()) WriteCode(row - 1);
}

void THexKeyForm1::LeftButtonClick(TObject*) {
  if (StringGrid1->Col() > 1) StringGrid1->SetCol(StringGrid1->Col() - 1);
}

void THexKeyForm1::RightButtonClick(TObject*) {
  if (StringGrid1->Col() < LastColumn) StringGrid1->SetCol(StringGrid1->Col() + 1);
}

void THexKeyForm1::DeleteButtonClick(TObject*) {
  // The pairs after the current column move one column back.
  int size = DataSize();
  for (int c = StringGrid1->Col(); c <= size; ++c) {
    StringGrid1->SetCells(c, 1, StringGrid1->Cells(c + 1, 1));
    StringGrid1->SetCells(c, 2, StringGrid1->Cells(c + 1, 2));
  }
  if (StringGrid1->Col() > DataSize() + 1) StringGrid1->SetCol(DataSize() + 1);
  ShowDataSize();
}

void THexKeyForm1::ClearButtonClick(TObject*) {
  for (int c = 1; c <= LastColumn; ++c) {
    StringGrid1->SetCells(c, 1, String());
    StringGrid1->SetCells(c, 2, String());
  }
  StringGrid1->SetCol(1);
  ShowDataSize();
}

void THexKeyForm1::SendButtonClick(TObject*) {
  String text;
  for (int c = 1, size = DataSize(); c <= size; ++c) text.push_back(static_cast<Char>(StrToInt(u"$" + StringGrid1->Cells(c, 2))));
  if (text.empty()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  MainForm->CommandOut(1, text);
}
