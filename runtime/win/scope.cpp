// Bind scopes; see scope.h.
#include "runtime/win/scope.h"

#include <map>

#include "runtime/text/strings.h"

namespace qx {
namespace {

thread_local std::vector<std::map<std::string, UseVariable>> tScopes;

}  // namespace

GroupRef RtNewGroupRef(std::initializer_list<std::pair<std::string, UseVariable>> fields) {
  GroupRef g;
  g.fields.assign(fields.begin(), fields.end());
  return g;
}

void RtPushScope(LONG) { tScopes.emplace_back(); }

void RtPopScope() {
  if (!tScopes.empty()) tScopes.pop_back();
}

void RtBind(std::string_view name, UseVariable variable) {
  if (!tScopes.empty()) tScopes.back()[RtUpper(name)] = variable;
}

void RtBindGroup(const GroupRef& group) {
  for (const auto& [name, variable] : group.fields) RtBind(name, variable);
}

std::optional<UseVariable> RtBound(std::string_view name) {
  const std::string key = RtUpper(name);
  for (auto it = tScopes.rbegin(); it != tScopes.rend(); ++it) {
    auto found = it->find(key);
    if (found != it->end()) return found->second;
  }
  return std::nullopt;
}

}  // namespace qx
