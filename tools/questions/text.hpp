// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers on the question tool's UTF-8 texts: code points, lower case
// and the letters of Hungarian and its neighbours.

#include <string>
#include <string_view>

#include "platform/cp852.hpp"

namespace questions::text {

inline std::string utf8_of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

inline std::string utf8_of(std::u32string_view s) {
  std::string out;
  for (const char32_t cp : s) out += utf8_of(cp);
  return out;
}

// The code points of a UTF-8 text; a malformed byte becomes U+FFFD.
inline std::u32string decode(std::string_view utf8) {
  std::u32string out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const cp852::Decoded d = cp852::decode_utf8(utf8, pos);
    out.push_back(d.length == 0 ? 0xFFFD : d.cp);
    pos += d.length == 0 ? 1 : d.length;
  }
  return out;
}

inline char32_t lower(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
  if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) return cp | 1;
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return (cp & 1) != 0 ? cp + 1 : cp;
  return cp;
}

inline std::u32string lower(std::u32string s) {
  for (char32_t& cp : s) cp = lower(cp);
  return s;
}

// Latin letters with or without accents (those code page 852 knows among them).
inline bool is_letter(char32_t cp) {
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) return true;
  if (cp >= 0xC0 && cp <= 0x17F) return cp != 0xD7 && cp != 0xF7;
  return false;
}

inline bool is_digit(char32_t cp) { return cp >= '0' && cp <= '9'; }

// A lower-case letter without its accent, for names typed with or without
// them: "Becslés" and "becsles" read alike.
inline char32_t plain(char32_t cp) {
  switch (lower(cp)) {
    case U'á': return U'a';
    case U'é': return U'e';
    case U'í': return U'i';
    case U'ó':
    case U'ö':
    case U'ő': return U'o';
    case U'ú':
    case U'ü':
    case U'ű': return U'u';
    default: return lower(cp);
  }
}

inline std::u32string plain(std::u32string_view s) {
  std::u32string out;
  for (const char32_t cp : s) out.push_back(plain(cp));
  return out;
}

}  // namespace questions::text
