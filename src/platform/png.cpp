// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png.hpp"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <system_error>

namespace platform {
namespace {

// libpng reports errors by jumping back here.
bool encode(png_structp png, png_infop info, std::FILE* f, const Pixels& pixels) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;  // NOLINT(cert-err52-cpp)
  png_init_io(png, f);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color colours[256];
  for (std::size_t i = 0; i < 256; ++i) colours[i] = {palette()[i].r, palette()[i].g, palette()[i].b};
  png_set_PLTE(png, info, colours, 256);
  png_write_info(png, info);
  for (int y = 0; y < kHeight; ++y) png_write_row(png, &pixels[static_cast<std::size_t>(y) * kWidth]);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool write_png(const std::filesystem::path& path, const Pixels& pixels) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (f == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr && encode(png, info, f, pixels);
  png_destroy_write_struct(&png, &info);
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return ok;
}

std::optional<RgbaImage> read_png_rgba(const void* data, std::size_t size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, data, size) == 0) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  RgbaImage out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

}  // namespace platform
