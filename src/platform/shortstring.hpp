// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A string of at most N one-byte characters after a length byte, as the
// game's records store their texts. All N character bytes are kept: those
// beyond the length are written back as they were read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

template <std::size_t N>
struct ShortString {
  std::uint8_t length = 0;
  std::array<char, N> chars{};

  constexpr std::string_view view() const { return {chars.data(), length}; }
  constexpr void assign(std::string_view text) {
    length = static_cast<std::uint8_t>(text.size() < N ? text.size() : N);
    for (std::size_t i = 0; i < length; ++i) chars[i] = text[i];
  }

  // The field as stored: length byte, then the N character bytes. A stored
  // length above N reads as N, so nothing is read beyond the field.
  void store(std::uint8_t* out) const {
    out[0] = length;
    for (std::size_t i = 0; i < N; ++i) out[1 + i] = static_cast<std::uint8_t>(chars[i]);
  }
  static ShortString load(const std::uint8_t* in) {
    ShortString s;
    s.length = in[0] > N ? static_cast<std::uint8_t>(N) : in[0];
    for (std::size_t i = 0; i < N; ++i) s.chars[i] = static_cast<char>(in[1 + i]);
    return s;
  }
};

}  // namespace platform
