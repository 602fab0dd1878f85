// Scroll-bar stops of qxmora's browses: two generators that spread 100 values evenly between
// the key of the first and the key of the last record of a sort order, one for LONG keys
// (number stops) and one for STRING keys (text stops). A browse keeps the 100 values to
// place its 0-100 thumb for the selected record and to turn a dropped thumb into a record.
//
// Use: one Init call, then exactly 100 Next calls, which return stop 1, stop 2, ... stop 100
// in turn. Stop 1 is always the low value and stop 100 always the high value. Fewer Next
// calls leave a generator mid-way (the next Init starts it afresh); a 101st call goes on past
// the high value by the same step.
//
// Threads: each generator's state is module-wide, one set for the whole program, shared by
// every browse thread, and deliberately has no lock. The runtime lock
// (runtime/sys/runtime_lock.h) lets one program thread at a time run program code and
// switches threads only while a thread waits inside the platform; a browse runs its Init and
// its 100 Next calls without waiting in between, so two browses' sequences never interleave.
// Code outside the program threads must not run a sequence while browses may run one.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// Prepares the number stops for the range low to high; high may also be equal to or below
// low. The step between stops is (high - low) / 99.
void InitNumberStops(REAL low, REAL high);

// The next number stop: call n (1-based since the last InitNumberStops) returns low for
// n = 1, high for n = 100 (exactly, without rounding), and low + step x (n - 1) otherwise.
REAL NextNumberStop();

// Flag bits of InitTextStops, choosing the characters the text stops are made of. The set
// is always taken in ascending character code, whatever class a character belongs to.
enum TextStopFlags : LONG {
  kStopUpperLetters = 1,  // A to Z
  kStopPunctuation = 2,   // blank, 21h-2Fh, 3Ah, 3Bh, 3Dh, 3Fh, 40h, 5Bh-60h, 7Ch, 7Eh, A3h
  kStopDigits = 4,        // 0 to 9
  kStopLowerLetters = 8,  // with kStopUpperLetters only: a to z too, and values keep their case
};

// Prepares the text stops between low and high, the key values of the first and the last
// record. length is the length of the key field: only the first length characters of each
// value take part; it is taken as 0 when negative and as 251 when above (the most that the
// 255-character working fields hold with the four characters after it). flags are
// TextStopFlags bits; a non-zero lettersOnly replaces flags by kStopUpperLetters.
//
// The stops share the leading characters that low and high have in common (the prefix;
// letter case counts when comparing) and spread the four characters after it. A high value
// shorter than length is first filled up to length + 1 characters with the last character of
// the set (Z for upper-case letters), so that SMITH to SMITH still gives a range.
// With kStopUpperLetters but not kStopLowerLetters, upper-case letters stand for both cases:
// the prefix and the four characters are converted to upper case. The four characters are read as a number in
// base N + 1 (N characters in the set): a character of the set is its place 1 to N, any
// other character 0 (a blank not in the set too), and trailing blanks 0.
void InitTextStops(std::string_view low, std::string_view high, LONG length, LONG flags,
                   BYTE lettersOnly);

// The next text stop: the prefix followed by four characters. Call 1 gives the low value's
// four characters and call 100 the high value's, blanks included; every other call gives four
// characters of the set (the low value plus step x (n - 1), where step is the difference of
// the two values divided by 99 and cut toward zero). Digit 0 is shown as the set's first
// character, like digit 1, so neighbouring stops may step back a little where a digit is 0
// (SMITH to SMITH: stop 4 SMITHAVBL, stop 5 SMITHABLG); the stop at a given number is what
// counts. With an empty set every such stop is the prefix followed by four blanks.
std::string NextTextStop();

// A copy of the text generator's state: what the last InitTextStops derived and how many
// stops were returned since. For diagnostics and tests; reading it changes nothing.
struct TextStopState {
  std::string characters;  // the set in ascending code; its size is N
  std::string prefix;      // the leading characters that every stop carries
  std::string lowText;     // the four characters of the low value after the prefix
  std::string highText;    // the same of the (filled-up) high value
  LONG lowValue = 0;       // lowText read as four digits in base N + 1
  LONG highValue = 0;
  LONG step = 0;           // (highValue - lowValue) / 99, cut toward zero
  LONG index = 0;          // stops returned since the last InitTextStops
};
TextStopState CurrentTextStopState();

}  // namespace qx
