// A program thread for the tests of the browse and form controls: it opens one window of
// qtview$unit, logs every event with its key code and character, and runs steps the test
// hands it (through its step button's alert key, which moves no focus), so a test can
// change the model between a person's acts as a program would.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "runtime/win/keycodes.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {

struct Heard {
  LONG event = 0, field = 0, code = 0, ch = 0;
};

class EventLog {
 public:
  void Add(Heard h) {
    std::lock_guard<std::mutex> lock(mu_);
    heard_.push_back(h);
  }
  size_t size() const {
    std::lock_guard<std::mutex> lock(mu_);
    return heard_.size();
  }
  std::vector<Heard> Since(size_t first) const {
    std::lock_guard<std::mutex> lock(mu_);
    return first < heard_.size() ? std::vector<Heard>(heard_.begin() + static_cast<long>(first), heard_.end())
                                 : std::vector<Heard>();
  }
  bool Saw(LONG event, LONG field, size_t from = 0) const {
    for (const Heard& h : Since(from)) {
      if (h.event == event && h.field == field) return true;
    }
    return false;
  }

 private:
  mutable std::mutex mu_;
  std::vector<Heard> heard_;
};

class WindowProgram {
 public:
  static constexpr LONG kStepKey = kKeyF1 + 11;  // F12

  // `open` creates and opens the window on the program thread (binding its variables),
  // then the loop runs until the window closes. `stepField` is the window's step button.
  WindowProgram(std::function<void(WindowRef&)> open, LONG stepField) : step_(stepField) {
    program_ = std::make_unique<Program>([this, open = std::move(open)] {
      WindowRef& w = window_;
      open(w);
      RtSetProperty(step_, kPropAlertKeys, std::to_string(kStepKey), 1);
      id = w.id;
      while (RtAccept()) {
        if (RtEvent() == kEventAlertKey && RtField() == step_) {
          RunSteps();
        } else {
          log.Add({RtEvent(), RtField(), RtKeyCode(), RtKeyChar()});
        }
        RtEndAcceptPass(0);
      }
      RtExitAccept(0);
      RtDisposeWindow(w);
      ended = true;
    });
  }
  ~WindowProgram() {
    if (!ended) ViewInput::Close(id);
    program_->Finish();
  }

  // Runs `step` on the program thread, redraws the window and waits until the view shows
  // a presentation made after it.
  bool Do(std::function<void()> step) {
    std::atomic<bool> done{false};
    {
      std::lock_guard<std::mutex> lock(mu_);
      steps_.push_back([&done, step = std::move(step)] {
        step();
        RtDisplay();
        done = true;
      });
    }
    if (ViewInput::Key(id, step_, kStepKey, 0) != InputResult::kDone) return false;
    if (!QTest::qWaitFor([&] { return done.load(); }, 10000)) return false;
    const std::uint64_t after = PresentationRevision();
    return QTest::qWaitFor(
        [&] {
          WindowShell* s = TheView().desktop().Shell(id);
          return s && s->revision() >= after;
        },
        10000);
  }

  // Hands `step` to the program thread without waiting for it (for a step that waits for
  // a person, such as a popup menu).
  bool Post(std::function<void()> step) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      steps_.push_back(std::move(step));
    }
    return ViewInput::Key(id, step_, kStepKey, 0) == InputResult::kDone;
  }

  // The window, for steps on the program thread.
  const WindowRef& window() const { return window_; }

  std::atomic<LONG> id{0};
  std::atomic<bool> ended{false};
  EventLog log;

 private:
  void RunSteps() {
    std::deque<std::function<void()>> steps;
    {
      std::lock_guard<std::mutex> lock(mu_);
      steps.swap(steps_);
    }
    for (auto& s : steps) s();
  }

  LONG step_;
  WindowRef window_;
  std::mutex mu_;
  std::deque<std::function<void()>> steps_;
  std::unique_ptr<Program> program_;
};

// Waits until the log holds more than `count` events.
inline bool WaitForEvents(const EventLog& log, size_t count, int timeoutMs = 5000) {
  return QTest::qWaitFor([&] { return log.size() > count; }, timeoutMs);
}

// Lets queued presentations reach the view.
inline void Settle() { QTest::qWait(30); }

}  // namespace qx::qttest
