// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundsets.hpp"

#include "sound/sound.hpp"

namespace sound {

void HANGOK_BETOLTESE() {
  LOAD_SONG("Sounds\\5050.mp3", 1);
  LOAD_SONG("Sounds\\lose1.mp3", 2);
  LOAD_SONG("Sounds\\mark1.mp3", 3);
  LOAD_SONG("Sounds\\next1.mp3", 4);
  LOAD_SONG("Sounds\\public1.mp3", 5);
  LOAD_SONG("Sounds\\public2.mp3", 6);
  LOAD_SONG("Sounds\\tel.mp3", 7);
  LOAD_SONG("Sounds\\win1.mp3", 8);
  LOAD_SONG("Sounds\\win4.mp3", 9);
}

void HANGOK_BETOLTESE2() {
  LOAD_SONG("Sounds\\5050.mp3", 1);
  LOAD_SONG("Sounds\\lose2.mp3", 2);
  LOAD_SONG("Sounds\\mark1.mp3", 3);
  LOAD_SONG("Sounds\\next2.mp3", 4);
  LOAD_SONG("Sounds\\public1.mp3", 5);
  LOAD_SONG("Sounds\\public2.mp3", 6);
  LOAD_SONG("Sounds\\tel.mp3", 7);
  LOAD_SONG("Sounds\\win2.mp3", 8);
  LOAD_SONG("Sounds\\win5.mp3", 9);
}

}  // namespace sound
