// Value texts, the settings store (INI file or registry) and the port list.

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysUtils.h"
#include "serial/CPort.h"

namespace {

const char16_t* const kBaudTexts[] = {u"Custom", u"110",   u"300",   u"600",    u"1200",   u"2400",
                                      u"4800",   u"9600",  u"14400", u"19200",  u"38400",  u"56000",
                                      u"57600",  u"115200", u"128000", u"256000"};
const char16_t* const kStopTexts[] = {u"1", u"1.5", u"2"};
const char16_t* const kDataTexts[] = {u"5", u"6", u"7", u"8"};
const char16_t* const kParityTexts[] = {u"None", u"Odd", u"Even", u"Mark", u"Space"};
const char16_t* const kFlowTexts[] = {u"Hardware", u"Software", u"None", u"Custom"};
const char16_t* const kDTRTexts[] = {u"Disable", u"Enable", u"Handshake"};
const char16_t* const kRTSTexts[] = {u"Disable", u"Enable", u"Handshake", u"Toggle"};

template <typename E, size_t N>
E FromText(const String& Str, const char16_t* const (&Texts)[N], E Fallback) {
  String up = UpperCase(Str);
  for (size_t i = 0; i < N; ++i)
    if (up == UpperCase(Texts[i])) return static_cast<E>(i);
  return Fallback;
}

template <size_t N>
String ToText(size_t i, const char16_t* const (&Texts)[N]) {
  return i < N ? String(Texts[i]) : String();
}

}  // namespace

String BaudRateToStr(TBaudRate V) { return ToText(V, kBaudTexts); }
String StopBitsToStr(TStopBits V) { return ToText(V, kStopTexts); }
String DataBitsToStr(TDataBits V) { return ToText(V, kDataTexts); }
String ParityToStr(TParityBits V) { return ToText(V, kParityTexts); }
String FlowControlToStr(TFlowControl V) { return ToText(V, kFlowTexts); }
String DTRToStr(TDTRFlowControl V) { return ToText(V, kDTRTexts); }
String RTSToStr(TRTSFlowControl V) { return ToText(V, kRTSTexts); }
TBaudRate StrToBaudRate(const String& S) { return FromText(S, kBaudTexts, br9600); }
TStopBits StrToStopBits(const String& S) { return FromText(S, kStopTexts, sbOneStopBit); }
TDataBits StrToDataBits(const String& S) { return FromText(S, kDataTexts, dbEight); }
TParityBits StrToParity(const String& S) { return FromText(S, kParityTexts, prNone); }
TFlowControl StrToFlowControl(const String& S) { return FromText(S, kFlowTexts, fcCustom); }
TDTRFlowControl StrToDTR(const String& S) { return FromText(S, kDTRTexts, dtrDisable); }
TRTSFlowControl StrToRTS(const String& S) { return FromText(S, kRTSTexts, rtsDisable); }

String BoolToText(bool B) { return B ? u"Yes" : u"No"; }
bool TextToBool(const String& Text) { return UpperCase(Text) == u"YES"; }

String CharToText(Char Ch) {
  if (Ch >= 33 && Ch <= 127) return String(1, Ch);
  return u"#" + IntToStr(int32_t(Ch));
}

Char TextToChar(const String& Text) {
  if (Text.empty()) return 0;
  if (Text.size() >= 2 && Text[0] == u'#') {
    int32_t v = 0;
    if (!TryStrToInt(Text.substr(1), v)) return 0;
    return static_cast<Char>(v & 0xFF);
  }
  return Text[0];
}

// ---- Settings store -----------------------------------------------------------------------------

