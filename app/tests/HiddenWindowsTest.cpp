// The four windows created at start-up and never shown by the tool: what their creation
// leaves behind, and what they do when shown.

#include <set>

#include "MainWindowFixture.h"

namespace {

using HiddenWindowsTest = MainWindowTest;

TEST_F(HiddenWindowsTest, StartUpCreatesTheFourWindowsHiddenWithTheirFirstContents) {
  Start();
  struct Window { TForm* form; const char16_t* caption; };
  for (Window w : {Window{KeyForm1, u"HEX number input panel"}, Window{AssignForm1, u" 送信ｺﾏﾝﾄﾞ自動作成"},
                   Window{HexKeyForm1, u"バイナリーコード送信フォーム"}, Window{OKBottomDlg1, u"Caution !"}}) {
    ASSERT_NE(w.form, nullptr);
    EXPECT_EQ(w.form->Caption(), w.caption);
    EXPECT_FALSE(w.form->Visible()) << StringToUTF8(w.form->Name());
  }
  EXPECT_EQ(AssignForm1->CommandText, u"00");
  EXPECT_EQ(KeyForm1->KeyText(), u"");

  THexKeyForm1* h = HexKeyForm1;
  EXPECT_EQ(h->AbNumEdit1->Value(), 0);
  EXPECT_EQ(h->AbNumEdit2->Value(), 0);
  TStringGrid* g = h->StringGrid1;
  EXPECT_EQ(g->ColCount(), 256);
  EXPECT_EQ(g->RowCount(), 3);
  EXPECT_EQ(g->FixedRows(), 2);
  for (int c : {1, 2, 100, 255}) EXPECT_EQ(g->Cells(c, 0), IntToStr(c));
  EXPECT_EQ(g->Cells(0, 0), u"");
  const char16_t* chars[] = {u"文字", u"@", u"D", u"T", u"0", u"1", u"!", u""};
  const char16_t* codes[] = {u"HEX", u"40", u"44", u"54", u"30", u"31", u"21", u""};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(g->Cells(c, 1), chars[c]) << c;
    EXPECT_EQ(g->Cells(c, 2), codes[c]) << c;
  }
  EXPECT_EQ(h->Edit1->Text(), u"6");

  TValueListEditor* t = h->ValueListEditor1;
  EXPECT_EQ(t->Hint(), u"ASCIIコード表");
  EXPECT_EQ(t->ItemCount(), 256);
  struct Row { int n; String key, value; };
  for (const Row& r : {Row{0, String(u"0: ") + Char(0), u"00"}, Row{61, u"61: =", u"3D"}, Row{65, u"65: A", u"41"},
                       Row{255, String(u"255: ") + Char(255), u"FF"}}) {
    EXPECT_EQ(t->Keys(r.n + 1), r.key);
    EXPECT_EQ(t->Cells(1, r.n + 1), r.value);
  }
  EXPECT_EQ(t->ScrollBars(), ssVertical);
  EXPECT_EQ(t->Row(), 1);  // the table's first row
}

TEST_F(HiddenWindowsTest, KeyPadShowsItsEntryInBothModesAndClosesWithItsResult) {
  Start();
  TKeyForm1* k = KeyForm1;
  k->Show();
  auto press = [&](const String& keys) {
    for (Char d : keys) Click(k->KeyButtons[d <= u'9' ? d - u'0' : d - u'A' + 10]);
  };
  press(u"1F");
  EXPECT_EQ(k->KeyText(), u"1F");
  EXPECT_EQ(k->AbNumEdit1->Text(), u"1F");
  EXPECT_EQ(k->AbNumEdit2->Text(), u"31");
  EXPECT_NE(k->AbNumEdit1->Color(), k->AbNumEdit2->Color());  // the hexadecimal edit is highlighted
  TColor highlighted = k->AbNumEdit1->Color();

  Click(k->RadioGroup1->Buttons(1));  // "Decimal" empties the entry and both edits
  EXPECT_EQ(k->KeyText(), u"");
  EXPECT_EQ(k->AbNumEdit1->Text(), u"");
  EXPECT_EQ(k->AbNumEdit2->Text(), u"");
  EXPECT_EQ(k->AbNumEdit2->Color(), highlighted);
  EXPECT_FALSE(k->KeyButtons[0xA]->Enabled());
  press(u"255");
  EXPECT_EQ(k->AbNumEdit1->Text(), u"255");
  EXPECT_EQ(k->AbNumEdit2->Text(), u"255");
  // The entry never passes what the edits hold.
  press(u"9999999999");
  EXPECT_EQ(k->KeyText(), u"255999999");
  Click(k->ClearButton);
  EXPECT_EQ(k->KeyText(), u"");
  EXPECT_EQ(k->AbNumEdit2->Text(), u"");

  Click(k->OKButton);
  EXPECT_FALSE(k->Visible());
  EXPECT_EQ(k->ModalResult(), mrOk);
  OnNextModal([&](const String& caption) {
    EXPECT_EQ(caption, u"HEX number input panel");
    Click(k->CancelButton);
  });
  EXPECT_EQ(k->ShowModal(), mrCancel);
}

