// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/gamescreen.hpp"

#include <array>
#include <string_view>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "screen/logo.hpp"
#include "shell/settings.hpp"

using cp852::literals::operator""_cp;

namespace screen {

using namespace platform;

std::string SZVG;
std::int16_t SZOVEG = 0;

namespace {

struct Box {
  std::int16_t left, top, right, bottom;  // the rectangle
  std::int16_t left_point, right_point;   // x of the two points
};

// Question, A, B, C, D.
constexpr std::array<Box, 5> kBoxes = {{{95, 48, 575, 76, 81, 589},
                                        {95, 85, 325, 99, 88, 332},
                                        {345, 85, 575, 99, 338, 582},
                                        {95, 105, 325, 119, 88, 332},
                                        {345, 105, 575, 119, 338, 582}}};

struct LadderRow {
  std::string_view label;
  std::string_view amount;
  std::uint16_t colour;
};

// Level 10 first, as the ladder is drawn from the top.
constexpr std::array<LadderRow, 10> kLadder = {{{"10", "1 500 000 000", 15},
                                                {" 9", "  800 000 000", 14},
                                                {" 8", "  500 000 000", 14},
                                                {" 7", "  300 000 000", 14},
                                                {" 6", "  200 000 000", 14},
                                                {" 5", "  100 000 000", 15},
                                                {" 4", "   50 000 000", 14},
                                                {" 3", "   25 000 000", 14},
                                                {" 2", "   10 000 000", 14},
                                                {" 1", "    5 000 000", 14}}};

// One pointed end: a column per x, one pixel taller up and down per step
// towards the box.
void fill_end(int from, int to, int mid, bool widening_right) {
  for (int x = from; x <= to; ++x) {
    const int reach = widening_right ? x - from : to - x;
    Line(static_cast<std::int16_t>(x), static_cast<std::int16_t>(mid - reach), static_cast<std::int16_t>(x),
         static_cast<std::int16_t>(mid + reach));
  }
}

void fill_ends(int left_from, int right_from, int mid) {
  fill_end(left_from, left_from + 6, mid, true);
  fill_end(right_from, right_from + 6, mid, false);
}

}  // namespace

LadderText ladder_text(int level) {
  const LadderRow& row = kLadder[static_cast<std::size_t>(10 - level)];
  return {row.label, row.amount};
}

void KERETEK() {
  SetColor(shell::CONFIG.KERETSZIN);
  for (const Box& b : kBoxes) Rectangle(b.left, b.top, b.right, b.bottom);
  for (const Box& b : kBoxes) {
    const auto mid = static_cast<std::int16_t>((b.top + b.bottom) / 2);
    Line(b.left_point, mid, b.left, b.top);
    Line(b.left_point, mid, b.left, b.bottom);
    Line(b.right, b.top, b.right_point, mid);
    Line(b.right, b.bottom, b.right_point, mid);
  }
  Line(333, 92, 337, 92);
  Line(333, 112, 337, 112);
  SetColor(0);
  for (const Box& b : kBoxes) {
    Line(b.left, static_cast<std::int16_t>(b.top + 1), b.left, static_cast<std::int16_t>(b.bottom - 1));
    Line(b.right, static_cast<std::int16_t>(b.top + 1), b.right, static_cast<std::int16_t>(b.bottom - 1));
  }
  SetColor(15);
}

void OLDAL_A() { fill_ends(89, 325, 92); }
void OLDAL_B() { fill_ends(339, 575, 92); }
void OLDAL_C() { fill_ends(89, 325, 112); }
void OLDAL_D() { fill_ends(339, 575, 112); }

void TABLAZAT() {
  for (int i = 0; i < 10; ++i) {
    const auto top = static_cast<std::int16_t>(61 + 15 * i);
    Rectangle(650, top, 780, static_cast<std::int16_t>(top + 15));
  }
  Rectangle(650, 61, 665, 211);
  for (int i = 0; i < 10; ++i) {
    SetColor(kLadder[static_cast<std::size_t>(i)].colour);
    OutTextXY(650, static_cast<std::int16_t>(66 + 15 * i), kLadder[static_cast<std::size_t>(i)].label);
  }
  for (int i = 0; i < 10; ++i) {
    SetColor(kLadder[static_cast<std::size_t>(i)].colour);
    OutTextXY(670, static_cast<std::int16_t>(66 + 15 * i), kLadder[static_cast<std::size_t>(i)].amount);
  }
  SetColor(15);
}

void KERDESSZOVEG() {
  LOGO();
  TABLAZAT();
  SZVG = std::to_string(game::X);
  Randomize();
  SZOVEG = static_cast<std::int16_t>(Random(5) + 1);
  const std::string& p = game::PENZ;
  std::string text;
  switch (SZOVEG) {
    case 1: text = cp852::join({"Lássuk az "_cp, SZVG, ". kérdést, "_cp, p, "Ft-ért."_cp}); break;
    case 2: text = cp852::join({"Jöjjön, aminek jönnie kell "_cp, p, "Ft-ért."_cp}); break;
    case 3: text = cp852::join({"Most pedig nyerjen "_cp, p, "Ft-ot."_cp}); break;
    case 4: text = cp852::join({p, "Ft-ért jön a "_cp, SZVG, ". kérdés."_cp}); break;
    default: text = cp852::join({"A következő kérdés "_cp, p, "Ft-ért megy. Ez érdekes lesz."_cp}); break;
  }
  OutTextXY(100, 60, text);
}

void KIIRAS() {
  KERETEK();
  std::string second = " ";
  std::string& question = game::KERDES;
  for (std::size_t i = 56; i <= question.size(); ++i) {
    second += question[i - 1];
    question[i - 1] = ' ';
  }
  OutTextXY(100, 53, cp852::join({SZVG, ". ", question}));
  OutTextXY(100, 65, cp852::join({SZVG, " ", second}));
  SetColor(0);
  OutTextXY(100, 65, SZVG);
  SetColor(15);
  const bool slow = shell::CONFIG.VARAKOZAS == 1;
  if (slow) Delay(2000);
  OutTextXY(100, 90, cp852::join({"A: ", game::A}));
  if (slow) Delay(1000);
  OutTextXY(350, 90, cp852::join({"B: ", game::B}));
  if (slow) Delay(1000);
  OutTextXY(100, 110, cp852::join({"C: ", game::C}));
  if (slow) Delay(1000);
  OutTextXY(350, 110, cp852::join({"D: ", game::D}));
}

void reset_gamescreen() {
  SZVG.clear();
  SZOVEG = 0;
}

}  // namespace screen
