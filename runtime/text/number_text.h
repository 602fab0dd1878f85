// Decimal text of numbers, for the number pictures (internal to runtime/text). Never
// depends on the locale: the point is always ".", there are no separators.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx::number_text {

// The most decimals a picture may show; REAL carries no more than about 15 digits.
inline constexpr int kMaxDecimals = 15;

// v (finite) with exactly `decimals` places (0 to kMaxDecimals), rounded with halves
// away from zero, a leading "-" when the rounded value is negative, no "-0".
std::string Fixed(REAL v, int decimals);

// The shortest plain decimal text that reads back as v: "42", "-1.5", "0.1",
// "100000000000000000000"; "0" for both zeros, empty for infinities and NaN.
std::string Plain(REAL v);

// Reads text that is already free of surrounding blanks: an optional "-" or "+", digits,
// an optional "." and digits after it; at least one digit in all. `max_decimals` < 0
// allows any number of decimals, otherwise at most that many (zeros beyond them are
// allowed). A "-" before a value other than zero needs `allow_negative`. Returns nullopt
// when the text has another form; a number too large for REAL reads as an infinity.
std::optional<REAL> Read(std::string_view text, int max_decimals, bool allow_negative);

}  // namespace qx::number_text
