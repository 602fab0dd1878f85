// Rounding, writing and reading decimal numbers without the locale's help.
#include "runtime/text/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/text/char_tables.h"

namespace qx::number_text {
namespace {

constexpr double kPow10[kMaxDecimals + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Below this every integer is exact in a REAL, so rounding can go through an integer.
constexpr double kExactIntegers = 9007199254740992.0;  // 2^53

// Enough for the largest REAL written out in full with kMaxDecimals places.
constexpr size_t kBufferSize = 400;

}  // namespace

std::string Fixed(REAL v, int decimals) {
  const double scaled = v * kPow10[decimals];
  if (std::fabs(scaled) < kExactIntegers) {
    const long long rounded = std::llround(scaled);  // halves away from zero
    const bool negative = rounded < 0;
    std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(rounded)
                                                 : static_cast<unsigned long long>(rounded));
    const size_t places = static_cast<size_t>(decimals);
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    if (places > 0) digits.insert(digits.size() - places, ".");
    if (negative) digits.insert(0, "-");
    return digits;
  }
  // So large that its places are far beyond a REAL's precision: no halves to round.
  char buf[kBufferSize];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

std::string Plain(REAL v) {
  if (!std::isfinite(v)) return std::string();
  if (v == 0) return "0";
  char buf[kBufferSize];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  return std::string(buf, res.ptr);
}

std::optional<REAL> Read(std::string_view text, int max_decimals, bool allow_negative) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const size_t int_begin = i;
  while (i < text.size() && RtIsDigit(text[i])) ++i;
  const std::string_view int_digits = text.substr(int_begin, i - int_begin);
  std::string_view frac_digits;
  if (i < text.size() && text[i] == '.') {
    const size_t frac_begin = ++i;
    while (i < text.size() && RtIsDigit(text[i])) ++i;
    frac_digits = text.substr(frac_begin, i - frac_begin);
  }
  if (i != text.size() || (int_digits.empty() && frac_digits.empty())) return std::nullopt;
  while (!frac_digits.empty() && frac_digits.back() == '0') frac_digits.remove_suffix(1);
  if (max_decimals >= 0 && frac_digits.size() > static_cast<size_t>(max_decimals)) return std::nullopt;

  std::string digits(int_digits.empty() ? "0" : int_digits);
  if (!frac_digits.empty()) {
    digits += '.';
    digits += frac_digits;
  }
  double value = 0;
  const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large, or so small that it is zero for a REAL.
    const bool large = int_digits.find_first_not_of('0') != std::string_view::npos;
    value = large ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) return std::nullopt;
  if (value == 0) return 0.0;  // "-0" is zero, whatever the picture's sign
  if (negative && !allow_negative) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace qx::number_text
