// Day numbers: how the runtime stores a date in a LONG. The numbering counts days of the
// Gregorian calendar: 1 January 1801 is day 4, each following day adds 1, and
// 31 December 9999 is day 2994626 (so day 1 would be 29 December 1800). Only the numbers
// from 4 to 2994626 are dates; 0, and every other number, is "no date".
#pragma once

#include <optional>

#include "runtime/text/types.h"

namespace qx {

inline constexpr LONG kFirstDayNumber = 4;        // 1 January 1801
inline constexpr LONG kLastDayNumber = 2994626;   // 31 December 9999

// A date of the Gregorian calendar: month 1 to 12, day 1 to the month's length.
struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// True when the number is a date (kFirstDayNumber to kLastDayNumber).
bool RtIsValidDayNumber(LONG day_number);

// The day number of the date, or 0 when there is no such date (month outside 1 to 12,
// day outside the month, 29 February of a year that is not a leap year) or the date lies
// outside 1 January 1801 to 31 December 9999.
LONG RtDayNumber(int year, int month, int day);

// The date of a day number; nullopt when the number is no date.
std::optional<CalendarDate> RtDateOfDayNumber(LONG day_number);

// Today's date in this machine's local time, as a day number.
LONG RtToday();

}  // namespace qx
