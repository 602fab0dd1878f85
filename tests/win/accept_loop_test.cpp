// The order of a window's events, posting to the front and the back, the current window
// of a thread, and the default actions of the ACCEPT loop.
#include <gtest/gtest.h>

#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using wintest::RunLoop;
using wintest::Seen;

bool IsOpen(const WindowRef& w) {
  for (const auto& p : ReadPresentation().windows) {
    if (p.id == w.id) return true;
  }
  return false;
}

bool TakesInput(const WindowRef& w) {
  for (const auto& p : ReadPresentation().windows) {
    if (p.id == w.id) return p.takesInput;
  }
  return false;
}

TEST(AcceptLoop, OpeningFocusingAndClosingComeInOrder) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  ASSERT_EQ(ViewInput::Close(w.id), InputResult::kDone);  // the close box, clicked at once
  const auto seen = RunLoop();
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventOpenWindow, 0}, {kEventGainFocus, 0}, {kEventCloseWindow, 0},
                                     {kEventCloseDown, 0}}))
      << wintest::Describe(seen);
  EXPECT_FALSE(IsOpen(w));
  EXPECT_FALSE(RtAccept()) << "the loop stays ended";
  RtExitAccept(0);
  RtDisposeWindow(w);
  EXPECT_FALSE(w);
}

TEST(AcceptLoop, OpenWindowComesFirstEvenAfterAFrontPost) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  RtPost(kEventCloseWindow, 0, 0, 1);
  const auto seen = RunLoop();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0].event, kEventOpenWindow);
  EXPECT_EQ(seen[1].event, kEventCloseWindow);
  RtExitAccept(0);
  RtDisposeWindow(w);
}

TEST(AcceptLoop, FrontPostsGoAheadOfWaitingEventsAndBackPostsBehind) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  ASSERT_TRUE(RtAccept());  // EVENT:OpenWindow
  ASSERT_TRUE(RtAccept());  // EVENT:GainFocus
  RtPost(kEventAccepted, 3);        // back
  RtPost(kEventAccepted, 4, 0, 0);  // back
  RtPost(kEventAccepted, 1, 0, 1);  // front
  RtPost(kEventCloseWindow, 0, 1, 0);  // by thread number, back
  const auto seen = RunLoop();
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventAccepted, 1}, {kEventAccepted, 3}, {kEventAccepted, 4},
                                     {kEventCloseWindow, 0}, {kEventCloseDown, 0}}))
      << wintest::Describe(seen);
  RtExitAccept(0);
  RtDisposeWindow(w);
}

TEST(AcceptLoop, APostToAThreadWithoutAWindowDoesNothing) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  ASSERT_TRUE(RtAccept());
  ASSERT_TRUE(RtAccept());
  for (LONG thread : {2, 7, 64, 65, -1}) RtPost(kEventCloseWindow, 0, thread, 1);
  RtPost(kEventAccepted, 1);
  const auto seen = RunLoop(1);
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventAccepted, 1}})) << "only the post to this thread arrived";
  EXPECT_TRUE(IsOpen(w));
  RtDisposeWindow(w);
  RtExitAccept(0);
}

TEST(AcceptLoop, ARefusedCloseRequestKeepsTheWindowOpen) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  RtPost(kEventCloseWindow);
  RtPost(kEventAccepted, 1);
  const auto seen = RunLoop(4, {kEventCloseWindow});
  EXPECT_EQ(seen.back(), (Seen{kEventAccepted, 1})) << wintest::Describe(seen);
  EXPECT_TRUE(IsOpen(w));
  RtDisposeWindow(w);
  EXPECT_FALSE(RtAccept()) << "a disposed window's loop ends";
  RtExitAccept(0);
}

TEST(AcceptLoop, TheLaterWindowOfAThreadGetsTheCloseRequestAndTheEarlierStaysOpen) {
  ProgramThreadScope main;
  WindowRef first, second;
  RtNewWindow(first, "wintest$unit", "PLAIN");
  RtNewWindow(second, "wintest$unit", "SECOND");
  RtOpenWindow(first);
  ASSERT_TRUE(RtAccept());
  ASSERT_EQ(RtEvent(), kEventOpenWindow);
  // Inside the pass of the first window a second one opens and runs its own loop.
  RtOpenWindow(second);
  EXPECT_FALSE(TakesInput(first));
  EXPECT_EQ(ViewInput::Close(first.id), InputResult::kTakesNoInput);
  EXPECT_EQ(ViewInput::Press(first.id, 1), InputResult::kTakesNoInput);
  RtPost(kEventCloseWindow, 0, RtThread(), 1);  // as the frame closes its browses' windows
  const auto inner = RunLoop();
  EXPECT_EQ(inner, (std::vector<Seen>{{kEventOpenWindow, 0}, {kEventCloseWindow, 0}, {kEventCloseDown, 0}}))
      << wintest::Describe(inner);
  RtExitAccept(0);
  EXPECT_FALSE(IsOpen(second));
  EXPECT_TRUE(IsOpen(first));
  EXPECT_TRUE(TakesInput(first));
  RtEndAcceptPass(0);  // the first window's OpenWindow pass ends
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventGainFocus);
  RtEndAcceptPass(0);
  ASSERT_EQ(ViewInput::Press(first.id, 1), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtAccepted(), 1);
  RtDisposeWindow(first);
  RtDisposeWindow(second);
  EXPECT_FALSE(RtAccept());
  RtExitAccept(0);
}

