// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ten-place high-score list, stored as the single 730-byte record of
// Data\HighScores.cfg.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/shortstring.hpp"

namespace game {

struct EREDMENYLISTA {
  std::array<platform::ShortString<25>, 10> NEV{};
  std::array<std::int16_t, 10> X{};
  std::array<platform::ShortString<25>, 10> PONT{};
  std::array<platform::ShortString<15>, 10> DATUM{};
  std::array<platform::ShortString<2>, 10> X2{};
};

inline constexpr std::size_t kHighScoresSize = 730;
using HighScoreBytes = std::array<std::uint8_t, kHighScoresSize>;
inline constexpr std::string_view kHighScoresFile = "Data\\HighScores.cfg";

HighScoreBytes encode(const EREDMENYLISTA& list);
EREDMENYLISTA decode(std::span<const std::uint8_t, kHighScoresSize> bytes);

// Every place "ZorvinSoft", 1, "0", "2005. 1. 1." (X2 kept).
void reset_list(EREDMENYLISTA& list);

extern EREDMENYLISTA HS;

// Offers the finished game to the list (nothing when no question was
// answered); the game then ends on the list screen.
void EREDMENY();
// Whether EREDMENY has offered a result since this was last asked.
bool take_offered_result();
// Inserts the finished game at place V and saves the list.
void EREDMENYIR(std::int16_t V);
// The list screen of the main menu, with "t" to reset the list.
void highscore_screen();

void reset_highscores();

}  // namespace game
