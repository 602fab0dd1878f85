// Decoding the program's images for image controls, button icons, window icons and the
// wallpaper: Windows bitmaps (BMP), icons (ICO, the entries stored as bitmaps) and JPEG
// (through libjpeg 62). Shared by both views so that they show the same pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom
};

// Decodes BMP, ICO or JPEG bytes, recognised by their content. For an icon the largest
// entry stored as a bitmap is taken (entries stored as PNG are skipped). Nothing when the
// bytes are none of these or are damaged; never reads past the bytes given.
std::optional<Image> DecodeImage(std::string_view bytes);

// The image of the named program resource (runtime/sys/resources.h), decoded.
std::optional<Image> LoadResourceImage(std::string_view resourceName);

}  // namespace qx
