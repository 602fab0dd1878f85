// Colours: 00BBGGRR values, "none", and system colours from the palette.
#include "runtime/view/qt/colour_mapping.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace qx {
namespace {

LONG SystemColour(ULONG index) { return static_cast<LONG>(kSystemColourBase + index); }

// A palette in which every entry of every group has a colour of its own, so a system
// colour taken from the wrong role or group shows.
QPalette DistinctPalette() {
  QPalette palette;
  int n = 1;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      palette.setColor(group, static_cast<QPalette::ColorRole>(role), QColor(n, 255 - n, 100));
      ++n;
    }
  }
  return palette;
}

TEST(ColourMapping, RgbValuesAreBlueGreenRedFromHighToLow) {
  struct Case {
    ULONG value;
    int red, green, blue;
  };
  const Case cases[] = {
      {0x000000, 0, 0, 0},         {0xFFFFFF, 255, 255, 255},
      {0x800000, 0, 0, 128},       // navy
      {0xFF0000, 0, 0, 255},       // blue
      {0x0000FF, 255, 0, 0},       {0x00FF00, 0, 255, 0},
      {0x808080, 128, 128, 128},   {0x123456, 0x56, 0x34, 0x12},
  };
  const QPalette palette = DistinctPalette();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.value);
    const auto colour = ColourFromLong(static_cast<LONG>(c.value), palette);
    ASSERT_TRUE(colour.has_value());
    EXPECT_EQ(*colour, QColor(c.red, c.green, c.blue));
  }
}

TEST(ColourMapping, SystemColoursComeFromTheirPaletteRole) {
  struct Case {
    ULONG index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
  };
  const Case cases[] = {
      {0, QPalette::Active, QPalette::Midlight},    // ground of the global windows, tabs
      {1, QPalette::Active, QPalette::Dark},
      {5, QPalette::Active, QPalette::Base},
      {8, QPalette::Active, QPalette::Text},
      {9, QPalette::Active, QPalette::HighlightedText},
      {12, QPalette::Active, QPalette::Dark},
      {13, QPalette::Active, QPalette::Highlight},
      {15, QPalette::Active, QPalette::Button},
      {17, QPalette::Disabled, QPalette::Text},
      {18, QPalette::Active, QPalette::ButtonText},
      {20, QPalette::Active, QPalette::Light},
      {24, QPalette::Active, QPalette::ToolTipBase},
      {30, QPalette::Active, QPalette::Window},
  };
  const QPalette palette = DistinctPalette();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const auto colour = ColourFromLong(SystemColour(c.index), palette);
    ASSERT_TRUE(colour.has_value());
    EXPECT_EQ(*colour, palette.color(c.group, c.role));
  }
  for (int index = 0; index <= kLastSystemColourIndex; ++index) {
    EXPECT_TRUE(PaletteColourForSystemIndex(index).has_value()) << index;
  }
}

TEST(ColourMapping, NoneAndValuesOutsideTheEncodingLeaveTheDefault) {
  const ULONG values[] = {
      0xFFFFFFFF,                               // -1, none
      kSystemColourBase + kLastSystemColourIndex + 1,
      kSystemColourBase + 0x00FFFFFF,
      0x01000005, 0x02FF0000, 0x7FFFFFFF, 0x81000000, 0xFE123456,
  };
  const QPalette palette = DistinctPalette();
  for (ULONG value : values) {
    EXPECT_FALSE(ColourFromLong(static_cast<LONG>(value), palette).has_value())
        << std::hex << value;
  }
  EXPECT_FALSE(ColourFromLong(kColourNone, palette).has_value());
  EXPECT_FALSE(PaletteColourForSystemIndex(-1).has_value());
  EXPECT_FALSE(PaletteColourForSystemIndex(kLastSystemColourIndex + 1).has_value());
}

TEST(ColourMapping, WithoutAPaletteTheApplicationPaletteIsUsed) {
  const QPalette saved = QGuiApplication::palette();
  const QPalette palette = DistinctPalette();
  QGuiApplication::setPalette(palette);
  const auto buttonFace = ColourFromLong(SystemColour(15));
  const auto scrollBar = ColourFromLong(SystemColour(0));
  const auto navy = ColourFromLong(0x800000);
  QGuiApplication::setPalette(saved);

  ASSERT_TRUE(buttonFace.has_value() && scrollBar.has_value() && navy.has_value());
  EXPECT_EQ(*buttonFace, palette.color(QPalette::Active, QPalette::Button));
  EXPECT_EQ(*scrollBar, palette.color(QPalette::Active, QPalette::Midlight));
  EXPECT_EQ(*navy, QColor(0, 0, 128));
}

}  // namespace
}  // namespace qx
