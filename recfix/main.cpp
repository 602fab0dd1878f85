// RECFIX: converts one data file to the layout and keys of an example file, keeping all
// its records. See arguments.h for the command line and conversion.h for how the data
// file is kept whole. Exit code 0 when the file was converted, 1 when it was left as it
// was, 2 for a command line that does not fit; a termination signal stops the conversion
// cleanly and then ends the process by that signal.
#include <signal.h>

#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "recfix/arguments.h"
#include "recfix/conversion.h"

namespace {

std::atomic<bool> gStop{false};
volatile sig_atomic_t gSignal = 0;

void OnSignal(int sig) {
  gSignal = sig;
  gStop.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qx::recfix;
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  Arguments args;
  std::string why;
  if (!ParseArguments(words, &args, &why)) {
    std::cerr << "RECFIX: " << why << "\n" << kUsage;
    return 2;
  }
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);

  const Outcome out = ConvertDataFile(args, gStop);
  for (const std::string& n : out.notes) std::cerr << "RECFIX: " << args.dataFile << ": " << n << "\n";
  if (!out.converted) {
    std::cerr << "RECFIX: " << out.error << "\n";
    if (gSignal != 0) {
      const int sig = gSignal;
      signal(sig, SIG_DFL);
      raise(sig);
    }
    return 1;
  }
  return 0;
}
