// Justification: alignment flags and the margins that carry the offset.
#include "runtime/view/qt/text_justification.h"

#include <gtest/gtest.h>

#include <QRect>

namespace qx {
namespace {

TEST(TextJustification, AlignmentAndOffsetMargins) {
  struct Case {
    Justification justification;
    int offset;
    Qt::Alignment vertical;
    Qt::Alignment alignment;
    QMargins margins;
  };
  const Qt::Alignment vcenter = Qt::AlignVCenter;
  const Case cases[] = {
      {Justification::kLeft, 0, vcenter, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {Justification::kLeft, 2, vcenter, Qt::AlignLeft | Qt::AlignVCenter, {3, 0, 0, 0}},
      {Justification::kLeft, 1, vcenter, Qt::AlignLeft | Qt::AlignVCenter, {2, 0, 0, 0}},
      {Justification::kLeft, -3, vcenter, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {Justification::kRight, 2, vcenter, Qt::AlignRight | Qt::AlignVCenter, {0, 0, 3, 0}},
      {Justification::kRight, -1, vcenter, Qt::AlignRight | Qt::AlignVCenter, {}},
      {Justification::kCenter, 0, vcenter, Qt::AlignHCenter | Qt::AlignVCenter, {}},
      {Justification::kCenter, 2, vcenter, Qt::AlignHCenter | Qt::AlignVCenter, {6, 0, 0, 0}},
      {Justification::kCenter, -2, vcenter, Qt::AlignHCenter | Qt::AlignVCenter, {0, 0, 6, 0}},
      {Justification::kLeft, 0, Qt::AlignTop, Qt::AlignLeft | Qt::AlignTop, {}},
      // Horizontal flags in the vertical argument are dropped: the justification decides.
      {Justification::kLeft, 0, Qt::AlignRight | Qt::AlignBottom,
       Qt::AlignLeft | Qt::AlignBottom, {}},
  };
  const DialogUnits units(DialogBaseUnits{6, 12});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.justification) << " offset "
                                    << c.offset << " vertical " << c.vertical);
    const TextPlacement placement = PlaceText(c.justification, c.offset, units, c.vertical);
    EXPECT_EQ(placement.alignment, c.alignment);
    EXPECT_EQ(placement.margins, c.margins);
  }
}

TEST(TextJustification, CentredTextMovesByItsOffset) {
  const DialogUnits units(DialogBaseUnits{6, 12});
  const QRect box(10, 0, 100, 20);
  for (int offset : {-4, -1, 0, 1, 4}) {
    const QMargins margins = PlaceText(Justification::kCenter, offset, units).margins;
    const QRect textBox = box.marginsRemoved(margins);
    // The middle of the box the text is centred in, in half pixels to stay exact.
    EXPECT_EQ(textBox.left() + textBox.right() - (box.left() + box.right()),
              2 * units.ToPixelsX(offset))
        << offset;
  }
}

}  // namespace
}  // namespace qx
