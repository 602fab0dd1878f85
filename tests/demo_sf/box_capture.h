// Test support for the standard functions: a view that records every message box and
// answers it, a fixture that runs the test as program thread 1 with the process end turned
// into an exception (so a halt ends the call, not the test binary), a second thread that
// opens files as another opener would, a temporary directory and a small declaration.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/store/file.h"  // not store.h: its record View and the window library's View share a name
#include "runtime/win/view.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx::sftest {

// A message box as it was shown.
struct Box {
  std::string text, caption;
  LONG icon = 0, buttons = 0, defaultButton = 0;
};

inline std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "[" << b.caption << "] " << b.text << " icon " << b.icon << " buttons " << b.buttons << " default "
            << b.defaultButton;
}

// Draws windows at once and answers every box from inside ShowMessage: with the next
// scripted answer, or its default button when none is left.
class BoxRecorder : public View {
 public:
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation&, DrawnAck drawn) override {
    if (drawn) drawn();
  }
  void CloseWindow(LONG) override {}
  void ShowMessage(const MessagePresentation& m) override {
    Box box{m.text, m.caption, m.icon.systemIcon, m.buttons, m.defaultButton};
    LONG answer = m.defaultButton;
    std::function<void(const Box&)> hook;
    {
      std::lock_guard<std::mutex> lock(mu_);
      boxes_.push_back(box);
      if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
      }
      hook = onBox_;
    }
    if (hook) hook(box);
    ViewInput::AnswerMessage(m.id, answer);
  }
  void CloseMessage(LONG) override {}

  // The boxes shown so far, and forgets them.
  std::vector<Box> Take() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<Box> out;
    out.swap(boxes_);
    return out;
  }
  void Answer(std::vector<LONG> answers) {
    std::lock_guard<std::mutex> lock(mu_);
    answers_.assign(answers.begin(), answers.end());
  }
  // Runs while a box waits for its answer, on the thread that showed it.
  void OnBox(std::function<void(const Box&)> hook) {
    std::lock_guard<std::mutex> lock(mu_);
    onBox_ = std::move(hook);
  }

 private:
  std::mutex mu_;
  std::vector<Box> boxes_;
  std::deque<LONG> answers_;
  std::function<void(const Box&)> onBox_;
};

// How the program ended inside a call.
struct ProcessEnded {
  LONG exitCode;
};

// The halt box RtHalt shows before the program ends.
inline Box HaltBox(const std::string& text) { return Box{text, "Halt", kIconStop, kButtonOk, kButtonOk}; }

inline void ExpectBoxes(const std::vector<Box>& seen, const std::vector<Box>& expected, const std::string& what) {
  ASSERT_EQ(seen.size(), expected.size()) << what << (seen.empty() ? "" : ": first seen " + ::testing::PrintToString(seen[0]));
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].text, expected[i].text) << what << ", box " << i;
    EXPECT_EQ(seen[i].caption, expected[i].caption) << what << ", box " << i;
    EXPECT_EQ(seen[i].icon, expected[i].icon) << what << ", box " << i;
    EXPECT_EQ(seen[i].buttons, expected[i].buttons) << what << ", box " << i;
    EXPECT_EQ(seen[i].defaultButton, expected[i].defaultButton) << what << ", box " << i;
  }
}

// Runs the test as program thread 1 with the recording view installed; the end of the
// process throws ProcessEnded instead.
class BoxTest : public ::testing::Test {
 protected:
  BoxTest() {
    RtInstallView(&view_);
    main_.emplace();
    RtSetProcessEnd([](LONG code) { throw ProcessEnded{code}; });
  }
  ~BoxTest() override {
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

  BoxRecorder view_;

 private:
  std::optional<ProgramThreadScope> main_;
};

// Another opener of the same files: a thread of its own with its own instances, running
// one job at a time for the test.
class Peer {
 public:
  Peer() : thread_([this] { Loop(); }) {}
  ~Peer() {
    {
      std::lock_guard<std::mutex> lock(mu_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // Runs `job` on the peer's thread and returns the error code it left there.
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

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/qx_sf_XXXXXX";
    path_ = ::mkdtemp(tmpl);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The test files' record: a number and a name, 24 bytes.
struct Customer {
  LONG ID;
  STRING<20> NAME;
};

inline KeyDef MakeKey(std::string name, std::vector<std::string> components, bool dup) {
  KeyDef k;
  k.name = std::move(name);
  k.components = std::move(components);
  k.dup = dup;
  k.opt = k.nocase = true;
  return k;
}

// Keys: CUS:ByName (duplicates allowed) and CUS:ByID (no duplicates, so that a rebuild of
// key data holding the same ID twice fails).
inline std::vector<KeyDef> CustomerKeys() {
  return {MakeKey("CUS:ByName", {"CUS:NAME"}, true), MakeKey("CUS:ByID", {"CUS:ID"}, false)};
}

inline std::unique_ptr<FileDecl> MakeCustomers(FileName name, std::vector<KeyDef> keys = CustomerKeys(),
                                               bool create = true) {
  FileAttributes a;
  a.create = create;
  return std::make_unique<FileDecl>(
      "Customers", std::move(name), "CUS", "", a,
      LayoutOf<Customer>().Field("CUS:ID", &Customer::ID).Field("CUS:NAME", &Customer::NAME), std::move(keys));
}

inline LONG AddCustomer(FileDecl& f, LONG id, std::string_view name, bool append = false) {
  auto& r = f.Record<Customer>();
  r.ID = id;
  r.NAME = name;
  if (append) {
    APPEND(f);
  } else {
    ADD(f);
  }
  return RtErrorCode();
}

}  // namespace qx::sftest
