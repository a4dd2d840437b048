// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/reveal.hpp"

#include <array>
#include <string_view>

#include "game/game.hpp"
#include "game/ladder.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "screen/gamescreen.hpp"
#include "sound/sound.hpp"

namespace screen {

using namespace platform;
using settings::CONFIG;

namespace {

void paint(const AnswerBox& box, std::uint16_t fill, std::uint16_t text) {
  fill_strip(box.box, fill);
  SetColor(fill);
  fill_ends(box.box);
  SetColor(text);
  draw_answer(box);
}

}  // namespace

void JELOL() {
  // Above the guaranteed level a marked answer waits for its sound.
  const bool tense = game::X > game::kGuaranteedLevel;
  if (tense && sound::enabled()) sound::PLAY_SONG(3);
  for (const AnswerBox& box : kAnswerBoxes) {
    if (game::VALASZ == box.letter) {
      paint(box, CONFIG.JELOLOSZIN, 0);
      Delay(1000);
      SetColor(15);
    }
  }
  if (tense && sound::enabled()) Delay(1500);
}

void VILLOG() {
  if (sound::enabled()) {
    if (game::VALASZ == game::JOVALASZ) {
      if (game::is_milestone(game::X)) {
        sound::PLAY_SONG(9);
        Delay(3000);
      } else {
        sound::PLAY_SONG(8);
      }
    } else {
      sound::PLAY_SONG(2);
    }
  }
  for (const AnswerBox& box : kAnswerBoxes) {
    if (game::JOVALASZ != box.letter) continue;
    for (int phase = 0; phase < 5; ++phase) {
      if (phase % 2 == 0) {
        paint(box, CONFIG.VILLOGOSZIN, 0);
      } else {
        paint(box, 0, 15);
      }
      Delay(200);
    }
    SetColor(15);
  }
}

}  // namespace screen
