// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/notice.hpp"

#include <algorithm>
#include <cstddef>

#include "platform/font.hpp"

namespace platform {

void draw_notice(std::uint32_t* pixels, int width, int height, int pitch, std::string_view text) {
  constexpr std::uint32_t kBand = 0xA80000;  // the palette's red
  constexpr std::uint32_t kText = 0xFCFCFC;  // and its white
  const int scale = width >= 800 ? 2 : 1;
  const int margin = 4 * scale;
  const int band = 8 * scale + 2 * margin;
  const int top = std::max(0, height - band);
  for (int y = top; y < height; ++y) {
    std::fill_n(pixels + static_cast<std::ptrdiff_t>(y) * pitch, width, kBand);
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int x0 = margin + static_cast<int>(i) * 8 * scale;
    if (x0 + 8 * scale > width) break;
    const Glyph& glyph = font()[static_cast<std::uint8_t>(text[i])];
    for (int row = 0; row < 8 * scale; ++row) {
      const int y = top + margin + row;
      if (y >= height) break;
      const std::uint8_t bits = glyph[static_cast<std::size_t>(row / scale)];
      for (int col = 0; col < 8 * scale; ++col) {
        if ((bits & (0x80 >> (col / scale))) != 0) pixels[static_cast<std::ptrdiff_t>(y) * pitch + x0 + col] = kText;
      }
    }
  }
}

}  // namespace platform
