// The test program driven end to end through the harness: a global window at start, the
// frame with its menu, toolbar and status bar, a message box answered through the channel,
// a child window on a second thread, the standard actions, and the ways a program ends.
#include <gtest/gtest.h>

#include "tests/harness/harness.h"
#include "tests/support/locales.h"

namespace qx {
namespace {

using nlohmann::json;
using testing::Control;
using testing::Ok;
using testing::ProgramRun;

std::unique_ptr<ProgramRun> Start(ProgramRun::Options options = {}) {
  std::string error;
  auto run = ProgramRun::Start(WIN_TEST_PROGRAM, options, &error);
  EXPECT_TRUE(run) << error;
  return run;
}

TEST(TestProgram, FrameMenuToolbarChildThreadAndMessageBox) {
  auto run = Start();
  ASSERT_TRUE(run);
  json frame = run->WaitFor({{"window", "Window Test Frame"}});
  ASSERT_TRUE(frame.is_object()) << run->Stderr();
  EXPECT_FALSE(run->Window("$GLOBAL").is_object()) << "the global window closed as the frame opened";
  EXPECT_EQ(frame["kind"], "application");
  EXPECT_EQ(frame["thread"], 1);
  EXPECT_EQ(frame["status_widths"], json({-1, 60}));
  EXPECT_EQ(Control(frame, "ExitItem")["std"], 15);
  EXPECT_EQ(Control(frame, "AskButton")["icon"]["resource"], "ICON32527.ICO");
  EXPECT_EQ(Control(frame, "AskButton")["area"], "toolbar");

  // The menu's message in the status bar, then an item of the program's own.
  ASSERT_TRUE(Ok(run->Request({{"op", "hover"}, {"window", "FRAME"}, {"control", "StartChildItem"}})));
  EXPECT_EQ(run->Window("FRAME")["status"][0], "Start a child window");
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "FRAME"}, {"item", "Start Child"}})));
  json child = run->WaitFor({{"window", {{"kind", "mdi"}}}});
  ASSERT_TRUE(child.is_object()) << run->Stderr();
  EXPECT_EQ(child["thread"], 2);
  EXPECT_EQ(child["parent"], frame["id"]);
  EXPECT_EQ(Control(child, "ThreadString")["text"], "thread 2 count 1");
  EXPECT_EQ(run->Window("FRAME")["children"][0]["title"], "Child Window");
  EXPECT_TRUE(run->Window("FRAME")["takes_input"]) << "another thread's child leaves the frame usable";

  // The toolbar button asks; the box is read and answered through the channel.
  ASSERT_TRUE(Ok(run->Request({{"op", "press"}, {"window", "FRAME"}, {"control", "Ask"}})));
  json box = run->WaitFor({{"message", {{"caption", "Question"}}}});
  ASSERT_TRUE(box.is_object());
  EXPECT_EQ(box["text"], "Do you agree?\nSay so.");
  EXPECT_EQ(box["icon"]["system"], 32514);
  EXPECT_EQ(box["buttons"], json({"Yes", "No"}));
  EXPECT_EQ(box["default"], "No");
  EXPECT_FALSE(run->Window("FRAME")["takes_input"]) << "the box holds the asking thread's windows";
  EXPECT_FALSE(run->Window({{"kind", "mdi"}})["takes_input"]) << "and the other threads' windows too";
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"button", "Yes"}})));
  EXPECT_FALSE(run->WaitFor({{"text", {{"window", "FRAME"}, {"control", "AnswerString"}, {"equals", "2"}}}}).is_null());

  // Standard actions: tile through the Window menu, help without a help file.
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "FRAME"}, {"item", "Tile"}})));
  EXPECT_TRUE(run->WaitFor({{"log", "tile"}}).is_object());
  EXPECT_EQ(run->Window({{"kind", "mdi"}})["x"], 0);
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "FRAME"}, {"item", "HelpContentsItem"}})));
  json help = run->WaitFor({{"message", {{"text_contains", "help file"}}}});
  ASSERT_TRUE(help.is_object());
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", help["id"]}})));

  // Input the program cannot take is refused.
  EXPECT_FALSE(Ok(run->Request({{"op", "press"}, {"window", "FRAME"}, {"control", "NoSuchButton"}})));
  EXPECT_FALSE(Ok(run->Request({{"op", "frobnicate"}})));

  // The child closes through its default button (Enter), its thread ends.
  ASSERT_TRUE(Ok(run->Request({{"op", "key"}, {"window", {{"kind", "mdi"}}}, {"code", 13}})));
  ASSERT_FALSE(run->WaitFor({{"no_window", {{"kind", "mdi"}}}}).is_null());
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "FRAME"}, {"item", "Exit"}})));
  EXPECT_EQ(run->WaitForExit(), 0);
  EXPECT_NE(run->Stderr().find("module phase 1"), std::string::npos) << run->Stderr();
}

