// The written form of a date as numbers: day, month and year in some order, each with
// its padding, and fixed texts before, between and after them ("dd/mm/yyyy",
// "yyyy-mm-dd", "dd.mm.yyyy", "yyyy年mm月dd日"). The year is always written with four
// digits. Date pictures (runtime/text/picture.h) show and read dates through a layout;
// the short date form of this machine comes from the locale's LC_TIME, which
// RtUseUserDateLocale gives the process.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/day_numbers.h"

namespace qx {

class DateLayout {
 public:
  // The layout a strftime-style date format describes, as the locale gives it in
  // nl_langinfo(D_FMT). Understood: %d and %e (day; %e pads with a blank), %m (month),
  // %y and %Y (year, both taken as four digits), %D (= %m/%d/%y), %F (= %Y-%m-%d), %%,
  // the padding flags "-" (none), "_" (blank), "0" (zero), and the modifiers E and O
  // (ignored). Everything else is fixed text, except:
  //  - a format that also holds month or weekday names (%b, %B, %h, %a, %A) or any other
  //    conversion becomes the numeric form in the same order of day, month and year,
  //    with "/" between them ("%d %b %Y" gives dd/mm/yyyy);
  //  - a format that does not name each of day, month and year exactly once becomes
  //    mm/dd/yyyy.
  static DateLayout FromFormat(std::string_view format);

  // This thread's LC_TIME short date form (nl_langinfo(D_FMT)) through FromFormat; in
  // the C locale "%m/%d/%y", that is mm/dd/yyyy. Read afresh at every call, so a
  // locale set later is honoured.
  static DateLayout LocaleShortDate();

  // The date written in this layout. Day and month have two places (with the layout's
  // padding), the year four digits.
  std::string Format(const CalendarDate& date) const;

  // Reads text written in this layout: blanks before and after each field and fixed text
  // are ignored, day and month may have one or two digits, the year must have exactly
  // four digits, and the fixed texts (without their outer blanks) must stand as in the
  // layout, except that a fixed text after the last field may be left out. Returns the numbers as read, nullopt when the text
  // does not have the layout's form. Whether the numbers make a date is for the caller
  // to check (RtDayNumber).
  std::optional<CalendarDate> Read(std::string_view text) const;

  // The most characters (bytes) Format produces.
  size_t width() const;

 private:
  enum class Field : char { kDay, kMonth, kYear };
  struct Part {
    Field field;
    char pad;  // '0', ' ', or '\0' for no padding
  };
  class Builder;

  // literals_[k] stands before parts_[k]; literals_[3] after the last part.
  std::array<std::string, 4> literals_;
  std::array<Part, 3> parts_{};
};

// Gives the process the user's locale (LC_ALL, LC_TIME, LANG) for dates and C for every
// other category, so that @d17 shows this machine's short date form while numbers are read
// and written with "." and case follows the character tables whatever the user's
// language. A locale that is not installed leaves dates in the C form. Process-wide
// (setlocale): call while no other thread runs, at the process entry and again after
// anything that sets the locale itself (a QApplication takes all of it from the
// environment).
void RtUseUserDateLocale();

}  // namespace qx
