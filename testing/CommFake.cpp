// The scripted serial device. The port side reads and writes one end of a socket pair; the
// test's side is the other end, so poll, hang-up and a full buffer behave like a tty.

#include "testing/CommFake.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <mutex>

struct TFakeCommDevice::State {
  mutable std::mutex mu;
  std::string path;
  int portFd = -1, peerFd = -1;
  bool open = false, suspended = false, breakOn = false, hasModem = true;
  int modemIn = 0, modemOut = 0, outQueue = 0;
  TCommBackend::Counters counters;
  std::map<TCommCall, int> failures;
  DCB dcb;
  std::vector<std::string> calls;

  ~State() {
    if (portFd >= 0) ::close(portFd);
    if (peerFd >= 0) ::close(peerFd);
  }
};

namespace {

std::mutex gFakesMutex;
std::map<std::string, std::weak_ptr<TFakeCommDevice::State>> gFakes;

class TFakeBackend : public TCommBackend {
public:
  explicit TFakeBackend(std::shared_ptr<TFakeCommDevice::State> s) : s_(std::move(s)) {}

  int Open(const std::string&) override {
    std::lock_guard lk(s_->mu);
    if (s_->open) return EBUSY;
    if (s_->portFd < 0) return EIO;
    s_->open = true;
    return 0;
  }
  int Close() override {
    std::lock_guard lk(s_->mu);
    s_->open = false;
    return 0;
  }
  int Fd() const override { return s_->portFd; }
  long ReadBytes(uint8_t* buf, size_t n) override {
    ssize_t r = ::read(s_->portFd, buf, n);
    if (r > 0) return r;
    if (r == 0) return -EIO;  // peer gone
    return errno == EAGAIN ? -EAGAIN : -EIO;
  }
  long WriteBytes(const uint8_t* buf, size_t n) override {
    {
      std::lock_guard lk(s_->mu);
      if (s_->suspended) return -EAGAIN;
    }
    ssize_t r = ::send(s_->portFd, buf, n, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (r >= 0) return r;
    return errno == EAGAIN ? -EAGAIN : -EIO;
  }
  int ApplyState(const DCB& d) override {
    std::lock_guard lk(s_->mu);
    s_->dcb = d;
    return 0;
  }
  int GetModemLines(int& bits) override {
    std::lock_guard lk(s_->mu);
    if (!s_->hasModem) return ENOTTY;
    bits = s_->modemIn | s_->modemOut;
    return 0;
  }
  int ChangeModemLines(int set, int clear) override {
    std::lock_guard lk(s_->mu);
    if (!s_->hasModem) return ENOTTY;
    s_->modemOut = (s_->modemOut | set) & ~clear;
    return 0;
  }
  int SuspendOutput(bool suspend) override {
    std::lock_guard lk(s_->mu);
    s_->suspended = suspend;
    s_->calls.push_back(suspend ? "SuspendOutput" : "ResumeOutput");
    return 0;
  }
  int SetBreak(bool on) override {
    std::lock_guard lk(s_->mu);
    s_->breakOn = on;
    return 0;
  }
  int Flush(bool input, bool output) override {
    std::lock_guard lk(s_->mu);
    s_->calls.push_back(std::string("Flush(") + (input ? "in" : "") + (input && output ? "," : "") +
                        (output ? "out" : "") + ")");
    if (output) s_->outQueue = 0;
    return 0;
  }
  int OutQueue(int& bytes) override {
    std::lock_guard lk(s_->mu);
    bytes = s_->outQueue;
    return 0;
  }
  int GetCounters(Counters& c) override {
    std::lock_guard lk(s_->mu);
    c = s_->counters;
    return 0;
  }
  int Injected(TCommCall call) override {
    static const char* const kNames[] = {"Open", "Close", "SetupComm", "SetState", "SetTimeouts", "SetMask",
                                         "WaitEvent", "GetResult", "ClearError", "ModemStatus", "Escape",
                                         "Purge", "TransmitChar", "Read", "Write"};
    std::lock_guard lk(s_->mu);
    s_->calls.push_back(kNames[static_cast<int>(call)]);
    auto it = s_->failures.find(call);
    return it == s_->failures.end() ? 0 : it->second;
  }

private:
  std::shared_ptr<TFakeCommDevice::State> s_;
};

void InstallFactory() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto previous = std::make_shared<TCommBackendFactory>();
    *previous = SetCommBackendFactory([previous](const std::string& path) -> std::unique_ptr<TCommBackend> {
      {
        std::lock_guard lk(gFakesMutex);
        auto it = gFakes.find(path);
        if (it != gFakes.end())
          if (auto s = it->second.lock()) return std::make_unique<TFakeBackend>(s);
      }
      return *previous ? (*previous)(path) : nullptr;
    });
  });
}

}  // namespace

