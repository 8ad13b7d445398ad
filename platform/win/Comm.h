#pragma once
// Serial communications calls of the API facade over Linux ttys.
//
// A port handle owns the device and one I/O thread. The thread polls the device (and a
// wake-up descriptor), keeps a user-space receive queue, writes queued output, enforces the
// time-outs and keeps the driver's event history, so that overlapped reads, writes and event
// waits behave as the component expects. System error codes are errno values (2 = no such
// device, 16 = busy, 5 = I/O error after the device vanished, 110 = write time-out).
//
// Events (CreateEventW ...) are plain in-process objects; WaitForMultipleObjects waits on any
// of them. GetLastError/SetLastError are per thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win/Windows.h"

using LPCWSTR = const char16_t*;

// ---- Errors ---------------------------------------------------------------------------------

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;        // ENOENT
constexpr DWORD ERROR_GEN_FAILURE = 5;           // EIO
constexpr DWORD ERROR_INVALID_HANDLE = 9;        // EBADF
constexpr DWORD ERROR_BUSY = 16;                 // EBUSY
constexpr DWORD ERROR_INVALID_PARAMETER = 22;    // EINVAL
constexpr DWORD ERROR_OPERATION_ABORTED = 125;   // ECANCELED
constexpr DWORD ERROR_SEM_TIMEOUT = 110;         // ETIMEDOUT
constexpr DWORD ERROR_IO_INCOMPLETE = 996;
constexpr DWORD ERROR_IO_PENDING = 997;

DWORD GetLastError();
void SetLastError(DWORD code);

// ---- Events and handles -----------------------------------------------------------------------

#ifndef INFINITE
#define INFINITE 0xFFFFFFFFu
#endif
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

HANDLE CreateEventW(void* security, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
// Closes an event or a port. A port's pending operations complete as aborted; the port is
// released even when its device fails to close (that failure is still returned).
BOOL CloseHandle(HANDLE handle);

// ---- Records ----------------------------------------------------------------------------------

constexpr DWORD MAXDWORD = 0xFFFFFFFF;

struct OVERLAPPED {
  uintptr_t Internal = 0;      // status: 0 done, ERROR_IO_PENDING, or the error code
  uintptr_t InternalHigh = 0;  // bytes transferred
  DWORD Offset = 0;
  DWORD OffsetHigh = 0;
  HANDLE hEvent = nullptr;     // set when the operation completes
};

struct DCB {
  DWORD DCBlength = sizeof(DCB);
  DWORD BaudRate = 0;
  DWORD fBinary : 1;
  DWORD fParity : 1;
  DWORD fOutxCtsFlow : 1;
  DWORD fOutxDsrFlow : 1;
  DWORD fDtrControl : 2;
  DWORD fDsrSensitivity : 1;
  DWORD fTXContinueOnXoff : 1;
  DWORD fOutX : 1;
  DWORD fInX : 1;
  DWORD fErrorChar : 1;
  DWORD fNull : 1;
  DWORD fRtsControl : 2;
  DWORD fAbortOnError : 1;
  DWORD fDummy2 : 17;
  WORD wReserved = 0;
  WORD XonLim = 0;
  WORD XoffLim = 0;
  BYTE ByteSize = 8;
  BYTE Parity = 0;
  BYTE StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  WORD wReserved1 = 0;
  DCB()
      : fBinary(1), fParity(0), fOutxCtsFlow(0), fOutxDsrFlow(0), fDtrControl(0), fDsrSensitivity(0),
        fTXContinueOnXoff(0), fOutX(0), fInX(0), fErrorChar(0), fNull(0), fRtsControl(0), fAbortOnError(0),
        fDummy2(0) {}
};

constexpr BYTE NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
constexpr BYTE ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;
constexpr DWORD DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2, RTS_CONTROL_TOGGLE = 3;

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};

struct COMSTAT {
  DWORD fCtsHold : 1;
  DWORD fDsrHold : 1;
  DWORD fRlsdHold : 1;
  DWORD fXoffHold : 1;
  DWORD fXoffSent : 1;
  DWORD fEof : 1;
  DWORD fTxim : 1;
  DWORD fReserved : 25;
  DWORD cbInQue = 0;
  DWORD cbOutQue = 0;
  COMSTAT() : fCtsHold(0), fDsrHold(0), fRlsdHold(0), fXoffHold(0), fXoffSent(0), fEof(0), fTxim(0), fReserved(0) {}
};

// Event mask bits.
constexpr DWORD EV_RXCHAR = 0x0001, EV_RXFLAG = 0x0002, EV_TXEMPTY = 0x0004, EV_CTS = 0x0008, EV_DSR = 0x0010,
                EV_RLSD = 0x0020, EV_BREAK = 0x0040, EV_ERR = 0x0080, EV_RING = 0x0100, EV_RX80FULL = 0x0400;
