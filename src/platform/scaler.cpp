// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scaler.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

// Taps for scaling `source` pixels to `dest` pixels. Enlarging, each window
// pixel takes the colours of the picture under its own footprint, which is
// at most one picture pixel wide: inside one picture pixel it is that pixel
// (so whole factors are exactly nearest-neighbour), across an edge it mixes
// the two by the share each covers. An edge is thus sharp at any size and
// blends over at most one window pixel. Shrinking (a window smaller than the
// picture), plain linear interpolation.
std::vector<Scaler::Tap> taps(int source, int dest) {
  std::vector<Scaler::Tap> out(static_cast<std::size_t>(dest));
  const auto tap = [](long a, long b, double w) {
    return Scaler::Tap{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                       static_cast<std::uint16_t>(a == b ? 0 : std::lround(w * 256))};
  };
  for (long i = 0; i < dest; ++i) {
    if (dest >= source) {
      // The footprint [i, i + 1) * source / dest, in picture pixels.
      const long a = i * source / dest;
      const long b = ((i + 1) * source - 1) / dest;
      out[static_cast<std::size_t>(i)] = tap(a, b, static_cast<double>((i + 1) * source - b * dest) / source);
    } else {
      const double p = (static_cast<double>(i) + 0.5) * source / dest - 0.5;
      const long a = std::clamp(static_cast<long>(std::floor(p)), 0L, static_cast<long>(source) - 1);
      const long b = std::min(a + 1, static_cast<long>(source) - 1);
      out[static_cast<std::size_t>(i)] = tap(a, b, std::clamp(p - static_cast<double>(a), 0.0, 1.0));
    }
  }
  return out;
}

inline std::uint32_t blend(std::uint32_t x, std::uint32_t y, std::uint32_t w) {
  if (w == 0 || x == y) return x;
  const std::uint32_t v = 256 - w;
  const std::uint32_t rb = (((x & 0xFF00FFU) * v + (y & 0xFF00FFU) * w) >> 8) & 0xFF00FFU;
  const std::uint32_t g = (((x & 0x00FF00U) * v + (y & 0x00FF00U) * w) >> 8) & 0x00FF00U;
  return rb | g;
}

}  // namespace

void Scaler::plan(int width, int height) {
  width_ = std::max(1, width);
  height_ = std::max(1, height);
  // The largest rectangle of the picture's aspect (4:3) that fits.
  if (static_cast<long>(width_) * kHeight <= static_cast<long>(height_) * kWidth) {
    dest_w_ = width_;
    dest_h_ = std::max(1, static_cast<int>(static_cast<long>(width_) * kHeight / kWidth));
  } else {
    dest_h_ = height_;
    dest_w_ = std::max(1, static_cast<int>(static_cast<long>(height_) * kWidth / kHeight));
  }
  dest_x_ = (width_ - dest_w_) / 2;
  dest_y_ = (height_ - dest_h_) / 2;
  columns_ = taps(kWidth, dest_w_);
  rows_ = taps(kHeight, dest_h_);
  upper_.assign(static_cast<std::size_t>(dest_w_), 0);
  lower_.assign(static_cast<std::size_t>(dest_w_), 0);
  upper_row_ = lower_row_ = -1;
}

void Scaler::scale(const Pixels& pixels, const std::uint32_t (&rgb)[256], std::uint32_t* out, int pitch) {
  upper_row_ = lower_row_ = -1;  // a new picture
  const auto scale_row = [&](int source_row, std::vector<std::uint32_t>& into) {
    const std::uint8_t* src = &pixels[static_cast<std::size_t>(source_row) * kWidth];
    for (std::size_t x = 0; x < columns_.size(); ++x) {
      const Tap& t = columns_[x];
      into[x] = blend(rgb[src[t.a]], rgb[src[t.b]], t.w);
    }
  };
  // Keeps the two most recent source rows scaled; rows come in order, so the
  // older one is the one to replace.
  const auto ensure = [&](int source_row) {
    if (source_row == upper_row_ || source_row == lower_row_) return;
    std::swap(upper_, lower_);
    std::swap(upper_row_, lower_row_);
    scale_row(source_row, lower_);
    lower_row_ = source_row;
  };
  const auto row_of = [&](int source_row) { return source_row == upper_row_ ? upper_.data() : lower_.data(); };
  const std::size_t border_left = static_cast<std::size_t>(dest_x_);
  const std::size_t border_right = static_cast<std::size_t>(width_ - dest_x_ - dest_w_);
  for (int y = 0; y < height_; ++y) {
    std::uint32_t* line = out + static_cast<std::ptrdiff_t>(y) * pitch;
    if (y < dest_y_ || y >= dest_y_ + dest_h_) {
      std::memset(line, 0, static_cast<std::size_t>(width_) * sizeof *line);
      continue;
    }
    std::memset(line, 0, border_left * sizeof *line);
    std::memset(line + dest_x_ + dest_w_, 0, border_right * sizeof *line);
    const Tap& t = rows_[static_cast<std::size_t>(y - dest_y_)];
    std::uint32_t* dest = line + dest_x_;
    ensure(t.a);
    if (t.w == 0) {
      std::memcpy(dest, row_of(t.a), static_cast<std::size_t>(dest_w_) * sizeof *dest);
    } else {
      ensure(t.b);
      const std::uint32_t* a = row_of(t.a);
      const std::uint32_t* b = row_of(t.b);
      for (int x = 0; x < dest_w_; ++x) dest[x] = blend(a[x], b[x], t.w);
    }
  }
}

}  // namespace platform
