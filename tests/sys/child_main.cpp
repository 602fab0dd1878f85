// A tiny child program for the RtRun tests. It takes its command line as every program of
// the runtime does, then writes what it saw to the file named by QX_TEST_REPORT (pairs of
// NUL-terminated key and value), and ends with the exit code in QX_TEST_EXIT.
// With QX_TEST_WAIT_FOR set it first waits (at most 30 s) until that file exists.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "runtime/sys/command_line.h"

namespace {

void Put(std::ofstream& out, const std::string& key, const std::string& value) {
  out << key << '\0' << value << '\0';
}

}  // namespace

int main(int argc, char** argv) {
  qx::RtInitCommandLine(argc, argv);
  if (const char* waitFor = std::getenv("QX_TEST_WAIT_FOR")) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(waitFor)) {
      if (std::chrono::steady_clock::now() > until) return 99;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (const char* report = std::getenv("QX_TEST_REPORT")) {
    const std::string part = std::string(report) + ".part";
    {
      std::ofstream out(part, std::ios::binary);
      Put(out, "cwd", std::filesystem::current_path().string());
      Put(out, "argc", std::to_string(argc));
      for (int i = 0; i < argc; ++i) Put(out, "argv" + std::to_string(i), argv[i]);
      Put(out, "line", qx::RtCommandLine());
      for (const char* sel : {"1", "2", "3", "4"}) Put(out, std::string("word") + sel, qx::RtCommand(sel));
      const char* inherited = std::getenv(qx::kRtCommandLineVariable);
      Put(out, "inherited", inherited ? inherited : "(none)");
    }
    // Appears whole: a waiting test never reads half a report.
    std::filesystem::rename(part, report);
  }
  const char* code = std::getenv("QX_TEST_EXIT");
  return code ? std::atoi(code) : 0;
}
