// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A short notice the window shows over its picture for a few seconds (a
// screenshot that could not be saved). It is drawn into the window's own
// framebuffer after the picture has been scaled into it, never into the
// game's surface, so the game's pictures stay as they are.

#include <cstdint>
#include <string_view>

namespace platform {

// Draws `text` (code page 852 bytes) with the 8 x 8 font in white on a red
// band along the bottom of a framebuffer of 0x00RRGGBB words (`pitch` words
// a row), twice the font's size where the window is at least 800 pixels
// wide. What does not fit is cut; nothing is drawn outside the framebuffer.
void draw_notice(std::uint32_t* pixels, int width, int height, int pitch, std::string_view text);

}  // namespace platform
