// Code page 852 texts and the font that shows them.

#include <gtest/gtest.h>

#include "platform/cp852.hpp"
#include "platform/font.hpp"

namespace {

int pixels_in(const platform::Glyph& g, int first_row, int last_row) {
  int n = 0;
  for (int r = first_row; r <= last_row; ++r) n += __builtin_popcount(g[static_cast<std::size_t>(r)]);
  return n;
}

TEST(Cp852, LiteralsBecomeCodePage852Bytes) {
  EXPECT_EQ("Játék kezdése"_cp, "J\xA0t\x82k kezd\x82se");
  EXPECT_EQ("őŐűŰ"_cp, "\x8B\x8A\xFB\xEB");
  EXPECT_EQ("ÁÍÓÚÖÜÉ"_cp, "\xB5\xD6\xE0\xE9\x99\x9A\x90");
  EXPECT_EQ("Viszlát!"_cp.size(), 8U);
  EXPECT_EQ(""_cp.size(), 0U);
}

TEST(Cp852, ConvertsBothWaysAndRefusesWhatItCannot) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto back = cp852::from_utf8(cp852::to_utf8(byte));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, byte) << b;
  }
  EXPECT_EQ(cp852::to_utf8("\x8B"), "ő");
  EXPECT_EQ(cp852::to_utf8("\xC9\xCD\xBB"), "╔═╗");

  cp852::ConversionError error;
  EXPECT_FALSE(cp852::from_utf8("ab€", &error));
  EXPECT_EQ(error.offset, 2U);
  EXPECT_FALSE(error.malformed);
  EXPECT_EQ(error.cp, U'€');
  EXPECT_FALSE(cp852::from_utf8("a\xC3", &error)) << "cut-off sequence";
  EXPECT_TRUE(error.malformed);
  EXPECT_FALSE(cp852::from_utf8("\xC0\x81")) << "overlong";
  EXPECT_FALSE(cp852::from_utf8("\xED\xA0\x80")) << "surrogate";
}

TEST(Font, GlyphsHaveTheirShapes) {
  const auto& f = platform::font();
  EXPECT_EQ(pixels_in(f[' '], 0, 7), 0);
  EXPECT_EQ(pixels_in(f[0], 0, 7), 0);
  EXPECT_EQ(pixels_in(f[0xFF], 0, 7), 0) << "no-break space";
  EXPECT_GT(pixels_in(f['A'], 0, 7), 10);
  EXPECT_EQ(f[0xDB], (platform::Glyph{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_GT(pixels_in(f[2], 0, 7), pixels_in(f[1], 0, 7)) << "the filled face has more pixels than the outlined";
  for (int c = 'a'; c <= 'z'; ++c) EXPECT_EQ(f[static_cast<std::size_t>(c)][7] & 0x01, 0) << char(c);
}

TEST(Font, HungarianLettersAreTheirOwn) {
  const auto& f = platform::font();
  // Each accented letter differs from its base letter only above it, and
  // the double acute differs from the two dots.
  const std::pair<unsigned char, unsigned char> pairs[] = {
      {0x8B, 0x94}, {0xFB, 0x81}, {0x8A, 0x99}, {0xEB, 0x9A}, {0xA0, 'a'}, {0xA2, 'o'}};
  for (const auto& [a, b] : pairs) EXPECT_NE(f[a], f[b]) << std::hex << int(a) << " vs " << int(b);
  EXPECT_NE(f[0xB5], f[0xB4]) << "Á is a letter, not the box piece ╡";
  EXPECT_GT(pixels_in(f[0xB5], 0, 1), 0) << "Á has its accent";
  EXPECT_GT(pixels_in(f[0xD6], 0, 1), 0) << "Í has its accent";
}

TEST(Font, LineDrawingCharactersJoin) {
  const auto& f = platform::font();
  const auto row_full = [&](unsigned char c, int r) { return f[c][static_cast<std::size_t>(r)] == 0xFF; };
  const auto column_full = [&](unsigned char c, int col) {
    for (int r = 0; r < 8; ++r) {
      if ((f[c][static_cast<std::size_t>(r)] & (0x80 >> col)) == 0) return false;
    }
    return true;
  };
  int single_row = -1;
  for (int r = 0; r < 8; ++r) single_row = row_full(0xC4, r) ? r : single_row;  // ─
  ASSERT_GE(single_row, 0) << "─ reaches both sides";
  int single_col = -1;
  for (int c = 0; c < 8; ++c) single_col = column_full(0xB3, c) ? c : single_col;  // │
  ASSERT_GE(single_col, 0) << "│ reaches top and bottom";
  EXPECT_TRUE(row_full(0xC5, single_row) && column_full(0xC5, single_col)) << "┼ lines up with ─ and │";
  int double_rows = 0;
  for (int r = 0; r < 8; ++r) double_rows += row_full(0xCD, r) ? 1 : 0;  // ═
  EXPECT_EQ(double_rows, 2);
  // ║ is the same in every row, and the corners continue it.
  const auto vertical = f[0xBA][0];
  for (int r = 0; r < 8; ++r) EXPECT_EQ(f[0xBA][static_cast<std::size_t>(r)], vertical);
  EXPECT_EQ(f[0xC9][7], vertical) << "╔ meets ║ below";
  EXPECT_EQ(f[0xBB][7], vertical) << "╗ meets ║ below";
  EXPECT_EQ(f[0xC8][0], vertical) << "╚ meets ║ above";
  EXPECT_EQ(f[0xBC][0], vertical) << "╝ meets ║ above";
  for (int r = 0; r < 8; ++r) {
    if (row_full(0xCD, r)) {
      EXPECT_NE(f[0xC9][static_cast<std::size_t>(r)] & 0x01, 0) << "╔ meets ═ at row " << r;
    }
  }
}

}  // namespace
