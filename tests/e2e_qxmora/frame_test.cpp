// qxmora's frame, end to end: started without a directory it can enter, it checks the
// directory it was started in and stays open; what it shows; a close request that comes
// while the pass runs; the standard actions of its menus.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e_qxmora/qxmora_run.h"

namespace qx::testing {
namespace {

using nlohmann::json;

TEST(Frame, WithoutADirectoryItCanEnterItChecksTheStartDirectoryAndStaysOpen) {
  const std::string standrd = OldStandrdBytes();
  struct Case {
    const char* what;
    std::vector<std::string> args;
  } cases[] = {
      {"no argument", {}},
      {"an empty argument", {""}},
      {"a blank argument", {"   "}},
      {"a directory that does not exist", {"/nonexistent/qxmora/dir"}},
      {"a file, not a directory", {"Standrd.TPS"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun::Options options;
    options.args = c.args;
    options.files = {{"Standrd.TPS", standrd}};
    auto run = StartQxmora(options);
    ASSERT_TRUE(run);
    const std::string start = std::filesystem::canonical(run->directory()).string();
    // The toolbar shows the start directory in its full long form once the frame is up.
    ASSERT_FALSE(run->WaitFor({{"text", {{"window", "P1$APPFRAME"}, {"control", "WorkingDirString"}, {"equals", start}}}})
                    .is_null())
        << json(run->Window("P1$APPFRAME")).dump() << run->Stderr();
    EXPECT_TRUE(run->Window("$ZELTWELCOME").is_null()) << "the welcome window went before the frame opened";
    EXPECT_EQ(run->WaitForExit(500), -1) << "the frame stays open";

    ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
    ASSERT_EQ(run->WaitForExit(30000), 0);
    ExpectConverted(run->directory(), Standrd, SampleCustomers());
    EXPECT_EQ(Names(run->directory()), std::vector<std::string>{"Standrd.TPS"});
  }
}

TEST(Frame, LooksAsDescribed) {
  auto run = StartQxmora(std::vector<std::string>{});
  ASSERT_TRUE(run);
  ASSERT_FALSE(run->WaitFor({{"takes_input", "P1$APPFRAME"}}).is_null()) << run->Stderr();
  const json w = run->Window("P1$APPFRAME");
  EXPECT_EQ(w["title"], "Demo of Quorvane Data File Converter");
  EXPECT_EQ(w["kind"], "application");
  EXPECT_EQ(w["thread"], 1);
  EXPECT_EQ(w["width"], 429);
  EXPECT_EQ(w["height"], 262);
  EXPECT_TRUE(w["centred"]);
  EXPECT_EQ(w["icon"]["resource"], "JUMPPG.ICO");
  EXPECT_EQ(w["wallpaper"], json({{"image", "bg.bmp"}, {"mode", 2}}));
  EXPECT_EQ(w["status_widths"], json({-1, 80, 120, 45}));
  EXPECT_EQ(w["frame"]["border"], "resizable");
  EXPECT_EQ(Control(w, "ExitItem")["std"], 15);
  EXPECT_EQ(Control(w, "WindowMenu")["std"], 1);
  EXPECT_EQ(Control(w, "ConvertButton")["text"], "2. Convert Data      Files There");
  EXPECT_EQ(Control(w, "SetDataPathButton")["icon"]["resource"], "ICON32528.ICO");
  EXPECT_EQ(Control(w, "WorkingDirString")["area"], "toolbar");
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  EXPECT_EQ(run->WaitForExit(), 0);
}

TEST(Frame, TheMenusStandardActionsWork) {
  auto run = StartQxmora(std::vector<std::string>{});
  ASSERT_TRUE(run);
  ASSERT_FALSE(run->WaitFor({{"takes_input", "P1$APPFRAME"}}).is_null()) << run->Stderr();
  struct Case {
    const char* item;
    const char* log;  // what the view did
  } cases[] = {{"PrintSetupItem", "print-setup"}, {"ArrangeIconsItem", "arrange-icons"}};
  // Tile and Cascade arrange the child windows, which come with the browses.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", c.item}})));
    EXPECT_FALSE(run->WaitFor({{"log", c.log}}).is_null());
  }
  for (const char* help : {"HelpContentsItem", "HelpSearchItem", "HelpOnHelpItem"}) {
    SCOPED_TRACE(help);
    ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", help}})));
    const json box = run->WaitFor({{"message", {{"text_contains", "help file"}}}});
    ASSERT_TRUE(box.is_object()) << "no help file is set";
    ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", box["id"]}})));
    ASSERT_FALSE(run->WaitFor({{"no_message", true}}).is_null());
  }
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "Exit"}})));
  EXPECT_EQ(run->WaitForExit(), 0);
}

TEST(Frame, ACloseRequestDuringThePassIsServedAfterIt) {
  // A file large enough that RECFIX is still at work when the close request comes.
  constexpr int kRecords = 400000;
  ProgramRun::Options options;
  options.files = {{"Standrd.TPS", OldStandrdBytes(kRecords)}};
  auto run = StartQxmora(options);
  ASSERT_TRUE(run);
  ASSERT_TRUE(run->WaitFor({{"window", "P1$APPFRAME"}}).is_object()) << run->Stderr();
  const std::string vhtemp = run->directory() + "/VHtemp";
  for (int i = 0; i < 1000 && !std::filesystem::exists(vhtemp); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(std::filesystem::exists(vhtemp)) << "the conversion has begun";
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  ASSERT_TRUE(std::filesystem::exists(vhtemp)) << "the request came while the pass was running";

  ASSERT_EQ(run->WaitForExit(60000), 0) << run->Stderr();
  // The pass ran to its end before the frame closed.
  EXPECT_EQ(Names(run->directory()), std::vector<std::string>{"Standrd.TPS"});
  std::vector<Customer> read;
  {
    ScopedChdir in(run->directory());
    ASSERT_EQ(ReadFile(Standrd, &read), 0);
  }
  ASSERT_EQ(read.size(), static_cast<size_t>(kRecords));
  EXPECT_EQ(read.back(), Project(GeneratedCustomer(kRecords - 1), Standrd.layout()));
}

}  // namespace
}  // namespace qx::testing
