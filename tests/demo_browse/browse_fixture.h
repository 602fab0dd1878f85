// Test support for the browses run in-process: a fixture that runs the test as program
// thread 1 in a fresh working directory, under the recording view of tests/support that
// answers message boxes and popup menus from a script, and drives one browse event by
// event; readers of what the browse window shows. Another opener of the same files is
// tests/support's OtherOpener.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "demo/browse.h"
#include "demo/data_files.h"
#include "demo/use_counts.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/demo_browse/stand_in_forms.h"
#include "tests/demo_files/fixtures.h"
#include "tests/support/program_thread.h"

namespace qx::testing {

// An event number no window uses: posted behind the events waiting, it tells when they
// have all been served.
constexpr LONG kSettleEvent = 0x4F00;

class BrowseTest : public ::testing::Test {
 protected:
  BrowseTest() : in_(dir_.path()) {
    RtInstallView(&view_);
    main_.emplace();
    RtSetProcessEnd([](LONG code) { throw ProcessEnded{code}; });
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
  RecordingView view_;
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