TEST_F(HiddenWindowsTest, GeneratorMakesRepeatedOrSeededRandomTextAndHandsItOver) {
  Start();
  TAssignForm1* a = AssignForm1;
  a->Show();
  EXPECT_EQ(a->TrackBar1->Position(), 10);
  EXPECT_EQ(a->Label1->Caption(), u"0A");
  EXPECT_EQ(a->Label2->Caption(), u"10");
  EXPECT_EQ(a->Label3->Caption(), u"P");
  EXPECT_EQ(a->Label4->Caption(), u"50");
  EXPECT_TRUE(a->LabeledEdit1->ReadOnly());
  EXPECT_EQ(a->LabeledEdit1->Text(), u"00");
  // A styled value display: centred, its label on its left.
  EXPECT_EQ(a->LabeledEdit1->EditAlign(), eaCenter);
  ASSERT_NE(a->LabeledEdit1->EditLabel(), nullptr);
  EXPECT_EQ(a->LabeledEdit1->EditLabel()->Caption(), u"送信ｺﾏﾝﾄﾞ");
  EXPECT_EQ(a->LabeledEdit1->EditLabel()->Left() + a->LabeledEdit1->EditLabel()->Width() + 6, a->LabeledEdit1->Left());
  EXPECT_GE(a->LabeledEdit1->EditLabel()->Left(), 0);

  for (int i = 0; i < 5; ++i) SimulateKeyStroke(a->TrackBar1, VK_LEFT);
  SimulateKeyStroke(a->TrackBar2, VK_RIGHT);
  EXPECT_EQ(a->Label2->Caption(), u"5");
  EXPECT_EQ(a->Label3->Caption(), u"Q");
  Click(a->VrDemoButton1);
  EXPECT_EQ(a->CommandText, u"05QQQQQ");
  EXPECT_EQ(a->LabeledEdit1->Text(), u"05QQQQQ");

  // Random characters are printable (33 to 125); the same seed gives the same text.
  for (int i = 0; i < 5; ++i) SimulateKeyStroke(a->TrackBar1, VK_NEXT);  // page steps up to 255
  ASSERT_EQ(a->TrackBar1->Position(), 85);
  a->SeedRandom(7);
  Click(a->VrDemoButton2);
  String first = a->CommandText;
  ASSERT_EQ(first.size(), 2u + 85u);
  EXPECT_EQ(first.substr(0, 2), u"55");
  for (Char c : first.substr(2)) EXPECT_TRUE(c >= 33 && c <= 125) << int(c);
  EXPECT_GT(std::set<Char>(first.begin() + 2, first.end()).size(), 20u);
  a->SeedRandom(7);
  Click(a->VrDemoButton2);
  EXPECT_EQ(a->CommandText, first);

  // OK hands over the command with the size it was made with, then closes.
  SimulateKeyStroke(a->TrackBar1, VK_LEFT);
  Click(a->VrDemoButton3);
  EXPECT_EQ(AssignedCommand, first);
  EXPECT_EQ(AssignedLength, 85);
  EXPECT_FALSE(a->Visible());
}

