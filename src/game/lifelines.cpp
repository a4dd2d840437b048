// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/lifelines.hpp"

#include <array>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "screen/gamescreen.hpp"
#include "sound/sound.hpp"

using namespace cp852::literals;  // the _cp literal

namespace game {

using namespace platform;

std::int16_t KOZ1 = 0, KOZ2 = 0, KOZ3 = 0, KOZ4 = 0;
std::string KOZONSEG1, KOZONSEG2, KOZONSEG3, KOZONSEG4;

namespace {

void message(std::string_view text, int advance) {
  OutTextXY(100, static_cast<std::int16_t>(130 + Y), text);
  Y = static_cast<std::int16_t>(Y + advance);
}

// The used-up line; true when the lifeline is spent.
bool used_up(std::int16_t state, int advance) {
  if (state != kLifelineUsed) return false;
  message("Sajnálom, de ezt a segítséget már elhasználtad."_cp, advance);
  return true;
}

}  // namespace

void FELEZ_A() { screen::fill_strip(screen::kAnswerBoxes[0].box, 0); }
void FELEZ_B() { screen::fill_strip(screen::kAnswerBoxes[1].box, 0); }
void FELEZ_C() { screen::fill_strip(screen::kAnswerBoxes[2].box, 0); }
void FELEZ_D() { screen::fill_strip(screen::kAnswerBoxes[3].box, 0); }

void SEGITSEG1() {
  if (used_up(TEL, 40)) return;
  Randomize();
  TEL = static_cast<std::int16_t>(Random(10));
  if (sound::enabled()) sound::PLAY_SONG(7);
  if (TEL == 0) {
    message("Szerintem is az, amit először gondoltál, szerintem."_cp, 40);
  } else {
    message(cp852::join({"Szerintem a helyes válasz a(z) "_cp, JOVALASZ}), 20);
  }
  TEL = kLifelineUsed;
}

void SEGITSEG2() {
  if (used_up(FELEZ, 20)) return;
  Randomize();
  FELEZ = static_cast<std::int16_t>(Random(3));
  if (sound::enabled()) sound::PLAY_SONG(1);
  static constexpr std::array<void (*)(), 4> kBlank = {FELEZ_A, FELEZ_B, FELEZ_C, FELEZ_D};
  if (const int right = answer_index(JOVALASZ); right >= 0) {
    int position = 0;  // among the wrong letters, alphabetically
    for (int letter = 0; letter < 4; ++letter) {
      if (letter == right) continue;
      if (position != FELEZ) kBlank[static_cast<std::size_t>(letter)]();
      ++position;
    }
  }
  FELEZ = kLifelineUsed;
}

void SEGITSEG3() {
  if (used_up(KOZONSEG, 20)) return;
  Randomize();
  KOZ1 = static_cast<std::int16_t>(Random(10) + 50);
  KOZ2 = static_cast<std::int16_t>(Random(25) + 15);
  KOZ3 = static_cast<std::int16_t>(60 - KOZ1);
  KOZ4 = static_cast<std::int16_t>(40 - KOZ2);
  KOZONSEG1 = std::to_string(KOZ1);
  KOZONSEG2 = std::to_string(KOZ2);
  KOZONSEG3 = std::to_string(KOZ3);
  KOZONSEG4 = std::to_string(KOZ4);
  SetFillStyle(1, 15);
  Rectangle(650, 240, 750, 340);
  Rectangle(650, 340, 750, 350);
  OutTextXY(661, 343, "A");
  OutTextXY(685, 343, "B");
  OutTextXY(708, 343, "C");
  OutTextXY(732, 343, "D");
  if (sound::enabled()) sound::PLAY_SONG(5);
  Delay(2500);
  if (sound::enabled()) {
    sound::STOP_SONG(5);
    sound::PLAY_SONG(6);
  }
  Delay(500);
  if (sound::enabled()) sound::PLAY_SONG(6);

  struct Share {
    const std::int16_t* percent;
    const std::string* text;
  };
  const Share k1{&KOZ1, &KOZONSEG1}, k2{&KOZ2, &KOZONSEG2}, k3{&KOZ3, &KOZONSEG3}, k4{&KOZ4, &KOZONSEG4};
  // Columns A to D by the right answer.
  const std::array<std::array<Share, 4>, 4> by_right = {
      {{k1, k2, k3, k4}, {k2, k1, k4, k3}, {k4, k2, k1, k3}, {k4, k3, k2, k1}}};
  static constexpr std::array<std::array<std::int16_t, 2>, 4> kColumns = {
      {{658, 670}, {682, 694}, {705, 717}, {729, 741}}};
  if (const int right = answer_index(JOVALASZ); right >= 0) {
    const auto& shares = by_right[static_cast<std::size_t>(right)];
    for (std::size_t c = 0; c < 4; ++c) {
      Bar(kColumns[c][0], static_cast<std::int16_t>(341 - *shares[c].percent), kColumns[c][1], 340);
    }
    for (std::size_t c = 0; c < 4; ++c) {
      OutTextXY(kColumns[c][0], static_cast<std::int16_t>(321 - *shares[c].percent), *shares[c].text);
    }
  }
  KOZONSEG = kLifelineUsed;
}

void SEGIT1() {
  SEGITSEG1();
  read_answer("fkm");
}

void SEGIT2() {
  SEGITSEG2();
  read_answer("km");
}

void SEGIT3() {
  SEGITSEG3();
  read_answer("m");
}

void reset_lifelines() {
  TEL = FELEZ = KOZONSEG = 0;
  KOZ1 = KOZ2 = KOZ3 = KOZ4 = 0;
  KOZONSEG1.clear();
  KOZONSEG2.clear();
  KOZONSEG3.clear();
  KOZONSEG4.clear();
}

}  // namespace game
