// Texts between the automation channel and the window model. The channel speaks JSON, whose
// texts are UTF-8; the model's texts (titles, control texts, cells, typed text) are bytes
// of the programs' single-byte code page, Latin-1. Every request is read into Latin-1 and
// every reply written in UTF-8, so that a text holding a byte above 127 goes both ways
// unchanged and never makes a reply unwritable.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace qx {

// Each byte as the character of the same code (U+0000 to U+00FF), in UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// The Latin-1 bytes of UTF-8 text; nothing when it holds a character beyond U+00FF or is
// not UTF-8.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// As Utf8ToLatin1, with `replacement` for each character (or stray byte) that has no
// Latin-1 byte.
std::string Utf8ToLatin1Replacing(std::string_view utf8, char replacement = '?');

// `value` with every text in it (object keys too), at any depth, converted from Latin-1 to
// UTF-8. The members of a top-level object named in `keep` are left as they are.
nlohmann::json JsonToUtf8(const nlohmann::json& value, std::initializer_list<const char*> keep = {});

// The inverse: every text converted from UTF-8 to Latin-1, except the top-level members
// named in `keep`. Nothing, with `offending` set to the first text that has a character
// beyond Latin-1, when one has.
std::optional<nlohmann::json> JsonToLatin1(const nlohmann::json& value, std::string* offending,
                                           std::initializer_list<const char*> keep = {});

}  // namespace qx
