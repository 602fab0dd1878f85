// qxshift's file set; see file_set.h.
#include "converter/file_set.h"

#include <vector>

#include "converter/program_module.h"
#include "demo/data_files.h"
#include "runtime/win/control_kinds.h"

namespace qx {

StandrdFileManagerClass StandrdFileManager;
EncryptFileManagerClass EncryptFileManager;
VeryLongNameFileManagerClass VeryLongNameFileManager;
VarnameFileManagerClass VarnameFileManager;
StandrdRelationManagerClass StandrdRelationManager;
EncryptRelationManagerClass EncryptRelationManager;
VeryLongNameRelationManagerClass VeryLongNameRelationManager;
VarnameRelationManagerClass VarnameRelationManager;

FileManager* StandrdFileManagerRef = nullptr;
FileManager* EncryptFileManagerRef = nullptr;
FileManager* VeryLongNameFileManagerRef = nullptr;
FileManager* VarnameFileManagerRef = nullptr;
RelationManager* StandrdRelationManagerRef = nullptr;
RelationManager* EncryptRelationManagerRef = nullptr;
RelationManager* VeryLongNameRelationManagerRef = nullptr;
RelationManager* VarnameRelationManagerRef = nullptr;

namespace {

struct KeyToRegister {
  Key& key;
  BYTE autoInc;
  const char* name;  // in mixed case; the declarations keep key names upper case
};

// Everything the file set holds of one data file. Made when it is needed: the keys are
// bound by the declarations' own module, whose start-up order against this one is open.
struct ManagedFile {
  FileDecl& file;
  FileManager& fileManager;
  FileManager*& fileManagerRef;
  RelationManager& relationManager;
  RelationManager*& relationManagerRef;
  const char* label;  // the "%File" name; nullptr: the value of VarnameFileName
  std::vector<KeyToRegister> keys;
};

ManagedFile StandrdFile() {
  return {Standrd, StandrdFileManager, StandrdFileManagerRef, StandrdRelationManager, StandrdRelationManagerRef,
          "Standrd", {{STD_ByName, 0, "STD:ByName"}, {STD_ByID, 0, "STD:ByID"}}};
}

ManagedFile EncryptFile() {
  return {Encrypt, EncryptFileManager, EncryptFileManagerRef, EncryptRelationManager, EncryptRelationManagerRef,
          "Encrypt",
          {{ENC_ByName, 0, "ENC:ByName"},
           {ENC_ByPhone, 0, "ENC:ByPhone"},
           {ENC_BySuburb, 0, "ENC:BySuburb"},
           {ENC_ByID, 0, "ENC:ByID"},
           {ENC_BySysID, 1, "ENC:BySysID"}}};
}

ManagedFile VeryLongNameFile() {
  return {VeryLongName, VeryLongNameFileManager, VeryLongNameFileManagerRef, VeryLongNameRelationManager,
          VeryLongNameRelationManagerRef, "VeryLongName", {{VLN_ByName, 0, "VLN:ByName"}}};
}

ManagedFile VarnameFile() {
  return {Varname, VarnameFileManager, VarnameFileManagerRef, VarnameRelationManager, VarnameRelationManagerRef,
          nullptr,
          {{VAR_ByName, 0, "VAR:ByName"},
           {VAR_BySuburb, 0, "VAR:BySuburb"},
           {VAR_ByID, 0, "VAR:ByID"},
           {VAR_ByNameSuburb, 0, "VAR:ByNameSuburb"},
           {VAR_ByCusIDName, 0, "VAR:ByCusIDName"},
           {VAR_ByCusIDNameSuburb, 0, "VAR:ByCusIDNameSuburb"}}};
}

void InitFileManager(const ManagedFile& f) {
  FileManager& m = f.fileManager;
  m.Init(f.file, ProgramErrors);
  if (f.label) {
    m.FILENAMEVALUE = f.label;
  } else {
    m.FILENAME = RefTo(VarnameFileName);  // the variable itself: "%File" follows its value
  }
  m.BUFFER = RecordRef{f.file.RecordBuffer(), &f.file.layout(), f.file.layout().length()};
  m.CREATE = 1;
  m.LOCKRECOVER = 10;
  for (const KeyToRegister& k : f.keys) m.RegisterKey(k.key, k.autoInc, k.name);
  f.fileManagerRef = &m;
}

void InitRelationManager(const ManagedFile& f) {
  InitFileManager(f);
  f.relationManager.Init(*f.fileManagerRef, 1);
}

void ShutdownFileManager(const ManagedFile& f) {
  f.fileManager.Shutdown();
  f.fileManagerRef = nullptr;
}

void ShutdownRelationManager(const ManagedFile& f) {
  ShutdownFileManager(f);
  f.relationManager.RelationManager::Shutdown();
  f.relationManagerRef = nullptr;
}

}  // namespace

void StandrdRelationManagerClass::Shutdown() { StandrdRelationManagerShutdown(); }
void EncryptRelationManagerClass::Shutdown() { EncryptRelationManagerShutdown(); }
void VeryLongNameRelationManagerClass::Shutdown() { VeryLongNameRelationManagerShutdown(); }
void VarnameRelationManagerClass::Shutdown() { VarnameRelationManagerShutdown(); }

void ManagerModuleInit(LONG) {
  // The eight managers' virtual operations are in place by construction; nothing else is
  // set up here: FileSetInit initialises them.
  RtRegisterImageControl();
  RtRegisterPromptControl();
  RtRegisterPanelControl();
}

void FileSetInit() {
  FileSetBindRelations();
  FileSetInitBody();
}

void FileSetBindRelations() {
  StandrdRelationManagerRef = &StandrdRelationManager;
  EncryptRelationManagerRef = &EncryptRelationManager;
  VeryLongNameRelationManagerRef = &VeryLongNameRelationManager;
  VarnameRelationManagerRef = &VarnameRelationManager;
}

void FileSetInitBody() {
  StandrdRelationManagerInit();
  EncryptRelationManagerInit();
  VeryLongNameRelationManagerInit();
  VarnameRelationManagerInit();
}

void FileSetShutdown() { FileSetShutdownBody(); }

void FileSetShutdownBody() {
  // Through each object's own slot 4.
  RelationManager* const managers[] = {&StandrdRelationManager, &EncryptRelationManager,
                                       &VeryLongNameRelationManager, &VarnameRelationManager};
  for (RelationManager* m : managers) m->Shutdown();
}

void StandrdRelationManagerInit() { InitRelationManager(StandrdFile()); }
void EncryptRelationManagerInit() { InitRelationManager(EncryptFile()); }
void VeryLongNameRelationManagerInit() { InitRelationManager(VeryLongNameFile()); }
void VarnameRelationManagerInit() { InitRelationManager(VarnameFile()); }

void StandrdFileManagerInit() { InitFileManager(StandrdFile()); }
void EncryptFileManagerInit() { InitFileManager(EncryptFile()); }
void VeryLongNameFileManagerInit() { InitFileManager(VeryLongNameFile()); }
void VarnameFileManagerInit() { InitFileManager(VarnameFile()); }

void StandrdRelationManagerShutdown() { ShutdownRelationManager(StandrdFile()); }
void EncryptRelationManagerShutdown() { ShutdownRelationManager(EncryptFile()); }
void VeryLongNameRelationManagerShutdown() { ShutdownRelationManager(VeryLongNameFile()); }
void VarnameRelationManagerShutdown() { ShutdownRelationManager(VarnameFile()); }

void StandrdFileManagerShutdown() { ShutdownFileManager(StandrdFile()); }
void EncryptFileManagerShutdown() { ShutdownFileManager(EncryptFile()); }
void VeryLongNameFileManagerShutdown() { ShutdownFileManager(VeryLongNameFile()); }
void VarnameFileManagerShutdown() { ShutdownFileManager(VarnameFile()); }

}  // namespace qx
