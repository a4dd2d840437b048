// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quiz game: the level state, the lifeline states and the game itself.

#include <cstdint>
#include <string>
#include <string_view>

namespace game {

// The level being played, 1 to 10 (11 after the top prize).
extern std::int16_t X;
// How far below the answers the next message line goes.
extern std::int16_t Y;
// 1 once the guaranteed sum is secured (levels 6 to 10).
extern std::int16_t GARANTALT;
// What the current question is played for, and what is already won.
extern std::string PENZ;
extern std::string NYEREMENY;
// The last key read as a one-character string; "99" after an ending.
extern std::string VALASZ;
// Reads a key into VALASZ. The question on screen asks for an answer A to
// D and for the keys in `also`, of "tfkm": the lifelines (in their order,
// each only before the ones after it) and the stop; the declaration tells
// a touch screen so (every other key ends the game).
void read_answer(std::string_view also);

// Lifeline states: kLifelineUsed = used or switched off, any other value available.
inline constexpr std::int16_t kLifelineUsed = 5;
extern std::int16_t TEL;
extern std::int16_t FELEZ;
extern std::int16_t KOZONSEG;

// What follows a game: the main menu again, or the high-score list, when
// the game's end offered its result to the list (EREDMENY).
enum class AfterGame { kMenu, kHighScores };

// Runs one whole game from the first question to its end (each level plays
// the levels above it after a right answer) and says what follows it.
AfterGame START();

void reset_state();

}  // namespace game
