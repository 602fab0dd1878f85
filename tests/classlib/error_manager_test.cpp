// The error manager: dispatch of a raised message by its category through the seven
// slots (a derived class's overrides taking part), the default message table loaded through
// slot 0, the placeholders, and the procedure names kept per program thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/error_manager.h"
#include "classlib/message_table.h"
#include "runtime/sys/error_state.h"
#include "runtime/win/threads.h"
#include "tests/support/program_thread.h"

namespace qx {
namespace {

using testing::Box;

// Notes each slot as it runs, then does what the library's slot does.
class SlotTrace : public ErrorManager {
 public:
  std::vector<int> slots;

  void AddMessages(std::span<const unsigned char> table) override {
    slots.push_back(0);
    ErrorManager::AddMessages(table);
  }
  BYTE ReturnBenign() override {
    slots.push_back(1);
    return ErrorManager::ReturnBenign();
  }
  void Fatal() override {
    slots.push_back(2);
    ErrorManager::Fatal();
  }
  void ShowNotice() override {
    slots.push_back(3);
    ErrorManager::ShowNotice();
  }
  BYTE ForwardToSlot5() override {
    slots.push_back(4);
    return ErrorManager::ForwardToSlot5();
  }
  BYTE ForwardToFatal() override {
    slots.push_back(5);
    return ErrorManager::ForwardToFatal();
  }
  BYTE ShowQuestion() override {
    slots.push_back(6);
    return ErrorManager::ShowQuestion();
  }
};

class ErrorManagerTest : public testing::ProgramThreadTest {
 protected:
  ErrorManagerTest() {
    errors_.Init();
    errors_.slots.clear();
  }
  ~ErrorManagerTest() override { errors_.Shutdown(); }

  void Add(const std::vector<MessageDef>& messages) {
    errors_.AddMessages(EncodeMessageTable(messages));
    errors_.slots.clear();
  }

