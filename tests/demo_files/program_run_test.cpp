// qxmora's own code run in-process under a view that records every window as it opens
// and closes: the welcome window goes before the frame opens and the check begins, and
// the key window comes up once for each file converted, after RECFIX has ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "demo/main_frame.h"
#include "demo/program_module.h"
#include "runtime/sys/command_line.h"
#include "runtime/win/threads.h"
#include "runtime/win/view.h"
#include "tests/demo_files/fake_recfix.h"
#include "tests/demo_files/fixtures.h"

namespace qx {
namespace {

using testing::OldFile;
using testing::TempDir;

// Notes "open LABEL [what the working directory holds then]" and "close LABEL".
class RecordingView : public View {
 public:
  explicit RecordingView(std::string dir) : dir_(std::move(dir)) {}
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation& w, DrawnAck drawn) override {
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (labels_.emplace(w.id, w.label).second) {
        std::string entry = "open " + w.label + " [";
        for (const std::string& n : testing::Names(dir_)) {
          if (n != "RECFIX") entry += " " + n;
        }
        log_.push_back(entry + " ]");
      }
    }
    if (drawn) drawn();
  }
  void CloseWindow(LONG id) override {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = labels_.find(id);
    if (it == labels_.end()) return;
    log_.push_back("close " + it->second);
    labels_.erase(it);
  }
  void ShowMessage(const MessagePresentation& box) override { log_.push_back("message " + box.text); }
  void CloseMessage(LONG) override {}
  std::vector<std::string> log() {
    std::lock_guard<std::mutex> lock(mu_);
    return log_;
  }

 private:
  std::string dir_;
  std::mutex mu_;
  std::map<LONG, std::string> labels_;
  std::vector<std::string> log_;
};

TEST(ProgramRun, WelcomeGoesBeforeTheCheckAndTheKeyWindowComesOncePerConversion) {
  TempDir data, notes;
  ASSERT_EQ(testing::WriteOldFile(OldFile::kStandrd, data / "STANDRD.TPS", testing::SampleCustomers()), 0);
  ASSERT_EQ(testing::WriteOldFile(OldFile::kVeryLong, data / "VERYLONG.TPS", testing::SampleCustomers()), 0);
  {
    testing::ScopedChdir in(data.path());
    ASSERT_EQ(testing::WriteFile(Encrypt, testing::SampleCustomers()), 0);  // current: no conversion
  }
  testing::FakeRecfix recfix(data.path(), notes.path());
  RecordingView view(data.path());
  RtInstallView(&view);
  const char* argv[] = {"qxmora", data.path().c_str()};
  RtInitCommandLine(2, argv);
  const std::string start = std::filesystem::current_path().string();
  {
    ProgramThreadScope thread;
    ProgramModuleInit(0);
    CurrentResponse = 7;
    ProgramMain();  // batch mode: returns once the frame has closed itself
    EXPECT_EQ(CurrentResponse, 2);
    EXPECT_EQ(WelcomeShown, 1);
    // A second frame in the same process: the welcome window is not shown again.
    ProgramMain();
    ProgramModuleInit(1);
  }
  RtInstallView(nullptr);
  std::filesystem::current_path(start);

  const std::string files = " ENCRYPT.TPS STANDRD.TPS VERYLONG.TPS";
  const std::vector<std::string> once = {
      "open $ZELTWELCOME [" + files + " ]",
      "close $ZELTWELCOME",
      "open P1$APPFRAME [" + files + " ]",  // nothing of the check has happened yet
      "open $ZELTKEYWIN [ ENCRYPT.TPS STANDRD.TPS STANDRD.tpe VERYLONG.TPS VHtemp ]",
      "close $ZELTKEYWIN",
      "open $ZELTKEYWIN [ ENCRYPT.TPS STANDRD.TPS VERYLONG.TPS VERYLONG.tpe VHtemp ]",
      "close $ZELTKEYWIN",
      "close P1$APPFRAME",
  };
  std::vector<std::string> expected = once;
  expected.insert(expected.end(), once.begin() + 2, once.end());
  EXPECT_EQ(view.log(), expected);
  EXPECT_EQ(recfix.Commands().size(), 4u) << "two conversions in each of the two passes";
  EXPECT_EQ(testing::Names(data.path()), (std::vector<std::string>{"ENCRYPT.TPS", "RECFIX", "STANDRD.TPS", "VERYLONG.TPS"}));
}

}  // namespace
}  // namespace qx
