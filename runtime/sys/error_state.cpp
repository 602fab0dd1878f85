// Per-thread error state; see error_state.h.
#include "runtime/sys/error_state.h"

namespace qx {
namespace {

struct ErrorState {
  LONG code = 0;
  std::string driverCode;
  std::string driverMessage;
};

thread_local ErrorState tState;

}  // namespace

LONG RtErrorCode() { return tState.code; }

std::string_view RtErrorTextFor(LONG code) {
  switch (code) {
    case kFileNotFound: return "File Not Found";
    case kPathNotFound: return "Path Not Found";
    case kAccessDenied: return "Access Denied";
    case kEntryNotFound: return "Entry Not Found";
    case kFileIsLocked: return "File Is Already Locked";
    case kRecordNotAvailable: return "Record Not Available";
    case kRecordNotFound: return "Record Not Found";
    case kInvalidDataFile: return "Invalid Data File";
    case kFileNotOpen: return "File Not Open";
    case kCreatesDuplicateKey: return "Creates Duplicate Key";
    case kKeyFileMustBeRebuilt: return "Key File Must Be Rebuilt";
    case kInvalidRecordDeclaration: return "Invalid Record Declaration";
    case kUnableToLogTransaction: return "Unable To Log Transaction";
    case kFileAlreadyOpen: return "File Already Open";
    case kNoCreateAttribute: return "No Create Attribute";
    case kLogoutAlreadyActive: return "LOGOUT Already Active";
    case kUnsupportedDriverFunction: return "Unsupported File Driver Function";
    case kRecordChanged: return "Record Changed By Another Station";
    case kFileSystemError: return "File System Error";
    case kLogoutNotActive: return "LOGOUT Not Active";
    default: return {};
  }
}

std::string RtPushErrorText() { return std::string(RtErrorTextFor(tState.code)); }
std::string RtPushFileErrorCode() { return tState.driverCode; }
std::string RtPushFileErrorText() { return tState.driverMessage; }

void RtSetError(LONG code) {
  tState.code = code;
  tState.driverCode.clear();
  tState.driverMessage.clear();
}

void RtSetFileError(LONG code, std::string_view driverCode, std::string_view driverMessage) {
  tState.code = code;
  tState.driverCode.assign(driverCode);
  tState.driverMessage.assign(driverMessage);
}

}  // namespace qx
