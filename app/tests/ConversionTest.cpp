// The hex-decimal conversion window: each spinner follows the other, the binary line shows
// the value's 32 bits, and the limits hold.
#include "MainWindowFixture.h"

namespace {

String Bits(const char* Groups) { return u" " + UTF8ToString(Groups) + u" "; }

// Replaces the spinner's text as a user does (select all, type) and accepts it with Enter.
void Enter(TAbNumSpin* Spin, const String& Text) {
  SimulateKeyStroke(Spin, 'A', {ssCtrl});
  SimulateTyping(Spin, Text);
  SimulateKeyStroke(Spin, VK_RETURN);
  ProcessPendingEvents();
}

}  // namespace

TEST(BitText, GroupsOfFourMostSignificantFirst) {
  EXPECT_EQ(NibbleToBits(0x5), u"0101");
  EXPECT_EQ(NibbleToBits(0xFA), u"1010");  // the low nibble only
  EXPECT_EQ(ByteToBits(0x9C), u"1001 1100");
  EXPECT_EQ(WordToBits(0x8001), u"1000 0000 0000 0001");
  EXPECT_EQ(LongToBits(0x12345678u), u"0001 0010 0011 0100 0101 0110 0111 1000");
  EXPECT_EQ(LongToBits(0xFFFFFFFFu).size(), 39u);
}

TEST_F(MainWindowTest, ConversionFollowsEitherSpinnerAndHoldsTheLimits) {
  Start();
  AcknowledgeNotice();
  TConversionForm1* f = ConversionForm1;
  EXPECT_EQ(f->AdvEdit1->Text(), Bits("0000 0000 0000 0000 0000 0000 0000 0000"));
  struct Case {
    bool Hex;  // typed into the hexadecimal spinner
    const char16_t* Typed;
    int32_t Dec;
    const char16_t* HexText;
    const char* Groups;
  };
  const Case cases[] = {
      {false, u"255", 255, u"FF", "0000 0000 0000 0000 0000 0000 1111 1111"},
      {false, u"4096", 4096, u"1000", "0000 0000 0000 0000 0001 0000 0000 0000"},
      {false, u"268435455", 268435455, u"FFFFFFF", "0000 1111 1111 1111 1111 1111 1111 1111"},
      {false, u"300000000", 268435455, u"FFFFFFF", "0000 1111 1111 1111 1111 1111 1111 1111"},
      {false, u"0", 0, u"0", "0000 0000 0000 0000 0000 0000 0000 0000"},
      {true, u"ff", 255, u"FF", "0000 0000 0000 0000 0000 0000 1111 1111"},
      {true, u"1000", 4096, u"1000", "0000 0000 0000 0000 0001 0000 0000 0000"},
      {true, u"FFFFFFF", 268435455, u"FFFFFFF", "0000 1111 1111 1111 1111 1111 1111 1111"},
      {true, u"0", 0, u"0", "0000 0000 0000 0000 0000 0000 0000 0000"},
      // An eighth digit does not fit: the entry holds seven.
      {true, u"FFFFFFFF", 268435455, u"FFFFFFF", "0000 1111 1111 1111 1111 1111 1111 1111"},
  };
  OnNextModal([&](const String& Caption) {
    EXPECT_EQ(Caption, u"Hex - Decimal conversion");
    for (const Case& c : cases) {
      SCOPED_TRACE(StringToUTF8(c.Typed) + (c.Hex ? " hex" : " dec"));
      Enter(c.Hex ? f->AbNumSpin5 : f->AbNumSpin4, c.Typed);
      EXPECT_EQ(f->AbNumSpin4->ValueAsInt(), c.Dec);
      EXPECT_EQ(f->AbNumSpin4->Text(), IntToStr(c.Dec));
      EXPECT_EQ(f->AbNumSpin5->Text(), c.HexText);
      EXPECT_EQ(f->AdvEdit1->Text(), Bits(c.Groups));
    }
    // The up arrow at the top stays there.
    SimulateKeyStroke(f->AbNumSpin4, VK_UP);
    ProcessPendingEvents();
    EXPECT_EQ(f->AbNumSpin4->ValueAsInt(), 268435455);
    EXPECT_EQ(f->AbNumSpin5->Text(), u"FFFFFFF");
    Click(f->SpeedButton1);
  });
  Click(M()->VrDemoButton1);
  EXPECT_EQ(Modals->Texts.size(), 1u);
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(f->ModalResult(), mrOk);
}

TEST_F(MainWindowTest, ConversionBinaryLineHasItsLabelOnTheLeft) {
  Start();
  TConversionForm1* f = ConversionForm1;
  TAdvEdit* e = f->AdvEdit1;
  TLabel* label = e->EditLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), u"Bin. ");
  EXPECT_EQ(label->Left() + label->Width() + 6, e->Left());
  // Centred vertically on the edit.
  EXPECT_LE(std::abs((label->Top() + label->Height() / 2) - (e->Top() + e->Height() / 2)), 1);
  EXPECT_EQ(label->Parent(), e->Parent());
  EXPECT_TRUE(e->ReadOnly());
  EXPECT_FALSE(e->TabStop());
  EXPECT_EQ(e->EditAlign(), eaCenter);
  EXPECT_EQ(e->BorderStyle(), bsNone);
  EXPECT_EQ(e->Color(), clBtnFace);
  // The line is drawn in the middle: as much room on its left as on its right.
  e->SetText(u"1111");
  std::unique_ptr<TBitmap> b = RenderControl(e);
  const TColor back = PixelColor(*b, 1, e->Height() / 2);
  int first = -1, last = -1;
  for (int x = 0; x < e->Width(); ++x)
    for (int y = 0; y < e->Height(); ++y)
      if (PixelColor(*b, x, y) != back) {
        if (first < 0) first = x;
        last = x;
      }
  ASSERT_GE(first, 0);
  EXPECT_LE(std::abs(first - (e->Width() - 1 - last)), 3);
  EXPECT_EQ(f->AbNumSpin4->MaxLength(), 9);
  EXPECT_EQ(f->AbNumSpin5->MaxLength(), 7);
}
