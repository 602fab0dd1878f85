// Date pictures: the fixed forms, the locale's short date form (in the C locale and in
// one other locale), blank display of non-dates, entries.
#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <string>

#include "runtime/text/day_numbers.h"
#include "runtime/text/picture.h"
#include "tests/support/locales.h"

namespace qx {
namespace {

// The parsed picture; a picture that does not parse fails the test (and a valid
// stand-in is returned so that the test can go on).
Picture Must(std::string_view text) {
  const auto p = Picture::Parse(text);
  if (!p) ADD_FAILURE() << "picture '" << text << "' does not parse";
  return p ? *p : *Picture::Parse("@d2");
}

// Runs the test on this thread under one LC_TIME locale, restoring the thread's locale.
class TimeLocale : public testing::ThreadLocale {
 public:
  explicit TimeLocale(const char* name) : ThreadLocale(name, LC_TIME_MASK) {}
};

constexpr LONG kNewYear1801 = 4;
constexpr LONG kLastDay = 2994626;
// 1 January 2000 is 72687; 24 years with 6 leap days later comes 1 January 2024, and
// 2024 has 366 days.
constexpr LONG kDec31of2024 = 72687 + 24 * 365 + 6 + 365;

TEST(DatePicture, ParsesTheKnownForms) {
  for (const std::string_view text : {"@d17", "@D17", "d17", "@d2", "@d6", "@d10", "@d17@", "@d017"}) {
    const auto p = Picture::Parse(text);
    ASSERT_TRUE(p.has_value()) << text;
    EXPECT_EQ(p->kind(), PictureKind::kDate) << text;
  }
  for (const std::string_view text : {"@d", "@d0", "@d1", "@d3", "@d18", "@d17x", "@d-17", "@d6.2"}) {
    EXPECT_FALSE(Picture::Parse(text).has_value()) << text;
  }
}

TEST(DatePicture, ShowsTheFixedFormsAndTheCLocaleForm) {
  TimeLocale c_locale("C");
  ASSERT_TRUE(c_locale.ok());
  struct Case { std::string_view picture; double day_number; std::string_view text; };
  const Case cases[] = {
      {"@d2", kDec31of2024, "12/31/2024"},
      {"@d6", kDec31of2024, "31/12/2024"},
      {"@d10", kDec31of2024, "2024/12/31"},
      {"@d17", kDec31of2024, "12/31/2024"},     // C: %m/%d/%y with the year made four digits
      {"@d6", kNewYear1801, "01/01/1801"},
      {"@d6", kLastDay, "31/12/9999"},
      {"@d6", 72687.9, "01/01/2000"},           // a fraction is cut off
      // No date: shown blank.
      {"@d17", 0, ""}, {"@d17", 3, ""}, {"@d17", 3.9, ""}, {"@d17", kLastDay + 1, ""}, {"@d17", -5, ""},
      {"@d17", 1e12, ""}, {"@d17", -1e12, ""}, {"@d17", NAN, ""}, {"@d17", INFINITY, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Must(c.picture).FormatNumber(c.day_number), c.text) << c.picture << " " << c.day_number;
  for (const std::string_view text : {"@d2", "@d6", "@d10", "@d17"}) EXPECT_EQ(Must(text).width(), 10u) << text;
}

TEST(DatePicture, ReadsEntries) {
  TimeLocale c_locale("C");
  ASSERT_TRUE(c_locale.ok());
  struct Case { std::string_view picture; std::string_view text; EntryError error; LONG day_number; };
  const EntryError ok = EntryError::kNone, not_a_date = EntryError::kNotADate, range = EntryError::kOutOfRange;
  const Case cases[] = {
      {"@d6", "", ok, 0},                       // empty: no date
      {"@d6", "   ", ok, 0},
      {"@d6", "31/12/2024", ok, kDec31of2024},
      {"@d6", " 31/12/2024 ", ok, kDec31of2024},
      {"@d6", "1/1/1801", ok, kNewYear1801},
      {"@d6", "31/12/9999", ok, kLastDay},
      {"@d6", "29/02/2000", ok, RtDayNumber(2000, 2, 29)},
      {"@d6", "29/02/1900", not_a_date, 0},
      {"@d6", "31/02/2024", not_a_date, 0},
      {"@d6", "00/12/2024", not_a_date, 0},
      {"@d6", "13/13/2024", not_a_date, 0},
      {"@d6", "31/12/1800", range, 0},          // a real day before the first date
      {"@d6", "01/01/0000", range, 0},
      {"@d6", "31/12/24", not_a_date, 0},
      {"@d6", "2024/12/31", not_a_date, 0},
      {"@d6", "31.12.2024", not_a_date, 0},
      {"@d6", "tomorrow", not_a_date, 0},
      {"@d2", "12/31/2024", ok, kDec31of2024},
      {"@d2", "31/12/2024", not_a_date, 0},
      {"@d10", "2024/12/31", ok, kDec31of2024},
      {"@d17", "12/31/2024", ok, kDec31of2024},
  };
  for (const auto& c : cases) {
    const Picture p = Must(c.picture);
    const NumberEntry e = p.DeformatNumber(c.text);
    EXPECT_EQ(e.error, c.error) << c.picture << " '" << c.text << "'";
    const LongEntry l = p.DeformatLong(c.text);
    EXPECT_EQ(l.error, c.error) << c.picture << " '" << c.text << "'";
    if (c.error == ok) {
      EXPECT_EQ(l.value, c.day_number) << c.picture << " '" << c.text << "'";
    }
  }
}

TEST(DatePicture, EveryDateSurvivesTheRoundTrip) {
  TimeLocale c_locale("C");
  ASSERT_TRUE(c_locale.ok());
  for (const std::string_view text : {"@d2", "@d6", "@d10", "@d17"}) {
    const Picture p = Must(text);
    for (LONG n = kNewYear1801; n <= kLastDay; n += 4999) {
      const LongEntry back = p.DeformatLong(p.FormatNumber(n));
      ASSERT_TRUE(back.ok()) << text << " " << n;
      ASSERT_EQ(back.value, n) << text;
    }
    EXPECT_EQ(p.DeformatLong(p.FormatNumber(kLastDay)).value, kLastDay);
  }
}

TEST(DatePicture, TextValuesAndTextTargetsUseTheDisplayForm) {
  const Picture p = Must("@d6");
  EXPECT_EQ(p.FormatText("31/12/2024"), "31/12/2024");
  EXPECT_EQ(p.FormatText(" 1/2/2024"), "01/02/2024");
  EXPECT_EQ(p.FormatText("garbage"), "");
  EXPECT_EQ(p.DeformatText("1/1/2000", 10).value, "01/01/2000");
  EXPECT_EQ(p.DeformatText("1/1/2000", 8).error, EntryError::kTooWide);
  EXPECT_EQ(p.DeformatText("", 8).value, "");
  EXPECT_EQ(p.DeformatText("31/02/2024").error, EntryError::kNotADate);
}

// A second locale: the German one, whose short date form is dd.mm.yyyy.
class GermanLocaleTest : public ::testing::Test {
 protected:
  static constexpr const char* kName = testing::kGermanLocale;

  void SetUp() override {
    if (!testing::LocaleAvailable(kName)) GTEST_SKIP() << testing::LocaleMissing(kName);
  }
};

TEST_F(GermanLocaleTest, ShortDateFollowsTheLocale) {
  const Picture p = Must("@d17");
  {
    TimeLocale german(kName);
    ASSERT_TRUE(german.ok());
    ASSERT_STREQ(::nl_langinfo(D_FMT), "%d.%m.%Y");
    EXPECT_EQ(p.FormatNumber(kDec31of2024), "31.12.2024");
    EXPECT_EQ(p.width(), 10u);
    EXPECT_EQ(p.DeformatLong("31.12.2024").value, kDec31of2024);
    EXPECT_EQ(p.DeformatLong("1.2.2024").value, RtDayNumber(2024, 2, 1));
    EXPECT_EQ(p.DeformatLong("12/31/2024").error, EntryError::kNotADate);
    EXPECT_EQ(Must("@d2").FormatNumber(kDec31of2024), "12/31/2024");  // fixed forms stay
  }
  TimeLocale c_locale("C");  // a change of locale is seen at once
  EXPECT_EQ(p.FormatNumber(kDec31of2024), "12/31/2024");
}

}  // namespace
}  // namespace qx
