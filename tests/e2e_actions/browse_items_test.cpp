// The Browse menu starts each file's browse on a thread of its own, a further one for
// every further choice; the toolbar's Close and the File menu's Exit end the program with
// exit code 0, also while browses are open.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

TEST(BrowseItems, EachStartsItsFilesBrowseOnANewThreadAlsoWhenOneIsOpen) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const json frameWindow = frame->run().Window(kFrame);
  std::set<LONG> threads;
  for (const BrowseItem& b : kBrowseItems) {
    SCOPED_TRACE(b.item);
    const json w = frame->OpenBrowse(b);
    ASSERT_TRUE(w.is_object()) << frame->run().Stderr();
    EXPECT_EQ(w["parent"], frameWindow["id"]) << "a child window of the frame";
    EXPECT_GE(w["thread"].get<LONG>(), 2);
    threads.insert(w["thread"].get<LONG>());
  }
  EXPECT_EQ(threads.size(), 4u) << "one thread each";

  // The same item once more: a second window of the same file, on a thread of its own.
  const json second = frame->OpenBrowse(kBrowseItems[0]);
  ASSERT_TRUE(second.is_object());
  EXPECT_EQ(threads.count(second["thread"].get<LONG>()), 0u);
  std::vector<json> standrd;
  for (const json& w : frame->ChildWindows()) {
    if (w["title"] == kBrowseItems[0].title) standrd.push_back(w);
  }
  ASSERT_EQ(standrd.size(), 2u);
  EXPECT_NE(standrd[0]["thread"], standrd[1]["thread"]);
  EXPECT_TRUE(frame->run().Window(kFrame)["takes_input"]) << "the frame does not wait for its browses";
}

TEST(BrowseItems, WithEveryThreadInUseAFurtherChoiceStartsNothing) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  constexpr size_t kThreads = 63;  // beside the main thread
  for (size_t i = 0; i < kThreads; ++i) {
    ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[i % 4]).is_object()) << "browse " << i + 1 << frame->run().Stderr();
  }
  ASSERT_TRUE(Ok(frame->Choose(kBrowseItems[0].item)));
  // Nothing opens and nothing is said; the frame goes on.
  EXPECT_TRUE(frame->run().WaitFor({{"message", true}}, 500).is_null());
  EXPECT_EQ(frame->ChildWindows().size(), kThreads);
  ASSERT_FALSE(frame->run().WaitFor({{"takes_input", kFrame}}).is_null());
  // A browse that ends frees its thread for the next choice.
  ASSERT_TRUE(Ok(frame->run().Request({{"op", "close"}, {"window", {{"kind", "mdi"}}}})));
  ASSERT_TRUE(frame->UntilChildren([&](const std::vector<json>& c) { return c.size() == kThreads - 1; }));
  EXPECT_TRUE(frame->OpenBrowse(kBrowseItems[1]).is_object());
}

TEST(BrowseItems, CloseAndExitEndTheProgramAlsoWithBrowsesOpen) {
  struct Case {
    const char* what;
    bool menu;            // the File menu's item, else the toolbar's button
    const char* control;
    int browses;
  } cases[] = {
      {"Close, no browse", false, "FrameCloseButton", 0},
      {"Close, two browses", false, "FrameCloseButton", 2},
      {"Exit, no browse", true, "ExitItem", 0},
      {"Exit, two browses", true, "ExitItem", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto frame = FrameRun::Start();
    ASSERT_TRUE(frame);
    for (int i = 0; i < c.browses; ++i) ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[i]).is_object());
    ASSERT_TRUE(Ok(c.menu ? frame->Choose(c.control) : frame->Press(c.control)));
    EXPECT_EQ(frame->run().WaitForExit(20000), 0) << frame->run().Stderr();
  }
}

}  // namespace
}  // namespace qx::testing
