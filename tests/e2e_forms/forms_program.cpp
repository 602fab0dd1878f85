// A test program that calls one of qxmora's update forms the way its browse does, for the
// end-to-end tests: qxmora's frame opens on the main thread, and a second thread opens the
// data file, reads the record or clears the buffer, hands the request over, calls the form
// and writes its answer to stderr ("response R"); then it closes the frame and the program
// ends with exit code 0.
//
//   forms_test_program FORM REQUEST [N]
//     FORM     Standrd, Encrypt, VeryLongName or Varname
//     REQUEST  insert, change or delete (of record N in record order, 1 = the first)
//
// The data file is made anew at the start with three customers: 1 Ann Kew, 2 Bob Ryde and
// 3 Cid Manly (ENC:SYSID 1, 2, 3).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo/data_files.h"
#include "demo/open_data_file.h"
#include "demo/program_module.h"
#include "demo/update_forms.h"
#include "demo/use_counts.h"
#include "runtime/store/file.h"
#include "runtime/view/program_entry.h"
#include "runtime/win/win.h"

namespace {

using namespace qx;

struct FormChoice {
  const char* name;
  FileDecl* file;
  void (*form)();
  LONG& (*useCount)();
};

const FormChoice kForms[] = {
    {"Standrd", &Standrd, &UpdateStandrd, []() -> LONG& { return StandrdUseCount; }},
    {"Encrypt", &Encrypt, &UpdateEncrypt, []() -> LONG& { return EncryptUseCount; }},
    {"VeryLongName", &VeryLongName, &UpdateVeryLongName, []() -> LONG& { return VeryLongNameUseCount; }},
    {"Varname", &Varname, &UpdateVarname, []() -> LONG& { return VarnameUseCount; }},
};

const FormChoice* gForm = nullptr;
LONG gRequest = 0;
int gRecord = 0;

// Sets field `name` (with the file's prefix) of the calling thread's record buffer.
void SetField(FileDecl& file, const std::string& name, const std::string& value) {
  const int i = file.layout().FindField(file.prefix() + ":" + name);
  if (i < 0) return;
  const FieldDef& f = file.layout().fields()[static_cast<size_t>(i)];
  unsigned char* at = file.RecordBuffer() + f.offset;
  if (f.type == FieldType::kLong) {
    const LONG v = std::atoi(value.c_str());
    std::memcpy(at, &v, sizeof v);
  } else {
    std::memset(at, ' ', f.width);
    std::memcpy(at, value.data(), std::min(value.size(), f.width));
  }
}

bool MakeFile(FileDecl& file) {
  CREATE(file);
  OPEN(file, 0x42);
  if (RtErrorCode() != 0) return false;
  const char* names[] = {"Ann", "Bob", "Cid"};
  const char* suburbs[] = {"Kew", "Ryde", "Manly"};
  for (int i = 0; i < 3; ++i) {
    RtClearGroup(file.RecordBuffer(), file.layout(), 0);
    SetField(file, "CUSID", std::to_string(i + 1));
    SetField(file, "NAME", names[i]);
    SetField(file, "SUBURB", suburbs[i]);
    SetField(file, "SYSID", std::to_string(i + 1));
    ADD(file);
  }
  CLOSE(file);
  return true;
}

// The browse's part around the call, on a thread of its own.
void Caller() {
  FileDecl& file = *gForm->file;
  if (gForm->useCount() == 0) OpenDataFile(file, 1, 0, 0, 1);
  gForm->useCount() += 1;
  if (gRequest == 1) {
    GETfileptr(file, 0);
    RtClearGroup(file.RecordBuffer(), file.layout(), 0);
  } else {
    SETfile(file);
    for (int i = 0; i < gRecord; ++i) NEXT(file);
    const std::string position = POSITIONfile(file);
    WATCH(file);
    REGETfile(file, position);
  }
  CurrentRequest = gRequest;
  NavigationRequest = 0;
  gForm->form();
  std::fprintf(stderr, "response %d\n", static_cast<int>(CurrentResponse));
  gForm->useCount() -= 1;
  if (gForm->useCount() == 0) CLOSE(file);
  RtPost(kEventCloseWindow, 0, 1);
}

int gArgc = 0;
char** gArgv = nullptr;

void Entry() {
  static const RtModule kModules[] = {{"qxmora", 5, &ProgramModuleInit}};
  RtRegisterModule(kModules, 0);
  const std::string form = gArgc > 1 ? gArgv[1] : "";
  const std::string request = gArgc > 2 ? gArgv[2] : "";
  gRecord = gArgc > 3 ? std::atoi(gArgv[3]) : 0;
  for (const FormChoice& f : kForms) {
    if (form == f.name) gForm = &f;
  }
  gRequest = request == "insert" ? 1 : request == "change" ? 2 : request == "delete" ? 3 : 0;
  if (gForm == nullptr || gRequest == 0 || !MakeFile(*gForm->file)) {
    std::fprintf(stderr, "usage: forms_test_program Standrd|Encrypt|VeryLongName|Varname insert|change|delete [N]\n");
    RtTerminate(2);
  }
  WindowRef frame;
  RtNewAppFrame(frame, "qxmora$qxd001", "P1$APPFRAME");
  RtOpenWindow(frame);
  RtStart(&Caller, 50000);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(frame);
  RtEndProgram();
}

}  // namespace

int main(int argc, char** argv) {
  gArgc = argc;
  gArgv = argv;
  return qx::RtRunProgram(argc, argv, &Entry);
}
