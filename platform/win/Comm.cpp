// Port handles, events and the per-port I/O engine behind the communications calls.

#include "platform/win/Comm.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

thread_local DWORD tLastError = 0;

// Every handle is one of these; the handle value is the object's address.
struct THandleObject {
  virtual ~THandleObject() = default;
};

// Handles and the event wait are never destroyed. A thread may still wait on an event or
// run a port when the process ends (a port left open at exit): a condition variable
// destroyed under a waiter blocks the exit for good, and freed handles would be touched.
struct TCommGlobals {
  std::mutex HandlesMutex;
  std::unordered_map<HANDLE, std::shared_ptr<THandleObject>> Handles;
  std::mutex EventMutex;
  std::condition_variable EventCond;
};

TCommGlobals& G() {
  static TCommGlobals* g = new TCommGlobals;
  return *g;
}

HANDLE Register(std::shared_ptr<THandleObject> obj) {
  HANDLE h = obj.get();
  std::lock_guard lk(G().HandlesMutex);
  G().Handles.emplace(h, std::move(obj));
  return h;
}

template <typename T>
std::shared_ptr<T> Lookup(HANDLE h) {
  std::lock_guard lk(G().HandlesMutex);
  auto it = G().Handles.find(h);
  if (it == G().Handles.end()) return nullptr;
  return std::dynamic_pointer_cast<T>(it->second);
}

BOOL Fail(DWORD code) {
  tLastError = code;
  return FALSE;
}

// ---- Events: one process-wide lock and condition serve every wait ------------------------------

struct TEventObject : THandleObject {
  bool manual = true;
  bool signalled = false;
};

void Signal(HANDLE h) {
  if (auto e = Lookup<TEventObject>(h)) {
    std::lock_guard lk(G().EventMutex);
    e->signalled = true;
    G().EventCond.notify_all();
  }
}

void Unsignal(HANDLE h) {
  if (auto e = Lookup<TEventObject>(h)) {
    std::lock_guard lk(G().EventMutex);
    e->signalled = false;
  }
}

using Clock = std::chrono::steady_clock;
constexpr Clock::time_point kNever = Clock::time_point::max();

Clock::time_point After(uint64_t ms) {
  if (ms > 100ull * 365 * 24 * 3600 * 1000) return kNever;
  return Clock::now() + std::chrono::milliseconds(ms);
}

// ---- The port --------------------------------------------------------------------------------

struct TPendingRead {
  OVERLAPPED* ov;
  uint8_t* buf;
  DWORD want;
  DWORD got = 0;
  bool anyBytes = false;                    // complete as soon as something arrived
  Clock::time_point deadline = kNever;      // total time-out
  uint64_t intervalMs = 0;                  // max gap between bytes (0 = none)
  Clock::time_point lastByte{};
};

struct TPendingWrite {
  OVERLAPPED* ov;
  std::string data;
  size_t off = 0;
  Clock::time_point deadline = kNever;
};

constexpr DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;

DWORD ModemBitsToStatus(int bits) {
  DWORD s = 0;
  if (bits & TIOCM_CTS) s |= MS_CTS_ON;
  if (bits & TIOCM_DSR) s |= MS_DSR_ON;
  if (bits & TIOCM_RI) s |= MS_RING_ON;
  if (bits & TIOCM_CD) s |= MS_RLSD_ON;
  return s;
}

// A port's lock. It knows its holder, so that code that must run under it can check.
class TPortMutex {
public:
  void lock() {
    m_.lock();
    holder_ = std::this_thread::get_id();
  }
  void unlock() {
    holder_ = std::thread::id();
    m_.unlock();
  }
  bool HeldHere() const { return holder_ == std::this_thread::get_id(); }

private:
  std::mutex m_;
  std::atomic<std::thread::id> holder_{};
};

class TCommPort : public THandleObject {
public:
  explicit TCommPort(std::unique_ptr<TCommBackend> be) : be_(std::move(be)) {
    wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    TCommBackend::Counters c;
    countersOk_ = be_->GetCounters(c) == 0;
    if (countersOk_) counters_ = c;
    io_ = std::thread([this] { Run(); });
  }

  ~TCommPort() override {
    if (io_.joinable()) Stop();
    if (wake_ >= 0) ::close(wake_);
  }

  // Ends the I/O thread; pending operations complete as aborted.
  void Stop() {
    {
      std::lock_guard lk(mu_);
      stopping_ = true;
      AbortAll(ERROR_OPERATION_ABORTED);
      Wake();
    }
    io_.join();
  }

  TPortMutex mu_;  // guards all of the port's state below and in the I/O thread
  std::unique_ptr<TCommBackend> be_;

