// Date layouts from the locales' date formats: writing and reading dates through them.
#include "runtime/text/date_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

// The formats are those glibc's locales give as their D_FMT.
TEST(DateLayout, WritesTheLocaleFormsWithAFourDigitYear) {
  struct Case { std::string_view format; std::string_view written; };
  const Case cases[] = {
      {"%m/%d/%y", "01/05/2024"},             // C, en_US: two-digit year made four
      {"%d/%m/%Y", "05/01/2024"},             // fr_FR
      {"%d.%m.%Y", "05.01.2024"},             // de_DE
      {"%Y-%m-%d", "2024-01-05"},             // sv_SE
      {"%F", "2024-01-05"},
      {"%D", "01/05/2024"},
      {"%-d/%-m/%y", "5/1/2024"},             // no padding
      {"%e.%m.%Y", " 5.01.2024"},             // day padded with a blank
      {"%_m/%0e/%Y", " 1/05/2024"},           // padding flags
      {"%d.%m.%Y.", "05.01.2024."},           // closing text
      {"%d. %m. %y", "05. 01. 2024"},
      {"%Oy/%Om/%Od", "2024/01/05"},          // modifiers ignored
      {"%d/%m", "01/05/2024"},               // no year: the C form
      {"%d/%d/%Y", "01/05/2024"},             // day twice: the C form
      {"", "01/05/2024"},
      {"%d %b, %Y", "05/01/2024"},            // month name: numeric, same order
      {"%A %d %b %Y", "05/01/2024"},          // weekday and month names
      {"%OC%Oy %b %Od %A", "2024/01/05"},     // year, month name, day
      {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5", "2024\xe5\xb9\xb4" "01\xe6\x9c\x88" "05\xe6\x97\xa5"},  // ja_JP
      {"%d%%%m%%%Y", "05%01%2024"},
  };
  const CalendarDate date{2024, 1, 5};
  for (const auto& c : cases) {
    const DateLayout layout = DateLayout::FromFormat(c.format);
    EXPECT_EQ(layout.Format(date), c.written) << "'" << c.format << "'";
    // The width is that of a date with two-digit day and month.
    EXPECT_EQ(layout.width(), layout.Format(CalendarDate{2024, 12, 31}).size()) << "'" << c.format << "'";
  }
}

TEST(DateLayout, ReadsBackWhatItWrites) {
  const std::string_view formats[] = {"%m/%d/%y", "%d.%m.%Y", "%Y-%m-%d", "%-d/%-m/%y", "%e.%m.%Y",
                                      "%d.%m.%Y.", "%d. %m. %y", "%d %b, %Y", "%Y%m%d",
                                      "%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5"};
  const CalendarDate dates[] = {{1801, 1, 1}, {1999, 12, 31}, {2024, 2, 29}, {9999, 12, 31}};
  for (const auto format : formats) {
    const DateLayout layout = DateLayout::FromFormat(format);
    for (const auto& date : dates) {
      const std::string written = layout.Format(date);
      EXPECT_LE(written.size(), layout.width()) << written;
      const auto read = layout.Read(written);
      ASSERT_TRUE(read.has_value()) << "'" << format << "': " << written;
      EXPECT_EQ(*read, date) << "'" << format << "': " << written;
    }
  }
}

TEST(DateLayout, ReadingAcceptsShortFieldsAndBlanksButNotAnotherForm) {
  struct Case { std::string_view format; std::string_view text; std::optional<CalendarDate> read; };
  const CalendarDate jan5{2024, 1, 5};
  const Case cases[] = {
      {"%d.%m.%Y", "05.01.2024", jan5},
      {"%d.%m.%Y", "5.1.2024", jan5},
      {"%d.%m.%Y", "  05.01.2024  ", jan5},
      {"%d.%m.%Y", "05 . 01 . 2024", jan5},
      {"%d. %m. %y", "05.01.2024", jan5},     // blanks of the fixed text may be left out
      {"%d.%m.%Y.", "05.01.2024", jan5},      // so may the closing text
      {"%d.%m.%Y.", "05.01.2024.", jan5},
      {"%d.%m.%Y", "31.02.2024", CalendarDate{2024, 2, 31}},  // numbers only: no date check
      {"%d.%m.%Y", "05/01/2024", std::nullopt},
      {"%d.%m.%Y", "05.01.24", std::nullopt},   // the year needs four digits
      {"%d.%m.%Y", "05.01.20245", std::nullopt},
      {"%d.%m.%Y", "105.01.2024", std::nullopt},
      {"%d.%m.%Y", "05.01", std::nullopt},
      {"%d.%m.%Y", "05.01.", std::nullopt},
      {"%d.%m.%Y", "", std::nullopt},
      {"%d.%m.%Y", "ab.01.2024", std::nullopt},
      {"%d.%m.%Y", "05.01.2024x", std::nullopt},
      {"%d.%m.%Y.", "05.01.2024.x", std::nullopt},
      {"%d.%m.%Y", "-5.01.2024", std::nullopt},
      {"%m/%d/%y", "1/5/2024", jan5},
      {"%Y-%m-%d", "2024-1-5", jan5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateLayout::FromFormat(c.format).Read(c.text), c.read) << "'" << c.format << "' '" << c.text << "'";
  }
}

}  // namespace
}  // namespace qx
