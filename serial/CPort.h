#pragma once
// The serial port component: line settings, open/close, an event thread delivering line
// events, reads and writes, line control, links, the settings store and the port list.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/win/Comm.h"
#include "platform/win/WinUser.h"

enum TBaudRate : uint8_t {
  brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600,
  br115200, br128000, br256000
};
enum TStopBits : uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent : uint8_t { evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full };
using TComEvents = Set<TComEvent>;
enum TComSignal : uint8_t { csCTS, csDSR, csRing, csRLSD };
using TComSignals = Set<TComSignal>;
enum TComError : uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = Set<TComError>;
enum TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };
enum TStoreType : uint8_t { stRegistry, stIniFile };
enum TStoredProp : uint8_t { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
using TStoredProps = Set<TStoredProp>;
enum TComStateFlag : uint8_t { fCtlHold, fDsrHold, fRlsHold, fXoffHold, fXOffSent, fEof, fTxim };
using TComStateFlags = Set<TComStateFlag>;

enum TComExceptions : uint8_t {
  CE_OpenFailed, CE_WriteFailed, CE_ReadFailed, CE_InvalidAsync, CE_PurgeFailed, CE_AsyncCheck, CE_SetStateFailed,
  CE_TimeoutsFailed, CE_SetupComFailed, CE_ClearComFailed, CE_ModemStatFailed, CE_EscapeComFailed,
  CE_TransmitFailed, CE_ConnChangeProp, CE_EnumPortsFailed, CE_StoreFailed, CE_LoadFailed, CE_RegFailed,
  CE_LedStateFailed, CE_ThreadCreated, CE_WaitFailed, CE_HasLink, CE_RegError, CEPortNotOpen
};

// The 24 error texts; index = code - 1.
extern const String ComErrorMessages[24];

class TCustomComPort;
class TRegistry;
class TCustomIniFile;

using TRxCharEvent = std::function<void(TObject* Sender, int Count)>;
using TRxBufEvent = std::function<void(TObject* Sender, const void* Buffer, int Count)>;
using TComErrorEvent = std::function<void(TObject* Sender, TComErrors Errors)>;
using TComSignalEvent = std::function<void(TObject* Sender, bool OnOff)>;
using TComExceptionEvent = std::function<void(TObject* Sender, TComExceptions TComException,
                                              const String& ComportMessage, int64_t WinError,
                                              const String& WinMessage)>;

class EComPort : public Exception {
public:
  EComPort(int ACode, int AWinCode);  // message: table text + " (Error: %d)"
  static EComPort CreateNoWinCode(int ACode);
  int WinCode() const { return FWinCode; }
  int Code() const { return FCode; }

private:
  EComPort(int ACode, int AWinCode, String Msg);
  int FWinCode;
  int FCode;
};

// ---- Settings objects --------------------------------------------------------------------------

class TComTimeouts : public TPersistent {
public:
  String ClassName() const override { return u"TComTimeouts"; }
  void Assign(TPersistent* Source) override;
  int32_t ReadInterval() const { return FReadInterval; }
  int32_t ReadTotalMultiplier() const { return FReadTotalM; }
  int32_t ReadTotalConstant() const { return FReadTotalC; }
  int32_t WriteTotalMultiplier() const { return FWriteTotalM; }
  int32_t WriteTotalConstant() const { return FWriteTotalC; }
  void SetReadInterval(int32_t V);
  void SetReadTotalMultiplier(int32_t V);
  void SetReadTotalConstant(int32_t V);
  void SetWriteTotalMultiplier(int32_t V);
  void SetWriteTotalConstant(int32_t V);
  TCustomComPort* ComPort() const { return FComPort; }

private:
  friend class TCustomComPort;
  void Set(int32_t& Field, int32_t V);
  TCustomComPort* FComPort = nullptr;
  int32_t FReadInterval = -1, FReadTotalM = 0, FReadTotalC = 0, FWriteTotalM = 100, FWriteTotalC = 1000;
};

class TComFlowControl : public TPersistent {
public:
  String ClassName() const override { return u"TComFlowControl"; }
  void Assign(TPersistent* Source) override;
  bool OutCTSFlow() const { return FOutCTSFlow; }
  bool OutDSRFlow() const { return FOutDSRFlow; }
  TDTRFlowControl ControlDTR() const { return FControlDTR; }
  TRTSFlowControl ControlRTS() const { return FControlRTS; }
  bool XonXoffOut() const { return FXonXoffOut; }
  bool XonXoffIn() const { return FXonXoffIn; }
  bool DSRSensitivity() const { return FDSRSensitivity; }
  bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
  Char XonChar() const { return FXonChar; }
  Char XoffChar() const { return FXoffChar; }
  void SetOutCTSFlow(bool V);
  void SetOutDSRFlow(bool V);
  void SetControlDTR(TDTRFlowControl V);
  void SetControlRTS(TRTSFlowControl V);
  void SetXonXoffOut(bool V);
  void SetXonXoffIn(bool V);
  void SetDSRSensitivity(bool V);
  void SetTxContinueOnXoff(bool V);
  void SetXonChar(Char V);
  void SetXoffChar(Char V);
  // The preset the fields amount to; writing a preset sets the fields (fcCustom keeps them).
  TFlowControl FlowControl() const;
  void SetFlowControl(TFlowControl V);
  TCustomComPort* ComPort() const { return FComPort; }

private:
  friend class TCustomComPort;
  template <typename T>
  void Set(T& Field, T V);
  TCustomComPort* FComPort = nullptr;
  bool FOutCTSFlow = false, FOutDSRFlow = false;
  TDTRFlowControl FControlDTR = dtrDisable;
  TRTSFlowControl FControlRTS = rtsDisable;
  bool FXonXoffOut = false, FXonXoffIn = false, FDSRSensitivity = false, FTxContinueOnXoff = false;
  Char FXonChar = 17, FXoffChar = 19;
};

class TComParity : public TPersistent {
public:
  String ClassName() const override { return u"TComParity"; }
  void Assign(TPersistent* Source) override;
  TParityBits Bits() const { return FBits; }
  bool Check() const { return FCheck; }
  bool Replace() const { return FReplace; }
  Char ReplaceChar() const { return FReplaceChar; }
  void SetBits(TParityBits V);
  void SetCheck(bool V);
  void SetReplace(bool V);
  void SetReplaceChar(Char V);
  TCustomComPort* ComPort() const { return FComPort; }

private:
  friend class TCustomComPort;
  template <typename T>
  void Set(T& Field, T V);
  TCustomComPort* FComPort = nullptr;
  TParityBits FBits = prNone;
  bool FCheck = false, FReplace = false;
  Char FReplaceChar = 0;
};

class TComBuffer : public TPersistent {
public:
  String ClassName() const override { return u"TComBuffer"; }
  void Assign(TPersistent* Source) override;
  int32_t InputSize() const { return FInputSize; }
  int32_t OutputSize() const { return FOutputSize; }
  // A positive odd size is lowered by one.
  void SetInputSize(int32_t V);
  void SetOutputSize(int32_t V);
  TCustomComPort* ComPort() const { return FComPort; }

private:
  friend class TCustomComPort;
  void Set(int32_t& Field, int32_t V);
  TCustomComPort* FComPort = nullptr;
  int32_t FInputSize = 1024, FOutputSize = 1024;
};

// ---- Asynchronous operations and links -------------------------------------------------------

struct TComAsync {
  OVERLAPPED Overlapped;
  uint8_t Kind = 0;  // 0 write, 1 read
  std::vector<uint8_t> Data;
  int32_t Size = 0;
};
using PAsync = TComAsync*;

void CreateAsyncRecord(PAsync& AsyncPtr);
void DestroyAsyncRecord(PAsync& AsyncPtr);

class TComLink : public TObject {
public:
  String ClassName() const override { return u"TComLink"; }
  TComSignalEvent OnConn;
  TRxBufEvent OnRxBuf;
  TRxBufEvent OnTxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnRxFlag;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TNotifyEvent OnRing;
  TComSignalEvent OnTx;
  TComSignalEvent OnRx;
};

// ---- The event thread ---------------------------------------------------------------------------

class TComThread : public TThread {
public:
  explicit TComThread(TCustomComPort* AComPort);
  // Stops the thread and waits for it; meanwhile the GUI thread keeps serving sent messages
  // and synchronised calls, which the closing port drops.
  ~TComThread() override;
  String ClassName() const override { return u"TComThread"; }

