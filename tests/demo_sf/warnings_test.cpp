// The warning table through the recorded message boxes: text, caption, icon, buttons,
// default and what follows (the answer, or the halt box and the end of the program); the
// error text E for kept and current errors; the emptying of the saved error state.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "demo/warnings.h"
#include "runtime/store/file.h"
#include "runtime/sys/error_state.h"
#include "tests/demo_sf/sf_test_support.h"

namespace qx::sftest {
namespace {

constexpr LONG kEx = kIconExclamation, kQ = kIconQuestion;
constexpr LONG OK = kButtonOk, YES = kButtonYes, NO = kButtonNo, RETRY = kButtonRetry, CANCEL = kButtonCancel;

class WarningTest : public ProgramThreadTest {
 protected:
  WarningTest() { ShowWarning(0); }  // starts with nothing kept
  ~WarningTest() override { ShowWarning(0); }

  // The text of warning 14, which shows E between fixed pieces.
  static std::string Warning14(const std::string& e) {
    return "An error was experienced during the update of record.  Error: " + e + ".";
  }
  // Shows warning 14 and returns the E it showed.
  std::string ShownE() {
    view_.TakeBoxes();
    ShowWarning(14);
    const auto boxes = view_.TakeBoxes();
    if (boxes.size() != 1) return "<" + std::to_string(boxes.size()) + " boxes>";
    const std::string prefix = "An error was experienced during the update of record.  Error: ";
    const std::string& t = boxes[0].text;
    if (t.rfind(prefix, 0) != 0 || t.back() != '.') return "<unexpected text " + t + ">";
    return t.substr(prefix.size(), t.size() - prefix.size() - 1);
  }
};

// The current error of every row: E is "Record Not Available (33)" unless a row says else.
constexpr const char* kE = "Record Not Available (33)";

struct Row {
  LONG number;
  const char* t1;
  const char* t2;
  std::string text;
  const char* caption;
  LONG icon, buttons, defaultButton;
  LONG press;                 // 0: the default button
  std::optional<LONG> result; // nothing for the halts and the warnings that keep no answer
  const char* halt = nullptr; // the halt text of the rows that end the program
  LONG error = 33;            // current error code before the call
};

const std::string E = kE;

const Row kRows[] = {
    {1, "Standrd  ", "", "Error: (" + E + ") accessing Standrd.  Press OK to end this application.", "Invalid File", kEx, OK,
     OK, 0, {}, "Invalid File!"},
    {2, "Standrd  ", "", "Standrd key file is invalid.  Do you want to rebuild the key?", "Invalid Key", kQ, YES + NO, YES,
     0, YES},
    {2, "Standrd", "", "Standrd key file is invalid.  Do you want to rebuild the key?", "Invalid Key", kQ, YES + NO, YES, NO,
     {}, "Invalid Key!"},
    {3, "Standrd", "", "Error: (" + E + ") repairing key for Standrd.  Press OK to end this application.",
     "Key Rebuild Error", kEx, OK, OK, 0, {}, "Error Rebuilding Key!"},
    {4, "Standrd", "", "Error: (" + E + ") creating Standrd.  Press OK to end this application.", "File Creation Error",
     kEx, OK, OK, 0, {}, "File Creation Error!"},
    {5, "Standrd", "", "Error: (" + E + ") opening created file:Standrd.  Press OK to end this application.",
     "File Creation Error", kEx, OK, OK, 0, {}, "File Creation Error!"},
    {6, " UpdateThing  ", "", "The Procedure  UpdateThing has not been defined.", "Procedure not defined", kEx, OK, OK, 0,
     OK},
    {7, "", "", "Unable to read keyed record.  Error: " + E + ".  Insert Aborted", "", kEx, OK, OK, 0, OK},
    {8, "Age ", "120 ", "The value of Age must be lower than 120.", "Range Error", kEx, OK, OK, 0, OK},
    {9, "Age", "0", "The value of Age must be higher than 0.", "Range Error", kEx, OK, OK, 0, OK},
    {10, "Age", "0 and 120", "The value of Age must be between 0 and 120.", "Range Error", kEx, OK, OK, 0, OK},
    {11, "CUS:ID", "Customers", "The value for CUS:ID must be found in the Customers file.", "Field Contents Error", kEx, OK,
     OK, 0, OK},
    {12, "Varname", "",
     "This record is referenced from the file Varname.  Linking field(s) have been restricted from change and have been "
     "reset to original values.",
     "Referential Integrity Update Error", kEx, OK, OK, 0, OK},
    {13, "Varname", "",
     "This record is referenced from the file Varname.  This record cannot be deleted while these references exist.",
     "Referential Integrity Delete Error", kEx, OK, OK, 0, OK},
    {14, "", "", "An error was experienced during the update of record.  Error: " + E + ".", "Record Insert Error", kEx, OK,
     OK, 0, OK},
    {15, "Encrypt", "",
     "An error (" + E + ") was experienced when attempting to update a record from the file.  Probable Cause: Encrypt.",
     "Update Operation Error", kEx, OK, OK, 0, OK},
    {15, "Encrypt", "", "This record was changed by another station.", "Update Operation Error", kEx, OK, OK, 0, OK,
     nullptr, 89},
    {15, "Encrypt", "", "This record was changed by another station.", "Update Operation Error", kEx, OK, OK, 0, OK,
     nullptr, 0},
    {16, "", "", "An error was experienced changing this record.  Do you want to try to save again?",
     "Record Update Error", kEx, YES + NO + CANCEL, CANCEL, YES, YES},
    {17, "Encrypt", "",
     "An error (" + E + ") was experienced when attempting to delete a record from the file Encrypt.",
     "Delete Operation Error", kEx, OK, OK, 0, OK},
    {18, "", "", "An error was experienced deleting this record.  Do you want to try to save again?",
     "Record Update Error", kEx, YES + NO + CANCEL, CANCEL, NO, NO},
    {19, "", "",
     "This procedure was called to insert a record, however inserts are not allowed for this procedure.  Press OK to "
     "return to the calling procedure",
     "Invalid Request", kEx, OK, OK, 0, OK},
    {20, "", "",
     "This procedure was called to change a record, however changes are not allowed for this procedure.  Press OK to "
     "return to the calling procedure",
     "Invalid Request", kEx, OK, OK, 0, OK},
    {21, "", "",
     "This procedure was called to delete a record, however deletions are not allowed for this procedure.  Press OK to "
     "return to the calling procedure",
     "Invalid Request", kEx, OK, OK, 0, OK},
    {22, "STANDRD.TPS", "",
     "The File STANDRD.TPSwas not found, and creation of the file is not allowed.  Press OK to end this application.",
     "File Creation Not Allowed", kEx, OK, OK, 0, {}, "File Creation Error!"},
    {23, "", "", "Are you sure you want to cancel?", "Update Cancelled", kQ, YES + NO, NO, 0, NO},
    {24, "CUS:ByID", "", "Adding this record creates a duplicate entry for the key:CUS:ByID", "Duplicate Key Error", kEx,
     OK, OK, 0, OK},
    {25, "", "", "Attempts to automatically number this record have failed.  Error: " + E + ".", "Auto Increment Error",
     kEx, RETRY + CANCEL, CANCEL, RETRY, RETRY},
    {26, "Notes", "", "Notes File Load Error.  Error: " + E + ".", "File Load Error", kEx, OK, OK, 0, OK},
    {27, "Notes", "", "Are you certain you want to stop loading Notes?", "Cancel Request", kQ, OK + CANCEL, CANCEL, 0,
     CANCEL},
    {28, "Notes", "", "Notes File Load Error.  The file you've requested contains no text.", "File Load Error", kEx, OK, OK,
     0, OK},
    {29, "Down   ", "",
     "The end of the viewed file was encountered.  Do you want to start again from the beginning?", "End of File Error",
     kQ, YES + NO, YES, NO, NO},
    {29, "Up", "",
     "The beginning of the viewed file was encountered.  Do you want to start again from the end of the file?",
     "Beginning of File Error", kQ, YES + NO, YES, 0, YES},
    {29, "down", "",  // compared as the runtime compares strings: case counts
     "The beginning of the viewed file was encountered.  Do you want to start again from the end of the file?",
     "Beginning of File Error", kQ, YES + NO, YES, 0, YES},
    {30, "STANDRD.TPS", "", "File (STANDRD.TPS) could not be opened.  Error: " + E + ".", "File Access Error", kEx, OK, OK,
     0, OK},
    {31, "Put", "Varname  ", "An error was experienced when making changes to the Varname file.  Error: " + E,
     "Process PUT Error", kEx, OK, OK, 0, OK},
    {31, "Delete", "Varname", "An error was experienced when deleting a record from the Varname file.  Error: " + E,
     "Process DELETE Error", kEx, OK, OK, 0, OK},
    {32, "", "",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.", "Confirm Delete",
     kQ, OK + CANCEL, CANCEL, OK, OK},
    {33, "", "", "Do you want to save the changes to this record?", "Update Cancelled", kQ, YES + NO + CANCEL, NO, CANCEL,
     CANCEL},
    {34, "Delete", "Varname",
     "Error: (" + E + ") attempting to frame the delete transaction on Varname.  Delete transaction cancelled.",
     "Transaction Framing Error", kEx, OK, OK, 0, {}},
    {35, "Encrypt", "",
     "Error: (" + E + ") attempting to access a record from the Encrypt file.  Returning to previous window.",
     "Record Retrieval Error", kEx, OK, OK, 0, {}},
    {36, "", "", "Error: (" + E + ") attempting to open the current VIEW. Filter and Range Limits ignored.",
     "View Open Error", kEx, OK, OK, 0, {}},
    {37, "", "", "This record has been added to the file. Do you want to add another record?", "Record Added", kQ,
     YES + NO, YES, NO, NO},
    {38, "", "",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+' "
     "to recall your changes.",
     "Record Was Not Updated", kEx, OK, OK, 0, OK},
};

TEST_F(WarningTest, EveryWarningShowsItsBoxAndReturnsOrEnds) {
  bool seen[39] = {};
  for (const Row& row : kRows) {
    seen[row.number] = true;
    const std::string what = "warning " + std::to_string(row.number) + " (" + row.t1 + ")";
    RtSetError(row.error);
    view_.TakeBoxes();
    view_.AnswerBoxes(row.press ? std::vector<LONG>{row.press} : std::vector<LONG>{});
    LONG result = -1;
    const auto ended = EndCode([&] { result = ShowWarning(row.number, row.t1, row.t2); });
    std::vector<Box> expected = {{row.text, row.caption, row.icon, row.buttons, row.defaultButton}};
    if (row.halt) {
      expected.push_back(HaltBox(row.halt));
      EXPECT_EQ(ended, std::optional<LONG>(0)) << what << ": the program ends with exit code 0";
    } else {
      EXPECT_FALSE(ended) << what << " returns";
      if (row.result) {
        EXPECT_EQ(result, *row.result) << what;
      }
    }
    ExpectBoxes(view_.TakeBoxes(), expected, what);
  }
  for (LONG n = 1; n <= 38; ++n) EXPECT_TRUE(seen[n]) << "warning " << n << " has a row";
}

TEST_F(WarningTest, NumbersWithoutAWarningShowNothingAndEmptyTheKeptError) {
  for (LONG number : {0, 39, -1, 1000}) {
    RtSetError(kRecordChanged);
    SaveErrorState();
    ASSERT_EQ(SavedErrorCode, kRecordChanged);
    view_.TakeBoxes();
    EXPECT_EQ(ShowWarning(number, "Standrd"), 0) << number;
    EXPECT_TRUE(view_.TakeBoxes().empty()) << number;
    EXPECT_EQ(SavedErrorCode, 0) << number;
    EXPECT_TRUE(SavedErrorText.empty()) << number;
    EXPECT_EQ(SavedFileErrorCode, 0) << number;
    EXPECT_TRUE(SavedFileErrorText.empty()) << number;
  }
}

TEST_F(WarningTest, ErrorTextOfKeptAndCurrentErrors) {
  const std::string longMessage = std::string(145, 'x') + "     tail beyond the cut";
  struct Case {
    const char* what;
    bool keep;              // SaveErrorState before the warning
    LONG code;
    const char* driverCode;
    std::string driverMessage;
    std::string e;
  } cases[] = {
      {"current error", false, kFileNotFound, "2", "No such file or directory", "File Not Found (2)"},
      {"kept error", true, kInvalidRecordDeclaration, "qx", "differs", "Invalid Record Declaration (47)"},
      {"current 90: the driver's message and code", false, kFileSystemError, "11  ", "database disk image is malformed  ",
       "database disk image is malformed (11)"},
      {"kept 90: the driver's code as a number", true, kFileSystemError, "11", "database disk image is malformed",
       "database disk image is malformed (11)"},
      {"kept 90 whose driver code is no number", true, kFileSystemError, "qx", "the file is damaged",
       "the file is damaged (0)"},
      {"current code without a text", false, 1234, "", "", " (1234)"},
      {"kept code without a text", true, 1234, "", "", " (1234)"},
      {"no error at all", false, 0, "", "", " (0)"},
      {"cut to 150, then without trailing blanks", false, kFileSystemError, "1", longMessage, std::string(145, 'x')},
      {"kept and cut", true, kFileSystemError, "1", longMessage, std::string(145, 'x')},
      // 148 characters, " (", "1" and ")": the cut at exactly 150 keeps " (" alone.
      {"cut inside the bracket", false, kFileSystemError, "1", std::string(148, 'y'), std::string(148, 'y') + " ("},
  };
  for (const Case& c : cases) {
    RtSetFileError(c.code, c.driverCode, c.driverMessage);
    if (c.keep) SaveErrorState();  // its rollback finds no transaction and leaves 91
    EXPECT_EQ(ShownE(), c.e) << c.what;
  }
}

TEST_F(WarningTest, SavedTextsHoldAtMost254Characters) {
  RtSetFileError(kFileSystemError, "11", std::string(300, 'm'));
  SaveErrorState();
  EXPECT_EQ(SavedFileErrorText.view(), std::string(254, 'm'));
  EXPECT_EQ(SavedFileErrorCode, 11);
  EXPECT_EQ(SavedErrorText.view(), "File System Error");
}

TEST_F(WarningTest, OneKeptErrorServesOneWarning) {
  RtSetError(kRecordNotAvailable);
  SaveErrorState();
  ASSERT_EQ(RtErrorCode(), kLogoutNotActive) << "the rollback without a transaction leaves 91";
  EXPECT_EQ(ShownE(), "Record Not Available (33)") << "the first warning reports the kept error";
  EXPECT_EQ(ShownE(), "LOGOUT Not Active (91)") << "the second one the current error state";

  // A warning that shows no E empties the kept error all the same.
  RtSetError(kRecordNotAvailable);
  SaveErrorState();
  ShowWarning(23);
  EXPECT_EQ(ShownE(), "LOGOUT Not Active (91)");

  // In warning 15 the kept error decides, not the current one.
  RtSetError(kRecordChanged);
  SaveErrorState();
  view_.TakeBoxes();
  ShowWarning(15, "Encrypt");
  ExpectBoxes(view_.TakeBoxes(), {{"This record was changed by another station.", "Update Operation Error", kEx, OK, OK}},
              "kept 89 behind a current 91");
}

TEST_F(WarningTest, AnErrorKeptWhileABoxWaitsSurvivesThatBox) {
  // While this thread's box waits, another thread may run and keep an error of its own;
  // the warning already took its own error before it showed the box.
  RtSetError(kFileIsLocked);
  SaveErrorState();
  view_.OnBox([](const Box&) {
    std::thread([] {
      RtSetError(kCreatesDuplicateKey);
      SaveErrorState();
    }).join();
  });
  EXPECT_EQ(ShownE(), "File Is Already Locked (32)");
  view_.OnBox(nullptr);
  EXPECT_EQ(SavedErrorCode, kCreatesDuplicateKey);
  EXPECT_EQ(ShownE(), "Creates Duplicate Key (40)");
}

TEST_F(WarningTest, SaveErrorStateKeepsTheFailureAndRollsTheTransactionBack) {
  TempDir dir;
  auto file = MakeCustomers(FileName(dir / "CUSTOMER"));
  CREATE(*file);
  OPEN(*file, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  ASSERT_EQ(AddCustomer(*file, 1, "Ann"), 0);
  LOGOUT(2, *file);
  ASSERT_EQ(RtErrorCode(), 0);
  DELETE(*file);
  ASSERT_EQ(RtErrorCode(), 0) << "deleted inside the transaction";
  DELETE(*file);  // there is no current record any more
  ASSERT_EQ(RtErrorCode(), kRecordNotAvailable);
  SaveErrorState();
  EXPECT_EQ(RtErrorCode(), 0) << "the rollback succeeded";
  view_.TakeBoxes();
  ShowWarning(17, "Customers");
  ExpectBoxes(view_.TakeBoxes(),
              {{"An error (Record Not Available (33)) was experienced when attempting to delete a record from the file "
                "Customers.",
                "Delete Operation Error", kEx, OK, OK}},
              "the failed DELETE, not the rollback");
  COMMIT();
  EXPECT_EQ(RtErrorCode(), kLogoutNotActive) << "no transaction is left";
  SETfile(*file);
  NEXT(*file);
  EXPECT_EQ(RtErrorCode(), 0) << "the delete inside the transaction was undone";
  EXPECT_EQ(file->Record<Customer>().ID, 1);
  CLOSE(*file);
}

}  // namespace
}  // namespace qx::sftest
