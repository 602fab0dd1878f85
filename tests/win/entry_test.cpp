// Entries: shown from their variables through their pictures, taken back when accepted or
// refused as EVENT:Rejected, accepted when the person leaves them, the accept-all pass
// over them, their alert keys, their selection and the clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/sys/runtime_lock.h"
#include "runtime/text/picture.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using wintest::Seen;

std::string DateText(LONG day) { return Picture::Parse("@d17")->FormatNumber(day); }

class Entry : public ::testing::Test {
 protected:
  LONG cusId = 42;
  STRING<20> name{"Ann"};
  LONG date = 0;
  STRING<5> note{"n"};
  ProgramThreadScope main;
  WindowRef w;
  void SetUp() override {
    RtNewWindow(w, "wintest$controls", "FORM", {cusId, name, date, note});
    RtOpenWindow(w);
    wintest::RunLoop(2);
  }
  void TearDown() override {
    RtDisposeWindow(w);
    RtExitAccept(0);
  }
  std::string Shown(LONG field) { return RtGetProperty(w, field, kPropText); }
  Seen Next() {
    if (!RtAccept()) return {0, 0};
    const Seen s{RtEvent(), RtField()};
    RtEndAcceptPass(0);
    return s;
  }
};

TEST_F(Entry, ShownFromTheVariableThroughThePicture) {
  EXPECT_EQ(Shown(4), "42");
  EXPECT_EQ(Shown(6), "Ann");
  EXPECT_EQ(Shown(8), "") << "day 0 is no date";
  date = 4;
  cusId = -7;
  RtDisplay();
  EXPECT_EQ(Shown(8), DateText(4));
  EXPECT_EQ(Shown(4), "-7");
  for (const WindowPresentation& p : ReadPresentation().windows) {
    for (const ControlPresentation& c : p.controls) {
      if (c.field != 4) continue;
      EXPECT_EQ(c.picture, "@n-14");
      EXPECT_EQ(c.justify, Justify::kRight);
      EXPECT_EQ(c.justifyOffset, 1);
      EXPECT_TRUE(c.editable);
    }
  }
}

TEST_F(Entry, AcceptedTextsReachTheVariableAndRefusedOnesAreRejected) {
  struct Case {
    LONG field;
    std::string typed;
    bool accepted;
    std::string shownAfter;  // accepted: the value as the picture shows it again
  } cases[] = {
      {4, "123", true, "123"},
      {4, " -5 ", true, "-5"},
      {4, "", true, "0"},
      {4, "12a", false, ""},
      {4, "99999999999", false, ""},     // more than a LONG holds
      {6, "Bob", true, "Bob"},
      {6, std::string(21, 'x'), false, ""},
      {8, DateText(4), true, DateText(4)},
      {8, "99/99/2024", false, ""},
      {8, "", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const LONG cusBefore = cusId;
    const std::string nameBefore = name.str();
    ASSERT_EQ(ViewInput::Type(w.id, c.field, c.typed, true), InputResult::kDone);
    const Seen s = Next();
    EXPECT_EQ(s.field, c.field);
    if (c.accepted) {
      EXPECT_EQ(s.event, kEventAccepted) << EventName(s.event);
      EXPECT_EQ(Shown(c.field), c.shownAfter);
    } else {
      EXPECT_EQ(s.event, kEventRejected) << EventName(s.event);
      EXPECT_EQ(RtFocus(), c.field) << "the entry keeps the focus";
      EXPECT_EQ(Shown(c.field), c.typed) << "and the person's text, to mend it";
      EXPECT_EQ(cusId, cusBefore);
      EXPECT_EQ(name.str(), nameBefore);
    }
  }
  EXPECT_EQ(cusId, 0);
  EXPECT_EQ(name.clipped(), "Bob");
  EXPECT_EQ(date, 0);
}

TEST_F(Entry, LeavingAnEditedEntryAcceptsIt) {
  ASSERT_EQ(ViewInput::Type(w.id, 4, "77", false), InputResult::kDone);
  EXPECT_EQ(cusId, 42);
  ASSERT_EQ(ViewInput::Press(w.id, 14), InputResult::kDone);  // Cancel
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 4})) << "before the button's own event";
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 14}));
  EXPECT_EQ(cusId, 77);
  // Typed key by key after the text (the focus selects all of it), then Enter: the entry
  // first, then the default button.
  RtSelect(6);
  ASSERT_EQ(ViewInput::Select(w.id, 6, 3, 3), InputResult::kDone);
  for (char ch : std::string("Zed")) ASSERT_EQ(ViewInput::Key(w.id, 0, ch, ch), InputResult::kDone);
  ASSERT_EQ(ViewInput::Key(w.id, 0, kKeyBackspace, 0), InputResult::kDone);
  ASSERT_EQ(ViewInput::Key(w.id, 0, kKeyEnter, 0), InputResult::kDone);
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 6}));
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 13}));
  EXPECT_EQ(name.clipped(), "AnnZe");
  // Tab moves on; an entry left unchanged is not accepted.
  ASSERT_EQ(ViewInput::Key(w.id, 6, kKeyTab, 0), InputResult::kDone);
  EXPECT_EQ(RtFocus(), 8);
  ASSERT_EQ(ViewInput::Key(w.id, 8, kKeyShiftBit | kKeyTab, 0), InputResult::kDone);
  EXPECT_EQ(RtFocus(), 6);
  RtPost(kEventCloseWindow);
  EXPECT_EQ(Next(), (Seen{kEventCloseWindow, 0})) << "nothing was accepted on the way";
}

