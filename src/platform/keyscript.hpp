// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key scripts: the keys a headless run types, written as text, with the
// virtual time at which each may arrive.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ScriptedKey {
  std::vector<std::uint8_t> bytes;     // one byte, or 0 and a code
  std::optional<std::uint32_t> at_ms;  // arrives when the clock reaches it
};

// Parses a key script: whitespace-separated tokens.
//   a  Ő  H  7        a character as typed (UTF-8; stored as code page 852)
//   Enter Esc Backspace Tab Space Hash
//   Up Down Left Right Home End PgUp PgDn Ins Del F1..F10 CtrlF1..CtrlF10
//   byte:NNN          one raw byte, 0 to 255
//   word              any other token: its characters typed one by one
//   @MS               the next key arrives at virtual time MS (type-ahead)
//   # ...             a comment to the end of the line
// Returns nullopt and sets `error` on a bad token.
std::optional<std::vector<ScriptedKey>> parse_key_script(std::string_view text, std::string* error);

}  // namespace platform
