// The serial port component: settings objects, applying settings, open/close, the event
// thread, reads and writes, line control, errors and links.

#include "serial/CPort.h"

#include <algorithm>
#include <cassert>
#include <cerrno>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

const String ComErrorMessages[24] = {
    u"Unable to open com port",
    u"WriteFile function failed",
    u"ReadFile function failed",
    u"Invalid Async parameter",
    u"PurgeComm function failed",
    u"Unable to get async status",
    u"SetCommState function failed",
    u"SetCommTimeouts failed",
    u"SetupComm function failed",
    u"ClearCommError function failed",
    u"GetCommModemStatus function failed",
    u"EscapeCommFunction function failed",
    u"TransmitCommChar function failed",
    u"Cannot set property while connected",
    u"EnumPorts function failed",
    u"Failed to store settings",
    u"Failed to load settings",
    u"Link (un)registration failed",
    u"Cannot change led state if ComPort is selected",
    u"Cannot wait for event if event thread is created",
    u"WaitForEvent method failed",
    u"A component is linked to OnRxBuf event",
    u"Registry error",
    u"Port Not Open",
};

namespace {

// Private event code of the hidden window: the device vanished (lParam = system code).
constexpr WPARAM kLineLost = 0x8000;

const String& ErrorText(int Code) {
  static const String empty;
  return Code >= 1 && Code <= 24 ? ComErrorMessages[Code - 1] : empty;
}

const TComEvent kDispatchOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                    evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

DWORD EventBit(TComEvent E) {
  switch (E) {
    case evRxChar: return EV_RXCHAR;
    case evRxFlag: return EV_RXFLAG;
    case evTxEmpty: return EV_TXEMPTY;
    case evCTS: return EV_CTS;
    case evDSR: return EV_DSR;
    case evRLSD: return EV_RLSD;
    case evBreak: return EV_BREAK;
    case evError: return EV_ERR;
    case evRing: return EV_RING;
    case evRx80Full: return EV_RX80FULL;
  }
  return 0;
}

}  // namespace

DWORD EventsToMask(const TComEvents& Events) {
  DWORD m = 0;
  for (TComEvent e : kDispatchOrder)
    if (Events.Contains(e)) m |= EventBit(e);
  return m;
}

TComEvents MaskToEvents(DWORD Mask) {
  TComEvents s;
  for (TComEvent e : kDispatchOrder)
    if (Mask & EventBit(e)) s.Include(e);
  return s;
}

// ---- EComPort ---------------------------------------------------------------------------------

EComPort::EComPort(int ACode, int AWinCode, String Msg) : Exception(std::move(Msg)), FWinCode(AWinCode), FCode(ACode) {}

EComPort::EComPort(int ACode, int AWinCode)
    : EComPort(ACode, AWinCode, ErrorText(ACode) + u" (Error: " + IntToStr(int32_t(AWinCode)) + u")") {}

EComPort EComPort::CreateNoWinCode(int ACode) { return EComPort(ACode, -1, ErrorText(ACode)); }

// ---- Settings objects -------------------------------------------------------------------------

void TComTimeouts::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TComTimeouts*>(Source)) {
    FReadInterval = s->FReadInterval;
    FReadTotalM = s->FReadTotalM;
    FReadTotalC = s->FReadTotalC;
    FWriteTotalM = s->FWriteTotalM;
    FWriteTotalC = s->FWriteTotalC;
  } else {
    TPersistent::Assign(Source);
  }
}

void TComTimeouts::Set(int32_t& Field, int32_t V) {
  if (Field == V) return;
  Field = V;
  if (FComPort) FComPort->ApplyTimeouts();
}
void TComTimeouts::SetReadInterval(int32_t V) { Set(FReadInterval, V); }
void TComTimeouts::SetReadTotalMultiplier(int32_t V) { Set(FReadTotalM, V); }
void TComTimeouts::SetReadTotalConstant(int32_t V) { Set(FReadTotalC, V); }
void TComTimeouts::SetWriteTotalMultiplier(int32_t V) { Set(FWriteTotalM, V); }
void TComTimeouts::SetWriteTotalConstant(int32_t V) { Set(FWriteTotalC, V); }

void TComFlowControl::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TComFlowControl*>(Source)) {
    FOutCTSFlow = s->FOutCTSFlow;
    FOutDSRFlow = s->FOutDSRFlow;
    FControlDTR = s->FControlDTR;
    FControlRTS = s->FControlRTS;
    FXonXoffOut = s->FXonXoffOut;
    FXonXoffIn = s->FXonXoffIn;
    FDSRSensitivity = s->FDSRSensitivity;
    FTxContinueOnXoff = s->FTxContinueOnXoff;
    FXonChar = s->FXonChar;
    FXoffChar = s->FXoffChar;
  } else {
    TPersistent::Assign(Source);
  }
}

template <typename T>
void TComFlowControl::Set(T& Field, T V) {
  if (Field == V) return;
  Field = V;
  if (FComPort) FComPort->ApplyDCB();
}
void TComFlowControl::SetOutCTSFlow(bool V) { Set(FOutCTSFlow, V); }
void TComFlowControl::SetOutDSRFlow(bool V) { Set(FOutDSRFlow, V); }
void TComFlowControl::SetControlDTR(TDTRFlowControl V) { Set(FControlDTR, V); }
void TComFlowControl::SetControlRTS(TRTSFlowControl V) { Set(FControlRTS, V); }
void TComFlowControl::SetXonXoffOut(bool V) { Set(FXonXoffOut, V); }
void TComFlowControl::SetXonXoffIn(bool V) { Set(FXonXoffIn, V); }
void TComFlowControl::SetDSRSensitivity(bool V) { Set(FDSRSensitivity, V); }
void TComFlowControl::SetTxContinueOnXoff(bool V) { Set(FTxContinueOnXoff, V); }
void TComFlowControl::SetXonChar(Char V) { Set(FXonChar, V); }
void TComFlowControl::SetXoffChar(Char V) { Set(FXoffChar, V); }