// A window of another thread, open until the person closes it.
void OtherWindowThread() {
  WindowRef other;
  RtNewWindow(other, "wintest$unit", "SECOND");
  RtOpenWindow(other);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(other);
}

TEST_F(Entry, LeavingItsWindowForAnotherAcceptsAnEditedEntry) {
  ASSERT_EQ(ViewInput::Type(w.id, 4, "77", false), InputResult::kDone);
  ASSERT_NE(RtStart(&OtherWindowThread, 50000), 0);
  LONG otherId = 0;
  while (otherId == 0) {
    {
      WaitOutsideRuntime wait;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (const WindowPresentation& p : ReadPresentation().windows) {
      if (p.label == "SECOND") otherId = p.id;
    }
  }
  ASSERT_EQ(ViewInput::Activate(otherId), InputResult::kDone);
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 4})) << "the edit is kept, not thrown away by a redraw";
  EXPECT_EQ(cusId, 77);
  ASSERT_EQ(ViewInput::Close(otherId), InputResult::kDone);
  RtEndProgram();
}

TEST_F(Entry, TheAcceptAllPassAcceptsEveryControlAndStopsAtARefusal) {
  ASSERT_EQ(ViewInput::Type(w.id, 6, "Cid", false), InputResult::kDone);
  RtSelect(0);
  std::vector<Seen> seen;
  std::vector<std::string> during;
  for (int i = 0; i < 6; ++i) {
    seen.push_back(Next());
    during.push_back(RtGetProperty(w, 0, kPropAcceptAll));
  }
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventAccepted, 1}, {kEventAccepted, 4}, {kEventAccepted, 6},
                                     {kEventAccepted, 8}, {kEventAccepted, 10}, {kEventCompleted, 0}}))
      << wintest::Describe(seen) << "the sheet and the entry on the other tab too";
  EXPECT_EQ(during, (std::vector<std::string>{"1", "1", "1", "1", "1", ""}));
  EXPECT_EQ(name.clipped(), "Cid");

  ASSERT_EQ(ViewInput::Type(w.id, 4, "abc", false), InputResult::kDone);
  RtSelect(0);
  EXPECT_EQ(Next(), (Seen{kEventAccepted, 1}));
  EXPECT_EQ(Next(), (Seen{kEventRejected, 4})) << "handled as the programs do: beep, redraw, select";
  EXPECT_EQ(RtGetProperty(w, 0, kPropAcceptAll), "") << "a refused value ends the pass";
  RtPost(kEventCloseWindow);
  EXPECT_EQ(Next(), (Seen{kEventCloseWindow, 0})) << "no EVENT:Completed";
}