void TCustomComPort::StoreIniFile(TCustomIniFile& Ini) {
  const String s = Name();
  if (FStoredProps.Contains(spBasic)) {
    Ini.WriteString(s, u"Port", FPort);
    Ini.WriteString(s, u"BaudRate", BaudRateToStr(FBaudRate));
    if (FBaudRate == brCustom) Ini.WriteInteger(s, u"CustomBaudRate", FCustomBaudRate);
    Ini.WriteString(s, u"StopBits", StopBitsToStr(FStopBits));
    Ini.WriteString(s, u"DataBits", DataBitsToStr(FDataBits));
    Ini.WriteString(s, u"Parity", ParityToStr(FParity->Bits()));
    Ini.WriteString(s, u"FlowControl", FlowControlToStr(FFlowControl->FlowControl()));
  }
  if (FStoredProps.Contains(spOthers)) {
    Ini.WriteString(s, u"EventChar", CharToText(FEventChar));
    Ini.WriteString(s, u"DiscardNull", BoolToText(FDiscardNull));
  }
  if (FStoredProps.Contains(spParity)) {
    Ini.WriteString(s, u"Parity.Check", BoolToText(FParity->Check()));
    Ini.WriteString(s, u"Parity.Replace", BoolToText(FParity->Replace()));
    Ini.WriteString(s, u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()));
  }
  if (FStoredProps.Contains(spBuffer)) {
    Ini.WriteInteger(s, u"Buffer.OutputSize", FBuffer->OutputSize());
    Ini.WriteInteger(s, u"Buffer.InputSize", FBuffer->InputSize());
  }
  if (FStoredProps.Contains(spTimeouts)) {
    Ini.WriteInteger(s, u"Timeouts.ReadInterval", FTimeouts->ReadInterval());
    Ini.WriteInteger(s, u"Timeouts.ReadTotalConstant", FTimeouts->ReadTotalConstant());
    Ini.WriteInteger(s, u"Timeouts.ReadTotalMultiplier", FTimeouts->ReadTotalMultiplier());
    Ini.WriteInteger(s, u"Timeouts.WriteTotalConstant", FTimeouts->WriteTotalConstant());
    Ini.WriteInteger(s, u"Timeouts.WriteTotalMultiplier", FTimeouts->WriteTotalMultiplier());
  }
  if (FStoredProps.Contains(spFlowControl)) {
    TComFlowControl& f = *FFlowControl;
    Ini.WriteString(s, u"FlowControl.ControlRTS", RTSToStr(f.ControlRTS()));
    Ini.WriteString(s, u"FlowControl.ControlDTR", DTRToStr(f.ControlDTR()));
    Ini.WriteString(s, u"FlowControl.DSRSensitivity", BoolToText(f.DSRSensitivity()));
    Ini.WriteString(s, u"FlowControl.OutCTSFlow", BoolToText(f.OutCTSFlow()));
    Ini.WriteString(s, u"FlowControl.OutDSRFlow", BoolToText(f.OutDSRFlow()));
    Ini.WriteString(s, u"FlowControl.TxContinueOnXoff", BoolToText(f.TxContinueOnXoff()));
    Ini.WriteString(s, u"FlowControl.XonXoffIn", BoolToText(f.XonXoffIn()));
    Ini.WriteString(s, u"FlowControl.XonXoffOut", BoolToText(f.XonXoffOut()));
    Ini.WriteString(s, u"FlowControl.XoffChar", CharToText(f.XoffChar()));
    Ini.WriteString(s, u"FlowControl.XonChar", CharToText(f.XonChar()));
  }
}

