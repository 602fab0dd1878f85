// Resize support: buttons keep their size and their distance from the nearer edges, other
// controls scale with the window, the minimum size holds, and a list shows more rows.
#include <gtest/gtest.h>

#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

struct Rect {
  std::string x, y, width, height;
  bool operator==(const Rect&) const = default;
};

Rect At(const WindowRef& w, LONG field) {
  return {RtGetProperty(w, field, kPropXPos), RtGetProperty(w, field, kPropYPos), RtGetProperty(w, field, kPropWidth),
          RtGetProperty(w, field, kPropHeight)};
}

std::ostream& operator<<(std::ostream& o, const Rect& r) {
  return o << r.x << "," << r.y << " " << r.width << "x" << r.height;
}

TEST(Resize, ButtonsKeepTheirPlaceFromTheNearerEdgesOthersScale) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$controls", "BROWSE");
  RtOpenWindow(w);
  RtSetProperty(w, 0, kPropMinWidth, RtGetProperty(w, 0, kPropWidth));
  RtSetProperty(w, 0, kPropMinHeight, RtGetProperty(w, 0, kPropHeight));
  ResizeRecord record;
  ResizeInit(record, 2);
  EXPECT_EQ(record.ORIGWIN.width, 358);
  EXPECT_EQ(record.mode, 2);
  ASSERT_EQ(ViewInput::Resize(w.id, 458, 238), InputResult::kDone);
  const auto seen = wintest::RunLoop(3);
  EXPECT_EQ(seen.back(), (wintest::Seen{kEventSized, 0}));
  ResizeWindow(record);
  struct Case {
    LONG field;
    Rect at;
  } cases[] = {
      {2, {"307", "198", "45", "14"}},  // Insert: 151 from the right edge, 40 from the bottom
      {4, {"405", "198", "45", "14"}},
      {12, {"360", "220", "45", "14"}},
      {1, {"10", "25", "438", "157"}},  // the list: 8*458/358, 20*238/188, ...
      {6, {"5", "5", "448", "205"}},    // the sheet
      {5, {"10", "218", "", ""}},       // a prompt sized to its text only moves
  };
  for (const Case& c : cases) EXPECT_EQ(At(w, c.field), c.at) << c.field;
  EXPECT_EQ(RtGetProperty(w, 1, kPropVisibleRows), "15") << "the taller list shows more rows";
  EXPECT_EQ(record.PREVIOUSWIN.width, 458);

  // Never below the size it opened with; back there, everything is where it was.
  ASSERT_EQ(ViewInput::Resize(w.id, 100, 50), InputResult::kDone);
  EXPECT_EQ(RtGetProperty(w, 0, kPropWidth), "358");
  EXPECT_EQ(RtGetProperty(w, 0, kPropHeight), "188");
  ResizeWindow(record);
  EXPECT_EQ(At(w, 2), (Rect{"207", "148", "45", "14"}));
  EXPECT_EQ(At(w, 1), (Rect{"8", "20", "342", "124"}));
  ResizeKill(record);
  EXPECT_EQ(record.window, 0);
  EXPECT_TRUE(record.CONTROLQUEUE.empty());
  ResizeWindow(record);  // nothing recorded: nothing happens
  RtDisposeWindow(w);
  RtExitAccept(0);
}

TEST(Resize, AButtonNearerTheLeftEdgeKeepsItsDistanceFromIt) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$controls", "NARROW");
  RtOpenWindow(w);
  ResizeRecord record;
  ResizeInit(record, 2);
  ASSERT_EQ(ViewInput::Resize(w.id, 334, 188), InputResult::kDone);
  ResizeWindow(record);
  EXPECT_EQ(At(w, 2).x, "81") << "Insert's centre lies left of the middle";
  EXPECT_EQ(At(w, 3).x, "230") << "Change's right of it";
  EXPECT_EQ(At(w, 5), (Rect{"11", "172", "147", "10"}));
  EXPECT_EQ(At(w, 8).x, "167") << "centred text stays centred";
  RtDisposeWindow(w);
  RtExitAccept(0);
}

}  // namespace
}  // namespace qx
