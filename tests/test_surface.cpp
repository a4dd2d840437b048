// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing primitives' pixel rules.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/backend.hpp"
#include "platform/cp852.hpp"

using namespace cp852::literals;  // the _cp literal

using namespace platform;

namespace {

using Points = std::set<std::pair<int, int>>;

// Every pixel that is not black.
Points painted() {
  Points out;
  const Pixels px = surface().snapshot();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (px[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] != 0) out.insert({x, y});
    }
  }
  return out;
}

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(); }
};

TEST_F(SurfaceTest, RectanglePaintsExactlyTheBorder) {
  Rectangle(10, 20, 11, 21);
  EXPECT_EQ(painted(), (Points{{10, 20}, {11, 20}, {10, 21}, {11, 21}}));

  reset_state();
  SetColor(4);
  Rectangle(100, 100, 105, 103);
  Points border;
  for (int x = 100; x <= 105; ++x) border.insert({x, 100}), border.insert({x, 103});
  for (int y = 100; y <= 103; ++y) border.insert({100, y}), border.insert({105, y});
  EXPECT_EQ(painted(), border);
  EXPECT_EQ(surface().pixel(100, 100), 4);
  EXPECT_EQ(surface().pixel(102, 101), 0) << "the inside stays untouched";

  reset_state();
  Rectangle(105, 103, 100, 100);
  EXPECT_EQ(painted(), border) << "corners given the other way round";
}

TEST_F(SurfaceTest, BarFillsInclusiveAndSwapsRows) {
  SetFillStyle(1, 2);
  Bar(10, 10, 12, 11);
  const Points expected{{10, 10}, {11, 10}, {12, 10}, {10, 11}, {11, 11}, {12, 11}};
  EXPECT_EQ(painted(), expected);
  reset_state();
  SetFillStyle(1, 2);
  Bar(10, 11, 12, 10);
  EXPECT_EQ(painted(), expected);
  EXPECT_EQ(surface().pixel(11, 10), 2);

  reset_state();
  SetFillStyle(1, 2);
  Bar(12, 10, 10, 11);
  EXPECT_TRUE(painted().empty()) << "columns are not swapped";

  reset_state();
  SetFillStyle(1, 3);
  Bar(790, 590, 900, 700);
  EXPECT_EQ(painted().size(), 100U) << "clipped at the edges";
}

TEST_F(SurfaceTest, FillStyleIgnoresBadArgumentsAndBarIgnoresTheColour) {
  EXPECT_EQ(surface().fill_color(), 255) << "a fresh surface fills with 255";
  SetFillStyle(1, 4);
  SetFillStyle(13, 6);
  SetFillStyle(1, 256);
  EXPECT_EQ(surface().fill_color(), 4);
  SetColor(14);
  Bar(0, 0, 0, 0);
  EXPECT_EQ(surface().pixel(0, 0), 4);
}

TEST_F(SurfaceTest, LineIncludesBothEnds) {
  Line(5, 5, 5, 5);
  EXPECT_EQ(painted(), (Points{{5, 5}}));

  reset_state();
  Line(0, 0, 10, 3);
  const Points forward = painted();
  EXPECT_EQ(forward.size(), 11U) << "one pixel per column of a shallow line";
  EXPECT_TRUE(forward.count({0, 0}) && forward.count({10, 3}));
  for (int x = 0; x <= 10; ++x) {
    int in_column = 0;
    for (const auto& p : forward) in_column += p.first == x ? 1 : 0;
    EXPECT_EQ(in_column, 1) << "column " << x;
  }

  reset_state();
  Line(3, 40, 3, 30);
  EXPECT_EQ(painted().size(), 11U);

  reset_state();
  Line(462, 585, 800, 585);
  EXPECT_EQ(painted().size(), 338U) << "the part beyond x = 799 is clipped";
}

TEST_F(SurfaceTest, CircleRadiusRulesAndShape) {
  Circle(100, 100, 0);
  EXPECT_TRUE(painted().empty());
  Circle(100, 100, 1);
  EXPECT_EQ(painted(), (Points{{100, 100}}));

  reset_state();
  Circle(393, 301, 150);
  const Points ring = painted();
  for (const auto& p : {std::pair{543, 301}, {243, 301}, {393, 151}, {393, 451}}) {
    EXPECT_TRUE(ring.count(p)) << p.first << "," << p.second;
  }
  for (const auto& [x, y] : ring) {
    const int dx = x - 393;
    const int dy = y - 301;
    EXPECT_NEAR(dx * dx + dy * dy, 150 * 150, 2 * 150) << x << "," << y;
    EXPECT_TRUE(ring.count({393 - dx, 301 + dy}) && ring.count({393 + dy, 301 + dx})) << "symmetric";
  }
}

TEST_F(SurfaceTest, TextCellsMagnificationAndClipping) {
  SetTextStyle(0, 0, 5);
  OutTextXY(100, 100, "\xDB\xDB");  // full blocks
  Points cells = painted();
  EXPECT_EQ(cells.size(), 2U * 40 * 40);
  EXPECT_TRUE(cells.count({100, 100}) && cells.count({179, 139}));
  EXPECT_FALSE(cells.count({180, 100}) || cells.count({100, 140}));

  reset_state();
  OutTextXY(0, 0, "\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB");
  EXPECT_EQ(painted().size(), 13U * 64) << "13 characters span 104 pixels";
  EXPECT_TRUE(painted().count({103, 7}));

  reset_state();
  OutTextXY(-1, 10, "\xDB\xDB\xDB");
  OutTextXY(10, 600, "\xDB");
  EXPECT_TRUE(painted().empty()) << "an anchor off the surface draws nothing";
  OutTextXY(796, 10, "\xDB\xDB");
  EXPECT_EQ(painted().size(), 4U * 8) << "only four columns of the first character";

  reset_state();
  OutTextXY(10, 10, "");
  OutTextXY(10, 10, "   ");
  EXPECT_TRUE(painted().empty());

  SetTextStyle(0, 0, 11);
  EXPECT_EQ(surface().magnification(), 10);
  SetTextStyle(0, 0, 0);
  EXPECT_EQ(surface().magnification(), 1);
}

TEST_F(SurfaceTest, TextAgainInBlackErasesIt) {
  SetTextStyle(0, 0, 2);
  OutTextXY(50, 50, "Eredménylista"_cp);
  EXPECT_FALSE(painted().empty());
  SetColor(0);
  OutTextXY(50, 50, "Eredménylista"_cp);
  EXPECT_TRUE(painted().empty());
}

TEST(Palette, EgaColoursAndTheVgaDefaults) {
  const auto& p = palette();
  EXPECT_EQ(p[6].r, 168);
  EXPECT_EQ(p[6].g, 84);
  EXPECT_EQ(p[6].b, 0);
  EXPECT_EQ(p[9].r, 84);
  EXPECT_EQ(p[9].b, 252);
  EXPECT_EQ(p[15].g, 252);
  EXPECT_EQ(p[16].r, 0);
  EXPECT_EQ(p[31].r, 252);
  EXPECT_EQ(p[32].b, 252);
  EXPECT_EQ(p[32].r, 0);
  EXPECT_EQ(p[40].r, 252);  // red in the first ring
  EXPECT_EQ(p[40].g, 0);
  EXPECT_EQ(p[247].b, 64);
  EXPECT_EQ(p[248].r + p[255].b, 0);
}

}  // namespace
