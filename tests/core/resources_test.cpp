// Embedded resources are found by name without regard to case, bytes intact.
#include "runtime/sys/resources.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Resources, EmbeddedFileIsFoundByAnyCase) {
  const std::string_view expected("embedded\nbytes\0with a NUL", 25);
  for (std::string_view name : {"Sample.TXT", "sample.txt", "SAMPLE.TXT"}) {
    auto bytes = RtFindResource(name);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_EQ(*bytes, expected);
  }
  EXPECT_FALSE(RtFindResource("missing.bin").has_value());
}

}  // namespace
}  // namespace qx
