// The requests of the automation channel (PROTOCOL.md): one JSON object in, one out.
// Thread-safe; a "wait" request blocks the calling thread (never a program thread).
#pragma once

#include <nlohmann/json.hpp>

#include "runtime/win/presentation.h"

namespace qx {

// Answers one request. Never throws: a malformed request gets {"ok": false, "error": ...}.
nlohmann::json HandleAutomationRequest(const nlohmann::json& request);

// The JSON forms of what the channel reports.
nlohmann::json WindowToJson(const WindowPresentation& window);
nlohmann::json MessageToJson(const MessagePresentation& box);

}  // namespace qx