// The program refusing a control's EVENT:Accepted (ending its pass with 1) stops the pass
// as a refused value does: the later controls are not accepted and no EVENT:Completed comes.
TEST_F(Entry, RefusingAnAcceptedControlEndsTheAcceptAllPass) {
  constexpr LONG kLater = 0x400;  // an event of the program's own, posted behind the pass
  const struct {
    LONG refused;
    std::vector<Seen> before;  // the passes ended with 0 first
  } cases[] = {{1, {}}, {8, {{kEventAccepted, 1}, {kEventAccepted, 4}, {kEventAccepted, 6}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refused);
    RtSelect(0);
    std::vector<Seen> seen;
    for (size_t i = 0; i < c.before.size(); ++i) seen.push_back(Next());
    EXPECT_EQ(seen, c.before) << wintest::Describe(seen);
    ASSERT_TRUE(RtAccept());
    EXPECT_EQ((Seen{RtEvent(), RtField()}), (Seen{kEventAccepted, c.refused}));
    RtEndAcceptPass(1);
    EXPECT_EQ(RtGetProperty(w, 0, kPropAcceptAll), "");
    RtPost(kLater);
    EXPECT_EQ(Next(), (Seen{kLater, 0})) << "no further control and no EVENT:Completed";
  }
}

TEST_F(Entry, AlertKeysAndTheClipboardActOnTheFocusedEntry) {
  RtSetProperty(w, 4, kPropAlertKeys, std::to_string(kKeyCtrlQuote), 255);
  for (const WindowPresentation& p : ReadPresentation().windows) {
    for (const ControlPresentation& c : p.controls) {
      if (c.field == 4) {
        EXPECT_EQ(c.alertKeys, std::vector<LONG>{kKeyCtrlQuote}) << "a widget passes it on";
      }
    }
  }
  RtSelect(4);
  ASSERT_EQ(ViewInput::Key(w.id, 0, kKeyCtrlQuote, 0), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventAlertKey);
  EXPECT_EQ(RtField(), 4);
  EXPECT_EQ(RtKeyCode(), kKeyCtrlQuote);
  RtEndAcceptPass(0);
  ASSERT_EQ(ViewInput::Key(w.id, 6, kKeyCtrlQuote, 0), InputResult::kNotApplicable) << "alerted only in entry 4";

  RtSelect(6);
  ASSERT_EQ(ViewInput::Press(w.id, -3), InputResult::kDone);  // Copy "Ann"
  RtSelect(4);
  ASSERT_EQ(ViewInput::Press(w.id, -4), InputResult::kDone);  // Paste over "42"
  EXPECT_EQ(Shown(4), "Ann");
  ASSERT_EQ(ViewInput::Focus(w.id, 6), InputResult::kDone);
  EXPECT_EQ(Next(), (Seen{kEventRejected, 4})) << "pasted text is typed text: the picture refuses it";
  EXPECT_EQ(RtFocus(), 4);
  RtSelect(6);
  ASSERT_EQ(ViewInput::Press(w.id, -2), InputResult::kDone);  // Cut from 6
  EXPECT_EQ(Shown(6), "");
  EXPECT_EQ(name.clipped(), "Ann") << "until the entry is accepted";
}

TEST_F(Entry, TypingCuttingCopyingAndPastingActOnTheSelection) {
  const auto selection = [&](LONG field) {
    for (const WindowPresentation& p : ReadPresentation().windows) {
      for (const ControlPresentation& c : p.controls) {
        if (p.id == w.id && c.field == field) return std::make_pair(c.selectionStart, c.selectionEnd);
      }
    }
    return std::make_pair(LONG{-1}, LONG{-1});
  };
  RtSelect(6);
  EXPECT_EQ(selection(6), std::make_pair(LONG{0}, LONG{3})) << "the focus selects the whole text";
  ASSERT_EQ(ViewInput::Type(w.id, 6, "Annabel Lee", false), InputResult::kDone);
  EXPECT_EQ(selection(6), std::make_pair(LONG{11}, LONG{11})) << "the caret after typed text";

  struct Step {
    const char* what;
    LONG start, end;  // selected first
    LONG press;       // 0: a key instead
    LONG key, ch;
    const char* text;       // then shown
    LONG caret;
  } steps[] = {
      {"copy the selection", 0, 3, -3, 0, 0, "Annabel Lee", 3},
      {"paste at the caret", 7, 7, -4, 0, 0, "AnnabelAnn Lee", 10},
      {"paste over the selection", 0, 7, -4, 0, 0, "AnnAnn Lee", 3},
      {"cut the selection", 3, 6, -2, 0, 0, "Ann Lee", 3},
      {"paste what was cut", 7, 7, -4, 0, 0, "Ann LeeAnn", 10},
      {"type over the selection", 4, 10, 0, 'B', 'B', "Ann B", 5},
      {"backspace at the caret", 1, 1, 0, kKeyBackspace, 0, "nn B", 0},
      {"backspace a selection", 1, 3, 0, kKeyBackspace, 0, "nB", 1},
      {"nothing selected: no cut", 2, 2, -2, 0, 0, "nB", 2},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    ASSERT_EQ(ViewInput::Select(w.id, 6, s.start, s.end), InputResult::kDone);
    if (s.press != 0) {
      ASSERT_EQ(ViewInput::Press(w.id, s.press), InputResult::kDone);
    } else {
      ASSERT_EQ(ViewInput::Key(w.id, 6, s.key, s.ch), InputResult::kDone);
    }
    EXPECT_EQ(Shown(6), s.text);
    EXPECT_EQ(selection(6).second, s.caret);
  }
  EXPECT_EQ(ViewInput::Select(w.id, 6, 2, 9), InputResult::kBadValue) << "beyond the text";
  EXPECT_EQ(ViewInput::Select(w.id, 6, 2, 1), InputResult::kBadValue);
  EXPECT_EQ(ViewInput::Select(w.id, 3, 0, 0), InputResult::kNotApplicable) << "a prompt";
}

}  // namespace
}  // namespace qx
