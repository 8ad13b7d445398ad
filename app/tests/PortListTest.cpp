#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/COMname.h"
#include "platform/rtl/tests/TempFolder.h"

namespace fs = std::filesystem;

namespace {
// A device tree with a USB adapter, an on-board UART, a placeholder UART without
// hardware and a tty whose device node is missing.
void MakeDevices(const TempFolder& root) {
  std::string r = root.Path() + "/";
  fs::create_directories(r + "sys/bus/usb/devices/1-1/1-1:1.0");
  root.Write("sys/bus/usb/devices/1-1/product", "FT232R USB UART\n");
  fs::create_directories(r + "sys/class/tty/ttyUSB0");
  fs::create_directory_symlink(r + "sys/bus/usb/devices/1-1/1-1:1.0", r + "sys/class/tty/ttyUSB0/device");
  fs::create_directories(r + "sys/devices/platform/serial8250/tty/ttyS0/device");
  fs::create_directories(r + "sys/drivers/serial8250");
  fs::create_directories(r + "sys/class/tty/ttyS0/device");
  fs::create_directory_symlink(r + "sys/drivers/serial8250", r + "sys/class/tty/ttyS0/device/driver");
  root.Write("sys/class/tty/ttyS0/type", "4\n");
  fs::create_directories(r + "sys/class/tty/ttyS1/device");
  root.Write("sys/class/tty/ttyS1/type", "0\n");
  fs::create_directories(r + "sys/class/tty/ttyACM0/device");
  fs::create_directories(r + "sys/class/tty/tty1");  // a console: no device
  fs::create_directories(r + "dev");
  for (const char* n : {"ttyUSB0", "ttyS0", "ttyS1", "tty1"}) root.Write(std::string("dev/") + n, "");
}
}  // namespace

TEST(PortList, ListsUsablePortsUnderTheHeading) {
  TempFolder root;
  MakeDevices(root);
  SetPortListRoot(UTF8ToString(root.Path()));
  ListSerialPorts();
  EXPECT_EQ(PortListText, u"【使用可能COMﾎﾟｰﾄ】\r\n"
                          u"serial8250 (/dev/ttyS0)\r\n"
                          u"FT232R USB UART (/dev/ttyUSB0)\r\n");
  SetPortListRoot(u"/");
}

TEST(PortList, NoPortsGiveOnlyTheHeading) {
  TempFolder root;
  SetPortListRoot(UTF8ToString(root.Path()));
  ListSerialPorts();
  EXPECT_EQ(PortListText, u"【使用可能COMﾎﾟｰﾄ】\r\n");
  SetPortListRoot(u"/");
}