  // Tells the thread to stop; no more events are delivered.
  void Stop();
  // True while the calling thread runs one of this thread's deliveries that the thread
  // waits for (smThreadSync on the GUI thread, smNone on the thread itself).
  bool InDelivery() const;
  // For a Close from inside such a delivery, where waiting for the thread would wait for
  // the caller: the thread stops, frees itself once the delivery has returned, and touches
  // neither the port nor its handle again. The caller gives up its ownership.
  void Release();

protected:
  void Execute() override;

private:
  bool Stopped() const;
  void Dispatch(bool Lost, int Code);
  void Deliver(bool Lost, int Code);
  void SendEvents();
  TCustomComPort* FComPort;
  HANDLE FStopEvent;
  TComEvents FEvents;
  std::atomic<bool> FReleased{false};
  bool FSyncDelivering = false;  // GUI thread only: a synchronised delivery is running
};

DWORD EventsToMask(const TComEvents& Events);
TComEvents MaskToEvents(DWORD Mask);

// ---- The port ---------------------------------------------------------------------------------

// Properties, Open, Close, BeginUpdate and EndUpdate belong to the GUI thread; with smNone a
// handler running on the port's event thread may use them as well (closing or reopening
// the port from a handler works with every sync method).
class TCustomComPort : public TComponent {
public:
  explicit TCustomComPort(TComponent* AOwner);
  ~TCustomComPort() override;
  String ClassName() const override { return u"TCustomComPort"; }

