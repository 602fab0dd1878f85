// The close request that the reset, the change to Data and the convert action post to
// threads 2 to 64 before their work: it closes every browse, or, while a browse has its
// update form open, the form, and the browse behind it stays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

bool NoChildren(const std::vector<json>& children) { return children.empty(); }

TEST(CloseRequest, ClosesEveryBrowseBeforeResetChangeAndConvert) {
  for (const char* button : {"ResetDataButton", "SetDataPathButton", "ConvertButton"}) {
    SCOPED_TRACE(button);
    auto frame = FrameRun::Start();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[0]).is_object()) << frame->run().Stderr();
    ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[0]).is_object());
    ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[1]).is_object());
    ASSERT_TRUE(Ok(frame->Press(button)));
    EXPECT_TRUE(frame->UntilChildren(NoChildren)) << json(frame->ChildWindows()).dump();
    if (std::string(button) == "ResetDataButton") {
      const json box = frame->run().WaitFor({{"message", true}});
      ASSERT_TRUE(box.is_object());
      ASSERT_TRUE(Ok(frame->run().Request({{"op", "answer"}, {"message", box["id"]}})));
    }
    if (std::string(button) == "ConvertButton") {
      EXPECT_TRUE(frame->UntilConverterEnded());
    }
    ASSERT_FALSE(frame->run().WaitFor({{"takes_input", kFrame}}).is_null());
    ASSERT_TRUE(Ok(frame->Press("FrameCloseButton")));
    EXPECT_EQ(frame->run().WaitForExit(20000), 0) << frame->run().Stderr();
  }
}

TEST(CloseRequest, ReachesTheFormABrowseHasOpenAndTheBrowseStays) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const json browse = frame->OpenBrowse(kBrowseItems[0]);
  ASSERT_TRUE(browse.is_object()) << frame->run().Stderr();
  const json browseId = {{"id", browse["id"]}};
  ASSERT_TRUE(Ok(frame->run().Request({{"op", "press"}, {"window", browseId}, {"control", "InsertButton"}})));
  // The form: a further window on the browse's thread.
  json form;
  ASSERT_TRUE(frame->UntilChildren([&](const std::vector<json>& children) {
    for (const json& w : children) {
      if (w["thread"] == browse["thread"] && w["id"] != browse["id"]) form = w;
    }
    return form.is_object();
  })) << frame->run().Stderr();

  ASSERT_TRUE(Ok(frame->Press("SetDataPathButton")));
  EXPECT_FALSE(frame->run().WaitFor({{"no_window", {{"id", form["id"]}}}}).is_null()) << "the form took it";
  ASSERT_FALSE(frame->run().WaitFor({{"takes_input", browseId}}).is_null());
  ASSERT_TRUE(frame->run().WaitIdle()) << "the program has done all the request leads to";
  EXPECT_TRUE(frame->run().Window(browseId).is_object()) << "the browse behind it stays open";
  ASSERT_TRUE(Ok(frame->run().Request({{"op", "close"}, {"window", browseId}})));
  EXPECT_TRUE(frame->UntilChildren(NoChildren));
}

}  // namespace
}  // namespace qx::testing
