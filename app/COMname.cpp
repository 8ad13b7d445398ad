#include "app/COMname.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Comm.h"
#include "serial/CPort.h"

String PortListText;

namespace {

std::string gRoot = "/";

std::string ReadLine(const std::string& Path) {
  std::string out;
  if (FILE* f = std::fopen(Path.c_str(), "r")) {
    char buf[256];
    if (std::fgets(buf, sizeof buf, f)) out = buf;
    std::fclose(f);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  return out;
}

std::string LinkName(const std::string& Path) {
  char target[PATH_MAX];
  ssize_t n = ::readlink(Path.c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  std::string t(target, static_cast<size_t>(n));
  size_t slash = t.rfind('/');
  return slash == std::string::npos ? t : t.substr(slash + 1);
}

// The stable name under /dev/serial/by-id that points at the device, if any.
std::string ByIdName(const std::string& Name) {
  std::string dir = gRoot + "dev/serial/by-id/";
  std::string found;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string entry = e->d_name;
      if (entry == "." || entry == "..") continue;
      if (LinkName(dir + entry) == Name) {
        found = entry;
        break;
      }
    }
    ::closedir(d);
  }
  return found;
}

// A description like the device manager's: the USB product, else the stable name,
// else the driver, followed by the device path.
String FriendlyName(const std::string& Name) {
  std::string dev = gRoot + "sys/class/tty/" + Name + "/device/";
  std::string desc = ReadLine(dev + "../product");
  if (desc.empty()) desc = ByIdName(Name);
  if (desc.empty()) desc = LinkName(dev + "driver");
  if (desc.empty()) desc = "Serial port";
  return UTF8ToString(desc + " (/dev/" + Name + ")");
}

}  // namespace

void SetPortListRoot(const String& Root) {
  gRoot = StringToUTF8(Root);
  if (gRoot.empty() || gRoot.back() != '/') gRoot += '/';
  SetComPortsRoot(Root);
}

void ListSerialPorts() {
  PortListText = String(u"【使用可能COMﾎﾟｰﾄ】") + u"\r\n";
  TStringList ports;
  EnumComPorts(&ports);
  for (int i = 0; i < ports.Count(); ++i) {
    std::string name = StringToUTF8(ports[i]);
    if (::access((gRoot + "dev/" + name).c_str(), F_OK) != 0) continue;
    PortListText += FriendlyName(name) + u"\r\n";
  }
}

String PortDeviceName(const String& Port) {
  if (Port.find(u'/') == String::npos) return Port;
  const String dev = u"/dev/";
  if (Port.rfind(dev, 0) == 0) {
    String rest = Port.substr(dev.size());
    if (rest.find(u'/') == String::npos || rest.rfind(u"pts/", 0) == 0) return rest;
  }
  return ExtractFileName(Port);
}

void ListConfiguredPort(TStrings* Ports, const String& Port) {
  if (Port.empty() || Ports->IndexOf(Port) >= 0) return;
  std::error_code ec;
  auto device = [&ec](const String& Name) {
    return std::filesystem::weakly_canonical(CommDevicePath(Name), ec);
  };
  const auto wanted = device(Port);
  for (int i = 0; i < Ports->Count(); ++i)
    if (device(Ports->Strings(i)) == wanted) {
      Ports->Put(i, Port);
      return;
    }
  Ports->Add(Port);
}
