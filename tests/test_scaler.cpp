// SPDX-License-Identifier: GPL-3.0-or-later
// Scaling the picture to the window: aspect kept, sharp edges.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "platform/scaler.hpp"

namespace {

using platform::kHeight;
using platform::kWidth;

struct Window {
  int w, h;
  std::vector<std::uint32_t> px;
  std::uint32_t at(int x, int y) const {
    return px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
  }
};

const std::uint32_t (&grey_palette())[256] {
  static std::uint32_t rgb[256];
  for (std::uint32_t i = 0; i < 256; ++i) rgb[i] = i * 0x010101U;
  return rgb;
}

// A picture of one-pixel-wide black and white columns (0 and 255), or of
// 8 x 8 cells when `cells` is set.
std::unique_ptr<platform::Pixels> stripes(bool cells = false) {
  auto p = std::make_unique<platform::Pixels>();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool white = cells ? ((x / 8 + y / 8) % 2 == 1) : (x % 2 == 1);
      (*p)[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] = white ? 255 : 0;
    }
  }
  return p;
}

Window scaled(const platform::Pixels& picture, int w, int h) {
  platform::Scaler s;
  s.plan(w, h);
  Window out{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xDEADBEEF)};
  s.scale(picture, grey_palette(), out.px.data(), w);
  return out;
}

TEST(Scaler, FillsTheLargestRectangleOfThePicturesAspect) {
  struct Case {
    int w, h, x, y, dw, dh;
  } cases[] = {
      // clang-format off
      {800, 600, 0, 0, 800, 600},    {1600, 1200, 0, 0, 1600, 1200}, {1000, 600, 100, 0, 800, 600},
      {1920, 1080, 240, 0, 1440, 1080}, {1100, 825, 0, 0, 1100, 825},  {640, 600, 0, 60, 640, 480},
      // clang-format on
      {1, 1, 0, 0, 1, 1},
  };
  for (const auto& c : cases) {
    platform::Scaler s;
    s.plan(c.w, c.h);
    EXPECT_EQ(s.dest_x(), c.x) << c.w << "x" << c.h;
    EXPECT_EQ(s.dest_y(), c.y) << c.w << "x" << c.h;
    EXPECT_EQ(s.dest_w(), c.dw) << c.w << "x" << c.h;
    EXPECT_EQ(s.dest_h(), c.dh) << c.w << "x" << c.h;
  }
}

TEST(Scaler, WholeFactorsAreNearestNeighbour) {
  const auto picture = stripes();
  for (int k = 1; k <= 2; ++k) {
    const Window out = scaled(*picture, kWidth * k, kHeight * k);
    for (int x = 0; x < out.w; ++x) {
      ASSERT_EQ(out.at(x, 7 * k), (x / k) % 2 == 1 ? 0xFFFFFFU : 0U) << "factor " << k << " column " << x;
    }
  }
}

TEST(Scaler, BetweenWholeFactorsAnEdgeBlendsOverAtMostOnePixel) {
  const auto picture = stripes(true);
  for (const auto& [w, h] : {std::pair{1100, 825}, std::pair{1280, 960}, std::pair{1024, 768}, std::pair{1920, 1080}}) {
    const Window out = scaled(*picture, w, h);
    platform::Scaler s;
    s.plan(w, h);
    // Along a row through the middle of a cell row, runs of grey between
    // black and white are at most one pixel long, and each cell stays at
    // least as wide as its whole-factor enlargement.
    const int y = s.dest_y() + s.dest_h() * 4 / kHeight;  // inside the first cell row
    int grey_run = 0, longest_grey = 0;
    for (int x = s.dest_x(); x < s.dest_x() + s.dest_w(); ++x) {
      const std::uint32_t v = out.at(x, y) & 0xFF;
      grey_run = v != 0 && v != 255 ? grey_run + 1 : 0;
      longest_grey = std::max(longest_grey, grey_run);
    }
    EXPECT_LE(longest_grey, 1) << w << "x" << h;
    // The borders are black, never left as they were.
    if (s.dest_x() > 0) {
      EXPECT_EQ(out.at(0, h / 2), 0U) << w << "x" << h;
      EXPECT_EQ(out.at(w - 1, h / 2), 0U) << w << "x" << h;
    }
  }
}

TEST(Scaler, TwoColoursBlendOnlyToGreysBetweenThem) {
  // Every window pixel is a mix of the source colours around it: a picture
  // of palette 0 and 255 never shows a colour cast.
  const auto picture = stripes();
  const Window out = scaled(*picture, 1100, 825);
  std::set<std::uint32_t> seen;
  for (auto v : out.px) {
    ASSERT_EQ((v >> 16) & 0xFF, v & 0xFF);
    ASSERT_EQ((v >> 8) & 0xFF, v & 0xFF);
    seen.insert(v);
  }
  EXPECT_GT(seen.size(), 2U) << "edges between whole factors are blended";
}

}  // namespace
