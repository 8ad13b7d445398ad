// The communications calls against real pseudo-terminal pairs and the scripted fake device.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "testing/PtyPair.h"

#include "platform/win/Comm.h"
#include "testing/CommFake.h"

namespace {

// An open port with its own overlapped event.
struct Port {
  HANDLE h = INVALID_HANDLE_VALUE;
  OVERLAPPED ov;
  explicit Port(const std::string& path) {
    h = CreateFileW(UTF8ToString(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OVERLAPPED, nullptr);
    ov.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DCB d;
      d.BaudRate = 9600;
      EXPECT_TRUE(SetCommState(h, &d));
      Timeouts(MAXDWORD, 0, 0, 0, 0);
    }
  }
  ~Port() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    CloseHandle(ov.hEvent);
  }
  void Timeouts(DWORD ri, DWORD rm, DWORD rc, DWORD wm, DWORD wc) const {
    COMMTIMEOUTS t{ri, rm, rc, wm, wc};
    EXPECT_TRUE(SetCommTimeouts(h, &t));
  }
  // Starts an operation and waits for it; returns success and the bytes moved.
  std::pair<bool, DWORD> Finish(BOOL started) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return {false, 0};
    DWORD n = 0;
    BOOL ok = GetOverlappedResult(h, &ov, &n, TRUE);
    return {ok != 0, n};
  }
  std::pair<bool, DWORD> Write(const std::string& s) { return Finish(WriteFile(h, s.data(), DWORD(s.size()), nullptr, &ov)); }
  std::string Read(DWORD n) {
    std::string buf(n, '\0');
    auto [ok, got] = Finish(ReadFile(h, buf.data(), n, nullptr, &ov));
    EXPECT_TRUE(ok);
    buf.resize(got);
    return buf;
  }
  // Waits up to timeoutMs for one of the mask's events; 0 on time-out.
  DWORD WaitEvents(DWORD mask, DWORD timeoutMs = 3000) {
    EXPECT_TRUE(SetCommMask(h, mask));
    DWORD got = 0;
    if (!WaitCommEvent(h, &got, &ov)) {
      EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
      if (WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0) SetCommMask(h, 0);
      DWORD n;
      GetOverlappedResult(h, &ov, &n, TRUE);
    }
    return got;
  }
  DWORD InQueue() const {
    DWORD e;
    COMSTAT st;
    EXPECT_TRUE(ClearCommError(h, &e, &st));
    return st.cbInQue;
  }
};