  SlotTrace errors_;
};

TEST_F(ErrorManagerTest, EachCategoryReachesItsSlot) {
  const Box fatalBox{"It broke.  Press OK to end this application", "Oops", kIconStop, kButtonOk, kButtonOk};
  const Box halt{"Oops", "Halt", kIconStop, kButtonOk, kButtonOk};
  const Box question{"It broke.", "Oops", kIconQuestion, kButtonYes | kButtonNo, kButtonYes};
  const Box notice{"It broke.", "Oops", kIconExclamation, kButtonOk, kButtonOk};
  struct Case {
    BYTE category;
    LONG answer;              // to the first box; 0: its default
    std::vector<int> slots;   // in the order they ran
    std::vector<Box> boxes;
    int result;               // the level returned; -1: the program ended (exit code 0)
  } cases[] = {
      {0, 0, {1}, {}, kLevelBenign},
      {1, kButtonYes, {6}, {question}, kLevelBenign},
      {1, kButtonNo, {6}, {question}, kLevelCancel},
      {4, kButtonNo, {6}, {question}, kLevelCancel},
      {2, 0, {5, 2}, {fatalBox, halt}, -1},
      {3, 0, {2}, {fatalBox, halt}, -1},
      {5, 0, {3}, {notice}, kLevelNotify},
      {6, 0, {4, 5, 2}, {fatalBox, halt}, -1},
      {255, 0, {4, 5, 2}, {fatalBox, halt}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("category " + std::to_string(c.category) + " answer " + std::to_string(c.answer));
    Add({{100, c.category, "Oops", "It broke."}});
    if (c.answer) view_.AnswerBoxes({c.answer});
    BYTE level = 99;
    const auto ended = EndCode([&] { level = errors_.Throw(100); });
    if (c.result < 0) {
      EXPECT_EQ(ended, 0);
    } else {
      EXPECT_FALSE(ended.has_value());
      EXPECT_EQ(level, c.result);
    }
    EXPECT_EQ(errors_.slots, c.slots);
    EXPECT_EQ(view_.TakeBoxes(), c.boxes);
  }
}

TEST_F(ErrorManagerTest, ForwardingSlotsCallOnThroughTheObjectsOwnOperations) {
  Add({{100, kLevelNotify, "Note", "Noted."}});
  errors_.Throw(100);  // makes it the current message
  errors_.slots.clear();
  view_.TakeBoxes();
  EXPECT_EQ(EndCode([&] { errors_.ForwardToSlot5(); }), 0);
  EXPECT_EQ(errors_.slots, (std::vector<int>{4, 5, 2}));
  EXPECT_EQ(view_.TakeBoxes().size(), 2u) << "the fatal box and the halt box";
}

TEST_F(ErrorManagerTest, InitLoadsTheDefaultTableThroughSlotZero) {
  SlotTrace fresh;
  fresh.Init();
  EXPECT_EQ(fresh.slots, std::vector<int>{0});
  ASSERT_TRUE(fresh.ERRORS && fresh.PROCNAMES);
  EXPECT_EQ(fresh.ERRORS->size(), DecodeMessageTable(DefaultMessageTable()).size());
  view_.AnswerBoxes({kButtonNo});
  EXPECT_EQ(fresh.Throw(kMsgConfirmDelete), kLevelCancel);
  EXPECT_EQ(view_.TakeBoxes().at(0).text, "Are you sure you want to delete the highlighted record?");
  fresh.Shutdown();
  EXPECT_FALSE(fresh.ERRORS || fresh.PROCNAMES);
}

TEST_F(ErrorManagerTest, AMessageAddedLaterReplacesOneOfTheSameId) {
  Add({{kMsgConfirmDelete, kLevelNotify, "Mine", "My own text."}});
  EXPECT_EQ(errors_.Throw(kMsgConfirmDelete), kLevelNotify);
  EXPECT_EQ(view_.TakeBoxes(), (std::vector<Box>{{"My own text.", "Mine", kIconExclamation, kButtonOk, kButtonOk}}));
}

TEST_F(ErrorManagerTest, AnIdWithoutAMessageEndsTheProgramAsAProgramError) {
  for (bool shutDown : {false, true}) {
    SCOPED_TRACE(shutDown ? "after Shutdown" : "unknown id");
    if (shutDown) errors_.Shutdown();
    EXPECT_EQ(EndCode([&] { errors_.Throw(4321); }), 0);
    EXPECT_EQ(errors_.slots, (std::vector<int>{5, 2}));
    errors_.slots.clear();
    const std::vector<Box> boxes = view_.TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Unknown Error");
    EXPECT_EQ(boxes[0].text, "Unknown error posted: 4321  Press OK to end this application");
  }
}

TEST_F(ErrorManagerTest, PlaceholdersAreFilledInOnce) {
  errors_.NameCurrentProcedure("BrowseStandrd");
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"%File", "STANDRD.TPS"},
      {"Field %Field of %File: %Message in %Procedure", "Field STD:NAME of STANDRD.TPS: too long in BrowseStandrd"},
      {"%File%File", "STANDRD.TPSSTANDRD.TPS"},
      {"100% sure, %Files %Unknown %", "100% sure, STANDRD.TPSs %Unknown %"},
      {"no placeholder", "no placeholder"},
      {"%file (letter case counts)", "%file (letter case counts)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Add({{100, kLevelNotify, "T", c.text}});
    errors_.SetField("STD:NAME");
    errors_.MESSAGETEXT = "too long";
    errors_.ThrowFile(100, "STANDRD.TPS");
    EXPECT_EQ(view_.TakeBoxes().at(0).text, c.expected);
  }
  // An inserted text is not searched again for placeholders.
  Add({{100, kLevelNotify, "T", "%File / %Message"}});
  errors_.SetField("FIELD");
  errors_.MESSAGETEXT = "%Field";
  errors_.ThrowFile(100, "%Message");
  EXPECT_EQ(view_.TakeBoxes().at(0).text, "%Message / %Field");
}

TEST_F(ErrorManagerTest, ErrorTextIsTheErrorInEffectWhenTheMessageWasRaised) {
  Add({{100, kLevelNotify, "T", "(%ErrorText)"}});
  struct Case {
    const char* what;
    void (*set)();
    const char* expected;
  } cases[] = {
      {"no error", [] { RtClearError(); }, "()"},
      {"file not found", [] { RtSetError(kFileNotFound); }, "(File Not Found (2))"},
      {"driver detail only for 90", [] { RtSetFileError(kInvalidRecordDeclaration, "qx", "fields differ"); },
       "(Invalid Record Declaration (47))"},
      {"file system error", [] { RtSetFileError(kFileSystemError, "11", "database disk image is malformed"); },
       "(File System Error (90): database disk image is malformed (11))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set();
    errors_.Throw(100);
    RtClearError();  // what happens after the raise does not change the kept error
    EXPECT_EQ(errors_.SubstitutedText(), c.expected);
    EXPECT_EQ(view_.TakeBoxes().at(0).text, c.expected);
  }
}

// Thread 2's part of the test below: names procedures of its own while thread 1 has
// "Outer" and "Inner" current.
ErrorManager* gShared = nullptr;
std::vector<std::string> gSeenOnThread2;

void SecondThread() {
  gSeenOnThread2.push_back(gShared->CurrentProcedureName());
  gShared->NameCurrentProcedure("BrowseEncrypt");
  gSeenOnThread2.push_back(gShared->CurrentProcedureName());
  gShared->NameCurrentProcedure("", true);
  gSeenOnThread2.push_back(gShared->CurrentProcedureName());
  gShared->NameCurrentProcedure("", true);  // none left: nothing happens
  gShared->NameCurrentProcedure("UpdateEncrypt");  // left in place as the thread ends
}

TEST_F(ErrorManagerTest, ProcedureNamesAreKeptPerThread) {
  EXPECT_EQ(errors_.CurrentProcedureName(), "");
  errors_.NameCurrentProcedure("Outer");
  errors_.NameCurrentProcedure("Inner");
  gShared = &errors_;
  ASSERT_NE(RtStart(&SecondThread, 0), 0);
  RtWaitOtherThreads();
  EXPECT_EQ(gSeenOnThread2, (std::vector<std::string>{"", "BrowseEncrypt", ""}));
  EXPECT_EQ(errors_.CurrentProcedureName(), "Inner") << "thread 2 took nothing of thread 1's";
  errors_.NameCurrentProcedure("", true);
  EXPECT_EQ(errors_.CurrentProcedureName(), "Outer");
  errors_.NameCurrentProcedure("", true);
  EXPECT_EQ(errors_.CurrentProcedureName(), "");
  ASSERT_EQ(errors_.PROCNAMES->size(), 1u);
  EXPECT_EQ(errors_.PROCNAMES->at(0).NAME, "UpdateEncrypt");
  EXPECT_NE(errors_.PROCNAMES->at(0).THREAD, 1);

  // A blank latest name is not given up: it stays current, and so does everything before.
  errors_.NameCurrentProcedure("Outer");
  errors_.NameCurrentProcedure("   ");
  errors_.NameCurrentProcedure("", true);
  EXPECT_EQ(errors_.CurrentProcedureName(), "   ");
  errors_.NameCurrentProcedure("", true);
  EXPECT_EQ(errors_.CurrentProcedureName(), "   ");
  ASSERT_EQ(errors_.PROCNAMES->size(), 3u);
  EXPECT_EQ(errors_.PROCNAMES->at(1).NAME, "Outer");
  // A name given after it is given up as usual.
  errors_.NameCurrentProcedure("Inner");
  errors_.NameCurrentProcedure("", true);
  EXPECT_EQ(errors_.CurrentProcedureName(), "   ");
}

}  // namespace
}  // namespace qx