TFlowControl TComFlowControl::FlowControl() const {
  if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcHardware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcNone;
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl V) {
  if (V != fcCustom) {
    FControlRTS = rtsDisable;
    FOutCTSFlow = false;
    FXonXoffIn = false;
    FXonXoffOut = false;
    if (V == fcHardware) {
      FControlRTS = rtsHandshake;
      FOutCTSFlow = true;
    } else if (V == fcSoftware) {
      FXonXoffIn = true;
      FXonXoffOut = true;
    }
  }
  if (FComPort) FComPort->ApplyDCB();
}

void TComParity::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TComParity*>(Source)) {
    FBits = s->FBits;
    FCheck = s->FCheck;
    FReplace = s->FReplace;
    FReplaceChar = s->FReplaceChar;
  } else {
    TPersistent::Assign(Source);
  }
}

template <typename T>
void TComParity::Set(T& Field, T V) {
  if (Field == V) return;
  Field = V;
  if (FComPort) FComPort->ApplyDCB();
}
void TComParity::SetBits(TParityBits V) { Set(FBits, V); }
void TComParity::SetCheck(bool V) { Set(FCheck, V); }
void TComParity::SetReplace(bool V) { Set(FReplace, V); }
void TComParity::SetReplaceChar(Char V) { Set(FReplaceChar, V); }

void TComBuffer::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TComBuffer*>(Source)) {
    FInputSize = s->FInputSize;
    FOutputSize = s->FOutputSize;
  } else {
    TPersistent::Assign(Source);
  }
}

void TComBuffer::Set(int32_t& Field, int32_t V) {
  if (Field == V) return;
  Field = V;
  if (Field > 0 && Field % 2 == 1) --Field;
  if (FComPort) FComPort->ApplyBuffer();
}
void TComBuffer::SetInputSize(int32_t V) { Set(FInputSize, V); }
void TComBuffer::SetOutputSize(int32_t V) { Set(FOutputSize, V); }

// ---- Async records ----------------------------------------------------------------------------

void CreateAsyncRecord(PAsync& AsyncPtr) {
  AsyncPtr = new TComAsync;
  AsyncPtr->Overlapped = OVERLAPPED();
  AsyncPtr->Overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
}

void DestroyAsyncRecord(PAsync& AsyncPtr) {
  if (!AsyncPtr) return;
  CloseHandle(AsyncPtr->Overlapped.hEvent);
  delete AsyncPtr;
  AsyncPtr = nullptr;
}

namespace {
// Frees a waiting form's record on every way out.
struct TAsyncGuard {
  PAsync p = nullptr;
  TAsyncGuard() { CreateAsyncRecord(p); }
  ~TAsyncGuard() { DestroyAsyncRecord(p); }
};
}  // namespace

// ---- The port: construction and settings ----------------------------------------------------

namespace {
// Hands an exception to the application's exception handler, which receives whatever
// escapes a window procedure; from another thread it goes there through the GUI thread.
void ToApplicationHandler(std::exception_ptr e) {
  if (!IsMainThread()) return TThread::Queue([e] { ToApplicationHandler(e); });
  HWND w = AllocateHWnd([e](TMessage&) { std::rethrow_exception(e); });
  SendMessageW(w, WM_NULL, 0, 0);
  DeallocateHWnd(w);
}

// Runs one handler of a delivery: an exception it raises goes to the application's
// exception handler and the deliveries go on.
template <typename F>
void Guarded(F f) {
  try {
    f();
  } catch (...) {
    ToApplicationHandler(std::current_exception());
  }
}

// The port whose event thread is the calling thread.
thread_local const TCustomComPort* tEventThreadPort = nullptr;

String DefaultPortName() {
  TStringList list;
  EnumComPorts(&list);
  return list.Count() > 0 ? list[0] : String(u"/dev/ttyS0");
}
}  // namespace

TCustomComPort::TCustomComPort(TComponent* AOwner) : TComponent(AOwner) {
  FPort = DefaultPortName();
  FEvents = {evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full};
  FStoredProps = {spBasic};
  FParity = std::make_unique<TComParity>();
  FFlowControl = std::make_unique<TComFlowControl>();
  FTimeouts = std::make_unique<TComTimeouts>();
  FBuffer = std::make_unique<TComBuffer>();
  FParity->FComPort = this;
  FFlowControl->FComPort = this;
  FTimeouts->FComPort = this;
  FBuffer->FComPort = this;
}

