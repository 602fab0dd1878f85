// STRING/CSTRING assignment, clipping and comparison rules.
#include "runtime/text/types.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace qx {
namespace {

TEST(StringType, AssignmentCutsOrPads) {
  struct Case { std::string_view in; std::string_view stored; };
  const Case cases[] = {
      {"", "     "},
      {"ab", "ab   "},
      {"abcde", "abcde"},
      {"abcdefgh", "abcde"},
      {"  x", "  x  "},
  };
  for (const auto& c : cases) {
    STRING<5> s = c.in;
    EXPECT_EQ(s.view(), c.stored) << "input '" << c.in << "'";
  }
}

TEST(StringType, IsAPlainFieldOfItsWidth) {
  static_assert(sizeof(STRING<20>) == 20);
  static_assert(alignof(STRING<20>) == 1);
  static_assert(std::is_trivially_copyable_v<STRING<20>>);
  static_assert(sizeof(CSTRING<256>) == 256);
  struct Record { LONG id; STRING<20> name; STRING<20> suburb; };
  static_assert(sizeof(Record) == 44);
}

TEST(StringType, ClipAndCompareAsTheRuntimeDoes) {
  STRING<10> a = "Smith";
  EXPECT_EQ(a.clipped(), "Smith");
  EXPECT_TRUE(a == "Smith");          // shorter operand padded with blanks
  EXPECT_TRUE(a == "Smith   ");
  EXPECT_FALSE(a == "Smit");
  STRING<3> b = "Smi";
  EXPECT_FALSE(a == b);
  EXPECT_LT(RtCompareStrings("abc", "abd"), 0);
  EXPECT_EQ(RtCompareStrings("abc", "abc  "), 0);
  EXPECT_GT(RtCompareStrings("abc", "ab"), 0);            // 'c' above the padding blank
  EXPECT_LT(RtCompareStrings("ab\x01", "ab"), 0);         // control characters sort below blank
  EXPECT_GT(RtCompareStrings("\xe9", "z"), 0);            // bytes compare unsigned
  EXPECT_TRUE(STRING<4>().blank());
}

TEST(StringType, AssignsBetweenWidths) {
  STRING<8> wide = "abcdefgh";
  STRING<3> narrow = wide;
  EXPECT_EQ(narrow.view(), "abc");
  wide = narrow;
  EXPECT_EQ(wide.view(), "abc     ");
}

TEST(CStringType, AssignmentCutsAndTerminates) {
  struct Case { std::string_view in; std::string_view stored; };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"abcd", "abcd"},
      {"abcdefg", "abcd"},
      {std::string_view("ab\0cd", 5), "ab"},
      {"ab  ", "ab  "},  // no clipping on assignment
  };
  for (const auto& c : cases) {
    CSTRING<5> s = c.in;
    EXPECT_EQ(s.view(), c.stored);
    EXPECT_EQ(s.c_str()[s.view().size()], '\0');
  }
  CSTRING<5> s = "ab  ";
  EXPECT_EQ(s.clipped(), "ab");
}

}  // namespace
}  // namespace qx
