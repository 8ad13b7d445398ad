// The command line's history: lines sent are kept in its list, shown below the line, and
// recalled with the arrow keys or a click, then sent again with Enter.
#include "app/tests/MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, CommandLineRecallsItsHistoryWithTheArrowKeysAndSendsTheRecalledLine) {
  StartConnected();
  ZIviDovevUvi* line = M()->CommandBox1;
  EXPECT_EQ(line->Style(), csSimple);
  EXPECT_EQ(line->Version(), u"1.4.0.0");
  line->SetFocus();
  // Each line waits for the receiver's reply to the one before.
  line->SetText(String());
  SimulateTyping(line, u"VE");
  SimulateKeyStroke(line, VK_RETURN);
  ASSERT_EQ(ReceivedLines(1).size(), 1u);
  ASSERT_TRUE(UntilMemo1Has(u"18\r\n"));
  line->SetText(String());
  SimulateTyping(line, u"RS");
  SimulateKeyStroke(line, VK_RETURN);
  ASSERT_EQ(ReceivedLines(2), (std::vector<std::string>{"VE", "RS"}));
  ASSERT_TRUE(UntilMemo1Has(u"90\r\n"));
  ASSERT_EQ(line->Items()->Count(), 2);

  // Up from a typed text goes to the newest entry, then to the one before; Down comes back.
  line->SetText(u"x");
  SimulateKeyStroke(line, VK_UP);
  EXPECT_EQ(line->Text(), u"RS");
  EXPECT_EQ(M()->LabeledEdit3->Text(), u"2");
  SimulateKeyStroke(line, VK_UP);
  EXPECT_EQ(line->Text(), u"VE");
  SimulateKeyStroke(line, VK_UP);
  EXPECT_EQ(line->Text(), u"VE");
  SimulateKeyStroke(line, VK_DOWN);
  EXPECT_EQ(line->Text(), u"RS");
  SimulateKeyStroke(line, VK_UP);

  // The recalled line is sent as it stands; it differs from the last one added, so the
  // history takes it again.
  SimulateKeyStroke(line, VK_RETURN);
  ASSERT_EQ(ReceivedLines(3).back(), "VE");
  ASSERT_TRUE(Until([&] { return Sim->Lines().size() == 3; }));
  ASSERT_EQ(line->Items()->Count(), 3);
  EXPECT_EQ(line->Items()->Strings(2), u"VE");

  // A recalled line can be edited before it is sent.
  SimulateKeyStroke(line, VK_UP);
  EXPECT_EQ(line->Text(), u"VE");
  SimulateKeyStroke(line, VK_END);
  SimulateTyping(line, u" ");
  SimulateKeyStroke(line, VK_RETURN);
  EXPECT_EQ(ReceivedLines(4).back(), "VE ");
}

TEST_F(MainWindowTest, CommandLineShowsLikeTheSimpleComboBoxInItsPanelsColour) {
  Start();
  ZIviDovevUvi* line = M()->CommandBox1;
  EXPECT_TRUE(line->ParentColor());
  EXPECT_EQ(line->Color(), M()->Panel1->Color());
  EXPECT_EQ(line->ButtonWidth(), 18);
  EXPECT_EQ(line->LabelMargin(), 0);
  EXPECT_EQ(line->ComboLabel(), nullptr);
  EXPECT_EQ(line->Font()->Name(), u"ＭＳ ゴシック");
  EXPECT_EQ(line->Font()->Height(), -15);
  EXPECT_EQ(line->Text(), u"MD");
}

}  // namespace
