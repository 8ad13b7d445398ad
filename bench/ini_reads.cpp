// Reading one section's keys key by key through TIniFile, as the serial port's settings
// are loaded, from a settings file near the size bound. The reference in the same run is
// one load of the whole file into a TMemIniFile: many keys should cost about one load.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <string>

#include "platform/rtl/IniFiles.h"
#include "testing/TempFolder.h"

namespace {

constexpr int Keys = 20;

// A settings file of about 12 MB: many filler sections, then the section that is read.
struct BigFile {
  TempFolder Dir;
  String Name = Dir.FileS("big.ini");
  BigFile() {
    std::ofstream out(Dir.File("big.ini"), std::ios::binary);
    for (int s = 0; s < 12000; ++s) {
      out << "[Filler" << s << "]\r\n";
      for (int k = 0; k < 20; ++k) out << "Key" << k << "=some value of the filler section " << s << "\r\n";
    }
    out << "[ComPort1]\r\n";
    for (int k = 0; k < Keys; ++k) out << "Setting" << k << "=" << k << "\r\n";
    out.close();
    // An old file, as a settings file usually is.
    time_t old = ::time(nullptr) - 3600;
    timespec t[2] = {{old, 0}, {old, 0}};
    ::utimensat(AT_FDCWD, Dir.File("big.ini").c_str(), t, 0);
  }
};

BigFile& File() {
  static BigFile f;
  return f;
}

// TIniFile reads the file per key; TMemIniFile loads it once (the reference).
template <class Ini>
void BM_ReadSectionKeyByKey(benchmark::State& state) {
  for (auto _ : state) {
    Ini ini(File().Name);
    int sum = 0;
    for (int k = 0; k < Keys; ++k) sum += ini.ReadInteger(u"ComPort1", u"Setting" + IntToStr(k), 0);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK_TEMPLATE(BM_ReadSectionKeyByKey, TIniFile)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ReadSectionKeyByKey, TMemIniFile)->Unit(benchmark::kMillisecond);

}  // namespace
