// Declarations from stored layouts; see stored_decl.h.
#include "recfix/stored_decl.h"

namespace qx::recfix {

std::unique_ptr<FileDecl> MakeStoredDecl(const std::string& fileName, const std::string& owner,
                                         const StoredLayout& stored, bool scratch) {
  FileAttributes attrs;
  attrs.create = true;
  attrs.encrypt = stored.encrypted;
  attrs.scratch = scratch;
  std::string prefix;
  if (!stored.layout.fields().empty()) {
    const std::string& first = stored.layout.fields().front().name;
    const size_t colon = first.find(':');
    if (colon != std::string::npos) prefix = first.substr(0, colon);
  }
  return std::make_unique<FileDecl>(fileName, FileName(fileName), prefix, stored.encrypted ? owner : std::string(),
                                    attrs, stored.layout, stored.keys);
}

}  // namespace qx::recfix
