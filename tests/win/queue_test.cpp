// The runtime's queue: entries copied to and from the entry buffer, appending and inserting
// as a browse's fills do, deleting the entry last read, and the errors of entry numbers
// that name no entry.
#include <gtest/gtest.h>

#include <string>

#include "runtime/sys/error_state.h"
#include "runtime/win/queue.h"

namespace qx {
namespace {

// An entry like a browse's: a number, a text, a byte, and a position text.
struct Row {
  LONG id = 0;
  STRING<20> name;
  BYTE mark = 0;
  std::string position;
};

class Queue : public ::testing::Test {
 protected:
  Row buffer;
  RtQueue queue{{"ID", buffer.id}, {"NAME", buffer.name}, {"MARK", buffer.mark}, {"POSITION", buffer.position}};

  void Add(LONG id, const char* name, LONG at = 0) {
    buffer.id = id;
    buffer.name = name;
    buffer.position = "pos" + std::to_string(id);
    if (at == 0) {
      RtQueueAdd(queue);
    } else {
      ASSERT_EQ(RtQueueAdd(queue, at), 0);
    }
  }
  // The ids of all entries, in order, read through the buffer.
  std::string Ids() {
    std::string out;
    for (LONG n = 1; n <= RtQueueRecords(queue); ++n) {
      EXPECT_EQ(RtQueueGet(queue, n), 0);
      out += (out.empty() ? "" : " ") + std::to_string(buffer.id);
    }
    return out;
  }
};

TEST_F(Queue, AppendsAtTheBottomAndInsertsAsEntryOne) {
  Add(2, "Bea");
  Add(3, "Cid");
  Add(1, "Ann", 1);
  Add(9, "Zed", 4);  // one past the last: appended
  EXPECT_EQ(Ids(), "1 2 3 9");
  ASSERT_EQ(RtQueueGet(queue, 1), 0);
  EXPECT_EQ(buffer.name.clipped(), "Ann");
  EXPECT_EQ(buffer.position, "pos1") << "a std::string field keeps its text";
  EXPECT_EQ(RtQueuePointer(queue), 1);
}

TEST_F(Queue, EntriesAreCopiesOfTheBuffer) {
  Add(1, "Ann");
  buffer.id = 99;
  buffer.name = "changed";
  ASSERT_EQ(RtQueueGet(queue, 1), 0);
  EXPECT_EQ(buffer.id, 1);
  EXPECT_EQ(buffer.name.view(), STRING<20>("Ann").view()) << "with its blanks";
  const QueueValue v = queue.Value(1, 1);
  EXPECT_FALSE(v.numeric);
  EXPECT_EQ(v.text.size(), 20u);
  EXPECT_TRUE(queue.Value(1, 0).numeric);
  EXPECT_EQ(queue.Value(1, 0).number, 1);
  EXPECT_EQ(queue.FieldIndex("position"), 3);
  EXPECT_EQ(queue.FieldIndex("nothing"), -1);
}

TEST_F(Queue, DeleteRemovesTheEntryLastRead) {
  for (LONG id = 1; id <= 5; ++id) Add(id, "x");
  ASSERT_EQ(RtQueueGet(queue, 2), 0);
  ASSERT_EQ(RtQueueDelete(queue), 0);
  EXPECT_EQ(Ids(), "1 3 4 5");
  // Dropping the top row at a full page, as a forward fill does: fetch 1, delete it.
  ASSERT_EQ(RtQueueGet(queue, 1), 0);
  ASSERT_EQ(RtQueueDelete(queue), 0);
  EXPECT_EQ(RtQueueDelete(queue), kEntryNotFound) << "no entry counts as last read after a delete";
  EXPECT_EQ(RtErrorCode(), kEntryNotFound);
  ASSERT_EQ(RtQueueGet(queue, 3), 0);
  buffer.id = 50;
  ASSERT_EQ(RtQueuePut(queue), 0);
  EXPECT_EQ(Ids(), "3 4 50");
}

TEST_F(Queue, EntryNumbersThatNameNoEntryAreRefused) {
  Add(1, "Ann");
  Add(2, "Bea");
  for (LONG n : {0, -1, 3}) {
    buffer.id = 77;
    EXPECT_EQ(RtQueueGet(queue, n), kEntryNotFound) << n;
    EXPECT_EQ(buffer.id, 77) << "the buffer stays as it was";
  }
  EXPECT_EQ(RtQueueAdd(queue, 0), kEntryNotFound);
  EXPECT_EQ(RtQueueAdd(queue, 4), kEntryNotFound);
  EXPECT_EQ(RtQueueRecords(queue), 2);
  ASSERT_EQ(RtQueueGet(queue, 2), 0);
  EXPECT_EQ(RtErrorCode(), 0) << "a success clears the error";
}

TEST_F(Queue, FreeAndReleaseEmptyTheQueueAndLeaveItUsable) {
  for (LONG id = 1; id <= 300; ++id) Add(id, "many");
  const std::uint64_t before = queue.revision();
  RtQueueFree(queue);
  EXPECT_EQ(RtQueueRecords(queue), 0);
  EXPECT_GT(queue.revision(), before) << "a list showing the queue sees the change";
  EXPECT_EQ(buffer.id, 300) << "the buffer is not touched";
  Add(7, "again");
  RtQueueRelease(queue);
  EXPECT_EQ(RtQueueRecords(queue), 0);
  EXPECT_EQ(RtQueuePointer(queue), 0);
  Add(8, "after release");
  EXPECT_EQ(Ids(), "8");
}

}  // namespace
}  // namespace qx
