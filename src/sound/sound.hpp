// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound unit: ten numbered slots, each holding one loaded sound. The
// game loads a file into a slot once and later plays or stops it by number.

#include <array>
#include <cstdint>

namespace sound {

inline constexpr int MAXSND = 10;

// Slot handles, 1-based as the game numbers them; 0 marks an empty slot.
extern std::array<std::uint32_t, MAXSND + 1> STREAM;

void INIT_STUFF();
void DONE_STUFF();
void LOAD_SONG(const char* P, std::int16_t HNDNO);
void PLAY_SONG(std::int16_t HNDNO);
void STOP_SONG(std::int16_t HNDNO);

// Whether the player has sound on (CONFIG.HANGOK is 1): the game plays its
// sounds, and waits for some of them, only then. Loading does not ask.
bool enabled();

void reset_state();

}  // namespace sound