  int Injected(TCommCall c) { return be_->Injected(c); }

  // ---- calls (each with mu_ held) ----

  BOOL SetupComm(DWORD in, DWORD out) {
    assert(mu_.HeldHere());
    inSize_ = in;
    outSize_ = out;
    Wake();
    return TRUE;
  }

  BOOL SetState(const DCB& d) {
    assert(mu_.HeldHere());
    bool ok = d.ByteSize >= 5 && d.ByteSize <= 8 && d.Parity <= SPACEPARITY && d.StopBits <= TWOSTOPBITS &&
              d.BaudRate > 0 && !(d.StopBits == ONE5STOPBITS && d.ByteSize != 5) &&
              !(d.StopBits == TWOSTOPBITS && d.ByteSize == 5) &&
              !((d.fOutX || d.fInX) && d.XonChar == d.XoffChar);
    if (!ok) return Fail(ERROR_INVALID_PARAMETER);
    if (lost_) return Fail(lost_);
    if (int e = be_->ApplyState(d)) return Fail(e);
    dcb_ = d;
    int set = 0, clear = 0;
    (d.fDtrControl == DTR_CONTROL_DISABLE ? clear : set) |= TIOCM_DTR;
    (d.fRtsControl == RTS_CONTROL_DISABLE || d.fRtsControl == RTS_CONTROL_TOGGLE ? clear : set) |= TIOCM_RTS;
    if (int e = ChangeLines(set, clear)) return Fail(e);
    Wake();
    return TRUE;
  }

  BOOL SetMask(DWORD m) {
    assert(mu_.HeldHere());
    bool polling = NeedModemPoll();
    if (polling) ReadModem(true);  // changes seen so far still count
    mask_ = m;
    history_ &= m;
    if (waitOv_) {
      *waitMask_ = 0;
      OVERLAPPED* ov = waitOv_;
      waitOv_ = nullptr;
      Complete(ov, 0, 0);
    }
    if (!polling) ReadModem(false);  // fresh baseline for change detection
    Wake();
    return TRUE;
  }

  BOOL WaitEvent(DWORD* evMask, OVERLAPPED* ov) {
    assert(mu_.HeldHere());
    if (!ov || !evMask) return Fail(ERROR_INVALID_PARAMETER);
    // Events recorded before the device went away are still reported, the loss after them.
    if (lost_ && !(history_ & mask_)) return Fail(lost_);
    if (waitOv_ || mask_ == 0) return Fail(ERROR_INVALID_PARAMETER);
    Begin(ov);
    Pull();
    CheckTxEmpty();
    if (history_ & mask_) {
      *evMask = history_ & mask_;
      history_ &= ~mask_;
      Complete(ov, 0, 0);
      return TRUE;
    }
    // The look at the device just now may have found it gone: a wait left pending then
    // would never end.
    if (lost_) return FailStarted(ov);
    waitOv_ = ov;
    waitMask_ = evMask;
    Wake();
    return Fail(ERROR_IO_PENDING);
  }

  BOOL ClearError(DWORD* errors, COMSTAT* st) {
    assert(mu_.HeldHere());
    Pull();
    CheckWait();
    if (errors) *errors = errors_;
    errors_ = 0;
    if (st) {
      *st = COMSTAT();
      st->cbInQue = static_cast<DWORD>(rxq_.size());
      size_t out = 0;
      for (auto& w : writes_) out += w.data.size() - w.off;
      int q = 0;
      if (!lost_ && be_->OutQueue(q) == 0 && q > 0) out += static_cast<size_t>(q);
      st->cbOutQue = static_cast<DWORD>(out);
      DWORD ms = lost_ ? 0 : ModemNow();
      st->fCtsHold = (dcb_.fOutxCtsFlow || dcb_.fRtsControl == RTS_CONTROL_HANDSHAKE) && !(ms & MS_CTS_ON);
      st->fDsrHold = dcb_.fOutxDsrFlow && !(ms & MS_DSR_ON);
      st->fXoffHold = xoffHold_;
      st->fTxim = prio_ >= 0;
    }
    return TRUE;
  }

  BOOL ModemStatus(DWORD* st) {
    assert(mu_.HeldHere());
    if (lost_) return Fail(lost_);
    int bits = 0;
    if (int e = GetLines(bits)) return Fail(e);
    *st = ModemBitsToStatus(bits);
    return TRUE;
  }

