// Bind scopes: the names under which a procedure binds its variables and record fields
// (for expressions evaluated by name). Each program thread has its own stack of scopes;
// a name is looked up from the innermost scope outwards.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/win/use_variable.h"

namespace qx {

// A group of named fields (a record), to be bound together.
struct GroupRef {
  std::vector<std::pair<std::string, UseVariable>> fields;
};

// A group reference over the given fields, in order.
GroupRef RtNewGroupRef(std::initializer_list<std::pair<std::string, UseVariable>> fields);

// Opens a scope (`flags` kept for the programs' calls) and closes the innermost one;
// closing with no scope open does nothing.
void RtPushScope(LONG flags = 0);
void RtPopScope();
// Binds a name, or every field of a group, in the innermost scope (a later binding of a
// name replaces an earlier one). Nothing when no scope is open.
void RtBind(std::string_view name, UseVariable variable);
void RtBindGroup(const GroupRef& group);
// The variable bound to `name` (without regard to case), innermost first.
std::optional<UseVariable> RtBound(std::string_view name);

}  // namespace qx
