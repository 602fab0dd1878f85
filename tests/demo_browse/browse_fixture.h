// Test support for the browses run in-process: a view that draws at once and answers
// message boxes and popup menus from a script, a fixture that runs the test as program
// thread 1 in a fresh working directory and drives one browse event by event, readers of
// what the browse window shows, and another opener of the same files on a thread of its
// own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "demo/browse.h"
#include "demo/data_files.h"
#include "demo/use_counts.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/demo_browse/stand_in_forms.h"
#include "tests/demo_files/fixtures.h"

namespace qx::testing {

// A message box or popup menu as it was shown.
struct Shown {
  std::string caption, text;                // boxes
  std::vector<PopupItemPresentation> items; // popups
};

class ScriptedView : public View {
 public:
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation&, DrawnAck drawn) override {
    if (drawn) drawn();
  }
  void CloseWindow(LONG) override {}
  void ShowMessage(const MessagePresentation& m) override {
    LONG answer = m.defaultButton;
    {
      std::lock_guard<std::mutex> lock(mu_);
      boxes_.push_back({m.caption, m.text, {}});
      if (!boxAnswers_.empty()) {
        answer = boxAnswers_.front();
        boxAnswers_.pop_front();
      }
    }
    ViewInput::AnswerMessage(m.id, answer);
  }
  void CloseMessage(LONG) override {}
  void ShowPopup(const PopupPresentation& p) override {
    LONG answer = 0;
    {
      std::lock_guard<std::mutex> lock(mu_);
      popups_.push_back({{}, {}, p.items});
      if (!popupAnswers_.empty()) {
        answer = popupAnswers_.front();
        popupAnswers_.pop_front();
      }
    }
    ViewInput::AnswerPopup(p.id, answer);
  }

  // Answers for the next boxes (button values) and popups (item numbers); when none is
  // left a box takes its default button and a popup is dismissed.
  void AnswerBoxes(std::vector<LONG> answers) {
    std::lock_guard<std::mutex> lock(mu_);
    boxAnswers_.assign(answers.begin(), answers.end());
  }
  void AnswerPopups(std::vector<LONG> answers) {
    std::lock_guard<std::mutex> lock(mu_);
    popupAnswers_.assign(answers.begin(), answers.end());
  }
  std::vector<Shown> TakeBoxes() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<Shown> out;
    out.swap(boxes_);
    return out;
  }
  std::vector<Shown> TakePopups() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<Shown> out;
    out.swap(popups_);
    return out;
  }

 private:
  std::mutex mu_;
  std::vector<Shown> boxes_, popups_;
  std::deque<LONG> boxAnswers_, popupAnswers_;
};

// The program ended inside a call (RtHalt).
struct ProgramEnded {
  LONG exitCode;
};

// An event number no window uses: posted behind the events waiting, it tells when they
// have all been served.
constexpr LONG kSettleEvent = 0x4F00;

// Another opener of the data files: a plain thread of its own (its own instances),
// running one job at a time for the test.
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

class BrowseTest : public ::testing::Test {
 protected:
  BrowseTest() : in_(dir_.path()) {
    RtInstallView(&view_);
    main_.emplace();
    RtSetProcessEnd([](LONG code) { throw ProgramEnded{code}; });
    // A browse window is a child of the application frame: qxmora's frame is open (its
    // own events are never served here).
    RtNewAppFrame(frame_, "qxmora$qxd001", "P1$APPFRAME", {frameText_});
    RtOpenWindow(frame_);
    StandInCalls().clear();
    SetStandInEdit(nullptr);
  }
  ~BrowseTest() override {
    if (browse_) browse_->Finish();
    browse_.reset();
    RtDisposeWindow(frame_);
    // This thread's instances and use counts outlive a test; the next one starts afresh.
    for (FileDecl* f : {&Standrd, &Encrypt, &VeryLongName, &Varname}) CLOSE(*f);
    StandrdUseCount = EncryptUseCount = VeryLongNameUseCount = VarnameUseCount = 0;
    RtSetProcessEnd(nullptr);
    main_.reset();
    RtInstallView(nullptr);
  }

  // Writes the file of `decl` in the working directory holding `customers`.
  void Write(FileDecl& decl, const std::vector<Customer>& customers) { ASSERT_EQ(WriteFile(decl, customers), 0); }

  // Starts the browse of `member` and serves its opening events.
  void Open(const BrowseMember& member) {
    browse_ = std::make_unique<BrowseProcedure>(member);
    browse_->Start();
    Settle();
  }

  // Serves every waiting event and those they post, until none is left (or the window
  // has closed).
  void Settle() {
    for (int round = 0; round < 1000; ++round) {
      RtPost(kSettleEvent, 0, 0, 0);
      int served = 0;
      for (;;) {
        const LONG e = browse_->ServeEvent();
        if (e == 0) return;  // the window has closed
        if (e == kSettleEvent) break;
        ++served;
      }
      if (served == 0) return;
    }
    ADD_FAILURE() << "the browse keeps posting events to itself";
  }

