// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's two sound sets: slots 1 to 9, loaded at the first and at the
// sixth question whether or not sound is on.

namespace sound {

void HANGOK_BETOLTESE();
void HANGOK_BETOLTESE2();

}  // namespace sound
