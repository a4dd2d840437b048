// SPDX-License-Identifier: GPL-3.0-or-later
// The ten levels of a game. One table holds what differs from level to
// level; each level runs the same steps and, after a right answer, the next
// level inside its own call, so a deeper level's ending unwinds through the
// checks its callers still have to make.

#include <array>
#include <string_view>

#include "game/game.hpp"
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

enum class RightAnswer { kOk, kGuaranteed, kTopPrize };

struct Level {
  std::string_view PENZ;
  std::string_view NYEREMENY;
  std::int16_t GARANTALT;
  int sound_set;     // loaded on entry: 0 none, 1 or 2
  bool entry_sound;  // slot 4
  std::uint16_t pause;
  bool reprint;  // the row's label and amount in the frame colour
  RightAnswer right;
};

constexpr std::array<Level, 10> kLevels = {{
    {"5 000 000", "0", 0, 1, true, 3000, true, RightAnswer::kOk},
    {"10 000 000", "5 000 000", 0, 0, false, 1500, true, RightAnswer::kOk},
    {"25 000 000", "10 000 000", 0, 0, false, 1500, true, RightAnswer::kOk},
    {"50 000 000", "25 000 000", 0, 0, false, 1500, true, RightAnswer::kOk},
    {"100 000 000", "50 000 000", 0, 0, false, 1500, false, RightAnswer::kGuaranteed},
    {"200 000 000", "100 000 000", 1, 2, true, 3000, true, RightAnswer::kOk},
    {"300 000 000", "200 000 000", 1, 0, true, 3000, true, RightAnswer::kOk},
    {"500 000 000", "300 000 000", 1, 0, true, 3000, true, RightAnswer::kOk},
    {"800 000 000", "500 000 000", 1, 0, true, 3000, true, RightAnswer::kOk},
    {"1 500 000 000", "800 000 000", 1, 0, true, 3000, false, RightAnswer::kTopPrize},
}};

void next_level(int n) {
  switch (n) {
    case 1: START2(); break;
    case 2: START3(); break;
    case 3: START4(); break;
    case 4: START5(); break;
    case 5: START6(); break;
    case 6: START7(); break;
    case 7: START8(); break;
    case 8: START9(); break;
    case 9: VEGE(); break;
    default: break;
  }
}

void play_level(int n) {
  const Level& level = kLevels[static_cast<std::size_t>(n - 1)];
  sound::load_sound_set(level.sound_set);
  ClearDevice();
  X = static_cast<std::int16_t>(n);
  Y = 0;
  GARANTALT = level.GARANTALT;
  NYEREMENY = level.NYEREMENY;
  PENZ = level.PENZ;
  if (level.entry_sound && sound::enabled()) sound::PLAY_SONG(4);
  screen::KERDESSZOVEG();
  Delay(level.pause);

  ClearDevice();
  screen::LOGO();
  screen::TABLAZAT();
  screen::ladder_highlight(n, level.reprint);
  KERDEZ();

  read_answer("tfkm");
  if (VALASZ == "t") SEGIT1();
  if (VALASZ == "f") SEGIT2();
  if (VALASZ == "k") SEGIT3();
  if (VALASZ == JOVALASZ) {
    switch (level.right) {
      case RightAnswer::kOk: OK(); break;
      case RightAnswer::kGuaranteed: OK_GARANTALT1(); break;
      case RightAnswer::kTopPrize: OK_VEGE(); break;
    }
    next_level(n);
  }
  if (VALASZ == ROSSZVALASZ1) ROSSZ();
  if (VALASZ == ROSSZVALASZ2) ROSSZ();
  if (VALASZ == ROSSZVALASZ3) ROSSZ();
  if (VALASZ == "m") MEGALL();
}

}  // namespace

void START() {
  forget_asked_questions();
  play_level(1);
}
void START2() { play_level(2); }
void START3() { play_level(3); }
void START4() { play_level(4); }
void START5() { play_level(5); }
void START6() { play_level(6); }
void START7() { play_level(7); }
void START8() { play_level(8); }
void START9() { play_level(9); }
void VEGE() { play_level(10); }

}  // namespace game
