// What the benchmarks share; see bench_support.h.
#include "bench/support/bench_support.h"

#include <stdlib.h>
#include <sys/resource.h>

#include <cstdlib>
#include <vector>

namespace qx::bench {

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

double Microseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}

long PeakKb() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

std::string Flag(int argc, char** argv, const std::string& flag, const std::string& fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == flag) return argv[i + 1];
  }
  return fallback;
}

uint64_t NumberFlag(int argc, char** argv, const std::string& flag, uint64_t fallback) {
  const std::string value = Flag(argc, argv, flag, "");
  return value.empty() ? fallback : std::stoull(value);
}

std::string MakeWorkDirectory(const std::string& base, const std::string& name) {
  std::string tmpl = base + "/qx_bench_" + name + "_XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) {
    std::perror(("bench_" + name + ": cannot make a directory in " + base).c_str());
    std::exit(1);
  }
  return buf.data();
}

}  // namespace qx::bench