// PurgeComm flags.
constexpr DWORD PURGE_TXABORT = 0x0001, PURGE_RXABORT = 0x0002, PURGE_TXCLEAR = 0x0004, PURGE_RXCLEAR = 0x0008;
// EscapeCommFunction codes.
constexpr DWORD SETXOFF = 1, SETXON = 2, SETRTS = 3, CLRRTS = 4, SETDTR = 5, CLRDTR = 6, SETBREAK = 8, CLRBREAK = 9;
// Modem status bits.
constexpr DWORD MS_CTS_ON = 0x0010, MS_DSR_ON = 0x0020, MS_RING_ON = 0x0040, MS_RLSD_ON = 0x0080;
// Line error bits.
constexpr DWORD CE_RXOVER = 0x0001, CE_OVERRUN = 0x0002, CE_RXPARITY = 0x0004, CE_FRAME = 0x0008, CE_BREAK = 0x0010,
                CE_TXFULL = 0x0100, CE_IOE = 0x0400, CE_MODE = 0x8000;

// CreateFileW arguments the component passes.
constexpr DWORD GENERIC_READ = 0x80000000, GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

// ---- Communications calls ---------------------------------------------------------------------

// Opens a serial device for exclusive use. Name: a device path, a bare name under /dev, or
// "COMn" (= /dev/ttyS(n-1)); a leading "\\.\" is ignored. A device held by another open
// (in this or another process, also as root) fails with ERROR_BUSY.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                   HANDLE templ);
BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue);
BOOL GetCommState(HANDLE port, DCB* dcb);
// Rejects 1.5 stop bits with 6-8 data bits, 2 stop bits with 5 data bits and other impossible
// combinations with ERROR_INVALID_PARAMETER, changing nothing.
BOOL SetCommState(HANDLE port, const DCB* dcb);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL GetCommMask(HANDLE port, DWORD* mask);
// A pending WaitCommEvent completes at once with an empty mask.
BOOL SetCommMask(HANDLE port, DWORD mask);
BOOL WaitCommEvent(HANDLE port, DWORD* eventMask, OVERLAPPED* overlapped);
BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait);
BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat);
// Devices without modem lines (pseudo-terminals) report all lines off.
BOOL GetCommModemStatus(HANDLE port, DWORD* modemStat);
BOOL EscapeCommFunction(HANDLE port, DWORD function);
BOOL PurgeComm(HANDLE port, DWORD flags);
BOOL TransmitCommChar(HANDLE port, char ch);
// Once the device is gone, reads still get the bytes received before (at once, no more
// than are queued) and a wait still gets the events recorded before; then they fail.
BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped);
// The bytes are copied at once; a write that cannot finish by its time-out fails with
// ERROR_SEM_TIMEOUT, reporting the bytes sent so far.
BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* written, OVERLAPPED* overlapped);

// Device path a port name stands for ("ttyUSB0" -> "/dev/ttyUSB0").
std::string CommDevicePath(const String& name);

// ---- Device back ends ------------------------------------------------------------------------

// The calls a back end may be told to fail (fake devices).
enum class TCommCall {
  Open, Close, SetupComm, SetState, SetTimeouts, SetMask, WaitEvent, GetResult, ClearError, ModemStatus,
  Escape, Purge, TransmitChar, Read, Write
};

// What a port handle needs of the device. Every call returns 0 or an errno value; byte
// transfers return the count or -errno (-EAGAIN when nothing can move now, -EIO when the
// device is gone).
class TCommBackend {
public:
  virtual ~TCommBackend() = default;
  virtual int Open(const std::string& path) = 0;
  virtual int Close() = 0;
  // Descriptor to poll: readable when bytes wait, writable when output fits, hang-up on loss.
  virtual int Fd() const = 0;
  virtual long ReadBytes(uint8_t* buf, size_t n) = 0;
  virtual long WriteBytes(const uint8_t* buf, size_t n) = 0;
  // Applies the line settings. The receive side must mark errors the tty way:
  // FF FF = data FF, FF 00 00 = break, FF 00 c = byte c with a parity or framing error.
  virtual int ApplyState(const DCB& dcb) = 0;
  // TIOCM_* bits. ENOTTY/EINVAL mean the device has no modem lines.
  virtual int GetModemLines(int& bits) = 0;
  virtual int ChangeModemLines(int set, int clear) = 0;
  virtual int SuspendOutput(bool suspend) = 0;
  virtual int SetBreak(bool on) = 0;
  virtual int Flush(bool input, bool output) = 0;
  virtual int OutQueue(int& bytes) = 0;
  // Error counters since open (parity, frame, overrun, buffer overrun, breaks); ENOTTY if none.
  struct Counters {
    int parity = 0, frame = 0, overrun = 0, bufOverrun = 0, brk = 0;
  };
  virtual int GetCounters(Counters& c) = 0;
  // Nonzero: the call is made to fail with this code before it reaches the device.
  virtual int Injected(TCommCall) { return 0; }
};

// Makes the back end for a device path; nullptr means "not mine" (the termios back end is used).
using TCommBackendFactory = std::function<std::unique_ptr<TCommBackend>(const std::string& path)>;
// Installs a factory consulted before the termios back end; returns the previous one.
TCommBackendFactory SetCommBackendFactory(TCommBackendFactory factory);
std::unique_ptr<TCommBackend> CreateTermiosBackend();