  BOOL Escape(DWORD fn) {
    assert(mu_.HeldHere());
    if (lost_) return Fail(lost_);
    int e = 0;
    switch (fn) {
      case SETDTR: e = ChangeLines(TIOCM_DTR, 0); break;
      case CLRDTR: e = ChangeLines(0, TIOCM_DTR); break;
      case SETRTS: e = ChangeLines(TIOCM_RTS, 0); break;
      case CLRRTS: e = ChangeLines(0, TIOCM_RTS); break;
      case SETXOFF:
        e = be_->SuspendOutput(true);
        if (!e) xoffHold_ = true;
        break;
      case SETXON:
        e = be_->SuspendOutput(false);
        if (!e) xoffHold_ = false;
        break;
      case SETBREAK: e = be_->SetBreak(true); break;
      case CLRBREAK: e = be_->SetBreak(false); break;
      default: e = ERROR_INVALID_PARAMETER;
    }
    if (e) return Fail(e);
    Wake();
    return TRUE;
  }

  BOOL Purge(DWORD flags) {
    assert(mu_.HeldHere());
    if (flags & PURGE_TXABORT) AbortWrites(ERROR_OPERATION_ABORTED);
    if (flags & PURGE_RXABORT) AbortReads(ERROR_OPERATION_ABORTED);
    if (flags & (PURGE_TXCLEAR | PURGE_RXCLEAR)) {
      if (lost_) return Fail(lost_);
      if (int e = be_->Flush(flags & PURGE_RXCLEAR, flags & PURGE_TXCLEAR)) return Fail(e);
      if (flags & PURGE_RXCLEAR) {
        rxq_.clear();
        mark_ = 0;
        rx80_ = false;
        // Counted errors of the discarded bytes will never be read.
        PollCounters();
        parityPending_ = 0;
      }
      if (flags & PURGE_TXCLEAR) prio_ = -1;
    }
    Wake();
    return TRUE;
  }

  BOOL TransmitChar(uint8_t c) {
    assert(mu_.HeldHere());
    if (lost_) return Fail(lost_);
    if (prio_ >= 0) return Fail(ERROR_BUSY);
    txArmed_ = true;
    long r = be_->WriteBytes(&c, 1);
    if (r == -EAGAIN || r == 0) prio_ = c;
    else if (r < 0) return Fail(static_cast<DWORD>(-r));
    Wake();
    return TRUE;
  }

  BOOL Read(void* buf, DWORD n, DWORD* read, OVERLAPPED* ov) {
    assert(mu_.HeldHere());
    if (!ov) return Fail(ERROR_INVALID_PARAMETER);
    // Bytes received before the device went away can still be read.
    if (lost_ && rxq_.empty()) return Fail(lost_);
    Begin(ov);
    TPendingRead r{ov, static_cast<uint8_t*>(buf), n};
    const DWORD ri = to_.ReadIntervalTimeout, rm = to_.ReadTotalTimeoutMultiplier, rc = to_.ReadTotalTimeoutConstant;
    bool immediate = false;
    if (ri == MAXDWORD && rm == 0 && rc == 0) {
      immediate = true;
    } else if (ri == MAXDWORD && rm == MAXDWORD && rc > 0 && rc < MAXDWORD) {
      r.anyBytes = true;
      r.deadline = After(rc);
    } else {
      if (rm || rc) r.deadline = After(uint64_t(rm) * n + rc);
      r.intervalMs = ri;
    }
    Pull();
    CheckWait();
    if (lost_) {  // nothing more will come: the bytes queued are all this read gets
      size_t take = std::min<size_t>(n, rxq_.size());
      if (take == 0) return FailStarted(ov);
      std::copy_n(rxq_.begin(), take, r.buf);
      rxq_.erase(rxq_.begin(), rxq_.begin() + static_cast<long>(take));
      Complete(ov, 0, take);
      if (read) *read = static_cast<DWORD>(take);
      return TRUE;
    }
    reads_.push_back(r);
    if (reads_.size() == 1) ServeReads();
    if (immediate && !reads_.empty() && reads_.back().ov == ov) {
      TPendingRead done = reads_.back();
      reads_.pop_back();
      Complete(ov, 0, done.got);
    }
    if (ov->Internal == 0) {
      if (read) *read = static_cast<DWORD>(ov->InternalHigh);
      return TRUE;
    }
    Wake();
    return Fail(ERROR_IO_PENDING);
  }

  BOOL Write(const void* buf, DWORD n, DWORD* written, OVERLAPPED* ov) {
    assert(mu_.HeldHere());
    if (!ov) return Fail(ERROR_INVALID_PARAMETER);
    if (lost_) return Fail(lost_);
    Begin(ov);
    if (n == 0) {
      Complete(ov, 0, 0);
      if (written) *written = 0;
      return TRUE;
    }
    TPendingWrite w{ov, std::string(static_cast<const char*>(buf), n)};
    uint64_t total = uint64_t(to_.WriteTotalTimeoutMultiplier) * n + to_.WriteTotalTimeoutConstant;
    if (total) w.deadline = After(total);
    writes_.push_back(std::move(w));
    txArmed_ = true;
    if (dcb_.fRtsControl == RTS_CONTROL_TOGGLE) ChangeLines(TIOCM_RTS, 0);
    Push();
    if (ov->Internal == 0) {
      if (written) *written = static_cast<DWORD>(ov->InternalHigh);
      Wake();
      return TRUE;
    }
    Wake();
    return Fail(ERROR_IO_PENDING);
  }

