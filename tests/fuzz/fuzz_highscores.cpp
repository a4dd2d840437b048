// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score record from any bytes: decoding stays inside its fields,
// and encoding what was decoded is stable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "game/highscores.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < game::kHighScoresSize) return 0;
  const auto list = game::decode(std::span<const std::uint8_t, game::kHighScoresSize>(data, game::kHighScoresSize));
  for (std::size_t i = 0; i < 10; ++i) {
    if (list.NEV[i].view().size() > 25 || list.PONT[i].view().size() > 25 || list.DATUM[i].view().size() > 15 ||
        list.X2[i].view().size() > 2) {
      std::abort();
    }
  }
  const auto bytes = game::encode(list);
  if (game::encode(game::decode(bytes)) != bytes) std::abort();
  return 0;
}