TFakeCommDevice::TFakeCommDevice(const String& name) : state_(std::make_shared<State>()) {
  InstallFactory();
  int sv[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) == 0) {
    state_->portFd = sv[0];
    state_->peerFd = sv[1];
    ::fcntl(sv[0], F_SETFL, O_NONBLOCK);
    int small = 4096;  // a peer that does not read fills the line quickly
    ::setsockopt(sv[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    ::setsockopt(sv[1], SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  }
  state_->path = CommDevicePath(name);
  std::lock_guard lk(gFakesMutex);
  gFakes[state_->path] = state_;
}

TFakeCommDevice::~TFakeCommDevice() {
  {
    std::lock_guard lk(gFakesMutex);
    gFakes.erase(state_->path);
  }
  std::lock_guard lk(state_->mu);
  // The port side stays usable until the port handle lets go of the state.
  if (state_->peerFd >= 0) ::close(state_->peerFd);
  state_->peerFd = -1;
}

void TFakeCommDevice::Send(const std::string& bytes) {
  int fd;
  {
    std::lock_guard lk(state_->mu);
    fd = state_->peerFd;
  }
  size_t off = 0;
  while (fd >= 0 && off < bytes.size()) {
    ssize_t r = ::send(fd, bytes.data() + off, bytes.size() - off, MSG_NOSIGNAL);
    if (r <= 0) break;
    off += static_cast<size_t>(r);
  }
}

void TFakeCommDevice::SendParityError(uint8_t c) {
  {
    std::lock_guard lk(state_->mu);
    ++state_->counters.parity;
  }
  Send(std::string("\xFF\x00", 2) + static_cast<char>(c));
}

void TFakeCommDevice::SendFramingError(uint8_t c) {
  {
    std::lock_guard lk(state_->mu);
    ++state_->counters.frame;
  }
  Send(std::string("\xFF\x00", 2) + static_cast<char>(c));
}

void TFakeCommDevice::SendBreak() {
  {
    std::lock_guard lk(state_->mu);
    ++state_->counters.brk;
  }
  Send(std::string("\xFF\x00\x00", 3));
}

void TFakeCommDevice::AddOverrun() {
  {
    std::lock_guard lk(state_->mu);
    ++state_->counters.overrun;
  }
  Send(std::string("\xFF\xFF", 2));  // a data byte makes the port look at its counters
}

std::string TFakeCommDevice::Receive(size_t n, int timeoutMs) {
  int fd;
  {
    std::lock_guard lk(state_->mu);
    fd = state_->peerFd;
  }
  std::string out;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (fd >= 0 && out.size() < n) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buf[4096];
    ssize_t r = ::recv(fd, buf, std::min(sizeof buf, n - out.size()), MSG_DONTWAIT);
    if (r <= 0) break;
    out.append(buf, static_cast<size_t>(r));
  }
  return out;
}

void TFakeCommDevice::Hangup() {
  std::lock_guard lk(state_->mu);
  if (state_->peerFd >= 0) ::close(state_->peerFd);
  state_->peerFd = -1;
}

void TFakeCommDevice::SetModemInputs(int bits) {
  std::lock_guard lk(state_->mu);
  state_->modemIn = bits & (TIOCM_CTS | TIOCM_DSR | TIOCM_RI | TIOCM_CD);
}

int TFakeCommDevice::ModemOutputs() const {
  std::lock_guard lk(state_->mu);
  return state_->modemOut;
}

void TFakeCommDevice::SetHasModemLines(bool has) {
  std::lock_guard lk(state_->mu);
  state_->hasModem = has;
}

void TFakeCommDevice::SetOutQueue(int bytes) {
  std::lock_guard lk(state_->mu);
  state_->outQueue = bytes;
}

void TFakeCommDevice::Fail(TCommCall call, int code) {
  std::lock_guard lk(state_->mu);
  if (code) state_->failures[call] = code;
  else state_->failures.erase(call);
}

bool TFakeCommDevice::IsOpen() const {
  std::lock_guard lk(state_->mu);
  return state_->open;
}

bool TFakeCommDevice::OutputSuspended() const {
  std::lock_guard lk(state_->mu);
  return state_->suspended;
}

bool TFakeCommDevice::BreakOn() const {
  std::lock_guard lk(state_->mu);
  return state_->breakOn;
}

DCB TFakeCommDevice::LastState() const {
  std::lock_guard lk(state_->mu);
  return state_->dcb;
}

std::vector<std::string> TFakeCommDevice::Calls() const {
  std::lock_guard lk(state_->mu);
  return state_->calls;
}

void TFakeCommDevice::ClearCalls() {
  std::lock_guard lk(state_->mu);
  state_->calls.clear();
}