  COMMTIMEOUTS to_;
  DCB dcb_;
  DWORD mask_ = 0;
  int lost_ = 0;

private:
  void Wake() {
    uint64_t one = 1;
    if (::write(wake_, &one, sizeof one) < 0) { /* counter saturated: a wake is pending anyway */ }
  }

  void Begin(OVERLAPPED* ov) {
    ov->Internal = ERROR_IO_PENDING;
    ov->InternalHigh = 0;
    Unsignal(ov->hEvent);
  }

  static void Complete(OVERLAPPED* ov, DWORD status, size_t bytes) {
    ov->Internal = status;
    ov->InternalHigh = bytes;
    Signal(ov->hEvent);
  }

  // Fails an operation begun in this call because the device is gone.
  BOOL FailStarted(OVERLAPPED* ov) {
    Complete(ov, static_cast<DWORD>(lost_), 0);
    return Fail(static_cast<DWORD>(lost_));
  }

  void AbortReads(DWORD code) {
    for (auto& r : reads_) Complete(r.ov, code, r.got);
    reads_.clear();
  }
  void AbortWrites(DWORD code) {
    for (auto& w : writes_) Complete(w.ov, code, w.off);
    writes_.clear();
  }
  void AbortAll(DWORD code) {
    AbortReads(code);
    AbortWrites(code);
    if (waitOv_) {
      *waitMask_ = 0;
      Complete(waitOv_, code, 0);
      waitOv_ = nullptr;
    }
  }

  // Records events; a pending wait completes at the end of the step (CheckWait), so that
  // events found together are reported together.
  void Raise(DWORD ev) { history_ |= ev & mask_; }

  void CheckWait() {
    assert(mu_.HeldHere());
    if (waitOv_ && (history_ & mask_)) {
      *waitMask_ = history_ & mask_;
      history_ &= ~mask_;
      OVERLAPPED* ov = waitOv_;
      waitOv_ = nullptr;
      Complete(ov, 0, 0);
    }
  }

  // The device went away. What was received is still delivered: pending reads complete
  // with the queued bytes and a pending wait with the events recorded; everything else
  // fails from now on with the code.
  void Lose(int code) {
    assert(mu_.HeldHere());
    if (lost_) return;
    lost_ = code;
    errors_ |= CE_IOE;
    AbortWrites(static_cast<DWORD>(code));
    ServeReads();
    for (auto& r : reads_) Complete(r.ov, r.got > 0 ? 0 : static_cast<DWORD>(code), r.got);
    reads_.clear();
    CheckWait();
    if (waitOv_) {
      *waitMask_ = 0;
      Complete(waitOv_, static_cast<DWORD>(code), 0);
      waitOv_ = nullptr;
    }
  }

  int GetLines(int& bits) {
    if (modemOk_) {
      int e = be_->GetModemLines(bits);
      if (e != ENOTTY && e != EINVAL) return e;
      modemOk_ = false;
    }
    bits = virtualLines_;
    return 0;
  }

  int ChangeLines(int set, int clear) {
    if (modemOk_) {
      int e = be_->ChangeModemLines(set, clear);
      if (e != ENOTTY && e != EINVAL) return e;
      modemOk_ = false;
    }
    virtualLines_ = (virtualLines_ | set) & ~clear;
    return 0;
  }

  DWORD ModemNow() {
    int bits = 0;
    return GetLines(bits) == 0 ? ModemBitsToStatus(bits) : lastModem_;
  }

  // Polls the modem inputs; raises line events on changes.
  void ReadModem(bool raise) {
    if (lost_) return;
    DWORD now = ModemNow();
    DWORD diff = now ^ lastModem_;
    lastModem_ = now;
    if (!raise || !diff) return;
    if (diff & MS_CTS_ON) Raise(EV_CTS);
    if (diff & MS_DSR_ON) Raise(EV_DSR);
    if (diff & MS_RLSD_ON) Raise(EV_RLSD);
    if (diff & MS_RING_ON) Raise(EV_RING);
  }

  bool NeedModemPoll() const {
    return modemOk_ && !lost_ && ((mask_ & kModemEvents) || dcb_.fOutxDsrFlow || dcb_.fDsrSensitivity);
  }

