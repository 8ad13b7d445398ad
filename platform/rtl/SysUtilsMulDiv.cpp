// MulDiv lives in its own object file so that a static link takes it only when needed.
#include "platform/rtl/SysUtils.h"

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  bool neg = (num < 0) != (c < 0);
  uint64_t un = num < 0 ? 0 - static_cast<uint64_t>(num) : static_cast<uint64_t>(num);
  uint64_t uc = c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  uint64_t q = un / uc, r = un % uc;
  if (r * 2 >= uc) ++q;  // half away from zero
  if (q > (neg ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  return neg ? static_cast<int32_t>(0 - static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}
