// The control views of the library's first kinds, each in a file of its own:
//   button   button_view.cpp   a push button with icon and text beside each other
//   prompt   text_views.cpp    a fixed text, wrapped at blanks, "&" underlines its access key
//   string   text_views.cpp    a one-line display of a value through its picture
//   panel    panel_view.cpp    a rectangle of the window's ground with an optional bevel
//   image    image_view.cpp    a picture (a program resource or a system icon)
// and the two a kind without a view of its own gets: a line entry for controls that take
// typed text (entry_view.cpp), a widget that shows nothing for the rest (control_view.cpp).
#pragma once

#include "runtime/view/qt/control_view.h"

namespace qx {

std::unique_ptr<ControlView> MakeButtonView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakePromptView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeStringView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakePanelView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeImageView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeLineEntryView(QWidget* parent, LONG window, LONG field);
std::unique_ptr<ControlView> MakeBlankView(QWidget* parent, LONG window, LONG field);

}  // namespace qx