TCustomComPort::~TCustomComPort() {
  Destroying();
  try {
    Close();
  } catch (...) {
    // a destructor cannot report; the handle is released regardless below
  }
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

void TCustomComPort::AssertOwnerThread() const {
  assert(IsMainThread() || tEventThreadPort == this);
}

bool TCustomComPort::CanApply() const {
  AssertOwnerThread();
  return FConnected && FUpdateCount == 0 && !IsLoading();
}

void TCustomComPort::SetBaudRate(TBaudRate V) {
  if (FBaudRate == V) return;
  FBaudRate = V;
  ApplyDCB();
}
void TCustomComPort::SetCustomBaudRate(int32_t V) {
  if (FCustomBaudRate == V) return;
  FCustomBaudRate = V;
  ApplyDCB();
}
void TCustomComPort::SetStopBits(TStopBits V) {
  if (FStopBits == V) return;
  FStopBits = V;
  ApplyDCB();
}
void TCustomComPort::SetDataBits(TDataBits V) {
  if (FDataBits == V) return;
  FDataBits = V;
  ApplyDCB();
}
void TCustomComPort::SetDiscardNull(bool V) {
  if (FDiscardNull == V) return;
  FDiscardNull = V;
  ApplyDCB();
}
void TCustomComPort::SetEventChar(Char V) {
  if (FEventChar == V) return;
  FEventChar = V;
  ApplyDCB();
}

void TCustomComPort::SetParity(TComParity* V) {
  FParity->Assign(V);
  ApplyDCB();
}
void TCustomComPort::SetFlowControl(TComFlowControl* V) {
  FFlowControl->Assign(V);
  ApplyDCB();
}
void TCustomComPort::SetTimeouts(TComTimeouts* V) {
  FTimeouts->Assign(V);
  ApplyTimeouts();
}
void TCustomComPort::SetBuffer(TComBuffer* V) {
  FBuffer->Assign(V);
  ApplyBuffer();
}

void TCustomComPort::SetPort(const String& V) {
  AssertOwnerThread();
  if (FPort == V) return;
  FPort = V;
  if (FConnected && !IsLoading()) {
    Close();
    Open();
  }
}

void TCustomComPort::SetSyncMethod(TSyncMethod V) {
  if (FSyncMethod == V) return;
  if (FConnected && !IsLoading()) return ReportPortError(CE_ConnChangeProp + 1);
  FSyncMethod = V;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority V) {
  if (FEventThreadPriority == V) return;
  if (FConnected && !IsLoading()) return ReportPortError(CE_ConnChangeProp + 1);
  FEventThreadPriority = V;
}

void TCustomComPort::SetConnected(bool Value) {
  AssertOwnerThread();
  if (IsLoading()) {
    FStreamedConnected = Value;
    return;
  }
  if (Value == FConnected) return;
  if (Value) Open();
  else Close();
}

void TCustomComPort::Loaded() {
  TComponent::Loaded();
  if (FStreamedConnected) {
    FStreamedConnected = false;
    FConnected = false;
    try {
      Open();
    } catch (...) {
      ToApplicationHandler(std::current_exception());
    }
  }
}

void TCustomComPort::BeginUpdate() {
  AssertOwnerThread();
  ++FUpdateCount;
}

void TCustomComPort::EndUpdate() {
  AssertOwnerThread();
  if (FUpdateCount < 1) return;
  if (--FUpdateCount == 0) ApplyPortSettings();
}

int32_t BaudRateValue(TBaudRate BaudRate) {
  static const int32_t rates[] = {0, 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600,
                                  115200, 128000, 256000};
  return BaudRate <= br256000 ? rates[BaudRate] : 0;
}

void TCustomComPort::ApplyDCB() {
  if (!CanApply()) return;
  DCB d;
  d.DCBlength = sizeof(DCB);
  d.fBinary = 1;
  d.fNull = FDiscardNull;
  d.fOutxCtsFlow = FFlowControl->FOutCTSFlow;
  d.fOutxDsrFlow = FFlowControl->FOutDSRFlow;
  d.fDtrControl = FFlowControl->FControlDTR;
  d.fRtsControl = FFlowControl->FControlRTS;
  d.fOutX = FFlowControl->FXonXoffOut;
  d.fInX = FFlowControl->FXonXoffIn;
  d.fDsrSensitivity = FFlowControl->FDSRSensitivity;
  d.fTXContinueOnXoff = FFlowControl->FTxContinueOnXoff;
  if (FParity->FCheck) {
    d.fParity = 1;
    if (FParity->FReplace) {
      d.fErrorChar = 1;
      d.ErrorChar = static_cast<char>(FParity->FReplaceChar & 0xFF);
    }
  }
  int32_t lim = FBuffer->FInputSize / 4;
  if (lim < 0 || lim > 65535) throw ERangeError(u"Range check error");
  d.XonLim = d.XoffLim = static_cast<WORD>(lim);
  d.EvtChar = static_cast<char>(FEventChar & 0xFF);
  d.XonChar = static_cast<char>(FFlowControl->FXonChar & 0xFF);
  d.XoffChar = static_cast<char>(FFlowControl->FXoffChar & 0xFF);
  d.Parity = FParity->FBits;
  d.StopBits = FStopBits;
  d.ByteSize = static_cast<BYTE>(FDataBits + 5);
  if (FBaudRate == brCustom) {
    if (FCustomBaudRate < 0) throw ERangeError(u"Range check error");
    d.BaudRate = static_cast<DWORD>(FCustomBaudRate);
  } else {
    d.BaudRate = static_cast<DWORD>(BaudRateValue(FBaudRate));
  }
  if (!SetCommState(FHandle, &d)) ReportPortError(CE_SetStateFailed + 1, GetLastError());
}

void TCustomComPort::ApplyTimeouts() {
  if (!CanApply()) return;
  auto conv = [](int32_t v) -> DWORD {
    if (v == -1) return MAXDWORD;
    if (v < 0) throw ERangeError(u"Range check error");
    return static_cast<DWORD>(v);
  };
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = conv(FTimeouts->FReadInterval);
  t.ReadTotalTimeoutMultiplier = conv(FTimeouts->FReadTotalM);
  t.ReadTotalTimeoutConstant = conv(FTimeouts->FReadTotalC);
  t.WriteTotalTimeoutMultiplier = conv(FTimeouts->FWriteTotalM);
  t.WriteTotalTimeoutConstant = conv(FTimeouts->FWriteTotalC);
  if (!SetCommTimeouts(FHandle, &t)) ReportPortError(CE_TimeoutsFailed + 1, GetLastError());
}

void TCustomComPort::ApplyBuffer() {
  if (!CanApply()) return;
  if (FBuffer->FInputSize < 0 || FBuffer->FOutputSize < 0) throw ERangeError(u"Range check error");
  if (!SetupComm(FHandle, static_cast<DWORD>(FBuffer->FInputSize), static_cast<DWORD>(FBuffer->FOutputSize)))
    ReportPortError(CE_SetupComFailed + 1, GetLastError());
}

void TCustomComPort::ApplyPortSettings() {
  ApplyBuffer();
  ApplyDCB();
  ApplyTimeouts();
}

// ---- Open and close ---------------------------------------------------------------------------

void TCustomComPort::CreatePortHandle() {
  String name = u"\\\\.\\" + FPort;
  FHandle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                        nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) ReportPortError(CE_OpenFailed + 1, GetLastError());
}

