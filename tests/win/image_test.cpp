// Decoding BMP, ICO and JPEG images, and refusing damaged ones without reading past them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "runtime/win/image.h"

namespace qx {
namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

std::string InfoHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t colours) {
  std::string s;
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(w));
  Put32(s, static_cast<uint32_t>(h));
  Put16(s, 1);
  Put16(s, bpp);
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, colours);
  Put32(s, 0);
  return s;
}

// 2 x 2, 24 bits, bottom-up: top row red, green; bottom row blue, white.
std::string Bmp24() {
  std::string pixels;
  const unsigned char rows[2][6] = {{255, 0, 0, 255, 255, 255}, {0, 0, 255, 0, 255, 0}};  // BGR, bottom first
  for (const auto& row : rows) {
    pixels.append(reinterpret_cast<const char*>(row), 6);
    pixels.append(2, '\0');  // rows padded to 4 bytes
  }
  std::string s = "BM";
  Put32(s, static_cast<uint32_t>(14 + 40 + pixels.size()));
  Put32(s, 0);
  Put32(s, 14 + 40);
  s += InfoHeader(2, 2, 24, 0);
  return s + pixels;
}

// An icon of one 2 x 2 entry, 8 bits with a palette of two colours and an AND mask that
// makes the top-left pixel transparent.
std::string Ico8() {
  std::string dib = InfoHeader(2, 4, 8, 2);  // height counts the mask too
  Put32(dib, 0x00FF0000);                     // palette 0: red (stored B, G, R, 0)
  Put32(dib, 0x0000FF00);                     // palette 1: green
  dib += std::string("\x01\x00\x00\x00", 4);  // bottom row: green, red
  dib += std::string("\x00\x01\x00\x00", 4);  // top row: red, green
  dib += std::string("\x00\x00\x00\x00", 4);  // mask bottom row: opaque
  dib += std::string("\x80\x00\x00\x00", 4);  // mask top row: left pixel transparent
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, 1);
  s += static_cast<char>(2);
  s += static_cast<char>(2);
  s += std::string(2, '\0');
  Put16(s, 1);
  Put16(s, 8);
  Put32(s, static_cast<uint32_t>(dib.size()));
  Put32(s, 6 + 16);
  return s + dib;
}

std::string Jpeg(int w, int h) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
  for (int x = 0; x < w; ++x) {
    row[static_cast<size_t>(x) * 3] = 200;
    row[static_cast<size_t>(x) * 3 + 1] = 40;
    row[static_cast<size_t>(x) * 3 + 2] = 120;
  }
  while (c.next_scanline < c.image_height) {
    unsigned char* rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::string s(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return s;
}

std::array<int, 4> Pixel(const Image& img, int x, int y) {
  const auto* p = &img.rgba[(static_cast<size_t>(y) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 4];
  return {p[0], p[1], p[2], p[3]};
}

TEST(Image, BitmapRowsComeOutTopToBottom) {
  auto img = DecodeImage(Bmp24());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 2);
  EXPECT_EQ(img->height, 2);
  EXPECT_EQ(Pixel(*img, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(*img, 1, 0), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(*img, 0, 1), (std::array<int, 4>{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(*img, 1, 1), (std::array<int, 4>{255, 255, 255, 255}));
}

TEST(Image, IconPaletteAndMask) {
  auto img = DecodeImage(Ico8());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 2);
  EXPECT_EQ(img->height, 2) << "the mask's half of the height is not image";
  EXPECT_EQ(Pixel(*img, 0, 0)[3], 0) << "masked out";
  EXPECT_EQ(Pixel(*img, 1, 0), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(*img, 0, 1), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(*img, 1, 1), (std::array<int, 4>{255, 0, 0, 255}));
}

TEST(Image, JpegThroughLibjpeg) {
  auto img = DecodeImage(Jpeg(16, 8));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 16);
  EXPECT_EQ(img->height, 8);
  const auto p = Pixel(*img, 5, 5);
  EXPECT_NEAR(p[0], 200, 6);
  EXPECT_NEAR(p[1], 40, 6);
  EXPECT_NEAR(p[2], 120, 6);
}

TEST(Image, DamagedBytesAreRefused) {
  // Every cut of each image, and a few lies in their headers: nothing, never a read past
  // the bytes (the sanitizer build watches).
  for (const std::string& whole : {Bmp24(), Ico8(), Jpeg(8, 8)}) {
    for (size_t n = 0; n + 1 < whole.size(); n += (whole.size() > 200 ? 7 : 1)) {
      auto img = DecodeImage(whole.substr(0, n));
      if (img) {
        EXPECT_EQ(img->rgba.size(), static_cast<size_t>(img->width) * static_cast<size_t>(img->height) * 4);
      }
    }
  }
  std::string huge = Bmp24();
  huge[18] = '\x7F';  // width far beyond the pixels present
  EXPECT_FALSE(DecodeImage(huge));
  std::string palette = Ico8();
  palette[6 + 16 + 32] = '\xFF';  // more palette entries than the bytes hold
  EXPECT_FALSE(DecodeImage(palette));
  EXPECT_FALSE(DecodeImage("GIF89a"));
  EXPECT_FALSE(DecodeImage(""));
}

}  // namespace
}  // namespace qx
