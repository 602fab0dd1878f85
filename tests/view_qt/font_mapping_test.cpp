// Fonts: described faces to installed families, and size, weight and slant.
#include "runtime/view/qt/font_mapping.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace qx {
namespace {

TEST(FontMapping, DescribedFacesMapToInstalledFamiliesWithTheirMetrics) {
  struct Case {
    const char* face;
    const char* family;
  };
  const Case cases[] = {
      {"Arial", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"ms sans serif", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Arial Narrow", "Liberation Sans Narrow"},
      {"Times New Roman", "Liberation Serif"},
      {"COURIER NEW", "Liberation Mono"},
      {"Arial                           ", "Liberation Sans"},  // a blank-padded STRING
      {"liberation serif", "Liberation Serif"},  // installed, not in the table
      {"No Such Face Anywhere", "Liberation Sans"},
      {"", "Liberation Sans"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    EXPECT_EQ(InstalledFamilyFor(c.face), QString(c.family));
    // The family is really installed and drawn, not substituted by the font system.
    EXPECT_EQ(QFontInfo(QtFontFor(c.face, 8, kFontWeightNormal, false)).family(),
              QString(c.family));
  }
}

TEST(FontMapping, SizeWeightAndSlant) {
  struct Case {
    int points;
    int weight;
    bool italic;
    int expectedPoints;
    int expectedWeight;
    bool bold;
  };
  const Case cases[] = {
      {8, 400, false, 8, QFont::Normal, false},
      {8, 700, false, 8, QFont::Bold, true},
      {10, 400, true, 10, QFont::Normal, false},
      {12, 700, true, 12, QFont::Bold, true},
      {9, 550, false, 9, 550, true},      // between the named weights: bold above 500
      {8, 0, false, 8, QFont::Normal, false},      // no weight given
      {8, -7, false, 8, QFont::Normal, false},
      {8, 1500, false, 8, 1000, true},
      {0, 400, false, kDefaultFontPoints, QFont::Normal, false},  // no size given
      {-3, 400, false, kDefaultFontPoints, QFont::Normal, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.points << " pt, weight " << c.weight
                                    << (c.italic ? ", italic" : ""));
    const QFont font = QtFontFor("Arial", c.points, c.weight, c.italic);
    EXPECT_EQ(font.pointSize(), c.expectedPoints);
    EXPECT_EQ(static_cast<int>(font.weight()), c.expectedWeight);
    EXPECT_EQ(font.bold(), c.bold);
    EXPECT_EQ(font.italic(), c.italic);
  }
}

TEST(FontMapping, StyleHintFollowsTheKindOfFace) {
  EXPECT_EQ(QtFontFor("Arial", 8, 400, false).styleHint(), QFont::SansSerif);
  EXPECT_EQ(QtFontFor("Times New Roman", 8, 400, false).styleHint(), QFont::Serif);
  EXPECT_EQ(QtFontFor("Courier New", 8, 400, false).styleHint(), QFont::TypeWriter);
  EXPECT_EQ(QtFontFor("No Such Face Anywhere", 8, 400, false).styleHint(), QFont::SansSerif);
}

}  // namespace
}  // namespace qx
