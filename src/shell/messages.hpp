// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts the player meets outside the game's screen: the message box the real
// window shows when the game must stop, the I/O problems in Hungarian and
// English, and text echoed back to a terminal.

#include <string>
#include <string_view>

#include "platform/errors.hpp"

namespace shell {

// A message box: its title and its text, both UTF-8.
struct ErrorBox {
  std::string title;
  std::string text;
};

// The box for a failure that ends the program: in Hungarian, with the full
// path of the file (relative paths are taken from the working folder), what
// is wrong with it and what the player can do.
ErrorBox error_box(const platform::Fatal& failure);

// UTF-8 text made safe for a terminal: control characters (C0, DEL, C1),
// the invisible marks that turn the direction of text (U+202E and the other
// bidirectional controls) and bytes that are not UTF-8 become visible
// escapes such as \x1b and \u202e.
std::string terminal_safe(std::string_view text);

}  // namespace shell
