// Parsing pictures and converting values through them in both directions.
#include "runtime/text/picture.h"

#include <algorithm>
#include <cmath>

#include "runtime/text/char_tables.h"
#include "runtime/text/date_layout.h"
#include "runtime/text/day_numbers.h"
#include "runtime/text/number_text.h"

namespace qx {
namespace {

constexpr size_t kMaxWidth = 65535;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return RtClipView(s);
}

// Reads a run of digits from the front of s; nullopt when there is none. Values above
// kMaxWidth come back as kMaxWidth + 1, so that they are refused without overflowing.
std::optional<size_t> ReadCount(std::string_view& s) {
  size_t n = 0;
  size_t value = 0;
  while (n < s.size() && RtIsDigit(s[n])) {
    value = std::min(value * 10 + static_cast<size_t>(s[n] - '0'), kMaxWidth + 1);
    ++n;
  }
  if (n == 0) return std::nullopt;
  s.remove_prefix(n);
  return value;
}

bool Consume(std::string_view& s, char c) {
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

DateLayout LayoutFor(int date_form) {
  static const DateLayout kMonthDayYear = DateLayout::FromFormat("%m/%d/%Y");
  static const DateLayout kDayMonthYear = DateLayout::FromFormat("%d/%m/%Y");
  static const DateLayout kYearMonthDay = DateLayout::FromFormat("%Y/%m/%d");
  switch (date_form) {
    case 2: return kMonthDayYear;
    case 6: return kDayMonthYear;
    case 10: return kYearMonthDay;
    default: return DateLayout::LocaleShortDate();
  }
}

// The display text of a number picture, or nullopt when the number does not fit it.
std::optional<std::string> NumberDisplay(REAL v, size_t width, int decimals, bool negative) {
  if (!std::isfinite(v)) return std::nullopt;
  std::string text = number_text::Fixed(v, decimals);
  if (text.front() == '-' && !negative) return std::nullopt;
  if (width != 0 && text.size() > width) return std::nullopt;
  return text;
}

}  // namespace

std::optional<Picture> Picture::Parse(std::string_view text) {
  std::string_view s = RtClipView(text);
  if (Consume(s, '@') && !s.empty() && s.back() == '@') s.remove_suffix(1);
  if (s.empty()) return std::nullopt;
  const char family = RtLowerChar(s.front());
  s.remove_prefix(1);
  switch (family) {
    case 'n': {
      const bool negative = Consume(s, '-');
      const size_t width = ReadCount(s).value_or(0);
      size_t decimals = 0;
      if (Consume(s, '.')) {
        const std::optional<size_t> d = ReadCount(s);
        if (!d) return std::nullopt;
        decimals = *d;
      }
      if (!s.empty() || width > kMaxWidth || decimals > static_cast<size_t>(number_text::kMaxDecimals)) {
        return std::nullopt;
      }
      // With decimals the smallest number, "0.0...", needs decimals + 2 characters.
      if (width != 0 && decimals > 0 && width < decimals + 2) return std::nullopt;
      return Picture(PictureKind::kNumber, width, static_cast<int>(decimals), negative, 0);
    }
    case 's': {
      const std::optional<size_t> width = ReadCount(s);
      if (!width || *width == 0 || *width > kMaxWidth || !s.empty()) return std::nullopt;
      return Picture(PictureKind::kString, *width, 0, false, 0);
    }
    case 'd': {
      const std::optional<size_t> form = ReadCount(s);
      if (!form || !s.empty()) return std::nullopt;
      if (*form != 2 && *form != 6 && *form != 10 && *form != 17) return std::nullopt;
      return Picture(PictureKind::kDate, 0, 0, false, static_cast<int>(*form));
    }
    default: return std::nullopt;
  }
}

size_t Picture::width() const { return kind_ == PictureKind::kDate ? LayoutFor(date_form_).width() : width_; }

std::string Picture::Overflow() const { return std::string(width_ == 0 ? 1 : width_, '#'); }

std::string Picture::FormatNumber(REAL value) const {
  switch (kind_) {
    case PictureKind::kNumber: return NumberDisplay(value, width_, decimals_, negative_).value_or(Overflow());
    case PictureKind::kString: return FormatText(number_text::Plain(value));
    case PictureKind::kDate: break;
  }
  // Compared as a REAL first: the cast of a number outside LONG would be undefined.
  if (!(value >= kFirstDayNumber && value < kLastDayNumber + 1.0)) return std::string();
  const std::optional<CalendarDate> date = RtDateOfDayNumber(static_cast<LONG>(value));
  return date ? LayoutFor(date_form_).Format(*date) : std::string();
}

std::string Picture::FormatText(std::string_view value) const {
  if (kind_ == PictureKind::kString) return std::string(RtClipView(value.substr(0, width_)));
  const NumberEntry read = DeformatNumber(value);
  if (read.ok()) return FormatNumber(read.value);
  return kind_ == PictureKind::kNumber ? Overflow() : std::string();
}

NumberEntry Picture::DeformatNumber(std::string_view text) const {
  const std::string_view trimmed = TrimBlanks(text);
  switch (kind_) {
    case PictureKind::kNumber: {
      if (trimmed.empty()) return {};
      const std::optional<REAL> v = number_text::Read(trimmed, decimals_, negative_);
      if (!v) return {EntryError::kNotANumber};
      if (!NumberDisplay(*v, width_, decimals_, negative_)) return {EntryError::kTooWide};
      return {EntryError::kNone, *v};
    }
    case PictureKind::kString: {
      if (RtClipView(text).size() > width_) return {EntryError::kTooWide};
      if (trimmed.empty()) return {};
      const std::optional<REAL> v = number_text::Read(trimmed, -1, true);
      if (!v) return {EntryError::kNotANumber};
      if (!std::isfinite(*v)) return {EntryError::kOutOfRange};
      return {EntryError::kNone, *v};
    }
    case PictureKind::kDate: break;
  }
  if (trimmed.empty()) return {};
  const std::optional<CalendarDate> date = LayoutFor(date_form_).Read(trimmed);
  if (!date) return {EntryError::kNotADate};
  if (date->year < 1801) return {EntryError::kOutOfRange};
  const LONG day_number = RtDayNumber(date->year, date->month, date->day);
  if (day_number == 0) return {EntryError::kNotADate};
  return {EntryError::kNone, static_cast<REAL>(day_number)};
}

LongEntry Picture::DeformatLong(std::string_view text) const {
  const NumberEntry read = DeformatNumber(text);
  if (!read.ok()) return {read.error};
  const double whole = std::trunc(read.value);
  if (whole < -2147483648.0 || whole > 2147483647.0) return {EntryError::kOutOfRange};
  return {EntryError::kNone, static_cast<LONG>(whole)};
}

TextEntry Picture::DeformatText(std::string_view text, size_t target_width) const {
  if (kind_ == PictureKind::kString) {
    const std::string_view value = RtClipView(text);
    if (value.size() > std::min(width_, target_width)) return {EntryError::kTooWide};
    return {EntryError::kNone, std::string(value)};
  }
  const NumberEntry read = DeformatNumber(text);
  if (!read.ok()) return {read.error};
  std::string shown = FormatNumber(read.value);
  if (shown.size() > target_width) return {EntryError::kTooWide};
  return {EntryError::kNone, std::move(shown)};
}

}  // namespace qx
