// Decoded images become Qt images pixel for pixel.
#include "runtime/view/qt/image_conversion.h"

#include <gtest/gtest.h>

#include "runtime/win/image.h"

namespace qx {
namespace {

TEST(ImageConversion, PixelForPixelWithStraightAlpha) {
  Image image;
  image.width = 2;
  image.height = 2;
  image.rgba = {255, 0, 0, 255,  0, 255, 0, 128,  0, 0, 255, 0,  10, 20, 30, 255};
  const QImage q = ToQImage(image);
  ASSERT_EQ(q.size(), QSize(2, 2));
  EXPECT_EQ(q.pixelColor(0, 0), QColor(255, 0, 0, 255));
  EXPECT_EQ(q.pixelColor(1, 0), QColor(0, 255, 0, 128)) << "not premultiplied";
  EXPECT_EQ(q.pixelColor(0, 1).alpha(), 0);
  EXPECT_EQ(q.pixelColor(1, 1), QColor(10, 20, 30));

  Image broken = image;
  broken.rgba.pop_back();
  EXPECT_TRUE(ToQImage(broken).isNull()) << "a buffer that does not match the size";
  EXPECT_TRUE(ToQImage(Image{}).isNull());
}

TEST(ImageConversion, TheWallpaperAsTheModelDecodesIt) {
  const std::optional<Image> wallpaper = LoadResourceImage("bg.bmp");
  ASSERT_TRUE(wallpaper.has_value());
  const QImage q = ToQImage(*wallpaper);
  ASSERT_EQ(q.size(), QSize(215, 88));
  for (int y : {0, 44, 87}) {
    for (int x : {0, 107, 214}) {
      const size_t at = (static_cast<size_t>(y) * 215 + static_cast<size_t>(x)) * 4;
      EXPECT_EQ(q.pixelColor(x, y), QColor(wallpaper->rgba[at], wallpaper->rgba[at + 1], wallpaper->rgba[at + 2]));
    }
  }
}

}  // namespace
}  // namespace qx
