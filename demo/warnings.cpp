// The warning table, ShowWarning and the saved error state; see warnings.h.
#include "demo/warnings.h"

#include <charconv>
#include <string>

#include "runtime/store/file.h"
#include "runtime/sys/error_state.h"
#include "runtime/text/strings.h"
#include "runtime/win/message.h"
#include "runtime/win/program.h"

namespace qx {

LONG SavedErrorCode = 0;
CSTRING<255> SavedErrorText;
LONG SavedFileErrorCode = 0;
CSTRING<255> SavedFileErrorText;

namespace {

// The error text E is held in a field of this width: what is longer is cut.
constexpr size_t kErrorTextWidth = 150;

// The driver's code text as a number: blanks around it are ignored; a text that is not a
// whole number in the range of a LONG (the store's own "qx", an empty text) gives 0.
LONG DriverCodeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  text = RtClipView(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  LONG value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

// The inserted texts and the error of one call, ready for the table.
struct Inserts {
  std::string E;   // the error text, cut and without trailing blanks
  std::string T1;  // first text without trailing blanks
  std::string T2;  // second text without trailing blanks
  LONG code = 0;   // the error code in effect
};

// Takes the error in effect (the kept one, else the thread's current one) and empties the
// saved state. Runs before any box is shown: while a box waits another thread may keep an
// error of its own, which must survive.
void TakeError(Inserts& in) {
  std::string e;
  if (SavedErrorCode != 0) {
    in.code = SavedErrorCode;
    if (in.code == kFileSystemError) {
      e = std::string(SavedFileErrorText.clipped()) + " (" + std::to_string(SavedFileErrorCode) + ")";
    } else {
      e = std::string(SavedErrorText.clipped()) + " (" + std::to_string(SavedErrorCode) + ")";
    }
  } else {
    in.code = RtErrorCode();
    if (in.code == kFileSystemError) {
      e = RtClip(RtPushFileErrorText()) + " (" + RtClip(RtPushFileErrorCode()) + ")";
    } else {
      e = RtClip(RtPushErrorText()) + " (" + std::to_string(in.code) + ")";
    }
  }
  if (e.size() > kErrorTextWidth) e.resize(kErrorTextWidth);
  in.E = RtClip(e);
  SavedErrorCode = 0;
  SavedErrorText.clear();
  SavedFileErrorCode = 0;
  SavedFileErrorText.clear();
}

// What follows a warning's box.
enum class Afterwards {
  kReturnAnswer,  // the button pressed is the result
  kKeepNoAnswer,  // the result is 0
  kHalt,          // the program ends with the halt text
  kHaltOnNo,      // No ends the program; otherwise the button pressed is the result
};

struct WarningBox {
  std::string text;
  std::string caption;
  LONG icon = kIconExclamation;
  LONG buttons = kWarningOk;
  LONG defaultButton = kWarningOk;
  Afterwards afterwards = Afterwards::kReturnAnswer;
  const char* haltText = "";
};

WarningBox Exclamation(std::string text, std::string caption) {
  WarningBox b;
  b.text = std::move(text);
  b.caption = std::move(caption);
  return b;
}

WarningBox Question(std::string text, std::string caption, LONG buttons, LONG defaultButton) {
  WarningBox b;
  b.text = std::move(text);
  b.caption = std::move(caption);
  b.icon = kIconQuestion;
  b.buttons = buttons;
  b.defaultButton = defaultButton;
  return b;
}

WarningBox Fatal(std::string text, std::string caption, const char* haltText) {
  WarningBox b = Exclamation(std::move(text), std::move(caption));
  b.afterwards = Afterwards::kHalt;
  b.haltText = haltText;
  return b;
}

WarningBox NoAnswer(std::string text, std::string caption) {
  WarningBox b = Exclamation(std::move(text), std::move(caption));
  b.afterwards = Afterwards::kKeepNoAnswer;
  return b;
}

// The box of warning `number`; false for a number without one.
bool SelectWarning(LONG number, const Inserts& in, WarningBox* box) {
  const std::string& E = in.E;
  const std::string& T1 = in.T1;
  const std::string& T2 = in.T2;
  constexpr LONG kYesNo = kWarningYes + kWarningNo;
  constexpr LONG kYesNoCancel = kWarningYes + kWarningNo + kWarningCancel;
  constexpr LONG kOkCancel = kWarningOk + kWarningCancel;
  switch (number) {
    case 1:
      *box = Fatal("Error: (" + E + ") accessing " + T1 + ".  Press OK to end this application.", "Invalid File",
                   "Invalid File!");
      return true;
    case 2:
      *box = Question(T1 + " key file is invalid.  Do you want to rebuild the key?", "Invalid Key", kYesNo,
                      kWarningYes);
      box->afterwards = Afterwards::kHaltOnNo;
      box->haltText = "Invalid Key!";
      return true;
    case 3:
      *box = Fatal("Error: (" + E + ") repairing key for " + T1 + ".  Press OK to end this application.",
                   "Key Rebuild Error", "Error Rebuilding Key!");
      return true;
    case 4:
      *box = Fatal("Error: (" + E + ") creating " + T1 + ".  Press OK to end this application.",
                   "File Creation Error", "File Creation Error!");
      return true;
    case 5:
      *box = Fatal("Error: (" + E + ") opening created file:" + T1 + ".  Press OK to end this application.",
                   "File Creation Error", "File Creation Error!");
      return true;
    case 6:
      *box = Exclamation("The Procedure " + T1 + " has not been defined.", "Procedure not defined");
      return true;
    case 7:
      *box = Exclamation("Unable to read keyed record.  Error: " + E + ".  Insert Aborted", "");
      return true;
    case 8:
      *box = Exclamation("The value of " + T1 + " must be lower than " + T2 + ".", "Range Error");
      return true;
    case 9:
      *box = Exclamation("The value of " + T1 + " must be higher than " + T2 + ".", "Range Error");
      return true;
    case 10:
      *box = Exclamation("The value of " + T1 + " must be between " + T2 + ".", "Range Error");
      return true;
    case 11:
      *box = Exclamation("The value for " + T1 + " must be found in the " + T2 + " file.", "Field Contents Error");
      return true;
    case 12:
      *box = Exclamation("This record is referenced from the file " + T1 +
                             ".  Linking field(s) have been restricted from change and have been reset to original "
                             "values.",
                         "Referential Integrity Update Error");
      return true;
    case 13:
      *box = Exclamation("This record is referenced from the file " + T1 +
                             ".  This record cannot be deleted while these references exist.",
                         "Referential Integrity Delete Error");
      return true;
    case 14:
      *box = Exclamation("An error was experienced during the update of record.  Error: " + E + ".",
                         "Record Insert Error");
      return true;
    case 15:
      // The error decides, not the texts: a record changed by another station (or no error
      // at all) is reported without the caller's probable cause.
      if (in.code == kNoError || in.code == kRecordChanged) {
        *box = Exclamation("This record was changed by another station.", "Update Operation Error");
      } else {
        *box = Exclamation("An error (" + E +
                               ") was experienced when attempting to update a record from the file.  Probable Cause: " +
                               T1 + ".",
                           "Update Operation Error");
      }
      return true;
    case 16:
      *box = Exclamation("An error was experienced changing this record.  Do you want to try to save again?",
                         "Record Update Error");
      box->buttons = kYesNoCancel;
      box->defaultButton = kWarningCancel;
      return true;
    case 17:
      *box = Exclamation("An error (" + E + ") was experienced when attempting to delete a record from the file " +
                             T1 + ".",
                         "Delete Operation Error");
      return true;
    case 18:
      *box = Exclamation("An error was experienced deleting this record.  Do you want to try to save again?",
                         "Record Update Error");
      box->buttons = kYesNoCancel;
      box->defaultButton = kWarningCancel;
      return true;
    case 19:
      *box = Exclamation("This procedure was called to insert a record, however inserts are not allowed for this "
                         "procedure.  Press OK to return to the calling procedure",
                         "Invalid Request");
      return true;
    case 20:
      *box = Exclamation("This procedure was called to change a record, however changes are not allowed for this "
                         "procedure.  Press OK to return to the calling procedure",
                         "Invalid Request");
      return true;
    case 21:
      *box = Exclamation("This procedure was called to delete a record, however deletions are not allowed for this "
                         "procedure.  Press OK to return to the calling procedure",
                         "Invalid Request");
      return true;
    case 22:
      *box = Fatal("The File " + T1 +
                       "was not found, and creation of the file is not allowed.  Press OK to end this application.",
                   "File Creation Not Allowed", "File Creation Error!");
      return true;
    case 23:
      *box = Question("Are you sure you want to cancel?", "Update Cancelled", kYesNo, kWarningNo);
      return true;
    case 24:
      *box = Exclamation("Adding this record creates a duplicate entry for the key:" + T1, "Duplicate Key Error");
      return true;
    case 25:
      *box = Exclamation("Attempts to automatically number this record have failed.  Error: " + E + ".",
                         "Auto Increment Error");
      box->buttons = kWarningRetry + kWarningCancel;
      box->defaultButton = kWarningCancel;
      return true;
    case 26:
      *box = Exclamation(T1 + " File Load Error.  Error: " + E + ".", "File Load Error");
      return true;
    case 27:
      *box = Question("Are you certain you want to stop loading " + T1 + "?", "Cancel Request", kOkCancel,
                      kWarningCancel);
      return true;
    case 28:
      *box = Exclamation(T1 + " File Load Error.  The file you've requested contains no text.", "File Load Error");
      return true;
    case 29:
      if (RtCompareStrings(T1, "Down") == 0) {
        *box = Question("The end of the viewed file was encountered.  Do you want to start again from the beginning?",
                        "End of File Error", kYesNo, kWarningYes);
      } else {
        *box = Question(
            "The beginning of the viewed file was encountered.  Do you want to start again from the end of the file?",
            "Beginning of File Error", kYesNo, kWarningYes);
      }
      return true;
    case 30:
      *box = Exclamation("File (" + T1 + ") could not be opened.  Error: " + E + ".", "File Access Error");
      return true;
    case 31:
      if (RtCompareStrings(T1, "Put") == 0) {
        *box = Exclamation("An error was experienced when making changes to the " + T2 + " file.  Error: " + E,
                           "Process PUT Error");
      } else {
        *box = Exclamation("An error was experienced when deleting a record from the " + T2 + " file.  Error: " + E,
                           "Process DELETE Error");
      }
      return true;
    case 32:
      *box = Question(
          "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
          "Confirm Delete", kOkCancel, kWarningCancel);
      return true;
    case 33:
      *box = Question("Do you want to save the changes to this record?", "Update Cancelled", kYesNoCancel,
                      kWarningNo);
      return true;
    case 34:
      // The integrity routines pass "Delete" or "Update": shown in lower case inside the
      // sentence and unchanged at the start of the next.
      *box = NoAnswer("Error: (" + E + ") attempting to frame the " + RtLower(T1) + " transaction on " + T2 + ".  " +
                          T1 + " transaction cancelled.",
                      "Transaction Framing Error");
      return true;
    case 35:
      *box = NoAnswer("Error: (" + E + ") attempting to access a record from the " + T1 +
                          " file.  Returning to previous window.",
                      "Record Retrieval Error");
      return true;
    case 36:
      *box = NoAnswer("Error: (" + E + ") attempting to open the current VIEW. Filter and Range Limits ignored.",
                      "View Open Error");
      return true;
    case 37:
      *box = Question("This record has been added to the file. Do you want to add another record?", "Record Added",
                      kYesNo, kWarningYes);
      return true;
    case 38:
      *box = Exclamation("This record was changed by another station. Those changes will now be displayed. Use the "
                         "Ditto Button or Ctrl+' to recall your changes.",
                         "Record Was Not Updated");
      return true;
    default:
      return false;
  }
}

}  // namespace

void SaveErrorState() {
  SavedErrorCode = RtErrorCode();
  SavedErrorText = RtPushErrorText();
  SavedFileErrorCode = DriverCodeNumber(RtPushFileErrorCode());
  SavedFileErrorText = RtPushFileErrorText();
  ROLLBACK();
}

LONG ShowWarning(LONG number, std::string_view firstText, std::string_view secondText) {
  Inserts in;
  in.T1 = RtClip(firstText);
  in.T2 = RtClip(secondText);
  TakeError(in);
  WarningBox box;
  if (!SelectWarning(number, in, &box)) return 0;
  const LONG answer = RtMessage(box.text, box.caption, box.icon, box.buttons, box.defaultButton);
  switch (box.afterwards) {
    case Afterwards::kReturnAnswer: return answer;
    case Afterwards::kKeepNoAnswer: return 0;
    case Afterwards::kHalt: RtHalt(0, box.haltText);
    case Afterwards::kHaltOnNo:
      if (answer == kWarningNo) RtHalt(0, box.haltText);
      return answer;
  }
  return 0;
}

}  // namespace qx
