#pragma once
// Saves the surface as an indexed PNG with the game's palette.

#include <filesystem>

#include "platform/surface.hpp"

namespace platform {

// Returns false (and leaves no partial file) when the file cannot be written.
bool write_png(const std::filesystem::path& path, const Pixels& pixels);

}  // namespace platform