void TCustomComPort::StoreRegistry(TRegistry& Reg) {
  if (FStoredProps.Contains(spBasic)) {
    Reg.WriteString(u"Port", FPort);
    Reg.WriteString(u"BaudRate", BaudRateToStr(FBaudRate));
    if (FBaudRate == brCustom) Reg.WriteInteger(u"CustomBaudRate", FCustomBaudRate);
    Reg.WriteString(u"StopBits", StopBitsToStr(FStopBits));
    Reg.WriteString(u"DataBits", DataBitsToStr(FDataBits));
    Reg.WriteString(u"Parity", ParityToStr(FParity->Bits()));
    Reg.WriteString(u"FlowControl", FlowControlToStr(FFlowControl->FlowControl()));
  }
  if (FStoredProps.Contains(spOthers)) {
    Reg.WriteString(u"EventChar", CharToText(FEventChar));
    Reg.WriteString(u"DiscardNull", BoolToText(FDiscardNull));
  }
  if (FStoredProps.Contains(spParity)) {
    Reg.WriteString(u"Parity.Check", BoolToText(FParity->Check()));
    Reg.WriteString(u"Parity.Replace", BoolToText(FParity->Replace()));
    Reg.WriteString(u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()));
  }
  if (FStoredProps.Contains(spBuffer)) {
    Reg.WriteInteger(u"Buffer.OutputSize", FBuffer->OutputSize());
    Reg.WriteInteger(u"Buffer.InputSize", FBuffer->InputSize());
  }
  if (FStoredProps.Contains(spTimeouts)) {
    Reg.WriteInteger(u"Timeouts.ReadInterval", FTimeouts->ReadInterval());
    Reg.WriteInteger(u"Timeouts.ReadTotalConstant", FTimeouts->ReadTotalConstant());
    Reg.WriteInteger(u"Timeouts.ReadTotalMultiplier", FTimeouts->ReadTotalMultiplier());
    Reg.WriteInteger(u"Timeouts.WriteTotalConstant", FTimeouts->WriteTotalConstant());
    Reg.WriteInteger(u"Timeouts.WriteTotalMultiplier", FTimeouts->WriteTotalMultiplier());
  }
  if (FStoredProps.Contains(spFlowControl)) {
    TComFlowControl& f = *FFlowControl;
    Reg.WriteString(u"FlowControl.ControlRTS", RTSToStr(f.ControlRTS()));
    Reg.WriteString(u"FlowControl.ControlDTR", DTRToStr(f.ControlDTR()));
    Reg.WriteString(u"FlowControl.DSRSensitivity", BoolToText(f.DSRSensitivity()));
    Reg.WriteString(u"FlowControl.OutCTSFlow", BoolToText(f.OutCTSFlow()));
    Reg.WriteString(u"FlowControl.OutDSRFlow", BoolToText(f.OutDSRFlow()));
    Reg.WriteString(u"FlowControl.TxContinueOnXoff", BoolToText(f.TxContinueOnXoff()));
    Reg.WriteString(u"FlowControl.XonXoffIn", BoolToText(f.XonXoffIn()));
    Reg.WriteString(u"FlowControl.XonXoffOut", BoolToText(f.XonXoffOut()));
    Reg.WriteString(u"FlowControl.XoffChar", CharToText(f.XoffChar()));
    Reg.WriteString(u"FlowControl.XonChar", CharToText(f.XonChar()));
  }
}

