// Where the icon and the text of a button go inside its bevel. A button with an icon shows
// it beside the text (the library's icon-and-text buttons): justified left, the icon sits
// at the left edge and the text follows it, left-aligned; justified right, the icon sits at
// the right edge and the text, right-aligned, ends before it; centred (or by default) the
// icon sits at the left edge and the text is centred in the room beside it. A button
// without an icon justifies its text in the whole inside. The text wraps at blanks within
// its rectangle, which is how the descriptions' runs of blanks break a label into lines.
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

#include "runtime/view/qt/text_justification.h"

namespace qx {

struct ButtonPlacement {
  QRect icon;                 // empty without an icon
  QRect text;
  Qt::Alignment textAlignment;
};

// `inside`: the button's contents rectangle; `icon`: the icon's own size (empty for none),
// shrunk, keeping its proportions, to the inside's height when it is taller; `gap`: pixels
// between icon and text. The icon is centred vertically; the text rectangle has the
// inside's full height and the text is centred vertically in it.
ButtonPlacement PlaceButtonContent(QRect inside, QSize icon, Justification justification, int gap);

}  // namespace qx