  // The browse window as shown now.
  WindowPresentation Window() const {
    for (const WindowPresentation& w : ReadPresentation().windows) {
      if (w.label == kBrowseWindowLabel) return w;
    }
    return {};
  }
  LONG WindowId() const { return Window().id; }
  ControlPresentation Control(LONG field) const {
    for (const ControlPresentation& c : Window().controls) {
      if (c.field == field) return c;
    }
    return {};
  }
  ListPresentation List() const { return Control(kBrowseListField).list.value_or(ListPresentation{}); }

  // Column `column` (0-based) of every row shown, top first.
  std::vector<std::string> Column(size_t column) const {
    std::vector<std::string> out;
    for (const ListRowPresentation& r : List().rows) out.push_back(r.cells.at(column).text);
    return out;
  }
  // The cell of the selected row in `column`; "" when none is selected.
  std::string SelectedCell(size_t column) const {
    for (const ListRowPresentation& r : List().rows) {
      if (r.selected) return r.cells.at(column).text;
    }
    return {};
  }

  // A person's input to the browse window, then every event it causes served.
  void Key(LONG code, char ch = 0) { Input(ViewInput::Key(WindowId(), kBrowseListField, code, ch)); }
  // A character typed: a letter with its key (and Shift for a capital), a digit or the
  // blank with theirs, anything else as Shift with the character.
  void Type(char ch) {
    const LONG c = static_cast<unsigned char>(ch);
    LONG code = kKeyShiftBit | c;
    if (c >= 'a' && c <= 'z') code = c - 'a' + 'A';
    else if (c >= 'A' && c <= 'Z') code = kKeyShiftBit | c;
    else if ((c >= '0' && c <= '9') || c == ' ') code = c;
    Key(code, ch);
  }
  void Pick(LONG row) { Input(ViewInput::Click(WindowId(), kBrowseListField, row)); }
  void RightClick(LONG row) { Input(ViewInput::Click(WindowId(), kBrowseListField, row, kKeyRightMouse)); }
  void Thumb(LONG position) { Input(ViewInput::Thumb(WindowId(), kBrowseListField, position)); }
  void PickTab(LONG sheet, LONG tab) { Input(ViewInput::Click(WindowId(), sheet, tab)); }
  void Press(LONG field) { Input(ViewInput::Press(WindowId(), field)); }
  void Input(InputResult r) {
    ASSERT_EQ(r, InputResult::kDone) << InputResultName(r);
    Settle();
  }

  TempDir dir_;
  ScopedChdir in_;
  ScriptedView view_;
  std::unique_ptr<BrowseProcedure> browse_;

 private:
  std::optional<ProgramThreadScope> main_;
  WindowRef frame_;
  STRING<255> frameText_;
};

// Customers of a small file: forty distinct surnames in alphabetical order, each with a
// number that puts the ID order in another order, and a suburb.
inline std::vector<Customer> Surnames() {
  static const char* const kNames[] = {"Adams", "Allen", "Baker", "Bell",  "Brown",  "Clark", "Cole",  "Davis",
                                       "Dunn",  "Evans", "Ford",  "Fox",   "Gray",   "Green", "Hall",  "Hill",
                                       "Irwin", "Jones", "Kelly", "King",  "Lane",   "Lee",   "Moore", "Morris",
                                       "Nash",  "Owen",  "Price", "Quinn", "Reed",   "Rose",  "Scott", "Smith",
                                       "Stone", "Turner", "Usher", "Vance", "Walsh", "White", "Young", "Zane"};
  std::vector<Customer> out;
  for (int i = 0; i < 40; ++i) {
    Customer c;
    c.name = kNames[i];
    c.cusid = ((i * 17) % 40 + 1) * 3;  // 3 to 120, each once
    c.suburb = "Suburb " + std::string(1, static_cast<char>('Z' - i % 26));
    c.phone = "0" + std::to_string(9000 - i * 37);
    c.startdate = 80000 + i;
    c.newfield = "New " + std::to_string(i);
    c.sysid = 40 - i;
    out.push_back(c);
  }
  return out;
}

// The names of `customers` ordered by `less` (stable: equal keys keep file order).
template <class Less>
std::vector<std::string> NamesBy(std::vector<Customer> customers, Less less) {
  std::stable_sort(customers.begin(), customers.end(), less);
  std::vector<std::string> out;
  for (const Customer& c : customers) out.push_back(c.name);
  return out;
}

inline std::vector<std::string> Slice(const std::vector<std::string>& v, size_t from, size_t count) {
  std::vector<std::string> out;
  for (size_t i = from; i < v.size() && i < from + count; ++i) out.push_back(v[i]);
  return out;
}

}  // namespace qx::testing
