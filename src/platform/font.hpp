// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in 8 x 8 font: one glyph per byte value, eight rows of eight
// pixels, the most significant bit of a row being the leftmost pixel.

#include <array>
#include <cstdint>

namespace platform {

using Glyph = std::array<std::uint8_t, 8>;

const std::array<Glyph, 256>& font();

}  // namespace platform
