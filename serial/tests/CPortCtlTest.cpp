// The port-setting combo box bound to a port.

#include <gtest/gtest.h>

#include "serial/CPortCtl.h"

namespace {

struct PickBox : TComComboBox {
  using TComComboBox::TComComboBox;
  void Pick(int i) {  // as the user picking item i
    SetItemIndex(i);
    Change();
  }
};

TEST(ComComboBox, ShowsStagesAndAppliesThePortsValues) {
  auto* port = new TComPort(nullptr);
  port->SetBaudRate(br19200);
  port->FlowControl()->SetFlowControl(fcHardware);
  PickBox baud(nullptr), flow(nullptr), data(nullptr), name(nullptr);
  baud.SetComProperty(cpBaudRate);
  EXPECT_EQ(baud.ItemIndex(), 0);  // no port yet: the first item
  baud.SetComPort(port);
  EXPECT_EQ(baud.Items()->Count(), 16);
  EXPECT_EQ(baud.ItemIndex(), 9);
  EXPECT_EQ(baud.Text(), u"19200");
  baud.SetText(u"12345");
  EXPECT_EQ(baud.ItemIndex(), 9);

  flow.SetComPort(port);
  flow.SetComProperty(cpFlowControl);
  EXPECT_EQ(flow.Text(), u"Hardware");
  port->FlowControl()->SetControlRTS(rtsEnable);
  flow.UpdateSettings();
  EXPECT_EQ(flow.Text(), u"Custom");

  // Staged: a pick is stored until ApplySettings.
  baud.Pick(baud.Items()->IndexOf(u"38400"));
  EXPECT_EQ(port->BaudRate(), br19200);
  baud.ApplySettings();
  EXPECT_EQ(port->BaudRate(), br38400);

  data.SetComPort(port);
  data.SetComProperty(cpDataBits);
  data.SetAutoApply(true);
  data.Pick(data.Items()->IndexOf(u"7"));
  EXPECT_EQ(port->DataBits(), dbSeven);

  port->SetPort(u"ttyNotListed");
  name.SetComPort(port);
  name.SetComProperty(cpPort);
  EXPECT_EQ(name.ItemIndex(), -1);

  delete port;
  EXPECT_EQ(baud.ComPort(), nullptr);
  EXPECT_EQ(baud.ItemIndex(), 0);
  baud.ApplySettings();  // no port: nothing happens
}

}  // namespace
