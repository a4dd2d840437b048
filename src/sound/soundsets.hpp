// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's two sound sets: slots 1 to 9, loaded at the first and at the
// sixth question whether or not sound is on.

namespace sound {

// Loads set 1 or 2 into slots 1 to 9; any other number loads nothing.
void load_sound_set(int set);

void HANGOK_BETOLTESE();   // set 1
void HANGOK_BETOLTESE2();  // set 2

}  // namespace sound
