// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/font.hpp"

#include <string_view>

namespace platform {
namespace {

// The glyphs as drawn: for each byte in order a header line "@XX name",
// then eight rows of '#' (set) and '.' (clear).
constexpr std::string_view kFontText =
#include "platform/font8x8.inc"
    ;

constexpr int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw "font: bad hex digit in a glyph header";
}

constexpr std::array<Glyph, 256> parse_font(std::string_view text) {
  std::array<Glyph, 256> glyphs{};
  std::size_t pos = 0;
  const auto next_line = [&]() {
    const std::size_t end = text.find('\n', pos);
    const std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    return line;
  };
  int expected = 0;
  while (pos < text.size()) {
    const std::string_view header = next_line();
    if (header.empty()) continue;
    if (header.size() < 3 || header[0] != '@') throw "font: expected a glyph header";
    if (expected > 255) throw "font: more than 256 glyphs";
    if (hex_digit(header[1]) * 16 + hex_digit(header[2]) != expected) {
      throw "font: glyphs out of order";
    }
    for (int row = 0; row < 8; ++row) {
      const std::string_view bits = next_line();
      if (bits.size() != 8) throw "font: a glyph row is not eight pixels wide";
      std::uint8_t value = 0;
      for (const char c : bits) {
        if (c != '#' && c != '.') throw "font: a glyph row holds something other than # and .";
        value = static_cast<std::uint8_t>((value << 1) | (c == '#' ? 1 : 0));
      }
      glyphs[static_cast<std::size_t>(expected)][static_cast<std::size_t>(row)] = value;
    }
    ++expected;
  }
  if (expected != 256) throw "font: fewer than 256 glyphs";
  return glyphs;
}

constexpr std::array<Glyph, 256> kFont = parse_font(kFontText);

}  // namespace

const std::array<Glyph, 256>& font() { return kFont; }

}  // namespace platform
