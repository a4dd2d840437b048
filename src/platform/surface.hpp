// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface: an 800 x 600 image of palette indices, the drawing
// state every drawing call shares, and the primitives. Each operation holds
// the surface lock for its own duration only; the window thread takes the
// same lock to copy the image out.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>

namespace platform {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;

struct Rgb {
  std::uint8_t r, g, b;
};

// Entries 0 to 15 are the EGA colours, 16 to 255 the VGA default palette.
const std::array<Rgb, 256>& palette();

using Pixels = std::array<std::uint8_t, static_cast<std::size_t>(kWidth) * kHeight>;

class Surface {
 public:
  Surface();

  // Black image and the drawing state of a freshly opened surface.
  void reset();

  void clear_device();
  void set_color(std::uint16_t colour);
  void set_fill_style(std::uint16_t pattern, std::uint16_t colour);
  void set_text_style(int font, int direction, int magnification);
  void bar(int x1, int y1, int x2, int y2);
  void rectangle(int x1, int y1, int x2, int y2);
  void line(int x1, int y1, int x2, int y2);
  void circle(int x, int y, int radius);
  void out_text_xy(int x, int y, std::string_view text);

  std::uint8_t color() const;
  std::uint8_t fill_color() const;
  int magnification() const;

  std::uint8_t pixel(int x, int y) const;
  // Runs f(pixels) under the surface lock.
  void read_pixels(const std::function<void(const Pixels&)>& f) const;
  Pixels snapshot() const;

  // Called after every operation that changed pixels (outside the lock).
  void set_change_listener(std::function<void()> listener);

 private:
  void plot(int x, int y, std::uint8_t c) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) {
      pixels_[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] = c;
    }
  }
  void changed();

  mutable std::mutex mutex_;
  Pixels pixels_{};
  std::uint8_t color_ = 15;
  std::uint8_t fill_color_ = 255;
  int magnification_ = 1;
  std::function<void()> listener_;
};

}  // namespace platform