  // Open/close
  void Open();
  void Close();
  bool Connected() const { return FConnected; }
  void SetConnected(bool Value);
  void BeginUpdate();
  void EndUpdate();

  // Settings
  TBaudRate BaudRate() const { return FBaudRate; }
  void SetBaudRate(TBaudRate V);
  int32_t CustomBaudRate() const { return FCustomBaudRate; }
  void SetCustomBaudRate(int32_t V);
  const String& Port() const { return FPort; }
  void SetPort(const String& V);
  TStopBits StopBits() const { return FStopBits; }
  void SetStopBits(TStopBits V);
  TDataBits DataBits() const { return FDataBits; }
  void SetDataBits(TDataBits V);
  bool DiscardNull() const { return FDiscardNull; }
  void SetDiscardNull(bool V);
  Char EventChar() const { return FEventChar; }
  void SetEventChar(Char V);
  TComEvents Events() const { return FEvents; }
  void SetEvents(const TComEvents& V) { FEvents = V; }
  TComParity* Parity() const { return FParity.get(); }
  void SetParity(TComParity* V);
  TComFlowControl* FlowControl() const { return FFlowControl.get(); }
  void SetFlowControl(TComFlowControl* V);
  TComTimeouts* Timeouts() const { return FTimeouts.get(); }
  void SetTimeouts(TComTimeouts* V);
  TComBuffer* Buffer() const { return FBuffer.get(); }
  void SetBuffer(TComBuffer* V);
  TStoredProps StoredProps() const { return FStoredProps; }
  void SetStoredProps(const TStoredProps& V) { FStoredProps = V; }
  bool TriggersOnRxChar() const;
  void SetTriggersOnRxChar(bool V);
  TSyncMethod SyncMethod() const { return FSyncMethod; }
  void SetSyncMethod(TSyncMethod V);
  TThreadPriority EventThreadPriority() const { return FEventThreadPriority; }
  void SetEventThreadPriority(TThreadPriority V);
  uint32_t CodePage() const { return FCodePage; }
  void SetCodePage(uint32_t V) { FCodePage = V; }
  HANDLE Handle() const { return FHandle; }

