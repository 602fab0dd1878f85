// The runtime's string operations: clipping, joining, searching, case conversion and
// matching without regard to case.
// Texts are byte strings; a STRING<N> or CSTRING<N> passes as its view (a STRING's view
// holds its padding blanks). Comparison as the runtime compares strings is
// RtCompareStrings in runtime/text/types.h.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// The text without its trailing blanks (only the blank, 20h, is removed; leading blanks
// and other characters stay).
std::string RtClip(std::string_view text);

// The two texts joined, first then second, nothing between them and nothing removed:
// clip first where the blanks of a STRING must not be carried along.
std::string RtConcat(std::string_view first, std::string_view second);

// Searches `text` for `searched` with exactly the same characters (case counts).
// Positions are 1-based. The candidate positions are `start`, `start` + `step`,
// `start` + 2 x `step`, ...; the result is the position of the first candidate at which
// the whole of `searched` occurs, or 0 when there is none. Also 0 when `searched` is
// empty, when `step` is below 1, or when `start` is below 1 or beyond the text.
// RtInString(text, s, 1, 1) is therefore the position of the first occurrence of s.
LONG RtInString(std::string_view text, std::string_view searched, LONG step = 1, LONG start = 1);

// The text with each lower-case letter of the character tables turned into its
// upper-case letter (runtime/text/char_tables.h); every other byte unchanged.
std::string RtUpper(std::string_view text);

// The text with each upper-case letter turned into its lower-case letter.
std::string RtLower(std::string_view text);

// Whether the two texts are equal when the letters of the character tables are taken
// without regard to case; other bytes must be equal. How names (of files, fields, keys,
// sections, switches) are matched: it never depends on the process's locale (strcasecmp
// does, and under a Turkish one "I" and "i" are no pair).
bool RtSameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qx
