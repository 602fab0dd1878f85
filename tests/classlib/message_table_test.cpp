// The stored form of message tables: what a table holds comes back whole, a table cut short
// gives the messages before the cut, and texts longer than a length byte holds are cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/message_table.h"

namespace qx {
namespace {

bool operator==(const MessageDef& a, const MessageDef& b) {
  return a.id == b.id && a.category == b.category && a.title == b.title && a.text == b.text;
}

TEST(MessageTable, RoundTripsAndCutsOverlongTexts) {
  const std::string longText(300, 'x');
  const std::vector<MessageDef> in = {{1, 3, "T1", "first"}, {0xFFFF, 255, "", ""}, {513, 5, longText, "a|b"}};
  const std::vector<unsigned char> table = EncodeMessageTable(in);
  EXPECT_EQ(table[0], 3);  // count, little-endian
  EXPECT_EQ(table[1], 0);
  const std::vector<MessageDef> out = DecodeMessageTable(table);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(out[0] == in[0]);
  EXPECT_TRUE(out[1] == in[1]);
  EXPECT_EQ(out[2].id, 513);
  EXPECT_EQ(out[2].title, std::string(255, 'x'));
  EXPECT_EQ(out[2].text, "a|b");
}

TEST(MessageTable, ATableCutShortGivesTheWholeMessagesBeforeTheCut) {
  const std::vector<unsigned char> table = EncodeMessageTable({{1, 0, "A", "aa"}, {2, 0, "B", "bb"}});
  const size_t firstEnd = 2 + (2 + 1 + 2 + 3);
  for (size_t cut = 0; cut < table.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::vector<MessageDef> out = DecodeMessageTable(std::span(table.data(), cut));
    EXPECT_EQ(out.size(), cut >= firstEnd ? 1u : 0u);
  }
  // A count larger than the messages present.
  std::vector<unsigned char> overcounted = table;
  overcounted[0] = 9;
  EXPECT_EQ(DecodeMessageTable(overcounted).size(), 2u);
}

TEST(MessageTable, NoDefaultMessageHidesAnother) {
  std::vector<USHORT> ids;
  for (const MessageDef& m : DecodeMessageTable(DefaultMessageTable())) ids.push_back(m.id);
  ASSERT_FALSE(ids.empty());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "two default messages share an id";
}

}  // namespace
}  // namespace qx
