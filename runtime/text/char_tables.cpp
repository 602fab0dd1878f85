// The default character tables, built once at compile time.
#include "runtime/text/char_tables.h"

#include <array>
#include <cstdint>

namespace qx {
namespace {

enum : std::uint8_t { kUpper = 1, kLower = 2, kDigit = 4 };

struct Tables {
  std::array<std::uint8_t, 256> classes{};
  std::array<char, 256> upper{};
  std::array<char, 256> lower{};
};

constexpr Tables MakeDefaultTables() {
  Tables t;
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<char>(i);
    t.lower[i] = static_cast<char>(i);
  }
  for (int i = 0; i < 26; ++i) {
    const int up = 'A' + i;
    const int low = 'a' + i;
    t.classes[up] = kUpper;
    t.classes[low] = kLower;
    t.upper[low] = static_cast<char>(up);
    t.lower[up] = static_cast<char>(low);
  }
  for (int i = '0'; i <= '9'; ++i) t.classes[i] = kDigit;
  return t;
}

constexpr Tables kTables = MakeDefaultTables();

constexpr unsigned char Index(char c) { return static_cast<unsigned char>(c); }

}  // namespace

bool RtIsUpperLetter(char c) { return kTables.classes[Index(c)] & kUpper; }
bool RtIsLowerLetter(char c) { return kTables.classes[Index(c)] & kLower; }
bool RtIsLetter(char c) { return kTables.classes[Index(c)] & (kUpper | kLower); }
bool RtIsDigit(char c) { return kTables.classes[Index(c)] & kDigit; }
char RtUpperChar(char c) { return kTables.upper[Index(c)]; }
char RtLowerChar(char c) { return kTables.lower[Index(c)]; }

}  // namespace qx
