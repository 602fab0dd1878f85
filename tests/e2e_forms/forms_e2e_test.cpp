// The update forms end to end: a real process calls a form as its browse would, beside
// qxmora's frame, and the test is the person at the screen through the automation channel
// (headless): typing into the entries, an entry refused by its picture, OK, Cancel, the
// close box, the frame closing, the delete confirmation answered both ways, and the ditto
// key in a process where nothing has been completed yet.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tests/demo_files/fixtures.h"
#include "tests/demo_forms/form_run.h"
#include "tests/harness/harness.h"

namespace qx {
namespace {

using nlohmann::json;
using testing::ProgramRun;

const std::vector<std::string> kThree = {"1 Ann Kew", "2 Bob Ryde", "3 Cid Manly"};
const json kForm = {{"label", "P1$QUICKWINDOW"}};

class FormsProgram : public ::testing::Test {
 protected:
  // Starts the program on `args` and waits for the form (or, for a delete, the box).
  void Start(std::vector<std::string> args) {
    ProgramRun::Options options;
    options.args = std::move(args);
    std::string error;
    run = ProgramRun::Start(FORMS_PROGRAM, options, &error);
    ASSERT_TRUE(run) << error;
  }
  json Form() {
    const json reply = run->Request({{"op", "wait"}, {"until", {{"takes_input", kForm}}}, {"timeout_ms", 10000}});
    EXPECT_TRUE(reply.value("ok", false)) << reply.dump() << run->Stderr();
    return run->Window(kForm);
  }
  // The form once it has handled the events of its opening (until then its redraws would
  // wipe what is typed): the program waits for a person.
  json Ready() {
    Form();
    EXPECT_TRUE(run->WaitIdle()) << run->Stderr();
    return Form();
  }
  // The sequence number of the newest log entry (of kind `what` when given); 0 for none.
  uint64_t LastLogSequence(const std::string& what = "") {
    uint64_t last = 0;
    const json reply = run->Request({{"op", "log"}});
    for (const json& e : reply["log"]) {
      if (what.empty() || e["what"] == what) last = e["sequence"].get<uint64_t>();
    }
    return last;
  }
  void Act(json request) {
    if (!request.contains("window")) request["window"] = kForm;
    const json reply = run->Request(request);
    ASSERT_TRUE(reply.value("ok", false)) << request.dump() << " " << reply.dump() << "\n" << run->Stderr();
  }
  bool Shows(LONG field, const std::string& text) {
    return run->WaitFor({{"text", {{"window", kForm}, {"control", field}, {"equals", text}}}}).is_null() == false;
  }
  void Answer(const std::string& caption, const std::string& button) {
    const json box = run->WaitFor({{"message", {{"caption", caption}}}});
    ASSERT_TRUE(box.is_object()) << "no box " << caption << "\n" << run->Stderr();
    Act({{"op", "answer"}, {"message", box["id"]}, {"button", button}});
  }
  // Waits for the end: the form's answer, and the exit code 0.
  std::string Response() {
    EXPECT_EQ(run->WaitForExit(), 0) << run->Stderr();
    const std::string err = run->Stderr();
    const size_t at = err.find("response ");
    return at == std::string::npos ? "none" : err.substr(at + 9, 1);
  }
  std::vector<std::string> Records(FileDecl& file, const std::vector<std::string>& fields = {"CUSID", "NAME", "SUBURB"}) {
    testing::ScopedChdir in(run->directory());
    return formtest::Records(file, fields);
  }

