// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings menu and its five sub-screens.

#include <array>
#include <cstdint>

#include "platform/settings.hpp"

namespace shell {

// The colour schemes of the colours page: frame, marking and flash colour.
struct ColourScheme {
  std::uint16_t KERETSZIN;
  std::uint16_t JELOLOSZIN;
  std::uint16_t VILLOGOSZIN;
};
inline constexpr std::array<ColourScheme, 6> kColourSchemes = {
    {{9, 14, 2}, {15, 6, 14}, {0, 15, 15}, {13, 5, 13}, {15, 15, 14}, {15, 9, 4}}};

// The scheme (1 to 6) the colours make up, or 0 for none. A scheme is
// known by its frame colour, and where schemes share one, by the marking
// colour too; the flash colour is never looked at.
int current_scheme(const settings::BEALLITASOK& record);

// The settings menu; returns when it is left (Esc, "Vissza" or a quit).
void settings_menu();

}  // namespace shell
