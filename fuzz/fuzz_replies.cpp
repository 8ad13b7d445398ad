// The receiver's reply machines: any characters received in any state are parsed without
// fault, and the receive ring never holds more than it can.
#include <cstdint>

#include "app/CommandLink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  TCommandLink link;
  link.AppendMemo1 = [](const String&) {};
  link.AppendMemo2 = [](const String&) {};
  const bool hex = data[0] & 1;
  link.HexMode = [hex] { return hex; };
  link.WriteLine = [](const String&) {};
  link.ClearPortBuffers = [] {};
  link.WriteFailed = [] {};
  link.SetParserSelect((data[0] >> 1) & 1);
  link.QueryKind = data[1] % 4;
  link.MonitorState = uint8_t(data[1] >> 2) % 6;
  link.CPUpower = data[2] % 8;
  // The rest arrives in bursts whose lengths come from the data, pumped in between.
  size_t pos = 3;
  while (pos < size) {
    size_t burst = 1 + data[pos++] % 64;
    String chars;
    for (; burst > 0 && pos < size; --burst) chars.push_back(Char(data[pos++]));
    link.ReceiveChars(chars);
    if (link.RxCount < 0 || link.RxCount > TCommandLink::RingSize) __builtin_trap();
    for (int i = 0; i < TCommandLink::RingSize * 2 && link.RxCount > 0; ++i) link.PumpLink();
  }
  return 0;
}
