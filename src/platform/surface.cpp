// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/surface.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/font.hpp"

namespace platform {
namespace {

constexpr std::array<Rgb, 256> make_palette() {
  std::array<Rgb, 256> p{};
  // clang-format off
  constexpr std::uint8_t ega[16][3] = {
      {0, 0, 0},       {0, 0, 168},    {0, 168, 0},    {0, 168, 168},
      {168, 0, 0},     {168, 0, 168},  {168, 84, 0},   {168, 168, 168},
      {84, 84, 84},    {84, 84, 252},  {84, 252, 84},  {84, 252, 252},
      {252, 84, 84},   {252, 84, 252}, {252, 252, 84}, {252, 252, 252}};
  // clang-format on
  for (int i = 0; i < 16; ++i) p[i] = {ega[i][0], ega[i][1], ega[i][2]};
  // VGA default palette, 6-bit components: a grey ramp, then nine rings of
  // 24 hues (three intensities, three saturations each), then black.
  constexpr std::uint8_t greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) {
    const auto v = static_cast<std::uint8_t>(greys[i] * 4);
    p[16 + i] = {v, v, v};
  }
  // clang-format off
  constexpr std::uint8_t rings[9][5] = {
      {0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
      {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
      {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
  // Indexes into a ring's five levels for red, green and blue around the hue circle.
  constexpr std::uint8_t hue[24][3] = {
      {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
      {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
      {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4}};
  // clang-format on
  int index = 32;
  for (const auto& ring : rings) {
    for (const auto& h : hue) {
      p[index++] = {static_cast<std::uint8_t>(ring[h[0]] * 4), static_cast<std::uint8_t>(ring[h[1]] * 4),
                    static_cast<std::uint8_t>(ring[h[2]] * 4)};
    }
  }
  return p;  // 248 to 255 stay black
}

constexpr std::array<Rgb, 256> kPalette = make_palette();

}  // namespace

const std::array<Rgb, 256>& palette() { return kPalette; }

Surface::Surface() = default;

void Surface::reset() {
  {
    std::lock_guard lock(mutex_);
    pixels_.fill(0);
    color_ = 15;
    fill_color_ = 255;
    magnification_ = 1;
  }
  changed();
}

void Surface::changed() {
  if (listener_) listener_();
}

void Surface::set_change_listener(std::function<void()> listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void Surface::clear_device() {
  {
    std::lock_guard lock(mutex_);
    pixels_.fill(0);
  }
  changed();
}

void Surface::set_color(std::uint16_t colour) {
  std::lock_guard lock(mutex_);
  color_ = static_cast<std::uint8_t>(colour & 0xFF);
}

void Surface::set_fill_style(std::uint16_t pattern, std::uint16_t colour) {
  if (pattern > 12 || colour > 255) return;
  std::lock_guard lock(mutex_);
  fill_color_ = static_cast<std::uint8_t>(colour);
}

void Surface::set_text_style(int /*font*/, int /*direction*/, int magnification) {
  std::lock_guard lock(mutex_);
  magnification_ = std::clamp(magnification, 1, 10);
}

std::uint8_t Surface::color() const {
  std::lock_guard lock(mutex_);
  return color_;
}

std::uint8_t Surface::fill_color() const {
  std::lock_guard lock(mutex_);
  return fill_color_;
}

int Surface::magnification() const {
  std::lock_guard lock(mutex_);
  return magnification_;
}

std::uint8_t Surface::pixel(int x, int y) const {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return 0;
  std::lock_guard lock(mutex_);
  return pixels_[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
}

void Surface::read_pixels(const std::function<void(const Pixels&)>& f) const {
  std::lock_guard lock(mutex_);
  f(pixels_);
}

Pixels Surface::snapshot() const {
  std::lock_guard lock(mutex_);
  return pixels_;
}

void Surface::bar(int x1, int y1, int x2, int y2) {
  if (y1 > y2) std::swap(y1, y2);
  {
    std::lock_guard lock(mutex_);
    const int left = std::max(x1, 0);
    const int right = std::min(x2, kWidth - 1);
    if (left <= right) {
      for (int y = std::max(y1, 0); y <= std::min(y2, kHeight - 1); ++y) {
        auto* row = &pixels_[static_cast<std::size_t>(y) * kWidth];
        std::fill(row + left, row + right + 1, fill_color_);
      }
    }
  }
  changed();
}

void Surface::rectangle(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  {
    std::lock_guard lock(mutex_);
    const std::uint8_t c = color_;
    for (int x = x1; x <= x2 - 1; ++x) plot(x, y1, c);  // top
    for (int y = y1 + 1; y <= y2; ++y) plot(x1, y, c);  // left
    for (int y = y1; y <= y2 - 1; ++y) plot(x2, y, c);  // right
    for (int x = x1 + 1; x <= x2; ++x) plot(x, y2, c);  // bottom
  }
  changed();
}

void Surface::line(int x1, int y1, int x2, int y2) {
  {
    std::lock_guard lock(mutex_);
    const std::uint8_t c = color_;
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
      plot(x, y, c);
      if (x == x2 && y == y2) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
  changed();
}

void Surface::circle(int cx, int cy, int radius) {
  if (radius <= 0) return;
  {
    std::lock_guard lock(mutex_);
    const std::uint8_t c = color_;
    if (radius == 1) {
      plot(cx, cy, c);
    } else {
      // Midpoint circle: one octant computed, eight mirrored.
      int x = radius;
      int y = 0;
      int err = 1 - radius;
      while (x >= y) {
        plot(cx + x, cy + y, c);
        plot(cx + y, cy + x, c);
        plot(cx - y, cy + x, c);
        plot(cx - x, cy + y, c);
        plot(cx - x, cy - y, c);
        plot(cx - y, cy - x, c);
        plot(cx + y, cy - x, c);
        plot(cx + x, cy - y, c);
        ++y;
        if (err < 0) {
          err += 2 * y + 1;
        } else {
          --x;
          err += 2 * (y - x) + 1;
        }
      }
    }
  }
  changed();
}

void Surface::out_text_xy(int x, int y, std::string_view text) {
  if (text.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
  {
    std::lock_guard lock(mutex_);
    const int n = magnification_;
    const std::uint8_t c = color_;
    const auto& glyphs = font();
    int left = x;
    for (const char ch : text) {
      if (left >= kWidth) break;
      const Glyph& g = glyphs[static_cast<std::uint8_t>(ch)];
      for (int row = 0; row < 8; ++row) {
        const std::uint8_t bits = g[static_cast<std::size_t>(row)];
        if (bits == 0) continue;
        for (int col = 0; col < 8; ++col) {
          if ((bits & (0x80 >> col)) == 0) continue;
          const int px = left + col * n;
          const int py = y + row * n;
          for (int by = py; by < std::min(py + n, kHeight); ++by) {
            for (int bx = px; bx < std::min(px + n, kWidth); ++bx) {
              pixels_[static_cast<std::size_t>(by) * kWidth + static_cast<std::size_t>(bx)] = c;
            }
          }
        }
      }
      left += 8 * n;
    }
  }
  changed();
}

}  // namespace platform