  bool OutputHeld() { return dcb_.fOutxDsrFlow && !(ModemNow() & MS_DSR_ON); }

  size_t RxCapacity() const { return std::max<size_t>(inSize_, 16384); }

  // Reads the driver's error counters: overruns become line errors at once; parity errors
  // wait in parityPending_ for their marked bytes.
  void PollCounters() {
    if (!countersOk_) return;
    TCommBackend::Counters c;
    if (be_->GetCounters(c) != 0) {
      countersOk_ = false;
      parityPending_ = 0;
      return;
    }
    if (c.overrun > counters_.overrun) errors_ |= CE_OVERRUN;
    if (c.bufOverrun > counters_.bufOverrun) errors_ |= CE_RXOVER;
    if (c.overrun > counters_.overrun || c.bufOverrun > counters_.bufOverrun) Raise(EV_ERR);
    parityPending_ += std::max(c.parity - counters_.parity, 0);
    counters_ = c;
  }

  void Data(uint8_t c, bool& any) {
    if (dcb_.fNull && c == 0) return;
    if (dcb_.fDsrSensitivity && !(lastModem_ & MS_DSR_ON)) return;
    rxq_.push_back(c);
    any = true;
    if (static_cast<char>(c) == dcb_.EvtChar) Raise(EV_RXFLAG);
  }

  // Reads what the device has into the receive queue, decoding error marks.
  void Pull() {
    assert(mu_.HeldHere());
    if (lost_ || stopping_) return;
    uint8_t buf[8192];
    bool any = false, polled = false;
    int gone = 0;  // the device vanished: reported once the bytes before are queued
    while (rxq_.size() < RxCapacity()) {
      long r = be_->ReadBytes(buf, std::min(sizeof buf, RxCapacity() - rxq_.size()));
      if (r == -EAGAIN || r == -EINTR || r == 0) break;
      if (r < 0) {
        gone = static_cast<int>(-r);
        break;
      }
      assert(static_cast<size_t>(r) <= RxCapacity() - rxq_.size());  // never read beyond the queue's room
      // The driver counts an error before its marked byte can be read, so counters read
      // after the bytes cover every mark among them (and maybe bytes still to come).
      PollCounters();
      polled = true;
      for (long i = 0; i < r; ++i) {
        uint8_t c = buf[i];
        switch (mark_) {
          case 0:
            if (c == 0xFF) mark_ = 1;
            else Data(c, any);
            break;
          case 1:
            mark_ = c == 0 ? 2 : 0;
            if (c != 0) Data(c, any);  // FF FF: one data FF
            break;
          default:
            mark_ = 0;
            if (c == 0) {
              errors_ |= CE_BREAK;
              Raise(EV_BREAK);
            } else {
              bool parity = countersOk_ ? parityPending_ > 0 : dcb_.Parity != NOPARITY;
              if (countersOk_ && parity) --parityPending_;
              errors_ |= parity ? CE_RXPARITY : CE_FRAME;
              Raise(EV_ERR);
              if (parity && dcb_.fParity && dcb_.fErrorChar) c = static_cast<uint8_t>(dcb_.ErrorChar);
              Data(c, any);
            }
        }
      }
    }
    if (!polled && !gone) PollCounters();  // an overrun may come without any byte
    if (any) {
      Raise(EV_RXCHAR);
      size_t limit = size_t(inSize_) * 8 / 10;
      if (!rx80_ && inSize_ && rxq_.size() >= limit) {
        rx80_ = true;
        Raise(EV_RX80FULL);
      }
      ServeReads();
    }
    if (gone) Lose(gone);
  }

  void ServeReads() {
    assert(mu_.HeldHere());
    while (!reads_.empty()) {
      TPendingRead& r = reads_.front();
      size_t take = std::min<size_t>(r.want - r.got, rxq_.size());
      if (take) {
        std::copy_n(rxq_.begin(), take, r.buf + r.got);
        rxq_.erase(rxq_.begin(), rxq_.begin() + static_cast<long>(take));
        r.got += static_cast<DWORD>(take);
        r.lastByte = Clock::now();
        Wake();  // room again in the receive queue: the I/O thread may read on
      }
      if (rx80_ && rxq_.size() < size_t(inSize_) * 8 / 10) rx80_ = false;
      if (r.got < r.want && !(r.anyBytes && r.got > 0)) return;
      Complete(r.ov, 0, r.got);
      reads_.pop_front();
    }
  }

