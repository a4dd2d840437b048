#include "game/game.hpp"

#include "game/questions.hpp"

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

void START() {
  // The ten levels are not playable yet: the menu gets control back at once.
}

void reset_state() {
  X = Y = GARANTALT = 0;
  PENZ.clear();
  NYEREMENY.clear();
  VALASZ.clear();
  TEL = FELEZ = KOZONSEG = 0;
  reset_questions();
}

}  // namespace game
