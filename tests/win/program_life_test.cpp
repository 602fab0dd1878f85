// Program life: module initialisers by priority with phase 0, the runtime release check,
// and RtTerminate running phase 1 before the process ends with its code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/win/win.h"

namespace qx {
namespace {

std::vector<std::string> gCalls;

void Init(const char* name, LONG phase) { gCalls.push_back(std::string(name) + ":" + std::to_string(phase)); }
void Late1(LONG phase) { Init("late1", phase); }
void Early(LONG phase) { Init("early", phase); }
void Late2(LONG phase) { Init("late2", phase); }
void Added(LONG phase) { Init("added", phase); }

struct Ended {
  LONG code;
};

TEST(ProgramLife, ModulesStartByPriorityAndEndWithPhaseOne) {
  ProgramThreadScope main;
  static const RtModule modules[] = {{"late1", 5, &Late1}, {"early", 1, &Early}, {"late2", 5, &Late2}};
  RtRegisterModule(modules);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"early:0", "late1:0", "late2:0"}));
  static const RtModule more[] = {{"added", 5, &Added}};
  RtRegisterModule(more);
  EXPECT_EQ(gCalls.back(), "added:0") << "a second call runs only its own modules";
  EXPECT_EQ(gCalls.size(), 4u);
  gCalls.clear();
  RtSetProcessEnd([](LONG code) { throw Ended{code}; });
  try {
    RtTerminate(9);
    ADD_FAILURE() << "RtTerminate returned";
  } catch (const Ended& e) {
    EXPECT_EQ(e.code, 9);
  }
  RtSetProcessEnd(nullptr);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"early:1", "late1:1", "late2:1", "added:1"}));
}

TEST(ProgramLife, RuntimeRelease) {
  ProgramThreadScope main;
  struct Case {
    const char* reported;  // nullptr: this runtime's own
    LONG release, major, minor;
    bool supported;
  } cases[] = {
      {nullptr, 0x105, 2, 0, true},   {nullptr, 0x104, 9, 9, true},  {nullptr, 0x105, 2, 1, false},
      {nullptr, 0x106, 0, 0, false},  {"104h,2,0", 0x105, 2, 0, false}, {"0x200, 0, 0", 0x105, 2, 0, true},
      {"garbage", 0x105, 2, 0, true},  // an unreadable override is ignored
  };
  for (const Case& c : cases) {
    if (c.reported) {
      ::setenv(kReleaseOverrideVariable, c.reported, 1);
    } else {
      ::unsetenv(kReleaseOverrideVariable);
    }
    EXPECT_EQ(RtCheckRuntimeVersion(c.release, c.major, c.minor) != 0, c.supported)
        << (c.reported ? c.reported : "own") << " vs " << c.release << "." << c.major << "." << c.minor;
  }
  ::unsetenv(kReleaseOverrideVariable);
  RtInitOnce();
  RtInitOnce();  // later calls do nothing
}

}  // namespace
}  // namespace qx
