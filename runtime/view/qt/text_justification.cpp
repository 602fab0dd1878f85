// Text justification to Qt alignment; see text_justification.h.
#include "runtime/view/qt/text_justification.h"

#include <algorithm>

namespace qx {

Justification JustificationFor(Justify described, Justification fallback) {
  switch (described) {
    case Justify::kLeft: return Justification::kLeft;
    case Justify::kRight: return Justification::kRight;
    case Justify::kCentre: return Justification::kCenter;
    case Justify::kDecimal: return Justification::kRight;
    case Justify::kDefault: break;
  }
  return fallback;
}

TextPlacement PlaceText(Justification justification, int offset, const DialogUnits& units,
                        Qt::Alignment vertical) {
  const Qt::Alignment verticalOnly = vertical & Qt::AlignVertical_Mask;
  TextPlacement placement{verticalOnly, QMargins()};
  switch (justification) {
    case Justification::kLeft:
      placement.alignment |= Qt::AlignLeft;
      placement.margins.setLeft(units.ToPixelsX(std::max(0, offset)));
      break;
    case Justification::kRight:
      placement.alignment |= Qt::AlignRight;
      placement.margins.setRight(units.ToPixelsX(std::max(0, offset)));
      break;
    case Justification::kCenter: {
      placement.alignment |= Qt::AlignHCenter;
      const int shift = units.ToPixelsX(offset);
      if (shift > 0) placement.margins.setLeft(2 * shift);
      if (shift < 0) placement.margins.setRight(-2 * shift);
      break;
    }
  }
  return placement;
}

}  // namespace qx
