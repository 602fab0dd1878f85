// Number pictures: parsing, display text, entries, LONG targets.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/text/picture.h"

namespace qx {
namespace {

// The parsed picture; a picture that does not parse fails the test (and a valid
// stand-in is returned so that the test can go on).
Picture Must(std::string_view text) {
  const auto p = Picture::Parse(text);
  if (!p) ADD_FAILURE() << "picture '" << text << "' does not parse";
  return p ? *p : *Picture::Parse("@n1");
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberPicture, ParsesTheGeneralForm) {
  struct Case { std::string_view text; size_t width; int decimals; };
  const Case cases[] = {
      {"@n-14", 14, 0}, {"@N-14", 14, 0}, {"n-14", 14, 0}, {"@n-14@", 14, 0}, {"@n-14   ", 14, 0},
      {"@n14", 14, 0},  {"@n-14.2", 14, 2}, {"@n4.2", 4, 2}, {"@n.2", 0, 2}, {"@n", 0, 0},
      {"@n-", 0, 0},    {"@n-20.15", 20, 15}, {"@n65535", 65535, 0}, {"@n007", 7, 0},
      {"@n1", 1, 0},
  };
  for (const auto& c : cases) {
    const auto p = Picture::Parse(c.text);
    ASSERT_TRUE(p.has_value()) << c.text;
    EXPECT_EQ(p->kind(), PictureKind::kNumber) << c.text;
    EXPECT_EQ(p->width(), c.width) << c.text;
    EXPECT_EQ(p->decimals(), c.decimals) << c.text;
  }
}

TEST(NumberPicture, RefusesOtherForms) {
  const std::string_view cases[] = {
      "", "@", "@@", "@n-14x", "@n14-", "@n-14.", "@n3.2", "@n-14.16", "@n65536", "@n99999999999999999999",
      "@n,14", "@n_14", "@n$14", "@n-14@@", "@ n14", "@n 14", "@x5", "n-14@", "@n--14", "@n-14.2.1",
  };
  for (const auto text : cases) EXPECT_FALSE(Picture::Parse(text).has_value()) << "'" << text << "'";
}

TEST(NumberPicture, FormatsRoundedWithoutSeparatorsWithinTheWidth) {
  struct Case { std::string_view picture; double value; std::string_view text; };
  const Case cases[] = {
      {"@n-14", 0, "0"},
      {"@n-14", 42, "42"},
      {"@n-14", -42, "-42"},
      {"@n-14", 1234567, "1234567"},
      {"@n-14", 2147483647, "2147483647"},
      {"@n-14", -2147483648.0, "-2147483648"},
      {"@n-14", 0.4, "0"},
      {"@n-14", 0.5, "1"},                      // halves away from zero
      {"@n-14", 2.5, "3"},
      {"@n-14", -0.5, "-1"},
      {"@n-14", -0.4, "0"},                     // no "-0"
      {"@n-14", 99999999999999.0, "99999999999999"},     // 14 characters
      {"@n-14", 100000000000000.0, "##############"},    // 15
      {"@n-14", -9999999999999.0, "-9999999999999"},     // 14 with the sign
      {"@n-14", -10000000000000.0, "##############"},
      {"@n-14", kNaN, "##############"},
      {"@n-14", -kInf, "##############"},
      {"@n-14.2", 1.5, "1.50"},
      {"@n-14.2", 0.125, "0.13"},
      {"@n-14.2", -0.125, "-0.13"},
      {"@n-14.2", -0.004, "0.00"},
      {"@n-14.2", 0.07, "0.07"},
      {"@n-14.2", 99999999999.994, "99999999999.99"},
      {"@n-14.2", 99999999999.996, "##############"},  // rounds up to 15 characters
      {"@n5", 99999, "99999"},
      {"@n5", -1, "#####"},                     // no room for a sign
      {"@n5", -0.2, "0"},                       // rounds to 0, which needs none
      {"@n1", 7, "7"},
      {"@n1", 10, "#"},
      {"@n4.2", 9.99, "9.99"},
      {"@n4.2", 9.999, "####"},
      {"@n", 123456789012.0, "123456789012"},   // no width: as wide as needed
      {"@n", -5, "#"},
      {"@n", kInf, "#"},
      {"@n-", -5, "-5"},
      {"@n-.3", 1e20, "100000000000000000000.000"},
      {"@n-.15", 0.1, "0.100000000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Must(c.picture).FormatNumber(c.value), c.text) << c.picture << " " << c.value;
  }
}

TEST(NumberPicture, DisplayTextNeverExceedsTheWidth) {
  for (const std::string_view text : {"@n-5", "@n-14", "@n-14.2", "@n6.3"}) {
    const Picture p = Must(text);
    for (int exponent = -3; exponent <= 20; ++exponent) {
      for (const double sign : {1.0, -1.0}) {
        for (const double mantissa : {1.0, 4.5, 9.99999}) {
          const double v = sign * mantissa * std::pow(10.0, exponent);
          const std::string shown = p.FormatNumber(v);
          ASSERT_LE(shown.size(), p.width()) << text << " " << v;
          if (shown.find('#') != std::string::npos) continue;
          // What is shown reads back as the value rounded to the picture.
          const NumberEntry back = p.DeformatNumber(shown);
          ASSERT_TRUE(back.ok()) << text << " " << shown;
          EXPECT_EQ(p.FormatNumber(back.value), shown) << text << " " << v;
          EXPECT_NEAR(back.value, v, 0.5 * std::pow(10.0, -p.decimals()) * (1 + 1e-9) + std::fabs(v) * 1e-15);
        }
      }
    }
  }
}

TEST(NumberPicture, ReadsEntries) {
  struct Case { std::string_view picture; std::string_view text; EntryError error; double value; };
  const EntryError ok = EntryError::kNone, nan = EntryError::kNotANumber, wide = EntryError::kTooWide;
  const std::string beyond_real = "1" + std::string(400, '0');
  const Case cases[] = {
      {"@n-14", "", ok, 0},
      {"@n-14", "    ", ok, 0},
      {"@n-14", "42", ok, 42},
      {"@n-14", "  42  ", ok, 42},
      {"@n-14", "-42", ok, -42},
      {"@n-14", "+42", ok, 42},
      {"@n-14", "0042", ok, 42},
      {"@n-14", "-0", ok, 0},
      {"@n-14", "4.", ok, 4},
      {"@n-14", "4.000", ok, 4},                // zeros beyond the decimals
      {"@n-14", "4.5", nan, 0},                 // a decimal the picture does not show
      {"@n-14", "abc", nan, 0},
      {"@n-14", "1,234", nan, 0},               // no thousands separators
      {"@n-14", "1e5", nan, 0},
      {"@n-14", "0x10", nan, 0},
      {"@n-14", "--4", nan, 0},
      {"@n-14", "4-", nan, 0},
      {"@n-14", "-", nan, 0},
      {"@n-14", ".", nan, 0},
      {"@n-14", "4 2", nan, 0},
      {"@n-14", "- 4", nan, 0},
      {"@n-14", "99999999999999", ok, 99999999999999.0},
      {"@n-14", "999999999999999", wide, 0},
      {"@n-14", "-9999999999999", ok, -9999999999999.0},
      {"@n-14", "-99999999999999", wide, 0},
      {"@n-14", "0000000000000000000042", ok, 42},   // leading zeros are not shown
      {"@n5", "-1", nan, 0},                    // no sign in the picture
      {"@n5", "-0", ok, 0},
      {"@n5", "99999", ok, 99999},
      {"@n5", "100000", wide, 0},
      {"@n-14.2", "1.5", ok, 1.5},
      {"@n-14.2", ".5", ok, 0.5},
      {"@n-14.2", "-.25", ok, -0.25},
      {"@n-14.2", "1.230", ok, 1.23},
      {"@n-14.2", "1.234", nan, 0},
      {"@n-14.2", "1,5", nan, 0},               // the point is always "."
      {"@n", beyond_real, wide, 0},  // beyond REAL
  };
  for (const auto& c : cases) {
    const NumberEntry e = Must(c.picture).DeformatNumber(c.text);
    EXPECT_EQ(e.error, c.error) << c.picture << " '" << c.text << "'";
    if (c.error == ok) {
      EXPECT_EQ(e.value, c.value) << c.picture << " '" << c.text << "'";
    }
  }
}

TEST(NumberPicture, LongTargetsAreRangeChecked) {
  struct Case { std::string_view picture; std::string_view text; EntryError error; LONG value; };
  const EntryError ok = EntryError::kNone, range = EntryError::kOutOfRange;
  const Case cases[] = {
      {"@n-14", "2147483647", ok, 2147483647},
      {"@n-14", "2147483648", range, 0},
      {"@n-14", "-2147483648", ok, -2147483647 - 1},
      {"@n-14", "-2147483649", range, 0},
      {"@n-14", "99999999999999", range, 0},
      {"@n-14", "", ok, 0},
      {"@n-14", "x", EntryError::kNotANumber, 0},   // the entry's own errors come first
      {"@n5", "999999", EntryError::kTooWide, 0},
      {"@n-14.2", "-1.99", ok, -1},                 // a fraction is cut toward zero
      {"@n-14.2", "2147483647.99", ok, 2147483647},
  };
  for (const auto& c : cases) {
    const LongEntry e = Must(c.picture).DeformatLong(c.text);
    EXPECT_EQ(e.error, c.error) << c.picture << " '" << c.text << "'";
    if (c.error == ok) {
      EXPECT_EQ(e.value, c.value) << c.picture << " '" << c.text << "'";
    }
  }
}

TEST(NumberPicture, LongValuesSurviveTheRoundTrip) {
  const Picture p = Must("@n-14");
  for (const LONG v : {-2147483647 - 1, -1000000, -1, 0, 1, 42, 1234567, 2147483647}) {
    const LongEntry back = p.DeformatLong(p.FormatNumber(v));
    ASSERT_TRUE(back.ok()) << v;
    EXPECT_EQ(back.value, v);
  }
}

TEST(NumberPicture, TextValuesGoThroughTheNumber) {
  const Picture p = Must("@n-14.2");
  EXPECT_EQ(p.FormatText(" 4.5 "), "4.50");
  EXPECT_EQ(p.FormatText(""), "0.00");
  EXPECT_EQ(p.FormatText("four"), "##############");
  struct Case { std::string_view text; size_t target; EntryError error; std::string_view value; };
  const Case cases[] = {
      {"  4.5 ", 20, EntryError::kNone, "4.50"},
      {"-4.5", 5, EntryError::kNone, "-4.50"},
      {"-4.5", 4, EntryError::kTooWide, ""},
      {"x", 20, EntryError::kNotANumber, ""},
  };
  for (const auto& c : cases) {
    const TextEntry e = p.DeformatText(c.text, c.target);
    EXPECT_EQ(e.error, c.error) << c.text;
    if (e.ok()) {
      EXPECT_EQ(e.value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace qx
