// Justification of the text in a control (left, right or centred, with an offset in dialog
// units of the window's font) turned into Qt alignment flags and the margins that carry the
// offset. The margins suit both a widget's contents margins and QRect::marginsRemoved()
// before drawing text with the alignment.
#pragma once

#include <QMargins>
#include <Qt>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/win/description.h"

namespace qx {

enum class Justification { kLeft, kCenter, kRight };

// The justification a control's described one stands for: decimal text is right-aligned
// (its decimal points line up when the values have the same number of decimals), and the
// default is `fallback`, the control kind's own.
Justification JustificationFor(Justify described, Justification fallback);

struct TextPlacement {
  Qt::Alignment alignment;  // one horizontal flag and the vertical flag asked for
  QMargins margins;         // in pixels; never negative
};

// Where the text of a control goes. `offset` is in horizontal dialog units:
//   kLeft    the text starts `offset` units right of the left edge;
//   kRight   the text ends `offset` units left of the right edge;
//   kCenter  the text is centred `offset` units right of the middle (left when negative),
//            done with a margin of twice the shift on the side it moves away from.
// A negative offset of left or right justified text counts as 0, so the text never starts
// outside its control. `vertical` is the vertical alignment flag to combine with
// (Qt::AlignVCenter for a single line, Qt::AlignTop for a wrapped prompt, ...).
TextPlacement PlaceText(Justification justification, int offset, const DialogUnits& units,
                        Qt::Alignment vertical = Qt::AlignVCenter);

}  // namespace qx
