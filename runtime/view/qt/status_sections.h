// The sections of a status bar: widths in horizontal dialog units of the window's font, -1
// for a section that takes the rest of the bar.
#pragma once

#include <vector>

#include "runtime/text/types.h"
#include "runtime/view/qt/dialog_units.h"

namespace qx {

// The pixel width of each section in a bar `barPixels` wide. Fixed sections keep their
// width (a negative width other than -1 counts as 0); the sections of width -1 share what
// is left equally (the first ones get the odd pixels), never less than 0, so fixed sections
// that do not fit push past the bar's end rather than shrink.
std::vector<int> StatusSectionPixels(const std::vector<LONG>& widths, int barPixels, const DialogUnits& units);

}  // namespace qx