void TCustomComPort::DestroyPortHandle() {
  if (FHandle == INVALID_HANDLE_VALUE) return;
  // The handle is released even when the device fails to close (a vanished adapter), so
  // that the port can be opened again.
  CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
}

template <typename F>
void TCustomComPort::ForLinks(F f, const TLive& Live) {
  std::vector<TComLink*> links = FLinks;  // a handler may unregister its link
  for (TComLink* l : links) {
    if (Live && !*Live) return;  // a handler closed or freed the port
    f(*l);
  }
}

void TCustomComPort::Open() {
  AssertOwnerThread();
  if (FConnected) return;
  DoBeforeOpen();
  CreatePortHandle();
  // With OnException assigned a failed open returns here: the port stays closed.
  if (FHandle == INVALID_HANDLE_VALUE) return;
  FConnected = true;
  FClosing = false;
  FHeldErrors = 0;  // nothing of an earlier connection
  {
    // Settings the driver refuses leave the port closed.
    TScopeGuard undo([this] {
      DestroyPortHandle();
      FConnected = false;
    });
    ApplyPortSettings();
    undo.Dismiss();
  }
  FLive = std::make_shared<std::atomic<bool>>(true);
  if (FEvents.Empty()) {
    FThreadCreated = false;
  } else {
    if (FSyncMethod == smWindowSync) FWindow = AllocateHWnd([this](TMessage& M) { WindowMethod(M); });
    FEventThread = std::make_unique<TComThread>(this);
    FThreadCreated = true;
  }
  ForLinks([](TComLink& l) { if (l.OnConn) l.OnConn(nullptr, true); });
  DoAfterOpen();
  // Report the modem lines; a device that cannot tell reads as all lines off.
  TComSignals s = ReadSignals(false);
  ForLinks([&](TComLink& l) { if (l.OnCTSChange) l.OnCTSChange(nullptr, s.Contains(csCTS)); });
  DoCTSChange(s.Contains(csCTS));
  ForLinks([&](TComLink& l) { if (l.OnDSRChange) l.OnDSRChange(nullptr, s.Contains(csDSR)); });
  DoDSRChange(s.Contains(csDSR));
  ForLinks([&](TComLink& l) { if (l.OnRLSDChange) l.OnRLSDChange(nullptr, s.Contains(csRLSD)); });
  DoRLSDChange(s.Contains(csRLSD));
}

void TCustomComPort::Close() {
  AssertOwnerThread();
  // A handler of the notifications below that closes again finds the port closing.
  if (!FConnected || FClosing) return;
  // From here on line events still in flight are dropped.
  FClosing = true;
  *FLive = false;
  if (FEventThread) FEventThread->Stop();
  {
    // The port ends closed however the notifications end.
    TScopeGuard finish([this] { ReleasePort(); });
    ForLinks([](TComLink& l) {
      if (l.OnCTSChange) l.OnCTSChange(nullptr, false);
      if (l.OnDSRChange) l.OnDSRChange(nullptr, false);
      if (l.OnRLSDChange) l.OnRLSDChange(nullptr, false);
    });
    DoCTSChange(false);
    DoDSRChange(false);
    DoRLSDChange(false);
    DoBeforeClose();
  }
  ForLinks([](TComLink& l) { if (l.OnConn) l.OnConn(nullptr, false); });
  DoAfterClose();
}

