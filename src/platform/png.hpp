// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saves the surface as an indexed PNG with the game's palette, and reads
// small pictures (the window's icon).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/surface.hpp"

namespace platform {

// Returns false (and leaves no partial file) when the file cannot be written.
bool write_png(const std::filesystem::path& path, const Pixels& pixels);

// Saves the picture under a new name: "<stem>.png", or "<stem>-2.png",
// "<stem>-3.png" ... when a name is taken by anything, a link that names
// nothing included. The file is created exclusively and never through a
// link. Returns its name, or nothing (errno set, no partial file left) when
// it cannot be written.
std::optional<std::filesystem::path> save_png_new(const std::string& stem, const Pixels& pixels);

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // rows top to bottom, 4 bytes a pixel
};

// Decodes a PNG held in memory; nothing when it is not a readable PNG.
std::optional<RgbaImage> read_png_rgba(const void* data, std::size_t size);

}  // namespace platform
