// Declarations made at run time from a data file's stored layout, for programs that work
// on files whose layout they learn only by reading it (RECFIX, the demo-data tool).
#pragma once

#include <memory>
#include <string>

#include "runtime/store/file.h"
#include "runtime/store/stored_layout.h"

namespace qx::recfix {

// A declaration of the data file `fileName` with exactly the stored layout's fields, keys
// and encryption: it carries the create and thread attributes, and the encrypt attribute
// with `owner` as its password when the layout is encrypted (`owner` is ignored
// otherwise, as the store ignores the owner of a file declared without encryption), and
// the scratch attribute when `scratch` is set. Its prefix is the part of the first
// field's name before the colon.
std::unique_ptr<FileDecl> MakeStoredDecl(const std::string& fileName, const std::string& owner,
                                         const StoredLayout& stored, bool scratch = false);

}  // namespace qx::recfix