  // Moves queued output into the device.
  void Push() {
    assert(mu_.HeldHere());
    if (lost_) return;
    if (prio_ >= 0) {
      uint8_t c = static_cast<uint8_t>(prio_);
      long r = be_->WriteBytes(&c, 1);
      if (r == 1) prio_ = -1;
      else if (r < 0 && r != -EAGAIN && r != -EINTR) return Lose(static_cast<int>(-r));
      else return;
    }
    while (!writes_.empty() && !OutputHeld()) {
      TPendingWrite& w = writes_.front();
      long r = be_->WriteBytes(reinterpret_cast<const uint8_t*>(w.data.data()) + w.off, w.data.size() - w.off);
      if (r > 0) w.off += static_cast<size_t>(r);
      if (w.off == w.data.size()) {
        Complete(w.ov, 0, w.off);
        writes_.pop_front();
        continue;
      }
      if (r < 0 && r != -EAGAIN && r != -EINTR) return Lose(static_cast<int>(-r));
      return;
    }
  }

  // Raises EV_TXEMPTY once when all output has left after a write; true while still draining.
  bool CheckTxEmpty() {
    if (!txArmed_ || lost_ || !writes_.empty() || prio_ >= 0) return false;
    int q = 0;
    if (be_->OutQueue(q) == 0 && q > 0) return true;
    txArmed_ = false;
    if (dcb_.fRtsControl == RTS_CONTROL_TOGGLE) ChangeLines(0, TIOCM_RTS);
    Raise(EV_TXEMPTY);
    return false;
  }

  // Completes operations whose time-outs have passed; returns the next deadline.
  Clock::time_point Expire() {
    auto now = Clock::now();
    auto next = kNever;
    for (auto it = writes_.begin(); it != writes_.end();) {
      if (it->deadline <= now) {
        Complete(it->ov, ERROR_SEM_TIMEOUT, it->off);
        it = writes_.erase(it);
      } else {
        next = std::min(next, it->deadline);
        ++it;
      }
    }
    while (!reads_.empty()) {
      TPendingRead& r = reads_.front();
      auto due = r.deadline;
      if (r.intervalMs && r.got > 0) due = std::min(due, r.lastByte + std::chrono::milliseconds(r.intervalMs));
      if (due > now) {
        next = std::min(next, due);
        break;
      }
      Complete(r.ov, 0, r.got);
      reads_.pop_front();
      ServeReads();
    }
    return next;
  }

  void Run() {
    std::unique_lock lk(mu_);
    while (!stopping_) {
      Push();
      auto next = Expire();
      if (NeedModemPoll()) ReadModem(true);
      bool draining = CheckTxEmpty();
      CheckWait();
      int timeout = -1;
      if (next != kNever) {
        auto ms = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
        timeout = static_cast<int>(std::clamp<long long>(ms, 0, 60000));
      }
      auto shorten = [&](int ms) { timeout = timeout < 0 ? ms : std::min(timeout, ms); };
      if (NeedModemPoll()) shorten(10);
      if (draining) shorten(2);
      pollfd fds[2] = {{wake_, POLLIN, 0}, {-1, 0, 0}};
      nfds_t n = 1;
      if (!lost_ && be_->Fd() >= 0) {
        short ev = 0;
        if (rxq_.size() < RxCapacity()) ev |= POLLIN;
        if ((!writes_.empty() && !OutputHeld()) || prio_ >= 0) ev |= POLLOUT;
        fds[1] = {be_->Fd(), ev, 0};
        n = 2;
      }
      lk.unlock();
      int pr = ::poll(fds, n, timeout);
      lk.lock();
      if (pr < 0) continue;
      if (fds[0].revents & POLLIN) {
        uint64_t v;
        while (::read(wake_, &v, sizeof v) > 0) {}
      }
      if (stopping_) break;
      if (n == 2 && fds[1].revents) {
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) Pull();
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) Lose(EIO);
      }
    }
  }

  DWORD inSize_ = 4096, outSize_ = 4096;
  std::deque<uint8_t> rxq_;
  int mark_ = 0;  // error-mark decoder: 0 data, 1 after FF, 2 after FF 00
  DWORD errors_ = 0, history_ = 0;
  OVERLAPPED* waitOv_ = nullptr;
  DWORD* waitMask_ = nullptr;
  std::deque<TPendingRead> reads_;
  std::deque<TPendingWrite> writes_;
  int prio_ = -1;
  bool txArmed_ = false, xoffHold_ = false, rx80_ = false, stopping_ = false;
  bool modemOk_ = true;
  int virtualLines_ = 0;
  DWORD lastModem_ = 0;
  bool countersOk_ = false;
  TCommBackend::Counters counters_;
  int parityPending_ = 0;  // parity errors counted whose marked bytes were not decoded yet
  int wake_ = -1;
  std::thread io_;
};

std::mutex gFactoryMutex;
TCommBackendFactory gFactory;

