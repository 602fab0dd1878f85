// Views over one file. A view projects all fields of its file into the file's record
// buffer and reads in the order, and from the place, set on the file before the view was
// opened: it is a window onto the calling thread's instance of the file, so NEXT,
// PREVIOUS, RESETfile, REGETfile and WATCH on it act on that instance, and its positions
// are positions in its order (a key position while the file is in a key's order).
//
// A RecordView object belongs to the thread that made it (a procedure's local).
#pragma once

#include <string>
#include <string_view>

#include "runtime/store/file.h"

namespace qx {

class RecordView {
 public:
  explicit RecordView(FileDecl& file) : file_(&file) {}
  RecordView(const RecordView&) = delete;
  RecordView& operator=(const RecordView&) = delete;
  FileDecl& file() const { return *file_; }
  bool isOpen() const { return open_; }

 private:
  friend void OPEN(RecordView&, LONG);
  friend void CLOSE(RecordView&);
  FileDecl* file_;
  bool open_ = false;
};

// Opens the view over its file, which this thread must have open. The mode is accepted
// for the callers' sake; the file's own mode governs. 0; 37 the file is not open; 52 the
// view is open already.
void OPEN(RecordView& view, LONG mode = 0x22);
// 0; 37 the view is not open.
void CLOSE(RecordView& view);

// As on the file; 37 when the view (or its file) is not open. RESETfile takes the view's
// own positions: record positions and key positions of the file's keys.
void NEXT(RecordView& view);
void PREVIOUS(RecordView& view);
std::string POSITIONfile(RecordView& view);
void RESETfile(RecordView& view, std::string_view position);
void REGETfile(RecordView& view, std::string_view position);
void WATCH(RecordView& view);

}  // namespace qx
