// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game.hpp"

#include <array>
#include <utility>

#include "game/highscores.hpp"
#include "game/lifelines.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "screen/boxes.hpp"

using namespace cp852::literals;  // the _cp literal

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

void read_answer(std::string_view also) {
  using platform::OfferedKey;
  platform::KeyOffer offer;
  offer.asking = platform::Asking::kQuestion;
  for (const screen::AnswerBox& box : screen::kAnswerBoxes) {
    const auto& r = box.box.outline;
    offer.keys.push_back(
        {std::string(box.letter), std::string(box.prefix.substr(0, 1)), {r.left, r.top, r.right, r.bottom}, false});
  }
  static constexpr std::array<std::pair<char, std::string_view>, 4> kOthers = {
      {{'t', "Telefon"}, {'f', "Felező"_cp}, {'k', "Közönség"_cp}, {'m', "Megállás"_cp}}};
  for (const auto& [key, label] : kOthers) {
    if (also.find(key) != std::string_view::npos)
      offer.keys.push_back({std::string(1, key), std::string(label), {}, key == 'm'});
  }
  const auto& q = screen::kQuestionBox.outline;
  offer.focus = {q.left, q.top, q.right, q.bottom};
  platform::offer_keys(std::move(offer));
  VALASZ = cp852::one_char(platform::ReadKey());
}

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
