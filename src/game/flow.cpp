// SPDX-License-Identifier: GPL-3.0-or-later
// The ten levels of a game. The prize ladder (game/ladder.hpp) gives what
// each level is played for; one table here holds how each is presented.
// Each level runs the same steps and, after a right answer, the next level
// inside its own call, so a deeper level's ending unwinds through the
// checks its callers still have to make.

#include <array>

#include "game/game.hpp"
#include "game/highscores.hpp"
#include "game/ladder.hpp"
#include "game/lifelines.hpp"
#include "game/outcomes.hpp"
#include "game/questions.hpp"
#include "platform/graph.hpp"
#include "screen/gamescreen.hpp"
#include "screen/logo.hpp"
#include "sound/sound.hpp"
#include "sound/soundsets.hpp"

namespace game {

using namespace platform;

namespace {

struct Level {
  int sound_set;     // loaded on entry: 0 none, 1 or 2
  bool entry_sound;  // slot 4
  std::uint16_t pause;
};

constexpr std::array<Level, kPrizes.size()> kLevels = {{
    {1, true, 3000},
    {0, false, 1500},
    {0, false, 1500},
    {0, false, 1500},
    {0, false, 1500},
    {2, true, 3000},
    {0, true, 3000},
    {0, true, 3000},
    {0, true, 3000},
    {0, true, 3000},
}};

// The host's words on a right answer: the guaranteed level and the top
// prize have their own.
void right_answer(int n) {
  if (n == kTopLevel) return OK_VEGE();
  if (n == kGuaranteedLevel) return OK_GARANTALT1();
  OK();
}

void play_level(int n) {
  const Level& level = kLevels[static_cast<std::size_t>(n - 1)];
  sound::load_sound_set(level.sound_set);
  ClearDevice();
  X = static_cast<std::int16_t>(n);
  Y = 0;
  GARANTALT = n > kGuaranteedLevel ? 1 : 0;
  NYEREMENY = won_before(n);
  PENZ = prize(n);
  if (level.entry_sound && sound::enabled()) sound::PLAY_SONG(4);
  screen::KERDESSZOVEG();
  Delay(level.pause);

  ClearDevice();
  screen::LOGO();
  screen::TABLAZAT();
  screen::ladder_highlight(n);
  KERDEZ();

  read_answer("tfkm");
  if (VALASZ == "t") SEGIT1();
  if (VALASZ == "f") SEGIT2();
  if (VALASZ == "k") SEGIT3();
  if (VALASZ == JOVALASZ) {
    right_answer(n);
    if (n < kTopLevel) play_level(n + 1);
  }
  if (VALASZ == ROSSZVALASZ1) ROSSZ();
  if (VALASZ == ROSSZVALASZ2) ROSSZ();
  if (VALASZ == ROSSZVALASZ3) ROSSZ();
  if (VALASZ == "m") MEGALL();
}

}  // namespace

AfterGame START() {
  forget_asked_questions();
  play_level(1);
  return take_offered_result() ? AfterGame::kHighScores : AfterGame::kMenu;
}

}  // namespace game