void TCustomComPort::LoadIniFile(TCustomIniFile& Ini) {
  const String s = Name();
  if (FStoredProps.Contains(spBasic)) {
    SetPort(Ini.ReadString(s, u"Port", FPort));
    SetBaudRate(StrToBaudRate(Ini.ReadString(s, u"BaudRate", BaudRateToStr(FBaudRate))));
    if (FBaudRate == brCustom) SetCustomBaudRate(Ini.ReadInteger(s, u"CustomBaudRate", 9600));
    SetStopBits(StrToStopBits(Ini.ReadString(s, u"StopBits", StopBitsToStr(FStopBits))));
    SetDataBits(StrToDataBits(Ini.ReadString(s, u"DataBits", DataBitsToStr(FDataBits))));
    FParity->SetBits(StrToParity(Ini.ReadString(s, u"Parity", ParityToStr(FParity->Bits()))));
    FFlowControl->SetFlowControl(
        StrToFlowControl(Ini.ReadString(s, u"FlowControl", FlowControlToStr(FFlowControl->FlowControl()))));
  }
  if (FStoredProps.Contains(spOthers)) {
    SetEventChar(TextToChar(Ini.ReadString(s, u"EventChar", CharToText(FEventChar))));
    SetDiscardNull(TextToBool(Ini.ReadString(s, u"DiscardNull", BoolToText(FDiscardNull))));
  }
  if (FStoredProps.Contains(spParity)) {
    FParity->SetCheck(TextToBool(Ini.ReadString(s, u"Parity.Check", BoolToText(FParity->Check()))));
    FParity->SetReplace(TextToBool(Ini.ReadString(s, u"Parity.Replace", BoolToText(FParity->Replace()))));
    FParity->SetReplaceChar(TextToChar(Ini.ReadString(s, u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()))));
  }
  if (FStoredProps.Contains(spBuffer)) {
    FBuffer->SetOutputSize(Ini.ReadInteger(s, u"Buffer.OutputSize", FBuffer->OutputSize()));
    FBuffer->SetInputSize(Ini.ReadInteger(s, u"Buffer.InputSize", FBuffer->InputSize()));
  }
  if (FStoredProps.Contains(spTimeouts)) {
    TComTimeouts& t = *FTimeouts;
    t.SetReadInterval(Ini.ReadInteger(s, u"Timeouts.ReadInterval", t.ReadInterval()));
    t.SetReadTotalConstant(Ini.ReadInteger(s, u"Timeouts.ReadTotalConstant", t.ReadTotalConstant()));
    t.SetReadTotalMultiplier(Ini.ReadInteger(s, u"Timeouts.ReadTotalMultiplier", t.ReadTotalMultiplier()));
    t.SetWriteTotalConstant(Ini.ReadInteger(s, u"Timeouts.WriteTotalConstant", t.WriteTotalConstant()));
    t.SetWriteTotalMultiplier(Ini.ReadInteger(s, u"Timeouts.WriteTotalMultiplier", t.WriteTotalMultiplier()));
  }
  if (FStoredProps.Contains(spFlowControl)) {
    TComFlowControl& f = *FFlowControl;
    f.SetControlRTS(StrToRTS(Ini.ReadString(s, u"FlowControl.ControlRTS", RTSToStr(f.ControlRTS()))));
    f.SetControlDTR(StrToDTR(Ini.ReadString(s, u"FlowControl.ControlDTR", DTRToStr(f.ControlDTR()))));
    f.SetDSRSensitivity(TextToBool(Ini.ReadString(s, u"FlowControl.DSRSensitivity", BoolToText(f.DSRSensitivity()))));
    f.SetOutCTSFlow(TextToBool(Ini.ReadString(s, u"FlowControl.OutCTSFlow", BoolToText(f.OutCTSFlow()))));
    f.SetOutDSRFlow(TextToBool(Ini.ReadString(s, u"FlowControl.OutDSRFlow", BoolToText(f.OutDSRFlow()))));
    f.SetTxContinueOnXoff(
        TextToBool(Ini.ReadString(s, u"FlowControl.TxContinueOnXoff", BoolToText(f.TxContinueOnXoff()))));
    f.SetXonXoffIn(TextToBool(Ini.ReadString(s, u"FlowControl.XonXoffIn", BoolToText(f.XonXoffIn()))));
    f.SetXonXoffOut(TextToBool(Ini.ReadString(s, u"FlowControl.XonXoffOut", BoolToText(f.XonXoffOut()))));
    f.SetXoffChar(TextToChar(Ini.ReadString(s, u"FlowControl.XoffChar", CharToText(f.XoffChar()))));
    f.SetXonChar(TextToChar(Ini.ReadString(s, u"FlowControl.XonChar", CharToText(f.XonChar()))));
  }
}

