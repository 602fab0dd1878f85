// The scroll-bar stop generators: number stops, text stops, their character sets, and how
// a browse keeps the results (LONG cut toward zero, STRING(20)).
#include "demo/scroll_bar_stops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace qx {
namespace {

// One sequence as a browse runs it: Init, then exactly 100 Next calls.
std::vector<REAL> NumberStops(REAL low, REAL high) {
  InitNumberStops(low, high);
  std::vector<REAL> stops;
  for (int i = 0; i < 100; ++i) stops.push_back(NextNumberStop());
  return stops;
}

std::vector<std::string> TextStops(std::string_view low, std::string_view high, LONG length = 20,
                                   LONG flags = kStopUpperLetters, BYTE lettersOnly = 0) {
  InitTextStops(low, high, length, flags, lettersOnly);
  std::vector<std::string> stops;
  for (int i = 0; i < 100; ++i) stops.push_back(NextTextStop());
  return stops;
}

// The browse keeps a number stop as a LONG, cut toward zero.
LONG StoredNumberStop(REAL stop) { return static_cast<LONG>(std::trunc(stop)); }

TEST(NumberStops, StopsOfARange) {
  struct Case { REAL low, high; int n; REAL stop; LONG stored; };
  const Case cases[] = {
      {0, 10, 1, 0.0, 0},
      {0, 10, 2, 10.0 / 99, 0},        // 0.10101...
      {0, 10, 99, 10.0 * 98 / 99, 9},  // 9.8989...
      {0, 10, 100, 10.0, 10},
      {7, 7, 1, 7.0, 7},
      {7, 7, 50, 7.0, 7},
      {7, 7, 100, 7.0, 7},
      {100, 1, 2, 99.0, 99},           // a range that runs downward
      {100, 1, 100, 1.0, 1},
      {-50, 49, 2, -49.0, -49},
      // 0 + (27 / 99) x 99 is 26.999999999999996 in doubles; the last stop is the high
      // value itself, so the browse keeps 27 and not 26.
      {0, 27, 100, 27.0, 27},
  };
  for (const auto& c : cases) {
    const auto stops = NumberStops(c.low, c.high);
    const REAL stop = stops[static_cast<size_t>(c.n - 1)];
    EXPECT_DOUBLE_EQ(stop, c.stop) << c.low << " to " << c.high << ", stop " << c.n;
    EXPECT_EQ(StoredNumberStop(stop), c.stored) << c.low << " to " << c.high << ", stop " << c.n;
  }
}

TEST(NumberStops, OneToHundredGivesEveryWholeNumber) {
  const auto stops = NumberStops(1, 100);
  for (int n = 1; n <= 100; ++n) {
    EXPECT_EQ(StoredNumberStop(stops[static_cast<size_t>(n - 1)]), n) << "stop " << n;
  }
}

TEST(NumberStops, CallsPastTheHundredthGoOnByTheStep) {
  NumberStops(1, 100);
  EXPECT_DOUBLE_EQ(NextNumberStop(), 101.0);
  EXPECT_DOUBLE_EQ(NextNumberStop(), 102.0);
  NumberStops(0, 10);
  EXPECT_DOUBLE_EQ(NextNumberStop(), 1000.0 / 99);
}

TEST(StopGenerators, InitStartsASequenceAfreshAndTheTwoDoNotShareState) {
  InitNumberStops(1, 100);
  NextNumberStop();
  NextNumberStop();
  InitTextStops("ADAMS", "ZHANG", 20, kStopUpperLetters, 0);
  NextTextStop();
  // A text sequence in between does not move the number sequence on.
  EXPECT_DOUBLE_EQ(NextNumberStop(), 3.0);
  EXPECT_EQ(NextTextStop(), "AJXQ");

  InitNumberStops(500, 600);  // left mid-way, then started again
  EXPECT_DOUBLE_EQ(NextNumberStop(), 500.0);
  InitTextStops("SMITH", "SMYTH", 20, kStopUpperLetters, 0);
  EXPECT_EQ(NextTextStop(), "SMITH ");
  EXPECT_EQ(CurrentTextStopState().index, 1);
}

TEST(TextStops, AdamsToZhang) {
  const auto stops = TextStops("ADAMS", "ZHANG");
  const TextStopState state = CurrentTextStopState();
  EXPECT_EQ(state.prefix, "");
  EXPECT_EQ(state.lowText, "ADAM");
  EXPECT_EQ(state.highText, "ZHAN");
  EXPECT_EQ(state.lowValue, 22639);   // digits 1, 4, 1, 13 in base 27
  EXPECT_EQ(state.highValue, 517631); // digits 26, 8, 1, 14
  EXPECT_EQ(state.step, 4999);        // 494992 / 99 = 4999.9..., cut
  EXPECT_EQ(state.index, 100);

  const std::pair<int, const char*> expected[] = {
      {1, "ADAM"}, {2, "AJXQ"}, {3, "AQTU"}, {50, "MPAT"}, {99, "ZABA"}, {100, "ZHAN"}};
  for (const auto& [n, stop] : expected) EXPECT_EQ(stops[static_cast<size_t>(n - 1)], stop) << n;

  // The thumb search needs the stops in ascending order, each four upper-case letters.
  EXPECT_TRUE(std::is_sorted(stops.begin(), stops.end()));
  for (const auto& stop : stops) {
    ASSERT_EQ(stop.size(), 4u) << stop;
    EXPECT_TRUE(std::all_of(stop.begin(), stop.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        << stop;
  }
}

TEST(TextStops, SharedLeadingCharactersStartEveryStop) {
  const auto stops = TextStops("SMITH", "SMYTH");
  const TextStopState state = CurrentTextStopState();
  EXPECT_EQ(state.prefix, "SM");
  EXPECT_EQ(state.lowText, "ITH ");   // the low value's own blank
  EXPECT_EQ(state.highText, "YTHZ");  // SMYTH filled up with Z
  EXPECT_EQ(stops.front(), "SMITH ");
  EXPECT_EQ(stops.back(), "SMYTHZ");
  EXPECT_TRUE(std::is_sorted(stops.begin(), stops.end()));
  for (const auto& stop : stops) {
    EXPECT_EQ(stop.size(), 6u) << stop;
    EXPECT_EQ(stop.substr(0, 2), "SM") << stop;
  }
}

TEST(TextStops, EqualValuesShorterThanTheKeySpreadUpToTheFilledUpHigh) {
  const auto stops = TextStops("SMITH", "SMITH");
  EXPECT_EQ(CurrentTextStopState().prefix, "SMITH");
  EXPECT_EQ(stops[0], "SMITH    ");
  EXPECT_EQ(stops[1], "SMITHAGIV");
  EXPECT_EQ(stops[99], "SMITHZZZZ");
  // Kept as STRING(20), a stop loses none of its nine characters.
  EXPECT_EQ(STRING<20>(stops[1]).clipped(), "SMITHAGIV");
}

TEST(TextStops, EqualValuesFillingTheKeyAreTheirOwnPrefix) {
  const std::string value = "ABCDEFGHIJKLMNOPQRST";  // all 20 characters of the key
  const auto stops = TextStops(value, value);
  EXPECT_EQ(CurrentTextStopState().prefix, value);
  EXPECT_EQ(stops[0], value + "    ");
  EXPECT_EQ(stops[1], value + "AAAA");
  EXPECT_EQ(stops[99], value + "    ");
  for (const auto& stop : stops) {
    EXPECT_EQ(stop.size(), 24u);
    EXPECT_EQ(STRING<20>(stop).view(), value);
  }
}

TEST(TextStops, CallsPastTheHundredthGoOnByTheStep) {
  struct Case { const char* low; const char* high; LONG length; const char* stop101; };
  const Case cases[] = {
      {"ADAMS", "ZHANG", 20, "ZNUH"},
      {"SMITH", "SMITH", 20, "SMITHAGIM"},  // past ZZZZ the four digits wrap
      // A downward range whose 101st value lies below zero: its digits stay in the set.
      {"ZZZZ", "1111", 4, "ZSQM"},
  };
  for (const auto& c : cases) {
    TextStops(c.low, c.high, c.length);
    EXPECT_EQ(NextTextStop(), c.stop101) << c.low << " to " << c.high;
  }
}

TEST(TextStops, DownwardRange) {
  const auto stops = TextStops("ZZZZ", "1111", 4);
  EXPECT_EQ(CurrentTextStopState().step, -5368);
  EXPECT_EQ(stops[1], "ZSQD");
  EXPECT_EQ(stops[98], "AGJC");
  EXPECT_EQ(stops[99], "1111");
}

// The characters in ascending code, bytes unsigned.
std::string InCodeOrder(std::string s) {
  std::sort(s.begin(), s.end(),
            [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
  return s;
}

TEST(TextStops, CharacterSetOfEachFlagCombination) {
  const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string lower = "abcdefghijklmnopqrstuvwxyz";
  const std::string punctuation = " !\"#$%&'()*+,-./:;=?@[\\]^_`|~\xA3";
  const std::string digits = "0123456789";
  ASSERT_EQ(punctuation.size(), 30u);

  for (LONG flags = 0; flags < 16; ++flags) {
    std::string expected;
    if (flags & kStopUpperLetters) expected += upper;
    if ((flags & kStopUpperLetters) && (flags & kStopLowerLetters)) expected += lower;
    if (flags & kStopPunctuation) expected += punctuation;
    if (flags & kStopDigits) expected += digits;
    InitTextStops("A", "B", 20, flags, 0);
    EXPECT_EQ(CurrentTextStopState().characters, InCodeOrder(expected)) << "flags " << flags;
  }
  InitTextStops("A", "B", 20, 15, 0);
  EXPECT_EQ(CurrentTextStopState().characters.size(), 92u);
}

TEST(TextStops, HighValueIsFilledUpWithTheSetsLastCharacter) {
  struct Case { LONG flags; const char* prefix; const char* highText; const char* stop2; };
  const Case cases[] = {
      {kStopUpperLetters | kStopDigits, "12", "ZZZZ", "120CTM"},
      {kStopDigits, "12", "9999", "120013"},
      {kStopPunctuation, "12", "\xA3\xA3\xA3\xA3", "12 (@|"},
      {kStopUpperLetters | kStopLowerLetters, "12", "zzzz", "12AbSp"},
      // An empty set has no last character: the value stays as it is, and every stop is
      // the value itself.
      {0, "12                  ", "    ", "12                      "},
  };
  for (const auto& c : cases) {
    const auto stops = TextStops("12", "12", 20, c.flags);
    const TextStopState state = CurrentTextStopState();
    EXPECT_EQ(state.prefix, c.prefix) << "flags " << c.flags;
    EXPECT_EQ(state.highText, c.highText) << "flags " << c.flags;
    EXPECT_EQ(stops[1], c.stop2) << "flags " << c.flags;
  }
}

TEST(TextStops, DigitsOfTheFourCharacters) {
  struct Case { const char* low; LONG flags; LONG lowValue; const char* why; };
  const Case cases[] = {
      {"ADAM", kStopUpperLetters, 22639, "letters of the set"},
      {"adam", kStopUpperLetters, 22639, "lower case read as upper case"},
      {"A", kStopUpperLetters, 19683, "trailing blanks count 0"},
      {"A1B", kStopUpperLetters, 19737, "a digit outside the set counts 0"},
      {"A B", kStopUpperLetters, 19737, "an inner blank outside the set counts 0"},
      {"  LE", kStopUpperLetters, 329, "so do leading ones"},
      {"A B", kStopUpperLetters | kStopPunctuation, 4078806, "a blank of the set counts its place"},
  };
  for (const auto& c : cases) {
    InitTextStops(c.low, "ZHANG", 20, c.flags, 0);
    EXPECT_EQ(CurrentTextStopState().lowValue, c.lowValue) << c.low << ": " << c.why;
  }
  // Stop 1 keeps the low value's own characters, those outside the set included.
  EXPECT_EQ(TextStops("A1B", "ZHANG").front(), "A1B ");
}

TEST(TextStops, ALowValueBeginningWithBlanksStillSpreadsTheThumbOverTheRecords) {
  // The first and last names of a file in name order, and names between them, as the
  // browse compares them (upper-cased, in a STRING(20)), with the thumb it gives each: the
  // first stop at or above the name. A blank sorts below every letter, so the stops must
  // rise from the low value to the high one and the thumb move along with the names;
  // counted above every letter, the low value's blanks put it above ZHANG, and every name
  // from B to Z got the same thumb.
  const auto stops = TextStops("  Leading Blanks", "Zhang");
  auto thumb = [&](const char* name) {
    const STRING<20> key = name;
    const auto above = std::find_if(stops.begin(), stops.end(), [&](const std::string& stop) {
      return RtCompareStrings(STRING<20>(stop).view(), key.view()) >= 0;
    });
    return static_cast<int>(above - stops.begin()) + 1;  // 101: above the last stop
  };
  struct Case { const char* name; int thumb; };
  const Case cases[] = {{"  LEADING BLANKS", 2}, {"BROWN", 12}, {"MACDONALD", 50}, {"SMITH", 75},
                        {"YOUNG", 98}, {"ZHANG", 101}};
  for (const Case& c : cases) EXPECT_EQ(thumb(c.name), c.thumb) << c.name;
}

TEST(TextStops, LettersOnlyReplacesTheFlags) {
  for (LONG flags : {0, 2, 4, 8, 15}) {
    const auto stops = TextStops("adams", "zhang", 20, flags, 1);
    const TextStopState state = CurrentTextStopState();
    EXPECT_EQ(state.characters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ") << "flags " << flags;
    EXPECT_EQ(stops, TextStops("ADAMS", "ZHANG")) << "flags " << flags;
  }
}

TEST(TextStops, LetterCase) {
  struct Case { const char* low; const char* high; LONG flags; const char* prefix;
                const char* lowText; const char* highText; };
  const Case cases[] = {
      {"Smith", "Smyth", kStopUpperLetters, "SM", "ITH ", "YTHZ"},
      {"Smith", "Smyth", kStopUpperLetters | kStopLowerLetters, "Sm", "ith ", "ythz"},
      // The prefix compares case exactly; only what follows is then converted.
      {"Smith", "SMYTH", kStopUpperLetters, "S", "MITH", "MYTH"},
  };
  for (const auto& c : cases) {
    InitTextStops(c.low, c.high, 20, c.flags, 0);
    const TextStopState state = CurrentTextStopState();
    EXPECT_EQ(state.prefix, c.prefix) << c.low << " to " << c.high << ", flags " << c.flags;
    EXPECT_EQ(state.lowText, c.lowText) << c.low << " to " << c.high << ", flags " << c.flags;
    EXPECT_EQ(state.highText, c.highText) << c.low << " to " << c.high << ", flags " << c.flags;
  }
}

TEST(TextStops, MixedCaseKeysStillPlaceTheThumb) {
  // The browse looks for the first stop at or above the upper-cased key value. Between
  // Smith and Smyth, SMOKE must land inside the range, not at the first stop.
  const auto stops = TextStops("Smith", "Smyth");
  const STRING<20> key = "SMOKE";
  const auto above = std::find_if(stops.begin(), stops.end(), [&](const std::string& stop) {
    return RtCompareStrings(STRING<20>(stop).view(), key.view()) >= 0;
  });
  ASSERT_NE(above, stops.end());
  EXPECT_EQ(above - stops.begin() + 1, 37);
  EXPECT_EQ(*above, "SMOOJI");
}

TEST(TextStops, LengthCutsTheValues) {
  struct Case { std::string low, high; LONG length; std::string prefix, lowText, highText, stop2; };
  const Case cases[] = {
      {"ABCDEFGH", "ABCDXYZW", 6, "ABCD", "EF  ", "XY  ", "ABCDEKJB"},
      {"ABCDEFGH", "ABCDXYZW", 4, "ABCD", "    ", "    ", "ABCDAAAA"},
      {"ABCDEFGH", "ABCDXYZW", 0, "", "    ", "    ", "AAAA"},
      {"ABCDEFGH", "ABCDXYZW", -3, "", "    ", "    ", "AAAA"},  // taken as 0
      // Taken as 251: the prefix and its four characters still fit the working fields.
      {std::string(300, 'Q'), std::string(300, 'Q'), 1000, std::string(251, 'Q'), "    ", "    ",
       std::string(251, 'Q') + "AAAA"},
  };
  for (const auto& c : cases) {
    const auto stops = TextStops(c.low, c.high, c.length);
    const TextStopState state = CurrentTextStopState();
    EXPECT_EQ(state.prefix, c.prefix) << "length " << c.length;
    EXPECT_EQ(state.lowText, c.lowText) << "length " << c.length;
    EXPECT_EQ(state.highText, c.highText) << "length " << c.length;
    EXPECT_EQ(stops[1], c.stop2) << "length " << c.length;
  }
}

}  // namespace
}  // namespace qx