  std::unique_ptr<ProgramRun> run;
};

TEST_F(FormsProgram, AnInsertTypedIntoTheEntries) {
  Start({"Standrd", "insert"});
  const json form = Ready();
  EXPECT_EQ(form["title"], "Adding a Record");
  Act({{"op", "type"}, {"control", 4}, {"text", "12"}});
  Act({{"op", "type"}, {"control", 6}, {"text", "Zoe"}});
  Act({{"op", "focus"}, {"control", 8}});
  for (char ch : std::string("Ryde")) {
    Act({{"op", "key"}, {"control", 8}, {"code", std::toupper(ch)}, {"char", std::string(1, ch)}});
  }
  ASSERT_TRUE(Shows(8, "Ryde"));
  Act({{"op", "press"}, {"control", "OK"}});
  EXPECT_EQ(Response(), "1");
  std::vector<std::string> rows = kThree;
  rows.push_back("12 Zoe Ryde");
  EXPECT_EQ(Records(Standrd), rows);
}

TEST_F(FormsProgram, AnEntryRefusedByItsPictureKeepsTheFocus) {
  Start({"Varname", "insert"});
  Ready();
  const uint64_t after = LastLogSequence();
  Act({{"op", "type"}, {"control", 4}, {"text", "12a"}});
  EXPECT_FALSE(run->WaitFor({{"log", "beep"}, {"after", after}}).is_null()) << "the form beeps";
  EXPECT_TRUE(Shows(4, "0")) << "the entry is redrawn from its variable";
  EXPECT_EQ(Form()["focus"], 4) << "and keeps the focus";
  Act({{"op", "type"}, {"control", 4}, {"text", "12"}});
  Act({{"op", "type"}, {"control", 6}, {"text", "Zoe"}});
  Act({{"op", "press"}, {"control", "OK"}});
  EXPECT_EQ(Response(), "1");
  EXPECT_EQ(Records(Varname).back(), "12 Zoe ");
}

// An Encrypt insert left without completing, three ways: the file keeps its three records.
TEST_F(FormsProgram, AnInsertLeftWithoutCompletingAddsNothing) {
  const json ways[] = {
      {{"op", "press"}, {"control", "Cancel"}},
      {{"op", "close"}},
      {{"op", "close"}, {"window", "P1$APPFRAME"}},
  };
  for (const json& way : ways) {
    SCOPED_TRACE(way.dump());
    Start({"Encrypt", "insert"});
    Ready();
    Act({{"op", "type"}, {"control", 6}, {"text", "Gone"}});
    Act(way);
    EXPECT_EQ(Response(), "2");
    EXPECT_EQ(Records(Encrypt, {"SYSID", "NAME"}), (std::vector<std::string>{"1 Ann", "2 Bob", "3 Cid"}));
  }
}

TEST_F(FormsProgram, AChangeCancelledWritesNothing) {
  Start({"VeryLongName", "change", "2"});
  const json form = Ready();
  EXPECT_EQ(form["title"], "Changing a Record");
  ASSERT_TRUE(Shows(6, "Bob"));
  Act({{"op", "type"}, {"control", 6}, {"text", "Bea"}});
  Act({{"op", "press"}, {"control", "Cancel"}});
  EXPECT_EQ(Response(), "2");
  EXPECT_EQ(Records(VeryLongName), kThree);
}

TEST_F(FormsProgram, TheDeleteConfirmationAnsweredBothWays) {
  struct Case {
    const char* button;
    const char* response;
    std::vector<std::string> left;
  } cases[] = {{"OK", "1", {"1 Ann Kew", "3 Cid Manly"}}, {"Cancel", "2", kThree}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    Start({"VeryLongName", "delete", "2"});
    const json box = run->WaitFor({{"message", {{"caption", "Confirm Delete"}}}});
    ASSERT_TRUE(box.is_object()) << run->Stderr();
    EXPECT_TRUE(run->Window(kForm).is_null()) << "no form window for a delete";
    Act({{"op", "answer"}, {"message", box["id"]}, {"button", c.button}});
    EXPECT_EQ(Response(), c.response);
    EXPECT_EQ(Records(VeryLongName), c.left);
  }
}

// In a process where the form has completed nothing, its history is clear: the ditto key
// copies 0 and blanks.
TEST_F(FormsProgram, TheDittoKeyBeforeAnyCompletionCopiesBlanks) {
  Start({"Standrd", "change", "1"});
  Ready();
  ASSERT_TRUE(Shows(6, "Ann"));
  const std::pair<LONG, const char*> copied[] = {{4, "0"}, {6, ""}};
  for (const auto& [field, shown] : copied) {
    Act({{"op", "focus"}, {"control", field}});
    Act({{"op", "key"}, {"control", field}, {"code", 0x2DE}});
    ASSERT_TRUE(Shows(field, shown)) << "copied before the focus moves on";
  }
  EXPECT_TRUE(Shows(8, "Kew"));
  Act({{"op", "press"}, {"control", "OK"}});
  EXPECT_EQ(Response(), "1");
  EXPECT_EQ(Records(Standrd), (std::vector<std::string>{"0  Kew", "2 Bob Ryde", "3 Cid Manly"}));
}

}  // namespace
}  // namespace qx
