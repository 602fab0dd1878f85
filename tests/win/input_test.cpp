// Input from a view: standard actions of menus and buttons, resizing within the minimum,
// status bar messages, and the properties the programs read and set.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/sys/runtime_lock.h"

#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using wintest::Seen;

const WindowPresentation* Find(const PresentationState& s, LONG id) {
  for (const auto& w : s.windows) {
    if (w.id == id) return &w;
  }
  return nullptr;
}

bool Logged(const PresentationState& s, const std::string& what, std::uint64_t after) {
  for (const auto& e : s.log) {
    if (e.sequence > after && e.what == what) return true;
  }
  return false;
}

std::uint64_t LastLog() {
  const auto s = ReadPresentation();
  return s.log.empty() ? 0 : s.log.back().sequence;
}

TEST(Input, MenuItemsRunTheirStandardActionOrBecomeAccepted) {
  ProgramThreadScope main;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  const std::uint64_t before = LastLog();
  ASSERT_EQ(ViewInput::Press(frame.id, -4), InputResult::kDone);   // print set-up
  EXPECT_TRUE(Logged(ReadPresentation(), "print-setup", before));
  EXPECT_EQ(ViewInput::Press(frame.id, -1), InputResult::kNotApplicable) << "a menu is not an item";
  ASSERT_EQ(ViewInput::Press(frame.id, -2), InputResult::kDone);   // an item of its own
  ASSERT_EQ(ViewInput::Press(frame.id, -21), InputResult::kDone);  // toolbar button
  ASSERT_EQ(ViewInput::Press(frame.id, -3), InputResult::kDone);   // Exit: close
  std::vector<Seen> seen;
  LONG accepted = 0;
  while (RtAccept()) {
    seen.push_back({RtEvent(), RtField()});
    if (RtEvent() == kEventAccepted && accepted == 0) accepted = RtAccepted();
    RtEndAcceptPass(0);
  }
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventOpenWindow, 0}, {kEventGainFocus, 0}, {kEventAccepted, -2},
                                     {kEventAccepted, -21}, {kEventCloseWindow, 0}, {kEventCloseDown, 0}}))
      << wintest::Describe(seen);
  EXPECT_EQ(accepted, -2);
  RtExitAccept(0);
  RtDisposeWindow(frame);
}

void ChildThread() {
  WindowRef child;
  RtNewMdiWindow(child, "wintest$unit", "CHILD");
  RtOpenWindow(child);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(child);
}

