// For the tests that run program code in-process: a fixture that runs the test as program
// thread 1 under a recording view, with the end of the process turned into an exception
// (so a halt ends the call, not the test binary), and another opener of the same files on
// a thread of its own.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "runtime/sys/error_state.h"
#include "runtime/win/win.h"
#include "tests/support/views.h"

namespace qx::testing {

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

// Another opener of the same files: a plain thread of its own (its own instances), running
// one job at a time for the test.
class OtherOpener {
 public:
  OtherOpener() : thread_([this] { Loop(); }) {}
  ~OtherOpener() {
    {
      std::lock_guard<std::mutex> lock(mu_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  OtherOpener(const OtherOpener&) = delete;
  OtherOpener& operator=(const OtherOpener&) = delete;

  // Runs `job` on the opener's thread; returns the error code it left there.
  LONG Do(std::function<void()> job) {
    std::unique_lock<std::mutex> lock(mu_);
    job_ = std::move(job);
    done_ = false;
    cv_.notify_all();
    cv_.wait(lock, [&] { return done_; });
    return code_;
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> lock(mu_);
    for (;;) {
      cv_.wait(lock, [&] { return stop_ || job_; });
      if (stop_) return;
      auto job = std::move(job_);
      job_ = nullptr;
      lock.unlock();
      job();
      const LONG code = RtErrorCode();
      lock.lock();
      code_ = code;
      done_ = true;
      cv_.notify_all();
    }
  }

  std::mutex mu_;
  std::condition_variable cv_;
  std::function<void()> job_;
  bool done_ = false, stop_ = false;
  LONG code_ = 0;
  std::thread thread_;
};

}  // namespace qx::testing