TEST(TestProgram, ClosingTheFrameClosesChildrenAndWaitsForTheirThreads) {
  auto run = Start();
  ASSERT_TRUE(run);
  ASSERT_TRUE(run->WaitFor({{"window", "FRAME"}}).is_object());
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "FRAME"}, {"item", "Start Child"}})));
  json second = run->WaitFor({{"window", {{"kind", "mdi"}, {"thread", 3}}}});
  ASSERT_TRUE(second.is_object());
  EXPECT_EQ(Control(second, "ThreadString")["text"], "thread 3 count 1") << "each thread's globals start at zero";
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "FRAME"}})));
  EXPECT_EQ(run->WaitForExit(), 0);
}

TEST(TestProgram, EndingCodes) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> env;
    int exitCode;
    const char* stderrHas;
  } cases[] = {
      {{"halt", "0"}, {}, 0, "qxrt message [Halt]: Stopping now -> OK"},
      {{"halt", "7"}, {}, 7, "module phase 1"},
      {{"halt", "0", ""}, {}, 0, "qxrt message [Halt]:  -> OK"},  // an empty text still shows the box
      {{"terminate", "0"}, {}, 0, "module phase 1"},
      {{"terminate", "3"}, {}, 3, "module phase 1"},
      {{"ask"}, {}, 4, "qxrt message [Ask]: Continue? -> No"},  // the default button
      {{}, {{"QXRT_RUNTIME_RELEASE", "104h,2,0"}}, 0, "[Runtime Library]"},
  };
  for (const Case& c : cases) {
    ProgramRun::Options options;
    options.args = c.args;
    options.env = c.env;
    options.automation = false;
    auto run = Start(options);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->WaitForExit(), c.exitCode) << c.args.size() << " " << run->Stderr();
    EXPECT_NE(run->Stderr().find(c.stderrHas), std::string::npos) << run->Stderr();
  }
}

TEST(TestProgram, HaltAndTheRuntimeReleaseBoxThroughTheChannel) {
  {
    ProgramRun::Options options;
    options.args = {"halt", "0"};
    auto run = Start(options);
    ASSERT_TRUE(run);
    json box = run->WaitFor({{"message", true}});
    ASSERT_TRUE(box.is_object());
    EXPECT_EQ(box["caption"], "Halt");
    EXPECT_EQ(box["text"], "Stopping now");
    EXPECT_EQ(box["icon"]["system"], 32513);
    EXPECT_EQ(box["buttons"], json({"OK"}));
    EXPECT_EQ(run->WaitForExit(200), -1) << "the program waits for the answer";
    json answered = run->Request({{"op", "answer"}, {"button", "OK"}});
    ASSERT_TRUE(Ok(answered)) << answered.dump() << run->Stderr();
    EXPECT_EQ(run->WaitForExit(), 0);
  }
  {
    ProgramRun::Options options;
    options.env = {{"QXRT_RUNTIME_RELEASE", "104h,2,0"}};
    auto run = Start(options);
    ASSERT_TRUE(run);
    json box = run->WaitFor({{"message", true}});
    ASSERT_TRUE(box.is_object());
    EXPECT_NE(box["text"].get<std::string>().find("105h.2.0"), std::string::npos) << box.dump();
    EXPECT_EQ(run->Request({{"op", "windows"}})["windows"].size(), 0u) << "no window of the program opened";
    ASSERT_TRUE(Ok(run->Request({{"op", "answer"}})));
    EXPECT_EQ(run->WaitForExit(), 0);
  }
  {
    ProgramRun::Options options;
    options.args = {"ask"};
    auto run = Start(options);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->WaitFor({{"message", true}}).is_object());
    ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"button", "Cancel"}})));
    EXPECT_EQ(run->WaitForExit(), 64);
  }
}

// Without a display the program still shows dates in the user's short date form: the
// process entry takes the date part of the locale from the environment.
TEST(TestProgram, DatesFollowTheUsersLocaleInTheHeadlessView) {
  if (!testing::LocaleAvailable(testing::kGermanLocale)) GTEST_SKIP() << testing::LocaleMissing(testing::kGermanLocale);
  struct Case {
    std::vector<std::pair<std::string, std::string>> env;
    const char* shown;
  } cases[] = {
      {{{"LC_ALL", testing::kGermanLocale}}, "31.12.2024"},
      {{{"LC_ALL", ""}, {"LANG", "C"}, {"LC_TIME", testing::kGermanLocale}}, "31.12.2024"},
      {{{"LC_ALL", "C"}}, "12/31/2024"},
  };
  for (const Case& c : cases) {
    ProgramRun::Options options;
    options.args = {"date"};
    options.env = c.env;
    auto run = Start(options);
    ASSERT_TRUE(run);
    const json window = run->WaitFor({{"window", "DATE"}});
    ASSERT_TRUE(window.is_object()) << run->Stderr();
    EXPECT_EQ(Control(window, "DateString")["text"], c.shown) << c.env.back().first << "=" << c.env.back().second;
    ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "DATE"}})));
    EXPECT_EQ(run->WaitForExit(), 0);
  }
}

}  // namespace
}  // namespace qx
