#include "game/game.hpp"

namespace game {

std::int16_t TEL = 0;
std::int16_t FELEZ = 0;
std::int16_t KOZONSEG = 0;

void START() {
  // The ten levels are not playable yet: the menu gets control back at once.
}

void reset_state() {
  TEL = 0;
  FELEZ = 0;
  KOZONSEG = 0;
}

}  // namespace game
