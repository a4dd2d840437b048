// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scaling the 800 x 600 picture to a window of any size: the largest
// rectangle with the picture's aspect, centred, with sharp edges. At a whole
// factor it is plain nearest-neighbour; between whole factors a pixel edge
// blends over at most one window pixel (each window pixel mixes the picture
// pixels its footprint covers), so the 8 x 8 text stays crisp at 1.375x as
// at 2x. Works in 0x00RRGGBB words, whatever the window's format.

#include <cstdint>
#include <vector>

#include "platform/surface.hpp"

namespace platform {

class Scaler {
 public:
  // Plans for a window of width x height pixels (both at least 1).
  void plan(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  // The picture's rectangle within the window; the rest is black.
  int dest_x() const { return dest_x_; }
  int dest_y() const { return dest_y_; }
  int dest_w() const { return dest_w_; }
  int dest_h() const { return dest_h_; }

  // Writes the whole window, borders included, as 0x00RRGGBB words; `pitch`
  // counts words per row.
  void scale(const Pixels& pixels, const std::uint32_t (&rgb)[256], std::uint32_t* out, int pitch);

  // Taps of one axis: output pixel i shows source pixel a blended with b,
  // b weighing w/256 (w is 0 where the output pixel lies inside one source
  // pixel).
  struct Tap {
    std::uint16_t a, b;
    std::uint16_t w;
  };
  const std::vector<Tap>& columns() const { return columns_; }
  const std::vector<Tap>& rows() const { return rows_; }

 private:
  int width_ = 0, height_ = 0;
  int dest_x_ = 0, dest_y_ = 0, dest_w_ = 0, dest_h_ = 0;
  std::vector<Tap> columns_, rows_;
  std::vector<std::uint32_t> upper_, lower_;  // horizontally scaled source rows
  int upper_row_ = -1, lower_row_ = -1;
};

}  // namespace platform