TEST(AcceptLoop, ButtonsMenusAndKeysBecomeEvents) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  RtSetProperty(3, kPropAlertKeys, "46", 255);  // the Delete key (2Eh) on control 3
  EXPECT_EQ(RtGetProperty(3, kPropAlertKeys, 255), "46");
  ASSERT_EQ(ViewInput::Press(w.id, 1), InputResult::kDone);
  ASSERT_EQ(ViewInput::Key(w.id, 0, kKeyEnter, '\r'), InputResult::kDone);  // default button
  ASSERT_EQ(ViewInput::Key(w.id, 3, kKeyDelete, 0), InputResult::kDone);
  EXPECT_EQ(ViewInput::Key(w.id, 3, kKeyInsert, 0), InputResult::kNotApplicable) << "not an alert key";
  EXPECT_EQ(ViewInput::Press(w.id, 5), InputResult::kDisabled);
  EXPECT_EQ(ViewInput::Press(w.id, 99), InputResult::kNoSuchControl);
  EXPECT_EQ(ViewInput::Press(w.id, 4), InputResult::kNotApplicable) << "a prompt cannot be pressed";
  RtPost(kEventCloseWindow);
  std::vector<Seen> seen;
  std::vector<LONG> keys;
  while (RtAccept()) {
    seen.push_back({RtEvent(), RtField()});
    if (RtEvent() == kEventAlertKey) keys.push_back(RtKeyCode());
    RtEndAcceptPass(0);
  }
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventOpenWindow, 0}, {kEventGainFocus, 0}, {kEventAccepted, 1},
                                     {kEventAccepted, 1}, {kEventAlertKey, 3}, {kEventCloseWindow, 0},
                                     {kEventCloseDown, 0}}))
      << wintest::Describe(seen);
  EXPECT_EQ(keys, std::vector<LONG>{kKeyDelete});
  EXPECT_EQ(RtKeyCode(), kKeyDelete) << "posted events leave the last key code as it was";
  RtSetKeyCode(0);
  EXPECT_EQ(RtKeyCode(), 0);
  RtExitAccept(0);
  RtDisposeWindow(w);
}

TEST(AcceptLoop, AcceptAllPassEndsInCompleted) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtGetProperty(w, 0, kPropAcceptAll), "");
  RtSelect(0);
  EXPECT_EQ(RtGetProperty(w, 0, kPropAcceptAll), "1");
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventCompleted) << "ahead of the waiting GainFocus";
  EXPECT_EQ(RtGetProperty(w, 0, kPropAcceptAll), "");
  RtEndAcceptPass(0);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventGainFocus);
  RtDisposeWindow(w);
  RtExitAccept(0);
}

// What diagnostics print for an event: its name, or for a number without one the number
// itself, so that an unexpected event can still be told apart.
TEST(AcceptLoop, EventsAreNamedAndUnnamedOnesShowTheirNumber) {
  const struct {
    LONG number;
    const char* name;
  } cases[] = {{kEventCloseWindow, "EVENT:CloseWindow"}, {kEventCompleted, "EVENT:Completed"},
               {0x3E8, "EVENT:3E8h"}, {0, "EVENT:0h"}};
  for (const auto& c : cases) EXPECT_EQ(EventName(c.number), c.name) << c.number;
}

TEST(AcceptLoop, SelectingAPromptPassesTheFocusOn) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  EXPECT_EQ(RtFocus(), 1) << "the first control that takes the focus";
  RtSelect(2);
  EXPECT_EQ(RtFocus(), 2);
  RtSelect(4);  // a prompt; 5 is disabled, 6 and 7 take no focus: nothing takes it
  EXPECT_EQ(RtFocus(), 2);
  RtSelect(1);
  EXPECT_EQ(RtFocus(), 1);
  EXPECT_EQ(RtGetProperty(w, 0, kPropStatusText, 1), "Accept this") << "the focused control's message";
  RtDisposeWindow(w);
}

}  // namespace
}  // namespace qx
