// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 852 texts and the font that shows them.

#include <gtest/gtest.h>

#include "platform/cp852.hpp"
#include "platform/font.hpp"
#include "platform/surface.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace cp852::literals;  // the _cp literal

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
  const std::pair<unsigned char, unsigned char> pairs[] = {{0x8B, 0x94}, {0xFB, 0x81}, {0x8A, 0x99},
                                                           {0xEB, 0x9A}, {0xA0, 'a'},  {0xA2, 'o'}};
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

namespace {

// The Hungarian pangram at magnifications 1, 2 and 3, as a player sees it.
// The reference picture was checked by eye; a change to any accented glyph
// shows up here first. Set ZELVANOS_UPDATE_REFERENCES=1 to rewrite it after a
// deliberate change (and look at it before committing).
constexpr int kPangramWidth = 544;
constexpr int kPangramHeight = 108;

std::vector<std::string> render_pangram() {
  platform::Surface s;
  s.set_color(15);
  const std::string_view caps = "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"_cp;
  const std::string_view small = "árvíztűrő tükörfúrógép"_cp;
  s.set_text_style(0, 0, 1);
  s.out_text_xy(4, 4, std::string(caps) + " " + std::string(small));
  int y = 16;
  for (int mag = 2; mag <= 3; ++mag) {
    s.set_text_style(0, 0, static_cast<std::uint16_t>(mag));
    s.out_text_xy(4, static_cast<std::int16_t>(y), caps);
    s.out_text_xy(4, static_cast<std::int16_t>(y + 8 * mag + 4), small);
    y += 2 * (8 * mag + 4);
  }
  std::vector<std::string> rows;
  for (int r = 0; r < kPangramHeight; ++r) {
    std::string row;
    for (int c = 0; c < kPangramWidth; ++c) row += s.pixel(c, r) != 0 ? '1' : '0';
    rows.push_back(row);
  }
  return rows;
}

// A plain PBM (P1): viewable with any image tool and readable in a diff.
std::vector<std::string> read_pbm(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string magic;
  int w = 0, h = 0;
  in >> magic >> w >> h;
  std::vector<std::string> rows;
  if (magic != "P1" || w != kPangramWidth || h != kPangramHeight) return rows;
  for (int r = 0; r < h; ++r) {
    std::string row;
    for (int c = 0; c < w; ++c) {
      char bit = 0;
      in >> bit;
      row += bit;
    }
    rows.push_back(row);
  }
  return rows;
}

void write_pbm(const std::filesystem::path& path, const std::vector<std::string>& rows) {
  std::ofstream out(path);
  out << "P1\n" << kPangramWidth << " " << kPangramHeight << "\n";
  for (const auto& row : rows) out << row << "\n";
}

TEST(Font, HungarianPangramMatchesTheReviewedPicture) {
  const std::filesystem::path reference = std::filesystem::path(ZELVANOS_TESTS_DIR) / "data" / "pangram.pbm";
  const auto actual = render_pangram();
  if (std::getenv("ZELVANOS_UPDATE_REFERENCES") != nullptr) write_pbm(reference, actual);
  const auto expected = read_pbm(reference);
  ASSERT_EQ(expected.size(), actual.size())
      << reference << " is missing or not a " << kPangramWidth << " x " << kPangramHeight << " P1 picture";
  int differing = 0;
  for (std::size_t r = 0; r < actual.size(); ++r) {
    for (std::size_t c = 0; c < actual[r].size(); ++c) differing += actual[r][c] != expected[r][c] ? 1 : 0;
  }
  if (differing != 0) write_pbm("pangram-actual.pbm", actual);
  EXPECT_EQ(differing, 0) << "pixels differ; the rendering is in pangram-actual.pbm";
}

TEST(Font, AccentedCapitalsStandTallerThanSmallLetters) {
  const auto& f = platform::font();
  const auto top_row = [&](unsigned char c) {
    int r = 0;
    while (r < 8 && f[c][static_cast<std::size_t>(r)] == 0) ++r;
    return r;
  };
  const auto body_rows = [&](unsigned char c) {  // rows below the accent row
    return pixels_in(f[c], 1, 7) > 0 ? 7 - top_row(c) : 0;
  };
  // Capitals: accent in row 0, body from row 1 to the baseline.
  for (unsigned char c : {0xB5, 0x90, 0xD6, 0xE0, 0x99, 0x8A, 0xE9, 0x9A, 0xEB}) {
    EXPECT_EQ(top_row(c), 0) << std::hex << int(c);
    EXPECT_NE(f[c][1], 0) << std::hex << int(c) << " body starts right below the accent";
    EXPECT_GT(body_rows(c), 5) << std::hex << int(c);
  }
  // Small letters keep their base letter's body exactly, with a free row under the
  // accent except for the slanted double acute.
  const std::pair<unsigned char, unsigned char> small[] = {{0xA0, 'a'}, {0x82, 'e'}, {0xA2, 'o'}, {0x94, 'o'},
                                                           {0x8B, 'o'}, {0xA3, 'u'}, {0x81, 'u'}, {0xFB, 'u'}};
  for (const auto& [accented, base] : small) {
    for (std::size_t r = 2; r < 8; ++r)
      EXPECT_EQ(f[accented][r], f[base][r]) << std::hex << int(accented) << " row " << r;
  }
  // The double acute is two strokes leaning right, the diaeresis two dots side by side.
  for (unsigned char c : {0x8B, 0xFB}) {
    EXPECT_EQ(__builtin_popcount(f[c][0]), 2) << std::hex << int(c);
    EXPECT_EQ(f[c][1], f[c][0] << 1) << std::hex << int(c) << " strokes slant";
  }
  EXPECT_NE(f[0x8A][0], f[0x99][0]) << "Ő and Ö differ in their marks";
  EXPECT_NE(f[0xEB][0], f[0x9A][0]) << "Ű and Ü differ in their marks";
  EXPECT_EQ(f[0xEB][1], f[0x9A][1]) << "Ű and Ü share their body";
  EXPECT_EQ(f[0x8A][1], f[0x99][1]) << "Ő and Ö share their body";
}

}  // namespace
