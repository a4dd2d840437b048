// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings record BEALLITASOK, held for the whole run in CONFIG and
// stored as the single 76-byte record of Data\Config.cfg.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/shortstring.hpp"

namespace shell {

template <std::size_t N>
using ShortString = platform::ShortString<N>;

struct BEALLITASOK {
  ShortString<25> NEV;          // player's name
  ShortString<25> MUSORVEZETO;  // quiz host's name
  std::int16_t MUSORVEZETO_EGYEB = 0;
  std::int16_t MINILOGO = 0;
  std::int16_t ZORVINLOGO = 0;
  std::int16_t DATUM = 0;
  std::int16_t MADE_IN_HUNGARY = 0;
  std::int16_t JATEKMOD = 0;
  std::int16_t KERDESEK = 0;
  std::int16_t HANGOK = 0;
  std::int16_t VARAKOZAS = 0;
  std::uint16_t KERETSZIN = 0;
  std::uint16_t JELOLOSZIN = 0;
  std::uint16_t VILLOGOSZIN = 0;
};

inline constexpr std::size_t kSettingsSize = 76;
using SettingsBytes = std::array<std::uint8_t, kSettingsSize>;

// Field by field, little-endian. A stored name length above 25 reads as 25.
SettingsBytes encode(const BEALLITASOK& settings);
BEALLITASOK decode(std::span<const std::uint8_t, kSettingsSize> bytes);

inline constexpr std::string_view kConfigFile = "Data\\Config.cfg";

// The factory values, applied onto `settings` as the reset does (name bytes
// beyond the new lengths stay as they were).
void apply_factory_values(BEALLITASOK& settings);

// The colour schemes of the settings screen: frame, marking and flash colour.
struct ColourScheme {
  std::uint16_t KERETSZIN;
  std::uint16_t JELOLOSZIN;
  std::uint16_t VILLOGOSZIN;
};
inline constexpr std::array<ColourScheme, 6> kColourSchemes = {{
    {9, 14, 2}, {15, 6, 14}, {0, 15, 15}, {13, 5, 13}, {15, 15, 14}, {15, 9, 4}}};

// The scheme (1 to 6) the colours make up, or 0 for none.
int current_scheme(const BEALLITASOK& settings);

extern BEALLITASOK CONFIG;

// Reads the first record of Data\Config.cfg into CONFIG; throws IoError.
void load_config();
// Replaces Data\Config.cfg by CONFIG, with NEV, MUSORVEZETO and
// MUSORVEZETO_EGYEB first taken from the file as it is now (the game never
// edits them); throws IoError.
void save_config();
// The reset: factory values, written, confirmed on screen for 2 000 ms.
void ALAPBEALLIT();

}  // namespace shell
