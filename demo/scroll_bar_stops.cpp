// The scroll-bar stop generators and their module-wide state; see scroll_bar_stops.h.
#include "demo/scroll_bar_stops.h"

#include <cstdint>
#include <limits>

#include "runtime/text/char_tables.h"

namespace qx {
namespace {

// The 30 punctuation characters of the text stops: printable ASCII punctuation without
// < > { }, plus the blank and the pound sign of the Western code page (A3h).
bool IsStopPunctuation(unsigned char c) {
  switch (c) {
    case 0x20: case 0x21: case 0x22: case 0x23: case 0x24: case 0x25: case 0x26: case 0x27:
    case 0x28: case 0x29: case 0x2A: case 0x2B: case 0x2C: case 0x2D: case 0x2E: case 0x2F:
    case 0x3A: case 0x3B: case 0x3D: case 0x3F: case 0x40:
    case 0x5B: case 0x5C: case 0x5D: case 0x5E: case 0x5F: case 0x60:
    case 0x7C: case 0x7E: case 0xA3:
      return true;
    default:
      return false;
  }
}

// Width of the text generator's working fields (the set, the prefix, the cut values).
constexpr size_t kFieldWidth = 255;
// Characters of a stop after the prefix: four digits in base N + 1.
constexpr size_t kDigitsPerStop = 4;
// The longest key length whose four following characters still lie inside those fields.
constexpr LONG kMaxKeyLength = static_cast<LONG>(kFieldWidth - kDigitsPerStop);

// Module-wide state: one set for the whole program, shared by every browse thread without a
// lock. The runtime lock runs one program thread at a time, and a browse's Init and its 100
// Next calls never wait inside the platform, so no two sequences interleave.
REAL NumberStopLow = 0;
REAL NumberStopHigh = 0;
REAL NumberStopStep = 0;        // (high - low) / 99
LONG NumberStopIndex = 0;       // stops returned since the last InitNumberStops

STRING<kFieldWidth> StopCharacters;  // the set in ascending code, then blanks
LONG StopCharacterCount = 0;         // N
STRING<kFieldWidth> StopPrefix;      // leading characters shared by low and high
LONG StopPrefixLength = 0;
STRING<kDigitsPerStop> StopLowText;     // four characters of the low value after the prefix
STRING<kDigitsPerStop> StopHighText;    // the same of the filled-up high value
LONG StopLowValue = 0;               // StopLowText as four digits in base N + 1
LONG StopHighValue = 0;
LONG TextStopStep = 0;               // (high value - low value) / 99, cut toward zero
LONG TextStopIndex = 0;              // stops returned since the last InitTextStops

// One more stop returned; the count stays at its largest value rather than overflow.
LONG CountStop(LONG& index) {
  if (index < std::numeric_limits<LONG>::max()) ++index;
  return index;
}

void AddStopCharacter(unsigned char c) {
  StopCharacters[static_cast<size_t>(StopCharacterCount)] = static_cast<char>(c);
  ++StopCharacterCount;
}

void BuildStopCharacters(LONG flags) {
  StopCharacterCount = 0;
  StopCharacters.clear();
  // Each code is judged by the first class it belongs to, so a digit never enters through
  // the punctuation flag, nor a letter through any flag but its own.
  for (int code = 1; code <= 255; ++code) {
    const auto c = static_cast<unsigned char>(code);
    if (RtIsDigit(static_cast<char>(c))) {
      if (flags & kStopDigits) AddStopCharacter(c);
    } else if (IsStopPunctuation(c)) {
      if (flags & kStopPunctuation) AddStopCharacter(c);
    } else if (RtIsLetter(static_cast<char>(c)) && (flags & kStopUpperLetters)) {
      if (RtIsUpperLetter(static_cast<char>(c)) || (flags & kStopLowerLetters)) AddStopCharacter(c);
    }
  }
}

// The digit a character stands for: its 1-based place in the set, 0 for any character
// outside it. A blank outside the set counts 0 too, below every character of the set, as
// it sorts below them in a key: counted N + 1, one past the largest digit, it would carry
// into the digit before, so that a low value beginning with a blank came out above the
// high value and the stops ran backward and wrapped round.
LONG StopDigitOf(char c) {
  const size_t place = StopCharacters.view().substr(0, static_cast<size_t>(StopCharacterCount)).find(c);
  return place == std::string_view::npos ? 0 : static_cast<LONG>(place) + 1;
}

// Four characters read as a number in base N + 1, most significant first; trailing blanks
// count as 0 digits.
LONG StopValueOf(const STRING<kDigitsPerStop>& text) {
  const size_t used = text.clipped().size();
  LONG value = 0;
  for (size_t k = 0; k < kDigitsPerStop; ++k) {
    value *= StopCharacterCount + 1;
    if (k < used) value += StopDigitOf(text[k]);
  }
  return value;
}

// The character that digit d (0 to N) stands for; 0 stands for the set's first character.
char StopCharacterFor(LONG d) { return StopCharacters[d == 0 ? 0 : static_cast<size_t>(d - 1)]; }

}  // namespace

void InitNumberStops(REAL low, REAL high) {
  NumberStopLow = low;
  NumberStopHigh = high;
  NumberStopStep = (high - low) / 99.0;
  NumberStopIndex = 0;
}

REAL NextNumberStop() {
  const LONG n = CountStop(NumberStopIndex);
  if (n == 1) return NumberStopLow;
  if (n == 100) return NumberStopHigh;
  return NumberStopLow + NumberStopStep * static_cast<REAL>(n - 1);
}

void InitTextStops(std::string_view low, std::string_view high, LONG length, LONG flags,
                   BYTE lettersOnly) {
  if (lettersOnly != 0) flags = kStopUpperLetters;
  if (length < 0) length = 0;
  if (length > kMaxKeyLength) length = kMaxKeyLength;
  const auto keyLength = static_cast<size_t>(length);

  BuildStopCharacters(flags);

  STRING<kFieldWidth> lowText = low.substr(0, keyLength);
  STRING<kFieldWidth> highText = high.substr(0, keyLength);

  // A high value shorter than the key is filled up with the set's last character, so that
  // it lies above every value that begins with it (SMITH becomes SMITHZZZ...). An empty set
  // has no last character; its blank padding stands in, as for the digits of NextTextStop.
  const size_t highUsed = highText.clipped().size();
  if (highUsed < keyLength) {
    const char filler = StopCharacterFor(StopCharacterCount);
    for (size_t i = highUsed; i < keyLength + 1; ++i) highText[i] = filler;
  }

  size_t shared = 0;
  while (shared < keyLength && lowText[shared] == highText[shared]) ++shared;
  StopPrefixLength = static_cast<LONG>(shared);
  StopPrefix = lowText.view().substr(0, shared);

  StopLowText = lowText.view().substr(shared, kDigitsPerStop);
  StopHighText = highText.view().substr(shared, kDigitsPerStop);

  // Upper-case letters alone stand for both cases. The prefix is converted too: the browse
  // compares each stop with the upper-cased key value, and a prefix left in lower case
  // would put every stop above every key.
  if ((flags & kStopUpperLetters) && !(flags & kStopLowerLetters)) {
    for (size_t i = 0; i < kDigitsPerStop; ++i) {
      StopLowText[i] = RtUpperChar(StopLowText[i]);
      StopHighText[i] = RtUpperChar(StopHighText[i]);
    }
    for (size_t i = 0; i < shared; ++i) StopPrefix[i] = RtUpperChar(StopPrefix[i]);
  }

  // N is at most 92, so (N + 1)^4 and these values stay far below 2^31.
  StopLowValue = StopValueOf(StopLowText);
  StopHighValue = StopValueOf(StopHighText);
  TextStopStep = (StopHighValue - StopLowValue) / 99;  // C++ division cuts toward zero
  TextStopIndex = 0;
}

std::string NextTextStop() {
  const LONG n = CountStop(TextStopIndex);
  std::string stop(StopPrefix.view().substr(0, static_cast<size_t>(StopPrefixLength)));
  if (n == 1) {
    stop += StopLowText.view();
  } else if (n == 100) {
    stop += StopHighText.view();
  } else {
    // In 64 bits: calls past the 100th go on by the same step and must neither overflow
    // nor, below zero, yield a negative digit.
    const std::int64_t base = StopCharacterCount + 1;
    std::int64_t v = StopLowValue + static_cast<std::int64_t>(TextStopStep) * (n - 1);
    char digits[kDigitsPerStop];
    for (size_t k = kDigitsPerStop; k-- > 0;) {
      std::int64_t d = v % base;
      if (d < 0) d += base;
      v = (v - d) / base;
      digits[k] = StopCharacterFor(static_cast<LONG>(d));
    }
    stop.append(digits, kDigitsPerStop);
  }
  return stop;
}

TextStopState CurrentTextStopState() {
  TextStopState state;
  state.characters = StopCharacters.view().substr(0, static_cast<size_t>(StopCharacterCount));
  state.prefix = StopPrefix.view().substr(0, static_cast<size_t>(StopPrefixLength));
  state.lowText = StopLowText.str();
  state.highText = StopHighText.str();
  state.lowValue = StopLowValue;
  state.highValue = StopHighValue;
  state.step = TextStopStep;
  state.index = TextStopIndex;
  return state;
}

}  // namespace qx
