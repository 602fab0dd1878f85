// Dialog units: base units measured from real fonts, and the conversions to and from
// pixels with their rounding.
#include "runtime/view/qt/dialog_units.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QString>

#include <climits>
#include <cmath>

namespace qx {
namespace {

struct FontCase {
  const char* family;
  int points;
  bool bold;
  bool italic;
};

// The Windows figures computed another way: the 52 letters measured as one run with
// kerning switched off, and the quotient rounded as a real number.
DialogBaseUnits ExpectedBaseUnits(QFont font) {
  font.setKerning(false);
  const QFontMetrics metrics(font);
  const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const double average = metrics.horizontalAdvance(letters) / 52.0;
  return {static_cast<int>(std::floor(average + 0.5)), metrics.ascent() + metrics.descent()};
}

TEST(DialogUnits, BaseUnitsFollowTheFontMetrics) {
  // Bold Liberation Sans 8 averages about 6.7 pixels: truncating instead of rounding
  // would give 6. The larger sizes show the font itself is measured, not a default one.
  const FontCase cases[] = {
      {"Liberation Sans", 8, false, false}, {"Liberation Sans", 8, true, false},
      {"Liberation Serif", 10, false, true}, {"Liberation Mono", 8, false, false},
      {"Liberation Sans", 16, true, false}, {"Liberation Sans", 24, false, false},
  };
  for (const FontCase& c : cases) {
    QFont font(c.family);
    font.setPointSize(c.points);
    font.setBold(c.bold);
    font.setItalic(c.italic);
    const DialogBaseUnits expected = ExpectedBaseUnits(font);
    const DialogBaseUnits measured = MeasureDialogBaseUnits(font);
    SCOPED_TRACE(testing::Message() << c.family << " " << c.points << (c.bold ? " bold" : "")
                                    << (c.italic ? " italic" : ""));
    EXPECT_EQ(measured.averageCharWidth, expected.averageCharWidth);
    EXPECT_EQ(measured.charHeight, expected.charHeight);

    const DialogUnits units(font);
    EXPECT_EQ(units.ToPixelsX(4), expected.averageCharWidth);
    EXPECT_EQ(units.ToPixelsY(8), expected.charHeight);
  }
}

TEST(DialogUnits, ConversionsRoundToTheNearestPixelHalvesAwayFromZero) {
  struct Case {
    DialogBaseUnits base;
    int dialogUnits;
    int pixelsX;
    int pixelsY;
  };
  const Case cases[] = {
      {{6, 12}, 0, 0, 0},
      {{6, 12}, 4, 6, 6},
      {{6, 12}, 8, 12, 12},
      {{6, 12}, 1, 2, 2},        // 1.5 and 1.5 round up
      {{6, 12}, -1, -2, -2},     // and symmetrically down
      {{6, 12}, 429, 644, 644},  // the frame: 643.5 and 643.5
      {{6, 12}, 262, 393, 393},
      {{6, 13}, 3, 5, 5},        // 4.5 and 4.875
      {{6, 13}, 5, 8, 8},        // 7.5 and 8.125
      {{5, 13}, 2, 3, 3},        // 2.5 and 3.25
      {{7, 15}, -3, -5, -6},     // -5.25 and -5.625
      {{7, 15}, 110, 193, 206},  // the welcome window's width as x and as y
  };
  for (const Case& c : cases) {
    const DialogUnits units(c.base);
    SCOPED_TRACE(testing::Message() << c.base.averageCharWidth << "x" << c.base.charHeight
                                    << ", " << c.dialogUnits << " units");
    EXPECT_EQ(units.ToPixelsX(c.dialogUnits), c.pixelsX);
    EXPECT_EQ(units.ToPixelsY(c.dialogUnits), c.pixelsY);
  }
}

TEST(DialogUnits, RectangleConvertsEachMeasureOnItsOwn) {
  const DialogUnits units(DialogBaseUnits{6, 12});
  // A width computed as the difference of rounded edges would come out 1 here, not 2.
  EXPECT_EQ(units.ToPixels(1, 1, 1, 1), QRect(2, 2, 2, 2));
  // The reset button of the toolbar: 7, 2, 76, 23.
  EXPECT_EQ(units.ToPixels(7, 2, 76, 23), QRect(11, 3, 114, 35));
}

TEST(DialogUnits, PixelsConvertBackToTheUnitsTheyCameFrom) {
  for (const DialogBaseUnits base : {DialogBaseUnits{6, 12}, DialogBaseUnits{5, 13},
                                     DialogBaseUnits{9, 19}}) {
    const DialogUnits units(base);
    for (int du = -50; du <= 600; ++du) {
      ASSERT_EQ(units.FromPixelsX(units.ToPixelsX(du)), du) << base.averageCharWidth;
      ASSERT_EQ(units.FromPixelsY(units.ToPixelsY(du)), du) << base.charHeight;
    }
  }
  const DialogUnits units(DialogBaseUnits{6, 12});
  EXPECT_EQ(units.FromPixelsX(640), 427);  // 426.67
  EXPECT_EQ(units.FromPixelsY(400), 267);  // 266.67
}

TEST(DialogUnits, DegenerateBaseUnitsAndHugeValuesStayInRange) {
  const DialogUnits tiny(DialogBaseUnits{0, -3});
  EXPECT_EQ(tiny.baseUnits().averageCharWidth, 1);
  EXPECT_EQ(tiny.baseUnits().charHeight, 1);
  EXPECT_EQ(tiny.FromPixelsX(10), 40);
  EXPECT_EQ(tiny.FromPixelsY(10), 80);

  const DialogUnits units(DialogBaseUnits{6, 12});
  EXPECT_EQ(units.ToPixelsX(INT_MAX), INT_MAX);
  EXPECT_EQ(units.ToPixelsY(INT_MIN), INT_MIN);
}

}  // namespace
}  // namespace qx
