// Day numbers: anchors, leap years, validity, round trips over the whole range, today.
#include "runtime/text/day_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

namespace qx {
namespace {

// 1 January 1970 counted by hand: 169 years from 1801 with 41 leap days (1804 to 1968,
// without 1900) after day 4.
constexpr LONG kUnixEpochDay = 4 + 169 * 365 + 41;

TEST(DayNumbers, KnownDates) {
  struct Case { int y, m, d; LONG n; };
  const Case cases[] = {
      {1801, 1, 1, 4},
      {1801, 1, 2, 5},
      {1801, 12, 31, 368},
      {1802, 1, 1, 369},
      {1900, 1, 1, 36163},
      {1900, 2, 28, 36221},
      {1900, 3, 1, 36222},     // 1900 has no 29 February
      {1970, 1, 1, kUnixEpochDay},
      {2000, 1, 1, 72687},
      {2000, 2, 29, 72746},    // 2000 has one
      {2000, 3, 1, 72747},
      {9999, 12, 31, 2994626},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtDayNumber(c.y, c.m, c.d), c.n) << c.y << "-" << c.m << "-" << c.d;
    const auto date = RtDateOfDayNumber(c.n);
    ASSERT_TRUE(date.has_value()) << c.n;
    EXPECT_EQ(*date, (CalendarDate{c.y, c.m, c.d})) << c.n;
  }
}

TEST(DayNumbers, NoSuchDateIsZero) {
  struct Case { int y, m, d; };
  const Case cases[] = {
      {1900, 2, 29}, {2023, 2, 29}, {2024, 2, 30}, {2024, 4, 31}, {2024, 0, 1}, {2024, 13, 1},
      {2024, 1, 0},  {2024, 1, 32}, {2024, -1, 1}, {2024, 1, -1},
      {1800, 12, 31},                              // a real day, but before the first date
      {10000, 1, 1}, {0, 1, 1},     {-2024, 1, 1}, {INT_MAX, 1, 1}, {INT_MIN, 1, 1},
      {2024, INT_MAX, 1}, {2024, 1, INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(RtDayNumber(c.y, c.m, c.d), 0) << c.y << "-" << c.m << "-" << c.d;
  EXPECT_NE(RtDayNumber(2024, 2, 29), 0);
}

TEST(DayNumbers, ValidRangeIsFourToLastDay) {
  struct Case { LONG n; bool valid; };
  const Case cases[] = {
      {INT_MIN, false}, {-1, false}, {0, false}, {3, false}, {4, true},
      {2994626, true}, {2994627, false}, {INT_MAX, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtIsValidDayNumber(c.n), c.valid) << c.n;
    EXPECT_EQ(RtDateOfDayNumber(c.n).has_value(), c.valid) << c.n;
  }
}

TEST(DayNumbers, RoundTripAcrossTheWholeRange) {
  CalendarDate previous{};
  for (LONG n = kFirstDayNumber; n <= kLastDayNumber; n += 997) {
    const auto date = RtDateOfDayNumber(n);
    ASSERT_TRUE(date.has_value()) << n;
    ASSERT_EQ(RtDayNumber(date->year, date->month, date->day), n) << n;
    // 997 days are a little under three years: the year moves on by 2 or 3.
    if (previous.year != 0) {
      EXPECT_TRUE(date->year - previous.year == 2 || date->year - previous.year == 3) << n;
    }
    previous = *date;
  }
  EXPECT_EQ(RtDayNumber(9999, 12, 31), kLastDayNumber);
}

TEST(DayNumbers, LeapFebruariesHaveTwentyNineDays) {
  struct Case { int year; int february_days; };
  const Case cases[] = {{1804, 29}, {1900, 28}, {2000, 29}, {2023, 28}, {2024, 29}, {2100, 28}, {9996, 29}};
  for (const auto& c : cases) {
    int days = 0;
    for (LONG n = RtDayNumber(c.year, 1, 1); n < RtDayNumber(c.year + 1, 1, 1); ++n) {
      days += RtDateOfDayNumber(n)->month == 2;
    }
    EXPECT_EQ(days, c.february_days) << c.year;
  }
}

// Today under two fixed time zones 26 hours apart (POSIX TZ strings need no zone data):
// at every moment their dates differ, and each is UTC's day moved by its offset.
TEST(DayNumbers, TodayFollowsTheLocalTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string old_tz = saved ? saved : "";
  struct Case { const char* tz; long offset_seconds; };
  const Case cases[] = {{"QXE-14", 14 * 3600L}, {"QXW+12", -12 * 3600L}};
  for (const auto& c : cases) {
    ::setenv("TZ", c.tz, 1);
    const std::time_t before = std::time(nullptr);
    const LONG today = RtToday();
    const std::time_t after = std::time(nullptr);
    const LONG expected_before = kUnixEpochDay + static_cast<LONG>((before + c.offset_seconds) / 86400);
    const LONG expected_after = kUnixEpochDay + static_cast<LONG>((after + c.offset_seconds) / 86400);
    EXPECT_TRUE(today == expected_before || today == expected_after) << c.tz << ": " << today;
  }
  if (saved) ::setenv("TZ", old_tz.c_str(), 1); else ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace qx
