// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules for the player's and the host's name, shared by the names
// program (zelvanos-beallitasok) and the web page, which sets the names in
// the browser: 1 to 25 characters, not empty or all blanks, no control
// characters, and only characters the game can show (code page 852).

#include <optional>
#include <string>

namespace shell {

// The longest name the settings record holds, in characters.
inline constexpr std::size_t kNameLength = 25;

// The name (UTF-8) as the settings record stores it, in code page 852 bytes,
// or nothing, with `why` saying in Hungarian and English what is wrong.
std::optional<std::string> checked_name(const std::string& utf8, std::string* why);

}  // namespace shell
