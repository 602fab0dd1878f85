// Message boxes: their buttons and default, the headless view answering by default without
// an automation client, and answers that come through the channel.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <nlohmann/json.hpp>

#include "runtime/sys/runtime_lock.h"
#include "runtime/view/automation/channel.h"
#include "runtime/view/headless/headless_view.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/support/views.h"

namespace qx {
namespace {

// Runs a headless view on a thread of its own for the test's life.
class RunningView {
 public:
  explicit RunningView(AutomationChannel* channel) : view_(channel), thread_([this] { view_.Run(); }) {
    RtInstallView(&view_);
  }
  ~RunningView() {
    RtInstallView(nullptr);
    view_.Stop();
    thread_.join();
  }

 private:
  HeadlessView view_;
  std::thread thread_;
};

TEST(MessageBox, WithoutAClientTheDefaultButtonAnswers) {
  struct Case {
    LONG buttons, defaultButton, expected;
  } cases[] = {
      {0, 0, kButtonOk},                                        // no buttons: one OK
      {kButtonYes + kButtonNo, kButtonNo, kButtonNo},
      {kButtonYes + kButtonNo + kButtonCancel, 0, kButtonYes},  // no default: the first
      {kButtonRetry + kButtonCancel, kButtonOk, kButtonRetry},  // a default not among them
      {kButtonOk + kButtonCancel, kButtonOk + kButtonCancel, kButtonOk},  // not one button
  };
  RunningView view(nullptr);
  ProgramThreadScope main;
  for (const Case& c : cases) {
    EXPECT_EQ(RtMessage("text", "caption", kIconExclamation, c.buttons, c.defaultButton), c.expected)
        << c.buttons << "/" << c.defaultButton;
  }
  RtInstallView(nullptr);
  EXPECT_EQ(RtMessage("no view at all", "", 0, kButtonYes + kButtonNo, kButtonNo), kButtonNo);
}

int Connect(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

nlohmann::json Ask(int fd, const nlohmann::json& request) {
  const std::string line = request.dump() + "\n";
  if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return nullptr;
  std::string reply;
  char c;
  while (::read(fd, &c, 1) == 1 && c != '\n') reply += c;
  return nlohmann::json::parse(reply);
}

TEST(MessageBox, AnsweredThroughTheAutomationChannel) {
  char dir[] = "/tmp/qxmsg-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/a.sock";
  std::string error;
  auto channel = AutomationChannel::Open(path, &error);
  ASSERT_TRUE(channel) << error;
  RunningView view(channel.get());
  const int fd = Connect(path);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(channel->WaitForClient(5000));
  nlohmann::json box;
  std::thread person([&] {
    box = Ask(fd, {{"op", "wait"}, {"until", {{"message", {{"caption", "Confirm Delete"}}}}}, {"timeout_ms", 10000}})["match"];
    Ask(fd, {{"op", "answer"}, {"button", "Retry"}});  // not one of its buttons
    Ask(fd, {{"op", "answer"}, {"button", "OK"}});
  });
  LONG answer = 0;
  {
    ProgramThreadScope main;
    answer = RtMessage("You've selected to delete the highlighted record.|Press OK.", "Confirm Delete",
                       kIconQuestion, kButtonOk + kButtonCancel, kButtonCancel);
  }
  person.join();
  EXPECT_EQ(answer, kButtonOk);
  ASSERT_TRUE(box.is_object()) << box.dump();
  EXPECT_EQ(box["text"], "You've selected to delete the highlighted record.\nPress OK.");
  EXPECT_EQ(box["icon"]["system"], kIconQuestion);
  EXPECT_EQ(box["buttons"], nlohmann::json({"OK", "Cancel"}));
  EXPECT_EQ(box["default"], "Cancel");
  // When the last client goes, a waiting box takes its default.
  std::thread leave([&] {
    Ask(fd, {{"op", "wait"}, {"until", {{"message", true}}}, {"timeout_ms", 10000}});
    ::close(fd);
  });
  {
    ProgramThreadScope main;
    answer = RtMessage("Save?", "Update Cancelled", kIconQuestion, kButtonYes + kButtonNo + kButtonCancel, kButtonNo);
  }
  leave.join();
  EXPECT_EQ(answer, kButtonNo);
  std::filesystem::remove_all(dir);
}

std::atomic<LONG> gSecondThreadAnswer{0};

void AskOnSecondThread() {
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "SECOND");
  RtOpenWindow(w);
  gSecondThreadAnswer = RtMessage("Retry?", "Auto Increment Error", kIconExclamation, kButtonRetry + kButtonCancel,
                                  kButtonCancel);
  RtDisposeWindow(w);
}

TEST(MessageBox, NoWindowOfTheProgramTakesInputWhileABoxIsOpen) {
  testing::InstantView view;  // leaves every box open for the test to answer
  RtInstallView(&view);
  {
    ProgramThreadScope main;
    WindowRef mine;
    RtNewWindow(mine, "wintest$unit", "PLAIN");
    RtOpenWindow(mine);
    ASSERT_NE(RtStart(&AskOnSecondThread, 0), 0);
    PresentationState s;
    {
      WaitOutsideRuntime wait;
      for (int i = 0; i < 2000 && s.messages.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        s = ReadPresentation();
      }
    }
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].thread, 2);
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_FALSE(s.windows[0].takesInput) << "another thread's window waits too";
    EXPECT_FALSE(s.windows[1].takesInput) << "the asking thread's window";
    EXPECT_EQ(ViewInput::Close(s.windows[0].id), InputResult::kTakesNoInput);
    EXPECT_EQ(ViewInput::Close(s.windows[1].id), InputResult::kTakesNoInput);
    EXPECT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonRetry), InputResult::kDone);
    s = ReadPresentation();
    ASSERT_FALSE(s.windows.empty());
    EXPECT_TRUE(s.windows[0].takesInput) << "once the box is answered";

    // The library's own notice (help without a help file) is a box like the others.
    ASSERT_EQ(ViewInput::Press(mine.id, 2), InputResult::kDone);  // context help
    s = ReadPresentation();
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].thread, 0);
    EXPECT_FALSE(s.windows[0].takesInput);
    EXPECT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonOk), InputResult::kDone);
    EXPECT_TRUE(ReadPresentation().windows[0].takesInput);
    RtEndProgram();
    EXPECT_EQ(gSecondThreadAnswer.load(), kButtonRetry);
    RtDisposeWindow(mine);
  }
  RtInstallView(nullptr);
}

TEST(Cursor, TheWaitCursorShowsOverEveryWindowUntilRestored) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  const auto waiting = [] {
    const PresentationState s = ReadPresentation();
    return !s.windows.empty() && s.windows[0].waitCursor;
  };
  const auto lastCursorLog = [] {
    const PresentationState s = ReadPresentation();
    std::string detail;
    for (const auto& e : s.log) {
      if (e.what == "cursor") detail = e.detail;
    }
    return detail;
  };
  EXPECT_FALSE(waiting());
  RtSetCursor(kCursorWait);
  EXPECT_TRUE(waiting());
  EXPECT_EQ(lastCursorLog(), "wait");
  RtSetCursor(0);
  EXPECT_FALSE(waiting());
  EXPECT_EQ(lastCursorLog(), "normal");
  RtDisposeWindow(w);
}

}  // namespace
}  // namespace qx
