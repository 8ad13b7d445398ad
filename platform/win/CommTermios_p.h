#pragma once
// Line settings as the termios back end applies them (private to the back end).

#include <cstdint>

struct TCommLine {
  uint32_t baud = 9600;
  int dataBits = 8;
  int parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int stopBits = 0;  // 0 one, 1 one and a half, 2 two
  bool rtsCts = false;
  bool xonOut = false, xonIn = false;
  unsigned char xonChar = 17, xoffChar = 19;
};

// Applies raw mode with the given line settings; returns 0 or errno.
int CommTermiosApply(int fd, const TCommLine& line);