// Runs one call on a port: validates the handle, applies an injected failure, holds the lock.
template <typename F>
BOOL WithPort(HANDLE h, TCommCall call, F&& f) {
  auto port = Lookup<TCommPort>(h);
  if (!port) return Fail(ERROR_INVALID_HANDLE);
  std::lock_guard lk(port->mu_);
  if (int e = port->Injected(call)) return Fail(static_cast<DWORD>(e));
  return f(*port);
}

}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD code) { tLastError = code; }

HANDLE CreateEventW(void*, BOOL manualReset, BOOL initialState, LPCWSTR) {
  auto e = std::make_shared<TEventObject>();
  e->manual = manualReset;
  e->signalled = initialState;
  return Register(e);
}

BOOL SetEvent(HANDLE h) {
  if (!Lookup<TEventObject>(h)) return Fail(ERROR_INVALID_HANDLE);
  Signal(h);
  return TRUE;
}

BOOL ResetEvent(HANDLE h) {
  if (!Lookup<TEventObject>(h)) return Fail(ERROR_INVALID_HANDLE);
  Unsignal(h);
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) { return WaitForMultipleObjects(1, &h, FALSE, ms); }

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms) {
  std::vector<std::shared_ptr<TEventObject>> evs;
  for (DWORD i = 0; i < count; ++i) {
    auto e = Lookup<TEventObject>(handles[i]);
    if (!e) {
      tLastError = ERROR_INVALID_HANDLE;
      return WAIT_FAILED;
    }
    evs.push_back(std::move(e));
  }
  auto deadline = ms == INFINITE ? kNever : After(ms);
  std::unique_lock lk(G().EventMutex);
  for (;;) {
    if (waitAll) {
      if (std::all_of(evs.begin(), evs.end(), [](auto& e) { return e->signalled; })) {
        for (auto& e : evs)
          if (!e->manual) e->signalled = false;
        return WAIT_OBJECT_0;
      }
    } else {
      for (DWORD i = 0; i < count; ++i) {
        if (evs[i]->signalled) {
          if (!evs[i]->manual) evs[i]->signalled = false;
          return WAIT_OBJECT_0 + i;
        }
      }
    }
    if (deadline == kNever) G().EventCond.wait(lk);
    else if (Clock::now() >= deadline) return WAIT_TIMEOUT;
    else G().EventCond.wait_until(lk, deadline);
  }
}

BOOL CloseHandle(HANDLE h) {
  std::shared_ptr<THandleObject> obj;
  {
    std::lock_guard lk(G().HandlesMutex);
    auto it = G().Handles.find(h);
    if (it == G().Handles.end()) return Fail(ERROR_INVALID_HANDLE);
    obj = it->second;
  }
  if (auto port = std::dynamic_pointer_cast<TCommPort>(obj)) {
    // The handle and the device are released even when the device reports a failure
    // (a vanished adapter): the failure is returned, but the port can be opened again.
    int e = 0;
    {
      std::lock_guard lk(port->mu_);
      e = port->Injected(TCommCall::Close);
    }
    {
      std::lock_guard lk(G().HandlesMutex);
      G().Handles.erase(h);
    }
    port->Stop();
    if (int c = port->be_->Close(); !e) e = c;
    if (e) return Fail(static_cast<DWORD>(e));
    return TRUE;
  }
  std::lock_guard lk(G().HandlesMutex);
  G().Handles.erase(h);
  return TRUE;
}

