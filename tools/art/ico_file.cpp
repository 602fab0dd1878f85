// Multi-size .ICO files from Qt's single-image encoder; see ico_file.h.
//
// Layout of an .ICO file (all numbers little-endian):
//   header    6 bytes: reserved 0, type 1 (icon), number of images
//   entries  16 bytes each: width, height, colours, reserved, planes, bits per pixel,
//            size of the image data, offset of the image data from the file's start
//   data      each image's bitmap at its offset: a 40-byte bitmap header (height doubled),
//             the colour pixels (32 bits, bottom row first), then the AND mask (1 bit per
//             pixel, set where the pixel is see-through, rows padded to 32 bits)
//
// Qt's encoder leaves the padding bits of the AND mask uninitialised, so the mask is
// written afresh from the image's alpha: the same drawing always gives the same bytes.
#include "tools/art/ico_file.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cstdint>

namespace qx::art {
namespace {

constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;
constexpr int kBitmapHeaderSize = 40;

std::uint32_t ReadU32(const QByteArray& bytes, int at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

void AppendU16(QByteArray& bytes, std::uint32_t value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

void AppendU32(QByteArray& bytes, std::uint32_t value) {
  AppendU16(bytes, value & 0xFFFF);
  AppendU16(bytes, value >> 16);
}

std::uint32_t ReadU16(const QByteArray& bytes, int at) {
  return static_cast<std::uint8_t>(bytes[at]) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
}

// Replaces the AND mask at the end of one image's bitmap by one made from its alpha.
bool RewriteMask(const QImage& image, QByteArray* data, QString* error) {
  const int w = image.width(), h = image.height();
  const int maskRow = (w + 31) / 32 * 4;
  const qsizetype colourBytes = static_cast<qsizetype>(w) * h * 4;
  const qsizetype maskBytes = static_cast<qsizetype>(maskRow) * h;
  if (data->size() != kBitmapHeaderSize + colourBytes + maskBytes ||
      ReadU32(*data, 0) != kBitmapHeaderSize || ReadU16(*data, 14) != 32) {
    if (error) *error = "the ico plugin wrote a bitmap of an unexpected layout";
    return false;
  }
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  auto* mask = reinterpret_cast<unsigned char*>(data->data() + kBitmapHeaderSize + colourBytes);
  std::fill(mask, mask + maskBytes, 0);
  for (int row = 0; row < h; ++row) {
    const int y = h - 1 - row;  // bottom row first
    unsigned char* bits = mask + static_cast<qsizetype>(row) * maskRow;
    for (int x = 0; x < w; ++x) {
      if (qAlpha(argb.pixel(x, y)) == 0) bits[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
    }
  }
  return true;
}

struct EncodedImage {
  QByteArray entry;  // the first 12 bytes of its directory entry (no size, no offset)
  QByteArray data;
};

bool EncodeOne(const QImage& image, EncodedImage* out, QString* error) {
  QByteArray file;
  QBuffer buffer(&file);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "ico");
  if (!writer.write(image)) {
    if (error) *error = "the ico plugin could not write the image: " + writer.errorString();
    return false;
  }
  if (file.size() < kHeaderSize + kEntrySize) {
    if (error) *error = "the ico plugin wrote a truncated file";
    return false;
  }
  const std::uint32_t size = ReadU32(file, kHeaderSize + 8);
  const std::uint32_t offset = ReadU32(file, kHeaderSize + 12);
  if (static_cast<std::uint64_t>(offset) + size > static_cast<std::uint64_t>(file.size())) {
    if (error) *error = "the ico plugin wrote an image beyond the file's end";
    return false;
  }
  out->entry = file.mid(kHeaderSize, 8);
  out->data = file.mid(static_cast<qsizetype>(offset), static_cast<qsizetype>(size));
  return RewriteMask(image, &out->data, error);
}

}  // namespace

QByteArray EncodeIcoFile(const std::vector<QImage>& images, QString* error) {
  if (images.empty() || images.size() > 0xFFFF) {
    if (error) *error = "an icon file holds 1 to 65535 images";
    return {};
  }
  std::vector<EncodedImage> encoded(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i].width() > 256 || images[i].height() > 256 || images[i].isNull()) {
      if (error) *error = "an icon image is empty or larger than 256 pixels";
      return {};
    }
    if (!EncodeOne(images[i], &encoded[i], error)) return {};
  }

  QByteArray file;
  AppendU16(file, 0);
  AppendU16(file, 1);
  AppendU16(file, static_cast<std::uint32_t>(encoded.size()));
  std::uint32_t offset = kHeaderSize + kEntrySize * static_cast<std::uint32_t>(encoded.size());
  for (const EncodedImage& image : encoded) {
    file.append(image.entry);
    AppendU32(file, static_cast<std::uint32_t>(image.data.size()));
    AppendU32(file, offset);
    offset += static_cast<std::uint32_t>(image.data.size());
  }
  for (const EncodedImage& image : encoded) file.append(image.data);
  return file;
}

}  // namespace qx::art
