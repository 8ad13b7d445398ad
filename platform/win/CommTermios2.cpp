// Line settings through struct termios2, which takes any baud rate. Kept apart because the
// kernel's termios headers clash with the C library's <termios.h>.

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "platform/win/CommTermios_p.h"

namespace {

speed_t StandardSpeed(uint32_t baud) {
  switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return BOTHER;
  }
}

}  // namespace

int CommTermiosApply(int fd, const TCommLine& line) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) < 0) return errno;
  // Raw input with error marking: FF FF for a data FF, FF 00 00 for a break, FF 00 c for
  // a byte with a parity or framing error.
  t.c_iflag = INPCK | PARMRK;
  if (line.xonOut) t.c_iflag |= IXON;
  if (line.xonIn) t.c_iflag |= IXOFF;
  t.c_oflag = 0;
  t.c_lflag = 0;
  tcflag_t c = CREAD | CLOCAL | (t.c_cflag & HUPCL);
  switch (line.dataBits) {
    case 5: c |= CS5; break;
    case 6: c |= CS6; break;
    case 7: c |= CS7; break;
    default: c |= CS8; break;
  }
  switch (line.parity) {
    case 1: c |= PARENB | PARODD; break;
    case 2: c |= PARENB; break;
    case 3: c |= PARENB | CMSPAR | PARODD; break;
    case 4: c |= PARENB | CMSPAR; break;
    default: break;
  }
  if (line.stopBits != 0) c |= CSTOPB;  // 1.5 only exists with 5 data bits, where CSTOPB gives it
  if (line.rtsCts) c |= CRTSCTS;
  speed_t sp = StandardSpeed(line.baud);
  c |= sp | (sp << IBSHIFT);
  t.c_cflag = c;
  t.c_ispeed = t.c_ospeed = line.baud;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  t.c_cc[VSTART] = line.xonChar;
  t.c_cc[VSTOP] = line.xoffChar;
  if (ioctl(fd, TCSETS2, &t) < 0) return errno;
  return 0;
}
