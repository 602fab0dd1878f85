// The table of control kinds the window model can create, by the kind name of the
// descriptions ("button", "string", ...). Every kind of the library is in the table from
// the start; the programs' registration calls are kept and make sure of theirs.
#pragma once

#include <memory>
#include <string_view>

#include "runtime/win/control.h"

namespace qx {

using ControlFactory = std::unique_ptr<Control> (*)(const ControlDescription&, ControlArea, LONG parentField);

// Adds or replaces a kind. Thread-safe.
void RegisterControlKind(std::string_view kind, ControlFactory factory);
// A new control of the description's kind; nullptr when the kind is unknown.
std::unique_ptr<Control> CreateControl(const ControlDescription& description, ControlArea area, LONG parentField);

// The programs' module initialisers call these so that their global windows' image, prompt
// and panel controls can be created; they may be called any number of times.
void RtRegisterImageControl();
void RtRegisterPromptControl();
void RtRegisterPanelControl();

}  // namespace qx
