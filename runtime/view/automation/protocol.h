// The requests of the automation channel (the README's "The automation channel"): one JSON object in, one out.
// Thread-safe; a "wait" request blocks the calling thread (never a program thread).
#pragma once

#include <nlohmann/json.hpp>

#include "runtime/win/presentation.h"

namespace qx {

// Answers one request. Never throws: a malformed request gets {"ok": false, "error": ...}.
// The request's texts are UTF-8 and are read into the programs' Latin-1 (a character beyond
// it is refused with an error); every text of the reply is UTF-8, whatever bytes the
// programs' texts hold. A "path" is the file system's and is taken as it is.
nlohmann::json HandleAutomationRequest(const nlohmann::json& request);

// The JSON forms of what the channel reports, with the model's texts as they are (Latin-1
// bytes; JsonToUtf8 of text_encoding.h makes them writable JSON).
nlohmann::json WindowToJson(const WindowPresentation& window);
nlohmann::json MessageToJson(const MessagePresentation& box);

}  // namespace qx
