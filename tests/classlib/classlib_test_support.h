// Test support for the class library: a view that records every message box and answers
// it, and a fixture that runs the test as program thread 1 with the end of the process
// turned into an exception, so a fatal message ends the call and not the test binary.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win/presentation.h"
#include "runtime/win/view.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx::cltest {

// A message box as it was shown.
struct Box {
  std::string caption, text;
  LONG icon = 0, buttons = 0, defaultButton = 0;
  bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "[" << b.caption << "] \"" << b.text << "\" icon " << b.icon << " buttons " << b.buttons
            << " default " << b.defaultButton;
}

// Draws every window at once, notes "open LABEL" and "close LABEL", and answers every box
// from inside ShowMessage with the next scripted answer (its default button when none is
// left).
class RecordingView : public View {
 public:
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation& w, DrawnAck drawn) override {
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (labels_.emplace(w.id, w.label).second) {
        events_.push_back("open " + w.label);
        if (onOpen_) onOpen_(w.label);
      }
    }
    if (drawn) drawn();
  }
  void CloseWindow(LONG id) override {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = labels_.find(id);
    if (it == labels_.end()) return;
    events_.push_back("close " + it->second);
    labels_.erase(it);
  }
  void ShowMessage(const MessagePresentation& m) override {
    LONG answer = m.defaultButton;
    {
      std::lock_guard<std::mutex> lock(mu_);
      boxes_.push_back(Box{m.caption, m.text, m.icon.systemIcon, m.buttons, m.defaultButton});
      if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
      }
    }
    ViewInput::AnswerMessage(m.id, answer);
  }
  void CloseMessage(LONG) override {}

  // The boxes shown since the last call.
  std::vector<Box> TakeBoxes() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<Box> out;
    out.swap(boxes_);
    return out;
  }
  // The windows opened and closed since the last call.
  std::vector<std::string> TakeEvents() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> out;
    out.swap(events_);
    return out;
  }
  void Answer(std::vector<LONG> answers) {
    std::lock_guard<std::mutex> lock(mu_);
    answers_.assign(answers.begin(), answers.end());
  }
  // Called (on the thread that opens it, with the view's lock held) as a window first
  // shows.
  void OnOpen(std::function<void(const std::string& label)> hook) {
    std::lock_guard<std::mutex> lock(mu_);
    onOpen_ = std::move(hook);
  }

 private:
  std::mutex mu_;
  std::map<LONG, std::string> labels_;
  std::vector<std::string> events_;
  std::vector<Box> boxes_;
  std::deque<LONG> answers_;
  std::function<void(const std::string&)> onOpen_;
};

// How the program ended inside a call.
struct ProcessEnded {
  LONG exitCode;
};

// Runs the test as program thread 1 with the recording view installed; the end of the
// process throws ProcessEnded instead.
class ProgramThreadTest : public ::testing::Test {
 protected:
  ProgramThreadTest() {
    RtInstallView(&view_);
    main_.emplace();
    RtSetProcessEnd([](LONG code) { throw ProcessEnded{code}; });
  }
  ~ProgramThreadTest() override {
    RtSetProcessEnd(nullptr);
    main_.reset();
    RtInstallView(nullptr);
  }

  // Runs `call`: the exit code when the program ended inside it, nothing when it returned.
  template <class Call>
  std::optional<LONG> EndCode(Call&& call) {
    try {
      call();
    } catch (const ProcessEnded& e) {
      return e.exitCode;
    }
    return std::nullopt;
  }

  RecordingView view_;

 private:
  std::optional<ProgramThreadScope> main_;
};

}  // namespace qx::cltest
