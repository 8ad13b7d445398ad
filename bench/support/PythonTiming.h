#pragma once
// What the benchmarks that measure against Python share: a steady clock in seconds, and a
// Python snippet run on a file whose printed numbers (its own timings first) are read back.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using TClock = std::chrono::steady_clock;

inline double Seconds(TClock::time_point Start) {
  return std::chrono::duration<double>(TClock::now() - Start).count();
}

// Runs `python3 -c Script File` and reads the numbers it prints, in order. The script must not
// hold single quotes.
inline std::vector<double> PythonNumbers(const std::string& Script, const std::string& File) {
  const std::string cmd = "python3 -c '" + Script + "' " + File;
  std::vector<double> out;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    double v;
    while (std::fscanf(p, "%lf", &v) == 1) out.push_back(v);
    ::pclose(p);
  }
  return out;
}

}  // namespace bench
