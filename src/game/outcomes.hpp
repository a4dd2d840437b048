// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What follows an answer: praise and the next question, the guaranteed sum,
// the top prize, a wrong answer, or stopping with what was won.

#include <cstdint>

namespace game {

// The index of the phrase the last outcome drew.
extern std::int16_t VALASZOL;

void OK();
void OK_GARANTALT1();
void OK_VEGE();
void ROSSZ();
void MEGALL();

}  // namespace game
