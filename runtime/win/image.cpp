// Image decoding; see image.h. Every field read from the bytes is checked against their
// length before it is used: the bytes are data, not trusted.
#include "runtime/win/image.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "runtime/sys/resources.h"

namespace qx {
namespace {

std::uint32_t U32(std::string_view b, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(std::string_view b, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// A device-independent bitmap: header at `dib`, pixels at `pixels` (for a BMP file from its
// file header; for an icon right after the palette). `icon`: the height counts the AND
// mask too, which follows the colour pixels.
std::optional<Image> DecodeDib(std::string_view b, size_t dib, std::optional<size_t> pixelsAt, bool icon) {
  if (b.size() < dib + 16) return std::nullopt;
  const std::uint32_t headerSize = U32(b, dib);
  if (headerSize < 40 || b.size() < dib + 40) return std::nullopt;
  const std::int32_t w = static_cast<std::int32_t>(U32(b, dib + 4));
  std::int32_t h = static_cast<std::int32_t>(U32(b, dib + 8));
  const std::uint16_t bpp = U16(b, dib + 14);
  const std::uint32_t compression = U32(b, dib + 16);
  std::uint32_t colours = U32(b, dib + 32);
  const bool bottomUp = h > 0;
  if (h < 0) h = -h;
  if (icon) h /= 2;
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return std::nullopt;
  if (compression != 0 && !(compression == 3 && (bpp == 32 || bpp == 16))) return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;
  if (bpp <= 8 && colours == 0) colours = 1u << bpp;
  if (bpp > 8) colours = 0;
  if (colours > 256) return std::nullopt;
  size_t palette = dib + headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
  if (b.size() < palette + colours * 4) return std::nullopt;
  const size_t pixels = pixelsAt ? *pixelsAt : palette + colours * 4;
  const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  if (pixels > b.size() || (b.size() - pixels) / stride < static_cast<size_t>(h)) return std::nullopt;
  const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  const size_t mask = pixels + stride * static_cast<size_t>(h);
  const bool hasMask = icon && bpp != 32 && mask <= b.size() && (b.size() - mask) / maskStride >= static_cast<size_t>(h);

  Image img;
  img.width = w;
  img.height = h;
  img.rgba.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  const auto* data = reinterpret_cast<const unsigned char*>(b.data());
  for (std::int32_t y = 0; y < h; ++y) {
    const size_t srcRow = static_cast<size_t>(bottomUp ? h - 1 - y : y);
    const unsigned char* row = data + pixels + srcRow * stride;
    for (std::int32_t x = 0; x < w; ++x) {
      unsigned char r = 0, g = 0, bl = 0, a = 255;
      if (bpp == 24) {
        bl = row[x * 3]; g = row[x * 3 + 1]; r = row[x * 3 + 2];
      } else if (bpp == 32) {
        bl = row[x * 4]; g = row[x * 4 + 1]; r = row[x * 4 + 2];
        a = icon ? row[x * 4 + 3] : 255;
      } else {
        unsigned index;
        if (bpp == 8) index = row[x];
        else if (bpp == 4) index = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
        else index = (row[x / 8] >> (7 - x % 8)) & 1;
        if (index < colours) {
          const unsigned char* c = data + palette + index * 4;
          bl = c[0]; g = c[1]; r = c[2];
        }
      }
      if (hasMask) {
        const unsigned char* mrow = data + mask + srcRow * maskStride;
        if ((mrow[x / 8] >> (7 - x % 8)) & 1) a = 0;
      }
      unsigned char* out = &img.rgba[(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4];
      out[0] = r; out[1] = g; out[2] = bl; out[3] = a;
    }
  }
  return img;
}

std::optional<Image> DecodeBmp(std::string_view b) {
  if (b.size() < 26) return std::nullopt;
  const std::uint32_t offset = U32(b, 10);
  return DecodeDib(b, 14, offset, false);
}

std::optional<Image> DecodeIco(std::string_view b) {
  if (b.size() < 6) return std::nullopt;
  const std::uint16_t count = U16(b, 4);
  if (b.size() < 6 + static_cast<size_t>(count) * 16) return std::nullopt;
  std::optional<Image> best;
  for (std::uint16_t i = 0; i < count; ++i) {
    const size_t e = 6 + static_cast<size_t>(i) * 16;
    const std::uint32_t size = U32(b, e + 8);
    const std::uint32_t offset = U32(b, e + 12);
    if (offset > b.size() || size > b.size() - offset || size < 8) continue;
    std::string_view entry = b.substr(offset, size);
    if (entry.substr(0, 4) == "\x89PNG") continue;
    std::optional<Image> img = DecodeDib(entry, 0, std::nullopt, true);
    if (img && (!best || img->width * img->height > best->width * best->height)) best = std::move(img);
  }
  return best;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

// libjpeg reports a fatal error through this callback and expects it not to return; the
// jump goes back into DecodeJpeg only, across libjpeg's own C frames.
void JpegFail(j_common_ptr info) {
  auto* err = reinterpret_cast<JpegError*>(info->err);
  std::longjmp(err->jump, 1);
}

std::optional<Image> DecodeJpeg(std::string_view b) {
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = &JpegFail;
  err.mgr.output_message = [](j_common_ptr) {};
  Image* img = new Image;  // outside the jump's reach of automatic destructors
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    delete img;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(b.data()), static_cast<unsigned long>(b.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_width == 0 || info.output_height == 0 || info.output_width > 16384 || info.output_height > 16384 ||
      info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    delete img;
    return std::nullopt;
  }
  img->width = static_cast<int>(info.output_width);
  img->height = static_cast<int>(info.output_height);
  img->rgba.resize(static_cast<size_t>(img->width) * static_cast<size_t>(img->height) * 4);
  std::vector<unsigned char> row(static_cast<size_t>(img->width) * 3);
  while (info.output_scanline < info.output_height) {
    const size_t y = info.output_scanline;
    unsigned char* rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < img->width; ++x) {
      unsigned char* out = &img->rgba[(y * static_cast<size_t>(img->width) + static_cast<size_t>(x)) * 4];
      out[0] = row[static_cast<size_t>(x) * 3];
      out[1] = row[static_cast<size_t>(x) * 3 + 1];
      out[2] = row[static_cast<size_t>(x) * 3 + 2];
      out[3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  Image result = std::move(*img);
  delete img;
  return result;
}

}  // namespace

std::optional<Image> DecodeImage(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM") return DecodeBmp(bytes);
  if (bytes.size() >= 4 && bytes.substr(0, 4) == std::string_view("\0\0\1\0", 4)) return DecodeIco(bytes);
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xFF\xD8\xFF") return DecodeJpeg(bytes);
  return std::nullopt;
}

std::optional<Image> LoadResourceImage(std::string_view resourceName) {
  std::optional<std::string_view> bytes = RtFindResource(resourceName);
  if (!bytes) return std::nullopt;
  return DecodeImage(*bytes);
}

}  // namespace qx
