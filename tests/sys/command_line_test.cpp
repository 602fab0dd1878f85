// The command line: its words, the joining of already-split arguments, and the command
// line a child receives from RtRun through the environment.
#include "runtime/sys/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace qx {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, WordsOfTheRest) {
  struct Case {
    std::string line;
    Words words;
  };
  const Case cases[] = {
      {"qxshift.exe", {}},
      {"qxshift.exe   ", {}},
      {"qxshift.exe /home/ann/Data", {"/home/ann/Data"}},
      {"qxshift.exe \t  /home/ann/Data  next", {"/home/ann/Data", "next"}},
      // Blanks and commas end a word outside quotes.
      {"qxshift.exe /home/ann/my dir", {"/home/ann/my", "dir"}},
      {"qxshift.exe /home/ann/my,dir", {"/home/ann/my", "dir"}},
      {"qxshift.exe a,,b", {"a", "", "b"}},
      {"qxshift.exe ,a", {"", "a"}},
      {"qxshift.exe a , b", {"a", "", "b"}},
      // Quotes group, are dropped, and two in a row give one.
      {"qxshift.exe \"/home/ann/my dir\"", {"/home/ann/my dir"}},
      {"qxshift.exe \"a,b\" c", {"a,b", "c"}},
      {"qxshift.exe ab\"c d\"ef", {"abc def"}},
      {"qxshift.exe \"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"qxshift.exe a\"\"b", {"a\"b"}},
      {"qxshift.exe \"   \"", {"   "}},
      {"qxshift.exe \"open to the end", {"open to the end"}},
      // Tabs and other control characters end a word; only white space is skipped.
      {"qxshift.exe a\tb", {"a", "b"}},
      {"qxshift.exe a\x01" "b", {"a", "b"}},
      {"qxshift.exe \x01" "b", {"", "b"}},
      {"qxshift.exe \"a\x01" "b\"", {"a\x01" "b"}},
      // "/" is the path separator here, never the start of a switch.
      {"RECFIX STANDRD.tps? /K /E:STANDRD.tpe? /A", {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"}},
      {"qxshift.exe Data/Sub", {"Data/Sub"}},
      // Bytes of 80h and above belong to the word, quoted or not.
      {"qxshift.exe /home/j\xc3\xbcrgen/Data", {"/home/j\xc3\xbcrgen/Data"}},
      {"qxshift.exe \xa0x", {"\xa0x"}},
      // The program name ends at white space only; quotes there group it too.
      {"\"my prog\" x", {"x"}},
      {"prog,name x", {"x"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    const RtCommandWords split = RtSplitCommandLine(c.line);
    EXPECT_EQ(split.words, c.words) << c.line;
    for (size_t i = 0; i < c.words.size(); ++i) {
      EXPECT_EQ(RtCommandWord(RtCommandLineRest(c.line), static_cast<int>(i + 1)), c.words[i]) << c.line;
    }
    EXPECT_EQ(RtCommandWord(RtCommandLineRest(c.line), static_cast<int>(c.words.size() + 1)), "") << c.line;
  }
}

TEST(CommandLine, ProgramNameAndRest) {
  struct Case {
    std::string line, program, rest;
  };
  const Case cases[] = {
      {"qxshift.exe /home/ann", "qxshift.exe", "/home/ann"},
      {"qxshift.exe \t /home/ann ", "qxshift.exe", "/home/ann "},
      {"\"/opt/my apps/qxshift\" x", "/opt/my apps/qxshift", "x"},
      {"prog,name x", "prog,name", "x"},
      {"prog", "prog", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtSplitCommandLine(c.line).program, c.program) << c.line;
    EXPECT_EQ(RtCommandLineRest(c.line), c.rest) << c.line;
  }
}

// Arguments that a shell already split come back as the same words, whatever they hold.
TEST(CommandLine, JoinedArgumentsReadBackAsTheSameWords) {
  const std::vector<Words> argvs = {
      {"qxshift", "/home/ann/Data"},
      {"qxshift", "/home/ann/my dir"},
      {"qxshift", "a,b", "c"},
      {"qxshift", "say \"hi\""},
      {"qxshift", "\"quoted at both ends\""},
      {"qxshift", "\""},
      {"qxshift", "\"\""},
      {"qxshift", "   "},
      {"qxshift", ""},
      {"qxshift", "", "", "x"},
      {"qxshift", "x", ""},
      {"qxshift", "tab\there", "new\nline", "ctl\x01"},
      {"qxshift", "/K", "/E:STANDRD.tpe?"},
      {"qxshift", "j\xc3\xbcrgen"},
      {"/opt/my apps/qx\"shift", "x"},
  };
  for (const auto& argv : argvs) {
    const std::string line = RtJoinArguments(argv);
    const RtCommandWords split = RtSplitCommandLine(line);
    EXPECT_EQ(split.program, argv[0]) << line;
    EXPECT_EQ(split.words, Words(argv.begin() + 1, argv.end())) << line;
  }
  EXPECT_EQ(RtJoinArguments({"qxshift", "/home/ann/my dir", "plain"}), "qxshift \"/home/ann/my dir\" plain");
  EXPECT_EQ(RtJoinArguments({"qxshift", "a\"b c"}), "qxshift \"a\"\"b c\"");
}

class CommandLineOfTheProcess : public ::testing::Test {
 protected:
  void TearDown() override { ::unsetenv(kRtCommandLineVariable); }

  static void Init(const Words& argv) {
    std::vector<const char*> ptrs;
    for (const auto& a : argv) ptrs.push_back(a.c_str());
    RtInitCommandLine(static_cast<int>(ptrs.size()), ptrs.data());
  }
};

TEST_F(CommandLineOfTheProcess, SelectorsPickWordsOfTheRest) {
  Init({"qxshift", "/home/ann/Data", "second"});
  EXPECT_EQ(RtCommand("1"), "/home/ann/Data");
  EXPECT_EQ(RtCommand("1   "), "/home/ann/Data");
  EXPECT_EQ(RtCommand("2"), "second");
  for (const char* none : {"3", "0", "", "x", "-1", "/K"}) EXPECT_EQ(RtCommand(none), "") << none;
}

TEST_F(CommandLineOfTheProcess, AShellQuotedArgumentStaysOneWord) {
  Init({"qxshift", "/home/ann/my dir,x"});
  EXPECT_EQ(RtCommand("1"), "/home/ann/my dir,x");
  EXPECT_EQ(RtCommand("2"), "");
}

TEST_F(CommandLineOfTheProcess, ALineWrittenByTheParentIsTakenAsWrittenAndRemoved) {
  // What RtRun hands a child for "qxshift.exe /home/ann/my dir": the words it split off
  // are the child's arguments, the line itself comes through the environment.
  ::setenv(kRtCommandLineVariable, "qxshift.exe  /home/ann/my dir", 1);
  Init({"qxshift.exe", "/home/ann/my", "dir"});
  EXPECT_EQ(RtCommandLine(), "qxshift.exe  /home/ann/my dir");
  EXPECT_EQ(RtCommand("1"), "/home/ann/my");
  EXPECT_EQ(std::getenv(kRtCommandLineVariable), nullptr);
}

TEST_F(CommandLineOfTheProcess, ALineMeantForAnotherProcessIsIgnoredAndRemoved) {
  // Inherited through a program that does not take it: its words are not our arguments.
  ::setenv(kRtCommandLineVariable, "qxshift.exe /somewhere/else", 1);
  Init({"qxshift", "/home/ann/Data"});
  EXPECT_EQ(RtCommand("1"), "/home/ann/Data");
  EXPECT_EQ(std::getenv(kRtCommandLineVariable), nullptr);
}

}  // namespace
}  // namespace qx
