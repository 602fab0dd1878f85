// Qt keys as the library's key codes.
#include "runtime/view/qt/key_codes.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(KeyCodes, KeysAndModifiers) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    LONG code;
  } cases[] = {
      {Qt::Key_A, Qt::NoModifier, 0x41},
      {Qt::Key_Z, Qt::ShiftModifier, 0x15A},
      {Qt::Key_5, Qt::KeypadModifier, 0x35},
      {Qt::Key_Return, Qt::NoModifier, 0x0D},
      {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
      {Qt::Key_Return, Qt::ControlModifier, 0x20D},       // Ctrl+Enter
      {Qt::Key_Apostrophe, Qt::ControlModifier, 0x2DE},   // the ditto key
      {Qt::Key_Insert, Qt::NoModifier, 0x2D},
      {Qt::Key_Delete, Qt::NoModifier, 0x2E},
      {Qt::Key_F1, Qt::NoModifier, 0x70},
      {Qt::Key_F12, Qt::AltModifier, 0x47B},
      {Qt::Key_Escape, Qt::NoModifier, 0x1B},
      {Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier, 0x328},
      {Qt::Key_Backtab, Qt::ShiftModifier, 0x109},        // Shift+Tab, whichever way Qt names it
      {Qt::Key_Backtab, Qt::NoModifier, 0x109},
      {Qt::Key_Shift, Qt::ShiftModifier, 0},              // a modifier alone is no key
      {Qt::Key_Control, Qt::ControlModifier, 0},
      {Qt::Key_VolumeUp, Qt::NoModifier, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyCodeFor(c.key, c.modifiers), c.code) << std::hex << c.key << " " << c.modifiers;
  }
}

TEST(KeyCodes, TypedCharacters) {
  EXPECT_EQ(KeyCharFor("a"), 'a');
  EXPECT_EQ(KeyCharFor(QString::fromUtf8("\u00e9")), 0xE9);
  EXPECT_EQ(KeyCharFor(QString::fromUtf8("\u20ac")), 0) << "beyond Latin-1";
  EXPECT_EQ(KeyCharFor(""), 0);
  EXPECT_EQ(KeyCharFor("ab"), 0);
}

}  // namespace
}  // namespace qx
