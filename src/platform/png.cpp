// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png.hpp"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

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

std::optional<std::filesystem::path> save_png_new(const std::string& stem, const Pixels& pixels) {
  for (int n = 1; n < 1000; ++n) {
    const std::filesystem::path path = stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".png";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return std::nullopt;
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
      const int err = errno;
      ::close(fd);
      ::unlink(path.c_str());
      errno = err;
      return std::nullopt;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr && encode(png, info, f, pixels);
    int err = ok ? 0 : (errno != 0 ? errno : EIO);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(f) != 0) {
      if (ok) err = errno;
      ok = false;
    }
    if (std::fclose(f) != 0 && ok) {
      err = errno;
      ok = false;
    }
    if (ok) return path;
    ::unlink(path.c_str());
    errno = err;
    return std::nullopt;
  }
  errno = EEXIST;
  return std::nullopt;
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
