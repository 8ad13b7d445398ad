#pragma once
// What the benchmarks that measure against Python share: a steady clock in seconds, and a
// Python snippet run on a file whose printed numbers (its own timings first) are read back.

#include <unistd.h>

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
// hold single quotes. The system's Python is taken where there is one, as the references use
// its packages (openpyxl, locale data); a user's own Python first on the PATH may lack them.
// A reference that prints nothing is reported on stderr and yields no numbers.
inline std::vector<double> PythonNumbers(const std::string& Script, const std::string& File) {
  const char* python = ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
  const std::string cmd = std::string(python) + " -c '" + Script + "' " + File;
  std::vector<double> out;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    double v;
    while (std::fscanf(p, "%lf", &v) == 1) out.push_back(v);
    ::pclose(p);
  }
  if (out.empty()) std::fprintf(stderr, "the Python reference printed no numbers: %s -c ... %s\n", python, File.c_str());
  return out;
}

}  // namespace bench
