// Today's declarations of the four data files (demo/data_files.h) for a file of any name:
// a conversion must produce files that open under these.
#pragma once

#include <memory>
#include <string>

#include "demo/data_files.h"

namespace qx::recfix_test {

enum class Today { kStandrd, kEncrypt, kVeryLongName, kVarname };

// Today's declaration of `which`, under the file name `fileName` (the programs use
// "STANDRD", "ENCRYPT", "VERYLONG" and "variable.tps").
inline std::unique_ptr<FileDecl> MakeTodayDecl(Today which, const std::string& fileName) {
  switch (which) {
    case Today::kStandrd: return DeclarationNamed(Standrd, fileName);
    case Today::kEncrypt: return DeclarationNamed(Encrypt, fileName);
    case Today::kVeryLongName: return DeclarationNamed(VeryLongName, fileName);
    case Today::kVarname: return DeclarationNamed(Varname, fileName);
  }
  return nullptr;
}

}  // namespace qx::recfix_test
