// SPDX-License-Identifier: GPL-3.0-or-later
// Every layer of the game as at program start, for the tests, the replay
// tool and the benchmarks. The machine's side (surface, key queue, random
// numbers: platform::reset_state) is reset by whoever owns the backend.

#include "game/game.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"
#include "shell/menu.hpp"
#include "sound/sound.hpp"

namespace shell {

void reset_layers() {
  sound::reset_state();
  screen::reset_state();
  game::reset_state();
  settings::CONFIG = settings::BEALLITASOK{};
  HOL = 0;
  FOMENU = MENU = KISMENU = 0;
  VEZERLO = FELBONTAS = 0;
}

}  // namespace shell
