// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/name_rules.hpp"

#include <cstdio>

#include "platform/cp852.hpp"

namespace shell {
namespace {

std::string code_point_name(char32_t cp) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
  std::string out = text;
  switch (cp) {
    case 0x00: return out + " (NUL)";
    case 0x09: return out + " (TAB)";
    case 0x0A: return out + " (LF)";
    case 0x0D: return out + " (CR)";
    case 0x1B: return out + " (ESC)";
    case 0x7F: return out + " (DEL)";
    default: return out;
  }
}

}  // namespace

std::optional<std::string> checked_name(const std::string& utf8, std::string* why) {
  bool blank = true;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const cp852::Decoded d = cp852::decode_utf8(utf8, pos);
    if (d.length == 0) {
      *why = "nem érvényes UTF-8 (" + std::to_string(pos + 1) + ". bájt) / is not valid UTF-8 (byte " +
             std::to_string(pos + 1) + ")";
      return std::nullopt;
    }
    if (d.cp < 0x20 || d.cp == 0x7F || (d.cp >= 0x80 && d.cp <= 0x9F)) {
      *why = "vezérlőkaraktert tartalmaz / has a control character: " + code_point_name(d.cp);
      return std::nullopt;
    }
    if (cp852::byte_for(d.cp) < 0) {
      *why =
          "olyan karaktert tartalmaz, amelyet a játék nem tud megjeleníteni / has a character the game "
          "cannot show: " +
          code_point_name(d.cp) + " „" + utf8.substr(pos, d.length) + "”";
      return std::nullopt;
    }
    if (d.cp != 0x20 && d.cp != 0xA0) blank = false;
    pos += d.length;
  }
  if (blank) {
    *why = "üres vagy csupa szóköz / is empty or all blanks";
    return std::nullopt;
  }
  auto bytes = cp852::from_utf8(utf8);
  if (!bytes || bytes->size() > kNameLength) {
    *why = "hosszabb 25 karakternél / is longer than 25 characters";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace shell
