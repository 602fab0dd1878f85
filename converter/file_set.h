// qxshift's file set: a file manager and a relation manager of the class library for each
// of the four data files, built before the frame procedure runs and torn down after it.
//
// Nothing in the converter runs a file operation through these managers (the
// check-and-convert pass opens, creates and closes the data files through the record store
// itself), so building and tearing the set down touches no data file: it only records,
// for each file, its record buffer, its keys, the error manager it reports to
// (ProgramErrors) and the name shown for it in place of "%File".
//
//   file          "%File"                       keys registered, in order (auto-number)
//   Standrd       "Standrd"                     STD:ByName, STD:ByID
//   Encrypt       "Encrypt"                     ENC:ByName, ENC:ByPhone, ENC:BySuburb,
//                                               ENC:ByID, ENC:BySysID (1)
//   VeryLongName  "VeryLongName"                VLN:ByName
//   Varname       the value of VarnameFileName  VAR:ByName, VAR:BySuburb, VAR:ByID,
//                                               VAR:ByNameSuburb, VAR:ByCusIDName,
//                                               VAR:ByCusIDNameSuburb
#pragma once

#include "classlib/file_manager.h"
#include "classlib/relation_manager.h"
#include "runtime/text/types.h"

namespace qx {

// Each manager is of a class of its own; the file managers add nothing to the library's.
class StandrdFileManagerClass : public FileManager {};
class EncryptFileManagerClass : public FileManager {};
class VeryLongNameFileManagerClass : public FileManager {};
class VarnameFileManagerClass : public FileManager {};

// The relation managers' shut-down (slot 4) first shuts their file manager down.
class StandrdRelationManagerClass : public RelationManager {
 public:
  void Shutdown() override;
};
class EncryptRelationManagerClass : public RelationManager {
 public:
  void Shutdown() override;
};
class VeryLongNameRelationManagerClass : public RelationManager {
 public:
  void Shutdown() override;
};
class VarnameRelationManagerClass : public RelationManager {
 public:
  void Shutdown() override;
};

// The eight managers.
extern StandrdFileManagerClass StandrdFileManager;
extern EncryptFileManagerClass EncryptFileManager;
extern VeryLongNameFileManagerClass VeryLongNameFileManager;
extern VarnameFileManagerClass VarnameFileManager;
extern StandrdRelationManagerClass StandrdRelationManager;
extern EncryptRelationManagerClass EncryptRelationManager;
extern VeryLongNameRelationManagerClass VeryLongNameRelationManager;
extern VarnameRelationManagerClass VarnameRelationManager;

// Their references: null at load and after FileSetShutdown. A relation manager's holds it
// from the start of FileSetInit on, a file manager's from the end of its initialisation.
extern FileManager* StandrdFileManagerRef;
extern FileManager* EncryptFileManagerRef;
extern FileManager* VeryLongNameFileManagerRef;
extern FileManager* VarnameFileManagerRef;
extern RelationManager* StandrdRelationManagerRef;
extern RelationManager* EncryptRelationManagerRef;
extern RelationManager* VeryLongNameRelationManagerRef;
extern RelationManager* VarnameRelationManagerRef;

// The file-manager module's initialiser, run by the runtime with phase 0 at program start
// (before the program module's) and 1 at the end. The managers' classes are in place from
// load on; every phase makes sure the image, prompt and panel controls can be created.
void ManagerModuleInit(LONG phase);

// Builds the file set: the four relation-manager references bound, then each file's
// relation manager initialised (which first initialises its file manager), in the order
// Standrd, Encrypt, VeryLongName, Varname. Runs once, after ProgramErrors is initialised.
void FileSetInit();
// Tears it down in the same order through each relation manager's slot 4: the file
// manager, then the relation manager. Afterwards the eight references are null and the
// four file managers are out of the library's list. Runs once, before ProgramErrors is
// shut down.
void FileSetShutdown();

// The steps of FileSetInit and FileSetShutdown.
void FileSetBindRelations();
void FileSetInitBody();
void FileSetShutdownBody();

// One file's relation-manager initialisation: its file manager's initialisation, then
// RelationManager::Init with that manager and USELOGOUT 1.
void StandrdRelationManagerInit();
void EncryptRelationManagerInit();
void VeryLongNameRelationManagerInit();
void VarnameRelationManagerInit();

// One file's file-manager initialisation: FileManager::Init with the file and
// ProgramErrors; the "%File" name (the label, or for Varname a reference to
// VarnameFileName itself); BUFFER := the calling thread's record buffer with its layout
// and length; CREATE 1, LOCKRECOVER 10; the keys of the table above; then the reference.
void StandrdFileManagerInit();
void EncryptFileManagerInit();
void VeryLongNameFileManagerInit();
void VarnameFileManagerInit();

// One file's relation-manager shut-down (what its slot 4 does): its file manager's
// shut-down, RelationManager::Shutdown, then the relation manager's reference := null.
void StandrdRelationManagerShutdown();
void EncryptRelationManagerShutdown();
void VeryLongNameRelationManagerShutdown();
void VarnameRelationManagerShutdown();

// One file's file-manager shut-down: FileManager::Shutdown, then its reference := null.
void StandrdFileManagerShutdown();
void EncryptFileManagerShutdown();
void VeryLongNameFileManagerShutdown();
void VarnameFileManagerShutdown();

}  // namespace qx
