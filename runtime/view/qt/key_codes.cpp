// Qt keys to the library's key codes; see key_codes.h.
#include "runtime/view/qt/key_codes.h"

#include <array>
#include <utility>

#include "runtime/win/keycodes.h"

namespace qx {
namespace {

// Keys whose virtual key number is not a simple range of Qt's.
constexpr std::array<std::pair<int, LONG>, 30> kKeyTable = {{
    {Qt::Key_Backspace, kKeyBackspace},
    {Qt::Key_Tab, kKeyTab},
    {Qt::Key_Backtab, kKeyTab},  // Shift+Tab: Qt names it apart, the platform does not
    {Qt::Key_Return, kKeyEnter},
    {Qt::Key_Enter, kKeyEnter},
    {Qt::Key_Escape, kKeyEscape},
    {Qt::Key_Space, kKeySpace},
    {Qt::Key_PageUp, kKeyPageUp},
    {Qt::Key_PageDown, kKeyPageDown},
    {Qt::Key_End, kKeyEnd},
    {Qt::Key_Home, kKeyHome},
    {Qt::Key_Left, kKeyLeft},
    {Qt::Key_Up, kKeyUp},
    {Qt::Key_Right, kKeyRight},
    {Qt::Key_Down, kKeyDown},
    {Qt::Key_Insert, kKeyInsert},
    {Qt::Key_Delete, kKeyDelete},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Apostrophe, kKeyQuote},
    {Qt::Key_QuoteDbl, kKeyQuote},  // the same key with Shift on the usual layout
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
}};

LONG BaseCode(int key, Qt::KeyboardModifiers modifiers) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x41 + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x30 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kKeyF1 + (key - Qt::Key_F1);
  if (key == Qt::Key_BracketRight) return 0xDD;
  for (const auto& [qtKey, code] : kKeyTable) {
    if (qtKey == key) return code;
  }
  (void)modifiers;
  return 0;
}

}  // namespace

LONG KeyCodeFor(int key, Qt::KeyboardModifiers modifiers) {
  const LONG base = BaseCode(key, modifiers);
  if (base == 0) return 0;
  LONG code = base;
  if (modifiers & Qt::ShiftModifier || key == Qt::Key_Backtab) code |= kKeyShiftBit;
  if (modifiers & Qt::ControlModifier) code |= kKeyCtrlBit;
  if (modifiers & Qt::AltModifier) code |= kKeyAltBit;
  return code;
}

LONG KeyCharFor(const QString& typed) {
  if (typed.size() != 1) return 0;
  const char16_t c = typed[0].unicode();
  if (c == 0 || c > 0xFF) return 0;
  return static_cast<LONG>(c);
}

}  // namespace qx
