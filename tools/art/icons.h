// The programs' icons, each drawn at one size in pixels (16, 32 or 48; other sizes scale
// the 32-pixel design).
#pragma once

#include <QImage>

namespace qx::art {

// "JUMPPG.ICO", the frame's icon: a cascade of windows under a golden curved arrow.
QImage DrawProgramIcon(int size);

// "ICON32526.ICO": two pages, a curved arrow from the patterned left page to the plain
// right page.
QImage DrawPagesLeftToRightIcon(int size);

// "ICON32527.ICO": two pages, a curved arrow from the patterned right page to the plain
// left page.
QImage DrawPagesRightToLeftIcon(int size);

// "ICON32528.ICO": a cascade of windows under a green curved arrow.
QImage DrawCascadeIcon(int size);

// "ICON32529.ICO": six tiled windows.
QImage DrawTiledWindowsIcon(int size);

}  // namespace qx::art
