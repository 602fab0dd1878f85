// The relation manager; see relation_manager.h.
#include "classlib/relation_manager.h"

namespace qx {

void RelationManager::Init(FileManager& file, BYTE useLogout) {
  ME = &file;
  RELATIONS = std::make_unique<std::vector<RelationManager*>>();
  USELOGOUT = useLogout;
}

void RelationManager::Shutdown() { RELATIONS.reset(); }

}  // namespace qx
