// The per-thread error state: codes, texts, driver detail, thread isolation.
#include "runtime/sys/error_state.h"

#include <gtest/gtest.h>

#include <thread>

namespace qx {
namespace {

TEST(ErrorState, TextsOfTheCodesTheProgramsMeet) {
  struct Case { LONG code; std::string_view text; };
  const Case cases[] = {
      {2, "File Not Found"}, {3, "Path Not Found"}, {5, "Access Denied"},
      {30, "Entry Not Found"}, {32, "File Is Already Locked"}, {33, "Record Not Available"}, {35, "Record Not Found"}, {36, "Invalid Data File"},
      {37, "File Not Open"}, {40, "Creates Duplicate Key"},
      {46, "Key File Must Be Rebuilt"}, {47, "Invalid Record Declaration"},
      {48, "Unable To Log Transaction"}, {52, "File Already Open"}, {54, "No Create Attribute"},
      {56, "LOGOUT Already Active"}, {89, "Record Changed By Another Station"},
      {90, "File System Error"}, {91, "LOGOUT Not Active"}, {0, ""}, {12345, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtErrorTextFor(c.code), c.text) << c.code;
    RtSetError(c.code);
    EXPECT_EQ(RtErrorCode(), c.code);
    EXPECT_EQ(RtPushErrorText(), c.text);
  }
}

TEST(ErrorState, DriverDetailFollowsTheLastFailure) {
  RtSetFileError(kFileSystemError, "26", "file is encrypted or is not a database");
  EXPECT_EQ(RtErrorCode(), 90);
  EXPECT_EQ(RtPushFileErrorCode(), "26");
  EXPECT_EQ(RtPushFileErrorText(), "file is encrypted or is not a database");
  RtSetError(kNoError);
  EXPECT_EQ(RtPushFileErrorCode(), "");
  EXPECT_EQ(RtPushFileErrorText(), "");
}

TEST(ErrorState, EachThreadHasItsOwnStartingAtZero) {
  RtSetError(kRecordNotAvailable);
  LONG seen = -1;
  std::thread other([&] {
    seen = RtErrorCode();
    RtSetError(kAccessDenied);
  });
  other.join();
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

}  // namespace
}  // namespace qx
