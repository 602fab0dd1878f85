// The warnings that end the program end a real process: the test program shows the
// warning and the halt box through the automation channel, the answers come from here,
// and the process ends with exit code 0 without running on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/harness/harness.h"

namespace qx {
namespace {

using nlohmann::json;
using testing::ProgramRun;

struct Answer {
  const char* caption;
  const char* button;
  const char* textContains;
};

TEST(StandardFunctionsProgram, HaltsEndTheProcessAndAnswersReturn) {
  struct Case {
    std::vector<std::string> args;
    std::vector<Answer> boxes;
    int exitCode;
    const char* returned;  // what the program wrote after the call returned; nullptr: nothing
  } cases[] = {
      {{"warning", "1", "Standrd"},
       {{"Invalid File", "OK", "Error: (File Not Found (2)) accessing Standrd."}, {"Halt", "OK", "Invalid File!"}},
       0,
       nullptr},
      {{"warning", "2", "Standrd"}, {{"Invalid Key", "No", "Standrd key file is invalid."}, {"Halt", "OK", "Invalid Key!"}}, 0,
       nullptr},
      {{"warning", "2", "Standrd"}, {{"Invalid Key", "Yes", "rebuild the key?"}}, 3, "returned 2"},
      {{"warning", "16"}, {{"Record Update Error", "No", "try to save again?"}}, 3, "returned 4"},
      {{"open", "mismatch"},
       {{"Invalid File", "OK", "Error: (Invalid Record Declaration (47)) accessing "}, {"Halt", "OK", "Invalid File!"}},
       0,
       nullptr},
      {{"open", "rebuild"}, {{"Invalid Key", "Yes", "CUSTOMER.TPS key file is invalid."}}, 3, "returned 0"},
      {{"open", "missing-error"},
       {{"File Access Error", "OK", "Error: File Not Found (2)."}, {"Halt", "OK", "Disk Error"}},
       0,
       nullptr},
  };
  for (const Case& c : cases) {
    std::string what;
    for (const auto& a : c.args) what += a + " ";
    ProgramRun::Options options;
    options.args = c.args;
    std::string error;
    auto run = ProgramRun::Start(SF_TEST_PROGRAM, options, &error);
    ASSERT_TRUE(run) << what << error;
    for (const Answer& a : c.boxes) {
      const json box = run->WaitFor({{"message", {{"caption", a.caption}}}});
      ASSERT_TRUE(box.is_object()) << what << "waits for " << a.caption << "\n" << run->Stderr();
      EXPECT_NE(box["text"].get<std::string>().find(a.textContains), std::string::npos) << what << box["text"];
      EXPECT_TRUE(run->Request({{"op", "answer"}, {"message", box["id"]}, {"button", a.button}}).value("ok", false))
          << what;
    }
    EXPECT_EQ(run->WaitForExit(), c.exitCode) << what << run->Stderr();
    const std::string err = run->Stderr();
    if (c.returned) {
      EXPECT_NE(err.find(c.returned), std::string::npos) << what << err;
    } else {
      EXPECT_EQ(err.find("returned"), std::string::npos) << what << "nothing runs after the halt: " << err;
    }
  }
}

}  // namespace
}  // namespace qx
