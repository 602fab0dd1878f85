// Whether the program waits for a person: idle in its event wait, in a box, in a popup menu
// and while waiting for threads that wait for a person; busy from the moment a person acts
// until the program has done everything that follows, including waits that end by
// themselves (the view drawing a window) in which the runtime lock is free.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/sys/runtime_lock.h"
#include "runtime/view/automation/protocol.h"
#include "runtime/win/idle.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/support/views.h"

namespace qx {
namespace {

constexpr int kLong = 10000;  // ms; only a fault makes a wait this long

// Leaves boxes and popup menus open and, while `hold` is set, keeps the acknowledgement of a drawn window
// until the test gives it: the program thread then waits inside the platform, without the
// runtime lock, for something that comes by itself.
class HoldingView : public testing::InstantView {
 public:
  void ShowWindow(const WindowPresentation&, DrawnAck drawn) override {
    if (!drawn) return;
    std::lock_guard<std::mutex> lock(mu_);
    if (!hold_) {
      drawn();
      return;
    }
    held_ = std::move(drawn);
    cv_.notify_all();
  }
  void ShowPopup(const PopupPresentation&) override {}
  void Hold() {
    std::lock_guard<std::mutex> lock(mu_);
    hold_ = true;
  }
  // Waits until a drawing is held.
  bool WaitHeld() {
    std::unique_lock<std::mutex> lock(mu_);
    return cv_.wait_for(lock, std::chrono::milliseconds(kLong), [&] { return held_ != nullptr; });
  }
  void Release() {
    DrawnAck ack;
    {
      std::lock_guard<std::mutex> lock(mu_);
      hold_ = false;
      ack = std::move(held_);
      held_ = nullptr;
    }
    if (ack) ack();
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool hold_ = false;
  DrawnAck held_;
};

// The program: a window whose OK button asks a question, then redraws the window and moves
// the focus to Help; pressed again, it offers a popup menu. Closing the window ends it.
void AskingProgram() {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  int presses = 0;
  while (RtAccept()) {
    if (RtEvent() == kEventAccepted && RtField() == 1) {
      if (++presses == 1) {
        RtMessage("Sure?", "Ask", kIconQuestion, kButtonYes + kButtonNo, kButtonYes);
        RtDisplay();
        RtSelect(2);
      } else {
        RtPopup("One|Two");
      }
    }
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(w);
}

LONG OnlyWindow() {
  const PresentationState s = ReadPresentation();
  return s.windows.size() == 1 ? s.windows[0].id : 0;
}

TEST(ProgramIdle, WhileEveryWaitIsForAPerson) {
  HoldingView view;
  RtInstallView(&view);
  EXPECT_FALSE(ProgramIdle()) << "no program thread lives yet";
  std::thread program(&AskingProgram);

  ASSERT_TRUE(WaitProgramIdle(kLong)) << "in its event wait";
  const LONG w = OnlyWindow();
  ASSERT_NE(w, 0);
  EXPECT_EQ(ReadPresentation().windows[0].focus, 1);

  view.Hold();
  ASSERT_EQ(ViewInput::Press(w, 1), InputResult::kDone);
  ASSERT_TRUE(WaitProgramIdle(kLong)) << "in the box";
  PresentationState s = ReadPresentation();
  ASSERT_EQ(s.messages.size(), 1u);

  ASSERT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonYes), InputResult::kDone);
  ASSERT_TRUE(view.WaitHeld());
  {
    // The program thread is outside the runtime lock with an empty queue; it is not done.
    RtRuntimeLockAcquire();
    RtRuntimeLockRelease();
    EXPECT_FALSE(ProgramIdle()) << "the view has yet to draw the window";
    EXPECT_EQ(HandleAutomationRequest({{"op", "wait"}, {"until", {{"idle", true}}}, {"timeout_ms", 20}})["error"],
              "timeout");
  }
  view.Release();
  const nlohmann::json waited =
      HandleAutomationRequest({{"op", "wait"}, {"until", {{"idle", true}}}, {"timeout_ms", kLong}});
  ASSERT_TRUE(waited["ok"].get<bool>()) << waited.dump();
  EXPECT_EQ(ReadPresentation().windows[0].focus, 2) << "what followed the answer is done";

  ASSERT_EQ(ViewInput::Press(w, 1), InputResult::kDone);
  ASSERT_TRUE(WaitProgramIdle(kLong)) << "in the popup menu";
  s = ReadPresentation();
  ASSERT_EQ(s.popups.size(), 1u);
  ASSERT_EQ(ViewInput::AnswerPopup(s.popups[0].id, 0), InputResult::kDone);

  ASSERT_TRUE(WaitProgramIdle(kLong));
  ASSERT_EQ(ViewInput::Close(w), InputResult::kDone);
  program.join();
  EXPECT_FALSE(ProgramIdle()) << "no program thread lives any more";
  RtInstallView(nullptr);
}

void SecondWindowThread() {
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "SECOND");
  RtOpenWindow(w);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(w);
}

// The main thread waits for a thread that waits for a person, then asks a question.
void WaitingProgram() {
  ProgramThreadScope main;
  RtStart(&SecondWindowThread, 0);
  RtWaitOtherThreads();
  RtMessage("Done", "End", kIconInformation, kButtonOk, kButtonOk);
}

TEST(ProgramIdle, WaitingForThreadsThatWaitForAPerson) {
  testing::InstantView view;
  RtInstallView(&view);
  std::thread program(&WaitingProgram);
  ASSERT_TRUE(WaitProgramIdle(kLong));
  PresentationState s = ReadPresentation();
  ASSERT_EQ(s.windows.size(), 1u) << "the second thread's window";
  EXPECT_EQ(s.windows[0].thread, 2);
  EXPECT_TRUE(s.messages.empty());

  ASSERT_EQ(ViewInput::Close(s.windows[0].id), InputResult::kDone);
  ASSERT_TRUE(WaitProgramIdle(kLong));
  s = ReadPresentation();
  ASSERT_EQ(s.messages.size(), 1u) << "the main thread went on once the other had ended";
  EXPECT_EQ(s.messages[0].thread, 1);
  ASSERT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonOk), InputResult::kDone);
  program.join();
  RtInstallView(nullptr);
}

}  // namespace
}  // namespace qx
