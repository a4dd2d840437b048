// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings menu and its five sub-screens.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/cp852.hpp"
#include "platform/settings.hpp"

namespace shell {

// The colour schemes of the colours page, in its order: the label, and the
// frame, marking and flash colour a scheme sets.
struct ColourScheme {
  std::string_view label;  // code page 852
  std::uint16_t KERETSZIN;
  std::uint16_t JELOLOSZIN;
  std::uint16_t VILLOGOSZIN;
};
inline constexpr std::array<ColourScheme, 6> kColourSchemes = [] {
  using namespace cp852::literals;
  return std::array<ColourScheme, 6>{{
      {"Alapérték (sárga-zöld)"_cp, 9, 14, 2},
      {"Barna-sárga"_cp, 15, 6, 14},
      {"Fekete-fehér"_cp, 0, 15, 15},
      {"Lila alap"_cp, 13, 5, 13},
      {"Sárga-fehér"_cp, 15, 15, 14},
      {"Világoskék-piros"_cp, 15, 9, 4},
  }};
}();

// The scheme (1 to 6) the colours make up, or 0 for none. A scheme is
// known by its frame colour, and where schemes share one, by the marking
// colour too; the flash colour is never looked at.
int current_scheme(const settings::BEALLITASOK& record);

// The settings menu; returns when it is left (Esc, "Vissza" or a quit).
void settings_menu();

}  // namespace shell
