// Popup menus: their items from a text, the answer a person gives (an item, none, a greyed
// item refused), the windows waiting meanwhile, and the answer without a view.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/win/popup.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/support/views.h"

namespace qx {
namespace {

// A view that draws nothing and leaves popup menus for the test to answer, counting them.
class QuietView : public testing::InstantView {
 public:
  void ShowPopup(const PopupPresentation&) override { ++shown; }
  void ClosePopup(LONG) override { ++closed; }
  std::atomic<int> shown{0}, closed{0};
};

TEST(Popup, ItemsFromTheText) {
  struct Case {
    const char* text;
    std::vector<std::pair<std::string, bool>> items;
  } cases[] = {
      {"&Insert|&Change|&Delete", {{"&Insert", false}, {"&Change", false}, {"&Delete", false}}},
      {"&Insert|~&Change|~&Delete", {{"&Insert", false}, {"&Change", true}, {"&Delete", true}}},
      {"One", {{"One", false}}},
      {"a||~", {{"a", false}, {"", false}, {"", true}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::string, bool>> got;
    for (const auto& item : ParsePopupText(c.text)) got.emplace_back(item.text, item.greyed);
    EXPECT_EQ(got, c.items) << c.text;
  }
}

// Waits until a popup menu is open and returns it.
PopupPresentation WaitForPopup() {
  for (int i = 0; i < 2000; ++i) {
    const PresentationState s = ReadPresentation();
    if (!s.popups.empty()) return s.popups.front();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return {};
}

TEST(Popup, TheChosenItemOrNone) {
  QuietView view;
  RtInstallView(&view);
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$controls", "BROWSE");
  RtOpenWindow(w);
  struct Case {
    std::vector<std::pair<LONG, InputResult>> answers;  // tried in turn; the last one counts
    LONG result;
  } cases[] = {
      {{{2, InputResult::kDisabled}, {4, InputResult::kBadValue}, {-1, InputResult::kBadValue}, {1, InputResult::kDone}}, 1},
      {{{0, InputResult::kDone}}, 0},
      {{{3, InputResult::kDone}}, 3},
  };
  for (const Case& c : cases) {
    bool blocked = false;
    std::thread person([&] {
      const PopupPresentation p = WaitForPopup();
      EXPECT_EQ(p.window, w.id);
      EXPECT_EQ(p.items.size(), 3u);
      for (const WindowPresentation& wp : ReadPresentation().windows) {
        if (wp.id == w.id) blocked = !wp.takesInput;
      }
      for (const auto& [item, expected] : c.answers) EXPECT_EQ(ViewInput::AnswerPopup(p.id, item), expected) << item;
      EXPECT_EQ(ViewInput::AnswerPopup(p.id, 1), InputResult::kNoSuchPopup) << "answered already";
    });
    RtSetKeyCode(kKeyRightMouse);  // the right click that asks for the menu
    EXPECT_EQ(RtPopup("&Insert|~&Change|&Delete"), c.result);
    person.join();
    EXPECT_EQ(RtKeyCode(), c.result != 0 ? kKeyLeftMouse : kKeyEscape) << "the right click is over";
    EXPECT_TRUE(blocked) << "the thread's window waits for the menu";
  }
  EXPECT_TRUE(ReadPresentation().popups.empty());
  EXPECT_EQ(view.shown, 3);
  EXPECT_EQ(view.closed, 3);
  EXPECT_EQ(RtPopup(""), 0) << "no items: nothing shown";
  EXPECT_EQ(view.shown, 3);
  RtDisposeWindow(w);
  RtInstallView(nullptr);
  EXPECT_EQ(RtPopup("&Insert"), 0) << "no view: none chosen";
}

TEST(Popup, AViewWithoutPopupMenusDismissesThem) {
  testing::InstantView view;  // knows nothing of popup menus
  RtInstallView(&view);
  ProgramThreadScope main;
  EXPECT_EQ(RtPopup("&Insert|&Change"), 0) << "instead of waiting for ever";
  EXPECT_TRUE(ReadPresentation().popups.empty());
  RtInstallView(nullptr);
}

}  // namespace
}  // namespace qx
