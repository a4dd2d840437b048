// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quiz screen's furniture: the question and answer boxes with their
// pointed ends, the prize ladder, the host's announcement and the question.

#include <cstdint>
#include <string>
#include <string_view>

#include "screen/boxes.hpp"

namespace screen {

// The level number as text, set by the announcement and used by the question.
extern std::string SZVG;
// Which of the five announcements was drawn last.
extern std::int16_t SZOVEG;

// The ladder row of a level 1 to 10: its label and its amount as drawn.
struct LadderText {
  std::string_view label;
  std::string_view amount;
};
LadderText ladder_text(int level);

void KERETEK();
// The two pointed ends of a box, filled in the current colour.
void fill_ends(const PointedBox& box);
// The strip inside a box's outline, filled in a colour.
void fill_strip(const PointedBox& box, std::uint16_t colour);
void OLDAL_A();
void OLDAL_B();
void OLDAL_C();
void OLDAL_D();
void TABLAZAT();
// The frame around a level's row of the ladder, in the frame colour; with
// reprint, the row's label and amount in that colour too. Leaves white.
void ladder_highlight(int level, bool reprint);
void KERDESSZOVEG();
void KIIRAS();
// The answer of a box (game::A .. game::D) after its letter, in the current colour.
void draw_answer(const AnswerBox& box);

void reset_gamescreen();

}  // namespace screen