TEST(Input, TileAndCascadeArrangeTheFramesChildren) {
  ProgramThreadScope main;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  const LONG first = RtStart(&ChildThread, 0), second = RtStart(&ChildThread, 0);
  ASSERT_NE(second, 0);
  auto children = [&] {
    std::vector<WindowPresentation> out;
    for (const auto& w : ReadPresentation().windows) {
      if (w.parent == frame.id) out.push_back(w);
    }
    return out;
  };
  {
    WaitOutsideRuntime wait;  // the children's threads run meanwhile
    for (int i = 0; i < 2000 && children().size() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(children().size(), 2u);
  ASSERT_EQ(ViewInput::Press(frame.id, -11), InputResult::kDone);  // Tile
  auto kids = children();
  // The frame's client area: 400 wide, 250 high less the 30 of the toolbar and the status bar.
  EXPECT_EQ(kids[0].x.value_or(-1), 0);
  EXPECT_EQ(kids[1].x.value_or(-1), 200);
  EXPECT_EQ(kids[0].width, 200);
  EXPECT_EQ(kids[1].height, 210);
  ASSERT_EQ(ViewInput::Press(frame.id, -12), InputResult::kDone);  // Cascade
  kids = children();
  EXPECT_EQ(kids[1].x.value_or(-1), 6);
  EXPECT_EQ(kids[1].y.value_or(-1), 12);
  EXPECT_EQ(kids[1].width, 200) << "cascading keeps the sizes";
  const std::uint64_t before = LastLog();
  ASSERT_EQ(ViewInput::Press(frame.id, -13), InputResult::kDone);  // Arrange Icons: the view's
  EXPECT_TRUE(Logged(ReadPresentation(), "arrange-icons", before));
  RtPost(kEventCloseWindow, 0, first, 1);
  RtPost(kEventCloseWindow, 0, second, 1);
  RtEndProgram();
  RtDisposeWindow(frame);
}

TEST(Input, ChildWindowsOpenCascadedAndGoBackToTheCornerBeforeLeavingTheWorkspace) {
  ProgramThreadScope main;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  // The workspace: 400 by 210 (250 less the toolbar's 30 and the status bar's 10).
  struct Case {
    const char* what;
    LONG height;           // of the child: 60 as described, or too high to stay inside
    LONG decorationHeight;  // what the view's caption and border add (0: no view)
    LONG wrapsAfter;       // the steps from the corner before a child goes back there
  } cases[] = {
      {"inside the workspace", 60, 0, 12},                // (210 - 60) / 12
      {"inside, with the view's caption", 60, 30, 10},    // (210 - 90) / 12
      {"too high: through the first third", 300, 0, 5},   // 210 / 36
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<WindowRef> kids(static_cast<size_t>(c.wrapsAfter + 2));
    for (size_t i = 0; i < kids.size(); ++i) {
      RtNewMdiWindow(kids[i], "wintest$unit", "CHILD");
      RtSetProperty(kids[i], 0, kPropHeight, std::to_string(c.height));
      RtOpenWindow(kids[i]);
      if (c.decorationHeight) {
        ASSERT_EQ(ViewInput::Decoration(kids[i].id, 4, c.decorationHeight), InputResult::kDone);
      }
      const LONG step = static_cast<LONG>(i) <= c.wrapsAfter ? static_cast<LONG>(i) : static_cast<LONG>(i) - c.wrapsAfter - 1;
      EXPECT_EQ(RtGetProperty(kids[i], 0, kPropXPos), std::to_string(6 * step)) << "child " << i;
      EXPECT_EQ(RtGetProperty(kids[i], 0, kPropYPos), std::to_string(12 * step)) << "child " << i;
    }
    for (WindowRef& k : kids) RtDisposeWindow(k);
  }
  RtDisposeWindow(frame);
}

TEST(Input, ResizeStaysAtOrAboveTheMinimumAndReportsSized) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  EXPECT_EQ(RtGetProperty(0, kPropWidth), "120");
  EXPECT_EQ(RtGetProperty(0, kPropHeight), "60");
  // As the browses do: the window cannot be made smaller than it opened.
  LONG width = 0;
  UseVariable widthVar(width);
  widthVar.SetText(RtGetProperty(0, kPropWidth));
  RtSetPropertyFromVar(0, kPropMinWidth, widthVar);
  RtSetProperty(0, kPropMinHeight, RtGetProperty(0, kPropHeight));
  EXPECT_EQ(RtGetProperty(0, kPropMinWidth), "120");
  ASSERT_EQ(ViewInput::Resize(w.id, 50, 30), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(0, kPropWidth), "120");
  EXPECT_EQ(RtGetProperty(0, kPropHeight), "60");
  ASSERT_EQ(ViewInput::Resize(w.id, 200, 30), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(0, kPropWidth), "200");
  EXPECT_EQ(RtGetProperty(0, kPropHeight), "60");
  EXPECT_EQ(ViewInput::Resize(w.id, 0, 10), InputResult::kBadValue);
  ASSERT_EQ(ViewInput::Move(w.id, 30, 40), InputResult::kDone);
  RtPost(kEventCloseWindow);
  const auto seen = wintest::RunLoop();
  // The first resize changed nothing and reported nothing.
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventOpenWindow, 0}, {kEventGainFocus, 0}, {kEventSized, 0},
                                     {kEventMoved, 0}, {kEventCloseWindow, 0}, {kEventCloseDown, 0}}))
      << wintest::Describe(seen);
  RtExitAccept(0);
  RtDisposeWindow(w);
}

