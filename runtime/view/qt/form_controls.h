// The control views of the browse and form windows, each in a file of its own:
//   list    list_view.cpp    rows of a queue in columns, with a header, colours and a
//                            0-100 scroll bar that belongs to the model (list_widget.h)
//   sheet   sheet_view.cpp   a tab bar over a page, drawn beneath the other controls
//                            (sheet_widget.h)
//   tab     sheet_view.cpp   nothing of its own: its sheet's tab bar shows it
//   entry   entry_view.cpp   a line entry that takes its length from the picture
#pragma once

#include "runtime/view/qt/control_view.h"

namespace qx {

std::unique_ptr<ControlView> MakeListView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeSheetView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeTabView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakePictureEntryView(QWidget* parent, LONG window, LONG field);

// The most characters an entry with `picture` takes: the picture's width ("@s20" 20,
// "@n-14" 14, "@d17" the locale's date length); 0 (no limit) for a picture without a
// width or that cannot be read.
int EntryMaxLength(std::string_view picture);

}  // namespace qx
