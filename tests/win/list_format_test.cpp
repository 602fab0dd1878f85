// FORMAT strings of lists: the columns the browses write, the fields each column shows
// (colour columns take four more), header justification, and strings that are refused.
#include <gtest/gtest.h>

#include "runtime/win/list_format.h"

namespace qx {
namespace {

TEST(ListFormat, TheBrowsesColumns) {
  std::string error;
  const auto f = ParseListFormat(
      "56R(2)|M*~Sys ID~C(0)@n-14@64R(2)|M~Cus ID~C(0)@n-14@80L(2)|M~Name~@S20@80L(2)|M~Suburb~@s20@"
      "80L(2)|M~Phone~@s20@80R(2)|M~Start Date~C(0)@d17@",
      &error);
  ASSERT_TRUE(f) << error;
  ASSERT_EQ(f->columns.size(), 6u);
  EXPECT_TRUE(f->hasHeader);
  EXPECT_EQ(f->fieldsUsed, 10u) << "six fields and four colours";
  struct Expect {
    LONG width;
    Justify justify;
    const char* header;
    Justify headerJustify;
    LONG headerIndent;
    const char* picture;
    size_t field;
  } expected[] = {
      {56, Justify::kRight, "Sys ID", Justify::kCentre, 0, "@n-14", 0},
      {64, Justify::kRight, "Cus ID", Justify::kCentre, 0, "@n-14", 5},
      {80, Justify::kLeft, "Name", Justify::kLeft, 2, "@S20", 6},  // header as the column
      {80, Justify::kLeft, "Suburb", Justify::kLeft, 2, "@s20", 7},
      {80, Justify::kLeft, "Phone", Justify::kLeft, 2, "@s20", 8},
      {80, Justify::kRight, "Start Date", Justify::kCentre, 0, "@d17", 9},
  };
  for (size_t i = 0; i < 6; ++i) {
    const ListColumn& c = f->columns[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(c.width, expected[i].width);
    EXPECT_EQ(c.justify, expected[i].justify);
    EXPECT_EQ(c.indent, 2);
    EXPECT_EQ(c.header, expected[i].header);
    EXPECT_EQ(c.headerJustify, expected[i].headerJustify);
    EXPECT_EQ(c.headerIndent, expected[i].headerIndent);
    EXPECT_EQ(c.picture, expected[i].picture);
    EXPECT_EQ(c.field, expected[i].field);
    EXPECT_TRUE(c.rightBorder);
    EXPECT_TRUE(c.resizable);
    EXPECT_EQ(c.colours, i == 0);
  }
  EXPECT_EQ(f->columns[0].colourField, 1u);
}

TEST(ListFormat, ColumnsWithoutModifiersOrHeaders) {
  std::string error;
  const auto f = ParseListFormat("20L30C(4)12D", &error);
  ASSERT_TRUE(f) << error;
  ASSERT_EQ(f->columns.size(), 3u);
  EXPECT_FALSE(f->hasHeader);
  EXPECT_EQ(f->columns[1].justify, Justify::kCentre);
  EXPECT_EQ(f->columns[1].indent, 4);
  EXPECT_EQ(f->columns[2].justify, Justify::kDecimal);
  EXPECT_FALSE(f->columns[0].rightBorder);
  EXPECT_FALSE(f->columns[0].resizable);
  EXPECT_EQ(f->columns[2].field, 2u);
  EXPECT_EQ(f->columns[2].picture, "");
}

TEST(ListFormat, StringsThatAreRefused) {
  struct Case {
    const char* format;
    const char* error;
  } cases[] = {
      {"", "empty"},
      {"L(2)", "width"},
      {"64", "justification"},
      {"64X", "justification"},
      {"64R(2", "\")\""},
      {"64R(x)", "number"},
      {"64R~Cus ID", "not closed"},
      {"64R@n-14", "not closed"},
      {"64R@q9@", "not a picture"},
      {"64R|M~A~20L#", "column 2"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseListFormat(c.format, &error)) << c.format;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.format << ": " << error;
  }
}

}  // namespace
}  // namespace qx
