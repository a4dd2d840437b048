// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/reveal.hpp"

#include <array>
#include <string_view>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "screen/gamescreen.hpp"
#include "shell/settings.hpp"
#include "sound/sound.hpp"

namespace screen {

using namespace platform;
using shell::CONFIG;

namespace {

struct AnswerBox {
  std::string_view letter;
  std::int16_t x1, y1, x2, y2;  // the middle bar
  void (*ends)();
  std::int16_t text_x, text_y;
  std::string_view prefix;
  const std::string* text;
};

const std::array<AnswerBox, 4>& boxes() {
  static const std::array<AnswerBox, 4> kBoxes = {{
      {"a", 96, 86, 324, 98, OLDAL_A, 100, 90, "A: ", &game::A},
      {"b", 346, 86, 574, 98, OLDAL_B, 350, 90, "B: ", &game::B},
      {"c", 96, 106, 324, 118, OLDAL_C, 100, 110, "C: ", &game::C},
      {"d", 346, 106, 574, 118, OLDAL_D, 350, 110, "D: ", &game::D},
  }};
  return kBoxes;
}

void paint(const AnswerBox& box, std::uint16_t fill, std::uint16_t text) {
  SetFillStyle(1, fill);
  Bar(box.x1, box.y1, box.x2, box.y2);
  SetColor(fill);
  box.ends();
  SetColor(text);
  OutTextXY(box.text_x, box.text_y, cp852::join({box.prefix, *box.text}));
}

bool sound_on() { return CONFIG.HANGOK == 1; }

}  // namespace

void JELOL() {
  if (game::X > 5 && sound_on()) sound::PLAY_SONG(3);
  for (const AnswerBox& box : boxes()) {
    if (game::VALASZ == box.letter) {
      paint(box, CONFIG.JELOLOSZIN, 0);
      Delay(1000);
      SetColor(15);
    }
  }
  if (game::X > 5 && sound_on()) Delay(1500);
}

void VILLOG() {
  if (sound_on()) {
    if (game::VALASZ == game::JOVALASZ) {
      if (game::X == 5 || game::X == 10) {
        sound::PLAY_SONG(9);
        Delay(3000);
      } else {
        sound::PLAY_SONG(8);
      }
    } else {
      sound::PLAY_SONG(2);
    }
  }
  for (const AnswerBox& box : boxes()) {
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
