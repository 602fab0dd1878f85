// Clipping, joining, searching, case conversion and the default character tables.
#include "runtime/text/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/text/char_tables.h"

namespace qx {
namespace {

TEST(Clip, RemovesOnlyTrailingBlanks) {
  struct Case { std::string_view in; std::string_view out; };
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {"Smith   ", "Smith"},
      {"  Smith", "  Smith"},
      {"a b  ", "a b"},
      {"tab\t", "tab\t"},  // only the blank counts
      {std::string_view("nul\0 ", 5), std::string_view("nul\0", 4)},
  };
  for (const auto& c : cases) EXPECT_EQ(RtClip(c.in), c.out) << "'" << c.in << "'";
}

TEST(Concat, JoinsWithoutAddingOrRemoving) {
  EXPECT_EQ(RtConcat("", ""), "");
  EXPECT_EQ(RtConcat("ab ", " cd"), "ab  cd");
  // How the frame builds the converter's command line from its STRING(255) directory.
  const STRING<255> dir = "/home/ann/Demo";
  EXPECT_EQ(RtConcat(RtConcat("qxshift.exe", " "), RtClip(dir)), "qxshift.exe /home/ann/Demo");
  EXPECT_EQ(RtConcat("x", dir).size(), 256u);  // a STRING carries its padding unless clipped
}

TEST(InString, FindsTheFirstExactOccurrence) {
  struct Case { std::string_view text; std::string_view searched; LONG step; LONG start; LONG expected; };
  const Case cases[] = {
      {"/home/ann/Data", "/Data", 1, 1, 10},
      {"/home/ann/Data/Data", "/Data", 1, 1, 10},      // the first of two
      {"/home/ann/data", "/Data", 1, 1, 0},            // case counts
      {"C:\\Demo\\Data", "/Data", 1, 1, 0},            // a backslash is not a slash
      {"/Data", "/Data", 1, 1, 1},                     // the whole text
      {"/Dat", "/Data", 1, 1, 0},                      // longer than the text
      {"abc", "", 1, 1, 0},                            // nothing to search for
      {"", "a", 1, 1, 0},
      {"abcabc", "c", 1, 1, 3},
      {"abcabc", "abc", 1, 2, 4},                      // start past the first occurrence
      {"abcabc", "c", 1, 6, 6},                        // start on the last character
      {"abcabc", "c", 1, 7, 0},                        // start beyond the text
      {"abcabc", "a", 1, 0, 0},                        // start below 1
      {"abab", "b", 2, 1, 0},                          // candidates 1 and 3 only
      {"abab", "b", 2, 2, 2},
      {"xxxab", "ab", 2, 2, 4},                        // the last candidate that can hold it
      {"xxxxab", "ab", 2, 2, 0},                       // candidates 2 and 4 miss it at 5
      {"abab", "b", 0, 1, 0},                          // no step
      {"abab", "b", -1, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtInString(c.text, c.searched, c.step, c.start), c.expected)
        << "'" << c.text << "' '" << c.searched << "' step " << c.step << " start " << c.start;
  }
}

TEST(InString, SearchesAStringWithItsPadding) {
  const STRING<10> name = "Smith";
  EXPECT_EQ(RtInString(name, " "), 6);
  EXPECT_EQ(RtInString(RtClip(name), " "), 0);
}

TEST(Case, ConvertsOnlyTheLettersOfTheTables) {
  struct Case { std::string_view in; std::string_view upper; std::string_view lower; };
  const Case cases[] = {
      {"", "", ""},
      {"Delete", "DELETE", "delete"},
      {"Smith-Jones 42 [x]", "SMITH-JONES 42 [X]", "smith-jones 42 [x]"},
      {"@`{~", "@`{~", "@`{~"},                        // the neighbours of the letters
      {"Zo\xc3\xab \xe9", "ZO\xc3\xab \xe9", "zo\xc3\xab \xe9"},  // bytes 80h-FFh stay (UTF-8 and Latin-1)
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtUpper(c.in), c.upper) << c.in;
    EXPECT_EQ(RtLower(c.in), c.lower) << c.in;
  }
}

TEST(CharacterTables, DefaultClassesAreAToZAToZAndDigits) {
  std::string upper, lower, digits;
  for (int code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    if (RtIsUpperLetter(c)) upper += c;
    if (RtIsLowerLetter(c)) lower += c;
    if (RtIsDigit(c)) digits += c;
    EXPECT_EQ(RtIsLetter(c), RtIsUpperLetter(c) || RtIsLowerLetter(c)) << code;
    EXPECT_FALSE(RtIsUpperLetter(c) && RtIsLowerLetter(c)) << code;
  }
  EXPECT_EQ(upper, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(lower, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(digits, "0123456789");
}

TEST(CharacterTables, CaseMappingPairsTheLetters) {
  for (int i = 0; i < 26; ++i) {
    const char up = static_cast<char>('A' + i);
    const char low = static_cast<char>('a' + i);
    EXPECT_EQ(RtUpperChar(low), up);
    EXPECT_EQ(RtLowerChar(up), low);
    EXPECT_EQ(RtUpperChar(up), up);
    EXPECT_EQ(RtLowerChar(low), low);
  }
  EXPECT_EQ(RtUpperChar('\xe9'), '\xe9');
  EXPECT_EQ(RtLowerChar('\xc9'), '\xc9');
}

TEST(Strings, SameIgnoringCaseMatchesOnlyTheLettersOfTheTables) {
  struct Case {
    std::string_view a, b;
    bool same;
  };
  const Case cases[] = {
      {"VARIABLE.TPS", "variable.tps", true},
      {"Mixed_Case-09", "mIXED_cASE-09", true},
      {"", "", true},
      {"abc", "abd", false},
      {"abc", "abcd", false},          // a prefix is no match
      {"A[@", "a{`", false},           // bytes 20h apart that are no letters
      {"\xc9T\xc9", "\xe9t\xe9", false},  // Latin-1 letters keep their case
      {std::string_view("a\0b", 3), std::string_view("A\0B", 3), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RtSameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(RtSameIgnoringCase(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

}  // namespace
}  // namespace qx
