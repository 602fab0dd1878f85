// Texts between the window model and Qt. The model's texts (STRING values, titles, messages)
// are bytes in the Western single-byte code page, which is Latin-1 for every character a
// person can type here; Qt holds Unicode. Bytes become characters one to one, and typed
// characters go back only when Latin-1 can hold them.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace qx {

// Each byte as the character of the same code (0..255).
QString FromLatin1Bytes(std::string_view bytes);

// The bytes of `text`, one per character; nothing when a character lies beyond Latin-1
// (code above 255), so that typed text the model cannot hold is refused, not mangled.
std::optional<std::string> ToLatin1Bytes(const QString& text);

// As ToLatin1Bytes, with every character beyond Latin-1 replaced by `replacement` (for text
// that must go through whatever it holds, such as the system clipboard in a paste).
// A character outside the Basic Multilingual Plane (a surrogate pair) is one character and
// gets one replacement.
std::string ToLatin1Replacing(const QString& text, char replacement = '?');

// True when every character of `text` is in Latin-1.
bool FitsLatin1(const QString& text);

}  // namespace qx
