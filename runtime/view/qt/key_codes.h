// Keys as the window library reports them (runtime/win/keycodes.h): the platform's virtual
// key number plus 100h for Shift, 200h for Ctrl and 400h for Alt. Qt's key events mapped to
// those codes, and the character a key typed.
#pragma once

#include <QString>
#include <Qt>

#include "runtime/text/types.h"

namespace qx {

// The key code of Qt key `key` pressed with `modifiers`; 0 for a key without a code of the
// library (a modifier key alone, dead keys, media keys). Letters are 41h..5Ah whatever the
// case, digits 30h..39h (also on the keypad, where Qt::KeypadModifier adds no bit), F1..F24
// 70h..87h; Return and the keypad's Enter are both 0Dh.
LONG KeyCodeFor(int key, Qt::KeyboardModifiers modifiers);

// The character that the key typed, as the model's single-byte code (1..255); 0 when it
// typed none, or more than one character, or a character beyond Latin-1.
LONG KeyCharFor(const QString& typed);

}  // namespace qx