void TCustomComPort::LoadRegistry(TRegistry& Reg) {
  if (FStoredProps.Contains(spBasic)) {
    SetPort(Reg.ReadString(u"Port"));
    SetBaudRate(StrToBaudRate(Reg.ReadString(u"BaudRate")));
    if (FBaudRate == brCustom) SetCustomBaudRate(Reg.ReadInteger(u"CustomBaudRate"));
    SetStopBits(StrToStopBits(Reg.ReadString(u"StopBits")));
    SetDataBits(StrToDataBits(Reg.ReadString(u"DataBits")));
    FParity->SetBits(StrToParity(Reg.ReadString(u"Parity")));
    FFlowControl->SetFlowControl(StrToFlowControl(Reg.ReadString(u"FlowControl")));
  }
  if (FStoredProps.Contains(spOthers)) {
    SetEventChar(TextToChar(Reg.ReadString(u"EventChar")));
    SetDiscardNull(TextToBool(Reg.ReadString(u"DiscardNull")));
  }
  if (FStoredProps.Contains(spParity)) {
    FParity->SetCheck(TextToBool(Reg.ReadString(u"Parity.Check")));
    FParity->SetReplace(TextToBool(Reg.ReadString(u"Parity.Replace")));
    FParity->SetReplaceChar(TextToChar(Reg.ReadString(u"Parity.ReplaceChar")));
  }
  if (FStoredProps.Contains(spBuffer)) {
    FBuffer->SetOutputSize(Reg.ReadInteger(u"Buffer.OutputSize"));
    FBuffer->SetInputSize(Reg.ReadInteger(u"Buffer.InputSize"));
  }
  if (FStoredProps.Contains(spTimeouts)) {
    TComTimeouts& t = *FTimeouts;
    t.SetReadInterval(Reg.ReadInteger(u"Timeouts.ReadInterval"));
    t.SetReadTotalConstant(Reg.ReadInteger(u"Timeouts.ReadTotalConstant"));
    t.SetReadTotalMultiplier(Reg.ReadInteger(u"Timeouts.ReadTotalMultiplier"));
    t.SetWriteTotalConstant(Reg.ReadInteger(u"Timeouts.WriteTotalConstant"));
    t.SetWriteTotalMultiplier(Reg.ReadInteger(u"Timeouts.WriteTotalMultiplier"));
  }
  if (FStoredProps.Contains(spFlowControl)) {
    TComFlowControl& f = *FFlowControl;
    f.SetControlRTS(StrToRTS(Reg.ReadString(u"FlowControl.ControlRTS")));
    f.SetControlDTR(StrToDTR(Reg.ReadString(u"FlowControl.ControlDTR")));
    f.SetDSRSensitivity(TextToBool(Reg.ReadString(u"FlowControl.DSRSensitivity")));
    f.SetOutCTSFlow(TextToBool(Reg.ReadString(u"FlowControl.OutCTSFlow")));
    f.SetOutDSRFlow(TextToBool(Reg.ReadString(u"FlowControl.OutDSRFlow")));
    f.SetTxContinueOnXoff(TextToBool(Reg.ReadString(u"FlowControl.TxContinueOnXoff")));
    f.SetXonXoffIn(TextToBool(Reg.ReadString(u"FlowControl.XonXoffIn")));
    f.SetXonXoffOut(TextToBool(Reg.ReadString(u"FlowControl.XonXoffOut")));
    f.SetXoffChar(TextToChar(Reg.ReadString(u"FlowControl.XoffChar")));
    f.SetXonChar(TextToChar(Reg.ReadString(u"FlowControl.XonChar")));
  }
}

namespace {
// Opens (creating) "<root>\<rest>\<Name>". False when the path names no key.
bool OpenSettingsKey(TRegistry& Reg, const String& Path, const String& Name) {
  size_t slash = Path.find(u'\\');
  if (slash == String::npos) return false;
  String root = UpperCase(Path.substr(0, slash));
  if (root == u"HKEY_LOCAL_MACHINE") Reg.SetRootKey(HKEY_LOCAL_MACHINE);
  else if (root == u"HKEY_CURRENT_USER") Reg.SetRootKey(HKEY_CURRENT_USER);
  String rest = Path.substr(slash + 1);
  if (rest.empty()) return false;
  if (rest.back() != u'\\') rest += u'\\';
  return Reg.OpenKey(rest + Name, true);
}
}  // namespace

void TCustomComPort::StoreSettings(TStoreType StoreType, const String& StoreTo) {
  bool failed = false;
  try {
    if (StoreType == stIniFile) {
      TIniFile ini(StoreTo);
      StoreIniFile(ini);
    } else {
      TRegistry reg;
      if (!OpenSettingsKey(reg, StoreTo, Name())) failed = true;
      else StoreRegistry(reg);
    }
  } catch (...) {
    failed = true;
  }
  if (failed) ReportPortError(CE_StoreFailed + 1);
}

