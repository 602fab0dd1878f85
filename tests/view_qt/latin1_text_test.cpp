// Latin-1 texts between the model and Qt: bytes one to one, typed text refused or replaced
// where Latin-1 cannot hold it.
#include "runtime/view/qt/latin1_text.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Latin1Text, BytesBecomeTheCharactersOfTheirCode) {
  const std::string bytes("A\xE9\xFF\x80 \x01", 6);
  const QString text = FromLatin1Bytes(bytes);
  ASSERT_EQ(text.size(), 6);
  EXPECT_EQ(text[1].unicode(), 0xE9);
  EXPECT_EQ(text[2].unicode(), 0xFF);
  EXPECT_EQ(text[3].unicode(), 0x80);
  EXPECT_EQ(ToLatin1Bytes(text), bytes) << "and back unchanged";
  EXPECT_EQ(FromLatin1Bytes(std::string("a\0b", 3)).size(), 3) << "a zero byte is a character too";
}

TEST(Latin1Text, WhatLatin1CannotHold) {
  struct Case {
    const char* utf8;
    bool fits;
    const char* replaced;
  } cases[] = {
      {"Zo\u00eb", true, "Zo\xEB"},
      {"", true, ""},
      {"5 \u20ac", false, "5 ?"},          // euro sign: in the Windows code page, not in Latin-1
      {"\u2603x\u2603", false, "?x?"},
      {"a\U0001F600b", false, "a?b"},     // one character outside the BMP, one replacement
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf8(c.utf8);
    EXPECT_EQ(FitsLatin1(text), c.fits) << c.utf8;
    EXPECT_EQ(ToLatin1Bytes(text).has_value(), c.fits) << c.utf8;
    EXPECT_EQ(ToLatin1Replacing(text), c.replaced) << c.utf8;
  }
}

}  // namespace
}  // namespace qx
