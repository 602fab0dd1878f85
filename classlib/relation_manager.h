// The relation manager: stands for one file (through its file manager) in the relations
// between files. The library keeps the list of relations; a program with no relations
// between its files leaves it empty.
#pragma once

#include <memory>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

class FileManager;

class RelationManager {
 public:
  RelationManager() = default;
  virtual ~RelationManager() = default;
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;

  // ME := `file`, RELATIONS := a new empty list, USELOGOUT := `useLogout` (whether changes
  // through related files are framed as one transaction). `file` must outlive Shutdown.
  void Init(FileManager& file, BYTE useLogout);

  // Slot 4: releases the relations and RELATIONS. Closes no file.
  virtual void Shutdown();

  FileManager* ME = nullptr;
  std::unique_ptr<std::vector<RelationManager*>> RELATIONS;  // the related files' managers
  FileManager* ALIASFILE = nullptr;
  BYTE USELOGOUT = 0;
  LONG LASTTOUCHED = 0;
};

}  // namespace qx
