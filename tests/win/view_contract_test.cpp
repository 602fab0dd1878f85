// What a view hears from the model, in order: a window drawn before RtOpenWindow and
// RtDisplay return, closed windows, message boxes opened and closed elsewhere; and a view
// that answers from inside its own call.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "runtime/win/presentation.h"
#include "runtime/win/view.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

class RecordingView : public View {
 public:
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation& w, DrawnAck drawn) override {
    Note((drawn ? "draw " : "show ") + w.title);
    last = w;
    if (drawn) drawn();
  }
  void CloseWindow(LONG id) override { Note("close " + std::to_string(id)); }
  void ShowMessage(const MessagePresentation& m) override {
    Note("message " + m.caption);
    // Answering from inside the call, as a view on the calling thread might.
    if (answerAtOnce) ViewInput::AnswerMessage(m.id, m.defaultButton);
  }
  void CloseMessage(LONG) override { Note("message closed"); }
  void Beep(LONG) override { Note("beep"); }

  void Note(std::string s) {
    std::lock_guard<std::mutex> lock(mu);
    calls.push_back(std::move(s));
  }
  bool Saw(const std::string& s) {
    std::lock_guard<std::mutex> lock(mu);
    for (const auto& c : calls) {
      if (c == s) return true;
    }
    return false;
  }

  std::mutex mu;
  std::vector<std::string> calls;
  WindowPresentation last;
  bool answerAtOnce = true;
};

TEST(ViewContract, WhatTheViewHearsOfAWindowsLife) {
  RecordingView view;
  RtInstallView(&view);
  {
    ProgramThreadScope main;
    WindowRef w;
    LONG count = 5;
    RtNewWindow(w, "wintest$unit", "PLAIN", {count});
    EXPECT_TRUE(view.calls.empty()) << "a window not yet open is not shown";
    RtOpenWindow(w);
    EXPECT_TRUE(view.Saw("draw Plain")) << "RtOpenWindow returns once the view has drawn";
    EXPECT_EQ(view.last.controls.size(), 7u);
    EXPECT_EQ(view.last.controls[2].text, "5");
    EXPECT_TRUE(view.last.takesInput);
    EXPECT_TRUE(view.last.active);
    count = 6;
    view.calls.clear();
    RtDisplay();
    EXPECT_TRUE(view.Saw("draw Plain"));
    EXPECT_EQ(view.last.controls[2].text, "6");
    RtBeep();
    EXPECT_TRUE(view.Saw("beep"));
    // A box the view answers from inside its own ShowMessage call.
    EXPECT_EQ(RtMessage("?", "Ask", kIconQuestion, kButtonYes + kButtonNo, kButtonYes), kButtonYes);
    EXPECT_TRUE(view.Saw("message Ask"));
    RtCloseWindow(w);
    EXPECT_TRUE(view.Saw("close " + std::to_string(w.id)));
    RtDisposeWindow(w);
  }
  RtInstallView(nullptr);
}

TEST(ViewContract, ABoxAnsweredElsewhereIsClosedInTheView) {
  RecordingView view;
  view.answerAtOnce = false;
  RtInstallView(&view);
  LONG answer = 0;
  std::thread program([&] {
    ProgramThreadScope main;
    answer = RtMessage("Delete?", "Confirm Delete", kIconQuestion, kButtonOk + kButtonCancel, kButtonCancel);
  });
  PresentationState s;
  for (int i = 0; i < 2000 && s.messages.empty(); ++i) {
    WaitPresentationChange(s.revision, 10);
    s = ReadPresentation();
  }
  ASSERT_EQ(s.messages.size(), 1u);
  ASSERT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonOk), InputResult::kDone);  // e.g. automation
  program.join();
  EXPECT_EQ(answer, kButtonOk);
  EXPECT_TRUE(view.Saw("message closed"));
  RtInstallView(nullptr);
}

}  // namespace
}  // namespace qx