template <typename F>
bool WaitFor(F cond, int ms = 3000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!cond()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST(CommPty, BytesBothWaysIncludingFF) {
  Pty pty;
  Port port(pty.path);
  ASSERT_NE(port.h, INVALID_HANDLE_VALUE);
  std::string out("MD\r\n\xFF\x00\x11", 7);
  auto [ok, n] = port.Write(out);
  EXPECT_TRUE(ok);
  EXPECT_EQ(n, 7u);
  EXPECT_EQ(pty.Receive(7), out);

  std::string in("\x2A\xFF\x00OK\xB1", 6);
  pty.Send(in);
  ASSERT_TRUE(WaitFor([&] { return port.InQueue() == 6; }));
  EXPECT_EQ(port.Read(100), in);  // the immediate time-out returns what is queued
  EXPECT_EQ(port.Read(10), "");
}

TEST(CommPty, EventsForReceivedBytesAndDrainedOutput) {
  Pty pty;
  Port port(pty.path);
  EXPECT_EQ(port.WaitEvents(EV_RXCHAR | EV_TXEMPTY, 50), 0u);
  // The timed-out wait cleared the mask, and a byte that arrives under an empty mask raises
  // nothing: set the mask again before sending.
  ASSERT_TRUE(SetCommMask(port.h, EV_RXCHAR | EV_TXEMPTY));
  pty.Send("x");
  EXPECT_EQ(port.WaitEvents(EV_RXCHAR | EV_TXEMPTY), EV_RXCHAR);
  port.Write("abc");
  EXPECT_EQ(port.WaitEvents(EV_RXCHAR | EV_TXEMPTY), EV_TXEMPTY);
  // Once per drain: no second TX-empty without another write.
  EXPECT_EQ(port.WaitEvents(EV_TXEMPTY, 50), 0u);
}

TEST(CommPty, SetCommMaskEndsAPendingWaitWithAnEmptyMask) {
  Pty pty;
  Port port(pty.path);
  ASSERT_TRUE(SetCommMask(port.h, EV_RXCHAR));
  DWORD got = 123;
  ASSERT_FALSE(WaitCommEvent(port.h, &got, &port.ov));
  ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
  ASSERT_TRUE(SetCommMask(port.h, 0));
  DWORD n;
  EXPECT_TRUE(GetOverlappedResult(port.h, &port.ov, &n, TRUE));
  EXPECT_EQ(got, 0u);
}

TEST(CommPty, OpenIsExclusiveAndMissingDevicesReportTheirCode) {
  Pty pty;
  Port first(pty.path);
  ASSERT_NE(first.h, INVALID_HANDLE_VALUE);
  HANDLE second = CreateFileW(UTF8ToString(pty.path).c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(second, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_BUSY);
  HANDLE missing = CreateFileW(u"\\\\.\\ttyNoSuchPort9", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(missing, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(CommPty, DevicePathsFromPortNames) {
  EXPECT_EQ(CommDevicePath(u"ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(CommDevicePath(u"\\\\.\\ttyACM1"), "/dev/ttyACM1");
  EXPECT_EQ(CommDevicePath(u"/dev/pts/4"), "/dev/pts/4");
  EXPECT_EQ(CommDevicePath(u"COM3"), "/dev/ttyS2");
}

TEST(CommPty, ModemLinesOfAPtyReadOffAndAcceptOutputs) {
  Pty pty;
  Port port(pty.path);
  DWORD st = 0xFF;
  EXPECT_TRUE(GetCommModemStatus(port.h, &st));
  EXPECT_EQ(st, 0u);
  for (DWORD fn : {SETDTR, CLRDTR, SETRTS, CLRRTS, SETBREAK, CLRBREAK}) EXPECT_TRUE(EscapeCommFunction(port.h, fn)) << fn;
  EXPECT_FALSE(EscapeCommFunction(port.h, 77));
}

TEST(CommPty, ImpossibleLineSettingsAreRefusedAndChangeNothing) {
  Pty pty;
  Port port(pty.path);
  DCB good;
  good.BaudRate = 14400;  // no standard speed: set as a custom rate
  good.ByteSize = 7;
  good.Parity = EVENPARITY;
  good.StopBits = TWOSTOPBITS;
  ASSERT_TRUE(SetCommState(port.h, &good));
  struct Case { BYTE size, stop; DWORD baud; } bad[] = {{8, ONE5STOPBITS, 9600}, {5, TWOSTOPBITS, 9600}, {9, 0, 9600}, {8, 0, 0}};
  for (auto c : bad) {
    DCB d = good;
    d.ByteSize = c.size;
    d.StopBits = c.stop;
    d.BaudRate = c.baud;
    EXPECT_FALSE(SetCommState(port.h, &d));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  DCB now;
  ASSERT_TRUE(GetCommState(port.h, &now));
  EXPECT_EQ(now.BaudRate, 14400u);
  EXPECT_EQ(now.ByteSize, 7);
  DCB five;
  five.BaudRate = 300;
  five.ByteSize = 5;
  five.StopBits = ONE5STOPBITS;
  EXPECT_TRUE(SetCommState(port.h, &five));
}

TEST(CommPty, WriteToAPeerThatDoesNotReadEndsByItsTimeout) {
  Pty pty;
  Port port(pty.path);
  port.Timeouts(MAXDWORD, 0, 0, 0, 300);
  std::string big(1 << 20, 'x');
  auto start = std::chrono::steady_clock::now();
  auto [ok, n] = port.Write(big);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetLastError(), ERROR_SEM_TIMEOUT);
  EXPECT_LT(n, big.size());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(CommPty, XoffFromThePeerHoldsOutputUntilXon) {
  Pty pty;
  Port port(pty.path);
  DCB d;
  d.BaudRate = 9600;
  d.fOutX = 1;
  d.XonChar = 17;
  d.XoffChar = 19;
  ASSERT_TRUE(SetCommState(port.h, &d));
  // In packet mode the master learns when the port's output stops.
  int on = 1, off = 0;
  ASSERT_EQ(::ioctl(pty.master, TIOCPKT, &on), 0);
  pty.Send("\x13");
  bool stopped = false;
  ASSERT_TRUE(WaitFor([&] {
    char pkt[64];
    ssize_t r = ::read(pty.master, pkt, sizeof pkt);
    stopped = stopped || (r > 0 && (pkt[0] & TIOCPKT_STOP));
    return stopped;
  }, 20000));
  ASSERT_EQ(::ioctl(pty.master, TIOCPKT, &off), 0);
  port.Timeouts(MAXDWORD, 0, 0, 0, 0);
  std::string big(64 * 1024, 'y');
  BOOL started = WriteFile(port.h, big.data(), DWORD(big.size()), nullptr, &port.ov);
  EXPECT_FALSE(started);
  EXPECT_LT(pty.Receive(big.size(), 200).size(), big.size());
  pty.Send("\x11");
  std::string rest;
  std::thread reader([&] { rest = pty.Receive(big.size(), 10000); });
  auto [ok, n] = port.Finish(started);
  reader.join();
  EXPECT_TRUE(ok);
  EXPECT_EQ(n, big.size());
}

TEST(CommPty, EscapeXoffSuspendsOutput) {
  Pty pty;
  Port port(pty.path);
  ASSERT_TRUE(EscapeCommFunction(port.h, SETXOFF));
  port.Timeouts(MAXDWORD, 0, 0, 0, 0);
  std::string big(64 * 1024, 'z');
  BOOL started = WriteFile(port.h, big.data(), DWORD(big.size()), nullptr, &port.ov);
  EXPECT_LT(pty.Receive(big.size(), 200).size(), big.size());
  COMSTAT st;
  DWORD e;
  ASSERT_TRUE(ClearCommError(port.h, &e, &st));
  EXPECT_TRUE(st.fXoffHold);
  EXPECT_GT(st.cbOutQue, 0u);
  ASSERT_TRUE(EscapeCommFunction(port.h, SETXON));
  std::thread reader([&] { pty.Receive(big.size(), 10000); });
  EXPECT_TRUE(port.Finish(started).first);
  reader.join();
}

TEST(CommPty, PurgeDiscardsReceivedBytesAndAbortsPendingReads) {
  Pty pty;
  Port port(pty.path);
  pty.Send("hello");
  ASSERT_TRUE(WaitFor([&] { return port.InQueue() == 5; }));
  ASSERT_TRUE(PurgeComm(port.h, PURGE_RXCLEAR | PURGE_TXCLEAR));
  EXPECT_EQ(port.InQueue(), 0u);

  port.Timeouts(0, 0, 0, 0, 0);  // wait for all bytes
  char buf[4];
  ASSERT_FALSE(ReadFile(port.h, buf, 4, nullptr, &port.ov));
  ASSERT_TRUE(PurgeComm(port.h, PURGE_RXABORT));
  DWORD n;
  EXPECT_FALSE(GetOverlappedResult(port.h, &port.ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
}

TEST(CommPty, ReadTimeouts) {
  Pty pty;
  Port port(pty.path);
  // Total time-out: returns what came in time.
  port.Timeouts(0, 0, 100, 0, 0);
  pty.Send("ab");
  ASSERT_TRUE(WaitFor([&] { return port.InQueue() == 2; }));
  EXPECT_EQ(port.Read(5), "ab");
  // First-byte wait: returns as soon as anything is there.
  port.Timeouts(MAXDWORD, MAXDWORD, 5000, 0, 0);
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    pty.Send("c");
  });
  EXPECT_EQ(port.Read(5), "c");
  late.join();
  // No time-out: waits for the whole count.
  port.Timeouts(0, 0, 0, 0, 0);
  std::thread slow([&] {
    for (char c : std::string("wxyz")) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      pty.Send(std::string(1, c));
    }
  });
  EXPECT_EQ(port.Read(4), "wxyz");
  slow.join();
}

TEST(CommPty, ClosingThePeerFailsTheWaitAndLaterCalls) {
  Pty pty;
  Port port(pty.path);
  ASSERT_TRUE(SetCommMask(port.h, EV_RXCHAR));
  DWORD got = 0;
  ASSERT_FALSE(WaitCommEvent(port.h, &got, &port.ov));
  pty.CloseMaster();
  DWORD n;
  EXPECT_FALSE(GetOverlappedResult(port.h, &port.ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
  EXPECT_FALSE(WaitCommEvent(port.h, &got, &port.ov));
  EXPECT_FALSE(port.Write("x").first);
  DWORD errors = 0;
  COMSTAT st;
  EXPECT_TRUE(ClearCommError(port.h, &errors, &st));
  EXPECT_EQ(errors, CE_IOE);
  EXPECT_TRUE(CloseHandle(port.h));
  port.h = INVALID_HANDLE_VALUE;
}

TEST(CommEvents, ManualAndAutoResetAndWaitAny) {
  HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE autoEv = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE both[] = {manual, autoEv};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10), WAIT_TIMEOUT);
  std::thread t([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(autoEv);
  });
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
  t.join();
  EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_TIMEOUT);  // consumed
  SetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);  // stays set
  CloseHandle(manual);
  CloseHandle(autoEv);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
  EXPECT_FALSE(CloseHandle(manual));
}

// A port left open at exit, with a thread still waiting on one of its events, as when the
// tool ends while connected: the process ends all the same.
TEST(CommExitDeathTest, APortLeftOpenWithAWaitingThreadLetsTheProcessExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(30);  // a hung exit ends by the alarm signal instead
        Pty pty;
        auto* port = new Port(pty.path);
        SetCommMask(port->h, EV_RXCHAR);
        DWORD got = 0;
        WaitCommEvent(port->h, &got, &port->ov);
        std::atomic<bool> waiting{false};
        std::thread([&waiting, ev = port->ov.hEvent] {
          waiting = true;
          WaitForSingleObject(ev, INFINITE);
        }).detach();
        while (!waiting) std::this_thread::yield();
        // Time to settle into the wait; it only makes the check sharper.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// ---- the scripted device ----

TEST(CommFake, LineErrorsBreaksAndOverrunsAreMarkedAndCleared) {
  TFakeCommDevice dev(u"fakeErr");
  Port port("fakeErr");
  ASSERT_NE(port.h, INVALID_HANDLE_VALUE);
  DCB d;
  d.BaudRate = 9600;
  d.Parity = EVENPARITY;
  d.fParity = 1;
  d.fErrorChar = 1;
  d.ErrorChar = '?';
  ASSERT_TRUE(SetCommState(port.h, &d));
  struct Case { std::function<void()> send; DWORD events; DWORD errors; std::string data; } cases[] = {
      {[&] { dev.SendParityError('a'); }, EV_ERR | EV_RXCHAR, CE_RXPARITY, "?"},
      {[&] { dev.SendFramingError('b'); }, EV_ERR | EV_RXCHAR, CE_FRAME, "b"},
      {[&] { dev.SendBreak(); }, EV_BREAK, CE_BREAK, ""},
      {[&] { dev.AddOverrun(); }, EV_ERR | EV_RXCHAR, CE_OVERRUN, "\xFF"},
  };
  for (auto& c : cases) {
    ASSERT_TRUE(SetCommMask(port.h, EV_ERR | EV_BREAK | EV_RXCHAR));
    c.send();
    DWORD seen = 0;
    ASSERT_TRUE(WaitFor([&] {
      seen |= port.WaitEvents(EV_ERR | EV_BREAK | EV_RXCHAR, 100);
      return (seen & c.events) == c.events;
    }));
    DWORD errors = 0;
    COMSTAT st;
    ASSERT_TRUE(ClearCommError(port.h, &errors, &st));
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(port.Read(10), c.data);
    ASSERT_TRUE(ClearCommError(port.h, &errors, &st));
    EXPECT_EQ(errors, 0u);  // read and cleared
  }
}

// A device the test drives directly. Bytes come from a socket (none when fd is -1: then only
// the port calls themselves look at the device) until the device is gone. A parity error is
// counted only as its marked byte is read, the latest moment a driver may count it.
struct TStubDevice {
  int fd = -1;
  std::atomic<bool> gone{false};
  int parity = 0;
};

class TStubBackend : public TCommBackend {
public:
  explicit TStubBackend(TStubDevice& d) : d_(d) {}
  int Open(const std::string&) override { return 0; }
  int Close() override { return 0; }
  int Fd() const override { return d_.fd; }
  long ReadBytes(uint8_t* buf, size_t n) override {
    if (d_.gone) return -EIO;
    if (d_.fd < 0) return -EAGAIN;
    ssize_t r = ::read(d_.fd, buf, n);
    if (r < 0) return errno == EAGAIN ? -EAGAIN : -EIO;
    for (ssize_t i = 0; i + 2 < r; ++i)
      if (buf[i] == 0xFF && buf[i + 1] == 0 && buf[i + 2] != 0) ++d_.parity;
    return r;
  }
  long WriteBytes(const uint8_t*, size_t n) override { return static_cast<long>(n); }
  int ApplyState(const DCB&) override { return 0; }
  int GetModemLines(int&) override { return ENOTTY; }
  int ChangeModemLines(int, int) override { return ENOTTY; }
  int SuspendOutput(bool) override { return 0; }
  int SetBreak(bool) override { return 0; }
  int Flush(bool, bool) override { return 0; }
  int OutQueue(int& bytes) override {
    bytes = 0;
    return 0;
  }
  int GetCounters(Counters& c) override {
    c = Counters();
    c.parity = d_.parity;
    return 0;
  }

private:
  TStubDevice& d_;
};

// While it lives, opening "stub" reaches the device.
struct TStubInstall {
  std::shared_ptr<TCommBackendFactory> previous = std::make_shared<TCommBackendFactory>();
  explicit TStubInstall(TStubDevice& d) {
    *previous = SetCommBackendFactory([&d, prev = previous](const std::string& path) -> std::unique_ptr<TCommBackend> {
      if (path == "/dev/stub") return std::make_unique<TStubBackend>(d);
      return *prev ? (*prev)(path) : nullptr;
    });
  }
  ~TStubInstall() { SetCommBackendFactory(*previous); }
};

TEST(CommFake, AParityErrorCountedAsItsByteIsReadIsStillAParityError) {
  int sv[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv), 0);
  ::fcntl(sv[0], F_SETFL, O_NONBLOCK);
  TStubDevice dev;
  dev.fd = sv[0];
  {
    TStubInstall install(dev);
    Port port("stub");
    ASSERT_NE(port.h, INVALID_HANDLE_VALUE);
    DCB d;
    d.BaudRate = 9600;
    d.Parity = EVENPARITY;
    ASSERT_TRUE(SetCommState(port.h, &d));
    ASSERT_TRUE(SetCommMask(port.h, EV_ERR | EV_RXCHAR));
    ASSERT_EQ(::write(sv[1], "\xFF\x00q", 3), 3);
    DWORD seen = 0;
    ASSERT_TRUE(WaitFor([&] { return (seen |= port.WaitEvents(EV_ERR | EV_RXCHAR, 100)) == (EV_ERR | EV_RXCHAR); }));
    DWORD errors = 0;
    COMSTAT st;
    ASSERT_TRUE(ClearCommError(port.h, &errors, &st));
    EXPECT_EQ(errors, CE_RXPARITY);
    EXPECT_EQ(port.Read(10), "q");
  }
  ::close(sv[0]);
  ::close(sv[1]);
}

// A wait or read that itself finds the device gone fails at once instead of staying pending.
TEST(CommFake, ACallThatFindsTheDeviceGoneFailsAtOnce) {
  struct Case {
    const char* name;
    std::function<BOOL(Port&)> call;
  } cases[] = {
      {"wait", [](Port& p) {
         static DWORD got;
         return WaitCommEvent(p.h, &got, &p.ov);
       }},
      {"read", [](Port& p) {
         static char buf[4];
         return ReadFile(p.h, buf, sizeof buf, nullptr, &p.ov);
       }},
  };
  for (auto& c : cases) {
    TStubDevice dev;
    TStubInstall install(dev);
    Port port("stub");
    ASSERT_NE(port.h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetCommMask(port.h, EV_RXCHAR));
    port.Timeouts(0, 0, 0, 0, 0);  // a read waits for all its bytes
    dev.gone = true;
    EXPECT_FALSE(c.call(port)) << c.name;
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE) << c.name;
    EXPECT_EQ(WaitForSingleObject(port.ov.hEvent, 0), WAIT_OBJECT_0) << c.name;
  }
}

TEST(CommFake, ModemLineChangesRaiseEventsAndOutputsFollowTheSettings) {
  TFakeCommDevice dev(u"fakeModem");
  Port port("fakeModem");
  EXPECT_EQ(dev.ModemOutputs() & (TIOCM_DTR | TIOCM_RTS), 0);
  DCB d;
  d.BaudRate = 9600;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_ENABLE;
  ASSERT_TRUE(SetCommState(port.h, &d));
  EXPECT_EQ(dev.ModemOutputs(), TIOCM_DTR | TIOCM_RTS);
  ASSERT_TRUE(EscapeCommFunction(port.h, CLRDTR));
  EXPECT_EQ(dev.ModemOutputs(), TIOCM_RTS);

  ASSERT_TRUE(SetCommMask(port.h, EV_CTS | EV_DSR | EV_RLSD | EV_RING));
  dev.SetModemInputs(TIOCM_CTS | TIOCM_CD);
  EXPECT_EQ(port.WaitEvents(EV_CTS | EV_DSR | EV_RLSD | EV_RING), EV_CTS | EV_RLSD);
  DWORD st = 0;
  ASSERT_TRUE(GetCommModemStatus(port.h, &st));
  EXPECT_EQ(st, MS_CTS_ON | MS_RLSD_ON);
  dev.SetModemInputs(TIOCM_DSR | TIOCM_CD);
  EXPECT_EQ(port.WaitEvents(EV_CTS | EV_DSR | EV_RLSD | EV_RING), EV_CTS | EV_DSR);
}

TEST(CommFake, TxEmptyWaitsUntilTheDriverHasSentEverything) {
  TFakeCommDevice dev(u"fakeTx");
  Port port("fakeTx");
  dev.SetOutQueue(10);
  ASSERT_TRUE(port.Write("0123456789").first);
  EXPECT_EQ(port.WaitEvents(EV_TXEMPTY, 50), 0u);
  ASSERT_TRUE(SetCommMask(port.h, EV_TXEMPTY));  // the timed-out wait cleared it
  dev.SetOutQueue(0);
  EXPECT_EQ(port.WaitEvents(EV_TXEMPTY), EV_TXEMPTY);
  EXPECT_EQ(dev.Receive(10), "0123456789");
}

TEST(CommFake, DsrFlowHoldsOutputWhileDsrIsOff) {
  TFakeCommDevice dev(u"fakeDsr");
  Port port("fakeDsr");
  DCB d;
  d.BaudRate = 9600;
  d.fOutxDsrFlow = 1;
  ASSERT_TRUE(SetCommState(port.h, &d));
  BOOL started = WriteFile(port.h, "ab", 2, nullptr, &port.ov);
  EXPECT_FALSE(started);
  EXPECT_EQ(dev.Receive(2, 100), "");
  dev.SetModemInputs(TIOCM_DSR);
  EXPECT_EQ(dev.Receive(2), "ab");
  EXPECT_TRUE(port.Finish(started).first);
}

TEST(CommFake, InjectedFailuresReportTheirCode) {
  TFakeCommDevice dev(u"fakeFail");
  dev.Fail(TCommCall::Open, EACCES);
  EXPECT_EQ(CreateFileW(u"fakeFail", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(EACCES));
  dev.Fail(TCommCall::Open, 0);
  Port port("fakeFail");
  ASSERT_NE(port.h, INVALID_HANDLE_VALUE);
  dev.Fail(TCommCall::Purge, EIO);
  EXPECT_FALSE(PurgeComm(port.h, PURGE_RXCLEAR));
  EXPECT_EQ(GetLastError(), DWORD(EIO));
  // A failing close is reported, yet the handle and the device are released: the port
  // opens again.
  dev.Fail(TCommCall::Close, EIO);
  EXPECT_FALSE(CloseHandle(port.h));
  EXPECT_EQ(GetLastError(), DWORD(EIO));
  EXPECT_FALSE(dev.IsOpen());
  EXPECT_FALSE(CloseHandle(port.h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  port.h = INVALID_HANDLE_VALUE;
  Port again("fakeFail");
  EXPECT_NE(again.h, INVALID_HANDLE_VALUE);
  dev.Fail(TCommCall::Close, 0);
}

// Bytes that arrived before the device vanished are still announced and read; only then
// do the wait and the reads fail.
TEST(CommFake, BytesReceivedBeforeTheDeviceVanishedAreDeliveredBeforeTheLoss) {
  TFakeCommDevice dev(u"fakeLast");
  Port port("fakeLast");
  ASSERT_TRUE(SetCommMask(port.h, EV_RXCHAR));
  dev.Send("OK\r");
  dev.Hangup();
  DWORD got = 0;
  BOOL started = WaitCommEvent(port.h, &got, &port.ov);
  EXPECT_TRUE(port.Finish(started).first);
  EXPECT_EQ(got, EV_RXCHAR);
  EXPECT_EQ(port.InQueue(), 3u);
  EXPECT_EQ(port.Read(2), "OK");
  EXPECT_EQ(port.Read(8), "\r");
  char buf[4];
  EXPECT_FALSE(ReadFile(port.h, buf, 4, nullptr, &port.ov));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
  EXPECT_FALSE(WaitCommEvent(port.h, &got, &port.ov));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
}

// A read waiting for more bytes than came before the loss completes with those it got.
TEST(CommFake, APendingReadKeepsTheBytesItGotWhenTheDeviceGoes) {
  TFakeCommDevice dev(u"fakeLastRead");
  Port port("fakeLastRead");
  port.Timeouts(0, 0, 0, 0, 0);  // wait for all 8 bytes
  std::string buf(8, '\0');
  BOOL started = ReadFile(port.h, buf.data(), 8, nullptr, &port.ov);
  ASSERT_FALSE(started);
  dev.Send("abc");
  dev.Hangup();
  auto [ok, n] = port.Finish(started);
  EXPECT_TRUE(ok);
  EXPECT_EQ(buf.substr(0, n), "abc");
}

TEST(CommFake, HangupFailsPendingOperations) {
  TFakeCommDevice dev(u"fakeGone");
  Port port("fakeGone");
  port.Timeouts(0, 0, 0, 0, 0);
  char buf[8];
  ASSERT_FALSE(ReadFile(port.h, buf, 8, nullptr, &port.ov));
  dev.Hangup();
  DWORD n;
  EXPECT_FALSE(GetOverlappedResult(port.h, &port.ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
}

}  // namespace