  // Reading and writing
  int WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr);
  int Write(const void* Buffer, int Count);
  int WriteStrAsync(String& Str, PAsync& AsyncPtr);
  int WriteStr(const String& Str);
  int ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr);
  int Read(void* Buffer, int Count);
  int ReadStrAsync(std::string& Str, int Count, PAsync& AsyncPtr);
  int ReadStr(String& Str, int Count);
  int WriteUnicodeString(const String& Str);
  int ReadUnicodeString(String& Str, int Count);
  int WaitForAsync(PAsync& AsyncPtr);
  bool IsAsyncCompleted(PAsync AsyncPtr);
  void AbortAllAsync();

  // Status and line control
  int InputCount();
  int OutputCount();
  TComSignals Signals();
  TComStateFlags StateFlags();
  TComErrors LastErrors();
  void SetDTR(bool OnOff);
  void SetRTS(bool OnOff);
  void SetXonXoff(bool OnOff);
  void SetBreak(bool OnOff);
  void ClearBuffer(bool Input, bool Output);
  void TransmitChar(Char Ch);
  void WaitForEvent(TComEvents& Events, HANDLE StopEvent, int Timeout);

  // Links
  void RegisterLink(TComLink* AComLink);
  void UnRegisterLink(TComLink* AComLink);

  // Settings store
  void StoreSettings(TStoreType StoreType, const String& StoreTo);
  void LoadSettings(TStoreType StoreType, const String& LoadFrom);

  // The one error path: raises EComPort, or calls OnException when assigned.
  void ReportPortError(uint16_t Code, int64_t WinError = 0);

  TNotifyEvent OnAfterOpen, OnAfterClose, OnBeforeOpen, OnBeforeClose;
  TRxCharEvent OnRxChar;
  TRxBufEvent OnRxBuf;
  TNotifyEvent OnTxEmpty, OnBreak, OnRing;
  TComSignalEvent OnCTSChange, OnDSRChange, OnRLSDChange;
  TNotifyEvent OnRxFlag;
  TComErrorEvent OnError;
  TNotifyEvent OnRx80Full;
  TComExceptionEvent OnException;

  // Message number of the hidden window's line events.
  static constexpr UINT CM_COMPORT = WM_USER + 1;

