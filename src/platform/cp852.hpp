// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 852 (DOS Latin-2): the byte encoding of every text the game
// shows or stores. Texts are written in UTF-8 in the sources and turned into
// code page 852 bytes at compile time with the _cp literal; a character that
// has no code page 852 byte stops the build.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace cp852 {

// Unicode code points of the bytes 0x80 to 0xFF.
inline constexpr std::array<char32_t, 128> kUpperHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7,  // 80
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106,  // 88
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,  // 90
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E,  // A0
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A,  // B0
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE,  // D0
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,  // E0
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4,  // E8
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,  // F8
};

// The byte for a code point, or -1 when code page 852 has none.
constexpr int byte_for(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

constexpr char32_t code_point(std::uint8_t byte) { return byte < 0x80 ? char32_t{byte} : kUpperHalf[byte - 0x80]; }

// One UTF-8 sequence starting at s[pos]; length 0 marks a malformed one.
struct Decoded {
  char32_t cp = 0;
  std::size_t length = 0;
};

constexpr Decoded decode_utf8(std::string_view s, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = at(pos);
  std::size_t n = 0;
  char32_t cp = 0;
  if (lead < 0x80) return {lead, 1};
  // clang-format off
  if ((lead & 0xE0) == 0xC0) { n = 2; cp = lead & 0x1F; }
  else if ((lead & 0xF0) == 0xE0) { n = 3; cp = lead & 0x0F; }
  else if ((lead & 0xF8) == 0xF0) { n = 4; cp = lead & 0x07; }
  else return {};
  // clang-format on
  if (pos + n > s.size()) return {};
  for (std::size_t i = 1; i < n; ++i) {
    if ((at(pos + i) & 0xC0) != 0x80) return {};
    cp = (cp << 6) | (at(pos + i) & 0x3F);
  }
  constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, n};
}

// Where a UTF-8 text cannot be converted: the byte offset and the reason.
struct ConversionError {
  std::size_t offset = 0;
  bool malformed = false;  // false: valid UTF-8 but no code page 852 byte
  char32_t cp = 0;
};

// Converts UTF-8 to code page 852. On failure returns nullopt and, when
// asked, says where and why.
std::optional<std::string> from_utf8(std::string_view utf8, ConversionError* error = nullptr);

// The texts one after the other.
inline std::string join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (const std::string_view p : parts) out.append(p);
  return out;
}

// Converts code page 852 bytes to UTF-8 (every byte has a character).
std::string to_utf8(std::string_view bytes);

// One byte (a key read, a letter) as a one-character string.
inline std::string one_char(std::uint8_t byte) { return std::string(1, static_cast<char>(byte)); }

namespace detail {

template <std::size_t N>
struct Utf8Literal {
  char text[N]{};
  consteval Utf8Literal(const char (&s)[N]) {  // NOLINT: implicit on purpose
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  constexpr std::string_view view() const { return {text, N - 1}; }
};

consteval std::size_t converted_length(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < s.size();) {
    const Decoded d = decode_utf8(s, pos);
    if (d.length == 0) throw "malformed UTF-8 in a text literal";
    if (byte_for(d.cp) < 0) throw "a character of this text has no code page 852 byte";
    pos += d.length;
    ++count;
  }
  return count;
}

template <Utf8Literal S>
struct Converted {
  static constexpr std::size_t size = converted_length(S.view());
  static constexpr std::array<char, size + 1> bytes = [] {
    std::array<char, size + 1> out{};
    std::size_t n = 0;
    const std::string_view s = S.view();
    for (std::size_t pos = 0; pos < s.size();) {
      const Decoded d = decode_utf8(s, pos);
      out[n++] = static_cast<char>(byte_for(d.cp));
      pos += d.length;
    }
    return out;
  }();
};

}  // namespace detail

inline namespace literals {
// "Játék kezdése"_cp is the text as code page 852 bytes.
template <detail::Utf8Literal S>
constexpr std::string_view operator""_cp() {
  return {detail::Converted<S>::bytes.data(), detail::Converted<S>::size};
}
}  // namespace literals

}  // namespace cp852
