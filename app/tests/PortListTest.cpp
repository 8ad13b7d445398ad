#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/COMname.h"
#include "testing/TempFolder.h"

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

TEST(PortNames, TheDeviceNameShowsWithoutItsFolders) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"ttyUSB0", u"ttyUSB0"},           {u"COM3", u"COM3"},
      {u"/dev/ttyUSB0", u"ttyUSB0"},      {u"/dev/pts/7", u"pts/7"},
      {u"/tmp/x/rcv-port", u"rcv-port"},  {u"/dev/serial/by-id/usb-FTDI_A5-if00-port0", u"usb-FTDI_A5-if00-port0"},
  };
  for (auto [port, shown] : cases) EXPECT_EQ(PortDeviceName(port), shown) << StringToUTF8(port);
}

TEST(PortNames, TheConfiguredPortIsAlwaysListedUnderItsOwnSpelling) {
  TempFolder dir;
  dir.Write("dev0", "");
  fs::create_symlink(dir.File("dev0"), dir.File("link"));
  String link = UTF8ToString(dir.File("link"));
  struct Case {
    std::vector<String> Found;
    String Port;
    std::vector<String> Listed;
  };
  const Case cases[] = {
      {{u"ttyS0", u"ttyUSB0"}, u"ttyUSB0", {u"ttyS0", u"ttyUSB0"}},        // found as it is
      {{u"ttyS0", u"ttyUSB0"}, u"/dev/ttyUSB0", {u"ttyS0", u"/dev/ttyUSB0"}},  // the same device
      {{u"ttyS0"}, u"/dev/pts/3", {u"ttyS0", u"/dev/pts/3"}},              // a pty the machine does not list
      {{UTF8ToString(dir.File("dev0"))}, link, {link}},                    // a symlink to a listed device
      {{u"ttyS0"}, u"", {u"ttyS0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.Port));
    TStringList list;
    for (const String& s : c.Found) list.Add(s);
    ListConfiguredPort(&list, c.Port);
    std::vector<String> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list[i]);
    EXPECT_EQ(got, c.Listed);
  }
}
