// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game.hpp"

#include "game/highscores.hpp"
#include "game/lifelines.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"

namespace game {

std::int16_t X = 0;
std::int16_t Y = 0;
std::int16_t GARANTALT = 0;
std::string PENZ;
std::string NYEREMENY;
std::string VALASZ;

std::int16_t TEL = 0;
std::int16_t FELEZ = 0;
std::int16_t KOZONSEG = 0;

void read_answer() { VALASZ = cp852::one_char(platform::ReadKey()); }

void reset_state() {
  X = Y = GARANTALT = 0;
  PENZ.clear();
  NYEREMENY.clear();
  VALASZ.clear();
  reset_questions();
  reset_lifelines();
  reset_highscores();
}

}  // namespace game
