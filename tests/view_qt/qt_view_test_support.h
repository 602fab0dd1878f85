// Helpers of the Qt view's in-process tests: the view runs on the test's main thread (the
// offscreen platform), the program on a program thread of its own; the main thread turns
// Qt's event loop while it waits for the program.
#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/view/qt/desktop.h"
#include "runtime/view/qt/qt_view_impl.h"
#include "runtime/view/qt/window_shell.h"
#include "runtime/win/win.h"

namespace qx::qttest {

// The view every test talks to (qt_view_test_main.cpp).
QtView& TheView();

struct Seen {
  LONG event;
  LONG field;
  bool operator==(const Seen&) const = default;
};

// What a program thread saw, readable from the main thread.
class Journal {
 public:
  void Add(LONG event, LONG field) {
    std::lock_guard<std::mutex> lock(mu_);
    seen_.push_back({event, field});
  }
  bool Saw(LONG event, LONG field) const {
    std::lock_guard<std::mutex> lock(mu_);
    for (const Seen& s : seen_) {
      if (s.event == event && s.field == field) return true;
    }
    return false;
  }
  int Count(LONG event) const {
    std::lock_guard<std::mutex> lock(mu_);
    int n = 0;
    for (const Seen& s : seen_) n += s.event == event ? 1 : 0;
    return n;
  }

 private:
  mutable std::mutex mu_;
  std::vector<Seen> seen_;
};

// Runs `body` as program thread 1; the destructor waits (turning the event loop) for it.
class Program {
 public:
  explicit Program(std::function<void()> body)
      : thread_([this, body = std::move(body)] {
          {
            ProgramThreadScope main;
            body();
          }
          done_ = true;
        }) {}
  ~Program() { Finish(); }
  bool Finish(int timeoutMs = 15000) {
    const bool ended = QTest::qWaitFor([this] { return done_.load(); }, timeoutMs);
    if (ended && thread_.joinable()) thread_.join();
    if (!ended) thread_.detach();  // a test that failed to end its program; the test fails
    return ended;
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// Runs the current window's loop, recording every event; while `refuseClose` is set, close
// requests get pass result 1.
inline void RunLoop(Journal& journal, const std::atomic<bool>* refuseClose = nullptr) {
  while (RtAccept()) {
    journal.Add(RtEvent(), RtField());
    const bool refused = refuseClose && *refuseClose && RtEvent() == kEventCloseWindow;
    RtEndAcceptPass(refused ? 1 : 0);
  }
  RtExitAccept(0);
}

// The shell of window `id` once the view shows it (null after `timeoutMs`).
inline WindowShell* WaitForShell(const std::atomic<LONG>& id, int timeoutMs = 10000) {
  WindowShell* shell = nullptr;
  (void)QTest::qWaitFor(
      [&] {
        shell = id.load() ? TheView().desktop().Shell(id.load()) : nullptr;
        return shell != nullptr && shell->outer()->isVisible();
      },
      timeoutMs);
  return shell;
}

// The widget of control `field` in a shell.
inline QWidget* ControlWidget(WindowShell* shell, LONG field) {
  ControlView* c = shell ? shell->control(field) : nullptr;
  return c ? c->widget() : nullptr;
}

// The popup menu the view shows, once it is visible (nullptr after 10 s without one).
inline QMenu* WaitForPopup() {
  QMenu* menu = nullptr;
  (void)QTest::qWaitFor(
      [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
        }
        return menu != nullptr;
      },
      10000);
  return menu;
}

}  // namespace qx::qttest
