// The termios back end: a tty device opened for exclusive use.

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/Comm.h"
#include "platform/win/CommTermios_p.h"

namespace {

class TTermiosBackend : public TCommBackend {
public:
  ~TTermiosBackend() override { Close(); }

  int Open(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    // flock refuses a second holder even for root, for whom TIOCEXCL is no barrier.
    if (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
      int e = errno == EWOULDBLOCK ? EBUSY : errno;
      ::close(fd);
      return e;
    }
    int e = ::ioctl(fd, TIOCEXCL) < 0 ? errno : CommTermiosApply(fd, TCommLine{});
    if (e) {
      ::close(fd);
      return e;
    }
    fd_ = fd;
    return 0;
  }

  int Close() override {
    if (fd_ >= 0) {
      ::ioctl(fd_, TIOCNXCL);
      ::close(fd_);
      fd_ = -1;
    }
    return 0;
  }

  int Fd() const override { return fd_; }

  long ReadBytes(uint8_t* buf, size_t n) override {
    ssize_t r = ::read(fd_, buf, n);
    if (r > 0) return r;
    if (r == 0) return -EAGAIN;  // raw mode with no byte waiting (a hang-up shows in poll)
    return -errno;
  }

  long WriteBytes(const uint8_t* buf, size_t n) override {
    ssize_t r = ::write(fd_, buf, n);
    return r >= 0 ? r : -errno;
  }

  int ApplyState(const DCB& d) override {
    TCommLine l;
    l.baud = d.BaudRate;
    l.dataBits = d.ByteSize;
    l.parity = d.Parity;
    l.stopBits = d.StopBits;
    // Linux couples both directions of hardware handshake.
    l.rtsCts = d.fOutxCtsFlow || d.fRtsControl == RTS_CONTROL_HANDSHAKE;
    l.xonOut = d.fOutX;
    l.xonIn = d.fInX;
    l.xonChar = static_cast<unsigned char>(d.XonChar);
    l.xoffChar = static_cast<unsigned char>(d.XoffChar);
    return CommTermiosApply(fd_, l);
  }

  int GetModemLines(int& bits) override { return ::ioctl(fd_, TIOCMGET, &bits) < 0 ? errno : 0; }

  int ChangeModemLines(int set, int clear) override {
    if (set && ::ioctl(fd_, TIOCMBIS, &set) < 0) return errno;
    if (clear && ::ioctl(fd_, TIOCMBIC, &clear) < 0) return errno;
    return 0;
  }

  int SuspendOutput(bool suspend) override { return ::tcflow(fd_, suspend ? TCOOFF : TCOON) < 0 ? errno : 0; }

  int SetBreak(bool on) override { return ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) < 0 ? errno : 0; }

  int Flush(bool input, bool output) override {
    int q = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return ::tcflush(fd_, q) < 0 ? errno : 0;
  }

  int OutQueue(int& bytes) override { return ::ioctl(fd_, TIOCOUTQ, &bytes) < 0 ? errno : 0; }

  int GetCounters(Counters& c) override {
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) < 0) return errno;
    c.parity = ic.parity;
    c.frame = ic.frame;
    c.overrun = ic.overrun;
    c.bufOverrun = ic.buf_overrun;
    c.brk = ic.brk;
    return 0;
  }

private:
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<TCommBackend> CreateTermiosBackend() { return std::make_unique<TTermiosBackend>(); }