TEST(Input, PropertiesOfWindowsAndControls) {
  ProgramThreadScope main;
  WindowRef w;
  LONG count = -42;
  STRING<10> name("abcdefgh");
  RtNewWindow(w, "wintest$unit", "PLAIN", {count, name});
  RtOpenWindow(w);
  EXPECT_EQ(RtGetProperty(w, 0, kPropText), "Plain");
  RtSetProperty(0, kPropText, "Changing a Record");
  EXPECT_EQ(RtGetProperty(w, 0, kPropText), "Changing a Record");
  EXPECT_EQ(RtGetProperty(3, kPropText), "-42") << "the string shows its variable through @n-14";
  EXPECT_EQ(RtGetProperty(6, kPropText), "abcde") << "@s5 cuts the text";
  count = 7;
  EXPECT_EQ(RtGetProperty(3, kPropText), "-42") << "the screen changes only on display";
  RtDisplay(3);
  EXPECT_EQ(RtGetProperty(3, kPropText), "7");
  EXPECT_EQ(RtGetProperty(1, kPropDisabled), "");
  RtSetProperty(1, kPropDisabled, "1");
  EXPECT_EQ(RtGetProperty(1, kPropDisabled), "1");
  EXPECT_EQ(ViewInput::Press(w.id, 1), InputResult::kDisabled);
  EXPECT_EQ(ViewInput::Key(w.id, 0, kKeyEnter, 0), InputResult::kNotApplicable) << "a disabled default button";
  RtSetProperty(1, kPropDisabled, "");
  EXPECT_EQ(ViewInput::Press(w.id, 1), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(99, kPropText), "") << "no such control";
  EXPECT_EQ(RtGetProperty(w, 0, 0x7FFF), "") << "no such property";
  EXPECT_EQ(RtGetProperty(7, kPropWidth), "10") << "a kind to come is kept as a plain control";
  RtDisposeWindow(w);
  EXPECT_EQ(RtGetProperty(w, 0, kPropText), "") << "a disposed window";
}

TEST(Input, MessagesOfControlsShowInTheStatusBar) {
  ProgramThreadScope main;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  ASSERT_EQ(ViewInput::Hover(frame.id, -2), InputResult::kDone);
  const PresentationState state = ReadPresentation();
  const auto* f = Find(state, frame.id);
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->statusTexts.size(), 2u);
  EXPECT_EQ(f->statusTexts[0], "An item of its own");
  ASSERT_EQ(ViewInput::Hover(frame.id, -21), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(frame, 0, kPropStatusText, 1), "A tool");
  ASSERT_EQ(ViewInput::Hover(frame.id, 0), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(frame, 0, kPropStatusText, 1), "");
  RtDisposeWindow(frame);
}

TEST(Input, HelpWithoutAHelpFileSaysSo) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  ASSERT_EQ(ViewInput::Press(w.id, 2), InputResult::kDone);  // Help: context help, then Accepted
  auto s = ReadPresentation();
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].text, kNoHelpFileText);
  EXPECT_EQ(s.messages[0].thread, 0) << "nobody waits for the notice";
  EXPECT_FALSE(Find(s, w.id)->takesInput) << "but, a box like the others, it holds the windows";
  EXPECT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonCancel), InputResult::kBadValue);
  EXPECT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonOk), InputResult::kDone);
  EXPECT_TRUE(ReadPresentation().messages.empty());
  EXPECT_TRUE(Find(ReadPresentation(), w.id)->takesInput);
  EXPECT_EQ(ViewInput::AnswerMessage(s.messages[0].id, kButtonOk), InputResult::kNoSuchMessage);
  ASSERT_TRUE(RtAccept());
  ASSERT_TRUE(RtAccept());
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtAccepted(), 2) << "the button's standard action and its EVENT:Accepted";
  RtDisposeWindow(w);
  RtExitAccept(0);
}

}  // namespace
}  // namespace qx
