// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three lifelines, each once a game: telephone ("t"), 50:50 ("f") and
// audience ("k"). Their states TEL, FELEZ and KOZONSEG live in game.hpp.

#include <cstdint>
#include <string>

namespace game {

// The audience's last vote, in percent, and as text.
extern std::int16_t KOZ1, KOZ2, KOZ3, KOZ4;
extern std::string KOZONSEG1, KOZONSEG2, KOZONSEG3, KOZONSEG4;

// Each runs its lifeline, then reads the next key into VALASZ.
void SEGIT1();
void SEGIT2();
void SEGIT3();

void SEGITSEG1();
void SEGITSEG2();
void SEGITSEG3();

// Blank the text strip of one answer.
void FELEZ_A();
void FELEZ_B();
void FELEZ_C();
void FELEZ_D();

void reset_lifelines();

}  // namespace game
