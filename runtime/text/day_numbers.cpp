// Day numbers through the C++ calendar types: a day number is the distance in days from
// 28 December 1800 (day 0).
#include "runtime/text/day_numbers.h"

#include <chrono>
#include <ctime>

namespace qx {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// sys_days of day number 0 (28 December 1800), so that 1 January 1801 is day 4.
constexpr sys_days kDayZero = sys_days(year_month_day(year(1800), month(12), day(28)));

}  // namespace

bool RtIsValidDayNumber(LONG day_number) {
  return day_number >= kFirstDayNumber && day_number <= kLastDayNumber;
}

LONG RtDayNumber(int y, int m, int d) {
  // Checked before the calendar types see them: they hold only small ranges.
  if (y < 1801 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return 0;
  const year_month_day date(year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d)));
  if (!date.ok()) return 0;
  return static_cast<LONG>((sys_days(date) - kDayZero).count());
}

std::optional<CalendarDate> RtDateOfDayNumber(LONG day_number) {
  if (!RtIsValidDayNumber(day_number)) return std::nullopt;
  const year_month_day date(kDayZero + std::chrono::days(day_number));
  return CalendarDate{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                      static_cast<int>(static_cast<unsigned>(date.day()))};
}

LONG RtToday() {
  ::tzset();  // localtime_r need not look at TZ again by itself
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return 0;
  return RtDayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace qx
