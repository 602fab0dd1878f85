// The committed artwork, as the programs carry it (embedded): each file decodes with Qt,
// has the sizes the windows ask for, and holds a real picture.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <set>
#include <string>
#include <vector>

#include "runtime/sys/resources.h"

namespace qx {
namespace {

QByteArray ResourceBytes(std::string_view name) {
  const auto bytes = RtFindResource(name);
  if (!bytes) return {};
  return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

int DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) colours.insert(argb.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST(ArtFiles, IconsHoldEverySizeAndAreDrawn) {
  struct Case {
    const char* name;
    std::set<int> sizes;
  };
  const Case cases[] = {
      {"JUMPPG.ICO", {16, 32, 48}},
      {"ICON32526.ICO", {16, 32}},
      {"ICON32527.ICO", {16, 32}},
      {"ICON32528.ICO", {16, 32}},
      {"ICON32529.ICO", {16, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = ResourceBytes(c.name);
    ASSERT_FALSE(bytes.isEmpty());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), static_cast<int>(c.sizes.size()));
    std::set<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
      ASSERT_TRUE(reader.jumpToImage(i));
      const QImage image = reader.read();
      ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
      EXPECT_EQ(image.width(), image.height());
      sizes.insert(image.width());
      EXPECT_GE(DistinctColours(image), 5) << image.width() << " pixels";
      // Icons stand on the toolbar's ground: some pixels are see-through, most are not.
      int transparent = 0;
      const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) transparent += qAlpha(argb.pixel(x, y)) == 0;
      }
      EXPECT_GT(transparent, 0) << image.width() << " pixels";
      EXPECT_LT(transparent, image.width() * image.height() / 2) << image.width() << " pixels";
    }
    EXPECT_EQ(sizes, c.sizes);
  }
}

TEST(ArtFiles, WallpaperIsPurpleLetteringOnLightGrey24BitBmp) {
  const QByteArray bytes = ResourceBytes("bg.bmp");
  ASSERT_GE(bytes.size(), 54);
  ASSERT_EQ(bytes.left(2), QByteArray("BM"));
  const auto u16 = [&bytes](int at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
  };
  EXPECT_EQ(u16(28), 24);  // bits per pixel
  EXPECT_EQ(u16(30), 0);   // uncompressed

  QImage image;
  ASSERT_TRUE(image.loadFromData(bytes, "BMP"));
  EXPECT_EQ(image.size(), QSize(215, 88));
  EXPECT_GE(DistinctColours(image), 16);

  // The ground: every corner, and most of the picture, one light, neutral grey.
  const QRgb ground = image.pixel(0, 0);
  EXPECT_GE(qGray(ground), 0xC0);
  EXPECT_LE(std::abs(qRed(ground) - qBlue(ground)), 8);
  EXPECT_LE(std::abs(qGreen(ground) - qBlue(ground)), 8);
  for (const QPoint corner : {QPoint(214, 0), QPoint(0, 87), QPoint(214, 87)}) {
    EXPECT_EQ(image.pixel(corner), ground);
  }
  int groundPixels = 0, purplePixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      groundPixels += p == ground;
      purplePixels += qRed(p) > qGreen(p) + 48 && qBlue(p) > qGreen(p) + 48;
    }
  }
  const int all = image.width() * image.height();
  EXPECT_GT(groundPixels, all / 2);
  EXPECT_GT(purplePixels, all / 20);  // the lettering
}

}  // namespace
}  // namespace qx