void TCustomComPort::LoadSettings(TStoreType StoreType, const String& LoadFrom) {
  AssertOwnerThread();
  bool failed = false;
  // Settings the driver refuses as a whole are taken back, the port's device included, so
  // that the port never runs with part of them.
  struct {
    String port;
    TBaudRate baud;
    int32_t custom;
    TStopBits stop;
    TDataBits data;
    bool discardNull;
    Char eventChar;
    TComParity parity;
    TComFlowControl flow;
    TComTimeouts timeouts;
    TComBuffer buffer;
  } saved{FPort, FBaudRate, FCustomBaudRate, FStopBits, FDataBits, FDiscardNull, FEventChar, {}, {}, {}, {}};
  saved.parity.Assign(FParity.get());
  saved.flow.Assign(FFlowControl.get());
  saved.timeouts.Assign(FTimeouts.get());
  saved.buffer.Assign(FBuffer.get());
  auto restore = [&] {
    BeginUpdate();
    FBaudRate = saved.baud;
    FCustomBaudRate = saved.custom;
    FStopBits = saved.stop;
    FDataBits = saved.data;
    FDiscardNull = saved.discardNull;
    FEventChar = saved.eventChar;
    FParity->Assign(&saved.parity);
    FFlowControl->Assign(&saved.flow);
    FTimeouts->Assign(&saved.timeouts);
    FBuffer->Assign(&saved.buffer);
    SetPort(saved.port);
    EndUpdate();
  };
  BeginUpdate();
  try {
    if (StoreType == stIniFile) {
      TIniFile ini(LoadFrom);
      LoadIniFile(ini);
    } else {
      TRegistry reg;
      if (!OpenSettingsKey(reg, LoadFrom, Name())) failed = true;
      else LoadRegistry(reg);
    }
  } catch (...) {
    failed = true;  // a value that cannot be read: those set before it stay set
  }
  try {
    EndUpdate();
  } catch (...) {
    failed = true;
    try {
      restore();
    } catch (...) {
      // the port keeps whatever the driver accepted
    }
  }
  if (failed) ReportPortError(CE_LoadFailed + 1);
}

// ---- Port list ----------------------------------------------------------------------------------

namespace {
std::mutex gRootMutex;
std::string gRoot = "/";

std::string RootPath() {
  std::lock_guard lk(gRootMutex);
  return gRoot.empty() || gRoot.back() != '/' ? gRoot + "/" : gRoot;
}

std::string ReadSmallFile(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buf[64];
    size_t n = std::fread(buf, 1, sizeof buf, f);
    out.assign(buf, n);
    std::fclose(f);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}
}  // namespace

void SetComPortsRoot(const String& Root) {
  std::lock_guard lk(gRootMutex);
  gRoot = StringToUTF8(Root);
}

void EnumComPorts(TStrings* List) {
  const std::string root = RootPath();
  TStringList found;
  bool readable = false;  // some source could be read
  auto add = [&](const std::string& name) {
    String n = UTF8ToString(name);
    if (!n.empty() && found.IndexOf(n) < 0) found.Add(n);
  };
  // Devices with a driver behind them; 8250 placeholders without a UART report type 0.
  const std::string ttyDir = root + "sys/class/tty/";
  if (DIR* d = ::opendir(ttyDir.c_str())) {
    readable = true;
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      if (::access((ttyDir + name + "/device").c_str(), F_OK) != 0) continue;
      if (name.rfind("ttyS", 0) == 0 && ReadSmallFile(ttyDir + name + "/type") == "0") continue;
      add(name);
    }
    ::closedir(d);
  }
  // Stable names of USB adapters point at the same devices.
  const std::string byId = root + "dev/serial/by-id/";
  if (DIR* d = ::opendir(byId.c_str())) {
    readable = true;
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      char target[512];
      ssize_t n = ::readlink((byId + name).c_str(), target, sizeof target - 1);
      if (n <= 0) continue;
      std::string t(target, static_cast<size_t>(n));
      add(t.substr(t.rfind('/') == std::string::npos ? 0 : t.rfind('/') + 1));
    }
    ::closedir(d);
  }
  if (!readable) return;  // nothing to go by: the list stays as it was
  found.Sort();
  List->BeginUpdate();
  List->Clear();
  for (int i = 0; i < found.Count(); ++i) List->Add(found[i]);
  List->EndUpdate();
}