void TCustomComPort::ReleasePort() {
  AbortAllAsync();
  if (FThreadCreated) {
    if (FEventThread->InDelivery()) {
      // Closed from a handler the thread waits for: the thread cannot be waited for here.
      // It ends by itself; its last steps on the driver are taken here, before the handle goes.
      SetCommMask(FHandle, 0);
      PurgeComm(FHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
      FEventThread.release()->Release();
    } else {
      FEventThread.reset();
    }
    FThreadCreated = false;
    if (FWindow) {
      DeallocateHWnd(FWindow);
      FWindow = nullptr;
    }
  }
  DestroyPortHandle();
  FConnected = false;
  FClosing = false;
}

// ---- Event notifications ---------------------------------------------------------------------

void TCustomComPort::DoAfterClose() { if (OnAfterClose) OnAfterClose(this); }
void TCustomComPort::DoAfterOpen() { if (OnAfterOpen) OnAfterOpen(this); }
void TCustomComPort::DoBeforeClose() { if (OnBeforeClose) OnBeforeClose(this); }
void TCustomComPort::DoBeforeOpen() { if (OnBeforeOpen) OnBeforeOpen(this); }
void TCustomComPort::DoRxChar(int Count) { if (OnRxChar) OnRxChar(this, Count); }
void TCustomComPort::DoRxBuf(const void* Buffer, int Count) { if (OnRxBuf) OnRxBuf(this, Buffer, Count); }
void TCustomComPort::DoTxEmpty() { if (OnTxEmpty) OnTxEmpty(this); }
void TCustomComPort::DoBreak() { if (OnBreak) OnBreak(this); }
void TCustomComPort::DoRing() { if (OnRing) OnRing(this); }
void TCustomComPort::DoRxFlag() { if (OnRxFlag) OnRxFlag(this); }
void TCustomComPort::DoCTSChange(bool OnOff) { if (OnCTSChange) OnCTSChange(this, OnOff); }
void TCustomComPort::DoDSRChange(bool OnOff) { if (OnDSRChange) OnDSRChange(this, OnOff); }
void TCustomComPort::DoError(TComErrors Errors) { if (OnError) OnError(this, Errors); }
void TCustomComPort::DoRLSDChange(bool OnOff) { if (OnRLSDChange) OnRLSDChange(this, OnOff); }
void TCustomComPort::DoRx80Full() { if (OnRx80Full) OnRx80Full(this); }

void TCustomComPort::WindowMethod(TMessage& Message) {
  if (Message.Msg != CM_COMPORT) {
    Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (InSendMessage()) ReplyMessage(0);  // release the event thread before the handler runs
  if (!Delivering()) return;
  // An exception leaving a window procedure goes to the application's exception handler.
  if (Message.WParam == kLineLost) return HandleLineLost(static_cast<int>(Message.LParam));
  for (TComEvent e : kDispatchOrder)
    if (EventBit(e) == Message.WParam) return HandleEvent(e);
}

// Each step after a handler first checks that the port is still delivering: a handler may
// have closed or freed it.
void TCustomComPort::HandleEvent(TComEvent Event) {
  const TLive live = FLive;
  switch (Event) {
    case evRxChar: CallRxChar(live); break;
    case evRxFlag:
      ForLinks([](TComLink& l) { if (l.OnRxFlag) l.OnRxFlag(nullptr); }, live);
      if (*live) DoRxFlag();
      break;
    case evTxEmpty:
      ForLinks([](TComLink& l) { if (l.OnTx) l.OnTx(nullptr, false); }, live);
      if (*live) ForLinks([](TComLink& l) { if (l.OnTxEmpty) l.OnTxEmpty(nullptr); }, live);
      if (*live) DoTxEmpty();
      break;
    case evCTS: CallSignal(live, csCTS, &TComLink::OnCTSChange, &TCustomComPort::DoCTSChange); break;
    case evDSR: CallSignal(live, csDSR, &TComLink::OnDSRChange, &TCustomComPort::DoDSRChange); break;
    case evRLSD: CallSignal(live, csRLSD, &TComLink::OnRLSDChange, &TCustomComPort::DoRLSDChange); break;
    case evBreak: DoBreak(); break;
    case evError: {
      TComErrors errors = LastErrors();
      if (!errors.Empty()) DoError(errors);
      break;
    }
    case evRing:
      ForLinks([](TComLink& l) { if (l.OnRing) l.OnRing(nullptr); }, live);
      if (*live) DoRing();
      break;
    case evRx80Full: DoRx80Full(); break;
  }
}

void TCustomComPort::CallSignal(const TLive& Live, TComSignal Signal, TComSignalEvent TComLink::*LinkEvent,
                                void (TCustomComPort::*Fire)(bool)) {
  bool on = Signals().Contains(Signal);
  ForLinks([&](TComLink& l) { if (l.*LinkEvent) (l.*LinkEvent)(nullptr, on); }, Live);
  if (*Live) (this->*Fire)(on);
}

void TCustomComPort::CallRxChar(const TLive& Live) {
  int count = InputCount();
  if (count > 0) ForLinks([](TComLink& l) { if (l.OnRx) l.OnRx(nullptr, true); }, Live);
  if (!*Live) return;
  if (count > 0 && (FHasLink || !FTriggersOnRxChar)) {
    std::vector<uint8_t> buf(static_cast<size_t>(count));
    count = Read(buf.data(), count);
    DoRxBuf(buf.data(), count);
    if (*Live) ForLinks([&](TComLink& l) { if (l.OnRxBuf) l.OnRxBuf(nullptr, buf.data(), count); }, Live);
    return;
  }
  if (count > 0) DoRxChar(count);
}

// The device vanished and the event thread has ended: report it as an I/O line error,
// or through the error path when nobody listens for line errors.
void TCustomComPort::HandleLineLost(int Code) {
  TComErrors errors = LastErrors();
  errors.Include(ceIO);
  if (OnError) DoError(errors);
  else ReportPortError(CE_WaitFailed + 1, Code);
}

// ---- The event thread -------------------------------------------------------------------------

TComThread::TComThread(TCustomComPort* AComPort) : TThread(true), FComPort(AComPort) {
  FStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetPriority(FComPort->FEventThreadPriority);
  SetCommMask(FComPort->FHandle, EventsToMask(FComPort->FEvents));
  Start();
}

TComThread::~TComThread() {
  SetEvent(FStopEvent);
  // The thread may be waiting for the GUI thread in a sent message or a synchronised call;
  // on the GUI thread the wait serves both until the thread has ended, and the closing
  // port ignores what they carry. A released thread frees itself: nothing to wait for.
  TerminateAndWait();
  CloseHandle(FStopEvent);
}

void TComThread::Stop() { SetEvent(FStopEvent); }

bool TComThread::Stopped() const { return WaitForSingleObject(FStopEvent, 0) == WAIT_OBJECT_0; }

bool TComThread::InDelivery() const {
  if (GetCurrentThreadID() == ThreadID()) return true;
  return IsMainThread() && FSyncDelivering;
}

void TComThread::Release() {
  FReleased = true;
  SetFreeOnTerminate(true);
  Stop();
}

void TComThread::Execute() {
  tEventThreadPort = FComPort;
  HANDLE h = FComPort->FHandle;
  OVERLAPPED ov;
  ov.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  HANDLE list[2] = {FStopEvent, ov.hEvent};
  // The driver writes a pending wait's events here when the wait ends, which may be at the
  // mask change after the loop: it lives as long as the waits do.
  DWORD mask = 0;
  DWORD lostCode = 0;
  while (!FReleased) {
    if (!WaitCommEvent(h, &mask, &ov) && GetLastError() != ERROR_IO_PENDING) {
      lostCode = GetLastError();  // the device is gone: no wait can succeed any more
      break;
    }
    DWORD r = WaitForMultipleObjects(2, list, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0 + 1) break;
    DWORD n = 0;
    if (GetOverlappedResult(h, &ov, &n, FALSE)) {
      FEvents = MaskToEvents(mask);
      Dispatch(false, 0);
    }
  }
  if (lostCode && !Stopped()) Dispatch(true, static_cast<int>(lostCode));
  // Once released, the port and its handle may be gone; Close has taken these steps.
  if (!FReleased) {
    SetCommMask(h, 0);
    PurgeComm(h, PURGE_TXCLEAR | PURGE_RXCLEAR);
  }
  CloseHandle(ov.hEvent);
  tEventThreadPort = nullptr;
}

void TComThread::Dispatch(bool Lost, int Code) {
  switch (FComPort->FSyncMethod) {
    case smThreadSync:
      Synchronize([this, Lost, Code] {
        if (Stopped()) return;
        FSyncDelivering = true;
        TScopeGuard done([this] { FSyncDelivering = false; });
        Deliver(Lost, Code);
      });
      break;
    case smWindowSync:
      if (Lost) SendMessageW(FComPort->FWindow, TCustomComPort::CM_COMPORT, kLineLost, Code);
      else SendEvents();
      break;
    case smNone:
      Deliver(Lost, Code);
      break;
  }
}

// Runs the handlers of one batch, or of the loss, here; each step first checks that no
// handler has closed (or freed) the port.
void TComThread::Deliver(bool Lost, int Code) {
  if (Lost) return Guarded([&] { FComPort->HandleLineLost(Code); });
  for (TComEvent e : kDispatchOrder) {
    if (Stopped()) return;
    if (FEvents.Contains(e)) Guarded([&] { FComPort->HandleEvent(e); });
  }
}

void TComThread::SendEvents() {
  for (TComEvent e : kDispatchOrder) {
    if (Stopped()) return;
    if (FEvents.Contains(e)) SendMessageW(FComPort->FWindow, TCustomComPort::CM_COMPORT, EventBit(e), 0);
  }
}

// ---- Errors -----------------------------------------------------------------------------------

void TCustomComPort::ReportPortError(uint16_t Code, int64_t WinError) {
  if (!OnException) {
    if (WinError > 0) throw EComPort(Code, static_cast<int>(WinError));
    throw EComPort::CreateNoWinCode(Code);
  }
  String winMessage;
  if (WinError > 0) {
    int last = static_cast<int>(GetLastError());
    winMessage = u"System Error.  Code: " + IntToStr(int32_t(last)) + u".\n" + SysErrorMessage(last);
  }
  OnException(this, static_cast<TComExceptions>(Code - 1), ErrorText(Code), WinError, winMessage);
}

// ---- Reading and writing ----------------------------------------------------------------------

int TCustomComPort::WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    ReportPortError(CE_InvalidAsync + 1);
    return 0;
  }
  if (FHandle == INVALID_HANDLE_VALUE) {
    ReportPortError(CEPortNotOpen + 1, -24);
    return 0;
  }
  AsyncPtr->Kind = 0;
  const auto* bytes = static_cast<const uint8_t*>(Buffer);
  AsyncPtr->Data.assign(bytes, bytes + std::max(Count, 0));
  AsyncPtr->Size = std::max(Count, 0);
  DWORD written = 0;
  if (!WriteFile(FHandle, Buffer, static_cast<DWORD>(AsyncPtr->Size), &written, &AsyncPtr->Overlapped) &&
      GetLastError() != ERROR_IO_PENDING)
    ReportPortError(CE_WriteFailed + 1, GetLastError());
  ForLinks([](TComLink& l) { if (l.OnTx) l.OnTx(nullptr, true); });
  return static_cast<int>(written);
}

