#pragma once
// The quiz game: the lifeline states and the game itself.

#include <cstdint>

namespace game {

// Lifeline states: 5 = used or switched off, any other value available.
extern std::int16_t TEL;
extern std::int16_t FELEZ;
extern std::int16_t KOZONSEG;

// Runs one whole game from the first question to its end.
void START();

void reset_state();

}  // namespace game
