// The file manager: what the class library records of one data file for a program: the
// file, its record buffer and layout, its keys with their components, the error manager
// it reports to and the name that manager shows for it in place of "%File"; and the
// library's list of the file managers in use.
//
//   manager.Init(Standrd, errors);   // enters the list; opens nothing
//   manager.BUFFER = {Standrd.RecordBuffer(), &Standrd.layout(), Standrd.layout().length()};
//   manager.RegisterKey(STD_ByName, 0, "STD:ByName");
//   ...
//   manager.Shutdown();              // leaves the list; closes nothing
//
// Nothing here opens, creates, reads or closes a data file: the settings a file operation
// would use (CREATE, LOCKRECOVER, OPENMODE, LAZYOPEN, the key descriptions) are kept for
// the program, which runs its file operations through the record store directly.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/file.h"
#include "runtime/store/layout.h"
#include "runtime/text/types.h"

namespace qx {

class ErrorManager;

// A reference to a record: its address, its layout and its length in bytes.
struct RecordRef {
  unsigned char* address = nullptr;
  const RecordLayout* layout = nullptr;
  size_t length = 0;
};

// A typed reference to a variable or a field: its type, its width in bytes, its address.
struct VariableRef {
  FieldType type = FieldType::kString;
  size_t width = 0;
  void* address = nullptr;
  explicit operator bool() const { return address != nullptr; }
  // A text variable's value without trailing blanks (a CSTRING up to its terminator);
  // "" for an unset reference or a number.
  std::string Text() const;
};

// A typed reference to a STRING variable itself (not a copy of its value).
template <size_t N>
VariableRef RefTo(STRING<N>& variable) {
  return VariableRef{FieldType::kString, N, variable.data()};
}

// One component of a registered key.
struct KeyComponent {
  VariableRef FIELD;       // the field, inside the record BUFFER describes; unset when
                           // BUFFER was not set or does not have the field
  std::string NAME;        // the field's name; "UPPER(name)" for a text field of a
                           // case-insensitive key
  bool ASCENDING = true;   // every component of the store's keys sorts ascending
};

// A registered key.
struct KeyDescription {
  Key* KEY = nullptr;
  STRING<80> DESCRIPTION;  // the name it was registered under
  std::vector<KeyComponent> FIELDS;
  BYTE AUTOINC = 0;        // the auto-number flag it was registered with
  BYTE DUPS = 0;           // from the key's declaration
  BYTE NOCASE = 0;         // from the key's declaration
};

class FileManager {
 public:
  FileManager() = default;
  // A manager still in the list of file managers leaves it.
  virtual ~FileManager();
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  // ERRORS := `errors`, FILE := `file`; makes INFO, KEYS, BUFFERS and SAVED (empty);
  // SKIPHELDRECORDS 0, OPENMODE 42h, CREATE 1, LOCKRECOVER 10, PRIMARYKEY 0, LAZYOPEN 1,
  // HASAUTOINC 0; FILENAMEVALUE := the file's name property (7316h); enters the manager
  // at the end of the list of file managers (once, however often Init is called). Opens
  // nothing. `file` and `errors` must outlive the manager's Shutdown.
  void Init(FileDecl& file, ErrorManager& errors);

  // Appends a description of `key` to KEYS: the key, `name` (at most 80 characters), one
  // component per field of the key, its auto-number flag `autoInc`, and DUPS and NOCASE
  // from its declaration. A set `autoInc` makes HASAUTOINC 1. The components refer into
  // the record that BUFFER describes, so BUFFER is set first. Nothing before Init or for a
  // key of another file.
  void RegisterKey(Key& key, BYTE autoInc, std::string_view name);

  // Takes the manager out of the list of file managers and releases its lists and key
  // descriptions. Does not close the file. Nothing when it is not initialised.
  void Shutdown();

  // The text the error manager shows for this file in place of "%File": the current value
  // of the variable FILENAME refers to when that is set, else FILENAMEVALUE; without
  // trailing blanks.
  std::string GetName() const;

  // Raises error-manager message `id` about this file ("%File" is GetName()) and returns
  // the error manager's level; kLevelBenign, showing nothing, when there is no ERRORS.
  BYTE Throw(USHORT id);

  FileManager* ALIASEDFILE = nullptr;
  RecordRef BUFFER;
  std::unique_ptr<std::vector<std::string>> BUFFERS;  // saved record buffers
  BYTE CREATE = 0;
  ErrorManager* ERRORS = nullptr;
  FileDecl* FILE = nullptr;
  VariableRef FILENAME;             // the variable that holds the file's name, if any
  STRING<256> FILENAMEVALUE;
  BYTE HASAUTOINC = 0;
  std::unique_ptr<std::vector<std::string>> INFO;     // notes about the file's fields
  std::unique_ptr<std::vector<KeyDescription>> KEYS;
  BYTE LAZYOPEN = 0;
  SHORT LOCKRECOVER = 0;
  BYTE OPENMODE = 0;
  BYTE PRIMARYKEY = 0;
  std::unique_ptr<std::vector<std::string>> SAVED;    // saved file states
  BYTE SKIPHELDRECORDS = 0;
};

// The class library's list of file managers: every manager initialised and not yet shut
// down, in the order of their Init. Program threads only.
const std::vector<FileManager*>& FileManagers();

}  // namespace qx
