// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh program for the tests, the replay tool and the benchmarks: this
// resets the machine's side as well (surface, key queue, random numbers), so
// it stands with the program's entries rather than with the game.

#include "game/game.hpp"
#include "platform/backend.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"
#include "shell/menu.hpp"
#include "sound/sound.hpp"

namespace shell {

void reset_all() {
  platform::reset_state();
  sound::reset_state();
  screen::reset_state();
  game::reset_state();
  settings::CONFIG = settings::BEALLITASOK{};
  HOL = 0;
  FOMENU = MENU = KISMENU = 0;
  VEZERLO = FELBONTAS = 0;
}

}  // namespace shell
