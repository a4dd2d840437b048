// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The prize ladder: what each of the ten questions is played for, and the
// level whose prize is guaranteed once it is answered. The levels of a game
// (PENZ, NYEREMENY, GARANTALT), the host's words that name an amount and the
// ladder drawn on the question screen all read it here.

#include <array>
#include <cstddef>
#include <string_view>

namespace game {

// The prize of each level, 1 to 10: digits grouped in threes by blanks, no
// currency (the texts that show an amount add "Ft" themselves).
inline constexpr std::array<std::string_view, 10> kPrizes = {
    "5 000 000",   "10 000 000",  "25 000 000",  "50 000 000",  "100 000 000",
    "200 000 000", "300 000 000", "500 000 000", "800 000 000", "1 500 000 000"};

inline constexpr int kTopLevel = static_cast<int>(kPrizes.size());
// Answering this level secures its prize: from the next level on, a wrong
// answer still ends on the high-score list.
inline constexpr int kGuaranteedLevel = 5;

// What level 1 to 10 is played for.
constexpr std::string_view prize(int level) { return kPrizes[static_cast<std::size_t>(level - 1)]; }
// What is won when level 1 to 10 begins: the prize of the level below, "0" on the first.
constexpr std::string_view won_before(int level) { return level == 1 ? "0" : prize(level - 1); }
// The guaranteed level and the top one: the ladder draws their rows in white,
// and their highlight keeps that white text.
constexpr bool is_milestone(int level) { return level == kGuaranteedLevel || level == kTopLevel; }

}  // namespace game
