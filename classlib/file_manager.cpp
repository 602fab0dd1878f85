// The file manager; see file_manager.h.
#include "classlib/file_manager.h"

#include <algorithm>
#include <cstring>

#include "classlib/error_manager.h"

namespace qx {
namespace {

// Never destroyed: managers that are globals leave it from their destructors at exit.
std::vector<FileManager*>& List() {
  static auto* list = new std::vector<FileManager*>;
  return *list;
}

void Leave(FileManager* m) {
  auto& list = List();
  list.erase(std::remove(list.begin(), list.end(), m), list.end());
}

}  // namespace

const std::vector<FileManager*>& FileManagers() { return List(); }

std::string VariableRef::Text() const {
  if (!address) return {};
  const char* p = static_cast<const char*>(address);
  switch (type) {
    case FieldType::kString:
      return std::string(RtClipView(std::string_view(p, width)));
    case FieldType::kCString:
      return std::string(RtClipView(std::string_view(p, ::strnlen(p, width))));
    default:
      return {};
  }
}

FileManager::~FileManager() { Leave(this); }

void FileManager::Init(FileDecl& file, ErrorManager& errors) {
  ERRORS = &errors;
  FILE = &file;
  INFO = std::make_unique<std::vector<std::string>>();
  KEYS = std::make_unique<std::vector<KeyDescription>>();
  BUFFERS = std::make_unique<std::vector<std::string>>();
  SAVED = std::make_unique<std::vector<std::string>>();
  SKIPHELDRECORDS = 0;
  OPENMODE = 0x42;
  CREATE = 1;
  LOCKRECOVER = 10;
  PRIMARYKEY = 0;
  LAZYOPEN = 1;
  HASAUTOINC = 0;
  FILENAMEVALUE = GET_PROPERTY(file, kPropFileName);
  auto& list = List();
  if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

void FileManager::RegisterKey(Key& key, BYTE autoInc, std::string_view name) {
  if (!KEYS || FILE == nullptr || &key.file() != FILE) return;
  const KeyDef& def = key.def();
  KeyDescription d;
  d.KEY = &key;
  d.DESCRIPTION = name;
  d.AUTOINC = autoInc;
  d.DUPS = def.dup ? 1 : 0;
  d.NOCASE = def.nocase ? 1 : 0;
  for (const std::string& component : def.components) {
    KeyComponent c;
    c.NAME = component;
    if (BUFFER.layout) {
      const int index = BUFFER.layout->FindField(component);
      if (index >= 0) {
        const FieldDef& f = BUFFER.layout->fields()[static_cast<size_t>(index)];
        c.NAME = f.name;
        if (BUFFER.address) c.FIELD = VariableRef{f.type, f.width, BUFFER.address + f.offset};
        const bool text = f.type == FieldType::kString || f.type == FieldType::kCString;
        if (text && def.nocase) c.NAME = "UPPER(" + f.name + ")";
      }
    }
    d.FIELDS.push_back(std::move(c));
  }
  KEYS->push_back(std::move(d));
  if (autoInc) HASAUTOINC = 1;
}

void FileManager::Shutdown() {
  Leave(this);
  INFO.reset();
  KEYS.reset();
  BUFFERS.reset();
  SAVED.reset();
}

std::string FileManager::GetName() const {
  if (FILENAME) return FILENAME.Text();
  return std::string(FILENAMEVALUE.clipped());
}

BYTE FileManager::Throw(USHORT id) {
  if (!ERRORS) return kLevelBenign;
  return ERRORS->ThrowFile(id, GetName());
}

}  // namespace qx
