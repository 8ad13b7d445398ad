#pragma once
// A scripted serial device for tests of everything a pseudo-terminal cannot do: modem lines,
// breaks, parity and framing errors, overruns, a driver that holds output, device loss and
// forced failures of any call. While an instance lives, CreateFileW of its name reaches it.

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Comm.h"

class TFakeCommDevice {
public:
  explicit TFakeCommDevice(const String& name);
  ~TFakeCommDevice();
  TFakeCommDevice(const TFakeCommDevice&) = delete;
  TFakeCommDevice& operator=(const TFakeCommDevice&) = delete;

  // The line side.
  void Send(const std::string& bytes);  // bytes arriving at the port
  void SendParityError(uint8_t c);
  void SendFramingError(uint8_t c);
  void SendBreak();
  void AddOverrun();
  // Bytes the port has written; waits up to timeoutMs for n of them.
  std::string Receive(size_t n, int timeoutMs = 2000);
  void Hangup();  // the device vanishes (as an unplugged adapter)

  // Modem lines (TIOCM_* bits).
  void SetModemInputs(int bits);
  int ModemOutputs() const;
  void SetHasModemLines(bool has);
  // Bytes the driver reports as still queued for sending.
  void SetOutQueue(int bytes);

  // Makes a call fail with the errno-style code (0 restores it).
  void Fail(TCommCall call, int code);

  bool IsOpen() const;
  bool OutputSuspended() const;
  bool BreakOn() const;
  DCB LastState() const;
  // The calls made on the port, in order: the call names of TCommCall ("SetState", "Read" ...)
  // and the device actions "Flush(in,out)", "SuspendOutput", "ResumeOutput".
  std::vector<std::string> Calls() const;
  void ClearCalls();

  struct State;

private:
  std::shared_ptr<State> state_;
};