int TCustomComPort::Write(const void* Buffer, int Count) {
  TAsyncGuard a;
  WriteAsync(Buffer, Count, a.p);
  return WaitForAsync(a.p);
}

int TCustomComPort::WriteStrAsync(String& Str, PAsync& AsyncPtr) {
  if (Str.empty()) return 0;
  // Pack the low byte of each character into the string's own storage.
  auto* bytes = reinterpret_cast<uint8_t*>(Str.data());
  size_t n = Str.size();
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(Str[i] & 0xFF);
  return WriteAsync(bytes, static_cast<int>(n), AsyncPtr);
}

int TCustomComPort::WriteStr(const String& Str) {
  String copy = Str;
  TAsyncGuard a;
  WriteStrAsync(copy, a.p);
  return WaitForAsync(a.p);
}

int TCustomComPort::ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    ReportPortError(CE_InvalidAsync + 1);
    return 0;
  }
  AsyncPtr->Kind = 1;
  if (FHandle == INVALID_HANDLE_VALUE) {
    ReportPortError(CEPortNotOpen + 1, -24);
    return 0;
  }
  DWORD read = 0;
  if (!ReadFile(FHandle, Buffer, static_cast<DWORD>(std::max(Count, 0)), &read, &AsyncPtr->Overlapped) &&
      GetLastError() != ERROR_IO_PENDING)
    ReportPortError(CE_ReadFailed + 1, GetLastError());
  return static_cast<int>(read);
}