protected:
  void Loaded() override;
  virtual void StoreRegistry(TRegistry& Reg);
  virtual void StoreIniFile(TCustomIniFile& IniFile);
  virtual void LoadRegistry(TRegistry& Reg);
  virtual void LoadIniFile(TCustomIniFile& IniFile);
  virtual void CreatePortHandle();
  virtual void DestroyPortHandle();
  virtual void ApplyPortSettings();

  virtual void DoAfterClose();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoRxChar(int Count);
  virtual void DoRxBuf(const void* Buffer, int Count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoRxFlag();
  virtual void DoCTSChange(bool OnOff);
  virtual void DoDSRChange(bool OnOff);
  virtual void DoError(TComErrors Errors);
  virtual void DoRLSDChange(bool OnOff);
  virtual void DoRx80Full();
  virtual void ApplyDCB();
  virtual void ApplyTimeouts();
  virtual void ApplyBuffer();

private:
  friend class TComThread;
  friend class TComTimeouts;
  friend class TComFlowControl;
  friend class TComParity;
  friend class TComBuffer;

  // Shared with the code running a delivery: false once Close has begun, so that the rest
  // of a delivery stops without touching a port a handler may have closed or freed.
  using TLive = std::shared_ptr<const std::atomic<bool>>;

  bool CanApply() const;
  bool Delivering() const { return FConnected && !FClosing; }
  void AssertOwnerThread() const;
  // Close's steps after its notifications: stops the thread, frees the window and the handle.
  void ReleasePort();
  void WindowMethod(TMessage& Message);
  void HandleEvent(TComEvent Event);
  void HandleLineLost(int Code);
  void CallRxChar(const TLive& Live);
  void CallSignal(const TLive& Live, TComSignal Signal, TComSignalEvent TComLink::*LinkEvent,
                  void (TCustomComPort::*Fire)(bool));
  bool ClearError(DWORD& Errors, COMSTAT& Stat);
  // ClearError for a status query: the line errors it takes from the driver are held for
  // the next LastErrors, so an error found by a count query still reaches OnError.
  void QueryStatus(COMSTAT& Stat);
  TComSignals ReadSignals(bool Report);
  void Escape(DWORD Function);
  void UpdateHasLink();
  // Calls f for each registered link; with Live, stops as soon as the port is closing.
  template <typename F>
  void ForLinks(F f, const TLive& Live = nullptr);

  std::unique_ptr<TComThread> FEventThread;
  bool FThreadCreated = false;
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  HWND FWindow = nullptr;
  int32_t FUpdateCount = 0;
  std::vector<TComLink*> FLinks;
  bool FTriggersOnRxChar = true;
  TThreadPriority FEventThreadPriority = tpNormal;
  bool FHasLink = false;
  bool FConnected = false;
  bool FClosing = false;     // Close has begun: queued line events are dropped
  std::shared_ptr<std::atomic<bool>> FLive;  // this connection still delivers (see TLive)
  bool FStreamedConnected = false;
  std::atomic<DWORD> FHeldErrors{0};  // taken by status queries, not reported yet
  TBaudRate FBaudRate = br9600;
  int32_t FCustomBaudRate = 9600;
  String FPort;
  TStopBits FStopBits = sbOneStopBit;
  TDataBits FDataBits = dbEight;
  bool FDiscardNull = false;
  Char FEventChar = 0;
  TComEvents FEvents;
  std::unique_ptr<TComBuffer> FBuffer;
  std::unique_ptr<TComParity> FParity;
  std::unique_ptr<TComTimeouts> FTimeouts;
  std::unique_ptr<TComFlowControl> FFlowControl;
  TSyncMethod FSyncMethod = smThreadSync;
  TStoredProps FStoredProps;
  uint32_t FCodePage = 0;
};

class TComPort : public TCustomComPort {
public:
  using TCustomComPort::TCustomComPort;
  String ClassName() const override { return u"TComPort"; }
};

// ---- Value texts and the port list -----------------------------------------------------------

String BaudRateToStr(TBaudRate BaudRate);
String StopBitsToStr(TStopBits StopBits);
String DataBitsToStr(TDataBits DataBits);
String ParityToStr(TParityBits Parity);
String FlowControlToStr(TFlowControl FlowControl);
String DTRToStr(TDTRFlowControl DTRFlowControl);
String RTSToStr(TRTSFlowControl RTSFlowControl);
TBaudRate StrToBaudRate(const String& Str);
TStopBits StrToStopBits(const String& Str);
TDataBits StrToDataBits(const String& Str);
TParityBits StrToParity(const String& Str);
TFlowControl StrToFlowControl(const String& Str);
TDTRFlowControl StrToDTR(const String& Str);
TRTSFlowControl StrToRTS(const String& Str);
String BoolToText(bool B);
bool TextToBool(const String& Text);
String CharToText(Char Ch);
Char TextToChar(const String& Text);

// Bits per second of a table rate (0 for brCustom).
int32_t BaudRateValue(TBaudRate BaudRate);

// Fills List with the machine's serial ports (device names under /dev, e.g. "ttyUSB0"),
// sorted; found in <root>/sys/class/tty/*/device and <root>/dev/serial/by-id. When neither
// source can be read the list is left as it was.
void EnumComPorts(TStrings* List);
// The folder the port list is read under ("/" by default; tests point it elsewhere).
void SetComPortsRoot(const String& Root);
