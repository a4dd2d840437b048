// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundsets.hpp"

#include <array>
#include <cstdint>

#include "sound/sound.hpp"

namespace sound {

namespace {

// What each slot plays: 1 the 50:50, 2 a wrong answer, 3 the marking, 4 a
// new question, 5 and 6 the audience, 7 the telephone, 8 a right answer,
// 9 the guaranteed sum and the top prize. The second set, from the sixth
// question on, has its own wrong answer, new question and right answers.
constexpr std::array<std::array<const char*, 9>, 2> kSets = {{
    {"Sounds\\5050.mp3", "Sounds\\lose1.mp3", "Sounds\\mark1.mp3", "Sounds\\next1.mp3", "Sounds\\public1.mp3",
     "Sounds\\public2.mp3", "Sounds\\tel.mp3", "Sounds\\win1.mp3", "Sounds\\win4.mp3"},
    {"Sounds\\5050.mp3", "Sounds\\lose2.mp3", "Sounds\\mark1.mp3", "Sounds\\next2.mp3", "Sounds\\public1.mp3",
     "Sounds\\public2.mp3", "Sounds\\tel.mp3", "Sounds\\win2.mp3", "Sounds\\win5.mp3"},
}};

}  // namespace

void load_sound_set(int set) {
  if (set < 1 || set > static_cast<int>(kSets.size())) return;
  const auto& files = kSets[static_cast<std::size_t>(set - 1)];
  for (std::size_t i = 0; i < files.size(); ++i) LOAD_SONG(files[i], static_cast<std::int16_t>(i + 1));
}

void HANGOK_BETOLTESE() { load_sound_set(1); }
void HANGOK_BETOLTESE2() { load_sound_set(2); }

}  // namespace sound