TEST_F(HiddenWindowsTest, BinaryWindowEditsItsCodeRowAndSendsItAsOneLine) {
  StartConnected();
  THexKeyForm1* h = HexKeyForm1;
  h->Show();
  TStringGrid* g = h->StringGrid1;
  auto current = [&] { return g->Col(); };
  // The current column moves on to the first empty one, never past it.
  for (int i = 0; i < 7; ++i) Click(h->RightButton);
  EXPECT_EQ(current(), 7);
  Click(h->KeyButtons[0xF]);
  Click(h->KeyButtons[0xF]);
  Click(h->KeyButtons[0x1]);  // a third hexadecimal digit would pass 255
  EXPECT_EQ(h->KeyText(), u"FF");
  Click(h->WriteButton);
  Click(h->ZeroButton);
  EXPECT_EQ(g->Cells(7, 2), u"FF");
  EXPECT_EQ(g->Cells(8, 2), u"00");
  EXPECT_EQ(g->Cells(8, 1), String(1, Char(0)));
  EXPECT_EQ(current(), 9);
  EXPECT_EQ(h->Edit1->Text(), u"8");

  // Decimal entry, a sample character and a double click in the character table.
  Click(h->RadioGroup1->Buttons(1));
  for (int d : {6, 6}) Click(h->KeyButtons[d]);
  EXPECT_EQ(h->AbNumEdit1->Text(), u"66");
  Click(h->WriteButton);
  Click(h->SampleButtons[2]);  // "T"
  TValueListEditor* t = h->ValueListEditor1;
  t->SetTopRow(1 + 'z' - 3);
  TRect row = t->CellRect(0, 1 + 'z');
  SimulateDblClick(t, row.Left + 10, (row.Top + row.Bottom) / 2);
  ProcessPendingEvents();
  EXPECT_EQ(t->Row(), 1 + 'z');
  EXPECT_EQ(g->Cells(9, 1), u"B");
  EXPECT_EQ(g->Cells(10, 1), u"T");
  EXPECT_EQ(g->Cells(11, 1), u"z");
  EXPECT_EQ(g->Cells(11, 2), u"7A");
  EXPECT_EQ(h->Edit1->Text(), u"11");

  // A click on a code makes its column current; delete closes the gap.
  TRect cell = g->CellRect(2, 2);
  SimulateClick(g, cell.Left + 5, cell.Top + 5);
  EXPECT_EQ(current(), 2);
  Click(h->DeleteButton);
  EXPECT_EQ(g->Cells(2, 1), u"T");
  EXPECT_EQ(h->Edit1->Text(), u"10");
  cell = g->CellRect(13, 2);
  SimulateClick(g, cell.Left + 5, cell.Top + 5);  // past the first empty column: refused
  EXPECT_EQ(current(), 2);

  Click(h->SendButton);
  std::vector<std::string> lines = ReceivedLines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string("@T01!\xff") + std::string(1, '\0') + "BTz");

  // Cleared, there is nothing to send.
  Click(h->ClearButton);
  EXPECT_EQ(h->Edit1->Text(), u"0");
  EXPECT_EQ(current(), 1);
  Sim->ClearLines();
  Click(h->SendButton);
  ProcessPendingEvents();
  EXPECT_FALSE(Sim->WaitForLines(1, 300));
}

TEST_F(HiddenWindowsTest, ConfirmationBoxAnswersWithItsButtons) {
  Start();
  TOKBottomDlg1* d = OKBottomDlg1;
  EXPECT_EQ(d->Label1->Caption(), u"初期化します。");
  EXPECT_EQ(d->Label2->Caption(), u"よろしいですか？");
  EXPECT_EQ(d->CancelBtn->Caption(), u"キャンセル");
  OnNextModal([&](const String&) { Click(d->OKBtn); });
  EXPECT_EQ(d->ShowModal(), mrOk);
  OnNextModal([&](const String&) { Click(d->CancelBtn); });
  EXPECT_EQ(d->ShowModal(), mrCancel);
}

}  // namespace
