// Where things go: message box buttons in order, status bar sections, the wallpaper's
// layouts, a button's icon beside its text, justification of described controls.
#include <gtest/gtest.h>

#include <QRegion>

#include "runtime/view/qt/button_layout.h"
#include "runtime/view/qt/message_buttons.h"
#include "runtime/view/qt/status_sections.h"
#include "runtime/view/qt/text_justification.h"
#include "runtime/view/qt/wallpaper_layout.h"
#include "runtime/win/presentation.h"

namespace qx {
namespace {

TEST(MessageButtons, PlatformOrderLabelsAndEscape) {
  struct Case {
    LONG buttons;
    std::vector<LONG> order;
    LONG escape;
  } cases[] = {
      {kButtonOk, {kButtonOk}, kButtonOk},
      {kButtonNo + kButtonYes, {kButtonYes, kButtonNo}, 0},
      {kButtonCancel + kButtonYes + kButtonNo, {kButtonYes, kButtonNo, kButtonCancel}, kButtonCancel},
      {kButtonCancel + kButtonRetry, {kButtonRetry, kButtonCancel}, kButtonCancel},
      {kButtonIgnore + kButtonRetry + kButtonAbort, {kButtonAbort, kButtonRetry, kButtonIgnore}, 0},
      {kButtonOk + 0x100, {kButtonOk}, kButtonOk},  // a bit that is no button
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageButtonsInOrder(c.buttons), c.order) << c.buttons;
    EXPECT_EQ(EscapeAnswer(c.buttons), c.escape) << c.buttons;
  }
  EXPECT_EQ(MessageButtonLabel(kButtonYes), "&Yes");
  EXPECT_EQ(MessageButtonLabel(kButtonOk), "OK");
  EXPECT_TRUE(MessageButtonLabel(kButtonYes + kButtonNo).isEmpty());
}

TEST(StatusSections, FixedWidthsAndTheRest) {
  const DialogUnits units(DialogBaseUnits{6, 12});  // 1.5 pixels a horizontal unit
  struct Case {
    std::vector<LONG> widths;
    int bar;
    std::vector<int> pixels;
  } cases[] = {
      {{-1, 80, 120, 45}, 600, {232, 120, 180, 68}},  // the demonstration frame's bar (45 -> 67.5 -> 68)
      {{-1}, 300, {300}},
      {{-1, -1, 10}, 100, {43, 42, 15}},             // two share the rest, the first the odd pixel
      {{200, -1}, 100, {300, 0}},                    // too little room: the rest is empty
      {{40, 60}, 500, {60, 90}},                     // no rest section: the bar's end stays empty
      {{-5, -1}, 90, {0, 90}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusSectionPixels(c.widths, c.bar, units), c.pixels) << c.bar;
  }
}

TEST(WallpaperLayout, CentredAndTiled) {
  const QSize picture(215, 88);
  const auto centred = WallpaperPlacements(QSize(645, 300), picture, kWallpaperCentred);
  ASSERT_EQ(centred.size(), 1u);
  EXPECT_EQ(centred[0], QRect(215, 106, 215, 88));
  const auto small = WallpaperPlacements(QSize(100, 50), picture, kWallpaperCentred);
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].center().x(), 49) << "a picture larger than the area stays centred";

  const auto tiles = WallpaperPlacements(QSize(430, 177), picture, kWallpaperTiled);
  ASSERT_EQ(tiles.size(), 6u) << "two across (exactly), three down (the last cut off)";
  EXPECT_EQ(tiles.front(), QRect(0, 0, 215, 88));
  EXPECT_EQ(tiles.back(), QRect(215, 176, 215, 88));
  QRegion covered;
  for (const QRect& r : tiles) covered += r;
  EXPECT_TRUE(covered.contains(QRect(0, 0, 430, 177)));

  EXPECT_TRUE(WallpaperPlacements(QSize(100, 100), picture, 0).empty());
  EXPECT_TRUE(WallpaperPlacements(QSize(100, 100), picture, 3).empty());
  EXPECT_TRUE(WallpaperPlacements(QSize(0, 100), picture, kWallpaperTiled).empty());
  EXPECT_TRUE(WallpaperPlacements(QSize(100, 100), QSize(), kWallpaperTiled).empty());
}

TEST(ButtonLayout, IconBesideTheText) {
  const QRect inside(4, 4, 100, 30);
  struct Case {
    QSize icon;
    Justification justification;
    QRect iconAt, textAt;
    Qt::Alignment align;
  } cases[] = {
      {{24, 24}, Justification::kLeft, {4, 7, 24, 24}, {32, 4, 72, 30}, Qt::AlignLeft | Qt::AlignVCenter},
      {{24, 24}, Justification::kRight, {80, 7, 24, 24}, {4, 4, 72, 30}, Qt::AlignRight | Qt::AlignVCenter},
      {{24, 24}, Justification::kCenter, {4, 7, 24, 24}, {32, 4, 72, 30}, Qt::AlignHCenter | Qt::AlignVCenter},
      {{32, 32}, Justification::kLeft, {4, 4, 30, 30}, {38, 4, 66, 30}, Qt::AlignLeft | Qt::AlignVCenter},  // shrunk
      {{}, Justification::kRight, {}, {4, 4, 100, 30}, Qt::AlignRight | Qt::AlignVCenter},  // no icon
  };
  for (const Case& c : cases) {
    const ButtonPlacement p = PlaceButtonContent(inside, c.icon, c.justification, 4);
    EXPECT_EQ(p.icon, c.iconAt) << static_cast<int>(c.justification) << " " << c.icon.width();
    EXPECT_EQ(p.text, c.textAt) << static_cast<int>(c.justification) << " " << c.icon.width();
    EXPECT_EQ(p.textAlignment, c.align);
  }
  const ButtonPlacement narrow = PlaceButtonContent(QRect(0, 0, 20, 30), QSize(24, 24), Justification::kLeft, 4);
  EXPECT_EQ(narrow.icon.width(), 20) << "an icon never leaves its button";
  EXPECT_EQ(narrow.text.width(), 0);
}

TEST(TextJustification, DescribedJustification) {
  EXPECT_EQ(JustificationFor(Justify::kLeft, Justification::kCenter), Justification::kLeft);
  EXPECT_EQ(JustificationFor(Justify::kCentre, Justification::kLeft), Justification::kCenter);
  EXPECT_EQ(JustificationFor(Justify::kRight, Justification::kLeft), Justification::kRight);
  EXPECT_EQ(JustificationFor(Justify::kDecimal, Justification::kLeft), Justification::kRight);
  EXPECT_EQ(JustificationFor(Justify::kDefault, Justification::kCenter), Justification::kCenter);
}

}  // namespace
}  // namespace qx
