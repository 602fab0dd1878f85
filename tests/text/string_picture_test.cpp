// String pictures: parsing, display text, entries for text and number targets.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/text/picture.h"

namespace qx {
namespace {

// The parsed picture; a picture that does not parse fails the test (and a valid
// stand-in is returned so that the test can go on).
Picture Must(std::string_view text) {
  const auto p = Picture::Parse(text);
  if (!p) ADD_FAILURE() << "picture '" << text << "' does not parse";
  return p ? *p : *Picture::Parse("@s1");
}

TEST(StringPicture, ParsesWithOrWithoutTheAt) {
  struct Case { std::string_view text; size_t width; };
  const Case cases[] = {{"@s20", 20}, {"@S20", 20}, {"s255", 255}, {"S255", 255},
                        {"@s20@", 20}, {"@s1", 1},  {"@s65535", 65535}, {"@s20  ", 20}};
  for (const auto& c : cases) {
    const auto p = Picture::Parse(c.text);
    ASSERT_TRUE(p.has_value()) << c.text;
    EXPECT_EQ(p->kind(), PictureKind::kString) << c.text;
    EXPECT_EQ(p->width(), c.width) << c.text;
  }
  const std::string_view refused[] = {"@s", "s", "@s0", "@s-5", "@s20x", "@s65536", "@S 20", "@s2.5", "s20@"};
  for (const auto text : refused) EXPECT_FALSE(Picture::Parse(text).has_value()) << "'" << text << "'";
}

TEST(StringPicture, ShowsTheFirstWidthCharactersWithoutTrailingBlanks) {
  const std::string long_text = std::string(20, 'x') + "yz";
  const std::string blank_at_the_cut = "abc" + std::string(17, ' ') + "xyz";
  const STRING<20> name = "Smith";
  const STRING<255> directory = "/home/ann/Demo Data";
  struct Case { std::string_view picture; std::string_view value; std::string_view text; };
  const Case cases[] = {
      {"@s20", name, "Smith"},
      {"@S20", name, "Smith"},
      {"@s20", "  Smith", "  Smith"},
      {"@s20", "", ""},
      {"@s20", long_text, std::string_view(long_text).substr(0, 20)},
      {"@s20", blank_at_the_cut, "abc"},
      {"s255", directory, "/home/ann/Demo Data"},
  };
  for (const auto& c : cases) EXPECT_EQ(Must(c.picture).FormatText(c.value), c.text) << c.picture << " '" << c.value << "'";
}

TEST(StringPicture, ShowsNumbersAsTheirDigits) {
  struct Case { double value; std::string_view text; };
  const Case cases[] = {{42, "42"}, {-1.5, "-1.5"}, {0.1, "0.1"}, {-0.0, "0"}, {1234567, "12345"}, {NAN, ""}};
  const Picture p = Must("@s5");
  for (const auto& c : cases) EXPECT_EQ(p.FormatNumber(c.value), c.text) << c.value;
}

TEST(StringPicture, EntriesMustFitThePictureAndTheTarget) {
  const std::string twenty(20, 'a');
  const std::string twenty_one(21, 'a');
  const std::string twenty_then_blanks = twenty + "     ";
  struct Case { std::string_view picture; std::string_view text; size_t target; EntryError error; std::string_view value; };
  const size_t any = Picture::kAnyWidth;
  const EntryError ok = EntryError::kNone, wide = EntryError::kTooWide;
  const Case cases[] = {
      {"@s20", "Smith", any, ok, "Smith"},
      {"@s20", "Smith   ", any, ok, "Smith"},
      {"@s20", "  Smith", any, ok, "  Smith"},     // leading blanks are part of the text
      {"@s20", "", any, ok, ""},
      {"@s20", twenty, any, ok, twenty},
      {"@s20", twenty_then_blanks, any, ok, twenty},
      {"@s20", twenty_one, any, wide, ""},
      {"@s20", "Smith", 5, ok, "Smith"},
      {"@s20", "Smithy", 5, wide, ""},             // the target is narrower than the picture
      {"s255", twenty_one, 20, wide, ""},
      {"s255", twenty_one, 255, ok, twenty_one},
  };
  for (const auto& c : cases) {
    const TextEntry e = Must(c.picture).DeformatText(c.text, c.target);
    EXPECT_EQ(e.error, c.error) << c.picture << " '" << c.text << "' " << c.target;
    if (e.ok()) {
      EXPECT_EQ(e.value, c.value) << c.picture << " '" << c.text << "'";
    }
  }
}

TEST(StringPicture, NumberTargetsReadPlainNumbers) {
  struct Case { std::string_view text; EntryError error; double value; };
  const Case cases[] = {
      {"42", EntryError::kNone, 42},    {" -1.2 ", EntryError::kNone, -1.2}, {"", EntryError::kNone, 0},
      {"1.5.1", EntryError::kNotANumber, 0}, {"x", EntryError::kNotANumber, 0}, {"123456", EntryError::kTooWide, 0},
  };
  const Picture p = Must("@s5");
  for (const auto& c : cases) {
    const NumberEntry e = p.DeformatNumber(c.text);
    EXPECT_EQ(e.error, c.error) << c.text;
    if (e.ok()) {
      EXPECT_EQ(e.value, c.value) << c.text;
    }
  }
  EXPECT_EQ(Must("@s20").DeformatLong("99999999999").error, EntryError::kOutOfRange);
  EXPECT_EQ(Must("@s20").DeformatLong("-17").value, -17);
}

}  // namespace
}  // namespace qx
