// The operator's keyboard route through the main window: Tab leaves the model list and
// reaches the command buttons, and Space presses the focused one.
#include "MainWindowFixture.h"

TEST_F(MainWindowTest, TabReachesThePortButtonAndSpaceOpensThePort) {
  Start();
  AcknowledgeNotice();
  ChooseModel(0);
  M()->ComPort1->SetPort(UTF8ToString(Sim->Path()));
  ASSERT_TRUE(M()->ComboBox5->Focused());

  SimulateKeyStroke(M()->ComboBox5, VK_TAB);
  EXPECT_FALSE(M()->ComboBox5->Focused());
  // Every tab stop of the window is at most a few dozen presses away.
  for (int i = 0; i < 80 && !M()->VrDemoButton3->Focused(); ++i) {
    TWinControl* focused = M()->ActiveControl();
    ASSERT_NE(focused, nullptr);
    SimulateKeyStroke(focused, VK_TAB);
  }
  ASSERT_TRUE(M()->VrDemoButton3->Focused());

  SimulateKeyStroke(M()->VrDemoButton3, VK_SPACE);
  ASSERT_TRUE(Until([&] { return M()->ComPort1->Connected() && !Sim->Lines().empty(); }));
  EXPECT_EQ(Sim->Lines().front(), "ID ALL /R");
}
