// Views over one file. A view projects all fields of its file into the file's record
// buffer and reads in the order, and from the place, set on the file before the view was
// opened: it is a window onto the calling thread's instance of the file, so NEXT,
// PREVIOUS, RESETfile, REGETfile and WATCH on it act on that instance, and its positions
// are positions in its order (a key position while the file is in a key's order).
//
// A View object belongs to the thread that made it (a procedure's local).
#pragma once

#include <string>
#include <string_view>

#include "runtime/store/file.h"

namespace qx {

class View {
 public:
  explicit View(FileDecl& file) : file_(&file) {}
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  FileDecl& file() const { return *file_; }
  bool isOpen() const { return open_; }

 private:
  friend void OPEN(View&, LONG);
  friend void CLOSE(View&);
  FileDecl* file_;
  bool open_ = false;
};

// Opens the view over its file, which this thread must have open. The mode is accepted
// for the callers' sake; the file's own mode governs. 0; 37 the file is not open; 52 the
// view is open already.
void OPEN(View& view, LONG mode = 0x22);
// 0; 37 the view is not open.
void CLOSE(View& view);

// As on the file; 37 when the view (or its file) is not open. RESETfile takes the view's
// own positions: record positions and key positions of the file's keys.
void NEXT(View& view);
void PREVIOUS(View& view);
std::string POSITIONfile(View& view);
void RESETfile(View& view, std::string_view position);
void REGETfile(View& view, std::string_view position);
void WATCH(View& view);

}  // namespace qx
