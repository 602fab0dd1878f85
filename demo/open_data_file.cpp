// OpenDataFile; see open_data_file.h.
#include "demo/open_data_file.h"

#include "demo/warnings.h"
#include "runtime/sys/error_state.h"
#include "runtime/win/program.h"

namespace qx {
namespace {

// The mode shared by every opener of a browse's file: read and write, denying nothing.
constexpr LONG kSharedMode = 0x42;
// Seconds the driver waits, at the second attempt, for another opener's hold to end.
constexpr const char* kRecoverOption = "Recover=10";

bool Opened() { return RtErrorCode() == kNoError || RtErrorCode() == kFileAlreadyOpen; }

// Shows one of the warnings that end the program themselves (1, 3, 4, 5), naming the file
// and the error in effect (NAME leaves the error state alone).
[[noreturn]] void EndWith(LONG warning, FileDecl& file) {
  ShowWarning(warning, NAME(file));
  RtHalt(0);  // not reached: the warning has ended the program
}

// The closing report of an opening that failed: warning 30 with the error of the last
// OPEN, then the program ends. Warning 30's one button answers OK; even an answer of 0
// does not return here, since every caller counts the file as open once OpenDataFile
// returns.
[[noreturn]] void ReportAndHalt(FileDecl& file) {
  ShowWarning(30, NAME(file));
  RtHalt(0, "Disk Error");
}

}  // namespace

void OpenDataFile(FileDecl& file, BYTE CreateAllowed, BYTE MissingIsError, BYTE AccessMode, BYTE SharedAccess) {
  const LONG mode = SharedAccess != 0 ? kSharedMode : static_cast<LONG>(AccessMode);
  OPEN(file, mode);
  if (RtErrorCode() == kFileIsLocked) {
    SEND(file, kRecoverOption);  // its reply means nothing here
    OPEN(file, mode);
  }
  if (Opened()) return;
  switch (RtErrorCode()) {
    case kFileNotFound:
      if (MissingIsError != 0) break;  // reported as any other failure
      if (CreateAllowed != 1) EndWith(4, file);
      CREATE(file);
      if (RtErrorCode() != kNoError) EndWith(4, file);
      OPEN(file, mode);
      if (Opened()) return;
      EndWith(5, file);  // the created file stays on disk
    case kInvalidRecordDeclaration:
      EndWith(1, file);
    case kKeyFileMustBeRebuilt:
      ShowWarning(2, NAME(file));  // returns only after Yes
      BUILDfile(file);
      if (RtErrorCode() != kNoError) EndWith(3, file);
      OPEN(file, mode);
      if (Opened()) return;
      break;
    default:
      break;
  }
  ReportAndHalt(file);
}

}  // namespace qx