int TCustomComPort::Read(void* Buffer, int Count) {
  TAsyncGuard a;
  ReadAsync(Buffer, Count, a.p);
  return WaitForAsync(a.p);
}

int TCustomComPort::ReadStrAsync(std::string& Str, int Count, PAsync& AsyncPtr) {
  Str.assign(static_cast<size_t>(std::max(Count, 0)), '\0');
  if (Count < 1) return 0;
  return ReadAsync(Str.data(), Count, AsyncPtr);
}

int TCustomComPort::ReadStr(String& Str, int Count) {
  std::string bytes;
  TAsyncGuard a;
  ReadStrAsync(bytes, Count, a.p);
  int n = WaitForAsync(a.p);
  Str.resize(static_cast<size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i) Str[static_cast<size_t>(i)] = static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
  return n;
}

int TCustomComPort::WaitForAsync(PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    ReportPortError(CE_InvalidAsync + 1);
    return 0;
  }
  DWORD n = 0;
  bool ok = WaitForSingleObject(AsyncPtr->Overlapped.hEvent, INFINITE) == WAIT_OBJECT_0;
  // A record that never started (closed port, empty text) has nothing to ask the driver.
  if (ok && AsyncPtr->Overlapped.Internal == 0 && FHandle == INVALID_HANDLE_VALUE) return 0;
  ok = ok && GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &n, FALSE);
  if (!ok) {
    DWORD err = GetLastError();
    ReportPortError(AsyncPtr->Kind == 0 ? CE_WriteFailed + 1 : CE_ReadFailed + 1, err);
    return static_cast<int>(n);
  }
  if (AsyncPtr->Kind == 1) {
    if (!FLinks.empty() && InputCount() == 0) ForLinks([](TComLink& l) { if (l.OnRx) l.OnRx(nullptr, false); });
  } else if (AsyncPtr->Size > 0) {
    ForLinks([&](TComLink& l) {
      if (l.OnTxBuf) l.OnTxBuf(nullptr, AsyncPtr->Data.data(), AsyncPtr->Size);
    });
  }
  return static_cast<int>(n);
}

bool TCustomComPort::IsAsyncCompleted(PAsync AsyncPtr) {
  if (!AsyncPtr) {
    ReportPortError(CE_InvalidAsync + 1);
    return false;
  }
  DWORD n = 0;
  if (GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &n, FALSE)) return true;
  DWORD e = GetLastError();
  if (e != ERROR_IO_PENDING && e != ERROR_IO_INCOMPLETE) ReportPortError(CE_AsyncCheck + 1, e);
  return false;
}

void TCustomComPort::AbortAllAsync() { PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT); }

namespace {
// Code-page number to a converter name; 0 stands for UTF-8, the system's own encoding.
std::string CodePageName(uint32_t cp) {
  switch (cp) {
    case 0:
    case 65001: return "UTF-8";
    case 932: return "CP932";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    case 51932: return "EUC-JP";
    case 50220: return "ISO-2022-JP";
    default: return "CP" + std::to_string(cp);
  }
}

// The converter's name of the port's code page, refused when the converter does not know it.
std::string KnownCodePage(uint32_t cp) {
  std::string name = CodePageName(cp);
  if (!CodePageKnown(name.c_str())) throw EConvertError(u"No conversion for code page " + UTF8ToString(name));
  return name;
}
}  // namespace

int TCustomComPort::WriteUnicodeString(const String& Str) {
  // Characters the code page cannot carry are left out, as the system conversion drops them.
  std::string bytes;
  EncodeCodePage(Str, KnownCodePage(FCodePage).c_str(), bytes, true);
  String packed(bytes.begin(), bytes.end());
  for (auto& c : packed) c = static_cast<Char>(static_cast<uint8_t>(c));
  return WriteStr(packed);
}

int TCustomComPort::ReadUnicodeString(String& Str, int Count) {
  String raw;
  int n = ReadStr(raw, Count);
  std::string bytes(raw.size(), '\0');
  for (size_t i = 0; i < raw.size(); ++i) bytes[i] = static_cast<char>(raw[i]);
  DecodeCodePage(bytes, KnownCodePage(FCodePage).c_str(), Str, true);
  (void)n;
  return static_cast<int>(Str.size());
}

// ---- Status and line control ------------------------------------------------------------------

bool TCustomComPort::ClearError(DWORD& Errors, COMSTAT& Stat) {
  if (ClearCommError(FHandle, &Errors, &Stat)) return true;
  ReportPortError(CE_ClearComFailed + 1, GetLastError());
  Errors = 0;
  Stat = COMSTAT();
  return false;
}

void TCustomComPort::QueryStatus(COMSTAT& Stat) {
  DWORD e = 0;
  ClearError(e, Stat);
  if (e != 0) FHeldErrors.fetch_or(e);
}

int TCustomComPort::InputCount() {
  COMSTAT st;
  QueryStatus(st);
  return static_cast<int>(st.cbInQue);
}

