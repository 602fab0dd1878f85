// Program life; see program.h.
#include "runtime/win/program.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/win/description.h"
#include "runtime/win/message.h"
#include "runtime/win/model.h"
#include "runtime/win/presentation.h"
#include "runtime/win/threads.h"
#include "runtime/win/windows.h"

namespace qx {
namespace {

// Touched by program threads only, under the runtime lock.
std::vector<RtModule> gModules;
bool gInitialised = false;
bool gTerminating = false;

void DefaultEnd(LONG exitCode) {
  std::fflush(nullptr);
  std::cout.flush();
  std::cerr.flush();
  std::quick_exit(static_cast<int>(exitCode));
}

ProcessEnd gProcessEnd = &DefaultEnd;

void RuntimeModuleInit(LONG) {}

bool ParseRelease(const char* text, LONG out[3]) {
  std::string s(text);
  size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    size_t comma = s.find(',', start);
    std::string part = s.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    while (!part.empty() && part.front() == ' ') part.erase(part.begin());
    while (!part.empty() && part.back() == ' ') part.pop_back();
    try {
      out[i] = ParseDescriptionNumber(nlohmann::json(part));
    } catch (...) {
      return false;
    }
    if (comma == std::string::npos) return i == 2;
    start = comma + 1;
  }
  return true;
}

std::string ReleaseText(const LONG r[3]) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%Xh.%d.%d", static_cast<unsigned>(r[0]), r[1], r[2]);
  return buf;
}

}  // namespace

void RtRegisterModule(std::span<const RtModule> modules, LONG) {
  std::vector<RtModule> added;
  if (gModules.empty()) added.push_back(RtModule{"qxrt", 0, &RuntimeModuleInit});
  std::vector<RtModule> program(modules.begin(), modules.end());
  std::stable_sort(program.begin(), program.end(), [](const RtModule& a, const RtModule& b) { return a.priority < b.priority; });
  added.insert(added.end(), program.begin(), program.end());
  gModules.insert(gModules.end(), added.begin(), added.end());
  for (const RtModule& m : added) {
    if (m.initialise) m.initialise(0);
  }
}

LONG RtCheckRuntimeVersion(LONG release, LONG major, LONG minor) {
  LONG have[3] = {kRuntimeRelease, kRuntimeMajor, kRuntimeMinor};
  if (const char* o = std::getenv(kReleaseOverrideVariable); o && *o) {
    LONG parsed[3];
    if (ParseRelease(o, parsed)) std::copy(parsed, parsed + 3, have);
  }
  const LONG want[3] = {release, major, minor};
  if (!std::lexicographical_compare(have, have + 3, want, want + 3)) return 1;
  RtMessage("This program needs release " + ReleaseText(want) + " of the runtime library or a later one.|"
                "This runtime library is release " + ReleaseText(have) + ".",
            "Runtime Library", kIconStop, kButtonOk, kButtonOk);
  return 0;
}

void RtInitOnce() {
  if (gInitialised) return;
  gInitialised = true;
}

void RtEndProgram() {
  for (WindowRef w = RtCurrentWindow(); w; w = RtCurrentWindow()) RtCloseWindow(w);
  RtWaitOtherThreads();
}

void RtTerminate(LONG exitCode) {
  if (!gTerminating) {
    gTerminating = true;
    for (const RtModule& m : gModules) {
      if (m.initialise) m.initialise(1);
    }
  }
  {
    // The last entry of the log: a client waiting for it learns the exit code and, before
    // the process is gone, can still be answered with everything logged before it.
    ModelTransaction t;
    t.model().AddLog("end", 0, std::to_string(exitCode));
  }
  gProcessEnd(exitCode);
  std::abort();  // a ProcessEnd that returned
}

void RtHalt(LONG exitCode, std::string_view text) {
  RtMessage(text, "Halt", kIconStop, kButtonOk, kButtonOk);
  RtTerminate(exitCode);
}

void RtSetProcessEnd(ProcessEnd end) { gProcessEnd = end ? end : &DefaultEnd; }

}  // namespace qx
