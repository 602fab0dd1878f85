// A control kind added from outside the library, as a program may register one of its own:
// its USE variable, typed text accepted or refused, the accept-all pass over it, and the
// clipboard actions on the focused control.
#include <gtest/gtest.h>

#include "runtime/win/control_kinds.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using wintest::Seen;

// Refuses the text "bad", as an entry refuses a value its picture cannot read.
class TestEntry : public Control {
 public:
  using Control::Control;
  bool ConsumesVariable() const override { return true; }
  bool TakesFocus() const override { return true; }
  bool Editable() const override { return true; }
  bool InAcceptAll() const override { return true; }
  void Display() override { text_ = std::string(RtClipView(variable_.Text())); }
  bool Accept() override {
    if (text_ == "bad") return false;
    variable_.SetText(text_);
    return true;
  }
  InputResult OnType(InputContext& window, std::string_view text, bool accept) override {
    text_ = std::string(text);
    if (accept) {
      Event e;
      e.number = kEventAccepted;
      e.field = field();
      e.fromInput = true;
      window.Queue(e);
    }
    return InputResult::kDone;
  }
};

class ControlKind : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControlKind("testentry", [](const ControlDescription& d, ControlArea a, LONG p) -> std::unique_ptr<Control> {
      return std::make_unique<TestEntry>(d, a, p);
    });
  }
};

std::string Shown(const WindowRef& w, LONG field) { return RtGetProperty(w, field, kPropText); }

TEST_F(ControlKind, TypedTextReachesTheVariableWhenAccepted) {
  ProgramThreadScope main;
  STRING<10> first("one"), second("two");
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "EDIT", {first, second});
  RtOpenWindow(w);
  EXPECT_EQ(Shown(w, 1), "one");
  EXPECT_EQ(Shown(w, 3), "two");
  ASSERT_TRUE(RtAccept());
  ASSERT_TRUE(RtAccept());
  ASSERT_EQ(ViewInput::Type(w.id, 1, "uno", false), InputResult::kDone);
  EXPECT_EQ(first.clipped(), "one") << "not accepted yet";
  ASSERT_EQ(ViewInput::Type(w.id, 1, "eins", true), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtAccepted(), 1);
  EXPECT_EQ(first.clipped(), "eins") << "the variable is set before the program sees the event";
  ASSERT_EQ(ViewInput::Type(w.id, 3, "bad", true), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventRejected);
  EXPECT_EQ(RtField(), 3);
  EXPECT_EQ(second.clipped(), "two");
  EXPECT_EQ(ViewInput::Type(w.id, 4, "x", true), InputResult::kNotApplicable) << "a button takes no text";
  RtDisposeWindow(w);
  RtExitAccept(0);
}

TEST_F(ControlKind, AcceptAllPassAcceptsEachEntryThenCompletes) {
  ProgramThreadScope main;
  STRING<10> first("a"), second("b");
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "EDIT", {first, second});
  RtOpenWindow(w);
  ASSERT_TRUE(RtAccept());
  ASSERT_TRUE(RtAccept());
  ASSERT_EQ(ViewInput::Type(w.id, 1, "A", false), InputResult::kDone);
  RtSelect(0);
  std::vector<Seen> seen;
  std::vector<std::string> acceptAll;
  for (int i = 0; i < 3 && RtAccept(); ++i) {
    seen.push_back({RtEvent(), RtField()});
    acceptAll.push_back(RtGetProperty(0, kPropAcceptAll));
    RtEndAcceptPass(0);
  }
  EXPECT_EQ(seen, (std::vector<Seen>{{kEventAccepted, 1}, {kEventAccepted, 3}, {kEventCompleted, 0}}))
      << wintest::Describe(seen);
  EXPECT_EQ(acceptAll, (std::vector<std::string>{"1", "1", ""}));
  EXPECT_EQ(first.clipped(), "A");
  // A refused event stops the pass: no EVENT:Completed.
  ASSERT_EQ(ViewInput::Type(w.id, 1, "bad", false), InputResult::kDone);
  RtSelect(0);
  RtPost(kEventAccepted, 4);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventRejected);
  RtEndAcceptPass(1);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventAccepted);
  EXPECT_EQ(RtField(), 4) << "the waiting event, not the rest of the pass";
  RtDisposeWindow(w);
  RtExitAccept(0);
}

TEST_F(ControlKind, CutCopyAndPasteActOnTheFocusedEntry) {
  ProgramThreadScope main;
  STRING<10> first("alpha"), second("beta");
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "EDIT", {first, second});
  RtOpenWindow(w);
  EXPECT_EQ(RtFocus(), 1);
  ASSERT_EQ(ViewInput::Press(w.id, -3), InputResult::kDone);  // Copy
  RtSelect(3);
  ASSERT_EQ(ViewInput::Press(w.id, -4), InputResult::kDone);  // Paste the model's clipboard over "beta"
  EXPECT_EQ(Shown(w, 3), "alpha");
  ASSERT_EQ(ViewInput::Press(w.id, -2), InputResult::kDone);  // Cut, with nothing selected
  EXPECT_EQ(Shown(w, 3), "alpha");
  ASSERT_EQ(ViewInput::Select(w.id, 3, 0, 5), InputResult::kDone);
  ASSERT_EQ(ViewInput::Press(w.id, -2), InputResult::kDone);  // Cut
  EXPECT_EQ(Shown(w, 3), "");
  ASSERT_EQ(ViewInput::Press(w.id, -4, std::string("from the desktop")), InputResult::kDone);
  EXPECT_EQ(Shown(w, 3), "from the desktop") << "a view's system clipboard wins";
  EXPECT_EQ(second.clipped(), "beta") << "the variable changes only when the entry is accepted";
  RtDisposeWindow(w);
}

}  // namespace
}  // namespace qx
