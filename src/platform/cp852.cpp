// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp852.hpp"

namespace cp852 {

std::optional<std::string> from_utf8(std::string_view utf8, ConversionError* error) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Decoded d = decode_utf8(utf8, pos);
    const int byte = d.length == 0 ? -1 : byte_for(d.cp);
    if (byte < 0) {
      if (error != nullptr) *error = {pos, d.length == 0, d.cp};
      return std::nullopt;
    }
    out.push_back(static_cast<char>(byte));
    pos += d.length;
  }
  return out;
}

std::string to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const char32_t cp = code_point(static_cast<std::uint8_t>(c));
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace cp852