std::string CommDevicePath(const String& name) {
  std::string s = StringToUTF8(name);
  if (s.rfind("\\\\.\\", 0) == 0) s = s.substr(4);
  if (s.find('/') != std::string::npos) return s;
  if (s.size() > 3 && (s.compare(0, 3, "COM") == 0 || s.compare(0, 3, "com") == 0) &&
      std::all_of(s.begin() + 3, s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int n = std::atoi(s.c_str() + 3);
    if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
  }
  return "/dev/" + s;
}

TCommBackendFactory SetCommBackendFactory(TCommBackendFactory factory) {
  std::lock_guard lk(gFactoryMutex);
  std::swap(gFactory, factory);
  return factory;
}

HANDLE CreateFileW(LPCWSTR name, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
  std::string path = CommDevicePath(name ? String(name) : String());
  std::unique_ptr<TCommBackend> be;
  {
    std::lock_guard lk(gFactoryMutex);
    if (gFactory) be = gFactory(path);
  }
  if (!be) be = CreateTermiosBackend();
  int e = be->Injected(TCommCall::Open);
  if (!e) e = be->Open(path);
  if (e) {
    tLastError = static_cast<DWORD>(e);
    return INVALID_HANDLE_VALUE;
  }
  return Register(std::make_shared<TCommPort>(std::move(be)));
}

BOOL SetupComm(HANDLE h, DWORD in, DWORD out) {
  return WithPort(h, TCommCall::SetupComm, [&](TCommPort& p) { return p.SetupComm(in, out); });
}

BOOL GetCommState(HANDLE h, DCB* dcb) {
  auto port = Lookup<TCommPort>(h);
  if (!port || !dcb) return Fail(port ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
  std::lock_guard lk(port->mu_);
  *dcb = port->dcb_;
  return TRUE;
}

BOOL SetCommState(HANDLE h, const DCB* dcb) {
  if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
  return WithPort(h, TCommCall::SetState, [&](TCommPort& p) { return p.SetState(*dcb); });
}

BOOL GetCommTimeouts(HANDLE h, COMMTIMEOUTS* t) {
  auto port = Lookup<TCommPort>(h);
  if (!port || !t) return Fail(port ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
  std::lock_guard lk(port->mu_);
  *t = port->to_;
  return TRUE;
}

BOOL SetCommTimeouts(HANDLE h, const COMMTIMEOUTS* t) {
  if (!t) return Fail(ERROR_INVALID_PARAMETER);
  return WithPort(h, TCommCall::SetTimeouts, [&](TCommPort& p) {
    p.to_ = *t;
    return TRUE;
  });
}

BOOL GetCommMask(HANDLE h, DWORD* mask) {
  auto port = Lookup<TCommPort>(h);
  if (!port || !mask) return Fail(port ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
  std::lock_guard lk(port->mu_);
  *mask = port->mask_;
  return TRUE;
}

BOOL SetCommMask(HANDLE h, DWORD mask) {
  return WithPort(h, TCommCall::SetMask, [&](TCommPort& p) { return p.SetMask(mask); });
}

BOOL WaitCommEvent(HANDLE h, DWORD* mask, OVERLAPPED* ov) {
  return WithPort(h, TCommCall::WaitEvent, [&](TCommPort& p) { return p.WaitEvent(mask, ov); });
}

BOOL GetOverlappedResult(HANDLE h, OVERLAPPED* ov, DWORD* transferred, BOOL wait) {
  if (!ov) return Fail(ERROR_INVALID_PARAMETER);
  auto port = Lookup<TCommPort>(h);
  if (!port) return Fail(ERROR_INVALID_HANDLE);
  if (wait) {
    for (;;) {
      {
        std::lock_guard lk(port->mu_);
        if (ov->Internal != ERROR_IO_PENDING) break;
      }
      if (WaitForSingleObject(ov->hEvent, INFINITE) == WAIT_FAILED) return FALSE;
    }
  }
  return WithPort(h, TCommCall::GetResult, [&](TCommPort&) {
    if (ov->Internal == ERROR_IO_PENDING) return Fail(ERROR_IO_INCOMPLETE);
    if (transferred) *transferred = static_cast<DWORD>(ov->InternalHigh);
    if (ov->Internal != 0) return Fail(static_cast<DWORD>(ov->Internal));
    return TRUE;
  });
}

BOOL ClearCommError(HANDLE h, DWORD* errors, COMSTAT* stat) {
  return WithPort(h, TCommCall::ClearError, [&](TCommPort& p) { return p.ClearError(errors, stat); });
}

BOOL GetCommModemStatus(HANDLE h, DWORD* st) {
  if (!st) return Fail(ERROR_INVALID_PARAMETER);
  return WithPort(h, TCommCall::ModemStatus, [&](TCommPort& p) { return p.ModemStatus(st); });
}

BOOL EscapeCommFunction(HANDLE h, DWORD fn) {
  return WithPort(h, TCommCall::Escape, [&](TCommPort& p) { return p.Escape(fn); });
}

BOOL PurgeComm(HANDLE h, DWORD flags) {
  return WithPort(h, TCommCall::Purge, [&](TCommPort& p) { return p.Purge(flags); });
}

BOOL TransmitCommChar(HANDLE h, char c) {
  return WithPort(h, TCommCall::TransmitChar, [&](TCommPort& p) { return p.TransmitChar(static_cast<uint8_t>(c)); });
}

BOOL ReadFile(HANDLE h, void* buf, DWORD n, DWORD* read, OVERLAPPED* ov) {
  return WithPort(h, TCommCall::Read, [&](TCommPort& p) { return p.Read(buf, n, read, ov); });
}

BOOL WriteFile(HANDLE h, const void* buf, DWORD n, DWORD* written, OVERLAPPED* ov) {
  return WithPort(h, TCommCall::Write, [&](TCommPort& p) { return p.Write(buf, n, written, ov); });
}
