// A small program on the standard functions, driven end to end through the harness so that
// the warnings which end the program end a real process. The arguments pick what it does:
//   warning N [T1 [T2]]   ShowWarning(N, T1, T2) with error 2 "File Not Found" current
//   open mismatch         OpenDataFile on a CUSTOMER file of another layout
//   open rebuild          OpenDataFile on a CUSTOMER file whose key data must be rebuilt
//   open missing-error    OpenDataFile with MissingIsError on a missing CUSTOMER file
// When the call returns, the program writes "returned R" to stderr and ends with exit
// code 3; a halt ends it with exit code 0 and writes nothing more.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo/open_data_file.h"
#include "demo/warnings.h"
#include "runtime/store/store.h"
#include "runtime/view/program_entry.h"
#include "runtime/win/win.h"

namespace {

using namespace qx;

int gArgc = 0;
char** gArgv = nullptr;

struct Customer {
  LONG ID;
  STRING<20> NAME;
};

KeyDef Key(std::string name, std::string component) {
  KeyDef k;
  k.name = std::move(name);
  k.components = {std::move(component)};
  k.dup = k.opt = k.nocase = true;
  return k;
}

std::unique_ptr<FileDecl> Customers(std::vector<KeyDef> keys) {
  FileAttributes a;
  a.create = true;
  return std::make_unique<FileDecl>("Customers", FileName("CUSTOMER"), "CUS", "", a,
                                    LayoutOf<Customer>().Field("CUS:ID", &Customer::ID).Field("CUS:NAME", &Customer::NAME),
                                    std::move(keys));
}

std::string Arg(int i) { return gArgc > i ? gArgv[i] : ""; }

void Returned(LONG result) {
  std::fprintf(stderr, "returned %d\n", static_cast<int>(result));
  RtTerminate(3);
}

void ProgramEntry() {
  const std::string mode = Arg(1);
  if (mode == "warning") {
    RtSetError(kFileNotFound);
    Returned(ShowWarning(std::atoi(Arg(2).c_str()), Arg(3), Arg(4)));
  }
  static auto file = Customers({Key("CUS:ByName", "CUS:NAME"), Key("CUS:ByID", "CUS:ID")});
  const std::string how = Arg(2);
  if (how == "mismatch") {
    auto older = Customers({Key("CUS:ByName", "CUS:NAME")});
    CREATE(*older);
  } else if (how == "rebuild") {
    CREATE(*file);
    OPEN(*file, 0x12);
    file->Record<Customer>().ID = 1;
    file->Record<Customer>().NAME = "Ann";
    APPEND(*file);
    CLOSE(*file);
  }
  OpenDataFile(*file, 1, how == "missing-error" ? 1 : 0, 0, 1);
  Returned(RtErrorCode());
}

}  // namespace

int main(int argc, char** argv) {
  gArgc = argc;
  gArgv = argv;
  return qx::RtRunProgram(argc, argv, &ProgramEntry);
}