int TCustomComPort::OutputCount() {
  COMSTAT st;
  QueryStatus(st);
  return static_cast<int>(st.cbOutQue);
}

TComStateFlags TCustomComPort::StateFlags() {
  COMSTAT st;
  QueryStatus(st);
  TComStateFlags f;
  if (st.fCtsHold) f.Include(fCtlHold);
  if (st.fDsrHold) f.Include(fDsrHold);
  if (st.fRlsdHold) f.Include(fRlsHold);
  if (st.fXoffHold) f.Include(fXoffHold);
  if (st.fXoffSent) f.Include(fXOffSent);
  if (st.fEof) f.Include(fEof);
  if (st.fTxim) f.Include(fTxim);
  return f;
}

TComErrors TCustomComPort::LastErrors() {
  DWORD e = 0;
  COMSTAT st;
  ClearError(e, st);
  e |= FHeldErrors.exchange(0);
  TComErrors r;
  if (e & CE_FRAME) r.Include(ceFrame);
  if ((e & CE_RXPARITY) && FParity->FCheck) r.Include(ceRxParity);
  if (e & CE_OVERRUN) r.Include(ceOverrun);
  if (e & CE_BREAK) r.Include(ceBreak);
  if (e & CE_IOE) r.Include(ceIO);
  if (e & CE_MODE) r.Include(ceMode);
  if (e & CE_RXOVER) r.Include(ceRxOver);
  if (e & CE_TXFULL) r.Include(ceTxFull);
  return r;
}

TComSignals TCustomComPort::ReadSignals(bool Report) {
  DWORD st = 0;
  if (!GetCommModemStatus(FHandle, &st)) {
    if (Report) ReportPortError(CE_ModemStatFailed + 1, GetLastError());
    return {};
  }
  TComSignals s;
  if (st & MS_CTS_ON) s.Include(csCTS);
  if (st & MS_DSR_ON) s.Include(csDSR);
  if (st & MS_RING_ON) s.Include(csRing);
  if (st & MS_RLSD_ON) s.Include(csRLSD);
  return s;
}

TComSignals TCustomComPort::Signals() { return ReadSignals(true); }

void TCustomComPort::Escape(DWORD Function) {
  if (!EscapeCommFunction(FHandle, Function)) ReportPortError(CE_EscapeComFailed + 1, GetLastError());
}

void TCustomComPort::SetDTR(bool OnOff) { Escape(OnOff ? SETDTR : CLRDTR); }
void TCustomComPort::SetRTS(bool OnOff) { Escape(OnOff ? SETRTS : CLRRTS); }
void TCustomComPort::SetXonXoff(bool OnOff) { Escape(OnOff ? SETXON : SETXOFF); }
void TCustomComPort::SetBreak(bool OnOff) { Escape(OnOff ? SETBREAK : CLRBREAK); }

void TCustomComPort::ClearBuffer(bool Input, bool Output) {
  DWORD flags = (Input ? PURGE_RXCLEAR : 0) | (Output ? PURGE_TXCLEAR : 0);
  if (!PurgeComm(FHandle, flags)) ReportPortError(CE_PurgeFailed + 1, GetLastError());
}

void TCustomComPort::TransmitChar(Char Ch) {
  if (!TransmitCommChar(FHandle, static_cast<char>(Ch & 0xFF))) ReportPortError(CE_TransmitFailed + 1, GetLastError());
}

void TCustomComPort::WaitForEvent(TComEvents& Events, HANDLE StopEvent, int Timeout) {
  if (FThreadCreated) return ReportPortError(CE_ThreadCreated + 1);
  OVERLAPPED ov;
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE list[2] = {ov.hEvent, StopEvent};
  DWORD count = StopEvent ? 2 : 1;
  DWORD mask = 0;
  bool ok = false;
  DWORD err = 0;
  SetCommMask(FHandle, EventsToMask(Events));
  if (WaitCommEvent(FHandle, &mask, &ov) || GetLastError() == ERROR_IO_PENDING) {
    DWORD r = WaitForMultipleObjects(count, list, FALSE, static_cast<DWORD>(std::max(Timeout, 0)));
    ok = r == WAIT_OBJECT_0 || r == WAIT_OBJECT_0 + 1 || r == WAIT_TIMEOUT;
    if (!ok) err = GetLastError();
    SetCommMask(FHandle, 0);
  } else {
    err = GetLastError();
  }
  CloseHandle(ov.hEvent);
  if (!ok) return ReportPortError(CE_WaitFailed + 1, err);
  Events = MaskToEvents(mask);
}

bool TCustomComPort::TriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }

void TCustomComPort::SetTriggersOnRxChar(bool V) {
  if (FHasLink) return ReportPortError(CE_HasLink + 1);
  FTriggersOnRxChar = V;
}

// ---- Links ------------------------------------------------------------------------------------

void TCustomComPort::UpdateHasLink() {
  FHasLink = std::any_of(FLinks.begin(), FLinks.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::RegisterLink(TComLink* AComLink) {
  if (std::find(FLinks.begin(), FLinks.end(), AComLink) != FLinks.end()) return ReportPortError(CE_RegFailed + 1);
  FLinks.push_back(AComLink);
  UpdateHasLink();
}

void TCustomComPort::UnRegisterLink(TComLink* AComLink) {
  auto it = std::find(FLinks.begin(), FLinks.end(), AComLink);
  if (it == FLinks.end()) return ReportPortError(CE_RegFailed + 1);
  FLinks.erase(it);
  UpdateHasLink();
}
